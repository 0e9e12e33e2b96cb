// The region type against pixel sets computed here one pixel at a time:
// polygons by the winding rule, set operations, runs in any order, scaled
// copies and point tests; every result in the banded form. (The Winelib
// test compares the rectangle lists with gdi32's.)
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "document/Region.h"
#include "tests/document/region_cases.h"

namespace {

using TPixelSet = std::set<std::pair<Integer, Integer>>;  // (y, x)

TPixelSet PixelsOf(const TRegion& R) {
  TPixelSet s;
  for (const TRect& r : R.Rects())
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) s.insert({y, x});
  return s;
}

// The winding number of the corner point (X, Y): edges cover rows
// top .. bottom - 1 and count when they cross the row at or left of X.
bool InsidePolygon(const std::vector<TPoint>& P, Integer X, Integer Y) {
  int w = 0;
  for (size_t i = 0; i < P.size(); ++i) {
    TPoint a = P[i], b = P[(i + 1) % P.size()];
    if (a.Y == b.Y) continue;
    int dir = 1;
    if (a.Y > b.Y) {
      std::swap(a, b);
      dir = -1;
    }
    if (Y < a.Y || Y >= b.Y) continue;
    if (Int64(Y - a.Y) * (b.X - a.X) <= Int64(X - a.X) * (b.Y - a.Y)) w += dir;
  }
  return w != 0;
}

TPixelSet PolygonPixels(const std::vector<TPoint>& P) {
  TPixelSet s;
  if (P.empty()) return s;
  Integer x0 = P[0].X, x1 = P[0].X, y0 = P[0].Y, y1 = P[0].Y;
  for (const TPoint& p : P) {
    x0 = std::min(x0, p.X);
    x1 = std::max(x1, p.X);
    y0 = std::min(y0, p.Y);
    y1 = std::max(y1, p.Y);
  }
  for (Integer y = y0; y <= y1; ++y)
    for (Integer x = x0; x <= x1; ++x)
      if (InsidePolygon(P, x, y)) s.insert({y, x});
  return s;
}

// Bands top to bottom, one Top and Bottom per band, left to right without
// overlapping, touching bands not alike, box = bounds.
void ExpectBanded(const TRegion& R) {
  const auto& r = R.Rects();
  TRect box;
  for (size_t i = 0; i < r.size(); ++i) {
    ASSERT_TRUE(r[i].Left < r[i].Right && r[i].Top < r[i].Bottom) << i;
    if (i == 0)
      box = r[i];
    else
      box = TRect(std::min(box.Left, r[i].Left), box.Top, std::max(box.Right, r[i].Right), r[i].Bottom);
    if (i > 0 && r[i].Top == r[i - 1].Top) {
      ASSERT_EQ(r[i].Bottom, r[i - 1].Bottom) << i;
      ASSERT_LE(r[i - 1].Right, r[i].Left) << i;
    } else if (i > 0) {
      ASSERT_GE(r[i].Top, r[i - 1].Bottom) << i;
    }
  }
  EXPECT_EQ(R.Box(), box);
  // Touching bands differ.
  std::vector<std::pair<size_t, size_t>> bands;
  for (size_t i = 0; i < r.size();) {
    size_t j = i;
    while (j < r.size() && r[j].Top == r[i].Top) ++j;
    bands.push_back({i, j});
    i = j;
  }
  for (size_t b = 1; b < bands.size(); ++b) {
    const auto [p0, p1] = bands[b - 1];
    const auto [c0, c1] = bands[b];
    if (r[p0].Bottom != r[c0].Top || p1 - p0 != c1 - c0) continue;
    bool same = true;
    for (size_t k = 0; k < c1 - c0; ++k) same = same && r[p0 + k].Left == r[c0 + k].Left && r[p0 + k].Right == r[c0 + k].Right;
    EXPECT_FALSE(same) << "bands " << b - 1 << " and " << b << " should be one";
  }
}

}  // namespace

TEST(Region, PolygonsByTheWindingRule) {
  for (const TPolygonCase& c : PolygonTable()) {
    if (c.Name == "far outside") continue;  // too many pixels to list one by one
    SCOPED_TRACE(c.Name);
    const TRegion r = TRegion::Polygon(c.Points);
    ExpectBanded(r);
    EXPECT_EQ(PixelsOf(r), PolygonPixels(c.Points));
  }
  std::mt19937 gen(7);
  for (int i = 0; i < 400; ++i) {
    const auto p = RandomPolygon(gen, 24);
    const TRegion r = TRegion::Polygon(p);
    ExpectBanded(r);
    ASSERT_EQ(PixelsOf(r), PolygonPixels(p)) << "case " << i;
  }
  // Documented shapes.
  EXPECT_EQ(TRegion::Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}).Rects(), std::vector<TRect>{TRect(0, 0, 10, 10)});
  EXPECT_EQ(TRegion::Polygon({{0, 0}, {3, 0}, {3, 5}, {6, 5}, {6, 0}, {9, 0}, {9, 8}, {0, 8}}).Rects(),
            (std::vector<TRect>{TRect(0, 0, 3, 5), TRect(6, 0, 9, 5), TRect(0, 5, 9, 8)}));
  EXPECT_TRUE(TRegion::Polygon({{0, 0}, {10, 10}}).Empty());
  EXPECT_TRUE(TRegion::Polygon(nullptr, 0).Empty());
}

