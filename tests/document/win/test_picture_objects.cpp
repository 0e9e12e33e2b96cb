// The picture object and the watermark: scaled copies rebuilt only after a
// change, opacity, turned pictures and their corners, the watermark's
// places, tiles, transparent colour and empty pictures.
#include "common/gtest.h"

#include <cstdlib>

#include "bitmap/Bmp32_Transforms.h"
#include "document/win/ImageSmall.h"
#include "gdiplus/win/ImageFiles.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

TImgSmall* Picture(TTestDocument& D, const TRect& Box, std::map<Integer, String> More = {}) {
  auto* s = static_cast<TImgSmall*>(D.Add(ObjectRow(1, TShapeType::shSmall, Box, More)));
  s->SrcBmp()->SetSize(40, 20);
  s->SrcBmp()->Clear(0xFF0000FFu);
  s->SrcBmp()->FillRectS(TRect(20, 0, 40, 20), 0xFFFF0000u);  // blue left half, red right half
  s->SetChanged2(true);
  return s;
}

void WritePicture(const String& Path, Integer W, Integer H, TColor32 Colour, TColor32 Centre) {
  TBitmap32 b;
  b.SetSize(W, H);
  b.Clear(Colour);
  b.FillRectS(TRect(W / 4, H / 4, W - W / 4, H - H / 4), Centre);
  SaveBitmap32ToFile(&b, Path, GetImageFormatByExt(Path), 0);
}

// Every channel within 1: the engine's blend at alpha 255 weighs the
// picture 255/256.
bool Near(TColor32 A, TColor32 B) {
  for (int k = 0; k < 32; k += 8)
    if (std::abs(Integer((A >> k) & 0xFF) - Integer((B >> k) & 0xFF)) > 1) return false;
  return true;
}

}  // namespace

TEST(PictureObject, ScaledOnlyAfterAChange) {
  TTestDocument d(200, 100);
  TImgSmall* s = Picture(d, TRect(10, 10, 90, 50));
  d->Draw();
  EXPECT_EQ(s->RebuildCount(), 1);
  EXPECT_PRED2(Near, d->Bitmap()->GetPixel(20, 30), 0xFF0000FFu);
  EXPECT_PRED2(Near, d->Bitmap()->GetPixel(80, 30), 0xFFFF0000u);
  // A move keeps the scaled copy; a resize rebuilds it.
  s->SetStartX(10);
  s->SetStartY(10);
  s->MoveShape(10, 10, 60, 40);
  d->Draw();
  EXPECT_EQ(s->RebuildCount(), 1);
  EXPECT_PRED2(Near, d->Bitmap()->GetPixel(70, 60), 0xFF0000FFu);
  s->SetCurrentCtrIndex(3);
  s->Click();
  s->AdjustShape(140, 90, 150, 95);
  d->Draw();
  EXPECT_EQ(s->RebuildCount(), 2);
  EXPECT_EQ(s->Width(), 40) << "the picture's own size";
  EXPECT_EQ(s->Height(), 20);
}

TEST(PictureObject, OpacityAndTurnedCorners) {
  TTestDocument d(200, 200, 0, true);
  Picture(d, TRect(20, 20, 100, 60), {{16, u"128"}});
  d->Draw();
  EXPECT_NEAR(Integer(d->Bitmap()->GetPixel(30, 40) >> 24), 128, 1);
  SaveReviewPicture(u"picture_half", d->Bitmap());

  TTestDocument r(200, 200);
  TImgSmall* t = Picture(r, TRect(50, 80, 150, 120), {{19, u"30"}});
  r->Draw();
  const TRect m = t->MaxRect();
  EXPECT_GT(m.Bottom - m.Top, 40) << "the turned bounds";
  EXPECT_TRUE(t->PtInShape(100, 100)) << "the centre";
  EXPECT_FALSE(t->PtInShape(m.Left + 1, m.Top + 1)) << "a corner of the bounds outside the picture";
  EXPECT_FALSE(t->PtInShape(m.Right - 2, m.Bottom - 2));
  SaveReviewPicture(u"picture_turned30", r->Bitmap());

  // A box of no width draws nothing and is not hit.
  TTestDocument z(100, 100);
  TImgSmall* e = Picture(z, TRect(30, 30, 30, 70));
  EXPECT_NO_THROW(z->Draw());
  EXPECT_FALSE(e->PtInShape(30, 50));
}

