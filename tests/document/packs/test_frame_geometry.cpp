// The numbers of the photo frames: exact decimal rounding, the drawn
// frames' sizes, offsets, bands and cut-outs, the cut shapes' point lists
// at one fixed size, the layered frames' rectangles and the six-layer limit.
#include "common/gtest.h"

#include "document/FrameGeometry.h"

namespace {

using TItem = TFramePathItem;

TEST(FrameNumbers, ExactHalfEvenRounding) {
  struct TCase {
    Int64 Num, Den;
    Integer Want;
  } cases[] = {
      {50 * 255, 100, 128},   // 127.5: 50 x 2.55 as a double is 127.4999...
      {10 * 255, 100, 26},    // 25.5
      {30 * 255, 100, 76},    // 76.5
      {185, 10, 18},          // 18.5
      {-25, 10, -2},          // -2.5
      {-35, 10, -4},          // -3.5
      {-26, 10, -3},
      {7, 3, 2},
      {0, 7, 0},
  };
  for (const TCase& c : cases) EXPECT_EQ(RoundFraction(c.Num, c.Den), c.Want) << c.Num << "/" << c.Den;
  EXPECT_EQ(Frame3MasterAlpha(50), 128);
  EXPECT_EQ(Frame3MasterAlpha(100), 255);
  EXPECT_EQ(Frame3MasterAlpha(0), 0);
  EXPECT_EQ(Frame3MasterAlpha(1), 3);
}

TEST(FrameNumbers, DrawnFrameSizesAndOffsets) {
  // 100 x 50 with V1 = 10, V2 = 5, V3 = 20.
  struct TCase {
    Integer Mode, W, H, X0, Y0, Fill;
  } cases[] = {
      {1, 120, 70, 10, 10, 1}, {2, 170, 120, 35, 35, 1}, {3, 130, 80, 15, 15, 1}, {4, 130, 80, 15, 15, 1},
      {5, 120, 65, 10, 10, 1}, {6, 110, 80, 5, 10, 2},  {7, 120, 70, 10, 10, 1}, {8, 120, 70, 10, 10, 1},
      {9, 130, 80, 15, 15, 1}, {10, 130, 80, 15, 15, 1},
  };
  for (const TCase& c : cases) {
    TFrame0Layout l;
    ASSERT_TRUE(Frame0Layout(c.Mode, 100, 50, 10, 5, 20, l)) << c.Mode;
    EXPECT_EQ(l.Width, c.W) << c.Mode;
    EXPECT_EQ(l.Height, c.H) << c.Mode;
    EXPECT_EQ(l.X0, c.X0) << c.Mode;
    EXPECT_EQ(l.Y0, c.Y0) << c.Mode;
    EXPECT_EQ(l.FillColor, c.Fill) << c.Mode;
    EXPECT_EQ(l.Outline, c.Mode == 3 || c.Mode >= 7) << c.Mode;
  }
  TFrame0Layout l;
  for (Integer bad : {0, 11, -1}) EXPECT_FALSE(Frame0Layout(bad, 100, 50, 10, 5, 20, l));
  EXPECT_FALSE(Frame0Layout(1, 0, 50, 10, 5, 20, l));
}

TEST(FrameNumbers, DrawnFrameBands) {
  TFrame0Layout l;
  ASSERT_TRUE(Frame0Layout(2, 100, 50, 10, 5, 20, l));
  EXPECT_EQ(l.Bands, (std::vector<TFrameBand>{{TRect(10, 10, 160, 110), 2}, {TRect(15, 15, 155, 105), 3}}));
  // Mode 5: margins V1 on three sides, a bottom band of V2.
  ASSERT_TRUE(Frame0Layout(5, 100, 50, 10, 30, 0, l));
  EXPECT_EQ(l.Height, 50 + 10 + 30);
  EXPECT_EQ(l.Bands, (std::vector<TFrameBand>{{TRect(0, 60, 120, 90), 2}}));
  // Mode 6: F in colour 2, top band V1 in colour 1, bottom band V3 in colour 3.
  ASSERT_TRUE(Frame0Layout(6, 100, 50, 15, 5, 50, l));
  EXPECT_EQ(l.Bands, (std::vector<TFrameBand>{{TRect(0, 0, 110, 15), 1}, {TRect(0, 65, 110, 115), 3}}));
  // Mode 7 paints the outer margins again; mode 8 does not.
  ASSERT_TRUE(Frame0Layout(7, 100, 50, 4, 0, 0, l));
  EXPECT_EQ(l.Bands, (std::vector<TFrameBand>{{TRect(4, 4, 104, 54), 2}}));
  EXPECT_EQ(l.Margins, (std::vector<TRect>{TRect(0, 0, 4, 58), TRect(104, 0, 108, 58), TRect(0, 0, 108, 4), TRect(0, 54, 108, 58)}));
  ASSERT_TRUE(Frame0Layout(7, 100, 50, 0, 0, 0, l));
  EXPECT_TRUE(l.Margins.empty());
}

TEST(FrameNumbers, DrawnFrameCutOuts) {
  TFrame0Layout l;
  // Mode 3: four arcs of d = 20 x 50 / 100 = 10 and the left edge line.
  ASSERT_TRUE(Frame0Layout(3, 100, 50, 10, 5, 20, l));
  ASSERT_EQ(l.CutOut.size(), 5u);
  const Single arcs[4][3] = {{14, 14, 180}, {105, 14, 270}, {105, 55, 0}, {14, 55, 90}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.CutOut[i].Kind, TItem::Arc);
    EXPECT_EQ(l.CutOut[i].X, arcs[i][0]);
    EXPECT_EQ(l.CutOut[i].Y, arcs[i][1]);
    EXPECT_EQ(l.CutOut[i].W, 10);
    EXPECT_EQ(l.CutOut[i].Start, arcs[i][2]);
    EXPECT_EQ(l.CutOut[i].Sweep, 90);
  }
  EXPECT_EQ(l.CutOut[4].Points, (std::vector<TFramePointF>{{14, 60}, {14, 20}}));
  // d <= 1: the plain image rectangle, no outline.
  ASSERT_TRUE(Frame0Layout(9, 100, 50, 10, 5, 2, l));
  ASSERT_EQ(l.CutOut.size(), 1u);
  EXPECT_EQ(l.CutOut[0].Kind, TItem::Rect);
  EXPECT_EQ((std::vector<Single>{l.CutOut[0].X, l.CutOut[0].Y, l.CutOut[0].W, l.CutOut[0].H}),
            (std::vector<Single>{15, 15, 100, 50}));
  EXPECT_FALSE(l.Outline);
  // Mode 9: top-left and bottom-right rounded, plain corners between.
  ASSERT_TRUE(Frame0Layout(9, 100, 50, 10, 5, 20, l));
  ASSERT_EQ(l.CutOut.size(), 5u);
  EXPECT_EQ(l.CutOut[1].Kind, TItem::Point);
  EXPECT_EQ(l.CutOut[1].Points[0], (TFramePointF{115, 14}));
  EXPECT_EQ(l.CutOut[3].Points[0], (TFramePointF{14, 65}));
  EXPECT_EQ(l.CutOut[4].Points, (std::vector<TFramePointF>{{14, 65}, {14, 20}}));
  // Mode 4: corner cuts of k = Round(50 / 2 x 18 / 100) = Round(4.5) = 4.
  ASSERT_TRUE(Frame0Layout(4, 100, 50, 10, 5, 18, l));
  EXPECT_EQ(l.CutOut[0].Points, (std::vector<TFramePointF>{{19, 15}, {111, 15}, {115, 19}, {115, 61}, {111, 65},
                                                             {19, 65}, {15, 61}, {15, 19}}));
  // Mode 7: circle of radius (100 - 20) / 100 x 100 / 2 = 40 on the image's centre.
  ASSERT_TRUE(Frame0Layout(7, 100, 50, 10, 20, 0, l));
  EXPECT_EQ(l.CutOut[0].Kind, TItem::Ellipse);
  EXPECT_EQ((std::vector<Single>{l.CutOut[0].X, l.CutOut[0].Y, l.CutOut[0].W, l.CutOut[0].H}),
            (std::vector<Single>{20, -5, 80, 80}));
  // Mode 8: e = 100 / 2 x 10 / 100 = 5, f = 2.5.
  ASSERT_TRUE(Frame0Layout(8, 100, 50, 10, 10, 0, l));
  EXPECT_EQ((std::vector<Single>{l.CutOut[0].X, l.CutOut[0].Y, l.CutOut[0].W, l.CutOut[0].H}),
            (std::vector<Single>{14, 11.5f, 91, 46}));
}

