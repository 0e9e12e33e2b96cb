#include "skin/data/win/SpBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Clipbrd.h"
#include "rtl/SizeMath.h"
#include "skin/data/SpLayout.h"

using namespace sppix;

namespace {

// The live bitmaps (those that own pixels); made at the first registration,
// freed at shut-down. A bitmap destroyed after that finds it gone.
std::vector<TspBitmap*>* LiveBitmapList = nullptr;

void ListBitmap(TspBitmap* B) {
  if (!LiveBitmapList) LiveBitmapList = new std::vector<TspBitmap*>();
  if (std::find(LiveBitmapList->begin(), LiveBitmapList->end(), B) == LiveBitmapList->end())
    LiveBitmapList->push_back(B);
}

void UnlistBitmap(TspBitmap* B) {
  if (LiveBitmapList) std::erase(*LiveBitmapList, B);
}

// The largest pixel block a bitmap may have: the DIB section's size is a
// 32-bit quantity.
constexpr Int64 MaxBitmapBytes = 0x7FFFFFFF;

const char16_t* const SCantAllocateDIB = u"Can't allocate the DIB handle";
const char16_t* const SCantCreateDC = u"Can't create compatible DC";
const char16_t* const SCantSelect = u"Can't bslect an object into DC";

HMODULE Msimg32 = nullptr;
bool Msimg32Loaded = false;
bool KeyedDrawUsesTransparentBlt = false;

TRect OffsetRect(const TRect& R, Integer DX, Integer DY) {
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

TPoint WindowOrigin(HDC DC) {
  POINT P{};
  GetWindowOrgEx(DC, &P);
  return TPoint(P.x, P.y);
}

}  // namespace

bool MMXAvailable = false;
TTransparentBltProc spTransparentBlt = nullptr;
TAlphaBlendProc spAlphaBlend = nullptr;

TspBitmap* FindBitmapByDC(HDC DC) {
  if (!DC || !LiveBitmapList) return nullptr;
  for (TspBitmap* B : *LiveBitmapList)
    if (B->DC() == DC) return B;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Life cycle

TspBitmap::TspBitmap() {
  FBitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TspBitmap::~TspBitmap() {
  UnlistBitmap(this);
  FreeSection();
  delete FCanvas;
}

void TspBitmap::FreeSection() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
}

void TspBitmap::SetSize(Integer AWidth, Integer AHeight) {
  const Integer W = AWidth < 0 ? -AWidth : AWidth, H = AHeight < 0 ? -AHeight : AHeight;
  if (W == 0 || H == 0) return;
  if (W == FWidth && H == FHeight && !Empty()) return;
  // Whatever happens below, the old pixels go; a failure leaves the bitmap
  // empty with no size, so routines that test only the size write nowhere.
  FreeSection();
  UnlistBitmap(this);
  FWidth = FHeight = 0;
  Int64 Bytes = 0;
  if (W < 0 || H < 0 || !CheckedProduct({W, H, 4}, MaxBitmapBytes, Bytes)) throw EOutOfResources(SCantAllocateDIB);
  FBitmapInfo.bmiHeader.biWidth = W;
  FBitmapInfo.bmiHeader.biHeight = -H;
  void* Bits = nullptr;
  HBITMAP Section = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Section || !Bits) {
    if (Section) DeleteObject(Section);
    throw EOutOfResources(SCantAllocateDIB);
  }
  HDC DC = CreateCompatibleDC(nullptr);
  if (!DC) {
    DeleteObject(Section);
    throw EOutOfResources(SCantCreateDC);
  }
  if (!SelectObject(DC, Section)) {
    DeleteDC(DC);
    DeleteObject(Section);
    throw EOutOfResources(SCantSelect);
  }
  FHandle = Section;
  FDC = DC;
  FBits = static_cast<PspColorArray>(Bits);
  FWidth = W;
  FHeight = H;
  ListBitmap(this);
  if (FCanvas) FCanvas->SetHandle(FDC);
}

TCanvas* TspBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = new TCanvas();
    FCanvas->SetHandle(FDC);
  }
  return FCanvas;
}

void TspBitmap::Clear(TspColor Color) {
  if (!Empty()) FillPixels(FBits, FWidth * FHeight, Color);
}

