// Rectangle outlines: handles and their clamps per outline, the square made
// with Shift, the outline polygons and corner diameters, hit tests, the
// handle text and what a damaged text gives.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include "document/RectGeometry.h"

namespace {

TRectHandles Handles(Integer Style, const TRect& Box) {
  TRectHandles h;
  RectInitPoints(Style, false, h);
  RectCalcPoints(Box, h);
  return h;
}

bool Hit(Integer Style, const TRect& Box, bool Filled, Integer OutWidth, const TPoint& P, Single Angle = 0) {
  const TRectHandles h = Handles(Style, Box);
  const TRectOutline o = RectBuildOutline(Style, Box, h, true);
  TRectHitInput in;
  in.StyleId = Style;
  in.Box = Box;
  in.Centre = TFloatPoint{Single(Box.Left + Box.Width() / 2.0), Single(Box.Top + Box.Height() / 2.0)};
  in.Angle = Angle;
  in.Filled = Filled;
  in.OutWidth = OutWidth;
  in.FR = o.FR;
  in.FR2 = o.FR2;
  in.Check = &o.Polygon;
  return RectHitTest(in, P);
}

}  // namespace

TEST(RectGeometry, InitialHandles) {
  const TRect box(0, 0, 200, 100);
  struct {
    Integer Style, Count, Check;
    TGPPoint H0, H1;
  } table[] = {{0, 0, 0, {}, {}},           {1, 1, 0, {20, 0}, {}},      {2, 0, 0, {}, {}},
               {3, 2, 8, {0, 12}, {24, 0}}, {4, 2, 8, {24, 0}, {0, 100}}, {5, 2, 8, {24, 0}, {200, 0}},
               {6, 2, 0, {36, 0}, {0, 100}}, {7, 2, 0, {36, 0}, {200, 0}}, {8, 1, 4, {30, 0}, {}},
               {9, 1, 4, {30, 100}, {}},    {10, 1, 4, {30, 0}, {}},      {11, 1, 4, {30, 100}, {}}};
  for (const auto& c : table) {
    const TRectHandles h = Handles(c.Style, box);
    EXPECT_EQ(h.Count, c.Count) << c.Style;
    EXPECT_EQ(h.CheckCount, c.Check) << c.Style;
    if (c.Count >= 1) EXPECT_EQ(h.Points[0].X * 1000 + h.Points[0].Y, c.H0.X * 1000 + c.H0.Y) << c.Style;
    if (c.Count >= 2) EXPECT_EQ(h.Points[1].X * 1000 + h.Points[1].Y, c.H1.X * 1000 + c.H1.Y) << c.Style;
  }
  TRectHandles preview;
  RectInitPoints(1, true, preview);
  EXPECT_FLOAT_EQ(preview.RX[0], 0.16f);
}

TEST(RectGeometry, HandleClampsPerOutline) {
  const TRect box(0, 0, 200, 100);
  struct {
    Integer Style, Handle;
    TPoint To;
    Single RX, RY;  // the dragged handle's ratios afterwards
  } table[] = {
      {3, 0, TPoint(0, 90), 0, 0.5f},     // the vertical cut stops at half the height
      {3, 1, TPoint(180, 0), 0.5f, 0},    // the horizontal cut at half the width
      {3, 1, TPoint(-20, 0), 0, 0},
      {8, 0, TPoint(260, 0), 1, 0},       // parallelograms and trapezoids stay on their edge
      {11, 0, TPoint(-5, 100), 0, 1},
      {1, 0, TPoint(150, 0), 0.25f, 0},   // b = (min(w, h) div 2) / w = 50 / 200
      {4, 1, TPoint(190, 100), 0.25f, 1},
      {5, 1, TPoint(10, 0), 0.75f, 0},    // from the right: [1 - b, 1]
      {6, 0, TPoint(30, 0), 0.15f, 0},    // inside the range: unchanged
      {7, 1, TPoint(199, 0), 0.995f, 0},
  };
  for (const auto& c : table) {
    TRectHandles h = Handles(c.Style, box);
    RectAdjustHandle(c.Style, c.Handle, box, c.To, h);
    RectClampHandles(c.Style, box, h);
    EXPECT_FLOAT_EQ(h.RX[size_t(c.Handle)], c.RX) << c.Style << "/" << c.Handle;
    EXPECT_FLOAT_EQ(h.RY[size_t(c.Handle)], c.RY) << c.Style << "/" << c.Handle;
  }
  // An empty box gives ratios of 0, never NaN.
  const TRect flat(10, 40, 110, 40);
  TRectHandles h = Handles(3, flat);
  RectAdjustHandle(3, 0, flat, TPoint(10, 60), h);
  EXPECT_FLOAT_EQ(h.RY[0], 0);
  const TRect thin(10, 40, 10, 90);
  h = Handles(1, thin);
  RectAdjustHandle(1, 0, thin, TPoint(30, 40), h);
  RectClampHandles(1, thin, h);
  EXPECT_FLOAT_EQ(h.RX[0], 0);
  EXPECT_FLOAT_EQ(RectRatio(5, 0, 0), 0);
}

