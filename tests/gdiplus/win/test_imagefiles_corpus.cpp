// The image-file routines on the checked-in corpus (tests/fixtures/images,
// made by other programs; see the README there):
//  - decoding compared with the way files were decoded before the codec
//    units took over (GDI+ decoding the file, drawn into a 32-bit ARGB GDI+
//    bitmap, locked and copied): same size, pixels, alpha flag, bit depth,
//    and the same files refused, except where the old way was wrong;
//  - the files whose colours an independent decoder gave (NAME.txt beside
//    them) decode to those colours;
//  - writing compared with writing through the picture classes: the same
//    bytes.
#include "common/gtest.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classlib/JPEG.h"
#include "classlib/PngImage.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "tests/gdiplus/win/gdiplus_fixture.h"

namespace {

String Fixture(const char* Name) {
  std::string p = std::string(LUMIGRA_FIXTURES_DIR) + "/images/" + Name;
  std::replace(p.begin(), p.end(), '/', '\\');
  return u"Z:" + AsciiToString(p.c_str());
}

std::vector<String> CorpusFiles() {
  std::vector<String> names;
  TSearchRec sr;
  const String dir = IncludeTrailingPathDelimiter(Fixture(""));
  if (FindFirst(dir + u"*.*", faAnyFile, sr) == 0) {
    do {
      const String ext = LowerCase(ExtractFileExt(sr.Name));
      if ((sr.Attr & faDirectory) == 0 && ext != u".txt" && ext != u".py" && ext != u".md") names.push_back(sr.Name);
    } while (FindNext(sr) == 0);
    FindClose(sr);
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct TResult {
  std::unique_ptr<TBitmap32> Bmp;
  bool HasAlpha = false;
  Integer Depth = -1;
  Integer Format = 0;  // the pixel format GDI+ gives the file (0: refused)
};

// Decoding as it was done before: GDI+ decodes the file; alpha formats are
// locked as 32-bit ARGB (premultiplied ones made straight), all others drawn
// into a 32-bit ARGB bitmap first; the alpha flag from the format or from
// any pixel below opaque.
TResult OldDecode(const String& FileName) {
  TResult r;
  r.Bmp = std::make_unique<TBitmap32>();
  IGPBitmap bitmap = TGPBitmap::FromFile(FileName, false);
  if (!bitmap || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0) return r;
  const Integer W = Integer(bitmap->GetWidth()), H = Integer(bitmap->GetHeight());
  const Integer format = bitmap->GetPixelFormat();
  r.Format = format;
  r.Bmp->SetSize(W, H);
  TGPRect rect = MakeGPRect(0, 0, W, H);
  gdipflat::GpBitmapData data;
  std::memset(&data, 0, sizeof(data));
  auto copy = [&](const gdipflat::GpBitmapData& D) {
    for (Integer y = 0; y < H; ++y)
      std::memcpy(r.Bmp->ScanLine(y), static_cast<const Byte*>(D.Scan0) + ptrdiff_t(y) * D.Stride, size_t(W) * 4);
  };
  if (format & 0x00040000) {
    const bool pre = (format & 0x00080000) != 0;
    if (bitmap->LockBits(rect, gdipflat::ImageLockModeRead, pre ? 0x000E200B : 0x0026200A, data) != gdipflat::Ok)
      return TResult{std::make_unique<TBitmap32>(), false, -1, format};
    copy(data);
    bitmap->UnlockBits(data);
    if (pre)
      for (Integer i = 0; i < W * H; ++i) {
        TColor32& p = r.Bmp->Bits()[i];
        const Cardinal a = p >> 24;
        if (a == 0) p = 0;
        if (a == 0 || a == 255) continue;
        Cardinal c = a << 24;
        for (int s = 0; s < 24; s += 8) c |= std::min<Cardinal>(255, (((p >> s) & 0xFF) * 255 + a / 2) / a) << s;
        p = c;
      }
    r.HasAlpha = true;
  } else {
    IGPBitmap argb = new TGPBitmap(W, H, 0x0026200A);
    {
      IGPGraphics g = TGPGraphics::FromImage(argb);
      g->DrawImage(bitmap, 0, 0, W, H);
    }
    if (argb->LockBits(rect, gdipflat::ImageLockModeRead, 0x0026200A, data) != gdipflat::Ok)
      return TResult{std::make_unique<TBitmap32>(), false, -1, format};
    copy(data);
    argb->UnlockBits(data);
    for (Integer i = 0; i < W * H; ++i) r.HasAlpha = r.HasAlpha || (r.Bmp->Bits()[i] >> 24) != 255;
  }
  switch (format) {
    case 0x00030101: r.Depth = 1; break;
    case 0x00030402: r.Depth = 4; break;
    case 0x00030803: r.Depth = 8; break;
    case 0x00101004:
    case 0x00021005:
    case 0x00021006: r.Depth = 16; break;
    case 0x00021808: r.Depth = 24; break;
    default: r.Depth = 32; break;
  }
  return r;
}

TResult NewDecode(const String& FileName) {
  TResult r;
  r.HasAlpha = true;  // the routine must set both
  r.Depth = 99;
  r.Bmp.reset(LoadImageToBitmap32(FileName, r.HasAlpha, r.Depth));
  return r;
}

// Where the new decoding differs from the old on purpose.
enum TDifference {
  kSame,
  kOldColoursWrong,   // CMYK read with red and blue exchanged, RLE rows misplaced: checked against NAME.txt
  kOldRefused,        // a BMP layout GDI+ refuses: checked against NAME.txt
  kOldDepth32,        // 16-bit BMPs: GDI+ reports its 32-bit conversion, the file has 16 bits
  kOldAlphaDropped,   // 16-bit BMP with an alpha mask: GDI+ drops the alpha (and reports 32 bits as the new does)
  kOldOutsideGarbage, // the area outside a GIF's first frame: GDI+ leaves memory it never wrote
};

const std::map<std::string, TDifference>& Differences() {
  static const std::map<std::string, TDifference> m = {
      {"jpeg_cmyk_adobe.jpg", kOldColoursWrong}, {"jpeg_cmyk_no_marker.jpg", kOldColoursWrong},
      {"jpeg_ycck.jpg", kOldColoursWrong},       {"bmp_rle4.bmp", kOldColoursWrong},
      {"bmp_rle8.bmp", kOldColoursWrong},        {"bmp_v5_argb32.bmp", kOldRefused},
      {"bmp_rgb16.bmp", kOldDepth32},            {"bmp_rgb555.bmp", kOldDepth32},
      {"bmp_rgb565.bmp", kOldDepth32},           {"bmp_argb1555.bmp", kOldAlphaDropped},
      {"gif_offset_frame.gif", kOldOutsideGarbage},
  };
  return m;
}

int Channel(TColor32 C, int Shift) { return int((C >> Shift) & 0xFF); }

}  // namespace

TEST(ImageFileCorpus, DecodesAsBeforeExceptTheMendedFaults) {
  EnsureGdiPlus();
  const std::vector<String> files = CorpusFiles();
  ASSERT_GE(files.size(), 50u) << "the corpus is missing";
  Integer compared = 0;
  for (const String& name : files) {
    const std::string n = UTF8Encode(name);
    SCOPED_TRACE(n);
    const auto it = Differences().find(n);
    const TDifference diff = it == Differences().end() ? kSame : it->second;
    TResult o = OldDecode(Fixture(n.c_str()));
    TResult d = NewDecode(Fixture(n.c_str()));
    const bool refusedBefore = o.Bmp->Width() == 0;
    if (diff == kOldRefused) {
      EXPECT_TRUE(refusedBefore);
      EXPECT_GT(d.Bmp->Width(), 0);
      continue;
    }
    ASSERT_EQ(d.Bmp->Width(), o.Bmp->Width());
    ASSERT_EQ(d.Bmp->Height(), o.Bmp->Height());
    if (refusedBefore) {
      EXPECT_EQ(d.Depth, -1);
      EXPECT_FALSE(d.HasAlpha);
      continue;
    }
    ++compared;
    EXPECT_EQ(d.Depth, diff == kOldDepth32 ? 16 : o.Depth);
    EXPECT_EQ(d.HasAlpha, diff == kOldAlphaDropped ? true : o.HasAlpha);
    if (diff == kOldColoursWrong) continue;
    const bool indexed = (o.Format & 0x00010000) != 0;
    const Integer W = o.Bmp->Width(), H = o.Bmp->Height();
    Integer mismatches = 0;
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        const TColor32 a = o.Bmp->GetPixel(x, y), b = d.Bmp->GetPixel(x, y);
        if (diff == kOldAlphaDropped) {
          EXPECT_EQ(a & 0xFFFFFF, b & 0xFFFFFF) << x << "," << y;
          continue;
        }
        if (diff == kOldOutsideGarbage && (x < 3 || x >= 10 || y < 2 || y >= 7)) {
          EXPECT_EQ(b, d.Bmp->GetPixel(0, 0)) << "outside the frame: the background " << x << "," << y;
          continue;
        }
        if (a == b) continue;
        // A palette entry that is partly transparent: drawing it went
        // through premultiplied colour, which rounds.
        const int alpha = Channel(a, 24);
        const bool rounding = indexed && alpha > 0 && alpha < 255 && Channel(b, 24) == alpha &&
                              std::abs(Channel(a, 0) - Channel(b, 0)) <= 255 / alpha + 1 &&
                              std::abs(Channel(a, 8) - Channel(b, 8)) <= 255 / alpha + 1 &&
                              std::abs(Channel(a, 16) - Channel(b, 16)) <= 255 / alpha + 1;
        if (!rounding && ++mismatches <= 3) ADD_FAILURE() << std::hex << x << "," << y << " was " << a << " now " << b;
      }
    EXPECT_EQ(mismatches, 0);
  }
  EXPECT_GE(compared, 40);
}

// The clipboard's picture (over opaque white) follows the decoding: as GDI+
// made it from its own decoding before, except for the mended faults and one
// more: an RGB PNG's transparency colour (which the decoding, as GDI+'s pixel
// format says, never used) no longer turns that colour white.
TEST(ImageFileCorpus, PictureOverWhiteAsBefore) {
  EnsureGdiPlus();
  for (const String& name : CorpusFiles()) {
    const std::string n = UTF8Encode(name);
    SCOPED_TRACE(n);
    std::unique_ptr<TBitmap> now(LoadBitmapWithAlpha(Fixture(n.c_str())));
    TBitmap before;
    {
      IGPBitmap gp = TGPBitmap::FromFile(Fixture(n.c_str()), false);
      HBITMAP h = gp->Native() != nullptr ? gp->GetHBITMAP(TGPColor(0xFFFFFFFF)) : nullptr;
      if (h != nullptr) before.SetHandle(h);
    }
    if (Differences().count(n) != 0 || n == "png_rgb8_trns.png") {
      EXPECT_FALSE(now->Empty());
      continue;
    }
    ASSERT_EQ(now->Empty(), before.Empty());
    if (before.Empty()) continue;
    EXPECT_EQ(now->PixelFormat(), before.PixelFormat());
    TBitmap32 a, b;
    a.Assign(&before);
    b.Assign(now.get());
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    EXPECT_TRUE(std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * size_t(a.Height()), b.Bits()));
  }
}

