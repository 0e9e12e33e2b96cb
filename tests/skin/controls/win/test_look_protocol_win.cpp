// The look protocol of the skinned control bases: when the description is
// read, what a skin change does, the sizes the skin forces, the window
// region of the skin's mask, blending over what lies behind, and the
// background-changed wave (0x504) through a control tree.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <algorithm>
#include <set>

using namespace ctl;

namespace {

class LookProtocol : public SkinCtlTest {};

// How many more GDI objects the process can make (made and deleted again).
Integer FreeGdiSlots() {
  std::vector<HRGN> Made;
  for (;;) {
    HRGN R = CreateRectRgn(0, 0, 1, 1);
    if (!R || Made.size() > 1000000) break;
    Made.push_back(R);
  }
  for (HRGN R : Made) DeleteObject(R);
  return Integer(Made.size());
}

// A fixed-size "probe" description: SkinRect (10, 20)-(50, 40) of the
// coordinate picture, no corner points (the skin fixes 40 x 20).
skintest::TFixtureSkin FixedSkin() {
  auto S = CoordSkin();
  S.Control(u"probe", u"button", {u"pictureindex=0", u"skinrect=10,20,50,40"});
  return S;
}

TEST_F(LookProtocol, NameAloneDoesNotRepaintTheNextPaintUsesIt) {
  auto SD = LoadSkin(FixedSkin());
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinData(SD.get());
  EXPECT_FALSE(P->Skinned());  // no description named ""
  UpdateWindow(Host->Handle());
  Pump();
  const int Paints = P->Paints;
  P->SetSkinDataName(u"probe");
  Pump();
  EXPECT_EQ(P->Paints, Paints);
  EXPECT_FALSE(P->Skinned());
  auto B = Render(P);
  EXPECT_TRUE(P->Skinned());
  EXPECT_EQ(P->SkinImages, 1);
  // Mode 0 copies the skin rect as it is.
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(10, 20));
  EXPECT_EQ(Px(B.get(), 39, 19), Coord(49, 39));
}

TEST_F(LookProtocol, SkinAssignmentChangeAndRemoval) {
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinDataName(u"probe");
  // A skin that has not loaded anything is only stored.
  auto Empty = std::make_unique<TspSkinData>(nullptr);
  P->SetSkinData(Empty.get());
  EXPECT_EQ(P->Changes, 0);
  EXPECT_EQ(P->Width(), 60);
  auto* SD = new TspSkinData(nullptr);
  FixedSkin().LoadInto(SD);
  P->SetSkinData(SD);
  EXPECT_EQ(P->Changes, 1);
  EXPECT_TRUE(P->Skinned());
  EXPECT_EQ(P->Width(), 40);  // the fixed skin's size
  EXPECT_EQ(P->Height(), 20);
  P->BeforeChangeSkinData();
  EXPECT_FALSE(P->Skinned());
  P->ChangeSkinData();
  EXPECT_TRUE(P->Skinned());
  // nil only forgets the skin; the next paint reads again.
  P->SetSkinData(nullptr);
  EXPECT_TRUE(P->Skinned());
  Render(P);
  EXPECT_FALSE(P->Skinned());
  // A freed skin is let go of.
  P->SetSkinData(SD);
  delete SD;
  EXPECT_EQ(P->SkinData(), nullptr);
  Render(P);
  EXPECT_FALSE(P->Skinned());
}

TEST_F(LookProtocol, UnskinnedDefaultSizeAndDefaultFont) {
  auto SD = LoadSkin(FixedSkin());
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinDataName(u"none");
  P->SetDefaultHeight(19);
  EXPECT_EQ(P->Height(), 19);  // unskinned: applied at once
  P->SetHeight(50);
  P->SetSkinData(SD.get());
  EXPECT_EQ(P->Height(), 19);  // and at each skin change
  EXPECT_EQ(P->Width(), 60);
  // A font change repaints only an unskinned control.
  UpdateWindow(Host->Handle());
  int Paints = P->Paints;
  P->DefaultFont()->SetSize(12);
  Pump();
  EXPECT_GT(P->Paints, Paints);
  P->SetSkinDataName(u"probe");
  P->ChangeSkinData();
  UpdateWindow(Host->Handle());
  Paints = P->Paints;
  P->DefaultFont()->SetSize(14);
  Pump();
  EXPECT_EQ(P->Paints, Paints);
}

