// Pixel blending primitives.
//
// Every implementation computes the numbers of the vector arithmetic:
//   channel = (B*256 + (F - B)*w + 128) >> 8  ==  (F*w + B*(256 - w) + 128) >> 8
// on all four channels. The scalar forms use the second spelling (no
// negative terms) two channels per 32-bit word; the SSE2 forms use the first
// in 16-bit lanes, where wrap-around arithmetic gives the exact value.
#include "bitmap/Bmp32_Blend.h"

#include <cstdlib>
#include <cstring>

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_System.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define BMP32_SSE2 1
#endif

Byte ProductTable[256][256];
Byte QuotientTable[256][256];
bool MmxActive = false;
Word (*VectorWeights)[8] = nullptr;
Word* RoundingBias = nullptr;

namespace {
void* GWeightBlock = nullptr;

inline TColor32 Lerp4(TColor32 F, TColor32 B, Cardinal w) {
  Cardinal iw = 256 - w;
  Cardinal rb = (((F & 0x00FF00FFu) * w + (B & 0x00FF00FFu) * iw + 0x00800080u) >> 8) & 0x00FF00FFu;
  Cardinal ag = (((F >> 8) & 0x00FF00FFu) * w + ((B >> 8) & 0x00FF00FFu) * iw + 0x00800080u) & 0xFF00FF00u;
  return ag | rb;
}

inline Cardinal ClampMaster(TColor32 M) { return M > 255 ? 255 : M; }
}  // namespace

// ---------------------------------------------------------------------------
// Scalar implementations

namespace blend_scalar {

void EndBlending() {}

TColor32 BlendOver(TColor32 F, TColor32 B) { return Lerp4(F, B, F >> 24); }

void BlendInto(TColor32 F, TColor32& B) {
  Cardinal fa = F >> 24;
  if (fa == 0) return;
  if (fa == 255) {
    B = F;
    return;
  }
  B = Lerp4(F, B, fa);
}

void BlendRow(const TColor32* Src, TColor32* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) BlendInto(Src[i], Dst[i]);
}

TColor32 BlendOverEx(TColor32 F, TColor32 B, TColor32 M) {
  Cardinal w = ((ClampMaster(M) + 1) * (F >> 24)) >> 8;
  if (w == 0) return B;
  return Lerp4(F, B, w);
}

void BlendIntoEx(TColor32 F, TColor32& B, TColor32 M) {
  Cardinal fa = F >> 24;
  if (fa == 0) return;
  Cardinal w = ((ClampMaster(M) + 1) * fa) >> 8;
  if (w == 0) return;
  B = Lerp4(F, B, w);
}

void BlendRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  for (Integer i = 0; i < Count; ++i) BlendIntoEx(Src[i], Dst[i], M);
}

TColor32 CombineColors(TColor32 X, TColor32 Y, TColor32 W) { return Lerp4(X, Y, W > 255 ? 255 : W); }

void CombineInto(TColor32 X, TColor32& Y, TColor32 W) {
  if (W > 255) W = 255;
  if (W == 0) return;
  if (W == 255) {
    Y = X;
    return;
  }
  Y = Lerp4(X, Y, W);
}

void CombineRow(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W) {
  if (W > 255) W = 255;
  if (Count <= 0 || W == 0) return;
  if (W == 255) {
    std::memmove(Dst, Src, size_t(Count) * 4);
    return;
  }
  for (Integer i = 0; i < Count; ++i) Dst[i] = Lerp4(Src[i], Dst[i], W);
}

TColor32 MergeOver(TColor32 F, TColor32 B) {
  Cardinal Fa = F >> 24;
  if (Fa == 0) return B;
  Cardinal Ba = B >> 24;
  if (Ba == 255) return ::BlendOver(F, B) | 0xFF000000u;
  if (Fa == 255 || Ba == 0) return F;
  Cardinal Ra = Fa + Ba - ProductTable[Ba][Fa];
  const Byte* pa = ProductTable[Fa];
  const Byte* pb = ProductTable[Ba];
  const Byte* q = QuotientTable[Ra];
  auto channel = [&](int shift) -> Cardinal {
    Integer Fc = Integer((F >> shift) & 0xFF);
    Integer Bp = pb[(B >> shift) & 0xFF];
    Integer D = Fc - Bp;
    Integer X = D >= 0 ? Bp + pa[D] : Bp - pa[-D];
    return Cardinal(q[X]) << shift;
  };
  return (Ra << 24) | channel(16) | channel(8) | channel(0);
}