TspColor TspBitmap::GetPixel(Integer X, Integer Y) const {
  if (Empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return *GetPixelPtr(X, Y);
}

void TspBitmap::SetPixel(Integer X, Integer Y, TspColor Value) {
  if (Empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  *GetPixelPtr(X, Y) = Value;
}

// ---------------------------------------------------------------------------
// Assignment

void TspBitmap::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TspBitmap*>(Source)) {
    if (S == this) return;
    SetSize(S->FWidth, S->FHeight);
    if (Empty() || S->Empty() || FWidth != S->FWidth || FHeight != S->FHeight) return;
    std::memcpy(FBits, S->FBits, size_t(FWidth) * size_t(FHeight) * 4);
    FName = S->FName;
    FTransparent = S->FTransparent;
    FAlphaBlend = S->FAlphaBlend;
    return;
  }
  auto FromBitmap = [this](TBitmap* B, bool KeepAlpha) {
    SetSize(B->Width(), B->Height());
    if (Empty() || B->Empty()) return;
    if (KeepAlpha) {
      for (Integer y = 0; y < FHeight; ++y) std::memcpy(GetRowPtr(y), B->ScanLine(y), size_t(FWidth) * 4);
      CheckingAlphaBlend();
      return;
    }
    GdiFlush();
    BitBlt(FDC, 0, 0, FWidth, FHeight, B->Canvas()->Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    SetAlpha(255);
  };
  auto FromGraphic = [this](TGraphic* G) {
    SetSize(G->Width(), G->Height());
    if (Empty() || G->Empty()) return;
    DrawGraphic(G, TRect(0, 0, FWidth, FHeight));
    SetAlpha(255);
  };
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    FromBitmap(B, B->PixelFormat() == pf32bit && B->HandleType() == bmDIB);
    return;
  }
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    FromGraphic(G);
    return;
  }
  if (auto* P = dynamic_cast<TPicture*>(Source)) {
    if (!P->Graphic()) return;
    if (auto* B = dynamic_cast<TBitmap*>(P->Graphic()))
      FromBitmap(B, false);
    else
      FromGraphic(P->Graphic());
    return;
  }
  TPersistent::Assign(Source);
}

void TspBitmap::AssignTo(TPersistent* Dest) {
  auto Prepare = [this](TBitmap* B) {
    B->SetPixelFormat(pf32bit);
    B->SetSize(FWidth, FHeight);
    if (!Empty()) Draw(B->Canvas()->Handle(), 0, 0);
  };
  if (auto* P = dynamic_cast<TPicture*>(Dest)) {
    Prepare(P->Bitmap());
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    Prepare(B);
    return;
  }
  if (auto* C = dynamic_cast<TClipboard*>(Dest)) {
    // The picture as it shows over the white of a new bitmap, opaque: the
    // alpha bytes GDI leaves in a 32-bit bitmap (0 after keyed drawing and
    // after pixels that never had any, blended ones after blending) would
    // reach programs that read the clipboard's alpha as transparency.
    TBitmap Temp;
    Temp.SetPixelFormat(pf24bit);
    Temp.SetSize(FWidth, FHeight);
    if (!Empty()) Draw(Temp.Canvas()->Handle(), 0, 0);
    C->Assign(&Temp);
    return;
  }
  TPersistent::AssignTo(Dest);
}

// ---------------------------------------------------------------------------
// Streams

String ReadSkinString(TStream* Stream) {
  Integer N = 0;
  Stream->ReadBuffer(&N, 4);
  if (N < 0 || N > Stream->Size() - Stream->Position()) throw EReadError(u"Stream read error");
  std::string Bytes(size_t(N), '\0');
  if (N > 0) Stream->ReadBuffer(Bytes.data(), N);
  String S(size_t(N), u'\0');
  for (Integer i = 0; i < N; ++i) S[size_t(i)] = char16_t(Byte(Bytes[size_t(i)]));
  return S;
}

void WriteSkinString(TStream* Stream, const String& S) {
  const Integer N = Integer(S.size());
  Stream->WriteBuffer(&N, 4);
  std::string Bytes(S.size(), '\0');
  for (size_t i = 0; i < S.size(); ++i) Bytes[i] = S[i] <= 0xFF ? char(S[i]) : '?';
  if (N > 0) Stream->WriteBuffer(Bytes.data(), N);
}

