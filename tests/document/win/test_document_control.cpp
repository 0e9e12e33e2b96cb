// The control layer: handle glyphs pixel by pixel, the stripe pattern,
// handles of selected objects at several zooms, canvas handles and the
// resize label, guides, the ruler, the paint tools' outlines.
#include "common/gtest.h"

#include "tests/document/win/document_fixture.h"

namespace {

constexpr TColor32 Background = 0xFF808080u;

std::unique_ptr<TBitmap32> Buffer(Integer W, Integer H) {
  auto b = std::make_unique<TBitmap32>();
  b->SetSize(W, H);
  b->Clear(Background);
  return b;
}

// The glyph drawn over Background through its own draw mode.
TColor32 Over(TBitmap32* Glyph, Integer X, Integer Y) {
  TBitmap32 one;
  one.SetSize(1, 1);
  one.Clear(Background);
  one.Draw(-X, -Y, Glyph);
  return one.GetPixel(0, 0);
}

}  // namespace

TEST(DocumentControl, HandleGlyphs) {
  TTestDocument d(10, 10);
  // Squares: the fill inside a one-pixel black border.
  struct {
    TBitmap32* Glyph;
    Integer Size;
    TColor32 Fill;
  } squares[] = {{d->CtrBmpY(), 7, 0xFFFFFF00u}, {d->CtrBmpG(), 7, 0xFF00FF00u}, {d->CtrBmpB(), 7, 0xFF87CEEBu},
                 {d->CtrBmpW(), 6, 0xFFFFFFFFu}};
  for (const auto& s : squares) {
    ASSERT_EQ(s.Glyph->Width(), s.Size);
    ASSERT_EQ(s.Glyph->Height(), s.Size);
    for (Integer y = 0; y < s.Size; ++y)
      for (Integer x = 0; x < s.Size; ++x) {
        const bool border = x == 0 || y == 0 || x == s.Size - 1 || y == s.Size - 1;
        EXPECT_EQ(s.Glyph->GetPixel(x, y), border ? 0xFF000000u : s.Fill) << x << "," << y;
      }
  }
  // The double arrow, exact; the vertical one its transpose.
  const char* arrow[7] = {"...#.......#...", "..##.......##..", ".#############.", "###############",
                          ".#############.", "..##.......##..", "...#.......#..."};
  for (Integer y = 0; y < 7; ++y)
    for (Integer x = 0; x < 15; ++x) {
      const TColor32 want = arrow[y][x] == '#' ? 0xFF0000FFu : 0;
      EXPECT_EQ(d->CtrBmpAH()->GetPixel(x, y), want) << x << "," << y;
      EXPECT_EQ(d->CtrBmpAV()->GetPixel(y, x), want) << x << "," << y;
    }
  EXPECT_EQ(d->CtrBmpAH()->DrawMode(), dmBlend);
  // The anti-aliased discs and diamond, as recorded on this stack.
  const TColor32 disc[7][7] = {
      {0x06FFFFFF, 0xAC8E8E8E, 0xFA313131, 0xFE0A0A0A, 0xE61F1F1F, 0x500D0D0D, 0x00000000},
      {0xAB8E8E8E, 0xFF1F1F1F, 0xFFBABABA, 0xFFF3F3F3, 0xFFBABABA, 0xF1111111, 0x4C000000},
      {0xFA303030, 0xFFBBBBBB, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xEDB5B5B5, 0xCA000000},
      {0xFE0C0C0C, 0xFFF2F2F2, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xE5F1F1F1, 0xF2000000},
      {0xE71F1F1F, 0xFFBABABA, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xA7969696, 0xCA000000},
      {0x500D0D0D, 0xF1111111, 0xECB4B4B4, 0xE6F2F2F2, 0xA9959595, 0xE1010101, 0x4B000000},
      {0x00000000, 0x4C000000, 0xCA000000, 0xF3000000, 0xC9000000, 0x4B000000, 0x00000000},
  };
  const TColor32 diamond[9][9] = {
      {0x00000000, 0x00000000, 0x00000000, 0xA0999900, 0xF50B0B00, 0x40000000, 0x00000000, 0x00000000, 0x00000000},
      {0x00000000, 0x00000000, 0xA0999900, 0xFF151500, 0xFF8A8A00, 0xF50B0B00, 0x40000000, 0x00000000, 0x00000000},
      {0x00000000, 0x9E9D9D00, 0xFF161600, 0xFFBDBD00, 0xFFFFFF00, 0xFFC3C300, 0xF50C0C00, 0x42000000, 0x00000000},
      {0x9E9D9D00, 0xFF161600, 0xFFBDBD00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFC3C300, 0xF50C0C00, 0x42000000},
      {0xF40A0A00, 0xFF8A8A00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xBA5F5F00, 0xEA000000},
      {0x3C000000, 0xF30A0A00, 0xFFBDBD00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0x9E9D9D00, 0xE9000000, 0x42000000},
      {0x00000000, 0x3C000000, 0xF30A0A00, 0xFFBDBD00, 0xFFFFFF00, 0x9E9D9D00, 0xE9000000, 0x42000000, 0x00000000},
      {0x00000000, 0x00000000, 0x40000000, 0xF50B0B00, 0xBA5F5F00, 0xEA000000, 0x40000000, 0x00000000, 0x00000000},
      {0x00000000, 0x00000000, 0x00000000, 0x40000000, 0xEA000000, 0x40000000, 0x00000000, 0x00000000, 0x00000000},
  };
  for (Integer y = 0; y < 7; ++y)
    for (Integer x = 0; x < 7; ++x) {
      EXPECT_EQ(d->CtrBmpY2()->GetPixel(x, y), disc[y][x]) << x << "," << y;
      // The green disc: the same coverage, green where the white one is white.
      const TColor32 w = disc[y][x];
      EXPECT_EQ(d->CtrBmpG2()->GetPixel(x, y), (w & 0xFF00FF00u)) << x << "," << y;
    }
  for (Integer y = 0; y < 9; ++y)
    for (Integer x = 0; x < 9; ++x) EXPECT_EQ(d->CtrBmpY3()->GetPixel(x, y), diamond[y][x]) << x << "," << y;
}

