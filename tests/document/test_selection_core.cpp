// The selection's arithmetic: pixel sets, outlines (their lines cover
// exactly the region's border pixels, at any density), moves at fractional
// zoom, region texts both ways, combining and inverting, node insertion.
#include "common/gtest.h"

#include <random>
#include <set>

#include "document/SelectionCore.h"
#include "rtl/Math.h"
#include "tests/document/print_values.h"

namespace {

using TPixels = std::set<std::pair<Integer, Integer>>;

TPixels LinePixels(const TArrayOfLine& H, const TArrayOfLine& V) {
  TPixels s;
  for (const TLine& l : H)
    for (Integer x = l.StartPoint.X; x <= l.EndPoint.X; ++x) s.insert({x, l.StartPoint.Y});
  for (const TLine& l : V)
    for (Integer y = l.StartPoint.Y; y <= l.EndPoint.Y; ++y) s.insert({l.StartPoint.X, y});
  return s;
}

// The region's pixels with a 4-neighbour outside it.
TPixels BorderPixels(const TRegion& R) {
  TPixels s;
  for (const TRect& q : R.Rects())
    for (Integer y = q.Top; y < q.Bottom; ++y)
      for (Integer x = q.Left; x < q.Right; ++x)
        if (!R.Contains(x - 1, y) || !R.Contains(x + 1, y) || !R.Contains(x, y - 1) || !R.Contains(x, y + 1))
          s.insert({x, y});
  return s;
}

}  // namespace

TEST(SelectionCore, EllipseAndKinds) {
  std::vector<TRegionRun> runs = EllipseRuns(TRect(10, 20, 14, 24));
  const TRegion e = TRegion::FromRuns(runs);
  EXPECT_EQ(e.PixelCount(), 12);
  for (TPoint corner : {TPoint(10, 20), TPoint(13, 20), TPoint(10, 23), TPoint(13, 23)})
    EXPECT_FALSE(e.Contains(corner)) << corner.X << "," << corner.Y;
  TSelectionInput in;
  in.PointMoved = TPoint(3, 4);
  const TRect image(0, 0, 50, 40);
  EXPECT_EQ(KindRegion(SelKind::Row, TRect(), in, image).Rects(), std::vector<TRect>{TRect(0, 4, 50, 5)});
  EXPECT_EQ(KindRegion(SelKind::Column, TRect(), in, image).Rects(), std::vector<TRect>{TRect(3, 0, 4, 40)});
  in.AddPoint(SelKind::PolygonLasso, 1, 1);
  in.AddPoint(SelKind::PolygonLasso, 1, 1);
  EXPECT_EQ(in.PointsCount(), 1);
}

// At 100 % the lines cover exactly the border pixels: a single pixel, a
// one-pixel checkerboard (more lines than the old fixed arrays held), random
// run sets.
TEST(SelectionCore, OutlineCoversTheBorder) {
  TArrayOfLine h, v;
  CalcOutlineLines(TRegion(TRect(5, 7, 6, 8)), 1, h, v);
  EXPECT_EQ(h.size(), 2u);
  EXPECT_EQ(v.size(), 2u);
  EXPECT_EQ(LinePixels(h, v), (TPixels{{5, 7}}));
  std::vector<TRegionRun> board;
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = y % 2; x < 8; x += 2) board.push_back({y, x, x + 1});
  const TRegion checker = TRegion::FromRuns(board);
  CalcOutlineLines(checker, 1, h, v);
  EXPECT_EQ(LinePixels(h, v), BorderPixels(checker));
  EXPECT_GT(h.size(), size_t(9 * 5));
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    std::vector<TRegionRun> runs;
    for (int i = 0; i < 30; ++i) {
      const Integer y = Integer(rng() % 20), x = Integer(rng() % 30);
      runs.push_back({y, x, x + 1 + Integer(rng() % 6)});
    }
    const TRegion r = TRegion::FromRuns(runs);
    CalcOutlineLines(r, 1, h, v);
    EXPECT_EQ(LinePixels(h, v), BorderPixels(r)) << round;
  }
  // A select-all makes four lines, not a table sized by the image.
  CalcOutlineLines(TRegion(TRect(0, 0, 6000, 5000)), 1, h, v);
  EXPECT_EQ(h.size() + v.size(), 4u);
}

