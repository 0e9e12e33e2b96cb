// The GDI+ object layer: reference-counted wrappers over the GDI+ flat
// interface (libgdiplus through platform/GdiPlusFlat.h and its bridge).
//
// Every wrapper owns one native handle and is reached through a counted
// reference (IGPPen, IGPGraphics, ...). A refused creation leaves a wrapper
// with a nil handle; its operations pass the nil handle on and getters return
// their start values. Misuse of the layer (empty arrays, nil required
// arguments, mismatched lengths) raises EAssertionFailed "Assertion failure".
//
// Start-up and shut-down are explicit: GdiPlusStartup before any wrapper,
// GdiPlusShutdown after the last one (it releases the cached shared objects
// first).
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include <windows.h>
#include <objidl.h>

#include "platform/GdiPlusFlat.h"
#include "rtl/System.h"

// ---------------------------------------------------------------------------
// Reference counting

class TGPRefObject {
 public:
  TGPRefObject() = default;
  TGPRefObject(const TGPRefObject&) = delete;
  TGPRefObject& operator=(const TGPRefObject&) = delete;
  virtual ~TGPRefObject() = default;
  Integer _AddRef() { return ++FRefCount; }
  Integer _Release() {
    const Integer r = --FRefCount;
    if (r == 0) delete this;
    return r;
  }
  Integer RefCount() const { return FRefCount.load(); }

 private:
  std::atomic<Integer> FRefCount{0};
};

