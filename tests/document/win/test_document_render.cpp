// The review pictures: documents built in code and saved under
// build/screens/test_document/ for people to look at. Each picture's cells
// are checked to hold a drawing; the pictures decide nothing beyond that.
#include "common/gtest.h"

#include "document/SelectionCore.h"
#include "document/win/ImageSelection.h"
#include "gdiplus/win/ImageFiles.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

String LineRow(Integer Id, TShapeType Type, TPoint A, TPoint B, std::map<Integer, String> More) {
  More[40] = IntToStr(A.X);
  More[41] = IntToStr(A.Y);
  More[42] = IntToStr(B.X);
  More[43] = IntToStr(B.Y);
  // Middle points of curves and bends.
  More[46] = IntToStr(A.X + (B.X - A.X) / 4);
  More[47] = IntToStr(A.Y - 20);
  More[48] = IntToStr(A.X + 3 * (B.X - A.X) / 4);
  More[49] = IntToStr(B.Y + 20);
  TRect r;
  RectFromPoints(A.X, A.Y, B.X, B.Y, r);
  return ObjectRow(Id, Type, r, More);
}

void ExpectDrawnCells(TImageDraw* D, Integer Cols, Integer Rows, Integer CellW, Integer CellH, TColor32 Canvas) {
  for (Integer r = 0; r < Rows; ++r)
    for (Integer c = 0; c < Cols; ++c)
      EXPECT_GT(CountPixels(D->Bitmap(), [&](TColor32 P) { return P != Canvas; },
                            Bounds(c * CellW, r * CellH, CellW, CellH)),
                20)
          << "cell " << c << "," << r;
}

}  // namespace

TEST(DocumentRender, LineStyles) {
  for (TShapeType kind : {TShapeType::shArrow, TShapeType::shLine})
    for (Integer arrowType = 0; arrowType <= 2; ++arrowType) {
      if (kind == TShapeType::shLine && arrowType > 0) continue;  // lines have no heads
      const Integer styles = kind == TShapeType::shArrow ? 15 : 12;
      // Columns: widths 1, 2, 5 and a dashed 3; rows: styles.
      TTestDocument d(4 * 150, styles * 60, 0xFFFFFF);
      Integer id = 1;
      for (Integer s = 0; s < styles; ++s)
        for (Integer c = 0; c < 4; ++c) {
          const Integer w = c == 3 ? 3 : (c == 0 ? 1 : c == 1 ? 2 : 5);
          d.Add(LineRow(id++, kind, TPoint(c * 150 + 20, s * 60 + 40), TPoint(c * 150 + 130, s * 60 + 20),
                        {{24, IntToStr(s)}, {18, IntToStr(w)}, {50, IntToStr(arrowType)}, {22, c == 3 ? u"1" : u"0"},
                         {14, IntToStr(0x804000 + s * 8)}}));
        }
      d->StoreShapeObjects();
      for (Integer i = 0; i < d->DT()->ItemCount(); ++i) d->ShapeOfRow(i)->CalcRect();
      d->Draw();
      ExpectDrawnCells(d.Get(), 4, styles, 150, 60, 0xFFFFFFFFu);
      SaveReviewPicture(String(kind == TShapeType::shArrow ? u"lines_arrow_type" : u"lines_plain") +
                            (kind == TShapeType::shArrow ? IntToStr(arrowType) : String()),
                        d->Bitmap());
    }
}

TEST(DocumentRender, RectangleOutlines) {
  TTestDocument d(12 * 110, 2 * 110, 0xFFFFFF);
  for (Integer s = 0; s <= 11; ++s)
    for (Integer turned = 0; turned <= 1; ++turned)
      d.Add(ObjectRow(1 + s * 2 + turned, TShapeType::shRectangle, Bounds(s * 110 + 15, turned * 110 + 25, 80, 60),
                      {{24, IntToStr(s)}, {41, u""}, {19, turned ? u"25" : u"0"}, {15, IntToStr(0x40A0FF)},
                       {18, u"3"}}));
  d->Draw();
  ExpectDrawnCells(d.Get(), 12, 2, 110, 110, 0xFFFFFFFFu);
  SaveReviewPicture(u"rectangle_outlines", d->Bitmap());
}

