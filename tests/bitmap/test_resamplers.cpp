#include "common/gtest.h"

#include <cmath>
#include <memory>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

class Resamplers : public ::testing::Test {
 protected:
  void SetUp() override { EnsureEngine(); }
};

TEST_F(Resamplers, ListAndBitmapSelection) {
  ASSERT_NE(ResamplerList, nullptr);
  EXPECT_EQ(ResamplerList->GetClassNames(),
            (std::vector<String>{u"TNearestResampler", u"TLinearResampler", u"TDraftResampler", u"TKernelResampler"}));
  TCustomBitmap32 B;
  EXPECT_EQ(B.ResamplerClassName(), u"TNearestResampler");
  TCustomResampler* Old = B.Resampler();
  B.SetResamplerClassName(u"TNearestResampler");
  EXPECT_EQ(B.Resampler(), Old);  // the current name does not recreate
  B.SetResamplerClassName(u"TNoSuchResampler");
  EXPECT_EQ(B.Resampler(), Old);
  B.SetResamplerClassName(u"TKernelResampler");
  auto* K = dynamic_cast<TKernelResampler*>(B.Resampler());
  ASSERT_NE(K, nullptr);
  EXPECT_EQ(K->Bitmap(), &B);
  EXPECT_EQ(K->KernelClassName(), u"TBoxKernel");
  EXPECT_EQ(K->TableSize(), 32);
  EXPECT_EQ(K->KernelMode(), kmDynamic);
  EXPECT_EQ(K->PixelAccessMode(), pamSafe);
}

// Float separable reference of the kernel stretch (no premultiplication).
TColor32 ReferenceKernelPixel(const TCustomBitmap32& Src, TCustomKernel* K, Integer DstW, Integer DstH, Integer X,
                              Integer Y) {
  auto Weights = [K](Integer Dst, Integer DstN, Integer SrcN) {
    std::vector<std::pair<Integer, double>> W;
    const double Scale = double(DstN) / SrcN;
    const double Support = K->GetWidth() * (Scale < 1 ? 1 / Scale : 1);
    const double Center = (Dst + 0.5) / Scale - 0.5;
    double Sum = 0;
    for (Integer J = Integer(std::floor(Center - Support)); J <= Integer(std::ceil(Center + Support)); ++J) {
      const double V = Scale < 1 ? K->Filter(Single((Center - J) * Scale)) * Scale : K->Filter(Single(Center - J));
      W.push_back({std::min(std::max(J, 0), SrcN - 1), V});
      Sum += V;
    }
    for (auto& P : W) P.second /= Sum;
    return W;
  };
  const auto WX = Weights(X, DstW, Src.Width()), WY = Weights(Y, DstH, Src.Height());
  TColor32 R = 0;
  for (int S = 0; S < 32; S += 8) {
    double Acc = 0;
    for (const auto& Y2 : WY)
      for (const auto& X2 : WX) Acc += Y2.second * X2.second * double((Src.GetPixel(X2.first, Y2.first) >> S) & 0xFF);
    // The stretch truncates its sums (shr 16).
    const Integer C = std::min(255, std::max(0, Integer(std::floor(Acc + 1e-9))));
    R |= TColor32(C) << S;
  }
  return R;
}

TEST_F(Resamplers, KernelStretchAgainstAFloatReference) {
  // Smooth content: within 1 of the float reference. Noise: the 8-bit
  // weights (each rounded to 1/256) allow a little more.
  TCustomBitmap32 Smooth, Noise, Dst;
  FillBitmap(Smooth, 23, 17, [](Integer X, Integer Y) {
    const double V = 127.5 + 100 * std::sin(X * 0.35) * std::cos(Y * 0.3);
    const TColor32 C = TColor32(std::lround(V));
    return 0xC0000000u | (C << 16) | (TColor32(X * 11) << 8) | TColor32(255 - Y * 9);
  });
  FillRandom(Noise, 23, 17, 3, false);
  for (const char16_t* Name : {u"TLanczosKernel", u"TCubicKernel", u"TMitchellKernel"}) {
    std::unique_ptr<TCustomKernel> K(CreateKernel(KernelList->Find(Name)));
    for (auto Size : {std::pair<Integer, Integer>{11, 9}, {46, 34}, {31, 12}})
      for (TCustomBitmap32* Src : {&Smooth, &Noise}) {
        Dst.SetSize(Size.first, Size.second);
        StretchKernel(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), Src, Src->BoundsRect(), K.get(), dmOpaque);
        int Worst = 0;
        for (Integer Y = 0; Y < Dst.Height(); ++Y)
          for (Integer X = 0; X < Dst.Width(); ++X)
            Worst = std::max(Worst, ChannelDiff(Dst.GetPixel(X, Y), ReferenceKernelPixel(*Src, K.get(), Dst.Width(),
                                                                                        Dst.Height(), X, Y)));
        EXPECT_LE(Worst, Src == &Smooth ? 1 : 3) << Size.first << "x" << Size.second;
      }
  }
}

