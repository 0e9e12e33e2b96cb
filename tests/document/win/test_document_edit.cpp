// Editing as the canvas drives it: drawing new objects, dragging handles and
// bodies, snapping, picking, cursors, selection, deletion, named properties,
// and partial recomposition giving the same pixels as a full one.
#include "common/gtest.h"

#include <random>

#include "tests/document/win/document_fixture.h"

namespace {

// Lays out the handles the way a view paint does.
void PaintHandles(TImageDraw* D) {
  TBitmap32 buffer;
  buffer.SetSize(std::max(D->Width() * 3, 16), std::max(D->Height() * 3, 16));
  buffer.Clear(0xFF808080u);
  D->PaintControlLayer(nullptr, &buffer);
}

struct TEvents {
  Integer Modified = 0, Selected = 0;
  explicit TEvents(TImageDraw* D) {
    D->OnShapeModified = [this](TObject*) { ++Modified; };
    D->OnShapeSelected = [this](TObject*) { ++Selected; };
  }
};

// Press at P (image = view coordinates at zoom 1), pick, click.
bool Press(TImageDraw* D, TPoint P) {
  PaintHandles(D);
  if (!D->LocateShape(P.X, P.Y, P.X, P.Y)) return false;
  D->ClickShape(TSelectMode::selOne, D->ShapeId());
  return true;
}

// A drag from P to Q in Steps steps on a handle (or the body), then its end.
void Drag(TImageDraw* D, TPoint P, TPoint Q, Integer Steps = 3) {
  const bool handle = D->Shape()->CurrentCtrIndex() >= 0;
  for (Integer i = 1; i <= Steps; ++i) {
    const TPoint at(P.X + (Q.X - P.X) * i / Steps, P.Y + (Q.Y - P.Y) * i / Steps);
    if (handle)
      D->DrawShape(P.X, P.Y, at.X, at.Y);
    else
      D->MoveShape(P.X, P.Y, at.X, at.Y);
  }
  D->AdjustShapeOver();
}

String Line(Integer Id, TShapeType T, TPoint A, TPoint B, Integer Style = 0) {
  TRect r;
  RectFromPoints(A.X, A.Y, B.X, B.Y, r);
  return ObjectRow(Id, T, r,
                   {{40, IntToStr(A.X)}, {41, IntToStr(A.Y)}, {42, IntToStr(B.X)}, {43, IntToStr(B.Y)},
                    {24, IntToStr(Style)}});
}

// "" when equal, else the count and first differing pixel.
std::string Difference(const std::vector<TColor32>& A, const std::vector<TColor32>& B, Integer W) {
  Integer n = 0;
  size_t first = 0;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i] != B[i] && n++ == 0) first = i;
  if (n == 0) return "";
  char buf[160];
  snprintf(buf, sizeof buf, "%d pixels differ, first at (%d, %d): %08X vs %08X", n, Integer(first % size_t(W)),
           Integer(first / size_t(W)), A[first], B[first]);
  std::string all = buf;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i] != B[i]) all += " (" + std::to_string(i % size_t(W)) + "," + std::to_string(i / size_t(W)) + ")";
  return all;
}

}  // namespace

