// The free-hand stroke: thinning, box, ratios and their text, and the hit
// bands, with what damaged point and ratio texts give.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/LinesGeometry.h"
#include "document/ShapeRows.h"

namespace {

TArrayOfGPPoint Pts(std::initializer_list<TGPPoint> L) { return TArrayOfGPPoint(L); }

}  // namespace

TEST(StrokeGeometry, ThinningTable) {
  struct {
    const char* Name;
    TArrayOfGPPoint In;
    Integer W, H;
    size_t Kept;  // points after thinning
  } table[] = {
      {"nearer than 3 dropped", Pts({{0, 0}, {2, 0}, {20, 20}}), 100, 100, 2},
      {"10 px in a narrow box stays", Pts({{0, 0}, {10, 0}, {20, 0}}), 21, 1, 3},
      {"10 px straight in a wide box dropped", Pts({{0, 0}, {10, 0}, {20, 0}}), 100, 100, 2},
      {"20 px stays", Pts({{0, 0}, {20, 0}, {40, 0}}), 100, 100, 3},
      {"short corner of 45 degrees stays", Pts({{0, 0}, {5, 0}, {5, 5}}), 100, 100, 3},
      {"short turn of 7 degrees dropped", Pts({{0, 0}, {8, 0}, {16, 2}}), 100, 100, 2},
      {"long turn of 7 degrees stays", Pts({{0, 0}, {12, 0}, {24, 3}}), 100, 100, 3},
      {"long turn of 5 degrees dropped", Pts({{0, 0}, {12, 0}, {24, 2}}), 100, 100, 2},
      // (10, 0) is dropped far enough from s to arm the next one: (13, 0)
      // stays although it lies on the same line.
      {"a dropped point over 5 px keeps the next", Pts({{0, 0}, {10, 0}, {13, 0}, {40, 40}}), 100, 100, 3},
      // Directions 353 and 11 degrees: 18 apart across 0, not 342.
      {"350 and 10 degrees are 20 apart", Pts({{0, 0}, {8, -1}, {16, 3}}), 100, 100, 3},
      {"10 and 350 degrees are 20 apart", Pts({{0, 0}, {8, 1}, {16, -3}}), 100, 100, 3},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.Name);
    const TArrayOfGPPoint out = StrokeThin(c.In, c.W, c.H);
    ASSERT_EQ(out.size(), c.Kept);
    EXPECT_EQ(out.front().X, c.In.front().X);
    EXPECT_EQ(out.back().X, c.In.back().X);
    EXPECT_EQ(out.back().Y, c.In.back().Y);
  }
  const TArrayOfGPPoint keep = StrokeThin(Pts({{0, 0}, {10, 0}, {13, 0}, {40, 40}}), 100, 100);
  EXPECT_EQ(keep[1].X, 13);
}

TEST(StrokeGeometry, BoxRatiosAndTexts) {
  // A click gives a dot: its square box and the ratios (0.49, 0.49).
  TStrokePoints dot;
  dot.Points = Pts({{50, 40}});
  const TRect dotBox = StrokeRect(dot.Points, 0, 9);
  EXPECT_EQ(dotBox, TRect(46, 36, 55, 45));
  StrokeCalcRatios(dotBox, dot);
  EXPECT_FLOAT_EQ(dot.RX[0], 0.49f);
  EXPECT_FLOAT_EQ(dot.RY[0], 0.49f);
  // Nibs 2 and 3 take the points' bounds + 1 even for one point.
  EXPECT_EQ(StrokeRect(dot.Points, 2, 9), TRect(50, 40, 51, 41));

  TStrokePoints s;
  s.Points = Pts({{1, 2}, {3, 4}});
  EXPECT_EQ(PointsToText(s.Points), u"1.3.2.4");
  const TRect box = StrokeRect(s.Points, 0, 1);
  EXPECT_EQ(box, TRect(1, 2, 4, 5));
  StrokeCalcRatios(box, s);
  const String text = StrokeRatioText(s);
  EXPECT_EQ(text, u"0/0.666666686534882/0/0.666666686534882");
  // The points follow a resized box through the ratios.
  StrokeCalcPoints(TRect(10, 20, 40, 50), s);
  EXPECT_EQ(s.Points[1].X, 30);
  EXPECT_EQ(s.Points[1].Y, 40);

  // Ratio texts: both exponent spellings read; a short, long or
  // non-numeric text gives the ratios of the points instead.
  struct {
    const char16_t* Text;
    bool Used;
    Single RX1;
  } texts[] = {
      {u"0/1E-5/0/1", true, 1e-5f}, {u"0/1e-05/0/1", true, 1e-5f}, {u"", false, 1.0f},
      {u"0/0.5/0", false, 1.0f},    {u"0/0.5/0/1/1", false, 1.0f},  {u"0/x/0/1", false, 1.0f},
      {u"0/nan/0/1", false, 1.0f},  {u"0/inf/0/1", false, 1.0f},
  };
  for (const auto& c : texts) {
    SCOPED_TRACE(testing::Message() << "ratio text " << (&c - texts));
    TStrokePoints t;
    t.Points = Pts({{0, 0}, {10, 10}});
    EXPECT_EQ(StrokeSetRatioText(c.Text, TRect(0, 0, 10, 10), t), c.Used);
    ASSERT_EQ(t.RX.size(), 2u);
    EXPECT_FLOAT_EQ(t.RX[1], c.RX1);
  }
}

