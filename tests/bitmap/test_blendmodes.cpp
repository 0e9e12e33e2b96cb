// Blend modes: every channel mode's numbers for a set of (F, B) pairs with
// M = 255 (weight 254), worked out from the mode formulas; partial weight;
// the untouched cases; the HSL and channel modes; the map; the row forms;
// the combiner lookup and the name list.
#include "common/gtest.h"

#include <random>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

class BlendModesTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TColor32 Gray(Integer v, Integer a = 255) { return GrayColor32(Byte(v), Byte(a)); }

// Columns: (Fc, Bc) = (0,128) (128,128) (255,128) (128,0) (128,255) (200,60).
const Integer Pairs[6][2] = {{0, 128}, {128, 128}, {255, 128}, {128, 0}, {128, 255}, {200, 60}};
const Integer Expected[21][6] = {
    {1, 128, 254, 127, 128, 198},  // Normal
    {1, 64, 127, 0, 128, 46},      // Multiply
    {128, 191, 254, 127, 255, 212},// Screen
    {2, 128, 254, 0, 255, 92},     // Overlay
    {64, 128, 254, 0, 255, 64},    // Reflect
    {64, 128, 190, 0, 254, 84},    // Soft Light
    {1, 128, 180, 0, 181, 109},    // Bright Light
    {1, 128, 254, 1, 255, 171},    // Hard Light
    {128, 254, 254, 0, 255, 253},  // Color Dodge
    {1, 1, 128, 0, 255, 6},        // Color Burn
    {128, 128, 254, 127, 255, 198},// Lighten
    {1, 128, 128, 0, 128, 60},     // Darken
    {128, 254, 254, 127, 255, 253},// Additive
    {1, 1, 127, 0, 128, 4},        // Subtractive
    {64, 128, 190, 63, 191, 129},  // Average
    {128, 1, 127, 127, 128, 139},  // Difference
    {128, 128, 128, 127, 128, 166},// Exclusion
    {128, 253, 127, 127, 128, 248},// Negation
    {0, 128, 253, 63, 254, 203},   // Glow
    {1, 128, 254, 0, 192, 203},    // Heat
    {1, 128, 191, 0, 255, 64},     // Freeze
};
// (200, 60) with M = 128 (weight 127).
const Integer ExpectedHalf[21] = {129, 53, 136, 76, 62, 72, 84, 115, 156, 33, 129,
                                  60,  156, 32, 94, 99, 113, 154, 131, 131, 62};

TEST_F(BlendModesTest, ChannelModesByTheTable) {
  for (Integer mode = 0; mode < 21; ++mode) {
    for (int k = 0; k < 6; ++k) {
      TColor32 B = Gray(Pairs[k][1], 0x77);
      BlendModeCombiners[mode](Gray(Pairs[k][0]), B, 255);
      EXPECT_EQ(B, Gray(Expected[mode][k], 0x77)) << "mode " << mode << " pair " << k;
    }
    TColor32 B = Gray(60);
    BlendModeCombiners[mode](Gray(200), B, 128);
    EXPECT_EQ(B, Gray(ExpectedHalf[mode])) << "mode " << mode << " half";
  }
}

TEST_F(BlendModesTest, NoWeightLeavesTheDestination) {
  std::mt19937 rng(3);
  for (Integer mode = 0; mode < BlendModeCount; ++mode)
    for (int i = 0; i < 20; ++i) {
      TColor32 F = rng(), B0 = rng(), B = B0;
      BlendModeCombiners[mode](F, B, 0);
      EXPECT_EQ(B, B0);
      BlendModeCombiners[mode](F & 0x00FFFFFFu, B, 255);
      EXPECT_EQ(B, B0);
      BlendModeCombiners[mode](F | 0xFF000000u, B, 255);
      EXPECT_EQ(B >> 24, B0 >> 24) << "alpha of B changed, mode " << mode;
    }
}

