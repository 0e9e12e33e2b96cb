// Text objects and callouts (see ImageText.h).
#include "document/win/ImageText.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "document/RectGeometry.h"
#include "document/ShapeRows.h"
#include "document/ShapeStyles.h"

namespace {

TGPColor Opaque(TColor C) { return TGPColor(Color32(C) | 0xFF000000u); }

TGPColor WithAlpha(TColor C, Integer Alpha) {
  return TGPColor((Color32(C) & 0x00FFFFFFu) | (Cardinal(std::clamp(Alpha, 0, 255)) << 24));
}

void AddOps(const IGPGraphicsPath& Path, const TPathOps& Ops) {
  for (const TPathOp& o : Ops) {
    const TRect& b = o.Box;
    switch (o.Kind) {
      case TPathOpKind::StartFigure: Path->StartFigure(); break;
      case TPathOpKind::CloseFigure: Path->CloseFigure(); break;
      case TPathOpKind::Polygon: {
        std::vector<TGPPoint> pts;
        for (const TPoint& p : o.Points) pts.push_back(TGPPoint{p.X, p.Y});
        if (pts.size() >= 3) Path->AddPolygon(pts);
        break;
      }
      case TPathOpKind::Line: Path->AddLine(o.Points[0].X, o.Points[0].Y, o.Points[1].X, o.Points[1].Y); break;
      case TPathOpKind::Arc:
        if (b.Right > b.Left && b.Bottom > b.Top)
          Path->AddArc(b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top, o.Start, o.Sweep);
        else
          Path->AddLine(b.Left, b.Top, b.Left, b.Top);
        break;
      case TPathOpKind::Bezier:
        Path->AddBezier(TGPPoint{o.Points[0].X, o.Points[0].Y}, TGPPoint{o.Points[1].X, o.Points[1].Y},
                        TGPPoint{o.Points[2].X, o.Points[2].Y}, TGPPoint{o.Points[3].X, o.Points[3].Y});
        break;
      case TPathOpKind::Ellipse:
        if (b.Right > b.Left && b.Bottom > b.Top) Path->AddEllipse(b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top);
        break;
      case TPathOpKind::Outline:
        if (Path->GetPointCount() > 0) Path->Outline(nullptr, 0.25f);
        break;
    }
  }
}

}  // namespace

TImgText::TImgText(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap) : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shText;
  SetControlModeValue(3);
  FMinSize = 10;
}

IGPGraphicsPath TImgText::FramePath() const {
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  AddOps(path, IsCallout() ? CalloutFramePath(FStyleId, FRect, FPoints) : TextFramePath(FStyleId, FRect));
  return path;
}

TGPRectF TImgText::LayoutRect() const {
  const Single x = Single(FRect.Left), y = Single(FRect.Top);
  const Single w = Single(FRect.Right - FRect.Left), h = Single(FRect.Bottom - FRect.Top);
  if (!IsCallout()) return TGPRectF{x, y, w, h};
  switch (FStyleId) {
    case 0: {
      const Single p0 = FPoints.Points.empty() ? y : Single(FPoints.Points[0].Y);
      return TGPRectF{x, p0, w, h - (p0 - y)};
    }
    case 4: return TGPRectF{x, y, w, h * 0.92f};
    case 6: return TGPRectF{x + w * 0.25f, y + h * 0.45f, w * 0.75f, h * 0.55f};
    case 7: return TGPRectF{x, y + h * 0.45f, w * 0.75f, h * 0.55f};
    default: return TGPRectF{x, y, w, h};
  }
}

void TImgText::Draw(TBitmap32* ToBitmap) {
  TBitmap32* target = TargetOf(ToBitmap);
  if (FDrawMode2 > 3) return;
  const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
  if (w > 0 && h > 0) {
    TShapePaint p;
    p.Path = FramePath();
    p.G = TGPRect{FRect.Left, FRect.Top, w, h};
    if (FGradientFillMode == 0) {
      // Callouts with a pointer spread their linear gradient to its tip.
      const TRect l = TextLinearGradientRect(IsCallout(), FStyleId, FRect, FPoints);
      p.G = TGPRect{l.Left, l.Top, l.Right - l.Left, l.Bottom - l.Top};
    }
    p.Radial = TextRadialGradientRect(IsCallout(), FStyleId, FRect, FCenterPoint, FPoints);
    if (IsCallout() && FStyleId == 8)
      for (const TPathOp& o : CalloutFramePath(FStyleId, FRect, FPoints))
        if (o.Kind == TPathOpKind::Ellipse) {
          // The three bubbles: a path gradient of its own for each.
          IGPGraphicsPath bubble(new TGPGraphicsPath());
          AddOps(bubble, {o});
          if (bubble->GetPointCount() > 0) p.GradientPaths.push_back(bubble);
        }
    p.Smooth = FAntialias && (IsCallout() || FStyleId != 0 || FAngle != 0);
    PaintFillAndOutline(target, p);
  }
  if (FDrawMode2 >= 1) return;  // the mask passes draw the frame only
  if (IsCallout() && FStyleId == 0 && FIsOutline && !FPoints.Points.empty()) {
    IGPGraphics g = NewGraphics(target);
    TurnGraphics(g);
    if (FAntialias) g->SetSmoothingMode(SmoothingModeAntiAlias);
    IGPPen pen(new TGPPen(OpacityColor(FColor), Single(FOutWidth)));
    pen->SetDashStyle(FPenStyle);
    const TGPPoint p0 = FPoints.Points[0];
    g->DrawLines(pen, std::vector<TGPPoint>{{FRect.Left, p0.Y}, {p0.X, p0.Y}, {p0.X, FRect.Top}});
  }
  if (!FText.empty()) DrawText(target);
}

