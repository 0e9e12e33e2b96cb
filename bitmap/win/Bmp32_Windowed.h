// TBitmap32: the bitmap the program creates everywhere, a TCustomBitmap32
// whose pixels live in a GDI DIB section (TGDIBackend) with its own DC, canvas
// and font; text on bitmaps; conversion to and from the class library's
// graphics; the 32-bit BMP stream and the binary property form. Winelib only.
//
// Handle lifetime: every resize replaces the DC, the DIB section and the
// canvas (OnHandleChanged reports it); never keep Canvas(), Handle() or Bits()
// across a SetSize.
#pragma once

class TClipboard;

#include "bitmap/win/Bmp32_Backends_Gdi.h"
#include "bitmap/Bmp32_BmpStreams.h"

class TBitmap32 : public TCustomBitmap32 {
 public:
  TBitmap32();
  ~TBitmap32() override;

  void SetBackend(TCustomBackend* Value) override;
  void CopySettingsTo(TCustomBitmap32* Dst) override;
  // Adds the class library's graphics (TGraphic, TPicture) to the sources.
  void Assign(TPersistent* Source) override;

  TCanvas* Canvas();
  bool CanvasAllocated();
  void DeleteCanvas();
  TFont* Font();
  void SetFont(TFont* Value);
  void UpdateFont();
  HDC Handle();
  HBITMAP BitmapHandle();
  BITMAPINFO BitmapInfo();

  const TNotifyEvent& OnHandleChanged() const { return FOnHandleChanged; }
  void SetOnHandleChanged(TNotifyEvent Value) { FOnHandleChanged = std::move(Value); }

  // GDI blits.
  using TCustomBitmap32::Draw;
  using TCustomBitmap32::DrawTo;
  void Draw(const TRect& DstRect, const TRect& SrcRect, HDC hSrc);
  void DrawTo(HDC hDst, Integer DstX, Integer DstY);
  void DrawTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect);
  // SrcRect stretched to DstRect of the DC in tiles of at most 1024 x 1024.
  void TileTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect);

  // Text in Font through GDI; the string and wide forms are the same.
  void Textout(Integer X, Integer Y, const String& Text);
  void Textout(Integer X, Integer Y, const TRect& ClipRect, const String& Text);
  // The caller's rectangle is never changed.
  void Textout(const TRect& DstRect, Cardinal Flags, const String& Text);
  SIZE TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }
  void TextoutW(Integer X, Integer Y, const String& Text) { Textout(X, Y, Text); }
  void TextoutW(Integer X, Integer Y, const TRect& ClipRect, const String& Text) { Textout(X, Y, ClipRect, Text); }
  void TextoutW(const TRect& DstRect, Cardinal Flags, const String& Text) { Textout(DstRect, Flags, Text); }
  SIZE TextExtentW(const String& Text) { return TextExtent(Text); }
  Integer TextWidthW(const String& Text) { return TextWidth(Text); }
  Integer TextHeightW(const String& Text) { return TextHeight(Text); }
  // Anti-aliased coloured text: AALevel -1 (GDI smoothing), 0 (none) or
  // 1..4 (oversampling by 2^AALevel); Color's alpha is the strength.
  void RenderText(Integer X, Integer Y, const String& Text, Integer AALevel, TColor32 Color);
  void RenderTextW(Integer X, Integer Y, const String& Text, Integer AALevel, TColor32 Color) {
    RenderText(X, Y, Text, AALevel, Color);
  }

  // BMP streams and files (see the free functions below).
  void SaveToStream(TStream* Stream, bool SaveTopDown = true);
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const String& FileName, bool SaveTopDown = true);
  void LoadFromFile(const String& FileName);
  void LoadFromResourceID(HINSTANCE Instance, Integer ResID);
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void ReadPixelData(TStream* Stream);
  void WritePixelData(TStream* Stream);

 protected:
  void AssignTo(TPersistent* Dest) override;
  void BackendReady(TObject* Sender) override;
  void BackendReleasing(TObject* Sender) override;
  void DetachBackend() override;
  virtual void NotifyHandleChanged();

 private:
  TNotifyEvent FOnHandleChanged;
};

// --- Conversion with the class library's graphics (any TCustomBitmap32; a
// bitmap in plain memory is switched to the GDI backend for the drawing and
// back afterwards).

// Size and pixels from a graphic: TBitmap (alpha reset to 255 unless pf32bit;
// a pf32bit bitmap whose alpha bytes are all 0 counts as opaque too;
// transparent bitmaps key out their transparent colour with alpha 0), TIcon
// (alpha kept; icons without alpha go the metafile way), TMetafile (pixels
// drawn differently on white and red become transparent), anything else
// drawn over opaque white. nullptr empties the bitmap.
void AssignFromGraphic(TCustomBitmap32* Bitmap, TGraphic* Graphic);
// Into a class-library bitmap: a 32-bit DIB with all four bytes of each pixel.
void AssignToBitmap(TCustomBitmap32* Bitmap, TBitmap* Dest);
// The clipboard's bitmap (a 32-bit one keeps its alpha), and the bitmap put
// on the clipboard as a 32-bit DIB.
void AssignFromClipboard(TCustomBitmap32* Bitmap, TClipboard* Clipboard);
void AssignToClipboard(TCustomBitmap32* Bitmap, TClipboard* Clipboard);

// --- BMP streams and files; the plain 32-bit stream and the binary
// property form are in Bmp32_BmpStreams.h.
// A 32-bit uncompressed BMP with a 40-byte header is read directly (pixels
// from the offset the header gives); anything else goes through the class
// library's TBitmap. Sizes are checked against the bytes the stream holds
// before the bitmap changes: a short or hostile stream raises EReadError
// "Stream read error" and leaves the bitmap as it was.
void LoadBitmap32FromStream(TCustomBitmap32* Bitmap, TStream* Stream);
void SaveBitmap32ToFile(TCustomBitmap32* Bitmap, const String& FileName, bool SaveTopDown = true);
// "BM" files as above; anything else (even a file shorter than a BMP header)
// through TPicture by its extension.
void LoadBitmap32FromFile(TCustomBitmap32* Bitmap, const String& FileName);
// Equal when both are empty, or of the same class with equal BMP streams.
bool SameBitmap(TCustomBitmap32* A, TCustomBitmap32* B);