TEST(DocumentEdit, CreatingByDrawing) {
  struct {
    TShapeType Type;
    bool Shift;
    TPoint End;
    TRect Frame;   // rectangles
    TPoint Point4; // lines
  } table[] = {
      {TShapeType::shRectangle, false, TPoint(160, 130), TRect(100, 100, 160, 130), {}},
      {TShapeType::shRectangle, false, TPoint(40, 130), TRect(40, 100, 100, 130), {}},
      {TShapeType::shRectangle, false, TPoint(40, 70), TRect(40, 70, 100, 100), {}},
      {TShapeType::shRectangle, false, TPoint(160, 70), TRect(100, 70, 160, 100), {}},
      {TShapeType::shRectangle, true, TPoint(180, 130), TRect(100, 100, 180, 180), {}},  // 80 x 30 -> 80 x 80
      {TShapeType::shRectangle, true, TPoint(40, 70), TRect(40, 70, 100, 130), {}},
      {TShapeType::shRectangle, true, TPoint(110, 170), TRect(100, 100, 170, 170), {}},
      {TShapeType::shRectangle, true, TPoint(160, 60), TRect(100, 60, 160, 120), {}},
      {TShapeType::shLine, false, TPoint(140, 110), {}, TPoint(140, 110)},
      {TShapeType::shLine, true, TPoint(140, 110), {}, TPoint(140, 100)},
      {TShapeType::shArrow, true, TPoint(105, 150), {}, TPoint(100, 150)},
      {TShapeType::shArrow, true, TPoint(60, 60), {}, TPoint(100, 60)},  // |dy| = |dx|: vertical
      {TShapeType::shArrow, true, TPoint(40, 90), {}, TPoint(40, 100)},
      {TShapeType::shLine, true, TPoint(120, 20), {}, TPoint(100, 20)},
  };
  for (const auto& c : table) {
    TTestDocument d(300, 300);
    TEvents ev(d.Get());
    d->SetPressSht(c.Shift);
    const Integer rows = d->DT()->ItemCount();
    d->CreateShape(c.Type);
    ASSERT_TRUE(d->ShapeCreating());
    ASSERT_EQ(d->DT()->ItemCount(), rows + 1);
    for (Integer i = 1; i <= 4; ++i)
      d->DrawShape(100, 100, 100 + (c.End.X - 100) * i / 4, 100 + (c.End.Y - 100) * i / 4);
    d->CreateShapeOver(false);
    EXPECT_FALSE(d->ShapeCreating());
    TImgShape* s = d->Shape();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->Selected());
    EXPECT_FALSE(s->Creating());
    EXPECT_EQ(ev.Modified, 4);
    EXPECT_EQ(ev.Selected, 1);
    if (c.Type == TShapeType::shRectangle) {
      EXPECT_EQ(s->SRect(), c.Frame) << c.End.X << "," << c.End.Y << " shift " << c.Shift;
    } else {
      auto* l = static_cast<TImgLine*>(s);
      EXPECT_EQ(l->GetPoint(1), TPoint(100, 100));
      EXPECT_EQ(l->GetPoint(4), c.Point4) << c.End.X << "," << c.End.Y << " shift " << c.Shift;
      EXPECT_EQ(s->SRect(), RectFromPoints(TPoint(100, 100), c.Point4));
    }
  }
}

TEST(DocumentEdit, CreationRules) {
  TTestDocument d(200, 200);
  // The id comes from property 1, which grows; the preset is expanded only
  // for numbers inside the table.
  d->DT()->Props(1)->SetValue(7);
  TRow* arrowPreset = Presets().Prop->Items(Ord(TShapeType::shArrow));
  const String saved = arrowPreset->ToString(true);
  SetCellText(arrowPreset, 27, u"2");
  SetCellText(arrowPreset, 28, u"9");
  SetCellText(arrowPreset, 29, u"1");
  d->CreateShape(TShapeType::shArrow);
  arrowPreset->Init(saved, u',');
  TImgShape* s = d->Shape();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Id(), 7);
  EXPECT_EQ(d->DT()->Props(1)->Value(), 8);
  EXPECT_EQ(s->ShadowAngle(), 135);  // preset row 2
  EXPECT_EQ(s->ReflectMode(), 9);    // stored, nothing expanded
  EXPECT_EQ(s->ReflectHeight(), 66);
  EXPECT_EQ(s->GradientColor(), u"3355443/16777215");
  EXPECT_EQ(s->GradientHatchMode(), 3) << "the hatch columns keep the preset row's own values";
  // Dropping the new object leaves the table as before, less the id.
  d->CreateShapeOver(true);
  EXPECT_EQ(d->DT()->ItemCount(), 0);
  EXPECT_EQ(d->Shape(), nullptr);
  EXPECT_EQ(d->DT()->Props(1)->Value(), 8);
  EXPECT_FALSE(d->ShapeCreating());
  // A short preset table changes nothing.
  TDataTable shortTable;
  shortTable.AddItem(u"1,2,3");
  d->SetPropDT(&shortTable);
  d->CreateShape(TShapeType::shRectangle);
  EXPECT_EQ(d->DT()->ItemCount(), 0);
  EXPECT_FALSE(d->ShapeCreating());
  EXPECT_EQ(d->DT()->Props(1)->Value(), 8);
}

