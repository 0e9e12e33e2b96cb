// The scroll bar and the track bar in a real window: value setters and their
// events, the default look's pixels, arrow, page and thumb presses with the
// repeat driven by WM_TIMER 1, keys and the wheel with CanFocused off and on,
// the skinned look from a coordinate picture, and skins that say nonsense.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "common/Xdo.h"

#include <commctrl.h>

using namespace ctl;

namespace {

class ScrollBarWin : public SkinCtlTest {
 protected:
  TspSkinScrollBar* Make(Integer W = 200, Integer H = 19) {
    auto* B = new TspSkinScrollBar(Host);
    B->SetParent(Host);
    B->SetBounds(10, 10, W, H);
    B->OnChange = [this](TObject*) { ++Changes; };
    B->OnLastChange = [this](TObject*) { ++LastChanges; };
    B->OnPageUp = [this](TObject*) { ++PageUps; };
    B->OnPageDown = [this](TObject*) { ++PageDowns; };
    B->HandleNeeded();
    return B;
  }
  void Timer(TspSkinScrollBar* B) { SendMessageW(B->Handle(), WM_TIMER, 1, 0); }
  int Changes = 0, LastChanges = 0, PageUps = 0, PageDowns = 0;
};

TEST_F(ScrollBarWin, ValueSettersAndTheirEvents) {
  struct Row {
    const char* Name;
    std::function<void(TspSkinScrollBar*)> Act;
    Integer Position;
    int Changes;
  };
  const Row Rows[] = {
      {"position past the page",
       [](TspSkinScrollBar* B) {
         B->SetPageSize(30);
         B->SetPosition(150);
       },
       71, 1},
      {"same position again",
       [](TspSkinScrollBar* B) {
         B->SetPageSize(30);
         B->SetPosition(150);
         B->SetPosition(150);
       },
       71, 1},
      {"range", [](TspSkinScrollBar* B) { B->SetRange(0, 100, 90, 30); }, 71, 0},
      {"simply", [](TspSkinScrollBar* B) { B->SimplySetPosition(40); }, 40, 0},
      {"max below position",
       [](TspSkinScrollBar* B) {
         B->SimplySetPosition(80);
         B->SetMax(50);
       },
       50, 0},
      {"max with a page and Min 10",
       [](TspSkinScrollBar* B) {
         B->SetRange(10, 100, 45, 10);
         B->SetMax(50);
       },
       41, 0},
      {"min above position",
       [](TspSkinScrollBar* B) {
         B->SimplySetPosition(5);
         B->SetMin(20);
       },
       20, 0},
  };
  for (const Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    Changes = 0;
    auto* B = Make();
    W.Act(B);
    EXPECT_EQ(B->Position(), W.Position);
    EXPECT_EQ(Changes, W.Changes);
    delete B;
  }
}

TEST_F(ScrollBarWin, PageSizeIsRefusedOnlyWhenItPassesTheRange) {
  auto* B = Make();
  B->SetRange(10, 50, 41, 0);
  B->SetPageSize(10);  // (41 - 10) + 10 = 41 = the range's length
  EXPECT_EQ(B->PageSize(), 10);
  B->SetRange(10, 50, 41, 0);
  B->SetPageSize(11);
  EXPECT_EQ(B->PageSize(), 0);
}

TEST_F(ScrollBarWin, DefaultLookPixels) {
  auto* B = Make();
  auto Img = Render(B);
  // Thumb at the start: its frame at x 17, the face inside, the track beyond.
  EXPECT_EQ(Px(Img.get(), 17, 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 32, 17), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 40, 9), Sys(clBtnFace));
  // Arrow buttons: frames, and the black arrows in their middles.
  EXPECT_EQ(Px(Img.get(), 1, 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 183, 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 191, 9), clBlack);
  EXPECT_EQ(Px(Img.get(), 9, 9), clBlack);
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnFace));
  B->SimplySetPosition(100);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 167, 1), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 166, 1), Sys(clBtnFace));
  // A disabled bar draws no thumb.
  B->SetEnabled(false);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 167, 1), Sys(clBtnFace));
}

