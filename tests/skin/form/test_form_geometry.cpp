// The frame geometry rules of skinned forms, without windows.
#include <set>
#include <utility>

#include "common/gtest.h"
#include "skin/form/FormGeometry.h"

namespace {

// A 40 x 30 picture split at (8, 6), (32, 6), (8, 24), (32, 24).
TspSkinFormInfo CornerSkin() {
  TspSkinFormInfo S;
  S.LTPoint = TPoint(8, 6);
  S.RTPoint = TPoint(32, 6);
  S.LBPoint = TPoint(8, 24);
  S.RBPoint = TPoint(32, 24);
  S.ClRect = TRect(4, 10, 36, 26);
  return S;
}

TspFrameRects At(const TspFrameSkin& S, Integer W, Integer H) {
  TspFrameRects R;
  bool Left = false;
  CalcFrameRects(S, W, H, R, Left);
  return R;
}

}  // namespace

TEST(FrameGeometry, MapSkinRectZoneRules) {
  const TspSkinFormInfo Info = CornerSkin();
  const TspFrameSkin S{&Info, 40, 30};
  struct Case {
    const char* Name;
    TRect In, At100x80;
  };
  // At 100 x 80 the shift is (60, 50); at the picture's own size nothing moves.
  const Case Cases[] = {
      {"inside LT", TRect(1, 1, 5, 4), TRect(1, 1, 5, 4)},
      {"inside RT", TRect(33, 1, 38, 4), TRect(93, 1, 98, 4)},
      {"inside LB", TRect(1, 25, 5, 28), TRect(1, 75, 5, 78)},
      {"inside RB", TRect(33, 25, 38, 28), TRect(93, 75, 98, 78)},
      {"LT to RB stretches both", TRect(2, 2, 34, 26), TRect(2, 2, 94, 76)},
      {"LT to RT stretches across", TRect(2, 2, 34, 4), TRect(2, 2, 94, 4)},
      {"LB to RB stretches and moves down", TRect(2, 25, 34, 28), TRect(2, 75, 94, 78)},
      {"LT to LB stretches down", TRect(2, 2, 5, 26), TRect(2, 2, 5, 76)},
      {"RT to RB moves right, stretches down", TRect(33, 2, 38, 26), TRect(93, 2, 98, 76)},
      {"centre stays", TRect(10, 10, 20, 20), TRect(10, 10, 20, 20)},
      // The zones are half-open: a right edge on the zone's right edge is outside.
      {"edge on the zone border", TRect(1, 1, 8, 4), TRect(1, 1, 8, 4)},
  };
  const TspFrameRects Big = At(S, 100, 80), Same = At(S, 40, 30);
  for (const Case& C : Cases) {
    EXPECT_EQ(MapFrameRect(S, Big, C.In), C.At100x80) << C.Name;
    EXPECT_EQ(MapFrameRect(S, Same, C.In), C.In) << C.Name;
  }
  // Without corner zones every rectangle stays where the picture has it.
  TspSkinFormInfo Flat;
  Flat.RTPoint = TPoint(40, 0);
  Flat.LBPoint = TPoint(0, 30);
  Flat.RBPoint = TPoint(40, 30);
  const TspFrameSkin F{&Flat, 40, 30};
  EXPECT_EQ(MapFrameRect(F, At(F, 100, 80), TRect(33, 25, 38, 28)), TRect(33, 25, 38, 28));
}

TEST(FrameGeometry, MapAreaRectAnchors) {
  const TspSkinFormInfo Info = CornerSkin();
  const TspFrameSkin S{&Info, 40, 30};
  const TspFrameRects R = At(S, 100, 80);
  const TRect A(10, 10, 20, 20);
  EXPECT_EQ(MapFrameAreaRect(S, R, A, true, true, true, true, true), TRect(10, 10, 80, 70));
  EXPECT_EQ(MapFrameAreaRect(S, R, A, true, false, false, true, true), TRect(70, 60, 80, 70));
  EXPECT_EQ(MapFrameAreaRect(S, R, A, true, true, true, false, false), A);
  EXPECT_EQ(MapFrameAreaRect(S, R, TRect(1, 25, 5, 28), false, false, false, false, false), TRect(1, 75, 5, 78));
}

