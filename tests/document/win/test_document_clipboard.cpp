// Copy and paste on documents with the real clipboard: objects keeping
// their layout, selected pixels between documents, the pasted picture's
// row under a comma-decimal locale, nothing to paste, cutting a lifted
// selection, and text.
#include "common/gtest.h"


#include "classlib/Clipbrd.h"
#include "document/SelectionCore.h"
#include "document/ShapeRows.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageSmall.h"
#include "rtl/SysUtils.h"
#include "tests/document/win/document_fixture.h"

namespace {

TImgSelection* AddSelection(TTestDocument& d, const TRect& R) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, u"0"}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(false)) return nullptr;
  return s;
}

void PaintRamp(TCustomBitmap32* B) {
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x)
      B->SetPixel(x, y, 0xFF000000u | TColor32((x * 7) & 0xFF) << 16 | TColor32((y * 11) & 0xFF) << 8 | 0x20);
}

void ResetClipboards() {
  ClearShapeClipboard();
  delete CopiedImage;
  CopiedImage = nullptr;
  Clipboard()->Clear();
}

}  // namespace

TEST(DocumentClipboard, ObjectsKeepTheirLayout) {
  ResetClipboards();
  TTestDocument a(200, 150), b(200, 150);
  a.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 20, 30, 40)));
  a.Add(ObjectRow(2, TShapeType::shRectangle, TRect(50, 25, 70, 60)));
  a.Add(ObjectRow(3, TShapeType::shRectangle, TRect(0, 0, 5, 5)));
  a->SelectShape(TSelectMode::selNone, 0);
  a->ClickShape(TSelectMode::selMulti, 1);
  a->ClickShape(TSelectMode::selMulti, 2);
  CopiedImage = new TBitmap32();
  a->CopyShape();
  EXPECT_EQ(CopiedImage, nullptr);
  ASSERT_EQ(ShapeClipboardDT->ItemCount(), 2);
  EXPECT_TRUE(b->PasteEnabled());
  b->Paste(100, 100, nullptr, false, false);
  ASSERT_EQ(b->DT()->ItemCount(), 2);
  EXPECT_EQ(b->ShapeOfRow(0)->SRect(), TRect(100, 100, 120, 120));
  EXPECT_EQ(b->ShapeOfRow(1)->SRect(), TRect(140, 105, 160, 140));
  EXPECT_TRUE(b->ShapeOfRow(0)->Selected());
  EXPECT_TRUE(b->ShapeOfRow(1)->Selected());
  EXPECT_NE(b->ShapeOfRow(0)->Id(), b->ShapeOfRow(1)->Id());
  EXPECT_TRUE(b->Modified());
  // Cut: copied, then gone.
  a->CutShape();
  EXPECT_EQ(a->DT()->ItemCount(), 1);
  EXPECT_EQ(ShapeClipboardDT->ItemCount(), 2);
  ResetClipboards();
}

// The selected pixels copied in one document are pasted in another as a
// picture object, from the copied picture and from the system clipboard
// (there over opaque white).
TEST(DocumentClipboard, SelectionBetweenDocuments) {
  ResetClipboards();
  TTestDocument a(60, 40), b(80, 60);
  PaintRamp(a->SrcBmp());
  ASSERT_NE(AddSelection(a, TRect(10, 5, 30, 25)), nullptr);
  const TRect from = a->CopySelection(false);
  EXPECT_FALSE(RectIsEmpty(from));
  ASSERT_NE(CopiedImage, nullptr);
  EXPECT_EQ(CopiedImage->Width(), 20);
  EXPECT_EQ(CopiedImage->GetPixel(5, 5), a->SrcBmp()->GetPixel(15, 10));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  for (bool fromClipboard : {false, true}) {
    SCOPED_TRACE(fromClipboard);
    b->Paste(40, 30, nullptr, fromClipboard, true);
    auto* p = dynamic_cast<TImgSmall*>(b->ShapeOfRow(b->DT()->ItemCount() - 1));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->SRect(), TRect(30, 20, 50, 40));
    ASSERT_EQ(p->Width(), 20);
    EXPECT_EQ(p->SrcBmp()->GetPixel(5, 5) & 0xFFFFFFu, a->SrcBmp()->GetPixel(15, 10) & 0xFFFFFFu);
  }
  ResetClipboards();
}

