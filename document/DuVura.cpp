// Geometry routines (see DuVura.h).
#include "document/DuVura.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "rtl/Math.h"

namespace {

using Ext = long double;

constexpr Ext Pi = std::numbers::pi_v<long double>;

// Degrees to radians: times pi, then divided by 180.
Ext Radians(Ext Degrees) { return Degrees * Pi / 180; }

Integer RoundToInteger(Ext V) {
  const Int64 r = Round(V);
  return Integer(std::clamp<Int64>(r, INT32_MIN, INT32_MAX));
}

template <class P>
void BoundsOf(const P* First, Integer Count, TRect& R) {
  R = TRect(2147483647, 2147483647, -2147483647, -2147483647);
  for (Integer i = 0; i < Count; ++i) {
    R.Left = std::min(R.Left, First[i].X);
    R.Top = std::min(R.Top, First[i].Y);
    R.Right = std::max(R.Right, First[i].X);
    R.Bottom = std::max(R.Bottom, First[i].Y);
  }
}

// a * b / c rounded half away from zero, exact for every Integer input
// (the platform's MulDiv where its result fits).
Int64 MulDivExact(Int64 A, Int64 B, Int64 C) {
  const __int128 p = __int128(A) * B;
  __int128 q = p / C;
  const __int128 r = p % C;
  const __int128 ar = r < 0 ? -r : r, ac = C < 0 ? -C : C;
  if (2 * ar >= ac) q += ((p < 0) != (C < 0)) ? -1 : 1;
  return Int64(q);
}

template <class P>
bool PointInPolygonOf(const TPoint& Pt, const P* Pts, Integer Count) {
  bool inside = false;
  if (Count <= 0) return false;
  Integer j = Count - 1;
  for (Integer i = 0; i < Count; ++i) {
    const Int64 ix = Pts[i].X, iy = Pts[i].Y, jx = Pts[j].X, jy = Pts[j].Y;
    if (((Pt.Y >= iy) != (Pt.Y >= jy)) && (Int64(Pt.X) - ix < MulDivExact(jx - ix, Int64(Pt.Y) - iy, jy - iy)))
      inside = !inside;
    j = i;
  }
  return inside;
}

// The foot of the perpendicular from P onto AB; the equality tests compare
// the coordinates in their own type.
template <class P>
TFloatPoint FootOf(const P& A, const P& B, const P& Pt) {
  if (A.X == B.X) return TFloatPoint{Single(A.X), Single(Pt.Y)};
  if (A.Y == B.Y) return TFloatPoint{Single(Pt.X), Single(A.Y)};
  const double m = (double(B.Y) - A.Y) / (double(B.X) - A.X);
  const Ext fx = (Ext(m) * m * A.X + Ext(m) * (Ext(Pt.Y) - A.Y) + Pt.X) / (Ext(m) * m + 1);
  return TFloatPoint{Single(fx), Single(A.Y + m * (fx - A.X))};
}

Single Hypotenuse(Ext DX, Ext DY) { return Single(std::sqrt(DX * DX + DY * DY)); }

}  // namespace

void CalcPointsBounds(const TArrayOfPoint& Points, TRect& R) { BoundsOf(Points.data(), Integer(Points.size()), R); }
void CalcPointsBounds(const TGPPoint* First, Integer Count, TRect& R) { BoundsOf(First, Count, R); }

void OffsetPoint(TPoint& P, Integer DX, Integer DY) {
  P.X += DX;
  P.Y += DY;
}
void OffsetPoint(TGPPoint& P, Integer DX, Integer DY) {
  P.X += DX;
  P.Y += DY;
}
void OffsetPoint(TFloatPoint& P, Integer DX, Integer DY) {
  P.X += Single(DX);
  P.Y += Single(DY);
}

void RoundPoint(const TFloatPoint& F, TPoint& P) { P = TPoint(RoundToInteger(F.X), RoundToInteger(F.Y)); }
void RoundPoint(const TFloatPoint& F, TGPPoint& P) { P = TGPPoint{RoundToInteger(F.X), RoundToInteger(F.Y)}; }
TPoint RoundPoint(const TFloatPoint& F) { return TPoint(RoundToInteger(F.X), RoundToInteger(F.Y)); }

Int64 CalcDistanceSquared(const TPoint& A, const TPoint& B) {
  const Int64 dx = Int64(A.X) - B.X, dy = Int64(A.Y) - B.Y;
  return dx * dx + dy * dy;
}

