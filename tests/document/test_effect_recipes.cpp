// The effect recipes against the same steps composed here from the engine's
// primitives: layers drawn through the engine's own per-pixel custom draw
// (the recipes use the row form), modes addressed by their numbers in the
// engine's list, the generator reseeded before each run.
#include <functional>
#include <vector>

#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Filters.h"
#include "bitmap/SharpenLib32.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "common/gtest.h"

namespace {

constexpr Cardinal Seed = 0x5EED1234u;
// Numbers of the engine's blend-mode list.
constexpr Integer kNormal = 0, kScreen = 2, kOverlay = 3, kReflect = 4, kSoftLight = 5, kColorBurn = 9,
                  kDarken = 11, kFreeze = 20;

// A photo-like 16 x 16 picture: smooth colour ramps, a texture, a few
// half-transparent and one fully transparent pixel.
void MakePhoto(TCustomBitmap32& B, Integer W = 16, Integer H = 16) {
  B.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      const Integer r = (x * 255) / std::max(W - 1, 1);
      const Integer g = (y * 255) / std::max(H - 1, 1);
      const Integer b = (x * 37 + y * 91 + x * y * 13) & 0xFF;
      Integer a = 255;
      if ((x + y) % 7 == 3) a = 128;
      if (x == 5 && y == 9) a = 0;
      B.SetPixel(x, y, Color32FromRGBA(Byte(r), Byte(g), Byte(b), Byte(a)));
    }
}

void Copy(TCustomBitmap32& Dst, TCustomBitmap32& Src) { Dst.Assign(&Src); }

// The layer drawn the engine's way: a custom draw through the mode's combiner.
void RefLayer(TCustomBitmap32& Dst, TCustomBitmap32& Layer, Integer Mode) {
  Layer.SetDrawMode(dmCustom);
  Layer.SetMasterAlpha(255);
  Layer.SetOnPixelCombine(BlendModeCombiners[Mode]);
  Dst.Draw(0, 0, &Layer);
}
void RefColorLayer(TCustomBitmap32& Dst, TColor32 Rgb, Integer Alpha, Integer Mode) {
  TCustomBitmap32 l;
  l.SetSize(Dst.Width(), Dst.Height());
  l.Clear((Rgb & 0xFFFFFFu) | (TColor32(Alpha) << 24));
  RefLayer(Dst, l, Mode);
}
void RefAlpha(TCustomBitmap32& B, Integer Alpha) {
  for (Integer y = 0; y < B.Height(); ++y)
    for (Integer x = 0; x < B.Width(); ++x) B.SetPixel(x, y, (B.GetPixel(x, y) & 0xFFFFFFu) | (TColor32(Alpha) << 24));
}
TColor32 Hue(Integer H) { return HSLtoRGB(Single(H) / 360.0f, 1.0f, 0.5f); }

std::vector<TColor32> PixelsOf(TCustomBitmap32& B) {
  return std::vector<TColor32>(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height());
}

struct TRecipeCase {
  const char* Name;
  TEffectMode Mode;
  Integer Value;
  bool Option;
  std::function<void(TCustomBitmap32&)> Reference;
};

const TColor32 kCanvas = 0xFF204060u;

void Cold(TCustomBitmap32& B, Integer H, Integer V) {
  BoxSmooth(&B, 4, kCanvas);
  AdjustContrast(&B, 60);
  AdjustHueSaturation(&B, 0, -100);
  RefColorLayer(B, Hue(H), V, kOverlay);
  AdjustBrightness(&B, -20);
  RefColorLayer(B, 0xFFFFFFFFu, 166, kSoftLight);
}

// A texture for the style effects: 5 x 3 of bright spots.
void MakeMask(TCustomBitmap32& M) {
  M.SetSize(5, 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 5; ++x) M.SetPixel(x, y, Color32FromRGBA(Byte(x * 60), Byte(255 - y * 90), Byte(x * y * 40), 255));
}

void Style(TCustomBitmap32& B, TCustomBitmap32& Mask, Integer Alpha, Integer Mode, bool Snow) {
  if (Snow) {
    ExpBlur(&B, 2);
    AdjustBrightness(&B, -30);
    AdjustHueSaturation(&B, 0, -50);
  }
  TCustomBitmap32 l;
  ResizeBitmap(&Mask, &l, B.Width(), B.Height());
  RefAlpha(l, Alpha);
  RefLayer(B, l, Mode);
}

}  // namespace

class EffectRecipes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitializeBitmapEngine(); }
};

