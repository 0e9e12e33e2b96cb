// The slider in a real window: its built-in pictures, value setters and
// their events, the layout with a small "slider" skin, drags, ruler presses
// stepped by WM_TIMER 1, keys, and bad input (a slider narrower than its
// thumb, a ruler image shorter than its ends, a description of another kind).
#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

class SliderWin : public SkinCtlTest {
 protected:
  TspSkinSlider* Make(Integer W = 150, Integer H = 40) {
    auto* S = new TspSkinSlider(Host);
    S->SetParent(Host);
    S->SetBounds(10, 10, W, H);
    S->OnChange = [this](TObject*) { ++Changes; };
    S->OnChanged = [this](TObject*) { ++Changeds; };
    S->HandleNeeded();
    return S;
  }
  void Timer(TspSkinSlider* S) { SendMessageW(S->Handle(), WM_TIMER, 1, 0); }
  int Changes = 0, Changeds = 0;
};

TEST_F(SliderWin, BuiltInPicturesHaveTheSizesTheLayoutAssumes) {
  auto* S = Make();
  struct Row {
    TspSliderImage I;
    bool Thumb, Vertical;
  };
  for (const Row& R : {Row{siHThumb, true, false}, Row{siHRuler, false, false}, Row{siVThumb, true, true},
                       Row{siVRuler, false, true}}) {
    TBitmap* B = S->Image(R.I);
    ASSERT_NE(B, nullptr);
    ASSERT_FALSE(B->Empty());
    if (R.Thumb)
      EXPECT_EQ(B->Width() % 2, 0) << "two frames side by side";
    else
      EXPECT_GT(R.Vertical ? B->Height() : B->Width(), 2 * S->EdgeSize() + 1) << "a middle to repeat";
  }
  EXPECT_FALSE(S->RulerIsStretched());
  EXPECT_EQ(S->Ruler()->Width(), 150 - 12);
}

TEST_F(SliderWin, ValueSettersAndTheirEvents) {
  auto* S = Make();
  S->SetValue(150);
  EXPECT_EQ(S->Value(), 100);
  EXPECT_EQ(Changes, 1);
  S->SetValue(100);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Changeds, 0) << "code never fires OnChanged";
  S->SetMinValue(100);
  EXPECT_EQ(S->MinValue(), 0) << "an empty range is refused";
  S->SetMaxValue(5);
  EXPECT_EQ(S->Increment(), 5);
  EXPECT_EQ(S->Value(), 5);
  EXPECT_EQ(Changes, 2);
  S->SetIncrement(0);
  EXPECT_EQ(S->Increment(), 5);
  // While loading, an inverted range is stored as it comes.
  auto* L = Make();
  L->BeginLoading();
  L->SetMinValue(200);
  EXPECT_EQ(L->MinValue(), 200);
  L->SetMaxValue(300);
  L->EndLoading();
  EXPECT_EQ(L->MinValue(), 200);
  EXPECT_EQ(L->MaxValue(), 300);
  EXPECT_EQ(L->Value(), 200);
}

// A "slider" description of the coordinate picture: a 9 x 16 thumb (two
// frames at (100, 0)) and a 40 x 9 ruler at (0, 60), ends 2.
skintest::TFixtureSkin SliderSkin() {
  auto S = CoordSkin();
  S.Control(u"slider", u"slider",
            {u"pictureindex=0", u"hthumbrect=100,0,118,16", u"hrulerrect=0,60,40,69", u"vthumbrect=100,20,132,29",
             u"vrulerrect=60,0,69,40", u"edgesize=2", u"bgcolor=65280", u"pointscolor=255"});
  return S;
}

