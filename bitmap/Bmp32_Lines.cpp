// Line drawing on bitmaps: runs, integer lines (plain, blended, anti-aliased),
// dot walks with 16.16 / float end points, stipple colours and pen forms
// (members of TCustomBitmap32).
#include "bitmap/Bmp32.h"

#include <climits>
#include <cmath>
#include <initializer_list>

#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_DrawingEx.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Math.h"
#include "rtl/ScopeGuard.h"

namespace {

constexpr Cardinal LineReport = AreaInfoLine + 2;
constexpr Cardinal StippleLineReport = AreaInfoLine + 4;

Integer SatInt(Int64 V) { return V > INT_MAX ? INT_MAX : (V < INT_MIN ? INT_MIN : Integer(V)); }
Int64 Abs64(Int64 V) { return V < 0 ? -V : V; }

// Runs out of the body even when it throws, then rethrows.
template <class Body, class Finish>
void WithFinally(Body body, Finish finish) {
  TFinally Done([&] { finish(); });
  body();
}

// The half-open box of an inclusive run from A to B on one row/column.
void ReportHorzRun(TCustomBitmap32& B, Integer X1, Integer Y, Integer X2) {
  Integer lo = X1 < X2 ? X1 : X2, hi = X1 < X2 ? X2 : X1;
  B.Changed(TRect(lo, Y, SatInt(Int64(hi) + 1), SatInt(Int64(Y) + 1)), AreaInfoRect);
}
void ReportVertRun(TCustomBitmap32& B, Integer X, Integer Y1, Integer Y2) {
  Integer lo = Y1 < Y2 ? Y1 : Y2, hi = Y1 < Y2 ? Y2 : Y1;
  B.Changed(TRect(X, lo, SatInt(Int64(X) + 1), SatInt(Int64(hi) + 1)), AreaInfoRect);
}
void ReportFixed(TCustomBitmap32& B, TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, Cardinal Info) {
  B.Changed(MakeRect(TFixedRect{X1, Y1, X2, Y2}, rrNearest), Info);
}

TFixedRect FixedClip(const TCustomBitmap32& B) {
  const TRect& c = B.ClipRect();
  return TFixedRect{Shl(c.Left, 16), Shl(c.Top, 16), Shl(c.Right, 16), Shl(c.Bottom, 16)};
}

// ---------------------------------------------------------------------------
// Integer line walks. Line's walk in closed form: with M the major and m the
// minor length and h = M div 2, pixel i lies i steps along the major axis and
// (h + i*m) div M steps along the minor one.

struct TWalk {
  Int64 MajorStart, MinorStart;  // coordinates of the start on each axis
  Int64 MajorSign, MinorSign;
  Int64 M, m, h;
  bool YMajor;
  Int64 MinorAt(Int64 i) const { return Int64((__int128(h) + __int128(i) * m) / M); }
};

TWalk MakeWalk(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Int64 dX = Int64(X2) - X1, dY = Int64(Y2) - Y1;
  TWalk w;
  w.YMajor = !(Abs64(dY) < Abs64(dX));
  if (w.YMajor) {
    w.MajorStart = Y1; w.MinorStart = X1;
    w.MajorSign = dY < 0 ? -1 : 1; w.MinorSign = dX < 0 ? -1 : 1;
    w.M = Abs64(dY); w.m = Abs64(dX);
  } else {
    w.MajorStart = X1; w.MinorStart = Y1;
    w.MajorSign = dX < 0 ? -1 : 1; w.MinorSign = dY < 0 ? -1 : 1;
    w.M = Abs64(dX); w.m = Abs64(dY);
  }
  w.h = w.M / 2;
  return w;
}

// Offsets k (from the start, counted in the direction of Sign) whose
// coordinate Start + Sign*k lies in Lo..Hi.
void OffsetRange(Int64 Start, Int64 Sign, Int64 Lo, Int64 Hi, Int64& KLo, Int64& KHi) {
  if (Sign > 0) { KLo = Lo - Start; KHi = Hi - Start; }
  else { KLo = Start - Hi; KHi = Start - Lo; }
}

// First index in [Lo, Hi] with F(i) >= V for a nondecreasing F; Hi + 1 when none.
template <class F>
Int64 FirstAtLeast(Int64 Lo, Int64 Hi, Int64 V, F f) {
  Int64 a = Lo, b = Hi + 1;
  while (a < b) {
    Int64 mid = a + (b - a) / 2;
    if (f(mid) >= V) b = mid; else a = mid + 1;
  }
  return a;
}
// Last index in [Lo, Hi] with F(i) <= V; Lo - 1 when none.
template <class F>
Int64 LastAtMost(Int64 Lo, Int64 Hi, Int64 V, F f) {
  return FirstAtLeast(Lo, Hi, V + 1, f) - 1;
}

// The pixels of Line's walk that lie inside Clip (inclusive bounds), each
// passed to Put(x, y). True when at least one was.
template <class Put>
bool WalkLineClipped(Integer X1, Integer Y1, Integer X2, Integer Y2, bool L, const TRect& Clip, Put put) {
  if (RectIsEmpty(Clip)) return false;
  TWalk w = MakeWalk(X1, Y1, X2, Y2);
  Int64 count = w.M + (L ? 1 : 0);
  if (count <= 0) return false;
  Int64 majLo = w.YMajor ? Clip.Top : Clip.Left, majHi = (w.YMajor ? Clip.Bottom : Clip.Right) - Int64(1);
  Int64 minLo = w.YMajor ? Clip.Left : Clip.Top, minHi = (w.YMajor ? Clip.Right : Clip.Bottom) - Int64(1);
  Int64 iLo, iHi, kLo, kHi;
  OffsetRange(w.MajorStart, w.MajorSign, majLo, majHi, iLo, iHi);
  OffsetRange(w.MinorStart, w.MinorSign, minLo, minHi, kLo, kHi);
  if (iLo < 0) iLo = 0;
  if (iHi > count - 1) iHi = count - 1;
  if (iLo > iHi) return false;
  auto k = [&](Int64 i) { return w.MinorAt(i); };
  Int64 a = FirstAtLeast(iLo, iHi, kLo, k);
  Int64 b = LastAtMost(iLo, iHi, kHi, k);
  if (a > b) return false;
  __int128 num = __int128(w.h) + __int128(a) * w.m;
  Int64 kk = Int64(num / w.M), E = Int64(num % w.M);
  Int64 maj = w.MajorStart + w.MajorSign * a, mnr = w.MinorStart + w.MinorSign * kk;
  for (Int64 i = a; i <= b; ++i) {
    if (w.YMajor) put(Integer(mnr), Integer(maj));
    else put(Integer(maj), Integer(mnr));
    E += w.m;
    maj += w.MajorSign;
    if (E >= w.M) {
      mnr += w.MinorSign;
      E -= w.M;
    }
  }
  return true;
}

// Line's walk without clipping (the end point too when L).
template <class Put>
void WalkLine(Integer X1, Integer Y1, Integer X2, Integer Y2, bool L, Put put) {
  TWalk w = MakeWalk(X1, Y1, X2, Y2);
  Int64 count = w.M + (L ? 1 : 0);
  Int64 E = w.h, maj = w.MajorStart, mnr = w.MinorStart;
  for (Int64 i = 0; i < count; ++i) {
    if (w.YMajor) put(Integer(mnr), Integer(maj));
    else put(Integer(maj), Integer(mnr));
    E += w.m;
    maj += w.MajorSign;
    if (E >= w.M) {
      mnr += w.MinorSign;
      E -= w.M;
    }
  }
}

// ---------------------------------------------------------------------------
// Dot walks (16.16 end points)

Int64 RoundHypot64(Int64 Dx, Int64 Dy) {
  return Int64(std::nearbyint(std::sqrt(Extended(Dx) * Dx + Extended(Dy) * Dy)));
}

TColor32 ScaleAlpha(TColor32 C, Int64 Len, Int64 n) {
  Int64 a = ((Int64(C >> 24) * (Len - n * 65536)) >> 16) & 255;
  return (C & 0x00FFFFFFu) | (TColor32(a) << 24);
}

// The walk of dots from (X1, Y1) to (X2, Y2). Clipped: SetPixel256S with
// truncating divisions; otherwise SetPixel256 with shifts. Color() gives the
// next dot's colour. False (nothing drawn) when the length is below 256.
template <class ColorFn>
bool DotWalk(TCustomBitmap32& B, bool Clipped, Int64 X1, Int64 Y1, Int64 X2, Int64 Y2, bool L, ColorFn Color) {
  Int64 Len = RoundHypot64(X2 - X1, Y2 - Y1);
  if (L) Len += 0x10000;
  if (Len <= 255) return false;
  Int64 n = Len >> 16;
  Int64 px = X1 + 127, py = Y1 + 127;
  Int64 ex, ey;
  if (n > 0) {
    ex = Int64(std::nearbyint(double(X2 - X1) * 65536.0 / double(Len)));
    ey = Int64(std::nearbyint(double(Y2 - Y1) * 65536.0 / double(Len)));
  } else {
    ex = X2 - X1;
    ey = Y2 - Y1;
  }
  auto dot = [&](Int64 x, Int64 y, TColor32 c) {
    if (Clipped) B.SetPixel256S(SatInt(x), SatInt(y), c);
    else B.SetPixel256(Integer(x), Integer(y), c);
  };
  for (Int64 i = 0; i < n; ++i) {
    if (Clipped) dot(px / 256, py / 256, Color());
    else dot(px >> 8, py >> 8, Color());
    px += ex;
    py += ey;
  }
  Int64 lx = px - ex, ly = py - ey;
  Int64 fx = X2 + lx + 127, fy = Y2 + ly + 127;
  TColor32 last = ScaleAlpha(Color(), Len, n);
  if (Clipped) dot(fx / 512, fy / 512, last);
  else dot(fx >> 9, fy >> 9, last);
  return true;
}

bool StrictlyInside(const TFixedRect& F, Int64 X, Int64 Y) {
  return X > F.Left && X < Int64(F.Right) - 0x20000 && Y > F.Top && Y < Int64(F.Bottom) - 0x20000;
}

// Clips the float segment to the clip rectangle grown by 2 px (Liang-Barsky).
// T0/T1 are the kept part's parameters. False when nothing is left.
bool ClipFloatSegment(const TCustomBitmap32& B, Single X1, Single Y1, Single X2, Single Y2, double& T0, double& T1) {
  T0 = 0;
  T1 = 1;
  if (!std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(X2) || !std::isfinite(Y2)) return false;
  const TRect& c = B.ClipRect();
  double minX = double(c.Left) - 2, minY = double(c.Top) - 2, maxX = double(c.Right) + 2, maxY = double(c.Bottom) + 2;
  double dx = double(X2) - X1, dy = double(Y2) - Y1;
  auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    double r = q / p;
    if (p < 0) {
      if (r > T1) return false;
      if (r > T0) T0 = r;
    } else {
      if (r < T0) return false;
      if (r < T1) T1 = r;
    }
    return true;
  };
  return edge(-dx, double(X1) - minX) && edge(dx, maxX - double(X1)) && edge(-dy, double(Y1) - minY) &&
         edge(dy, maxY - double(Y1));
}

}  // namespace

