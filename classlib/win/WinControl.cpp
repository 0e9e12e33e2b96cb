#include <algorithm>

#include "classlib/Controls.h"

#include <commctrl.h>
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/win/CoreInternal.h"
#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"

namespace {

// The control whose window is being created: bound to the HWND on its first
// message, so WM_NCCREATE and WM_CREATE reach a WindowProc installed before.
thread_local TWinControl* CreationControl = nullptr;

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

bool IsReflectedCtlColor(UINT Msg) { return Msg >= WM_CTLCOLORMSGBOX && Msg <= WM_CTLCOLORSTATIC; }

// Set while the default procedure runs for a wheel that no control took: the
// default passes it to the parent window, which must not offer it again.
thread_local bool InWheelDefault = false;

// A child id no sibling under Parent holds yet: WM_MEASUREITEM names its
// control by id alone. Ids stay within 16 bits (WM_COMMAND carries them so)
// and skip 0 and 0xFFFF (-1 as a short).
UINT_PTR NewChildId(HWND Parent) {
  static WORD Next = 0;
  for (int Tries = 0; Tries < 0x10000; ++Tries) {
    if (++Next == 0xFFFF) Next = 1;
    if (!GetDlgItem(Parent, Next)) return Next;
  }
  return 0;
}

}  // namespace

// The procedure of every window of our classes.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* C = corepriv::ControlOfWindow(Wnd);
  if (!C) {
    C = CreationControl;
    if (!C) return DefWindowProcW(Wnd, Msg, WParam, LParam);
    CreationControl = nullptr;
    C->FHandle = Wnd;
    corepriv::BindWindow(Wnd, C);
  }
  auto Alive = C->LivenessToken();
  TMessage M{Msg, WParam, LParam, 0};
  C->MainWndProc(M);
  if (Msg == WM_NCDESTROY) {
    corepriv::UnbindWindow(Wnd);
    if (*Alive && C->FHandle == Wnd) {
      C->FHandle = nullptr;
      C->FShowing = false;
    }
  }
  return M.Result;
}

namespace {

// Registers the window class of Params once.
void RegisterControlClass(const TCreateParams& P) {
  WNDCLASSW WC{};
  HINSTANCE Inst = GetModuleHandleW(nullptr);
  if (GetClassInfoW(Inst, W(P.WinClassName), &WC)) return;
  WC = WNDCLASSW{};
  WC.style = P.ClassStyle;
  WC.lpfnWndProc = ControlWndProc;
  WC.hInstance = Inst;
  WC.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  WC.lpszClassName = W(P.WinClassName);
  if (!RegisterClassW(&WC)) throw EOutOfResources(u"Error creating window class");
}

// The class data of a system class; the common controls register theirs on
// first use.
bool SystemClassInfo(const char16_t* SystemClass, WNDCLASSEXW& Sys) {
  const WCHAR* Name = reinterpret_cast<const WCHAR*>(SystemClass);
  Sys = WNDCLASSEXW{};
  Sys.cbSize = sizeof(Sys);
  if (GetClassInfoExW(nullptr, Name, &Sys)) return true;
  INITCOMMONCONTROLSEX ICC{sizeof(ICC), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&ICC);
  return GetClassInfoExW(nullptr, Name, &Sys) != FALSE;
}

}  // namespace

UINT SuperclassStyle(const char16_t* SystemClass) {
  WNDCLASSEXW Sys;
  if (!SystemClassInfo(SystemClass, Sys)) return CS_DBLCLKS;
  return Sys.style & ~UINT(CS_PARENTDC | CS_OWNDC | CS_CLASSDC | CS_GLOBALCLASS);
}

WNDPROC RegisterSuperclass(const TCreateParams& P, const char16_t* SystemClass) {
  WNDCLASSEXW Sys;
  if (!SystemClassInfo(SystemClass, Sys)) throw EOutOfResources(u"Error creating window class");
  HINSTANCE Inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW Mine{};
  Mine.cbSize = sizeof(Mine);
  if (GetClassInfoExW(Inst, W(P.WinClassName), &Mine)) return Sys.lpfnWndProc;
  // The system class's extra bytes hold the native control's state.
  Mine = Sys;
  Mine.cbSize = sizeof(Mine);
  Mine.style = P.ClassStyle;
  Mine.lpfnWndProc = ControlWndProc;
  Mine.hInstance = Inst;
  Mine.lpszClassName = W(P.WinClassName);
  Mine.lpszMenuName = nullptr;
  if (!RegisterClassExW(&Mine)) throw EOutOfResources(u"Error creating window class");
  return Sys.lpfnWndProc;
}

// ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
}

void TWinControl::BeforeDestruction() {
  Destroying();
  DestroyChildControls();
  DestroyHandle();
  TControl::BeforeDestruction();
}

void TWinControl::DestroyChildControls() {
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* C = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    FreeObject(C);  // its destructor takes it out of our lists
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& P) {
  P.Caption = FText;
  P.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle & csAcceptsControls) P.Style |= WS_CLIPCHILDREN;
  if (!FEnabled) P.Style |= WS_DISABLED;
  P.X = FLeft;
  P.Y = FTop;
  P.Width = FWidth;
  P.Height = FHeight;
  if (FParent) P.WndParent = FParent->Handle();
  P.WinClassName = u"Lumigra" + ClassName();
  for (char16_t& Ch : P.WinClassName)
    if (!((Ch >= u'a' && Ch <= u'z') || (Ch >= u'A' && Ch <= u'Z') || (Ch >= u'0' && Ch <= u'9'))) Ch = u'_';
}

void TWinControl::CreateWnd() {
  TRect ClientBefore = ClientRect();
  TCreateParams P;
  CreateParams(P);
  if (!P.WndParent && (P.Style & WS_CHILD))
    throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
  RegisterControlClass(P);
  FControlState |= csCreating;
  {
    TFinally Done([&] { FControlState &= ~csCreating; });
    CreateWindowHandle(P);
  }
  if (!FHandle) throw EOutOfResources(u"Error creating window");
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  UpdateBounds();
  if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
    Integer CW = FPendingClientWidth, CH = FPendingClientHeight;
    FPendingClientWidth = FPendingClientHeight = -1;
    RECT R{};
    GetClientRect(FHandle, &R);
    SetClientSize(CW >= 0 ? CW : R.right, CH >= 0 ? CH : R.bottom);
  }
  // The real frame changed the client area the children were aligned in.
  if (ClientRect() != ClientBefore && ControlCount() > 0) Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& P) {
  // Every child window gets its own id from the start: the native controls
  // measure their items while being created and filling up.
  HMENU Id = nullptr;
  if ((P.Style & WS_CHILD) && P.WndParent) Id = reinterpret_cast<HMENU>(NewChildId(P.WndParent));
  CreationControl = this;
  HWND Wnd = CreateWindowExW(P.ExStyle, W(P.WinClassName), W(P.Caption), P.Style, P.X, P.Y, P.Width, P.Height,
                             P.WndParent, Id, GetModuleHandleW(nullptr), P.Param);
  CreationControl = nullptr;
  if (Wnd) FHandle = Wnd;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  for (TWinControl* C : std::vector<TWinControl*>(FWinControls))
    if (C->FVisible) C->CreateHandle();
  UpdateShowing();
}

void TWinControl::DestroyWnd() {
  FText = Text();  // the window's text survives the window
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  if (!FHandle) return;
  FControlState |= csDestroyingHandle;
  HWND Wnd = FHandle;
  // An object being freed takes no more messages: its derived parts are gone.
  // The window's own class procedure still sees its last messages (a native
  // control frees its data on WM_DESTROY / WM_NCDESTROY).
  if (FComponentState.Contains(csDestroying)) {
    corepriv::UnbindWindow(Wnd);
    SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
  }
  DestroyWindow(Wnd);
  FControlState &= ~csDestroyingHandle;
  if (FHandle == Wnd) {
    corepriv::UnbindWindow(Wnd);
    FHandle = nullptr;
  }
  FShowing = false;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) C->DestroyHandle();
  if (FHandle) DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  HWND F = GetFocus();
  TWinControl* FocusCtl = nullptr;
  for (HWND H = F; H && !FocusCtl; H = GetParent(H)) FocusCtl = FindControl(H);
  if (FocusCtl && !ContainsControl(FocusCtl)) FocusCtl = nullptr;
  auto FocusAlive = FocusCtl ? FocusCtl->LivenessToken() : nullptr;
  DestroyHandle();
  if (FVisible && (!FParent || FParent->FShowing)) CreateHandle();
  if (FocusCtl && *FocusAlive && FocusCtl->HandleAllocated() && FocusCtl->CanFocus()) ::SetFocus(FocusCtl->FHandle);
}

