// Pixel blending primitives.
//
// Every implementation computes the numbers of the vector arithmetic:
//   channel = (B*256 + (F - B)*w + 128) >> 8  ==  (F*w + B*(256 - w) + 128) >> 8
// on all four channels. The scalar forms use the second spelling (no
// negative terms) two channels per 32-bit word; the SSE2 forms use the first
// in 16-bit lanes, where wrap-around arithmetic gives the exact value. The
// row forms have AVX2 twins (Bmp32_BlendSimdAvx2.cpp) with the same numbers;
// the SIMD merge rows compute the table merge arithmetically, bit for bit.
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
// SSE2 row implementations (same numbers as the scalar forms)

#ifdef BMP32_SSE2
namespace {

inline __m128i Load(const TColor32* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(TColor32* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline bool AllSet(__m128i mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }

inline __m128i Select(__m128i mask, __m128i a, __m128i b) {  // mask ? a : b
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// The vector blend of 2 pixels in 16-bit lanes: (B*256 + 128 + (F - B)*w) >> 8.
// B*256 + 128 is B's bytes interleaved above bytes of 128; the sum is exact
// in 16-bit wrap-around arithmetic (it lies in 0..65408, up to 65535 with
// w = 256, which gives F).
inline __m128i LerpLo(__m128i f, __m128i b, __m128i w) {
  const __m128i zero = _mm_setzero_si128();
  __m128i base = _mm_unpacklo_epi8(_mm_set1_epi8(char(0x80)), b);
  __m128i d = _mm_sub_epi16(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero));
  return _mm_srli_epi16(_mm_add_epi16(base, _mm_mullo_epi16(d, w)), 8);
}
inline __m128i LerpHi(__m128i f, __m128i b, __m128i w) {
  const __m128i zero = _mm_setzero_si128();
  __m128i base = _mm_unpackhi_epi8(_mm_set1_epi8(char(0x80)), b);
  __m128i d = _mm_sub_epi16(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero));
  return _mm_srli_epi16(_mm_add_epi16(base, _mm_mullo_epi16(d, w)), 8);
}

// The vector blend of 4 pixels, each with its weight (0..256) in its 32-bit lane.
inline __m128i Lerp4w(__m128i f, __m128i b, __m128i w32) {
  __m128i w = _mm_or_si128(w32, _mm_slli_epi32(w32, 16));
  return _mm_packus_epi16(LerpLo(f, b, _mm_unpacklo_epi32(w, w)), LerpHi(f, b, _mm_unpackhi_epi32(w, w)));
}

// BlendInto on 4 pixels without selects: a weight of 256 in place of 255
// gives F exactly and a weight of 0 gives B exactly, which are the two
// shortcuts of BlendInto.
inline __m128i BlendInto4(__m128i f, __m128i b) {
  __m128i w = _mm_srli_epi32(f, 24);
  w = _mm_sub_epi32(w, _mm_cmpeq_epi32(w, _mm_set1_epi32(255)));
  return Lerp4w(f, b, w);
}

// round(p / 255) for 0 <= p <= 255*255 in 32-bit lanes (the product table).
inline __m128i Rnd255(__m128i p) {
  __m128i t = _mm_add_epi32(p, _mm_set1_epi32(128));
  return _mm_srli_epi32(_mm_add_epi32(t, _mm_srli_epi32(t, 8)), 8);
}

// The same in unsigned 16-bit lanes: (t + (t >> 8)) >> 8 equals the high
// half of t * 257 for every t below 65536.
inline __m128i Rnd255w(__m128i p) {
  return _mm_mulhi_epu16(_mm_add_epi16(p, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

void BlendRow_SSE2(const TColor32* Src, TColor32* Dst, Integer Count) {
  const __m128i amask = _mm_set1_epi32(Integer(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  Integer i = 0;
  for (; i + 8 <= Count; i += 8) {
    __m128i f0 = Load(Src + i), f1 = Load(Src + i + 4);
    if (AllSet(_mm_cmpeq_epi32(_mm_and_si128(_mm_and_si128(f0, f1), amask), amask))) {
      Store(Dst + i, f0);
      Store(Dst + i + 4, f1);
      continue;
    }
    if (AllSet(_mm_cmpeq_epi32(_mm_and_si128(_mm_or_si128(f0, f1), amask), zero))) continue;
    Store(Dst + i, BlendInto4(f0, Load(Dst + i)));
    Store(Dst + i + 4, BlendInto4(f1, Load(Dst + i + 4)));
  }
  if (i + 4 <= Count) {
    Store(Dst + i, BlendInto4(Load(Src + i), Load(Dst + i)));
    i += 4;
  }
  for (; i < Count; ++i) blend_scalar::BlendInto(Src[i], Dst[i]);
}

// w = ((M + 1) * Fa) >> 8; a weight of 0 (also Fa = 0) gives B exactly, so
// no pixel needs a select.
void BlendRowEx_SSE2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i m1 = _mm_set1_epi32(Integer(ClampMaster(M) + 1));
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i f = Load(Src + i);
    __m128i w = _mm_srli_epi32(_mm_mullo_epi16(_mm_srli_epi32(f, 24), m1), 8);  // products < 65536
    if (AllSet(_mm_cmpeq_epi32(w, zero))) continue;
    Store(Dst + i, Lerp4w(f, Load(Dst + i), w));
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
  const __m128i w = _mm_set1_epi16(short(W));
  Integer i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i f = Load(Src + i), b = Load(Dst + i);
    Store(Dst + i, _mm_packus_epi16(LerpLo(f, b, w), LerpHi(f, b, w)));
  }
  for (; i < Count; ++i) Dst[i] = Lerp4(Src[i], Dst[i], W);
}

// A multiplier m for the quotient estimate hi16(N * m) of N div Ra: any m in
// [65536 / Ra - 1, 65536 / Ra] leaves the estimate at most one below (Ra is
// 2..255 in 32-bit lanes). Trunc(65535.5 / Ra) is such an m (it is
// Floor(65536 / Ra), or one less where Ra divides 65536) and lies at least
// 0.5 / Ra away from each integer boundary; the reciprocal estimate after
// one Newton step errs by under 2^-20 relatively, under 0.04 / Ra here.
inline __m128i Reciprocal(__m128i ra) {
  __m128 a = _mm_cvtepi32_ps(ra);
  __m128 x = _mm_rcp_ps(a);
  x = _mm_mul_ps(_mm_mul_ps(x, _mm_set1_ps(65535.5f)), _mm_sub_ps(_mm_set1_ps(2.0f), _mm_mul_ps(a, x)));
  return _mm_cvttps_epi32(x);  // <= 32767
}

// 8 pixels as byte planes: bg = blue 0..7, green 0..7; ra = red 0..7, alpha 0..7.
inline void ToPlanes(__m128i p0, __m128i p1, __m128i& bg, __m128i& ra) {
  __m128i t0 = _mm_unpacklo_epi8(p0, p1), t1 = _mm_unpackhi_epi8(p0, p1);
  __m128i u0 = _mm_unpacklo_epi8(t0, t1), u1 = _mm_unpackhi_epi8(t0, t1);
  bg = _mm_unpacklo_epi8(u0, u1);
  ra = _mm_unpackhi_epi8(u0, u1);
}
inline void FromPlanes(__m128i bg, __m128i ra, __m128i& p0, __m128i& p1) {
  __m128i w0 = _mm_unpacklo_epi8(bg, ra), w1 = _mm_unpackhi_epi8(bg, ra);
  p0 = _mm_unpacklo_epi8(w0, w1);
  p1 = _mm_unpackhi_epi8(w0, w1);
}

// The table merge of 8 pixels in unsigned 16-bit lanes, one plane per
// channel. ProductTable entries are Rnd255w of the product. X = Bp +/-
// ProductTable[Fa][|Fc - Bp|] is round((Fa Fc + (255 - Fa) Bp) / 255): Bp is
// an integer, the rounding is symmetric and 2 Fa D / 255 is never odd. The
// QuotientTable entry (round half to even of N / Ra, N = 255 X <= 65025,
// Ra >= 2 wherever both alphas are partial) comes from N' = N + Ra div 2:
// q = N' div Ra is the quotient rounded half up; the estimate
// hi16(N' * floor(65535 / Ra)) is q or q - 1 and the remainder corrects it;
// a zero final remainder with an even Ra is a tie, where an odd q steps
// down to its even neighbour. Valid where 0 < Fa < 255 and 0 < Ba < 255.
inline void TableMerge8(__m128i fbg, __m128i fra, __m128i bbg, __m128i bra, __m128i& rbg, __m128i& rra) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  __m128i fa = _mm_unpackhi_epi8(fra, zero), ba = _mm_unpackhi_epi8(bra, zero);
  __m128i ra = _mm_sub_epi16(_mm_add_epi16(fa, ba), Rnd255w(_mm_mullo_epi16(fa, ba)));
  __m128i rad = _mm_max_epi16(ra, _mm_set1_epi16(2));  // other lanes may hold less
  __m128i m = _mm_packs_epi32(Reciprocal(_mm_unpacklo_epi16(rad, zero)), Reciprocal(_mm_unpackhi_epi16(rad, zero)));
  __m128i half = _mm_srli_epi16(rad, 1);
  __m128i raM1 = _mm_sub_epi16(rad, one);
  __m128i evenOne = _mm_andnot_si128(rad, one);  // 1 where Ra is even
  __m128i fa255 = _mm_sub_epi16(_mm_set1_epi16(255), fa);
  auto channel = [&](__m128i fc, __m128i bc) {
    __m128i bp = Rnd255w(_mm_mullo_epi16(ba, bc));
    __m128i x = Rnd255w(_mm_add_epi16(_mm_mullo_epi16(fa, fc), _mm_mullo_epi16(fa255, bp)));
    __m128i n = _mm_add_epi16(_mm_mullo_epi16(x, _mm_set1_epi16(255)), half);
    __m128i q = _mm_mulhi_epu16(n, m);
    __m128i r = _mm_sub_epi16(n, _mm_mullo_epi16(q, rad));  // 0 <= r < 2 Ra
    __m128i ge = _mm_cmpgt_epi16(r, raM1);
    q = _mm_sub_epi16(q, ge);
    r = _mm_sub_epi16(r, _mm_and_si128(rad, ge));
    return _mm_sub_epi16(q, _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi16(r, zero), evenOne), q));
  };
  __m128i cb = channel(_mm_unpacklo_epi8(fbg, zero), _mm_unpacklo_epi8(bbg, zero));
  __m128i cg = channel(_mm_unpackhi_epi8(fbg, zero), _mm_unpackhi_epi8(bbg, zero));
  __m128i cr = channel(_mm_unpacklo_epi8(fra, zero), _mm_unpacklo_epi8(bra, zero));
  rbg = _mm_packus_epi16(cb, cg);
  rra = _mm_packus_epi16(cr, ra);
}

// Merge of 8 pixels: the cases Fa = 0, Ba = 255, Fa = 255 and Ba = 0 in
// vector form (in that order of precedence), the rest by the table
// arithmetic; identical to the scalar table merge.
inline void Merge8(__m128i f0, __m128i f1, TColor32* D) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i amask = _mm_set1_epi32(Integer(0xFF000000u));
  __m128i b0 = Load(D), b1 = Load(D + 4);
  __m128i fA0 = _mm_and_si128(f0, amask), fA1 = _mm_and_si128(f1, amask);
  __m128i bA0 = _mm_and_si128(b0, amask), bA1 = _mm_and_si128(b1, amask);
  __m128i bo0 = _mm_cmpeq_epi32(bA0, amask), bo1 = _mm_cmpeq_epi32(bA1, amask);
  if (AllSet(_mm_and_si128(bo0, bo1))) {
    // all over opaque: the vector blend with alpha 255 (weight 0 gives B
    // exactly, so Fa = 0 needs no case of its own)
    Store(D, _mm_or_si128(Lerp4w(f0, b0, _mm_srli_epi32(f0, 24)), amask));
    Store(D + 4, _mm_or_si128(Lerp4w(f1, b1, _mm_srli_epi32(f1, 24)), amask));
    return;
  }
  __m128i fz0 = _mm_cmpeq_epi32(fA0, zero), fz1 = _mm_cmpeq_epi32(fA1, zero);
  __m128i tf0 = _mm_or_si128(_mm_cmpeq_epi32(fA0, amask), _mm_cmpeq_epi32(bA0, zero));
  __m128i tf1 = _mm_or_si128(_mm_cmpeq_epi32(fA1, amask), _mm_cmpeq_epi32(bA1, zero));
  __m128i sp0 = _mm_or_si128(_mm_or_si128(fz0, bo0), tf0), sp1 = _mm_or_si128(_mm_or_si128(fz1, bo1), tf1);
  __m128i r0 = f0, r1 = f1;  // Fa = 255 or Ba = 0
  if (!AllSet(_mm_and_si128(sp0, sp1))) {
    __m128i fbg, fra, bbg, bra, rbg, rra, t0, t1;
    ToPlanes(f0, f1, fbg, fra);
    ToPlanes(b0, b1, bbg, bra);
    TableMerge8(fbg, fra, bbg, bra, rbg, rra);
    FromPlanes(rbg, rra, t0, t1);
    r0 = Select(tf0, f0, t0);
    r1 = Select(tf1, f1, t1);
  }
  if (_mm_movemask_epi8(_mm_or_si128(bo0, bo1)) != 0) {
    r0 = Select(bo0, _mm_or_si128(Lerp4w(f0, b0, _mm_srli_epi32(f0, 24)), amask), r0);
    r1 = Select(bo1, _mm_or_si128(Lerp4w(f1, b1, _mm_srli_epi32(f1, 24)), amask), r1);
  }
  Store(D, Select(fz0, b0, r0));
  Store(D + 4, Select(fz1, b1, r1));
}

void MergeRow_SSE2(const TColor32* Src, TColor32* Dst, Integer Count) {
  Integer i = 0;
  for (; i + 8 <= Count; i += 8) Merge8(Load(Src + i), Load(Src + i + 4), Dst + i);
  for (; i < Count; ++i) Dst[i] = blend_scalar::MergeOver(Src[i], Dst[i]);
}

// The source alpha replaced by ProductTable[M][Fa], computed as Rnd255.
inline __m128i MasterAlpha4(__m128i f, __m128i m) {
  __m128i a = Rnd255(_mm_mullo_epi16(_mm_srli_epi32(f, 24), m));  // products < 65536
  return _mm_or_si128(_mm_and_si128(f, _mm_set1_epi32(0x00FFFFFF)), _mm_slli_epi32(a, 24));
}

void MergeRowEx_SSE2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const __m128i m = _mm_set1_epi32(Integer(ClampMaster(M)));
  Integer i = 0;
  for (; i + 8 <= Count; i += 8) Merge8(MasterAlpha4(Load(Src + i), m), MasterAlpha4(Load(Src + i + 4), m), Dst + i);
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
  // AVX2 twins, present only when the processor has AVX2 (the feature set of
  // the registry has no AVX2 member, so presence decides).
  if (blend_avx2::MergeRow) {
    R->Add(FID_MERGEROW, blend_avx2::MergeRow, {ciSSE2});
    R->Add(FID_MERGEROWEX, blend_avx2::MergeRowEx, {ciSSE2});
    R->Add(FID_BLENDROW, blend_avx2::BlendRow, {ciSSE2});
    R->Add(FID_BLENDROWEX, blend_avx2::BlendRowEx, {ciSSE2});
  }
  // The table merge, last of all and without requirements: bound everywhere.
  R->Add(FID_MERGEOVER, blend_scalar::MergeOver);
}

}  // namespace

namespace blend_avx2 {
TBlendLine BlendRow = nullptr;
TBlendLineEx BlendRowEx = nullptr;
TBlendLine MergeRow = nullptr;
TBlendLineEx MergeRowEx = nullptr;

void Detect() {
#if defined(__x86_64__) || defined(__i386__)
  bool ok = ProcessorHasAVX2() && blend_sse2::MergeRow;
  BlendRow = ok ? blend_avx2_code::BlendRow : nullptr;
  BlendRowEx = ok ? blend_avx2_code::BlendRowEx : nullptr;
  MergeRow = ok ? blend_avx2_code::MergeRow : nullptr;
  MergeRowEx = ok ? blend_avx2_code::MergeRowEx : nullptr;
#endif
}
}  // namespace blend_avx2

void InitializeBmp32Blend() {
  blend_avx2::Detect();
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
