// The ellipse's arc ends (see EllipseGeometry.h).
#include "document/EllipseGeometry.h"

#include <cmath>

#include "document/ShapeRows.h"
#include "rtl/Math.h"

namespace {

Single Fraction(Integer V, Integer Origin, Integer Extent) {
  if (Extent == 0) return 0;
  const Single r = Single((long double)(V - Origin) / Extent);
  return r < 0 ? 0 : r > 1 ? 1 : r;
}

}  // namespace

Integer EllipseEndCount(Integer StyleId) { return StyleId >= 1 && StyleId <= 3 ? 2 : 0; }

void EllipseInitEnds(Integer StyleId, TArcEnds& E) {
  const Integer n = EllipseEndCount(StyleId);
  E.RX.assign(n, 0);
  E.RY.assign(n, 0);
  E.Points.assign(n, TGPPoint{0, 0});
  if (n == 2) {
    E.RX = {0.85f, 0.35f};
    E.RY = {0.85f, 0.03f};
  }
}

void EllipseCalcEnds(const TRect& Box, TArcEnds& E) {
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  E.Points.resize(E.RX.size());
  for (size_t i = 0; i < E.RX.size() && i < E.RY.size(); ++i) {
    const long double xr = (long double)w * E.RX[i];
    const Integer x = std::isfinite((double)xr) ? Integer(Round(xr)) : 0;
    const long double c = CalcEllipseHalfHeight(w, h, Single(x - w / 2.0L));
    const long double y = E.RY[i] >= 0.5f ? h / 2 + c : h / 2 - c;
    E.Points[i] = TGPPoint{x + Box.Left, Integer(std::trunc(y)) + Box.Top};
  }
}

Single EllipseSweep(Single A1, Single A2) { return A1 <= A2 ? A2 - A1 : 360 - (A1 - A2); }

void EllipseEndAngles(const TArcEnds& E, const TFloatPoint& Centre, Single& A1, Single& A2) {
  A1 = A2 = 0;
  if (E.Points.size() < 2) return;
  A1 = CalcVectorAngle(E.Points[0].X, E.Points[0].Y, Centre.X, Centre.Y);
  A2 = CalcVectorAngle(E.Points[1].X, E.Points[1].Y, Centre.X, Centre.Y);
}

void EllipseDragEnd(Integer J, const TPoint& P, const TRect& Box, const TFloatPoint& Centre, Single Angle,
                    TArcEnds& E) {
  if (J < 0 || size_t(J) >= E.RX.size() || size_t(J) >= E.RY.size()) return;
  const TPoint q = RotatePoint(Centre, P, -Angle);
  E.RX[J] = Fraction(q.X, Box.Left, Box.Right - Box.Left);
  E.RY[J] = Fraction(q.Y, Box.Top, Box.Bottom - Box.Top);
}

String EllipseEndsText(const TArcEnds& E) { return PointsToText(E.Points); }

bool EllipseSetEndsText(const String& Text, Integer StyleId, const TRect& Box, TArcEnds& E) {
  TArrayOfGPPoint pts;
  if (!TextToPoints(Text, pts) || Integer(pts.size()) != EllipseEndCount(StyleId)) {
    EllipseInitEnds(StyleId, E);
    EllipseCalcEnds(Box, E);
    return false;
  }
  E.Points = pts;
  E.RX.resize(pts.size());
  E.RY.resize(pts.size());
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  for (size_t i = 0; i < pts.size(); ++i) {
    E.RX[i] = w == 0 ? 0.0f : Single((long double)(pts[i].X - Box.Left) / w);
    E.RY[i] = h == 0 ? 0.0f : Single((long double)(pts[i].Y - Box.Top) / h);
  }
  return true;
}

bool EllipseHitTest(const TEllipseHitInput& In, const TPoint& Point) {
  const TPoint p = In.Angle != 0 ? RotatePoint(In.Centre, Point, -In.Angle) : Point;
  TRect e = In.Box;
  InflateRectXY(e, In.OutWidth / 2, In.OutWidth / 2);
  if (!PointInRect(e, p)) return false;
  const TArrayOfGPPoint* poly = In.FilledTest ? In.Area : In.Band;
  return poly != nullptr && PtInPolygon(p, *poly);
}