TEST_F(LookProtocol, SkinCursorOnlyWithUseSkinCursor) {
  auto S = CoordSkin();
  S.Control(u"probe", u"button", {u"pictureindex=0", u"skinrect=10,20,50,40", u"cursorindex=3"});
  auto SD = LoadSkin(S);
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinDataName(u"probe");
  P->SetSkinData(SD.get());
  EXPECT_EQ(P->Cursor(), crDefault);
  P->SetUseSkinCursor(true);
  P->ChangeSkinData();
  EXPECT_EQ(P->Cursor(), TCursor(SD->StartCursorIndex + 3));
  P->SetSkinDataName(u"none");
  P->SetCursor(crHandPoint);
  P->ChangeSkinData();  // unskinned keeps CursorIndex... of the description it read last
  EXPECT_EQ(P->Cursor(), TCursor(SD->StartCursorIndex + 3));
}

// A skin entry of the control's name but of another kind is no description:
// the control keeps its size and its default look, and a good skin after it
// works.
TEST_F(LookProtocol, DescriptionOfAnotherKindIsNoneForBothBases) {
  auto Bad = CoordSkin();
  Bad.Control(u"probe", u"bevel", {u"skinrect=0,0,0,0"});
  auto BadSD = LoadSkin(Bad);
  auto GoodSD = LoadSkin(FixedSkin());
  auto* W = new TLookProbe(Host);
  auto* G = new TGraphicLookProbe(Host);
  W->SetParent(Host);
  G->SetParent(Host);
  G->SetLeft(100);
  W->SetSkinDataName(u"probe");
  G->SetSkinDataName(u"probe");
  W->SetSkinData(BadSD.get());
  G->SetSkinData(BadSD.get());
  EXPECT_EQ(W->BoundsRect(), TRect(0, 0, 60, 30));
  EXPECT_EQ(G->BoundsRect(), TRect(100, 0, 160, 30));
  EXPECT_FALSE(W->Skinned());
  EXPECT_FALSE(G->Skinned());
  EXPECT_EQ(Px(Render(W).get(), 30, 15), TColor(clRed));
  EXPECT_EQ(Px(Render(G).get(), 30, 15), TColor(clRed));
  W->SetSkinData(GoodSD.get());
  G->SetSkinData(GoodSD.get());
  EXPECT_EQ(W->Width(), 40);
  EXPECT_EQ(G->Width(), 40);
  EXPECT_EQ(Px(Render(W).get(), 1, 1), Coord(11, 21));
  EXPECT_EQ(Px(Render(G).get(), 1, 1), Coord(11, 21));
}

TEST_F(LookProtocol, AlphaBlendOverThePatternBehind) {
  Host->Ground = clWhite;
  Host->Check = clBlue;
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetBounds(13, 9, 40, 20);
  P->SetAlphaBlend(true);
  P->SetAlphaBlendValue(255);
  auto B = Render(P);
  for (auto [X, Y] : {std::pair{0, 0}, {5, 3}, {39, 19}}) EXPECT_EQ(Px(B.get(), X, Y), TColor(clRed));
  P->SetAlphaBlendValue(0);
  B = Render(P);
  // Host pixel (13 + x, 9 + y): 4-pixel checks, blue where (row / 4 + col / 4) is odd.
  for (auto [X, Y] : {std::pair{0, 0}, {5, 3}, {3, 7}, {39, 19}}) {
    const Integer HX = 13 + X, HY = 9 + Y;
    const bool Blue = ((HY / 4) % 2 == 0) ? (HX % 8 < 4) : (HX % 8 >= 4);
    EXPECT_EQ(Px(B.get(), X, Y), TColor(Blue ? clBlue : clWhite)) << X << "," << Y;
  }
  // Moving a blended control repaints it.
  UpdateWindow(Host->Handle());
  const int Paints = P->Paints;
  P->SetLeft(20);
  Pump();
  EXPECT_GT(P->Paints, Paints);
}

