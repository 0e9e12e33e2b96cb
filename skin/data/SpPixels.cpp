#include "skin/data/SpPixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sppix {

void BlendRow(const TspColor* Src, TspColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    const TspColor s = Src[i];
    const Cardinal a = s >> 24;
    if (a == 0) continue;
    Dst[i] = a == 255 ? s : BlendPixel(s, Dst[i]);
  }
}

void CopyRowKeyed(const TspColor* Src, TspColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i)
    if ((Src[i] & 0x00FFFFFFu) != TransparentKeyColor) Dst[i] = Src[i] | 0xFF000000u;
}

void MovePixels(const TspColor* Src, TspColor* Dst, Integer Count) {
  if (Src == Dst || Count <= 0) return;
  std::memmove(Dst, Src, size_t(Count) * sizeof(TspColor));
}

void FillPixels(TspColor* Dst, Integer Count, TspColor Color) { std::fill(Dst, Dst + std::max(Count, 0), Color); }

void FillPixelRect(TspColor* Bits, Integer Stride, TspColor Color, Integer Left, Integer Top, Integer Right,
                   Integer Bottom) {
  for (Integer y = Top; y <= Bottom; ++y) FillPixels(Bits + Int64(y) * Stride + Left, Right - Left + 1, Color);
}

void SetAlphaPixels(TspColor* Dst, Integer Count, Byte Alpha) {
  const TspColor a = TspColor(Alpha) << 24;
  for (Integer i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0x00FFFFFFu) | a;
}

void SetAlphaPixelRect(TspColor* Bits, Integer Stride, Byte Alpha, Integer Left, Integer Top, Integer Right,
                       Integer Bottom) {
  for (Integer y = Top; y <= Bottom; ++y) SetAlphaPixels(Bits + Int64(y) * Stride + Left, Right - Left + 1, Alpha);
}

void ClearAlphaOfColor(TspColor* Dst, Integer Count, TspColor Color) {
  for (Integer i = 0; i < Count; ++i)
    if (((Dst[i] ^ Color) & 0x00FFFFFFu) == 0) Dst[i] &= 0x00FFFFFFu;
}

}  // namespace sppix

using namespace sppix;

namespace {

void ApplyRow(const TspColor* Src, TspColor* Dst, Integer Count, TspTransferMode Mode) {
  switch (Mode) {
    case tmOpaque: MovePixels(Src, Dst, Count); break;
    case tmKeyed: CopyRowKeyed(Src, Dst, Count); break;
    case tmBlend: BlendRow(Src, Dst, Count); break;
  }
}

TRect Intersect(const TRect& A, const TRect& B) {
  return TRect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom));
}

bool IsEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

}  // namespace

void BlockTransfer(const TspSurface& Dst, const TRect& DstClip, const TspSurface& Src, Integer SrcX, Integer SrcY,
                   TspTransferMode Mode) {
  const Integer w = DstClip.Width();
  if (w <= 0) return;
  // Rows of the same surface that overlap downwards are walked bottom-up.
  const bool Upward = Dst.Bits == Src.Bits && SrcY < DstClip.Top;
  const Integer h = DstClip.Height();
  for (Integer k = 0; k < h; ++k) {
    const Integer j = Upward ? h - 1 - k : k;
    ApplyRow(Src.Row(SrcY + j) + SrcX, Dst.Row(DstClip.Top + j) + DstClip.Left, w, Mode);
  }
}

void StretchMap(Integer SrcStart, Integer SrcEnd, Integer DstLen, std::vector<Integer>& Map) {
  Map.resize(size_t(std::max(DstLen, 0)));
  if (DstLen < 2) {
    std::fill(Map.begin(), Map.end(), (SrcStart + SrcEnd - 1) / 2);
    return;
  }
  const double Scale = double(SrcEnd - SrcStart - 1) / double(DstLen - 1);
  for (Integer i = 0; i < DstLen; ++i) Map[size_t(i)] = Integer(std::trunc(i * Scale + SrcStart));
}

void StretchTransfer(const TspSurface& Dst, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect,
                     const TspSurface& Src, TspTransferMode Mode) {
  if (IsEmpty(SrcRect) || Dst.Empty() || Src.Empty()) return;
  const TRect Clip = Intersect(Intersect(DstClip, TRect(0, 0, Dst.Width, Dst.Height)), DstRect);
  if (IsEmpty(Clip)) return;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src.Width || SrcRect.Bottom > Src.Height) return;
  if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
    BlockTransfer(Dst, Clip, Src, SrcRect.Left + Clip.Left - DstRect.Left, SrcRect.Top + Clip.Top - DstRect.Top,
                  Mode);
    return;
  }
  std::vector<Integer> Cols, Rows;
  StretchMap(SrcRect.Left, SrcRect.Right, DstRect.Width(), Cols);
  StretchMap(SrcRect.Top, SrcRect.Bottom, DstRect.Height(), Rows);
  const Integer w = Clip.Width();
  std::vector<TspColor> Buf(static_cast<size_t>(w));
  Integer LastRow = -1;
  TspColor* LastDst = nullptr;
  for (Integer y = Clip.Top; y < Clip.Bottom; ++y) {
    const Integer sy = Rows[size_t(y - DstRect.Top)];
    TspColor* D = Dst.Row(y) + Clip.Left;
    if (Mode == tmOpaque) {
      if (sy == LastRow && LastDst) {
        MovePixels(LastDst, D, w);
      } else {
        const TspColor* S = Src.Row(sy);
        for (Integer x = 0; x < w; ++x) D[x] = S[Cols[size_t(Clip.Left + x - DstRect.Left)]];
      }
      LastDst = D;
    } else {
      if (sy != LastRow) {
        const TspColor* S = Src.Row(sy);
        for (Integer x = 0; x < w; ++x) Buf[size_t(x)] = S[Cols[size_t(Clip.Left + x - DstRect.Left)]];
      }
      ApplyRow(Buf.data(), D, w, Mode);
    }
    LastRow = sy;
  }
}

