#include "skin/controls/win/SkinTrayIcon.h"

#include <algorithm>

#include <commctrl.h>

#include "rtl/CallbackGuard.h"

namespace {

const WCHAR* const TrayWindowClass = reinterpret_cast<const WCHAR*>(u"LumigraTrayIconWindow");

// The component whose handler is Application's OnMinimize now.
TspTrayIcon* gMinimizeOwner = nullptr;

// Text into a fixed buffer of N characters (N - 1 at most, terminated).
template <size_t N>
void CopyText(WCHAR (&Dest)[N], const String& Text, size_t Max) {
  const String T = CutTo(Text, std::min(Max, N - 1));
  std::copy(T.begin(), T.end(), Dest);
  Dest[T.size()] = 0;
}

void RegisterTrayClass(WNDPROC Proc) {
  static bool Done = false;
  if (Done) return;
  WNDCLASSW C{};
  C.lpfnWndProc = Proc;
  C.hInstance = GetModuleHandleW(nullptr);
  C.lpszClassName = TrayWindowClass;
  RegisterClassW(&C);
  Done = true;
}

TShiftState AsyncShift() {
  TShiftState S = 0;
  if (GetAsyncKeyState(VK_SHIFT) < 0) S |= ssShift;
  if (GetAsyncKeyState(VK_CONTROL) < 0) S |= ssCtrl;
  if (GetAsyncKeyState(VK_MENU) < 0) S |= ssAlt;
  return S;
}

}  // namespace

std::function<BOOL(DWORD, NOTIFYICONDATAW*)> TspTrayIcon::ShellNotify = [](DWORD M, NOTIFYICONDATAW* D) {
  return Shell_NotifyIconW(M, D);
};

UINT TspTrayIcon::TaskbarCreatedMessage() {
  static const UINT Id = RegisterWindowMessageW(reinterpret_cast<const WCHAR*>(u"TaskbarCreated"));
  return Id;
}

TspTrayIcon::TspTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(new TIcon()) {
  TaskbarCreatedMessage();
  RegisterTrayClass(&TspTrayIcon::IconWndProc);
  // A top-level (hidden) window: "TaskbarCreated" is broadcast to those.
  FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, TrayWindowClass, reinterpret_cast<const WCHAR*>(u""), WS_POPUP, 0, 0, 0,
                            0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FIconData.cbSize = sizeof(NOTIFYICONDATAW);
  FIconData.hWnd = FHandle;
  FIconData.uID = 1;
  FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FIconData.uCallbackMessage = SP_TRAY_CALLBACK;

  FAnimateTimer = new TTimer(this);
  FAnimateTimer->SetEnabled(false);
  FAnimateTimer->SetOnTimer([this](TObject*) { AnimateTick(); });
  FClickTimer = new TTimer(this);
  FClickTimer->SetEnabled(false);
  FClickTimer->SetInterval(GetDoubleClickTime());
  FClickTimer->SetOnTimer([this](TObject*) { ClickTick(); });

  if (ComponentState().Contains(csDesigning)) return;
  WatchOwner();
  if (FIcon->Empty()) FIcon->SetHandle(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
  // The main form's minimise reaches the icon through the application's
  // event while nobody else uses it.
  if (!Application->OnMinimize) {
    FOwnsMinimize = true;
    gMinimizeOwner = this;
    Application->OnMinimize = [this](TObject*) {
      if (FMinimizeToTray) DoMinimizeToTray();
    };
  }
}

TspTrayIcon::~TspTrayIcon() {
  UnwatchOwner();
  if (FIconVisible) Notify(NIM_DELETE);
  if (FOwnsMinimize && gMinimizeOwner == this) {
    gMinimizeOwner = nullptr;
    Application->OnMinimize = nullptr;
  }
  if (FHandle) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
  delete FIcon;
}

void TspTrayIcon::Loaded() {
  TComponent::Loaded();
  if (!ComponentState().Contains(csDesigning)) WatchOwner();
  if (dynamic_cast<TWinControl*>(Owner()) && FMinimizedOnStart && !ComponentState().Contains(csDesigning)) {
    FIconVisible = true;
    FMinimizeToTray = true;
    Application->SetShowMainForm(false);
  }
  ModifyIcon();
  SetIconVisible(FIconVisible);
}

void TspTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) FIconList = nullptr;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// ---------------------------------------------------------------------------
// The shell

void TspTrayIcon::PrepareIconData() {
  FIconData.hIcon = FIcon->Handle();
  if (!FHint.empty() && FShowHint)
    CopyText(FIconData.szTip, FHint, 127);
  else
    FIconData.szTip[0] = 0;
}

