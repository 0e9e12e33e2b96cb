// The GDI+ flat interface as the program reaches it: our own declarations of
// the functions, records, enumerations and status codes, provided at run time
// by libgdiplus (loaded by its full path into a table of typed pointers).
//
// Only plain types and no calling-convention macro: every function and every
// callback uses the platform's native (System V) convention, whatever unit
// sees this header. Win32 handles appear as void*; no Win32 handle reaches
// libgdiplus itself (the bridge functions marked B below translate them).
#pragma once

#include <cstddef>
#include <cstdint>

namespace gdipflat {

// ---------------------------------------------------------------------------
// Plain types, as libgdiplus declares them on x86-64.

using GpStatus = int32_t;
using REAL = float;
using INT = int32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using BYTE = uint8_t;
using UINT16 = uint16_t;
using LANGID = uint16_t;
using ARGB = uint32_t;
using WCHAR = char16_t;
using PixelFormat = int32_t;

struct GpGraphics;
struct GpPen;
struct GpBrush;
struct GpPath;
struct GpRegion;
struct GpMatrix;
struct GpFontFamily;
struct GpFontCollection;
struct GpFont;
struct GpStringFormat;
struct GpImage;
struct GpImageAttributes;
struct GpCustomLineCap;
using GpBitmap = GpImage;

struct GpGuid {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

struct GpPointF { REAL X, Y; };
struct GpPoint { INT X, Y; };
struct GpRectF { REAL X, Y, Width, Height; };
struct GpRect { INT X, Y, Width, Height; };

struct GdiplusStartupInput {
  UINT GdiplusVersion;
  void* DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};

struct GpPathData {
  INT Count;
  GpPointF* Points;
  BYTE* Types;
};

// libgdiplus's record is longer than the published four fields: LockBits
// writes private fields after Reserved. Their exact shape is the library's
// business; the tail below is larger than what it writes.
struct GpBitmapData {
  UINT Width;
  UINT Height;
  INT Stride;
  PixelFormat Format;
  void* Scan0;
  uintptr_t Reserved;
  uint8_t PrivateTail[120];
};

struct GpColorPalette {
  UINT Flags;
  UINT Count;
  ARGB Entries[1];
};

struct GpEncoderParameter {
  GpGuid Guid;
  UINT NumberOfValues;
  UINT Type;
  void* Value;
};

struct GpEncoderParameters {
  UINT Count;
  GpEncoderParameter Parameter[1];
};

struct GpPropertyItem {
  UINT Id;
  UINT Length;
  UINT16 Type;
  void* Value;
};

struct GpImageCodecInfo {
  GpGuid Clsid;
  GpGuid FormatID;
  const WCHAR* CodecName;
  const WCHAR* DllName;
  const WCHAR* FormatDescription;
  const WCHAR* FilenameExtension;
  const WCHAR* MimeType;
  uint32_t Flags;
  uint32_t Version;
  uint32_t SigCount;
  uint32_t SigSize;
  const BYTE* SigPattern;
  const BYTE* SigMask;
};

static_assert(sizeof(GpImageCodecInfo) == 104);
static_assert(sizeof(GpEncoderParameter) == 32);
static_assert(sizeof(GpPropertyItem) == 24);
static_assert(sizeof(GpPathData) == 24);

// Delegates of libgdiplus's stream-free load and save (native convention).
using GpGetHeaderDelegate = INT (*)(BYTE* Buffer, INT Size);
using GpGetBytesDelegate = INT (*)(BYTE* Buffer, INT Size, BOOL Peek);
using GpSeekDelegate = long (*)(INT Offset, INT Whence);
using GpPutBytesDelegate = INT (*)(BYTE* Buffer, INT Size);
using GpCloseDelegate = void (*)();
using GpSizeDelegate = long (*)();

// ---------------------------------------------------------------------------
// Status codes and published enumeration values the program uses.

enum : GpStatus {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};

inline constexpr PixelFormat PixelFormat1bppIndexed = 0x00030101;
inline constexpr PixelFormat PixelFormat4bppIndexed = 0x00030402;
inline constexpr PixelFormat PixelFormat8bppIndexed = 0x00030803;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 0x00021005;
inline constexpr PixelFormat PixelFormat16bppRGB565 = 0x00021006;
inline constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
inline constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
inline constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
inline constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;
inline constexpr PixelFormat PixelFormat64bppARGB = 0x0034400D;

inline constexpr UINT ImageLockModeRead = 1;
inline constexpr UINT ImageLockModeWrite = 2;
inline constexpr UINT ImageLockModeUserInputBuf = 4;

// ---------------------------------------------------------------------------
// The functions. X(return type, name, parameter list).
//
// B: a bridge function of ours takes the slot (the library cannot take Win32
// handles, or has no such function). Every other slot is the library's own.

#define LUMIGRA_GDIP_LIBRARY_FUNCTIONS(X)                                                          \
  /* start and stop */                                                                            \
  X(GpStatus, GdiplusStartup, (uintptr_t * Token, const GdiplusStartupInput* Input, void* Output)) \
  X(void, GdiplusShutdown, (uintptr_t Token))                                                      \
  X(void*, GdipAlloc, (size_t Size))                                                               \
  X(void, GdipFree, (void* Ptr))                                                                   \
  /* graphics */                                                                                   \
  X(GpStatus, GdipGetImageGraphicsContext, (GpImage * Image, GpGraphics * *Graphics))              \
  X(GpStatus, GdipDeleteGraphics, (GpGraphics * Graphics))                                         \
  X(GpStatus, GdipSetSmoothingMode, (GpGraphics * G, INT Mode))                                    \
  X(GpStatus, GdipGetSmoothingMode, (GpGraphics * G, INT * Mode))                                  \
  X(GpStatus, GdipSetTextRenderingHint, (GpGraphics * G, INT Mode))                                \
  X(GpStatus, GdipGetTextRenderingHint, (GpGraphics * G, INT * Mode))                              \
  X(GpStatus, GdipSetPixelOffsetMode, (GpGraphics * G, INT Mode))                                  \
  X(GpStatus, GdipGetPixelOffsetMode, (GpGraphics * G, INT * Mode))                                \
  X(GpStatus, GdipSetCompositingMode, (GpGraphics * G, INT Mode))                                  \
  X(GpStatus, GdipGetCompositingMode, (GpGraphics * G, INT * Mode))                                \
  X(GpStatus, GdipSetCompositingQuality, (GpGraphics * G, INT Mode))                               \
  X(GpStatus, GdipGetCompositingQuality, (GpGraphics * G, INT * Mode))                             \
  X(GpStatus, GdipSetInterpolationMode, (GpGraphics * G, INT Mode))                                \
  X(GpStatus, GdipGetInterpolationMode, (GpGraphics * G, INT * Mode))                              \
  X(GpStatus, GdipSetPageUnit, (GpGraphics * G, INT Unit))                                         \
  X(GpStatus, GdipGetPageUnit, (GpGraphics * G, INT * Unit))                                       \
  X(GpStatus, GdipSetPageScale, (GpGraphics * G, REAL Scale))                                      \
  X(GpStatus, GdipGetPageScale, (GpGraphics * G, REAL * Scale))                                    \
  X(GpStatus, GdipGetDpiX, (GpGraphics * G, REAL * Dpi))                                           \
  X(GpStatus, GdipGetDpiY, (GpGraphics * G, REAL * Dpi))                                           \
  X(GpStatus, GdipSetWorldTransform, (GpGraphics * G, GpMatrix * M))                               \
  X(GpStatus, GdipGetWorldTransform, (GpGraphics * G, GpMatrix * M))                               \
  X(GpStatus, GdipResetWorldTransform, (GpGraphics * G))                                           \
  X(GpStatus, GdipMultiplyWorldTransform, (GpGraphics * G, const GpMatrix* M, INT Order))          \
  X(GpStatus, GdipTranslateWorldTransform, (GpGraphics * G, REAL Dx, REAL Dy, INT Order))          \
  X(GpStatus, GdipScaleWorldTransform, (GpGraphics * G, REAL Sx, REAL Sy, INT Order))              \
  X(GpStatus, GdipRotateWorldTransform, (GpGraphics * G, REAL Angle, INT Order))                   \
  X(GpStatus, GdipDrawLine, (GpGraphics * G, GpPen * P, REAL X1, REAL Y1, REAL X2, REAL Y2))       \
  X(GpStatus, GdipDrawLineI, (GpGraphics * G, GpPen * P, INT X1, INT Y1, INT X2, INT Y2))          \
  X(GpStatus, GdipDrawLines, (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count))          \
  X(GpStatus, GdipDrawLinesI, (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count))          \
  X(GpStatus, GdipDrawArc,                                                                         \
    (GpGraphics * G, GpPen * P, REAL X, REAL Y, REAL W, REAL H, REAL Start, REAL Sweep))           \
  X(GpStatus, GdipDrawArcI,                                                                        \
    (GpGraphics * G, GpPen * P, INT X, INT Y, INT W, INT H, REAL Start, REAL Sweep))               \
  X(GpStatus, GdipDrawBezier,                                                                      \
    (GpGraphics * G, GpPen * P, REAL X1, REAL Y1, REAL X2, REAL Y2, REAL X3, REAL Y3, REAL X4,     \
     REAL Y4))                                                                                     \
  X(GpStatus, GdipDrawBezierI,                                                                     \
    (GpGraphics * G, GpPen * P, INT X1, INT Y1, INT X2, INT Y2, INT X3, INT Y3, INT X4, INT Y4))   \
  X(GpStatus, GdipDrawBeziers, (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count))        \
  X(GpStatus, GdipDrawBeziersI, (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count))        \
  X(GpStatus, GdipDrawRectangle, (GpGraphics * G, GpPen * P, REAL X, REAL Y, REAL W, REAL H))      \
  X(GpStatus, GdipDrawRectangleI, (GpGraphics * G, GpPen * P, INT X, INT Y, INT W, INT H))         \
  X(GpStatus, GdipDrawEllipse, (GpGraphics * G, GpPen * P, REAL X, REAL Y, REAL W, REAL H))        \
  X(GpStatus, GdipDrawEllipseI, (GpGraphics * G, GpPen * P, INT X, INT Y, INT W, INT H))           \
  X(GpStatus, GdipDrawPie,                                                                         \
    (GpGraphics * G, GpPen * P, REAL X, REAL Y, REAL W, REAL H, REAL Start, REAL Sweep))           \
  X(GpStatus, GdipDrawPieI,                                                                        \
    (GpGraphics * G, GpPen * P, INT X, INT Y, INT W, INT H, REAL Start, REAL Sweep))               \
  X(GpStatus, GdipDrawPolygon, (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count))        \
  X(GpStatus, GdipDrawPolygonI, (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count))        \
  X(GpStatus, GdipDrawPath, (GpGraphics * G, GpPen * P, GpPath * Path))                            \
  X(GpStatus, GdipDrawCurve, (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count))          \
  X(GpStatus, GdipDrawCurveI, (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count))          \
  X(GpStatus, GdipDrawCurve2,                                                                      \
    (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count, REAL Tension))                     \
  X(GpStatus, GdipDrawCurve2I,                                                                     \
    (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count, REAL Tension))                      \
  X(GpStatus, GdipDrawClosedCurve, (GpGraphics * G, GpPen * P, const GpPointF* Pts, INT Count))    \
  X(GpStatus, GdipDrawClosedCurveI, (GpGraphics * G, GpPen * P, const GpPoint* Pts, INT Count))    \
  X(GpStatus, GdipGraphicsClear, (GpGraphics * G, ARGB Color))                                     \
  X(GpStatus, GdipFillRectangle, (GpGraphics * G, GpBrush * B, REAL X, REAL Y, REAL W, REAL H))    \
  X(GpStatus, GdipFillRectangleI, (GpGraphics * G, GpBrush * B, INT X, INT Y, INT W, INT H))       \
  X(GpStatus, GdipFillPolygon,                                                                     \
    (GpGraphics * G, GpBrush * B, const GpPointF* Pts, INT Count, INT FillMode))                   \
  X(GpStatus, GdipFillPolygonI,                                                                    \
    (GpGraphics * G, GpBrush * B, const GpPoint* Pts, INT Count, INT FillMode))                    \
  X(GpStatus, GdipFillEllipse, (GpGraphics * G, GpBrush * B, REAL X, REAL Y, REAL W, REAL H))      \
  X(GpStatus, GdipFillEllipseI, (GpGraphics * G, GpBrush * B, INT X, INT Y, INT W, INT H))         \
  X(GpStatus, GdipFillPie,                                                                         \
    (GpGraphics * G, GpBrush * B, REAL X, REAL Y, REAL W, REAL H, REAL Start, REAL Sweep))         \
  X(GpStatus, GdipFillPieI,                                                                        \
    (GpGraphics * G, GpBrush * B, INT X, INT Y, INT W, INT H, REAL Start, REAL Sweep))             \
  X(GpStatus, GdipFillPath, (GpGraphics * G, GpBrush * B, GpPath * Path))                          \
  X(GpStatus, GdipFillRegion, (GpGraphics * G, GpBrush * B, GpRegion * Region))                    \
  X(GpStatus, GdipDrawString,                                                                      \
    (GpGraphics * G, const WCHAR* Text, INT Length, const GpFont* Font, const GpRectF* Layout,     \
     const GpStringFormat* Format, const GpBrush* Brush))                                          \
  X(GpStatus, GdipMeasureString,                                                                   \
    (GpGraphics * G, const WCHAR* Text, INT Length, const GpFont* Font, const GpRectF* Layout,     \
     const GpStringFormat* Format, GpRectF* Bounds, INT* CodepointsFitted, INT* LinesFilled))      \
  X(GpStatus, GdipDrawImage, (GpGraphics * G, GpImage * Image, REAL X, REAL Y))                    \
  X(GpStatus, GdipDrawImageI, (GpGraphics * G, GpImage * Image, INT X, INT Y))                     \
  X(GpStatus, GdipDrawImageRect, (GpGraphics * G, GpImage * Image, REAL X, REAL Y, REAL W, REAL H)) \
  X(GpStatus, GdipDrawImageRectI, (GpGraphics * G, GpImage * Image, INT X, INT Y, INT W, INT H))   \
  X(GpStatus, GdipSetClipRect, (GpGraphics * G, REAL X, REAL Y, REAL W, REAL H, INT Mode))         \
  X(GpStatus, GdipSetClipRectI, (GpGraphics * G, INT X, INT Y, INT W, INT H, INT Mode))            \
  X(GpStatus, GdipSetClipPath, (GpGraphics * G, GpPath * Path, INT Mode))                          \
  X(GpStatus, GdipSetClipRegion, (GpGraphics * G, GpRegion * Region, INT Mode))                    \
  X(GpStatus, GdipSetClipGraphics, (GpGraphics * G, GpGraphics * Src, INT Mode))                   \
  X(GpStatus, GdipResetClip, (GpGraphics * G))                                                     \
  X(GpStatus, GdipGetClip, (GpGraphics * G, GpRegion * Region))                                    \
  X(GpStatus, GdipGetClipBounds, (GpGraphics * G, GpRectF * Rect))                                 \
  X(GpStatus, GdipIsClipEmpty, (GpGraphics * G, BOOL * Result))                                    \
  X(GpStatus, GdipTranslateClip, (GpGraphics * G, REAL Dx, REAL Dy))                               \
  X(GpStatus, GdipIsVisiblePoint, (GpGraphics * G, REAL X, REAL Y, BOOL * Result))                 \
  X(GpStatus, GdipIsVisiblePointI, (GpGraphics * G, INT X, INT Y, BOOL * Result))                  \
  X(GpStatus, GdipSaveGraphics, (GpGraphics * G, UINT * State))                                    \
  X(GpStatus, GdipRestoreGraphics, (GpGraphics * G, UINT State))                                   \
  /* pens */                                                                                       \
  X(GpStatus, GdipCreatePen1, (ARGB Color, REAL Width, INT Unit, GpPen * *Pen))                    \
  X(GpStatus, GdipCreatePen2, (GpBrush * Brush, REAL Width, INT Unit, GpPen * *Pen))               \
  X(GpStatus, GdipDeletePen, (GpPen * Pen))                                                        \
  X(GpStatus, GdipClonePen, (GpPen * Pen, GpPen * *Clone))                                         \
  X(GpStatus, GdipSetPenWidth, (GpPen * Pen, REAL Width))                                          \
  X(GpStatus, GdipGetPenWidth, (GpPen * Pen, REAL * Width))                                        \
  X(GpStatus, GdipSetPenColor, (GpPen * Pen, ARGB Color))                                          \
  X(GpStatus, GdipGetPenColor, (GpPen * Pen, ARGB * Color))                                        \
  X(GpStatus, GdipSetPenDashStyle, (GpPen * Pen, INT Style))                                       \
  X(GpStatus, GdipGetPenDashStyle, (GpPen * Pen, INT * Style))                                     \
  X(GpStatus, GdipSetPenDashOffset, (GpPen * Pen, REAL Offset))                                    \
  X(GpStatus, GdipGetPenDashOffset, (GpPen * Pen, REAL * Offset))                                  \
  X(GpStatus, GdipSetPenDashArray, (GpPen * Pen, const REAL* Dash, INT Count))                     \
  X(GpStatus, GdipGetPenDashCount, (GpPen * Pen, INT * Count))                                     \
  X(GpStatus, GdipGetPenDashArray, (GpPen * Pen, REAL * Dash, INT Count))                          \
  X(GpStatus, GdipSetPenStartCap, (GpPen * Pen, INT Cap))                                          \
  X(GpStatus, GdipGetPenStartCap, (GpPen * Pen, INT * Cap))                                        \
  X(GpStatus, GdipSetPenEndCap, (GpPen * Pen, INT Cap))                                            \
  X(GpStatus, GdipGetPenEndCap, (GpPen * Pen, INT * Cap))                                          \
  X(GpStatus, GdipSetPenDashCap197819, (GpPen * Pen, INT Cap))                                     \
  X(GpStatus, GdipGetPenDashCap197819, (GpPen * Pen, INT * Cap))                                   \
  X(GpStatus, GdipSetPenLineCap197819, (GpPen * Pen, INT Start, INT End, INT Dash))                \
  X(GpStatus, GdipSetPenLineJoin, (GpPen * Pen, INT Join))                                         \
  X(GpStatus, GdipGetPenLineJoin, (GpPen * Pen, INT * Join))                                       \
  X(GpStatus, GdipSetPenMiterLimit, (GpPen * Pen, REAL Limit))                                     \
  X(GpStatus, GdipGetPenMiterLimit, (GpPen * Pen, REAL * Limit))                                   \
  X(GpStatus, GdipSetPenTransform, (GpPen * Pen, GpMatrix * M))                                    \
  X(GpStatus, GdipGetPenTransform, (GpPen * Pen, GpMatrix * M))                                    \
  X(GpStatus, GdipResetPenTransform, (GpPen * Pen))                                                \
  X(GpStatus, GdipMultiplyPenTransform, (GpPen * Pen, const GpMatrix* M, INT Order))               \
  X(GpStatus, GdipTranslatePenTransform, (GpPen * Pen, REAL Dx, REAL Dy, INT Order))               \
  X(GpStatus, GdipScalePenTransform, (GpPen * Pen, REAL Sx, REAL Sy, INT Order))                   \
  X(GpStatus, GdipRotatePenTransform, (GpPen * Pen, REAL Angle, INT Order))                        \
  X(GpStatus, GdipGetPenFillType, (GpPen * Pen, INT * Type))                                       \
  X(GpStatus, GdipGetPenBrushFill, (GpPen * Pen, GpBrush * *Brush))                                \
  X(GpStatus, GdipSetPenBrushFill, (GpPen * Pen, GpBrush * Brush))                                 \
  X(GpStatus, GdipSetPenMode, (GpPen * Pen, INT Mode))                                             \
  X(GpStatus, GdipGetPenMode, (GpPen * Pen, INT * Mode))                                           \
  /* brushes */                                                                                    \
  X(GpStatus, GdipDeleteBrush, (GpBrush * Brush))                                                  \
  X(GpStatus, GdipCloneBrush, (GpBrush * Brush, GpBrush * *Clone))                                 \
  X(GpStatus, GdipGetBrushType, (GpBrush * Brush, INT * Type))                                     \
  X(GpStatus, GdipCreateSolidFill, (ARGB Color, GpBrush * *Brush))                                 \
  X(GpStatus, GdipSetSolidFillColor, (GpBrush * Brush, ARGB Color))                                \
  X(GpStatus, GdipGetSolidFillColor, (GpBrush * Brush, ARGB * Color))                              \
  X(GpStatus, GdipCreateHatchBrush, (INT Style, ARGB Fore, ARGB Back, GpBrush * *Brush))           \
  X(GpStatus, GdipGetHatchStyle, (GpBrush * Brush, INT * Style))                                   \
  X(GpStatus, GdipGetHatchForegroundColor, (GpBrush * Brush, ARGB * Color))                        \
  X(GpStatus, GdipGetHatchBackgroundColor, (GpBrush * Brush, ARGB * Color))                        \
  X(GpStatus, GdipCreateTexture, (GpImage * Image, INT WrapMode, GpBrush * *Brush))                \
  X(GpStatus, GdipCreateTexture2,                                                                  \
    (GpImage * Image, INT WrapMode, REAL X, REAL Y, REAL W, REAL H, GpBrush * *Brush))             \
  X(GpStatus, GdipCreateTexture2I,                                                                 \
    (GpImage * Image, INT WrapMode, INT X, INT Y, INT W, INT H, GpBrush * *Brush))                 \
  X(GpStatus, GdipGetTextureImage, (GpBrush * Brush, GpImage * *Image))                            \
  X(GpStatus, GdipSetTextureTransform, (GpBrush * Brush, const GpMatrix* M))                       \
  X(GpStatus, GdipGetTextureTransform, (GpBrush * Brush, GpMatrix * M))                            \
  X(GpStatus, GdipResetTextureTransform, (GpBrush * Brush))                                        \
  X(GpStatus, GdipTranslateTextureTransform, (GpBrush * Brush, REAL Dx, REAL Dy, INT Order))       \
  X(GpStatus, GdipScaleTextureTransform, (GpBrush * Brush, REAL Sx, REAL Sy, INT Order))           \
  X(GpStatus, GdipRotateTextureTransform, (GpBrush * Brush, REAL Angle, INT Order))                \
  X(GpStatus, GdipSetTextureWrapMode, (GpBrush * Brush, INT WrapMode))                             \
  X(GpStatus, GdipGetTextureWrapMode, (GpBrush * Brush, INT * WrapMode))                           \
  X(GpStatus, GdipCreateLineBrush,                                                                 \
    (const GpPointF* P1, const GpPointF* P2, ARGB C1, ARGB C2, INT WrapMode, GpBrush** Brush))     \
  X(GpStatus, GdipCreateLineBrushI,                                                                \
    (const GpPoint* P1, const GpPoint* P2, ARGB C1, ARGB C2, INT WrapMode, GpBrush** Brush))       \
  X(GpStatus, GdipCreateLineBrushFromRect,                                                         \
    (const GpRectF* R, ARGB C1, ARGB C2, INT Mode, INT WrapMode, GpBrush** Brush))                 \
  X(GpStatus, GdipCreateLineBrushFromRectI,                                                        \
    (const GpRect* R, ARGB C1, ARGB C2, INT Mode, INT WrapMode, GpBrush** Brush))                  \
  X(GpStatus, GdipCreateLineBrushFromRectWithAngle,                                                \
    (const GpRectF* R, ARGB C1, ARGB C2, REAL Angle, BOOL Scalable, INT WrapMode,                  \
     GpBrush** Brush))                                                                             \
  X(GpStatus, GdipCreateLineBrushFromRectWithAngleI,                                               \
    (const GpRect* R, ARGB C1, ARGB C2, REAL Angle, BOOL Scalable, INT WrapMode, GpBrush** Brush)) \
  X(GpStatus, GdipSetLineColors, (GpBrush * Brush, ARGB C1, ARGB C2))                              \
  X(GpStatus, GdipGetLineColors, (GpBrush * Brush, ARGB * Colors))                                 \
  X(GpStatus, GdipGetLineRect, (GpBrush * Brush, GpRectF * Rect))                                  \
  X(GpStatus, GdipGetLineRectI, (GpBrush * Brush, GpRect * Rect))                                  \
  X(GpStatus, GdipSetLineGammaCorrection, (GpBrush * Brush, BOOL Use))                             \
  X(GpStatus, GdipGetLineGammaCorrection, (GpBrush * Brush, BOOL * Use))                           \
  X(GpStatus, GdipSetLineBlend,                                                                    \
    (GpBrush * Brush, const REAL* Factors, const REAL* Positions, INT Count))                      \
  X(GpStatus, GdipGetLineBlendCount, (GpBrush * Brush, INT * Count))                               \
  X(GpStatus, GdipGetLineBlend, (GpBrush * Brush, REAL * Factors, REAL * Positions, INT Count))    \
  X(GpStatus, GdipSetLinePresetBlend,                                                              \
    (GpBrush * Brush, const ARGB* Colors, const REAL* Positions, INT Count))                       \
  X(GpStatus, GdipGetLinePresetBlendCount, (GpBrush * Brush, INT * Count))                         \
  X(GpStatus, GdipGetLinePresetBlend, (GpBrush * Brush, ARGB * Colors, REAL * Positions, INT Count)) \
  X(GpStatus, GdipSetLineSigmaBlend, (GpBrush * Brush, REAL Focus, REAL Scale))                    \
  X(GpStatus, GdipSetLineLinearBlend, (GpBrush * Brush, REAL Focus, REAL Scale))                   \
  X(GpStatus, GdipSetLineWrapMode, (GpBrush * Brush, INT WrapMode))                                \
  X(GpStatus, GdipGetLineWrapMode, (GpBrush * Brush, INT * WrapMode))                              \
  X(GpStatus, GdipSetLineTransform, (GpBrush * Brush, const GpMatrix* M))                          \
  X(GpStatus, GdipGetLineTransform, (GpBrush * Brush, GpMatrix * M))                               \
  X(GpStatus, GdipResetLineTransform, (GpBrush * Brush))                                           \
  X(GpStatus, GdipTranslateLineTransform, (GpBrush * Brush, REAL Dx, REAL Dy, INT Order))          \
  X(GpStatus, GdipRotateLineTransform, (GpBrush * Brush, REAL Angle, INT Order))                   \
  X(GpStatus, GdipScaleLineTransform, (GpBrush * Brush, REAL Sx, REAL Sy, INT Order))              \
  X(GpStatus, GdipCreatePathGradientFromPath, (const GpPath* Path, GpBrush** Brush))               \
  X(GpStatus, GdipCreatePathGradient,                                                              \
    (const GpPointF* Pts, INT Count, INT WrapMode, GpBrush** Brush))                               \
  X(GpStatus, GdipCreatePathGradientI,                                                             \
    (const GpPoint* Pts, INT Count, INT WrapMode, GpBrush** Brush))                                \
  X(GpStatus, GdipSetPathGradientCenterColor, (GpBrush * Brush, ARGB Color))                       \
  X(GpStatus, GdipGetPathGradientCenterColor, (GpBrush * Brush, ARGB * Color))                     \
  X(GpStatus, GdipSetPathGradientCenterPoint, (GpBrush * Brush, const GpPointF* Point))            \
  X(GpStatus, GdipGetPathGradientCenterPoint, (GpBrush * Brush, GpPointF * Point))                 \
  X(GpStatus, GdipGetPathGradientPointCount, (GpBrush * Brush, INT * Count))                       \
  X(GpStatus, GdipGetPathGradientSurroundColorCount, (GpBrush * Brush, INT * Count))               \
  X(GpStatus, GdipSetPathGradientSurroundColorsWithCount,                                          \
    (GpBrush * Brush, const ARGB* Colors, INT* Count))                                             \
  X(GpStatus, GdipGetPathGradientSurroundColorsWithCount,                                          \
    (GpBrush * Brush, ARGB * Colors, INT * Count))                                                 \
  X(GpStatus, GdipSetPathGradientGammaCorrection, (GpBrush * Brush, BOOL Use))                     \
  X(GpStatus, GdipGetPathGradientGammaCorrection, (GpBrush * Brush, BOOL * Use))                   \
  X(GpStatus, GdipSetPathGradientPresetBlend,                                                      \
    (GpBrush * Brush, const ARGB* Colors, const REAL* Positions, INT Count))                       \
  X(GpStatus, GdipGetPathGradientPresetBlendCount, (GpBrush * Brush, INT * Count))                 \
  X(GpStatus, GdipGetPathGradientPresetBlend,                                                      \
    (GpBrush * Brush, ARGB * Colors, REAL * Positions, INT Count))                                 \
  X(GpStatus, GdipSetPathGradientFocusScales, (GpBrush * Brush, REAL X, REAL Y))                   \
  X(GpStatus, GdipGetPathGradientFocusScales, (GpBrush * Brush, REAL * X, REAL * Y))               \
  X(GpStatus, GdipSetPathGradientWrapMode, (GpBrush * Brush, INT WrapMode))                        \
  X(GpStatus, GdipGetPathGradientWrapMode, (GpBrush * Brush, INT * WrapMode))                      \
  X(GpStatus, GdipGetPathGradientRect, (GpBrush * Brush, GpRectF * Rect))                          \
  X(GpStatus, GdipGetPathGradientRectI, (GpBrush * Brush, GpRect * Rect))                          \
  X(GpStatus, GdipSetPathGradientBlend,                                                            \
    (GpBrush * Brush, const REAL* Factors, const REAL* Positions, INT Count))                      \
  X(GpStatus, GdipGetPathGradientBlendCount, (GpBrush * Brush, INT * Count))                       \
  X(GpStatus, GdipGetPathGradientBlend,                                                            \
    (GpBrush * Brush, REAL * Factors, REAL * Positions, INT Count))                                \
  X(GpStatus, GdipSetPathGradientSigmaBlend, (GpBrush * Brush, REAL Focus, REAL Scale))            \
  X(GpStatus, GdipSetPathGradientLinearBlend, (GpBrush * Brush, REAL Focus, REAL Scale))           \
  /* paths */                                                                                      \
  X(GpStatus, GdipCreatePath, (INT FillMode, GpPath * *Path))                                      \
  X(GpStatus, GdipCreatePath2,                                                                     \
    (const GpPointF* Pts, const BYTE* Types, INT Count, INT FillMode, GpPath** Path))              \
  X(GpStatus, GdipCreatePath2I,                                                                    \
    (const GpPoint* Pts, const BYTE* Types, INT Count, INT FillMode, GpPath** Path))               \
  X(GpStatus, GdipDeletePath, (GpPath * Path))                                                     \
  X(GpStatus, GdipClonePath, (GpPath * Path, GpPath * *Clone))                                     \
  X(GpStatus, GdipResetPath, (GpPath * Path))                                                      \
  X(GpStatus, GdipGetPathFillMode, (GpPath * Path, INT * Mode))                                    \
  X(GpStatus, GdipSetPathFillMode, (GpPath * Path, INT Mode))                                      \
  X(GpStatus, GdipGetPointCount, (GpPath * Path, INT * Count))                                     \
  X(GpStatus, GdipGetPathData, (GpPath * Path, GpPathData * Data))                                 \
  X(GpStatus, GdipGetPathPoints, (GpPath * Path, GpPointF * Pts, INT Count))                       \
  X(GpStatus, GdipGetPathPointsI, (GpPath * Path, GpPoint * Pts, INT Count))                       \
  X(GpStatus, GdipGetPathTypes, (GpPath * Path, BYTE * Types, INT Count))                          \
  X(GpStatus, GdipGetPathLastPoint, (GpPath * Path, GpPointF * Point))                             \
  X(GpStatus, GdipStartPathFigure, (GpPath * Path))                                                \
  X(GpStatus, GdipClosePathFigure, (GpPath * Path))                                                \
  X(GpStatus, GdipClosePathFigures, (GpPath * Path))                                               \
  X(GpStatus, GdipReversePath, (GpPath * Path))                                                    \
  X(GpStatus, GdipAddPathLine, (GpPath * Path, REAL X1, REAL Y1, REAL X2, REAL Y2))                \
  X(GpStatus, GdipAddPathLineI, (GpPath * Path, INT X1, INT Y1, INT X2, INT Y2))                   \
  X(GpStatus, GdipAddPathLine2, (GpPath * Path, const GpPointF* Pts, INT Count))                   \
  X(GpStatus, GdipAddPathLine2I, (GpPath * Path, const GpPoint* Pts, INT Count))                   \
  X(GpStatus, GdipAddPathArc,                                                                      \
    (GpPath * Path, REAL X, REAL Y, REAL W, REAL H, REAL Start, REAL Sweep))                       \
  X(GpStatus, GdipAddPathArcI, (GpPath * Path, INT X, INT Y, INT W, INT H, REAL Start, REAL Sweep)) \
  X(GpStatus, GdipAddPathBezier,                                                                   \
    (GpPath * Path, REAL X1, REAL Y1, REAL X2, REAL Y2, REAL X3, REAL Y3, REAL X4, REAL Y4))       \
  X(GpStatus, GdipAddPathBezierI,                                                                  \
    (GpPath * Path, INT X1, INT Y1, INT X2, INT Y2, INT X3, INT Y3, INT X4, INT Y4))               \
  X(GpStatus, GdipAddPathBeziers, (GpPath * Path, const GpPointF* Pts, INT Count))                 \
  X(GpStatus, GdipAddPathBeziersI, (GpPath * Path, const GpPoint* Pts, INT Count))                 \
  X(GpStatus, GdipAddPathCurve, (GpPath * Path, const GpPointF* Pts, INT Count))                   \
  X(GpStatus, GdipAddPathCurveI, (GpPath * Path, const GpPoint* Pts, INT Count))                   \
  X(GpStatus, GdipAddPathCurve2, (GpPath * Path, const GpPointF* Pts, INT Count, REAL Tension))    \
  X(GpStatus, GdipAddPathCurve2I, (GpPath * Path, const GpPoint* Pts, INT Count, REAL Tension))     \
  X(GpStatus, GdipAddPathClosedCurve, (GpPath * Path, const GpPointF* Pts, INT Count))             \
  X(GpStatus, GdipAddPathClosedCurveI, (GpPath * Path, const GpPoint* Pts, INT Count))             \
  X(GpStatus, GdipAddPathRectangle, (GpPath * Path, REAL X, REAL Y, REAL W, REAL H))               \
  X(GpStatus, GdipAddPathRectangleI, (GpPath * Path, INT X, INT Y, INT W, INT H))                  \
  X(GpStatus, GdipAddPathEllipse, (GpPath * Path, REAL X, REAL Y, REAL W, REAL H))                 \
  X(GpStatus, GdipAddPathEllipseI, (GpPath * Path, INT X, INT Y, INT W, INT H))                    \
  X(GpStatus, GdipAddPathPie,                                                                      \
    (GpPath * Path, REAL X, REAL Y, REAL W, REAL H, REAL Start, REAL Sweep))                       \
  X(GpStatus, GdipAddPathPieI, (GpPath * Path, INT X, INT Y, INT W, INT H, REAL Start, REAL Sweep)) \
  X(GpStatus, GdipAddPathPolygon, (GpPath * Path, const GpPointF* Pts, INT Count))                 \
  X(GpStatus, GdipAddPathPolygonI, (GpPath * Path, const GpPoint* Pts, INT Count))                 \
  X(GpStatus, GdipAddPathPath, (GpPath * Path, const GpPath* Add, BOOL Connect))                   \
  X(GpStatus, GdipAddPathString,                                                                   \
    (GpPath * Path, const WCHAR* Text, INT Length, const GpFontFamily* Family, INT Style,          \
     REAL EmSize, const GpRectF* Layout, const GpStringFormat* Format))                            \
  X(GpStatus, GdipAddPathStringI,                                                                  \
    (GpPath * Path, const WCHAR* Text, INT Length, const GpFontFamily* Family, INT Style,          \
     REAL EmSize, const GpRect* Layout, const GpStringFormat* Format))                             \
  X(GpStatus, GdipTransformPath, (GpPath * Path, GpMatrix * M))                                    \
  X(GpStatus, GdipGetPathWorldBounds,                                                              \
    (GpPath * Path, GpRectF * Bounds, const GpMatrix* M, const GpPen* Pen))                        \
  X(GpStatus, GdipGetPathWorldBoundsI,                                                             \
    (GpPath * Path, GpRect * Bounds, const GpMatrix* M, const GpPen* Pen))                         \
  X(GpStatus, GdipFlattenPath, (GpPath * Path, GpMatrix * M, REAL Flatness))                       \
  X(GpStatus, GdipWidenPath, (GpPath * Path, GpPen * Pen, GpMatrix * M, REAL Flatness))            \
  X(GpStatus, GdipWindingModeOutline, (GpPath * Path, GpMatrix * M, REAL Flatness))                \
  X(GpStatus, GdipIsVisiblePathPoint,                                                              \
    (GpPath * Path, REAL X, REAL Y, GpGraphics * G, BOOL * Result))                                \
  X(GpStatus, GdipIsVisiblePathPointI, (GpPath * Path, INT X, INT Y, GpGraphics * G, BOOL * Result)) \
  X(GpStatus, GdipIsOutlineVisiblePathPoint,                                                       \
    (GpPath * Path, REAL X, REAL Y, GpPen * Pen, GpGraphics * G, BOOL * Result))                   \
  X(GpStatus, GdipIsOutlineVisiblePathPointI,                                                      \
    (GpPath * Path, INT X, INT Y, GpPen * Pen, GpGraphics * G, BOOL * Result))                     \
  /* regions */                                                                                    \
  X(GpStatus, GdipCreateRegion, (GpRegion * *Region))                                              \
  X(GpStatus, GdipCreateRegionRect, (const GpRectF* Rect, GpRegion** Region))                      \
  X(GpStatus, GdipCreateRegionRectI, (const GpRect* Rect, GpRegion** Region))                      \
  X(GpStatus, GdipCreateRegionPath, (GpPath * Path, GpRegion * *Region))                           \
  X(GpStatus, GdipCreateRegionRgnData, (const BYTE* Data, INT Size, GpRegion** Region))            \
  X(GpStatus, GdipDeleteRegion, (GpRegion * Region))                                               \
  X(GpStatus, GdipCloneRegion, (GpRegion * Region, GpRegion * *Clone))                             \
  X(GpStatus, GdipSetInfinite, (GpRegion * Region))                                                \
  X(GpStatus, GdipSetEmpty, (GpRegion * Region))                                                   \
  X(GpStatus, GdipCombineRegionRect, (GpRegion * Region, const GpRectF* Rect, INT Mode))           \
  X(GpStatus, GdipCombineRegionRectI, (GpRegion * Region, const GpRect* Rect, INT Mode))           \
  X(GpStatus, GdipCombineRegionPath, (GpRegion * Region, GpPath * Path, INT Mode))                 \
  X(GpStatus, GdipCombineRegionRegion, (GpRegion * Region, GpRegion * Other, INT Mode))            \
  X(GpStatus, GdipTranslateRegion, (GpRegion * Region, REAL Dx, REAL Dy))                          \
  X(GpStatus, GdipTranslateRegionI, (GpRegion * Region, INT Dx, INT Dy))                           \
  X(GpStatus, GdipTransformRegion, (GpRegion * Region, GpMatrix * M))                              \
  X(GpStatus, GdipGetRegionBounds, (GpRegion * Region, GpGraphics * G, GpRectF * Rect))            \
  X(GpStatus, GdipIsEmptyRegion, (GpRegion * Region, GpGraphics * G, BOOL * Result))               \
  X(GpStatus, GdipIsInfiniteRegion, (GpRegion * Region, GpGraphics * G, BOOL * Result))            \
  X(GpStatus, GdipIsEqualRegion, (GpRegion * Region, GpRegion * Other, GpGraphics * G, BOOL * R))  \
  X(GpStatus, GdipIsVisibleRegionPoint,                                                            \
    (GpRegion * Region, REAL X, REAL Y, GpGraphics * G, BOOL * Result))                            \
  X(GpStatus, GdipIsVisibleRegionPointI,                                                           \
    (GpRegion * Region, INT X, INT Y, GpGraphics * G, BOOL * Result))                              \
  X(GpStatus, GdipIsVisibleRegionRect,                                                             \
    (GpRegion * Region, REAL X, REAL Y, REAL W, REAL H, GpGraphics * G, BOOL * Result))            \
  X(GpStatus, GdipIsVisibleRegionRectI,                                                            \
    (GpRegion * Region, INT X, INT Y, INT W, INT H, GpGraphics * G, BOOL * Result))                \
  X(GpStatus, GdipGetRegionDataSize, (GpRegion * Region, UINT * Size))                             \
  X(GpStatus, GdipGetRegionData, (GpRegion * Region, BYTE * Buffer, UINT Size, UINT * Filled))     \
  X(GpStatus, GdipGetRegionScansCount, (GpRegion * Region, UINT * Count, GpMatrix * M))            \
  X(GpStatus, GdipGetRegionScans, (GpRegion * Region, GpRectF * Rects, INT * Count, GpMatrix * M)) \
  X(GpStatus, GdipGetRegionScansI, (GpRegion * Region, GpRect * Rects, INT * Count, GpMatrix * M)) \
  /* fonts and string formats */                                                                   \
  X(GpStatus, GdipCreateFontFamilyFromName,                                                        \
    (const WCHAR* Name, GpFontCollection* Collection, GpFontFamily** Family))                      \
  X(GpStatus, GdipGetGenericFontFamilySansSerif, (GpFontFamily * *Family))                         \
  X(GpStatus, GdipGetGenericFontFamilySerif, (GpFontFamily * *Family))                             \
  X(GpStatus, GdipGetGenericFontFamilyMonospace, (GpFontFamily * *Family))                         \
  X(GpStatus, GdipDeleteFontFamily, (GpFontFamily * Family))                                       \
  X(GpStatus, GdipCloneFontFamily, (GpFontFamily * Family, GpFontFamily * *Clone))                 \
  X(GpStatus, GdipGetFamilyName, (const GpFontFamily* Family, WCHAR* Name, LANGID Language))       \
  X(GpStatus, GdipIsStyleAvailable, (const GpFontFamily* Family, INT Style, BOOL* Result))         \
  X(GpStatus, GdipGetEmHeight, (const GpFontFamily* Family, INT Style, UINT16* Value))             \
  X(GpStatus, GdipGetCellAscent, (const GpFontFamily* Family, INT Style, UINT16* Value))           \
  X(GpStatus, GdipGetCellDescent, (const GpFontFamily* Family, INT Style, UINT16* Value))          \
  X(GpStatus, GdipGetLineSpacing, (const GpFontFamily* Family, INT Style, UINT16* Value))          \
  X(GpStatus, GdipCreateFont,                                                                      \
    (const GpFontFamily* Family, REAL EmSize, INT Style, INT Unit, GpFont** Font))                 \
  X(GpStatus, GdipDeleteFont, (GpFont * Font))                                                     \
  X(GpStatus, GdipCloneFont, (GpFont * Font, GpFont * *Clone))                                     \
  X(GpStatus, GdipGetFontStyle, (GpFont * Font, INT * Style))                                      \
  X(GpStatus, GdipGetFontSize, (GpFont * Font, REAL * Size))                                       \
  X(GpStatus, GdipGetFontUnit, (GpFont * Font, INT * Unit))                                        \
  X(GpStatus, GdipGetFamily, (GpFont * Font, GpFontFamily * *Family))                              \
  X(GpStatus, GdipGetFontHeight, (const GpFont* Font, const GpGraphics* G, REAL* Height))          \
  X(GpStatus, GdipGetFontHeightGivenDPI, (const GpFont* Font, REAL Dpi, REAL* Height))             \
  X(GpStatus, GdipCreateStringFormat, (INT Flags, LANGID Language, GpStringFormat** Format))        \
  X(GpStatus, GdipDeleteStringFormat, (GpStringFormat * Format))                                   \
  X(GpStatus, GdipCloneStringFormat, (const GpStringFormat* Format, GpStringFormat** Clone))       \
  X(GpStatus, GdipStringFormatGetGenericDefault, (GpStringFormat * *Format))                       \
  X(GpStatus, GdipStringFormatGetGenericTypographic, (GpStringFormat * *Format))                   \
  X(GpStatus, GdipSetStringFormatFlags, (GpStringFormat * Format, INT Flags))                      \
  X(GpStatus, GdipGetStringFormatFlags, (const GpStringFormat* Format, INT* Flags))                \
  X(GpStatus, GdipSetStringFormatAlign, (GpStringFormat * Format, INT Align))                      \
  X(GpStatus, GdipGetStringFormatAlign, (const GpStringFormat* Format, INT* Align))                \
  X(GpStatus, GdipSetStringFormatLineAlign, (GpStringFormat * Format, INT Align))                  \
  X(GpStatus, GdipGetStringFormatLineAlign, (const GpStringFormat* Format, INT* Align))            \
  X(GpStatus, GdipSetStringFormatTrimming, (GpStringFormat * Format, INT Trimming))                \
  X(GpStatus, GdipGetStringFormatTrimming, (const GpStringFormat* Format, INT* Trimming))          \
  X(GpStatus, GdipSetStringFormatHotkeyPrefix, (GpStringFormat * Format, INT Prefix))              \
  X(GpStatus, GdipGetStringFormatHotkeyPrefix, (const GpStringFormat* Format, INT* Prefix))        \
  X(GpStatus, GdipGetStringFormatMeasurableCharacterRangeCount,                                    \
    (const GpStringFormat* Format, INT* Count))                                                    \
  X(GpStatus, GdipSetStringFormatTabStops,                                                         \
    (GpStringFormat * Format, REAL First, INT Count, const REAL* Stops))                           \
  X(GpStatus, GdipGetStringFormatTabStopCount, (const GpStringFormat* Format, INT* Count))         \
  X(GpStatus, GdipGetStringFormatTabStops,                                                         \
    (const GpStringFormat* Format, INT Count, REAL* First, REAL* Stops))                           \
  /* matrices */                                                                                   \
  X(GpStatus, GdipCreateMatrix, (GpMatrix * *M))                                                   \
  X(GpStatus, GdipCreateMatrix2,                                                                   \
    (REAL M11, REAL M12, REAL M21, REAL M22, REAL Dx, REAL Dy, GpMatrix * *M))                     \
  X(GpStatus, GdipCreateMatrix3, (const GpRectF* Rect, const GpPointF* Plg, GpMatrix** M))         \
  X(GpStatus, GdipCreateMatrix3I, (const GpRect* Rect, const GpPoint* Plg, GpMatrix** M))          \
  X(GpStatus, GdipDeleteMatrix, (GpMatrix * M))                                                    \
  X(GpStatus, GdipCloneMatrix, (GpMatrix * M, GpMatrix * *Clone))                                  \
  X(GpStatus, GdipGetMatrixElements, (const GpMatrix* M, REAL* Elements))                          \
  X(GpStatus, GdipSetMatrixElements,                                                               \
    (GpMatrix * M, REAL M11, REAL M12, REAL M21, REAL M22, REAL Dx, REAL Dy))                      \
  X(GpStatus, GdipIsMatrixInvertible, (const GpMatrix* M, BOOL* Result))                           \
  X(GpStatus, GdipIsMatrixIdentity, (const GpMatrix* M, BOOL* Result))                             \
  X(GpStatus, GdipIsMatrixEqual, (const GpMatrix* M, const GpMatrix* Other, BOOL* Result))         \
  X(GpStatus, GdipMultiplyMatrix, (GpMatrix * M, GpMatrix * Other, INT Order))                     \
  X(GpStatus, GdipTranslateMatrix, (GpMatrix * M, REAL Dx, REAL Dy, INT Order))                    \
  X(GpStatus, GdipScaleMatrix, (GpMatrix * M, REAL Sx, REAL Sy, INT Order))                        \
  X(GpStatus, GdipRotateMatrix, (GpMatrix * M, REAL Angle, INT Order))                             \
  X(GpStatus, GdipShearMatrix, (GpMatrix * M, REAL Sx, REAL Sy, INT Order))                        \
  X(GpStatus, GdipInvertMatrix, (GpMatrix * M))                                                    \
  X(GpStatus, GdipTransformMatrixPoints, (GpMatrix * M, GpPointF * Pts, INT Count))                \
  X(GpStatus, GdipTransformMatrixPointsI, (GpMatrix * M, GpPoint * Pts, INT Count))                \
  X(GpStatus, GdipVectorTransformMatrixPoints, (GpMatrix * M, GpPointF * Pts, INT Count))          \
  X(GpStatus, GdipVectorTransformMatrixPointsI, (GpMatrix * M, GpPoint * Pts, INT Count))          \
  /* images */                                                                                     \
  X(GpStatus, GdipCreateBitmapFromScan0,                                                           \
    (INT Width, INT Height, INT Stride, PixelFormat Format, BYTE * Scan0, GpBitmap * *Bitmap))     \
  X(GpStatus, GdipDisposeImage, (GpImage * Image))                                                 \
  X(GpStatus, GdipCloneImage, (GpImage * Image, GpImage * *Clone))                                 \
  X(GpStatus, GdipGetImageType, (GpImage * Image, INT * Type))                                     \
  X(GpStatus, GdipGetImageWidth, (GpImage * Image, UINT * Width))                                  \
  X(GpStatus, GdipGetImageHeight, (GpImage * Image, UINT * Height))                                \
  X(GpStatus, GdipGetImageHorizontalResolution, (GpImage * Image, REAL * Dpi))                     \
  X(GpStatus, GdipGetImageVerticalResolution, (GpImage * Image, REAL * Dpi))                       \
  X(GpStatus, GdipGetImageFlags, (GpImage * Image, UINT * Flags))                                  \
  X(GpStatus, GdipGetImageRawFormat, (GpImage * Image, GpGuid * Format))                           \
  X(GpStatus, GdipGetImagePixelFormat, (GpImage * Image, PixelFormat * Format))                    \
  X(GpStatus, GdipGetImageThumbnail,                                                               \
    (GpImage * Image, UINT Width, UINT Height, GpImage * *Thumb, void* Callback, void* Data))      \
  X(GpStatus, GdipBitmapLockBits,                                                                  \
    (GpBitmap * Bitmap, const GpRect* Rect, UINT Flags, PixelFormat Format, GpBitmapData* Data))   \
  X(GpStatus, GdipBitmapUnlockBits, (GpBitmap * Bitmap, GpBitmapData * Data))                      \
  X(GpStatus, GdipBitmapGetPixel, (GpBitmap * Bitmap, INT X, INT Y, ARGB * Color))                 \
  X(GpStatus, GdipBitmapSetPixel, (GpBitmap * Bitmap, INT X, INT Y, ARGB Color))                   \
  X(GpStatus, GdipBitmapSetResolution, (GpBitmap * Bitmap, REAL XDpi, REAL YDpi))                  \
  X(GpStatus, GdipCloneBitmapArea,                                                                 \
    (REAL X, REAL Y, REAL W, REAL H, PixelFormat Format, GpBitmap * Src, GpBitmap * *Dst))         \
  X(GpStatus, GdipCloneBitmapAreaI,                                                                \
    (INT X, INT Y, INT W, INT H, PixelFormat Format, GpBitmap * Src, GpBitmap * *Dst))             \
  X(GpStatus, GdipGetImageEncodersSize, (UINT * Count, UINT * Size))                               \
  X(GpStatus, GdipGetImageEncoders, (UINT Count, UINT Size, GpImageCodecInfo * Encoders))          \
  X(GpStatus, GdipLoadImageFromDelegate_linux,                                                     \
    (GpGetHeaderDelegate GetHeader, GpGetBytesDelegate GetBytes, GpPutBytesDelegate PutBytes,      \
     GpSeekDelegate Seek, GpCloseDelegate Close, GpSizeDelegate Size, GpImage * *Image))           \
  X(GpStatus, GdipSaveImageToDelegate_linux,                                                       \
    (GpImage * Image, GpGetBytesDelegate GetBytes, GpPutBytesDelegate PutBytes,                    \
     GpSeekDelegate Seek, GpCloseDelegate Close, GpSizeDelegate Size, const GpGuid* Encoder,       \
     const GpEncoderParameters* Params))

// Functions whose slot holds a bridge function of ours (B): the library's
// own takes Win32 handles as pointers to its own objects, or is a stub.
#define LUMIGRA_GDIP_BRIDGE_FUNCTIONS(X)                                                           \
  X(GpStatus, GdipCreateFromHDC, (void* Hdc, GpGraphics** Graphics))

#define LUMIGRA_GDIP_DECLARE_SLOT(Ret, Name, Params) Ret(*Name) Params = nullptr;

// The table of typed pointers; filled once by LoadGdiPlus.
struct TGdiPlusApi {
  LUMIGRA_GDIP_LIBRARY_FUNCTIONS(LUMIGRA_GDIP_DECLARE_SLOT)
  LUMIGRA_GDIP_BRIDGE_FUNCTIONS(LUMIGRA_GDIP_DECLARE_SLOT)
};

#undef LUMIGRA_GDIP_DECLARE_SLOT

// The loaded table. LoadGdiPlus must have succeeded before it is used.
extern TGdiPlusApi Api;

// Loads libgdiplus by its full path and resolves every function above. On
// failure returns false and sets Error to a one-line message (the missing
// symbol, or dlopen's message); the table is then unusable.
bool LoadLibGdiPlus(const char** Error);
// The full path the library is loaded from.
const char* LibGdiPlusPath();
// Resolves one more symbol of the loaded library (nullptr when absent).
void* LibGdiPlusSymbol(const char* Name);

}  // namespace gdipflat
