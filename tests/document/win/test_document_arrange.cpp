// Arrangement and selection commands on a document: arrow-key nudges,
// moving everything, aligning, stacking order, flattening (crop frames
// stay), select all and invert, saved selections with bad names and texts.
#include "common/gtest.h"

#include "document/SelectionCore.h"
#include "document/win/ImageSelection.h"
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

std::vector<Integer> Order(TTestDocument& d) {
  std::vector<Integer> ids;
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) ids.push_back(d->ShapeOfRow(i)->Id());
  return ids;
}

void SelectIds(TTestDocument& d, std::initializer_list<Integer> Ids) {
  d->SelectShape(TSelectMode::selNone, 0);
  for (Integer id : Ids) d->ClickShape(TSelectMode::selMulti, id);
}

}  // namespace

TEST(DocumentArrange, NudgesAndMovingEverything) {
  TTestDocument d(60, 40);
  TImgShape* a = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 15, 15)));
  TImgShape* b = d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(20, 5, 30, 15)));
  TImgSelection* s = AddSelection(d, TRect(2, 20, 10, 30));
  ASSERT_NE(s, nullptr);
  SelectIds(d, {1});
  ASSERT_TRUE(a->Selected());
  ASSERT_FALSE(s->Selected());
  Integer modified = 0;
  d->OnShapeModified = [&](TObject*) { ++modified; };
  d->MoveShapeByArrowKey(39);
  d->MoveShapeByArrowKey(40);
  d->MoveShapeByArrowKey(13);  // not an arrow: nothing
  EXPECT_EQ(a->SRect(), TRect(6, 6, 16, 16));
  EXPECT_EQ(b->SRect(), TRect(20, 5, 30, 15));
  EXPECT_EQ(s->Region().Box(), TRect(3, 21, 11, 31));
  EXPECT_EQ(modified, 2);

  d->CreateGuides(0, 10, true);
  d->CreateGuides(7, 0, false);
  d->SetModified(false);
  d->ResetShapeLocation(0, 0);
  EXPECT_FALSE(d->Modified());
  d->ResetShapeLocation(-2, 3);
  EXPECT_TRUE(d->Modified());
  EXPECT_EQ(b->SRect(), TRect(18, 8, 28, 18));
  EXPECT_EQ(d->HorzGuidesRow()->Items(0)->Value(), 13);
  EXPECT_EQ(d->VertGuidesRow()->Items(0)->Value(), 5);
}

TEST(DocumentArrange, AlignToTheViewOrToTheGroup) {
  const struct {
    Integer Mode;
    TRect One;                // a alone, aligned to the 60 x 40 view
    TRect GroupA, GroupB;     // a and b aligned to their union (5, 5, 35, 25)
  } cases[] = {
      {0, TRect(0, 5, 10, 15), TRect(5, 5, 15, 15), TRect(5, 10, 15, 25)},
      {1, TRect(25, 5, 35, 15), TRect(15, 5, 25, 15), TRect(15, 10, 25, 25)},
      {2, TRect(50, 5, 60, 15), TRect(25, 5, 35, 15), TRect(25, 10, 35, 25)},
      {3, TRect(5, 0, 15, 10), TRect(5, 5, 15, 15), TRect(25, 5, 35, 20)},
      {4, TRect(5, 15, 15, 25), TRect(5, 10, 15, 20), TRect(25, 8, 35, 23)},
      {5, TRect(5, 30, 15, 40), TRect(5, 15, 15, 25), TRect(25, 10, 35, 25)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    TTestDocument d(60, 40);
    TImgShape* a = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 15, 15)));
    TImgShape* b = d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(25, 10, 35, 25)));
    SelectIds(d, {1});
    d->AlignShape(c.Mode);
    EXPECT_EQ(a->SRect(), c.One);
    a->SetSRect(TRect(5, 5, 15, 15));
    SelectIds(d, {1, 2});
    d->AlignShape(c.Mode);
    EXPECT_EQ(a->SRect(), c.GroupA);
    EXPECT_EQ(b->SRect(), c.GroupB);
  }
}

TEST(DocumentArrange, StackingOrder) {
  const struct {
    const char* Name;
    std::vector<Integer> Selected;
    void (TImageDraw::*Op)();
    std::vector<Integer> Want;
  } cases[] = {
      {"to front", {1, 3}, &TImageDraw::BringToFront, {2, 4, 1, 3}},
      {"to back", {2, 4}, &TImageDraw::SendToBack, {2, 4, 1, 3}},
      {"forward", {1, 3}, &TImageDraw::BringForward, {2, 1, 4, 3}},
      {"forward, the top block stays", {4, 2}, &TImageDraw::BringForward, {1, 3, 2, 4}},
      {"backward", {2, 4}, &TImageDraw::SendBackward, {2, 1, 4, 3}},
      {"backward, the bottom block stays", {1, 3}, &TImageDraw::SendBackward, {1, 3, 2, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(60, 40);
    for (Integer id = 1; id <= 4; ++id) d.Add(ObjectRow(id, TShapeType::shRectangle, TRect(id * 5, 5, id * 5 + 8, 20)));
    d->SelectShape(TSelectMode::selNone, 0);
    for (Integer id : c.Selected) d->ClickShape(TSelectMode::selMulti, id);
    (d.Get()->*c.Op)();
    EXPECT_EQ(Order(d), c.Want);
  }
  // Fewer than two editable objects: nothing moves.
  TTestDocument d(60, 40);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 10, 10)));
  d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(5, 5, 10, 10)))->SetFixed(true);
  SelectIds(d, {1});
  d->BringToFront();
  EXPECT_EQ(Order(d), (std::vector<Integer>{1, 2}));
}