TEST(DocumentControl, StripePattern) {
  TTestDocument d(10, 10);
  TBitmap* b = d->BrushBitmap();
  ASSERT_EQ(b->Width(), 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) {
      // Black in columns 0..3 rows 0..3-x, columns 1..4 rows 8-x..7,
      // columns 5..7 rows 8-x..11-x: (x + y) mod 8 < 4.
      const bool ranges = (x <= 3 && y <= 3 - x) || (x >= 1 && x <= 4 && y >= 8 - x) ||
                          (x >= 5 && y >= 8 - x && y <= 11 - x);
      EXPECT_EQ(ranges, (x + y) % 8 < 4) << x << "," << y;
      EXPECT_EQ(b->Canvas()->Pixels(x, y) & 0xFFFFFF, ranges ? 0 : 0xFFFFFF) << x << "," << y;
    }
}

TEST(DocumentControl, HandlesAtSeveralZooms) {
  for (Single zoom : {0.5f, 1.0f, 2.0f}) {
    TTestDocument d(120, 100);
    TImgShape* r = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 40, 61, 80), {{24, u"1"}, {41, u""}}));
    auto* l = static_cast<TImgLine*>(d.Add(ObjectRow(2, TShapeType::shLine, TRect(70, 10, 111, 31),
                                                     {{24, u"3"}, {40, u"70"}, {41, u"10"}, {42, u"110"}, {43, u"30"},
                                                      {46, u"80"}, {47, u"40"}, {48, u"100"}, {49, u"12"}})));
    TImgShape* hidden = d.Add(ObjectRow(3, TShapeType::shRectangle, TRect(80, 60, 110, 90), {{4, u"-1"}}));
    r->Select();
    l->Select();
    hidden->Select();
    d->SetScale(zoom);
    auto buffer = Buffer(260, 220);
    d->PaintControlLayer(nullptr, buffer.get());
    const TViewMap m = d->ViewMap();
    // The rectangle: discs around its corners, the rotation disc 30 image
    // pixels above, the extra handle's diamond (9 x 9, hit 4 around it).
    const TPoint c3 = m.Point(TPoint(61, 80));
    EXPECT_EQ(r->CtrRect(3), TRect(c3.X - 3, c3.Y - 3, c3.X + 3, c3.Y + 3)) << zoom;
    EXPECT_EQ(buffer->GetPixel(c3.X, c3.Y), Over(d->CtrBmpY2(), 3, 3)) << zoom;
    const TPoint c0 = m.Point(TPoint(20 + 20, 40 - 30));
    EXPECT_EQ(r->CtrRect(0), TRect(c0.X - 3, c0.Y - 3, c0.X + 3, c0.Y + 3)) << zoom;
    EXPECT_EQ(buffer->GetPixel(c0.X, c0.Y), Over(d->CtrBmpG2(), 3, 3)) << zoom;
    const TPoint h9 = m.Point(TPoint(24, 40));  // 0.1 x 41 = 4.1 -> 4
    EXPECT_EQ(r->CtrRect(9), TRect(h9.X - 4, h9.Y - 4, h9.X + 4, h9.Y + 4)) << zoom;
    EXPECT_EQ(buffer->GetPixel(h9.X, h9.Y), Over(d->CtrBmpY3(), 4, 4)) << zoom;
    // The curve: squares at its ends and control points.
    for (Integer i = 1; i <= 4; ++i) {
      const TPoint v = m.Point(l->GetPoint(i));
      EXPECT_EQ(l->CtrRect(i), TRect(v.X - 3, v.Y - 3, v.X + 3, v.Y + 3)) << zoom << " " << i;
      EXPECT_EQ(buffer->GetPixel(v.X - 3, v.Y - 3), 0xFF000000u);
      EXPECT_EQ(buffer->GetPixel(v.X, v.Y), 0xFFFFFF00u);
    }
    // A hidden object shows nothing.
    const TPoint hv = m.Point(TPoint(110, 90));
    EXPECT_EQ(buffer->GetPixel(hv.X, hv.Y), Background);
    EXPECT_EQ(hidden->CtrRect(3), TRect());
    // Canvas handles around the view rectangle of the image.
    const TRect view = m.Rect(TRect(0, 0, 120, 100));
    EXPECT_EQ(d->CanvasCtrRect()[3], TRect(view.Right, view.Bottom, view.Right + 6, view.Bottom + 6));
    EXPECT_EQ(buffer->GetPixel(view.Right + 2, view.Bottom + 2), 0xFFFFFFFFu);
    EXPECT_EQ(buffer->GetPixel(view.Right, view.Bottom), 0xFF000000u);
    SaveReviewPicture(u"control_zoom_" + IntToStr(Integer(zoom * 10)), buffer.get());
  }
}