TEST(StrokeGeometry, EmptyExtentsGiveNoNaN) {
  // A box squeezed to no width or height: ratios 0, points on the box.
  TStrokePoints s;
  s.Points = Pts({{5, 5}, {5, 30}, {5, 60}});
  const TRect flat(5, 5, 5, 61);
  StrokeCalcRatios(flat, s);
  for (Single r : s.RX) EXPECT_EQ(r, 0.0f);
  StrokeCalcPoints(TRect(7, 5, 7, 5), s);
  for (const TGPPoint& p : s.Points) {
    EXPECT_EQ(p.X, 7);
    EXPECT_EQ(p.Y, 5);
  }
  EXPECT_FALSE(std::isnan(s.RY[1]));
}

TEST(StrokeGeometry, HitBands) {
  const TArrayOfGPPoint horizontal = Pts({{10, 50}, {110, 50}});
  const TRect hBox = StrokeRect(horizontal, 0, 20);  // one pixel high
  const TArrayOfGPPoint dot = Pts({{50, 50}});
  struct {
    const char* Name;
    const TArrayOfGPPoint* Points;
    Integer Style, Width;
    TRect Box;
    TPoint P;
    bool Hit;
  } table[] = {
      {"20-px stroke on its centre row", &horizontal, 0, 20, hBox, {60, 50}, true},
      {"20-px stroke 10 rows above", &horizontal, 0, 20, hBox, {60, 40}, true},
      {"20-px stroke 11 rows below", &horizontal, 0, 20, hBox, {60, 61}, true},
      {"20-px stroke 12 rows below", &horizontal, 0, 20, hBox, {60, 62}, false},
      {"20-px stroke beyond its end within t", &horizontal, 0, 20, hBox, {120, 50}, true},
      {"1-px stroke 1 row above", &horizontal, 0, 1, hBox, {60, 49}, true},
      {"1-px stroke 2 rows above", &horizontal, 0, 1, hBox, {60, 48}, false},
      {"round dot within t", &dot, 0, 9, StrokeRect(dot, 0, 9), {55, 50}, true},
      {"round dot beyond t", &dot, 0, 9, StrokeRect(dot, 0, 9), {56, 50}, false},
      {"slanted nib dot draws nothing, is not hit", &dot, 2, 9, StrokeRect(dot, 2, 9), {50, 50}, false},
      {"box squeezed flat: near its diagonal", &horizontal, 0, 3, TRect(10, 50, 110, 50), {60, 52}, true},
      {"box squeezed flat: off its diagonal", &horizontal, 0, 3, TRect(10, 50, 110, 50), {60, 53}, false},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(StrokeHitTest(*c.Points, c.Style, c.Box, c.Width, c.P), c.Hit);
  }
  EXPECT_FALSE(StrokeHitTest({}, 0, TRect(0, 0, 0, 0), 5, TPoint(0, 0)));
}
