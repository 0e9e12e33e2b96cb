// Line drawing: integer lines against a plain walk, clipping exactness,
// anti-aliased lines, runs and their reports, dot walks, stipple, pen forms.
#include "common/gtest.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_DrawingEx.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

constexpr TColor32 Back = 0xFF000000u;
constexpr TColor32 Ink = 0xFFFFFFFFu;

struct TReport {
  TRect R;
  Cardinal Info;
  bool operator==(const TReport& o) const { return R == o.R && Info == o.Info; }
};

class LinesTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeBitmapEngine(); }
  // A bitmap that records its area reports.
  void Track(TCustomBitmap32& B) {
    B.SetOnAreaChanged([this](TObject*, const TRect& R, Cardinal Info) { Reports.push_back({R, Info}); });
  }
  std::vector<TReport> Reports;
};

using TPixels = std::set<std::pair<Integer, Integer>>;

// The integer line as a plain loop of its definition (major axis X only
// when |dY| < |dX|, error starting at half the major length).
template <class Put>
void RefLineWalk(Int64 X1, Int64 Y1, Int64 X2, Int64 Y2, bool L, Put put) {
  Int64 dX = X2 - X1, dY = Y2 - Y1;
  Int64 sX = dX < 0 ? -1 : 1, sY = dY < 0 ? -1 : 1, aX = dX < 0 ? -dX : dX, aY = dY < 0 ? -dY : dY;
  Int64 x = X1, y = Y1;
  if (aY < aX) {
    Int64 e = aX / 2;
    for (Int64 i = 0; i < aX; ++i) {
      put(x, y);
      e += aY;
      x += sX;
      if (e >= aX) { y += sY; e -= aX; }
    }
  } else {
    Int64 e = aY / 2;
    for (Int64 i = 0; i < aY; ++i) {
      put(x, y);
      e += aX;
      y += sY;
      if (e >= aY) { x += sX; e -= aY; }
    }
  }
  if (L) put(x, y);
}

TPixels Written(const TCustomBitmap32& B, TColor32 Background = Back) {
  TPixels s;
  for (Integer y = 0; y < B.Height(); ++y)
    for (Integer x = 0; x < B.Width(); ++x)
      if (B.GetPixel(x, y) != Background) s.insert({x, y});
  return s;
}

// "" when A and B hold the same pixels, else where they first differ.
std::string FirstDifference(const TCustomBitmap32& A, const TCustomBitmap32& B) {
  const Integer n = A.Width() * A.Height();
  const TColor32 *a = A.Bits(), *b = B.Bits();
  Integer i = 0;
  while (i < n && a[i] == b[i]) ++i;
  if (i == n) return std::string();
  char buf[96];
  std::snprintf(buf, sizeof buf, "at %d,%d: %08X, expected %08X", int(i % A.Width()), int(i / A.Width()),
                unsigned(a[i]), unsigned(b[i]));
  return buf;
}

TPixels RefClipped(Int64 X1, Int64 Y1, Int64 X2, Int64 Y2, bool L, const TRect& Clip) {
  TPixels s;
  RefLineWalk(X1, Y1, X2, Y2, L, [&](Int64 x, Int64 y) {
    if (x >= Clip.Left && x < Clip.Right && y >= Clip.Top && y < Clip.Bottom) s.insert({Integer(x), Integer(y)});
  });
  return s;
}

