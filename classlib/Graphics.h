// The class library's graphics over Win32 GDI: colours, fonts, pens, brushes,
// the canvas, graphics (bitmaps, icons, metafiles) and pictures.
//
// Wine does every piece of drawing: each canvas operation is one GDI call on
// the canvas's device context, and the pixels are GDI's. Winelib only.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

#include "classlib/UITypes.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

class TCanvas;
class TBitmap;
class TGraphic;

// ---------------------------------------------------------------------------
// Errors

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

// ---------------------------------------------------------------------------
// Colours (TColor, TColorSys: classlib/UITypes.h).

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clScrollBar = TColorSys(0);
inline constexpr TColor clBackground = TColorSys(1);
inline constexpr TColor clActiveCaption = TColorSys(2);
inline constexpr TColor clInactiveCaption = TColorSys(3);
inline constexpr TColor clMenu = TColorSys(4);
inline constexpr TColor clWindow = TColorSys(5);
inline constexpr TColor clWindowFrame = TColorSys(6);
inline constexpr TColor clMenuText = TColorSys(7);
inline constexpr TColor clWindowText = TColorSys(8);
inline constexpr TColor clCaptionText = TColorSys(9);
inline constexpr TColor clActiveBorder = TColorSys(10);
inline constexpr TColor clInactiveBorder = TColorSys(11);
inline constexpr TColor clAppWorkSpace = TColorSys(12);
inline constexpr TColor clHighlight = TColorSys(13);
inline constexpr TColor clHighlightText = TColorSys(14);
inline constexpr TColor clBtnFace = TColorSys(15);
inline constexpr TColor clBtnShadow = TColorSys(16);
inline constexpr TColor clGrayText = TColorSys(17);
inline constexpr TColor clBtnText = TColorSys(18);
inline constexpr TColor clInactiveCaptionText = TColorSys(19);
inline constexpr TColor clBtnHighlight = TColorSys(20);
inline constexpr TColor cl3DDkShadow = TColorSys(21);
inline constexpr TColor cl3DLight = TColorSys(22);
inline constexpr TColor clInfoText = TColorSys(23);
inline constexpr TColor clInfoBk = TColorSys(24);
inline constexpr TColor clHotLight = TColorSys(26);
inline constexpr TColor clGradientActiveCaption = TColorSys(27);
inline constexpr TColor clGradientInactiveCaption = TColorSys(28);
inline constexpr TColor clMenuHighlight = TColorSys(29);
inline constexpr TColor clMenuBar = TColorSys(30);

// A system colour becomes GetSysColor of its index; other colours keep their
// low 24 bits (clNone and clDefault included: black-ish values as GDI sees them).
Integer ColorToRGB(TColor Color);

// ---------------------------------------------------------------------------
// Graphics objects: fonts, pens and brushes. Each owns its GDI handle, made
// on demand and remade after a change; OnChange fires BEFORE the old handle is
// deleted, so listeners can select it out of their device contexts first.

class TGraphicsObject : public TPersistent {
 public:
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  // The owner's lock, taken around handle creation (nullptr: none).
  void SetOwnerCriticalSection(std::recursive_mutex* Lock) { FOwnerLock = Lock; }
  void Lock() {
    if (FOwnerLock) FOwnerLock->lock();
  }
  void Unlock() {
    if (FOwnerLock) FOwnerLock->unlock();
  }
  // True while Handle has been made and not yet replaced.
  bool HandleAllocated() const { return FHandle != nullptr; }
  ~TGraphicsObject() override;

 protected:
  virtual void Changed();
  // Fires OnChange with the handle forgotten, then deletes the old one.
  void ReleaseHandle();
  HGDIOBJ FHandle = nullptr;
  TNotifyEvent FOnChange;
  std::recursive_mutex* FOwnerLock = nullptr;
};

// TFontStyle, TFontStyles, TFontCharset: classlib/UITypes.h.
enum TFontPitch : Byte { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  // Takes ownership of Value; the attributes are read back from it.
  void SetHandle(HFONT Value);

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  // Height < 0: em height in pixels; > 0: cell height (internal leading included).
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  // Points at 96 DPI: -Height * 72 / 96, rounded.
  Integer Size() const;
  void SetSize(Integer Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Tenths of a degree.
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer Value);
  // The LOGFONT quality the handle is made with (0 default).
  Byte Quality() const { return FQuality; }

  static constexpr Integer PixelsPerInch = 96;

 private:
  String FName = u"MS Sans Serif";
  Integer FHeight = -11;  // 8 points
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FOrientation = 0;
  Byte FQuality = 0;
};

enum TPenStyle : Byte { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : Byte {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  ~TPen() override;
  void Assign(TPersistent* Source) override;
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  // The GDI raster operation (R2_xxx) of Mode.
  Integer Rop2() const;

