#include "document/win/StylePacks.h"

#include <objidl.h>
#include <ole2.h>

#include <cstring>
#include <memory>

#include "classlib/Graphics.h"
#include "classlib/JPEG.h"
#include "foundation/app/HyAppUtils.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

TDataTable* BrushPackDT = nullptr;

namespace {

String Widen(const std::string& Ansi) {
  if (Ansi.empty()) return String();
  const int n = MultiByteToWideChar(CP_ACP, 0, Ansi.data(), int(Ansi.size()), nullptr, 0);
  if (n <= 0) throw Exception(u"the table text cannot be read in the system's code page");
  String s(size_t(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, Ansi.data(), int(Ansi.size()), reinterpret_cast<LPWSTR>(s.data()), n);
  return s;
}

// A memory stream over a copy of Bytes, at position 0.
std::unique_ptr<TMemoryStream> StreamOf(const std::vector<std::uint8_t>& Bytes) {
  auto ms = std::make_unique<TMemoryStream>();
  ms->WriteBuffer(Bytes.data(), Integer(Bytes.size()));
  ms->SetPosition(0);
  return ms;
}

TBitmap32* FromJpeg(const std::vector<std::uint8_t>& Bytes) {
  TJPEGImage jpeg;
  jpeg.LoadFromStream(StreamOf(Bytes).get());
  auto bmp = std::make_unique<TBitmap32>();
  bmp->SetSize(jpeg.Width(), jpeg.Height());
  const std::vector<Byte>& px = jpeg.Pixels();  // B, G, R
  TColor32* d = bmp->Bits();
  for (size_t i = 0, n = size_t(jpeg.Width()) * size_t(jpeg.Height()); i < n; ++i)
    d[i] = 0xFF000000u | TColor32(px[3 * i + 2]) << 16 | TColor32(px[3 * i + 1]) << 8 | px[3 * i];
  return bmp.release();
}

TBitmap32* FromClassLibraryBitmap(const std::vector<std::uint8_t>& Bytes) {
  TBitmap b;
  b.LoadFromStream(StreamOf(Bytes).get());
  auto bmp = std::make_unique<TBitmap32>();
  AssignFromGraphic(bmp.get(), &b);
  return bmp.release();
}

TBitmap32* FromBitmapForm(const std::vector<std::uint8_t>& Bytes) {
  auto bmp = std::make_unique<TBitmap32>();
  LoadBitmap32FromStream(bmp.get(), StreamOf(Bytes).get());
  return bmp.release();
}

// GDI+ decodes from an IStream over the bytes; the picture keeps its alpha.
// The result is a new bitmap of the picture's size holding the picture at
// (0, 0) at its full size, as frame pack 3 asks.
TBitmap32* FromGdiPlus(const std::vector<std::uint8_t>& Bytes) {
  IStream* s = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &s) != S_OK || s == nullptr) throw Exception(u"no memory stream");
  struct TRelease {
    IStream* S;
    ~TRelease() { S->Release(); }
  } release{s};
  ULONG written = 0;
  LARGE_INTEGER zero{};
  if (s->Write(Bytes.data(), ULONG(Bytes.size()), &written) != S_OK || written != Bytes.size() ||
      s->Seek(zero, STREAM_SEEK_SET, nullptr) != S_OK)
    throw Exception(u"the picture cannot be put into a stream");
  IGPBitmap gp(new TGPBitmap(s));
  if (gp->Native() == nullptr) return nullptr;
  bool alpha = false;
  Integer depth = 0;
  return GPBitmapToBitmap32(gp, alpha, depth);
}

TCustomBitmap32* Decode(TPackPicture Kind, const std::vector<std::uint8_t>& Bytes) {
  switch (Kind) {
    case TPackPicture::ZlibJpeg: return FromJpeg(Bytes);
    case TPackPicture::ZlibBmp: return FromClassLibraryBitmap(Bytes);
    case TPackPicture::ZlibBitmapForm: return FromBitmapForm(Bytes);
    case TPackPicture::PlainPicture:
    case TPackPicture::ZlibPicture: return FromGdiPlus(Bytes);
  }
  return nullptr;
}

