// The region type against gdi32's regions as the oracle: the same rectangle
// lists for polygons (winding), rectangles, unions, differences,
// intersections, offsets and scaled copies, over a table of shapes and
// seeded random cases.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include "tests/document/print_values.h"
#include "tests/document/region_cases.h"

#include <windows.h>

namespace {

struct TRgn {
  HRGN H;
  explicit TRgn(HRGN h) : H(h) {}
  ~TRgn() { DeleteObject(H); }
  TRgn(const TRgn&) = delete;
};

std::vector<TRect> RectsOf(HRGN R) {
  const DWORD n = GetRegionData(R, 0, nullptr);
  std::vector<char> buf(n);
  GetRegionData(R, n, reinterpret_cast<RGNDATA*>(buf.data()));
  const RGNDATA* d = reinterpret_cast<const RGNDATA*>(buf.data());
  const RECT* rc = reinterpret_cast<const RECT*>(d->Buffer);
  std::vector<TRect> out;
  for (DWORD i = 0; i < d->rdh.nCount; ++i) out.push_back(TRect(rc[i].left, rc[i].top, rc[i].right, rc[i].bottom));
  return out;
}

HRGN PolygonRgn(const std::vector<TPoint>& P) {
  std::vector<POINT> pts;
  for (const TPoint& p : P) pts.push_back(POINT{p.X, p.Y});
  return CreatePolygonRgn(pts.data(), Integer(pts.size()), WINDING);
}

HRGN RectsRgn(const std::vector<TRect>& R) {
  HRGN h = CreateRectRgn(0, 0, 0, 0);
  for (const TRect& r : R) {
    if (r.Left >= r.Right || r.Top >= r.Bottom) continue;
    HRGN one = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(h, h, one, RGN_OR);
    DeleteObject(one);
  }
  return h;
}

HRGN Combined(HRGN A, HRGN B, int Mode) {
  HRGN h = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(h, A, B, Mode);
  return h;
}

HRGN ScaledRgn(HRGN Src, float Scale) {
  const DWORD n = GetRegionData(Src, 0, nullptr);
  std::vector<char> buf(n);
  GetRegionData(Src, n, reinterpret_cast<RGNDATA*>(buf.data()));
  XFORM x = {Scale, 0, 0, Scale, 0, 0};
  return ExtCreateRegion(&x, n, reinterpret_cast<RGNDATA*>(buf.data()));
}

// One random region both ways.
std::pair<TRegion, HRGN> RandomPair(std::mt19937& Gen, Integer Range) {
  if (Gen() % 2) {
    const auto rects = RandomRects(Gen, Range);
    return {TRegion::FromRects(rects), RectsRgn(rects)};
  }
  const auto p = RandomPolygon(Gen, Range);
  return {TRegion::Polygon(p), PolygonRgn(p)};
}

}  // namespace

TEST(RegionOracle, PolygonsAndRectangles) {
  for (const TPolygonCase& c : PolygonTable()) {
    TRgn g(PolygonRgn(c.Points));
    EXPECT_EQ(TRegion::Polygon(c.Points).Rects(), RectsOf(g.H)) << c.Name;
  }
  std::mt19937 gen(1);
  for (int i = 0; i < 1500; ++i) {
    const auto p = RandomPolygon(gen, i < 1000 ? 40 : 5000);
    TRgn g(PolygonRgn(p));
    ASSERT_EQ(TRegion::Polygon(p).Rects(), RectsOf(g.H)) << "polygon " << i;
  }
  for (const TRect& r : {TRect(0, 0, 10, 10), TRect(-5, -9, -1, 200), TRect(4, 4, 4, 9)}) {
    TRgn g(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    EXPECT_EQ(TRegion(r).Rects(), RectsOf(g.H)) << r.Left;
  }
}

TEST(RegionOracle, CombinationsOffsetsAndScaledCopies) {
  std::mt19937 gen(2);
  for (int i = 0; i < 1500; ++i) {
    auto [a, ga] = RandomPair(gen, 30);
    auto [b, gb] = RandomPair(gen, 30);
    TRgn ha(ga), hb(gb);
    ASSERT_EQ(a.Rects(), RectsOf(ha.H)) << i;
    ASSERT_EQ(b.Rects(), RectsOf(hb.H)) << i;
    TRgn u(Combined(ha.H, hb.H, RGN_OR)), d(Combined(ha.H, hb.H, RGN_DIFF)), n(Combined(ha.H, hb.H, RGN_AND));
    TRegion ru = Union(a, b);
    ASSERT_EQ(ru.Rects(), RectsOf(u.H)) << "union " << i;
    ASSERT_EQ(Difference(a, b).Rects(), RectsOf(d.H)) << "difference " << i;
    ASSERT_EQ(Intersection(a, b).Rects(), RectsOf(n.H)) << "intersection " << i;
    const Integer dx = Integer(gen() % 200) - 100, dy = Integer(gen() % 200) - 100;
    OffsetRgn(u.H, dx, dy);
    ru.Offset(dx, dy);
    ASSERT_EQ(ru.Rects(), RectsOf(u.H)) << "offset " << i;
    for (float s : {0.25f, 1.0f / 3, 0.5f, 1.5f, 2.0f, 3.0f}) {
      TRgn sc(ScaledRgn(u.H, s));
      ASSERT_EQ(ru.Scaled(s).Rects(), RectsOf(sc.H)) << "scale " << s << " case " << i;
    }
  }
}
