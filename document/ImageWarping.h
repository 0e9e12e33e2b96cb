// The warping tool behind the warp, zoom and twirl brush effects: a copy
// of the image, a displacement field of its size, and a brush pattern of
// displacements stamped into the field at the pointer; each stamp
// re-renders the brush's square of the destination through the field.
// Stamps compose: the field is read at the displaced position (bilinear,
// 16.16) and the brush's own vector is added, in two passes. Portable: no
// Windows header.
#pragma once

#include <memory>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Transforms.h"
#include "bitmap/Bmp32_VectorMaps.h"

enum TBrushTool : Integer { btWarp, btZoom, btTwirl, btFlower };
enum TBrushToolMode : Integer { btmLeft, btmRight };

// The mouse buttons of a shift state, as the class library numbers them.
inline constexpr Word WarpShiftLeft = 0x08;
inline constexpr Word WarpShiftRight = 0x10;

// The brush's weight over its square: a cone (or a pinched or widened
// profile) times a feathered edge times the pressure.
class TGenericBrush {
 public:
  Single Pressure() const { return FPressure; }
  void SetPressure(Single V);
  Single Pinch() const { return FPinch; }
  void SetPinch(Single V);
  Single Feather() const { return FFeather; }
  void SetFeather(Single V);
  // X and Y in -1..1 across the brush.
  Single Weight(Single X, Single Y) const;

 private:
  Single FPressure = 1;
  Single FPinch = 0;
  Single FFeather = 0;
};

class TImgWarping {
 public:
  // SrcBitmap is copied; DestBitmap is where strokes render (not owned).
  TImgWarping(TCustomBitmap32* SrcBitmap, TCustomBitmap32* DestBitmap, TBrushTool Tool);
  ~TImgWarping();

  // Brush size in pixels (sizes below 2 count as 2) and pressure 0..100;
  // rebuilds the brush patterns, keeps the field.
  void UpdateBrush(Integer BrushSize, Integer Pressure);
  void MouseDown(Word Shift, Integer X, Integer Y);
  void MouseMove(Word Shift, Integer X, Integer Y);

  TVectorMap* Field() const { return FRemapper->VectorMap(); }
  TVectorMap* CurrentBrush(TBrushToolMode M) { return &FCurrentBrush[M]; }
  TGenericBrush& GenericBrush() { return FGenericBrush; }
  const TRect& DstClip() const { return FDstClip; }
  const TRect& SampleClipRect() const { return FSampleClipRect; }
  const TFixedPoint& LastDelta() const { return FLastDelta; }

 private:
  bool TakeButton(Word Shift);
  void BuildBrush(TBrushToolMode M);

  TCustomBitmap32 FSrc;
  TCustomBitmap32* FDst;
  std::unique_ptr<TRemapTransformation> FRemapper;
  TGenericBrush FGenericBrush;
  TVectorMap FCurrentBrush[2];
  TBrushToolMode FBrushMode = btmLeft;
  TVectorMap FTempMap;
  TPoint FLastPos;
  TFixedPoint FLastDelta{0, 0};
  TRect FSampleClipRect{2147483647, 2147483647, -2147483647, -2147483647};
  TRect FDstClip;
  TBrushTool FBrushTool;
};
