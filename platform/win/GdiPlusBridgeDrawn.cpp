// What a DC surface's drawing calls can touch. Every drawing slot records,
// before it draws, the device bounds of its geometry grown by its pen and
// two pixels of smoothing (the calls without a cheap bound record the whole
// surface); the release composes only there (platform/GdiPlusBridge.h).
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/GdiPlusStatus.h"
#include "platform/win/GdiPlusBridgeParts.h"

namespace gdipflat::bridge {

namespace {

void MarkAll(GpGraphics* G) { AddDrawn(G, nullptr); }

// Records the world-space box (X0, Y0)-(X1, Y1) grown by Margin device
// pixels (before the world transform's scale).
void MarkBox(GpGraphics* G, double X0, double Y0, double X1, double Y1, double Margin) {
  REAL e[6] = {1, 0, 0, 1, 0, 0};
  GpMatrix* m = nullptr;
  if (Gp.GdipCreateMatrix(&m) == Ok) {
    Gp.GdipGetWorldTransform(G, m);
    Gp.GdipGetMatrixElements(m, e);
    Gp.GdipDeleteMatrix(m);
  }
  const double scale = std::sqrt(std::fabs(double(e[0]) * e[3] - double(e[1]) * e[2]));
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (double x : {X0, X1})
    for (double y : {Y0, Y1}) {
      const double dx = x * e[0] + y * e[2] + e[4], dy = x * e[1] + y * e[3] + e[5];
      lo[0] = std::min(lo[0], dx), lo[1] = std::min(lo[1], dy), hi[0] = std::max(hi[0], dx), hi[1] = std::max(hi[1], dy);
    }
  const double grow = Margin * (scale > 0 ? scale : 1) + 2;
  if (!(std::isfinite(lo[0]) && std::isfinite(lo[1]) && std::isfinite(hi[0]) && std::isfinite(hi[1]) &&
        std::isfinite(grow))) {
    MarkAll(G);
    return;
  }
  auto clampPixel = [](double V) { return LONG(std::clamp(V, -1e9, 1e9)); };
  const RECT r{clampPixel(std::floor(lo[0] - grow)), clampPixel(std::floor(lo[1] - grow)),
               clampPixel(std::ceil(hi[0] + grow)) + 1, clampPixel(std::ceil(hi[1] + grow)) + 1};
  AddDrawn(G, &r);
}

// How far a pen reaches beyond its geometry: half its width times the miter
// limit for joins, a width for caps.
double Reach(GpPen* P) {
  REAL w = 1, miter = 10;
  if (P != nullptr) {
    Gp.GdipGetPenWidth(P, &w);
    Gp.GdipGetPenMiterLimit(P, &miter);
  }
  return double(w) * (std::max(double(miter), 2.0) / 2 + 2);
}
double Reach(GpBrush*) { return 0; }
double Reach(GpImage*) { return 0; }

template <class Tool, class V>
void MarkRectCall(GpGraphics* G, Tool* T, V X, V Y, V W, V H) {
  MarkBox(G, double(X), double(Y), double(X) + double(W), double(Y) + double(H), Reach(T));
}

template <class Tool, class V>
void MarkLineCall(GpGraphics* G, Tool* T, V X1, V Y1, V X2, V Y2) {
  MarkBox(G, std::min(double(X1), double(X2)), std::min(double(Y1), double(Y2)), std::max(double(X1), double(X2)),
          std::max(double(Y1), double(Y2)), Reach(T));
}

template <class Tool, class P, class... Extra>
void MarkPointsCall(GpGraphics* G, Tool* T, const P* Pts, INT Count, Extra...) {
  if (Pts == nullptr || Count <= 0) return;
  double x0 = Pts[0].X, y0 = Pts[0].Y, x1 = x0, y1 = y0;
  for (INT i = 1; i < Count; ++i) {
    x0 = std::min(x0, double(Pts[i].X)), y0 = std::min(y0, double(Pts[i].Y));
    x1 = std::max(x1, double(Pts[i].X)), y1 = std::max(y1, double(Pts[i].Y));
  }
  MarkBox(G, x0, y0, x1, y1, Reach(T));
}

template <class Tool>
void MarkPathCall(GpGraphics* G, Tool* T, GpPath* Path) {
  GpRectF b{};
  if (Path == nullptr || Gp.GdipGetPathWorldBounds(Path, &b, nullptr, nullptr) != Ok) {
    MarkAll(G);
    return;
  }
  MarkBox(G, b.X, b.Y, double(b.X) + b.Width, double(b.Y) + b.Height, Reach(T));
}

// One drawing slot with its recorder (nil: the whole surface).
template <int N, class Sig>
struct TDrawingSlot;
template <int N, class... A>
struct TDrawingSlot<N, GpStatus (*)(GpGraphics*, A...)> {
  static inline GpStatus (*Next)(GpGraphics*, A...) = nullptr;
  static inline void (*Mark)(GpGraphics*, A...) = nullptr;
  static GpStatus Call(GpGraphics* G, A... Args) {
    if (G != nullptr) {
      if (Mark)
        Mark(G, Args...);
      else
        MarkAll(G);
    }
    return Next(G, Args...);
  }
};

template <int N, class F, class M = std::nullptr_t>
void RecordDrawing(F& Slot, M Mark = nullptr) {
  using S = TDrawingSlot<N, F>;
  S::Next = Slot;
  S::Mark = Mark;
  Slot = &S::Call;
}

}  // namespace

void InstallDrawingRecorders() {
#define LUMIGRA_RECORD(Name, ...) RecordDrawing<__COUNTER__>(Api.Name __VA_OPT__(, ) __VA_ARGS__)
  LUMIGRA_RECORD(GdipFillPath, &MarkPathCall<GpBrush>);
  LUMIGRA_RECORD(GdipDrawPath, &MarkPathCall<GpPen>);
  LUMIGRA_RECORD(GdipFillRectangle, &MarkRectCall<GpBrush, REAL>);
  LUMIGRA_RECORD(GdipFillRectangleI, &MarkRectCall<GpBrush, INT>);
  LUMIGRA_RECORD(GdipFillEllipse, &MarkRectCall<GpBrush, REAL>);
  LUMIGRA_RECORD(GdipFillEllipseI, &MarkRectCall<GpBrush, INT>);
  LUMIGRA_RECORD(GdipDrawRectangle, &MarkRectCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawRectangleI, &MarkRectCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipDrawEllipse, &MarkRectCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawEllipseI, &MarkRectCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipDrawImageRect, &MarkRectCall<GpImage, REAL>);
  LUMIGRA_RECORD(GdipDrawImageRectI, &MarkRectCall<GpImage, INT>);
  LUMIGRA_RECORD(GdipDrawLine, &MarkLineCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawLineI, &MarkLineCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipFillPolygon, &MarkPointsCall<GpBrush, GpPointF, INT>);
  LUMIGRA_RECORD(GdipFillPolygonI, &MarkPointsCall<GpBrush, GpPoint, INT>);
  LUMIGRA_RECORD(GdipDrawPolygon, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawPolygonI, &MarkPointsCall<GpPen, GpPoint>);
  LUMIGRA_RECORD(GdipDrawLines, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawLinesI, &MarkPointsCall<GpPen, GpPoint>);
  LUMIGRA_RECORD(GdipDrawBeziers, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawBeziersI, &MarkPointsCall<GpPen, GpPoint>);
  // Arcs, pies, curves, regions, text, unsized images, clearing: the whole
  // surface.
  LUMIGRA_RECORD(GdipDrawArc);
  LUMIGRA_RECORD(GdipDrawArcI);
  LUMIGRA_RECORD(GdipDrawBezier);
  LUMIGRA_RECORD(GdipDrawBezierI);
  LUMIGRA_RECORD(GdipDrawPie);
  LUMIGRA_RECORD(GdipDrawPieI);
  LUMIGRA_RECORD(GdipDrawCurve);
  LUMIGRA_RECORD(GdipDrawCurveI);
  LUMIGRA_RECORD(GdipDrawCurve2);
  LUMIGRA_RECORD(GdipDrawCurve2I);
  LUMIGRA_RECORD(GdipDrawClosedCurve);
  LUMIGRA_RECORD(GdipDrawClosedCurveI);
  LUMIGRA_RECORD(GdipGraphicsClear);
  LUMIGRA_RECORD(GdipFillPie);
  LUMIGRA_RECORD(GdipFillPieI);
  LUMIGRA_RECORD(GdipFillRegion);
  LUMIGRA_RECORD(GdipDrawString);
  LUMIGRA_RECORD(GdipDrawImage);
  LUMIGRA_RECORD(GdipDrawImageI);
#undef LUMIGRA_RECORD
}

}  // namespace gdipflat::bridge
