// The gradient tool on a document: the end colours held beyond the drag for
// every type, type 2 changing nothing, the write-back into the selected
// pixels (also for a selection hanging off the raster) and into a lifted
// picture.
#include "common/gtest.h"

#include <cstdlib>

#include "document/SelectionCore.h"
#include "document/UndoSteps.h"
#include "document/win/ImageSelection.h"
#include "tests/document/win/document_fixture.h"

namespace {

const TArrayOfGPColor kColors = {TGPColor(0xFFFF0000u), TGPColor(0xFF00FF00u), TGPColor(0xFF0000FFu)};
const TArrayOfSingle kPositions = {0, 0.5f, 1};

bool Near(TColor32 A, TColor32 B, Integer Tol = 8) {
  for (int k = 0; k < 32; k += 8)
    if (std::abs(Integer((A >> k) & 0xFF) - Integer((B >> k) & 0xFF)) > Tol) return false;
  return true;
}

// The colour's channel clearly up, the others clearly down: pixels are
// sampled at their centres, half a pixel from where a stop is placed.
bool Dominant(TColor32 P, TColor32 C) {
  for (int k = 0; k < 24; k += 8) {
    const Integer v = Integer((P >> k) & 0xFF);
    if (((C >> k) & 0xFF) ? v < 200 : v > 60) return false;
  }
  return (P >> 24) == 0xFF;
}

void Drag(TImageDraw* D, TPoint S, TPoint E) {
  D->SetGradientStartX(S.X);
  D->SetGradientStartY(S.Y);
  D->SetMovedX(E.X);
  D->SetMovedY(E.Y);
}

TImgSelection* AddSelection(TTestDocument& d, const TRect& R, Integer Kind) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, IntToStr(Kind)}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(false)) return nullptr;
  return s;
}

}  // namespace

// The first colour at (and before) S, the last at E and beyond.
TEST(DocumentGradient, EndColoursPerType) {
  const struct {
    const char* Name;
    Integer Type;
    TPoint S, E;
    std::vector<TPoint> First, Last;
  } cases[] = {
      {"linear short", 0, TPoint(40, 30), TPoint(60, 30), {TPoint(2, 5), TPoint(38, 55)}, {TPoint(62, 5), TPoint(97, 55)}},
      {"linear edge to edge", 0, TPoint(0, 30), TPoint(100, 30), {TPoint(0, 0)}, {TPoint(99, 59)}},
      {"reflected", 3, TPoint(50, 30), TPoint(70, 30), {TPoint(50, 3)}, {TPoint(75, 10), TPoint(25, 10), TPoint(2, 50)}},
      {"radial short", 1, TPoint(50, 30), TPoint(60, 30), {TPoint(50, 30)}, {TPoint(0, 0), TPoint(99, 59), TPoint(50, 45)}},
      {"radial long", 1, TPoint(50, 30), TPoint(50, 130), {TPoint(50, 30)}, {}},
      {"diamond", 4, TPoint(50, 30), TPoint(60, 30), {TPoint(50, 30)}, {TPoint(0, 0), TPoint(99, 59)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(100, 60);
    d->SrcBmp()->Clear(0xFF808080u);
    Drag(d.Get(), c.S, c.E);
    d->GradientDo(c.Type, kColors, kPositions);
    for (const TPoint& p : c.First)
      EXPECT_TRUE(Dominant(d->SrcBmp()->GetPixel(p.X, p.Y), 0xFFFF0000u)) << p.X << "," << p.Y;
    for (const TPoint& p : c.Last)
      EXPECT_TRUE(Dominant(d->SrcBmp()->GetPixel(p.X, p.Y), 0xFF0000FFu)) << p.X << "," << p.Y;
    // Beyond the drag the end colours are held exactly.
    if (c.Type == 0 && c.S.X > 10) {
      EXPECT_TRUE(Near(d->SrcBmp()->GetPixel(2, 5), 0xFFFF0000u, 1));
      EXPECT_TRUE(Near(d->SrcBmp()->GetPixel(97, 55), 0xFF0000FFu, 1));
    }
    EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0xFF808080u; }), 0);  // the fill covers the raster
    EXPECT_TRUE(d->Modified());
    EXPECT_TRUE(d->SrcBmpChanged());
    SaveReviewPicture(String(u"gradient_") + IntToStr(c.Type) + u"_" + IntToStr(c.E.X) + u"_" + IntToStr(c.E.Y),
                      d->SrcBmp());
  }
}

TEST(DocumentGradient, TypeTwoChangesNothing) {
  TTestDocument d(40, 30);
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d->SaveUndoFirst();
  const std::vector<TColor32> before = Pixels(d->SrcBmp());
  d->SetModified(false);
  Drag(d.Get(), TPoint(5, 5), TPoint(30, 20));
  d->GradientDo(2, kColors, kPositions);
  d->SaveUndo();
  EXPECT_EQ(Pixels(d->SrcBmp()), before);
  EXPECT_FALSE(d->Modified());
  EXPECT_EQ(d->UndoCount(), 1);
  ClearHistory(&history);
}

