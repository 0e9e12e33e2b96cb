#include "document/PaintStroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "document/CalloutGeometry.h"
#include "document/DuVura.h"
#include "document/ShapeTypes.h"

std::vector<TPoint> StrokeLinePoints(Integer X0, Integer Y0, Integer X, Integer Y) {
  std::vector<TPoint> p;
  auto step = [](Integer From, Integer To) { return To >= From ? 1 : -1; };
  if (X == X0) {
    for (Integer y = Y0;; y += step(Y0, Y)) {
      p.push_back(TPoint(X, y));
      if (y == Y) break;
    }
  } else if (Y == Y0) {
    for (Integer x = X0;; x += step(X0, X)) {
      p.push_back(TPoint(x, Y));
      if (x == X) break;
    }
  } else {
    const Single k = Single(Y - Y0) / Single(X - X0);
    if (std::abs(Y - Y0) < std::abs(X - X0)) {
      for (Integer x = X0;; x += step(X0, X)) {
        p.push_back(TPoint(x, Integer(std::nearbyint(k * Single(x - X0))) + Y0));
        if (x == X) break;
      }
    } else {
      for (Integer y = Y0;; y += step(Y0, Y)) {
        p.push_back(TPoint(Integer(std::nearbyint(Single(y - Y0) / k)) + X0, y));
        if (y == Y) break;
      }
    }
  }
  return p;
}

Integer ShiftLockDirection(const TPoint& Down, const TPoint& P) {
  if (CalcDistance(Down, P) < 5) return 0;
  const Single a = CalcVectorAngle(P.X, P.Y, Single(Down.X), Single(Down.Y));
  return (a > 315 || a < 45 || (a > 135 && a < 225)) ? 1 : 2;
}

Integer BrushStep(bool FixedSpacing, Integer Cell9, Integer Cell10, Integer Width) {
  if (FixedSpacing) return Cell9;
  if (Cell9 <= 0) return std::max(Cell10, 0);
  return Width / Cell9 + Cell10;
}

Integer BrushOffset(Integer StyleIndex, Integer Width) { return StyleIndex == 1 ? RoundRatio(Width, 3, 10) : 0; }

bool DabFarEnough(const TPoint& Last, const TPoint& P, Integer Step) {
  return Last.X == UnsetPosition || CalcDistance(Last, P) >= Single(Step);
}