TEST_F(LinesTest, LineWritesTheWorkedExample) {
  TCustomBitmap32 B;
  B.SetSize(8, 8);
  B.Clear(Back);
  B.Line(0, 0, 4, 2, Ink, false);
  EXPECT_EQ(Written(B), (TPixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
  B.Line(0, 0, 4, 2, Ink, true);
  EXPECT_EQ(Written(B), (TPixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
  B.Clear(Back);
  B.LineS(0, 0, 4, 2, Ink, true);
  EXPECT_EQ(Written(B), (TPixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
}

// Line (shifted into the bitmap) agrees with the plain walk, and LineS with a
// clip rectangle writes exactly the walk's pixels inside it, for every pair
// of end points on a grid. One walk of the reference serves the unclipped
// line and every clip rectangle.
TEST_F(LinesTest, LineSEqualsLineInsideClipOnAGrid) {
  const Integer Off = 14;
  const TRect clips[] = {TRect(0, 0, 40, 40), TRect(Off - 3, Off - 5, Off + 4, Off + 2), TRect(Off + 1, Off + 1, Off + 9, Off + 13)};
  constexpr int NClips = sizeof(clips) / sizeof(clips[0]);
  TCustomBitmap32 A, C, RefA, Ref[NClips];
  for (TCustomBitmap32* B : {&A, &C, &RefA}) B->SetSize(40, 40);
  for (TCustomBitmap32& R : Ref) R.SetSize(40, 40);
  auto run = [&](Integer x1, Integer y1, Integer x2, Integer y2, bool L) {
    const Int64 X1 = x1 + Off, Y1 = y1 + Off, X2 = x2 + Off, Y2 = y2 + Off;
    RefA.Clear(Back);
    for (TCustomBitmap32& R : Ref) R.Clear(Back);
    RefLineWalk(X1, Y1, X2, Y2, L, [&](Int64 x, Int64 y) {
      if (x < 0 || x >= 40 || y < 0 || y >= 40) return;
      *RefA.PixelPtr(Integer(x), Integer(y)) = Ink;
      for (int k = 0; k < NClips; ++k)
        if (x >= clips[k].Left && x < clips[k].Right && y >= clips[k].Top && y < clips[k].Bottom)
          *Ref[k].PixelPtr(Integer(x), Integer(y)) = Ink;
    });
    A.Clear(Back);
    A.Line(X1, Y1, X2, Y2, Ink, L);
    ASSERT_EQ(FirstDifference(A, RefA), "") << x1 << "," << y1 << " " << x2 << "," << y2 << " L=" << L;
    for (int k = 0; k < NClips; ++k) {
      const TRect& clip = clips[k];
      C.SetClipRect(C.BoundsRect());
      C.Clear(Back);
      C.SetClipRect(clip);
      C.LineS(X1, Y1, X2, Y2, Ink, L);
      ASSERT_EQ(FirstDifference(C, Ref[k]), "")
          << x1 << "," << y1 << " " << x2 << "," << y2 << " L=" << L << " clip " << clip.Left << "," << clip.Top;
    }
  };
  for (Integer x1 = -5; x1 <= 5; ++x1)
    for (Integer y1 = -5; y1 <= 5; ++y1)
      for (Integer x2 = -5; x2 <= 5; ++x2)
        for (Integer y2 = -5; y2 <= 5; ++y2) {
          run(x1, y1, x2, y2, false);
          run(x1, y1, x2, y2, true);
        }
  for (Integer x1 = -12; x1 <= 12; x1 += 3)
    for (Integer y1 = -12; y1 <= 12; y1 += 3)
      for (Integer x2 = -12; x2 <= 12; x2 += 4)
        for (Integer y2 = -12; y2 <= 12; y2 += 4) run(x1, y1, x2, y2, true);
}

TEST_F(LinesTest, LineSWithFarEndsWritesOnlyTheVisiblePart) {
  TCustomBitmap32 B;
  B.SetSize(32, 24);
  const TRect clip(3, 2, 29, 21);
  struct Case { Integer x1, y1, x2, y2; } cases[] = {
      {-1000000, -999983, 1000000, 1000011}, {1000000, 7, -1000000, 12},  {5, -1000000, 9, 1000000},
      {-1000000, 30, 40, -1000000},          {-7, -3, 1000000, 333333},
      {10, 10, 1000000, 1000000},            {-1000000, 1000000, 1000000, -1000000}};
  for (auto& c : cases)
    for (bool L : {false, true}) {
      B.SetClipRect(B.BoundsRect());
      B.Clear(Back);
      B.SetClipRect(clip);
      B.LineS(c.x1, c.y1, c.x2, c.y2, Ink, L);
      EXPECT_EQ(Written(B), RefClipped(c.x1, c.y1, c.x2, c.y2, L, clip)) << c.x1 << "," << c.y1;
    }
}

TEST_F(LinesTest, LineSReports) {
  TCustomBitmap32 B;
  B.SetSize(10, 10);
  B.Clear(Back);
  Track(B);
  B.LineS(-20, 1, -5, 8, Ink, true);  // entirely left of the clip rectangle
  EXPECT_TRUE(Reports.empty());
  EXPECT_TRUE(Written(B).empty());
  B.LineS(1, 1, 7, 4, Ink, false);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], (TReport{TRect(1, 1, 7, 4), AreaInfoLine + 2}));
  Reports.clear();
  B.LineS(0, 0, 0, 5, Ink, true);  // axis-parallel: the run's report, then the full bounds
  ASSERT_FALSE(Reports.empty());
  EXPECT_EQ(Reports.back(), (TReport{TRect(0, 0, 10, 10), AreaInfoRect}));
  for (Integer y = 0; y <= 5; ++y) EXPECT_EQ(B.GetPixel(0, y), Ink);
  EXPECT_EQ(B.GetPixel(0, 6), Back);
  Reports.clear();
  B.BeginMeasuring([this](TObject*, const TRect& R, Cardinal Info) { Reports.push_back({R, Info}); });
  B.LineS(-20, 1, -5, 8, Ink, true);
  B.EndMeasuring();
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], (TReport{TRect(-20, 1, -5, 8), AreaInfoLine + 2}));
}

// Runs report the half-open box of what they wrote, last pixel included.
TEST_F(LinesTest, RunReportsContainTheirLastPixel) {
  TCustomBitmap32 B;
  B.SetSize(10, 10);
  Track(B);
  B.HorzLineS(7, 3, 2, Ink);  // swapped ends
  B.VertLineS(4, 1, 8, Ink);
  B.HorzLineTS(-5, 9, 20, 0x80FFFFFFu);  // clipped to 0..9
  B.VertLineTS(9, 8, -3, 0x80FFFFFFu);
  B.HorzLineS(1, 10, 5, Ink);  // row outside: nothing
  ASSERT_EQ(Reports.size(), 4u);
  EXPECT_EQ(Reports[0].R, TRect(2, 3, 8, 4));
  EXPECT_EQ(Reports[1].R, TRect(4, 1, 5, 9));
  EXPECT_EQ(Reports[2].R, TRect(0, 9, 10, 10));
  EXPECT_EQ(Reports[3].R, TRect(9, 0, 10, 9));
  EXPECT_EQ(B.GetPixel(2, 3), Ink);
  EXPECT_EQ(B.GetPixel(7, 3), Ink);
  EXPECT_EQ(B.GetPixel(4, 8), Ink);
  Reports.clear();
  B.BeginMeasuring([this](TObject*, const TRect& R, Cardinal Info) { Reports.push_back({R, Info}); });
  B.HorzLineS(7, 3, 2, Ink);
  B.EndMeasuring();
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].R, TRect(2, 3, 8, 4));
}

