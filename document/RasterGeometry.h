// Raster geometry: the sizes and offsets of the canvas commands, the crop
// rectangle, and the free transformations (rotation by an angle, skew,
// four-corner transform with scaling) rendered through the engine's draft
// resampler with a transparent edge. The document (document/win/
// ImageDraw.h) applies them to its raster. Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"

// Where the old image lands on a canvas of W x H: the size differences
// halved, truncated toward zero.
TPoint CanvasOffset(Integer OldW, Integer OldH, Integer W, Integer H);

// The canvas margins (negative ones remove pixels): ILeft and ITop raised
// to keep at least one column and row; the new size, at least 1 x 1. False
// when all four are 0 (nothing to do).
bool ExtendCanvasSize(Integer OldW, Integer OldH, Integer& ILeft, Integer IRight, Integer& ITop, Integer IBottom,
                      Integer& NewW, Integer& NewH);

// Frame clipped to the raster. False when the part left has no pixels (a
// frame wholly outside or only touching the raster): nothing to crop.
bool CropArea(const TRect& Frame, const TRect& Raster, TRect& R);
// A crop leaving fewer than half the pixels of a large original (more than
// 2,560,000 pixels) asks for the original to be replaced.
bool CropLeavesSmallPart(Int64 OriginalPixels, Int64 NewPixels);

// The float bounds rounded edge by edge (halves to even).
TRect RoundedBounds(const TFloatRect& R);

// Dst := Src turned by Angle degrees about its centre, centred in the
// turned bounds; outside the image transparent.
void RotateByAngle(TCustomBitmap32* Src, TCustomBitmap32* Dst, Single Angle);
// Dst := Src skewed (x' = x + SkewX/100 y, y' = y + SkewY/100 x), moved
// right when the bounds start left of 0.
void SkewByPercent(TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer SkewX, Integer SkewY);
// Dst := Src with its corners (top-left, top-right, bottom-right,
// bottom-left) sent to (Xk W, Yk H), then scaled by ScaleX / 100 and
// ScaleY / 100 when either is not 100. The area is first filled with
// $00FFFFFF. A degenerate quadrilateral renders nothing.
void TransformCorners(TCustomBitmap32* Src, TCustomBitmap32* Dst, const Single X[4], const Single Y[4],
                      Integer ScaleX, Integer ScaleY);