// ---------------------------------------------------------------------------
// Stipple

void TCustomBitmap32::SetStipple(const TArrayOfColor32& NewStipple) {
  FStipplePattern = NewStipple;
  SetStippleCounter(0);
}

void TCustomBitmap32::SetStipple(std::initializer_list<TColor32> NewStipple) {
  SetStipple(TArrayOfColor32(NewStipple));
}

void TCustomBitmap32::AdvanceStippleCounter(Single LengthPixels) {
  const TArrayOfColor32& P = FStipplePattern;
  if (P.empty()) return;
  Single D = LengthPixels * StippleStep();
  if (D == 0) return;
  Single N = Single(P.size());
  Single c = StippleCounter() + D;
  c -= N * std::floor(c / N);
  SetStippleCounter(c);
}

TColor32 TCustomBitmap32::GetStippleColor() {
  const TArrayOfColor32& P = FStipplePattern;
  if (P.empty()) return 0xFF000000u;
  Integer N = Integer(P.size());
  Single c = WrapSingle(StippleCounter(), Single(N));
  Integer I = Integer(std::nearbyint(c - 0.5f));
  if (I < 0) I = 0;
  if (I >= N) I = N - 1;
  Integer F = Integer(std::nearbyint((c - Single(I)) * 255.0f));
  F = LimitRange(F, 0, 255);
  TColor32 result;
  if (F == 0) {
    result = P[size_t(I)];
  } else {
    result = CombineColors(P[size_t(I)], P[size_t(I + 1 == N ? 0 : I + 1)], TColor32(255 - F));
    EndBlending();
  }
  SetStippleCounter(c + StippleStep());
  return result;
}

