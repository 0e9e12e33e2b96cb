// Callout frames: initial points and their text, the pointer zones, the
// burst, point drags within their limits, frame paths, the reach of the
// pointer, and damaged point texts.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/CalloutGeometry.h"

namespace {

TCalloutPoints Made(Integer Style, const TRect& Box) {
  TCalloutPoints c;
  CalloutInitPoints(Style, false, c);
  CalloutCalcPoints(Style, Box, false, true, false, c);
  return c;
}

TPoint Pt(const TGPPoint& G) { return TPoint(G.X, G.Y); }

}  // namespace

TEST(CalloutGeometry, ExactDecimalProducts) {
  struct {
    Int64 V, Num, Den;
    Integer Result;
  } table[] = {
      {190, 15, 100, 28},  // 28.5: half to even, where 190 * 0.15 in binary gives 28.499...
      {210, 15, 100, 32},  // 31.5 -> 32
      {140, 15, 100, 21}, {110, 15, 100, 16}, {-190, 15, 100, -28}, {7, 1, 2, 4}, {5, 1, 2, 2}, {3, 1, 0, 0},
  };
  for (const auto& c : table) EXPECT_EQ(RoundRatio(c.V, c.Num, c.Den), c.Result) << c.V << "*" << c.Num << "/" << c.Den;
  EXPECT_EQ(CalloutCornerDiameter(100, 40), 14);
  EXPECT_EQ(CalloutCornerDiameter(100, 10), 10);
  EXPECT_EQ(CalloutCornerDiameter(0, 40), 0);
}

TEST(CalloutGeometry, InitialPointsAndText) {
  // Style 5 at (10, 20, 110, 120): X 10 + 75, 10 + 0, 10 + 10; Y 20 + 25,
  // 20 + 13, 20 + 50.
  const TCalloutPoints five = Made(5, TRect(10, 20, 110, 120));
  EXPECT_EQ(CalloutPointsText(5, five), u"85.10.20.45.33.70");
  const Integer counts[12] = {1, 3, 11, 24, 12, 3, 2, 2, 1, 3, 1, 80};
  for (Integer s = 0; s < 12; ++s) {
    TCalloutPoints c;
    CalloutInitPoints(s, false, c);
    EXPECT_EQ(Integer(c.RX.size()), counts[s]) << s;
  }
  EXPECT_EQ(CalloutPointCount(11, true), 40);
  EXPECT_EQ(CalloutPointCount(12, false), 0);
  TCalloutPoints cloud = Made(2, TRect(0, 0, 100, 100));
  EXPECT_EQ(CalloutPointsText(2, cloud), u"") << "clouds never store points";
  EXPECT_EQ(CalloutPointsText(4, Made(4, TRect(0, 0, 100, 100))), u"");

  // Points stored by old files relative to the corner move into place.
  TCalloutPoints old;
  ASSERT_TRUE(CalloutSetPointsText(u"75.0.10.25.13.50", 5, TRect(10, 20, 110, 120), old));
  CalloutUpgradePoints(5, TRect(10, 20, 110, 120), old);
  EXPECT_EQ(CalloutPointsText(5, old), u"85.10.20.45.33.70");
}

