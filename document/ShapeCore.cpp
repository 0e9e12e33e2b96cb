// Frame arithmetic of the shape base (see ShapeCore.h).
#include "document/ShapeCore.h"

#include <algorithm>
#include <cmath>

#include "rtl/Math.h"

namespace {

Integer HalfRounded(Integer V) { return Integer(Round((long double)V / 2)); }

}  // namespace

Integer TViewMap::X(Integer ImageX) const { return Integer(Round((long double)ImageX * Scale)) + OffsetHorz; }
Integer TViewMap::Y(Integer ImageY) const { return Integer(Round((long double)ImageY * Scale)) + OffsetVert; }

TShapeCore::TShapeCore() : FPointsA(9), FCtrPoints(9), FCtrRect(9) {}

void TShapeCore::SetExtraHandleCount(Integer Extra) {
  const size_t n = size_t(9 + std::max(Extra, 0));
  FPointsA.resize(n);
  FCtrPoints.resize(n);
  FCtrRect.resize(n);
}

TRect TShapeCore::RotateRect() const {
  if (FAngle == 0) return FRect;
  const TPoint corners[4] = {TPoint(FRect.Left, FRect.Top), TPoint(FRect.Right, FRect.Top),
                             TPoint(FRect.Right, FRect.Bottom), TPoint(FRect.Left, FRect.Bottom)};
  TArrayOfPoint turned;
  for (const TPoint& c : corners) turned.push_back(RotatePoint(FCenterPoint, c, FAngle));
  TRect r;
  CalcPointsBounds(turned, r);
  return r;
}

void TShapeCore::SetAngleToPoint(Integer X, Integer Y) {
  const Single cx = Single(FRect.Left + (FRect.Right - FRect.Left) / 2.0);
  const Single cy = Single(FRect.Top + (FRect.Bottom - FRect.Top) / 2.0);
  FAngle = 270 - CalcVectorAngle(X, Y, cx, cy);
}

void TShapeCore::ResetMoveStart() {
  FStartX = UnsetPosition;
  FStartY = UnsetPosition;
  FStartRect = FRect;
}

void TShapeCore::ClampValue(Single& Value, Single MaxValue, Single MinValue) {
  if (!(Value >= MinValue)) Value = MinValue;
  if (Value > MaxValue) Value = MaxValue;
}

void TShapeCore::GetScreenRect(bool IsClip, Integer BitmapWidth, Integer BitmapHeight, const TViewMap& Map,
                               TRect& R) const {
  R = FRect;
  if (IsClip) {
    R.Left = std::max(R.Left, 0);
    R.Top = std::max(R.Top, 0);
    R.Right = std::min(R.Right, BitmapWidth);
    R.Bottom = std::min(R.Bottom, BitmapHeight);
  }
  R = Map.Rect(R);
}

void TShapeCore::FrameCalcControlPoints(const TViewMap& Map) {
  if (!FSelected) return;
  const Integer d = HalfRounded(Width()), e = HalfRounded(Height());
  const TRect& r = FRect;
  const TPoint pos[9] = {TPoint(r.Left + d, r.Top - 30), TPoint(r.Left, r.Top),     TPoint(r.Right, r.Top),
                         TPoint(r.Right, r.Bottom),     TPoint(r.Left, r.Bottom),  TPoint(r.Left + d, r.Top),
                         TPoint(r.Left + d, r.Bottom),  TPoint(r.Left, r.Top + e), TPoint(r.Right, r.Top + e)};
  const TFloatPoint centre{Single(r.Left + Width() / 2.0), Single(r.Top + Height() / 2.0)};
  for (size_t i = 0; i < 9; ++i) {
    FPointsA[i] = FAngle == 0 ? pos[i] : RotatePoint(centre, pos[i], FAngle);
    FCtrPoints[i] = Map.Point(FPointsA[i]);
  }
}

