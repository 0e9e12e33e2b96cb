// The skinned hint in a real window: the component on the main form makes
// the application's hint windows skinned ones, shows hints at once or after
// its timer, with the text broken at the separator, in the default look or
// the skin's picture, moved back into the work area, faded in by steps, and
// with a window region only while the skin has a mask.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/controls/SkinHint.h"

using namespace ctl;

namespace {

class HintWin : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    SavedClass = HintWindowClass;
    SavedMain = Application->MainForm();
    Application->SetMainForm(SharedForm());
  }
  void TearDown() override {
    for (TspSkinHint* H : Hints) delete H;
    Hints.clear();
    HintWindowClass = SavedClass;
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    Application->SetMainForm(SavedMain);
    SkinCtlTest::TearDown();
  }
  TspSkinHint* Make() {
    auto* H = new TspSkinHint(SharedForm());
    Hints.push_back(H);
    return H;
  }
  // The middle of the screen, far from its edges.
  TPoint Middle() const { return TPoint(200, 150); }

  THintWindowClass SavedClass;
  TCustomForm* SavedMain = nullptr;
  std::vector<TspSkinHint*> Hints;
};

TEST_F(HintWin, TheApplicationMakesItsHintWindowSkinned) {
  TspSkinHint* H = Make();
  EXPECT_NE(dynamic_cast<TspSkinHintWindow*>(Application->HintWindow()), nullptr);
  EXPECT_EQ(Application->HintShortPause(), 100);
  EXPECT_TRUE(Application->OnShowHint != nullptr);
  // Gone, it leaves no handler behind that would reach a freed component.
  Hints.clear();
  delete H;
  EXPECT_TRUE(Application->OnShowHint == nullptr);
}

TEST_F(HintWin, SeparatorBreaksTheTextIntoLines) {
  TspSkinHint* H = Make();
  H->ActivateHint(Middle(), u"word");
  TspSkinHintWindow* W = H->Window();
  ASSERT_TRUE(H->IsVisible());
  const Integer OneLine = W->Height();
  H->ActivateHint(Middle(), u"word@word");
  EXPECT_EQ(W->Text(), u"word\r\nword");
  const Integer TwoLines = W->Height();
  // Two lines add exactly one line's height (no empty line between).
  EXPECT_EQ(TwoLines - OneLine, OneLine - 4);
  H->HideHint();
  EXPECT_FALSE(H->IsVisible());
}

TEST_F(HintWin, DefaultLookPixelsAndPlace) {
  TspSkinHint* H = Make();
  H->ActivateHint(Middle(), u"Hint");
  TspSkinHintWindow* W = H->Window();
  EXPECT_EQ(W->Left(), Middle().X);
  EXPECT_EQ(W->Top(), Middle().Y);
  EXPECT_EQ(W->SkinData(), nullptr);
  auto Img = Render(W);
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), W->Width() - 1, W->Height() - 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 1, W->Height() - 2), Sys(clInfoBk));
  SaveScreen(u"default", u"hint", u"plain", Img.get());
  H->HideHint();
}

TEST_F(HintWin, WorkAreaEdgesMoveTheHintBack) {
  TspSkinHint* H = Make();
  TRect Area;
  GetMonitorArea(SharedForm()->Handle(), true, Area);
  H->ActivateHint(TPoint(Area.Right - 5, 100), u"Near the edge");
  TspSkinHintWindow* W = H->Window();
  EXPECT_EQ(W->Left(), Area.Right - 5 - W->Width() - 2);
  EXPECT_EQ(W->Top(), 100);
  H->ActivateHint(TPoint(100, Area.Bottom - 3), u"Near the bottom");
  EXPECT_EQ(W->Left(), 100);
  EXPECT_EQ(W->Top(), Area.Bottom - 3 - W->Height() - 2);
  H->HideHint();
}