void TImgText::DrawText(TBitmap32* Target) {
  const TGPColor textColour = FIsOutline || FIsFill ? Opaque(FFontColor) : WithAlpha(FFontColor, FOpacity);
  IGPBrush textBrush(new TGPSolidBrush(textColour));
  IGPStringFormat format(new TGPStringFormat(FDirectionVertical ? 2 : 0, 0));
  format->SetAlignment(FAlignment);
  format->SetLineAlignment(FLayout);
  const TGPFontStyle style =
      (FFontBold ? FontStyleBold : 0) | (FFontItalic ? FontStyleItalic : 0) | (FFontUnderline ? FontStyleUnderline : 0);
  const TGPRectF layout = LayoutRect();
  const bool plain = !FFontStroke && !FFontStrokeEmpty && FTextGradientMode < 0;
  if (plain) {
    // The device context's character spacing is set for the drawing and
    // put back, so later GDI text on the bitmap is not spread out.
    HDC dc = Target->Handle();
    const int oldExtra = dc ? SetTextCharacterExtra(dc, 5) : 0;
    {
      IGPGraphics g = NewGraphics(Target);
      TurnGraphics(g);
      const bool chinese = FParent && FParent->LanguageIndex() == 0;
      FLastHint = chinese || FFontSize < 18 ? TextRenderingHintAntiAlias : TextRenderingHintAntiAliasGridFit;
      g->SetTextRenderingHint(FLastHint);
      IGPFont font(new TGPFont(FFontName, Single(FFontSize), style, UnitPixel));
      g->DrawString(FText, font, layout, format, textBrush);
    }
    if (dc) SetTextCharacterExtra(dc, oldExtra);
    return;
  }
  IGPGraphics g = NewGraphics(Target);
  TurnGraphics(g);
  g->SetSmoothingMode(SmoothingModeAntiAlias);
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  IGPFontFamily family(new TGPFontFamily(FFontName));
  path->AddString(FText, family, style, Single(FFontSize), layout, format);
  if (FFontStrokeEmpty || FTextGradientMode < 0) {
    if (FFontStroke) g->FillPath(textBrush, path);
  } else {
    TGPRect b{};
    path->GetBounds(b);
    IGPBrush brush;
    if (FTextGradientFillMode == 5) {
      const Integer entry = FTextGradientTextureFileName.empty() ? -1 : CacheTextureFile(FTextGradientTextureFileName);
      if (IGPImage image = entry >= 0 ? CachedTextureImage(entry) : nullptr) {
        IGPTextureBrush t(new TGPTextureBrush(image, WrapModeTile));
        t->TranslateTransform(Single(b.X), Single(b.Y));
        brush = t;
      }
    } else if (FTextGradientFillMode == 0 || FTextGradientFillMode == 2) {
      std::vector<TColor32> stops;
      TArrayOfSingle positions;
      BuildGradientStops(FTextGradientColor, FTextGradientOpacity, FTextGradientPosition, FOpacity, stops, positions);
      const TArrayOfGPColor colours(stops.begin(), stops.end());
      if (colours.size() >= 2 && b.Width > 0 && b.Height > 0) {
        IGPColorBlend blend(new TGPColorBlend(colours, positions));
        if (FTextGradientFillMode == 0) {
          IGPLinearGradientBrush lb(new TGPLinearGradientBrush(b, 0xFFFF0000u, 0xFF0000FFu,
                                                               Single(FTextGradientLinearAngle), false));
          lb->SetGammaCorrection(FTextGradientGammaCorrected);
          lb->SetInterpolationColors(blend);
          brush = lb;
        } else {
          const TFloatPoint centre{b.X + b.Width / 2.0f, b.Y + b.Height / 2.0f};
          const TFloatRect e =
              TextRadialGradientRect(false, 0, TRect(b.X, b.Y, b.X + b.Width, b.Y + b.Height), centre, FPoints);
          IGPGraphicsPath ellipse(new TGPGraphicsPath());
          ellipse->AddEllipse(e.Left, e.Top, e.Right - e.Left, e.Bottom - e.Top);
          IGPPathGradientBrush pb(new TGPPathGradientBrush(ellipse));
          pb->SetGammaCorrection(FTextGradientGammaCorrected);
          pb->SetInterpolationColors(blend);
          brush = pb;
        }
      }
    }
    // Fill modes without a brush of their own (path, edging, hatch) and
    // gradients without stops fill the glyphs with the text brush.
    g->FillPath(brush ? brush : textBrush, path);
  }
  if (FFontStroke || FFontStrokeEmpty) {
    if (FFontStrokeWidth == 0) FFontStrokeWidth = 1;
    const TGPColor c = FIsOutline || FIsFill ? Opaque(FFontStrokeColor) : WithAlpha(FFontStrokeColor, FOpacity);
    g->DrawPath(IGPPen(new TGPPen(c, Single(FFontStrokeWidth))), path);
  }
}

