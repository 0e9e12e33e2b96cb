// Colours, fonts, pens, brushes, the canvas and the graphic base class.
#include "classlib/Graphics.h"

#include <cmath>

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

}  // namespace

Integer ColorToRGB(TColor Color) {
  if (Color < 0) return Integer(GetSysColor(Color & 0xFF));
  return Color & 0xFFFFFF;
}

// ---------------------------------------------------------------------------
// TGraphicsObject

TGraphicsObject::~TGraphicsObject() {
  if (FHandle) DeleteObject(FHandle);
}

void TGraphicsObject::Changed() {
  if (FOnChange) FOnChange(this);
}

void TGraphicsObject::ReleaseHandle() {
  HGDIOBJ Old = FHandle;
  FHandle = nullptr;
  Changed();
  if (Old) DeleteObject(Old);
}

// ---------------------------------------------------------------------------
// TFont

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TFont*>(Source)) {
    Lock();
    FName = F->FName;
    FHeight = F->FHeight;
    FStyle = F->FStyle;
    FColor = F->FColor;
    FCharset = F->FCharset;
    FPitch = F->FPitch;
    FOrientation = F->FOrientation;
    FQuality = F->FQuality;
    Unlock();
    ReleaseHandle();
    return;
  }
  TPersistent::Assign(Source);
}

HFONT TFont::Handle() {
  Lock();
  if (!FHandle) {
    LOGFONTW LF{};
    LF.lfHeight = FHeight;
    LF.lfEscapement = FOrientation;
    LF.lfOrientation = FOrientation;
    LF.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    LF.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    LF.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    LF.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    LF.lfCharSet = FCharset;
    String Face = FName;
    if (CompareText(Face, u"Default") == 0) Face = u"MS Sans Serif";
    Face = Face.substr(0, LF_FACESIZE - 1);
    std::copy(Face.begin(), Face.end(), reinterpret_cast<char16_t*>(LF.lfFaceName));
    LF.lfQuality = FQuality;
    LF.lfOutPrecision = FOrientation != 0 ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS;
    LF.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    LF.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH : FPitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    FHandle = CreateFontIndirectW(&LF);
  }
  HFONT H = static_cast<HFONT>(FHandle);
  Unlock();
  return H;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONTW LF{};
  if (Value && GetObjectW(Value, sizeof(LF), &LF) != 0) {
    Lock();
    FHeight = LF.lfHeight;
    FOrientation = LF.lfEscapement;
    FStyle = 0;
    if (LF.lfWeight >= FW_BOLD) FStyle |= fsBold;
    if (LF.lfItalic) FStyle |= fsItalic;
    if (LF.lfUnderline) FStyle |= fsUnderline;
    if (LF.lfStrikeOut) FStyle |= fsStrikeOut;
    FCharset = LF.lfCharSet;
    FName = String(reinterpret_cast<const char16_t*>(LF.lfFaceName));
    Byte P = LF.lfPitchAndFamily & 3;
    FPitch = P == VARIABLE_PITCH ? fpVariable : P == FIXED_PITCH ? fpFixed : fpDefault;
    FQuality = LF.lfQuality;
    Unlock();
  }
  HGDIOBJ Old = FHandle;
  FHandle = Value;
  Changed();
  if (Old && Old != Value) DeleteObject(Old);
}

void TFont::SetName(const String& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  ReleaseHandle();
}

void TFont::SetHeight(Integer Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  ReleaseHandle();
}

Integer TFont::Size() const {
  return Integer(std::nearbyint(-Double(FHeight) * 72.0 / PixelsPerInch));
}

void TFont::SetSize(Integer Value) {
  SetHeight(-Integer(std::nearbyint(Double(Value) * PixelsPerInch / 72.0)));
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  ReleaseHandle();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();  // the handle does not carry the colour
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  ReleaseHandle();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  ReleaseHandle();
}

void TFont::SetOrientation(Integer Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  ReleaseHandle();
}

// ---------------------------------------------------------------------------
// TPen

TPen::~TPen() = default;