void MergeInto(TColor32 F, TColor32& B) { B = ::MergeOver(F, B); }

void MergeRow(const TColor32* Src, TColor32* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = ::MergeOver(Src[i], Dst[i]);
}

TColor32 MergeOverEx(TColor32 F, TColor32 B, TColor32 M) {
  TColor32 f = (F & 0x00FFFFFFu) | (Cardinal(ProductTable[ClampMaster(M)][F >> 24]) << 24);
  return ::MergeOver(f, B);
}

void MergeIntoEx(TColor32 F, TColor32& B, TColor32 M) { B = MergeOverEx(F, B, M); }

void MergeRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = MergeOverEx(Src[i], Dst[i], M);
}

// --- colour arithmetic (all four channels)
template <class Op>
inline TColor32 PerChannel(TColor32 C1, TColor32 C2, Op op) {
  TColor32 r = 0;
  for (int s = 0; s < 32; s += 8) r |= Cardinal(op(Integer((C1 >> s) & 0xFF), Integer((C2 >> s) & 0xFF))) << s;
  return r;
}

TColor32 MaxColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a > b ? a : b; });
}
TColor32 MinColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a < b ? a : b; });
}
TColor32 AverageColors(TColor32 C1, TColor32 C2) { return (((C1 ^ C2) >> 1) & 0x7F7F7F7Fu) + (C1 & C2); }
TColor32 AddColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a + b > 255 ? 255 : a + b; });
}
TColor32 SubtractColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a - b < 0 ? 0 : a - b; });
}
TColor32 DivideColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) {
    if (a == 0) return 255;
    Integer v = (b * 256) / a;
    return v > 255 ? 255 : v;
  });
}
TColor32 ModulateColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return (a * b) >> 8; });
}
TColor32 DifferenceColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a > b ? a - b : b - a; });
}
TColor32 ExclusionColors(TColor32 C1, TColor32 C2) {
  return PerChannel(C1, C2, [](Integer a, Integer b) { return a + b - ((a * b) >> 7); });
}
TColor32 ScaleColor(TColor32 Color, Cardinal S) {
  TColor32 r = 0;
  for (int s = 0; s < 32; s += 8) {
    UInt64 v = (UInt64((Color >> s) & 0xFF) * S) >> 8;
    r |= Cardinal(v > 255 ? 255 : v) << s;
  }
  return r;
}
TColor32 LightenColor(TColor32 Color, Integer Amount) {
  TColor32 r = Color & 0xFF000000u;
  for (int s = 0; s < 24; s += 8) {
    Int64 v = Int64((Color >> s) & 0xFF) + Amount;
    r |= Cardinal(v < 0 ? 0 : (v > 255 ? 255 : v)) << s;
  }
  return r;
}

}  // namespace blend_scalar

// ---------------------------------------------------------------------------
// SSE2 row implementations (4 pixels per step, same numbers as the scalar forms)

#ifdef BMP32_SSE2
namespace {

// Vector blend of 2 pixels in 16-bit lanes: (B<<8 + (F-B)*w + 128) >> 8.
inline __m128i Lerp16(__m128i f, __m128i b, __m128i w) {
  const __m128i bias = _mm_set1_epi16(128);
  __m128i d = _mm_mullo_epi16(_mm_sub_epi16(f, b), w);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(b, 8), d), bias), 8);
}

// Lerp of 4 pixels with a per-pixel weight (0..255) held in the alpha byte
// of each 32-bit lane of wtop (the source itself when the weight is Fa).
inline __m128i Lerp4a(__m128i f, __m128i b, __m128i wtop) {
  const __m128i zero = _mm_setzero_si128();
  __m128i wl = _mm_unpacklo_epi8(wtop, zero);
  __m128i wh = _mm_unpackhi_epi8(wtop, zero);
  wl = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wl, 0xFF), 0xFF);
  wh = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wh, 0xFF), 0xFF);
  __m128i lo = Lerp16(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero), wl);
  __m128i hi = Lerp16(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero), wh);
  return _mm_packus_epi16(lo, hi);
}

// round(p / 255) for 0 <= p <= 255*255 in 32-bit lanes (the product table).
inline __m128i Rnd255(__m128i p) {
  __m128i t = _mm_add_epi32(p, _mm_set1_epi32(128));
  return _mm_srli_epi32(_mm_add_epi32(t, _mm_srli_epi32(t, 8)), 8);
}

