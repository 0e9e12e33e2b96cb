// Image files: extension map, box fitting, decoding through GDI+ and writing
// through the picture classes, read back.
#include "common/gtest.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "classlib/CodecRows.h"
#include "classlib/GIFImg.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "tests/gdiplus/win/gdiplus_fixture.h"

namespace {

// A private folder for the files of one test, removed afterwards.
class ImageFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGdiPlus();
    static Integer serial = 0;
    Dir = IncludeTrailingPathDelimiter(GetTempDirectory()) + u"lumigra_imgfiles_" + IntToStr(++serial) + u"_";
    Dir += IntToStr(Integer(GetCurrentProcessId())) + u"_" + IntToStr(Integer(GetTickCount() & 0xFFFFF));
    ASSERT_TRUE(ForceDirectories(Dir));
  }
  void TearDown() override {
    for (const String& f : Files) DeleteFile(f);
    RemoveDir(Dir);
  }
  String Path(const String& Name) {
    String p = IncludeTrailingPathDelimiter(Dir) + Name;
    Files.push_back(p);
    return p;
  }
  void WriteBytes(const String& FileName, const std::vector<Byte>& Bytes) {
    TFileStream fs(FileName, fmCreate);
    if (!Bytes.empty()) fs.WriteBuffer(Bytes.data(), Integer(Bytes.size()));
  }
  std::vector<Byte> ReadBytes(const String& FileName) {
    TFileStream fs(FileName, fmOpenRead);
    std::vector<Byte> b(size_t(fs.Size()));
    if (!b.empty()) fs.ReadBuffer(b.data(), Integer(b.size()));
    return b;
  }
  struct TDecoded {
    std::unique_ptr<TBitmap32> Bmp;
    bool HasAlpha = false;
    Integer Depth = 0;
  };
  TDecoded Decode(const String& FileName) {
    TDecoded d;
    d.HasAlpha = true;  // the routine must reset both
    d.Depth = 99;
    d.Bmp.reset(LoadImageToBitmap32(FileName, d.HasAlpha, d.Depth));
    return d;
  }
  String Dir;
  std::vector<String> Files;
};

// A picture with distinct colours per pixel and, when asked, varied alpha.
std::unique_ptr<TBitmap32> MakePattern(Integer W, Integer H, bool VaryAlpha) {
  auto b = std::make_unique<TBitmap32>();
  b->SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      const Cardinal a = VaryAlpha ? Cardinal((x * 37 + y * 11) % 256) : 255u;
      b->SetPixel(x, y, (a << 24) | (Cardinal(x * 20) << 16) | (Cardinal(y * 30) << 8) | Cardinal((x + y) * 9));
    }
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------

static_assert(Integer(ifBmp) == 0 && Integer(ifUnknown) == 4 && Integer(ifIco) == 8 && sizeof(TImageFormat) == 1);

