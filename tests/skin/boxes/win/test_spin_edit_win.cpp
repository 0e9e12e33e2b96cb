// The spin edit in a real window: values and their events, the buttons'
// steps (release over the button only, at the bounds, the repeat driven by
// WM_TIMER 1), typing into the inner edit, leaving it, the default look and
// the control painted into a device context handed to its erase step.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;
using boxtest::Type;

namespace {

class SpinEditWin : public SkinCtlTest {
 protected:
  TspSkinSpinEdit* Make(double Min = 0, double Max = 100) {
    auto* S = new TspSkinSpinEdit(Host);
    S->SetParent(Host);
    S->SetBounds(20, 20, 120, 22);
    S->SetMinValue(Min);
    S->SetMaxValue(Max);
    S->OnChange = [this](TObject*) { ++Changes; };
    S->OnUpButtonClick = [this](TObject*) { ++Ups; };
    S->OnDownButtonClick = [this](TObject*) { ++Downs; };
    S->HandleNeeded();
    Pump();
    return S;
  }
  static void Timer(TspSkinSpinEdit* S) { SendMessageW(S->Handle(), WM_TIMER, 1, 0); }
  int Changes = 0, Ups = 0, Downs = 0;
};

TEST_F(SpinEditWin, ValuesAndTheirEvents) {
  auto* S = Make(0, 0);
  EXPECT_EQ(S->Text(), u"0");
  EXPECT_EQ(S->SkinDataName(), u"spinedit");
  struct Row {
    const char* Name;
    double Min, Max;
    std::function<void(TspSkinSpinEdit*)> Act;
    double Value;
    const char16_t* Text;
    int Changes;
  };
  const Row Rows[] = {
      {"no bounds: no clamp", 0, 0, [](TspSkinSpinEdit* S) { S->SetValue(500); }, 500, u"500", 1},
      {"the same value fires again", 0, 0,
       [](TspSkinSpinEdit* S) {
         S->SetValue(3);
         S->SetValue(3);
       },
       3, u"3", 2},
      {"5 and 5 clamp everything", 5, 5, [](TspSkinSpinEdit* S) { S->SetValue(-40); }, 5, u"5", 1},
      {"simple set: no event", 0, 10, [](TspSkinSpinEdit* S) { S->SimpleSetValue(12); }, 10, u"10", 0},
      {"halves to even", 0, 10, [](TspSkinSpinEdit* S) { S->SetValue(2.5); }, 2.5, u"2", 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    S->SetMinValue(R.Min);
    S->SetMaxValue(R.Max);
    Changes = 0;
    R.Act(S);
    EXPECT_EQ(S->Value(), R.Value);
    EXPECT_EQ(S->Text(), R.Text);
    EXPECT_EQ(S->Edit()->Text(), R.Text);
    EXPECT_EQ(Changes, R.Changes);
  }
  S->SetIncrement(0.01);
  S->SetValueType(TspValueType::vtFloat);
  EXPECT_TRUE(S->Edit()->Float);
  S->SetValueType(TspValueType::vtInteger);
  EXPECT_EQ(S->Increment(), 1.0);
  EXPECT_FALSE(S->Edit()->Float);
}

TEST_F(SpinEditWin, ButtonsStepOnReleaseOverThem) {
  auto* S = Make(0, 10);
  S->SetValue(9);
  Changes = 0;
  const TRect Up = S->ButtonRect(0), Dn = S->ButtonRect(1);
  EXPECT_EQ(Up, TRect(120 - 17, 2, 120 - 2, 11));
  EXPECT_EQ(Dn, TRect(120 - 17, 11, 120 - 2, 20));
  Press(S, Up.Left + 3, Up.Top + 3);
  EXPECT_TRUE(S->ButtonDown(0));
  Release(S, Up.Left + 3, Up.Top + 3);
  EXPECT_EQ(S->Value(), 10);
  EXPECT_EQ(Ups, 1);
  // At the maximum the step still reports.
  Press(S, Up.Left + 3, Up.Top + 3);
  Release(S, Up.Left + 3, Up.Top + 3);
  EXPECT_EQ(S->Value(), 10);
  EXPECT_EQ(Ups, 2);
  EXPECT_EQ(Changes, 2);
  // Released outside: nothing.
  Press(S, Dn.Left + 3, Dn.Top + 3);
  Move(S, 5, 5);
  Release(S, 5, 5);
  EXPECT_EQ(S->Value(), 10);
  EXPECT_EQ(Downs, 0);
  // The right edge is outside the button.
  Press(S, Dn.Left + 3, Dn.Top + 3);
  Release(S, Dn.Right, Dn.Top + 3);
  EXPECT_EQ(Downs, 0);
}

TEST_F(SpinEditWin, HeldButtonRepeats) {
  auto* S = Make(0, 100);
  S->SetValue(50);
  const TRect Dn = S->ButtonRect(1);
  Press(S, Dn.Left + 3, Dn.Top + 3);
  Timer(S);  // 500 ms: only switches to 100 ms
  EXPECT_EQ(S->Value(), 50);
  Timer(S);
  Timer(S);
  EXPECT_EQ(S->Value(), 48);
  // Off the button the pressed look goes; back on it the repeat resumes.
  Move(S, 5, 5);
  EXPECT_FALSE(S->ButtonHot(1));
  EXPECT_FALSE(S->ButtonHot(0));
  Move(S, Dn.Left + 3, Dn.Top + 3);
  EXPECT_TRUE(S->ButtonHot(1));
  Timer(S);
  EXPECT_EQ(S->Value(), 47);
  Release(S, Dn.Left + 3, Dn.Top + 3);
  EXPECT_EQ(S->Value(), 46);
  EXPECT_EQ(Downs, 1);
}

TEST_F(SpinEditWin, TypingIntoTheInnerEdit) {
  struct Row {
    const char* Name;
    double Min, Max;
    TspValueType Kind;
    const char16_t* Typed;
    const char16_t* Text;
    double Value;
  };
  const auto I = TspValueType::vtInteger, F = TspValueType::vtFloat;
  const Row Rows[] = {
      {"above max rewritten", 1, 999, I, u"5000", u"999", 999},
      {"below a positive min kept", 5, 999, I, u"2", u"2", 5},
      {"minus and point without digits", 0, 999, F, u"-.", u"-.", 7},
      {"eleven digits with a range", 1, 30000, I, u"12345678901", u"30000", 30000},
      {"eleven digits without a range", 0, 0, I, u"12345678901", u"12345678901", 1234567890},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* S = Make(R.Min, R.Max);
    S->SetValueType(R.Kind);
    S->SetValue(7);
    S->Edit()->SetFocus();
    Pump();
    S->Edit()->SetText(u"");
    Type(S->Edit(), R.Typed);
    EXPECT_EQ(S->Edit()->Text(), R.Text);
    EXPECT_EQ(S->Value(), R.Value);
    delete S;
  }
}

TEST_F(SpinEditWin, LeavingTheInnerEditShowsTheValue) {
  auto* S = Make(0, 999);
  S->SetValueType(TspValueType::vtFloat);
  S->Edit()->SetFocus();
  Pump();
  S->Edit()->SetText(u"");
  Type(S->Edit(), u"1.5");
  EXPECT_EQ(S->Value(), 1.5);
  Host->SetFocus();
  Pump();
  EXPECT_EQ(S->Edit()->Text(), u"1.50");
  S->Edit()->SetFocus();
  Pump();
  S->Edit()->SetText(u"-");
  Host->SetFocus();
  Pump();
  EXPECT_EQ(S->Edit()->Text(), u"1.50");
}

TEST_F(SpinEditWin, KeysAndWheelStep) {
  auto* S = Make(0, 100);
  S->SetValue(10);
  S->Edit()->SetFocus();
  Pump();
  SendKey(S->Edit()->Handle(), WM_KEYDOWN, VK_UP);
  EXPECT_EQ(S->Value(), 11);
  EXPECT_EQ(Ups, 1);
  SendMessageW(S->Edit()->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(S->Value(), 10);
  EXPECT_EQ(Downs, 1);
}

TEST_F(SpinEditWin, DefaultLookAndTheEraseDeviceContext) {
  auto* S = Make(0, 100);
  S->SetDefaultColor(clYellow);
  S->SetValue(8);
  Pump();
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(S->Width(), S->Height());
  SendMessageW(S->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
  SaveScreen(u"default", u"spinedit", u"erase-dc", B.get());
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), 1, 1), Sys(clBtnFace));
  const TRect Up = S->ButtonRect(0);
  EXPECT_EQ(Px(B.get(), Up.Left, Up.Top), Sys(clBtnFace));
  // The inner edit at its place: its background, and some text.
  TspSkinNumEdit* E = S->Edit();
  EXPECT_EQ(Px(B.get(), E->Left() + E->Width() - 2, E->Top() + 1), clYellow);
  int Dark = 0;
  for (Integer Y = E->Top(); Y < E->Top() + E->Height(); ++Y)
    for (Integer X = E->Left(); X < E->Left() + 12; ++X)
      if (Px(B.get(), X, Y) == clBlack) ++Dark;
  EXPECT_GT(Dark, 3);
  // Black arrows also when disabled.
  S->SetEnabled(false);
  auto D = Render(S);
  SaveScreen(u"default", u"spinedit", u"disabled", D.get());
  int Arrow = 0;
  for (Integer Y = Up.Top; Y < Up.Bottom; ++Y)
    for (Integer X = Up.Left; X < Up.Right; ++X)
      if (Px(D.get(), X, Y) == clBlack) ++Arrow;
  EXPECT_GT(Arrow, 2);
}

}  // namespace

