// The skinned controls' arithmetic, as tables: resize modes and sizes forced
// by the skin, skin rects at a control's size, image and glyph choices, the
// cross-fade and animation steps, the drop-down part, the ArrowMode mark,
// the panel's client rect and paint path, the flat box and the bevel lines.
#include "common/gtest.h"

#include <vector>

#include "skin/controls/SkinCtrlGeometry.h"
#include "skin/data/SpLayout.h"

namespace {

// A 40 x 20 skin rect at (100, 50) with corners 5 in from each side.
TspSkinGeometry NineSlice() {
  TspSkinGeometry G;
  G.SkinRect = TRect(100, 50, 140, 70);
  G.LTPt = TPoint(5, 5);
  G.RTPt = TPoint(35, 5);
  G.LBPt = TPoint(5, 15);
  G.RBPt = TPoint(35, 15);
  G.ClRect = TRect(5, 5, 35, 15);
  G.ResizeMode = 1;
  return G;
}

TEST(SkinGeometry, ResizeModeFromCornerPoints) {
  const TRect R(0, 0, 10, 10);
  struct Row {
    TRect Skin;
    TPoint RT, LB, RB;
    Integer Mode;
  } Rows[] = {
      {TRect(), {1, 1}, {1, 1}, {1, 1}, -1},          // empty skin rect wins
      {TRect(0, 0, 10, 0), {1, 1}, {1, 1}, {1, 1}, -1},
      {R, {0, 0}, {0, 0}, {8, 8}, 1},
      {R, {8, 0}, {0, 0}, {8, 0}, 2},                 // RB with a zero coordinate is not mode 1
      {R, {0, 3}, {3, 0}, {0, 8}, 2},
      {R, {0, 0}, {0, 8}, {8, 0}, 3},
      {R, {0, 0}, {2, 0}, {0, 0}, 3},
      {R, {0, 0}, {0, 0}, {0, 0}, 0},
  };
  for (const Row& Rw : Rows)
    EXPECT_EQ(CalcResizeMode(Rw.Skin, TPoint(3, 3), Rw.RT, Rw.LB, Rw.RB), Rw.Mode)
        << Rw.RT.X << "," << Rw.RT.Y << " " << Rw.LB.X << "," << Rw.LB.Y << " " << Rw.RB.X << "," << Rw.RB.Y;
}

TEST(SkinGeometry, CalcSkinSizeByMode) {
  struct Row {
    Integer Mode;
    bool Skinned;
    Integer W, H;          // asked
    Integer OutW, OutH;    // given back
    TRect NewCl;
    TPoint NewRT, NewLB, NewRB;
  } Rows[] = {
      // Nine-slice: any size; every point and the client rect move.
      {1, true, 100, 30, 100, 30, TRect(5, 5, 95, 25), {95, 5}, {5, 25}, {95, 25}},
      // Horizontal three-slice: the height is the skin's; LB and RB keep
      // their old values (the sentinel -7).
      {2, true, 100, 30, 100, 20, TRect(5, 5, 95, 15), {95, 5}, {-7, -7}, {-7, -7}},
      // Vertical three-slice: the width is the skin's.
      {3, true, 100, 30, 40, 30, TRect(5, 5, 35, 25), {-7, -7}, {5, 25}, {-7, -7}},
      // Fixed: the skin rect's size and client rect.
      {0, true, 100, 30, 40, 20, TRect(5, 5, 35, 15), {-7, -7}, {-7, -7}, {-7, -7}},
      // Unskinned or without a usable rect nothing changes.
      {0, false, 100, 30, 100, 30, TRect(-7, -7, -7, -7), {-7, -7}, {-7, -7}, {-7, -7}},
      {-1, true, 100, 30, 100, 30, TRect(-7, -7, -7, -7), {-7, -7}, {-7, -7}, {-7, -7}},
  };
  for (const Row& Rw : Rows) {
    SCOPED_TRACE(Rw.Mode);
    TspSkinGeometry G = NineSlice();
    G.ResizeMode = Rw.Mode;
    G.NewRTPoint = G.NewLBPoint = G.NewRBPoint = TPoint(-7, -7);
    G.NewClRect = TRect(-7, -7, -7, -7);
    Integer W = Rw.W, H = Rw.H;
    CalcSkinSize(G, Rw.Skinned, W, H);
    EXPECT_EQ(W, Rw.OutW);
    EXPECT_EQ(H, Rw.OutH);
    EXPECT_EQ(G.NewClRect, Rw.NewCl);
    EXPECT_EQ(G.NewRTPoint, Rw.NewRT);
    EXPECT_EQ(G.NewLBPoint, Rw.NewLB);
    EXPECT_EQ(G.NewRBPoint, Rw.NewRB);
  }
  // dW and dH come from the size passed in, not from the forced one.
  TspSkinGeometry G = NineSlice();
  G.ResizeMode = 2;
  Integer W = 60, H = 99;
  CalcSkinSize(G, true, W, H);
  EXPECT_EQ(G.NewRTPoint, TPoint(55, 5));
  EXPECT_EQ(FreeSizeClientRect(G.ClRect, G.SkinRect, 60, 30), TRect(5, 5, 55, 25));
}

TEST(SkinGeometry, MapSkinRectZones) {
  // The control is 30 wider and 10 higher than the skin rect.
  struct Row {
    Integer Mode;
    TRect In, Out;
  } Rows[] = {
      {1, TRect(1, 1, 4, 4), TRect(1, 1, 4, 4)},        // inside left-top
      {1, TRect(36, 1, 39, 4), TRect(66, 1, 69, 4)},    // inside right-top: moves right
      {1, TRect(1, 16, 4, 19), TRect(1, 26, 4, 29)},    // inside left-bottom: moves down
      {1, TRect(36, 16, 39, 19), TRect(66, 26, 69, 29)},
      {1, TRect(2, 2, 37, 17), TRect(2, 2, 67, 27)},    // left-top to right-bottom: grows both ways
      {1, TRect(2, 2, 37, 4), TRect(2, 2, 67, 4)},      // left-top to right-top: grows right
      {1, TRect(2, 16, 37, 18), TRect(2, 26, 67, 28)},  // left-bottom to right-bottom: grows right, moves down
      {1, TRect(2, 2, 4, 17), TRect(2, 2, 4, 27)},      // left-top to left-bottom: grows down
      {1, TRect(36, 2, 38, 17), TRect(66, 2, 68, 27)},  // right-top to right-bottom: moves right, grows down
      {1, TRect(5, 5, 6, 6), TRect(5, 5, 6, 6)},        // zone edges are inclusive for corners: LT (0,0,5,5)
      {1, TRect(10, 8, 12, 9), TRect(10, 8, 12, 9)},    // the middle stays
      {2, TRect(3, 2, 37, 6), TRect(3, 2, 67, 6)},      // spans the middle
      {2, TRect(35, 2, 38, 6), TRect(65, 2, 68, 6)},    // right part moves
      {2, TRect(10, 2, 20, 6), TRect(10, 2, 20, 6)},
      {3, TRect(2, 3, 6, 16), TRect(2, 3, 6, 26)},
      {3, TRect(2, 15, 6, 18), TRect(2, 25, 6, 28)},
      {0, TRect(36, 16, 39, 19), TRect(36, 16, 39, 19)},
  };
  for (const Row& Rw : Rows) {
    TspSkinGeometry G = NineSlice();
    G.ResizeMode = Rw.Mode;
    const TRect Out = MapSkinRect(G, 70, 30, Rw.In);
    EXPECT_EQ(Out, Rw.Out) << "mode " << Rw.Mode << " in " << Rw.In.Left << "," << Rw.In.Top << "," << Rw.In.Right
                           << "," << Rw.In.Bottom << " out " << Out.Left << "," << Out.Top << "," << Out.Right << ","
                           << Out.Bottom;
  }
}

TEST(SkinGeometry, ButtonImagesAndGlyphFrames) {
  TspPushButtonLook L;
  EXPECT_EQ(ChoosePushButtonImage(L), biNormal);
  L.MorphPossible = true;
  L.MorphKf = 1;
  EXPECT_EQ(ChoosePushButtonImage(L), biActive);  // faded in
  L.MorphKf = 0;
  L.Focused = true;
  EXPECT_EQ(ChoosePushButtonImage(L), biActive);
  L.HasFocusedRect = true;
  EXPECT_EQ(ChoosePushButtonImage(L), biFocused);
  L.AnimationRunning = true;
  EXPECT_EQ(ChoosePushButtonImage(L), biActive);  // the animation frame shows instead
  L.PressedLook = true;
  EXPECT_EQ(ChoosePushButtonImage(L), biDown);
  L.Enabled = false;
  EXPECT_EQ(ChoosePushButtonImage(L), biDown);  // no disabled picture: the state's
  L.HasDisabledRect = true;
  EXPECT_EQ(ChoosePushButtonImage(L), biDisabled);

  EXPECT_EQ(ChooseSpeedButtonImage(true, false, false, false, true, 1), biActive);
  EXPECT_EQ(ChooseSpeedButtonImage(true, false, false, false, false, 1), biNormal);
  EXPECT_EQ(ChooseSpeedButtonImage(false, true, true, true, false, 0), biDisabled);
  EXPECT_EQ(ChooseSpeedButtonImage(true, true, true, false, false, 0), biDown);

  struct Row {
    bool Down, In, Enabled;
    Integer N, Frame;
  } Rows[] = {
      {true, true, true, 4, 3},  {false, true, true, 4, 4},   {false, false, false, 4, 2},
      {true, true, true, 2, 1},  {false, true, true, 3, 1},   {false, false, false, 1, 1},
      {true, true, false, 3, 3}, {false, false, true, 4, 1},
  };
  for (const Row& R : Rows)
    EXPECT_EQ(ButtonGlyphNumber(R.Down, R.In, R.Enabled, R.N), R.Frame) << R.Down << R.In << R.Enabled << R.N;
}

TEST(SkinGeometry, MorphStepsUseTheSystemsComparisons) {
  double K = 0;
  std::vector<double> Up;
  while (MorphTick(K, true)) Up.push_back(K);
  ASSERT_EQ(Up.size(), 5u);
  EXPECT_EQ(Up[2], 0.6000000000000001);
  EXPECT_EQ(Up[4], 1.0);
  EXPECT_EQ(K, 1.0);
  std::vector<double> Down;
  while (MorphTick(K, false)) Down.push_back(K);
  // 0.8 ... a rest just above 0, then one step below 0; the stop tick resets.
  ASSERT_EQ(Down.size(), 6u);
  EXPECT_EQ(Down[0], 0.8);
  EXPECT_GT(Down[4], 0);
  EXPECT_LT(Down[4], 1e-15);
  EXPECT_LT(Down[5], -0.19);
  EXPECT_FALSE(MorphInProgress(Down[5]));
  EXPECT_EQ(K, 0.0);
}

TEST(SkinGeometry, AnimationFrames) {
  const TRect Skin(0, 0, 20, 10);
  EXPECT_EQ(AnimationFrameRect(TRect(0, 20, 80, 30), Skin, 4, 1), TRect(0, 20, 20, 30));
  EXPECT_EQ(AnimationFrameRect(TRect(0, 20, 80, 30), Skin, 4, 3), TRect(40, 20, 60, 30));
  EXPECT_EQ(AnimationFrameRect(TRect(0, 20, 20, 60), Skin, 4, 2), TRect(0, 30, 20, 40));  // stacked
  EXPECT_EQ(AnimationFrameRect(TRect(0, 20, 80, 30), Skin, 0, 1), TRect());
  EXPECT_TRUE(FrameAnimationUsable(TRect(0, 0, 4, 4), 1, 1));
  EXPECT_FALSE(FrameAnimationUsable(TRect(0, 0, 4, 4), 0, 50));
  EXPECT_FALSE(FrameAnimationUsable(TRect(0, 0, 4, 4), 3, 0));
  EXPECT_FALSE(FrameAnimationUsable(TRect(), 3, 50));
}

// A run of three frames: forward from 1 shows 2, 3 and one step past the
// strip (the static image), then stops; back from 3 shows 2, 1 and stops at 0.
TEST(SkinGeometry, AnimationTicksRunOnceThroughTheStrip) {
  for (bool Forward : {true, false}) {
    Integer Frame = Forward ? 1 : 3;
    std::vector<Integer> Shown;
    bool Moved = false;
    bool Going = true;
    while (Going) {
      Going = AnimationTick(Frame, Forward, 3, Moved);
      if (Moved) Shown.push_back(Frame);
    }
    EXPECT_EQ(Shown, Forward ? std::vector<Integer>({2, 3, 4}) : std::vector<Integer>({2, 1, 0})) << Forward;
  }
}

TEST(SkinGeometry, DropDownPartEdgesAndArrowMode) {
  const TRect Part = DropDownPartRect(false, TRect(), 0, TRect(), false, 70, 24);
  EXPECT_TRUE(PointWithinRect(Part, TPoint(70 - 15, 5)));
  EXPECT_TRUE(PointWithinRect(Part, TPoint(70, 5)));
  EXPECT_FALSE(PointWithinRect(Part, TPoint(70 - 16, 5)));
  EXPECT_EQ(DropDownPartRect(false, TRect(), 0, TRect(), true, 70, 40), TRect(0, 25, 70, 40));
  // The description's own part follows a three-slice stretch.
  const TRect Track(30, 0, 40, 20), Skin(0, 0, 40, 20);
  EXPECT_EQ(DropDownPartRect(true, Track, 2, Skin, false, 70, 20), TRect(60, 0, 70, 20));
  EXPECT_EQ(DropDownPartRect(true, TRect(0, 15, 40, 20), 3, TRect(0, 0, 40, 20), false, 40, 50),
            TRect(0, 45, 40, 50));
  EXPECT_EQ(DropDownPartRect(true, Track, 1, Skin, false, 70, 20), Track);
  EXPECT_TRUE(IsToolLookName(u"resizetoolbutton"));
  EXPECT_FALSE(IsToolLookName(u"toolmenubutton"));

  TPoint P[3];
  ASSERT_TRUE(ArrowModeTriangle(1, 70, 24, 20, P));
  EXPECT_EQ(P[0], TPoint(55, 13));
  EXPECT_EQ(P[2], TPoint(58, 10));
  ASSERT_TRUE(ArrowModeTriangle(2, 70, 24, 40, P));
  EXPECT_EQ(P[0], TPoint(60, 10));
  EXPECT_EQ(P[1], TPoint(66, 10));
  EXPECT_EQ(P[2], TPoint(63, 13));
  EXPECT_FALSE(ArrowModeTriangle(0, 70, 24, 20, P));
}

TEST(SkinGeometry, PanelClientRect) {
  const TRect In(0, 0, 100, 80);
  const TRect Skin(8, 6, 92, 74);
  struct Row {
    bool Skinned, Transparent, Caption, Ribbon, UseSkinSize, Background, None;
    Integer Mode;
    TRect Out;
  } Rows[] = {
      {false, false, false, false, true, false, false, 1, TRect(1, 1, 99, 79)},
      {false, false, false, false, true, false, true, 1, TRect(0, 0, 100, 80)},
      {false, false, true, false, true, false, false, 1, TRect(1, 23, 99, 79)},
      {false, false, true, true, true, false, false, 1, TRect(1, 1, 99, 57)},
      {false, true, true, false, true, false, true, 1, TRect(0, 22, 100, 80)},  // transparent counts only skinned
      {true, false, false, false, true, false, false, 1, Skin},
      {true, false, false, false, true, false, true, 1, In},                    // borderless tiled
      {true, false, true, false, true, false, true, 1, Skin},                   // caption: not tiled
      {true, false, false, false, true, false, true, 0, Skin},
      {true, false, false, false, true, true, false, 1, In},                    // background picture
      {true, false, true, false, false, false, false, 1, TRect(8, 22, 92, 74)},
      {true, false, true, true, false, false, false, 1, TRect(8, 6, 92, 58)},
      {true, true, false, false, true, false, false, 1, TRect(2, 2, 98, 78)},
      {true, true, true, false, true, false, false, 1, TRect(2, 15, 98, 78)},
  };
  for (const Row& R : Rows) {
    TspPanelFrame P;
    P.Skinned = R.Skinned;
    P.TransparentMode = R.Transparent;
    P.CaptionMode = R.Caption;
    P.RibbonStyle = R.Ribbon;
    P.UseSkinSize = R.UseSkinSize;
    P.HasBackgroundPicture = R.Background;
    P.BorderNone = R.None;
    P.ResizeMode = R.Mode;
    P.Width = 100;
    P.Height = 80;
    P.CaptionTextHeight = 15;
    P.NewClRect = Skin;
    const TRect Out = PanelClientRect(P, In);
    EXPECT_EQ(Out, R.Out) << &R - Rows;
  }
}

TEST(SkinGeometry, PanelPaintPath) {
  struct Row {
    bool Skinned, UseSkinSize, Transparent, Caption, Force, Stretch, None, Alpha;
    Integer Mode;
    TspPanelPaintPath Path;
  } Rows[] = {
      {true, false, false, true, true, false, false, false, 1, ppCaptionStrip},
      {true, false, true, true, true, false, false, false, 1, ppGroupBox},
      {true, true, true, false, true, false, false, false, 1, ppTransparent},
      {false, true, true, true, true, false, false, false, 1, ppBase},
      {true, true, false, false, false, true, false, false, 1, ppBase},
      {true, true, false, false, true, false, true, false, 1, ppBorderless},
      {true, true, false, false, true, false, true, true, 1, ppSkinned},   // blended: not straight on the canvas
      {true, true, false, true, true, false, true, false, 1, ppSkinned},
      {true, true, false, false, true, false, false, false, 1, ppSkinned},  // the program's framed panels
      {true, true, false, false, true, false, true, false, 0, ppSkinned},
  };
  for (const Row& R : Rows) {
    TspPanelFrame P;
    P.Skinned = R.Skinned;
    P.UseSkinSize = R.UseSkinSize;
    P.TransparentMode = R.Transparent;
    P.CaptionMode = R.Caption;
    P.ForceBackground = R.Force;
    P.StretchEffect = R.Stretch;
    P.BorderNone = R.None;
    P.AlphaBlend = R.Alpha;
    P.ResizeMode = R.Mode;
    EXPECT_EQ(PanelPaintPath(P), R.Path) << &R - Rows;
  }
}

TEST(SkinGeometry, PanelCaptionPlaces) {
  EXPECT_EQ(PanelCaptionStripRect(true, false, 100, 80, 22), TRect(0, 0, 100, 22));
  EXPECT_EQ(PanelCaptionStripRect(true, true, 100, 80, 22), TRect(0, 58, 100, 80));
  EXPECT_EQ(PanelCaptionStripRect(false, false, 100, 80, 22), TRect(1, 1, 99, 22));
  EXPECT_EQ(PanelCaptionStripRect(false, true, 100, 80, 22), TRect(1, 57, 99, 79));
  const TRect R(22, 2, 98, 20);
  EXPECT_EQ(PanelCaptionTextX(R, taLeftJustify, 30, 2), 24);
  EXPECT_EQ(PanelCaptionTextX(R, taRightJustify, 30, 2), 68);
  EXPECT_EQ(PanelCaptionTextX(R, taCenter, 30, 2), 38 + 22 + 2 - 15);
  EXPECT_EQ(PanelCaptionTextX(R, taCenter, 31, 0), 38 + 22 - 15);
  EXPECT_EQ(CentredTop(R, 14), 9 + 2 - 7);
}

TEST(SkinGeometry, FlatCheckBoxLayout) {
  // A box 20 pixels high: box (3,3)-(17,17), mark at (7,6), radio dot at (7,7).
  EXPECT_EQ(CheckBoxFrameRect(20), TRect(3, 3, 17, 17));
  EXPECT_EQ(CheckMarkPos(20), TPoint(7, 6));
  EXPECT_EQ(RadioDotPos(20), TPoint(7, 7));
  EXPECT_EQ(FlatCheckTextRect(FlatCheckTextLeft, 40, 14, 150, 20), TRect(22, 3, 62, 17));
  EXPECT_EQ(FlatCheckTextRect(22, 200, 15, 150, 25), TRect(22, 5, 148, 20));  // cut at Width - 2
  EXPECT_EQ(CheckFocusRect(TRect(22, 3, 62, 17)), TRect(20, 2, 65, 18));
  struct Row {
    bool Enabled, In, Checked, Grayed;
    TspCheckImage Image;
  } Rows[] = {
      {true, true, true, false, ciActiveCheck},    {true, true, false, false, ciActiveUnCheck},
      {true, false, true, false, ciCheck},         {true, false, false, false, ciUnCheck},
      {false, true, true, false, ciUnEnabledCheck}, {false, false, false, false, ciUnEnabledUnCheck},
      {true, false, false, true, ciCheck},         {true, true, false, true, ciActiveCheck},
      {false, true, false, true, ciUnEnabledCheck},
  };
  for (const Row& R : Rows) EXPECT_EQ(ChooseCheckImage(R.Enabled, R.In, R.Checked, R.Grayed), R.Image);
}

TEST(SkinGeometry, BevelLines) {
  enum { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
  std::vector<TspBevelLine> L;
  // The 8 x 22 divider: colour 1 at x 3 and colour 2 at x 4, rows 2..20.
  BevelLines(LeftLine, true, 8, 22, L);
  ASSERT_EQ(L.size(), 2u);
  EXPECT_EQ(L[0], (TspBevelLine{{{3, 20}, {3, 2}, {4, 2}}, 1}));
  EXPECT_EQ(L[1], (TspBevelLine{{{4, 2}, {4, 20}, {3, 20}}, 2}));
  BevelLines(TopLine, true, 40, 10, L);
  EXPECT_EQ(L[0], (TspBevelLine{{{2, 5}, {2, 4}, {38, 4}}, 1}));
  BevelLines(Spacer, true, 40, 10, L);
  EXPECT_TRUE(L.empty());
  BevelLines(Frame, false, 20, 10, L);
  ASSERT_EQ(L.size(), 4u);
  EXPECT_EQ(L[0].Colour, 2);
  EXPECT_EQ(L[3].Colour, 1);
  EXPECT_EQ(L[2].Points[0], TPoint(0, 8));
  BevelLines(RightLine, false, 20, 10, L);
  EXPECT_EQ(L[1], (TspBevelLine{{{19, 0}, {19, 10}}, 2}));
}

}  // namespace
