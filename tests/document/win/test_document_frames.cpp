// Photo frames on a document: the drawn frames' sizes and image offsets per
// mode with the objects following the image, the cut shapes, the layered
// frames (every row of the shipped layer pack too), the mask frames (every
// mask of the shipped mask pack), the runs that draw no frame, cancelling
// after several runs, keeping as one undo step, frames on a picture object,
// and the pixel masks against GDI+'s own region test.
#include "common/gtest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "document/FrameGeometry.h"
#include "document/UndoSteps.h"
#include "document/win/FramePaths.h"
#include "document/win/ImageSmall.h"
#include "document/win/StylePacks.h"
#include "foundation/app/HyAppUtils.h"
#include "rtl/FileUtils.h"
#include "tests/document/win/document_fixture.h"

namespace {

// A photo-like picture: colour ramps and a soft texture, every pixel opaque.
void PaintPhoto(TCustomBitmap32* B) {
  const Integer w = B->Width(), h = B->Height();
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      const Integer r = x * 220 / std::max(w - 1, 1) + 20;
      const Integer g = 40 + y * 180 / std::max(h - 1, 1);
      const Integer b = 90 + ((x * 7 + y * 13 + (x * y) % 17) & 0x3F);
      B->SetPixel(x, y, Color32FromRGBA(Byte(r), Byte(g), Byte(b), 255));
    }
}

// The frames dialog's values of a drawn frame (hidden rows pass 99 and
// black).
struct TDrawnValues {
  Integer V1 = 99;
  TColor C1 = 0;
  Integer V2 = 99;
  TColor C2 = 0;
  Integer V3 = 99;
  TColor C3 = 0;
};

TDrawnValues DrawnDefaults(Integer Mode) {
  switch (Mode) {
    case 1: return {10, 13421619};
    case 2: return {10, 13421619, 5, 16777164, 1, 16737843};
    case 3: return {1, 16711680, 10, 13421619, 20};
    case 4: return {1, 16711680, 10, 13421619, 15};
    case 5: return {5, 13421619, 50, 13421619};
    case 6: return {15, 13421619, 5, 13421619, 50, 13421619};
    case 7: case 8: return {1, 16711680, 0, 13421619};
    default: return {1, 16711680, 20, 13421619, 50};
  }
}

void RunDrawn(TImageDraw* D, const TDrawnValues& V) { D->FrameDo0(V.V1, V.C1, V.V2, V.C2, V.V3, V.C3, true); }

// The cut shapes' dialog defaults: V1 5, yellow, V2 50 for the rectangles
// and the octagon, 0 otherwise.
Integer CutDefaultV2(Integer Mode) {
  return (Mode == 1 || Mode == 2 || Mode == 5 || Mode == 6 || Mode == 15 || Mode == 16) ? 50 : 0;
}
constexpr TColor Yellow = 65535;

// Counts OnProcessingDone calls of the resize kind.
struct TResizeEvents {
  Integer Count = 0;
  explicit TResizeEvents(TImageDraw* D) {
    D->OnProcessingDone = [this](TObject*, TProcessingMode M, bool B) {
      EXPECT_EQ(M, TProcessingMode::pmResize);
      EXPECT_FALSE(B);
      ++Count;
    };
  }
};

std::vector<Integer> GuideValues(TRow* Row) {
  std::vector<Integer> v;
  for (Integer i = 0; i < Row->ItemCount(); ++i) v.push_back(Row->Items(i)->Value());
  return v;
}

// A layer row: enabled, solid, colour, edge-only tiling, shaded, shade
// count, the four widths.
String LayerRow(bool On, bool Solid, TColor Color, Integer Width, bool Shaded = false, Integer Shades = 1,
                bool EdgesOnly = false) {
  const String w = IntToStr(Width);
  return RowText(20, {{0, On ? u"-1" : u"0"}, {1, Solid ? u"-1" : u"0"}, {2, IntToStr(Integer(Color))},
                      {3, EdgesOnly ? u"-1" : u"0"}, {5, Shaded ? u"-1" : u"0"}, {6, IntToStr(Shades)},
                      {10, w}, {11, w}, {12, w}, {13, w}});
}

// ExePath at the test program's folder, where the build lays out Media\.
void UseProgramFolder() {
  char16_t buf[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, reinterpret_cast<LPWSTR>(buf), MAX_PATH);
  ExePath = ExtractFilePath(String(buf));
}

}  // namespace

