// Raster geometry on a document: resize, canvas size and margins, crop with
// its enablement and the objects moved, quarter turns and flips, the free
// transformations as previews, and the original image with its thumbnail.
#include "common/gtest.h"

#include "document/SelectionCore.h"
#include "document/win/ImageSelection.h"
#include "tests/document/win/document_fixture.h"

namespace {

void PaintRamp(TCustomBitmap32* B) {
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x)
      B->SetPixel(x, y, 0xFF000000u | TColor32((x * 5) & 0xFF) << 16 | TColor32((y * 9) & 0xFF) << 8 | 0x30);
}

TImgSelection* AddSelection(TTestDocument& d, const TRect& R, Integer Kind = SelKind::Rectangle) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, IntToStr(Kind)}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(false)) return nullptr;
  return s;
}

}  // namespace

TEST(DocumentGeometry, ResizeCanvasAndMargins) {
  TTestDocument d(101, 101);
  PaintRamp(d->SrcBmp());
  TCustomBitmap32 old;
  old.Assign(d->SrcBmp());
  d->SetModified(false);
  EXPECT_FALSE(d->ResizeImage(101, 101));
  EXPECT_FALSE(d->Modified());
  EXPECT_FALSE(d->ResizeCanvas(101, 101));
  // 101 -> 100: (-1) div 2 = 0, the last row and column go.
  ASSERT_TRUE(d->ResizeCanvas(100, 100));
  EXPECT_TRUE(d->Modified());
  EXPECT_TRUE(d->SrcBmpChanged());
  EXPECT_EQ(d->SrcBmp()->Width(), 100);
  EXPECT_EQ(d->SrcBmp()->GetPixel(0, 0), old.GetPixel(0, 0));
  EXPECT_EQ(d->SrcBmp()->GetPixel(99, 99), old.GetPixel(99, 99));
  d->InitBitmap();
  // Growing fills the new margins with the canvas colour.
  ASSERT_TRUE(d->ResizeCanvas(104, 100));
  EXPECT_EQ(d->SrcBmp()->GetPixel(0, 5), Color32(TColor(0xFFFFFF)));
  EXPECT_EQ(d->SrcBmp()->GetPixel(2, 5), old.GetPixel(0, 5));

  TTestDocument e(30, 20);
  PaintRamp(e->SrcBmp());
  old.Assign(e->SrcBmp());
  EXPECT_FALSE(e->ExtendCanvas(0, 0, 0, 0));
  ASSERT_TRUE(e->ExtendCanvas(-50, 0, 0, 0));
  EXPECT_EQ(e->SrcBmp()->Width(), 1);
  EXPECT_EQ(e->SrcBmp()->Height(), 20);
  EXPECT_EQ(e->SrcBmp()->GetPixel(0, 7), old.GetPixel(29, 7));
  ASSERT_TRUE(e->ExtendCanvas(2, 3, 1, 0));
  EXPECT_EQ(e->SrcBmp()->Width(), 6);
  EXPECT_EQ(e->SrcBmp()->Height(), 21);
  EXPECT_EQ(e->SrcBmp()->GetPixel(2, 8), old.GetPixel(29, 7));
  ASSERT_TRUE(e->ResizeImage(12, 7));
  EXPECT_EQ(e->SrcBmp()->Width(), 12);
  EXPECT_EQ(e->SrcBmp()->Height(), 7);
}

// Crop keeps the selection's box (not its outline), moves the objects and
// guides, and reports whether the original should be replaced. A selection
// only touching the raster from outside leaves crop disabled and changes
// nothing.
TEST(DocumentGeometry, CropToSelectionAndTouchingFrame) {
  TTestDocument d(60, 40);
  PaintRamp(d->SrcBmp());
  TCustomBitmap32 old;
  old.Assign(d->SrcBmp());
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
  d->CreateGuides(0, 12, true);
  TImgSelection* s = AddSelection(d, TRect(60, 10, 80, 20));
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(d->CropEnabled());
  d->Crop();
  EXPECT_EQ(d->SrcBmp()->Width(), 60);
  d->DeleteSelectionCropShape(false);

  s = AddSelection(d, TRect(10, 5, 40, 35), SelKind::Ellipse);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(d->CropEnabled());
  Integer events = 0;
  bool boolData = true;
  d->OnProcessingDone = [&](TObject*, TProcessingMode M, bool B) {
    EXPECT_EQ(M, TProcessingMode::pmCrop);
    boolData = B;
    ++events;
  };
  d->Crop();
  EXPECT_EQ(events, 1);
  EXPECT_FALSE(boolData);  // a small original
  EXPECT_EQ(d->SrcBmp()->Width(), 30);
  EXPECT_EQ(d->SrcBmp()->Height(), 30);
  EXPECT_EQ(d->SrcBmp()->GetPixel(0, 0), old.GetPixel(10, 5));  // a corner outside the ellipse stays
  EXPECT_EQ(rect->SRect(), TRect(10, 10, 20, 20));
  ASSERT_EQ(d->HorzGuidesRow()->ItemCount(), 1);
  EXPECT_EQ(d->HorzGuidesRow()->Items(0)->Value(), 7);
}

