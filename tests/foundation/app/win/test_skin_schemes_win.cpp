// The start-up check of the chosen skin scheme against the files of the
// program's "Skin" folder, through the platform's file test (Wine finds
// files without regard to case).
#include "common/gtest.h"
#include "common/RemoveTree.h"

#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HySkinSchemes.h"
#include "foundation/app/win/HyAppWin.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"

namespace {

struct TCase {
  const char16_t* Chosen;
  const char16_t* File;  // the file of the Skin folder, or none
  const char16_t* After;
};

const TCase Cases[] = {
    {u"", nullptr, u"Dawn"},              // a first start
    {u"Dawn", nullptr, u"Dawn"},          // the stored skin needs no file
    {u"dawn", nullptr, u"Dawn"},          // "Dawn" compares exactly: "dawn" is a file name
    {u"Cool", u"Cool.skn", u"Cool"},
    {u"Cool", nullptr, u"Dawn"},          // its file is missing
    {u"cool", u"Cool.skn", u"cool"},      // the file test ignores case
    {u"Charm", u"Cool.skn", u"Dawn"},
};

TEST(CheckSkinName, KeepsASchemeWhoseFileExists) {
  TDataTable* SavedConfig = ConfigDT;
  const String SavedExe = ExePath;
  std::unique_ptr<TDataTable> Config(NewConfigTable());
  PadTable(Config.get(), 1, 1, 100);
  ConfigDT = Config.get();
  const String Root = GetTempDirectory() + u"lumigra-schemes-" + IntToStr(RandomInt(1 << 30));
  for (const TCase& C : Cases) {
    RemoveTree(Root);
    ForceDirectories(Root + u"\\Skin");
    if (C.File) TFileStream(Root + u"\\Skin\\" + C.File, fmCreate).WriteBuffer("x", 1);
    ExePath = Root + u"\\";
    Config->Props(ConfigPropSkinScheme)->SetText(C.Chosen);
    CheckSkinName();
    EXPECT_EQ(Config->Props(ConfigPropSkinScheme)->Text(), C.After) << ToUtf8(C.Chosen);
  }
  // Without a Skin folder at all only "Dawn" survives.
  RemoveTree(Root);
  ForceDirectories(Root);
  Config->Props(ConfigPropSkinScheme)->SetText(u"Laconic");
  CheckSkinName();
  EXPECT_EQ(Config->Props(ConfigPropSkinScheme)->Text(), u"Dawn");
  RemoveTree(Root);
  ExePath = SavedExe;
  ConfigDT = SavedConfig;
}

// The main window's start-up builds the table and defaults the choice.
TEST(CheckSkinName, MainWindowStartUpBuildsTheTable) {
  TDataTable* SavedConfig = ConfigDT;
  const HWND SavedMain = MainHandle;
  std::unique_ptr<TDataTable> Config(NewConfigTable());
  PadTable(Config.get(), 1, 1, 100);
  ConfigDT = Config.get();
  delete SkinSchemeDT;
  SkinSchemeDT = nullptr;
  InitMainWindow(nullptr, false);
  ASSERT_NE(SkinSchemeDT, nullptr);
  EXPECT_EQ(SkinSchemeDT->ItemCount(), SkinSchemeCount);
  EXPECT_EQ(SkinSchemeDT->IndexOfText(0, u"Dawn"), 2);
  EXPECT_EQ(Config->Props(ConfigPropSkinScheme)->Text(), u"Dawn");
  MainHandle = SavedMain;
  ConfigDT = SavedConfig;
}

}  // namespace
