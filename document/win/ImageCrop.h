// TImgCrop: the crop frame (row type shCrop), the last row of the objects
// table while it exists. Style 0 shows the image only inside the frame over
// the frame's dimmed picture (AdjustSrcBmp); style 1 keeps the whole image
// and outlines the frame with a black and white dash. The frame draws its
// handles and size label on the control layer at view scale. Winelib only.
#pragma once

#include "document/win/ImageDraw.h"

// The label of a crop-ratio index ("W:H", "1:1", ... "16:10"); empty for
// the free ratio and unknown indexes.
String CropRateLabel(Integer Index);

class TImgCrop : public TImgShape {
 public:
  TImgCrop(TImageDraw* AOwner, Integer ShapeId, TBitmap32* ABitmap);

  // The picture the document shows beneath the image outside a style-0
  // frame (the raster darkened by half, made by the document).
  TBitmap32* AdjustSrcBmp() const { return FAdjustSrcBmp.get(); }
  // The frame for R: the dash (style 1), the handles, and with IsDrawStyle
  // the light yellow fill of style 0 instead of the edge handles.
  void DrawDo(const TRect& R, bool IsDrawStyle, TBitmap32* ToBitmap);
  // "640 × 480", and "   4:3" when the ratio index has a label.
  String LabelText() const;

  void Draw(TBitmap32* ToBitmap) override;
  void DrawControlPoint(TBitmap32* ToBitmap) override;
  void MoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2) override;

 private:
  std::unique_ptr<TBitmap32> FAdjustSrcBmp;
};
