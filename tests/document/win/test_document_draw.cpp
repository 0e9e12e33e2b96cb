// Objects drawn into the view bitmap and probed: fills, outlines, dashes,
// heads, hatches, textures, gradients, the style pictures (shadow,
// reflection, edging) and when they are built.
#include "common/gtest.h"

#include <cmath>

#include "document/ShapeStyles.h"
#include "gdiplus/win/ImageFiles.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

String LineRow(Integer Id, TShapeType Type, TPoint A, TPoint B, std::map<Integer, String> More = {}) {
  More[40] = IntToStr(A.X);
  More[41] = IntToStr(A.Y);
  More[42] = IntToStr(B.X);
  More[43] = IntToStr(B.Y);
  TRect r;
  RectFromPoints(A.X, A.Y, B.X, B.Y, r);
  return ObjectRow(Id, Type, r, More);
}

// Pixels outside Area equal the raster's.
Integer ChangedOutside(TImageDraw* D, const TRect& Area) {
  Integer n = 0;
  for (Integer y = 0; y < D->Bitmap()->Height(); ++y)
    for (Integer x = 0; x < D->Bitmap()->Width(); ++x)
      if (!PointInRect(Area, TPoint(x, y)) && D->Bitmap()->GetPixel(x, y) != D->SrcBmp()->GetPixel(x, y)) ++n;
  return n;
}

}  // namespace

TEST(DocumentDraw, RectangleFillAndOutline) {
  TTestDocument d(100, 80, 0xFFFFFF);
  TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 50, 40), {{18, u"4"}, {24, u"0"}}));
  d->Draw();
  EXPECT_EQ(d->Bitmap()->GetPixel(30, 25), 0xFF00FF00u) << "the fill's exact colour";
  EXPECT_EQ(d->Bitmap()->GetPixel(10, 25), 0xFFFF0000u) << "the outline on the box edge";
  EXPECT_EQ(ChangedOutside(d.Get(), r->PaintBounds()), 0);
  // Untouched pixels keep every byte, transparent canvas included.
  TTestDocument t(60, 60, 0, true);
  t.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 20, 30, 30)));
  t->Draw();
  EXPECT_EQ(t->Bitmap()->GetPixel(5, 5), 0x00FFFFFFu);
  EXPECT_EQ(t->Bitmap()->GetPixel(25, 25), 0xFF00FF00u);
  // Half opacity: the colour with alpha 128 over transparent white.
  TTestDocument h(60, 60, 0, true);
  h.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 50, 50), {{16, u"128"}, {20, u"0"}}));
  h->Draw();
  EXPECT_EQ(h->Bitmap()->GetPixel(30, 30), 0x8000FF00u);
}

TEST(DocumentDraw, EveryOutlineDrawsInsideItsBounds) {
  for (Integer style = 0; style <= 11; ++style)
    for (Single angle : {0.0f, 30.0f}) {
      TTestDocument d(160, 120, 0xFFFFFF);
      TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(40, 30, 120, 90),
                                     {{24, IntToStr(style)}, {19, FloatToStr(angle)}, {41, u""}}));
      d->Draw();
      EXPECT_GT(CountPixels(d->Bitmap(), [](TColor32 c) { return c == 0xFF00FF00u; }), 1500) << style;
      EXPECT_EQ(ChangedOutside(d.Get(), r->PaintBounds()), 0) << style << " " << angle;
    }
}

