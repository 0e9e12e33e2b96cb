// The bridge's path workarounds: widening (libgdiplus only flattens), the
// winding outline (a stub there) and ellipses in GDI+'s direction.
#include <cmath>
#include <vector>

#include "platform/GdiPlusStroker.h"
#include "platform/GdiPlusStatus.h"
#include "platform/win/GdiPlusBridgeParts.h"

namespace gdipflat::bridge {

namespace {

// GdipWidenPath: libgdiplus only flattens. Flatten a copy (with the matrix),
// stroke its figures with the pen, and replace the path by the stroke's
// polygons (filled with the winding rule, their union is the pen's area).
GpStatus BridgeWidenPath(GpPath* Path, GpPen* Pen, GpMatrix* Matrix, REAL Flatness) {
  if (Path == nullptr || Pen == nullptr) return InvalidParameter;
  const double flat = Flatness > 0 ? Flatness : 0.25;
  GpPath* copy = nullptr;
  GpStatus st = Gp.GdipClonePath(Path, &copy);
  if (st != Ok) return st;
  std::vector<TStrokeFigure> figures;
  st = Gp.GdipFlattenPath(copy, Matrix, REAL(flat));
  INT n = 0;
  if (st == Ok) st = Gp.GdipGetPointCount(copy, &n);
  std::vector<GpPointF> pts(size_t(n > 0 ? n : 0));
  std::vector<BYTE> types(pts.size());
  if (st == Ok && n > 0) st = Gp.GdipGetPathPoints(copy, pts.data(), n);
  if (st == Ok && n > 0) st = Gp.GdipGetPathTypes(copy, types.data(), n);
  Gp.GdipDeletePath(copy);
  if (st != Ok) return st;
  for (INT i = 0; i < n; ++i) {
    if ((types[size_t(i)] & 0x07) == 0 || figures.empty()) figures.emplace_back();
    figures.back().Points.push_back({pts[size_t(i)].X, pts[size_t(i)].Y});
    if (types[size_t(i)] & 0x80) figures.back().Closed = true;
  }

  TStrokePen pen;
  REAL width = 1, miter = 10, offset = 0;
  INT startCap = 0, endCap = 0, dashCap = 0, join = 0, dashStyle = 0;
  Gp.GdipGetPenWidth(Pen, &width);
  Gp.GdipGetPenStartCap(Pen, &startCap);
  Gp.GdipGetPenEndCap(Pen, &endCap);
  Gp.GdipGetPenDashCap197819(Pen, &dashCap);
  Gp.GdipGetPenLineJoin(Pen, &join);
  Gp.GdipGetPenMiterLimit(Pen, &miter);
  Gp.GdipGetPenDashStyle(Pen, &dashStyle);
  Gp.GdipGetPenDashOffset(Pen, &offset);
  // The pen transform scales the width by its mean scale factor.
  double scale = 1;
  GpMatrix* pm = nullptr;
  if (Gp.GdipCreateMatrix(&pm) == Ok) {
    REAL e[6] = {1, 0, 0, 1, 0, 0};
    if (Gp.GdipGetPenTransform(Pen, pm) == Ok && Gp.GdipGetMatrixElements(pm, e) == Ok)
      scale = std::sqrt(std::fabs(double(e[0]) * e[3] - double(e[1]) * e[2]));
    Gp.GdipDeleteMatrix(pm);
  }
  pen.Width = double(width) * (scale > 0 ? scale : 1);
  pen.StartCap = startCap;
  pen.EndCap = endCap;
  pen.DashCap = dashCap;
  pen.LineJoin = join;
  pen.MiterLimit = miter;
  pen.DashOffset = offset;
  if (dashStyle == 5) {
    INT count = 0;
    Gp.GdipGetPenDashCount(Pen, &count);
    std::vector<REAL> d(size_t(count > 0 ? count : 0));
    if (count > 0 && Gp.GdipGetPenDashArray(Pen, d.data(), count) == Ok) pen.Dashes.assign(d.begin(), d.end());
  } else {
    pen.Dashes = DashPatternOfStyle(dashStyle);
  }

  const auto polys = StrokeFigures(figures, pen, flat);
  st = Gp.GdipResetPath(Path);
  if (st != Ok) return st;
  Gp.GdipSetPathFillMode(Path, 1);
  std::vector<GpPointF> poly;
  for (const auto& p : polys) {
    poly.clear();
    for (const TStrokePoint& q : p) poly.push_back({REAL(q.X), REAL(q.Y)});
    Gp.GdipAddPathPolygon(Path, poly.data(), INT(poly.size()));
  }
  return Ok;
}

// GdipWindingModeOutline: libgdiplus flattens and returns NotImplemented.
// Flatten a copy (with the matrix) and replace the path by the outline of
// the area its figures cover under the winding rule.
GpStatus BridgeWindingModeOutline(GpPath* Path, GpMatrix* Matrix, REAL Flatness) {
  if (Path == nullptr) return InvalidParameter;
  GpPath* copy = nullptr;
  GpStatus st = Gp.GdipClonePath(Path, &copy);
  if (st != Ok) return st;
  st = Gp.GdipFlattenPath(copy, Matrix, Flatness > 0 ? Flatness : 0.25f);
  INT n = 0;
  if (st == Ok) st = Gp.GdipGetPointCount(copy, &n);
  std::vector<GpPointF> pts(size_t(n > 0 ? n : 0));
  std::vector<BYTE> types(pts.size());
  if (st == Ok && n > 0) st = Gp.GdipGetPathPoints(copy, pts.data(), n);
  if (st == Ok && n > 0) st = Gp.GdipGetPathTypes(copy, types.data(), n);
  Gp.GdipDeletePath(copy);
  if (st != Ok) return st;
  std::vector<TStrokeFigure> figures;
  for (INT i = 0; i < n; ++i) {
    if ((types[size_t(i)] & 0x07) == 0 || figures.empty()) figures.emplace_back();
    figures.back().Points.push_back({pts[size_t(i)].X, pts[size_t(i)].Y});
  }
  std::vector<std::vector<TStrokePoint>> loops;
  try {
    loops = WindingOutline(figures);
  } catch (...) {
    return OutOfMemory;
  }
  st = Gp.GdipResetPath(Path);
  if (st != Ok) return st;
  Gp.GdipSetPathFillMode(Path, 1);
  std::vector<GpPointF> poly;
  for (const auto& l : loops) {
    poly.clear();
    for (const TStrokePoint& q : l) poly.push_back({REAL(q.X), REAL(q.Y)});
    Gp.GdipAddPathPolygon(Path, poly.data(), INT(poly.size()));
  }
  return Ok;
}


// GdipAddPathEllipse: libgdiplus adds the ellipse counter-clockwise on the
// screen, GDI+ clockwise (like its rectangles), so an ellipse and a polygon
// in one winding path would cancel where they overlap. The bridge adds the
// library's ellipse reversed: same start point, GDI+'s direction.
GpStatus (*LibAddPathEllipse)(GpPath*, REAL, REAL, REAL, REAL) = nullptr;

GpStatus BridgeAddPathEllipse(GpPath* Path, REAL X, REAL Y, REAL W, REAL H) {
  if (Path == nullptr) return InvalidParameter;
  GpPath* tmp = nullptr;
  GpStatus st = Gp.GdipCreatePath(0, &tmp);
  if (st != Ok) return st;
  st = LibAddPathEllipse(tmp, X, Y, W, H);
  if (st == Ok) st = Gp.GdipReversePath(tmp);
  if (st == Ok) st = Gp.GdipAddPathPath(Path, tmp, 0);
  Gp.GdipDeletePath(tmp);
  return st;
}

GpStatus BridgeAddPathEllipseI(GpPath* Path, INT X, INT Y, INT W, INT H) {
  return BridgeAddPathEllipse(Path, REAL(X), REAL(Y), REAL(W), REAL(H));
}

}  // namespace

void InstallPaths() {
  Api.GdipWidenPath = BridgeWidenPath;
  Api.GdipWindingModeOutline = BridgeWindingModeOutline;
  LibAddPathEllipse = Api.GdipAddPathEllipse;
  Api.GdipAddPathEllipse = BridgeAddPathEllipse;
  Api.GdipAddPathEllipseI = BridgeAddPathEllipseI;
}

}  // namespace gdipflat::bridge
