// Line and arrow geometry: what each style draws (figures, heads, dots),
// the middle points, the sampled curve, hit tests and handle drags.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/LineGeometry.h"

namespace {

TLinePoints Pts(TPoint A, TPoint B, TPoint C, TPoint D) { return TLinePoints{TPoint(), A, B, C, D}; }

Single Dist(const TFloatPoint& A, const TPoint& B) { return CalcDistanceFromFloatPoint(A, B); }

// Heads aimed at a tip (their point 1).
bool HasHeadAt(const TLineOutline& O, const TPoint& Tip) {
  for (const TLineHead& h : O.Heads)
    if (std::fabs(h.Points[1].X - Tip.X) < 1e-3 && std::fabs(h.Points[1].Y - Tip.Y) < 1e-3) return true;
  return false;
}

}  // namespace

TEST(LineGeometry, EveryStyleDrawsItsDecoration) {
  // Points well apart so every head and pull-back is visible.
  const TLinePoints p = Pts(TPoint(0, 0), TPoint(100, 0), TPoint(100, 200), TPoint(200, 200));
  struct {
    Integer Style;
    TLinePath Path;
    bool HeadStart, HeadEnd, Middle;  // arrow
    Integer ArrowDots;                // 0 none, 1 start, 2 both
    Integer LineDots;
    size_t FigurePoints;
  } table[] = {
      {0, TLinePath::Straight, false, true, false, 0, 0, 2},  {1, TLinePath::Straight, false, true, false, 1, 1, 2},
      {2, TLinePath::Straight, true, true, false, 0, 2, 2},   {3, TLinePath::Bezier, false, true, false, 0, 0, 4},
      {4, TLinePath::Bezier, false, true, false, 1, 1, 4},    {5, TLinePath::Bezier, true, true, false, 0, 2, 4},
      {6, TLinePath::Bent, false, true, false, 0, 0, 3},      {7, TLinePath::Bent, false, true, false, 1, 1, 3},
      {8, TLinePath::Bent, true, true, false, 0, 2, 3},       {9, TLinePath::Elbow, false, true, false, 0, 0, 4},
      {10, TLinePath::Elbow, false, true, false, 1, 1, 4},    {11, TLinePath::Elbow, true, true, false, 0, 2, 4},
      {12, TLinePath::MiddleHead, false, false, true, 0, 0, 2}, {13, TLinePath::MiddleHead, false, false, true, 1, 0, 2},
      {14, TLinePath::MiddleHead, false, false, true, 2, 0, 2},
  };
  for (const auto& c : table)
    for (Integer arrowType : {0, 1, 2})
      for (Integer w : {1, 2, 5}) {
        SCOPED_TRACE(testing::Message() << "style " << c.Style << " type " << arrowType << " w " << w);
        const TLineOutline a = LineBuildOutline(p, c.Style, true, arrowType, w);
        EXPECT_EQ(a.Path, c.Path);
        ASSERT_EQ(a.Figure.size(), c.FigurePoints);
        EXPECT_EQ(a.Heads.size(), size_t(c.HeadStart) + size_t(c.HeadEnd) + size_t(c.Middle));
        const size_t headPoints = arrowType == 0 ? 3 : arrowType == 1 ? 4 : 6;
        for (const TLineHead& h : a.Heads) EXPECT_EQ(h.Points.size(), headPoints);
        EXPECT_EQ(HasHeadAt(a, p[4]), c.HeadEnd);
        EXPECT_EQ(HasHeadAt(a, p[1]), c.HeadStart);
        // A headed end is pulled back 2w under its head; others are not.
        EXPECT_NEAR(Dist(a.Figure.back(), p[4]), c.HeadEnd ? 2 * w : 0, 1e-3);
        EXPECT_NEAR(Dist(a.Figure.front(), p[1]), c.HeadStart ? 2 * w : 0, 1e-3);
        EXPECT_EQ(a.Dots.size(), size_t(c.ArrowDots));
        const TLineOutline l = LineBuildOutline(p, c.Style, false, arrowType, w);
        EXPECT_TRUE(l.Heads.empty());
        if (c.Path == TLinePath::MiddleHead) {
          EXPECT_EQ(l.Path, TLinePath::None) << "plain lines have no middle-head styles";
          continue;
        }
        EXPECT_EQ(l.Dots.size(), size_t(c.LineDots));
        EXPECT_NEAR(Dist(l.Figure.back(), p[4]), 0, 1e-6);
      }
  // Heads are aimed from the point the style names: straight from the other
  // end, Bezier and elbow starts from point 2, bent both from point 3.
  const TLineOutline bent = LineBuildOutline(p, 8, true, 0, 2);
  TFloatPoint fromThree[3];
  CalcArrowTriangle(p[3], p[1], 8, fromThree);
  EXPECT_NEAR(bent.Heads[0].Points[0].X, fromThree[0].X, 1e-3);
  EXPECT_NEAR(bent.Heads[0].Points[0].Y, fromThree[0].Y, 1e-3);
  const TLineOutline elbow = LineBuildOutline(p, 11, true, 0, 2);
  TFloatPoint fromTwo[3];
  CalcArrowTriangle(p[2], p[1], 8, fromTwo);
  EXPECT_NEAR(elbow.Heads[0].Points[2].Y, fromTwo[2].Y, 1e-3);
  // No head for an unknown head kind, but the end is still pulled back.
  const TLineOutline none = LineBuildOutline(p, 0, true, 7, 3);
  EXPECT_TRUE(none.Heads.empty());
  EXPECT_NEAR(Dist(none.Figure.back(), p[4]), 6, 1e-3);
  EXPECT_EQ(LineBuildOutline(p, 15, true, 0, 1).Path, TLinePath::None);
}

