// Rectangle filling and framing (members of TCustomBitmap32).
#include "bitmap/Bmp32.h"

#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "rtl/ScopeGuard.h"

namespace {

bool OverlapsClip(const TCustomBitmap32& B, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const TRect& c = B.ClipRect();
  return X1 < c.Right && Y1 < c.Bottom && c.Left < X2 && c.Top < Y2;
}

template <class Fill>
void FillClipped(TCustomBitmap32& B, Integer X1, Integer Y1, Integer X2, Integer Y2, Fill fill) {
  if (!B.MeasuringMode() && X1 < X2 && Y1 < Y2 && OverlapsClip(B, X1, Y1, X2, Y2)) {
    const TRect& c = B.ClipRect();
    if (X1 < c.Left) X1 = c.Left;
    if (Y1 < c.Top) Y1 = c.Top;
    if (X2 > c.Right) X2 = c.Right;
    if (Y2 > c.Bottom) Y2 = c.Bottom;
    fill(X1, Y1, X2, Y2);
  }
  B.Changed(TRect(X1, Y1, X2, Y2), AreaInfoRect);
}

template <class HorzFn, class VertFn>
void Frame(TCustomBitmap32& B, Integer X1, Integer Y1, Integer X2, Integer Y2, HorzFn horz, VertFn vert) {
  if (X1 >= X2 || Y1 >= Y2 || !OverlapsClip(B, X1, Y1, X2, Y2)) return;
  Integer R = X2 - 1;
  horz(X1, Y1, R);
  if (Y1 < Y2 - 1) horz(X1, Y2 - 1, R);
  if (Y1 + 1 < Y2 - 1) {
    vert(X1, Y1 + 1, Y2 - 2);
    if (X1 < R) vert(R, Y1 + 1, Y2 - 2);
  }
}

}  // namespace

void TCustomBitmap32::FillRectS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  FillClipped(*this, X1, Y1, X2, Y2,
              [&](Integer a, Integer b, Integer c, Integer d) { FillRect(a, b, c, d, Value); });
}

void TCustomBitmap32::FillRectS(const TRect& ARect, TColor32 Value) {
  if (MeasuringMode()) {
    Changed(ARect, AreaInfoRect);
    return;
  }
  FillRectS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TCustomBitmap32::FillRectT(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  Cardinal A = Value >> 24;
  if (A == 255) {
    FillRect(X1, Y1, X2, Y2, Value);
    return;
  }
  if (A == 0) return;
  TFinally Done([&] {
    EndBlending();
    Changed(TRect(X1, Y1, X2, Y2), AreaInfoRect);
  });
  if (!Empty() && X2 > X1) {
    bool merge = CombineMode() == cmMerge;
    for (Integer y = Y1; y < Y2; ++y) {
      TColor32* p = PixelPtr(X1, y);
      for (Integer i = 0, n = X2 - X1; i < n; ++i) {
        if (merge) MergeInto(Value, p[i]);
        else CombineInto(Value, p[i], A);
      }
    }
  }
}

void TCustomBitmap32::FillRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  FillClipped(*this, X1, Y1, X2, Y2,
              [&](Integer a, Integer b, Integer c, Integer d) { FillRectT(a, b, c, d, Value); });
}

void TCustomBitmap32::FillRectTS(const TRect& ARect, TColor32 Value) {
  if (MeasuringMode()) {
    Changed(ARect, AreaInfoRect);
    return;
  }
  FillRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TCustomBitmap32::FrameRectS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  Frame(
      *this, X1, Y1, X2, Y2, [&](Integer a, Integer y, Integer b) { HorzLineS(a, y, b, Value); },
      [&](Integer x, Integer a, Integer b) { VertLineS(x, a, b, Value); });
}

void TCustomBitmap32::FrameRectS(const TRect& ARect, TColor32 Value) {
  FrameRectS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TCustomBitmap32::FrameRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value) {
  Frame(
      *this, X1, Y1, X2, Y2, [&](Integer a, Integer y, Integer b) { HorzLineTS(a, y, b, Value); },
      [&](Integer x, Integer a, Integer b) { VertLineTS(x, a, b, Value); });
}

void TCustomBitmap32::FrameRectTS(const TRect& ARect, TColor32 Value) {
  FrameRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TCustomBitmap32::FrameRectTSP(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (X1 >= X2 || Y1 >= Y2 || X1 >= Width() || Y1 >= Height() || X2 <= 0 || Y2 <= 0) return;
  Integer R = X2 - 1, Bt = Y2 - 1;
  if (X1 == R && Y1 == Bt) {
    TColor32 col = GetStippleColor();
    if (!MeasuringMode()) SetPixelTS(X1, Y1, col);
    Changed(TRect(X1, Y1, X1 + 1, Y1 + 1), AreaInfoRect);
    return;
  }
  if (X1 == R) {
    VertLineTSP(X1, Y1, Bt);
    return;
  }
  if (Y1 == Bt) {
    HorzLineTSP(X1, Y1, R);
    return;
  }
  HorzLineTSP(X1, Y1, X2 - 2);
  VertLineTSP(R, Y1, Y2 - 2);
  HorzLineTSP(R, Bt, X1 + 1);
  VertLineTSP(X1, Bt, Y1 + 1);
}

void TCustomBitmap32::RaiseRectTS(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Contrast) {
  if (X1 >= X2 || Y1 >= Y2 || !OverlapsClip(*this, X1, Y1, X2, Y2) || Contrast == 0) return;
  // 64-bit products: any Contrast is accepted
  auto alpha = [](Int64 c, Int64 k) {
    Int64 v = c * k / 100;
    return TColor32(v < 0 ? 0 : (v > 255 ? 255 : v));
  };
  TColor32 TopLeft, BottomRight;
  if (Contrast > 0) {
    TopLeft = (alpha(Contrast, 512) << 24) | 0xFFFFFFu;
    BottomRight = alpha(Contrast, 255) << 24;
  } else {
    TopLeft = alpha(-Int64(Contrast), 255) << 24;
    BottomRight = (alpha(-Int64(Contrast), 512) << 24) | 0xFFFFFFu;
  }
  HorzLineTS(X1, Y1, X2 - 1, TopLeft);
  HorzLineTS(X1, Y2 - 1, X2 - 1, BottomRight);
  VertLineTS(X1, Y1 + 1, Y2 - 2, TopLeft);
  VertLineTS(X2 - 1, Y1 + 1, Y2 - 2, BottomRight);
}

void TCustomBitmap32::RaiseRectTS(const TRect& ARect, Integer Contrast) {
  RaiseRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Contrast);
}
