// Item backgrounds and the transparency checkerboard, probed pixel by pixel.
#include "common/gtest.h"

#include <string>
#include <vector>

#include "bitmap/win/Bmp32_Windowed.h"
#include "foundation/app/win/HyAppDraw.h"
#include "gdiplus/win/GdiPlus.h"
#include "platform/GdiPlusStatus.h"

namespace {

void EnsureGdiPlus() {
  if (!GdiPlusStarted()) GdiPlusStartup();
}

TColor32 FaceColor() {
  const COLORREF c = ::GetSysColor(COLOR_BTNFACE);
  return 0xFF000000u | (TColor32(GetRValue(c)) << 16) | (TColor32(GetGValue(c)) << 8) | GetBValue(c);
}

int Ch(TColor32 C, int Shift) { return int((C >> Shift) & 0xFF); }

std::string Hex(TColor32 C) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", C);
  return buf;
}

// ---- checkerboard ----------------------------------------------------------------

// The colour a pixel should have: button face outside Rect, else the cell's.
TColor32 BoardAt(Integer X, Integer Y, const TRect& R, Integer Cell, TColor32 Face) {
  if (X < R.Left || X >= R.Right || Y < R.Top || Y >= R.Bottom) return Face;
  const Integer row = (Y - R.Top) / Cell, col = (X - R.Left) / Cell;
  return (row % 2) == (col % 2) ? 0xFFCCCCCCu : 0xFFFFFFFFu;
}

TEST(AppCheckerBoard, CellsFromTheCornerClippedToRectAndBitmap) {
  struct Case {
    const char* What;
    Integer W, H;
    TRect R;
    Integer Cell;
  } cases[] = {
      {"20x20 with cells of 8 inside a larger bitmap", 30, 26, TRect{2, 3, 22, 23}, 8},
      {"rect partly left of and above the bitmap", 10, 10, TRect{-5, -6, 12, 12}, 4},
      {"rect past the right and bottom edges", 12, 9, TRect{3, 2, 40, 30}, 5},
      {"cells of one pixel", 6, 5, TRect{1, 1, 5, 4}, 1},
      {"cells larger than the rect", 10, 10, TRect{2, 2, 7, 9}, 16},
  };
  const TColor32 face = FaceColor();
  for (const Case& c : cases) {
    TBitmap32 bmp;
    bmp.SetSize(c.W, c.H);
    bmp.Clear(0x12345678);
    DrawCheckerBoard(&bmp, c.R, c.Cell);
    for (Integer y = 0; y < c.H; ++y)
      for (Integer x = 0; x < c.W; ++x)
        ASSERT_EQ(Hex(bmp.GetPixel(x, y)), Hex(BoardAt(x, y, c.R, c.Cell, face)))
            << c.What << " at " << x << "," << y;
  }
}

TEST(AppCheckerBoard, TwentyByTwentyInCellsOfEight) {
  TBitmap32 bmp;
  bmp.SetSize(20, 20);
  DrawCheckerBoard(&bmp, TRect{0, 0, 20, 20}, 8);
  // 3 x 3 cells: columns 0..7, 8..15 and 16..19 (4 px); the same for rows.
  struct Probe {
    Integer X, Y;
    TColor32 Color;
  } probes[] = {{0, 0, 0xFFCCCCCC},   {7, 7, 0xFFCCCCCC},  {8, 0, 0xFFFFFFFF},  {15, 7, 0xFFFFFFFF},
                {16, 0, 0xFFCCCCCC},  {19, 7, 0xFFCCCCCC}, {0, 8, 0xFFFFFFFF},  {8, 8, 0xFFCCCCCC},
                {19, 19, 0xFFCCCCCC}, {16, 16, 0xFFCCCCCC}, {15, 19, 0xFFFFFFFF}};
  for (const Probe& p : probes) EXPECT_EQ(Hex(bmp.GetPixel(p.X, p.Y)), Hex(p.Color)) << p.X << "," << p.Y;
}

