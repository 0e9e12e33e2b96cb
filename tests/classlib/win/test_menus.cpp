// Menus: short-cut texts both ways, accelerators, the item tree (ownership,
// commands, radio groups, separators), short-cut search and the base popup
// driven through Wine's own menu loop.
#include "tests/classlib/win/test_controls_util.h"

#include <cstring>
#include <functional>

#include "classlib/ImgList.h"
#include "classlib/Menus.h"

using namespace ctltest;

// ---------------------------------------------------------------------------
// Short-cut texts

struct ShortCutTextCase {
  TShortCut SC;
  const char16_t* Text;
};

TEST(MenuShortCutText, NamesKeysAndModifiersInOrder) {
  const ShortCutTextCase Cases[] = {
      {TShortCut('A' | scCtrl), u"Ctrl+A"},
      {TShortCut(VK_F4 | scAlt), u"Alt+F4"},
      {TShortCut(VK_F4 | scCtrl), u"Ctrl+F4"},
      {TShortCut(VK_DELETE | scShift | scCtrl | scAlt), u"Shift+Ctrl+Alt+Del"},
      {TShortCut('S' | scCtrl | scShift), u"Shift+Ctrl+S"},
      {VK_BACK, u"BkSp"},
      {VK_TAB, u"Tab"},
      {VK_ESCAPE, u"Esc"},
      {TShortCut(VK_RETURN | scShift), u"Shift+Enter"},
      {VK_SPACE, u"Space"},
      {VK_PRIOR, u"PgUp"},
      {VK_NEXT, u"PgDn"},
      {VK_END, u"End"},
      {VK_HOME, u"Home"},
      {VK_LEFT, u"Left"},
      {VK_UP, u"Up"},
      {VK_RIGHT, u"Right"},
      {VK_DOWN, u"Down"},
      {VK_INSERT, u"Ins"},
      {TShortCut(VK_DELETE | scCtrl), u"Ctrl+Del"},
      {VK_F1, u"F1"},
      {VK_F12, u"F12"},
      {'0', u"0"},
      {TShortCut('9' | scAlt), u"Alt+9"},
      {'Z', u"Z"},
      {VK_SHIFT, u""},
      {TShortCut(VK_CONTROL | scCtrl), u""},
      {scNone, u""},
  };
  for (const auto& C : Cases) EXPECT_EQ(ToUtf8(ShortCutToText(C.SC)), ToUtf8(C.Text)) << std::hex << C.SC;
}

TEST(MenuShortCutText, ParsesTextsWithoutCaseAndInAnyOrder) {
  const ShortCutTextCase Cases[] = {
      {TShortCut(VK_F4 | scAlt), u"Alt+F4"},
      {TShortCut(VK_F4 | scCtrl), u"Ctrl+F4"},
      {TShortCut(VK_F4 | scAlt), u"alt+f4"},
      {TShortCut('S' | scCtrl | scShift), u"Ctrl+Shift+S"},
      {TShortCut('S' | scCtrl | scShift), u"Shift+Ctrl+S"},
      {TShortCut(VK_DELETE | scShift | scCtrl | scAlt), u"Alt+Ctrl+Shift+Del"},
      {VK_NEXT, u"PgDn"},
      {VK_BACK, u"bksp"},
      {TShortCut(VK_RETURN | scCtrl), u"CTRL+ENTER"},
      {'7', u"7"},
      {scNone, u""},
      {scNone, u"Ctrl+"},
      {scNone, u"Ctrl+Shift"},
      {scNone, u"Ctrl+Foo"},
      {scNone, u"F4+Ctrl"},
  };
  for (const auto& C : Cases) EXPECT_EQ(TextToShortCut(C.Text), C.SC) << ToUtf8(C.Text);
}

