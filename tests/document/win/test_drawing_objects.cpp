// The stroke, polygon and highlight rectangle objects in a document: drawn
// and probed, hit, stored and rebuilt from their rows; damaged point texts
// and empty boxes.
#include "common/gtest.h"

#include <cmath>

#include "document/win/ImageEllipse.h"
#include "document/win/ImageFreeShape.h"
#include "document/win/ImageHLRect.h"
#include "document/win/ImageLines.h"
#include "document/win/ImagePolygon.h"
#include "tests/document/win/document_fixture.h"

namespace {

const TColor32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kWhite = 0xFFFFFFFFu;

String StoredRows(TImageDraw* D) {
  D->StoreShapeObjects();
  String s;
  for (Integer i = 0; i < D->DT()->ItemCount(); ++i) s += D->DT()->Items(i)->ToString(true) + u"|";
  return s;
}

// Rows and columns of Area with at least one pixel of colour C.
Integer Thickness(TCustomBitmap32* B, TColor32 C, bool Across, Integer At) {
  Integer n = 0;
  const Integer len = Across ? B->Height() : B->Width();
  for (Integer i = 0; i < len; ++i) n += (Across ? B->GetPixel(At, i) : B->GetPixel(i, At)) == C;
  return n;
}

String StrokeRow(Integer Id, Integer Nib, Integer Width, const String& Points, const TRect& Box) {
  return ObjectRow(Id, TShapeType::shLines, Box, {{24, IntToStr(Nib)}, {18, IntToStr(Width)}, {41, Points}, {42, u"0"}, {43, u""}});
}

}  // namespace

TEST(DrawingObjects, StrokeNibsAndHits) {
  TTestDocument d(200, 200);
  // A round 6-px stroke along y = 50 from x = 20 to 180.
  TImgShape* s = d.Add(StrokeRow(1, 0, 6, u"20.180.50.50", TRect(20, 50, 181, 51)));
  d->Draw();
  EXPECT_EQ(d->Bitmap()->GetPixel(100, 50), kRed);
  EXPECT_EQ(d->Bitmap()->GetPixel(100, 60), kWhite);
  EXPECT_NEAR(Thickness(d->Bitmap(), kRed, true, 100), 6, 1);
  // Hit off its one pixel row, within OutWidth div 2 + 1.
  EXPECT_TRUE(s->PtInShape(100, 54));
  EXPECT_FALSE(s->PtInShape(100, 55));
  SaveReviewPicture(u"stroke_round", d->Bitmap());

  // The slanted nibs: the pen's circle mapped by the nib's matrix, an
  // ellipse 1.46 x 0.34 of the width along one diagonal. A horizontal
  // stroke is w thick, a vertical one 1.12 w wide; the two diagonals differ
  // by four times (nib 3 is nib 2 mirrored).
  for (Integer nib : {2, 3}) {
    TTestDocument h(200, 200), v(200, 200), d1(200, 200), d2(200, 200);
    h.Add(StrokeRow(1, nib, 8, u"20.180.100.100", TRect(20, 100, 181, 101)));
    v.Add(StrokeRow(1, nib, 8, u"100.100.20.180", TRect(100, 20, 101, 181)));
    d1.Add(StrokeRow(1, nib, 8, u"20.180.20.180", TRect(20, 20, 181, 181)));
    d2.Add(StrokeRow(1, nib, 8, u"20.180.180.20", TRect(20, 20, 181, 181)));
    for (TTestDocument* t : {&h, &v, &d1, &d2}) (*t)->Draw();
    EXPECT_NEAR(Thickness(h->Bitmap(), kRed, true, 100), 8, 1) << nib;
    EXPECT_NEAR(Thickness(v->Bitmap(), kRed, false, 100), 8, 1) << nib;  // 8.9 with soft edges
    const Integer down = Thickness(d1->Bitmap(), kRed, true, 100), up = Thickness(d2->Bitmap(), kRed, true, 100);
    EXPECT_LT(nib == 2 ? down : up, 7) << nib;   // 0.35 w across, times 1.41 down a column
    EXPECT_GT(nib == 2 ? up : down, 13) << nib;  // 1.46 w across
    SaveReviewPicture(nib == 2 ? u"stroke_nib2_diagonal" : u"stroke_nib3_diagonal", d2->Bitmap());
  }

  // One point: a dot for nibs 0 and 1, nothing for the slanted nibs.
  struct {
    Integer Nib;
    bool Drawn;
  } dots[] = {{0, true}, {1, true}, {2, false}, {3, false}};
  for (const auto& c : dots) {
    TTestDocument p(60, 60);
    TImgShape* o = p.Add(StrokeRow(1, c.Nib, 9, u"30.30", TRect(26, 26, 35, 35)));
    p->Draw();
    EXPECT_EQ(p->Bitmap()->GetPixel(30, 30) == kRed, c.Drawn) << c.Nib;
    EXPECT_EQ(o->PtInShape(30, 30), c.Drawn) << c.Nib;
  }
}

