// Alpha masks, edges, torn edges, mosaic, smoothing and frames.
#include "common/gtest.h"

#include <cmath>
#include <random>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/VaZU32Vudover.h"

namespace {

class MasksTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
  void TearDown() override { EffectRandomReleaseSeed(); }
  static void Random(TCustomBitmap32& B, Integer W, Integer H, unsigned Seed, bool Holes) {
    B.SetSize(W, H);
    std::mt19937 rng(Seed);
    for (Integer i = 0; i < W * H; ++i) {
      TColor32 c = rng();
      if (Holes && rng() % 4 == 0) c &= 0x00FFFFFFu;
      B.Bits()[i] = c;
    }
  }
};

TEST_F(MasksTest, FadeEdgesWidthOne) {
  TCustomBitmap32 B;
  B.SetSize(4, 3);
  B.Clear(0xFF102030u);
  FadeEdges(&B, 1, 1);  // left only: k = round(127.5) = 128
  EXPECT_EQ(B.GetPixel(0, 1), 0x80102030u);
  EXPECT_EQ(B.GetPixel(1, 1), 0xFF102030u);
  B.Clear(0xFF102030u);
  FadeEdges(&B, 1, 1 | 2);  // the corner is multiplied twice
  EXPECT_EQ(AlphaOf(B.GetPixel(0, 0)), Byte(std::nearbyint(128.0 * 128 / 255)));
  B.Clear(0xFF102030u);
  FadeEdges(&B, 50, 8);  // wider than the bitmap: its smaller side (3)
  EXPECT_EQ(AlphaOf(B.GetPixel(0, 2)), Byte(std::nearbyint(std::nearbyint(255.0f / 4) * 255 / 255.0)));
  EXPECT_EQ(AlphaOf(B.GetPixel(0, 0)), Byte(std::nearbyint(std::nearbyint(255.0f / 4 * 3) * 255 / 255.0)));
  FadeEdges(&B, 0, 15);
}

TEST_F(MasksTest, BevelEdges) {
  TCustomBitmap32 B;
  B.SetSize(100, 100);
  B.Clear(0xFF808080u);
  BevelEdges(&B, 200, 15);  // capped to 50
  EXPECT_EQ(B.GetPixel(0, 50), LightenColor(0xFF808080u, 155));
  EXPECT_EQ(B.GetPixel(99, 50), LightenColor(0xFF808080u, -155));
  // the bands of 50 meet in the middle: column 50 is the right band's innermost
  EXPECT_EQ(B.GetPixel(50, 50), LightenColor(0xFF808080u, Integer(std::nearbyint(155.0f / 50 * 49)) - 155));
  EXPECT_EQ(B.GetPixel(25, 50), LightenColor(0xFF808080u, 155 - 78));  // round(77.5) = 78
  TCustomBitmap32 T;
  T.SetSize(1, 7);
  T.Clear(0xFF808080u);
  BevelEdges(&T, 5, 15);  // 1 px wide: width 0 after the limit, nothing
  for (Integer y = 0; y < 7; ++y) EXPECT_EQ(T.GetPixel(0, y), 0xFF808080u);
}

TEST_F(MasksTest, CircleAndVignette) {
  TCustomBitmap32 B;
  B.SetSize(11, 11);
  B.Clear(0xFF000000u);
  B.SetPixel(0, 5, 0x00000000u);
  CircleFadeAlpha(&B, TRect(0, 0, 10, 10), 255);
  EXPECT_EQ(AlphaOf(B.GetPixel(5, 5)), 255);  // centre: (5 - 0) * 51
  EXPECT_EQ(AlphaOf(B.GetPixel(0, 0)), 0);    // outside the disc
  EXPECT_EQ(AlphaOf(B.GetPixel(8, 5)), Byte(std::nearbyint((5.0f - 3.0f) * 51.0f)));
  B.Clear(0xFF000000u);
  CircleFadeAlpha(&B, TRect(4, 4, 4, 9), 200);  // 0 wide: every visible pixel transparent
  for (Integer i = 0; i < 121; ++i) EXPECT_EQ(B.Bits()[i] >> 24, 0u);
  B.Clear(0xFF000000u);
  VignetteAlpha(&B, 0);  // below 1: nothing
  EXPECT_EQ(AlphaOf(B.GetPixel(5, 5)), 255);
  VignetteAlpha(&B, 100);
  EXPECT_EQ(AlphaOf(B.GetPixel(5, 5)), Byte(std::nearbyint(255.0f / std::hypot(5.5f, 5.5f) * std::hypot(0.5f, 0.5f))));
  EXPECT_GT(AlphaOf(B.GetPixel(0, 0)), 240);
}