// The pasted picture's row writes its centre with "." even where the
// locale's decimal mark is ",", so no cell is split.
TEST(DocumentClipboard, PastedRowUnderACommaLocale) {
  WCHAR old[8] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, 8);
  ASSERT_NE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","), 0);
  const String row = PastedPictureRow(10, 20, 5, 7);
  TTestDocument d(60, 40);
  TBitmap32 pic;
  pic.SetSize(5, 7);
  pic.Clear(0xFF102030u);
  d->Paste(10, 20, &pic, false, false);
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old);
  const std::vector<String> cells = SplitCell(row, u',');
  ASSERT_EQ(cells.size(), 100u);
  EXPECT_EQ(cells[25], String(u"12.5"));
  EXPECT_EQ(cells[26], String(u"23.5"));
  EXPECT_EQ(cells[1], String(u"8"));
  EXPECT_EQ(cells[12], String(u"15"));
  EXPECT_EQ(cells[99], String(u"0"));
  ASSERT_EQ(d->DT()->ItemCount(), 1);
  d->StoreShapeObjects();
  EXPECT_EQ(d->DT()->Items(0)->Items(25)->Text(), String(u"12.5"));
  EXPECT_EQ(d->ShapeOfRow(0)->SRect(), TRect(10, 20, 15, 27));
}

// With no objects, no copied picture and an empty system clipboard a paste
// does nothing at all.
TEST(DocumentClipboard, NothingToPaste) {
  ResetClipboards();
  TTestDocument d(40, 30);
  d->SetModified(false);
  EXPECT_FALSE(d->PasteEnabled());
  d->Paste(5, 5, nullptr, false, false);
  d->Paste(5, 5, nullptr, true, true);
  EXPECT_EQ(d->DT()->ItemCount(), 0);
  EXPECT_FALSE(d->Modified());
}

// Cutting a lifted selection copies its picture and drops it: the hole cut
// when it was lifted stays, nothing floats any more.
TEST(DocumentClipboard, CutOfALiftedSelection) {
  ResetClipboards();
  TTestDocument d(60, 40);
  PaintRamp(d->SrcBmp());
  TImgSelection* s = AddSelection(d, TRect(10, 10, 30, 25));
  ASSERT_NE(s, nullptr);
  s->SetUseMoveSelection(true);
  s->Click();
  s->MoveShape(0, 0, 5, 5);
  ASSERT_NE(s->SelBitmap(), nullptr);
  const std::vector<TColor32> lifted = Pixels(s->SelBitmap());
  const std::vector<TColor32> holed = Pixels(d->SrcBmp());
  d->CutSelection();
  ASSERT_NE(CopiedImage, nullptr);
  EXPECT_EQ(Pixels(CopiedImage), lifted);
  ASSERT_NE(d->Selection(), nullptr);
  EXPECT_EQ(d->Selection()->SelBitmap(), nullptr);
  EXPECT_TRUE(d->Selection()->BitmapChanged());
  EXPECT_EQ(Pixels(d->SrcBmp()), holed);
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), Pixels(d->SrcBmp()));  // nothing floats over the raster
  // Cutting a selection that is not lifted clears its pixels.
  TTestDocument e(60, 40);
  PaintRamp(e->SrcBmp());
  ASSERT_NE(AddSelection(e, TRect(10, 10, 30, 25)), nullptr);
  e->CutSelection();
  EXPECT_EQ(e->SrcBmp()->GetPixel(20, 17) >> 24, 0u);
  EXPECT_EQ(e->SrcBmp()->GetPixel(40, 30), 0xFF000000u | TColor32((40 * 7) & 0xFF) << 16 | TColor32((30 * 11) & 0xFF) << 8 | 0x20);
  ResetClipboards();
}

