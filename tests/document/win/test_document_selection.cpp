// The selection object in a document: ants on the control layer and their
// timer, zoom changes, lifting with and without Alt, the cut pictures,
// stamping, undo of selection changes, and the switch between open images.
#include "common/gtest.h"

#include "classlib/Forms.h"
#include "document/UndoSteps.h"
#include "document/win/ImageSelection.h"
#include "tests/document/win/document_fixture.h"

namespace {

void PaintRaster(TTestDocument& d) {
  for (Integer y = 0; y < d->SrcBmp()->Height(); ++y)
    for (Integer x = 0; x < d->SrcBmp()->Width(); ++x)
      d->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 9) << 16 | TColor32(y * 7) << 8 | 0x55);
}

TImgSelection* AddSelection(TTestDocument& d, const TRect& R, bool Antialias = false, Integer Kind = 0) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, IntToStr(Kind)}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(Antialias)) return nullptr;
  return s;
}

void Pump(int Ms) {
  const DWORD end = GetTickCount() + DWORD(Ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

}  // namespace

// The ants: every outline pixel takes the pattern at (x mod 8, (y - phase)
// mod 8); a tick moves the phase on; a zoom change rebuilds the outline even
// while another object is current.
TEST(DocumentSelection, AntsAndZoom) {
  TTestDocument d(40, 30);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(1, 1, 5, 5)));
  TImgSelection* s = AddSelection(d, TRect(5, 6, 15, 12));
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(d->SelectionExists());
  EXPECT_EQ(d->ShapeSelectedCount(), d->ObjectSelectedCount() - 1);
  TBitmap32 layer;
  layer.SetSize(40, 30);
  for (Integer phase = 0; phase < 2; ++phase) {
    layer.Clear(0);
    s->DrawControlPoint(&layer);
    EXPECT_TRUE(s->AntTimer()->Enabled());
    for (TPoint p : {TPoint(5, 6), TPoint(14, 6), TPoint(5, 11), TPoint(9, 11), TPoint(14, 9)}) {
      const bool black = (p.X % 8 + (p.Y - s->AntIndex() + 8) % 8) % 8 < 4;
      EXPECT_EQ(layer.GetPixel(p.X, p.Y), black ? 0xFF000000u : 0xFFFFFFFFu) << p.X << "," << p.Y;
    }
    EXPECT_EQ(layer.GetPixel(8, 8), 0u);  // inside
    s->AntStep();
  }
  EXPECT_EQ(s->AntIndex(), 2);
  d->SetBusing(true);
  s->AntStep();
  EXPECT_EQ(s->AntIndex(), 2);
  d->SetBusing(false);
  // Another object current, then a zoom change: the outline follows.
  d->ClickShape(TSelectMode::selNone, 1);
  d->SetScale(2);
  TArrayOfLine h, v;
  CalcOutlineLines(s->Region(), 2, h, v);
  EXPECT_EQ(s->Core().HorzLines(), h);
  EXPECT_EQ(s->Core().VertLines(), v);
  SaveReviewPicture(u"selection_ants", &layer);
}

// A selection freed with its timer armed never ticks again.
TEST(DocumentSelection, FreedSelectionStopsTicking) {
  auto d = std::make_unique<TTestDocument>(20, 20);
  TImgSelection* s = AddSelection(*d, TRect(2, 2, 8, 8));
  ASSERT_NE(s, nullptr);
  TBitmap32 layer;
  layer.SetSize(20, 20);
  s->DrawControlPoint(&layer);
  Pump(250);
  EXPECT_GT(s->AntIndex(), 0);
  d->Get()->DeleteSelectionCropShape(false);
  EXPECT_FALSE(d->Get()->SelectionExists());
  Pump(250);
  d.reset();
  Pump(150);
}

// Lifting on the first move cuts the pixels (Alt copies them); a move
// carries region and picture; stamping puts the picture back.
TEST(DocumentSelection, LiftingMovingAndStamping) {
  for (bool alt : {false, true}) {
    SCOPED_TRACE(alt);
    TTestDocument d(30, 20);
    PaintRaster(d);
    const std::vector<TColor32> before = Pixels(d->SrcBmp());
    TImgSelection* s = AddSelection(d, TRect(5, 5, 10, 9));
    ASSERT_NE(s, nullptr);
    s->SetUseMoveSelection(true);
    d->SetPressAlt(alt);
    s->Click();
    s->MoveShape(0, 0, 3, 0);
    ASSERT_NE(s->SelBitmap(), nullptr);
    EXPECT_TRUE(d->SelectionBitmapExists());
    EXPECT_EQ(s->Region().Box(), TRect(8, 5, 13, 9));
    EXPECT_EQ(s->SelBitmap()->GetPixel(0, 0), before[5 * 30 + 5]);
    EXPECT_EQ(d->SrcBmp()->GetPixel(6, 6), alt ? before[6 * 30 + 6] : 0x00FFFFFFu);
    EXPECT_EQ(d->SrcBmp()->GetPixel(4, 6), before[6 * 30 + 4]);
    d->Draw();
    EXPECT_EQ(d->Bitmap()->GetPixel(8, 5), before[5 * 30 + 5]);  // the floating picture
    // Deleting with flattening stamps it.
    d->DeleteSelectionCropShape(true);
    EXPECT_EQ(d->SrcBmp()->GetPixel(8, 5), before[5 * 30 + 5]);
    EXPECT_EQ(d->SrcBmp()->GetPixel(12, 8), before[8 * 30 + 9]);
  }
}

