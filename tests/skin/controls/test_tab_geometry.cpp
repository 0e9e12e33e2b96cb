// The tab controls' and the tree's arithmetic as tables: the page and tab
// rectangle corrections over the layout's raw rectangles (the raw values
// are what Wine's tab control gives a 300 x 100 client with 20-pixel tabs),
// the reserve image size (recomputed from its inputs, so a change of side
// or of the glyph width never leaves a stale sum), the centred row, the
// hidden and scrolled counts, the arrows' place, the close button through
// the quarter turns, the centred glyph and caption, the tile counts, the
// tree's bar decision and its fading line.
#include "common/gtest.h"

#include "skin/controls/SkinTabGeometry.h"

namespace {

// Wine's raw page rectangles for a 300 x 100 client, tabs 20 high (as the
// class library's tab tests measured them).
constexpr TRect RawTop(4, 24, 296, 96), RawBottom(4, 4, 296, 76), RawLeft(64, 4, 296, 96), RawRight(4, 4, 236, 96);

TEST(TabLayout, PageRectCorrection) {
  // A frame picture 100 x 60 whose page area is (3, 4, 96, 55): margins
  // 3 left, 4 top, 4 right, 5 bottom.
  const TRect Skin(0, 0, 100, 60), Cl(3, 4, 96, 55);
  struct Row {
    const char* Name;
    TTabPosition Pos;
    bool Skinned, HideTabs, HideBorder;
    TRect Raw, Expected;
  };
  const Row Rows[] = {
      {"top", tpTop, false, false, false, RawTop, {1, 19, 299, 99}},
      {"top skinned", tpTop, true, false, false, RawTop, {3, 22, 296, 95}},
      {"top hidden tabs", tpTop, false, true, false, RawTop, {1, 18, 299, 99}},
      {"top skinned hidden tabs", tpTop, true, true, false, RawTop, {3, 21, 296, 95}},
      {"bottom", tpBottom, false, false, false, RawBottom, {1, 1, 299, 79}},
      {"bottom skinned", tpBottom, true, false, false, RawBottom, {3, 4, 296, 75}},
      {"bottom hidden tabs", tpBottom, false, true, false, RawBottom, {1, 1, 299, 80}},
      {"left", tpLeft, false, false, false, RawLeft, {61, -1, 299, 99}},
      {"left skinned", tpLeft, true, false, false, RawLeft, {63, 4, 296, 95}},
      {"left hidden tabs", tpLeft, false, true, false, RawLeft, {60, -1, 299, 99}},
      {"right", tpRight, false, false, false, RawRight, {1, -1, 239, 99}},
      {"right skinned", tpRight, true, false, false, RawRight, {3, 4, 236, 95}},
      {"right hidden tabs skinned", tpRight, true, true, false, RawRight, {3, 4, 237, 95}},
      {"hidden border top", tpTop, true, true, true, RawTop, {0, -2, 302, 104}},
      {"hidden border bottom", tpBottom, false, false, true, RawBottom, {0, -2, 302, 104}},
      {"hidden border left", tpLeft, true, false, true, RawLeft, {0, -2, 302, 104}},
      {"hidden border right", tpRight, false, true, true, RawRight, {0, -2, 302, 104}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    TspPageRectIn In;
    In.Position = W.Pos;
    In.Skinned = W.Skinned;
    In.HideTabs = W.HideTabs;
    In.HideBorder = W.HideBorder;
    In.ClientWidth = 300;
    In.ClientHeight = 100;
    In.Width = 302;  // a control whose size differs from its client shows which one is used
    In.Height = 104;
    In.SkinRect = Skin;
    In.ClRect = Cl;
    EXPECT_EQ(CorrectPageRect(In, W.Raw), W.Expected);
  }
}

TEST(TabLayout, TabRectCorrection) {
  // Wine's first top tab lies at (2, 2).
  const TRect Raw(2, 2, 60, 22);
  struct Row {
    const char* Name;
    TTabPosition Pos;
    TTabStyle Style;
    bool MultiLine;
    Integer Offset;
    TRect Expected;
  };
  const Row Rows[] = {
      {"top single row: 2 left and 2 up", tpTop, tsTabs, false, 0, {0, 0, 58, 20}},
      {"top several rows: only up", tpTop, tsTabs, true, 0, {2, 0, 60, 20}},
      {"top centred row moves right", tpTop, tsTabs, false, 90, {90, 0, 148, 20}},
      {"bottom single row", tpBottom, tsTabs, false, 0, {0, 4, 58, 24}},
      {"bottom several rows", tpBottom, tsTabs, true, 0, {2, 4, 60, 24}},
      {"bottom ignores the row offset", tpBottom, tsTabs, false, 90, {0, 4, 58, 24}},
      {"left", tpLeft, tsTabs, false, 0, {0, 2, 58, 22}},
      {"right", tpRight, tsTabs, true, 0, {4, 2, 62, 22}},
      {"buttons keep the layout's", tpTop, tsButtons, false, 90, Raw},
      {"flat buttons keep the layout's", tpBottom, tsFlatButtons, false, 0, Raw},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(CorrectTabRect(W.Pos, W.Style, W.MultiLine, W.Offset, Raw), W.Expected);
  }
}

TEST(TabLayout, RowOffset) {
  struct Row {
    const char* Name;
    Integer TabsOffset, TabWidth, Width, Visible, Expected;
  };
  const Row Rows[] = {
      {"four tabs of 80 in 500", 0, 80, 500, 4, 90},
      {"a set offset wins", 25, 80, 500, 4, 25},
      {"automatic widths: no centring", 0, 0, 500, 4, 0},
      {"a row wider than the control", 0, 80, 200, 4, 0},
      {"odd sums truncate", 0, 33, 101, 3, 1},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(TabsRowOffset(W.TabsOffset, W.TabWidth, W.Width, W.Visible), W.Expected);
  }
}

TEST(TabLayout, ReserveImageSizeFollowsItsInputs) {
  struct Row {
    const char* Name;
    TTabPosition Pos;
    bool Images, Close;
    TPoint Expected;
  };
  // Glyphs 16 x 12, close buttons 14.
  const Row Rows[] = {
      {"nothing", tpTop, false, false, {1, 1}},
      {"glyphs on top", tpTop, true, false, {17, 1}},
      {"close buttons at the bottom", tpBottom, false, true, {15, 1}},
      {"both on top", tpTop, true, true, {31, 1}},
      {"both on the left: heights", tpLeft, true, true, {1, 27}},
      {"glyphs on the right", tpRight, true, false, {1, 13}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(ReserveImageSize(W.Pos, 16, 12, W.Images, W.Close, 14), W.Expected);
  }
  // The sequence that drifted when the size was kept by adding and
  // subtracting: close buttons on top, then the row moved to the left, then
  // the glyphs widened after they were assigned.
  TPoint S = ReserveImageSize(tpTop, 16, 12, true, true, 14);
  EXPECT_EQ(S, TPoint(31, 1));
  S = ReserveImageSize(tpLeft, 16, 12, true, true, 14);
  EXPECT_EQ(S, TPoint(1, 27));
  S = ReserveImageSize(tpLeft, 24, 20, true, true, 14);
  EXPECT_EQ(S, TPoint(1, 35));
  S = ReserveImageSize(tpLeft, 24, 20, false, true, 14);
  EXPECT_EQ(S, TPoint(1, 15));
}

TEST(TabArrows, HiddenAndScrolledCounts) {
  // A control 200 wide: the limit is 197.
  const std::vector<TRect> Tabs = {
      {-80, 0, -20, 20}, {-20, 0, 0, 20}, {0, 0, 60, 20}, {60, 0, 197, 20}, {197, 0, 198, 20}, {198, 0, 260, 20},
  };
  EXPECT_EQ(HiddenTabCount(Tabs, 197), 4);
  EXPECT_EQ(ScrolledTabCount(Tabs), 2);
  EXPECT_EQ(HiddenTabCount({}, 197), 0);
  EXPECT_EQ(HiddenTabCount({{0, 0, 197, 20}}, 197), 0) << "a tab ending at the limit is shown";
}

TEST(TabArrows, Place) {
  // Arrows 40 x 20 on a control 300 x 100; skin margins: top 4, bottom 5
  // (SkinRect 60 high, ClRect bottom 55).
  const TRect Skin(0, 0, 100, 60), Cl(3, 4, 96, 55);
  struct Row {
    const char* Name;
    TTabPosition Pos;
    bool Skinned;
    TRect Display;
    TPoint Expected;
  };
  const Row Rows[] = {
      {"top unskinned", tpTop, false, {1, 19, 299, 99}, {260, 0}},
      {"top skinned above the page", tpTop, true, {3, 30, 296, 95}, {260, 6}},
      {"top skinned never above 0", tpTop, true, {3, 22, 296, 95}, {260, 0}},
      {"bottom unskinned", tpBottom, false, {1, 1, 299, 79}, {260, 80}},
      {"bottom skinned below the page", tpBottom, true, {3, 4, 296, 70}, {260, 75}},
      {"bottom skinned never below the edge", tpBottom, true, {3, 4, 296, 79}, {260, 80}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    TspArrowPlaceIn In;
    In.Position = W.Pos;
    In.Skinned = W.Skinned;
    In.Width = 300;
    In.Height = 100;
    In.ArrowWidth = 40;
    In.ArrowHeight = 20;
    In.DisplayRect = W.Display;
    In.SkinRect = Skin;
    In.ClRect = Cl;
    EXPECT_EQ(TabArrowsPlace(In), W.Expected);
  }
}

TEST(TabImages, CloseButtonThroughTheTurns) {
  // A lying tab image 60 x 20 with its button at (40, 3, 54, 17).
  const TRect B(40, 3, 54, 17);
  struct Row {
    const char* Name;
    TTabPosition Pos;
    bool Horizontal;
    TRect Expected;
  };
  const Row Rows[] = {
      {"top stays", tpTop, false, B},
      {"bottom stays (the flip keeps it centred)", tpBottom, false, B},
      {"left: counter-clockwise", tpLeft, false, {3, 6, 17, 20}},
      {"right: clockwise", tpRight, false, {3, 40, 17, 54}},
      {"left with upright text: already turned", tpLeft, true, B},
      {"right with upright text", tpRight, true, B},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(TabCloseButtonRect(W.Pos, W.Horizontal, B, 60, 20), W.Expected);
  }
}

TEST(TabImages, GlyphAndCaptionPlace) {
  struct Row {
    const char* Name;
    Integer W, H, Offset;
    bool Empty;
    Integer TW, TH, IW, IH;
    TPoint Glyph;
    TRect Caption;
  };
  const Row Rows[] = {
      {"glyph and caption", 80, 20, 0, false, 40, 14, 16, 16, {10, 2}, {28, 3, 70, 17}},
      {"nudged 2 down", 80, 20, 2, false, 40, 14, 16, 16, {10, 4}, {28, 5, 70, 19}},
      {"empty caption: glyph alone", 80, 20, 0, true, 0, 14, 16, 16, {31, 2}, {49, 3, 49, 17}},
      {"no glyph (reserve 1 x 1)", 80, 20, 0, false, 40, 14, 1, 1, {18, 10}, {21, 3, 63, 17}},
      {"negative nudge", 80, 24, -2, false, 40, 14, 16, 16, {10, 2}, {28, 3, 70, 17}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    const TspTabContentPlace P = TabImageAndTextPlace(W.W, W.H, W.Offset, W.Empty, W.TW, W.TH, W.IW, W.IH);
    EXPECT_EQ(P.Glyph, W.Glyph);
    EXPECT_EQ(P.Caption, W.Caption);
  }
}

TEST(TabImages, TileCopies) {
  struct Row {
    const char* Name;
    Integer AW, AH, TW, TH, Columns, Rows;
  };
  const Row Rows[] = {
      {"one more than fit", 100, 50, 30, 20, 4, 3},
      {"exact fit still one more", 90, 40, 30, 20, 4, 3},
      {"tile larger than the area", 10, 10, 30, 20, 1, 1},
      {"zero-wide tile draws nothing", 100, 50, 0, 20, 0, 0},
      {"zero-high tile draws nothing", 100, 50, 30, 0, 0, 0},
      {"empty area", 0, 50, 30, 20, 0, 0},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    const TspTileCount C = TileCopies(W.AW, W.AH, W.TW, W.TH);
    EXPECT_EQ(C.Columns, W.Columns);
    EXPECT_EQ(C.Rows, W.Rows);
  }
}

TEST(TreeBars, Visibility) {
  struct Row {
    const char* Name;
    bool StyleBit;
    Integer Max, Page, Count;
    bool Visible, Expected;
  };
  const Row Rows[] = {
      {"overflowing", true, 49, 20, 50, true, true},
      {"the window's bar cleared: stale range ignored", false, 49, 20, 50, true, false},
      {"empty range", true, 0, 20, 50, true, false},
      {"page beyond the range", true, 10, 20, 50, true, false},
      {"range not below the item count", true, 50, 20, 50, true, false},
      {"hidden tree", true, 49, 20, 50, false, false},
      {"page equal to the range", true, 20, 20, 50, true, true},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(TreeVertBarVisible(W.StyleBit, W.Max, W.Page, W.Count, W.Visible), W.Expected);
  }
  EXPECT_TRUE(TreeHorzBarVisible(true, 300, 200, true));
  EXPECT_FALSE(TreeHorzBarVisible(true, 200, 200, true));
  EXPECT_FALSE(TreeHorzBarVisible(false, 300, 200, true));
  EXPECT_FALSE(TreeHorzBarVisible(true, 300, 200, false));
}

TEST(TreeBars, FadingLineAlphas) {
  using A = std::vector<Byte>;
  struct Row {
    const char* Name;
    Integer W;
    A Expected;
  };
  const Row Rows[] = {
      {"twelve: half 6, step 42", 12, {255, 255, 255, 255, 255, 255, 255, 213, 171, 129, 87, 45}},
      {"five: half 2, step 128 (127.5 to even), floor 0", 5, {255, 255, 255, 127, 0}},
      {"one: half taken as 1", 1, {255}},
      {"two", 2, {255, 255}},
      {"none", 0, {}},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    EXPECT_EQ(FadingLineAlphas(W.W), W.Expected);
  }
}

}  // namespace
