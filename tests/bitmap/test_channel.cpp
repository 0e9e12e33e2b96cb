// Channel filters: inversion, gray, keying, alpha from intensity, masking
// in place and from a source, the row routines and the nil errors.
#include "common/gtest.h"

#include <random>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Filters.h"

namespace {

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
  static void FillRandom(TCustomBitmap32& B, Integer W, Integer H, unsigned Seed) {
    B.SetSize(W, H);
    std::mt19937 rng(Seed);
    for (Integer i = 0; i < W * H; ++i) B.Bits()[i] = rng();
  }
};

TEST_F(ChannelTest, InvertRGBTwiceRestoresAndKeepsAlpha) {
  TCustomBitmap32 B, Orig;
  FillRandom(B, 13, 7, 1);
  Orig.Assign(&B);
  InvertRGB(&B, &B);
  for (Integer i = 0; i < 13 * 7; ++i) {
    EXPECT_EQ(B.Bits()[i] >> 24, Orig.Bits()[i] >> 24);
    EXPECT_EQ(B.Bits()[i] & 0xFFFFFF, ~Orig.Bits()[i] & 0xFFFFFF);
  }
  InvertRGB(&B, &B);
  for (Integer i = 0; i < 13 * 7; ++i) EXPECT_EQ(B.Bits()[i], Orig.Bits()[i]);
}

TEST_F(ChannelTest, InPlaceInversionStaysInsideTheClipRectangle) {
  TCustomBitmap32 B;
  B.SetSize(6, 6);
  B.Clear(0xFF000000u);
  B.SetClipRect(TRect(1, 2, 4, 5));
  InvertRGB(&B, &B);
  for (Integer y = 0; y < 6; ++y)
    for (Integer x = 0; x < 6; ++x)
      EXPECT_EQ(B.GetPixel(x, y), PointInRect(TRect(1, 2, 4, 5), TPoint(x, y)) ? 0xFFFFFFFFu : 0xFF000000u);
}

TEST_F(ChannelTest, PixelCases) {
  TCustomBitmap32 S, D;
  S.SetSize(1, 1);
  S.SetPixel(0, 0, 0x80FF0000u);
  ColorToGrayscale(&D, &S, true);
  EXPECT_EQ(D.GetPixel(0, 0), 0x803C3C3Cu);
  ColorToGrayscale(&D, &S, false);
  EXPECT_EQ(D.GetPixel(0, 0), 0xFF3C3C3Cu);
  D.SetPixel(0, 0, 0x00123456u);
  S.SetPixel(0, 0, 0xFFFFFFFFu);
  IntensityToAlpha(&D, &S);
  EXPECT_EQ(D.GetPixel(0, 0), 0xFF123456u);
  S.SetPixel(0, 0, 0xFF0000FFu);
  IntensityToAlpha(&D, &S);
  EXPECT_EQ(D.GetPixel(0, 0), 0x14123456u);  // (255 * 21) >> 8 = 20
}

TEST_F(ChannelTest, ChromaKeyComparesColourOnly) {
  TCustomBitmap32 B;
  B.SetSize(3, 1);
  B.SetPixel(0, 0, 0xFF102030u);
  B.SetPixel(1, 0, 0x40102030u);
  B.SetPixel(2, 0, 0xFF102031u);
  ChromaKey(&B, 0x00102030u);
  EXPECT_EQ(B.GetPixel(0, 0), 0x00102030u);
  EXPECT_EQ(B.GetPixel(1, 0), 0x00102030u);
  EXPECT_EQ(B.GetPixel(2, 0), 0xFF102031u);
}

TEST_F(ChannelTest, EmptyChannelSetChangesAndSignalsNothing) {
  TCustomBitmap32 B;
  B.SetSize(2, 2);
  B.Clear(0xFF112233u);
  Integer signals = 0;
  B.SetOnChange([&](TObject*) { ++signals; });
  InvertChannels(&B, &B, 0);
  EXPECT_EQ(signals, 0);
  EXPECT_EQ(B.GetPixel(1, 1), 0xFF112233u);
  InvertChannels(&B, &B, ChannelSet({ccAlpha}));
  EXPECT_EQ(B.GetPixel(1, 1), 0x00112233u);
  EXPECT_GT(signals, 0);
}