// The table merge of 4 pixels computed arithmetically: ProductTable entries
// as Rnd255 of the product, QuotientTable entries as the quotient rounded
// half to even (exact in float: the quotient X * 255 / Ra is at most 255, so
// a correctly rounded division keeps every tie exact and moves no other
// value onto one). Valid for the lanes where 0 < Fa < 255 and 0 < Ba < 255.
inline __m128i TableMerge4(__m128i f, __m128i b) {
  const __m128i m255 = _mm_set1_epi32(255);
  __m128i fa = _mm_srli_epi32(f, 24), ba = _mm_srli_epi32(b, 24);
  __m128i ra = _mm_sub_epi32(_mm_add_epi32(fa, ba), Rnd255(_mm_mullo_epi16(fa, ba)));
  __m128 raf = _mm_cvtepi32_ps(_mm_max_epi16(ra, _mm_set1_epi32(1)));  // unused lanes may hold 0
  __m128i r = _mm_slli_epi32(ra, 24);
  for (int sh = 0; sh < 24; sh += 8) {
    __m128i fc = _mm_and_si128(_mm_srli_epi32(f, sh), m255);
    __m128i bc = _mm_and_si128(_mm_srli_epi32(b, sh), m255);
    __m128i bp = Rnd255(_mm_mullo_epi16(ba, bc));
    __m128i d = _mm_sub_epi32(fc, bp);
    __m128i sign = _mm_srai_epi32(d, 31);
    __m128i ad = _mm_sub_epi32(_mm_xor_si128(d, sign), sign);
    __m128i m = Rnd255(_mm_mullo_epi16(fa, ad));
    __m128i x = _mm_add_epi32(bp, _mm_sub_epi32(_mm_xor_si128(m, sign), sign));
    __m128 q = _mm_div_ps(_mm_cvtepi32_ps(_mm_mullo_epi16(x, m255)), raf);
    r = _mm_or_si128(r, _mm_slli_epi32(_mm_cvtps_epi32(q), sh));
  }
  return r;
}

inline __m128i Select(__m128i mask, __m128i a, __m128i b) {  // mask ? a : b
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// BlendInto on 4 pixels without selects: a weight of 256 in place of 255
// gives F exactly and a weight of 0 gives B exactly, which are the two
// shortcuts of BlendInto.
inline __m128i BlendInto4(__m128i f, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w255 = _mm_set1_epi16(255);
  __m128i wl = _mm_unpacklo_epi8(f, zero);
  __m128i wh = _mm_unpackhi_epi8(f, zero);
  wl = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wl, 0xFF), 0xFF);
  wh = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wh, 0xFF), 0xFF);
  wl = _mm_sub_epi16(wl, _mm_cmpeq_epi16(wl, w255));
  wh = _mm_sub_epi16(wh, _mm_cmpeq_epi16(wh, w255));
  __m128i lo = Lerp16(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero), wl);
  __m128i hi = Lerp16(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero), wh);
  return _mm_packus_epi16(lo, hi);
}

void BlendRow_SSE2(const TColor32* Src, TColor32* Dst, Integer Count) {
  const __m128i amask = _mm_set1_epi32(Integer(0xFF000000u));
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    __m128i a = _mm_and_si128(f, amask);
    int m0 = _mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128()));
    if (m0 == 0xFFFF) continue;
    int m255 = _mm_movemask_epi8(_mm_cmpeq_epi32(a, amask));
    if (m255 == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), f);
      continue;
    }
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), BlendInto4(f, b));
  }
  for (; i < Count; ++i) blend_scalar::BlendInto(Src[i], Dst[i]);
}

void BlendRowEx_SSE2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i m1 = _mm_set1_epi32(Integer(ClampMaster(M) + 1));
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    __m128i fa = _mm_srli_epi32(f, 24);
    __m128i w = _mm_srli_epi32(_mm_mullo_epi16(fa, m1), 8);  // products < 65536
    __m128i keep = _mm_cmpeq_epi32(w, zero);
    if (_mm_movemask_ps(_mm_castsi128_ps(keep)) == 15) continue;
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
    __m128i r = Select(keep, b, Lerp4a(f, b, _mm_slli_epi32(w, 24)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), r);
  }
  for (; i < Count; ++i) blend_scalar::BlendIntoEx(Src[i], Dst[i], M);
}

