// TImgHLRect: the highlight rectangle (row type shHLRect), an unturnable
// rectangle that multiplies the image under it by its fill colour at its
// opacity, keeping the image's alpha (see document/HighlightBlend.h).
// Winelib only.
#pragma once

#include "document/win/ImageDraw.h"

class TImgHLRect : public TImgShape {
 public:
  TImgHLRect(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  void Draw(TBitmap32* ToBitmap) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
};