TEST(FrameGeometry, CalcFrameRectsButtonsRightAndLeft) {
  TspSkinFormInfo Info = CornerSkin();
  Info.CaptionRect = TRect(8, 1, 30, 5);
  Info.ButtonsRect = TRect(24, 1, 38, 5);
  Info.MaskRectArea = TRect(2, 2, 38, 28);
  Info.HitTestRTPoint = TPoint(35, 3);
  const TspFrameSkin S{&Info, 40, 30};
  TspFrameRects R;
  bool Left = false;
  CalcFrameRects(S, 100, 80, R, Left);
  EXPECT_EQ(R.NewClRect, TRect(4, 10, 96, 76));
  EXPECT_EQ(R.NewCaptionRect, TRect(8, 1, 90, 5));
  EXPECT_EQ(R.NewButtonsRect, TRect(84, 1, 98, 5));
  EXPECT_EQ(R.NewMaskRectArea, TRect(2, 2, 98, 78));
  EXPECT_EQ(R.NewHitTestRTPoint, TPoint(95, 3));
  EXPECT_FALSE(Left);
  // Buttons in the left half: laid out from the left, the flag is set and stays.
  Info.ButtonsRect = TRect(2, 1, 16, 5);
  CalcFrameRects(S, 100, 80, R, Left);
  EXPECT_EQ(R.NewButtonsRect, TRect(2, 1, 16, 5));
  EXPECT_TRUE(Left);
  Info.ButtonsRect = TRect(24, 1, 38, 5);
  CalcFrameRects(S, 100, 80, R, Left);
  EXPECT_TRUE(Left);
}