TEST_F(LinesTest, ClipLineCases) {
  struct Case {
    Integer x1, y1, x2, y2;
    bool ok;
    Integer ex1, ey1, ex2, ey2;
  } cases[] = {
      {-10, 5, 10, 5, true, 0, 5, 8, 5},  // the worked example
      {2, 2, 6, 6, true, 2, 2, 6, 6},     // inside: unchanged
      {-5, -5, -1, 20, false, 0, 0, 0, 0},
      {4, -4, 4, 12, true, 4, 0, 4, 8},
      {-8, -8, 16, 16, true, 0, 0, 8, 8},
      {-2, 12, 12, -2, true, 2, 8, 8, 2},  // vertical bounds first, then horizontal
  };
  for (auto& c : cases) {
    Integer x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    bool ok = ClipLine(x1, y1, x2, y2, 0, 0, 8, 8);
    EXPECT_EQ(ok, c.ok) << c.x1 << "," << c.y1;
    if (ok && c.ok) {
      EXPECT_EQ(x1, c.ex1);
      EXPECT_EQ(y1, c.ey1);
      EXPECT_EQ(x2, c.ex2);
      EXPECT_EQ(y2, c.ey2);
    }
  }
}

// ---------------------------------------------------------------------------
// Anti-aliased lines

struct TAAPixel {
  Int64 X, Y;
  Cardinal W;
  bool Start;
};

