// DuVura: the geometry routines under every drawing object, the selection,
// the control layer and the gradient and ruler tools. Free functions, no
// state. Points are image pixels unless a routine says otherwise.
//
// Numbers: angles in degrees with the y axis down; float results computed
// in extended precision and stored as Single; Round is half to even.
// Distances between integer points square and sum in 64 bits, so any two
// points of the Integer range give an exact sum.
//
// Portable: no Windows header. TGPPoint and TGPPointF are the GDI+ layer's
// plain records (two Integer, two Single values).
#pragma once

#include <type_traits>
#include <vector>

#include "bitmap/Bmp32_Types.h"
#include "platform/GdiPlusFlat.h"
#include "rtl/System.h"

using TGPPoint = gdipflat::GpPoint;
using TGPPointF = gdipflat::GpPointF;
using TArrayOfGPPoint = std::vector<TGPPoint>;
using TArrayOfRect = std::vector<TRect>;
using TArrayOfFloatPoint = std::vector<TFloatPoint>;

// An angle in degrees, passed where a distance is passed beside it, so a
// call with the two swapped does not compile.
struct TDegrees {
  Single Value = 0;
  constexpr explicit TDegrees(Single V) : Value(V) {}
};

// --- bounds, offsets, rounding

// Smallest and largest X and Y, all inclusive (no + 1). An empty list gives
// (2147483647, 2147483647, -2147483647, -2147483647).
void CalcPointsBounds(const TArrayOfPoint& Points, TRect& R);
void CalcPointsBounds(const TGPPoint* First, Integer Count, TRect& R);

void OffsetPoint(TPoint& P, Integer DX, Integer DY);
void OffsetPoint(TGPPoint& P, Integer DX, Integer DY);
void OffsetPoint(TFloatPoint& P, Integer DX, Integer DY);

void RoundPoint(const TFloatPoint& F, TPoint& P);
void RoundPoint(const TFloatPoint& F, TGPPoint& P);
TPoint RoundPoint(const TFloatPoint& F);

// --- distances

Single CalcDistance(const TPoint& A, const TPoint& B);
Single CalcDistance(Integer X1, Integer Y1, Integer X2, Integer Y2);
// The squared distance, exact.
Int64 CalcDistanceSquared(const TPoint& A, const TPoint& B);
Single CalcDistanceToFloatPoint(const TPoint& A, const TFloatPoint& B);
Single CalcFloatDistance(const TFloatPoint& A, const TFloatPoint& B);
Single CalcDistanceFromFloatPoint(const TFloatPoint& A, const TPoint& B);
Single CalcDistanceFromFloatPoint(const TFloatPoint& A, const TGPPoint& B);

// --- rectangles

// (min X, min Y, max X + 1, max Y + 1): the rectangle covering both pixels.
void RectFromPoints(Integer X1, Integer Y1, Integer X2, Integer Y2, TRect& R);
TRect RectFromPoints(const TPoint& A, const TPoint& B);
// Left/Right and Top/Bottom exchanged where they are reversed.
void NormalizeRect(const TRect& Src, TRect& Dst);
// Handles 1 top-left, 2 top-right, 3 bottom-right, 4 bottom-left, 5 top,
// 6 bottom, 7 left, 8 right: the sides the handle moves stay MinSize from
// the opposite side; other handles change nothing.
void EnsureMinRectSize(TRect& R, Integer Handle, Integer MinSize);

// --- polar points, angles, rotation

// (Round(O.X + Distance cos A), Round(O.Y + Distance sin A)).
void CalcPolarPoint(const TPoint& Origin, Single Distance, TDegrees Angle, TPoint& R);
void CalcPolarPoint(const TFloatPoint& Origin, Single Distance, TDegrees Angle, TPoint& R);

// The direction of the vector from (CX, CY) to (X, Y) in [0, 360); the
// same point gives 90. The point comes first, the centre second: the
// parameter types must match exactly, so a call with the centre first does
// not compile.
Single CalcVectorAngle(Integer X, Integer Y, Single CX, Single CY);
template <class A, class B, class C, class D>
Single CalcVectorAngle(A, B, C, D) = delete;

// P turned by Angle about O, counter-clockwise on screen for a positive
// angle. Angle 0 copies P.
void RotatePoint(const TFloatPoint& O, const TPoint& P, Single Angle, TPoint& R);
TPoint RotatePoint(const TFloatPoint& O, const TPoint& P, Single Angle);

// The half height at horizontal offset X from the centre of the ellipse in
// a Width x Height box (0 outside the ellipse and for an empty box).
Single CalcEllipseHalfHeight(Integer Width, Integer Height, Single X);

// --- polygons

// Even-odd crossing test; horizontal edges never count; an empty list
// gives false.
bool PtInPolygon(const TPoint& P, const TArrayOfPoint& Points);
bool PtInPolygon(const TPoint& P, const TPoint* First, Integer Count);
bool PtInPolygon(const TPoint& P, const TArrayOfGPPoint& Points);
bool PtInPolygon(const TPoint& P, const TGPPoint* First, Integer Count);

// --- points along lines

// The point Length beyond B on the line from A through B (before A for a
// negative length); A when A = B.
void CalcExtendedPoint(const TPoint& A, const TPoint& B, Single Length, TFloatPoint& R);
// The point Distance from B toward A; A when Distance reaches A or A = B.
void CalcPointFromEnd(const TPoint& A, const TPoint& B, Integer Distance, TFloatPoint& R);
void CalcPointFromEnd(const TPoint& A, const TPoint& B, Single Distance, TFloatPoint& R);

// The foot of the perpendicular from P onto the line through A and B.
void CalcPerpendicularFoot(const TPoint& A, const TPoint& B, const TPoint& P, TFloatPoint& F);
void CalcPerpendicularFoot(const TFloatPoint& A, const TFloatPoint& B, const TFloatPoint& P, TFloatPoint& F);
// Distance from P to the segment AB: to the foot when it lies within the
// segment's box, else to the nearer end.
Single CalcDistanceToSegment(const TPoint& A, const TPoint& B, const TPoint& P);

// --- arrow heads (A the point the arrow comes from, B the tip)

// T1 = B; an isosceles triangle of length and base Size (at least 9).
void CalcArrowTriangle(const TPoint& A, const TPoint& B, double Size, TFloatPoint (&T)[3]);
// Points 0..2 the triangle of Size (at least 10), point 3 the notch on the
// axis halfway into the head.
void CalcArrowNotched(const TPoint& A, const TPoint& B, double Size, TFloatPoint (&T)[4]);
// A head with inner edges parallel to its outer edges; Distance is the
// depth of the inner vertex from the tip; Size at least 10.
void CalcArrowChevron(const TPoint& A, const TPoint& B, Integer Distance, double Size, TFloatPoint (&T)[6]);