TEST_F(EffectRecipes, RoundingOfDecimalProductsIsExactHalfToEven) {
  struct {
    Int64 V, N, D;
    Integer Want;
  } cases[] = {
      {10, 255, 100, 26}, {50, 255, 100, 128}, {90, 255, 100, 230}, {6, 175, 100, 10}, {95, 30, 100, 28},
      {-50, 255, 100, -128}, {1, 1, 2, 0}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {100, 255, 100, 255},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundRatio(c.V, c.N, c.D), c.Want) << c.V << "*" << c.N << "/" << c.D;
  EXPECT_EQ(PercentAlpha(101), 255);
  EXPECT_EQ(PercentAlpha(-5), 0);
}

TEST_F(EffectRecipes, ModeNamesMapToTheEngineList) {
  EXPECT_EQ(BlendModeIndex(u"Soft Light"), kSoftLight);
  EXPECT_EQ(BlendModeIndex(u"Freeze"), kFreeze);
  EXPECT_EQ(BlendModeIndex(u"Color Burn"), kColorBurn);
  EXPECT_EQ(BlendModeIndex(u"no such mode"), -1);
}

TEST_F(EffectRecipes, EffectDoRowsEqualTheirRecipes) {
  TCustomBitmap32 mask;
  MakeMask(mask);
  TEffectInputs in;
  in.CanvasColor = kCanvas;
  in.MaskBmp = &mask;
  const std::vector<TRecipeCase> cases = {
      {"blur", TEffectMode::emBlur, 3, false, [](TCustomBitmap32& B) { ExpBlur(&B, 3); }},
      {"sharpen", TEffectMode::emSharpen, 2, false, [](TCustomBitmap32& B) { Sharpen(&B, 0); Sharpen(&B, 0); }},
      {"noise", TEffectMode::emAddNoise, 20, false, [](TCustomBitmap32& B) { AddNoise(&B, 60, false); }},
      {"noise mono", TEffectMode::emAddNoise, 20, true, [](TCustomBitmap32& B) { AddNoise(&B, 60, true); }},
      {"denoise", TEffectMode::emDenoising, 40, false, [](TCustomBitmap32& B) { SelectiveSmooth(&B, 3, 40); }},
      {"grey", TEffectMode::emGrayscale, 0, false, [](TCustomBitmap32& B) { ColorToGrayscale(&B, &B, true); }},
      {"invert", TEffectMode::emInvert, 0, false, [](TCustomBitmap32& B) { InvertRGB(&B, &B); }},
      {"soften", TEffectMode::emSoften, 2, false, [](TCustomBitmap32& B) { BoxSmooth(&B, 3, kCanvas); }},
      {"light up 10", TEffectMode::emIncreaseLight, 10, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, 0xFFFFFFFFu, 26, kSoftLight); }},
      {"light up 50", TEffectMode::emIncreaseLight, 50, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, 0xFFFFFFFFu, 128, kSoftLight); }},
      {"light down 90", TEffectMode::emReduceLight, 90, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, 0xFF000000u, 230, kSoftLight); }},
      {"cold blue", TEffectMode::emColdBlue, 120, false, [](TCustomBitmap32& B) { Cold(B, 210, 120); }},
      {"cold green", TEffectMode::emColdGreen, 90, false, [](TCustomBitmap32& B) { Cold(B, 150, 90); }},
      {"warm red", TEffectMode::emWarmRed, 200, false, [](TCustomBitmap32& B) { Cold(B, 10, 200); }},
      {"warm yellow", TEffectMode::emWarmYellow, 60, false, [](TCustomBitmap32& B) { Cold(B, 50, 60); }},
      {"yellowing -6", TEffectMode::emYellowing, -6, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, 0xFFFFFF00u, 10, kColorBurn); }},
      {"freeze", TEffectMode::emFreeze, 70, false,
       [](TCustomBitmap32& B) {
         TCustomBitmap32 l;
         l.SetSize(B.Width(), B.Height());
         ColorToGrayscale(&l, &B, true);
         RefAlpha(l, 178);
         RefLayer(B, l, kFreeze);
       }},
      {"attemper warm", TEffectMode::emAttemper, 40, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, Color32FromRGBA(Byte(0xAA), Byte(0x6A), Byte(0x2F), 255), 102, kSoftLight); }},
      {"attemper cold", TEffectMode::emAttemper, -30, false,
       [](TCustomBitmap32& B) { RefColorLayer(B, Color32FromRGBA(Byte(0x04), Byte(0x82), Byte(0xDF), 255), 76, kSoftLight); }},
      {"sunshine", TEffectMode::emStyleSunshine, 60, false,
       [&](TCustomBitmap32& B) { Style(B, mask, 153, kReflect, false); }},
      {"sunny", TEffectMode::emStyleSunny, 60, false, [&](TCustomBitmap32& B) { Style(B, mask, 153, kScreen, false); }},
      {"droplet", TEffectMode::emStyleDroplet, 30, false,
       [&](TCustomBitmap32& B) { Style(B, mask, 76, kScreen, false); }},
      {"snow", TEffectMode::emStyleSnow, 80, false, [&](TCustomBitmap32& B) { Style(B, mask, 204, kScreen, true); }},
      {"star", TEffectMode::emStyleStar, 80, false,
       [&](TCustomBitmap32& B) { Style(B, mask, 204, kSoftLight, false); }},
      {"heart", TEffectMode::emStyleHeart, 100, false, [&](TCustomBitmap32& B) { Style(B, mask, 255, kScreen, false); }},
  };
  TCustomBitmap32 photo;
  MakePhoto(photo);
  for (const TRecipeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 got, want;
    Copy(got, photo);
    Copy(want, photo);
    EffectRandomFixSeed(Seed);
    EXPECT_TRUE(RunEffectDo(c.Mode, &got, c.Value, c.Option, in));
    EffectRandomFixSeed(Seed);
    c.Reference(want);
    EXPECT_EQ(PixelsOf(got), PixelsOf(want));
    EXPECT_NE(PixelsOf(got), PixelsOf(photo));
    // Run from the picture into a target that still holds an earlier run's
    // pixels, of the same size and of another: none of them may show.
    for (Integer stale : {16, 5}) {
      SCOPED_TRACE(stale);
      TCustomBitmap32 into;
      MakePhoto(into, stale, stale);
      InvertRGB(&into, &into);
      EffectRandomFixSeed(Seed);
      EXPECT_TRUE(RunEffectDoFrom(c.Mode, &photo, &into, c.Value, c.Option, in));
      EXPECT_EQ(PixelsOf(into), PixelsOf(want));
    }
  }
}