TEST(ImageFormatByExt, MapsExtensionsCaseInsensitively) {
  struct {
    const char16_t* Name;
    TImageFormat Format;
  } cases[] = {
      {u"a.bmp", ifBmp},          {u"a.png", ifPng},         {u"C:\\x\\a.JPEG", ifJpg}, {u"a.Jpe", ifJpg},
      {u"a.jpg", ifJpg},          {u"a.GIF", ifGif},         {u"a.emf", ifEmf},         {u"a.tif", ifTiff},
      {u"a.TIFF", ifTiff},        {u"a.wmf", ifUnknown},     {u"a.ico", ifUnknown},     {u"noext", ifUnknown},
      {u"C:\\d.png\\file", ifUnknown}, {u"a.png.txt", ifUnknown}, {u"", ifUnknown},     {u"a.jpeg2", ifUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(GetImageFormatByExt(c.Name), c.Format) << "case " << int(&c - cases);
}

TEST(ImageFormatByExt, ExtensionOfEveryFormat) {
  const char16_t* expected[] = {u"bmp", u"png", u"jpg", u"gif", u"", u"wmf", u"emf", u"tiff", u"ico"};
  for (Integer f = 0; f <= 8; ++f) {
    String ext = u"stale";
    GetImageExtByFormat(TImageFormat(f), ext);
    EXPECT_TRUE(ext == expected[f]) << "format " << f;
  }
}

TEST(FitSizeKeepAspect, Cases) {
  struct {
    Integer W, H, MW, MH, NW, NH;
  } cases[] = {
      {1000, 10, 100, 100, 100, 1}, {1000, 1, 100, 100, 100, 1}, {200, 100, 100, 50, 100, 50},
      {50, 40, 100, 100, 50, 40},   {100, 100, 100, 100, 100, 100}, {10, 1000, 100, 100, 1, 100},
      {300, 200, 100, 100, 100, 66}, {200, 300, 100, 100, 66, 100},
  };
  for (const auto& c : cases) {
    Integer nw = -5, nh = -5;
    FitSizeKeepAspect(c.W, c.H, c.MW, c.MH, nw, nh);
    EXPECT_EQ(nw, c.NW) << c.W << "x" << c.H;
    EXPECT_EQ(nh, c.NH) << c.W << "x" << c.H;
  }
}

// ---------------------------------------------------------------------------
// Written files, read back through GDI+

TEST_F(ImageFilesTest, PngWithAlphaKeepsEveryByte) {
  auto src = MakePattern(9, 7, true);
  const String f = Path(u"alpha.png");
  SaveBitmap32ToFile(src.get(), f, ifPng, -1);
  TDecoded d = Decode(f);
  ASSERT_EQ(d.Bmp->Width(), 9);
  ASSERT_EQ(d.Bmp->Height(), 7);
  EXPECT_TRUE(d.HasAlpha);
  EXPECT_EQ(d.Depth, 32);
  for (Integer y = 0; y < 7; ++y)
    for (Integer x = 0; x < 9; ++x) ASSERT_EQ(d.Bmp->GetPixel(x, y), src->GetPixel(x, y)) << x << "," << y;
}

TEST_F(ImageFilesTest, PngWithoutAlphaDropsIt) {
  auto src = MakePattern(9, 7, true);
  const String f = Path(u"rgb.png");
  SaveBitmap32ToFile(src.get(), f, ifPng, 0);
  TDecoded d = Decode(f);
  ASSERT_EQ(d.Bmp->Width(), 9);
  EXPECT_FALSE(d.HasAlpha);
  EXPECT_EQ(d.Depth, 24);
  for (Integer y = 0; y < 7; ++y)
    for (Integer x = 0; x < 9; ++x)
      ASSERT_EQ(d.Bmp->GetPixel(x, y), src->GetPixel(x, y) | 0xFF000000u) << x << "," << y;
}

TEST_F(ImageFilesTest, BmpDepthsReadBack) {
  auto src = MakePattern(6, 5, false);
  struct {
    Integer Option;
    Integer Depth;
    bool Exact;
  } cases[] = {{24, 24, true}, {32, 32, true}, {8, 8, false}, {1, 1, false}};
  for (const auto& c : cases) {
    const String f = Path(u"d" + IntToStr(c.Option) + u".bmp");
    SaveBitmap32ToFile(src.get(), f, ifBmp, c.Option);
    TDecoded d = Decode(f);
    ASSERT_EQ(d.Bmp->Width(), 6) << c.Option;
    ASSERT_EQ(d.Bmp->Height(), 5) << c.Option;
    EXPECT_EQ(d.Depth, c.Depth) << c.Option;
    EXPECT_FALSE(d.HasAlpha) << c.Option;
    for (Integer i = 0; i < 30; ++i) EXPECT_EQ(d.Bmp->Bits()[i] >> 24, 255u) << c.Option;
    if (c.Exact) {
      for (Integer y = 0; y < 5; ++y)
        for (Integer x = 0; x < 6; ++x) ASSERT_EQ(d.Bmp->GetPixel(x, y), src->GetPixel(x, y)) << c.Option;
    }
  }
}

// A picture handed over in bands is written as the same bitmap whole: every
// format, sizes not a multiple of the band height, BMPs tall enough for
// more than one block; the formats written exactly read back exactly.
TEST_F(ImageFilesTest, RowsWriteTheFileTheBitmapWrites) {
  struct {
    TImageFormat Format;
    Integer Option;
    bool ExactRgb, ExactAlpha;
  } formats[] = {{ifJpg, 8, false, false}, {ifPng, -1, true, true}, {ifPng, 0, true, false},
                 {ifBmp, 24, true, false}, {ifBmp, 32, true, false}, {ifBmp, 8, false, false},
                 {ifGif, 0, false, false}};
  struct {
    Integer W, H;
  } sizes[] = {{1, 1}, {13, 37}, {700, 500}};
  for (const auto& sz : sizes) {
    auto src = MakePattern(sz.W, sz.H, true);
    for (const auto& f : formats) {
      SCOPED_TRACE("format " + std::to_string(int(f.Format)) + " option " + std::to_string(f.Option) + " size " +
                   std::to_string(sz.W) + "x" + std::to_string(sz.H));
      String ext;
      GetImageExtByFormat(f.Format, ext);
      const String whole = Path(u"whole." + ext), banded = Path(u"banded." + ext);
      SaveBitmap32ToFile(src.get(), whole, f.Format, f.Option);
      std::vector<TColor32> band(size_t(codec::RowBand) * size_t(sz.W));
      std::vector<Integer> seen(size_t(sz.H), 0);
      SaveBitmap32RowsToFile(
          sz.W, sz.H,
          [&](Integer Y, Integer Count) {
            EXPECT_GE(Count, 1);
            EXPECT_LE(Count, codec::RowBand);
            std::fill(band.begin(), band.end(), TColor32(0x5A5A5A5A));
            for (Integer i = 0; i < Count; ++i) {
              ++seen[size_t(Y + i)];
              std::copy_n(src->ScanLine(Y + i), sz.W, band.begin() + std::ptrdiff_t(i) * sz.W);
            }
            return static_cast<const TColor32*>(band.data());
          },
          banded, f.Format, f.Option);
      EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), sz.H) << "every row made once";
      EXPECT_TRUE(ReadBytes(whole) == ReadBytes(banded));
      if (f.ExactRgb) {
        TDecoded d = Decode(banded);
        ASSERT_EQ(d.Bmp->Width(), sz.W);
        ASSERT_EQ(d.Bmp->Height(), sz.H);
        const TColor32 mask = f.ExactAlpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
        Integer off = 0;
        for (Integer y = 0; y < sz.H; ++y)
          for (Integer x = 0; x < sz.W; ++x) off += (d.Bmp->GetPixel(x, y) & mask) != (src->GetPixel(x, y) & mask);
        EXPECT_EQ(off, 0);
      }
    }
  }
}