TEST_F(SliderWin, SkinnedLayoutOfA244By26Slider) {
  auto SD = LoadSkin(SliderSkin());
  auto* S = Make(244, 26);
  S->SetOptions(0);
  S->SetSkinData(SD.get());
  ASSERT_TRUE(S->Skinned());
  EXPECT_EQ(S->Ruler()->Width(), 232);
  EXPECT_EQ(S->RulerOrg(), TPoint(6, 9));
  EXPECT_EQ(S->ThumbRect().Top, 6);
  EXPECT_EQ(S->ThumbRect().Height(), 16);
  EXPECT_EQ(S->ThumbRect().Width(), 9);
  S->SetMinValue(-100);
  S->SetValue(0);
  EXPECT_EQ(S->ThumbRect().Left, 118);
  auto Img = Render(S);
  EXPECT_EQ(Px(Img.get(), 118 + 1, 6 + 1), Coord(101, 1)) << "the thumb's first frame";
  EXPECT_EQ(Px(Img.get(), 2, 2), TColor(0x00FF00)) << "the skin's background colour";
  SaveScreen(u"test", u"slider", u"normal", Img.get());
  // Dragged: the second frame.
  Press(S, 120, 10);
  Img = Render(S);
  EXPECT_EQ(Px(Img.get(), 118 + 1, 6 + 1), Coord(110, 1));
  SaveScreen(u"test", u"slider", u"dragged", Img.get());
  Release(S, 120, 10);
  S->SetEnabled(false);
  Img = Render(S);
  EXPECT_EQ(Px(Img.get(), 118 + 1, 6 + 1), Coord(110, 1)) << "disabled: the second frame";
}

TEST_F(SliderWin, DragChangesAndEndsWithOnChanged) {
  auto* S = Make(244, 40);
  const TRect T = S->ThumbRect();
  Press(S, T.Left + 2, T.Top + 2);
  EXPECT_TRUE(S->Sliding());
  Move(S, T.Left + 2 + 60, T.Top + 2);
  EXPECT_GT(S->Value(), 0);
  const int AfterMove = Changes;
  EXPECT_GE(AfterMove, 1);
  Move(S, 1000, T.Top + 2);
  EXPECT_EQ(S->Value(), 100);
  Move(S, -1000, T.Top + 2);
  EXPECT_EQ(S->Value(), 0);
  EXPECT_EQ(Changeds, 0);
  Release(S, -1000, T.Top + 2);
  EXPECT_FALSE(S->Sliding());
  EXPECT_EQ(Changeds, 1);
}

TEST_F(SliderWin, SnappingWithoutSmooth) {
  struct Row {
    Integer Inc, Min;
  };
  for (const Row& R : {Row{1, 0}, Row{10, 0}, Row{10, 5}}) {
    auto* S = Make(244, 40);
    S->SetOptions(0);
    S->SetMinValue(R.Min);
    S->SetMaxValue(R.Min + 100);
    S->SetIncrement(R.Inc);
    const TRect T = S->ThumbRect();
    Press(S, T.Left + 1, T.Top + 2);
    for (Integer X = T.Left + 1; X < 240; X += 7) {
      Move(S, X, T.Top + 2);
      EXPECT_EQ((S->Value() - R.Min) % R.Inc, 0) << R.Inc << " " << R.Min << " at " << X;
    }
    Release(S, 240, T.Top + 2);
    delete S;
  }
}

TEST_F(SliderWin, RulerPressStepsOnTimerUntilTheThumbPassesTheMouse) {
  auto* S = Make(244, 40);
  S->SetOptions(0);
  const TPoint R = S->RulerOrg();
  // Right of the thumb, at value 50's place.
  const Integer X = 6 + (S->Ruler()->Width() - S->ThumbRect().Width()) / 2 + 2;
  Press(S, X, R.Y + 1);
  EXPECT_TRUE(S->Tracking());
  EXPECT_EQ(S->Value(), 10) << "one step at once";
  for (int I = 0; I < 10; ++I) Timer(S);
  EXPECT_GE(S->Value(), 40);
  EXPECT_LE(S->Value(), 60) << "stepping stops once the thumb has passed the mouse";
  const Integer Stopped = S->Value();
  Timer(S);
  EXPECT_EQ(S->Value(), Stopped);
  EXPECT_EQ(Changeds, 0);
  Release(S, X, R.Y + 1);
  EXPECT_FALSE(S->Tracking());
  EXPECT_EQ(Changeds, 1);
}