TEST_F(Resamplers, KernelStretchClampsOrWrapsByKernel) {
  // A sharp edge: the cubic kernel overshoots and is clamped.
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 4, 1, [](Integer X, Integer) { return X < 2 ? 0xFF000000u : 0xFFFFFFFFu; });
  Dst.SetSize(16, 1);
  TCubicKernel Cubic;
  StretchKernel(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, Src.BoundsRect(), &Cubic, dmOpaque);
  for (Integer X = 0; X < 16; ++X) EXPECT_EQ(Dst.GetPixel(X, 0) >> 24, 0xFFu);
  EXPECT_EQ(Dst.GetPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(Dst.GetPixel(15, 0), 0xFFFFFFFFu);
}

TEST_F(Resamplers, LinearResamplerUsesTheKernelStretchForNarrowSources) {
  TCustomBitmap32 Src, A, B;
  FillRandom(Src, 1, 5, 8, true);
  Src.SetResamplerClassName(u"TLinearResampler");
  A.SetSize(4, 9);
  B.SetSize(4, 9);
  Src.Resampler()->Resample(&A, A.BoundsRect(), A.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque, {});
  TLinearKernel K;
  StretchKernel(&B, B.BoundsRect(), B.BoundsRect(), &Src, Src.BoundsRect(), &K, dmOpaque);
  EXPECT_EQ(Pixels(A), Pixels(B));
  // A wide enough source enlarges bilinearly.
  FillRandom(Src, 3, 3, 9, true);
  A.SetSize(7, 7);
  B.SetSize(7, 7);
  Src.Resampler()->Resample(&A, A.BoundsRect(), A.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque, {});
  StretchBilinear(&B, B.BoundsRect(), B.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque);
  EXPECT_EQ(Pixels(A), Pixels(B));
}

// ---------------------------------------------------------------------------
// Point sampling

TEST_F(Resamplers, NearestSamplingByAccessMode) {
  TCustomBitmap32 B;
  FillBitmap(B, 4, 3, Tag);
  B.SetOuterColor(0x12345678u);
  auto* R = dynamic_cast<TNearestResampler*>(B.Resampler());
  ASSERT_NE(R, nullptr);
  R->SetPixelAccessMode(pamSafe);
  R->PrepareSampling();
  EXPECT_EQ(R->GetSampleInt(3, 2), Tag(3, 2));
  EXPECT_EQ(R->GetSampleInt(4, 0), 0x12345678u);
  EXPECT_EQ(R->GetSampleFixed(0x28000, 0x18000), Tag(2, 1));   // halves round down
  EXPECT_EQ(R->GetSampleFloat(2.5f, 1.5f), Tag(2, 2));         // halves to even
  R->SetPixelAccessMode(pamWrap);
  B.SetWrapMode(wmRepeat);
  R->PrepareSampling();
  EXPECT_EQ(R->GetSampleInt(5, -1), Tag(1, 2));
  R->SetPixelAccessMode(pamTransparentEdge);
  R->PrepareSampling();
  EXPECT_EQ(R->GetSampleInt(4, 0), Tag(3, 0) & 0x00FFFFFFu);
  EXPECT_EQ(R->GetSampleInt(-3, 9), Tag(0, 2) & 0x00FFFFFFu);
  EXPECT_EQ(R->GetSampleInt(1, 1), Tag(1, 1));
  R->FinalizeSampling();
}