// Every key that has a name (OEM keys through the keyboard layout) reads back
// to a short-cut with the same text.
TEST(MenuShortCutText, EveryNamedKeyRoundTrips) {
  int Named = 0;
  for (Word Key = 1; Key <= 0xFF; ++Key) {
    for (TShortCut Mods : {TShortCut(0), TShortCut(scCtrl), TShortCut(scShift | scAlt)}) {
      const TShortCut SC = TShortCut(Key | Mods);
      String T = ShortCutToText(SC);
      if (T.empty()) continue;
      ++Named;
      TShortCut Back = TextToShortCut(T);
      EXPECT_NE(Back, scNone) << ToUtf8(T);
      EXPECT_EQ(ToUtf8(ShortCutToText(Back)), ToUtf8(T));
      EXPECT_EQ(Back & 0xFF00, Mods) << ToUtf8(T);
    }
  }
  EXPECT_GT(Named, 3 * 60);  // letters, digits, F-keys and the named keys at least
  // An OEM key is named by the layout.
  EXPECT_FALSE(ShortCutToText(VK_OEM_COMMA).empty());
}

TEST(MenuShortCutText, ShortCutAndKeyConvert) {
  EXPECT_EQ(ShortCut('S', ssCtrl | ssShift), TShortCut('S' | scCtrl | scShift));
  EXPECT_EQ(ShortCut(VK_F4, ssAlt), TShortCut(VK_F4 | scAlt));
  EXPECT_EQ(ShortCut(0x1FF, ssCtrl), scNone);  // not a key
  Word Key = 0;
  TShiftState Shift = 0;
  ShortCutToKey(TShortCut(VK_F4 | scAlt | scShift), Key, Shift);
  EXPECT_EQ(Key, VK_F4);
  EXPECT_EQ(Shift, TShiftState(ssAlt | ssShift));
}

// ---------------------------------------------------------------------------
// Accelerators

TEST(MenuAccel, LastSingleAmpersandWithoutCase) {
  struct Case {
    Word VK;
    const char16_t* Caption;
    bool Expected;
  } Cases[] = {
      {'F', u"&File", true},      {'F', u"&file", true},        {'X', u"E&xit", true},
      {'E', u"E&xit", false},     {'B', u"A&&B", false},        {'C', u"A&&B&C", true},
      {'B', u"&A &B", true},      {'A', u"&A &B", false},       {'A', u"A&", false},
      {'A', u"", false},          {'Q', u"&&&Q", true},         {'1', u"Level &1", true},
      {0, u"&File", false},       {'F', u"File", false},
  };
  for (const auto& C : Cases) EXPECT_EQ(IsAccel(C.VK, C.Caption), C.Expected) << ToUtf8(C.Caption) << " " << C.VK;
}

TEST(MenuAccel, StripHotkeyKeepsLiteralAmpersands) {
  EXPECT_EQ(ToUtf8(StripHotkey(u"&File")), "File");
  EXPECT_EQ(ToUtf8(StripHotkey(u"Copy && Paste")), "Copy & Paste");
  EXPECT_EQ(ToUtf8(StripHotkey(u"&&&Q")), "&Q");
  EXPECT_EQ(ToUtf8(StripHotkey(u"Tail&")), "Tail");
  EXPECT_EQ(GetHotkey(u"Save &As"), u'A');
  EXPECT_EQ(GetHotkey(u"Save && Close"), Char(0));
}

// ---------------------------------------------------------------------------
// The item tree

namespace {

class TCountedItem : public TMenuItem {
 public:
  TCountedItem(TComponent* AOwner, int* Freed) : TMenuItem(AOwner), FFreed(Freed) {}
  ~TCountedItem() override { ++*FFreed; }

 private:
  int* FFreed;
};

TMenuItem* NewItem(TMenuItem* Parent, const char16_t* Caption, TShortCut SC = scNone) {
  auto* I = new TMenuItem(nullptr);
  I->SetCaption(Caption);
  I->SetShortCut(SC);
  Parent->Add(I);
  return I;
}

}  // namespace

