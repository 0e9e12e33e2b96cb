// Image lists: adding (masked, with a mask, with alpha, wide strips, icons),
// deleting, change events, and the drawing of enabled and disabled
// (embossed) images checked by pixels.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include "classlib/ImgList.h"

namespace {

// An 8 x 8 white bitmap with a black 4 x 4 square at (2, 2).
TBitmap* SquareBitmap(TPixelFormat Format = pf24bit) {
  auto* B = new TBitmap();
  B->SetPixelFormat(Format);
  B->SetSize(8, 8);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(TRect(0, 0, 8, 8));
  B->Canvas()->Brush()->SetColor(clBlack);
  B->Canvas()->FillRect(TRect(2, 2, 6, 6));
  return B;
}

// A 24 x 24 canvas filled with Fill.
TBitmap* Target(TColor Fill) {
  auto* T = new TBitmap();
  T->SetPixelFormat(pf24bit);
  T->SetSize(24, 24);
  T->Canvas()->Brush()->SetColor(Fill);
  T->Canvas()->FillRect(TRect(0, 0, 24, 24));
  return T;
}

TColor Px(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y); }

}  // namespace

TEST(ImageListContent, AddDeleteClearAndChangeEvents) {
  TImageList L(nullptr, 8, 8);
  int Changes = 0;
  L.OnChange = [&](TObject* S) {
    EXPECT_EQ(S, &L);
    ++Changes;
  };
  EXPECT_EQ(L.Count(), 0);
  EXPECT_FALSE(L.HandleAllocated());
  std::unique_ptr<TBitmap> B(SquareBitmap());
  EXPECT_EQ(L.AddMasked(B.get(), clWhite), 0);
  EXPECT_EQ(L.Add(B.get(), nullptr), 1);
  EXPECT_TRUE(L.HandleAllocated());
  EXPECT_EQ(ImageList_GetImageCount(L.Handle()), 2);
  // A strip three cells wide adds three images.
  TBitmap Strip;
  Strip.SetPixelFormat(pf24bit);
  Strip.SetSize(24, 8);
  EXPECT_EQ(L.Add(&Strip, nullptr), 2);
  EXPECT_EQ(L.Count(), 5);
  // A bitmap smaller than a cell still makes one image.
  TBitmap Small;
  Small.SetSize(3, 3);
  EXPECT_EQ(L.AddMasked(&Small, clDefault), 5);
  EXPECT_EQ(Changes, 4);

  L.Delete(0);
  EXPECT_EQ(L.Count(), 5);
  EXPECT_THROW(L.Delete(5), EInvalidOperation);
  EXPECT_THROW(L.Delete(-1), EInvalidOperation);
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(Changes, 6);

  // A new size drops the images; the same size changes nothing.
  L.Add(B.get(), nullptr);
  L.SetSize(8, 8);
  EXPECT_EQ(L.Count(), 1);
  L.SetSize(16, 12);
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.Width(), 16);
  EXPECT_EQ(L.Height(), 12);
  int CX = 0, CY = 0;
  ImageList_GetIconSize(L.Handle(), &CX, &CY);
  EXPECT_EQ(CX, 16);
  EXPECT_EQ(CY, 12);
  EXPECT_EQ(L.Add(nullptr, nullptr), -1);
}

TEST(ImageListContent, AddMaskedLeavesTheSourceAlone) {
  TImageList L(nullptr, 8, 8);
  std::unique_ptr<TBitmap> B(SquareBitmap());
  L.AddMasked(B.get(), clWhite);
  EXPECT_EQ(Px(B.get(), 0, 0), clWhite);
  EXPECT_EQ(Px(B.get(), 3, 3), clBlack);
}

TEST(ImageListContent, AddsIcons) {
  TImageList L(nullptr, 16, 16);
  std::vector<Byte> AndBits(16 * 2, 0x00), XorBits(16 * 2, 0xFF);
  HICON H = CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, AndBits.data(), XorBits.data());
  ASSERT_NE(H, nullptr);
  TIcon Icon;
  Icon.SetHandle(H);
  EXPECT_EQ(L.AddIcon(&Icon), 0);
  EXPECT_EQ(L.Count(), 1);
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 2, 2, 0);
  EXPECT_EQ(Px(T.get(), 5, 5), clWhite);
  EXPECT_EQ(Px(T.get(), 1, 1), clRed);
}

TEST(ImageListDraw, EnabledDrawsTheImageThroughItsMask) {
  TImageList L(nullptr, 8, 8);
  std::unique_ptr<TBitmap> B(SquareBitmap());
  L.AddMasked(B.get(), clWhite);
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 4, 4, 0);
  EXPECT_EQ(Px(T.get(), 4 + 2, 4 + 2), clBlack);
  EXPECT_EQ(Px(T.get(), 4 + 5, 4 + 5), clBlack);
  EXPECT_EQ(Px(T.get(), 4 + 1, 4 + 1), clRed);  // masked out
  EXPECT_EQ(Px(T.get(), 4 + 6, 4 + 2), clRed);
  // An index outside the list draws nothing.
  L.Draw(T->Canvas(), 0, 0, 7);
  L.Draw(T->Canvas(), 0, 0, -1);
  EXPECT_EQ(Px(T.get(), 0, 0), clRed);
}

