// The application's loop under Wine: message hooks, OnMessage, idle,
// exceptions from handlers, synchronised calls from worker threads.
#include "tests/classlib/win/test_controls_util.h"

#include <atomic>
#include <string>

#include "rtl/CallbackGuard.h"
#include "rtl/Thread.h"

using namespace ctltest;

class CtlAppHooks : public AppFixture {};

// Only the newest hook runs; removal by owner works wherever the entry sits;
// a freed owner's entries go; with no hook left OnMessage runs again.
TEST_F(CtlAppHooks, NewestRunsRemovalByOwnerAndOwnerDestruction) {
  const UINT Probe = 1426;  // a number of the program's own range, posted to the app window
  std::string Log;
  auto* Main = new TComponent(nullptr);
  auto* Menu = new TComponent(nullptr);
  auto* Images = new TComponent(nullptr);
  auto Hook = [&](const char* Name) {
    return [&Log, Name, Probe](MSG& M, bool&) {
      if (M.message == Probe) Log += std::string(Name) + " ";
    };
  };
  Application->OnMessage = Hook("app");
  auto Send = [&] {
    PostMessageW(Application->Handle(), Probe, 0, 0);
    Pump();
  };
  TMessageHooks& H = Application->MessageHooks();
  H.Install(Main, Hook("main"));
  H.Install(Menu, Hook("menu"));
  H.Install(Images, Hook("images"));
  Send();
  H.Remove(Menu);  // out of order: the newest still runs
  Send();
  delete Images;   // freed without removing its hook
  Send();
  H.Remove(Main);
  Send();
  EXPECT_EQ(Log, "images images main app ");
  EXPECT_FALSE(H.Installed(Images));
  EXPECT_TRUE(H.Empty());
  delete Menu;
  delete Main;
}

// A hook that removes itself (and frees its owner) while it runs.
TEST_F(CtlAppHooks, HookRemovingItselfWhileRunning) {
  const UINT Probe = 1427;
  auto* Owner = new TComponent(nullptr);
  int Calls = 0;
  Application->MessageHooks().Install(Owner, [&](MSG& M, bool& Handled) {
    if (M.message != Probe) return;
    ++Calls;
    Application->MessageHooks().Remove(Owner);
    delete Owner;
    Handled = true;
  });
  PostMessageW(Application->Handle(), Probe, 0, 0);
  PostMessageW(Application->Handle(), Probe, 0, 0);
  Pump();
  EXPECT_EQ(Calls, 1);
  EXPECT_TRUE(Application->MessageHooks().Empty());
}

class CtlAppLoop : public AppFixture {};

// Handled, or a message id set to 0, stops a message before dispatching:
// key messages never reach the control.
TEST_F(CtlAppLoop, OnMessageStopsMessages) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F);
  std::vector<Word> Keys;
  P->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Keys.push_back(K); };
  F->Show();
  P->SetFocus();
  Application->OnMessage = [](MSG& M, bool& Handled) {
    if (M.message == WM_KEYDOWN && M.wParam == 'A') Handled = true;
    if (M.message == WM_KEYDOWN && M.wParam == 'B') M.message = 0;
  };
  for (WPARAM K : {'A', 'B', 'C'}) PostMessageW(P->Handle(), WM_KEYDOWN, K, 1);
  Pump();
  EXPECT_EQ(Keys, std::vector<Word>{'C'});
  delete F;
}

// Idle runs in HandleMessage when the queue is empty, never in
// ProcessMessages; Done = false keeps the loop from waiting.
TEST_F(CtlAppLoop, IdleOnlyInHandleMessage) {
  int Idles = 0;
  Application->OnIdle = [&](TObject*, bool& Done) {
    ++Idles;
    Done = true;
  };
  Application->ProcessMessages();
  PostMessageW(Application->Handle(), WM_NULL, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(Idles, 0);
  Application->HandleMessage();  // the queue is empty: idle, then wait for the tick
  EXPECT_EQ(Idles, 1);
  // Inside a modal loop too.
  TForm* Dlg = NewForm();
  Application->OnIdle = [&](TObject*, bool& Done) {
    ++Idles;
    Dlg->SetModalResult(mrOk);
    Done = false;
  };
  Idles = 0;
  EXPECT_EQ(Dlg->ShowModal(), mrOk);
  EXPECT_GE(Idles, 1);
  delete Dlg;
}

// An exception thrown in a click handler is shown through OnException; the
// loop goes on with the next message.
TEST_F(CtlAppLoop, ExceptionInAClickIsShownAndTheLoopGoesOn) {
  TForm* F = NewForm();
  auto* P = new TProbe(F, F, Bounds(0, 0, 40, 20));
  int Clicks = 0;
  P->OnClick = [&](TObject*) {
    if (++Clicks == 1) throw Exception(u"Click failed");
  };
  F->Show();
  for (int i = 0; i < 2; ++i) {
    PostMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    PostMessageW(P->Handle(), WM_LBUTTONUP, 0, PointToLParam(2, 2));
  }
  Pump();
  EXPECT_EQ(Clicks, 2);
  EXPECT_EQ(Errors, std::vector<String>{u"Click failed"});
  // Other exception types, and the silent EAbort.
  P->OnClick = [&](TObject*) { throw std::runtime_error("plain"); };
  PostMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
  PostMessageW(P->Handle(), WM_LBUTTONUP, 0, PointToLParam(2, 2));
  Pump();
  P->OnClick = [&](TObject*) { Abort(); };
  PostMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
  PostMessageW(P->Handle(), WM_LBUTTONUP, 0, PointToLParam(2, 2));
  Pump();
  EXPECT_EQ(Errors, (std::vector<String>{u"Click failed", u"plain"}));
  // An exception handler that throws itself ends nothing either: the loop
  // still dispatches the clicks after it, and the handler runs again.
  int Handled = 0;
  Application->OnException = [&](TObject*, Exception&) {
    ++Handled;
    throw Exception(u"again");
  };
  Clicks = 0;
  P->OnClick = [&](TObject*) {
    ++Clicks;
    throw Exception(u"x");
  };
  for (int i = 0; i < 2; ++i) {
    PostMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    PostMessageW(P->Handle(), WM_LBUTTONUP, 0, PointToLParam(2, 2));
  }
  EXPECT_TRUE(PumpUntil([&] { return Clicks == 2 && Handled == 2; })) << Clicks << " clicks, " << Handled;
  const UINT Probe = 1428;
  int Probes = 0;
  Application->OnMessage = [&](MSG& M, bool&) { Probes += M.message == Probe; };
  PostMessageW(Application->Handle(), Probe, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Probes == 1; }));
  delete F;
}

