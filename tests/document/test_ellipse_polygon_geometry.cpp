// The ellipse's arc ends and the polygon's vertices: placement, drags,
// generation of regular polygons and stars, texts (damaged ones too) and
// the polygon's hit bands.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/EllipseGeometry.h"
#include "document/PolygonGeometry.h"
#include "document/ShapeRows.h"

namespace {

const TRect kBox(0, 0, 100, 100);
const TFloatPoint kCentre{50, 50};

TPoint Pt(const TGPPoint& G) { return TPoint(G.X, G.Y); }

}  // namespace

TEST(EllipseGeometry, ArcEnds) {
  // A new pie: end 1 lower right at 85 %, end 2 upper left at 35 %, both on
  // the outline; the slice runs clockwise from one to the other.
  TArcEnds e;
  EllipseInitEnds(3, e);
  EllipseCalcEnds(kBox, e);
  ASSERT_EQ(e.Points.size(), 2u);
  EXPECT_EQ(Pt(e.Points[0]), TPoint(85, 85));  // 50 + 35.707
  EXPECT_EQ(Pt(e.Points[1]), TPoint(35, 2));   // 50 - 47.697
  Single a1, a2;
  EllipseEndAngles(e, kCentre, a1, a2);
  EXPECT_NEAR(a1, 45, 0.5);
  EXPECT_NEAR(a2, 252.65, 0.01);
  EXPECT_NEAR(EllipseSweep(a1, a2), a2 - a1, 1e-4);

  struct {
    Single A1, A2, Sweep;
  } sweeps[] = {{30, 120, 90}, {120, 30, 270}, {45, 45, 0}, {0, 359, 359}, {359, 0, 1}};
  for (const auto& c : sweeps) EXPECT_FLOAT_EQ(EllipseSweep(c.A1, c.A2), c.Sweep) << c.A1 << " " << c.A2;

  // Dragging an end above or below the ellipse keeps it on the outline;
  // crossing the middle line moves it to the other half.
  struct {
    TPoint To;
    TPoint On;
  } drags[] = {{{50, -20}, {50, 0}}, {{50, 130}, {50, 100}}, {{85, 49}, {85, 14}}, {{85, 51}, {85, 85}},
               {{-30, 50}, {0, 50}}};
  for (const auto& c : drags) {
    TArcEnds d;
    EllipseInitEnds(1, d);
    EllipseDragEnd(0, c.To, kBox, kCentre, 0, d);
    EllipseCalcEnds(kBox, d);
    EXPECT_EQ(Pt(d.Points[0]), c.On) << c.To.X << "," << c.To.Y;
  }
  // A turned ellipse takes the dragged point back through its angle first:
  // straight above a box turned by 90 degrees is its right edge.
  TArcEnds r;
  EllipseInitEnds(1, r);
  EllipseDragEnd(0, TPoint(50, 10), kBox, kCentre, 90, r);
  EllipseCalcEnds(kBox, r);
  EXPECT_EQ(Pt(r.Points[0]), TPoint(90, 80));  // on the middle line: lower half
}

