// Colour balance: the worked curve values, change detection, modes, the
// settings record and its short-stream guard, execution into a new bitmap.
#include "common/gtest.h"

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_ColorBalance.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

class ColorBalanceTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
};

TEST_F(ColorBalanceTest, NewObjectIsIdentity) {
  TColorBalance CB;
  for (Integer i = 0; i < 256; ++i) {
    EXPECT_EQ(CB.RedLookup()[i], i);
    EXPECT_EQ(CB.BlueLookup()[i], i);
  }
  EXPECT_TRUE(CB.PreserveLuminosity());
  EXPECT_EQ(CB.TransferMode(), tmMidtones);
}

TEST_F(ColorBalanceTest, MidtoneShiftNumbers) {
  TColorBalance CB;
  CB.SetCyanRed(100);
  EXPECT_EQ(CB.RedLookup()[127], 194);
  EXPECT_EQ(CB.RedLookup()[0], 0);
  EXPECT_EQ(CB.RedLookup()[255], 254);
  EXPECT_EQ(CB.GreenLookup()[127], 127);
  CB.SetTransferMode(tmShadows);  // mode alone: nothing rebuilt
  EXPECT_EQ(CB.RedLookup()[127], 194);
  EXPECT_EQ(CB.CyanRed(), 0);
  CB.SetYellowBlue(-50);
  EXPECT_LT(CB.BlueLookup()[20], 20);
  CB.SetTransferMode(tmMidtones);
  CB.Reset();
  EXPECT_EQ(CB.RedLookup()[127], 127);
  EXPECT_LT(CB.BlueLookup()[20], 20);  // the shadows' value stays
}

TEST_F(ColorBalanceTest, StreamRoundTripAndShortStream) {
  TColorBalance A, B;
  A.SetMagentaGreen(-40);
  A.SetTransferMode(tmHighlights);
  A.SetCyanRed(70);
  A.SetPreserveLuminosity(false);
  TMemoryStream S;
  A.SaveToStream(&S);
  ASSERT_EQ(S.Size(), 809);
  const Byte* mem = static_cast<const Byte*>(S.Memory());
  EXPECT_EQ(mem[804], 0);
  EXPECT_EQ(mem[805], 2);
  EXPECT_EQ(mem[12 + 4], Byte(-40 & 0xFF));  // midtones magenta-green, little-endian
  S.SetPosition(0);
  ASSERT_TRUE(B.LoadFromStream(&S));
  EXPECT_EQ(B.TransferMode(), tmHighlights);
  EXPECT_EQ(B.CyanRed(), 70);
  EXPECT_FALSE(B.PreserveLuminosity());
  for (Integer i = 0; i < 256; ++i) {
    EXPECT_EQ(B.RedLookup()[i], A.RedLookup()[i]);
    EXPECT_EQ(B.GreenLookup()[i], A.GreenLookup()[i]);
  }
  // a short stream: false and nothing changes
  TColorBalance C;
  TMemoryStream Short;
  Short.WriteBuffer(mem, 808);
  Short.SetPosition(0);
  EXPECT_FALSE(C.LoadFromStream(&Short));
  EXPECT_EQ(C.TransferMode(), tmMidtones);
  EXPECT_EQ(C.GreenLookup()[100], 100);
  EXPECT_FALSE(C.LoadFromStream(nullptr));
}

TEST_F(ColorBalanceTest, ExecuteIntoNewBitmapKeepsSourceAlpha) {
  TColorBalance CB;
  TCustomBitmap32 Src, Dest;
  Src.SetSize(2, 1);
  Src.SetPixel(0, 0, 0x80102030u);
  Src.SetPixel(1, 0, 0x40808080u);
  CB.SetSourceBitmap(&Src);
  CB.SetPreserveLuminosity(false);
  CB.Execute(&Dest);
  EXPECT_EQ(Dest.Width(), 2);
  EXPECT_EQ(Dest.GetPixel(0, 0), 0x80102030u);
  CB.SetCyanRed(100);
  CB.SetPreserveLuminosity(true);
  CB.Execute(&Dest);
  TColor32 g = Dest.GetPixel(1, 0);
  EXPECT_EQ(AlphaOf(g), 0x40);
  EXPECT_GT(RedOf(g), GreenOf(g));  // shifted towards red
  Integer mx = std::max({RedOf(g), GreenOf(g), BlueOf(g)}), mn = std::min({RedOf(g), GreenOf(g), BlueOf(g)});
  EXPECT_NEAR((mx + mn) / 2, 128, 1);  // lightness kept
}

}  // namespace