Single CalcDistance(const TPoint& A, const TPoint& B) { return Single(std::sqrt(Ext(CalcDistanceSquared(A, B)))); }
Single CalcDistance(Integer X1, Integer Y1, Integer X2, Integer Y2) { return CalcDistance(TPoint(X1, Y1), TPoint(X2, Y2)); }

Single CalcDistanceToFloatPoint(const TPoint& A, const TFloatPoint& B) {
  return Hypotenuse(Ext(A.X) - B.X, Ext(A.Y) - B.Y);
}
Single CalcFloatDistance(const TFloatPoint& A, const TFloatPoint& B) { return Hypotenuse(Ext(A.X) - B.X, Ext(A.Y) - B.Y); }
Single CalcDistanceFromFloatPoint(const TFloatPoint& A, const TPoint& B) {
  return Hypotenuse(Ext(A.X) - B.X, Ext(A.Y) - B.Y);
}
Single CalcDistanceFromFloatPoint(const TFloatPoint& A, const TGPPoint& B) {
  return Hypotenuse(Ext(A.X) - B.X, Ext(A.Y) - B.Y);
}

void RectFromPoints(Integer X1, Integer Y1, Integer X2, Integer Y2, TRect& R) {
  R = TRect(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2) + 1, std::max(Y1, Y2) + 1);
}

TRect RectFromPoints(const TPoint& A, const TPoint& B) {
  TRect r;
  RectFromPoints(A.X, A.Y, B.X, B.Y, r);
  return r;
}

void NormalizeRect(const TRect& Src, TRect& Dst) {
  Dst = Src;
  if (Dst.Right < Dst.Left) std::swap(Dst.Left, Dst.Right);
  if (Dst.Bottom < Dst.Top) std::swap(Dst.Top, Dst.Bottom);
}

void EnsureMinRectSize(TRect& R, Integer Handle, Integer MinSize) {
  if (Handle == 1 || Handle == 4 || Handle == 7) R.Left = std::min(R.Left, R.Right - MinSize);
  if (Handle == 1 || Handle == 2 || Handle == 5) R.Top = std::min(R.Top, R.Bottom - MinSize);
  if (Handle == 2 || Handle == 3 || Handle == 8) R.Right = std::max(R.Right, R.Left + MinSize);
  if (Handle == 3 || Handle == 4 || Handle == 6) R.Bottom = std::max(R.Bottom, R.Top + MinSize);
}

void CalcPolarPoint(const TPoint& Origin, Single Distance, TDegrees Angle, TPoint& R) {
  CalcPolarPoint(TFloatPoint{Single(Origin.X), Single(Origin.Y)}, Distance, Angle, R);
}

void CalcPolarPoint(const TFloatPoint& Origin, Single Distance, TDegrees Angle, TPoint& R) {
  const Ext a = Radians(Angle.Value);
  R = TPoint(RoundToInteger(Origin.X + Distance * std::cos(a)), RoundToInteger(Origin.Y + Distance * std::sin(a)));
}

Single CalcVectorAngle(Integer X, Integer Y, Single CX, Single CY) {
  if (Single(X) == CX) return Y >= CY ? 90.0f : 270.0f;
  const Ext a = std::atan((Ext(Y) - CY) / (Ext(X) - CX)) * 360 / (2 * Pi);
  if (Ext(X) < CX) return Single(a + 180);
  if (Ext(Y) < CY) return Single(a + 360);
  return Single(a);
}

void RotatePoint(const TFloatPoint& O, const TPoint& P, Single Angle, TPoint& R) {
  if (Angle == 0) {
    R = P;
    return;
  }
  const Single d = CalcDistanceFromFloatPoint(O, P);
  const Single a = CalcVectorAngle(P.X, P.Y, O.X, O.Y);
  const Ext phi = (Ext(a) - Angle) * Pi / 180;
  R = TPoint(RoundToInteger(O.X + d * std::cos(phi)), RoundToInteger(O.Y + d * std::sin(phi)));
}

TPoint RotatePoint(const TFloatPoint& O, const TPoint& P, Single Angle) {
  TPoint r;
  RotatePoint(O, P, Angle, r);
  return r;
}

Single CalcEllipseHalfHeight(Integer Width, Integer Height, Single X) {
  if (Width <= 0) return 0;
  const Ext hw = Ext(Width) / 2;
  const Ext k = 1 - Ext(X) * X / (hw * hw);
  return k > 0 ? Single(Ext(Height) / 2 * std::sqrt(k)) : 0.0f;
}