// Flattening draws the objects into the raster and deletes them; a crop
// frame of either style stays and leaves no mark.
TEST(DocumentArrange, FlattenLeavesCropFrames) {
  for (Integer style : {0, 1}) {
    SCOPED_TRACE(style);
    TTestDocument d(60, 40);
    d->SrcBmp()->Clear(0xFF406080u);
    d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 15, 15)));
    d->DT()->AddItem(ObjectRow(50, TShapeType::shCrop, TRect(20, 10, 50, 35), {{24, IntToStr(style)}}));
    d->CreateShapeObjects(-1);
    ASSERT_TRUE(d->CropExists());
    for (bool all : {false, true}) {
      d->SelectShape(TSelectMode::selAll, 0);
      d->Flatten(all);
    }
    EXPECT_TRUE(d->CropExists());
    EXPECT_EQ(d->DT()->ItemCount(), 1);
    Integer changed = 0;
    for (Integer y = 0; y < 40; ++y)
      for (Integer x = 0; x < 60; ++x)
        if (d->SrcBmp()->GetPixel(x, y) != 0xFF406080u) {
          ++changed;
          EXPECT_TRUE(x >= 4 && x <= 15 && y >= 4 && y <= 15) << x << "," << y;
        }
    EXPECT_GT(changed, 0);
    EXPECT_TRUE(d->SrcBmpChanged());
  }
}

TEST(DocumentArrange, SelectAllAndInvert) {
  TTestDocument d(40, 30);
  d->SelectImage(false);  // nothing selected yet: a new selection of the raster
  ASSERT_NE(d->Selection(), nullptr);
  EXPECT_EQ(d->Selection()->Region(), TRegion(TRect(0, 0, 40, 30)));
  EXPECT_TRUE(d->Modified());
  d->SelectImage(false);  // the inverse of everything is nothing
  EXPECT_EQ(d->Selection(), nullptr);
  TImgSelection* s = AddSelection(d, TRect(5, 5, 10, 10));
  ASSERT_NE(s, nullptr);
  d->SelectImage(false);
  EXPECT_EQ(d->Selection()->Region(), Difference(TRegion(TRect(0, 0, 40, 30)), TRegion(TRect(5, 5, 10, 10))));
  // A region beside the raster: invert becomes select all.
  d->Selection()->Core().SetRegion(TRegion(TRect(50, 50, 60, 60)));
  d->SelectImage(false);
  EXPECT_EQ(d->Selection()->Region(), TRegion(TRect(0, 0, 40, 30)));
}

TEST(DocumentArrange, SavedSelections) {
  TTestDocument d(40, 30);
  TImgSelection* s = AddSelection(d, TRect(2, 3, 12, 9));
  ASSERT_NE(s, nullptr);
  d->SetAntialiasing(false);
  d->SaveSelection(u"Face");
  s->Core().SetRegion(TRegion(TRect(20, 10, 30, 20)));
  d->SaveSelection(u"FACE");  // same name ignoring case: replaced
  ASSERT_EQ(d->SelectionDT()->ItemCount(), 1);
  EXPECT_EQ(d->SelectionDT()->Items(0)->Items(1)->Text(), String(u"20.10.30.20"));
  EXPECT_EQ(d->SelectionDT()->Items(0)->Items(2)->Text(), String(u"0"));
  d->SelectionDT()->AddItem(RowText(8, {{0, u"broken"}, {1, u"a.b.c"}, {2, u"0"}}));
  d->SelectionDT()->AddItem(RowText(8, {{0, u"partial"}, {1, u"1.1.5.5.x.2.9.9.7"}, {2, u"0"}}));
  d->DeleteSelectionCropShape(false);
  const Integer rows = d->DT()->ItemCount();
  d->LoadSelection(u"nobody");
  d->LoadSelection(u"broken");
  EXPECT_EQ(d->Selection(), nullptr);
  EXPECT_EQ(d->DT()->ItemCount(), rows);
  d->LoadSelection(u"partial");
  ASSERT_NE(d->Selection(), nullptr);
  EXPECT_EQ(d->Selection()->Region(), TRegion(TRect(1, 1, 5, 5)));
  d->LoadSelection(u"face");
  ASSERT_NE(d->Selection(), nullptr);
  EXPECT_EQ(d->Selection()->Region(), TRegion(TRect(20, 10, 30, 20)));
  Integer selections = 0;
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) selections += d->ShapeOfRow(i)->ShapeType() == TShapeType::shSelection;
  EXPECT_EQ(selections, 1);
}

// Pencil strokes are locked unless pencil editing is on; other objects
// keep their lock.
TEST(DocumentArrange, PencilEditable) {
  TTestDocument d(40, 30);
  TImgShape* stroke = d.Add(ObjectRow(1, TShapeType::shLines, TRect(2, 2, 10, 10)));
  TImgShape* rect = d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(12, 2, 20, 10)));
  for (bool editable : {false, true, false}) {
    d->SetPencilEditable(editable);
    EXPECT_EQ(d->PencilEditable(), editable);
    EXPECT_EQ(stroke->Fixed(), !editable);
    EXPECT_FALSE(rect->Fixed());
  }
}
