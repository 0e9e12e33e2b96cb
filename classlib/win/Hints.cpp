// Hints: the hint window and the application's hint timing.
#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/win/CoreInternal.h"

namespace {

constexpr UINT_PTR kHintTimerId = 1;

// The control whose hint shows for Control: the nearest one (itself or a
// parent) with ShowHint.
TControl* HintOwner(TControl* Control) {
  while (Control && !Control->ShowHint()) Control = Control->Parent();
  return Control;
}

// The hint text for Control: its own, else the nearest parent's.
String HintOf(TControl* Control) {
  while (Control && Control->Hint().empty()) Control = Control->Parent();
  return Control ? Control->Hint() : String();
}

}  // namespace

// ---------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FVisible = false;
  FColor = clInfoBk;
  FFont->SetColor(clInfoText);
  FControlStyle &= ~(csCaptureMouse | csClickEvents | csDoubleClicks);
}

void THintWindow::CreateParams(TCreateParams& P) {
  TCustomControl::CreateParams(P);
  P.Style = WS_POPUP | WS_BORDER;
  P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  P.WndParent = nullptr;
}

void THintWindow::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_NCHITTEST:
      M.Result = HTTRANSPARENT;  // the mouse goes to what lies below
      return;
    case WM_MOUSEACTIVATE:
      M.Result = MA_NOACTIVATE;
      return;
  }
  TCustomControl::Dispatch(M);
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint) {
  RECT R{0, 0, std::max(1, MaxWidth), 0};
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  DrawTextW(DC, reinterpret_cast<const WCHAR*>(AHint.c_str()), static_cast<int>(AHint.size()), &R,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  // Room for the border and a margin.
  return TRect(0, 0, R.right + 6 + 2, R.bottom + 2 + 2);
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetText(AHint);
  SetBoundsRect(Rect);
  HandleNeeded();
  SetWindowPos(FHandle, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateWindow(FHandle);
}

void THintWindow::ReleaseHandle() {
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

bool THintWindow::HintShown() const { return FHandle && IsWindowVisible(FHandle); }

void THintWindow::Paint() {
  HDC DC = Canvas()->Handle();
  RECT R{2, 1, FWidth, FHeight};
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
  String T = Text();
  DrawTextW(DC, reinterpret_cast<const WCHAR*>(T.c_str()), static_cast<int>(T.size()), &R,
            DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(DC, Old);
}

THintWindowClass HintWindowClass = [](TComponent* AOwner) { return new THintWindow(AOwner); };

// ---------------------------------------------------------------------------
// TApplication: hints

THintWindow* TApplication::HintWindow() {
  if (!FHintWindow) FHintWindow = HintWindowClass ? HintWindowClass(nullptr) : new THintWindow(nullptr);
  return FHintWindow;
}

TControl* TApplication::HintControl() const {
  return FHintControl && FHintControlAlive && *FHintControlAlive ? FHintControl : nullptr;
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (Value) {
    HintWindow();
    return;
  }
  // Off frees the window: on again makes it in the current class.
  CancelHint();
  THintWindow* W = FHintWindow;
  FHintWindow = nullptr;
  delete W;
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  Fire(OnHint, this);
}

void TApplication::StartHintTimer(Integer Pause, bool ToShow) {
  StopHintTimer();
  FHintTimer = ToShow ? 1 : 2;
  SetTimer(Handle(), kHintTimerId, static_cast<UINT>(std::max(1, Pause)), nullptr);
}

void TApplication::StopHintTimer() {
  if (FHintTimer != 0 && FHandle) KillTimer(FHandle, kHintTimerId);
  FHintTimer = 0;
}

void TApplication::HideHint() {
  if (FHintWindow) FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  StopHintTimer();
  HideHint();
  FHintControl = nullptr;
  FHintControlAlive.reset();
}

void TApplication::HintMouseMessage(TControl* Control, const TPoint& Pos) {
  FHintPos = Pos;
  SetHint(GetLongHint(HintOf(Control)));
  TControl* Owner = HintOwner(Control);
  if (Owner == HintControl()) return;
  // Moving on from a shown hint, the next one comes quickly.
  bool WasShown = FHintWindow && FHintWindow->HintShown();
  StopHintTimer();
  HideHint();
  FHintControl = Owner;
  FHintControlAlive = Owner ? Owner->LivenessToken() : nullptr;
  if (FShowHint && Owner && !GetShortHint(HintOf(Owner)).empty() && !DragSource())
    StartHintTimer(WasShown ? FHintShortPause : FHintPause, true);
}

void TApplication::HintTimerExpired() {
  Integer Phase = FHintTimer;
  StopHintTimer();
  TControl* C = HintControl();
  if (Phase != 1 || !C) {
    HideHint();  // the hide pause is over; the hint stays away until the mouse moves on
    return;
  }
  String Text = GetShortHint(HintOf(C));
  if (Text.empty() || !FShowHint) return;
  THintInfo Info;
  Info.HintControl = C;
  Info.HintPos = TPoint(FHintPos.X, FHintPos.Y + 20);
  Info.CursorRect = C->ClientRect();
  Info.CursorPos = C->ScreenToClient(FHintPos);
  Info.HideTimeout = FHintHidePause;
  Info.HintStr = Text;
  if (OnShowHint) {
    auto Alive = C->LivenessToken();
    bool CanShow = true;
    OnShowHint(Text, CanShow, Info);
    if (!CanShow || !*Alive || Text.empty() || !FShowHint) return;
  }
  THintWindow* W = HintWindow();
  TRect Area(0, 0, Screen ? Screen->Width() : 800, Screen ? Screen->Height() : 600);
  TRect R = W->CalcHintRect(std::min<Integer>(std::max<Integer>(1, Info.HintMaxWidth), Area.Width()), Text);
  Integer X = Info.HintPos.X, Y = Info.HintPos.Y;
  if (X + R.Width() > Area.Right) X = Area.Right - R.Width();
  if (Y + R.Height() > Area.Bottom) Y = FHintPos.Y - R.Height() - 2;
  X = std::max<Integer>(X, Area.Left);
  Y = std::max<Integer>(Y, Area.Top);
  W->ActivateHint(Bounds(X, Y, R.Width(), R.Height()), Text);
  if (FHintHidePause > 0) StartHintTimer(FHintHidePause, false);
}

// Key presses, mouse presses and the wheel take a hint away.
void TApplication::IsHintMsg(MSG& Msg) {
  if (!FHintControl && FHintTimer == 0) return;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATEAPP:
      CancelHint();
      break;
  }
}
