#include "common/gtest.h"

#include "rtl/Random.h"

#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(RandomSeeded, FixedSeedGivesTheClassLibrarySequence) {
  RandSeed = 0;
  const Integer want[] = {0, 3, 86, 20, 27, 67, 31, 16, 37, 42};
  for (Integer w : want) EXPECT_EQ(Random(100), w);

  RandSeed = 12345;
  const double wantF[] = {0.3853505323641002, 0.2893544191028923, 0.07973503787070513, 0.5536100727040321,
                          0.6336750299669802};
  for (double w : wantF) EXPECT_DOUBLE_EQ(Random(), w);
  EXPECT_EQ(RandSeed.load(), -1573353766);
}

TEST(RandomSeeded, ResultsStayInsideTheRange) {
  // This seed's next state is $FFFFFFFF, the largest the generator can reach.
  RandSeed = 1298181734;
  EXPECT_EQ(Random(100), 99);
  RandSeed = 1298181734;
  double top = Random();
  EXPECT_LT(top, 1.0);
  EXPECT_GT(top, 0.999999999);

  RandSeed = 99;
  for (Integer range : {1, 2, 7, 1000, INT_MAX}) {
    for (int i = 0; i < 5000; ++i) {
      Integer r = Random(range);
      ASSERT_GE(r, 0) << "range " << range;
      ASSERT_LT(r, range) << "range " << range;
    }
  }
  EXPECT_EQ(Random(0), 0);
  std::set<Integer> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(Random(6));
  EXPECT_EQ(seen.size(), 6u);
}

TEST(RandomSeeded, ThreadsLoseNoStep) {
  // Each draw is one atomic step: after N draws on any threads the seed is
  // the N-th state of the sequence.
  const int kThreads = 4, kDraws = 20000;
  RandSeed = 0;
  for (int i = 0; i < kThreads * kDraws; ++i) Random(10);
  const Integer expected = RandSeed.load();

  RandSeed = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < kDraws; ++i) Random(10);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(RandSeed.load(), expected);
}

TEST(RandomSecure, BytesDoNotRepeatAndLeaveTheSeedAlone) {
  RandSeed = 77;
  Byte a[32] = {}, b[32] = {};
  RandomBytes(a, sizeof a);
  RandomBytes(b, sizeof b);
  EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
  EXPECT_EQ(RandSeed.load(), 77);

  // Byte values spread over 0..255 (expected 256 of each in 64 KiB).
  std::vector<Byte> big(65536);
  RandomBytes(big.data(), big.size());
  int counts[256] = {};
  for (Byte v : big) ++counts[v];
  for (int v = 0; v < 256; ++v) {
    EXPECT_GT(counts[v], 150) << v;
    EXPECT_LT(counts[v], 370) << v;
  }
  RandomBytes(nullptr, 0);  // nothing to do
}

TEST(RandomSecure, ConcurrentDrawsAreAllDistinct) {
  const int kThreads = 4, kDraws = 500;
  std::vector<std::vector<std::string>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&got, t] {
      for (int i = 0; i < kDraws; ++i) {
        std::string s(16, '\0');
        RandomBytes(s.data(), s.size());
        got[t].push_back(s);
      }
    });
  for (auto& t : threads) t.join();
  std::set<std::string> all;
  for (const auto& v : got) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kDraws));
}

TEST(RandomSecure, RandomIntBounds) {
  EXPECT_EQ(RandomInt(0), 0);
  EXPECT_EQ(RandomInt(-5), 0);
  EXPECT_EQ(RandomInt(1), 0);
  std::set<Integer> seen;
  for (int i = 0; i < 2000; ++i) {
    Integer r = RandomInt(62);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 62);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 62u);
  for (int i = 0; i < 100; ++i) {
    Integer r = RandomInt(INT_MAX);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, INT_MAX);
  }
}

}  // namespace