 private:
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle : Byte { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(TPersistent* Source) override;
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush from a bitmap (not owned; the caller keeps it alive while
  // the brush is used). nullptr goes back to Color and Style.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------------------
// TCanvas

using TCopyMode = Cardinal;  // a ternary raster operation
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context: made on demand by canvases that own one (a bitmap's);
  // a plain canvas draws on whatever DC is set. The pen, brush and font are
  // selected into it (and the background mode follows the brush) before it is
  // handed out. Raises EInvalidOperation
  // "Canvas does not allow drawing" when there is none.
  HDC Handle();
  // Points the canvas at another DC (0: none). The old DC gets the stock
  // objects back; pen, brush and font are selected into the new one on use.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  void Lock();
  void Unlock();
  bool TryLock();
  Integer LockCount() const { return FLockCount; }

  TPen* Pen() const { return FPen; }
  TBrush* Brush() const { return FBrush; }
  TFont* Font() const { return FFont; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(const TPoint& Value) { MoveTo(Value.X, Value.Y); }
  TRect ClipRect();

  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);
  void Polyline(const TPoint* Points, Integer Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), Integer(Points.size())); }
  void Polygon(const TPoint* Points, Integer Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), Integer(Points.size())); }
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);

  // Text: the background follows the brush (filled with Brush.Color unless
  // Brush.Style is bsClear). TextOut moves the pen to the end of the text.
  void TextOut(Integer X, Integer Y, const String& Text);
  void TextRect(const TRect& R, Integer X, Integer Y, const String& Text);
  SIZE TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // GDI's colour of the pixel (-1, i.e. CLR_INVALID, outside the clip region).
  TColor Pixels(Integer X, Integer Y);
  void SetPixels(Integer X, Integer Y, TColor Value);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  const TNotifyEvent& OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

  // Fire OnChanging / OnChange; every drawing call is bracketed by them.
  virtual void Changing();
  virtual void Changed();

 protected:
  enum : Byte { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  virtual void CreateHandle() {}
  // Makes sure of the handle and selects the asked-for objects.
  void RequiredState(Byte ReqState);
  void DeselectHandles();

  HDC FHandle = nullptr;
  Byte FState = 0;
  TPen* FPen;
  TBrush* FBrush;
  TFont* FFont;
  TCopyMode FCopyMode = cmSrcCopy;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};

// ---------------------------------------------------------------------------
// TGraphic

class TGraphic : public TPersistent {
 public:
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) { SetSize(Value, Height()); }
  virtual void SetHeight(Integer Value) { SetSize(Width(), Value); }
  virtual void SetSize(Integer AWidth, Integer AHeight);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE Palette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // Draws into Rect of the canvas (called by TCanvas.Draw / StretchDraw).
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);
  // A new empty graphic of the same class.
  virtual TGraphic* NewInstance() const = 0;

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  virtual void Changed(TObject* Sender = nullptr);

 protected:
  bool FTransparent = false;
  bool FModified = false;
  TNotifyEvent FOnChange;
  friend class TCanvas;
};

using TGraphicClass = TGraphic* (*)();

// ---------------------------------------------------------------------------
// TBitmap

enum TPixelFormat : Byte { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType : Byte { bmDIB, bmDDB };
enum TTransparentMode : Byte { tmAuto, tmFixed };

// The canvas of a bitmap: its DC is made on first use with the bitmap selected
// (and COLORONCOLOR as stretch mode) and dropped whenever the bitmap's handle
// is replaced.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override;
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* FBitmap;
  HBITMAP FOldBitmap = nullptr;
  HPALETTE FOldPalette = nullptr;
};

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(Integer AWidth, Integer AHeight);
  ~TBitmap() override;
  TGraphic* NewInstance() const override { return new TBitmap(); }

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // Keeps the pixels at the top left; new area is white.
  void SetSize(Integer AWidth, Integer AHeight) override;

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels: GDI maps colours (nearest, no dithering). Palettes:
  // black/white (1 bit), the 16 VGA colours (4), the halftone palette (8);
  // pf15bit is 5-5-5 BI_RGB, pf16bit 5-6-5 BI_BITFIELDS.
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType HandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType Value);

  // The HBITMAP (owned). Empty bitmaps have none.
  HBITMAP Handle();
  // Takes ownership of a DIB section or a device bitmap.
  void SetHandle(HBITMAP Value);
  // Hands the HBITMAP to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // A palette made from the colour table (owned; 0 for bitmaps without one).
  HPALETTE Palette() override;
  // Copies the palette's entries into the colour table.
  void SetPalette(HPALETTE Value) override;

  // Row Y of the DIB (converting a device bitmap to a DIB first). Rows are
  // 4-byte aligned, bottom-up: Bits + (Height - 1 - Y) * stride.
  void* ScanLine(Integer Y);
  TCanvas* Canvas();
  bool CanvasAllocated() const { return FCanvas != nullptr; }

  // Transparent drawing keys out TransparentColor (RGB only, TransparentBlt);
  // tmAuto takes the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // Windows BMP: 1, 4, 8 bits with colour tables, 16 bits (BI_RGB 5-5-5 or
  // BI_BITFIELDS), 24 and 32 bits, top-down or bottom-up, any header of 40
  // bytes or more (12-byte OS/2 headers too). Consumes exactly the file's
  // bfSize bytes (so bitmaps stored back to back load one after another).
  // Invalid or truncated data raises EInvalidGraphic "Bitmap image is not
  // valid" and leaves the bitmap as it was.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
  void Dormant() {}
  void FreeImage() {}

 private:
  friend class TBitmapCanvas;
  void FreeHandle();
  void ReplaceHandle(HBITMAP NewHandle, TPixelFormat NewFormat, TBitmapHandleType NewType, Integer W, Integer H);
  // Makes an empty image of the current format at the current size.
  void NewImage(TPixelFormat Format, Integer W, Integer H, HBITMAP& Out, TBitmapHandleType& OutType);
  void CanvasChanging(TObject*);
  void CanvasChanged(TObject*);

  HBITMAP FHandle = nullptr;
  HPALETTE FPalette = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TBitmapHandleType FHandleType = bmDDB;
  TBitmapCanvas* FCanvas = nullptr;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// ---------------------------------------------------------------------------
