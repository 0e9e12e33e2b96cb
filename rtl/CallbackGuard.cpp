#include "rtl/CallbackGuard.h"

#include <cstdio>
#include <exception>
#include <mutex>

#include "rtl/Thread.h"

namespace {

std::mutex HandlerLock;

TApplicationExceptionHandler& Handler() {
  static TApplicationExceptionHandler handler;
  return handler;
}

TApplicationExceptionHandler CurrentHandler() {
  std::lock_guard<std::mutex> g(HandlerLock);
  return Handler();
}

// The default: the message on standard error; the program goes on.
void WriteToStandardError(const std::exception_ptr& P) {
  try {
    std::rethrow_exception(P);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "Exception: %s\n", E.what());
  } catch (...) {
    std::fputs("Exception: unknown exception\n", stderr);
  }
}

}  // namespace

void SetApplicationHandleException(TApplicationExceptionHandler H) {
  std::lock_guard<std::mutex> g(HandlerLock);
  Handler() = std::move(H);
}

bool ApplicationHandleExceptionSet() {
  std::lock_guard<std::mutex> g(HandlerLock);
  return static_cast<bool>(Handler());
}

void ApplicationHandleException(TObject* Sender) noexcept {
  std::exception_ptr P = std::current_exception();
  if (!P) return;
  try {
    TApplicationExceptionHandler H = CurrentHandler();
    if (!H) {
      WriteToStandardError(P);
    } else if (TThread::CurrentThreadID() == MainThreadID()) {
      H(Sender);
    } else {
      // The handler belongs to the GUI thread; the sender may be gone by the
      // time it runs there, so it travels without one.
      TThread::Queue(nullptr, [P] { std::rethrow_exception(P); });
    }
  } catch (...) {
    // Neither the handler nor the queue could take it: the last resort.
    WriteToStandardError(P);
  }
}
