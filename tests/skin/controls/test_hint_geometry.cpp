// The skinned hint's arithmetic as tables: line separators, window sizes
// with and without the hint picture, the corners kept apart, the move back
// into the work area and the fade-in steps.
#include "common/gtest.h"

#include "skin/controls/SkinHintGeometry.h"

namespace {

TEST(HintText, SeparatorsBecomeOneLineBreak) {
  struct Row {
    String In, Sep, Out;
  };
  const Row Rows[] = {
      {u"a@b", u"@", u"a\r\nb"},      {u"@a@@", u"@", u"\r\na\r\n\r\n"}, {u"one||two", u"||", u"one\r\ntwo"},
      {u"a|b", u"||", u"a|b"},        {u"a@b", u"", u"a@b"},             {u"", u"@", u""},
  };
  for (const Row& R : Rows) EXPECT_EQ(ReplaceLineSeparators(R.In, R.Sep), R.Out);
}

// A 40 x 30 hint picture with 5-pixel borders.
TspHintPicture Framed() {
  TspHintPicture P;
  P.Width = 40;
  P.Height = 30;
  P.LTPoint = TPoint(5, 5);
  P.RTPoint = TPoint(35, 5);
  P.LBPoint = TPoint(5, 25);
  P.RBPoint = TPoint(35, 25);
  P.ClRect = TRect(5, 5, 35, 25);
  return P;
}

TEST(HintSize, PlainAndExtended) {
  const TspHintPicture P = Framed();
  struct Row {
    const char* Name;
    TspHintSize S;
    Integer W, H;
    TRect Cl;
  };
  const Row Rows[] = {
      {"default", CalcHintSize(100, 14, nullptr), 104, 18, {}},
      {"skinned", CalcHintSize(100, 14, &P), 115, 24, {5, 5, 110, 19}},
      {"ex default", CalcHintSizeEx(100, 14, 60, 16, 16, 16, nullptr), 130, 44, {}},
      {"ex skinned", CalcHintSizeEx(100, 14, 60, 16, 16, 16, &P), 146, 50, {5, 5, 141, 45}},
      {"ex no title", CalcHintSizeEx(100, 14, 0, 0, 16, 32, nullptr), 130, 41, {}},
      {"ex no image", CalcHintSizeEx(50, 14, 80, 16, 0, 0, nullptr), 84, 44, {}},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(R.S.Width, R.W) << R.Name;
    EXPECT_EQ(R.S.Height, R.H) << R.Name;
    EXPECT_EQ(R.S.NewClRect, R.Cl) << R.Name;
  }
}

TEST(HintSize, CornersKeepApart) {
  struct Row {
    const char* Name;
    TPoint LT, RT, LB, RB;
    Integer TextW, TextH;
    Integer W, H;
    TPoint NewRT, NewLB, NewRB;
  };
  const Row Rows[] = {
      // The bottom-left corner would pass the top-left one: the hint grows.
      {"left column", {5, 5}, {35, 15}, {5, 25}, {35, 35}, 10, 8, 25, 20, {20, 15}, {5, 5}, {20, 15}},
      // The right border needs more height than the text gives.
      {"right column", {5, 5}, {35, 25}, {5, 25}, {35, 35}, 10, 8, 25, 30, {20, 25}, {5, 15}, {20, 25}},
      // The top-right corner would pass the top-left one: the hint widens.
      {"top row", {30, 5}, {32, 5}, {5, 25}, {35, 25}, 1, 20, 38, 30, {30, 5}, {5, 15}, {33, 15}},
  };
  for (const Row& R : Rows) {
    TspHintPicture P;
    P.Width = 40;
    P.Height = 40;
    P.LTPoint = R.LT;
    P.RTPoint = R.RT;
    P.LBPoint = R.LB;
    P.RBPoint = R.RB;
    P.ClRect = TRect(5, 5, 35, 35);
    const TspHintSize S = CalcHintSize(R.TextW, R.TextH, &P);
    EXPECT_EQ(S.Width, R.W) << R.Name;
    EXPECT_EQ(S.Height, R.H) << R.Name;
    EXPECT_EQ(S.NewRTPoint, R.NewRT) << R.Name;
    EXPECT_EQ(S.NewLBPoint, R.NewLB) << R.Name;
    EXPECT_EQ(S.NewRBPoint, R.NewRB) << R.Name;
    EXPECT_EQ(S.NewLTPoint, R.LT) << R.Name;
  }
}

TEST(HintPlace, MovesBackIntoTheWorkArea) {
  const TRect Area(0, 0, 800, 600);
  struct Row {
    TRect In, Out;
  };
  const Row Rows[] = {
      {{790, 100, 850, 120}, {728, 100, 788, 120}},
      {{100, 590, 160, 610}, {100, 568, 160, 588}},
      {{790, 590, 850, 610}, {728, 568, 788, 588}},
      {{100, 100, 160, 120}, {100, 100, 160, 120}},
      {{740, 580, 800, 600}, {740, 580, 800, 600}},  // touching the edges stays
  };
  for (const Row& R : Rows) EXPECT_EQ(KeepHintInArea(R.In, Area), R.Out);
}

TEST(HintFade, StepsOfATenthAtLeastOne) {
  struct Row {
    Integer Value;
    std::vector<Integer> Steps;
  };
  const Row Rows[] = {
      {5, {1, 2, 3, 4, 5}},
      {0, {}},
      {25, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 25}},
      {200, {20, 40, 60, 80, 100, 120, 140, 160, 180, 200}},
  };
  for (const Row& R : Rows) EXPECT_EQ(HintFadeSteps(R.Value), R.Steps) << R.Value;
}

}  // namespace