void TspBitmap::SaveToStream(TStream* Stream) {
  WriteSkinString(Stream, FName);
  const Integer W = Empty() ? 0 : FWidth, H = Empty() ? 0 : FHeight;
  Stream->WriteBuffer(&W, 4);
  Stream->WriteBuffer(&H, 4);
  for (Integer y = 0; y < H; ++y) Stream->WriteBuffer(GetRowPtr(y), W * 4);
}

void TspBitmap::LoadFromStream(TStream* Stream) {
  // Everything is checked against what the stream holds before the bitmap
  // changes.
  const String NewName = ReadSkinString(Stream);
  Integer W = 0, H = 0;
  Stream->ReadBuffer(&W, 4);
  Stream->ReadBuffer(&H, 4);
  const Int64 AW = W < 0 ? -Int64(W) : W, AH = H < 0 ? -Int64(H) : H;
  Int64 Bytes = 0;
  if (!CheckedProduct({AW, AH, 4}, Stream->Size() - Stream->Position(), Bytes))
    throw EReadError(u"Stream read error");
  FName = NewName;
  SetSize(Integer(AW), Integer(AH));
  if (Bytes == 0 || Empty() || FWidth != AW || FHeight != AH) return;
  for (Integer y = 0; y < FHeight; ++y) Stream->ReadBuffer(GetRowPtr(y), FWidth * 4);
  if (H <= 0) FlipVert();
}