TEST_F(MasksTest, EdgeVignette) {
  TCustomBitmap32 S, D;
  S.SetSize(40, 30);
  S.Clear(0xFF000000u);
  S.SetPixel(20, 15, 0x00000000u);
  D.SetSize(40, 30);
  D.Clear(0xFF123456u);
  EdgeVignetteAlpha(&D, &S, 5, 100);  // band = round(0.05 * 15 * 0.95) = 1 < 2: nothing
  EXPECT_EQ(D.GetPixel(0, 0), 0xFF123456u);
  EdgeVignetteAlpha(&D, &S, 50, 100);  // A = 128, band = round(7.125) = 7
  EXPECT_EQ(D.GetPixel(20, 15), 0x00123456u);  // source transparent
  EXPECT_EQ(D.GetPixel(20, 10), 0x00123456u);  // beyond the band
  EXPECT_EQ(AlphaOf(D.GetPixel(20, 2)), 128 - Integer(std::nearbyint(2.0f * 128 / 7)));
  EXPECT_EQ(AlphaOf(D.GetPixel(0, 0)), Byte(std::nearbyint(128.0f * std::hypot(6.0f, 6.0f) / 7)));  // corner arc
  EXPECT_EQ(D.GetPixel(5, 20) & 0xFFFFFF, 0x123456u);
}

TEST_F(MasksTest, TearEdgesTouchesOnlyTheChosenBands) {
  EffectRandomFixSeed(42);
  for (bool style : {false, true})
    for (Integer sides : {1, 2, 4, 8, 15}) {
      TCustomBitmap32 B;
      B.SetSize(40, 30);
      B.Clear(0xFF00FF00u);
      const Integer D = 6;
      TearEdges(&B, D, sides, style);
      bool any = false;
      for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 40; ++x) {
          if (B.GetPixel(x, y) == 0xFF00FF00u) continue;
          any = true;
          bool inBand = ((sides & 1) && x < D) || ((sides & 4) && x >= 40 - D) || ((sides & 2) && y < D) ||
                        ((sides & 8) && y >= 30 - D);
          EXPECT_TRUE(inBand) << x << "," << y << " sides " << sides;
        }
      EXPECT_TRUE(any) << sides;
      // with the seed fixed the outline repeats
      TCustomBitmap32 C;
      C.SetSize(40, 30);
      C.Clear(0xFF00FF00u);
      TearEdges(&C, D, sides, style);
      for (Integer i = 0; i < 1200; ++i) ASSERT_EQ(B.Bits()[i], C.Bits()[i]);
    }
}

TEST_F(MasksTest, TearEdgesReturnsWhenNoStepIsPossible) {
  for (Integer depth : {1, 2, 3})
    for (bool style : {false, true}) {
      TCustomBitmap32 B;
      B.SetSize(30, 30);
      B.Clear(0xFF00FF00u);
      TearEdges(&B, depth, 15, style);
      if (!style || depth < 2) {
        for (Integer i = 0; i < 900; ++i) ASSERT_EQ(B.Bits()[i], 0xFF00FF00u) << depth << " " << style;
      }
    }
  TCustomBitmap32 Small;
  Small.SetSize(3, 3);
  Small.Clear(0xFF00FF00u);
  TearEdges(&Small, 50, 15, false);  // D = 3 on every side: untouched
  for (Integer i = 0; i < 9; ++i) EXPECT_EQ(Small.Bits()[i], 0xFF00FF00u);
}