// A failing band source: its exception reaches the caller.
TEST_F(ImageFilesTest, RowsSourceFailureReachesTheCaller) {
  for (TImageFormat format : {ifJpg, ifPng, ifBmp, ifGif}) {
    String ext;
    GetImageExtByFormat(format, ext);
    EXPECT_THROW(SaveBitmap32RowsToFile(
                     20, 40, [](Integer Y, Integer) -> const TColor32* {
                       if (Y >= codec::RowBand) throw EAbort(u"stopped");
                       static std::vector<TColor32> band(size_t(codec::RowBand) * 20, 0xFF808080u);
                       return band.data();
                     },
                     Path(u"failed." + ext), format, 24),
                 EAbort)
        << UTF8Encode(ext);
  }
}

TEST_F(ImageFilesTest, JpegOpaqueAndQualityFollowsLevel) {
  // A smooth picture: JPEG keeps it close.
  TBitmap32 src;
  src.SetSize(32, 24);
  for (Integer y = 0; y < 24; ++y)
    for (Integer x = 0; x < 32; ++x) src.SetPixel(x, y, 0x80000000u | Cardinal(x * 6) << 16 | Cardinal(y * 8) << 8 | 128u);
  const String hi = Path(u"hi.jpg"), lo = Path(u"lo.jpg");
  SaveBitmap32ToFile(&src, hi, ifJpg, 10);
  SaveBitmap32ToFile(&src, lo, ifJpg, 1);
  EXPECT_GT(FileSize(hi), FileSize(lo));
  TDecoded d = Decode(hi);
  ASSERT_EQ(d.Bmp->Width(), 32);
  ASSERT_EQ(d.Bmp->Height(), 24);
  EXPECT_FALSE(d.HasAlpha);
  EXPECT_EQ(d.Depth, 24);
  for (Integer y = 0; y < 24; ++y)
    for (Integer x = 0; x < 32; ++x) {
      const TColor32 a = src.GetPixel(x, y), b = d.Bmp->GetPixel(x, y);
      ASSERT_EQ(b >> 24, 255u);
      for (int s = 0; s < 24; s += 8) ASSERT_NEAR(int((a >> s) & 0xFF), int((b >> s) & 0xFF), 12) << x << "," << y;
    }
}