TEST(DocumentEdit, HandleDragsAndMoves) {
  // The bottom-right handle dragged in four directions, with and without Shift.
  struct {
    TPoint To;
    bool Shift;
    TRect Frame;
  } table[] = {{TPoint(170, 130), false, TRect(50, 50, 170, 130)}, {TPoint(140, 70), false, TRect(50, 50, 140, 70)},
               {TPoint(10, 10), false, TRect(50, 50, 51, 51)},     {TPoint(90, 150), false, TRect(50, 50, 90, 150)},
               {TPoint(170, 130), true, TRect(50, 50, 170, 170)},  {TPoint(90, 150), true, TRect(50, 50, 150, 150)}};
  for (const auto& c : table) {
    TTestDocument d(300, 300);
    TEvents ev(d.Get());
    d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 150, 100)));
    d->SelectShape(TSelectMode::selAll, 1);
    d->SetPressSht(c.Shift);
    ASSERT_TRUE(Press(d.Get(), TPoint(150, 100)));
    ASSERT_EQ(d->Shape()->CurrentCtrIndex(), 3);
    Drag(d.Get(), TPoint(150, 100), c.To);
    EXPECT_EQ(d->Shape()->SRect(), c.Frame) << c.To.X << "," << c.To.Y;
    EXPECT_FALSE(d->Shape()->Adjusting());
    EXPECT_TRUE(d->Modified());
    EXPECT_EQ(ev.Modified, 3);
  }
  // The rotation handle turns the frame toward the mouse.
  TTestDocument r(300, 300);
  r.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 150, 100)));
  r->SelectShape(TSelectMode::selAll, 1);
  ASSERT_TRUE(Press(r.Get(), TPoint(100, 45 - 30 + 5)));
  ASSERT_EQ(r->Shape()->CurrentCtrIndex(), 0);
  Drag(r.Get(), TPoint(100, 20), TPoint(250, 75));
  EXPECT_FLOAT_EQ(r->Shape()->Angle(), 270);
  // A line's end dragged with Shift snaps; the body moves everything.
  TTestDocument l(300, 300);
  l.Add(Line(1, TShapeType::shLine, TPoint(20, 20), TPoint(120, 20)));
  l->SelectShape(TSelectMode::selAll, 1);
  l->SetPressSht(true);
  ASSERT_TRUE(Press(l.Get(), TPoint(120, 20)));
  ASSERT_EQ(l->Shape()->CurrentCtrIndex(), 4);
  Drag(l.Get(), TPoint(120, 20), TPoint(150, 35));
  auto* line = static_cast<TImgLine*>(l->Shape());
  EXPECT_EQ(line->GetPoint(4), TPoint(150, 20));
  EXPECT_EQ(l->Shape()->SRect(), TRect(20, 20, 151, 21));
  ASSERT_TRUE(Press(l.Get(), TPoint(70, 21)));
  ASSERT_EQ(l->Shape()->CurrentCtrIndex(), -1);
  Drag(l.Get(), TPoint(70, 21), TPoint(80, 61));
  EXPECT_EQ(line->GetPoint(1), TPoint(30, 60));
  EXPECT_EQ(line->GetPoint(4), TPoint(160, 60));
  EXPECT_EQ(l->Shape()->SRect(), TRect(30, 60, 161, 61));
}

