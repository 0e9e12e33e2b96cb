// The skin scheme table the main window builds at start-up.
#include "common/gtest.h"

#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HySkinSchemes.h"

namespace {

// ConfigDT replaced by a table of settings for one test.
class SkinSchemeTable : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = ConfigDT;
    Config = NewConfigTable();
    PadTable(Config, 1, 1, 100);
    ConfigDT = Config;
  }
  void TearDown() override {
    ConfigDT = Saved;
    delete Config;
  }
  TDataTable* Saved = nullptr;
  TDataTable* Config = nullptr;
};

TEST_F(SkinSchemeTable, FourSchemesInTheirOrderWithDisplayNames) {
  BuildSkinSchemeTable();
  ASSERT_NE(SkinSchemeDT, nullptr);
  const char16_t* Rows[][2] = {{u"Charm", u"魅力淡蓝"}, {u"Laconic", u"简明银灰"}, {u"Dawn", u"曙光银白"}, {u"Cool", u"凉爽浅青"}};
  ASSERT_EQ(SkinSchemeDT->ItemCount(), 4);
  for (Integer I = 0; I < 4; ++I) {
    ASSERT_EQ(SkinSchemeDT->Items(I)->ItemCount(), 2);
    EXPECT_EQ(SkinSchemeDT->Items(I)->Items(0)->Text(), Rows[I][0]);
    EXPECT_EQ(SkinSchemeDT->Items(I)->Items(1)->Text(), Rows[I][1]);
  }
  // Never saved, no key; built again it holds the four rows once.
  EXPECT_TRUE(SkinSchemeDT->FileName().empty());
  EXPECT_TRUE(SkinSchemeDT->Key().empty());
  BuildSkinSchemeTable();
  EXPECT_EQ(SkinSchemeDT->ItemCount(), 4);
  EXPECT_EQ(SkinIndex, -1);
  EXPECT_EQ(SkinSchemeRow, nullptr);
}

// A first start (property 2 empty) chooses "Dawn"; a chosen scheme stays.
TEST_F(SkinSchemeTable, EmptyChoiceBecomesDawn) {
  for (const auto& [Before, After] : {std::pair<const char16_t*, const char16_t*>{u"", u"Dawn"}, {u"Cool", u"Cool"},
                                      {u"dawn", u"dawn"}}) {
    Config->Props(ConfigPropSkinScheme)->SetText(Before);
    BuildSkinSchemeTable();
    EXPECT_EQ(Config->Props(ConfigPropSkinScheme)->Text(), After) << ToUtf8(Before);
  }
}

TEST_F(SkinSchemeTable, SchemeFileBesideTheProgram) {
  const String Saved = ExePath;
  ExePath = u"C:\\Program\\";
  EXPECT_EQ(SkinSchemeFileName(u"Cool"), u"C:\\Program\\Skin\\Cool.skn");
  ExePath = Saved;
}

}  // namespace
