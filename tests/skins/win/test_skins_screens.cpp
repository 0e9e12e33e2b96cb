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

// A review sheet: rows of labelled images side by side on the panel colour.
class TSheet {
 public:
  explicit TSheet(TspSkinData* AData) : Data(AData) {}
  void Row(const std::string& Label, std::vector<std::unique_ptr<TBitmap>> Images) {
    Rows.push_back({Label, std::move(Images)});
  }
  void Save(const std::string& Scheme, const std::string& Name) {
    Integer W = 160, H = 8;
    for (const auto& [Label, Images] : Rows) {
      Integer RW = 8, RH = 0;
      for (const auto& B : Images) RW += B->Width() + 8, RH = std::max(RH, B->Height());
      W = std::max(W, RW);
      H += 22 + RH;
    }
    TBitmap Sheet;
    Sheet.SetPixelFormat(pf24bit);
    Sheet.SetSize(W, H);
    TCanvas* C = Sheet.Canvas();
    C->Brush()->SetColor(Data->SkinColors()->cBtnFace());
    C->FillRect(TRect(0, 0, W, H));
    Integer Y = 4;
    for (const auto& [Label, Images] : Rows) {
      C->Font()->SetName(u"Arial");
      C->Font()->SetHeight(12);
      C->Font()->SetColor(Data->SkinColors()->cBtnText());
      C->Brush()->SetStyle(bsClear);
      C->TextOut(8, Y, ToString(Label));
      Y += 16;
      Integer X = 8, RH = 0;
      for (const auto& B : Images) {
        C->Draw(X, Y, B.get());
        X += B->Width() + 8;
        RH = std::max(RH, B->Height());
      }
      Y += RH + 6;
    }
    SaveScreen(&Sheet, Scheme, Name);
  }

 private:
  TspSkinData* Data;
  std::vector<std::pair<std::string, std::vector<std::unique_ptr<TBitmap>>>> Rows;
};

// Three lengths of a piece that grows: its own and two larger ones.
std::vector<Integer> Lengths(Integer L) { return {L, L + 37, L * 3 + 11}; }

class SchemeScreens : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    Name = GetParam();
    Data = LoadScheme(Name);
    ASSERT_FALSE(Data->Empty);
  }
  // Checks an image composed for Where and adds it to Images.
  void Take(std::vector<std::unique_ptr<TBitmap>>& Images, std::unique_ptr<TBitmap> B, Integer W, Integer H,
            const std::string& Where) {
    EXPECT_EQ(B->Width(), W) << Where;
    EXPECT_EQ(B->Height(), H) << Where;
    EXPECT_EQ(KeyPixels(B.get()), 0) << Where << " at " << W << "x" << H;
    Images.push_back(std::move(B));
  }
  std::string Name;
  std::unique_ptr<TspSkinData> Data;
};

// Every control image, in every state, at the skin's size and two larger
// sizes (as far as its resize mode lets it grow): one sheet per description.
TEST_P(SchemeScreens, ControlImagesComposeWithoutKeyColour) {
  for (Integer I = 0; I < Data->CtrlList->Count(); ++I) {
    auto* C = dynamic_cast<TspDataSkinCustomControl*>(static_cast<TspDataSkinControl*>(Data->CtrlList->Items(I)));
    if (!C || ResizeModeOf(C) < 0) continue;
    const int Mode = ResizeModeOf(C);
    const Integer SW = C->SkinRect.Width(), SH = C->SkinRect.Height();
    std::vector<std::pair<Integer, Integer>> Sizes{{SW, SH}};
    if (Mode == 1) Sizes.push_back({SW + 37, SH + 19}), Sizes.push_back({SW * 3 + 11, SH * 2 + 7});
    if (Mode == 2) Sizes.push_back({SW + 37, SH}), Sizes.push_back({SW * 3 + 11, SH});
    if (Mode == 3) Sizes.push_back({SW, SH + 37}), Sizes.push_back({SW, SH * 3 + 11});
    TSheet Sheet(Data.get());
    for (const auto& [Key, State] : StatesOf(C)) {
      std::vector<std::unique_ptr<TBitmap>> Row;
      for (auto [W, H] : Sizes)
        Take(Row, ComposeControl(Data.get(), C, State, W, H), W, H, ToUtf8(C->IDName) + " " + Key);
      Sheet.Row(Key, std::move(Row));
    }
    Sheet.Save(Name, "control_" + ToUtf8(C->IDName));
  }
}

