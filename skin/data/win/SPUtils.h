// The skin engine's drawing toolkit: the image builders that compose control
// images out of skin pictures, masks and window regions, the drawing helpers
// (glyph and caption layout, wide text, default marks and glyphs, the parent
// background under a control, rectangle and version questions, screen and
// monitor areas), the layered windows and glow texts, and the toolkit's
// start-up with the desktop-composition routines. Winelib only; the
// arithmetic lives in the portable skin/data/SpImagePlan.h, SpRegions.h and
// SpLayout.h.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/SpImagePlan.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SpBitmap.h"

// ---------------------------------------------------------------------------
// Image builders. Callers own every bitmap they pass.

// How the builders lay tiles (tlDoubling unless a test compares the two).
extern TspTiling SkinBuilderTiling;

void CreateNineSliceImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                          TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                          TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                          Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                          bool BottomStretch, bool StretchEffect, TspStretchType StretchType);
void CreateNineSliceWindowImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                                TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                                TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                                Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                                bool RightStretch, bool BottomStretch, bool StretchEffect,
                                TspStretchType StretchType);
void CreateClientStretchImage(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect, bool DrawClient);
void CreateHorzThreeSliceImage(Integer LeftOffset, Integer RightOffset, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, Integer NewWidth, Integer NewHeight, bool Stretch);
void CreateVertThreeSliceImage(Integer TopOffset, Integer BottomOffset, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, Integer NewWidth, Integer NewHeight, bool Stretch);
void CreateBorderStripImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                             TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                             TRect NewClRect, TBitmap* Mask, TBitmap* TopImage, TBitmap* LeftImage,
                             TBitmap* RightImage, TBitmap* BottomImage, Integer NewWidth, Integer NewHeight);
void CreateBorderStripImagesEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                               TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                               TRect NewClRect, TBitmap* LeftImage, TBitmap* TopImage, TBitmap* RightImage,
                               TBitmap* BottomImage, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                               Integer NewHeight, bool LeftStretch, bool TopStretch, bool RightStretch,
                               bool BottomStretch);

// Runs a builder plan: picture operations read Source's canvas, the others
// work on Dest's canvas.
void ExecuteImagePlan(const TspPlan& Plan, TCanvas* Dest, TCanvas* Source);

// ---------------------------------------------------------------------------
// Masks and regions

// A 24-bit top-down DIB-section copy of a bitmap with a row table.
class TFBitmap : public TObject {
 public:
  explicit TFBitmap(HBITMAP HBmp);
  ~TFBitmap() override;
  Byte* Bits = nullptr;
  std::vector<Byte*> Pixels;  // entry y: row y
  Integer Gap = 0;            // Width mod 4
  Integer RowInc = 0;         // Width * 3 + Gap
  Integer Size = 0;           // RowInc * Height
  Integer Width = 0, Height = 0;
  HBITMAP Handle = nullptr;
  HDC hDC = nullptr;
  BITMAPINFO bmInfo{};
  BITMAPINFOHEADER bmHeader{};

 private:
  void PrepareRows();
};

// Region data of the mask's black runs moved by the offset, allocated into
// Data (free it with FreeRegionData); its size in bytes, or 0 (Data not
// assigned) for an empty mask. A mask without black pixels gives a 32-byte
// block of no rectangles.
Integer BuildMaskRegionData(TBitmap* Mask, Integer XOffset, Integer YOffset, void*& Data);
void FreeRegionData(void* Data);
// The region of region data (the rectangles' union), built from merged runs
// in chunks united pairwise: the platform's constructor unites rectangle by
// rectangle at a cost that grows with the square of their count. 0 for data
// that is not region data.
HRGN CreateRegionFromData(const void* Data, Integer Size);
void CreateMaskRegion(HRGN& Rgn, TBitmap* Mask);
void CreateSkinFrameRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClRect, TBitmap* Mask, Integer NewWidth, Integer NewHeight);

// ---------------------------------------------------------------------------
// Drawing helpers

void DrawImageAndText(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                      const String& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool ButtonDown,
                      bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue);
void DrawGlyphAndText(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                      const String& Caption, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum, bool ButtonDown,
                      bool DrawColorMarker, TColor ColorMarkerValue);
void DrawStripGlyph(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum);

Integer DrawWideText(TCanvas* Canvas, const WideString& S, TRect& R, UINT Flags);
Integer WideTextWidth(TCanvas* Canvas, const WideString& S);
Integer WideTextHeight(TCanvas* Canvas, const WideString& S);
void EllipsizeWideText(TCanvas* Canvas, WideString& S, Integer MaxWidth);
void DrawVCenteredText(TCanvas* Canvas, const String& S, TRect R);
void DrawClippedText(TCanvas* Canvas, const String& S, TRect R);
void DrawClippedTextIndent(TCanvas* Canvas, const String& S, TRect R, Integer Indent);

