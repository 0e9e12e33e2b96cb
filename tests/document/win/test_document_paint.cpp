// The paint tools on a document: pencil strokes at full and half opacity,
// the eraser, the Shift lock, brush spacing and the stroke opacity, the
// per-move recomposition against a dab-by-dab run, brush packs without the
// row, and the clone offset kept across strokes.
#include "common/gtest.h"

#include <cstdlib>
#include <random>

#include "bitmap/Bmp32_Filters.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "document/PaintStroke.h"
#include "document/win/StylePacks.h"
#include "tests/document/win/document_fixture.h"

namespace {

void PaintRamp(TCustomBitmap32* B) {
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x)
      B->SetPixel(x, y, 0xFF000000u | TColor32((x * 3) & 0xFF) << 16 | TColor32((y * 5) & 0xFF) << 8 | 0x80);
}

// A brush pack in memory: rows of cells 8 (fixed spacing), 9, 10 and a tip
// picture (a dark disc on white), or none.
class TTestPack {
 public:
  TTestPack() { BrushPackDT = &FTable; }
  ~TTestPack() {
    for (Integer i = 0; i < FTable.ItemCount(); ++i) delete static_cast<TBitmap32*>(FTable.Items(i)->Data());
    BrushPackDT = nullptr;
  }
  void AddRow(bool Fixed, Integer Cell9, Integer Cell10, bool WithTip, Integer TipSize = 16) {
    TRow* r = FTable.AddItem(RowText(12, {{8, Fixed ? u"True" : u"False"}, {9, IntToStr(Cell9)}, {10, IntToStr(Cell10)}}));
    if (!WithTip) return;
    auto* tip = new TBitmap32();
    tip->SetSize(TipSize, TipSize);
    const Integer c = TipSize / 2;
    for (Integer y = 0; y < TipSize; ++y)
      for (Integer x = 0; x < TipSize; ++x) {
        const Integer d2 = (x - c) * (x - c) + (y - c) * (y - c);
        const Byte v = Byte(std::min(255, d2 * 255 / (c * c)));
        tip->SetPixel(x, y, Color32FromRGBA(v, v, v, 255));
      }
    r->SetData(tip);
  }

 private:
  TDataTable FTable;
};

void Stroke(TImageDraw* D, const std::vector<TPoint>& Points) {
  D->SetLeftMouseDown(true);
  D->ProcessBitmap(false, Points[0].X, Points[0].Y);
  for (size_t i = 1; i < Points.size(); ++i) D->ProcessBitmap(true, Points[i].X, Points[i].Y);
  D->SetLeftMouseDown(false);
}

}  // namespace

TEST(DocumentPaint, PencilAndEraser) {
  TTestDocument d(40, 30);
  PaintRamp(d->SrcBmp());
  const std::vector<TColor32> start = Pixels(d->SrcBmp());
  d->SetProcessMode(TProcessBitmapMode::pbmPencil);
  d->SetProcessWidth(3);
  d->ProcessBitmapBegin(5, 5, 255, 0x0000FF, -1);
  Stroke(d.Get(), {TPoint(5, 5), TPoint(15, 5)});
  d->ProcessBitmapEnd();
  EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0xFFFF0000u; }), 13 * 3);
  EXPECT_EQ(d->ProcessX(), 15);
  EXPECT_TRUE(d->SrcBmpChanged());

  // Half opacity: back and forth over the same pixels equals one pass.
  TTestDocument once(40, 30), twice(40, 30);
  for (TTestDocument* t : {&once, &twice}) {
    PaintRamp((*t)->SrcBmp());
    (*t)->SetProcessMode(TProcessBitmapMode::pbmPencil);
    (*t)->SetProcessWidth(4);
    (*t)->SetProcessX(UnsetPosition);
    (*t)->ProcessBitmapBegin(5, 10, 128, 0x00FF00, -1);
  }
  Stroke(once.Get(), {TPoint(5, 10), TPoint(25, 12)});
  Stroke(twice.Get(), {TPoint(5, 10), TPoint(25, 12), TPoint(5, 10), TPoint(25, 12)});
  EXPECT_EQ(Pixels(once->SrcBmp()), Pixels(twice->SrcBmp()));
  TCustomBitmap32 want;
  want.Assign(d->SrcBmp());
  want.SetSize(1, 1);
  want.SetPixel(0, 0, start[11 * 40 + 15]);
  want.FillRectTS(TRect(0, 0, 1, 1), 0x8000FF00u);
  EXPECT_EQ(once->SrcBmp()->GetPixel(15, 11), want.GetPixel(0, 0));
  SaveReviewPicture(u"paint_pencil_128", once->SrcBmp());

  d->SetProcessMode(TProcessBitmapMode::pbmEraser);
  d->SetProcessWidth(5);
  d->ProcessBitmapBegin(20, 20, 255, 0, -1);
  d->SetProcessX(UnsetPosition);
  Stroke(d.Get(), {TPoint(20, 20)});
  d->ProcessBitmapEnd();
  EXPECT_EQ(d->SrcBmp()->GetPixel(22, 22), 0x00FFFFFFu);
  EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0x00FFFFFFu; }), 25);
}