// Every drawn frame at the dialog's defaults on a 100 x 50 image: the
// raster's size, the image at the offset, the outer colour, and the objects
// and guides moved by the offset.
TEST(DocumentFrames, DrawnFramesSizesAndOffsets) {
  const struct {
    Integer Mode, W, H, X0, Y0;
  } cases[] = {{1, 120, 70, 10, 10}, {2, 132, 82, 16, 16}, {3, 122, 72, 11, 11}, {4, 122, 72, 11, 11},
               {5, 110, 105, 5, 5},  {6, 110, 115, 5, 15}, {7, 102, 52, 1, 1},   {8, 102, 52, 1, 1},
               {9, 142, 92, 21, 21}, {10, 142, 92, 21, 21}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    TTestDocument d(100, 50);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    d->CreateGuides(0, 12, true);
    d->CreateGuides(33, 0, false);
    TResizeEvents events(d.Get());
    d->SetFrameType(0);
    d->SetFrameMode(c.Mode);
    d->FrameBegin();
    const TDrawnValues v = DrawnDefaults(c.Mode);
    RunDrawn(d.Get(), v);
    ASSERT_EQ(d->SrcBmp()->Width(), c.W);
    ASSERT_EQ(d->SrcBmp()->Height(), c.H);
    EXPECT_EQ(d->Bitmap()->Width(), c.W);  // the view was rebuilt
    EXPECT_EQ(events.Count, 1);
    EXPECT_EQ(d->SrcBmp()->GetPixel(c.X0 + 50, c.Y0 + 25), image.GetPixel(50, 25));
    EXPECT_EQ(d->SrcBmp()->GetPixel(0, 0), Color32(v.C1));
    EXPECT_EQ(rect->SRect(), TRect(20 + c.X0, 15 + c.Y0, 30 + c.X0, 25 + c.Y0));
    EXPECT_EQ(GuideValues(d->HorzGuidesRow()), std::vector<Integer>{12 + c.Y0});
    EXPECT_EQ(GuideValues(d->VertGuidesRow()), std::vector<Integer>{33 + c.X0});
    SaveReviewPicture(u"frame0_mode" + IntToStr(c.Mode), d->SrcBmp());
    d->FrameEnd(false);
  }
}