TEST_F(Resamplers, LinearTransparentEdgeReader) {
  TCustomBitmap32 B;
  FillBitmap(B, 3, 3, [](Integer, Integer) { return 0xFFFFFFFFu; });
  B.SetResamplerClassName(u"TLinearResampler");
  auto* R = dynamic_cast<TLinearResampler*>(B.Resampler());
  R->SetPixelAccessMode(pamTransparentEdge);
  R->PrepareSampling();
  // Inside: the pixel itself.
  EXPECT_EQ(R->GetSampleFixed(0x10000, 0x10000), 0xFFFFFFFFu);
  // Far outside: transparent black.
  EXPECT_EQ(R->GetSampleFixed(-0x30000, 0), 0u);
  EXPECT_EQ(R->GetSampleFixed(0x40000, 0x10000), 0u);
  // Half a pixel left of the image: half faded.
  const TColor32 Half = R->GetSampleFixed(-0x8000, 0x10000);
  EXPECT_GT(Half >> 24, 0x40u);
  EXPECT_LT(Half >> 24, 0xC0u);
  // Exactly on the top-right pixel: the ">=" rules clear its alpha as well
  // (the vector combine leaves 1 of 255).
  EXPECT_LE(R->GetSampleFixed(0x20000, 0) >> 24, 1u);
  EXPECT_EQ(R->GetSampleFixed(0x10000, 0) >> 24, 0xFFu);
  R->FinalizeSampling();
}

class KernelSampling : public Resamplers {
 protected:
  TCustomBitmap32 B;
  TKernelResampler* K = nullptr;
  void SetUp() override {
    Resamplers::SetUp();
    FillBitmap(B, 4, 4, [](Integer X, Integer Y) { return 0xFF000000u | TColor32(X * 40 + Y * 10); });
    B.SetPixel(1, 1, 0x80402010u);
    B.SetResamplerClassName(u"TKernelResampler");
    K = dynamic_cast<TKernelResampler*>(B.Resampler());
    ASSERT_NE(K, nullptr);
  }
};

TEST_F(KernelSampling, IntegerPositionsWithTheBoxKernelReturnThePixel) {
  K->PrepareSampling();
  EXPECT_EQ(K->GetSampleFloat(2, 3), B.GetPixel(2, 3));
  // Translucent: premultiplied and divided back.
  const TColor32 T = K->GetSampleFloat(1, 1);
  EXPECT_EQ(T >> 24, 0x80u);
  EXPECT_LE(ChannelDiff(T, 0x80402010u), 1);
  K->FinalizeSampling();
}

TEST_F(KernelSampling, SafeModeMixesTheOuterColorAtTheEdge) {
  B.SetOuterColor(0xFFFFFFFFu);
  K->SetKernelClassName(u"TLinearKernel");
  K->PrepareSampling();
  // One pixel right of the clip still samples (Cx = Right is inside the test).
  const TColor32 Near = K->GetSampleFloat(3.5f, 1);
  EXPECT_NE(Near, 0xFFFFFFFFu);
  EXPECT_GT(Near & 0xFF, B.GetPixel(3, 1) & 0xFF);
  // Two pixels right: the outer colour.
  EXPECT_EQ(K->GetSampleFloat(5.5f, 1), 0xFFFFFFFFu);
  K->FinalizeSampling();
  K->SetPixelAccessMode(pamTransparentEdge);
  K->PrepareSampling();
  EXPECT_EQ(K->GetSampleFloat(5.5f, 1), 0u);
  K->FinalizeSampling();
}

TEST_F(KernelSampling, TableModesAgreeWithTheDynamicOne) {
  K->SetKernelClassName(u"TCubicKernel");
  std::vector<TColor32> Dynamic;
  K->PrepareSampling();
  for (Single X : {0.25f, 1.5f, 2.75f}) Dynamic.push_back(K->GetSampleFloat(X, 1.75f));
  K->FinalizeSampling();
  for (TKernelMode M : {kmTableNearest, kmTableLinear}) {
    K->SetKernelMode(M);
    K->SetTableSize(256);
    K->PrepareSampling();
    ASSERT_NE(K->WeightTable(), nullptr);
    EXPECT_EQ(K->WeightTable()->Width(), 5);
    EXPECT_EQ(K->WeightTable()->Height(), 257);
    for (Integer R = 0; R <= 256; ++R) {
      Integer Sum = 0;
      for (Integer C = 0; C < 5; ++C) Sum += K->WeightTable()->Value(C, R);
      EXPECT_EQ(Sum, 256);
    }
    int I = 0;
    for (Single X : {0.25f, 1.5f, 2.75f}) EXPECT_LE(ChannelDiff(K->GetSampleFloat(X, 1.75f), Dynamic[I++]), 2);
    K->FinalizeSampling();
    EXPECT_EQ(K->WeightTable(), nullptr);
  }
}

