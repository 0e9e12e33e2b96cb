// The bars' arithmetic as tables: the scroll bar's clamps, part layout
// (default look and a synthetic skin) and drag offsets, the track bar's
// button and the value of a button position.
#include "common/gtest.h"

#include "skin/controls/SkinBarGeometry.h"

namespace {

TEST(ScrollValues, PositionClampAndRangeChanges) {
  struct Row {
    TspScrollRange R;
    Integer Value;
    Integer Clamped;
  };
  const Row Rows[] = {
      {{0, 100, 30}, 150, 71}, {{0, 100, 30}, -5, 0},  {{0, 100, 30}, 50, 50}, {{0, 100, 0}, 150, 100},
      {{10, 50, 10}, 0, 10},   {{10, 50, 10}, 45, 41}, {{10, 50, 0}, 50, 50},
  };
  for (const Row& W : Rows)
    EXPECT_EQ(ScrollClampPosition(W.R, W.Value), W.Clamped) << W.R.Min << ".." << W.R.Max << " page " << W.R.PageSize;
}

TEST(ScrollValues, PositionAfterMaxKeepsAbsolutePositions) {
  struct Row {
    TspScrollRange R;  // with the new Max
    Integer Position;
    Integer Kept;
  };
  const Row Rows[] = {
      {{10, 50, 10}, 45, 41},   // the page's top is Max - PageSize + 1, not a range length
      {{10, 50, 10}, 30, 30},   // inside: unchanged
      {{0, 50, 10}, 45, 41},    // Min 0 as every caller has
      {{10, 20, 30}, 15, 10},   // a page larger than the range: Min wins
      {{0, 40, 0}, 60, 40},     // no page: lowered to Max
      {{0, 40, 0}, 30, 30},
  };
  for (const Row& W : Rows) EXPECT_EQ(ScrollPositionAfterMax(W.R, W.Position), W.Kept) << W.Position;
}

TEST(ScrollValues, PageFitsTheRestOfTheRange) {
  struct Row {
    TspScrollRange R;
    Integer Position, Page;
    bool Fits;
  };
  const Row Rows[] = {
      {{0, 100, 0}, 71, 30, true}, {{0, 100, 0}, 71, 31, false}, {{10, 50, 0}, 41, 10, true},
      {{10, 50, 0}, 41, 11, false}, {{10, 50, 0}, 10, 41, true},
  };
  for (const Row& W : Rows) EXPECT_EQ(ScrollPageFits(W.R, W.Position, W.Page), W.Fits) << W.Position << "+" << W.Page;
}

TspScrollLayoutIn Plain(Integer W, Integer H, bool Vertical, TspScrollRange R, Integer Position) {
  TspScrollLayoutIn In;
  In.Width = W;
  In.Height = H;
  In.Vertical = Vertical;
  In.Range = R;
  In.Position = Position;
  return In;
}

TEST(ScrollLayout, DefaultLookParts) {
  struct Row {
    const char* Name;
    TspScrollLayoutIn In;
    TRect Thumb, Up, Down, Track;
  };
  TspScrollLayoutIn Both = Plain(200, 19, false, {0, 100, 0}, 100);
  Both.Both = true;
  Both.BothMarkerWidth = 20;
  const Row Rows[] = {
      {"h min", Plain(200, 19, false, {0, 100, 0}, 0), {17, 1, 33, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      {"h max", Plain(200, 19, false, {0, 100, 0}, 100), {167, 1, 183, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      {"h mid", Plain(200, 19, false, {0, 100, 0}, 50), {92, 1, 108, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      {"h page top", Plain(200, 19, false, {0, 100, 30}, 71), {135, 1, 183, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      {"h page 0", Plain(200, 19, false, {0, 100, 30}, 0), {17, 1, 65, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      // A page covering the whole range keeps the thumb at the start.
      {"h page covers", Plain(200, 19, false, {0, 100, 150}, 0), {17, 1, 263, 18}, {183, 1, 199, 18}, {1, 1, 17, 18}, {17, 1, 183, 18}},
      {"v max", Plain(19, 200, true, {0, 100, 0}, 100), {1, 167, 18, 183}, {1, 183, 18, 199}, {1, 1, 18, 17}, {1, 17, 18, 183}},
      {"v page covers", Plain(19, 200, true, {0, 100, 150}, 0), {1, 17, 18, 263}, {1, 183, 18, 199}, {1, 1, 18, 17}, {1, 17, 18, 183}},
      {"both", Both, {147, 1, 163, 18}, {163, 1, 179, 18}, {1, 1, 17, 18}, {17, 1, 163, 18}},
  };
  for (const Row& W : Rows) {
    const TspScrollLayout L = ScrollCalcRects(W.In);
    EXPECT_EQ(L.Parts[sbpThumb], W.Thumb) << W.Name;
    EXPECT_EQ(L.Parts[sbpUp], W.Up) << W.Name;
    EXPECT_EQ(L.Parts[sbpDown], W.Down) << W.Name;
    EXPECT_EQ(L.Track, W.Track) << W.Name;
  }
}

TEST(ScrollLayout, DefaultThumbLeftRunsFrom17To167) {
  for (Integer P = 0; P <= 100; ++P) {
    const TRect T = ScrollCalcRects(Plain(200, 19, false, {0, 100, 0}, P)).Parts[sbpThumb];
    EXPECT_EQ(T.Width(), 16);
    EXPECT_GE(T.Left, 17);
    EXPECT_LE(T.Left, 167);
  }
}

// A 100 x 17 horizontal skin: buttons 15 wide at both ends, the track
// between, the stretch point at x 50, a 20 x 13 thumb.
TspScrollLayoutIn Skinned(Integer W, TspScrollRange R, Integer Position) {
  TspScrollLayoutIn In = Plain(W, 17, false, R, Position);
  In.Skinned = true;
  In.Skin.SkinRect = TRect(0, 0, 100, 17);
  In.Skin.TrackArea = TRect(15, 1, 85, 16);
  In.Skin.DownButtonRect = TRect(0, 0, 15, 17);
  In.Skin.UpButtonRect = TRect(85, 0, 100, 17);
  In.Skin.RTPt = TPoint(50, 0);
  In.Skin.ThumbRect = TRect(0, 20, 20, 33);
  return In;
}

TEST(ScrollLayout, SkinnedParts) {
  struct Row {
    const char* Name;
    TspScrollLayoutIn In;
    TRect Thumb, Up, Down, Track;
  };
  TspScrollLayoutIn MinSize = Skinned(200, {0, 100, 0}, 50);
  MinSize.Skin.ThumbMinSize = 30;
  TspScrollLayoutIn NoPageSize = Skinned(200, {0, 100, 0}, 0);
  NoPageSize.Skin.ThumbMinPageSize = 40;
  TspScrollLayoutIn Vert = Skinned(17, {0, 100, 0}, 100);
  Vert.Vertical = true;
  Vert.Height = 200;
  Vert.Skin.SkinRect = TRect(0, 0, 17, 100);
  Vert.Skin.TrackArea = TRect(1, 15, 16, 85);
  Vert.Skin.DownButtonRect = TRect(0, 0, 17, 15);
  Vert.Skin.UpButtonRect = TRect(0, 85, 17, 100);
  Vert.Skin.LBPt = TPoint(0, 50);
  Vert.Skin.ThumbRect = TRect(0, 0, 13, 20);
  const Row Rows[] = {
      {"mid", Skinned(200, {0, 100, 0}, 50), {90, 2, 110, 15}, {185, 0, 200, 17}, {0, 0, 15, 17}, {15, 1, 185, 16}},
      {"min size", MinSize, {85, 2, 115, 15}, {185, 0, 200, 17}, {0, 0, 15, 17}, {15, 1, 185, 16}},
      {"no-page size", NoPageSize, {15, 2, 55, 15}, {185, 0, 200, 17}, {0, 0, 15, 17}, {15, 1, 185, 16}},
      // A page's share (round(170 x 50 / 101) = 84) is longer than the thumb.
      {"page", Skinned(200, {0, 100, 50}, 51), {101, 2, 185, 15}, {185, 0, 200, 17}, {0, 0, 15, 17}, {15, 1, 185, 16}},
      {"vertical", Vert, {2, 165, 15, 185}, {0, 185, 17, 200}, {0, 0, 17, 15}, {1, 15, 16, 185}},
  };
  for (const Row& W : Rows) {
    const TspScrollLayout L = ScrollCalcRects(W.In);
    EXPECT_EQ(L.Parts[sbpThumb], W.Thumb) << W.Name;
    EXPECT_EQ(L.Parts[sbpUp], W.Up) << W.Name;
    EXPECT_EQ(L.Parts[sbpDown], W.Down) << W.Name;
    EXPECT_EQ(L.Track, W.Track) << W.Name;
  }
}

TEST(ScrollLayout, OffsetToPosition) {
  struct Row {
    const char* Name;
    TspScrollLayoutIn In;
    Integer D, Position;
  };
  const Row Rows[] = {
      {"start", Plain(200, 19, false, {0, 100, 0}, 0), 0, 0},
      {"end", Plain(200, 19, false, {0, 100, 0}, 0), 150, 100},
      {"before", Plain(200, 19, false, {0, 100, 0}, 0), -30, 0},
      {"past", Plain(200, 19, false, {0, 100, 0}, 0), 500, 100},
      {"half", Plain(200, 19, false, {0, 100, 0}, 0), 75, 50},
      {"min 10", Plain(200, 19, false, {10, 20, 0}, 10), 75, 15},
      {"page end", Plain(200, 19, false, {0, 100, 30}, 0), 118, 71},
      {"page past", Plain(200, 19, false, {0, 100, 30}, 0), 1000, 71},
      // 35.5 rounds to the even 36.
      {"page half", Plain(200, 19, false, {0, 100, 30}, 0), 59, 36},
      {"no track", Plain(34, 19, false, {5, 100, 0}, 50), 10, 5},
  };
  for (const Row& W : Rows) {
    const TspScrollLayout L = ScrollCalcRects(W.In);
    EXPECT_EQ(ScrollOffsetToPosition(W.In.Range, L, W.In.Vertical, W.D), W.Position) << W.Name;
  }
}

// ---------------------------------------------------------------------------

TEST(TrackBarGeometry, ButtonRects) {
  struct Row {
    const char* Name;
    TRect R;
    bool Vertical;
    Integer Min, Max, Value, BW, BH, W, H;
    Integer O1, O2;
    TRect Button;
  };
  const Row Rows[] = {
      {"h 50", {2, 2, 98, 18}, false, 0, 100, 50, 0, 0, 100, 20, 6, 94, {46, 2, 54, 18}},
      {"h 0", {2, 2, 98, 18}, false, 0, 100, 0, 0, 0, 100, 20, 6, 94, {2, 2, 10, 18}},
      {"h 100", {2, 2, 98, 18}, false, 0, 100, 100, 0, 0, 100, 20, 6, 94, {90, 2, 98, 18}},
      {"v 0", {2, 2, 18, 98}, true, 0, 100, 0, 0, 0, 20, 100, 6, 94, {2, 90, 18, 98}},
      {"v 100", {2, 2, 18, 98}, true, 0, 100, 100, 0, 0, 20, 100, 6, 94, {2, 2, 18, 10}},
      {"empty range", {2, 2, 98, 18}, false, 5, 5, 5, 0, 0, 100, 20, 6, 94, {2, 2, 10, 18}},
      {"skinned", {10, 3, 110, 13}, false, 0, 10, 5, 11, 7, 120, 16, 15, 105, {55, 5, 66, 12}},
  };
  for (const Row& W : Rows) {
    const TspTrackButton T = TrackButtonRect(W.R, W.Vertical, W.Min, W.Max, W.Value, W.BW, W.BH, W.W, W.H);
    EXPECT_EQ(T.Offset1, W.O1) << W.Name;
    EXPECT_EQ(T.Offset2, W.O2) << W.Name;
    EXPECT_EQ(T.Button, W.Button) << W.Name;
  }
}

TEST(TrackBarGeometry, ValueOfPositionAndClamp) {
  struct Row {
    Integer Min, Max, O1, O2, P, Value;
  };
  const Row Rows[] = {
      {0, 100, 6, 94, 44, 50},  {0, 100, 6, 94, 88, 100}, {0, 100, 6, 94, -5, 0}, {0, 100, 6, 94, 200, 100},
      {0, 100, 6, 6, 30, 0},    {1, 200, 6, 94, 44, 101},  // 99.5 to the even 100
      {7, 7, 6, 94, 44, 7},
  };
  for (const Row& W : Rows) EXPECT_EQ(TrackValueOfPos(W.Min, W.Max, W.O1, W.O2, W.P), W.Value) << W.P;

  struct Clamp {
    Integer Min, Max, Value, Result;
  };
  const Clamp Clamps[] = {{0, 100, 150, 100}, {0, 100, -1, 0}, {0, 100, 40, 40}, {10, 5, 7, 5}, {10, 5, 3, 10}};
  for (const Clamp& C : Clamps) EXPECT_EQ(TrackClampValue(C.Min, C.Max, C.Value), C.Result) << C.Value;
}

TEST(TrackBarGeometry, JumpCentresTheButtonUnderTheClick) {
  const TRect BR(46, 2, 54, 18);
  EXPECT_EQ(TrackJumpPos(false, 50, 10, 20, BR, 2), 44);
  const TRect VBR(2, 46, 18, 54);
  EXPECT_EQ(TrackJumpPos(true, 10, 50, 100, VBR, 2), 44);
  // A skinned vertical track measured from its bottom margin.
  EXPECT_EQ(TrackJumpPos(true, 10, 50, 100, VBR, 7), 39);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------

TEST(StatusGrip, RectAndStripesOfA21PixelBar) {
  // A 300 x 21 bar whose client rect lost the grip's 21 pixels.
  const TRect S(0, 0, 279, 21);
  EXPECT_EQ(StatusGripRect(S, 0, 0), TRect(281, 0, 300, 19));
  EXPECT_EQ(StatusGripRect(S, 12, 14), TRect(279, 7, 291, 21));
  const std::vector<TspGripLine> L = StatusGripStripes(TRect(281, 0, 300, 19));
  // Every third diagonal from x 284 while two pixels remain: 284 .. 296.
  ASSERT_EQ(L.size(), 10u);
  EXPECT_EQ(L[0], (TspGripLine{284, 19, 300, 3, true}));
  EXPECT_EQ(L[1], (TspGripLine{285, 19, 300, 4, false}));
  EXPECT_EQ(L[8], (TspGripLine{296, 19, 300, 15, true}));
  EXPECT_TRUE(StatusGripStripes(TRect(0, 0, 4, 4)).empty());
}

// ---------------------------------------------------------------------------

// A 400 x 300 parent: a top panel 40 high, a left panel 100 wide under it,
// a 5-pixel left bar beside it, the rest client.
std::vector<TspSplitSibling> Parent(bool TopVisible = true) {
  return {
      {{0, 0, 400, 40}, TopVisible, true, saTop},
      {{0, 40, 100, 300}, true, true, saLeft},
      {{100, 40, 105, 300}, true, true, saLeft},  // the bar
      {{105, 40, 400, 300}, true, true, saClient},
  };
}

TEST(Splitter, NeighbourOnTheAlignedSide) {
  const auto P = Parent();
  struct Row {
    const char* Name;
    TspSplitAlign A;
    TRect Bar;
    std::vector<TspSplitSibling> S;
    Integer N;
  };
  auto Disabled = Parent();
  Disabled[1].Enabled = false;
  auto Zero = Parent();
  Zero[1].Bounds = TRect(100, 40, 100, 300);  // a collapsed left panel
  const Row Rows[] = {
      {"left", saLeft, {100, 40, 105, 300}, P, 1},
      {"right", saRight, {100, 40, 105, 300}, P, 3},
      {"top", saTop, {0, 40, 400, 45}, P, 0},
      {"bottom", saBottom, {0, 35, 400, 40}, P, 1},
      {"disabled neighbour", saLeft, {100, 40, 105, 300}, Disabled, -1},
      {"zero width counts one pixel", saLeft, {100, 40, 105, 300}, Zero, 1},
      {"client bar", saClient, {100, 40, 105, 300}, P, -1},
      {"no alignment", saNone, {100, 40, 105, 300}, P, -1},
  };
  for (const Row& R : Rows) EXPECT_EQ(SplitterNeighbour(R.A, R.Bar, R.S), R.N) << R.Name;
}

TEST(Splitter, MaximumCountsVisibleControlsOnly) {
  // Left bar: 400 - 30 - (100 + 5) + 100 = 365.
  EXPECT_EQ(SplitterMaxSize(saLeft, 400, 300, 30, Parent(), 1), 365);
  // Top bar under the top panel: 300 - 30 - 40 + 40 = 270.
  auto S = Parent();
  S.push_back({{0, 40, 400, 45}, true, true, saTop});
  EXPECT_EQ(SplitterMaxSize(saTop, 400, 300, 30, S, 0), 265);
  // An invisible top panel reduces nothing.
  auto Hidden = Parent(false);
  Hidden.push_back({{0, 0, 400, 25}, false, true, saBottom});
  EXPECT_EQ(SplitterMaxSize(saTop, 400, 300, 30, Hidden, 3), 300 - 30 + 260);
}

TEST(Splitter, SizeForAnOffsetIsClampedAndTheSplitFollows) {
  struct Row {
    TspSplitAlign A;
    Integer Split, Size, SplitAfter;
  };
  // A 100 x 80 neighbour, MinSize 30, MaxSize 200.
  const Row Rows[] = {
      {saLeft, 20, 120, 20},   {saLeft, -90, 30, -70},  {saLeft, 150, 200, 100},
      {saRight, 20, 80, 20},   {saRight, 90, 30, 70},   {saTop, 10, 90, 10},
      {saBottom, -10, 90, -10}, {saBottom, 60, 30, 50},
  };
  for (const Row& R : Rows) {
    Integer Split = R.Split;
    EXPECT_EQ(SplitterNewSize(R.A, 100, 80, 30, 200, Split), R.Size) << int(R.A) << " " << R.Split;
    EXPECT_EQ(Split, R.SplitAfter) << int(R.A) << " " << R.Split;
  }
}

}  // namespace
