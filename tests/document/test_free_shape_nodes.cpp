// The Bezier shape's node table: creation, sampling, hit tests, node and
// tangent drags, skew, the node commands, the stored text and damaged
// texts.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/FreeShapeNodes.h"

namespace {

// A path of straight segments through the nodes, control points at a third
// and two thirds.
TBezierPath Straight(std::initializer_list<TPoint> Nodes, bool Closed = false) {
  TBezierPath p;
  const std::vector<TPoint> n(Nodes);
  for (size_t i = 0; i + 1 < n.size(); ++i) {
    TBezierRow r;
    const TPoint a = n[i], b = n[i + 1];
    r.P = {a, TPoint(a.X + (b.X - a.X) / 3, a.Y + (b.Y - a.Y) / 3),
           TPoint(a.X + 2 * (b.X - a.X) / 3, a.Y + 2 * (b.Y - a.Y) / 3), b};
    p.Rows.push_back(r);
  }
  p.Closed = Closed;
  p.Rows[0].Smooth = Closed;
  p.SelectPointIndex = -1;
  return p;
}

TBezierSamples Sampled(const TBezierPath& P) {
  TBezierSamples s;
  BezierSample(P, s);
  return s;
}

}  // namespace

TEST(FreeShapeNodes, Creation) {
  // Presses at (0, 0), (0, 0) again, (100, 0), (100, 100), then within 3
  // pixels of the first node: three rows, closed, first node smooth.
  TBezierPath p;
  TBezierCreation c;
  BezierAddNewPoint(p, c, 0, 0);
  EXPECT_FALSE(p.Rows[0].Smooth);
  BezierAddNewPoint(p, c, 0, 0);
  EXPECT_EQ(p.Rows.size(), 1u) << "a press on the previous node adds nothing";
  BezierAddNewPoint(p, c, 100, 0);
  BezierSetControlPoint(p, c, 130, 10);  // dragging pulls both tangents
  EXPECT_EQ(p.Rows[1].P[1], TPoint(130, 10));
  EXPECT_EQ(p.Rows[0].P[2], TPoint(70, -10));
  BezierAddNewPoint(p, c, 100, 100);
  ASSERT_TRUE(BezierPtInFirstPoint(p, TPoint(2, -2)));
  EXPECT_FALSE(BezierPtInFirstPoint(p, TPoint(3, 0)));
  c.FinalPointAdding = true;
  BezierAddNewPoint(p, c, 2, -2);
  EXPECT_EQ(p.Rows[2].P[3], TPoint(0, 0));
  EXPECT_EQ(p.SelectPointIndex, 6);  // -2 at the start, two per node
  BezierCreateOver(p, c);
  EXPECT_EQ(p.Rows.size(), 3u);
  EXPECT_TRUE(p.Closed);
  EXPECT_TRUE(p.Rows[0].Smooth);
  EXPECT_EQ(p.SelectPointIndex, -1);

  // Ending with the right button: n presses give n - 1 rows.
  TBezierPath q;
  TBezierCreation d;
  for (Integer i = 0; i < 4; ++i) BezierAddNewPoint(q, d, i * 10, i * i);
  BezierCreateOver(q, d);
  EXPECT_EQ(q.Rows.size(), 3u);
  EXPECT_FALSE(q.Closed);
  EXPECT_TRUE(BezierPtInLastPoint(q, TPoint(30, 9)));
}

TEST(FreeShapeNodes, SamplingAndBounds) {
  const TBezierSamples shortOne = Sampled(Straight({{0, 0}, {60, 0}}));
  EXPECT_EQ(shortOne.Rows[0].size(), 101u);
  const TBezierSamples longOne = Sampled(Straight({{0, 0}, {500, 0}}));
  EXPECT_EQ(longOne.Rows[0].size(), 501u);
  EXPECT_EQ(longOne.Rows[0][250], TPoint(250, 0));
  EXPECT_FLOAT_EQ(longOne.Ts[0][250], 0.5f);
  const TBezierSamples two = Sampled(Straight({{0, 0}, {60, 0}, {60, 200}}));
  EXPECT_EQ(two.All.size(), 101u + 201u);
  EXPECT_EQ(BezierRect(two), TRect(0, 0, 60, 200));

  // A node drag resamples only the rows it changed, to the same samples as
  // a fresh sampling; a move shifts the samples and their bounds along.
  TBezierPath p = Straight({{0, 0}, {60, 0}, {60, 200}, {0, 300}});
  TBezierSamples s;
  BezierSample(p, s);
  p.Rows[2].P[3] = TPoint(10, 320);
  BezierSample(p, s);
  TBezierSamples fresh;
  BezierSample(p, fresh);
  EXPECT_EQ(s.All, fresh.All);
  BezierOffset(p, s, 7, -3);
  BezierSample(p, fresh);
  EXPECT_EQ(s.All, fresh.All);
  EXPECT_EQ(s.Bounds, fresh.Bounds);
  TBezierHitInput in;
  in.Rect = BezierRect(s);
  in.OutWidth = 1;
  EXPECT_TRUE(BezierHitTest(s, in, TPoint(37, -3)));
}

