// The fill tool and the magic wand on a document: a click's region, a
// selection's whole area (also when it hangs off the raster), clicks that
// do nothing, and wand selections continuous and global.
#include "common/gtest.h"

#include "document/SelectionCore.h"
#include "document/win/ImageSelection.h"
#include "tests/document/win/document_fixture.h"

namespace {

// Four quadrants of two colours and a one-pixel frame of a third.
void PaintQuadrants(TCustomBitmap32* B) {
  const Integer w = B->Width(), h = B->Height();
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      TColor32 c = ((x < w / 2) == (y < h / 2)) ? 0xFF3060A0u : 0xFFE0D020u;
      if (x == 0 || y == 0) c = 0xFF000000u;
      B->SetPixel(x, y, c);
    }
}

TImgSelection* AddSelection(TTestDocument& d, const TRect& R) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, u"0"}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(false)) return nullptr;
  return s;
}

Integer CountColour(TCustomBitmap32* B, TColor32 C) {
  return CountPixels(B, [C](TColor32 P) { return P == C; });
}

}  // namespace

TEST(DocumentFill, ClickSelectionAndNothing) {
  TTestDocument d(40, 30);
  PaintQuadrants(d->SrcBmp());
  d->SetFillTolerance(0);
  d->SetModified(false);
  d->Fill(40, 5, 0x0000FF);  // outside the raster: nothing
  EXPECT_FALSE(d->Modified());
  d->Fill(5, 5, 0x0000FF);  // the top-left quadrant without its frame
  EXPECT_EQ(CountColour(d->SrcBmp(), 0xFFFF0000u), 19 * 14);
  EXPECT_EQ(d->FillSourceColor(), 0xFF3060A0u);
  EXPECT_TRUE(d->Modified());
  EXPECT_TRUE(d->SrcBmpChanged());
  SaveReviewPicture(u"fill_tolerance_0", d->SrcBmp());
  d->SetFillTolerance(510);
  d->Fill(1, 1, 0x00FF00);
  EXPECT_EQ(CountColour(d->SrcBmp(), 0xFF00FF00u), 40 * 30);

  // A selection: its whole area whatever was clicked, only inside the
  // raster when it hangs off it, nothing when it lies wholly outside.
  const struct {
    const char* Name;
    TRect R;
    Integer Painted;
  } cases[] = {{"inside", TRect(5, 5, 15, 10), 50},
               {"half off the bottom-right", TRect(35, 25, 50, 40), 25},
               {"wholly off", TRect(50, 50, 60, 60), 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestDocument e(40, 30);
    PaintQuadrants(e->SrcBmp());
    TImgSelection* s = AddSelection(e, TRect(0, 0, 4, 4));
    ASSERT_NE(s, nullptr);
    s->Core().SetRegion(TRegion(c.R));  // moved where the case puts it
    e->SetModified(false);
    e->Fill(-7, 300, 0xFFFFFF);
    EXPECT_EQ(CountColour(e->SrcBmp(), 0xFFFFFFFFu), c.Painted);
    EXPECT_EQ(e->Modified(), c.Painted > 0);
  }
}

TEST(DocumentFill, WandSelections) {
  for (bool continuous : {true, false}) {
    SCOPED_TRACE(continuous ? "continuous" : "global");
    TTestDocument d(40, 30);
    PaintQuadrants(d->SrcBmp());
    const std::vector<TColor32> before = Pixels(d->SrcBmp());
    d->CreateShape(TShapeType::shSelection);
    ASSERT_NE(d->Shape(), nullptr);
    d->Shape()->SetStyleId(SelKind::PixelList);
    d->CalcSelectionWandPoints(5, 5, 0, continuous);
    d->CreateShapeOver(false);
    ASSERT_NE(d->Selection(), nullptr);
    // Continuous: the top-left quadrant; global: both quadrants of its colour.
    TRegion want(TRect(1, 1, 20, 15));
    if (!continuous) want = Union(want, TRegion(TRect(20, 15, 40, 30)));
    EXPECT_EQ(d->Selection()->Region(), want);
    EXPECT_EQ(Pixels(d->SrcBmp()), before);  // the wand searches a copy
    TBitmap32 mask;
    mask.SetSize(40, 30);
    mask.Clear(0xFF000000u);
    for (const TRect& r : d->Selection()->Region().Rects()) mask.FillRectS(r, 0xFFFFFFFFu);
    SaveReviewPicture(continuous ? u"wand_continuous_mask" : u"wand_global_mask", &mask);
  }
}