void MergeUnder(const TspSurface& Dst, Integer X, Integer Y, const TspSurface& Src, TRect SrcRect) {
  if (Dst.Empty() || Src.Empty()) return;
  if (SrcRect.Left < 0) {
    X += -SrcRect.Left;
    SrcRect.Left = 0;
  }
  if (SrcRect.Top < 0) {
    Y += -SrcRect.Top;
    SrcRect.Top = 0;
  }
  SrcRect.Right = std::min(SrcRect.Right, Src.Width);
  SrcRect.Bottom = std::min(SrcRect.Bottom, Src.Height);
  for (Integer sy = SrcRect.Top; sy < SrcRect.Bottom; ++sy) {
    const Integer dy = Y + sy - SrcRect.Top;
    if (dy < 0 || dy >= Dst.Height) continue;
    const TspColor* S = Src.Row(sy);
    TspColor* D = Dst.Row(dy);
    for (Integer sx = SrcRect.Left; sx < SrcRect.Right; ++sx) {
      const Integer dx = X + sx - SrcRect.Left;
      if (dx < 0 || dx >= Dst.Width) continue;
      const Cardinal a = D[dx] >> 24;
      if (a == 0)
        D[dx] = S[sx];
      else if (a < 255)
        D[dx] = BlendPixel(D[dx], S[sx]);
    }
  }
}

void FillSurfaceRect(const TspSurface& S, TRect R, TspColor Color, bool Blend) {
  if (S.Empty()) return;
  R = Intersect(R, TRect(0, 0, S.Width, S.Height));
  if (IsEmpty(R)) return;
  if (!Blend) {
    for (Integer y = R.Top; y < R.Bottom; ++y) FillPixels(S.Row(y) + R.Left, R.Width(), Color);
    return;
  }
  std::vector<TspColor> Line(static_cast<size_t>(R.Width()), Color);
  for (Integer y = R.Top; y < R.Bottom; ++y) BlendRow(Line.data(), S.Row(y) + R.Left, R.Width());
}

void CheckRGBAPixels(TspColor* Bits, Int64 Count) {
  for (Int64 i = 0; i < Count; ++i) {
    const Cardinal p = Bits[i], a = p >> 24;
    const Cardinal r = std::min((p >> 16) & 0xFF, a), g = std::min((p >> 8) & 0xFF, a), b = std::min(p & 0xFF, a);
    Bits[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

void CheckRGBA2Pixels(TspColor* Bits, Int64 Count) {
  // round(c * a / 255) with halves to even, in integers: q = c*a div 255 and
  // the remainder decides (2 * rem = 255 never happens: 255 is odd).
  auto Mul = [](Cardinal c, Cardinal a) {
    const Cardinal n = c * a, q = n / 255, rem = n % 255;
    return 2 * rem > 255 ? q + 1 : q;
  };
  for (Int64 i = 0; i < Count; ++i) {
    const Cardinal p = Bits[i], a = p >> 24;
    Bits[i] = (a << 24) | (Mul((p >> 16) & 0xFF, a) << 16) | (Mul((p >> 8) & 0xFF, a) << 8) | Mul(p & 0xFF, a);
  }
}

bool HasPartialAlpha(const TspColor* Bits, Int64 Count) {
  for (Int64 i = 0; i < Count; ++i) {
    const Cardinal a = Bits[i] >> 24;
    if (a != 0 && a != 255) return true;
  }
  return false;
}

bool KeyNearColor(TspColor* Bits, Int64 Count, TspColor Color) {
  const Integer r = (Color >> 16) & 0xFF, g = (Color >> 8) & 0xFF, b = Color & 0xFF;
  bool Any = false;
  for (Int64 i = 0; i < Count; ++i) {
    const TspColor p = Bits[i];
    if (std::abs(Integer((p >> 16) & 0xFF) - r) <= 5 && std::abs(Integer((p >> 8) & 0xFF) - g) <= 5 &&
        std::abs(Integer(p & 0xFF) - b) <= 5) {
      Bits[i] = TransparentKeyColor;
      Any = true;
    }
  }
  return Any;
}

void FlipRows(TspColor* Bits, Integer Width, Integer Height) {
  if (!Bits || Width <= 0 || Height <= 0) return;
  std::vector<TspColor> Line(static_cast<size_t>(Width));
  for (Integer i = 0; i < Height / 2; ++i) {
    TspColor* A = Bits + Int64(i) * Width;
    TspColor* B = Bits + Int64(Height - 1 - i) * Width;
    std::memcpy(Line.data(), A, size_t(Width) * 4);
    std::memcpy(A, B, size_t(Width) * 4);
    std::memcpy(B, Line.data(), size_t(Width) * 4);
  }
}

void ReflectRows(TspColor* Bits, Integer Width, Integer Height, Integer Divisor) {
  if (!Bits || Width <= 0 || Height <= 0) return;
  FlipRows(Bits, Width, Height);
  double k = 1.0;
  const double Step = 2.0 / Height;
  for (Integer y = 0; y < Height; ++y) {
    TspColor* Row = Bits + Int64(y) * Width;
    for (Integer x = 0; x < Width; ++x) {
      const Cardinal a = Row[x] >> 24;
      if (a == 0) continue;
      Integer n = Integer(std::nearbyint(a * k)) / Divisor;
      if (n < 0) n = 0;
      Row[x] = (Row[x] & 0x00FFFFFFu) | (Cardinal(n) << 24);
    }
    k -= Step;
  }
}
