#include "rtl/SyncObjs.h"

#include <chrono>

void TEvent::SetEvent() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FSignaled = true;
  }
  if (FManualReset) FCond.notify_all();
  else FCond.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> lock(FMutex);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal Timeout) {
  std::unique_lock<std::mutex> lock(FMutex);
  auto ready = [this] { return FSignaled; };
  if (Timeout == WaitForever) {
    FCond.wait(lock, ready);
  } else if (!FCond.wait_for(lock, std::chrono::milliseconds(Timeout), ready)) {
    return wrTimeout;
  }
  if (!FManualReset) FSignaled = false;
  return wrSignaled;
}
