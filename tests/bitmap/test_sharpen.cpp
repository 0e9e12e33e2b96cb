// Sharpen and exponential blur: the decay weights, a bright pixel, borders,
// flat areas, the kernel choice by Kind, and the blur against a plain loop
// of its recurrence.
#include "common/gtest.h"

#include <random>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/SharpenLib32.h"

namespace {

class SharpenTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(SharpenTest, DecayValues) {
  EXPECT_EQ(ExpBlurDecay(1), 44785);
  EXPECT_EQ(ExpBlurDecay(2), 35091);
  EXPECT_EQ(ExpBlurDecay(4), 24164);
  EXPECT_EQ(ExpBlurDecay(10), 12365);
}

TEST_F(SharpenTest, BrightPixelWithEachKernel) {
  TCustomBitmap32 B;
  B.SetSize(5, 5);
  for (Integer kind : {0, 2, -2, 1, -1, 3}) {
    B.Clear(0x00000000u);
    B.SetPixel(2, 2, 0xFFFFFFFFu);
    Sharpen(&B, kind);
    EXPECT_EQ(B.GetPixel(2, 2), 0xFFFFFFFFu) << kind;  // 28*255 div 16 clamped
    EXPECT_EQ(B.GetPixel(1, 2), 0u);                    // negative sums clamp to 0
    EXPECT_EQ(B.GetPixel(1, 1), 0u);
    EXPECT_EQ(B.GetPixel(0, 0), 0u);
  }
  // kernel A vs B differ on a dim pixel: A's edge weight -2, B's -1
  for (Integer kind : {0, 1, -1}) {
    B.Clear(0xFF404040u);
    B.SetPixel(2, 2, 0xFF505050u);
    Sharpen(&B, kind);
    Integer edge = (kind & 1) ? (16 * 64 + 64 - 80) / 16 : (16 * 64 + 2 * 64 - 2 * 80) / 16;
    EXPECT_EQ(Integer(RedOf(B.GetPixel(1, 2))), edge) << kind;
  }
}

TEST_F(SharpenTest, FlatAreasAndBordersStay) {
  TCustomBitmap32 B;
  B.SetSize(7, 4);
  B.Clear(0x80336699u);
  Sharpen(&B, 0);
  ExpBlur(&B, 5);
  for (Integer i = 0; i < 28; ++i) EXPECT_EQ(B.Bits()[i], 0x80336699u);
  // a uniform border row stays uniform: missing neighbours read the centre
  B.Clear(0xFF202020u);
  for (Integer x = 0; x < 7; ++x) B.SetPixel(x, 0, 0xFFA0A0A0u);
  Sharpen(&B, 1);
  for (Integer x = 2; x < 6; ++x) EXPECT_EQ(B.GetPixel(x, 0), B.GetPixel(1, 0));  // corners differ
  EXPECT_EQ(B.GetPixel(0, 0), B.GetPixel(6, 0));
}

TEST_F(SharpenTest, ExpBlurAgainstThePlainRecurrence) {
  std::mt19937 rng(11);
  for (auto [w, h, r] : {std::tuple{9, 7, 1}, std::tuple{1, 5, 3}, std::tuple{12, 1, 10}, std::tuple{20, 13, 4}}) {
    TCustomBitmap32 B;
    B.SetSize(w, h);
    std::vector<TColor32> ref(size_t(w * h));
    for (Integer i = 0; i < w * h; ++i) ref[size_t(i)] = B.Bits()[i] = rng();
    ExpBlur(&B, r);
    const Int64 decay = ExpBlurDecay(r);
    auto pass = [&](Integer start, Integer n, Integer stride) {
      for (int ch = 0; ch < 32; ch += 8) {
        Int64 s = Int64((ref[size_t(start)] >> ch) & 0xFF) * 128;
        auto at = [&](Integer i) -> TColor32& { return ref[size_t(start + i * stride)]; };
        auto step = [&](Integer i) {
          Int64 c = Int64((at(i) >> ch) & 0xFF) * 128;
          s = s + Int64(std::floor(double((c - s) * decay) / 65536.0));
          at(i) = (at(i) & ~(0xFFu << ch)) | (TColor32(s / 128) << ch);
        };
        for (Integer i = 1; i < n; ++i) step(i);
        for (Integer i = n - 2; i >= 0; --i) step(i);
      }
    };
    for (Integer y = 0; y < h; ++y) pass(y * w, w, 1);
    for (Integer x = 0; x < w; ++x) pass(x, h, w);
    for (Integer i = 0; i < w * h; ++i) ASSERT_EQ(B.Bits()[i], ref[size_t(i)]) << w << "x" << h << " at " << i;
  }
}

TEST_F(SharpenTest, ExpBlurEdgeCases) {
  TCustomBitmap32 B;
  B.SetSize(3, 1);
  B.SetPixel(0, 0, 0x00000000u);
  B.SetPixel(1, 0, 0xFFFFFFFFu);
  B.SetPixel(2, 0, 0x00000000u);
  ExpBlur(&B, 0);
  ExpBlur(&B, -3);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFFFFFFFFu);
  ExpBlur(&B, 2);
  EXPECT_LT(AlphaOf(B.GetPixel(1, 0)), 255);  // alpha is blurred too
  EXPECT_GT(AlphaOf(B.GetPixel(0, 0)), 0);
  TCustomBitmap32 E;
  ExpBlur(&E, 3);
  Sharpen(&E, 0);
  EXPECT_TRUE(E.Empty());
}

}  // namespace
