// Thread seam of the Winelib build: Win32 threads.
#include <windows.h>

#include "rtl/Thread.h"

namespace {
struct TStartBlock {
  void (*Proc)(void*);
  void* Arg;
};

DWORD WINAPI Trampoline(LPVOID p) {
  TStartBlock b = *static_cast<TStartBlock*>(p);
  delete static_cast<TStartBlock*>(p);
  b.Proc(b.Arg);  // never throws: the caller catches everything
  return 0;
}
}  // namespace

namespace rtl_thread_seam {
void* StartThread(void (*Proc)(void*), void* Arg, Cardinal& ThreadId) {
  auto* b = new TStartBlock{Proc, Arg};
  DWORD id = 0;
  HANDLE h = CreateThread(nullptr, 0, &Trampoline, b, 0, &id);
  if (!h) {
    delete b;
    return nullptr;
  }
  ThreadId = id;
  return h;
}
void JoinThread(void* Handle) { WaitForSingleObject(static_cast<HANDLE>(Handle), INFINITE); }
void CloseThread(void* Handle) { CloseHandle(static_cast<HANDLE>(Handle)); }
Cardinal CurrentThreadId() { return GetCurrentThreadId(); }
void SleepMs(Cardinal Ms) { ::Sleep(Ms); }
}  // namespace rtl_thread_seam