namespace {

// A 60 x 24 spin look: fixed parts 4 left and 20 right, text area
// (4, 4, 40, 20), two stacked buttons in the right part, the hover look
// 30 pixels lower and the up button's hot look at x 100.
skintest::TFixtureSkin SpinSkin(const String& Word) {
  auto S = CoordSkin();
  S.Control(u"spinedit", Word,
            {u"pictureindex=0", u"skinrect=0,0,60,24", u"lefttoppoint=4,0", u"righttoppoint=40,0",
             u"clientrect=4,4,40,20", u"upbuttonrect=42,2,58,12", u"downbuttonrect=42,12,58,22",
             u"activeupbuttonrect=100,2,116,12", u"activeskinrect=0,30,60,54", u"fontcolor=255",
             u"activefontcolor=65280"});
  return S;
}

TEST_F(SpinEditWin, SkinnedGeometryAndLooks) {
  auto SD = LoadSkin(SpinSkin(u"spinedit"));
  auto* S = Make(0, 100);
  S->SetSkinData(SD.get());
  ASSERT_TRUE(S->Skinned());
  EXPECT_EQ(S->Height(), 24);
  EXPECT_EQ(S->ButtonRect(0), TRect(102, 2, 118, 12));
  EXPECT_EQ(S->ButtonRect(1), TRect(102, 12, 118, 22));
  EXPECT_EQ(S->Edit()->Left(), 4);
  EXPECT_EQ(S->Edit()->Width(), 96);
  EXPECT_TRUE(S->Edit()->EditTransparent());
  EXPECT_EQ(S->Edit()->Font()->Color(), TColor(255));
  auto B = Render(S);
  SaveScreen(u"fixture", u"spinedit", u"normal", B.get());
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 0));
  EXPECT_EQ(Px(B.get(), 119, 23), Coord(59, 23));
  Move(S, 105, 5, false);
  B = Render(S);
  EXPECT_EQ(Px(B.get(), 105, 5), Coord(103, 5));
  // The inner edit's focus gives the hover look and colour.
  S->Edit()->SetFocus();
  Pump();
  EXPECT_EQ(S->Edit()->Font()->Color(), TColor(65280));
  B = Render(S);
  EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 30));
  // At its own height the stacked buttons split the stretched pair.
  S->SetUseSkinSize(false);
  S->SetHeight(40);
  S->Layout();
  EXPECT_EQ(S->ButtonRect(0), TRect(102, 2, 118, 20));
  EXPECT_EQ(S->ButtonRect(1), TRect(102, 20, 118, 38));
}

