// How a document parent arranges its children and sizes its scroll bars,
// without windows.
#include <vector>

#include "common/gtest.h"
#include "skin/form/MdiArrange.h"

TEST(MdiArrange, TileAcross) {
  using V = std::vector<TRect>;
  // Four children over 800 x 600: two columns of two, the last bottom right.
  EXPECT_EQ(TileHorizontalRects(4, 800, 600),
            (V{Bounds(0, 0, 400, 300), Bounds(0, 300, 400, 300), Bounds(400, 0, 400, 300), Bounds(400, 300, 400, 300)}));
  // Three: one column of three rows of 200.
  EXPECT_EQ(TileHorizontalRects(3, 800, 600),
            (V{Bounds(0, 0, 800, 200), Bounds(0, 200, 800, 200), Bounds(0, 400, 800, 200)}));
  EXPECT_EQ(TileHorizontalRects(1, 800, 600), (V{Bounds(0, 0, 800, 600)}));
  EXPECT_TRUE(TileHorizontalRects(0, 800, 600).empty());
  // Five: cells never start left of or above the client area.
  for (const TRect& R : TileHorizontalRects(5, 800, 600)) {
    EXPECT_GE(R.Left, 0);
    EXPECT_GE(R.Top, 0);
  }
}

TEST(MdiArrange, TileDown) {
  using V = std::vector<TRect>;
  // Five over 900 x 600: two in column 0 (300 high), three in column 1 (200 high).
  EXPECT_EQ(TileVerticalRects(5, 900, 600), (V{Bounds(0, 0, 450, 300), Bounds(0, 300, 450, 300),
                                               Bounds(450, 0, 450, 200), Bounds(450, 200, 450, 200),
                                               Bounds(450, 400, 450, 200)}));
  EXPECT_EQ(TileVerticalRects(3, 900, 600),
            (V{Bounds(0, 0, 300, 600), Bounds(300, 0, 300, 600), Bounds(600, 0, 300, 600)}));
}

TEST(MdiArrange, Cascade) {
  // Unskinned sizeable parent (step 22), 800 x 600, three children:
  // k = 160 div 22 = 7 > 3, so each is 756 x 556 at 44, 22 and 0.
  std::vector<TspCascadeChild> C(3);
  const std::vector<TRect> R = CascadeRects(C, 800, 600, 22, 100, 50);
  EXPECT_EQ(R, (std::vector<TRect>{Bounds(44, 44, 756, 556), Bounds(22, 22, 756, 556), Bounds(0, 0, 756, 556)}));
  // Many children: k steps only; offsets start over where a child would stick out.
  std::vector<TspCascadeChild> Many(12);
  const std::vector<TRect> M = CascadeRects(Many, 800, 600, 22, 100, 50);
  EXPECT_EQ(M[11], Bounds(0, 0, 800 - 22 * 7, 600 - 22 * 7));
  for (const TRect& B : M) {
    EXPECT_LE(B.Right, 800);
    EXPECT_LE(B.Bottom, 600);
  }
  // A single border keeps its size; the minimum size holds.
  std::vector<TspCascadeChild> Mixed = {{300, 200, true}, {0, 0, false}};
  const std::vector<TRect> X = CascadeRects(Mixed, 120, 100, 22, 110, 90);
  EXPECT_EQ(X[1], Bounds(0, 0, 110, 90));
  EXPECT_EQ(X[0].Width(), 300);
  // A skin whose client area touches the top gives step 0: taken as 1, no division by zero.
  const std::vector<TRect> Z = CascadeRects(C, 800, 600, 0, 100, 50);
  EXPECT_EQ(Z[2].Left, 0);
  EXPECT_EQ(Z[1].Left, 1);
  EXPECT_EQ(Z[0].Left, 2);
}