// LineA as a plain loop of its definition: Put(X, Y, Weight) for each pixel,
// the start pixel first with weight 255.
template <class Put>
void RefLineAWalk(Int64 X1, Int64 Y1, Int64 X2, Int64 Y2, bool L, Put put) {
  put(X1, Y1, Cardinal(255));
  Int64 dX = X2 - X1, dY = Y2 - Y1;
  Int64 sX = dX < 0 ? -1 : 1, sY = dY < 0 ? -1 : 1, aX = dX < 0 ? -dX : dX, aY = dY < 0 ? -dY : dY;
  Int64 x = X1, y = Y1, A = 0;
  if (aX < aY) {
    Int64 step = (aX << 16) / aY, count = L ? aY : aY - 1;
    for (Int64 i = 0; i < count; ++i) {
      A += step;
      if (A > 0xFFFF) { x += sX; A &= 0xFFFF; }
      y += sY;
      Cardinal w = Cardinal(A >> 8);
      put(x, y, Cardinal(GammaCurve[255 - w]));
      put(x + sX, y, Cardinal(GammaCurve[w]));
    }
  } else {
    Int64 step = (aY << 16) / aX, count = L ? aX : aX - 1;
    for (Int64 i = 0; i < count; ++i) {
      A += step;
      if (A > 0xFFFF) { y += sY; A &= 0xFFFF; }
      x += sX;
      Cardinal w = Cardinal(A >> 8);
      put(x, y, Cardinal(GammaCurve[255 - w]));
      put(x, y + sY, Cardinal(GammaCurve[w]));
    }
  }
}

std::vector<TAAPixel> RefLineA(Int64 X1, Int64 Y1, Int64 X2, Int64 Y2, bool L) {
  std::vector<TAAPixel> out;
  RefLineAWalk(X1, Y1, X2, Y2, L, [&](Int64 x, Int64 y, Cardinal w) { out.push_back({x, y, w, out.empty()}); });
  return out;
}

// Paints the reference pixels inside Clip onto B (start pixel with the
// weighted blend and weight 255, as the clipped form does).
void PaintRefA(TCustomBitmap32& B, const std::vector<TAAPixel>& Px, const TRect& Clip, TColor32 Value) {
  for (auto& p : Px) {
    if (p.X < Clip.Left || p.X >= Clip.Right || p.Y < Clip.Top || p.Y >= Clip.Bottom) continue;
    TColor32& d = *B.PixelPtr(Integer(p.X), Integer(p.Y));
    if (p.W) BlendIntoEx(Value, d, p.W);
  }
  EndBlending();
}

TEST_F(LinesTest, LineAWorkedExampleWritesAtMost21Pixels) {
  TCustomBitmap32 B;
  B.SetSize(16, 8);
  B.Clear(Back);
  B.LineA(0, 0, 10, 3, Ink, true);
  TPixels w = Written(B);
  EXPECT_LE(w.size(), 21u);
  EXPECT_TRUE(w.count({0, 0}));
  EXPECT_TRUE(w.count({10, 3}));
  for (auto [x, y] : w) EXPECT_LE(x, 10);
}

