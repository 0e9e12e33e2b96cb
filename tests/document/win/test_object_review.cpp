// Review pictures of every drawing object kind, with their handles: one
// file per case and a contact sheet per class under
// build/screens/test_document/. Nothing is compared here; each case only
// checks that its object drew something.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include "document/win/ImageFreeShape.h"
#include "document/win/ImageText.h"
#include "tests/document/win/document_fixture.h"

namespace {

constexpr Integer kCell = 160;

// The composed view with the control layer over it.
std::unique_ptr<TBitmap32> Shot(TTestDocument& D) {
  D->Draw();
  auto b = std::make_unique<TBitmap32>();
  b->SetSize(D->Bitmap()->Width(), D->Bitmap()->Height());
  b->Clear(0xFFFFFFFFu);
  b->Draw(0, 0, D->Bitmap());
  D->PaintControlLayer(nullptr, b.get());
  return b;
}

struct TSheet {
  String Name;
  std::vector<std::unique_ptr<TBitmap32>> Cells;
  void Add(const String& CaseName, TTestDocument& D) {
    auto b = Shot(D);
    EXPECT_GT(CountPixels(D->Bitmap(), [](TColor32 c) { return c != 0xFFFFFFFFu; }), 0) << CaseName.size();
    SaveReviewPicture(Name + u"_" + CaseName, b.get());
    Cells.push_back(std::move(b));
  }
  ~TSheet() {
    const Integer cols = 6, rows = (Integer(Cells.size()) + cols - 1) / cols;
    TBitmap32 sheet;
    sheet.SetSize(cols * kCell, std::max<Integer>(rows, 1) * kCell);
    sheet.Clear(0xFFD0D0D0u);
    for (size_t i = 0; i < Cells.size(); ++i)
      sheet.Draw(Integer(i % cols) * kCell, Integer(i / cols) * kCell, Cells[i].get());
    SaveReviewPicture(Name + u"_sheet", &sheet);
  }
};

TImgShape* Selected(TTestDocument& D, const String& Row) {
  TImgShape* s = D.Add(Row);
  s->Select();
  s->CalcControlPoints();
  return s;
}

}  // namespace

TEST(ObjectReview, Callouts) {
  TSheet sheet{u"review_callout"};
  for (Integer style = 0; style <= 11; ++style) {
    TTestDocument d(kCell - 2, kCell - 2);
    Selected(d, ObjectRow(1, TShapeType::shCallout, TRect(30, 25, 120, 95),
                          {{24, IntToStr(style)}, {40, u"DejaVu Sans"}, {41, u"16"}, {46, u"1"}, {47, u"1"},
                           {54, u"Ab"}, {53, u""}, {59, u"-1"}}));
    sheet.Add(u"style" + IntToStr(style), d);
  }
}

TEST(ObjectReview, TextFramesAndAlignments) {
  TSheet sheet{u"review_text"};
  for (Integer style = 0; style <= 5; ++style)
    for (Integer align = 0; align <= 2; ++align) {
      TTestDocument d(kCell - 2, kCell - 2);
      d.Add(ObjectRow(1, TShapeType::shText, TRect(10, 20, 148, 130),
                      {{24, IntToStr(style)}, {40, u"DejaVu Sans"}, {41, u"18"}, {46, IntToStr(align)},
                       {47, IntToStr(align)}, {54, u"Lumigra\r\ntext"}, {59, u"-1"}}));
      sheet.Add(u"frame" + IntToStr(style) + u"_align" + IntToStr(align), d);
    }
}

TEST(ObjectReview, EllipsesPolygonsStrokes) {
  {
    TSheet sheet{u"review_ellipse"};
    for (Integer style = 0; style <= 3; ++style) {
      TTestDocument d(kCell - 2, kCell - 2);
      Selected(d, ObjectRow(1, TShapeType::shEllipse, TRect(25, 30, 135, 120), {{24, IntToStr(style)}, {41, u""}}));
      sheet.Add(u"style" + IntToStr(style), d);
    }
  }
  {
    TSheet sheet{u"review_polygon"};
    for (Integer style = 0; style <= 14; ++style) {
      TTestDocument d(kCell - 2, kCell - 2);
      Selected(d, ObjectRow(1, TShapeType::shPolygon, TRect(25, 25, 135, 135),
                            {{24, IntToStr(style)}, {42, style == 0 || style == 5 ? u"25.135.70.30.30.135" : u""}}));
      sheet.Add(u"style" + IntToStr(style), d);
    }
  }
  {
    TSheet sheet{u"review_stroke"};
    for (Integer nib = 0; nib <= 3; ++nib)
      for (bool smooth : {false, true}) {
        TTestDocument d(kCell - 2, kCell - 2);
        d.Add(ObjectRow(1, TShapeType::shLines, TRect(20, 30, 141, 131),
                        {{24, IntToStr(nib)}, {18, u"8"}, {41, u"20.60.100.140.30.120.40.130"},
                         {42, smooth ? u"-1" : u"0"}, {43, u""}}));
        sheet.Add(u"nib" + IntToStr(nib) + (smooth ? u"_smooth" : u"_straight"), d);
      }
  }
}

TEST(ObjectReview, BezierModes) {
  TSheet sheet{u"review_bezier"};
  TBezierPath p;
  const TPoint n[] = {{30, 120}, {60, 30}, {130, 50}, {110, 130}, {30, 120}};
  for (size_t i = 0; i + 1 < 5; ++i) {
    TBezierRow r;
    r.P = {n[i], TPoint(n[i].X + 25, n[i].Y - 10), TPoint(n[i + 1].X - 20, n[i + 1].Y + 15), n[i + 1]};
    p.Rows.push_back(r);
  }
  p.Closed = true;
  p.SelectPointIndex = -1;
  const String closed = BezierPathText(p);
  p.Rows.pop_back();
  p.Closed = false;
  const String open = BezierPathText(p);
  struct {
    const char16_t* Name;
    String Nodes;
    bool Filled;
    Integer Mode;
  } cases[] = {{u"open_nodes", open, false, 2},   {u"closed_nodes", closed, false, 2},
               {u"filled_nodes", closed, true, 2}, {u"filled_frame", closed, true, 1},
               {u"filled_skew", closed, true, 4}};
  for (const auto& c : cases) {
    TTestDocument d(kCell - 2, kCell - 2);
    auto* f = static_cast<TImgFreeShape*>(
        d.Add(ObjectRow(1, TShapeType::shFreeShape, TRect(0, 0, 10, 10), {{21, c.Filled ? u"-1" : u"0"}, {42, c.Nodes}})));
    f->CalcRect();
    f->CalcCenterPoint();
    f->SetControlMode(c.Mode);
    f->Select();
    if (c.Mode == 2) f->SetSelectPointIndex(2);
    f->CalcControlPoints();
    sheet.Add(c.Name, d);
  }
}