TEST(DocumentDraw, DashesAndSolidHeads) {
  TTestDocument d(200, 60, 0xFFFFFF);
  d.Add(LineRow(1, TShapeType::shArrow, TPoint(10, 30), TPoint(190, 30), {{18, u"4"}, {22, u"1"}, {50, u"0"}}));
  d->Draw();
  // Along the line: dashes of 3w on, w off.
  Integer runs = 0;
  bool prev = false;
  for (Integer x = 12; x < 160; ++x) {
    const bool on = d->Bitmap()->GetPixel(x, 30) == 0xFFFF0000u;
    runs += on && !prev;
    prev = on;
  }
  EXPECT_GE(runs, 8);
  EXPECT_LE(runs, 10);
  // The head (16 long, 16 wide) is solid all through.
  for (Integer x = 176; x <= 188; ++x) EXPECT_EQ(d->Bitmap()->GetPixel(x, 30), 0xFFFF0000u) << x;
  EXPECT_EQ(d->Bitmap()->GetPixel(180, 26), 0xFFFF0000u);
  EXPECT_EQ(d->Bitmap()->GetPixel(180, 34), 0xFFFF0000u);
  // Dots stay solid too.
  TTestDocument e(80, 40, 0xFFFFFF);
  e.Add(LineRow(1, TShapeType::shLine, TPoint(10, 20), TPoint(70, 20), {{18, u"4"}, {22, u"2"}, {24, u"2"}}));
  e->Draw();
  for (Integer x = 7; x <= 12; ++x) EXPECT_EQ(e->Bitmap()->GetPixel(x, 20), 0xFFFF0000u) << x;
}

TEST(DocumentDraw, HatchTextureAndGradientFills) {
  // Hatch mode 10 is GDI+'s style 18, fore and back colours opaque.
  TTestDocument d(60, 60, 0xFFFFFF);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 50, 50),
                  {{29, u"0"}, {95, u"4"}, {87, u"10"}, {88, u"255"}, {89, u"16711680"}, {20, u"0"}, {16, u"40"}}));
  d->Draw();
  TBitmap32 ref;
  ref.SetSize(60, 60);
  ref.Clear(0xFFFFFFFFu);
  {
    IGPGraphics g = TGPGraphics::FromHDC(ref.Handle());
    g->FillRectangle(IGPBrush(new TGPHatchBrush(18, 0xFFFF0000u, 0xFF0000FFu)), 10, 10, 40, 40);
  }
  for (Integer y = 10; y < 50; ++y)
    for (Integer x = 10; x < 50; ++x) ASSERT_EQ(d->Bitmap()->GetPixel(x, y), ref.GetPixel(x, y)) << x << "," << y;

  // A texture's tiles start at the object's corner.
  TTempFolder dir("lumitx");
  TBitmap32 tile;
  tile.SetSize(4, 4);
  tile.Clear(0xFF0000FFu);
  tile.SetPixel(0, 0, 0xFFFF0000u);
  const String file = dir.Path("tile.png");
  SaveBitmap32ToFile(&tile, file, ifPng, 0);
  TDataTable cache;
  PictureStreamDT = &cache;
  TTestDocument t(60, 60, 0xFFFFFF);
  t.Add(ObjectRow(1, TShapeType::shRectangle, TRect(13, 17, 45, 45),
                  {{29, u"0"}, {95, u"5"}, {97, EscapeTableText(file)}, {20, u"0"}}));
  t.Add(LineRow(2, TShapeType::shLine, TPoint(5, 55), TPoint(55, 55),
                {{29, u"0"}, {95, u"5"}, {97, EscapeTableText(file)}, {18, u"3"}}));
  t->Draw();
  EXPECT_EQ(t->Bitmap()->GetPixel(13, 17), 0xFFFF0000u);
  EXPECT_EQ(t->Bitmap()->GetPixel(17, 21), 0xFFFF0000u);
  EXPECT_EQ(t->Bitmap()->GetPixel(14, 17), 0xFF0000FFu);
  EXPECT_EQ(t->Bitmap()->GetPixel(5, 55), 0xFFFF0000u) << "the line's tiles start at its rectangle's corner";
  // A missing texture draws the outline only.
  TTestDocument m(60, 60, 0xFFFFFF);
  m.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 50, 50),
                  {{29, u"0"}, {95, u"5"}, {97, u"nothing.png"}, {18, u"2"}}));
  m->Draw();
  EXPECT_EQ(m->Bitmap()->GetPixel(30, 30), 0xFFFFFFFFu);
  EXPECT_EQ(m->Bitmap()->GetPixel(10, 30), 0xFFFF0000u);
  PictureStreamDT = nullptr;

  // A linear gradient from red to blue across the box.
  TTestDocument g(120, 40, 0xFFFFFF);
  g.Add(ObjectRow(1, TShapeType::shRectangle, TRect(0, 0, 101, 20),
                  {{29, u"0"}, {95, u"0"}, {96, u"0"}, {90, u"255/16711680"}, {91, u"100/100"}, {92, u"0/1"}, {20, u"0"}}));
  g->Draw();
  EXPECT_GT(RedOf(g->Bitmap()->GetPixel(2, 10)), 240);
  EXPECT_GT(BlueOf(g->Bitmap()->GetPixel(98, 10)), 240);
  EXPECT_NEAR(RedOf(g->Bitmap()->GetPixel(50, 10)), 128, 8);
  // Unequal lists whose shortest is empty: the plain fill.
  TTestDocument p(60, 40, 0xFFFFFF);
  p.Add(ObjectRow(1, TShapeType::shRectangle, TRect(0, 0, 50, 30),
                  {{29, u"0"}, {95, u"1"}, {90, u"255/16711680"}, {91, u""}, {92, u"0/1"}, {20, u"0"}}));
  EXPECT_NO_THROW(p->Draw());
}

