// The edit, list box and label wrappers under Wine with the real message
// loop: input as a user gives it (SendInput through the application's queue
// path), read-only and filtered edits, change events, RecreateWnd, owner
// drawing, the list's hidden scroll state, label accelerators and size.
#include "tests/classlib/win/test_controls_util.h"

#include <imm.h>

#include <string>

#include "classlib/StdCtrls.h"

using namespace ctltest;

namespace {

void SetClipboardText(HWND Owner, const String& S) {
  ASSERT_TRUE(OpenClipboard(Owner));
  EmptyClipboard();
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, (S.size() + 1) * sizeof(char16_t));
  auto* P = static_cast<char16_t*>(GlobalLock(G));
  std::copy(S.begin(), S.end(), P);
  P[S.size()] = 0;
  GlobalUnlock(G);
  SetClipboardData(CF_UNICODETEXT, G);
  CloseClipboard();
}

String ClipboardString() {
  String S;
  if (!OpenClipboard(nullptr)) return S;
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    S = static_cast<const char16_t*>(GlobalLock(H));
    GlobalUnlock(H);
  }
  CloseClipboard();
  return S;
}

// An edit as the skinned edits make theirs: one line of text in a
// multi-line window (for the formatting rectangle), optionally with a
// numeric key filter in KeyPress (digits, "-", control characters but CR).
class TTestEdit : public TCustomEdit {
 public:
  explicit TTestEdit(TComponent* AOwner, bool AMultiLine, bool ANumeric)
      : TCustomEdit(AOwner), MultiLine(AMultiLine), Numeric(ANumeric) {}
  bool MultiLine, Numeric;
  int Changes = 0;
  std::u16string Pressed;  // every character KeyPress saw

 protected:
  void CreateParams(TCreateParams& P) override {
    TCustomEdit::CreateParams(P);
    if (MultiLine) P.Style |= ES_MULTILINE;
  }
  void Change() override {
    ++Changes;
    TCustomEdit::Change();
  }
  void KeyPress(Char& Key) override {
    Pressed += Key;
    if (Numeric) {
      bool Ok = Key == u'-' || (Key >= u'0' && Key <= u'9') || (Key < 32 && Key != 13);
      if (Ok && Key == u'-' && Text().find(u'-') != String::npos) Ok = false;
      if (!Ok) Key = 0;
    }
    TCustomEdit::KeyPress(Key);
  }
};

// One shown form per test; the rows make and free their controls on it, as
// a form of the program makes and frees controls while it stays open.
class StdForm : public AppFixture {
 protected:
  TForm* F = nullptr;
  void SetUp() override {
    AppFixture::SetUp();
    F = NewForm();
    F->Show();
    SetForegroundWindow(F->Handle());
    Pump();
  }
  void TearDown() override {
    delete F;
    AppFixture::TearDown();
  }
};

class StdEdit : public StdForm {
 protected:
  TTestEdit* E = nullptr;
  // A focused edit on the form holding Text.
  void Make(bool MultiLine, bool Numeric, const String& Text) {
    E = new TTestEdit(F, MultiLine, Numeric);
    E->SetBounds(10, 10, 150, 24);
    E->SetParent(F);
    E->SetText(Text);
    E->SetFocus();
    Pump();
  }
  void Free() {
    delete E;
    E = nullptr;
  }
};

// Commits Text through the window's input context. Wine's built-in IME takes
// a composition string and completes it into the result string, sending the
// window WM_IME_COMPOSITION with GCS_RESULTSTR as a real IME does.
bool ImeCommit(HWND Wnd, const String& Text) {
  HMODULE M = LoadLibraryW(reinterpret_cast<LPCWSTR>(u"imm32.dll"));
  if (!M) return false;
  auto GetCtx = reinterpret_cast<HIMC(WINAPI*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(M, "ImmGetContext")));
  auto RelCtx =
      reinterpret_cast<BOOL(WINAPI*)(HWND, HIMC)>(reinterpret_cast<void*>(GetProcAddress(M, "ImmReleaseContext")));
  auto SetStr = reinterpret_cast<BOOL(WINAPI*)(HIMC, DWORD, LPVOID, DWORD, LPVOID, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(M, "ImmSetCompositionStringW")));
  auto Notify = reinterpret_cast<BOOL(WINAPI*)(HIMC, DWORD, DWORD, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(M, "ImmNotifyIME")));
  auto SetOpen =
      reinterpret_cast<BOOL(WINAPI*)(HIMC, BOOL)>(reinterpret_cast<void*>(GetProcAddress(M, "ImmSetOpenStatus")));
  if (!GetCtx || !RelCtx || !SetStr || !Notify || !SetOpen) return false;
  HIMC C = GetCtx(Wnd);
  if (!C) return false;
  SetOpen(C, TRUE);
  String S = Text;
  BOOL Ok = SetStr(C, SCS_SETSTR, S.data(), static_cast<DWORD>(S.size() * sizeof(char16_t)), nullptr, 0);
  if (Ok) Ok = Notify(C, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  RelCtx(Wnd, C);
  Pump();
  return Ok != FALSE;
}

}  // namespace