TColor AverageColor(TColor C1, TColor C2);
void DrawDottedFocusRect(TCanvas* Canvas, TRect R);
void DrawDropDownMark(TCanvas* Canvas, TRect R, TColor Color);
void DrawDirectionArrow(TCanvas* Canvas, TRect R, TColor Color, Integer Direction);
void DrawRadioDot(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeToTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

// Paints into Canvas (the control's own surface) what lies under Control on
// its parent: the parent's background, then the parent's visible graphic
// controls before Control in z-order that overlap it.
void PaintParentBackground(TControl* Control, TCanvas* Canvas);
// The same for a surface that shows only the part R of the control.
void PaintParentBackgroundOffset(TControl* Control, TRect R, TCanvas* Canvas);
// A parent that paints its own background for PaintParentBackground (the
// skinned tab control registers one): true when it painted Parent's.
using TspParentBackgroundPainter = bool (*)(TWinControl* Parent, HDC DC);
void SetParentBackgroundPainter(TspParentBackgroundPainter Painter);

void GetWindowsVersion(Integer& Major, Integer& Minor);
bool IsWindows7();
bool IsVistaOrLater();
bool IsXPOrLater();
bool IsWin2000OrLater();
void LoadJpegToBitmap(TBitmap* Bitmap, const String& FileName);
void CopyScreenArea(Integer X, Integer Y, TBitmap* Bitmap);
bool HasMultipleMonitors();
void GetScreenArea(bool WorkArea, TRect& R);
void GetMonitorArea(HWND Wnd, bool WorkArea, TRect& R);

// ---------------------------------------------------------------------------
// Layered windows and glow

// A borderless pop-up tool window that never takes activation and lets the
// mouse through.
class TspLayerWindow : public TCustomControl {
 public:
  explicit TspLayerWindow(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// One layer window showing one picture, faded in.
class TspLayerManager : public TComponent {
 public:
  explicit TspLayerManager(TComponent* AOwner);
  ~TspLayerManager() override;
  // AImage at screen point (X, Y), per-pixel alpha from AImageMask's grey,
  // fading in to AAlphaBlendValue.
  void Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue);
  void Hide();
  void Update();
  void StartTimer();
  void StopTimer();
  // One fade step (the timer's handler).
  void TimerStep(TObject* Sender = nullptr);

  TspLayerWindow* LayerWindow() const { return FLayerWindow; }
  TspBitmap* Bmp() const { return FBmp; }
  TTimer* Timer() const { return FTimer; }
  Integer EndAlphaBlendValue() const { return FEndAlphaBlendValue; }
  Integer BeginAlphaBlendValue() const { return FBeginAlphaBlendValue; }
  Integer StepAlphaBlendValue() const { return FStepAlphaBlendValue; }
  bool IsVisible() const { return FIsVisible; }
  bool TopMostMode() const { return FTopMostMode; }
  void SetTopMostMode(bool Value) { FTopMostMode = Value; }

 private:
  TspLayerWindow* FLayerWindow = nullptr;
  TspBitmap* FBmp = nullptr;
  TTimer* FTimer = nullptr;
  Integer FEndAlphaBlendValue = 0;
  Integer FBeginAlphaBlendValue = 0;
  Integer FStepAlphaBlendValue = 0;
  bool FIsVisible = false;
  bool FTopMostMode = true;
};

void UpdateLayeredControl(TspBitmap* Bmp, Byte Alpha, TWinControl* Control);
void SetWindowAlphaValue(HWND Wnd, Byte Alpha);
void BuildAlphaBitmapFromMask(TBitmap* AImage, TBitmap* AImageMask, TspBitmap* Target);

// Glow radii and margins come from skins: they are limited to the blur's
// largest radius (negative ones count as 0).
Integer DrawGlowText(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, Integer Offset, TColor GlowColor,
                     Integer GlowSize);
Integer DrawGlowTextBold(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, Integer Offset, TColor GlowColor,
                         Integer GlowSize);
Integer DrawVistaGlowText(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, TColor GlowColor);
Integer DrawVistaGlowTextNarrow(TCanvas* Canvas, TRect R, const WideString& Text, UINT Flags, TColor GlowColor);
Integer DrawReflectionText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, Integer Offset,
                           TColor ReflectionColor);
void DrawImageAndTextGlow(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                          const String& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool ButtonDown,
                          bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue, TColor GlowColor,
                          Integer GlowSize);
void DrawGlyphSilhouette(TspBitmap* Target, TCustomImageList* ImageList, Integer Index, Integer Offset);

// ---------------------------------------------------------------------------
// Start-up and desktop composition

// The entry points looked up at start-up (nullptr when the system lacks one).
using TMonitorFromWindowProc = HMONITOR(WINAPI*)(HWND, DWORD);
using TGetMonitorInfoAProc = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
using TSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                               DWORD);
using TDwmIsCompositionEnabledProc = HRESULT(WINAPI*)(BOOL*);
using TDwmSetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
struct TspDwmBlurBehind {
  DWORD dwFlags;
  BOOL fEnable;
  HRGN hRgnBlur;
  BOOL fTransitionOnMaximized;
};
using TDwmEnableBlurBehindWindowProc = HRESULT(WINAPI*)(HWND, const TspDwmBlurBehind*);

extern TMonitorFromWindowProc spMonitorFromWindow;
extern TGetMonitorInfoAProc spGetMonitorInfoA;
extern TSetLayeredWindowAttributesProc spSetLayeredWindowAttributes;
extern TUpdateLayeredWindowProc spUpdateLayeredWindow;
extern HMODULE spDwmLibrary;
extern TDwmIsCompositionEnabledProc spDwmIsCompositionEnabled;
extern TDwmSetWindowAttributeProc spDwmSetWindowAttribute;
extern TDwmEnableBlurBehindWindowProc spDwmEnableBlurBehindWindow;
// True on the NT platform (DrawWideText then draws the wide text as it is).
extern bool spIsNTPlatform;

void InitializeSPUtils();
void FinalizeSPUtils();
void LoadDwmApi();
bool IsDwmCompositionOn();
void SetDwmTransitions(HWND Wnd, bool Enabled);
void EnableDwmBlurBehind(HWND Wnd, bool Enable, HRGN Rgn);
