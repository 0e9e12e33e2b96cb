// Binds the bitmap engine's platform seams to the Win32 routines: system
// colours, the performance counter, the tick count, the processor count and
// the temporary folder.
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_System.h"
#include "bitmap/Bmp32_Types.h"

#include <windows.h>


namespace {
Cardinal WinGetSysColor(Integer Index) { return Cardinal(::GetSysColor(Index)); }
bool WinQueryCounter(Int64& Value) {
  LARGE_INTEGER v;
  BOOL ok = ::QueryPerformanceCounter(&v);
  Value = ok ? Int64(v.QuadPart) : 0;
  return ok != FALSE;
}
bool WinQueryFrequency(Int64& Value) {
  LARGE_INTEGER v;
  BOOL ok = ::QueryPerformanceFrequency(&v);
  Value = ok ? Int64(v.QuadPart) : 0;
  return ok != FALSE;
}
Cardinal WinTickCount() { return Cardinal(::GetTickCount()); }
Integer WinProcessorCount() {
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  return Integer(si.dwNumberOfProcessors);
}
String WinTempPath() {
  WCHAR buf[MAX_PATH + 1];
  DWORD n = ::GetTempPathW(MAX_PATH, buf);
  if (n == 0 || n > MAX_PATH) return String();
  return String(reinterpret_cast<const char16_t*>(buf), n);
}
}  // namespace

void BindBmp32PlatformSeams() {
  GetSysColorProc = WinGetSysColor;
  QueryPerformanceCounterProc = WinQueryCounter;
  QueryPerformanceFrequencyProc = WinQueryFrequency;
  GetTickCountProc = WinTickCount;
  GetProcessorCountProc = WinProcessorCount;
  GetTempPathProc = WinTempPath;
}