TEST(LineGeometry, HeadSizesMiddleHeadAndDots) {
  // Width 1: triangle heads 9 long, notched and chevron heads 10.
  const TLinePoints p = Pts(TPoint(0, 0), TPoint(0, 0), TPoint(0, 0), TPoint(100, 0));
  EXPECT_NEAR(LineHead(0, p[1], p[4], 1).Points[0].X, 91, 1e-3);
  EXPECT_NEAR(LineHead(1, p[1], p[4], 1).Points[0].X, 90, 1e-3);
  EXPECT_NEAR(LineHead(2, p[1], p[4], 1).Points[0].X, 90, 1e-3);
  EXPECT_NEAR(LineHead(0, p[1], p[4], 5).Points[0].X, 80, 1e-3);
  EXPECT_NEAR(LineHead(1, p[1], p[4], 5).Points[0].X, 75, 1e-3);
  // Style 12, triangle, width 5, 100 long: the tip 60 from the start.
  const TLineOutline m = LineBuildOutline(p, 12, true, 0, 5);
  ASSERT_EQ(m.Heads.size(), 1u);
  EXPECT_NEAR(m.Heads[0].Points[1].X, 60, 1e-3);
  EXPECT_NEAR(m.Figure[0].X, 0, 1e-6);
  EXPECT_NEAR(m.Figure[1].X, 100, 1e-6);
  // Dots: odd widths 2w + 1 (at least 5) at P - D div 2 - 1; even 2w (at
  // least 6) at P - D div 2.
  struct {
    Integer W;
    TRect Box;
  } dots[] = {{1, TRect(7, 7, 12, 12)}, {2, TRect(7, 7, 13, 13)}, {3, TRect(6, 6, 13, 13)},
              {4, TRect(6, 6, 14, 14)}, {7, TRect(2, 2, 17, 17)}, {8, TRect(2, 2, 18, 18)}};
  for (const auto& d : dots) EXPECT_EQ(LineDotBox(TPoint(10, 10), d.W), d.Box) << d.W;
}

