// The edit wrapper over Wine's EDIT, and the superclassing shared by the
// standard controls.
#include "classlib/StdCtrls.h"

#include <imm.h>

#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"

// The procedure of every window of our classes (the control core's).

namespace {

const WCHAR* W(const char16_t* S) { return reinterpret_cast<const WCHAR*>(S); }

// imm32 is loaded at run time: the class library links no IME library.
struct TImm {
  using TGetContext = HIMC(WINAPI*)(HWND);
  using TReleaseContext = BOOL(WINAPI*)(HWND, HIMC);
  using TGetString = LONG(WINAPI*)(HIMC, DWORD, LPVOID, DWORD);
  TGetContext GetContext = nullptr;
  TReleaseContext ReleaseContext = nullptr;
  TGetString GetString = nullptr;
  TImm() {
    HMODULE M = LoadLibraryW(W(u"imm32.dll"));
    if (!M) return;
    GetContext = reinterpret_cast<TGetContext>(reinterpret_cast<void*>(GetProcAddress(M, "ImmGetContext")));
    ReleaseContext =
        reinterpret_cast<TReleaseContext>(reinterpret_cast<void*>(GetProcAddress(M, "ImmReleaseContext")));
    GetString =
        reinterpret_cast<TGetString>(reinterpret_cast<void*>(GetProcAddress(M, "ImmGetCompositionStringW")));
  }
  bool Ok() const { return GetContext && ReleaseContext && GetString; }
};

const TImm& Imm() {
  static TImm I;
  return I;
}

// The result string of the window's current composition.
String ImeResultString(HWND Wnd) {
  const TImm& I = Imm();
  if (!I.Ok()) return String();
  HIMC C = I.GetContext(Wnd);
  if (!C) return String();
  String S;
  LONG Bytes = I.GetString(C, GCS_RESULTSTR, nullptr, 0);
  if (Bytes > 0) {
    S.resize(static_cast<size_t>(Bytes) / sizeof(char16_t));
    LONG Got = I.GetString(C, GCS_RESULTSTR, S.data(), static_cast<DWORD>(Bytes));
    S.resize(Got > 0 ? static_cast<size_t>(Got) / sizeof(char16_t) : 0);
  }
  I.ReleaseContext(Wnd, C);
  return S;
}

String ClipboardText(HWND Owner) {
  String S;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(Owner)) return S;
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* P = static_cast<const char16_t*>(GlobalLock(H))) {
      SIZE_T Max = GlobalSize(H) / sizeof(char16_t);
      SIZE_T N = 0;
      while (N < Max && P[N]) ++N;
      S.assign(P, N);
      GlobalUnlock(H);
    }
  }
  CloseClipboard();
  return S;
}

bool IsLineOrTab(Char C) { return C == u'\r' || C == u'\n' || C == u'\t'; }

// Pasted into one line, a control character is never text (typed, it is a
// command such as Ctrl+C).
bool IsControlChar(Char C) { return C < 32 || C == 127; }

}  // namespace

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = csClickEvents | csSetCaption | csDoubleClicks;
  FWidth = 121;
  FHeight = 25;
  FTabStop = true;
  FColor = clWindow;
}

TCustomEdit::~TCustomEdit() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  if (FBrush) DeleteObject(FBrush);
}

void TCustomEdit::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.Style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  P.ExStyle |= WS_EX_CLIENTEDGE;
  if (FReadOnly) P.Style |= ES_READONLY;
  if (!FHideSelection) P.Style |= ES_NOHIDESEL;
  if (FCharCase == ecUpperCase) P.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) P.Style |= ES_LOWERCASE;
  if (FPasswordChar != 0) P.Style |= ES_PASSWORD;
  P.ClassStyle = SuperclassStyle(u"EDIT");
}

void TCustomEdit::CreateWnd() {
  TCreateParams P;
  CreateParams(P);
  FDefWndProc = RegisterSuperclass(P, u"EDIT");
  FCreatingWnd = true;
  {
    TFinally Done([&] { FCreatingWnd = false; });
    TWinControl::CreateWnd();
  }
  SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar != 0) SendMessageW(FHandle, EM_SETPASSWORDCHAR, FPasswordChar, 0);
  SendMessageW(FHandle, EM_SETMODIFY, FModified ? TRUE : FALSE, 0);
  if (FAutoSize) AdjustHeight();
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRICW TM{};
  GetTextMetricsW(DC, &TM);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  DWORD ExStyle = 0;
  if (FHandle) {
    ExStyle = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE));
  } else {
    TCreateParams P;
    CreateParams(P);
    ExStyle = P.ExStyle;
  }
  Integer Frame = ((ExStyle & WS_EX_CLIENTEDGE) ? 8 : 6) * GetSystemMetrics(SM_CYBORDER);
  SetHeight(TM.tmHeight + Frame);
}