TEST(FreeShapeNodes, HitBands) {
  const TBezierPath flat = Straight({{0, 50}, {200, 50}});
  const TBezierSamples fs = Sampled(flat);
  const TBezierPath box = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, true);
  const TBezierSamples bs = Sampled(box);
  struct {
    const char* Name;
    const TBezierSamples* S;
    bool Filled, Frame;
    Integer Width;
    TPoint P;
    bool Hit;
  } table[] = {
      {"straight horizontal curve, on it", &fs, false, false, 1, {100, 50}, true},
      {"straight horizontal curve, 1 px above", &fs, false, false, 1, {100, 49}, true},
      {"straight horizontal curve, 2 px above", &fs, false, false, 1, {100, 48}, false},
      {"straight horizontal curve, 5-px pen, 3 px below", &fs, false, false, 5, {100, 53}, true},
      {"straight horizontal curve, its last column", &fs, false, false, 1, {200, 50}, true},
      {"unfilled square, inside away from the curve", &bs, false, false, 1, {50, 50}, false},
      {"filled square, inside", &bs, true, false, 1, {50, 50}, true},
      {"filled square, last column", &bs, true, false, 1, {99, 50}, true},
      {"filled square, outside", &bs, true, false, 1, {101, 50}, false},
      {"frame mode, anywhere in the rectangle", &fs, false, true, 1, {150, 50}, true},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.Name);
    TBezierHitInput in;
    in.Rect = BezierRect(*c.S);
    in.Centre = TFloatPoint{Single((in.Rect.Left + in.Rect.Right) / 2.0), Single((in.Rect.Top + in.Rect.Bottom) / 2.0)};
    in.Filled = c.Filled;
    in.FrameSelected = c.Frame;
    in.OutWidth = c.Width;
    EXPECT_EQ(BezierHitTest(*c.S, in, c.P), c.Hit);
  }
  // A curve point for an insertion: the nearest sample of the first row
  // that has one nearer than 4.
  TPoint added;
  Integer row = -1;
  Single t = -1;
  ASSERT_TRUE(BezierPtInPath(bs, BezierRect(bs), TPoint(50, 2), added, row, t));
  EXPECT_EQ(added, TPoint(50, 0));
  EXPECT_EQ(row, 0);
  EXPECT_FLOAT_EQ(t, 0.5f);
  EXPECT_FALSE(BezierPtInPath(bs, BezierRect(bs), TPoint(50, 10), added, row, t));
}

