// TImgSelection: the document's selection (row type shSelection), the last
// row of the objects table while it exists. It holds its region and points
// in a TSelectionCore (document/SelectionCore.h), draws only a lifted
// picture into the image, and its outline (the marching ants) on the
// control layer, moved on by a 100 ms timer. Winelib only.
#pragma once

#include <memory>

#include "classlib/ExtCtrls.h"
#include "document/SelectionCore.h"
#include "document/win/ImageDraw.h"

class TImgSelection : public TImgShape {
 public:
  TImgSelection(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);
  ~TImgSelection() override;

  TSelectionCore& Core() { return FCore; }
  const TRegion& Region() const { return FCore.Region(); }

  // --- creating
  void AddNewPoint(Integer X, Integer Y) { FCore.Input.AddPoint(FStyleId, X, Y); }
  void DeleteLastPoint() { FCore.Input.DeleteLastPoint(); }
  TPoint PointMoved() const { return FCore.Input.PointMoved; }
  void SetPointMoved(const TPoint& P) { FCore.Input.PointMoved = P; }
  bool IsTest() const { return FCore.Input.IsTest(); }
  bool CreateRegion(bool IsAntialiasing);
  bool CreateRegionFromRects(bool IsAntialiasing, const std::vector<TRect>& Rects);
  // Adds (the document's SelectionExpanding) or subtracts the selection of
  // kind RegionStyleId described by ARect and In; an addition first stamps
  // and frees a lifted picture, a subtraction trims it.
  bool CombineRegion(bool IsAntialiasing, Integer RegionStyleId, const TRect& ARect, const TSelectionInput& In);
  bool CombineRegionAuto(bool IsAntialiasing, bool bAll);
  void AddNodePoint(Integer X, Integer Y);
  void SetNodePoints(const TPoint* P, Integer Count) { FCore.SetNodePoints(P, Count); }
  void SetAliasPoints(const TPoint* P, Integer Count) { FCore.SetAliasPoints(P, Count); }
  void CalcRegionRects() { FCore.CalcRegionRects(ViewMap().Scale); }
  String GetRegionString() const { return RegionToText(FCore.Region()); }

  // --- pictures
  // Cuts the region's pixels into the two smoothed pictures (through the
  // document) and returns the piece (the caller owns it), nil when the
  // region lies outside the image. The region is clipped to the image.
  TBitmap32* GetSelectionBitmap(TRect& DestRect);
  // Stamps a lifted picture into the image; with bFree it goes.
  bool FlattenBitmap(bool bFree);
  // Frees a lifted picture without stamping it (it was cut out already).
  void DropLiftedBitmap() {
    if (!FSelBitmap) return;
    FSelBitmap.reset();
    FBitmapChanged = true;
  }
  // Smooths the cut pictures (Part of cutting; a node lasso collects its
  // alias points now).
  void AntiAliasing(Integer DX, Integer DY);
  TBitmap32* SelBitmap() const { return FSelBitmap.get(); }
  TBitmap32* AutiAliasBmpZ() const { return FAutiAliasBmpZ.get(); }
  TBitmap32* AutiAliasBmpF() const { return FAutiAliasBmpF.get(); }
  bool UseMoveSelection() const { return FUseMoveSelection; }
  void SetUseMoveSelection(bool V) { FUseMoveSelection = V; }
  bool BitmapChanged() const { return FBitmapChanged; }
  void SetBitmapChanged(bool V) { FBitmapChanged = V; }

  // --- the ants
  Integer AntIndex() const { return FTimerAntIndex; }
  TTimer* AntTimer() const { return FTimerAnt; }
  // One tick: the next phase and a repaint, unless the document is busy.
  void AntStep();

  void Draw(TBitmap32* ToBitmap) override;
  void DrawControlPoint(TBitmap32* ToBitmap) override;
  bool PtInControl(Integer X, Integer Y) override;
  bool PtInShape(Integer X, Integer Y) override;
  void Click() override;
  void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void OffsetShape(Integer DX, Integer DY) override;
  void CalcRect() override;
  void SaveUndoParts(TRow* StepRow) override;
  void RestoreUndoParts(TDataTable* UndoDT, Integer Index) override;

 private:
  void Lift();
  void DrawPreview(TBitmap32* Target);

  TSelectionCore FCore;
  std::unique_ptr<TBitmap32> FSelBitmap;
  std::unique_ptr<TBitmap32> FAutiAliasBmpZ, FAutiAliasBmpF;
  std::unique_ptr<TCustomBitmap32> FBrushBitmap;
  TTimer* FTimerAnt = nullptr;
  Integer FTimerAntIndex = 0;
  std::vector<TRect> FNodeRects;
  bool FUseMoveSelection = false;
  bool FCopiedOnMoving = false;
  bool FBitmapChanged = false;
};
