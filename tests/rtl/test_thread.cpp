#include "common/gtest.h"

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "rtl/CallbackGuard.h"
#include "rtl/Thread.h"

namespace {

// A worker that hands values to the GUI thread the three ways a worker can.
class TRecorder : public TThread {
 public:
  explicit TRecorder(bool suspended) : TThread(suspended) {}
  ~TRecorder() override { TerminateAndWait(); }
  std::vector<Cardinal> SyncThreads;  // written on the GUI thread only
  std::vector<int> Order;
  Cardinal WorkerId = 0;
  std::atomic<bool> SyncErrorSeen{false};

 protected:
  void Execute() override {
    WorkerId = CurrentThreadID();
    Synchronize([this] { SyncThreads.push_back(CurrentThreadID()); Order.push_back(1); });
    Queue([this] { SyncThreads.push_back(CurrentThreadID()); Order.push_back(2); });
    try {
      Synchronize([] { throw std::runtime_error("raised on the GUI thread"); });
    } catch (const std::runtime_error&) {
      SyncErrorSeen = true;
    }
    Synchronize([this] { Order.push_back(3); });
    ReturnValue = 42;
  }
};

class TFailing : public TThread {
 public:
  TFailing() : TThread(false) { AfterConstruction(); }
 protected:
  void Execute() override { throw std::logic_error("worker failed"); }
};

class TSelfFreeing : public TThread {
 public:
  explicit TSelfFreeing(std::atomic<bool>* freed) : TThread(true), FFreed(freed) { SetFreeOnTerminate(true); }
  ~TSelfFreeing() override { FFreed->store(true); }
 protected:
  void Execute() override {}
 private:
  std::atomic<bool>* FFreed;
};

class TPolling : public TThread {
 public:
  explicit TPolling(std::atomic<bool>* exited) : TThread(false), FExited(exited) {}
  ~TPolling() override { TerminateAndWait(); }
  std::atomic<int> Loops{0};
 protected:
  void Execute() override {
    while (!Terminated()) {
      ++Loops;
      Sleep(1);
    }
    FExited->store(true);
  }
 private:
  std::atomic<bool>* FExited;
};

// Queues a call that raises, then waits (Synchronize) until the GUI thread
// has run the queue: the call runs inside whatever the GUI thread is doing,
// here the WaitFor of the destructor.
class TQueuesAFailure : public TThread {
 public:
  TQueuesAFailure() : TThread(false) {}
  ~TQueuesAFailure() override { TerminateAndWait(); }

 protected:
  void Execute() override {
    Queue([] { throw std::runtime_error("queued call failed"); });
    Synchronize([] {});
  }
};

// The messages of the exceptions the application's handler received.
struct THandlerRecorder {
  std::vector<std::string> Messages;
  THandlerRecorder() {
    SetApplicationHandleException([this](TObject*) {
      try {
        throw;
      } catch (const std::exception& E) {
        Messages.push_back(E.what());
      }
    });
  }
  ~THandlerRecorder() { SetApplicationHandleException(nullptr); }
};

}  // namespace

TEST(Thread, WorkCrossesToTheGuiThread) {
  Cardinal gui = TThread::CurrentThreadID();
  SetMainThreadID(gui);
  TRecorder t(true);
  Cardinal terminateThread = 0;
  t.OnTerminate = [&](TObject* sender) {
    EXPECT_EQ(&t, sender);
    terminateThread = TThread::CurrentThreadID();
  };
  t.Start();
  EXPECT_EQ(42, t.WaitFor());
  EXPECT_TRUE(t.Finished());
  EXPECT_NE(gui, t.WorkerId);
  ASSERT_EQ(2u, t.SyncThreads.size());
  EXPECT_EQ(gui, t.SyncThreads[0]);
  EXPECT_EQ(gui, t.SyncThreads[1]);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), t.Order);  // the queued call ran before the next synchronized one
  EXPECT_TRUE(t.SyncErrorSeen);                      // an exception in a synchronized call reaches the worker
  EXPECT_EQ(gui, terminateThread);                   // OnTerminate runs on the GUI thread
  EXPECT_FALSE(t.FatalException());
}