TEST(DocumentEdit, SnappingToGuides) {
  struct {
    std::vector<Integer> Guides;
    Integer Dy, Top;
  } table[] = {
      {{154}, 0, 114},      // the bottom (140) 14 from a guide: caught
      {{155}, 0, 100},      // 15: not
      {{86}, 0, 86},        // the top
      {{129}, 20, 129 + 0}, // dragged by 20: the bottom (160) is 31 away, the top 9
      {{131}, 0, 91},       // the bottom is 9 away
      {{200, 142}, 0, 102}, // the first guide that catches wins
  };
  for (const auto& c : table) {
    TTestDocument d(300, 300);
    d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(100, 100, 150, 140)));
    for (Integer g : c.Guides) d->CreateGuides(0, g, true);
    d->SelectShape(TSelectMode::selAll, 1);
    ASSERT_TRUE(Press(d.Get(), TPoint(120, 120)));
    d->MoveShape(120, 120, 120, 120 + c.Dy);
    EXPECT_EQ(d->Shape()->SRect().Top, c.Top) << c.Guides[0];
  }
  // Vertical guides catch the left and right edges.
  TTestDocument v(300, 300);
  v.Add(ObjectRow(1, TShapeType::shRectangle, TRect(100, 100, 150, 140)));
  v->CreateGuides(160, 0, false);
  v->SelectShape(TSelectMode::selAll, 1);
  ASSERT_TRUE(Press(v.Get(), TPoint(120, 120)));
  v->MoveShape(120, 120, 121, 120);
  EXPECT_EQ(v->Shape()->SRect().Right, 160);
}

TEST(DocumentEdit, PickingAndCursors) {
  TTestDocument d(300, 300);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 150, 150)));
  d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(100, 100, 200, 200)));
  TImgShape* fixed = d.Add(ObjectRow(3, TShapeType::shRectangle, TRect(0, 0, 40, 40), {{3, u"-1"}}));
  // Inside both: the upper (later) one.
  EXPECT_TRUE(d->LocateShape(120, 120, 120, 120));
  EXPECT_EQ(d->ShapeId(), 2);
  // A handle of the lower, selected one inside the upper's body: the lower.
  d->ClickShape(TSelectMode::selOne, 1);
  PaintHandles(d.Get());
  EXPECT_TRUE(d->LocateShape(150, 150, 150, 150));
  EXPECT_EQ(d->ShapeId(), 1);
  // Fixed objects are never picked.
  EXPECT_FALSE(d->LocateShape(20, 20, 20, 20));
  EXPECT_EQ(d->ShapeId(), -1);
  EXPECT_EQ(d->ShapeType(), TShapeType::shNone);
  (void)fixed;

  // Every branch of the cursor, in order.
  d->ClickShape(TSelectMode::selOne, 1);
  PaintHandles(d.Get());
  EXPECT_EQ(d->GetShapeCursor(150, 150, 150, 150), ShapeCursor::SizeNWSE);  // handle of the single selected one
  EXPECT_EQ(d->GetShapeCursor(180, 180, 180, 180), ShapeCursor::SizeAll);   // a body
  EXPECT_EQ(d->GetShapeCursor(250, 30, 250, 30), ShapeCursor::ToolDefault);
  EXPECT_EQ(d->GetShapeCursor(20, 20, 20, 20), ShapeCursor::ToolDefault) << "fixed: no cursor";
  EXPECT_EQ(d->GetShapeCursor(302, 302, 302, 302), ShapeCursor::SizeNWSE);  // canvas handle 3
  EXPECT_EQ(d->CanvasCtrIndex(), 3);
  EXPECT_EQ(d->GetShapeCursor(150, 303, 150, 303), ShapeCursor::SizeNS);
  EXPECT_EQ(d->CanvasCtrIndex(), 6);
  EXPECT_EQ(d->GetShapeCursor(-3, 150, -3, 150), ShapeCursor::SizeWE);
  EXPECT_EQ(d->GetShapeCursor(303, -3, 303, -3), ShapeCursor::SizeNESW);
  d->CreateGuides(0, 180, true);
  d->CreateGuides(60, 0, false);
  EXPECT_EQ(d->GetShapeCursor(10, 180, 10, 180), ShapeCursor::VSplit);
  EXPECT_EQ(d->HorzGuidesIndex(), 0);
  EXPECT_EQ(d->GetShapeCursor(60, 10, 60, 10), ShapeCursor::HSplit);
  EXPECT_EQ(d->VertGuidesIndex(), 0);
  EXPECT_EQ(d->HorzGuidesIndex(), -1);
  d->SetLockGuides(true);
  EXPECT_EQ(d->GetShapeCursor(10, 180, 10, 180), ShapeCursor::ToolDefault);
  EXPECT_EQ(d->VertGuidesIndex(), 0) << "locked guides keep their indexes";
  d->CreateRuler(0, 250, 100, 250);
  struct {
    TPoint At;
    Integer Mode;
    SmallInt Cursor;
  } ruler[] = {{TPoint(50, 255), 0, ShapeCursor::Ruler},
               {TPoint(3, 254), 1, ShapeCursor::Ruler},
               {TPoint(96, 248), 2, ShapeCursor::Ruler},
               {TPoint(50, 262), -1, ShapeCursor::ToolDefault}};
  for (const auto& r : ruler) {
    EXPECT_EQ(d->GetShapeCursor(r.At.X, r.At.Y, r.At.X, r.At.Y), r.Cursor) << r.At.X;
    EXPECT_EQ(d->RulerPickMode(), r.Mode);
  }
}