// A counted reference to a wrapper: the "interface" of its class. A
// reference to a derived class converts to one of its base classes.
template <class T>
class TGPIntf {
 public:
  TGPIntf() = default;
  TGPIntf(std::nullptr_t) {}
  TGPIntf(T* P) : FPtr(P) {
    if (FPtr) FPtr->_AddRef();
  }
  TGPIntf(const TGPIntf& O) : TGPIntf(O.FPtr) {}
  TGPIntf(TGPIntf&& O) noexcept : FPtr(std::exchange(O.FPtr, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  TGPIntf(const TGPIntf<U>& O) : TGPIntf(static_cast<T*>(O.get())) {}
  ~TGPIntf() {
    if (FPtr) FPtr->_Release();
  }
  TGPIntf& operator=(TGPIntf O) noexcept {
    std::swap(FPtr, O.FPtr);
    return *this;
  }
  T* operator->() const { return FPtr; }
  T& operator*() const { return *FPtr; }
  T* get() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  bool operator==(std::nullptr_t) const { return FPtr == nullptr; }
  bool operator==(const TGPIntf& O) const { return FPtr == O.FPtr; }

 private:
  T* FPtr = nullptr;
};

// ---------------------------------------------------------------------------
// Value records

using TGPPointF = gdipflat::GpPointF;
using TGPPoint = gdipflat::GpPoint;
using TGPRectF = gdipflat::GpRectF;
using TGPRect = gdipflat::GpRect;
using TGUID = gdipflat::GpGuid;

bool operator==(const TGUID& A, const TGUID& B);

struct TGPSizeF {
  Single Width, Height;
};

struct TGPPlgPointsF {
  TGPPointF UpperLeft, UpperRight, LowerLeft;
};
struct TGPPlgPoints {
  TGPPoint UpperLeft, UpperRight, LowerLeft;
};

// One $AARRGGBB value, the layout of GDI+'s ARGB and of TColor32.
struct TGPColor {
  Cardinal FArgb = 0;
  constexpr TGPColor() = default;
  constexpr TGPColor(Cardinal Argb) : FArgb(Argb) {}
  constexpr operator Cardinal() const { return FArgb; }
};
static_assert(sizeof(TGPColor) == 4);

struct TGPMatrixElements {
  Single M11, M12, M21, M22, DX, DY;
};

TGPPointF MakeGPPointF(Single X, Single Y);
TGPPoint MakeGPPoint(Integer X, Integer Y);
TGPRectF MakeGPRectF(Single X, Single Y, Single Width, Single Height);
TGPRect MakeGPRect(Integer X, Integer Y, Integer Width, Integer Height);
TGPPointF& MakeGPPointF(TGPPointF& P, Single X, Single Y);
TGPPoint& MakeGPPoint(TGPPoint& P, Integer X, Integer Y);
TGPRectF& MakeGPRectF(TGPRectF& R, Single X, Single Y, Single Width, Single Height);
TGPRect& MakeGPRect(TGPRect& R, Integer X, Integer Y, Integer Width, Integer Height);
TGPRect GPRectFromRect(const TRect& R);
Integer GPRectRight(const TGPRect& R);
Integer GPRectBottom(const TGPRect& R);
TGPColor MakeGPColor(Byte A, Byte R, Byte G, Byte B);
TGPColor GPColorFromRGB(Byte R, Byte G, Byte B);
TGPColor ArgbToGPColor(Cardinal Argb);
TGPColor GPColorFromArgb(Cardinal Argb);
Cardinal GPColorToArgb(TGPColor Color);

// ---------------------------------------------------------------------------
// Enumerations (GDI+'s published values)

enum TGPFillMode : Integer { FillModeAlternate, FillModeWinding };
enum TGPUnit : Integer {
  UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter
};
enum TGPWrapMode : Integer {
  WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp
};
enum TGPLinearGradientMode : Integer {
  LinearGradientModeHorizontal,
  LinearGradientModeVertical,
  LinearGradientModeForwardDiagonal,
  LinearGradientModeBackwardDiagonal
};
using TGPFontStyle = Integer;
using TGPStringFormatFlags = Integer;
using TGPPaletteFlags = Integer;

inline constexpr Integer FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2,
                         FontStyleUnderline = 4, FontStyleStrikeout = 8;
inline constexpr Integer StringFormatFlagsNoWrap = 0x1000, StringFormatFlagsNoClip = 0x4000;
inline constexpr Integer StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2;
inline constexpr Integer MatrixOrderPrepend = 0, MatrixOrderAppend = 1;
inline constexpr Integer CombineModeReplace = 0, CombineModeIntersect = 1, CombineModeUnion = 2,
                         CombineModeXor = 3, CombineModeExclude = 4, CombineModeComplement = 5;
inline constexpr Integer SmoothingModeDefault = 0, SmoothingModeHighSpeed = 1,
                         SmoothingModeHighQuality = 2, SmoothingModeNone = 3,
                         SmoothingModeAntiAlias = 4;
inline constexpr Integer TextRenderingHintAntiAliasGridFit = 3, TextRenderingHintAntiAlias = 4;
inline constexpr Integer DashStyleSolid = 0, DashStyleDash = 1, DashStyleDot = 2,
                         DashStyleDashDot = 3, DashStyleDashDotDot = 4, DashStyleCustom = 5;
inline constexpr Integer LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2, LineCapTriangle = 3,
                         LineCapArrowAnchor = 0x14;
inline constexpr Integer LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2;
inline constexpr Integer BrushTypeSolidColor = 0, BrushTypeHatchFill = 1, BrushTypeTextureFill = 2,
                         BrushTypePathGradient = 3, BrushTypeLinearGradient = 4;
inline constexpr Integer HatchStyleHorizontal = 0, HatchStyleVertical = 1, HatchStyleCross = 4;

// The image format identifiers (GDI+'s ImageFormat GUIDs).
extern const TGUID ImageFormatBMP, ImageFormatJPEG, ImageFormatGIF, ImageFormatTIFF, ImageFormatPNG;
// Encoder parameter identifiers.
extern const TGUID EncoderQuality, EncoderColorDepth;

// ---------------------------------------------------------------------------
// Start-up and shut-down

// Loads libgdiplus and starts GDI+. Raises Exception with a one-line message
// when the library or one of its functions is missing.
void GdiPlusStartup();
// Releases the cached shared objects, then shuts GDI+ down.
void GdiPlusShutdown();
bool GdiPlusStarted();

// Raises EAssertionFailed "Assertion failure (GdiPlus, line N)".
[[noreturn]] void GdiPlusAssertFailed(int Line);
#define GP_ASSERT(Cond)                                 \
  do {                                                  \
    if (!(Cond)) ::GdiPlusAssertFailed(__LINE__);       \
  } while (0)

// ---------------------------------------------------------------------------
// Arrays and buffers

template <class T>
class TGPArray : public TGPRefObject {
 public:
  explicit TGPArray(Integer Count = 0) : FItems(Count > 0 ? size_t(Count) : 0) {}
  Integer GetCount() const { return Integer(FItems.size()); }
  void SetCount(Integer Count) {
    if (Count < 0) Count = 0;
    if (size_t(Count) != FItems.size()) FItems.resize(size_t(Count));
  }
  T GetItem(Integer Index) const { return FItems[size_t(Index)]; }
  void SetItem(Integer Index, const T& Value) { FItems[size_t(Index)] = Value; }
  T* GetItemPtr() { return FItems.data(); }

  class TEnumerator {
   public:
    explicit TEnumerator(TGPArray* A) : FArray(A) {}
    bool MoveNext() {
      if (FIndex >= FArray->GetCount()) return false;
      ++FIndex;
      return FIndex < FArray->GetCount();
    }
    T GetCurrent() const { return FArray->GetItem(FIndex); }

   private:
    TGPArray* FArray;
    Integer FIndex = -1;
  };
  TEnumerator GetEnumerator() { return TEnumerator(this); }

 private:
  std::vector<T> FItems;
};
template <class T>
using IGPArray = TGPIntf<TGPArray<T>>;

class TGPBuffer : public TGPRefObject {
 public:
  // Takes over Data (allocated with malloc).
  TGPBuffer(void* Data, Cardinal Size) : FData(Data), FSize(Size) {}
  ~TGPBuffer() override;
  void* GetData() const { return FData; }
  Cardinal GetSize() const { return FSize; }

 private:
  void* FData;
  Cardinal FSize;
};
using IGPBuffer = TGPIntf<TGPBuffer>;

// ---------------------------------------------------------------------------
// Handle-owning base

class TGdiplusBase : public TGPRefObject {
 public:
  void* GetNativeHandle() const { return FNativeHandle; }
  void SetNativeHandle(void* Handle) { FNativeHandle = Handle; }

 protected:
  TGdiplusBase() = default;
  explicit TGdiplusBase(void* Handle) : FNativeHandle(Handle) {}
  void* FNativeHandle = nullptr;
};
using IGdiplusBase = TGPIntf<TGdiplusBase>;

class TGPMatrix;
class TGPRegion;
class TGPGraphicsPath;
class TGPPen;
class TGPBrush;
class TGPImage;
class TGPBitmap;
class TGPFontFamily;
class TGPFont;
class TGPStringFormat;
class TGPGraphics;
using IGPMatrix = TGPIntf<TGPMatrix>;
using IGPRegion = TGPIntf<TGPRegion>;
using IGPGraphicsPath = TGPIntf<TGPGraphicsPath>;
using IGPPen = TGPIntf<TGPPen>;
using IGPBrush = TGPIntf<TGPBrush>;
using IGPImage = TGPIntf<TGPImage>;
using IGPBitmap = TGPIntf<TGPBitmap>;
using IGPFontFamily = TGPIntf<TGPFontFamily>;
using IGPFont = TGPIntf<TGPFont>;
using IGPStringFormat = TGPIntf<TGPStringFormat>;
using IGPGraphics = TGPIntf<TGPGraphics>;
// Only read for their handle; nil means none.
using IGPFontCollection = TGPIntf<TGdiplusBase>;
using IGPImageAttributes = TGPIntf<TGdiplusBase>;

// The native handle of a wrapper reference (nullptr for nil).
template <class H, class T>
H* GPHandle(const TGPIntf<T>& I) {
  return I ? static_cast<H*>(I->GetNativeHandle()) : nullptr;
}

// ---------------------------------------------------------------------------
// Matrices

class TGPMatrix : public TGdiplusBase {
 public:
  TGPMatrix();
  TGPMatrix(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY);
  TGPMatrix(const TGPRectF& Rect, const TGPPlgPointsF& DstPlg);
  TGPMatrix(const TGPRect& Rect, const TGPPlgPoints& DstPlg);
  static TGPMatrix* Wrap(gdipflat::GpMatrix* Handle);
  ~TGPMatrix() override;
  gdipflat::GpMatrix* Native() const { return static_cast<gdipflat::GpMatrix*>(FNativeHandle); }

  void GetElements(TGPMatrixElements& Elements);
  void SetElements(const TGPMatrixElements& Elements);
  Single OffsetX();
  Single OffsetY();
  bool IsInvertible();
  bool IsIdentity();
  IGPMatrix Clone();
  void Reset();
  void SetElements(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY);
  void Multiply(const IGPMatrix& Matrix, Integer Order = MatrixOrderPrepend);
  void Translate(Single OffsetX, Single OffsetY, Integer Order = MatrixOrderPrepend);
  void Scale(Single ScaleX, Single ScaleY, Integer Order = MatrixOrderPrepend);
  void Rotate(Single Angle, Integer Order = MatrixOrderPrepend);
  void RotateAt(Single Angle, const TGPPointF& Center, Integer Order = MatrixOrderPrepend);
  void Shear(Single ShearX, Single ShearY, Integer Order = MatrixOrderPrepend);
  void Invert();
  void TransformPoint(TGPPointF& Point);
  void TransformPoint(TGPPoint& Point);
  void TransformPoints(TGPPointF* Points, Integer Count);
  void TransformPoints(TGPPoint* Points, Integer Count);
  void TransformVector(TGPPointF& Point);
  void TransformVector(TGPPoint& Point);
  void TransformVectors(TGPPointF* Points, Integer Count);
  void TransformVectors(TGPPoint* Points, Integer Count);
  bool Equals(const IGPMatrix& Matrix);

 private:
  struct TWrapTag {};
  TGPMatrix(TWrapTag, gdipflat::GpMatrix* Handle) : TGdiplusBase(Handle) {}
};

// ---------------------------------------------------------------------------
// Blends

class TGPBlend : public TGPRefObject {
 public:
  explicit TGPBlend(Integer Count);
  TGPBlend(const std::vector<Single>& Factors, const std::vector<Single>& Positions);
  Integer GetCount() const { return Integer(FFactors.size()); }
  Single GetFactor(Integer I) const { return FFactors[size_t(I)]; }
  void SetFactor(Integer I, Single V) { FFactors[size_t(I)] = V; }
  Single GetPosition(Integer I) const { return FPositions[size_t(I)]; }
  void SetPosition(Integer I, Single V) { FPositions[size_t(I)] = V; }
  Single* GetFactorPtr() { return FFactors.data(); }
  Single* GetPositionPtr() { return FPositions.data(); }

 private:
  std::vector<Single> FFactors, FPositions;
};
using IGPBlend = TGPIntf<TGPBlend>;

class TGPColorBlend : public TGPRefObject {
 public:
  explicit TGPColorBlend(Integer Count);
  TGPColorBlend(const std::vector<TGPColor>& Colors, const std::vector<Single>& Positions);
  Integer GetCount() const { return Integer(FColors.size()); }
  TGPColor GetColor(Integer I) const { return FColors[size_t(I)]; }
  void SetColor(Integer I, TGPColor V) { FColors[size_t(I)] = V; }
  Single GetPosition(Integer I) const { return FPositions[size_t(I)]; }
  void SetPosition(Integer I, Single V) { FPositions[size_t(I)] = V; }
  TGPColor* GetColorPtr() { return FColors.data(); }
  Single* GetPositionPtr() { return FPositions.data(); }

 private:
  std::vector<TGPColor> FColors;
  std::vector<Single> FPositions;
};
using IGPColorBlend = TGPIntf<TGPColorBlend>;

// ---------------------------------------------------------------------------
// Brushes

class TGPBrush : public TGdiplusBase {
 public:
  TGPBrush() = default;  // empty: no GDI+ call
  static TGPBrush* Wrap(gdipflat::GpBrush* Handle);
  ~TGPBrush() override;
  gdipflat::GpBrush* Native() const { return static_cast<gdipflat::GpBrush*>(FNativeHandle); }
  Integer GetBrushType();
  IGPBrush Clone();

 protected:
  explicit TGPBrush(void* Handle) : TGdiplusBase(Handle) {}
};

class TGPSolidBrush : public TGPBrush {
 public:
  TGPSolidBrush() = default;
  explicit TGPSolidBrush(TGPColor Color);
  TGPColor GetColor();
  void SetColor(TGPColor Color);
};
using IGPSolidBrush = TGPIntf<TGPSolidBrush>;

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush() = default;
  TGPHatchBrush(Integer HatchStyle, TGPColor ForeColor, TGPColor BackColor = 0xFF000000);
  Integer GetHatchStyle();
  TGPColor GetForegroundColor();
  TGPColor GetBackgroundColor();
};
using IGPHatchBrush = TGPIntf<TGPHatchBrush>;

class TGPTextureBrush : public TGPBrush {
 public:
  TGPTextureBrush() = default;
  TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode = WrapModeTile);
  TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode, const TGPRectF& DstRect);
  TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode, const TGPRect& DstRect);
  IGPMatrix GetTransform();
  void SetTransform(const IGPMatrix& Matrix);
  TGPWrapMode GetWrapMode();
  void SetWrapMode(TGPWrapMode WrapMode);
  IGPImage GetImage();
  void ResetTransform();
  void TranslateTransform(Single DX, Single DY, Integer Order = MatrixOrderPrepend);
  void ScaleTransform(Single SX, Single SY, Integer Order = MatrixOrderPrepend);
  void RotateTransform(Single Angle, Integer Order = MatrixOrderPrepend);
};
using IGPTextureBrush = TGPIntf<TGPTextureBrush>;

