// Bitmap engine low-level routines every pixel loop uses.
//
// Holds: the FillWords32 call slot (registry "Bmp32_LowLevel bindings",
// id 0) with its implementations, MoveWords32, SwapInts, ClipSpan,
// ClampByte, LimitRange(Sorted), Max3/Min3, ClampRange, WrapRange,
// MirrorRange, WrapRangePow2, MirrorRangePow2, WrapSingle, DivRem, DivBy255,
// SarBy8/SarBy9, TWrapProcEx, WrapRoutineFor, WrapRoutineForRange.
// Portable: no Windows header.
#pragma once

#include <cstring>

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Types.h"

// --- FillWords32 (call slot) --------------------------------------------------
using TFillWords32Proc = void (*)(void* X, Integer Count, Cardinal Value);
extern TFillWords32Proc FillWords32;
inline constexpr TFunctionID<TFillWords32Proc> FID_FILLWORDS32{0};
// The implementations (all give identical memory; exposed for tests/benchmarks).
void FillWords32_Pas(void* X, Integer Count, Cardinal Value);     // last word to first
void FillWords32_String(void* X, Integer Count, Cardinal Value);  // string store
void FillWords32_SSE2(void* X, Integer Count, Cardinal Value);    // aligned 16-byte stores

// Copies Count 32-bit words; overlapping ranges allowed.
inline void MoveWords32(const void* Source, void* Dest, Integer Count) {
  if (Count > 0 && Source != Dest) std::memmove(Dest, Source, size_t(Count) * 4);
}

inline void SwapInts(Integer& A, Integer& B) { Integer t = A; A = B; B = t; }
// A <= B (swapped if needed), then clipped to Start..Stop-1; returns B >= A.
bool ClipSpan(Integer& A, Integer& B, Integer Start, Integer Stop);
constexpr Integer ClampByte(Integer Value) { return Value < 0 ? 0 : (Value > 255 ? 255 : Value); }
constexpr Integer LimitRange(Integer Value, Integer Lo, Integer Hi) {
  return Value < Lo ? Lo : (Value > Hi ? Hi : Value);
}
constexpr Integer LimitRangeSorted(Integer Value, Integer Lo, Integer Hi) {
  return Hi < Lo ? LimitRange(Value, Hi, Lo) : LimitRange(Value, Lo, Hi);
}
constexpr Integer Max3(Integer A, Integer B, Integer C) {
  Integer m = A > B ? A : B;
  return m > C ? m : C;
}
constexpr Integer Min3(Integer A, Integer B, Integer C) {
  Integer m = A < B ? A : B;
  return m < C ? m : C;
}

// Wrap routines: map Value into Min..Max. An empty range (Max < Min) gives
// Min for the wrapping forms (there is nothing to wrap into).
using TWrapProcEx = Integer (*)(Integer Value, Integer Min, Integer Max);
Integer ClampRange(Integer Value, Integer Min, Integer Max);  // upper bound tested first
Integer WrapRange(Integer Value, Integer Min, Integer Max);
Integer MirrorRange(Integer Value, Integer Min, Integer Max);
Integer WrapRangePow2(Integer Value, Integer Min, Integer Max);
Integer MirrorRangePow2(Integer Value, Integer Min, Integer Max);
TWrapProcEx WrapRoutineFor(TWrapMode WrapMode);
TWrapProcEx WrapRoutineForRange(TWrapMode WrapMode, Integer AMin, Integer AMax);

// A result in [0, Max) (Max <= 0 or a non-finite Value gives 0).
Single WrapSingle(Single Value, Single Max);

// Truncating quotient; Remainder = Dividend mod Divisor.
inline Integer DivRem(Integer Dividend, Integer Divisor, Integer& Remainder) {
  Remainder = Dividend % Divisor;
  return Dividend / Divisor;
}
// (X * 32897) shr 23 with a 32-bit product: X div 255 for X <= 255*255.
constexpr Cardinal DivBy255(Cardinal X) { return Cardinal(X * 32897u) >> 23; }
// X div 256 / X div 512 truncating towards zero.
constexpr Integer SarBy8(Integer X) { return X / 256; }
constexpr Integer SarBy9(Integer X) { return X / 512; }

// Unit start-up: creates "Bmp32_LowLevel bindings" and binds FillWords32.
void InitializeBmp32LowLevel();
