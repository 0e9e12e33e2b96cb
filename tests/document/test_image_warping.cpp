// The warping tool: the brush weight, buttons, the warp's movement factor,
// two composed stamps against a two-pass reference on a 16 x 16 field, the
// field kept across brush updates, brushes below two pixels, and a brush
// hanging off the image.
#include "common/gtest.h"

#include <cmath>
#include <vector>

#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Math.h"
#include "document/ImageWarping.h"

namespace {

void MakeImage(TCustomBitmap32& B, Integer W, Integer H) {
  B.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) B.SetPixel(x, y, 0xFF000000u | TColor32(x * 15) << 16 | TColor32(y * 15) << 8 | 0x40);
}

std::vector<TFixedPoint> FieldOf(TVectorMap* M) {
  return std::vector<TFixedPoint>(M->Vectors(), M->Vectors() + size_t(M->Width()) * M->Height());
}

bool SameField(const std::vector<TFixedPoint>& A, const std::vector<TFixedPoint>& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i].X != B[i].X || A[i].Y != B[i].Y) return false;
  return true;
}

bool AllZero(TVectorMap* M) {
  for (const TFixedPoint& v : FieldOf(M))
    if (v.X != 0 || v.Y != 0) return false;
  return true;
}

}  // namespace

class ImageWarping : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitializeBitmapEngine(); }
};

TEST_F(ImageWarping, BrushWeight) {
  TGenericBrush b;
  EXPECT_EQ(b.Pressure(), 1.0f);
  b.SetPressure(0.7f);
  b.SetFeather(0.12f);
  EXPECT_FLOAT_EQ(b.Weight(0, 0), 0.7f);
  EXPECT_EQ(b.Weight(1, 0), 0.0f);
  EXPECT_EQ(b.Weight(0.8f, 0.8f), 0.0f);
  EXPECT_GT(b.Weight(0.5f, 0), 0.0f);
  b.SetPinch(1);
  b.SetFeather(0);
  EXPECT_FLOAT_EQ(b.Weight(0.9f, 0), 0.7f);
  b.SetPinch(-1);
  EXPECT_FLOAT_EQ(b.Weight(0, 0), 0.7f);
  EXPECT_EQ(b.Weight(0.1f, 0), 0.0f);
  b.SetPinch(0);
  EXPECT_NEAR(b.Weight(0.25f, 0), 0.75f * 0.7f, 1e-6);  // the cone
  // Setters clamp.
  b.SetPressure(3);
  b.SetPinch(-4);
  b.SetFeather(-1);
  EXPECT_EQ(b.Pressure(), 1.0f);
  EXPECT_EQ(b.Pinch(), -1.0f);
  EXPECT_EQ(b.Feather(), 0.0f);
}

TEST_F(ImageWarping, ButtonsAndTheWarpMovement) {
  TCustomBitmap32 src, dst;
  MakeImage(src, 32, 24);
  dst.Assign(&src);
  TImgWarping w(&src, &dst, btWarp);
  w.UpdateBrush(8, 100);
  // No button, or another one: nothing.
  w.MouseDown(0, 10, 10);
  w.MouseMove(0x20, 14, 10);
  EXPECT_TRUE(AllZero(w.Field()));
  // The warp's right map stays empty.
  EXPECT_TRUE(AllZero(w.CurrentBrush(btmRight)));
  // A click without movement: factor 0, nothing moves.
  w.MouseDown(WarpShiftLeft, 10, 10);
  w.MouseMove(WarpShiftLeft, 10, 10);
  EXPECT_TRUE(AllZero(w.Field()));
  EXPECT_EQ(w.LastDelta().X, 0);
  // Moved by 4: the factor is half the backward movement; stopping halves it.
  w.MouseMove(WarpShiftLeft, 14, 10);
  EXPECT_EQ(w.LastDelta().X, -2 * 65536);
  EXPECT_EQ(w.LastDelta().Y, 0);
  EXPECT_FALSE(AllZero(w.Field()));
  w.MouseMove(WarpShiftLeft, 14, 10);
  EXPECT_EQ(w.LastDelta().X, -65536);
  w.MouseMove(WarpShiftLeft, 14, 10);
  EXPECT_EQ(w.LastDelta().X, -32768);
  EXPECT_EQ(w.DstClip(), TRect(10, 6, 18, 14));
}

