// The main menu bar's rules without windows: merging by group index, the
// item area, the child-window buttons, which items fit, the marker and the
// keyboard's walk.
#include <vector>

#include "common/gtest.h"
#include "skin/form/MenuBarLayout.h"

namespace {

std::vector<Integer> Ids(const std::vector<TspMenuBarEntry>& L) {
  std::vector<Integer> V;
  for (const TspMenuBarEntry& E : L) V.push_back(E.Id);
  return V;
}

}  // namespace

TEST(MenuBarLayout, MergeByGroupIndex) {
  // Main items 0, 1, 9 (ids 1-3); child items 1 and 5 (ids 11, 12).
  const std::vector<TspMenuBarEntry> Main = {{0, true, 1}, {1, true, 2}, {9, true, 3}};
  const std::vector<TspMenuBarEntry> Child = {{1, true, 11}, {5, true, 12}};
  EXPECT_EQ(Ids(MergeMenuBarEntries(Main, Child)), std::vector<Integer>({1, 11, 12, 3}));
  // Equal group indexes keep the menus' order: main before child, each in
  // menu order (an unstable sort mixes them).
  std::vector<TspMenuBarEntry> ManyMain, ManyChild;
  for (Integer I = 0; I < 12; ++I) ManyMain.push_back({I % 3 == 0 ? 7 : 0, true, I});
  for (Integer I = 0; I < 12; ++I) ManyChild.push_back({3, true, 100 + I});
  const std::vector<Integer> Got = Ids(MergeMenuBarEntries(ManyMain, ManyChild));
  std::vector<Integer> Want;
  for (Integer I = 0; I < 12; ++I)
    if (I % 3 != 0) Want.push_back(I);
  for (Integer I = 0; I < 12; ++I) Want.push_back(100 + I);
  for (Integer I = 0; I < 12; I += 3) Want.push_back(I);
  EXPECT_EQ(Got, Want);
  // An invisible child item gets no place; neither does the main item it replaced.
  EXPECT_EQ(Ids(MergeMenuBarEntries(Main, {{1, false, 11}})), std::vector<Integer>({1, 3}));
  EXPECT_EQ(Ids(MergeMenuBarEntries(Main, {})), std::vector<Integer>({1, 2, 3}));
}

TEST(MenuBarLayout, ItemsAreaButtonsAndFit) {
  // Default look, height 22: (2, 2, W - 2, 20).
  EXPECT_EQ(MenuBarItemsRect(false, TRect(), TRect(), true, 300, 22), TRect(2, 2, 298, 20));
  // A description keeps the skin image's right margin (and without
  // UseSkinSize the bottom one).
  const TRect Skin(0, 0, 100, 24), Items(4, 3, 90, 21);
  EXPECT_EQ(MenuBarItemsRect(true, Skin, Items, true, 300, 24), TRect(4, 3, 290, 21));
  EXPECT_EQ(MenuBarItemsRect(true, Skin, Items, false, 300, 30), TRect(4, 3, 290, 27));

  // Child buttons: system menu left, close, maximise, minimise from the right.
  TRect Area(2, 2, 298, 20);
  const std::vector<TRect> B = PlaceMenuBarButtons(Area, {{0, 0}, {16, 14}, {16, 14}, {0, 0}});
  EXPECT_EQ(B[0], TRect(2, 2, 20, 20));     // a square of the area's height
  EXPECT_EQ(B[1], TRect(282, 4, 298, 18));  // centred: 2 + 18 div 2 - 14 div 2
  EXPECT_EQ(B[2], TRect(264, 4, 280, 18));
  EXPECT_EQ(B[3], TRect(244, 2, 262, 20));
  EXPECT_EQ(Area, TRect(22, 2, 242, 20));

  // Items from the area's left; past Right - 5 with the marker they do not fit.
  const TRect A(2, 2, 100, 20);
  TspMenuBarLayout L = LayoutMenuBarItems(A, {40, 50, 20}, true);
  EXPECT_EQ(L.Rects[0], TRect(2, 2, 42, 20));
  EXPECT_EQ(L.Rects[1], TRect(42, 2, 92, 20));
  EXPECT_EQ(L.Fits, std::vector<bool>({true, true, false}));
  EXPECT_TRUE(L.Scroll);
  EXPECT_EQ(MenuBarMarkerRect(A), TRect(95, 2, 100, 20));
  L = LayoutMenuBarItems(A, {40, 53}, true);
  EXPECT_EQ(L.Fits, std::vector<bool>({true, true}));  // ends exactly at Right - 5
  L = LayoutMenuBarItems(A, {40, 56}, true);
  EXPECT_FALSE(L.Fits[1]);
  L = LayoutMenuBarItems(A, {40, 56}, false);  // no marker: the whole area
  EXPECT_TRUE(L.Fits[1]);
  EXPECT_FALSE(L.Scroll);
}

TEST(MenuBarLayout, KeyboardWalkWrapsAndSkipsUnavailableItems) {
  const std::vector<bool> Av = {true, false, true, true, false};
  struct Row {
    Integer Current, Next, Prev;
  };
  const Row Rows[] = {{-1, 0, 3}, {0, 2, 3}, {2, 3, 0}, {3, 0, 2}, {1, 0, 3}, {4, 0, 3}};
  for (const Row& R : Rows) {
    EXPECT_EQ(NextMenuBarItem(Av, R.Current), R.Next) << R.Current;
    EXPECT_EQ(PrevMenuBarItem(Av, R.Current), R.Prev) << R.Current;
  }
  EXPECT_EQ(NextMenuBarItem({false, false}, -1), -1);
  EXPECT_EQ(PrevMenuBarItem({}, 0), -1);
  EXPECT_EQ(NextMenuBarItem({true}, 0), 0);
}
