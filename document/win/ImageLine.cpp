// The line and arrow object (see ImageLine.h).
#include "document/win/ImageLine.h"

#include <algorithm>

#include "document/ShapeRows.h"

namespace {

TGPPointF GP(const TFloatPoint& P) { return TGPPointF{P.X, P.Y}; }

}  // namespace

TImgLine::TImgLine(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap) : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shLine;
  SetControlModeValue(2);
}

TPoint TImgLine::GetPoint(Integer Index) const {
  return Index >= 1 && Index <= 4 ? FPoints[size_t(Index)] : TPoint();
}

void TImgLine::SetPoint(Integer Index, const TPoint& P) {
  if (Index >= 1 && Index <= 4) FPoints[size_t(Index)] = P;
}

TLineOutline TImgLine::Outline() const {
  return LineBuildOutline(FPoints, FStyleId, IsArrow(), FArrowType, FOutWidth);
}

IGPBrush TImgLine::Brush() {
  const TGPColor colour = OpacityColor(FColor);
  IGPBrush solid(new TGPSolidBrush(colour));
  if (!HasGradient()) return solid;
  switch (FGradientFillMode) {
    case 4:
    case 5: {
      TShapePaint p;
      p.G = TGPRect{FRect.Left, FRect.Top, FRect.Width(), FRect.Height()};
      bool usable = true;
      return StyleBrush(p, usable);  // nil for an unusable texture: nothing is drawn
    }
    case 0: {
      if (FAdjusting) return solid;
      const TArrayOfGPColor& colors = GradientColors();
      if (colors.size() < 2) return solid;
      TRect r = FRect;
      InflateRectXY(r, 3 * FOutWidth, 3 * FOutWidth);
      IGPLinearGradientBrush b(new TGPLinearGradientBrush(GPRectFromRect(r), 0xFFFF0000u, 0xFF0000FFu,
                                                          Single(FGradientLinearAngle), false));
      b->SetGammaCorrection(FGradientGammaCorrected);
      b->SetInterpolationColors(IGPColorBlend(new TGPColorBlend(colors, GradientPositions())));
      return b;
    }
    default: return solid;  // the path, radial and edging fills have no meaning on a line
  }
}

void TImgLine::Draw(TBitmap32* ToBitmap) {
  const TLineOutline o = Outline();
  if (o.Path == TLinePath::None) return;
  IGPBrush brush = Brush();
  if (!brush) return;
  IGPGraphics g = NewGraphics(TargetOf(ToBitmap));
  if (FAntialias) g->SetSmoothingMode(SmoothingModeAntiAlias);
  IGPPen pen(new TGPPen(OpacityColor(FColor), Single(FOutWidth)));
  pen->SetDashStyle(FPenStyle);
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
  const auto& f = o.Figure;
  if (o.Path == TLinePath::Bezier) {
    path->AddBezier(GP(f[0]), GP(f[1]), GP(f[2]), GP(f[3]));
  } else {
    for (size_t i = 1; i < f.size(); ++i) path->AddLine(GP(f[i - 1]), GP(f[i]));
  }
  path->Widen(pen, nullptr, 0.25f);
  for (const TLineHead& h : o.Heads) {
    std::vector<TGPPointF> poly;
    for (const TFloatPoint& p : h.Points) poly.push_back(GP(p));
    path->AddPolygon(poly);
  }
  for (const TRect& d : o.Dots) path->AddEllipse(d.Left, d.Top, d.Width(), d.Height());
  g->FillPath(brush, path);
}

void TImgLine::CalcControlPoints() {
  if (!FSelected) return;
  const TViewMap m = ViewMap();
  for (size_t i = 1; i <= 4; ++i) FCtrPoints[i] = m.Point(FPoints[i]);
}

void TImgLine::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TBitmap32* t = TargetOf(ToBitmap);
  TBitmap32* glyph = FParent->CtrBmpY();
  const Integer h = glyph->Width() / 2;
  for (TRect& r : FCtrRect) r = TRect();
  auto handle = [&](Integer Index, const TPoint& V) {
    FCtrRect[size_t(Index)] = TRect(V.X - h, V.Y - h, V.X + h, V.Y + h);
    t->Draw(V.X - h, V.Y - h, glyph);
  };
  handle(1, FCtrPoints[1]);
  handle(4, FCtrPoints[4]);
  switch (LinePathOf(FStyleId)) {
    case TLinePath::Bezier:
      handle(2, FCtrPoints[2]);
      handle(3, FCtrPoints[3]);
      break;
    case TLinePath::Bent: handle(3, FCtrPoints[3]); break;
    case TLinePath::Elbow: handle(2, LineElbowHandle(FCtrPoints[2], FCtrPoints[3])); break;
    default: break;
  }
}