TEST(DocumentEdit, SelectionCountsAndDeletion) {
  TTestDocument d(300, 300);
  TEvents ev(d.Get());
  TImgShape* a = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(0, 0, 50, 50)));
  d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(60, 0, 110, 50), {{4, u"-1"}}));
  d.Add(Line(3, TShapeType::shLine, TPoint(0, 80), TPoint(90, 80)));
  d.Add(ObjectRow(4, TShapeType::shRectangle, TRect(0, 100, 50, 150), {{3, u"-1"}}));
  EXPECT_EQ(d->ShapeCount(), 3);
  EXPECT_EQ(d->ShapeEditableCount(), 2);
  a->Select();
  a->Select();
  EXPECT_EQ(d->ObjectSelectedCount(), 1);
  d->ShapeSelectStateChanged(true);
  d->ShapeSelectStateChanged(true);
  EXPECT_EQ(ev.Selected, 1) << "two calls, one change, one event";
  EXPECT_EQ(d->ShapeId(), 1);
  a->UnSelect();
  a->UnSelect();
  EXPECT_EQ(d->ObjectSelectedCount(), 0);
  d->SelectShape(TSelectMode::selAll, 0);
  EXPECT_EQ(d->ShapeSelectedCount(), 3) << "fixed objects are left out";
  d->SelectShape(TSelectMode::selSame, 3);
  EXPECT_EQ(d->ObjectSelectedCount(), 1);
  EXPECT_TRUE(d->IsSelected(3));
  d->SelectShape(TSelectMode::selNone, 0);
  EXPECT_EQ(d->ObjectSelectedCount(), 0);
  d->ClickShape(TSelectMode::selMulti, 1);
  d->ClickShape(TSelectMode::selMulti, 3);
  d->ClickShape(TSelectMode::selOneInvert, 3);
  EXPECT_FALSE(d->IsSelected(3));
  d->ClickShape(TSelectMode::selOne, 3);
  EXPECT_TRUE(d->IsSelected(3));
  EXPECT_FALSE(d->IsSelected(1));
  EXPECT_EQ(d->GetShapeByName(u""), d->ShapeOfRow(0));
  EXPECT_EQ(d->GetShapeIdByName(u"nobody"), -1);
  // Deleting the current object leaves no current one.
  d->ClickShape(TSelectMode::selOne, 3);
  EXPECT_EQ(d->ShapeId(), 3);
  d->DeleteShapes(nullptr);
  EXPECT_EQ(d->ShapeId(), -1);
  EXPECT_EQ(d->ShapeType(), TShapeType::shNone);
  EXPECT_EQ(d->DT()->ItemCount(), 3);
  EXPECT_FALSE(d->CropExists());
  EXPECT_FALSE(d->DeleteCropShape());
  // A pasted object pushed past the right border ends 20 pixels inside.
  EXPECT_TRUE(d->CreateShapeAuto(ObjectRow(0, TShapeType::shRectangle, TRect(250, 10, 290, 40)), nullptr, 100, 0));
  TImgShape* pasted = d->ShapeOfRow(3);
  EXPECT_EQ(pasted->SRect().Left, 280);
  EXPECT_TRUE(pasted->Selected());
  // Crop ratios: the same value does nothing; unknown values are stored.
  d->SetCropRateIndex(8);
  EXPECT_FLOAT_EQ(d->CropFixedRate(), 16.0f / 9);
  d->SetCropRateIndex(12);
  EXPECT_EQ(d->CropRateIndex(), 12);
  EXPECT_FLOAT_EQ(d->CropFixedRate(), 16.0f / 9);
  d->SetCropRateIndex(0);
  EXPECT_FLOAT_EQ(d->CropFixedRate(), 1);
}

