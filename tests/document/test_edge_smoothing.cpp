// Edge smoothing of cut selections: the ramps' numbers on a square, the two
// pictures sharing each pixel's alpha, transparent sources never made more
// opaque.
#include "common/gtest.h"

#include "document/EdgeSmoothing.h"

namespace {

struct TCut {
  TCustomBitmap32 Src, Z, F;
  TRect Area;
  // Cuts Region out of a W x H picture of the given alpha, smoothed.
  TCut(Integer W, Integer H, const TRegion& Region, const std::function<Byte(Integer, Integer)>& Alpha) {
    Src.SetSize(W, H);
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x)
        Src.SetPixel(x, y, TColor32(Alpha(x, y)) << 24 | TColor32(40 + x * 9) << 16 | TColor32(60 + y * 7) << 8 | 99);
    std::vector<TPoint> alias;
    UpdateAliasPointList(alias, Region, Region, TAliasMode::Add, true);
    Area = CutArea(Region, Src.BoundsRect());
    SplitSelectionPictures(&Src, Region, Area, &Z, &F);
    AntiAliasing(&Z, &F, alias, Area.Left, Area.Top);
  }
  Byte ZA(Integer X, Integer Y) const { return Byte(Z.GetPixel(X - Area.Left, Y - Area.Top) >> 24); }
  Byte FA(Integer X, Integer Y) const { return Byte(F.GetPixel(X - Area.Left, Y - Area.Top) >> 24); }
};

}  // namespace

TEST(EdgeSmoothing, SquareRampsOnAnOpaquePicture) {
  const TRegion square(TRect(2, 2, 6, 6));
  TCut c(8, 8, square, [](Integer, Integer) { return Byte(255); });
  EXPECT_EQ(c.Area, TRect(1, 1, 7, 7));
  for (Integer y = 2; y < 6; ++y)
    for (Integer x = 2; x < 6; ++x) {
      const bool corner = (x == 2 || x == 5) && (y == 2 || y == 5);
      const bool inner = x > 2 && x < 5 && y > 2 && y < 5;
      SCOPED_TRACE(testing::Message() << x << "," << y);
      EXPECT_EQ(c.ZA(x, y), corner ? 164 : inner ? 0 : 73);
      EXPECT_EQ(c.FA(x, y), corner ? 91 : inner ? 255 : 182);
    }
  // Outside the square nothing of the piece, all of the hole's picture.
  EXPECT_EQ(c.ZA(1, 1), 255);
  EXPECT_EQ(c.FA(1, 1), 0);
}

// Every pixel's alpha is shared between the hole and the piece: beside
// transparent pixels and on half-transparent pictures neither picture gets
// more opaque than the source, and together they give the source's alpha.
TEST(EdgeSmoothing, PicturesShareTheSourceAlpha) {
  const TRegion shape = Union(TRegion(TRect(3, 3, 12, 7)), TRegion(TRect(6, 7, 9, 11)));
  const std::function<Byte(Integer, Integer)> alphas[] = {
      [](Integer, Integer) { return Byte(255); },
      [](Integer, Integer) { return Byte(128); },
      [](Integer x, Integer) { return Byte(x < 5 ? 0 : 255); },  // a transparent margin
      [](Integer x, Integer y) { return Byte((x * 37 + y * 11) % 256); },
  };
  for (size_t k = 0; k < std::size(alphas); ++k) {
    SCOPED_TRACE(k);
    TCut c(16, 14, shape, alphas[k]);
    for (Integer y = c.Area.Top; y < c.Area.Bottom; ++y)
      for (Integer x = c.Area.Left; x < c.Area.Right; ++x) {
        const Integer a = Integer(c.Src.GetPixel(x, y) >> 24);
        EXPECT_LE(c.ZA(x, y), a) << x << "," << y;
        EXPECT_LE(c.FA(x, y), a) << x << "," << y;
        if (shape.Contains(x, y) || c.ZA(x, y) + c.FA(x, y) != 0)
          EXPECT_EQ(c.ZA(x, y) + c.FA(x, y), a) << x << "," << y;
      }
  }
}

// A one-pixel step of a diagonal edge is smoothed both ways; a corner on
// the picture's border is classified by the neighbours it has.
TEST(EdgeSmoothing, StepsAndBorders) {
  std::vector<TRect> rows;
  for (Integer y = 4; y < 10; ++y) rows.push_back(TRect(y, y, 12, y + 1));
  const TRegion stairs = TRegion::FromRects(rows);
  TCut c(14, 12, stairs, [](Integer, Integer) { return Byte(255); });
  for (Integer y = 5; y < 9; ++y) {
    EXPECT_GT(c.ZA(y, y), 0) << y;
    EXPECT_LT(c.ZA(y, y), 255) << y;
    EXPECT_EQ(c.ZA(y, y) + c.FA(y, y), 255) << y;
  }
  const TRegion edge(TRect(0, 0, 4, 4));
  TCut b(6, 6, edge, [](Integer, Integer) { return Byte(255); });
  EXPECT_EQ(b.Area, TRect(0, 0, 5, 5));
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) EXPECT_EQ(b.ZA(x, y) + b.FA(x, y), 255);
}