std::vector<TFramePointF> P(std::initializer_list<std::pair<int, int>> L) {
  std::vector<TFramePointF> v;
  for (auto [x, y] : L) v.push_back(TFramePointF{Single(x), Single(y)});
  return v;
}

TEST(FrameNumbers, CutShapePointLists) {
  // 200 x 150, V1 = 5, V2 = 50: w = 210, h = 160, k = Round(50 x 37 / 100) =
  // Round(18.5) = 18, k2 = Round(37.5) = 38, t = 1.
  struct TCase {
    Integer Mode;
    TItem::TKind Kind;
    std::vector<TFramePointF> Points;
  } cases[] = {
      {2, TItem::Polygon, P({{5, 43}, {43, 5}, {166, 5}, {204, 43}, {204, 116}, {166, 154}, {43, 154}, {5, 116}})},
      {7, TItem::Polygon, P({{105, 23}, {23, 80}, {105, 136}, {186, 80}})},
      {8, TItem::Polygon, P({{105, 23}, {85, 69}, {23, 80}, {85, 91}, {105, 136}, {125, 91}, {186, 80}, {125, 69}})},
      {9, TItem::Polygon, P({{52, 23}, {23, 80}, {52, 136}, {158, 136}, {186, 80}, {158, 23}})},
      {10, TItem::Polygon, P({{105, 23}, {81, 50}, {23, 48}, {44, 80}, {23, 112}, {81, 110}, {105, 136}, {129, 110},
                             {186, 112}, {165, 80}, {186, 48}, {129, 50}})},
      {11, TItem::Beziers, P({{105, 5}, {13, 5}, {-9, 40}, {11, 83}, {26, 115}, {105, 154}, {105, 154}, {105, 154},
                             {184, 115}, {199, 83}, {219, 40}, {197, 5}, {105, 5}})},
      {12, TItem::Beziers, P({{105, 40}, {105, 40}, {105, 5}, {63, 5}, {13, 5}, {-9, 40}, {11, 83}, {26, 115},
                             {105, 154}, {105, 154}, {105, 154}, {184, 115}, {199, 83}, {219, 40}, {197, 5},
                             {147, 5}, {105, 5}, {105, 40}, {105, 40}})},
      {13, TItem::Polygon, P({{105, 23}, {23, 80}, {23, 136}, {186, 136}, {186, 80}})},
      {14, TItem::Polygon, P({{23, 23}, {23, 80}, {105, 136}, {186, 80}, {186, 23}})},
  };
  for (const TCase& c : cases) {
    TFramePath s;
    ASSERT_TRUE(Frame1Shape(c.Mode, 200, 150, 5, 50, s)) << c.Mode;
    ASSERT_EQ(s.size(), 1u) << c.Mode;
    EXPECT_EQ(s[0].Kind, c.Kind) << c.Mode;
    EXPECT_EQ(s[0].Points, c.Points) << c.Mode;
  }
  TFramePath s;
  EXPECT_FALSE(Frame1Shape(0, 200, 150, 5, 50, s));
  EXPECT_FALSE(Frame1Shape(17, 200, 150, 5, 50, s));
  EXPECT_TRUE(s.empty());
}