// Every way text can come in, against a read-only and a numeric edit (both
// one line in a multi-line window, as the skinned edits make them) and a
// plain one.
TEST_F(StdEdit, ReadOnlyAndNumericEditsUnderEveryInputPath) {
  enum TKind { kReadOnly, kNumeric, kPlain };
  enum TAction { aShiftInsert, aShiftDelete, aCtrlV, aCtrlEnter, aCtrlTab, aIme, aUndo, aWmPaste, aType };
  struct Row {
    const char* Name;
    TKind Kind;
    TAction Action;
    const char16_t* Want;
  } Rows[] = {
      {"read-only Shift+Insert", kReadOnly, aShiftInsert, u"12"},
      {"read-only Shift+Delete", kReadOnly, aShiftDelete, u"12"},
      {"read-only Ctrl+V", kReadOnly, aCtrlV, u"12"},
      {"read-only Ctrl+Enter", kReadOnly, aCtrlEnter, u"12"},
      {"read-only Ctrl+Tab", kReadOnly, aCtrlTab, u"12"},
      {"read-only IME", kReadOnly, aIme, u"12"},
      {"read-only Undo", kReadOnly, aUndo, u"123"},
      {"read-only WM_PASTE", kReadOnly, aWmPaste, u"12"},
      {"read-only typing", kReadOnly, aType, u"12"},
      {"numeric Shift+Insert", kNumeric, aShiftInsert, u"1234-5"},
      {"numeric Ctrl+V", kNumeric, aCtrlV, u"1234-5"},
      {"numeric WM_PASTE", kNumeric, aWmPaste, u"1234-5"},
      {"numeric Ctrl+Enter", kNumeric, aCtrlEnter, u"12"},
      {"numeric Ctrl+Tab", kNumeric, aCtrlTab, u"12"},
      {"numeric IME", kNumeric, aIme, u"1278"},
      {"numeric typing", kNumeric, aType, u"129"},
      {"numeric Shift+Delete cuts", kNumeric, aShiftDelete, u""},
      {"plain Shift+Insert", kPlain, aShiftInsert, u"123a4-5-x"},
      {"plain Ctrl+Enter", kPlain, aCtrlEnter, u"12"},
      {"plain IME", kPlain, aIme, u"127b8"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    Make(true, R.Kind == kNumeric, u"12");
    HWND H = E->Handle();
    if (R.Action == aUndo) {
      // An undoable change made before the edit turned read-only.
      E->SetSelStart(2);
      E->SetSelText(u"3");
      ASSERT_TRUE(E->CanUndo());
    }
    if (R.Kind == kReadOnly) E->SetReadOnly(true);
    SetClipboardText(nullptr, u"3a\r\n4\t-5\x03-x");
    if (R.Action == aShiftDelete)
      E->SelectAll();
    else
      E->SetSelStart(2);
    switch (R.Action) {
      case aShiftInsert: SendKeys({VK_SHIFT}, VK_INSERT); break;
      case aShiftDelete: SendKeys({VK_SHIFT}, VK_DELETE); break;
      case aCtrlV: SendKeys({VK_CONTROL}, 'V'); break;
      case aCtrlEnter: SendKeys({VK_CONTROL}, VK_RETURN); break;
      case aCtrlTab:
        SendKeys({VK_CONTROL}, VK_TAB);
        // Measured: Wine's keyboard gives no character for Ctrl+Tab here (the
        // key down reaches the EDIT, TranslateMessage makes no WM_CHAR); a
        // layout that yields #9 for it gives this.
        PostMessageW(H, WM_CHAR, 9, 0x000F0001);
        Pump();
        break;
      case aIme:
        if (!ImeCommit(H, u"7b8")) {
          ADD_FAILURE() << "the IME commit could not be driven";
          continue;
        }
        break;
      case aUndo:
        SendMessageW(H, EM_UNDO, 0, 0);  // what the EDIT's own context menu sends
        SendMessageW(H, WM_UNDO, 0, 0);
        break;
      case aWmPaste: SendMessageW(H, WM_PASTE, 0, 0); break;
      case aType:
        SendKeys({}, 'X');
        SendKeys({}, '9');
        break;
    }
    EXPECT_EQ(ToUtf8(E->Text()), ToUtf8(R.Want));
    if (R.Kind == kReadOnly) {
      EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & ES_READONLY);
    }
    if (R.Action == aShiftDelete && R.Kind == kNumeric) {
      EXPECT_EQ(ToUtf8(ClipboardString()), "12");
    }
    Free();
  }
}