TEST_F(EffectRecipes, ZeroStrengthLayersAndUnlistedModesLeaveTheCopy) {
  TCustomBitmap32 photo;
  MakePhoto(photo);
  const struct {
    const char* Name;
    TEffectMode Mode;
    Integer Value;
    bool Listed;
  } cases[] = {
      {"light 0", TEffectMode::emIncreaseLight, 0, true},
      {"attemper 0 (blue at alpha 0)", TEffectMode::emAttemper, 0, true},
      {"style without its texture", TEffectMode::emStyleSunny, 80, true},
      {"not a one-value effect", TEffectMode::emMonochrome, 50, false},
      {"a brush effect", TEffectMode::emBokeh, 50, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 b;
    Copy(b, photo);
    EXPECT_EQ(RunEffectDo(c.Mode, &b, c.Value, false, TEffectInputs()), c.Listed);
    EXPECT_EQ(PixelsOf(b), PixelsOf(photo));
    TCustomBitmap32 into;
    MakePhoto(into, 7, 4);
    EXPECT_EQ(RunEffectDoFrom(c.Mode, &photo, &into, c.Value, false, TEffectInputs()), c.Listed);
    EXPECT_EQ(PixelsOf(into), PixelsOf(photo));
  }
  TCustomBitmap32 b;
  Copy(b, photo);
  EXPECT_FALSE(RunEffectDo2(TEffectMode::emBlur, &b, 1, 2, 3, 4, 0, 0));
  EXPECT_FALSE(RunEffectDoDirection(TEffectMode::emBlur, &b, 5, 15, false));
  EXPECT_EQ(PixelsOf(b), PixelsOf(photo));
}

TEST_F(EffectRecipes, EffectDo2RowsEqualTheirRecipes) {
  const TColor32 glow = 0xFF30C0F0u;
  const std::vector<std::pair<const char*, std::pair<std::function<bool(TCustomBitmap32&)>,
                                                     std::function<void(TCustomBitmap32&)>>>>
      cases = {
          {"monochrome",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emMonochrome, &B, 50, 200, 0, 0, 0, 0); },
            [](TCustomBitmap32& B) {
              ColorToGrayscale(&B, &B, true);
              RefColorLayer(B, Hue(200), 128, kSoftLight);
            }}},
          {"lomo",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emLomo, &B, 40, 30, 20, 100, 0, 0); },
            [](TCustomBitmap32& B) {
              AddNoise(&B, 30, true);
              RefColorLayer(B, 0xFF7F7F7Fu, 51, kFreeze);
              RefColorLayer(B, Hue(100), 60, kSoftLight);
              TCustomBitmap32 l;
              l.SetSize(B.Width(), B.Height());
              l.Clear(0xFF000000u);
              VignetteAlpha(&l, 40);
              RefLayer(B, l, kDarken);
            }}},
          {"glow",
           {[&](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emGlow, &B, 60, 80, 0, 0, glow, 0); },
            [&](TCustomBitmap32& B) {
              TCustomBitmap32 l;
              l.SetSize(B.Width(), B.Height());
              l.Clear(glow);
              EdgeVignetteAlpha(&l, &B, 60, 80);
              l.SetDrawMode(dmBlend);
              B.Draw(0, 0, &l);
            }}},
          {"old photo",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emOldPhoto, &B, 70, 25, 0, 0, 0, 0); },
            [](TCustomBitmap32& B) {
              TCustomBitmap32 l;
              l.SetSize(B.Width(), B.Height());
              ColorToGrayscale(&l, &B, true);
              RefColorLayer(l, Hue(30), 255, kSoftLight);
              RefAlpha(l, 178);
              AddNoise(&l, 25, true);
              l.SetDrawMode(dmBlend);
              B.Draw(0, 0, &l);
            }}},
          {"elegant",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emElegant, &B, 90, 40, 0, 0, 0, 0); },
            [](TCustomBitmap32& B) {
              TCustomBitmap32 l;
              l.SetSize(B.Width(), B.Height());
              ColorToGrayscale(&l, &B, true);
              RefAlpha(l, 230);
              AdjustHueSaturation(&B, 0, -60);
              RefLayer(B, l, kOverlay);
            }}},
          {"blend mode 9",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emBlendMode, &B, 50, 0, 0, 0, 0xFF10A0E0u, 9); },
            [](TCustomBitmap32& B) { RefColorLayer(B, 0xFF10A0E0u, 128, kColorBurn); }}},
          {"blend mode 0",
           {[](TCustomBitmap32& B) { return RunEffectDo2(TEffectMode::emBlendMode, &B, 80, 0, 0, 0, 0xFFE01010u, 0); },
            [](TCustomBitmap32& B) { RefColorLayer(B, 0xFFE01010u, 204, kNormal); }}},
      };
  TCustomBitmap32 photo;
  MakePhoto(photo);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    TCustomBitmap32 got, want;
    Copy(got, photo);
    Copy(want, photo);
    EffectRandomFixSeed(Seed);
    EXPECT_TRUE(c.second.first(got));
    EffectRandomFixSeed(Seed);
    c.second.second(want);
    EXPECT_EQ(PixelsOf(got), PixelsOf(want));
    EXPECT_NE(PixelsOf(got), PixelsOf(photo));
  }
}