TEST(FrameGeometry, DefaultHitTestTable) {
  const TRect Caption(3, 3, 150, 19);
  struct Case {
    TPoint P;
    bool Sizing, Hot;
    Integer Expected;
  };
  const Case Cases[] = {
      {TPoint(2, 2), true, false, spHTTOPLEFT},      {TPoint(198, 2), true, false, spHTTOPRIGHT},
      {TPoint(2, 98), true, false, spHTBOTTOMLEFT},  {TPoint(198, 98), true, false, spHTBOTTOMRIGHT},
      {TPoint(0, 50), true, false, spHTLEFT},        {TPoint(2, 50), true, false, spHTLEFT},
      {TPoint(3, 50), true, false, spHTCLIENT},      {TPoint(198, 50), true, false, spHTRIGHT},
      // Three pixels on the left and top, two on the right and bottom.
      {TPoint(197, 50), true, false, spHTOBJECT},    {TPoint(50, 2), true, false, spHTTOP},
      {TPoint(50, 98), true, false, spHTBOTTOM},     {TPoint(50, 97), true, false, spHTOBJECT},
      {TPoint(50, 10), true, false, spHTCAPTION},    {TPoint(160, 10), true, false, spHTOBJECT},
      {TPoint(50, 50), true, false, spHTCLIENT},     {TPoint(50, 22), true, false, spHTCLIENT},
      {TPoint(2, 2), true, true, spHTOBJECT},        {TPoint(2, 2), false, false, spHTOBJECT},
      {TPoint(198, 98), false, false, spHTOBJECT},   {TPoint(50, 10), false, false, spHTCAPTION},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(DefaultFrameHitTest(C.P, 200, 100, C.Sizing, C.Hot, Caption, 19), C.Expected)
        << C.P.X << "," << C.P.Y << " sizing " << C.Sizing << " hot " << C.Hot;
}

TEST(FrameGeometry, SizingZonesInclusiveCornersHalfOpenEdges) {
  TspFrameRects R;
  R.W = 100;
  R.H = 80;
  R.NewClRect = TRect(4, 20, 96, 76);
  R.NewHitTestLTPoint = TPoint(6, 6);
  R.NewHitTestRTPoint = TPoint(94, 6);
  R.NewHitTestLBPoint = TPoint(6, 74);
  R.NewHitTestRBPoint = TPoint(94, 74);
  EXPECT_EQ(FrameSizingZone(TPoint(6, 6), R), spHTTOPLEFT);
  EXPECT_EQ(FrameSizingZone(TPoint(94, 6), R), spHTTOPRIGHT);
  EXPECT_EQ(FrameSizingZone(TPoint(6, 74), R), spHTBOTTOMLEFT);
  EXPECT_EQ(FrameSizingZone(TPoint(94, 74), R), spHTBOTTOMRIGHT);
  EXPECT_EQ(FrameSizingZone(TPoint(50, 1), R), spHTTOP);
  EXPECT_EQ(FrameSizingZone(TPoint(50, 20), R), 0);  // the top edge rectangle ends at the client top
  EXPECT_EQ(FrameSizingZone(TPoint(50, 79), R), spHTBOTTOM);
  EXPECT_EQ(FrameSizingZone(TPoint(1, 40), R), spHTLEFT);
  EXPECT_EQ(FrameSizingZone(TPoint(98, 40), R), spHTRIGHT);
  EXPECT_EQ(FrameSizingZone(TPoint(50, 40), R), 0);
}

// A mask whose inner rectangle leaves strips exactly as thick as its edges:
// no read may leave a strip, and points off the window are outside.
TEST(FrameGeometry, MaskShapeReadsStayInsideTheStrips) {
  TspMaskShape M;
  M.MaskRect = TRect(2, 2, 8, 8);
  M.W = 10;
  M.H = 10;
  M.Strip[msTop] = TPoint(10, 2);
  M.Strip[msBottom] = TPoint(10, 2);
  M.Strip[msLeft] = TPoint(2, 6);
  M.Strip[msRight] = TPoint(2, 6);
  std::set<std::pair<int, int>> Bad;
  // Black everywhere except the outermost ring of the window.
  M.Black = [&](TspMaskStrip S, Integer X, Integer Y) {
    if (X < 0 || Y < 0 || X >= M.Strip[S].X || Y >= M.Strip[S].Y) Bad.insert({X, Y});
    switch (S) {
      case msTop: return Y == 1 && X >= 1 && X <= 8;
      case msBottom: return Y == 0 && X >= 1 && X <= 8;
      case msLeft: return X == 1;
      case msRight: return X == 0;
    }
    return false;
  };
  for (Integer Y = -3; Y < 13; ++Y)
    for (Integer X = -3; X < 13; ++X) {
      const bool In = PointInMaskShape(TPoint(X, Y), M);
      const bool Expected = X >= 1 && X <= 8 && Y >= 1 && Y <= 8;
      EXPECT_EQ(In, Expected) << X << "," << Y;
    }
  EXPECT_TRUE(Bad.empty());
  // Near the edge: probes across the one-pixel edge reach outside the shape.
  EXPECT_TRUE(NearFrameEdge(TPoint(1, 5), 2, &M));
  EXPECT_FALSE(NearFrameEdge(TPoint(5, 5), 2, &M));
  EXPECT_TRUE(Bad.empty());
  // Without a mask the window rectangle is the outline.
  TspMaskShape Rect;
  Rect.W = 100;
  Rect.H = 100;
  EXPECT_TRUE(NearFrameEdge(TPoint(2, 50), 3, &Rect));
  EXPECT_FALSE(NearFrameEdge(TPoint(3, 50), 3, &Rect));
  EXPECT_TRUE(NearFrameEdge(TPoint(97, 50), 3, &Rect));
}

TEST(FrameGeometry, MinimizedPlacesFillRowsAndAlwaysEnd) {
  const TRect Area(0, 0, 100, 60);
  std::set<std::pair<int, int>> Taken;
  auto IsTaken = [&](TPoint P) { return Taken.count({P.X, P.Y}) > 0; };
  EXPECT_EQ(FindMinimizedPlace(Area, 30, 20, IsTaken), TPoint(0, 40));
  Taken = {{0, 40}, {30, 40}};
  EXPECT_EQ(FindMinimizedPlace(Area, 30, 20, IsTaken), TPoint(60, 40));
  Taken.insert({60, 40});  // the next place would pass the right edge: wrap upward
  EXPECT_EQ(FindMinimizedPlace(Area, 30, 20, IsTaken), TPoint(0, 20));
  // Full: the first place of the bottom row.
  EXPECT_EQ(FindMinimizedPlace(Area, 30, 20, [](TPoint) { return true; }), TPoint(0, 40));
  // A zero minimum size still advances.
  EXPECT_EQ(FindMinimizedPlace(Area, 0, 0, [](TPoint) { return true; }), TPoint(0, 60));
}

TEST(FrameGeometry, SnapToWorkArea) {
  const TRect Area(0, 0, 1920, 1080);
  TspSnapState S;
  Integer L = 9, T = 300;
  SnapToArea(L, T, 500, 300, Area, 10, TPoint(400, 400), S, nullptr);
  EXPECT_EQ(L, 0);
  EXPECT_TRUE(S.HMagnetized);
  // Held until the cursor moved more than 10 pixels from where the snap began.
  L = 5;
  SnapToArea(L, T, 500, 300, Area, 10, TPoint(410, 400), S, nullptr);
  EXPECT_EQ(L, 0);
  L = 5;
  SnapToArea(L, T, 500, 300, Area, 10, TPoint(411, 400), S, nullptr);
  EXPECT_EQ(L, 11);
  TspSnapState S2;
  L = 10;
  SnapToArea(L, T, 500, 300, Area, 10, TPoint(0, 0), S2, nullptr);
  EXPECT_EQ(L, 10);
  // With a border of 4, 32, 3, 3 around the form the outer rectangle ends flush.
  const Integer Border[4] = {4, 32, 3, 3};
  TspSnapState S3;
  L = 1415;
  T = 775;
  SnapToArea(L, T, 500, 300, Area, 10, TPoint(0, 0), S3, Border);
  EXPECT_EQ(L + 500 + 3, 1920);
  EXPECT_EQ(T + 300 + 3, 1080);
}

TEST(FrameGeometry, CentreInArea) {
  EXPECT_EQ(CentreInArea(TRect(0, 0, 1920, 1080), 500, 301), TPoint(710, 390));
}