TEST_F(ImageFilesTest, GifWithTransparentPixelsReportsAlpha) {
  TBitmap32 src;
  src.SetSize(8, 4);
  src.Clear(0xFF0000FF);
  src.SetPixel(1, 1, 0xFFFF0000);
  src.SetPixel(2, 2, 0x10123456);  // below the threshold: transparent
  const String f = Path(u"t.gif");
  SaveBitmap32ToFile(&src, f, ifGif, 0);
  TDecoded d = Decode(f);
  ASSERT_EQ(d.Bmp->Width(), 8);
  EXPECT_EQ(d.Depth, 8);
  EXPECT_TRUE(d.HasAlpha);  // from the pixels, not the pixel format
  EXPECT_EQ(d.Bmp->GetPixel(2, 2) >> 24, 0u);
  EXPECT_EQ(d.Bmp->GetPixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(d.Bmp->GetPixel(1, 1), 0xFFFF0000u);

  // Without a transparent pixel the GIF is opaque.
  src.SetPixel(2, 2, 0xFF0000FF);
  const String g = Path(u"o.gif");
  SaveBitmap32ToFile(&src, g, ifGif, 0);
  TDecoded o = Decode(g);
  EXPECT_EQ(o.Depth, 8);
  EXPECT_FALSE(o.HasAlpha);
}

TEST_F(ImageFilesTest, UnsupportedFormatsRaiseAndWriteNothing) {
  auto src = MakePattern(4, 4, false);
  for (TImageFormat fmt : {ifUnknown, ifWmf, ifEmf, ifTiff, ifIco}) {
    const String f = Path(u"x" + IntToStr(Integer(fmt)));
    EXPECT_THROW(SaveBitmap32ToFile(src.get(), f, fmt, 0), EInvalidGraphic) << int(fmt);
    EXPECT_FALSE(FileExists(f)) << int(fmt);
  }
}

TEST_F(ImageFilesTest, BrokenAndMissingFilesGiveAnEmptyBitmap) {
  auto src = MakePattern(16, 16, true);
  const String good = Path(u"good.png");
  SaveBitmap32ToFile(src.get(), good, ifPng, -1);
  std::vector<Byte> bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 40u);

  const String truncated = Path(u"trunc.png"), text = Path(u"text.png"), empty = Path(u"empty.jpg"),
               header = Path(u"header.bmp");
  WriteBytes(truncated, std::vector<Byte>(bytes.begin(), bytes.begin() + 30));
  const char* t = "this is not a picture\r\n";
  WriteBytes(text, std::vector<Byte>(t, t + 23));
  WriteBytes(empty, {});
  // A BMP header that claims a huge picture but holds no pixels.
  std::vector<Byte> bmp(54, 0);
  bmp[0] = 'B', bmp[1] = 'M', bmp[10] = 54, bmp[14] = 40;
  bmp[18] = 0x00, bmp[19] = 0x00, bmp[20] = 0x01;  // width 65536
  bmp[22] = 0x00, bmp[23] = 0x00, bmp[24] = 0x01;  // height 65536
  bmp[26] = 1, bmp[28] = 24;
  WriteBytes(header, bmp);

  for (const String& f : {truncated, text, empty, header, IncludeTrailingPathDelimiter(Dir) + u"missing.png"}) {
    TDecoded d = Decode(f);
    EXPECT_EQ(d.Bmp->Width(), 0);
    EXPECT_EQ(d.Bmp->Height(), 0);
    EXPECT_FALSE(d.HasAlpha);
    EXPECT_EQ(d.Depth, -1);
  }
}