TEST(DocumentRender, Fills) {
  TTempFolder dir("lumirender");
  TBitmap32 tile;
  tile.SetSize(8, 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) tile.SetPixel(x, y, (x < 4) == (y < 4) ? 0xFFCC3300u : 0xFFFFEE99u);
  const String file = dir.Path("tile.png");
  SaveBitmap32ToFile(&tile, file, ifPng, 0);
  TDataTable cache;
  PictureStreamDT = &cache;
  const String colours = u"255/65535/16711680", opacities = u"100/100/100", positions = u"0/0.5/1";
  const std::vector<std::map<Integer, String>> fills = {
      {},                                                    // solid
      {{29, u"0"}, {95, u"0"}},                              // linear
      {{29, u"0"}, {95, u"0"}, {99, u"-1"}},                 // linear, gamma
      {{29, u"0"}, {95, u"1"}},                              // path
      {{29, u"0"}, {95, u"1"}, {99, u"-1"}},                 // path, gamma
      {{29, u"0"}, {95, u"2"}},                              // radial
      {{29, u"0"}, {95, u"2"}, {99, u"-1"}},                 // radial, gamma
      {{29, u"0"}, {95, u"4"}, {87, u"0"}},                  // hatch 0
      {{29, u"0"}, {95, u"4"}, {87, u"9"}},                  // hatch 9
      {{29, u"0"}, {95, u"4"}, {87, u"10"}},                 // hatch 10 (GDI+ 18)
      {{29, u"0"}, {95, u"4"}, {87, u"44"}},                 // hatch 44 (GDI+ 52)
      {{29, u"0"}, {95, u"5"}, {97, EscapeTableText(file)}}, // texture
      {{29, u"0"}, {95, u"3"}, {98, u"15"}},                 // edging
  };
  TTestDocument d(Integer(fills.size()) * 110, 2 * 110, 0xFFFFFF);
  Integer id = 1;
  for (size_t i = 0; i < fills.size(); ++i)
    for (Integer style : {0, 2}) {
      auto cells = fills[i];
      cells[24] = IntToStr(style);
      cells[90] = colours;
      cells[91] = opacities;
      cells[92] = positions;
      cells[88] = u"0";
      cells[89] = u"16777215";
      d.Add(ObjectRow(id++, TShapeType::shRectangle, Bounds(Integer(i) * 110 + 10, (style / 2) * 110 + 15, 90, 80),
                      cells));
    }
  d->Draw();
  ExpectDrawnCells(d.Get(), Integer(fills.size()), 2, 110, 110, 0xFFFFFFFFu);
  SaveReviewPicture(u"fills", d->Bitmap());
  PictureStreamDT = nullptr;
}

TEST(DocumentRender, ShadowsReflectionsOpacity) {
  TTestDocument d(5 * 160, 260, 0xF0F0F0);
  const std::vector<std::map<Integer, String>> styles = {
      {{27, u"0"}, {70, u"45"}, {71, u"8"}, {73, u"4"}},                      // shadow
      {{27, u"0"}, {70, u"135"}, {71, u"6"}, {72, u"20"}, {73, u"8"}},        // zoomed, blurred shadow
      {{28, u"0"}, {81, u"3"}, {86, u"70"}},                                  // reflection
      {{27, u"0"}, {28, u"0"}, {71, u"5"}, {81, u"4"}, {83, u"2"}},           // shadow with its reflection
      {{16, u"110"}, {27, u"0"}, {28, u"0"}},                                 // translucent, both
  };
  for (size_t i = 0; i < styles.size(); ++i) {
    auto cells = styles[i];
    cells[24] = IntToStr(Integer(i % 3));
    d.Add(ObjectRow(Integer(i) + 1, TShapeType::shRectangle, Bounds(Integer(i) * 160 + 30, 30, 100, 70), cells));
  }
  d->Draw();
  ExpectDrawnCells(d.Get(), 5, 1, 160, 260, 0xFFF0F0F0u);
  SaveReviewPicture(u"shadows_reflections", d->Bitmap());
}

