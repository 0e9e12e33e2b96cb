// The key path of the message machinery: which steps see a key for each kind
// of focused control, and the short-cuts of popup menus, OnShortCut and the
// form's menu.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "classlib/Menus.h"

using namespace ctltest;

namespace {

// Sets the modifier keys in the thread's keyboard state (what GetKeyState,
// TranslateMessage and the short-cut lookup read) for its lifetime.
class TModifiers {
 public:
  TModifiers(bool Shift, bool Ctrl, bool Alt) { Set(Shift, Ctrl, Alt); }
  ~TModifiers() { Set(false, false, false); }

 private:
  static void Set(bool Shift, bool Ctrl, bool Alt) {
    BYTE K[256];
    GetKeyboardState(K);
    K[VK_SHIFT] = K[VK_LSHIFT] = Shift ? 0x80 : 0;
    K[VK_CONTROL] = K[VK_LCONTROL] = Ctrl ? 0x80 : 0;
    K[VK_MENU] = K[VK_LMENU] = Alt ? 0x80 : 0;
    SetKeyboardState(K);
  }
};

LPARAM KeyData(WPARAM VK, bool Alt, bool Up) {
  LPARAM L = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(VK), MAPVK_VK_TO_VSC)) << 16);
  if (Alt) L |= 0x20000000;
  if (Up) L |= 0xC0000000;
  return L;
}

// Presses and releases a key at the focus window, through the queue.
void PressKey(WPARAM VK, bool Shift = false, bool Ctrl = false, bool Alt = false) {
  TModifiers Mods(Shift, Ctrl, Alt);
  HWND W = GetFocus();
  PostMessageW(W, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VK, KeyData(VK, Alt, false));
  PostMessageW(W, Alt ? WM_SYSKEYUP : WM_KEYUP, VK, KeyData(VK, Alt, true));
  Pump();
}

// A focusable control that answers WM_GETDLGCODE with fixed bits, like the
// native controls it stands for.
class TDlgCodeProbe : public TProbe {
 public:
  TDlgCodeProbe(TComponent* AOwner, TWinControl* AParent, TRect R, LRESULT Code)
      : TProbe(AOwner, AParent, R), FCode(Code) {}
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_GETDLGCODE) {
      M.Result = FCode;
      return;
    }
    TProbe::Dispatch(M);
  }

 private:
  LRESULT FCode;
};

}  // namespace

class CoreKeys : public AppFixture {};