TEST_F(BlendModesTest, WorkedExamples) {
  TColor32 B = 0xFF000000u;
  BlendNormal(0xFFFFFFFFu, B, 255);
  EXPECT_EQ(B, 0xFFFDFDFDu);
  B = 0x40FFFFFFu;
  BlendMultiply(0xFF808080u, B, 255);
  EXPECT_EQ(B >> 24, 0x40u);
  B = 0xFF123456u;
  BlendRed(0xFFFFFFFFu, B, 255);
  EXPECT_EQ(B & 0x0000FFFFu, 0x3456u);
  EXPECT_NE(B & 0x00FF0000u, 0x120000u);
  B = 0xFF123456u;
  BlendGreen(0xFF000000u, B, 255);
  EXPECT_EQ(B & 0x00FF00FFu, 0x120056u);
  B = 0xFF123456u;
  BlendBlue(0xFF000000u, B, 255);
  EXPECT_EQ(B & 0x00FFFF00u, 0x123400u);
}

TEST_F(BlendModesTest, HslModes) {
  // Hue of pure green onto pure red: full saturation and lightness kept
  TColor32 B = 0xFFFF0000u;
  BlendHue(0xFF00FF00u, B, 255);
  EXPECT_EQ(B, 0xFF01FD00u);  // 254/256 of the way to $00FF00
  // Lightness of white onto a mid gray: target white
  B = 0xFF808080u;
  BlendLightness(0xFFFFFFFFu, B, 255);
  EXPECT_EQ(B, Gray(128 + ((127 * 254) >> 8)));
  // Saturation of a gray source onto red: target gray of red's lightness
  B = 0xFFFF0000u;
  BlendSaturation(0xFF808080u, B, 255);
  EXPECT_NEAR(RedOf(B), 128, 2);
  EXPECT_NEAR(GreenOf(B), 127, 2);
  EXPECT_EQ(GreenOf(B), BlueOf(B));
}

TEST_F(BlendModesTest, CustomMapEqualsNormalAndRowsEqualPixels) {
  std::mt19937 rng(9);
  std::vector<TColor32> F(257), B0(257);
  for (auto& v : F) v = rng();
  for (auto& v : B0) v = rng();
  for (Integer mode = 0; mode < BlendModeCount; ++mode) {
    std::vector<TColor32> a = B0, b = B0;
    for (size_t i = 0; i < F.size(); ++i) BlendModeCombiners[mode](F[i], a[i], 0xC3);
    BlendModeRows[mode](F.data(), b.data(), Integer(F.size()), 0xC3);
    EXPECT_EQ(a, b) << "mode " << mode;
  }
  for (size_t i = 0; i < F.size(); ++i) {
    TColor32 n = B0[i], m = B0[i];
    BlendNormal(F[i], n, 200);
    BlendCustomMap(F[i], m, 200);
    EXPECT_EQ(n, m);
  }
}

TEST_F(BlendModesTest, LookupAndNames) {
  TPixelCombineEvent ev;
  GetBlendModeCombiner(11, ev);
  ASSERT_TRUE(bool(ev));
  EXPECT_EQ(FindBlendModeRow(ev), BlendModeRows[11]);
  GetBlendModeCombiner(28, ev);  // out of range: unchanged
  EXPECT_EQ(FindBlendModeRow(ev), BlendModeRows[11]);
  GetBlendModeCombiner(-1, ev);
  EXPECT_FALSE(bool(ev));
  EXPECT_EQ(FindBlendModeRow([](TColor32, TColor32&, TColor32) {}), nullptr);
  TStringList* names = GetBlendModeList();
  ASSERT_EQ(names->Count(), 28);
  EXPECT_EQ(names->Strings(0), u"Normal");
  EXPECT_EQ(names->Strings(5), u"Soft Light");
  EXPECT_EQ(names->Strings(27), u"Custom BlendMap");
  delete names;
  EXPECT_EQ(SqrtTable[65025], 255);
  EXPECT_EQ(SqrtTable[2], 1);
  EXPECT_EQ(SqrtTable[3], 2);
}

// A custom-mode draw of a bitmap calls the combiner per pixel.
TEST_F(BlendModesTest, CustomDrawUsesTheCombiner) {
  TCustomBitmap32 Src, Dst;
  Src.SetSize(2, 1);
  Dst.SetSize(2, 1);
  Src.Clear(0xFFFFFFFFu);
  Dst.Clear(0xFF000000u);
  TPixelCombineEvent ev;
  GetBlendModeCombiner(0, ev);
  Src.SetOnPixelCombine(ev);
  Src.SetDrawMode(dmCustom);
  Dst.Draw(0, 0, &Src);
  EXPECT_EQ(Dst.GetPixel(1, 0), 0xFFFDFDFDu);
}

}  // namespace