TEST(AppCheckerBoard, NoCellsBelowSizeOneAndTheFaceColourIsTheSystems) {
  for (Integer cell : {0, -3}) {
    TBitmap32 bmp;
    bmp.SetSize(5, 4);
    DrawCheckerBoard(&bmp, TRect{0, 0, 5, 4}, cell);
    for (Integer y = 0; y < 4; ++y)
      for (Integer x = 0; x < 5; ++x) ASSERT_EQ(Hex(bmp.GetPixel(x, y)), Hex(FaceColor())) << cell;
  }
  // Another theme colour is followed, not a fixed grey.
  const INT element = COLOR_BTNFACE;
  const COLORREF old = ::GetSysColor(COLOR_BTNFACE), probe = RGB(1, 2, 3);
  ASSERT_TRUE(::SetSysColors(1, &element, &probe));
  TBitmap32 bmp;
  bmp.SetSize(4, 4);
  DrawCheckerBoard(&bmp, TRect{0, 0, 2, 2}, 1);
  ::SetSysColors(1, &element, &old);
  EXPECT_EQ(Hex(bmp.GetPixel(3, 3)), "FF010203");
  EXPECT_EQ(Hex(bmp.GetPixel(0, 0)), "FFCCCCCC");
}

// ---- item backgrounds ------------------------------------------------------------

struct TLook {
  TColor32 Pen;
  TColor32 Top, Bottom;  // ends of the gradient probed inside
};

// Each channel of C lies between those of A and B (with Slack).
::testing::AssertionResult Between(TColor32 C, TColor32 A, TColor32 B, int Slack = 1) {
  for (int s : {16, 8, 0}) {
    const int lo = std::min(Ch(A, s), Ch(B, s)) - Slack, hi = std::max(Ch(A, s), Ch(B, s)) + Slack;
    if (Ch(C, s) < lo || Ch(C, s) > hi)
      return ::testing::AssertionFailure() << Hex(C) << " not between " << Hex(A) << " and " << Hex(B);
  }
  if ((C >> 24) != 255) return ::testing::AssertionFailure() << Hex(C) << " not opaque";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Near(TColor32 C, TColor32 Want, int Slack) {
  for (int s : {24, 16, 8, 0})
    if (std::abs(Ch(C, s) - Ch(Want, s)) > Slack)
      return ::testing::AssertionFailure() << Hex(C) << " is not " << Hex(Want);
  return ::testing::AssertionSuccess();
}

class AppItemBackground : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGdiPlus(); }
  // Paints through GDI+; no flat call may be refused meanwhile.
  void Paint(Integer W, Integer H, Integer Kind) {
    Bmp.SetSize(W, H);
    Bmp.Clear(0x00000000);
    gdipflat::ClearTracedFailures();
    gdipflat::TraceStatuses(true);
    DrawItemBackground(&Bmp, 0, 0, W, H, Kind);
    gdipflat::TraceStatuses(false);
    EXPECT_EQ(gdipflat::TracedFailures(), std::vector<std::string>{}) << "GDI+ refused calls";
  }
  TBitmap32 Bmp;
};

