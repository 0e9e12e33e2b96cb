#include "common/gtest.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "rtl/ScopeGuard.h"

namespace {

// Counts the update calls it receives, in order; EndUpdate may be set to raise.
struct TUpdatable {
  std::vector<std::string> Calls;
  bool EndUpdateRaises = false;
  void BeginUpdate() { Calls.push_back("BeginUpdate"); }
  void EndUpdate() {
    Calls.push_back("EndUpdate");
    if (EndUpdateRaises) throw std::runtime_error("from EndUpdate");
  }
  void Changed() { Calls.push_back("Changed"); }
};

std::string MessageOf(const std::function<void()>& Body) {
  try {
    Body();
  } catch (const std::exception& E) {
    return E.what();
  }
  return "";
}

}  // namespace

TEST(ScopeGuard, FinallyRunsOnEveryPathAndNotAfterDismiss) {
  int runs = 0;
  {
    TFinally f([&] { ++runs; });
  }
  EXPECT_EQ(1, runs);
  EXPECT_EQ("work", MessageOf([&] {
              TFinally f([&] { ++runs; });
              throw std::runtime_error("work");
            }));
  EXPECT_EQ(2, runs);
  {
    TFinally f([&] { ++runs; });
    f.Dismiss();
  }
  EXPECT_EQ(2, runs);
}

// While an exception unwinds the scope, one raised by the cleanup is dropped:
// the caller sees why the work failed. On the normal path it is the caller's.
TEST(ScopeGuard, TheExceptionInFlightWinsOverTheCleanups) {
  EXPECT_EQ("work", MessageOf([] {
              TFinally f([] { throw std::runtime_error("cleanup"); });
              throw std::runtime_error("work");
            }));
  EXPECT_EQ("cleanup", MessageOf([] { TFinally f([] { throw std::runtime_error("cleanup"); }); }));

  TUpdatable T;
  T.EndUpdateRaises = true;
  EXPECT_EQ("work", MessageOf([&] {
              TUpdateLock lock(T, ReportChange);
              throw std::runtime_error("work");
            }));
  EXPECT_EQ("from EndUpdate", MessageOf([&] { TUpdateLock lock(T); }));
}

TEST(ScopeGuard, UpdateLockPairsTheCallsOnEveryPath) {
  struct TCase {
    const char* Name;
    bool ReportChange;
    bool Raise;
    std::vector<std::string> Calls;
  };
  const TCase Cases[] = {
      {"plain", false, false, {"BeginUpdate", "EndUpdate"}},
      {"plain, raising", false, true, {"BeginUpdate", "EndUpdate"}},
      {"reporting", true, false, {"BeginUpdate", "EndUpdate", "Changed"}},
      {"reporting, raising", true, true, {"BeginUpdate", "EndUpdate", "Changed"}},
  };
  for (const TCase& C : Cases) {
    TUpdatable T;
    MessageOf([&] {
      if (C.ReportChange) {
        TUpdateLock lock(T, ReportChange);
        if (C.Raise) throw std::runtime_error("work");
      } else {
        TUpdateLock lock(T);
        if (C.Raise) throw std::runtime_error("work");
      }
    });
    EXPECT_EQ(C.Calls, T.Calls) << C.Name;
  }
}