TEST(RectGeometry, ShiftMakesASquare) {
  struct {
    Integer Handle;
    TRect In, Out;
  } table[] = {{3, TRect(0, 0, 100, 40), TRect(0, 0, 100, 100)}, {1, TRect(0, 0, 100, 40), TRect(0, -60, 100, 40)},
               {2, TRect(0, 0, 40, 100), TRect(0, 0, 100, 100)}, {4, TRect(0, 0, 40, 100), TRect(-60, 0, 40, 100)},
               {5, TRect(0, 0, 40, 100), TRect(0, 0, 40, 100)}};
  for (const auto& c : table) {
    TRect r = c.In;
    RectMakeSquare(c.Handle, r);
    EXPECT_EQ(r, c.Out) << c.Handle;
  }
}

TEST(RectGeometry, OutlinesAndCornerDiameters) {
  const TRect box(10, 20, 110, 60);  // 100 x 40
  // Outline 1 with its handle on the left edge is a plain rectangle; at its
  // largest (half the height) the short sides are half circles.
  TRectHandles h = Handles(1, box);
  h.RX[0] = 0;
  RectCalcPoints(box, h);
  EXPECT_EQ(RectBuildOutline(1, box, h, true).Kind, TRectPathKind::Rectangle);
  h.RX[0] = 1;
  RectClampHandles(1, box, h);
  RectCalcPoints(box, h);
  const TRectOutline round = RectBuildOutline(1, box, h, true);
  EXPECT_EQ(round.Kind, TRectPathKind::Rounded);
  EXPECT_EQ(round.FR, 39) << "the diameter is the inset box's height";
  EXPECT_EQ(round.Q, TRect(10, 20, 99, 39));
  EXPECT_EQ(RectBuildOutline(0, box, h, false).Q, TRect(10, 20, 100, 40)) << "no outline: no inset";
  EXPECT_EQ(RectBuildOutline(0, TRect(5, 5, 6, 50), h, true).Q, TRect(5, 5, 1, 45)) << "one pixel wide: no inset";

  // Outline 7: diagonal pairs; outline 6: top and bottom pairs.
  TRectHandles seven = Handles(7, box);
  const TRectOutline o7 = RectBuildOutline(7, box, seven, true);
  EXPECT_EQ(o7.FR, 36);
  EXPECT_EQ(o7.FR2, 0);  // the second handle at the right edge
  EXPECT_EQ(o7.Corners, (std::array<Integer, 4>{36, 0, 36, 0}));
  TRectHandles six = Handles(6, box);
  EXPECT_EQ(RectBuildOutline(6, box, six, true).Corners, (std::array<Integer, 4>{36, 36, 0, 0}));

  // Polygons take FRect's right and bottom.
  const TRectOutline o8 = RectBuildOutline(8, box, Handles(8, box), true);
  EXPECT_EQ(o8.Kind, TRectPathKind::Polygon);
  ASSERT_EQ(o8.Polygon.size(), 4u);
  EXPECT_EQ(o8.Polygon[0].X, 10);
  EXPECT_EQ(o8.Polygon[0].Y, 60);
  EXPECT_EQ(o8.Polygon[1].X, 25);
  EXPECT_EQ(o8.Polygon[3].X, 95);
  const TRectOutline o3 = RectBuildOutline(3, box, Handles(3, box), true);
  ASSERT_EQ(o3.Polygon.size(), 8u);
  EXPECT_EQ(o3.Polygon[0].Y, 25);  // Top + 0.12 x 40 = 4.8 -> 5
  EXPECT_EQ(o3.Polygon[1].X, 22);
  EXPECT_EQ(o3.Polygon[2].X, 98);
  EXPECT_EQ(RectBuildOutline(2, box, h, true).Kind, TRectPathKind::Ellipse);
}

