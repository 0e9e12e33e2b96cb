// The separable-kernel engine: the mapping tables of a kernel, the stretch
// through them (per pixel, and in rows with the vector passes), the column
// sums of its vertical pass. Its SSE4.1 and AVX2 passes live in units of
// their own (Bmp32_KernelSimd.h).
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define BMP32_RESAMPLERS_SSE2 1
#endif

#include "bitmap/Bmp32_KernelSimd.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_ResamplersShared.h"
#include "bitmap/Bmp32_Spans.h"

using namespace resampler_detail;

TMappingTable BuildKernelMapping(Integer DstLo, Integer DstHi, Integer ClipLo, Integer ClipHi, Integer SrcLo,
                                 Integer SrcHi, TCustomKernel* Kernel) {
  const Int64 SrcW = Int64(SrcHi) - SrcLo, DstW = Int64(DstHi) - DstLo, ClipW = Int64(ClipHi) - ClipLo;
  TMappingTable Result;
  if (SrcW <= 0) return Result;
  if (ClipW <= 0) return Result;
  if (SrcW == 1) {
    Result.assign(static_cast<size_t>(ClipW), TCluster{TPointRec{SrcLo, 256}});
    return Result;
  }
  Result.resize(static_cast<size_t>(ClipW));
  Single Scale = Single(DstW) / Single(SrcW);
  Single FilterWidth = Kernel->GetWidth();
  if (Scale == 0) {
    Result.assign(1, TCluster{TPointRec{Integer((Int64(SrcLo) + SrcHi) / 2), 256}});
    return Result;
  }
  const bool Reduce = Scale < 1;
  Single K = 1;
  if (Reduce) {
    K = Scale;
    Scale = 1 / K;
    FilterWidth = FilterWidth * Scale;
  } else {
    Scale = 1 / Scale;
  }
  for (Int64 I = 0; I < ClipW; ++I) {
    TCluster& C = Result[static_cast<size_t>(I)];
    const Single Center = Single(Extended(I - DstLo + ClipLo + 0.5L) * Scale + (Extended(SrcLo) - 0.5L));
    const Integer Lo = FloorInt(Extended(Center) - FilterWidth), Hi = CeilInt(Extended(Center) + FilterWidth);
    for (Int64 J = Lo; J <= Hi; ++J) {
      Integer W;
      if (Reduce)
        W = RoundInt(Extended(Kernel->Filter(Single((Extended(Center) - J) * K))) * 256 * K);
      else
        W = RoundInt(Extended(Kernel->Filter(Single(Extended(Center) - J))) * 256);
      if (W != 0) C.push_back(TPointRec{Integer(std::clamp<Int64>(J, SrcLo, Int64(SrcHi) - 1)), W});
    }
    if (C.empty()) {
      // A single full-weight tap (kept inside the source range).
      C.push_back(TPointRec{std::clamp(FloorInt(Center), SrcLo, SrcHi - 1), 256});
    } else {
      Integer Sum = 0;
      for (const auto& P : C) Sum += P.Weight;
      if (Sum != 256) C[(C.size() - 1) / 2].Weight += 256 - Sum;
    }
  }
  return Result;
}