class TGPLinearGradientBrush : public TGPBrush {
 public:
  TGPLinearGradientBrush() = default;
  TGPLinearGradientBrush(const TGPPointF& P1, const TGPPointF& P2, TGPColor C1, TGPColor C2);
  TGPLinearGradientBrush(const TGPPoint& P1, const TGPPoint& P2, TGPColor C1, TGPColor C2);
  TGPLinearGradientBrush(const TGPRectF& Rect, TGPColor C1, TGPColor C2, TGPLinearGradientMode Mode);
  TGPLinearGradientBrush(const TGPRect& Rect, TGPColor C1, TGPColor C2, TGPLinearGradientMode Mode);
  TGPLinearGradientBrush(const TGPRectF& Rect, TGPColor C1, TGPColor C2, Single Angle,
                         bool IsAngleScalable = false);
  TGPLinearGradientBrush(const TGPRect& Rect, TGPColor C1, TGPColor C2, Single Angle,
                         bool IsAngleScalable = false);
  void GetColors(TGPColor& C1, TGPColor& C2);
  void SetColors(TGPColor C1, TGPColor C2);
  TGPRectF GetRectangle();
  void GetRectangle(TGPRect& Rect);
  bool GetGammaCorrection();
  void SetGammaCorrection(bool Use);
  IGPBlend GetBlend();
  void SetBlend(const IGPBlend& Blend);
  IGPColorBlend GetInterpolationColors();
  void SetInterpolationColors(const IGPColorBlend& Blend);
  IGPMatrix GetTransform();
  void SetTransform(const IGPMatrix& Matrix);
  TGPWrapMode GetWrapMode();
  void SetWrapMode(TGPWrapMode WrapMode);
  void SetBlendBellShape(Single Focus, Single Scale = 1.0f);
  void SetBlendTriangularShape(Single Focus, Single Scale = 1.0f);
  void ResetTransform();
  void TranslateTransform(Single DX, Single DY, Integer Order = MatrixOrderPrepend);
  void ScaleTransform(Single SX, Single SY, Integer Order = MatrixOrderPrepend);
  void RotateTransform(Single Angle, Integer Order = MatrixOrderPrepend);
};
using IGPLinearGradientBrush = TGPIntf<TGPLinearGradientBrush>;

class TGPPathGradientBrush : public TGPBrush {
 public:
  TGPPathGradientBrush() = default;
  explicit TGPPathGradientBrush(const IGPGraphicsPath& Path);
  TGPPathGradientBrush(const std::vector<TGPPointF>& Points, TGPWrapMode WrapMode = WrapModeClamp);
  TGPPathGradientBrush(const std::vector<TGPPoint>& Points, TGPWrapMode WrapMode = WrapModeClamp);
  TGPColor GetCenterColor();
  void SetCenterColor(TGPColor Color);
  Integer GetPointCount();
  IGPArray<TGPColor> GetSurroundColors();
  void SetSurroundColors(const IGPArray<TGPColor>& Colors);
  void SetSurroundColors(const std::vector<TGPColor>& Colors);
  TGPPointF GetCenterPoint();
  void SetCenterPoint(const TGPPointF& Point);
  void SetCenterPoint(const TGPPoint& Point);
  TGPRectF GetRectangle();
  bool GetGammaCorrection();
  void SetGammaCorrection(bool Use);
  IGPBlend GetBlend();
  void SetBlend(const IGPBlend& Blend);
  IGPColorBlend GetInterpolationColors();
  void SetInterpolationColors(const IGPColorBlend& Blend);
  TGPWrapMode GetWrapMode();
  void SetWrapMode(TGPWrapMode WrapMode);
  void SetBlendBellShape(Single Focus, Single Scale = 1.0f);
  void SetBlendTriangularShape(Single Focus, Single Scale = 1.0f);
  void GetFocusScales(Single& X, Single& Y);
  void SetFocusScales(Single X, Single Y);
};
using IGPPathGradientBrush = TGPIntf<TGPPathGradientBrush>;

