// TRegion: a set of pixels held as a banded list of rectangles, the form
// in which the selection, undo, saved selections and the fill and wand tools
// keep areas of the image.
//
// Banded form: the rectangles are sorted into bands from top to bottom; all
// rectangles of a band share Top and Bottom and lie left to right without
// overlapping; two bands that touch vertically never hold the same columns
// (they would be one band). Rectangles of a band touch only where a
// polygon's edges cross a row at the same column (the spans on both sides
// stay apart, as in gdi32) and in what an operation copies unchanged from
// such a polygon. The rectangle lists are the ones gdi32 regions give for
// the same operations (CreateRectRgn, CreatePolygonRgn with WINDING,
// CombineRgn, OffsetRgn, ExtCreateRegion with a scaling transform,
// GetRegionData); the tests compare them.
//
// A pixel (x, y) is the unit square whose top-left corner is the point
// (x, y). A polygon holds the pixels whose corner point lies inside it by
// the winding rule, its left and top edges included, right and bottom
// excluded.
//
// Cost: a region operation walks both rectangle lists once; building from
// rectangles or runs sorts them (n log n); a point test is two binary
// searches.
//
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

// One row run of pixels: columns X0 .. X1 - 1 of row Y.
struct TRegionRun {
  Integer Y = 0;
  Integer X0 = 0;
  Integer X1 = 0;
};

class TRegion {
 public:
  TRegion() = default;
  // The rectangle's pixels (none when it is empty).
  explicit TRegion(const TRect& R);

  // The pixels inside the closed polygon through the points (winding rule).
  static TRegion Polygon(const TPoint* Points, size_t Count);
  static TRegion Polygon(const std::vector<TPoint>& Points) { return Polygon(Points.data(), Points.size()); }
  // The union of rectangles in any order (empty ones ignored).
  static TRegion FromRects(const TRect* Rects, size_t Count);
  static TRegion FromRects(const std::vector<TRect>& Rects) { return FromRects(Rects.data(), Rects.size()); }
  // The union of runs in any order (empty ones ignored); runs in row order,
  // left to right, are taken without sorting.
  static TRegion FromRuns(std::vector<TRegionRun> Runs);

  bool Empty() const { return FRects.empty(); }
  // The smallest rectangle holding every pixel; (0, 0, 0, 0) when empty.
  const TRect& Box() const { return FBox; }
  // The banded rectangle list.
  const std::vector<TRect>& Rects() const { return FRects; }
  Int64 PixelCount() const;
  bool Contains(Integer X, Integer Y) const;
  bool Contains(const TPoint& P) const { return Contains(P.X, P.Y); }

  void Offset(Integer DX, Integer DY);
  // Every rectangle's edges multiplied by Scale and rounded (halves away
  // from minus infinity, as gdi32 rounds), then united.
  TRegion Scaled(double Scale) const;
  void Clear();

  friend bool operator==(const TRegion& A, const TRegion& B) { return A.FRects == B.FRects; }

 private:
  friend class TRegionBuilder;
  friend TRegion Combine(const TRegion& A, const TRegion& B, int Op);
  void SetRects(std::vector<TRect> Rects);

  std::vector<TRect> FRects;
  TRect FBox;
};

TRegion Union(const TRegion& A, const TRegion& B);
TRegion Difference(const TRegion& A, const TRegion& B);
TRegion Intersection(const TRegion& A, const TRegion& B);