// --- points and handles

void TImgText::InitPoints(bool IsDrawStyle) {
  if (!IsCallout()) {
    FPoints = TCalloutPoints();
    SetExtraHandleCount(0);
    return;
  }
  CalloutInitPoints(FStyleId, IsDrawStyle, FPoints);
  const Integer n = Integer(FPoints.Points.size());
  SetExtraHandleCount(FStyleId >= 2 && FStyleId <= 4 ? 0 : FStyleId == 11 ? std::min(n, 2) : n);
}

void TImgText::CalcPoints(bool IsForceCalc) {
  if (!IsCallout()) return;
  CalloutCalcPoints(FStyleId, FRect, IsForceCalc, FCreating, FCurrentCtrIndex == 10 && FTipDragged, FPoints);
  FTipDragged = false;
}

void TImgText::CalcControlPoints() {
  if (!FSelected) return;
  const TViewMap m = ViewMap();
  FrameCalcControlPoints(m);
  for (Integer i = 9; i < HandleCount(); ++i) {
    const size_t k = size_t(i - 9);
    if (k >= FPoints.Points.size()) break;
    const TPoint p(FPoints.Points[k].X, FPoints.Points[k].Y);
    FPointsA[size_t(i)] = FAngle != 0 ? RotatePoint(FCenterPoint, p, FAngle) : p;
    FCtrPoints[size_t(i)] = m.Point(FPointsA[size_t(i)]);
  }
}

void TImgText::DrawControlPoint(TBitmap32* ToBitmap) {
  if (!FSelected || FParent == nullptr) return;
  TImgShape::DrawControlPoint(ToBitmap);
  TBitmap32* glyph = FParent->CtrBmpY3();
  const Integer h = glyph->Width() / 2;
  for (Integer i = 9; i < HandleCount(); ++i) {
    if (FStyleId == 11 && i != 10) continue;
    const TPoint v = FCtrPoints[size_t(i)];
    FCtrRect[size_t(i)] = TRect(v.X - h, v.Y - h, v.X + h, v.Y + h);
    TargetOf(ToBitmap)->Draw(v.X - h, v.Y - h, glyph);
  }
}

bool TImgText::PtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  for (Integer i = 9; i < HandleCount(); ++i)
    if (PointInRect(FCtrRect[size_t(i)], TPoint(X, Y))) {
      FCurrentCursor = ShapeCursor::HandPoint;
      FCurrentCtrIndex = i;
      return true;
    }
  return FramePtInControl(X, Y);
}

bool TImgText::PtInShape(Integer X, Integer Y) {
  const TPoint p = FAngle != 0 ? RotatePoint(FCenterPoint, TPoint(X, Y), -FAngle) : TPoint(X, Y);
  bool hit = PointInRect(FRect, p);
  if (!hit && IsCallout() && (FStyleId == 1 || FStyleId == 9) && FPoints.Points.size() >= 3)
    hit = PtInPolygon(p, FPoints.Points.data(), 3);
  if (!hit) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = ShapeCursor::SizeAll;
  return true;
}

void TImgText::Click() {
  TImgShape::Click();
  if (FCurrentCtrIndex >= 9 && FCurrentCtrIndex < HandleCount()) {
    FStartX = FPointsA[size_t(FCurrentCtrIndex)].X;
    FStartY = FPointsA[size_t(FCurrentCtrIndex)].Y;
  }
}

void TImgText::AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (FCurrentCtrIndex < 9) {
    TImgShape::AdjustShape(X1, Y1, X2, Y2);
    return;
  }
  const Integer k = FCurrentCtrIndex - 9;
  const TPoint a(X2 - X1 + FStartX, Y2 - Y1 + FStartY);
  const TPoint u = FAngle != 0 ? RotatePoint(FCenterPoint, a, -FAngle) : a;
  CalloutAdjustPoint(FStyleId, k, u, FRect, FPoints);
  FTipDragged = FStyleId == 11 && k == 1;
}