// Inside the selected pixels the gradient is the one the whole raster gets
// from the same drag, pixel for pixel, for every painting type.
TEST(DocumentGradient, SelectionTakesTheWholeRastersPixels) {
  for (Integer type : {0, 1, 3, 4}) {
    SCOPED_TRACE(type);
    TTestDocument whole(120, 80);
    whole->SrcBmp()->Clear(0xFF808080u);
    Drag(whole.Get(), TPoint(50, 35), TPoint(75, 50));
    whole->GradientDo(type, kColors, kPositions);

    TTestDocument d(120, 80);
    d->SrcBmp()->Clear(0xFF808080u);
    TImgSelection* s = AddSelection(d, TRect(0, 0, 4, 4), SelKind::Rectangle);
    ASSERT_NE(s, nullptr);
    s->Core().SetRegion(TRegion::FromRuns(EllipseRuns(TRect(30, 20, 95, 70))));
    Drag(d.Get(), TPoint(50, 35), TPoint(75, 50));
    d->GradientDo(type, kColors, kPositions);
    Integer inside = 0;
    for (Integer y = 0; y < 80; ++y)
      for (Integer x = 0; x < 120; ++x)
        if (s->Region().Contains(x, y)) {
          ++inside;
          ASSERT_EQ(d->SrcBmp()->GetPixel(x, y), whole->SrcBmp()->GetPixel(x, y)) << x << "," << y;
        }
    EXPECT_GT(inside, 0);
  }
}

// Only the region's pixels change, also for a selection hanging off the
// raster; a lifted picture takes the gradient inside the region and where
// it shows, and the raster stays.
TEST(DocumentGradient, SelectionWriteBack) {
  for (const TRect& r : {TRect(20, 10, 80, 50), TRect(70, 40, 130, 90), TRect(150, 150, 170, 170)}) {
    SCOPED_TRACE(r.Left);
    TTestDocument d(100, 60);
    d->SrcBmp()->Clear(0xFF808080u);
    TImgSelection* s = AddSelection(d, TRect(0, 0, 4, 4), SelKind::Rectangle);
    ASSERT_NE(s, nullptr);
    s->Core().SetRegion(TRegion::FromRuns(EllipseRuns(r)));
    Drag(d.Get(), TPoint(10, 10), TPoint(90, 50));
    d->GradientDo(0, kColors, kPositions);
    for (Integer y = 0; y < 60; ++y)
      for (Integer x = 0; x < 100; ++x)
        ASSERT_EQ(d->SrcBmp()->GetPixel(x, y) == 0xFF808080u, !s->Region().Contains(x, y)) << x << "," << y;
    EXPECT_EQ(d->SrcBmp_T(), nullptr);
  }

  TTestDocument d(100, 60);
  d->SrcBmp()->Clear(0xFF808080u);
  TImgSelection* s = AddSelection(d, TRect(20, 10, 60, 40), SelKind::Ellipse);
  ASSERT_NE(s, nullptr);
  s->SetUseMoveSelection(true);
  s->Click();
  s->MoveShape(0, 0, 10, 5);
  ASSERT_NE(s->SelBitmap(), nullptr);
  const std::vector<TColor32> raster = Pixels(d->SrcBmp());
  TBitmap32* lifted = s->SelBitmap();
  const TRect box = s->Region().Box();
  std::vector<bool> shows(size_t(lifted->Width()) * lifted->Height());
  for (Integer y = 0; y < lifted->Height(); ++y)
    for (Integer x = 0; x < lifted->Width(); ++x)
      shows[size_t(y) * lifted->Width() + x] = (lifted->GetPixel(x, y) >> 24) > 0 || s->Region().Contains(box.Left + x, box.Top + y);
  Drag(d.Get(), TPoint(30, 30), TPoint(70, 30));
  d->GradientDo(0, kColors, kPositions);
  EXPECT_EQ(Pixels(d->SrcBmp()), raster);
  EXPECT_TRUE(s->BitmapChanged());
  for (Integer y = 0; y < lifted->Height(); ++y)
    for (Integer x = 0; x < lifted->Width(); ++x) {
      const TColor32 p = lifted->GetPixel(x, y);
      if (shows[size_t(y) * lifted->Width() + x]) {
        ASSERT_EQ(p >> 24, 0xFFu) << x << "," << y;
        if (box.Left + x <= 29) {
          ASSERT_TRUE(Near(p, 0xFFFF0000u)) << x << "," << y;
        }
      } else {
        ASSERT_EQ(p >> 24, 0u) << x << "," << y;
      }
    }
  d->Draw();
  SaveReviewPicture(u"gradient_into_lifted_selection", d->Bitmap());
}