TEST(DocumentDraw, LineFillModes) {
  // Gradient on a line: drawn solid while a handle is dragged.
  TTestDocument d(200, 40, 0xFFFFFF);
  TImgShape* l = d.Add(LineRow(1, TShapeType::shLine, TPoint(10, 20), TPoint(190, 20),
                               {{18, u"6"}, {29, u"0"}, {95, u"0"}, {96, u"0"}, {90, u"65280/16711680"},
                                {91, u"100/100"}, {92, u"0/1"}}));
  d->Draw();
  EXPECT_NE(d->Bitmap()->GetPixel(180, 20), 0xFFFF0000u);
  l->SetAdjusting(true);
  d->Draw();
  EXPECT_EQ(d->Bitmap()->GetPixel(180, 20), 0xFFFF0000u);
  EXPECT_EQ(d->Bitmap()->GetPixel(20, 20), 0xFFFF0000u);
  // Path, radial and edging fills draw a line solid (not invisible).
  for (const char16_t* mode : {u"1", u"2", u"3", u"8"}) {
    TTestDocument e(100, 40, 0xFFFFFF);
    e.Add(LineRow(1, TShapeType::shArrow, TPoint(10, 20), TPoint(90, 20), {{18, u"4"}, {29, u"0"}, {95, mode}}));
    e->Draw();
    EXPECT_EQ(e->Bitmap()->GetPixel(50, 20), 0xFFFF0000u) << std::u16string(mode).size();
  }
}

