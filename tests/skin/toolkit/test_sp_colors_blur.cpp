// Colour conversions, the stack blur and alpha from a grey mask.
#include "common/gtest.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/data/SpBlur.h"
#include "skin/data/SpColors.h"

namespace {

TEST(SpColors, Conversions) {
  EXPECT_EQ(RGBToSpColor(0x000000FF), 0xFFFF0000u);
  EXPECT_EQ(PackSpColor(300, -5, 7, 0x80), 0x80FF0007u);
  EXPECT_EQ(ChangeBrightnessOfColor(0xFFFA0A00u, 10), 0xFFFF140Au);
  Single H, S, L;
  SpColorToHSL(0xFF808080u, H, S, L);
  EXPECT_EQ(H, 0.0f);
  EXPECT_EQ(S, 0.0f);
  EXPECT_EQ(HSLToSpColor(L, S, H), 0xFF808080u);
  EXPECT_EQ(ChangeHueOfColor(0xFF808080u, 40), 0xFF808080u);
}

// colorsys's model in double precision, halves to even.
TspColor ReferenceRoundTrip(Cardinal r8, Cardinal g8, Cardinal b8, double* HueOut) {
  const double r = r8 / 255.0, g = g8 / 255.0, b = b8 / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    h = mx == r ? (g - b) / d : mx == g ? 2 + (b - r) / d : 4 + (r - g) / d;
    h = h / 6;
    if (h < 0) h += 1;
  }
  *HueOut = h;
  const float hf = float(h), sf = float(s), lf = float(l);
  auto ch = [&](double p, double q, double t) {
    t -= std::floor(t);
    double v = 6 * t < 1 ? p + (q - p) * 6 * t : 2 * t < 1 ? q : 3 * t < 2 ? p + (q - p) * (2.0 / 3 - t) * 6 : p;
    return Cardinal(std::nearbyint(v * 255));
  };
  if (sf == 0) {
    const Cardinal c = Cardinal(std::nearbyint(double(lf) * 255));
    return 0xFF000000u | (c << 16) | (c << 8) | c;
  }
  const double L2 = lf, S2 = sf, H2 = hf;
  const double q = L2 > 0.5 ? S2 + L2 - S2 * L2 : L2 * (S2 + 1), p = 2 * L2 - q;
  return 0xFF000000u | (ch(p, q, H2 + 1.0 / 3) << 16) | (ch(p, q, H2) << 8) | ch(p, q, H2 - 1.0 / 3);
}

TEST(SpColors, HslAgainstReferenceGrid) {
  for (Cardinal r = 0; r < 256; r += 15)
    for (Cardinal g = 0; g < 256; g += 17)
      for (Cardinal b = 0; b < 256; b += 51) {
        double RefH;
        const TspColor Ref = ReferenceRoundTrip(r, g, b, &RefH);
        Single H, S, L;
        const TspColor C = 0xFF000000u | (r << 16) | (g << 8) | b;
        SpColorToHSL(C, H, S, L);
        EXPECT_EQ(H, float(RefH));
        EXPECT_EQ(HSLToSpColor(L, S, H), Ref) << r << "," << g << "," << b;
      }
}

TEST(SpColors, HueWrapsOnce) {
  // A hue of 200/255 moved by 100 wraps to 45/255.
  const TspColor C = HSLToSpColor(0.5f, 1.0f, 200.0f / 255.0f);
  const TspColor Moved = ChangeHueOfColor(C, 100);
  EXPECT_EQ(Moved, HSLToSpColor(0.5f, 1.0f, 45.0f / 255.0f));
  TspColor Px[2] = {0x00FF0000u, 0x80FF0000u};
  AdjustPixels(Px, 2, coChangeBrightness, 10);
  EXPECT_EQ(Px[0], 0x00FF0000u);  // fully transparent: untouched
  EXPECT_EQ(Px[1], 0x80FF0A0Au);  // alpha kept
}

