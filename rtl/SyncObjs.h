// Synchronisation objects with the class library's interface: a recursive
// critical section, an event (manual or automatic reset) and interlocked
// helpers on Integer. Portable implementations over the C++ standard library
// (they work for threads made by Win32 in the Winelib build too, since those
// are ordinary system threads).
//
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

// Reentrant for the thread that holds it, like a Win32 critical section.
class TCriticalSection : public TObject {
 public:
  void Acquire() { FMutex.lock(); }
  void Release() { FMutex.unlock(); }
  void Enter() { FMutex.lock(); }
  void Leave() { FMutex.unlock(); }
  bool TryEnter() { return FMutex.try_lock(); }

 private:
  std::recursive_mutex FMutex;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

// The timeout meaning "wait for ever" (Win32's INFINITE).
inline constexpr Cardinal WaitForever = 0xFFFFFFFFu;

// An event. Manual reset: once set it stays set and releases every waiter
// until ResetEvent. Automatic reset: SetEvent releases one waiter (or the
// next one to wait) and the event falls back to not set.
class TEvent : public TObject {
 public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false)
      : FManualReset(ManualReset), FSignaled(InitialState) {}

  void SetEvent();
  void ResetEvent();
  // Waits up to Timeout milliseconds (WaitForever: no limit; 0: just tests).
  // wrSignaled or wrTimeout; wrAbandoned and wrError are never produced here
  // (no handle can be abandoned or closed under a waiter).
  TWaitResult WaitFor(Cardinal Timeout = WaitForever);

 private:
  std::mutex FMutex;
  std::condition_variable FCond;
  bool FManualReset;
  bool FSignaled;
};

// The simple event of the class library: manual reset, initially not set.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(true, false) {}
};

// Atomic operations on an Integer variable (wrapping on overflow).
// Increment/Decrement return the new value; Exchange the old one;
// CompareExchange stores Exchange when Target equals Comparand and returns
// the value Target had.
inline Integer InterlockedIncrement(Integer& Target) {
  return static_cast<Integer>(static_cast<Cardinal>(std::atomic_ref<Integer>(Target).fetch_add(1)) + 1u);
}
inline Integer InterlockedDecrement(Integer& Target) {
  return static_cast<Integer>(static_cast<Cardinal>(std::atomic_ref<Integer>(Target).fetch_sub(1)) - 1u);
}
inline Integer InterlockedExchange(Integer& Target, Integer Value) {
  return std::atomic_ref<Integer>(Target).exchange(Value);
}
inline Integer InterlockedExchangeAdd(Integer& Target, Integer Value) {
  return std::atomic_ref<Integer>(Target).fetch_add(Value);
}
inline Integer InterlockedCompareExchange(Integer& Target, Integer Exchange, Integer Comparand) {
  std::atomic_ref<Integer>(Target).compare_exchange_strong(Comparand, Exchange);
  return Comparand;
}

#if defined(_WIN32) && !defined(InterlockedIncrement)
// <windows.h> turns the names above into macros for its intrinsics
// (_InterlockedIncrement ...). When it is included after this header, calls
// on an Integer variable then reach these forwarders.
inline Integer _InterlockedIncrement(Integer& Target) { return InterlockedIncrement(Target); }
inline Integer _InterlockedDecrement(Integer& Target) { return InterlockedDecrement(Target); }
inline Integer _InterlockedExchange(Integer& Target, Integer Value) { return InterlockedExchange(Target, Value); }
inline Integer _InterlockedExchangeAdd(Integer& Target, Integer Value) { return InterlockedExchangeAdd(Target, Value); }
inline Integer _InterlockedCompareExchange(Integer& Target, Integer Exchange, Integer Comparand) {
  return InterlockedCompareExchange(Target, Exchange, Comparand);
}
#endif