TEST_F(HintWin, FadeInStepsThroughTheAlphaSeam) {
  TspSkinHint* H = Make();
  std::vector<int> Steps;
  H->Window()->OnSetAlpha = [&](HWND, Byte A) { Steps.push_back(A); };
  H->SetAlphaBlend(true);
  H->SetAlphaBlendAnimation(true);
  H->SetAlphaBlendValue(5);
  H->ActivateHint(Middle(), u"Fade");
  EXPECT_EQ(Steps, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_NE(GetWindowLongW(H->Window()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  // Without animation the value is set once, when it changes.
  Steps.clear();
  H->SetAlphaBlendAnimation(false);
  H->SetAlphaBlendValue(150);
  H->ActivateHint(Middle(), u"Fade");
  H->ActivateHint(Middle(), u"Fade");
  EXPECT_EQ(Steps, (std::vector<int>{150}));
  // Off again: the layered style goes.
  H->SetAlphaBlend(false);
  H->ActivateHint(Middle(), u"Plain");
  EXPECT_EQ(GetWindowLongW(H->Window()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  H->HideHint();
}

TEST_F(HintWin, ScheduledHintShowsThenHidesOnItsTimer) {
  TspSkinHint* H = Make();
  H->HideHint();  // nothing shown: only cancels
  EXPECT_EQ(H->Timer(), nullptr);
  H->ActivateHint2(u"Later");
  ASSERT_NE(H->Timer(), nullptr);
  EXPECT_EQ(H->Timer()->Interval(), Cardinal(Application->HintPause()));
  EXPECT_FALSE(H->IsVisible());
  H->HideHint();
  EXPECT_EQ(H->Timer(), nullptr) << "a pending hint is cancelled";
  EXPECT_FALSE(H->IsVisible());

  SetCursorPos(300, 200);
  H->ActivateHint2(u"Later");
  Fire(H->Timer());
  EXPECT_TRUE(H->IsVisible());
  EXPECT_EQ(H->Window()->Left(), 300);
  EXPECT_EQ(H->Window()->Top(), 200 + H->GetCursorHeightMargin());
  ASSERT_NE(H->Timer(), nullptr);
  EXPECT_EQ(H->Timer()->Interval(), Cardinal(Application->HintHidePause()));
  Fire(H->Timer());
  EXPECT_FALSE(H->IsVisible());
  EXPECT_EQ(H->Timer(), nullptr);

  // Centred above a rect.
  H->ActivateHint3(TRect(100, 300, 200, 320), u"Above", true);
  Fire(H->Timer());
  TspSkinHintWindow* W = H->Window();
  EXPECT_EQ(W->Left(), 150 - W->Width() / 2);
  EXPECT_EQ(W->Top(), 300 - W->Height());
  H->HideHint();
}

TEST_F(HintWin, CursorMarginOfTheArrow) {
  TspSkinHint* H = Make();
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // the arrow
  // Measured under the project's Wine: the arrow's lowest drawn row is row
  // 20 of its 32, with the hot spot at its tip (row 0).
  EXPECT_EQ(H->GetCursorHeightMargin(), 21);
  EXPECT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
}

TEST_F(HintWin, OnlyOneActiveComponentAndItsShowHintHook) {
  TspSkinHint* A = Make();
  TspSkinHint* B = Make();
  EXPECT_TRUE(A->Active());
  EXPECT_TRUE(B->Active());
  B->SetActive(true);
  EXPECT_FALSE(A->Active());
  EXPECT_TRUE(B->Active());
  // B's hook takes the skinned control's title and image.
  auto* Btn = new TspSkinButton(Host);
  Btn->SetParent(Host);
  Btn->SetHintTitle(u"Title");
  Btn->SetHintImageIndex(3);
  String S = u"text";
  bool CanShow = true;
  THintInfo Info;
  Info.HintControl = Btn;
  int UserCalls = 0;
  B->OnShowHint = [&](String&, bool&, THintInfo&) { ++UserCalls; };
  Application->OnShowHint(S, CanShow, Info);
  EXPECT_EQ(B->HintTitle(), u"Title");
  EXPECT_EQ(B->HintImageIndex(), 3);
  EXPECT_EQ(UserCalls, 1);
  // A plain hint on a component holding a title becomes an extended one.
  B->ActivateHint(Middle(), u"text");
  EXPECT_TRUE(B->Window()->Extended());
  B->HideHint();
  // No active component: nothing shows.
  B->SetActive(false);
  B->ActivateHint(Middle(), u"nothing");
  EXPECT_FALSE(B->IsVisible());
}

TEST_F(HintWin, ExtendedHintIsLargerThanItsText) {
  TspSkinHint* H = Make();
  H->ActivateHint(Middle(), u"Body");
  const Integer PW = H->Window()->Width(), PH = H->Window()->Height();
  auto* IL = new TCustomImageList(SharedForm(), 16, 16);
  auto Pic = CoordPicture(16, 16);
  IL->Add(Pic.get(), nullptr);
  H->ActivateHintEx(Middle(), u"Title", u"Body", 0, IL);
  TspSkinHintWindow* W = H->Window();
  EXPECT_TRUE(W->Extended());
  EXPECT_GE(W->Width(), PW + 16 + 10);
  EXPECT_GT(W->Height(), PH + 10);
  auto Img = Render(W);
  // The image at the left column, under the title.
  Integer X0 = -1, Y0 = -1;
  for (Integer Y = 0; Y < W->Height() && X0 < 0; ++Y)
    for (Integer X = 0; X < W->Width(); ++X)
      if (Px(Img.get(), X, Y) == Coord(0, 0)) {
        X0 = X;
        Y0 = Y;
        break;
      }
  EXPECT_EQ(X0, 2);
  EXPECT_GT(Y0, 2 + 5);
  EXPECT_EQ(Px(Img.get(), X0 + 15, Y0 + 15), Coord(15, 15));
  SaveScreen(u"default", u"hint", u"extended", Img.get());
  H->HideHint();
  delete IL;
}

// A hint picture of the coordinate picture with 5-pixel borders; with Mask a
// black 40 x 30 mask picture.
skintest::TFixtureSkin HintSkin(bool Mask) {
  auto S = CoordSkin();
  S.Keys(u"HINTWINDOW", {u"windowpictureindex=0", u"lefttoppoint=5,5", u"righttoppoint=250,5",
                          u"leftbottompoint=5,250", u"rightbottompoint=250,250", u"clientrect=5,5,250,250",
                          u"fontcolor=255"});
  if (Mask) {
    S.ActivePicture(skintest::FlatPicture(256, 256, clBlack));
    S.Keys(u"HINTWINDOW", {u"maskpictureindex=1"});
  }
  return S;
}

TEST_F(HintWin, SkinnedPictureAndRegion) {
  TspSkinHint* H = Make();
  auto Masked = LoadSkin(HintSkin(true));
  auto Plain = LoadSkin(HintSkin(false));
  H->SetSkinData(Masked.get());
  H->ActivateHint(Middle(), u"Skinned");
  TspSkinHintWindow* W = H->Window();
  EXPECT_EQ(W->SkinData(), Masked.get());
  EXPECT_TRUE(W->HasRegion());
  auto Img = Render(W);
  EXPECT_EQ(Px(Img.get(), 1, 1), Coord(1, 1));
  SaveScreen(u"test", u"hint", u"plain", Img.get());
  H->SetSkinData(Plain.get());
  H->ActivateHint(Middle(), u"Skinned");
  EXPECT_FALSE(W->HasRegion());
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(W->Handle(), R), ERROR);
  DeleteObject(R);
  // A skin freed under the component is forgotten.
  Plain.reset();
  EXPECT_EQ(H->SkinData(), nullptr);
  H->ActivateHint(Middle(), u"Default again");
  EXPECT_EQ(W->SkinData(), nullptr);
  H->HideHint();
}

}  // namespace