TEST(CalloutGeometry, PointerZones) {
  // The tip walked round a 200 x 100 frame centred at (100, 50).
  const TRect box(0, 0, 200, 100);
  struct {
    TPoint Tip;
    Integer Zone;
  } table[] = {
      {{250, 60}, 4}, {{150, 150}, 5}, {{50, 150}, 6}, {{-50, 60}, 7},
      {{-50, 40}, 8}, {{50, -50}, 1},  {{150, -50}, 2}, {{250, 40}, 3},
      {{100, -50}, 2},  // straight above: 270 degrees
  };
  for (const auto& c : table) EXPECT_EQ(CalloutZone(c.Tip, box), c.Zone) << c.Tip.X << "," << c.Tip.Y;

  // Style 9 with the tip straight above: zone 2, base X 0.67 and 0.77, their
  // Y just inside the upper half of the ellipse.
  TCalloutPoints nine = Made(9, box);
  EXPECT_EQ(nine.Zone, 6);
  nine.RX[1] = 0.5f;
  nine.RY[1] = -0.5f;
  CalloutCalcPoints(9, box, false, false, false, nine);
  EXPECT_EQ(nine.Zone, 2);
  EXPECT_FLOAT_EQ(nine.RX[0], 0.67f);
  EXPECT_FLOAT_EQ(nine.RX[2], 0.77f);
  EXPECT_EQ(nine.RY[0], 0.0f) << "the base Y fractions of style 9 stay 0";
  EXPECT_EQ(Pt(nine.Points[0]).X, 134);
  EXPECT_LT(nine.Points[0].Y, 50);
  EXPECT_GT(nine.Points[0].Y, 2);

  // Style 1: the tip to the right of the frame's lower half: zone 4, the
  // base jumps to (1, 0.65) and (1, 0.85), its Y kept off the rounded
  // corner (b = 16: 85 becomes 84); inside the frame: zone 0, the
  // base keeps its fractions with Y off the rounded corners.
  TCalloutPoints one = Made(1, box);
  one.RX[1] = 1.3f;
  one.RY[1] = 0.6f;
  CalloutCalcPoints(1, box, false, false, false, one);
  EXPECT_EQ(one.Zone, 4);
  EXPECT_EQ(Pt(one.Points[0]), TPoint(200, 65));
  EXPECT_EQ(Pt(one.Points[2]), TPoint(200, 84));
  one.RX[1] = 0.5f;
  one.RY[1] = 0.5f;
  one.RY[2] = 0.99f;
  CalloutCalcPoints(1, box, false, false, false, one);
  EXPECT_EQ(one.Zone, 0);
  EXPECT_FLOAT_EQ(one.RX[0], 1);
  const Integer b = CalloutCornerDiameter(200, 100) / 2 + 1;  // 16
  EXPECT_EQ(one.Points[2].Y, 100 - b);
  // Zone 1 limits X instead.
  one.RX[1] = 0.2f;
  one.RY[1] = -0.5f;
  CalloutCalcPoints(1, box, false, false, false, one);
  EXPECT_EQ(one.Zone, 1);
  one.RX[0] = 0.01f;
  CalloutCalcPoints(1, box, false, false, false, one);
  EXPECT_EQ(one.Points[0].X, b);
  // Zones 7 and 8 draw the pointer on the left edge inside one closed figure.
  one.RX[1] = -0.4f;
  one.RY[1] = 0.3f;
  CalloutCalcPoints(1, box, false, false, false, one);
  EXPECT_EQ(one.Zone, 8);
  const TPathOps path = CalloutFramePath(1, box, one);
  ASSERT_EQ(path.size(), 1u + 4u + 2u + 1u);
  EXPECT_EQ(path[4].Kind, TPathOpKind::Arc);
  EXPECT_EQ(path[4].Box, TRect(0, 70, 30, 100));  // a = min(Round(300 x 0.1), 200, 100)
  EXPECT_EQ(path[5].Kind, TPathOpKind::Line);
  EXPECT_EQ(path[5].Points[1], Pt(one.Points[1]));
  EXPECT_EQ(path.back().Kind, TPathOpKind::CloseFigure);
}

TEST(CalloutGeometry, Burst) {
  const TRect box(0, 0, 200, 100);
  TCalloutPoints c = Made(11, box);
  ASSERT_EQ(c.Points.size(), 80u);
  const TFloatPoint centre{100, 50};
  EXPECT_NEAR(CalcDistanceFromFloatPoint(centre, c.Points[0]), 50, 0.75);
  EXPECT_NEAR(CalcDistanceFromFloatPoint(centre, c.Points[1]), 41, 0.75);
  EXPECT_NEAR(CalcVectorAngle(c.Points[0].X, c.Points[0].Y, centre.X, centre.Y), 330, 1);
  // A drag of point 1 sets phase and inner radius; a resize resets them; a
  // style change (forced) gives 0.72 R.
  CalloutAdjustPoint(11, 1, TPoint(100, 20), box, c);
  CalloutCalcPoints(11, box, false, false, true, c);
  EXPECT_EQ(Pt(c.Points[1]), TPoint(100, 20));
  EXPECT_NEAR(CalcDistanceFromFloatPoint(centre, c.Points[3]), 30, 0.75);
  CalloutAdjustPoint(11, 1, TPoint(100, -20), box, c);  // beyond R: ignored
  EXPECT_EQ(Pt(c.Points[1]), TPoint(100, 20));
  CalloutCalcPoints(11, box, false, false, false, c);
  EXPECT_NEAR(CalcDistanceFromFloatPoint(centre, c.Points[1]), 41, 0.75);
  CalloutCalcPoints(11, box, true, false, false, c);
  EXPECT_NEAR(CalcDistanceFromFloatPoint(centre, c.Points[1]), 36, 0.75);
}