void StretchKernelPerPixel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                   TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
  if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
  TEndBlendingGuard G;
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip) || Kernel == nullptr || Src->Empty()) return;
  IntersectRects(SrcRect, SrcRect, Src->BoundsRect());
  const TMappingTable MapX =
      BuildKernelMapping(DstRect.Left, DstRect.Right, DstClip.Left, DstClip.Right, SrcRect.Left, SrcRect.Right, Kernel);
  const TMappingTable MapY =
      BuildKernelMapping(DstRect.Top, DstRect.Bottom, DstClip.Top, DstClip.Bottom, SrcRect.Top, SrcRect.Bottom, Kernel);
  if (MapX.empty() || MapY.empty()) return;
  Integer MinX = std::numeric_limits<Integer>::max(), MaxX = std::numeric_limits<Integer>::min();
  for (const auto& C : MapX)
    for (const auto& P : C) {
      MinX = std::min(MinX, P.Pos);
      MaxX = std::max(MaxX, P.Pos);
    }
  const Integer BufW = MaxX - MinX + 1;
  std::vector<Integer> Buf(static_cast<size_t>(BufW) * 4);
  const bool Clamp = Kernel->NeedsClamping();
  auto Channel = [Clamp](Integer Sum) -> TColor32 {
    if (Clamp) return TColor32(std::min(std::max(Sum, 0), 0xFF0000)) >> 16;
    return (TColor32(Sum) >> 16) & 0xFF;
  };
  TPixelWriter Writer(Src, CombineOp, CombineCallBack);
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  // Two taps per pass through the row buffer; the vector form needs weights
  // that fit 16 bits (every kernel of the engine does).
  bool Vector = false;
#ifdef BMP32_RESAMPLERS_SSE2
  Vector = ProcessorHas(ciSSE2);
  for (const auto& C : MapY)
    for (const auto& P : C)
      if (P.Weight < -32768 || P.Weight > 32767) Vector = false;
#endif
  const TKernelRowsProc Rows = Vector ? KernelRows_SSE2 : KernelRows_Pas;
  for (Integer J = 0; J < ClipH; ++J) {
    const TCluster& CY = MapY[static_cast<size_t>(J)];
    std::fill(Buf.begin(), Buf.end(), 0);
    for (size_t T = 0; T < CY.size(); T += 2) {
      const TColor32* Row1 = Src->ScanLine(CY[T].Pos) + MinX;
      const bool Pair = T + 1 < CY.size();
      const TColor32* Row2 = Pair ? Src->ScanLine(CY[T + 1].Pos) + MinX : Row1;
      Rows(Row1, CY[T].Weight, Row2, Pair ? CY[T + 1].Weight : 0, BufW, Buf.data());
    }
    TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
    for (Integer I = 0; I < ClipW; ++I) {
      Integer SA = 0, SR = 0, SG = 0, SB = 0;
      for (const TPointRec& T : MapX[static_cast<size_t>(I)]) {
        const Integer* B = &Buf[static_cast<size_t>(T.Pos - MinX) * 4];
        SB += T.Weight * B[0];
        SG += T.Weight * B[1];
        SR += T.Weight * B[2];
        SA += T.Weight * B[3];
      }
      Writer.Put(Channel(SA) << 24 | Channel(SR) << 16 | Channel(SG) << 8 | Channel(SB), D[I]);
    }
  }
}


// ---------------------------------------------------------------------------
// Column sums of the 16-bit vertical pass (weights 0..256 summing to at most
// 256: every sum, and so every partial sum modulo 2^16, is exact)

void KernelColumnSums16_Pas(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                            Word* Buf) {
  for (Integer X = 0; X < Count; ++X) {
    Word S[4] = {0, 0, 0, 0};
    for (Integer T = 0; T < Taps; ++T) {
      const TColor32 C = Rows[T][X];
      for (int K = 0; K < 4; ++K) S[K] = Word(S[K] + Word(Weights[T] * Integer((C >> (8 * K)) & 0xFF)));
    }
    for (int K = 0; K < 4; ++K) Buf[size_t(X) * 4 + K] = S[K];
  }
}

namespace kernel_simd {
void ColumnSumsTail(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer X, Integer Count,
                    Word* Buf) {
  if (X >= Count) return;
  std::vector<const TColor32*> R(static_cast<size_t>(Taps));
  for (Integer T = 0; T < Taps; ++T) R[size_t(T)] = Rows[T] + X;
  KernelColumnSums16_Pas(R.data(), Weights, Taps, Count - X, Buf + size_t(X) * 4);
}
}  // namespace kernel_simd

#ifdef BMP32_RESAMPLERS_SSE2
void KernelColumnSums16_AVX2(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                             Word* Buf) {
  kernel_simd::KernelColumnSums16(Rows, Weights, Taps, Count, Buf);
}