void TWinControl::UpdateShowing() {
  bool S = FHandle && FVisible && (FParent ? FParent->FShowing : true);
  if (S == FShowing) return;
  FShowing = S;
  if (FHandle) {
    // A top-level window is shown with ShowWindow so that it receives
    // WM_SHOWWINDOW before it is mapped (SetWindowPos sends none).
    if (S && !FParent)
      ShowWindow(FHandle, SW_SHOWNA);
    else if (S)
      SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
      ShowWindow(FHandle, SW_HIDE);
  }
  for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) {
    if (S && C->FVisible && !C->FHandle)
      C->CreateHandle();
    else
      C->UpdateShowing();
  }
  Perform(CM_SHOWINGCHANGED, 0, 0);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FControlState & csAlignmentNeeded) Realign();
}

void TWinControl::MainWndProc(TMessage& M) {
  auto Alive = FAlive;
  CallbackGuard([&]() -> TObject* { return *Alive ? this : nullptr; }, [&] { FWindowProc(M); });
  CallbackGuard(nullptr, [] { FreeDeviceContexts(); });
}

void TWinControl::DefaultHandler(TMessage& M) {
  if (FHandle) {
    M.Result = CallWindowProcW(FDefWndProc, FHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  TControl::DefaultHandler(M);
}

bool TWinControl::DoControlMsg(HWND Wnd, TMessage& M) {
  TWinControl* C = FindControl(Wnd);
  if (!C || C == this) return false;
  M.Result = C->Perform(CN_BASE + M.Msg, M.WParam, M.LParam);
  return true;
}

TControl* TWinControl::Controls(Integer Index) const {
  size_t I = static_cast<size_t>(Index);
  if (Index < 0 || I >= FControls.size() + FWinControls.size()) TList::Error(SListIndexError, Index);
  return I < FControls.size() ? FControls[I] : FWinControls[I - FControls.size()];
}

void TWinControl::InsertControl(TControl* A) {
  A->FParent = this;
  auto* WC = dynamic_cast<TWinControl*>(A);
  if (WC) {
    FWinControls.push_back(WC);
    FTabList.push_back(WC);
  } else {
    FControls.push_back(A);
  }
  A->UpdateAnchorRules();
  if (A->FParentFont) A->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (A->FParentColor) A->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (WC) {
    if (WC->FHandle) {
      if (FHandle)
        ::SetParent(WC->FHandle, FHandle);
      else
        WC->DestroyHandle();
    }
    if (FShowing && WC->FVisible) {
      if (!WC->FHandle)
        WC->CreateHandle();
      else
        WC->UpdateShowing();
    }
  } else {
    A->Invalidate();
  }
  A->RequestAlign();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(A), 1);
}

void TWinControl::RemoveControl(TControl* A) {
  if (TCustomForm* F = GetParentForm(this)) F->DefocusControl(A);
  auto* WC = dynamic_cast<TWinControl*>(A);
  if (WC) {
    if (WC->ContainsControl(MouseControl())) ForgetMouseControl(MouseControl());
  } else {
    ForgetMouseControl(A);
  }
  A->Invalidate();
  FControls.erase(std::remove(FControls.begin(), FControls.end(), A), FControls.end());
  FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), A), FWinControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), A), FTabList.end());
  A->FParent = nullptr;
  if (FComponentState.Contains(csDestroying)) return;
  if (WC && WC->FHandle) WC->DestroyHandle();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(A), 0);
  DoAlign(nullptr);
}