TEST(EllipseGeometry, EndTexts) {
  TArcEnds e;
  EXPECT_TRUE(EllipseSetEndsText(u"170.70.85.3", 1, TRect(0, 0, 200, 100), e));
  EXPECT_EQ(Pt(e.Points[0]), TPoint(170, 85));
  EXPECT_EQ(Pt(e.Points[1]), TPoint(70, 3));
  EXPECT_FLOAT_EQ(e.RX[0], 0.85f);
  EXPECT_FLOAT_EQ(e.RY[1], 0.03f);
  EXPECT_EQ(EllipseEndsText(e), u"170.70.85.3");
  TArcEnds plain;
  EXPECT_TRUE(EllipseSetEndsText(u"", 0, kBox, plain));
  EXPECT_EQ(EllipseEndsText(plain), u"");

  // Texts that do not fit the style give its default ends on the outline,
  // and a box of no width gives fractions of 0, never NaN.
  struct {
    const char16_t* Text;
    Integer Style;
    TRect Box;
  } bad[] = {
      {u"", 1, kBox},           {u"1.2.3", 2, kBox},     {u"1.2.3.4.5.6", 3, kBox},
      {u"a.b.c.d", 1, kBox},    {u"1..3.4", 1, kBox},    {u"170.70.85.3", 1, TRect(10, 10, 10, 60)},
      {u"", 3, TRect(0, 0, 0, 0)},
  };
  for (const auto& c : bad) {
    SCOPED_TRACE(testing::Message() << "text " << (&c - bad));
    TArcEnds b;
    const bool used = EllipseSetEndsText(c.Text, c.Style, c.Box, b);
    ASSERT_EQ(b.Points.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_FALSE(std::isnan(b.RX[i]) || std::isnan(b.RY[i]));
      if (used) continue;  // stored ends stay where they were stored
      EXPECT_GE(b.Points[i].X, c.Box.Left);
      EXPECT_LE(b.Points[i].X, c.Box.Right);
    }
    EllipseDragEnd(0, TPoint(5, 5), c.Box, kCentre, 0, b);
    EXPECT_FALSE(std::isnan(b.RX[0]) || std::isnan(b.RY[0]));
  }
}

TEST(PolygonGeometry, GeneratedShapes) {
  TPolygonGen g;
  g.Box = kBox;
  g.Centre = kCentre;
  // The pentagon: radius 50, one vertex straight above the centre.
  const TArrayOfGPPoint pentagon = PolygonGenerate(2, g);
  ASSERT_EQ(pentagon.size(), 5u);
  bool up = false;
  for (const TGPPoint& p : pentagon) {
    EXPECT_NEAR(CalcDistanceFromFloatPoint(kCentre, p), 50, 0.75);
    up |= p.X == 50 && p.Y == 0;
  }
  EXPECT_TRUE(up);
  // The five-pointed star: outer 50, inner 20, one vertex straight below.
  const TArrayOfGPPoint star = PolygonGenerate(4, g);
  ASSERT_EQ(star.size(), 10u);
  for (size_t i = 0; i < star.size(); ++i)
    EXPECT_NEAR(CalcDistanceFromFloatPoint(kCentre, star[i]), i % 2 ? 20 : 50, 0.75) << i;
  EXPECT_EQ(Pt(star[2]), TPoint(50, 100));

  // Every style's vertex count; unknown styles generate nothing.
  const Integer counts[15] = {0, 4, 5, 6, 10, 0, 8, 12, 3, 4, 7, 8, 6, 14, 16};
  for (Integer s = 0; s < 15; ++s) EXPECT_EQ(PolygonGenerate(s, g).size(), size_t(counts[s])) << s;
  EXPECT_TRUE(PolygonGenerate(15, g).empty());
  EXPECT_TRUE(PolygonGenerate(-1, g).empty());

  // Inner vertex 1 dragged to twice its distance: the inner ring doubles,
  // the outer stays, vertex 1 lies under the mouse.
  TPolygonGen d = g;
  d.Fresh = false;
  d.Current = star;
  d.Dragged = 1;
  d.Adjusted = TPoint(Integer(std::lround(50 + 2 * (star[1].X - 50.0))), Integer(std::lround(50 + 2 * (star[1].Y - 50.0))));
  const TArrayOfGPPoint turned = PolygonGenerate(4, d);
  EXPECT_NEAR(turned[1].X, d.Adjusted.X, 1);
  EXPECT_NEAR(turned[1].Y, d.Adjusted.Y, 1);
  EXPECT_NEAR(CalcDistanceFromFloatPoint(kCentre, turned[3]), 40, 1.5);
  EXPECT_NEAR(CalcDistanceFromFloatPoint(kCentre, turned[0]), 50, 1);

  // The diamond: the middles of the box's edges; it keeps its box.
  const TArrayOfGPPoint diamond = PolygonGenerate(1, g);
  EXPECT_EQ(Pt(diamond[0]), TPoint(0, 50));
  EXPECT_EQ(Pt(diamond[3]), TPoint(50, 100));
  EXPECT_EQ(PolygonRect(1, diamond, TRect(0, 0, 100, 100)), TRect(0, 0, 100, 100));
  EXPECT_EQ(PolygonRect(2, pentagon, kBox).Top, 0);
}

