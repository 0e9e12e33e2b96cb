// The skin engine's alpha bitmap TspBitmap (a top-down 32-bit DIB section
// with its own memory DC) with its drawing and blending, the bitmap link, the
// colour conversions that need the platform, the stack blur and alpha-from-
// grey routines on bitmaps, the processor and system tests, and the unit's
// start-up and shut-down. The pixel work itself is skin/data/SpPixels.h,
// SpColors.h and SpBlur.h. Winelib only.
#pragma once

#include "classlib/Graphics.h"
#include "skin/data/SpBlur.h"
#include "skin/data/SpColors.h"
#include "skin/data/SpPixels.h"

class TspBitmapLink;

class TspBitmap : public TPersistent {
 public:
  TspBitmap();
  ~TspBitmap() override;

  // Absolute values; nothing when a side is 0 or the size is unchanged (the
  // pixels are then kept); new pixels are 0. A failure raises with the
  // bitmap left empty (Width and Height 0); a size beyond what memory can
  // hold raises before anything is allocated.
  void SetSize(Integer AWidth, Integer AHeight);
  bool Empty() const { return FHandle == nullptr; }
  void Clear(TspColor Color);

  void Assign(TPersistent* Source) override;
  // A TBitmap or a TPicture's bitmap becomes a pf32bit bitmap of this size
  // with this bitmap drawn on it (Draw onto its DC); the clipboard receives
  // the picture as it shows over white, opaque.
  void AssignTo(TPersistent* Dest) override;
  void SaveToStream(TStream* Stream);
  // A stream whose name length or pixel count exceeds what the stream holds
  // raises EReadError "Stream read error" with the bitmap unchanged.
  void LoadFromStream(TStream* Stream);
  // The bitmap resource ResName of the module file ResFileName (loaded as
  // data; the program's own module when the file cannot be loaded): a
  // 32-bit one with its alpha, others through the system's loader. Nothing
  // changes when there is no such resource.
  void LoadFromResource(const String& ResFileName, const String& ResName);
  // An 8-bit PCX image; a header of a wrong kind or inconsistent sizes
  // changes nothing.
  void LoadFromPcxStream(TStream* Stream);

  void CheckRGBA();
  void CheckRGBA2();
  void CheckingAlphaBlend();
  void CheckingAlphaBlend(const TRect& ARect);  // examines the whole bitmap too
  void CheckingTransparent(TspColor Color);
  void CheckingTransparent(const TRect& ARect, TspColor Color);  // the whole bitmap too
  void SetAlpha(Byte Alpha);
  void SetAlpha(Byte Alpha, const TRect& Rect);
  void FlipVert();
  void Reflection();
  void Reflection2();
  void Reflection3();

  TspColor* GetRowPtr(Integer Y) const { return FBits + Int64(Y) * FWidth; }
  TspColor* GetPixelPtr(Integer X, Integer Y) const { return FBits + X + Int64(Y) * FWidth; }
  TspColor GetPixel(Integer X, Integer Y) const;
  void SetPixel(Integer X, Integer Y, TspColor Value);

  // Colour adjustment of every pixel with alpha other than 0.
  void SetBitmapHue(Integer Hue);
  void ChangeBitmapHue(Integer DeltaHue);
  void ChangeBitmapSat(Integer DeltaSat);
  void ChangeBitmapBrightness(Integer DeltaBrightness);

