// The document: its sources, change notification, guides and ruler of a new
// image, object rows built and stored (round trips, damaged rows), the
// texture cache.
#include "common/gtest.h"

#include "bitmap/VaZU32Vudover.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

// A 4 x 3 picture file (PNG or BMP by extension).
void WritePicture(const String& Path, TColor32 Colour) {
  TBitmap32 b;
  b.SetSize(4, 3);
  b.Clear(Colour);
  SaveBitmap32ToFile(&b, Path, GetImageFormatByExt(Path), 0);
}

String StoredRows(TImageDraw* D) {
  D->StoreShapeObjects();
  String s;
  for (Integer i = 0; i < D->DT()->ItemCount(); ++i) s += D->DT()->Items(i)->ToString(true) + u"|";
  return s;
}

}  // namespace

TEST(DocumentCore, NewImages) {
  TTestDocument green(64, 48, 0x00FF00);
  EXPECT_EQ(green->SrcBmp()->GetPixel(10, 10), 0xFF00FF00u);
  EXPECT_EQ(green->CanvasColor(), 0xFF00FF00u);
  EXPECT_FALSE(green->CanvasTransparent());
  EXPECT_FALSE(green->Changed());
  EXPECT_EQ(green->FileType(), ifUnknown);
  EXPECT_EQ(green->Bitmap()->Width(), 64);
  EXPECT_EQ(green->CropRateIndex(), -2);
  EXPECT_EQ(green->GradientStartX(), UnsetPosition);
  EXPECT_EQ(green->ProcessStampStartX(), UnsetPosition);
  EXPECT_TRUE(green->Antialiasing());
  EXPECT_TRUE(green->OriBmpThumbChanged());
  // A new image has no guide at row 0 or column 0, and no ruler.
  EXPECT_EQ(green->HorzGuidesRow()->ItemCount(), 0);
  EXPECT_EQ(green->VertGuidesRow()->ItemCount(), 0);
  EXPECT_FALSE(green->RulerEnabled());

  TTestDocument clear(8, 8, 0x0000FF, true);
  EXPECT_EQ(clear->SrcBmp()->GetPixel(0, 0), 0x00FFFFFFu);
  EXPECT_TRUE(clear->CanvasTransparent());
  EXPECT_EQ(clear->CanvasColor(), 0xFFFFFFFFu);

  // A pattern tile starts the document changed.
  EnsureDocumentPlatform();
  TImgView32 view(nullptr);
  TBitmap32 tile;
  tile.SetSize(2, 2);
  tile.Clear(0xFF102030u);
  TImageDraw patterned(&view, nullptr, nullptr, &tile, nullptr, String(), 2, false, false, nullptr, 10, 10, 0, false,
                       -1);
  EXPECT_TRUE(patterned.Changed());
  EXPECT_EQ(patterned.SrcBmp()->GetPixel(9, 9), 0xFF102030u);
}

TEST(DocumentCore, ImageFileWithoutSidecar) {
  EnsureDocumentPlatform();
  TTempFolder dir("lumidoc");
  const String file = dir.Path("pic,ture.png");
  WritePicture(file, 0xFF336699u);
  bool alpha = false;
  Integer bpp = -1;
  std::unique_ptr<TBitmap32> decoded(LoadImageToBitmap32(file, alpha, bpp));
  TImgView32 view(nullptr);
  TImageDraw d(&view, nullptr, decoded.get(), nullptr, nullptr, file, 2, false, false, nullptr, 0, 0, 0, false, bpp);
  EXPECT_EQ(d.FileType(), ifPng);
  EXPECT_EQ(d.DT()->Props(4)->Text(), EscapeTableText(u"pic,ture.png"));
  ASSERT_NE(d.OriBmpFileMS(), nullptr);
  EXPECT_EQ(d.OriBmpFileMS()->Size(), Int64(dir.ReadAll("pic,ture.png").size()));
  EXPECT_EQ(d.SrcBmp()->GetPixel(3, 2), 0xFF336699u);
  EXPECT_EQ(d.OriBmp()->GetPixel(0, 0), 0xFF336699u);
  EXPECT_EQ(d.DT()->Props(10)->Text(), u"16777215");
  EXPECT_FALSE(d.Changed());
  EXPECT_EQ(d.HorzGuidesRow()->ItemCount(), 0);
}

