// SSE4.1 rows of the kernel engine (see Bmp32_KernelSimd.h). The whole file
// is compiled with -msse4.1 (the build gives every unit named *Sse41.cpp that
// flag), so nothing in it may run on a processor without SSE4.1: the engine
// calls these only after ProcessorHasSSE41. The file calls no inline routine
// of a shared header and holds no start-up code.
#include "bitmap/Bmp32_KernelSimd.h"

#if defined(__x86_64__) || defined(__i386__)
#include <smmintrin.h>

namespace kernel_simd {

void KernelRowSums16(const Word* Buf, const Integer* Start, const Integer* Offs, const Integer* Wts, Integer Count,
                     bool Clamp, TColor32* Out) {
  const __m128i Zero = _mm_setzero_si128(), Max = _mm_set1_epi32(0xFF0000), Low = _mm_set1_epi32(0xFF);
  for (Integer I = 0; I < Count; ++I) {
    __m128i S0 = Zero, S1 = Zero;
    Integer K = Start[I];
    const Integer E = Start[I + 1];
    for (; K + 2 <= E; K += 2) {
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_cvtepu16_epi32(_mm_loadl_epi64(
                                                 reinterpret_cast<const __m128i*>(Buf + Offs[K]))),
                                             _mm_set1_epi32(Wts[K])));
      S1 = _mm_add_epi32(S1, _mm_mullo_epi32(_mm_cvtepu16_epi32(_mm_loadl_epi64(
                                                 reinterpret_cast<const __m128i*>(Buf + Offs[K + 1]))),
                                             _mm_set1_epi32(Wts[K + 1])));
    }
    if (K < E)
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_cvtepu16_epi32(_mm_loadl_epi64(
                                                 reinterpret_cast<const __m128i*>(Buf + Offs[K]))),
                                             _mm_set1_epi32(Wts[K])));
    __m128i S = _mm_add_epi32(S0, S1);
    if (Clamp)
      S = _mm_srli_epi32(_mm_min_epi32(_mm_max_epi32(S, Zero), Max), 16);
    else
      S = _mm_and_si128(_mm_srli_epi32(S, 16), Low);
    S = _mm_packs_epi32(S, S);
    Out[I] = TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(S, S)));
  }
}

// The horizontal pass of one destination row: per column the weighted sum
// of its taps' column sums, then per channel shr 16 (clamped to 0..255 or
// wrapped to the low 8 bits).
void KernelRowSums(const Integer* Buf, const Integer* Start, const Integer* Offs, const Integer* Wts, Integer Count,
                   bool Clamp, TColor32* Out) {
  const __m128i Zero = _mm_setzero_si128(), Max = _mm_set1_epi32(0xFF0000), Low = _mm_set1_epi32(0xFF);
  for (Integer I = 0; I < Count; ++I) {
    __m128i S0 = Zero, S1 = Zero;
    Integer K = Start[I];
    const Integer E = Start[I + 1];
    for (; K + 2 <= E; K += 2) {
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Buf + Offs[K])),
                                             _mm_set1_epi32(Wts[K])));
      S1 = _mm_add_epi32(S1, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Buf + Offs[K + 1])),
                                             _mm_set1_epi32(Wts[K + 1])));
    }
    if (K < E)
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Buf + Offs[K])),
                                             _mm_set1_epi32(Wts[K])));
    __m128i S = _mm_add_epi32(S0, S1);
    if (Clamp)
      S = _mm_srli_epi32(_mm_min_epi32(_mm_max_epi32(S, Zero), Max), 16);
    else
      S = _mm_and_si128(_mm_srli_epi32(S, 16), Low);
    S = _mm_packs_epi32(S, S);
    Out[I] = TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(S, S)));
  }
}

// One source row filtered horizontally: four Integers (blue, green, red,
// alpha) per destination column, the weighted sum of its range.
void KernelRowH(const TColor32* Row, const TDenseCluster* C, const Integer* Pairs, Integer Count, Integer* Out) {
  const __m128i Zero = _mm_setzero_si128();
  // Bytes of two pixels to 16-bit lanes b0 b1 g0 g1 r0 r1 a0 a1.
  const __m128i Lo = _mm_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1);
  const __m128i Hi = _mm_setr_epi8(8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1);
  for (Integer I = 0; I < Count; ++I) {
    const TColor32* P = Row + C[I].Lo;
    const Integer* W = Pairs + C[I].Off;
    const Integer N = C[I].N;
    __m128i S0 = Zero, S1 = Zero;
    Integer K = 0;
    for (; K + 4 <= N; K += 4) {
      const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + K));
      S0 = _mm_add_epi32(S0, _mm_madd_epi16(_mm_shuffle_epi8(V, Lo), _mm_set1_epi32(W[K / 2])));
      S1 = _mm_add_epi32(S1, _mm_madd_epi16(_mm_shuffle_epi8(V, Hi), _mm_set1_epi32(W[K / 2 + 1])));
    }
    if (K + 2 <= N) {
      const __m128i V = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P + K));
      S0 = _mm_add_epi32(S0, _mm_madd_epi16(_mm_shuffle_epi8(V, Lo), _mm_set1_epi32(W[K / 2])));
      K += 2;
    }
    if (K < N) {
      const __m128i V = _mm_cvtsi32_si128(Integer(P[K]));
      S1 = _mm_add_epi32(S1, _mm_madd_epi16(_mm_shuffle_epi8(V, Lo), _mm_set1_epi32(W[K / 2])));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + size_t(I) * 4), _mm_add_epi32(S0, S1));
  }
}

// The vertical step over filtered rows: per column the weighted sum of the
// rows' sums, then per channel shr 16 (clamped or wrapped).
void KernelRowV(const Integer* const* Rows, const Integer* Weights, Integer Taps, Integer Count, bool Clamp,
                TColor32* Out) {
  const __m128i Zero = _mm_setzero_si128(), Max = _mm_set1_epi32(0xFF0000), Low = _mm_set1_epi32(0xFF);
  for (Integer I = 0; I < Count; ++I) {
    __m128i S0 = Zero, S1 = Zero;
    Integer T = 0;
    for (; T + 2 <= Taps; T += 2) {
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + size_t(I) * 4)),
                                             _mm_set1_epi32(Weights[T])));
      S1 = _mm_add_epi32(S1,
                         _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T + 1] + size_t(I) * 4)),
                                         _mm_set1_epi32(Weights[T + 1])));
    }
    if (T < Taps)
      S0 = _mm_add_epi32(S0, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + size_t(I) * 4)),
                                             _mm_set1_epi32(Weights[T])));
    __m128i S = _mm_add_epi32(S0, S1);
    if (Clamp)
      S = _mm_srli_epi32(_mm_min_epi32(_mm_max_epi32(S, Zero), Max), 16);
    else
      S = _mm_and_si128(_mm_srli_epi32(S, 16), Low);
    S = _mm_packs_epi32(S, S);
    Out[I] = TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(S, S)));
  }
}

}  // namespace kernel_simd
#endif