TEST(MdiArrange, ScrollBarsFollowTheChildren) {
  // Everything inside: no bars.
  TspMdiScrollState S = MdiScrollState({Bounds(10, 10, 200, 100)}, 800, 600, 17, 17);
  EXPECT_FALSE(S.NeedH);
  EXPECT_FALSE(S.NeedV);
  // A child moved to Left -50: the horizontal bar at position 50, its largest.
  S = MdiScrollState({Bounds(-50, 10, 200, 100)}, 800, 600, 17, 17);
  EXPECT_TRUE(S.NeedH);
  EXPECT_FALSE(S.NeedV);
  EXPECT_EQ(S.HMax, 849);
  EXPECT_EQ(S.HPos, 50);
  EXPECT_EQ(S.HPage, 800);
  EXPECT_EQ(S.HMax - S.HPage + 1, S.HPos);
  // A child reaching into the band of the other bar needs both.
  S = MdiScrollState({Bounds(-50, 10, 200, 590)}, 800, 600, 17, 17);
  EXPECT_TRUE(S.NeedH);
  EXPECT_TRUE(S.NeedV);
  EXPECT_EQ(S.HPage, 783);
  EXPECT_EQ(S.VPage, 583);
  EXPECT_EQ(S.VPos, 0);
  // Below the area only: the vertical bar.
  S = MdiScrollState({Bounds(0, 500, 100, 200)}, 800, 600, 17, 17);
  EXPECT_FALSE(S.NeedH);
  EXPECT_TRUE(S.NeedV);
  EXPECT_EQ(S.VMax, 699);
}

TEST(MdiArrange, TabsRowWidthsCrowdingAndStretch) {
  using V = std::vector<TRect>;
  // 150 pixels, three tabs: 45 each from 15, the last stretched to 150.
  auto L = MdiTabsLayout(3, 150, 21, 100, 0);
  EXPECT_EQ(L.Rects, (V{TRect(15, 0, 60, 21), TRect(60, 0, 105, 21), TRect(105, 0, 150, 21)}));
  EXPECT_EQ(L.InVisibleCount, 0);
  EXPECT_EQ(L.DragLimit, 150);
  // One tab on a wide bar: the default width, not stretched.
  L = MdiTabsLayout(1, 600, 21, 100, 0);
  EXPECT_EQ(L.Rects, (V{TRect(15, 0, 115, 21)}));
  // Minimum 60 on 200 pixels with four tabs: two show, two hidden.
  L = MdiTabsLayout(4, 200, 18, 100, 60);
  EXPECT_EQ(L.Rects, (V{TRect(15, 0, 75, 18), TRect(75, 0, 135, 18), TRect(), TRect()}));
  EXPECT_EQ(L.Visible, (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(L.InVisibleCount, 2);
  EXPECT_EQ(L.DragLimit, 185);
  // A minimum the width already meets changes nothing.
  EXPECT_EQ(MdiTabsLayout(3, 150, 21, 100, 40).Rects, MdiTabsLayout(3, 150, 21, 100, 0).Rects);
  EXPECT_TRUE(MdiTabsLayout(0, 150, 21, 100, 0).Rects.empty());
}

TEST(MdiArrange, TabDragStaysOnTheBarAndDropsPastMiddles) {
  // Kept between 0 and the limit.
  EXPECT_EQ(DraggedTabRect(TRect(15, 0, 60, 21), -40, 150), TRect(0, 0, 45, 21));
  EXPECT_EQ(DraggedTabRect(TRect(105, 0, 150, 21), 30, 150), TRect(105, 0, 150, 21));
  EXPECT_EQ(DraggedTabRect(TRect(15, 0, 60, 21), 10, 150), TRect(25, 0, 70, 21));
  std::vector<TRect> R{TRect(15, 0, 60, 21), TRect(60, 0, 105, 21), TRect(105, 0, 150, 21)};
  std::vector<bool> Vis{true, true, true};
  struct Row {
    Integer Drag, DX, Want;
  } Rows[] = {
      {0, 1, -1},    // one pixel: no middle passed
      {0, 23, 1},    // right edge 83 passes the middle 82 of tab 1
      {0, 22, -1},   // 82 is not past 82
      {0, 68, 2},    // past the middle of the last one too: the last
      {2, -23, -1},  // left edge 82: the middle 82 is not right of it
      {2, -24, 1},   // left edge 81: tab 1's middle 82 lies right of it
      {2, -68, 1},   // left edge 37: tab 0's middle 37 is not right of it
      {2, -69, 0},   // left edge 36: the one nearest the start
      {1, 0, -1},    // no movement
  };
  for (const Row& Rw : Rows) {
    auto M = R;
    M[size_t(Rw.Drag)] = DraggedTabRect(M[size_t(Rw.Drag)], Rw.DX, 150);
    EXPECT_EQ(MdiTabDropIndex(M, Vis, Rw.Drag, Rw.DX), Rw.Want) << Rw.Drag << " " << Rw.DX;
  }
  // Hidden tabs take no drop.
  auto M = R;
  M[0] = DraggedTabRect(M[0], 68, 150);
  EXPECT_EQ(MdiTabDropIndex(M, {true, true, false}, 0, 68), 1);
}