TEST(Thread, SuspendedThreadRunsOnlyAfterStart) {
  SetMainThreadID(TThread::CurrentThreadID());
  TRecorder t(true);
  TThread::Sleep(20);
  EXPECT_FALSE(t.Started());
  EXPECT_FALSE(t.Finished());
  t.AfterConstruction();  // made suspended: construction's end does not start it
  EXPECT_FALSE(t.Started());
  t.Start();
  t.Start();  // a second start does nothing
  EXPECT_EQ(42, t.WaitFor());
}

TEST(Thread, ExceptionLeavingExecuteIsKeptNotFatal) {
  SetMainThreadID(TThread::CurrentThreadID());
  TFailing t;
  t.WaitFor();
  ASSERT_TRUE(t.FatalException());
  EXPECT_THROW(std::rethrow_exception(t.FatalException()), std::logic_error);
}

TEST(Thread, FreeOnTerminateFreesItself) {
  SetMainThreadID(TThread::CurrentThreadID());
  std::atomic<bool> freed{false};
  (new TSelfFreeing(&freed))->Start();
  for (int i = 0; i < 2000 && !freed; ++i) {
    CheckSynchronize(1);
  }
  EXPECT_TRUE(freed);
}

TEST(Thread, DestroyingARunningThreadTerminatesAndWaits) {
  SetMainThreadID(TThread::CurrentThreadID());
  std::atomic<bool> exited{false};
  auto* t = TThread::Create<TPolling>(&exited);
  while (t->Loops == 0) TThread::Sleep(1);
  EXPECT_FALSE(exited);
  delete t;  // returns only once Execute has seen Terminated and returned
  EXPECT_TRUE(exited);
}

TEST(Thread, CheckSynchronizeOffTheGuiThreadDoesNothing) {
  SetMainThreadID(TThread::CurrentThreadID());
  class TProbe : public TThread {
   public:
    TProbe() : TThread(false) { AfterConstruction(); }
    bool Result = true;
   protected:
    void Execute() override { Result = CheckSynchronize(0); }
  } t;
  t.WaitFor();
  EXPECT_FALSE(t.Result);
}

// Freeing a thread on the GUI thread runs the calls it queued; one that
// raises goes to the application's handler and the destructor returns.
TEST(Thread, QueuedCallThatRaisesDoesNotLeaveTheDestructor) {
  SetMainThreadID(TThread::CurrentThreadID());
  THandlerRecorder handler;
  delete TThread::Create<TQueuesAFailure>();
  EXPECT_EQ(std::vector<std::string>{"queued call failed"}, handler.Messages);
}

// Without an application's handler the message goes to standard error.
TEST(Thread, QueuedCallThatRaisesWithoutAHandlerIsReported) {
  SetMainThreadID(TThread::CurrentThreadID());
  ASSERT_FALSE(ApplicationHandleExceptionSet());
  testing::internal::CaptureStderr();
  delete TThread::Create<TQueuesAFailure>();
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("queued call failed"));
}

// CheckSynchronize runs every waiting call even when an earlier one raises.
TEST(Thread, CheckSynchronizeRunsTheCallsAfterOneThatRaises) {
  SetMainThreadID(TThread::CurrentThreadID());
  THandlerRecorder handler;
  class TTwoCalls : public TThread {
   public:
    TTwoCalls() : TThread(false) {}
    ~TTwoCalls() override { TerminateAndWait(); }
    std::atomic<bool> Queued{false};
    bool SecondRan = false;

   protected:
    void Execute() override {
      Queue([] { throw std::runtime_error("first"); });
      Queue([this] { SecondRan = true; });
      Queued = true;
    }
  };
  auto* t = TThread::Create<TTwoCalls>();
  while (!t->Queued) TThread::Sleep(1);
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_TRUE(t->SecondRan);
  EXPECT_EQ(std::vector<std::string>{"first"}, handler.Messages);
  delete t;
}