// Focused control kind x key -> the steps that saw the key:
// M OnMessage, S OnShortCut, C CM_CHILDKEY, W CM_WANTSPECIALKEY, D CM_DIALOGKEY
// (at a graphic control in nested panels), H CM_DIALOGCHAR (there too),
// K KeyDown, P KeyPress, F the focus moved.
TEST_F(CoreKeys, RoutingTable) {
  enum Kind { kButton, kList, kMemo };
  const char* Names[] = {"button", "list", "memo"};
  const LRESULT Codes[] = {0, DLGC_WANTARROWS | DLGC_WANTCHARS, DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS};
  struct Row {
    Kind K;
    const char* Key;
    WPARAM VK;
    bool Shift, Ctrl, Alt;
    const char* Want;
  } Rows[] = {
      {kButton, "Tab", VK_TAB, false, false, false, "MSCWF"},
      {kList, "Tab", VK_TAB, false, false, false, "MSCWF"},
      {kMemo, "Tab", VK_TAB, false, false, false, "MSCWF"},
      {kButton, "Shift+Tab", VK_TAB, true, false, false, "MSCWF"},
      {kMemo, "Shift+Tab", VK_TAB, true, false, false, "MSCWF"},
      // Wine's TranslateMessage makes no character of Ctrl+Tab.
      {kButton, "Ctrl+Tab", VK_TAB, false, true, false, "MSCWDK"},
      {kMemo, "Ctrl+Tab", VK_TAB, false, true, false, "MSCWDK"},
      {kButton, "Right", VK_RIGHT, false, false, false, "MSCWF"},
      {kList, "Right", VK_RIGHT, false, false, false, "MSCWK"},
      {kMemo, "Down", VK_DOWN, false, false, false, "MSCWK"},
      {kButton, "Enter", VK_RETURN, false, false, false, "MSCWDKHP"},
      {kList, "Enter", VK_RETURN, false, false, false, "MSCWDKP"},
      {kMemo, "Enter", VK_RETURN, false, false, false, "MSCWKP"},
      {kButton, "Ctrl+Enter", VK_RETURN, false, true, false, "MSCWDKHP"},
      {kMemo, "Ctrl+Enter", VK_RETURN, false, true, false, "MSCWKP"},
      {kButton, "Esc", VK_ESCAPE, false, false, false, "MSCWDKHP"},
      {kList, "Esc", VK_ESCAPE, false, false, false, "MSCWDKP"},
      {kMemo, "Esc", VK_ESCAPE, false, false, false, "MSCWKP"},
      {kButton, "Alt+K", 'K', false, false, true, "MSCKH"},
      {kMemo, "Alt+K", 'K', false, false, true, "MSCKH"},
      {kButton, "J", 'J', false, false, false, "MSCKHP"},
      {kList, "J", 'J', false, false, false, "MSCKP"},
      {kMemo, "J", 'J', false, false, false, "MSCKP"},
      {kButton, "Ctrl+S", 'S', false, true, false, "MSCKHP"},
      {kMemo, "Ctrl+S", 'S', false, true, false, "MSCKP"},
  };
  TForm* F = NewForm();
  F->SetBounds(40, 40, 400, 220);
  auto* Outer = new TProbe(F, F, Bounds(0, 100, 300, 100));
  Outer->SetTabStop(false);
  auto* Inner = new TProbe(F, Outer, Bounds(0, 0, 200, 80));
  Inner->SetTabStop(false);
  auto* Observer = new TGProbe(F, Inner, Bounds(150, 5, 20, 20));
  // Each kind sits in its own panel with one other stop, so Tab, Shift+Tab
  // and the arrows all land on that one.
  TDlgCodeProbe* Ctls[3];
  TProbe* Nexts[3];
  for (int K = 0; K < 3; ++K) {
    auto* Box = new TProbe(F, F, Bounds(5 + 130 * K, 5, 125, 60));
    Box->SetTabStop(false);
    Ctls[K] = new TDlgCodeProbe(F, Box, Bounds(5, 5, 50, 20), Codes[K]);
    Nexts[K] = new TProbe(F, Box, Bounds(60, 5, 50, 20));
  }
  F->Show();
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::string(Names[R.K]) + " " + R.Key);
    TDlgCodeProbe* Ctl = Ctls[R.K];
    std::string Seen;
    auto Note = [&](char C) {
      if (Seen.find(C) == std::string::npos) Seen += C;
    };
    Application->OnMessage = [&](MSG& Msg, bool&) {
      if ((Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) && Msg.wParam == R.VK) Note('M');
    };
    F->OnShortCut = [&](MSG& Msg, bool&) {
      if (Msg.wParam == R.VK) Note('S');
    };
    Ctl->On = [&](TMessage& M) {
      if (M.Msg == CM_CHILDKEY && M.WParam == R.VK) Note('C');
      if (M.Msg == CM_WANTSPECIALKEY && M.WParam == R.VK) Note('W');
      return false;
    };
    Observer->On = [&](TMessage& M) {
      if (M.Msg == CM_DIALOGKEY && M.WParam == R.VK) Note('D');
      if (M.Msg == CM_DIALOGCHAR) Note('H');
      return false;
    };
    Ctl->OnKeyDown = [&](TObject*, Word& K, TShiftState) {
      if (K == R.VK) Note('K');
    };
    Ctl->OnKeyPress = [&](TObject*, Char&) { Note('P'); };
    Ctl->SetFocus();
    ASSERT_TRUE(Ctl->Focused());
    // Tab goes on in the form's tab order, Shift+Tab back; arrows stay in the box.
    TWinControl* Expected = R.VK == VK_TAB && R.Shift ? F->FindNextControl(Ctl, false, true, false) : Nexts[R.K];
    PressKey(R.VK, R.Shift, R.Ctrl, R.Alt);
    if (!Ctl->Focused()) {
      Note('F');
      EXPECT_TRUE(Expected->Focused());
    }
    // The order of first sight follows the key path as well.
    EXPECT_EQ(Seen, R.Want);
    Application->OnMessage = nullptr;
    F->OnShortCut = nullptr;
    Ctl->On = nullptr;
    Observer->On = nullptr;
    Ctl->OnKeyDown = nullptr;
    Ctl->OnKeyPress = nullptr;
  }
  delete F;
}