// ---------------------------------------------------------------------------
// Runs

namespace {

using TRunProc = void (TCustomBitmap32::*)(Integer, Integer, Integer, TColor32);

// A run X1..X2 on row Y (Y1..Y2 on column X), clipped and reported; Run
// draws the clipped part.
void ClippedHorzRun(TCustomBitmap32& B, Integer X1, Integer Y, Integer X2, TColor32 Value, TRunProc Run) {
  if (B.MeasuringMode()) {
    ReportHorzRun(B, X1, Y, X2);
    return;
  }
  const TRect& c = B.ClipRect();
  if (Y >= c.Top && Y < c.Bottom && ClipSpan(X1, X2, c.Left, c.Right)) {
    (B.*Run)(X1, Y, X2, Value);
    ReportHorzRun(B, X1, Y, X2);
  }
}

void ClippedVertRun(TCustomBitmap32& B, Integer X, Integer Y1, Integer Y2, TColor32 Value, TRunProc Run) {
  if (B.MeasuringMode()) {
    ReportVertRun(B, X, Y1, Y2);
    return;
  }
  const TRect& c = B.ClipRect();
  if (X >= c.Left && X < c.Right && ClipSpan(Y1, Y2, c.Top, c.Bottom)) {
    (B.*Run)(X, Y1, Y2, Value);
    ReportVertRun(B, X, Y1, Y2);
  }
}

// A line along one axis goes to the run routines, its last pixel left out;
// false when the line is not axis-aligned.
bool AxisLine(TCustomBitmap32& B, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, TRunProc Horz,
              TRunProc Vert) {
  const Int64 dX = Int64(X2) - X1, dY = Int64(Y2) - Y1;
  if (dX != 0 && dY != 0) return false;
  if (dX == 0) {
    if (dY > 0) (B.*Vert)(X1, Y1, Y2 - 1, Value);
    else if (dY < 0) (B.*Vert)(X1, Y2 + 1, Y1, Value);
  } else {
    if (dX > 0) (B.*Horz)(X1, Y1, X2 - 1, Value);
    else (B.*Horz)(X2 + 1, Y1, X1, Value);
  }
  return true;
}

}  // namespace

void TCustomBitmap32::HorzLine(Integer X1, Integer Y, Integer X2, TColor32 Value) {
  if (X2 < X1) return;
  FillWords32(PixelPtr(X1, Y), X2 - X1 + 1, Value);
}

void TCustomBitmap32::HorzLineS(Integer X1, Integer Y, Integer X2, TColor32 Value) {
  ClippedHorzRun(*this, X1, Y, X2, Value, &TCustomBitmap32::HorzLine);
}

