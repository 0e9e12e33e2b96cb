#include "skin/data/SpEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "rtl/Random.h"

Cardinal EffGetPixel(const TspEffectView& V, Integer X, Integer Y) {
  const Byte* p = V.Pixel(X, Y);
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16);
}

void EffSetPixel(const TspEffectView& V, Integer X, Integer Y, Cardinal Value) {
  Byte* p = V.Pixel(X, Y);
  p[0] = Byte(Value);
  p[1] = Byte(Value >> 8);
  p[2] = Byte(Value >> 16);
}

double ClampKf(double Kf) {
  if (!(Kf >= 0)) return 0;
  return Kf > 1 ? 1 : Kf;
}

namespace {

Byte ClampByte(double v) {
  const double r = std::nearbyint(v);
  return Byte(r < 0 ? 0 : r > 255 ? 255 : r);
}

// Weight T on P (this bitmap), 1 - T on Q.
inline void Mix(Byte* P, const Byte* Q, double T) {
  for (int c = 0; c < 3; ++c) P[c] = ClampByte(P[c] * T + Q[c] * (1 - T));
}

Integer RoundInt(double v) { return Integer(std::nearbyint(v)); }

// Each row copied out, changed by Fn(row buffer, y) and written back.
template <class F>
void EachRow(const TspEffectView& V, F Fn) {
  std::vector<Byte> Line(size_t(V.Width) * 3);
  for (Integer y = 0; y < V.Height; ++y) {
    std::memcpy(Line.data(), V.Row(y), Line.size());
    Fn(Line.data(), y);
    std::memcpy(V.Row(y), Line.data(), Line.size());
  }
}

bool Ready(const TspEffectView& V, const TspEffectView& B) { return !V.Empty() && !B.Empty() && V.SameSize(B); }

// Columns From stepping by Dir (+1 / -1) while inside [Lo, Hi] get mix(t),
// t = 0 at the first and raised by Step per column, capped at 1.
void MixRun(Byte* Row, const Byte* BRow, Integer From, Integer Dir, Integer Lo, Integer Hi, double Step) {
  double t = 0;
  for (Integer k = From; k >= Lo && k <= Hi; k += Dir) {
    Mix(Row + k * 3, BRow + k * 3, t);
    t = std::min(1.0, t + Step);
  }
}

}  // namespace

void EffMorph(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  Kf = ClampKf(Kf);
  EachRow(V, [&](Byte* Row, Integer y) {
    const Byte* Q = B.Row(y);
    for (Integer i = 0; i < V.Width * 3; ++i) Row[i] = ClampByte((1 - Kf) * Row[i] + Kf * Q[i]);
  });
}

void EffMorphRect(const TspEffectView& V, const TspEffectView& B, double Kf, const TRect& Rct, Integer StartX,
                  Integer StartY) {
  if (V.Empty() || B.Empty()) return;
  Kf = ClampKf(Kf);
  for (Integer y = std::max(Rct.Top, 0); y < std::min(Rct.Bottom, V.Height); ++y) {
    const Integer sy = StartY + y - Rct.Top;
    if (sy < 0 || sy >= B.Height) continue;
    for (Integer x = std::max(Rct.Left, 0); x < std::min(Rct.Right, V.Width); ++x) {
      const Integer sx = StartX + x - Rct.Left;
      if (sx < 0 || sx >= B.Width) continue;
      Byte* P = V.Pixel(x, y);
      const Byte* Q = B.Pixel(sx, sy);
      for (int c = 0; c < 3; ++c) P[c] = ClampByte((1 - Kf) * P[c] + Kf * Q[c]);
    }
  }
}

void EffCopyRect(const TspEffectView& V, const TspEffectView& B, TRect Rct, Integer StartX, Integer StartY) {
  if (V.Empty() || B.Empty()) return;
  Rct.Right = std::min(Rct.Right, V.Width - 1);
  Rct.Bottom = std::min(Rct.Bottom, V.Height - 1);
  for (Integer y = std::max(Rct.Top, 0); y <= Rct.Bottom; ++y) {
    const Integer sy = StartY + y - Rct.Top;
    if (sy < 0 || sy >= B.Height) continue;
    for (Integer x = std::max(Rct.Left, 0); x <= Rct.Right; ++x) {
      const Integer sx = StartX + x - Rct.Left;
      if (sx < 0 || sx >= B.Width) continue;
      std::memcpy(V.Pixel(x, y), B.Pixel(sx, sy), 3);
    }
  }
}