TEST(DocumentGeometry, QuarterTurnsAndFlips) {
  const struct {
    const char* Name;
    std::function<void(TImageDraw*)> Op;
    Integer W, H;
    TPoint From, To;  // the old pixel From is found at To
  } cases[] = {
      {"counter-clockwise", [](TImageDraw* d) { d->Rotate(0); }, 100, 200, TPoint(199, 0), TPoint(0, 0)},
      {"clockwise", [](TImageDraw* d) { d->Rotate(1); }, 100, 200, TPoint(0, 0), TPoint(99, 0)},
      {"half turn", [](TImageDraw* d) { d->Rotate(2); }, 200, 100, TPoint(0, 0), TPoint(199, 99)},
      {"mirror", [](TImageDraw* d) { d->Flip(0); }, 200, 100, TPoint(3, 4), TPoint(196, 4)},
      {"upside down", [](TImageDraw* d) { d->Flip(1); }, 200, 100, TPoint(3, 4), TPoint(3, 95)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(200, 100);
    PaintRamp(d->SrcBmp());
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    const TColor32 moved = d->SrcBmp()->GetPixel(c.From.X, c.From.Y);
    c.Op(d.Get());
    EXPECT_EQ(d->SrcBmp()->Width(), c.W);
    EXPECT_EQ(d->SrcBmp()->Height(), c.H);
    EXPECT_EQ(d->SrcBmp()->GetPixel(c.To.X, c.To.Y), moved);
    EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
    EXPECT_TRUE(d->Modified());
  }
}

// The free transformations run inside a preview: each run starts from the
// copy, sizes follow the transformed bounds, and cancelling restores the
// raster and the view's size.
TEST(DocumentGeometry, FreeTransformPreviews) {
  TTestDocument d(80, 40);
  PaintRamp(d->SrcBmp());
  const std::vector<TColor32> before = Pixels(d->SrcBmp());
  Integer transforms = 0;
  d->OnProcessingDone = [&](TObject*, TProcessingMode M, bool) {
    if (M == TProcessingMode::pmTransform) ++transforms;
  };
  d->SetEffectMode(TEffectMode::emRotate);
  d->EffectBegin();
  d->EffectDoRotate(90);
  EXPECT_EQ(d->SrcBmp()->Width(), 40);
  EXPECT_EQ(d->Width(), 40);
  d->EffectDoRotate(180);
  EXPECT_EQ(d->SrcBmp()->Width(), 80);
  SaveReviewPicture(u"geometry_rotate_180", d->SrcBmp());
  d->EffectDoRotate(30);
  SaveReviewPicture(u"geometry_rotate_30", d->SrcBmp());
  d->EffectEnd(false);
  EXPECT_EQ(Pixels(d->SrcBmp()), before);
  EXPECT_EQ(d->Width(), 80);
  EXPECT_EQ(transforms, 4);

  d->SetEffectMode(TEffectMode::emSkew);
  d->EffectBegin();
  d->EffectDoSkew(50, 0);
  EXPECT_EQ(d->SrcBmp()->Width(), 100);
  SaveReviewPicture(u"geometry_skew", d->SrcBmp());
  d->EffectEnd(true);
  EXPECT_EQ(d->SrcBmp()->Width(), 100);

  d->SetEffectMode(TEffectMode::emTransform);
  d->EffectBegin();
  d->EffectDoTransform(0.1f, 0.2f, 0.9f, 0, 1, 1, 0, 0.8f, 100, 100);
  SaveReviewPicture(u"geometry_four_corners", d->SrcBmp());
  d->EffectDoTransform(0, 0, 1, 0, 1, 1, 0, 1, 50, 100);
  EXPECT_EQ(d->SrcBmp()->Width(), 50);
  EXPECT_EQ(d->SrcBmp()->Height(), 40);
  d->EffectEnd(false);
}

TEST(DocumentGeometry, OriginalImageAndThumbnail) {
  TTestDocument d(64, 32);
  PaintRamp(d->SrcBmp());
  d->DT()->Props(4)->SetText(u"C:\\pictures\\old.png");
  Integer changed = 0;
  d->OnOriBmpChanged = [&](TObject*) { ++changed; };
  d->MakeThumbOfOriBmp(16, 16);
  ASSERT_NE(d->OriBmpThumb(), nullptr);
  EXPECT_FALSE(d->OriBmpThumbChanged());
  const TColor32 oldThumb = d->OriBmpThumb()->GetPixel(8, 2);
  d->SrcBmpToOriBmp();
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(Pixels(d->OriBmp()), Pixels(d->SrcBmp()));
  EXPECT_EQ(d->DT()->Props(4)->Text(), String());
  EXPECT_TRUE(d->OriBmpThumbChanged());
  d->MakeThumbOfOriBmp(16, 16);
  EXPECT_EQ(d->OriBmpThumb()->Width(), 16);
  EXPECT_EQ(d->OriBmpThumb()->Height(), 8);
  EXPECT_NE(d->OriBmpThumb()->GetPixel(8, 2), oldThumb);
  // Not marked: the thumbnail stays as it is.
  d->SrcBmp()->Clear(0xFF000000u);
  d->SrcBmpToOriBmp();
  d->SetOriBmpThumbChanged(false);
  const TColor32 kept = d->OriBmpThumb()->GetPixel(8, 2);
  d->MakeThumbOfOriBmp(16, 16);
  EXPECT_EQ(d->OriBmpThumb()->GetPixel(8, 2), kept);
}