// ---------------------------------------------------------------------------
// Pens

class TGPPen : public TGdiplusBase {
 public:
  TGPPen(TGPColor Color, Single Width = 1.0f);
  TGPPen(const IGPBrush& Brush, Single Width = 1.0f);
  ~TGPPen() override;
  gdipflat::GpPen* Native() const { return static_cast<gdipflat::GpPen*>(FNativeHandle); }

  Single GetWidth();
  void SetWidth(Single Width);
  Integer GetStartCap();
  void SetStartCap(Integer Cap);
  Integer GetEndCap();
  void SetEndCap(Integer Cap);
  Integer GetDashCap();
  void SetDashCap(Integer Cap);
  Integer GetLineJoin();
  void SetLineJoin(Integer Join);
  Single GetMiterLimit();
  void SetMiterLimit(Single Limit);
  Integer GetAlignment();
  void SetAlignment(Integer Alignment);
  IGPMatrix GetTransform();
  void SetTransform(const IGPMatrix& Matrix);
  Integer GetPenType();
  TGPColor GetColor();
  void SetColor(TGPColor Color);
  IGPBrush GetBrush();
  void SetBrush(const IGPBrush& Brush);
  Integer GetDashStyle();
  void SetDashStyle(Integer Style);
  Single GetDashOffset();
  void SetDashOffset(Single Offset);
  IGPArray<Single> GetDashPattern();
  void SetDashPattern(const IGPArray<Single>& Pattern);
  void SetDashPattern(const std::vector<Single>& Pattern);
  IGPPen Clone();
  void SetLineCap(Integer StartCap, Integer EndCap, Integer DashCap);
  void ResetTransform();
  void MultiplyTransform(const IGPMatrix& Matrix, Integer Order = MatrixOrderPrepend);
  void TranslateTransform(Single DX, Single DY, Integer Order = MatrixOrderPrepend);
  void ScaleTransform(Single SX, Single SY, Integer Order = MatrixOrderPrepend);
  void RotateTransform(Single Angle, Integer Order = MatrixOrderPrepend);

 private:
  struct TWrapTag {};
  TGPPen(TWrapTag, gdipflat::GpPen* Handle) : TGdiplusBase(Handle) {}
};

// ---------------------------------------------------------------------------
// Paths and regions

class TGPPathData : public TGPRefObject {
 public:
  explicit TGPPathData(Integer Count = 0) { SetCount(Count); }
  Integer GetCount() const { return Integer(FPoints.size()); }
  void SetCount(Integer Count);
  TGPPointF GetPoint(Integer I) const { return FPoints[size_t(I)]; }
  Byte GetType(Integer I) const { return FTypes[size_t(I)]; }
  TGPPointF* GetPointPtr() { return FPoints.data(); }
  Byte* GetTypePtr() { return FTypes.data(); }
  gdipflat::GpPathData GetNativePathData();

 private:
  std::vector<TGPPointF> FPoints;
  std::vector<Byte> FTypes;
};
using IGPPathData = TGPIntf<TGPPathData>;

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(TGPFillMode FillMode = FillModeAlternate);
  TGPGraphicsPath(const std::vector<TGPPointF>& Points, const std::vector<Byte>& Types,
                  TGPFillMode FillMode = FillModeAlternate);
  TGPGraphicsPath(const std::vector<TGPPoint>& Points, const std::vector<Byte>& Types,
                  TGPFillMode FillMode = FillModeAlternate);
  ~TGPGraphicsPath() override;
  gdipflat::GpPath* Native() const { return static_cast<gdipflat::GpPath*>(FNativeHandle); }

  TGPFillMode GetFillMode();
  void SetFillMode(TGPFillMode Mode);
  IGPPathData GetPathData();
  Integer GetPointCount();
  IGPArray<Byte> GetPathTypes();
  IGPArray<TGPPointF> GetPathPoints();
  IGPArray<TGPPoint> GetPathPointsI();
  IGPGraphicsPath Clone();
  void Reset();
  void StartFigure();
  void CloseFigure();
  void CloseAllFigures();
  void Reverse();
  void GetLastPoint(TGPPointF& Point);

  void AddLine(const TGPPointF& P1, const TGPPointF& P2) { AddLine(P1.X, P1.Y, P2.X, P2.Y); }
  void AddLine(Single X1, Single Y1, Single X2, Single Y2);
  void AddLine(const TGPPoint& P1, const TGPPoint& P2) { AddLine(P1.X, P1.Y, P2.X, P2.Y); }
  void AddLine(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void AddLines(const std::vector<TGPPointF>& Points);
  void AddLines(const std::vector<TGPPoint>& Points);
  void AddArc(const TGPRectF& R, Single Start, Single Sweep) { AddArc(R.X, R.Y, R.Width, R.Height, Start, Sweep); }
  void AddArc(Single X, Single Y, Single W, Single H, Single Start, Single Sweep);
  void AddArc(const TGPRect& R, Single Start, Single Sweep) { AddArc(R.X, R.Y, R.Width, R.Height, Start, Sweep); }
  void AddArc(Integer X, Integer Y, Integer W, Integer H, Single Start, Single Sweep);
  void AddBezier(const TGPPointF& P1, const TGPPointF& P2, const TGPPointF& P3, const TGPPointF& P4) {
    AddBezier(P1.X, P1.Y, P2.X, P2.Y, P3.X, P3.Y, P4.X, P4.Y);
  }
  void AddBezier(Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3, Single X4, Single Y4);
  void AddBezier(const TGPPoint& P1, const TGPPoint& P2, const TGPPoint& P3, const TGPPoint& P4) {
    AddBezier(P1.X, P1.Y, P2.X, P2.Y, P3.X, P3.Y, P4.X, P4.Y);
  }
  void AddBezier(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                 Integer Y4);
  void AddBeziers(const std::vector<TGPPointF>& Points);
  void AddBeziers(const std::vector<TGPPoint>& Points);
  void AddCurve(const std::vector<TGPPointF>& Points);
  void AddCurve(const std::vector<TGPPointF>& Points, Single Tension);
  void AddCurve(const std::vector<TGPPoint>& Points);
  void AddCurve(const std::vector<TGPPoint>& Points, Single Tension);
  void AddClosedCurve(const std::vector<TGPPointF>& Points);
  void AddClosedCurve(const std::vector<TGPPoint>& Points);
  void AddRectangle(const TGPRectF& Rect);
  void AddRectangle(const TGPRect& Rect);
  void AddEllipse(const TGPRectF& R) { AddEllipse(R.X, R.Y, R.Width, R.Height); }
  void AddEllipse(Single X, Single Y, Single W, Single H);
  void AddEllipse(const TGPRect& R) { AddEllipse(R.X, R.Y, R.Width, R.Height); }
  void AddEllipse(Integer X, Integer Y, Integer W, Integer H);
  void AddPie(const TGPRectF& R, Single Start, Single Sweep) { AddPie(R.X, R.Y, R.Width, R.Height, Start, Sweep); }
  void AddPie(Single X, Single Y, Single W, Single H, Single Start, Single Sweep);
  void AddPie(const TGPRect& R, Single Start, Single Sweep) { AddPie(R.X, R.Y, R.Width, R.Height, Start, Sweep); }
  void AddPie(Integer X, Integer Y, Integer W, Integer H, Single Start, Single Sweep);
  void AddPolygon(const std::vector<TGPPointF>& Points);
  void AddPolygon(const std::vector<TGPPoint>& Points);
  void AddPath(const IGPGraphicsPath& Path, bool Connect);
  void AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                 const TGPPointF& Origin, const IGPStringFormat& Format);
  void AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                 const TGPRectF& LayoutRect, const IGPStringFormat& Format);
  void AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                 const TGPPoint& Origin, const IGPStringFormat& Format);
  void AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                 const TGPRect& LayoutRect, const IGPStringFormat& Format);
  void Transform(const IGPMatrix& Matrix);
  void GetBounds(TGPRectF& Bounds, const IGPMatrix& Matrix = nullptr, const IGPPen& Pen = nullptr);
  void GetBounds(TGPRect& Bounds, const IGPMatrix& Matrix = nullptr, const IGPPen& Pen = nullptr);
  void Flatten(const IGPMatrix& Matrix = nullptr, Single Flatness = 0.25f);
  void Widen(const IGPPen& Pen, const IGPMatrix& Matrix = nullptr, Single Flatness = 0.25f);
  void Outline(const IGPMatrix& Matrix = nullptr, Single Flatness = 0.25f);
  bool IsVisible(const TGPPointF& P, const IGPGraphics& G = nullptr) { return IsVisible(P.X, P.Y, G); }
  bool IsVisible(Single X, Single Y, const IGPGraphics& G = nullptr);
  bool IsVisible(const TGPPoint& P, const IGPGraphics& G = nullptr) { return IsVisible(P.X, P.Y, G); }
  bool IsVisible(Integer X, Integer Y, const IGPGraphics& G = nullptr);
  bool IsOutlineVisible(const TGPPointF& P, const IGPPen& Pen, const IGPGraphics& G = nullptr) {
    return IsOutlineVisible(P.X, P.Y, Pen, G);
  }
  bool IsOutlineVisible(Single X, Single Y, const IGPPen& Pen, const IGPGraphics& G = nullptr);
  bool IsOutlineVisible(const TGPPoint& P, const IGPPen& Pen, const IGPGraphics& G = nullptr) {
    return IsOutlineVisible(P.X, P.Y, Pen, G);
  }
  bool IsOutlineVisible(Integer X, Integer Y, const IGPPen& Pen, const IGPGraphics& G = nullptr);

 private:
  struct TWrapTag {};
  TGPGraphicsPath(TWrapTag, gdipflat::GpPath* Handle) : TGdiplusBase(Handle) {}
  // AddString with the vertical format flag: columns laid out glyph run by
  // glyph run (libgdiplus ignores the flag for paths).
  void AddVerticalString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                         const TGPRectF& Layout, const IGPStringFormat& Format);
};

