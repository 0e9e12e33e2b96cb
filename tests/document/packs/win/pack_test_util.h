// Shared parts of the Winelib style-pack tests: real pictures made by the
// codecs (the decoders under test read them), a private "Media\" folder that
// ExePath points at while a test runs, the style-pack log captured, and the
// one function that saves review pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bitmap/win/Bmp32_Windowed.h"
#include "document/win/StylePacks.h"
#include "tests/document/packs/pack_fixtures.h"

namespace packtest {

void EnsureGdiPlusStarted();

// Pictures of W x H whose pixel (x, y) is Fn(x, y) ($AARRGGBB).
using TPixelFn = TColor32 (*)(int X, int Y, std::uint8_t Tag);
Bytes MakeJpeg(int W, int H, std::uint8_t Tag);            // flat colour TagColor(Tag), quality 100
Bytes MakePng(int W, int H, std::uint8_t Tag, bool Alpha);  // TagColor(Tag), half transparent when Alpha
Bytes MakeBmp(int W, int H, std::uint8_t Tag, int Bits);    // TagColor(Tag), alpha 0x80 in a 32-bit one

// ExePath at a fresh folder with an empty "Media\" for one test; ExePath and
// the log handler are restored and the folder removed afterwards.
class TMediaFolder {
 public:
  TMediaFolder();
  ~TMediaFolder();
  void Write(const String& Name, const Bytes& Data) const;
  String Media() const { return FDir + u"Media\\"; }
  std::vector<String> Log;

 private:
  String FDir, FOldExePath;
  TStylePackLogHandler FOldLog;
};

// The program's folder (where the build lays out Media\).
String ProgramFolder();

// Saves Bitmap as a screenshot NAME (build/screens/test_stylepacks/NAME.png
// in a test run) for reviewers; opaque unless KeepAlpha (GDI text leaves
// alpha 0 behind).
void SaveReviewPicture(TCustomBitmap32& Bitmap, const std::string& Name, bool KeepAlpha = false);

}  // namespace packtest