// OnChange once per real change: assignments of the same and of a new text
// with no window, a single-line and a multi-line window (Wine's single-line
// EDIT reports WM_SETTEXT with EN_CHANGE, the multi-line one does not), and
// typing and pasting as the user does them.
TEST_F(StdEdit, OnChangeOncePerRealChange) {
  enum TWindow { wNone, wSingle, wMulti };
  struct Row {
    const char* Name;
    TWindow Window;
    const char16_t* NewText;
    int Want;
  } Rows[] = {
      {"no window, same", wNone, u"ab", 0},   {"no window, new", wNone, u"abc", 1},
      {"no window, empty", wNone, u"", 1},    {"single, same", wSingle, u"ab", 0},
      {"single, new", wSingle, u"abc", 1},    {"single, empty", wSingle, u"", 1},
      {"multi, same", wMulti, u"ab", 0},      {"multi, new", wMulti, u"abc", 1},
      {"multi, empty", wMulti, u"", 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    E = new TTestEdit(F, R.Window == wMulti, false);
    E->SetBounds(10, 10, 150, 24);
    int Events = 0;
    E->OnChange = [&](TObject* Sender) {
      EXPECT_EQ(Sender, E);
      ++Events;
    };
    E->SetText(u"ab");  // before the window: the object reports it
    EXPECT_EQ(E->Changes, 1);
    E->SetParent(F);
    if (R.Window != wNone) {
      ASSERT_TRUE(E->HandleAllocated());
      EXPECT_EQ((GetWindowLongW(E->Handle(), GWL_STYLE) & ES_MULTILINE) != 0, R.Window == wMulti);
    } else {
      E->SetVisible(false);  // stays without a window
      E->SetParent(nullptr);
    }
    Pump();
    EXPECT_EQ(E->Changes, 1) << "making the window is no change";
    E->Changes = Events = 0;
    E->SetText(R.NewText);
    Pump();
    EXPECT_EQ(E->Changes, R.Want);
    EXPECT_EQ(Events, R.Want);
    EXPECT_EQ(ToUtf8(E->Text()), ToUtf8(R.NewText));
    Free();
  }
  // Typing one character and pasting several are one change each.
  for (bool Multi : {false, true}) {
    SCOPED_TRACE(Multi ? "multi" : "single");
    Make(Multi, false, u"12");
    E->SetSelStart(2);
    E->Changes = 0;
    SendKeys({}, '7');
    EXPECT_EQ(E->Changes, 1);
    SetClipboardText(nullptr, u"345");
    E->SetSelStart(0);  // away from the typing, which Wine's undo would merge
    E->Changes = 0;
    SendKeys({VK_CONTROL}, 'V');
    EXPECT_EQ(ToUtf8(E->Text()), "345127");
    EXPECT_EQ(E->Changes, 1);
    // The paste is one step of undo.
    SendMessageW(E->Handle(), EM_UNDO, 0, 0);
    EXPECT_EQ(ToUtf8(E->Text()), "127");
    Free();
  }
}

// The EDIT scrolls its text without asking for an erase. A control that
// paints everything in WM_ERASEBKGND (and only validates in a WM_PAINT that
// no erase preceded) must still get an erase for every paint after a scroll.
TEST_F(StdEdit, ScrollingMultiLineEditPaintsThroughErase) {
  class TEraseEdit : public TTestEdit {
   public:
    explicit TEraseEdit(TComponent* AOwner) : TTestEdit(AOwner, true, false) { FControlStyle |= csOpaque; }
    int Scrolls = 0, Paints = 0, StalePaints = 0;
    bool Erased = false;
    void Dispatch(TMessage& M) override {
      if (M.Msg == CN_COMMAND && (HIWORD(M.WParam) == EN_HSCROLL || HIWORD(M.WParam) == EN_VSCROLL)) ++Scrolls;
      if (M.Msg == WM_ERASEBKGND) {
        Erased = true;
        RECT R{};
        GetClientRect(Handle(), &R);
        FillRect(reinterpret_cast<HDC>(M.WParam), &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TMessage P{WM_PAINT, M.WParam, 0, 0};
        DefaultHandler(P);  // the EDIT's text into the erase DC
        M.Result = 1;
        return;
      }
      if (M.Msg == WM_PAINT && M.WParam == 0) {
        ++Paints;
        Erased = false;
        PAINTSTRUCT PS{};
        BeginPaint(Handle(), &PS);
        if (!Erased) ++StalePaints;
        EndPaint(Handle(), &PS);
        return;
      }
      TTestEdit::Dispatch(M);
    }
  };
  auto* X = new TEraseEdit(F);
  X->SetBounds(10, 10, 60, 24);
  X->SetParent(F);
  X->SetFocus();
  Pump();
  UpdateWindow(X->Handle());
  X->StalePaints = X->Paints = X->Scrolls = 0;
  // Typing past the right edge, then the caret keys back and forth: each
  // scrolls the text.
  auto Step = [&](UINT Msg, WPARAM W) {
    PostMessageW(X->Handle(), Msg, W, 1);
    Pump();
    UpdateWindow(X->Handle());
  };
  for (int I = 0; I < 30; ++I) Step(WM_CHAR, 'a' + I % 26);
  for (int I = 0; I < 2; ++I) {
    Step(WM_KEYDOWN, VK_HOME);
    Step(WM_KEYDOWN, VK_END);
  }
  EXPECT_GE(X->Scrolls, 4) << "the text never scrolled: the case is not shown";
  EXPECT_GT(X->Paints, 0);
  EXPECT_EQ(X->StalePaints, 0);
  delete X;
}

TEST_F(StdEdit, PropertiesKeptWithoutWindowAndAcrossRecreate) {
  E = new TTestEdit(F, false, false);
  E->SetMaxLength(5);
  E->SetReadOnly(true);
  E->SetText(u"abc");
  E->SetModified(true);
  E->SetBounds(10, 10, 100, 24);
  E->SetParent(F);
  HWND H = E->Handle();
  EXPECT_EQ(ToUtf8(E->Text()), "abc");
  EXPECT_TRUE(E->Modified());
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageW(H, EM_GETLIMITTEXT, 0, 0), 5);
  // Assigned with a window and carried through a new one.
  E->SetReadOnly(false);
  EXPECT_FALSE(GetWindowLongW(H, GWL_STYLE) & ES_READONLY);
  E->SetText(u"xyz");
  E->SetModified(false);
  E->Changes = 0;
  E->SetPasswordChar(u'#');  // the password style needs a new window
  EXPECT_NE(E->Handle(), H);
  EXPECT_EQ(E->Changes, 0) << "a new window is no change of the text";
  H = E->Handle();
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(H, EM_GETPASSWORDCHAR, 0, 0), u'#');
  EXPECT_EQ(ToUtf8(E->Text()), "xyz");
  EXPECT_FALSE(E->Modified());
  EXPECT_EQ(SendMessageW(H, EM_GETLIMITTEXT, 0, 0), 5);
  // AutoSize: the height is the font's plus the frame, and follows the font.
  HDC SDC = GetDC(nullptr);
  HGDIOBJ OldF = SelectObject(SDC, E->Font()->Handle());
  TEXTMETRICW TM{};
  GetTextMetricsW(SDC, &TM);
  SelectObject(SDC, OldF);
  ReleaseDC(nullptr, SDC);
  EXPECT_EQ(E->Height(), TM.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER));
  Integer Before = E->Height();
  E->Font()->SetHeight(-30);
  EXPECT_GT(E->Height(), Before);
  E->SetAutoSize(false);
  E->SetHeight(20);
  E->Font()->SetHeight(-12);
  EXPECT_EQ(E->Height(), 20);
  E->SetCharCase(ecUpperCase);
  EXPECT_TRUE(GetWindowLongW(E->Handle(), GWL_STYLE) & ES_UPPERCASE);
  EXPECT_EQ(ToUtf8(E->Text()), "XYZ");  // the EDIT converts the text it is made with
  E->SetCharCase(ecNormal);
  H = E->Handle();
  // The window is of our class, superclassing EDIT.
  char16_t Cls[64] = {};
  GetClassNameW(H, reinterpret_cast<LPWSTR>(Cls), 64);
  EXPECT_EQ(ToUtf8(Cls), "LumigraTTestEdit");
  E->SetSelStart(1);
  E->SetSelLength(1);
  EXPECT_EQ(E->SelStart(), 1);
  EXPECT_EQ(ToUtf8(E->SelText()), "Y");
  E->SelectAll();
  EXPECT_EQ(E->SelLength(), 3);
  // Read-only, the EDIT asks WM_CTLCOLORSTATIC instead of WM_CTLCOLOREDIT:
  // both answers paint the background in the control's Color.
  E->SetColor(TColor(0x0000FF));
  for (bool RO : {false, true}) {
    SCOPED_TRACE(RO);
    E->SetReadOnly(RO);
    RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT C{};
    GetClientRect(H, &C);
    HDC DC = GetDC(H);
    EXPECT_EQ(GetPixel(DC, C.right - 3, C.bottom / 2) & 0xFFFFFF, 0x0000FFu);
    ReleaseDC(H, DC);
  }
  E->SetReadOnly(false);
  // A user's change sets Modified.
  E->SetFocus();
  E->SetSelStart(3);
  SendKeys({}, 'Q');
  EXPECT_TRUE(E->Modified());
  EXPECT_EQ(ToUtf8(E->Text()), "XYZq");
  Free();
}