void CombineRow_SSE2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W) {
  if (W > 255) W = 255;
  if (Count <= 0 || W == 0) return;
  if (W == 255) {
    std::memmove(Dst, Src, size_t(Count) * 4);
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(short(W));
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
    __m128i lo = Lerp16(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero), w);
    __m128i hi = Lerp16(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero), w);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), _mm_packus_epi16(lo, hi));
  }
  for (; i < Count; ++i) Dst[i] = Lerp4(Src[i], Dst[i], W);
}

// Merge of 4 pixels: the cases Fa = 0, Ba = 255, Fa = 255 and Ba = 0 in
// vector form (in that order of precedence), the rest by the table
// arithmetic; identical to the scalar table merge.
inline void Merge4(const TColor32* S, TColor32* D) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi32(255);
  __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S));
  __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(D));
  __m128i fa = _mm_srli_epi32(f, 24);
  __m128i ba = _mm_srli_epi32(b, 24);
  __m128i ba255 = _mm_cmpeq_epi32(ba, full);
  if (_mm_movemask_ps(_mm_castsi128_ps(ba255)) == 15) {
    // all over opaque: the vector blend with alpha 255 (weight 0 gives B
    // exactly, so Fa = 0 needs no case of its own)
    __m128i r = _mm_or_si128(Lerp4a(f, b, f), _mm_set1_epi32(Integer(0xFF000000u)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(D), r);
    return;
  }
  __m128i fa0 = _mm_cmpeq_epi32(fa, zero);
  __m128i takeF = _mm_or_si128(_mm_cmpeq_epi32(fa, full), _mm_cmpeq_epi32(ba, zero));
  int mfa0 = _mm_movemask_ps(_mm_castsi128_ps(fa0));
  if (mfa0 == 15) return;
  int handled = mfa0 | _mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(ba255, takeF)));
  __m128i r = f;  // Fa = 255 or Ba = 0
  if (_mm_movemask_ps(_mm_castsi128_ps(_mm_andnot_si128(fa0, ba255))) != 0) {
    __m128i blended = _mm_or_si128(Lerp4a(f, b, f), _mm_set1_epi32(Integer(0xFF000000u)));
    r = Select(ba255, blended, r);
  }
  if (handled != 15) {
    __m128i handledMask = _mm_or_si128(_mm_or_si128(fa0, ba255), takeF);
    r = Select(handledMask, r, TableMerge4(f, b));
  }
  r = Select(fa0, b, r);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(D), r);
}

void MergeRow_SSE2(const TColor32* Src, TColor32* Dst, Integer Count) {
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) Merge4(Src + i, Dst + i);
  for (; i < Count; ++i) Dst[i] = blend_scalar::MergeOver(Src[i], Dst[i]);
}

void MergeRowEx_SSE2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const Byte* pm = ProductTable[ClampMaster(M)];
  Integer i = 0;
  TColor32 tmp[4];
  for (; i + 4 <= Count; i += 4) {
    for (int k = 0; k < 4; ++k) tmp[k] = (Src[i + k] & 0x00FFFFFFu) | (Cardinal(pm[Src[i + k] >> 24]) << 24);
    Merge4(tmp, Dst + i);
  }
  for (; i < Count; ++i) Dst[i] = blend_scalar::MergeOverEx(Src[i], Dst[i], M);
}

}  // namespace

namespace blend_sse2 {
TBlendLine BlendRow = BlendRow_SSE2;
TBlendLineEx BlendRowEx = BlendRowEx_SSE2;
TCombineLine CombineRow = CombineRow_SSE2;
TBlendLine MergeRow = MergeRow_SSE2;
TBlendLineEx MergeRowEx = MergeRowEx_SSE2;
}  // namespace blend_sse2
#else
namespace blend_sse2 {
TBlendLine BlendRow = nullptr;
TBlendLineEx BlendRowEx = nullptr;
TCombineLine CombineRow = nullptr;
TBlendLine MergeRow = nullptr;
TBlendLineEx MergeRowEx = nullptr;
}  // namespace blend_sse2
#endif

// ---------------------------------------------------------------------------
// Slots (bound at start-up; the initial values let nothing crash before)