void TCustomEdit::DestroyWnd() {
  if (FHandle && !FComponentState.Contains(csDestroying))
    FModified = SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0;
  TWinControl::DestroyWnd();
}

bool TCustomEdit::IsMultiLineWindow() {
  return FHandle && (GetWindowLongW(FHandle, GWL_STYLE) & ES_MULTILINE) != 0;
}

void TCustomEdit::SetMaxLength(Integer Value) {
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  if (FHandle) SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetPasswordChar(Char Value) {
  if (FPasswordChar == Value) return;
  bool StyleChanges = (FPasswordChar == 0) != (Value == 0);
  FPasswordChar = Value;
  if (!FHandle) return;
  if (StyleChanges) {
    RecreateWnd();
  } else {
    SendMessageW(FHandle, EM_SETPASSWORDCHAR, Value, 0);
    Invalidate();
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

Integer TCustomEdit::SelStart() {
  if (!FHandle) return 0;
  DWORD S = 0, E = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&S), reinterpret_cast<LPARAM>(&E));
  return static_cast<Integer>(S);
}

void TCustomEdit::SetSelStart(Integer Value) {
  HWND H = Handle();
  SendMessageW(H, EM_SETSEL, static_cast<WPARAM>(Value), static_cast<LPARAM>(Value));
}

Integer TCustomEdit::SelLength() {
  if (!FHandle) return 0;
  DWORD S = 0, E = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&S), reinterpret_cast<LPARAM>(&E));
  return static_cast<Integer>(E) - static_cast<Integer>(S);
}

