// AVX2 twins of the blending rows: 16 pixels per step, the numbers of the
// scalar forms (see the SSE2 forms in Bmp32_Blend.cpp for the arithmetic).
// The whole file is compiled with -mavx2 (the build gives every unit named
// *Avx2.cpp that flag), so nothing in it may run on a processor without AVX2:
// Bmp32_Blend.cpp hands these rows to the registry only when the processor
// reports AVX2 with operating-system support. The file calls no inline routine
// of a shared header (a copy compiled here could be the one the linker keeps).
#include "bitmap/Bmp32_Blend.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <cstring>

namespace {

inline __m256i Load(const TColor32* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(TColor32* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
inline bool AllSet(__m256i mask) { return _mm256_movemask_epi8(mask) == -1; }
inline bool NoneSet(__m256i mask) { return _mm256_testz_si256(mask, mask) != 0; }
inline __m256i Select(__m256i mask, __m256i a, __m256i b) { return _mm256_blendv_epi8(b, a, mask); }

inline Cardinal ClampMaster(TColor32 M) { return M > 255 ? 255 : M; }

// (B*256 + 128 + (F - B)*w) >> 8 in 16-bit lanes (see the SSE2 form).
inline __m256i LerpLo(__m256i f, __m256i b, __m256i w) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i base = _mm256_unpacklo_epi8(_mm256_set1_epi8(char(0x80)), b);
  __m256i d = _mm256_sub_epi16(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(b, zero));
  return _mm256_srli_epi16(_mm256_add_epi16(base, _mm256_mullo_epi16(d, w)), 8);
}
inline __m256i LerpHi(__m256i f, __m256i b, __m256i w) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i base = _mm256_unpackhi_epi8(_mm256_set1_epi8(char(0x80)), b);
  __m256i d = _mm256_sub_epi16(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(b, zero));
  return _mm256_srli_epi16(_mm256_add_epi16(base, _mm256_mullo_epi16(d, w)), 8);
}
// 8 pixels, each with its weight (0..256) in its 32-bit lane.
inline __m256i Lerp8w(__m256i f, __m256i b, __m256i w32) {
  __m256i w = _mm256_or_si256(w32, _mm256_slli_epi32(w32, 16));
  return _mm256_packus_epi16(LerpLo(f, b, _mm256_unpacklo_epi32(w, w)), LerpHi(f, b, _mm256_unpackhi_epi32(w, w)));
}
// BlendInto: weight 256 in place of 255 gives F, weight 0 gives B.
inline __m256i BlendInto8(__m256i f, __m256i b) {
  __m256i w = _mm256_srli_epi32(f, 24);
  w = _mm256_sub_epi32(w, _mm256_cmpeq_epi32(w, _mm256_set1_epi32(255)));
  return Lerp8w(f, b, w);
}
inline __m256i Rnd255(__m256i p) {  // 32-bit lanes
  __m256i t = _mm256_add_epi32(p, _mm256_set1_epi32(128));
  return _mm256_srli_epi32(_mm256_add_epi32(t, _mm256_srli_epi32(t, 8)), 8);
}
inline __m256i Rnd255w(__m256i p) {  // unsigned 16-bit lanes
  return _mm256_mulhi_epu16(_mm256_add_epi16(p, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

void BlendRow_AVX2(const TColor32* Src, TColor32* Dst, Integer Count) {
  const __m256i amask = _mm256_set1_epi32(Integer(0xFF000000u));
  const __m256i zero = _mm256_setzero_si256();
  Integer i = 0;
  for (; i + 16 <= Count; i += 16) {
    __m256i f0 = Load(Src + i), f1 = Load(Src + i + 8);
    if (AllSet(_mm256_cmpeq_epi32(_mm256_and_si256(_mm256_and_si256(f0, f1), amask), amask))) {
      Store(Dst + i, f0);
      Store(Dst + i + 8, f1);
      continue;
    }
    if (AllSet(_mm256_cmpeq_epi32(_mm256_and_si256(_mm256_or_si256(f0, f1), amask), zero))) continue;
    Store(Dst + i, BlendInto8(f0, Load(Dst + i)));
    Store(Dst + i + 8, BlendInto8(f1, Load(Dst + i + 8)));
  }
  _mm256_zeroupper();  // leave no dirty upper state to SSE code
  if (i < Count) blend_sse2::BlendRow(Src + i, Dst + i, Count - i);
}

void BlendRowEx_AVX2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const __m256i m1 = _mm256_set1_epi32(Integer(ClampMaster(M) + 1));
  Integer i = 0;
  for (; i + 8 <= Count; i += 8) {
    __m256i f = Load(Src + i);
    __m256i w = _mm256_srli_epi32(_mm256_mullo_epi16(_mm256_srli_epi32(f, 24), m1), 8);
    if (NoneSet(w)) continue;
    Store(Dst + i, Lerp8w(f, Load(Dst + i), w));
  }
  _mm256_zeroupper();  // leave no dirty upper state to SSE code
  if (i < Count) blend_sse2::BlendRowEx(Src + i, Dst + i, Count - i, M);
}

// Trunc(65535.5 / Ra) from the reciprocal estimate and one Newton step
// (see the SSE2 form).
inline __m256i Reciprocal(__m256i ra) {
  __m256 a = _mm256_cvtepi32_ps(ra);
  __m256 x = _mm256_rcp_ps(a);
  x = _mm256_mul_ps(_mm256_mul_ps(x, _mm256_set1_ps(65535.5f)), _mm256_sub_ps(_mm256_set1_ps(2.0f), _mm256_mul_ps(a, x)));
  return _mm256_cvttps_epi32(x);
}

// Byte planes of 16 pixels, per 128-bit half (pixels 0-3 with 8-11 and 4-7
// with 12-15): bg = blue, green; ra = red, alpha.
inline void ToPlanes(__m256i p0, __m256i p1, __m256i& bg, __m256i& ra) {
  __m256i t0 = _mm256_unpacklo_epi8(p0, p1), t1 = _mm256_unpackhi_epi8(p0, p1);
  __m256i u0 = _mm256_unpacklo_epi8(t0, t1), u1 = _mm256_unpackhi_epi8(t0, t1);
  bg = _mm256_unpacklo_epi8(u0, u1);
  ra = _mm256_unpackhi_epi8(u0, u1);
}
inline void FromPlanes(__m256i bg, __m256i ra, __m256i& p0, __m256i& p1) {
  __m256i w0 = _mm256_unpacklo_epi8(bg, ra), w1 = _mm256_unpackhi_epi8(bg, ra);
  p0 = _mm256_unpacklo_epi8(w0, w1);
  p1 = _mm256_unpackhi_epi8(w0, w1);
}

// The table merge of 16 pixels (the SSE2 form's arithmetic, twice as wide).
inline void TableMerge16(__m256i fbg, __m256i fra, __m256i bbg, __m256i bra, __m256i& rbg, __m256i& rra) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi16(1);
  __m256i fa = _mm256_unpackhi_epi8(fra, zero), ba = _mm256_unpackhi_epi8(bra, zero);
  __m256i ra = _mm256_sub_epi16(_mm256_add_epi16(fa, ba), Rnd255w(_mm256_mullo_epi16(fa, ba)));
  __m256i rad = _mm256_max_epi16(ra, _mm256_set1_epi16(2));
  __m256i m =
      _mm256_packs_epi32(Reciprocal(_mm256_unpacklo_epi16(rad, zero)), Reciprocal(_mm256_unpackhi_epi16(rad, zero)));
  __m256i half = _mm256_srli_epi16(rad, 1);
  __m256i raM1 = _mm256_sub_epi16(rad, one);
  __m256i evenOne = _mm256_andnot_si256(rad, one);
  __m256i fa255 = _mm256_sub_epi16(_mm256_set1_epi16(255), fa);
  auto channel = [&](__m256i fc, __m256i bc) {
    __m256i bp = Rnd255w(_mm256_mullo_epi16(ba, bc));
    __m256i x = Rnd255w(_mm256_add_epi16(_mm256_mullo_epi16(fa, fc), _mm256_mullo_epi16(fa255, bp)));
    __m256i n = _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(x, 8), x), half);
    __m256i q = _mm256_mulhi_epu16(n, m);
    __m256i r = _mm256_sub_epi16(n, _mm256_mullo_epi16(q, rad));
    __m256i ge = _mm256_cmpgt_epi16(r, raM1);
    q = _mm256_sub_epi16(q, ge);
    r = _mm256_sub_epi16(r, _mm256_and_si256(rad, ge));
    return _mm256_sub_epi16(q, _mm256_and_si256(_mm256_and_si256(_mm256_cmpeq_epi16(r, zero), evenOne), q));
  };
  __m256i cb = channel(_mm256_unpacklo_epi8(fbg, zero), _mm256_unpacklo_epi8(bbg, zero));
  __m256i cg = channel(_mm256_unpackhi_epi8(fbg, zero), _mm256_unpackhi_epi8(bbg, zero));
  __m256i cr = channel(_mm256_unpacklo_epi8(fra, zero), _mm256_unpacklo_epi8(bra, zero));
  rbg = _mm256_packus_epi16(cb, cg);
  rra = _mm256_packus_epi16(cr, ra);
}

