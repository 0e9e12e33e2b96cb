// Bmp32_Spans: row-at-a-time forms of the hot per-pixel paths, each giving
// exactly the pixels of the path it replaces.
//  - TransformerSampleRow: a row of TTransformer::GetSampleInt samples, with
//    the affine, projective and remap mappings and the nearest and linear
//    readers inlined (other readers and modes are called per pixel);
//    TRegularRasterizer renders through it.
//  - The per-pixel forms of the stretch routines that have a row path
//    (StretchBilinear, StretchKernel), kept to compare against.
//  - The column sums of StretchKernel's 16-bit vertical pass, portable and
//    vector forms (the same numbers).
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_System.h"

class TTransformer;
class TCustomKernel;

// Out[I] = Transformer->GetSampleInt(X + I, Y) for I < Count, between the
// transformer's PrepareSampling and FinalizeSampling.
void TransformerSampleRow(TTransformer* Transformer, Integer X, Integer Y, Integer Count, TColor32* Out);

void StretchBilinearPerPixel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                             TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});
void StretchKernelPerPixel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                           TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = {});

// Buf (four Words per column: blue, green, red, alpha) = per channel the sum
// of Weights[T] * Rows[T][X] over T < Taps, for X < Count; weights 0..256
// that sum to at most 256.
using TKernelColumnSums16Proc = void (*)(const TColor32* const* Rows, const Integer* Weights, Integer Taps,
                                         Integer Count, Word* Buf);
void KernelColumnSums16_Pas(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                            Word* Buf);
#if defined(__x86_64__) || defined(__i386__)
void KernelColumnSums16_SSE2(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                             Word* Buf);
// Only where ProcessorHasAVX2 (instructions and the system's register saving).
void KernelColumnSums16_AVX2(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                             Word* Buf);
#endif