// The bands of the drawn frames where they show: mode 2's two inset bands,
// mode 5's bottom band, mode 6's top and bottom bands over colour 2, the
// rounded cut-out's corner covered by the band, the circle's outline.
TEST(DocumentFrames, DrawnFrameBands) {
  const TColor32 red = Color32(TColor(0x0000FF)), green = Color32(TColor(0x00FF00)), blue = Color32(TColor(0xFF0000));
  const struct {
    Integer Mode;
    TDrawnValues V;
    std::vector<std::pair<TPoint, TColor32>> Probes;
  } cases[] = {
      // 132 x 82: colour 1 to 10, colour 2 to 15, colour 3 to 16, then the image.
      {2, {10, 0x0000FF, 5, 0x00FF00, 1, 0xFF0000},
       {{TPoint(9, 40), red}, {TPoint(10, 40), green}, {TPoint(14, 40), green}, {TPoint(15, 40), blue}}},
      // Margins 10 left, right and top, 30 at the bottom in colour 2.
      {5, {10, 0x0000FF, 30, 0x00FF00},
       {{TPoint(5, 30), red}, {TPoint(60, 5), red}, {TPoint(60, 70), green}, {TPoint(115, 89), green}}},
      // Colour 2 at the sides, colour 1 on top (8), colour 3 at the bottom (12).
      {6, {8, 0x0000FF, 6, 0x00FF00, 12, 0xFF0000},
       {{TPoint(3, 30), green}, {TPoint(50, 3), red}, {TPoint(50, 65), blue}}},
      // The band inset 2 in colour 2 covers the rounded corner of the image.
      {3, {2, 0x0000FF, 4, 0x00FF00, 40},
       {{TPoint(1, 1), red}, {TPoint(3, 3), green}, {TPoint(6, 6), green}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    TTestDocument d(100, 50);
    PaintPhoto(d->SrcBmp());
    d->SetFrameMode(c.Mode);
    d->FrameBegin();
    RunDrawn(d.Get(), c.V);
    for (const auto& [p, color] : c.Probes) EXPECT_EQ(d->SrcBmp()->GetPixel(p.X, p.Y), color) << p.X << "," << p.Y;
    d->FrameEnd(false);
  }
  // Mode 7: outside the circle colour 2, the outline anti-aliased in colour
  // 2, the outer margin colour 1 again.
  TTestDocument d(100, 100);
  PaintPhoto(d->SrcBmp());
  TCustomBitmap32 image;
  image.Assign(d->SrcBmp());
  d->SetFrameMode(7);
  d->FrameBegin();
  RunDrawn(d.Get(), {4, 0x0000FF, 20, 0x00FF00});
  ASSERT_EQ(d->SrcBmp()->Width(), 108);
  EXPECT_EQ(d->SrcBmp()->GetPixel(2, 54), red);     // outer margin
  EXPECT_EQ(d->SrcBmp()->GetPixel(6, 6), green);    // outside the circle (radius 40)
  EXPECT_EQ(d->SrcBmp()->GetPixel(54, 54), image.GetPixel(50, 50));
  // Along the middle row the circle's edge at x = 14 is the outline.
  Integer outline = 0;
  for (Integer x = 8; x < 20; ++x) {
    const TColor32 c = d->SrcBmp()->GetPixel(x, 54);
    outline += c != green && c != image.GetPixel(x - 4, 50);
  }
  EXPECT_GE(outline, 1);
  d->FrameEnd(false);
}

// The kind-0 edge case of the design: mode 1 with 10 on a 100 x 50 image
// gives 120 x 70 with every object moved by (10, 10); a second run with 5
// moves them back by (5, 5). Mode 5 leaves margins V1 and a bottom margin V2.
TEST(DocumentFrames, SecondRunMovesObjectsByTheChange) {
  TTestDocument d(100, 50);
  PaintPhoto(d->SrcBmp());
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
  d->SetFrameMode(1);
  d->FrameBegin();
  RunDrawn(d.Get(), {10, 0x123456});
  EXPECT_EQ(d->SrcBmp()->Width(), 120);
  EXPECT_EQ(d->SrcBmp()->Height(), 70);
  EXPECT_EQ(rect->SRect(), TRect(30, 25, 40, 35));
  RunDrawn(d.Get(), {5, 0x123456});
  EXPECT_EQ(d->SrcBmp()->Width(), 110);
  EXPECT_EQ(rect->SRect(), TRect(25, 20, 35, 30));
  d->FrameEnd(true);
  EXPECT_EQ(rect->SRect(), TRect(25, 20, 35, 30));

  TTestDocument e(100, 50);
  PaintPhoto(e->SrcBmp());
  TCustomBitmap32 image;
  image.Assign(e->SrcBmp());
  e->SetFrameMode(5);
  e->FrameBegin();
  RunDrawn(e.Get(), {7, 0x0000FF, 23, 0x00FF00});
  ASSERT_EQ(e->SrcBmp()->Width(), 114);
  ASSERT_EQ(e->SrcBmp()->Height(), 80);
  const TColor32 red = Color32(TColor(0x0000FF));
  EXPECT_EQ(e->SrcBmp()->GetPixel(6, 30), red);
  EXPECT_EQ(e->SrcBmp()->GetPixel(7, 30), image.GetPixel(0, 23));
  EXPECT_EQ(e->SrcBmp()->GetPixel(106, 30), image.GetPixel(99, 23));
  EXPECT_EQ(e->SrcBmp()->GetPixel(107, 30), red);
  EXPECT_EQ(e->SrcBmp()->GetPixel(50, 6), red);
  EXPECT_EQ(e->SrcBmp()->GetPixel(50, 7), image.GetPixel(43, 0));
  EXPECT_EQ(e->SrcBmp()->GetPixel(50, 56), image.GetPixel(43, 49));
  EXPECT_EQ(e->SrcBmp()->GetPixel(50, 57), Color32(TColor(0x00FF00)));
  e->FrameEnd(false);
}

// Every cut shape at the dialog's defaults: the raster grows by 2 V1, the
// image's middle shows, the corners are transparent white, the outline is
// painted in colour 1.
TEST(DocumentFrames, CutShapes) {
  for (Integer mode = 1; mode <= 16; ++mode) {
    SCOPED_TRACE(mode);
    TTestDocument d(100, 60);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    TResizeEvents events(d.Get());
    d->SetFrameType(1);
    d->SetFrameMode(mode);
    d->FrameBegin();
    d->FrameDo1(5, Yellow, CutDefaultV2(mode), false);
    ASSERT_EQ(d->SrcBmp()->Width(), 110);
    ASSERT_EQ(d->SrcBmp()->Height(), 70);
    EXPECT_EQ(events.Count, 1);
    EXPECT_EQ(d->SrcBmp()->GetPixel(55, 35), image.GetPixel(50, 30));
    EXPECT_EQ(d->SrcBmp()->GetPixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(d->SrcBmp()->GetPixel(109, 69), 0x00FFFFFFu);
    EXPECT_GT(CountPixels(d->SrcBmp(), [](TColor32 c) { return c == 0xFFFFFF00u; }), 20);
    EXPECT_EQ(rect->SRect(), TRect(25, 20, 35, 30));
    SaveReviewPicture(u"frame1_mode" + IntToStr(mode), d->SrcBmp());
    d->FrameEnd(false);
  }
}

// V1 = 0: on a transparent canvas the image is cut to the shape with no
// outline; on an opaque canvas a 1-pixel outline in the canvas colour.
TEST(DocumentFrames, CutShapeWithoutWidth) {
  for (bool transparent : {true, false}) {
    SCOPED_TRACE(transparent);
    TTestDocument d(80, 60, 0x00FF00, transparent);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    d->SetFrameType(1);
    d->SetFrameMode(3);  // a circle of radius 30 about (40, 30)
    d->FrameBegin();
    d->FrameDo1(0, Yellow, 0, false);
    ASSERT_EQ(d->SrcBmp()->Width(), 80);
    Integer cut = 0, kept = 0, other = 0;
    for (Integer y = 0; y < 60; ++y)
      for (Integer x = 0; x < 80; ++x) {
        const TColor32 c = d->SrcBmp()->GetPixel(x, y);
        if (c == 0x00FFFFFFu)
          ++cut;
        else if (c == image.GetPixel(x, y))
          ++kept;
        else
          ++other;
      }
    EXPECT_EQ(d->SrcBmp()->GetPixel(2, 2), 0x00FFFFFFu);
    EXPECT_EQ(d->SrcBmp()->GetPixel(40, 30), image.GetPixel(40, 30));
    EXPECT_GT(cut, 800);
    EXPECT_GT(kept, 2500);
    if (transparent) {
      EXPECT_EQ(other, 0);
    } else {
      EXPECT_GT(other, 100);
    }
    d->FrameEnd(false);
  }
}

// Layered frames: offsets and sizes from the enabled layers, solid layers
// with their shaded edge, a texture tiled from its layer's corner, the
// image at the offset; disabled layers skipped.
TEST(DocumentFrames, LayeredFrame) {
  TTestDocument d(40, 30, 0x808080);
  PaintPhoto(d->SrcBmp());
  TCustomBitmap32 image;
  image.Assign(d->SrcBmp());
  TCustomBitmap32 texture;
  texture.SetSize(4, 4);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) texture.SetPixel(x, y, 0xFF000000u | TColor32(x * 60) << 16 | TColor32(y * 60));
  TDataTable layers;
  layers.AddItem(LayerRow(true, true, 0x0000FF, 2));               // red, innermost
  layers.AddItem(LayerRow(false, true, 0x00FF00, 9));              // disabled
  layers.AddItem(LayerRow(true, false, 0, 3));                     // the texture
  layers.AddItem(LayerRow(true, true, 0xFF0000, 4, true, 2));      // blue, shaded twice
  layers.Items(2)->SetData(static_cast<TCustomBitmap32*>(&texture));
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
  d->SetFrameType(2);
  d->FrameBegin();
  d->FrameDo2(&layers);
  ASSERT_EQ(d->SrcBmp()->Width(), 58);
  ASSERT_EQ(d->SrcBmp()->Height(), 48);
  EXPECT_EQ(rect->SRect(), TRect(29, 24, 39, 34));
  TCustomBitmap32* b = d->SrcBmp();
  const TColor32 blue = Color32(TColor(0xFF0000));
  EXPECT_EQ(b->GetPixel(0, 20), blue);
  EXPECT_EQ(b->GetPixel(1, 20), blue);
  // Two frames stepping darker from (2, 2) inward, the outer one lighter.
  const TColor32 s1 = b->GetPixel(2, 20), s2 = b->GetPixel(3, 20);
  EXPECT_NE(s1, blue);
  EXPECT_LT(s2 & 0xFF, s1 & 0xFF);
  EXPECT_LT(s1 & 0xFF, blue & 0xFF);
  // The texture from (4, 4): pixel (4 + i, 4 + j) is texel (i mod 4, j mod 4).
  EXPECT_EQ(b->GetPixel(4, 4), texture.GetPixel(0, 0));
  EXPECT_EQ(b->GetPixel(6, 5), texture.GetPixel(2, 1));
  EXPECT_EQ(b->GetPixel(5, 20), texture.GetPixel(1, 0));
  const TColor32 red = Color32(TColor(0x0000FF));
  EXPECT_EQ(b->GetPixel(7, 20), red);
  EXPECT_EQ(b->GetPixel(8, 20), red);
  EXPECT_EQ(b->GetPixel(9, 20), image.GetPixel(0, 11));
  EXPECT_EQ(b->GetPixel(48, 38), image.GetPixel(39, 29));
  EXPECT_EQ(b->GetPixel(49, 38), red);
  SaveReviewPicture(u"frame2_layers", b);
  d->FrameEnd(false);
  EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
  EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
}

// More than six enabled layers: the seventh is ignored for the offsets, the
// size and the painting. With every width 0 the image keeps its size.
TEST(DocumentFrames, LayerLimitAndZeroWidths) {
  TTestDocument d(40, 30);
  PaintPhoto(d->SrcBmp());
  TCustomBitmap32 image;
  image.Assign(d->SrcBmp());
  TDataTable seven;
  const TColor colors[7] = {0x000010, 0x000020, 0x000030, 0x000040, 0x000050, 0x000060, 0x000070};
  for (TColor c : colors) seven.AddItem(LayerRow(true, true, c, 1));
  d->FrameBegin();
  d->FrameDo2(&seven);
  ASSERT_EQ(d->SrcBmp()->Width(), 52);
  ASSERT_EQ(d->SrcBmp()->Height(), 42);
  EXPECT_EQ(d->SrcBmp()->GetPixel(0, 0), Color32(colors[5]));
  EXPECT_EQ(d->SrcBmp()->GetPixel(5, 5), Color32(colors[0]));
  EXPECT_EQ(d->SrcBmp()->GetPixel(6, 6), image.GetPixel(0, 0));
  d->FrameEnd(false);

  TDataTable zero;
  for (Integer i = 0; i < 3; ++i) zero.AddItem(LayerRow(true, true, 0x0000FF, 0));
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
  d->FrameBegin();
  d->FrameDo2(&zero);
  EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
  EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
  d->FrameEnd(false);
}

// Mask frames: the colour where the mask is dark, the image where it is
// white, at the master alpha Round(V1 x 2.55); 0 leaves the image as it
// was. The raster keeps its size and the objects stay.
TEST(DocumentFrames, MaskFrame) {
  TBitmap32 mask;
  mask.SetSize(40, 30);
  mask.Clear(0xFF000000u);
  mask.FillRectS(TRect(8, 6, 32, 24), 0xFFFFFFFFu);
  TTestDocument d(80, 60);
  PaintPhoto(d->SrcBmp());
  TCustomBitmap32 image;
  image.Assign(d->SrcBmp());
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
  TResizeEvents events(d.Get());
  d->SetFrameType(3);
  d->SetFrameMaskBmp(&mask);
  d->FrameBegin();
  d->FrameDo3(100, 0x0000FF);
  ASSERT_EQ(d->SrcBmp()->Width(), 80);
  EXPECT_EQ(d->SrcBmp()->GetPixel(2, 2), Color32(TColor(0x0000FF)));
  EXPECT_EQ(d->SrcBmp()->GetPixel(40, 30), image.GetPixel(40, 30));
  SaveReviewPicture(u"frame3_fixture", d->SrcBmp());
  // Half strength: 50 x 2.55 = 127.5 rounds to 128.
  d->FrameDo3(50, 0x0000FF);
  const TColor32 half = d->SrcBmp()->GetPixel(2, 2), under = image.GetPixel(2, 2);
  const Integer r = Integer((half >> 16) & 0xFF), r0 = Integer((under >> 16) & 0xFF);
  EXPECT_NEAR(r, (255 * 128 + r0 * 127) / 255, 2);
  d->FrameDo3(0, 0x0000FF);
  EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
  EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
  EXPECT_EQ(events.Count, 0);
  d->FrameEnd(false);
  EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
}

// Runs that draw no frame: a mode 0 or past the kind's last, a mask frame
// without a mask, a layered frame without a table. The raster stays the
// image, nothing moves, no resize is reported.
TEST(DocumentFrames, RunsWithoutAFrameShape) {
  const struct {
    const char* Name;
    Integer Mode;
    std::function<void(TImageDraw*)> Run;
  } cases[] = {
      {"drawn mode 0", 0, [](TImageDraw* d) { RunDrawn(d, DrawnDefaults(1)); }},
      {"drawn mode 11", 11, [](TImageDraw* d) { RunDrawn(d, DrawnDefaults(1)); }},
      {"cut mode 0", 0, [](TImageDraw* d) { d->FrameDo1(5, Yellow, 50, false); }},
      {"cut mode 17", 17, [](TImageDraw* d) { d->FrameDo1(5, Yellow, 50, false); }},
      {"no layer table", 1, [](TImageDraw* d) { d->FrameDo2(nullptr); }},
      {"no mask", 1, [](TImageDraw* d) { d->FrameDo3(100, 0x0000FF); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(50, 40);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    d->CreateGuides(0, 12, true);
    TResizeEvents events(d.Get());
    d->SetFrameMode(c.Mode);
    d->FrameBegin();
    c.Run(d.Get());
    c.Run(d.Get());
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
    EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
    EXPECT_EQ(GuideValues(d->HorzGuidesRow()), std::vector<Integer>{12});
    EXPECT_EQ(events.Count, 0);
    d->FrameEnd(true);
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
  }
}

// Runs of another kind in the same preview start again from the image: a
// mask frame or a run without a shape after a drawn frame puts the raster
// back to the image's size and the objects back with it.
TEST(DocumentFrames, AnotherKindInTheSamePreview) {
  TBitmap32 mask;
  mask.SetSize(10, 10);
  mask.Clear(0xFFFFFFFFu);
  for (bool withMask : {true, false}) {
    SCOPED_TRACE(withMask ? "mask frame" : "no shape");
    TTestDocument d(50, 40);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    TResizeEvents events(d.Get());
    d->SetFrameMode(1);
    d->FrameBegin();
    RunDrawn(d.Get(), {6, 0x0000FF});
    EXPECT_EQ(rect->SRect(), TRect(26, 21, 36, 31));
    if (withMask) {
      d->SetFrameMaskBmp(&mask);
      d->FrameDo3(100, 0x0000FF);  // a white mask: the image shows everywhere
    } else {
      d->FrameDo2(nullptr);
    }
    EXPECT_EQ(events.Count, 2);
    EXPECT_EQ(d->Width(), 50);
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
    EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
    d->FrameEnd(false);
    EXPECT_EQ(rect->SRect(), TRect(20, 15, 30, 25));
  }
}

// Cancelling after three runs of different kinds puts the image back byte
// for byte and every object and guide where it was; keeping stores one undo
// step, and undoing it brings the same state back.
TEST(DocumentFrames, CancelAndKeep) {
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "cancelled");
    TTestDocument d(90, 70);
    PaintPhoto(d->SrcBmp());
    TDataTable history;
    d->SetUndoDT(&history);
    d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(20, 15, 30, 25)));
    TImgShape* line = d.Add(ObjectRow(2, TShapeType::shRectangle, TRect(2, 3, 60, 50)));
    d->CreateGuides(0, 12, true);
    d->CreateGuides(0, 40, true);
    d->CreateGuides(33, 0, false);
    d->SaveUndoFirst();
    const std::vector<TColor32> image = Pixels(d->SrcBmp());
    const TRect rectAt = rect->SRect(), lineAt = line->SRect();
    const auto horz = GuideValues(d->HorzGuidesRow()), vert = GuideValues(d->VertGuidesRow());
    const Integer steps = d->UndoCount();
    TResizeEvents events(d.Get());
    d->SetFrameMode(6);
    d->FrameBegin();
    RunDrawn(d.Get(), DrawnDefaults(6));
    RunDrawn(d.Get(), {3, 0x0000FF, 9, 0x00FF00, 2, 0xFF0000});
    RunDrawn(d.Get(), {20, 0x0000FF, 1, 0x00FF00, 7, 0xFF0000});
    EXPECT_EQ(rect->SRect(), TRect(21, 35, 31, 45));
    EXPECT_EQ(events.Count, 3);
    d->FrameEnd(keep);
    EXPECT_EQ(d->SrcBmp_T(), nullptr);
    if (!keep) {
      EXPECT_EQ(events.Count, 4);
      EXPECT_EQ(d->SrcBmp()->Width(), 90);
      EXPECT_EQ(Pixels(d->SrcBmp()), image);
      EXPECT_EQ(rect->SRect(), rectAt);
      EXPECT_EQ(line->SRect(), lineAt);
      EXPECT_EQ(GuideValues(d->HorzGuidesRow()), horz);
      EXPECT_EQ(GuideValues(d->VertGuidesRow()), vert);
      EXPECT_EQ(d->UndoCount(), steps);
    } else {
      EXPECT_EQ(d->SrcBmp()->Width(), 92);
      EXPECT_EQ(d->SrcBmp()->Height(), 97);
      ASSERT_EQ(d->UndoCount(), steps + 1);
      d->Undo();
      EXPECT_EQ(d->SrcBmp()->Width(), 90);
      EXPECT_EQ(Pixels(d->SrcBmp()), image);
      ASSERT_NE(d->ShapeById(1), nullptr);
      EXPECT_EQ(d->ShapeById(1)->SRect(), rectAt);
      EXPECT_EQ(d->ShapeById(2)->SRect(), lineAt);
    }
    ClearHistory(&history);
  }
}

