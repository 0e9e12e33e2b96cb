// The fill search and the wand scans: the tolerance edge cases, the compact
// search against a literal breadth-first search with a point list and a
// byte map, the wand's runs against the selection's point-by-point input,
// and region fills clipped to the raster.
#include "common/gtest.h"

#include <random>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/FloodFill.h"
#include "document/SelectionCore.h"

namespace {

// The search as a list of generations over a point list and a byte map.
struct TLiteralFill {
  std::vector<TPoint> RowOrder;
  std::vector<uint32_t> PaintOrder;
};
TLiteralFill LiteralFill(TCustomBitmap32& B, Integer X0, Integer Y0, TColor32 Source, TColor32 Fill, Integer Tol) {
  TLiteralFill r;
  const Integer w = B.Width(), h = B.Height();
  std::vector<Byte> visited(size_t(w) * h, 0);
  std::vector<TPoint> list(size_t(w) * h);
  Integer count = 0;
  auto take = [&](Integer x, Integer y) {
    visited[size_t(y) * w + x] = 1;
    B.SetPixel(x, y, Fill);
    r.PaintOrder.push_back(uint32_t(y * w + x));
    list[size_t(count++)] = TPoint(x, y);
  };
  take(X0, Y0);
  Integer first = 0, last = 0;
  while (first <= last) {
    const Integer before = count;
    for (Integer k = first; k <= last; ++k) {
      const TPoint p = list[size_t(k)];
      const TPoint n[4] = {TPoint(p.X - 1, p.Y), TPoint(p.X, p.Y - 1), TPoint(p.X + 1, p.Y), TPoint(p.X, p.Y + 1)};
      for (const TPoint& q : n)
        if (q.X >= 0 && q.Y >= 0 && q.X < w && q.Y < h && !visited[size_t(q.Y) * w + q.X] &&
            ColorWithinTolerance(B.GetPixel(q.X, q.Y), Source, Tol))
          take(q.X, q.Y);
    }
    first = before;
    last = count - 1;
  }
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x)
      if (visited[size_t(y) * w + x]) r.RowOrder.push_back(TPoint(x, y));
  return r;
}

// A picture of a few colours in blobs with noise: regions of all shapes.
void RandomPicture(TCustomBitmap32& B, std::mt19937& Rng, Integer W = 64, Integer H = 64) {
  const TColor32 palette[] = {0xFF102030u, 0xFF122233u, 0xFF80FF00u, 0x80102030u, 0xFF2A3A4Au, 0xFFFFFFFFu};
  B.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      Integer k = ((x / 9) * 3 + (y / 7) * 5) % 6;
      if (Rng() % 4 == 0) k = Integer(Rng() % 6);
      B.SetPixel(x, y, palette[k]);
    }
}

std::vector<TPoint> Points(const std::vector<TRegionRun>& Runs) {
  std::vector<TPoint> p;
  RunsToPoints(Runs, p);
  return p;
}

}  // namespace

class FloodFill : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitializeBitmapEngine(); }
};

