// The splitter on a real aligned parent (drags resize the neighbour live,
// AutoSnap, Escape through the message hooks, the neighbour freed mid-drag)
// and the status bar (its grip, hit test, the form sizing from the grip, the
// skin handed to its children).
#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

// A plain windowed block that can hold the focus.
class TBlock : public TCustomControl {
 public:
  explicit TBlock(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

class SplitterWin : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    Top = Block(alTop, 40);
    LeftPanel = Block(alLeft, 100);
    Bar = new TspSkinSplitterEx(Host);
    Bar->SetParent(Host);
    Bar->SetAlign(alLeft);
    Bar->SetLeft(150);
    Bar->OnMoved = [this](TObject*) { ++Moved; };
    Client = Block(alClient, 0);
    // A skin without a splitter description: the default thickness.
    Plain = LoadSkin(CoordSkin());
    Bar->SetSkinData(Plain.get());
    Pump();
  }
  void TearDown() override {
    SkinCtlTest::TearDown();
    Plain.reset();
  }
  std::unique_ptr<TspSkinData> Plain;
  TBlock* Block(TAlign A, Integer Size) {
    auto* B = new TBlock(Host);
    B->SetParent(Host);
    if (A == alTop) B->SetHeight(Size);
    if (A == alLeft) B->SetBounds(Size, 0, Size, 10);
    B->SetAlign(A);
    return B;
  }
  void Drag(Integer DX, bool Release = true) {
    Press(Bar, 1, 20);
    Move(Bar, 1 + DX, 20);
    if (Release) ::ctl::Release(Bar, 1 + DX, 20);
  }
  TBlock *Top = nullptr, *LeftPanel = nullptr, *Client = nullptr;
  TspSkinSplitterEx* Bar = nullptr;
  int Moved = 0;
};

TEST_F(SplitterWin, LayoutAndUnskinnedThickness) {
  EXPECT_EQ(Bar->Width(), 10) << "the default size without a skin";
  EXPECT_EQ(Bar->Left(), 100);
  EXPECT_EQ(LeftPanel->Width(), 100);
  EXPECT_EQ(Bar->SkinDataName(), u"vsplitter");
  EXPECT_EQ(Bar->Cursor(), crHSplit);
}

TEST_F(SplitterWin, DragResizesTheNeighbourLive) {
  Press(Bar, 1, 20);
  EXPECT_EQ(Bar->ResizedControl(), LeftPanel);
  Move(Bar, 41, 20);
  EXPECT_EQ(LeftPanel->Width(), 140);
  EXPECT_EQ(Moved, 1);
  // The bar moved with its neighbour: the mouse is measured from it again.
  Move(Bar, 21, 20);
  EXPECT_EQ(LeftPanel->Width(), 160);
  EXPECT_EQ(Bar->Left(), 160) << "the bar follows its neighbour";
  EXPECT_EQ(Moved, 2);
  Release(Bar, 21, 20);
  EXPECT_EQ(Moved, 3) << "again at the stop";
  EXPECT_EQ(Bar->ResizedControl(), nullptr);
  // The maximum leaves MinSize for the rest: 400 - 30 - (160 + 10) + 160.
  Drag(1000);
  EXPECT_EQ(LeftPanel->Width(), 360);
}

TEST_F(SplitterWin, AutoSnapCollapsesAtMinSize) {
  Drag(-69);  // 31: above MinSize
  EXPECT_EQ(LeftPanel->Width(), 31);
  Drag(-1);  // 30 = MinSize
  EXPECT_EQ(LeftPanel->Width(), 0);
  // OnCanResize can refuse.
  Bar->SetAutoSnap(false);
  LeftPanel->SetWidth(100);
  Pump();
  Bar->OnCanResize = [](TObject*, Integer& NewSize, bool& Accept) { Accept = NewSize < 120; };
  Drag(50);
  EXPECT_EQ(LeftPanel->Width(), 100);
  Drag(10);
  EXPECT_EQ(LeftPanel->Width(), 110);
}

TEST_F(SplitterWin, EscapeEndsTheDragAndTouchesNoOtherHandler) {
  LeftPanel->SetFocus();
  Pump();
  Press(Bar, 1, 20);
  Move(Bar, 21, 20);
  EXPECT_EQ(LeftPanel->Width(), 120);
  // A handler given to the focused control meanwhile survives the drag.
  int Keys = 0;
  LeftPanel->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++Keys; };
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Bar->ResizedControl(), nullptr);
  EXPECT_FALSE(Application->MessageHooks().Installed(Bar));
  EXPECT_EQ(LeftPanel->Width(), 120) << "Escape does not undo";
  Move(Bar, 80, 20);
  EXPECT_EQ(LeftPanel->Width(), 120);
  Release(Bar, 80, 20);
  PressKey(VK_SPACE);
  EXPECT_EQ(Keys, 1);
  EXPECT_TRUE(LeftPanel->OnKeyDown != nullptr);
}

