// The recipes' layer compositing (DrawLayer through Soft Light, Screen,
// Overlay, Darken and Color Burn) against pixman's separable blend operator
// of the same name on the same inputs: every pair of layer and base channel
// values, the layer opaque and half transparent, over an opaque base.
//
// The engine's modes are its own integer formulas (>> 8 where pixman divides
// by 255; its soft light and colour burn are other curves than pixman's), so
// the pixels are not expected to be equal: each mode's largest difference
// per channel is pinned here, so that a change of either side shows.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "bench/BenchPixman.h"
#include "bitmap/Bmp32_Engine.h"
#include "document/EffectRecipes.h"
#include "common/gtest.h"

namespace {

struct TPixmanMode {
  const char16_t* Name;
  int Op;                 // pixman's operator
  Integer Tolerance;      // the largest channel difference met (opaque layer)
  Integer HalfTolerance;  // the same with the layer at alpha 128
  double MeanAtMost;      // the mean channel difference (opaque layer)
  bool WhiteBaseBlackLayer = true;  // false: that one pair is left out (below)
};

// pixman's separable PDF operators: SCREEN 0x31, OVERLAY 0x32, DARKEN 0x33,
// COLOR_BURN 0x36, SOFT_LIGHT 0x38.
const TPixmanMode kModes[] = {
    // The comparison itself: Normal is pixman's OVER.
    {u"Normal", 0x03, 2, 2, 0.75},
    {u"Screen", 0x31, 2, 2, 0.46},
    {u"Overlay", 0x32, 3, 2, 0.91},
    {u"Darken", 0x33, 1, 1, 0.13},
    // The engine burns a white base under a black layer to black (its
    // formula gives 0 for every base when the layer channel is 0); pixman
    // keeps white there. That pair is checked on its own. At alpha 128 a
    // layer channel of 1 reaches pixman premultiplied as 1/128 (about 2/255),
    // and colour burn is steep there: 63 at base 254.
    {u"Color Burn", 0x36, 1, 63, 0.17, false},
    // Other curves: the engine's soft light is m + (255 - s - m) * b, pixman
    // the W3C one; they part most for dark bases under a white layer.
    {u"Soft Light", 0x38, 30, 16, 3.68},
};

// Base channel = x, layer channel = y (the same value in red, green and
// blue): all 65,536 pairs.
void MakeInputs(TCustomBitmap32& Base, TCustomBitmap32& Layer, Integer Alpha) {
  Base.SetSize(256, 256);
  Layer.SetSize(256, 256);
  for (Integer y = 0; y < 256; ++y)
    for (Integer x = 0; x < 256; ++x) {
      Base.SetPixel(x, y, Color32FromRGBA(Byte(x), Byte(x), Byte(x), 255));
      Layer.SetPixel(x, y, Color32FromRGBA(Byte(y), Byte(255 - y), Byte(y), Byte(Alpha)));
    }
}

struct TDifference {
  Integer Max = 0;
  double Mean = 0;
  Integer AtLayer = -1, AtBase = -1;
  Integer WhiteUnderBlackOurs = -1, WhiteUnderBlackTheirs = -1;  // red at base 255, layer 0
};

TDifference Compare(const TPixmanMode& M, Integer Alpha) {
  TCustomBitmap32 base, layer;
  MakeInputs(base, layer, Alpha);
  // Ours.
  TCustomBitmap32 ours;
  ours.Assign(&base);
  DrawLayer(&ours, &layer, BlendModeIndex(M.Name));
  // pixman's, on premultiplied pixels (the base is opaque, so it is the same
  // either way, and so is the result).
  TCustomBitmap32 src, theirs;
  src.Assign(&layer);
  theirs.Assign(&base);
  for (Integer y = 0; y < 256; ++y)
    for (Integer x = 0; x < 256; ++x) {
      const TColor32 c = src.GetPixel(x, y), a = c >> 24;
      TColor32 p = a << 24;
      for (int sh = 0; sh < 24; sh += 8) p |= (((c >> sh) & 0xFF) * a + 127) / 255 << sh;
      src.SetPixel(x, y, p);
    }
  pixman_image_t* si = Pix().create_bits(PIXMAN_a8r8g8b8, 256, 256, src.Bits(), 256 * 4);
  pixman_image_t* di = Pix().create_bits(PIXMAN_a8r8g8b8, 256, 256, theirs.Bits(), 256 * 4);
  Pix().composite32(M.Op, si, nullptr, di, 0, 0, 0, 0, 0, 0, 256, 256);
  Pix().unref(si);
  Pix().unref(di);
  TDifference d;
  d.WhiteUnderBlackOurs = Integer((ours.GetPixel(255, 0) >> 16) & 0xFF);
  d.WhiteUnderBlackTheirs = Integer((theirs.GetPixel(255, 0) >> 16) & 0xFF);
  double sum = 0;
  for (Integer y = 0; y < 256; ++y)
    for (Integer x = 0; x < 256; ++x) {
      const TColor32 o = ours.GetPixel(x, y), t = theirs.GetPixel(x, y);
      EXPECT_EQ(o >> 24, 255u) << "base " << x << " layer " << y;
      EXPECT_EQ(t >> 24, 255u) << "base " << x << " layer " << y;
      for (int sh = 0; sh < 24; sh += 8) {
        if (!M.WhiteBaseBlackLayer && x == 255 && ((layer.GetPixel(x, y) >> sh) & 0xFF) == 0) continue;
        const Integer diff = std::abs(Integer((o >> sh) & 0xFF) - Integer((t >> sh) & 0xFF));
        sum += diff;
        if (diff > d.Max) {
          d.Max = diff;
          d.AtBase = x;
          d.AtLayer = Integer((layer.GetPixel(x, y) >> sh) & 0xFF);
        }
      }
    }
  d.Mean = sum / (256.0 * 256.0 * 3.0);
  return d;
}

TEST(LayerBlendAgainstPixman, SeparableModesStayWithinTheirTolerance) {
  if (!Pix().ok) GTEST_SKIP() << "libpixman-1.so.0 cannot be opened";
  InitializeBitmapEngine();
  for (const TPixmanMode& m : kModes) {
    const std::string name(m.Name, m.Name + std::char_traits<char16_t>::length(m.Name));
    SCOPED_TRACE(name);
    ASSERT_GE(BlendModeIndex(m.Name), 0);
    const TDifference opaque = Compare(m, 255);
    const TDifference half = Compare(m, 128);
    RecordProperty(name + "_max", opaque.Max);
    RecordProperty(name + "_max_half", half.Max);
    EXPECT_LE(opaque.Max, m.Tolerance) << "at base " << opaque.AtBase << ", layer " << opaque.AtLayer;
    EXPECT_LE(half.Max, m.HalfTolerance) << "at base " << half.AtBase << ", layer " << half.AtLayer;
    EXPECT_LE(opaque.Mean, m.MeanAtMost);
    if (!m.WhiteBaseBlackLayer) {
      EXPECT_LE(opaque.WhiteUnderBlackOurs, 1);
      EXPECT_EQ(opaque.WhiteUnderBlackTheirs, 255);
    }
  }
}

}  // namespace
