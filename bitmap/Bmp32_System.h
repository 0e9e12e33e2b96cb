// Bitmap engine: processor features, processor count, tick count and the
// high-resolution timer.
//
// Holds: TCPUInstructionSet (ciMMX .. ci3DNowExt), TCPUFeatures (a set),
// ProcessorHas, ProcessorFeatures, ProcessorCount, TickCount, TPerfTimer and
// the global GlobalPerfTimer, and the platform seams the Winelib build binds
// (QueryPerformanceCounter/Frequency, GetTickCount, GetSystemInfo's processor
// count). The defaults are portable (std::chrono, std::thread).
// Portable: no Windows header.
#pragma once

#include <initializer_list>

#include "rtl/System.h"

enum TCPUInstructionSet : Integer { ciMMX = 0, ciEMMX = 1, ciSSE = 2, ciSSE2 = 3, ci3DNow = 4, ci3DNowExt = 5 };

// A set of instruction sets, one bit per ordinal (ciMMX = 1 ... ci3DNowExt = 32).
struct TCPUFeatures {
  Cardinal Bits = 0;
  constexpr TCPUFeatures() = default;
  constexpr TCPUFeatures(std::initializer_list<TCPUInstructionSet> Sets) {
    for (auto s : Sets) Bits |= 1u << s;
  }
  static constexpr TCPUFeatures FromBits(Cardinal B) { TCPUFeatures f; f.Bits = B; return f; }
  constexpr bool Contains(TCPUInstructionSet S) const { return (Bits >> S) & 1u; }
  // True when every member of Sub is in this set.
  constexpr bool Includes(TCPUFeatures Sub) const { return (Sub.Bits & ~Bits) == 0; }
  constexpr void Include(TCPUInstructionSet S) { Bits |= 1u << S; }
  friend constexpr bool operator==(TCPUFeatures, TCPUFeatures) = default;
};

bool ProcessorHas(TCPUInstructionSet InstructionSet);
// Instruction sets the registry does not name, for row routines chosen at
// run time: SSE4.1, and AVX2 with the system saving the vector registers.
// Answered once, then cached.
bool ProcessorHasSSE41();
bool ProcessorHasAVX2();
// The cached feature set; computed on first use when start-up has not done it.
TCPUFeatures ProcessorFeatures();
Integer ProcessorCount();
Cardinal TickCount();

// --- platform seams (function pointers; the Winelib build binds the real ones)
using TQueryCounterProc = bool (*)(Int64& Value);
extern TQueryCounterProc QueryPerformanceCounterProc;    // default: steady clock in ns
extern TQueryCounterProc QueryPerformanceFrequencyProc;  // default: 1e9
using TTickCountProc = Cardinal (*)();
extern TTickCountProc GetTickCountProc;                  // default: steady clock in ms
using TProcessorCountProc = Integer (*)();
extern TProcessorCountProc GetProcessorCountProc;        // default: hardware_concurrency

// High-resolution timer over the platform's performance counter.
class TPerfTimer : public TObject {
 public:
  Int64 FFrequency = 0;
  Int64 FPerformanceCountStart = 0;
  Int64 FPerformanceCountStop = 0;

  void Start();
  // Microseconds: Round(1e6 * (stop - start) / frequency). Asserts frequency > 0.
  Int64 ReadValue();
  // The same microsecond count as decimal text.
  String ReadNanoseconds();
  // 1e3 * ticks / frequency, 3 decimals. Asserts frequency > 0.
  String ReadMilliseconds();
  // ticks / frequency, 3 decimals, no assertion (a zero frequency reads "0.000").
  String ReadSeconds();
};

extern TPerfTimer* GlobalPerfTimer;

// Unit start-up and shut-down (called by the engine start-up, Bmp32_Engine.h).
void InitializeBmp32System();
void FinalizeBmp32System();
