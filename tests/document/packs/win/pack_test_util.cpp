#include "common/gtest.h"

#include "tests/document/packs/win/pack_test_util.h"


#include "classlib/CodecJpeg.h"
#include "classlib/CodecPng.h"
#include "common/RemoveTree.h"
#include "common/ScreensBitmap32.h"
#include "foundation/app/HyAppUtils.h"
#include "gdiplus/win/GdiPlus.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"

namespace packtest {

void EnsureGdiPlusStarted() {
  if (!GdiPlusStarted()) GdiPlusStartup();
}

namespace {

std::vector<std::uint8_t> Pixels(int W, int H, TColor32 C, int Channels) {
  std::vector<std::uint8_t> p;
  for (int i = 0; i < W * H; ++i) {
    p.insert(p.end(), {std::uint8_t(C), std::uint8_t(C >> 8), std::uint8_t(C >> 16)});
    if (Channels == 4) p.push_back(std::uint8_t(C >> 24));
  }
  return p;
}

}  // namespace

Bytes MakeJpeg(int W, int H, std::uint8_t Tag) {
  Bytes out;
  EXPECT_EQ(codec::JpegEncode(Pixels(W, H, TagColor(Tag), 3).data(), W, H, 100, out), "");
  return out;
}

Bytes MakePng(int W, int H, std::uint8_t Tag, bool Alpha) {
  Bytes out;
  const TColor32 c = Alpha ? (TagColor(Tag) & 0xFFFFFFu) | 0x80000000u : TagColor(Tag);
  EXPECT_EQ(codec::PngEncode(Pixels(W, H, c, 4).data(), W, H, Alpha ? 6 : 2, out), "");
  return out;
}

Bytes MakeBmp(int W, int H, std::uint8_t Tag, int Bits) {
  const int bpp = Bits / 8, stride = (W * bpp + 3) & ~3;
  Bytes b = BmpHeader(W, H, unsigned(Bits), unsigned(stride * H));
  const TColor32 c = Bits == 32 ? (TagColor(Tag) & 0xFFFFFFu) | 0x80000000u : TagColor(Tag);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      b.insert(b.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
      if (bpp == 4) b.push_back(std::uint8_t(c >> 24));
    }
    for (int k = W * bpp; k < stride; ++k) b.push_back(0);
  }
  return b;
}

TMediaFolder::TMediaFolder() {
  EnsureGdiPlusStarted();
  static int serial = 0;
  FDir = IncludeTrailingPathDelimiter(GetTempDirectory()) + u"lumigra_packs_" + IntToStr(Integer(GetCurrentProcessId())) +
         u"_" + IntToStr(++serial) + u"\\";
  ForceDirectories(FDir + u"Media");
  FOldExePath = ExePath;
  ExePath = FDir;
  FOldLog = SetStylePackLogHandler([this](const String& Line) { Log.push_back(Line); });
}

TMediaFolder::~TMediaFolder() {
  SetStylePackLogHandler(FOldLog);
  ExePath = FOldExePath;
  RemoveTree(ExcludeTrailingPathDelimiter(FDir));
}

void TMediaFolder::Write(const String& Name, const Bytes& Data) const {
  TFileStream fs(Media() + Name, fmCreate);
  if (!Data.empty()) fs.WriteBuffer(Data.data(), Integer(Data.size()));
}

String ProgramFolder() {
  char16_t buf[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, reinterpret_cast<LPWSTR>(buf), MAX_PATH);
  return ExtractFilePath(String(buf));
}

void SaveReviewPicture(TCustomBitmap32& Bitmap, const std::string& Name, bool KeepAlpha) {
  lumigra_test::SaveBitmapScreen(Bitmap, Name, std::string(), KeepAlpha);
}

}  // namespace packtest
