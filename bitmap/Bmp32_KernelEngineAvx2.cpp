// AVX2 column sums of the kernel engine (see Bmp32_KernelSimd.h). The whole
// file is compiled with -mavx2 (the build gives every unit named *Avx2.cpp
// that flag), so nothing in it may run on a processor without AVX2: the
// engine calls it only after ProcessorHasAVX2. The file calls no inline
// routine of a shared header and holds no start-up code.
#include "bitmap/Bmp32_KernelSimd.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace kernel_simd {

void KernelColumnSums16(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                        Word* Buf) {
  Integer X = 0;
  for (; X + 8 <= Count; X += 8) {
    __m256i S0 = _mm256_setzero_si256(), S1 = _mm256_setzero_si256();
    for (Integer T = 0; T < Taps; ++T) {
      const __m256i W = _mm256_set1_epi16(short(Weights[T]));
      const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + X));
      const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + X + 4));
      S0 = _mm256_add_epi16(S0, _mm256_mullo_epi16(_mm256_cvtepu8_epi16(A), W));
      S1 = _mm256_add_epi16(S1, _mm256_mullo_epi16(_mm256_cvtepu8_epi16(B), W));
    }
    __m256i* P = reinterpret_cast<__m256i*>(Buf + size_t(X) * 4);
    _mm256_storeu_si256(P, S0);
    _mm256_storeu_si256(P + 1, S1);
  }
  ColumnSumsTail(Rows, Weights, Taps, X, Count, Buf);
}

}  // namespace kernel_simd
#endif
