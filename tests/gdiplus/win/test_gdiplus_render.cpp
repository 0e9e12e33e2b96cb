// Rendering of each wrapper family into a 32-bit DIB, checked by pixels.
#include "common/gtest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/Screens.h"
#include "tests/gdiplus/win/gdiplus_fixture.h"

namespace {

IGPBrush Solid(TGPColor C) { return new TGPSolidBrush(C); }

// The surface as a screenshot, alpha kept (what was drawn over nothing).
void SaveSurface(const TTestSurface& S, const char* Name) {
  lumigra_test::SaveScreenPixels(reinterpret_cast<const uint8_t*>(S.Bits), S.W, S.H, S.W * 4, Name, "", true);
}

bool Near(uint32_t A, uint32_t B, int Tol) {
  for (int sh = 0; sh < 32; sh += 8)
    if (std::abs(int((A >> sh) & 0xFF) - int((B >> sh) & 0xFF)) > Tol) return false;
  return true;
}

}  // namespace

TEST(GdiPlusRender, SolidFillsOfShapes) {
  TTestSurface s(40, 40);
  s.Draw([](const IGPGraphics& g) {
    g->FillRectangle(Solid(0xFFFF0000), TGPRect{2, 2, 10, 10});
    g->FillEllipse(Solid(0xFF0000FF), 20, 2, 16, 16);
    g->FillPolygon(Solid(0xFF00FF00), std::vector<TGPPoint>{{2, 20}, {18, 20}, {2, 36}});
  });
  EXPECT_EQ(s.At(6, 6), 0xFFFF0000u);
  EXPECT_EQ(s.At(28, 10), 0xFF0000FFu);  // centre of the ellipse
  EXPECT_EQ(s.At(21, 3), 0x00FFFFFFu);   // outside the ellipse's corner
  EXPECT_EQ(s.At(5, 23), 0xFF00FF00u);
  EXPECT_EQ(s.At(15, 33), 0x00FFFFFFu);  // beyond the hypotenuse
}

TEST(GdiPlusRender, SelfCrossingStarHasAHoleWithTheAlternateRule) {
  TTestSurface s(40, 40);
  // A five-pointed star around (20, 20).
  std::vector<TGPPointF> star;
  for (int i = 0; i < 5; ++i) {
    const double a = -M_PI / 2 + i * 4 * M_PI / 5;
    star.push_back(TGPPointF{Single(20 + 18 * std::cos(a)), Single(20 + 18 * std::sin(a))});
  }
  s.Draw([&](const IGPGraphics& g) { g->FillPolygon(Solid(0xFF000000), star); });
  EXPECT_EQ(s.At(20, 21), 0x00FFFFFFu);  // the centre is a hole
  EXPECT_EQ(s.At(20, 5), 0xFF000000u);   // the top point is filled
  TTestSurface w(40, 40);
  w.Draw([&](const IGPGraphics& g) { g->FillPolygon(Solid(0xFF000000), star, -1, FillModeWinding); });
  EXPECT_EQ(w.At(20, 21), 0xFF000000u);
}

TEST(GdiPlusRender, LinearGradientWithPresetBlend) {
  TTestSurface s(101, 10);
  s.Draw([](const IGPGraphics& g) {
    IGPLinearGradientBrush b(new TGPLinearGradientBrush(TGPRect{0, 0, 100, 10}, 0xFF000000, 0xFFFFFFFF,
                                                        LinearGradientModeHorizontal));
    b->SetInterpolationColors(IGPColorBlend(new TGPColorBlend({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0.0f, 0.5f, 1.0f})));
    g->FillRectangle(b, 0, 0, 100, 10);
  });
  EXPECT_TRUE(Near(s.At(0, 5), 0xFFFF0000, 6)) << std::hex << s.At(0, 5);
  EXPECT_TRUE(Near(s.At(50, 5), 0xFF00FF00, 6)) << std::hex << s.At(50, 5);
  EXPECT_TRUE(Near(s.At(99, 5), 0xFF0000FF, 10)) << std::hex << s.At(99, 5);
  // Halfway between red and green.
  EXPECT_TRUE(Near(s.At(25, 5), 0xFF808000, 8)) << std::hex << s.At(25, 5);
  EXPECT_EQ(s.At(100, 5), 0x00FFFFFFu);

  // The read-back blend is what was set.
  IGPLinearGradientBrush b(new TGPLinearGradientBrush(TGPPoint{0, 0}, TGPPoint{10, 0}, 0xFF000000, 0xFFFFFFFF));
  b->SetInterpolationColors(IGPColorBlend(new TGPColorBlend({0xFF112233, 0xFF445566}, {0.0f, 1.0f})));
  IGPColorBlend back = b->GetInterpolationColors();
  ASSERT_EQ(back->GetCount(), 2);
  EXPECT_EQ(back->GetColor(1).FArgb, 0xFF445566u);
  EXPECT_FLOAT_EQ(back->GetPosition(1), 1.0f);
  b->SetGammaCorrection(true);
  EXPECT_TRUE(b->GetGammaCorrection());
}

