// Bitmaps to and from the clipboard: alpha kept in both directions, opaque
// imports of 24-bit and alpha-less bitmaps, and no bitmap on the clipboard.
#include "common/gtest.h"

#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/win/Bmp32_Windowed.h"
#include "classlib/Clipbrd.h"

namespace {

class BitmapClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeBitmapEngine();
    Clipboard()->Clear();
  }
};

std::vector<TColor32> PixelsOf(TCustomBitmap32& B) {
  return std::vector<TColor32>(B.Bits(), B.Bits() + B.Width() * B.Height());
}

}  // namespace

TEST_F(BitmapClipboard, AlphaSurvivesTheRoundTrip) {
  TBitmap32 Src;
  Src.SetSize(3, 2);
  const TColor32 Colors[6] = {0xFF112233u, 0x80445566u, 0x00778899u, 0x01AABBCCu, 0xFEDDEEFFu, 0x40102030u};
  for (int i = 0; i < 6; ++i) Src.SetPixel(i % 3, i / 3, Colors[i]);
  Clipboard()->Assign(&Src);  // reaches TBitmap32::AssignTo
  ASSERT_TRUE(Clipboard()->HasFormat(CF_DIB));

  // Another reader sees a 32-bit DIB with the same four bytes per pixel.
  TBitmap Plain;
  Clipboard()->AssignTo(&Plain);
  ASSERT_EQ(Plain.PixelFormat(), pf32bit);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X)
      EXPECT_EQ(static_cast<const TColor32*>(Plain.ScanLine(Y))[X], Colors[Y * 3 + X]) << X << "," << Y;

  TBitmap32 Back;
  Back.SetSize(9, 9);
  Back.Assign(Clipboard());
  ASSERT_EQ(Back.Width(), 3);
  ASSERT_EQ(Back.Height(), 2);
  EXPECT_EQ(PixelsOf(Back), PixelsOf(Src));
}

TEST_F(BitmapClipboard, OpaqueSourcesImportOpaque) {
  // A 24-bit bitmap put by another program.
  TBitmap B24;
  B24.SetPixelFormat(pf24bit);
  B24.SetSize(2, 2);
  B24.Canvas()->Brush()->SetColor(TColor(0x332211));  // R 11, G 22, B 33
  B24.Canvas()->FillRect(TRect(0, 0, 2, 2));
  Clipboard()->Assign(&B24);
  TBitmap32 A;
  AssignFromClipboard(&A, Clipboard());
  ASSERT_EQ(A.Width(), 2);
  for (TColor32 C : PixelsOf(A)) EXPECT_EQ(C, 0xFF112233u);

  // A 32-bit one whose alpha bytes are all 0 (drawn by GDI) counts as opaque.
  TBitmap B32;
  B32.SetPixelFormat(pf32bit);
  B32.SetHandleType(bmDIB);
  B32.SetSize(2, 1);
  for (int X = 0; X < 2; ++X) static_cast<TColor32*>(B32.ScanLine(0))[X] = 0x00405060u;
  B32.Changed(&B32);
  Clipboard()->Assign(&B32);
  TBitmap32 C;
  AssignFromClipboard(&C, Clipboard());
  for (TColor32 P : PixelsOf(C)) EXPECT_EQ(P, 0xFF405060u);
}

TEST_F(BitmapClipboard, NoBitmapRaisesAndKeepsTheBitmap) {
  Clipboard()->SetAsText(u"text only");
  TBitmap32 A;
  A.SetSize(4, 4);
  A.Clear(0xFF00FF00u);
  EXPECT_THROW(AssignFromClipboard(&A, Clipboard()), EInvalidGraphic);
  EXPECT_EQ(A.Width(), 4);
  EXPECT_EQ(A.GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_FALSE(Clipboard()->IsOpen());
}
