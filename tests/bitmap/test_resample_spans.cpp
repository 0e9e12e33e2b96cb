// The row forms of the stretch routines against their per-pixel forms:
// identical pixels over random sizes, source and clip rectangles, draw
// modes, combine modes and master alphas.
#include "common/gtest.h"

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_Spans.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

struct TStretchSetup {
  TCustomBitmap32 Src, A, B;
  TRect DstRect, DstClip, SrcRect;
};

// A random stretch: enlargements and reductions on either axis, source
// rectangles inside the source, destination rectangles partly outside the
// destination, clips.
void RandomSetup(std::mt19937& Rng, TStretchSetup& S, Integer MaxSrc, Integer MaxDst) {
  const Integer SW = 2 + Integer(Rng() % MaxSrc), SH = 2 + Integer(Rng() % MaxSrc);
  const Integer DW = 1 + Integer(Rng() % MaxDst), DH = 1 + Integer(Rng() % MaxDst);
  FillRandom(S.Src, SW, SH, Rng(), Rng() % 2 == 0);
  FillRandom(S.A, DW, DH, Rng(), Rng() % 2 == 0);
  S.B.Assign(&S.A);
  S.Src.SetCombineMode(TCombineMode(Rng() % 2));
  S.Src.SetMasterAlpha(Rng() % 3 == 0 ? 255 : Rng() % 256);
  S.Src.SetOuterColor(S.Src.GetPixel(Integer(Rng() % SW), Integer(Rng() % SH)));
  S.SrcRect = S.Src.BoundsRect();
  if (Rng() % 3 == 0) {
    S.SrcRect.Left = Integer(Rng() % (SW - 1));
    S.SrcRect.Top = Integer(Rng() % (SH - 1));
    S.SrcRect.Right = S.SrcRect.Left + 2 + Integer(Rng() % (SW - S.SrcRect.Left - 1));
    S.SrcRect.Bottom = S.SrcRect.Top + 2 + Integer(Rng() % (SH - S.SrcRect.Top - 1));
  }
  const Integer RW = 1 + Integer(Rng() % (2 * MaxDst)), RH = 1 + Integer(Rng() % (2 * MaxDst));
  const Integer RX = Integer(Rng() % (DW + 4)) - RW / 2, RY = Integer(Rng() % (DH + 4)) - RH / 2;
  S.DstRect = TRect(RX, RY, RX + RW, RY + RH);
  S.DstClip = S.A.BoundsRect();
  if (Rng() % 3 == 0) {
    S.DstClip.Left = Integer(Rng() % DW);
    S.DstClip.Top = Integer(Rng() % DH);
    S.DstClip.Right = S.DstClip.Left + 1 + Integer(Rng() % DW);
    S.DstClip.Bottom = S.DstClip.Top + 1 + Integer(Rng() % DH);
  }
}

const TPixelCombineEvent CustomCombine = [](TColor32 F, TColor32& B, TColor32 M) { B = (F ^ B) + M; };

class ResampleSpans : public ::testing::TestWithParam<TDrawMode> {
 protected:
  void SetUp() override { EnsureEngine(); }
};

TEST_P(ResampleSpans, BilinearRowsGiveThePerPixelPixels) {
  const TDrawMode Mode = GetParam();
  std::mt19937 Rng(77 + Integer(Mode));
  const TPixelCombineEvent CB = Mode == dmCustom ? CustomCombine : TPixelCombineEvent();
  for (int Iter = 0; Iter < 300; ++Iter) {
    TStretchSetup S;
    RandomSetup(Rng, S, 40, 70);
    StretchBilinear(&S.A, S.DstRect, S.DstClip, &S.Src, S.SrcRect, Mode, CB);
    StretchBilinearPerPixel(&S.B, S.DstRect, S.DstClip, &S.Src, S.SrcRect, Mode, CB);
    ASSERT_EQ(Pixels(S.A), Pixels(S.B)) << "iteration " << Iter;
  }
}

