// The font boxes: the family filter and duplicate rule over fixed rows, the
// FontName event table, the real families of the test prefix, the sizes of
// a scalable family with the typed size kept selected and OnClick once, and
// SizeValue.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include "skin/boxes/SkinBoxLists.h"

namespace ctl {
namespace {

class FontBoxTest : public SkinCtlTest {
 protected:
  void SetUp() override {
    SkinCtlTest::SetUp();
    F = new TspSkinFontComboBox(Host);
    F->SetBounds(10, 10, 160, 20);
    F->SetParent(Host);
    F->HandleNeeded();
    F->OnChange = [this](TObject*) { ++Changes; };
    Pump();
  }
  // The list rebuilt from fixed enumeration rows, through the enumeration's
  // path (Direct: the single calls a list already filled receives).
  void Fixed(bool Direct = false) {
    auto Rows = [this] {
      F->AddFamily(u"Beta Sans", sfTrueTypeType, sfAnsiCharset, 2);
      F->AddFamily(u"Alpha Mono", sfTrueTypeType, sfAnsiCharset, 1);
      F->AddFamily(u"ALPHA MONO", sfTrueTypeType, sfAnsiCharset, 1);  // the printer's spelling
      F->AddFamily(u"Gamma Raster", sfRasterType, sfOemCharset, 1);
      F->AddFamily(u"Symbolic", sfTrueTypeType, sfSymbolCharset, 2);
    };
    if (Direct) {
      F->Items()->Clear();
      Rows();
    } else {
      F->PopulateWith(Rows);
    }
  }
  std::vector<String> Names() {
    std::vector<String> V;
    for (Integer I = 0; I < F->Items()->Count(); ++I) V.push_back(F->Items()->Strings(I));
    return V;
  }
  TspSkinFontComboBox* F = nullptr;
  int Changes = 0;
};

TEST_F(FontBoxTest, FilterAndDuplicatesOverFixedRows) {
  Fixed(true);
  EXPECT_EQ(Names(), (std::vector<String>{u"Alpha Mono", u"Beta Sans", u"Gamma Raster", u"Symbolic"}));
  Fixed();
  EXPECT_EQ(Names(), (std::vector<String>{u"Alpha Mono", u"Beta Sans", u"Gamma Raster", u"Symbolic"}));
  EXPECT_EQ(reinterpret_cast<intptr_t>(F->Items()->Objects(0)), 4 + 256);
  EXPECT_EQ(reinterpret_cast<intptr_t>(F->Items()->Objects(3)), 4);
  struct Row {
    const char* Name;
    TspFontListOptions Options;
    std::vector<String> Expected;
  };
  const Row Rows[] = {
      {"truetype only", FontOption(foTrueTypeOnly), {u"Alpha Mono", u"Beta Sans", u"Symbolic"}},
      {"fixed pitch", FontOption(foFixedPitchOnly), {u"Alpha Mono", u"Gamma Raster"}},
      {"no oem, no symbol", FontOption(foNoOEMFonts) | FontOption(foNoSymbolFonts), {u"Alpha Mono", u"Beta Sans"}},
      {"oem only", FontOption(foOEMFontsOnly), {u"Gamma Raster"}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    F->SetOptions(R.Options);
    Fixed();
    EXPECT_EQ(Names(), R.Expected);
  }
  F->SetOptions(0);
  F->SetTrueTypeOnly(true);
  EXPECT_TRUE(F->Options() & FontOption(foTrueTypeOnly));
  F->SetOptions(F->Options() | FontOption(foAnsiOnly));
  F->SetTrueTypeOnly(false);
  EXPECT_EQ(F->Options(), FontOption(foAnsiOnly));
}

TEST_F(FontBoxTest, FontNameEvents) {
  Fixed();
  struct Row {
    const char* Name;
    const char16_t* Set;
    const char16_t* Text;
    Integer Index;
    int Changes;
  };
  const Row Rows[] = {
      {"a listed family", u"Beta Sans", u"Beta Sans", 1, 2},  // the text change, then one more
      {"the same name again", u"Beta Sans", u"Beta Sans", 1, 0},
      {"other letter case: the list's spelling", u"alpha mono", u"Alpha Mono", 0, 2},
      {"a missing family keeps the text", u"Nowhere Font", u"Alpha Mono", -1, 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    Changes = 0;
    F->SetFontName(R.Set);
    EXPECT_EQ(F->FontName(), String(R.Text));
    EXPECT_EQ(F->ItemIndex(), R.Index);
    EXPECT_EQ(Changes, R.Changes);
  }
}

TEST_F(FontBoxTest, InstalledFamiliesAndTheRefresh) {
  F->PopulateList();
  const Integer Count = F->Items()->Count();
  ASSERT_GT(Count, 0);
  EXPECT_GE(F->Items()->IndexOf(u"Liberation Sans"), 0);
  F->SetFontName(u"Liberation Sans");
  ASSERT_EQ(F->FontName(), u"Liberation Sans");
  // A system font change keeps the selection and fires nothing when it stays.
  Changes = 0;
  SendMessageW(F->Handle(), WM_FONTCHANGE, 0, 0);
  EXPECT_EQ(F->FontName(), u"Liberation Sans");
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(F->Items()->Count(), Count);
  // Each family once, however often it was enumerated.
  for (Integer I = 1; I < F->Items()->Count(); ++I)
    EXPECT_NE(AnsiCompareText(F->Items()->Strings(I - 1), F->Items()->Strings(I)), 0);
  // The preview marks scalable families.
  F->DropDown();
  auto Shot = Grab(F->ListBox());
  SaveScreen(u"default", u"fontbox", u"open", Shot.get());
  F->CloseUp(false);
}

class FontSizeTest : public SkinCtlTest {};

TEST_F(FontSizeTest, SizesOfAScalableFamilyAndSizeValue) {
  auto* S = new TspSkinFontSizeComboBox(Host);
  S->SetBounds(10, 40, 60, 20);
  S->SetParent(Host);
  S->HandleNeeded();
  int Clicks = 0;
  S->OnClick = [&](TObject*) { ++Clicks; };
  S->SetText(u"14");
  S->SetFontName(u"Liberation Sans");
  ASSERT_EQ(S->Items()->Count(), 16);
  EXPECT_EQ(S->Items()->Strings(0), u"8");
  EXPECT_EQ(S->Items()->Strings(15), u"72");
  // The typed size stays selected, OnClick once.
  EXPECT_EQ(S->ItemIndex(), 5);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(S->SizeValue(), 14);
  S->SetItemIndex(-1);
  EXPECT_EQ(S->SizeValue(), 0);
  // A family that is not installed gives no sizes.
  S->SetFontName(u"");
  EXPECT_EQ(S->Items()->Count(), 0);
  // The raster rule through the callback: ascending, without duplicates.
  for (auto [H, L] : {std::pair{16, 3}, {13, 3}, {17, 3}, {16, 3}}) S->AddSize(sfRasterType, H, L);
  std::vector<String> Got;
  for (Integer I = 0; I < S->Items()->Count(); ++I) Got.push_back(S->Items()->Strings(I));
  EXPECT_EQ(Got, (std::vector<String>{u"8", u"10"}));
}

}  // namespace
}  // namespace ctl
