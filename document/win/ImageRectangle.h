// TImgRectangle: the rectangle object (row type shRectangle) in twelve
// outlines (see document/RectGeometry.h), filled and outlined by the shape
// base's procedure, turnable about its centre. Its one or two extra handles
// are the base's handles 9 and 10. Winelib only.
#pragma once

#include "document/RectGeometry.h"
#include "document/win/ImageDraw.h"

class TImgRectangle : public TImgShape {
 public:
  TImgRectangle(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

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

  // The handles as "X.X.Y.Y" (the row's column 41).
  void SetPoints(const String& S);
  void GetPoints(String& S) const;
  const TRectHandles& Handles() const { return FHandles; }
  const TArrayOfGPPoint& CheckPoints() const { return FCheckPoints; }
  // The two corner diameters of outlines 1, 6 and 7.
  Integer GetFR() const { return FR; }
  Integer GetFR2() const { return FR2; }

 private:
  TRectOutline BuildOutline() const;
  // The outline polygon and corner diameters of the current state.
  void RefreshOutline(const TRectOutline& O);
  void OffsetHandles(Integer DX, Integer DY);

  TRectHandles FHandles;
  TArrayOfGPPoint FCheckPoints;
  Integer FR = 0, FR2 = 0;
};