void EffMorphHGrad(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  const Integer b = RoundInt(W * ClampKf(Kf));
  const Integer c = (W - b) / 2;
  const double Step = c == 0 ? 1.0 : 1.0 / c;
  const Integer L = std::max(0, W / 2 - b / 2), R = std::min(W - 1, W / 2 + b / 2);
  EachRow(V, [&](Byte* Row, Integer y) {
    const Byte* Q = B.Row(y);
    if (L <= R) std::memcpy(Row + L * 3, Q + L * 3, size_t(R - L + 1) * 3);
    MixRun(Row, Q, L, -1, 0, W - 1, Step);
    MixRun(Row, Q, R, +1, 0, W - 1, Step);
  });
}

void EffMorphVGrad(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer H = V.Height, W3 = V.Width * 3;
  const Integer b = RoundInt(H * ClampKf(Kf));
  const Integer c = (H - 1 - b) / 2;
  const double Step = c == 0 ? 0.0 : 1.0 / c;
  const Integer T = std::max(0, H / 2 - b / 2), Bo = std::min(H - 1, H / 2 + b / 2);
  for (Integer y = T; y <= Bo; ++y) std::memcpy(V.Row(y), B.Row(y), size_t(W3));
  auto MixRows = [&](Integer From, Integer Dir) {
    double t = 0;
    for (Integer y = From; y >= 0 && y < H; y += Dir) {
      Byte* P = V.Row(y);
      const Byte* Q = B.Row(y);
      for (Integer i = 0; i < W3; i += 3) Mix(P + i, Q + i, t);
      t = std::min(1.0, t + Step);
    }
  };
  MixRows(T, -1);
  MixRows(Bo, +1);
}

void EffMorphGrad(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (V.Width < V.Height)
    EffMorphVGrad(V, B, Kf);
  else
    EffMorphHGrad(V, B, Kf);
}

void EffMorphLeftGrad(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  // At least 1, then at most W - 1: a one-column bitmap gets b = 0.
  const Integer b = std::min(std::max(RoundInt(W * ClampKf(Kf)), 1), W - 1);
  const double Step = b == 0 ? 1.0 : 1.0 / b;
  EachRow(V, [&](Byte* Row, Integer y) { MixRun(Row, B.Row(y), 0, +1, 0, b, Step); });
}

void EffMorphRightGrad(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  const Integer c = std::min(std::max(W - RoundInt(W * ClampKf(Kf)), 0), W - 1);
  const double Step = 1.0 / (W - c);
  EachRow(V, [&](Byte* Row, Integer y) { MixRun(Row, B.Row(y), W - 1, -1, c, W - 1, Step); });
}

void EffMorphPush(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  const Integer b = std::min(std::max(RoundInt(W * ClampKf(Kf)), 0), W - 1);
  std::vector<Byte> Old(size_t(W) * 3);
  EachRow(V, [&](Byte* Row, Integer y) {
    std::memcpy(Old.data(), Row, Old.size());
    for (Integer j = W - 1; j >= b; --j) std::memcpy(Row + j * 3, Old.data() + std::max(j - b - 1, 0) * 3, 3);
    std::memcpy(Row, B.Row(y) + (W - b - 1) * 3, size_t(b + 1) * 3);
  });
}

void EffMorphLeftSlide(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  const Integer b = std::min(std::max(RoundInt(W * ClampKf(Kf)), 1), W - 1);
  EachRow(V, [&](Byte* Row, Integer y) { std::memcpy(Row, B.Row(y) + (W - b) * 3, size_t(b) * 3); });
}

void EffMorphRightSlide(const TspEffectView& V, const TspEffectView& B, double Kf) {
  if (!Ready(V, B)) return;
  const Integer W = V.Width;
  const Integer b = std::min(std::max(RoundInt(W * ClampKf(Kf)), 1), W - 1);
  EachRow(V, [&](Byte* Row, Integer y) { std::memcpy(Row + (W - b) * 3, B.Row(y), size_t(b) * 3); });
}

void EffChangeBrightness(const TspEffectView& V, double Kf) {
  if (V.Empty()) return;
  Kf = ClampKf(Kf);
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; ++i) Row[i] = ClampByte((1 - Kf) * Row[i] + 255 * Kf);
  });
}

void EffChangeDarkness(const TspEffectView& V, double Kf) {
  if (V.Empty()) return;
  Kf = ClampKf(Kf);
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; ++i) Row[i] = ClampByte((1 - Kf) * Row[i]);
  });
}

void EffInvert(const TspEffectView& V) {
  if (V.Empty()) return;
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; ++i) Row[i] = Byte(255 - Row[i]);
  });
}