TEST_F(KernelSampling, TableSizeAndModeChangesWhileSampling) {
  K->SetTableSize(1);
  EXPECT_EQ(K->TableSize(), 2);
  K->SetKernelMode(kmTableNearest);
  K->PrepareSampling();
  ASSERT_NE(K->WeightTable(), nullptr);
  EXPECT_EQ(K->WeightTable()->Height(), 3);  // fractions 0, 1 and 2
  // Switching the mode in between neither leaks the table nor reads a missing one.
  K->SetKernelMode(kmDynamic);
  (void)K->GetSampleFloat(1.5f, 1.5f);
  K->FinalizeSampling();
  EXPECT_EQ(K->WeightTable(), nullptr);
  K->PrepareSampling();
  K->SetKernelMode(kmTableLinear);
  (void)K->GetSampleFloat(1.5f, 1.5f);
  K->FinalizeSampling();
}

TEST_F(KernelSampling, KernelReplacementAndNames) {
  int Changes = 0;
  B.SetOnChange([&](TObject*) { ++Changes; });
  K->SetKernelClassName(u"TNoSuchKernel");
  EXPECT_EQ(K->KernelClassName(), u"TBoxKernel");
  EXPECT_EQ(Changes, 0);
  K->SetKernelClassName(u"TLanczosKernel");
  EXPECT_EQ(K->KernelClassName(), u"TLanczosKernel");
  EXPECT_EQ(K->GetWidth(), 3);
  EXPECT_EQ(Changes, 1);
  K->SetKernel(nullptr);
  EXPECT_EQ(K->KernelClassName(), u"TLanczosKernel");
  K->SetKernel(new THannKernel());
  EXPECT_EQ(K->KernelClassName(), u"THannKernel");
  EXPECT_EQ(Changes, 2);
  // Copying a kernel resampler copies its kernel class, kernel settings and modes.
  auto* Gauss = new TGaussianKernel();
  Gauss->SetSigma(2);
  K->SetKernel(Gauss);
  K->SetKernelMode(kmTableLinear);
  K->SetTableSize(64);
  TCustomBitmap32 C;
  C.SetResamplerClassName(u"TKernelResampler");
  auto* K2 = dynamic_cast<TKernelResampler*>(C.Resampler());
  K2->Assign(K);
  EXPECT_EQ(K2->KernelClassName(), u"TGaussianKernel");
  EXPECT_EQ(dynamic_cast<TGaussianKernel*>(K2->Kernel())->Sigma(), 2.0f);
  EXPECT_EQ(K2->KernelMode(), kmTableLinear);
  EXPECT_EQ(K2->TableSize(), 64);
}

TEST_F(KernelSampling, NonClampingKernelsWrapInsteadOfSaturating) {
  // A custom kernel without clamping whose weights overshoot.
  class TOvershoot : public TCustomKernel {
   public:
    Single Filter(Single V) override { return std::fabs(V) < 0.5f ? 1.5f : (std::fabs(V) < 1.5f ? -0.25f : 0); }
    Single GetWidth() override { return 1; }
  };
  FillBitmap(B, 4, 4, [](Integer, Integer) { return 0xFFF0F0F0u; });
  K->SetKernel(new TOvershoot());
  K->PrepareSampling();
  const TColor32 C = K->GetSampleFloat(1, 1);
  K->FinalizeSampling();
  // Weights after correction: -64, 384, -64 per axis; the sum of a flat 240 area stays 240.
  EXPECT_EQ(C, 0xFFF0F0F0u);
  // Next to a dark column the centre overshoots past 255 and wraps.
  FillBitmap(B, 4, 4, [](Integer X, Integer) { return X == 0 ? 0xFF000000u : 0xFFF0F0F0u; });
  K->PrepareSampling();
  const TColor32 D = K->GetSampleFloat(1, 1);
  K->FinalizeSampling();
  // Centre 240 * 1.5 - 0 * 0.25 - 240 * 0.25 = 300 -> 300 and 255 = 44.
  EXPECT_EQ(D & 0xFF, 44u);
}

}  // namespace
