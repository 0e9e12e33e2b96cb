#include "bitmap/Bmp32_Resamplers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#include <immintrin.h>
#include <smmintrin.h>
#define BMP32_RESAMPLERS_SSE2 1
#endif

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Spans.h"

TAverageBlockProc AverageBlock = AverageBlock_Pas;
TBilinearInterpolateProc BilinearInterpolate = BilinearInterpolate_Pas;
TClassList* ResamplerList = nullptr;

namespace {

Integer SatInt(Int64 V) {
  if (V > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (V < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(V);
}

void OffsetRectSat(TRect& R, Int64 Dx, Int64 Dy) {
  R.Left = SatInt(R.Left + Dx);
  R.Top = SatInt(R.Top + Dy);
  R.Right = SatInt(R.Right + Dx);
  R.Bottom = SatInt(R.Bottom + Dy);
}

// RoundToInt, FloorToInt and CeilToInt of the per-column set-up, with their
// results (half to even on the extended value, saturated, NaN gives 0) but
// without saving the floating-point environment per call.
inline Integer SatIntegral(Extended V) {
  if (V != V) return 0;
  if (V >= 2147483647.0L) return std::numeric_limits<Integer>::max();
  if (V <= -2147483648.0L) return std::numeric_limits<Integer>::min();
  return Integer(static_cast<double>(V));  // integral and in range: exact
}
inline Integer RoundInt(Extended X) { return SatIntegral(__builtin_rintl(X)); }
inline Integer FloorInt(Extended X) {
  Extended R = __builtin_rintl(X);
  if (R > X) R -= 1;
  return SatIntegral(R);
}
inline Integer CeilInt(Extended X) {
  Extended R = __builtin_rintl(X);
  if (R < X) R += 1;
  return SatIntegral(R);
}

inline Int64 RW(const TRect& R) { return Int64(R.Right) - R.Left; }
inline Int64 RH(const TRect& R) { return Int64(R.Bottom) - R.Top; }

// The per-pixel write of the stretch routines.
class TPixelWriter {
 public:
  TPixelWriter(TCustomBitmap32* Src, TDrawMode Mode, const TPixelCombineEvent& CB)
      : FMode(Mode), FCB(CB), FMaster(Src->MasterAlpha()), FOuter(Src->OuterColor()),
        FBlend(BlendIntoExByMode[Src->CombineMode()]) {
    if (FMode == dmCustom && !FCB) FMode = dmOpaque;
  }
  inline void Put(TColor32 Col, TColor32& Pix) const {
    switch (FMode) {
      case dmOpaque: Pix = Col; break;
      case dmBlend: FBlend(Col, Pix, FMaster); break;
      case dmTransparent:
        if (Col != FOuter) Pix = Col;
        break;
      case dmCustom: FCB(Col, Pix, FMaster); break;
    }
  }

 private:
  TDrawMode FMode;
  const TPixelCombineEvent& FCB;
  TColor32 FMaster;
  TColor32 FOuter;
  TBlendMemEx FBlend;
};

// Combines a row of W source pixels with a destination row by draw mode
// (the row forms of CombineBlock).
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

struct TEndBlendingGuard {
  ~TEndBlendingGuard() { EndBlending(); }
};

}  // namespace

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

namespace {

struct TBilinearEntry {
  Integer Pos;
  Integer Weight;
};

// One axis of StretchBilinear: clip index -> (Pos, weight of Pos).
std::vector<TBilinearEntry> BilinearMap(Integer ClipLo, Integer ClipW, Integer DstLo, Int64 DstW, Integer SrcLo,
                                        Integer SrcHi, Int64 SrcW, Integer SrcLimit) {
  std::vector<TBilinearEntry> Map(static_cast<size_t>(ClipW));
  const Single Scale = Single(SrcW) / Single(DstW);
  for (Integer I = 0; I < ClipW; ++I) {
    const Int64 X = I + Int64(ClipLo) - DstLo;
    Single Fx = Single(Extended(Scale) * (Extended(X) + 0.5L) + (Extended(SrcLo) - 0.5L));
    if (Fx < 0) Fx = 0;
    if (Fx > Single(SrcLimit - 1)) Fx = Single(SrcLimit - 1);
    const Integer Pos = FloorInt(Fx);
    const Extended Frac = Extended(Fx) - Pos;
    Map[I].Pos = Pos;
    Map[I].Weight = 256 - RoundInt(Frac * 256);
  }
  for (Integer I = ClipW - 1; I >= 0; --I) {
    if (Map[I].Pos + 1 != SrcHi) break;
    Map[I].Pos = Map[I].Pos - 1;
    Map[I].Weight = 0;
  }
  return Map;
}

}  // namespace

void StretchBilinearPerPixel(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                     TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip) || RW(SrcRect) < 2 || RH(SrcRect) < 2 || Src->Empty()) return;
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  const auto MapX = BilinearMap(DstClip.Left, ClipW, DstRect.Left, RW(DstRect), SrcRect.Left, SrcRect.Right,
                                RW(SrcRect), Src->Width());
  const auto MapY = BilinearMap(DstClip.Top, ClipH, DstRect.Top, RH(DstRect), SrcRect.Top, SrcRect.Bottom,
                                RH(SrcRect), Src->Height());
  TPixelWriter Writer(Src, CombineOp, CombineCallBack);
  TEndBlendingGuard G;
  const TBilinearInterpolateProc Interp = BilinearInterpolate;
  for (Integer J = 0; J < ClipH; ++J) {
    const Integer SY = MapY[J].Pos;
    const Cardinal WY = Cardinal(MapY[J].Weight);
    const TColor32* Row0 = Src->ScanLine(SY);
    const TColor32* Row1 = Src->ScanLine(SY + 1);
    TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
    for (Integer I = 0; I < ClipW; ++I) {
      const Integer SX = MapX[I].Pos;
      Writer.Put(Interp(Cardinal(MapX[I].Weight), WY, Row0 + SX, Row1 + SX), D[I]);
    }
  }
}

