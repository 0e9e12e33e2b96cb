// Pixel blending primitives: the worked examples, the vector numbers on
// every path, SIMD rows against the scalar forms, the table merge.
#include "common/gtest.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "bitmap/Bmp32_Blend.h"

namespace {

// Independent reference of the vector blend: per channel, signed difference.
TColor32 RefLerp(TColor32 F, TColor32 B, int w) {
  TColor32 r = 0;
  for (int s = 0; s < 32; s += 8) {
    int f = (F >> s) & 0xFF, b = (B >> s) & 0xFF;
    r |= TColor32((b * 256 + (f - b) * w + 128) >> 8) << s;
  }
  return r;
}

std::vector<TColor32> AllAlphaPairs(std::mt19937& rng, bool source) {
  // 65536 pixels: pixel k has (Fa, Ba) = (k >> 8, k & 255) in source/dest order
  std::vector<TColor32> v(65536);
  for (int k = 0; k < 65536; ++k) {
    TColor32 a = source ? TColor32(k >> 8) : TColor32(k & 255);
    v[k] = (a << 24) | (rng() & 0xFFFFFFu);
  }
  return v;
}

TEST(BlendExamples, WorkedNumbers) {
  EXPECT_EQ(BlendOver(0xFFFFFFFFu, 0xFF000000u), 0xFFFEFEFEu);
  TColor32 b = 0xFF000000u;
  BlendInto(0xFFFFFFFFu, b);
  EXPECT_EQ(b, 0xFFFFFFFFu);  // shortcut at Fa = 255
  EXPECT_EQ(BlendOver(0x80FFFFFFu, 0xFF000000u), 0xC0808080u);
  b = 0x12345678u;
  BlendInto(0x00FFFFFFu, b);
  EXPECT_EQ(b, 0x12345678u);
  EXPECT_EQ(MergeOver(0xFFFFFFFFu, 0xFF000000u), 0xFFFEFEFEu);
  EXPECT_EQ(MergeOver(0x80FF0000u, 0x800000FFu), 0xC0AA0055u);
  EXPECT_EQ(MergeOver(0x80123456u, 0x00ABCDEFu), 0x80123456u);  // Ba = 0: F
  EXPECT_EQ(MergeOver(0x00123456u, 0x00ABCDEFu), 0x00ABCDEFu);  // Fa = 0: B, even with Ba = 0
  EXPECT_EQ(MergeOver(0xFF123456u, 0x80ABCDEFu), 0xFF123456u);  // Fa = 255 over translucent
  // a translucent colour blended onto an opaque pixel lowers its alpha
  EXPECT_EQ(BlendOver(0x80000000u, 0xFFFFFFFFu) >> 24, 192u);
}

TEST(BlendExamples, Tables) {
  EXPECT_EQ(QuotientTable[2][1], 128);
  EXPECT_EQ(QuotientTable[2][3], 126);
  EXPECT_EQ(QuotientTable[0][77], 0);
  EXPECT_EQ(QuotientTable[192][128], 170);
  EXPECT_EQ(QuotientTable[192][64], 85);
  EXPECT_EQ(ProductTable[128][255], 128);
  EXPECT_EQ(ProductTable[128][128], 64);
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c) ASSERT_EQ(ProductTable[a][c], int(std::lround(a * c / 255.0))) << a << "," << c;
  if (VectorWeights) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(VectorWeights) % 16, 0u);
    EXPECT_EQ(VectorWeights[200][5], 200);
    EXPECT_EQ(RoundingBias[7], 128);
  }
}