TEST_F(LinesTest, LineAFollowsItsDefinition) {
  TCustomBitmap32 A, R;
  A.SetSize(30, 30);
  R.SetSize(30, 30);
  const Integer Off = 14;
  for (Integer x2 = -12; x2 <= 12; x2 += 5)
    for (Integer y2 = -12; y2 <= 12; y2 += 3)
      for (bool L : {false, true}) {
        if (x2 == 0 || y2 == 0) continue;
        A.Clear(Back);
        R.Clear(Back);
        A.LineA(Off, Off, Off + x2, Off + y2, 0xC0FFFFFFu, L);
        auto px = RefLineA(Off, Off, Off + x2, Off + y2, L);
        BlendInto(0xC0FFFFFFu, *R.PixelPtr(Off, Off));  // the unclipped start pixel
        px.erase(px.begin());
        PaintRefA(R, px, R.BoundsRect(), 0xC0FFFFFFu);
        for (Integer y = 0; y < 30; ++y)
          for (Integer x = 0; x < 30; ++x)
            ASSERT_EQ(A.GetPixel(x, y), R.GetPixel(x, y)) << x2 << "," << y2 << " at " << x << "," << y;
      }
}

// LineAS writes LineA's pixels inside the clip rectangle with LineA's weights
// (its start pixel with weight 255 through the weighted blend), on a grid of
// end points and with far-away ends. One walk of the reference paints the
// expected picture for every clip rectangle.
TEST_F(LinesTest, LineASEqualsLineAInsideClip) {
  const TColor32 V = 0xC0FFFFFFu;
  const TRect clips[] = {TRect(0, 0, 40, 40), TRect(12, 10, 19, 21), TRect(5, 16, 33, 18), TRect(15, 2, 16, 38)};
  constexpr int NClips = sizeof(clips) / sizeof(clips[0]);
  TCustomBitmap32 A, Ref[NClips];
  A.SetSize(40, 40);
  for (TCustomBitmap32& R : Ref) R.SetSize(40, 40);
  auto check = [&](Integer x1, Integer y1, Integer x2, Integer y2, bool L) {
    Int64 adx = Int64(x2) - x1, ady = Int64(y2) - y1;
    if (adx == 0 || ady == 0 || adx == ady || adx == -ady) return;  // handed to the run / blended forms
    for (TCustomBitmap32& R : Ref) R.Clear(Back);
    RefLineAWalk(x1, y1, x2, y2, L, [&](Int64 x, Int64 y, Cardinal w) {
      if (w == 0) return;
      for (int k = 0; k < NClips; ++k)
        if (x >= clips[k].Left && x < clips[k].Right && y >= clips[k].Top && y < clips[k].Bottom)
          BlendIntoEx(V, *Ref[k].PixelPtr(Integer(x), Integer(y)), w);
    });
    EndBlending();
    for (int k = 0; k < NClips; ++k) {
      const TRect& clip = clips[k];
      A.SetClipRect(A.BoundsRect());
      A.Clear(Back);
      A.SetClipRect(clip);
      A.LineAS(x1, y1, x2, y2, V, L);
      ASSERT_EQ(FirstDifference(A, Ref[k]), "") << x1 << "," << y1 << "->" << x2 << "," << y2 << " L=" << L
                                                << " clip " << clip.Left << "," << clip.Top;
    }
  };
  for (Integer x1 = 2; x1 < 38; x1 += 7)
    for (Integer y1 = 2; y1 < 38; y1 += 5)
      for (Integer x2 = 1; x2 < 39; x2 += 6)
        for (Integer y2 = 3; y2 < 39; y2 += 7) check(x1, y1, x2, y2, true), check(x1, y1, x2, y2, false);
  check(-1000000, -333331, 1000000, 333343, false);
  check(17, -1000000, 21, 1000000, true);
  check(1000000, 14, -1000000, 25, true);
  check(-1000000, 1000000, 30, 11, false);
  check(14, 14, 1000000, 999000, true);
}