TEST_F(SpinEditWin, DescriptionOfAnotherKindKeepsTheDefaultLook) {
  auto SD = LoadSkin(SpinSkin(u"button"));
  auto* S = Make(0, 100);
  S->SetSkinData(SD.get());
  EXPECT_FALSE(S->Skinned());
  EXPECT_EQ(S->ButtonRect(0), TRect(120 - 17, 2, 120 - 2, 11));
  EXPECT_FALSE(S->Edit()->EditTransparent());
}

}  // namespace

namespace {

// The dialogs' spin edits: UseSkinSize and UseSkinFont off.
TEST_F(SpinEditWin, SkinnedAtItsOwnSize) {
  struct Row {
    const char* Name;
    bool ButtonDescription;
  };
  const Row Rows[] = {{"no button description: blank buttons", false},
                      {"buttons stretched from editbutton", true}};
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto Skin = SpinSkin(u"spinedit");
    if (R.ButtonDescription)
      Skin.Control(u"editbutton", u"button",
                   {u"pictureindex=0", u"skinrect=0,100,20,120", u"lefttoppoint=3,3", u"righttoppoint=17,3",
                    u"leftbottompoint=3,17", u"rightbottompoint=17,17", u"clientrect=3,3,17,17"});
    auto SD = LoadSkin(Skin);
    auto* S = Make(0, 100);
    S->SetUseSkinSize(false);
    S->SetUseSkinFont(false);
    S->SetHeight(30);
    S->SetSkinData(SD.get());
    ASSERT_TRUE(S->Skinned());
    EXPECT_EQ(S->Height(), 30);
    // The pair (102, 2, 118, 28) split at its middle.
    EXPECT_EQ(S->ButtonRect(0), TRect(102, 2, 118, 15));
    EXPECT_EQ(S->ButtonRect(1), TRect(102, 15, 118, 28));
    auto B = Render(S);
    SaveScreen(u"fixture", u"spinedit", R.ButtonDescription ? u"own-size-buttons" : u"own-size", B.get());
    EXPECT_EQ(Px(B.get(), 0, 0), Coord(0, 0));
    EXPECT_EQ(Px(B.get(), 119, 29), Coord(59, 23));
    EXPECT_EQ(Px(B.get(), 103, 16), R.ButtonDescription ? Coord(1, 101) : clWhite);
    delete S;
  }
}

}  // namespace