bool PtInPolygon(const TPoint& P, const TArrayOfPoint& Points) {
  return PointInPolygonOf(P, Points.data(), Integer(Points.size()));
}
bool PtInPolygon(const TPoint& P, const TPoint* First, Integer Count) { return PointInPolygonOf(P, First, Count); }
bool PtInPolygon(const TPoint& P, const TArrayOfGPPoint& Points) {
  return PointInPolygonOf(P, Points.data(), Integer(Points.size()));
}
bool PtInPolygon(const TPoint& P, const TGPPoint* First, Integer Count) { return PointInPolygonOf(P, First, Count); }

void CalcExtendedPoint(const TPoint& A, const TPoint& B, Single Length, TFloatPoint& R) {
  if (A == B) {
    R = TFloatPoint{Single(A.X), Single(A.Y)};
    return;
  }
  const Ext d = CalcDistance(A, B);
  R = TFloatPoint{Single(B.X + (Ext(B.X) - A.X) * Length / d), Single(B.Y + (Ext(B.Y) - A.Y) * Length / d)};
}

void CalcPointFromEnd(const TPoint& A, const TPoint& B, Single Distance, TFloatPoint& R) {
  R = TFloatPoint{Single(A.X), Single(A.Y)};
  if (A == B) return;
  const Ext d = CalcDistance(A, B);
  if (Distance >= d) return;
  const Ext k = Distance / (d - Distance);
  R = TFloatPoint{Single((k * A.X + B.X) / (k + 1)), Single((k * A.Y + B.Y) / (k + 1))};
}

void CalcPointFromEnd(const TPoint& A, const TPoint& B, Integer Distance, TFloatPoint& R) {
  CalcPointFromEnd(A, B, Single(Distance), R);
}

void CalcPerpendicularFoot(const TFloatPoint& A, const TFloatPoint& B, const TFloatPoint& P, TFloatPoint& F) {
  F = FootOf(A, B, P);
}

void CalcPerpendicularFoot(const TPoint& A, const TPoint& B, const TPoint& P, TFloatPoint& F) { F = FootOf(A, B, P); }

Single CalcDistanceToSegment(const TPoint& A, const TPoint& B, const TPoint& P) {
  TFloatPoint f;
  CalcPerpendicularFoot(A, B, P, f);
  if (std::min(A.X, B.X) <= f.X && f.X <= std::max(A.X, B.X) && std::min(A.Y, B.Y) <= f.Y &&
      f.Y <= std::max(A.Y, B.Y))
    return CalcDistanceToFloatPoint(P, f);
  return std::min(CalcDistance(P, A), CalcDistance(P, B));
}

void CalcArrowTriangle(const TPoint& A, const TPoint& B, double Size, TFloatPoint (&T)[3]) {
  const Ext size = Size < 9 ? 9 : Size;
  const Ext theta = std::atan2(Ext(A.Y) - B.Y, Ext(A.X) - B.X);
  const Ext c = std::cos(theta), s = std::sin(theta);
  T[1] = TFloatPoint{Single(B.X), Single(B.Y)};
  T[0] = TFloatPoint{Single(B.X + size * c - size / 2 * s), Single(B.Y + size * s + size / 2 * c)};
  T[2] = TFloatPoint{Single(B.X + size * c + size / 2 * s), Single(B.Y + size * s - size / 2 * c)};
}

void CalcArrowNotched(const TPoint& A, const TPoint& B, double Size, TFloatPoint (&T)[4]) {
  if (Size < 10) Size = 10;
  TFloatPoint t[3];
  CalcArrowTriangle(A, B, Size, t);
  std::copy(t, t + 3, T);
  CalcPointFromEnd(A, B, Integer(Round(Size / 2)), T[3]);
}

void CalcArrowChevron(const TPoint& A, const TPoint& B, Integer Distance, double Size, TFloatPoint (&T)[6]) {
  if (Size < 10) Size = 10;
  TFloatPoint outer[3];
  CalcArrowTriangle(A, B, Size, outer);
  TFloatPoint vf;
  CalcPointFromEnd(A, B, Distance, vf);
  const TPoint v = RoundPoint(vf);
  TFloatPoint inner[3];
  CalcArrowTriangle(A, v, Size / 2, inner);
  const TFloatPoint fv{Single(v.X), Single(v.Y)};
  T[0] = outer[0];
  T[1] = outer[1];
  T[2] = outer[2];
  T[4] = fv;
  CalcPerpendicularFoot(fv, inner[2], outer[2], T[3]);
  CalcPerpendicularFoot(fv, inner[0], outer[0], T[5]);
}
