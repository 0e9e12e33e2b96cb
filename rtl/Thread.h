// TThread: worker threads with the class library's rules.
//
// A thread is created through the platform's own thread routine (Win32
// CreateThread in the Winelib build), never std::thread, so Win32 calls made by
// Execute are legal. Work that must run on the GUI thread crosses with
// Synchronize (blocking) or Queue (not blocking); the GUI thread runs it in
// CheckSynchronize, which the application calls from its message loop after
// WakeMainThread has nudged it. OnTerminate runs on the GUI thread.
// Portable: no Windows header.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <utility>

#include "rtl/System.h"

using TThreadMethod = std::function<void()>;
using TThreadNotifyEvent = std::function<void(TObject* Sender)>;

class TThread : public TObject {
 public:
  // CreateSuspended false starts the thread as soon as construction is over:
  // in AfterConstruction. C++ has no hook after the most-derived constructor,
  // so make such threads with Create<T>(...), or call AfterConstruction at the
  // end of the most-derived constructor. Starting from the base constructor
  // would run Execute on a half-built object.
  explicit TThread(bool CreateSuspended);

  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
  }
  // Starts the thread unless it was created suspended.
  void AfterConstruction();
  // Terminates the thread and waits for it (unless it frees itself). A class
  // whose Execute reads its own members must call TerminateAndWait in its own
  // destructor: by the time this one runs those members are gone.
  ~TThread() override;

  // Terminate, then WaitFor (when started and not finished).
  void TerminateAndWait();

  // Starts a thread made suspended; a second call does nothing.
  void Start();
  // Asks Execute to stop: sets Terminated, which Execute polls.
  void Terminate();
  // Waits until Execute has returned and OnTerminate has run; returns
  // ReturnValue. On the GUI thread it keeps running synchronized calls while
  // it waits, so a worker blocked in Synchronize cannot deadlock it. Never
  // raises (it runs in destructors).
  Integer WaitFor();

  bool Terminated() const { return FTerminated.load(); }
  bool Finished() const { return FFinished.load(); }
  bool Started() const { return FStarted; }
  Cardinal ThreadID() const { return FThreadID; }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool v) { FFreeOnTerminate = v; }
  // The exception that left Execute, if any (kept, never rethrown).
  std::exception_ptr FatalException() const { return FFatalException; }

  TThreadNotifyEvent OnTerminate;

  // Runs Method on the GUI thread and waits for it; an exception it raises is
  // raised again in the calling thread. Called on the GUI thread, it just runs.
  static void Synchronize(TThread* Thread, const TThreadMethod& Method);
  // Runs Method on the GUI thread later; does not wait. An exception it
  // raises goes to the application's handler (rtl/CallbackGuard.h).
  static void Queue(TThread* Thread, const TThreadMethod& Method);
  // Drops calls queued by Thread that have not run yet.
  static void RemoveQueuedEvents(TThread* Thread);

  static void Sleep(Cardinal Milliseconds);
  static Cardinal CurrentThreadID();

 protected:
  virtual void Execute() = 0;
  // Fires OnTerminate on the GUI thread.
  virtual void DoTerminate();

  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  void Queue(const TThreadMethod& Method) { Queue(this, Method); }

  Integer ReturnValue = 0;

 private:
  static void ThreadProc(void* Self);
  void Run();

  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  bool FStarted = false;
  bool FFreeOnTerminate = false;
  bool FCreateSuspended = true;
  void* FHandle = nullptr;
  Cardinal FThreadID = 0;
  std::exception_ptr FFatalException;
  std::mutex FStartLock;  // held while Start stores the handle and id
};

// The GUI thread's id: the thread that first used the thread machinery, or the
// one set explicitly by the application at start-up.
Cardinal MainThreadID();
void SetMainThreadID(Cardinal Id);

// Runs the synchronized and queued calls waiting for the GUI thread. Returns
// true when at least one ran. Waits up to TimeoutMs for the first one.
// Called only on the GUI thread (elsewhere it returns false). Never raises:
// a synchronized call's exception goes back to its thread, a queued call's to
// the application's handler.
bool CheckSynchronize(Integer TimeoutMs = 0);

// Called (from any thread) whenever a call has been queued for the GUI thread.
// The application object sets it to post a message that wakes its loop.
void SetWakeMainThread(std::function<void()> Wake);

// The platform seam that starts and joins native threads (Win32 under Wine,
// POSIX threads in the native build).
namespace rtl_thread_seam {
void* StartThread(void (*Proc)(void*), void* Arg, Cardinal& ThreadId);
void JoinThread(void* Handle);
void CloseThread(void* Handle);
Cardinal CurrentThreadId();
void SleepMs(Cardinal Ms);
}  // namespace rtl_thread_seam