// Two twirl stamps on a 16 x 16 field: every cell the field read at its
// displaced position (from the field before the stamp) plus the brush's own
// vector; the field survives a brush update.
TEST_F(ImageWarping, StampsComposeFromTheOldField) {
  TCustomBitmap32 src, dst;
  MakeImage(src, 16, 16);
  dst.Assign(&src);
  TImgWarping w(&src, &dst, btTwirl);
  w.UpdateBrush(8, 80);
  TVectorMap* m = w.Field();
  TVectorMap* brush = w.CurrentBrush(btmLeft);
  auto stamp = [&](Integer X, Integer Y) {
    // The reference, from a copy of the field as it was.
    TVectorMap old;
    old.SetSize(16, 16);
    std::copy_n(m->Vectors(), 256, old.Vectors());
    std::vector<TFixedPoint> want = FieldOf(&old);
    const TPoint p(X - 4, Y - 4);
    for (Integer r = 0; r < 8; ++r)
      for (Integer c = 0; c < 8; ++c) {
        const Integer fx = p.X + c, fy = p.Y + r;
        if (fx < 0 || fy < 0 || fx >= 16 || fy >= 16) continue;
        const TFixedPoint b = brush->GetVector(c, r);
        const TFixedPoint v{FixedMul(65536, b.X), FixedMul(65536, b.Y)};
        const TFixedPoint s = old.GetFixedVectorS(fx * 65536 + v.X, fy * 65536 + v.Y);
        want[size_t(fy) * 16 + fx] = TFixedPoint{s.X + v.X, s.Y + v.Y};
      }
    w.MouseDown(WarpShiftLeft, X, Y);
    w.MouseMove(WarpShiftLeft, X, Y);
    return want;
  };
  const std::vector<TFixedPoint> first = stamp(8, 8);
  EXPECT_TRUE(SameField(FieldOf(m), first));
  EXPECT_FALSE(AllZero(m));
  const std::vector<TFixedPoint> second = stamp(9, 7);
  EXPECT_TRUE(SameField(FieldOf(m), second));
  EXPECT_FALSE(SameField(second, first));
  w.UpdateBrush(6, 30);
  EXPECT_TRUE(SameField(FieldOf(m), second));
  EXPECT_EQ(w.SampleClipRect(), TRect(4, 3, 13, 12));
}

// Brush sizes below 2 count as 2 (no division by zero); a brush hanging
// off the image changes only cells inside it; pressure 0 moves nothing.
TEST_F(ImageWarping, SmallBrushesEdgesAndZeroPressure) {
  TCustomBitmap32 src, dst;
  MakeImage(src, 12, 10);
  dst.Assign(&src);
  for (Integer size : {1, 0, -3}) {
    TImgWarping w(&src, &dst, btZoom);
    w.UpdateBrush(size, 100);
    EXPECT_EQ(w.CurrentBrush(btmLeft)->Width(), 2);
    for (const TFixedPoint& v : FieldOf(w.CurrentBrush(btmLeft))) {
      EXPECT_NE(v.X, INT32_MIN);
      EXPECT_NE(v.Y, INT32_MIN);
    }
    w.MouseDown(WarpShiftRight, 5, 5);
    w.MouseMove(WarpShiftRight, 5, 5);
  }
  TImgWarping w(&src, &dst, btZoom);
  w.UpdateBrush(8, 100);
  w.MouseDown(WarpShiftLeft, 0, 0);
  w.MouseMove(WarpShiftLeft, 0, 0);
  EXPECT_EQ(w.DstClip(), TRect(-4, -4, 4, 4));
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 12; ++x)
      if (x >= 4 || y >= 4) {
        const TFixedPoint v = w.Field()->GetVector(x, y);
        EXPECT_TRUE(v.X == 0 && v.Y == 0) << x << "," << y;
      }
  TImgWarping still(&src, &dst, btTwirl);
  still.UpdateBrush(8, 0);
  still.MouseDown(WarpShiftLeft, 6, 5);
  still.MouseMove(WarpShiftLeft, 6, 5);
  EXPECT_TRUE(AllZero(still.Field()));
}