TEST(BlendSlots, VectorNumbersOverAllAlphaPairs) {
  std::mt19937 rng(1);
  auto src = AllAlphaPairs(rng, true), dst = AllAlphaPairs(rng, false);
  for (int k = 0; k < 65536; ++k) {
    TColor32 F = src[k], B = dst[k];
    int fa = F >> 24;
    ASSERT_EQ(BlendOver(F, B), RefLerp(F, B, fa));
    TColor32 b = B;
    BlendInto(F, b);
    ASSERT_EQ(b, fa == 0 ? B : fa == 255 ? F : RefLerp(F, B, fa));
    int W = k & 255;
    ASSERT_EQ(CombineColors(F, B, W), RefLerp(F, B, W));
    b = B;
    CombineInto(F, b, W);
    ASSERT_EQ(b, W == 0 ? B : W == 255 ? F : RefLerp(F, B, W));
    for (TColor32 M : {0u, 1u, 127u, 254u, 255u}) {
      int w = ((M + 1) * fa) >> 8;
      ASSERT_EQ(BlendOverEx(F, B, M), w == 0 ? B : RefLerp(F, B, w));
      b = B;
      BlendIntoEx(F, b, M);
      ASSERT_EQ(b, (fa == 0 || w == 0) ? B : RefLerp(F, B, w));
    }
  }
}

// Every row slot, as bound, and each SIMD twin present on this processor
// (SSE2, AVX2) against its scalar twin over all (Fa, Ba) pairs and every
// weight.
struct RowImpls {
  const char* name;
  TBlendLine bound, scalar, sse2, avx2;
};
struct RowImplsEx {
  const char* name;
  TBlendLineEx bound, scalar, sse2, avx2;
};
RowImpls Lines[] = {{"BlendRow", nullptr, nullptr, nullptr, nullptr}, {"MergeRow", nullptr, nullptr, nullptr, nullptr}};
RowImplsEx LinesEx[] = {{"BlendRowEx", nullptr, nullptr, nullptr, nullptr},
                        {"MergeRowEx", nullptr, nullptr, nullptr, nullptr}};
// The slots are bound at start-up, after static initialisation: read them late.
void ReadSlots() {
  Lines[0] = {"BlendRow", BlendRow, blend_scalar::BlendRow, blend_sse2::BlendRow, blend_avx2::BlendRow};
  Lines[1] = {"MergeRow", MergeRow, blend_scalar::MergeRow, blend_sse2::MergeRow, blend_avx2::MergeRow};
  LinesEx[0] = {"BlendRowEx", BlendRowEx, blend_scalar::BlendRowEx, blend_sse2::BlendRowEx, blend_avx2::BlendRowEx};
  LinesEx[1] = {"MergeRowEx", MergeRowEx, blend_scalar::MergeRowEx, blend_sse2::MergeRowEx, blend_avx2::MergeRowEx};
}

TEST(BlendSlots, SimdRowsEqualScalar) {
  ReadSlots();
  std::mt19937 rng(2);
  auto src = AllAlphaPairs(rng, true), dst = AllAlphaPairs(rng, false);
  for (auto& l : Lines)
    for (TBlendLine impl : {l.bound, l.sse2, l.avx2}) {
      if (!impl) continue;
      auto a = dst, b = dst;
      // odd lengths exercise the tails
      for (int start = 0; start < 65536; start += 1021) {
        int n = std::min(1021, 65536 - start);
        impl(src.data() + start, a.data() + start, n);
        l.scalar(src.data() + start, b.data() + start, n);
      }
      for (int k = 0; k < 65536; ++k) ASSERT_EQ(a[k], b[k]) << l.name << " pixel " << k;
    }
  for (auto& l : LinesEx)
    for (TBlendLineEx impl : {l.bound, l.sse2, l.avx2}) {
      if (!impl) continue;
      for (TColor32 M = 0; M < 256; ++M) {
        auto a = dst, b = dst;
        // a different slice of the pairs for each master alpha, plus all Fa
        int start = int(M * 251) % 60000;
        impl(src.data() + start, a.data() + start, 5003, M);
        l.scalar(src.data() + start, b.data() + start, 5003, M);
        for (int k = start; k < start + 5003; ++k) ASSERT_EQ(a[k], b[k]) << l.name << " M " << M << " pixel " << k;
      }
    }
  for (TCombineLine impl : {CombineRow, blend_sse2::CombineRow}) {
    if (!impl) continue;
    for (TColor32 W = 0; W < 256; ++W) {
      auto a = dst, b = dst;
      impl(src.data() + W, a.data() + W, 4099, W);
      blend_scalar::CombineRow(src.data() + W, b.data() + W, 4099, W);
      for (int k = 0; k < 65536; ++k) ASSERT_EQ(a[k], b[k]) << "CombineRow W " << W << " pixel " << k;
    }
  }
}