TEST(Watermark, PlacesTilesAndEmptyPictures) {
  TTempFolder dir("lumiwm");
  const String file = dir.Path("mark.png");
  WritePicture(file, 20, 10, 0xFFFFFFFFu, 0xFF00FF00u);
  struct {
    Integer Location;
    TPoint Centre;  // where the green middle lands on a 200 x 100 layer, edges 10 %
  } places[] = {{0, {30, 15}}, {1, {170, 15}}, {2, {30, 85}}, {3, {170, 85}}, {4, {100, 50}}};
  for (const auto& c : places) {
    TTestDocument d(200, 100);
    d->AddWatermark(file, 0, c.Location, 10, 10, 0, 0, 0, 255, true, clWhite);
    ASSERT_TRUE(d->WatermarkEnabled());
    d->Draw();
    EXPECT_PRED2(Near, d->Bitmap()->GetPixel(c.Centre.X, c.Centre.Y), 0xFF00FF00u) << c.Location;
    // White is the transparent colour: the canvas shows through.
    EXPECT_PRED2(Near, d->Bitmap()->GetPixel(c.Centre.X - 9, c.Centre.Y - 4), 0xFFFFFFFFu);
    EXPECT_EQ(d->WMBmp()->GetPixel(c.Centre.X - 9, c.Centre.Y - 4) >> 24, 0u) << c.Location;
  }
  // Tiled with spacings of 5: a tile every 25 by 15 pixels.
  TTestDocument t(200, 100);
  t->AddWatermark(file, 1, 0, 0, 0, 5, 5, 0, 255, false, clWhite);
  t->Draw();
  for (TPoint p : {TPoint(10, 5), TPoint(35, 5), TPoint(10, 20), TPoint(160, 80)})
    EXPECT_PRED2(Near, t->Bitmap()->GetPixel(p.X, p.Y), 0xFF00FF00u) << p.X << "," << p.Y;
  EXPECT_PRED2(Near, t->Bitmap()->GetPixel(22, 5), 0xFFFFFFFFu) << "the spacing";
  SaveReviewPicture(u"watermark_tiled", t->Bitmap());

  // Two empty pictures in a row: the previous object goes, none replaces it.
  TTestDocument e(100, 100);
  e->AddWatermark(file, 0, 4, 0, 0, 0, 0, 0, 255, false, clWhite);
  ASSERT_NE(e->WatermarkShape(), nullptr);
  e->AddWatermark(dir.Path("missing.png"), 0, 4, 0, 0, 0, 0, 0, 255, false, clWhite);
  EXPECT_EQ(e->WatermarkShape(), nullptr);
  EXPECT_FALSE(e->WatermarkEnabled());
  e->AddWatermark(dir.Path("missing.png"), 0, 4, 0, 0, 0, 0, 0, 255, false, clWhite);
  EXPECT_EQ(e->WatermarkShape(), nullptr);
  EXPECT_NO_THROW(e->Draw());
  EXPECT_FALSE(e->Modified()) << "the watermark stores no undo step";
}

// A turned picture keeps its samples: drawn, it equals the engine's own
// transformation merged straight into the view (within rounding); moved, it
// gives the same pixels shifted, without a new scaled copy.
TEST(PictureObject, TurnedPictureKeptForMoves) {
  TTestDocument r(200, 200);
  TImgSmall* t = Picture(r, TRect(50, 80, 150, 120), {{19, u"30"}, {16, u"200"}});
  r->Draw();
  const std::vector<TColor32> first = Pixels(r->Bitmap());
  TTestDocument blank(200, 200);
  blank->Draw();
  TAffineTransformation turn;
  turn.SetSrcRect(TFloatRect{0, 0, 100, 40});
  turn.Translate(-50, -20);
  turn.Rotate(0, 0, 30);
  turn.Translate(100, 100);
  Transform(blank->Bitmap(), t->TmpBmp(), &turn);
  Integer off = 0;
  for (Integer y = 0; y < 200; ++y)
    for (Integer x = 0; x < 200; ++x) off += !Near(first[size_t(y * 200 + x)], blank->Bitmap()->GetPixel(x, y));
  EXPECT_LE(off, 8) << "a few edge pixels sampled a step apart";
  const TRect m = t->MaxRect();
  const Integer builds = t->RebuildCount();
  t->OffsetShape(7, 3);
  r->InitBitmap();
  r->Draw();
  EXPECT_EQ(t->RebuildCount(), builds);
  EXPECT_EQ(t->MaxRect(), TRect(m.Left + 7, m.Top + 3, m.Right + 7, m.Bottom + 3));
  Integer moved = 0;
  for (Integer y = m.Top; y < m.Bottom; ++y)
    for (Integer x = m.Left; x < m.Right; ++x) moved += r->Bitmap()->GetPixel(x + 7, y + 3) != first[size_t(y * 200 + x)];
  EXPECT_EQ(moved, 0);
}