// The whole file, or false (with Error) when it cannot be read.
bool ReadWholeFile(const String& FileName, std::vector<std::uint8_t>& Bytes, String& Error) {
  try {
    TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
    const Int64 size = fs.Size();
    if (size > 0x7FFFFFFF) {
      Error = u"the file is larger than 2 GB";
      return false;
    }
    Bytes.resize(size_t(size));
    if (size > 0) fs.ReadBuffer(Bytes.data(), Integer(size));
    return true;
  } catch (const Exception& E) {
    Error = E.Message();
  } catch (const std::exception& E) {
    Error = UTF8Decode(E.what());
  }
  return false;
}

// Loads the pack file; false when it is missing or refused (then logged).
bool LoadPackFile(TDataTable* Table, const String& FileName, TStylePackKind Kind) {
  if (Table == nullptr || !FileExists(FileName)) return false;
  std::vector<std::uint8_t> bytes;
  String error;
  if (ReadWholeFile(FileName, bytes, error) &&
      LoadStylePackBytes(Table, Kind, bytes.data(), bytes.size(), StylePackPlatformHooks(), error))
    return true;
  LogStylePack(u"Style pack \"" + FileName + u"\" refused: " + error);
  return false;
}

String MediaFile(const char16_t* Name) { return ExePath + u"Media\\" + Name; }

}  // namespace

TStylePackHooks StylePackPlatformHooks() {
  TStylePackHooks h;
  h.Widen = Widen;
  h.Decode = Decode;
  h.NewBitmap = [] { return new TBitmap32(); };
  return h;
}

void LoadEffectsPack(TDataTable* Table) { LoadPackFile(Table, MediaFile(u"Effects.dat"), TStylePackKind::Effects); }
void LoadPatternPack(TDataTable* Table) { LoadPackFile(Table, MediaFile(u"Pattern.dat"), TStylePackKind::Pattern); }
void LoadBrushPack(TDataTable* Table) { LoadPackFile(Table, MediaFile(u"Brush.dat"), TStylePackKind::Brush); }
void LoadShadowPack(TDataTable* Table) { LoadPackFile(Table, MediaFile(u"Shadow.dat"), TStylePackKind::Shadow); }
void LoadReflectionPack(TDataTable* Table) {
  LoadPackFile(Table, MediaFile(u"Reflection.dat"), TStylePackKind::Reflection);
}

bool LoadStylePack(TDataTable* Table, const String& FileName) {
  return LoadPackFile(Table, FileName, TStylePackKind::FrameStyle);
}
bool LoadNestedStylePack(TDataTable* Table, const String& FileName) {
  return LoadPackFile(Table, FileName, TStylePackKind::FrameNested);
}
bool LoadImageStylePack(TDataTable* Table, const String& FileName) {
  return LoadPackFile(Table, FileName, TStylePackKind::FrameImage);
}

String FramePackFileName(Integer Kind) { return ExePath + u"Media\\frame" + IntToStr(Kind) + u".dat"; }

bool ReadNestedPackStream(TDataTable* Table, TMemoryStream* Stream) {
  if (Table == nullptr || Stream == nullptr) return false;
  String error;
  if (LoadStylePackBytes(Table, TStylePackKind::LayerTable, static_cast<const std::uint8_t*>(Stream->Memory()),
                         size_t(Stream->Size()), StylePackPlatformHooks(), error))
    return true;
  LogStylePack(u"Layer table refused: " + error);
  return false;
}

void FillGradientPreview(TBitmap32* Bitmap, const TRect& Rect, const std::vector<TGPColor>& Colors,
                         const std::vector<Single>& Positions, Integer Mode) {
  if (Bitmap == nullptr || Bitmap->Empty() || Colors.size() < 2 || Colors.size() != Positions.size()) return;
  const TGPRect r = MakeGPRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
  if (r.Width <= 0 || r.Height <= 0) return;
  IGPGraphics g = TGPGraphics::FromHDC(Bitmap->Handle());
  IGPLinearGradientBrush brush(
      new TGPLinearGradientBrush(r, TGPColor(0xFF0000FFu), TGPColor(0xFFFF0000u), TGPLinearGradientMode(Mode)));
  brush->SetInterpolationColors(IGPColorBlend(new TGPColorBlend(Colors, Positions)));
  g->FillRectangle(IGPBrush(brush), r);
  // The drawing reaches the bitmap when the graphics is released here.
}
