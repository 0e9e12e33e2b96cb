// The effect brushes on a document: the eraser bringing back exact pixels,
// spacing of 2 and 4, the raster's own alpha under a dab, bokeh left
// without a stroke leaving nothing to redo, warp steps stored once, the
// highlighter's multiply layer; review pictures of every mode.
#include "common/gtest.h"

#include <cstdlib>

#include "document/UndoSteps.h"
#include "tests/document/win/document_fixture.h"

namespace {

void PaintPhoto(TCustomBitmap32* B) {
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x) {
      const Integer v = ((x / 6 + y / 6) % 2) * 120;
      B->SetPixel(x, y, Color32FromRGBA(Byte(60 + v), Byte(x * 2 & 0xFF), Byte(200 - v), 255));
    }
}

void Stroke(TImageDraw* D, std::initializer_list<TPoint> Points) {
  bool first = true;
  for (const TPoint& p : Points) {
    if (first) D->EffectDrawPrepare(ssLeft, p.X, p.Y);
    D->EffectDrawDo(true, ssLeft, p.X, p.Y);
    first = false;
  }
  D->EffectDrawEnd();
}

}  // namespace

// Blurring dabs, then eraser dabs at the same centres: the centre pixels
// are the unblurred ones again.
TEST(DocumentEffectBrush, EraserBringsBackExactPixels) {
  TTestDocument d(80, 60);
  PaintPhoto(d->SrcBmp());
  const std::vector<TColor32> start = Pixels(d->SrcBmp());
  d->SetEffectMode(TEffectMode::emBlurring);
  d->SetEffectDrawRadius(8);
  d->EffectDrawBegin(6);
  Stroke(d.Get(), {TPoint(20, 20), TPoint(40, 30)});
  EXPECT_NE(d->SrcBmp()->GetPixel(20, 20), start[20 * 80 + 20]);
  d->SetEffectDrawErase(true);
  Stroke(d.Get(), {TPoint(20, 20), TPoint(40, 30)});
  EXPECT_EQ(d->SrcBmp()->GetPixel(20, 20), start[20 * 80 + 20]);
  EXPECT_EQ(d->SrcBmp()->GetPixel(40, 30), start[30 * 80 + 40]);
  d->SetEffectDrawErase(false);
  d->EffectDrawOver(false);
  EXPECT_FALSE(d->EffectDrawing());
  EXPECT_EQ(d->SrcBmp_T(), nullptr);
}

// Moves of 3 pixels add no blurring dab (spacing 4) but a mosaic one
// (spacing 2); under a dab the raster keeps the source's alpha.
TEST(DocumentEffectBrush, SpacingAndAlpha) {
  for (TEffectMode mode : {TEffectMode::emBlurring, TEffectMode::emMosaic}) {
    SCOPED_TRACE(Integer(mode));
    TTestDocument d(60, 40);
    PaintPhoto(d->SrcBmp());
    for (Integer x = 0; x < 60; ++x) d->SrcBmp()->SetPixel(x, 20, (d->SrcBmp()->GetPixel(x, 20) & 0xFFFFFFu) | 0x80000000u);
    d->SetEffectMode(mode);
    d->SetEffectDrawRadius(5);
    d->EffectDrawBegin(6);
    d->EffectDrawDo(true, ssLeft, 20, 20);
    const std::vector<TColor32> one = Pixels(d->SrcBmp());
    d->EffectDrawDo(true, ssLeft, 23, 20);
    const bool moved = Pixels(d->SrcBmp()) != one;
    EXPECT_EQ(moved, mode == TEffectMode::emMosaic);
    for (Integer x = 15; x < 25; ++x) EXPECT_EQ(d->SrcBmp()->GetPixel(x, 20) >> 24, d->SrcBmp_T()->GetPixel(x, 20) >> 24) << x;
    EXPECT_EQ(d->SrcBmp()->GetPixel(40, 20) >> 24, 0x80u);  // outside every dab
    d->EffectDrawEnd();
    d->EffectDrawOver(false);
  }
}

// Bokeh changes the raster and stores steps when it begins (and when its
// strength changes); left without a stroke, the raster is as before and
// no step of it can be redone.
TEST(DocumentEffectBrush, BokehWithoutAStrokeLeavesNothingToRedo) {
  for (TEffectMode mode : {TEffectMode::emBokeh, TEffectMode::emColoring}) {
    SCOPED_TRACE(Integer(mode));
    TTestDocument d(40, 30);
    PaintPhoto(d->SrcBmp());
    TDataTable history;
    d->SetUndoDT(&history);
    d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
    d->SaveUndoFirst();
    const std::vector<TColor32> start = Pixels(d->SrcBmp());
    d->SetEffectMode(mode);
    d->SetEffectDrawRadius(6);
    d->EffectDrawBegin(4);
    d->EffectDrawReBegin(7, false);
    d->EffectDrawReBegin(9, false);
    EXPECT_NE(Pixels(d->SrcBmp()), start);
    EXPECT_GT(d->UndoCount(), 1);
    d->EffectDrawOver(false);
    EXPECT_EQ(Pixels(d->SrcBmp()), start);
    EXPECT_EQ(d->UndoCount(), 1);
    EXPECT_EQ(d->UndoIndex(), 0);
    ClearHistory(&history);
  }
}