// The descriptions whose pieces their consumers place themselves: the tab
// control's page and tabs, the slider's rulers and thumbs, the scroll bars'
// thumbs, and the marks drawn keyed (check and radio marks, tree buttons,
// track-bar thumbs) on the face they sit on.
TEST_P(SchemeScreens, PlacedPiecesComposeWithoutKeyColour) {
  TspSkinData* D = Data.get();
  const TColor Face = D->SkinColors()->cBtnFace();
  auto Find = [&](const char16_t* N) { return static_cast<TspDataSkinControl*>(D->CtrlList->Items(D->GetControlIndex(N))); };
  {
    auto* Tab = dynamic_cast<TspDataSkinTabControl*>(Find(u"tab"));
    ASSERT_NE(Tab, nullptr);
    TSheet Sheet(D);
    std::vector<std::unique_ptr<TBitmap>> Pages;
    const Integer SW = Tab->SkinRect.Width(), SH = Tab->SkinRect.Height();
    for (auto [W, H] : {std::pair<Integer, Integer>{SW, SH}, {SW + 37, SH + 19}, {SW * 3 + 11, SH * 2 + 7}})
      Take(Pages, ComposeTabPage(D, Tab, W, H), W, H, "tab page");
    Sheet.Row("skinrect (page)", std::move(Pages));
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"tabrect", Tab->TabRect}, {"activetabrect", Tab->ActiveTabRect},
                                 {"mouseintabrect", Tab->MouseInTabRect}, {"focustabrect", Tab->FocusTabRect}}) {
      if (IsSkinRectEmpty(R)) continue;
      std::vector<std::unique_ptr<TBitmap>> Row;
      for (Integer W : Lengths(R.Width())) Take(Row, ComposeTab(D, Tab, R, W), W, R.Height(), Key);
      Sheet.Row(Key, std::move(Row));
    }
    Sheet.Save(Name, "control_tab");
  }
  {
    auto* Sl = dynamic_cast<TspDataSkinSlider*>(Find(u"slider"));
    ASSERT_NE(Sl, nullptr);
    TSheet Sheet(D);
    for (bool Horizontal : {true, false}) {
      const TRect& R = Horizontal ? Sl->HRulerRect : Sl->VRulerRect;
      std::vector<std::unique_ptr<TBitmap>> Row;
      for (Integer L : Lengths(Horizontal ? R.Width() : R.Height())) {
        auto Ruler = ComposeRuler(D, Sl, Horizontal, L);
        auto On = std::make_unique<TBitmap>();
        On->SetPixelFormat(pf24bit);
        On->SetSize(Ruler->Width(), Ruler->Height());
        On->Canvas()->Brush()->SetColor(Face);
        On->Canvas()->FillRect(TRect(0, 0, On->Width(), On->Height()));
        Ruler->SetTransparent(true);
        On->Canvas()->Draw(0, 0, Ruler.get());
        Take(Row, std::move(On), Horizontal ? L : R.Width(), Horizontal ? R.Height() : L,
             Horizontal ? "hrulerrect" : "vrulerrect");
      }
      Sheet.Row(Horizontal ? "hrulerrect" : "vrulerrect", std::move(Row));
    }
    std::vector<std::unique_ptr<TBitmap>> Thumbs;
    for (const TRect& R : {Sl->HThumbRect, Sl->VThumbRect})
      for (Integer F = 0; F < 2; ++F) {  // normal and hot frames side by side
        const TRect Frame(R.Left + F * R.Width() / 2, R.Top, R.Left + (F + 1) * R.Width() / 2, R.Bottom);
        Take(Thumbs, KeyedOnto(D, Sl->PictureIndex, Frame, Face), Frame.Width(), Frame.Height(), "slider thumb");
      }
    Sheet.Row("hthumbrect, vthumbrect", std::move(Thumbs));
    Sheet.Save(Name, "control_slider");
  }
  for (const char16_t* N : {u"hscrollbar", u"bothhscrollbar", u"vscrollbar"}) {
    auto* Sb = dynamic_cast<TspDataSkinScrollBarControl*>(Find(N));
    ASSERT_NE(Sb, nullptr);
    TSheet Sheet(D);
    const bool Horizontal = Sb->RTPoint.X != 0;
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"thumbrect", Sb->ThumbRect}, {"activethumbrect", Sb->ActiveThumbRect},
                                 {"downthumbrect", Sb->DownThumbRect}}) {
      if (IsSkinRectEmpty(R)) continue;
      std::vector<std::unique_ptr<TBitmap>> Row;
      for (Integer L : Lengths(Horizontal ? R.Width() : R.Height()))
        Take(Row, ComposeThumb(D, Sb, R, L), Horizontal ? L : R.Width(), Horizontal ? R.Height() : L,
             ToUtf8(N) + " " + Key);
      Sheet.Row(Key, std::move(Row));
    }
    Sheet.Save(Name, "thumbs_" + ToUtf8(N));
  }
  {
    TSheet Sheet(D);
    for (const char16_t* N : {u"checkbox", u"radiobox"}) {
      auto* K = dynamic_cast<TspDataSkinCheckRadioControl*>(Find(N));
      ASSERT_NE(K, nullptr);
      std::vector<std::unique_ptr<TBitmap>> Row;
      for (const TRect& R : {K->CheckImageRect, K->UnCheckImageRect, K->ActiveCheckImageRect, K->ActiveUnCheckImageRect,
                             K->UnEnabledCheckImageRect, K->UnEnabledUnCheckImageRect})
        if (!IsSkinRectEmpty(R)) Take(Row, KeyedOnto(D, K->PictureIndex, R, Face), R.Width(), R.Height(), ToUtf8(N) + " mark");
      Sheet.Row(ToUtf8(N), std::move(Row));
    }
    auto* T = dynamic_cast<TspDataSkinTreeView*>(Find(u"treeview"));
    ASSERT_NE(T, nullptr);
    std::vector<std::unique_ptr<TBitmap>> Tree;
    for (const TRect& R : {T->ExpandImageRect, T->NoExpandImageRect})
      Take(Tree, KeyedOnto(D, T->PictureIndex, R, T->BGColor), R.Width(), R.Height(), "tree button");
    Sheet.Row("treeview", std::move(Tree));
    auto* Tk = dynamic_cast<TspDataSkinTrackBarControl*>(Find(u"htrackbar"));
    ASSERT_NE(Tk, nullptr);
    std::vector<std::unique_ptr<TBitmap>> Knobs;
    for (const TRect& R : {Tk->ButtonRect, Tk->ActiveButtonRect})
      if (!IsSkinRectEmpty(R))
        Take(Knobs, KeyedOnto(D, Tk->PictureIndex, R, Face, Tk->ButtonTransparentColor), R.Width(), R.Height(),
             "track-bar thumb");
    Sheet.Row("htrackbar thumbs", std::move(Knobs));
    Sheet.Save(Name, "marks");
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