void EffGrayScale(const TspEffectView& V) {
  if (V.Empty()) return;
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; i += 3) {
      const Byte g = ClampByte(0.3 * Row[i + 2] + 0.59 * Row[i + 1] + 0.11 * Row[i]);
      Row[i] = Row[i + 1] = Row[i + 2] = g;
    }
  });
}

namespace {

// Uniform in 0..Amount - 1, less Amount div 2; 0 drawn for Amount <= 0.
Integer Noise(Integer Amount) { return (Amount > 0 ? Random(Amount) : 0) - Amount / 2; }

Byte AddClamped(Byte c, Integer d) { return Byte(std::clamp(Integer(c) + d, 0, 255)); }

}  // namespace

void EffAddMonoNoise(const TspEffectView& V, Integer Amount) {
  if (V.Empty()) return;
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; i += 3) {
      const Integer r = Noise(Amount);
      for (int c = 0; c < 3; ++c) Row[i + c] = AddClamped(Row[i + c], r);
    }
  });
}

void EffAddColorNoise(const TspEffectView& V, Integer Amount) {
  if (V.Empty()) return;
  EachRow(V, [&](Byte* Row, Integer) {
    for (Integer i = 0; i < V.Width * 3; i += 3) {
      // red, green, blue drawn in that order
      const Integer r = Noise(Amount), g = Noise(Amount), b = Noise(Amount);
      Row[i + 2] = AddClamped(Row[i + 2], r);
      Row[i + 1] = AddClamped(Row[i + 1], g);
      Row[i] = AddClamped(Row[i], b);
    }
  });
}

