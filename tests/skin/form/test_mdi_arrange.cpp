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