// A master alpha above 255 counts as 255 in every form that takes one
// (single pixels, and each row as bound, scalar, SSE2 and AVX2), over all
// (Fa, Ba) pairs.
TEST(BlendSlots, MasterAlphaAbove255ActsAs255) {
  ReadSlots();
  std::mt19937 rng(9);
  auto src = AllAlphaPairs(rng, true), dst = AllAlphaPairs(rng, false);
  for (TColor32 M : {256u, 257u, 4096u, 0x80000000u, 0xFFFFFFFFu}) {
    for (int k = 0; k < 65536; ++k) {
      TColor32 F = src[k], B = dst[k];
      ASSERT_EQ(BlendOverEx(F, B, M), BlendOverEx(F, B, 255)) << "BlendOverEx M " << M << " pixel " << k;
      ASSERT_EQ(MergeOverEx(F, B, M), MergeOverEx(F, B, 255)) << "MergeOverEx M " << M << " pixel " << k;
      TColor32 a = B, b = B;
      BlendIntoEx(F, a, M);
      BlendIntoEx(F, b, 255);
      ASSERT_EQ(a, b) << "BlendIntoEx M " << M << " pixel " << k;
      a = b = B;
      MergeIntoEx(F, a, M);
      MergeIntoEx(F, b, 255);
      ASSERT_EQ(a, b) << "MergeIntoEx M " << M << " pixel " << k;
    }
    for (auto& l : LinesEx)
      for (TBlendLineEx impl : {l.bound, l.scalar, l.sse2, l.avx2}) {
        if (!impl) continue;
        auto a = dst, b = dst;
        impl(src.data(), a.data(), 65536, M);
        impl(src.data(), b.data(), 65536, 255);
        for (int k = 0; k < 65536; ++k) ASSERT_EQ(a[k], b[k]) << l.name << " M " << M << " pixel " << k;
      }
  }
}

// Row lengths 0..40 (every split into vector blocks and tails), each length
// walking over all (Fa, Ba) pairs; the pixels just past each row must stay.
TEST(BlendSlots, SimdRowsEqualScalarAtEveryLength) {
  ReadSlots();
  std::mt19937 rng(5);
  auto src = AllAlphaPairs(rng, true), dst = AllAlphaPairs(rng, false);
  // shuffle the pairs so that each short row mixes the cases
  std::vector<int> order(65536);
  for (int k = 0; k < 65536; ++k) order[k] = k;
  std::shuffle(order.begin(), order.end(), rng);
  std::vector<TColor32> s(65536 + 1), d0(65536 + 1);
  for (int k = 0; k < 65536; ++k) {
    s[k] = src[order[k]];
    d0[k] = dst[order[k]];
  }
  s[65536] = 0x80FFFFFFu;
  d0[65536] = 0x80000000u;
  auto check = [&](const char* name, auto run, auto runScalar) {
    for (int len = 0; len <= 40; ++len) {
      auto a = d0, b = d0;
      int start = 0;
      for (; start + std::max(len, 1) <= 65536; start += std::max(len, 1)) {
        run(s.data() + start, a.data() + start, len);
        runScalar(s.data() + start, b.data() + start, len);
        if (len == 0) break;
      }
      for (int k = 0; k <= 65536; ++k) ASSERT_EQ(a[k], b[k]) << name << " length " << len << " pixel " << k;
      if (len == 0) {
        ASSERT_TRUE(a == d0) << name;
      }
    }
  };
  for (auto& l : Lines)
    for (TBlendLine impl : {l.sse2, l.avx2})
      if (impl) check(l.name, impl, l.scalar);
  for (auto& l : LinesEx)
    for (TBlendLineEx impl : {l.sse2, l.avx2})
      if (impl)
        for (TColor32 M : {0u, 1u, 128u, 254u, 255u, 256u})
          check(
              l.name, [&](const TColor32* a, TColor32* b, Integer n) { impl(a, b, n, M); },
              [&](const TColor32* a, TColor32* b, Integer n) { l.scalar(a, b, n, M); });
}