// ---------------------------------------------------------------------------

namespace {

// NAME.txt: "W H", then one AARRGGBB value per pixel, rows top-down.
std::vector<TColor32> ReadExpected(const char* Name, Integer& W, Integer& H) {
  std::vector<TColor32> px;
  TFileStream fs(Fixture((std::string(Name) + ".txt").c_str()), fmOpenRead);
  std::string text(size_t(fs.Size()), '\0');
  fs.ReadBuffer(text.data(), Integer(text.size()));
  char* p = text.data();
  W = Integer(std::strtol(p, &p, 10));
  H = Integer(std::strtol(p, &p, 10));
  for (Integer i = 0; i < W * H; ++i) px.push_back(TColor32(std::strtoul(p, &p, 16)));
  return px;
}

}  // namespace

// Files other programs write, decoded by another decoder for comparison:
// CMYK JPEGs (Adobe's inverted samples with and without its marker, YCCK),
// a grey JPEG; BMPs with a V5
// header and alpha in bit fields, 16-bit 5-6-5 and 5-5-5 bit fields, RLE4,
// RLE8 and top-down rows.
TEST(ImageFileCorpus, ColoursOfAnIndependentDecoder) {
  EnsureGdiPlus();
  struct TCase {
    const char* Name;
    int Tolerance;  // per channel; JPEG decoders round colour conversions differently
    Integer Depth;
    bool HasAlpha;
  } cases[] = {
      {"jpeg_cmyk_no_marker.jpg", 3, 32, false}, {"jpeg_cmyk_adobe.jpg", 3, 32, false}, {"jpeg_ycck.jpg", 3, 32, false},
      {"jpeg_grey.jpg", 3, 8, false},        {"bmp_v5_argb32.bmp", 0, 32, true},    {"bmp_rgb565.bmp", 0, 16, false},
      {"bmp_rgb555.bmp", 0, 16, false},      {"bmp_rle8.bmp", 0, 8, false},         {"bmp_rle4.bmp", 0, 4, false},
      {"bmp_topdown24.bmp", 0, 24, false},   {"bmp_topdown8.bmp", 0, 8, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Integer W = 0, H = 0;
    const std::vector<TColor32> want = ReadExpected(c.Name, W, H);
    ASSERT_EQ(want.size(), size_t(W * H));
    TResult d = NewDecode(Fixture(c.Name));
    ASSERT_EQ(d.Bmp->Width(), W);
    ASSERT_EQ(d.Bmp->Height(), H);
    EXPECT_EQ(d.Depth, c.Depth);
    EXPECT_EQ(d.HasAlpha, c.HasAlpha);
    int worst = 0;
    for (Integer i = 0; i < W * H; ++i) {
      const TColor32 a = want[size_t(i)], b = d.Bmp->Bits()[i];
      ASSERT_EQ(a >> 24, b >> 24) << i;
      if ((a >> 24) == 0) continue;  // no colour to compare
      for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(Channel(a, s) - Channel(b, s)));
      ASSERT_LE(worst, c.Tolerance) << std::hex << "pixel " << std::dec << i << ": " << std::hex << a << " / " << b;
    }
  }
}