namespace {

// A sample position Offset away from P, or P itself when that lies outside
// 0..Count - 1.
inline Integer Sample(Integer P, Integer Offset, Integer Count) {
  const Int64 q = Int64(P) + Offset;
  return q < 0 || q >= Count ? P : Integer(q);
}

// The four-sample average of pixel (x, y) into Out, reading V.
inline void FourSamples(const TspEffectView& V, Integer x, Integer y, Integer Amount, Byte* Out) {
  const Integer l = Sample(x, -Amount, V.Width);
  const Integer r = Sample(x, Amount, V.Width);
  const Integer u = Sample(y, -Amount, V.Height), d = Sample(y, Amount, V.Height);
  const Byte *a = V.Pixel(l, u), *b = V.Pixel(l, d), *c = V.Pixel(r, u), *e = V.Pixel(r, d);
  for (int k = 0; k < 3; ++k) Out[k] = Byte((Integer(a[k]) + b[k] + c[k] + e[k]) >> 2);
}

inline bool IsWhite(const Byte* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

// Rows top-down in place: each row's buffer is filled from the bitmap (upper
// rows already done) and written back after the row.
template <class F>
void BlurRows(const TspEffectView& V, F PixelFn) {
  std::vector<Byte> Line(size_t(V.Width) * 3);
  for (Integer y = 0; y < V.Height; ++y) {
    std::memcpy(Line.data(), V.Row(y), Line.size());
    for (Integer x = 0; x < V.Width; ++x) PixelFn(x, y, Line.data() + x * 3);
    std::memcpy(V.Row(y), Line.data(), Line.size());
  }
}

bool MaskReady(const TspEffectView& V, const TspEffectView& Msk) {
  return !V.Empty() && !Msk.Empty() && Msk.Width == V.Width && Msk.Height >= V.Height;
}

}  // namespace

void EffSplitBlur(const TspEffectView& V, Integer Amount) {
  if (V.Empty() || Amount == 0 || Amount == Integer(0x80000000u)) return;
  BlurRows(V, [&](Integer x, Integer y, Byte* Out) { FourSamples(V, x, y, Amount, Out); });
}

void EffMosaic(const TspEffectView& V, Integer ASize) {
  if (V.Empty() || ASize <= 1) return;
  for (Integer by = 0; by < V.Height; by += ASize)
    for (Integer bx = 0; bx < V.Width; bx += ASize) {
      const Cardinal c = EffGetPixel(V, bx, by);
      for (Integer y = by; y < std::min(by + ASize, V.Height); ++y)
        for (Integer x = bx; x < std::min(bx + ASize, V.Width); ++x) EffSetPixel(V, x, y, c);
    }
}

void EffWave(const TspEffectView& V, Integer XDiv, Integer YDiv, Integer RatioVal) {
  if (V.Empty() || XDiv == 0 || YDiv == 0) return;
  const size_t N = size_t(V.Stride()) * size_t(V.Height);
  std::vector<Byte> Copy(V.Bits, V.Bits + N);
  const TspEffectView C{Copy.data(), V.Width, V.Height};
  for (Integer y = 0; y < V.Height; ++y)
    for (Integer x = 0; x < V.Width; ++x) {
      const Integer sx = std::clamp(RoundInt(std::sin(double(y) / YDiv) * RatioVal + x), 0, V.Width - 1);
      const Integer sy = std::clamp(RoundInt(std::sin(double(x) / XDiv) * RatioVal + y), 0, V.Height - 1);
      std::memcpy(V.Pixel(x, y), C.Pixel(sx, sy), 3);
    }
}

void EffResize(const TspEffectView& V, const TspEffectView& Dst) {
  if (V.Empty() || Dst.Empty()) return;
  const double sx = double(Dst.Width - 1) / V.Width, sy = double(Dst.Height - 1) / V.Height;
  const Integer bw = RoundInt(sx) + 1, bh = RoundInt(sy) + 1;
  for (Integer y = 0; y < V.Height; ++y)
    for (Integer x = 0; x < V.Width; ++x) {
      const Integer x0 = RoundInt(sx * x), y0 = RoundInt(sy * y);
      for (Integer j = std::max(y0, 0); j < std::min(y0 + bh, Dst.Height); ++j)
        for (Integer i = std::max(x0, 0); i < std::min(x0 + bw, Dst.Width); ++i)
          std::memcpy(Dst.Pixel(i, j), V.Pixel(x, y), 3);
    }
}

void EffRotate90_1(const TspEffectView& V, const TspEffectView& Dst) {
  if (V.Empty() || Dst.Empty() || Dst.Width != V.Height || Dst.Height != V.Width) return;
  for (Integer y = 0; y < V.Height; ++y)
    for (Integer x = 0; x < V.Width; ++x) std::memcpy(Dst.Pixel(y, V.Width - 1 - x), V.Pixel(x, y), 3);
}

void EffRotate90_2(const TspEffectView& V, const TspEffectView& Dst) {
  if (V.Empty() || Dst.Empty() || Dst.Width != V.Height || Dst.Height != V.Width) return;
  for (Integer y = 0; y < V.Height; ++y)
    for (Integer x = 0; x < V.Width; ++x) std::memcpy(Dst.Pixel(V.Height - 1 - y, x), V.Pixel(x, y), 3);
}

void EffFlipVert(const TspEffectView& V, const TspEffectView& Dst) {
  if (V.Empty() || Dst.Empty() || !V.SameSize(Dst)) return;
  for (Integer y = 0; y < V.Height; ++y) std::memmove(Dst.Row(V.Height - 1 - y), V.Row(y), size_t(V.Width) * 3);
}

void EffMaskBlur(const TspEffectView& V, const TspEffectView& Msk, Integer Amount) {
  if (!MaskReady(V, Msk) || Amount == 0 || Amount == Integer(0x80000000u)) return;
  BlurRows(V, [&](Integer x, Integer y, Byte* Out) {
    if (!IsWhite(Msk.Pixel(x, y))) FourSamples(V, x, y, Amount, Out);
  });
}

void EffMaskAntialiasing(const TspEffectView& V, const TspEffectView& Msk, Integer Amount) {
  if (!MaskReady(V, Msk) || Amount == 0 || Amount == Integer(0x80000000u)) return;
  BlurRows(V, [&](Integer x, Integer y, Byte* Out) {
    if (IsWhite(Msk.Pixel(x, y))) return;
    const Integer l = Sample(x, -Amount, V.Width), r = Sample(x, Amount, V.Width);
    const Integer u = Sample(y, -Amount, V.Height), d = Sample(y, Amount, V.Height);
    if (IsWhite(Msk.Pixel(l, u)) || IsWhite(Msk.Pixel(l, d)) || IsWhite(Msk.Pixel(r, u)) ||
        IsWhite(Msk.Pixel(r, d)))
      FourSamples(V, x, y, Amount, Out);
  });
}

void EffMaskFillColor(const TspEffectView& V, const TspEffectView& Msk, Cardinal Color, double Kf) {
  if (!MaskReady(V, Msk) || std::isnan(Kf)) return;
  const Byte C[3] = {Byte(Color >> 16), Byte(Color >> 8), Byte(Color)};  // blue, green, red
  for (Integer y = 0; y < V.Height; ++y)
    for (Integer x = 0; x < V.Width; ++x) {
      if (IsWhite(Msk.Pixel(x, y))) continue;
      Byte* P = V.Pixel(x, y);
      for (int k = 0; k < 3; ++k) P[k] = ClampByte((1 - Kf) * P[k] + Kf * C[k]);
    }
}