class TGPRegion : public TGdiplusBase {
 public:
  TGPRegion();  // infinite
  explicit TGPRegion(const TGPRectF& Rect);
  explicit TGPRegion(const TGPRect& Rect);
  explicit TGPRegion(const IGPGraphicsPath& Path);
  TGPRegion(const Byte* RegionData, Integer Size);
  explicit TGPRegion(HRGN Rgn);
  // nil when the handle is no region.
  static IGPRegion FromHRGN(HRGN Rgn);
  ~TGPRegion() override;
  gdipflat::GpRegion* Native() const { return static_cast<gdipflat::GpRegion*>(FNativeHandle); }

  IGPRegion Clone();
  void MakeInfinite();
  void MakeEmpty();
  IGPBuffer GetData();
  void Intersect(const TGPRect& R) { Combine(R, CombineModeIntersect); }
  void Intersect(const TGPRectF& R) { Combine(R, CombineModeIntersect); }
  void Intersect(const IGPGraphicsPath& P) { Combine(P, CombineModeIntersect); }
  void Intersect(const IGPRegion& R) { Combine(R, CombineModeIntersect); }
  void Union(const TGPRect& R) { Combine(R, CombineModeUnion); }
  void Union(const TGPRectF& R) { Combine(R, CombineModeUnion); }
  void Union(const IGPGraphicsPath& P) { Combine(P, CombineModeUnion); }
  void Union(const IGPRegion& R) { Combine(R, CombineModeUnion); }
  void Xor(const TGPRect& R) { Combine(R, CombineModeXor); }
  void Xor(const TGPRectF& R) { Combine(R, CombineModeXor); }
  void Xor(const IGPGraphicsPath& P) { Combine(P, CombineModeXor); }
  void Xor(const IGPRegion& R) { Combine(R, CombineModeXor); }
  void Exclude(const TGPRect& R) { Combine(R, CombineModeExclude); }
  void Exclude(const TGPRectF& R) { Combine(R, CombineModeExclude); }
  void Exclude(const IGPGraphicsPath& P) { Combine(P, CombineModeExclude); }
  void Exclude(const IGPRegion& R) { Combine(R, CombineModeExclude); }
  void Complement(const TGPRect& R) { Combine(R, CombineModeComplement); }
  void Complement(const TGPRectF& R) { Combine(R, CombineModeComplement); }
  void Complement(const IGPGraphicsPath& P) { Combine(P, CombineModeComplement); }
  void Complement(const IGPRegion& R) { Combine(R, CombineModeComplement); }
  void Translate(Single DX, Single DY);
  void Translate(Integer DX, Integer DY);
  void Transform(const IGPMatrix& Matrix);
  void GetBounds(TGPRect& Rect, const IGPGraphics& G);
  void GetBounds(TGPRectF& Rect, const IGPGraphics& G);
  // A new Windows region owned by the caller (nullptr when refused).
  HRGN GetHRGN(const IGPGraphics& G);
  bool IsEmpty(const IGPGraphics& G);
  bool IsInfinite(const IGPGraphics& G);
  bool IsVisible(Integer X, Integer Y, const IGPGraphics& G = nullptr);
  bool IsVisible(const TGPPoint& P, const IGPGraphics& G = nullptr) { return IsVisible(P.X, P.Y, G); }
  bool IsVisible(Single X, Single Y, const IGPGraphics& G = nullptr);
  bool IsVisible(const TGPPointF& P, const IGPGraphics& G = nullptr) { return IsVisible(P.X, P.Y, G); }
  bool IsVisible(Integer X, Integer Y, Integer W, Integer H, const IGPGraphics& G = nullptr);
  bool IsVisible(const TGPRect& R, const IGPGraphics& G = nullptr) { return IsVisible(R.X, R.Y, R.Width, R.Height, G); }
  bool IsVisible(Single X, Single Y, Single W, Single H, const IGPGraphics& G = nullptr);
  bool IsVisible(const TGPRectF& R, const IGPGraphics& G = nullptr) { return IsVisible(R.X, R.Y, R.Width, R.Height, G); }
  bool Equals(const IGPRegion& Region, const IGPGraphics& G);
  IGPArray<TGPRectF> GetRegionScans(const IGPMatrix& Matrix);
  IGPArray<TGPRect> GetRegionScansI(const IGPMatrix& Matrix);

