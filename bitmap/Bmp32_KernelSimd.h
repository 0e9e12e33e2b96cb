// The kernel engine's routines written for one instruction set (SSE4.1 in
// Bmp32_KernelEngineSse41.cpp, AVX2 in Bmp32_KernelEngineAvx2.cpp): the
// engine (Bmp32_KernelEngine.cpp) calls them only after the processor check.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32_Types.h"

namespace kernel_simd {

// A destination column's taps merged into one contiguous source range:
// pixels Lo .. Lo + N - 1, weights in pairs (16 bits each) from Pairs[Off].
struct TDenseCluster {
  Integer Lo, N, Off;
};

// The column sums of Rows advanced by X, for the columns X .. Count - 1, in
// the portable form (the vector forms' last columns).
void ColumnSumsTail(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer X, Integer Count,
                    Word* Buf);

// KernelColumnSums16 in 256-bit lanes (AVX2).
void KernelColumnSums16(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                        Word* Buf);

// The horizontal pass of one destination row: per column the weighted sum
// of its taps' column sums (16-bit or 32-bit ones), then per channel shr 16
// (clamped to 0..255 or wrapped to the low 8 bits). SSE4.1.
void KernelRowSums16(const Word* Buf, const Integer* Start, const Integer* Offs, const Integer* Wts, Integer Count,
                     bool Clamp, TColor32* Out);
void KernelRowSums(const Integer* Buf, const Integer* Start, const Integer* Offs, const Integer* Wts, Integer Count,
                   bool Clamp, TColor32* Out);
// One source row filtered horizontally: four Integers (blue, green, red,
// alpha) per destination column, the weighted sum of its range. SSE4.1.
void KernelRowH(const TColor32* Row, const TDenseCluster* C, const Integer* Pairs, Integer Count, Integer* Out);
// The vertical step over filtered rows: per column the weighted sum of the
// rows' sums, then per channel shr 16 (clamped or wrapped). SSE4.1.
void KernelRowV(const Integer* const* Rows, const Integer* Weights, Integer Taps, Integer Count, bool Clamp,
                TColor32* Out);

}  // namespace kernel_simd
