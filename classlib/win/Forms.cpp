#include "classlib/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "classlib/Menus.h"
#include "classlib/win/CoreInternal.h"
#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {

const char16_t* const SCannotFocus = u"Cannot focus a disabled or invisible window";
const char16_t* const SVisibleChanged = u"Cannot make a visible window modal";

bool Contains(TControl* Outer, TControl* Inner) {
  if (!Outer || !Inner) return false;
  if (Outer == Inner) return true;
  auto* W = dynamic_cast<TWinControl*>(Outer);
  return W && W->ContainsControl(Inner);
}

struct TDisabledWindows {
  HWND Keep;
  HWND App;
  std::vector<HWND> List;
};

BOOL CALLBACK DisableTaskWindow(HWND Wnd, LPARAM Data) {
  CallbackGuard(nullptr, [&] {
    auto* D = reinterpret_cast<TDisabledWindows*>(Data);
    if (Wnd != D->Keep && Wnd != D->App && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) {
      D->List.push_back(Wnd);
      EnableWindow(Wnd, FALSE);
    }
  });
  return TRUE;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FColor = clBtnFace;
  FControlStyle |= csAcceptsControls;
  FWidth = 320;
  FHeight = 240;
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  DoDestroy();
  DestroyChildControls();
  DestroyHandle();
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->FormDestroyed(this);
}

void TCustomForm::BeforeDestruction() {
  Destroying();
  DoDestroy();
  TWinControl::BeforeDestruction();
}

void TCustomForm::DoDestroy() {
  if (FDestroyFired) return;
  FDestroyFired = true;
  try {
    Fire(OnDestroy, this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TCustomForm::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  P.ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone: P.Style |= WS_POPUP; break;
    case bsSingle: P.Style |= WS_CAPTION; break;
    case bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: P.Style |= WS_CAPTION; P.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE; break;
    case bsToolWindow: P.Style |= WS_CAPTION; P.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: P.Style |= WS_CAPTION | WS_THICKFRAME; P.ExStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons & biSystemMenu) P.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons & biMinimize) P.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons & biMaximize) P.Style |= WS_MAXIMIZEBOX;
    }
    if ((FBorderIcons & biHelp) &&
        (FBorderStyle == bsDialog || !(P.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))))
      P.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
  if (FFormStyle == fsMDIChild) {
    // A child window of the main form's document client.
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main || Main == this || Main->FFormStyle != fsMDIForm)
      throw EInvalidOperation(u"Cannot create form. No MDI forms are currently active");
    Main->HandleNeeded();
    P.Style = (P.Style & ~WS_POPUP) | WS_CHILD;
    P.ExStyle |= WS_EX_MDICHILD;
    P.ExStyle &= ~(WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    if (!FEnabled) P.Style |= WS_DISABLED;
    P.WndParent = Main->FClientHandle;
    return;
  }
  // Where the system puts new windows.
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) P.X = P.Y = CW_USEDEFAULT;
  if (FPosition == poDefault || FPosition == poDefaultSizeOnly) P.Width = P.Height = CW_USEDEFAULT;
  if (!FEnabled) P.Style |= WS_DISABLED;
  P.WndParent = nullptr;
  // Secondary forms are owned by the main form.
  TCustomForm* Main = Application ? Application->MainForm() : nullptr;
  if (Main && Main != this && Main->HandleAllocated()) P.WndParent = Main->FHandle;
}

void TCustomForm::DoCreate() { Fire(OnCreate, this); }

// ---------------------------------------------------------------------------
// Document (MDI) parent and children

