// The 3x3 blur: the worked weights, flat areas, small bitmaps, borders.
#include "common/gtest.h"

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Blur3x3.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

class Blur3Test : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(Blur3Test, SinglePixelSpreads) {
  TCustomBitmap32 B;
  B.SetSize(5, 5);
  B.Clear(0);
  B.SetPixel(2, 2, 0xFFFFFFFFu);
  Blur3x3(&B);
  EXPECT_EQ(B.GetPixel(2, 2), 0x3F3F3F3Fu);  // 63
  EXPECT_EQ(B.GetPixel(2, 1), 0x1F1F1F1Fu);  // 31
  EXPECT_EQ(B.GetPixel(3, 3), 0x0F0F0F0Fu);  // 15
  EXPECT_EQ(B.GetPixel(0, 0), 0u);           // border kept
  EXPECT_EQ(B.GetPixel(4, 2), 0u);
}

TEST_F(Blur3Test, FlatAndSmallBitmapsStay) {
  for (auto [w, h] : {std::pair{2, 6}, std::pair{6, 2}, std::pair{1, 1}, std::pair{4, 4}}) {
    TCustomBitmap32 B;
    B.SetSize(w, h);
    for (Integer i = 0; i < w * h; ++i) B.Bits()[i] = (w >= 3 && h >= 3) ? 0x80406080u : TColor32(i * 7919);
    TCustomBitmap32 Orig;
    Orig.Assign(&B);
    Blur3x3(&B);
    for (Integer i = 0; i < w * h; ++i) EXPECT_EQ(B.Bits()[i], Orig.Bits()[i]) << w << "x" << h;
  }
}

}  // namespace
