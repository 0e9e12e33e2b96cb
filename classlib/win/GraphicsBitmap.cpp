// TBitmap: a DIB section (or a device bitmap for pfDevice) with its canvas,
// pixel-format conversion through GDI and the Windows BMP stream format.
#include <algorithm>
#include <climits>
#include <cstring>

#include "classlib/BmpImage.h"
#include "classlib/Graphics.h"

namespace {

const char16_t* const SInvalidBitmap = u"Bitmap image is not valid";

struct TDibInfo {
  BITMAPINFOHEADER Header{};
  DWORD Masks[3] = {0, 0, 0};
  RGBQUAD Colors[256] = {};
};

// The palettes chosen for palettised pixel formats.
void DefaultColors(TPixelFormat Format, RGBQUAD* Colors, Integer& Count) {
  auto Q = [](Byte R, Byte G, Byte B) { return RGBQUAD{B, G, R, 0}; };
  switch (Format) {
    case pf1bit:
      Count = 2;
      Colors[0] = Q(0, 0, 0);
      Colors[1] = Q(255, 255, 255);
      break;
    case pf4bit: {
      static const Byte Vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                      {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                      {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                      {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
      Count = 16;
      for (int i = 0; i < 16; ++i) Colors[i] = Q(Vga[i][0], Vga[i][1], Vga[i][2]);
      break;
    }
    case pf8bit: {
      HDC Screen = GetDC(nullptr);
      HPALETTE Pal = CreateHalftonePalette(Screen);
      ReleaseDC(nullptr, Screen);
      PALETTEENTRY E[256] = {};
      Count = Integer(GetPaletteEntries(Pal, 0, 256, E));
      DeleteObject(Pal);
      for (int i = 0; i < Count; ++i) Colors[i] = Q(E[i].peRed, E[i].peGreen, E[i].peBlue);
      break;
    }
    default:
      Count = 0;
      break;
  }
}

Integer BitsOf(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

HBITMAP CreateDibFromInfo(const TDibInfo& Info, Integer ColorCount, void** Bits) {
  // BITMAPINFO with whatever follows the header: masks or a colour table.
  std::vector<Byte> Buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  std::memcpy(Buf.data(), &Info.Header, sizeof(BITMAPINFOHEADER));
  if (Info.Header.biCompression == BI_BITFIELDS)
    std::memcpy(Buf.data() + sizeof(BITMAPINFOHEADER), Info.Masks, sizeof(Info.Masks));
  else if (ColorCount > 0)
    std::memcpy(Buf.data() + sizeof(BITMAPINFOHEADER), Info.Colors, size_t(ColorCount) * sizeof(RGBQUAD));
  void* P = nullptr;
  HBITMAP H = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(Buf.data()), DIB_RGB_COLORS, &P, nullptr, 0);
  if (!H || !P) {
    if (H) DeleteObject(H);
    throw EOutOfResources(u"Out of system resources");
  }
  if (Bits) *Bits = P;
  return H;
}

TPixelFormat FormatOfDib(const DIBSECTION& DS) {
  switch (DS.dsBmih.biBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (DS.dsBmih.biCompression == BI_BITFIELDS) {
        if (DS.dsBitfields[0] == 0xF800 && DS.dsBitfields[1] == 0x07E0 && DS.dsBitfields[2] == 0x001F) return pf16bit;
        if (DS.dsBitfields[0] == 0x7C00 && DS.dsBitfields[1] == 0x03E0 && DS.dsBitfields[2] == 0x001F) return pf15bit;
        return pfCustom;
      }
      return pf15bit;
    case 24: return pf24bit;
    case 32:
      if (DS.dsBmih.biCompression == BI_BITFIELDS &&
          !(DS.dsBitfields[0] == 0xFF0000 && DS.dsBitfields[1] == 0xFF00 && DS.dsBitfields[2] == 0xFF))
        return pfCustom;
      return pf32bit;
    default: return pfCustom;
  }
}

void FillWhite(HDC DC, Integer W, Integer H) {
  RECT R{0, 0, W, H};
  FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void PutLE16(Byte* P, unsigned V) {
  P[0] = Byte(V);
  P[1] = Byte(V >> 8);
}
void PutLE32(Byte* P, Cardinal V) {
  for (int i = 0; i < 4; ++i) P[i] = Byte(V >> (8 * i));
}

}  // namespace

// ---------------------------------------------------------------------------
// TBitmapCanvas

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::FreeContext() {
  if (!FHandle) return;
  HDC DC = FHandle;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(DC, FOldBitmap);
  if (FOldPalette) SelectPalette(DC, FOldPalette, TRUE);
  FOldBitmap = nullptr;
  FOldPalette = nullptr;
  DeleteDC(DC);
}

void TBitmapCanvas::CreateHandle() {
  if (FHandle) return;
  HDC DC = CreateCompatibleDC(nullptr);
  if (!DC) throw EOutOfResources(u"Out of system resources");
  SetStretchBltMode(DC, COLORONCOLOR);
  if (FBitmap->FHandle) FOldBitmap = static_cast<HBITMAP>(SelectObject(DC, FBitmap->FHandle));
  SetHandle(DC);
}

// ---------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer AWidth, Integer AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  delete FCanvas;
  FCanvas = nullptr;
  FreeHandle();
}

void TBitmap::FreeHandle() {
  if (FCanvas) FCanvas->FreeContext();
  if (FHandle) DeleteObject(FHandle);
  if (FPalette) DeleteObject(FPalette);
  FHandle = nullptr;
  FPalette = nullptr;
}

void TBitmap::ReplaceHandle(HBITMAP NewHandle, TPixelFormat NewFormat, TBitmapHandleType NewType, Integer W,
                            Integer H) {
  FreeHandle();
  FHandle = NewHandle;
  FPixelFormat = NewFormat;
  FHandleType = NewType;
  FWidth = W;
  FHeight = H;
}

void TBitmap::NewImage(TPixelFormat Format, Integer W, Integer H, HBITMAP& Out, TBitmapHandleType& OutType) {
  Out = nullptr;
  if (W <= 0 || H <= 0) {
    OutType = Format == pfDevice ? bmDDB : bmDIB;
    return;
  }
  if (Format == pfDevice) {
    HDC Screen = GetDC(nullptr);
    Out = CreateCompatibleBitmap(Screen, W, H);
    ReleaseDC(nullptr, Screen);
    if (!Out) throw EOutOfResources(u"Out of system resources");
    OutType = bmDDB;
    return;
  }
  TDibInfo Info;
  Integer Count = 0;
  if (Format == pfCustom && FHandle) {
    // Same layout as the current custom DIB.
    DIBSECTION DS{};
    GetObjectW(FHandle, sizeof(DS), &DS);
    Info.Header = DS.dsBmih;
    std::memcpy(Info.Masks, DS.dsBitfields, sizeof(Info.Masks));
  } else {
    Info.Header.biBitCount = WORD(BitsOf(Format));
    Info.Header.biCompression = Format == pf16bit ? BI_BITFIELDS : BI_RGB;
    if (Format == pf16bit) {
      Info.Masks[0] = 0xF800;
      Info.Masks[1] = 0x07E0;
      Info.Masks[2] = 0x001F;
    }
  }
  if (Info.Header.biBitCount <= 8) {
    // Keep the current colour table when the format stays; else the default.
    if (FHandle && FPixelFormat == Format && FHandleType == bmDIB) {
      Count = Integer(GetDIBColorTable(Canvas()->Handle(), 0, 256, Info.Colors));
    }
    if (Count == 0) DefaultColors(Format, Info.Colors, Count);
  }
  Info.Header.biSize = sizeof(BITMAPINFOHEADER);
  Info.Header.biWidth = W;
  Info.Header.biHeight = H;  // bottom-up
  Info.Header.biPlanes = 1;
  Info.Header.biSizeImage = 0;
  Info.Header.biClrUsed = Info.Header.biBitCount <= 8 ? Cardinal(Count) : 0;
  Out = CreateDibFromInfo(Info, Count, nullptr);
  OutType = bmDIB;
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if (AWidth == FWidth && AHeight == FHeight) return;
  HBITMAP NewH = nullptr;
  TBitmapHandleType NewType;
  TPixelFormat Format = FPixelFormat;
  NewImage(Format, AWidth, AHeight, NewH, NewType);
  if (NewH) {
    TMemoryDC Mem;
    Mem.Select(NewH);
    FillWhite(Mem.DC(), AWidth, AHeight);
    if (FHandle) {
      BitBlt(Mem.DC(), 0, 0, std::min(FWidth, AWidth), std::min(FHeight, AHeight), Canvas()->Handle(), 0, 0, SRCCOPY);
    }
  }
  ReplaceHandle(NewH, Format, NewType, AWidth, AHeight);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat && !(Value != pfDevice && FHandleType == bmDDB)) return;
  if (Value == pfCustom) return;  // only files bring custom layouts
  HBITMAP NewH = nullptr;
  TBitmapHandleType NewType;
  NewImage(Value, FWidth, FHeight, NewH, NewType);
  if (NewH) {
    TMemoryDC Mem;
    Mem.Select(NewH);
    if (FHandle) BitBlt(Mem.DC(), 0, 0, FWidth, FHeight, Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  ReplaceHandle(NewH, Value, NewType, FWidth, FHeight);
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == FHandleType) return;
  if (Value == bmDDB) {
    SetPixelFormat(pfDevice);
    return;
  }
  // A device bitmap becomes a DIB of the screen's depth.
  HDC Screen = GetDC(nullptr);
  Integer Bpp = GetDeviceCaps(Screen, BITSPIXEL);
  ReleaseDC(nullptr, Screen);
  SetPixelFormat(Bpp == 16 ? pf16bit : Bpp == 24 ? pf24bit : pf32bit);
}

HBITMAP TBitmap::Handle() { return FHandle; }

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  if (!Value) {
    ReplaceHandle(nullptr, FPixelFormat, FHandleType, 0, 0);
    Changed(this);
    return;
  }
  DIBSECTION DS{};
  Integer Got = GetObjectW(Value, sizeof(DS), &DS);
  if (Got == Integer(sizeof(DIBSECTION))) {
    ReplaceHandle(Value, FormatOfDib(DS), bmDIB, DS.dsBm.bmWidth, std::abs(Integer(DS.dsBmih.biHeight)));
  } else {
    BITMAP BM{};
    if (GetObjectW(Value, sizeof(BM), &BM) == 0) throw EInvalidGraphic(SInvalidBitmap);
    ReplaceHandle(Value, pfDevice, bmDDB, BM.bmWidth, BM.bmHeight);
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeContext();
  HBITMAP H = FHandle;
  FHandle = nullptr;
  FreeHandle();
  FWidth = FHeight = 0;
  Changed(this);
  return H;
}

HPALETTE TBitmap::Palette() {
  if (FPalette) return FPalette;
  if (!FHandle || FHandleType != bmDIB || BitsOf(FPixelFormat) > 8) return nullptr;
  RGBQUAD Colors[256];
  UINT N = GetDIBColorTable(Canvas()->Handle(), 0, 256, Colors);
  if (N == 0) return nullptr;
  std::vector<Byte> Buf(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* LP = reinterpret_cast<LOGPALETTE*>(Buf.data());
  LP->palVersion = 0x300;
  LP->palNumEntries = WORD(N);
  for (UINT i = 0; i < N; ++i)
    LP->palPalEntry[i] = PALETTEENTRY{Colors[i].rgbRed, Colors[i].rgbGreen, Colors[i].rgbBlue, 0};
  FPalette = CreatePalette(LP);
  return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
  if (!Value || !FHandle || FHandleType != bmDIB || BitsOf(FPixelFormat) > 8) return;
  PALETTEENTRY E[256];
  UINT N = GetPaletteEntries(Value, 0, 256, E);
  RGBQUAD Colors[256];
  for (UINT i = 0; i < N; ++i) Colors[i] = RGBQUAD{E[i].peBlue, E[i].peGreen, E[i].peRed, 0};
  SetDIBColorTable(Canvas()->Handle(), 0, N, Colors);
  if (FPalette) DeleteObject(FPalette);
  FPalette = nullptr;
  Changed(this);
}

void* TBitmap::ScanLine(Integer Y) {
  if (Y < 0 || Y >= FHeight || !FHandle) throw EInvalidGraphicOperation(u"Scan line index out of range");
  if (FHandleType == bmDDB) SetHandleType(bmDIB);
  GdiFlush();
  DIBSECTION DS{};
  GetObjectW(FHandle, sizeof(DS), &DS);
  auto* Bits = static_cast<Byte*>(DS.dsBm.bmBits);
  Integer Stride = DS.dsBm.bmWidthBytes;
  Integer Row = DS.dsBmih.biHeight > 0 ? FHeight - 1 - Y : Y;
  return Bits + ptrdiff_t(Row) * Stride;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = new TBitmapCanvas(this);
    FCanvas->SetOnChanging([this](TObject* S) { CanvasChanging(S); });
    FCanvas->SetOnChange([this](TObject* S) { CanvasChanged(S); });
  }
  return FCanvas;
}

void TBitmap::CanvasChanging(TObject*) {}

void TBitmap::CanvasChanged(TObject*) { Changed(this); }

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  return Canvas()->Pixels(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HDC Src = Canvas()->Handle();
  HDC Dst = ACanvas->Handle();
  if (FTransparent) {
    UINT Key = UINT(ColorToRGB(TransparentColor()));
    if (FHandleType == bmDIB && BitsOf(FPixelFormat) <= 24 && FPixelFormat != pfCustom) {
      TransparentBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, FWidth, FHeight, Key);
    } else {
      // Wine's TransparentBlt compares all 32 bits of a 32-bit source, alpha
      // included; the key is about colour only, so go through a 24-bit copy.
      TDibInfo Info;
      Info.Header.biSize = sizeof(BITMAPINFOHEADER);
      Info.Header.biWidth = FWidth;
      Info.Header.biHeight = FHeight;
      Info.Header.biPlanes = 1;
      Info.Header.biBitCount = 24;
      Info.Header.biCompression = BI_RGB;
      HBITMAP Tmp = CreateDibFromInfo(Info, 0, nullptr);
      {
        TMemoryDC Mem;
        Mem.Select(Tmp);
        BitBlt(Mem.DC(), 0, 0, FWidth, FHeight, Src, 0, 0, SRCCOPY);
        TransparentBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Mem.DC(), 0, 0, FWidth, FHeight, Key);
      }
      DeleteObject(Tmp);
    }
  } else {
    StretchBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, FWidth, FHeight,
               ACanvas->CopyMode());
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    ReplaceHandle(nullptr, FPixelFormat, FHandleType, 0, 0);
    Changed(this);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    HBITMAP NewH = nullptr;
    if (B->FHandle && B->FHandleType == bmDIB) {
      // A DIB of the same layout, then the bits verbatim (all four bytes of
      // 32-bit pixels) and the colour table.
      GdiFlush();
      DIBSECTION S{};
      GetObjectW(B->FHandle, sizeof(S), &S);
      TDibInfo Info;
      Info.Header = S.dsBmih;
      Info.Header.biSize = sizeof(BITMAPINFOHEADER);
      std::memcpy(Info.Masks, S.dsBitfields, sizeof(Info.Masks));
      Integer Count = 0;
      if (S.dsBmih.biBitCount <= 8) Count = Integer(GetDIBColorTable(B->Canvas()->Handle(), 0, 256, Info.Colors));
      Info.Header.biClrUsed = Cardinal(Count);
      void* Bits = nullptr;
      NewH = CreateDibFromInfo(Info, Count, &Bits);
      std::memcpy(Bits, S.dsBm.bmBits, size_t(S.dsBm.bmWidthBytes) * size_t(B->FHeight));
    } else if (B->FHandle) {
      NewH = static_cast<HBITMAP>(CopyImage(B->FHandle, IMAGE_BITMAP, 0, 0, 0));
      if (!NewH) throw EOutOfResources(u"Out of system resources");
    }
    ReplaceHandle(NewH, B->FPixelFormat, B->FHandleType, B->FWidth, B->FHeight);
    FTransparent = B->FTransparent;
    FTransparentColor = B->FTransparentColor;
    FTransparentMode = B->FTransparentMode;
    Changed(this);
    return;
  }
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    ReplaceHandle(nullptr, FPixelFormat == pfDevice ? pf24bit : FPixelFormat, bmDIB, 0, 0);
    SetSize(G->Width(), G->Height());
    if (!Empty()) Canvas()->Draw(0, 0, G);
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

// ---------------------------------------------------------------------------
// BMP streams

void TBitmap::LoadFromStream(TStream* Stream) {
  const Int64 Start = Stream->Position();
  TBmpImage Image;
  HBITMAP NewH = nullptr;
  // The rows go straight into the new DIB section, without a copy between.
  auto IntoDib = [&](const TBmpImage& I) -> Byte* {
    TDibInfo Info;
    Info.Header.biSize = sizeof(BITMAPINFOHEADER);
    Info.Header.biWidth = I.Width;
    Info.Header.biHeight = I.Height;
    Info.Header.biPlanes = 1;
    Info.Header.biBitCount = WORD(I.BitCount);
    Info.Header.biCompression = I.BitFields ? BI_BITFIELDS : BI_RGB;
    Info.Header.biClrUsed = Cardinal(I.ColorCount);
    for (int i = 0; i < 3; ++i) Info.Masks[i] = I.Masks[i];
    for (Integer i = 0; i < I.ColorCount; ++i) Info.Colors[i] = RGBQUAD{I.Colors[i][0], I.Colors[i][1], I.Colors[i][2], 0};
    void* Bits = nullptr;
    NewH = CreateDibFromInfo(Info, I.ColorCount, &Bits);
    return static_cast<Byte*>(Bits);
  };
  bool Ok = false;
  try {
    Ok = ReadBmpImage(Stream, Image, IntoDib);
  } catch (EStreamError&) {
    Ok = false;
  } catch (...) {
    if (NewH) DeleteObject(NewH);
    Stream->SetPosition(Start);
    throw;
  }
  if (!Ok) {
    if (NewH) DeleteObject(NewH);
    Stream->SetPosition(Start);
    throw EInvalidGraphic(SInvalidBitmap);
  }
  const unsigned Bpp = unsigned(Image.BitCount);
  TPixelFormat Format;
  if (!NewH) {
    Format = Bpp == 1 ? pf1bit : Bpp == 4 ? pf4bit : Bpp == 8 ? pf8bit : Bpp == 24 ? pf24bit : Bpp == 16 ? pf15bit : pf32bit;
  } else {
    DIBSECTION DS{};
    GetObjectW(NewH, sizeof(DS), &DS);
    Format = FormatOfDib(DS);
  }
  Stream->SetPosition(Start + Image.Size);
  ReplaceHandle(NewH, Format, bmDIB, Image.Width, Image.Height);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  BITMAPINFOHEADER H{};
  H.biSize = sizeof(BITMAPINFOHEADER);
  H.biWidth = FWidth;
  H.biHeight = FHeight;
  H.biPlanes = 1;
  H.biBitCount = WORD(FPixelFormat == pfDevice ? 32 : BitsOf(FPixelFormat));
  H.biCompression = BI_RGB;
  DWORD Masks[3] = {0, 0, 0};
  RGBQUAD Colors[256];
  UINT ColorCount = 0;
  std::vector<Byte> Pixels;
  if (FHandle) {
    GdiFlush();
    if (FHandleType == bmDIB) {
      DIBSECTION DS{};
      GetObjectW(FHandle, sizeof(DS), &DS);
      H.biBitCount = DS.dsBmih.biBitCount;
      H.biCompression = DS.dsBmih.biCompression;
      if (H.biCompression == BI_BITFIELDS) std::memcpy(Masks, DS.dsBitfields, sizeof(Masks));
      if (H.biBitCount <= 8) ColorCount = GetDIBColorTable(Canvas()->Handle(), 0, 256, Colors);
      const Integer Stride = DS.dsBm.bmWidthBytes;
      Pixels.resize(size_t(Stride) * size_t(FHeight));
      const auto* Bits = static_cast<const Byte*>(DS.dsBm.bmBits);
      for (Integer Y = 0; Y < FHeight; ++Y) {
        // File rows bottom-up.
        Integer SrcRow = DS.dsBmih.biHeight > 0 ? Y : FHeight - 1 - Y;
        std::memcpy(Pixels.data() + size_t(Y) * Stride, Bits + size_t(SrcRow) * Stride, size_t(Stride));
      }
    } else {
      BITMAPINFO BI{};
      BI.bmiHeader = H;
      Pixels.resize(size_t(FWidth) * 4 * size_t(FHeight));
      if (FCanvas) FCanvas->FreeContext();
      HDC Screen = GetDC(nullptr);
      GetDIBits(Screen, FHandle, 0, UINT(FHeight), Pixels.data(), &BI, DIB_RGB_COLORS);
      ReleaseDC(nullptr, Screen);
    }
  } else if (H.biBitCount <= 8) {
    Integer N = 0;
    DefaultColors(FPixelFormat, Colors, N);
    ColorCount = UINT(N);
    if (FPixelFormat == pf16bit) H.biCompression = BI_BITFIELDS;
  }
  if (H.biCompression == BI_BITFIELDS && !FHandle) {
    Masks[0] = 0xF800;
    Masks[1] = 0x07E0;
    Masks[2] = 0x001F;
  }
  H.biClrUsed = H.biBitCount <= 8 ? ColorCount : 0;
  H.biSizeImage = Cardinal(Pixels.size());
  const Cardinal Extra = (H.biCompression == BI_BITFIELDS ? 12 : 0) + ColorCount * 4;
  const Cardinal Off = 14 + 40 + Extra;
  Byte FH[14] = {'B', 'M'};
  PutLE32(FH + 2, Off + Cardinal(Pixels.size()));
  PutLE32(FH + 10, Off);
  Stream->WriteBuffer(FH, 14);
  Stream->WriteBuffer(&H, sizeof(H));
  if (H.biCompression == BI_BITFIELDS) Stream->WriteBuffer(Masks, 12);
  if (ColorCount) Stream->WriteBuffer(Colors, Integer(ColorCount * 4));
  if (!Pixels.empty()) Stream->WriteBuffer(Pixels.data(), Integer(Pixels.size()));
  (void)PutLE16;
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  HANDLE H = LoadImageW(Instance, reinterpret_cast<const WCHAR*>(ResName.c_str()), IMAGE_BITMAP, 0, 0,
                        LR_CREATEDIBSECTION);
  if (!H) throw EResNotFound(Format(u"Resource %s not found", {ResName}));
  SetHandle(static_cast<HBITMAP>(H));
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, Integer ResID) {
  HANDLE H = LoadImageW(Instance, MAKEINTRESOURCEW(ResID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!H) throw EResNotFound(Format(u"Resource %s not found", {IntToStr(ResID)}));
  SetHandle(static_cast<HBITMAP>(H));
}

void GetBitmapBGRA(TBitmap* Bitmap, std::vector<Byte>& Pixels) {
  Pixels.clear();
  if (!Bitmap || Bitmap->Empty()) return;
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  Pixels.resize(size_t(W) * size_t(H) * 4);
  if (Bitmap->PixelFormat() == pf32bit && Bitmap->HandleType() == bmDIB) {
    for (Integer Y = 0; Y < H; ++Y) std::memcpy(&Pixels[size_t(Y) * W * 4], Bitmap->ScanLine(Y), size_t(W) * 4);
    return;
  }
  void* Bits = nullptr;
  HBITMAP Dib = CreateDIB32(W, H, &Bits);
  {
    TMemoryDC Mem;
    Mem.Select(Dib);
    BitBlt(Mem.DC(), 0, 0, W, H, Bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(Pixels.data(), Bits, Pixels.size());
  }
  DeleteObject(Dib);
  for (size_t i = 3; i < Pixels.size(); i += 4) Pixels[i] = 255;
}