// With Shift, a move of 4 pixels paints nothing; at 5 pixels and about 31
// degrees the stroke locks to horizontal at the press point's y.
TEST(DocumentPaint, ShiftLock) {
  TTestDocument d(60, 40);
  d->SrcBmp()->Clear(0xFFFFFFFFu);
  d->SetProcessMode(TProcessBitmapMode::pbmPencil);
  d->SetProcessWidth(1);
  d->SetPressSht(true);
  d->SetProcessX(UnsetPosition);
  d->ProcessBitmapBegin(20, 20, 255, 0, -1);
  d->SetLeftMouseDown(true);
  d->ProcessBitmap(false, 20, 20);
  const Integer afterPress = CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0xFF000000u; });
  d->ProcessBitmap(true, 24, 20);
  EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0xFF000000u; }), afterPress);
  EXPECT_EQ(d->ProcessDirection(), 0);
  d->ProcessBitmap(true, 25, 23);
  EXPECT_EQ(d->ProcessDirection(), 1);
  d->ProcessBitmap(true, 35, 30);
  d->SetLeftMouseDown(false);
  d->ProcessBitmapEnd();
  for (Integer x = 20; x <= 35; ++x) EXPECT_EQ(d->SrcBmp()->GetPixel(x, 20), 0xFF000000u) << x;
  EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 P) { return P == 0xFF000000u; }), 16);
}

// A fixed spacing of 10 keeps dabs 10 pixels apart; the layer reaches the
// raster at most at the stroke opacity.
TEST(DocumentPaint, BrushSpacingAndOpacity) {
  TTestPack pack;
  pack.AddRow(true, 10, 0, true);
  TTestDocument d(80, 30);
  d->SrcBmp()->Clear(0xFFFFFFFFu);
  d->SetProcessMode(TProcessBitmapMode::pbmBrush);
  d->SetProcessWidth(4);
  d->SetProcessBrushFlow(100);
  d->SetProcessX(UnsetPosition);
  d->ProcessBitmapBegin(0, 10, 128, 0x000000, 0);
  Stroke(d.Get(), {TPoint(0, 10), TPoint(50, 10)});
  ASSERT_NE(d->SrcBmp_T2(), nullptr);
  // Dabs at x = 0, 10, .., 50: columns of painted layer pixels in groups.
  std::string columns;
  for (Integer x = 0; x < 60; ++x) columns += (d->SrcBmp_T2()->GetPixel(x, 12) >> 24) ? '#' : '.';
  EXPECT_EQ(columns, "####......####......####......####......####......####......");
  for (Integer x = 0; x < 60; ++x) EXPECT_GE((d->SrcBmp()->GetPixel(x, 12) >> 16) & 0xFF, 126u) << x;
  d->ProcessBitmapEnd();
  EXPECT_EQ(d->SrcBmp_T2(), nullptr);
}

// A brush pack without the row, or a row with a divisor of 0: nothing is
// painted, nothing fails.
TEST(DocumentPaint, BrushPackWithoutTheRow) {
  for (Integer rows : {0, 1}) {
    SCOPED_TRACE(rows);
    TTestPack pack;
    if (rows) pack.AddRow(false, 0, 0, false);
    TTestDocument d(40, 30);
    PaintRamp(d->SrcBmp());
    const std::vector<TColor32> start = Pixels(d->SrcBmp());
    for (TProcessBitmapMode m : {TProcessBitmapMode::pbmBrush, TProcessBitmapMode::pbmStamp}) {
      d->SetProcessMode(m);
      d->SetProcessWidth(6);
      d->SetProcessX(UnsetPosition);
      d->ProcessBitmapBegin(3, 3, 255, 0xFF, rows ? 0 : 5);
      Stroke(d.Get(), {TPoint(3, 3), TPoint(30, 20)});
      d->ProcessBitmapEnd();
    }
    EXPECT_EQ(Pixels(d->SrcBmp()), start);
  }
}

