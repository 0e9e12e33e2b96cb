// The backend feature interfaces: what a bitmap's backend can offer beyond
// plain pixel memory. A bitmap reaches platform features only through them
// (QueryInterface with the IID_ tags below). Winelib only.
#pragma once

#include "bitmap/Bmp32.h"
#include "classlib/Graphics.h"

class TBitmap32;

// Interface tags: the address of each is the identifier.
inline const char ICanvasSupportTag = 0;
inline const char IFontSupportTag = 0;
inline const char ITextSupportTag = 0;
inline const char IDeviceContextSupportTag = 0;
inline const char IBitmapContextSupportTag = 0;
inline const char IPaintSupportTag = 0;
inline constexpr TInterfaceID IID_ICanvasSupport = &ICanvasSupportTag;
inline constexpr TInterfaceID IID_IFontSupport = &IFontSupportTag;
inline constexpr TInterfaceID IID_ITextSupport = &ITextSupportTag;
inline constexpr TInterfaceID IID_IDeviceContextSupport = &IDeviceContextSupportTag;
inline constexpr TInterfaceID IID_IBitmapContextSupport = &IBitmapContextSupportTag;
inline constexpr TInterfaceID IID_IPaintSupport = &IPaintSupportTag;

class ICanvasSupport {
 public:
  virtual const TNotifyEvent& GetCanvasChange() = 0;
  virtual void SetCanvasChange(TNotifyEvent Handler) = 0;
  virtual TCanvas* GetCanvas() = 0;
  virtual void DeleteCanvas() = 0;
  virtual bool CanvasAllocated() = 0;

 protected:
  ~ICanvasSupport() = default;
};

class IFontSupport {
 public:
  virtual const TNotifyEvent& GetOnFontChange() = 0;
  virtual void SetOnFontChange(TNotifyEvent Handler) = 0;
  virtual TFont* GetFont() = 0;
  virtual void SetFont(TFont* Font) = 0;
  virtual void UpdateFont() = 0;

 protected:
  ~IFontSupport() = default;
};

// The string and wide forms are one implementation (String is UTF-16).
class ITextSupport {
 public:
  virtual void Textout(Integer X, Integer Y, const String& Text) = 0;
  virtual void Textout(Integer X, Integer Y, const TRect& ClipRect, const String& Text) = 0;
  virtual void Textout(TRect& DstRect, Cardinal Flags, const String& Text) = 0;
  virtual SIZE TextExtent(const String& Text) = 0;
  void TextoutW(Integer X, Integer Y, const String& Text) { Textout(X, Y, Text); }
  void TextoutW(Integer X, Integer Y, const TRect& ClipRect, const String& Text) { Textout(X, Y, ClipRect, Text); }
  void TextoutW(TRect& DstRect, Cardinal Flags, const String& Text) { Textout(DstRect, Flags, Text); }
  SIZE TextExtentW(const String& Text) { return TextExtent(Text); }

 protected:
  ~ITextSupport() = default;
};

class IDeviceContextSupport {
 public:
  virtual HDC GetHandle() = 0;
  virtual void Draw(const TRect& DstRect, const TRect& SrcRect, HDC hSrc) = 0;
  virtual void DrawTo(HDC hDst, Integer DstX, Integer DstY) = 0;
  virtual void DrawTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect) = 0;

 protected:
  ~IDeviceContextSupport() = default;
};

class IBitmapContextSupport {
 public:
  virtual BITMAPINFO GetBitmapInfo() = 0;
  virtual HBITMAP GetBitmapHandle() = 0;

 protected:
  ~IBitmapContextSupport() = default;
};

class IPaintSupport {
 public:
  virtual void ImageNeeded() = 0;
  virtual void CheckPixmap() = 0;
  // Copies the invalid rectangles of ABuffer (all of Viewport when the list
  // is empty) to the same places on ACanvas.
  virtual void DoPaint(TBitmap32* ABuffer, const TRectList* AInvalidRects, TCanvas* ACanvas, const TRect& Viewport) = 0;

 protected:
  ~IPaintSupport() = default;
};

// The interface of Obj, or nullptr when it lacks it.
template <class I>
I* QueryBackendInterface(TPlainInterfacedPersistent* Obj, TInterfaceID IID) {
  void* P = nullptr;
  if (!Obj || !Obj->QueryInterface(IID, P)) return nullptr;
  return static_cast<I*>(P);
}

// The interface of Obj; the class library's invalid-cast error when it lacks it.
template <class I>
I* RequireBackendInterface(TPlainInterfacedPersistent* Obj, TInterfaceID IID) {
  I* P = QueryBackendInterface<I>(Obj, IID);
  if (!P) RaiseInvalidCast();
  return P;
}