// A frame on the selected picture object: only its picture and its box
// change (the raster, the other objects and the guides stay); cancelling
// brings back the picture and the box it had, keeping stores one step.
TEST(DocumentFrames, PictureObject) {
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "cancelled");
    TTestDocument d(60, 40);
    PaintPhoto(d->SrcBmp());
    TDataTable history;
    d->SetUndoDT(&history);
    d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
    d->SaveUndoFirst();
    TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(30, 25, 40, 35)));
    auto* pic = static_cast<TImgSmall*>(d.Add(ObjectRow(2, TShapeType::shSmall, TRect(5, 5, 45, 25))));
    pic->SrcBmp()->SetSize(20, 10);
    PaintPhoto(pic->SrcBmp());
    d->CreateGuides(0, 12, true);
    d->ClickShape(TSelectMode::selOne, 2);
    ASSERT_EQ(d->Shape(), pic);
    const std::vector<TColor32> raster = Pixels(d->SrcBmp()), picture = Pixels(pic->SrcBmp());
    TCustomBitmap32 original;
    original.Assign(pic->SrcBmp());
    const Integer steps = d->UndoCount();
    TResizeEvents events(d.Get());
    d->SetFrameSmall(true);
    d->SetFrameType(0);
    d->SetFrameMode(1);
    d->FrameBegin();
    RunDrawn(d.Get(), {3, 0x0000FF});
    ASSERT_EQ(pic->SrcBmp()->Width(), 26);
    ASSERT_EQ(pic->SrcBmp()->Height(), 16);
    EXPECT_EQ(pic->SRect(), TRect(5, 5, 31, 21));
    EXPECT_EQ(pic->SrcBmp()->GetPixel(0, 0), Color32(TColor(0x0000FF)));
    EXPECT_EQ(pic->SrcBmp()->GetPixel(3, 3), original.GetPixel(0, 0));
    EXPECT_TRUE(pic->DataChanged());
    EXPECT_EQ(Pixels(d->SrcBmp()), raster);
    EXPECT_EQ(rect->SRect(), TRect(30, 25, 40, 35));
    EXPECT_EQ(GuideValues(d->HorzGuidesRow()), std::vector<Integer>{12});
    EXPECT_EQ(events.Count, 0);
    // A mask frame keeps the picture's size.
    TBitmap32 dark;
    dark.SetSize(8, 8);
    dark.Clear(0xFF000000u);
    d->SetFrameMaskBmp(&dark);
    d->FrameDo3(100, 0x00FF00);
    EXPECT_EQ(pic->SrcBmp()->Width(), 20);
    EXPECT_EQ(pic->SRect(), TRect(5, 5, 25, 15));
    EXPECT_EQ(pic->SrcBmp()->GetPixel(10, 5), Color32(TColor(0x00FF00)));
    EXPECT_EQ(Pixels(d->SrcBmp()), raster);
    d->SetFrameMaskBmp(nullptr);
    // A second run starts again from the object's picture.
    d->SetFrameType(1);
    d->SetFrameMode(1);
    d->FrameDo1(2, Yellow, 0, false);
    EXPECT_EQ(pic->SrcBmp()->Width(), 24);
    EXPECT_EQ(pic->SRect(), TRect(5, 5, 29, 19));
    d->FrameEnd(keep);
    if (keep) {
      EXPECT_EQ(pic->SrcBmp()->Width(), 24);
      EXPECT_EQ(d->UndoCount(), steps + 1);
    } else {
      EXPECT_EQ(Pixels(pic->SrcBmp()), picture);
      EXPECT_EQ(pic->SRect(), TRect(5, 5, 45, 25));
      EXPECT_EQ(d->UndoCount(), steps);
    }
    EXPECT_EQ(Pixels(d->SrcBmp()), raster);
    d->SetFrameSmall(false);
    ClearHistory(&history);
  }
}

