// The image builders on canvases with a picture whose pixels name their own
// (x, y), and the regions of masks and masked frames.
#include "SkinToolkitTestUtil.h"

#include <functional>

namespace {

using namespace sptest;

struct Geo {
  TPoint LT{5, 4}, RT{14, 4}, LB{5, 11}, RB{14, 11};
  TRect Cl{3, 2, 16, 13};
  TRect SR{5, 7, 25, 23};  // 20 x 16 at (5, 7)
  TPoint NLT, NRT, NLB, NRB;
  TRect NCl;
  Integer W, H;
  Geo(Integer w, Integer h) : W(w), H(h) {
    const Integer dx = w - 20, dy = h - 16;
    NLT = LT;
    NRT = TPoint(RT.X + dx, RT.Y);
    NLB = TPoint(LB.X, LB.Y + dy);
    NRB = TPoint(RB.X + dx, RB.Y + dy);
    NCl = TRect(Cl.Left, Cl.Top, Cl.Right + dx, Cl.Bottom + dy);
  }
  void Build(TBitmap* Dest, TBitmap* Pic, bool Stretch, TspStretchType Type = spstFull) {
    CreateNineSliceImage(LT, RT, LB, RB, Cl, NLT, NRT, NLB, NRB, NCl, Dest, Pic, SR, W, H, true, Stretch, Stretch,
                         Stretch, Stretch, Stretch, Type);
  }
};

TEST(SkinBuilders, IdentityAndTiledPixels) {
  std::unique_ptr<TBitmap> Pic(NumberedPicture(40, 40));
  for (bool Stretch : {false, true}) {
    Geo G(20, 16);
    TBitmap D;
    G.Build(&D, Pic.get(), Stretch);
    ASSERT_EQ(D.Width(), 20);
    for (Integer y = 0; y < 16; ++y)
      for (Integer x = 0; x < 20; ++x) ASSERT_EQ(Rgb(&D, x, y), Numbered(5 + x, 7 + y)) << x << "," << y;
  }
  // Larger: the tiled top edge repeats its 9-px piece from NewLTPoint.X.
  Geo G(47, 16);
  TBitmap D;
  G.Build(&D, Pic.get(), false);
  for (Integer x = G.NLT.X; x < G.NRT.X; ++x)
    EXPECT_EQ(Rgb(&D, x, 0), Numbered(5 + G.LT.X + (x - G.NLT.X) % 9, 7)) << x;
  // The tiled centre (13 x 11) repeats both ways.
  for (Integer y = G.NCl.Top; y < G.NCl.Bottom; ++y)
    for (Integer x = G.NCl.Left; x < G.NCl.Right; ++x)
      ASSERT_EQ(Rgb(&D, x, y), Numbered(5 + 3 + (x - 3) % 13, 7 + 2 + (y - 2) % 11)) << x << "," << y;
  SaveReviewPicture(u"nine_slice_tiled", &D);
}

TEST(SkinBuilders, DoublingEqualsTileByTile) {
  std::unique_ptr<TBitmap> Pic(NumberedPicture(40, 40));
  for (auto [W, H] : {std::pair{97, 61}, std::pair{20, 16}, std::pair{12, 9}})
    for (TspStretchType T : {spstFull, spstHorz, spstVert})
      for (bool Stretch : {false, true}) {
        Geo G(W, H);
        TBitmap A, B;
        SkinBuilderTiling = tlEachTile;
        G.Build(&A, Pic.get(), Stretch, T);
        SkinBuilderTiling = tlDoubling;
        G.Build(&B, Pic.get(), Stretch, T);
        for (Integer y = 0; y < H; ++y)
          for (Integer x = 0; x < W; ++x)
            ASSERT_EQ(Rgb(&A, x, y), Rgb(&B, x, y)) << W << "x" << H << " " << int(T) << " " << Stretch << " at " << x
                                                  << "," << y;
        if (W == 97 && (Stretch || T == spstFull))
          SaveReviewPicture(String(u"nine_slice_") + (Stretch ? u"stretched_" : u"tiled_") +
                                (T == spstFull ? u"full" : T == spstHorz ? u"horz" : u"vert"),
                            &B);
      }
}

TEST(SkinBuilders, ZeroLengthPiecesAndEarlyStop) {
  std::unique_ptr<TBitmap> Pic(NumberedPicture(40, 40));
  // Equal corner points on the tiled top edge and a client rect of zero
  // height: nothing divides by zero, the rest is drawn.
  Geo G(40, 30);
  G.RT.X = G.LT.X;
  G.NCl.Bottom = G.NCl.Top;
  TBitmap D;
  G.Build(&D, Pic.get(), false);
  EXPECT_EQ(Rgb(&D, 0, 0), Numbered(5, 7));
  // RBPoint on LTPoint's column: sized, not drawn.
  Geo E(30, 20);
  E.RB.X = E.LT.X;
  TBitmap F;
  E.Build(&F, Pic.get(), false);
  EXPECT_EQ(F.Width(), 30);
  EXPECT_EQ(F.Height(), 20);
}

TEST(SkinBuilders, ThreeSlicesAndClientStretch) {
  std::unique_ptr<TBitmap> Pic(NumberedPicture(40, 40));
  TBitmap D;
  CreateHorzThreeSliceImage(3, 4, &D, Pic.get(), TRect(2, 1, 12, 6), 29, 999, false);
  ASSERT_EQ(D.Width(), 29);
  ASSERT_EQ(D.Height(), 5);
  EXPECT_EQ(Rgb(&D, 0, 0), Numbered(2, 1));
  EXPECT_EQ(Rgb(&D, 28, 4), Numbered(11, 5));
  EXPECT_EQ(Rgb(&D, 3 + 3 + 1, 2), Numbered(2 + 3 + 1, 3));  // second middle tile (piece 3)
  TBitmap V;
  CreateVertThreeSliceImage(2, 2, &V, Pic.get(), TRect(0, 0, 6, 4), 999, 11, true);
  EXPECT_EQ(V.Width(), 6);
  EXPECT_EQ(V.Height(), 11);
  TBitmap C;
  C.SetSize(30, 20);
  CreateClientStretchImage(&C, Pic.get(), TRect(0, 0, 10, 10), TRect(2, 2, 8, 8), false);
  EXPECT_EQ(C.Width(), 30);
  EXPECT_EQ(Rgb(&C, 29, 19), Numbered(9, 9));
  SaveReviewPicture(u"three_slice_horz", &D);
  SaveReviewPicture(u"three_slice_vert_empty_middle", &V);
  SaveReviewPicture(u"client_stretch_without_client", &C);
}

// A 20 x 16 mask whose frame is black with its four corner pixels cut away.
TBitmap* FrameMask() {
  TBitmap* M = WhiteBitmap(20, 16);
  TCanvas* C = M->Canvas();
  C->Brush()->SetColor(clBlack);
  C->FillRect(TRect(0, 0, 20, 16));
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(3, 2, 16, 13));
  for (TPoint P : {TPoint(0, 0), TPoint(19, 0), TPoint(0, 15), TPoint(19, 15)}) C->FillRect(Bounds(P.X, P.Y, 1, 1));
  return M;
}