// Moves keep the outline on the region: at integer zoom by the scaled move,
// at fractional zoom by the change of the rounded total.
TEST(SelectionCore, MovesAtEveryZoom) {
  for (Single scale : {0.5f, 1.0f, 1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    TSelectionCore s;
    ASSERT_TRUE(s.CreateRegion(SelKind::Rectangle, TRect(10, 10, 30, 20), TRect(0, 0, 100, 100), false, scale));
    const Integer left0 = s.VertLines().front().StartPoint.X;
    for (Integer n = 1; n <= 7; ++n) {
      s.Offset(1, 0, scale);
      EXPECT_EQ(s.VertLines().front().StartPoint.X, left0 + Integer(Round((long double)(n * scale)))) << n;
      EXPECT_EQ(s.Region().Box().Left, 10 + n);
    }
  }
  TSelectionCore s;
  ASSERT_TRUE(s.CreateRegion(SelKind::Rectangle, TRect(10, 10, 30, 20), TRect(0, 0, 100, 100), false, 2));
  const Integer x0 = s.VertLines().front().StartPoint.X;
  s.Offset(3, 0, 2);
  EXPECT_EQ(s.VertLines().front().StartPoint.X, x0 + 6);
}

TEST(SelectionCore, RegionTexts) {
  EXPECT_EQ(RegionToText(TRegion(TRect(5, 7, 6, 8))), u"5.7.6.8");
  EXPECT_EQ(RegionToText(TRegion(TRect(5, 7, 7, 8))), u"5.7.7.8");
  struct TCase {
    const char16_t* Text;
    std::vector<TRect> Rects;
  } cases[] = {
      {u"5.7.7.8", {TRect(5, 7, 7, 8)}},
      {u"1.2.3.4.5.6.7.8", {TRect(1, 2, 3, 4), TRect(5, 6, 7, 8)}},
      {u"1.2.3.4.5.6", {TRect(1, 2, 3, 4)}},            // a partial group
      {u"1.2.x.4.5.6.7.8", {TRect(5, 6, 7, 8)}},         // a non-number
      {u"3.3.1.1.0.0.0.5", {}},                          // right <= left
      {u"", {}},
      {u"1..3.4", {}},
      {u"-2.-2.99999999999.4", {}},
  };
  for (const TCase& c : cases) {
    std::vector<TRect> r;
    EXPECT_EQ(TextToRects(c.Text, r), !c.Rects.empty()) << UTF8Encode(String(c.Text));
    EXPECT_EQ(r, c.Rects) << UTF8Encode(String(c.Text));
  }
}

TEST(SelectionCore, CombiningAndInverting) {
  const TRect image(0, 0, 40, 30);
  TSelectionCore s;
  ASSERT_TRUE(s.CreateRegion(SelKind::Rectangle, TRect(5, 5, 15, 15), image, false, 1));
  TSelectionInput none;
  // Subtracting everything keeps the selection.
  EXPECT_FALSE(s.CombineRegion(false, false, SelKind::Rectangle, TRect(0, 0, 20, 20), none, image, 1, nullptr));
  EXPECT_EQ(s.Region(), TRegion(TRect(5, 5, 15, 15)));
  TRegion cut;
  EXPECT_TRUE(s.CombineRegion(false, false, SelKind::Rectangle, TRect(10, 0, 20, 20), none, image, 1, &cut));
  EXPECT_EQ(s.Region(), TRegion(TRect(5, 5, 10, 15)));
  EXPECT_EQ(cut, TRegion(TRect(10, 0, 20, 20)));
  EXPECT_TRUE(s.CombineRegion(true, false, SelKind::Rectangle, TRect(30, 20, 35, 25), none, image, 1, nullptr));
  EXPECT_EQ(s.Region().PixelCount(), 50 + 25);
  // The node lasso does not combine.
  EXPECT_FALSE(s.CombineRegion(true, false, SelKind::NodeLasso, TRect(), none, image, 1, nullptr));
  // Inverting, and inverting a selection of the whole image.
  EXPECT_TRUE(s.CombineRegionAuto(false, false, image, 1));
  EXPECT_EQ(s.Region().PixelCount(), 40 * 30 - 75);
  EXPECT_TRUE(s.CombineRegionAuto(false, true, image, 1));
  EXPECT_FALSE(s.CombineRegionAuto(false, false, image, 1));
  EXPECT_FALSE(s.HasRegion());
}

TEST(SelectionCore, NodeInsertion) {
  const std::vector<TPoint> square = {TPoint(0, 0), TPoint(10, 0), TPoint(10, 10), TPoint(0, 10)};
  struct TCase {
    TPoint P;
    Integer At;
  } cases[] = {{TPoint(5, -1), 1}, {TPoint(11, 5), 2}, {TPoint(5, 11), 3}, {TPoint(-1, 5), 4}};
  for (const TCase& c : cases) EXPECT_EQ(NodeInsertIndex(square, c.P), c.At) << c.P.X << "," << c.P.Y;
}

TEST(SelectionCore, PicturesOfARegion) {
  TCustomBitmap32 src;
  src.SetSize(10, 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 10; ++x) src.SetPixel(x, y, 0xFF000000u | TColor32(y * 10 + x));
  const TRegion r = Union(TRegion(TRect(2, 2, 5, 4)), TRegion(TRect(4, 4, 12, 6)));
  TPoint origin;
  std::unique_ptr<TCustomBitmap32> b(RegionToBitmap(r, &src, false, true, origin));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(origin, TPoint(2, 2));
  EXPECT_EQ(b->Width(), 8);  // clipped to the image
  EXPECT_EQ(b->GetPixel(0, 0), src.GetPixel(2, 2));
  EXPECT_EQ(b->GetPixel(0, 3), 0u);  // outside the region
  EXPECT_EQ(b->GetPixel(7, 3), src.GetPixel(9, 5));
  std::unique_ptr<TCustomBitmap32> none(RegionToBitmap(TRegion(TRect(20, 20, 30, 30)), &src, false, true, origin));
  EXPECT_EQ(none, nullptr);
}
