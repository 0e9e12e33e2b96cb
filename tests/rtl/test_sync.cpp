#include "common/gtest.h"

#include "rtl/SyncObjs.h"

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

TEST(SyncCriticalSection, IsReentrantAndExcludesOtherThreads) {
  TCriticalSection cs;
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());  // the owner may enter again
  bool otherGot = true;
  std::thread t([&] { otherGot = cs.TryEnter(); });
  t.join();
  EXPECT_FALSE(otherGot);
  cs.Leave();
  cs.Release();
  std::thread t2([&] {
    otherGot = cs.TryEnter();
    if (otherGot) cs.Leave();
  });
  t2.join();
  EXPECT_TRUE(otherGot);

  // Counting under the lock from several threads loses nothing.
  int counter = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 10000; ++k) {
        cs.Acquire();
        ++counter;
        cs.Release();
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(counter, 40000);
}

TEST(SyncEvent, TimeoutsAndManualReset) {
  TEvent e(true, false);
  auto start = Clock::now();
  EXPECT_EQ(e.WaitFor(30), wrTimeout);
  EXPECT_GE(ElapsedMs(start), 25);
  EXPECT_EQ(e.WaitFor(0), wrTimeout);
  e.SetEvent();
  EXPECT_EQ(e.WaitFor(0), wrSignaled);
  EXPECT_EQ(e.WaitFor(0), wrSignaled);  // stays set
  e.ResetEvent();
  EXPECT_EQ(e.WaitFor(0), wrTimeout);

  TEvent initially(true, true);
  EXPECT_EQ(initially.WaitFor(0), wrSignaled);
  TSimpleEvent simple;
  EXPECT_EQ(simple.WaitFor(0), wrTimeout);
}

TEST(SyncEvent, AutoResetReleasesOneWaiter) {
  TEvent e(false, true);
  EXPECT_EQ(e.WaitFor(0), wrSignaled);
  EXPECT_EQ(e.WaitFor(0), wrTimeout);  // fell back by itself

  // One SetEvent per waiter: each of two waiters gets exactly one.
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i)
    waiters.emplace_back([&] {
      if (e.WaitFor(5000) == wrSignaled) ++released;
    });
  e.SetEvent();
  auto start = Clock::now();
  while (released.load() < 1 && ElapsedMs(start) < 5000) std::this_thread::yield();
  EXPECT_EQ(released.load(), 1);
  // The released waiter took the signal: the event has fallen back, so the
  // other waiter cannot follow (a signal left set would be seen here).
  EXPECT_EQ(e.WaitFor(0), wrTimeout);
  EXPECT_EQ(released.load(), 1);
  e.SetEvent();
  for (auto& w : waiters) w.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_EQ(e.WaitFor(0), wrTimeout);  // the second signal went to the second waiter
}

TEST(SyncEvent, WaiterWakesWhenSetFromAnotherThread) {
  TEvent e;
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    e.SetEvent();
  });
  auto start = Clock::now();
  EXPECT_EQ(e.WaitFor(WaitForever), wrSignaled);
  EXPECT_LT(ElapsedMs(start), 5000);
  setter.join();
}

TEST(SyncInterlocked, ReturnValuesAndWrapAround) {
  Integer v = 5;
  EXPECT_EQ(InterlockedIncrement(v), 6);
  EXPECT_EQ(InterlockedDecrement(v), 5);
  EXPECT_EQ(InterlockedExchange(v, 9), 5);
  EXPECT_EQ(v, 9);
  EXPECT_EQ(InterlockedExchangeAdd(v, 3), 9);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(InterlockedCompareExchange(v, 1, 7), 12);  // no match: unchanged
  EXPECT_EQ(v, 12);
  EXPECT_EQ(InterlockedCompareExchange(v, 1, 12), 12);
  EXPECT_EQ(v, 1);
  v = INT_MAX;
  EXPECT_EQ(InterlockedIncrement(v), INT_MIN);  // wraps, no UB

  Integer counter = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 10000; ++k) InterlockedIncrement(counter);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 40000);
}

}  // namespace