TEST(DocumentControl, GuidesRulerAndCanvasFeedback) {
  TTestDocument d(100, 80);
  d->CreateGuides(0, 30, true);
  d->CreateGuides(40, 0, false);
  d->CreateRuler(10, 70, 90, 50);
  d->SetScale(2);
  auto buffer = Buffer(260, 220);
  auto before = Pixels(buffer.get());
  d->PaintControlLayer(nullptr, buffer.get());
  for (Integer x = 0; x < 260; x += 37) EXPECT_EQ(buffer->GetPixel(x, 60), 0xFF4A84FFu) << x;
  for (Integer y = 0; y < 220; y += 37) EXPECT_EQ(buffer->GetPixel(80, y), 0xFF4A84FFu) << y;
  // The ruler's ends move to the pixel centre at zoom 2: (21, 141), (181, 101),
  // drawn with an inverting pen.
  EXPECT_EQ(buffer->GetPixel(21 - 5, 141), ~Background);
  EXPECT_EQ(buffer->GetPixel(181 + 3, 101), ~Background);
  EXPECT_EQ(buffer->GetPixel(101, 121), ~Background);
  // Dragging the top-left canvas handle: the label shows the new size.
  const TPoint handle(-3, -3);
  EXPECT_EQ(d->GetShapeCursor(handle.X, handle.Y, 0, 0), ShapeCursor::SizeNWSE);
  EXPECT_EQ(d->CanvasCtrIndex(), 1);
  d->SetLeftMouseDown(true);
  d->SetCanvasCtrDx(-20);
  d->SetCanvasCtrDy(-20);
  d->SetCanvasDx(-10);
  d->SetCanvasDy(-10);
  auto label = Buffer(260, 220);
  d->PaintControlLayer(nullptr, label.get());
  Integer yellow = CountPixels(label.get(), [](TColor32 C) { return (C & 0xFFFFFF) == 0xFFFF80u; });
  EXPECT_GT(yellow, 100) << "the light yellow label";
  const Integer tw = label->TextWidth(u"110 \u00D7 90");
  EXPECT_EQ(label->GetPixel((260 - tw) / 2 - 2, (220 - 15) / 2 + 1) & 0xFFFFFF, 0xFFFF80u);
  (void)before;
}

