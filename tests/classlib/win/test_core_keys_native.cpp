// The key path with the real wrappers focused: Wine's EDIT (one line and
// multi-line), LISTBOX and tree view answer WM_GETDLGCODE themselves, so the
// dialog keys, the characters and what the native control does with each key
// follow from their answers. Keys come as real input through the queue.
#include "tests/classlib/win/test_controls_util.h"

#include <string>

#include "classlib/ComCtrls.h"
#include "classlib/StdCtrls.h"

using namespace ctltest;

namespace {

// A wrapper that lets the test see the control messages reaching it.
template <class Base>
class TSpy : public Base {
 public:
  using Base::Base;
  std::function<void(TMessage&)> On;
  void Dispatch(TMessage& M) override {
    if (On) On(M);
    Base::Dispatch(M);
  }
};

// The skinned edit's window: one EDIT in multi-line style.
class TMultiLineEdit : public TSpy<TEdit> {
 public:
  using TSpy<TEdit>::TSpy;

 protected:
  void CreateParams(TCreateParams& P) override {
    TSpy<TEdit>::CreateParams(P);
    P.Style |= ES_MULTILINE;
  }
};

}  // namespace

class CoreKeysNative : public AppFixture {};

// Focused wrapper x key -> the steps that saw the key:
// M OnMessage, S OnShortCut, C CM_CHILDKEY, W CM_WANTSPECIALKEY, D CM_DIALOGKEY
// and H CM_DIALOGCHAR (at a graphic control in nested panels), K KeyDown,
// P KeyPress, N the native control acted (text or caret changed, selection
// moved), F the focus moved, X the parent got WM_CLOSE or DM_GETDEFID (what
// Wine's EDIT sends once it believes it sits in a dialog).
TEST_F(CoreKeysNative, RoutingTable) {
  enum Kind { kEdit, kMemo, kList, kTree };
  const char* Names[] = {"edit", "multi-line edit", "list box", "tree view"};
  struct Row {
    Kind K;
    const char* Key;
    WORD VK;
    bool Shift, Ctrl;
    const char* Want;
    bool Alt = false;
  } Rows[] = {
      // No wrapper wants Tab: the form moves the focus, the control never
      // sees the key or a character.
      {kEdit, "Tab", VK_TAB, false, false, "MSCWF"},
      {kMemo, "Tab", VK_TAB, false, false, "MSCWF"},
      {kList, "Tab", VK_TAB, false, false, "MSCWF"},
      {kTree, "Tab", VK_TAB, false, false, "MSCWF"},
      {kEdit, "Shift+Tab", VK_TAB, true, false, "MSCWF"},
      {kMemo, "Shift+Tab", VK_TAB, true, false, "MSCWF"},
      {kList, "Shift+Tab", VK_TAB, true, false, "MSCWF"},
      {kTree, "Shift+Tab", VK_TAB, true, false, "MSCWF"},
      // Enter and Esc: only the multi-line EDIT wants them all; the others
      // offer them to the form first, then take them as keys and characters.
      // The multi-line window gets both without asking the form and never
      // asks its parent either; the edit's text stays one line.
      {kEdit, "Enter", VK_RETURN, false, false, "MSCWDKP"},
      {kMemo, "Enter", VK_RETURN, false, false, "MSCWKP"},
      {kList, "Enter", VK_RETURN, false, false, "MSCWDKP"},
      {kTree, "Enter", VK_RETURN, false, false, "MSCWDKP"},
      {kEdit, "Esc", VK_ESCAPE, false, false, "MSCWDKP"},
      {kMemo, "Esc", VK_ESCAPE, false, false, "MSCWKP"},
      {kList, "Esc", VK_ESCAPE, false, false, "MSCWDKP"},
      {kTree, "Esc", VK_ESCAPE, false, false, "MSCWDKP"},
      // Every wrapper wants the arrows: the caret or the selection moves,
      // the focus stays.
      {kEdit, "Down", VK_DOWN, false, false, "MSCWKN"},
      {kMemo, "Down", VK_DOWN, false, false, "MSCWKN"},
      {kList, "Down", VK_DOWN, false, false, "MSCWKN"},
      {kTree, "Down", VK_DOWN, false, false, "MSCWKN"},
      {kEdit, "Up", VK_UP, false, false, "MSCWKN"},
      {kMemo, "Up", VK_UP, false, false, "MSCWKN"},
      {kList, "Up", VK_UP, false, false, "MSCWKN"},
      {kTree, "Up", VK_UP, false, false, "MSCWKN"},
      // Every wrapper wants characters: no CM_DIALOGCHAR; the EDIT types,
      // the lists search.
      {kEdit, "J", 'J', false, false, "MSCKPN"},
      {kMemo, "J", 'J', false, false, "MSCKPN"},
      {kList, "J", 'J', false, false, "MSCKPN"},
      {kTree, "J", 'J', false, false, "MSCKPN"},
      // Alt+letter is a form accelerator whatever the control wants.
      {kEdit, "Alt+K", 'K', false, false, "MSCKH", true},
      {kMemo, "Alt+K", 'K', false, false, "MSCKH", true},
      {kList, "Alt+K", 'K', false, false, "MSCKH", true},
      {kTree, "Alt+K", 'K', false, false, "MSCKH", true},
      // The form's OnShortCut takes Ctrl+S before anything else.
      {kEdit, "Ctrl+S", 'S', false, true, "MS"},
      {kMemo, "Ctrl+S", 'S', false, true, "MS"},
      {kList, "Ctrl+S", 'S', false, true, "MS"},
      {kTree, "Ctrl+S", 'S', false, true, "MS"},
  };
  TForm* F = NewForm();
  F->SetBounds(40, 40, 640, 260);
  auto* Outer = new TProbe(F, F, Bounds(0, 150, 300, 80));
  Outer->SetTabStop(false);
  auto* Inner = new TProbe(F, Outer, Bounds(0, 0, 200, 60));
  Inner->SetTabStop(false);
  auto* Observer = new TGProbe(F, Inner, Bounds(150, 5, 20, 20));
  // Each wrapper sits in its own panel with one other stop.
  TProbe* Boxes[4];
  TProbe* Nexts[4];
  TWinControl* Ctls[4];
  for (int K = 0; K < 4; ++K) {
    Boxes[K] = new TProbe(F, F, Bounds(5 + 155 * K, 5, 150, 140));
    Boxes[K]->SetTabStop(false);
  }
  auto* Edit = new TSpy<TEdit>(F);
  auto* Memo = new TMultiLineEdit(F);
  auto* List = new TSpy<TListBox>(F);
  auto* Tree = new TSpy<TTreeView>(F);
  Ctls[kEdit] = Edit;
  Ctls[kMemo] = Memo;
  Ctls[kList] = List;
  Ctls[kTree] = Tree;
  for (int K = 0; K < 4; ++K) {
    Ctls[K]->SetBounds(5, 5, 100, K >= kMemo ? 100 : 24);
    Ctls[K]->SetParent(Boxes[K]);
    Nexts[K] = new TProbe(F, Boxes[K], Bounds(110, 5, 30, 20));
  }
  for (const char16_t* S : {u"alpha", u"bravo", u"juliet", u"kilo"}) {
    List->Items()->Add(S);
    Tree->Items()->Add(nullptr, S);
  }
  F->Show();
  SetForegroundWindow(F->Handle());
  Pump();
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::string(Names[R.K]) + " " + R.Key);
    TWinControl* Ctl = Ctls[R.K];
    // The same start for every row: the caret inside the text (on the middle
    // line), the second item selected.
    Edit->SetText(u"abc");
    Memo->SetText(u"abc\r\ndef\r\nghi");
    SendMessageW(Edit->Handle(), EM_SETSEL, 1, 1);
    SendMessageW(Memo->Handle(), EM_SETSEL, 6, 6);
    List->SetItemIndex(1);
    Tree->SetSelected(Tree->Items()->Item(1));
    Ctl->SetFocus();
    ASSERT_TRUE(Ctl->Focused());
    Pump();
    auto State = [&]() -> String {
      DWORD From = 0, To = 0;
      switch (R.K) {
        case kEdit:
        case kMemo:
          SendMessageW(Ctl->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&From), reinterpret_cast<LPARAM>(&To));
          return Ctl->Text() + u"|" + static_cast<char16_t>(u'0' + From) + static_cast<char16_t>(u'0' + To);
        case kList:
          return String(1, static_cast<char16_t>(u'0' + List->ItemIndex()));
        case kTree:
          return Tree->Selected() ? Tree->Selected()->Text() : String();
      }
      return String();
    };
    String Before = State();
    std::string Seen;
    auto Note = [&](char C) {
      if (Seen.find(C) == std::string::npos) Seen += C;
    };
    Application->OnMessage = [&](MSG& Msg, bool&) {
      if ((Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) && Msg.wParam == R.VK) Note('M');
    };
    F->OnShortCut = [&](MSG& Msg, bool& Handled) {
      if (Msg.wParam != R.VK) return;
      Note('S');
      if (R.VK == 'S' && GetKeyState(VK_CONTROL) < 0) Handled = true;
    };
    auto Spy = [&](TMessage& M) {
      if (M.Msg == CM_CHILDKEY && M.WParam == R.VK) Note('C');
      if (M.Msg == CM_WANTSPECIALKEY && M.WParam == R.VK) Note('W');
    };
    Edit->On = Memo->On = List->On = Tree->On = Spy;
    Observer->On = [&](TMessage& M) {
      if (M.Msg == CM_DIALOGKEY && M.WParam == R.VK) Note('D');
      if (M.Msg == CM_DIALOGCHAR) Note('H');
      return false;
    };
    Boxes[R.K]->On = [&](TMessage& M) {
      if (M.Msg == WM_CLOSE || M.Msg == DM_GETDEFID) {
        Note('X');
        return true;  // the panel's window must survive the check
      }
      return false;
    };
    Ctl->OnKeyDown = [&](TObject*, Word& K, TShiftState) {
      if (K == R.VK) Note('K');
    };
    Ctl->OnKeyPress = [&](TObject*, Char&) { Note('P'); };
    TWinControl* Expected = R.Shift ? F->FindNextControl(Ctl, false, true, false) : Nexts[R.K];
    std::initializer_list<WORD> Shift{VK_SHIFT}, Ctrl{VK_CONTROL}, Alt{VK_MENU}, None{};
    SendKeys(R.Shift ? Shift : R.Ctrl ? Ctrl : R.Alt ? Alt : None, R.VK);
    bool Moved = !Ctl->Focused();
    if (State() != Before) Note('N');
    if (Moved) {
      Note('F');
      EXPECT_TRUE(Expected->Focused());
    }
    EXPECT_EQ(Seen, R.Want);
    Application->OnMessage = nullptr;
    F->OnShortCut = nullptr;
    Edit->On = Memo->On = List->On = Tree->On = nullptr;
    Observer->On = nullptr;
    Boxes[R.K]->On = nullptr;
    Ctl->OnKeyDown = nullptr;
    Ctl->OnKeyPress = nullptr;
  }
  // The panels and the form are all still there.
  for (TProbe* B : Boxes) EXPECT_TRUE(IsWindow(B->Handle()));
  EXPECT_TRUE(F->Visible());
  delete F;
}

