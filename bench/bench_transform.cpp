// Transformations: an affine rotation (30 degrees, scale 0.7) of a
// 1920 x 1080 bitmap with the linear resampler blended onto another, a
// projective mapping, a 256 x 256 warping stamp, and pixman's affine
// (bilinear, OVER) and projective (bilinear, SRC) transforms at equal
// destination size when the library can be opened. Items per second =
// destination pixels per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "bench/BenchPixman.h"
#include "bench/BenchTable.h"
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

// range(0): 1 = opaque source, 0 = mixed alpha.
void BM_Transform(benchmark::State& State) {
  benchtable::Ours(State, State.range(0) ? "affine-opaque" : "affine-mixed", "1.5x");
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
  benchtable::Ours(State, "projective", "3x");
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

// The warping tool's stamp: a 256 x 256 remap of a displacement field,
// linear resampler, blended.
void BM_TransformWarpStamp(benchmark::State& State) {
  const Integer N = 256;
  benchtable::Ours(State, "", "2ms");
  InitializeBitmapEngine();
  TCustomBitmap32 Src, Dst;
  Src.SetSize(N, N);
  Dst.SetSize(N, N);
  std::mt19937 Rng(3);
  for (Integer I = 0; I < N * N; ++I) Src.Bits()[I] = Rng(), Dst.Bits()[I] = Rng() | 0xFF000000u;
  Src.SetResamplerClassName(u"TLinearResampler");
  Src.SetDrawMode(dmBlend);
  Src.SetOuterColor(0);
  TRemapTransformation T;
  T.VectorMap()->SetSize(N, N);
  for (Integer Y = 0; Y < N; ++Y)
    for (Integer X = 0; X < N; ++X) {
      const double DX = X - N / 2.0, DY = Y - N / 2.0, F = std::exp(-(DX * DX + DY * DY) / (2 * 40.0 * 40.0));
      T.VectorMap()->SetVector(X, Y, TFixedPoint{Integer(F * 12 * 65536), Integer(F * -7 * 65536)});
    }
  T.SetSrcRect(TFloatRect{0, 0, Single(N), Single(N)});
  T.SetMappingRect(TFloatRect{0, 0, Single(N), Single(N)});
  T.Scale(1, 1);
  for (auto _ : State) {
    Transform(&Dst, &Src, &T);
    benchmark::DoNotOptimize(Dst.Bits());
  }
  State.SetItemsProcessed(State.iterations() * Int64(N) * N);
}

// --- pixman ---------------------------------------------------------------------

void BM_Pixman_AffineBilinearOver(benchmark::State& State) {
  if (!Pix().ok) {
    State.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(State, "pixman", State.range(0) ? "affine-opaque" : "affine-mixed");
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

void BM_Pixman_ProjectiveBilinear(benchmark::State& State) {
  if (!Pix().ok) {
    State.SkipWithError("pixman not available");
    return;
  }
  benchtable::Reference(State, "pixman", "projective");
  TCustomBitmap32 Src, Dst;
  Noise(Src, true, 1);
  Noise(Dst, true, 2);
  TProjectiveTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, Single(W), Single(H)});
  T.SetX0(100), T.SetY0(50), T.SetX1(1800), T.SetY1(0), T.SetX2(1900), T.SetY2(1080), T.SetX3(0), T.SetY3(900);
  T.BuildTransform();
  // Destination to source, scaled so the last element is 1.
  const TFloatMatrix& M = T.InverseMatrix();
  const double K = 65536.0 / M[2][2];
  pixman_transform_t P = {{{pixman_fixed_t(M[0][0] * K), pixman_fixed_t(M[1][0] * K), pixman_fixed_t(M[2][0] * K)},
                           {pixman_fixed_t(M[0][1] * K), pixman_fixed_t(M[1][1] * K), pixman_fixed_t(M[2][1] * K)},
                           {pixman_fixed_t(M[0][2] * K), pixman_fixed_t(M[1][2] * K), 65536}}};
  pixman_image_t* S = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, Src.Bits(), W * 4);
  pixman_image_t* D = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, Dst.Bits(), W * 4);
  Pix().set_transform(S, &P);
  Pix().set_filter(S, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  for (auto _ : State) {
    Pix().composite32(PIXMAN_OP_SRC, S, nullptr, D, 0, 0, 0, 0, 0, 0, W, H);
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
BENCHMARK(BM_Pixman_ProjectiveBilinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransformWarpStamp)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
