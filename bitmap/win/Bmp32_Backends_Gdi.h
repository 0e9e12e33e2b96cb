// TGDIBackend: a bitmap's pixels in a 32-bit top-down DIB section selected
// into its own memory DC, with a canvas, a font and GDI text output. The DC
// and the DIB section exist exactly while the bitmap is not empty and are made
// anew on every resize. Winelib only.
#pragma once

#include "bitmap/win/Bmp32_Backends.h"

class TGDIBackend : public TCustomBackend,
                    public ICanvasSupport,
                    public IFontSupport,
                    public ITextSupport,
                    public IDeviceContextSupport,
                    public IBitmapContextSupport,
                    public IPaintSupport {
 public:
  explicit TGDIBackend(TCustomBitmap32* Owner = nullptr);
  ~TGDIBackend() override;

  bool QueryInterface(TInterfaceID IID, void*& Obj) override;
  bool Empty() const override { return FBitmapHandle == nullptr; }
  void Changed() override;

  // ICanvasSupport
  const TNotifyEvent& GetCanvasChange() override { return FOnCanvasChange; }
  void SetCanvasChange(TNotifyEvent Handler) override { FOnCanvasChange = std::move(Handler); }
  TCanvas* GetCanvas() override;
  void DeleteCanvas() override;
  bool CanvasAllocated() override { return FCanvas != nullptr; }

  // IFontSupport
  const TNotifyEvent& GetOnFontChange() override { return FOnFontChange; }
  void SetOnFontChange(TNotifyEvent Handler) override { FOnFontChange = std::move(Handler); }
  TFont* GetFont() override { return FFont; }
  void SetFont(TFont* Font) override;
  void UpdateFont() override;

  // ITextSupport
  using ITextSupport::TextoutW;
  void Textout(Integer X, Integer Y, const String& Text) override;
  void Textout(Integer X, Integer Y, const TRect& ClipRect, const String& Text) override;
  void Textout(TRect& DstRect, Cardinal Flags, const String& Text) override;
  SIZE TextExtent(const String& Text) override;

  // IDeviceContextSupport
  HDC GetHandle() override { return FHDC; }
  void Draw(const TRect& DstRect, const TRect& SrcRect, HDC hSrc) override;
  void DrawTo(HDC hDst, Integer DstX, Integer DstY) override;
  void DrawTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect) override;

  // IBitmapContextSupport
  BITMAPINFO GetBitmapInfo() override { return FBitmapInfo; }
  HBITMAP GetBitmapHandle() override { return FBitmapHandle; }

  // IPaintSupport
  void ImageNeeded() override {}
  void CheckPixmap() override {}
  void DoPaint(TBitmap32* ABuffer, const TRectList* AInvalidRects, TCanvas* ACanvas, const TRect& Viewport) override;

 protected:
  void AllocateSurface(Integer NewWidth, Integer NewHeight, bool ClearBuffer) override;
  void ReleaseSurface() override;
  virtual void PrepareSurfaceMapping(Integer NewWidth, Integer NewHeight) {
    (void)NewWidth;
    (void)NewHeight;
  }
  void FontChanged(TObject* Sender);

  BITMAPINFO FBitmapInfo{};
  HBITMAP FBitmapHandle = nullptr;
  HDC FHDC = nullptr;
  TFont* FFont = nullptr;
  TCanvas* FCanvas = nullptr;
  HFONT FFontHandle = nullptr;
  HANDLE FMapHandle = nullptr;
  TNotifyEvent FOnFontChange;
  TNotifyEvent FOnCanvasChange;
};

// Rebuilds Font's handle with the given LOGFONT quality (0 default,
// 3 non-antialiased, 4 antialiased); the face "Default" becomes "MS Sans Serif".
void SetFontQuality(TFont* Font, Byte Quality);