TEST_F(LinesTest, LineASReportsAndEdgeCases) {
  TCustomBitmap32 B;
  B.SetSize(20, 20);
  B.Clear(Back);
  Track(B);
  B.SetClipRect(TRect(5, 5, 15, 15));
  B.LineAS(0, 0, 3, 30, Ink, true);  // misses the clip rectangle
  EXPECT_TRUE(Reports.empty());
  B.LineAS(6, 6, 13, 9, Ink, true);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], (TReport{TRect(6, 6, 13, 9), AreaInfoLine + 2}));
  // main pixels in row 4 (just above the clip rectangle): only neighbours in row 5
  Reports.clear();
  B.Clear(Back);
  Reports.clear();
  B.LineAS(0, 4, 19, 5, Ink, false);
  TPixels w = Written(B);
  ASSERT_FALSE(w.empty());
  for (auto [x, y] : w) EXPECT_EQ(y, 5);
  ASSERT_FALSE(Reports.empty());
  EXPECT_EQ(Reports.back(), (TReport{TRect(0, 0, 20, 20), AreaInfoRect}));
}

// ---------------------------------------------------------------------------
// Blended lines, polygons

TEST_F(LinesTest, PolygonWithLineToDrawsEachCornerOnce) {
  TCustomBitmap32 B;
  B.SetSize(20, 20);
  B.Clear(Back);
  B.SetPenColor(0x80FFFFFFu);
  const TPoint pts[] = {{2, 2}, {15, 4}, {12, 16}, {3, 11}};
  B.MoveTo(pts[0].X, pts[0].Y);
  for (int i = 1; i <= 4; ++i) B.LineToTS(pts[i % 4].X, pts[i % 4].Y);
  TColor32 single = Back;
  BlendInto(0x80FFFFFFu, single);
  EndBlending();
  for (auto& p : pts) EXPECT_EQ(B.GetPixel(p.X, p.Y), single) << p.X << "," << p.Y;
}

TEST_F(LinesTest, LineToNeverDrawsTheTarget) {
  TCustomBitmap32 B;
  B.SetSize(10, 10);
  B.Clear(Back);
  B.MoveTo(1, 1);
  B.LineToS(7, 4);
  EXPECT_EQ(B.GetPixel(7, 4), Back);
  EXPECT_EQ(B.GetPixel(1, 1), Ink);
  EXPECT_EQ(B.RasterX, 7);
  EXPECT_EQ(B.RasterY, 4);
}

// The float pen starts where the last move put it, whichever form moved it.
TEST_F(LinesTest, FloatPenFollowsTheLastMove) {
  auto fresh = [](TCustomBitmap32& B) {
    B.SetSize(20, 20);
    B.Clear(Back);
  };
  TCustomBitmap32 A, R;
  fresh(A);
  fresh(R);
  A.MoveToF(2.25f, 5.5f);
  A.LineToFS(15.0f, 9.0f);
  R.LineFS(2.25f, 5.5f, 15.0f, 9.0f, R.PenColor(), false);
  EXPECT_EQ(Written(A), Written(R));
  EXPECT_EQ(A.RasterXFloat, 15.0f);
  EXPECT_EQ(A.RasterYF, 9 << 16);
  fresh(A);
  fresh(R);
  A.MoveToF(4.5f, 2.0f);
  A.MoveToX(3 << 16, 12 << 16);
  A.LineToFS(16.0f, 12.0f);
  R.LineFS(3.0f, 12.0f, 16.0f, 12.0f, R.PenColor(), false);
  EXPECT_EQ(Written(A), Written(R));
  EXPECT_FALSE(Written(A).empty());
  fresh(A);
  A.MoveToF(4.5f, 2.0f);
  A.RasterXF = 1 << 16;  // set directly: the 16.16 position is the pen
  A.RasterYF = 17 << 16;
  A.LineToFS(1.0f, 3.0f);
  EXPECT_NE(A.GetPixel(1, 10), Back);
  EXPECT_EQ(A.GetPixel(4, 2), Back);
}

// ---------------------------------------------------------------------------
// Stipple

