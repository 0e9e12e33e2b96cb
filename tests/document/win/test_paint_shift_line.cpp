// The brush and the clone stamp held on a Shift-locked line: each dab
// position along the line is laid once, so the line is the same whether the
// drag arrives in one move or in many (a half-strength brush would otherwise
// darken with every move), and the later moves of a long drag do not redo
// the start of the line.
#include "common/gtest.h"

#include <vector>

#include "document/PaintStroke.h"
#include "document/win/StylePacks.h"
#include "tests/document/win/document_fixture.h"

namespace {

// Row 0 of a brush pack: a soft disc, spacing a quarter of the width.
class TSoftPack {
 public:
  TSoftPack() {
    BrushPackDT = &FTable;
    TRow* r = FTable.AddItem(RowText(12, {{8, u"False"}, {9, u"4"}, {10, u"0"}}));
    auto* tip = new TBitmap32();
    tip->SetSize(16, 16);
    for (Integer y = 0; y < 16; ++y)
      for (Integer x = 0; x < 16; ++x) {
        const Integer d2 = (x - 8) * (x - 8) + (y - 8) * (y - 8);
        const Byte v = Byte(std::min(255, d2 * 255 / 64));
        tip->SetPixel(x, y, Color32FromRGBA(v, v, v, 255));
      }
    r->SetData(tip);
  }
  ~TSoftPack() {
    for (Integer i = 0; i < FTable.ItemCount(); ++i) delete static_cast<TBitmap32*>(FTable.Items(i)->Data());
    BrushPackDT = nullptr;
  }

 private:
  TDataTable FTable;
};

// Presses at (10, 30) with Shift held and drags to the right through Xs (the
// hand wobbling a pixel up and down); the raster afterwards.
std::vector<TColor32> ShiftDrag(TProcessBitmapMode Mode, const std::vector<Integer>& Xs, TBitmap32* Source,
                                const char16_t* Picture = nullptr) {
  TTestDocument d(160, 60);
  for (Integer y = 0; y < 60; ++y)
    for (Integer x = 0; x < 160; ++x) d->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 3 / 2) << 8 | 0xC0);
  StampSourceBmp = Source;
  StampSourcePoint = TPoint(0, 0);
  d->SetProcessMode(Mode);
  d->SetProcessWidth(12);
  d->SetProcessBrushFlow(50);
  d->SetPressSht(true);
  d->SetProcessX(UnsetPosition);
  d->SetProcessStampStartX(UnsetPosition);
  d->ProcessBitmapBegin(10, 30, 255, 0x2040C0, 0);
  d->SetLeftMouseDown(true);
  d->ProcessBitmap(false, 10, 30);
  Integer wobble = 1;
  for (Integer x : Xs) {
    d->ProcessBitmap(true, x, 30 + wobble);
    wobble = -wobble;
  }
  EXPECT_EQ(d->ProcessDirection(), 1);
  d->SetLeftMouseDown(false);
  d->ProcessBitmapEnd();
  StampSourceBmp = nullptr;
  if (Picture) SaveReviewPicture(Picture, d->SrcBmp());
  const TColor32* p = d->SrcBmp()->Bits();
  return std::vector<TColor32>(p, p + 160 * 60);
}

TEST(PaintShiftLine, ManyMovesPaintTheSameLineAsOne) {
  TSoftPack pack;
  TBitmap32 source;
  source.SetSize(200, 100);
  for (Integer y = 0; y < 100; ++y)
    for (Integer x = 0; x < 200; ++x) source.SetPixel(x, y, 0xFF000000u | TColor32(y * 2) << 16 | (TColor32(x) & 0xFF));
  std::vector<Integer> many;
  for (Integer x = 14; x <= 130; x += 4) many.push_back(x);
  struct TCase {
    const char* Name;
    TProcessBitmapMode Mode;
    const char16_t* Picture;
  };
  const TCase cases[] = {{"brush", TProcessBitmapMode::pbmBrush, u"shift_line_brush"},
                         {"stamp", TProcessBitmapMode::pbmStamp, u"shift_line_stamp"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    // The lock is taken on the first move of 5 pixels or more; then one move
    // to the end, or thirty moves of four pixels.
    const std::vector<TColor32> once = ShiftDrag(c.Mode, {14, 130}, &source);
    const std::vector<TColor32> inSteps = ShiftDrag(c.Mode, many, &source, c.Picture);
    size_t differ = 0;
    for (size_t i = 0; i < once.size(); ++i) differ += once[i] != inSteps[i];
    EXPECT_EQ(differ, 0u);
    // Something was painted along the line, on the press point's row only
    // (rows 30 .. 41 for the 12-pixel brush), and nothing past its end.
    size_t changed = 0;
    for (Integer y = 0; y < 60; ++y)
      for (Integer x = 0; x < 160; ++x) {
        const TColor32 before = 0xFF000000u | TColor32(x * 3 / 2) << 8 | 0xC0;
        if (once[size_t(y) * 160 + x] == before) continue;
        ++changed;
        EXPECT_TRUE(y >= 30 && y < 42 && x >= 10 && x < 142) << x << "," << y;
      }
    EXPECT_GT(changed, 500u);
  }
}

}  // namespace
