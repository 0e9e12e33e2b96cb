// Cleanup that runs when a scope ends, on every path: the one way the code
// writes "try ... finally".
//
//   FCreating = true;
//   TFinally done([&] { FCreating = false; });
//   CreateHandle();          // may raise; FCreating is false again either way
//
//   TUpdateLock lock(*Bitmap, ReportChange);  // BeginUpdate now; EndUpdate and
//   ...                                       // Changed when the scope ends
//
// While an exception unwinds the scope, the cleanup runs and an exception it
// raises itself is dropped: the one already in flight is the one the caller
// sees (a failing EndUpdate handler cannot hide why the work failed). On the
// normal path an exception of the cleanup goes to the caller.
//
// Dismiss() drops a cleanup that only undoes a half-done step: the work is
// kept once it has succeeded (TFinally free([&] { delete G; }); ... ; free.Dismiss()).
// Portable: no Windows header.
#pragma once

#include <exception>
#include <utility>

namespace rtl_scope {
// Runs Cleanup at the end of a scope entered with Uncaught exceptions in
// flight: while one more unwinds it, what Cleanup raises is dropped.
template <class F>
void RunCleanup(int Uncaught, F&& Cleanup) {
  if (std::uncaught_exceptions() > Uncaught) {
    try {
      Cleanup();
    } catch (...) {
      // The exception in flight wins.
    }
  } else {
    Cleanup();
  }
}
}  // namespace rtl_scope

template <class F>
class TFinally {
 public:
  explicit TFinally(F Cleanup) : FCleanup(std::move(Cleanup)), FUncaught(std::uncaught_exceptions()) {}
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;
  ~TFinally() noexcept(false) {
    if (!FArmed) return;
    FArmed = false;
    rtl_scope::RunCleanup(FUncaught, FCleanup);
  }
  // The cleanup will not run.
  void Dismiss() { FArmed = false; }

 private:
  F FCleanup;
  int FUncaught;
  bool FArmed = true;
};

template <class F>
TFinally(F) -> TFinally<F>;

// Tag: the update lock also calls Changed() after EndUpdate.
struct TReportChange {};
inline constexpr TReportChange ReportChange{};

// BeginUpdate on construction, EndUpdate when the scope ends (and then
// Changed() when made with ReportChange), with TFinally's rules. T is any
// class with BeginUpdate()/EndUpdate() (and Changed() for ReportChange).
template <class T>
class TUpdateLock {
 public:
  explicit TUpdateLock(T& Target) : FTarget(Target), FUncaught(std::uncaught_exceptions()) { FTarget.BeginUpdate(); }
  TUpdateLock(T& Target, TReportChange)
    requires requires(T& t) { t.Changed(); }
      : TUpdateLock(Target) {
    FReport = true;
  }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;
  ~TUpdateLock() noexcept(false) {
    rtl_scope::RunCleanup(FUncaught, [this] { End(); });
  }

 private:
  void End() {
    FTarget.EndUpdate();
    if constexpr (requires { FTarget.Changed(); })
      if (FReport) FTarget.Changed();
  }
  T& FTarget;
  int FUncaught;
  bool FReport = false;
};
