// ParallelBands: every index of the range in exactly one band, bands of the
// asked size in order of their starts, on more than one thread when asked,
// the calling thread alone for one thread or one band, and a band's
// exception raised again after all bands ran.
#include "common/gtest.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "rtl/ParallelBands.h"

namespace {

TEST(ParallelBands, EveryIndexInExactlyOneBand) {
  struct TCase {
    Integer Count, BandSize, Threads;
  };
  const TCase cases[] = {{0, 8, 4},   {1, 8, 4},     {7, 8, 4},   {8, 8, 4},     {9, 8, 4},
                         {1000, 8, 4}, {1001, 1, 8}, {37, 0, 3}, {5000, 64, 0}, {100, 10, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Count << " in bands of " << c.BandSize << " on " << c.Threads);
    std::vector<std::atomic<int>> seen(size_t(std::max<Integer>(c.Count, 0)));
    std::mutex lock;
    std::vector<std::pair<Integer, Integer>> bands;
    ParallelBands(c.Count, c.BandSize, c.Threads, [&](Integer From, Integer To) {
      for (Integer i = From; i < To; ++i) seen[size_t(i)].fetch_add(1);
      std::lock_guard<std::mutex> g(lock);
      bands.push_back({From, To});
    });
    for (Integer i = 0; i < c.Count; ++i) EXPECT_EQ(seen[size_t(i)].load(), 1) << i;
    std::sort(bands.begin(), bands.end());
    const Integer size = c.Threads == 1 ? c.Count : std::max<Integer>(c.BandSize, 1);
    for (size_t k = 0; k < bands.size(); ++k) {
      EXPECT_EQ(bands[k].first, Integer(k) * size);
      EXPECT_EQ(bands[k].second, std::min(c.Count, Integer(k + 1) * size));
    }
    EXPECT_EQ(bands.empty(), c.Count == 0);
  }
}

TEST(ParallelBands, WorkersTakeBandsAndOneThreadStaysOnTheCaller) {
  const std::thread::id caller = std::this_thread::get_id();
  std::mutex lock;
  std::set<std::thread::id> ids;
  // Bands that wait a moment, so that the workers get some of them.
  ParallelBands(64, 1, 4, [&](Integer, Integer) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::lock_guard<std::mutex> g(lock);
    ids.insert(std::this_thread::get_id());
  });
  EXPECT_GT(ids.size(), 1u);
  EXPECT_LE(ids.size(), 4u);
  ids.clear();
  ParallelBands(64, 1, 1, [&](Integer, Integer) { ids.insert(std::this_thread::get_id()); });
  EXPECT_EQ(ids, std::set<std::thread::id>{caller});
}

TEST(ParallelBands, ABandsExceptionComesBackAfterTheOthersRan) {
  std::atomic<int> ran{0};
  EXPECT_THROW(ParallelBands(40, 1, 4,
                             [&](Integer From, Integer) {
                               ran.fetch_add(1);
                               if (From == 13) throw std::runtime_error("band 13");
                             }),
               std::runtime_error);
  EXPECT_EQ(ran.load(), 40);
  EXPECT_GE(DefaultParallelThreads(), 1);
  EXPECT_LE(DefaultParallelThreads(), 8);
}

}  // namespace
