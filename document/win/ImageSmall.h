// TImgSmall: the picture object (row type shSmall): a picture kept at its
// own size and drawn scaled to its box with the object's opacity, turned
// about the box's centre. Its scaled copy is rebuilt only after a change of
// the object (a move keeps it). The document's watermark is an instance
// outside the objects table, drawn through DrawByRect. Winelib only.
#pragma once

#include <memory>

#include "bitmap/Bmp32_Transforms.h"
#include "document/win/ImageDraw.h"

class TImgSmall : public TImgShape {
 public:
  TImgSmall(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);
  ~TImgSmall() override;

  void Draw(TBitmap32* ToBitmap) override;
  bool PtInShape(Integer X, Integer Y) override;
  void AdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  TRect ObjectPaintBounds() const override;
  // Undo keeps a copy of the picture in the step row whenever DataChanged
  // is set (then cleared); the sidecar stores the picture itself.
  void SaveUndoParts(TRow* StepRow) override;
  void RestoreUndoParts(TDataTable* UndoDT, Integer Index) override;
  TCustomBitmap32* StoredPicture() override { return FSrcBmp.get(); }
  // Takes Picture's pixels (the picture's own resampling stays) and marks
  // the object changed.
  void RestorePicture(TCustomBitmap32* Picture) override;

  // The scaled picture, rebuilt when the object changed.
  void DrawPrepare();
  // The scaled picture with its top-left at (X, Y); AlphaValue >= 0
  // replaces its master alpha first.
  void DrawByRect(TBitmap32* DstBmp, Integer X, Integer Y, Integer AlphaValue);
  // The turned picture's bounds for the current box.
  void GetMaxRect(TRect& R);

  // Whoever changes the picture's pixels sets DataChanged, so that the next
  // undo step keeps a copy, and Changed2, so that the scaled copy follows.
  TBitmap32* SrcBmp() const { return FSrcBmp.get(); }
  TBitmap32* TmpBmp() const { return FTmpBmp.get(); }
  const TRect& MaxRect() const { return FMaxRect; }
  // The picture's own size.
  Integer Width() const { return FSrcBmp->Width(); }
  Integer Height() const { return FSrcBmp->Height(); }
  // How often the scaled picture was rebuilt.
  Integer RebuildCount() const { return FRebuildCount; }

 private:
  void SetupRotation(const TRect& R);
  void TakePixels(TCustomBitmap32* Picture);

  std::unique_ptr<TBitmap32> FSrcBmp, FTmpBmp;
  std::unique_ptr<TAffineTransformation> FTransformation;
  TRect FMaxRect;
  Integer FRebuildCount = 0;
  // The turned picture's samples, made once per scaled copy and angle and
  // placed at FTurnedAt from the box's corner (a move only places it anew).
  std::unique_ptr<TBitmap32> FTurnedBmp;
  TPoint FTurnedAt;
  Single FTurnedAngle = 0;
  Integer FTurnedBuild = -1;
  void MakeTurned();
};
