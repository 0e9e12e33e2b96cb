// The combo box in its fixed style: the selection rules and their events,
// the key table, type-ahead on a fake clock, the drop-down list opened
// below or above without taking the activation, mouse tracking into the
// open list, closing by cancel mode, Enter and Esc with the list open on a
// dialog with default and cancel buttons, and the looks.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/SkinMessages.h"
#include "skin/controls/win/SkinButtons.h"

namespace ctl {
namespace {

Cardinal FakeNow = 0;
Cardinal FakeTicks() { return FakeNow; }

class ComboTest : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    CB = new TspSkinComboBox(Host);
    CB->SetBounds(10, 10, 120, 20);
    CB->SetParent(Host);
    for (const char16_t* S : {u"alpha", u"beta", u"bravo", u"charlie", u"delta", u"echo", u"foxtrot", u"golf",
                              u"hotel", u"india", u"juliet", u"kilo", u"lima", u"mike", u"november", u"oscar",
                              u"papa", u"quebec", u"romeo", u"sierra"})
      CB->Items()->Add(S);
    CB->OnChange = [this](TObject*) { ++Changes; };
    CB->OnClick = [this](TObject*) { ++Clicks; };
    CB->OnCloseUp = [this](TObject*) { ++CloseUps; };
    // The pointer away from where the lists open (an open list hot-tracks
    // the row under it).
    SetCursorPos(1, 1);
    Pump();
  }
  void TearDown() override {
    SetSkinTickSource(nullptr);
    SkinCtlTest::TearDown();
  }
  void Reset() { Changes = Clicks = CloseUps = 0; }
  TspSkinComboBox* CB = nullptr;
  int Changes = 0, Clicks = 0, CloseUps = 0;
};