TEST(FrameNumbers, CutShapeRoundedRectangles) {
  // d = 20 x 150 / 100 = 30 on 200 x 150 with V1 = 5: the rectangle from
  // (4, 4) to (205, 155).
  struct TCase {
    Integer Mode;
    bool Round[4];  // top-left, top-right, bottom-right, bottom-left
  } cases[] = {{1, {true, true, true, true}}, {5, {true, false, true, false}}, {6, {false, true, false, true}},
               {15, {true, true, false, false}}, {16, {false, false, true, true}}};
  const Single corner[4][2] = {{4, 4}, {205, 4}, {205, 155}, {4, 155}};
  const Single box[4][3] = {{4, 4, 180}, {175, 4, 270}, {175, 125, 0}, {4, 125, 90}};
  for (const TCase& c : cases) {
    TFramePath s;
    ASSERT_TRUE(Frame1Shape(c.Mode, 200, 150, 5, 20, s));
    ASSERT_EQ(s.size(), 4u);
    for (int i = 0; i < 4; ++i) {
      if (c.Round[i]) {
        EXPECT_EQ(s[i].Kind, TItem::Arc) << c.Mode << " corner " << i;
        EXPECT_EQ((std::vector<Single>{s[i].X, s[i].Y, s[i].W, s[i].Start}),
                  (std::vector<Single>{box[i][0], box[i][1], 30, box[i][2]}));
      } else {
        EXPECT_EQ(s[i].Kind, TItem::Point) << c.Mode << " corner " << i;
        EXPECT_EQ(s[i].Points[0], (TFramePointF{corner[i][0], corner[i][1]}));
      }
    }
  }
  // d <= 1: the plain rectangle (V1, V1, W, H).
  TFramePath s;
  ASSERT_TRUE(Frame1Shape(1, 200, 150, 5, 0, s));
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].Kind, TItem::Rect);
  EXPECT_EQ((std::vector<Single>{s[0].X, s[0].Y, s[0].W, s[0].H}), (std::vector<Single>{5, 5, 200, 150}));
}

