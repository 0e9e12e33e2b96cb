#include "common/gtest.h"

#include <stdexcept>

#include "bitmap/Bmp32_Rasterizers.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

// A sampler answering a fixed function of the position, with optional bounds.
class TFnSampler : public TCustomSampler {
 public:
  std::function<TColor32(Integer, Integer)> Fn;
  bool Bounded = false;
  TFloatRect Bounds;
  int Prepared = 0, Finalized = 0;
  TColor32 GetSampleInt(Integer X, Integer Y) override { return Fn(X, Y); }
  void PrepareSampling() override { ++Prepared; }
  void FinalizeSampling() override { ++Finalized; }
  bool HasBounds() const override { return Bounded; }
  TFloatRect GetSampleBounds() const override { return Bounds; }
};

class Rasterizers : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureEngine();
    Dst.SetSize(6, 5);
    Dst.Clear(0xFF102030u);
    S.Fn = [](Integer X, Integer Y) { return Tag(X, Y); };
  }
  TCustomBitmap32 Dst;
  TFnSampler S;
  TRegularRasterizer R;
};

TEST_F(Rasterizers, WithoutASamplerNothingHappens) {
  TAreaLog Log;
  Log.Attach(Dst);
  const auto Before = Pixels(Dst);
  R.Rasterize(&Dst);
  EXPECT_EQ(Pixels(Dst), Before);
  EXPECT_TRUE(Log.Areas.empty());
}

TEST_F(Rasterizers, OpaqueFillReportsFromOneRowAbove) {
  R.SetSampler(&S);
  TAreaLog Log;
  Log.Attach(Dst);
  R.Rasterize(&Dst, TRect(1, 1, 4, 3));
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 6; ++X) {
      const bool In = X >= 1 && X < 4 && Y >= 1 && Y < 3;
      EXPECT_EQ(Dst.GetPixel(X, Y), In ? Tag(X, Y) : 0xFF102030u);
    }
  ASSERT_EQ(Log.Areas.size(), 1u);
  EXPECT_EQ(Log.Areas[0], TRect(1, 0, 4, 3));
  EXPECT_EQ(S.Prepared, 1);
  EXPECT_EQ(S.Finalized, 1);
  // An area without rows still reports a row.
  Log.Areas.clear();
  R.Rasterize(&Dst, TRect(2, 3, 5, 3));
  ASSERT_EQ(Log.Areas.size(), 1u);
  EXPECT_EQ(Log.Areas[0], TRect(2, 2, 5, 3));
}

TEST_F(Rasterizers, UpdateRowCountReportsEveryTwoRows) {
  R.SetSampler(&S);
  R.SetUpdateRowCount(2);
  TAreaLog Log;
  Log.Attach(Dst);
  R.Rasterize(&Dst, TRect(0, 0, 6, 5));
  EXPECT_EQ(Log.Areas, (std::vector<TRect>{TRect(0, -1, 6, 1), TRect(0, 1, 6, 3), TRect(0, 3, 6, 5)}));
}

TEST_F(Rasterizers, SamplerBoundsAreRoundedOutwards) {
  S.Bounded = true;
  S.Bounds = TFloatRect{2.5f, 2.5f, 4.5f, 4.5f};
  R.SetSampler(&S);
  R.Rasterize(&Dst);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 6; ++X) {
      const bool In = X >= 2 && X <= 4 && Y >= 2 && Y <= 4;
      EXPECT_EQ(Dst.GetPixel(X, Y), In ? Tag(X, Y) : 0xFF102030u) << X << "," << Y;
    }
}

TEST_F(Rasterizers, DrawModesOfTheSourceBitmap) {
  TCustomBitmap32 Src;
  Src.SetSize(1, 1);
  R.SetSampler(&S);
  // Colour key: samples equal to the outer colour are skipped.
  S.Fn = [](Integer X, Integer) { return X < 3 ? 0x00FF00FFu : 0xFFFF00FFu; };
  Src.SetDrawMode(dmTransparent);
  Src.SetOuterColor(0x00FF00FFu);
  R.Rasterize(&Dst, Dst.BoundsRect(), &Src);
  EXPECT_EQ(Dst.GetPixel(2, 0), 0xFF102030u);
  EXPECT_EQ(Dst.GetPixel(3, 0), 0xFFFF00FFu);
  // Custom mode without a callback behaves as opaque.
  Src.SetDrawMode(dmCustom);
  R.Rasterize(&Dst, Dst.BoundsRect(), &Src);
  EXPECT_EQ(Dst.GetPixel(2, 0), 0x00FF00FFu);
  // Custom with a callback gets F, B and the master alpha.
  Src.SetMasterAlpha(9);
  Src.SetOnPixelCombine([](TColor32 F, TColor32& B, TColor32 M) { B = (F & 0xFF) + M; });
  R.Rasterize(&Dst, Dst.BoundsRect(), &Src);
  EXPECT_EQ(Dst.GetPixel(4, 4), 0xFFu + 9);
  // Blend by the combine mode with the master alpha.
  Dst.Clear(0xFF000000u);
  S.Fn = [](Integer, Integer) { return 0x80FFFFFFu; };
  Src.SetDrawMode(dmBlend);
  Src.SetMasterAlpha(200);
  Src.SetCombineMode(cmMerge);
  R.Rasterize(&Dst, Dst.BoundsRect(), &Src);
  TColor32 E = 0xFF000000u;
  MergeIntoEx(0x80FFFFFFu, E, 200);
  EXPECT_EQ(Dst.GetPixel(0, 0), E);
  // A combine info given directly: custom without callback writes as a blend.
  TCombineInfo Info;
  Info.DrawMode = dmCustom;
  Info.SrcAlpha = 255;
  Dst.Clear(0xFF000000u);
  R.Rasterize(&Dst, Dst.BoundsRect(), Info);
  TColor32 E2 = 0xFF000000u;
  BlendIntoEx(0x80FFFFFFu, E2, 255);
  EXPECT_EQ(Dst.GetPixel(1, 1), E2);
}

TEST_F(Rasterizers, UpdateCountIsRestoredAndSamplingFinalizedOnExceptions) {
  S.Fn = [this](Integer X, Integer Y) {
    if (X == 0 && Y == 0) Dst.BeginUpdate();
    if (X == 2 && Y == 1) throw std::runtime_error("sampler failed");
    return Tag(X, Y);
  };
  R.SetSampler(&S);
  const Integer Before = Dst.UpdateCount();
  EXPECT_THROW(R.Rasterize(&Dst), std::runtime_error);
  EXPECT_EQ(Dst.UpdateCount(), Before);
  EXPECT_EQ(S.Finalized, 1);
}

TEST_F(Rasterizers, AssignCopiesCombineInfoAndProperties) {
  TCustomBitmap32 Src;
  Src.SetDrawMode(dmTransparent);
  Src.SetOuterColor(0x11223344u);
  R.SetSampler(&S);
  R.Assign(&Src);
  S.Fn = [](Integer, Integer) { return 0x11223344u; };
  R.Rasterize(&Dst);
  EXPECT_EQ(Dst.GetPixel(0, 0), 0xFF102030u);  // colour key from the bitmap
  TRegularRasterizer R2;
  R.SetUpdateRowCount(3);
  R2.Assign(&R);
  EXPECT_EQ(R2.UpdateRowCount(), 3);
  std::unique_ptr<TRasterizer> D(CreateRasterizer(DefaultRasterizer));
  ASSERT_NE(dynamic_cast<TRegularRasterizer*>(D.get()), nullptr);
}

}  // namespace
