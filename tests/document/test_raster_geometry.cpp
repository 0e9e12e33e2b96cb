// Raster geometry: canvas offsets and margins, the crop area and its
// reminder rule, and the free transformations' sizes and identities.
#include "common/gtest.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "document/RasterGeometry.h"

namespace {

void MakeImage(TCustomBitmap32& B, Integer W, Integer H) {
  B.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      B.SetPixel(x, y, 0xFF000000u | TColor32((x * 11) & 0xFF) << 16 | TColor32((y * 23) & 0xFF) << 8 | 0x40);
}

std::vector<TColor32> PixelsOf(const TCustomBitmap32& B) {
  return std::vector<TColor32>(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height());
}

// The largest channel difference of two same-sized bitmaps, the last
// row and column left out (-1 when the sizes differ). The engine's linear sampler
// weighs the sampled pixel 255/256 even at an exact position, so an
// identity render may lose one step next to a much darker neighbour, and
// the last row and column take in the transparent edge.
Integer MaxChannelDifference(const TCustomBitmap32& A, const TCustomBitmap32& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return -1;
  Integer m = 0;
  for (Integer y = 0; y + 1 < A.Height(); ++y)
    for (Integer x = 0; x + 1 < A.Width(); ++x) {
      const TColor32 a = A.GetPixel(x, y), b = B.GetPixel(x, y);
      for (int k = 0; k < 32; k += 8) m = std::max(m, std::abs(Integer((a >> k) & 0xFF) - Integer((b >> k) & 0xFF)));
    }
  return m;
}

}  // namespace

class RasterGeometry : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitializeBitmapEngine(); }
};

TEST_F(RasterGeometry, CanvasOffsetsAndMargins) {
  const struct {
    Integer OldW, OldH, W, H;
    TPoint Want;
  } offsets[] = {
      {101, 101, 100, 100, TPoint(0, 0)},  // -1 div 2 = 0: the last row and column go
      {100, 100, 101, 103, TPoint(0, 1)},
      {100, 50, 104, 40, TPoint(2, -5)},
      {101, 10, 98, 10, TPoint(-1, 0)},
  };
  for (const auto& c : offsets) {
    const TPoint p = CanvasOffset(c.OldW, c.OldH, c.W, c.H);
    EXPECT_EQ(p.X, c.Want.X) << c.OldW << "->" << c.W;
    EXPECT_EQ(p.Y, c.Want.Y) << c.OldH << "->" << c.H;
  }

  const struct {
    const char* Name;
    Integer OldW, OldH, L, R, T, B;
    bool Done;
    Integer WantL, WantT, WantW, WantH;
  } margins[] = {
      {"nothing", 30, 20, 0, 0, 0, 0, false, 0, 0, 30, 20},
      {"grow every side", 30, 20, 5, 3, 2, 1, true, 5, 2, 38, 23},
      {"left cut past the width", 30, 20, -50, 0, 0, 0, true, -29, 0, 1, 20},
      {"right cut past the width", 30, 20, 0, -40, 0, 0, true, 0, 0, 1, 20},
      {"both sides cut together", 30, 20, -10, -25, 0, 0, true, -10, 0, 1, 20},
      {"top and bottom cut", 30, 20, 0, 0, -5, -5, true, 0, -5, 30, 10},
      {"top cut past the height, bottom grown", 30, 20, 0, 0, -30, 4, true, 0, -19, 30, 5},
  };
  for (const auto& c : margins) {
    SCOPED_TRACE(c.Name);
    Integer l = c.L, t = c.T, w = c.OldW, h = c.OldH;
    EXPECT_EQ(ExtendCanvasSize(c.OldW, c.OldH, l, c.R, t, c.B, w, h), c.Done);
    if (!c.Done) continue;
    EXPECT_EQ(l, c.WantL);
    EXPECT_EQ(t, c.WantT);
    EXPECT_EQ(w, c.WantW);
    EXPECT_EQ(h, c.WantH);
  }
}

