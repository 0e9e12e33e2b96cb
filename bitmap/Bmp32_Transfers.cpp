// Transfers: unscaled blocks, the scaled dispatcher, nearest-neighbour and
// draft stretches, and the call slots' own implementations.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define BMP32_RESAMPLERS_SSE2 1
#endif

#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_ResamplersShared.h"
#include "bitmap/Bmp32_Spans.h"

using namespace resampler_detail;

namespace resampler_detail {

void CombineRowByMode(const TColor32* S, TColor32* D, Integer W, TCustomBitmap32* Src, TDrawMode Mode,
                      const TPixelCombineEvent& CB) {
  switch (Mode) {
    case dmOpaque: MoveWords32(S, D, W); break;
    case dmBlend:
      if (Src->MasterAlpha() >= 255)
        BlendRowByMode[Src->CombineMode()](S, D, W);
      else
        BlendRowExByMode[Src->CombineMode()](S, D, W, Src->MasterAlpha());
      break;
    case dmTransparent: {
      const TColor32 Outer = Src->OuterColor();
      for (Integer I = 0; I < W; ++I)
        if (S[I] != Outer) D[I] = S[I];
      break;
    }
    case dmCustom: {
      const TColor32 M = Src->MasterAlpha();
      if (CB)
        for (Integer I = 0; I < W; ++I) CB(S[I], D[I], M);
      else
        MoveWords32(S, D, W);
      break;
    }
  }
}

}  // namespace resampler_detail

// ---------------------------------------------------------------------------
// Call slots

TColor32 AverageBlock_Pas(Integer W, Integer H, const TColor32* Src, Integer SrcPitch) {
  UInt64 SA = 0, SR = 0, SG = 0, SB = 0;
  for (Integer Y = 0; Y < H; ++Y) {
    const TColor32* P = Src + ptrdiff_t(Y) * SrcPitch;
    for (Integer X = 0; X < W; ++X) {
      const TColor32 C = P[X];
      SA += C >> 24;
      SR += (C >> 16) & 0xFF;
      SG += (C >> 8) & 0xFF;
      SB += C & 0xFF;
    }
  }
  const UInt64 N = UInt64(W) * UInt64(H);
  return TColor32(SA / N) << 24 | TColor32(SR / N) << 16 | TColor32(SG / N) << 8 | TColor32(SB / N);
}

TColor32 BilinearInterpolate_Pas(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21) {
  const TColor32 P11 = C11[0], P12 = C11[1], P21 = C21[0], P22 = C21[1];
  const Integer wx = Integer(WX), wy = Integer(WY);
  TColor32 R = 0;
  for (int Sh = 0; Sh < 32; Sh += 8) {
    const Integer A = (P11 >> Sh) & 0xFF, B = (P12 >> Sh) & 0xFF, C = (P21 >> Sh) & 0xFF, D = (P22 >> Sh) & 0xFF;
    const Integer Top = (B * 256 + (A - B) * wx) >> 8;
    const Integer Bottom = (D * 256 + (C - D) * wx) >> 8;
    const Integer V = (Bottom * 256 + (Top - Bottom) * wy) >> 8;
    R |= TColor32(V & 0xFF) << Sh;
  }
  return R;
}

#ifdef BMP32_RESAMPLERS_SSE2
TColor32 AverageBlock_SSE2(Integer W, Integer H, const TColor32* Src, Integer SrcPitch) {
  // Per row: bytes widened to 32-bit lanes (no wrap at any width); the
  // four lanes of the row total are then added into 64-bit sums.
  const __m128i Zero = _mm_setzero_si128();
  UInt64 S[4] = {0, 0, 0, 0};
  for (Integer Y = 0; Y < H; ++Y) {
    const TColor32* P = Src + ptrdiff_t(Y) * SrcPitch;
    __m128i Acc = Zero;
    Integer X = 0;
    Integer Run = 0;
    for (; X + 2 <= W; X += 2) {
      __m128i V = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P + X));
      __m128i V16 = _mm_unpacklo_epi8(V, Zero);
      Acc = _mm_add_epi32(Acc, _mm_unpacklo_epi16(V16, Zero));
      Acc = _mm_add_epi32(Acc, _mm_unpackhi_epi16(V16, Zero));
      if (++Run == 0x100000) {  // keep the 32-bit lanes far from wrapping
        alignas(16) Cardinal L[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(L), Acc);
        for (int I = 0; I < 4; ++I) S[I] += L[I];
        Acc = Zero;
        Run = 0;
      }
    }
    for (; X < W; ++X) {
      __m128i V = _mm_cvtsi32_si128(Integer(P[X]));
      Acc = _mm_add_epi32(Acc, _mm_unpacklo_epi16(_mm_unpacklo_epi8(V, Zero), Zero));
    }
    alignas(16) Cardinal L[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(L), Acc);
    for (int I = 0; I < 4; ++I) S[I] += L[I];
  }
  const UInt64 N = UInt64(W) * UInt64(H);
  // Lane 0 = blue, 1 = green, 2 = red, 3 = alpha.
  return TColor32(S[3] / N) << 24 | TColor32(S[2] / N) << 16 | TColor32(S[1] / N) << 8 | TColor32(S[0] / N);
}