TEST(ImageListDraw, AnExplicitMaskDecides) {
  TImageList L(nullptr, 8, 8);
  TBitmap Img;
  Img.SetPixelFormat(pf24bit);
  Img.SetSize(8, 8);
  Img.Canvas()->Brush()->SetColor(clBlue);
  Img.Canvas()->FillRect(TRect(0, 0, 8, 8));
  TBitmap Mask;  // white = transparent: only the left half shows
  Mask.SetSize(8, 8);
  Mask.Canvas()->Brush()->SetColor(clWhite);
  Mask.Canvas()->FillRect(TRect(0, 0, 8, 8));
  Mask.Canvas()->Brush()->SetColor(clBlack);
  Mask.Canvas()->FillRect(TRect(0, 0, 4, 8));
  L.Add(&Img, &Mask);
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 0, 0, 0);
  EXPECT_EQ(Px(T.get(), 1, 1), clBlue);
  EXPECT_EQ(Px(T.get(), 6, 1), clRed);
}

TEST(ImageListDraw, BkColorFillsTheMaskedPixels) {
  TImageList L(nullptr, 8, 8);
  std::unique_ptr<TBitmap> B(SquareBitmap());
  L.AddMasked(B.get(), clWhite);
  L.SetBkColor(clLime);
  EXPECT_EQ(ImageList_GetBkColor(L.Handle()), COLORREF(RGB(0, 255, 0)));
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 0, 0, 0);
  EXPECT_EQ(Px(T.get(), 0, 0), clLime);
  EXPECT_EQ(Px(T.get(), 3, 3), clBlack);
  L.SetBkColor(clNone);
  EXPECT_EQ(ImageList_GetBkColor(L.Handle()), CLR_NONE);
}

// Disabled: the shape in the highlight colour at (+1, +1), the shadow colour
// over it at the image's place; the rest of the canvas untouched.
TEST(ImageListDraw, DisabledIsEmbossedFromTheMask) {
  const TColor Hi = ColorToRGB(clBtnHighlight), Sh = ColorToRGB(clBtnShadow);
  ASSERT_NE(Hi, Sh);
  TImageList L(nullptr, 8, 8);
  std::unique_ptr<TBitmap> B(SquareBitmap());
  L.AddMasked(B.get(), clWhite);
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 4, 4, 0, false);
  struct {
    int X, Y;
    TColor Expected;
  } Cases[] = {
      {6, 6, Sh},   {9, 9, Sh},   {9, 6, Sh},      // the square (4 + 2 .. 4 + 5)
      {10, 10, Hi}, {10, 7, Hi},  {7, 10, Hi},     // the highlight's edge, one pixel out
      {5, 5, clRed}, {6, 10, clRed}, {10, 6, clRed}, {11, 11, clRed}, {0, 0, clRed},
  };
  for (const auto& C : Cases) EXPECT_EQ(Px(T.get(), C.X, C.Y), C.Expected) << C.X << "," << C.Y;
}

TEST(ImageListDraw, AlphaImagesBlendAndEmbossByTheirAlpha) {
  TImageList L(nullptr, 4, 4);
  TBitmap A;
  A.SetPixelFormat(pf32bit);
  A.SetHandleType(bmDIB);
  A.SetSize(4, 4);
  // Left half: opaque green; right half: transparent (alpha 0).
  for (int Y = 0; Y < 4; ++Y) {
    auto* Row = static_cast<Byte*>(A.ScanLine(Y));
    for (int X = 0; X < 4; ++X) {
      Byte* P = Row + X * 4;
      if (X < 2) {
        P[0] = 0, P[1] = 255, P[2] = 0, P[3] = 255;
      } else {
        P[0] = P[1] = P[2] = P[3] = 0;
      }
    }
  }
  A.Changed(&A);
  L.Add(&A, nullptr);
  std::unique_ptr<TBitmap> T(Target(clRed));
  L.Draw(T->Canvas(), 0, 0, 0);
  EXPECT_EQ(Px(T.get(), 0, 0), clLime);
  EXPECT_EQ(Px(T.get(), 3, 0), clRed);

  std::unique_ptr<TBitmap> D(Target(clRed));
  L.Draw(D->Canvas(), 0, 0, 0, false);
  EXPECT_EQ(Px(D.get(), 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Px(D.get(), 2, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Px(D.get(), 3, 1), clRed);
}