// ---------------------------------------------------------------------------
// List box

namespace {

class TTestList : public TCustomListBox {
 public:
  using TCustomListBox::TCustomListBox;
  bool NoFrame = false;  // a list whose scroll bar is kept out of sight
  int Clicks = 0;

 protected:
  void CreateParams(TCreateParams& P) override {
    TCustomListBox::CreateParams(P);
    if (NoFrame) P.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  }
  void Click() override {
    ++Clicks;
    TCustomListBox::Click();
  }
  void Dispatch(TMessage& M) override {
    // No non-client area: the native scroll bar is never shown, its state
    // is still kept.
    if (NoFrame && M.Msg == WM_NCCALCSIZE) {
      M.Result = 0;
      return;
    }
    TCustomListBox::Dispatch(M);
  }
};

}  // namespace

class StdList : public StdForm {};

// Items, index and top index live in the object without a window, go into
// the window and survive RecreateWnd.
TEST_F(StdList, StateKeptWithoutWindowAndAcrossRecreate) {
  auto* L = new TTestList(F);
  L->SetBounds(10, 10, 120, 100);
  TObject Tag;
  for (int I = 0; I < 30; ++I) L->Items()->Add(u"item " + IntToStr(I));
  L->Items()->SetObjects(3, &Tag);
  L->Items()->Insert(0, u"first");
  L->Items()->Delete(1);  // "item 0"
  L->SetItemIndex(7);
  L->SetTopIndex(10);
  EXPECT_FALSE(L->HandleAllocated());
  EXPECT_EQ(L->Items()->Count(), 30);
  EXPECT_EQ(L->ItemIndex(), 7);
  auto Check = [&](const char* When) {
    SCOPED_TRACE(When);
    HWND H = L->Handle();
    EXPECT_EQ(SendMessageW(H, LB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(SendMessageW(H, LB_GETCURSEL, 0, 0), 7);
    EXPECT_EQ(SendMessageW(H, LB_GETTOPINDEX, 0, 0), 10);
    EXPECT_EQ(ToUtf8(L->Items()->Strings(0)), "first");
    EXPECT_EQ(ToUtf8(L->Items()->Strings(29)), "item 29");
    EXPECT_EQ(L->Items()->Objects(3), &Tag);
    EXPECT_EQ(L->ItemIndex(), 7);
    EXPECT_EQ(L->TopIndex(), 10);
  };
  L->SetParent(F);
  Check("first window");
  HWND Old = L->Handle();
  L->RecreateWnd();
  EXPECT_NE(L->Handle(), Old);
  Check("recreated");
  L->SetStyle(lbOwnerDrawFixed);  // a style change recreates too
  Check("owner-draw");
  EXPECT_EQ(L->Clicks, 0) << "restoring the index is no click";
  // Without a window again (hidden, taken off the form): still the object's.
  L->SetParent(nullptr);
  EXPECT_FALSE(L->HandleAllocated());
  EXPECT_EQ(L->Items()->Count(), 30);
  EXPECT_EQ(L->ItemIndex(), 7);
  L->Items()->Clear();
  EXPECT_EQ(L->ItemIndex(), -1);
  delete L;
}

// ItemIndex := selects without a click; the user's selection clicks once.
TEST_F(StdList, ClickOnlyFromTheUsersSelection) {
  auto* L = new TTestList(F);
  L->SetBounds(10, 10, 120, 100);
  L->SetParent(F);
  for (int I = 0; I < 10; ++I) L->Items()->Add(u"row " + IntToStr(I));
  int Events = 0;
  L->OnClick = [&](TObject*) { ++Events; };
  L->SetItemIndex(2);
  L->SetItemIndex(4);
  Pump();
  EXPECT_EQ(L->Clicks, 0);
  EXPECT_EQ(L->ItemIndex(), 4);
  L->SetFocus();
  SendKeys({}, VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 5);
  EXPECT_EQ(L->Clicks, 1);
  EXPECT_EQ(Events, 1);
  TRect R = L->ItemRect(1);
  PostMessageW(L->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(R.Left + 3, R.Top + 2));
  PostMessageW(L->Handle(), WM_LBUTTONUP, 0, PointToLParam(R.Left + 3, R.Top + 2));
  Pump();
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_EQ(L->Clicks, 2);
  EXPECT_EQ(L->ItemAtPos(TPoint(R.Left + 3, R.Top + 2), true), 1);
  EXPECT_EQ(L->ItemAtPos(TPoint(3, 99), true), -1);
  delete L;
}

// Owner drawing comes back to the list as CN_DRAWITEM: DrawItem with the
// item's rectangle and state, on the list's canvas.
TEST_F(StdList, OwnerDrawFixedThroughDrawItem) {
  auto* L = new TTestList(F);
  L->SetStyle(lbOwnerDrawFixed);
  L->SetItemHeight(20);
  L->SetBounds(10, 10, 120, 100);
  for (int I = 0; I < 10; ++I) L->Items()->Add(u"row " + IntToStr(I));
  L->SetItemIndex(1);
  struct Drawn {
    Integer Index;
    TRect Rect;
    TOwnerDrawState State;
  };
  std::vector<Drawn> Log;
  L->OnDrawItem = [&](TWinControl* C, Integer Index, const TRect& Rect, TOwnerDrawState State) {
    EXPECT_EQ(C, L);
    Log.push_back({Index, Rect, State});
    L->Canvas()->Brush()->SetColor(Index == 2 ? TColor(0x0000FF) : TColor(0x00FF00));
    L->Canvas()->FillRect(Rect);
  };
  L->SetParent(F);
  HWND H = L->Handle();
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & LBS_OWNERDRAWFIXED);
  EXPECT_EQ(SendMessageW(H, LB_GETITEMHEIGHT, 0, 0), 20);
  RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump();
  ASSERT_FALSE(Log.empty());
  RECT C{};
  GetClientRect(H, &C);
  int Visible = (C.bottom + 19) / 20;
  bool Seen[10] = {};
  for (const Drawn& D : Log) {
    ASSERT_GE(D.Index, 0);
    ASSERT_LT(D.Index, 10);
    Seen[D.Index] = true;
    EXPECT_EQ(D.Rect.Height(), 20);
    EXPECT_EQ(D.Rect.Top, D.Index * 20);
    EXPECT_EQ((D.State & odSelected) != 0, D.Index == 1) << D.Index;
  }
  for (int I = 0; I < Visible && I < 10; ++I) EXPECT_TRUE(Seen[I]) << I;
  EXPECT_FALSE(Seen[9]);
  // What DrawItem painted is on the screen.
  HDC DC = GetDC(H);
  EXPECT_EQ(GetPixel(DC, 5, 2 * 20 + 5) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(GetPixel(DC, 5, 3 * 20 + 5) & 0xFFFFFF, 0x00FF00u);
  ReleaseDC(H, DC);
  delete L;
}

// Variable heights come from MeasureItem, asked through CN_MEASUREITEM for
// each item as it is added, also with other controls on the same parent.
TEST_F(StdList, OwnerDrawVariableMeasuresEachItem) {
  auto* Other = new TTestList(F);  // a sibling list on the same parent
  Other->SetBounds(150, 10, 50, 50);
  Other->SetParent(F);
  auto* L = new TTestList(F);
  L->SetStyle(lbOwnerDrawVariable);
  L->SetBounds(10, 10, 120, 100);
  std::vector<Integer> Asked;
  L->OnMeasureItem = [&](TWinControl*, Integer Index, Integer& Height) {
    Asked.push_back(Index);
    Height = 10 + 3 * Index;
  };
  L->Items()->Add(u"kept before the window");
  L->SetParent(F);
  HWND H = L->Handle();
  for (int I = 1; I < 5; ++I) L->Items()->Add(u"row " + IntToStr(I));
  EXPECT_EQ(Asked, (std::vector<Integer>{0, 1, 2, 3, 4}));
  for (int I = 0; I < 5; ++I) EXPECT_EQ(SendMessageW(H, LB_GETITEMHEIGHT, I, 0), 10 + 3 * I) << I;
  delete L;
  delete Other;
}

// Wine keeps the list's scroll state while the bar is out of sight (the
// list's non-client area swallowed, WS_VSCROLL kept), so a list can mirror
// it into bars of its own.
TEST_F(StdList, ScrollStateReportedWhileTheBarIsHidden) {
  auto* L = new TTestList(F);
  L->NoFrame = true;
  L->SetStyle(lbOwnerDrawFixed);
  L->SetItemHeight(20);
  L->SetBounds(10, 10, 120, 100);
  L->SetParent(F);
  HWND H = L->Handle();
  for (int I = 0; I < 50; ++I) L->Items()->Add(u"row " + IntToStr(I));
  RECT W{}, C{};
  GetWindowRect(H, &W);
  GetClientRect(H, &C);
  EXPECT_EQ(C.right, W.right - W.left) << "the bar takes no room";
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & WS_VSCROLL);
  // Measured under Wine 8: range 0..49 (the item count - 1), page 5 (the
  // rows that fit), position = TopIndex, all while the bar is hidden.
  INT Min = -1, Max = -1;
  ASSERT_TRUE(GetScrollRange(H, SB_VERT, &Min, &Max));
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 49);
  SCROLLINFO SI{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(H, SB_VERT, &SI));
  EXPECT_EQ(SI.nPage, 5u);
  EXPECT_EQ(GetScrollPos(H, SB_VERT), 0);
  L->SetTopIndex(12);
  EXPECT_EQ(GetScrollPos(H, SB_VERT), 12);
  // Scrolling by message (as mirrored bars do) moves the list.
  SendMessageW(H, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
  EXPECT_EQ(L->TopIndex(), 30);
  EXPECT_EQ(GetScrollPos(H, SB_VERT), 30);
  // Fewer items than rows: the range collapses.
  while (L->Items()->Count() > 3) L->Items()->Delete(L->Items()->Count() - 1);
  SI = SCROLLINFO{};
  SI.cbSize = sizeof(SI);
  SI.fMask = SIF_ALL;
  GetScrollInfo(H, SB_VERT, &SI);
  EXPECT_LE(SI.nMax - SI.nMin + 1, static_cast<int>(SI.nPage));
  delete L;
}

// Sorted lists keep their order with and without a window; typing selects
// by prefix within half a second and clicks.
TEST_F(StdList, SortedAndTypedSearch) {
  auto* L = new TTestList(F);
  L->SetBounds(10, 10, 120, 100);
  for (const char16_t* S : {u"pear", u"Apple", u"plum", u"banana"}) L->Items()->Add(S);
  L->SetSorted(true);
  auto Order = [&] {
    std::string R;
    for (Integer I = 0; I < L->Items()->Count(); ++I) R += ToUtf8(L->Items()->Strings(I)) + " ";
    return R;
  };
  EXPECT_EQ(Order(), "Apple banana pear plum ");
  L->SetParent(F);
  ASSERT_TRUE(L->HandleAllocated());
  EXPECT_EQ(Order(), "Apple banana pear plum ");
  EXPECT_EQ(L->Items()->Add(u"cherry"), 2);
  EXPECT_EQ(Order(), "Apple banana cherry pear plum ");
  L->SetFocus();
  SendKeys({}, 'P');
  SendKeys({}, 'L');
  const DWORD LastKey = GetTickCount();  // the key was handled before this
  EXPECT_EQ(ToUtf8(L->Items()->Strings(L->ItemIndex())), "plum");
  EXPECT_EQ(L->Clicks, 2);
  // A pause of half a second starts a new search.
  while (GetTickCount() - LastKey < 500) Sleep(5);
  SendKeys({}, 'C');
  EXPECT_EQ(ToUtf8(L->Items()->Strings(L->ItemIndex())), "cherry");
  // Without a window again, additions still go to their sorted place.
  L->SetParent(nullptr);
  ASSERT_FALSE(L->HandleAllocated());
  L->Items()->Add(u"apricot");
  EXPECT_EQ(Order(), "Apple apricot banana cherry pear plum ");
  L->SetParent(F);
  EXPECT_EQ(SendMessageW(L->Handle(), LB_GETCOUNT, 0, 0), 6);
  L->Items()->Delete(1);
  L->SetSorted(false);  // a new window, same items
  EXPECT_EQ(Order(), "Apple banana cherry pear plum ");
  L->Items()->Insert(0, u"zucchini");
  EXPECT_EQ(ToUtf8(L->Items()->Strings(0)), "zucchini");
  delete L;
}

// ---------------------------------------------------------------------------
// Label

class StdLabel : public StdForm {};

namespace {

SIZE TextSize(TFont* Font, const String& S, UINT Flags = 0) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  RECT R{0, 0, 0, 0};
  DrawTextW(DC, reinterpret_cast<LPCWSTR>(S.c_str()), static_cast<int>(S.size()), &R, DT_CALCRECT | DT_EXPANDTABS | Flags);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return SIZE{R.right, R.bottom};
}

}  // namespace