void TPen::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TPen*>(Source)) {
    FColor = P->FColor;
    FWidth = P->FWidth;
    FStyle = P->FStyle;
    FMode = P->FMode;
    ReleaseHandle();
    return;
  }
  TPersistent::Assign(Source);
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const UINT Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    LOGPEN LP{};
    LP.lopnStyle = Styles[FStyle];
    LP.lopnWidth.x = FWidth;
    LP.lopnColor = COLORREF(ColorToRGB(FColor));
    FHandle = CreatePenIndirect(&LP);
  }
  return static_cast<HPEN>(FHandle);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  ReleaseHandle();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  ReleaseHandle();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  ReleaseHandle();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

Integer TPen::Rop2() const {
  static const Integer Modes[] = {R2_BLACK,       R2_WHITE,       R2_NOP,     R2_NOT,      R2_COPYPEN,    R2_NOTCOPYPEN,
                                  R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                  R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,  R2_NOTXORPEN};
  return Modes[FMode];
}

// ---------------------------------------------------------------------------
// TBrush

TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBrush*>(Source)) {
    FColor = B->FColor;
    FStyle = B->FStyle;
    FBitmap = B->FBitmap;
    ReleaseHandle();
    return;
  }
  TPersistent::Assign(Source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle = CreatePatternBrush(FBitmap->Handle());
    } else {
      LOGBRUSH LB{};
      LB.lbColor = COLORREF(ColorToRGB(FColor));
      switch (FStyle) {
        case bsSolid: LB.lbStyle = BS_SOLID; break;
        case bsClear: LB.lbStyle = BS_HOLLOW; break;
        default:
          LB.lbStyle = BS_HATCHED;
          LB.lbHatch = ULONG_PTR(FStyle - bsHorizontal);  // HS_HORIZONTAL .. HS_DIAGCROSS
          break;
      }
      FHandle = CreateBrushIndirect(&LB);
    }
  }
  return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && !FBitmap) return;
  FColor = Value;
  FBitmap = nullptr;
  if (FStyle == bsClear) FStyle = bsSolid;
  ReleaseHandle();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle && !FBitmap) return;
  FStyle = Value;
  FBitmap = nullptr;
  ReleaseHandle();
}

void TBrush::SetBitmap(TBitmap* Value) {
  FBitmap = Value;
  ReleaseHandle();
}

// ---------------------------------------------------------------------------
// TCanvas

TCanvas::TCanvas() : FPen(new TPen()), FBrush(new TBrush()), FFont(new TFont()) {
  FPen->SetOnChange([this](TObject*) {
    if (FState & csPenValid) {
      FState &= ~csPenValid;
      if (FHandle) SelectObject(FHandle, GetStockObject(BLACK_PEN));
    }
  });
  FBrush->SetOnChange([this](TObject*) {
    if (FState & csBrushValid) {
      FState &= ~csBrushValid;
      if (FHandle) SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    }
  });
  FFont->SetOnChange([this](TObject*) {
    if (FState & csFontValid) {
      FState &= ~csFontValid;
      if (FHandle) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
  });
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete FFont;
  delete FBrush;
  delete FPen;
}

HDC TCanvas::Handle() {
  // Code that draws on the handle itself expects the canvas's pen, brush and
  // font (and the background mode of the brush) in the DC.
  RequiredState(csHandleValid | csPenValid | csBrushValid | csFontValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    FState = 0;
  }
  FHandle = Value;
  if (Value) FState |= csHandleValid;
}

void TCanvas::DeselectHandles() {
  if (FHandle && (FState & (csPenValid | csBrushValid | csFontValid))) {
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FState &= ~(csPenValid | csBrushValid | csFontValid);
  }
}

void TCanvas::RequiredState(Byte ReqState) {
  Byte Need = ReqState & ~FState;
  if (!Need) return;
  if (Need & csHandleValid) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(u"Canvas does not allow drawing");
    FState |= csHandleValid;
  }
  if (Need & csFontValid) {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())));
    FState |= csFontValid;
  }
  if (Need & csPenValid) {
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, FPen->Rop2());
    FState |= csPenValid;
  }
  if (Need & csBrushValid) {
    HBRUSH B = FBrush->Handle();
    UnrealizeObject(B);
    SelectObject(FHandle, B);
    SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
    SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
    FState |= csBrushValid;
  }
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Changing() {
  if (FOnChanging) FOnChanging(this);
}

void TCanvas::Changed() {
  if (FOnChange) FOnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT P{};
  GetCurrentPositionEx(FHandle, &P);
  return TPoint(P.x, P.y);
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT R{};
  GetClipBox(FHandle, &R);
  return TRect(R.left, R.top, R.right, R.bottom);
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, X, Y);
  Changed();
}

