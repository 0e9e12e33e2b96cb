// The made schemes under Wine, loaded as the program loads them: "Dawn" from
// the program's resource, the others from their ".skn" files. The skin model
// and the class library's BMP reader read exactly what the generator wrote,
// every rule holds after loading, and every name the program looks up
// resolves to a description of the class it reads.
#include "common/gtest.h"

#include "foundation/app/HySkinSchemes.h"
#include "rtl/FileUtils.h"
#include "tests/skins/SkinsTestUtil.h"
#include "tests/skins/win/SkinsWinUtil.h"

namespace {

using namespace skinstest;

std::string Joined(const std::vector<std::string>& V) {
  std::string S;
  for (const auto& L : V) S += L + "\n";
  return S;
}

String IniTextOf(TspSkinFields* F) {
  TMemIniFile Ini;
  F->SaveToCustomIniFile(&Ini);
  TStringList L;
  Ini.GetStrings(&L);
  return L.Text();
}

// The row of the scheme table, as the main window finds it.
Integer SchemeRow(const std::string& Name) {
  if (!SkinSchemeDT) BuildSkinSchemeTable();
  return SkinSchemeDT->IndexOfText(0, ToString(Name));
}

class SchemeLoad : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    Name = GetParam();
    Data = LoadScheme(Name);
    ASSERT_FALSE(Data->Empty) << Name;
  }
  std::string Name;
  std::unique_ptr<TspSkinData> Data;
};

TEST_P(SchemeLoad, EveryRuleHoldsAfterLoading) {
  const auto Lookups = skinrules::ParseLookups(LUMIGRA_SKIN_LOOKUPS, ReadText(LUMIGRA_SKIN_LOOKUPS));
  const auto Faults = skinrules::CheckSkin(ToString(Name), *Data, PicturesOf(Data.get()), Lookups);
  EXPECT_TRUE(Faults.empty()) << Joined(Faults);
  EXPECT_EQ(Data->SkinName, ToString(Name));
}

// Every description of the layout resolves by name to its class; the counts
// of objects, controls and pictures are the layout's.
TEST_P(SchemeLoad, ContentTableResolvesByNameAndClass) {
  const TSources Src;
  const auto Layout = skingen::TLayout::Parse(Src.Layout.File, Src.Layout.Text);
  Integer Objects = 0, Controls = 0;
  for (const auto& E : Layout.Entries) {
    const String N = ToString(E.Name);
    if (E.Kind == skingen::TLayoutEntry::Object) {
      ++Objects;
      const Integer I = Data->GetIndex(N);
      ASSERT_GE(I, 0) << E.Name;
      EXPECT_EQ(SkinObjectTypeWord(static_cast<TspDataSkinObject*>(Data->ObjectList->Items(I))), ToString(E.Word));
    } else if (E.Kind == skingen::TLayoutEntry::Control) {
      ++Controls;
      const Integer I = Data->GetControlIndex(N);
      ASSERT_GE(I, 0) << E.Name;
      EXPECT_EQ(SkinControlTypeWord(static_cast<TspDataSkinControl*>(Data->CtrlList->Items(I))), ToString(E.Word));
    }
  }
  EXPECT_EQ(Data->ObjectList->Count(), Objects);
  EXPECT_EQ(Data->CtrlList->Count(), Controls);
  EXPECT_EQ(Data->FActivePictures->Count(), Integer(Layout.Pictures.size()) - 1);
  EXPECT_EQ(Data->FPicture->Width(), Layout.FindPicture("frame")->Width);
  EXPECT_EQ(Data->AreaList->Count(), 0);
}

// The scheme's colours are the program's: the panel face and cbtnface are
// the panel colour of the scheme's row, the caption band ends in its header
// colour.
TEST_P(SchemeLoad, ColoursAreTheSchemeTables) {
  const Integer Row = SchemeRow(Name);
  ASSERT_GE(Row, 0);
  EXPECT_EQ(Data->SkinColors()->cBtnFace(), SkinPanelColors[Row]);
  auto* Panel = static_cast<TspDataSkinPanelControl*>(Data->CtrlList->Items(Data->GetControlIndex(u"panel")));
  auto* Picture = static_cast<TBitmap*>(Data->FActivePictures->Items(Panel->PictureIndex));
  EXPECT_EQ(Picture->Canvas()->Pixels(Panel->SkinRect.Left + Panel->ClRect.Left + 5, Panel->SkinRect.Top + Panel->ClRect.Top + 5),
            SkinPanelColors[Row]);
  EXPECT_EQ(Data->FPicture->Canvas()->Pixels(20, Data->ClRect.Top - 2), SkinHeaderColors[Row]);
  // Ten colours, none black, none a system colour.
  TspSkinColors* C = Data->SkinColors();
  for (TColor V : {C->cBtnFace(), C->cBtnText(), C->cWindow(), C->cWindowText(), C->cHighLight(), C->cHighLightText(),
                   C->cBtnHighLight(), C->cBtnShadow(), C->c3DLight(), C->c3DDkShadow()}) {
    EXPECT_NE(V, 0);
    EXPECT_EQ(Cardinal(V) >> 24, 0u);
  }
}