TEST(DocumentRender, ControlLayerOverTheImage) {
  for (Single zoom : {0.5f, 1.0f, 2.0f}) {
    TTestDocument d(240, 180, 0xE8F0FF);
    d.Add(ObjectRow(1, TShapeType::shRectangle, Bounds(20, 30, 90, 60), {{24, u"6"}, {41, u""}, {19, u"15"}}));
    d.Add(LineRow(2, TShapeType::shArrow, TPoint(40, 150), TPoint(200, 110), {{24, u"4"}, {18, u"3"}}));
    d.Add(LineRow(3, TShapeType::shLine, TPoint(140, 20), TPoint(220, 90), {{24, u"10"}, {18, u"2"}}));
    for (Integer i = 0; i < 3; ++i) d->ShapeOfRow(i)->Select();
    d->CreateGuides(0, 100, true);
    d->CreateGuides(120, 0, false);
    d->CreateRuler(20, 170, 200, 170);
    d->SetScale(zoom);
    d->Draw();
    auto buffer = std::make_unique<TBitmap32>();
    buffer->SetSize(Integer(240 * zoom) + 40, Integer(180 * zoom) + 40);
    buffer->Clear(0xFF707070u);
    buffer->Draw(TRect(0, 0, Integer(240 * zoom), Integer(180 * zoom)), d->Bitmap()->BoundsRect(), d->Bitmap());
    d->PaintControlLayer(nullptr, buffer.get());
    EXPECT_EQ(buffer->GetPixel(1, d->ViewMap().Y(100)), 0xFF4A84FFu);
    SaveReviewPicture(u"view_zoom_" + IntToStr(Integer(zoom * 10)), buffer.get());
    // The canvas being resized with its label, and the paint tools.
    d->GetShapeCursor(Integer(240 * zoom) + 2, Integer(180 * zoom) + 2, 0, 0);
    d->SetLeftMouseDown(true);
    d->SetCanvasCtrDx(15);
    d->SetCanvasCtrDy(10);
    d->SetCanvasDx(Integer(15 / zoom));
    d->SetCanvasDy(Integer(10 / zoom));
    d->SetControlMode(TControlMode::cmProcess);
    d->SetProcessMode(TProcessBitmapMode::pbmStamp);
    d->SetProcessWidth(30);
    d->SetMovedX(60);
    d->SetMovedY(80);
    d->SetProcessStampStartX(-20);
    d->SetProcessStampStartY(-10);
    d->PaintControlLayer(nullptr, buffer.get());
    SaveReviewPicture(u"view_tools_zoom_" + IntToStr(Integer(zoom * 10)), buffer.get());
    EXPECT_EQ(d->CanvasCtrIndex(), 3);
  }
}

// Selections of every kind with their ants at 50 %, 100 % and 200 %: one
// row per zoom, one cell per kind.
TEST(DocumentRender, SelectionAnts) {
  const std::vector<Integer> kinds = {0, 1, 2, 3, 4, 5, 9, 10};
  const Integer cell = 80;
  TBitmap32 picture;
  picture.SetSize(cell * Integer(kinds.size()), cell * 3);
  picture.Clear(0xFFD8D8D8u);
  TCustomBitmap32 pattern;
  MakeAntsPattern(&pattern);
  const Single zooms[] = {0.5f, 1.0f, 2.0f};
  for (Integer z = 0; z < 3; ++z)
    for (size_t k = 0; k < kinds.size(); ++k) {
      TSelectionCore s;
      const Integer kind = kinds[k];
      for (TPoint p : {TPoint(4, 4), TPoint(30, 8), TPoint(10, 20), TPoint(34, 30), TPoint(2, 34)})
        s.Input.AddPoint(kind, p.X, p.Y);
      for (Integer y = 5; y < 30; ++y)
        for (Integer x = 3 + y % 4; x < 34; x += 5) s.Input.AddRun(y, x, x + 2);
      s.Input.PointMoved = TPoint(18, 16);  // even: a one-pixel row or column keeps a row at 50 %
      ASSERT_TRUE(s.CreateRegion(kind, TRect(3, 4, 33, 30), TRect(0, 0, 36, 36), false, zooms[z])) << kind;
      const Integer ox = Integer(k) * cell + 2, oy = z * cell + 2;
      DrawAnts(&picture, s.HorzLines(), s.VertLines(), ox, oy, &pattern, 0);
      EXPECT_GT(CountPixels(&picture, [](TColor32 P) { return P == 0xFF000000u; }, Bounds(ox, oy, cell - 2, cell - 2)),
                4)
          << kind << " at " << zooms[z];
    }
  SaveReviewPicture(u"selection_kinds_ants", &picture);
}