TEST(DocumentEdit, NamedProperties) {
  TTestDocument d(300, 300);
  TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 110, 60)));
  auto* arrow = static_cast<TImgLine*>(d.Add(Line(2, TShapeType::shArrow, TPoint(10, 100), TPoint(200, 100), 1)));
  // Nothing selected: nothing changes.
  d->SetProperty(u"Color", 5, false);
  EXPECT_FALSE(d->Changed());
  EXPECT_EQ(r->Color(), 255);
  r->Select();
  r->SetChanged2(false);
  d->SetProperty(u"FontSize", 30, false);
  EXPECT_TRUE(d->Changed()) << "a name that does not apply still marks the document changed";
  EXPECT_TRUE(r->Changed2());
  d->SetProperty(u"color", 5, false);
  EXPECT_EQ(r->Color(), 255) << "names are case-sensitive";
  d->SetProperty(u"IsFill", 7, false);
  EXPECT_TRUE(r->IsFill());
  // ShadowMode: 0 keeps the values; a preset number inside the table copies
  // it; one past the table keeps the values and stores the number.
  r->SetShadowAngle(10);
  d->SetProperty(u"ShadowMode", 0, false);
  EXPECT_EQ(r->ShadowAngle(), 10);
  d->SetProperty(u"ShadowMode", 2, false);
  EXPECT_EQ(r->ShadowAngle(), 135);
  EXPECT_EQ(r->ShadowDistance(), 4);
  d->SetProperty(u"ShadowMode", 9, false);
  EXPECT_EQ(r->ShadowMode(), 9);
  EXPECT_EQ(r->ShadowAngle(), 135);
  d->SetProperty(u"ReflectMode", 3, false);
  EXPECT_EQ(r->ReflectHeight(), 75);
  d->SetProperty(u"GradientMode", 4, false);
  EXPECT_EQ(r->GradientColor(), u"26367/65535/26367") << "the gradient texts are not copied";

  // StyleId on the current arrow: within its group the points stay.
  arrow->Select();
  ASSERT_TRUE(d->LocateShape(100, 100, 100, 100));
  ASSERT_EQ(d->ShapeType(), TShapeType::shArrow);
  arrow->SetPoint(2, TPoint(33, 44));
  d->SetProperty(u"StyleId", 2, false);
  EXPECT_EQ(arrow->GetPoint(2), TPoint(33, 44));
  // The rectangle selected beside it gets the handles of its new outline.
  EXPECT_EQ(r->StyleId(), 2);
  d->SetProperty(u"StyleId", 1, false);
  auto* rect = static_cast<TImgRectangle*>(r);
  EXPECT_EQ(rect->Handles().Count, 1);
  EXPECT_NO_THROW(d->Draw());
  d->SetProperty(u"StyleId", 3, false);  // the arrow's group changes: points placed anew
  EXPECT_EQ(arrow->GetPoint(2), TPoint(57, 100));
  EXPECT_EQ(rect->Handles().Count, 2);
  d->SetProperty(u"ArrowType", 2, true);
  EXPECT_EQ(arrow->ArrowType(), 2);
}

