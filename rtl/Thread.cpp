#include "rtl/Thread.h"

#include <chrono>
#include <deque>
#include <memory>
#include <stdexcept>

#include "rtl/CallbackGuard.h"

namespace {

struct TSyncEntry {
  TThread* Thread = nullptr;
  TThreadMethod Method;
  bool Synchronous = false;
  bool Done = false;
  std::exception_ptr Error;
};

struct TSyncState {
  std::mutex Lock;
  std::condition_variable Ready;  // a call was queued (for CheckSynchronize)
  std::condition_variable Done;   // a synchronous call finished
  std::deque<std::shared_ptr<TSyncEntry>> Queue;
  std::function<void()> Wake;
  std::atomic<Cardinal> MainId{0};
};

TSyncState& Sync() {
  static TSyncState state;
  return state;
}

bool OnMainThread() { return rtl_thread_seam::CurrentThreadId() == MainThreadID(); }

void Enqueue(const std::shared_ptr<TSyncEntry>& e) {
  std::function<void()> wake;
  {
    std::lock_guard<std::mutex> g(Sync().Lock);
    Sync().Queue.push_back(e);
    wake = Sync().Wake;
  }
  Sync().Ready.notify_all();
  if (wake) wake();
}

// Per-thread completion signal: Execute returned and OnTerminate ran.
struct TFinishSignal {
  std::mutex Lock;
  std::condition_variable Cond;
};

}  // namespace

Cardinal MainThreadID() {
  Cardinal id = Sync().MainId.load();
  if (id == 0) {
    Cardinal expected = 0;
    Cardinal self = rtl_thread_seam::CurrentThreadId();
    Sync().MainId.compare_exchange_strong(expected, self);
    id = Sync().MainId.load();
  }
  return id;
}

void SetMainThreadID(Cardinal Id) { Sync().MainId.store(Id); }

void SetWakeMainThread(std::function<void()> Wake) {
  std::lock_guard<std::mutex> g(Sync().Lock);
  Sync().Wake = std::move(Wake);
}

bool CheckSynchronize(Integer TimeoutMs) {
  if (!OnMainThread()) return false;
  std::deque<std::shared_ptr<TSyncEntry>> batch;
  {
    std::unique_lock<std::mutex> g(Sync().Lock);
    if (Sync().Queue.empty() && TimeoutMs > 0)
      Sync().Ready.wait_for(g, std::chrono::milliseconds(TimeoutMs), [] { return !Sync().Queue.empty(); });
    batch.swap(Sync().Queue);
  }
  if (batch.empty()) return false;
  for (const std::shared_ptr<TSyncEntry>& e : batch) {
    if (e->Synchronous) {
      std::exception_ptr error;
      try {
        e->Method();
      } catch (...) {
        error = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> g(Sync().Lock);
        e->Error = error;
        e->Done = true;
      }
      Sync().Done.notify_all();
    } else {
      // A queued call has nobody waiting for it: its exception goes to the
      // application's handler. Never to the caller: CheckSynchronize runs
      // inside WaitFor, and so inside the destructors of threads.
      CallbackGuard(nullptr, [&] { e->Method(); });
    }
  }
  return true;
}

void TThread::Synchronize(TThread* Thread, const TThreadMethod& Method) {
  if (!Method) return;
  if (OnMainThread()) {
    Method();
    return;
  }
  auto e = std::make_shared<TSyncEntry>();
  e->Thread = Thread;
  e->Method = Method;
  e->Synchronous = true;
  Enqueue(e);
  std::exception_ptr error;
  {
    std::unique_lock<std::mutex> g(Sync().Lock);
    Sync().Done.wait(g, [&] { return e->Done; });
    error = e->Error;
  }
  if (error) std::rethrow_exception(error);
}

void TThread::Queue(TThread* Thread, const TThreadMethod& Method) {
  if (!Method) return;
  if (OnMainThread()) {
    Method();
    return;
  }
  auto e = std::make_shared<TSyncEntry>();
  e->Thread = Thread;
  e->Method = Method;
  Enqueue(e);
}

void TThread::RemoveQueuedEvents(TThread* Thread) {
  std::lock_guard<std::mutex> g(Sync().Lock);
  auto& q = Sync().Queue;
  for (auto it = q.begin(); it != q.end();) {
    if ((*it)->Thread == Thread && !(*it)->Synchronous) it = q.erase(it);
    else ++it;
  }
}

void TThread::Sleep(Cardinal Milliseconds) { rtl_thread_seam::SleepMs(Milliseconds); }
Cardinal TThread::CurrentThreadID() { return rtl_thread_seam::CurrentThreadId(); }

namespace {
TFinishSignal& FinishSignal() {
  static TFinishSignal s;
  return s;
}

// The thread object whose Execute runs on this thread, if any.
thread_local TThread* RunningThread = nullptr;
}  // namespace

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
  MainThreadID();  // the creator of the first thread is the GUI thread unless set
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended) Start();
}

TThread::~TThread() {
  if (FStarted && FHandle) {
    if (RunningThread == this) {
      // Freed by its own thread (FreeOnTerminate): nothing to wait for.
      rtl_thread_seam::CloseThread(FHandle);
    } else {
      Terminate();
      WaitFor();
      rtl_thread_seam::JoinThread(FHandle);
      rtl_thread_seam::CloseThread(FHandle);
    }
    FHandle = nullptr;
  }
  RemoveQueuedEvents(this);
}

void TThread::Start() {
  if (FStarted) return;
  std::lock_guard<std::mutex> g(FStartLock);
  FStarted = true;
  FHandle = rtl_thread_seam::StartThread(&TThread::ThreadProc, this, FThreadID);
  if (!FHandle) {
    FStarted = false;
    throw std::runtime_error("Thread creation error");
  }
}

void TThread::Terminate() { FTerminated.store(true); }

void TThread::TerminateAndWait() {
  if (!FStarted || RunningThread == this) return;
  Terminate();
  WaitFor();
}

Integer TThread::WaitFor() {
  if (!FStarted) return ReturnValue;
  if (OnMainThread()) {
    while (!FFinished.load()) CheckSynchronize(10);
  } else {
    std::unique_lock<std::mutex> g(FinishSignal().Lock);
    FinishSignal().Cond.wait(g, [this] { return FFinished.load(); });
  }
  return ReturnValue;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::ThreadProc(void* Self) {
  // Nothing may unwind out of here: this frame is called by the platform.
  CallbackGuard(nullptr, [Self] { static_cast<TThread*>(Self)->Run(); });
}

void TThread::Run() {
  {
    // Start has stored the handle and id once this lock is free.
    std::lock_guard<std::mutex> g(FStartLock);
  }
  RunningThread = this;
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  bool freeSelf = FFreeOnTerminate;
  {
    std::lock_guard<std::mutex> g(FinishSignal().Lock);
    FFinished.store(true);
  }
  FinishSignal().Cond.notify_all();
  if (freeSelf) delete this;
  RunningThread = nullptr;
}