TEST(MenuItems, SubItemsAreFreedWithTheirParentAndLeaveWhenFreedAlone) {
  int Freed = 0;
  auto* Menu = new TPopupMenu(nullptr);
  auto* Sub = new TCountedItem(nullptr, &Freed);
  Menu->Items()->Add(Sub);
  auto* A = new TCountedItem(nullptr, &Freed);
  auto* B = new TCountedItem(nullptr, &Freed);
  Sub->Add(A);
  Sub->Add(B);
  EXPECT_EQ(Sub->Count(), 2);
  EXPECT_EQ(B->MenuIndex(), 1);
  EXPECT_EQ(A->Parent(), Sub);
  EXPECT_EQ(A->GetParentMenu(), Menu);

  delete A;  // leaves the list
  EXPECT_EQ(Freed, 1);
  EXPECT_EQ(Sub->Count(), 1);
  EXPECT_EQ(Sub->Items(0), B);

  delete Menu;  // the rest go with the menu
  EXPECT_EQ(Freed, 3);
}

TEST(MenuItems, ItemsOwnedByAComponentStillGoWithTheirParent) {
  int Freed = 0;
  auto* Owner = new TComponent(nullptr);
  auto* Menu = new TMainMenu(Owner);
  auto* Item = new TCountedItem(Owner, &Freed);
  Menu->Items()->Add(Item);
  EXPECT_EQ(Owner->ComponentCount(), 2);
  delete Menu;
  EXPECT_EQ(Freed, 1);
  EXPECT_EQ(Owner->ComponentCount(), 0);  // the freed item left its owner
  delete Owner;
  EXPECT_EQ(Freed, 1);
}

TEST(MenuItems, InsertRemoveAndErrors) {
  TPopupMenu Menu(nullptr);
  TMenuItem* Root = Menu.Items();
  TMenuItem* A = NewItem(Root, u"A");
  TMenuItem* C = NewItem(Root, u"C");
  auto* B = new TMenuItem(nullptr);
  Root->Insert(1, B);
  EXPECT_EQ(Root->IndexOf(B), 1);
  EXPECT_EQ(Root->IndexOf(C), 2);
  EXPECT_THROW(Root->Add(B), EMenuError);      // already has a parent
  EXPECT_THROW(B->Add(Root), EMenuError);      // a cycle
  EXPECT_THROW(Root->Items(3), EMenuError);
  EXPECT_THROW(Root->Insert(9, new TMenuItem(nullptr)), EMenuError);
  Root->Remove(B);
  EXPECT_EQ(B->Parent(), nullptr);
  EXPECT_EQ(Root->Count(), 2);
  A->Add(B);  // may be added again elsewhere
  EXPECT_EQ(B->GetParentMenu(), &Menu);
  Root->Delete(0);  // frees A and B
  EXPECT_EQ(Root->Count(), 1);
  Root->Clear();
  EXPECT_EQ(Root->Count(), 0);
}

TEST(MenuItems, CommandsAreUniqueAndDispatch) {
  TPopupMenu Menu(nullptr);
  TMenuItem* File = NewItem(Menu.Items(), u"&File");
  TMenuItem* Open = NewItem(File, u"&Open");
  TMenuItem* Save = NewItem(File, u"&Save");
  EXPECT_NE(Open->Command(), 0);
  EXPECT_NE(Open->Command(), Save->Command());
  EXPECT_NE(File->Command(), Save->Command());
  EXPECT_EQ(Menu.FindItem(Save->Command()), Save);
  EXPECT_EQ(Menu.FindItem(0), nullptr);

  int Clicks = 0;
  TObject* Sender = nullptr;
  Save->OnClick = [&](TObject* S) {
    ++Clicks;
    Sender = S;
  };
  EXPECT_TRUE(Menu.DispatchCommand(Save->Command()));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Sender, Save);
  TPopupMenu Other(nullptr);
  EXPECT_FALSE(Other.DispatchCommand(Save->Command()));
  // A disabled item dispatches but does not fire.
  Save->SetEnabled(false);
  EXPECT_TRUE(Menu.DispatchCommand(Save->Command()));
  EXPECT_EQ(Clicks, 1);
}