TEST(DocumentClipboard, TextWithSeparators) {
  TTestDocument d(10, 10);
  const String text = u"one, two | three,|four";
  d->CopyText(text);
  EXPECT_EQ(Clipboard()->AsText(), text);

  // A text object's text holding both separators (stored escaped, as the
  // object writes it) comes through the object's copy and paste intact, and
  // the cells after it keep their places.
  ResetClipboards();
  TTestDocument a(100, 80), b(100, 80);
  a.Add(ObjectRow(1, TShapeType::shText, TRect(10, 20, 30, 40), {{54, EscapeTableText(text)}}));
  a->SelectShape(TSelectMode::selNone, 0);
  a->ClickShape(TSelectMode::selMulti, 1);
  a->CopyShape();
  ASSERT_EQ(ShapeClipboardDT->ItemCount(), 1);
  b->Paste(50, 40, nullptr, false, false);
  ASSERT_EQ(b->DT()->ItemCount(), 1);
  EXPECT_EQ(UnescapeTableText(CellText(b->DT()->Items(0), 54)), text);
  EXPECT_EQ(CellInt(b->DT()->Items(0), ShapeCol::Type), Integer(TShapeType::shText));
  EXPECT_EQ(b->ShapeOfRow(0)->SRect(), TRect(50, 40, 70, 60));
  ResetClipboards();
}

// Copied style pasted by group onto the selected objects: one group alone
// or all; the extra shadow and gradient fields only from a long enough row;
// enabled only for selected objects of the copied type.
TEST(DocumentClipboard, PasteStyleByGroup) {
  TTestDocument d(80, 60);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 20, 20),
                  {{14, u"255"}, {15, u"65280"}, {16, u"128"}, {18, u"7"}, {27, u"2"}, {70, u"33"}, {71, u"9"},
                   {29, u"1"}, {96, u"30"}, {97, String(u"a") + char16_t(26) + u"b" + char16_t(27) + u"c.png"}}));
  TImgShape* b = d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(30, 5, 45, 20)));
  TImgShape* c = d.Add(ObjectRow(3, TShapeType::shRectangle, TRect(50, 5, 65, 20)));
  d.Add(ObjectRow(4, TShapeType::shEllipse, TRect(5, 30, 20, 45)));
  d->SelectShape(TSelectMode::selNone, 0);
  d->ClickShape(TSelectMode::selOne, 1);
  d->CopyProperty();
  d->SelectShape(TSelectMode::selNone, 0);
  d->ClickShape(TSelectMode::selMulti, 2);
  d->ClickShape(TSelectMode::selMulti, 3);
  EXPECT_TRUE(d->PastePropEnabled());
  const Integer widthBefore = b->OutWidth();
  d->PasteProperty(1);  // colour and outline only
  EXPECT_EQ(b->Color(), TColor(255));
  EXPECT_EQ(c->Color(), TColor(255));
  EXPECT_EQ(b->OutWidth(), widthBefore);
  EXPECT_NE(b->Opacity(), 128);
  d->PasteProperty(0);
  for (TImgShape* s : {b, c}) {
    EXPECT_EQ(s->OutWidth(), 7);
    EXPECT_EQ(s->FillColor(), TColor(65280));
    EXPECT_EQ(s->Opacity(), 128);
    EXPECT_EQ(s->ShadowMode(), 2);
    EXPECT_EQ(s->ShadowAngle(), 33);
    EXPECT_EQ(s->ShadowDistance(), 9);
    EXPECT_EQ(s->GradientMode(), 1);
    EXPECT_EQ(s->GradientLinearAngle(), 30);
    EXPECT_EQ(s->GradientTextureFileName(), String(u"a,b|c.png"));
    EXPECT_EQ(s->SRect().Width(), 15);  // geometry never pasted
  }
  d->ClickShape(TSelectMode::selMulti, 4);
  EXPECT_FALSE(d->PastePropEnabled());  // mixed types
  d->SelectShape(TSelectMode::selNone, 0);
  EXPECT_FALSE(d->PastePropEnabled());  // nothing selected
}
