#include "common/gtest.h"

#include "common/CiSkips.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  lumigra_test::FailSkipsOnCi();
  return RUN_ALL_TESTS();
}