void TspTrayIcon::Notify(DWORD Message) {
  if (ComponentState().Contains(csDesigning)) return;
  PrepareIconData();
  if (ShellNotify) ShellNotify(Message, &FIconData);
}

void TspTrayIcon::ShowIcon() {
  FIconVisible = true;
  Notify(NIM_ADD);
}

void TspTrayIcon::HideIcon() {
  FIconVisible = false;
  Notify(NIM_DELETE);
}

void TspTrayIcon::ModifyIcon() { Notify(NIM_MODIFY); }

void TspTrayIcon::SetIconVisible(bool Value) {
  if (Value)
    ShowIcon();
  else
    HideIcon();
}

void TspTrayIcon::SetHint(const String& Value) {
  FHint = Value;
  ModifyIcon();
}

void TspTrayIcon::SetShowHint(bool Value) {
  FShowHint = Value;
  ModifyIcon();
}

void TspTrayIcon::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  ModifyIcon();
}

void TspTrayIcon::SetIconList(TCustomImageList* Value) {
  if (FIconList) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (Value) Value->FreeNotification(this);
  SetIconIndex(0);
}

void TspTrayIcon::SetIconIndex(Integer Value) {
  // No list, or an empty one: nothing to show but the icon as it is.
  if (!FIconList || FIconList->Count() == 0) {
    FIconIndex = 0;
  } else {
    FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
    if (HICON H = ImageList_GetIcon(FIconList->Handle(), FIconIndex, ILD_NORMAL)) FIcon->SetHandle(H);
  }
  ModifyIcon();
}

void TspTrayIcon::SetCycleIcons(bool Value) {
  FCycleIcons = Value;
  if (Value) SetIconIndex(0);
  FAnimateTimer->SetEnabled(Value);
}

void TspTrayIcon::SetAnimateTimerInterval(Cardinal Value) {
  FAnimateTimerInterval = Value;
  FAnimateTimer->SetInterval(Value);
}

void TspTrayIcon::SetPopupMenu(TspSkinPopupMenu* Value) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TspTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TspBalloonHintIcon IconType) {
  HideBalloonHint();
  FIconData.uFlags |= NIF_INFO;
  CopyText(FIconData.szInfo, Text, 255);
  CopyText(FIconData.szInfoTitle, Title, 63);
  FIconData.dwInfoFlags = DWORD(IconType);
  ModifyIcon();
  FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

void TspTrayIcon::HideBalloonHint() {
  FIconData.uFlags |= NIF_INFO;
  FIconData.szInfo[0] = 0;
  ModifyIcon();
}

bool TspTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor) {
  TImageList L(nullptr, 16, 16);
  L.AddMasked(Bitmap, MaskColor);
  if (L.Count() > 0)
    if (HICON H = ImageList_GetIcon(L.Handle(), 0, ILD_NORMAL)) Icon->SetHandle(H);
  return true;
}

// ---------------------------------------------------------------------------
// The main form

