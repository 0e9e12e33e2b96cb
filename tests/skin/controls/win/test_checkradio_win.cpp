// The check and radio box: the Checked and State setters with their groups
// and OnClick, the input table (mouse, Space, accelerator, focus refused,
// grayed cycle), the flat look over what lies behind it, and the skinned
// flat and framed looks.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <map>

using namespace ctl;

namespace {

class CheckRadio : public SkinCtlTest {};

struct TBoxLog {
  std::vector<String> Clicks;
  TspSkinCheckRadioBox* Add(TWinControl* Parent, const String& Name, bool Radio, Integer Group, Integer Top) {
    auto* B = new TspSkinCheckRadioBox(Parent);
    B->SetParent(Parent);
    B->SetBounds(0, Top, 120, 20);
    B->SetRadio(Radio);
    B->SetGroupIndex(Group);
    B->OnClick = [this, Name](TObject*) { Clicks.push_back(Name); };
    return B;
  }
};

TEST_F(CheckRadio, CheckedSetterGroupsAndClicks) {
  struct Row {
    const char* Name;
    bool Radio;
    Integer Group;
    bool SiblingChecked, SiblingRadio, OtherParent, AlreadyChecked, Value;
    std::vector<String> Clicks;  // in order
    bool SiblingAfter;
  } Rows[] = {
      {"radio joins its group", true, 1, true, true, false, false, true, {u"box"}, false},
      {"radio unchecks a check box of its group", true, 1, true, false, false, false, true, {u"sib", u"box"}, false},
      {"radio, group on another parent", true, 1, true, true, true, false, true, {u"box"}, true},
      {"radio, no group", true, 0, true, true, false, false, true, {u"box"}, true},
      {"radio set again", true, 1, false, true, false, true, true, {u"box"}, false},
      {"radio unchecked", true, 1, false, true, false, true, false, {}, false},
      {"check box checked", false, 0, false, false, false, false, true, {u"box"}, false},
      {"check box checked twice", false, 0, false, false, false, true, true, {u"box"}, false},
      {"check box unchecked", false, 0, false, false, false, true, false, {u"box"}, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* Panel = new THost(Host);
    Panel->SetParent(Host);
    Panel->SetBounds(0, 0, 300, 200);
    auto* Other = new THost(Panel);
    Other->SetParent(Panel);
    Other->SetBounds(150, 0, 140, 100);
    TBoxLog Log;
    auto* Sib = Log.Add(R.OtherParent ? static_cast<TWinControl*>(Other) : Panel, u"sib", R.SiblingRadio, R.Group, 0);
    auto* Box = Log.Add(Panel, u"box", R.Radio, R.Group, 30);
    if (R.SiblingChecked) Sib->SetChecked(true);
    if (R.AlreadyChecked) Box->SetChecked(true);
    Log.Clicks.clear();
    Box->SetChecked(R.Value);
    EXPECT_EQ(Log.Clicks, R.Clicks);
    EXPECT_EQ(Box->Checked(), R.Value);
    EXPECT_EQ(Sib->Checked(), R.SiblingChecked && R.SiblingAfter);
    delete Panel;
  }
}

TEST_F(CheckRadio, StateSetterAndGrayed) {
  TBoxLog Log;
  auto* Box = Log.Add(Host, u"box", false, 1, 0);
  auto* Sib = Log.Add(Host, u"sib", false, 1, 30);
  Sib->SetChecked(true);
  Box->SetChecked(true);
  Log.Clicks.clear();
  Sib->SetChecked(true);
  Box->SetState(cbGrayed);
  EXPECT_FALSE(Box->Checked());
  EXPECT_TRUE(Sib->Checked());  // State has no group handling
  EXPECT_EQ(Log.Clicks.back(), u"box");
  Box->SetChecked(false);
  EXPECT_EQ(Box->State(), cbGrayed);  // unchecking keeps grayed
  Box->SetChecked(true);
  EXPECT_EQ(Box->State(), cbChecked);
  auto* Radio = Log.Add(Host, u"radio", true, 0, 60);
  Log.Clicks.clear();
  Radio->SetState(cbUnchecked);
  EXPECT_EQ(Log.Clicks, (std::vector<String>{u"radio"}));  // State fires always
}

TEST_F(CheckRadio, InputTable) {
  struct Row {
    const char* Name;
    bool Radio, AllowGrayed;
    const char* Steps;  // C click, O press-drag off-release, B press-drag off-back-release,
                        // S Space down and up, A accelerator, F click with the focus refused
    std::vector<TCheckBoxState> States;
  } Rows[] = {
      {"click", false, false, "C", {cbChecked}},
      {"drag off", false, false, "O", {cbUnchecked}},
      {"drag back", false, false, "B", {cbChecked}},
      {"space", false, false, "S", {cbChecked}},
      {"accelerator", false, false, "A", {cbChecked}},
      {"focus refused", false, false, "F", {cbUnchecked}},
      {"grayed cycle", false, true, "CCC", {cbGrayed, cbChecked, cbUnchecked}},
      {"radio stays", true, false, "CC", {cbChecked, cbChecked}},
      {"radio space", true, false, "SS", {cbChecked, cbChecked}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    auto* Edit = new TEdit(Host);
    Edit->SetParent(Host);
    Edit->SetBounds(0, 100, 100, 22);
    auto* B = new TspSkinCheckRadioBox(Host);
    B->SetParent(Host);
    B->SetBounds(0, 0, 120, 20);
    B->SetCanFocused(true);
    B->SetRadio(R.Radio);
    B->SetAllowGrayed(R.AllowGrayed);
    B->SetCaption(u"&Box");
    Edit->SetFocus();
    Pump();
    for (size_t I = 0; R.Steps[I]; ++I) {
      switch (R.Steps[I]) {
        case 'C': Click(B); break;
        case 'O':
          Press(B, 5, 5);
          Move(B, 130, 5);
          Release(B, 130, 5);
          break;
        case 'B':
          Press(B, 5, 5);
          Move(B, 130, 5);
          Move(B, 120, 5);  // the right edge counts as inside
          Release(B, 120, 5);
          break;
        case 'S':
          B->SetFocus();
          Pump();
          SendKey(B->Handle(), WM_KEYDOWN, VK_SPACE);
          EXPECT_EQ(B->State(), I == 0 ? cbUnchecked : R.States[I - 1]);  // not on the press
          SendKey(B->Handle(), WM_KEYUP, VK_SPACE);
          break;
        case 'A':
          PressKey('B', false, false, true);
          EXPECT_TRUE(B->Focused());
          break;
        case 'F':
          Edit->OnExit = [Edit](TObject*) { Edit->SetFocus(); };
          Click(B);
          Edit->OnExit = nullptr;
          break;
      }
      EXPECT_EQ(B->State(), R.States[I]) << "step " << I;
    }
    delete B;
    delete Edit;
  }
}

TEST_F(CheckRadio, FlatDefaultLookPixels) {
  Host->Ground = clYellow;
  auto* B = new TspSkinCheckRadioBox(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 120, 20);
  B->SetCanFocused(false);
  B->SetCaption(u"Label");
  auto Img = Render(B);
  // Box (3,3)-(17,17) framed in the shadow colour; the ground around it.
  EXPECT_EQ(Px(Img.get(), 3, 3), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 16, 16), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 2, 3), TColor(clYellow));
  EXPECT_EQ(Px(Img.get(), 10, 10), TColor(clYellow));  // no mark
  EXPECT_EQ(Px(Img.get(), 21, 10), TColor(clYellow));  // the caption starts at 22
  B->SetChecked(true);
  Img = Render(B);
  std::set<std::pair<int, int>> Mark;
  for (Integer X = 4; X < 16; ++X)
    for (Integer Y = 4; Y < 16; ++Y)
      if (Px(Img.get(), X, Y) == TColor(clBlack)) Mark.insert({X, Y});
  EXPECT_FALSE(Mark.empty());
  EXPECT_GE(Mark.begin()->first, 7);  // the mark starts at x 7
  B->Perform(CM_MOUSEENTER, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 3, 3), TColor(0x800000));
  B->Perform(CM_MOUSELEAVE, 0, 0);
  B->SetRadio(true);
  Img = Render(B);
  B->SetState(cbGrayed);
  Img = Render(B);
  for (Integer X = 4; X < 16; ++X)
    for (Integer Y = 4; Y < 16; ++Y) EXPECT_EQ(Px(Img.get(), X, Y), TColor(clYellow));  // a grayed radio: no mark
  B->SetRadio(false);
  Img = Render(B);
  bool Gray = false;
  for (Integer X = 4; X < 16; ++X)
    for (Integer Y = 4; Y < 16; ++Y) Gray = Gray || Px(Img.get(), X, Y) == Sys(clGrayText);
  EXPECT_TRUE(Gray);
  B->SetEnabled(false);
}