TColor32 BilinearInterpolate_SSE2(Cardinal WX, Cardinal WY, const TColor32* C11, const TColor32* C21) {
  const __m128i Zero = _mm_setzero_si128();
  // 16-bit lanes: low half (C11, C21) as left pixels, high half the right ones.
  __m128i Left = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(Integer(C11[0])),
                                                      _mm_cvtsi32_si128(Integer(C21[0]))), Zero);
  __m128i Right = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(Integer(C11[1])),
                                                       _mm_cvtsi32_si128(Integer(C21[1]))), Zero);
  const __m128i Wx = _mm_set1_epi16(short(WX));
  // Right*256 + (Left - Right)*WX, shr 8 (16-bit wrap-around arithmetic is exact here).
  __m128i H = _mm_add_epi16(_mm_slli_epi16(Right, 8), _mm_mullo_epi16(_mm_sub_epi16(Left, Right), Wx));
  H = _mm_srli_epi16(H, 8);
  // H lanes 0..3 = Top, 4..7 = Bottom.
  __m128i Top = H;
  __m128i Bottom = _mm_unpackhi_epi64(H, H);
  const __m128i Wy = _mm_set1_epi16(short(WY));
  __m128i V = _mm_add_epi16(_mm_slli_epi16(Bottom, 8), _mm_mullo_epi16(_mm_sub_epi16(Top, Bottom), Wy));
  V = _mm_srli_epi16(V, 8);
  return TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(V, V)));
}
#endif

// ---------------------------------------------------------------------------
// Transfers

void CombineBlock(TCustomBitmap32* Dst, const TRect& DstRect, TCustomBitmap32* Src, Integer SrcX, Integer SrcY,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  const Integer W = DstRect.Right - DstRect.Left, H = DstRect.Bottom - DstRect.Top;
  if (W <= 0 || H <= 0) return;
  const TColor32* SrcBase = Src->PixelPtr(SrcX, SrcY);
  Integer SrcStride = Src->Width();
  std::vector<TColor32> Copy;
  if (Src == Dst) {
    // Overlapping blocks of one bitmap: read from a copy of the source block.
    const TRect SR(SrcX, SrcY, SrcX + W, SrcY + H);
    TRect I;
    if (IntersectRects(I, SR, DstRect) && !RectIsEmpty(I)) {
      Copy.resize(size_t(W) * size_t(H));
      for (Integer Y = 0; Y < H; ++Y) MoveWords32(SrcBase + ptrdiff_t(Y) * SrcStride, &Copy[size_t(Y) * W], W);
      SrcBase = Copy.data();
      SrcStride = W;
    }
  }
  for (Integer Y = 0; Y < H; ++Y)
    CombineRowByMode(SrcBase + ptrdiff_t(Y) * SrcStride, Dst->PixelPtr(DstRect.Left, DstRect.Top + Y), W, Src,
                     CombineOp, CombineCallBack);
}

void TransferBlock(TCustomBitmap32* Dst, Integer DstX, Integer DstY, TRect DstClip, TCustomBitmap32* Src,
                   TRect SrcRect, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  if (Dst == nullptr) throw EBitmapException(u"Destination bitmap is nil");
  if (Src == nullptr) throw EBitmapException(u"Source bitmap is nil");
  if (Dst->Empty() || Src->Empty() || (CombineOp == dmBlend && Src->MasterAlpha() == 0)) return;
  const Integer SrcX = SrcRect.Left, SrcY = SrcRect.Top;
  IntersectRects(DstClip, DstClip, Dst->BoundsRect());
  IntersectRects(SrcRect, SrcRect, Src->BoundsRect());
  OffsetRectSat(SrcRect, Int64(DstX) - SrcX, Int64(DstY) - SrcY);
  IntersectRects(SrcRect, DstClip, SrcRect);
  if (RectIsEmpty(SrcRect)) return;
  DstClip = SrcRect;
  OffsetRectSat(SrcRect, Int64(SrcX) - DstX, Int64(SrcY) - DstY);
  if (!Dst->MeasuringMode()) {
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    TEndBlendingGuard G;
    CombineBlock(Dst, DstClip, Src, SrcRect.Left, SrcRect.Top, CombineOp, CombineCallBack);
  }
  Dst->Changed(DstClip, AreaInfoRect);
}