// The vector table merge divides by Ra through a reciprocal and a
// remainder correction: every pair of partial alphas with colour channels
// that sweep X over its whole range, including the ties of the quotient
// table, must give the table's numbers.
TEST(BlendSlots, SimdMergeEqualsTableOnEveryPartialPair) {
  ReadSlots();
  std::vector<TColor32> s(254 * 256), d(254 * 256);
  for (TBlendLine impl : {blend_sse2::MergeRow, blend_avx2::MergeRow}) {
    if (!impl) continue;
    for (int fa = 1; fa < 255; ++fa) {
      for (int ba = 1; ba < 255; ++ba)
        for (int k = 0; k < 256; ++k) {
          size_t i = size_t(ba - 1) * 256 + k;
          // red: Fc sweeps over Bc = 0; green: over Bc = 255; blue: both sweep
          s[i] = (TColor32(fa) << 24) | (TColor32(k) << 16) | (TColor32(k) << 8) | TColor32(255 - k);
          d[i] = (TColor32(ba) << 24) | (0u << 16) | (255u << 8) | TColor32(k);
        }
      auto a = d;
      impl(s.data(), a.data(), Integer(s.size()));
      for (size_t i = 0; i < s.size(); ++i) {
        TColor32 expect = blend_scalar::MergeOver(s[i], d[i]);
        ASSERT_EQ(a[i], expect) << "Fa " << fa << " pixel " << i << std::hex << " F " << s[i] << " B " << d[i];
      }
    }
  }
  // Every result alpha Ra that partial pairs reach, with all (Fc, Bc) pairs
  // of the channels: every quotient the merge can ask for.
  int pairOf[256][2] = {};
  for (int fa = 1; fa < 255; ++fa)
    for (int ba = 1; ba < 255; ++ba) {
      int ra = fa + ba - ProductTable[ba][fa];
      if (!pairOf[ra][0]) pairOf[ra][0] = fa, pairOf[ra][1] = ba;
    }
  std::vector<TColor32> s2(65536), d2(65536);
  for (TBlendLine impl : {blend_sse2::MergeRow, blend_avx2::MergeRow}) {
    if (!impl) continue;
    for (int ra = 0; ra < 256; ++ra) {
      if (!pairOf[ra][0]) continue;
      TColor32 fa = pairOf[ra][0], ba = pairOf[ra][1];
      for (TColor32 i = 0; i < 256; ++i)
        for (TColor32 j = 0; j < 256; ++j) {
          s2[i * 256 + j] = (fa << 24) | (i << 16) | (j << 8) | (i ^ j);
          d2[i * 256 + j] = (ba << 24) | (j << 16) | (i << 8) | (255 - i);
        }
      auto a = d2;
      impl(s2.data(), a.data(), 65536);
      for (size_t k = 0; k < 65536; ++k)
        ASSERT_EQ(a[k], blend_scalar::MergeOver(s2[k], d2[k])) << "Ra " << ra << " pixel " << k;
    }
  }
}

TEST(BlendSlots, RowsWithNoCountDoNothing) {
  TColor32 s[2] = {0xFF112233u, 0x80445566u}, d[2] = {1, 2};
  for (Integer n : {0, -1, -100}) {
    BlendRow(s, d, n);
    MergeRow(s, d, n);
    BlendRowEx(s, d, n, 200);
    MergeRowEx(s, d, n, 200);
    CombineRow(s, d, n, 100);
    CombineRow(s, d, n, 255);
  }
  EXPECT_EQ(d[0], 1u);
  EXPECT_EQ(d[1], 2u);
}