 private:
  struct TWrapTag {};
  TGPRegion(TWrapTag, gdipflat::GpRegion* Handle) : TGdiplusBase(Handle) {}
  void Combine(const TGPRect& R, Integer Mode);
  void Combine(const TGPRectF& R, Integer Mode);
  void Combine(const IGPGraphicsPath& P, Integer Mode);
  void Combine(const IGPRegion& R, Integer Mode);
};

// ---------------------------------------------------------------------------
// Fonts and string formats

class TGPFontFamily : public TGdiplusBase {
 public:
  TGPFontFamily() = default;  // empty: no GDI+ call
  // A name no installed font has gives the generic sans-serif family (a
  // copy owned by this wrapper), never a nil family.
  explicit TGPFontFamily(const String& Name, const IGPFontCollection& FontCollection = nullptr);
  static IGPFontFamily GenericSansSerif();
  static IGPFontFamily GenericSerif();
  static IGPFontFamily GenericMonospace();
  static TGPFontFamily* Wrap(gdipflat::GpFontFamily* Handle);
  ~TGPFontFamily() override;
  gdipflat::GpFontFamily* Native() const { return static_cast<gdipflat::GpFontFamily*>(FNativeHandle); }

  String GetFamilyName(Word Language = 0);
  IGPFontFamily Clone();
  bool IsAvailable() const { return FNativeHandle != nullptr; }
  bool IsStyleAvailable(TGPFontStyle Style);
  Word GetEmHeight(TGPFontStyle Style);
  Word GetCellAscent(TGPFontStyle Style);
  Word GetCellDescent(TGPFontStyle Style);
  Word GetLineSpacing(TGPFontStyle Style);
};

class TGPFont : public TGdiplusBase {
 public:
  TGPFont(const IGPFontFamily& Family, Single EmSize, TGPFontStyle Style = FontStyleRegular,
          TGPUnit Unit = UnitPoint);
  TGPFont(const String& FamilyName, Single EmSize, TGPFontStyle Style = FontStyleRegular,
          TGPUnit Unit = UnitPoint, const IGPFontCollection& FontCollection = nullptr);
  ~TGPFont() override;
  gdipflat::GpFont* Native() const { return static_cast<gdipflat::GpFont*>(FNativeHandle); }

  TGPFontStyle GetStyle();
  Single GetSize();
  TGPUnit GetUnit();
  IGPFontFamily GetFamily();
  IGPFont Clone();
  bool IsAvailable() const { return FNativeHandle != nullptr; }
  Single GetHeight(const IGPGraphics& G);
  Single GetHeight(Single Dpi);

 private:
  struct TWrapTag {};
  TGPFont(TWrapTag, gdipflat::GpFont* Handle) : TGdiplusBase(Handle) {}
};

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(TGPStringFormatFlags FormatFlags = 0, Word Language = 0);
  explicit TGPStringFormat(const IGPStringFormat& Format);
  static IGPStringFormat GenericDefault();
  static IGPStringFormat GenericTypographic();
  ~TGPStringFormat() override;
  gdipflat::GpStringFormat* Native() const { return static_cast<gdipflat::GpStringFormat*>(FNativeHandle); }

  TGPStringFormatFlags GetFormatFlags();
  void SetFormatFlags(TGPStringFormatFlags Flags);
  Integer GetAlignment();
  void SetAlignment(Integer Align);
  Integer GetLineAlignment();
  void SetLineAlignment(Integer Align);
  Integer GetHotkeyPrefix();
  void SetHotkeyPrefix(Integer Prefix);
  Integer GetTrimming();
  void SetTrimming(Integer Trimming);
  Integer GetMeasurableCharacterRangeCount();
  IGPStringFormat Clone();
  IGPArray<Single> GetTabStops(Single& FirstTabOffset);
  void SetTabStops(Single FirstTabOffset, const std::vector<Single>& TabStops);

 private:
  struct TWrapTag {};
  TGPStringFormat(TWrapTag, gdipflat::GpStringFormat* Handle) : TGdiplusBase(Handle) {}
};

// ---------------------------------------------------------------------------
// Images, bitmaps and encoders

class TGPImageFormat : public TGPRefObject {
 public:
  explicit TGPImageFormat(const TGUID& Guid) : FGuid(Guid), FCodecId() {}
  TGPImageFormat(const TGUID& Guid, const TGUID& CodecId) : FGuid(Guid), FCodecId(CodecId) {}
  TGUID GetGuid() const { return FGuid; }
  TGUID GetCodecId() const { return FCodecId; }
  // The cached encoder of a format (nil for none of BMP, GIF, JPEG, PNG, TIFF).
  static TGPIntf<TGPImageFormat> FindByFormatId(const TGUID& FormatId);
  static TGPIntf<TGPImageFormat> BmpFormat();
  static TGPIntf<TGPImageFormat> JpegFormat();
  static TGPIntf<TGPImageFormat> GifFormat();
  static TGPIntf<TGPImageFormat> TiffFormat();
  static TGPIntf<TGPImageFormat> PngFormat();

 private:
  TGUID FGuid;
  TGUID FCodecId;
};
using IGPImageFormat = TGPIntf<TGPImageFormat>;

class TGPEncoderParameters : public TGPRefObject {
 public:
  TGPEncoderParameters() = default;
  // Copies every parameter of a native list (nil gives an empty object).
  explicit TGPEncoderParameters(const gdipflat::GpEncoderParameters* Native);
  ~TGPEncoderParameters() override;
  Integer GetCount() const { return FParamCount; }
  gdipflat::GpEncoderParameter* GetParam(Integer Index) { return &FParams[size_t(Index)]; }
  // The contiguous native list, rebuilt when changed; owned by this object.
  gdipflat::GpEncoderParameters* GetNative();
  void Clear();
  void Add(const TGUID& ParamType, Integer Value);
  void Add(const TGUID& ParamType, const std::vector<Integer>& Values);
  void Add(const TGUID& ParamType, Cardinal NumberOfValues, Integer ValueType, const void* Value);

 private:
  std::vector<gdipflat::GpEncoderParameter> FParams;
  std::vector<size_t> FOffsets;  // each entry's value offset in FValues
  Integer FParamCount = 0;
  Byte* FValues = nullptr;
  size_t FValueSize = 0;
  size_t FValueAllocated = 0;
  gdipflat::GpEncoderParameters* FNativeParams = nullptr;
  bool FModified = true;
};
using IGPEncoderParameters = TGPIntf<TGPEncoderParameters>;

