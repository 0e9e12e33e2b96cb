// Edge smoothing of a cut selection: the alias points (the region's corner
// pixels whose edges get soft), the two pictures a cut makes of the area
// around the selection (outside picture Z: the selected pixels made
// transparent; inside picture F: the others made transparent) and the
// complementary alpha ramps along each step of the edge.
//
// The ramps share each pixel's alpha between the two pictures: where the
// source pixel has alpha a, the outside picture takes v * a / 255 and the
// inside picture the rest, so pixels beside transparent ones never become
// more opaque than they were, and for an opaque picture the two alphas
// always add up to 255.
//
// Portable: no Windows header.
#pragma once

#include <vector>

#include "bitmap/Bmp32.h"
#include "document/Region.h"

enum class TAliasMode { Add, Subtract };

// Corner pixels of rectangles: for each, (L, T); when more than one pixel
// high also (L, B - Inclusive); when more than one pixel wide also
// (R - Inclusive, T), and for a taller one (R - Inclusive, B - Inclusive).
std::vector<TPoint> GetRectCorners(const std::vector<TRect>& Rects, Integer Inclusive);

// The alias points after Selection (the selection's region as it now is)
// was built, added to or subtracted from by RH.
//  - Subtract without anti-aliasing: the points still in Selection stay.
//  - Otherwise, with anti-aliasing, RH's inclusive corners are appended
//    (add), or their neighbours outside RH, left, right, top, bottom
//    (subtract: the new edge just outside the cut).
//  - Then the points are reduced to Selection's inclusive corners, in the
//    corners' order, each once.
void UpdateAliasPointList(std::vector<TPoint>& Alias, const TRegion& Selection, const TRegion& RH, TAliasMode Mode,
                          bool IsAntialiasing);

// The area a cut works on: the region's box grown by one pixel on every
// side, clipped to Bounds.
TRect CutArea(const TRegion& Region, const TRect& Bounds);
// Z and F become copies of Src's Area; inside the region Z's pixels, and
// outside it F's, become $00FFFFFF.
void SplitSelectionPictures(TCustomBitmap32* Src, const TRegion& Region, const TRect& Area, TCustomBitmap32* Z,
                            TCustomBitmap32* F);

// Smooths the edge of the two pictures (of one size) at the alias points;
// (DX, DY) is the pictures' top-left in image pixels. Nothing without
// alias points.
void AntiAliasing(TCustomBitmap32* Z, TCustomBitmap32* F, const std::vector<TPoint>& AliasPoints, Integer DX,
                  Integer DY);