void TCustomBitmap32::HorzLineT(Integer X1, Integer Y, Integer X2, TColor32 Value) {
  if (X2 < X1) return;
  TBlendMem blend = BlendProc();
  TColor32* p = PixelPtr(X1, Y);
  for (Integer i = 0, n = X2 - X1; i <= n; ++i) blend(Value, p[i]);
  EndBlending();
}

void TCustomBitmap32::HorzLineTS(Integer X1, Integer Y, Integer X2, TColor32 Value) {
  ClippedHorzRun(*this, X1, Y, X2, Value, &TCustomBitmap32::HorzLineT);
}

void TCustomBitmap32::VertLine(Integer X, Integer Y1, Integer Y2, TColor32 Value) {
  if (Y2 < Y1) return;
  TColor32* p = PixelPtr(X, Y1);
  ptrdiff_t w = Width();
  for (Integer i = 0, n = Y2 - Y1; i <= n; ++i, p += w) *p = Value;
}

void TCustomBitmap32::VertLineS(Integer X, Integer Y1, Integer Y2, TColor32 Value) {
  ClippedVertRun(*this, X, Y1, Y2, Value, &TCustomBitmap32::VertLine);
}

void TCustomBitmap32::VertLineT(Integer X, Integer Y1, Integer Y2, TColor32 Value) {
  if (Y2 < Y1) return;
  TBlendMem blend = BlendProc();
  TColor32* p = PixelPtr(X, Y1);
  ptrdiff_t w = Width();
  for (Integer i = 0, n = Y2 - Y1; i <= n; ++i, p += w) blend(Value, *p);
  EndBlending();
}

void TCustomBitmap32::VertLineTS(Integer X, Integer Y1, Integer Y2, TColor32 Value) {
  ClippedVertRun(*this, X, Y1, Y2, Value, &TCustomBitmap32::VertLineT);
}

namespace {

// Stippled run along one axis. Horz: X1..X2 on row Fixed; else a column.
void StippledRun(TCustomBitmap32& B, bool Horz, Integer A1, Integer Fixed, Integer A2) {
  if (B.MeasuringMode()) {
    if (Horz) ReportHorzRun(B, A1, Fixed, A2);
    else ReportVertRun(B, Fixed, A1, A2);
    return;
  }
  if (B.Empty()) return;
  const TRect& c = B.ClipRect();
  Integer Lo = Horz ? c.Left : c.Top, Hi = Horz ? c.Right : c.Bottom;
  Integer FLo = Horz ? c.Top : c.Left, FHi = Horz ? c.Bottom : c.Right;
  Int64 a1 = A1, a2 = A2;
  if (Fixed < FLo || Fixed >= FHi || Lo >= Hi || (a1 < Lo && a2 < Lo) || (a1 >= Hi && a2 >= Hi)) {
    B.AdvanceStippleCounter(Single(Abs64(a2 - a1) + 1));
    return;
  }
  if (a1 < Lo) {
    B.AdvanceStippleCounter(Single(Lo - a1));
    a1 = Lo;
  } else if (a1 >= Hi) {
    B.AdvanceStippleCounter(Single(a1 - Hi + 1));
    a1 = Hi - 1;
  }
  Int64 R = 0;
  if (a2 < Lo) {
    R = Lo - a2;
    a2 = Lo;
  } else if (a2 >= Hi) {
    R = a2 - Hi + 1;
    a2 = Hi - 1;
  }
  Integer dir = a2 >= a1 ? 1 : -1;
  for (Integer p = Integer(a1);; p += dir) {
    TColor32 col = B.GetStippleColor();
    if (Horz) B.SetPixelT(p, Fixed, col);
    else B.SetPixelT(Fixed, p, col);
    if (p == Integer(a2)) break;
  }
  if (Horz) ReportHorzRun(B, Integer(a1), Fixed, Integer(a2));
  else ReportVertRun(B, Fixed, Integer(a1), Integer(a2));
  if (R >= 1) B.AdvanceStippleCounter(Single(R));
}

}  // namespace

void TCustomBitmap32::HorzLineTSP(Integer X1, Integer Y, Integer X2) { StippledRun(*this, true, X1, Y, X2); }
void TCustomBitmap32::VertLineTSP(Integer X, Integer Y1, Integer Y2) { StippledRun(*this, false, Y1, X, Y2); }

void TCustomBitmap32::HorzLineX(TFixed X1, TFixed Y, TFixed X2, TColor32 Value) {
  if (X2 < X1) std::swap(X1, X2);
  WithFinally(
      [&] {
        Integer x1 = X1 >> 16, x2 = X2 >> 16;
        Integer n = x2 - x1 - 1;
        auto put = [&](Integer x, Integer y, Cardinal w) {
          if (w != 0) CombineInto(Value, *PixelPtr(x, y), w);
        };
        auto row = [&](Integer py, Cardinal V) {
          if (V == 0) return;
          put(x1, py, GammaCurve[(V * (65535u - Cardinal(X1 & 0xFFFF))) >> 24]);
          Cardinal inner = GammaCurve[V >> 8];
          for (Integer i = 1; i <= n; ++i) put(x1 + i, py, inner);
          put(x2, py, GammaCurve[(V * Cardinal(X2 & 0xFFFF)) >> 24]);
        };
        Integer py = Y >> 16;
        row(py, 65535u - Cardinal(Y & 0xFFFF));
        row(py + 1, Cardinal(Y & 0xFFFF));
      },
      [&] {
        EndBlending();
        ReportFixed(*this, X1, Y, X2, SatInt(Int64(Y) + 1), LineReport);
      });
}