TEST_F(ImageFilesTest, ChineseFileName) {
  auto src = MakePattern(5, 3, true);
  const String f = Path(u"\u56fe\u7247.png");
  SaveBitmap32ToFile(src.get(), f, ifPng, -1);
  TDecoded d = Decode(f);
  ASSERT_EQ(d.Bmp->Width(), 5);
  EXPECT_EQ(d.Bmp->GetPixel(4, 2), src->GetPixel(4, 2));
}

// Alpha formats wider or narrower than 32 bits, and premultiplied ones,
// reach the bitmap as straight 32-bit pixels, row by row.
TEST(GPBitmapToBitmap32, AlphaFormatsConvertedPerPixel) {
  EnsureGdiPlus();
  const Integer w = 5, h = 3;
  for (Integer format : {gdipflat::PixelFormat32bppPARGB, gdipflat::PixelFormat32bppARGB}) {
    IGPBitmap gp = new TGPBitmap(w, h, format);
    ASSERT_NE(gp->Native(), nullptr) << std::hex << format;
    for (Integer y = 0; y < h; ++y)
      for (Integer x = 0; x < w; ++x)
        gp->SetPixel(x, y, TGPColor(x == 0 ? 0xFF000000u | Cardinal(y * 40) : 0xFF102030u + Cardinal(x * 0x101010 + y * 0x20000)));
    gp->SetPixel(2, 1, TGPColor(0x80FF0000));  // half-transparent red
    bool hasAlpha = false;
    Integer depth = 0;
    std::unique_ptr<TBitmap32> b(GPBitmapToBitmap32(gp, hasAlpha, depth));
    ASSERT_EQ(b->Width(), w) << std::hex << format;
    ASSERT_EQ(b->Height(), h);
    EXPECT_TRUE(hasAlpha);
    EXPECT_EQ(depth, 32);
    for (Integer y = 0; y < h; ++y)
      for (Integer x = 0; x < w; ++x) {
        if (x == 2 && y == 1) continue;
        EXPECT_EQ(b->GetPixel(x, y), Cardinal(gp->GetPixel(x, y))) << std::hex << format << " " << x << "," << y;
      }
    const TColor32 half = b->GetPixel(2, 1);
    EXPECT_NEAR(int(half >> 24), 0x80, 1) << std::hex << format;
    EXPECT_NEAR(int((half >> 16) & 0xFF), 0xFF, 2) << std::hex << format;  // straight, not premultiplied
    EXPECT_EQ(half & 0xFFFF, 0u) << std::hex << format;
  }
}

TEST(GPBitmapToBitmap32, OpaqueFormatWithTransparentPixelReportsAlpha) {
  EnsureGdiPlus();
  bool hasAlpha = false;
  Integer depth = 0;
  IGPBitmap gp = new TGPBitmap(4, 4, gdipflat::PixelFormat24bppRGB);
  gp->SetPixel(1, 1, TGPColor(0xFF00FF00));
  std::unique_ptr<TBitmap32> b(GPBitmapToBitmap32(gp, hasAlpha, depth));
  ASSERT_EQ(b->Width(), 4);
  EXPECT_EQ(depth, 24);
  EXPECT_FALSE(hasAlpha);
  EXPECT_EQ(b->GetPixel(1, 1), 0xFF00FF00u);
  // A nil bitmap leaves both values as the caller set them.
  hasAlpha = false;
  depth = -1;
  std::unique_ptr<TBitmap32> e(GPBitmapToBitmap32(IGPBitmap(), hasAlpha, depth));
  EXPECT_EQ(e->Width(), 0);
  EXPECT_EQ(depth, -1);
  EXPECT_FALSE(hasAlpha);
}

