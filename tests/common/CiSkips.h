// On the continuous-integration machine (environment CI=true) a skipped test
// fails: a skip there means a missing package or service that the build's
// own scripts should have installed, and it must not pass unnoticed. A skip
// that is right on some machines says why, and stays a skip only outside CI.
#pragma once

#include <cstdlib>
#include <cstring>

#include "common/gtest.h"

namespace lumigra_test {

inline bool RunningOnCi() {
  const char* ci = std::getenv("CI");
  return ci && std::strcmp(ci, "true") == 0;
}

// Turns a skipped result into a failure of the same test. It acts in
// OnTestEnd (failures may not be raised from OnTestPartResult), which runs
// before the result printer's when this listener is appended after it.
class TSkipFailsOnCi : public ::testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const ::testing::TestInfo& Info) override {
    const ::testing::TestResult* R = Info.result();
    if (!R || !R->Skipped()) return;
    const char* why = "";
    for (int i = 0; i < R->total_part_count(); ++i)
      if (R->GetTestPartResult(i).skipped()) {
        why = R->GetTestPartResult(i).message();
        break;
      }
    ADD_FAILURE() << "skipped under CI=true (a skip counts as a failure there): " << why;
  }
};

// Call once after InitGoogleTest.
inline void FailSkipsOnCi() {
  if (RunningOnCi()) ::testing::UnitTest::GetInstance()->listeners().Append(new TSkipFailsOnCi);
}

}  // namespace lumigra_test