TEST_F(StdLabel, AutoSizeMeasuresTheDrawnText) {
  auto* L = new TLabel(F);
  L->SetBounds(100, 20, 10, 10);
  L->SetParent(F);
  struct Row {
    const char16_t* Caption;
    bool ShowAccel;
    const char16_t* Measured;  // the text as DrawText measures it
    UINT Flags;
  } Rows[] = {
      {u"Hello", true, u"Hello", 0},
      {u"&Name", true, u"Name", 0},
      {u"&Name", false, u"&Name", DT_NOPREFIX},
      {u"A&&B", true, u"A&B", DT_NOPREFIX},
      {u"", true, u" ", 0},  // an empty label is one line high
      {u"two\r\nlines", true, u"two\r\nlines", 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.Caption));
    L->SetShowAccelChar(R.ShowAccel);
    L->SetCaption(R.Caption);
    SIZE Want = TextSize(L->Font(), R.Measured, R.Flags);
    EXPECT_EQ(L->Width(), Want.cx);
    EXPECT_EQ(L->Height(), Want.cy);
    EXPECT_EQ(L->Left(), 100);
  }
  L->SetShowAccelChar(true);
  // Right-justified: the right edge stays.
  L->SetCaption(u"abc");
  L->SetAlignment(taRightJustify);
  Integer Right = L->Left() + L->Width();
  L->SetCaption(u"a much longer caption");
  EXPECT_EQ(L->Left() + L->Width(), Right);
  // A bigger font resizes.
  Integer H = L->Height();
  L->Font()->SetHeight(-30);
  EXPECT_GT(L->Height(), H);
  // Without AutoSize the bounds stay.
  L->SetAutoSize(false);
  L->SetBounds(5, 5, 40, 12);
  L->SetCaption(u"a caption far wider than forty pixels");
  EXPECT_EQ(L->BoundsRect(), Bounds(5, 5, 40, 12));
  delete L;
  // Word wrap keeps the width (when every word fits) and grows the height.
  auto* W = new TLabel(F);
  W->SetWordWrap(true);
  W->SetBounds(5, 5, 60, 12);
  W->SetParent(F);
  W->SetCaption(u"one two three four five six");
  EXPECT_LE(W->Width(), 60);
  EXPECT_GE(W->Height(), 3 * TextSize(W->Font(), u"one").cy);
  delete W;
}

