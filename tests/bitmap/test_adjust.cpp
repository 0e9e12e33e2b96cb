// Colour adjustments and pixel utilities: the worked cases, every channel
// value through brightness, contrast, lightness and saturation, hue
// rotation, red-eye, noise (also on two threads), tint, alpha utilities,
// resize and the percent mapping.
#include "common/gtest.h"

#include <atomic>
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

TEST_F(AdjustTest, BrightnessOverAllValues) {
  TCustomBitmap32 B;
  for (Integer amount : {-100, -37, 0, 50, 100}) {
    AllValues(B);
    AdjustBrightness(&B, amount);
    ExpectPerChannel(B, [&](Integer c) { return Clamp(c + amount); });
  }
}

// Worked by hand: d = Amount * |127 - c| div 255 (truncated toward zero),
// c + d from 128 up, c - d below, clamped. Channels are independent, alpha
// stays, and transparent pixels change too.
TEST_F(AdjustTest, ContrastWorkedValues) {
  struct Case {
    Integer Amount;
    TColor32 In, Out;
  } cases[] = {
      {100, 0xFF327FC8u, 0xFF147FE4u},   // 50: d 30 -> 20; 127 stays; 200: d 28 -> 228
      {100, 0x800080FFu, 0x800080FFu},   // 0: d 49 -> -49 -> 0; 128: d 0; 255: d 50 -> 305 -> 255
      {255, 0xFF007E81u, 0xFF007D83u},   // 0 -> 0; 126: d 1 -> 125; 129: d 2 -> 131
      {255, 0xFFFF7F80u, 0xFFFF7F81u},   // 255 -> 255; 127 stays; 128: d 1 -> 129
      {-90, 0x0000FF7Fu, 0x002CD27Fu},   // 0: d -44 (not -45) -> 44; 255: d -45 -> 210; transparent too
      {-255, 0xFF0AC8FFu, 0xFF7F7F7Fu},  // everything to 127
      {77, 0xFF64AA80u, 0xFF5CB680u},    // 100: d 8 -> 92; 170: d 12 -> 182; 128: d 0
      {0, 0xFF010203u, 0xFF010203u},
  };
  TCustomBitmap32 B;
  B.SetSize(1, 1);
  for (const Case& c : cases) {
    B.SetPixel(0, 0, c.In);
    AdjustContrast(&B, c.Amount);
    EXPECT_EQ(B.GetPixel(0, 0), c.Out) << c.Amount << " " << std::hex << c.In;
  }
  TCustomBitmap32 E;
  AdjustContrast(&E, 100);  // empty: nothing
  EXPECT_TRUE(E.Empty());
}

// Worked by hand: s = round(Percent * 255 / 100); s > 0: c + (255 - c) * s div
// 255, else c + c * s div 255 (truncated toward zero). Alpha stays.
TEST_F(AdjustTest, LightnessWorkedValues) {
  struct Case {
    Integer Percent;
    TColor32 In, Out;
  } cases[] = {
      {33, 0xFF0064C8u, 0xFF5497DAu},   // s 84: 0 -> 84; 100: +51 -> 151; 200: +18 -> 218
      {33, 0x40FFFFFFu, 0x40FFFFFFu},
      {-50, 0xFFC8FF64u, 0xFF647F32u},  // s -128 (-127.5 to even): 200: -100; 255: -128; 100: -50
      {-50, 0xFF010101u, 0xFF010101u},  // 1 * -128 div 255 = 0
      {1, 0xFF0080FFu, 0xFF0381FFu},    // s 3 (2.55 rounded): 0 -> 3; 128: +1 -> 129; 255 stays
      {-1, 0xFFFF5400u, 0xFFFC5400u},   // s -3: 255 -> 252; 84: -252 div 255 = 0 (not -1); 0 stays
      {0, 0xFF123456u, 0xFF123456u},
  };
  TCustomBitmap32 B;
  B.SetSize(1, 1);
  for (const Case& c : cases) {
    B.SetPixel(0, 0, c.In);
    AdjustLightness(&B, c.Percent);
    EXPECT_EQ(B.GetPixel(0, 0), c.Out) << c.Percent << " " << std::hex << c.In;
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

// Two threads adding noise at once each use their own generator: under a
// fixed seed each gives exactly what one thread alone gives.
TEST_F(AdjustTest, NoiseOnTwoThreads) {
  EffectRandomFixSeed(4321);
  std::atomic<int> ready{0};
  auto work = [&ready](TCustomBitmap32* B, int Together) {
    // both threads start their passes at the same moment
    ++ready;
    while (ready.load() < Together) std::this_thread::yield();
    for (int k = 0; k < 20; ++k) AddNoise(B, 30, k & 1);
  };
  auto fresh = [](TCustomBitmap32& B) {
    B.SetSize(64, 64);
    B.Clear(0xFF808080u);
  };
  TCustomBitmap32 Alone, A, B;
  fresh(Alone);
  fresh(A);
  fresh(B);
  std::thread t0(work, &Alone, 1);
  t0.join();
  ready = 0;
  std::thread t1(work, &A, 2), t2(work, &B, 2);
  t1.join();
  t2.join();
  EffectRandomReleaseSeed();
  const Integer n = 64 * 64;
  Integer changed = 0;
  for (Integer i = 0; i < n; ++i) changed += Alone.Bits()[i] != 0xFF808080u;
  EXPECT_GT(changed, n / 2);
  for (const TCustomBitmap32* T : {&A, &B}) {
    Integer i = 0;
    while (i < n && T->Bits()[i] == Alone.Bits()[i]) ++i;
    EXPECT_EQ(i, n) << (T == &A ? "first" : "second") << " thread differs at pixel " << i;
  }
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
