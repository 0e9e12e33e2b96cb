// Golden pictures of the text effects (glow, bold glow, the two wide glows
// and the reflection) of one short text, recorded under the pinned test
// prefix (its Windows version, font replacements and no font smoothing) and
// compared pixel for pixel: text is the platform's, so these pin the whole
// chain of red text, blur, tint and blending as the program shows it.
//
// The pictures are tests/skin/win/golden/<name>.png beside this file
// (recording: tests/common/win/Goldens.h).
#include "SkinToolkitTestUtil.h"

#include <cstdint>
#include <functional>
#include <string>

#include "tests/common/win/Goldens.h"

namespace {

using namespace sptest;

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
  for (const TEffect& E : Effects) {
    const std::string Name(E.Name, E.Name + std::char_traits<char16_t>::length(E.Name));
    SCOPED_TRACE(Name);
    const std::vector<Cardinal> Got = DrawEffect(E);
    ASSERT_EQ(Got.size(), size_t(E.W) * size_t(E.H));
    SaveReviewPixels(E.Name, Got, E.W, E.H);
    // Drawn again in the same process: the same pixels.
    EXPECT_EQ(DrawEffect(E), Got);
    const golden::TOutcome R = golden::Check(golden::WindowsPath(LUMIGRA_SKIN_GOLDENS_DIR), E.Name, Got, E.W, E.H, {});
    if (R.Recorded) continue;
    if (R.Differ > 0) SaveReviewPixels(String(E.Name) + u"_differs", Got, E.W, E.H);
    EXPECT_TRUE(R.Passed({})) << R.Describe();
  }
}

}  // namespace
