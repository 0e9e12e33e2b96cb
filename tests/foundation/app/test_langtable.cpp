#include "common/gtest.h"

#include <memory>
#include <vector>

#include "foundation/app/HyAppUtils.h"
#include "foundation/data/HyCrypUtils.h"
#include "foundation/app/HyLangTable.h"
#include "rtl/SysUtils.h"

namespace {

// Keeps the language globals of a test apart from the others.
class LangFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedLangIndex = LangIndex;
    SavedLangDT = LangDT;
    SavedConfigDT = ConfigDT;
    LangDT = nullptr;
    ConfigDT = nullptr;
    SavedLog = SetLangLogHandler([this](const String& M) { Logged.push_back(M); });
  }
  void TearDown() override {
    FreeLanguageTable();
    FreeAndNil(ConfigDT);
    LangDT = SavedLangDT;
    ConfigDT = SavedConfigDT;
    LangIndex = SavedLangIndex;
    SetLangLogHandler(SavedLog);
  }
  // An in-memory table with the given group sizes; row r holds "zh<r>" and "en<r>".
  static TDataTable* MakeTable(const std::vector<Integer>& Counts) {
    TDataTable* dt = NewLangTable();
    Integer total = 0;
    for (Integer n : Counts) total += n;
    dt->Init(total, LangCellCount);
    dt->SetPropCount(LangGroupCount);
    for (size_t g = 0; g < Counts.size(); ++g) dt->Props(static_cast<Integer>(g))->SetValue(Counts[g]);
    for (Integer r = 0; r < total; ++r) {
      dt->Items(r)->Items(LangCellChinese)->SetText(u"zh" + IntToStr(r));
      dt->Items(r)->Items(LangCellEnglish)->SetText(u"en" + IntToStr(r));
    }
    return dt;
  }
  static String Text(Integer Group, Integer Index, bool AddColon = false) {
    String s;
    GetLangText(Group, Index, AddColon, s);
    return s;
  }

  Integer SavedLangIndex = 2;
  TDataTable* SavedLangDT = nullptr;
  TDataTable* SavedConfigDT = nullptr;
  TLangLogHandler SavedLog;
  std::vector<String> Logged;
};

using LangTableLookup = LangFixture;

