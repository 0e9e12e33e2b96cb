// Low-level routines: word fills, clamps, wrap and mirror rules.
#include "bitmap/Bmp32_LowLevel.h"

#include <cmath>
#include <cstdint>

#include "bitmap/Bmp32_Bindings.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define BMP32_SSE2 1
#endif

// ---------------------------------------------------------------------------
// FillWords32

void FillWords32_Pas(void* X, Integer Count, Cardinal Value) {
  Cardinal* p = static_cast<Cardinal*>(X);
  for (Integer i = Count - 1; i >= 0; --i) p[i] = Value;
}

void FillWords32_String(void* X, Integer Count, Cardinal Value) {
  if (Count <= 0) return;
#if defined(__x86_64__) || defined(__i386__)
  void* dst = X;
  size_t n = size_t(Count);
  __asm__ __volatile__("cld\n\trep stosl" : "+D"(dst), "+c"(n) : "a"(Value) : "memory", "cc");
#else
  Cardinal* p = static_cast<Cardinal*>(X);
  for (Integer i = 0; i < Count; ++i) p[i] = Value;
#endif
}

void FillWords32_SSE2(void* X, Integer Count, Cardinal Value) {
#ifdef BMP32_SSE2
  if (Count < 32 || (reinterpret_cast<std::uintptr_t>(X) & 3) != 0) {
    FillWords32_String(X, Count, Value);
    return;
  }
  Cardinal* p = static_cast<Cardinal*>(X);
  // single words up to 16-byte alignment
  while ((reinterpret_cast<std::uintptr_t>(p) & 15) != 0) {
    *p++ = Value;
    --Count;
  }
  __m128i v = _mm_set1_epi32(Integer(Value));
  while (Count >= 16) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 4), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 8), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 12), v);
    p += 16;
    Count -= 16;
  }
  while (Count >= 4) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    p += 4;
    Count -= 4;
  }
  FillWords32_String(p, Count, Value);
#else
  FillWords32_String(X, Count, Value);
#endif
}

TFillWords32Proc FillWords32 = FillWords32_String;

// ---------------------------------------------------------------------------

bool ClipSpan(Integer& A, Integer& B, Integer Start, Integer Stop) {
  if (B < A) SwapInts(A, B);
  if (A < Start) A = Start;
  if (B >= Stop) B = Stop - 1;
  return B >= A;
}

Integer ClampRange(Integer Value, Integer Min, Integer Max) {
  if (Value > Max) return Max;
  if (Value < Min) return Min;
  return Value;
}

Integer WrapRange(Integer Value, Integer Min, Integer Max) {
  Int64 N = Int64(Max) - Min + 1;
  if (N <= 0) return Min;
  if (Value < Min) return Integer(Max + (Int64(Value) - Max) % N);
  return Integer(Min + (Int64(Value) - Min) % N);
}

Integer MirrorRange(Integer Value, Integer Min, Integer Max) {
  Int64 N = Int64(Max) - Min + 1;
  if (N <= 0) return Min;
  Int64 Q, V;
  if (Value < Min) {
    Q = (Int64(Value) - Max) / N;
    V = Max + (Int64(Value) - Max) % N;
  } else {
    Q = (Int64(Value) - Min) / N;
    V = Min + (Int64(Value) - Min) % N;
  }
  if (Q & 1) return Integer(Int64(Min) + Max - V);
  return Integer(V);
}

Integer WrapRangePow2(Integer Value, Integer Min, Integer Max) {
  Cardinal mask = Cardinal(Max) - Cardinal(Min);
  return Integer(Cardinal(Min) + ((Cardinal(Value) - Cardinal(Min)) & mask));
}

Integer MirrorRangePow2(Integer Value, Integer Min, Integer Max) {
  Cardinal len = Cardinal(Max) - Cardinal(Min);
  Cardinal off = Cardinal(Value) - Cardinal(Min);
  Cardinal D = off & len;
  if (off & (len + 1)) return Integer(Cardinal(Max) - D);
  return Integer(Cardinal(Min) + D);
}

TWrapProcEx WrapRoutineFor(TWrapMode WrapMode) {
  switch (WrapMode) {
    case wmRepeat: return WrapRange;
    case wmMirror: return MirrorRange;
    default: return ClampRange;
  }
}

TWrapProcEx WrapRoutineForRange(TWrapMode WrapMode, Integer AMin, Integer AMax) {
  Cardinal len = Cardinal(AMax) - Cardinal(AMin);
  bool pow2 = AMin >= 0 && AMax >= AMin && (len & (len + 1)) == 0;
  switch (WrapMode) {
    case wmRepeat: return pow2 ? WrapRangePow2 : WrapRange;
    case wmMirror: return pow2 ? MirrorRangePow2 : MirrorRange;
    default: return ClampRange;
  }
}

Single WrapSingle(Single Value, Single Max) {
  if (!(Max > 0) || !std::isfinite(Value) || !std::isfinite(Max)) return 0;
  Single v = std::fmod(Value, Max);
  if (v < 0) v += Max;
  if (v >= Max) v = 0;  // a tiny negative value plus Max rounds up to Max
  return v;
}

void InitializeBmp32LowLevel() {
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_LowLevel bindings");
  R->RegisterBinding(FID_FILLWORDS32, &FillWords32);
  R->Add(FID_FILLWORDS32, FillWords32_Pas);
  R->Add(FID_FILLWORDS32, FillWords32_String);
#ifdef BMP32_SSE2
  R->Add(FID_FILLWORDS32, FillWords32_SSE2, {ciSSE2});
#endif
  R->RebindAll();
}