void TCustomBitmap32::VertLineX(TFixed X, TFixed Y1, TFixed Y2, TColor32 Value) {
  if (Y2 < Y1) std::swap(Y1, Y2);
  WithFinally(
      [&] {
        Integer y1 = Y1 >> 16, y2 = Y2 >> 16;
        Integer n = y2 - y1 - 1;
        auto put = [&](Integer x, Integer y, Cardinal w) {
          if (w != 0) CombineInto(Value, *PixelPtr(x, y), w);
        };
        auto col = [&](Integer px, Cardinal V) {
          if (V == 0) return;
          put(px, y1, GammaCurve[(V * (65535u - Cardinal(Y1 & 0xFFFF))) >> 24]);
          Cardinal inner = GammaCurve[V >> 8];
          for (Integer i = 1; i <= n; ++i) put(px, y1 + i, inner);
          put(px, y2, GammaCurve[(V * Cardinal(Y2 & 0xFFFF)) >> 24]);
        };
        Integer px = X >> 16;
        col(px, 65535u - Cardinal(X & 0xFFFF));
        col(px + 1, Cardinal(X & 0xFFFF));
      },
      [&] {
        EndBlending();
        ReportFixed(*this, X, Y1, SatInt(Int64(X) + 1), Y2, LineReport);
      });
}

void TCustomBitmap32::HorzLineXS(TFixed X1, TFixed Y, TFixed X2, TColor32 Value) {
  if (X2 < X1) std::swap(X1, X2);
  if (MeasuringMode()) {
    ReportFixed(*this, X1, Y, X2, SatInt(Int64(Y) + 1), LineReport);
    return;
  }
  TFixedRect F = FixedClip(*this);
  X1 = LimitRange(X1, F.Left, F.Right);
  X2 = LimitRange(X2, F.Left, F.Right);
  if (Int64(X2) - X1 > 0x10000 && F.Top <= Y && Int64(Y) <= Int64(F.Bottom) - 0x10000)
    HorzLineX(X1, Y, X2, Value);
  else
    LineXS(X1, Y, X2, Y, Value, false);
}

void TCustomBitmap32::VertLineXS(TFixed X, TFixed Y1, TFixed Y2, TColor32 Value) {
  if (Y2 < Y1) std::swap(Y1, Y2);
  if (MeasuringMode()) {
    ReportFixed(*this, X, Y1, SatInt(Int64(X) + 1), Y2, LineReport);
    return;
  }
  TFixedRect F = FixedClip(*this);
  Y1 = LimitRange(Y1, F.Top, F.Bottom - 0x10000);
  Y2 = LimitRange(Y2, F.Top, F.Bottom - 0x10000);
  if (Int64(Y2) - Y1 > 0x10000 && F.Left <= X && Int64(X) <= Int64(F.Right) - 0x10000)
    VertLineX(X, Y1, Y2, Value);
  else
    LineXS(X, Y1, X, Y2, Value, false);
}

// ---------------------------------------------------------------------------
// Integer lines

void TCustomBitmap32::Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  WithFinally(
      [&] {
        if (AxisLine(*this, X1, Y1, X2, Y2, Value, &TCustomBitmap32::HorzLine, &TCustomBitmap32::VertLine)) {
          if (L) SetPixel(X2, Y2, Value);
          return;
        }
        WalkLine(X1, Y1, X2, Y2, L, [&](Integer x, Integer y) { SetPixel(x, y, Value); });
      },
      [&] { Changed(TRect(X1, Y1, X2, Y2), LineReport); });
}

void TCustomBitmap32::LineS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  if (MeasuringMode()) {
    Changed(TRect(X1, Y1, X2, Y2), LineReport);
    return;
  }
  if (AxisLine(*this, X1, Y1, X2, Y2, Value, &TCustomBitmap32::HorzLineS, &TCustomBitmap32::VertLineS)) {
    if (L) SetPixelS(X2, Y2, Value);
    Changed();
    return;
  }
  if (WalkLineClipped(X1, Y1, X2, Y2, L, ClipRect(), [&](Integer x, Integer y) { SetPixel(x, y, Value); }))
    Changed(TRect(X1, Y1, X2, Y2), LineReport);
}

void TCustomBitmap32::LineT(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  WithFinally(
      [&] {
        if (AxisLine(*this, X1, Y1, X2, Y2, Value, &TCustomBitmap32::HorzLineT, &TCustomBitmap32::VertLineT)) {
          if (L) SetPixelT(X2, Y2, Value);
          return;
        }
        TBlendMem blend = BlendProc();
        WalkLine(X1, Y1, X2, Y2, L, [&](Integer x, Integer y) { blend(Value, *PixelPtr(x, y)); });
        EndBlending();
      },
      [&] { Changed(TRect(X1, Y1, X2, Y2), LineReport); });
}