TEST(CalloutGeometry, PointLimits) {
  EXPECT_FLOAT_EQ(CalloutClamp(0.5f, 0.96f, 0.95f), 0.95f) << "hi wins when lo > hi";
  const TRect box(0, 0, 100, 100);
  // Style 1's base point 0 dragged past point 2 along the bottom edge stops
  // 0.05 before it.
  TCalloutPoints one = Made(1, box);  // zone 5: X 0.85 and 0.65
  CalloutAdjustPoint(1, 0, TPoint(10, 100), box, one);
  EXPECT_FLOAT_EQ(one.RX[0], 0.7f);
  CalloutAdjustPoint(1, 2, TPoint(99, 100), box, one);
  EXPECT_FLOAT_EQ(one.RX[2], 0.65f);
  // Style 9's base likewise, between 0.05 and 0.95.
  TCalloutPoints nine = Made(9, box);
  CalloutAdjustPoint(9, 0, TPoint(100, 0), box, nine);
  EXPECT_FLOAT_EQ(nine.RX[0], 0.95f);
  CalloutAdjustPoint(9, 2, TPoint(200, 0), box, nine);
  EXPECT_FLOAT_EQ(nine.RX[2], 0.9f);
  // Style 5: point 0 kept between point 2's X and 0.95; with point 2's X
  // above 0.95 the upper limit wins.
  TCalloutPoints five = Made(5, box);
  five.RX[2] = 0.97f;
  CalloutAdjustPoint(5, 0, TPoint(50, 40), box, five);
  EXPECT_FLOAT_EQ(five.RX[0], 0.95f);
  EXPECT_FLOAT_EQ(five.RY[0], 0.4f);
  CalloutAdjustPoint(5, 1, TPoint(30, 80), box, five);
  EXPECT_EQ(five.RX[1], 0.0f);
  EXPECT_FLOAT_EQ(five.RY[1], 0.5f);
  struct {
    Integer Style, K;
    TPoint U;
    Single RX, RY;
  } table[] = {
      {0, 0, {-10, 150}, 0, 1},      {6, 0, {10, 40}, 0.5f, 0},    {6, 1, {99, 10}, 0.85f, 0.5f},
      {7, 0, {90, 40}, 0.5f, 0},     {7, 1, {0, 99}, 0.15f, 0.7f}, {10, 0, {20, 80}, 0.5f, 0.5f},
      {8, 0, {-50, 300}, -0.5f, 3},
  };
  for (const auto& c : table) {
    TCalloutPoints p = Made(c.Style, box);
    CalloutAdjustPoint(c.Style, c.K, c.U, box, p);
    EXPECT_FLOAT_EQ(p.RX[c.K], c.RX) << c.Style << "/" << c.K;
    EXPECT_FLOAT_EQ(p.RY[c.K], c.RY) << c.Style << "/" << c.K;
  }
}

