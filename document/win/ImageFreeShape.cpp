// The Bezier shape (see ImageFreeShape.h).
#include "document/win/ImageFreeShape.h"

#include <algorithm>

#include "document/ShapeRows.h"

namespace {

TGPPointF GP(const TPoint& P) { return TGPPointF{Single(P.X), Single(P.Y)}; }

}  // namespace

TImgFreeShape::TImgFreeShape(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap)
    : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shFreeShape;
  SetControlModeValue(2);
  FMinSize = 10;
}

void TImgFreeShape::Sampled() {
  if (!FSamplesStale && !FChanged2) return;
  BezierSample(FPath, FSamples);
  FSamplesStale = false;
}

void TImgFreeShape::CalcBezierPoints() {
  FSamplesStale = true;
  Sampled();
}

// --- creation

void TImgFreeShape::AddNewPoint(Integer X, Integer Y) {
  BezierAddNewPoint(FPath, FCreation, X, Y);
  FSamplesStale = true;
}

void TImgFreeShape::SetControlPoint(Integer X, Integer Y) {
  BezierSetControlPoint(FPath, FCreation, X, Y);
  FSamplesStale = true;
}

void TImgFreeShape::CreateOver() {
  BezierCreateOver(FPath, FCreation);
  FTerminateCreate = false;
  FSamplesStale = true;
}

// --- drawing

void TImgFreeShape::Draw(TBitmap32* ToBitmap) {
  const auto& rows = FPath.Rows;
  if (rows.empty()) return;
  IGPGraphics g = NewGraphics(TargetOf(ToBitmap));
  if (FAntialias) g->SetSmoothingMode(SmoothingModeAntiAlias);
  IGPPen pen(new TGPPen(OpacityColor(FColor), Single(FOutWidth)));
  pen->SetDashStyle(FPenStyle);
  if (FCreating) {
    // The rows drawn so far, then the one following the mouse (left out
    // while its tangent is being pulled).
    const bool pulling = FParent && FParent->LeftMouseDown();
    std::vector<TGPPointF> chain;
    for (size_t i = 0; i < rows.size(); ++i) {
      const bool last = i + 1 == rows.size();
      if (last && pulling) break;
      chain.push_back(GP(rows[i].P[0]));
      chain.push_back(GP(rows[i].P[1]));
      chain.push_back(GP(last ? FPointMoved : rows[i].P[2]));
      if (last) chain.push_back(GP(FPointMoved));
    }
    if (pulling && !chain.empty()) chain.push_back(GP(rows[rows.size() - 2].P[3]));
    if (chain.size() >= 4 && (chain.size() - 1) % 3 == 0) g->DrawBeziers(pen, chain);
    return;
  }
  if (FAngle != 0) TurnGraphics(g);
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
  for (const TBezierRow& r : rows) path->AddBezier(GP(r.P[0]), GP(r.P[1]), GP(r.P[2]), GP(r.P[3]));
  if (FPath.Closed) path->CloseFigure();
  if (FIsFill) g->FillPath(IGPBrush(new TGPSolidBrush(OpacityColor(FFillColor))), path);
  if (FIsOutline || !FIsFill) g->DrawPath(pen, path);
}

void TImgFreeShape::DrawControlPoint(TBitmap32* ToBitmap) {
  if (FParent == nullptr) return;
  TBitmap32* t = TargetOf(ToBitmap);
  if (FControlMode != 2 && !FCreating) {
    TImgShape::DrawControlPoint(ToBitmap);
    return;
  }
  const Integer h = FParent->CtrBmpY()->Width() / 2;
  FTangRects.fill(TRect());
  const TViewMap m = ViewMap();
  TCanvas* c = t->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Pen()->SetMode(pmNot);
  const Integer p = FPath.SelectPointIndex;
  if ((FCreating || FSelected) && p >= 0 && p / 2 < Integer(FPath.Rows.size())) {
    const Integer r = p / 2;
    auto tangent = [&](Integer K, const TPoint& Node) {
      TPoint q;
      if (!BezierTangentOf(FPath, p, K, q)) return;
      const TPoint v = m.Point(q), n = m.Point(Node);
      FTangRects[size_t(K)] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
      if (q == Node) return;
      c->MoveTo(v.X, v.Y);
      c->LineTo(n.X, n.Y);
      t->Draw(v.X - h, v.Y - h, FParent->CtrBmpY2());
    };
    const Integer prev = BezierPrevRow(FPath, r);
    if (p % 2 == 0 && prev >= 0) {
      tangent(0, FPath.Rows[size_t(prev)].P[0]);
      tangent(1, FPath.Rows[size_t(r)].P[0]);
    }
    tangent(2, FPath.Rows[size_t(r)].P[0]);
    if (!FCreating) tangent(3, FPath.Rows[size_t(r)].P[3]);
  }
  if (FSelected) {
    const Integer n = Integer(FPath.Rows.size());
    FNodeRects.assign(FNodeView.size(), TRect());
    for (Integer i = 0; i < Integer(FNodeView.size()); ++i) {
      const Integer row = i / 2;
      if (i % 2 != 0 && (row != n - 1 || FPath.Closed)) continue;
      const TPoint v = FNodeView[size_t(i)];
      FNodeRects[size_t(i)] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
      const TBezierRow& br = FPath.Rows[size_t(row)];
      const bool selected = i % 2 == 0 ? br.SelStart : br.SelEnd;
      if (selected)
        t->Draw(v.X - h, v.Y - h, i % 2 == 0 && br.Smooth ? FParent->CtrBmpG() : FParent->CtrBmpB());
      else
        c->Rectangle(v.X - h, v.Y - h, v.X + h + 1, v.Y + h + 1);
    }
  }
  // The closing marker: a click on the first node closes the path.
  const bool closing = FCreating && FPath.Rows.size() > 1 && !(FParent->LeftMouseDown()) &&
                       BezierPtInFirstPoint(FPath, FPointMoved);
  const bool append = !FCreating && (FAppendFromStartPoint || FAppendFromEndPoint) && !FPath.Rows.empty();
  if (closing || append) {
    const TPoint node = m.Point(FAppendFromEndPoint && !closing ? FPath.Rows.back().P[3] : FPath.Rows.front().P[0]);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetColor(clRed);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(TColor(0x00FFFF));
    c->Rectangle(node.X - 3, node.Y - 3, node.X + 4, node.Y + 4);
  }
  c->Pen()->SetMode(pmCopy);
}