TEST(DrawingObjects, PolygonsDrawnAndHit) {
  TTestDocument d(240, 140);
  // A filled pentagon generated from its box (no vertex text), an outlined
  // open polyline, a star.
  TImgShape* pentagon = d.Add(ObjectRow(1, TShapeType::shPolygon, TRect(10, 10, 110, 110), {{24, u"2"}, {21, u"-1"}, {42, u""}}));
  TImgShape* open = d.Add(ObjectRow(2, TShapeType::shPolygon, TRect(130, 20, 230, 20),
                                    {{24, u"5"}, {21, u"0"}, {18, u"3"}, {42, u"130.230.20.20"}}));
  d.Add(ObjectRow(3, TShapeType::shPolygon, TRect(130, 40, 230, 140), {{24, u"4"}, {21, u"-1"}, {42, u""}}));
  d->Draw();
  auto* p = static_cast<TImgPolygon*>(pentagon);
  ASSERT_EQ(p->PointsCount(), 5);
  EXPECT_EQ(d->Bitmap()->GetPixel(60, 60), kGreen);
  EXPECT_EQ(d->Bitmap()->GetPixel(11, 11), kWhite) << "the corner outside the pentagon";
  EXPECT_TRUE(pentagon->PtInShape(60, 60));
  EXPECT_FALSE(pentagon->PtInShape(12, 12));
  // The horizontal open polyline: drawn and hit off its row.
  EXPECT_EQ(d->Bitmap()->GetPixel(180, 20), kRed);
  EXPECT_TRUE(open->PtInShape(180, 22));
  EXPECT_FALSE(open->PtInShape(180, 23));
  SaveReviewPicture(u"polygons", d->Bitmap());

  // Every generated style draws inside its paint bounds.
  for (Integer style = 0; style <= 14; ++style) {
    TTestDocument g(140, 140);
    TImgShape* o = g.Add(ObjectRow(1, TShapeType::shPolygon, TRect(20, 20, 120, 120),
                                   {{24, IntToStr(style)}, {18, u"5"}, {42, style == 0 || style == 5 ? u"20.120.70.20.120.60" : u""}}));
    g->Draw();
    const TRect b = o->PaintBounds();
    Integer outside = 0;
    for (Integer y = 0; y < 140; ++y)
      for (Integer x = 0; x < 140; ++x) outside += !PointInRect(b, TPoint(x, y)) && g->Bitmap()->GetPixel(x, y) != kWhite;
    EXPECT_EQ(outside, 0) << style;
    EXPECT_GT(CountPixels(g->Bitmap(), [](TColor32 c) { return c == kRed; }), 50) << style;
  }
}

