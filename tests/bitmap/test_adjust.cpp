// Colour adjustments and pixel utilities: the worked cases, every channel
// value through brightness, contrast, lightness and saturation, hue
// rotation, red-eye, noise (also on two threads), tint, alpha utilities,
// resize and the percent mapping.
#include "common/gtest.h"

#include <cmath>
#include <thread>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/VaZU32Vudover.h"

namespace {

class AdjustTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
  // One pixel per channel value: pixel v = (v, v ^ 0x55, 255 - v), alpha 200.
  static void AllValues(TCustomBitmap32& B) {
    B.SetSize(256, 1);
    for (Integer v = 0; v < 256; ++v) B.SetPixel(v, 0, Color32FromRGBA(Byte(v), Byte(v ^ 0x55), Byte(255 - v), 200));
  }
  template <class F>
  static void ExpectPerChannel(const TCustomBitmap32& B, F f) {
    for (Integer v = 0; v < 256; ++v) {
      TColor32 c = B.GetPixel(v, 0);
      EXPECT_EQ(Integer(RedOf(c)), f(v)) << v;
      EXPECT_EQ(Integer(GreenOf(c)), f(v ^ 0x55)) << v;
      EXPECT_EQ(Integer(BlueOf(c)), f(255 - v)) << v;
      EXPECT_EQ(AlphaOf(c), 200);
    }
  }
};

Integer Clamp(Integer v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

TEST_F(AdjustTest, ColorWithinTolerance) {
  struct Case { TColor32 a, b; Integer tol; bool ok; } cases[] = {
      {0xFF102030u, 0x80102030u, 0, false}, {0xFF102030u, 0xFF102030u, 0, true},
      {0xFF1A2030u, 0xFF102030u, 10, true}, {0xFF1A1630u, 0xFF102030u, 10, false},
      {0x00102030u, 0xFF102030u, 1, true},  {0xFF102030u, 0xFF1B2030u, 10, false}};
  for (auto& c : cases) EXPECT_EQ(ColorWithinTolerance(c.a, c.b, c.tol), c.ok) << std::hex << c.a;
}

TEST_F(AdjustTest, BrightnessContrastLightnessOverAllValues) {
  TCustomBitmap32 B;
  for (Integer amount : {-100, -37, 0, 50, 100}) {
    AllValues(B);
    AdjustBrightness(&B, amount);
    ExpectPerChannel(B, [&](Integer c) { return Clamp(c + amount); });
  }
  for (Integer amount : {-255, -90, 0, 77, 255}) {
    AllValues(B);
    AdjustContrast(&B, amount);
    ExpectPerChannel(B, [&](Integer c) {
      Integer d = amount * std::abs(127 - c) / 255;
      return Clamp(c >= 128 ? c + d : c - d);
    });
  }
  for (Integer pct : {-100, -50, 0, 33, 100}) {
    AllValues(B);
    AdjustLightness(&B, pct);
    Integer s = Integer(std::nearbyint(pct * 255.0 / 100.0));
    ExpectPerChannel(B, [&](Integer c) { return s > 0 ? c + (255 - c) * s / 255 : c + c * s / 255; });
  }
}

TEST_F(AdjustTest, LightnessLimitsAndTransparentPixels) {
  TCustomBitmap32 B;
  B.SetSize(2, 1);
  B.SetPixel(0, 0, 0x80123456u);
  B.SetPixel(1, 0, 0x00123456u);
  AdjustLightness(&B, 100);
  EXPECT_EQ(B.GetPixel(0, 0), 0x80FFFFFFu);
  EXPECT_EQ(B.GetPixel(1, 0), 0x00123456u);
  AdjustLightness(&B, -100);
  EXPECT_EQ(B.GetPixel(0, 0), 0x80000000u);
  B.SetPixel(0, 0, 0xFF000000u);
  B.SetPixel(1, 0, 0xFFFFFFFFu);
  AdjustContrast(&B, 255);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFFFFFFFFu);
}