// ---------------------------------------------------------------------------
// GIF palette and transparency

TEST(Bitmap32ToGIF, TransparentIndexIsLowestUnusedAndWhite) {
  TBitmap32 src;
  src.SetSize(6, 6);
  src.Clear(0xFF202080);
  src.SetPixel(0, 0, 0xFFC00000);
  {
    std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(&src, 32, 0xFFFFFF));
    ASSERT_EQ(gif->ImageCount(), 1);
    EXPECT_FALSE(gif->Images(0)->Transparent);  // no pixel below the threshold
  }
  src.SetPixel(3, 3, 0x1F000000);  // alpha 31 < 32
  src.SetPixel(4, 4, 0x20000000);  // alpha 32: stays opaque
  std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(&src, 32, 0xFFFFFF));
  TGIFFrame* fr = gif->Images(0);
  ASSERT_TRUE(fr->Transparent);
  const Byte t = fr->TransparentColorIndex;
  // The lowest index no other pixel uses.
  std::vector<bool> used(256, false);
  for (size_t i = 0; i < fr->Data.size(); ++i)
    if (i != size_t(3 * 6 + 3)) used[fr->Data[i]] = true;
  Integer lowest = 0;
  while (used[size_t(lowest)]) ++lowest;
  EXPECT_EQ(Integer(t), lowest);
  EXPECT_EQ(fr->Data[3 * 6 + 3], t);
  EXPECT_NE(fr->Data[4 * 6 + 4], t);
  ASSERT_GT(fr->ColorMap.size(), size_t(t));
  EXPECT_TRUE((fr->ColorMap[t] == TGIFColor{255, 255, 255}));
}

TEST(Bitmap32ToGIF, ManyColoursKeepEveryOpaquePixelOpaque) {
  // 64 x 64 distinct colours: the quantised palette uses all 256 entries.
  TBitmap32 src;
  src.SetSize(64, 64);
  for (Integer y = 0; y < 64; ++y)
    for (Integer x = 0; x < 64; ++x)
      src.SetPixel(x, y, 0xFF000000u | Cardinal(x * 4) << 16 | Cardinal(y * 4) << 8 | Cardinal(((x * 7) ^ (y * 13)) & 0xFF));
  {
    std::unique_ptr<TGIFImage> opaque(Bitmap32ToGIF(&src, 32, 0xFFFFFF));
    std::vector<bool> used(256, false);
    for (Byte b : opaque->Images(0)->Data) used[b] = true;
    ASSERT_EQ(std::count(used.begin(), used.end(), true), 256) << "the fixture must fill the palette";
  }
  for (Integer i = 0; i < 64; i += 5) src.SetPixel(i, 63 - i, 0x00FFFFFF);
  std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(&src, 32, 0xFFFFFF));
  TGIFFrame* fr = gif->Images(0);
  ASSERT_TRUE(fr->Transparent);
  ASSERT_EQ(fr->Data.size(), 64u * 64u);
  for (Integer y = 0; y < 64; ++y)
    for (Integer x = 0; x < 64; ++x) {
      const bool transparent = (src.GetPixel(x, y) >> 24) < 32;
      ASSERT_EQ(fr->Data[size_t(y * 64 + x)] == fr->TransparentColorIndex, transparent) << x << "," << y;
    }
}

// ---------------------------------------------------------------------------
// Thumbnails

