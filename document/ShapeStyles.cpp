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

// The lower envelope of the parabolas (x - p)^2 + F[p] over the columns:
// Out[x] = min over p of that, exactly (F values of Far mean no pixel).
class TParabolaEnvelope {
 public:
  static constexpr Int64 Far = Int64(1) << 40;
  void Run(const std::vector<Int64>& F, std::vector<Int64>& Out) {
    const Integer n = Integer(F.size());
    V.resize(size_t(n));
    Z.resize(size_t(n) + 1);
    Integer k = 0;
    V[0] = 0;
    Z[0] = -std::numeric_limits<double>::infinity();
    Z[1] = std::numeric_limits<double>::infinity();
    auto meet = [&](Integer Q, Integer P) {
      return (double(F[size_t(Q)] + Int64(Q) * Q) - double(F[size_t(P)] + Int64(P) * P)) / (2.0 * (Q - P));
    };
    for (Integer q = 1; q < n; ++q) {
      double s = meet(q, V[size_t(k)]);
      while (s <= Z[size_t(k)]) {
        --k;
        s = meet(q, V[size_t(k)]);
      }
      ++k;
      V[size_t(k)] = q;
      Z[size_t(k)] = s;
      Z[size_t(k) + 1] = std::numeric_limits<double>::infinity();
    }
    Out.resize(size_t(n));
    k = 0;
    for (Integer q = 0; q < n; ++q) {
      while (Z[size_t(k) + 1] < q) ++k;
      const Integer p = V[size_t(k)];
      const Int64 fp = F[size_t(p)];
      Out[size_t(q)] = fp >= Far ? Far : (Int64(q) - p) * (Int64(q) - p) + fp;
    }
  }

 private:
  std::vector<Integer> V;
  std::vector<double> Z;
};

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
  // Only distances up to W count, and a pixel nearer than W to an outline
  // pixel has it within W rows: the outline pixels of each column, listed
  // by row (they are few), give every pixel's vertical distance as the rows
  // go down.
  std::vector<Integer> start(size_t(bw) + 1, 0);
  for (Integer y = 0; y < bh; ++y)
    for (Integer x = 0; x < bw; ++x) start[size_t(x) + 1] += Covers(Outline, x, y);
  for (Integer x = 0; x < bw; ++x) start[size_t(x) + 1] += start[size_t(x)];
  std::vector<Integer> rows(static_cast<size_t>(start.back())), fill(start.begin(), start.end() - 1);
  for (Integer y = 0; y < bh; ++y)
    for (Integer x = 0; x < bw; ++x)
      if (Covers(Outline, x, y)) rows[size_t(fill[size_t(x)]++)] = y;
  // Alpha by squared distance.
  std::vector<Byte> alpha(size_t(W) * size_t(W) + 1);
  for (size_t s = 0; s < alpha.size(); ++s) alpha[s] = BandAlpha(Single(std::sqrt((long double)s)), W);
  std::vector<Integer> cursor(start.begin(), start.end() - 1);
  std::vector<Int64> f(static_cast<size_t>(bw)), d2;
  TParabolaEnvelope envelope;
  for (Integer y = 0; y < bh; ++y) {
    TColor32* line = Band->ScanLine(y);
    bool any = false;
    for (Integer x = 0; x < bw && !any; ++x) any = (line[x] >> 24) != 0 && Covers(Wide, x, y);
    if (any) {
      for (Integer x = 0; x < bw; ++x) {
        Integer& c = cursor[size_t(x)];
        const Integer end = start[size_t(x) + 1];
        while (c + 1 < end && rows[size_t(c) + 1] <= y) ++c;  // the last outline row at or above y, else the first
        Int64 g = TParabolaEnvelope::Far;
        for (Integer i = std::max(c - 1, start[size_t(x)]); i <= std::min(c + 1, end - 1); ++i)
          g = std::min<Int64>(g, std::abs(Int64(rows[size_t(i)]) - y));
        f[size_t(x)] = g <= W ? g * g : TParabolaEnvelope::Far;
      }
      envelope.Run(f, d2);
    }
    for (Integer x = 0; x < bw; ++x) {
      const bool inBand = any && (line[x] >> 24) != 0 && Covers(Wide, x, y);
      const Int64 s = inBand ? d2[size_t(x)] : TParabolaEnvelope::Far;
      const Byte a = s <= Int64(W) * W ? alpha[size_t(s)] : 0;
      line[x] = (TColor32(a) << 24) | (line[x] & 0x00FFFFFFu);
    }
  }
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