TEST_F(EffectRecipes, EdgeEffectsAndAdjustmentEqualTheirRecipes) {
  TCustomBitmap32 photo;
  MakePhoto(photo);
  const struct {
    const char* Name;
    TEffectMode Mode;
    Integer Value, Direction;
    bool Option;
    void (*Ref)(TCustomBitmap32*, Integer, Integer, bool);
  } rows[] = {
      {"fade left+bottom", TEffectMode::emFade, 5, 1 | 8, false,
       [](TCustomBitmap32* B, Integer V, Integer D, bool) { FadeEdges(B, V, D); }},
      {"torn all", TEffectMode::emTorn, 4, 15, true,
       [](TCustomBitmap32* B, Integer V, Integer D, bool O) { TearEdges(B, V, D, O); }},
      {"bevel top+right", TEffectMode::emBevel, 3, 2 | 4, false,
       [](TCustomBitmap32* B, Integer V, Integer D, bool) { BevelEdges(B, V, D); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Name);
    TCustomBitmap32 got, want;
    Copy(got, photo);
    Copy(want, photo);
    EffectRandomFixSeed(Seed);
    EXPECT_TRUE(RunEffectDoDirection(r.Mode, &got, r.Value, r.Direction, r.Option));
    EffectRandomFixSeed(Seed);
    r.Ref(&want, r.Value, r.Direction, r.Option);
    EXPECT_EQ(PixelsOf(got), PixelsOf(want));
    EXPECT_NE(PixelsOf(got), PixelsOf(photo));
  }

  // Each slider alone, then all of them: the steps in their order, only
  // those whose amounts are not 0.
  struct TAdjustCase {
    const char* Name;
    TImageAdjustAmounts A;
  };
  auto amounts = [](Integer Br, Integer Co, Integer Li, Integer Sa, Integer Hu, Integer R, Integer G, Integer Bl,
                    bool Lum) {
    TImageAdjustAmounts a;
    a.Brightness = Br, a.Contrast = Co, a.Lightness = Li, a.Saturation = Sa, a.Hue = Hu;
    a.BalanceRed = R, a.BalanceGreen = G, a.BalanceBlue = Bl, a.BalanceLuminosity = Lum;
    return a;
  };
  const TAdjustCase adjust[] = {
      {"brightness", amounts(40, 0, 0, 0, 0, 0, 0, 0, true)},
      {"contrast", amounts(0, -30, 0, 0, 0, 0, 0, 0, true)},
      {"lightness", amounts(0, 0, 25, 0, 0, 0, 0, 0, true)},
      {"saturation", amounts(0, 0, 0, -50, 0, 0, 0, 0, true)},
      {"hue", amounts(0, 0, 0, 0, 90, 0, 0, 0, true)},
      {"balance", amounts(0, 0, 0, 0, 0, 40, -20, 10, false)},
      {"all", amounts(-10, 20, -15, 30, -45, -30, 25, 60, true)},
  };
  for (const TAdjustCase& c : adjust) {
    SCOPED_TRACE(c.Name);
    TColorBalance balance, refBalance;
    TCustomBitmap32 got, want;
    Copy(got, photo);
    Copy(want, photo);
    RunImageAdjust(&got, c.A, &balance);
    if (c.A.Brightness) AdjustBrightness(&want, c.A.Brightness);
    if (c.A.Contrast) AdjustContrast(&want, c.A.Contrast);
    if (c.A.Hue || c.A.Saturation) AdjustHueSaturation(&want, c.A.Hue, c.A.Saturation);
    if (c.A.Lightness) AdjustLightness(&want, c.A.Lightness);
    if (c.A.BalanceRed || c.A.BalanceGreen || c.A.BalanceBlue) {
      refBalance.SetSourceBitmap(&want);
      refBalance.SetPreserveLuminosity(c.A.BalanceLuminosity);
      refBalance.SetCyanRed(c.A.BalanceRed);
      refBalance.SetMagentaGreen(c.A.BalanceGreen);
      refBalance.SetYellowBlue(c.A.BalanceBlue);
      refBalance.Execute(&want);
    }
    EXPECT_EQ(PixelsOf(got), PixelsOf(want));
    EXPECT_NE(PixelsOf(got), PixelsOf(photo));
  }
}

TEST_F(EffectRecipes, WhichRunsWorkOnTheSelection) {
  EXPECT_TRUE(EffectDo2UsesSelection(TEffectMode::emMonochrome));
  EXPECT_TRUE(EffectDo2UsesSelection(TEffectMode::emElegant));
  for (TEffectMode m : {TEffectMode::emLomo, TEffectMode::emGlow, TEffectMode::emOldPhoto, TEffectMode::emBlendMode})
    EXPECT_FALSE(EffectDo2UsesSelection(m)) << Integer(m);
  for (Integer m = 0; m < EffectModeCount; ++m) {
    const bool keeps = (m >= 12 && m <= 17) || (m >= 33 && m <= 35);
    EXPECT_EQ(EffectMergesSelection(TEffectMode(m)), !keeps) << m;
  }
}

TEST_F(EffectRecipes, CopyInRegionWritesOnlyInsideTheRegionAndTheTarget) {
  // Dest 10 x 8 of one colour; Src 6 x 6 placed at Origin; the region an
  // L shape partly outside Dest. Expected: a pixel-by-pixel point test.
  const struct {
    const char* Name;
    TPoint Origin;
  } cases[] = {{"inside", TPoint(2, 1)}, {"hanging off the top-left", TPoint(-3, -2)},
               {"hanging off the bottom-right", TPoint(7, 5)}, {"wholly outside", TPoint(20, 20)}};
  const TRect rects[] = {TRect(-2, -2, 4, 3), TRect(1, 3, 12, 6), TRect(6, 6, 9, 12)};
  const TRegion region = TRegion::FromRects(rects, 3);
  TCustomBitmap32 src;
  MakePhoto(src, 6, 6);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 dest, want;
    dest.SetSize(10, 8);
    dest.Clear(0x11223344u);
    want.Assign(&dest);
    for (Integer y = 0; y < src.Height(); ++y)
      for (Integer x = 0; x < src.Width(); ++x) {
        const Integer dx = x + c.Origin.X, dy = y + c.Origin.Y;
        if (region.Contains(dx, dy) && dx >= 0 && dy >= 0 && dx < 10 && dy < 8) want.SetPixel(dx, dy, src.GetPixel(x, y));
      }
    CopyInRegion(region, &src, &dest, c.Origin);
    EXPECT_EQ(PixelsOf(dest), PixelsOf(want));
  }
}
