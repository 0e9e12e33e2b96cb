#include "document/win/FramePaths.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<TGPPointF> GPPoints(const std::vector<TFramePointF>& P) {
  std::vector<TGPPointF> v;
  v.reserve(P.size());
  for (const TFramePointF& p : P) v.push_back(TGPPointF{p.X, p.Y});
  return v;
}

}  // namespace

IGPGraphicsPath FramePathToGP(const TFramePath& Path) {
  IGPGraphicsPath gp(new TGPGraphicsPath());
  bool open = false;  // a figure of arcs, lines and corners is being built
  auto closeChain = [&] {
    if (open) gp->CloseFigure();
    open = false;
  };
  for (const TFramePathItem& it : Path) {
    switch (it.Kind) {
      case TFramePathItem::Arc:
        gp->AddArc(it.X, it.Y, it.W, it.H, it.Start, it.Sweep);
        open = true;
        break;
      case TFramePathItem::Line:
        if (it.Points.size() >= 2) {
          gp->AddLine(it.Points[0].X, it.Points[0].Y, it.Points[1].X, it.Points[1].Y);
          open = true;
        }
        break;
      case TFramePathItem::Point:
        if (!it.Points.empty()) {
          gp->AddLine(it.Points[0].X, it.Points[0].Y, it.Points[0].X, it.Points[0].Y);
          open = true;
        }
        break;
      case TFramePathItem::Polygon:
        closeChain();
        if (it.Points.size() >= 3) gp->AddPolygon(GPPoints(it.Points));
        break;
      case TFramePathItem::Beziers:
        closeChain();
        if (it.Points.size() >= 4) {
          gp->StartFigure();
          gp->AddBeziers(GPPoints(it.Points));
          gp->CloseFigure();
        }
        break;
      case TFramePathItem::Ellipse:
        closeChain();
        gp->AddEllipse(it.X, it.Y, it.W, it.H);
        break;
      case TFramePathItem::Rect:
        closeChain();
        gp->AddRectangle(MakeGPRectF(it.X, it.Y, it.W, it.H));
        break;
    }
  }
  closeChain();
  return gp;
}

TFramePathMask::TFramePathMask(const IGPGraphicsPath& Path, Integer Width, Integer Height) {
  if (Path->GetPointCount() == 0 || Width <= 0 || Height <= 0) return;
  IGPGraphicsPath flat = Path->Clone();
  flat->Flatten(nullptr, 0.05f);
  IGPArray<TGPPointF> points = flat->GetPathPoints();
  IGPArray<Byte> types = flat->GetPathTypes();
  // The closed polygons' edges, each figure closed back to its start.
  struct TEdge {
    Double X0, Y0, X1, Y1;
  };
  std::vector<TEdge> edges;
  Double top = 1e300, bottom = -1e300, left = 1e300, right = -1e300;
  const Integer n = points->GetCount();
  for (Integer i = 0; i < n;) {
    Integer j = i + 1;
    while (j < n && (types->GetItem(j) & 7) != 0) ++j;  // up to the next figure's start
    for (Integer k = i; k < j; ++k) {
      const TGPPointF a = points->GetItem(k), b = points->GetItem(k + 1 < j ? k + 1 : i);
      edges.push_back({a.X, a.Y, b.X, b.Y});
      top = std::min(top, Double(a.Y));
      bottom = std::max(bottom, Double(a.Y));
      left = std::min(left, Double(a.X));
      right = std::max(right, Double(a.X));
    }
    i = j;
  }
  if (edges.empty()) return;
  const Integer y0 = Integer(std::clamp<Double>(std::ceil(top), 0, Height));
  const Integer y1 = Integer(std::clamp<Double>(std::ceil(bottom), 0, Height));
  const Integer x0 = Integer(std::clamp<Double>(std::ceil(left), 0, Width));
  const Integer x1 = Integer(std::clamp<Double>(std::ceil(right), 0, Width));
  if (y1 <= y0 || x1 <= x0) return;
  FBox = TRect(x0, y0, x1, y1);
  FRuns.resize(size_t(y1 - y0));
  std::vector<Double> cross;
  for (Integer y = y0; y < y1; ++y) {
    cross.clear();
    for (const TEdge& e : edges) {
      // Half-open in y: an edge counts where it spans [min y, max y).
      if ((e.Y0 <= y && y < e.Y1) || (e.Y1 <= y && y < e.Y0))
        cross.push_back(e.X0 + (e.X1 - e.X0) * (y - e.Y0) / (e.Y1 - e.Y0));
    }
    std::sort(cross.begin(), cross.end());
    auto& runs = FRuns[size_t(y - y0)];
    for (size_t i = 0; i + 1 < cross.size(); i += 2) {
      // Points x with cross[i] <= x < cross[i + 1].
      const Integer a = Integer(std::clamp<Double>(std::ceil(cross[i]), x0, x1));
      const Integer b = Integer(std::clamp<Double>(std::ceil(cross[i + 1]), x0, x1));
      if (b > a) runs.push_back({a, b});
    }
  }
}

const std::vector<std::pair<Integer, Integer>>& TFramePathMask::Runs(Integer Y) const {
  static const std::vector<std::pair<Integer, Integer>> none;
  if (Y < FBox.Top || Y >= FBox.Bottom) return none;
  return FRuns[size_t(Y - FBox.Top)];
}

bool TFramePathMask::Inside(Integer X, Integer Y) const {
  for (const auto& [a, b] : Runs(Y))
    if (X >= a && X < b) return true;
  return false;
}

void ClearAlphaInRegion(TCustomBitmap32* B, const TFramePathMask& Mask) {
  if (B == nullptr) return;
  const Integer w = B->Width(), bottom = std::min(Mask.Box().Bottom, B->Height());
  for (Integer y = Mask.Box().Top; y < bottom; ++y) {
    TColor32* p = B->ScanLine(y);
    for (const auto& [a, b] : Mask.Runs(y))
      for (Integer x = a; x < std::min(b, w); ++x) p[x] &= 0x00FFFFFFu;
  }
  B->Changed();
}

void ClearOutsideRegion(TCustomBitmap32* B, const TFramePathMask& Mask, TColor32 Color) {
  if (B == nullptr) return;
  const Integer w = B->Width(), h = B->Height();
  for (Integer y = 0; y < h; ++y) {
    TColor32* p = B->ScanLine(y);
    Integer from = 0;
    for (const auto& [a, b] : Mask.Runs(y)) {
      if (a >= w) break;
      std::fill(p + from, p + std::max(a, from), Color);
      from = std::max(from, std::min(b, w));
    }
    std::fill(p + from, p + w, Color);
  }
  B->Changed();
}
