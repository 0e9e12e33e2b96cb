// Image files: decoding JPEG, PNG, GIF and BMP through the codec units
// straight into the bitmap (GDI+ for every other format and for the files
// the codecs leave to it), thumbnails, the extension map, and writing.
#include "gdiplus/win/ImageFiles.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>

#include "bitmap/VaZU32Vudover.h"
#include "classlib/CodecBmp.h"
#include "classlib/CodecGif.h"
#include "classlib/CodecJpeg.h"
#include "classlib/CodecPng.h"
#include "classlib/JPEG.h"
#include "classlib/PngImage.h"
#include "rtl/FileUtils.h"
#include "rtl/SizeMath.h"
#include "rtl/SysUtils.h"

namespace {

// Pixel-format codes of the GDI+ flat interface that the decoder tells apart.
constexpr Integer kFormat1bppIndexed = 0x00030101;
constexpr Integer kFormat4bppIndexed = 0x00030402;
constexpr Integer kFormat8bppIndexed = 0x00030803;
constexpr Integer kFormat16bppGrayScale = 0x00101004;
constexpr Integer kFormat16bppRGB555 = 0x00021005;
constexpr Integer kFormat16bppRGB565 = 0x00021006;
constexpr Integer kFormat24bppRGB = 0x00021808;
constexpr Integer kFormat32bppRGB = 0x00022009;
constexpr Integer kFormat32bppARGB = 0x0026200A;
constexpr Integer kFormat32bppPARGB = 0x000E200B;
constexpr Integer kFormatIndexedFlag = 0x00010000;
constexpr Integer kFormatAlphaFlag = 0x00040000;
constexpr Integer kFormatPremultipliedFlag = 0x00080000;

constexpr TColor32 kOpaque = 0xFF000000u;

Integer BitDepthOfFormat(Integer Format) {
  switch (Format) {
    case kFormat1bppIndexed: return 1;
    case kFormat4bppIndexed: return 4;
    case kFormat8bppIndexed: return 8;
    case kFormat16bppGrayScale:
    case kFormat16bppRGB555:
    case kFormat16bppRGB565: return 16;
    case kFormat24bppRGB: return 24;
    default: return 32;
  }
}

// Premultiplied pixels back to straight colour (rounded to nearest).
void Unpremultiply(TBitmap32* Bitmap) {
  TColor32* p = Bitmap->Bits();
  const size_t n = size_t(Bitmap->Width()) * size_t(Bitmap->Height());
  for (size_t i = 0; i < n; ++i) {
    const Cardinal a = p[i] >> 24;
    if (a == 255) continue;
    if (a == 0) {
      p[i] = 0;
      continue;
    }
    Cardinal c = a << 24;
    for (int s = 0; s < 24; s += 8) {
      const Cardinal v = std::min<Cardinal>(255, (((p[i] >> s) & 0xFF) * 255 + a / 2) / a);
      c |= v << s;
    }
    p[i] = c;
  }
}

// True when some pixel is below opaque; fully transparent pixels lose their
// colour on the way (a picture drawn over nothing keeps none).
bool ClearTransparentAndFindAlpha(TBitmap32* Bitmap) {
  TColor32* p = Bitmap->Bits();
  const size_t n = size_t(Bitmap->Width()) * size_t(Bitmap->Height());
  bool any = false;
  for (size_t i = 0; i < n; ++i) {
    const Cardinal a = p[i] >> 24;
    if (a == 255) continue;
    any = true;
    if (a == 0) p[i] = 0;
  }
  return any;
}

void MakeOpaque(TBitmap32* Bitmap) {
  TColor32* p = Bitmap->Bits();
  const size_t n = size_t(Bitmap->Width()) * size_t(Bitmap->Height());
  for (size_t i = 0; i < n; ++i) p[i] |= kOpaque;
}

// Sizes the bitmap; false (and 0 x 0) when it could not take the size.
bool SizeBitmap(TBitmap32* Bitmap, Integer W, Integer H) {
  Int64 bytes = 0;
  if (!CheckedProduct({Int64(W), Int64(H), 4}, INT_MAX, bytes)) return false;
  Bitmap->SetSize(W, H);
  if (Bitmap->Width() == W && Bitmap->Height() == H && Bitmap->Bits() != nullptr) return true;
  Bitmap->SetSize(0, 0);
  return false;
}

// ---------------------------------------------------------------------------
// The codec units' decoders. Each fills the bitmap with the pixels, the bit
// depth and the alpha flag the picture gets through GDI+ (the pixel format
// GDI+ gives such a file, as the image-file tests pin); what they leave to
// GDI+ (a layout they do not take, data they refuse) GDI+ decodes as
// before, so no file that opened before is refused.

struct TDecoded {
  bool HasAlpha = false;
  Integer Depth = -1;
};

// Refused: nothing to decode (a file that cannot be read, or a picture too
// large for a bitmap); GDI+ would refuse it too.
enum class TOutcome { Decoded, LeftToGdiPlus, Refused };

std::uint8_t* Rows(TBitmap32* Bitmap) { return reinterpret_cast<std::uint8_t*>(Bitmap->Bits()); }

TOutcome DecodeJpeg(const Byte* Data, size_t Size, TBitmap32* Dest, TDecoded& Out) {
  codec::JpegReader reader;
  codec::JpegReadOptions options;
  // As GDI+ decodes: chroma replicated, a file cut short shows what it holds.
  options.SmoothChroma = false;
  options.AllowTruncated = true;
  if (!reader.Start(Data, Size, options).empty()) return TOutcome::LeftToGdiPlus;
  if (!SizeBitmap(Dest, reader.Width(), reader.Height())) return TOutcome::Refused;
  if (!reader.Read(Rows(Dest), std::ptrdiff_t(reader.Width()) * 4, 4).empty()) return TOutcome::LeftToGdiPlus;
  switch (reader.ColorKind()) {
    case codec::JpegColorKind::Grey: Out.Depth = 8; break;
    case codec::JpegColorKind::Cmyk: Out.Depth = 32; break;
    default: Out.Depth = 24; break;
  }
  return TOutcome::Decoded;
}

TOutcome DecodePng(const Byte* Data, size_t Size, TBitmap32* Dest, TDecoded& Out) {
  codec::PngReader reader;
  if (!reader.Start(Data, Size).empty()) return TOutcome::LeftToGdiPlus;
  const codec::PngHeader& h = reader.Header();
  // What GDI+ makes of each layout: palettes of 1, 4 and 8 bits and 1-bit
  // greys stay indexed; 8-bit RGB is 24-bit RGB (its transparency chunk
  // unused); everything else becomes 32-bit ARGB, an alpha format.
  bool indexed = false, transparency = true;
  switch (h.ColorType) {
    case 3:
      indexed = h.BitDepth != 2;
      Out.Depth = indexed ? h.BitDepth : 32;
      break;
    case 0:
      indexed = h.BitDepth == 1;
      transparency = !indexed;
      Out.Depth = indexed ? 1 : 32;
      break;
    case 2:
      transparency = false;
      Out.Depth = h.BitDepth == 8 ? 24 : 32;
      break;
    default: Out.Depth = 32; break;
  }
  if (!SizeBitmap(Dest, h.Width, h.Height)) return TOutcome::Refused;
  if (!reader.Read(Rows(Dest), std::ptrdiff_t(h.Width) * 4, transparency).empty()) return TOutcome::LeftToGdiPlus;
  if (Out.Depth == 32)
    Out.HasAlpha = true;  // an alpha pixel format
  else if (indexed)
    Out.HasAlpha = ClearTransparentAndFindAlpha(Dest);
  return TOutcome::Decoded;
}

TOutcome DecodeGif(const Byte* Data, size_t Size, TBitmap32* Dest, TDecoded& Out) {
  codec::GifImage gif;
  if (!codec::GifDecode(Data, Size, gif).empty()) return TOutcome::LeftToGdiPlus;
  if (!SizeBitmap(Dest, gif.Width, gif.Height)) return TOutcome::Refused;
  const codec::GifFrame& f = gif.Frame;
  const size_t colours = f.Colors.size() / 3;
  std::array<TColor32, 256> table{};
  for (size_t i = 0; i < 256; ++i)
    table[i] = i < colours ? kOpaque | TColor32(f.Colors[3 * i]) << 16 | TColor32(f.Colors[3 * i + 1]) << 8 | f.Colors[3 * i + 2]
                           : kOpaque;
  if (f.TransparentIndex >= 0 && f.TransparentIndex < 256) table[size_t(f.TransparentIndex)] = 0;
  // Outside the first frame: the screen's background colour (transparent
  // when the frame's transparent entry is the background entry).
  TColor32 background = kOpaque;
  const size_t bg = size_t(gif.BackgroundIndex);
  if (gif.BackgroundIndex == f.TransparentIndex)
    background = 0;
  else if (bg * 3 + 2 < gif.ScreenColors.size())
    background = kOpaque | TColor32(gif.ScreenColors[3 * bg]) << 16 | TColor32(gif.ScreenColors[3 * bg + 1]) << 8 |
                 gif.ScreenColors[3 * bg + 2];
  const Integer W = gif.Width, H = gif.Height;
  for (Integer y = 0; y < H; ++y) {
    TColor32* row = Dest->ScanLine(y);
    const Integer fy = y - f.Top;
    if (fy < 0 || fy >= f.Height) {
      std::fill(row, row + W, background);
      continue;
    }
    const Byte* src = f.Indexes.data() + size_t(fy) * size_t(f.Width);
    for (Integer x = 0; x < W; ++x) {
      const Integer fx = x - f.Left;
      row[x] = fx >= 0 && fx < f.Width ? table[src[fx]] : background;
    }
  }
  Out.Depth = 8;
  Out.HasAlpha = ClearTransparentAndFindAlpha(Dest);
  return TOutcome::Decoded;
}

// An open file, read from the start or from an offset.
class TFileReader {
 public:
  explicit TFileReader(const String& FileName)
      : FHandle(CreateFileW(reinterpret_cast<LPCWSTR>(FileName.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size;
    if (FHandle != INVALID_HANDLE_VALUE && GetFileSizeEx(FHandle, &size)) FSize = size.QuadPart;
  }
  ~TFileReader() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  }
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;

  // The file's size; 0 when it could not be opened.
  Int64 Size() const { return FSize; }
  // Exactly Count bytes from Offset (-1: where the last read ended).
  bool Read(Byte* To, size_t Count, Int64 Offset = -1) {
    if (Offset >= 0) {
      LARGE_INTEGER at;
      at.QuadPart = Offset;
      if (!SetFilePointerEx(FHandle, at, nullptr, FILE_BEGIN)) return false;
    }
    while (Count > 0) {
      DWORD got = 0;
      const DWORD want = DWORD(std::min<size_t>(Count, size_t(1) << 30));
      if (!ReadFile(FHandle, To, want, &got, nullptr) || got == 0) return false;
      To += got;
      Count -= got;
    }
    return true;
  }

 private:
  HANDLE FHandle;
  Int64 FSize = 0;
};

// BMP files are read a band of rows at a time, straight into the bitmap:
// their pixels need no more than a copy, so holding the file's bytes as
// well would double the work.
TOutcome DecodeBmpFile(TFileReader& File, const std::vector<Byte>& Head, TBitmap32* Dest, TDecoded& Out) {
  codec::BmpInfo info;
  if (!codec::BmpReadHeader(Head.data(), Head.size(), size_t(File.Size()), info).empty()) return TOutcome::LeftToGdiPlus;
  if (!SizeBitmap(Dest, info.Width, info.Height)) return TOutcome::Refused;
  const std::ptrdiff_t stride = std::ptrdiff_t(info.Width) * 4;
  if (info.Compression == 1 || info.Compression == 2) {
    std::vector<Byte> pixels(info.PixelBytes);
    if (!File.Read(pixels.data(), pixels.size(), Int64(info.PixelOffset))) return TOutcome::LeftToGdiPlus;
    codec::BmpDecodeRle(info, pixels.data(), pixels.size(), Rows(Dest), stride);
    Out.HasAlpha = false;
  } else {
    const size_t fileStride = codec::BmpFileStride(info);
    const Integer perBand = Integer(std::clamp<size_t>((size_t(1) << 20) / fileStride, 1, size_t(info.Height)));
    std::vector<Byte> band(fileStride * size_t(perBand));
    std::uint32_t alphaSeen = 0;
    Int64 offset = Int64(info.PixelOffset);
    for (Integer row = 0; row < info.Height; row += perBand) {
      const Integer n = std::min(perBand, info.Height - row);
      if (!File.Read(band.data(), fileStride * size_t(n), offset)) return TOutcome::LeftToGdiPlus;
      offset = -1;
      codec::BmpDecodeRows(info, band.data(), row, n, Rows(Dest), stride, alphaSeen);
    }
    Out.HasAlpha = codec::BmpFinish(info, Rows(Dest), stride, alphaSeen);
  }
  Out.Depth = info.Depth;
  return TOutcome::Decoded;
}

enum class TFileKind { Other, Bmp, Png, Jpeg, Gif };

// The format the leading bytes show.
TFileKind KindOf(const std::vector<Byte>& D) {
  static const Byte kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (D.size() >= 8 && std::memcmp(D.data(), kPng, 8) == 0) return TFileKind::Png;
  if (D.size() >= 2 && D[0] == 0xFF && D[1] == 0xD8) return TFileKind::Jpeg;
  if (D.size() >= 6 && (std::memcmp(D.data(), "GIF87a", 6) == 0 || std::memcmp(D.data(), "GIF89a", 6) == 0))
    return TFileKind::Gif;
  if (D.size() >= 2 && D[0] == 'B' && D[1] == 'M') return TFileKind::Bmp;
  return TFileKind::Other;
}

// Decodes the file with the codec its leading bytes name, as GDI+ would
// read it (a file that is empty or larger than 2 GB is refused).
TOutcome DecodeFile(const String& FileName, TBitmap32* Dest, TDecoded& Out) {
  TFileReader file(FileName);
  const Int64 size = file.Size();
  if (size <= 0 || size > INT_MAX) return TOutcome::Refused;
  std::vector<Byte> data(size_t(std::min<Int64>(size, 65536)));
  if (!file.Read(data.data(), data.size(), 0)) return TOutcome::LeftToGdiPlus;
  const TFileKind kind = KindOf(data);
  if (kind == TFileKind::Other) return TOutcome::LeftToGdiPlus;
  if (kind == TFileKind::Bmp) return DecodeBmpFile(file, data, Dest, Out);
  // The codecs decode from the whole file in memory (not cleared first: it
  // is read over at once).
  std::unique_ptr<Byte[]> whole(new Byte[size_t(size)]);
  std::memcpy(whole.get(), data.data(), data.size());
  if (!file.Read(whole.get() + data.size(), size_t(size) - data.size())) return TOutcome::LeftToGdiPlus;
  switch (kind) {
    case TFileKind::Png: return DecodePng(whole.get(), size_t(size), Dest, Out);
    case TFileKind::Jpeg: return DecodeJpeg(whole.get(), size_t(size), Dest, Out);
    default: return DecodeGif(whole.get(), size_t(size), Dest, Out);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Decoding

TBitmap32* GPBitmapToBitmap32(const IGPBitmap& Bitmap, bool& HasAlpha, Integer& BitDepth) {
  auto result = std::make_unique<TBitmap32>();
  if (!Bitmap) return result.release();
  const Cardinal w = Bitmap->GetWidth();
  const Cardinal h = Bitmap->GetHeight();
  if (w == 0 || h == 0) return result.release();
  if (w > Cardinal(INT_MAX / 4) || h > Cardinal(INT_MAX)) {
    BitDepth = -1;
    return result.release();
  }
  const Integer W = Integer(w), H = Integer(h);
  const Integer format = Bitmap->GetPixelFormat();
  if (!SizeBitmap(result.get(), W, H)) {
    BitDepth = -1;
    return result.release();
  }
  // GDI+ converts while it locks, straight into the bitmap's memory. Alpha
  // formats (16- and 64-bit ones too) are read as 32-bit ARGB, premultiplied
  // ones as 32-bit premultiplied (GDI+ does not undo that) and made straight
  // here; indexed ones as ARGB (a palette may hold alpha); the other formats
  // as 32-bit RGB, opaque.
  const bool alphaFormat = (format & kFormatAlphaFlag) != 0;
  const bool premultiplied = alphaFormat && (format & kFormatPremultipliedFlag) != 0;
  const bool indexed = !alphaFormat && (format & kFormatIndexedFlag) != 0;
  const Integer lockFormat =
      premultiplied ? kFormat32bppPARGB : (alphaFormat || indexed) ? kFormat32bppARGB : kFormat32bppRGB;
  gdipflat::GpBitmapData data;
  std::memset(&data, 0, sizeof(data));
  data.Width = w;
  data.Height = h;
  data.Stride = W * 4;
  data.Format = lockFormat;
  data.Scan0 = result->Bits();
  const TGPRect rect = MakeGPRect(0, 0, W, H);
  const bool copied =
      Bitmap->LockBits(rect, gdipflat::ImageLockModeRead | gdipflat::ImageLockModeUserInputBuf, lockFormat, data) ==
      gdipflat::Ok;
  if (copied) Bitmap->UnlockBits(data);
  if (!copied || data.Scan0 != result->Bits()) {
    result->SetSize(0, 0);
    BitDepth = -1;
    return result.release();
  }
  BitDepth = BitDepthOfFormat(format);
  if (premultiplied) Unpremultiply(result.get());
  if (alphaFormat) {
    HasAlpha = true;
  } else if (indexed) {
    if (ClearTransparentAndFindAlpha(result.get())) HasAlpha = true;
  } else {
    MakeOpaque(result.get());
  }
  return result.release();
}

TBitmap32* LoadImageToBitmap32(const String& FileName, bool& HasAlpha, Integer& BitDepth) {
  HasAlpha = false;
  BitDepth = -1;
  auto result = std::make_unique<TBitmap32>();
  TDecoded out;
  switch (DecodeFile(FileName, result.get(), out)) {
    case TOutcome::Decoded:
      HasAlpha = out.HasAlpha;
      BitDepth = out.Depth;
      return result.release();
    case TOutcome::Refused: result->SetSize(0, 0); return result.release();
    case TOutcome::LeftToGdiPlus: result->SetSize(0, 0); break;
  }
  IGPBitmap bitmap = TGPBitmap::FromFile(FileName, false);
  return GPBitmapToBitmap32(bitmap, HasAlpha, BitDepth);
}

TBitmap* LoadBitmapWithAlpha(const String& FileName) {
  auto result = std::make_unique<TBitmap>();
  // Decoded as the other routines decode (the codec units, else GDI+), then
  // handed to GDI+ as 32-bit ARGB for its bitmap over opaque white.
  bool hasAlpha = false;
  Integer depth = -1;
  std::unique_ptr<TBitmap32> decoded(LoadImageToBitmap32(FileName, hasAlpha, depth));
  const Integer w = decoded->Width(), h = decoded->Height();
  if (w == 0 || h == 0) return result.release();
  IGPBitmap bitmap = new TGPBitmap(w, h, w * 4, kFormat32bppARGB, decoded->Bits());
  if (bitmap->Native() != nullptr) {
    HBITMAP handle = bitmap->GetHBITMAP(TGPColor(0xFFFFFFFF));
    if (handle != nullptr) result->SetHandle(handle);
  }
  return result.release();
}

// ---------------------------------------------------------------------------
// Fitting into a box

void FitSizeKeepAspect(Integer Width, Integer Height, Integer MaxWidth, Integer MaxHeight, Integer& NewWidth,
                       Integer& NewHeight) {
  NewWidth = Width;
  NewHeight = Height;
  if (Width <= MaxWidth && Height <= MaxHeight) return;
  if (Width <= 0 || Height <= 0 || MaxWidth <= 0 || MaxHeight <= 0) {
    // No aspect ratio to keep: clamp into the box.
    NewWidth = std::max(1, std::min(Width, MaxWidth));
    NewHeight = std::max(1, std::min(Height, MaxHeight));
    return;
  }
  if (double(MaxWidth) / MaxHeight >= double(Width) / Height) {
    NewHeight = MaxHeight;
    NewWidth = Integer(double(MaxHeight) / Height * Width);
  } else {
    NewWidth = MaxWidth;
    NewHeight = Integer(double(MaxWidth) / Width * Height);
  }
  if (NewWidth < 1) NewWidth = 1;
  if (NewHeight < 1) NewHeight = 1;
}

bool LoadImageFitted(const String& FileName, TBitmap32* Dest, Integer MaxWidth, Integer MaxHeight, Integer& Width,
                     Integer& Height) {
  bool hasAlpha = false;
  Integer depth = -1;
  std::unique_ptr<TBitmap32> decoded(LoadImageToBitmap32(FileName, hasAlpha, depth));
  Width = decoded->Width();
  Height = decoded->Height();
  if (Width == 0 || Height == 0) {
    Dest->SetSize(MaxWidth, MaxHeight);
    Dest->Clear(0xFFFFFFFF);
    return false;
  }
  if (Width <= MaxWidth && Height <= MaxHeight) {
    Dest->Assign(decoded.get());
  } else {
    Integer nw = 0, nh = 0;
    FitSizeKeepAspect(Width, Height, MaxWidth, MaxHeight, nw, nh);
    ResizeBitmap(decoded.get(), Dest, nw, nh);
  }
  return true;
}

bool FitBitmap32(TBitmap32* Source, TBitmap32* Dest, Integer MaxWidth, Integer MaxHeight) {
  if (MaxWidth < Source->Width() || MaxHeight < Source->Height()) {
    Integer nw = 0, nh = 0;
    FitSizeKeepAspect(Source->Width(), Source->Height(), MaxWidth, MaxHeight, nw, nh);
    ResizeBitmap(Source, Dest, nw, nh);
  } else {
    Dest->Assign(Source);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Formats and extensions

TImageFormat GetImageFormatByExt(const String& FileName) {
  const String ext = LowerCase(ExtractFileExt(FileName));
  if (ext == u".bmp") return ifBmp;
  if (ext == u".png") return ifPng;
  if (ext == u".jpg" || ext == u".jpe" || ext == u".jpeg") return ifJpg;
  if (ext == u".gif") return ifGif;
  if (ext == u".emf") return ifEmf;
  if (ext == u".tif" || ext == u".tiff") return ifTiff;
  return ifUnknown;
}

void GetImageExtByFormat(TImageFormat Format, String& Ext) {
  switch (Format) {
    case ifBmp: Ext = u"bmp"; break;
    case ifPng: Ext = u"png"; break;
    case ifJpg: Ext = u"jpg"; break;
    case ifGif: Ext = u"gif"; break;
    case ifWmf: Ext = u"wmf"; break;
    case ifEmf: Ext = u"emf"; break;
    case ifTiff: Ext = u"tiff"; break;
    case ifIco: Ext = u"ico"; break;
    default: Ext.clear(); break;
  }
}

// ---------------------------------------------------------------------------
// Writing

namespace {

TPixelFormat BmpPixelFormat(Integer Depth) {
  switch (Depth) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

// PNG: zlib's level 6 and libpng's adaptive choice among the five row
// filters, the settings of the class library's PNG encoder: photos and
// drawings keep the sizes they always had (measured on a 6000 x 4000 photo
// and a 1920 x 1080 screen capture, levels 3 to 5 make the photo no smaller
// and no more than a third faster, but the capture 1.5 to 2.6 times larger).
constexpr int kPngLevel = 6;
constexpr int kPngFilters = 0;  // the library's default: all five, chosen per row

// The JPEG quality for a level: ten times the level, kept within 1..100.
Integer JpegQualityOfLevel(Integer Level) { return std::clamp(Level, 1, 10) * 10; }

// Writes the bytes as the whole file (created or emptied).
void WriteWholeFile(const String& FileName, const Byte* Data, size_t Size) {
  TFileStream fs(FileName, fmCreate);
  while (Size > 0) {
    const Integer n = Integer(std::min<size_t>(Size, size_t(1) << 30));
    fs.WriteBuffer(Data, n);
    Data += n;
    Size -= size_t(n);
  }
}

void PutLE32(Byte* P, Cardinal V) {
  for (int i = 0; i < 4; ++i) P[i] = Byte(V >> (8 * i));
}

// A 24- or 32-bit BMP written from the rows, laid out as the class
// library's TBitmap writes one (40-byte header, no resolution, rows bottom-up
// padded to 4 bytes, every byte of 32-bit pixels).
void SaveBmpRows(Integer w, Integer h, const TBitmap32Rows& Rows, const String& FileName, Integer Bits) {
  Int64 stride = 0, size = 0;
  if (!CheckedProduct({(Int64(w) * Bits + 31) / 32, 4}, INT_MAX, stride) ||
      !CheckedProduct({stride, Int64(h)}, Int64(INT_MAX) - 54, size))
    throw EInvalidGraphic(u"Cannot save the image: too large for a BMP file");
  Byte head[54] = {'B', 'M'};
  PutLE32(head + 2, Cardinal(54 + size));
  PutLE32(head + 10, 54);
  PutLE32(head + 14, 40);
  PutLE32(head + 18, Cardinal(w));
  PutLE32(head + 22, Cardinal(h));
  head[26] = 1;
  head[28] = Byte(Bits);
  PutLE32(head + 34, Cardinal(size));
  TFileStream fs(FileName, fmCreate);
  fs.WriteBuffer(head, 54);
  // Rows go out in blocks of about a megabyte, each block bottom-up from
  // bands read top-down.
  const Integer perBlock = Integer(std::max<Int64>(1, (Int64(1) << 20) / stride));
  std::vector<Byte> block(size_t(stride) * size_t(std::min(perBlock, h)), 0);
  for (Integer y0 = h - 1; y0 >= 0; y0 -= perBlock) {
    const Integer n = std::min(perBlock, y0 + 1);
    for (Integer top = y0 - n + 1; top <= y0; top += codec::RowBand) {
      const Integer count = std::min<Integer>(codec::RowBand, y0 - top + 1);
      const TColor32* band = Rows(top, count);
      for (Integer i = 0; i < count; ++i) {
        const Byte* src = reinterpret_cast<const Byte*>(band + size_t(i) * size_t(w));
        Byte* dst = block.data() + size_t(y0 - top - i) * size_t(stride);
        if (Bits == 32) {
          std::memcpy(dst, src, size_t(w) * 4);
        } else {
          for (Integer x = 0; x < w; ++x, src += 4, dst += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
        }
      }
    }
    fs.WriteBuffer(block.data(), Integer(size_t(n) * size_t(stride)));
  }
}

// The BMP depth written from the rows for an option, else 0.
Integer RowBmpBits(Integer Option) {
  const TPixelFormat f = BmpPixelFormat(Option);
  return f == pf24bit ? 24 : f == pf32bit ? 32 : 0;
}

void CheckWritableFormat(TImageFormat Format) {
  if (Format == ifGif || Format == ifBmp || Format == ifPng || Format == ifJpg) return;
  String ext;
  GetImageExtByFormat(Format, ext);
  throw EInvalidGraphic(ext.empty() ? String(u"Cannot save the image: unknown file format")
                                    : u"Cannot save the image as " + UpperCase(ext) + u": format not supported");
}

// JPEG, PNG and 24/32-bit BMP of a non-empty picture from its bands.
void SaveBands(Integer w, Integer h, const TBitmap32Rows& Rows, const String& FileName, TImageFormat Format,
               Integer Option) {
  if (Format == ifBmp) {
    SaveBmpRows(w, h, Rows, FileName, RowBmpBits(Option));
    return;
  }
  const codec::RowSource bytes = [&Rows](int Y, int Count) {
    return reinterpret_cast<const std::uint8_t*>(Rows(Y, Count));
  };
  const std::ptrdiff_t stride = std::ptrdiff_t(w) * 4;
  std::vector<std::uint8_t> out;
  if (Format == ifPng) {
    const std::string err =
        codec::PngEncodeRowSource(bytes, stride, w, h, Option == -1 ? 6 : 2, kPngLevel, kPngFilters, out);
    if (!err.empty()) throw EPNGError(String(err.begin(), err.end()));
  } else {
    const std::string err = codec::JpegEncodeBGRXRows(bytes, stride, w, h, JpegQualityOfLevel(Option), out);
    if (!err.empty()) throw EJPEG(String(err.begin(), err.end()));
  }
  WriteWholeFile(FileName, out.data(), out.size());
}

// The class library's picture classes, for what the rows above do not
// write: BMPs of 1 to 16 bits (their colour reduction is the class
// library's) and empty bitmaps (whose files are the picture classes' to say).
void SaveThroughPictureClasses(TBitmap32* Bitmap, const String& FileName, TImageFormat Format, Integer Option) {
  TBitmap bmp;
  AssignToBitmap(Bitmap, &bmp);
  switch (Format) {
    case ifBmp:
      bmp.SetPixelFormat(BmpPixelFormat(Option));
      bmp.SaveToFile(FileName);
      break;
    case ifPng: {
      TPngImage png;
      png.CreateBlank(Option == -1 ? COLOR_RGBALPHA : COLOR_RGB, 8, Bitmap->Width(), Bitmap->Height());
      png.SaveToFile(FileName);
      break;
    }
    default: {
      bmp.SetPixelFormat(pf24bit);
      TJPEGImage jpeg;
      jpeg.Assign(&bmp);
      jpeg.SetCompressionQuality(JpegQualityOfLevel(Option));
      jpeg.Compress();
      jpeg.SaveToFile(FileName);
      break;
    }
  }
}

}  // namespace

void SaveBitmap32ToFile(TBitmap32* Bitmap, const String& FileName, TImageFormat Format, Integer Option) {
  CheckWritableFormat(Format);
  if (Format == ifGif) {
    std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(Bitmap, 32, 0xFFFFFF));
    gif->SaveToFile(FileName);
    return;
  }
  if (Bitmap->Width() == 0 || Bitmap->Height() == 0 || Bitmap->Bits() == nullptr ||
      (Format == ifBmp && RowBmpBits(Option) == 0)) {
    SaveThroughPictureClasses(Bitmap, FileName, Format, Option);
    return;
  }
  SaveBands(Bitmap->Width(), Bitmap->Height(), [Bitmap](Integer Y, Integer) { return Bitmap->ScanLine(Y); }, FileName,
            Format, Option);
}

void SaveBitmap32RowsToFile(Integer Width, Integer Height, const TBitmap32Rows& Rows, const String& FileName,
                            TImageFormat Format, Integer Option) {
  CheckWritableFormat(Format);
  if (Width > 0 && Height > 0 && Format != ifGif && (Format != ifBmp || RowBmpBits(Option) != 0)) {
    SaveBands(Width, Height, Rows, FileName, Format, Option);
    return;
  }
  TBitmap32 whole;
  whole.SetBackend(new TMemoryBackend(nullptr));
  whole.SetSize(std::max<Integer>(Width, 0), std::max<Integer>(Height, 0));
  for (Integer y = 0; y < whole.Height(); y += codec::RowBand) {
    const Integer count = std::min<Integer>(codec::RowBand, whole.Height() - y);
    std::memcpy(whole.ScanLine(y), Rows(y, count), size_t(count) * size_t(whole.Width()) * 4);
  }
  SaveBitmap32ToFile(&whole, FileName, Format, Option);
}

TGIFImage* Bitmap32ToGIF(TBitmap32* Bitmap, Byte AlphaThreshold, TColor TransparentColor) {
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  TBitmap bmp;
  AssignToBitmap(Bitmap, &bmp);
  auto gif = std::make_unique<TGIFImage>();
  gif->SetColorReduction(rmQuantize);
  gif->SetDitherMode(dmFloydSteinberg);
  gif->Assign(&bmp);
  if (gif->ImageCount() == 0 || w == 0 || h == 0) return gif.release();
  TGIFFrame* frame = gif->Images(0);
  if (frame->Width != w || frame->Height != h || frame->Data.size() != size_t(w) * size_t(h))
    return gif.release();

  const TColor32* pixels = Bitmap->Bits();
  const size_t n = size_t(w) * size_t(h);
  bool anyTransparent = false;
  for (size_t i = 0; i < n && !anyTransparent; ++i) anyTransparent = (pixels[i] >> 24) < AlphaThreshold;
  if (!anyTransparent) return gif.release();

  // Keep one palette index free for the transparent pixels, so that no
  // opaque colour has to give up its entry.
  if (frame->ColorMap.size() >= 256) {
    std::vector<TGIFColor> palette;
    std::vector<Byte> indexes;
    QuantizeColors(reinterpret_cast<const Byte*>(pixels), w, h, 255, true, palette, indexes);
    frame->ColorMap = palette;
    frame->Data = indexes;
  }

  std::array<size_t, 256> counts{};
  for (Byte b : frame->Data) ++counts[b];
  Integer index = -1;
  for (Integer i = 0; i < 256 && index < 0; ++i)
    if (counts[size_t(i)] == 0) index = i;
  if (index < 0) {
    index = 0;
    for (Integer i = 1; i < 256; ++i)
      if (counts[size_t(i)] < counts[size_t(index)]) index = i;
  }

  bool changed = false;
  for (size_t i = 0; i < n; ++i)
    if ((pixels[i] >> 24) < AlphaThreshold) {
      frame->Data[i] = Byte(index);
      changed = true;
    }
  if (changed) {
    if (frame->ColorMap.size() <= size_t(index)) frame->ColorMap.resize(size_t(index) + 1);
    TGIFColor& entry = frame->ColorMap[size_t(index)];
    // TColor is $00BBGGRR.
    entry.Red = Byte(TransparentColor);
    entry.Green = Byte(TransparentColor >> 8);
    entry.Blue = Byte(TransparentColor >> 16);
    frame->Transparent = true;
    frame->TransparentColorIndex = Byte(index);
  }
  return gif.release();
}

bool SaveBitmapToStreamWithQuality(TBitmap* Bitmap, Integer Quality, IStream* Stream) {
  try {
    if (Bitmap == nullptr || Stream == nullptr) return false;
    IGPBitmap gp = TGPBitmap::FromHBitmap(Bitmap->Handle(), Bitmap->Palette());
    if (gp->Native() == nullptr) return false;
    IGPEncoderParameters params = new TGPEncoderParameters();
    params->Add(EncoderQuality, Quality);
    IGPImageFormat jpeg = TGPImageFormat::JpegFormat();
    if (!jpeg) return false;
    return gp->Save(Stream, jpeg, params);
  } catch (...) {
    return false;
  }
}