void TImgText::OffsetPoints(Integer DX, Integer DY) {
  for (TGPPoint& p : FPoints.Points) OffsetPoint(p, DX, DY);
}

void TImgText::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  OffsetPoints(X2 - FStartX, Y2 - FStartY);
  FStartX = X2;
  FStartY = Y2;
}

void TImgText::OffsetShape(Integer DX, Integer DY) {
  FrameOffsetShape(DX, DY);
  OffsetPoints(DX, DY);
}

Integer TImgText::StyleExtraMargin() const { return IsCallout() ? GetMaxLengthOfOutPoint() : 0; }

Integer TImgText::GetMaxLengthOfOutPoint() const { return CalloutMaxOutLength(FStyleId, FRect, FPoints); }

void TImgText::SetPoints(const String& S) {
  if (!IsCallout()) return;
  CalloutSetPointsText(S, FStyleId, FRect, FPoints);
  const Integer n = Integer(FPoints.Points.size());
  SetExtraHandleCount(FStyleId >= 2 && FStyleId <= 4 ? 0 : FStyleId == 11 ? std::min(n, 2) : n);
}

String TImgText::GetPoints() const { return IsCallout() ? CalloutPointsText(FStyleId, FPoints) : String(); }

void TImgText::UpgradePoints() { CalloutUpgradePoints(FStyleId, FRect, FPoints); }

// --- the row

void TImgText::ReadPresetColumns(TRow* Row) {
  ReadRowColumns(Row);
  InitPoints(false);
}

void TImgText::ReadRowColumns(TRow* Row) {
  if (!CellText(Row, 40).empty()) FFontName = CellText(Row, 40);
  FFontSize = CellInt(Row, 41);
  FFontColor = TColor(CellInt(Row, 42));
  FFontBold = CellBool(Row, 43);
  FFontItalic = CellBool(Row, 44);
  FFontUnderline = CellBool(Row, 45);
  FAlignment = CellInt(Row, 46);
  FLayout = CellInt(Row, 47);
  FDirectionVertical = CellBool(Row, 48);
  FFontStroke = CellBool(Row, 49);
  FFontStrokeColor = TColor(CellInt(Row, 50));
  FText = UnescapeTableText(CellText(Row, 54));
  FFontStrokeEmpty = CellBool(Row, 55);
  FFontStrokeWidth = CellInt(Row, 56);
  if (Row->ItemCount() > 59) {
    FTextGradientMode = CellInt(Row, 59);
    FTextGradientColor = CellText(Row, 60);
    FTextGradientOpacity = CellText(Row, 61);
    FTextGradientPosition = CellText(Row, 62);
    FTextGradientFillMode = CellInt(Row, 63);
    FTextGradientLinearAngle = CellInt(Row, 64);
    FTextGradientEdgingWidth = CellInt(Row, 65);
    FTextGradientGammaCorrected = CellBool(Row, 66);
    FTextGradientTextureFileName = UnescapeTableText(CellText(Row, 67));
  }
  if (IsCallout()) {
    FPoints.Zone = CellInt(Row, 51);
    SetPoints(CellText(Row, 53));
  }
}

void TImgText::WriteRowColumns(TRow* Row) {
  SetCellText(Row, 40, FFontName);
  SetCellInt(Row, 41, FFontSize);
  SetCellInt(Row, 42, Integer(FFontColor));
  SetCellBool(Row, 43, FFontBold);
  SetCellBool(Row, 44, FFontItalic);
  SetCellBool(Row, 45, FFontUnderline);
  SetCellInt(Row, 46, FAlignment);
  SetCellInt(Row, 47, FLayout);
  SetCellBool(Row, 48, FDirectionVertical);
  SetCellBool(Row, 49, FFontStroke);
  SetCellInt(Row, 50, Integer(FFontStrokeColor));
  SetCellInt(Row, 51, FPoints.Zone);
  SetCellText(Row, 53, GetPoints());
  SetCellText(Row, 54, EscapeTableText(FText));
  SetCellBool(Row, 55, FFontStrokeEmpty);
  SetCellInt(Row, 56, FFontStrokeWidth);
  SetCellInt(Row, 59, FTextGradientMode);
  SetCellText(Row, 60, FTextGradientColor);
  SetCellText(Row, 61, FTextGradientOpacity);
  SetCellText(Row, 62, FTextGradientPosition);
  SetCellInt(Row, 63, FTextGradientFillMode);
  SetCellInt(Row, 64, FTextGradientLinearAngle);
  SetCellInt(Row, 65, FTextGradientEdgingWidth);
  SetCellBool(Row, 66, FTextGradientGammaCorrected);
  SetCellText(Row, 67, EscapeTableText(FTextGradientTextureFileName));
}