TEST(DocumentCore, ChangeNotification) {
  TTestDocument d(8, 8);
  Integer fired = 0;
  d->OnChanged = [&](TObject*) { ++fired; };
  d->SetChanged(false);
  EXPECT_TRUE(d->Changed());
  EXPECT_FALSE(d->Modified());
  d->SetChanged(true);
  EXPECT_TRUE(d->Modified());
  Integer state = 0;
  d->OnShapeStateChanged = [&](TObject*) { ++state; };
  d->ShapeStateChanged();
  EXPECT_EQ(state, 1);
  EXPECT_EQ(fired, 3);
  // The control layer lives on the view while the document does.
  const Integer layers = d.View->Layers()->Count();
  EXPECT_EQ(layers, 1);
}

TEST(DocumentCore, DocumentFreesItsLayer) {
  EnsureDocumentPlatform();
  TImgView32 view(nullptr);
  {
    TImageDraw d(&view, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, 10, 10, 0, false, -1);
    EXPECT_EQ(view.Layers()->Count(), 1);
    d.ReplaceWatermark(new TImgRectangle(&d, -1, nullptr));
    d.ReplaceWatermark(new TImgRectangle(&d, -1, nullptr));  // the first one is freed once
  }
  EXPECT_EQ(view.Layers()->Count(), 0);
}

TEST(DocumentRows, BuildStoreAndRebuildAreIdentical) {
  TTestDocument a(200, 160, 0xEEEEEE);
  a.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 90, 60), {{24, u"6"}, {19, u"12.5"}, {41, u"28.10.10.60"}}));
  a.Add(ObjectRow(2, TShapeType::shArrow, TRect(20, 80, 151, 121),
                  {{24, u"4"}, {40, u"20"}, {41, u"80"}, {42, u"150"}, {43, u"120"}, {46, u"60"}, {47, u"140"},
                   {48, u"110"}, {49, u"70"}, {50, u"2"}, {18, u"3"}}));
  a.Add(ObjectRow(3, TShapeType::shLine, TRect(100, 20, 181, 41),
                  {{24, u"10"}, {40, u"100"}, {41, u"20"}, {42, u"180"}, {43, u"40"}, {46, u"140"}, {47, u"20"},
                   {48, u"140"}, {49, u"40"}}));
  a.Add(ObjectRow(4, TShapeType::shRectangle, TRect(120, 90, 190, 150),
                  {{24, u"2"}, {29, u"1"}, {95, u"0"}, {27, u"0"}, {97, EscapeTableText(u"no,such|file.png")}}));
  a->Draw();
  const String first = StoredRows(a.Get());

  TTestDocument b(200, 160, 0xEEEEEE);
  for (Integer i = 0; i < a->DT()->ItemCount(); ++i) b->DT()->AddItem(a->DT()->Items(i)->ToString(true));
  b->CreateShapeObjects(-1);
  b->Draw();
  EXPECT_EQ(StoredRows(b.Get()), first);
  EXPECT_EQ(Pixels(b->Bitmap()), Pixels(a->Bitmap()));
  SaveReviewPicture(u"rows_roundtrip", b->Bitmap());
}

TEST(DocumentRows, DamagedRowsGiveAWorkingDocument) {
  TTestDocument d(100, 100);
  // A type without a class, a word for a type, a short row, a bad points
  // text, unequal gradient lists and a preset number past the table.
  d->DT()->AddItem(ObjectRow(1, TShapeType::shText, TRect(0, 0, 10, 10)));
  d->DT()->AddItem(u"2,rect,,0,0");
  d->DT()->AddItem(ObjectRow(3, TShapeType::shRectangle, TRect(10, 10, 50, 50), {{24, u"3"}, {41, u"1.x"}}));
  d->DT()->AddItem(u"4,5,,0,0,,,,,,1,1,30,30");
  d->DT()->AddItem(ObjectRow(5, TShapeType::shRectangle, TRect(20, 20, 80, 80),
                             {{29, u"1"}, {90, u"255/65535/16711680"}, {91, u"100"}, {92, u"0/q/1"}, {27, u"9"}}));
  d->DT()->AddItem(ObjectRow(6, TShapeType::shCustomStyle, TRect(0, 0, 10, 10)));
  d->CreateShapeObjects(-1);
  ASSERT_EQ(d->DT()->ItemCount(), 3);
  EXPECT_EQ(CellInt(d->DT()->Items(0), 0), 3);
  EXPECT_EQ(CellInt(d->DT()->Items(1), 0), 4);
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) EXPECT_NE(d->ShapeOfRow(i), nullptr);
  auto* r = static_cast<TImgRectangle*>(d->ShapeOfRow(0));
  EXPECT_EQ(r->Handles().Count, 2) << "a bad points text gives the outline's own handles";
  EXPECT_NO_THROW(d->Draw());
  EXPECT_NO_THROW(d->StoreShapeObjects());
  // A pasted row of an unknown kind adds nothing.
  EXPECT_FALSE(d->CreateShapeAuto(ObjectRow(0, TShapeType::shPolygon, TRect(0, 0, 5, 5)), nullptr, 0, 0));
  EXPECT_EQ(d->DT()->ItemCount(), 3);
}

