// Bitmap engine: whole-bitmap channel filters.
//
// Alpha from intensity, inversion of chosen channels, conversion to gray,
// colour keying and the masking of pixels with a 32-bit mask (xor, and, or),
// in place or from a source bitmap. The row routines are call slots of the
// registry "Bmp32_Filters bindings" (ids FID_ANDROW .. FID_XORROWTO).
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Bindings.h"

enum TColorChannel : Integer { ccBlue = 0, ccGreen = 1, ccRed = 2, ccAlpha = 3 };
// A set of channels: bit 1 blue, 2 green, 4 red, 8 alpha.
using TColorChannels = Byte;
constexpr TColorChannels ChannelSet(std::initializer_list<TColorChannel> Channels) {
  TColorChannels s = 0;
  for (auto c : Channels) s = TColorChannels(s | (1u << c));
  return s;
}
// The 32-bit mask of the set's bytes.
constexpr TColor32 ChannelMask(TColorChannels Channels) {
  TColor32 m = 0;
  if (Channels & 8) m += 0xFF000000u;
  if (Channels & 4) m += 0x00FF0000u;
  if (Channels & 2) m += 0x0000FF00u;
  if (Channels & 1) m += 0x000000FFu;
  return m;
}

enum TMaskOperation : Integer { moXor = 0, moAnd = 1, moOr = 2 };

using TLogicalOperatorRow = void (*)(PColor32 Dst, TColor32 Mask, Integer Count);
using TLogicalOperatorRowTo = void (*)(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);

inline constexpr TFunctionID<TLogicalOperatorRow> FID_ANDROW{0}, FID_ORROW{1}, FID_XORROW{2};
inline constexpr TFunctionID<TLogicalOperatorRowTo> FID_ANDROWTO{3}, FID_ORROWTO{4}, FID_XORROWTO{5};

extern TLogicalOperatorRow AndRow;
extern TLogicalOperatorRow OrRow;
extern TLogicalOperatorRow XorRow;
extern TLogicalOperatorRowTo AndRowTo;
extern TLogicalOperatorRowTo OrRowTo;
extern TLogicalOperatorRowTo XorRowTo;

// The implementations (all give the same pixels; exposed for tests).
namespace filters_impl {
void AndRow_Simple(PColor32 Dst, TColor32 Mask, Integer Count);
void AndRow_Unrolled(PColor32 Dst, TColor32 Mask, Integer Count);
void OrRow_Simple(PColor32 Dst, TColor32 Mask, Integer Count);
void OrRow_Unrolled(PColor32 Dst, TColor32 Mask, Integer Count);
void XorRow_Simple(PColor32 Dst, TColor32 Mask, Integer Count);
void XorRow_Unrolled(PColor32 Dst, TColor32 Mask, Integer Count);
void AndRowTo_Simple(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
void AndRowTo_Wide(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
void OrRowTo_Simple(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
void OrRowTo_Wide(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
void XorRowTo_Simple(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
void XorRowTo_Wide(PColor32 Src, PColor32 Dst, Integer Count, TColor32 Mask);
}  // namespace filters_impl

// Raises "The source is nil" / "Destination is nil"; sizes Dst as Src when asked.
void CheckFilterParams(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool ResizeDst = true);
void IntensityToAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src);
void InvertChannels(TCustomBitmap32* Dst, TCustomBitmap32* Src, TColorChannels Channels);
void InvertRGB(TCustomBitmap32* Dst, TCustomBitmap32* Src);
void ColorToGrayscale(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool PreserveAlpha = false);
void ChromaKey(TCustomBitmap32* Bitmap, TColor32 KeyColor);
// In place; raises "The bitmap is nil".
void MaskChannels(TCustomBitmap32* Bitmap, const TRect& Rect, TColor32 Mask, TMaskOperation Operation);
// From a source; SrcRect's part lands at (DstX, DstY).
void MaskChannels(TCustomBitmap32* Dst, Integer DstX, Integer DstY, TCustomBitmap32* Src, const TRect& SrcRect,
                  TColor32 Mask, TMaskOperation Operation);

// Unit start-up (registered with the engine; exposed for tests).
void InitializeBmp32Filters();
