// Colour conversions, fixed-point arithmetic and rectangle routines.
#include "common/gtest.h"

#include <cmath>
#include <limits>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Math.h"
#include "bitmap/Bmp32_Types.h"
#include "rtl/SysUtils.h"

namespace {

// The engine is started once for the whole test program (idempotent).
class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeBitmapEngine(); }
  void TearDown() override { FinalizeBitmapEngine(); }
};
[[maybe_unused]] auto* const gEngineEnv = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

TEST(Color32Conversions, Table) {
  struct Case { TColor in; TColor32 out; } cases[] = {
      {0x000000FF, 0xFFFF0000u}, {0x0000FF00, 0xFF00FF00u}, {0x00FF0000, 0xFF0000FFu},
      {0x00123456, 0xFF563412u}, {0x7F123456, 0xFF563412u}};
  for (auto& c : cases) EXPECT_EQ(Color32(c.in), c.out) << std::hex << c.in;
  EXPECT_EQ(WinColor(0xFF563412u), 0x00123456);
  EXPECT_EQ(WinColor(0x00FF0000u), 0x000000FF);
  EXPECT_EQ(Color32FromRGBA(1, 2, 3, 4), 0x04010203u);
  EXPECT_EQ(GrayColor32(0x80, 0x40), 0x40808080u);
  EXPECT_EQ(AlphaOf(0xAB000000u), 0xAB);
}

TEST(Color32Conversions, NegativeTakesSystemColourOfLowByte) {
  TGetSysColorProc saved = GetSysColorProc;
  GetSysColorProc = [](Integer Index) -> Cardinal { return Index == 5 ? 0x00332211u : 0u; };
  EXPECT_EQ(Color32(TColor(0x80000005)), 0xFF112233u);
  GetSysColorProc = saved;
  EXPECT_EQ(Color32(TColor(0x80000005)), 0xFFFFFFFFu);  // default: window colour is white
}

TEST(ColorIntensity, Table) {
  EXPECT_EQ(ColorIntensity(0xFFFFFFFFu), 255);
  EXPECT_EQ(ColorIntensity(0xFF0000FFu), 20);
  EXPECT_EQ(ColorIntensity(0xFFFF0000u), 60);
  EXPECT_EQ(ColorIntensity(0x00000000u), 0);
}

TEST(HSLFloat, Table) {
  EXPECT_EQ(HSLtoRGB(0, 0, 0.5f), 0xFF808080u);  // Round(127.5) = 128
  EXPECT_EQ(HSLtoRGB(0, 1, 0.5f), 0xFFFF0000u);
  EXPECT_EQ(HSLtoRGB(1.0f / 3, 1, 0.5f), 0xFF00FF00u);
  EXPECT_EQ(HSLtoRGB(4.0f / 3, 1, 0.5f), 0xFF00FF00u);  // hue wraps
  EXPECT_EQ(HSLtoRGB(0, 0, 1), 0xFFFFFFFFu);
  Single H, S, L;
  RGBtoHSLFloat(0xFF00FF00u, H, S, L);
  EXPECT_FLOAT_EQ(H, 1.0f / 3);
  EXPECT_FLOAT_EQ(S, 1);
  EXPECT_FLOAT_EQ(L, 0.5f);
  RGBtoHSLFloat(0xFF000000u, H, S, L);
  EXPECT_EQ(H, 0);
  EXPECT_EQ(S, 0);
  EXPECT_EQ(L, 0);
  RGBtoHSLFloat(0xFFFF00FFu, H, S, L);  // magenta: negative hue wraps to 5/6
  EXPECT_NEAR(H, 5.0f / 6, 1e-6);
}

TEST(HSLInt, Table) {
  EXPECT_EQ(HSLtoRGBInt(0, 0, 0), 0xFF000000u);  // V <= 0
  EXPECT_EQ(HSLtoRGBInt(0, 255, 128), 0xFFFF0101u);
  EXPECT_EQ(HSLtoRGBInt(256, 255, 128), 0u);    // sextant past 5
  EXPECT_EQ(HSLtoRGBInt(0, 0, 200), 0xFFC8C8C8u);
  Byte H, S, L;
  RGBtoHSLInt(0xFFFF0000u, H, S, L);
  EXPECT_EQ(H, 0);
  EXPECT_EQ(S, 255);
  EXPECT_EQ(L, 127);
  RGBtoHSLInt(0xFF0000FFu, H, S, L);
  EXPECT_EQ(H, 170);
  RGBtoHSLInt(0xFFFF000Au, H, S, L);  // hue -1 stored as 253
  EXPECT_EQ(H, 253);
  RGBtoHSLInt(0xFF808080u, H, S, L);
  EXPECT_EQ(H, 0);
  EXPECT_EQ(S, 0);
  EXPECT_EQ(L, 128);
}

