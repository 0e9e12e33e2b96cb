// Masking from a source into a destination far larger than the caches: the
// destination is written past the caches then, and must hold exactly what
// the in-place masking of a copy gives, for each operation, at a destination
// offset that leaves its rows unaligned, with a clip rectangle, and only
// inside the placed rectangle.
#include "common/gtest.h"

#include <random>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Filters.h"

namespace {

// 3001 x 2800: above the streaming threshold (8 Mi pixels), odd row length.
constexpr Integer W = 3001, H = 2800;

void FillRandom(TCustomBitmap32& B, unsigned Seed) {
  B.SetSize(W, H);
  std::mt19937 rng(Seed);
  for (Integer i = 0; i < W * H; ++i) B.Bits()[i] = rng();
}

TEST(MaskChannelsLarge, FromASourceEqualsInPlaceMasking) {
  InitializeBitmapEngine();
  TCustomBitmap32 src;
  FillRandom(src, 7);
  struct TCase {
    const char* Name;
    TMaskOperation Op;
    TColor32 Mask;
    Integer DstX, DstY;
    TRect Clip;  // empty: none
  };
  const TCase cases[] = {
      {"xor whole", moXor, 0x00FFFFFFu, 0, 0, TRect()},
      {"and offset by one pixel", moAnd, 0xFF0F0F0Fu, 1, 0, TRect()},
      {"or offset and clipped", moOr, 0x80000080u, 3, 2, TRect(5, 1, W - 2, H - 3)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 dst;
    dst.SetSize(W, H);
    dst.Clear(0x12345678u);
    if (!RectIsEmpty(c.Clip)) dst.SetClipRect(c.Clip);
    MaskChannels(&dst, c.DstX, c.DstY, &src, src.BoundsRect(), c.Mask, c.Op);
    // The reference, pixel by pixel.
    TRect placed(c.DstX, c.DstY, W, H);
    if (!RectIsEmpty(c.Clip)) IntersectRects(placed, placed, c.Clip);
    size_t wrong = 0;
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        TColor32 want = 0x12345678u;
        if (PointInRect(placed, TPoint(x, y))) {
          const TColor32 s = src.GetPixel(x - c.DstX, y - c.DstY);
          want = c.Op == moXor ? s ^ c.Mask : c.Op == moAnd ? s & c.Mask : s | c.Mask;
        }
        if (dst.GetPixel(x, y) != want && wrong++ < 3)
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << dst.GetPixel(x, y) << " not " << want;
      }
    EXPECT_EQ(wrong, 0u);
  }
}

TEST(MaskChannelsLarge, InvertIntoAnotherBitmapEqualsInvertInPlace) {
  InitializeBitmapEngine();
  TCustomBitmap32 src, inPlace, into;
  FillRandom(src, 11);
  inPlace.Assign(&src);
  InvertRGB(&inPlace, &inPlace);
  InvertRGB(&into, &src);
  ASSERT_EQ(into.Width(), W);
  ASSERT_EQ(into.Height(), H);
  EXPECT_TRUE(std::equal(into.Bits(), into.Bits() + size_t(W) * H, inPlace.Bits()));
}

}  // namespace