TEST_F(ScrollBarWin, ArrowPressRepeatsOnTimerOne) {
  auto* B = Make();
  Press(B, 191, 9);  // the up button
  EXPECT_EQ(B->Position(), 1);
  EXPECT_TRUE(B->PartDown(sbpUp));
  EXPECT_EQ(B->TimerMode, 2);
  Timer(B);  // the first tick only switches to the fast repeat
  EXPECT_EQ(B->Position(), 1);
  Timer(B);
  Timer(B);
  EXPECT_EQ(B->Position(), 3);
  Release(B, 191, 9);
  EXPECT_EQ(B->TimerMode, 0);
  EXPECT_FALSE(B->PartDown(sbpUp));
  Timer(B);
  EXPECT_EQ(B->Position(), 3);
  EXPECT_EQ(LastChanges, 0) << "only a thumb drag ends with OnLastChange";
  // The down button.
  Press(B, 9, 9);
  EXPECT_EQ(B->Position(), 2);
  EXPECT_EQ(B->TimerMode, 1);
  Timer(B);
  Timer(B);
  EXPECT_EQ(B->Position(), 1);
  Release(B, 9, 9);
}

TEST_F(ScrollBarWin, AssignedButtonEventsReplaceTheStep) {
  auto* B = Make();
  int Ups = 0, Downs = 0;
  B->OnUpButtonClick = [&](TObject*) { ++Ups; };
  B->OnDownButtonClick = [&](TObject*) { ++Downs; };
  B->SimplySetPosition(50);
  Press(B, 191, 9);
  Timer(B);
  Timer(B);
  Release(B, 191, 9);
  Press(B, 9, 9);
  Release(B, 9, 9);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(Ups, 2);
  EXPECT_EQ(Downs, 1);
}

TEST_F(ScrollBarWin, PageRepeatStopsWhenTheThumbReachesTheMouse) {
  auto* B = Make();
  B->SetLargeChange(10);
  Press(B, 100, 9);
  EXPECT_EQ(B->Position(), 10);
  EXPECT_EQ(PageDowns, 1);
  EXPECT_EQ(B->TimerMode, 4);
  for (int I = 0; I < 20; ++I) Timer(B);
  // Position 50 puts the thumb at 92..108, under the mouse at x 100.
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(PageDowns, 5);
  EXPECT_EQ(B->TimerMode, 0);
  Release(B, 100, 9);
  // Towards Min from the other side.
  Press(B, 40, 9);
  EXPECT_EQ(B->Position(), 40);
  EXPECT_EQ(PageUps, 1);
  for (int I = 0; I < 20; ++I) Timer(B);
  EXPECT_EQ(B->Position(), 10);
  Release(B, 40, 9);
}

TEST_F(ScrollBarWin, LeavingWithTheButtonHeldStopsAPageRepeat) {
  auto* B = Make();
  B->SetLargeChange(10);
  Press(B, 150, 9);
  EXPECT_EQ(B->TimerMode, 4);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(B->TimerMode, 0);
  Timer(B);
  Timer(B);
  EXPECT_EQ(B->Position(), 10);
  Release(B, 150, 9);
}

TEST_F(ScrollBarWin, ThumbDragFollowsTheMouseAndEndsWithLastChange) {
  auto* B = Make();
  Press(B, 25, 9);  // the thumb's middle at position 0
  EXPECT_TRUE(B->Dragging());
  Move(B, 100, 9);
  EXPECT_EQ(B->Position(), 50);
  Move(B, 101, 30);
  EXPECT_EQ(B->Position(), 51);
  Move(B, 400, 9);
  EXPECT_EQ(B->Position(), 100);
  Move(B, -300, 9);
  EXPECT_EQ(B->Position(), 0);
  EXPECT_EQ(Changes, 4);
  EXPECT_EQ(LastChanges, 0);
  Release(B, -300, 9);
  EXPECT_FALSE(B->Dragging());
  EXPECT_EQ(LastChanges, 1);
}

TEST_F(ScrollBarWin, HotPartsFollowTheMouse) {
  auto* B = Make();
  Move(B, 191, 9, false);
  EXPECT_TRUE(B->PartHot(sbpUp));
  auto Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 183, 1), TColor(DefaultHotFrame));
  EXPECT_EQ(Px(Img.get(), 186, 4), TColor(DefaultHotFace));
  Move(B, 9, 9, false);
  EXPECT_FALSE(B->PartHot(sbpUp));
  EXPECT_TRUE(B->PartHot(sbpDown));
  B->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(B->PartHot(sbpDown));
  EXPECT_EQ(B->ActiveButton, -1);
}

