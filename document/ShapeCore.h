// TShapeCore: the state every drawing object shares (frame, handles,
// selection and style fields, the cached style pictures) and the frame
// arithmetic of the shape base: handle positions, hit rectangles and
// cursors, resizing by a handle, moving, turning. The virtual operations
// (TImgShape, document/win/ImageDraw.h) call into these.
//
// Handles are numbered 0 (rotation), 1 top-left, 2 top-right, 3
// bottom-right, 4 bottom-left, 5 top, 6 bottom, 7 left, 8 right; a class's
// own handles follow from 9 in the same arrays.
//
// Portable: no Windows header.
#pragma once

#include <memory>
#include <vector>

#include "bitmap/Bmp32.h"
#include "document/DuVura.h"
#include "document/ShapeTypes.h"

#define LUMIGRA_SHAPE_PROP(Type, Name) \
  Type Name() const { return F##Name; } \
  void Set##Name(Type Value) { F##Name = Value; }
#define LUMIGRA_SHAPE_PROP_STR(Name) \
  const String& Name() const { return F##Name; } \
  void Set##Name(const String& Value) { F##Name = Value; }

// The cached style pictures are memory bitmaps: they are only drawn onto
// other bitmaps, so they need no device context (and use no GDI handle).
using TStyleBitmap = std::unique_ptr<TCustomBitmap32>;

class TShapeCore : public TObject {
 public:
  TShapeCore();

  // --- frame
  const TRect& SRect() const { return FRect; }
  void SetSRect(const TRect& R) { FRect = R; }
  Integer Width() const { return FRect.Right - FRect.Left; }
  Integer Height() const { return FRect.Bottom - FRect.Top; }
  // The bounds of FRect's corners turned by FAngle about FCenterPoint
  // (FRect itself when not turned).
  TRect RotateRect() const;
  const TFloatPoint& CenterPoint() const { return FCenterPoint; }
  void SetCenterPoint(const TFloatPoint& P) { FCenterPoint = P; }
  const TRect& StartRect() const { return FStartRect; }
  // FAngle := 270 - the angle of the vector from the frame's centre to (X, Y).
  void SetAngleToPoint(Integer X, Integer Y);
  void ResetMoveStart();
  static void ClampValue(Single& Value, Single MaxValue, Single MinValue);

  // View conversions (FRect first clipped to a BitmapWidth x BitmapHeight
  // bitmap when IsClip).
  void GetScreenRect(bool IsClip, Integer BitmapWidth, Integer BitmapHeight, const TViewMap& Map, TRect& R) const;

  // --- handles
  TPoint PointsA(Integer I) const { return FPointsA.at(size_t(I)); }
  TPoint CtrPoints(Integer I) const { return FCtrPoints.at(size_t(I)); }
  TRect CtrRect(Integer I) const { return FCtrRect.at(size_t(I)); }
  Integer HandleCount() const { return Integer(FCtrRect.size()); }

  // --- properties
  LUMIGRA_SHAPE_PROP(Integer, Id)
  LUMIGRA_SHAPE_PROP(TShapeType, ShapeType)
  LUMIGRA_SHAPE_PROP(Integer, MinSize)
  LUMIGRA_SHAPE_PROP(bool, Changed2)
  LUMIGRA_SHAPE_PROP(bool, Rotated2)
  LUMIGRA_SHAPE_PROP(bool, DataChanged)
  LUMIGRA_SHAPE_PROP(bool, Creating)
  LUMIGRA_SHAPE_PROP(bool, Adjusting)
  LUMIGRA_SHAPE_PROP(bool, Loading)
  LUMIGRA_SHAPE_PROP(Integer, DrawMode2)
  LUMIGRA_SHAPE_PROP(Integer, StartX)
  LUMIGRA_SHAPE_PROP(Integer, StartY)
  LUMIGRA_SHAPE_PROP(SmallInt, CurrentCursor)
  LUMIGRA_SHAPE_PROP(Integer, CurrentCtrIndex)
  bool Selected() const { return FSelected; }
  LUMIGRA_SHAPE_PROP(bool, Fixed)
  LUMIGRA_SHAPE_PROP(bool, Hided)
  Integer ControlMode() const { return FControlMode; }
  LUMIGRA_SHAPE_PROP(TColor, Color)
  LUMIGRA_SHAPE_PROP(TColor, FillColor)
  LUMIGRA_SHAPE_PROP(Integer, Opacity)
  LUMIGRA_SHAPE_PROP(Integer, ShadowMode)
  LUMIGRA_SHAPE_PROP(Integer, ReflectMode)
  LUMIGRA_SHAPE_PROP(Integer, GradientMode)
  LUMIGRA_SHAPE_PROP(Integer, OutWidth)
  LUMIGRA_SHAPE_PROP(Single, Angle)
  LUMIGRA_SHAPE_PROP(bool, IsOutline)
  LUMIGRA_SHAPE_PROP(bool, IsFill)
  LUMIGRA_SHAPE_PROP(Integer, PenStyle)
  LUMIGRA_SHAPE_PROP(Integer, StyleId)
  LUMIGRA_SHAPE_PROP(bool, Antialias)
  LUMIGRA_SHAPE_PROP(Integer, ShadowAngle)
  LUMIGRA_SHAPE_PROP(Integer, ShadowDistance)
  LUMIGRA_SHAPE_PROP(Integer, ShadowZoomValue)
  LUMIGRA_SHAPE_PROP(Integer, ShadowBlurSize)
  LUMIGRA_SHAPE_PROP(TColor, ShadowColor)
  LUMIGRA_SHAPE_PROP(Integer, ShadowOpacity)
  LUMIGRA_SHAPE_PROP(Integer, ReflectDistance)
  LUMIGRA_SHAPE_PROP(Integer, ReflectBlurSize)
  LUMIGRA_SHAPE_PROP(Integer, ReflectOpacity)
  LUMIGRA_SHAPE_PROP(Integer, ReflectHeight)
  LUMIGRA_SHAPE_PROP_STR(GradientColor)
  LUMIGRA_SHAPE_PROP_STR(GradientOpacity)
  LUMIGRA_SHAPE_PROP_STR(GradientPosition)
  LUMIGRA_SHAPE_PROP(Integer, GradientFillMode)
  LUMIGRA_SHAPE_PROP(Integer, GradientLinearAngle)
  LUMIGRA_SHAPE_PROP_STR(GradientTextureFileName)
  LUMIGRA_SHAPE_PROP(bool, GradientGammaCorrected)
  LUMIGRA_SHAPE_PROP(Integer, GradientEdgingExtendLength)
  LUMIGRA_SHAPE_PROP(Integer, GradientEdgingWidth)
  LUMIGRA_SHAPE_PROP(Integer, GradientHatchMode)
  LUMIGRA_SHAPE_PROP(TColor, GradientHatchForeColor)
  LUMIGRA_SHAPE_PROP(TColor, GradientHatchBackColor)
  LUMIGRA_SHAPE_PROP(Integer, SelectMode)
  TCustomBitmap32* GradientEdgingBmp() const { return FGradientEdgingBmp.get(); }
  TCustomBitmap32* ShadowBmp() const { return FShadowBmp.get(); }
  TCustomBitmap32* ShadowReflectBmp() const { return FShadowReflectBmp.get(); }
  TCustomBitmap32* ReflectBmp() const { return FReflectBmp.get(); }

  // The two style switches as the builders read them.
  bool HasShadow() const { return FShadowMode != -1; }
  bool HasReflection() const { return FReflectMode != -1; }
  bool HasGradient() const { return FGradientMode != -1; }
  bool IsFilled() const { return FIsFill || FGradientMode >= 0; }

 protected:
  // --- the base behaviour of the virtual operations (see TImgShape)

  // The nine handle positions (turned with the frame) and their view
  // positions; only when selected.
  void FrameCalcControlPoints(const TViewMap& Map);
  // FCenterPoint := the centre of FRect as floats.
  void FrameCalcCenterPoint();
  void FrameOffsetShape(Integer DX, Integer DY);
  // Moves by (X2 - FStartX, Y2 - FStartY), filling an unset start with
  // (X1, Y1); the start itself is not updated.
  void FrameMoveShape(Integer X1, Integer Y1, Integer X2, Integer Y2);
  // The drag start of a click on the body or a handle. CropRate is the
  // document's fixed crop rate for a crop frame, else 0.
  void FrameClickStart(Single CropRate);
  // A handle drag of the frame. KeepRate: the frame keeps FStartRate (the
  // crop frame with a fixed rate); KeepRateWithShift: the picture object
  // while Shift is held.
  void FrameAdjustShape(Integer X1, Integer Y1, Integer X2, Integer Y2, bool KeepRate, bool KeepRateWithShift);
  // Inside FRect, right and bottom exclusive; sets the body cursor.
  bool FramePtInShape(Integer X, Integer Y);
  // The first of FCtrRect (indexes 0..8) containing the view point.
  bool FramePtInControl(Integer X, Integer Y);
  // The cursor of frame handle I (1..8; 0 is the rotation cursor).
  SmallInt FrameHandleCursor(Integer I) const;
  // Hit rectangles of the disc handles (x - 3 .. x + 3 around each view
  // point); NoEdgeHandles leaves 5..8 empty (picture objects).
  void LayoutDiscHandles(bool NoEdgeHandles);
  // Square handles of width S outside the corners; edge handles only where
  // the side is longer than 20 view pixels; no rotation handle.
  void LayoutSquareHandles(Integer S);
  // The four skew arrows (handles 5..8), handles 0..4 empty.
  void LayoutSkewHandles();
  void SetSelectedFlag(bool Value) { FSelected = Value; }
  void SetControlModeValue(Integer Value) { FControlMode = Value; }
  // Sizes the handle arrays to 9 + Extra entries, keeping the first nine.
  void SetExtraHandleCount(Integer Extra);

  std::vector<TPoint> FPointsA;
  std::vector<TPoint> FCtrPoints;
  std::vector<TRect> FCtrRect;
  Integer FControlMode = 0;
  Integer FMinSize = 1;
  Integer FId = 0;
  bool FChanged2 = true;
  bool FRotated2 = false;
  bool FDataChanged = true;
  bool FCreating = true;
  bool FAdjusting = false;
  bool FLoading = false;
  Integer FDrawMode2 = 0;
  TShapeType FShapeType = TShapeType::shNone;
  Integer FStartX = UnsetPosition;
  Integer FStartY = UnsetPosition;
  Single FStartRate = -1;
  TRect FStartRect;
  TRect FRect;
  TFloatPoint FCenterPoint;
  SmallInt FCurrentCursor = 0;
  Integer FCurrentCtrIndex = -1;
  bool FSelected = false;
  bool FFixed = false;
  bool FHided = false;
  TColor FColor = 0;
  TColor FFillColor = 0;
  Integer FOpacity = 0;
  Integer FShadowMode = 0;
  Integer FReflectMode = 0;
  Integer FGradientMode = 0;
  Integer FOutWidth = 0;
  Single FAngle = 0;
  bool FIsOutline = false;
  bool FIsFill = false;
  Integer FPenStyle = 0;
  Integer FStyleId = 0;
  bool FAntialias = true;
  TStyleBitmap FShadowBmp;
  Integer FShadowExtendLength = 0;
  Integer FShadowOffsetAngleLeft = 0;
  Integer FShadowOffsetAngleTop = 0;
  Integer FShadowOffsetZoomLeft = 0;
  Integer FShadowOffsetZoomTop = 0;
  Integer FShadowAngle = 0;
  Integer FShadowDistance = 0;
  Integer FShadowZoomValue = 0;
  Integer FShadowBlurSize = 0;
  TColor FShadowColor = 0;
  Integer FShadowOpacity = 0;
  TStyleBitmap FShadowReflectBmp;
  TStyleBitmap FReflectBmp;
  Integer FReflectExtendLength = 0;
  Integer FReflectDistance = 0;
  Integer FReflectBlurSize = 0;
  Integer FReflectOpacity = 0;
  Integer FReflectHeight = 0;
  String FGradientColor;
  String FGradientOpacity;
  String FGradientPosition;
  Integer FGradientFillMode = 0;
  Integer FGradientLinearAngle = 0;
  String FGradientTextureFileName;
  bool FGradientGammaCorrected = false;
  TStyleBitmap FGradientEdgingBmp;
  Integer FGradientEdgingExtendLength = 0;
  Integer FGradientEdgingWidth = 0;
  Integer FGradientHatchMode = 0;
  TColor FGradientHatchForeColor = 0;
  TColor FGradientHatchBackColor = 0;
  Integer FSelectMode = 0;
};