TEST_F(ImageFilesTest, LoadImageFittedScalesDownOnly) {
  auto src = MakePattern(40, 20, false);
  const String f = Path(u"fit.png");
  SaveBitmap32ToFile(src.get(), f, ifPng, 0);
  TBitmap32 dest;
  Integer w = 0, h = 0;
  EXPECT_TRUE(LoadImageFitted(f, &dest, 10, 10, w, h));
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 20);
  EXPECT_EQ(dest.Width(), 10);
  EXPECT_EQ(dest.Height(), 5);
  EXPECT_TRUE(LoadImageFitted(f, &dest, 100, 100, w, h));
  EXPECT_EQ(dest.Width(), 40);
  EXPECT_EQ(dest.GetPixel(7, 3), src->GetPixel(7, 3));

  EXPECT_FALSE(LoadImageFitted(IncludeTrailingPathDelimiter(Dir) + u"none.png", &dest, 12, 9, w, h));
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  ASSERT_EQ(dest.Width(), 12);
  ASSERT_EQ(dest.Height(), 9);
  for (Integer i = 0; i < 12 * 9; ++i) ASSERT_EQ(dest.Bits()[i], 0xFFFFFFFFu);
}

TEST(FitBitmap32, CopiesOrScales) {
  auto src = MakePattern(30, 60, true);
  TBitmap32 dest;
  EXPECT_TRUE(FitBitmap32(src.get(), &dest, 30, 60));
  EXPECT_EQ(dest.Width(), 30);
  EXPECT_EQ(dest.GetPixel(29, 59), src->GetPixel(29, 59));
  EXPECT_TRUE(FitBitmap32(src.get(), &dest, 100, 30));
  EXPECT_EQ(dest.Width(), 15);
  EXPECT_EQ(dest.Height(), 30);
}

// ---------------------------------------------------------------------------
// JPEG size estimate through GDI+

TEST(SaveBitmapToStreamWithQuality, EncodesAndRefuses) {
  EnsureGdiPlus();
  auto src = MakePattern(48, 32, false);
  TBitmap bmp;
  AssignToBitmap(src.get(), &bmp);
  bmp.SetPixelFormat(pf24bit);
  auto sizeAt = [&](Integer quality) -> Int64 {
    IStream* s = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &s) != S_OK) return -2;
    const bool ok = SaveBitmapToStreamWithQuality(&bmp, quality, s);
    STATSTG st{};
    s->Stat(&st, STATFLAG_NONAME);
    s->Release();
    return ok ? Int64(st.cbSize.QuadPart) : -1;
  };
  const Int64 hi = sizeAt(100), lo = sizeAt(10);
  EXPECT_GT(lo, 0);
  EXPECT_GT(hi, lo);

  // Nothing to encode, or nowhere to write: False, not an empty success.
  TBitmap empty;
  IStream* s = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
  EXPECT_FALSE(SaveBitmapToStreamWithQuality(&empty, 90, s));
  EXPECT_FALSE(SaveBitmapToStreamWithQuality(&bmp, 90, nullptr));
  s->Release();
}