TEST_F(MasksTest, MosaicCells) {
  TCustomBitmap32 B;
  B.SetSize(10, 10);
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 10; ++x) B.SetPixel(x, y, Color32FromRGBA(Byte(x * 10), Byte(y * 10), 0, 255));
  TCustomBitmap32 Orig;
  Orig.Assign(&B);
  Mosaic(&B, 0, true, 0);
  Mosaic(&B, -4, true, 0);
  for (Integer i = 0; i < 100; ++i) EXPECT_EQ(B.Bits()[i], Orig.Bits()[i]);
  Mosaic(&B, 3, true, 0);  // cells 3, 3, 3, 1
  EXPECT_EQ(B.GetPixel(0, 0), Color32FromRGBA(10, 10, 0));
  EXPECT_EQ(B.GetPixel(2, 2), Color32FromRGBA(10, 10, 0));
  EXPECT_EQ(B.GetPixel(9, 0), Color32FromRGBA(90, 10, 0));  // 1-px-wide last column
  EXPECT_EQ(B.GetPixel(9, 9), Color32FromRGBA(90, 90, 0));
  EXPECT_EQ(B.GetPixel(6, 4), Color32FromRGBA(70, 40, 0));
  // a partly transparent pixel over an opaque canvas is blended first
  TCustomBitmap32 P;
  P.SetSize(2, 1);
  P.SetPixel(0, 0, 0x80FF0000u);
  P.SetPixel(1, 0, 0x00000000u);
  Mosaic(&P, 2, false, 0xFF0000FFu);
  TColor32 merged = MergeOver(0x80FF0000u, 0xFF0000FFu);
  EndBlending();
  EXPECT_EQ(P.GetPixel(0, 0), (merged & 0xFFFFFF) | 0x80000000u);
  EXPECT_EQ(P.GetPixel(1, 0), merged & 0xFFFFFF);
  P.SetPixel(0, 0, 0x80FF0000u);
  Mosaic(&P, 2, true, 0xFF0000FFu);  // transparent canvas: stored colours
  EXPECT_EQ(P.GetPixel(0, 0), 0x80FF0000u);
}

// Direct window means over the pixels with alpha != 0.
void DirectMeans(const TCustomBitmap32& C, Integer x, Integer y, Integer R, Integer& n, Integer m[3]) {
  Int64 s[3] = {0, 0, 0};
  n = 0;
  for (Integer yy = std::max(0, y - R); yy <= std::min(C.Height() - 1, y + R); ++yy)
    for (Integer xx = std::max(0, x - R); xx <= std::min(C.Width() - 1, x + R); ++xx) {
      TColor32 c = C.GetPixel(xx, yy);
      if ((c >> 24) == 0) continue;
      s[0] += RedOf(c);
      s[1] += GreenOf(c);
      s[2] += BlueOf(c);
      ++n;
    }
  for (int k = 0; k < 3; ++k) m[k] = n ? Integer(s[k] / n) : 0;
}

TEST_F(MasksTest, SmoothingEqualsDirectWindows) {
  for (Integer R = 0; R <= 8; ++R) {
    TCustomBitmap32 B, C;
    Random(B, 13, 9, unsigned(R), true);
    C.Assign(&B);
    BoxSmooth(&B, R);
    TCustomBitmap32 S;
    S.Assign(&C);
    SelectiveSmooth(&S, R, 20);
    for (Integer y = 0; y < 9; ++y)
      for (Integer x = 0; x < 13; ++x) {
        TColor32 o = C.GetPixel(x, y);
        Integer n, m[3];
        DirectMeans(C, x, y, R, n, m);
        TColor32 box = o, sel = o;
        if ((o >> 24) != 0 && n > 0) {
          Integer ch[3] = {RedOf(o), GreenOf(o), BlueOf(o)};
          Integer b3[3];
          for (int k = 0; k < 3; ++k) b3[k] = std::clamp(ch[k] + (m[k] - ch[k]) / 3, 0, 255);
          box = (o & 0xFF000000u) | (TColor32(b3[0]) << 16) | (TColor32(b3[1]) << 8) | TColor32(b3[2]);
          bool close = false;
          for (int k = 0; k < 3; ++k) close |= std::abs(m[k] - ch[k]) <= 20;
          if (close) sel = (o & 0xFF000000u) | (TColor32(m[0]) << 16) | (TColor32(m[1]) << 8) | TColor32(m[2]);
        }
        ASSERT_EQ(B.GetPixel(x, y), box) << "R=" << R << " at " << x << "," << y;
        ASSERT_EQ(S.GetPixel(x, y), sel) << "R=" << R << " at " << x << "," << y;
      }
  }
  TCustomBitmap32 Thin, Orig;
  Random(Thin, 2, 10, 99, false);
  Orig.Assign(&Thin);
  BoxSmooth(&Thin, 3);
  SelectiveSmooth(&Thin, 3, 255);
  for (Integer i = 0; i < 20; ++i) EXPECT_EQ(Thin.Bits()[i], Orig.Bits()[i]);
}