static_assert(sizeof(TPoint) == sizeof(POINT), "TPoint and POINT share one layout");

void TCanvas::Polyline(const TPoint* Points, Integer Count) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(FHandle, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, Integer Count) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polygon(FHandle, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  ::FillRect(FHandle, &Rc, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  ::FrameRect(FHandle, &Rc, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  ::DrawFocusRect(FHandle, &Rc);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  HDC Src = Canvas->Handle();
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Src, Source.Left, Source.Top, Source.Width(),
             Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, TRect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::TextOut(Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutW(FHandle, X, Y, 0, nullptr, W(Text), UINT(Text.size()), nullptr);
  SIZE S{};
  GetTextExtentPoint32W(FHandle, W(Text), Integer(Text.size()), &S);
  MoveToEx(FHandle, X + S.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  UINT Options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOutW(FHandle, X, Y, Options, &Rc, W(Text), UINT(Text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const String& Text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE S{};
  GetTextExtentPoint32W(FHandle, W(Text), Integer(Text.size()), &S);
  return S;
}

TColor TCanvas::Pixels(Integer X, Integer Y) {
  RequiredState(csHandleValid);
  return TColor(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  SetPixel(FHandle, X, Y, COLORREF(ColorToRGB(Value)));
  Changed();
}

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::SetSize(Integer AWidth, Integer AHeight) {
  (void)AWidth;
  (void)AHeight;
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::Changed(TObject* Sender) {
  (void)Sender;
  FModified = true;
  if (FOnChange) FOnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// ---------------------------------------------------------------------------
// Helpers

TMemoryDC::TMemoryDC() : FDC(CreateCompatibleDC(nullptr)) {
  if (!FDC) throw EOutOfResources(u"Out of system resources");
  SetStretchBltMode(FDC, COLORONCOLOR);
}

TMemoryDC::~TMemoryDC() {
  if (FOld) SelectObject(FDC, FOld);
  DeleteDC(FDC);
}

void TMemoryDC::Select(HGDIOBJ Obj) {
  HGDIOBJ Prev = SelectObject(FDC, Obj);
  if (!FOld) FOld = Prev;
}

BITMAPINFO TopDownInfo32(Integer Width, Integer Height) {
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI.bmiHeader.biWidth = Width;
  BI.bmiHeader.biHeight = -Height;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  BI.bmiHeader.biCompression = BI_RGB;
  return BI;
}

HBITMAP CreateDIB32(Integer Width, Integer Height, void** Bits) {
  BITMAPINFO BI = TopDownInfo32(Width, Height);
  void* P = nullptr;
  HBITMAP H = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &P, nullptr, 0);
  if (!H || !P) {
    if (H) DeleteObject(H);
    throw EOutOfResources(u"Out of system resources");
  }
  if (Bits) *Bits = P;
  return H;
}

void DrawBGRAOver(HDC DC, const TRect& Rect, const Byte* Pixels, Integer Width, Integer Height) {
  if (Width <= 0 || Height <= 0) return;
  void* Bits = nullptr;
  HBITMAP H = CreateDIB32(Width, Height, &Bits);
  auto* D = static_cast<Byte*>(Bits);
  size_t N = size_t(Width) * size_t(Height);
  for (size_t i = 0; i < N; ++i) {
    const Byte* S = Pixels + i * 4;
    Byte* P = D + i * 4;
    unsigned A = S[3];
    P[0] = Byte((S[0] * A + 127) / 255);
    P[1] = Byte((S[1] * A + 127) / 255);
    P[2] = Byte((S[2] * A + 127) / 255);
    P[3] = Byte(A);
  }
  {
    TMemoryDC Mem;
    Mem.Select(H);
    BLENDFUNCTION BF{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Mem.DC(), 0, 0, Width, Height, BF);
  }
  DeleteObject(H);
}

void DrawBGRA(HDC DC, const TRect& Rect, const Byte* Pixels, Integer Width, Integer Height) {
  if (Width <= 0 || Height <= 0) return;
  BITMAPINFO BI = TopDownInfo32(Width, Height);
  StretchDIBits(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), 0, 0, Width, Height, Pixels, &BI,
                DIB_RGB_COLORS, SRCCOPY);
}
