// The paint tools' stroke geometry: dab positions along segments, the
// Shift lock's axis, brush spacing and margin.
#include "common/gtest.h"

#include "document/PaintStroke.h"
#include "document/ShapeTypes.h"

TEST(PaintStroke, LinePointsIncludeBothEnds) {
  const struct {
    const char* Name;
    TPoint A, B;
    std::vector<TPoint> Want;
  } cases[] = {
      {"one point", TPoint(3, 3), TPoint(3, 3), {TPoint(3, 3)}},
      {"upwards", TPoint(2, 5), TPoint(2, 2), {TPoint(2, 5), TPoint(2, 4), TPoint(2, 3), TPoint(2, 2)}},
      {"leftwards", TPoint(4, 1), TPoint(2, 1), {TPoint(4, 1), TPoint(3, 1), TPoint(2, 1)}},
      // k = 0.5: y = Round(0.5 x) halves to even: 0, 0, 1, 2, 2
      {"flat, halves to even", TPoint(0, 0), TPoint(4, 2),
       {TPoint(0, 0), TPoint(1, 0), TPoint(2, 1), TPoint(3, 2), TPoint(4, 2)}},
      {"steep", TPoint(0, 0), TPoint(-2, 4),
       {TPoint(0, 0), TPoint(0, 1), TPoint(-1, 2), TPoint(-2, 3), TPoint(-2, 4)}},
      {"diagonal counts as steep", TPoint(1, 1), TPoint(3, 3), {TPoint(1, 1), TPoint(2, 2), TPoint(3, 3)}},
  };
  for (const auto& c : cases) {
    const std::vector<TPoint> got = StrokeLinePoints(c.A.X, c.A.Y, c.B.X, c.B.Y);
    ASSERT_EQ(got.size(), c.Want.size()) << c.Name;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].X, c.Want[i].X) << c.Name << " " << i;
      EXPECT_EQ(got[i].Y, c.Want[i].Y) << c.Name << " " << i;
    }
  }
}

TEST(PaintStroke, ShiftLockAxis) {
  const TPoint down(100, 100);
  const struct {
    TPoint P;
    Integer Want;
  } cases[] = {
      {TPoint(104, 100), 0},   // 4 px: not yet
      {TPoint(103, 103), 0},   // 4.24 px
      {TPoint(105, 100), 1},   // 5 px along x
      {TPoint(104, 97), 1},    // 5 px at about 37 degrees up: horizontal
      {TPoint(96, 97), 1},     // 5 px at about 143 degrees: horizontal
      {TPoint(100, 95), 2},    // straight up
      {TPoint(103, 104), 2},   // 53 degrees: vertical
      {TPoint(110, 110), 2},   // exactly 45 degrees: vertical
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftLockDirection(down, c.P), c.Want) << c.P.X << "," << c.P.Y;
}

TEST(PaintStroke, SpacingAndMargin) {
  const struct {
    bool Fixed;
    Integer Cell9, Cell10, Width, Want;
  } steps[] = {
      {true, 10, 3, 100, 10},  {false, 4, 2, 100, 27}, {false, 3, 0, 10, 3},
      {false, 0, 6, 100, 6},   // divisor 0: the added spacing alone
      {false, -2, -5, 100, 0}, // a negative divisor and spacing: 0
  };
  for (const auto& c : steps) EXPECT_EQ(BrushStep(c.Fixed, c.Cell9, c.Cell10, c.Width), c.Want) << c.Cell9;
  const struct {
    Integer Style, Width, Want;
  } offsets[] = {{1, 95, 28}, {1, 5, 2}, {1, 25, 8}, {1, 100, 30}, {0, 95, 0}, {2, 100, 0}};
  for (const auto& c : offsets) EXPECT_EQ(BrushOffset(c.Style, c.Width), c.Want) << c.Style << " " << c.Width;
  EXPECT_TRUE(DabFarEnough(TPoint(UnsetPosition, 0), TPoint(0, 0), 50));
  EXPECT_FALSE(DabFarEnough(TPoint(0, 0), TPoint(6, 7), 10));
  EXPECT_TRUE(DabFarEnough(TPoint(0, 0), TPoint(6, 8), 10));
}