TEST_F(ComboTest, ItemIndexEvents) {
  struct Row {
    const char* Name;
    Integer Index;
    const char16_t* Text;
    int Changes, Clicks;
  };
  const Row Rows[] = {
      {"first item", 2, u"bravo", 1, 1},
      {"same item again", 2, u"bravo", 0, 1},
      {"other item", 4, u"delta", 1, 1},
      {"no selection keeps the text", -1, u"delta", 0, 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    Reset();
    CB->SetItemIndex(R.Index);
    EXPECT_EQ(CB->ItemIndex(), R.Index);
    EXPECT_EQ(CB->Text(), String(R.Text));
    EXPECT_EQ(Changes, R.Changes);
    EXPECT_EQ(Clicks, R.Clicks);
  }
  // An item whose string equals the text: OnClick without OnChange.
  CB->Items()->Add(u"delta");
  Reset();
  CB->SetItemIndex(20);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(ComboTest, KeysAndTypeAhead) {
  CB->SetFocus();
  CB->SetItemIndex(5);
  Reset();
  PressKey(VK_PRIOR);
  EXPECT_EQ(CB->ItemIndex(), 0);
  CB->SetItemIndex(5);
  PressKey(VK_NEXT);
  EXPECT_EQ(CB->ItemIndex(), 12);
  PressKey(VK_UP);
  EXPECT_EQ(CB->ItemIndex(), 11);
  PressKey(VK_DOWN);
  EXPECT_EQ(CB->ItemIndex(), 12);
  EXPECT_GE(Clicks, 5);

  Cardinal& Now = FakeNow;
  Now = 100000;
  SetSkinTickSource(FakeTicks);
  CB->SetItemIndex(0);
  // "b" then "r" within half a second: "bravo" from the top.
  SendKey(CB->Handle(), WM_CHAR, 'b');
  EXPECT_EQ(CB->Text(), u"beta");
  Now += 300;
  SendKey(CB->Handle(), WM_CHAR, 'r');
  EXPECT_EQ(CB->Text(), u"bravo");
  // After a pause the letter alone, after the current item (wrapping).
  Now += 600;
  SendKey(CB->Handle(), WM_CHAR, 'b');
  EXPECT_EQ(CB->Text(), u"beta");
  // Nothing found: nothing changes.
  Now += 600;
  SendKey(CB->Handle(), WM_CHAR, 'z');
  EXPECT_EQ(CB->Text(), u"beta");

  // The wheel changes nothing.
  SendMessageW(CB->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(CB->Text(), u"beta");
}

TEST_F(ComboTest, OpenListNeverTakesTheActivation) {
  CB->SetFocus();
  CB->SetItemIndex(3);
  HWND Active = GetActiveWindow();
  HWND Focus = GetFocus();
  Reset();
  PressKey(VK_DOWN, false, false, true);  // Alt+Down opens
  ASSERT_TRUE(CB->IsPopupVisible());
  TspPopupListBox* L = CB->ListBox();
  RECT WR{};
  GetWindowRect(L->Handle(), &WR);
  const TPoint Below = CB->ClientToScreen(TPoint(0, CB->Height()));
  EXPECT_EQ(WR.left, Below.X);
  EXPECT_EQ(WR.top, Below.Y);
  EXPECT_EQ(WR.right - WR.left, CB->Width());
  EXPECT_EQ(WR.bottom - WR.top, L->CalcHeight(8));
  EXPECT_EQ(GetActiveWindow(), Active);
  EXPECT_EQ(GetFocus(), Focus);
  EXPECT_EQ(SendMessageW(L->Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Active), HTCLIENT),
            MA_NOACTIVATE);
  SaveScreen(u"default", u"combobox", u"open-list", Grab(L).get());
  // While open the control shows the old index; arrows move the selection.
  PressKey(VK_DOWN);
  EXPECT_EQ(CB->ItemIndex(), 4);
  // Escape closes without OnCloseUp, Alt+Up too; Return accepts and fires it.
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CloseUps, 0);
  PressKey(VK_DOWN, false, false, true);
  PressKey(VK_UP, false, false, true);
  EXPECT_FALSE(CB->IsPopupVisible());
  PressKey(VK_DOWN, false, false, true);
  PressKey(VK_RETURN);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(GetFocus(), Focus);
}

TEST_F(ComboTest, EnterAndEscapeWithTheListOpenStayInTheCombo) {
  auto* Ok = new TspSkinButton(Host);
  Ok->SetBounds(200, 10, 60, 24);
  Ok->SetParent(Host);
  Ok->SetDefault(true);
  auto* Cancel = new TspSkinButton(Host);
  Cancel->SetBounds(200, 40, 60, 24);
  Cancel->SetParent(Host);
  Cancel->SetCancel(true);
  int OkClicks = 0, CancelClicks = 0;
  Ok->OnClick = [&](TObject*) { ++OkClicks; };
  Cancel->OnClick = [&](TObject*) { ++CancelClicks; };
  Pump();
  CB->SetFocus();
  CB->SetItemIndex(1);
  // Open: Return accepts the hot item and stays in the combo.
  CB->DropDown();
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(OkClicks, 0);
  EXPECT_EQ(CB->Text(), u"bravo");
  CB->DropDown();
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CancelClicks, 0);
  // Closed: both keys reach the dialog's buttons as before.
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(CancelClicks, 1);
}

TEST_F(ComboTest, MouseIntoTheOpenList) {
  CB->SetItemIndex(0);
  Reset();
  // Press on the button, drag into the list, release over an item.
  Press(CB, 110, 10);
  ASSERT_TRUE(CB->IsPopupVisible());
  TspListBox* Inner = CB->ListBox()->ListBox;
  Move(Inner, 20, 3 * 20 + 5);
  Move(CB, 20, CB->ScreenToClient(Inner->ClientToScreen(TPoint(20, 65))).Y);
  Mouse(CB, WM_LBUTTONUP, 20, CB->ScreenToClient(Inner->ClientToScreen(TPoint(20, 65))).Y);
  Pump();
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CB->ItemIndex(), 3);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(Changes, 1);

  // Released outside the list after being inside: the old selection returns.
  Reset();
  Press(CB, 110, 10);
  Move(CB, 20, CB->ScreenToClient(Inner->ClientToScreen(TPoint(20, 25))).Y);
  Move(CB, 300, 250);
  Mouse(CB, WM_LBUTTONUP, 300, 250);
  Pump();
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CB->ItemIndex(), 3);
  EXPECT_EQ(CloseUps, 0);

  // A press on another control closes the list through cancel mode.
  CB->DropDown();
  ASSERT_TRUE(CB->IsPopupVisible());
  CB->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Host));
  EXPECT_FALSE(CB->IsPopupVisible());
  // Cancel mode naming the list itself keeps it open.
  CB->DropDown();
  CB->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Inner));
  EXPECT_TRUE(CB->IsPopupVisible());
  CB->CloseUp(false);
}