// What the frame engine relies on without a mask: hit-test points set, a
// minimum size that every form of the program reaches.
TEST_P(SchemeLoad, FrameGeometryNeedsNoCorrection) {
  for (TPoint P : {Data->HitTestLTPoint, Data->HitTestRTPoint, Data->HitTestLBPoint, Data->HitTestRBPoint}) {
    EXPECT_NE(P.X, 0);
    EXPECT_NE(P.Y, 0);
  }
  EXPECT_LE(Data->FormMinWidth, 282);   // the narrowest form's client width
  EXPECT_LE(Data->FormMinHeight, 168);
  EXPECT_GT(Data->FormMinWidth, 0);
  EXPECT_EQ(Data->ClRect.Top, 22);
  EXPECT_EQ(Data->ClRect.Left, 3);
}

// The model written as ini text and read back gives the same text.
TEST_P(SchemeLoad, IniTextRoundTrip) {
  TMemIniFile Ini;
  Data->SaveToCustomIniFile(&Ini);
  TspSkinContent Back;
  Back.LoadFromIni(&Ini, true);
  EXPECT_EQ(IniTextOf(&Back), IniTextOf(Data.get()));
}

// The source folder (the ini text with its BMP files) loads through the
// platform's profile functions into the same skin as the packed one.
TEST_P(SchemeLoad, SourceFolderLoadsAsThePackedSkin) {
  TspSkinData FromFolder(nullptr);
  FromFolder.LoadFromFile(SourceIniFile(Name));
  ASSERT_FALSE(FromFolder.Empty);
  EXPECT_EQ(IniTextOf(&FromFolder), IniTextOf(Data.get()));
  const auto A = PicturesOf(&FromFolder), B = PicturesOf(Data.get());
  EXPECT_EQ(A.Frame.Pixels, B.Frame.Pixels);
  ASSERT_EQ(A.Active.size(), B.Active.size());
  for (size_t I = 0; I < A.Active.size(); ++I) EXPECT_EQ(A.Active[I].Pixels, B.Active[I].Pixels) << I;
}

// The class library reads the generator's BMP images and writes them back
// byte for byte; the pixels are the generator's.
TEST_P(SchemeLoad, PicturesReadAndWriteBackByteForByte) {
  TspSkinContent Content;
  const TBytes Block = Name == "Dawn" ? ReadBytes(std::string(LUMIGRA_SKIN_DIR) + "/Dawn.skinblock") : [&] {
    TBytes B;
    const TBytes Skn = ReadBytes(std::string(LUMIGRA_SKIN_SKN_DIR) + "/" + Name + ".skn");
    EXPECT_TRUE(ReadSknEnvelope(Skn.data(), Skn.size(), B));
    return B;
  }();
  ASSERT_TRUE(Content.LoadFromStoredSkinBlock(Block.data(), Block.size()));
  auto Same = [&](TBitmap* B, const TBytes& Written, const char* What) {
    TBytesStream S;
    B->SaveToStream(&S);
    EXPECT_EQ(S.Bytes(), Written) << What;
    EXPECT_EQ(ImageOf(B).Pixels, skinrules::DecodeBmp(Written).Pixels) << What;
  };
  Same(Data->FPicture, Content.Pictures[TspSkinContent::spMain], "frame");
  ASSERT_EQ(size_t(Data->FActivePictures->Count()), Content.ActivePictures.size());
  for (Integer I = 0; I < Data->FActivePictures->Count(); ++I)
    Same(static_cast<TBitmap*>(Data->FActivePictures->Items(I)), Content.ActivePictures[size_t(I)], "active picture");
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeLoad, ::testing::ValuesIn(SchemeNames),
                         [](const auto& I) { return std::string(I.param); });

// The new-image dialog asks the "Charm" skin for "panel2".
TEST(SchemeNames, CharmHasPanel2AsAPanel) {
  auto Charm = LoadScheme("Charm");
  const Integer I = Charm->GetControlIndex(u"panel2");
  ASSERT_GE(I, 0);
  EXPECT_NE(dynamic_cast<TspDataSkinPanelControl*>(static_cast<TspDataSkinControl*>(Charm->CtrlList->Items(I))), nullptr);
}

// A ".skn" cut by one byte is refused and the scheme in use stays.
TEST(SchemeNames, DamagedFileIsRefusedAndTheSchemeStays) {
  auto Data = LoadScheme("Charm");
  const Integer Controls = Data->CtrlList->Count();
  TBytes Skn = ReadBytes(std::string(LUMIGRA_SKIN_SKN_DIR) + "/Cool.skn");
  Skn.pop_back();
  const String Cut = HostPath(std::string(LUMIGRA_SKIN_DIR) + "/cut.skn");
  {
    TFileStream F(Cut, fmCreate);
    F.WriteBuffer(Skn.data(), Integer(Skn.size()));
  }
  EXPECT_ANY_THROW(Data->LoadFromCompressedFile(Cut));
  EXPECT_FALSE(Data->Empty);
  EXPECT_EQ(Data->SkinName, u"Charm");
  EXPECT_EQ(Data->CtrlList->Count(), Controls);
  EXPECT_EQ(Data->SkinFileName(), SknFile("Charm"));
  DeleteFile(Cut);
}

}  // namespace
