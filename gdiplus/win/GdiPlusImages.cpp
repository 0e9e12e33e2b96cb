// Images, bitmaps, encoders and encoder parameters. Files and streams go
// through memory: libgdiplus takes no IStream and opens files by their UTF-8
// name, so the bytes are read and written with Win32 and decoded or encoded
// through the library's delegate functions.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"
#include "rtl/CallbackGuard.h"
#include "rtl/SysUtils.h"

using namespace gdipflat;
using namespace gdiplus_shared;

namespace {

// ---------------------------------------------------------------------------
// Memory streams behind the delegates (one per thread and call: the
// delegates carry no user pointer).

struct TMemStream {
  std::vector<BYTE> Data;
  size_t Pos = 0;
};

thread_local TMemStream* CurStream = nullptr;

// Native-convention callbacks: nothing may escape them.
INT DelegateGetHeader(BYTE* Buf, INT Size) {
  if (CurStream == nullptr || Buf == nullptr || Size <= 0) return 0;
  const size_t n = std::min(size_t(Size), CurStream->Data.size());
  if (n) std::memcpy(Buf, CurStream->Data.data(), n);
  return INT(n);
}

INT DelegateGetBytes(BYTE* Buf, INT Size, BOOL Peek) {
  if (CurStream == nullptr || Buf == nullptr || Size <= 0) return 0;
  TMemStream& s = *CurStream;
  if (s.Pos >= s.Data.size()) return 0;
  const size_t n = std::min(size_t(Size), s.Data.size() - s.Pos);
  std::memcpy(Buf, s.Data.data() + s.Pos, n);
  if (!Peek) s.Pos += n;
  return INT(n);
}

long DelegateSeek(INT Offset, INT Whence) {
  if (CurStream == nullptr) return -1;
  TMemStream& s = *CurStream;
  long long base = Whence == 0 ? 0 : Whence == 1 ? (long long)s.Pos : Whence == 2 ? (long long)s.Data.size() : -1;
  if (base < 0) return -1;
  const long long to = base + Offset;
  if (to < 0 || to > (long long)s.Data.size()) return -1;
  s.Pos = size_t(to);
  return long(to);
}

INT DelegatePutBytes(BYTE* Buf, INT Size) {
  if (CurStream == nullptr || Buf == nullptr || Size < 0) return 0;
  return CallbackGuard(nullptr, INT(0), [&] {  // no memory: nothing written, the save fails
    TMemStream& s = *CurStream;
    const size_t end = s.Pos + size_t(Size);
    if (end > s.Data.size()) s.Data.resize(end);
    std::memcpy(s.Data.data() + s.Pos, Buf, size_t(Size));
    s.Pos = end;
    return Size;
  });
}

void DelegateClose() {}

long DelegateSize() { return CurStream != nullptr ? long(CurStream->Data.size()) : 0; }

struct TStreamScope {
  TMemStream* Saved;
  explicit TStreamScope(TMemStream* S) : Saved(CurStream) { CurStream = S; }
  ~TStreamScope() { CurStream = Saved; }
};

GpImage* DecodeMemory(TMemStream& S) {
  if (S.Data.empty() || S.Data.size() > size_t(INT_MAX)) return nullptr;
  TStreamScope scope(&S);
  GpImage* img = nullptr;
  if (Gp.GdipLoadImageFromDelegate_linux(DelegateGetHeader, DelegateGetBytes, DelegatePutBytes, DelegateSeek,
                                          DelegateClose, DelegateSize, &img) != Ok)
    return nullptr;
  return img;
}

bool ReadFileBytes(const String& FileName, std::vector<BYTE>& Out) {
  HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(FileName.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart <= INT_MAX) {
    try {
      Out.resize(size_t(size.QuadPart));
      DWORD got = 0;
      ok = ReadFile(h, Out.data(), DWORD(Out.size()), &got, nullptr) && got == Out.size();
    } catch (...) {
      ok = false;
    }
  }
  CloseHandle(h);
  return ok;
}

bool ReadStreamBytes(IStream* Stream, std::vector<BYTE>& Out) {
  if (Stream == nullptr) return false;
  try {
    BYTE chunk[65536];
    for (;;) {
      ULONG got = 0;
      const HRESULT hr = Stream->Read(chunk, sizeof(chunk), &got);
      if (FAILED(hr)) return false;
      if (got == 0) break;
      if (Out.size() + got > size_t(INT_MAX)) return false;
      Out.insert(Out.end(), chunk, chunk + got);
      if (hr == S_FALSE) break;
    }
  } catch (...) {
    return false;
  }
  return true;
}

GpImage* DecodeFile(const String& FileName) {
  TMemStream s;
  if (!ReadFileBytes(FileName, s.Data)) return nullptr;
  return DecodeMemory(s);
}

GpImage* DecodeStream(IStream* Stream) {
  TMemStream s;
  if (!ReadStreamBytes(Stream, s.Data)) return nullptr;
  return DecodeMemory(s);
}

// ---------------------------------------------------------------------------
// Encoder cache

void FillEncoderCache() {
  AcquireSRWLockExclusive(&Lock);
  if (!EncodersFilled) {
    EncodersFilled = true;
    UINT count = 0, size = 0;
    Gp.GdipGetImageEncodersSize(&count, &size);
    if (size != 0) {
      std::vector<BYTE> block(size);
      auto* infos = reinterpret_cast<GpImageCodecInfo*>(block.data());
      if (Gp.GdipGetImageEncoders(count, size, infos) == Ok) {
        const TGUID* ids[5] = {&ImageFormatBMP, &ImageFormatJPEG, &ImageFormatGIF, &ImageFormatTIFF, &ImageFormatPNG};
        for (UINT i = 0; i < count; ++i)
          for (int k = 0; k < 5; ++k)
            if (infos[i].FormatID == *ids[k]) {
              auto* f = new TGPImageFormat(infos[i].FormatID, infos[i].Clsid);
              f->_AddRef();
              if (Encoders[k] != nullptr) Encoders[k]->_Release();
              Encoders[k] = f;
            }
      }
    }
  }
  const bool all = Encoders[0] && Encoders[1] && Encoders[2] && Encoders[3] && Encoders[4];
  ReleaseSRWLockExclusive(&Lock);
  GP_ASSERT(all);
}

IGPImageFormat CachedEncoder(int K) {
  FillEncoderCache();
  AcquireSRWLockShared(&Lock);
  IGPImageFormat f(Encoders[K]);
  ReleaseSRWLockShared(&Lock);
  return f;
}

}  // namespace

