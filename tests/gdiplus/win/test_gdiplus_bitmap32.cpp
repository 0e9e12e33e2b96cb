// The program's surface: a graphics on the DC of a TBitmap32.
#include "common/gtest.h"

#include "bitmap/win/Bmp32_Windowed.h"
#include "tests/gdiplus/win/gdiplus_fixture.h"

TEST(GdiPlusOnBitmap32, DrawingLandsInTheBitmapOnRelease) {
  EnsureGdiPlus();
  TNoRefusedCalls watch;
  TBitmap32 bmp;
  bmp.SetSize(30, 20);
  bmp.Clear(0x00FFFFFF);
  {
    IGPGraphics g = TGPGraphics::FromHDC(bmp.Handle());
    ASSERT_NE(g->GetNativeHandle(), nullptr);
    g->SetSmoothingMode(SmoothingModeAntiAlias);
    g->FillRectangle(IGPBrush(new TGPSolidBrush(0xFF336699)), TGPRect{2, 3, 10, 5});
    g->FillEllipse(IGPBrush(new TGPSolidBrush(0x80FF0000)), 15, 2, 12, 12);
    EXPECT_EQ(bmp.GetPixel(5, 5), 0x00FFFFFFu);  // not yet: the graphics is alive
  }
  EXPECT_EQ(bmp.GetPixel(5, 5), 0xFF336699u);
  EXPECT_EQ(bmp.GetPixel(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(bmp.GetPixel(5, 12), 0x00FFFFFFu);
  const TColor32 half = bmp.GetPixel(21, 8);
  EXPECT_NEAR(int(half >> 24), 128, 1);
  EXPECT_EQ(half & 0x00FFFFFF, 0x00FF0000u);
  // After a resize the old DC is gone; a graphics on the new one works.
  bmp.SetSize(8, 8);
  bmp.Clear(0);
  {
    IGPGraphics g = TGPGraphics::FromHDC(bmp.Handle());
    g->FillRectangle(IGPBrush(new TGPSolidBrush(0xFFFFFFFF)), 0, 0, 8, 8);
  }
  EXPECT_EQ(bmp.GetPixel(7, 7), 0xFFFFFFFFu);
}