TEST(DocumentDraw, ShadowReflectionAndEdgingPictures) {
  TTestDocument d(300, 300, 0xFFFFFF);
  TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 151, 101),
                                 {{27, u"0"}, {70, u"45"}, {71, u"10"}, {72, u"10"}, {73, u"3"}, {74, u"0"}, {75, u"200"},
                                  {16, u"255"}, {18, u"4"}}));
  d->Draw();
  ASSERT_NE(r->ShadowBmp(), nullptr);
  // E = 4 div 2 + 3 + 9 = 14; silhouette 101 + 28 = 129 wide: zoom margin
  // Round(129 x 10 / 200) = 6 (even): 141 wide; 51 + 28 = 79 high, margin 4.
  EXPECT_EQ(r->ShadowBmp()->Width(), 141);
  EXPECT_EQ(r->ShadowBmp()->Height(), 87);
  EXPECT_EQ(r->ShadowBmp()->MasterAlpha(), 200u);
  // Offsets (7, 7): the shadow shows right of and below the object.
  EXPECT_EQ(d->Bitmap()->GetPixel(100, 75), 0xFF00FF00u);
  const TColor32 below = d->Bitmap()->GetPixel(100, 104);
  EXPECT_LT(RedOf(below), 200);
  EXPECT_EQ(AlphaOf(below), 255);

  TTestDocument e(300, 300, 0xFFFFFF);
  TImgShape* m = e.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 151, 101),
                                 {{28, u"0"}, {81, u"4"}, {83, u"0"}, {85, u"255"}, {86, u"100"}, {18, u"2"}}));
  e->Draw();
  ASSERT_NE(m->ReflectBmp(), nullptr);
  // The reflection fades from the object's bottom down over its height.
  const Integer top = 101 + 4 + 1;  // the first row after the gap and margin
  EXPECT_GT(GreenOf(e->Bitmap()->GetPixel(100, top + 2)), RedOf(e->Bitmap()->GetPixel(100, top + 2)));
  const TColor32 faded = e->Bitmap()->GetPixel(100, top + 45);
  EXPECT_GT(RedOf(faded), 200) << "nearly faded out";
  // Reflection height 0 leaves the picture unfaded.
  EXPECT_GT(m->ReflectBmp()->GetPixel(60, 20) >> 24, 0u);

  // Edging: a band inside the outline, opaque at it, fading over W pixels.
  TTestDocument g(200, 200, 0xFFFFFF);
  TImgShape* band = g.Add(ObjectRow(1, TShapeType::shRectangle, TRect(40, 40, 160, 160),
                                    {{29, u"0"}, {95, u"3"}, {98, u"15"}, {18, u"2"}, {14, u"255"}, {21, u"0"}}));
  g->Draw();
  ASSERT_NE(band->GradientEdgingBmp(), nullptr);
  EXPECT_EQ(band->GradientEdgingBmp()->MasterAlpha(), 127u);
  const TCustomBitmap32* eb = band->GradientEdgingBmp();
  EXPECT_EQ(eb->Width(), 122);
  const TColor32 edge = eb->GetPixel(1, 60), mid = eb->GetPixel(9, 60), inner = eb->GetPixel(30, 60);
  EXPECT_EQ(edge >> 24, 255u);
  EXPECT_EQ(edge & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(mid >> 24, 119u);  // d 8: 255 - Round(8 x 17)
  EXPECT_EQ(inner >> 24, 0u);
  // No outline: no edging even in fill mode 3; width 0 counts as 15.
  TTestDocument n(200, 200, 0xFFFFFF);
  TImgShape* none = n.Add(ObjectRow(1, TShapeType::shRectangle, TRect(40, 40, 160, 160),
                                    {{29, u"0"}, {95, u"3"}, {20, u"0"}}));
  TImgShape* zero = n.Add(ObjectRow(2, TShapeType::shRectangle, TRect(10, 10, 60, 60),
                                    {{29, u"0"}, {95, u"3"}, {98, u"0"}, {18, u"2"}}));
  n->Draw();
  EXPECT_EQ(none->GradientEdgingBmp(), nullptr);
  EXPECT_EQ(zero->GradientEdgingWidth(), 15);
  ASSERT_NE(zero->GradientEdgingBmp(), nullptr);
  SaveReviewPicture(u"styles_shadow", d->Bitmap());
  SaveReviewPicture(u"styles_reflection", e->Bitmap());
  SaveReviewPicture(u"styles_edging", g->Bitmap());
}

TEST(DocumentDraw, BuildersWaitForTheEndOfADrag) {
  TTestDocument d(200, 200, 0xFFFFFF);
  TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(50, 50, 100, 100), {{27, u"0"}, {28, u"0"}}));
  r->SetAdjusting(true);
  d->Draw();
  EXPECT_EQ(r->ShadowBmp(), nullptr);
  EXPECT_EQ(r->ReflectBmp(), nullptr);
  EXPECT_TRUE(r->Changed2()) << "the flags wait for a full draw";
  r->SetAdjusting(false);
  d->Draw();
  ASSERT_NE(r->ShadowBmp(), nullptr);
  EXPECT_FALSE(r->Changed2());
  const TCustomBitmap32* built = r->ShadowBmp();
  d->Draw();
  EXPECT_EQ(r->ShadowBmp(), built) << "not rebuilt without a change";
}