// ---------------------------------------------------------------------------

namespace {

// Writing as it was done before: through the class library's picture
// classes (a TBitmap for BMP and JPEG, a TPngImage for PNG).
void OldSave(TBitmap32* Bitmap, const String& FileName, TImageFormat Format, Integer Option) {
  if (Format == ifPng) {
    const Integer w = Bitmap->Width(), h = Bitmap->Height();
    TPngImage png;
    png.CreateBlank(Option == -1 ? COLOR_RGBALPHA : COLOR_RGB, 8, w, h);
    for (Integer y = 0; y < h; ++y) {
      const TColor32* src = Bitmap->ScanLine(y);
      Byte* rgb = png.Scanline(y);
      Byte* alpha = Option == -1 ? png.AlphaScanline(y) : nullptr;
      for (Integer x = 0; x < w; ++x) {
        rgb[3 * x] = Byte(src[x]);
        rgb[3 * x + 1] = Byte(src[x] >> 8);
        rgb[3 * x + 2] = Byte(src[x] >> 16);
        if (alpha) alpha[x] = Byte(src[x] >> 24);
      }
    }
    png.SaveToFile(FileName);
    return;
  }
  TBitmap bmp;
  AssignToBitmap(Bitmap, &bmp);
  if (Format == ifBmp) {
    bmp.SetPixelFormat(Option == 24 ? pf24bit : pf32bit);
    bmp.SaveToFile(FileName);
    return;
  }
  bmp.SetPixelFormat(pf24bit);
  TJPEGImage jpeg;
  jpeg.Assign(&bmp);
  jpeg.SetCompressionQuality(std::clamp(Option, 1, 10) * 10);
  jpeg.Compress();
  jpeg.SaveToFile(FileName);
}

std::vector<Byte> FileBytes(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead);
  std::vector<Byte> b(size_t(fs.Size()));
  if (!b.empty()) fs.ReadBuffer(b.data(), Integer(b.size()));
  return b;
}

}  // namespace

