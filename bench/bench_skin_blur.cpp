// The skin engine's stack blur on a 1920 x 1080 bitmap at radii 3 and 12,
// beside the bitmap engine's exponential blur at the same radius (target:
// at most 1.5 times its time) and pixman's separable convolution with a box
// kernel of 2r + 1 taps, computed per destination pixel (targets: at most
// its time at radius 3, a tenth of it at radius 12). The stack blur runs once
// per reference it is compared with. Rates are in pixels per second.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "BenchPixman.h"
#include "bench/BenchTable.h"
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/SharpenLib32.h"
#include "skin/data/SpBlur.h"

namespace {

constexpr Integer W = 1920, H = 1080;

std::vector<TspColor> Noise() {
  std::vector<TspColor> P(size_t(W) * H);
  std::mt19937 rng(5);
  for (TspColor& c : P) c = rng() | 0xFF000000u;
  return P;
}

std::string Pair(const char* Ref, Int64 Radius) { return std::string(Ref) + "-r" + std::to_string(Radius); }

// range(1): the reference compared with (0 = ExpBlur, 1 = pixman's box).
void BM_StackBlur(benchmark::State& state) {
  const Integer r = Integer(state.range(0));
  if (state.range(1) == 0)
    benchtable::Ours(state, Pair("expblur", r), "1.5x");
  else
    benchtable::Ours(state, Pair("box", r), r <= 3 ? "1x" : "0.1x");
  std::vector<TspColor> P = Noise();
  for (auto _ : state) {
    StackBlurPixels(P.data(), W, H, r);
    benchmark::DoNotOptimize(P[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
}
BENCHMARK(BM_StackBlur)->ArgNames({"r", "vs_box"})->ArgsProduct({{3, 12}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_ExpBlurReference(benchmark::State& state) {
  benchtable::Reference(state, "ExpBlur", Pair("expblur", state.range(0)));
  InitializeBitmapEngine();
  TCustomBitmap32 B;
  B.SetSize(W, H);
  const std::vector<TspColor> P = Noise();
  std::copy(P.begin(), P.end(), B.Bits());
  for (auto _ : state) {
    ExpBlur(&B, Integer(state.range(0)));
    benchmark::DoNotOptimize(B.Bits()[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
}
BENCHMARK(BM_ExpBlurReference)->Arg(3)->Arg(12)->Unit(benchmark::kMillisecond);

void BM_PixmanBoxReference(benchmark::State& state) {
  benchtable::Reference(state, "pixman", Pair("box", state.range(0)));
  Pixman& px = Pix();
  if (!px.ok) {
    state.SkipWithError("pixman not available");
    return;
  }
  const Integer r = Integer(state.range(0)), taps = 2 * r + 1;
  std::vector<TspColor> Src = Noise(), Dst(Src.size());
  pixman_image_t* S = px.create_bits(PIXMAN_a8r8g8b8, W, H, Src.data(), W * 4);
  pixman_image_t* D = px.create_bits(PIXMAN_a8r8g8b8, W, H, Dst.data(), W * 4);
  // Separable convolution: width, height, phase bits (0, 0), then the taps.
  std::vector<pixman_fixed_t> Params = {taps << 16, taps << 16, 0, 0};
  for (int k = 0; k < 2 * taps; ++k) Params.push_back(pixman_fixed_t(65536 / taps));
  constexpr int PIXMAN_FILTER_SEPARABLE_CONVOLUTION = 6;
  px.set_filter(S, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, Params.data(), int(Params.size()));
  for (auto _ : state) {
    px.composite32(PIXMAN_OP_SRC, S, nullptr, D, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::DoNotOptimize(Dst[0]);
  }
  px.unref(S);
  px.unref(D);
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
}
BENCHMARK(BM_PixmanBoxReference)->Arg(3)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
