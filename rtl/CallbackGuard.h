// Where exceptions go when nobody up the stack can take them.
//
// Measured: a C++ exception cannot unwind through Wine's frames or a C
// library's, so every function the platform or a C library calls back
// (window procedures, timer, hook and enumeration callbacks, thread
// procedures, library delegates) runs its body in CallbackGuard: nothing
// leaves it, and what it catches goes to the application's exception handler.
//
//   LRESULT CALLBACK SomeProc(HWND W, UINT M, WPARAM P, LPARAM L) {
//     return CallbackGuard(nullptr, LRESULT(0), [&] { return Handle(W, M, P, L); });
//   }
//
// The application object installs its handler (it shows the exception and
// the program goes on); without one the message goes to standard error. The
// handler runs on the GUI thread: an exception caught on another thread
// travels there through the thread queue (TThread::Queue) and is handled when
// the GUI thread next runs its synchronized calls.
// Portable: no Windows header.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

#include "rtl/System.h"

// Sender is the object the exception is reported for (nullptr when none).
using TApplicationExceptionHandler = std::function<void(TObject* Sender)>;

// Installs the application's handler; an empty one restores the default.
// The handler reads the exception being handled (std::current_exception).
void SetApplicationHandleException(TApplicationExceptionHandler Handler);
bool ApplicationHandleExceptionSet();

// Hands the exception being handled to the application's handler (call it
// inside a catch block). Never raises.
void ApplicationHandleException(TObject* Sender) noexcept;

namespace rtl_guard {
template <class S>
TObject* SenderOf(S& Sender) {
  if constexpr (std::is_invocable_v<S&>)
    return Sender();
  else
    return Sender;
}
}  // namespace rtl_guard

// Runs Body; an exception it raises goes to the application's handler with
// Sender (an object pointer, or a function returning one, asked only when
// something was caught: the body may have freed the object).
template <class S, class F>
void CallbackGuard(S&& Sender, F&& Body) noexcept {
  try {
    std::forward<F>(Body)();
  } catch (...) {
    ApplicationHandleException(rtl_guard::SenderOf(Sender));
  }
}

// The same for a boundary that answers a value: Body's, or Fallback when
// Body raised.
template <class S, class R, class F>
R CallbackGuard(S&& Sender, R Fallback, F&& Body) noexcept {
  try {
    return std::forward<F>(Body)();
  } catch (...) {
    ApplicationHandleException(rtl_guard::SenderOf(Sender));
    return Fallback;
  }
}
