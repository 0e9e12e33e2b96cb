// The up-down arrows in a real window: the values a new control has, the
// value setters and their events, presses stepping on release with the
// repeat driven by WM_TIMER 1, a press dragged onto the other button, the
// default look's pixels in its states, and the skinned look from a
// coordinate picture (a description of another kind keeps the default).
#include "tests/skin/controls/win/CtlTestUtil.h"

using namespace ctl;

namespace {

class UpDownWin : public SkinCtlTest {
 protected:
  TspSkinUpDown* Make(TUDOrientation O = udHorizontal, Integer W = 40, Integer H = 20) {
    auto* U = new TspSkinUpDown(Host);
    U->SetParent(Host);
    U->SetOrientation(O);
    U->SetBounds(10, 10, W, H);
    U->OnChange = [this](TObject*) { ++Changes; };
    U->OnUpButtonClick = [this](TObject*) { ++Ups; };
    U->OnDownButtonClick = [this](TObject*) { ++Downs; };
    U->HandleNeeded();
    return U;
  }
  void Timer(TspSkinUpDown* U) { SendMessageW(U->Handle(), WM_TIMER, 1, 0); }
  // Whether the repeat timer is armed (killing it answers that; it stays
  // killed).
  static bool TimerArmed(TspSkinUpDown* U) { return KillTimer(U->Handle(), 1); }
  int Changes = 0, Ups = 0, Downs = 0;
};

TEST_F(UpDownWin, NewControlValues) {
  int Events = 0;
  auto* U = new TspSkinUpDown(Host);
  U->OnChange = [&](TObject*) { ++Events; };
  EXPECT_EQ(U->SkinDataName(), u"hupdown");
  EXPECT_EQ(U->Width(), 25);
  EXPECT_EQ(U->Height(), 50);
  EXPECT_EQ(U->Min(), 0);
  EXPECT_EQ(U->Max(), 100);
  EXPECT_EQ(U->Increment(), 1);
  EXPECT_EQ(U->Position(), 0);
  EXPECT_TRUE(U->UseSkinSize());
  EXPECT_EQ(U->Orientation(), udHorizontal);
  EXPECT_EQ(U->ActiveButton, -1);
  EXPECT_EQ(U->CaptureButton, -1);
  EXPECT_EQ(U->TimerMode, 0);
  EXPECT_EQ(Events, 0);
}

TEST_F(UpDownWin, ValueSettersAndTheirEvents) {
  struct Row {
    const char* Name;
    std::function<void(TspSkinUpDown*)> Act;
    Integer Position;
    int Changes;
  };
  const Row Rows[] = {
      {"inside the range", [](TspSkinUpDown* U) { U->SetPosition(40); }, 40, 1},
      {"the same value again fires again",
       [](TspSkinUpDown* U) {
         U->SetPosition(40);
         U->SetPosition(40);
       },
       40, 2},
      {"above Max ignored", [](TspSkinUpDown* U) { U->SetPosition(101); }, 0, 0},
      {"below Min ignored", [](TspSkinUpDown* U) { U->SetPosition(-1); }, 0, 0},
      {"Max below the position lowers it silently",
       [](TspSkinUpDown* U) {
         U->SetPosition(80);
         U->SetMax(50);
       },
       50, 1},
      {"Min above the position raises it silently", [](TspSkinUpDown* U) { U->SetMin(20); }, 20, 0},
      {"Max above the position keeps it",
       [](TspSkinUpDown* U) {
         U->SetPosition(10);
         U->SetMax(50);
       },
       10, 1},
      {"Increment stores only", [](TspSkinUpDown* U) { U->SetIncrement(7); }, 0, 0},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    Changes = 0;
    auto* U = Make();
    W.Act(U);
    EXPECT_EQ(U->Position(), W.Position);
    EXPECT_EQ(Changes, W.Changes);
    delete U;
  }
}

TEST_F(UpDownWin, ButtonsStepOnRelease) {
  struct Row {
    const char* Name;
    TUDOrientation O;
    Integer X, Y;  // the press and release point
    Integer Start, Increment;
    Integer Position;
    int Changes, Ups, Downs;
  };
  // Horizontal 40 x 20: the increasing button is the right half; vertical
  // 20 x 40: the top half.
  const Row Rows[] = {
      {"horizontal right half increases", udHorizontal, 30, 10, 5, 1, 6, 1, 1, 0},
      {"horizontal left half decreases", udHorizontal, 5, 10, 5, 1, 4, 1, 0, 1},
      {"vertical top half increases", udVertical, 10, 5, 5, 3, 8, 1, 1, 0},
      {"vertical bottom half decreases", udVertical, 10, 35, 5, 3, 2, 1, 0, 1},
      {"at Max: no change, the click still fires", udHorizontal, 30, 10, 100, 1, 100, 0, 1, 0},
      {"below Min: no change", udHorizontal, 5, 10, 0, 1, 0, 0, 0, 1},
      {"Increment 0: only the click", udHorizontal, 30, 10, 5, 0, 5, 0, 1, 0},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    auto* U = W.O == udVertical ? Make(udVertical, 20, 40) : Make();
    U->SetIncrement(W.Increment);
    U->SetPosition(W.Start);
    Changes = Ups = Downs = 0;
    Press(U, W.X, W.Y);
    EXPECT_EQ(U->Position(), W.Start) << "no step on the press";
    EXPECT_EQ(U->TimerMode, W.Increment == 0 ? 0 : W.Ups ? 2 : 1);
    Release(U, W.X, W.Y);
    EXPECT_EQ(U->Position(), W.Position);
    EXPECT_EQ(Changes, W.Changes);
    EXPECT_EQ(Ups, W.Ups);
    EXPECT_EQ(Downs, W.Downs);
    EXPECT_EQ(U->CaptureButton, -1);
    EXPECT_FALSE(U->ButtonDown(0) || U->ButtonDown(1));
    EXPECT_FALSE(TimerArmed(U));
    delete U;
  }
}

TEST_F(UpDownWin, HeldButtonRepeatsAfterTheFirstDelay) {
  auto* U = Make();
  U->SetPosition(10);
  Changes = 0;
  Press(U, 30, 10);
  EXPECT_EQ(U->TimerMode, 2);
  EXPECT_TRUE(U->WaitMode);
  // The first tick (500 ms) only switches to the short delay.
  Timer(U);
  EXPECT_FALSE(U->WaitMode);
  EXPECT_EQ(U->Position(), 10);
  Timer(U);
  Timer(U);
  EXPECT_EQ(U->Position(), 12);
  EXPECT_EQ(Changes, 2);
  Release(U, 30, 10);
  EXPECT_EQ(U->Position(), 13) << "one more step on release";
  EXPECT_EQ(U->TimerMode, 0);
  EXPECT_FALSE(TimerArmed(U));
  // Increment 0 arms no timer at all.
  U->SetIncrement(0);
  Press(U, 5, 10);
  EXPECT_FALSE(TimerArmed(U));
  EXPECT_EQ(U->TimerMode, 0);
  Release(U, 5, 10);
}

TEST_F(UpDownWin, RealTimerRepeatsWhileHeld) {
  auto* U = Make();
  Press(U, 5, 10);
  U->SetPosition(50);
  Changes = 0;
  EXPECT_TRUE(PumpUntil([&] { return Changes >= 2; }, 3000));
  Release(U, 5, 10);
  EXPECT_LT(U->Position(), 50);
}

TEST_F(UpDownWin, PressDraggedOntoTheOtherButtonStepsTheCapturedOne) {
  auto* U = Make();
  U->SetPosition(10);
  Press(U, 30, 10);
  EXPECT_TRUE(U->ButtonHot(0));
  Move(U, 5, 10);
  EXPECT_FALSE(U->ButtonHot(0));
  EXPECT_FALSE(U->ButtonHot(1)) << "the other button never becomes hot while one is held";
  EXPECT_FALSE(TimerArmed(U)) << "the repeat pauses off the held button";
  Move(U, 30, 10);
  EXPECT_TRUE(U->ButtonHot(0));
  EXPECT_TRUE(TimerArmed(U)) << "and resumes coming back";
  Move(U, 5, 10);
  Release(U, 5, 10);
  EXPECT_EQ(U->Position(), 11);
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(Downs, 0);
  EXPECT_FALSE(U->ButtonHot(0));
}

TEST_F(UpDownWin, HotButtonFollowsTheMouseAndLeaves) {
  auto* U = Make();
  Move(U, 30, 10, false);
  EXPECT_TRUE(U->ButtonHot(0));
  EXPECT_FALSE(U->ButtonHot(1));
  Move(U, 5, 10, false);
  EXPECT_FALSE(U->ButtonHot(0));
  EXPECT_TRUE(U->ButtonHot(1));
  U->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(U->ButtonHot(0) || U->ButtonHot(1));
}

TEST_F(UpDownWin, DefaultLookPixels) {
  struct Row {
    const char* Name;
    std::function<void(TspSkinUpDown*)> Enter;
    TColor RightFrame, RightFace, LeftFrame, Arrow;
  };
  const TColor Shadow = Sys(clBtnShadow), Face = Sys(clBtnFace);
  const Row Rows[] = {
      {"normal", [](TspSkinUpDown*) {}, Shadow, Face, Shadow, clBlack},
      {"up-hot", [](TspSkinUpDown* U) { Move(U, 30, 10, false); }, DefaultHotFrame, DefaultHotFace, Shadow,
       clBlack},
      {"up-pressed", [](TspSkinUpDown* U) { Press(U, 30, 10); }, DefaultHotFrame, DefaultDownFace, Shadow,
       clBlack},
      {"disabled", [](TspSkinUpDown* U) { U->SetEnabled(false); }, Shadow, Face, Shadow, 0x808080},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    SetCursorPos(0, 0);
    auto* U = Make();
    W.Enter(U);
    auto Img = Render(U);
    SaveScreen(u"default", u"hupdown", ToString(W.Name), Img.get());
    // Right half (20, 0, 40, 20): frame, face beside the arrow, arrow tip
    // pointing right of the middle.
    EXPECT_EQ(Px(Img.get(), 20, 0), W.RightFrame);
    EXPECT_EQ(Px(Img.get(), 39, 19), W.RightFrame);
    EXPECT_EQ(Px(Img.get(), 23, 3), W.RightFace);
    EXPECT_EQ(Px(Img.get(), 0, 0), W.LeftFrame);
    EXPECT_EQ(Px(Img.get(), 3, 3), Face);
    // The right arrow's column is longest on its left side, the left one's
    // on its right: the middle row holds arrow pixels in both halves.
    int RightArrow = 0, LeftArrow = 0;
    for (Integer X = 21; X < 39; ++X) RightArrow += Px(Img.get(), X, 10) == W.Arrow;
    for (Integer X = 1; X < 19; ++X) LeftArrow += Px(Img.get(), X, 10) == W.Arrow;
    EXPECT_GT(RightArrow, 0);
    EXPECT_GT(LeftArrow, 0);
    // Which way the arrows point: the widest column of each lies at its
    // base (left for the right arrow).
    auto Column = [&](Integer X) {
      int N = 0;
      for (Integer Y = 1; Y < 19; ++Y) N += Px(Img.get(), X, Y) == W.Arrow;
      return N;
    };
    Integer FirstR = 21;
    while (FirstR < 39 && Column(FirstR) == 0) ++FirstR;
    Integer LastR = 38;
    while (LastR > 21 && Column(LastR) == 0) --LastR;
    EXPECT_GT(Column(FirstR), Column(LastR)) << "right half points right";
    Integer FirstL = 1;
    while (FirstL < 19 && Column(FirstL) == 0) ++FirstL;
    Integer LastL = 18;
    while (LastL > 1 && Column(LastL) == 0) --LastL;
    EXPECT_LT(Column(FirstL), Column(LastL)) << "left half points left";
    if (U->CaptureButton != -1) Release(U, 30, 10);
    delete U;
  }
}

skintest::TFixtureSkin UpDownSkin(const String& Word) {
  auto S = CoordSkin();
  // A 40 x 20 picture: the down button on the left, the up button on the
  // right; hot looks further right in the picture, pressed ones below.
  S.Control(u"hupdown", Word,
            {u"pictureindex=0", u"skinrect=0,0,40,20", u"upbuttonrect=20,0,40,20", u"downbuttonrect=0,0,20,20",
             u"activeupbuttonrect=100,0,120,20", u"activedownbuttonrect=80,0,100,20",
             u"downupbuttonrect=100,50,120,70"});
  return S;
}

TEST_F(UpDownWin, SkinnedLookFromTheDescription) {
  auto SD = LoadSkin(UpDownSkin(u"updown"));
  auto* U = Make(udHorizontal, 60, 30);
  U->SetSkinData(SD.get());
  ASSERT_TRUE(U->Skinned());
  EXPECT_EQ(U->Width(), 40);
  EXPECT_EQ(U->Height(), 20);
  EXPECT_EQ(U->ButtonRect(0), TRect(20, 0, 40, 20));
  EXPECT_EQ(U->ButtonRect(1), TRect(0, 0, 20, 20));
  // The pressed look of the down button falls back to its hot one.
  EXPECT_EQ(U->DownDownButtonRect, TRect(80, 0, 100, 20));
  auto Img = Render(U);
  EXPECT_EQ(Px(Img.get(), 25, 5), Coord(25, 5));
  Move(U, 25, 5, false);
  Img = Render(U);
  EXPECT_EQ(Px(Img.get(), 25, 5), Coord(105, 5));
  EXPECT_EQ(Px(Img.get(), 5, 5), Coord(5, 5));
  Press(U, 25, 5);
  Img = Render(U);
  EXPECT_EQ(Px(Img.get(), 25, 5), Coord(105, 55));
  Release(U, 25, 5);
  Move(U, 5, 5, false);
  Img = Render(U);
  EXPECT_EQ(Px(Img.get(), 5, 5), Coord(85, 5));
  EXPECT_EQ(U->Position(), 1);
}

TEST_F(UpDownWin, SkinOfAnotherKindKeepsTheDefaultLook) {
  auto SD = LoadSkin(UpDownSkin(u"button"));
  auto* U = Make(udHorizontal, 60, 30);
  U->SetSkinData(SD.get());
  EXPECT_FALSE(U->Skinned());
  EXPECT_EQ(U->Width(), 60);
  EXPECT_EQ(U->ButtonRect(0), TRect(30, 0, 60, 30)) << "the halves of the control's own size";
  auto Img = Render(U);
  EXPECT_EQ(Px(Img.get(), 30, 0), Sys(clBtnShadow));
  Press(U, 45, 15);
  Release(U, 45, 15);
  EXPECT_EQ(U->Position(), 1);
}

TEST_F(UpDownWin, OwnSizeDrawsEachButtonFromResizeButton) {
  struct Row {
    const char* Name;
    String ResizeWord;  // empty: no "resizebutton" entry
    bool Arrows;
  };
  const Row Rows[] = {
      {"no resizebutton: blank pieces", u"", false},
      {"resizebutton of another kind: blank pieces", u"panel", false},
      {"resizebutton: stretched pieces with arrows", u"button", true},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    auto S = UpDownSkin(u"updown");
    if (!W.ResizeWord.empty())
      S.Control(u"resizebutton", W.ResizeWord,
                {u"pictureindex=0", u"skinrect=0,100,20,120", u"activeskinrect=0,130,20,150", u"lefttoppoint=3,3",
                 u"righttoppoint=17,3", u"leftbottompoint=3,17", u"rightbottompoint=17,17", u"clientrect=3,3,17,17",
                 u"fontcolor=255", u"activefontcolor=65280", u"downfontcolor=16711680"});
    auto SD = LoadSkin(S);
    auto* U = Make(udHorizontal, 60, 30);
    U->SetUseSkinSize(false);
    U->SetSkinData(SD.get());
    ASSERT_TRUE(U->Skinned());
    EXPECT_EQ(U->Width(), 60) << "the control keeps its size";
    EXPECT_EQ(U->ButtonRect(0), TRect(30, 0, 60, 30));
    auto Count = [&](TBitmap* Img, Integer X0, TColor C) {
      int N = 0;
      for (Integer X = X0; X < X0 + 30; ++X) N += Px(Img, X, 15) == C;
      return N;
    };
    auto Img = Render(U);
    if (!W.Arrows) {
      EXPECT_EQ(Px(Img.get(), 45, 15), clWhite);
      EXPECT_EQ(Px(Img.get(), 1, 1), clWhite);
    } else {
      EXPECT_GT(Count(Img.get(), 30, clRed), 0) << "normal arrow in the font colour";
      EXPECT_GT(Count(Img.get(), 0, clRed), 0);
      EXPECT_EQ(Px(Img.get(), 30, 0), Coord(0, 100)) << "the normal piece's corner";
      Move(U, 45, 15, false);
      Img = Render(U);
      EXPECT_GT(Count(Img.get(), 30, clLime), 0) << "hot arrow";
      EXPECT_EQ(Px(Img.get(), 30, 0), Coord(0, 130)) << "the hot piece";
      EXPECT_GT(Count(Img.get(), 0, clRed), 0);
      Press(U, 45, 15);
      Img = Render(U);
      EXPECT_GT(Count(Img.get(), 30, clBlue), 0) << "pressed arrow; the pressed piece falls back to the hot one";
      EXPECT_EQ(Px(Img.get(), 30, 0), Coord(0, 130));
      Release(U, 45, 15);
      SaveScreen(u"test-skin", u"hupdown", u"resizebutton", Img.get());
    }
    delete U;
  }
}

}  // namespace

