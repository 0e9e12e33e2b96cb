// The numbers of the photo frames: the size and image offset of the framed
// picture, the bands of a drawn frame, the cut-out and outline shapes as
// path descriptions (arcs, lines, points, polygons, Bezier chains, ellipses),
// the layer rectangles of a layered frame and the mask frame's master alpha.
// The drawing code turns a description into a GDI+ path item by item.
//
// Round of an integer times a decimal constant of the frame rules (V x 2.55,
// Round(w x 0.32), Round(min(W, H) / 2 x V / 100) ...) is the exact product
// rounded half to even, computed as an integer fraction: binary floating
// point misses true halves (50 x 2.55 is 127.499... as a double). div
// truncates toward zero.
//
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

// Round(Num / Den) with halves to even, exactly; Den > 0.
Integer RoundFraction(Int64 Num, Int64 Den);

struct TFramePointF {
  Single X = 0, Y = 0;
  friend bool operator==(const TFramePointF&, const TFramePointF&) = default;
};

// One item of a path figure, in the order the figure is built.
struct TFramePathItem {
  enum TKind : Integer {
    Arc,      // the ellipse arc in the box (X, Y, W, H) from Start, sweeping Sweep degrees
    Line,     // a line Points[0] -> Points[1]
    Point,    // a plain corner: a line of no length at Points[0]
    Polygon,  // a closed polygon through Points
    Beziers,  // a cubic Bezier chain through Points (1 + 3n points)
    Ellipse,  // the ellipse in the box (X, Y, W, H)
    Rect,     // the rectangle (X, Y, W, H)
  };
  TKind Kind = Line;
  Single X = 0, Y = 0, W = 0, H = 0, Start = 0, Sweep = 0;
  std::vector<TFramePointF> Points;
};
using TFramePath = std::vector<TFramePathItem>;

// A band of a drawn frame: Rect filled with colour 1, 2 or 3.
struct TFrameBand {
  TRect Rect;
  Integer Color = 1;
  friend bool operator==(const TFrameBand&, const TFrameBand&) = default;
};

// Kind 0, the drawn frames (modes 1..10): the frame picture F, where the
// image goes in it, the colour F is filled with first, the bands painted on
// F in order, the cut-out whose pixels become transparent, and whether the
// cut-out's outline is drawn (anti-aliased, colour 2, width 1).
struct TFrame0Layout {
  Integer Width = 0, Height = 0;  // F and the framed picture
  Integer X0 = 0, Y0 = 0;         // the image's place
  Integer FillColor = 1;
  std::vector<TFrameBand> Bands;
  TFramePath CutOut;
  bool Outline = false;
  // Mode 7 with V1 > 0: the four outer margins, V1 wide, painted again in
  // colour 1 after F is drawn.
  std::vector<TRect> Margins;
};

// False (Layout untouched) for a mode outside 1..10 or an empty image.
bool Frame0Layout(Integer Mode, Integer W, Integer H, Integer V1, Integer V2, Integer V3, TFrame0Layout& Layout);

// Kind 1, the cut shapes (modes 1..16): the target is (W + 2 V1) x
// (H + 2 V1) with the image at (V1, V1); Shape is the one figure whose
// outside becomes transparent and which is outlined. False (Shape
// untouched) for a mode outside 1..16 or an empty image.
bool Frame1Shape(Integer Mode, Integer W, Integer H, Integer V1, Integer V2, TFramePath& Shape);

// Kind 2, the layered frames. One entry per row of the layer table, row 0
// innermost: cell 0 enabled, cells 10..13 the top, left, right and bottom
// widths.
struct TFrameLayerWidths {
  bool Enabled = false;
  Integer Top = 0, Left = 0, Right = 0, Bottom = 0;
};
struct TFrame2Layout {
  Integer Width = 0, Height = 0;  // the picture (W x H when every width is 0)
  Integer X0 = 0, Y0 = 0;
  // Per layer row: its outer rectangle; empty for disabled rows, rows past
  // the sixth enabled one and, when nothing is painted, every row.
  std::vector<TRect> Outer;
  // Rows painted, outermost first: enabled, among the first six enabled,
  // and not all four widths 0.
  std::vector<Integer> Painted;
};
// At most six enabled layers count: any after the sixth are ignored for the
// offsets, the rectangles and the painting.
inline constexpr Integer FrameMaxLayers = 6;
TFrame2Layout Frame2Layout(Integer W, Integer H, const std::vector<TFrameLayerWidths>& Layers);

// Kind 3: the colour layer's master alpha Round(V1 x 2.55).
Integer Frame3MasterAlpha(Integer V1);