void TShapeCore::FrameCalcCenterPoint() {
  FCenterPoint = TFloatPoint{Single(FRect.Left + (FRect.Right - FRect.Left) / 2.0),
                             Single(FRect.Top + (FRect.Bottom - FRect.Top) / 2.0)};
}

void TShapeCore::FrameOffsetShape(Integer DX, Integer DY) {
  MoveRectXY(FRect, DX, DY);
  OffsetPoint(FCenterPoint, DX, DY);
  for (size_t i = 0; i < 9; ++i) OffsetPoint(FPointsA[i], DX, DY);
}

void TShapeCore::FrameMoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (FStartX == UnsetPosition) FStartX = X1;
  if (FStartY == UnsetPosition) FStartY = Y1;
  FrameOffsetShape(X2 - FStartX, Y2 - FStartY);
}

void TShapeCore::FrameClickStart(Single CropRate) {
  if (FCurrentCtrIndex == -1) {
    ResetMoveStart();
  } else if (FControlMode == 4) {
    const TPoint p = FPointsA.at(size_t(FCurrentCtrIndex));
    FStartX = p.X;
    FStartY = p.Y;
  } else if ((FControlMode & 1) != 0 && FCurrentCtrIndex >= 1 && FCurrentCtrIndex <= 8) {
    const TPoint p = FPointsA[size_t(FCurrentCtrIndex)];
    FStartX = p.X;
    FStartY = p.Y;
    FStartRate = CropRate != 0 ? CropRate : Single(double(Width()) / double(Height()));
  }
}

void TShapeCore::FrameAdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2, bool KeepRate,
                                  bool KeepRateWithShift) {
  const Integer h = FCurrentCtrIndex;
  if ((FControlMode & 1) == 0 || h < 1 || h > 8) return;
  TPoint n(FStartX + (X2 - X1), FStartY + (Y2 - Y1));
  bool ratio = false;
  if (FAngle != 0) {
    const TFloatPoint centre{Single(FRect.Left + Width() / 2.0), Single(FRect.Top + Height() / 2.0)};
    n = RotatePoint(centre, n, -FAngle);
    ratio = KeepRateWithShift;
  } else {
    ratio = FStartRate != -1 && (KeepRate || KeepRateWithShift);
  }
  // A usable rate keeps the height at width / rate on the corner handles.
  const double rate = FStartRate;
  if (ratio && h <= 4 && std::isfinite(rate) && rate > 0) {
    auto tall = [&](Integer Span) { return Integer(std::clamp<Int64>(Round(Span / rate), -1000000000, 1000000000)); };
    switch (h) {
      case 1: n.Y = FRect.Bottom - tall(FRect.Right - n.X); break;
      case 2: n.Y = FRect.Bottom - tall(n.X - FRect.Left); break;
      case 3: n.Y = FRect.Top + tall(n.X - FRect.Left); break;
      default: n.Y = FRect.Top + tall(FRect.Right - n.X); break;
    }
  }
  switch (h) {
    case 1: FRect.Left = n.X; FRect.Top = n.Y; break;
    case 2: FRect.Right = n.X; FRect.Top = n.Y; break;
    case 3: FRect.Right = n.X; FRect.Bottom = n.Y; break;
    case 4: FRect.Left = n.X; FRect.Bottom = n.Y; break;
    case 5: FRect.Top = n.Y; break;
    case 6: FRect.Bottom = n.Y; break;
    case 7: FRect.Left = n.X; break;
    default: FRect.Right = n.X; break;
  }
  EnsureMinRectSize(FRect, h, FMinSize);
}

bool TShapeCore::FramePtInShape(Integer X, Integer Y) {
  if (!PointInRect(FRect, TPoint(X, Y))) return false;
  FCurrentCtrIndex = -1;
  FCurrentCursor = ShapeCursor::SizeAll;
  return true;
}