TEST_F(ComboTest, DefaultLooks) {
  CB->SetItemIndex(2);
  auto B = Render(CB);
  // Frame, item area in the default colour, button face.
  EXPECT_EQ(Px(B.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(B.get(), 3, 10), Sys(clWindow));
  EXPECT_EQ(Px(B.get(), 102, 3), Sys(clBtnFace));
  SaveScreen(u"default", u"combobox", u"closed", B.get());
  CB->SetFocus();
  Pump();
  auto F = Render(CB);
  EXPECT_EQ(Px(F.get(), 40, 10), Sys(clHighlight));
  SaveScreen(u"default", u"combobox", u"focused", F.get());
  CB->SetToolButtonStyle(true);
  EXPECT_FALSE(CB->UseSkinSize());
  Host->SetFocus();
  Pump();
  auto T = Render(CB);
  EXPECT_EQ(Px(T.get(), 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(Px(T.get(), 5, 3), Sys(clBtnFace));
  SaveScreen(u"default", u"combobox", u"toolbutton", T.get());
}

}  // namespace
}  // namespace ctl

namespace ctl {
namespace {

class EditComboTest : public ComboTest {
 protected:
  void SetUp() override {
    ComboTest::SetUp();
    CB->SetStyle(spcbEditStyle);
    Pump();
  }
};

TEST_F(EditComboTest, InnerEditOwnsTheTextAndTheTabStop) {
  TspCustomEdit* E = CB->EditObject();
  ASSERT_NE(E, nullptr);
  EXPECT_TRUE(E->TabStop());
  EXPECT_FALSE(CB->TabStop());
  EXPECT_EQ(E->Left(), 2);
  Reset();
  CB->SetItemIndex(3);
  EXPECT_EQ(E->Text(), u"charlie");
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Clicks, 1);
  // Typing: the text follows the edit, OnChange per change.
  Reset();
  E->SetText(u"ec");
  EXPECT_EQ(CB->Text(), u"ec");
  EXPECT_EQ(Changes, 1);
  // Disabled: the edit's text in the disabled colour; enabled again: the default font's.
  CB->SetEnabled(false);
  EXPECT_EQ(E->Font()->Color(), clGrayText);
  CB->SetEnabled(true);
  EXPECT_EQ(E->Font()->Color(), CB->DefaultFont()->Color());
  // Back to the fixed style: the edit goes, the tab stop returns.
  CB->SetStyle(spcbFixedStyle);
  EXPECT_EQ(CB->EditObject(), nullptr);
  EXPECT_TRUE(CB->TabStop());
}

TEST_F(EditComboTest, ArrowsAutocompletionAndKeysWithTheListOpen) {
  TspCustomEdit* E = CB->EditObject();
  E->SetFocus();
  CB->SetItemIndex(3);
  Reset();
  PressKey(VK_DOWN);
  EXPECT_EQ(CB->Text(), u"delta");
  EXPECT_EQ(E->SelLength(), 5);
  EXPECT_EQ(Clicks, 1);
  PressKey(VK_UP);
  EXPECT_EQ(CB->Text(), u"charlie");

  // Autocompletion on a fake clock: the first item the text starts with,
  // the completed part selected.
  FakeNow = 50000;
  SetSkinTickSource(FakeTicks);
  E->SetText(u"");
  // Real key strokes: the character comes before the key's release.
  ctltest::SendKeys({}, 'G');
  EXPECT_EQ(CB->Text(), u"golf");
  EXPECT_EQ(E->SelStart(), 1);
  EXPECT_EQ(E->SelLength(), 3);
  // Within 200 ms no completion runs.
  E->SetText(u"h");
  E->SetSelStart(1);
  ctltest::SendKeys({}, 'O');
  EXPECT_EQ(CB->Text(), u"ho");

  // Enter and Escape with the list open stay in the combo.
  auto* Ok = new TspSkinButton(Host);
  Ok->SetBounds(200, 10, 60, 24);
  Ok->SetParent(Host);
  Ok->SetDefault(true);
  int OkClicks = 0;
  Ok->OnClick = [&](TObject*) { ++OkClicks; };
  CB->SetItemIndex(1);
  CB->DropDown();
  ASSERT_TRUE(CB->IsPopupVisible());
  PressKey(VK_NEXT);
  PressKey(VK_RETURN);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(OkClicks, 0);
  EXPECT_EQ(CB->Text(), CB->Items()->Strings(8));
  EXPECT_EQ(GetFocus(), E->Handle());
  // Closed: Enter reaches the default button.
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
}

}  // namespace
}  // namespace ctl