void TCustomBitmap32::LineTS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  if (MeasuringMode()) {
    Changed(TRect(X1, Y1, X2, Y2), LineReport);
    return;
  }
  if (AxisLine(*this, X1, Y1, X2, Y2, Value, &TCustomBitmap32::HorzLineTS, &TCustomBitmap32::VertLineTS)) {
    if (L) SetPixelTS(X2, Y2, Value);
    return;
  }
  TBlendMem blend = BlendProc();
  bool any =
      WalkLineClipped(X1, Y1, X2, Y2, L, ClipRect(), [&](Integer x, Integer y) { blend(Value, *PixelPtr(x, y)); });
  EndBlending();
  if (any) Changed(TRect(X1, Y1, X2, Y2), LineReport);
}

namespace {

// The anti-aliased walk: after the start pixel, step j = 1..Count along the
// major axis; the accumulator j*Step (16 bits of fraction) gives the minor
// offset (its integer part) and the weight W (its top fraction byte). The
// main pixel gets GammaCurve[255 - W], its neighbour one further along the
// minor axis GammaCurve[W].
struct TAAWalk {
  Int64 MajorStart, MinorStart, MajorSign, MinorSign;
  Int64 Step, Count;
  bool YMajor;
};

TAAWalk MakeAAWalk(Integer X1, Integer Y1, Integer X2, Integer Y2, bool L) {
  Int64 dX = Int64(X2) - X1, dY = Int64(Y2) - Y1;
  TAAWalk w;
  Int64 aM, am;
  w.YMajor = Abs64(dX) < Abs64(dY);
  if (w.YMajor) {
    w.MajorStart = Y1; w.MinorStart = X1;
    w.MajorSign = dY < 0 ? -1 : 1; w.MinorSign = dX < 0 ? -1 : 1;
    aM = Abs64(dY); am = Abs64(dX);
  } else {
    w.MajorStart = X1; w.MinorStart = Y1;
    w.MajorSign = dX < 0 ? -1 : 1; w.MinorSign = dY < 0 ? -1 : 1;
    aM = Abs64(dX); am = Abs64(dY);
  }
  w.Step = (am << 16) / aM;
  w.Count = L ? aM : aM - 1;
  return w;
}

}  // namespace

void TCustomBitmap32::LineA(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  Int64 dX = Int64(X2) - X1, dY = Int64(Y2) - Y1;
  if (dX == 0 || dY == 0) {
    LineT(X1, Y1, X2, Y2, Value, L);
    return;
  }
  WithFinally(
      [&] {
        TCombineMode cm = CombineMode();
        TBlendMemEx blendEx = BlendIntoExByMode[cm];
        BlendIntoByMode[cm](Value, *PixelPtr(X1, Y1));
        TAAWalk w = MakeAAWalk(X1, Y1, X2, Y2, L);
        Int64 A = 0, maj = w.MajorStart, mnr = w.MinorStart;
        for (Int64 j = 0; j < w.Count; ++j) {
          A += w.Step;
          if (A > 0xFFFF) {
            mnr += w.MinorSign;
            A &= 0xFFFF;
          }
          maj += w.MajorSign;
          Cardinal W = Cardinal(A >> 8);
          Cardinal g1 = GammaCurve[255 - W], g2 = GammaCurve[W];
          Integer x = Integer(w.YMajor ? mnr : maj), y = Integer(w.YMajor ? maj : mnr);
          if (g1) blendEx(Value, *PixelPtr(x, y), g1);
          if (g2) {
            if (w.YMajor) blendEx(Value, *PixelPtr(Integer(mnr + w.MinorSign), y), g2);
            else blendEx(Value, *PixelPtr(x, Integer(mnr + w.MinorSign)), g2);
          }
        }
      },
      [&] {
        EndBlending();
        Changed(TRect(X1, Y1, X2, Y2), LineReport);
      });
}

