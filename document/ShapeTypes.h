// The document's enumerations and small shared types: shape and tool kinds,
// modes, the cursor numbers its hit tests answer, and the mapping from image
// to view pixels. Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32_Types.h"
#include "rtl/System.h"

// Object and tool kinds; object rows store the ordinal in column 1 and the
// per-type preset table is indexed by it.
enum class TShapeType : Integer {
  shNone = 0,
  shCrop = 1,
  shArrow = 2,
  shRectangle = 3,
  shLines = 4,
  shLine = 5,
  shZoom = 6,
  shEraser = 7,
  shSmall = 8,
  shText = 9,
  shPolygon = 10,
  shFill = 11,
  shHLRect = 12,
  shCallout = 13,
  shSelection = 14,
  shEllipse = 15,
  shFreeShape = 16,
  shPencil = 17,
  shBrush = 18,
  shHand = 19,
  shRuler = 20,
  shCloneStamp = 21,
  shGradientFill = 22,
  shCustomStyle = 23,
};
inline constexpr Integer ShapeTypeCount = 24;
constexpr Integer Ord(TShapeType T) { return Integer(T); }

enum class TControlMode : Integer { cmObject, cmProcess, cmEffectDraw };
enum class TSelectMode : Integer { selNone, selAll, selInvert, selOne, selOneInvert, selMulti, selSame };
enum class TProcessingMode : Integer { pmResize, pmTransform, pmMerge, pmCrop, pmErase, pmFill, pmEffects };
enum class TProcessBitmapMode : Integer { pbmPencil, pbmEraser, pbmBrush, pbmStamp };

// Effects; effect packs store the ordinal.
enum class TEffectMode : Integer {
  emNone = 0,
  emBlur,
  emSharpen,
  emAddNoise,
  emDenoising,
  emGrayscale,
  emInvert,
  emSoften,
  emMonochrome,
  emIncreaseLight,
  emReduceLight,
  emColorAdjust,
  emLomo,
  emGlow,
  emOldPhoto,
  emFade,
  emTorn,
  emBevel,
  emColdBlue,
  emColdGreen,
  emWarmRed,
  emWarmYellow,
  emYellowing,
  emElegant,
  emFreeze,
  emAttemper,
  emBlendMode,
  emStyleSunshine,
  emStyleSunny,
  emStyleDroplet,
  emStyleSnow,
  emStyleStar,
  emStyleHeart,
  emRotate,
  emSkew,
  emTransform,
  emMosaic,
  emBlurring,
  emSharpening,
  emBokeh,
  emColoring,
  emColorize,
  emHighlighter,
  emWarping,
  emZooming,
  emTwirling,
  emColorDodge,
  emColorBurn,
  emSaturation,
  emRedEye,
};
inline constexpr Integer EffectModeCount = 50;

// Cursor numbers (the class library's TCursor values). The negative ones are
// its standard cursors; the positive ones are the editor's own, registered
// by the main window under these numbers; 100 stands for the current tool's
// cursor, which the canvas maps.
namespace ShapeCursor {
inline constexpr SmallInt SizeNESW = -6;
inline constexpr SmallInt SizeNS = -7;
inline constexpr SmallInt SizeNWSE = -8;
inline constexpr SmallInt SizeWE = -9;
inline constexpr SmallInt HSplit = -14;
inline constexpr SmallInt VSplit = -15;
inline constexpr SmallInt HandPoint = -21;
inline constexpr SmallInt SizeAll = -22;
inline constexpr SmallInt Rotate = 20;
inline constexpr SmallInt NodeAdd = 21;
inline constexpr SmallInt NodeOnPath = 22;
inline constexpr SmallInt Ruler = 46;
inline constexpr SmallInt ToolDefault = 100;
}  // namespace ShapeCursor

// "Not yet set" for drag starts and tool positions.
inline constexpr Integer UnsetPosition = -100000;

// Image pixels to view pixels: view = Round(image x Scale) + offset (halves
// to even), offsets already rounded.
struct TViewMap {
  Single Scale = 1;
  Integer OffsetHorz = 0;
  Integer OffsetVert = 0;

  Integer X(Integer ImageX) const;
  Integer Y(Integer ImageY) const;
  TPoint Point(const TPoint& P) const { return TPoint(X(P.X), Y(P.Y)); }
  TRect Rect(const TRect& R) const { return TRect(X(R.Left), Y(R.Top), X(R.Right), Y(R.Bottom)); }
};
