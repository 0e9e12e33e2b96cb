#include "common/gtest.h"

#include <cmath>
#include <memory>
#include <random>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/resample_test_helpers.h"
#include "rtl/SysUtils.h"

namespace {

using bmptest::EnsureEngine;

std::unique_ptr<TCustomKernel> Make(const char16_t* Name) {
  EnsureEngine();
  TClassRef C = KernelList->Find(Name);
  if (C == nullptr) return nullptr;
  return std::unique_ptr<TCustomKernel>(CreateKernel(C));
}

TEST(Kernels, ListHoldsTheFourteenClassesInOrder) {
  EnsureEngine();
  ASSERT_NE(KernelList, nullptr);
  const std::vector<String> Expected{u"TBoxKernel",     u"TLinearKernel",   u"TCosineKernel",  u"TSplineKernel",
                                     u"TCubicKernel",   u"TMitchellKernel", u"TAlbrechtKernel", u"TLanczosKernel",
                                     u"TGaussianKernel", u"TBlackmanKernel", u"THannKernel",    u"THammingKernel",
                                     u"TSinshKernel",   u"THermiteKernel"};
  EXPECT_EQ(KernelList->GetClassNames(), Expected);
  EXPECT_EQ(KernelList->Find(u"TLanczosKernel"), TLanczosKernel::Class());
  EXPECT_EQ(KernelList->Find(u"tlanczoskernel"), nullptr);
  for (const String& N : Expected) {
    auto K = Make(N.c_str());
    ASSERT_NE(K, nullptr);
    EXPECT_EQ(K->ClassName(), N);
    const bool Plain = N == u"TBoxKernel" || N == u"TLinearKernel" || N == u"TCosineKernel";
    EXPECT_EQ(K->NeedsClamping(), !Plain) << "clamping of a kernel";
  }
}

TEST(Kernels, FilterValues) {
  struct Case {
    const char16_t* Kernel;
    Single V;
    double Expected;
    double Tol;
  } Cases[] = {
      {u"TBoxKernel", 0.5f, 1, 0},           {u"TBoxKernel", -0.5f, 1, 0},
      {u"TBoxKernel", 0.50001f, 0, 0},       {u"TLinearKernel", -1, 0, 0},
      {u"TLinearKernel", -0.25f, 0.75, 0},   {u"TLinearKernel", 0.25f, 0.75, 0},
      {u"TCosineKernel", 0, 1, 1e-7},        {u"TCosineKernel", 0.5f, 0.5, 1e-7},
      {u"TCosineKernel", 1, 0, 0},           {u"TSplineKernel", 0, 2.0 / 3, 1e-7},
      {u"TSplineKernel", 1, 1.0 / 6, 1e-7},  {u"TSplineKernel", 2, 0, 0},
      {u"TMitchellKernel", 0, 16.0 / 18, 1e-7}, {u"TMitchellKernel", 2, 0, 0},
      {u"TMitchellKernel", 1, 1.0 / 18, 1e-7}, {u"TCubicKernel", 0, 1, 0},
      {u"TCubicKernel", 1, 0, 0},            {u"TCubicKernel", 1.5f, -0.0625, 0},
      {u"THermiteKernel", 0, 1, 1e-7},       {u"THermiteKernel", -1, 0, 1e-7},
      {u"THermiteKernel", 1, 0, 1e-7},       {u"TLanczosKernel", 0, 1, 0},
      {u"TLanczosKernel", 3, 0, 0},          {u"TLanczosKernel", 1, 0, 1e-6},
      {u"TLanczosKernel", 2, 0, 1e-6},       {u"TLanczosKernel", 0.5f, 0.6079271, 1e-6},
      {u"TGaussianKernel", 0, 1, 1e-7},      {u"TBlackmanKernel", 0, 1, 1e-6},
      {u"THannKernel", 0, 1, 1e-7},          {u"THammingKernel", 0, 1, 1e-7},
      {u"TSinshKernel", 0, 1, 0},            {u"TAlbrechtKernel", 0, 1, 1e-6},
      {u"TAlbrechtKernel", 3, 0, 0},
  };
  for (const auto& C : Cases) {
    auto K = Make(C.Kernel);
    ASSERT_NE(K, nullptr);
    EXPECT_NEAR(K->Filter(C.V), C.Expected, C.Tol) << std::string(C.Kernel, C.Kernel + 15) << " at " << C.V;
  }
  // Windowed sinc values: sinc(x) * window(x / width).
  auto L = Make(u"TLanczosKernel");
  const double X = 1.3, Pi = 3.14159265358979323846;
  const double Ref = std::sin(Pi * X) / (Pi * X) * std::sin(Pi * X / 3) / (Pi * X / 3);
  EXPECT_NEAR(L->Filter(Single(X)), Ref, 1e-6);
  auto G = Make(u"TGaussianKernel");
  EXPECT_NEAR(G->Filter(1.0f), std::sin(Pi) / Pi * std::pow(2.0, -1.0 / 1.33), 1e-6);
  auto S = Make(u"TSinshKernel");
  EXPECT_NEAR(S->Filter(0.5f), std::sin(Pi * 0.5) * 0.5 / std::sinh(Pi * 0.5 * 0.5), 1e-6);
}

TEST(Kernels, SettersLimitAndIgnore) {
  TLanczosKernel L;
  L.SetWidth(20);
  EXPECT_EQ(L.Width(), 16);
  EXPECT_FLOAT_EQ(L.WidthReciprocal(), 1.0f / 16);
  EXPECT_EQ(L.GetWidth(), 16);
  TGaussianKernel G;
  EXPECT_EQ(G.Sigma(), 1.33f);
  G.SetSigma(0);
  EXPECT_EQ(G.Sigma(), 1.33f);
  TAlbrechtKernel A;
  EXPECT_EQ(A.Terms(), 7);
  A.SetTerms(1);
  EXPECT_EQ(A.Terms(), 2);
  A.SetTerms(12);
  EXPECT_EQ(A.Terms(), 11);
  TSinshKernel S;
  S.SetCoeff(0);
  EXPECT_EQ(S.Coeff(), 0.5f);
  TCubicKernel C;
  EXPECT_EQ(C.Coeff(), -0.5f);
}

TEST(Kernels, AlbrechtRowsSumToOne) {
  // At x = 0 the window is the sum of the coefficients.
  TAlbrechtKernel A;
  for (Integer T = 2; T <= 11; ++T) {
    A.SetTerms(T);
    EXPECT_NEAR(A.WindowFactor(0), 1.0, 2e-7) << T << " terms";
    EXPECT_NEAR(A.Filter(0), 1.0, 2e-7);
  }
}

TEST(Kernels, AssignCopiesPublishedProperties) {
  TCubicKernel A, B;
  A.SetCoeff(-0.75f);
  B.Assign(&A);
  EXPECT_EQ(B.Coeff(), -0.75f);
  TGaussianKernel G1, G2;
  G1.SetSigma(2.5f);
  G1.SetWidth(5);
  G2.Assign(&G1);
  EXPECT_EQ(G2.Sigma(), 2.5f);
  EXPECT_EQ(G2.Width(), 5);
  TAlbrechtKernel A1, A2;
  A1.SetTerms(4);
  A2.Assign(&A1);
  EXPECT_EQ(A2.Terms(), 4);
  TStringList NotAKernel;
  EXPECT_THROW(NotAKernel.Assign(&A), EConvertError);
}

// ---------------------------------------------------------------------------
// Mapping tables

TEST(KernelMapping, BoxEnlargementByTwo) {
  TBoxKernel Box;
  const TMappingTable T = BuildKernelMapping(0, 4, 0, 4, 0, 2, &Box);
  ASSERT_EQ(T.size(), 4u);
  const Integer Pos[4] = {0, 0, 1, 1};
  for (int I = 0; I < 4; ++I) EXPECT_EQ(T[I], (TCluster{TPointRec{Pos[I], 256}})) << I;
}

TEST(KernelMapping, SingleSourcePixelAndEmptyCases) {
  TBoxKernel Box;
  const TMappingTable T = BuildKernelMapping(0, 7, 2, 5, 3, 4, &Box);
  ASSERT_EQ(T.size(), 3u);
  for (const auto& C : T) EXPECT_EQ(C, (TCluster{TPointRec{3, 256}}));
  EXPECT_TRUE(BuildKernelMapping(0, 7, 0, 7, 3, 3, &Box).empty());
  EXPECT_TRUE(BuildKernelMapping(0, 7, 4, 4, 0, 3, &Box).empty());
}

TEST(KernelMapping, LinearReductionByTwo) {
  TLinearKernel Lin;
  const TMappingTable T = BuildKernelMapping(0, 4, 0, 4, 0, 8, &Lin);
  ASSERT_EQ(T.size(), 4u);
  // Centre of destination 1 is source 2.5: taps 1..4 with 0.25, 0.75, 0.75, 0.25 of 128.
  EXPECT_EQ(T[1], (TCluster{{1, 32}, {2, 96}, {3, 96}, {4, 32}}));
  // Destination 0: the tap at -1 is clamped onto 0 and kept separately.
  EXPECT_EQ(T[0], (TCluster{{0, 32}, {0, 96}, {1, 96}, {2, 32}}));
}

TEST(KernelMapping, WeightsSumTo256ForEveryKernelAndSize) {
  EnsureEngine();
  std::mt19937 Rng(1234);
  for (Integer K = 0; K < KernelList->Count(); ++K) {
    std::unique_ptr<TCustomKernel> Kernel(CreateKernel(KernelList->Items(K)));
    for (int Trial = 0; Trial < 25; ++Trial) {
      const Integer SrcLo = Integer(Rng() % 20), SrcW = 2 + Integer(Rng() % 60);
      const Integer DstLo = Integer(Rng() % 20), DstW = 1 + Integer(Rng() % 90);
      const Integer ClipLo = DstLo + Integer(Rng() % DstW);
      const Integer ClipHi = ClipLo + 1 + Integer(Rng() % (DstLo + DstW - ClipLo));
      const TMappingTable T =
          BuildKernelMapping(DstLo, DstLo + DstW, ClipLo, ClipHi, SrcLo, SrcLo + SrcW, Kernel.get());
      ASSERT_EQ(Integer(T.size()), ClipHi - ClipLo);
      for (const auto& C : T) {
        ASSERT_FALSE(C.empty());
        Integer Sum = 0;
        Integer Prev = -1;
        for (const auto& P : C) {
          Sum += P.Weight;
          EXPECT_GE(P.Pos, SrcLo);
          EXPECT_LT(P.Pos, SrcLo + SrcW);
          EXPECT_GE(P.Pos, Prev);  // ascending source order
          Prev = P.Pos;
        }
        EXPECT_EQ(Sum, 256) << Kernel->ClassName().size() << " kernel #" << K;
      }
    }
  }
}

}  // namespace