TEST(DrawingObjects, EllipsesAndArcs) {
  TTestDocument d(260, 120);
  // An unfilled ellipse with a 5-px pen, a filled one, a pie with its
  // default ends.
  TImgShape* ring = d.Add(ObjectRow(1, TShapeType::shEllipse, TRect(10, 10, 110, 110), {{18, u"5"}, {21, u"0"}, {41, u""}}));
  TImgShape* disc = d.Add(ObjectRow(2, TShapeType::shEllipse, TRect(130, 10, 230, 110), {{21, u"-1"}, {41, u""}}));
  d->Draw();
  struct {
    TImgShape* S;
    TPoint P;
    bool Hit;
  } hits[] = {
      {ring, {60, 10}, true},    {ring, {60, 12}, true},   {ring, {60, 15}, false}, {ring, {60, 60}, false},
      {ring, {14, 14}, false},   {disc, {180, 60}, true},  {disc, {180, 12}, true}, {disc, {133, 13}, false},
  };
  for (const auto& c : hits) EXPECT_EQ(c.S->PtInShape(c.P.X, c.P.Y), c.Hit) << c.P.X << "," << c.P.Y;
  EXPECT_EQ(d->Bitmap()->GetPixel(180, 60), kGreen);
  EXPECT_EQ(d->Bitmap()->GetPixel(60, 60), kWhite);
  SaveReviewPicture(u"ellipses", d->Bitmap());

  // Arc styles: the new pie's ends, the slice filled from the lower right
  // clockwise to the upper left (the lower left quarter is inside it, the
  // upper right one is not).
  for (Integer style = 1; style <= 3; ++style) {
    TTestDocument a(120, 120);
    TImgShape* o = a.Add(ObjectRow(1, TShapeType::shEllipse, TRect(10, 10, 110, 110), {{24, IntToStr(style)}, {21, u"-1"}, {41, u""}}));
    a->Draw();
    auto* e = static_cast<TimgEllipse*>(o);
    ASSERT_EQ(e->Ends().Points.size(), 2u);
    EXPECT_EQ(e->Ends().Points[0].X, 95);
    EXPECT_EQ(e->Ends().Points[1].X, 45);
    EXPECT_EQ(a->Bitmap()->GetPixel(35, 85), kGreen) << style;
    EXPECT_EQ(a->Bitmap()->GetPixel(85, 35), kWhite) << style;
    String text;
    e->GetPoints(text);
    EXPECT_EQ(text, u"95.45.95.12");
    SaveReviewPicture(u"ellipse_style" + IntToStr(style), a->Bitmap());
  }
}

TEST(DrawingObjects, BezierShapes) {
  TTestDocument d(240, 140);
  // An open path, a closed filled triangle, a straight horizontal path.
  TImgShape* open = d.Add(ObjectRow(1, TShapeType::shFreeShape, TRect(10, 10, 100, 100),
                                    {{21, u"0"}, {18, u"3"}, {42, NodeText({{10, 10}, {100, 10}, {100, 100}}, false)}}));
  TImgShape* tri = d.Add(ObjectRow(2, TShapeType::shFreeShape, TRect(120, 10, 220, 110),
                                   {{42, NodeText({{120, 110}, {170, 10}, {220, 110}, {120, 110}}, true)}}));
  TImgShape* flat = d.Add(ObjectRow(3, TShapeType::shFreeShape, TRect(10, 120, 200, 120),
                                    {{21, u"0"}, {18, u"3"}, {42, NodeText({{10, 120}, {200, 120}}, false)}}));
  for (TImgShape* s : {open, tri, flat}) s->CalcRect();
  d->Draw();
  EXPECT_EQ(d->Bitmap()->GetPixel(50, 10), kRed);
  EXPECT_EQ(d->Bitmap()->GetPixel(50, 50), kWhite) << "an open unfilled path is not filled";
  EXPECT_EQ(d->Bitmap()->GetPixel(170, 80), kGreen);
  struct {
    TImgShape* S;
    TPoint P;
    bool Hit;
  } hits[] = {
      {open, {50, 12}, true},  {open, {50, 13}, false}, {open, {50, 50}, false}, {tri, {170, 80}, true},
      {tri, {125, 20}, false}, {flat, {100, 121}, true}, {flat, {200, 120}, true}, {flat, {100, 123}, false},
  };
  for (const auto& c : hits) EXPECT_EQ(c.S->PtInShape(c.P.X, c.P.Y), c.Hit) << c.P.X << "," << c.P.Y;
  SaveReviewPicture(u"bezier_shapes", d->Bitmap());

  // A node table without rows drops its object; stored rows read back the
  // same, with the control mode and the selected node.
  TTestDocument e(100, 100);
  e->DT()->AddItem(ObjectRow(1, TShapeType::shFreeShape, TRect(0, 0, 10, 10), {{42, u"#2<-1#"}}));
  e->DT()->AddItem(ObjectRow(2, TShapeType::shFreeShape, TRect(0, 0, 10, 10), {{42, u"#1<3#10<20<30"}}));
  e->CreateShapeObjects(-1);
  ASSERT_EQ(e->DT()->ItemCount(), 1);
  auto* kept = static_cast<TImgFreeShape*>(e->DT()->Items(0)->Data());
  EXPECT_EQ(kept->ControlMode(), 1);
  EXPECT_EQ(kept->SelectPointIndex(), 3);
  EXPECT_EQ(kept->Path().Rows[0].P[1], TPoint(30, 0)) << "missing cells read 0";
}