TEST_F(LinesTest, StippleColourBetweenEntries) {
  TCustomBitmap32 B;
  B.SetStipple({0xFF000000u, 0xFFFFFFFFu});
  B.SetStippleCounter(0.5f);
  TColor32 c = B.GetStippleColor();
  EXPECT_EQ(c, CombineColors(0xFF000000u, 0xFFFFFFFFu, 127));
  EndBlending();
  EXPECT_FLOAT_EQ(B.StippleCounter(), 1.5f);
  TCustomBitmap32 E;  // empty pattern
  EXPECT_EQ(E.GetStippleColor(), 0xFF000000u);
  E.AdvanceStippleCounter(3);
  EXPECT_EQ(E.StippleCounter(), 0.0f);
  B.SetStipple({1, 2, 3});
  B.AdvanceStippleCounter(-1);  // floor modulo
  EXPECT_FLOAT_EQ(B.StippleCounter(), 2.0f);
}

TEST_F(LinesTest, StippledRunsAlternateAndContinue) {
  TCustomBitmap32 B;
  B.SetSize(10, 4);
  B.Clear(Back);
  const TColor32 P0 = 0xFFFF0000u, P1 = 0xFF0000FFu;
  B.SetStipple({P0, P1});
  B.HorzLineTSP(0, 0, 2);
  B.HorzLineTSP(3, 0, 5);
  for (Integer x = 0; x <= 5; ++x) EXPECT_EQ(B.GetPixel(x, 0), x % 2 ? P1 : P0) << x;
  // a row outside the clip rectangle still advances the pattern by its length
  B.SetStipple({P0, P1});
  B.HorzLineTSP(0, 7, 2);  // three pixels, none drawn
  B.HorzLineTSP(0, 1, 1);
  EXPECT_EQ(B.GetPixel(0, 1), P1);
  EXPECT_EQ(B.GetPixel(1, 1), P0);
  // clipped at the start: the pattern runs as if the hidden part were drawn
  B.SetStipple({P0, P1});
  B.HorzLineTSP(-3, 2, 4);
  EXPECT_EQ(B.GetPixel(0, 2), P1);
  EXPECT_EQ(B.GetPixel(1, 2), P0);
  // right to left
  B.SetStipple({P0, P1});
  B.VertLineTSP(9, 3, 0);
  EXPECT_EQ(B.GetPixel(9, 3), P0);
  EXPECT_EQ(B.GetPixel(9, 2), P1);
}

// ---------------------------------------------------------------------------
// Dot walks

TEST_F(LinesTest, LineXShortLines) {
  TCustomBitmap32 B;
  B.SetSize(8, 8);
  B.Clear(0x00000000u);
  B.LineX(2 << 16, 3 << 16, (2 << 16) + 0x8000, 3 << 16, 0xFFFFFFFFu, false);
  TPixels w = Written(B, 0);
  ASSERT_FALSE(w.empty());
  EXPECT_TRUE(w.count({2, 3}));
  for (auto [x, y] : w) EXPECT_TRUE(x >= 2 && x <= 3 && y >= 3 && y <= 4);
  // one dot at the start point with half the colour's alpha
  TCustomBitmap32 R;
  R.SetSize(8, 8);
  R.Clear(0);
  R.SetPixel256(2 * 256, 3 * 256, 0x7FFFFFFFu);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) EXPECT_EQ(B.GetPixel(x, y), R.GetPixel(x, y)) << x << "," << y;
  B.Clear(0);
  B.LineX(2 << 16, 3 << 16, (2 << 16) + 65, 3 << 16, 0xFFFFFFFFu, false);  // 0.001 px
  EXPECT_TRUE(Written(B, 0).empty());
}

