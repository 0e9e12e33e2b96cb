// What Wine's GDI leaves in the alpha byte of 32-bit DIB pixels. Code that
// reads alpha after GDI drawing (icon import, skinned drawing) relies on these.
#include "common/gtest.h"

#include <cstring>

#include "classlib/Graphics.h"

namespace {

// An 8 x 8 32-bit DIB filled with Fill ($AARRGGBB).
struct Surface {
  TBitmap B;
  explicit Surface(Cardinal Fill) {
    B.SetPixelFormat(pf32bit);
    B.SetSize(8, 8);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) static_cast<Cardinal*>(B.ScanLine(Y))[X] = Fill;
  }
  Cardinal At(int X, int Y) { return static_cast<Cardinal*>(B.ScanLine(Y))[X]; }
  HDC DC() { return B.Canvas()->Handle(); }
};

HICON MakeIcon(Cardinal Color) {
  void* Bits = nullptr;
  HBITMAP Col = CreateDIB32(4, 4, &Bits);
  for (int i = 0; i < 16; ++i) static_cast<Cardinal*>(Bits)[i] = Color;
  HBITMAP Mask = CreateBitmap(4, 4, 1, 1, nullptr);
  ICONINFO II{TRUE, 0, 0, Mask, Col};
  HICON I = CreateIconIndirect(&II);
  DeleteObject(Col);
  DeleteObject(Mask);
  return I;
}

}  // namespace

TEST(PlatformFacts, AlphaAfterGdiOperations) {
  for (Cardinal Fill : {0x00000000u, 0x12345678u}) {
    SCOPED_TRACE(Fill);
    {
      Surface S(Fill);
      S.B.Canvas()->Brush()->SetColor(clRed);
      S.B.Canvas()->FillRect(TRect(0, 0, 4, 4));
      EXPECT_EQ(S.At(1, 1), 0x00FF0000u) << "FillRect writes alpha 0";
      S.B.Canvas()->SetPixels(6, 0, clLime);
      EXPECT_EQ(S.At(6, 0), 0x0000FF00u) << "SetPixel writes alpha 0";
      S.B.Canvas()->Pen()->SetColor(clBlue);
      S.B.Canvas()->MoveTo(0, 5);
      S.B.Canvas()->LineTo(8, 5);
      EXPECT_EQ(S.At(2, 5), 0x000000FFu) << "a copy pen writes alpha 0";
      S.B.Canvas()->Pen()->SetMode(pmNot);
      S.B.Canvas()->MoveTo(0, 6);
      S.B.Canvas()->LineTo(8, 6);
      EXPECT_EQ(S.At(2, 6), ~Fill) << "R2_NOT inverts all 32 bits, alpha included";
      S.B.Canvas()->Pen()->SetMode(pmXor);
      S.B.Canvas()->Pen()->SetColor(clWhite);
      S.B.Canvas()->MoveTo(0, 7);
      S.B.Canvas()->LineTo(8, 7);
      EXPECT_EQ(S.At(2, 7), Fill ^ 0x00FFFFFFu) << "R2_XORPEN xors with the pen's alpha 0: alpha kept";
    }
    {
      // Text: glyph pixels (grayscale anti-aliased) get alpha 0, others are untouched.
      Surface S(Fill);
      S.B.Canvas()->Font()->SetName(u"Arial");
      S.B.Canvas()->Font()->SetHeight(-8);
      S.B.Canvas()->Font()->SetColor(clWhite);
      S.B.Canvas()->Brush()->SetStyle(bsClear);
      S.B.Canvas()->TextOut(0, 0, u"WWW");
      Integer Ink = 0;
      for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
          Cardinal P = S.At(X, Y);
          if (P == Fill) continue;
          ++Ink;
          EXPECT_EQ(P >> 24, 0u) << X << "," << Y;
          Byte B = Byte(P), G = Byte(P >> 8), R = Byte(P >> 16);
          if (Fill == 0) {
            EXPECT_TRUE(B == G && G == R) << "grayscale smoothing, never subpixel";
          }
        }
      EXPECT_GT(Ink, 4);
    }
    {
      // StretchBlt between 32-bit DIBs copies the alpha byte, stretched or not;
      // BitBlt from a 24-bit DIB gives alpha 0.
      Surface Src(0x80FF0000u), S(Fill);
      StretchBlt(S.DC(), 0, 0, 8, 8, Src.DC(), 0, 0, 8, 8, SRCCOPY);
      EXPECT_EQ(S.At(1, 1), 0x80FF0000u);
      Surface S2(Fill);
      StretchBlt(S2.DC(), 0, 0, 8, 8, Src.DC(), 0, 0, 4, 4, SRCCOPY);
      EXPECT_EQ(S2.At(5, 5), 0x80FF0000u);
      TBitmap T;
      T.SetPixelFormat(pf24bit);
      T.SetSize(8, 8);
      T.Canvas()->Brush()->SetColor(clBlue);
      T.Canvas()->FillRect(TRect(0, 0, 8, 8));
      BitBlt(S2.DC(), 0, 0, 8, 8, T.Canvas()->Handle(), 0, 0, SRCCOPY);
      EXPECT_EQ(S2.At(1, 1), 0x000000FFu);
    }
    {
      // DrawIconEx: an icon with alpha is blended (straight alpha) and the
      // alpha composed; an icon whose alpha bytes are all 0 is copied through
      // its mask and leaves alpha 0.
      Surface S(Fill);
      HICON WithAlpha = MakeIcon(0x8000FF00u), NoAlpha = MakeIcon(0x0000FF00u);
      DrawIconEx(S.DC(), 0, 0, WithAlpha, 4, 4, 0, nullptr, DI_NORMAL);
      DrawIconEx(S.DC(), 4, 4, NoAlpha, 4, 4, 0, nullptr, DI_NORMAL);
      const Cardinal Expected = Fill == 0 ? 0x80008000u : 0x891AAB3Cu;
      EXPECT_EQ(S.At(1, 1), Expected);
      EXPECT_EQ(S.At(5, 5), 0x0000FF00u);
      DestroyIcon(WithAlpha);
      DestroyIcon(NoAlpha);
    }
  }
}
