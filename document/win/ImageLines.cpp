// The free-hand stroke (see ImageLines.h).
#include "document/win/ImageLines.h"

#include <algorithm>

#include "document/ShapeRows.h"

TImgLines::TImgLines(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap) : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shLines;
  SetControlModeValue(3);
  ClearPoints();
}

void TImgLines::ClearPoints() {
  FStroke.Points.clear();
  FStroke.Points.reserve(10);
  FStroke.RX.clear();
  FStroke.RY.clear();
}

void TImgLines::AddNewPoint(Integer X, Integer Y) { FStroke.Points.push_back(TGPPoint{X, Y}); }

void TImgLines::VerifyPoints() {
  FStroke.Points = StrokeThin(FStroke.Points, FRect.Right - FRect.Left, FRect.Bottom - FRect.Top);
}

void TImgLines::Draw(TBitmap32* ToBitmap) {
  const auto& pts = FStroke.Points;
  const bool preview = FParent == nullptr && FId == 0;
  if (!StrokeDrawable(pts, FStyleId) && !preview) return;
  IGPGraphics g = NewGraphics(TargetOf(ToBitmap));
  const TGPColor colour = OpacityColor(FColor);
  IGPBrush brush(new TGPSolidBrush(colour));
  auto dot = [&](Integer X, Integer Y, Integer W, bool Round) {
    g->SetSmoothingMode(Round && FAntialias ? SmoothingModeAntiAlias : SmoothingModeNone);
    if (Round && W > 1)
      g->FillEllipse(brush, TGPRect{X, Y, W, W});
    else
      g->FillRectangle(brush, X, Y, W, W);
  };
  if (pts.size() == 1 && StrokeDrawable(pts, FStyleId)) {
    dot(pts[0].X - FOutWidth / 2, pts[0].Y - FOutWidth / 2, FOutWidth, FStyleId == 0);
  } else if (pts.size() >= 2) {
    if (FAntialias) g->SetSmoothingMode(SmoothingModeAntiAlias);
    const bool curve = !FCreating && FDebounce;
    if (FStyleId == 2 || FStyleId == 3) {
      // A slanted nib is the pen's circle mapped by the nib's matrix T. The
      // stroke of a path with that pen is T applied to the stroke of
      // T^-1(path) with a round pen, which libgdiplus draws exactly.
      IGPMatrix t(FStyleId == 2 ? new TGPMatrix(1, 1, -0.5f, 0, 0, 0) : new TGPMatrix(0.5f, 0, -1, 1, 0, 0));
      IGPMatrix inverse(FStyleId == 2 ? new TGPMatrix(1, 1, -0.5f, 0, 0, 0) : new TGPMatrix(0.5f, 0, -1, 1, 0, 0));
      inverse->Invert();
      std::vector<TGPPointF> back;
      for (const TGPPoint& q : pts) back.push_back(TGPPointF{Single(q.X), Single(q.Y)});
      inverse->TransformPoints(back.data(), Integer(back.size()));
      IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
      if (curve)
        path->AddCurve(back);
      else
        path->AddLines(back);
      IGPPen round(new TGPPen(colour, Single(FOutWidth)));
      round->SetLineCap(LineCapRound, LineCapRound, 0);
      round->SetLineJoin(LineJoinRound);
      path->Widen(round, nullptr, 0.25f);
      path->Transform(t);
      g->FillPath(brush, path);
    } else {
      IGPPen pen(new TGPPen(colour, Single(FOutWidth)));
      pen->SetLineCap(FStyleId == 0 ? LineCapRound : LineCapFlat, FStyleId == 0 ? LineCapRound : LineCapFlat, 0);
      pen->SetLineJoin(LineJoinRound);
      if (curve)
        g->DrawCurve(pen, pts);
      else
        g->DrawLines(pen, pts);
    }
  }
  if (preview && (FStyleId == 0 || FStyleId == 1)) dot(44, 40, 5, FStyleId == 0);
}

bool TImgLines::PtInShape(Integer X, Integer Y) {
  if (!StrokeHitTest(FStroke.Points, FStyleId, FRect, FOutWidth, TPoint(X, Y))) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = ShapeCursor::SizeAll;
  return true;
}

void TImgLines::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  const Integer dx = X2 - FStartX, dy = Y2 - FStartY;
  FrameMoveShape(X1, Y1, X2, Y2);
  for (TGPPoint& p : FStroke.Points) OffsetPoint(p, dx, dy);
  FStartX = X2;
  FStartY = Y2;
}

void TImgLines::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  for (TGPPoint& p : FStroke.Points) OffsetPoint(p, DX, DY);
}

void TImgLines::CalcPoints(bool) {
  if (FCreating) return;
  StrokeCalcPoints(FRect, FStroke);
}

void TImgLines::CalcRect() { FRect = StrokeRect(FStroke.Points, FStyleId, FOutWidth); }

void TImgLines::CalcPointsRatio() { StrokeCalcRatios(FRect, FStroke); }

TRect TImgLines::ObjectPaintBounds() const {
  // Nibs and curves reach past the points by at most the pen's width (the
  // slanted nibs' matrices stretch it by up to 1.5) and the curve's bulge.
  TRect r = FRect;
  const Integer m = 2 * FOutWidth + 4 + (FDebounce ? std::max(r.Right - r.Left, r.Bottom - r.Top) / 4 : 0);
  InflateRectXY(r, m, m);
  return r;
}

void TImgLines::SetPoints(const String& S) {
  if (!TextToPoints(S, FStroke.Points)) FStroke.Points.clear();
}

void TImgLines::GetPoints(String& S) const { S = PointsToText(FStroke.Points); }

void TImgLines::SetPointsRatio(const String& S) { StrokeSetRatioText(S, FRect, FStroke); }

void TImgLines::GetPointsRatio(String& S) const { S = StrokeRatioText(FStroke); }

void TImgLines::ReadRowColumns(TRow* Row) {
  SetPoints(CellText(Row, ShapeCol::Points));
  FDebounce = CellBool(Row, ShapeCol::LinesDebounce);
  SetPointsRatio(CellText(Row, ShapeCol::LinesRatios));
}

void TImgLines::WriteRowColumns(TRow* Row) {
  String s;
  GetPoints(s);
  SetCellText(Row, ShapeCol::Points, s);
  SetCellBool(Row, ShapeCol::LinesDebounce, FDebounce);
  GetPointsRatio(s);
  SetCellText(Row, ShapeCol::LinesRatios, s);
}