bool TImgFreeShape::PtInControl(Integer X, Integer Y) {
  FCurrentCtrTangIndex = -1;
  if (FControlMode != 2) return FramePtInControl(X, Y);
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  const TPoint at(X, Y);
  for (size_t i = 0; i < FNodeRects.size(); ++i)
    if (PointInRect(FNodeRects[i], at)) {
      FCurrentCursor = ShapeCursor::HandPoint;
      FCurrentCtrIndex = Integer(i);
      if (!(FParent && FParent->PressSht())) return true;
      break;
    }
  for (Integer k = 0; k < 4; ++k)
    if (PointInRect(FTangRects[size_t(k)], at)) {
      FCurrentCursor = ShapeCursor::HandPoint;
      FCurrentCtrTangIndex = k;
      FCurrentCtrIndex = FPath.SelectPointIndex;
      return true;
    }
  return FCurrentCtrIndex >= 0;
}

bool TImgFreeShape::PtInShape(Integer X, Integer Y) {
  Sampled();
  TBezierHitInput in;
  in.Rect = FRect;
  in.Centre = FCenterPoint;
  in.Angle = FAngle;
  in.Filled = FIsFill;
  in.FrameSelected = FControlMode != 2 && FSelected;
  in.OutWidth = FOutWidth;
  if (!BezierHitTest(FSamples, in, TPoint(X, Y))) return false;
  FCurrentCursor = ShapeCursor::SizeAll;
  FCurrentCtrIndex = -1;
  return true;
}

bool TImgFreeShape::PtInPath(Integer X, Integer Y) {
  Sampled();
  return BezierPtInPath(FSamples, FRect, TPoint(X, Y), FPointAdded, FPointAddRow, FT);
}

void TImgFreeShape::Click() {
  TImgShape::Click();
  if (FControlMode == 4) {
    FBackup = FPath;
  } else if (FControlMode == 2 && FCurrentCtrIndex >= 0) {
    TPoint at;
    if (FCurrentCtrTangIndex < 0) {
      SetSelectPointIndex(FCurrentCtrIndex);
      FBackup = FPath;
      if (BezierNodeOf(FPath, FCurrentCtrIndex, at)) {
        FStartX = at.X;
        FStartY = at.Y;
      }
    } else if (BezierTangentOf(FPath, FPath.SelectPointIndex, FCurrentCtrTangIndex, at)) {
      FStartX = at.X;
      FStartY = at.Y;
    }
  }
}

void TImgFreeShape::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer dx = X2 - X1, dy = Y2 - Y1;
  switch (FControlMode) {
    case 1: TImgShape::AdjustShape(X1, Y1, X2, Y2); return;
    case 4:
      BezierSkew(FPath, FBackup, FCurrentCtrIndex, FRect, dx, dy);
      CalcPointsRatio();
      break;
    default:
      if (FCurrentCtrTangIndex < 0)
        BezierDragNodes(FPath, FBackup, dx, dy);
      else
        BezierDragTangent(FPath, FPath.SelectPointIndex, FCurrentCtrTangIndex, TPoint(FStartX + dx, FStartY + dy),
                          FParent && FParent->PressCtl());
      break;
  }
  FSamplesStale = true;
  FChanged2 = true;
}

