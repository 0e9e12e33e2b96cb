// The list box's arithmetic as tables: the inner list's and the bars'
// places in both looks, the fitted height, the bars' decisions from the
// native scroll state, the painted range and the tab stops.
#include "common/gtest.h"

#include "skin/boxes/ListLayout.h"

namespace {

TEST(ListLayout, PlacesListAndBars) {
  struct Row {
    const char* Name;
    TspListLayoutIn In;
    TRect HBar, Main, List;
  };
  const TRect N(5, 10, 115, 110);  // skinned client rect at 120 x 120
  auto In = [&](bool Skinned, bool Caption, Integer Columns, bool HBar, bool Main) {
    TspListLayoutIn I;
    I.Width = 120;
    I.Height = 120;
    I.Skinned = Skinned;
    I.NewClRect = N;
    I.CaptionMode = Caption;
    I.DefaultCaptionHeight = 20;
    I.Columns = Columns;
    I.HBar = HBar;
    I.HBarHeight = 19;
    I.MainBar = Main;
    I.MainBarWidth = 17;
    return I;
  };
  const Row Rows[] = {
      {"default, no bars", In(false, false, 0, false, false), {}, {}, {2, 2, 118, 118}},
      {"default, caption strip", In(false, true, 0, false, false), {}, {}, {2, 21, 118, 118}},
      {"default, vertical bar", In(false, false, 0, false, true), {}, {100, 1, 19, 118}, {2, 2, 100, 118}},
      {"default, both bars", In(false, false, 0, true, true), {1, 100, 118, 19}, {100, 1, 19, 100},
       {2, 2, 100, 100}},
      {"default, columns bar", In(false, false, 2, false, true), {}, {1, 100, 118, 19}, {2, 2, 118, 100}},
      {"default, columns ignore the extent bar", In(false, false, 2, true, false), {}, {}, {2, 2, 118, 118}},
      {"skinned, no bars", In(true, false, 0, false, false), {}, {}, N},
      {"skinned, vertical bar", In(true, false, 0, false, true), {}, {98, 10, 17, 100}, {5, 10, 98, 110}},
      {"skinned, both bars", In(true, false, 0, true, true), {5, 91, 110, 19}, {98, 10, 17, 81}, {5, 10, 98, 91}},
      {"skinned, columns", In(true, false, 3, false, true), {}, {5, 93, 110, 17}, {5, 10, 115, 93}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const TspListLayout L = ListBoxLayout(R.In);
    EXPECT_EQ(L.HBarBounds, R.HBar);
    EXPECT_EQ(L.MainBarBounds, R.Main);
    EXPECT_EQ(L.ListRect, R.List);
  }
}

TEST(ListLayout, CalcHeight) {
  EXPECT_EQ(ListCalcHeight(8, 20, false, false, 20, 0, 0, 0), 164);
  EXPECT_EQ(ListCalcHeight(8, 20, false, true, 24, 0, 0, 0), 188);
  EXPECT_EQ(ListCalcHeight(3, 18, true, false, 20, 60, 40, 0), 74);
  EXPECT_EQ(ListCalcHeight(3, 18, true, false, 20, 60, 40, 19), 93);
  EXPECT_EQ(ListCalcHeight(0, 20, false, false, 20, 0, 0, 0), 4);
}

TEST(ListLayout, BarsFromTheNativeState) {
  struct Row {
    const char* Name;
    Integer Min, Max, Pos, ListH, ItemH, Count, RowCount, Columns;
    bool Needed;
    Integer Page;
  };
  const Row Rows[] = {
      {"empty list", 0, 0, 0, 160, 20, 0, 0, 0, false, 0},
      {"partly filled", 0, 4, 0, 160, 20, 5, 0, 0, false, 0},
      {"exactly filled", 0, 7, 0, 160, 20, 8, 0, 0, false, 0},
      {"over-filled", 0, 19, 3, 160, 20, 20, 0, 0, true, 8},
      {"RowCount equal to the count never shows", 0, 19, 0, 100, 20, 20, 20, 0, false, 0},
      {"position past max", 0, 19, 25, 160, 20, 20, 0, 0, false, 0},
      {"columns: 3 x 8 rows hold 20", 0, 6, 0, 160, 20, 20, 0, 3, false, 0},
      {"columns: 2 x 8 rows, 20 items", 0, 2, 0, 160, 20, 20, 0, 2, true, 2},
      {"columns wider than the range", 0, 1, 0, 160, 20, 20, 0, 2, false, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const TspListBarState S = R.Columns ? ListColumnsBar(R.Min, R.Max, R.Pos, R.ListH, R.ItemH, R.Count, R.Columns)
                                        : ListVerticalBar(R.Min, R.Max, R.Pos, R.ListH, R.ItemH, R.Count, R.RowCount);
    EXPECT_EQ(S.Needed, R.Needed);
    if (R.Needed) {
      EXPECT_EQ(S.Page, R.Page);
      EXPECT_EQ(S.Max, R.Max);
      EXPECT_EQ(S.Position, R.Pos);
    }
  }
}

TEST(ListLayout, ExtentOffsetAndPaintRange) {
  EXPECT_EQ(ListVisibleTextWidth(100, false, 0, 0, 0), 96);
  EXPECT_EQ(ListVisibleTextWidth(100, false, 0, 0, 16), 76);
  EXPECT_EQ(ListVisibleTextWidth(100, true, 80, 90, 0), 90);
  // Widening reduces the offset by the width gained, never below 0; no offset stays 0.
  EXPECT_EQ(ListOffsetAfterResize(30, 100, 110), 20);
  EXPECT_EQ(ListOffsetAfterResize(30, 100, 150), 0);
  EXPECT_EQ(ListOffsetAfterResize(30, 100, 80), 50);
  EXPECT_EQ(ListOffsetAfterResize(0, 100, 80), 0);

  struct Row {
    Integer Top, H, ItemH, Columns, Count, First, Last;
  };
  const Row Rows[] = {
      {0, 160, 20, 0, 100, 0, 7},   {95, 160, 20, 0, 100, 95, 99}, {0, 170, 20, 0, 100, 0, 7},
      {10, 160, 20, 3, 100, 10, 33}, {0, 160, 20, 0, 0, 0, -1},     {0, 10, 20, 0, 5, 0, -1},
  };
  for (const Row& R : Rows) {
    const TspListPaintRange P = ListPaintRange(R.Top, R.H, R.ItemH, R.Columns, R.Count);
    EXPECT_EQ(P.Last, R.Last) << R.Top << " " << R.H;
    if (P.Last >= P.First) {
      EXPECT_EQ(P.First, R.First);
    }
  }
}

TEST(ListLayout, TabStopsAndCaptionButtons) {
  const std::vector<String> Lines = {u"40", u"x", u"", u"12a", u"99999999999", u"7", u"1", u"2",
                                     u"3",  u"4", u"5"};
  const std::vector<Integer> Stops = ListTabStops(Lines);
  EXPECT_EQ(Stops, (std::vector<Integer>{40, 0, 0, 0, 0, 7, 1, 2, 3, 4}));

  const TspListCaptionButtons B = ListDefaultCaptionButtons(120, 20);
  EXPECT_EQ(B.Up, TRect(101, 2, 118, 18));
  EXPECT_EQ(B.Down, TRect(84, 2, 101, 18));
  EXPECT_EQ(B.Check, TRect(67, 2, 84, 18));
  EXPECT_EQ(ListDefaultCaptionButtons(120, 14).Up, TRect(107, 2, 118, 12));
}

}  // namespace
