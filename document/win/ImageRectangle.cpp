// The rectangle object (see ImageRectangle.h).
#include "document/win/ImageRectangle.h"

#include "document/ShapeRows.h"

TImgRectangle::TImgRectangle(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shRectangle;
  SetControlModeValue(3);
}

TRectOutline TImgRectangle::BuildOutline() const { return RectBuildOutline(FStyleId, FRect, FHandles, FIsOutline); }

void TImgRectangle::RefreshOutline(const TRectOutline& O) {
  FR = O.FR;
  FR2 = O.FR2;
  FCheckPoints = O.Polygon;
}

void TImgRectangle::Draw(TBitmap32* ToBitmap) {
  const TRectOutline o = BuildOutline();
  RefreshOutline(o);
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  const TRect& q = o.Q;  // x, y, width, height
  const Integer right = q.Left + q.Right, bottom = q.Top + q.Bottom;
  switch (o.Kind) {
    case TRectPathKind::Ellipse: path->AddEllipse(q.Left, q.Top, q.Right, q.Bottom); break;
    case TRectPathKind::Polygon: path->AddPolygon(o.Polygon); break;
    case TRectPathKind::Rounded: {
      struct {
        Integer X, Y, D, Start, CornerX, CornerY;
      } corners[4] = {{q.Left, q.Top, o.Corners[0], 180, q.Left, q.Top},
                      {right - o.Corners[1], q.Top, o.Corners[1], 270, right, q.Top},
                      {right - o.Corners[2], bottom - o.Corners[2], o.Corners[2], 0, right, bottom},
                      {q.Left, bottom - o.Corners[3], o.Corners[3], 90, q.Left, bottom}};
      for (const auto& c : corners) {
        if (c.D > 0)
          path->AddArc(c.X, c.Y, c.D, c.D, Single(c.Start), 90.0f);
        else
          path->AddLine(c.CornerX, c.CornerY, c.CornerX, c.CornerY);
      }
      path->CloseFigure();
      break;
    }
    default: path->AddRectangle(TGPRect{q.Left, q.Top, q.Right, q.Bottom}); break;
  }
  TShapePaint p;
  p.Path = path;
  p.G = TGPRect{q.Left, q.Top, q.Right, q.Bottom};
  p.Radial = RectRadialEllipse(q, FCenterPoint, FRect);
  p.Smooth = FAntialias && (FStyleId != 0 || FAngle != 0);
  PaintFillAndOutline(TargetOf(ToBitmap), p);
}

void TImgRectangle::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TImgShape::DrawControlPoint(ToBitmap);
  TBitmap32* glyph = FParent->CtrBmpY3();
  const Integer h = glyph->Width() / 2;
  for (Integer i = 0; i < FHandles.Count; ++i) {
    const TPoint v = FCtrPoints[size_t(9 + i)];
    FCtrRect[size_t(9 + i)] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
    TargetOf(ToBitmap)->Draw(v.X - h, v.Y - h, glyph);
  }
}

bool TImgRectangle::PtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  for (Integer i = 0; i < FHandles.Count; ++i)
    if (PointInRect(FCtrRect[size_t(9 + i)], TPoint(X, Y))) {
      FCurrentCtrIndex = 9 + i;
      FCurrentCursor = ShapeCursor::HandPoint;
      return true;
    }
  return FramePtInControl(X, Y);
}

bool TImgRectangle::PtInShape(Integer X, Integer Y) {
  TRectHitInput in;
  in.StyleId = FStyleId;
  in.Box = FRect;
  in.Centre = FCenterPoint;
  in.Angle = FAngle;
  in.Filled = IsFilled();
  in.OutWidth = FOutWidth;
  in.FR = FR;
  in.FR2 = FR2;
  in.Check = &FCheckPoints;
  if (!RectHitTest(in, TPoint(X, Y))) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = ShapeCursor::SizeAll;
  return true;
}

void TImgRectangle::Click() {
  TImgShape::Click();
  if (FCurrentCtrIndex >= 9 && FCurrentCtrIndex < HandleCount()) {
    FStartX = FPointsA[size_t(FCurrentCtrIndex)].X;
    FStartY = FPointsA[size_t(FCurrentCtrIndex)].Y;
  }
}

void TImgRectangle::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer h = FCurrentCtrIndex;
  if (h >= 1 && h <= 8) {
    TImgShape::AdjustShape(X1, Y1, X2, Y2);
    if (h <= 4 && FParent && FParent->PressSht()) RectMakeSquare(h, FRect);
  } else if (h >= 9) {
    const TPoint p = RotatePoint(FCenterPoint, TPoint(X2 + FStartX - X1, Y2 + FStartY - Y1), -FAngle);
    RectAdjustHandle(FStyleId, h - 9, FRect, p, FHandles);
  }
  RectClampHandles(FStyleId, FRect, FHandles);
}

void TImgRectangle::OffsetHandles(Integer DX, Integer DY) {
  for (TGPPoint& p : FHandles.Points) OffsetPoint(p, DX, DY);
  for (TGPPoint& p : FCheckPoints) OffsetPoint(p, DX, DY);
}

void TImgRectangle::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  OffsetHandles(X2 - FStartX, Y2 - FStartY);
  FStartX = X2;
  FStartY = Y2;
}

void TImgRectangle::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  OffsetHandles(DX, DY);
}

void TImgRectangle::InitPoints(bool IsDrawStyle) {
  RectInitPoints(FStyleId, IsDrawStyle, FHandles);
  SetExtraHandleCount(FHandles.Count);
}

void TImgRectangle::CalcPoints(bool) {
  RectCalcPoints(FRect, FHandles);
  RefreshOutline(BuildOutline());
}

void TImgRectangle::CalcControlPoints() {
  if (!FSelected) return;
  FrameCalcControlPoints(ViewMap());
  const TViewMap m = ViewMap();
  for (Integer i = 0; i < FHandles.Count; ++i) {
    const TPoint p(FHandles.Points[size_t(i)].X, FHandles.Points[size_t(i)].Y);
    FPointsA[size_t(9 + i)] = RotatePoint(FCenterPoint, p, FAngle);
    FCtrPoints[size_t(9 + i)] = m.Point(FPointsA[size_t(9 + i)]);
  }
}

void TImgRectangle::SetPoints(const String& S) {
  RectSetHandlesText(S, FStyleId, FRect, FHandles);
  SetExtraHandleCount(FHandles.Count);
  RefreshOutline(BuildOutline());
}

void TImgRectangle::GetPoints(String& S) const { S = RectHandlesText(FHandles); }

void TImgRectangle::ReadRowColumns(TRow* Row) { SetPoints(CellText(Row, ShapeCol::Points)); }

void TImgRectangle::WriteRowColumns(TRow* Row) {
  String s;
  GetPoints(s);
  SetCellText(Row, ShapeCol::Points, s);
}

void TImgRectangle::ReadPresetColumns(TRow*) { InitPoints(false); }