// Merge of 16 pixels with the precedence of MergeOver (see Merge8).
__attribute__((always_inline)) inline void Merge16(__m256i f0, __m256i f1, TColor32* D) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i amask = _mm256_set1_epi32(Integer(0xFF000000u));
  __m256i b0 = Load(D), b1 = Load(D + 8);
  __m256i fA0 = _mm256_and_si256(f0, amask), fA1 = _mm256_and_si256(f1, amask);
  __m256i bA0 = _mm256_and_si256(b0, amask), bA1 = _mm256_and_si256(b1, amask);
  __m256i bo0 = _mm256_cmpeq_epi32(bA0, amask), bo1 = _mm256_cmpeq_epi32(bA1, amask);
  if (AllSet(_mm256_and_si256(bo0, bo1))) {
    Store(D, _mm256_or_si256(Lerp8w(f0, b0, _mm256_srli_epi32(f0, 24)), amask));
    Store(D + 8, _mm256_or_si256(Lerp8w(f1, b1, _mm256_srli_epi32(f1, 24)), amask));
    return;
  }
  __m256i fz0 = _mm256_cmpeq_epi32(fA0, zero), fz1 = _mm256_cmpeq_epi32(fA1, zero);
  __m256i tf0 = _mm256_or_si256(_mm256_cmpeq_epi32(fA0, amask), _mm256_cmpeq_epi32(bA0, zero));
  __m256i tf1 = _mm256_or_si256(_mm256_cmpeq_epi32(fA1, amask), _mm256_cmpeq_epi32(bA1, zero));
  __m256i sp0 = _mm256_or_si256(_mm256_or_si256(fz0, bo0), tf0);
  __m256i sp1 = _mm256_or_si256(_mm256_or_si256(fz1, bo1), tf1);
  __m256i r0 = f0, r1 = f1;
  if (!AllSet(_mm256_and_si256(sp0, sp1))) {
    __m256i fbg, fra, bbg, bra, rbg, rra, t0, t1;
    ToPlanes(f0, f1, fbg, fra);
    ToPlanes(b0, b1, bbg, bra);
    TableMerge16(fbg, fra, bbg, bra, rbg, rra);
    FromPlanes(rbg, rra, t0, t1);
    r0 = Select(tf0, f0, t0);
    r1 = Select(tf1, f1, t1);
  }
  if (!NoneSet(_mm256_or_si256(bo0, bo1))) {
    r0 = Select(bo0, _mm256_or_si256(Lerp8w(f0, b0, _mm256_srli_epi32(f0, 24)), amask), r0);
    r1 = Select(bo1, _mm256_or_si256(Lerp8w(f1, b1, _mm256_srli_epi32(f1, 24)), amask), r1);
  }
  Store(D, Select(fz0, b0, r0));
  Store(D + 8, Select(fz1, b1, r1));
}

