#include "platform/GdiPlusStatus.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace gdipflat {

namespace {

thread_local GpStatus Last = Ok;
std::atomic<bool> Tracing{false};
std::mutex TraceLock;

std::vector<std::string>& Failures() {
  static std::vector<std::string> list;
  return list;
}

}  // namespace

GpStatus LastStatus() { return Last; }

GpStatus NoteStatus(GpStatus St, const char* Name) {
  Last = St;
  if (St != Ok && Tracing.load(std::memory_order_relaxed)) {
    std::string entry = std::string(Name) + ": " + std::to_string(St);
    std::fprintf(stderr, "GDI+ refused %s\n", entry.c_str());
    std::lock_guard<std::mutex> g(TraceLock);
    Failures().push_back(std::move(entry));
  }
  return St;
}

void TraceStatuses(bool On) { Tracing = On; }

std::vector<std::string> TracedFailures() {
  std::lock_guard<std::mutex> g(TraceLock);
  return Failures();
}

void ClearTracedFailures() {
  std::lock_guard<std::mutex> g(TraceLock);
  Failures().clear();
}

}  // namespace gdipflat