// A subtraction from a lifted picture trims the picture with it: the
// subtracted pixels become empty, the rest keeps the lifted pixels, and a
// subtraction taking a whole side shrinks the picture to the new box.
// Stamped, only what is left of the selection reaches the raster.
TEST(DocumentSelection, SubtractionTrimsTheLiftedPicture) {
  struct {
    TRect Cut, Box;
  } cases[] = {
      {TRect(10, 6, 12, 8), TRect(8, 5, 16, 11)},   // a hole inside
      {TRect(12, 0, 30, 20), TRect(8, 5, 12, 11)},  // the right side
      {TRect(0, 0, 30, 7), TRect(8, 7, 16, 11)},    // the top rows
  };
  auto inside = [](const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Cut.Left << "," << c.Cut.Top << "," << c.Cut.Right << "," << c.Cut.Bottom);
    TTestDocument d(30, 20);
    PaintRaster(d);
    const std::vector<TColor32> before = Pixels(d->SrcBmp());
    TImgSelection* s = AddSelection(d, TRect(5, 5, 13, 11));
    ASSERT_NE(s, nullptr);
    s->SetUseMoveSelection(true);
    s->Click();
    s->MoveShape(0, 0, 3, 0);  // lifted and floating at (8, 5)
    ASSERT_NE(s->SelBitmap(), nullptr);
    d->SetSelectionExpanding(false);
    ASSERT_TRUE(s->CombineRegion(false, 0, c.Cut, TSelectionInput()));
    EXPECT_EQ(s->Region().Box(), c.Box);
    ASSERT_EQ(s->SelBitmap()->Width(), c.Box.Width());
    ASSERT_EQ(s->SelBitmap()->Height(), c.Box.Height());
    for (Integer y = c.Box.Top; y < c.Box.Bottom; ++y)
      for (Integer x = c.Box.Left; x < c.Box.Right; ++x) {
        const TColor32 lifted = s->SelBitmap()->GetPixel(x - c.Box.Left, y - c.Box.Top);
        const bool cut = inside(c.Cut, x, y);
        EXPECT_EQ(lifted, cut ? 0u : before[y * 30 + x - 3]) << x << "," << y;
        EXPECT_EQ(s->Region().Contains(x, y), !cut) << x << "," << y;
      }
    d->DeleteSelectionCropShape(true);
    for (Integer y = 5; y < 11; ++y)
      for (Integer x = 8; x < 16; ++x) {
        const bool kept = inside(c.Box, x, y) && !inside(c.Cut, x, y);
        const TColor32 under = x < 13 ? 0x00FFFFFFu : before[y * 30 + x];  // the lifted area was emptied
        EXPECT_EQ(d->SrcBmp()->GetPixel(x, y), kept ? before[y * 30 + x - 3] : under) << x << "," << y;
      }
  }
}

// The smoothed cut pictures share every pixel of the area: on an opaque
// picture their alphas add up to 255 everywhere, and the ramps are there.
TEST(DocumentSelection, CutPicturesComplementEachOther) {
  TTestDocument d(30, 24);
  PaintRaster(d);
  TImgSelection* s = AddSelection(d, TRect(4, 4, 20, 15), true, 1);
  ASSERT_NE(s, nullptr);
  TRect area;
  d->MakeBitmapOfSelection(area);
  EXPECT_EQ(area, TRect(3, 3, 21, 16));
  Integer smooth = 0;
  for (Integer y = 0; y < area.Height(); ++y)
    for (Integer x = 0; x < area.Width(); ++x) {
      const TColor32 z = s->AutiAliasBmpZ()->GetPixel(x, y) >> 24, f = s->AutiAliasBmpF()->GetPixel(x, y) >> 24;
      EXPECT_EQ(z + f, 255u) << x << "," << y;
      smooth += z > 0 && z < 255;
    }
  EXPECT_GT(smooth, 0);
  TBitmap32 side;
  side.SetSize(area.Width() * 2 + 2, area.Height());
  side.Clear(0xFF808080u);
  side.Draw(0, 0, s->AutiAliasBmpZ());
  side.Draw(area.Width() + 2, 0, s->AutiAliasBmpF());
  SaveReviewPicture(u"selection_cut_pictures", &side);
}