// "&" marks the accelerator: Alt+key (or the key in a control that wants no
// characters) reaches the label as CM_DIALOGCHAR and focuses FocusControl.
TEST_F(StdLabel, AcceleratorFocusesFocusControl) {
  auto* From = new TEdit(F);
  From->SetBounds(10, 10, 80, 24);
  From->SetParent(F);
  auto* To = new TEdit(F);
  To->SetBounds(10, 50, 80, 24);
  To->SetParent(F);
  auto* L = new TLabel(F);
  L->SetBounds(120, 10, 60, 20);
  L->SetParent(F);
  struct Row {
    const char16_t* Caption;
    WPARAM Key;
    bool ShowAccel, Enabled, TargetVisible;
    bool Moves;
  } Rows[] = {
      {u"&Name", 'n', true, true, true, true},      {u"&Name", 'N', true, true, true, true},
      {u"&Name", 'm', true, true, true, false},     {u"A&&B", 'b', true, true, true, false},
      {u"Save &As", 'a', true, true, true, true},   {u"&x&y", 'y', true, true, true, true},
      {u"&x&y", 'x', true, true, true, false},      {u"&Name", 'n', false, true, true, false},
      {u"&Name", 'n', true, false, true, false},    {u"&Name", 'n', true, true, false, false},
  };
  L->SetFocusControl(To);
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.Caption) + " " + char(R.Key));
    L->SetCaption(R.Caption);
    L->SetShowAccelChar(R.ShowAccel);
    L->SetEnabled(R.Enabled);
    To->SetVisible(R.TargetVisible);
    From->SetFocus();
    ASSERT_TRUE(From->Focused());
    // Alt+key: WM_SYSCHAR through the application's queue path.
    PostMessageW(From->Handle(), WM_SYSCHAR, R.Key, 0x20000001);
    Pump();
    EXPECT_EQ(To->Focused(), R.Moves);
    EXPECT_TRUE(Errors.empty());
  }
  // The focus control freed: the label forgets it.
  To->SetVisible(true);
  L->SetEnabled(true);
  L->SetCaption(u"&Name");
  delete To;
  EXPECT_EQ(L->FocusControl(), nullptr);
  PostMessageW(From->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  Pump();
  EXPECT_TRUE(From->Focused());
  delete L;
}

