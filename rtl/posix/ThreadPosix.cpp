// Thread seam of the native build: POSIX threads, ids are kernel thread ids.
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "rtl/Thread.h"

namespace {
struct TStartBlock {
  void (*Proc)(void*);
  void* Arg;
  pthread_t Handle{};
  std::mutex Lock;
  std::condition_variable Cond;
  Cardinal Id = 0;
};

Cardinal KernelTid() { return static_cast<Cardinal>(syscall(SYS_gettid)); }

void* Trampoline(void* p) {
  auto* b = static_cast<TStartBlock*>(p);
  {
    std::lock_guard<std::mutex> g(b->Lock);
    b->Id = KernelTid();
  }
  b->Cond.notify_all();
  b->Proc(b->Arg);  // never throws: the caller catches everything
  return nullptr;
}
}  // namespace

namespace rtl_thread_seam {
void* StartThread(void (*Proc)(void*), void* Arg, Cardinal& ThreadId) {
  auto* b = new TStartBlock;
  b->Proc = Proc;
  b->Arg = Arg;
  // The new thread may run (and even free its owner) before pthread_create
  // returns, so the id is taken under the block's lock before Proc starts.
  std::unique_lock<std::mutex> g(b->Lock);
  if (pthread_create(&b->Handle, nullptr, &Trampoline, b) != 0) {
    g.unlock();
    delete b;
    return nullptr;
  }
  b->Cond.wait(g, [b] { return b->Id != 0; });
  ThreadId = b->Id;
  return b;
}
void JoinThread(void* Handle) {
  auto* b = static_cast<TStartBlock*>(Handle);
  pthread_join(b->Handle, nullptr);
}
void CloseThread(void* Handle) {
  auto* b = static_cast<TStartBlock*>(Handle);
  if (pthread_equal(pthread_self(), b->Handle)) {
    pthread_detach(b->Handle);
  }
  delete b;
}
Cardinal CurrentThreadId() { return KernelTid(); }
void SleepMs(Cardinal Ms) {
  timespec ts{static_cast<time_t>(Ms / 1000), static_cast<long>(Ms % 1000) * 1000000L};
  nanosleep(&ts, nullptr);
}
}  // namespace rtl_thread_seam