TEST(FreeShapeNodes, SelectionAndDrags) {
  TBezierPath p = Straight({{0, 0}, {100, 0}, {200, 0}, {300, 0}});
  EXPECT_TRUE(BezierSelectPoint(p, 2, false));
  EXPECT_FALSE(BezierSelectPoint(p, 2, false));
  EXPECT_TRUE(BezierSelectPoint(p, 4, true));  // Ctrl adds
  EXPECT_EQ(BezierSelectedCount(p), 2);
  // Dragging moves both nodes with their tangents, from the backup.
  const TBezierPath backup = p;
  BezierDragNodes(p, backup, 5, 7);
  EXPECT_EQ(p.Rows[1].P[0], TPoint(105, 7));
  EXPECT_EQ(p.Rows[1].P[1], TPoint(138, 7));
  EXPECT_EQ(p.Rows[0].P[2], TPoint(71, 7));
  EXPECT_EQ(p.Rows[0].P[3], TPoint(105, 7));
  EXPECT_EQ(p.Rows[2].P[0], TPoint(205, 7));
  EXPECT_EQ(p.Rows[0].P[0], TPoint(0, 0));
  BezierSelectPoint(p, 5, false);  // the last node of the open path alone
  EXPECT_TRUE(p.Rows[2].SelEnd);
  EXPECT_EQ(BezierSelectedCount(p), 1);

  // Tangents: a smooth node's outgoing tangent dragged right puts the
  // incoming one on the left at its old length; a corner node moves only
  // the dragged one unless Ctrl is held.
  TBezierPath s = Straight({{0, 0}, {100, 0}, {200, 100}});
  s.Rows[1].P[1] = TPoint(100, 30);
  s.Rows[0].P[2] = TPoint(100, -20);
  BezierDragTangent(s, 2, 2, TPoint(140, 0), false);
  EXPECT_EQ(s.Rows[1].P[1], TPoint(140, 0));
  EXPECT_EQ(s.Rows[0].P[2], TPoint(80, 0));
  s.Rows[1].Smooth = false;
  BezierDragTangent(s, 2, 1, TPoint(100, -50), false);
  EXPECT_EQ(s.Rows[1].P[1], TPoint(140, 0));
  BezierDragTangent(s, 2, 1, TPoint(100, -50), true);
  EXPECT_EQ(s.Rows[1].P[1], TPoint(100, 40));
  // Tangents 0 and 3 make the neighbouring node a corner.
  BezierDragTangent(s, 2, 0, TPoint(10, 10), false);
  EXPECT_FALSE(s.Rows[0].Smooth);
  TBezierPath c = Straight({{0, 0}, {100, 0}, {100, 100}}, true);
  c.Rows[0].Smooth = true;
  BezierDragTangent(c, 2, 3, TPoint(120, 60), false);
  EXPECT_FALSE(c.Rows[0].Smooth) << "the last row's next is the first";
  TPoint t;
  EXPECT_FALSE(BezierTangentOf(Straight({{0, 0}, {10, 0}}), 0, 0, t)) << "first node of an open path";
  EXPECT_TRUE(BezierTangentOf(c, 0, 1, t));
  EXPECT_EQ(t, c.Rows[1].P[2]);
}

TEST(FreeShapeNodes, SkewAndFrame) {
  // Handle 5 by 20: the top edge 20 right, the bottom 20 left, the middle
  // line stays.
  const TBezierPath square = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, true);
  TBezierPath p = square;
  BezierSkew(p, square, 5, TRect(0, 0, 100, 100), 20, 0);
  EXPECT_EQ(p.Rows[0].P[0], TPoint(20, 0));
  EXPECT_EQ(p.Rows[1].P[3], TPoint(80, 100));
  TBezierPath mid = Straight({{0, 50}, {100, 50}});
  const TBezierPath midB = mid;
  BezierSkew(mid, midB, 5, TRect(0, 0, 100, 100), 20, 0);
  EXPECT_EQ(mid.Rows[0].P[3], TPoint(100, 50));
  BezierSkew(p, square, 8, TRect(0, 0, 100, 100), 0, 10);
  EXPECT_EQ(p.Rows[1].P[0], TPoint(100, 10));
  EXPECT_EQ(p.Rows[0].P[0], TPoint(0, -10));

  // A flat path: no skew along its empty height, no NaN in its fractions;
  // resized in frame mode its nodes follow the rectangle.
  TBezierPath flat = Straight({{10, 40}, {90, 40}});
  const TBezierPath flatB = flat;
  BezierSkew(flat, flatB, 6, TRect(10, 40, 90, 40), 30, 0);
  EXPECT_EQ(flat.Rows[0].P[0], TPoint(10, 40));
  TBezierPath vertical = Straight({{50, 0}, {50, 90}});
  const TRect vr = BezierRect(Sampled(vertical));
  EXPECT_EQ(vr.Right - vr.Left, 0);
  BezierCalcRatios(vertical, vr);
  for (const TBezierRow& r : vertical.Rows)
    for (const TFloatPoint& f : r.R) EXPECT_FALSE(std::isnan(f.X) || std::isnan(f.Y));
  BezierCalcPoints(vertical, TRect(20, 0, 80, 180));
  EXPECT_EQ(vertical.Rows[0].P[0], TPoint(20, 0));
  EXPECT_EQ(vertical.Rows[0].P[3], TPoint(20, 180));
  const TBezierPath back = [] {
    TBezierPath text;
    BezierSetPathText(BezierPathText(Straight({{50, 0}, {50, 90}})), text);
    return text;
  }();
  EXPECT_EQ(back.Rows[0].P[3], TPoint(50, 90));

  // Turning bakes the angle into the nodes.
  TBezierPath r = Straight({{0, 0}, {100, 0}});
  BezierRotate(r, TFloatPoint{50, 0}, 90);
  EXPECT_EQ(r.Rows[0].P[0], TPoint(50, 50));
  EXPECT_EQ(r.Rows[0].P[3], TPoint(50, -50));
}