TEST_F(CheckRadio, FocusFrameAroundTheCaption) {
  auto* B = new TspSkinCheckRadioBox(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 120, 20);
  B->SetCaption(u"Label");
  B->SetFocus();
  Pump();
  ASSERT_TRUE(B->Focused());
  auto Img = Render(B);
  // Dots at the frame's left column, x 22 - 2.
  bool Dot = false;
  for (Integer Y = 0; Y < 20; ++Y) Dot = Dot || Px(Img.get(), 20, Y) != Px(Img.get(), 19, Y);
  EXPECT_TRUE(Dot);
}

// A flat box shows the panel behind it around its mark and caption, also
// after it moved.
TEST_F(CheckRadio, FlatBoxShowsThePatternBehind) {
  Host->Ground = clWhite;
  Host->Check = clBlue;
  auto* B = new TspSkinCheckRadioBox(Host);
  B->SetParent(Host);
  B->SetCanFocused(false);
  B->SetCaption(u"Pattern");
  for (Integer Left : {13, 30}) {
    B->SetBounds(Left, 9, 120, 20);
    auto Img = Grab(B);
    for (auto [X, Y] : {std::pair{1, 1}, {0, 19}, {110, 2}, {119, 18}, {20, 10}}) {
      const Integer HX = Left + X, HY = 9 + Y;
      const bool Blue = ((HY / 4) % 2 == 0) ? (HX % 8 < 4) : (HX % 8 >= 4);
      EXPECT_EQ(Px(Img.get(), X, Y), TColor(Blue ? clBlue : clWhite)) << Left << ": " << X << "," << Y;
    }
  }
}