TEST(LineGeometry, MiddlePoints) {
  TLinePoints p = Pts(TPoint(0, 0), TPoint(), TPoint(), TPoint(100, 0));
  LineCalcPoints(p, 0, false, false, false);  // straight: always
  EXPECT_EQ(p[2], TPoint(25, 0));
  EXPECT_EQ(p[3], TPoint(75, 0));
  LineCalcPoints(p, 6, true, false, false);  // bent: point 3 in the middle
  EXPECT_EQ(p[3], TPoint(50, 0));
  // A curve keeps its control points unless creating or forced.
  TLinePoints c = Pts(TPoint(0, 0), TPoint(10, 80), TPoint(90, 80), TPoint(100, 0));
  LineCalcPoints(c, 4, false, false, false);
  EXPECT_EQ(c[2], TPoint(10, 80));
  LineCalcPoints(c, 6, false, true, false);  // forced to the bent group
  EXPECT_EQ(c[3], TPoint(50, 0));
  // Elbows: horizontal first when |dx| > |dy|, vertical first on a tie.
  struct {
    TPoint End;
    TPoint P2, P3;
  } elbows[] = {{TPoint(100, 40), TPoint(50, 0), TPoint(50, 40)},
                {TPoint(40, 100), TPoint(0, 50), TPoint(40, 50)},
                {TPoint(60, 60), TPoint(0, 30), TPoint(60, 30)},
                {TPoint(-61, 60), TPoint(-30, 0), TPoint(-30, 60)}};
  for (const auto& e : elbows) {
    TLinePoints q = Pts(TPoint(0, 0), TPoint(), TPoint(), e.End);
    LineCalcPoints(q, 9, false, false, false);
    EXPECT_EQ(q[2], e.P2);
    EXPECT_EQ(q[3], e.P3);
  }
  // An elbow whose middle is being dragged keeps it.
  TLinePoints k = Pts(TPoint(0, 0), TPoint(7, 7), TPoint(8, 8), TPoint(100, 40));
  LineCalcPoints(k, 10, false, false, true);
  EXPECT_EQ(k[2], TPoint(7, 7));
}

TEST(LineGeometry, SamplesAndRectangles) {
  TArrayOfPoint s;
  LineSampleBezier(Pts(TPoint(0, 0), TPoint(30, 60), TPoint(60, 60), TPoint(90, 0)), s);
  EXPECT_EQ(s.size(), 101u);
  EXPECT_EQ(s.front(), TPoint(0, 0));
  EXPECT_EQ(s.back(), TPoint(90, 0));
  EXPECT_EQ(s[50], TPoint(45, 45));
  LineSampleBezier(Pts(TPoint(0, 0), TPoint(100, 0), TPoint(300, 0), TPoint(400, 0)), s);
  EXPECT_EQ(s.size(), 401u);
  const TLinePoints p = Pts(TPoint(10, 10), TPoint(50, 90), TPoint(70, 5), TPoint(100, 40));
  EXPECT_EQ(LineCalcRect(p, 0, s, TRect()), TRect(10, 10, 101, 41));
  EXPECT_EQ(LineCalcRect(p, 7, s, TRect()), TRect(10, 5, 101, 41));
  EXPECT_EQ(LineCalcRect(p, 10, s, TRect()), TRect(10, 5, 101, 41));
  EXPECT_EQ(LineCalcRect(p, 20, s, TRect(1, 2, 3, 4)), TRect(1, 2, 3, 4));
  TArrayOfPoint curve;
  LineSampleBezier(p, curve);
  TRect b;
  CalcPointsBounds(curve, b);
  EXPECT_EQ(LineCalcRect(p, 3, curve, TRect()), b) << "inclusive bounds of the samples";
}

