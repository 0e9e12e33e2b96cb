// The language table and the version resource linked into this program (the
// same compiled resources as the program's), and the language chosen from
// the system's code page at start-up.
#include "common/gtest.h"
#include "common/RemoveTree.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Version.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HyExeVersion.h"
#include "foundation/app/win/HyLangRes.h"
#include "foundation/app/win/HySysUtils.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

const char16_t kTitleChinese[] = u"\u742E\u8283\u753B\u56FE\u57FA\u672C\u7248";  // 琮芃画图基本版
const char16_t kTitleEnglish[] = u"Corvane Lumigra Basic";

class LangResource : public ::testing::Test {
 protected:
  void SetUp() override { SavedLangIndex = LangIndex; }
  void TearDown() override {
    FreeLanguageTable();
    LangIndex = SavedLangIndex;
  }
  Integer SavedLangIndex = 2;
};

TEST_F(LangResource, TheLinkedTableHoldsEveryGroupWithTextsInBothLanguages) {
  ASSERT_TRUE(LoadLanguageTable());
  ASSERT_GE(LangDT->PropCount(), LangGroupCount);
  for (Integer g = 0; g < LangGroupCount; ++g) {
    const Integer n = LangDT->Props(g)->Value();
    EXPECT_GE(n, LangGroupMinimum[g]) << "group " << g;
    for (Integer i = 0; i < n; ++i) {
      String zh, en;
      ASSERT_TRUE(FindLangText(LangDT, g, i, LangCellChinese, zh)) << g << "." << i;
      ASSERT_TRUE(FindLangText(LangDT, g, i, LangCellEnglish, en)) << g << "." << i;
      EXPECT_FALSE(zh.empty()) << g << "." << i;
      EXPECT_FALSE(en.empty()) << g << "." << i;
    }
  }
}

TEST_F(LangResource, TheTitleIsTheApplicationTitleInBothLanguages) {
  ASSERT_TRUE(LoadLanguageTable());
  struct Case {
    Integer Column;
    const char16_t* Title;
  } cases[] = {{0, kTitleChinese}, {2, kTitleEnglish}};
  for (const auto& c : cases) {
    LangIndex = c.Column;
    String title;
    GetLangText(LangTitleGroup, LangTitleIndex, false, title);
    EXPECT_EQ(title, c.Title);
    // The single-instance test looks for "- " and the title in the caption.
    EXPECT_EQ(InstanceTitle(c.Column), u"- " + title);
  }
}

TEST_F(LangResource, LineBreaksSurviveTheResource) {
  // The notice shown when the main window closes to the tray has two lines.
  ASSERT_TRUE(LoadLanguageTable());
  for (Integer column : {0, 2}) {
    String text;
    ASSERT_TRUE(FindLangText(LangDT, 0, 197, column, text));
    EXPECT_NE(text.find(u'\n'), String::npos) << "column " << column;
  }
}

TEST_F(LangResource, ResourceNamesCompareWithoutCase) {
  for (const WCHAR* name : {L"HvLang", L"HVLANG", L"hvlang"}) {
    HRSRC res = ::FindResourceW(nullptr, name, reinterpret_cast<LPCWSTR>(RT_RCDATA));
    ASSERT_NE(res, nullptr);
    EXPECT_GT(::SizeofResource(nullptr, res), 0u);
  }
}

TEST_F(LangResource, AModuleWithoutTheTableGivesPlaceholders) {
  std::vector<String> logged;
  const TLangLogHandler old = SetLangLogHandler([&](const String& M) { logged.push_back(M); });
  EXPECT_FALSE(LoadLanguageTable(::GetModuleHandleW(L"kernel32.dll")));
  String text;
  GetLangText(LangTitleGroup, LangTitleIndex, true, text);
  SetLangLogHandler(old);
  EXPECT_EQ(text, u"#0.161:");
  EXPECT_EQ(logged.size(), 1u);
}

// ---- version -------------------------------------------------------------------

TEST(ProgramVersion, EqualsTheResourceScriptsVersion) {
  const String expected = IntToStr(LUMIGRA_VERSION_MAJOR) + u"." + IntToStr(LUMIGRA_VERSION_MINOR) + u"." +
                          IntToStr(LUMIGRA_VERSION_RELEASE) + u"." + IntToStr(LUMIGRA_VERSION_BUILD);
  EXPECT_EQ(AsciiToString(LUMIGRA_VERSION_TEXT), expected) << "Version.h: the text and the numbers differ";
  EXPECT_EQ(ModuleVersionString(nullptr), expected);
  EXPECT_EQ(ProgramVersionString(), expected);
}

