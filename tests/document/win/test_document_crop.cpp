// The crop frame: its label, handles, moves, and the view composed with a
// frame of either style.
#include "common/gtest.h"

#include "document/win/ImageCrop.h"
#include "tests/document/win/document_fixture.h"

namespace {

TImgCrop* AddCrop(TTestDocument& d, const TRect& R, Integer Style) {
  // Built with every row, as a loaded or restored document builds it.
  d->DT()->AddItem(ObjectRow(50, TShapeType::shCrop, R, {{24, IntToStr(Style)}}));
  d->CreateShapeObjects(-1);
  return static_cast<TImgCrop*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
}

void PaintRaster(TTestDocument& d) {
  for (Integer y = 0; y < d->SrcBmp()->Height(); ++y)
    for (Integer x = 0; x < d->SrcBmp()->Width(); ++x)
      d->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 4) << 16 | TColor32(y * 6) << 8 | 0xC8);
}

}  // namespace

TEST(DocumentCrop, LabelsAndHandles) {
  TTestDocument d(700, 500);
  TImgCrop* c = AddCrop(d, TRect(10, 30, 650, 510), 0);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->Selected());
  EXPECT_EQ(d->Shape(), c);
  d->SetCropRateIndex(7);
  EXPECT_EQ(c->LabelText(), u"640 \u00D7 480   4:3");
  d->SetCropRateIndex(-1);
  EXPECT_EQ(c->LabelText(), u"640 \u00D7 480");
  EXPECT_EQ(CropRateLabel(9), u"16:10");
  TBitmap32 layer;
  layer.SetSize(700, 600);
  // Free ratio: edge handles only on sides over 20 view pixels.
  struct TCase {
    Integer W, H;
    bool TopBottom, LeftRight;
  } cases[] = {{20, 21, false, true}, {21, 20, true, false}, {30, 30, true, true}};
  for (const TCase& k : cases) {
    SCOPED_TRACE(testing::Message() << k.W << "x" << k.H);
    c->SetSRect(TRect(100, 100, 100 + k.W, 100 + k.H));
    c->DrawControlPoint(&layer);
    EXPECT_EQ(c->CtrRect(1), TRect(94, 94, 100, 100));
    EXPECT_EQ(c->CtrRect(3), TRect(100 + k.W, 100 + k.H, 106 + k.W, 106 + k.H));
    EXPECT_EQ(!RectIsEmpty(c->CtrRect(5)), k.TopBottom);
    EXPECT_EQ(!RectIsEmpty(c->CtrRect(6)), k.TopBottom);
    EXPECT_EQ(!RectIsEmpty(c->CtrRect(7)), k.LeftRight);
    EXPECT_EQ(!RectIsEmpty(c->CtrRect(8)), k.LeftRight);
    EXPECT_TRUE(RectIsEmpty(c->CtrRect(0)));
  }
  // A fixed ratio: the corners only.
  d->SetCropRateIndex(1);
  c->DrawControlPoint(&layer);
  for (Integer i = 5; i <= 8; ++i) EXPECT_TRUE(RectIsEmpty(c->CtrRect(i))) << i;
  // Two moves of 5 make 10.
  c->SetSRect(TRect(100, 100, 200, 150));
  c->MoveShape(0, 0, 5, 0);
  c->MoveShape(0, 0, 10, 0);
  EXPECT_EQ(c->SRect(), TRect(110, 100, 210, 150));
  // Nothing is drawn for an empty frame.
  c->SetSRect(TRect(100, 100, 100, 150));
  layer.Clear(0);
  c->DrawControlPoint(&layer);
  EXPECT_EQ(CountPixels(&layer, [](TColor32 p) { return p != 0; }), 0);
}

// Style 0 shows the raster only inside the frame, over the raster darkened
// by half; style 1 shows the whole raster.
TEST(DocumentCrop, ComposedViewOfBothStyles) {
  for (Integer style : {0, 1}) {
    SCOPED_TRACE(style);
    TTestDocument d(60, 40);
    PaintRaster(d);
    AddCrop(d, TRect(10, 5, 40, 30), style);
    d->Draw();
    SaveReviewPicture(style == 0 ? u"crop_style0" : u"crop_style1", d->Bitmap());
    for (TPoint p : {TPoint(2, 2), TPoint(20, 10), TPoint(45, 35), TPoint(39, 29), TPoint(40, 30)}) {
      const TColor32 src = d->SrcBmp()->GetPixel(p.X, p.Y);
      const bool inside = p.X >= 10 && p.X < 40 && p.Y >= 5 && p.Y < 30;
      const TColor32 expect = style == 1 || inside ? src : (src & 0xFF000000u) | ((src >> 1) & 0x7F7F7Fu);
      EXPECT_EQ(d->Bitmap()->GetPixel(p.X, p.Y), expect) << p.X << "," << p.Y;
    }
    // The control layer shows the frame's handles and label.
    TBitmap32 layer;
    layer.SetSize(60, 40);
    layer.Clear(0);
    d->PaintControlLayer(nullptr, &layer);
    EXPECT_EQ(layer.GetPixel(4, 0) >> 24, 0xFFu);
  }
}