TEST_F(ScrollBarWin, KeysAndWheelNeedCanFocusedAndTheFocus) {
  struct Row {
    UINT Msg;
    WPARAM W;
    Integer Delta;
  };
  const Row Rows[] = {
      {WM_KEYDOWN, VK_RIGHT, 1}, {WM_KEYDOWN, VK_DOWN, 1},          {WM_KEYDOWN, VK_LEFT, -1},
      {WM_KEYDOWN, VK_UP, -1},   {WM_MOUSEWHEEL, MAKEWPARAM(0, 120), -1}, {WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 1},
  };
  for (bool CanFocused : {false, true}) {
    auto* B = Make();
    B->SetCanFocused(CanFocused);
    EXPECT_EQ(B->TabStop(), CanFocused);
    B->SimplySetPosition(50);
    B->SetFocus();
    Pump();
    for (const Row& R : Rows) {
      const Integer Before = B->Position();
      if (R.Msg == WM_KEYDOWN)
        SendKey(B->Handle(), WM_KEYDOWN, R.W);
      else
        SendMessageW(B->Handle(), R.Msg, R.W, 0);
      EXPECT_EQ(B->Position(), Before + (CanFocused ? R.Delta : 0)) << CanFocused << " msg " << R.Msg << " " << R.W;
    }
    EXPECT_EQ(B->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0) != 0, CanFocused);
    SharedForm()->SetFocus();
    Pump();
    delete B;
  }
}

LRESULT CALLBACK CountWheel(HWND W, UINT Msg, WPARAM Wp, LPARAM Lp, UINT_PTR, DWORD_PTR Ref) {
  if (Msg == WM_MOUSEWHEEL) ++*reinterpret_cast<int*>(Ref);
  return DefSubclassProc(W, Msg, Wp, Lp);
}

// Where Wine delivers a real wheel turn, measured: to the window under the
// pointer, not to the focus window. A bar under the pointer without the
// focus ignores it; the focused bar elsewhere never sees it.
TEST_F(ScrollBarWin, RealWheelGoesToTheWindowUnderThePointer) {
  auto* B = Make();
  B->SetCanFocused(true);
  B->SimplySetPosition(50);
  auto* Other = Make();
  Other->SetTop(100);
  Other->SetCanFocused(true);
  Other->SimplySetPosition(50);
  int AtFocus = 0, AtPointer = 0;
  SetWindowSubclass(B->Handle(), &CountWheel, 1, reinterpret_cast<DWORD_PTR>(&AtFocus));
  SetWindowSubclass(Other->Handle(), &CountWheel, 1, reinterpret_cast<DWORD_PTR>(&AtPointer));
  B->SetFocus();
  Pump();
  ASSERT_TRUE(B->Focused());
  const TPoint Over = Other->ClientToScreen(TPoint(100, 9));
  ASSERT_TRUE(lumigra_test::Xdo({"mousemove", std::to_string(Over.X), std::to_string(Over.Y), "click", "5"}));
  PumpUntil([&] { return AtFocus + AtPointer > 0; }, 2000);
  EXPECT_EQ(AtPointer, 1);
  EXPECT_EQ(AtFocus, 0);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(Other->Position(), 50);
  RemoveWindowSubclass(B->Handle(), &CountWheel, 1);
  RemoveWindowSubclass(Other->Handle(), &CountWheel, 1);
  SharedForm()->SetFocus();
  Pump();
}

TEST_F(ScrollBarWin, KindChangesTheDescriptionNameOnly) {
  auto* B = Make();
  B->SetKind(sbVertical);
  EXPECT_EQ(B->SkinDataName(), u"vscrollbar");
  EXPECT_EQ(B->Width(), 200);
  EXPECT_EQ(B->Height(), 19);
  B->SetKind(sbHorizontal);
  EXPECT_EQ(B->SkinDataName(), u"hscrollbar");
  B->SetBoth(true);
  EXPECT_EQ(B->SkinDataName(), u"bothhscrollbar");
  B->SetBoth(false);
  EXPECT_EQ(B->SkinDataName(), u"hscrollbar");
  B->SetBothMarkerWidth(-3);
  EXPECT_EQ(B->BothMarkerWidth(), 0);
}