class TGPImage : public TGdiplusBase {
 public:
  // Decodes a file (read with Win32, decoded from memory).
  TGPImage(const String& FileName, bool UseEmbeddedColorManagement = false);
  TGPImage(IStream* Stream, bool UseEmbeddedColorManagement = false);
  static IGPImage FromFile(const String& FileName, bool UseEmbeddedColorManagement = false);
  static IGPImage FromStream(IStream* Stream, bool UseEmbeddedColorManagement = false);
  static TGPImage* Wrap(gdipflat::GpImage* Handle);
  ~TGPImage() override;
  gdipflat::GpImage* Native() const { return static_cast<gdipflat::GpImage*>(FNativeHandle); }

  Integer GetType();
  Cardinal GetWidth();
  Cardinal GetHeight();
  Single GetHorizontalResolution();
  Single GetVerticalResolution();
  Cardinal GetFlags();
  void GetRawFormat(TGUID& Format);
  Integer GetPixelFormat();
  IGPImage Clone();
  // Encodes into memory and writes it to the stream; false when anything
  // is refused.
  bool Save(IStream* Stream, const IGPImageFormat& Format, const IGPEncoderParameters& Params = nullptr);
  IGPImage GetThumbnailImage(Cardinal ThumbWidth, Cardinal ThumbHeight);

 protected:
  TGPImage() = default;
  explicit TGPImage(void* Handle) : TGdiplusBase(Handle) {}
};

class TGPBitmap : public TGPImage {
 public:
  TGPBitmap(const String& FileName, bool UseEmbeddedColorManagement = false);
  TGPBitmap(IStream* Stream, bool UseEmbeddedColorManagement = false);
  TGPBitmap(Integer Width, Integer Height, Integer Stride, Integer Format, void* Scan0);
  TGPBitmap(Integer Width, Integer Height, Integer Format = gdipflat::PixelFormat32bppARGB);
  // A copy of a Windows bitmap (read through GetDIBits).
  TGPBitmap(HBITMAP Bitmap, HPALETTE Palette);
  static IGPBitmap FromFile(const String& FileName, bool UseEmbeddedColorManagement = false);
  static IGPBitmap FromStream(IStream* Stream, bool UseEmbeddedColorManagement = false);
  static IGPBitmap FromHBitmap(HBITMAP Bitmap, HPALETTE Palette);

  TGPColor GetPixel(Integer X, Integer Y);
  void SetPixel(Integer X, Integer Y, TGPColor Color);
  IGPBitmap Clone();
  IGPBitmap Clone(const TGPRect& Rect, Integer Format);
  IGPBitmap Clone(Integer X, Integer Y, Integer Width, Integer Height, Integer Format);
  IGPBitmap Clone(const TGPRectF& Rect, Integer Format);
  IGPBitmap Clone(Single X, Single Y, Single Width, Single Height, Integer Format);
  gdipflat::GpStatus LockBits(const TGPRect& Rect, Cardinal Flags, Integer Format,
                              gdipflat::GpBitmapData& Data);
  gdipflat::GpStatus UnlockBits(gdipflat::GpBitmapData& Data);
  void SetResolution(Single XDpi, Single YDpi);
  // A new 32-bit top-down DIB section owned by the caller (nullptr when
  // refused), transparent pixels composed over Background.
  HBITMAP GetHBITMAP(TGPColor Background);

 private:
  struct TWrapTag {};
  TGPBitmap(TWrapTag, gdipflat::GpImage* Handle) : TGPImage(Handle) {}
};

// ---------------------------------------------------------------------------
// Graphics

class TGPGraphics : public TGdiplusBase {
 public:
  // The program's surface: the DC of a TBitmap32 (a 32-bit top-down DIB
  // section). The drawing reaches the bitmap when the graphics is released.
  explicit TGPGraphics(HDC DC);
  explicit TGPGraphics(const IGPImage& Image);
  static IGPGraphics FromHDC(HDC DC);
  static IGPGraphics FromImage(const IGPImage& Image);
  ~TGPGraphics() override;
  gdipflat::GpGraphics* Native() const { return static_cast<gdipflat::GpGraphics*>(FNativeHandle); }