void MergeRow_AVX2(const TColor32* Src, TColor32* Dst, Integer Count) {
  Integer i = 0;
  for (; i + 16 <= Count; i += 16) Merge16(Load(Src + i), Load(Src + i + 8), Dst + i);
  _mm256_zeroupper();  // leave no dirty upper state to SSE code
  if (i < Count) blend_sse2::MergeRow(Src + i, Dst + i, Count - i);
}

inline __m256i MasterAlpha8(__m256i f, __m256i m) {
  __m256i a = Rnd255(_mm256_mullo_epi16(_mm256_srli_epi32(f, 24), m));
  return _mm256_or_si256(_mm256_and_si256(f, _mm256_set1_epi32(0x00FFFFFF)), _mm256_slli_epi32(a, 24));
}

void MergeRowEx_AVX2(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) {
  const __m256i m = _mm256_set1_epi32(Integer(ClampMaster(M)));
  Integer i = 0;
  for (; i + 16 <= Count; i += 16)
    Merge16(MasterAlpha8(Load(Src + i), m), MasterAlpha8(Load(Src + i + 8), m), Dst + i);
  _mm256_zeroupper();  // leave no dirty upper state to SSE code
  if (i < Count) blend_sse2::MergeRowEx(Src + i, Dst + i, Count - i, M);
}

}  // namespace

namespace blend_avx2_code {
void BlendRow(const TColor32* Src, TColor32* Dst, Integer Count) { BlendRow_AVX2(Src, Dst, Count); }
void BlendRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) { BlendRowEx_AVX2(Src, Dst, Count, M); }
void MergeRow(const TColor32* Src, TColor32* Dst, Integer Count) { MergeRow_AVX2(Src, Dst, Count); }
void MergeRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M) { MergeRowEx_AVX2(Src, Dst, Count, M); }
}  // namespace blend_avx2_code

#endif