TEST_F(SliderWin, KeysStepAndAlwaysFireOnChanged) {
  auto* S = Make();
  S->SetValue(15);
  Changes = 0;
  struct Row {
    WPARAM Key;
    Integer Value;
  };
  for (const Row& R : {Row{VK_RIGHT, 20}, Row{VK_RIGHT, 30}, Row{VK_LEFT, 20}, Row{VK_END, 100}, Row{VK_RIGHT, 100},
                       Row{VK_HOME, 0}, Row{VK_UP, 0}}) {
    SendKey(S->Handle(), WM_KEYDOWN, R.Key);
    EXPECT_EQ(S->Value(), R.Value) << R.Key;
  }
  EXPECT_EQ(Changeds, 6) << "every step key, also without a change; Up does nothing horizontally";
  EXPECT_EQ(Changes, 5);
  EXPECT_EQ(S->Perform(WM_GETDLGCODE, 0, 0), LRESULT(DLGC_WANTARROWS));
}

TEST_F(SliderWin, OrientationSwapsTheSize) {
  auto* S = Make();
  S->SetOrientation(soVertical);
  EXPECT_EQ(S->Width(), 40);
  EXPECT_EQ(S->Height(), 150);
  EXPECT_EQ(S->Ruler()->Height(), 150 - 12);
  S->SetValue(100);
  EXPECT_EQ(S->ThumbRect().Top, 6) << "larger values lie higher";
  SaveScreen(u"default", u"slider", u"vertical", Render(S).get());
}

TEST_F(SliderWin, BadInputNeverBreaksTheSlider) {
  // Narrower than its thumb: every value sits at the start.
  auto* N = Make(14, 30);
  N->SetValue(70);
  EXPECT_EQ(N->Value(), 70);
  EXPECT_EQ(N->ThumbRect().Left, 6);
  Press(N, 7, 10);
  Move(N, 12, 10);
  Release(N, 12, 10);
  Render(N);
  // A user ruler shorter than its two ends is stretched, not tiled.
  auto* U = Make(200, 40);
  TBitmap Short;
  Short.SetSize(3, 6);
  U->SetSliderImage(siHRuler, &Short);
  EXPECT_TRUE(U->RulerIsStretched());
  EXPECT_EQ(U->Ruler()->Width(), 188);
  Render(U);
  U->SetSliderImage(siHRuler, nullptr);
  EXPECT_FALSE(U->RulerIsStretched());
  // A "slider" of another kind: the default look, nothing kept.
  auto Other = CoordSkin();
  Other.Control(u"slider", u"button", {u"pictureindex=0", u"skinrect=0,0,40,20"});
  auto SD = LoadSkin(Other);
  U->SetSkinData(SD.get());
  EXPECT_FALSE(U->Skinned());
  EXPECT_EQ(U->Picture, nullptr);
  Render(U);
  // The skin goes away under the slider: it paints from its own pictures.
  auto Good = LoadSkin(SliderSkin());
  U->SetSkinData(Good.get());
  EXPECT_TRUE(U->Skinned());
  Good.reset();
  Render(U);
  EXPECT_FALSE(U->Skinned());
}

TEST_F(SliderWin, TransparentOverAPattern) {
  Host->Check = clBlue;
  Host->Invalidate();
  auto* S = Make();
  S->SetTransparent(true);
  auto Img = Grab(S);
  // The corner shows the host's pattern (white or blue), not the slider's colour.
  const TColor C = Px(Img.get(), 1, 1);
  EXPECT_TRUE(C == clWhite || C == clBlue) << std::hex << C;
  SaveScreen(u"default", u"slider", u"transparent", Img.get());
}

}  // namespace