TEST(GdiPlusRender, PathGradientFromCentreToSurround) {
  TTestSurface s(60, 60);
  s.Draw([](const IGPGraphics& g) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddEllipse(0, 0, 60, 60);
    IGPPathGradientBrush b(new TGPPathGradientBrush(path));
    b->SetCenterColor(0xFFFFFFFF);
    b->SetSurroundColors(std::vector<TGPColor>{0xFF000000});
    b->SetCenterPoint(TGPPointF{30, 30});
    g->FillPath(b, path);
  });
  SaveSurface(s, "path-gradient");
  const uint32_t centre = s.At(30, 30);
  const uint32_t nearEdge = s.At(30, 3);
  EXPECT_GE(Red(centre), 230) << std::hex << centre;
  EXPECT_LE(Red(nearEdge), 60) << std::hex << nearEdge;
  EXPECT_GT(Red(s.At(30, 20)), Red(s.At(30, 8)));  // brighter towards the centre
  EXPECT_EQ(s.At(1, 1), 0x00FFFFFFu);             // outside the ellipse
}

TEST(GdiPlusRender, HatchUsesForeAndBackColours) {
  TTestSurface s(32, 32);
  s.Draw([](const IGPGraphics& g) {
    g->FillRectangle(IGPBrush(new TGPHatchBrush(HatchStyleCross, 0xFFFF0000, 0xFF0000FF)), 0, 0, 32, 32);
  }, SmoothingModeNone);
  const int fore = s.CountWhere([](uint32_t c) { return c == 0xFFFF0000u; });
  const int back = s.CountWhere([](uint32_t c) { return c == 0xFF0000FFu; });
  EXPECT_GT(fore, 32);
  EXPECT_GT(back, fore);
  EXPECT_EQ(fore + back, 32 * 32);
  IGPHatchBrush two(new TGPHatchBrush(HatchStyleVertical, 0xFFFFFFFF));
  EXPECT_EQ(two->GetBackgroundColor().FArgb, 0xFF000000u);  // opaque black background
  EXPECT_EQ(two->GetHatchStyle(), HatchStyleVertical);
}

TEST(GdiPlusRender, TextureBrushFollowsItsTranslation) {
  EnsureGdiPlus();
  // A 2x2 texture: red on the top-left pixel, green elsewhere.
  IGPBitmap tex(new TGPBitmap(2, 2, gdipflat::PixelFormat32bppARGB));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) tex->SetPixel(x, y, (x == 0 && y == 0) ? 0xFFFF0000 : 0xFF00FF00);
  TTestSurface s(8, 8);
  s.Draw([&](const IGPGraphics& g) {
    IGPTextureBrush b(new TGPTextureBrush(tex, WrapModeTile));
    b->TranslateTransform(1, 0);
    g->FillRectangle(b, 0, 0, 8, 8);
  }, SmoothingModeNone);
  EXPECT_EQ(s.At(1, 0), 0xFFFF0000u);
  EXPECT_EQ(s.At(3, 2), 0xFFFF0000u);
  EXPECT_EQ(s.At(0, 0), 0xFF00FF00u);
  EXPECT_EQ(s.At(2, 0), 0xFF00FF00u);
}