TEST(MenuItems, RadioItemsOfAGroupExcludeEachOther) {
  TPopupMenu Menu(nullptr);
  TMenuItem* R[3];
  for (int i = 0; i < 3; ++i) {
    R[i] = NewItem(Menu.Items(), u"R");
    R[i]->SetRadioItem(true);
    R[i]->SetGroupIndex(1);
  }
  TMenuItem* OtherGroup = NewItem(Menu.Items(), u"G2");
  OtherGroup->SetRadioItem(true);
  OtherGroup->SetGroupIndex(2);
  OtherGroup->SetChecked(true);
  TMenuItem* Plain = NewItem(Menu.Items(), u"P");
  Plain->SetChecked(true);
  R[0]->SetChecked(true);
  R[2]->SetChecked(true);
  EXPECT_FALSE(R[0]->Checked());
  EXPECT_FALSE(R[1]->Checked());
  EXPECT_TRUE(R[2]->Checked());
  EXPECT_TRUE(OtherGroup->Checked());
  EXPECT_TRUE(Plain->Checked());
}

TEST(MenuItems, AutoCheckTogglesBeforeTheClickHandler) {
  TPopupMenu Menu(nullptr);
  const struct {
    const char* Case;
    bool AutoCheck, Radio, Enabled, CheckedBefore;
    bool CheckedAfter, SawChecked, Clicked;
  } Rows[] = {
      {"plain, off", false, false, true, false, false, false, true},
      {"auto, unchecked", true, false, true, false, true, true, true},
      {"auto, checked", true, false, true, true, false, false, true},
      {"auto, disabled", true, false, false, false, false, false, false},
      {"auto radio", true, true, true, false, true, true, true},
  };
  for (const auto& R : Rows) {
    TMenuItem* It = NewItem(Menu.Items(), u"A");
    TMenuItem* Sibling = NewItem(Menu.Items(), u"B");
    It->SetRadioItem(R.Radio);
    Sibling->SetRadioItem(R.Radio);
    Sibling->SetChecked(R.Radio);
    It->SetAutoCheck(R.AutoCheck);
    It->SetEnabled(R.Enabled);
    It->SetChecked(R.CheckedBefore);
    bool Clicked = false, Saw = false;
    It->OnClick = [&](TObject*) {
      Clicked = true;
      Saw = It->Checked();
    };
    It->Click();
    EXPECT_EQ(It->Checked(), R.CheckedAfter) << R.Case;
    EXPECT_EQ(Clicked, R.Clicked) << R.Case;
    if (R.Clicked) {
      EXPECT_EQ(Saw, R.SawChecked) << R.Case;
    }
    // A radio item checked by its click unchecks its group.
    if (R.Radio) {
      EXPECT_FALSE(Sibling->Checked()) << R.Case;
    }
    Menu.Items()->Clear();
  }
}

TEST(MenuItems, RethinkLinesHidesSeparatorsThatSeparateNothing) {
  struct Case {
    const char* Layout;    // "-" a separator, "a" a shown item, "h" a hidden item
    const char* Expected;  // per position: 1 shown, 0 hidden
    bool Changed;
  } Cases[] = {
      {"-a-a-", "01110", true},
      {"a--a", "1101", true},
      {"a-h-a", "11001", true},
      {"a-h", "100", true},
      {"a-a", "111", false},
      {"--", "00", true},
      {"", "", false},
  };
  for (const auto& C : Cases) {
    TPopupMenu Menu(nullptr);
    for (const char* P = C.Layout; *P; ++P) {
      TMenuItem* I = NewItem(Menu.Items(), *P == '-' ? u"-" : u"x");
      if (*P == 'h') I->SetVisible(false);
    }
    EXPECT_EQ(Menu.Items()->RethinkLines(), C.Changed) << C.Layout;
    std::string Got;
    for (int i = 0; i < Menu.Items()->Count(); ++i) Got += Menu.Items()->Items(i)->Visible() ? '1' : '0';
    EXPECT_EQ(Got, C.Expected) << C.Layout;
    EXPECT_FALSE(Menu.Items()->RethinkLines()) << "second run changes nothing: " << C.Layout;
  }
}

