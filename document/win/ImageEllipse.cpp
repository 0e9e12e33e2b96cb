// The ellipse object (see ImageEllipse.h).
#include "document/win/ImageEllipse.h"

#include <cmath>

#include "document/RectGeometry.h"
#include "document/ShapeRows.h"

namespace {

TArrayOfGPPoint RoundedPoints(const IGPGraphicsPath& Path) {
  TArrayOfGPPoint out;
  if (Path->GetPointCount() == 0) return out;
  IGPArray<TGPPointF> pts = Path->GetPathPoints();
  for (Integer i = 0; i < pts->GetCount(); ++i) {
    const TGPPointF p = pts->GetItem(i);
    out.push_back(TGPPoint{Integer(std::nearbyint(p.X)), Integer(std::nearbyint(p.Y))});
  }
  return out;
}

}  // namespace

TimgEllipse::TimgEllipse(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shEllipse;
  SetControlModeValue(3);
}

IGPGraphicsPath TimgEllipse::BuildPath() const {
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
  if (w <= 0 || h <= 0) return path;
  if (FStyleId < 1 || FStyleId > 3 || FEnds.Points.size() < 2) {
    path->AddEllipse(FRect.Left, FRect.Top, w, h);
    return path;
  }
  Single a1, a2;
  EllipseEndAngles(FEnds, FCenterPoint, a1, a2);
  path->AddArc(FRect.Left, FRect.Top, w, h, a1, EllipseSweep(a1, a2));
  if (a1 != a2) {
    IGPArray<TGPPointF> pts = path->GetPathPoints();
    const TGPPointF last = pts->GetItem(pts->GetCount() - 1);
    const TGPPointF first{Single(FEnds.Points[0].X), Single(FEnds.Points[0].Y)};
    if (FStyleId == 2) path->AddLine(last.X, last.Y, first.X, first.Y);
    if (FStyleId == 3) {
      path->AddLine(last.X, last.Y, FCenterPoint.X, FCenterPoint.Y);
      path->AddLine(FCenterPoint.X, FCenterPoint.Y, first.X, first.Y);
    }
  }
  return path;
}

void TimgEllipse::RefreshHitPolygons() {
  IGPGraphicsPath path = BuildPath();
  FPathPointsW.clear();
  if (FIsOutline && !FIsFill && path->GetPointCount() > 0) {
    IGPGraphicsPath band = path->Clone();
    IGPPen pen(new TGPPen(0xFF000000u, Single(std::max<Integer>(FOutWidth, 1))));
    band->Widen(pen, nullptr, 0.25f);
    band->Outline(nullptr, 0.25f);
    FPathPointsW = RoundedPoints(band);
  }
  if (path->GetPointCount() > 0) path->Outline(nullptr, 0.25f);
  FPathPoints = RoundedPoints(path);
  FHitStale = false;
}

void TimgEllipse::Draw(TBitmap32* ToBitmap) {
  const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
  if (w > 0 && h > 0) {
    TShapePaint p;
    p.Path = BuildPath();
    p.G = TGPRect{FRect.Left, FRect.Top, w, h};
    p.Radial = RectRadialEllipse(TRect(FRect.Left, FRect.Top, w, h), FCenterPoint, FRect);
    p.Smooth = true;
    PaintFillAndOutline(TargetOf(ToBitmap), p);
  }
  if (FChanged2 || FHitStale) RefreshHitPolygons();
}

void TimgEllipse::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TImgShape::DrawControlPoint(ToBitmap);
  TBitmap32* glyph = FParent->CtrBmpY3();
  const Integer h = glyph->Width() / 2;
  for (size_t i = 0; i < FEnds.Points.size(); ++i) {
    const TPoint v = FCtrPoints[9 + i];
    FCtrRect[9 + i] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
    TargetOf(ToBitmap)->Draw(v.X - h, v.Y - h, glyph);
  }
}