// libgdiplus strokes with one cap for both ends (its start cap): a round
// start cap with a flat end cap rounds both ends.
TEST(GdiPlusRender, DashesAndCaps) {
  TTestSurface s(100, 50);
  s.Draw([](const IGPGraphics& g) {
    IGPPen dashed(new TGPPen(0xFF000000, 4));
    dashed->SetDashStyle(DashStyleDash);  // 3 on, 1 off, in pen widths
    g->DrawLine(dashed, 0, 10, 100, 10);
    IGPPen round(new TGPPen(0xFF000000, 10));
    round->SetLineCap(LineCapRound, LineCapRound, 0);
    g->DrawLine(round, 20, 30, 80, 30);
    IGPPen flat(new TGPPen(0xFF000000, 6));
    g->DrawLine(flat, 20, 44, 80, 44);
  });
  SaveSurface(s, "dashes-and-caps");
  // Dashes: runs of ink and gaps along y = 10.
  int changes = 0;
  for (int x = 1; x < 100; ++x)
    if ((Alpha(s.At(x, 10)) > 128) != (Alpha(s.At(x - 1, 10)) > 128)) ++changes;
  EXPECT_GE(changes, 10);
  EXPECT_EQ(Alpha(s.At(2, 10)), 255);   // first dash
  EXPECT_EQ(Alpha(s.At(14, 10)), 0);    // first gap: 12 .. 16
  EXPECT_EQ(Alpha(s.At(18, 10)), 255);  // second dash
  // Round caps reach half the width beyond both end points, flat ones not.
  EXPECT_GT(Alpha(s.At(16, 30)), 128);
  EXPECT_GT(Alpha(s.At(83, 30)), 128);
  EXPECT_EQ(Alpha(s.At(13, 30)), 0);
  EXPECT_EQ(Alpha(s.At(17, 44)), 0);
  EXPECT_EQ(Alpha(s.At(82, 44)), 0);
  EXPECT_EQ(Alpha(s.At(50, 44)), 255);
  IGPPen p(new TGPPen(0xFF000000, 1));
  p->SetDashPattern(std::vector<Single>{2, 1, 1, 1});
  IGPArray<Single> back = p->GetDashPattern();
  ASSERT_EQ(back->GetCount(), 4);
  EXPECT_FLOAT_EQ(back->GetItem(0), 2.0f);
  EXPECT_EQ(p->GetDashStyle(), DashStyleCustom);
}

TEST(GdiPlusRender, ArcsCurvesAndBeziers) {
  TTestSurface s(60, 60);
  s.Draw([](const IGPGraphics& g) {
    IGPPen pen(new TGPPen(0xFF000000, 3));
    g->DrawArc(pen, 10, 10, 40, 40, 0, 90);  // lower-right quarter, y down
    g->DrawCurve(pen, std::vector<TGPPoint>{{5, 5}, {30, 5}, {55, 5}});
  });
  // On the arc at 45 degrees: centre (30, 30), radius 20.
  const int ax = int(30 + 20 * std::cos(M_PI / 4)), ay = int(30 + 20 * std::sin(M_PI / 4));
  EXPECT_GT(Alpha(s.At(ax, ay)), 128);
  EXPECT_EQ(Alpha(s.At(30 - 14, 30 - 14)), 0);  // the opposite quarter is not drawn
  EXPECT_EQ(Alpha(s.At(30, 30)), 0);
  EXPECT_GT(Alpha(s.At(30, 5)), 128);           // the curve through collinear points is the line
  EXPECT_EQ(Alpha(s.At(30, 12)), 0);
}

TEST(GdiPlusRender, DrawLinesCountDrawsOnlyTheLeadingPoints) {
  TTestSurface s(40, 40);
  const std::vector<TGPPoint> pts{{5, 5}, {35, 5}, {35, 35}};
  s.Draw([&](const IGPGraphics& g) { g->DrawLines(IGPPen(new TGPPen(0xFF000000, 3)), pts, 2); });
  EXPECT_GT(Alpha(s.At(20, 5)), 128);
  EXPECT_EQ(Alpha(s.At(35, 20)), 0);
  s.Draw([&](const IGPGraphics& g) { g->DrawLines(IGPPen(new TGPPen(0xFF000000, 3)), pts, 3); });
  EXPECT_GT(Alpha(s.At(35, 20)), 128);
}

TEST(GdiPlusRender, RotationAboutTheCentreTurnsCounterClockwise) {
  TTestSurface s(60, 60);
  s.Draw([](const IGPGraphics& g) {
    // A bar to the right of the centre, turned 90 degrees the program's way:
    // translate by the centre, rotate by 360 - angle, translate back.
    g->TranslateTransform(30, 30);
    g->RotateTransform(360 - 90);
    g->TranslateTransform(-30, -30);
    g->FillRectangle(Solid(0xFF000000), 40, 28, 15, 4);
  });
  EXPECT_EQ(Alpha(s.At(30, 15)), 255);  // the bar now points up
  EXPECT_EQ(Alpha(s.At(47, 30)), 0);
  IGPGraphics g = TGPGraphics::FromHDC(s.Dc);
  g->TranslateTransform(10, 20);
  IGPMatrix m = g->GetTransform();
  EXPECT_FLOAT_EQ(m->OffsetX(), 10);
  EXPECT_FLOAT_EQ(m->OffsetY(), 20);
}