void TransferStretched(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                       TCustomResampler* Resampler, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  if (Dst == nullptr) throw EBitmapException(u"Destination bitmap is nil");
  if (Src == nullptr) throw EBitmapException(u"Source bitmap is nil");
  if (RW(SrcRect) > 0 && RH(SrcRect) > 0 &&
      (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height())) {
    const Single ScaleX = Single(RW(DstRect)) / Single(RW(SrcRect));
    const Single ScaleY = Single(RH(DstRect)) / Single(RH(SrcRect));
    if (SrcRect.Left < 0) {
      DstRect.Left = SatInt(Int64(DstRect.Left) + CeilToInt(Extended(-Int64(SrcRect.Left)) * ScaleX));
      SrcRect.Left = 0;
    }
    if (SrcRect.Top < 0) {
      DstRect.Top = SatInt(Int64(DstRect.Top) + CeilToInt(Extended(-Int64(SrcRect.Top)) * ScaleY));
      SrcRect.Top = 0;
    }
    if (SrcRect.Right > Src->Width()) {
      DstRect.Right = SatInt(Int64(DstRect.Right) - FloorToInt(Extended(Int64(SrcRect.Right) - Src->Width()) * ScaleX));
      SrcRect.Right = Src->Width();
    }
    if (SrcRect.Bottom > Src->Height()) {
      DstRect.Bottom =
          SatInt(Int64(DstRect.Bottom) - FloorToInt(Extended(Int64(SrcRect.Bottom) - Src->Height()) * ScaleY));
      SrcRect.Bottom = Src->Height();
    }
  }
  if (Src->Empty() || Dst->Empty() || (CombineOp == dmBlend && Src->MasterAlpha() == 0) || RectIsEmpty(SrcRect))
    return;
  if (Dst->MeasuringMode()) {
    Dst->Changed(DstRect, AreaInfoRect);
    return;
  }
  IntersectRects(DstClip, DstClip, Dst->BoundsRect());
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip)) return;
  if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
  {
    TEndBlendingGuard G;
    if (RW(DstRect) == RW(SrcRect) && RH(DstRect) == RH(SrcRect))
      CombineBlock(Dst, DstClip, Src, SrcRect.Left + DstClip.Left - DstRect.Left,
                   SrcRect.Top + DstClip.Top - DstRect.Top, CombineOp, CombineCallBack);
    else if (Resampler != nullptr)
      Resampler->Resample(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    else
      StretchNearestNeighbour(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
  }
  Dst->Changed(DstRect, AreaInfoRect);
}


// ---------------------------------------------------------------------------
// Stretch routines

void StretchNearestNeighbour(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                             TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip)) return;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height())
    throw Exception(u"Invalid SrcRect");
  if (RectIsEmpty(SrcRect) || Src->Empty()) return;
  if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
  const Int64 SrcW = RW(SrcRect), SrcH = RH(SrcRect), DstW = RW(DstRect), DstH = RH(DstRect);
  if (SrcW == DstW && SrcH == DstH) {
    CombineBlock(Dst, DstClip, Src, SrcRect.Left + DstClip.Left - DstRect.Left, SrcRect.Top + DstClip.Top - DstRect.Top,
                 CombineOp, CombineCallBack);
    return;
  }
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  std::vector<Integer> MapX(static_cast<size_t>(ClipW));
  if (DstW < 2) {
    std::fill(MapX.begin(), MapX.end(), Integer((Int64(SrcRect.Left) + SrcRect.Right - 1) / 2));
  } else {
    const Single Scale = Single(SrcW) / Single(DstW);
    const Int64 Off = Int64(DstClip.Left) - DstRect.Left;
    for (Integer I = 0; I < ClipW; ++I) {
      Integer V = TruncToInt(Extended(I + Off) * Scale + SrcRect.Left);
      MapX[I] = std::clamp(V, SrcRect.Left, SrcRect.Right - 1);
    }
  }
  auto MapRow = [&](Integer J) -> Integer {
    if (DstH < 2) return Integer((Int64(SrcRect.Top) + SrcRect.Bottom - 1) / 2);
    const Int64 N = (J + Int64(DstClip.Top) - DstRect.Top) * SrcH;
    const Integer V = TruncToInt(Extended(N) / Extended(DstH) + SrcRect.Top);
    return std::clamp(V, SrcRect.Top, SrcRect.Bottom - 1);
  };
  if (CombineOp == dmOpaque) {
    Integer PrevRow = std::numeric_limits<Integer>::min();
    for (Integer J = 0; J < ClipH; ++J) {
      const Integer SY = MapRow(J);
      TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
      if (SY == PrevRow) {
        MoveWords32(Dst->PixelPtr(DstClip.Left, DstClip.Top + J - 1), D, ClipW);
      } else {
        const TColor32* S = Src->ScanLine(SY);
        for (Integer I = 0; I < ClipW; ++I) D[I] = S[MapX[I]];
      }
      PrevRow = SY;
    }
    return;
  }
  std::vector<TColor32> Buffer(static_cast<size_t>(ClipW));
  Integer PrevRow = std::numeric_limits<Integer>::min();
  TEndBlendingGuard G;
  for (Integer J = 0; J < ClipH; ++J) {
    const Integer SY = MapRow(J);
    if (SY != PrevRow) {
      const TColor32* S = Src->ScanLine(SY);
      for (Integer I = 0; I < ClipW; ++I) Buffer[I] = S[MapX[I]];
      PrevRow = SY;
    }
    CombineRowByMode(Buffer.data(), Dst->PixelPtr(DstClip.Left, DstClip.Top + J), ClipW, Src, CombineOp,
                     CombineCallBack);
  }
}