// Each move recomposes the raster once over its dabs; the pixels equal a
// run that puts every dab on the layer and recomposes its square at once.
TEST(DocumentPaint, MoveRecompositionEqualsDabByDab) {
  TTestPack pack;
  pack.AddRow(false, 4, 1, true, 20);
  std::mt19937 rng(99);
  for (Integer round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    TTestDocument d(90, 70);
    PaintRamp(d->SrcBmp());
    TCustomBitmap32 start;
    start.Assign(d->SrcBmp());
    d->SetProcessMode(TProcessBitmapMode::pbmBrush);
    d->SetProcessWidth(12);
    d->SetProcessBrushFlow(60);
    d->SetProcessX(UnsetPosition);
    d->ProcessBitmapBegin(10, 10, 200, 0x2040C0, 0);
    std::vector<TPoint> path;
    for (Integer k = 0; k < 8; ++k) path.push_back(TPoint(Integer(rng() % 80) - 5, Integer(rng() % 60) - 5));
    // The literal run: the same dabs in the same order.
    TBitmap32 brush, layer, raster;
    layer.SetSize(90, 70);
    layer.Clear(0);
    layer.SetDrawMode(dmBlend);
    layer.SetCombineMode(cmMerge);
    layer.SetMasterAlpha(200);
    raster.Assign(&start);
    Stroke(d.Get(), path);
    // Rebuild the brush as the document made it.
    TCustomBitmap32 inverted, mask;
    TBitmap32* tip = static_cast<TBitmap32*>(BrushPackDT->Items(0)->Data());
    inverted.SetSize(tip->Width(), tip->Height());
    InvertRGB(&inverted, tip);
    ResizeBitmap(&inverted, &mask, 12, 12);
    brush.SetSize(12, 12);
    brush.Clear(Color32(TColor(0x2040C0)) | 0xFF000000u);
    IntensityToAlpha(&brush, &mask);
    brush.SetDrawMode(dmBlend);
    brush.SetCombineMode(cmMerge);
    brush.SetMasterAlpha(Cardinal(PercentAlpha(60)));
    TPoint last(UnsetPosition, 0);
    const Integer step = BrushStep(false, 4, 1, 12);
    TPoint from = path[0];
    for (size_t i = 0; i < path.size(); ++i) {
      for (const TPoint& p : StrokeLinePoints(from.X, from.Y, path[i].X, path[i].Y)) {
        if (!DabFarEnough(last, p, step)) continue;
        layer.Draw(p.X, p.Y, &brush);
        TRect r;
        if (IntersectRects(r, TRect(p.X, p.Y, p.X + 12, p.Y + 12), raster.BoundsRect()) && r.Width() > 0 &&
            r.Height() > 0) {
          for (Integer y = r.Top; y < r.Bottom; ++y) std::copy_n(start.PixelPtr(r.Left, y), r.Width(), raster.PixelPtr(r.Left, y));
          raster.Draw(r.Left, r.Top, r, &layer);
        }
        last = p;
      }
      from = path[i];
    }
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&raster));
    EXPECT_NE(Pixels(d->SrcBmp()), Pixels(&start));
    if (round == 0) SaveReviewPicture(u"paint_brush_soft", d->SrcBmp());
    d->ProcessBitmapEnd();
  }
}

// The clone source is displaced from the painted spot by the picked point
// minus the first dab after the pick, for this and later strokes.
TEST(DocumentPaint, CloneOffsetKeptAcrossStrokes) {
  TTestPack pack;
  pack.AddRow(true, 1, 0, false);  // no tip: the stamp copies its square
  TTestDocument d(80, 60);
  PaintRamp(d->SrcBmp());
  TBitmap32 source;
  source.Assign(d->SrcBmp());
  StampSourceBmp = &source;
  StampSourcePoint = TPoint(10, 12);
  d->SetProcessStampStartX(UnsetPosition);
  d->SetProcessMode(TProcessBitmapMode::pbmStamp);
  d->SetProcessWidth(6);
  d->SetProcessBrushFlow(100);
  for (TPoint at : {TPoint(40, 30), TPoint(55, 40)}) {
    SCOPED_TRACE(at.X);
    d->SetProcessX(UnsetPosition);
    d->ProcessBitmapBegin(at.X, at.Y, 255, 0, 0);
    Stroke(d.Get(), {at});
    d->ProcessBitmapEnd();
    EXPECT_EQ(d->ProcessStampStartX(), 40);
    EXPECT_EQ(d->ProcessStampStartY(), 30);
    // Dab pixel (at + k) shows source (at + k + picked - first - 3).
    for (Integer k = 0; k < 6; ++k) {
      const TColor32 got = d->SrcBmp()->GetPixel(at.X + k, at.Y + k);
      const TColor32 src = source.GetPixel(at.X + k + 10 - 40 - 3, at.Y + k + 12 - 30 - 3);
      for (int c = 0; c < 24; c += 8) EXPECT_LE(std::abs(Integer((got >> c) & 0xFF) - Integer((src >> c) & 0xFF)), 1) << k;
    }
  }
  StampSourceBmp = nullptr;
}
