// TGDIBackend: DIB-section pixels, the memory DC, canvas, font and text.
#include "bitmap/win/Bmp32_Backends_Gdi.h"

#include "bitmap/win/Bmp32_Windowed.h"
#include "rtl/SizeMath.h"
#include "rtl/ScopeGuard.h"

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

HGDIOBJ StockFont() {
  static HGDIOBJ F = GetStockObject(SYSTEM_FONT);
  return F;
}

// The shared class-library bitmap that lends its canvas for measuring text
// when a backend has no DC; its canvas lock serialises the threads using it.
TBitmap* MeasuringBitmap() {
  static TBitmap* B = [] {
    auto* Bmp = new TBitmap();
    Bmp->SetSize(8, 8);
    return Bmp;
  }();
  return B;
}

}  // namespace

TGDIBackend::TGDIBackend(TCustomBitmap32* Owner) : TCustomBackend(Owner) {
  FBitmapInfo = BITMAPINFO{};
  FBitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
  FMapHandle = nullptr;
  FFont = new TFont();
  FFont->SetOnChange([this](TObject* Sender) { FontChanged(Sender); });
  FFont->SetOwnerCriticalSection(&FLock);
  StockFont();
  Install(Owner);
}

TGDIBackend::~TGDIBackend() {
  DeleteCanvas();
  try {
    Clear();
  } catch (...) {
  }
  ReleaseSurface();
  delete FFont;
}

bool TGDIBackend::QueryInterface(TInterfaceID IID, void*& Obj) {
  if (IID == IID_ICanvasSupport) Obj = static_cast<ICanvasSupport*>(this);
  else if (IID == IID_IFontSupport) Obj = static_cast<IFontSupport*>(this);
  else if (IID == IID_ITextSupport) Obj = static_cast<ITextSupport*>(this);
  else if (IID == IID_IDeviceContextSupport) Obj = static_cast<IDeviceContextSupport*>(this);
  else if (IID == IID_IBitmapContextSupport) Obj = static_cast<IBitmapContextSupport*>(this);
  else if (IID == IID_IPaintSupport) Obj = static_cast<IPaintSupport*>(this);
  else return TCustomBackend::QueryInterface(IID, Obj);
  return true;
}

void TGDIBackend::AllocateSurface(Integer NewWidth, Integer NewHeight, bool ClearBuffer) {
  (void)ClearBuffer;
  // A DIB section's size is a 32-bit count of bytes: anything larger is
  // refused as the memory backend refuses what it cannot allocate.
  Int64 Bytes = 0;
  if (!CheckedProduct({NewWidth, NewHeight, 4}, 0xFFFFFFFF, Bytes)) throw EOutOfMemory(SOutOfMemory);
  FBitmapInfo.bmiHeader.biWidth = NewWidth;
  FBitmapInfo.bmiHeader.biHeight = -NewHeight;
  FBitmapInfo.bmiHeader.biSizeImage = DWORD(Bytes);
  PrepareSurfaceMapping(NewWidth, NewHeight);
  void* Bits = nullptr;
  FBitmapHandle = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &Bits, FMapHandle, 0);
  if (!Bits) {
    if (FBitmapHandle) DeleteObject(FBitmapHandle);
    FBitmapHandle = nullptr;
    FBits = nullptr;
    throw Exception(u"Can't allocate the DIB handle");
  }
  FBits = static_cast<PColor32Array>(Bits);
  FHDC = CreateCompatibleDC(nullptr);
  if (!FHDC) {
    DeleteObject(FBitmapHandle);
    FBitmapHandle = nullptr;
    FBits = nullptr;
    throw Exception(u"Can't create compatible DC");
  }
  if (!SelectObject(FHDC, FBitmapHandle)) {
    DeleteDC(FHDC);
    DeleteObject(FBitmapHandle);
    FHDC = nullptr;
    FBitmapHandle = nullptr;
    FBits = nullptr;
    throw Exception(u"Can't select an object into DC");
  }
  // Shrinking stretches keep whole rows instead of ANDing them together.
  SetStretchBltMode(FHDC, COLORONCOLOR);
}