// A worker's Synchronize runs on the GUI thread from the loop, woken by the
// application's message.
TEST_F(CtlAppLoop, SynchronizeFromAWorkerRunsInTheLoop) {
  class TWorker : public TThread {
   public:
    TWorker() : TThread(true) {}
    std::atomic<Cardinal> RanOn{0};
    std::atomic<bool> Done{false};

   protected:
    void Execute() override {
      Synchronize([this] { RanOn = GetCurrentThreadId(); });
      Done = true;
    }
  };
  auto* W = new TWorker();
  W->Start();
  ASSERT_TRUE(PumpUntil([&] { return W->Done.load(); }));
  EXPECT_EQ(W->RanOn.load(), GetCurrentThreadId());
  W->WaitFor();
  delete W;
}

// What a worker's queued call raises, and what a guarded callback catches
// on another thread, reach OnException on the GUI thread. Freeing the
// worker on the GUI thread runs its queue and returns normally.
TEST_F(CtlAppLoop, ExceptionsFromOtherThreadsAreShownByTheLoop) {
  class TWorker : public TThread {
   public:
    TWorker() : TThread(false) {}
    ~TWorker() override { TerminateAndWait(); }

   protected:
    void Execute() override {
      Queue([] { throw Exception(u"queued call failed"); });
      CallbackGuard(nullptr, [] { throw Exception(u"callback failed"); });
      Synchronize([] {});
    }
  };
  delete TThread::Create<TWorker>();
  EXPECT_TRUE(PumpUntil([&] { return Errors.size() == 2; }));
  EXPECT_EQ(Errors, (std::vector<String>{u"queued call failed", u"callback failed"}));
}

class CtlScreen : public AppFixture {};

TEST_F(CtlScreen, FormsCursorsAndWorkArea) {
  Integer Before = Screen->FormCount();
  TForm* F = NewForm();
  EXPECT_EQ(Screen->FormCount(), Before + 1);
  EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), F);
  // Unset slots read as the default cursor; assigning replaces and destroys.
  HCURSOR Arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  EXPECT_EQ(Screen->Cursors(13), Arrow);
  BYTE And[32 * 4], Xor[32 * 4];
  std::fill(std::begin(And), std::end(And), 0xFF);
  std::fill(std::begin(Xor), std::end(Xor), 0x00);
  HCURSOR C1 = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, And, Xor);
  HCURSOR C2 = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, And, Xor);
  Screen->SetCursors(13, C1);
  EXPECT_EQ(Screen->Cursors(13), C1);
  Screen->SetCursors(13, C2);
  EXPECT_EQ(Screen->Cursors(13), C2);
  ICONINFO II{};
  EXPECT_FALSE(GetIconInfo(C1, &II));
  // While Screen.Cursor is set, every control shows it.
  auto* P = new TProbe(F, F);
  P->SetCursor(crIBeam);
  F->Show();
  Screen->SetCursor(13);
  EXPECT_EQ(SendMessageW(P->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(P->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), C2);
  Screen->SetCursor(crDefault);
  Screen->SetCursors(13, nullptr);
  EXPECT_EQ(Screen->Cursors(13), Arrow);
  TRect W = Screen->WorkAreaRect();
  EXPECT_GT(W.Width(), 0);
  EXPECT_LE(W.Width(), Screen->Width());
  EXPECT_GT(Screen->Fonts()->Count(), 0);
  delete F;
  EXPECT_EQ(Screen->FormCount(), Before);
}