TEST_F(ChannelTest, MaskFromSourceWithNegativePositionTakesTheMatchingSourcePart) {
  TCustomBitmap32 S, D;
  S.SetSize(4, 4);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) S.SetPixel(x, y, TColor32(y * 16 + x));
  D.SetSize(4, 4);
  D.Clear(0xFFFFFFFFu);
  MaskChannels(&D, -1, -2, &S, S.BoundsRect(), 0xFF000000u, moOr);
  // D(0,0) takes S(1,2): the part of the source that lands inside
  EXPECT_EQ(D.GetPixel(0, 0), 0xFF000000u | (2 * 16 + 1));
  EXPECT_EQ(D.GetPixel(2, 1), 0xFF000000u | (3 * 16 + 3));
  EXPECT_EQ(D.GetPixel(3, 0), 0xFFFFFFFFu);  // beyond the source's width
  EXPECT_EQ(D.GetPixel(0, 2), 0xFFFFFFFFu);
  // a clip rectangle cutting the destination's left moves the source too
  D.Clear(0xFFFFFFFFu);
  D.SetClipRect(TRect(2, 0, 4, 4));
  MaskChannels(&D, 0, 0, &S, S.BoundsRect(), 0xFF000000u, moOr);
  EXPECT_EQ(D.GetPixel(2, 0), 0xFF000002u);
  EXPECT_EQ(D.GetPixel(1, 0), 0xFFFFFFFFu);
}

TEST_F(ChannelTest, NilArgumentsRaiseTheirMessages) {
  TCustomBitmap32 B;
  B.SetSize(1, 1);
  auto message = [](auto f) -> std::string {
    try {
      f();
    } catch (const Exception& e) {
      return std::string(e.Message().begin(), e.Message().end());
    }
    return "";
  };
  EXPECT_EQ(message([&] { InvertRGB(&B, nullptr); }), "The source is nil");
  EXPECT_EQ(message([&] { ColorToGrayscale(nullptr, &B); }), "Destination is nil");
  EXPECT_EQ(message([&] { MaskChannels(nullptr, TRect(0, 0, 1, 1), 0, moXor); }), "The bitmap is nil");
}

TEST_F(ChannelTest, RowImplementationsAgree) {
  using namespace filters_impl;
  std::mt19937 rng(5);
  for (Integer count : {1, 15, 16, 17, 33, 100}) {
    std::vector<TColor32> src(static_cast<size_t>(count)), a, b;
    for (auto& v : src) v = rng();
    TColor32 mask = rng();
    const TLogicalOperatorRow inplace[3][2] = {{AndRow_Simple, AndRow_Unrolled},
                                               {OrRow_Simple, OrRow_Unrolled},
                                               {XorRow_Simple, XorRow_Unrolled}};
    const TLogicalOperatorRowTo to[3][2] = {{AndRowTo_Simple, AndRowTo_Wide},
                                            {OrRowTo_Simple, OrRowTo_Wide},
                                            {XorRowTo_Simple, XorRowTo_Wide}};
    for (int op = 0; op < 3; ++op) {
      a = src;
      b = src;
      inplace[op][0](a.data(), mask, count);
      inplace[op][1](b.data(), mask, count);
      EXPECT_EQ(a, b);
      a.assign(size_t(count), 0);
      b.assign(size_t(count), 0);
      to[op][0](src.data(), a.data(), count, mask);
      to[op][1](src.data(), b.data(), count, mask);
      EXPECT_EQ(a, b);
      TColor32 expect = op == 0 ? (src[0] & mask) : op == 1 ? (src[0] | mask) : (src[0] ^ mask);
      EXPECT_EQ(a[0], expect);
    }
  }
}

}  // namespace