void TCustomBitmap32::LineAS(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor32 Value, bool L) {
  if (MeasuringMode()) {
    Changed(TRect(X1, Y1, X2, Y2), LineReport);
    return;
  }
  const TRect& c = ClipRect();
  if (RectIsEmpty(c)) return;
  Int64 dX = Int64(X2) - X1, dY = Int64(Y2) - Y1;
  if (Abs64(dX) == Abs64(dY)) {
    LineTS(X1, Y1, X2, Y2, Value, L);
    return;
  }
  if (dX == 0 || dY == 0) {
    if (dX == 0) {
      if (dY > 0) VertLineTS(X1, Y1, Y2 - 1, Value);
      else VertLineTS(X1, Y2 + 1, Y1, Value);
    } else {
      if (dX > 0) HorzLineTS(X1, Y1, X2 - 1, Value);
      else HorzLineTS(X2 + 1, Y1, X1, Value);
    }
    if (L) SetPixelTS(X2, Y2, Value);
    return;
  }
  TCombineMode cm = CombineMode();
  TBlendMemEx blendEx = BlendIntoExByMode[cm];
  bool anyMain = false, anyNeighbour = false;
  if (PointInRect(c, TPoint(X1, Y1))) {
    blendEx(Value, *PixelPtr(X1, Y1), 255);
    anyMain = true;
  }
  TAAWalk w = MakeAAWalk(X1, Y1, X2, Y2, L);
  Int64 majLo = w.YMajor ? c.Top : c.Left, majHi = (w.YMajor ? c.Bottom : c.Right) - Int64(1);
  Int64 minLo = w.YMajor ? c.Left : c.Top, minHi = (w.YMajor ? c.Right : c.Bottom) - Int64(1);
  Int64 jLo, jHi, kLo, kHi;
  OffsetRange(w.MajorStart, w.MajorSign, majLo, majHi, jLo, jHi);
  OffsetRange(w.MinorStart, w.MinorSign, minLo, minHi, kLo, kHi);
  if (jLo < 1) jLo = 1;
  if (jHi > w.Count) jHi = w.Count;
  if (jLo <= jHi) {
    auto k = [&](Int64 j) { return (j * w.Step) >> 16; };
    // the main pixel (offset k) or its neighbour (k + 1) inside
    Int64 a = FirstAtLeast(jLo, jHi, kLo - 1, k);
    Int64 b = LastAtMost(jLo, jHi, kHi, k);
    for (Int64 j = a; j <= b; ++j) {
      Int64 acc = j * w.Step;
      Int64 kk = acc >> 16;
      Cardinal W = Cardinal((acc & 0xFFFF) >> 8);
      Int64 maj = w.MajorStart + w.MajorSign * j;
      auto put = [&](Int64 off, Cardinal g) {
        Int64 mnr = w.MinorStart + w.MinorSign * off;
        Integer x = Integer(w.YMajor ? mnr : maj), y = Integer(w.YMajor ? maj : mnr);
        if (g) blendEx(Value, *PixelPtr(x, y), g);
      };
      if (kk >= kLo && kk <= kHi) {
        put(kk, GammaCurve[255 - W]);
        anyMain = true;
      }
      if (kk + 1 >= kLo && kk + 1 <= kHi) {
        put(kk + 1, GammaCurve[W]);
        anyNeighbour = true;
      }
    }
  }
  EndBlending();
  if (anyMain) Changed(TRect(X1, Y1, X2, Y2), LineReport);
  else if (anyNeighbour) Changed();
}

// ---------------------------------------------------------------------------
// Dot walks

void TCustomBitmap32::LineX(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L) {
  WithFinally([&] { DotWalk(*this, false, X1, Y1, X2, Y2, L, [&] { return Value; }); },
              [&] {
                EndBlending();
                ReportFixed(*this, X1, Y1, X2, Y2, LineReport);
              });
}

void TCustomBitmap32::LineXP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L) {
  WithFinally([&] { DotWalk(*this, false, X1, Y1, X2, Y2, L, [&] { return GetStippleColor(); }); },
              [&] {
                EndBlending();
                ReportFixed(*this, X1, Y1, X2, Y2, LineReport);
              });
}

void TCustomBitmap32::LineXS(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L) {
  if (MeasuringMode()) {
    ReportFixed(*this, X1, Y1, X2, Y2, LineReport);
    return;
  }
  TFixedRect F = FixedClip(*this);
  Integer x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
  if (!ClipLine(x1, y1, x2, y2, F.Left - 0x10000, F.Top - 0x10000, F.Right, F.Bottom)) return;
  if (x2 != X2 || y2 != Y2) L = true;
  if (StrictlyInside(F, x1, y1) && StrictlyInside(F, x2, y2)) {
    LineX(x1, y1, x2, y2, Value, L);
    return;
  }
  bool drawn = DotWalk(*this, true, x1, y1, x2, y2, L, [&] { return Value; });
  EndBlending();
  if (drawn) ReportFixed(*this, X1, Y1, X2, Y2, LineReport);
}

void TCustomBitmap32::LineXSP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L) {
  if (MeasuringMode()) {
    ReportFixed(*this, X1, Y1, X2, Y2, StippleLineReport);
    return;
  }
  TFixedRect F = FixedClip(*this);
  Integer x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
  if (!ClipLine(x1, y1, x2, y2, F.Left - 0x10000, F.Top - 0x10000, F.Right, F.Bottom)) {
    Int64 Dx = Abs64(Int64(x2) - x1) >> 16, Dy = Abs64(Int64(y2) - y1) >> 16;
    AdvanceStippleCounter(Hypot(Single(Dx), Single(Dy - (L ? 1 : 0))));
    return;
  }
  if (x2 != X2 || y2 != Y2) L = true;
  if (StrictlyInside(F, x1, y1) && StrictlyInside(F, x2, y2)) {
    LineXP(x1, y1, x2, y2, L);
    return;
  }
  if (x1 != X1 || y1 != Y1)
    AdvanceStippleCounter(Single(RoundHypot64(Abs64(Int64(x1) - X1) >> 16, Abs64(Int64(y1) - Y1) >> 16)));
  bool drawn = DotWalk(*this, true, x1, y1, x2, y2, L, [&] {
    TColor32 col = GetStippleColor();
    return col;
  });
  EndBlending();
  if (!drawn) return;
  Int64 Dx = Abs64(Int64(x2) + 127 - X2) >> 16, Dy = Abs64(Int64(y2) + 127 - Y2) >> 16;
  AdvanceStippleCounter(Hypot(Single(Dx), Single(Dy - (L ? 1 : 0))));
  ReportFixed(*this, X1, Y1, X2, Y2, StippleLineReport);
}

void TCustomBitmap32::LineF(Single X1, Single Y1, Single X2, Single Y2, TColor32 Value, bool L) {
  LineX(SingleToFixed(X1), SingleToFixed(Y1), SingleToFixed(X2), SingleToFixed(Y2), Value, L);
}

