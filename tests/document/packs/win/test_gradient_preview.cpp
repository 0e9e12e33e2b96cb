// The gradient swatch: two colours at 0 and 1 in each of the four modes,
// probed at the rectangle's ends and middle.
#include "common/gtest.h"

#include "tests/document/packs/win/pack_test_util.h"

using namespace packtest;

namespace {

struct TRgb {
  int R, G, B;
};

TRgb At(TBitmap32& B, int X, int Y) {
  const TColor32 c = B.GetPixel(X, Y);
  return TRgb{int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF)};
}

void ExpectNear(const TRgb& Got, const TRgb& Want, int Tolerance, const char* Where) {
  EXPECT_NEAR(Got.R, Want.R, Tolerance) << Where;
  EXPECT_NEAR(Got.G, Want.G, Tolerance) << Where;
  EXPECT_NEAR(Got.B, Want.B, Tolerance) << Where;
}

TEST(GradientPreview, TwoColoursInEachMode) {
  EnsureGdiPlusStarted();
  // Red at 0, green at 1 (neither is a start colour of the brush, which the
  // blend replaces).
  const std::vector<TGPColor> colors = {TGPColor(0xFFFF0000u), TGPColor(0xFF00FF00u)};
  const std::vector<Single> positions = {0, 1};
  const TRgb red{255, 0, 0}, green{0, 255, 0}, mid{128, 128, 0}, white{255, 255, 255};
  const TRect r(10, 10, 110, 60);  // 100 x 50
  struct TCase {
    Integer Mode;
    TPoint RedEnd, GreenEnd, Middle;
  } cases[] = {
      {0, TPoint(11, 35), TPoint(108, 35), TPoint(60, 35)},  // horizontal
      {1, TPoint(60, 11), TPoint(60, 58), TPoint(60, 35)},   // vertical
      {2, TPoint(11, 11), TPoint(108, 58), TPoint(60, 35)},  // forward diagonal: top left to bottom right
      {3, TPoint(108, 11), TPoint(11, 58), TPoint(60, 35)},  // backward diagonal: top right to bottom left
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Mode);
    TBitmap32 b;
    b.SetSize(120, 70);
    b.Clear(0xFFFFFFFFu);
    FillGradientPreview(&b, r, colors, positions, c.Mode);
    ExpectNear(At(b, c.RedEnd.X, c.RedEnd.Y), red, 24, "red end");
    ExpectNear(At(b, c.GreenEnd.X, c.GreenEnd.Y), green, 24, "green end");
    ExpectNear(At(b, c.Middle.X, c.Middle.Y), mid, 20, "middle");
    ExpectNear(At(b, 5, 35), white, 0, "left of the rectangle");
    ExpectNear(At(b, 60, 65), white, 0, "below the rectangle");
    EXPECT_EQ(b.GetPixel(60, 35) >> 24, 0xFFu);
    if (c.Mode == 0) SaveReviewPicture(b, "gradient-preview-horizontal");
  }
}

TEST(GradientPreview, TooFewColoursPaintNothing) {
  EnsureGdiPlusStarted();
  TBitmap32 b;
  b.SetSize(20, 20);
  b.Clear(0xFFFFFFFFu);
  FillGradientPreview(&b, TRect(0, 0, 20, 20), {TGPColor(0xFF000000u)}, {0}, 0);
  FillGradientPreview(&b, TRect(0, 0, 20, 20), {TGPColor(0xFF000000u), TGPColor(0xFF000000u)}, {0}, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(b.GetPixel(x, y), 0xFFFFFFFFu);
}

}  // namespace