#ifdef BMP32_RESAMPLERS_SSE2
namespace {

// One source row interpolated horizontally at every destination column:
// per channel (Right * 256 + (Left - Right) * WX) shr 8, as the first step
// of BilinearInterpolate. WX16 holds each column's weight four times.
void BilinearRowH(const TColor32* Row, const Integer* Pos, const Word* WX16, Integer Count, TColor32* Out) {
  const __m128i Zero = _mm_setzero_si128();
  Integer I = 0;
  for (; I + 2 <= Count; I += 2) {
    const __m128i P0 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row + Pos[I])), Zero);
    const __m128i P1 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row + Pos[I + 1])), Zero);
    const __m128i L = _mm_unpacklo_epi64(P0, P1), R = _mm_unpackhi_epi64(P0, P1);
    const __m128i W = _mm_loadu_si128(reinterpret_cast<const __m128i*>(WX16 + 4 * I));
    const __m128i H = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(R, 8), _mm_mullo_epi16(_mm_sub_epi16(L, R), W)), 8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + I), _mm_packus_epi16(H, H));
  }
  for (; I < Count; ++I) {
    const __m128i P = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row + Pos[I])), Zero);
    const __m128i R = _mm_unpackhi_epi64(P, P);
    const __m128i W = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(WX16 + 4 * I));
    const __m128i H = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(R, 8), _mm_mullo_epi16(_mm_sub_epi16(P, R), W)), 8);
    Out[I] = TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(H, H)));
  }
}

// The vertical step: per channel (Bottom * 256 + (Top - Bottom) * WY) shr 8.
void BilinearRowV(const TColor32* Top, const TColor32* Bottom, Cardinal WY, Integer Count, TColor32* Out) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i W = _mm_set1_epi16(short(WY));
  Integer I = 0;
  auto Mix = [&](__m128i T, __m128i B) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(B, 8), _mm_mullo_epi16(_mm_sub_epi16(T, B), W)), 8);
  };
  for (; I + 4 <= Count; I += 4) {
    const __m128i T = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Top + I));
    const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bottom + I));
    const __m128i Lo = Mix(_mm_unpacklo_epi8(T, Zero), _mm_unpacklo_epi8(B, Zero));
    const __m128i Hi = Mix(_mm_unpackhi_epi8(T, Zero), _mm_unpackhi_epi8(B, Zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + I), _mm_packus_epi16(Lo, Hi));
  }
  for (; I < Count; ++I) {
    const __m128i V = Mix(_mm_unpacklo_epi8(_mm_cvtsi32_si128(Integer(Top[I])), Zero),
                          _mm_unpacklo_epi8(_mm_cvtsi32_si128(Integer(Bottom[I])), Zero));
    Out[I] = TColor32(_mm_cvtsi128_si32(_mm_packus_epi16(V, V)));
  }
}

}  // namespace
#endif