void TspTrayIcon::HideMainForm() {
  if (!dynamic_cast<TWinControl*>(Owner()) || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
}

void TspTrayIcon::ShowMainForm() {
  if (!dynamic_cast<TWinControl*>(Owner()) || !Application->MainForm()) return;
  TCustomForm* F = Application->MainForm();
  F->SetTag(-10000);
  F->SetVisible(true);
  if (F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
  if (F->HandleAllocated()) PostMessageW(F->Handle(), SP_TRAY_RESTORED, 0, 0);
}

void TspTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

// ---------------------------------------------------------------------------
// The owner's window

void TspTrayIcon::WatchOwner() {
  auto* O = dynamic_cast<TWinControl*>(Owner());
  if (FOwnerWatched || !O || !O->HandleAllocated()) return;
  if (SetWindowSubclass(O->Handle(), &TspTrayIcon::OwnerWatch, reinterpret_cast<UINT_PTR>(this),
                        reinterpret_cast<DWORD_PTR>(this)))
    FOwnerWatched = O->Handle();
}

void TspTrayIcon::UnwatchOwner() {
  if (!FOwnerWatched) return;
  // A destroyed window has dropped its subclasses already.
  if (IsWindow(FOwnerWatched))
    RemoveWindowSubclass(FOwnerWatched, &TspTrayIcon::OwnerWatch, reinterpret_cast<UINT_PTR>(this));
  FOwnerWatched = nullptr;
}

LRESULT CALLBACK TspTrayIcon::OwnerWatch(HWND Wnd, UINT Msg, WPARAM W, LPARAM L, UINT_PTR Id, DWORD_PTR Ref) {
  (void)Id;
  auto* Self = reinterpret_cast<TspTrayIcon*>(Ref);
  CallbackGuard([&]() -> TObject* { return Self; }, [&] {
    switch (Msg) {
      case WM_ACTIVATE:
        // Back to the control that had the focus, unless the window being
        // left is that control's own parent.
        if ((LOWORD(W) == WA_ACTIVE || LOWORD(W) == WA_CLICKACTIVE) && Screen && Screen->ActiveControl()) {
          TWinControl* C = Screen->ActiveControl();
          TWinControl* Home = C->Parent() ? C->Parent() : C;
          if (Home->HandleAllocated() && HWND(L) != Home->Handle() && C->CanFocus()) C->SetFocus();
        }
        break;
      case WM_SHOWWINDOW:
        if (W == 1 && L == 0) SetForegroundWindow(Wnd);
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(Wnd, &TspTrayIcon::OwnerWatch, reinterpret_cast<UINT_PTR>(Self));
        Self->FOwnerWatched = nullptr;
        break;
    }
  });
  return DefSubclassProc(Wnd, Msg, W, L);
}

// ---------------------------------------------------------------------------
// Notifications

LRESULT CALLBACK TspTrayIcon::IconWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* Self = reinterpret_cast<TspTrayIcon*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (!Self) return DefWindowProcW(Wnd, Msg, W, L);
  LRESULT R = 0;
  CallbackGuard([&]() -> TObject* { return Self; }, [&] { R = Self->HandleMessage(Msg, W, L); });
  return R;
}

LRESULT TspTrayIcon::HandleMessage(UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == SP_TRAY_CALLBACK) {
    if (FEnabled) Callback(L);
    return 0;
  }
  if (Msg == TaskbarCreatedMessage()) {
    // The taskbar was made again: the icon is added again.
    if (FIconVisible) ShowIcon();
    return 0;
  }
  switch (Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
      return 1;
  }
  return DefWindowProcW(FHandle, Msg, W, L);
}

void TspTrayIcon::Callback(LPARAM Mouse) {
  const TShiftState Shift = AsyncShift();
  POINT P{};
  GetCursorPos(&P);
  switch (UINT(Mouse)) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, Shift, P.x, P.y);
      break;
    case WM_LBUTTONDOWN:
      FClicks.LeftDown();
      FClickTimer->SetEnabled(true);
      if (OnMouseDown) OnMouseDown(this, mbLeft, Shift | ssLeft, P.x, P.y);
      if (FPopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      FClicks.TimerRunning = FClickTimer->Enabled();
      if (FClicks.LeftUp() && OnClick) OnClick(this);
      if (OnMouseUp) OnMouseUp(this, mbLeft, Shift | ssLeft, P.x, P.y);
      break;
    case WM_LBUTTONDBLCLK:
      FClicks.DblClick();
      if (OnDblClick) OnDblClick(this);
      if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
        TMenuItem* Top = FPopupMenu->Items();
        for (Integer I = 0; Top && I < Top->Count(); ++I)
          if (Top->Items(I)->Default()) {
            Top->Items(I)->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbRight, Shift | ssRight, P.x, P.y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbRight, Shift | ssRight, P.x, P.y);
      break;
    case WM_MBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbMiddle, Shift | ssMiddle, P.x, P.y);
      break;
    case WM_MBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbMiddle, Shift | ssMiddle, P.x, P.y);
      break;
    case SP_TRAY_BALLOON_CLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      break;
  }
}

void TspTrayIcon::ClickTick() {
  FClickTimer->SetEnabled(false);
  if (FClicks.Tick() && OnClick) OnClick(this);
}

void TspTrayIcon::AnimateTick() {
  if (!FIconList || FIconList->Count() == 0) return;
  const Integer Count = FIconList->Count();
  const Integer Index = std::clamp(FIconIndex, 0, Count - 1);
  if (HICON H = ImageList_GetIcon(FIconList->Handle(), Index, ILD_NORMAL)) FIcon->SetHandle(H);
  const Integer Next = Index + 1 >= Count ? 0 : Index + 1;
  if (OnCycle) OnCycle(this, Next);
  ModifyIcon();
  FIconIndex = Next;
}

void TspTrayIcon::PopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  POINT P{};
  if (!GetCursorPos(&P)) return;
  Application->ProcessMessages();
  SetForegroundWindow(FHandle);
  auto* OwnerCtl = dynamic_cast<TWinControl*>(Owner());
  if (OwnerCtl && OwnerCtl->HandleAllocated()) SetForegroundWindow(OwnerCtl->Handle());
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(P.x, P.y);
  if (OwnerCtl && OwnerCtl->HandleAllocated()) PostMessageW(OwnerCtl->Handle(), WM_NULL, 0, 0);
}
