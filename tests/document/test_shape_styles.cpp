// Style arithmetic: gradient stops (the documented examples and damaged
// lists), the edging band against its literal reference on several
// outlines and widths, shadow offsets and margins, the reflection fade.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>
#include <memory>

#include "document/DuVura.h"
#include "document/ShapeStyles.h"

namespace {

struct TStops {
  std::vector<TColor32> C;
  TArrayOfSingle P;
};

TStops Stops(const String& C, const String& O, const String& P, Integer Opacity = 255, TColor Fore = 0,
             TColor Back = 0) {
  TStops s;
  BuildGradientStops(C, O, P, Opacity, s.C, s.P, Fore, Back);
  return s;
}

std::unique_ptr<TCustomBitmap32> Bitmap(Integer W, Integer H) {
  auto b = std::make_unique<TCustomBitmap32>();
  b->SetSize(W, H);
  b->Clear(0);
  return b;
}

// Three masks of a polygon (as the edging builder renders them): its
// 1-pixel outline, the outline 2W wide, the filled interior.
struct TMasks {
  std::unique_ptr<TCustomBitmap32> Outline, Wide, Fill;
};

TMasks PolygonMasks(const TArrayOfPoint& Poly, Integer Size, Integer W) {
  TMasks m{Bitmap(Size, Size), Bitmap(Size, Size), Bitmap(Size, Size)};
  const size_t n = Poly.size();
  for (Integer y = 0; y < Size; ++y)
    for (Integer x = 0; x < Size; ++x) {
      Single d = 1e9f;
      for (size_t i = 0; i < n; ++i) d = std::min(d, CalcDistanceToSegment(Poly[i], Poly[(i + 1) % n], TPoint(x, y)));
      if (d < 0.75f) m.Outline->SetPixel(x, y, 0xFF112233u);
      if (d <= W) m.Wide->SetPixel(x, y, 0xFF112233u);
      if (PtInPolygon(TPoint(x, y), Poly) || d < 0.75f) m.Fill->SetPixel(x, y, 0xFF112233u);
    }
  return m;
}

TArrayOfPoint Regular(Integer Sides, Single Radius, Single Turn, Single Squash = 1) {
  TArrayOfPoint p;
  for (Integer i = 0; i < Sides; ++i) {
    const double a = Turn + 2 * 3.14159265358979 * i / Sides;
    p.push_back(TPoint(Integer(std::lround(60 + Radius * std::cos(a))), Integer(std::lround(60 + Radius * Squash * std::sin(a)))));
  }
  return p;
}

}  // namespace

TEST(ShapeStyles, GradientStops) {
  // Three opaque stops orange, yellow, orange.
  TStops s = Stops(u"26367/65535/26367", u"100/100/100", u"0/0.5/1");
  EXPECT_EQ(s.C, (std::vector<TColor32>{0xFFFF6600u, 0xFFFFFF00u, 0xFFFF6600u}));
  EXPECT_EQ(s.P, (TArrayOfSingle{0, 0.5f, 1}));
  // Red and yellow at 0.2 and 1: red put in front at 0.
  s = Stops(u"255/65535", u"100/100", u"0.2/1");
  EXPECT_EQ(s.C, (std::vector<TColor32>{0xFFFF0000u, 0xFFFF0000u, 0xFFFFFF00u}));
  EXPECT_EQ(s.P, (TArrayOfSingle{0, 0.2f, 1}));
  // The fore and back colours; opacity in percent.
  s = Stops(u"ForeColor/BackColor", u"100/0", u"0/1", 255, 255, 0xFFFFFF);
  EXPECT_EQ(s.C, (std::vector<TColor32>{0xFFFF0000u, 0x00FFFFFFu}));
  // The object's opacity scales every stop: 128 x 50 % -> 64.
  s = Stops(u"0/0", u"50/100", u"0/0.9", 128);
  EXPECT_EQ(s.C, (std::vector<TColor32>{0x40000000u, 0x80000000u, 0x80000000u}));
  EXPECT_EQ(s.P.back(), 1);
  // Unequal lists use the shortest; a position that is not a number reads 0.
  s = Stops(u"255/65535/16711680", u"100/100", u"0/x/1");
  ASSERT_EQ(s.C.size(), 3u);
  EXPECT_EQ(s.P, (TArrayOfSingle{0, 0, 1}));
  EXPECT_EQ(s.C[2], 0xFFFFFF00u) << "the end stop copies the last used colour";
  // Opacities over 100 clamp at 255.
  EXPECT_EQ(Stops(u"0", u"400", u"0").C[0] >> 24, 255u);
}

TEST(ShapeStyles, EmptyGradientListsGiveNoStops) {
  TStops s;
  TRow empty(nullptr);
  TRow one(nullptr);
  one.Init(u"255/65535", u'/');
  BuildGradientBlend(&one, &empty, &one, 255, s.C, s.P, 0, 0);
  EXPECT_TRUE(s.C.empty());
  EXPECT_TRUE(s.P.empty());
  BuildGradientBlend(&one, nullptr, &one, 255, s.C, s.P, 0, 0);
  EXPECT_TRUE(s.C.empty());
}