// Warp strokes keep the document unmodified until the drawing ends, which
// stores one step named as effect drawing.
TEST(DocumentEffectBrush, WarpStepStoredAtTheEnd) {
  for (TEffectMode mode : {TEffectMode::emWarping, TEffectMode::emZooming, TEffectMode::emTwirling}) {
    SCOPED_TRACE(Integer(mode));
    TTestDocument d(60, 40);
    PaintPhoto(d->SrcBmp());
    TDataTable history;
    d->SetUndoDT(&history);
    d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
    d->SaveUndoFirst();
    const std::vector<TColor32> start = Pixels(d->SrcBmp());
    d->SetEffectMode(mode);
    d->SetEffectDrawRadius(10);
    d->EffectDrawBegin(80);
    Stroke(d.Get(), {TPoint(30, 20), TPoint(34, 21), TPoint(38, 22)});
    EXPECT_NE(Pixels(d->SrcBmp()), start);
    EXPECT_FALSE(d->Modified());
    EXPECT_EQ(d->UndoCount(), 1);
    SaveReviewPicture(String(u"brush_warp_") + IntToStr(Integer(mode)), d->SrcBmp());
    d->EffectDrawOver(false);
    ASSERT_EQ(d->UndoCount(), 2);
    EXPECT_EQ(history.Items(1)->Items(UndoCell::StateName)->Text(), String(u"EffectDraw"));
    ClearHistory(&history);
  }
  // A radius of 0 gives a brush of two pixels, not a division by zero.
  TTestDocument d(20, 20);
  d->SetEffectMode(TEffectMode::emTwirling);
  d->SetEffectDrawRadius(0);
  d->EffectDrawBegin(50);
  ASSERT_NE(d->Warping(), nullptr);
  EXPECT_EQ(d->Warping()->CurrentBrush(btmLeft)->Width(), 2);
  d->EffectDrawOver(true);
}

// The highlighter darkens through its multiply layer along the stroke and
// leaves the rest of the raster alone.
TEST(DocumentEffectBrush, Highlighter) {
  TTestDocument d(80, 40);
  d->SrcBmp()->Clear(0xFFC0C0C0u);
  d->SetEffectMode(TEffectMode::emHighlighter);
  d->SetEffectDrawRadius(4);
  d->SetEffectDrawColor(0x00FFFF);  // yellow
  d->EffectDrawBegin(0);
  d->EffectDrawDo(false, 0, 10, 20);
  Stroke(d.Get(), {TPoint(10, 20), TPoint(40, 20), TPoint(70, 20)});
  const TColor32 on = d->SrcBmp()->GetPixel(40, 20);
  EXPECT_LT(on & 0xFF, 0x60u);               // blue multiplied away
  EXPECT_GE((on >> 16) & 0xFF, 0xB0u);       // red kept
  EXPECT_EQ(d->SrcBmp()->GetPixel(40, 2), 0xFFC0C0C0u);
  EXPECT_FALSE(d->Modified());
  SaveReviewPicture(u"brush_highlighter", d->SrcBmp());
  d->EffectDrawOver(false);
  EXPECT_TRUE(d->Modified());
}

// Review pictures: every dab mode along a stroke, and the same in eraser
// mode after it.
TEST(DocumentEffectBrush, ReviewPictures) {
  const TEffectMode modes[] = {TEffectMode::emMosaic,    TEffectMode::emBlurring,   TEffectMode::emSharpening,
                               TEffectMode::emBokeh,     TEffectMode::emColoring,   TEffectMode::emColorize,
                               TEffectMode::emColorDodge, TEffectMode::emColorBurn, TEffectMode::emSaturation,
                               TEffectMode::emRedEye};
  TBitmap32 sheet;
  sheet.SetSize(2 * 84, Integer(std::size(modes)) * 44);
  sheet.Clear(0xFF808080u);
  Integer row = 0;
  for (TEffectMode m : modes) {
    for (bool erase : {false, true}) {
      TTestDocument d(80, 40);
      PaintPhoto(d->SrcBmp());
      d->SetEffectMode(m);
      d->SetEffectDrawRadius(7);
      d->EffectDrawBegin(m == TEffectMode::emColorize ? 0xFFFF8000u : m == TEffectMode::emSaturation ? 80u : 6u);
      Stroke(d.Get(), {TPoint(10, 20), TPoint(20, 15), TPoint(30, 20), TPoint(40, 25), TPoint(50, 20), TPoint(60, 15)});
      if (erase) {
        d->SetEffectDrawErase(true);
        Stroke(d.Get(), {TPoint(30, 20), TPoint(40, 25)});
        d->SetEffectDrawErase(false);
      }
      d->SrcBmp()->SetDrawMode(dmOpaque);
      sheet.Draw(erase ? 86 : 2, row * 44 + 2, d->SrcBmp());
      d->EffectDrawOver(false);
    }
    ++row;
  }
  SaveReviewPicture(u"brush_effects", &sheet);
}
