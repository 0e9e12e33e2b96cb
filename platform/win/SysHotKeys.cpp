// Wine's hot-key registration plus the X root-window grab (platform/X11HotKeys.h).
#include "platform/win/SysHotKeys.h"

#include <atomic>
#include <mutex>

#include "platform/X11HotKeys.h"
#include "rtl/CallbackGuard.h"

namespace {

std::mutex StartLock;
HANDLE EventThread = nullptr;
std::atomic<bool> OnX11{false};

// Runs on the event thread, a Win32 thread, so it may post messages.
void ReportPress(uintptr_t Target, uint32_t Id, uint32_t Mods, uint32_t Vk) {
  ::PostMessageW(reinterpret_cast<HWND>(Target), WM_HOTKEY, static_cast<WPARAM>(Id),
                 MAKELPARAM(static_cast<WORD>(Mods), static_cast<WORD>(Vk)));
}

DWORD WINAPI EventLoop(void*) {
  CallbackGuard(nullptr, [] { X11HotKeysRun(ReportPress); });
  return 0;
}

// Opens the X connection and starts its event thread on first use.
bool StartX11() {
  std::lock_guard<std::mutex> g(StartLock);
  if (EventThread) return true;
  if (!X11HotKeysOpen()) return false;
  EventThread = ::CreateThread(nullptr, 0, EventLoop, nullptr, 0, nullptr);
  if (!EventThread) {
    X11HotKeysClose();
    return false;
  }
  OnX11 = true;
  return true;
}

}  // namespace

BOOL SysRegisterHotKey(HWND Wnd, int Id, UINT Modifiers, UINT Vk) {
  if (!::RegisterHotKey(Wnd, Id, Modifiers, Vk)) return FALSE;
  if (!StartX11()) return TRUE;
  TX11GrabResult r =
      X11HotKeysGrab(reinterpret_cast<uintptr_t>(Wnd), static_cast<uint32_t>(Id), Modifiers, Vk);
  if (r == x11grabDuplicate) {
    // A grab left by a window of the same handle that did not unregister.
    X11HotKeysUngrab(reinterpret_cast<uintptr_t>(Wnd), static_cast<uint32_t>(Id));
    r = X11HotKeysGrab(reinterpret_cast<uintptr_t>(Wnd), static_cast<uint32_t>(Id), Modifiers, Vk);
  }
  if (r == x11grabTaken) {
    ::UnregisterHotKey(Wnd, Id);
    ::SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
    return FALSE;
  }
  return TRUE;
}

BOOL SysUnregisterHotKey(HWND Wnd, int Id) {
  if (OnX11) X11HotKeysUngrab(reinterpret_cast<uintptr_t>(Wnd), static_cast<uint32_t>(Id));
  return ::UnregisterHotKey(Wnd, Id);
}

bool SysHotKeysOnX11() {
  return StartX11();
}

void SysHotKeysShutdown() {
  std::lock_guard<std::mutex> g(StartLock);
  X11HotKeysClose();  // also forgets a failed attempt, so the next use tries again
  if (!EventThread) return;
  ::WaitForSingleObject(EventThread, INFINITE);
  ::CloseHandle(EventThread);
  EventThread = nullptr;
  OnX11 = false;
}
