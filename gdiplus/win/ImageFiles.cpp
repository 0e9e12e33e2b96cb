// Image files: decoding through GDI+, thumbnails, the extension map and
// writing through the class library's picture classes.
#include "gdiplus/win/ImageFiles.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>

#include "bitmap/VaZU32Vudover.h"
#include "classlib/JPEG.h"
#include "classlib/PngImage.h"
#include "rtl/FileUtils.h"
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
constexpr Integer kFormat32bppARGB = 0x0026200A;
constexpr Integer kFormat32bppPARGB = 0x000E200B;
constexpr Integer kFormatAlphaFlag = 0x00040000;
constexpr Integer kFormatPremultipliedFlag = 0x00080000;

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

// Copies the locked rows (any stride, either direction) into the bitmap.
// False when the lock does not describe W x H readable 32-bit pixels.
bool CopyLocked(const gdipflat::GpBitmapData& Data, TBitmap32* Dest, Integer W, Integer H) {
  if (Data.Scan0 == nullptr || Integer(Data.Width) != W || Integer(Data.Height) != H) return false;
  const ptrdiff_t stride = Data.Stride;
  const size_t rowBytes = size_t(W) * 4;
  if (size_t(stride < 0 ? -stride : stride) < rowBytes) return false;
  const Byte* src = static_cast<const Byte*>(Data.Scan0);
  for (Integer y = 0; y < H; ++y) std::memcpy(Dest->ScanLine(y), src + ptrdiff_t(y) * stride, rowBytes);
  return true;
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

bool AnyAlphaBelowOpaque(const TBitmap32* Bitmap) {
  const TColor32* p = Bitmap->Bits();
  const size_t n = size_t(Bitmap->Width()) * size_t(Bitmap->Height());
  for (size_t i = 0; i < n; ++i)
    if ((p[i] >> 24) != 0xFF) return true;
  return false;
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
  const Integer depth = BitDepthOfFormat(format);
  result->SetSize(W, H);
  if (result->Width() != W || result->Height() != H) {
    result->SetSize(0, 0);
    BitDepth = -1;
    return result.release();
  }

  TGPRect rect = MakeGPRect(0, 0, W, H);
  gdipflat::GpBitmapData data;
  std::memset(&data, 0, sizeof(data));
  bool copied = false;
  bool formatAlpha = false;
  if (format & kFormatAlphaFlag) {
    // Every alpha format (16- and 64-bit ones too) is read as 32-bit ARGB,
    // converted by GDI+ while locking; premultiplied formats are read as
    // 32-bit premultiplied (GDI+ does not undo the premultiplication) and
    // made straight here.
    formatAlpha = true;
    const bool premultiplied = (format & kFormatPremultipliedFlag) != 0;
    if (Bitmap->LockBits(rect, gdipflat::ImageLockModeRead, premultiplied ? kFormat32bppPARGB : kFormat32bppARGB,
                         data) == gdipflat::Ok) {
      copied = CopyLocked(data, result.get(), W, H);
      Bitmap->UnlockBits(data);
      if (copied && premultiplied) Unpremultiply(result.get());
    }
  } else {
    IGPBitmap argb = new TGPBitmap(W, H, kFormat32bppARGB);
    if (argb->Native() != nullptr) {
      {
        IGPGraphics g = TGPGraphics::FromImage(argb);
        g->DrawImage(Bitmap, 0, 0, W, H);
      }  // the graphics is released before the lock reads the pixels
      if (argb->LockBits(rect, gdipflat::ImageLockModeRead, kFormat32bppARGB, data) == gdipflat::Ok) {
        copied = CopyLocked(data, result.get(), W, H);
        argb->UnlockBits(data);
      }
    }
  }
  if (!copied) {
    result->SetSize(0, 0);
    BitDepth = -1;
    return result.release();
  }
  BitDepth = depth;
  if (formatAlpha || AnyAlphaBelowOpaque(result.get())) HasAlpha = true;
  return result.release();
}

TBitmap32* LoadImageToBitmap32(const String& FileName, bool& HasAlpha, Integer& BitDepth) {
  HasAlpha = false;
  BitDepth = -1;
  IGPBitmap bitmap = TGPBitmap::FromFile(FileName, false);
  return GPBitmapToBitmap32(bitmap, HasAlpha, BitDepth);
}

TBitmap* LoadBitmapWithAlpha(const String& FileName) {
  auto result = std::make_unique<TBitmap>();
  IGPBitmap bitmap = TGPBitmap::FromFile(FileName, false);
  if (bitmap->Native() != nullptr) {
    HBITMAP h = bitmap->GetHBITMAP(TGPColor(0xFFFFFFFF));
    if (h != nullptr) result->SetHandle(h);
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

void SavePng(TBitmap32* Bitmap, const String& FileName, bool WithAlpha) {
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  TPngImage png;
  png.CreateBlank(WithAlpha ? COLOR_RGBALPHA : COLOR_RGB, 8, w, h);
  for (Integer y = 0; y < h; ++y) {
    const TColor32* src = Bitmap->ScanLine(y);
    Byte* rgb = png.Scanline(y);
    Byte* alpha = WithAlpha ? png.AlphaScanline(y) : nullptr;
    for (Integer x = 0; x < w; ++x) {
      const TColor32 c = src[x];
      rgb[3 * x] = Byte(c);
      rgb[3 * x + 1] = Byte(c >> 8);
      rgb[3 * x + 2] = Byte(c >> 16);
      if (alpha) alpha[x] = Byte(c >> 24);
    }
  }
  png.SaveToFile(FileName);
}

}  // namespace

// The JPEG quality for a level: ten times the level, kept within 1..100.
static Integer JpegQualityOfLevel(Integer Level) { return std::clamp(Level, 1, 10) * 10; }

void SaveBitmap32ToFile(TBitmap32* Bitmap, const String& FileName, TImageFormat Format, Integer Option) {
  switch (Format) {
    case ifBmp: {
      TBitmap bmp;
      AssignToBitmap(Bitmap, &bmp);
      bmp.SetPixelFormat(BmpPixelFormat(Option));
      bmp.SaveToFile(FileName);
      break;
    }
    case ifPng: SavePng(Bitmap, FileName, Option == -1); break;
    case ifJpg: {
      TBitmap bmp;
      AssignToBitmap(Bitmap, &bmp);
      bmp.SetPixelFormat(pf24bit);
      TJPEGImage jpeg;
      jpeg.Assign(&bmp);
      jpeg.SetCompressionQuality(JpegQualityOfLevel(Option));
      jpeg.Compress();
      jpeg.SaveToFile(FileName);
      break;
    }
    case ifGif: {
      std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(Bitmap, 32, 0xFFFFFF));
      gif->SaveToFile(FileName);
      break;
    }
    default: {
      String ext;
      GetImageExtByFormat(Format, ext);
      throw EInvalidGraphic(ext.empty() ? String(u"Cannot save the image: unknown file format")
                                        : u"Cannot save the image as " + UpperCase(ext) + u": format not supported");
    }
  }
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
