// The bilinear stretch: per pixel (the reference) and in rows.
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