void StretchDraft(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                  TCustomKernel* Kernel, TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  const Int64 SrcW = RW(SrcRect), SrcH = RH(SrcRect), DstW = RW(DstRect), DstH = RH(DstRect);
  if (SrcW < DstW || SrcH < DstH) {
    if (SrcW < 2 || SrcH < 2)
      StretchKernel(Dst, DstRect, DstClip, Src, SrcRect, Kernel, CombineOp, CombineCallBack);
    else
      StretchBilinear(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    return;
  }
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip) || SrcW <= 0 || SrcH <= 0 || DstW <= 0 || DstH <= 0) return;
  const Single ScaleX = Single(SrcW) / Single(DstW), ScaleY = Single(SrcH) / Single(DstH);
  const Integer SrcX0 = SrcRect.Left + TruncToInt(Extended(Int64(DstClip.Left) - DstRect.Left) * ScaleX);
  const Integer SrcY0 = SrcRect.Top + TruncToInt(Extended(Int64(DstClip.Top) - DstRect.Top) * ScaleY);
  const Int64 FX = TruncToInt(Extended(ScaleX) * 65536), FY = TruncToInt(Extended(ScaleY) * 65536);
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  auto Bounds = [](Integer N, Single Scale, Int64 F, Integer Limit) {
    std::vector<Integer> B(static_cast<size_t>(N) + 1);
    B[0] = 0;
    if (N >= 1) B[1] = TruncToInt(Scale);
    for (Integer K = 2; K <= N; ++K) B[K] = Integer((K * F) >> 16);
    // Blocks stay inside the source rectangle.
    for (auto& V : B) V = std::min(V, Limit);
    return B;
  };
  const auto BX = Bounds(ClipW, ScaleX, FX, Integer(SrcRect.Right - SrcX0));
  const auto BY = Bounds(ClipH, ScaleY, FY, Integer(SrcRect.Bottom - SrcY0));
  TPixelWriter Writer(Src, CombineOp, CombineCallBack);
  TEndBlendingGuard G;
  const TAverageBlockProc Avg = AverageBlock;
  const Integer Pitch = Src->Width();
  for (Integer J = 0; J < ClipH; ++J) {
    const Integer BH = BY[J + 1] - BY[J];
    if (BH <= 0) continue;
    TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
    for (Integer I = 0; I < ClipW; ++I) {
      const Integer BW = BX[I + 1] - BX[I];
      if (BW <= 0) continue;
      Writer.Put(Avg(BW, BH, Src->PixelPtr(SrcX0 + BX[I], SrcY0 + BY[J]), Pitch), D[I]);
    }
  }
}
