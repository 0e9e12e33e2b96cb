// The geometry of the rectangle object's twelve outlines (by style number):
// 0 rectangle, 1 rounded, 2 ellipse, 3 octagon, 4 and 5 cut corners, 6 and
// 7 rounded corner pairs, 8 and 9 parallelograms, 10 and 11 trapezoids.
// Its one or two extra handles slide along the box's edges and are kept as
// ratios of the box. Portable: no Windows header; TImgRectangle
// (document/win/ImageRectangle.h) draws what these describe.
#pragma once

#include <array>

#include "document/DuVura.h"

struct TRectHandles {
  Integer Count = 0;
  TArrayOfSingle RX, RY;    // fractions of the box's width and height
  TArrayOfGPPoint Points;   // image coordinates of the unrotated box
  Integer CheckCount = 0;   // corners of the outline polygon (3..5: 8, 8..11: 4)
};

// The handle count, initial ratios and check-point count of an outline;
// IsDrawStyle gives the style list's preview ratios.
void RectInitPoints(Integer StyleId, bool IsDrawStyle, TRectHandles& H);
// Each handle at (Round(width x RX) + Left, Round(height x RY) + Top).
void RectCalcPoints(const TRect& Box, TRectHandles& H);
// The ratio of V along an extent; 0 for an empty extent.
Single RectRatio(Integer V, Integer Origin, Integer Extent);
// Extra handle I dragged to P (box coordinates): outline 3's first handle
// sets its vertical ratio, every other one its horizontal ratio; outlines 3
// and 8..11 clamped.
void RectAdjustHandle(Integer StyleId, Integer I, const TRect& Box, const TPoint& P, TRectHandles& H);
// The clamps of outlines 1 and 4..7 by the box's shorter side.
void RectClampHandles(Integer StyleId, const TRect& Box, TRectHandles& H);
// Shift on a corner handle: a square on the larger side, the opposite
// corner kept.
void RectMakeSquare(Integer Handle, TRect& Box);

enum class TRectPathKind { Rectangle, Ellipse, Rounded, Polygon };

struct TRectOutline {
  TRectPathKind Kind = TRectPathKind::Rectangle;
  TRect Q;                          // (x, y, width, height) in Left..Bottom
  std::array<Integer, 4> Corners{}; // arc diameters: top-left, top-right, bottom-right, bottom-left
  Integer FR = 0, FR2 = 0;          // the two corner diameters of outlines 1, 6, 7
  TArrayOfGPPoint Polygon;          // outlines 3..5 and 8..11
};

// The outline of a box (HasOutline: an outline pen is drawn).
TRectOutline RectBuildOutline(Integer StyleId, const TRect& Box, const TRectHandles& H, bool HasOutline);
// The ellipse of the radial fill: grown around Centre from Q by 10 pixels a
// side per step until the box's top-left corner lies inside; (x, y, w, h).
TFloatRect RectRadialEllipse(const TRect& Q, const TFloatPoint& Centre, const TRect& Box);

struct TRectHitInput {
  Integer StyleId = 0;
  TRect Box;
  TFloatPoint Centre;
  Single Angle = 0;
  bool Filled = false;
  Integer OutWidth = 0;
  Integer FR = 0, FR2 = 0;
  const TArrayOfGPPoint* Check = nullptr;
};
bool RectHitTest(const TRectHitInput& In, const TPoint& P);

// "X.X.Y.Y" of the handles.
String RectHandlesText(const TRectHandles& H);
// The handles from such a text; a text that does not parse, or holds
// another number of handles than the outline has, gives the outline's
// initial handles.
void RectSetHandlesText(const String& Text, Integer StyleId, const TRect& Box, TRectHandles& H);