bool TWinControl::ContainsControl(TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& P, bool AllowDisabled, bool AllowWinControls) {
  auto Hit = [&](TControl* C) {
    return C->FVisible && (AllowDisabled || C->Enabled()) && P.X >= C->FLeft && P.X < C->FLeft + C->FWidth &&
           P.Y >= C->FTop && P.Y < C->FTop + C->FHeight &&
           C->Perform(CM_HITTEST, 0, PointToLParam(P.X - C->FLeft, P.Y - C->FTop)) != 0;
  };
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hit(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hit(*It)) return *It;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& M) {
  for (Integer I = 0; I < ControlCount(); ++I) {
    Controls(I)->FWindowProc(M);
    if (M.Result != 0) return;
  }
}

// ---------------------------------------------------------------------------
// Geometry and alignment

TRect TWinControl::ClientRect() {
  if (FHandle) {
    RECT C{};
    GetClientRect(FHandle, &C);
    return TRect(C.left, C.top, C.right, C.bottom);
  }
  return TRect(0, 0, FPendingClientWidth >= 0 ? FPendingClientWidth : FWidth,
               FPendingClientHeight >= 0 ? FPendingClientHeight : FHeight);
}

void TWinControl::SetClientSize(Integer CW, Integer CH) {
  if (!FHandle) {
    FPendingClientWidth = CW;
    FPendingClientHeight = CH;
    return;
  }
  RECT C{};
  GetClientRect(FHandle, &C);
  SetBounds(FLeft, FTop, FWidth - C.right + CW, FHeight - C.bottom + CH);
}

void TWinControl::SetBoundsCore(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (FHandle) {
    // The window may refuse a size: what it took is the truth.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBounds();
    return;
  }
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  FPendingClientWidth = FPendingClientHeight = -1;
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT R{};
  GetWindowRect(FHandle, &R);
  if (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) {
    HWND P = GetParent(FHandle);
    if (P) MapWindowPoints(HWND_DESKTOP, P, reinterpret_cast<POINT*>(&R), 2);
  }
  bool Sized = (R.right - R.left) != FWidth || (R.bottom - R.top) != FHeight;
  FLeft = R.left;
  FTop = R.top;
  FWidth = R.right - R.left;
  FHeight = R.bottom - R.top;
  if (Sized) {
    DoAlign(nullptr);
    Resize();
  }
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && (FControlState & csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { DoAlign(nullptr); }

void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
  const bool IsVisible = FHandle && IsWindowVisible(FHandle);
  // ScrollWindow moves the child windows with the pixels.
  if (IsVisible) ScrollWindow(FHandle, DeltaX, DeltaY, nullptr, nullptr);
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    auto* W = dynamic_cast<TWinControl*>(C);
    if (!W || !W->FHandle) {
      C->FLeft += DeltaX;
      C->FTop += DeltaY;
    } else if (IsVisible) {
      W->UpdateBounds();
    } else {
      SetWindowPos(W->FHandle, nullptr, W->FLeft + DeltaX, W->FTop + DeltaY, W->FWidth, W->FHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      W->UpdateBounds();
    }
  }
  Realign();
}

void TWinControl::DoAlign(TControl* AControl) {
  if (FAlignLevel != 0 || FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) {
    FControlState |= csAlignmentNeeded;
    return;
  }
  FControlState &= ~csAlignmentNeeded;
  DisableAlign();
  {
    TFinally Done([&] { --FAlignLevel; });
    TRect R = ClientRect();
    AdjustClientRect(R);
    AlignControls(AControl, R);
  }
  FControlState &= ~csAlignmentNeeded;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  auto Edge = [](TControl* C, TAlign A) {
    switch (A) {
      case alTop: return C->FTop;
      case alBottom: return -(C->FTop + C->FHeight);
      case alLeft: return C->FLeft;
      case alRight: return -(C->FLeft + C->FWidth);
      default: return 0;
    }
  };
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> List;
    for (Integer I = 0; I < ControlCount(); ++I) {
      TControl* C = Controls(I);
      if (C->FAlign != A || !C->FVisible) continue;
      // Ordered by position; the control that triggered the alignment goes
      // first among equals.
      auto Pos = List.begin();
      while (Pos != List.end()) {
        Integer E1 = Edge(C, A), E2 = Edge(*Pos, A);
        if (E1 < E2 || (E1 == E2 && C == AControl)) break;
        ++Pos;
      }
      List.insert(Pos, C);
    }
    for (TControl* C : List) {
      Integer Wd = C->FWidth, Ht = C->FHeight;
      switch (A) {
        case alTop:
          C->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Ht);
          Rect.Top += C->FHeight;
          break;
        case alBottom:
          C->SetBounds(Rect.Left, Rect.Bottom - Ht, Rect.Width(), Ht);
          Rect.Bottom -= C->FHeight;
          break;
        case alLeft:
          C->SetBounds(Rect.Left, Rect.Top, Wd, Rect.Height());
          Rect.Left += C->FWidth;
          break;
        case alRight:
          C->SetBounds(Rect.Right - Wd, Rect.Top, Wd, Rect.Height());
          Rect.Right -= C->FWidth;
          break;
        case alClient:
          C->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
        default:
          break;
      }
    }
  }
  // Anchored controls keep their distances to the right and bottom edges.
  TRect CR = ClientRect();
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (C->FAlign != alNone || C->FComponentState.Contains(csLoading)) continue;
    if (!(C->FAnchors & (akRight | akBottom))) continue;
    Integer L = C->FLeft, T = C->FTop, Wd = C->FWidth, Ht = C->FHeight;
    if (C->FAnchors & akRight) {
      Integer Right = CR.Width() - C->FAnchorRight;
      if (C->FAnchors & akLeft)
        Wd = std::max(0, Right - L);
      else
        L = Right - Wd;
    }
    if (C->FAnchors & akBottom) {
      Integer Bottom = CR.Height() - C->FAnchorBottom;
      if (C->FAnchors & akTop)
        Ht = std::max(0, Bottom - T);
      else
        T = Bottom - Ht;
    }
    C->SetBounds(L, T, Wd, Ht);
  }
}