TEST(MenuItems, ImagesAreForgottenWhenFreed) {
  TPopupMenu Menu(nullptr);
  auto* List = new TImageList(nullptr);
  Menu.SetImages(List);
  EXPECT_EQ(Menu.Images(), List);
  delete List;
  EXPECT_EQ(Menu.Images(), nullptr);
}

// ---------------------------------------------------------------------------
// Short-cut search

namespace {

TMessage KeyMsg(Word Key, bool Alt) {
  TMessage M;
  M.Msg = Alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  M.WParam = Key;
  M.LParam = Alt ? 0x20000001 : 1;
  return M;
}

// Sets the thread's keyboard state for Shift and Ctrl while alive.
class KeyState {
 public:
  KeyState(bool Shift, bool Ctrl) {
    GetKeyboardState(FOld);
    BYTE S[256];
    std::memcpy(S, FOld, 256);
    S[VK_SHIFT] = Shift ? 0x80 : 0;
    S[VK_CONTROL] = Ctrl ? 0x80 : 0;
    S[VK_MENU] = 0;
    SetKeyboardState(S);
  }
  ~KeyState() { SetKeyboardState(FOld); }

 private:
  BYTE FOld[256];
};

}  // namespace

TEST(MenuShortCuts, FindsNestedEnabledItemsAndSkipsDisabledOrHidden) {
  TMainMenu Menu(nullptr);
  TMenuItem* File = NewItem(Menu.Items(), u"&File");
  TMenuItem* Recent = NewItem(File, u"&Recent");
  TMenuItem* Deep = NewItem(Recent, u"Deep", TShortCut('D' | scCtrl));
  TMenuItem* Close = NewItem(File, u"&Close", TShortCut(VK_F4 | scAlt));
  TMenuItem* DisabledSave = NewItem(File, u"Save (old)", TShortCut('S' | scCtrl));
  TMenuItem* Save = NewItem(File, u"&Save", TShortCut('S' | scCtrl));
  TMenuItem* Hidden = NewItem(Menu.Items(), u"&Hidden");
  TMenuItem* InHidden = NewItem(Hidden, u"Print", TShortCut('P' | scCtrl));
  TMenuItem* Off = NewItem(Menu.Items(), u"&Off");
  TMenuItem* InOff = NewItem(Off, u"Export", TShortCut('E' | scCtrl));
  DisabledSave->SetEnabled(false);
  Hidden->SetVisible(false);
  Off->SetEnabled(false);

  std::vector<TMenuItem*> Clicked;
  for (TMenuItem* I : {Deep, Close, DisabledSave, Save, InHidden, InOff})
    I->OnClick = [&](TObject* S) { Clicked.push_back(static_cast<TMenuItem*>(S)); };

  struct Case {
    Word Key;
    bool Shift, Ctrl, Alt;
    TMenuItem* Expected;  // nullptr: not a short-cut
  } Cases[] = {
      {'D', false, true, false, Deep},    {VK_F4, false, false, true, Close}, {'S', false, true, false, Save},
      {'P', false, true, false, nullptr}, {'E', false, true, false, nullptr}, {'D', true, true, false, nullptr},
      {'D', false, false, false, nullptr}, {VK_F4, false, true, false, nullptr},
  };
  for (const auto& C : Cases) {
    Clicked.clear();
    KeyState KS(C.Shift, C.Ctrl);
    TMessage M = KeyMsg(C.Key, C.Alt);
    EXPECT_EQ(Menu.IsShortCut(M), C.Expected != nullptr) << C.Key;
    if (C.Expected) {
      ASSERT_EQ(Clicked.size(), 1u) << C.Key;
      EXPECT_EQ(Clicked[0], C.Expected);
    } else {
      EXPECT_TRUE(Clicked.empty()) << C.Key;
    }
  }
}