TEST(DrawingObjects, BezierNodeCommands) {
  TTestDocument d(200, 200);
  d.Add(ObjectRow(1, TShapeType::shFreeShape, TRect(10, 10, 110, 110),
                  {{42, NodeText({{10, 10}, {110, 10}, {110, 110}, {10, 110}}, false)}}));
  d->SelectShape(TSelectMode::selAll, 1);
  auto* f = static_cast<TImgFreeShape*>(d->Shape());
  ASSERT_NE(f, nullptr);
  f->CalcRect();
  EXPECT_FALSE(d->FreeShapeSetControlMode(2)) << "the mode it has";
  EXPECT_FALSE(d->Modified());
  f->SetSelectPointIndex(2);
  EXPECT_TRUE(d->FreeShapeSetCommonTangent(false));
  EXPECT_FALSE(d->FreeShapeSetCommonTangent(false));
  d->FreeShapeCloseShape();
  EXPECT_TRUE(f->Closed());
  EXPECT_TRUE(d->Modified());
  // Frame mode turned by 90 degrees, then back to nodes: the turn is in the
  // nodes and the angle is 0.
  EXPECT_TRUE(d->FreeShapeSetControlMode(1));
  f->SetAngle(90);
  EXPECT_TRUE(d->FreeShapeSetControlMode(2));
  EXPECT_EQ(f->Angle(), 0.0f);
  EXPECT_EQ(f->Path().Rows[0].P[0], TPoint(10, 110));
  // Deleting every node deletes the object.
  for (Integer i = 0; i < f->BezierCount(); ++i) f->SetSelectPointIndex(-1);
  d->SetPressCtl(true);
  const Integer n = f->BezierCount();
  for (Integer i = 0; i < n; ++i) f->SetSelectPointIndex(2 * i);
  d->SetPressCtl(false);
  EXPECT_EQ(f->SelectPointCount(), n);
  d->FreeShapeDeleteNode();
  EXPECT_EQ(d->DT()->ItemCount(), 0);
}

TEST(DrawingObjects, HighlightRectangle) {
  // A colour chart under a yellow highlight: blue darkens, red and green
  // stay nearly; over a transparent canvas the transparency stays.
  TTestDocument d(120, 60, 0, true);
  for (Integer x = 0; x < 120; ++x)
    for (Integer y = 0; y < 30; ++y) d->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 2) << 16 | TColor32(255 - x) << 8 | 200);
  TImgShape* h = d.Add(ObjectRow(1, TShapeType::shHLRect, TRect(10, 10, 110, 50), {{15, u"65535"}, {16, u"255"}}));
  d->Draw();
  const TColor32 under = d->Bitmap()->GetPixel(50, 20);
  EXPECT_EQ(under >> 24, 0xFFu);
  EXPECT_LT(under & 0xFF, 10u) << "blue darkened";
  EXPECT_GE((under >> 16) & 0xFF, 98u);
  EXPECT_EQ(d->Bitmap()->GetPixel(50, 40) >> 24, 0u) << "transparent stays transparent";
  EXPECT_EQ(d->Bitmap()->GetPixel(5, 20), d->SrcBmp()->GetPixel(5, 20));
  EXPECT_TRUE(h->PtInShape(50, 45));
  SaveReviewPicture(u"highlight_rectangle", d->Bitmap());
}

