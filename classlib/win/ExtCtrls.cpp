#include "classlib/ExtCtrls.h"

#include "classlib/Forms.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true)) {
  FWindowHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
}

TTimer::~TTimer() {
  *FAlive = false;
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);  // safe inside our own OnTimer
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer)
    if (SetTimer(FWindowHandle, 1, FInterval, nullptr) == 0) throw EOutOfResources(u"Not enough timers available");
}

void TTimer::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = std::move(Value);
  UpdateTimer();
}

void TTimer::Timer() {
  if (FOnTimer) {
    TNotifyEvent H = FOnTimer;  // the handler may replace itself or free the timer
    H(this);
  }
}

void TTimer::WndProc(TMessage& M) {
  if (M.Msg != WM_TIMER) {
    M.Result = DefWindowProcW(FWindowHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  auto Alive = FAlive;
  try {
    Timer();
  } catch (...) {
    if (Application) Application->HandleException(*Alive ? this : nullptr);
  }
  // Nothing of this object is touched here: the handler may have freed it.
}