// A 100 x 17 horizontal scroll bar of the coordinate picture: buttons 15
// wide at both ends, a 20 x 13 thumb at (0, 20), hot buttons at y 40.
// Replace: lines that take the place of the lines with the same key.
skintest::TFixtureSkin ScrollSkin(std::initializer_list<String> Replace = {}) {
  std::vector<String> Lines = {u"pictureindex=0", u"skinrect=0,0,100,17", u"lefttoppoint=15,0",
                               u"righttoppoint=50,0", u"clientrect=15,0,50,17", u"trackarea=15,1,85,16",
                               u"downbuttonrect=0,0,15,17", u"upbuttonrect=85,0,100,17",
                               u"activeupbuttonrect=100,40,115,57", u"activedownbuttonrect=120,40,135,57",
                               u"thumbrect=0,20,20,33"};
  for (const String& R : Replace) {
    const String Key = R.substr(0, R.find(u'=') + 1);
    for (String& L : Lines)
      if (L.compare(0, Key.size(), Key) == 0) L = R;
  }
  auto S = CoordSkin();
  S.Control(u"hscrollbar", u"scrollbar", {});
  for (const String& L : Lines) S.Keys(u"hscrollbar", {L});
  return S;
}

TEST_F(ScrollBarWin, SkinnedLookFromTheDescription) {
  auto SD = LoadSkin(ScrollSkin());
  auto* B = Make();
  B->SetSkinData(SD.get());
  ASSERT_TRUE(B->Skinned());
  EXPECT_EQ(B->Height(), 17);
  B->SimplySetPosition(50);
  auto Img = Render(B);
  EXPECT_EQ(B->PartRect(sbpThumb), TRect(90, 2, 110, 15));
  EXPECT_EQ(B->PartRect(sbpUp), TRect(185, 0, 200, 17));
  EXPECT_EQ(Px(Img.get(), 95, 5), Coord(5, 23));
  EXPECT_EQ(Px(Img.get(), 190, 3), Coord(90, 3)) << "the normal up button is the bar image's";
  Move(B, 190, 8, false);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 190, 3), Coord(105, 43)) << "hot: the active rect";
  B->Perform(CM_MOUSELEAVE, 0, 0);
  B->SetEnabled(false);
  Img = Render(B);
  EXPECT_NE(Px(Img.get(), 95, 5), Coord(5, 23)) << "no thumb when disabled";
}

TEST_F(ScrollBarWin, HostileDescriptionsGiveTheDefaultLook) {
  struct Row {
    const char* Name;
    skintest::TFixtureSkin Skin;
  };
  auto Other = CoordSkin();
  Other.Control(u"hscrollbar", u"button", {u"pictureindex=0", u"skinrect=0,0,100,17", u"righttoppoint=50,0"});
  std::vector<Row> Rows;
  Rows.push_back({"another kind", std::move(Other)});
  Rows.push_back({"no track", ScrollSkin({u"trackarea=0,0,0,0"})});
  Rows.push_back({"picture out of range", ScrollSkin({u"pictureindex=9"})});
  Rows.push_back({"zero thumb", ScrollSkin({u"thumbrect=0,0,0,0", u"thumbminsize=0"})});
  for (Row& W : Rows) {
    SCOPED_TRACE(W.Name);
    auto SD = LoadSkin(W.Skin);
    auto* B = Make();
    B->SetSkinData(SD.get());
    B->SimplySetPosition(30);
    auto Img = Render(B);
    Press(B, 60, 8);
    Move(B, 150, 8);
    Release(B, 150, 8);
    if (std::string(W.Name) != "zero thumb") {
      EXPECT_FALSE(B->Skinned());
      EXPECT_EQ(Px(Img.get(), 191, 9), clBlack) << "default arrow";
    }
    delete B;
  }
}

// ---------------------------------------------------------------------------

class TrackBarWin : public SkinCtlTest {
 protected:
  TspSkinTrackBar* Make(Integer W = 100, Integer H = 20) {
    auto* B = new TspSkinTrackBar(Host);
    B->SetParent(Host);
    B->SetBounds(10, 40, W, H);
    B->OnChange = [this](TObject*) { ++Changes; };
    B->OnLastChange = [this](TObject*) { ++LastChanges; };
    B->OnStartDragButton = [this](TObject*) { ++Starts; };
    B->HandleNeeded();
    return B;
  }
  Integer Centre(TspSkinTrackBar* B) {
    B->CalcButton();
    return B->ButtonRectNow().Left + B->ButtonRectNow().Width() / 2;
  }
  int Changes = 0, LastChanges = 0, Starts = 0;
};