void KernelColumnSums16_SSE2(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count,
                             Word* Buf) {
  const __m128i Zero = _mm_setzero_si128();
  Integer X = 0;
  for (; X + 8 <= Count; X += 8) {
    __m128i S0 = Zero, S1 = Zero, S2 = Zero, S3 = Zero;
    for (Integer T = 0; T < Taps; ++T) {
      const __m128i W = _mm_set1_epi16(short(Weights[T]));
      const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + X));
      const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[T] + X + 4));
      S0 = _mm_add_epi16(S0, _mm_mullo_epi16(_mm_unpacklo_epi8(A, Zero), W));
      S1 = _mm_add_epi16(S1, _mm_mullo_epi16(_mm_unpackhi_epi8(A, Zero), W));
      S2 = _mm_add_epi16(S2, _mm_mullo_epi16(_mm_unpacklo_epi8(B, Zero), W));
      S3 = _mm_add_epi16(S3, _mm_mullo_epi16(_mm_unpackhi_epi8(B, Zero), W));
    }
    __m128i* P = reinterpret_cast<__m128i*>(Buf + size_t(X) * 4);
    _mm_storeu_si128(P, S0);
    _mm_storeu_si128(P + 1, S1);
    _mm_storeu_si128(P + 2, S2);
    _mm_storeu_si128(P + 3, S3);
  }
  kernel_simd::ColumnSumsTail(Rows, Weights, Taps, X, Count, Buf);
}

#endif

#ifdef BMP32_RESAMPLERS_SSE2
namespace {

// The vertical pass over all taps of a cluster at once: Buf (four Integers
// per column) = sum of Weight[T] * Rows[T][X]; the taps in pairs through one
// madd, the sums kept in registers over all taps.
void KernelColumnSums(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer Count, Integer* Buf) {
  const __m128i Zero = _mm_setzero_si128();
  Integer X = 0;
  for (; X + 4 <= Count; X += 4) {
    __m128i S0 = Zero, S1 = Zero, S2 = Zero, S3 = Zero;
    for (Integer T = 0; T < Taps; T += 2) {
      const bool Pair = T + 1 < Taps;
      const TColor32* R1 = Rows[T] + X;
      const TColor32* R2 = Pair ? Rows[T + 1] + X : R1;
      const __m128i W =
          _mm_set1_epi32(Integer((Cardinal(Word(Pair ? Weights[T + 1] : 0)) << 16) | Cardinal(Word(Weights[T]))));
      const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(R1));
      const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(R2));
      const __m128i ALo = _mm_unpacklo_epi8(A, Zero), AHi = _mm_unpackhi_epi8(A, Zero);
      const __m128i BLo = _mm_unpacklo_epi8(B, Zero), BHi = _mm_unpackhi_epi8(B, Zero);
      S0 = _mm_add_epi32(S0, _mm_madd_epi16(_mm_unpacklo_epi16(ALo, BLo), W));
      S1 = _mm_add_epi32(S1, _mm_madd_epi16(_mm_unpackhi_epi16(ALo, BLo), W));
      S2 = _mm_add_epi32(S2, _mm_madd_epi16(_mm_unpacklo_epi16(AHi, BHi), W));
      S3 = _mm_add_epi32(S3, _mm_madd_epi16(_mm_unpackhi_epi16(AHi, BHi), W));
    }
    __m128i* P = reinterpret_cast<__m128i*>(Buf + size_t(X) * 4);
    _mm_storeu_si128(P, S0);
    _mm_storeu_si128(P + 1, S1);
    _mm_storeu_si128(P + 2, S2);
    _mm_storeu_si128(P + 3, S3);
  }
  if (X < Count) {
    std::fill(Buf + size_t(X) * 4, Buf + size_t(Count) * 4, 0);
    for (Integer T = 0; T < Taps; T += 2) {
      const bool Pair = T + 1 < Taps;
      KernelRows_SSE2(Rows[T] + X, Weights[T], Pair ? Rows[T + 1] + X : Rows[T] + X, Pair ? Weights[T + 1] : 0,
                      Count - X, Buf + size_t(X) * 4);
    }
  }
}

