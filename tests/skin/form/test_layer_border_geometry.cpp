// The numbers of the layered form border, without windows: bands and corner
// zones, the outer rectangle, how the images are cut, what a point of each
// border window does, the drag steps and the fade steps.
#include <vector>

#include "common/gtest.h"
#include "skin/form/LayerBorderGeometry.h"

namespace {

// The layer frame the program's default look describes (a full border).
void DefaultFrame(TspDataSkinLayerFrame& D) {
  D.PictureIndex = 8;
  D.MaskPictureIndex = 5;
  D.LTPoint = TPoint(31, 46);
  D.RTPoint = TPoint(140, 45);
  D.LBPoint = TPoint(21, 113);
  D.RBPoint = TPoint(151, 113);
  D.ClRect = TRect(18, 46, 155, 115);
  D.BorderRect = TRect(14, 14, 158, 118);
  D.HitTestEnable = true;
  D.FullBorder = true;
  D.HitTestSize = 3;
  D.CaptionRect = TRect(21, 18, 152, 39);
  D.HitTestLTPoint = TPoint(23, 21);
  D.HitTestRTPoint = TPoint(150, 21);
  D.HitTestLBPoint = TPoint(21, 111);
  D.HitTestRBPoint = TPoint(151, 111);
  D.RollUpFormHeight = 1;
  D.ButtonsTopOffset = 21;
  D.SysButtonTopOffset = 21;
}

constexpr Integer SrcW = 173, SrcH = 133;

TspLayerBorderSizes SizesOf(const TspDataSkinLayerFrame& D) {
  TspLayerBorderSizes S;
  LayerBorderSizes(D, S);
  return S;
}

}  // namespace

TEST(LayerBorderGeometry, SizesAndOuterRectOfTheDefaultFrame) {
  TspDataSkinLayerFrame D;
  DefaultFrame(D);
  const TspLayerBorderSizes S = SizesOf(D);
  EXPECT_EQ(std::vector<Integer>({S.LeftSize, S.TopSize, S.RightSize, S.BottomSize}),
            std::vector<Integer>({4, 32, 3, 3}));
  EXPECT_EQ(std::vector<Integer>({S.HitTopLeftX, S.HitTopLeftY, S.HitTopRightX, S.HitTopRightY, S.HitBottomLeftX,
                                  S.HitBottomLeftY, S.HitBottomRightX, S.HitBottomRightY}),
            std::vector<Integer>({9, 7, 8, 7, 7, 7, 7, 7}));
  EXPECT_EQ(LayerOuterRect(D, SrcW, SrcH, 100, 200, 300, 150), Bounds(82, 154, 300 + SrcW - 137, 150 + SrcH - 69));
  // The offsets move and widen the rectangle.
  TspDataSkinLayerFrame O;
  O.Assign(D);
  O.LeftOffset = 2;
  O.TopOffset = -3;
  O.WidthOffset = 5;
  EXPECT_EQ(LayerOuterRect(O, SrcW, SrcH, 100, 200, 300, 150), Bounds(84, 151, 305 + SrcW - 137, 150 + SrcH - 69));

  // An empty sizing border: no bands; the corner values stay.
  TspDataSkinLayerFrame E;
  E.Assign(D);
  E.BorderRect = TRect();
  TspLayerBorderSizes K = SizesOf(D);
  LayerBorderSizes(E, K);
  EXPECT_EQ(std::vector<Integer>({K.LeftSize, K.TopSize, K.RightSize, K.BottomSize}), std::vector<Integer>(4, 0));
  EXPECT_EQ(K.HitTopLeftX, 9);
}

TEST(LayerBorderGeometry, BandsOfTheImages) {
  TspDataSkinLayerFrame D;
  DefaultFrame(D);
  EXPECT_FALSE(LayerSinglePicture(D));
  TspDataSkinLayerFrame One;
  One.Assign(D);
  One.RBPoint = TPoint(0, 0);
  EXPECT_TRUE(LayerSinglePicture(One));

  struct Row {
    const char* What;
    Integer AHeight, TopH, BottomH, BottomSrc, MidH;
  };
  const Row Rows[] = {
      {"tall form", 264, 46, 20, 113, 198},
      {"exactly both bands", 66, 46, 20, 113, 0},
      {"shorter than both bands: lowest rows of the bottom band", 50, 46, 4, 129, 0},
      {"no taller than the top band", 40, 46, 0, 133, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.What);
    const TspLayerBands B = LayerBands(D, SrcW, SrcH, 336, R.AHeight);
    EXPECT_EQ(B.TopH, R.TopH);
    EXPECT_EQ(B.BottomBand, SrcH - 113);
    EXPECT_EQ(B.BottomH, R.BottomH);
    EXPECT_EQ(B.BottomSrc, R.BottomSrc);
    EXPECT_EQ(B.MidH, R.MidH);
    EXPECT_GE(B.BottomSrc, SrcH - B.BottomBand);  // never above the band
    EXPECT_EQ(B.LeftW, 18);
    EXPECT_EQ(B.RightW, 18);
    EXPECT_EQ(B.StripTop, 46);
    EXPECT_EQ(B.StripBottom, 113);
  }

  // No rows between the bands: no side images, whatever the height.
  TspDataSkinLayerFrame Flat;
  Flat.Assign(D);
  Flat.LBPoint.Y = Flat.RBPoint.Y = 46;
  EXPECT_EQ(LayerBands(Flat, SrcW, SrcH, 336, 500).MidH, 0);
  // Points beyond the picture read only rows it has.
  TspDataSkinLayerFrame Bad;
  Bad.Assign(D);
  Bad.LTPoint.Y = 400;
  Bad.LBPoint.Y = Bad.RBPoint.Y = -50;
  const TspLayerBands B = LayerBands(Bad, SrcW, SrcH, 336, 900);
  EXPECT_LE(B.TopH, SrcH);
  EXPECT_LE(B.BottomH, SrcH);
  EXPECT_GE(B.BottomSrc, 0);
  EXPECT_EQ(B.MidH, 0);
}