void TGDIBackend::ReleaseSurface() {
  if (FHDC) DeleteDC(FHDC);
  if (FBitmapHandle) DeleteObject(FBitmapHandle);
  FHDC = nullptr;
  FBitmapHandle = nullptr;
  FBits = nullptr;
}

void TGDIBackend::Changed() {
  if (FCanvas) FCanvas->SetHandle(FHDC);
  TCustomBackend::Changed();
}

TCanvas* TGDIBackend::GetCanvas() {
  if (!FCanvas) {
    FCanvas = new TCanvas();
    FCanvas->SetHandle(FHDC);
    FCanvas->SetOnChange([this](TObject*) {
      if (FOnCanvasChange) FOnCanvasChange(this);
    });
  }
  return FCanvas;
}

void TGDIBackend::DeleteCanvas() {
  if (!FCanvas) return;
  FCanvas->SetHandle(nullptr);
  delete FCanvas;
  FCanvas = nullptr;
}

void TGDIBackend::SetFont(TFont* Font) {
  FFont->Assign(Font);
  if (FOnFontChange) FOnFontChange(this);
}

void TGDIBackend::FontChanged(TObject*) {
  if (FFontHandle) {
    if (FHDC) SelectObject(FHDC, StockFont());
    FFontHandle = nullptr;
  }
  if (FOnFontChange) FOnFontChange(this);
}

void TGDIBackend::UpdateFont() {
  if (!FFontHandle && FHDC) {
    FFontHandle = FFont->Handle();
    SelectObject(FHDC, FFontHandle);
  } else if (FFontHandle && FHDC) {
    SelectObject(FHDC, FFontHandle);
  }
  if (FHDC) {
    SetTextColor(FHDC, COLORREF(ColorToRGB(FFont->Color())));
    SetBkMode(FHDC, TRANSPARENT);
  }
}

SIZE TGDIBackend::TextExtent(const String& Text) {
  UpdateFont();
  SIZE S{0, 0};
  if (FHDC) {
    GetTextExtentPoint32W(FHDC, W(Text), Integer(Text.size()), &S);
    return S;
  }
  TCanvas* C = MeasuringBitmap()->Canvas();
  C->Lock();
  {
    TFinally Done([&] { C->Unlock(); });
    HDC DC = C->Handle();
    HGDIOBJ Old = SelectObject(DC, FFont->Handle());
    GetTextExtentPoint32W(DC, W(Text), Integer(Text.size()), &S);
    SelectObject(DC, Old);
  }
  return S;
}

void TGDIBackend::Textout(Integer X, Integer Y, const String& Text) {
  UpdateFont();
  if (FOwner && !FOwner->MeasuringMode()) {
    if (FOwner->Clipping()) {
      const TRect& C = FOwner->ClipRect();
      RECT R{C.Left, C.Top, C.Right, C.Bottom};
      ExtTextOutW(FHDC, X, Y, ETO_CLIPPED, &R, W(Text), UINT(Text.size()), nullptr);
    } else {
      ExtTextOutW(FHDC, X, Y, 0, nullptr, W(Text), UINT(Text.size()), nullptr);
    }
  }
  SIZE S = TextExtent(Text);
  if (FOwner) FOwner->Changed(TRect(X, Y, X + S.cx + 1, Y + S.cy + 1), AreaInfoRect);
}

void TGDIBackend::Textout(Integer X, Integer Y, const TRect& ClipRect, const String& Text) {
  UpdateFont();
  if (FOwner && !FOwner->MeasuringMode()) {
    RECT R{ClipRect.Left, ClipRect.Top, ClipRect.Right, ClipRect.Bottom};
    ExtTextOutW(FHDC, X, Y, ETO_CLIPPED, &R, W(Text), UINT(Text.size()), nullptr);
  }
  SIZE S = TextExtent(Text);
  if (FOwner) FOwner->Changed(TRect(X, Y, X + S.cx + 1, Y + S.cy + 1), AreaInfoRect);
}