TEST(DocumentRows, RectangleRowsMendedOnLoad) {
  TTestDocument d(120, 120);
  // A zero-height rectangle: ratios of 0, no NaN; stored and reloaded.
  TImgShape* flat = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 40, 110, 40), {{24, u"3"}, {41, u""}}));
  d->Draw();
  d->StoreShapeObjects();
  const String stored = d->DT()->Items(0)->ToString(true);
  TTestDocument e(120, 120);
  auto* again = static_cast<TImgRectangle*>(e.Add(stored));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->SRect(), flat->SRect());
  for (Single v : again->Handles().RX) EXPECT_FALSE(std::isnan(v));
  for (Single v : again->Handles().RY) EXPECT_FALSE(std::isnan(v));
  EXPECT_NO_THROW(e->Draw());
  // Short and odd point texts: the outline's own handles.
  for (const char16_t* text : {u"30", u"30.10.10", u"30.10.10.60.99.99"}) {
    auto* r = static_cast<TImgRectangle*>(
        e.Add(ObjectRow(9, TShapeType::shRectangle, TRect(0, 0, 100, 50), {{24, u"5"}, {41, text}})));
    EXPECT_EQ(r->Handles().Count, 2);
    EXPECT_EQ(r->Handles().Points[0].X, 12);
    EXPECT_EQ(r->Handles().Points[1].X, 100);
  }
  // A hit before the first draw sees the outline polygon of the loaded
  // state (a filled parallelogram's cut-off corner is not hit).
  auto* p = static_cast<TImgRectangle*>(
      e.Add(ObjectRow(10, TShapeType::shRectangle, TRect(0, 60, 100, 110), {{24, u"8"}, {41, u"30.60"}})));
  EXPECT_EQ(p->CheckPoints().size(), 4u);
  EXPECT_FALSE(p->PtInShape(3, 62));
  EXPECT_TRUE(p->PtInShape(50, 85));
}

TEST(DocumentRows, TextureCache) {
  EnsureDocumentPlatform();
  TTempFolder dir("lumitex");
  TDataTable cache;
  PictureStreamDT = &cache;
  const String file = dir.Path("Tile.bmp");
  WritePicture(file, 0xFF00FF00u);
  const Integer first = CacheTextureFile(file);
  EXPECT_EQ(first, 0);
  DeleteFile(file);  // a second lookup does not read the file again
  EXPECT_EQ(CacheTextureFile(dir.Path("TILE.BMP")), first);
  EXPECT_EQ(cache.ItemCount(), 1);
  ASSERT_NE(cache.Items(0)->Data(), nullptr);
  EXPECT_GT(static_cast<TMemoryStream*>(cache.Items(0)->Data())->Size(), 54);
  ASSERT_TRUE(CachedTextureImage(first));
  EXPECT_EQ(CachedTextureImage(first)->GetWidth(), 4u);
  // Missing and undecodable files give -1 and add nothing.
  EXPECT_EQ(CacheTextureFile(dir.Path("missing.png")), -1);
  dir.WriteAll("junk.png", "not a picture");
  EXPECT_EQ(CacheTextureFile(dir.Path("junk.png")), -1);
  EXPECT_EQ(cache.ItemCount(), 1);
  EXPECT_FALSE(CachedTextureImage(5));
  PictureStreamDT = nullptr;
  EXPECT_EQ(CacheTextureFile(file), -1);
}