TEST(DocumentControl, PaintToolOutlines) {
  struct {
    Single Zoom;
    bool Markers;
  } pencils[] = {{2, true}, {4, false}};
  for (const auto& p : pencils) {
    TTestDocument d(40, 40);
    d->SetControlMode(TControlMode::cmProcess);
    d->SetProcessMode(TProcessBitmapMode::pbmPencil);
    d->SetProcessWidth(1);
    d->SetScale(p.Zoom);
    d->SetMovedX(10);
    d->SetMovedY(10);
    auto b = Buffer(200, 200);
    d->PaintControlLayer(nullptr, b.get());
    const Integer c = Integer(10 * p.Zoom);
    EXPECT_EQ(b->GetPixel(c, c), ~Background);
    EXPECT_EQ(b->GetPixel(c + 6, c), p.Markers ? ~Background : Background);
    EXPECT_EQ(b->GetPixel(c, c - 6), p.Markers ? ~Background : Background);
  }
  // The brush circle and the stamp cross invert; a second paint restores
  // every inverted pixel.
  for (TProcessBitmapMode mode : {TProcessBitmapMode::pbmBrush, TProcessBitmapMode::pbmStamp,
                                  TProcessBitmapMode::pbmEraser}) {
    TTestDocument d(60, 60);
    d->SetControlMode(TControlMode::cmProcess);
    d->SetProcessMode(mode);
    d->SetProcessWidth(20);
    d->SetProcessStampStartX(5);
    d->SetProcessStampStartY(5);
    d->SetMovedX(30);
    d->SetMovedY(30);
    auto b = Buffer(100, 100);
    const std::vector<TColor32> clean = Pixels(b.get());
    d->PaintControlLayer(nullptr, b.get());
    const std::vector<TColor32> once = Pixels(b.get());
    d->PaintControlLayer(nullptr, b.get());
    const std::vector<TColor32> twice = Pixels(b.get());
    Integer inverted = 0, restored = 0;
    for (size_t i = 0; i < clean.size(); ++i)
      if (once[i] == ~clean[i]) {
        ++inverted;
        restored += twice[i] == clean[i];
      }
    EXPECT_GT(inverted, 40) << Integer(mode);
    EXPECT_EQ(restored, inverted) << Integer(mode);
    if (mode == TProcessBitmapMode::pbmEraser) {
      EXPECT_EQ(once[size_t(40) * 100 + 30], ~Background) << "the eraser's square from the pointer";
    }
  }
}