TEST_F(ImageFilesTest, LoadBitmapWithAlphaComposesOverWhite) {
  TBitmap32 src;
  src.SetSize(4, 2);
  src.Clear(0xFF123456);
  src.SetPixel(0, 0, 0x00000000);
  const String f = Path(u"wa.png");
  SaveBitmap32ToFile(&src, f, ifPng, -1);
  std::unique_ptr<TBitmap> b(LoadBitmapWithAlpha(f));
  ASSERT_EQ(b->Width(), 4);
  ASSERT_EQ(b->Height(), 2);
  TBitmap32 back;
  back.Assign(b.get());
  EXPECT_EQ(back.GetPixel(1, 1) & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(back.GetPixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  std::unique_ptr<TBitmap> none(LoadBitmapWithAlpha(IncludeTrailingPathDelimiter(Dir) + u"none.png"));
  EXPECT_TRUE(none->Empty());
}

// A 64-bit BMP (GDI+ decodes it as 64-bit ARGB) reaches the bitmap as
// 32-bit pixels in the right places.
TEST_F(ImageFilesTest, SixtyFourBitBmpConvertedPerPixel) {
  const Integer w = 3, h = 2;
  std::vector<Byte> f(54 + size_t(w * h * 8), 0);
  auto put32 = [&](size_t at, Cardinal v) {
    for (int i = 0; i < 4; ++i) f[at + size_t(i)] = Byte(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, Cardinal(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, Cardinal(w));
  put32(22, Cardinal(h));  // bottom-up
  f[26] = 1;
  f[28] = 64;
  put32(34, Cardinal(w * h * 8));
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      Byte* p = &f[54 + size_t(((h - 1 - y) * w + x) * 8)];
      const Word s[4] = {Word(0x1000 * (x + 1)), Word(0x2000 * (y + 1)), Word(0x4000 + 0x1000 * x), 0xFFFF};
      for (int c = 0; c < 4; ++c) p[2 * c] = Byte(s[c]), p[2 * c + 1] = Byte(s[c] >> 8);
    }
  const String file = Path(u"deep.bmp");
  WriteBytes(file, f);
  TDecoded d = Decode(file);
  if (d.Bmp->Width() == 0) {
    // This GDI+ refuses the file: the clean empty result, nothing garbled.
    EXPECT_EQ(d.Bmp->Height(), 0);
    EXPECT_EQ(d.Depth, -1);
    return;
  }
  ASSERT_EQ(d.Bmp->Width(), w);
  ASSERT_EQ(d.Bmp->Height(), h);
  EXPECT_EQ(d.Depth, 32);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      // Column x has distinct blue and red, row y distinct green.
      const TColor32 c = d.Bmp->GetPixel(x, y), r = d.Bmp->GetPixel(0, 0);
      EXPECT_EQ(c >> 24, 255u);
      if (x > 0) {
        EXPECT_GT(c & 0xFF, r & 0xFF) << x << "," << y;
      }
      if (y > 0) {
        EXPECT_GT((c >> 8) & 0xFF, (r >> 8) & 0xFF) << x << "," << y;
      }
    }
}

// ---------------------------------------------------------------------------
// Worker threads decode and fit on their own objects.

namespace {
struct TDecodeJob {
  String File;
  std::vector<TColor32> Expected;
  Integer Mismatches = 0;
};

DWORD WINAPI DecodeLoop(void* Param) {
  auto* job = static_cast<TDecodeJob*>(Param);
  try {
    for (int i = 0; i < 15; ++i) {
      bool a = false;
      Integer d = 0;
      std::unique_ptr<TBitmap32> b(LoadImageToBitmap32(job->File, a, d));
      const size_t n = size_t(b->Width()) * size_t(b->Height());
      if (n != job->Expected.size() || !std::equal(b->Bits(), b->Bits() + n, job->Expected.begin())) ++job->Mismatches;
      TBitmap32 fitted;
      Integer w = 0, h = 0;
      if (!LoadImageFitted(job->File, &fitted, 8, 8, w, h)) ++job->Mismatches;
    }
  } catch (...) {
    ++job->Mismatches;
  }
  return 0;
}
}  // namespace

TEST_F(ImageFilesTest, TwoThreadsDecodeLikeOne) {
  auto a = MakePattern(40, 30, true);
  auto b = MakePattern(25, 35, false);
  TDecodeJob jobs[2];
  jobs[0].File = Path(u"ta.png");
  jobs[1].File = Path(u"tb.jpg");
  SaveBitmap32ToFile(a.get(), jobs[0].File, ifPng, -1);
  SaveBitmap32ToFile(b.get(), jobs[1].File, ifJpg, 8);
  for (TDecodeJob& j : jobs) {
    TDecoded d = Decode(j.File);
    ASSERT_GT(d.Bmp->Width(), 0);
    j.Expected.assign(d.Bmp->Bits(), d.Bmp->Bits() + size_t(d.Bmp->Width()) * size_t(d.Bmp->Height()));
  }
  HANDLE threads[2];
  for (int i = 0; i < 2; ++i) threads[i] = CreateThread(nullptr, 0, DecodeLoop, &jobs[i], 0, nullptr);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (HANDLE t : threads) CloseHandle(t);
  EXPECT_EQ(jobs[0].Mismatches, 0);
  EXPECT_EQ(jobs[1].Mismatches, 0);
}
