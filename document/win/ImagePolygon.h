// TImgPolygon: the polygon object (row type shPolygon): drawn polygons and
// open polylines, the diamond, and regular polygons and stars generated
// around their centre (see document/PolygonGeometry.h). Vertex handles
// only: no frame handles, no turning. Winelib only.
#pragma once

#include "document/PolygonGeometry.h"
#include "document/win/ImageDraw.h"

class TImgPolygon : public TImgShape {
 public:
  TImgPolygon(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

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
  void CalcCenterPoint() override;
  TRect ObjectPaintBounds() const override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;

  // A vertex drawn by the user (a repeat of the last one is dropped).
  void AddNewPoint(Integer X, Integer Y);
  void SetPoints(const String& S);
  void GetPoints(String& S) const;
  Integer PointsCount() const { return Integer(FPoints.size()); }
  const TArrayOfGPPoint& Points() const { return FPoints; }
  const TPoint& PointMoved() const { return FPointMoved; }
  void SetPointMoved(const TPoint& P) { FPointMoved = P; }
  TRect VertexRect(Integer I) const { return FVertexRects.at(size_t(I)); }

 private:
  TArrayOfGPPoint FPoints;
  std::vector<TPoint> FVertexView;
  std::vector<TRect> FVertexRects;
  TPoint FPointMoved;
  TPoint FPointAdjusted;
};
