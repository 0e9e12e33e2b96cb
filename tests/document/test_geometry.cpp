// Geometry routines: the documented cases as one table, 64-bit distances,
// polygons with self-crossings and horizontal edges, and the argument-order
// guards.
#include "common/gtest.h"

#include "tests/document/print_values.h"

#include <cmath>

#include "document/DuVura.h"

namespace {

TFloatPoint FP(Single X, Single Y) { return TFloatPoint{X, Y}; }

void ExpectNear(const TFloatPoint& A, const TFloatPoint& B, Single Tol = 1e-3f) {
  EXPECT_NEAR(A.X, B.X, Tol);
  EXPECT_NEAR(A.Y, B.Y, Tol);
}

}  // namespace

TEST(Geometry, DocumentedCases) {
  TRect r;
  CalcPointsBounds(TArrayOfPoint{TPoint(4, 7)}, r);
  EXPECT_EQ(r, TRect(4, 7, 4, 7));
  CalcPointsBounds(TArrayOfPoint{}, r);
  EXPECT_EQ(r, TRect(2147483647, 2147483647, -2147483647, -2147483647));
  const TGPPoint gp[3] = {{5, -2}, {-1, 9}, {3, 3}};
  CalcPointsBounds(gp, 3, r);
  EXPECT_EQ(r, TRect(-1, -2, 5, 9));

  // The vector angle: below, above, right, left, the same point.
  struct {
    Integer X, Y;
    Single Expected;
  } angles[] = {{10, 20, 90}, {10, 0, 270}, {20, 10, 0}, {0, 10, 180}, {10, 10, 90}, {20, 0, 315}, {0, 20, 135}};
  for (const auto& c : angles) EXPECT_FLOAT_EQ(CalcVectorAngle(c.X, c.Y, 10.0f, 10.0f), c.Expected) << c.X << "," << c.Y;

  EXPECT_EQ(RotatePoint(FP(50, 50), TPoint(60, 50), 90), TPoint(50, 40));
  EXPECT_EQ(RotatePoint(FP(50.5f, 50.5f), TPoint(7, -3), 0), TPoint(7, -3));

  TFloatPoint t[3];
  CalcArrowTriangle(TPoint(0, 0), TPoint(100, 0), 20, t);
  ExpectNear(t[0], FP(80, -10));
  ExpectNear(t[1], FP(100, 0));
  ExpectNear(t[2], FP(80, 10));
  TFloatPoint t5[3];
  CalcArrowTriangle(TPoint(0, 0), TPoint(100, 0), 5, t5);
  TFloatPoint t9[3];
  CalcArrowTriangle(TPoint(0, 0), TPoint(100, 0), 9, t9);
  for (int i = 0; i < 3; ++i) ExpectNear(t5[i], t9[i], 0);

  TFloatPoint c[6];
  CalcArrowChevron(TPoint(0, 0), TPoint(100, 0), 10, 20, c);
  const TFloatPoint chevron[6] = {FP(80, -10), FP(100, 0), FP(80, 10), FP(78, 6), FP(90, 0), FP(78, -6)};
  for (int i = 0; i < 6; ++i) ExpectNear(c[i], chevron[i]);

  TFloatPoint n[4];
  CalcArrowNotched(TPoint(0, 0), TPoint(100, 0), 4, n);  // below 10: 10
  ExpectNear(n[0], FP(90, -5));
  ExpectNear(n[3], FP(95, 0));

  TFloatPoint p;
  CalcPointFromEnd(TPoint(0, 0), TPoint(30, 40), 50, p);
  ExpectNear(p, FP(0, 0));
  CalcPointFromEnd(TPoint(0, 0), TPoint(30, 40), 60, p);
  ExpectNear(p, FP(0, 0));
  CalcPointFromEnd(TPoint(0, 0), TPoint(30, 40), 10.0f, p);
  ExpectNear(p, FP(24, 32));
  CalcPointFromEnd(TPoint(3, 3), TPoint(3, 3), 10, p);
  ExpectNear(p, FP(3, 3));
  CalcExtendedPoint(TPoint(3, 3), TPoint(3, 3), 10, p);
  ExpectNear(p, FP(3, 3));
  CalcExtendedPoint(TPoint(0, 0), TPoint(30, 40), 10, p);
  ExpectNear(p, FP(36, 48));
  CalcExtendedPoint(TPoint(0, 0), TPoint(30, 40), -10, p);
  ExpectNear(p, FP(24, 32));

  RectFromPoints(5, 5, 5, 5, r);
  EXPECT_EQ(r, TRect(5, 5, 6, 6));
  RectFromPoints(9, 2, 4, 7, r);
  EXPECT_EQ(r, TRect(4, 2, 10, 8));

  // Only the side the handle moves is pushed.
  struct {
    TRect In;
    Integer Handle, Min;
    TRect Out;
  } mins[] = {
      {TRect(130, 10, 100, 50), 1, 1, TRect(99, 10, 100, 50)},
      {TRect(130, 60, 100, 50), 1, 1, TRect(99, 49, 100, 50)},
      {TRect(10, 10, 5, 50), 3, 4, TRect(10, 10, 14, 50)},
      {TRect(10, 80, 50, 50), 5, 10, TRect(10, 40, 50, 50)},
      {TRect(10, 10, 50, 5), 6, 10, TRect(10, 10, 50, 20)},
      {TRect(60, 10, 50, 50), 7, 1, TRect(49, 10, 50, 50)},
      {TRect(60, 10, 50, 50), 8, 1, TRect(60, 10, 61, 50)},
      {TRect(60, 60, 50, 50), 9, 1, TRect(60, 60, 50, 50)},
  };
  for (const auto& m : mins) {
    TRect x = m.In;
    EnsureMinRectSize(x, m.Handle, m.Min);
    EXPECT_EQ(x, m.Out) << "handle " << m.Handle;
  }

  // Beyond an end the distance is the one to that end.
  EXPECT_FLOAT_EQ(CalcDistanceToSegment(TPoint(0, 0), TPoint(10, 0), TPoint(13, 4)), 5);
  EXPECT_FLOAT_EQ(CalcDistanceToSegment(TPoint(0, 0), TPoint(10, 0), TPoint(5, 4)), 4);
  EXPECT_FLOAT_EQ(CalcDistanceToSegment(TPoint(0, 0), TPoint(0, 10), TPoint(-3, 14)), 5);
  EXPECT_FLOAT_EQ(CalcDistanceToSegment(TPoint(0, 0), TPoint(10, 10), TPoint(0, 10)), std::sqrt(50.0f));

  TPoint polar;
  CalcPolarPoint(TPoint(10, 10), 5, TDegrees(90), polar);
  EXPECT_EQ(polar, TPoint(10, 15));
  CalcPolarPoint(FP(2.5f, 0), 10, TDegrees(0), polar);
  EXPECT_EQ(polar, TPoint(12, 0));  // 12.5 rounds to even

  EXPECT_FLOAT_EQ(CalcEllipseHalfHeight(100, 50, 0), 25);
  EXPECT_FLOAT_EQ(CalcEllipseHalfHeight(100, 50, 50), 0);
  EXPECT_FLOAT_EQ(CalcEllipseHalfHeight(0, 50, 0), 0);
}

