// TImgLine: the line and arrow object (row types shLine and shArrow). Four
// points (1 start, 4 end, 2 and 3 the middle points) and a style of 15 (see
// document/LineGeometry.h) make one filled path: the line widened by the
// pen, then its heads and dots, which stay solid under a dashed pen.
// Winelib only.
#pragma once

#include "document/LineGeometry.h"
#include "document/win/ImageDraw.h"

class TImgLine : public TImgShape {
 public:
  TImgLine(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  void Draw(TBitmap32* ToBitmap) override;
  void DrawControlPoint(TBitmap32* ToBitmap) override;
  bool PtInControl(Integer X, Integer Y) override;
  bool PtInShape(Integer X, Integer Y) override;
  void Click() override;
  void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void OffsetShape(Integer DX, Integer DY) override;
  void CalcPoints(bool IsForceCalc) override;
  void CalcControlPoints() override;
  void CalcRect() override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;
  void ReadPresetColumns(TRow* Row) override;
  TRect ObjectPaintBounds() const override;

  // Samples the curve again while Changed2 is set (or nothing is cached).
  void CalcBezierPoints();
  // Points 1..4; other indexes read (0, 0) and write nothing.
  TPoint GetPoint(Integer Index) const;
  void SetPoint(Integer Index, const TPoint& P);
  Integer ArrowType() const { return FArrowType; }
  void SetArrowType(Integer Value) { FArrowType = Value; }
  const TArrayOfPoint& PathPoints() const { return FPathPoints; }
  // The figures, heads and dots Draw fills.
  TLineOutline Outline() const;

 private:
  bool IsArrow() const { return FShapeType == TShapeType::shArrow; }
  IGPBrush Brush();

  TLinePoints FPoints{};
  Integer FArrowType = 0;
  TArrayOfPoint FPathPoints;
};