// Dense clusters of a mapping table; false when a merged weight leaves 16 bits.
bool DenseClusters(const TMappingTable& Map, std::vector<kernel_simd::TDenseCluster>& C, std::vector<Integer>& Pairs) {
  C.resize(Map.size());
  Pairs.clear();
  std::vector<Integer> W;
  for (size_t I = 0; I < Map.size(); ++I) {
    Integer Lo = std::numeric_limits<Integer>::max(), Hi = std::numeric_limits<Integer>::min();
    for (const TPointRec& T : Map[I]) {
      Lo = std::min(Lo, T.Pos);
      Hi = std::max(Hi, T.Pos);
    }
    const Integer N = Hi - Lo + 1;
    W.assign(static_cast<size_t>(N) + 1, 0);
    for (const TPointRec& T : Map[I]) W[size_t(T.Pos - Lo)] += T.Weight;
    for (const Integer V : W)
      if (V < -32768 || V > 32767) return false;
    C[I] = kernel_simd::TDenseCluster{Lo, N, Integer(Pairs.size())};
    for (Integer K = 0; K < N; K += 2)
      Pairs.push_back(Integer((Cardinal(Word(W[size_t(K) + 1])) << 16) | Cardinal(Word(W[size_t(K)]))));
  }
  return true;
}

}  // namespace
#endif

