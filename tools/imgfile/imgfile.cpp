// imgfile: reads and converts image files from the command line.
//
//   imgfile info FILE
//       prints the file's format, size, bit depth and alpha on one line:
//       "FORMAT WIDTHxHEIGHT depth N alpha yes|no"
//   imgfile convert IN OUT
//       decodes IN and writes it in the format of OUT's extension (BMP, PNG,
//       JPEG or GIF); the alpha channel is kept where the format holds it
//
// A file that cannot be read or written gives a one-line message on stderr
// and exit status 1; a wrong command line gives the usage text and exit
// status 2.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bitmap/Bmp32_Engine.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace {

const char kUsage[] =
    "usage: imgfile info FILE\n"
    "       imgfile convert IN OUT\n";

String Arg(const char* s) { return AnsiBytesToString(s, std::strlen(s)); }

int Fail(const String& Message) {
  std::fprintf(stderr, "imgfile: %s\n", UTF8Encode(Message).c_str());
  return 1;
}

// The format the file's leading bytes show; the extension's when they show
// none of the known signatures.
String FormatName(const String& FileName) {
  Byte head[8] = {};
  Integer n = 0;
  {
    TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
    n = fs.Read(head, Integer(sizeof(head)));
  }
  static const Byte kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (n >= 8 && std::memcmp(head, kPng, 8) == 0) return u"png";
  if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return u"jpg";
  if (n >= 4 && std::memcmp(head, "GIF8", 4) == 0) return u"gif";
  if (n >= 2 && head[0] == 'B' && head[1] == 'M') return u"bmp";
  if (n >= 4 && (std::memcmp(head, "II*\0", 4) == 0 || std::memcmp(head, "MM\0*", 4) == 0)) return u"tiff";
  if (n >= 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0) return u"ico";
  String ext;
  GetImageExtByFormat(GetImageFormatByExt(FileName), ext);
  return ext.empty() ? String(u"unknown") : ext;
}

// Decodes a file; null (with the reason in Error) when nothing comes out.
std::unique_ptr<TBitmap32> Decode(const String& FileName, bool& HasAlpha, Integer& Depth, String& Error) {
  if (!FileExists(FileName)) {
    Error = FileName + u": no such file";
    return nullptr;
  }
  HasAlpha = false;
  Depth = -1;
  std::unique_ptr<TBitmap32> bmp(LoadImageToBitmap32(FileName, HasAlpha, Depth));
  if (!bmp || bmp->Empty() || Depth < 0) {
    Error = FileName + u": not an image file that can be decoded";
    return nullptr;
  }
  return bmp;
}

int Info(const String& FileName) {
  bool alpha = false;
  Integer depth = -1;
  String error;
  auto bmp = Decode(FileName, alpha, depth, error);
  if (!bmp) return Fail(error);
  const String line = FormatName(FileName) + u" " + IntToStr(bmp->Width()) + u"x" + IntToStr(bmp->Height()) +
                      u" depth " + IntToStr(depth) + u" alpha " + (alpha ? u"yes" : u"no");
  std::printf("%s\n", UTF8Encode(line).c_str());
  return 0;
}

int Convert(const String& In, const String& Out) {
  const TImageFormat format = GetImageFormatByExt(Out);
  if (format != ifBmp && format != ifPng && format != ifJpg && format != ifGif)
    return Fail(Out + u": cannot write this format (use .bmp, .png, .jpg or .gif)");
  bool alpha = false;
  Integer depth = -1;
  String error;
  auto bmp = Decode(In, alpha, depth, error);
  if (!bmp) return Fail(error);
  Integer option = 0;
  switch (format) {
    case ifBmp: option = alpha ? 32 : 24; break;
    case ifPng: option = alpha ? -1 : 0; break;
    case ifJpg: option = 9; break;
    default: break;
  }
  SaveBitmap32ToFile(bmp.get(), Out, format, option);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool info = argc == 3 && std::strcmp(argv[1], "info") == 0;
  const bool convert = argc == 4 && std::strcmp(argv[1], "convert") == 0;
  if (!info && !convert) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    InitializeBitmapEngine();
    GdiPlusStartup();
    const int rc = info ? Info(Arg(argv[2])) : Convert(Arg(argv[2]), Arg(argv[3]));
    GdiPlusShutdown();
    return rc;
  } catch (const Exception& e) {
    return Fail(e.Message());
  } catch (const std::exception& e) {
    return Fail(AsciiToString(e.what()));
  }
}