TEST(LineGeometry, HitTests) {
  // A horizontal line is hit within OutWidth div 2 + 1 of it, although its
  // rectangle is one pixel high.
  const TLinePoints h = Pts(TPoint(10, 50), TPoint(), TPoint(), TPoint(110, 50));
  const TRect hr = LineCalcRect(h, 0, {}, TRect());
  for (Integer dy : {-3, 3}) EXPECT_TRUE(LineHitTest(h, 0, hr, {}, 4, TPoint(60, 50 + dy)));
  EXPECT_FALSE(LineHitTest(h, 0, hr, {}, 4, TPoint(60, 54)));
  EXPECT_TRUE(LineHitTest(h, 0, hr, {}, 1, TPoint(60, 51)));
  EXPECT_FALSE(LineHitTest(h, 0, hr, {}, 1, TPoint(60, 52)));
  // A sloped line is hit only inside its rectangle.
  const TLinePoints d = Pts(TPoint(0, 0), TPoint(), TPoint(), TPoint(100, 100));
  const TRect dr = LineCalcRect(d, 0, {}, TRect());
  EXPECT_TRUE(LineHitTest(d, 0, dr, {}, 2, TPoint(50, 51)));
  EXPECT_FALSE(LineHitTest(d, 0, dr, {}, 2, TPoint(-1, 0)));
  // A curve drawn flat (all points on one row) is reachable.
  const TLinePoints flat = Pts(TPoint(10, 30), TPoint(40, 30), TPoint(70, 30), TPoint(100, 30));
  TArrayOfPoint s;
  LineSampleBezier(flat, s);
  const TRect fr = LineCalcRect(flat, 3, s, TRect());
  EXPECT_EQ(fr.Top, fr.Bottom);
  EXPECT_TRUE(LineHitTest(flat, 3, fr, s, 2, TPoint(55, 30)));
  EXPECT_TRUE(LineHitTest(flat, 3, fr, s, 2, TPoint(55, 32)));
  EXPECT_FALSE(LineHitTest(flat, 3, fr, s, 2, TPoint(55, 33)));
  // Bent and elbow segments; styles above 14 never.
  const TLinePoints b = Pts(TPoint(0, 0), TPoint(0, 50), TPoint(100, 50), TPoint(100, 100));
  TRect br = LineCalcRect(b, 9, s, TRect());
  EXPECT_TRUE(LineHitTest(b, 9, br, s, 2, TPoint(50, 51)));
  EXPECT_FALSE(LineHitTest(b, 9, br, s, 2, TPoint(50, 20)));
  br = LineCalcRect(b, 6, s, TRect());
  EXPECT_TRUE(LineHitTest(b, 6, br, s, 2, TPoint(50, 25)));
  EXPECT_FALSE(LineHitTest(b, 20, TRect(0, 0, 200, 200), s, 2, TPoint(0, 0)));
}

TEST(LineGeometry, HandleDrags) {
  // The end follows the mouse from its own start.
  TLinePoints p = Pts(TPoint(0, 0), TPoint(), TPoint(), TPoint(100, 0));
  LineAdjust(p, 0, 4, 100, 0, 130, 20, 100, 0, false);
  EXPECT_EQ(p[4], TPoint(130, 20));
  // With Shift the end snaps against the other end; dx = dy is vertical.
  struct {
    TPoint To;
    TPoint End;
  } shifts[] = {{TPoint(80, 10), TPoint(80, 0)}, {TPoint(10, 80), TPoint(0, 80)}, {TPoint(30, 30), TPoint(0, 30)}};
  for (const auto& c : shifts) {
    TLinePoints q = Pts(TPoint(0, 0), TPoint(), TPoint(), TPoint(100, 0));
    LineAdjust(q, 1, 4, 100, 0, c.To.X, c.To.Y, 100, 0, true);
    EXPECT_EQ(q[4], c.End);
  }
  // Bent styles snap against point 3; Bezier ends never snap.
  TLinePoints bent = Pts(TPoint(0, 0), TPoint(), TPoint(50, 50), TPoint(100, 0));
  LineAdjust(bent, 6, 1, 0, 0, 10, 45, 0, 0, true);
  EXPECT_EQ(bent[1], TPoint(10, 50));
  TLinePoints curve = Pts(TPoint(0, 0), TPoint(), TPoint(50, 50), TPoint(100, 0));
  LineAdjust(curve, 3, 1, 0, 0, 10, 45, 0, 0, true);
  EXPECT_EQ(curve[1], TPoint(10, 45));
  // The elbow's middle handle moves the middle segment across.
  TLinePoints e = Pts(TPoint(0, 0), TPoint(50, 0), TPoint(50, 40), TPoint(100, 40));
  LineAdjust(e, 9, 2, 50, 20, 70, 25, 50, 0, false);
  EXPECT_EQ(e[2], TPoint(70, 0));
  EXPECT_EQ(e[3], TPoint(70, 40));
  TLinePoints v = Pts(TPoint(0, 0), TPoint(0, 50), TPoint(40, 50), TPoint(40, 100));
  LineAdjust(v, 9, 2, 20, 50, 22, 61, 0, 50, false);
  EXPECT_EQ(v[2], TPoint(0, 61));
  EXPECT_EQ(v[3], TPoint(40, 61));
  EXPECT_EQ(LineElbowHandle(TPoint(50, 0), TPoint(50, 41)), TPoint(50, 20));
  EXPECT_EQ(LineElbowHandle(TPoint(0, 50), TPoint(-41, 50)), TPoint(-20, 50));
}
