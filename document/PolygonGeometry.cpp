// Polygons, diamonds and stars (see PolygonGeometry.h).
#include "document/PolygonGeometry.h"

#include <cmath>

#include "document/ShapeRows.h"
#include "rtl/Math.h"

namespace {

TPoint P(const TGPPoint& G) { return TPoint(G.X, G.Y); }

Single DistanceTo(const TFloatPoint& C, const TGPPoint& G) { return CalcDistanceFromFloatPoint(C, G); }

TGPPoint Polar(const TFloatPoint& C, Single R, Single A) {
  TPoint p;
  CalcPolarPoint(C, R, TDegrees(A), p);
  return TGPPoint{p.X, p.Y};
}

}  // namespace

bool PolygonKindOf(Integer StyleId, TPolygonKind& K) {
  static const TPolygonKind table[15] = {
      {0, 0, 0},    {0, 0, 0},    {5, -18, 0},  {6, 0, 0},     {10, 18, 0.4f}, {0, 0, 0},    {8, 0, 0.4f},
      {12, 0, 0.4f}, {3, 30, 0},  {4, 45, 0},   {7, 36, 0},    {8, 45, 0},     {6, 30, 0.25f}, {14, 0, 0.4f},
      {16, 0, 0.4f}};
  if (StyleId < 0 || StyleId > 14 || table[StyleId].Count == 0) return false;
  K = table[StyleId];
  return true;
}

bool PolygonIsDrawn(Integer StyleId) { return StyleId == 0 || StyleId == 5; }

TArrayOfGPPoint PolygonGenerate(Integer StyleId, const TPolygonGen& G) {
  if (PolygonIsDrawn(StyleId)) return G.Current;
  const TFloatPoint& c = G.Centre;
  if (StyleId == 1) {
    const Integer cx = Integer(Round((long double)c.X)), cy = Integer(Round((long double)c.Y));
    return {TGPPoint{G.Box.Left, cy}, TGPPoint{cx, G.Box.Top}, TGPPoint{G.Box.Right, cy},
            TGPPoint{cx, G.Box.Bottom}};
  }
  TPolygonKind k;
  if (!PolygonKindOf(StyleId, k)) return {};
  const Single step = 360.0f / k.Count;
  Single outer, inner = 0, a;
  const bool fresh = G.Fresh || G.Current.size() != size_t(k.Count);
  if (fresh) {
    outer = Single((G.Box.Right - G.Box.Left + G.Box.Bottom - G.Box.Top) / 4);
    inner = Single(Round((long double)outer * k.Inner));
    a = k.Start;
  } else {
    a = CalcVectorAngle(G.Adjusted.X, G.Adjusted.Y, c.X, c.Y);
    const Single d = CalcDistanceToFloatPoint(G.Adjusted, c);
    if (k.Inner > 0 && G.Dragged % 2 != 0) {
      inner = d;
      outer = DistanceTo(c, G.Current[0]);
      a -= step;
    } else {
      outer = d;
      if (k.Inner > 0) inner = DistanceTo(c, G.Current[1]);
    }
  }
  TArrayOfGPPoint out;
  for (Integer i = 0; i < k.Count; ++i) {
    const Single r = k.Inner > 0 && i % 2 != 0 ? inner : outer;
    PolygonAddPoint(out, P(Polar(c, r, a + i * step)));
  }
  return out;
}

void PolygonAddPoint(TArrayOfGPPoint& Points, const TPoint& Pt) {
  if (!Points.empty() && Points.back().X == Pt.X && Points.back().Y == Pt.Y) return;
  Points.push_back(TGPPoint{Pt.X, Pt.Y});
}

TRect PolygonRect(Integer StyleId, const TArrayOfGPPoint& Points, const TRect& Box) {
  if (StyleId == 1 || Points.empty()) return Box;
  TRect r;
  CalcPointsBounds(Points.data(), Integer(Points.size()), r);
  return r;
}

bool PolygonSetPointsText(const String& Text, Integer StyleId, const TRect& Box, const TFloatPoint& Centre,
                          TArrayOfGPPoint& Points) {
  TArrayOfGPPoint pts;
  const bool parsed = TextToPoints(Text, pts);
  TPolygonKind k;
  const Integer need = StyleId == 1 ? 4 : PolygonKindOf(StyleId, k) ? k.Count : -1;
  if (parsed && (need < 0 || Integer(pts.size()) == need)) {
    Points = pts;
    return true;
  }
  TPolygonGen g;
  g.Box = Box;
  g.Centre = Centre;
  Points = need < 0 ? TArrayOfGPPoint() : PolygonGenerate(StyleId, g);
  return false;
}

bool PolygonDrawable(Integer StyleId, const TArrayOfGPPoint& Points) {
  return Points.size() >= (StyleId == 5 ? 2u : 3u);
}

bool PolygonHitTest(Integer StyleId, const TArrayOfGPPoint& Points, const TRect& Box, bool Filled, Integer OutWidth,
                    const TPoint& Pt) {
  if (!PolygonDrawable(StyleId, Points)) return false;
  if (Filled) {
    const TRect r(Box.Left, Box.Top, Box.Right + 1, Box.Bottom + 1);
    return PointInRect(r, Pt) && PtInPolygon(Pt, Points);
  }
  // Inclusive bounds grown by the tolerance on both sides of every edge.
  const Integer t = OutWidth / 2 + 1;
  const TRect grown(Box.Left - t, Box.Top - t, Box.Right + t + 1, Box.Bottom + t + 1);
  if (!PointInRect(grown, Pt)) return false;
  const size_t n = Points.size();
  const size_t edges = StyleId == 5 ? n - 1 : n;
  for (size_t i = 0; i < edges; ++i)
    if (CalcDistanceToSegment(P(Points[i]), P(Points[(i + 1) % n]), Pt) <= Single(t)) return true;
  return false;
}