void TspBitmap::LoadFromResource(const String& ResFileName, const String& ResName) {
  HMODULE Module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(ResFileName.c_str()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  struct TFree {
    HMODULE M;
    ~TFree() {
      if (M) FreeLibrary(M);
    }
  } Guard{Module};
  const LPCWSTR Name = reinterpret_cast<LPCWSTR>(ResName.c_str());
  HRSRC Res = FindResourceW(Module, Name, reinterpret_cast<LPCWSTR>(RT_BITMAP));
  if (!Res) return;
  HGLOBAL Data = LoadResource(Module, Res);
  const auto* Header = Data ? static_cast<const BITMAPINFOHEADER*>(LockResource(Data)) : nullptr;
  if (!Header || SizeofResource(Module, Res) < sizeof(BITMAPINFOHEADER)) return;
  TBitmap B;
  if (Header->biBitCount == 32) {
    B.LoadFromResourceName(Module, ResName);
  } else if (HBITMAP H = LoadBitmapW(Module, Name)) {
    B.SetHandle(H);
  } else {
    B.LoadFromResourceName(Module, ResName);
  }
  Assign(&B);
}

void TspBitmap::LoadFromPcxStream(TStream* Stream) {
  Byte Header[128];
  Stream->ReadBuffer(Header, 128);
  if (Header[0] != 10 && Header[0] != 205) return;
  auto U16 = [&](Integer Off) { return Integer(Header[Off] | (Header[Off + 1] << 8)); };
  const Byte Version = Header[1], Encoding = Header[2];
  const Integer XMin = U16(4), YMin = U16(6), XMax = U16(8), YMax = U16(10);
  const Integer Planes = Header[65], BytesPerLine = U16(66);
  const Integer W = XMax - XMin + 1, H = YMax - YMin + 1, LineSize = Planes * BytesPerLine;
  // Each row copies W bytes from the start of its line: a line shorter than
  // the width, or an inverted extent, is not an image of this kind.
  if (XMax < XMin || YMax < YMin || W > LineSize) return;
  Int64 BufSize = 0;
  if (!CheckedProduct({H, LineSize}, MaxBitmapBytes, BufSize)) return;
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetSize(W, H);
  if (Version == 3) {
    B.SetPalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  } else {
    const Int64 Pos = Stream->Position();
    if (Stream->Size() >= 769) {
      Byte Pal[768];
      Stream->Seek(-768, soEnd);
      Stream->ReadBuffer(Pal, 768);
      std::vector<Byte> LogPal(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
      auto* LP = reinterpret_cast<LOGPALETTE*>(LogPal.data());
      LP->palVersion = 0x300;
      LP->palNumEntries = 256;
      for (int i = 0; i < 256; ++i) LP->palPalEntry[i] = {Pal[i * 3], Pal[i * 3 + 1], Pal[i * 3 + 2], 0};
      HPALETTE HP = CreatePalette(LP);
      B.SetPalette(HP);
      DeleteObject(HP);
    }
    Stream->SetPosition(Pos);
  }
  std::vector<Byte> Buf(static_cast<size_t>(BufSize), 0);
  const Int64 Left = std::max<Int64>(0, Stream->Size() - Stream->Position());
  std::vector<Byte> In(static_cast<size_t>(std::min<Int64>(Left, MaxBitmapBytes)));
  if (!In.empty()) Stream->ReadBuffer(In.data(), Integer(In.size()));
  if (Encoding == 1) {
    size_t o = 0;
    for (size_t i = 0; i < In.size() && o < Buf.size(); ++i) {
      const Byte b = In[i];
      if (b < 192) {
        Buf[o++] = b;
        continue;
      }
      if (++i >= In.size()) break;
      const size_t Count = std::min<size_t>(b & 63, Buf.size() - o);
      std::memset(&Buf[o], In[i], Count);
      o += Count;
    }
  } else {
    std::memcpy(Buf.data(), In.data(), std::min(In.size(), Buf.size()));
  }
  for (Integer y = 0; y < H; ++y) std::memcpy(B.ScanLine(y), &Buf[size_t(y) * size_t(LineSize)], size_t(W));
  Assign(&B);
}

// ---------------------------------------------------------------------------
// Checks and transforms

void TspBitmap::CheckRGBA() { CheckRGBAPixels(FBits, PixelCount()); }
void TspBitmap::CheckRGBA2() { CheckRGBA2Pixels(FBits, PixelCount()); }
void TspBitmap::CheckingAlphaBlend() { FAlphaBlend = HasPartialAlpha(FBits, PixelCount()); }
void TspBitmap::CheckingAlphaBlend(const TRect&) { CheckingAlphaBlend(); }
void TspBitmap::CheckingTransparent(TspColor Color) { FTransparent = KeyNearColor(FBits, PixelCount(), Color); }
void TspBitmap::CheckingTransparent(const TRect&, TspColor Color) { CheckingTransparent(Color); }

void TspBitmap::SetAlpha(Byte Alpha) { SetAlphaPixels(FBits, Integer(PixelCount()), Alpha); }

void TspBitmap::SetAlpha(Byte Alpha, const TRect& Rect) {
  if (Empty() || Rect.Width() == 0 || Rect.Height() == 0) return;
  const TRect R(std::max(Rect.Left, 0), std::max(Rect.Top, 0), std::min(Rect.Right, FWidth),
                std::min(Rect.Bottom, FHeight));
  if (R.Width() <= 0 || R.Height() <= 0) return;
  SetAlphaPixelRect(FBits, FWidth, Alpha, R.Left, R.Top, R.Right - 1, R.Bottom - 1);
}

void TspBitmap::FlipVert() { FlipRows(FBits, Empty() ? 0 : FWidth, Empty() ? 0 : FHeight); }
void TspBitmap::Reflection() { ReflectRows(FBits, Empty() ? 0 : FWidth, Empty() ? 0 : FHeight, 3); }
void TspBitmap::Reflection2() { ReflectRows(FBits, Empty() ? 0 : FWidth, Empty() ? 0 : FHeight, 4); }
void TspBitmap::Reflection3() { ReflectRows(FBits, Empty() ? 0 : FWidth, Empty() ? 0 : FHeight, 2); }

void TspBitmap::SetBitmapHue(Integer Hue) { AdjustPixels(FBits, PixelCount(), coSetHue, Hue); }
void TspBitmap::ChangeBitmapHue(Integer DeltaHue) { AdjustPixels(FBits, PixelCount(), coChangeHue, DeltaHue); }
void TspBitmap::ChangeBitmapSat(Integer DeltaSat) { AdjustPixels(FBits, PixelCount(), coChangeSat, DeltaSat); }
void TspBitmap::ChangeBitmapBrightness(Integer DeltaBrightness) {
  AdjustPixels(FBits, PixelCount(), coChangeBrightness, DeltaBrightness);
}

// ---------------------------------------------------------------------------
// Drawing

void TspBitmap::Draw(HDC DC, Integer X, Integer Y) { Draw(DC, TRect(X, Y, X + FWidth, Y + FHeight), TRect(0, 0, FWidth, FHeight)); }
void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y) { Draw(Canvas->Handle(), X, Y); }
void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y) {
  Draw(Bitmap, TRect(X, Y, X + FWidth, Y + FHeight), TRect(0, 0, FWidth, FHeight));
}
void TspBitmap::Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(DC, TRect(X, Y, X + SrcRect.Width(), Y + SrcRect.Height()), SrcRect);
}
void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect) { Draw(Canvas->Handle(), X, Y, SrcRect); }
void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(Bitmap, TRect(X, Y, X + SrcRect.Width(), Y + SrcRect.Height()), SrcRect);
}
void TspBitmap::Draw(HDC DC, const TRect& DstRect) { Draw(DC, DstRect, TRect(0, 0, FWidth, FHeight)); }
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect) { Draw(Bitmap, DstRect, TRect(0, 0, FWidth, FHeight)); }
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
  Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  if (!Bitmap || Empty() || Bitmap->Empty()) return;
  GdiFlush();
  StretchTransfer(Bitmap->Surface(), DstRect, DstRect, SrcRect, Surface(), Mode());
}

void TspBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (Empty() || !DC) return;
  if (TspBitmap* T = FindBitmapByDC(DC)) {
    const TPoint O = WindowOrigin(DC);
    Draw(T, OffsetRect(DstRect, -O.X, -O.Y), SrcRect);
    return;
  }
  DrawToForeignDC(DC, DstRect, SrcRect);
}

void TspBitmap::DrawToForeignDC(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (FAlphaBlend)
    BlendToDC(DC, DstRect, SrcRect);
  else if (FTransparent && KeyedDrawUsesTransparentBlt)
    KeyToDC(DC, DstRect, SrcRect);
  else if (FTransparent)
    BlendToDC(DC, DstRect, SrcRect);
  else
    StretchToDC(DC, DstRect, SrcRect);
}

void TspBitmap::BlendToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  const Integer W = DstRect.Width(), H = DstRect.Height();
  if (W <= 0 || H <= 0) return;
  TspBitmap Temp;
  Temp.SetSize(W, H);
  BitBlt(Temp.FDC, 0, 0, W, H, DC, DstRect.Left, DstRect.Top, SRCCOPY);
  GdiFlush();
  StretchTransfer(Temp.Surface(), TRect(0, 0, W, H), TRect(0, 0, W, H), SrcRect, Surface(), Mode());
  BitBlt(DC, DstRect.Left, DstRect.Top, W, H, Temp.FDC, 0, 0, SRCCOPY);
}

void TspBitmap::KeyToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  // Through a 24-bit copy of the source rectangle: the key then compares the
  // colour only, whatever alpha the key pixels carry.
  const Integer W = SrcRect.Width(), H = SrcRect.Height();
  if (W <= 0 || H <= 0 || !spTransparentBlt) return;
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI.bmiHeader.biWidth = W;
  BI.bmiHeader.biHeight = -H;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 24;
  BI.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  HBITMAP Section = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Section) return;
  HDC Mem = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Mem, Section);
  BitBlt(Mem, 0, 0, W, H, FDC, SrcRect.Left, SrcRect.Top, SRCCOPY);
  spTransparentBlt(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), Mem, 0, 0, W, H,
                   TransparentKeyColor);
  SelectObject(Mem, Old);
  DeleteDC(Mem);
  DeleteObject(Section);
}

void TspBitmap::StretchToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), FDC, SrcRect.Left, SrcRect.Top,
             SrcRect.Width(), SrcRect.Height(), SRCCOPY);
}