// An opaque label fills itself with Color; a transparent one leaves the
// parent's background.
TEST_F(StdLabel, OpaqueAndTransparentPainting) {
  F->SetColor(TColor(0x00FF00));
  auto* L = new TLabel(F);
  L->SetAutoSize(false);
  L->SetBounds(20, 20, 60, 30);
  L->SetCaption(u"");
  L->SetParent(F);
  L->SetColor(TColor(0xFF0000));
  for (bool T : {false, true}) {
    SCOPED_TRACE(T);
    L->SetTransparent(T);
    EXPECT_EQ((L->ControlStyle() & csOpaque) == 0, T);
    RedrawWindow(F->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC DC = GetDC(F->Handle());
    EXPECT_EQ(GetPixel(DC, 50, 40) & 0xFFFFFF, T ? 0x00FF00u : 0xFF0000u);
    ReleaseDC(F->Handle(), DC);
  }
  delete L;
}

// The text sits where Alignment and Layout put it.
TEST_F(StdLabel, AlignmentAndLayoutPlaceTheText) {
  auto* L = new TLabel(F);
  L->SetAutoSize(false);
  L->SetBounds(20, 20, 90, 90);
  L->SetColor(clWhite);
  L->Font()->SetColor(clBlack);
  L->Font()->SetHeight(-20);
  L->SetCaption(u"W");
  L->SetParent(F);
  struct Row {
    TAlignment Alignment;
    TTextLayout Layout;
    int Col, Row;  // the third (0..2) the ink must lie in
  } Rows[] = {
      {taLeftJustify, tlTop, 0, 0},   {taCenter, tlCenter, 1, 1},      {taRightJustify, tlBottom, 2, 2},
      {taRightJustify, tlTop, 2, 0},  {taLeftJustify, tlBottom, 0, 2}, {taCenter, tlTop, 1, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::to_string(R.Alignment) + "/" + std::to_string(R.Layout));
    L->SetAlignment(R.Alignment);
    L->SetLayout(R.Layout);
    RedrawWindow(F->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC DC = GetDC(F->Handle());
    int MinX = 99, MaxX = -1, MinY = 99, MaxY = -1;
    for (int Y = 0; Y < 90; ++Y)
      for (int X = 0; X < 90; ++X)
        if ((GetPixel(DC, 20 + X, 20 + Y) & 0xFFFFFF) != 0xFFFFFF) {
          MinX = std::min(MinX, X);
          MaxX = std::max(MaxX, X);
          MinY = std::min(MinY, Y);
          MaxY = std::max(MaxY, Y);
        }
    ReleaseDC(F->Handle(), DC);
    ASSERT_GE(MaxX, 0) << "no text drawn";
    EXPECT_EQ(MinX / 30, R.Col);
    EXPECT_EQ(MaxX / 30, R.Col);
    EXPECT_EQ(MinY / 30, R.Row);
    EXPECT_EQ(MaxY / 30, R.Row);
  }
  delete L;
}
