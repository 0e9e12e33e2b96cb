// Processor features, processor count, tick count and the performance timer.
#include "bitmap/Bmp32_System.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "rtl/SysUtils.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define BMP32_X86 1
#endif

namespace {

bool DefaultQueryCounter(Int64& Value) {
  Value = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
  return true;
}
bool DefaultQueryFrequency(Int64& Value) {
  Value = 1000000000;
  return true;
}
Cardinal DefaultTickCount() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
  return Cardinal(UInt64(ms));
}
Integer DefaultProcessorCount() {
  unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : Integer(n);
}

#ifdef BMP32_X86
void Cpuid(unsigned Leaf, unsigned& A, unsigned& B, unsigned& C, unsigned& D) {
  A = B = C = D = 0;
  __cpuid(Leaf, A, B, C, D);
}
#endif

TCPUFeatures GFeatures;
bool GFeaturesComputed = false;

}  // namespace

TQueryCounterProc QueryPerformanceCounterProc = DefaultQueryCounter;
TQueryCounterProc QueryPerformanceFrequencyProc = DefaultQueryFrequency;
TTickCountProc GetTickCountProc = DefaultTickCount;
TProcessorCountProc GetProcessorCountProc = DefaultProcessorCount;

bool ProcessorHas(TCPUInstructionSet InstructionSet) {
#ifdef BMP32_X86
  // CPUID exists on every x86-64 processor (the identification flag check of
  // older processors is not needed there); the family must be at least 5.
  unsigned a, b, c, d;
  Cpuid(0, a, b, c, d);
  if (a < 1) return false;
  Cpuid(1, a, b, c, d);
  if (((a >> 8) & 0xF) < 5 && ((a >> 8) & 0xF) != 0xF) return false;
  unsigned edx1 = d;
  unsigned maxExt, t1, t2, t3;
  Cpuid(0x80000000u, maxExt, t1, t2, t3);
  bool hasExt = maxExt > 0x80000000u;
  unsigned extEdx = 0;
  if (hasExt) Cpuid(0x80000001u, t1, t2, t3, extEdx);
  switch (InstructionSet) {
    case ciMMX: return (edx1 & 0x800000u) != 0;
    case ciEMMX:
      if (edx1 & 0x2000000u) return true;
      return hasExt && (extEdx & 0x400000u) != 0;
    case ciSSE: return (edx1 & 0x2000000u) != 0;
    case ciSSE2: return (edx1 & 0x4000000u) != 0;
    case ci3DNow: return hasExt && (extEdx & 0x80000000u) != 0;
    case ci3DNowExt: return hasExt && (extEdx & 0x40000000u) != 0;
  }
  return false;
#else
  (void)InstructionSet;
  return false;
#endif
}

bool ProcessorHasSSE41() {
#ifdef BMP32_X86
  static const bool Has = [] {
    unsigned A = 0, B = 0, C = 0, D = 0;
    return __get_cpuid(1, &A, &B, &C, &D) != 0 && (C & bit_SSE4_1) != 0;
  }();
  return Has;
#else
  return false;
#endif
}

bool ProcessorHasAVX2() {
#ifdef BMP32_X86
  static const bool Has = [] {
    unsigned A = 0, B = 0, C = 0, D = 0;
    if (__get_cpuid(1, &A, &B, &C, &D) == 0 || (C & bit_OSXSAVE) == 0 || (C & bit_AVX) == 0) return false;
    unsigned Lo = 0, Hi = 0;
    __asm__ volatile("xgetbv" : "=a"(Lo), "=d"(Hi) : "c"(0));
    if ((Lo & 6) != 6) return false;  // the system saves the vector registers
    if (__get_cpuid_count(7, 0, &A, &B, &C, &D) == 0) return false;
    return (B & bit_AVX2) != 0;
  }();
  return Has;
#else
  return false;
#endif
}

TCPUFeatures ProcessorFeatures() {
  if (!GFeaturesComputed) {
    TCPUFeatures f;
    for (int i = ciMMX; i <= ci3DNowExt; ++i)
      if (ProcessorHas(TCPUInstructionSet(i))) f.Include(TCPUInstructionSet(i));
    GFeatures = f;
    GFeaturesComputed = true;
  }
  return GFeatures;
}

Integer ProcessorCount() { return (GetProcessorCountProc ? GetProcessorCountProc : DefaultProcessorCount)(); }
Cardinal TickCount() { return (GetTickCountProc ? GetTickCountProc : DefaultTickCount)(); }

// ---------------------------------------------------------------------------
// TPerfTimer

void TPerfTimer::Start() { QueryPerformanceCounterProc(FPerformanceCountStart); }

namespace {
void ReadStop(TPerfTimer& T) {
  QueryPerformanceCounterProc(T.FPerformanceCountStop);
  QueryPerformanceFrequencyProc(T.FFrequency);
}
String FixedText(long double V) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3Lf", V);
  String s;
  for (const char* p = buf; *p; ++p) s.push_back(char16_t(*p));
  return s;
}
}  // namespace

Int64 TPerfTimer::ReadValue() {
  ReadStop(*this);
  Assert(FFrequency > 0);
  long double v = 1000000.0L * (long double)(FPerformanceCountStop - FPerformanceCountStart) / (long double)FFrequency;
  return Int64(std::nearbyint(v));
}

String TPerfTimer::ReadNanoseconds() { return IntToStr(ReadValue()); }

String TPerfTimer::ReadMilliseconds() {
  ReadStop(*this);
  Assert(FFrequency > 0);
  return FixedText(1000.0L * (long double)(FPerformanceCountStop - FPerformanceCountStart) / (long double)FFrequency);
}

String TPerfTimer::ReadSeconds() {
  ReadStop(*this);
  if (FFrequency == 0) return u"0.000";
  return FixedText((long double)(FPerformanceCountStop - FPerformanceCountStart) / (long double)FFrequency);
}

TPerfTimer* GlobalPerfTimer = nullptr;

void InitializeBmp32System() {
  ProcessorFeatures();
  if (!GlobalPerfTimer) GlobalPerfTimer = new TPerfTimer;
}

void FinalizeBmp32System() { FreeAndNil(GlobalPerfTimer); }