namespace {

// The DIB section selected into a DC: its pixels as a surface when it is a
// 32-bit section whose rows lie bottom-up (GetObject reports a positive
// height for every section, so the order is probed through GetDIBits).
bool BottomUpSection32(HDC DC, TspSurface& S) {
  HBITMAP Bmp = static_cast<HBITMAP>(GetCurrentObject(DC, OBJ_BITMAP));
  DIBSECTION DS{};
  if (!Bmp || GetObjectW(Bmp, sizeof(DS), &DS) != int(sizeof(DS))) return false;
  if (!DS.dsBm.bmBits || DS.dsBm.bmBitsPixel != 32 || DS.dsBm.bmWidth <= 0 || DS.dsBm.bmHeight <= 0) return false;
  auto* Bits = static_cast<TspColor*>(DS.dsBm.bmBits);
  const Integer W = DS.dsBm.bmWidth, H = DS.dsBm.bmHeight;
  bool BottomUp = true;
  if (H > 1) {
    GdiFlush();
    TspColor* First = Bits;
    TspColor* Last = Bits + Int64(H - 1) * W;
    const TspColor SavedFirst = *First, SavedLast = *Last;
    *First = 0x00010203;
    *Last = 0x00040506;
    // Row 0 of a bottom-up copy is the image's bottom row.
    BITMAPINFO BI{};
    BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    BI.bmiHeader.biWidth = W;
    BI.bmiHeader.biHeight = H;
    BI.bmiHeader.biPlanes = 1;
    BI.bmiHeader.biBitCount = 32;
    BI.bmiHeader.biCompression = BI_RGB;
    std::vector<TspColor> Row(static_cast<size_t>(W));
    HDC Screen = GetDC(nullptr);
    const int Got = GetDIBits(Screen, Bmp, 0, 1, Row.data(), &BI, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Screen);
    *First = SavedFirst;
    *Last = SavedLast;
    if (Got != 1) return false;
    BottomUp = (Row[0] & 0x00FFFFFF) == 0x00010203;
  }
  if (!BottomUp) return false;
  S = TspSurface{Bits, W, H, W, true};
  return true;
}

}  // namespace

void TspBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (Empty() || !DC) return;
  TspBitmap* T = FindBitmapByDC(DC);
  TspSurface Section;
  const bool Direct = !T && BottomUpSection32(DC, Section);
  const TPoint O = WindowOrigin(DC);
  if (Direct) GdiFlush();
  ForEachTile(DstRect, SrcRect, [&](const TRect& D, const TRect& S) {
    if (T)
      Draw(T, OffsetRect(D, -O.X, -O.Y), S);
    else if (Direct)
      StretchTransfer(Section, OffsetRect(D, -O.X, -O.Y), TRect(0, 0, Section.Width, Section.Height), S, Surface(),
                      Mode());
    else
      DrawToForeignDC(DC, D, S);
  });
}

void TspBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) { Tile(Canvas->Handle(), DstRect, SrcRect); }

void TspBitmap::Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  ForEachTile(DstRect, SrcRect, [&](const TRect& D, const TRect& S) { Draw(Bitmap, D, S); });
}

namespace {

bool Intersects(const TRect& A, const TRect& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) && std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

// The tiles of Tile (cut at DstRect's right and bottom edges), each drawn
// whole when it meets DstClip: the clip chooses tiles, it cuts none.
template <class Target>
void TileClipped(TspBitmap* Self, Target T, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  const bool All = DstClip.Right <= DstClip.Left || DstClip.Bottom <= DstClip.Top;
  ForEachTile(DstRect, SrcRect, [&](const TRect& D, const TRect& S) {
    if (All || Intersects(D, DstClip)) Self->Draw(T, D, S);
  });
}

}  // namespace

void TspBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileClipped(this, DC, DstRect, DstClip, SrcRect);
}
void TspBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileClipped(this, Canvas->Handle(), DstRect, DstClip, SrcRect);
}
void TspBitmap::TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileClipped(this, Bitmap, DstRect, DstClip, SrcRect);
}

void TspBitmap::MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  if (!Bitmap) return;
  GdiFlush();
  MergeUnder(Surface(), X, Y, Bitmap->Surface(), SrcRect);
}

void TspBitmap::FillRect(const TRect& R, TspColor Color) {
  GdiFlush();
  FillSurfaceRect(Surface(), R, Color, FAlphaBlend);
}

void TspBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
  if (Empty() || !Graphic) return;
  TBitmap Temp;
  Temp.SetPixelFormat(pf32bit);
  Temp.SetSize(FWidth, FHeight);
  TCanvas* C = Temp.Canvas();
  C->Brush()->SetColor(TColor(0xFF00FF));
  C->Brush()->SetStyle(bsSolid);
  C->Pen()->SetColor(TColor(0xFF00FF));
  C->Rectangle(-1, -1, FWidth + 1, FHeight + 1);
  C->StretchDraw(DstRect, Graphic);
  GdiFlush();
  for (Integer y = 0; y < FHeight; ++y) {
    const auto* Row = static_cast<const TspColor*>(Temp.ScanLine(y));
    for (Integer x = 0; x < FWidth; ++x)
      if ((Row[x] & 0x00FFFFFF) != 0x00FF00FF) SetPixel(x, y, Row[x]);
  }
}

// ---------------------------------------------------------------------------
// Bitmap link

bool TspBitmapLink::Assigned() const {
  return FImage && Int64(FRect.Right - FRect.Left) * (FRect.Bottom - FRect.Top) > 0;
}

void TspBitmapLink::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TspBitmapLink*>(Source)) {
    FImage = S->FImage;
    FRect = S->FRect;
    FName = S->FName;
    FMaskedBorder = S->FMaskedBorder;
    FMaskedAngles = S->FMaskedAngles;
    FMasked = S->FMasked;
    return;
  }
  TPersistent::Assign(Source);
}

void TspBitmapLink::SaveToStream(TStream* Stream) {
  WriteSkinString(Stream, FName);
  const Integer R[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
  Stream->WriteBuffer(R, 16);
}

void TspBitmapLink::LoadFromStream(TStream* Stream) {
  const String Name = ReadSkinString(Stream);
  Integer R[4];
  Stream->ReadBuffer(R, 16);
  FName = Name;
  FRect = TRect(R[0], R[1], R[2], R[3]);
}

namespace {

bool SeeThrough(TspBitmap* Image, Integer X, Integer Y) {
  const TspColor P = Image->GetPixel(X, Y);
  return P != 0x33333333u && (P >> 24) < 255;
}

}  // namespace

void TspBitmapLink::CheckingMasked() { CheckingMasked(TRect()); }

void TspBitmapLink::CheckingMasked(const TRect& Margin) {
  FMasked = FMaskedBorder = FMaskedAngles = false;
  if (!FImage) return;
  const Integer w = FRect.Width(), h = FRect.Height();
  if (Margin == TRect()) {
    for (Integer y = 0; y < h && !FMasked; ++y)
      for (Integer x = 0; x < w; ++x)
        if (SeeThrough(FImage, FRect.Left + x, FRect.Top + y)) {
          FMasked = true;
          break;
        }
    return;
  }
  const TRect Corners[4] = {TRect(0, 0, Margin.Left, Margin.Top), TRect(w - Margin.Right, 0, w, Margin.Top),
                            TRect(w - Margin.Right, h - Margin.Bottom, w, h), TRect(0, h - Margin.Bottom, Margin.Left, h)};
  const TRect Edges[4] = {TRect(Margin.Left, 0, w - Margin.Right, Margin.Top),
                          TRect(Margin.Left, h - Margin.Bottom, w - Margin.Right, h),
                          TRect(0, Margin.Top, Margin.Left, h - Margin.Bottom),
                          TRect(w - Margin.Right, Margin.Top, w, h - Margin.Bottom)};
  const TRect Centre(Margin.Left, Margin.Top, w - Margin.Right, h - Margin.Bottom);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      if (!SeeThrough(FImage, FRect.Left + x, FRect.Top + y)) continue;
      const TPoint P(x, y);
      for (const TRect& R : Corners)
        if (PointInRect(R, P)) FMaskedAngles = true;
      for (const TRect& R : Edges)
        if (PointInRect(R, P)) FMaskedBorder = true;
      if (PointInRect(Centre, P)) FMasked = true;
    }
}

void TspBitmapLink::Draw(TspBitmap* Bitmap, Integer X, Integer Y) {
  if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0) FImage->Draw(Bitmap, X, Y, FRect);
}

void TspBitmapLink::Draw(TCanvas* Canvas, Integer X, Integer Y) {
  if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0) FImage->Draw(Canvas, X, Y, FRect);
}

TspBitmapLink* TspBitmap::GetBitmapLink(const TRect& Rect) {
  auto* L = new TspBitmapLink();
  L->SetImage(this);
  L->SetName(FName);
  L->SetRect(Rect);
  return L;
}