TEST(DocumentEdit, PartialRecompositionEqualsAFullDraw) {
  TTestDocument d(320, 240, 0xDDEEFF);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 20, 120, 90), {{27, u"0"}, {24, u"1"}, {41, u""}}));
  d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(80, 60, 200, 150),
                  {{28, u"0"}, {19, u"20"}, {24, u"7"}, {41, u""}, {29, u"0"}, {95, u"1"}}));
  d.Add(Line(3, TShapeType::shArrow, TPoint(30, 200), TPoint(290, 120), 3));
  d.Add(ObjectRow(4, TShapeType::shRectangle, TRect(220, 20, 300, 100), {{29, u"0"}, {95, u"3"}, {24, u"2"}}));
  d.Add(Line(5, TShapeType::shLine, TPoint(10, 150), TPoint(150, 230), 10));
  d->Draw();
  const std::vector<TColor32> once = Pixels(d->Bitmap());
  d->Draw();
  ASSERT_EQ(Difference(once, Pixels(d->Bitmap()), 320), "") << "a full composition is repeatable";
  std::mt19937 rng(12345);
  auto pick = [&](Integer N) { return Integer(rng() % Cardinal(N)); };
  Integer partial = 0;
  for (Integer step = 0; step < 40; ++step) {
    TImgShape* s = d->ShapeOfRow(pick(d->DT()->ItemCount()));
    d->ClickShape(TSelectMode::selOne, s->Id());
    PaintHandles(d.Get());
    // A handle (a corner, an end, the rotation handle) or the body.
    const Integer handle = pick(3) == 0 ? -1 : (s->ShapeType() == TShapeType::shRectangle ? pick(9) : 1 + 3 * pick(2));
    TPoint from;
    if (handle >= 0) {
      const TRect hr = s->CtrRect(handle);
      from = TPoint(hr.Left + hr.Width() / 2, hr.Top + hr.Height() / 2);
      if (RectIsEmpty(hr) || !d->LocateShape(from.X, from.Y, from.X, from.Y) || d->Shape() != s) continue;
    } else {
      const TRect r = s->SRect();
      from = TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
      if (!d->LocateShape(-1000, -1000, from.X, from.Y) || d->Shape() != s) continue;
    }
    d->ClickShape(TSelectMode::selOne, s->Id());
    const TPoint to(from.X + pick(61) - 30, from.Y + pick(61) - 30);
    for (Integer i = 1; i <= 3; ++i) {
      // A marker pixel marker off: a partial composition leaves it.
      const TPoint marker = s->SRect().Left > 160 ? TPoint(1, 1) : TPoint(318, 238);
      d->Bitmap()->SetPixel(marker.X, marker.Y, 0x12345678u);
      const TPoint at(from.X + (to.X - from.X) * i / 3, from.Y + (to.Y - from.Y) * i / 3);
      if (handle >= 0)
        d->DrawShape(from.X, from.Y, at.X, at.Y);
      else
        d->MoveShape(from.X, from.Y, at.X, at.Y);
      std::vector<TColor32> after = Pixels(d->Bitmap());
      if (d->Bitmap()->GetPixel(marker.X, marker.Y) == 0x12345678u) {
        ++partial;
        after[size_t(marker.Y) * 320 + size_t(marker.X)] = 0;
      }
      d->Draw();
      std::vector<TColor32> full = Pixels(d->Bitmap());
      if (after[size_t(marker.Y) * 320 + size_t(marker.X)] == 0) full[size_t(marker.Y) * 320 + size_t(marker.X)] = 0;
      ASSERT_EQ(Difference(after, full, 320), "") << "step " << step << " handle " << handle << " object "
                                                  << s->Id();
    }
    d->AdjustShapeOver();
    d->Draw();
  }
  EXPECT_GT(partial, 40) << "drag steps recompose only their area";
  SaveReviewPicture(u"edit_random_sequence", d->Bitmap());
}