// ---------------------------------------------------------------------------
// The base popup: Wine's menu loop, closed by keys posted from a timer.

namespace {

std::vector<std::vector<std::pair<UINT, WPARAM>>> GPopupKeys;  // key sequences, one per opening
int GPopupTicks = 0;
std::function<void(HMENU)> GInspectMenu;  // looks at the open menu before the keys go in

HWND FindMenuWindow() { return FindWindowW(reinterpret_cast<const WCHAR*>(u"#32768"), nullptr); }

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND MenuWnd = FindMenuWindow();
  if (!MenuWnd || !IsWindowVisible(MenuWnd)) {
    if (++GPopupTicks > 200) KillTimer(nullptr, Id);
    return;
  }
  KillTimer(nullptr, Id);
  if (GInspectMenu) {
    GInspectMenu(reinterpret_cast<HMENU>(SendMessageW(MenuWnd, MN_GETHMENU, 0, 0)));
    GInspectMenu = nullptr;
  }
  if (GPopupKeys.empty()) {
    EndMenu();
    return;
  }
  for (auto [Msg, Key] : GPopupKeys.front()) PostMessageW(MenuWnd, Msg, Key, 0);
  GPopupKeys.erase(GPopupKeys.begin());
}

class MenuPopup : public AppFixture {
 protected:
  void Open(TPopupMenu& Menu, std::vector<std::pair<UINT, WPARAM>> Keys) {
    GPopupKeys = {std::move(Keys)};
    GPopupTicks = 0;
    SetTimer(nullptr, 0, 30, DriveMenu);
    Menu.Popup(100, 100);
  }
};

}  // namespace

TEST_F(MenuPopup, ClicksTheChosenItemAfterOnPopup) {
  TPopupMenu Menu(nullptr);
  TMenuItem* First = NewItem(Menu.Items(), u"First");
  NewItem(Menu.Items(), u"-");
  TMenuItem* Second = NewItem(Menu.Items(), u"&Second", TShortCut('S' | scCtrl));
  TMenuItem* Hidden = NewItem(Menu.Items(), u"Hidden");
  TMenuItem* Third = NewItem(Menu.Items(), u"Third");
  Hidden->SetVisible(false);
  std::vector<std::string> Log;
  Menu.OnPopup = [&](TObject* S) {
    EXPECT_EQ(S, &Menu);
    Log.push_back("popup");
    Second->SetEnabled(true);  // handlers adjust the items here
  };
  for (TMenuItem* I : {First, Second, Hidden, Third})
    I->OnClick = [&, I](TObject*) { Log.push_back(ToUtf8(StripHotkey(I->Caption()))); };

  // Down selects the first item, the next Down skips the separator.
  Open(Menu, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}});
  EXPECT_EQ(Log, (std::vector<std::string>{"popup", "Second"}));
  EXPECT_EQ(Menu.PopupPoint().X, 100);

  // The hidden item is not in the menu: three Downs reach Third.
  Log.clear();
  Open(Menu, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}});
  EXPECT_EQ(Log, (std::vector<std::string>{"popup", "Third"}));

  // The accelerator chooses too.
  Log.clear();
  Open(Menu, {{WM_CHAR, 's'}});
  EXPECT_EQ(Log, (std::vector<std::string>{"popup", "Second"}));
}

TEST_F(MenuPopup, SubMenuItemsAndDismissal) {
  TPopupMenu Menu(nullptr);
  TMenuItem* Sub = NewItem(Menu.Items(), u"&More");
  TMenuItem* Inner = NewItem(Sub, u"&Inner");
  int InnerClicks = 0;
  Inner->OnClick = [&](TObject*) { ++InnerClicks; };
  Open(Menu, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_RETURN}});
  EXPECT_EQ(InnerClicks, 1);

  // Escape and EndMenu choose nothing.
  Open(Menu, {{WM_KEYDOWN, VK_ESCAPE}});
  GPopupKeys.clear();
  SetTimer(nullptr, 0, 30, DriveMenu);
  Menu.Popup(50, 50);
  EXPECT_EQ(InnerClicks, 1);
  EXPECT_EQ(FindMenuWindow() && IsWindowVisible(FindMenuWindow()), false);
}