TEST(PolygonGeometry, TextsAndDrawnVertices) {
  TArrayOfGPPoint drawn;
  PolygonAddPoint(drawn, TPoint(10, 20));
  PolygonAddPoint(drawn, TPoint(10, 20));  // a second click at the same place
  PolygonAddPoint(drawn, TPoint(30, 40));
  PolygonAddPoint(drawn, TPoint(50, 60));
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(PointsToText(drawn), u"10.30.50.20.40.60");

  struct {
    const char16_t* Text;
    Integer Style;
    bool Used;
    size_t Count;
  } table[] = {
      {u"10.30.50.20.40.60", 0, true, 3}, {u"10.30.50.20.40.60", 5, true, 3}, {u"1.2.3", 0, false, 0},
      {u"x.1", 5, false, 0},             {u"10.30.50.20.40.60", 2, false, 5}, {u"0.0", 4, false, 10},
      {u"1.2.3.4.5.6.7.8", 1, true, 4},  {u"1.2", 1, false, 4},                {u"1.2.3.4", 99, true, 2},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(testing::Message() << "text " << (&c - table));
    TArrayOfGPPoint pts;
    EXPECT_EQ(PolygonSetPointsText(c.Text, c.Style, kBox, kCentre, pts), c.Used);
    EXPECT_EQ(pts.size(), c.Count);
  }
}

TEST(PolygonGeometry, HitBands) {
  const TArrayOfGPPoint square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  const TArrayOfGPPoint flat{{0, 50}, {100, 50}};
  const TArrayOfGPPoint vee{{0, 0}, {50, 100}, {100, 0}};
  const TRect sq = PolygonRect(0, square, kBox), fl = PolygonRect(5, flat, kBox), vb = PolygonRect(5, vee, kBox);
  struct {
    const char* Name;
    Integer Style;
    const TArrayOfGPPoint* Points;
    TRect Box;
    bool Filled;
    Integer Width;
    TPoint P;
    bool Hit;
  } table[] = {
      {"9-px outline, 5 px inside an edge", 0, &square, sq, false, 9, {50, 5}, true},
      {"9-px outline, 6 px inside an edge", 0, &square, sq, false, 9, {50, 6}, false},
      {"9-px outline, 5 px outside an edge", 0, &square, sq, false, 9, {50, -5}, true},
      {"9-px outline, closing edge", 0, &square, sq, false, 9, {2, 50}, true},
      {"open polyline: no closing edge", 5, &square, sq, false, 9, {2, 50}, false},
      {"open V: not on the gap", 5, &vee, vb, false, 1, {50, 0}, false},
      {"horizontal open polyline, on it", 5, &flat, fl, false, 1, {50, 50}, true},
      {"horizontal open polyline, 2 px above", 5, &flat, fl, false, 3, {50, 48}, true},
      {"horizontal open polyline, 3 px above", 5, &flat, fl, false, 3, {50, 47}, false},
      {"filled, inside", 0, &square, sq, true, 1, {50, 50}, true},
      {"filled, last column", 0, &square, sq, true, 1, {99, 50}, true},
      {"filled, outside", 0, &square, sq, true, 1, {101, 50}, false},
      {"two vertices of a closed polygon draw nothing", 0, &flat, fl, false, 5, {50, 50}, false},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PolygonHitTest(c.Style, *c.Points, c.Box, c.Filled, c.Width, c.P), c.Hit);
  }
}