TEST_F(AdjustTest, SaturationOverAllValues) {
  TCustomBitmap32 B;
  for (Integer amount : {-100, -40, 0, 60, 100}) {
    AllValues(B);
    AdjustSaturation(&B, amount);
    Integer s = MapPercent(amount, 0, 510);
    for (Integer v = 0; v < 256; ++v) {
      Integer r = v, g = v ^ 0x55, b = 255 - v;
      Integer gray = r / 3 + g / 3 + b / 3;
      Integer base = gray - ((gray * s) >> 8);
      TColor32 c = B.GetPixel(v, 0);
      EXPECT_EQ(Integer(RedOf(c)), Clamp(base + ((r * s) >> 8)));
      EXPECT_EQ(Integer(GreenOf(c)), Clamp(base + ((g * s) >> 8)));
      EXPECT_EQ(Integer(BlueOf(c)), Clamp(base + ((b * s) >> 8)));
    }
  }
  B.SetSize(2, 1);
  B.SetPixel(0, 0, 0xFFFFFFFFu);
  B.SetPixel(1, 0, 0xFF010101u);
  AdjustSaturation(&B, -100);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFF000000u);
  TCustomBitmap32 E;
  AdjustSaturation(&E, 50);  // empty: nothing
  EXPECT_TRUE(E.Empty());
}

TEST_F(AdjustTest, PercentMapping) {
  EXPECT_EQ(MapPercent(-100, 0, 510), 0);
  EXPECT_EQ(MapPercent(0, 0, 510), 255);
  EXPECT_EQ(MapPercent(100, 0, 510), 510);
  EXPECT_EQ(MapPercent(200, 0, 510), 510);   // clamped before it travels as a byte
  EXPECT_EQ(MapPercent(-300, 0, 510), 0);
  EXPECT_EQ(MapPercentRange(5, 3, 3, 0, 10), 0);
  EXPECT_EQ(MapPercentRange(5, 0, 10, 7, 7), 0);
  EXPECT_EQ(MapPercentRange(1, 0, 4, 0, 10), 2);  // 2.5 rounds to even
}

TEST_F(AdjustTest, HueAndSaturation) {
  TCustomBitmap32 B;
  B.SetSize(4, 1);
  B.SetPixel(0, 0, 0xFFFF0000u);
  B.SetPixel(1, 0, 0xFF808080u);
  B.SetPixel(2, 0, 0x40000000u);
  B.SetPixel(3, 0, 0xFFFFFFFFu);
  AdjustHueSaturation(&B, 120, 0);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFF00FF00u);
  AdjustHueSaturation(&B, 120, 0);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFF0000FFu);
  AdjustHueSaturation(&B, 120, 0);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFF0000u);
  for (Integer hue : {-180, -45, 90, 180})
    for (Integer sat : {-255, -20, 60, 255}) {
      AdjustHueSaturation(&B, hue, sat);
      EXPECT_EQ(B.GetPixel(1, 0), 0xFF808080u);
      EXPECT_EQ(B.GetPixel(2, 0), 0x40000000u);
      EXPECT_EQ(B.GetPixel(3, 0), 0xFFFFFFFFu);
    }
  // desaturating fully gives the lightness
  B.SetPixel(0, 0, 0xFFC04020u);
  AdjustHueSaturation(&B, 0, -255);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFF707070u);  // L = (192 + 32) >> 1 = 112
}

TEST_F(AdjustTest, RedEye) {
  TCustomBitmap32 B;
  B.SetSize(3, 1);
  B.SetPixel(0, 0, 0xFFFFFFFFu);
  B.SetPixel(1, 0, 0x80C82010u);  // reddish
  B.SetPixel(2, 0, 0xFF000000u);
  RemoveRedEye(&B);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(B.GetPixel(2, 0), 0xFF000000u);
  // r=200 g=32 b=16: d=48, q=0.5, k=0.7071, redness=2.946; t=max(0,...)=0
  EXPECT_EQ(B.GetPixel(1, 0), 0x80001808u);  // r 0, g round(32*0.75)=24, b round(16*0.5)=8
}

TEST_F(AdjustTest, NoiseIsReproducibleWithAFixedSeedAndSkipsTransparentPixels) {
  TCustomBitmap32 A, B;
  for (auto* bm : {&A, &B}) {
    bm->SetSize(16, 16);
    bm->Clear(0xFF808080u);
    bm->SetPixel(3, 3, 0x00808080u);
  }
  EffectRandomSeed(1234);
  AddNoise(&A, 50, false);
  EffectRandomSeed(1234);
  AddNoise(&B, 50, false);
  bool changed = false;
  for (Integer i = 0; i < 256; ++i) {
    EXPECT_EQ(A.Bits()[i], B.Bits()[i]);
    TColor32 c = A.Bits()[i];
    for (Integer ch : {Integer(RedOf(c)), Integer(GreenOf(c)), Integer(BlueOf(c))}) {
      EXPECT_GE(ch, 128 - 25);
      EXPECT_LE(ch, 128 + 24);
    }
    changed |= c != 0xFF808080u && i != 3 * 16 + 3;
  }
  EXPECT_TRUE(changed);
  EXPECT_EQ(A.GetPixel(3, 3), 0x00808080u);
  EffectRandomSeed(7);
  AddNoise(&A, 40, true);  // mono: one value for the three channels
  for (Integer i = 0; i < 256; ++i) {
    TColor32 c = A.Bits()[i], o = B.Bits()[i];
    Integer dr = Integer(RedOf(c)) - RedOf(o), dg = Integer(GreenOf(c)) - GreenOf(o);
    if (RedOf(c) > 0 && RedOf(c) < 255 && GreenOf(c) > 0 && GreenOf(c) < 255) {
      EXPECT_EQ(dr, dg);
    }
  }
  EXPECT_EQ(EffectRandom(0), 0u);
}