TspBitmapLink* TspBitmap::GetBitmapLink(const String& Rect) { return GetBitmapLink(ParseRectString(Rect)); }

namespace {

// The word up to the first separator; word and rest trimmed of blanks.
String ReadWord(String& S) {
  static const String Seps = u" (),:;=";
  const size_t P = S.find_first_of(Seps);
  const String W = P == String::npos ? S : S.substr(0, P);
  S = Trim(P == String::npos ? String() : S.substr(P + 1));
  return Trim(W);
}

}  // namespace

TRect ParseRectString(String S) {
  Integer V[4];
  for (Integer& v : V) {
    const String W = ReadWord(S);
    if (!TryStrToInt(W, v)) return TRect();
  }
  return TRect(V[0], V[1], V[2], V[3]);
}

// ---------------------------------------------------------------------------
// Colours, blur, alpha

TspColor ColorToSpColor(TColor Color, Byte Alpha) {
  return (RGBToSpColor(Cardinal(ColorToRGB(Color))) & 0x00FFFFFFu) | (TspColor(Alpha) << 24);
}

void StackBlurBitmap(TspBitmap* Bitmap, Integer Radius) {
  if (!Bitmap || Bitmap->Empty() || Radius <= 0) return;
  GdiFlush();
  StackBlurPixels(Bitmap->Bits(), Bitmap->Width(), Bitmap->Height(), Radius);
}

void AlphaFromGrayBitmap(TspBitmap* Bitmap, TspBitmap* Mask) {
  if (!Bitmap || !Mask || Bitmap->Empty() || Mask->Empty()) return;
  GdiFlush();
  AlphaFromGrayPixels(Bitmap->Bits(), Bitmap->Width(), Bitmap->Height(), Mask->Bits(), Mask->Width(), Mask->Height());
}

void AlphaFromGrayBitmapChecked(TspBitmap* Bitmap, TspBitmap* Mask) {
  AlphaFromGrayBitmap(Bitmap, Mask);
  if (Bitmap) Bitmap->CheckRGBA2();
}

// ---------------------------------------------------------------------------
// Processor and system tests, start-up

bool CheckMMX() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("mmx");
#else
  return false;
#endif
}

Integer ScreenBitsPerPixel() {
  HDC DC = GetDC(nullptr);
  const Integer Bits = GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES);
  ReleaseDC(nullptr, DC);
  return Bits;
}

bool IsTrueColorScreen() { return ScreenBitsPerPixel() > 23; }

bool CheckWindowsVersion() {
  const DWORD V = GetVersion();
  return CheckWindowsVersionOf(Integer(LOBYTE(LOWORD(V))), Integer(HIBYTE(LOWORD(V))));
}

void InitAlphaBlendFunctions() {
  if (Msimg32 || !CheckWindowsVersion()) return;
  Msimg32 = LoadLibraryW(L"msimg32.dll");
  if (!Msimg32) return;
  spTransparentBlt = reinterpret_cast<TTransparentBltProc>(reinterpret_cast<void*>(GetProcAddress(Msimg32, "TransparentBlt")));
  spAlphaBlend = reinterpret_cast<TAlphaBlendProc>(reinterpret_cast<void*>(GetProcAddress(Msimg32, "AlphaBlend")));
  Msimg32Loaded = spTransparentBlt != nullptr;
}

bool AlphaBlendApiLoaded() { return Msimg32Loaded; }

// The blending routines compute one set of numbers on every processor (the
// MMX variant's); nothing is left to choose.
void InitPixelRoutines() {}

void InitDrawRoutines() { KeyedDrawUsesTransparentBlt = AlphaBlendApiLoaded() && IsTrueColorScreen(); }

void InitializeSpBitmapUnit() {
  MMXAvailable = CheckMMX();
  InitAlphaBlendFunctions();
  InitPixelRoutines();
  InitDrawRoutines();
}

void FinalizeSpBitmapUnit() {
  if (Msimg32) FreeLibrary(Msimg32);
  Msimg32 = nullptr;
  Msimg32Loaded = false;
  spTransparentBlt = nullptr;
  spAlphaBlend = nullptr;
  KeyedDrawUsesTransparentBlt = false;
  delete LiveBitmapList;
  LiveBitmapList = nullptr;
}