TEST(ProgramVersion, AFileWithoutAVersionGivesZeros) {
  struct Case {
    const char* Name;
    String File;
  } cases[] = {{"missing file", GetTempDirectory() + u"lumigra-no-such-file-" + IntToStr(RandomInt(1 << 30))},
               {"module without a version", String()}};
  // A file that exists but carries no version resource: a text file.
  const String plain = GetTempDirectory() + u"lumigra-plain-" + IntToStr(RandomInt(1 << 30)) + u".txt";
  {
    TFileStream fs(plain, fmCreate);
    fs.WriteBuffer("text", 4);
  }
  cases[1].File = plain;
  for (const auto& c : cases) {
    TXRTLFileVersion v(c.File, 0, 1252);
    EXPECT_EQ(v.FileVersionString(), u"0.0.0.0") << c.Name;
  }
  DeleteFile(plain);
  EXPECT_EQ(ModuleVersionString(::GetModuleHandleW(L"gdi32.dll")).empty(),
            ::FindResourceW(::GetModuleHandleW(L"gdi32.dll"), MAKEINTRESOURCEW(1),
                            reinterpret_cast<LPCWSTR>(RT_VERSION)) == nullptr);
}

// ---- the language from the code page ------------------------------------------

// A first start under a private profile: the stored code page chooses the
// column, and the title comes from the table in that language. Run by ctest
// under LANG=zh_CN.UTF-8 and LANG=en_US.UTF-8 with LUMIGRA_EXPECT_LANG set to
// "zh" or "en"; without it the expectation follows the code page.
TEST(LangLocale, AFirstStartTakesTheLanguageOfTheCodePage) {
  const String root = GetTempDirectory() + u"lumigra-lang-" + IntToStr(RandomInt(1 << 30));
  ASSERT_TRUE(ForceDirectories(root + u"\\appdata"));
  const String oldAppData = GetEnvVar(u"APPDATA");
  ::SetEnvironmentVariableW(L"APPDATA", W(root + u"\\appdata"));
  const Integer savedLangIndex = LangIndex;
  AppInit(u"LumigraBas", root + u"\\data");
  const Integer column = LangIndex;
  const Integer stored = ConfigDT->Props(1)->Value();
  ASSERT_TRUE(LoadLanguageTable());
  String title, cancel;
  GetLangText(LangTitleGroup, LangTitleIndex, false, title);
  GetLangText(0, 7, false, cancel);
  const String version = ExeVersion;
  const String exePath = ExePath;
  ::SetEnvironmentVariableW(L"APPDATA", oldAppData.empty() ? nullptr : W(oldAppData));
  FreeAndNil(ConfigDT);
  FreeAndNil(AppShareRow);
  FreeLanguageTable();
  LangIndex = savedLangIndex;
  RemoveTree(root);

  EXPECT_EQ(stored, static_cast<Integer>(::GetACP()));
  const char* expect = std::getenv("LUMIGRA_EXPECT_LANG");
  const std::string want = expect ? expect : (::GetACP() == 936 ? "zh" : "en");
  if (want == "zh") {
    EXPECT_EQ(::GetACP(), 936u);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(title, kTitleChinese);
    EXPECT_EQ(cancel, u"\u53D6\u6D88");  // 取消
  } else {
    EXPECT_NE(::GetACP(), 936u);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(title, kTitleEnglish);
    EXPECT_EQ(cancel, u"Cancel");
  }
  // Start-up reads the program's version from its version resource, and
  // ExePath is the folder that holds the program (its launcher or the shared
  // object itself).
  EXPECT_EQ(version, AsciiToString(LUMIGRA_VERSION_TEXT));
  ASSERT_FALSE(exePath.empty());
  EXPECT_EQ(exePath.back(), u'\\');
  EXPECT_TRUE(FileExists(exePath + u"test_foundation_app.exe") || FileExists(exePath + u"test_foundation_app.exe.so"))
      << UTF8Encode(exePath);
}

}  // namespace
