// Drawing bitmaps onto bitmaps and the whole-bitmap operations.
#include "common/gtest.h"

#include <random>
#include <string>
#include <vector>

#include "bitmap/Bmp32.h"

namespace {

using Px = std::vector<TColor32>;

Px Pixels(const TCustomBitmap32& B) {
  if (!B.Bits()) return {};
  return Px(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height());
}

void Make(TCustomBitmap32& B, Integer W, Integer H, const Px& px) {
  B.SetSize(W, H);
  std::copy(px.begin(), px.end(), B.Bits());
}

// Counts reports; checks that pixels are final when the change arrives.
// Declared after the bitmap it watches, it detaches itself first: the
// bitmap's destructor still reports its last resize.
struct Reports {
  int changes = 0, areas = 0, resizes = 0;
  std::vector<TRect> rects;
  Px pixelsAtChange;
  TCustomBitmap32* watched = nullptr;
  ~Reports() {
    if (!watched) return;
    watched->SetOnChange(nullptr);
    watched->SetOnAreaChanged(nullptr);
    watched->SetOnResize(nullptr);
  }
  void Attach(TCustomBitmap32& B) {
    watched = &B;
    B.SetOnChange([this, &B](TObject*) {
      ++changes;
      pixelsAtChange = Pixels(B);
    });
    B.SetOnAreaChanged([this](TObject*, const TRect& R, Cardinal) {
      ++areas;
      rects.push_back(R);
    });
    B.SetOnResize([this](TObject*) { ++resizes; });
  }
};

// --- whole-bitmap operations

TEST(QuarterTurns, IntoAnotherBitmap) {
  // 3 x 2:  a b c
  //         d e f
  TCustomBitmap32 s, d;
  Make(s, 3, 2, {'a', 'b', 'c', 'd', 'e', 'f'});
  s.Rotate90(&d);
  EXPECT_EQ(d.Width(), 2);
  EXPECT_EQ(d.Height(), 3);
  EXPECT_EQ(Pixels(d), (Px{'d', 'a', 'e', 'b', 'f', 'c'}));
  s.Rotate270(&d);
  EXPECT_EQ(Pixels(d), (Px{'c', 'f', 'b', 'e', 'a', 'd'}));
  s.Rotate180(&d);
  EXPECT_EQ(Pixels(d), (Px{'f', 'e', 'd', 'c', 'b', 'a'}));
  s.FlipHorz(&d);
  EXPECT_EQ(Pixels(d), (Px{'c', 'b', 'a', 'f', 'e', 'd'}));
  s.FlipVert(&d);
  EXPECT_EQ(Pixels(d), (Px{'d', 'e', 'f', 'a', 'b', 'c'}));
  EXPECT_EQ(Pixels(s), (Px{'a', 'b', 'c', 'd', 'e', 'f'}));
}

TEST(QuarterTurns, InPlaceEqualsIntoAnotherAndReportsOnce) {
  std::mt19937 rng(5);
  const std::pair<Integer, Integer> sizes[] = {{3, 2}, {4, 4}, {1, 7}, {70, 130}, {129, 129}};
  for (auto [w, h] : sizes)
    for (int op = 0; op < 3; ++op) {
      Px px(size_t(w) * h);
      for (auto& p : px) p = rng();
      TCustomBitmap32 a, ref;
      Make(a, w, h, px);
      Reports r;
      r.Attach(a);
      TCustomBitmap32* self = (op == 0) ? &a : nullptr;  // Self and nil both mean in place
      TCustomBitmap32 src;
      Make(src, w, h, px);
      switch (op) {
        case 0: a.Rotate90(self); src.Rotate90(&ref); break;
        case 1: a.Rotate270(self); src.Rotate270(&ref); break;
        default: a.Rotate180(self); src.Rotate180(&ref); break;
      }
      EXPECT_EQ(a.Width(), ref.Width());
      EXPECT_EQ(Pixels(a), Pixels(ref)) << w << "x" << h << " op " << op;
      EXPECT_EQ(r.changes, 1) << w << "x" << h << " op " << op;
      EXPECT_EQ(r.areas, 1);
      EXPECT_EQ(r.pixelsAtChange, Pixels(ref));  // reported after the pixels are in place
      EXPECT_EQ(r.rects.back(), a.BoundsRect());
      EXPECT_EQ(r.resizes, (op < 2 && w != h) ? 1 : 0);
    }
}

TEST(Flips, InPlace) {
  TCustomBitmap32 b;
  Make(b, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  Reports r;
  r.Attach(b);
  b.FlipHorz();
  EXPECT_EQ(Pixels(b), (Px{3, 2, 1, 6, 5, 4, 9, 8, 7}));
  b.FlipVert(&b);
  EXPECT_EQ(Pixels(b), (Px{9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(r.changes, 2);
  b.SetOnChange(nullptr);
  b.SetOnAreaChanged(nullptr);
  b.SetOnResize(nullptr);
  TCustomBitmap32 e, d;
  e.FlipHorz(&d);  // empty source: empty target, no crash
  EXPECT_TRUE(d.Empty());
}

TEST(Roll, Examples) {
  TCustomBitmap32 b;
  Make(b, 3, 2, {1, 2, 3, 4, 5, 6});
  b.Roll(1, 0, true, 0xF);
  EXPECT_EQ(Pixels(b), (Px{0xF, 1, 2, 0xF, 4, 5}));  // 3 continued onto row 1, then column 0 filled
  Make(b, 3, 2, {1, 2, 3, 4, 5, 6});
  b.Roll(1, 0, false, 0xF);
  EXPECT_EQ(Pixels(b), (Px{1, 1, 2, 3, 4, 5}));
  Make(b, 3, 2, {1, 2, 3, 4, 5, 6});
  b.Roll(-1, -1, true, 0xF);
  EXPECT_EQ(Pixels(b), (Px{5, 6, 0xF, 0xF, 0xF, 0xF}));
  Make(b, 3, 2, {1, 2, 3, 4, 5, 6});
  b.Roll(0, 1, true, 0xF);
  EXPECT_EQ(Pixels(b), (Px{0xF, 0xF, 0xF, 1, 2, 3}));
  Make(b, 3, 2, {1, 2, 3, 4, 5, 6});
  Reports r;
  r.Attach(b);
  b.Roll(5, 0, false, 0xF);
  b.Roll(0, 0, true, 0xF);
  EXPECT_EQ(Pixels(b), (Px{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(r.changes + r.areas, 0);
  b.Roll(0, -2, true, 0xF);
  EXPECT_EQ(Pixels(b), Px(6, 0xF));
  b.Roll(INT32_MIN, 0, true, 0xE);  // no overflow in the distance test
  EXPECT_EQ(Pixels(b), Px(6, 0xE));
}

TEST(ResetAlpha, EveryTailLength) {
  for (Integer w = 1; w <= 40; ++w) {
    TCustomBitmap32 b;
    b.SetSize(w, 1);
    for (Integer x = 0; x < w; ++x) b.Bits()[x] = 0x00123456u + x;
    b.ResetAlpha(0x7F);
    for (Integer x = 0; x < w; ++x) ASSERT_EQ(b.GetPixel(x, 0), 0x7F123456u + x) << w;
    b.ResetAlpha();
    EXPECT_EQ(b.GetPixel(w - 1, 0) >> 24, 0xFFu);
  }
}

TEST(CopyPixelsTo, SizeAndPixels) {
  TCustomBitmap32 a, b;
  Make(a, 2, 2, {1, 2, 3, 4});
  a.CopyPixelsTo(&b);
  EXPECT_EQ(Pixels(b), (Px{1, 2, 3, 4}));
  TCustomBitmap32 e;
  e.SetSize(5, 0);
  e.CopyPixelsTo(&b);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_TRUE(b.Empty());
}

// --- Draw

TEST(Draw, ModesTable) {
  const TColor32 D = 0xFF204060u;
  const Px src = {0xFF00FF00u, 0x80FF0000u, 0x00000000u, 0xFF0000FFu};
  struct Case {
    const char* name;
    TDrawMode mode;
    TCombineMode cm;
    Cardinal master;
    Px expect;
  } cases[] = {
      {"opaque", dmOpaque, cmBlend, 255, src},
      {"blend", dmBlend, cmBlend, 255, {0xFF00FF00u, BlendOver(0x80FF0000u, D), D, 0xFF0000FFu}},
      {"blend master", dmBlend, cmBlend, 100,
       {BlendOverEx(src[0], D, 100), BlendOverEx(src[1], D, 100), D, BlendOverEx(src[3], D, 100)}},
      {"merge", dmBlend, cmMerge, 255, {MergeOver(src[0], D), MergeOver(src[1], D), D, MergeOver(src[3], D)}},
      {"merge master", dmBlend, cmMerge, 100,
       {MergeOverEx(src[0], D, 100), MergeOverEx(src[1], D, 100), D, MergeOverEx(src[3], D, 100)}},
      {"transparent", dmTransparent, cmBlend, 255, {D, src[1], src[2], src[3]}},
      {"custom without callback", dmCustom, cmBlend, 255, src}};
  for (auto& c : cases) {
    TCustomBitmap32 s, d;
    Make(s, 2, 2, src);
    s.SetDrawMode(c.mode);
    s.SetCombineMode(c.cm);
    s.SetMasterAlpha(c.master);
    s.SetOuterColor(0xFF00FF00u);
    d.SetSize(2, 2);
    d.Clear(D);
    d.Draw(0, 0, &s);
    EXPECT_EQ(Pixels(d), c.expect) << c.name;
  }
}

TEST(Draw, CustomCallbackAndMasterAlphaZero) {
  TCustomBitmap32 s, d;
  Make(s, 2, 1, {1, 2});
  d.SetSize(2, 1);
  d.Clear(10);
  s.SetDrawMode(dmCustom);
  s.SetMasterAlpha(77);
  s.SetOnPixelCombine([](TColor32 F, TColor32& B, TColor32 M) { B = B * 100 + F + M * 1000; });
  d.Draw(0, 0, &s);
  EXPECT_EQ(Pixels(d), (Px{1000 + 77000 + 1, 1000 + 77000 + 2}));
  Reports r;
  r.Attach(d);
  s.SetDrawMode(dmBlend);
  s.SetMasterAlpha(0);
  d.Draw(0, 0, &s);
  EXPECT_EQ(Pixels(d), (Px{78001, 78002}));
  EXPECT_EQ(r.changes + r.areas, 0);
}

TEST(Draw, ClippingAtEveryEdge) {
  // 3 x 3 source with distinct pixels drawn at offsets around a 4 x 4 destination
  Px sp;
  for (TColor32 i = 1; i <= 9; ++i) sp.push_back(i);
  for (Integer dy = -4; dy <= 4; ++dy)
    for (Integer dx = -4; dx <= 4; ++dx) {
      TCustomBitmap32 s, d;
      Make(s, 3, 3, sp);
      d.SetSize(4, 4);
      d.Clear(0);
      d.SetClipRect(TRect(0, 1, 4, 4));  // the top row is outside the clip rectangle
      Reports r;
      r.Attach(d);
      d.Draw(dx, dy, &s);
      for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 4; ++x) {
          Integer sx = x - dx, sy = y - dy;
          bool covered = sx >= 0 && sx < 3 && sy >= 0 && sy < 3 && y >= 1;
          ASSERT_EQ(d.GetPixel(x, y), covered ? sp[sy * 3 + sx] : 0u) << dx << "," << dy << " at " << x << "," << y;
        }
      TRect expect;
      bool any = IntersectRects(expect, TRect(dx, dy, dx + 3, dy + 3), TRect(0, 1, 4, 4)) && !RectIsEmpty(expect);
      ASSERT_EQ(r.areas, any ? 1 : 0) << dx << "," << dy;
      if (any) {
        EXPECT_EQ(r.rects[0], expect);
      }
      d.SetOnChange(nullptr);
      d.SetOnAreaChanged(nullptr);
      d.SetOnResize(nullptr);
    }
}

TEST(Draw, SourceRectangleAndErrors) {
  TCustomBitmap32 s, d;
  Make(s, 3, 2, {1, 2, 3, 4, 5, 6});
  d.SetSize(3, 2);
  d.Clear(0);
  d.Draw(-5, 0, TRect(1, 0, 3, 2), &s);  // DstX -5: nothing lands
  EXPECT_EQ(Pixels(d), Px(6, 0));
  d.Draw(0, 0, TRect(1, 0, 9, 2), &s);  // clipped to the source bounds
  EXPECT_EQ(Pixels(d), (Px{2, 3, 0, 5, 6, 0}));
  d.Draw(0, 0, nullptr);  // nil source: nothing
  try {
    s.DrawTo(nullptr, 0, 0);
    FAIL();
  } catch (const EBitmapException& e) {
    EXPECT_EQ(e.Message(), u"Destination bitmap is nil");
  }
  // measuring destination: area reported, no pixel changed
  d.Clear(0);
  std::vector<TRect> areas;
  d.BeginMeasuring([&](TObject*, const TRect& R, Cardinal) { areas.push_back(R); });
  d.Draw(1, 0, &s);
  d.EndMeasuring();
  EXPECT_EQ(Pixels(d), Px(6, 0));
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0], TRect(1, 0, 3, 2));
}

// Drawing a bitmap onto itself with overlapping rectangles must read the
// source as it was before the draw.
TEST(Draw, SelfOverlapAllDirections) {
  const std::pair<Integer, Integer> shifts[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {2, 1}, {-1, -2}};
  for (auto [dx, dy] : shifts) {
    TCustomBitmap32 b, copy;
    Px px;
    for (TColor32 i = 1; i <= 30; ++i) px.push_back(0xFF000000u | i);
    Make(b, 6, 5, px);
    Make(copy, 6, 5, px);
    TCustomBitmap32 expect;
    Make(expect, 6, 5, px);
    expect.Draw(dx, dy, TRect(0, 0, 6, 5), &copy);
    b.Draw(dx, dy, TRect(0, 0, 6, 5), &b);
    EXPECT_EQ(Pixels(b), Pixels(expect)) << dx << "," << dy;
  }
}

TEST(Draw, StretchedFormsReachTheResampler) {
  TCustomBitmap32 s, d;
  Make(s, 2, 1, {1, 2});
  d.SetSize(4, 2);
  d.Clear(0);
  d.Draw(TRect(0, 0, 4, 2), TRect(0, 0, 2, 1), &s);  // nearest: each pixel doubled
  EXPECT_EQ(Pixels(d), (Px{1, 1, 2, 2, 1, 1, 2, 2}));
  d.Clear(0);
  s.DrawTo(&d, TRect(1, 0, 3, 1));  // same size: a block copy
  EXPECT_EQ(Pixels(d), (Px{0, 1, 2, 0, 0, 0, 0, 0}));
}

}  // namespace