namespace {

// Where the document client sits: the client area less the controls aligned
// to its edges.
TRect MDIClientPlace(TCustomForm* Form) {
  TRect C = Form->ClientRect();
  Integer L = 0, T = 0, R = C.Right, B = C.Bottom;
  for (Integer I = 0; I < Form->ControlCount(); ++I) {
    TControl* Ctl = Form->Controls(I);
    if (!Ctl->Visible()) continue;
    switch (Ctl->Align()) {
      case alLeft: L = std::max(L, Ctl->Left() + Ctl->Width()); break;
      case alTop: T = std::max(T, Ctl->Top() + Ctl->Height()); break;
      case alRight: R = std::min(R, Ctl->Left()); break;
      case alBottom: B = std::min(B, Ctl->Top()); break;
      default: break;
    }
  }
  return TRect(L, T, std::max(L, R), std::max(T, B));
}

void PlaceMDIClient(TCustomForm* Form, HWND Client) {
  if (!Client) return;
  TRect R = MDIClientPlace(Form);
  SetWindowPos(Client, HWND_BOTTOM, R.Left, R.Top, R.Width(), R.Height(), SWP_NOACTIVATE);
}

}  // namespace

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FFormStyle == fsMDIChild && !FVisible && IsWindowVisible(FHandle)) {
    // The system shows and activates every document child it makes: a form
    // not shown yet goes out of sight again, and the child active before
    // it is active again.
    if (HWND Client = GetParent(FHandle);
        Client && reinterpret_cast<HWND>(SendMessageW(Client, WM_MDIGETACTIVE, 0, 0)) == FHandle)
      SendMessageW(Client, WM_MDINEXT, reinterpret_cast<WPARAM>(FHandle), 0);
    ShowWindow(FHandle, SW_HIDE);
  }
  if (FFormStyle != fsMDIForm || FClientHandle) return;
  CLIENTCREATESTRUCT CCS{};
  CCS.hWindowMenu = nullptr;  // the skinned window menu is kept by the form engine
  CCS.idFirstChild = 0xFF00;
  TRect R = MDIClientPlace(this);
  FClientHandle = CreateWindowExW(0, reinterpret_cast<const WCHAR*>(u"MDICLIENT"), nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE, R.Left, R.Top,
                                  R.Width(), R.Height(), FHandle, nullptr, GetModuleHandleW(nullptr), &CCS);
  if (!FClientHandle) throw EOutOfResources(u"Error creating window");
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  // The client window takes what the aligned controls leave.
  if (FClientHandle) PlaceMDIClient(this, FClientHandle);
}

void TCustomForm::DestroyWindowHandle() {
  // The children's windows go with the client: free their handles first.
  if (FClientHandle) {
    for (TCustomForm* C : MDIChildList()) C->DestroyHandle();
    FClientHandle = nullptr;  // destroyed with the frame window
  }
  TWinControl::DestroyWindowHandle();
}

