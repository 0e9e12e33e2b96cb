// Benchmarks of the whole-bitmap effects: the 28 blend modes over full-HD
// rows, the exponential blur (radius 10), sharpen and mosaic. Rates are
// reported in pixels per second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/SharpenLib32.h"
#include "bitmap/VaZU32Vudover.h"

namespace {

constexpr Integer W = 1920, H = 1080;

void Fill(TCustomBitmap32& B, unsigned Seed) {
  B.SetSize(W, H);
  std::mt19937 rng(Seed);
  for (Integer i = 0; i < W * H; ++i) B.Bits()[i] = rng() | 0x80000000u;
}

void BM_BlendMode(benchmark::State& state) {
  InitializeBitmapEngine();
  const Integer mode = Integer(state.range(0));
  TCustomBitmap32 F, B;
  Fill(F, 1);
  Fill(B, 2);
  TBlendModeRow row = BlendModeRows[mode];
  for (auto _ : state) {
    for (Integer y = 0; y < H; ++y) row(F.ScanLine(y), B.ScanLine(y), W, 200);
    benchmark::DoNotOptimize(B.Bits()[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
  state.SetLabel("pixels");
}
BENCHMARK(BM_BlendMode)->DenseRange(0, BlendModeCount - 1)->Unit(benchmark::kMillisecond);

void BM_GaussianLikeBlur(benchmark::State& state) {
  InitializeBitmapEngine();
  TCustomBitmap32 B;
  Fill(B, 3);
  for (auto _ : state) {
    ExpBlur(&B, 10);
    benchmark::DoNotOptimize(B.Bits()[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
  state.SetLabel("pixels");
}
BENCHMARK(BM_GaussianLikeBlur)->Unit(benchmark::kMillisecond);

void BM_Sharpen(benchmark::State& state) {
  InitializeBitmapEngine();
  TCustomBitmap32 B;
  Fill(B, 4);
  for (auto _ : state) {
    Sharpen(&B, 0);
    benchmark::DoNotOptimize(B.Bits()[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
  state.SetLabel("pixels");
}
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond);

void BM_Mosaic(benchmark::State& state) {
  InitializeBitmapEngine();
  TCustomBitmap32 B;
  Fill(B, 5);
  for (auto _ : state) {
    Mosaic(&B, Integer(state.range(0)), false, 0xFFFFFFFFu);
    benchmark::DoNotOptimize(B.Bits()[0]);
  }
  state.SetItemsProcessed(state.iterations() * Int64(W) * H);
  state.SetLabel("pixels");
}
BENCHMARK(BM_Mosaic)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