// Undo restores region and lifted picture from the step that holds them;
// a switch between open images keeps the selection through the stream and
// the kept history; reopening from the file drops it.
TEST(DocumentSelection, UndoAndSwitching) {
  TTestDocument d(30, 20);
  PaintRaster(d);
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d->SaveUndoFirst();
  TImgSelection* s = AddSelection(d, TRect(2, 2, 8, 8));
  ASSERT_NE(s, nullptr);
  d->SetChanged(true);
  d->SaveUndo();  // 1
  TSelectionInput none;
  d->SetSelectionExpanding(true);
  ASSERT_TRUE(s->CombineRegion(false, 0, TRect(10, 2, 14, 6), none));
  d->SetChanged(true);
  d->SaveUndo();  // 2: changed
  const TRegion combined = s->Region();
  s->SetUseMoveSelection(true);
  s->Click();
  s->MoveShape(0, 0, 1, 1);
  d->SetChanged(true);
  d->SaveUndo();  // 3: lifted and moved
  d->SetChanged(true);
  d->SaveUndo();  // 4: nothing of the selection changed
  ASSERT_EQ(d->UndoIndex(), 4);
  d->SetUndoIndex(2);
  d->Godo(false);
  s = d->Selection();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Region(), combined);
  EXPECT_EQ(s->SelBitmap(), nullptr);
  d->SetUndoIndex(4);
  d->Godo(false);
  s = d->Selection();
  ASSERT_NE(s, nullptr);
  TRegion moved = combined;
  moved.Offset(1, 1);
  EXPECT_EQ(s->Region(), moved);
  ASSERT_NE(s->SelBitmap(), nullptr);
  // The switch: stream, a new document from it, the kept history, Godo.
  void* p = nullptr;
  d->SaveToStream(p);
  {
    TImgView32 view(nullptr);
    view.SetCentered(false);
    TImageDraw other(&view, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, p, 0, 0, 0, false, -1);
    other.SetUndoDT(&history);
    other.SetUndoIndex(4);
    other.Godo(true);
    ASSERT_NE(other.Selection(), nullptr);
    EXPECT_EQ(other.Selection()->Region(), moved);
    EXPECT_NE(other.Selection()->SelBitmap(), nullptr);
  }
  delete static_cast<TMemoryStream*>(p);
  ClearHistory(&history);
}

// Drawing selections through the document: a second one is combined into
// the first by its own kind; one enclosing nothing goes with nothing
// pending.
TEST(DocumentSelection, DrawnSelectionsCombine) {
  TTestDocument d(40, 30);
  auto draw = [&](Integer Kind, const TRect& R) {
    d->CreateShape(TShapeType::shSelection);
    ASSERT_NE(d->Shape(), nullptr);
    d->Shape()->SetStyleId(Kind);
    d->DrawShape(R.Left, R.Top, R.Right, R.Bottom);
    d->CreateShapeOver(false);
  };
  draw(0, TRect(2, 2, 10, 8));
  ASSERT_NE(d->Selection(), nullptr);
  d->SetSelectionExpanding(true);
  draw(1, TRect(20, 10, 24, 14));
  Integer selections = 0;
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) selections += CellInt(d->DT()->Items(i), 1) == 14;
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(d->Shape(), d->Selection());
  EXPECT_EQ(d->Selection()->Region().PixelCount(), 8 * 6 + 12);  // the ellipse of 4 x 4 without corners
  d->DeleteSelectionCropShape(false);
  d->SetModified(false);
  draw(0, TRect(5, 5, 5, 9));  // no width
  EXPECT_EQ(d->Selection(), nullptr);
  EXPECT_FALSE(d->Modified());
  EXPECT_FALSE(d->ShapeCreating());
}

// Dragging a floating picture redraws only the old and new boxes, and the
// view equals a full composition after every step; the same with a crop
// frame of style 0.
TEST(DocumentSelection, DragStepsEqualAFullDraw) {
  TTestDocument d(40, 30);
  PaintRaster(d);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 2, 36, 12)));
  TImgSelection* s = AddSelection(d, TRect(4, 4, 12, 10));
  ASSERT_NE(s, nullptr);
  d->SelectShape(TSelectMode::selNone, 0);
  d->ClickShape(TSelectMode::selOne, s->Id());
  ASSERT_EQ(d->Shape(), s);
  s->SetUseMoveSelection(true);
  d->Draw();
  d->MovePrepare();
  for (Integer step = 1; step <= 4; ++step) {
    d->MoveShape(6, 6, 6 + 3 * step, 6 + step);
    const std::vector<TColor32> stepped = Pixels(d->Bitmap());
    d->Draw();
    EXPECT_EQ(stepped, Pixels(d->Bitmap())) << step;
  }
  EXPECT_NE(s->SelBitmap(), nullptr);
}
