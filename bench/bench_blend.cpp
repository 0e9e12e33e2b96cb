// Blending rows, fills and the merge draw, each SIMD variant beside its
// scalar twin, and pixman's counterparts at equal pixel counts (pixman is
// loaded at run time; its rows are skipped when the library is absent).
// Items per second = pixels per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "bench/BenchPixman.h"
#include "bench/BenchTable.h"
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_LowLevel.h"

namespace {

const Integer W = 1920, H = 1080;

struct Engine {
  Engine() { InitializeBitmapEngine(); }
};
Engine& TheEngine() {
  static Engine e;
  return e;
}

enum Kind { kMixed, kOpaque, kTranslucent };

std::vector<TColor32> Noise(Kind k, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<TColor32> v(size_t(W) * H);
  for (auto& p : v) {
    TColor32 c = rng() & 0xFFFFFFu;
    TColor32 a;
    switch (k) {
      case kOpaque: a = 255; break;
      case kTranslucent: a = 1 + rng() % 254; break;
      default: a = rng() & 255; break;
    }
    p = (a << 24) | c;
  }
  return v;
}

// --- our rows --------------------------------------------------------------

// The SIMD variants carry the target (the program runs one of them); the
// scalar twin is compared without one.
void OursSimd(benchmark::State& st, const char* pair, const char* target) {
  benchtable::Ours(st, pair, st.range(0) ? target : "");
}

// simd: 0 = scalar, 1 = SSE2, 2 = AVX2 (null when the processor lacks it).
template <class P>
P Pick(int64_t simd, P scalar, P sse2, P avx2) {
  return simd == 0 ? scalar : simd == 1 ? sse2 : avx2;
}

// Reset: restore the destination before each pass (outside the timing), for
// rows whose result feeds back into the case measured: merging in place
// makes translucent destinations more and more opaque.
template <class Row>
void RunRows(benchmark::State& st, Row row, Kind src, Kind dst, bool reset = false) {
  TheEngine();
  auto s = Noise(src, 1), d0 = Noise(dst, 2);
  auto d = d0;
  for (auto _ : st) {
    if (reset) {
      st.PauseTiming();
      d = d0;
      st.ResumeTiming();
    }
    for (Integer y = 0; y < H; ++y) row(s.data() + size_t(y) * W, d.data() + size_t(y) * W, W);
    benchmark::DoNotOptimize(d.data());
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}

void BM_BlendRow(benchmark::State& st) {
  Kind k = st.range(1) ? kOpaque : kMixed;
  TBlendLine impl = Pick(st.range(0), blend_scalar::BlendRow, blend_sse2::BlendRow, blend_avx2::BlendRow);
  if (!impl) {
    st.SkipWithError("no such SIMD variant here");
    return;
  }
  OursSimd(st, k == kOpaque ? "over-opaque" : "over-mixed", "1.0x");
  RunRows(st, impl, k, kOpaque);
}
BENCHMARK(BM_BlendRow)->ArgNames({"simd", "opaque"})->ArgsProduct({{0, 1, 2}, {0, 1}});

void BM_BlendRowEx(benchmark::State& st) {
  TBlendLineEx impl = Pick(st.range(0), blend_scalar::BlendRowEx, blend_sse2::BlendRowEx, blend_avx2::BlendRowEx);
  if (!impl) {
    st.SkipWithError("no such SIMD variant here");
    return;
  }
  OursSimd(st, "over-mixed-half", "1.5x");
  RunRows(st, [impl](const TColor32* s, TColor32* d, Integer n) { impl(s, d, n, 128); }, kMixed, kOpaque);
}
BENCHMARK(BM_BlendRowEx)->ArgNames({"simd"})->Arg(0)->Arg(1)->Arg(2);

void BM_MergeRow(benchmark::State& st) {
  TBlendLine impl = Pick(st.range(0), blend_scalar::MergeRow, blend_sse2::MergeRow, blend_avx2::MergeRow);
  if (!impl) {
    st.SkipWithError("no such SIMD variant here");
    return;
  }
  // range(1): 0 = mixed over opaque, 1 = both translucent
  OursSimd(st, "over-mixed", st.range(1) ? "3x" : "1.5x");
  RunRows(st, impl, st.range(1) ? kTranslucent : kMixed, st.range(1) ? kTranslucent : kOpaque, st.range(1) != 0);
}
BENCHMARK(BM_MergeRow)->ArgNames({"simd", "translucent"})->ArgsProduct({{0, 1, 2}, {0, 1}});

void BM_MergeRowEx(benchmark::State& st) {
  TBlendLineEx impl = Pick(st.range(0), blend_scalar::MergeRowEx, blend_sse2::MergeRowEx, blend_avx2::MergeRowEx);
  if (!impl) {
    st.SkipWithError("no such SIMD variant here");
    return;
  }
  RunRows(st, [impl](const TColor32* s, TColor32* d, Integer n) { impl(s, d, n, 200); }, kTranslucent, kTranslucent,
          true);
}
BENCHMARK(BM_MergeRowEx)->ArgNames({"simd"})->Arg(0)->Arg(1)->Arg(2);

void BM_CombineRow(benchmark::State& st) {
  TCombineLine impl = st.range(0) ? blend_sse2::CombineRow : blend_scalar::CombineRow;
  if (!impl) {
    st.SkipWithError("no such SIMD variant here");
    return;
  }
  RunRows(st, [impl](const TColor32* s, TColor32* d, Integer n) { impl(s, d, n, 100); }, kMixed, kMixed);
}
BENCHMARK(BM_CombineRow)->ArgNames({"simd"})->Arg(0)->Arg(1);

void BM_FillWords32(benchmark::State& st) {
  TheEngine();
  TFillWords32Proc impl = st.range(0) == 0 ? FillWords32_Pas : st.range(0) == 1 ? FillWords32_String : FillWords32_SSE2;
  benchtable::Ours(st, "fill");
  std::vector<TColor32> d(size_t(W) * H);
  for (auto _ : st) {
    impl(d.data(), W * H, 0xFF336699u);
    benchmark::DoNotOptimize(d.data());
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_FillWords32)->ArgNames({"variant"})->Arg(0)->Arg(1)->Arg(2);

void BM_Clear(benchmark::State& st) {
  TheEngine();
  benchtable::Ours(st, "fill", "1.1x");
  TCustomBitmap32 b;
  b.SetSize(W, H);
  for (auto _ : st) {
    b.Clear(0xFF336699u);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_Clear);

// A 1920 x 1080 bitmap drawn onto another in merge mode (mixed alpha over
// opaque, and both translucent).
void BM_DrawMerge(benchmark::State& st) {
  TheEngine();
  TCustomBitmap32 s, d;
  s.SetSize(W, H);
  d.SetSize(W, H);
  auto sp = Noise(st.range(0) ? kTranslucent : kMixed, 3);
  auto dp = Noise(st.range(0) ? kTranslucent : kOpaque, 4);
  std::copy(sp.begin(), sp.end(), s.Bits());
  s.SetDrawMode(dmBlend);
  s.SetCombineMode(cmMerge);
  for (auto _ : st) {
    st.PauseTiming();
    std::copy(dp.begin(), dp.end(), d.Bits());
    st.ResumeTiming();
    d.Draw(0, 0, &s);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_DrawMerge)->ArgNames({"translucent"})->Arg(0)->Arg(1);

void BM_Rotate90(benchmark::State& st) {
  TheEngine();
  benchtable::Ours(st, "rotate90", "1.5x");
  TCustomBitmap32 s, d;
  s.SetSize(W, H);
  auto sp = Noise(kMixed, 5);
  std::copy(sp.begin(), sp.end(), s.Bits());
  for (auto _ : st) {
    s.Rotate90(&d);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_Rotate90);

void BM_FlipHorz(benchmark::State& st) {
  TheEngine();
  benchtable::Ours(st, "flip-horz", "1.5x");
  TCustomBitmap32 s;
  s.SetSize(W, H);
  for (auto _ : st) {
    s.FlipHorz();
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_FlipHorz);

// --- pixman ------------------------------------------------------------------

void BM_PixmanOver(benchmark::State& st) {
  if (!Pix().ok) {
    st.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(st, "pixman", st.range(1) ? "over-mixed-half" : st.range(0) ? "over-opaque" : "over-mixed");
  auto s = Noise(st.range(0) ? kOpaque : kMixed, 1), d = Noise(kOpaque, 2);
  pixman_image_t* si = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, reinterpret_cast<uint32_t*>(s.data()), W * 4);
  pixman_image_t* di = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, reinterpret_cast<uint32_t*>(d.data()), W * 4);
  pixman_image_t* mask = nullptr;
  if (st.range(1)) {
    pixman_color_t c = {0, 0, 0, 0x8080};
    mask = Pix().create_solid(&c);
  }
  for (auto _ : st) {
    Pix().composite32(PIXMAN_OP_OVER, si, mask, di, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  if (mask) Pix().unref(mask);
  Pix().unref(si);
  Pix().unref(di);
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_PixmanOver)->ArgNames({"opaque", "mask"})->Args({0, 0})->Args({1, 0})->Args({0, 1});

void BM_PixmanSrc(benchmark::State& st) {
  if (!Pix().ok) {
    st.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(st, "pixman", "copy");
  auto s = Noise(kMixed, 1), d = Noise(kOpaque, 2);
  pixman_image_t* si = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, reinterpret_cast<uint32_t*>(s.data()), W * 4);
  pixman_image_t* di = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, reinterpret_cast<uint32_t*>(d.data()), W * 4);
  for (auto _ : st) {
    Pix().composite32(PIXMAN_OP_SRC, si, nullptr, di, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  Pix().unref(si);
  Pix().unref(di);
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_PixmanSrc);

void BM_PixmanFill(benchmark::State& st) {
  if (!Pix().ok) {
    st.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(st, "pixman", "fill");
  std::vector<TColor32> d(size_t(W) * H);
  for (auto _ : st) {
    Pix().fill(reinterpret_cast<uint32_t*>(d.data()), W, 32, 0, 0, W, H, 0xFF336699u);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_PixmanFill);

// FillRect on an inner rectangle (rows start off a 16-byte boundary) and
// pixman_fill of the same rectangle.
const TRect InnerRect(3, 1, W - 5, H - 1);

void BM_FillRect(benchmark::State& st) {
  TheEngine();
  benchtable::Ours(st, "fill-rect", "1.1x");
  TCustomBitmap32 b;
  b.SetSize(W, H);
  for (auto _ : st) {
    b.FillRect(InnerRect.Left, InnerRect.Top, InnerRect.Right, InnerRect.Bottom, 0xFF336699u);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * InnerRect.Width() * InnerRect.Height());
}
BENCHMARK(BM_FillRect);

void BM_PixmanFillRect(benchmark::State& st) {
  if (!Pix().ok) {
    st.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(st, "pixman", "fill-rect");
  std::vector<TColor32> d(size_t(W) * H);
  for (auto _ : st) {
    Pix().fill(reinterpret_cast<uint32_t*>(d.data()), W, 32, InnerRect.Left, InnerRect.Top, InnerRect.Width(),
               InnerRect.Height(), 0xFF336699u);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * InnerRect.Width() * InnerRect.Height());
}
BENCHMARK(BM_PixmanFillRect);

// pixman's counterparts of Rotate90 and FlipHorz: SRC through a quarter-turn
// or mirror transform with the NEAREST filter (the transform maps
// destination points to source points; pixel centres stay on centres).
void PixmanTransformed(benchmark::State& st, const char* pair, const pixman_transform_t& t, Integer DW, Integer DH) {
  if (!Pix().ok) {
    st.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(st, "pixman", pair);
  auto s = Noise(kMixed, 5);
  std::vector<TColor32> d(size_t(DW) * DH);
  pixman_image_t* si = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, reinterpret_cast<uint32_t*>(s.data()), W * 4);
  pixman_image_t* di = Pix().create_bits(PIXMAN_a8r8g8b8, DW, DH, reinterpret_cast<uint32_t*>(d.data()), DW * 4);
  Pix().set_transform(si, &t);
  Pix().set_filter(si, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : st) {
    Pix().composite32(PIXMAN_OP_SRC, si, nullptr, di, 0, 0, 0, 0, 0, 0, DW, DH);
    benchmark::ClobberMemory();
  }
  Pix().unref(si);
  Pix().unref(di);
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}

void BM_PixmanRotate90(benchmark::State& st) {
  // source x = destination y, source y = H - destination x
  const pixman_fixed_t one = 0x10000;
  pixman_transform_t t = {{{0, one, 0}, {-one, 0, H * one}, {0, 0, one}}};
  PixmanTransformed(st, "rotate90", t, H, W);
}
BENCHMARK(BM_PixmanRotate90);

void BM_PixmanFlipHorz(benchmark::State& st) {
  // source x = W - destination x
  const pixman_fixed_t one = 0x10000;
  pixman_transform_t t = {{{-one, 0, W * one}, {0, one, 0}, {0, 0, one}}};
  PixmanTransformed(st, "flip-horz", t, W, H);
}
BENCHMARK(BM_PixmanFlipHorz);

void BM_DrawOpaque(benchmark::State& st) {
  TheEngine();
  benchtable::Ours(st, "copy", "1.1x");
  TCustomBitmap32 s, d;
  s.SetSize(W, H);
  d.SetSize(W, H);
  for (auto _ : st) {
    d.Draw(0, 0, &s);
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * W * H);
}
BENCHMARK(BM_DrawOpaque);

}  // namespace

BENCHMARK_MAIN();
