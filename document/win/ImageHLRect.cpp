// The highlight rectangle (see ImageHLRect.h).
#include "document/win/ImageHLRect.h"

#include "document/HighlightBlend.h"

TImgHLRect::TImgHLRect(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap) : TImgShape(AOwner, ShapeId, ABitmap) {
  FShapeType = TShapeType::shHLRect;
  SetControlModeValue(3);
}

void TImgHLRect::Draw(TBitmap32* ToBitmap) {
  TBitmap32* target = TargetOf(ToBitmap);
  if (target == nullptr || target->Empty()) return;
  HighlightPixels(target->Bits(), target->Width(), target->Height(), FRect, Color32(FFillColor), FOpacity);
  target->Changed();
}

void TImgHLRect::MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FrameMoveShape(X1, Y1, X2, Y2);
  FStartX = X2;
  FStartY = Y2;
}