TEST(GammaCurve, TellingEntries) {
  const std::pair<int, int> e[] = {{0, 0}, {1, 5}, {2, 9}, {3, 11}, {128, 157}, {254, 254}, {255, 255}};
  for (auto [i, v] : e) EXPECT_EQ(GammaCurve[i], v) << i;
  for (int i = 1; i < 256; ++i) EXPECT_GE(GammaCurve[i], GammaCurve[i - 1]);
}

TEST(FixedPoint, Conversions) {
  struct Case { TFixed a; Integer floor, ceil, round; } cases[] = {
      {0x8000, 0, 1, 0},   {0x18000, 1, 2, 1},    {-0x8000, -1, 0, -1}, {-1, -1, 0, 0},
      {1, 0, 1, 0},        {0x10000, 1, 1, 1},    {0x17FFF, 1, 2, 1},   {0x18001, 1, 2, 2},
      {0x7FFFFFFF, 32767, 32768, 32768}, {INT32_MIN, -32768, -32768, -32768}};
  for (auto& c : cases) {
    EXPECT_EQ(FixedToIntFloor(c.a), c.floor) << c.a;
    EXPECT_EQ(FixedToIntCeil(c.a), c.ceil) << c.a;
    EXPECT_EQ(FixedToIntRound(c.a), c.round) << c.a;
  }
  EXPECT_EQ(IntToFixed(-3), -0x30000);
  EXPECT_EQ(IntToFixed(0x12345), 0x23450000);  // low 32 bits, no overflow trap
  EXPECT_EQ(SingleToFixed(0.5f), 0x8000);
  EXPECT_EQ(SingleToFixed(-1.25f), -0x14000);
  EXPECT_EQ(SingleToFixed(1e10f), INT32_MAX);
  EXPECT_EQ(SingleToFixed(-1e10f), INT32_MIN);
  EXPECT_EQ(SingleToFixed(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(SingleToFixed(1.0f / 131072), 0);  // half of the last bit: to even
  EXPECT_EQ(SingleToFixed(3.0f / 131072), 2);
  EXPECT_EQ(FloatPointToFixed(MakeFloatPoint(1.5f, -2)), FixedPoint(0x18000, -0x20000));
  EXPECT_EQ(FixedPointToFloat(FixedPoint(0x18000, -0x8000)), MakeFloatPoint(1.5f, -0.5f));
  EXPECT_EQ(RoundFloatPoint(MakeFloatPoint(2.5f, 3.5f)), TPoint(2, 4));
}

TEST(FixedPoint, Arithmetic) {
  EXPECT_EQ(FixedMul(0x18000, 0x20000), 0x30000);
  EXPECT_EQ(FixedMul(-0x10000, 0x8000), -0x8000);
  EXPECT_EQ(FixedMul(0x7FFF0000, 0x20000), -0x20000);  // low 32 bits kept
  EXPECT_EQ(FixedDivide(0x10000, 0x30000), 21845);
  EXPECT_EQ(FixedDivide(-0x10000, 0x30000), -21845);
  EXPECT_THROW(FixedDivide(1, 0), Exception);
  EXPECT_EQ(FixedLerp(0x10000, 100, 50), 100);
  EXPECT_EQ(FixedLerp(0, 100, 50), 50);
  EXPECT_EQ(FixedLerp(0x8000, 100, 50), 75);
  EXPECT_EQ(FixedLerp(0x8000, INT32_MIN, INT32_MAX), -1);  // no overflow in the difference
}

TEST(FloatRoutines, Table) {
  Single s, c;
  SineCosine(0, s, c);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(c, 1);
  SineCosine(Single(M_PI / 2), 3, s, c);
  EXPECT_NEAR(s, 3, 1e-6);
  EXPECT_NEAR(c, 0, 1e-6);
  EXPECT_FLOAT_EQ(Hypot(3.0f, 4.0f), 5);
  EXPECT_EQ(RoundHypot(3, 4), 5);
  EXPECT_EQ(RoundHypot(1, 1), 1);
  EXPECT_EQ(RoundHypot(INT32_MIN, INT32_MIN), INT32_MAX);  // saturates
}

TEST(MulDivRounded, Table) {
  struct Case { Integer a, b, d, r; } cases[] = {
      {7, 1, 2, 4},    {-7, 1, 2, -4}, {5, 1, 2, 3},  {7, 1, -2, -4},  {-7, -1, 2, 4},
      {1, 1, 3, 0},    {2, 1, 3, 1},   {10, 10, 7, 14}, {0, -5, 3, 0}, {1, 1, 0, -1},
      {0x40000000, 4, 1, -1}, {INT32_MAX, 1, 1, INT32_MAX}, {INT32_MIN, 1, 1, INT32_MIN}, {INT32_MIN, -1, 1, -1},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}};
  for (auto& c : cases) EXPECT_EQ(MulDivRounded(c.a, c.b, c.d), c.r) << c.a << "*" << c.b << "/" << c.d;
}

TEST(RectRoutines, MakeRect) {
  TFloatRect f{0.5f, 0.5f, 1.5f, 1.5f};
  EXPECT_EQ(MakeRect(f, rrNearest), TRect(0, 0, 2, 2));
  EXPECT_EQ(MakeRect(f, rrOutward), TRect(0, 0, 2, 2));
  EXPECT_EQ(MakeRect(f, rrInward), TRect(1, 1, 1, 1));
  EXPECT_EQ(MakeRect(TFloatRect{-0.2f, 0.2f, 0.8f, 0.4f}, rrInward), TRect(0, 1, 0, 1));
  TFixedRect x{0x8000, 0x18000, 0x28000, 0x30001};
  EXPECT_EQ(MakeRect(x, rrNearest), TRect(0, 1, 2, 3));
  EXPECT_EQ(MakeRect(x, rrOutward), TRect(0, 1, 3, 4));
  EXPECT_EQ(MakeRect(x, rrInward), TRect(1, 2, 2, 3));
}

TEST(RectRoutines, IntersectAndUnion) {
  struct Case { TRect a, b; bool ok; TRect r; } cases[] = {
      {{0, 0, 10, 10}, {10, 0, 20, 10}, true, {10, 0, 10, 10}},  // touching counts
      {{0, 0, 10, 10}, {11, 0, 20, 10}, false, {0, 0, 0, 0}},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, true, {2, 3, 4, 5}},
      {{-5, -5, 2, 2}, {0, 0, 3, 2}, true, {0, 0, 2, 2}},
      {{5, 5, 8, 8}, {0, 0, 3, 2}, false, {0, 0, 0, 0}}};
  for (auto& c : cases) {
    TRect d(9, 9, 9, 9);
    EXPECT_EQ(IntersectRects(d, c.a, c.b), c.ok);
    EXPECT_EQ(d, c.r);
  }
  TFloatRect fd;
  EXPECT_FALSE(IntersectRects(fd, TFloatRect{0, 0, 1, 1}, TFloatRect{2, 2, 3, 3}));
  EXPECT_EQ(fd, TFloatRect{});
  EXPECT_TRUE(IntersectRects(fd, TFloatRect{0, 0, 2, 2}, TFloatRect{1, 1, 3, 3}));
  EXPECT_EQ(fd, (TFloatRect{1, 1, 2, 2}));

  TRect u;
  EXPECT_TRUE(UnionRects(u, TRect(0, 0, 0, 0), TRect(5, 5, 10, 10)));
  EXPECT_EQ(u, TRect(0, 0, 10, 10));  // an empty R1 still contributes its edges
  EXPECT_TRUE(UnionRects(u, TRect(1, 1, 3, 3), TRect(7, 7, 7, 9)));
  EXPECT_EQ(u, TRect(1, 1, 3, 3));  // an empty R2 is skipped
  EXPECT_FALSE(UnionRects(u, TRect(4, 4, 4, 4), TRect(1, 1, 1, 1)));
  EXPECT_EQ(u, TRect());
  TRect r(1, 2, 3, 4);
  InflateRectXY(r, 1, 2);
  EXPECT_EQ(r, TRect(0, 0, 4, 6));
  MoveRectXY(r, -1, 1);
  EXPECT_EQ(r, TRect(-1, 1, 3, 7));
  EXPECT_TRUE(PointInRect(r, TPoint(-1, 1)));
  EXPECT_FALSE(PointInRect(r, TPoint(3, 1)));
  EXPECT_TRUE(RectIsEmpty(TRect(0, 0, 0, 5)));
  EXPECT_TRUE(FloatRectIsEmpty(TFloatRect{0, 0, 1, 0}));
}

}  // namespace
