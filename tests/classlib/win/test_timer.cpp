// TTimer under Wine: arming rules, freeing itself in its own tick, ticks
// inside modal loops, exceptions from OnTimer.
#include "tests/classlib/win/test_controls_util.h"

using namespace ctltest;

class CtlTimer : public AppFixture {};

TEST_F(CtlTimer, ArmsOnlyWithIntervalEnabledAndHandler) {
  int Ticks = 0;
  auto* T = new TTimer(nullptr);
  T->SetInterval(0);
  T->SetOnTimer([&](TObject*) { ++Ticks; });
  ASSERT_TRUE(PumpTimerPeriods(10));
  EXPECT_EQ(Ticks, 0);  // interval 0 never fires
  T->SetEnabled(false);
  T->SetInterval(10);
  ASSERT_TRUE(PumpTimerPeriods(10));
  EXPECT_EQ(Ticks, 0);
  T->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return Ticks >= 2; }));
  T->SetOnTimer(nullptr);
  Pump();
  int Seen = Ticks;
  ASSERT_TRUE(PumpTimerPeriods(10));
  EXPECT_EQ(Ticks, Seen);
  delete T;
}

// A timer freed inside its own OnTimer: one tick, nothing touched afterwards,
// the loop goes on; one that re-arms itself keeps ticking at the new pace.
TEST_F(CtlTimer, FreedOrReArmedInItsOwnTick) {
  int Ticks = 0;
  auto* T = new TTimer(nullptr);
  T->SetInterval(10);
  T->SetOnTimer([&](TObject* Sender) {
    ++Ticks;
    delete static_cast<TTimer*>(Sender);
  });
  EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
  ASSERT_TRUE(PumpTimerPeriods(10));
  EXPECT_EQ(Ticks, 1);
  int Rearms = 0;
  auto* R = new TTimer(nullptr);
  R->SetInterval(10);
  R->SetOnTimer([&](TObject*) {
    ++Rearms;
    R->SetInterval(15);
    R->SetOnTimer([&](TObject*) { ++Rearms; });
  });
  EXPECT_TRUE(PumpUntil([&] { return Rearms >= 3; }));
  delete R;
  // An owner frees its timers.
  auto* Owner = new TComponent(nullptr);
  auto* Owned = new TTimer(Owner);
  Owned->SetInterval(10);
  Owned->SetOnTimer([&](TObject*) { ADD_FAILURE() << "tick after the owner was freed"; });
  delete Owner;
  ASSERT_TRUE(PumpTimerPeriods(10));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(CtlTimer, ExceptionInOnTimerIsShownAndTicksGoOn) {
  int Ticks = 0;
  auto* T = new TTimer(nullptr);
  T->SetInterval(10);
  T->SetOnTimer([&](TObject*) {
    if (++Ticks == 1) throw Exception(u"tick failed");
  });
  EXPECT_TRUE(PumpUntil([&] { return Ticks >= 3; }));
  EXPECT_EQ(Errors, std::vector<String>{u"tick failed"});
  delete T;
}