TEST(Region, SetOperationsAndOffsets) {
  std::mt19937 gen(11);
  for (int i = 0; i < 300; ++i) {
    auto build = [&] {
      return (gen() % 2) ? TRegion::FromRects(RandomRects(gen, 16)) : TRegion::Polygon(RandomPolygon(gen, 16));
    };
    const TRegion a = build(), b = build();
    const TPixelSet pa = PixelsOf(a), pb = PixelsOf(b);
    TPixelSet u, d, n;
    std::set_union(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(u, u.end()));
    std::set_difference(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(d, d.end()));
    std::set_intersection(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(n, n.end()));
    const TRegion ru = Union(a, b), rd = Difference(a, b), rn = Intersection(a, b);
    ExpectBanded(ru);
    ExpectBanded(rd);
    ExpectBanded(rn);
    ASSERT_EQ(PixelsOf(ru), u) << i;
    ASSERT_EQ(PixelsOf(rd), d) << i;
    ASSERT_EQ(PixelsOf(rn), n) << i;
    // Same pixels, same list, however the union was reached.
    EXPECT_EQ(Union(b, a), ru);
    TRegion moved = ru;
    moved.Offset(-7, 13);
    TPixelSet pm;
    for (const auto& [y, x] : u) pm.insert({y + 13, x - 7});
    EXPECT_EQ(PixelsOf(moved), pm);
    ExpectBanded(moved);
  }
  // A subtraction that takes everything leaves nothing.
  const TRegion r(TRect(0, 0, 5, 5));
  EXPECT_TRUE(Difference(r, TRegion(TRect(-1, -1, 9, 9))).Empty());
  EXPECT_TRUE(Intersection(r, TRegion(TRect(5, 0, 9, 5))).Empty());
  EXPECT_EQ(Union(r, TRegion(TRect(5, 0, 9, 5))).Rects(), std::vector<TRect>{TRect(0, 0, 9, 5)});
}

TEST(Region, RunsInAnyOrderAndRectangleLists) {
  std::mt19937 gen(3);
  for (int i = 0; i < 100; ++i) {
    std::vector<TRegionRun> runs;
    TPixelSet expected;
    const int n = std::uniform_int_distribution<int>(1, 60)(gen);
    for (int k = 0; k < n; ++k) {
      const Integer y = Integer(gen() % 12) - 3, x0 = Integer(gen() % 20) - 5, len = Integer(gen() % 6);
      runs.push_back({y, x0, x0 + len});
      for (Integer x = x0; x < x0 + len; ++x) expected.insert({y, x});
    }
    const TRegion sorted = TRegion::FromRuns(runs);
    std::shuffle(runs.begin(), runs.end(), gen);
    const TRegion shuffled = TRegion::FromRuns(runs);
    ExpectBanded(sorted);
    EXPECT_EQ(PixelsOf(sorted), expected);
    EXPECT_EQ(sorted, shuffled);
    // The same pixels as rectangles give the same list.
    std::vector<TRect> rects;
    for (const TRegionRun& r : runs) rects.push_back(TRect(r.X0, r.Y, r.X1, r.Y + 1));
    EXPECT_EQ(TRegion::FromRects(rects), sorted);
  }
  // A one-pixel checkerboard: every pixel its own rectangle.
  std::vector<TRegionRun> board;
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = (y % 2); x < 8; x += 2) board.push_back({y, x, x + 1});
  const TRegion b = TRegion::FromRuns(board);
  EXPECT_EQ(b.Rects().size(), 32u);
  EXPECT_EQ(b.PixelCount(), 32);
  ExpectBanded(b);
}

TEST(Region, PointTestsAndScaledCopies) {
  std::mt19937 gen(5);
  for (int i = 0; i < 60; ++i) {
    const TRegion r = TRegion::Polygon(RandomPolygon(gen, 20));
    const TPixelSet p = PixelsOf(r);
    for (Integer y = -22; y < 22; ++y)
      for (Integer x = -22; x < 22; ++x) ASSERT_EQ(r.Contains(x, y), p.count({y, x}) == 1) << x << "," << y;
    for (double s : {0.25, 1.0 / 3, 0.5, 1.0, 1.5, 2.0, 3.0}) {
      const TRegion sc = r.Scaled(s);
      ExpectBanded(sc);
      // Every rectangle scaled and rounded, united.
      TPixelSet expected;
      for (const TRect& q : r.Rects()) {
        auto f = [&](Integer v) { return Integer(std::floor(v * s + 0.5)); };
        for (Integer y = f(q.Top); y < f(q.Bottom); ++y)
          for (Integer x = f(q.Left); x < f(q.Right); ++x) expected.insert({y, x});
      }
      ASSERT_EQ(PixelsOf(sc), expected) << s;
    }
  }
  EXPECT_FALSE(TRegion().Contains(0, 0));
  EXPECT_EQ(TRegion().Box(), TRect());
  EXPECT_TRUE(TRegion(TRect(3, 3, 3, 9)).Empty());
}