TEST(CalloutGeometry, PointerReach) {
  const TRect box(0, 0, 100, 100);
  const TCalloutPoints one = Made(1, box);  // tip (55, 130), base (85, 100) and (65, 100)
  EXPECT_EQ(CalloutMaxOutLength(1, box, one), 42);
  const TCalloutPoints nine = Made(9, box);
  const Integer d0 = Integer(std::lround(CalcDistance(Pt(nine.Points[1]), Pt(nine.Points[0]))));
  const Integer d2 = Integer(std::lround(CalcDistance(Pt(nine.Points[1]), Pt(nine.Points[2]))));
  EXPECT_EQ(CalloutMaxOutLength(9, box, nine), std::max(d0, d2));
  const TCalloutPoints eight = Made(8, box);  // P0 (20, 160)
  EXPECT_EQ(CalloutMaxOutLength(8, box, eight), 114);
  EXPECT_EQ(CalloutMaxOutLength(5, box, Made(5, box)), 0);
  // Style 8's bubbles: the frame, one a third of the way to P0, one at P0.
  const TPathOps bubbles = CalloutFramePath(8, box, eight);
  ASSERT_EQ(bubbles.size(), 3u);
  EXPECT_EQ(bubbles[2].Box, TRect(12, 152, 28, 168));
}

TEST(CalloutGeometry, DamagedTextsAndEmptyFrames) {
  // Wrong counts, odd counts, non-numbers, another style's points: the
  // style's own initial points, calculated; never a NaN.
  struct {
    const char16_t* Text;
    Integer Style;
    TRect Box;
    bool Used;
  } table[] = {
      {u"85.10.20.45.33.70", 5, TRect(10, 20, 110, 120), true},
      {u"85.10.20.45.33", 5, TRect(10, 20, 110, 120), false},
      {u"85.10", 5, TRect(10, 20, 110, 120), false},
      {u"a.b.c.d.e.f", 1, TRect(0, 0, 100, 100), false},
      {u"1.2", 9, TRect(0, 0, 100, 100), false},
      {u"", 11, TRect(0, 0, 100, 100), false},
      {u"1.2.3.4", 2, TRect(0, 0, 100, 100), false},
      {u"85.10.20.45.33.70", 1, TRect(5, 5, 5, 5), true},
      {u"", 9, TRect(5, 5, 5, 60), false},
      {u"", 1, TRect(5, 5, 60, 5), false},
      {u"1.2", 12, TRect(0, 0, 100, 100), false},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(testing::Message() << "text " << (&c - table));
    TCalloutPoints p;
    EXPECT_EQ(CalloutSetPointsText(c.Text, c.Style, c.Box, p), c.Used);
    EXPECT_EQ(Integer(p.RX.size()), CalloutPointCount(c.Style, false));
    for (size_t i = 0; i < p.RX.size(); ++i) EXPECT_FALSE(std::isnan(p.RX[i]) || std::isnan(p.RY[i]));
    for (Integer k = 0; k < Integer(p.RX.size()); ++k) CalloutAdjustPoint(c.Style, k, TPoint(3, 4), c.Box, p);
    CalloutCalcPoints(c.Style, c.Box, false, false, false, p);
    for (size_t i = 0; i < p.RX.size(); ++i) EXPECT_FALSE(std::isnan(p.RX[i]) || std::isnan(p.RY[i]));
    CalloutFramePath(c.Style, c.Box, p);
    CalloutMaxOutLength(c.Style, c.Box, p);
  }
  EXPECT_TRUE(CalloutFramePath(12, TRect(0, 0, 10, 10), TCalloutPoints()).empty());
  TCalloutPoints few;
  few.Points.resize(1);
  EXPECT_TRUE(CalloutFramePath(5, TRect(0, 0, 10, 10), few).empty()) << "points that do not fit draw no frame";
}

TEST(CalloutGeometry, TextFrames) {
  EXPECT_EQ(TextFrameCornerDiameter(100, 40), 21);
  EXPECT_EQ(TextFrameCornerDiameter(100, 10), 10);
  EXPECT_EQ(TextFrameCornerDiameter(150, 40), 28) << "190 x 0.15 = 28.5, half to even";
  const TRect box(10, 20, 110, 60);
  const TPathOps rounded = TextFramePath(1, box);
  ASSERT_EQ(rounded.size(), 6u);
  EXPECT_EQ(rounded[1].Box, TRect(10, 20, 31, 41));
  EXPECT_EQ(rounded[3].Box, TRect(89, 39, 110, 60));
  EXPECT_EQ(rounded[3].Start, 0.0f);
  struct {
    Integer Style;
    size_t Points;
    TPoint First, Third;
  } polygons[] = {
      {0, 4, {10, 20}, {110, 60}}, {3, 4, {10, 40}, {110, 40}}, {4, 8, {10, 30}, {90, 20}}, {5, 6, {10, 40}, {90, 20}},
  };
  for (const auto& c : polygons) {
    const TPathOps ops = TextFramePath(c.Style, box);
    ASSERT_EQ(ops.size(), 1u);
    ASSERT_EQ(ops[0].Points.size(), c.Points) << c.Style;
    EXPECT_EQ(ops[0].Points[0], c.First) << c.Style;
    EXPECT_EQ(ops[0].Points[2], c.Third) << c.Style;
  }
  EXPECT_EQ(TextFramePath(2, box)[0].Kind, TPathOpKind::Ellipse);
  EXPECT_TRUE(TextFramePath(6, box).empty());
}