TEST(FreeShapeNodes, NodeCommands) {
  // Insertion at t = 0.5 of a straight segment: two straight segments
  // meeting at the sampled point, the shape kept.
  TBezierPath p;
  TBezierRow row;
  row.P = {TPoint(0, 0), TPoint(100, 0), TPoint(200, 0), TPoint(300, 0)};
  p.Rows.push_back(row);
  p.SelectPointIndex = -1;
  BezierAddNode(p, 0, 0.5f, TPoint(150, 0));
  ASSERT_EQ(p.Rows.size(), 2u);
  EXPECT_EQ(p.Rows[0].P, (std::array<TPoint, 4>{TPoint(0, 0), TPoint(50, 0), TPoint(100, 0), TPoint(150, 0)}));
  EXPECT_EQ(p.Rows[1].P, (std::array<TPoint, 4>{TPoint(150, 0), TPoint(200, 0), TPoint(250, 0), TPoint(300, 0)}));
  EXPECT_TRUE(p.Rows[1].Smooth);
  EXPECT_EQ(p.SelectPointIndex, 2);

  struct {
    const char* Name;
    bool Closed;
    Integer Select;
    size_t Rows;
    TPoint Start;
    bool ClosedAfter;
  } deletes[] = {
      {"inner node of an open path", false, 2, 2, {0, 0}, false},
      {"first node of an open path", false, 0, 2, {100, 0}, false},
      {"first node of a closed path", true, 0, 2, {100, 0}, false},
  };
  for (const auto& c : deletes) {
    SCOPED_TRACE(c.Name);
    TBezierPath d = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    if (c.Closed) d = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 0}}, true);
    BezierSelectPoint(d, c.Select, false);
    ASSERT_TRUE(BezierDeleteSelected(d));
    EXPECT_EQ(d.Rows.size(), c.Rows);
    EXPECT_EQ(d.Rows[0].P[0], c.Start);
    EXPECT_EQ(d.Closed, c.ClosedAfter);
    EXPECT_EQ(d.SelectPointIndex, -1);
  }
  TBezierPath inner = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  BezierSelectPoint(inner, 2, false);
  BezierDeleteSelected(inner);
  EXPECT_EQ(inner.Rows[0].P[3], TPoint(100, 100)) << "merged with the next segment's end";
  TBezierPath single = Straight({{0, 0}, {100, 0}});
  BezierSelectPoint(single, 0, false);
  EXPECT_FALSE(BezierDeleteSelected(single));

  // Breaking at node 0 rotates nothing; at node 4 the rows turn so that it
  // starts the path; the ends separate by (2, 2).
  TBezierPath b = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 0}}, true);
  BezierBreakNode(b);
  EXPECT_EQ(b.Rows[0].P[0], TPoint(0, 0));
  EXPECT_EQ(b.Rows[2].P[3], TPoint(2, 2));
  EXPECT_FALSE(b.Closed);
  TBezierPath b4 = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 0}}, true);
  b4.SelectPointIndex = 4;
  BezierBreakNode(b4);
  EXPECT_EQ(b4.Rows[0].P[0], TPoint(100, 100));
  EXPECT_EQ(b4.Rows[2].P[3], TPoint(102, 102));

  // Closing moves the last end and its control point onto the first node.
  TBezierPath o = Straight({{0, 0}, {100, 0}, {100, 100}});
  const TPoint c2 = o.Rows[1].P[2];
  BezierCloseShape(o);
  EXPECT_TRUE(o.Closed);
  EXPECT_EQ(o.Rows[1].P[3], TPoint(0, 0));
  EXPECT_EQ(o.Rows[1].P[2], TPoint(c2.X - 100, c2.Y - 100));

  // Tangent commands change only selected nodes and say whether anything
  // changed.
  TBezierPath h = Straight({{0, 0}, {100, 0}, {200, 0}});
  EXPECT_FALSE(BezierHideTangent(h));
  BezierSelectPoint(h, 2, false);
  EXPECT_TRUE(BezierHideTangent(h));
  EXPECT_EQ(h.Rows[1].P[1], TPoint(100, 0));
  EXPECT_EQ(h.Rows[0].P[2], TPoint(100, 0));
  EXPECT_FALSE(BezierHideTangent(h));
  EXPECT_TRUE(BezierSetCommonTangent(h, false));
  EXPECT_FALSE(BezierSetCommonTangent(h, false));
  BezierSelectPoint(h, 0, false);
  EXPECT_FALSE(BezierSetCommonTangent(h, true)) << "the first node of an open path";

  // Appending from the start: the new part runs into the first node.
  TBezierPath a = Straight({{10, 10}, {60, 10}});
  TBezierPath n = Straight({{10, 10}, {100, 50}});
  BezierAppend(a, n, true);
  ASSERT_EQ(a.Rows.size(), 2u);
  EXPECT_EQ(a.Rows[0].P[0], TPoint(100, 50));
  EXPECT_EQ(a.Rows[0].P[3], TPoint(10, 10));
  TBezierPath e = Straight({{10, 10}, {60, 10}});
  TBezierPath m = Straight({{61, 11}, {100, 50}, {150, 50}});
  BezierAppend(e, m, false);
  ASSERT_EQ(e.Rows.size(), 3u);
  EXPECT_EQ(e.Rows[1].P[0], TPoint(60, 10));
  EXPECT_EQ(e.Rows[2].P[3], TPoint(150, 50));
}