TEST(DocumentDraw, EdgingBandOfRenderedMasks) {
  // The masks of real objects: the fast band equals the literal search.
  struct {
    Integer Style;
    Single Angle;
  } shapes[] = {{0, 0}, {2, 0}, {3, 25}};
  for (const auto& s : shapes)
    for (Integer w : {1, 5, 15}) {
      TTestDocument d(10, 10);
      auto* r = static_cast<TImgShape*>(
          d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 20, 130, 100),
                          {{24, IntToStr(s.Style)}, {19, FloatToStr(s.Angle)}, {98, IntToStr(w)}, {41, u""}})));
      auto mask = [&](Integer Pass) {
        auto b = std::make_unique<TBitmap32>();
        b->SetSize(150, 150);
        b->Clear(0);
        r->SetDrawMode2(Pass);
        r->Draw(b.get());
        r->SetDrawMode2(0);
        return b;
      };
      auto a = mask(1), wide = mask(2), fast = mask(3), slow = mask(3);
      BuildEdgingBand(a.get(), wide.get(), fast.get(), w);
      BuildEdgingBandLiteral(a.get(), wide.get(), slow.get(), w);
      EXPECT_EQ(Pixels(fast.get()), Pixels(slow.get())) << s.Style << " W " << w;
    }
}

TEST(DocumentDraw, AThousandObjectsWithShadowsOpen) {
  // The style pictures are memory bitmaps: no GDI handle each (Wine's table
  // holds about 65,000 per process).
  TTestDocument d(2000, 1500, 0xFFFFFF);
  for (Integer i = 0; i < 1000; ++i) {
    const Integer x = 10 + (i % 40) * 49, y = 10 + (i / 40) * 58;
    d->DT()->AddItem(ObjectRow(i + 1, TShapeType::shRectangle, Bounds(x, y, 30, 30), {{27, u"0"}, {28, u"0"}}));
  }
  d->CreateShapeObjects(-1);
  d->Draw();
  Integer built = 0;
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) {
    TImgShape* s = d->ShapeOfRow(i);
    built += s->ShadowBmp() != nullptr && s->ReflectBmp() != nullptr && s->ShadowReflectBmp() != nullptr;
    EXPECT_EQ(dynamic_cast<TBitmap32*>(s->ShadowBmp()), nullptr);
  }
  EXPECT_EQ(built, 1000);
  TBitmap32 more;
  more.SetSize(10, 10);
  EXPECT_NE(more.Handle(), nullptr);
}

TEST(DocumentDraw, DrawToAnotherBitmapAndStylePreviews) {
  TTestDocument d(100, 80, 0xFFFFFF);
  TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(10, 10, 50, 40), {{27, u"0"}}));
  d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(60, 10, 90, 40), {{4, u"-1"}}));
  r->SetAdjusting(true);  // drawing elsewhere ignores the drag state and keeps the flags
  const std::vector<TColor32> view = Pixels(d->Bitmap());
  TBitmap32 out;
  out.SetSize(100, 80);
  out.Clear(0x00FFFFFFu);
  d->DrawTo(&out);
  EXPECT_EQ(out.GetPixel(30, 25), 0xFF00FF00u);
  EXPECT_NE(out.GetPixel(52, 42), 0x00FFFFFFu) << "the shadow is drawn too";
  EXPECT_EQ(out.GetPixel(75, 25), 0x00FFFFFFu) << "hidden objects are not";
  EXPECT_TRUE(r->Changed2());
  EXPECT_EQ(Pixels(d->Bitmap()), view) << "the view bitmap is untouched";
  // A style preview: no document, its own bitmap, the chosen frame in navy.
  TBitmap32 preview;
  preview.SetSize(40, 30);
  TImgRectangle shape(nullptr, 0, &preview);
  shape.SetStyleId(2);
  shape.SetSRect(TRect(5, 5, 35, 25));
  shape.CalcCenterPoint();
  shape.InitPoints(true);
  shape.SetIsFill(true);
  shape.SetGradientMode(-1);
  shape.SetFillColor(0x0000FF);
  shape.SetOpacity(255);
  shape.SetSelectMode(2);
  shape.StartDraw(0xFFFFFF);
  EXPECT_EQ(preview.GetPixel(20, 15), 0xFFFF0000u);
  EXPECT_EQ(preview.GetPixel(0, 15) & 0xFFFFFF, 0x000080u);
  EXPECT_EQ(preview.GetPixel(2, 2), 0xFFFFFFFFu);
}