TEST_F(TrackBarWin, ValueSettersAndTheirEvents) {
  auto* B = Make();
  B->SetMinValue(1);
  B->SetMaxValue(200);
  B->SetValue(150);
  EXPECT_EQ(Changes, 1);
  B->SetValue(150);
  EXPECT_EQ(Changes, 1);
  B->SetMaxValue(40);
  EXPECT_EQ(B->Value(), 40);
  B->SetMinValue(45);
  EXPECT_EQ(B->Value(), 45);
  EXPECT_EQ(Changes, 1);
  // MinValue above MaxValue is not refused.
  EXPECT_EQ(B->MinValue(), 45);
  B->SetValue(100);
  EXPECT_EQ(B->Value(), 40);
}

TEST_F(TrackBarWin, DefaultLookPixels) {
  auto* B = Make();
  auto Img = Render(B);
  EXPECT_EQ(B->ButtonRectNow(), TRect(46, 2, 54, 18));
  EXPECT_EQ(Px(Img.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 46, 2), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 53, 17), Sys(clBtnShadow));
  EXPECT_EQ(Px(Img.get(), 50, 10), Sys(clBtnFace));
  EXPECT_EQ(Px(Img.get(), 10, 9), Sys(clBtnShadow)) << "groove top";
  EXPECT_EQ(Px(Img.get(), 10, 10), Sys(clBtnHighlight)) << "groove bottom";
  Press(B, 50, 10);
  Img = Render(B);
  EXPECT_EQ(Px(Img.get(), 46, 2), TColor(DefaultHotFrame));
  EXPECT_EQ(Px(Img.get(), 50, 10), TColor(DefaultDownFace));
  Release(B, 50, 10);
}

TEST_F(TrackBarWin, DragKeepsItsStartingOffset) {
  auto* B = Make();
  Press(B, 53, 10);  // 3 pixels right of the centre
  EXPECT_TRUE(B->Dragging());
  EXPECT_EQ(Starts, 1);
  struct Row {
    Integer X, Value;
  };
  for (const Row& W : {Row{31, 25}, Row{75, 75}, Row{97, 100}, Row{400, 100}, Row{-50, 0}}) {
    Move(B, W.X, 10);
    EXPECT_EQ(B->Value(), W.Value) << W.X;
    if (W.X > 0 && W.X < 100) EXPECT_EQ(W.X - Centre(B), 3) << W.X;
  }
  Release(B, -50, 10);
  EXPECT_FALSE(B->Dragging());
  EXPECT_EQ(LastChanges, 1);
}

TEST_F(TrackBarWin, OnlyTheLeftButtonDrags) {
  auto* B = Make();
  Mouse(B, WM_RBUTTONDOWN, 50, 10, MK_RBUTTON);
  EXPECT_FALSE(B->Dragging());
  Move(B, 90, 10, false);
  EXPECT_EQ(B->Value(), 50);
  Mouse(B, WM_RBUTTONUP, 90, 10);
  EXPECT_EQ(Starts, 0);
}

TEST_F(TrackBarWin, JumpWhenClickActsOnRelease) {
  auto* B = Make();
  B->SetJumpWhenClick(true);
  Press(B, 75, 10);
  EXPECT_EQ(B->Value(), 50) << "nothing on the press";
  Release(B, 75, 10);
  EXPECT_EQ(B->Value(), 78);
  EXPECT_EQ(Centre(B), 75);
  EXPECT_EQ(LastChanges, 0);
  // Off: a click on the track does nothing.
  B->SetJumpWhenClick(false);
  Press(B, 20, 10);
  Release(B, 20, 10);
  EXPECT_EQ(B->Value(), 78);
}

// A vertical track bar description whose track keeps 10 pixels at the top
// and 5 at the bottom, and a horizontal one with 7 at the left.
skintest::TFixtureSkin TrackSkin() {
  auto S = CoordSkin();
  S.Control(u"trackbar", u"trackbar",
            {u"pictureindex=0", u"skinrect=0,0,20,100", u"trackarea=2,10,18,95", u"buttonrect=30,0,46,8",
             u"activebuttonrect=50,0,66,8", u"vertical=1"});
  S.Control(u"htrackbar", u"trackbar",
            {u"pictureindex=0", u"skinrect=0,100,100,120", u"trackarea=7,2,97,18", u"buttonrect=30,0,38,16",
             u"activeskinrect=0,130,100,150"});
  return S;
}