TEST_F(LookProtocol, StretchableModesAtSeveralSizes) {
  // Nine-slice: corners (4, 4) and (36, 16) of a 40 x 20 rect at (100, 10).
  auto S = CoordSkin();
  S.Control(u"nine", u"button",
            {u"pictureindex=0", u"skinrect=100,10,140,30", u"lefttoppoint=4,4", u"righttoppoint=36,4",
             u"leftbottompoint=4,16", u"rightbottompoint=36,16", u"clientrect=4,4,36,16", u"stretcheffect=1"});
  S.Control(u"three", u"button",
            {u"pictureindex=0", u"skinrect=100,40,140,60", u"lefttoppoint=5,0", u"righttoppoint=30,0",
             u"stretcheffect=0"});
  auto SD = LoadSkin(S);
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinDataName(u"nine");
  P->SetSkinData(SD.get());
  for (auto [W, H] : {std::pair{40, 20}, {90, 33}, {200, 60}}) {
    SCOPED_TRACE(W);
    P->SetBounds(0, 0, W, H);
    ASSERT_EQ(P->Width(), W);
    auto B = Render(P);
    EXPECT_EQ(Px(B.get(), 0, 0), Coord(100, 10));                  // left-top corner as it is
    EXPECT_EQ(Px(B.get(), W - 1, 0), Coord(139, 10));              // right-top
    EXPECT_EQ(Px(B.get(), W - 1, H - 1), Coord(139, 29));          // right-bottom
    EXPECT_EQ(Px(B.get(), 0, H - 1), Coord(100, 29));              // left-bottom
    EXPECT_EQ(P->RealClientRect(), TRect(4, 4, 36 + W - 40, 16 + H - 20));
  }
  // Horizontal three-slice, tiled middle: the height stays the skin's.
  P->SetSkinDataName(u"three");
  P->ChangeSkinData();
  P->SetBounds(0, 0, 77, 50);
  EXPECT_EQ(P->Height(), 20);
  auto B = Render(P);
  EXPECT_EQ(Px(B.get(), 0, 5), Coord(100, 45));
  EXPECT_EQ(Px(B.get(), 76, 5), Coord(139, 45));           // right part of 10
  EXPECT_EQ(Px(B.get(), 5, 5), Coord(105, 45));            // middle starts at 5
  EXPECT_EQ(Px(B.get(), 5 + 25, 5), Coord(105, 45));       // tiled every 25
}

// The direct mode paints a freely stretching frame as strips and fills the
// client area with tiles of the skin's client piece, clipped.
class TDirectProbe : public TLookProbe {
 public:
  using TLookProbe::TLookProbe;
};

TEST_F(LookProtocol, DirectModeTilesTheClientPieceClipped) {
  auto S = CoordSkin();
  // Client piece (10, 10)-(20, 18) of a 30 x 28 rect at (60, 100).
  S.Control(u"direct", u"button",
            {u"pictureindex=0", u"skinrect=60,100,90,128", u"lefttoppoint=10,10", u"righttoppoint=20,10",
             u"leftbottompoint=10,18", u"rightbottompoint=20,18", u"clientrect=10,10,20,18"});
  auto SD = LoadSkin(S);
  auto* P = new TDirectProbe(Host);
  P->SetParent(Host);
  P->SetForcebackGround(true);
  P->SetSkinDataName(u"direct");
  P->SetSkinData(SD.get());
  // A client area 35 wide: 3.5 tiles, the fourth column clipped.
  P->SetBounds(0, 0, 55, 36);
  ASSERT_EQ(P->RealClientRect(), TRect(10, 10, 45, 26));
  auto B = Render(P, clFuchsia);
  for (Integer Col = 0; Col < 4; ++Col)
    EXPECT_EQ(Px(B.get(), 10 + Col * 10, 10), Coord(70, 110)) << Col;
  EXPECT_EQ(Px(B.get(), 44, 25), Coord(74, 117));  // last visible pixel of the clipped tile
  EXPECT_EQ(Px(B.get(), 45, 10), Coord(80, 110));  // the right strip
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(60, 100));
  EXPECT_EQ(Px(B.get(), 54, 35), Coord(89, 127));
  // Without DrawbackGround the client area is left as it was.
  P->SetDrawbackGround(false);
  B = Render(P, clFuchsia);
  EXPECT_EQ(Px(B.get(), 20, 15), TColor(clFuchsia));
}