TEST(ImageFileCorpus, WritesTheBytesThePictureClassesWrote) {
  EnsureGdiPlus();
  const String dir = IncludeTrailingPathDelimiter(GetTempDirectory()) + u"lumigra_imgsave_" +
                     IntToStr(Integer(GetCurrentProcessId()));
  ASSERT_TRUE(ForceDirectories(dir));
  // An odd width (padded BMP rows), varied alpha, and one pixel.
  std::vector<std::unique_ptr<TBitmap32>> pictures;
  for (const auto& size : {std::pair<Integer, Integer>{13, 9}, {64, 40}, {1, 1}}) {
    auto b = std::make_unique<TBitmap32>();
    b->SetSize(size.first, size.second);
    for (Integer y = 0; y < size.second; ++y)
      for (Integer x = 0; x < size.first; ++x)
        b->SetPixel(x, y, Cardinal((x * 37 + y * 11) % 256) << 24 | Cardinal(x * 19 % 256) << 16 |
                              Cardinal((y * 29 + x * 3) % 256) << 8 | Cardinal((255 - x * 11 - y * 7) & 0xFF));
    pictures.push_back(std::move(b));
  }
  struct {
    TImageFormat Format;
    Integer Option;
  } cases[] = {{ifBmp, 24}, {ifBmp, 32}, {ifPng, -1}, {ifPng, 0}, {ifJpg, 1}, {ifJpg, 7}, {ifJpg, 10}};
  for (size_t p = 0; p < pictures.size(); ++p)
    for (const auto& c : cases) {
      SCOPED_TRACE("picture " + std::to_string(p) + " format " + std::to_string(int(c.Format)) + " option " +
                   std::to_string(c.Option));
      const String before = IncludeTrailingPathDelimiter(dir) + u"before", now = IncludeTrailingPathDelimiter(dir) + u"now";
      OldSave(pictures[p].get(), before, c.Format, c.Option);
      SaveBitmap32ToFile(pictures[p].get(), now, c.Format, c.Option);
      const std::vector<Byte> a = FileBytes(before), b = FileBytes(now);
      EXPECT_GT(a.size(), 0u);
      EXPECT_TRUE(a == b) << a.size() << " / " << b.size() << " bytes";
      DeleteFile(before);
      DeleteFile(now);
    }
  RemoveDir(dir);
}