IGPImageFormat TGPImageFormat::BmpFormat() { return CachedEncoder(0); }
IGPImageFormat TGPImageFormat::JpegFormat() { return CachedEncoder(1); }
IGPImageFormat TGPImageFormat::GifFormat() { return CachedEncoder(2); }
IGPImageFormat TGPImageFormat::TiffFormat() { return CachedEncoder(3); }
IGPImageFormat TGPImageFormat::PngFormat() { return CachedEncoder(4); }

IGPImageFormat TGPImageFormat::FindByFormatId(const TGUID& Id) {
  FillEncoderCache();
  for (int k : {0, 2, 1, 4, 3}) {  // BMP, GIF, JPEG, PNG, TIFF
    IGPImageFormat f = CachedEncoder(k);
    if (f && f->GetGuid() == Id) return f;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Encoder parameters

namespace {

size_t ValueTypeSize(Integer ValueType) {
  switch (ValueType) {
    case 1: case 2: case 7: return 1;
    case 3: return 2;
    case 4: return 4;
    case 5: case 6: return 8;
    case 8: return 16;
    default: GP_ASSERT(false); return 1;
  }
}

}  // namespace

TGPEncoderParameters::TGPEncoderParameters(const GpEncoderParameters* Native) {
  if (Native == nullptr) return;
  for (UINT i = 0; i < Native->Count; ++i) {
    const GpEncoderParameter& p = Native->Parameter[i];
    Add(p.Guid, p.NumberOfValues, Integer(p.Type), p.Value);
  }
}

TGPEncoderParameters::~TGPEncoderParameters() {
  std::free(FValues);
  std::free(FNativeParams);
}

void TGPEncoderParameters::Clear() {
  FParamCount = 0;
  FValueSize = 0;
  FModified = true;
}

void TGPEncoderParameters::Add(const TGUID& ParamType, Integer Value) { Add(ParamType, 1, 4, &Value); }

void TGPEncoderParameters::Add(const TGUID& ParamType, const std::vector<Integer>& Values) {
  GP_ASSERT(!Values.empty());
  Add(ParamType, Cardinal(Values.size()), 4, Values.data());
}

void TGPEncoderParameters::Add(const TGUID& ParamType, Cardinal NumberOfValues, Integer ValueType, const void* Value) {
  const size_t size = size_t(NumberOfValues) * ValueTypeSize(ValueType);
  FModified = true;
  if (size_t(FParamCount) >= FParams.size()) {
    FParams.resize(size_t(FParamCount) + 4);
    FOffsets.resize(FParams.size());
  }
  if (FValueSize + size > FValueAllocated) {
    const size_t cap = FValueSize + size + 64;
    Byte* nv = static_cast<Byte*>(std::realloc(FValues, cap));
    if (nv == nullptr) throw EOutOfMemory(u"Out of memory");
    FValues = nv;
    FValueAllocated = cap;
    // The block moved: every earlier entry points into the new one.
    for (Integer i = 0; i < FParamCount; ++i) FParams[size_t(i)].Value = FValues + FOffsets[size_t(i)];
  }
  if (size) std::memcpy(FValues + FValueSize, Value, size);
  GpEncoderParameter& e = FParams[size_t(FParamCount)];
  e.Guid = ParamType;
  e.NumberOfValues = NumberOfValues;
  e.Type = UINT(ValueType);
  e.Value = FValues + FValueSize;
  FOffsets[size_t(FParamCount)] = FValueSize;
  FValueSize += size;
  ++FParamCount;
}

GpEncoderParameters* TGPEncoderParameters::GetNative() {
  if (FNativeParams == nullptr || FModified) {
    const size_t bytes = offsetof(GpEncoderParameters, Parameter) + sizeof(GpEncoderParameter) * size_t(FParamCount);
    auto* n = static_cast<GpEncoderParameters*>(std::realloc(FNativeParams, bytes < sizeof(GpEncoderParameters) ? sizeof(GpEncoderParameters) : bytes));
    if (n == nullptr) throw EOutOfMemory(u"Out of memory");
    FNativeParams = n;
    n->Count = UINT(FParamCount);
    for (Integer i = 0; i < FParamCount; ++i) n->Parameter[i] = FParams[size_t(i)];
    FModified = false;
  }
  return FNativeParams;
}

// ---------------------------------------------------------------------------
// Images

TGPImage::TGPImage(const String& FileName, bool) { FNativeHandle = DecodeFile(FileName); }
TGPImage::TGPImage(IStream* Stream, bool) { FNativeHandle = DecodeStream(Stream); }
IGPImage TGPImage::FromFile(const String& FileName, bool Icm) { return new TGPImage(FileName, Icm); }
IGPImage TGPImage::FromStream(IStream* Stream, bool Icm) { return new TGPImage(Stream, Icm); }
TGPImage* TGPImage::Wrap(GpImage* Handle) { return new TGPImage(static_cast<void*>(Handle)); }
TGPImage::~TGPImage() { Gp.GdipDisposeImage(Native()); }

Integer TGPImage::GetType() {
  INT t = 0;
  Gp.GdipGetImageType(Native(), &t);
  return t;
}

Cardinal TGPImage::GetWidth() {
  UINT v = 0;
  Gp.GdipGetImageWidth(Native(), &v);
  return v;
}

Cardinal TGPImage::GetHeight() {
  UINT v = 0;
  Gp.GdipGetImageHeight(Native(), &v);
  return v;
}

Single TGPImage::GetHorizontalResolution() {
  REAL v = 0;
  Gp.GdipGetImageHorizontalResolution(Native(), &v);
  return v;
}

Single TGPImage::GetVerticalResolution() {
  REAL v = 0;
  Gp.GdipGetImageVerticalResolution(Native(), &v);
  return v;
}

Cardinal TGPImage::GetFlags() {
  UINT v = 0;
  Gp.GdipGetImageFlags(Native(), &v);
  return v;
}

void TGPImage::GetRawFormat(TGUID& Format) { Gp.GdipGetImageRawFormat(Native(), &Format); }

Integer TGPImage::GetPixelFormat() {
  PixelFormat f = 0;
  Gp.GdipGetImagePixelFormat(Native(), &f);
  return f;
}

IGPImage TGPImage::Clone() {
  GpImage* i = nullptr;
  Gp.GdipCloneImage(Native(), &i);
  return Wrap(i);
}

bool TGPImage::Save(IStream* Stream, const IGPImageFormat& Format, const IGPEncoderParameters& Params) {
  GP_ASSERT(Format);
  if (Stream == nullptr || Native() == nullptr) return false;
  TMemStream s;
  const TGUID codec = Format->GetCodecId();
  GpStatus st;
  {
    TStreamScope scope(&s);
    st = Gp.GdipSaveImageToDelegate_linux(Native(), DelegateGetBytes, DelegatePutBytes, DelegateSeek, DelegateClose,
                                           DelegateSize, &codec, Params ? Params->GetNative() : nullptr);
  }
  if (st != Ok || s.Data.empty()) return false;
  ULONG written = 0;
  return SUCCEEDED(Stream->Write(s.Data.data(), ULONG(s.Data.size()), &written)) && written == s.Data.size();
}

IGPImage TGPImage::GetThumbnailImage(Cardinal W, Cardinal H) {
  GpImage* t = nullptr;
  Gp.GdipGetImageThumbnail(Native(), W, H, &t, nullptr, nullptr);
  return Wrap(t);
}

// ---------------------------------------------------------------------------
// Bitmaps

TGPBitmap::TGPBitmap(const String& FileName, bool) { FNativeHandle = DecodeFile(FileName); }
TGPBitmap::TGPBitmap(IStream* Stream, bool) { FNativeHandle = DecodeStream(Stream); }

TGPBitmap::TGPBitmap(Integer W, Integer H, Integer Stride, Integer Format, void* Scan0) {
  GpBitmap* b = nullptr;
  Gp.GdipCreateBitmapFromScan0(W, H, Stride, Format, static_cast<BYTE*>(Scan0), &b);
  FNativeHandle = b;
}

TGPBitmap::TGPBitmap(Integer W, Integer H, Integer Format) {
  GpBitmap* b = nullptr;
  Gp.GdipCreateBitmapFromScan0(W, H, 0, Format, nullptr, &b);
  FNativeHandle = b;
}

TGPBitmap::TGPBitmap(HBITMAP Bitmap, HPALETTE) {
  BITMAP bm;
  if (Bitmap == nullptr || GetObjectW(Bitmap, sizeof(bm), &bm) != int(sizeof(bm)) || bm.bmWidth <= 0 ||
      bm.bmHeight <= 0)
    return;
  const Integer w = bm.bmWidth, h = bm.bmHeight;
  std::vector<uint32_t> px;
  try {
    px.resize(size_t(w) * size_t(h));
  } catch (...) {
    return;
  }
  BITMAPINFO bi;
  std::memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  const int lines = GetDIBits(dc, Bitmap, 0, UINT(h), px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (lines != h) return;
  for (auto& p : px) p |= 0xFF000000u;  // a Windows bitmap's fourth byte is no alpha
  GpBitmap* over = nullptr;
  if (Gp.GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(px.data()), &over) != Ok)
    return;
  GpBitmap* copy = nullptr;
  const PixelFormat target = bm.bmBitsPixel == 24 ? PixelFormat24bppRGB : PixelFormat32bppRGB;
  if (Gp.GdipCloneBitmapAreaI(0, 0, w, h, target, over, &copy) != Ok) {
    copy = nullptr;
    if (Gp.GdipCloneBitmapAreaI(0, 0, w, h, PixelFormat32bppRGB, over, &copy) != Ok) copy = nullptr;
  }
  Gp.GdipDisposeImage(over);
  FNativeHandle = copy;
}

IGPBitmap TGPBitmap::FromFile(const String& FileName, bool Icm) { return new TGPBitmap(FileName, Icm); }
IGPBitmap TGPBitmap::FromStream(IStream* Stream, bool Icm) { return new TGPBitmap(Stream, Icm); }
IGPBitmap TGPBitmap::FromHBitmap(HBITMAP Bitmap, HPALETTE Palette) { return new TGPBitmap(Bitmap, Palette); }

TGPColor TGPBitmap::GetPixel(Integer X, Integer Y) {
  ARGB c = 0;
  Gp.GdipBitmapGetPixel(Native(), X, Y, &c);
  return c;
}

void TGPBitmap::SetPixel(Integer X, Integer Y, TGPColor C) { Gp.GdipBitmapSetPixel(Native(), X, Y, C); }

IGPBitmap TGPBitmap::Clone() { return Clone(0, 0, Integer(GetWidth()), Integer(GetHeight()), GetPixelFormat()); }
IGPBitmap TGPBitmap::Clone(const TGPRect& R, Integer F) { return Clone(R.X, R.Y, R.Width, R.Height, F); }

IGPBitmap TGPBitmap::Clone(Integer X, Integer Y, Integer W, Integer H, Integer F) {
  GpBitmap* b = nullptr;
  Gp.GdipCloneBitmapAreaI(X, Y, W, H, F, Native(), &b);
  return new TGPBitmap(TWrapTag{}, b);
}

IGPBitmap TGPBitmap::Clone(const TGPRectF& R, Integer F) { return Clone(R.X, R.Y, R.Width, R.Height, F); }

IGPBitmap TGPBitmap::Clone(Single X, Single Y, Single W, Single H, Integer F) {
  GpBitmap* b = nullptr;
  Gp.GdipCloneBitmapArea(X, Y, W, H, F, Native(), &b);
  return new TGPBitmap(TWrapTag{}, b);
}

GpStatus TGPBitmap::LockBits(const TGPRect& R, Cardinal Flags, Integer Format, GpBitmapData& Data) {
  return Gp.GdipBitmapLockBits(Native(), &R, Flags, Format, &Data);
}

GpStatus TGPBitmap::UnlockBits(GpBitmapData& Data) { return Gp.GdipBitmapUnlockBits(Native(), &Data); }

void TGPBitmap::SetResolution(Single X, Single Y) { Gp.GdipBitmapSetResolution(Native(), X, Y); }

HBITMAP TGPBitmap::GetHBITMAP(TGPColor Background) {
  const Integer w = Integer(GetWidth()), h = Integer(GetHeight());
  if (w <= 0 || h <= 0) return nullptr;
  GpBitmapData data;
  std::memset(&data, 0, sizeof(data));
  const TGPRect r{0, 0, w, h};
  if (LockBits(r, ImageLockModeRead, PixelFormat32bppARGB, data) != Ok) return nullptr;
  BITMAPINFO bi;
  std::memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP result = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (result != nullptr) {
    const uint32_t bg = Background.FArgb;
    for (Integer y = 0; y < h; ++y) {
      const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + ptrdiff_t(y) * data.Stride);
      auto* dst = static_cast<uint32_t*>(bits) + size_t(y) * size_t(w);
      for (Integer x = 0; x < w; ++x) {
        const uint32_t s = src[x];
        const uint32_t a = s >> 24;
        if (a == 255) {
          dst[x] = s;
          continue;
        }
        // Straight source over the (straight) background.
        const uint32_t ba = bg >> 24;
        const uint32_t dw = ba * (255 - a);
        const uint32_t A = a * 255 + dw;
        uint32_t out = ((A + 127) / 255) << 24;
        if (A != 0)
          for (int sh = 0; sh <= 16; sh += 8) {
            const uint32_t c = (((s >> sh) & 0xFF) * a * 255 + ((bg >> sh) & 0xFF) * dw + A / 2) / A;
            out |= (c > 255 ? 255 : c) << sh;
          }
        dst[x] = out;
      }
    }
  }
  UnlockBits(data);
  return result;
}
