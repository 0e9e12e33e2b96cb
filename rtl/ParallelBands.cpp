#include "rtl/ParallelBands.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "rtl/Thread.h"

Integer DefaultParallelThreads() {
  const unsigned n = std::thread::hardware_concurrency();  // 0 when unknown
  return Integer(std::clamp(n, 1u, 8u));
}

namespace {

struct TBandJob {
  const std::function<void(Integer, Integer)>* Band = nullptr;
  Integer Count = 0, BandSize = 1, Bands = 0;
  std::atomic<Integer> Next{0};
  std::mutex ErrorLock;
  std::exception_ptr Error;

  void Run() {
    for (Integer b = Next.fetch_add(1); b < Bands; b = Next.fetch_add(1)) {
      const Integer from = b * BandSize;
      try {
        (*Band)(from, std::min(Count, from + BandSize));
      } catch (...) {
        std::lock_guard<std::mutex> g(ErrorLock);
        if (!Error) Error = std::current_exception();
      }
    }
  }
  static void Work(void* P) { static_cast<TBandJob*>(P)->Run(); }
};

}  // namespace

void ParallelBands(Integer Count, Integer BandSize, Integer Threads,
                   const std::function<void(Integer From, Integer To)>& Band) {
  if (Count <= 0) return;
  BandSize = std::max<Integer>(BandSize, 1);
  const Integer bands = Count / BandSize + (Count % BandSize != 0);
  const Integer threads = std::min(Threads > 0 ? Threads : DefaultParallelThreads(), bands);
  if (threads <= 1) {
    Band(0, Count);
    return;
  }
  TBandJob job;
  job.Band = &Band;
  job.Count = Count;
  job.BandSize = BandSize;
  job.Bands = bands;
  std::vector<void*> workers;
  workers.reserve(size_t(threads - 1));  // nothing allocated once a worker runs
  for (Integer i = 0; i < threads - 1; ++i) {
    void* h = nullptr;
    try {
      Cardinal id = 0;
      h = rtl_thread_seam::StartThread(&TBandJob::Work, &job, id);
    } catch (...) {
      h = nullptr;
    }
    if (h == nullptr) break;
    workers.push_back(h);
  }
  job.Run();
  for (void* h : workers) {
    rtl_thread_seam::JoinThread(h);
    rtl_thread_seam::CloseThread(h);
  }
  if (job.Error) std::rethrow_exception(job.Error);
}