TEST_F(LookProtocol, RegionFromTheMaskAndNoneWithout) {
  auto S = CoordSkin();
  // Mask: black (the region) on the left 30 columns, white elsewhere.
  auto Mask = skintest::FlatPicture(40, 20, clWhite, {{TRect(0, 0, 30, 20), clBlack}});
  const Integer MaskIndex = S.ActivePicture(std::move(Mask));
  S.Control(u"masked", u"button",
            {u"pictureindex=0", u"skinrect=10,20,50,40", u"maskpictureindex=" + IntToStr(MaskIndex)});
  S.Control(u"plain", u"button", {u"pictureindex=0", u"skinrect=10,20,50,40"});
  auto SD = LoadSkin(S);
  auto* P = new TLookProbe(Host);
  P->SetParent(Host);
  P->SetSkinDataName(u"masked");
  P->SetSkinData(SD.get());
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(P->Handle(), R), ERROR);
  RECT Box{};
  GetRgnBox(R, &Box);
  EXPECT_EQ(Box.right, 30);
  EXPECT_TRUE(P->HasSkinRegion());
  P->SetSkinDataName(u"plain");
  P->ChangeSkinData();
  EXPECT_EQ(GetWindowRgn(P->Handle(), R), ERROR);
  EXPECT_FALSE(P->HasSkinRegion());
  // Many switches leave the process's GDI objects as they were (Wine's
  // GetGuiResources answers 0; the free places of its object table count).
  for (int I = 0; I < 4; ++I) {
    P->SetSkinDataName(I % 2 ? u"plain" : u"masked");
    P->ChangeSkinData();
  }
  const Integer Before = FreeGdiSlots();
  for (int I = 0; I < 200; ++I) {
    P->SetSkinDataName(I % 2 ? u"plain" : u"masked");
    P->ChangeSkinData();
  }
  EXPECT_EQ(FreeGdiSlots(), Before);
  DeleteObject(R);
}

// Who hears 0x504 when it reaches a blended panel: blended controls repaint
// and pass it on, a non-blended one stops it, flat boxes and transparent
// panels take part without blending; graphic children are told, not passed through.
TEST_F(LookProtocol, BackgroundChangedWave) {
  std::vector<String> Heard;
  auto Listen = [&](TControl* C, const String& Name) {
    TWndMethod Old = C->WindowProc();
    C->SetWindowProc([&Heard, Old, Name](TMessage& M) {
      if (M.Msg == SP_PARENT_BACKGROUND_CHANGED) Heard.push_back(Name);
      Old(M);
    });
  };
  auto* Top = new TspSkinPanel(Host);
  Top->SetParent(Host);
  Top->SetAlphaBlend(true);
  auto* G1 = new TGraphicLookProbe(Top);
  G1->SetParent(Top);
  G1->SetAlphaBlend(true);
  auto* Stop = new TLookProbe(Top);
  Stop->SetParent(Top);
  auto* Below = new TLookProbe(Stop);
  Below->SetParent(Stop);
  Below->SetAlphaBlend(true);
  auto* Flat = new TspSkinCheckRadioBox(Top);
  Flat->SetParent(Top);
  auto* Trans = new TspSkinPanel(Top);
  Trans->SetParent(Top);
  Trans->SetTransparentMode(true);
  auto* Inner = new TLookProbe(Trans);
  Inner->SetParent(Trans);
  Inner->SetAlphaBlend(true);
  Listen(Top, u"top");
  Listen(G1, u"g1");
  Listen(Stop, u"stop");
  Listen(Below, u"below");
  Listen(Flat, u"flat");
  Listen(Trans, u"trans");
  Listen(Inner, u"inner");
  UpdateWindow(Host->Handle());
  Pump();
  const int BelowPaints = Below->Paints, InnerPaints = Inner->Paints, StopPaints = Stop->Paints;
  SendMessageW(Top->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
  // Controls order: the graphic child first, then the windowed ones.
  EXPECT_EQ(Heard, (std::vector<String>{u"top", u"g1", u"stop", u"flat", u"trans", u"inner"}));
  EXPECT_EQ(Below->Paints, BelowPaints);
  EXPECT_EQ(Stop->Paints, StopPaints);
  EXPECT_GT(Inner->Paints, InnerPaints);
  // A control that does not blend does nothing with it.
  Heard.clear();
  SendMessageW(Stop->Handle(), SP_PARENT_BACKGROUND_CHANGED, 0, 0);
  EXPECT_EQ(Heard, (std::vector<String>{u"stop"}));
}

}  // namespace