// Gradient areas of text frames: callouts 1 and 9 (tip point 1) and 8 (tip
// point 0) spread their gradients to the tip; style 8 grows further by a
// sixth of the frame; other frames and plain text keep the frame.
TEST(CalloutGeometry, GradientAreasReachThePointer) {
  auto with = [](Integer Tip, TPoint P) {
    TCalloutPoints c;
    c.Points.assign(3, TGPPoint{0, 0});
    c.Points[size_t(Tip)] = TGPPoint{P.X, P.Y};
    return c;
  };
  const TRect box(0, 0, 120, 60);
  struct {
    bool Callout;
    Integer Style;
    TCalloutPoints Points;
    TRect Linear;
  } linear[] = {
      {true, 1, with(1, TPoint(150, 30)), TRect(0, 0, 150, 60)},
      {true, 9, with(1, TPoint(40, -25)), TRect(0, -25, 120, 60)},
      {true, 9, with(1, TPoint(40, 20)), box},                        // a tip inside the frame
      {true, 8, with(0, TPoint(-30, 80)), TRect(-50, -10, 140, 90)},  // then (120 div 6, 60 div 6)
      {true, 5, with(1, TPoint(300, 300)), box},                      // no tip
      {false, 1, with(1, TPoint(300, 300)), box},                     // plain text
  };
  for (const auto& c : linear) {
    SCOPED_TRACE(testing::Message() << c.Callout << "/" << c.Style);
    EXPECT_EQ(TextLinearGradientRect(c.Callout, c.Style, box, c.Points), c.Linear);
  }
  struct {
    bool Callout;
    Integer Style;
    TCalloutPoints Points;
    TRect Box;
    TFloatPoint Centre;
    TFloatRect Radial;
  } radial[] = {
      // Two growths until the corner (0, 0) is inside: a 70, b 45.
      {false, 0, {}, TRect(0, 0, 100, 50), {50, 25}, {-20, -20, 120, 70}},
      // The corner is the centre: still one growth.
      {false, 0, {}, TRect(0, 0, 100, 50), {0, 0}, {-10, -10, 110, 60}},
      // A tip right of the frame widens it on both sides first.
      {true, 1, with(1, TPoint(150, 25)), TRect(0, 0, 100, 50), {50, 25}, {-60, -10, 160, 60}},
      // A tip inside changes nothing.
      {true, 1, with(1, TPoint(60, 25)), TRect(0, 0, 100, 50), {50, 25}, {-20, -20, 120, 70}},
      // Style 8 then grows by (100 div 6, 50 div 6) = (16, 8).
      {true, 8, with(0, TPoint(60, 25)), TRect(0, 0, 100, 50), {50, 25}, {-36, -28, 136, 78}},
  };
  for (const auto& c : radial) {
    SCOPED_TRACE(testing::Message() << c.Callout << "/" << c.Style);
    const TFloatRect r = TextRadialGradientRect(c.Callout, c.Style, c.Box, c.Centre, c.Points);
    EXPECT_FLOAT_EQ(r.Left, c.Radial.Left);
    EXPECT_FLOAT_EQ(r.Top, c.Radial.Top);
    EXPECT_FLOAT_EQ(r.Right, c.Radial.Right);
    EXPECT_FLOAT_EQ(r.Bottom, c.Radial.Bottom);
  }
}
