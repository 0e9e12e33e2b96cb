// The horizontal item list's arithmetic as tables: the row and its scroll
// range, bringing items into view, the pull-back after a widening, and the
// keyboard's searches over enabled items.
#include "common/gtest.h"

#include "skin/controls/SkinHorzListGeometry.h"

namespace {

TspHorzRow Row(Integer Right, Integer Count, Integer Offset, Integer Bottom = 98) {
  TspHorzRow R;
  R.Area = TRect(2, 2, Right, Bottom);
  R.ItemWidth = 70;
  R.Count = Count;
  R.Offset = Offset;
  return R;
}

TEST(HorzList, RowAndScrollRange) {
  // 250 wide, 4 items of 70: area 246, row 280.
  const TspHorzScroll S = HorzScrollInfo(Row(248, 4, 0));
  EXPECT_EQ(S.Min, 0);
  EXPECT_EQ(S.Max, 280);
  EXPECT_EQ(S.Page, 246);
  const TspHorzScroll Fits = HorzScrollInfo(Row(248, 3, 0));
  EXPECT_EQ(Fits.Max, 0);
  EXPECT_EQ(Fits.Page, 0);
  EXPECT_EQ(HorzScrollInfo(Row(248, 0, 0)).Max, 0);
  EXPECT_EQ(HorzItemRect(Row(248, 4, 35), 3), TRect(177, 2, 247, 98));
  struct Vis {
    TRect Item;
    bool Visible;
  };
  const TRect Area(2, 2, 248, 98);
  for (const Vis& V : {Vis{{-69, 2, 1, 98}, false}, Vis{{-68, 2, 2, 98}, true}, Vis{{248, 2, 318, 98}, false},
                       Vis{{247, 2, 317, 98}, true}, Vis{{0, 2, 300, 98}, true}})
    EXPECT_EQ(HorzItemVisible(V.Item, Area), V.Visible) << V.Item.Left;
  EXPECT_EQ(HorzRealMax(Row(248, 4, 0)), 282);
  EXPECT_EQ(HorzRealMax(Row(248, 0, 0)), 0);
}

TEST(HorzList, ScrollToItem) {
  struct Row_ {
    Integer Offset, Item, Result;
  };
  for (const Row_& R : {Row_{0, 3, 35}, Row_{35, 0, 0}, Row_{0, 1, 0}, Row_{35, 1, 35}, Row_{0, 0, 0}, Row_{0, 9, 0},
                        Row_{0, -1, 0}})
    EXPECT_EQ(HorzScrollToItem(Row(248, 4, R.Offset, 79), R.Item, 250), R.Result) << R.Offset << " " << R.Item;
}

TEST(HorzList, WideningPullsTheRowBackNeverBelowZero) {
  EXPECT_EQ(HorzPullBack(Row(298, 4, 35)), 0);
  EXPECT_EQ(HorzPullBack(Row(268, 4, 35)), 14);  // the last item ended at 247
  EXPECT_EQ(HorzPullBack(Row(248, 4, 0)), 0);
}

TEST(HorzList, KeyboardSearches) {
  const std::vector<bool> All(5, true);
  const std::vector<bool> Gaps = {true, false, false, true, false};
  struct Row_ {
    const char* Name;
    Integer Got, Want;
  };
  const Row_ Rows[] = {
      {"down from none", HorzFindDown(All, -1), 0},
      {"down over gaps", HorzFindDown(Gaps, 0), 3},
      {"down at the end", HorzFindDown(Gaps, 3), -1},
      {"up from 0", HorzFindUp(All, 0), -1},
      {"up over gaps", HorzFindUp(Gaps, 3), 0},
      {"page down from none", HorzFindPageDown(All, -1, 3), 3},
      {"page down, 3 disabled", HorzFindPageDown({true, true, true, false, true}, -1, 3), 2},
      {"page down past the end", HorzFindPageDown(All, 4, 3), -1},
      {"page up", HorzFindPageUp(All, 4, 3), 0},
      {"page up near the start", HorzFindPageUp(Gaps, 3, 2), 0},
      {"page up, all disabled in reach", HorzFindPageUp(Gaps, 3, 1), -1},
      {"page up from 0", HorzFindPageUp(All, 0, 3), -1},
      {"page up, page 0 counts 1", HorzFindPageUp(All, 3, 0), 1},
  };
  for (const Row_& R : Rows) EXPECT_EQ(R.Got, R.Want) << R.Name;
}

}  // namespace