  // rendering state
  Integer GetCompositingMode();
  void SetCompositingMode(Integer Mode);
  Integer GetCompositingQuality();
  void SetCompositingQuality(Integer Quality);
  Integer GetTextRenderingHint();
  void SetTextRenderingHint(Integer Hint);
  Integer GetInterpolationMode();
  void SetInterpolationMode(Integer Mode);
  Integer GetSmoothingMode();
  void SetSmoothingMode(Integer Mode);
  Integer GetPixelOffsetMode();
  void SetPixelOffsetMode(Integer Mode);
  // transform and page
  IGPMatrix GetTransform();
  void SetTransform(const IGPMatrix& Matrix);
  Integer GetPageUnit();
  void SetPageUnit(Integer Unit);
  Single GetPageScale();
  void SetPageScale(Single Scale);
  Single GetDpiX();
  Single GetDpiY();
  // clip
  IGPRegion GetClip();
  void SetClip(const IGPRegion& Region, Integer Mode = CombineModeReplace);
  void SetClip(const TGPRectF& Rect, Integer Mode = CombineModeReplace);
  void SetClip(const TGPRect& Rect, Integer Mode = CombineModeReplace);
  void SetClip(const IGPGraphicsPath& Path, Integer Mode = CombineModeReplace);
  void GetClipBounds(TGPRectF& Rect);
  bool IsClipEmpty();
  void IntersectClip(const TGPRectF& Rect) { SetClip(Rect, CombineModeIntersect); }
  void IntersectClip(const TGPRect& Rect) { SetClip(Rect, CombineModeIntersect); }
  void IntersectClip(const IGPRegion& Region) { SetClip(Region, CombineModeIntersect); }
  void ExcludeClip(const TGPRectF& Rect) { SetClip(Rect, CombineModeExclude); }
  void ExcludeClip(const TGPRect& Rect) { SetClip(Rect, CombineModeExclude); }
  void ExcludeClip(const IGPRegion& Region) { SetClip(Region, CombineModeExclude); }
  void ResetClip();
  void TranslateClip(Single DX, Single DY);
  // transform changes
  void ResetTransform();
  void MultiplyTransform(const IGPMatrix& Matrix, Integer Order = MatrixOrderPrepend);
  void TranslateTransform(Single DX, Single DY, Integer Order = MatrixOrderPrepend);
  void ScaleTransform(Single SX, Single SY, Integer Order = MatrixOrderPrepend);
  void RotateTransform(Single Angle, Integer Order = MatrixOrderPrepend);
  // lines and curves
  void DrawLine(const IGPPen& Pen, const TGPPointF& P1, const TGPPointF& P2) { DrawLine(Pen, P1.X, P1.Y, P2.X, P2.Y); }
  void DrawLine(const IGPPen& Pen, Single X1, Single Y1, Single X2, Single Y2);
  void DrawLine(const IGPPen& Pen, const TGPPoint& P1, const TGPPoint& P2) { DrawLine(Pen, P1.X, P1.Y, P2.X, P2.Y); }
  void DrawLine(const IGPPen& Pen, Integer X1, Integer Y1, Integer X2, Integer Y2);
  void DrawLines(const IGPPen& Pen, const std::vector<TGPPointF>& Points, Integer Count = -1);
  void DrawLines(const IGPPen& Pen, const std::vector<TGPPoint>& Points, Integer Count = -1);
  void DrawArc(const IGPPen& Pen, Single X, Single Y, Single W, Single H, Single Start, Single Sweep);
  void DrawArc(const IGPPen& Pen, const TGPRectF& R, Single Start, Single Sweep) {
    DrawArc(Pen, R.X, R.Y, R.Width, R.Height, Start, Sweep);
  }
  void DrawArc(const IGPPen& Pen, Integer X, Integer Y, Integer W, Integer H, Single Start, Single Sweep);
  void DrawArc(const IGPPen& Pen, const TGPRect& R, Single Start, Single Sweep) {
    DrawArc(Pen, R.X, R.Y, R.Width, R.Height, Start, Sweep);
  }
  void DrawBezier(const IGPPen& Pen, Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3,
                  Single X4, Single Y4);
  void DrawBeziers(const IGPPen& Pen, const std::vector<TGPPointF>& Points);
  void DrawBeziers(const IGPPen& Pen, const std::vector<TGPPoint>& Points);
  // shapes
  void DrawRectangle(const IGPPen& Pen, const TGPRectF& R) { DrawRectangle(Pen, R.X, R.Y, R.Width, R.Height); }
  void DrawRectangle(const IGPPen& Pen, const TGPRect& R) { DrawRectangle(Pen, R.X, R.Y, R.Width, R.Height); }
  void DrawRectangle(const IGPPen& Pen, Single X, Single Y, Single W, Single H);
  void DrawRectangle(const IGPPen& Pen, Integer X, Integer Y, Integer W, Integer H);
  void DrawEllipse(const IGPPen& Pen, const TGPRectF& R) { DrawEllipse(Pen, R.X, R.Y, R.Width, R.Height); }
  void DrawEllipse(const IGPPen& Pen, Single X, Single Y, Single W, Single H);
  void DrawEllipse(const IGPPen& Pen, const TGPRect& R) { DrawEllipse(Pen, R.X, R.Y, R.Width, R.Height); }
  void DrawEllipse(const IGPPen& Pen, Integer X, Integer Y, Integer W, Integer H);
  void DrawPolygon(const IGPPen& Pen, const std::vector<TGPPointF>& Points, Integer Count = -1);
  void DrawPolygon(const IGPPen& Pen, const std::vector<TGPPoint>& Points, Integer Count = -1);
  void DrawPath(const IGPPen& Pen, const IGPGraphicsPath& Path);
  void DrawCurve(const IGPPen& Pen, const std::vector<TGPPointF>& Points);
  void DrawCurve(const IGPPen& Pen, const std::vector<TGPPointF>& Points, Single Tension);
  void DrawCurve(const IGPPen& Pen, const std::vector<TGPPoint>& Points);
  void DrawCurve(const IGPPen& Pen, const std::vector<TGPPoint>& Points, Single Tension);
  void DrawClosedCurve(const IGPPen& Pen, const std::vector<TGPPointF>& Points);
  void DrawClosedCurve(const IGPPen& Pen, const std::vector<TGPPoint>& Points);
  // fills
  void Clear(TGPColor Color);
  void FillRectangle(const IGPBrush& Brush, const TGPRectF& R) { FillRectangle(Brush, R.X, R.Y, R.Width, R.Height); }
  void FillRectangle(const IGPBrush& Brush, const TGPRect& R) { FillRectangle(Brush, R.X, R.Y, R.Width, R.Height); }
  void FillRectangle(const IGPBrush& Brush, Single X, Single Y, Single W, Single H);
  void FillRectangle(const IGPBrush& Brush, Integer X, Integer Y, Integer W, Integer H);
  void FillPolygon(const IGPBrush& Brush, const std::vector<TGPPointF>& Points, Integer Count = -1,
                   TGPFillMode FillMode = FillModeAlternate);
  void FillPolygon(const IGPBrush& Brush, const std::vector<TGPPoint>& Points, Integer Count = -1,
                   TGPFillMode FillMode = FillModeAlternate);
  void FillEllipse(const IGPBrush& Brush, const TGPRectF& R) { FillEllipse(Brush, R.X, R.Y, R.Width, R.Height); }
  void FillEllipse(const IGPBrush& Brush, Single X, Single Y, Single W, Single H);
  void FillEllipse(const IGPBrush& Brush, const TGPRect& R) { FillEllipse(Brush, R.X, R.Y, R.Width, R.Height); }
  void FillEllipse(const IGPBrush& Brush, Integer X, Integer Y, Integer W, Integer H);
  void FillPie(const IGPBrush& Brush, Single X, Single Y, Single W, Single H, Single Start, Single Sweep);
  void FillPath(const IGPBrush& Brush, const IGPGraphicsPath& Path);
  void FillRegion(const IGPBrush& Brush, const IGPRegion& Region);
  // text
  void DrawString(const String& Text, const IGPFont& Font, const TGPPointF& Origin, const IGPBrush& Brush);
  void DrawString(const String& Text, const IGPFont& Font, const TGPRectF& LayoutRect,
                  const IGPStringFormat& Format, const IGPBrush& Brush);
  void DrawString(const String& Text, const IGPFont& Font, const TGPPointF& Origin,
                  const IGPStringFormat& Format, const IGPBrush& Brush);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& LayoutRect,
                     const IGPStringFormat& Format, TGPRectF& BoundingBox);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& LayoutRect,
                     const IGPStringFormat& Format, TGPRectF& BoundingBox, Integer& CodepointsFitted,
                     Integer& LinesFilled);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPSizeF& LayoutSize,
                     const IGPStringFormat& Format, TGPSizeF& Size);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPPointF& Origin,
                     const IGPStringFormat& Format, TGPRectF& BoundingBox);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& LayoutRect,
                     TGPRectF& BoundingBox);
  void MeasureString(const String& Text, const IGPFont& Font, const TGPPointF& Origin,
                     TGPRectF& BoundingBox);
  // images
  void DrawImage(const IGPImage& Image, Single X, Single Y);
  void DrawImage(const IGPImage& Image, Integer X, Integer Y);
  void DrawImage(const IGPImage& Image, const TGPRectF& R) { DrawImage(Image, R.X, R.Y, R.Width, R.Height); }
  void DrawImage(const IGPImage& Image, Single X, Single Y, Single W, Single H);
  void DrawImage(const IGPImage& Image, const TGPRect& R) { DrawImage(Image, R.X, R.Y, R.Width, R.Height); }
  void DrawImage(const IGPImage& Image, Integer X, Integer Y, Integer W, Integer H);
  // hit tests and state
  bool IsVisible(Integer X, Integer Y);
  bool IsVisible(Single X, Single Y);
  Cardinal Save();
  void Restore(Cardinal State);
};