// TIcon

class TIcon : public TGraphic {
 public:
  TIcon() = default;
  ~TIcon() override;
  TGraphic* NewInstance() const override { return new TIcon(); }
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetSize(Integer, Integer) override {}
  HICON Handle() const { return FHandle; }
  // Takes ownership of Value.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // An .ico file: its first image. EInvalidGraphic "Icon image is not valid".
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  HICON FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TBytes FData;  // the .ico file it came from, for saving
};

// ---------------------------------------------------------------------------
// TMetafile (enhanced metafiles; drawing by PlayEnhMetaFile)

class TMetafile : public TGraphic {
 public:
  TMetafile() = default;
  ~TMetafile() override;
  TGraphic* NewInstance() const override { return new TMetafile(); }
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetSize(Integer AWidth, Integer AHeight) override;
  HENHMETAFILE Handle() const { return FHandle; }
  // Takes ownership; the size is the frame's at 96 DPI.
  void SetHandle(HENHMETAFILE Value);
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  HENHMETAFILE FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
};

// ---------------------------------------------------------------------------
// TPicture

class TPicture : public TPersistent {
 public:
  TPicture() = default;
  ~TPicture() override;
  // nil, a TPicture or a TGraphic (copied into a new graphic of its class).
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic; }
  // Copies Value into a new graphic of the same class (nullptr clears).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap: replaces any other graphic with a new empty TBitmap.
  TBitmap* Bitmap();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // By the registered extension, without case. An unknown extension raises
  // EInvalidGraphic "Unknown picture file extension (.ext)".
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  // Extension without the dot ("jpg"); a later registration of the same
  // extension replaces the earlier one.
  static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass);
  // The class registered for an extension (without dot, any case), or nullptr.
  static TGraphicClass FileFormatClass(const String& Extension);

 private:
  void SetOwnedGraphic(TGraphic* G);
  void Changed(TObject* Sender);
  TGraphic* FGraphic = nullptr;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Helpers shared by the graphics units

// A screen-compatible memory DC (with COLORONCOLOR), freed by the destructor.
class TMemoryDC {
 public:
  TMemoryDC();
  ~TMemoryDC();
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC DC() const { return FDC; }
  void Select(HGDIOBJ Obj);

 private:
  HDC FDC;
  HGDIOBJ FOld = nullptr;
};

// The header of a top-down 32-bit BI_RGB bitmap of Width x Height.
BITMAPINFO TopDownInfo32(Integer Width, Integer Height);
// A top-down 32-bit BI_RGB DIB section (bytes B, G, R, A).
HBITMAP CreateDIB32(Integer Width, Integer Height, void** Bits);

// Draws straight (non-premultiplied) BGRA pixels, top-down, Width x Height,
// into Rect of the DC, composed over what the DC holds (AlphaBlend).
void DrawBGRAOver(HDC DC, const TRect& Rect, const Byte* Pixels, Integer Width, Integer Height);

// The pixels of a class-library bitmap as B, G, R, A bytes, top-down. 32-bit
// DIBs give their bytes as they are; other formats have alpha 255.
void GetBitmapBGRA(TBitmap* Bitmap, std::vector<Byte>& Pixels);

// Copies B, G, R, A pixels (top-down) into Rect of the DC (StretchDIBits).
void DrawBGRA(HDC DC, const TRect& Rect, const Byte* Pixels, Integer Width, Integer Height);