void StretchBilinear(TCustomBitmap32* Dst, TRect DstRect, TRect DstClip, TCustomBitmap32* Src, TRect SrcRect,
                     TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
#ifdef BMP32_RESAMPLERS_SSE2
  // Rows: each source row is interpolated horizontally once (an enlargement
  // reuses it for several destination rows), then pairs of rows vertically;
  // the numbers are those of the interpolation slot's implementations.
  const bool Rows = ProcessorHas(ciSSE2) && Src != Dst &&
                    (BilinearInterpolate == BilinearInterpolate_Pas || BilinearInterpolate == BilinearInterpolate_SSE2);
  if (!Rows) {
    StretchBilinearPerPixel(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    return;
  }
  IntersectRects(DstClip, DstClip, TRect(0, 0, Dst->Width(), Dst->Height()));
  IntersectRects(DstClip, DstClip, DstRect);
  if (RectIsEmpty(DstClip) || RW(SrcRect) < 2 || RH(SrcRect) < 2 || Src->Empty()) return;
  const Integer ClipW = DstClip.Right - DstClip.Left, ClipH = DstClip.Bottom - DstClip.Top;
  const auto MapX = BilinearMap(DstClip.Left, ClipW, DstRect.Left, RW(DstRect), SrcRect.Left, SrcRect.Right,
                                RW(SrcRect), Src->Width());
  const auto MapY = BilinearMap(DstClip.Top, ClipH, DstRect.Top, RH(DstRect), SrcRect.Top, SrcRect.Bottom,
                                RH(SrcRect), Src->Height());
  std::vector<Integer> PosX(static_cast<size_t>(ClipW));
  std::vector<Word> WX16(static_cast<size_t>(ClipW) * 4);
  for (Integer I = 0; I < ClipW; ++I) {
    PosX[I] = MapX[I].Pos;
    for (int K = 0; K < 4; ++K) WX16[size_t(I) * 4 + K] = Word(MapX[I].Weight);
  }
  std::vector<TColor32> H0(static_cast<size_t>(ClipW)), H1(H0.size()), Out(H0.size());
  Integer Row0 = std::numeric_limits<Integer>::min();  // the source row held in H0 (H1 holds the next)
  TPixelWriter Writer(Src, CombineOp, CombineCallBack);
  TEndBlendingGuard G;
  for (Integer J = 0; J < ClipH; ++J) {
    const Integer SY = MapY[J].Pos;
    if (SY != Row0) {
      if (Row0 != std::numeric_limits<Integer>::min() && SY == Row0 + 1) {
        std::swap(H0, H1);
      } else {
        BilinearRowH(Src->ScanLine(SY), PosX.data(), WX16.data(), ClipW, H0.data());
      }
      BilinearRowH(Src->ScanLine(SY + 1), PosX.data(), WX16.data(), ClipW, H1.data());
      Row0 = SY;
    }
    TColor32* D = Dst->PixelPtr(DstClip.Left, DstClip.Top + J);
    if (CombineOp == dmOpaque) {
      BilinearRowV(H0.data(), H1.data(), Cardinal(MapY[J].Weight), ClipW, D);
    } else {
      BilinearRowV(H0.data(), H1.data(), Cardinal(MapY[J].Weight), ClipW, Out.data());
      for (Integer I = 0; I < ClipW; ++I) Writer.Put(Out[I], D[I]);
    }
  }
#else
  StretchBilinearPerPixel(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
#endif
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

#ifdef BMP32_RESAMPLERS_SSE2
namespace {
// The rows advanced by X, for the remaining columns.
void ColumnSumsTail(const TColor32* const* Rows, const Integer* Weights, Integer Taps, Integer X, Integer Count,
                    Word* Buf) {
  if (X >= Count) return;
  std::vector<const TColor32*> R(static_cast<size_t>(Taps));
  for (Integer T = 0; T < Taps; ++T) R[size_t(T)] = Rows[T] + X;
  KernelColumnSums16_Pas(R.data(), Weights, Taps, Count - X, Buf + size_t(X) * 4);
}
}  // namespace

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
  ColumnSumsTail(Rows, Weights, Taps, X, Count, Buf);
}

__attribute__((target("avx2"))) void KernelColumnSums16_AVX2(const TColor32* const* Rows, const Integer* Weights,
                                                                Integer Taps, Integer Count, Word* Buf) {
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

// KernelRowSums_SSE41 over 16-bit column sums.
__attribute__((target("sse4.1"))) void KernelRowSums16_SSE41(const Word* Buf, const Integer* Start,
                                                                const Integer* Offs, const Integer* Wts, Integer Count,
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
__attribute__((target("sse4.1"))) void KernelRowSums_SSE41(const Integer* Buf, const Integer* Start,
                                                              const Integer* Offs, const Integer* Wts, Integer Count,
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

// A destination column's taps merged into one contiguous source range:
// pixels Lo .. Lo + N - 1, weights in pairs (16 bits each) from Pairs[Off].
struct TDenseCluster {
  Integer Lo, N, Off;
};

// Dense clusters of a mapping table; false when a merged weight leaves 16 bits.
bool DenseClusters(const TMappingTable& Map, std::vector<TDenseCluster>& C, std::vector<Integer>& Pairs) {
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
    C[I] = TDenseCluster{Lo, N, Integer(Pairs.size())};
    for (Integer K = 0; K < N; K += 2)
      Pairs.push_back(Integer((Cardinal(Word(W[size_t(K) + 1])) << 16) | Cardinal(Word(W[size_t(K)]))));
  }
  return true;
}

// One source row filtered horizontally: four Integers (blue, green, red,
// alpha) per destination column, the weighted sum of its range.
__attribute__((target("sse4.1"))) void KernelRowH_SSE41(const TColor32* Row, const TDenseCluster* C,
                                                           const Integer* Pairs, Integer Count, Integer* Out) {
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
__attribute__((target("sse4.1"))) void KernelRowV_SSE41(const Integer* const* Rows, const Integer* Weights,
                                                           Integer Taps, Integer Count, bool Clamp, TColor32* Out) {
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
  std::vector<TDenseCluster> Dense;
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
        KernelRowSums16_SSE41(Buf16.data(), Start.data(), Offs.data(), Wts.data(), ClipW, Clamp, Row);
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
        KernelRowH_SSE41(Src->ScanLine(Y), Dense.data(), Pairs.data(), ClipW,
                         H.data() + size_t(Y % Ring) * size_t(ClipW) * 4);
      Done = std::max(Done, Hi);
      HPtrs.clear();
      RowWts.clear();
      for (const TPointRec& T : CY) {
        HPtrs.push_back(H.data() + size_t(T.Pos % Ring) * size_t(ClipW) * 4);
        RowWts.push_back(T.Weight);
      }
      EmitRow(J, [&](TColor32* Row) {
        KernelRowV_SSE41(HPtrs.data(), RowWts.data(), Integer(CY.size()), ClipW, Clamp, Row);
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
      KernelRowSums_SSE41(Buf.data(), Start.data(), Offs.data(), Wts.data(), ClipW, Clamp, Row);
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

// ---------------------------------------------------------------------------
// TNearestResampler

TClassRef TNearestResampler::Class() {
  static const TClassDesc Desc{u"TNearestResampler", [](TObject* Arg) -> TObject* {
                                 return new TNearestResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

void TNearestResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                 TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                 const TPixelCombineEvent& CombineCallBack) {
  StretchNearestNeighbour(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
}

void TNearestResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FBoundMode = FPixelAccessMode;
}

TColor32 TNearestResampler::GetPixelTransparentEdge(Integer X, Integer Y) const {
  const TRect& C = FClipRect;
  if (RectIsEmpty(C)) return 0;
  const Integer X1 = std::clamp(X, C.Left, C.Right - 1), Y1 = std::clamp(Y, C.Top, C.Bottom - 1);
  TColor32 P = FBitmap->GetPixel(X1, Y1);
  if (X1 != X || Y1 != Y) P &= 0x00FFFFFFu;
  return P;
}

TColor32 TNearestResampler::GetSampleInt(Integer X, Integer Y) {
  switch (FBoundMode) {
    case pamUnsafe: return FBitmap->GetPixel(X, Y);
    case pamSafe: return FBitmap->GetPixelS(X, Y);
    case pamWrap: return FBitmap->GetPixelW(X, Y);
    case pamTransparentEdge: return GetPixelTransparentEdge(X, Y);
  }
  return 0;
}

TColor32 TNearestResampler::GetSampleFixed(TFixed X, TFixed Y) {
  return GetSampleInt(FixedToIntRound(X), FixedToIntRound(Y));
}

TColor32 TNearestResampler::GetSampleFloat(Single X, Single Y) { return GetSampleInt(RoundToInt(X), RoundToInt(Y)); }

// ---------------------------------------------------------------------------
// TLinearResampler

TClassRef TLinearResampler::Class() {
  static const TClassDesc Desc{u"TLinearResampler", [](TObject* Arg) -> TObject* {
                                 return new TLinearResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

TLinearResampler::TLinearResampler() : FLinearKernel(new TLinearKernel()) {}
TLinearResampler::TLinearResampler(TCustomBitmap32* ABitmap)
    : TCustomResampler(ABitmap), FLinearKernel(new TLinearKernel()) {}
TLinearResampler::~TLinearResampler() { delete FLinearKernel; }

void TLinearResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
  if (RW(DstRect) > RW(SrcRect) && RH(DstRect) > RH(SrcRect) && RW(SrcRect) >= 2 && RH(SrcRect) >= 2)
    StretchBilinear(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
  else
    StretchKernel(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
}

void TLinearResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FBoundMode = FPixelAccessMode;
}

TColor32 TLinearResampler::GetPixelTransparentEdge(TFixed X, TFixed Y) const {
  const TRect& C = FClipRect;
  if (RectIsEmpty(C)) return 0;
  const Integer Cx = X >> 16, Cy = Y >> 16;
  const Integer R1 = C.Right - 1, B1 = C.Bottom - 1;
  if (C.Left <= Cx && Cx < R1 && C.Top <= Cy && Cy < B1) {
    TColor32 R = FBitmap->GetPixel256(Integer(Cardinal(X) >> 8), Integer(Cardinal(Y) >> 8));
    EndBlending();
    return R;
  }
  if (Int64(Cx) < Int64(C.Left) - 1 || Int64(Cy) < Int64(C.Top) - 1 || Cx > R1 || Cy > B1) return 0;
  auto Sign = [](Integer V) { return V > 0 ? 1 : (V < 0 ? -1 : 0); };
  const Integer X1 = std::clamp(Cx, 0, R1), X2 = std::clamp(Cx + Sign(X), 0, R1);
  const Integer Y1 = std::clamp(Cy, 0, B1), Y2 = std::clamp(Cy + Sign(Y), 0, B1);
  TColor32 P11 = FBitmap->GetPixel(X1, Y1), P21 = FBitmap->GetPixel(X2, Y1);
  TColor32 P12 = FBitmap->GetPixel(X1, Y2), P22 = FBitmap->GetPixel(X2, Y2);
  if (Int64(C.Left) * 65536 >= X) {
    P11 &= 0x00FFFFFFu;
    P12 &= 0x00FFFFFFu;
  } else if (Cx == R1) {
    P21 &= 0x00FFFFFFu;
    P22 &= 0x00FFFFFFu;
  }
  if (Int64(C.Top) * 65536 >= Y) {
    P11 &= 0x00FFFFFFu;
    P21 &= 0x00FFFFFFu;
  } else if (Cy == B1) {
    P12 &= 0x00FFFFFFu;
    P22 &= 0x00FFFFFFu;
  }
  const TColor32 WX = GammaCurve[((Cardinal(X) >> 8) & 255) ^ 255];
  const TColor32 WY = GammaCurve[((Cardinal(Y) >> 8) & 255) ^ 255];
  const TColor32 Top = CombineColors(P11, P21, WX);
  const TColor32 Bottom = CombineColors(P12, P22, WX);
  const TColor32 R = CombineColors(Top, Bottom, WY);
  EndBlending();
  return R;
}

TColor32 TLinearResampler::GetSampleFixed(TFixed X, TFixed Y) {
  switch (FBoundMode) {
    case pamUnsafe: return FBitmap->GetPixelFixed(X, Y);
    case pamSafe: return FBitmap->GetPixelFixedS(X, Y);
    case pamWrap: return FBitmap->GetPixelFixedW(X, Y);
    case pamTransparentEdge: return GetPixelTransparentEdge(X, Y);
  }
  return 0;
}

TColor32 TLinearResampler::GetSampleFloat(Single X, Single Y) {
  return GetSampleFixed(RoundToInt(Extended(X) * 65536), RoundToInt(Extended(Y) * 65536));
}

// ---------------------------------------------------------------------------
// TDraftResampler

TClassRef TDraftResampler::Class() {
  static const TClassDesc Desc{u"TDraftResampler", [](TObject* Arg) -> TObject* {
                                 return new TDraftResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

void TDraftResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                               TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                               const TPixelCombineEvent& CombineCallBack) {
  StretchDraft(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
}

// ---------------------------------------------------------------------------
// TKernelResampler

TClassRef TKernelResampler::Class() {
  static const TClassDesc Desc{u"TKernelResampler", [](TObject* Arg) -> TObject* {
                                 return new TKernelResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

TKernelResampler::TKernelResampler() { Init(); }
TKernelResampler::TKernelResampler(TCustomBitmap32* ABitmap) : TCustomResampler(ABitmap) { Init(); }

void TKernelResampler::Init() {
  FKernel = new TBoxKernel();
  FTableSize = 32;
}

TKernelResampler::~TKernelResampler() {
  delete FWeightTable;
  delete FKernel;
}

Single TKernelResampler::GetWidth() const { return FKernel->GetWidth(); }

void TKernelResampler::SetKernel(TCustomKernel* Value) {
  if (Value == nullptr || Value == FKernel) return;
  delete FKernel;
  FKernel = Value;
  Changed();
}

String TKernelResampler::KernelClassName() const { return FKernel != nullptr ? FKernel->ClassName() : String(); }

void TKernelResampler::SetKernelClassName(const String& Value) {
  if (Value.empty() || Value == KernelClassName() || KernelList == nullptr) return;
  TClassRef C = KernelList->Find(Value);
  if (C == nullptr) return;
  TCustomKernel* K = CreateKernel(C);
  if (K == nullptr) return;
  delete FKernel;
  FKernel = K;
  Changed();
}

void TKernelResampler::SetKernelMode(TKernelMode Value) {
  if (Value != FKernelMode) {
    FKernelMode = Value;
    Changed();
  }
}

void TKernelResampler::SetTableSize(Integer Value) {
  if (Value < 2) Value = 2;
  if (Value != FTableSize) {
    FTableSize = Value;
    Changed();
  }
}

void TKernelResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
  StretchKernel(Dst, DstRect, DstClip, Src, SrcRect, FKernel, CombineOp, CombineCallBack);
}

void TKernelResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FOuterColor = FBitmap != nullptr ? FBitmap->OuterColor() : 0;
  delete FWeightTable;
  FWeightTable = nullptr;
  FPreparedMode = FKernelMode;
  if (FKernelMode == kmTableNearest || FKernelMode == kmTableLinear) {
    const Integer W = std::max(0, CeilToInt(FKernel->GetWidth()));
    FWeightTable = new TIntegerMap(2 * W + 1, FTableSize + 1);
    for (Integer R = 0; R <= FTableSize; ++R) {
      const Single F = Single(R) / Single(FTableSize - 1);
      Integer Sum = 0;
      for (Integer J = -W; J <= W; ++J) {
        const Integer V = RoundToInt(Extended(FKernel->Filter(Single(J + F))) * 256);
        FWeightTable->SetValue(W + J, R, V);
        Sum += V;
      }
      FWeightTable->SetValue(W, R, FWeightTable->Value(W, R) + 256 - Sum);
    }
  }
}

void TKernelResampler::FinalizeSampling() {
  delete FWeightTable;
  FWeightTable = nullptr;
  TCustomResampler::FinalizeSampling();
}

TColor32 TKernelResampler::GetSampleFloat(Single X, Single Y) {
  // The table (when there is one) decides the tap range; a mode change after
  // PrepareSampling falls back to evaluating the kernel.
  const bool UseTable = FWeightTable != nullptr;
  const TKernelMode Mode = UseTable ? FPreparedMode : kmDynamic;
  const Integer W = UseTable ? (FWeightTable->Width() - 1) / 2 : std::max(0, CeilToInt(FKernel->GetWidth()));
  const Integer TS = UseTable ? FWeightTable->Height() - 1 : FTableSize;
  const Integer Cx = CeilToInt(X), Cy = CeilToInt(Y);
  const TRect& C = FClipRect;
  const TPixelAccessMode PAM = FPixelAccessMode;
  if (RectIsEmpty(C) || FBitmap == nullptr || FBitmap->Empty()) return PAM == pamTransparentEdge ? 0 : FOuterColor;

  Integer I0 = -W, I1 = W, J0 = -W, J1 = W;
  if (PAM == pamSafe || PAM == pamTransparentEdge) {
    if (Cx < C.Left || Cx > C.Right || Cy < C.Top || Cy > C.Bottom) return PAM == pamSafe ? FOuterColor : 0;
    I0 = std::max<Int64>(-W, Int64(C.Left) - Cx);
    I1 = std::min<Int64>(W, Int64(C.Right) - Cx - 1);
    J0 = std::max<Int64>(-W, Int64(C.Top) - Cy);
    J1 = std::min<Int64>(W, Int64(C.Bottom) - Cy - 1);
  }
  const Single Fx = Single(Extended(Cx) - X), Fy = Single(Extended(Cy) - Y);

  // Weights on the stack for the usual widths (up to 16 taps each side).
  Integer HWs[33], VWs[33];
  std::vector<Integer> HWv, VWv;
  Integer* HW = HWs + W;
  Integer* VW = VWs + W;
  if (W > 16) {
    HWv.resize(static_cast<size_t>(2 * W + 1));
    VWv.resize(static_cast<size_t>(2 * W + 1));
    HW = HWv.data() + W;
    VW = VWv.data() + W;
  }
  auto Weights = [&](Single F, Integer* Out) {
    switch (Mode) {
      case kmDynamic: {
        Integer Sum = 0;
        for (Integer I = -W; I <= W; ++I) {
          Out[I] = RoundToInt(Extended(FKernel->Filter(Single(I + F))) * 256);
          Sum += Out[I];
        }
        Out[0] += 256 - Sum;
        break;
      }
      case kmTableNearest: {
        const Integer Row = std::clamp(RoundToInt(Extended(F) * (TS - 1)), 0, TS);
        for (Integer I = -W; I <= W; ++I) Out[I] = FWeightTable->Value(W + I, Row);
        break;
      }
      case kmTableLinear: {
        const Integer P = RoundToInt(Extended(F) * (TS - 1) * 65536);
        const Integer R = std::clamp(P >> 16, 0, TS - 1), Fr = P & 0xFFFF;
        Integer Sum = 0;
        for (Integer I = -W; I <= W; ++I) {
          const Int64 T0 = FWeightTable->Value(W + I, R), T1 = FWeightTable->Value(W + I, R + 1);
          Out[I] = Integer(T0 + ((T1 - T0) * Fr + 0x7FFF) / 65536);
          Sum += Out[I];
        }
        Out[0] += 256 - Sum;
        break;
      }
    }
  };
  Weights(Fx, HW);
  Weights(Fy, VW);

  TWrapProcEx WrapX = nullptr, WrapY = nullptr;
  if (PAM == pamWrap) {
    WrapX = WrapRoutineForRange(FBitmap->WrapMode(), C.Left, C.Right - 1);
    WrapY = WrapRoutineForRange(FBitmap->WrapMode(), C.Top, C.Bottom - 1);
  }
  // Premultiplied contribution of one colour.
  auto Premul = [](TColor32 P, Int64& A, Int64& R, Int64& G, Int64& B, Int64 Wt) {
    const Integer a = Integer(P >> 24);
    if (a == 0) return;
    A += Wt * a;
    Integer r = (P >> 16) & 0xFF, g = (P >> 8) & 0xFF, b = P & 0xFF;
    if (a < 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
    }
    R += Wt * r;
    G += Wt * g;
    B += Wt * b;
  };
  Int64 SA = 0, SR = 0, SG = 0, SB = 0;
  for (Integer J = -W; J <= W; ++J) {
    if (VW[J] == 0) continue;
    const bool RowIn = J >= J0 && J <= J1;
    Int64 RA = 0, RR = 0, RG = 0, RB = 0;
    for (Integer I = -W; I <= W; ++I) {
      const bool In = RowIn && I >= I0 && I <= I1;
      if (PAM == pamWrap) {
        const Integer PX = WrapX(SatInt(Int64(Cx) + I), C.Left, C.Right - 1);
        const Integer PY = WrapY(SatInt(Int64(Cy) + J), C.Top, C.Bottom - 1);
        Premul(FBitmap->GetPixel(PX, PY), RA, RR, RG, RB, HW[I]);
      } else if (PAM == pamUnsafe || In) {
        Premul(FBitmap->GetPixel(Cx + I, Cy + J), RA, RR, RG, RB, HW[I]);
      } else if (PAM == pamSafe) {
        Premul(FOuterColor, RA, RR, RG, RB, HW[I]);
      }
    }
    SA += RA * VW[J];
    SR += RR * VW[J];
    SG += RG * VW[J];
    SB += RB * VW[J];
  }
  auto S = [](Int64 V) { return (V + 0x7FFF) >> 16; };
  const bool Clamp = FKernel->NeedsClamping();
  Int64 A = S(SA);
  Int64 Ch[3] = {S(SR), S(SG), S(SB)};
  if (Clamp) {
    A = std::clamp<Int64>(A, 0, 255);
    for (auto& V : Ch) {
      if (A == 255)
        V = std::clamp<Int64>(V, 0, 255);
      else if (A > 0)
        V = std::clamp<Int64>(V * 255 / A, 0, 255);
      else
        V = 0;
    }
  } else {
    A &= 255;
    for (auto& V : Ch) {
      if (A == 255)
        V &= 255;
      else if (A > 0)
        V = (V * 255 / A) & 255;
      else
        V = 0;
    }
  }
  return TColor32(A) << 24 | TColor32(Ch[0]) << 16 | TColor32(Ch[1]) << 8 | TColor32(Ch[2]);
}

const TPublishedProperties& TKernelResampler::PublishedProperties() const {
  static const TPublishedProperties Props = [this] {
    TPublishedProperties P = TCustomResampler::PublishedProperties();
    TPublishedProperty N;
    N.Name = u"KernelClassName";
    N.Kind = tkUString;
    N.Get = [](TObject* O) -> TPropValue { return dynamic_cast<TKernelResampler*>(O)->KernelClassName(); };
    N.Set = [](TObject* O, const TPropValue& V) {
      if (auto* S = std::get_if<String>(&V)) dynamic_cast<TKernelResampler*>(O)->SetKernelClassName(*S);
    };
    P.push_back(N);
    TPublishedProperty K;
    K.Name = u"Kernel";
    K.Kind = tkClass;
    K.GetObject = [](TObject* O) -> TObject* { return dynamic_cast<TKernelResampler*>(O)->Kernel(); };
    P.push_back(K);
    TPublishedProperty M;
    M.Name = u"KernelMode";
    M.Kind = tkEnumeration;
    M.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TKernelResampler*>(O)->KernelMode()); };
    M.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TKernelResampler*>(O)->SetKernelMode(TKernelMode(*I));
    };
    P.push_back(M);
    TPublishedProperty T;
    T.Name = u"TableSize";
    T.Kind = tkInteger;
    T.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TKernelResampler*>(O)->TableSize()); };
    T.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TKernelResampler*>(O)->SetTableSize(Integer(*I));
    };
    P.push_back(T);
    return P;
  }();
  return Props;
}

// ---------------------------------------------------------------------------
// Class lists and start-up

void AddResamplerClass(TClassRef ResamplerClass) {
  if (ResamplerList == nullptr) ResamplerList = new TClassList();
  ResamplerList->Add(ResamplerClass);
}

void InitResamplers() {
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_Resamplers bindings");
  R->RegisterBinding(FID_AVERAGEBLOCK, &AverageBlock);
  R->RegisterBinding(FID_BILINEARINTERPOLATE, &BilinearInterpolate);
  R->Add(FID_AVERAGEBLOCK, &AverageBlock_Pas);
  R->Add(FID_BILINEARINTERPOLATE, &BilinearInterpolate_Pas);
#ifdef BMP32_RESAMPLERS_SSE2
  R->Add(FID_AVERAGEBLOCK, &AverageBlock_SSE2, TCPUFeatures{ciSSE2});
  R->Add(FID_BILINEARINTERPOLATE, &BilinearInterpolate_SSE2, TCPUFeatures{ciSSE2});
#endif
  R->RebindAll();

  if (ResamplerList == nullptr || ResamplerList->Count() == 0) {
    AddResamplerClass(TNearestResampler::Class());
    AddResamplerClass(TLinearResampler::Class());
    AddResamplerClass(TDraftResampler::Class());
    AddResamplerClass(TKernelResampler::Class());
  }
  if (KernelList == nullptr || KernelList->Count() == 0) {
    AddKernelClass(TBoxKernel::Class());
    AddKernelClass(TLinearKernel::Class());
    AddKernelClass(TCosineKernel::Class());
    AddKernelClass(TSplineKernel::Class());
    AddKernelClass(TCubicKernel::Class());
    AddKernelClass(TMitchellKernel::Class());
    AddKernelClass(TAlbrechtKernel::Class());
    AddKernelClass(TLanczosKernel::Class());
    AddKernelClass(TGaussianKernel::Class());
    AddKernelClass(TBlackmanKernel::Class());
    AddKernelClass(THannKernel::Class());
    AddKernelClass(THammingKernel::Class());
    AddKernelClass(TSinshKernel::Class());
    AddKernelClass(THermiteKernel::Class());
  }
}

void DoneResamplers() {
  FreeAndNil(ResamplerList);
  FreeAndNil(KernelList);
  AverageBlock = AverageBlock_Pas;
  BilinearInterpolate = BilinearInterpolate_Pas;
}