// Each case: a 5 x 3 picture of Seed everywhere except the pixels given;
// the fill from (0, 1) must visit exactly Want (row-major marks).
TEST_F(FloodFill, ToleranceAndConnectivityEdgeCases) {
  const TColor32 seed = 0xFF00FF40u;
  const struct {
    const char* Name;
    Integer Tolerance;
    std::vector<std::pair<TPoint, TColor32>> Others;
    const char* Want;  // rows of 5, '#' visited
  } cases[] = {
      {"same colour, other alpha stops at tolerance 0", 0,
       {{TPoint(2, 0), 0x8000FF40u}, {TPoint(2, 1), 0x8000FF40u}, {TPoint(2, 2), 0x8000FF40u}}, "##...##...##..."},
      {"other alpha passes at tolerance 1", 1,
       {{TPoint(2, 0), 0x8000FF40u}, {TPoint(2, 1), 0x8000FF40u}, {TPoint(2, 2), 0x8000FF40u}}, "###############"},
      {"a pairwise difference of 510 stops at 255", 255,
       {{TPoint(2, 0), 0xFFFF0040u}, {TPoint(2, 1), 0xFFFF0040u}, {TPoint(2, 2), 0xFFFF0040u}}, "##...##...##..."},
      {"510 takes everything", 510,
       {{TPoint(2, 0), 0xFFFF0040u}, {TPoint(2, 1), 0x00FF00FFu}, {TPoint(2, 2), 0xFFFF0040u}}, "###############"},
      {"above 510 too", 2000, {{TPoint(2, 0), 0xFFFF0040u}, {TPoint(2, 1), 0xFFFF00FFu}, {TPoint(2, 2), 0u}},
       "###############"},
      {"a diagonal gap stops", 0,
       {{TPoint(1, 0), 0xFF000000u}, {TPoint(0, 0), 0xFF000000u}, {TPoint(1, 1), 0xFF000000u},
        {TPoint(2, 2), 0xFF000000u}, {TPoint(1, 2), 0xFF000000u}, {TPoint(2, 1), 0xFF000000u}},
       ".....#....#...."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 b;
    b.SetSize(5, 3);
    b.Clear(seed);
    for (const auto& o : c.Others) b.SetPixel(o.first.X, o.first.Y, o.second);
    TFillSearch s;
    FloodFillSearch(&b, 0, 1, seed, 0xFFABCDEFu, c.Tolerance, s);
    std::string got(15, '.');
    for (const TPoint& p : Points(s.Runs)) got[size_t(p.Y * 5 + p.X)] = '#';
    EXPECT_EQ(got, std::string(c.Want).substr(0, 15));
    EXPECT_EQ(s.Count, Int64(std::count(got.begin(), got.end(), '#')));
    for (const TPoint& p : Points(s.Runs)) EXPECT_EQ(b.GetPixel(p.X, p.Y), 0xFFABCDEFu);
  }
  // A seed outside the picture finds nothing and paints nothing.
  TCustomBitmap32 b;
  b.SetSize(4, 4);
  b.Clear(seed);
  TFillSearch s;
  FloodFillSearch(&b, 4, 0, seed, 0u, 0, s);
  EXPECT_EQ(s.Count, 0);
  EXPECT_EQ(b.GetPixel(3, 0), seed);
}

// The compact search visits the same pixels in the same order, paints the
// same picture and lists the same row-ordered result as the literal one.
TEST_F(FloodFill, CompactSearchEqualsTheLiteralSearch) {
  std::mt19937 rng(20261211);
  for (Integer round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    TCustomBitmap32 a, b;
    RandomPicture(a, rng);
    b.Assign(&a);
    const Integer x = Integer(rng() % 64), y = Integer(rng() % 64);
    const Integer tol = std::vector<Integer>{0, 3, 40, 300}[round % 4];
    const TColor32 source = a.GetPixel(x, y);
    std::vector<uint32_t> order;
    TFillSearch s;
    s.PaintOrder = &order;
    FloodFillSearch(&a, x, y, source, 0xFF0000FFu, tol, s);
    const TLiteralFill want = LiteralFill(b, x, y, source, 0xFF0000FFu, tol);
    EXPECT_EQ(order, want.PaintOrder);
    EXPECT_EQ(Points(s.Runs), want.RowOrder);
    EXPECT_EQ(s.Count, Int64(want.RowOrder.size()));
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + 64 * 64, b.Bits()));
  }
}

// The wand's runs give the region the selection builds from the same points
// appended one by one; the global scan lists matches in row order.
TEST_F(FloodFill, WandRunsEqualThePointByPointRegion) {
  std::mt19937 rng(7);
  for (Integer round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    TCustomBitmap32 pic, copy;
    RandomPicture(pic, rng);
    copy.Assign(&pic);
    const Integer x = Integer(rng() % 64), y = Integer(rng() % 64), tol = round % 2 ? 20 : 0;
    const TColor32 source = pic.GetPixel(x, y);
    const bool continuous = round % 3 != 0;
    std::vector<TRegionRun> runs;
    if (continuous) {
      TFillSearch s;
      FloodFillSearch(&copy, x, y, source, 0, tol, s);
      runs = s.Runs;
    } else {
      runs = MatchingRuns(&pic, source, tol);
      std::vector<TPoint> want;
      for (Integer yy = 0; yy < 64; ++yy)
        for (Integer xx = 0; xx < 64; ++xx)
          if (ColorWithinTolerance(pic.GetPixel(xx, yy), source, tol)) want.push_back(TPoint(xx, yy));
      EXPECT_EQ(Points(runs), want);
    }
    TSelectionInput byPoint;
    for (const TPoint& p : Points(runs)) byPoint.AddPoint(SelKind::PixelList, p.X, p.Y);
    const TRect image(0, 0, 64, 64);
    EXPECT_EQ(TRegion::FromRuns(runs), KindRegion(SelKind::PixelList, image, byPoint, image));
  }
}

// A region fill writes only inside the picture, whether the region lies
// inside, half outside or wholly outside it.
TEST_F(FloodFill, RegionFillIsClippedToThePicture) {
  const struct {
    const char* Name;
    TRect R;
    Integer Painted;
  } cases[] = {{"inside", TRect(2, 2, 6, 5), 12},
               {"half off the right and bottom", TRect(8, 6, 14, 12), 4},
               {"half off the left and top", TRect(-5, -5, 2, 3), 6},
               {"wholly outside", TRect(20, 20, 30, 30), 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomBitmap32 b;
    b.SetSize(10, 8);
    b.Clear(0xFF000000u);
    FillRegionPixels(&b, TRegion(c.R), 0xFFFFFFFFu);
    Integer painted = 0;
    for (Integer i = 0; i < 80; ++i) painted += b.Bits()[i] == 0xFFFFFFFFu;
    EXPECT_EQ(painted, c.Painted);
  }
}
