// Stretching: the linear resampler (bilinear enlargement, linear-kernel
// reduction), the kernel resampler with cubic and Lanczos kernels, the
// nearest and draft stretches, and the block-average slot (portable beside
// SSE2). pixman's scale transforms (nearest, bilinear, separable convolution)
// run beside them at equal destination pixel counts when the library can be
// opened. Items per second = destination pixels per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>

#include "bench/BenchPixman.h"
#include "bench/BenchTable.h"
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Resamplers.h"

namespace {

void Noise(TCustomBitmap32& B, Integer W, Integer H, bool Opaque, unsigned Seed) {
  InitializeBitmapEngine();
  B.SetSize(W, H);
  std::mt19937 Rng(Seed);
  for (Integer I = 0; I < W * H; ++I) B.Bits()[I] = Opaque ? (Rng() | 0xFF000000u) : Rng();
}

// Pair and Target: see bench/BenchTable.h.
void Stretch(benchmark::State& State, const char* Pair, const char* Target, const char16_t* Resampler,
             const char16_t* Kernel, Integer SW, Integer SH, Integer DW, Integer DH) {
  benchtable::Ours(State, Pair, Target);
  TCustomBitmap32 Src, Dst;
  Noise(Src, SW, SH, true, 1);
  Dst.SetSize(DW, DH);
  Src.SetResamplerClassName(Resampler);
  if (Kernel != nullptr)
    if (auto* K = dynamic_cast<TKernelResampler*>(Src.Resampler())) K->SetKernelClassName(Kernel);
  for (auto _ : State) {
    TransferStretched(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, Src.BoundsRect(), Src.Resampler(), dmOpaque);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  State.SetItemsProcessed(State.iterations() * Int64(DW) * DH);
}

void BM_StretchLinear(benchmark::State& S) {
  Stretch(S, "bilinear-down", "1.0x", u"TLinearResampler", nullptr, 4000, 3000, 1000, 750);
}
void BM_StretchLinearUp(benchmark::State& S) {
  Stretch(S, "bilinear-up", "1.0x", u"TLinearResampler", nullptr, 768, 432, 1920, 1080);
}
void BM_StretchKernel(benchmark::State& S) {
  Stretch(S, "", "", u"TKernelResampler", u"TCubicKernel", 4000, 3000, 1000, 750);
}
void BM_StretchKernelLanczosHalf(benchmark::State& S) {
  Stretch(S, "lanczos-half", "2x", u"TKernelResampler", u"TLanczosKernel", 1920, 1080, 960, 540);
}
void BM_StretchNearestQuarter(benchmark::State& S) {
  Stretch(S, "nearest-quarter", "1.5x", u"TNearestResampler", nullptr, 7680, 4320, 1920, 1080);
}
void BM_StretchNearestX2(benchmark::State& S) {
  Stretch(S, "nearest-x2", "1.5x", u"TNearestResampler", nullptr, 960, 540, 1920, 1080);
}
void BM_StretchKernelLanczosDouble(benchmark::State& S) {
  Stretch(S, "lanczos-double", "2x", u"TKernelResampler", u"TLanczosKernel", 960, 540, 1920, 1080);
}
void BM_StretchDraft(benchmark::State& S) {
  Stretch(S, "box-down", "1.0x", u"TDraftResampler", nullptr, 6000, 4000, 1500, 1000);
}
void BM_StretchDraftThumb(benchmark::State& S) {
  Stretch(S, "box-thumb", "1.0x", u"TDraftResampler", nullptr, 6000, 4000, 120, 80);
}

void AverageBlocks(benchmark::State& State, TAverageBlockProc P) {
  std::vector<TColor32> Buf(64 * 64, 0x80FF7F3Fu);
  for (auto _ : State) benchmark::DoNotOptimize(P(4, 4, Buf.data(), 64));
  State.SetItemsProcessed(State.iterations() * 16);
}
void BM_AverageBlock_Pas(benchmark::State& S) { AverageBlocks(S, AverageBlock_Pas); }
#if defined(__x86_64__) || defined(__i386__)
void BM_AverageBlock_SSE2(benchmark::State& S) { AverageBlocks(S, AverageBlock_SSE2); }
#endif

// --- pixman ---------------------------------------------------------------------

void PixmanScale(benchmark::State& State, const char* Pair, int Filter, Integer SW, Integer SH, Integer DW,
                 Integer DH) {
  if (!Pix().ok) {
    State.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(State, "pixman", Pair);
  TCustomBitmap32 Src, Dst;
  Noise(Src, SW, SH, true, 1);
  Dst.SetSize(DW, DH);
  pixman_image_t* S = Pix().create_bits(PIXMAN_a8r8g8b8, SW, SH, Src.Bits(), SW * 4);
  pixman_image_t* D = Pix().create_bits(PIXMAN_a8r8g8b8, DW, DH, Dst.Bits(), DW * 4);
  pixman_transform_t T = {{{pixman_fixed_t(double(SW) / DW * 65536), 0, 0},
                           {0, pixman_fixed_t(double(SH) / DH * 65536), 0},
                           {0, 0, 65536}}};
  Pix().set_transform(S, &T);
  Pix().set_filter(S, Filter, nullptr, 0);
  for (auto _ : State) {
    Pix().composite32(PIXMAN_OP_SRC, S, nullptr, D, 0, 0, 0, 0, 0, 0, DW, DH);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  Pix().unref(S);
  Pix().unref(D);
  State.SetItemsProcessed(State.iterations() * Int64(DW) * DH);
}
void BM_Pixman_ScaleBilinear(benchmark::State& S) {
  PixmanScale(S, "bilinear-down", PIXMAN_FILTER_BILINEAR, 4000, 3000, 1000, 750);
}
void BM_Pixman_ScaleBilinearUp(benchmark::State& S) {
  PixmanScale(S, "bilinear-up", PIXMAN_FILTER_BILINEAR, 768, 432, 1920, 1080);
}
void BM_Pixman_ScaleNearestQuarter(benchmark::State& S) {
  PixmanScale(S, "nearest-quarter", PIXMAN_FILTER_NEAREST, 7680, 4320, 1920, 1080);
}
void BM_Pixman_ScaleNearestX2(benchmark::State& S) {
  PixmanScale(S, "nearest-x2", PIXMAN_FILTER_NEAREST, 960, 540, 1920, 1080);
}

// Separable convolution (pixman's own filter parameters for the scale):
// reconstruction and sampling kernels as named, 4 subsample bits.
enum : int { PIXMAN_FILTER_SEPARABLE_CONVOLUTION = 5 };
enum : int { PIXMAN_KERNEL_IMPULSE = 0, PIXMAN_KERNEL_BOX = 1, PIXMAN_KERNEL_LANCZOS3 = 6 };
using TCreateSeparable = pixman_fixed_t* (*)(int* n_values, pixman_fixed_t scale_x, pixman_fixed_t scale_y,
                                             int reconstruct_x, int reconstruct_y, int sample_x, int sample_y,
                                             int subsample_bits_x, int subsample_bits_y);

void PixmanConvolve(benchmark::State& State, const char* Pair, int Reconstruct, int Sample, Integer SW, Integer SH,
                    Integer DW, Integer DH) {
  void* Lib = Pix().ok ? dlopen("libpixman-1.so.0", RTLD_NOW) : nullptr;
  auto Create = Lib ? reinterpret_cast<TCreateSeparable>(dlsym(Lib, "pixman_filter_create_separable_convolution"))
                    : nullptr;
  if (Create == nullptr) {
    State.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(State, "pixman", Pair);
  TCustomBitmap32 Src, Dst;
  Noise(Src, SW, SH, true, 1);
  Dst.SetSize(DW, DH);
  pixman_image_t* S = Pix().create_bits(PIXMAN_a8r8g8b8, SW, SH, Src.Bits(), SW * 4);
  pixman_image_t* D = Pix().create_bits(PIXMAN_a8r8g8b8, DW, DH, Dst.Bits(), DW * 4);
  const pixman_fixed_t FX = pixman_fixed_t(double(SW) / DW * 65536), FY = pixman_fixed_t(double(SH) / DH * 65536);
  pixman_transform_t T = {{{FX, 0, 0}, {0, FY, 0}, {0, 0, 65536}}};
  Pix().set_transform(S, &T);
  int N = 0;
  pixman_fixed_t* Params = Create(&N, FX, FY, Reconstruct, Reconstruct, Sample, Sample, 4, 4);
  Pix().set_filter(S, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, Params, N);
  free(Params);
  for (auto _ : State) {
    Pix().composite32(PIXMAN_OP_SRC, S, nullptr, D, 0, 0, 0, 0, 0, 0, DW, DH);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  Pix().unref(S);
  Pix().unref(D);
  State.SetItemsProcessed(State.iterations() * Int64(DW) * DH);
}
void BM_Pixman_ConvolveBox(benchmark::State& S) {
  PixmanConvolve(S, "box-down", PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, 6000, 4000, 1500, 1000);
}
void BM_Pixman_ConvolveBoxThumb(benchmark::State& S) {
  PixmanConvolve(S, "box-thumb", PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, 6000, 4000, 120, 80);
}
void BM_Pixman_ConvolveLanczosHalf(benchmark::State& S) {
  PixmanConvolve(S, "lanczos-half", PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_LANCZOS3, 1920, 1080, 960, 540);
}
void BM_Pixman_ConvolveLanczosDouble(benchmark::State& S) {
  PixmanConvolve(S, "lanczos-double", PIXMAN_KERNEL_LANCZOS3, PIXMAN_KERNEL_IMPULSE, 960, 540, 1920, 1080);
}

}  // namespace

BENCHMARK(BM_StretchLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaleBilinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchLinearUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaleBilinearUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchKernel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchKernelLanczosHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ConvolveLanczosHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchKernelLanczosDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ConvolveLanczosDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchNearestQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaleNearestQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchNearestX2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaleNearestX2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchDraft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ConvolveBox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchDraftThumb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ConvolveBoxThumb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AverageBlock_Pas);
#if defined(__x86_64__) || defined(__i386__)
BENCHMARK(BM_AverageBlock_SSE2);
#endif
BENCHMARK_MAIN();
