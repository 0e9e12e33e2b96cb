// The free-hand stroke's geometry (see LinesGeometry.h).
#include "document/LinesGeometry.h"

#include <cmath>

#include "document/ShapeRows.h"
#include "rtl/Math.h"
#include "rtl/SysUtils.h"

namespace {

TPoint P(const TGPPoint& G) { return TPoint(G.X, G.Y); }

Single Direction(const TGPPoint& From, const TGPPoint& To) {
  return CalcVectorAngle(To.X, To.Y, Single(From.X), Single(From.Y));
}

Single Ratio(Integer V, Integer Origin, Integer Extent) {
  return Extent == 0 ? 0.0f : Single((long double)(V - Origin) / Extent);
}

Integer Scaled(Integer Extent, Single Ratio) {
  const long double v = (long double)Extent * Ratio;
  return std::isfinite((double)v) ? Integer(Round(v)) : 0;
}

bool DotNib(Integer StyleId) { return StyleId == 0 || StyleId == 1; }

}  // namespace

TArrayOfGPPoint StrokeThin(const TArrayOfGPPoint& Points, Integer BoxW, Integer BoxH) {
  const size_t n = Points.size();
  if (n < 3) return Points;
  TArrayOfGPPoint out{Points[0]};
  TGPPoint s = Points[0];
  bool keepNext = false;
  for (size_t i = 1; i + 1 < n; ++i) {
    const TGPPoint& p = Points[i];
    const Single d = CalcDistance(P(s), P(p));
    bool keep;
    if (d < 3)
      keep = false;
    else if (d >= 10 && (BoxW <= 30 || BoxH <= 30 || d >= 20))
      keep = true;
    else if (keepNext) {
      keepNext = false;
      keep = true;
    } else {
      Single a1 = Direction(s, p), a2 = Direction(s, Points[i + 1]);
      if (a1 < 60 && a2 > 300)
        a2 -= 360;
      else if (a1 > 300 && a2 < 60)
        a1 -= 360;
      const Single threshold = d < 10 ? 15 : 6;
      keep = std::fabs(a1 - a2) >= threshold;
      if (!keep && d > 5) keepNext = true;
    }
    if (keep) {
      out.push_back(p);
      s = p;
    }
  }
  out.push_back(Points[n - 1]);
  return out;
}

TRect StrokeRect(const TArrayOfGPPoint& Points, Integer StyleId, Integer OutWidth) {
  if (Points.empty()) return TRect(0, 0, 0, 0);
  if (Points.size() == 1 && DotNib(StyleId)) {
    const Integer l = Points[0].X - OutWidth / 2, t = Points[0].Y - OutWidth / 2;
    return TRect(l, t, l + OutWidth, t + OutWidth);
  }
  TRect r;
  CalcPointsBounds(Points.data(), Integer(Points.size()), r);
  return TRect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
}

void StrokeCalcRatios(const TRect& Box, TStrokePoints& S) {
  const size_t n = S.Points.size();
  S.RX.assign(n, 0);
  S.RY.assign(n, 0);
  if (n == 1) {
    S.RX[0] = S.RY[0] = 0.49f;
    return;
  }
  for (size_t i = 0; i < n; ++i) {
    S.RX[i] = Ratio(S.Points[i].X, Box.Left, Box.Right - Box.Left);
    S.RY[i] = Ratio(S.Points[i].Y, Box.Top, Box.Bottom - Box.Top);
  }
}

void StrokeCalcPoints(const TRect& Box, TStrokePoints& S) {
  if (S.RX.size() != S.Points.size() || S.RY.size() != S.Points.size()) StrokeCalcRatios(Box, S);
  for (size_t i = 0; i < S.Points.size(); ++i)
    S.Points[i] = TGPPoint{Scaled(Box.Right - Box.Left, S.RX[i]) + Box.Left,
                           Scaled(Box.Bottom - Box.Top, S.RY[i]) + Box.Top};
}

String StrokeRatioText(const TStrokePoints& S) {
  String out;
  auto add = [&out](Single v) {
    if (!out.empty()) out += u'/';
    out += FloatToStrF((Extended)v, ffGeneral, 15, 0);
  };
  for (Single v : S.RX) add(v);
  for (Single v : S.RY) add(v);
  return out;
}

bool StrokeSetRatioText(const String& Text, const TRect& Box, TStrokePoints& S) {
  const size_t n = S.Points.size();
  if (!Text.empty()) {
    const std::vector<String> parts = SplitCell(Text, u'/');
    std::vector<Single> values;
    bool ok = parts.size() == 2 * n;
    for (size_t i = 0; ok && i < parts.size(); ++i) {
      Extended v = 0;
      ok = TryStrToFloat(parts[i], v) && std::isfinite((double)v);
      values.push_back(Single(v));
    }
    if (ok) {
      S.RX.assign(values.begin(), values.begin() + n);
      S.RY.assign(values.begin() + n, values.end());
      return true;
    }
  }
  StrokeCalcRatios(Box, S);
  return false;
}

bool StrokeDrawable(const TArrayOfGPPoint& Points, Integer StyleId) {
  return Points.size() >= (DotNib(StyleId) ? 1u : 2u);
}

bool StrokeHitTest(const TArrayOfGPPoint& Points, Integer StyleId, const TRect& Box, Integer OutWidth,
                   const TPoint& Pt) {
  if (!StrokeDrawable(Points, StyleId)) return false;
  const Single t = Single(OutWidth / 2 + 1);
  if (Points.size() == 1) return CalcDistance(P(Points[0]), Pt) <= t;
  if (Box.Right == Box.Left || Box.Bottom == Box.Top)
    return CalcDistanceToSegment(TPoint(Box.Left, Box.Top), TPoint(Box.Right, Box.Bottom), Pt) <= t;
  TRect grown = Box;
  InflateRectXY(grown, Integer(t), Integer(t));
  if (!PointInRect(grown, Pt)) return false;
  for (size_t i = 0; i + 1 < Points.size(); ++i)
    if (CalcDistanceToSegment(P(Points[i]), P(Points[i + 1]), Pt) <= t) return true;
  return false;
}