TEST(LayerBorderGeometry, SideTilesAreCutAtTheEnd) {
  auto Tiles = [](Integer MidH, Integer G) {
    std::vector<std::pair<Integer, Integer>> V;
    for (const TspLayerTile& T : LayerSideTiles(MidH, G)) V.push_back({T.DstTop, T.Rows});
    return V;
  };
  using V = std::vector<std::pair<Integer, Integer>>;
  EXPECT_EQ(Tiles(10, 4), (V{{0, 4}, {4, 4}, {8, 2}}));
  EXPECT_EQ(Tiles(8, 4), (V{{0, 4}, {4, 4}}));
  EXPECT_EQ(Tiles(3, 67), (V{{0, 3}}));
  EXPECT_EQ(Tiles(10, 0), V{});
  EXPECT_EQ(Tiles(0, 4), V{});
}

TEST(LayerBorderGeometry, HitZonesOfTheFourWindows) {
  TspDataSkinLayerFrame D;
  DefaultFrame(D);
  const TspLayerBorderSizes S = SizesOf(D);
  // Form at (100, 100) of 300 x 200; outer rectangle from (82, 54), 336 x 264.
  const Integer L = 100, T = 100, W = 300, H = 200;
  const TRect Outer = LayerOuterRect(D, SrcW, SrcH, L, T, W, H);
  ASSERT_EQ(Outer, Bounds(82, 54, 336, 264));
  const TRect TopWnd = Bounds(82, 54, 336, 46);
  const TRect BottomWnd = Bounds(82, 298, 336, 20);
  const TRect LeftWnd = Bounds(82, 100, 18, 198);
  const TRect RightWnd = Bounds(400, 100, 18, 198);
  struct Row {
    TspFormLayerBorderType Kind;
    TPoint P;
    TspFormLayerBorderHit Want;
  };
  const Row Rows[] = {
      // The top-left zone spans (L - 4, T - 32) to (L + 5, T - 25).
      {spflTop, TPoint(96, 68), spflhTopLeft},
      {spflTop, TPoint(104, 68), spflhTopLeft},
      {spflTop, TPoint(105, 68), spflhTop},
      {spflTop, TPoint(96, 75), spflhLeft},
      // Inside the caption rectangle the corner does not size...
      {spflTop, TPoint(104, 72), spflhNone},
      // ...but the edge strip (3 rows from T - 32) always does.
      {spflTop, TPoint(200, 68), spflhTop},
      {spflTop, TPoint(200, 70), spflhTop},
      {spflTop, TPoint(200, 71), spflhNone},
      {spflTop, TPoint(400, 70), spflhTopRight},
      {spflTop, TPoint(396, 72), spflhNone},  // top-right zone inside the caption
      {spflTop, TPoint(400, 90), spflhRight},
      {spflTop, TPoint(97, 80), spflhLeft},
      {spflTop, TPoint(99, 80), spflhNone},
      {spflBottom, TPoint(98, 300), spflhBottomLeft},
      {spflBottom, TPoint(200, 301), spflhBottom},
      {spflBottom, TPoint(400, 300), spflhBottomRight},
      {spflBottom, TPoint(200, 303), spflhNone},
      {spflLeft, TPoint(96, 150), spflhLeft},
      {spflLeft, TPoint(95, 150), spflhNone},
      {spflRight, TPoint(403, 150), spflhRight},
      {spflRight, TPoint(404, 150), spflhNone},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(testing::Message() << "window " << int(R.Kind) << " at " << R.P.X << "," << R.P.Y);
    const TRect& Wnd = R.Kind == spflTop ? TopWnd : R.Kind == spflBottom ? BottomWnd : R.Kind == spflLeft ? LeftWnd : RightWnd;
    EXPECT_EQ(LayerBorderHitZone(D, S, R.Kind, R.P, L, T, W, H, Wnd), R.Want);
  }
}

