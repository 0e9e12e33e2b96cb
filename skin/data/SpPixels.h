// The pixel work of the skin engine's alpha bitmap on plain memory: the row
// routines, blending, the stretched and unscaled transfers between two
// surfaces, tiling arithmetic, merging, filling, the alpha and key checks and
// the whole-bitmap transforms. TspBitmap (skin/data/win/SpBitmap.h) and the
// direct DIB-section path run on these.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

// One pixel $AARRGGBB; in memory the bytes blue, green, red, alpha.
using TspColor = Cardinal;
using TspColorArray = TspColor[];
using PspColorArray = TspColor*;

// The key colour of transparent drawing (low 24 bits compared).
inline constexpr TspColor TransparentKeyColor = 0x007F007F;

// 32-bit pixels in rows of Stride pixels; BottomUp stores image row y at
// memory row Height - 1 - y (a bottom-up DIB section).
struct TspSurface {
  TspColor* Bits = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  Integer Stride = 0;
  bool BottomUp = false;
  bool Empty() const { return Bits == nullptr || Width <= 0 || Height <= 0; }
  TspColor* Row(Integer Y) const { return Bits + Int64(BottomUp ? Height - 1 - Y : Y) * Stride; }
};

inline TspSurface TopDownSurface(TspColor* Bits, Integer Width, Integer Height) {
  return TspSurface{Bits, Width, Height, Width, false};
}

// ---- row routines ------------------------------------------------------------
// (In a namespace of their own: the bitmap engine has routines of these names.)
namespace sppix {


// F over B, every byte (alpha included) := (F * a + B * (256 - a)) shr 8 with
// a the alpha of F; no special case for a = 0 or 255.
inline TspColor BlendPixel(TspColor F, TspColor B) {
  const Cardinal a = F >> 24, na = 256 - a;
  const Cardinal rb = (((F & 0x00FF00FFu) * a + (B & 0x00FF00FFu) * na) >> 8) & 0x00FF00FFu;
  const Cardinal ag = (((F >> 8) & 0x00FF00FFu) * a + ((B >> 8) & 0x00FF00FFu) * na) & 0xFF00FF00u;
  return rb | ag;
}

// Source alpha 0 leaves the destination, 255 copies, else BlendPixel.
void BlendRow(const TspColor* Src, TspColor* Dst, Integer Count);
// Pixels whose low 24 bits are not the key are copied with alpha 255.
void CopyRowKeyed(const TspColor* Src, TspColor* Dst, Integer Count);
void MovePixels(const TspColor* Src, TspColor* Dst, Integer Count);
void FillPixels(TspColor* Dst, Integer Count, TspColor Color);
// Right and Bottom inclusive; Stride in pixels.
void FillPixelRect(TspColor* Bits, Integer Stride, TspColor Color, Integer Left, Integer Top, Integer Right,
                   Integer Bottom);
void SetAlphaPixels(TspColor* Dst, Integer Count, Byte Alpha);
void SetAlphaPixelRect(TspColor* Bits, Integer Stride, Byte Alpha, Integer Left, Integer Top, Integer Right,
                       Integer Bottom);
void ClearAlphaOfColor(TspColor* Dst, Integer Count, TspColor Color);

}  // namespace sppix

// ---- transfers -----------------------------------------------------------------

enum TspTransferMode : Byte { tmOpaque, tmKeyed, tmBlend };

// Unscaled: the DstClip-sized area of Src at (SrcX, SrcY) to Dst at DstClip's
// top-left, row by row. The caller has clipped both areas to their surfaces.
void BlockTransfer(const TspSurface& Dst, const TRect& DstClip, const TspSurface& Src, Integer SrcX, Integer SrcY,
                   TspTransferMode Mode);

// SrcRect of Src onto DstRect of Dst, only inside DstClip (and the surface);
// nearest-neighbour when the sizes differ. Nothing for an empty source
// rectangle, an empty clip or a source rectangle reaching outside Src.
void StretchTransfer(const TspSurface& Dst, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect,
                     const TspSurface& Src, TspTransferMode Mode);

// The column (or row) map of a stretch: destination index i (0-based inside
// the destination span of DstLen) to its source index.
void StretchMap(Integer SrcStart, Integer SrcEnd, Integer DstLen, std::vector<Integer>& Map);

// The tiles of SrcRect over DstRect, column by column: Draw(TileDst, TileSrc)
// for each; a tile cut at the right or bottom takes the top-left part of
// SrcRect. An empty tile ends its column.
template <class F>
void ForEachTile(const TRect& DstRect, const TRect& SrcRect, F&& Draw) {
  const Integer w = SrcRect.Width(), h = SrcRect.Height();
  if (w <= 0 || h <= 0) return;
  const Integer dw = DstRect.Width(), dh = DstRect.Height();
  const Integer nx = dw / w + (dw % w != 0 ? 1 : 0);
  const Integer ny = dh / h + (dh % h != 0 ? 1 : 0);
  for (Integer i = 0; i <= nx; ++i) {
    for (Integer j = 0; j <= ny; ++j) {
      const Integer l = DstRect.Left + i * w, t = DstRect.Top + j * h;
      TRect T(l > DstRect.Left ? l : DstRect.Left, t > DstRect.Top ? t : DstRect.Top,
              l + w < DstRect.Right ? l + w : DstRect.Right, t + h < DstRect.Bottom ? t + h : DstRect.Bottom);
      if (T.Right <= T.Left || T.Bottom <= T.Top) break;
      Draw(T, TRect(SrcRect.Left, SrcRect.Top, SrcRect.Left + T.Width(), SrcRect.Top + T.Height()));
    }
  }
}

// Puts Src's SrcRect under Dst's pixels at (X, Y): a destination alpha of 0
// takes the source pixel, 1..254 becomes BlendPixel(destination, source), 255
// stays.
void MergeUnder(const TspSurface& Dst, Integer X, Integer Y, const TspSurface& Src, TRect SrcRect);

// R clipped to the surface and filled: with Blend through BlendRow, else set.
void FillSurfaceRect(const TspSurface& S, TRect R, TspColor Color, bool Blend);

// ---- checks and transforms (top-down, unpadded pixels) -------------------------

void CheckRGBAPixels(TspColor* Bits, Int64 Count);   // channel := min(channel, alpha)
void CheckRGBA2Pixels(TspColor* Bits, Int64 Count);  // channel := round(channel * alpha / 255)
bool HasPartialAlpha(const TspColor* Bits, Int64 Count);
// Keys pixels within 5 per channel of Color to $007F007F; true when any was.
bool KeyNearColor(TspColor* Bits, Int64 Count, TspColor Color);
void FlipRows(TspColor* Bits, Integer Width, Integer Height);
// FlipRows, then the fading alpha of the reflections (Divisor 3, 4 or 2).
void ReflectRows(TspColor* Bits, Integer Width, Integer Height, Integer Divisor);