// Stack blur written plainly: triangle weights over clamped positions, rows
// then columns, each divided by (r + 1)^2 with truncation.
std::vector<TspColor> ReferenceBlur(const std::vector<TspColor>& In, Integer W, Integer H, Integer r) {
  std::vector<Cardinal> Mid(In.size() * 3);
  const Cardinal Div = Cardinal((r + 1) * (r + 1));
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) {
        Cardinal Sum = 0;
        for (Integer i = -r; i <= r; ++i) {
          const Integer xx = std::clamp(x + i, 0, W - 1);
          Sum += ((In[size_t(y * W + xx)] >> (8 * c)) & 0xFF) * Cardinal(r + 1 - std::abs(i));
        }
        Mid[size_t(y * W + x) * 3 + size_t(c)] = Sum / Div;
      }
  std::vector<TspColor> Out(In.size());
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      TspColor P = 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        Cardinal Sum = 0;
        for (Integer i = -r; i <= r; ++i) {
          const Integer yy = std::clamp(y + i, 0, H - 1);
          Sum += Mid[size_t(yy * W + x) * 3 + size_t(c)] * Cardinal(r + 1 - std::abs(i));
        }
        P |= (Sum / Div) << (8 * c);
      }
      Out[size_t(y * W + x)] = P;
    }
  return Out;
}

std::vector<TspColor> Noise(Integer W, Integer H) {
  std::vector<TspColor> P(size_t(W) * size_t(H));
  Cardinal s = 12345;
  for (TspColor& c : P) c = (s = s * 1103515245u + 12345u) >> 1;
  return P;
}

TEST(SpBlur, MatchesWeightedSumReference) {
  for (Integer r : {1, 2, 3, 4, 5, 6, 7, 8, 40}) {
    const Integer W = 13, H = 9;
    std::vector<TspColor> P = Noise(W, H);
    const std::vector<TspColor> Ref = ReferenceBlur(P, W, H, r);
    StackBlurPixels(P.data(), W, H, r);
    EXPECT_EQ(P, Ref) << "radius " << r;
  }
}

TEST(SpBlur, NothingForNoRadiusAndCapsHugeOnes) {
  std::vector<TspColor> P = Noise(7, 5), Q = P;
  StackBlurPixels(P.data(), 7, 5, 0);
  StackBlurPixels(P.data(), 7, 5, -3);
  EXPECT_EQ(P, Q);
  // A radius from a skin of a million is done with the largest radius; its
  // tables stay small (the sanitizers would report a failed huge allocation).
  std::vector<TspColor> Capped = P;
  StackBlurPixels(P.data(), 7, 5, 1000000);
  StackBlurPixels(Capped.data(), 7, 5, MaxStackBlurRadius);
  EXPECT_EQ(P, Capped);
  std::vector<TspColor> Clear(6, 0x00000000u);
  StackBlurPixels(Clear.data(), 3, 2, 2);
  for (TspColor c : Clear) EXPECT_EQ(c, 0xFF000000u);
}

TEST(SpBlur, ReciprocalIsExactOverEveryReachableSum) {
  for (Integer r : {1, 2, 3, 12, 100, MaxStackBlurRadius}) {
    const Cardinal D = Cardinal((r + 1) * (r + 1));
    const TspReciprocal Rec(D);
    for (Cardinal n = 0; n <= 255 * D; ++n) {
      if (Rec.Div(n) != n / D) {
        FAIL() << "r " << r << " n " << n;
        break;
      }
    }
  }
}

TEST(SpBlur, AlphaFromGreyWalksTheCommonArea) {
  std::vector<TspColor> Bmp(4 * 3, 0xFF102030u);
  std::vector<TspColor> Mask(2 * 2, 0x000A141Fu);  // (10, 20, 31): grey 20
  AlphaFromGrayPixels(Bmp.data(), 4, 3, Mask.data(), 2, 2);
  EXPECT_EQ(Bmp[0], 0x14102030u);
  EXPECT_EQ(Bmp[5], 0x14102030u);
  EXPECT_EQ(Bmp[2], 0xFF102030u);   // outside the mask: unchanged
  EXPECT_EQ(Bmp[8], 0xFF102030u);
}

}  // namespace