TEST(LayerBorderGeometry, DragSteps) {
  TspDataSkinLayerFrame D;
  DefaultFrame(D);
  const TspLayerBorderSizes S = SizesOf(D);
  TspLayerDragForm F;
  F.L = 100;
  F.T = 100;
  F.W = 300;
  F.H = 200;
  F.MinW = 100;
  F.MaxW = 1000;
  F.MinH = 80;
  F.MaxH = 800;
  TspLayerDragForm AtMin = F;
  AtMin.W = 100;
  TspLayerDragForm AtMax = F;
  AtMax.W = 1000;
  struct Row {
    const char* What;
    const TspLayerDragForm& Form;
    TspFormLayerBorderHit Hit;
    Integer DX, DY;
    TPoint P;
    bool Applied;
    TspLayerBounds Want;
  };
  const Row Rows[] = {
      {"left edge grows inside its zone", F, spflhLeft, -3, 0, TPoint(97, 150), true, {97, 100, 303, 200}},
      {"left edge shrinks anywhere", F, spflhLeft, 10, 0, TPoint(150, 150), true, {110, 100, 290, 200}},
      {"left edge grows outside its zone", F, spflhLeft, -5, 0, TPoint(110, 150), false, {}},
      {"left edge at the minimum width", AtMin, spflhLeft, 5, 0, TPoint(105, 150), false, {}},
      {"left edge, no movement", F, spflhLeft, 0, 4, TPoint(97, 150), false, {}},
      {"right edge shrinks", F, spflhRight, -10, 0, TPoint(390, 150), true, {100, 100, 290, 200}},
      {"right edge grows outside its zone", F, spflhRight, 5, 0, TPoint(390, 150), false, {}},
      {"right edge grows inside its zone", F, spflhRight, 5, 0, TPoint(401, 150), true, {100, 100, 305, 200}},
      {"right edge at the maximum", AtMax, spflhRight, 5, 0, TPoint(1101, 150), false, {}},
      {"top edge shrinks", F, spflhTop, 0, 10, TPoint(200, 80), true, {100, 110, 300, 190}},
      {"top edge grows inside its zone", F, spflhTop, 0, -2, TPoint(200, 69), true, {100, 98, 300, 202}},
      {"top edge grows outside its zone", F, spflhTop, 0, -2, TPoint(200, 90), false, {}},
      {"bottom edge grows inside its zone", F, spflhBottom, 0, 5, TPoint(200, 301), true, {100, 100, 300, 205}},
      {"corner: one axis leaves its zone", F, spflhBottomRight, 5, 5, TPoint(390, 305), true, {100, 100, 300, 205}},
      {"corner: both axes grow", F, spflhBottomRight, 5, 5, TPoint(402, 305), true, {100, 100, 305, 205}},
      {"corner: no movement", F, spflhTopLeft, 0, 0, TPoint(97, 69), false, {}},
      {"top-left at the minimum width", AtMin, spflhTopLeft, 5, 5, TPoint(105, 105), false, {}},
      {"top-left shrinks", F, spflhTopLeft, 5, 5, TPoint(105, 105), true, {105, 105, 295, 195}},
      {"top-right grows up, shrinks left", F, spflhTopRight, -5, -2, TPoint(395, 69), true, {100, 98, 295, 202}},
      {"bottom-left grows left inside its zone", F, spflhBottomLeft, -2, 0, TPoint(97, 250), true, {98, 100, 302, 200}},
      {"caption is no sizing step", F, spflCaption, 5, 5, TPoint(200, 80), false, {}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.What);
    TspLayerBounds B;
    ASSERT_EQ(LayerSizeStep(R.Hit, R.Form, S, D.HitTestSize, R.DX, R.DY, R.P, B), R.Applied);
    if (R.Applied) {
      EXPECT_EQ(B.L, R.Want.L);
      EXPECT_EQ(B.T, R.Want.T);
      EXPECT_EQ(B.W, R.Want.W);
      EXPECT_EQ(B.H, R.Want.H);
    }
  }
}

TEST(LayerBorderGeometry, FadeStepsAndScaledAlpha) {
  std::vector<Integer> Full;
  for (Integer I = 1; I <= 15; ++I) Full.push_back(I * 17);
  EXPECT_EQ(LayerFadeSteps(255), Full);
  EXPECT_EQ(LayerFadeSteps(10), std::vector<Integer>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  const std::vector<Integer> Odd = LayerFadeSteps(100);  // steps of 6, the last one capped
  EXPECT_EQ(Odd.size(), 17u);
  EXPECT_EQ(Odd[15], 96);
  EXPECT_EQ(Odd.back(), 100);
  EXPECT_EQ(LayerFadeSteps(0), std::vector<Integer>({0}));

  EXPECT_EQ(LayerScaledAlpha(200, 100), 78);
  EXPECT_EQ(LayerScaledAlpha(255, 128), 128);
  EXPECT_EQ(LayerScaledAlpha(255, 255), 255);
  EXPECT_EQ(LayerScaledAlpha(255, 0), 0);
}