TEST_F(TrackBarWin, SkinnedJumpsLandUnderTheClick) {
  auto SD = LoadSkin(TrackSkin());
  {
    auto* B = Make(20, 100);
    B->SetSkinDataName(u"trackbar");
    B->SetSkinData(SD.get());
    ASSERT_TRUE(B->Skinned());
    EXPECT_TRUE(B->Vertical());
    B->SetMinValue(0);
    B->SetMaxValue(77);  // one value per pixel of the track
    B->SetJumpWhenClick(true);
    Press(B, 10, 50);
    Release(B, 10, 50);
    EXPECT_EQ(B->Value(), 41);
    B->CalcButton();
    EXPECT_EQ(B->ButtonRectNow().Top + B->ButtonRectNow().Height() / 2, 50);
    delete B;
  }
  auto* H = Make(100, 20);
  H->SetSkinData(SD.get());
  ASSERT_TRUE(H->Skinned());
  H->SetJumpWhenClick(true);
  Press(H, 60, 10);
  Release(H, 60, 10);
  EXPECT_EQ(Centre(H), 60);
  auto Img = Render(H);
  // The track up to the button shows the active image.
  EXPECT_EQ(Px(Img.get(), 20, 5), Coord(20, 135));
  EXPECT_EQ(Px(Img.get(), 80, 5), Coord(80, 105));
  EXPECT_EQ(Px(Img.get(), H->ButtonRectNow().Left + 1, H->ButtonRectNow().Top + 1), Coord(31, 1));
}

TEST_F(TrackBarWin, KeysAndWheelNeedCanFocused) {
  struct Row {
    UINT Msg;
    WPARAM W;
    Integer Delta;
  };
  const Row Rows[] = {
      {WM_KEYDOWN, VK_RIGHT, 1},
      {WM_KEYDOWN, VK_UP, 1},
      {WM_KEYDOWN, VK_LEFT, -1},
      {WM_KEYDOWN, VK_DOWN, -1},
      {WM_MOUSEWHEEL, MAKEWPARAM(0, 120), -1},  // horizontal: a turn up lowers
      {WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 1},
  };
  for (bool CanFocused : {false, true}) {
    LastChanges = 0;
    auto* B = Make();
    B->SetCanFocused(CanFocused);
    B->SetFocus();
    Pump();
    for (const Row& R : Rows) {
      const Integer Before = B->Value();
      if (R.Msg == WM_KEYDOWN)
        SendKey(B->Handle(), WM_KEYDOWN, R.W);
      else
        SendMessageW(B->Handle(), R.Msg, R.W, 0);
      EXPECT_EQ(B->Value(), Before + (CanFocused ? R.Delta : 0)) << CanFocused << " " << R.W;
    }
    EXPECT_EQ(LastChanges, CanFocused ? 6 : 0);
    // At the top a step changes nothing but still ends with OnLastChange.
    if (CanFocused) {
      B->SetValue(100);
      SendKey(B->Handle(), WM_KEYDOWN, VK_RIGHT);
      EXPECT_EQ(B->Value(), 100);
      EXPECT_EQ(LastChanges, 7);
    }
    SharedForm()->SetFocus();
    Pump();
    delete B;
  }
}

TEST_F(TrackBarWin, HostileDescriptionsGiveTheDefaultLook) {
  auto Other = CoordSkin();
  Other.Control(u"htrackbar", u"button", {u"pictureindex=0", u"skinrect=0,0,100,20"});
  auto NoTrack = CoordSkin();
  NoTrack.Control(u"htrackbar", u"trackbar", {u"pictureindex=0", u"skinrect=0,0,100,20", u"buttonrect=0,0,8,16"});
  auto NoPicture = CoordSkin();
  NoPicture.Control(u"htrackbar", u"trackbar",
                    {u"pictureindex=4", u"skinrect=0,0,100,20", u"trackarea=2,2,98,18", u"buttonrect=0,0,8,16"});
  for (auto* S : {&Other, &NoTrack, &NoPicture}) {
    auto SD = LoadSkin(*S);
    auto* B = Make();
    B->SetSkinData(SD.get());
    EXPECT_FALSE(B->Skinned());
    auto Img = Render(B);
    EXPECT_EQ(Px(Img.get(), 46, 2), Sys(clBtnShadow));
    Press(B, 50, 10);
    Move(B, 70, 10);
    Release(B, 70, 10);
    EXPECT_GT(B->Value(), 50);
    delete B;
  }
}

}  // namespace