bool TImgLine::PtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  const TLinePath path = LinePathOf(FStyleId);
  std::vector<Integer> order;
  if (path == TLinePath::Elbow) order = {1, 2, 4};
  else if (path == TLinePath::Bezier) order = {1, 2, 3, 4};
  else if (path == TLinePath::Bent) order = {1, 3, 4};
  else order = {1, 4};
  for (Integer i : order)
    if (PointInRect(FCtrRect[size_t(i)], TPoint(X, Y))) {
      FCurrentCtrIndex = i;
      if (path == TLinePath::Elbow && i == 2)
        FCurrentCursor = FPoints[2].X == FPoints[3].X ? ShapeCursor::SizeWE : ShapeCursor::SizeNS;
      else
        FCurrentCursor = ShapeCursor::HandPoint;
      return true;
    }
  return false;
}

bool TImgLine::PtInShape(Integer X, Integer Y) {
  if (LinePathOf(FStyleId) == TLinePath::Bezier) CalcBezierPoints();
  if (!LineHitTest(FPoints, FStyleId, FRect, FPathPoints, FOutWidth, TPoint(X, Y))) return false;
  FCurrentCursor = ShapeCursor::SizeAll;
  FCurrentCtrIndex = -1;
  return true;
}

void TImgLine::Click() {
  TImgShape::Click();
  if (FCurrentCtrIndex >= 1 && FCurrentCtrIndex <= 4) {
    FStartX = FPoints[size_t(FCurrentCtrIndex)].X;
    FStartY = FPoints[size_t(FCurrentCtrIndex)].Y;
  }
}

void TImgLine::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  LineAdjust(FPoints, FStyleId, FCurrentCtrIndex, X1, Y1, X2, Y2, FStartX, FStartY, FParent && FParent->PressSht());
}

void TImgLine::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  const Integer dx = X2 - FStartX, dy = Y2 - FStartY;
  for (size_t i = 1; i <= 4; ++i) OffsetPoint(FPoints[i], dx, dy);
  for (TPoint& p : FPathPoints) OffsetPoint(p, dx, dy);
  FStartX = X2;
  FStartY = Y2;
}

void TImgLine::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  for (size_t i = 1; i <= 4; ++i) OffsetPoint(FPoints[i], DX, DY);
  for (TPoint& p : FPathPoints) OffsetPoint(p, DX, DY);
}

void TImgLine::CalcPoints(bool IsForceCalc) {
  const bool middleDragged = FAdjusting && (FCurrentCtrIndex == 2 || FCurrentCtrIndex == 3);
  LineCalcPoints(FPoints, FStyleId, FCreating, IsForceCalc, middleDragged);
}

void TImgLine::CalcBezierPoints() {
  if (!FChanged2 && !FPathPoints.empty()) return;
  LineSampleBezier(FPoints, FPathPoints);
}

void TImgLine::CalcRect() {
  if (LinePathOf(FStyleId) == TLinePath::Bezier) CalcBezierPoints();
  FRect = LineCalcRect(FPoints, FStyleId, FPathPoints, FRect);
}

void TImgLine::ReadRowColumns(TRow* Row) {
  using namespace ShapeCol;
  FPoints[1] = TPoint(CellInt(Row, LineStartX), CellInt(Row, LineStartY));
  FPoints[4] = TPoint(CellInt(Row, LineEndX), CellInt(Row, LineEndY));
  FPoints[2] = TPoint(CellInt(Row, LinePoint2X), CellInt(Row, LinePoint2Y));
  FPoints[3] = TPoint(CellInt(Row, LinePoint3X), CellInt(Row, LinePoint3Y));
  FArrowType = CellInt(Row, ShapeCol::ArrowType);
  CalcRect();
}

void TImgLine::WriteRowColumns(TRow* Row) {
  using namespace ShapeCol;
  const std::pair<Integer, Integer> cells[] = {
      {LineStartX, FPoints[1].X}, {LineStartY, FPoints[1].Y}, {LineEndX, FPoints[4].X},    {LineEndY, FPoints[4].Y},
      {LinePoint2X, FPoints[2].X}, {LinePoint2Y, FPoints[2].Y}, {LinePoint3X, FPoints[3].X}, {LinePoint3Y, FPoints[3].Y},
      {ShapeCol::ArrowType, FArrowType}};
  for (const auto& c : cells) SetCellInt(Row, c.first, c.second);
}

void TImgLine::ReadPresetColumns(TRow* Row) { FArrowType = CellInt(Row, ShapeCol::ArrowType); }

TRect TImgLine::ObjectPaintBounds() const { return LinePaintBounds(FPoints, FOutWidth); }