TEST_F(SplitterWin, NeighbourFreedMidDrag) {
  Press(Bar, 1, 20);
  delete LeftPanel;
  LeftPanel = nullptr;
  Move(Bar, 30, 20);
  Release(Bar, 30, 20);
  EXPECT_EQ(Bar->ResizedControl(), nullptr);
  EXPECT_FALSE(Application->MessageHooks().Installed(Bar));
}

TEST_F(SplitterWin, ClientAndUnalignedBarsDoNothing) {
  for (TAlign A : {alClient, alNone}) {
    auto* B = new TspSkinSplitterEx(Host);
    B->SetParent(Host);
    B->SetBounds(200, 100, 10, 50);
    B->SetAlign(A);
    Press(B, 2, 2);
    EXPECT_EQ(B->ResizedControl(), nullptr);
    Move(B, 30, 2);
    Release(B, 30, 2);
    delete B;
  }
  EXPECT_EQ(LeftPanel->Width(), 100);
}

// A 5 x 22 "vsplitter" of the coordinate picture with a 3 x 8 gripper whose
// corner pixel is magenta.
skintest::TFixtureSkin SplitterSkin() {
  auto S = CoordSkin();
  auto P = CoordPicture(256, 256);
  P->Canvas()->SetPixels(40, 40, clFuchsia);
  S.ActivePicture(std::move(P));  // index 1
  S.Control(u"vsplitter", u"splitter",
            {u"pictureindex=1", u"skinrect=10,0,15,22", u"lefttoppoint=0,5", u"leftbottompoint=0,18",
             u"gripperrect=40,40,43,48", u"grippertransparent=1", u"grippertransparentcolor=16711935"});
  return S;
}

TEST_F(SplitterWin, SkinnedColumnWithItsGripper) {
  auto SD = LoadSkin(SplitterSkin());
  Bar->SetSkinData(SD.get());
  ASSERT_TRUE(Bar->Skinned());
  EXPECT_EQ(Bar->Width(), 5);
  auto Img = Grab(Bar);
  const Integer H = Bar->Height(), GY = H / 2 - 4;
  EXPECT_EQ(Px(Img.get(), 0, 0), Coord(10, 0)) << "the top piece";
  EXPECT_EQ(Px(Img.get(), 2, GY + 1), Coord(41, 41)) << "the gripper, centred";
  EXPECT_EQ(Px(Img.get(), 0, H - 1), Coord(10, 21)) << "the bottom piece";
  EXPECT_NE(Px(Img.get(), 1, GY), TColor(clFuchsia)) << "magenta stays transparent";
  SaveScreen(u"test", u"splitter", u"normal", Img.get());
  // A "vsplitter" of another kind: the default thickness, nothing kept from
  // the skin before.
  auto Other = CoordSkin();
  Other.Control(u"vsplitter", u"button", {u"pictureindex=0", u"skinrect=0,0,40,20"});
  auto Bad = LoadSkin(Other);
  Bar->SetSkinData(Bad.get());
  EXPECT_FALSE(Bar->Skinned());
  EXPECT_EQ(Bar->Width(), 10);
  EXPECT_EQ(Bar->FSkinPicture, nullptr);
  Grab(Bar);
}

// ---------------------------------------------------------------------------

class StatusBarWin : public SkinCtlTest {
 protected:
  TspSkinStatusBar* Make() {
    auto* S = new TspSkinStatusBar(Host);
    S->SetParent(Host);
    S->HandleNeeded();
    Pump();
    return S;
  }
};

TEST_F(StatusBarWin, DockedWithAGripOf21Pixels) {
  auto* S = Make();
  EXPECT_EQ(S->Align(), alBottom);
  EXPECT_EQ(S->Height(), 21);
  EXPECT_EQ(S->Width(), 400);
  EXPECT_EQ(S->ClientRect().Width(), 400);
  S->SetSizeGrip(true);
  TRect R(0, 0, S->Width(), S->Height());
  S->AdjustClientRect(R);
  EXPECT_EQ(R.Right, 400 - 21);
  EXPECT_EQ(S->GripRect(), TRect(381, 0, 400, 19));
  auto Img = Render(S);
  EXPECT_EQ(Px(Img.get(), 384, 19), Sys(clBtnShadow)) << "first stripe";
  EXPECT_EQ(Px(Img.get(), 385, 18), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 385, 19), Sys(clBtnHighlight));
  EXPECT_EQ(Px(Img.get(), 383, 19), Sys(clBtnFace));
  SaveScreen(u"default", u"statusbar", u"grip", Img.get());
  // ShowGrip off: the full width and a plain hit test.
  S->SetShowGrip(false);
  R = TRect(0, 0, S->Width(), S->Height());
  S->AdjustClientRect(R);
  EXPECT_EQ(R.Right, 400);
  Img = Render(S);
  EXPECT_EQ(Px(Img.get(), 384, 19), Sys(clBtnFace));
}