namespace ctl {
namespace {

void RealMouse(DWORD Flags) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = Flags;
  SendInput(1, &In, sizeof(INPUT));
  Pump();
  Pump();
}

void RealMoveTo(const TPoint& Screen) {
  SetCursorPos(Screen.X, Screen.Y);
  RealMouse(MOUSEEVENTF_MOVE);
}

// Real input through the system's queue: the capture routes the drag from
// the combo into the open list, the list never takes the activation.
TEST_F(ComboTest, RealInputDragIntoTheListAndClickIntoIt) {
  CB->SetFocus();
  CB->SetItemIndex(0);
  HWND Active = GetActiveWindow();
  HWND Focus = GetFocus();
  ASSERT_EQ(Focus, CB->Handle());
  Reset();
  // Press on the arrow button, drag onto the fourth row, release.
  RealMoveTo(CB->ClientToScreen(TPoint(110, 10)));
  RealMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(CB->IsPopupVisible());
  TspListBox* Inner = CB->ListBox()->ListBox;
  RealMoveTo(Inner->ClientToScreen(TPoint(30, 3 * 20 + 10)));
  RealMoveTo(Inner->ClientToScreen(TPoint(31, 3 * 20 + 10)));
  EXPECT_EQ(CB->ListBox()->ItemIndex(), 3);
  RealMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CB->ItemIndex(), 3);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(GetActiveWindow(), Active);
  EXPECT_EQ(GetFocus(), Focus);

  // A click opens; a click into the open list picks the row and closes.
  RealMoveTo(CB->ClientToScreen(TPoint(110, 10)));
  RealMouse(MOUSEEVENTF_LEFTDOWN);
  RealMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(CB->IsPopupVisible());
  // The open list starts at the selected item.
  EXPECT_EQ(Inner->TopIndex(), 3);
  RealMoveTo(Inner->ClientToScreen(TPoint(30, 5 * 20 + 10)));
  RealMouse(MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(GetActiveWindow(), Active);
  EXPECT_EQ(GetFocus(), Focus);
  RealMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(CB->IsPopupVisible());
  EXPECT_EQ(CB->Text(), u"hotel");
  EXPECT_EQ(CloseUps, 2);
  EXPECT_EQ(GetFocus(), Focus);
}

}  // namespace
}  // namespace ctl

