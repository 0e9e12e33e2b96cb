// Pixel routines of the alpha bitmap: blending, keyed rows, transfers,
// tiling, merging, filling, checks and transforms.
#include "common/gtest.h"

#include <vector>

#include "skin/data/SpPixels.h"

using namespace sppix;

namespace {

struct Pixels {
  Integer W, H;
  std::vector<TspColor> P;
  Pixels(Integer w, Integer h, TspColor Fill = 0) : W(w), H(h), P(size_t(w) * size_t(h), Fill) {}
  TspSurface S() { return TopDownSurface(P.data(), W, H); }
  TspColor& At(Integer x, Integer y) { return P[size_t(y) * size_t(W) + size_t(x)]; }
};

// Pixel (x, y) of a source names itself.
Pixels Numbered(Integer W, Integer H) {
  Pixels S(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) S.At(x, y) = 0xFF000000u | TspColor(y << 8) | TspColor(x);
  return S;
}

TEST(SpBlend, PixelTable) {
  // Every byte, alpha included: (F * a + B * (256 - a)) shr 8.
  const Cardinal Alphas[] = {0, 1, 128, 254, 255};
  for (Cardinal a : Alphas)
    for (TspColor B : {0x00000000u, 0xFF204060u}) {
      const TspColor F = (a << 24) | 0x00FF8001u;
      const TspColor R = BlendPixel(F, B);
      for (int sh = 0; sh < 32; sh += 8) {
        const Cardinal f = (F >> sh) & 0xFF, b = (B >> sh) & 0xFF;
        EXPECT_EQ((R >> sh) & 0xFF, (f * a + b * (256 - a)) >> 8) << a << " " << std::hex << B << " byte " << sh;
      }
    }
  EXPECT_EQ(BlendPixel(0x80FFFFFFu, 0xFF000000u), 0xBF7F7F7Fu);
}

TEST(SpBlend, RowSkipsClearAndCopiesOpaque) {
  const TspColor Src[3] = {0x00FFFFFFu, 0xFF123456u, 0x80FFFFFFu};
  TspColor Dst[3] = {0xFF000000u, 0xFF000000u, 0xFF000000u};
  BlendRow(Src, Dst, 3);
  EXPECT_EQ(Dst[0], 0xFF000000u);
  EXPECT_EQ(Dst[1], 0xFF123456u);
  EXPECT_EQ(Dst[2], 0xBF7F7F7Fu);
}

TEST(SpBlend, KeyedRowComparesColourOnly) {
  const TspColor Src[3] = {0x007F007Fu, 0xFF7F007Fu, 0x00102030u};
  TspColor Dst[3] = {1, 2, 3};
  CopyRowKeyed(Src, Dst, 3);
  EXPECT_EQ(Dst[0], 1u);
  EXPECT_EQ(Dst[1], 2u);
  EXPECT_EQ(Dst[2], 0xFF102030u);
}

TEST(SpTransfer, ColumnMaps) {
  std::vector<Integer> Map;
  StretchMap(0, 3, 5, Map);
  EXPECT_EQ(Map, (std::vector<Integer>{0, 0, 1, 1, 2}));
  StretchMap(2, 8, 1, Map);  // narrower than 2: the middle column
  EXPECT_EQ(Map, (std::vector<Integer>{4}));
}

TEST(SpTransfer, StretchAndBlockAgainstClipAndBounds) {
  Pixels Src = Numbered(3, 2);
  Pixels Dst(6, 4, 0xFFABCDEFu);
  // 1 x 1 destination takes the middle pixel.
  StretchTransfer(Dst.S(), TRect(0, 0, 1, 1), TRect(0, 0, 6, 4), TRect(0, 0, 3, 2), Src.S(), tmOpaque);
  EXPECT_EQ(Dst.At(0, 0), Src.At(1, 0));
  // Same size, clipped to the surface: only the inside part, from the matching source part.
  StretchTransfer(Dst.S(), TRect(4, 3, 7, 5), TRect(-100, -100, 100, 100), TRect(0, 0, 3, 2), Src.S(), tmOpaque);
  EXPECT_EQ(Dst.At(4, 3), Src.At(0, 0));
  EXPECT_EQ(Dst.At(5, 3), Src.At(1, 0));
  // A source rectangle reaching outside draws nothing.
  Pixels Before = Dst;
  StretchTransfer(Dst.S(), TRect(0, 0, 6, 4), TRect(0, 0, 6, 4), TRect(0, 0, 4, 2), Src.S(), tmOpaque);
  EXPECT_EQ(Dst.P, Before.P);
  // A 3-wide row onto 5 columns.
  StretchTransfer(Dst.S(), TRect(0, 1, 5, 2), TRect(0, 0, 6, 4), TRect(0, 0, 3, 1), Src.S(), tmBlend);
  const Integer Cols[5] = {0, 0, 1, 1, 2};
  for (Integer x = 0; x < 5; ++x) EXPECT_EQ(Dst.At(x, 1), Src.At(Cols[x], 0)) << x;
}

TEST(SpTransfer, TilesOfAShortLastColumn) {
  std::vector<std::pair<TRect, TRect>> Tiles;
  ForEachTile(TRect(0, 0, 25, 10), TRect(0, 0, 10, 10), [&](const TRect& D, const TRect& S) { Tiles.push_back({D, S}); });
  ASSERT_EQ(Tiles.size(), 3u);
  EXPECT_EQ(Tiles[0].first, TRect(0, 0, 10, 10));
  EXPECT_EQ(Tiles[1].first, TRect(10, 0, 20, 10));
  EXPECT_EQ(Tiles[2].first, TRect(20, 0, 25, 10));
  EXPECT_EQ(Tiles[2].second, TRect(0, 0, 5, 10));
  Tiles.clear();
  ForEachTile(TRect(0, 0, 25, 10), TRect(3, 3, 3, 13), [&](const TRect& D, const TRect& S) { Tiles.push_back({D, S}); });
  EXPECT_TRUE(Tiles.empty());
}

TEST(SpTransfer, MergeUnderAndFill) {
  Pixels Dst(3, 1);
  Dst.At(0, 0) = 0x00000000u;
  Dst.At(1, 0) = 0xFF112233u;
  Dst.At(2, 0) = 0x80FFFFFFu;
  Pixels Src(3, 1, 0xFF000000u);
  MergeUnder(Dst.S(), 0, 0, Src.S(), TRect(0, 0, 3, 1));
  EXPECT_EQ(Dst.At(0, 0), 0xFF000000u);
  EXPECT_EQ(Dst.At(1, 0), 0xFF112233u);
  EXPECT_EQ(Dst.At(2, 0), BlendPixel(0x80FFFFFFu, 0xFF000000u));
  Pixels Before = Dst;
  FillSurfaceRect(Dst.S(), TRect(5, 5, 9, 9), 0xFFFFFFFFu, false);
  EXPECT_EQ(Dst.P, Before.P);
  FillSurfaceRect(Dst.S(), TRect(-2, -2, 1, 9), 0x00FFFFFFu, true);  // alpha 0 blends nothing
  EXPECT_EQ(Dst.P, Before.P);
  FillSurfaceRect(Dst.S(), TRect(-2, -2, 1, 9), 0xFF010203u, false);
  EXPECT_EQ(Dst.At(0, 0), 0xFF010203u);
  EXPECT_EQ(Dst.At(1, 0), 0xFF112233u);
}

TEST(SpChecks, Table) {
  // Keying: within 5 per channel of (100, 0, 100).
  TspColor K[3] = {0xFF69055Fu /* (105, 5, 95) */, 0x12640064u, 0xFF6A0064u};
  EXPECT_TRUE(KeyNearColor(K, 3, 0x00640064u));
  EXPECT_EQ(K[0], TransparentKeyColor);
  EXPECT_EQ(K[1], TransparentKeyColor);
  EXPECT_EQ(K[2], 0xFF6A0064u);  // (106, 0, 100) stays
  TspColor P[2] = {0x00000000u, 0xFF000000u};
  EXPECT_FALSE(HasPartialAlpha(P, 2));
  P[0] = 0x01000000u;
  EXPECT_TRUE(HasPartialAlpha(P, 2));
  TspColor Q[2] = {0x80FF0000u, 0x10FFFFFFu};
  CheckRGBA2Pixels(Q, 1);
  EXPECT_EQ(Q[0], 0x80800000u);
  CheckRGBAPixels(Q + 1, 1);
  EXPECT_EQ(Q[1], 0x10101010u);
}

TEST(SpChecks, ReflectionFadesAndFlips) {
  Pixels B(1, 4);
  for (Integer y = 0; y < 4; ++y) B.At(0, y) = 0xFF000000u | TspColor(y);
  ReflectRows(B.P.data(), 1, 4, 3);
  const Cardinal Alpha[4] = {85, 42, 0, 0};
  for (Integer y = 0; y < 4; ++y) {
    EXPECT_EQ(B.At(0, y) >> 24, Alpha[y]) << y;
    EXPECT_EQ(B.At(0, y) & 0xFF, TspColor(3 - y)) << y;
  }
  FlipRows(nullptr, 0, 0);  // an empty bitmap is no error
}

}  // namespace
