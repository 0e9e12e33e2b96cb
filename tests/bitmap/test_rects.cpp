// Rectangle filling and framing: clipping, reports, blended fills, frames
// that draw no pixel twice, the stippled frame and the bevel.
#include "common/gtest.h"

#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_Engine.h"

namespace {

constexpr TColor32 Back = 0xFF000000u;

struct TReport {
  TRect R;
  Cardinal Info;
};

class RectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeBitmapEngine();
    B.SetSize(10, 10);
    B.Clear(Back);
    B.SetOnAreaChanged([this](TObject*, const TRect& R, Cardinal Info) { Reports.push_back({R, Info}); });
  }
  Integer Count(TColor32 C) const {
    Integer n = 0;
    for (Integer y = 0; y < B.Height(); ++y)
      for (Integer x = 0; x < B.Width(); ++x) n += B.GetPixel(x, y) == C;
    return n;
  }
  TCustomBitmap32 B;
  std::vector<TReport> Reports;
};

TEST_F(RectsTest, FillRectSCases) {
  struct Case {
    TRect In;
    Integer Filled;
    std::vector<TRect> Reports;
  } cases[] = {
      {TRect(3, 3, 3, 8), 0, {TRect(3, 3, 3, 8)}},                            // empty: reported as passed
      {TRect(6, 6, 2, 2), 0, {TRect(6, 6, 2, 2)}},                            // negative
      {TRect(-5, -5, 3, 3), 9, {TRect(0, 0, 3, 3), TRect(0, 0, 3, 3)}},      // cut, reported twice
      {TRect(20, 20, 30, 30), 0, {TRect(20, 20, 30, 30)}},                    // outside
      {TRect(2, 3, 5, 4), 3, {TRect(2, 3, 5, 4), TRect(2, 3, 5, 4)}},
  };
  for (auto& c : cases) {
    B.Clear(Back);
    Reports.clear();
    B.FillRectS(c.In.Left, c.In.Top, c.In.Right, c.In.Bottom, 0xFF00FF00u);
    EXPECT_EQ(Count(0xFF00FF00u), c.Filled) << c.In.Left << "," << c.In.Top;
    ASSERT_EQ(Reports.size(), c.Reports.size()) << c.In.Left;
    for (size_t i = 0; i < Reports.size(); ++i) {
      EXPECT_EQ(Reports[i].R, c.Reports[i]);
      EXPECT_EQ(Reports[i].Info, AreaInfoRect);
    }
  }
  // measuring: the rectangle as passed, no pixel
  B.Clear(Back);
  Reports.clear();
  B.BeginMeasuring([this](TObject*, const TRect& R, Cardinal Info) { Reports.push_back({R, Info}); });
  B.FillRectS(TRect(-5, -5, 3, 3), 0xFF00FF00u);
  B.EndMeasuring();
  EXPECT_EQ(Count(0xFF00FF00u), 0);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].R, TRect(-5, -5, 3, 3));
}

TEST_F(RectsTest, FillRectTByAlphaAndMode) {
  const TColor32 base = 0xFF204060u;
  B.Clear(base);
  Reports.clear();
  B.FillRectT(1, 1, 4, 4, 0x00FFFFFFu);  // alpha 0: nothing at all
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(Count(base), 100);
  B.FillRectT(1, 1, 4, 4, 0x80FFFFFFu);
  TColor32 expect = base;
  CombineInto(0x80FFFFFFu, expect, 0x80);
  EndBlending();
  EXPECT_EQ(B.GetPixel(1, 1), expect);
  EXPECT_EQ(B.GetPixel(3, 3), expect);
  EXPECT_EQ(B.GetPixel(4, 4), base);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].R, TRect(1, 1, 4, 4));
  B.SetCombineMode(cmMerge);
  B.Clear(base);
  B.FillRectT(0, 0, 2, 2, 0x80FFFFFFu);
  TColor32 merged = base;
  MergeInto(0x80FFFFFFu, merged);
  EndBlending();
  EXPECT_EQ(B.GetPixel(0, 0), merged);
  B.FillRectT(0, 0, 2, 2, 0xFF123456u);  // opaque: a plain fill
  EXPECT_EQ(B.GetPixel(1, 1), 0xFF123456u);
  B.FillRectT(5, 5, 3, 8, 0x80FFFFFFu);  // negative width writes nothing
  EXPECT_EQ(B.GetPixel(4, 5), base);
}

// Half-transparent frames show any pixel drawn twice.
TEST_F(RectsTest, FramesDrawNoPixelTwice) {
  const TColor32 ink = 0x80FFFFFFu;
  TColor32 once = Back;
  BlendInto(ink, once);
  EndBlending();
  struct Case {
    TRect R;
    Integer Pixels;
  } cases[] = {{TRect(0, 0, 1, 1), 1}, {TRect(0, 0, 2, 2), 4}, {TRect(0, 0, 3, 1), 3},
               {TRect(2, 2, 7, 6), 14}, {TRect(4, 1, 5, 6), 5}, {TRect(-3, -3, 4, 4), 4 + 3}};  // bottom row and right column visible
  for (auto& c : cases) {
    B.Clear(Back);
    B.FrameRectTS(c.R, ink);
    EXPECT_EQ(Count(once), c.Pixels) << c.R.Left << "," << c.R.Top << "," << c.R.Right;
    EXPECT_EQ(Count(once) + Count(Back), 100) << "a pixel drawn twice";
    B.Clear(Back);
    B.FrameRectS(c.R, 0xFFFFFFFFu);
    EXPECT_EQ(Count(0xFFFFFFFFu), c.Pixels);
  }
}

TEST_F(RectsTest, RaiseRectAlphas) {
  struct Case {
    Integer Contrast;
    TColor32 TopLeft, BottomRight;
  } cases[] = {{50, 0xFFFFFFFFu, 0x7F000000u}, {-50, 0x7F000000u, 0xFFFFFFFFu}, {10, 0x33FFFFFFu, 0x19000000u}};
  for (auto& c : cases) {
    const TColor32 base = 0xFF808080u;
    B.Clear(base);
    B.RaiseRectTS(1, 1, 6, 6, c.Contrast);
    TColor32 tl = base, br = base;
    BlendInto(c.TopLeft, tl);
    BlendInto(c.BottomRight, br);
    EndBlending();
    EXPECT_EQ(B.GetPixel(3, 1), tl) << c.Contrast;  // top
    EXPECT_EQ(B.GetPixel(1, 3), tl);                 // left
    EXPECT_EQ(B.GetPixel(3, 5), br);                 // bottom
    EXPECT_EQ(B.GetPixel(5, 3), br);                 // right
    EXPECT_EQ(B.GetPixel(3, 3), base);
  }
  B.Clear(Back);
  B.RaiseRectTS(1, 1, 6, 6, 0);
  EXPECT_EQ(Count(Back), 100);
}

// The stippled frame continues one pattern clockwise around all four sides.
TEST_F(RectsTest, StippledFrameRunsClockwise) {
  const TColor32 pat[] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
  B.SetStipple({pat[0], pat[1], pat[2]});
  B.FrameRectTSP(1, 1, 5, 4);  // 4 x 3 rectangle: 10 border pixels
  const TPoint order[] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(B.GetPixel(order[i].X, order[i].Y), pat[i % 3]) << i;
  EXPECT_EQ(B.GetPixel(2, 2), Back);
  // a single pixel takes the next colour and reports itself
  Reports.clear();
  B.FrameRectTSP(7, 7, 8, 8);
  EXPECT_EQ(B.GetPixel(7, 7), pat[10 % 3]);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].R, TRect(7, 7, 8, 8));
}

}  // namespace