// BMP files are read a band of about a megabyte of rows at a time: a file of
// several bands, bottom-up and top-down, decodes every row in its place.
TEST(ImageFileCorpus, BmpOfSeveralBands) {
  EnsureGdiPlus();
  const Integer w = 701, h = 1203;  // 24-bit rows of 2104 bytes: about 500 rows a band
  TBitmap32 src;
  src.SetSize(w, h);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x)
      src.SetPixel(x, y, 0xFF000000u | Cardinal(y % 256) << 16 | Cardinal(x % 256) << 8 | Cardinal((x ^ y) & 0xFF));
  const String f = IncludeTrailingPathDelimiter(GetTempDirectory()) + u"lumigra_bands_" +
                   IntToStr(Integer(GetCurrentProcessId())) + u".bmp";
  for (Integer bits : {24, 32}) {
    SaveBitmap32ToFile(&src, f, ifBmp, bits);
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(std::to_string(bits) + (topDown ? " top-down" : " bottom-up"));
      if (topDown) {
        // Height negated, rows reversed.
        std::vector<Byte> b = FileBytes(f);
        const size_t stride = (size_t(w) * size_t(bits) / 8 + 3) & ~size_t(3);
        std::vector<Byte> rows(b.begin() + 54, b.end());
        for (Integer y = 0; y < h; ++y)
          std::memcpy(&b[54 + size_t(y) * stride], &rows[size_t(h - 1 - y) * stride], stride);
        const Cardinal neg = Cardinal(-h);
        for (int k = 0; k < 4; ++k) b[22 + size_t(k)] = Byte(neg >> (8 * k));
        TFileStream fs(f, fmCreate);
        fs.WriteBuffer(b.data(), Integer(b.size()));
      }
      TResult d = NewDecode(f);
      ASSERT_EQ(d.Bmp->Width(), w);
      ASSERT_EQ(d.Bmp->Height(), h);
      EXPECT_EQ(d.Depth, bits);
      EXPECT_TRUE(std::equal(src.Bits(), src.Bits() + size_t(w) * size_t(h), d.Bmp->Bits()));
    }
  }
  DeleteFile(f);
}