SmallInt TShapeCore::FrameHandleCursor(Integer I) const {
  if (I == 0) return ShapeCursor::Rotate;
  if (FAngle == 0) {
    if (FControlMode == 4) {
      if (I == 5 || I == 6) return ShapeCursor::SizeWE;
      if (I == 7 || I == 8) return ShapeCursor::SizeNS;
      return FCurrentCursor;
    }
    if (I == 1 || I == 3) return ShapeCursor::SizeNWSE;
    if (I == 2 || I == 4) return ShapeCursor::SizeNESW;
    if (I == 5 || I == 6) return ShapeCursor::SizeNS;
    return ShapeCursor::SizeWE;
  }
  const Integer c = (I == 1 || I == 3) ? 135 : (I == 2 || I == 4) ? 225 : (I == 5 || I == 6) ? 180 : 90;
  // Stored angles may be anything: Round saturates and the remainder keeps
  // the sign, so a negative b falls to the last case.
  const Int64 turned = Round((long double)270 - FAngle + c) % 180;
  const Int64 b = Int64(std::trunc(double(turned) / 22.5));
  if (b == 1 || b == 2) return ShapeCursor::SizeNWSE;
  if (b == 3 || b == 4) return ShapeCursor::SizeNS;
  if (b == 5 || b == 6) return ShapeCursor::SizeNESW;
  return ShapeCursor::SizeWE;
}

bool TShapeCore::FramePtInControl(Integer X, Integer Y) {
  FCurrentCtrIndex = -1;
  if (!FSelected) return false;
  for (Integer i = 0; i <= 8; ++i)
    if (PointInRect(FCtrRect[size_t(i)], TPoint(X, Y))) {
      FCurrentCursor = FrameHandleCursor(i);
      FCurrentCtrIndex = i;
      return true;
    }
  return false;
}

void TShapeCore::LayoutDiscHandles(bool NoEdgeHandles) {
  for (size_t i = 0; i <= 8; ++i) {
    const TPoint p = FCtrPoints[i];
    FCtrRect[i] = (NoEdgeHandles && i >= 5) ? TRect() : TRect(p.X - 3, p.Y - 3, p.X + 3, p.Y + 3);
  }
}

void TShapeCore::LayoutSquareHandles(Integer S) {
  const auto& p = FCtrPoints;
  for (size_t i = 0; i <= 8; ++i) FCtrRect[i] = TRect();
  FCtrRect[1] = Bounds(p[1].X - S, p[1].Y - S, S, S);
  FCtrRect[2] = Bounds(p[2].X, p[2].Y - S, S, S);
  FCtrRect[3] = Bounds(p[3].X, p[3].Y, S, S);
  FCtrRect[4] = Bounds(p[4].X - S, p[4].Y, S, S);
  if (p[8].X - p[7].X > 20) {
    FCtrRect[5] = Bounds(p[5].X - S / 2, p[5].Y - S, S, S);
    FCtrRect[6] = Bounds(p[5].X - S / 2, p[6].Y, S, S);
  }
  if (p[6].Y - p[5].Y > 20) {
    FCtrRect[7] = Bounds(p[7].X - S, p[7].Y - S / 2, S, S);
    FCtrRect[8] = Bounds(p[8].X, p[7].Y - S / 2, S, S);
  }
}

void TShapeCore::LayoutSkewHandles() {
  const auto& p = FCtrPoints;
  for (size_t i = 0; i <= 4; ++i) FCtrRect[i] = TRect();
  FCtrRect[5] = TRect(p[5].X - 7, p[5].Y - 13, p[5].X + 8, p[5].Y - 6);
  FCtrRect[6] = TRect(p[6].X - 7, p[6].Y + 7, p[6].X + 8, p[6].Y + 14);
  FCtrRect[7] = TRect(p[7].X - 13, p[7].Y - 7, p[7].X - 6, p[7].Y + 8);
  FCtrRect[8] = TRect(p[8].X + 7, p[8].Y - 7, p[8].X + 14, p[8].Y + 8);
}