void TCustomForm::DefaultHandler(TMessage& M) {
  if (FHandle && FClientHandle) {
    M.Result = DefFrameProcW(FHandle, FClientHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  if (FHandle && FFormStyle == fsMDIChild) {
    M.Result = DefMDIChildProcW(FHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  TWinControl::DefaultHandler(M);
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() {
  std::vector<TCustomForm*> L;
  if (!FClientHandle) return L;
  for (HWND W = GetWindow(FClientHandle, GW_CHILD); W; W = GetWindow(W, GW_HWNDNEXT)) {
    auto* F = dynamic_cast<TCustomForm*>(FindControl(W));
    if (F && F->FFormStyle == fsMDIChild) L.push_back(F);
  }
  return L;
}

Integer TCustomForm::MDIChildCount() { return static_cast<Integer>(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(Integer Index) {
  auto L = MDIChildList();
  if (Index < 0 || Index >= static_cast<Integer>(L.size())) return nullptr;
  return L[static_cast<size_t>(Index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() {
  if (!FClientHandle) return nullptr;
  auto* W = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  // A hidden child (the last one) is not the active one.
  auto* F = W && IsWindowVisible(W) ? dynamic_cast<TCustomForm*>(FindControl(W)) : nullptr;
  return F && F->FFormStyle == fsMDIChild ? F : nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (FWindowMenu == Value) return;
  if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomForm::Next() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::Tile() {
  if (FClientHandle)
    SendMessageW(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == static_cast<TComponent*>(FMenu)) FMenu = nullptr;
  if (Operation == opRemove && AComponent == static_cast<TComponent*>(FWindowMenu)) FWindowMenu = nullptr;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  // The document styles shape the window itself: only before it exists.
  bool Mdi = Value == fsMDIChild || Value == fsMDIForm || FFormStyle == fsMDIChild || FFormStyle == fsMDIForm;
  if (Mdi && FHandle) throw EInvalidOperation(u"Cannot change the document style of a form with a window");
  FFormStyle = Value;
  if (Mdi) return;
  if (FHandle)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() {
  if (FHandle && IsWindowVisible(FHandle)) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (!FHandle || !IsWindowVisible(FHandle)) return;
  static const int Show[3] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  if (WindowState() != Value) ShowWindow(FHandle, Show[Value]);
}

void TCustomForm::ApplyPosition() {
  TRect Screen0(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  TRect Area;
  switch (FPosition) {
    case poScreenCenter:
      Area = Screen0;
      break;
    case poDesktopCenter:
      Area = Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
      if (Area.Width() <= 0 || Area.Height() <= 0) Area = Screen0;
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* Center = nullptr;
      if (FPosition == poOwnerFormCenter) Center = dynamic_cast<TCustomForm*>(Owner());
      if (!Center && Application) Center = Application->MainForm();
      Area = Center && Center != this ? Center->BoundsRect() : Screen0;
      break;
    }
    default:
      return;
  }
  Integer L = Area.Left + (Area.Width() - FWidth) / 2;
  Integer T = Area.Top + (Area.Height() - FHeight) / 2;
  if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
    // Centred on another form, but not off the top or left of the work area.
    TRect Work = Screen ? Screen->WorkAreaRect() : Screen0;
    L = std::max(L, Work.Left);
    T = std::max(T, Work.Top);
  }
  SetBounds(L, T, FWidth, FHeight);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle && FFormStyle == fsMDIChild) {
    // A document child comes to the top of its client and becomes its
    // active child.
    if (HWND Client = GetParent(FHandle)) SendMessageW(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  if (FHandle) {
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(FHandle);
    SetActiveWindow(FHandle);
  }
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || (FFormState & fsModal)) throw EInvalidOperation(SVisibleChanged);
  if (HWND Cap = GetCapture()) SendMessageW(Cap, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  auto Alive = FAlive;
  FFormState |= fsModal;
  HWND ActiveWindow = GetActiveWindow();
  TCursor SaveCursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  TDisabledWindows Disabled{nullptr, Application->Handle(), {}};
  auto Restore = [&] {
    for (HWND W : Disabled.List)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    if (Screen->Cursor() == crDefault) Screen->SetCursor(SaveCursor);
    if (ActiveWindow && IsWindow(ActiveWindow)) SetActiveWindow(ActiveWindow);
  };
  TModalResult Result = mrCancel;
  TFinally RestoreOnExit(Restore);
  TFinally Undo([&] {  // a loop that failed leaves no modal state behind
    if (*Alive) {
      FFormState &= ~fsModal;
      if (FHandle) ShowWindow(FHandle, SW_HIDE);
      FVisible = false;
    }
  });
  HandleNeeded();
  Disabled.Keep = FHandle;
  EnumThreadWindows(GetCurrentThreadId(), DisableTaskWindow, reinterpret_cast<LPARAM>(&Disabled));
  Show();
  FModalResult = mrNone;
  do {
    Application->HandleMessage();
    if (!*Alive) break;
    if (Application->Terminated()) {
      FModalResult = mrCancel;
    } else if (FModalResult != mrNone) {
      // OnCloseQuery and OnClose may refuse or change the way out.
      TCloseAction Action = caNone;
      if (CloseQuery()) {
        Action = caHide;
        DoClose(Action);
      }
      if (!*Alive) break;
      if (Action == caNone)
        FModalResult = mrNone;
      else if (Action == caFree)
        Release();
    }
  } while (FModalResult == mrNone);
  if (*Alive) {
    Result = FModalResult;
    SetVisible(false);
    FFormState &= ~fsModal;
  }
  Undo.Dismiss();
  return Result;
}

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  Fire(OnCloseQuery, this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) { Fire(OnClose, this, Action); }

void TCustomForm::Close() {
  if (FFormState & fsModal) {
    FModalResult = mrCancel;
    return;
  }
  auto Alive = FAlive;
  if (!CloseQuery() || !*Alive) return;
  TCloseAction Action = caHide;
  DoClose(Action);
  if (!*Alive || Action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (Action == caHide) {
    Hide();
  } else if (Action == caMinimize) {
    if (FHandle) ShowWindow(FHandle, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (Application) Application->ReleaseObject(this);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (static_cast<TControl*>(Control) == this || GetParentForm(Control) != this ||
                  (!FComponentState.Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (!FComponentState.Contains(csLoading) && FActive && Control) ::SetFocus(Control->Handle());
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool WasActive = FActive;
  SetActiveControl(Control);
  if (!Control) return;
  if (!WasActive || GetFocus() != Control->Handle()) SetFocus();
}

bool TCustomForm::CanFocus() { return FVisible && FEnabled; }

void TCustomForm::SetFocus() {
  if (!(FVisible && FEnabled)) throw EInvalidOperation(SCannotFocus);
  HWND Focus = FActiveControl ? FActiveControl->Handle() : Handle();
  if (!FActive) SetActiveWindow(FHandle);
  ::SetFocus(Focus);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (static_cast<TControl*>(Control) != this) FActiveControl = Control;
  if (Screen) Screen->SetActiveForm(this);
  if (Control->FControlState & csFocusing) return false;
  Integer Count = ++FFocusCount;
  auto Alive = Control->LivenessToken();
  auto FormAlive = FAlive;
  Control->FControlState |= csFocusing;
  struct TClear {
    TWinControl* C;
    std::shared_ptr<bool> A;
    ~TClear() {
      if (*A) C->FControlState &= ~csFocusing;
    }
  } Clear{Control, Alive};
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl == Control) return true;
  // Out of the old chain, up to the common ancestor...
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* Old = FFocusedControl;
    FFocusedControl = Old->FParent;
    Old->Perform(CM_EXIT, 0, 0);
    if (!*Alive || !*FormAlive || Count != FFocusCount) return false;  // the focus went elsewhere meanwhile
  }
  // ...and into the new one.
  while (FFocusedControl != Control) {
    TWinControl* Next = Control;
    while (Next->FParent != FFocusedControl) Next = Next->FParent;
    FFocusedControl = Next;
    Next->Perform(CM_ENTER, 0, 0);
    if (!*Alive || !*FormAlive || Count != FFocusCount) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TCustomForm::DefocusControl(TControl* Control) {
  if (Contains(Control, FActiveControl)) FActiveControl = nullptr;
  if (Contains(Control, FFocusedControl)) FFocusedControl = Control->Parent();
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

bool TCustomForm::IsShortCut(MSG& Msg) {
  auto Alive = FAlive;
  bool Handled = false;
  Fire(OnShortCut, Msg, Handled);
  if (Handled || !*Alive) return true;
  if (FMenu) {
    TMessage Key{WM_KEYDOWN, Msg.wParam, Msg.lParam, 0};
    return FMenu->IsShortCut(Key);
  }
  return false;
}

void TCustomForm::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE: {
      auto Alive = FAlive;
      FActive = LOWORD(M.WParam) != WA_INACTIVE;
      if (FActive) {
        if (Screen) Screen->SetActiveForm(this);
        Fire(OnActivate, this);
        if (!*Alive) return;
        // Back to the control that had the focus, not to the form.
        if (FActiveControl && FActiveControl->CanFocus() && !HIWORD(M.WParam)) {
          ::SetFocus(FActiveControl->Handle());
          return;
        }
      } else {
        if (Application) Application->CancelHint();
        Fire(OnDeactivate, this);
        if (!*Alive) return;
      }
      DefaultHandler(M);
      return;
    }
    case CM_VISIBLECHANGED: {
      auto Alive = FAlive;
      // The system leaves a hidden document child active: the next one
      // takes over first.
      if (!FVisible && FFormStyle == fsMDIChild && FHandle)
        if (HWND Client = GetParent(FHandle);
            Client && reinterpret_cast<HWND>(SendMessageW(Client, WM_MDIGETACTIVE, 0, 0)) == FHandle)
          SendMessageW(Client, WM_MDINEXT, reinterpret_cast<WPARAM>(FHandle), 0);
      if (!*Alive) return;
      Fire(FVisible ? OnShow : OnHide, this);
      if (!*Alive) return;
      if (FVisible) {
        HandleNeeded();
        ApplyPosition();
      }
      UpdateShowing();
      return;
    }
    case WM_PARENTNOTIFY:
      // A control made on a document parent comes above the client window.
      if (FClientHandle && LOWORD(M.WParam) == WM_CREATE && reinterpret_cast<HWND>(M.LParam) != FClientHandle &&
          GetParent(reinterpret_cast<HWND>(M.LParam)) == FHandle)
        SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case WM_MDIACTIVATE:
      // A document child is activated or deactivated inside its client.
      if (FFormStyle == fsMDIChild) {
        auto Alive = FAlive;
        bool Now = reinterpret_cast<HWND>(M.LParam) == FHandle;
        DefaultHandler(M);
        if (!*Alive || Now == FActive) return;
        FActive = Now;
        if (Now && Screen) Screen->SetActiveForm(this);
        Fire(Now ? OnActivate : OnDeactivate, this);
        return;
      }
      break;
    case WM_SIZE: {
      auto Alive = FAlive;
      TWinControl::Dispatch(M);
      if (*Alive && FClientHandle) PlaceMDIClient(this, FClientHandle);
      if (*Alive && Application && Application->MainForm() == this) {
        if (M.WParam == SIZE_MINIMIZED)
          Application->MainFormSized(true);
        else if (M.WParam == SIZE_RESTORED || M.WParam == SIZE_MAXIMIZED)
          Application->MainFormSized(false);
      }
      return;
    }
    case CM_DIALOGKEY:
      // Tab and arrows move the focus; other keys go to the controls.
      if (GetKeyState(VK_MENU) >= 0) {
        switch (M.WParam) {
          case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
              SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
              M.Result = 1;
              return;
            }
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent())
              FActiveControl->Parent()->SelectNext(FActiveControl, M.WParam == VK_RIGHT || M.WParam == VK_DOWN,
                                                   false);
            M.Result = 1;
            return;
        }
      }
      break;
  }
  TWinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
  for (auto& [Index, H] : FCursors) DestroyCursor(H);
  for (auto& [Index, H] : FDrawnCursors) DestroyCursor(H);
  delete FFonts;
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) FActiveForm = nullptr;
}

namespace {

// The drag cursors: an arrow with one sheet (crDrag) or three (crMultiDrag)
// below it. Monochrome masks: AND 1 = transparent; with AND 0, XOR 1 = white.
HCURSOR MakeDragCursor(bool Multi) {
  constexpr int N = 32;
  BYTE And[N * N / 8], Xor[N * N / 8];
  std::fill(std::begin(And), std::end(And), BYTE(0xFF));
  std::fill(std::begin(Xor), std::end(Xor), BYTE(0));
  auto Put = [&](int X, int Y, bool White) {
    int I = Y * (N / 8) + X / 8;
    BYTE Bit = static_cast<BYTE>(0x80 >> (X % 8));
    And[I] = static_cast<BYTE>(And[I] & ~Bit);
    if (White)
      Xor[I] = static_cast<BYTE>(Xor[I] | Bit);
    else
      Xor[I] = static_cast<BYTE>(Xor[I] & ~Bit);
  };
  for (int Y = 0; Y < 17; ++Y) {
    int W = std::min(Y, 11);
    for (int X = 0; X <= W; ++X) Put(X, Y, !(X == 0 || X == W || Y == 16));
  }
  auto Sheet = [&](int L, int T) {
    for (int Y = T; Y < T + 9; ++Y)
      for (int X = L; X < L + 12; ++X) Put(X, Y, !(X == L || X == L + 11 || Y == T || Y == T + 8));
  };
  if (Multi) {
    Sheet(14, 16);
    Sheet(12, 18);
  }
  Sheet(10, 20);
  return CreateCursor(GetModuleHandleW(nullptr), 0, 0, N, N, And, Xor);
}

}  // namespace

HCURSOR TScreen::Cursors(Integer Index) {
  auto It = FCursors.find(Index);
  if (It != FCursors.end()) return It->second;
  if (Index == crDrag || Index == crMultiDrag) {
    auto D = FDrawnCursors.find(Index);
    if (D != FDrawnCursors.end()) return D->second;
    if (HCURSOR C = MakeDragCursor(Index == crMultiDrag)) {
      FDrawnCursors[Index] = C;
      return C;
    }
  }
  ULONG_PTR Id = 32512;  // IDC_ARROW
  switch (Index) {
    case crNone: return nullptr;
    case crCross: Id = 32515; break;                    // IDC_CROSS
    case crIBeam: Id = 32513; break;                    // IDC_IBEAM
    case crSizeNESW: Id = 32643; break;                 // IDC_SIZENESW
    case crSizeNS: case crVSplit: Id = 32645; break;    // IDC_SIZENS
    case crSizeNWSE: Id = 32642; break;                 // IDC_SIZENWSE
    case crSizeWE: case crHSplit: Id = 32644; break;    // IDC_SIZEWE
    case crUpArrow: Id = 32516; break;                  // IDC_UPARROW
    case crHourGlass: case crSQLWait: Id = 32514; break;  // IDC_WAIT
    case crNoDrop: case crNo: Id = 32648; break;        // IDC_NO
    case crAppStart: Id = 32650; break;                 // IDC_APPSTARTING
    case crHelp: Id = 32651; break;                     // IDC_HELP
    case crHandPoint: Id = 32649; break;                // IDC_HAND
    case crSizeAll: Id = 32646; break;                  // IDC_SIZEALL
    default: break;
  }
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(Id));
}

void TScreen::SetCursors(Integer Index, HCURSOR Handle) {
  auto It = FCursors.find(Index);
  if (It != FCursors.end()) {
    if (It->second == Handle) return;
    DestroyCursor(It->second);
    FCursors.erase(It);
  }
  if (Handle) FCursors[Index] = Handle;
}

void TScreen::SetCursor(TCursor Value) {
  FCursor = Value;
  if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
    return;
  }
  // Back to the default: the window under the mouse chooses.
  POINT P{};
  GetCursorPos(&P);
  HWND W = WindowFromPoint(P);
  if (W && GetWindowThreadProcessId(W, nullptr) == GetCurrentThreadId()) {
    LRESULT Hit = SendMessageW(W, WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y));
    SendMessageW(W, WM_SETCURSOR, reinterpret_cast<WPARAM>(W), MAKELPARAM(Hit, WM_MOUSEMOVE));
  }
}

TRect TScreen::WorkAreaRect() const {
  RECT R{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &R, 0);
  return TRect(R.left, R.top, R.right, R.bottom);
}

Integer TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

namespace {

int CALLBACK EnumFontsProc(const LOGFONTW* LF, const TEXTMETRICW*, DWORD, LPARAM Data) {
  CallbackGuard(nullptr, [&] {
    String Name(reinterpret_cast<const char16_t*>(LF->lfFaceName));
    if (!Name.empty() && Name[0] != u'@') reinterpret_cast<TStringList*>(Data)->Add(Name);
  });
  return 1;
}

}  // namespace

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    auto* L = new TStringList();
    L->SetDuplicates(dupIgnore);
    L->SetSorted(true);
    HDC DC = GetDC(nullptr);
    LOGFONTW LF{};
    LF.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(DC, &LF, EnumFontsProc, reinterpret_cast<LPARAM>(L), 0);
    ReleaseDC(nullptr, DC);
    FFonts = L;
  }
  return FFonts;
}