// A frame for a picture object while the current object is none: nothing
// to frame, nothing changes.
TEST(DocumentFrames, PictureObjectMissing) {
  TTestDocument d(40, 30);
  PaintPhoto(d->SrcBmp());
  const std::vector<TColor32> raster = Pixels(d->SrcBmp());
  TImgShape* rect = d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 15, 15)));
  d->ClickShape(TSelectMode::selOne, 1);
  TResizeEvents events(d.Get());
  d->SetFrameSmall(true);
  d->SetFrameMode(1);
  d->FrameBegin();
  EXPECT_EQ(d->SrcBmp_T(), nullptr);
  RunDrawn(d.Get(), {5, 0x0000FF});
  d->FrameDo1(5, Yellow, 0, false);
  d->FrameEnd(false);
  EXPECT_EQ(Pixels(d->SrcBmp()), raster);
  EXPECT_EQ(rect->SRect(), TRect(5, 5, 15, 15));
  EXPECT_EQ(events.Count, 0);
}

// The path flattened finely into closed polygons, for an exact
// point-in-path test (even-odd) and the distance to the outline.
struct TFlatPath {
  std::vector<std::vector<TGPPointF>> Figures;
  explicit TFlatPath(const IGPGraphicsPath& Path) {
    IGPGraphicsPath flat = Path->Clone();
    flat->Flatten(nullptr, 0.01f);
    IGPArray<TGPPointF> points = flat->GetPathPoints();
    IGPArray<Byte> types = flat->GetPathTypes();
    for (Integer i = 0; i < points->GetCount(); ++i) {
      if ((types->GetItem(i) & 7) == 3) ADD_FAILURE() << "a curve left after flattening";
      if ((types->GetItem(i) & 7) == 0 || Figures.empty()) Figures.emplace_back();
      Figures.back().push_back(points->GetItem(i));
    }
  }
  bool Inside(Double X, Double Y) const {
    bool in = false;
    for (const auto& f : Figures)
      for (size_t i = 0, j = f.size() - 1; i < f.size(); j = i++) {
        const Double xi = f[i].X, yi = f[i].Y, xj = f[j].X, yj = f[j].Y;
        if ((yi > Y) != (yj > Y) && X < (xj - xi) * (Y - yi) / (yj - yi) + xi) in = !in;
      }
    return in;
  }
  Double Distance(Double X, Double Y) const {
    Double best = 1e9;
    for (const auto& f : Figures)
      for (size_t i = 0, j = f.size() - 1; i < f.size(); j = i++) {
        const Double ax = f[j].X, ay = f[j].Y, dx = f[i].X - ax, dy = f[i].Y - ay;
        const Double len = dx * dx + dy * dy;
        const Double t = len > 0 ? std::clamp(((X - ax) * dx + (Y - ay) * dy) / len, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(X - ax - t * dx, Y - ay - t * dy));
      }
    return best;
  }
};