skintest::TFixtureSkin BoxSkin() {
  auto S = CoordSkin();
  // Check images 13 x 13 at (200, 0) and (200, 20); framed image 100 x 20 at (0, 100).
  S.Control(u"checkbox", u"checkradio",
            {u"pictureindex=0", u"skinrect=0,100,100,120", u"activeskinrect=0,120,100,140",
             u"checkimagerect=200,0,213,13", u"uncheckimagerect=200,20,213,33", u"checkimagearea=0,0,20,20",
             u"textarea=20,0,100,20", u"framefontcolor=255", u"fontcolor=0", u"activefontcolor=65280"});
  return S;
}

TEST_F(CheckRadio, SkinnedFlatAndFramedLooks) {
  Host->Ground = clYellow;
  auto SD = LoadSkin(BoxSkin());
  auto* B = new TspSkinCheckRadioBox(Host);
  B->SetParent(Host);
  B->SetBounds(10, 10, 150, 25);
  B->SetCanFocused(false);
  B->SetCaption(u"Skinned");
  B->SetSkinData(SD.get());
  EXPECT_EQ(B->Width(), 150);  // a flat box keeps its size
  auto Img = Render(B);
  // The unchecked image at x 3, y 25/2 - 13/2 = 6 (its bottom-left colour keyed out).
  EXPECT_EQ(Px(Img.get(), 3 + 5, 6 + 5), Coord(205, 25));
  EXPECT_EQ(Px(Img.get(), 2, 10), TColor(clYellow));
  SaveScreen(u"test", u"checkbox", u"normal", Img.get());
  B->SetChecked(true);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 3 + 5, 6 + 5), Coord(205, 5));
  // Caption from x 13 + 7 = 20 in the skin's flat colour (red).
  bool Red = false;
  for (Integer X = 20; X < 70; ++X)
    for (Integer Y = 0; Y < 25; ++Y) Red = Red || Px(Img.get(), X, Y) == TColor(clRed);
  EXPECT_TRUE(Red);
  SaveScreen(u"test", u"checkbox", u"checked", Img.get());
  // Framed: the control image of the skin; the check image centred in its area.
  B->SetFlat(false);
  B->ChangeSkinData();
  EXPECT_EQ(B->Width(), 100);  // the skin rect's size (no corner points)
  EXPECT_EQ(B->Height(), 20);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 50, 1), Coord(50, 101));
  // The check area (0,0)-(20,20) centres the 13 x 13 image at (4, 4).
  EXPECT_EQ(Px(Img.get(), 8, 8), Coord(204, 4));
  B->Perform(CM_MOUSEENTER, 0, 0);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 50, 1), Coord(50, 121));
  SaveScreen(u"test", u"checkbox", u"framed-hot", Img.get());
}

TEST_F(CheckRadio, GrayedImageBrightened) {
  auto SD = LoadSkin(BoxSkin());
  auto* B = new TspSkinCheckRadioBox(Host);
  B->SetParent(Host);
  B->SetCanFocused(false);
  B->SetSkinData(SD.get());
  B->SetState(cbGrayed);
  auto Img = Render(B);
  const TColor C = Px(Img.get(), 3 + 5, 12 - 6 + 5);
  // Halfway to white from the checked image's pixel.
  const TColor Src = Coord(205, 5);
  EXPECT_GT(C & 0xFF, Src & 0xFF);
  EXPECT_GT((C >> 8) & 0xFF, (Src >> 8) & 0xFF);
}

}  // namespace
