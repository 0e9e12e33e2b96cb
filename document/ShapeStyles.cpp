// Style arithmetic (see ShapeStyles.h).
#include "document/ShapeStyles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "document/DuVura.h"
#include "document/ShapeRows.h"
#include "rtl/Math.h"
#include "rtl/SysUtils.h"

namespace {

TColor32 StopColour(const String& Text, TColor Fore, TColor Back) {
  if (Text == u"ForeColor") return Color32(Fore);
  if (Text == u"BackColor") return Color32(Back);
  return Color32(CellTextToInt(Text));
}

Byte StopAlpha(const String& Text, Integer Opacity) {
  const long double a = (long double)Opacity / 255 * ((long double)CellTextToInt(Text) * 255 / 100);
  return Byte(std::clamp<Int64>(Round(a), 0, 255));
}

void StopsOf(const std::vector<String>& C, const std::vector<String>& O, const std::vector<String>& P,
             Integer Opacity, std::vector<TColor32>& Colors, TArrayOfSingle& Positions, TColor Fore, TColor Back) {
  Colors.clear();
  Positions.clear();
  const size_t n = std::min({C.size(), O.size(), P.size()});
  if (n == 0) return;
  for (size_t i = 0; i < n; ++i) {
    Colors.push_back((TColor32(StopAlpha(O[i], Opacity)) << 24) | (StopColour(C[i], Fore, Back) & 0x00FFFFFFu));
    Positions.push_back(TextToSingle(P[i]));
  }
  if (P[0] != u"0") {
    Colors.insert(Colors.begin(), Colors.front());
    Positions.insert(Positions.begin(), 0.0f);
  }
  if (P[n - 1] != u"1") {
    Colors.push_back(Colors.back());
    Positions.push_back(1.0f);
  }
}

std::vector<String> CellsOf(TRow* Row) {
  std::vector<String> v;
  if (Row)
    for (Integer i = 0; i < Row->ItemCount(); ++i) v.push_back(Row->Items(i)->Text());
  return v;
}

bool Covers(TCustomBitmap32* B, Integer X, Integer Y) {
  return X < B->Width() && Y < B->Height() && (B->GetPixel(X, Y) >> 24) != 0;
}

Byte BandAlpha(Single D, Integer W) {
  if (D > W) return 0;
  return Byte(std::clamp<Int64>(255 - Round((long double)D * 255 / W), 0, 255));
}

template <class Distance>
void ApplyBand(TCustomBitmap32* Wide, TCustomBitmap32* Band, const Distance& DistanceAt) {
  for (Integer y = 0; y < Band->Height(); ++y)
    for (Integer x = 0; x < Band->Width(); ++x) {
      TColor32& p = *Band->PixelPtr(x, y);
      const bool inBand = (p >> 24) != 0 && Covers(Wide, x, y);
      const Byte a = inBand ? DistanceAt(x, y) : 0;
      p = (TColor32(a) << 24) | (p & 0x00FFFFFFu);
    }
}

// Squared distances to the nearest set pixel of Mask (W x H), exact, by the
// separable lower-envelope method: columns first, then each row's parabolas.
std::vector<Int64> SquaredDistanceMap(const std::vector<Byte>& Mask, Integer W, Integer H) {
  constexpr Int64 Far = Int64(1) << 40;
  std::vector<Int64> g(size_t(W) * size_t(H));
  for (Integer x = 0; x < W; ++x) {
    Int64 run = Far;
    for (Integer y = 0; y < H; ++y) {
      const size_t i = size_t(y) * size_t(W) + size_t(x);
      run = Mask[i] ? 0 : (run >= Far ? Far : run + 1);
      g[i] = run;
    }
    for (Integer y = H - 2; y >= 0; --y) {
      const size_t i = size_t(y) * size_t(W) + size_t(x), below = i + size_t(W);
      if (g[below] + 1 < g[i]) g[i] = g[below] + 1;
    }
  }
  std::vector<Int64> out(g.size());
  std::vector<Integer> v(static_cast<size_t>(W));
  std::vector<double> z(size_t(W) + 1);
  std::vector<Int64> f(static_cast<size_t>(W));
  for (Integer y = 0; y < H; ++y) {
    const size_t row = size_t(y) * size_t(W);
    for (Integer x = 0; x < W; ++x) {
      const Int64 d = g[row + size_t(x)];
      f[size_t(x)] = d >= Far ? Far : d * d;
    }
    Integer k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<double>::infinity();
    z[1] = std::numeric_limits<double>::infinity();
    auto meet = [&](Integer Q, Integer P) {
      return (double(f[size_t(Q)] + Int64(Q) * Q) - double(f[size_t(P)] + Int64(P) * P)) / (2.0 * (Q - P));
    };
    for (Integer q = 1; q < W; ++q) {
      double s = meet(q, v[size_t(k)]);
      while (s <= z[size_t(k)]) {
        --k;
        s = meet(q, v[size_t(k)]);
      }
      ++k;
      v[size_t(k)] = q;
      z[size_t(k)] = s;
      z[size_t(k) + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (Integer q = 0; q < W; ++q) {
      while (z[size_t(k) + 1] < q) ++k;
      const Integer p = v[size_t(k)];
      const Int64 fp = f[size_t(p)];
      out[row + size_t(q)] = fp >= Far ? Far : (Int64(q) - p) * (Int64(q) - p) + fp;
    }
  }
  return out;
}

}  // namespace

void BuildGradientStops(const String& ColorList, const String& OpacityList, const String& PositionList,
                        Integer Opacity, std::vector<TColor32>& Colors, TArrayOfSingle& Positions, TColor ForeColor,
                        TColor BackColor) {
  StopsOf(SplitCell(ColorList, u'/'), SplitCell(OpacityList, u'/'), SplitCell(PositionList, u'/'), Opacity, Colors,
          Positions, ForeColor, BackColor);
}

void BuildGradientBlend(TRow* ColorRow, TRow* OpacityRow, TRow* PositionRow, Integer Opacity,
                        std::vector<TColor32>& Colors, TArrayOfSingle& Positions, TColor ForeColor, TColor BackColor) {
  StopsOf(CellsOf(ColorRow), CellsOf(OpacityRow), CellsOf(PositionRow), Opacity, Colors, Positions, ForeColor,
          BackColor);
}

Integer EdgingWidthOf(Integer W) { return W > 0 ? W : 15; }

void BuildEdgingBand(TCustomBitmap32* Outline, TCustomBitmap32* Wide, TCustomBitmap32* Band, Integer W) {
  W = EdgingWidthOf(W);
  const Integer bw = Band->Width(), bh = Band->Height();
  if (bw <= 0 || bh <= 0) return;
  std::vector<Byte> mask(size_t(bw) * size_t(bh));
  bool any = false;
  for (Integer y = 0; y < bh; ++y)
    for (Integer x = 0; x < bw; ++x) {
      const bool set = Covers(Outline, x, y);
      mask[size_t(y) * size_t(bw) + size_t(x)] = set;
      any = any || set;
    }
  const std::vector<Int64> sq = any ? SquaredDistanceMap(mask, bw, bh) : std::vector<Int64>();
  ApplyBand(Wide, Band, [&](Integer X, Integer Y) -> Byte {
    if (!any) return 0;
    const Int64 d2 = sq[size_t(Y) * size_t(bw) + size_t(X)];
    if (d2 > Int64(W) * W) return 0;
    return BandAlpha(Single(std::sqrt((long double)d2)), W);
  });
}

void BuildEdgingBandLiteral(TCustomBitmap32* Outline, TCustomBitmap32* Wide, TCustomBitmap32* Band, Integer W) {
  W = EdgingWidthOf(W);
  TArrayOfPoint outline;
  for (Integer y = 0; y < Outline->Height(); ++y)
    for (Integer x = 0; x < Outline->Width(); ++x)
      if ((Outline->GetPixel(x, y) >> 24) != 0) outline.push_back(TPoint(x, y));
  ApplyBand(Wide, Band, [&](Integer X, Integer Y) -> Byte {
    Single d = 100000;
    for (const TPoint& q : outline)
      if (q.X > X - W - 2 && q.X < X + W + 2 && q.Y > Y - W - 2 && q.Y < Y + W + 2)
        d = std::min(d, CalcDistance(TPoint(X, Y), q));
    return BandAlpha(d, W);
  });
}

Integer ScaledOpacity(Integer StyleOpacity, Integer Opacity) {
  return Integer(Round((long double)StyleOpacity * Opacity / 255));
}

TPoint ShadowOffsets(Integer Angle, Integer Distance) {
  if (Distance == 0) return TPoint(0, 0);
  const long double a = (long double)Angle * std::numbers::pi_v<long double> / 180;
  return TPoint(Integer(Round(std::cos(a) * Distance)), Integer(Round(std::sin(a) * Distance)));
}

Integer NudgeNegative(Integer Offset) { return Offset < 0 ? Offset + 1 : Offset; }

Integer ShadowZoomMargin(Integer Size, Integer Zoom) {
  Integer m = Integer(Round((long double)Size * Zoom / 200));
  if (m > 0 && m % 2 != 0) --m;
  return m;
}

Integer StyleMargin(Integer OutWidth, Integer BlurSize, Integer Extra) { return OutWidth / 2 + BlurSize + 9 + Extra; }

TPoint CentringOffset(const TRect& Frame, Integer BW, Integer BH) {
  const long double cx = Frame.Left + (Frame.Right - Frame.Left) / 2.0L;
  const long double cy = Frame.Top + (Frame.Bottom - Frame.Top) / 2.0L;
  return TPoint(Integer(Round(BW / 2.0L - cx)), Integer(Round(BH / 2.0L - cy)));
}

void FadeReflection(TCustomBitmap32* Bitmap, Integer HeightPercent) {
  const Integer h = Integer(Trunc((long double)Bitmap->Height() * HeightPercent / 100));
  if (h <= 0) return;
  for (Integer i = 0; i < Bitmap->Height(); ++i) {
    const Integer loss = i > h ? 256 : Integer(Round((long double)i * 255 / h));
    for (Integer x = 0; x < Bitmap->Width(); ++x) {
      TColor32& p = *Bitmap->PixelPtr(x, i);
      const Integer a = Integer(p >> 24);
      if (a == 0) continue;
      p = (TColor32(std::max(0, a - loss)) << 24) | (p & 0x00FFFFFFu);
    }
  }
}