TEST_F(StatusBarWin, HitTestAnswersTheSizingCorner) {
  auto* S = Make();
  S->SetSizeGrip(true);
  struct Row {
    Integer X, Y;
    LRESULT Code;
  };
  for (const Row& R : {Row{390, 10, HTBOTTOMRIGHT}, Row{381, 0, HTBOTTOMRIGHT}, Row{400, 19, HTBOTTOMRIGHT},
                       Row{380, 10, HTCLIENT}, Row{10, 10, HTCLIENT}}) {
    const TPoint P = S->ClientToScreen(TPoint(R.X, R.Y));
    EXPECT_EQ(SendMessageW(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)), R.Code) << R.X << "," << R.Y;
  }
  S->SetShowGrip(false);
  const TPoint P = S->ClientToScreen(TPoint(390, 10));
  EXPECT_EQ(SendMessageW(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)), LRESULT(HTCLIENT));
}

// A form that records the sizing requests it gets instead of running the
// system's sizing loop.
class TRecordingForm : public TForm {
 public:
  explicit TRecordingForm(TComponent* AOwner) : TForm(AOwner) {}
  std::vector<WPARAM> SizingHits;

 protected:
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_NCLBUTTONDOWN && M.WParam == HTBOTTOMRIGHT) {
      SizingHits.push_back(M.WParam);
      return;
    }
    TForm::WndProc(M);
  }
};

TEST_F(StatusBarWin, APressOnTheGripSizesTheFormNotTheBar) {
  auto* F = new TRecordingForm(nullptr);
  F->SetBounds(60, 60, 300, 200);
  auto* S = new TspSkinStatusBar(F);
  S->SetParent(F);
  S->SetSizeGrip(true);
  F->HandleNeeded();
  S->HandleNeeded();
  const TRect Before = S->BoundsRect();
  const TPoint P = S->ClientToScreen(TPoint(S->Width() - 5, 10));
  SendMessageW(S->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(P.X, P.Y));
  EXPECT_EQ(F->SizingHits, std::vector<WPARAM>{HTBOTTOMRIGHT});
  EXPECT_EQ(S->BoundsRect(), Before);
  delete F;
}

TEST_F(StatusBarWin, SkinGoesToTheSkinnedControlsOnIt) {
  auto* S = Make();
  auto* B = new TspSkinButton(S);
  B->SetParent(S);
  auto* Plain = new TBlock(S);
  Plain->SetParent(S);
  auto Skin = CoordSkin();
  Skin.Control(u"statusbar", u"panel",
               {u"pictureindex=0", u"skinrect=0,0,40,21", u"lefttoppoint=3,3", u"righttoppoint=37,3",
                u"leftbottompoint=3,18", u"rightbottompoint=37,18", u"clientrect=3,3,37,18"});
  auto SD = LoadSkin(Skin);
  S->SetSkinData(SD.get());
  EXPECT_EQ(B->SkinData(), SD.get());
  S->SetSizeGrip(true);
  // No gripper image: stripes in the skin's colours.
  auto Img = Render(S);
  const TRect G = S->GripRect();
  ASSERT_LT(G.Bottom, S->Height());
  EXPECT_EQ(Px(Img.get(), G.Left + 3, G.Bottom), TColor(SD->SkinColors()->cBtnShadow()));
  SaveScreen(u"test", u"statusbar", u"grip", Img.get());
}

// The program's forms place no status bar and the made schemes describe
// none: a status bar given a made scheme keeps the default look (the
// panel's plain face and the grip's stripes in the system colours), at the
// default look's size and grip, and answers the sizing corner the same way.
TEST_F(StatusBarWin, MadeSchemesLeaveItInTheDefaultLook) {
  for (const String& Name : MadeSchemeNames()) {
    SCOPED_TRACE(ToUtf8(Name));
    auto SD = MadeScheme(Name);
    ASSERT_FALSE(SD->Empty);
    EXPECT_EQ(SD->GetControlIndex(u"statusbar"), -1);
    auto* S = Make();
    S->SetSkinData(SD.get());
    S->SetSizeGrip(true);
    EXPECT_FALSE(S->Skinned());
    EXPECT_EQ(S->Height(), 21);
    EXPECT_EQ(S->GripRect(), TRect(381, 0, 400, 19));
    auto Img = Render(S);
    EXPECT_EQ(Px(Img.get(), 384, 19), Sys(clBtnShadow));
    EXPECT_EQ(Px(Img.get(), 385, 19), Sys(clBtnHighlight));
    EXPECT_EQ(Px(Img.get(), 200, 10), Sys(clBtnFace));
    const TPoint P = S->ClientToScreen(TPoint(390, 10));
    EXPECT_EQ(SendMessageW(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)), LRESULT(HTBOTTOMRIGHT));
    SaveScreen(Name, u"statusbar", u"grip", Img.get());
    delete S;
  }
}

}  // namespace