bool TimgEllipse::PtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  for (size_t i = 0; i < FEnds.Points.size(); ++i)
    if (PointInRect(FCtrRect[9 + i], TPoint(X, Y))) {
      FCurrentCtrIndex = Integer(9 + i);
      FCurrentCursor = ShapeCursor::HandPoint;
      return true;
    }
  return FramePtInControl(X, Y);
}

bool TimgEllipse::PtInShape(Integer X, Integer Y) {
  if (FHitStale) RefreshHitPolygons();
  TEllipseHitInput in;
  in.Box = FRect;
  in.Centre = FCenterPoint;
  in.Angle = FAngle;
  in.OutWidth = FOutWidth;
  in.FilledTest = IsFilled() || FPathPointsW.empty();
  in.Area = &FPathPoints;
  in.Band = &FPathPointsW;
  if (!EllipseHitTest(in, TPoint(X, Y))) return false;
  FCurrentCursor = ShapeCursor::SizeAll;
  FCurrentCtrIndex = -1;
  return true;
}

void TimgEllipse::Click() {
  TImgShape::Click();
  if (FCurrentCtrIndex >= 9 && FCurrentCtrIndex < HandleCount()) {
    FStartX = FPointsA[size_t(FCurrentCtrIndex)].X;
    FStartY = FPointsA[size_t(FCurrentCtrIndex)].Y;
  }
}

void TimgEllipse::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer k = FCurrentCtrIndex;
  if (k >= 1 && k <= 8) {
    TImgShape::AdjustShape(X1, Y1, X2, Y2);
    if (k <= 4 && FParent && FParent->PressSht()) RectMakeSquare(k, FRect);
  } else if (k == 9 || k == 10) {
    EllipseDragEnd(k - 9, TPoint(FStartX + X2 - X1, FStartY + Y2 - Y1), FRect, FCenterPoint, FAngle, FEnds);
  }
  FHitStale = true;
}

void TimgEllipse::OffsetPoints(Integer DX, Integer DY) {
  for (TGPPoint& p : FEnds.Points) OffsetPoint(p, DX, DY);
  for (TGPPoint& p : FPathPoints) OffsetPoint(p, DX, DY);
  for (TGPPoint& p : FPathPointsW) OffsetPoint(p, DX, DY);
}

void TimgEllipse::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  OffsetPoints(X2 - FStartX, Y2 - FStartY);
  FStartX = X2;
  FStartY = Y2;
}

void TimgEllipse::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  OffsetPoints(DX, DY);
}

void TimgEllipse::InitPoints(bool) {
  EllipseInitEnds(FStyleId, FEnds);
  SetExtraHandleCount(Integer(FEnds.Points.size()));
  FHitStale = true;
}

void TimgEllipse::CalcPoints(bool) {
  EllipseCalcEnds(FRect, FEnds);
  FHitStale = true;
}

void TimgEllipse::CalcControlPoints() {
  if (!FSelected) return;
  const TViewMap m = ViewMap();
  FrameCalcControlPoints(m);
  for (size_t i = 0; i < FEnds.Points.size(); ++i) {
    const TPoint p(FEnds.Points[i].X, FEnds.Points[i].Y);
    FPointsA[9 + i] = FAngle != 0 ? RotatePoint(FCenterPoint, p, FAngle) : p;
    FCtrPoints[9 + i] = m.Point(FPointsA[9 + i]);
  }
}

void TimgEllipse::SetPoints(const String& S) {
  EllipseSetEndsText(S, FStyleId, FRect, FEnds);
  SetExtraHandleCount(Integer(FEnds.Points.size()));
  FHitStale = true;
}

void TimgEllipse::GetPoints(String& S) const { S = EllipseEndsText(FEnds); }

void TimgEllipse::ReadRowColumns(TRow* Row) { SetPoints(CellText(Row, ShapeCol::Points)); }

void TimgEllipse::WriteRowColumns(TRow* Row) {
  String s;
  GetPoints(s);
  SetCellText(Row, ShapeCol::Points, s);
}

void TimgEllipse::ReadPresetColumns(TRow*) { InitPoints(false); }
