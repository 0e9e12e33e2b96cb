// The slider's arithmetic as tables: value <-> position (both ends, the
// vertical mirror, snapping), stepping from on-grid and off-grid values,
// ruler pieces, tick spacing and the layout of thumb, ruler and points.
#include "common/gtest.h"

#include "skin/controls/SkinSliderGeometry.h"

namespace {

// The 244 x 26 slider with a 9 x 16 skin thumb: ruler 232, L = 223.
TspSliderScale Wide(Integer Min, Integer Max, bool Smooth = true, Integer Inc = 10) {
  TspSliderScale S;
  S.MinValue = Min;
  S.MaxValue = Max;
  S.Increment = Inc;
  S.Smooth = Smooth;
  S.Start = 0;
  S.End = 244;
  S.L = 232 - 9;
  S.Thumb = 9;
  return S;
}

TEST(SliderScale, ValueToPosition) {
  struct Row {
    const char* Name;
    TspSliderScale S;
    Integer V, P;
  };
  TspSliderScale Vert = Wide(0, 100);
  Vert.Vertical = true;
  TspSliderScale Flat = Wide(0, 100);
  Flat.L = -5;  // narrower than its thumb
  const Row Rows[] = {
      {"centre", Wide(-100, 100), 0, 118},  // 6 + Round(111.5)
      {"min", Wide(-100, 100), -100, 6},   {"max", Wide(-100, 100), 100, 229},
      {"vertical min", Vert, 0, 229},      {"vertical max", Vert, 100, 6},
      {"no track", Flat, 50, 6},           {"empty range", Wide(5, 5), 5, 6},
  };
  for (const Row& R : Rows) EXPECT_EQ(SliderValueToPos(R.S, R.V), R.P) << R.Name;
}

TEST(SliderScale, PositionToValueAndSnapping) {
  struct Row {
    const char* Name;
    TspSliderScale S;
    Integer P, V;
  };
  TspSliderScale Vert = Wide(0, 100);
  Vert.Vertical = true;
  TspSliderScale Flat = Wide(0, 100);
  Flat.L = 0;
  const Row Rows[] = {
      {"centre", Wide(-100, 100), 118, 0},
      {"before", Wide(-100, 100), -40, -100},
      {"past", Wide(-100, 100), 900, 100},
      {"smooth inc 10", Wide(0, 100), 6 + 37, 17},       // 37 * 100 / 223 = 16.6
      {"snapped inc 10", Wide(0, 100, false), 6 + 37, 20},
      {"snapped inc 1", Wide(0, 100, false, 1), 6 + 37, 17},
      {"snapped min 5", Wide(5, 105, false), 6 + 37, 25},  // snaps to 5 + 20
      {"snapped min 5 low", Wide(5, 105, false), 6 + 8, 5},
      {"vertical top", Vert, 6, 100},
      {"vertical bottom", Vert, 229, 0},
      {"no track", Flat, 50, 0},
      {"empty range", Wide(7, 7), 100, 7},
  };
  for (const Row& R : Rows) EXPECT_EQ(SliderPosToValue(R.S, R.P), R.V) << R.Name;
}

TEST(SliderScale, StepsLandOnTheGrid) {
  struct Row {
    TspJumpMode M;
    Integer V, Inc, Result;
  };
  const Row Rows[] = {
      {jmNext, 20, 10, 30}, {jmPrior, 20, 10, 10},  // on the grid
      {jmNext, 15, 10, 20}, {jmNext, 16, 10, 20},  // off the grid: the next multiple
      {jmPrior, 24, 10, 20}, {jmPrior, 25, 10, 20},
      {jmNext, 95, 10, 100}, {jmNext, 100, 10, 100},  // clamped
      {jmPrior, 3, 10, 0},  {jmHome, 42, 10, 0},
      {jmEnd, 42, 10, 100}, {jmNext, 42, 0, 43},  // a broken increment counts as 1
  };
  for (const Row& R : Rows) EXPECT_EQ(SliderJumpTo(R.M, R.V, 0, 100, R.Inc), R.Result) << int(R.M) << " " << R.V;
  // Negative values: the grid still counts from 0.
  EXPECT_EQ(SliderJumpTo(jmNext, -15, -100, 100, 10), -10);
  EXPECT_EQ(SliderJumpTo(jmPrior, -15, -100, 100, 10), -20);
  EXPECT_EQ(SliderJumpTo(jmPrior, -95, -100, 100, 10), -100);
}

TEST(SliderRuler, PiecesCloseTheRulerWithItsRightEnd) {
  std::vector<TspRulerPiece> P;
  // 20-pixel image, ends 2: left part 18, middles of 16, then the closing end.
  ASSERT_TRUE(SliderRulerPieces(20, 2, 50, P));
  const std::vector<TspRulerPiece> Want = {{0, 18, 0}, {2, 16, 18}, {4, 16, 34}};
  EXPECT_EQ(P, Want);
  // The pieces cover the ruler exactly once.
  for (Integer Len : {5, 19, 20, 21, 36, 37, 232, 1000}) {
    ASSERT_TRUE(SliderRulerPieces(20, 2, Len, P)) << Len;
    Integer Pos = 0;
    for (const TspRulerPiece& Q : P) {
      EXPECT_EQ(Q.DestStart, Pos) << Len;
      EXPECT_GE(Q.SrcStart, 0);
      EXPECT_LE(Q.SrcStart + Q.Len, 20);
      Pos += Q.Len;
    }
    EXPECT_EQ(Pos, Len);
    EXPECT_EQ(P.back().SrcStart + P.back().Len, 20) << "the image's right end closes the ruler";
  }
  // No middle (the image shorter than its ends), or a ruler shorter than
  // both ends: stretched instead.
  EXPECT_FALSE(SliderRulerPieces(4, 2, 100, P));
  EXPECT_FALSE(SliderRulerPieces(3, 2, 100, P));
  EXPECT_FALSE(SliderRulerPieces(20, 2, 3, P));
  EXPECT_FALSE(SliderRulerPieces(0, 0, 10, P));
}

TEST(SliderTicks, SpacingAtLeastFourPixels) {
  struct Row {
    Integer Min, Max, Step, L, Count, Spacing, Mult;
  };
  const Row Rows[] = {
      {0, 100, 10, 223, 11, 22, 1},
      {0, 100, 1, 223, 51, 4, 2},  // 101 ticks would be 2 apart
      {0, 100, 10, 20, 6, 4, 2},
      {0, 0, 10, 223, 0, 0, 1},    // no range: no ticks
      {0, 100, 0, 223, 0, 0, 1},   // no step
      {0, 100, 10, 0, 0, 0, 1},    // no track
  };
  for (const Row& R : Rows) {
    const TspSliderTicks T = SliderTicks(R.Min, R.Max, R.Step, R.L);
    EXPECT_EQ(T.Count, R.Count) << R.Step << " " << R.L;
    EXPECT_EQ(T.Spacing, R.Spacing) << R.Step << " " << R.L;
    EXPECT_EQ(T.Multiplier, R.Mult) << R.Step << " " << R.L;
  }
}

TEST(SliderLayout, ThumbRulerAndPoints) {
  struct Row {
    const char* Name;
    TspSliderLayout L;
    TPoint Thumb, Ruler;
    TRect Points;
  };
  const Row Rows[] = {
      {"skin thumb taller", SliderLayout(false, 244, 26, 9, 16, 232, 9, 0), {6, 6}, {6, 9}, {6, 23, 238, 25}},
      {"ruler taller", SliderLayout(false, 150, 40, 8, 4, 138, 10, 0), {6, 9}, {6, 6}, {6, 17, 144, 39}},
      {"vertical wide thumb", SliderLayout(true, 40, 150, 18, 11, 6, 138, 18), {6, 6}, {12, 6}, {25, 6, 39, 144}},
      {"vertical narrow thumb", SliderLayout(true, 40, 150, 4, 11, 6, 138, 4), {7, 6}, {6, 6}, {13, 6, 39, 144}},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(R.L.ThumbOrg, R.Thumb) << R.Name;
    EXPECT_EQ(R.L.RulerOrg, R.Ruler) << R.Name;
    EXPECT_EQ(R.L.PointsRect, R.Points) << R.Name;
  }
}

}  // namespace