TFrameLayerWidths Layer(bool On, Integer T, Integer L, Integer R, Integer B) { return TFrameLayerWidths{On, T, L, R, B}; }

TEST(FrameNumbers, LayeredFrames) {
  // Rows from the innermost: 2 all round, a disabled one, 3/4/5/6, an
  // enabled one of width 0.
  TFrame2Layout l = Frame2Layout(100, 50, {Layer(true, 2, 2, 2, 2), Layer(false, 9, 9, 9, 9), Layer(true, 3, 4, 5, 6),
                                           Layer(true, 0, 0, 0, 0)});
  EXPECT_EQ(l.X0, 6);
  EXPECT_EQ(l.Y0, 5);
  EXPECT_EQ(l.Width, 6 + 100 + 7);
  EXPECT_EQ(l.Height, 5 + 50 + 8);
  EXPECT_EQ(l.Outer, (std::vector<TRect>{TRect(4, 3, 108, 57), TRect(), TRect(0, 0, 113, 63), TRect(0, 0, 113, 63)}));
  EXPECT_EQ(l.Painted, (std::vector<Integer>{2, 0}));

  // All widths 0: the picture stays W x H and nothing is painted.
  l = Frame2Layout(100, 50, {Layer(true, 0, 0, 0, 0), Layer(false, 5, 5, 5, 5)});
  EXPECT_EQ(l.Width, 100);
  EXPECT_EQ(l.Height, 50);
  EXPECT_EQ(l.X0, 0);
  EXPECT_TRUE(l.Painted.empty());

  // Seven enabled layers of width 1: the seventh is ignored everywhere.
  std::vector<TFrameLayerWidths> seven(7, Layer(true, 1, 1, 1, 1));
  l = Frame2Layout(10, 10, seven);
  EXPECT_EQ(l.X0, 6);
  EXPECT_EQ(l.Width, 22);
  EXPECT_EQ(l.Outer[6], TRect());
  EXPECT_EQ(l.Painted, (std::vector<Integer>{5, 4, 3, 2, 1, 0}));
}

}  // namespace
