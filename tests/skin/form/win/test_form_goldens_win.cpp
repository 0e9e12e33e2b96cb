// Golden pictures of whole skinned windows: the default look (its colours
// are the test prefix's pinned system colours, its caption font the prefix's
// replacement of Arial) and the fixture skin, each compared with the PNG
// recorded under tests/skin/form/win/golden (recording:
// tests/common/win/Goldens.h). The pixel tests beside this file check the
// named colours one by one; these catch everything else that moves: a ring
// one pixel off, a button glyph drawn in the wrong place, a caption text
// placed or cut differently, a strip tiled instead of copied.
#include "tests/skin/form/win/FormTestUtil.h"

#include <string>

#include "common/Screens.h"
#include "tests/common/win/Goldens.h"

using namespace formtest;

namespace {

// Channel differences up to 8 pass, and one pixel in 200 may differ by more
// (the edges of the platform's caption text when its font renderer
// changes); rings, fills, strips and glyphs must match.
golden::TTolerance Tolerance(int W, int H) { return {8, std::size_t(W) * std::size_t(H) / 200}; }

// The window as it shows, compared with golden/<Name>.png; also saved for
// review (screens/test_skin_form/golden/<Name>.png, and under "differs"
// when it does not match).
void ExpectGolden(HWND W, const std::string& Name) {
  Pump();
  const lumigra_test::TWindowPixels P = lumigra_test::CaptureWindow(W);
  ASSERT_FALSE(P.Pixels.empty()) << Name;
  lumigra_test::SaveWindowScreen(W, Name, "golden");
  const golden::TTolerance T = Tolerance(P.Width, P.Height);
  const golden::TOutcome R = golden::Check(golden::WindowsPath(LUMIGRA_FORM_GOLDENS_DIR), UTF8ToString(Name),
                                           P.Pixels, P.Width, P.Height, T);
  if (R.Recorded) return;
  if (!R.Passed(T)) lumigra_test::SaveWindowScreen(W, Name, "differs");
  EXPECT_TRUE(R.Passed(T)) << Name << ": " << R.Describe();
}

struct TPair {
  TPair(TspSkinData* SD, TFormBorderStyle BS) {
    F = new TLogForm(BS);
    FS = new TspFormSkin(F);
    if (SD) FS->SetSkinData(SD);
    F->Show();
    // The other form takes the activation for the inactive pictures.
    Other = new TLogForm(bsSingle);
    Other->SetBounds(600, 400, 120, 80);
    Other->Show();
  }
  ~TPair() {
    delete Other;
    delete F;
  }
  void Activate(bool Self) {
    SetForegroundWindow(Self ? F->Handle() : Other->Handle());
    PumpUntil([&] { return F->Active() == Self; });
  }
  TLogForm* F;
  TspFormSkin* FS;
  TLogForm* Other;
};

}  // namespace

TEST_F(FormTest, DefaultLookGoldens) {
  const TspBorderIcons All = spbi::biSystemMenu | spbi::biMinimize | spbi::biMaximize;
  const struct {
    const char* Name;
    TspBorderIcons Icons;
  } IconSets[] = {{"noicons", 0}, {"sysmenu", spbi::biSystemMenu}, {"all", All}};
  const struct {
    const char* Name;
    TFormBorderStyle Style;
  } Styles[] = {{"single", bsSingle}, {"toolwindow", bsToolWindow}};
  for (const auto& St : Styles)
    for (const auto& I : IconSets) {
      TPair S(nullptr, St.Style);
      S.FS->SetBorderIcons(I.Icons);
      S.F->SetCaption(u"Lumigra");
      for (auto [W, H] : {std::pair{200, 150}, std::pair{320, 90}}) {
        S.F->SetBounds(100, 100, W, H);
        for (bool Active : {true, false}) {
          S.Activate(Active);
          ASSERT_EQ(S.F->Active(), Active);
          ExpectGolden(S.F->Handle(), std::string("default-") + St.Name + "-" + I.Name + "-" + std::to_string(W) +
                                          "x" + std::to_string(H) + (Active ? "-active" : "-inactive"));
        }
      }
    }
  // A caption wider than its band ends in "..." before the buttons.
  TPair S(nullptr, bsSingle);
  S.FS->SetBorderIcons(All);
  S.F->SetCaption(u"A caption far too long for the caption band of this window");
  S.Activate(true);
  ExpectGolden(S.F->Handle(), "default-single-all-200x150-cut-caption");
}

TEST_F(FormTest, FixtureSkinGoldens) {
  TTempFolder Dir("formskin");
  auto SD = LoadFixtureSkin(Dir);
  {
    TPair S(SD.get(), bsSizeable);
    for (auto [W, H] : {std::pair{200, 150}, std::pair{320, 240}}) {
      S.F->SetBounds(100, 100, W, H);
      S.Activate(true);
      ExpectGolden(S.F->Handle(), "fixture-" + std::to_string(W) + "x" + std::to_string(H) + "-active");
    }
    S.Activate(false);
    ExpectGolden(S.F->Handle(), "fixture-320x240-inactive-picture");
  }
  // Without an inactive picture: the strips greyed, the client untouched.
  TTempFolder Dir2("formskin");
  TSkinOptions O;
  O.InactivePicture = false;
  O.FormInfo = {u"autorenderinginactiveimage=1", u"inactiveeffect=iegrayscale"};
  auto Grey = LoadFixtureSkin(Dir2, O);
  TPair S(Grey.get(), bsSizeable);
  S.Activate(false);
  ExpectGolden(S.F->Handle(), "fixture-200x150-inactive-effect");
}