namespace {

// Pictures of the arrows for review: normal, hot and pressed, horizontal
// and vertical, in the default look and each made scheme. On the default
// look the three states must differ.
TEST_F(UpDownWin, ReviewPictures) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  const auto Schemes = DefaultAndMadeSchemes(Loaded);
  for (const auto& [Scheme, Skin] : Schemes)
    for (TUDOrientation O : {udHorizontal, udVertical}) {
      SetCursorPos(0, 0);
      auto* U = O == udVertical ? Make(udVertical, 20, 40) : Make();
      const String Name = O == udVertical ? u"vupdown" : u"hupdown";
      U->SetSkinDataName(Name);
      if (Skin) U->SetSkinData(Skin);
      const TRect B0 = U->ButtonRect(0);
      const Integer X = (B0.Left + B0.Right) / 2, Y = (B0.Top + B0.Bottom) / 2;
      auto Normal = Render(U);
      Move(U, X, Y, false);
      auto Hot = Render(U);
      Press(U, X, Y);
      auto Down = Render(U);
      Release(U, X, Y);
      SaveScreen(Scheme, Name, u"normal", Normal.get());
      SaveScreen(Scheme, Name, u"up-hot", Hot.get());
      SaveScreen(Scheme, Name, u"up-pressed", Down.get());
      if (!Skin) {
        EXPECT_NE(Px(Normal.get(), B0.Left + 2, B0.Top + 2), Px(Hot.get(), B0.Left + 2, B0.Top + 2));
        EXPECT_NE(Px(Hot.get(), B0.Left + 2, B0.Top + 2), Px(Down.get(), B0.Left + 2, B0.Top + 2));
      }
      delete U;
    }
}

}  // namespace
