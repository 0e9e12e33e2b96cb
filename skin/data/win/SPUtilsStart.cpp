// The toolkit's start-up and shut-down and the desktop-composition routines.
#include "skin/data/win/SPUtils.h"

TMonitorFromWindowProc spMonitorFromWindow = nullptr;
TGetMonitorInfoAProc spGetMonitorInfoA = nullptr;
TSetLayeredWindowAttributesProc spSetLayeredWindowAttributes = nullptr;
TUpdateLayeredWindowProc spUpdateLayeredWindow = nullptr;
HMODULE spDwmLibrary = nullptr;
TDwmIsCompositionEnabledProc spDwmIsCompositionEnabled = nullptr;
TDwmSetWindowAttributeProc spDwmSetWindowAttribute = nullptr;
TDwmEnableBlurBehindWindowProc spDwmEnableBlurBehindWindow = nullptr;

namespace {
template <class F>
F Proc(HMODULE M, const char* Name) {
  return M ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(M, Name))) : nullptr;
}
}  // namespace

void InitializeSPUtils() {
  // user32 is loaded already: its handle is taken, not loaded again.
  HMODULE User32 = GetModuleHandleW(L"user32.dll");
  spMonitorFromWindow = Proc<TMonitorFromWindowProc>(User32, "MonitorFromWindow");
  spGetMonitorInfoA = Proc<TGetMonitorInfoAProc>(User32, "GetMonitorInfoA");
  spSetLayeredWindowAttributes = Proc<TSetLayeredWindowAttributesProc>(User32, "SetLayeredWindowAttributes");
  spUpdateLayeredWindow = Proc<TUpdateLayeredWindowProc>(User32, "UpdateLayeredWindow");
  spIsNTPlatform = (GetVersion() & 0x80000000u) == 0;
  LoadDwmApi();
}

void FinalizeSPUtils() {
  if (spDwmLibrary) FreeLibrary(spDwmLibrary);
  spDwmLibrary = nullptr;
  spDwmIsCompositionEnabled = nullptr;
  spDwmSetWindowAttribute = nullptr;
  spDwmEnableBlurBehindWindow = nullptr;
  spMonitorFromWindow = nullptr;
  spGetMonitorInfoA = nullptr;
}

void LoadDwmApi() {
  if (spDwmLibrary) return;
  spDwmLibrary = LoadLibraryW(L"dwmapi.dll");
  spDwmIsCompositionEnabled = Proc<TDwmIsCompositionEnabledProc>(spDwmLibrary, "DwmIsCompositionEnabled");
  spDwmSetWindowAttribute = Proc<TDwmSetWindowAttributeProc>(spDwmLibrary, "DwmSetWindowAttribute");
  spDwmEnableBlurBehindWindow = Proc<TDwmEnableBlurBehindWindowProc>(spDwmLibrary, "DwmEnableBlurBehindWindow");
}

bool IsDwmCompositionOn() {
  if (!spDwmLibrary || !spDwmIsCompositionEnabled) return false;
  BOOL On = FALSE;
  spDwmIsCompositionEnabled(&On);
  return On != FALSE;
}

void SetDwmTransitions(HWND Wnd, bool Enabled) {
  if (!spDwmLibrary || !spDwmSetWindowAttribute) return;
  const Integer Value = Enabled ? 0 : -1;
  constexpr DWORD DwmwaTransitionsForceDisabled = 3;
  spDwmSetWindowAttribute(Wnd, DwmwaTransitionsForceDisabled, &Value, 4);
}

void EnableDwmBlurBehind(HWND Wnd, bool Enable, HRGN Rgn) {
  if (!spDwmLibrary || !spDwmEnableBlurBehindWindow) return;
  TspDwmBlurBehind B{};
  B.dwFlags = Rgn ? 3 : 1;
  B.fEnable = Enable ? -1 : 0;
  B.hRgnBlur = Rgn;
  B.fTransitionOnMaximized = 0;
  spDwmEnableBlurBehindWindow(Wnd, &B);
}