TEST_F(MasksTest, AverageNeighboursWorksInPlace) {
  TCustomBitmap32 B;
  B.SetSize(3, 4);
  B.Clear(0);
  B.SetPixel(1, 0, 0x40404040u);
  B.SetPixel(0, 1, 0x80808080u);
  AverageNeighbours(&B, 1);
  // (1,1) = (up 0x40 + down 0 + left 0x80 + right 0) >> 2 = 0x30
  EXPECT_EQ(B.GetPixel(1, 1), 0x30303030u);
  // (1,2) reads the already replaced (1,1): 0x30 >> 2 = 0x0C
  EXPECT_EQ(B.GetPixel(1, 2), 0x0C0C0C0Cu);
  EXPECT_EQ(B.GetPixel(0, 1), 0x80808080u);  // border kept
}

TEST_F(MasksTest, ShadedFrame) {
  TCustomBitmap32 B;
  B.SetSize(20, 20);
  B.Clear(0xFFC08040u);
  DrawShadedFrame(&B, TRect(5, 5, 15, 15), 0, 3);
  // grown by 3: frames at 2, 3, 4, each darker inward
  Integer l2 = ColorLightness(B.GetPixel(2, 10)), l3 = ColorLightness(B.GetPixel(3, 10)),
          l4 = ColorLightness(B.GetPixel(4, 10));
  EXPECT_GT(l2, l3);
  EXPECT_GT(l3, l4);
  EXPECT_EQ(AlphaOf(B.GetPixel(2, 10)), 255);
  EXPECT_EQ(B.GetPixel(1, 10), 0xFFC08040u);
  EXPECT_EQ(B.GetPixel(5, 10), 0xFFC08040u);
  EXPECT_EQ(ColorLightness(0xFFC08040u), (192 + 64) / 2);
  TCustomBitmap32 D;
  D.SetSize(6, 6);
  D.Clear(0xFF000000u);  // lightness 0: step 0, nothing
  DrawShadedFrame(&D, TRect(1, 1, 5, 5), 0, 2);
  for (Integer i = 0; i < 36; ++i) EXPECT_EQ(D.Bits()[i], 0xFF000000u);
  DrawShadedFrame(&D, TRect(-50, -50, 5, 5), 0, 2);  // base pixel outside: the outer colour
}

TEST_F(MasksTest, TilePatternFillAndFrames) {
  TCustomBitmap32 P, D;
  P.SetSize(2, 2);
  P.SetPixel(0, 0, 0xFFFF0000u);
  P.SetPixel(1, 0, 0xFF00FF00u);
  P.SetPixel(0, 1, 0xFF0000FFu);
  P.SetPixel(1, 1, 0xFFFFFFFFu);
  D.SetSize(10, 10);
  D.Clear(0xFF000000u);
  TilePattern(&P, &D, TRect(1, 1, 6, 4), false);
  EXPECT_EQ(D.GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(D.GetPixel(3, 2), 0xFF0000FFu);
  EXPECT_EQ(D.GetPixel(4, 2), 0xFFFFFFFFu);
  EXPECT_EQ(D.GetPixel(5, 3), 0xFFFF0000u);
  EXPECT_EQ(D.GetPixel(6, 3), 0xFF000000u);  // clipped to the rectangle
  EXPECT_EQ(D.GetPixel(1, 4), 0xFF000000u);
  EXPECT_EQ(D.ClipRect(), D.BoundsRect());  // restored
  TCustomBitmap32 E;
  TilePattern(&E, &D, TRect(0, 0, 5, 5), true);  // empty pattern: nothing, returns
  EXPECT_EQ(D.ClipRect(), D.BoundsRect());
  // a non-square pattern: the caller's pattern is left as it was and all four edges are drawn
  TCustomBitmap32 N;
  N.SetSize(3, 1);
  N.Clear(0xFF00FF00u);
  D.Clear(0xFF000000u);
  TilePattern(&N, &D, TRect(0, 0, 9, 9), true);
  EXPECT_EQ(N.Width(), 3);
  EXPECT_EQ(N.Height(), 1);
  EXPECT_EQ(D.GetPixel(4, 0), 0xFF00FF00u);  // top
  EXPECT_EQ(D.GetPixel(8, 4), 0xFF00FF00u);  // right
  EXPECT_EQ(D.GetPixel(4, 8), 0xFF00FF00u);  // bottom
  EXPECT_EQ(D.GetPixel(0, 4), 0xFF00FF00u);  // left
  EXPECT_EQ(D.GetPixel(4, 4), 0xFF000000u);
  // square pattern ends in its starting orientation
  TilePattern(&P, &D, TRect(0, 0, 8, 8), true);
  EXPECT_EQ(P.GetPixel(1, 0), 0xFF00FF00u);
}

}  // namespace