TEST_F(LinesTest, LineXSInsideEqualsLineX) {
  TCustomBitmap32 A, C;
  A.SetSize(30, 30);
  C.SetSize(30, 30);
  const TFixed pts[][4] = {{0x50000, 0x60000, 0x150000, 0x120000},
                           {0x38000, 0x141234, 0x80000, 0x30000},
                           {0x100000, 0x100000, 0x100800, 0x100000}};
  for (auto& p : pts)
    for (bool L : {false, true}) {
      A.Clear(Back);
      C.Clear(Back);
      A.LineX(p[0], p[1], p[2], p[3], 0xC0FFFFFFu, L);
      C.LineXS(p[0], p[1], p[2], p[3], 0xC0FFFFFFu, L);
      for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 30; ++x) ASSERT_EQ(A.GetPixel(x, y), C.GetPixel(x, y));
    }
}

// A line far outside the 16.16 range is cut before conversion: its visible
// part is straight and in the right row.
TEST_F(LinesTest, FloatLinesAtHugeViewCoordinates) {
  TCustomBitmap32 B;
  B.SetSize(20, 20);
  B.Clear(Back);
  B.LineFS(-50000.0f, 5.0f, 50000.0f, 5.0f, Ink, false);
  B.LineFS(12.0f, 60000.0f, 12.0f, -60000.0f, Ink, false);
  for (Integer x = 0; x < 20; ++x) EXPECT_NE(B.GetPixel(x, 5), Back) << x;
  for (Integer y = 0; y < 20; ++y) EXPECT_NE(B.GetPixel(12, y), Back) << y;
  for (auto [x, y] : Written(B)) EXPECT_TRUE(y == 5 || y == 6 || x == 12 || x == 13) << x << "," << y;
  // stippled, through the pen: the visible part continues the pattern of
  // the whole line (one step per pixel)
  TCustomBitmap32 S;
  S.SetSize(20, 20);
  S.Clear(Back);
  S.SetStippleStep(1.0f);
  S.SetStipple({0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu});
  S.MoveToF(-40000.0f, 8.0f);
  S.LineToFSP(40000.0f, 8.0f);
  Integer runs = 0;
  for (Integer x = 3; x < 17; ++x) {
    TColor32 a = S.GetPixel(x, 8), b = S.GetPixel(x + 1, 8);
    if (a != b) ++runs;
  }
  EXPECT_GE(runs, 4);  // the dashes are visible (not one smeared colour)
}

// A line partly outside the view shows, on its visible part, the same
// pattern as when drawn fully inside a larger view (rightwards and leftwards
// with the start cut off).
TEST_F(LinesTest, StippledLineClippedAtItsStartKeepsPhase) {
  // five entries: a wrong skip of 65536 - n pixels would show as a phase error
  const TArrayOfColor32 pattern = {0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu, 0xFF00FF00u};
  auto draw = [&](TCustomBitmap32& B, Integer From, Integer To) {
    B.Clear(Back);
    B.SetStipple(pattern);
    B.LineXSP(From << 16, 4 << 16, To << 16, 4 << 16, false);
  };
  TCustomBitmap32 Big, Small;
  Big.SetSize(40, 10);
  Small.SetSize(16, 10);
  // rightwards: Small shows Big's columns 10..25
  draw(Big, 1, 22);
  draw(Small, -9, 12);
  for (Integer x = 0; x < 12; ++x) EXPECT_EQ(Small.GetPixel(x, 4), Big.GetPixel(x + 10, 4)) << "x=" << x;
  // leftwards: the same columns in both
  draw(Big, 30, 4);
  draw(Small, 30, 4);
  for (Integer x = 5; x < 15; ++x) EXPECT_EQ(Small.GetPixel(x, 4), Big.GetPixel(x, 4)) << "x=" << x;
}

TEST_F(LinesTest, HorzLineXStaysInsideTheBuffer) {
  TCustomBitmap32 B;
  B.SetSize(6, 3);
  B.Clear(Back);
  B.HorzLineXS(-0x30000, 0x10000, 6 << 16, Ink);  // right end on the clip edge
  B.VertLineXS(0x20000, -0x70000, 3 << 16, Ink);
  EXPECT_NE(B.GetPixel(0, 1), Back);
  EXPECT_NE(B.GetPixel(5, 1), Back);
}

}  // namespace
