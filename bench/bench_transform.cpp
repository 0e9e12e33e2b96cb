// Transformations: an affine rotation (30 degrees, scale 0.7) of a
// 1920 x 1080 bitmap with the linear resampler blended onto another, a
// projective mapping, and pixman's affine transform (bilinear, OVER) at equal
// destination size when the library can be opened. Items per second =
// destination pixels per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "bench/BenchPixman.h"
#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Transforms.h"

namespace {

const Integer W = 1920, H = 1080;

void Noise(TCustomBitmap32& B, bool Opaque, unsigned Seed) {
  InitializeBitmapEngine();
  B.SetSize(W, H);
  std::mt19937 Rng(Seed);
  for (Integer I = 0; I < W * H; ++I) B.Bits()[I] = Opaque ? (Rng() | 0xFF000000u) : Rng();
}

void BM_Transform(benchmark::State& State) {
  TCustomBitmap32 Src, Dst;
  Noise(Src, State.range(0) != 0, 1);
  Noise(Dst, true, 2);
  Src.SetResamplerClassName(u"TLinearResampler");
  Src.SetDrawMode(dmBlend);
  TAffineTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, Single(W), Single(H)});
  T.Rotate(W / 2.0f, H / 2.0f, 30);
  T.Scale(0.7f);
  T.Translate(W * 0.15f, H * 0.15f);
  for (auto _ : State) {
    Transform(&Dst, &Src, &T);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  State.SetItemsProcessed(State.iterations() * Int64(W) * H);
}

void BM_TransformNearest(benchmark::State& State) {
  TCustomBitmap32 Src, Dst;
  Noise(Src, true, 1);
  Noise(Dst, true, 2);
  TAffineTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, Single(W), Single(H)});
  T.Rotate(W / 2.0f, H / 2.0f, 30);
  for (auto _ : State) {
    Transform(&Dst, &Src, &T);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  State.SetItemsProcessed(State.iterations() * Int64(W) * H);
}

void BM_TransformProjective(benchmark::State& State) {
  TCustomBitmap32 Src, Dst;
  Noise(Src, true, 1);
  Noise(Dst, true, 2);
  Src.SetResamplerClassName(u"TLinearResampler");
  TProjectiveTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, Single(W), Single(H)});
  T.SetX0(100), T.SetY0(50), T.SetX1(1800), T.SetY1(0), T.SetX2(1900), T.SetY2(1080), T.SetX3(0), T.SetY3(900);
  for (auto _ : State) {
    Transform(&Dst, &Src, &T);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  State.SetItemsProcessed(State.iterations() * Int64(W) * H);
}

// --- pixman ---------------------------------------------------------------------

void BM_Pixman_AffineBilinearOver(benchmark::State& State) {
  if (!Pix().ok) {
    State.SkipWithError("pixman not available");
    return;
  }
  TCustomBitmap32 Src, Dst;
  Noise(Src, State.range(0) != 0, 1);
  Noise(Dst, true, 2);
  // The same mapping, destination to source (pixman takes the inverse).
  TAffineTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, Single(W), Single(H)});
  T.Rotate(W / 2.0f, H / 2.0f, 30);
  T.Scale(0.7f);
  T.Translate(W * 0.15f, H * 0.15f);
  T.BuildTransform();
  const TFloatMatrix& M = T.InverseMatrix();
  pixman_transform_t P = {{{pixman_fixed_t(M[0][0] * 65536), pixman_fixed_t(M[1][0] * 65536), pixman_fixed_t(M[2][0] * 65536)},
                           {pixman_fixed_t(M[0][1] * 65536), pixman_fixed_t(M[1][1] * 65536), pixman_fixed_t(M[2][1] * 65536)},
                           {0, 0, 65536}}};
  pixman_image_t* S = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, Src.Bits(), W * 4);
  pixman_image_t* D = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, Dst.Bits(), W * 4);
  Pix().set_transform(S, &P);
  Pix().set_filter(S, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  for (auto _ : State) {
    Pix().composite32(PIXMAN_OP_OVER, S, nullptr, D, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  Pix().unref(S);
  Pix().unref(D);
  State.SetItemsProcessed(State.iterations() * Int64(W) * H);
}

}  // namespace

BENCHMARK(BM_Transform)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_AffineBilinearOver)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransformNearest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransformProjective)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