void StretchKernel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                   TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
#ifdef BMP32_RESAMPLERS_SSE2
  // Rows, in one of three orders, all with the integer sums of the
  // per-pixel form (added in another order), so the same numbers:
  //  - row weights 0..256: columns summed over a row's taps in 16-bit lanes,
  //    then the columns' clusters;
  //  - other vertical reductions: each source row filtered horizontally
  //    once, then the filtered rows a destination row needs;
  //  - otherwise: columns summed in 32-bit lanes, then the clusters.
  if (!(ProcessorFeatures().Contains(ciSSE2) && ProcessorHasSSE41()) || Src == Dst) {
    StretchKernelPerPixel(Dst, DstRect, DstClip, Src, SrcRect, Kernel, CombineOp, CombineCallBack);
    return;
  }
  if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
  if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
  TEndBlendingGuard G;
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip) || Kernel == nullptr || Src->Empty()) return;
  IntersectRects(SrcRect, SrcRect, Src->BoundsRect());
  const TMappingTable MapX =
      BuildKernelMapping(DstRect.Left, DstRect.Right, DstClip.Left, DstClip.Right, SrcRect.Left, SrcRect.Right, Kernel);
  const TMappingTable MapY =
      BuildKernelMapping(DstRect.Top, DstRect.Bottom, DstClip.Top, DstClip.Bottom, SrcRect.Top, SrcRect.Bottom, Kernel);
  if (MapX.empty() || MapY.empty()) return;
  Integer MinWY = 0, MaxWY = 0;  // the range of the row weights
  for (const auto& C : MapY)
    for (const auto& P : C) {
      MinWY = std::min(MinWY, P.Weight);
      MaxWY = std::max(MaxWY, P.Weight);
    }
  if (MinWY < -32768 || MaxWY > 32767) {
    StretchKernelPerPixel(Dst, DstRect, DstClip, Src, SrcRect, Kernel, CombineOp, CombineCallBack);
    return;
  }
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  const bool Clamp = Kernel->NeedsClamping();
  TPixelWriter Writer(Src, CombineOp, CombineCallBack);
  std::vector<TColor32> Out(static_cast<size_t>(ClipW));
  std::vector<kernel_simd::TDenseCluster> Dense;
  std::vector<Integer> Pairs;
  Integer MinX = std::numeric_limits<Integer>::max(), MaxX = std::numeric_limits<Integer>::min();
  for (const auto& C : MapX)
    for (const auto& P : C) {
      MinX = std::min(MinX, P.Pos);
      MaxX = std::max(MaxX, P.Pos);
    }
  const Integer BufW = MaxX - MinX + 1;
  // The column clusters flattened: taps Start[I] .. Start[I + 1] - 1.
  std::vector<Integer> Start(static_cast<size_t>(ClipW) + 1), Offs, Wts;
  for (Integer I = 0; I < ClipW; ++I) {
    Start[I] = Integer(Offs.size());
    for (const TPointRec& T : MapX[static_cast<size_t>(I)]) {
      Offs.push_back((T.Pos - MinX) * 4);
      Wts.push_back(T.Weight);
    }
  }
  Start[ClipW] = Integer(Offs.size());
  std::vector<const TColor32*> RowPtrs;
  std::vector<Integer> RowWts;
  // The source rows and weights of destination row J's taps.
  auto RowTaps = [&](const TCluster& CY) {
    RowPtrs.clear();
    RowWts.clear();
    for (const TPointRec& T : CY) {
      RowPtrs.push_back(Src->ScanLine(T.Pos) + MinX);
      RowWts.push_back(T.Weight);
    }
  };
  // Destination row J: Fill writes straight into it for dmOpaque, else into
  // Out, which the writer combines into it.
  auto EmitRow = [&](Integer J, auto Fill) {
    TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
    if (CombineOp == dmOpaque) {
      Fill(D);
    } else {
      Fill(Out.data());
      for (Integer I = 0; I < ClipW; ++I) Writer.Put(Out[I], D[I]);
    }
  };
  auto ClusterRange = [](const TCluster& C, Integer& Lo, Integer& Hi) {
    Lo = std::numeric_limits<Integer>::max();
    Hi = std::numeric_limits<Integer>::min();
    for (const auto& P : C) {
      Lo = std::min(Lo, P.Pos);
      Hi = std::max(Hi, P.Pos);
    }
  };
  // Row weights from 0 to 256 (they sum to 256): every column sum is at
  // most 255 * 256 and the vertical pass runs in 16-bit lanes.
  if (MinWY >= 0 && MaxWY <= 256) {
    std::vector<Word> Buf16(static_cast<size_t>(BufW) * 4 + 8);
    const TKernelColumnSums16Proc ColumnSums = ProcessorHasAVX2() ? KernelColumnSums16_AVX2 : KernelColumnSums16_SSE2;
    for (Integer J = 0; J < ClipH; ++J) {
      const TCluster& CY = MapY[static_cast<size_t>(J)];
      RowTaps(CY);
      ColumnSums(RowPtrs.data(), RowWts.data(), Integer(CY.size()), BufW, Buf16.data());
      EmitRow(J, [&](TColor32* Row) {
        kernel_simd::KernelRowSums16(Buf16.data(), Start.data(), Offs.data(), Wts.data(), ClipW, Clamp, Row);
      });
    }
    return;
  }
  // Row ranges of the destination rows; the ring needs them in order.
  bool Ordered = true;
  Integer Ring = 1;
  {
    Integer PrevLo = std::numeric_limits<Integer>::min(), PrevHi = std::numeric_limits<Integer>::min();
    for (const auto& C : MapY) {
      Integer Lo, Hi;
      ClusterRange(C, Lo, Hi);
      if (Lo < PrevLo || Hi < PrevHi) Ordered = false;
      PrevLo = Lo;
      PrevHi = Hi;
      Ring = std::max(Ring, Hi - Lo + 1);
    }
  }
  if (Ordered && RH(SrcRect) > RH(DstRect) && DenseClusters(MapX, Dense, Pairs)) {
    // A vertical reduction: each source row filtered horizontally once (the
    // source is read once, in order), the filtered rows kept in a ring as
    // long as a destination row needs them. The same integer sums, added in
    // another order.
    std::vector<Integer> H(static_cast<size_t>(Ring) * size_t(ClipW) * 4);
    Integer Done = std::numeric_limits<Integer>::min();  // the last source row filtered
    std::vector<const Integer*> HPtrs;
    for (Integer J = 0; J < ClipH; ++J) {
      const TCluster& CY = MapY[static_cast<size_t>(J)];
      Integer Lo, Hi;
      ClusterRange(CY, Lo, Hi);
      for (Integer Y = (Done == std::numeric_limits<Integer>::min() ? Lo : std::max(Lo, Done + 1)); Y <= Hi; ++Y)
        kernel_simd::KernelRowH(Src->ScanLine(Y), Dense.data(), Pairs.data(), ClipW,
                         H.data() + size_t(Y % Ring) * size_t(ClipW) * 4);
      Done = std::max(Done, Hi);
      HPtrs.clear();
      RowWts.clear();
      for (const TPointRec& T : CY) {
        HPtrs.push_back(H.data() + size_t(T.Pos % Ring) * size_t(ClipW) * 4);
        RowWts.push_back(T.Weight);
      }
      EmitRow(J, [&](TColor32* Row) {
        kernel_simd::KernelRowV(HPtrs.data(), RowWts.data(), Integer(CY.size()), ClipW, Clamp, Row);
      });
    }
    return;
  }
  std::vector<Integer> Buf(static_cast<size_t>(BufW) * 4);
  for (Integer J = 0; J < ClipH; ++J) {
    const TCluster& CY = MapY[static_cast<size_t>(J)];
    RowTaps(CY);
    KernelColumnSums(RowPtrs.data(), RowWts.data(), Integer(CY.size()), BufW, Buf.data());
    EmitRow(J, [&](TColor32* Row) {
      kernel_simd::KernelRowSums(Buf.data(), Start.data(), Offs.data(), Wts.data(), ClipW, Clamp, Row);
    });
  }
