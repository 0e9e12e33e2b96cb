// TImgFreeShape: the Bezier shape (row type shFreeShape), a path of cubic
// segments drawn node by node and edited by its nodes and tangents, by the
// frame handles (control mode 1) or by skewing (4). Its node table and all
// the arithmetic are in document/FreeShapeNodes.h; the table's text is
// stored in the row's column 42. Winelib only.
#pragma once

#include "document/FreeShapeNodes.h"
#include "document/win/ImageDraw.h"

class TImgFreeShape : public TImgShape {
 public:
  TImgFreeShape(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

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
  void CalcPointsRatio() override;
  void UnSelect() override;
  TRect ObjectPaintBounds() const override;

  void ReadRowColumns(TRow* Row) override;
  void WriteRowColumns(TRow* Row) override;
  bool RowUsable() const override { return !FPath.Rows.empty(); }

  // --- creation
  void AddNewPoint(Integer X, Integer Y);
  void SetControlPoint(Integer X, Integer Y);
  void CreateOver();
  bool PtInFirstPoint(const TPoint& Pt) const { return BezierPtInFirstPoint(FPath, Pt); }
  bool PtInLastPoint(const TPoint& Pt) const { return BezierPtInLastPoint(FPath, Pt); }
  LUMIGRA_SHAPE_PROP(bool, TerminateCreate)
  LUMIGRA_SHAPE_PROP(bool, AppendFromStartPoint)
  LUMIGRA_SHAPE_PROP(bool, AppendFromEndPoint)
  LUMIGRA_SHAPE_PROP(bool, PointAdding)
  bool FinalPointAdding() const { return FCreation.FinalPointAdding; }
  void SetFinalPointAdding(bool Value) { FCreation.FinalPointAdding = Value; }
  const TPoint& PointMoved() const { return FPointMoved; }
  void SetPointMoved(const TPoint& P) { FPointMoved = P; }

  // --- geometry and editing
  void CalcBezierPoints();
  // The turn baked into the nodes (leaving frame mode).
  void RotateToCurrent();
  bool PtInPath(Integer X, Integer Y);
  void SetSelectPointIndex(Integer Value);
  Integer SelectPointIndex() const { return FPath.SelectPointIndex; }
  void AddNodePoint();
  // False when no segment is left.
  bool DeleteSelectPoints();
  void BreakNode();
  void CloseShape();
  bool HideTangent();
  bool SetCommonTangent(bool Value);
  void AppendShape(TImgFreeShape* Other);

  void SetPoints(const String& S);
  void GetPoints(String& S);
  Integer BezierCount() const { return Integer(FPath.Rows.size()); }
  bool Closed() const { return FPath.Closed; }
  Integer SelectPointCount() const { return BezierSelectedCount(FPath); }
  const TBezierPath& Path() const { return FPath; }
  const TBezierSamples& Samples() const { return FSamples; }
  const TPoint& PointAdded() const { return FPointAdded; }

 private:
  void Sampled();
  TBezierPath FPath, FBackup;
  TBezierSamples FSamples;
  TBezierCreation FCreation;
  bool FSamplesStale = true;
  bool FTerminateCreate = false, FAppendFromStartPoint = false, FAppendFromEndPoint = false;
  bool FPointAdding = false;
  TPoint FPointMoved, FPointAdded;
  Integer FPointAddRow = -1;
  Single FT = 0;
  Integer FCurrentCtrTangIndex = -1;
  std::array<TRect, 4> FTangRects{};
  std::vector<TPoint> FNodeView;
  std::vector<TRect> FNodeRects;
};