TEST_P(ResampleSpans, KernelRowsGiveThePerPixelPixels) {
  const TDrawMode Mode = GetParam();
  std::mt19937 Rng(177 + Integer(Mode));
  const TPixelCombineEvent CB = Mode == dmCustom ? CustomCombine : TPixelCombineEvent();
  const char16_t* Kernels[] = {u"TBoxKernel",     u"TLinearKernel", u"TCubicKernel",   u"TMitchellKernel",
                               u"TLanczosKernel", u"TSplineKernel", u"TGaussianKernel", u"TAlbrechtKernel",
                               u"TSinshKernel",   u"THermiteKernel"};
  for (int Iter = 0; Iter < 150; ++Iter) {
    TStretchSetup S;
    RandomSetup(Rng, S, 50, 60);
    S.Src.SetResamplerClassName(u"TKernelResampler");
    auto* K = dynamic_cast<TKernelResampler*>(S.Src.Resampler());
    ASSERT_NE(K, nullptr);
    const size_t Kind = Rng() % std::size(Kernels);
    K->SetKernelClassName(Kernels[Kind]);
    StretchKernel(&S.A, S.DstRect, S.DstClip, &S.Src, S.SrcRect, K->Kernel(), Mode, CB);
    StretchKernelPerPixel(&S.B, S.DstRect, S.DstClip, &S.Src, S.SrcRect, K->Kernel(), Mode, CB);
    ASSERT_EQ(Pixels(S.A), Pixels(S.B)) << "iteration " << Iter << " kernel #" << Kind;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ResampleSpans, ::testing::Values(dmOpaque, dmBlend, dmTransparent, dmCustom));

TEST(KernelColumnSums16, VectorFormsGiveThePortableSums) {
  // Random rows, 1..12 taps of weights 0..256 summing to at most 256 (the
  // extremes included), every count up to 40 (vector bodies and tails).
  std::mt19937 Rng(4242);
  std::vector<std::vector<TColor32>> Data(12, std::vector<TColor32>(48));
  for (int Iter = 0; Iter < 400; ++Iter) {
    const Integer Taps = 1 + Integer(Rng() % 12), Count = Integer(Rng() % 41);
    std::vector<const TColor32*> Rows;
    std::vector<Integer> W(static_cast<size_t>(Taps), 0);
    Integer Left = 256;
    for (Integer T = 0; T < Taps; ++T) {
      for (auto& C : Data[size_t(T)]) C = Iter % 5 == 0 ? 0xFFFFFFFFu : TColor32(Rng());
      Rows.push_back(Data[size_t(T)].data() + Rng() % 8);
      W[size_t(T)] = T + 1 == Taps && Iter % 3 == 0 ? Left : Integer(Rng() % (Left + 1));
      Left -= W[size_t(T)];
    }
    std::vector<Word> Ref(size_t(Count) * 4 + 4, 0x5A5A), V(Ref);
    KernelColumnSums16_Pas(Rows.data(), W.data(), Taps, Count, Ref.data());
    for (Integer X = 0; X < Count; ++X)
      for (int K = 0; K < 4; ++K) {
        Integer Sum = 0;
        for (Integer T = 0; T < Taps; ++T) Sum += W[size_t(T)] * Integer((Rows[size_t(T)][X] >> (8 * K)) & 0xFF);
        ASSERT_EQ(Ref[size_t(X) * 4 + K], Sum);
      }
#if defined(__x86_64__) || defined(__i386__)
    KernelColumnSums16_SSE2(Rows.data(), W.data(), Taps, Count, V.data());
    ASSERT_EQ(V, Ref) << "SSE2, iteration " << Iter;
    if (ProcessorHasAVX2()) {
      std::fill(V.begin(), V.end(), Word(0x5A5A));
      KernelColumnSums16_AVX2(Rows.data(), W.data(), Taps, Count, V.data());
      ASSERT_EQ(V, Ref) << "AVX2, iteration " << Iter;
    }
#endif
  }
}

TEST(ResampleSpansLarge, BilinearAndLinearReductionOfANoiseImage) {
  EnsureEngine();
  // The benchmark's shapes, smaller: a strong reduction (many taps) and an
  // enlargement by a fractional factor.
  TCustomBitmap32 Src, A, B;
  FillRandom(Src, 403, 301, 9, false);
  for (const TRect& D : {TRect(0, 0, 100, 75), TRect(0, 0, 1007, 753)}) {
    A.SetSize(D.Right, D.Bottom);
    B.SetSize(D.Right, D.Bottom);
    if (D.Right > Src.Width()) {
      StretchBilinear(&A, D, D, &Src, Src.BoundsRect(), dmOpaque);
      StretchBilinearPerPixel(&B, D, D, &Src, Src.BoundsRect(), dmOpaque);
    } else {
      TLinearKernel K;
      StretchKernel(&A, D, D, &Src, Src.BoundsRect(), &K, dmOpaque);
      StretchKernelPerPixel(&B, D, D, &Src, Src.BoundsRect(), &K, dmOpaque);
    }
    EXPECT_EQ(Pixels(A), Pixels(B)) << D.Right;
  }
}

}  // namespace
