// TImgLines: the free-hand stroke of the pencil (row type shLines), drawn
// with one of four nibs as straight segments or, once finished with the
// pencil's debounce option, as a smooth curve; its points follow the box
// through their ratios (see document/LinesGeometry.h). Also the highlighter
// stroke and the style list's nib previews, which have no document.
// Winelib only.
#pragma once

#include "document/LinesGeometry.h"
#include "document/win/ImageDraw.h"

class TImgLines : public TImgShape {
 public:
  TImgLines(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  void Draw(TBitmap32* ToBitmap) override;
  bool PtInShape(Integer X, Integer Y) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void OffsetShape(Integer DX, Integer DY) override;
  void CalcPoints(bool IsForceCalc) override;
  void CalcRect() override;
  void CalcPointsRatio() override;
  TRect ObjectPaintBounds() const override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;

  void ClearPoints();
  // Appends a mouse position (repeats are kept).
  void AddNewPoint(Integer X, Integer Y);
  // Thins a finished stroke.
  void VerifyPoints();
  void SetPoints(const String& S);
  void GetPoints(String& S) const;
  void SetPointsRatio(const String& S);
  void GetPointsRatio(String& S) const;
  Integer PointsCount() const { return Integer(FStroke.Points.size()); }
  const TArrayOfGPPoint& Points() const { return FStroke.Points; }
  bool Debounce() const { return FDebounce; }
  void SetDebounce(bool Value) { FDebounce = Value; }

 private:
  TStrokePoints FStroke;
  bool FDebounce = false;
};
