// Golden pictures of the text effects (glow, bold glow, the two wide glows
// and the reflection) of one short text, recorded under the pinned test
// prefix (its Windows version, font replacements and no font smoothing) and
// compared pixel for pixel: text is the platform's, so these pin the whole
// chain of red text, blur, tint and blending as the program shows it.
//
// The pictures are tests/skin/win/golden/<name>.png beside this file. To
// record them anew (after a deliberate change of the drawing), run the test
// program with LUMIGRA_RECORD_GOLDENS=1 and review the files written.
#include "SkinToolkitTestUtil.h"

#include <cstdint>
#include <functional>
#include <string>

#include "classlib/CodecPng.h"

namespace {

using namespace sptest;

// The folder of the golden pictures, as a Windows path.
std::u16string GoldenDir() {
  // The build passes the folder: __FILE__ is relative when the compiler cache
  // rewrites paths, and a test does not run where it was compiled.
  std::string Dir = LUMIGRA_SKIN_GOLDENS_DIR;
  std::u16string W = Dir[0] == '/' ? u"Z:" : u"";
  for (char C : Dir) W += C == '/' ? u'\\' : char16_t(Byte(C));
  return W;
}

bool ReadWholeFile(const std::u16string& Path, std::vector<std::uint8_t>& Bytes) {
  HANDLE H = CreateFileW(reinterpret_cast<LPCWSTR>(Path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return false;
  const DWORD Size = GetFileSize(H, nullptr);
  Bytes.resize(Size);
  DWORD Read = 0;
  const bool Ok = ReadFile(H, Bytes.data(), Size, &Read, nullptr) && Read == Size;
  CloseHandle(H);
  return Ok;
}

bool WriteWholeFile(const std::u16string& Path, const std::vector<std::uint8_t>& Bytes) {
  HANDLE H = CreateFileW(reinterpret_cast<LPCWSTR>(Path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return false;
  DWORD Written = 0;
  const bool Ok = WriteFile(H, Bytes.data(), DWORD(Bytes.size()), &Written, nullptr) && Written == Bytes.size();
  CloseHandle(H);
  return Ok;
}

// Colours as $00RRGGBB.
std::vector<Cardinal> Opaque(std::vector<Cardinal> P) {
  for (Cardinal& C : P) C &= 0x00FFFFFFu;
  return P;
}

struct TEffect {
  const char16_t* Name;
  Integer W, H;
  std::function<Integer(TCanvas*)> Draw;
};

// A glow colour whose three channels differ (a swap of red and blue shows),
// black Arial text of 14 pixels on white.
const TColor GlowColour = TColor(0x00C08020);  // red $20, green $80, blue $C0
const UINT Centred = DT_SINGLELINE | DT_CENTER | DT_VCENTER;

const TEffect Effects[] = {
    {u"golden_glow", 96, 40,
     [](TCanvas* C) { return DrawGlowText(C, TRect(12, 8, 84, 30), u"Glow", Centred, 1, GlowColour, 5); }},
    {u"golden_glow_bold", 96, 40,
     [](TCanvas* C) { return DrawGlowTextBold(C, TRect(12, 8, 84, 30), u"Glow", Centred, 0, GlowColour, 4); }},
    {u"golden_vista_glow", 96, 48,
     [](TCanvas* C) { return DrawVistaGlowText(C, TRect(12, 12, 84, 34), u"Glow", Centred, GlowColour); }},
    {u"golden_vista_glow_narrow", 96, 48,
     [](TCanvas* C) { return DrawVistaGlowTextNarrow(C, TRect(12, 12, 84, 34), u"Glow", Centred, GlowColour); }},
    {u"golden_reflection", 96, 48,
     [](TCanvas* C) {
       return DrawReflectionText(C, TRect(8, 2, 88, 22), u"Mirror", DT_SINGLELINE | DT_CENTER, 2, GlowColour);
     }},
};

std::vector<Cardinal> DrawEffect(const TEffect& E) {
  std::unique_ptr<TBitmap> B(WhiteBitmap(E.W, E.H));
  TFont* F = B->Canvas()->Font();
  F->SetName(u"Arial");
  F->SetHeight(-14);
  F->SetColor(clBlack);
  EXPECT_GT(E.Draw(B->Canvas()), 0) << std::string(E.Name, E.Name + std::char_traits<char16_t>::length(E.Name));
  return Opaque(PixelsOf(B.get()));
}

TEST(SkinGoldens, TextEffectsMatchTheirRecordedPictures) {
  const bool Record = std::getenv("LUMIGRA_RECORD_GOLDENS") != nullptr;
  for (const TEffect& E : Effects) {
    const std::string Name(E.Name, E.Name + std::char_traits<char16_t>::length(E.Name));
    SCOPED_TRACE(Name);
    const std::vector<Cardinal> Got = DrawEffect(E);
    ASSERT_EQ(Got.size(), size_t(E.W) * size_t(E.H));
    SaveReviewPixels(E.Name, Got, E.W, E.H);
    // Drawn again in the same process: the same pixels.
    EXPECT_EQ(DrawEffect(E), Got);
    const std::u16string File = GoldenDir() + u"\\" + E.Name + u".png";
    if (Record) {
      std::vector<std::uint8_t> Png;
      ASSERT_EQ(codec::PngEncode(reinterpret_cast<const std::uint8_t*>(Got.data()), E.W, E.H, 2, Png), "");
      ASSERT_TRUE(WriteWholeFile(File, Png));
      continue;
    }
    std::vector<std::uint8_t> Bytes;
    ASSERT_TRUE(ReadWholeFile(File, Bytes)) << "no golden picture " << Name << ".png";
    codec::PngImage Want;
    ASSERT_EQ(codec::PngDecode(Bytes.data(), Bytes.size(), Want), "");
    ASSERT_EQ(Want.Width, E.W);
    ASSERT_EQ(Want.Height, E.H);
    Integer Differ = 0, Largest = 0, FirstX = -1, FirstY = -1;
    for (Integer y = 0; y < E.H; ++y)
      for (Integer x = 0; x < E.W; ++x) {
        const std::uint8_t* P = &Want.Pixels[(size_t(y) * size_t(E.W) + size_t(x)) * 4];
        const Cardinal G = Got[size_t(y) * size_t(E.W) + size_t(x)];
        Integer Delta = 0;
        for (int c = 0; c < 3; ++c) Delta = std::max(Delta, std::abs(Integer((G >> (8 * c)) & 0xFF) - Integer(P[c])));
        if (Delta == 0) continue;
        if (Differ++ == 0) FirstX = x, FirstY = y;
        Largest = std::max(Largest, Delta);
      }
    if (Differ > 0) SaveReviewPixels(String(E.Name) + u"_differs", Got, E.W, E.H);
    EXPECT_EQ(Differ, 0) << Differ << " pixels differ, by up to " << Largest << ", the first at (" << FirstX << ", "
                         << FirstY << ")";
  }
}

}  // namespace
