// The made schemes composed as their consumers compose them, at the skin's
// size and larger: no key colour shows in any control image, the frame and
// the windows compose without an unpainted pixel. The pictures are saved for
// people to review (build/screens/test_skins/<scheme>/).
#include "common/gtest.h"

#include <algorithm>

#include "tests/skins/SkinsTestUtil.h"
#include "tests/skins/win/SkinCompose.h"
#include "tests/skins/win/SkinsWinUtil.h"

namespace {

using namespace skinstest;

constexpr TColor Unpainted = 0x030201;  // what ComposeFrame and the windows start from

Integer KeyPixels(TBitmap* B) {
  return CountColor(B, skinrules::KeyMagenta) + CountColor(B, skinrules::KeyDarkMagenta);
}

class SchemeScreens : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    Name = GetParam();
    Data = LoadScheme(Name);
    ASSERT_FALSE(Data->Empty);
  }
  std::string Name;
  std::unique_ptr<TspSkinData> Data;
};

// Every control image, in every state, at the skin's size and two larger
// sizes (as far as its resize mode lets it grow): one sheet per description.
TEST_P(SchemeScreens, ControlImagesComposeWithoutKeyColour) {
  const TColor Face = Data->SkinColors()->cBtnFace();
  for (Integer I = 0; I < Data->CtrlList->Count(); ++I) {
    auto* C = dynamic_cast<TspDataSkinCustomControl*>(static_cast<TspDataSkinControl*>(Data->CtrlList->Items(I)));
    if (!C || ResizeModeOf(C) < 0) continue;
    const int Mode = ResizeModeOf(C);
    const Integer SW = C->SkinRect.Width(), SH = C->SkinRect.Height();
    std::vector<std::pair<Integer, Integer>> Sizes{{SW, SH}};
    if (Mode == 1) Sizes.push_back({SW + 37, SH + 19}), Sizes.push_back({SW * 3 + 11, SH * 2 + 7});
    if (Mode == 2) Sizes.push_back({SW + 37, SH}), Sizes.push_back({SW * 3 + 11, SH});
    if (Mode == 3) Sizes.push_back({SW, SH + 37}), Sizes.push_back({SW, SH * 3 + 11});
    const auto States = StatesOf(C);
    // The sheet: one row per state, the sizes side by side.
    Integer SheetW = 8, RowH = 0;
    for (auto [W, H] : Sizes) SheetW += W + 8, RowH = std::max(RowH, H);
    TBitmap Sheet;
    Sheet.SetPixelFormat(pf24bit);
    Sheet.SetSize(std::max<Integer>(SheetW, 160), 8 + Integer(States.size()) * (RowH + 22));
    Sheet.Canvas()->Brush()->SetColor(Face);
    Sheet.Canvas()->FillRect(TRect(0, 0, Sheet.Width(), Sheet.Height()));
    Integer Y = 4;
    for (const auto& [Key, State] : States) {
      Sheet.Canvas()->Font()->SetName(u"Arial");
      Sheet.Canvas()->Font()->SetHeight(12);
      Sheet.Canvas()->Font()->SetColor(Data->SkinColors()->cBtnText());
      Sheet.Canvas()->Brush()->SetStyle(bsClear);
      Sheet.Canvas()->TextOut(8, Y, ToString(Key));
      Y += 16;
      Integer X = 8;
      for (auto [W, H] : Sizes) {
        auto B = ComposeControl(Data.get(), C, State, W, H);
        EXPECT_EQ(B->Width(), W) << ToUtf8(C->IDName) << " " << Key;
        EXPECT_EQ(B->Height(), H) << ToUtf8(C->IDName) << " " << Key;
        EXPECT_EQ(KeyPixels(B.get()), 0) << ToUtf8(C->IDName) << " " << Key << " at " << W << "x" << H;
        Sheet.Canvas()->Draw(X, Y, B.get());
        X += W + 8;
      }
      Y += RowH + 6;
    }
    SaveScreen(&Sheet, Name, "control_" + ToUtf8(C->IDName));
  }
}

// The frame at a comfortable and at the smallest size, active and inactive:
// every pixel painted, no key colour; an inactive caption differs only by
// its text colour.
TEST_P(SchemeScreens, FrameComposesAtEverySize) {
  for (auto [W, H] : {std::pair<Integer, Integer>{300, 200}, {120, 40}}) {
    auto A = ComposeFrame(Data.get(), W, H, true, u"Lumigra - image.png");
    auto N = ComposeFrame(Data.get(), W, H, false, u"Lumigra - image.png");
    for (TBitmap* B : {A.get(), N.get()}) {
      EXPECT_EQ(CountColor(B, Unpainted), 0) << W << "x" << H;
      EXPECT_EQ(KeyPixels(B), 0) << W << "x" << H;
    }
    std::vector<Byte> PA, PN;
    GetBitmapBGRA(A.get(), PA);
    GetBitmapBGRA(N.get(), PN);
    EXPECT_NE(PA, PN);
    // Below the caption band nothing differs.
    const size_t Band = size_t(Data->ClRect.Top) * W * 4;
    EXPECT_TRUE(std::equal(PA.begin() + long(Band), PA.end(), PN.begin() + long(Band)));
    const std::string Size = std::to_string(W) + "x" + std::to_string(H);
    SaveScreen(A.get(), Name, "frame_" + Size + "_active");
    SaveScreen(N.get(), Name, "frame_" + Size + "_inactive");
  }
}

TEST_P(SchemeScreens, WindowsCompose) {
  auto Menu = ComposePopupMenu(Data.get());
  EXPECT_EQ(CountColor(Menu.get(), Unpainted), 0);
  EXPECT_EQ(KeyPixels(Menu.get()), 0);
  SaveScreen(Menu.get(), Name, "popup_menu");
  auto Hint = ComposeHint(Data.get(), u"Crop the image to the selection");
  EXPECT_EQ(CountColor(Hint.get(), Unpainted), 0);
  EXPECT_EQ(KeyPixels(Hint.get()), 0);
  SaveScreen(Hint.get(), Name, "hint");
  auto Dialog = ComposeDialog(Data.get());
  EXPECT_EQ(CountColor(Dialog.get(), Unpainted), 0);
  EXPECT_EQ(KeyPixels(Dialog.get()), 0);
  SaveScreen(Dialog.get(), Name, "dialog");
  // The pictures themselves.
  SaveScreen(Data->FPicture, Name, "picture_frame");
  for (Integer I = 0; I < Data->FActivePictures->Count(); ++I)
    SaveScreen(static_cast<TBitmap*>(Data->FActivePictures->Items(I)), Name, "picture_" + std::to_string(I));
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeScreens, ::testing::ValuesIn(SchemeNames),
                         [](const auto& I) { return std::string(I.param); });

}  // namespace