// While a tree label is edited, Enter, Esc and Tab belong to the label's
// EDIT (a native child of the tree, so its keys go to the tree first): Enter
// keeps the typed text, Esc drops it, Tab neither ends the edit nor moves the
// focus; the form never gets them as dialog keys.
TEST_F(CoreKeysNative, TreeLabelEditKeepsEnterEscAndTab) {
  struct Row {
    const char* Key;
    WORD VK;
    bool Editing;     // still editing afterwards
    const char* Text;  // the node's text afterwards
  } Rows[] = {
      {"Enter", VK_RETURN, false, "Delta"},
      {"Esc", VK_ESCAPE, false, "alpha"},
      {"Tab", VK_TAB, true, "alpha"},
  };
  TForm* F = NewForm();
  auto* Tree = new TTreeView(F);
  Tree->SetBounds(5, 5, 150, 120);
  Tree->SetParent(F);
  auto* Next = new TProbe(F, F, Bounds(200, 5, 30, 20));
  auto* Observer = new TGProbe(F, F, Bounds(200, 60, 20, 20));
  int DialogKeys = 0;
  Observer->On = [&](TMessage& M) {
    if (M.Msg == CM_DIALOGKEY) ++DialogKeys;
    return false;
  };
  TTreeNode* Node = Tree->Items()->Add(nullptr, u"alpha");
  F->Show();
  SetForegroundWindow(F->Handle());
  Pump();
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Key);
    Node->SetText(u"alpha");
    Tree->SetFocus();
    ASSERT_TRUE(Node->EditText());
    HWND Edit = reinterpret_cast<HWND>(SendMessageW(Tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(Edit);
    SetWindowTextW(Edit, reinterpret_cast<const WCHAR*>(u"Delta"));
    ::SetFocus(Edit);
    Pump();
    DialogKeys = 0;
    SendKeys({}, R.VK);
    EXPECT_EQ(Tree->IsEditing(), R.Editing);
    EXPECT_EQ(ToUtf8(Node->Text()), R.Text);
    EXPECT_EQ(DialogKeys, 0);
    EXPECT_FALSE(Next->Focused());
    if (R.Editing) {
      EXPECT_EQ(GetFocus(), Edit);
      Node->EndEdit(true);
    }
  }
  delete F;
}