TEST(RectGeometry, HitTests) {
  const TRect box(100, 100, 200, 160);
  // Outline only: not at the centre, but one pixel outside an edge.
  EXPECT_FALSE(Hit(0, box, false, 2, TPoint(150, 130)));
  EXPECT_TRUE(Hit(0, box, false, 2, TPoint(99, 130)));
  EXPECT_TRUE(Hit(0, box, false, 2, TPoint(200, 130)));
  EXPECT_FALSE(Hit(0, box, false, 2, TPoint(202, 130)));
  // Filled: anywhere inside the grown box.
  EXPECT_TRUE(Hit(0, box, true, 2, TPoint(150, 130)));
  EXPECT_TRUE(Hit(0, box, true, 6, TPoint(102 - 5, 130)));
  // The ellipse band 0.8 < t < 1.2 without fill; t < 1.2 with.
  EXPECT_FALSE(Hit(2, box, false, 2, TPoint(150, 130)));
  EXPECT_TRUE(Hit(2, box, false, 2, TPoint(200, 130)));
  EXPECT_TRUE(Hit(2, box, true, 2, TPoint(150, 130)));
  EXPECT_FALSE(Hit(2, box, true, 2, TPoint(105, 105)));
  // A rounded corner's cut-off is not hit; the arc is.
  TRectHandles h = Handles(1, box);
  h.RX[0] = 0.3f;
  RectCalcPoints(box, h);
  const TRectOutline o = RectBuildOutline(1, box, h, true);
  TRectHitInput in;
  in.StyleId = 1;
  in.Box = box;
  in.Filled = true;
  in.OutWidth = 2;
  in.FR = o.FR;
  in.FR2 = o.FR2;
  EXPECT_FALSE(RectHitTest(in, TPoint(101, 101)));
  EXPECT_TRUE(RectHitTest(in, TPoint(112, 112)));
  // Polygon outlines: inside the polygon when filled; near an edge without.
  EXPECT_TRUE(Hit(8, box, true, 2, TPoint(150, 130)));
  EXPECT_FALSE(Hit(8, box, true, 2, TPoint(102, 102)));
  EXPECT_FALSE(Hit(8, box, false, 2, TPoint(150, 130)));
  EXPECT_TRUE(Hit(8, box, false, 2, TPoint(150, 101)));
  // Turned objects test the point turned back.
  EXPECT_TRUE(Hit(0, box, true, 2, TPoint(150, 178), 90));
  EXPECT_FALSE(Hit(0, box, true, 2, TPoint(195, 130), 90));
}

TEST(RectGeometry, HandleText) {
  TRectHandles h;
  RectInitPoints(6, false, h);
  h.Points = {{10, 0}, {0, 40}};
  EXPECT_EQ(RectHandlesText(h), u"10.0.0.40");
  const TRect box(0, 0, 100, 80);
  RectSetHandlesText(u"10.0.0.40", 6, box, h);
  EXPECT_EQ(h.Count, 2);
  EXPECT_FLOAT_EQ(h.RX[0], 0.1f);
  EXPECT_FLOAT_EQ(h.RY[1], 0.5f);
  // A short, odd or non-numeric text gives the outline's own handles.
  for (const char16_t* bad : {u"10.0", u"10.0.0", u"10.x.0.40", u"", u"1.2.3.4.5.6"}) {
    RectSetHandlesText(bad, 6, box, h);
    EXPECT_EQ(h.Count, 2);
    EXPECT_EQ(h.Points[0].X, 18) << std::u16string(bad).size();
    EXPECT_EQ(h.Points[1].Y, 80);
  }
  RectSetHandlesText(u"", 0, box, h);
  EXPECT_EQ(h.Count, 0);
}