// Selections while they are drawn (rectangle and ellipse with their size
// labels, the lassos with the line to the pointer, a row and a column), the
// node handles of a node lasso, and a lifted picture moved off its place:
// one cell each on the control layer over the image. Every preview changes
// the control layer inside its cell.
TEST(DocumentRender, SelectionPreviewsAndLifting) {
  const Integer cell = 90;
  struct TKind {
    Integer Kind;
    std::vector<TPoint> Points;
  } kinds[] = {{0, {}},
               {1, {}},
               {2, {{10, 10}, {70, 20}, {40, 70}}},
               {3, {{10, 10}, {30, 5}, {70, 20}, {60, 60}, {20, 70}}},
               {4, {{10, 10}, {70, 20}, {40, 70}}},
               {9, {}},
               {10, {}}};
  const Integer count = Integer(std::size(kinds));
  TBitmap32 sheet;
  sheet.SetSize(cell * (count + 2), cell);
  sheet.Clear(0xFFD8D8D8u);
  auto paint = [&](TTestDocument& d) {
    auto b = std::make_unique<TBitmap32>();
    b->SetSize(cell, cell);
    d->Draw();
    b->Draw(0, 0, d->Bitmap());
    d->PaintControlLayer(nullptr, b.get());
    return b;
  };
  auto place = [&](TBitmap32* B, Integer Index) {
    sheet.Draw(Index * cell, 0, B);
  };
  for (Integer i = 0; i < count; ++i) {
    SCOPED_TRACE(kinds[i].Kind);
    TTestDocument d(cell, cell, 0xF0F0F0);
    const auto before = paint(d);
    d->CreateShape(TShapeType::shSelection);
    auto* s = dynamic_cast<TImgSelection*>(d->Shape());
    ASSERT_NE(s, nullptr);
    s->SetStyleId(kinds[i].Kind);
    for (const TPoint& p : kinds[i].Points) s->AddNewPoint(p.X, p.Y);
    s->SetPointMoved(TPoint(75, 75));
    d->DrawShape(12, 15, 70, 60);
    const auto during = paint(d);
    EXPECT_NE(Pixels(during.get()), Pixels(before.get()));
    place(during.get(), i);
    d->CreateShapeOver(true);
  }
  // Node handles of a finished node lasso, and a picture lifted and moved.
  TTestDocument n(cell, cell, 0xF0F0F0);
  for (Integer y = 0; y < cell; ++y)
    for (Integer x = 0; x < cell; ++x) n->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 2) << 16 | TColor32(y * 2) << 8);
  n->CreateShape(TShapeType::shSelection);
  auto* lasso = dynamic_cast<TImgSelection*>(n->Shape());
  ASSERT_NE(lasso, nullptr);
  lasso->SetStyleId(4);
  for (const TPoint& p : kinds[4].Points) lasso->AddNewPoint(p.X, p.Y);
  n->CreateShapeOver(false);
  ASSERT_NE(n->Selection(), nullptr);
  const auto handles = paint(n);
  place(handles.get(), count);
  n->Selection()->SetUseMoveSelection(true);
  n->Selection()->Click();
  n->Selection()->MoveShape(0, 0, 12, 8);
  const auto lifted = paint(n);
  EXPECT_NE(Pixels(lifted.get()), Pixels(handles.get()));
  place(lifted.get(), count + 1);
  SaveReviewPicture(u"selection_previews", &sheet);
}