// Two threads adding noise at once each use their own generator.
TEST_F(AdjustTest, NoiseOnTwoThreads) {
  auto work = [](TCustomBitmap32* B) {
    for (int k = 0; k < 20; ++k) AddNoise(B, 30, k & 1);
  };
  TCustomBitmap32 A, B;
  A.SetSize(64, 64);
  B.SetSize(64, 64);
  A.Clear(0xFF808080u);
  B.Clear(0xFF808080u);
  std::thread t1(work, &A), t2(work, &B);
  t1.join();
  t2.join();
  EXPECT_NE(A.GetPixel(10, 10), 0u);
}

TEST_F(AdjustTest, TintSoftLightMovesBySoftLightWithMasterAlpha) {
  TCustomBitmap32 B;
  B.SetSize(2, 1);
  B.SetPixel(0, 0, 0xFF604020u);
  B.SetPixel(1, 0, 0x00604020u);
  TColor32 expect = 0xFF604020u;
  BlendSoftLight(0xFFC08040u, expect, 128);  // round(50 / 100 * 255) = 128 (half to even)
  TintSoftLight(&B, 0xFFC08040u, 50);
  EXPECT_EQ(B.GetPixel(0, 0), expect);
  EXPECT_EQ(B.GetPixel(1, 0), 0x00604020u);
}

TEST_F(AdjustTest, AlphaUtilities) {
  TCustomBitmap32 S, D;
  S.SetSize(3, 2);
  D.SetSize(2, 3);  // different sizes: only the common part
  S.Clear(0x80FFFFFFu);
  S.SetPixel(1, 0, 0x10000000u);
  D.Clear(0xFF000000u);
  FillColorWithAlpha(&D, &S, 0x00123456u);
  EXPECT_EQ(D.GetPixel(0, 0), 0x80123456u);
  EXPECT_EQ(D.GetPixel(1, 0), 0x10123456u);
  EXPECT_EQ(D.GetPixel(0, 2), 0xFF000000u);
  FillColorKeepAlpha(&D, 0xFFABCDEFu);
  EXPECT_EQ(D.GetPixel(1, 0), 0x10ABCDEFu);
  D.SetPixel(0, 1, 0x00ABCDEFu);
  AlphaFromIntensity(&D, &S, false);
  EXPECT_EQ(D.GetPixel(0, 0), 0xFFABCDEFu);
  EXPECT_EQ(D.GetPixel(1, 0), 0x00ABCDEFu);
  EXPECT_EQ(D.GetPixel(0, 1), 0x00ABCDEFu);  // transparent: kept with All false
  AlphaFromIntensity(&D, &S, true);
  EXPECT_EQ(D.GetPixel(0, 1), 0xFFABCDEFu);
  S.Clear(0x33000000u);
  CopyAlphaRect(&D, &S, TRect(-5, 1, 9, 9));
  EXPECT_EQ(D.GetPixel(1, 1), 0x33ABCDEFu);
  EXPECT_EQ(D.GetPixel(1, 0), 0x00ABCDEFu);
  EXPECT_EQ(D.GetPixel(1, 2), 0xFFABCDEFu);  // outside Src
}

TEST_F(AdjustTest, ResizeInPlaceKeepsTheDrawMode) {
  TCustomBitmap32 B;
  B.SetSize(4, 4);
  B.Clear(0xFF336699u);
  B.SetDrawMode(dmBlend);
  ResizeBitmap(&B, &B, 9, 5);
  EXPECT_EQ(B.Width(), 9);
  EXPECT_EQ(B.Height(), 5);
  EXPECT_EQ(B.DrawMode(), dmBlend);
  EXPECT_EQ(B.GetPixel(8, 4), 0xFF336699u);
  EXPECT_EQ(B.GetPixel(4, 2), 0xFF336699u);
  TCustomBitmap32 D;
  ResizeBitmap(&B, &D, 2, 2);
  EXPECT_EQ(D.GetPixel(1, 1), 0xFF336699u);
}

}  // namespace