// ---------------------------------------------------------------------------
// Focus and tab order

bool TWinControl::CanFocus() {
  TCustomForm* F = GetParentForm(this);
  if (!F) return false;
  for (TControl* C = this; C; C = C->FParent)
    if (!C->FVisible || !C->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* F = GetParentForm(this)) {
    F->FocusControl(this);
  } else if (FParent) {
    FParent->SetFocus();
  } else if (FHandle) {
    ::SetFocus(FHandle);
  }
}

Integer TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<Integer>(It - L.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (!FParent) return;
  auto& L = FParent->FTabList;
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(L.size()));
  L.insert(L.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* C : FTabList) {
    List.push_back(C);
    C->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  Integer N = static_cast<Integer>(List.size());
  Integer Start = -1;
  for (Integer I = 0; I < N; ++I)
    if (List[I] == CurControl) Start = I;
  if (Start < 0) Start = GoForward ? N - 1 : 0;
  Integer I = Start;
  do {
    I = GoForward ? (I + 1) % N : (I + N - 1) % N;
    TWinControl* C = List[I];
    if (C != CurControl && (!CheckParent || C->FParent == this) && C->CanFocus() && (!CheckTabStop || C->FTabStop))
      return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* C = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) C->SetFocus();
}

// ---------------------------------------------------------------------------
// Painting