void TCustomBitmap32::LineFP(Single X1, Single Y1, Single X2, Single Y2, bool L) {
  LineXP(SingleToFixed(X1), SingleToFixed(Y1), SingleToFixed(X2), SingleToFixed(Y2), L);
}

namespace {

// The float forms cut the segment to the clip rectangle grown by 2 px first,
// so that the 16.16 conversion never overflows; the stippled form advances
// the pattern by the lengths cut off.
void LineFloatClipped(TCustomBitmap32& B, Single X1, Single Y1, Single X2, Single Y2, TColor32 Value, bool L,
                      bool Stippled) {
  if (B.MeasuringMode()) {
    if (Stippled) B.LineXSP(SingleToFixed(X1), SingleToFixed(Y1), SingleToFixed(X2), SingleToFixed(Y2), L);
    else B.LineXS(SingleToFixed(X1), SingleToFixed(Y1), SingleToFixed(X2), SingleToFixed(Y2), Value, L);
    return;
  }
  double t0, t1;
  double len = std::hypot(double(X2) - X1, double(Y2) - Y1);
  if (!ClipFloatSegment(B, X1, Y1, X2, Y2, t0, t1)) {
    if (Stippled && std::isfinite(len)) B.AdvanceStippleCounter(Single(len));
    return;
  }
  double dx = double(X2) - X1, dy = double(Y2) - Y1;
  Single cx1 = X1, cy1 = Y1, cx2 = X2, cy2 = Y2;
  if (t0 > 0) {
    cx1 = Single(X1 + dx * t0);
    cy1 = Single(Y1 + dy * t0);
  }
  if (t1 < 1) {
    cx2 = Single(X1 + dx * t1);
    cy2 = Single(Y1 + dy * t1);
  }
  if (Stippled) {
    if (t0 > 0) B.AdvanceStippleCounter(Single(len * t0));
    B.LineXSP(SingleToFixed(cx1), SingleToFixed(cy1), SingleToFixed(cx2), SingleToFixed(cy2), L);
    if (t1 < 1) B.AdvanceStippleCounter(Single(len * (1 - t1)));
  } else {
    B.LineXS(SingleToFixed(cx1), SingleToFixed(cy1), SingleToFixed(cx2), SingleToFixed(cy2), Value, L);
  }
}

}  // namespace

void TCustomBitmap32::LineFS(Single X1, Single Y1, Single X2, Single Y2, TColor32 Value, bool L) {
  LineFloatClipped(*this, X1, Y1, X2, Y2, Value, L, false);
}

void TCustomBitmap32::LineFSP(Single X1, Single Y1, Single X2, Single Y2, bool L) {
  LineFloatClipped(*this, X1, Y1, X2, Y2, 0, L, true);
}

// ---------------------------------------------------------------------------
// Pen position

void TCustomBitmap32::MoveTo(Integer X, Integer Y) {
  RasterX = X;
  RasterY = Y;
}

void TCustomBitmap32::MoveToX(TFixed X, TFixed Y) {
  RasterXF = X;
  RasterYF = Y;
  RasterXFloat = Single(X) / 65536.0f;
  RasterYFloat = Single(Y) / 65536.0f;
}

void TCustomBitmap32::MoveToF(Single X, Single Y) {
  RasterXF = SingleToFixed(X);
  RasterYF = SingleToFixed(Y);
  RasterXFloat = X;
  RasterYFloat = Y;
}

// The float pen, unless RasterXF/RasterYF were set directly since the last
// MoveTo (then they are the pen).
void TCustomBitmap32::FloatPenPos(Single& X, Single& Y) const {
  if (SingleToFixed(RasterXFloat) == RasterXF && SingleToFixed(RasterYFloat) == RasterYF) {
    X = RasterXFloat;
    Y = RasterYFloat;
  } else {
    X = Single(RasterXF) / 65536.0f;
    Y = Single(RasterYF) / 65536.0f;
  }
}

void TCustomBitmap32::LineToS(Integer X, Integer Y) {
  LineS(RasterX, RasterY, X, Y, PenColor(), false);
  MoveTo(X, Y);
}

void TCustomBitmap32::LineToTS(Integer X, Integer Y) {
  LineTS(RasterX, RasterY, X, Y, PenColor(), false);
  MoveTo(X, Y);
}

void TCustomBitmap32::LineToAS(Integer X, Integer Y) {
  LineAS(RasterX, RasterY, X, Y, PenColor(), false);
  MoveTo(X, Y);
}

void TCustomBitmap32::LineToXS(TFixed X, TFixed Y) {
  LineXS(RasterXF, RasterYF, X, Y, PenColor(), false);
  MoveToX(X, Y);
}

void TCustomBitmap32::LineToXSP(TFixed X, TFixed Y) {
  LineXSP(RasterXF, RasterYF, X, Y, false);
  MoveToX(X, Y);
}

void TCustomBitmap32::LineToFS(Single X, Single Y) {
  Single px, py;
  FloatPenPos(px, py);
  LineFS(px, py, X, Y, PenColor(), false);
  MoveToF(X, Y);
}

void TCustomBitmap32::LineToFSP(Single X, Single Y) {
  Single px, py;
  FloatPenPos(px, py);
  LineFSP(px, py, X, Y, false);
  MoveToF(X, Y);
}