TBlendProc EndBlending = blend_scalar::EndBlending;
TBlendReg MergeOver = blend_scalar::MergeOver;
TBlendMem MergeInto = blend_scalar::MergeInto;
TBlendLine MergeRow = blend_scalar::MergeRow;
TBlendRegEx MergeOverEx = blend_scalar::MergeOverEx;
TBlendMemEx MergeIntoEx = blend_scalar::MergeIntoEx;
TBlendLineEx MergeRowEx = blend_scalar::MergeRowEx;
TCombineReg CombineColors = blend_scalar::CombineColors;
TCombineMem CombineInto = blend_scalar::CombineInto;
TCombineLine CombineRow = blend_scalar::CombineRow;
TBlendReg BlendOver = blend_scalar::BlendOver;
TBlendMem BlendInto = blend_scalar::BlendInto;
TBlendLine BlendRow = blend_scalar::BlendRow;
TBlendRegEx BlendOverEx = blend_scalar::BlendOverEx;
TBlendMemEx BlendIntoEx = blend_scalar::BlendIntoEx;
TBlendLineEx BlendRowEx = blend_scalar::BlendRowEx;
TColorArith MaxColors = blend_scalar::MaxColors;
TColorArith MinColors = blend_scalar::MinColors;
TColorArith AverageColors = blend_scalar::AverageColors;
TColorArith AddColors = blend_scalar::AddColors;
TColorArith SubtractColors = blend_scalar::SubtractColors;
TColorArith DivideColors = blend_scalar::DivideColors;
TColorArith ModulateColors = blend_scalar::ModulateColors;
TColorArith DifferenceColors = blend_scalar::DifferenceColors;
TColorArith ExclusionColors = blend_scalar::ExclusionColors;
TScaleColorProc ScaleColor = blend_scalar::ScaleColor;
TLightenColorProc LightenColor = blend_scalar::LightenColor;

const TByModeTable<TBlendMem> BlendIntoByMode{{&BlendInto, &MergeInto}};
const TByModeTable<TBlendMemEx> BlendIntoExByMode{{&BlendIntoEx, &MergeIntoEx}};
const TByModeTable<TBlendLine> BlendRowByMode{{&BlendRow, &MergeRow}};
const TByModeTable<TBlendLineEx> BlendRowExByMode{{&BlendRowEx, &MergeRowEx}};

// ---------------------------------------------------------------------------

namespace {

void FillTables() {
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c) ProductTable[a][c] = Byte((2 * a * c + 255) / 510);
  for (int d = 0; d < 256; ++d)
    for (int n = 0; n < 256; ++n) {
      if (d == 0) {
        QuotientTable[d][n] = 0;
        continue;
      }
      int q = n * 255 / d, r = n * 255 % d;
      if (2 * r > d || (2 * r == d && (q & 1))) ++q;
      QuotientTable[d][n] = Byte(q & 0xFF);
    }
}