TEST(Geometry, DistancesSquareInSixtyFourBits) {
  EXPECT_FLOAT_EQ(CalcDistance(TPoint(0, 0), TPoint(60000, 0)), 60000);
  EXPECT_FLOAT_EQ(CalcDistance(TPoint(0, 0), TPoint(40000, 40000)), Single(std::sqrt(3200000000.0L)));
  EXPECT_FLOAT_EQ(CalcDistance(TPoint(-30000000, 0), TPoint(30000000, 1)), 60000000);
  EXPECT_FLOAT_EQ(CalcDistanceToSegment(TPoint(0, 0), TPoint(0, 10), TPoint(60000, 50000)),
                  Single(std::sqrt(60000.0L * 60000 + 49990.0L * 49990)));
  // Inside the old range the results are the same as before.
  EXPECT_FLOAT_EQ(CalcDistance(3, 4, 0, 0), 5);
}

TEST(Geometry, PointInPolygon) {
  // A five-pointed star drawn in one stroke: its centre is crossed twice.
  const TArrayOfPoint star = {TPoint(50, 0), TPoint(79, 90), TPoint(2, 35), TPoint(98, 35), TPoint(21, 90)};
  EXPECT_FALSE(PtInPolygon(TPoint(50, 50), star));
  EXPECT_TRUE(PtInPolygon(TPoint(50, 15), star));
  EXPECT_TRUE(PtInPolygon(TPoint(15, 40), star));
  EXPECT_FALSE(PtInPolygon(TPoint(50, 95), star));
  // Horizontal edges never count: points on them are decided by the others.
  const TArrayOfPoint square = {TPoint(10, 10), TPoint(20, 10), TPoint(20, 20), TPoint(10, 20)};
  struct {
    TPoint P;
    bool In;
  } cases[] = {{TPoint(15, 10), true}, {TPoint(15, 20), false}, {TPoint(10, 15), true}, {TPoint(20, 15), false},
               {TPoint(15, 15), true}, {TPoint(25, 10), false}, {TPoint(5, 10), false}};
  for (const auto& c : cases) EXPECT_EQ(PtInPolygon(c.P, square), c.In) << c.P.X << "," << c.P.Y;
  const TArrayOfGPPoint gsquare = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  EXPECT_TRUE(PtInPolygon(TPoint(15, 15), gsquare));
  // Fewer than three points: only a point of the list itself can count.
  EXPECT_FALSE(PtInPolygon(TPoint(1, 1), TArrayOfPoint{TPoint(0, 0), TPoint(4, 4)}));
  EXPECT_FALSE(PtInPolygon(TPoint(1, 1), TArrayOfPoint{}));
  // Far coordinates do not overflow the crossing test.
  const TArrayOfPoint wide = {TPoint(-2000000000, -10), TPoint(2000000000, -10), TPoint(2000000000, 10),
                              TPoint(-2000000000, 10)};
  EXPECT_TRUE(PtInPolygon(TPoint(1999999999, 0), wide));
}

// A swapped call does not compile: the centre cannot be passed first, and
// the angle of a polar point is a TDegrees.
template <class... A>
concept VectorAngleCall = requires(A... a) { CalcVectorAngle(a...); };
static_assert(VectorAngleCall<Integer, Integer, Single, Single>);
static_assert(!VectorAngleCall<Single, Single, Integer, Integer>);
static_assert(!VectorAngleCall<Single, Single, Single, Single>);
template <class D, class A>
concept PolarCall = requires(TPoint p, D d, A a, TPoint& r) { CalcPolarPoint(p, d, a, r); };
static_assert(PolarCall<Single, TDegrees>);
static_assert(!PolarCall<TDegrees, Single>);
static_assert(!PolarCall<Single, Single>);