// The expected frame region at W x H: everything but the four corner pixels.
HRGN ExpectedFrame(Integer W, Integer H) {
  HRGN R = CreateRectRgn(0, 0, W, H);
  for (TPoint P : {TPoint(0, 0), TPoint(W - 1, 0), TPoint(0, H - 1), TPoint(W - 1, H - 1)}) {
    HRGN C = CreateRectRgn(P.X, P.Y, P.X + 1, P.Y + 1);
    CombineRgn(R, R, C, RGN_DIFF);
    DeleteObject(C);
  }
  return R;
}

TEST(SkinRegions, MaskAndFrameRegionsAreTheExpectedPointSets) {
  std::unique_ptr<TBitmap> M(FrameMask());
  HRGN Mask = nullptr;
  CreateMaskRegion(Mask, M.get());
  ASSERT_NE(Mask, nullptr);
  HRGN Want = ExpectedFrame(20, 16);
  HRGN Hole = CreateRectRgn(3, 2, 16, 13);
  CombineRgn(Want, Want, Hole, RGN_DIFF);
  EXPECT_TRUE(EqualRgn(Mask, Want));
  DeleteObject(Hole);
  DeleteObject(Want);
  DeleteObject(Mask);
  for (auto [W, H] : {std::pair{20, 16}, std::pair{73, 41}}) {
    Geo G(W, H);
    HRGN Rgn = nullptr;
    CreateSkinFrameRegion(Rgn, G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, M.get(), W, H);
    ASSERT_NE(Rgn, nullptr);
    HRGN E = ExpectedFrame(W, H);
    EXPECT_TRUE(EqualRgn(Rgn, E)) << W << "x" << H;
    std::unique_ptr<TBitmap> Shown(WhiteBitmap(W, H));
    FillRgn(Shown->Canvas()->Handle(), Rgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SaveReviewPicture(u"frame_region_" + IntToStr(W) + u"x" + IntToStr(H), Shown.get());
    DeleteObject(E);
    DeleteObject(Rgn);
  }
  // Smaller than the corners: no region.
  Geo Small(20, 16);
  Small.NRT.X = Small.NLT.X - 1;
  HRGN None = reinterpret_cast<HRGN>(1);
  CreateSkinFrameRegion(None, Small.LT, Small.RT, Small.LB, Small.RB, Small.Cl, Small.NLT, Small.NRT, Small.NLB,
                        Small.NRB, Small.NCl, M.get(), 20, 16);
  EXPECT_EQ(None, nullptr);
}

TEST(SkinRegions, FrameWithoutALeftBorder) {
  std::unique_ptr<TBitmap> M(WhiteBitmap(20, 16));
  M->Canvas()->Brush()->SetColor(clBlack);
  M->Canvas()->FillRect(TRect(0, 0, 20, 16));
  Geo G(30, 20);
  G.Cl.Left = 0;
  G.NCl.Left = 0;
  G.LT.X = 0;
  G.LB.X = 0;
  G.NLT.X = 0;
  G.NLB.X = 0;
  HRGN Rgn = nullptr;
  CreateSkinFrameRegion(Rgn, G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, M.get(), 30, 20);
  ASSERT_NE(Rgn, nullptr);
  HRGN Full = CreateRectRgn(0, 0, 30, 20);
  EXPECT_TRUE(EqualRgn(Rgn, Full));
  DeleteObject(Full);
  DeleteObject(Rgn);
}

// The frame region is cut from the mask's pixels in memory: it equals the
// union of the strips made on canvases by the border-strip builder (and the
// client rectangle), also where the strips' pieces reach past the mask and
// where a piece would be stretched (then the strips are made on canvases).
TEST(SkinRegions, FrameRegionEqualsTheStripsMadeOnCanvases) {
  std::unique_ptr<TBitmap> M(FrameMask());
  M->Canvas()->Brush()->SetColor(clWhite);
  M->Canvas()->FillRect(Bounds(9, 0, 1, 1));  // a notch in the top edge, repeated by the tiles
  struct Case {
    const char* Name;
    Integer W, H;
    std::function<void(Geo&)> Change;
  } Cases[] = {
      {"same size", 20, 16, [](Geo&) {}},
      {"larger", 73, 41, [](Geo&) {}},
      {"one more", 21, 17, [](Geo&) {}},
      {"side pieces past the mask's bottom", 40, 30, [](Geo& G) { G.LB.Y = G.RB.Y = 20; }},
      {"corner piece of another size", 40, 30, [](Geo& G) { G.NRT.X += 3; }},
      {"no client area", 40, 30, [](Geo& G) { G.NCl.Bottom = G.NCl.Top; }},
  };
  for (const Case& C : Cases) {
    Geo G(C.W, C.H);
    C.Change(G);
    HRGN Got = nullptr;
    CreateSkinFrameRegion(Got, G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, M.get(), C.W, C.H);
    ASSERT_NE(Got, nullptr) << C.Name;
    TBitmap T, L, R, B;
    CreateBorderStripImages(G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, M.get(), &T, &L, &R, &B,
                            C.W, C.H);
    HRGN Want = CreateRectRgn(G.NCl.Left, G.NCl.Top, G.NCl.Right, G.NCl.Bottom);
    for (auto [Strip, At] : {std::pair{&T, TPoint(0, 0)}, std::pair{&B, TPoint(0, G.NCl.Bottom)},
                             std::pair{&L, TPoint(0, G.NCl.Top)}, std::pair{&R, TPoint(G.NCl.Right, G.NCl.Top)}}) {
      if (Strip->Empty()) continue;
      HRGN S = nullptr;
      CreateMaskRegion(S, Strip);
      ASSERT_NE(S, nullptr);
      OffsetRgn(S, At.X, At.Y);
      CombineRgn(Want, Want, S, RGN_OR);
      DeleteObject(S);
    }
    EXPECT_TRUE(EqualRgn(Got, Want)) << C.Name;
    DeleteObject(Got);
    DeleteObject(Want);
  }
}

// A mask of any pixel format: black is r = g = b = 0 after its palette.
TEST(SkinRegions, MasksOfEveryPixelFormat) {
  for (TPixelFormat F : {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap Mask;
    Mask.SetPixelFormat(F);
    Mask.SetSize(9, 3);
    TCanvas* C = Mask.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect(0, 0, 9, 3));
    C->Brush()->SetColor(clBlack);
    C->FillRect(TRect(2, 0, 9, 1));  // a run to the last column
    C->FillRect(TRect(4, 1, 5, 3));  // a column of one pixel
    HRGN Got = nullptr;
    CreateMaskRegion(Got, &Mask);
    ASSERT_NE(Got, nullptr) << int(F);
    HRGN Want = CreateRectRgn(2, 0, 9, 1), Col = CreateRectRgn(4, 1, 5, 3);
    CombineRgn(Want, Want, Col, RGN_OR);
    EXPECT_TRUE(EqualRgn(Got, Want)) << "pixel format " << int(F);
    for (HRGN R : {Got, Want, Col}) DeleteObject(R);
  }
}

TEST(SkinRegions, DataBlocksAndManyRuns) {
  std::unique_ptr<TBitmap> White(WhiteBitmap(7, 3));
  void* Data = nullptr;
  EXPECT_EQ(BuildMaskRegionData(White.get(), 0, 0, Data), 32);
  HRGN R = CreateRegionFromData(Data, 32);
  RECT Box{};
  EXPECT_EQ(GetRgnBox(R, &Box), NULLREGION);
  DeleteObject(R);
  FreeRegionData(Data);
  TBitmap Empty;
  Data = nullptr;
  EXPECT_EQ(BuildMaskRegionData(&Empty, 0, 0, Data), 0);
  EXPECT_EQ(Data, nullptr);
  // An 8-bit palettised mask goes through its palette.
  TBitmap P8;
  P8.SetPixelFormat(pf8bit);
  P8.SetSize(4, 1);
  P8.Canvas()->Brush()->SetColor(clWhite);
  P8.Canvas()->FillRect(TRect(0, 0, 4, 1));
  P8.Canvas()->Brush()->SetColor(clBlack);
  P8.Canvas()->FillRect(TRect(1, 0, 3, 1));
  HRGN P8R = nullptr;
  CreateMaskRegion(P8R, &P8);
  HRGN Want = CreateRectRgn(1, 0, 3, 1);
  EXPECT_TRUE(EqualRgn(P8R, Want));
  DeleteObject(Want);
  DeleteObject(P8R);
  // A 300 x 300 checkerboard (45,000 runs) against the platform's own
  // one-call constructor.
  TBitmap Board;
  Board.SetPixelFormat(pf32bit);
  Board.SetSize(300, 300);
  for (Integer y = 0; y < 300; ++y) {
    auto* Row = static_cast<Cardinal*>(Board.ScanLine(y));
    for (Integer x = 0; x < 300; ++x) Row[x] = ((x + y) & 1) ? 0xFFFFFF : 0;
  }
  const Integer Size = BuildMaskRegionData(&Board, 0, 0, Data);
  EXPECT_EQ(Size, 32 + 45000 * 16);
  HRGN Fast = CreateRegionFromData(Data, Size);
  HRGN Slow = ExtCreateRegion(nullptr, DWORD(Size), static_cast<const RGNDATA*>(Data));
  EXPECT_TRUE(EqualRgn(Fast, Slow));
  DeleteObject(Fast);
  DeleteObject(Slow);
  FreeRegionData(Data);
}

TEST(SkinBuilders, BorderStripsOfAPicture) {
  std::unique_ptr<TBitmap> Pic(NumberedPicture(40, 40));
  Geo G(50, 30);
  TBitmap L, T, R, B;
  L.SetSize(7, 7);
  G.NCl.Left = 0;
  CreateBorderStripImagesEx(G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, &L, &T, &R, &B,
                            Pic.get(), G.SR, 50, 30, false, false, false, false);
  EXPECT_EQ(L.Width(), 7);  // no left border: untouched
  EXPECT_EQ(T.Width(), 50);
  EXPECT_EQ(T.Height(), 2);
  EXPECT_EQ(Rgb(&T, 0, 0), Numbered(5, 7));
  EXPECT_EQ(B.Height(), 3);
  EXPECT_EQ(R.Height(), 30 - 2 - 3);
  SaveReviewPicture(u"border_strip_top", &T);
  SaveReviewPicture(u"border_strip_right", &R);
  SaveReviewPicture(u"border_strip_bottom", &B);
}

}  // namespace