TEST(DrawingObjects, RowsRoundTrip) {
  TTestDocument a(240, 160, 0xEEEEEE);
  a.Add(StrokeRow(1, 1, 4, u"10.40.80.20.60.30", TRect(10, 20, 81, 61)));
  a.Add(ObjectRow(2, TShapeType::shPolygon, TRect(100, 10, 200, 110), {{24, u"7"}, {21, u"-1"}, {42, u""}}));
  a.Add(ObjectRow(3, TShapeType::shPolygon, TRect(20, 80, 90, 150), {{24, u"0"}, {42, u"20.90.50.80.90.150"}}));
  a.Add(ObjectRow(4, TShapeType::shHLRect, TRect(120, 100, 230, 150), {{15, u"65535"}, {16, u"200"}}));
  a.Add(ObjectRow(5, TShapeType::shEllipse, TRect(150, 20, 230, 80), {{24, u"2"}, {19, u"20"}, {41, u"200.160.70.30"}}));
  a.Add(ObjectRow(6, TShapeType::shFreeShape, TRect(30, 100, 110, 150),
                  {{21, u"0"}, {42, NodeText({{30, 100}, {110, 120}, {60, 150}, {30, 100}}, true, 1)}}));
  a->Draw();
  const String first = StoredRows(a.Get());
  TTestDocument b(240, 160, 0xEEEEEE);
  for (Integer i = 0; i < a->DT()->ItemCount(); ++i) b->DT()->AddItem(a->DT()->Items(i)->ToString(true));
  b->CreateShapeObjects(-1);
  b->Draw();
  EXPECT_EQ(StoredRows(b.Get()), first);
  EXPECT_EQ(Pixels(b->Bitmap()), Pixels(a->Bitmap()));
  EXPECT_EQ(first.find(u"nan"), String::npos);
  SaveReviewPicture(u"objects_roundtrip", b->Bitmap());
}

TEST(DrawingObjects, DamagedPointsAndEmptyBoxes) {
  TTestDocument d(100, 100);
  const String rows[] = {
      StrokeRow(1, 0, 3, u"1.2.3", TRect(0, 0, 10, 10)),
      StrokeRow(2, 0, 3, u"x.y", TRect(0, 0, 10, 10)),
      ObjectRow(3, TShapeType::shLines, TRect(5, 5, 5, 5), {{41, u"5.5.5.5"}, {43, u"1e-05/0/nan/1"}}),
      ObjectRow(4, TShapeType::shPolygon, TRect(10, 10, 10, 60), {{24, u"4"}, {42, u"1.2.3"}}),
      ObjectRow(5, TShapeType::shPolygon, TRect(10, 10, 60, 60), {{24, u"0"}, {42, u"q"}}),
      ObjectRow(6, TShapeType::shPolygon, TRect(0, 0, 0, 0), {{24, u"1"}, {42, u""}}),
      ObjectRow(7, TShapeType::shHLRect, TRect(30, 30, 30, 80)),
      ObjectRow(8, TShapeType::shEllipse, TRect(30, 30, 30, 80), {{24, u"3"}, {41, u"1.2.3"}}),
      ObjectRow(9, TShapeType::shEllipse, TRect(30, 30, 90, 30), {{24, u"1"}, {41, u"a.b"}}),
  };
  for (const String& r : rows) d->DT()->AddItem(r);
  EXPECT_NO_THROW(d->CreateShapeObjects(-1));
  EXPECT_NO_THROW(d->Draw());
  for (Integer i = 0; i < d->DT()->ItemCount(); ++i) {
    auto* s = static_cast<TImgShape*>(d->DT()->Items(i)->Data());
    if (s == nullptr) continue;
    EXPECT_NO_THROW(s->PtInShape(10, 10));
    s->SetSRect(TRect(20, 20, 20, 40));
    EXPECT_NO_THROW(s->CalcPointsRatio());
    EXPECT_NO_THROW(s->CalcPoints(false));
    s->SetChanged2(true);
  }
  EXPECT_NO_THROW(d->Draw());
  const String stored = StoredRows(d.Get());
  EXPECT_EQ(stored.find(u"nan"), String::npos);
  EXPECT_EQ(stored.find(u"inf"), String::npos);
}