void RegisterAll(TFunctionRegistry* R) {
  R->RegisterBinding(FID_ENDBLENDING, &::EndBlending);
  R->RegisterBinding(FID_MERGEOVER, &::MergeOver);
  R->RegisterBinding(FID_MERGEINTO, &::MergeInto);
  R->RegisterBinding(FID_MERGEROW, &::MergeRow);
  R->RegisterBinding(FID_MERGEOVEREX, &::MergeOverEx);
  R->RegisterBinding(FID_MERGEINTOEX, &::MergeIntoEx);
  R->RegisterBinding(FID_MERGEROWEX, &::MergeRowEx);
  R->RegisterBinding(FID_COMBINECOLORS, &::CombineColors);
  R->RegisterBinding(FID_COMBINEINTO, &::CombineInto);
  R->RegisterBinding(FID_COMBINEROW, &::CombineRow);
  R->RegisterBinding(FID_BLENDOVER, &::BlendOver);
  R->RegisterBinding(FID_BLENDINTO, &::BlendInto);
  R->RegisterBinding(FID_BLENDROW, &::BlendRow);
  R->RegisterBinding(FID_BLENDOVEREX, &::BlendOverEx);
  R->RegisterBinding(FID_BLENDINTOEX, &::BlendIntoEx);
  R->RegisterBinding(FID_BLENDROWEX, &::BlendRowEx);
  R->RegisterBinding(FID_MAXCOLORS, &::MaxColors);
  R->RegisterBinding(FID_MINCOLORS, &::MinColors);
  R->RegisterBinding(FID_AVERAGECOLORS, &::AverageColors);
  R->RegisterBinding(FID_ADDCOLORS, &::AddColors);
  R->RegisterBinding(FID_SUBTRACTCOLORS, &::SubtractColors);
  R->RegisterBinding(FID_DIVIDECOLORS, &::DivideColors);
  R->RegisterBinding(FID_MODULATECOLORS, &::ModulateColors);
  R->RegisterBinding(FID_DIFFERENCECOLORS, &::DifferenceColors);
  R->RegisterBinding(FID_EXCLUSIONCOLORS, &::ExclusionColors);
  R->RegisterBinding(FID_SCALECOLOR, &::ScaleColor);
  R->RegisterBinding(FID_LIGHTENCOLOR, &::LightenColor);

  // Scalar forms computing the vector numbers: usable everywhere.
  R->Add(FID_ENDBLENDING, blend_scalar::EndBlending);
  R->Add(FID_MERGEINTO, blend_scalar::MergeInto);
  R->Add(FID_MERGEROW, blend_scalar::MergeRow);
  R->Add(FID_MERGEOVEREX, blend_scalar::MergeOverEx);
  R->Add(FID_MERGEINTOEX, blend_scalar::MergeIntoEx);
  R->Add(FID_MERGEROWEX, blend_scalar::MergeRowEx);
  R->Add(FID_COMBINECOLORS, blend_scalar::CombineColors);
  R->Add(FID_COMBINEINTO, blend_scalar::CombineInto);
  R->Add(FID_COMBINEROW, blend_scalar::CombineRow);
  R->Add(FID_BLENDOVER, blend_scalar::BlendOver);
  R->Add(FID_BLENDINTO, blend_scalar::BlendInto);
  R->Add(FID_BLENDROW, blend_scalar::BlendRow);
  R->Add(FID_BLENDOVEREX, blend_scalar::BlendOverEx);
  R->Add(FID_BLENDINTOEX, blend_scalar::BlendIntoEx);
  R->Add(FID_BLENDROWEX, blend_scalar::BlendRowEx);
  R->Add(FID_MAXCOLORS, blend_scalar::MaxColors);
  R->Add(FID_MINCOLORS, blend_scalar::MinColors);
  R->Add(FID_AVERAGECOLORS, blend_scalar::AverageColors);
  R->Add(FID_ADDCOLORS, blend_scalar::AddColors);
  R->Add(FID_SUBTRACTCOLORS, blend_scalar::SubtractColors);
  R->Add(FID_DIVIDECOLORS, blend_scalar::DivideColors);
  R->Add(FID_MODULATECOLORS, blend_scalar::ModulateColors);
  R->Add(FID_DIFFERENCECOLORS, blend_scalar::DifferenceColors);
  R->Add(FID_EXCLUSIONCOLORS, blend_scalar::ExclusionColors);
  R->Add(FID_SCALECOLOR, blend_scalar::ScaleColor);
  R->Add(FID_LIGHTENCOLOR, blend_scalar::LightenColor);
#ifdef BMP32_SSE2
  R->Add(FID_MERGEROW, blend_sse2::MergeRow, {ciSSE2});
  R->Add(FID_MERGEROWEX, blend_sse2::MergeRowEx, {ciSSE2});
  R->Add(FID_COMBINEROW, blend_sse2::CombineRow, {ciSSE2});
  R->Add(FID_BLENDROW, blend_sse2::BlendRow, {ciSSE2});
  R->Add(FID_BLENDROWEX, blend_sse2::BlendRowEx, {ciSSE2});
#endif
  // The table merge, last of all and without requirements: bound everywhere.
  R->Add(FID_MERGEOVER, blend_scalar::MergeOver);
}

}  // namespace

void InitializeBmp32Blend() {
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_Blend bindings");
  RegisterAll(R);
  R->RebindAll();
  FillTables();
  TCPUFeatures f = ProcessorFeatures();
  MmxActive = f.Contains(ciMMX);
  if ((f.Contains(ciMMX) || f.Contains(ciSSE2)) && !GWeightBlock) {
    GWeightBlock = std::calloc(1, 8224);
    auto base = reinterpret_cast<std::uintptr_t>(GWeightBlock);
    auto aligned = (base + 15) & ~std::uintptr_t(15);
    VectorWeights = reinterpret_cast<Word(*)[8]>(aligned);
    for (int i = 0; i < 256; ++i)
      for (int k = 0; k < 8; ++k) VectorWeights[i][k] = Word(i);
    RoundingBias = VectorWeights[128];
  }
}

void FinalizeBmp32Blend() {
  std::free(GWeightBlock);
  GWeightBlock = nullptr;
  VectorWeights = nullptr;
  RoundingBias = nullptr;
}