// Through CM_INVALIDATE, so a control (or a WindowProc hook) can take the
// invalidation over.
void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintHandler(TMessage& M) {
  PAINTSTRUCT PS{};
  HDC DC = reinterpret_cast<HDC>(M.WParam);
  bool Own = DC == nullptr;
  if (Own) DC = BeginPaint(FHandle, &PS);
  TFinally Done([&] { if (Own) EndPaint(FHandle, &PS); });
  // Opaque graphic children paint their own area: keep it out of ours.
  Integer Saved = SaveDC(DC);
  for (TControl* C : FControls)
    if (C->FVisible && (C->FControlStyle & csOpaque))
      ExcludeClipRect(DC, C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight);
  PaintWindow(DC);
  RestoreDC(DC, Saved);
  PaintControls(DC, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto It = FControls.begin();
  if (First) It = std::find(FControls.begin(), FControls.end(), First);
  std::vector<TControl*> List(It, FControls.end());
  for (TControl* C : List) {
    if (!C->FVisible) continue;
    RECT Clip{};
    RECT R{C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight};
    if (GetClipBox(DC, &Clip) != NULLREGION && !IntersectRect(&Clip, &Clip, &R)) continue;
    Integer Saved = SaveDC(DC);
    POINT Org{};
    GetViewportOrgEx(DC, &Org);
    SetViewportOrgEx(DC, Org.x + C->FLeft, Org.y + C->FTop, nullptr);
    IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
    TFinally Done([&] { RestoreDC(DC, Saved); });
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

// ---------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(Word& Key, TShiftState Shift) { Fire(OnKeyDown, this, Key, Shift); }

void TWinControl::KeyUp(Word& Key, TShiftState Shift) { Fire(OnKeyUp, this, Key, Shift); }

void TWinControl::KeyPress(Char& Key) { Fire(OnKeyPress, this, Key); }

// The form sees the key first when it previews keys; Key = 0 stops it.
bool TWinControl::DoKeyDown(TMessage& M) {
  auto Alive = FAlive;
  Word Key = static_cast<Word>(M.WParam);
  TShiftState Shift = KeyDataToShiftState(M.LParam);
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->KeyPreview()) {
    F->KeyDown(Key, Shift);
    if (Key == 0 || !*Alive) return true;
  }
  KeyDown(Key, Shift);
  if (!*Alive) return true;
  M.WParam = Key;
  return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& M) {
  auto Alive = FAlive;
  Word Key = static_cast<Word>(M.WParam);
  TShiftState Shift = KeyDataToShiftState(M.LParam);
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->KeyPreview()) {
    F->KeyUp(Key, Shift);
    if (Key == 0 || !*Alive) return true;
  }
  KeyUp(Key, Shift);
  if (!*Alive) return true;
  M.WParam = Key;
  return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& M) {
  auto Alive = FAlive;
  Char Key = static_cast<Char>(M.WParam);
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->KeyPreview()) {
    F->KeyPress(Key);
    if (Key == 0 || !*Alive) return true;
  }
  KeyPress(Key);
  if (!*Alive) return true;
  M.WParam = Key;
  return Key == 0;
}

void TWinControl::DoEnter() { Fire(OnEnter, this); }

void TWinControl::DoExit() { Fire(OnExit, this); }

// ---------------------------------------------------------------------------
// Message routing

bool TWinControl::IsControlMouseMsg(TMessage& M) {
  TControl* Target = nullptr;
  TControl* Cap = GetCaptureControl();
  if (Cap) {
    // A graphic child holding the capture through this window gets it all.
    if (Cap != this && Cap->FParent == this && !dynamic_cast<TWinControl*>(Cap)) Target = Cap;
  } else {
    Target = ControlAtPos(TPoint(MsgX(M.LParam), MsgY(M.LParam)), false);
  }
  // Enter and leave follow the mouse only while nothing holds the capture.
  if (M.Msg == WM_MOUSEMOVE && GetCapture() == nullptr) {
    SetMouseControl(Target ? Target : this);
    if (FHandle) {
      TRACKMOUSEEVENT T{sizeof(T), TME_LEAVE, FHandle, 0};
      TrackMouseEvent(&T);
    }
  }
  if (!Target) return false;
  TMessage Sub{M.Msg, M.WParam, PointToLParam(MsgX(M.LParam) - Target->FLeft, MsgY(M.LParam) - Target->FTop), 0};
  Target->FWindowProc(Sub);
  M.Result = Sub.Result;
  return true;
}

void TWinControl::WndProc(TMessage& M) {
  // The drag in progress takes its source's mouse (a windowed source's, before
  // the graphic children could).
  if (corepriv::DragMouseMsg(this, M)) return;
  switch (M.Msg) {
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE: {
      // Losing the capture ends the drag of a graphic child that held it
      // through this window.
      TControl* S = DragSource();
      if (S && S->FParent == this && !dynamic_cast<TWinControl*>(S) && !corepriv::DragSettingCapture() &&
          !(M.Msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(M.LParam) == FHandle))
        CancelDrag();
      break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(M)) return;
      break;
    case WM_MOUSELEAVE: {
      TControl* MC = MouseControl();
      if (MC == this || (MC && MC->FParent == this && !dynamic_cast<TWinControl*>(MC))) SetMouseControl(nullptr);
      break;
    }
  }
  TControl::WndProc(M);
}

void TWinControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    // Notifications go back to the control they came from.
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (M.LParam && DoControlMsg(reinterpret_cast<HWND>(M.LParam), M)) return;
      break;
    case WM_NOTIFY:
      if (M.LParam && DoControlMsg(reinterpret_cast<NMHDR*>(M.LParam)->hwndFrom, M)) return;
      break;
    case WM_DRAWITEM: {
      auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
      if (D && D->CtlType != ODT_MENU && DoControlMsg(D->hwndItem, M)) return;
      break;
    }
    case WM_MEASUREITEM: {
      auto* D = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
      if (D && D->CtlType != ODT_MENU && FHandle && DoControlMsg(GetDlgItem(FHandle, static_cast<int>(D->CtlID)), M))
        return;
      break;
    }
    case WM_DELETEITEM: {
      auto* D = reinterpret_cast<DELETEITEMSTRUCT*>(M.LParam);
      if (D && DoControlMsg(D->hwndItem, M)) return;
      break;
    }
    case WM_COMPAREITEM: {
      auto* D = reinterpret_cast<COMPAREITEMSTRUCT*>(M.LParam);
      if (D && DoControlMsg(D->hwndItem, M)) return;
      break;
    }
    case WM_PAINT:
      if (FControls.empty() && !dynamic_cast<TCustomControl*>(this)) break;
      if (FHandle) PaintHandler(M);
      return;
    case WM_ERASEBKGND: {
      RECT R{};
      GetClientRect(FHandle, &R);
      HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor)));
      FillRect(reinterpret_cast<HDC>(M.WParam), &R, B);
      DeleteObject(B);
      M.Result = 1;
      return;
    }
    case WM_SIZE:
    case WM_MOVE:
      DefaultHandler(M);
      if (!(FControlState & csCreating)) UpdateBounds();
      return;
    case WM_SETFOCUS: {
      auto Alive = FAlive;
      DefaultHandler(M);
      if (!*Alive) return;
      if (TCustomForm* F = GetParentForm(this))
        if (static_cast<TControl*>(F) != this) F->SetFocusedControl(this);
      return;
    }
    case WM_SETCURSOR:
      if (HCURSOR DragCur = corepriv::DragCursorHandle()) {
        ::SetCursor(DragCur);
        M.Result = 1;
        return;
      }
      if (Screen && Screen->Cursor() != crDefault) {
        ::SetCursor(Screen->Cursors(Screen->Cursor()));
        M.Result = 1;
        return;
      }
      if (reinterpret_cast<HWND>(M.WParam) == FHandle && LOWORD(M.LParam) == HTCLIENT) {
        POINT P{};
        GetCursorPos(&P);
        ::ScreenToClient(FHandle, &P);
        TControl* C = ControlAtPos(TPoint(P.x, P.y), false);
        TCursor Cur = C ? C->FCursor : FCursor;
        if (Cur != crDefault && Screen) {
          ::SetCursor(Screen->Cursors(Cur));
          M.Result = 1;
          return;
        }
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(M)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(M)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(M)) return;
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      // Shortcuts, then CM_CHILDKEY up the chain, then the dialog keys.
      auto Alive = FAlive;
      M.Result = 1;
      TCustomForm* F = GetParentForm(this);
      // The popup menus of the control and its parents, then the form.
      for (TControl* C = this; C; C = C->FParent) {
        if (!C->FPopupMenu) continue;
        TMessage Key{WM_KEYDOWN, M.WParam, M.LParam, 0};
        if (C->FPopupMenu->IsShortCut(Key)) return;
        if (!*Alive) return;
      }
      MSG Msg{FHandle, M.Msg - CN_BASE, M.WParam, M.LParam, 0, {0, 0}};
      if (F && F->IsShortCut(Msg)) return;
      if (!*Alive) return;
      if (Perform(CM_CHILDKEY, M.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
      if (!*Alive) return;
      if (M.Msg == CN_KEYDOWN) {
        LRESULT Mask = 0;
        switch (M.WParam) {
          case VK_TAB:
            Mask = DLGC_WANTTAB;
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            Mask = DLGC_WANTARROWS;
            break;
          case VK_RETURN:
          case VK_EXECUTE:
          case VK_ESCAPE:
          case VK_CANCEL:
            Mask = DLGC_WANTALLKEYS;
            break;
        }
        if (Mask != 0 && Perform(CM_WANTSPECIALKEY, M.WParam, M.LParam) == 0 && *Alive &&
            (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0 && *Alive && F &&
            F->Perform(CM_DIALOGKEY, M.WParam, M.LParam) != 0)
          return;
      }
      if (*Alive) M.Result = 0;
      return;
    }
    case CN_CHAR: {
      M.Result = 1;
      TCustomForm* F = GetParentForm(this);
      if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 && F &&
          F->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0)
        return;
      M.Result = 0;
      return;
    }
    case CN_SYSCHAR: {
      TCustomForm* F = GetParentForm(this);
      M.Result = F ? F->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) : 0;
      return;
    }
    case CM_CHILDKEY:
      if (FParent) FParent->FWindowProc(M);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
      Broadcast(M);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_VISIBLECHANGED:
      if (FVisible && !FHandle && FParent && FParent->FShowing)
        CreateHandle();
      else
        UpdateShowing();
      return;
    case CM_ENABLEDCHANGED:
      if (FHandle) EnableWindow(FHandle, FEnabled);
      Invalidate();
      return;
    case CM_FONTCHANGED: {
      if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
      TMessage P{CM_PARENTFONTCHANGED, 0, 0, 0};
      for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->FWindowProc(P);
      Invalidate();
      return;
    }
    case CM_COLORCHANGED: {
      TMessage P{CM_PARENTCOLORCHANGED, 0, 0, 0};
      for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->FWindowProc(P);
      Invalidate();
      return;
    }
    case CM_RECREATEWND:
      RecreateWnd();
      return;
    case CM_INVALIDATE:
      if (FHandle && M.WParam == 0) InvalidateRect(FHandle, nullptr, !(FControlStyle & csOpaque));
      return;
    case WM_MOUSEWHEEL: {
      if (InWheelDefault) break;
      // Offered to the form's focused control, then up its parents to the
      // form; the default runs only when nobody took it.
      TControl* First = this;
      if (TCustomForm* F = GetParentForm(this)) First = F->ActiveControl() ? F->ActiveControl() : F;
      auto Alive = FAlive;
      TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(M.WParam));
      WPARAM W = MAKEWPARAM(Shift, HIWORD(M.WParam));
      if (First->Perform(CM_MOUSEWHEEL, W, M.LParam) != 0) {
        M.Result = 0;
        return;
      }
      if (!*Alive) return;
      InWheelDefault = true;
      {
        TFinally Done([&] { InWheelDefault = false; });
        DefaultHandler(M);
      }
      return;
    }
    case WM_CONTEXTMENU: {
      // A graphic child under the point asks first.
      Integer X = MsgX(M.LParam), Y = MsgY(M.LParam);
      if (!(X == -1 && Y == -1)) {
        auto Alive = FAlive;
        if (TControl* C = ControlAtPos(ScreenToClient(TPoint(X, Y)), false)) {
          M.Result = C->Perform(WM_CONTEXTMENU, M.WParam, M.LParam);
          if (M.Result != 0 || !*Alive) return;
        }
      }
      WMContextMenu(M);
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDBLCLK: {
      // A press on the frame cancels the modes of the active control too.
      auto Alive = FAlive;
      SendCancelMode(this);
      if (*Alive) DefaultHandler(M);
      return;
    }
    case WM_GETMINMAXINFO: {
      DefaultHandler(M);
      auto* MM = reinterpret_cast<MINMAXINFO*>(M.LParam);
      if (!MM) return;
      if (FConstraints->MinWidth() > 0) MM->ptMinTrackSize.x = FConstraints->MinWidth();
      if (FConstraints->MinHeight() > 0) MM->ptMinTrackSize.y = FConstraints->MinHeight();
      if (FConstraints->MaxWidth() > 0) MM->ptMaxTrackSize.x = FConstraints->MaxWidth();
      if (FConstraints->MaxHeight() > 0) MM->ptMaxTrackSize.y = FConstraints->MaxHeight();
      return;
    }
  }
  if (IsReflectedCtlColor(M.Msg)) {
    if (M.LParam && DoControlMsg(reinterpret_cast<HWND>(M.LParam), M)) return;
  }
  TControl::Dispatch(M);
}