namespace ctl {
namespace {

TEST_F(ComboTest, AlphaBlendedList) {
  CB->SetListBoxAlphaBlend(true);
  CB->SetListBoxAlphaBlendValue(180);
  CB->DropDown();
  HWND W = CB->ListBox()->Handle();
  EXPECT_TRUE(GetWindowLongW(W, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE Alpha = 0;
  DWORD Flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(W, nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 180);
  CB->CloseUp(false);
  // Faded in on the tick source (a clock 6 ms further on at every reading):
  // 120 in steps of 120 div 15 = 8, one step per reading after the first;
  // the loop ends at the value.
  CB->SetListBoxAlphaBlendValue(120);
  CB->SetListBoxAlphaBlendAnimation(true);
  static int Reads = 0;
  Reads = 0;
  FakeNow = 1000;
  SetSkinTickSource([]() -> Cardinal {
    ++Reads;
    return FakeNow += 6;
  });
  CB->DropDown();
  SetSkinTickSource(nullptr);
  ASSERT_TRUE(GetLayeredWindowAttributes(W, nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 120);
  EXPECT_EQ(Reads, 1 + 15);
  CB->CloseUp(false);
  // Off again: the window is no longer layered.
  CB->SetListBoxAlphaBlend(false);
  CB->DropDown();
  EXPECT_FALSE(GetWindowLongW(W, GWL_EXSTYLE) & WS_EX_LAYERED);
  CB->CloseUp(false);
}

// A key's release completes the typed text by the character set of the
// edit's text: for 128, 134 and 136 (double-byte input, whose characters
// arrive without key codes of their own) every release but Delete and
// Backspace completes, the system-key release too, after clearing the
// selection; for other sets only keys above 47, and never a system key.
TEST_F(EditComboTest, KeyReleaseCompletesByCharacterSet) {
  TspCustomEdit* E = CB->EditObject();
  E->SetFocus();
  FakeNow = 90000;
  SetSkinTickSource(FakeTicks);
  // Typed is the text before the release; whatever follows its first
  // character is selected.
  auto Release = [&](UINT Msg, WPARAM Key, const char16_t* Typed) {
    CB->SetItemIndex(-1);
    E->SetText(Typed);
    E->SetSelStart(1);
    E->SetSelLength(static_cast<Integer>(std::u16string(Typed).size()) - 1);
    SendMessageW(E->Handle(), Msg, Key, 0xC0000001);
  };
  struct Row {
    Byte Charset;
    UINT Msg;
    WPARAM Key;
    const char16_t* Typed;
    const char16_t* After;
  };
  const Row Rows[] = {
      {0, WM_KEYUP, 'O', u"g", u"golf"},
      {0, WM_KEYUP, VK_SHIFT, u"g", u"g"},
      {0, WM_KEYUP, VK_BACK, u"g", u"g"},
      {0, WM_SYSKEYUP, 'O', u"g", u"g"},
      {0, WM_KEYUP, 'O', u"gxx", u"gxx"},  // the selection stays: no item starts so
      {128, WM_KEYUP, VK_SHIFT, u"g", u"golf"},
      {128, WM_SYSKEYUP, 'O', u"g", u"golf"},
      {128, WM_KEYUP, 'O', u"gxx", u"golf"},  // the selection cleared first
      {128, WM_KEYUP, VK_DELETE, u"g", u"g"},
      {134, WM_KEYUP, VK_BACK, u"g", u"g"},
      {134, WM_KEYUP, VK_SPACE, u"gxx", u"golf"},
      {136, WM_SYSKEYUP, VK_MENU, u"g", u"golf"},
      {136, WM_KEYUP, VK_DELETE, u"gxx", u"gxx"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(testing::Message() << "charset " << int(R.Charset) << " message " << R.Msg << " key " << R.Key
                                    << " text " << String(R.Typed).size());
    CB->DefaultFont()->SetCharset(R.Charset);
    FakeNow += 1000;
    Release(R.Msg, R.Key, R.Typed);
    EXPECT_EQ(CB->Text(), String(R.After));
    if (String(R.After) == u"golf") {
      EXPECT_EQ(E->SelStart(), 1);
      EXPECT_EQ(E->SelLength(), 3);
    }
  }
  // Within 200 ms of the last completion a release only clears the selection.
  CB->DefaultFont()->SetCharset(128);
  FakeNow += 1000;
  Release(WM_KEYUP, 'O', u"gxx");
  EXPECT_EQ(CB->Text(), u"golf");
  FakeNow += 100;
  Release(WM_KEYUP, 'O', u"gxx");
  EXPECT_EQ(CB->Text(), u"g");
}

}  // namespace
}  // namespace ctl