TEST(GdiPlusRender, ClipReplaceIntersectExclude) {
  TTestSurface s(40, 10);
  s.Draw([](const IGPGraphics& g) {
    g->SetClip(IGPRegion(new TGPRegion(TGPRect{0, 0, 30, 10})));
    g->IntersectClip(IGPRegion(new TGPRegion(TGPRect{10, 0, 30, 10})));
    g->ExcludeClip(IGPRegion(new TGPRegion(TGPRect{18, 0, 4, 10})));
    g->FillRectangle(Solid(0xFF000000), 0, 0, 40, 10);
  });
  for (int x = 0; x < 40; ++x) {
    const bool in = x >= 10 && x < 30 && !(x >= 18 && x < 22);
    EXPECT_EQ(Alpha(s.At(x, 5)), in ? 255 : 0) << x;
  }
}

TEST(GdiPlusRender, TextInALayoutRectangle) {
  TTestSurface s(120, 70);
  s.Draw([](const IGPGraphics& g) {
    IGPFont font(new TGPFont(u"Liberation Sans", 16, FontStyleRegular, UnitPixel));
    IGPStringFormat fmt(new TGPStringFormat(0, 0));
    fmt->SetAlignment(StringAlignmentCenter);
    fmt->SetLineAlignment(StringAlignmentCenter);
    g->DrawString(u"Hello world wraps", font, TGPRectF{20, 5, 70, 60}, fmt, Solid(0xFF000000));
  });
  SaveSurface(s, "text-in-a-layout-rectangle");
  // Everything inside the layout rectangle (one pixel of anti-aliasing).
  const int all = s.CountWhere([](uint32_t c) { return Alpha(c) > 0; });
  const int inside = s.CountWhere([](uint32_t c) { return Alpha(c) > 0; }, 19, 4, 91, 66);
  EXPECT_GT(inside, 150);
  EXPECT_EQ(all, inside);
  // Wrapped onto several lines, centred: ink in the upper and lower thirds,
  // none in the left and right margins of the rectangle.
  EXPECT_GT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, 20, 5, 90, 25), 10);
  EXPECT_GT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, 20, 45, 90, 65), 10);
  EXPECT_EQ(s.CountWhere([](uint32_t c) { return Alpha(c) > 0; }, 19, 0, 25, 70), 0);
  // Anti-aliased text keeps its straight colour.
  const int wrong = s.CountWhere([](uint32_t c) { return Alpha(c) >= 64 && (Red(c) > 4 || Blue(c) > 4); });
  EXPECT_EQ(wrong, 0);
}

TEST(GdiPlusRender, TextAsAPath) {
  TTestSurface s(120, 40);
  s.Draw([](const IGPGraphics& g) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddString(u"IIII", TGPFontFamily::GenericSansSerif(), FontStyleBold, 30, TGPPointF{5, 2}, nullptr);
    EXPECT_GT(path->GetPointCount(), 8);
    g->FillPath(Solid(0xFF0000FF), path);
  });
  EXPECT_GT(s.CountWhere([](uint32_t c) { return c == 0xFF0000FFu; }), 100);
}

TEST(GdiPlusRender, ImagesScaledIntoARectangle) {
  EnsureGdiPlus();
  IGPBitmap img(new TGPBitmap(2, 2, gdipflat::PixelFormat32bppARGB));
  img->SetPixel(0, 0, 0xFFFF0000);
  img->SetPixel(1, 0, 0xFFFF0000);
  img->SetPixel(0, 1, 0xFF0000FF);
  img->SetPixel(1, 1, 0xFF0000FF);
  TTestSurface s(40, 40);
  s.Draw([&](const IGPGraphics& g) {
    g->SetInterpolationMode(5);  // nearest neighbour
    g->DrawImage(img, TGPRect{10, 10, 20, 20});
  });
  EXPECT_EQ(s.At(20, 13), 0xFFFF0000u);
  EXPECT_EQ(s.At(20, 27), 0xFF0000FFu);
  EXPECT_EQ(s.At(5, 5), 0x00FFFFFFu);
}

// Chinese text in a Latin face falls back to CJK glyphs, not boxes: the
// vertical stroke of 中 sticks out above and below its frame, where a box's
// top edge would run across the whole cell.
TEST(GdiPlusRender, ChineseInALatinFaceIsNotBoxes) {
  TTestSurface s(60, 50);
  s.Draw([](const IGPGraphics& g) {
    IGPFont font(new TGPFont(u"Liberation Sans", 40, FontStyleRegular, UnitPixel));
    g->DrawString(u"\u4e2d", font, TGPPointF{2, 2}, Solid(0xFF000000));
  });
  int top = -1, bottom = -1, left = 60, right = -1;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 60; ++x)
      if (Alpha(s.At(x, y)) > 128) {
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_GE(top, 0);
  const int width = right - left + 1;
  ASSERT_GT(width, 15);
  EXPECT_LT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, left, top, right + 1, top + 1), width / 3);
  EXPECT_LT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, left, bottom, right + 1, bottom + 1), width / 3);
}