TEST_F(RasterGeometry, CropAreaNeedsPixelsAndTheReminderRule) {
  const TRect raster(0, 0, 100, 80);
  const struct {
    const char* Name;
    TRect Frame;
    bool Enabled;
    TRect Want;
  } cases[] = {
      {"inside", TRect(10, 5, 60, 40), true, TRect(10, 5, 60, 40)},
      {"half off the left", TRect(-20, 10, 30, 50), true, TRect(0, 10, 30, 50)},
      {"touching the right edge from outside", TRect(100, 10, 130, 50), false, TRect()},
      {"touching the bottom edge from outside", TRect(10, 80, 50, 95), false, TRect()},
      {"wholly outside", TRect(200, 200, 220, 230), false, TRect()},
      {"one pixel", TRect(99, 79, 120, 90), true, TRect(99, 79, 100, 80)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRect r(1, 2, 3, 4);
    EXPECT_EQ(CropArea(c.Frame, raster, r), c.Enabled);
    EXPECT_EQ(r, c.Want);
  }
  const struct {
    Int64 Original, New;
    bool Remind;
  } reminders[] = {
      {2560000, 1, false},           // not above the threshold
      {2560001, 1279999, true},      // below half (div 2 = 1280000)
      {2560001, 1280000, false},     // exactly half
      {24000000, 11999999, true},
      {24000000, 12000000, false},
  };
  for (const auto& c : reminders)
    EXPECT_EQ(CropLeavesSmallPart(c.Original, c.New), c.Remind) << c.Original << " " << c.New;
}

TEST_F(RasterGeometry, FreeTransformSizesAndIdentities) {
  TCustomBitmap32 src, dst;
  MakeImage(src, 40, 20);
  // Turned bounds about the centre (20, 10), rounded edge by edge.
  const struct {
    Single Angle;
    Integer W, H;
  } turns[] = {{0, 40, 20}, {30, 44, 38}, {90, 20, 40}, {180, 40, 20}, {-90, 20, 40}};
  for (const auto& c : turns) {
    RotateByAngle(&src, &dst, c.Angle);
    EXPECT_EQ(dst.Width(), c.W) << c.Angle;
    EXPECT_EQ(dst.Height(), c.H) << c.Angle;
  }
  RotateByAngle(&src, &dst, 0);
  EXPECT_LE(MaxChannelDifference(dst, src), 1);
  EXPECT_GE(MaxChannelDifference(dst, src), 0);

  // The four corners at the image's corners and scales 100: the image.
  const Single ix[4] = {0, 1, 1, 0}, iy[4] = {0, 0, 1, 1};
  TransformCorners(&src, &dst, ix, iy, 100, 100);
  EXPECT_LE(MaxChannelDifference(dst, src), 1);
  EXPECT_GE(MaxChannelDifference(dst, src), 0);
  // Scaled in a second pass.
  TransformCorners(&src, &dst, ix, iy, 50, 200);
  EXPECT_EQ(dst.Width(), 20);
  EXPECT_EQ(dst.Height(), 40);
  // Corners moved in from the left and top: the output reaches from 0 to
  // the right and bottom edges.
  const Single mx[4] = {0.25f, 1, 1, 0.5f}, my[4] = {0.5f, 0.1f, 1, 1};
  TransformCorners(&src, &dst, mx, my, 100, 100);
  EXPECT_EQ(dst.Width(), 40);   // bounds 10..40 plus the smaller left corner 10
  EXPECT_EQ(dst.Height(), 20);  // bounds 2..20 plus the smaller top corner 2
  EXPECT_EQ(dst.GetPixel(0, 0), 0x00FFFFFFu);
  // A degenerate quadrilateral renders nothing.
  const Single px[4] = {0.5f, 0.5f, 0.5f, 0.5f}, py[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  TransformCorners(&src, &dst, px, py, 100, 100);
  for (TColor32 c : PixelsOf(dst)) ASSERT_EQ(c, 0x00FFFFFFu);

  // Skew: x' = x + y / 2 widens by half the height; leftwards it is moved
  // back into the picture.
  for (Integer k : {50, -50}) {
    SCOPED_TRACE(k);
    SkewByPercent(&src, &dst, k, 0);
    EXPECT_EQ(dst.Width(), 50);
    EXPECT_EQ(dst.Height(), 20);
    const Integer emptyX = k > 0 ? 1 : 48, fullX = k > 0 ? 48 : 1;
    EXPECT_EQ(dst.GetPixel(emptyX, 18) >> 24, 0u);
    EXPECT_EQ(dst.GetPixel(fullX, 18) >> 24, 0xFFu);
  }
}
