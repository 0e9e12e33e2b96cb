// TimgEllipse: the ellipse object (row type shEllipse) and its arc, chord
// and pie styles, whose two arc ends are handles 9 and 10 sliding along the
// outline (see document/EllipseGeometry.h). Hit tests run on the outline
// polygons of its path, flattened after drawing. Winelib only.
#pragma once

#include "document/EllipseGeometry.h"
#include "document/win/ImageDraw.h"

class TimgEllipse : public TImgShape {
 public:
  TimgEllipse(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  void Draw(TBitmap32* ToBitmap) override;
  void DrawControlPoint(TBitmap32* ToBitmap) override;
  bool PtInControl(Integer X, Integer Y) override;
  bool PtInShape(Integer X, Integer Y) override;
  void Click() override;
  void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void OffsetShape(Integer DX, Integer DY) override;
  void InitPoints(bool IsDrawStyle) override;
  void CalcPoints(bool IsForceCalc) override;
  void CalcControlPoints() override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;
  void ReadPresetColumns(TRow* Row) override;

  void SetPoints(const String& S);
  void GetPoints(String& S) const;
  const TArcEnds& Ends() const { return FEnds; }

 private:
  // The path of the style: the ellipse, or the arc with its chord or pie
  // lines.
  IGPGraphicsPath BuildPath() const;
  // The outline polygons of the path and of the path widened by the pen.
  void RefreshHitPolygons();
  void OffsetPoints(Integer DX, Integer DY);

  TArcEnds FEnds;
  TArrayOfGPPoint FPathPoints, FPathPointsW;
  bool FHitStale = true;
};