void TCustomEdit::SetSelLength(Integer Value) {
  HWND H = Handle();
  DWORD S = 0, E = 0;
  SendMessageW(H, EM_GETSEL, reinterpret_cast<WPARAM>(&S), reinterpret_cast<LPARAM>(&E));
  SendMessageW(H, EM_SETSEL, S, static_cast<LPARAM>(static_cast<Integer>(S) + Value));
  SendMessageW(H, EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  if (!FHandle) return String();
  Integer S = SelStart(), L = SelLength();
  String T = Text();
  if (S < 0 || L <= 0 || static_cast<size_t>(S) >= T.size()) return String();
  return T.substr(static_cast<size_t>(S), static_cast<size_t>(L));
}

void TCustomEdit::SetSelText(const String& Value) {
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll() {
  if (FHandle) SendMessageW(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() { SendMessageW(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageW(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageW(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageW(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendMessageW(Handle(), EM_UNDO, 0, 0); }

void TCustomEdit::ClearUndo() {
  if (FHandle) SendMessageW(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
}

bool TCustomEdit::CanUndo() { return FHandle && SendMessageW(FHandle, EM_CANUNDO, 0, 0) != 0; }

bool TCustomEdit::Modified() {
  if (FHandle) return SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (FHandle) SendMessageW(FHandle, EM_SETMODIFY, Value ? TRUE : FALSE, 0);
}

void TCustomEdit::Change() { Fire(OnChange, this); }

void TCustomEdit::DoPaste() {
  if (!CanModify()) return;
  String S = ClipboardText(FHandle);
  if (!S.empty()) PasteText(S);
}

void TCustomEdit::PasteText(const String& Text) {
  if (!FHandle) return;
  auto Alive = FAlive;
  FInPaste = true;
  FPasteChanged = false;
  {
    TFinally Done([&] {
      if (*Alive) FInPaste = false;  // a handler may have freed the edit
    });
    for (Char C : Text) {
      if (SingleLine() && IsControlChar(C)) continue;
      TMessage K{WM_CHAR, C, 1, 0};
      bool Dropped = DoKeyPress(K);
      if (!*Alive) return;
      Char Ch = static_cast<Char>(K.WParam);
      if (Dropped || Ch == 0 || (SingleLine() && IsControlChar(Ch))) continue;
      if (!FHandle || !CanModify()) break;
      const char16_t One[2] = {Ch, 0};
      SendMessageW(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(One));
      if (!*Alive) return;
    }
  }
  if (FPasteChanged) {
    FPasteChanged = false;
    Change();
  }
}

void TCustomEdit::InsertImeChar(Char Ch) { Perform(WM_CHAR, Ch, 1); }

void TCustomEdit::HandleImeComposition(TMessage& M) {
  // The EDIT never sees the IME: the result comes in as characters through
  // WindowProc; the rest (the IME's own composition window) is the default
  // window procedure's.
  constexpr LPARAM ResultBits = GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE;
  if (M.LParam & GCS_RESULTSTR) {
    auto Alive = FAlive;
    String S = ImeResultString(FHandle);
    for (Char C : S) {
      InsertImeChar(C);
      if (!*Alive || !FHandle) return;
    }
    LPARAM Rest = M.LParam & ~ResultBits;
    if (Rest) M.Result = DefWindowProcW(FHandle, M.Msg, M.WParam, Rest);
    return;
  }
  M.Result = DefWindowProcW(FHandle, M.Msg, M.WParam, M.LParam);
}

void TCustomEdit::UpdateColorBrush() {
  if (FBrush && FBrushColor == FColor) return;
  if (FBrush) DeleteObject(FBrush);
  FBrush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor)));
  FBrushColor = FColor;
}

LRESULT TCustomEdit::CtlColor(HDC DC) {
  UpdateColorBrush();
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
  SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(FColor)));
  return reinterpret_cast<LRESULT>(FBrush);
}

void TCustomEdit::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CHAR: {
      if (DoKeyPress(M)) return;
      // One line of text: Ctrl+Tab, Ctrl+Enter and Enter insert nothing even
      // in a multi-line window.
      Char C = static_cast<Char>(M.WParam);
      if (SingleLine() && IsLineOrTab(C)) return;
      DefaultHandler(M);
      return;
    }
    case WM_IME_CHAR:
      // An IME character takes the keyboard's way.
      M.Result = Perform(WM_CHAR, M.WParam, M.LParam);
      return;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      if (FHandle) M.Result = DefWindowProcW(FHandle, M.Msg, M.WParam, M.LParam);
      return;
    case WM_IME_COMPOSITION:
      if (FHandle) HandleImeComposition(M);
      return;
    case WM_KEYDOWN: {
      if (DoKeyDown(M)) return;
      bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
      // The EDIT pastes on Shift+Insert by itself, without WM_PASTE.
      if (M.WParam == VK_INSERT && Shift && !Ctrl) {
        DoPaste();
        return;
      }
      if (M.WParam == VK_DELETE && !CanModify()) return;
      DefaultHandler(M);
      return;
    }
    case WM_PASTE:
      DoPaste();
      return;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      if (!CanModify()) return;
      DefaultHandler(M);
      return;
    case CM_ENTER:
      if (FAutoSelect && !(FControlState & csLButtonDown) && !IsMultiLineWindow()) SelectAll();
      TWinControl::Dispatch(M);
      return;
    case CM_TEXTCHANGED:
      TWinControl::Dispatch(M);
      // A single-line EDIT reports WM_SETTEXT with EN_CHANGE itself; the
      // multi-line one does not, and without a window nobody does.
      if (!FHandle || IsMultiLineWindow()) Change();
      return;
    case CM_COLORCHANGED:
      UpdateColorBrush();
      TWinControl::Dispatch(M);
      return;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(M);
      if (FAutoSize && FHandle) AdjustHeight();
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      M.Result = CtlColor(reinterpret_cast<HDC>(M.WParam));
      return;
    case CN_COMMAND:
      switch (HIWORD(M.WParam)) {
        case EN_CHANGE:
          if (FCreatingWnd) return;
          if (FInPaste) {
            FPasteChanged = true;
            return;
          }
          Change();
          return;
        case EN_HSCROLL:
        case EN_VSCROLL:
          // The EDIT scrolls its pixels without asking for an erase: a
          // control painting in WM_ERASEBKGND would leave them stale.
          Invalidate();
          if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
          return;
      }
      return;
  }
  TWinControl::Dispatch(M);
}