TEST_F(MenuPopup, ADisabledItemCannotBeChosen) {
  TPopupMenu Menu(nullptr);
  TMenuItem* Off = NewItem(Menu.Items(), u"&Off");
  Off->SetEnabled(false);
  int Clicks = 0;
  Off->OnClick = [&](TObject*) { ++Clicks; };
  Open(Menu, {{WM_CHAR, 'o'}, {WM_KEYDOWN, VK_ESCAPE}});
  EXPECT_EQ(Clicks, 0);
}

// A handler may free the menu that runs it (a tray menu closing its form).
TEST_F(MenuPopup, TheMenuMayBeFreedByTheChosenItem) {
  auto* Menu = new TPopupMenu(nullptr);
  TMenuItem* Close = NewItem(Menu->Items(), u"&Close");
  bool Freed = false;
  Close->OnClick = [&](TObject*) {
    delete Menu;
    Freed = true;
  };
  Open(*Menu, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}});
  EXPECT_TRUE(Freed);
}

// The shown menu: visible items only, separators, states and short-cut texts.
TEST_F(MenuPopup, BuildsTheNativeMenuFromTheItems) {
  TPopupMenu Menu(nullptr);
  TMenuItem* Open = NewItem(Menu.Items(), u"&Open", TShortCut('O' | scCtrl));
  NewItem(Menu.Items(), u"-");
  TMenuItem* Hidden = NewItem(Menu.Items(), u"Hidden");
  TMenuItem* Radio = NewItem(Menu.Items(), u"Radio");
  TMenuItem* Off = NewItem(Menu.Items(), u"Off");
  TMenuItem* Sub = NewItem(Menu.Items(), u"Sub");
  NewItem(Sub, u"Inner");
  Open->SetDefault(true);
  Hidden->SetVisible(false);
  Radio->SetRadioItem(true);
  Radio->SetChecked(true);
  Off->SetEnabled(false);

  struct Seen {
    String Text;
    UINT Type = 0, State = 0, Id = 0;
    bool HasSub = false;
  };
  std::vector<Seen> Items;
  GInspectMenu = [&](HMENU M) {
    for (int I = 0; I < GetMenuItemCount(M); ++I) {
      WCHAR Buf[128] = {};
      MENUITEMINFOW MI = {};
      MI.cbSize = sizeof(MI);
      MI.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
      MI.dwTypeData = Buf;
      MI.cch = 128;
      GetMenuItemInfoW(M, UINT(I), TRUE, &MI);
      Items.push_back({String(reinterpret_cast<const Char*>(Buf)), MI.fType, MI.fState, MI.wID, MI.hSubMenu != nullptr});
    }
  };
  GPopupKeys = {{{WM_KEYDOWN, VK_ESCAPE}}};
  GPopupTicks = 0;
  SetTimer(nullptr, 0, 30, DriveMenu);
  Menu.Popup(10, 10);

  ASSERT_EQ(Items.size(), 5u);
  EXPECT_EQ(ToUtf8(Items[0].Text), "&Open\tCtrl+O");
  EXPECT_TRUE(Items[0].State & MFS_DEFAULT);
  EXPECT_EQ(Items[0].Id, Open->Command());
  EXPECT_TRUE(Items[1].Type & MFT_SEPARATOR);
  EXPECT_TRUE(Items[2].Type & MFT_RADIOCHECK);
  EXPECT_TRUE(Items[2].State & MFS_CHECKED);
  EXPECT_TRUE(Items[3].State & MFS_GRAYED);
  EXPECT_FALSE(Items[2].State & MFS_GRAYED);
  EXPECT_TRUE(Items[4].HasSub);
}