void TImgFreeShape::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer dx = X2 - FStartX, dy = Y2 - FStartY;
  FrameMoveShape(X1, Y1, X2, Y2);
  BezierOffset(FPath, FSamples, dx, dy);
  FStartX = X2;
  FStartY = Y2;
}

void TImgFreeShape::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  BezierOffset(FPath, FSamples, DX, DY);
}

void TImgFreeShape::CalcPoints(bool) {
  if (FCreating || FControlMode == 2) return;
  BezierCalcPoints(FPath, FRect);
  FSamplesStale = true;
}

void TImgFreeShape::CalcControlPoints() {
  if (FControlMode != 2 && !FCreating) {
    if (FSelected) FrameCalcControlPoints(ViewMap());
    return;
  }
  const TViewMap m = ViewMap();
  FNodeView.assign(FPath.Rows.size() * 2, TPoint());
  for (size_t i = 0; i < FPath.Rows.size(); ++i) {
    FNodeView[2 * i] = m.Point(FPath.Rows[i].P[0]);
    FNodeView[2 * i + 1] = m.Point(FPath.Rows[i].P[3]);
  }
}

void TImgFreeShape::CalcRect() {
  CalcBezierPoints();
  FRect = BezierRect(FSamples);
}

void TImgFreeShape::CalcPointsRatio() { BezierCalcRatios(FPath, FRect); }

void TImgFreeShape::RotateToCurrent() { BezierRotate(FPath, FCenterPoint, FAngle); }

void TImgFreeShape::UnSelect() {
  TImgShape::UnSelect();
  FPointAdding = false;
  SetSelectPointIndex(-1);
}

TRect TImgFreeShape::ObjectPaintBounds() const {
  TRect r(2147483647, 2147483647, -2147483647, -2147483647);
  for (const TBezierRow& row : FPath.Rows)
    for (const TPoint& p : row.P) {
      r.Left = std::min(r.Left, p.X);
      r.Top = std::min(r.Top, p.Y);
      r.Right = std::max(r.Right, p.X);
      r.Bottom = std::max(r.Bottom, p.Y);
    }
  if (FPath.Rows.empty()) return TImgShape::ObjectPaintBounds();
  // The curve lies in the hull of its points; turned about the centre, the
  // hull's corners reach at most its half diagonal further.
  const Integer half = Integer(std::max(r.Right - r.Left, r.Bottom - r.Top)) / 2 + 1;
  const Integer m = 3 * FOutWidth + 4 + (FAngle != 0 ? half : 0);
  InflateRectXY(r, m, m);
  return r;
}

// --- editing

void TImgFreeShape::SetSelectPointIndex(Integer Value) {
  if (!BezierSelectPoint(FPath, Value, FParent && FParent->PressCtl())) return;
  if (!FCreating && !FLoading && FParent) FParent->ShapeStateChanged();
}

void TImgFreeShape::AddNodePoint() {
  if (FPointAddRow < 0) return;
  BezierAddNode(FPath, FPointAddRow, FT, FPointAdded);
  FChanged2 = true;
  CalcBezierPoints();
}

bool TImgFreeShape::DeleteSelectPoints() {
  const bool left = BezierDeleteSelected(FPath);
  if (left) {
    FChanged2 = true;
    CalcBezierPoints();
  }
  return left;
}

void TImgFreeShape::BreakNode() {
  BezierBreakNode(FPath);
  FChanged2 = true;
  CalcBezierPoints();
}

void TImgFreeShape::CloseShape() {
  const bool none = FPath.SelectPointIndex == -1;
  BezierCloseShape(FPath);
  if (none && FParent) FParent->ShapeStateChanged();
  FChanged2 = true;
  CalcBezierPoints();
}

bool TImgFreeShape::HideTangent() {
  if (!BezierHideTangent(FPath)) return false;
  FChanged2 = true;
  CalcBezierPoints();
  return true;
}

bool TImgFreeShape::SetCommonTangent(bool Value) { return BezierSetCommonTangent(FPath, Value); }

void TImgFreeShape::AppendShape(TImgFreeShape* Other) {
  if (Other == nullptr) return;
  BezierAppend(FPath, Other->FPath, FAppendFromStartPoint);
  FAppendFromStartPoint = FAppendFromEndPoint = false;
  FChanged2 = true;
  FSamplesStale = true;
}

// --- the row

void TImgFreeShape::SetPoints(const String& S) {
  BezierSetPathText(S, FPath);
  SetControlModeValue(FPath.ControlMode);
  FSamplesStale = true;
}

void TImgFreeShape::GetPoints(String& S) {
  FPath.ControlMode = FControlMode;
  S = BezierPathText(FPath);
}

void TImgFreeShape::ReadRowColumns(TRow* Row) { SetPoints(CellText(Row, ShapeCol::FreeShapeNodes)); }

void TImgFreeShape::WriteRowColumns(TRow* Row) {
  String s;
  GetPoints(s);
  SetCellText(Row, ShapeCol::FreeShapeNodes, s);
}
