// The photo frames' shapes on GDI+: a path description (FrameGeometry.h)
// turned into a GDI+ path, and the pixels whose point lies inside a path.
//
// "Is the pixel's point (x, y) inside the path's region" for every pixel of
// a large picture would take minutes of region tests. TFramePathMask finds
// the same pixels in one pass over the picture's rows: the path is
// flattened into polygons and each row's integer point line is crossed with
// their edges (even-odd, as GDI+ fills a path), giving the runs of points
// inside. A point on the outline counts as inside on the left and top edges
// and as outside on the right and bottom ones (a rectangle (X, Y, W, H)
// holds the points X .. X + W - 1).
//
// (A fill without smoothing into a scratch bitmap would do the same in
// principle, but libgdiplus's rasteriser does not sample a pixel at one
// point: it takes pixels the fill only grazes on the right and bottom
// edges, a column or row more than the region holds.)
// Winelib only.
#pragma once

#include <utility>
#include <vector>

#include "bitmap/Bmp32.h"
#include "document/FrameGeometry.h"
#include "gdiplus/win/GdiPlus.h"

// One GDI+ path of the description's items, in order: arcs, lines and plain
// corners make one closed figure; polygons, Bezier chains, ellipses and
// rectangles are closed figures of their own.
IGPGraphicsPath FramePathToGP(const TFramePath& Path);

class TFramePathMask {
 public:
  // The pixels of a Width x Height picture whose point lies inside Path.
  TFramePathMask(const IGPGraphicsPath& Path, Integer Width, Integer Height);
  // The part of the picture the path can reach; no pixel outside it is
  // inside.
  const TRect& Box() const { return FBox; }
  bool Inside(Integer X, Integer Y) const;
  // The runs [first, last) of inside points on row Y, left to right.
  const std::vector<std::pair<Integer, Integer>>& Runs(Integer Y) const;

 private:
  TRect FBox;
  std::vector<std::vector<std::pair<Integer, Integer>>> FRuns;  // per row of Box
};

// Every pixel of B inside the mask gets alpha 0 (its colour stays).
void ClearAlphaInRegion(TCustomBitmap32* B, const TFramePathMask& Mask);
// Every pixel of B outside the mask becomes Color.
void ClearOutsideRegion(TCustomBitmap32* B, const TFramePathMask& Mask, TColor32 Color);