// Enter and Esc at a default and a cancel control inside nested panels: the
// one that answers takes the key before KeyDown; a control that wants all
// keys keeps them.
TEST_F(CoreKeys, DefaultAndCancelInNestedPanels) {
  TForm* F = NewForm();
  auto* Outer = new TProbe(F, F, Bounds(0, 60, 300, 100));
  Outer->SetTabStop(false);
  auto* Inner = new TProbe(F, Outer, Bounds(0, 0, 200, 80));
  Inner->SetTabStop(false);
  auto* Default = new TGProbe(F, Inner, Bounds(5, 5, 40, 20));
  auto* Cancel = new TProbe(F, Inner, Bounds(50, 5, 40, 20));
  int Defaults = 0, Cancels = 0;
  Default->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGKEY && M.WParam == VK_RETURN) {
      ++Defaults;
      M.Result = 1;
      return true;
    }
    return false;
  };
  Cancel->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGKEY && M.WParam == VK_ESCAPE) {
      ++Cancels;
      M.Result = 1;
      return true;
    }
    return false;
  };
  auto* Button = new TDlgCodeProbe(F, F, Bounds(5, 5, 40, 20), 0);
  auto* Memo = new TDlgCodeProbe(F, F, Bounds(60, 5, 40, 20), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
  std::vector<Word> AtButton, AtMemo;
  Button->OnKeyDown = [&](TObject*, Word& K, TShiftState) { AtButton.push_back(K); };
  Memo->OnKeyDown = [&](TObject*, Word& K, TShiftState) { AtMemo.push_back(K); };
  F->Show();
  Button->SetFocus();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Defaults, 1);
  EXPECT_EQ(Cancels, 1);
  EXPECT_TRUE(AtButton.empty());
  Memo->SetFocus();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Defaults, 1);
  EXPECT_EQ(Cancels, 1);
  EXPECT_EQ(AtMemo, (std::vector<Word>{VK_RETURN, VK_ESCAPE}));
  delete F;
}

namespace {

TMenuItem* AddItem(TMenu* Menu, const String& Caption, TShortCut SC, std::string& Log, const std::string& Name) {
  auto* I = new TMenuItem(Menu);
  I->SetCaption(Caption);
  I->SetShortCut(SC);
  I->OnClick = [&Log, Name](TObject*) { Log += Name + " "; };
  Menu->Items()->Add(I);
  return I;
}

}  // namespace

// Short-cuts: the popup menus of the focused control and its parents first,
// then the form's OnShortCut, then the form's menu; a taken short-cut goes no
// further.
TEST_F(CoreKeys, ShortCutsOfPopupMenusOnShortCutAndTheFormsMenu) {
  TForm* F = NewForm();
  auto* Panel = new TProbe(F, F, Bounds(0, 0, 200, 100));
  Panel->SetTabStop(false);
  auto* A = new TProbe(F, Panel, Bounds(5, 5, 40, 20));
  auto* B = new TProbe(F, F, Bounds(5, 120, 40, 20));
  std::string Log;
  auto* PanelMenu = new TPopupMenu(F);
  AddItem(PanelMenu, u"Panel", ShortCut('P', ssCtrl), Log, "panel");
  AddItem(PanelMenu, u"Both", ShortCut('Q', ssCtrl), Log, "panel-q");
  TMenuItem* Off = AddItem(PanelMenu, u"Off", ShortCut('D', ssCtrl), Log, "off");
  Off->SetEnabled(false);
  Panel->SetPopupMenu(PanelMenu);
  auto* Main = new TMainMenu(F);
  AddItem(Main, u"Open", ShortCut('O', ssCtrl), Log, "open");
  AddItem(Main, u"Both", ShortCut('Q', ssCtrl), Log, "main-q");
  AddItem(Main, u"Disabled elsewhere", ShortCut('D', ssCtrl), Log, "main-d");
  AddItem(Main, u"Save", ShortCut('S', ssCtrl), Log, "save");
  F->SetMenu(Main);
  F->OnShortCut = [&](MSG& Msg, bool& Handled) {
    if (Msg.wParam == 'S' && GetKeyState(VK_CONTROL) < 0) {
      Log += "onshortcut ";
      Handled = true;
    }
  };
  std::vector<Word> KeysAtA, KeysAtB;
  A->OnKeyDown = [&](TObject*, Word& K, TShiftState) { KeysAtA.push_back(K); };
  B->OnKeyDown = [&](TObject*, Word& K, TShiftState) { KeysAtB.push_back(K); };
  F->Show();
  A->SetFocus();
  PressKey('P', false, true);
  PressKey('Q', false, true);
  PressKey('O', false, true);
  PressKey('D', false, true);  // disabled in the popup: the form's menu has it
  PressKey('S', false, true);  // OnShortCut takes it before the menu
  PressKey('P');               // no Ctrl: no short-cut
  EXPECT_EQ(Log, "panel panel-q open main-d onshortcut ");
  EXPECT_EQ(KeysAtA, std::vector<Word>{'P'});
  // Outside the panel its popup menu is not asked.
  Log.clear();
  B->SetFocus();
  PressKey('P', false, true);
  PressKey('Q', false, true);
  EXPECT_EQ(Log, "main-q ");
  EXPECT_EQ(KeysAtB, std::vector<Word>{'P'});
  // Freed menus are forgotten.
  delete PanelMenu;
  EXPECT_EQ(Panel->PopupMenu(), nullptr);
  delete Main;
  EXPECT_EQ(F->Menu(), nullptr);
  Log.clear();
  A->SetFocus();
  PressKey('O', false, true);
  EXPECT_EQ(Log, "");
  delete F;
}