TEST_F(LangTableLookup, GroupsStartAfterTheRowCountsOfTheGroupsBefore) {
  LangDT = MakeTable({3, 5, 2});
  LangIndex = 2;
  EXPECT_EQ(Text(2, 1), u"en9");
  EXPECT_EQ(Text(0, 0, true), u"en0:");
  struct Case {
    Integer Group, Index, Row;
  } cases[] = {
      {0, 0, 0}, {0, 2, 2}, {1, 0, 3}, {1, 4, 7}, {2, 0, 8}, {2, 1, 9},
      // past the end of its group (it would read the next group's text)
      {0, 3, -1}, {1, 5, -1}, {2, 2, -1},
      // empty and unknown groups, negative indexes
      {3, 0, -1}, {7, 0, -1}, {8, 0, -1}, {-1, 0, -1}, {0, -1, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(LangRowOf(LangDT, c.Group, c.Index), c.Row) << "(" << c.Group << ", " << c.Index << ")";
  EXPECT_TRUE(Logged.empty());
}

TEST_F(LangTableLookup, TheColumnFollowsLangIndex) {
  LangDT = MakeTable({3, 5, 2});
  LangIndex = 0;
  EXPECT_EQ(Text(1, 2), u"zh5");
  EXPECT_EQ(Text(1, 2, true), u"zh5:");
  LangIndex = 2;
  EXPECT_EQ(Text(1, 2), u"en5");
}

TEST_F(LangTableLookup, AMissingPairGivesAPlaceholderAndIsLogged) {
  LangDT = MakeTable({3, 5, 2});
  LangIndex = 2;
  struct Case {
    Integer Group, Index;
    bool AddColon;
    const char16_t* Expected;
  } cases[] = {{0, 3, false, u"#0.3"}, {2, 7, true, u"#2.7:"}, {5, 0, false, u"#5.0"}, {9, 1, false, u"#9.1"},
               {1, -2, false, u"#1.-2"}};
  for (const auto& c : cases) {
    Logged.clear();
    EXPECT_EQ(Text(c.Group, c.Index, c.AddColon), c.Expected);
    ASSERT_EQ(Logged.size(), 1u);
    EXPECT_NE(Logged[0].find(u"(" + IntToStr(c.Group) + u", " + IntToStr(c.Index) + u")"), String::npos)
        << UTF8Encode(Logged[0]);
  }
  // A row shorter than the column asked for.
  LangDT->Items(8)->RemoveItemByIndex(2);
  EXPECT_EQ(Text(2, 0), u"#2.0");
  // No table at all.
  FreeLanguageTable();
  EXPECT_EQ(Text(0, 0, true), u"#0.0:");
}

TEST_F(LangTableLookup, TextsKeepSeparatorsLineBreaksAndTabsThroughAStream) {
  const String texts[] = {u"a,b", u"x|y", u"line 1\nline 2", u"col\tcol", u"cr\r\nlf", u"\u4E2D\u6587\uFF0C|,"};
  std::unique_ptr<TDataTable> dt(NewLangTable());
  dt->Init(6, LangCellCount);
  dt->SetPropCount(LangGroupCount);
  dt->Props(0)->SetValue(6);
  for (Integer r = 0; r < 6; ++r) {
    dt->Items(r)->Items(LangCellChinese)->SetText(texts[r]);
    dt->Items(r)->Items(LangCellEnglish)->SetText(texts[5 - r]);
  }
  TMemoryStream ms;
  dt->SaveToStream(dt->ToString(true), &ms);
  ms.SetPosition(0);
  ASSERT_TRUE(LoadLanguageTableFromStream(&ms));
  for (Integer r = 0; r < 6; ++r) {
    LangIndex = 0;
    EXPECT_EQ(Text(0, r), texts[r]) << r;
    LangIndex = 2;
    EXPECT_EQ(Text(0, r), texts[5 - r]) << r;
  }
  EXPECT_TRUE(Logged.empty());
}

TEST_F(LangTableLookup, ARefusedStreamLeavesAnEmptyTableThatNeverRaises) {
  std::unique_ptr<TDataTable> dt(MakeTable({2}));
  TMemoryStream good;
  dt->SaveToStream(dt->ToString(true), &good);
  const std::string bytes(static_cast<const char*>(good.Memory()), static_cast<size_t>(good.Size()));
  std::string salt = bytes;
  salt[0] = static_cast<char>(salt[0] ^ 0x5A);  // another key: the text deciphers to noise
  struct Case {
    const char* Name;
    std::string Bytes;
  } cases[] = {{"damaged salt", salt}, {"truncated", bytes.substr(0, 6)}, {"empty", std::string()}};
  for (const auto& c : cases) {
    TMemoryStream ms;
    if (!c.Bytes.empty()) ms.WriteBuffer(c.Bytes.data(), static_cast<Integer>(c.Bytes.size()));
    ms.SetPosition(0);
    EXPECT_FALSE(LoadLanguageTableFromStream(&ms)) << c.Name;
    ASSERT_NE(LangDT, nullptr);
    EXPECT_EQ(LangDT->ItemCount(), 0) << c.Name;
    EXPECT_EQ(Text(0, 1), u"#0.1") << c.Name;
  }
  EXPECT_FALSE(LoadLanguageTableFromStream(nullptr));
  // The undamaged bytes load.
  good.SetPosition(0);
  EXPECT_TRUE(LoadLanguageTableFromStream(&good));
  EXPECT_EQ(Text(0, 1), u"en1");
}

using LangWebLink = LangFixture;

TEST_F(LangWebLink, TheBaseAddressIsDecipheredAndTheColumnAndKeyAppended) {
  ConfigDT = NewConfigTable();
  ConfigDT->SetPropCount(ConfigPropCount);
  ConfigDT->Props(ConfigPropWebBase)->SetText(WebBaseToProperty(u"https://corvane.example"));
  struct Case {
    Integer LangIndex;
    const char16_t* Key;
    const char16_t* Expected;
  } cases[] = {{0, u"LumigraBas", u"https://corvane.example/index.php?hl=0&nm=LumigraBas"},
               {2, u"donate", u"https://corvane.example/index.php?hl=2&nm=donate"},
               {2, u"FAQ", u"https://corvane.example/index.php?hl=2&nm=FAQ"}};
  for (const auto& c : cases) {
    LangIndex = c.LangIndex;
    EXPECT_EQ(GetWebLink(c.Key), c.Expected);
  }
}

TEST_F(LangWebLink, AContainerHoldingACommaIsKeptEscapedInTheProperty) {
  // Salt "00000000" with cipher 4 puts "," into the container's id characters.
  const TContainerRandomSource old = SetContainerRandomSource([](Integer) { return 0; });
  const String container = EncryptStr(u"https://corvane.example", String(), 4, 0);
  SetContainerRandomSource(old);
  ASSERT_NE(container.find(u','), String::npos) << "the fixture needs a comma in the container";
  ConfigDT = NewConfigTable();
  ConfigDT->SetPropCount(ConfigPropCount);
  ConfigDT->Props(ConfigPropWebBase)->SetText(EscapeTableText(container));
  // Through a file's text form and back, as Config.db keeps it.
  std::unique_ptr<TDataTable> copy(NewConfigTable());
  copy->Init(ConfigDT->ToString(true));
  ASSERT_EQ(copy->PropCount(), ConfigPropCount);
  FreeAndNil(ConfigDT);
  ConfigDT = copy.release();
  LangIndex = 0;
  EXPECT_EQ(GetWebLink(u"FAQ"), u"https://corvane.example/index.php?hl=0&nm=FAQ");
}

TEST_F(LangWebLink, WithoutABaseAddressTheLinkStartsWithThePage) {
  LangIndex = 2;
  EXPECT_EQ(GetWebLink(u"FAQ"), u"/index.php?hl=2&nm=FAQ");
  ConfigDT = NewConfigTable();
  ConfigDT->SetPropCount(10);  // too short to hold property 49
  EXPECT_EQ(GetWebLink(u"FAQ"), u"/index.php?hl=2&nm=FAQ");
}

}  // namespace