TEST(FreeShapeNodes, TextRoundTripAndDamage) {
  TBezierPath p = Straight({{0, 0}, {100, 0}, {100, 100}, {0, 0}}, true);
  p.ControlMode = 1;
  BezierSelectPoint(p, 2, false);
  BezierCalcRatios(p, TRect(0, 0, 100, 100));
  const String text = BezierPathText(p);
  EXPECT_EQ(text.find(u','), String::npos);
  EXPECT_EQ(text.find(u'|'), String::npos);
  EXPECT_NE(text.find(u'<'), String::npos);
  EXPECT_NE(text.find(u'>'), String::npos);
  TBezierPath q;
  ASSERT_TRUE(BezierSetPathText(text, q));
  ASSERT_EQ(q.Rows.size(), 3u);
  EXPECT_EQ(q.ControlMode, 1);
  EXPECT_EQ(q.SelectPointIndex, 2);
  EXPECT_TRUE(q.Closed);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(q.Rows[i].P, p.Rows[i].P);
    EXPECT_EQ(q.Rows[i].Smooth, p.Rows[i].Smooth);
    EXPECT_EQ(q.Rows[i].SelStart, p.Rows[i].SelStart);
    EXPECT_FLOAT_EQ(q.Rows[i].R[1].X, p.Rows[i].R[1].X);
  }
  EXPECT_EQ(BezierPathText(q), text);

  // Damaged texts never raise: short rows read 0, no rows say so.
  struct {
    const char16_t* Text;
    bool Rows;
  } damaged[] = {
      {u"", false},          {u"#2<-1#", false},       {u"#2<-1#1<2<3", true},  {u"#x#a<b<c<d<e<f<g<h", true},
      {u"#1<5#1<2>3<4", true}, {u"garbage", true},     {u"#<<<<<<<<<-1#", false},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(testing::Message() << "text " << (&d - damaged));
    TBezierPath r;
    EXPECT_EQ(BezierSetPathText(d.Text, r), d.Rows);
    TBezierSamples s;
    BezierSample(r, s);
    BezierCalcRatios(r, BezierRect(s));
    EXPECT_EQ(r.ControlMode == 1 || r.ControlMode == 2 || r.ControlMode == 4, true);
  }
  TBezierPath shortRow;
  BezierSetPathText(u"#2<-1#1<2<3", shortRow);
  EXPECT_EQ(shortRow.Rows[0].P[1], TPoint(3, 0));
  EXPECT_EQ(shortRow.Rows[0].P[3], TPoint(0, 0));
}
