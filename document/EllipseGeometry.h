// The geometry of the ellipse object's arc styles (1 arc, 2 chord, 3 pie):
// the two arc ends kept as fractions of the box and placed on the outline,
// the sweep between them, the drag of an end, the text of the row and the
// hit test against the outline polygons the drawing leaves. Portable: no
// Windows header; TimgEllipse (document/win/ImageEllipse.h) draws them.
#pragma once

#include <vector>

#include "document/DuVura.h"

struct TArcEnds {
  std::vector<Single> RX, RY;  // place in the box; RY at least 0.5: lower half
  TArrayOfGPPoint Points;       // on the outline, image coordinates (unrotated)
};

// 2 for styles 1..3, else 0.
Integer EllipseEndCount(Integer StyleId);
// The default ends of a new arc: end 1 lower right (0.85, 0.85), end 2
// upper left (0.35, 0.03).
void EllipseInitEnds(Integer StyleId, TArcEnds& E);
// Each end on the outline: X = Round(width x RX), Y = Trunc(height div 2
// +/- the half chord at X).
void EllipseCalcEnds(const TRect& Box, TArcEnds& E);
// The sweep from A1 clockwise to A2: A2 - A1, or 360 - (A1 - A2); 0 for
// equal angles.
Single EllipseSweep(Single A1, Single A2);
// The two angles of the ends from the centre.
void EllipseEndAngles(const TArcEnds& E, const TFloatPoint& Centre, Single& A1, Single& A2);
// End J dragged to P (image coordinates, the box turned by Angle about
// Centre): its fractions from P turned back, each kept within 0..1 (0 along
// an empty extent). The caller then places the ends with EllipseCalcEnds.
void EllipseDragEnd(Integer J, const TPoint& P, const TRect& Box, const TFloatPoint& Centre, Single Angle,
                    TArcEnds& E);
// "X1.X2.Y1.Y2" (empty for no ends).
String EllipseEndsText(const TArcEnds& E);
// The ends of such a text, fractions from Box; a text that does not parse
// or holds another count than the style has gives the default ends placed
// on the outline. False when the text was not used.
bool EllipseSetEndsText(const String& Text, Integer StyleId, const TRect& Box, TArcEnds& E);

struct TEllipseHitInput {
  TRect Box;
  TFloatPoint Centre;
  Single Angle = 0;
  Integer OutWidth = 0;
  bool FilledTest = false;             // filled or with a gradient: the area
  const TArrayOfGPPoint* Area = nullptr;  // outline of the path
  const TArrayOfGPPoint* Band = nullptr;  // outline of the widened path
};
// The point turned back by -Angle, inside the box grown by OutWidth div 2
// and inside the area or band polygon (even-odd).
bool EllipseHitTest(const TEllipseHitInput& In, const TPoint& P);