// The pixel masks of every drawn and cut shape on small pictures: exactly
// the pixels whose point lies inside the path (points on the outline itself
// aside), a rectangle exactly its points X .. X + W - 1. GDI+'s own region
// test of the same path (TGPRegion::IsVisible), which the masks replace,
// differs in libgdiplus from the exact answer near the outline, mostly on
// the right and bottom edges: every pixel where mask and region disagree
// lies within 1.5 pixels of the outline.
TEST(DocumentFrames, PathMaskMatchesRegionTest) {
  EnsureDocumentPlatform();
  struct TShape {
    std::string Name;
    TFramePath Path;
    Integer W, H;  // the picture
  };
  std::vector<TShape> shapes;
  for (Integer mode = 1; mode <= 10; ++mode) {
    TFrame0Layout lay;
    ASSERT_TRUE(Frame0Layout(mode, 23, 17, 2, 3, 40, lay));
    shapes.push_back({"drawn " + std::to_string(mode), lay.CutOut, lay.Width, lay.Height});
  }
  for (Integer mode = 1; mode <= 16; ++mode)
    for (Integer v2 : {0, 30}) {
      TFramePath s;
      ASSERT_TRUE(Frame1Shape(mode, 23, 17, 2, v2, s));
      shapes.push_back({"cut " + std::to_string(mode) + "/" + std::to_string(v2), s, 27, 21});
    }
  Integer regionDiffers = 0;
  for (const auto& [name, shape, w, h] : shapes) {
    SCOPED_TRACE(name);
    const IGPGraphicsPath path = FramePathToGP(shape);
    const TFramePathMask mask(path, w, h);
    const TFlatPath exact(path);
    IGPRegion region(new TGPRegion(path));
    Integer inside = 0;
    std::string wrong, distant;
    for (Integer y = -1; y <= h; ++y)
      for (Integer x = -1; x <= w; ++x) {
        const bool m = mask.Inside(x, y);
        const Double dist = exact.Distance(x, y);
        inside += m;
        if (x < 0 || y < 0 || x >= w || y >= h) {
          if (m) wrong += " (" + std::to_string(x) + "," + std::to_string(y) + " off the picture)";
          continue;
        }
        if (dist > 0.1 && m != exact.Inside(x, y))
          wrong += " (" + std::to_string(x) + "," + std::to_string(y) + (m ? " in" : " out") + ")";
        if (m != region->IsVisible(x, y)) {
          ++regionDiffers;
          if (dist > 1.5) distant += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
      }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(wrong, "");
    EXPECT_EQ(distant, "");
  }
  std::printf("mask and region test differ at %d pixels near the outlines of %d shapes\n", int(regionDiffers),
              int(shapes.size()));
  // A rectangle holds its left and top edges, not its right and bottom ones.
  const IGPGraphicsPath rect = FramePathToGP({TFramePathItem{TFramePathItem::Rect, 3, 4, 10, 6, 0, 0, {}}});
  const TFramePathMask m(rect, 20, 20);
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 20; ++x) EXPECT_EQ(m.Inside(x, y), x >= 3 && x < 13 && y >= 4 && y < 10) << x << "," << y;
}