TEST(ShapeStyles, EdgingBandEqualsTheLiteralSearch) {
  const Integer size = 120;
  const std::pair<const char*, TArrayOfPoint> shapes[] = {
      {"rectangle", TArrayOfPoint{TPoint(10, 20), TPoint(110, 20), TPoint(110, 90), TPoint(10, 90)}},
      {"ellipse", Regular(40, 50, 0, 0.6f)},
      {"turned octagon", Regular(8, 52, 0.3f)},
  };
  for (const auto& shape : shapes)
    for (Integer w : {1, 5, 15}) {
      SCOPED_TRACE(testing::Message() << shape.first << " W " << w);
      TMasks a = PolygonMasks(shape.second, size, w);
      TMasks b = PolygonMasks(shape.second, size, w);
      BuildEdgingBand(a.Outline.get(), a.Wide.get(), a.Fill.get(), w);
      BuildEdgingBandLiteral(b.Outline.get(), b.Wide.get(), b.Fill.get(), w);
      Integer differing = 0, opaque = 0, partial = 0;
      for (Integer y = 0; y < size; ++y)
        for (Integer x = 0; x < size; ++x) {
          const TColor32 p = a.Fill->GetPixel(x, y);
          differing += p != b.Fill->GetPixel(x, y);
          opaque += (p >> 24) == 255;
          partial += (p >> 24) > 0 && (p >> 24) < 255;
        }
      EXPECT_EQ(differing, 0);
      EXPECT_GT(opaque, 0);
      if (w > 1) EXPECT_GT(partial, 0);
    }
}

TEST(ShapeStyles, EdgingBandValues) {
  // A 40 x 40 square outline: the band fades inward, colour kept.
  TMasks m = PolygonMasks(TArrayOfPoint{TPoint(10, 10), TPoint(50, 10), TPoint(50, 50), TPoint(10, 50)}, 60, 15);
  BuildEdgingBand(m.Outline.get(), m.Wide.get(), m.Fill.get(), 15);
  EXPECT_EQ(m.Fill->GetPixel(10, 30), 0xFF112233u);
  EXPECT_EQ(m.Fill->GetPixel(15, 30), 0xAA112233u);  // d 5: 255 - 85
  EXPECT_EQ(m.Fill->GetPixel(25, 30) >> 24, 0u);     // d 15: 255 - 255
  EXPECT_EQ(m.Fill->GetPixel(30, 30) >> 24, 0u);
  EXPECT_EQ(m.Fill->GetPixel(5, 30) >> 24, 0u) << "outside the fill";
  // A width of 0 counts as 15.
  TMasks z = PolygonMasks(TArrayOfPoint{TPoint(10, 10), TPoint(50, 10), TPoint(50, 50), TPoint(10, 50)}, 60, 15);
  BuildEdgingBand(z.Outline.get(), z.Wide.get(), z.Fill.get(), 0);
  EXPECT_EQ(z.Fill->GetPixel(15, 30), 0xAA112233u);
  // No outline pixel at all: an empty band.
  auto none = Bitmap(10, 10), wide = Bitmap(10, 10), fill = Bitmap(10, 10);
  wide->Clear(0xFF000000u);
  fill->Clear(0xFF000000u);
  BuildEdgingBand(none.get(), wide.get(), fill.get(), 5);
  EXPECT_EQ(fill->GetPixel(5, 5), 0x00000000u);
}

TEST(ShapeStyles, ShadowOffsetsAndMargins) {
  EXPECT_EQ(ShadowOffsets(45, 10), TPoint(7, 7));
  EXPECT_EQ(ShadowOffsets(45, 0), TPoint(0, 0));
  EXPECT_EQ(ShadowOffsets(180, 10), TPoint(-10, 0));
  EXPECT_EQ(NudgeNegative(-10), -9);
  EXPECT_EQ(NudgeNegative(7), 7);
  EXPECT_EQ(NudgeNegative(0), 0);
  // 101 x 10 / 200 = 5.05 -> 5, odd: 4; the picture is 101 + 8 wide.
  EXPECT_EQ(ShadowZoomMargin(101, 10), 4);
  EXPECT_EQ(ShadowZoomMargin(120, 10), 6);
  EXPECT_EQ(ShadowZoomMargin(100, 0), 0);
  EXPECT_EQ(StyleMargin(5, 3, 0), 14);
  EXPECT_EQ(StyleMargin(5, 3, 20), 34);
  EXPECT_EQ(ScaledOpacity(175, 255), 175);
  EXPECT_EQ(ScaledOpacity(175, 128), 88);
  EXPECT_EQ(CentringOffset(TRect(100, 50, 201, 90), 121, 60), TPoint(-90, -40));
}

TEST(ShapeStyles, ReflectionFade) {
  auto b = Bitmap(2, 10);
  b->Clear(0xFF808080u);
  b->SetPixel(1, 2, 0x00808080u);
  FadeReflection(b.get(), 0);
  EXPECT_EQ(b->GetPixel(0, 9), 0xFF808080u) << "height 0: unfaded";
  FadeReflection(b.get(), 50);  // h = 5: row i loses Round(i x 51)
  const Integer expected[10] = {255, 204, 153, 102, 51, 0, 0, 0, 0, 0};
  for (Integer i = 0; i < 10; ++i) EXPECT_EQ(Integer(b->GetPixel(0, i) >> 24), expected[i]) << i;
  EXPECT_EQ(b->GetPixel(1, 2), 0x00808080u);
  EXPECT_EQ(b->GetPixel(0, 3) & 0xFFFFFFu, 0x808080u);
  auto full = Bitmap(1, 4);
  full->Clear(0xFF000000u);
  FadeReflection(full.get(), 100);  // h = 4: 255, 191, 127, 64 (64 = 255 - 191.25)
  EXPECT_EQ(full->GetPixel(0, 3) >> 24, 64u);
  EXPECT_EQ(full->GetPixel(0, 1) >> 24, 191u);
}