#else
  StretchKernelPerPixel(Dst, DstRect, DstClip, Src, SrcRect, Kernel, CombineOp, CombineCallBack);
#endif
}

void KernelRows_Pas(const TColor32* Row1, Integer W1, const TColor32* Row2, Integer W2, Integer Count, Integer* Buf) {
  for (Integer X = 0; X < Count; ++X, Buf += 4) {
    const TColor32 C1 = Row1[X], C2 = Row2[X];
    Buf[0] += W1 * Integer(C1 & 0xFF) + W2 * Integer(C2 & 0xFF);
    Buf[1] += W1 * Integer((C1 >> 8) & 0xFF) + W2 * Integer((C2 >> 8) & 0xFF);
    Buf[2] += W1 * Integer((C1 >> 16) & 0xFF) + W2 * Integer((C2 >> 16) & 0xFF);
    Buf[3] += W1 * Integer(C1 >> 24) + W2 * Integer(C2 >> 24);
  }
}

#ifdef BMP32_RESAMPLERS_SSE2
void KernelRows_SSE2(const TColor32* Row1, Integer W1, const TColor32* Row2, Integer W2, Integer Count, Integer* Buf) {
  const __m128i Zero = _mm_setzero_si128();
  // 16-bit lanes W1, W2, W1, W2 ...: one madd sums both taps per channel.
  const __m128i W = _mm_set1_epi32(Integer((Cardinal(Word(W2)) << 16) | Cardinal(Word(W1))));
  Integer X = 0;
  for (; X + 2 <= Count; X += 2, Buf += 8) {
    const __m128i A = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row1 + X)), Zero);
    const __m128i B = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row2 + X)), Zero);
    const __m128i Lo = _mm_madd_epi16(_mm_unpacklo_epi16(A, B), W);
    const __m128i Hi = _mm_madd_epi16(_mm_unpackhi_epi16(A, B), W);
    __m128i* P = reinterpret_cast<__m128i*>(Buf);
    _mm_storeu_si128(P, _mm_add_epi32(_mm_loadu_si128(P), Lo));
    _mm_storeu_si128(P + 1, _mm_add_epi32(_mm_loadu_si128(P + 1), Hi));
  }
  if (X < Count) KernelRows_Pas(Row1 + X, W1, Row2 + X, W2, Count - X, Buf);
}
#endif
