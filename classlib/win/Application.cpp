// TApplication: the message loop, idle, exceptions of handlers, deferred
// deletes, minimizing. The object itself is made with Screen in Forms.cpp.
#include "classlib/Forms.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/win/CoreInternal.h"
#include "rtl/CallbackGuard.h"
#include "rtl/Thread.h"

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  // What the layers below catch at their boundaries comes here.
  SetApplicationHandleException([this](TObject* Sender) { HandleException(Sender); });
}

TApplication::~TApplication() {
  SetApplicationHandleException(nullptr);
  StopHintTimer();
  delete FHintWindow;
  if (FHandle) DeallocateHWnd(FHandle);
}

HWND TApplication::Handle() {
  if (!FHandle) FHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
  return FHandle;
}

void TApplication::WndProc(TMessage& M) {
  if (M.Msg == WM_NULL) {  // the wake-up
    CheckSynchronize();
    return;
  }
  if (M.Msg == WM_TIMER && M.WParam == 1) {
    HintTimerExpired();
    return;
  }
  M.Result = DefWindowProcW(FHandle, M.Msg, M.WParam, M.LParam);
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX ICC{sizeof(ICC), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&ICC);
  SetMainThreadID(GetCurrentThreadId());
  HWND H = Handle();
  SetWakeMainThread([H] { PostMessageW(H, WM_NULL, 0, 0); });
}

void TApplication::Run() {
  if (FMainForm && FShowMainForm) FMainForm->Show();
  do {
    HandleMessage();
  } while (!FTerminate);
}

// Key messages go first, in their CN_ form, to the control owning the focus
// window (or its nearest class-library ancestor).
bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = Msg.hwnd;
  TWinControl* C = nullptr;
  while (Wnd && !(C = FindControl(Wnd))) Wnd = GetParent(Wnd);
  return C && C->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminate = true;
    return true;
  }
  try {
    bool Handled = false;
    UINT Original = Msg.message;  // WM_NULL is the wake-up: 0 from the start is no veto
    if (!FHooks.Run(Msg, Handled)) Fire(OnMessage, Msg, Handled);
    if (Handled || (Original != 0 && Msg.message == 0)) return true;
    IsHintMsg(Msg);
    // Esc ends a drag in progress and nothing else.
    if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE && DragSource()) {
      CancelDrag();
      return true;
    }
    if (IsKeyMsg(Msg)) return true;
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::Idle() {
  bool Done = true;
  try {
    // The hint goes when the mouse is no longer over its control.
    if (TControl* HC = HintControl()) {
      POINT P{};
      GetCursorPos(&P);
      TControl* C = corepriv::FindDragTarget(TPoint(P.x, P.y), false);
      while (C && !C->ShowHint()) C = C->Parent();
      if (C != HC) CancelHint();
    } else if (FHintControl) {
      CancelHint();
    }
    Fire(OnIdle, this, Done);
    if (CheckSynchronize()) Done = false;
  } catch (...) {
    HandleException(this);
  }
  if (Done) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG Msg{};
  if (!ProcessMessage(Msg)) Idle();
  DoReleaseQueue();
}

void TApplication::ProcessMessages() {
  MSG Msg{};
  while (ProcessMessage(Msg)) {
  }
}

void TApplication::Terminate() {
  FTerminate = true;
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr P = std::current_exception();
  if (!P) return;
  try {
    try {
      std::rethrow_exception(P);
    } catch (EAbort&) {
      return;
    } catch (Exception& E) {
      if (OnException)
        Fire(OnException, Sender, E);
      else
        ShowException(E);
    } catch (std::exception& E) {
      Exception X(UTF8ToString(E.what()));
      if (OnException)
        Fire(OnException, Sender, X);
      else
        ShowException(X);
    } catch (...) {
      Exception X(u"Unknown exception");
      if (OnException)
        Fire(OnException, Sender, X);
      else
        ShowException(X);
    }
  } catch (...) {
    // A failing exception handler must not end the program either.
  }
}

void TApplication::ShowException(Exception& E) {
  String Msg = E.Message();
  if (!Msg.empty() && Msg.back() > u'.') Msg += u'.';
  MessageBoxW(nullptr, reinterpret_cast<const WCHAR*>(Msg.c_str()), reinterpret_cast<const WCHAR*>(FTitle.c_str()),
              MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void TApplication::ReleaseObject(TObject* Obj) {
  if (!Obj) return;
  if (std::find(FReleaseQueue.begin(), FReleaseQueue.end(), Obj) == FReleaseQueue.end()) FReleaseQueue.push_back(Obj);
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TApplication::CancelRelease(TObject* Obj) {
  FReleaseQueue.erase(std::remove(FReleaseQueue.begin(), FReleaseQueue.end(), Obj), FReleaseQueue.end());
}

void TApplication::DoReleaseQueue() {
  for (;;) {
    // A form whose modal loop still runs waits until that loop has ended.
    auto It = std::find_if(FReleaseQueue.begin(), FReleaseQueue.end(), [](TObject* O) {
      auto* F = dynamic_cast<TCustomForm*>(O);
      return !F || !(F->FormState() & fsModal);
    });
    if (It == FReleaseQueue.end()) return;
    TObject* Obj = *It;
    FReleaseQueue.erase(It);
    try {
      FreeObject(Obj);
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Minimize() {
  if (FMinimized) return;
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
  MainFormSized(true);
}

void TApplication::Restore() {
  if (!FMinimized) return;
  if (FMainForm && FMainForm->HandleAllocated()) {
    ShowWindow(FMainForm->Handle(), SW_RESTORE);
    SetForegroundWindow(FMainForm->Handle());
  }
  MainFormSized(false);
}

void TApplication::MainFormSized(bool Minimized) {
  if (FMinimized == Minimized) return;
  FMinimized = Minimized;
  if (Minimized) CancelHint();
  Fire(Minimized ? OnMinimize : OnRestore, this);
}

void TApplication::FormDestroyed(TCustomForm* Form) {
  if (FMainForm == Form) FMainForm = nullptr;
}
