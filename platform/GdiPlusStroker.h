// The stroker behind GdipWidenPath (libgdiplus only flattens there): turns
// flattened figures and a pen into filled polygons whose union, filled with
// the winding rule, is the area the pen covers. Plain geometry; no GDI+.
#pragma once

#include <vector>

namespace gdipflat {

struct TStrokePoint {
  double X, Y;
};

struct TStrokeFigure {
  std::vector<TStrokePoint> Points;
  bool Closed = false;
};

struct TStrokePen {
  double Width = 1;
  int StartCap = 0;  // LineCap: 0 flat, 1 square, 2 round, 3 triangle; others as flat
  int EndCap = 0;
  int DashCap = 0;  // cap at the inner ends of dashes
  int LineJoin = 0;  // 0 miter, 1 bevel, 2 round, 3 miter-clipped
  double MiterLimit = 10;
  std::vector<double> Dashes;  // on, off, ... in pen widths; empty = solid
  double DashOffset = 0;       // in pen widths
};

// Polygons (each closed, all of positive orientation) covering the stroke.
// Flatness bounds the chord error of round joins and caps.
std::vector<std::vector<TStrokePoint>> StrokeFigures(const std::vector<TStrokeFigure>& Figures, const TStrokePen& Pen,
                                                     double Flatness);

// The dash pattern of a dash style (1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot).
std::vector<double> DashPatternOfStyle(int Style);

}  // namespace gdipflat

namespace gdipflat {

// The outline of the area the figures cover under the winding rule: closed
// loops with no inner edges (the edges between covered and uncovered area),
// each loop with the covered area on the same side.
std::vector<std::vector<TStrokePoint>> WindingOutline(const std::vector<TStrokeFigure>& Figures);

}  // namespace gdipflat
