// The polygon object (see ImagePolygon.h).
#include "document/win/ImagePolygon.h"

#include <algorithm>
#include <cmath>

#include "document/ShapeRows.h"

TImgPolygon::TImgPolygon(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shPolygon;
  SetControlModeValue(2);
}

void TImgPolygon::AddNewPoint(Integer X, Integer Y) { PolygonAddPoint(FPoints, TPoint(X, Y)); }

void TImgPolygon::Draw(TBitmap32* ToBitmap) {
  TBitmap32* target = TargetOf(ToBitmap);
  if (FCreating && PolygonIsDrawn(FStyleId)) {
    if (FPoints.empty()) return;
    TArrayOfGPPoint band = FPoints;
    band.push_back(TGPPoint{FPointMoved.X, FPointMoved.Y});
    IGPGraphics g = NewGraphics(target);
    if (FAntialias) g->SetSmoothingMode(SmoothingModeAntiAlias);
    IGPPen pen(new TGPPen(OpacityColor(FColor), Single(FOutWidth)));
    pen->SetDashStyle(FPenStyle);
    g->DrawLines(pen, band);
    return;
  }
  if (!PolygonDrawable(FStyleId, FPoints)) return;
  if (FChanged2) CalcRect();
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  if (FStyleId == 5)
    path->AddLines(FPoints);
  else
    path->AddPolygon(FPoints);
  TShapePaint p;
  p.Path = path;
  p.G = TGPRect{FRect.Left, FRect.Top, FRect.Right - FRect.Left, FRect.Bottom - FRect.Top};
  Single r = 0;
  for (const TGPPoint& v : FPoints) r = std::max(r, CalcDistanceFromFloatPoint(FCenterPoint, v));
  // The square round every vertex, grown once by 10 on every side: its
  // inscribed ellipse then holds every vertex.
  const Single cx = FCenterPoint.X, cy = FCenterPoint.Y;
  p.Radial = TFloatRect{Single(std::nearbyint(cx - r) - 10), Single(std::nearbyint(cy - r) - 10),
                        Single(std::nearbyint(cx + r) + 10), Single(std::nearbyint(cy + r) + 10)};
  p.Smooth = FAntialias;
  PaintFillAndOutline(target, p);
}

void TImgPolygon::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TBitmap32* glyph = FParent->CtrBmpY();
  const Integer h = glyph->Width() / 2;
  FVertexRects.resize(FVertexView.size());
  for (size_t i = 0; i < FVertexView.size(); ++i) {
    const TPoint v = FVertexView[i];
    FVertexRects[i] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
    TargetOf(ToBitmap)->Draw(v.X - h, v.Y - h, glyph);
  }
}

bool TImgPolygon::PtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  for (size_t i = 0; i < FVertexRects.size(); ++i)
    if (PointInRect(FVertexRects[i], TPoint(X, Y))) {
      FCurrentCtrIndex = Integer(i);
      FCurrentCursor = FStyleId != 1 ? ShapeCursor::HandPoint : i % 2 == 0 ? ShapeCursor::SizeWE : ShapeCursor::SizeNS;
      return true;
    }
  return false;
}

bool TImgPolygon::PtInShape(Integer X, Integer Y) {
  if (!PolygonHitTest(FStyleId, FPoints, FRect, IsFilled(), FOutWidth, TPoint(X, Y))) return false;
  FCurrentCursor = ShapeCursor::SizeAll;
  FCurrentCtrIndex = -1;
  return true;
}

void TImgPolygon::Click() {
  TImgShape::Click();
  const Integer i = FCurrentCtrIndex;
  if (i < 0 || i >= Integer(FPoints.size())) return;
  if (FStyleId == 1) {
    switch (i) {
      case 0: FStartX = FRect.Left; break;
      case 1: FStartY = FRect.Top; break;
      case 2: FStartX = FRect.Right; break;
      default: FStartY = FRect.Bottom; break;
    }
    return;
  }
  FStartX = FPoints[size_t(i)].X;
  FStartY = FPoints[size_t(i)].Y;
}

void TImgPolygon::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer i = FCurrentCtrIndex, dx = X2 - X1, dy = Y2 - Y1;
  if (i < 0 || i >= Integer(FPoints.size())) return;
  if (FStyleId == 1) {
    switch (i) {
      case 0: FRect.Left = FStartX + dx; break;
      case 1: FRect.Top = FStartY + dy; break;
      case 2: FRect.Right = FStartX + dx; break;
      default: FRect.Bottom = FStartY + dy; break;
    }
    return;
  }
  FPointAdjusted = TPoint(FStartX + dx, FStartY + dy);
  FPoints[size_t(i)] = TGPPoint{FPointAdjusted.X, FPointAdjusted.Y};
}

void TImgPolygon::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer dx = X2 - FStartX, dy = Y2 - FStartY;
  FrameMoveShape(X1, Y1, X2, Y2);
  for (TGPPoint& p : FPoints) OffsetPoint(p, dx, dy);
  FStartX = X2;
  FStartY = Y2;
}

void TImgPolygon::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  for (TGPPoint& p : FPoints) OffsetPoint(p, DX, DY);
}

void TImgPolygon::CalcPoints(bool IsForceCalc) {
  if (PolygonIsDrawn(FStyleId)) return;
  TPolygonGen g;
  g.Box = FRect;
  g.Centre = FCenterPoint;
  g.Fresh = FCreating || IsForceCalc;
  g.Adjusted = FPointAdjusted;
  g.Dragged = FCurrentCtrIndex;
  g.Current = FPoints;
  FPoints = PolygonGenerate(FStyleId, g);
}

void TImgPolygon::CalcControlPoints() {
  if (!FSelected) return;
  const TViewMap m = ViewMap();
  FVertexView.resize(FPoints.size());
  for (size_t i = 0; i < FPoints.size(); ++i) FVertexView[i] = m.Point(TPoint(FPoints[i].X, FPoints[i].Y));
}

void TImgPolygon::CalcRect() { FRect = PolygonRect(FStyleId, FPoints, FRect); }

void TImgPolygon::CalcCenterPoint() {
  if (FCreating || FStyleId == 0 || FStyleId == 1 || FStyleId == 5) FrameCalcCenterPoint();
}

TRect TImgPolygon::ObjectPaintBounds() const {
  TRect r = FRect;
  for (const TGPPoint& p : FPoints) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  // Miter joins of sharp stars reach several pen widths past a vertex.
  const Integer m = 6 * FOutWidth + 4;
  InflateRectXY(r, m, m);
  return r;
}

void TImgPolygon::SetPoints(const String& S) { PolygonSetPointsText(S, FStyleId, FRect, FCenterPoint, FPoints); }

void TImgPolygon::GetPoints(String& S) const { S = PointsToText(FPoints); }

void TImgPolygon::ReadRowColumns(TRow* Row) { SetPoints(CellText(Row, ShapeCol::PolygonPoints)); }

void TImgPolygon::WriteRowColumns(TRow* Row) {
  String s;
  GetPoints(s);
  SetCellText(Row, ShapeCol::PolygonPoints, s);
}
