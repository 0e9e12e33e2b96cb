// The paint tools' stroke geometry: the dab positions along a segment, the
// Shift lock's axis, the brush's spacing and margin. Portable: no Windows
// header.
#pragma once

#include <vector>

#include "rtl/System.h"

// The dab positions from (X0, Y0) to (X, Y), both ends included: straight
// runs along an axis, otherwise one dab per column (flat segments) or per
// row (steep ones) with the other coordinate from the slope as Single,
// rounded half to even.
std::vector<TPoint> StrokeLinePoints(Integer X0, Integer Y0, Integer X, Integer Y);

// The Shift lock's axis for a pointer at P after a press at Down: 0 while
// P is closer than 5 pixels, 1 horizontal (angles above 315, below 45 or
// between 135 and 225), else 2 vertical.
Integer ShiftLockDirection(const TPoint& Down, const TPoint& P);

// The least distance between two dabs: Cell9 when the row's spacing is
// fixed, else Width div Cell9 + Cell10; a divisor of 0 or below gives
// max(Cell10, 0).
Integer BrushStep(bool FixedSpacing, Integer Cell9, Integer Cell10, Integer Width);
// The tip's margin on every side: Round(Width x 0.3) for style 1, else 0.
Integer BrushOffset(Integer StyleIndex, Integer Width);
// Whether a dab at P keeps the step from the last dab (Last.X =
// UnsetPosition: no dab yet).
bool DabFarEnough(const TPoint& Last, const TPoint& P, Integer Step);