// The table merge premultiplies to 8 bits and divides by the integer Ra
// afterwards, so its error against the exact over operator is the rounding
// of X and of Ra (together under two units) scaled by 255 / Ra, plus the
// final rounding: small for opaque-ish results, larger only for nearly
// transparent ones.
TEST(MergeOver, CloseToFloatOverOperator) {
  const int chans[] = {0, 1, 37, 100, 128, 199, 254, 255};
  for (int fa = 1; fa < 255; ++fa)
    for (int ba = 1; ba < 255; ba += 3)
      for (int fc : chans)
        for (int bc : chans) {
          TColor32 F = (TColor32(fa) << 24) | (fc << 16) | (bc << 8) | fc;
          TColor32 B = (TColor32(ba) << 24) | (bc << 16) | (fc << 8) | 255;
          TColor32 r = MergeOver(F, B);
          double ra = fa + ba - fa * ba / 255.0;
          ASSERT_NEAR(double(r >> 24), ra, 1.0);
          // the table merge stays inside the quotient table's range
          int Ra = fa + ba - ProductTable[ba][fa];
          int Bp = ProductTable[ba][bc];
          int D = fc - Bp;
          int X = D >= 0 ? Bp + ProductTable[fa][D] : Bp - ProductTable[fa][-D];
          ASSERT_LE(X, Ra);
          ASSERT_GE(X, 0);
          double x = (fc * fa + bc * ba * (255 - fa) / 255.0) / 255.0;
          double expect = x * 255.0 / ra;
          double tol = 0.5 + 2.0 * 255.0 / Ra;
          ASSERT_NEAR(double((r >> 16) & 0xFF), expect, tol) << fa << " " << ba << " " << fc << " " << bc;
        }
}

TEST(MergeEx, MasterAlphaScalesSourceAlpha) {
  TColor32 F = 0xFF0000FFu, B = 0x80FF0000u;
  EXPECT_EQ(MergeOverEx(F, B, 128), MergeOver(0x800000FFu, B));
  EXPECT_EQ(MergeOverEx(F, B, 0), B);
  TColor32 b = B;
  MergeIntoEx(F, b, 255);
  EXPECT_EQ(b, MergeOver(F, B));
  // the dispatch tables read the bound slots
  EXPECT_EQ(BlendIntoExByMode[cmMerge], MergeIntoEx);
  EXPECT_EQ(BlendIntoExByMode[cmBlend], BlendIntoEx);
  EXPECT_EQ(BlendRowByMode[cmMerge], MergeRow);
  EXPECT_EQ(BlendRowExByMode[cmBlend], BlendRowEx);
  EXPECT_EQ(BlendIntoByMode[cmBlend], BlendInto);
}

TEST(ColorArithmetic, Table) {
  struct Case { TColorArith* op; TColor32 a, b, r; } cases[] = {
      {&AddColors, 0x80FF1020u, 0x80021030u, 0xFFFF2050u},
      {&SubtractColors, 0x80FF1020u, 0x90021030u, 0x00FD0000u},
      {&DivideColors, 0x00FF8002u, 0x10808001u, 0xFF80FF80u},
      {&ModulateColors, 0xFFFF8000u, 0xFF80FF10u, 0xFE7F7F00u},
      {&MaxColors, 0x10FF0080u, 0x2000FF7Fu, 0x20FFFF80u},
      {&MinColors, 0x10FF0080u, 0x2000FF7Fu, 0x1000007Fu},
      {&DifferenceColors, 0x10FF0080u, 0x2000FF7Fu, 0x10FFFF01u},
      {&ExclusionColors, 0xFFFFFF00u, 0xFF00FF00u, 0x02FF0200u},
      {&AverageColors, 0xFF00FF01u, 0x01FF0003u, 0x807F7F02u}};
  for (auto& c : cases) EXPECT_EQ((*c.op)(c.a, c.b), c.r) << std::hex << c.a << " " << c.b;
  EXPECT_EQ(ScaleColor(0xFF804020u, 128), 0x7F402010u);
  EXPECT_EQ(ScaleColor(0xFF804020u, 256), 0xFF804020u);
  EXPECT_EQ(ScaleColor(0xFF804020u, 1024), 0xFFFFFF80u);  // S >= 256 saturates, no table read
  EXPECT_EQ(ScaleColor(0xFF804020u, 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(LightenColor(0x80FF1080u, 20), 0x80FF2494u);
  EXPECT_EQ(LightenColor(0x80FF1080u, -20), 0x80EB006Cu);
  EXPECT_EQ(LightenColor(0x80FF1080u, 1000), 0x80FFFFFFu);
  EXPECT_EQ(LightenColor(0x80FF1080u, INT32_MIN), 0x80000000u);
}

}  // namespace