// A Bezier shape drawn through the document as the canvas drives it: presses
// add nodes, a drag after a press pulls the tangents, a press on the first
// node closes the path; an open shape waits at its end while the pointer is
// there and takes in the next path drawn; a path of one segment is dropped.
// In node-adding mode the cursor tells whether the pointer is on the path,
// and a node goes in where it is.
TEST(DrawingObjects, BezierCreatedByTheDocument) {
  TTestDocument d(240, 160);
  auto draw = [&](std::initializer_list<TPoint> Presses, bool Close) -> TImgFreeShape* {
    d->CreateShape(TShapeType::shFreeShape);
    auto* f = dynamic_cast<TImgFreeShape*>(d->Shape());
    if (f == nullptr) return nullptr;
    for (const TPoint& p : Presses) {
      f->AddNewPoint(p.X, p.Y);
      f->SetControlPoint(p.X + 4, p.Y);  // a short drag after each press
    }
    if (Close && f->BezierCount() >= 2 && f->PtInFirstPoint(*Presses.begin())) {
      f->SetFinalPointAdding(true);
      f->AddNewPoint(Presses.begin()->X + 1, Presses.begin()->Y + 1);
    }
    d->CreateShapeOver(f->BezierCount() < 2);
    return dynamic_cast<TImgFreeShape*>(d->Shape());
  };
  TImgFreeShape* closed = draw({{20, 20}, {100, 20}, {100, 100}}, true);
  ASSERT_NE(closed, nullptr);
  EXPECT_FALSE(d->ShapeCreating());
  EXPECT_TRUE(closed->Closed());
  EXPECT_EQ(closed->BezierCount(), 3);
  EXPECT_TRUE(closed->Selected());
  EXPECT_EQ(closed->SRect().Left, 20);

  // Open: three presses, two segments.
  TImgFreeShape* open = draw({{130, 20}, {200, 20}, {200, 80}}, false);
  ASSERT_NE(open, nullptr);
  ASSERT_FALSE(open->Closed());
  ASSERT_EQ(open->BezierCount(), 2);
  const Integer openId = open->Id(), shapes = d->ShapeCount();
  bool appending = false;
  d->SetMovedX(200);
  d->SetMovedY(81);
  EXPECT_TRUE(d->FreeShapeCheckAppendState(appending));
  EXPECT_TRUE(appending);
  EXPECT_TRUE(open->AppendFromEndPoint());
  EXPECT_FALSE(d->FreeShapeCheckAppendState(appending)) << "nothing changed";
  d->SetMovedX(150);
  EXPECT_TRUE(d->FreeShapeCheckAppendState(appending));
  EXPECT_FALSE(appending);
  EXPECT_FALSE(open->AppendFromEndPoint());
  d->SetMovedX(200);
  d->FreeShapeCheckAppendState(appending);
  // The next path drawn from the open end continues that shape.
  draw({{200, 80}, {150, 130}, {120, 130}}, false);
  EXPECT_EQ(d->ShapeCount(), shapes);
  ASSERT_EQ(d->Shape(), open);
  EXPECT_EQ(open->Id(), openId);
  EXPECT_EQ(open->BezierCount(), 4);
  EXPECT_FALSE(open->AppendFromEndPoint());
  EXPECT_GE(open->SRect().Bottom, 130);

  // One segment only: dropped, and no shape is left waiting.
  d->SetMovedX(120);
  d->SetMovedY(130);
  d->FreeShapeCheckAppendState(appending);
  ASSERT_TRUE(open->AppendFromEndPoint());
  draw({{10, 140}, {60, 140}}, false);
  EXPECT_EQ(d->ShapeCount(), shapes);
  EXPECT_FALSE(open->AppendFromEndPoint());

  // Node-adding mode on the closed triangle's top edge.
  d->ClickShape(TSelectMode::selOne, closed->Id());
  ASSERT_EQ(d->Shape(), closed);
  closed->SetPointAdding(true);
  d->Draw();
  EXPECT_EQ(d->GetShapeCursor(60, 80, 60, 80), ShapeCursor::NodeAdd) << "inside, off the path";
  EXPECT_EQ(d->GetShapeCursor(60, 20, 60, 20), ShapeCursor::NodeOnPath);
  closed->AddNodePoint();
  closed->SetPointAdding(false);
  EXPECT_EQ(closed->BezierCount(), 4);
  EXPECT_TRUE(BezierPtInFirstPoint(closed->Path(), TPoint(20, 20)));
  bool found = false;
  for (const TBezierRow& r : closed->Path().Rows) found = found || r.P[0] == closed->PointAdded();
  EXPECT_TRUE(found) << "a node where the pointer was";
  EXPECT_LE(std::abs(closed->PointAdded().X - 60) + std::abs(closed->PointAdded().Y - 20), 4);
  SaveReviewPicture(u"bezier_created", d->Bitmap());
}