void TGDIBackend::Textout(TRect& DstRect, Cardinal Flags, const String& Text) {
  UpdateFont();
  if (FOwner && !FOwner->MeasuringMode()) {
    RECT R{DstRect.Left, DstRect.Top, DstRect.Right, DstRect.Bottom};
    DrawTextW(FHDC, W(Text), Integer(Text.size()), &R, Flags);
    DstRect = TRect(R.left, R.top, R.right, R.bottom);
  }
  if (FOwner) FOwner->Changed(DstRect, AreaInfoRect);
}

void TGDIBackend::Draw(const TRect& DstRect, const TRect& SrcRect, HDC hSrc) {
  if (!FOwner || FOwner->Empty()) return;
  if (!FOwner->MeasuringMode())
    StretchBlt(FHDC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), hSrc, SrcRect.Left, SrcRect.Top,
               SrcRect.Width(), SrcRect.Height(), SRCCOPY);
  FOwner->Changed(DstRect, AreaInfoRect);
}

void TGDIBackend::DrawTo(HDC hDst, Integer DstX, Integer DstY) {
  if (!FOwner) return;
  const Integer Wd = FOwner->Width(), Ht = FOwner->Height();
  StretchDIBits(hDst, DstX, DstY, Wd, Ht, 0, 0, Wd, Ht, FBits, &FBitmapInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TGDIBackend::DrawTo(HDC hDst, const TRect& DstRect, const TRect& SrcRect) {
  StretchBlt(hDst, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), FHDC, SrcRect.Left, SrcRect.Top,
             SrcRect.Width(), SrcRect.Height(), SRCCOPY);
}

void TGDIBackend::DoPaint(TBitmap32* ABuffer, const TRectList* AInvalidRects, TCanvas* ACanvas,
                          const TRect& Viewport) {
  HDC Src = ABuffer->Handle();
  HDC Dst = ACanvas->Handle();
  if (!AInvalidRects || AInvalidRects->Count() == 0) {
    BitBlt(Dst, Viewport.Left, Viewport.Top, Viewport.Width(), Viewport.Height(), Src, Viewport.Left, Viewport.Top,
           SRCCOPY);
    return;
  }
  for (Integer i = 0; i < AInvalidRects->Count(); ++i) {
    const TRect& R = (*AInvalidRects)[i];
    BitBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, R.Left, R.Top, SRCCOPY);
  }
}

void SetFontQuality(TFont* Font, Byte Quality) {
  LOGFONTW LF{};
  LF.lfHeight = Font->Height();
  LF.lfWidth = 0;
  LF.lfEscapement = Font->Orientation();
  LF.lfOrientation = Font->Orientation();
  LF.lfWeight = (Font->Style() & fsBold) ? 700 : 400;
  LF.lfItalic = (Font->Style() & fsItalic) ? 1 : 0;
  LF.lfUnderline = (Font->Style() & fsUnderline) ? 1 : 0;
  LF.lfStrikeOut = (Font->Style() & fsStrikeOut) ? 1 : 0;
  LF.lfCharSet = Font->Charset();
  String Face = CompareText(Font->Name(), u"Default") == 0 ? String(u"MS Sans Serif") : Font->Name();
  Face = Face.substr(0, LF_FACESIZE - 1);
  std::copy(Face.begin(), Face.end(), reinterpret_cast<char16_t*>(LF.lfFaceName));
  LF.lfQuality = Quality;
  LF.lfOutPrecision = Font->Orientation() != 0 ? OUT_TT_ONLY_PRECIS : 0;
  LF.lfClipPrecision = 0;
  LF.lfPitchAndFamily = Font->Pitch() == fpVariable ? 2 : Font->Pitch() == fpFixed ? 1 : 0;
  Font->SetHandle(CreateFontIndirectW(&LF));
}