// The shipped layer pack: every row's layer table through FrameDo2 gives
// the picture its layout says, the image at the offset; the shipped mask
// pack: every mask through FrameDo3 covers the corners and leaves the
// middle. Review pictures of every row and mask.
TEST(DocumentFrames, ShippedFramePacks) {
  EnsureDocumentPlatform();
  UseProgramFolder();
  TDataTable* layered = new TDataTable();
  ASSERT_TRUE(LoadNestedStylePack(layered, FramePackFileName(2)));
  TDataTable* masks = new TDataTable();
  ASSERT_TRUE(LoadImageStylePack(masks, FramePackFileName(3)));
  ASSERT_GE(layered->ItemCount(), 1);
  ASSERT_GE(masks->ItemCount(), 1);
  for (Integer i = 0; i < layered->ItemCount(); ++i) {
    SCOPED_TRACE(i);
    auto* layers = static_cast<TDataTable*>(layered->Items(i)->Data3());
    ASSERT_NE(layers, nullptr);
    TTestDocument d(300, 200);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    std::vector<TFrameLayerWidths> widths;
    for (Integer k = 0; k < layers->ItemCount(); ++k) {
      TRow* r = layers->Items(k);
      widths.push_back({r->Items(0)->AsBool(), r->Items(10)->Value(), r->Items(11)->Value(), r->Items(12)->Value(),
                        r->Items(13)->Value()});
    }
    const TFrame2Layout lay = Frame2Layout(300, 200, widths);
    d->SetFrameType(2);
    d->FrameBegin();
    d->FrameDo2(layers);
    ASSERT_EQ(d->SrcBmp()->Width(), lay.Width);
    ASSERT_EQ(d->SrcBmp()->Height(), lay.Height);
    EXPECT_GT(lay.Width, 300);
    EXPECT_EQ(d->SrcBmp()->GetPixel(lay.X0, lay.Y0), image.GetPixel(0, 0));
    EXPECT_EQ(d->SrcBmp()->GetPixel(lay.X0 + 299, lay.Y0 + 199), image.GetPixel(299, 199));
    // Every painted pixel round the image is opaque.
    EXPECT_EQ(CountPixels(d->SrcBmp(), [](TColor32 c) { return (c >> 24) != 0xFF; }), 0);
    SaveReviewPicture(u"frame2_row" + IntToStr(i), d->SrcBmp());
    d->FrameEnd(false);
  }
  for (Integer i = 0; i < masks->ItemCount(); ++i) {
    SCOPED_TRACE(i);
    auto* mask = dynamic_cast<TBitmap32*>(static_cast<TCustomBitmap32*>(masks->Items(i)->Data2()));
    ASSERT_NE(mask, nullptr);
    TTestDocument d(400, 300);
    PaintPhoto(d->SrcBmp());
    TCustomBitmap32 image;
    image.Assign(d->SrcBmp());
    d->SetFrameType(3);
    d->SetFrameMaskBmp(mask);
    d->FrameBegin();
    d->FrameDo3(100, 0xFFFFFF);
    ASSERT_EQ(d->SrcBmp()->Width(), 400);
    EXPECT_EQ(d->SrcBmp()->GetPixel(200, 150), image.GetPixel(200, 150));
    const TColor32 corner = d->SrcBmp()->GetPixel(0, 0);
    EXPECT_GT(corner & 0xFF, 0xD0u);  // mostly the white frame colour
    EXPECT_NE(corner, image.GetPixel(0, 0));
    SaveReviewPicture(u"frame3_mask" + IntToStr(i), d->SrcBmp());
    d->FrameEnd(false);
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&image));
  }
  FreeStylePackTable(layered, TStylePackKind::FrameNested);
  FreeStylePackTable(masks, TStylePackKind::FrameImage);
}