  // ---- drawing (this bitmap is the source)
  void Draw(HDC DC, Integer X, Integer Y);
  void Draw(TCanvas* Canvas, Integer X, Integer Y);
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y);
  void Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(HDC DC, const TRect& DstRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect);
  void Draw(TspBitmap* Bitmap, const TRect& DstRect);
  void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  // Bitmap's pixels put under this bitmap's pixels.
  void MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
  void FillRect(const TRect& R, TspColor Color);
  void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);

  // A new link to a rectangle of this bitmap (owned by the caller).
  TspBitmapLink* GetBitmapLink(const TRect& Rect);
  TspBitmapLink* GetBitmapLink(const String& Rect);

  // The canvas-style operations of the interface draw nothing; the text
  // measurements give 0.
  void FillRoundRect(const TRect&, Integer, TspColor) {}
  void FillHalftoneRect(const TRect&, TspColor, TspColor) {}
  void FillGradientRect(const TRect&, TspColor, TspColor, bool) {}
  void FillRadialGradientRect(const TRect&, TspColor, TspColor, const TPoint&) {}
  void FillEllipse(const TRect&, TspColor) {}
  void FillPolygon(const TPoint*, Integer, TspColor) {}
  void FillHalftonePolygon(const TPoint*, Integer, TspColor, TspColor) {}
  void DrawEdge(const TRect&, TspColor, TspColor) {}
  void DrawBevel(const TRect&, TspColor, Integer, bool) {}
  void DrawRect(const TRect&, TspColor) {}
  void DrawFocusRect(const TRect&, TspColor) {}
  void DrawRoundRect(const TRect&, Integer, TspColor) {}
  void DrawLine(const TRect&, TspColor) {}
  void DrawEllipse(const TRect&, TspColor) {}
  void DrawPolygon(const TPoint*, Integer, TspColor) {}
  void MoveTo(Integer, Integer) {}
  void LineTo(Integer, Integer, TspColor) {}
  void DrawText(const WideString&, TRect&, Cardinal) {}
  void DrawText(const WideString&, Integer, Integer) {}
  void DrawVerticalText(const WideString&, TRect&, Cardinal, bool) {}
  Integer TextWidth(const WideString&, Cardinal) { return 0; }
  Integer TextHeight(const WideString&) { return 0; }

  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  TCanvas* Canvas();
  PspColorArray Bits() const { return FBits; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  bool NewFormat() const { return FNewFormat; }
  void SetNewFormat(bool Value) { FNewFormat = Value; }

  // The pixels as a surface for the pixel routines.
  TspSurface Surface() const { return TopDownSurface(FBits, Empty() ? 0 : FWidth, Empty() ? 0 : FHeight); }
  Int64 PixelCount() const { return Empty() ? 0 : Int64(FWidth) * FHeight; }

 private:
  void FreeSection();
  TspTransferMode Mode() const { return FAlphaBlend ? tmBlend : FTransparent ? tmKeyed : tmOpaque; }
  void BlendToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void KeyToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void StretchToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  // Steps 2 to 4 of drawing onto a DC (no bitmap DC lookup).
  void DrawToForeignDC(HDC DC, const TRect& DstRect, const TRect& SrcRect);

  PspColorArray FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  String FName;
  BITMAPINFO FBitmapInfo{};
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  TCanvas* FCanvas = nullptr;
  bool FAlphaBlend = false;
  bool FTransparent = false;
  bool FNewFormat = false;
};

// The listed bitmap whose memory DC is DC, or nullptr.
TspBitmap* FindBitmapByDC(HDC DC);

// A named rectangle of a TspBitmap (the image is referenced, never owned).
class TspBitmapLink : public TPersistent {
 public:
  TspBitmapLink() = default;
  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void CheckingMasked();
  void CheckingMasked(const TRect& Margin);
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y);
  void Draw(TCanvas* Canvas, Integer X, Integer Y);

  TspBitmap* Image() const { return FImage; }
  void SetImage(TspBitmap* Value) { FImage = Value; }
  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& Value) { FRect = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  Integer Left() const { return FRect.Left; }
  Integer Top() const { return FRect.Top; }
  Integer Right() const { return FRect.Right; }
  Integer Bottom() const { return FRect.Bottom; }
  void SetLeft(Integer V) { FRect.Left = V; }
  void SetTop(Integer V) { FRect.Top = V; }
  void SetRight(Integer V) { FRect.Right = V; }
  void SetBottom(Integer V) { FRect.Bottom = V; }
  bool Masked() const { return FMasked; }
  bool MaskedBorder() const { return FMaskedBorder; }
  bool MaskedAngles() const { return FMaskedAngles; }
  // An image is set and the rectangle has a positive area.
  bool Assigned() const;

 private:
  TspBitmap* FImage = nullptr;
  TRect FRect;
  String FName;
  bool FMaskedBorder = false;
  bool FMaskedAngles = false;
  bool FMasked = false;
};

// Four integers separated by blanks, "(", ")", ",", ":", ";" or "="; any
// word that is not an integer gives (0, 0, 0, 0).
TRect ParseRectString(String S);

// ---- colours
// A TColor (system colours resolved) as a TspColor with Alpha.
TspColor ColorToSpColor(TColor Color, Byte Alpha);

// ---- blur and alpha
void StackBlurBitmap(TspBitmap* Bitmap, Integer Radius);
// Over the area both bitmaps have.
void AlphaFromGrayBitmap(TspBitmap* Bitmap, TspBitmap* Mask);
void AlphaFromGrayBitmapChecked(TspBitmap* Bitmap, TspBitmap* Mask);

// ---- processor and system tests, start-up
extern bool MMXAvailable;
bool CheckMMX();
// The blending routines use no processor state that needs clearing.
inline void EmptyMMXState() {}
Integer ScreenBitsPerPixel();
bool IsTrueColorScreen();
bool CheckWindowsVersion();
void InitAlphaBlendFunctions();
bool AlphaBlendApiLoaded();
void InitPixelRoutines();
void InitDrawRoutines();
// msimg32's entry points (nullptr until loaded).
using TTransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
using TAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
extern TTransparentBltProc spTransparentBlt;
extern TAlphaBlendProc spAlphaBlend;

// The name field of the bitmap streams: a 32-bit count, then one byte per
// character (Latin-1; "?" for characters beyond it).
String ReadSkinString(TStream* Stream);
void WriteSkinString(TStream* Stream, const String& S);

// The bitmap unit's start-up (CheckMMX, msimg32, the pixel and drawing
// routines, in this order) and shut-down (msimg32 freed, then the list of
// live bitmaps). Called once by the program block and by test programs.
void InitializeSpBitmapUnit();
void FinalizeSpBitmapUnit();