TEST_F(AppItemBackground, OutlineOnTheEdgesAndGradientInside) {
  const TLook selected{0xFF7DA2CE, 0xFFDCEBFC, 0xFFC1DBFC};  // inner gradient
  const TLook hot{0xFFB8D6FB, 0xFFFAFBFD, 0xFFEBF3FD};
  struct Case {
    Integer Kind;
    TLook Look;
    int Slack;  // the selected outline is anti-aliased
  } cases[] = {{ItemBackgroundSelected, selected, 2}, {ItemBackgroundHot, hot, 0}};
  const Integer w = 40, h = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Kind);
    Paint(w, h, c.Kind);
    // Outline: row 0, row Bottom - 1, column Right - 1, and column 0 (the item
    // is higher than 8 pixels), away from the rounded corners.
    for (Integer x : {6, 20, w - 7}) {
      EXPECT_TRUE(Near(Bmp.GetPixel(x, 0), c.Look.Pen, c.Slack)) << "top, x " << x;
      EXPECT_TRUE(Near(Bmp.GetPixel(x, h - 1), c.Look.Pen, c.Slack)) << "bottom, x " << x;
    }
    for (Integer y : {6, 10, h - 7}) {
      EXPECT_TRUE(Near(Bmp.GetPixel(w - 1, y), c.Look.Pen, c.Slack)) << "right, y " << y;
      EXPECT_TRUE(Near(Bmp.GetPixel(0, y), c.Look.Pen, c.Slack)) << "left, y " << y;
    }
    // Inside: a colour between the gradient's ends (away from its last row,
    // where a tiling brush may wrap), opaque.
    for (Integer y : {4, 10, 14})
      for (Integer x : {5, 20, 33}) EXPECT_TRUE(Between(Bmp.GetPixel(x, y), c.Look.Top, c.Look.Bottom)) << x << "," << y;
    // The gradient runs downwards: lighter above.
    EXPECT_GT(Ch(Bmp.GetPixel(20, 4), 16), Ch(Bmp.GetPixel(20, 14), 16));
    // Nothing outside the item's rounded figure: the very corner stays clear.
    EXPECT_EQ(Bmp.GetPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(Bmp.GetPixel(w - 1, h - 1) >> 24, 0u);
  }
}

TEST_F(AppItemBackground, SelectedHasTheOuterGradientOnItsFirstInnerRow) {
  Paint(40, 20, ItemBackgroundSelected);
  // Row 1 lies above the inner rectangle (which starts at row 2).
  EXPECT_TRUE(Between(Bmp.GetPixel(20, 1), 0xFFEEF7FD, 0xFFDDEEFD));
  EXPECT_TRUE(Between(Bmp.GetPixel(20, 2), 0xFFDCEBFC, 0xFFC1DBFC));
}

TEST_F(AppItemBackground, HotIsDrawnWithoutAntiAliasing) {
  Paint(33, 17, ItemBackgroundHot);
  for (Integer y = 0; y < 17; ++y)
    for (Integer x = 0; x < 33; ++x) {
      const TColor32 a = Bmp.GetPixel(x, y) >> 24;
      ASSERT_TRUE(a == 0 || a == 255) << x << "," << y << " " << Hex(Bmp.GetPixel(x, y));
    }
}

TEST_F(AppItemBackground, LeftEdgeRunsBetweenTheLeftArcs) {
  // The figure is open: its left side exists only through the explicit line,
  // from 3 pixels above the bottom to 3 below the top. (At 6 pixels or less
  // the two left arcs meet and no line is added.)
  for (Integer bottom : {8, 9, 12, 20}) {
    SCOPED_TRACE(bottom);
    Paint(30, bottom, ItemBackgroundSelected);
    for (Integer y = 3; y <= bottom - 4; ++y) EXPECT_TRUE(Near(Bmp.GetPixel(0, y), 0xFF7DA2CE, 2)) << "row " << y;
  }
}

TEST_F(AppItemBackground, OtherKindsAndEmptyItemsDrawNothing) {
  struct Case {
    Integer W, H, Kind;
  } cases[] = {{20, 10, 0}, {20, 10, 3}, {20, 10, 4}, {20, 10, -1}, {1, 10, 1}, {20, 1, 2}, {0, 0, 1}};
  for (const Case& c : cases) {
    Bmp.SetSize(20, 10);
    Bmp.Clear(0x00000000);
    DrawItemBackground(&Bmp, 0, 0, c.W, c.H, c.Kind);
    for (Integer y = 0; y < 10; ++y)
      for (Integer x = 0; x < 20; ++x) ASSERT_EQ(Bmp.GetPixel(x, y), 0u) << c.Kind << " " << c.W << "x" << c.H;
  }
  DrawItemBackground(nullptr, 0, 0, 10, 10, 1);
}

}  // namespace
