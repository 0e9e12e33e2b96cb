// Global hot keys: "Hotkey.db", the atoms, registration on the main window,
// the settings switch and key field, the tray-menu short-cuts, and WM_HOTKEY
// reaching the main window from a key pressed while no window of ours has focus.
#include "common/gtest.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>
#include <mutex>
#include <vector>

#include "classlib/Menus.h"
#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HyHotKeys.h"
#include "foundation/app/win/HyLangRes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

extern char** environ;

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

String Lang(Integer Group, Integer Index) {
  String s;
  GetLangText(Group, Index, false, s);
  return s;
}

ATOM FindAtom(Integer Slot) { return ::GlobalFindAtomW(W(HotKeyAtomName(Slot))); }

// Closes the information boxes the routines show and keeps their texts. Its
// thread is a Win32 one (a plain C++ thread cannot call Win32 under Wine).
class TInfoBoxCloser {
 public:
  TInfoBoxCloser() { FThread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~TInfoBoxCloser() {
    FStop = true;
    ::WaitForSingleObject(FThread, INFINITE);
    ::CloseHandle(FThread);
  }
  std::vector<String> Texts() {
    std::lock_guard<std::mutex> g(FLock);
    return FTexts;
  }
  // True once Count boxes have been seen (within five seconds).
  bool WaitFor(size_t Count) {
    const DWORD start = ::GetTickCount();
    while (Texts().size() < Count) {
      if (::GetTickCount() - start > 5000) return false;
      ::Sleep(5);
    }
    return true;
  }

 private:
  static DWORD WINAPI Run(void* Self) {
    auto* me = static_cast<TInfoBoxCloser*>(Self);
    while (!me->FStop) {
      HWND box = ::FindWindowW(L"#32770", nullptr);
      if (box && box != me->FLastBox && ::IsWindowVisible(box)) {
        me->FLastBox = box;
        String text;
        ::EnumChildWindows(box, MessageText, reinterpret_cast<LPARAM>(&text));
        {
          std::lock_guard<std::mutex> g(me->FLock);
          me->FTexts.push_back(text);
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      ::Sleep(10);
    }
    return 0;
  }
  // The message: the text of the box's static control that has one.
  static BOOL CALLBACK MessageText(HWND Child, LPARAM Param) {
    WCHAR cls[32] = {}, buf[512] = {};
    ::GetClassNameW(Child, cls, 32);
    if (::lstrcmpiW(cls, L"Static") != 0 || ::GetWindowTextW(Child, buf, 512) == 0) return TRUE;
    *reinterpret_cast<String*>(Param) = reinterpret_cast<const char16_t*>(buf);
    return FALSE;
  }
  std::atomic<bool> FStop{false};
  HWND FLastBox = nullptr;
  std::mutex FLock;
  std::vector<String> FTexts;
  HANDLE FThread = nullptr;
};

// The default set-up of the main window: slots 5..8, Ctrl+Shift, S M A F.
const std::vector<Integer> DefaultMods{6, 6, 6, 6};
const std::vector<Integer> DefaultKeys{83, 77, 65, 70};

class HotKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldLog = SetLangLogHandler([](const String&) {});
    LoadLanguageTable();  // the texts of the boxes and captions, when linked
    FOldDataPath = DataPath;
    FDir = GetTempDirectory() + u"lumigra-hotkeys-" + IntToStr(RandomInt(1 << 30)) + u"\\";
    ASSERT_TRUE(ForceDirectories(FDir));
    DataPath = FDir;
    FOldMain = MainHandle;
    MainHandle = NewWindow();
    Other = NewWindow();
    ASSERT_TRUE(MainHandle && Other);
  }
  void TearDown() override {
    CloseHotKeys();
    for (int id : FOtherIds) ::UnregisterHotKey(Other, id);
    ::DestroyWindow(Other);
    ::DestroyWindow(MainHandle);
    MainHandle = FOldMain;
    if (FileExists(HotKeyFileName())) DeleteFile(HotKeyFileName());
    RemoveDir(FDir.substr(0, FDir.size() - 1));
    DataPath = FOldDataPath;
    FreeLanguageTable();
    SetLangLogHandler(FOldLog);
  }
  static HWND NewWindow() {
    return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  }
  void InitDefaults() { InitHotKeys(HotKeySlotCount, ByteSet({5, 6, 7, 8}), DefaultMods, DefaultKeys); }
  // Another program's window takes Ctrl+Shift+Vk; false when that is refused
  // (so the combination is registered already).
  bool OtherTakes(UINT Vk) {
    const int id = 0x100 + static_cast<int>(FOtherIds.size());
    if (!::RegisterHotKey(Other, id, MOD_CONTROL | MOD_SHIFT, Vk)) return false;
    FOtherIds.push_back(id);
    return true;
  }
  void OtherReleasesAll() {
    for (int id : FOtherIds) ::UnregisterHotKey(Other, id);
    FOtherIds.clear();
  }
  static String CellText(Integer Slot, Integer CellIndex) {
    TRow* r = HotKeyDT->Items(Slot);
    return CellIndex < r->ItemCount() ? r->Items(CellIndex)->Text() : String(u"<none>");
  }
  static Integer CellValue(Integer Slot, Integer CellIndex) { return HotKeyDT->Items(Slot)->Items(CellIndex)->Value(); }
  // The file as stored, read with the table's own settings.
  std::unique_ptr<TDataTable> ReadFile() {
    auto dt = std::make_unique<TDataTable>();
    dt->SetIsAddVerifyCode(true);
    dt->SetIOMode(2);
    dt->Load(HotKeyFileName(), 0, 0);
    return dt;
  }
  // Writes a Hotkey.db whose rows are Rows.
  void StoreFile(const std::vector<String>& Rows) {
    TDataTable dt;
    dt.SetIsAddVerifyCode(true);
    dt.SetIOMode(2);
    for (const String& r : Rows) dt.AddItem(r);
    dt.SaveAs(HotKeyFileName());
  }

  HWND Other = nullptr;

 private:
  String FDir, FOldDataPath;
  HWND FOldMain = nullptr;
  TLangLogHandler FOldLog;
  std::vector<int> FOtherIds;
};

TEST_F(HotKeys, FirstStartRegistersTheFourCaptureKeys) {
  InitDefaults();
  ASSERT_EQ(HotKeyDT->ItemCount(), 10);
  for (Integer slot = 0; slot < 10; ++slot) {
    SCOPED_TRACE(slot);
    if (slot >= 5 && slot <= 8) {
      EXPECT_EQ(CellText(slot, HotKeyCellEnabled), u"-1");
      EXPECT_EQ(CellValue(slot, HotKeyCellMods), 6);
      EXPECT_EQ(CellValue(slot, HotKeyCellKey), DefaultKeys[slot - 5]);
      const ATOM atom = FindAtom(slot);
      EXPECT_GE(atom, 0xC000);
      EXPECT_EQ(CellValue(slot, HotKeyCellAtom), atom);
      EXPECT_EQ(HotKeySlotOfId(atom), slot);
      // Registered: another window cannot take the combination.
      EXPECT_FALSE(OtherTakes(static_cast<UINT>(DefaultKeys[slot - 5])));
    } else {
      for (Integer c = 0; c <= HotKeyCellAtom; ++c) EXPECT_EQ(CellText(slot, c), u"0") << "cell " << c;
      EXPECT_EQ(FindAtom(slot), 0);
    }
  }
  EXPECT_EQ(HotKeySlotOfId(0), -1);
  EXPECT_EQ(HotKeySlotOfId(0xBFFF), -1);

  CloseHotKeys();
  for (Integer slot = 5; slot <= 8; ++slot) EXPECT_EQ(FindAtom(slot), 0) << "atom of slot " << slot << " freed";
  EXPECT_TRUE(OtherTakes('S')) << "unregistered at close";
  auto file = ReadFile();
  ASSERT_EQ(file->ItemCount(), 10);
  for (Integer slot = 5; slot <= 8; ++slot) {
    EXPECT_EQ(file->Items(slot)->Items(HotKeyCellMods)->Value(), 6);
    EXPECT_EQ(file->Items(slot)->Items(HotKeyCellKey)->Value(), DefaultKeys[slot - 5]);
  }
}

TEST_F(HotKeys, TakenCombinationLeavesNoAtomAndIsRetriedAtTheNextStart) {
  ASSERT_TRUE(OtherTakes('M'));
  InitDefaults();
  EXPECT_EQ(CellText(HotKeySlotMenu, HotKeyCellEnabled), u"0");
  EXPECT_EQ(CellValue(HotKeySlotMenu, HotKeyCellAtom), 0);
  EXPECT_EQ(FindAtom(HotKeySlotMenu), 0);
  EXPECT_EQ(CellValue(HotKeySlotMenu, HotKeyCellKey), 77);
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1");
  TMenuItem item(nullptr);
  SetHotKeyMenuItem(&item, u"Menu", HotKeySlotMenu);
  EXPECT_EQ(item.ShortCut(), scNone);
  CloseHotKeys();

  OtherReleasesAll();
  InitDefaults();
  EXPECT_EQ(CellText(HotKeySlotMenu, HotKeyCellEnabled), u"-1");
  EXPECT_EQ(CellValue(HotKeySlotMenu, HotKeyCellAtom), FindAtom(HotKeySlotMenu));
  EXPECT_FALSE(OtherTakes('M'));
}

TEST_F(HotKeys, KeyFieldChangesTheRegisteredKey) {
  InitDefaults();
  TInfoBoxCloser boxes;
  Word key = u'q';
  SetHotKeyKey(HotKeySlotRegion, key);
  EXPECT_EQ(key, 81);
  EXPECT_EQ(CellValue(HotKeySlotRegion, HotKeyCellKey), 81);
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1");
  EXPECT_TRUE(OtherTakes('S')) << "the old key is free";
  EXPECT_FALSE(OtherTakes('Q')) << "the new key is ours";

  // A key that is taken: the old one stays registered and shown.
  ASSERT_TRUE(OtherTakes('Z'));
  key = u'z';
  SetHotKeyKey(HotKeySlotRegion, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(CellValue(HotKeySlotRegion, HotKeyCellKey), 81);
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1");
  EXPECT_GE(CellValue(HotKeySlotRegion, HotKeyCellAtom), 0xC000);
  EXPECT_FALSE(OtherTakes('Q')) << "still registered";
  TMenuItem item(nullptr);
  SetHotKeyMenuItem(&item, u"Region", HotKeySlotRegion);
  EXPECT_EQ(item.ShortCut(), static_cast<TShortCut>(scCtrl | scShift | 'Q'));
  EXPECT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts(), std::vector<String>{Lang(0, 107)});

  // Characters that are not accepted change nothing and show nothing.
  for (Word typed : {Word(u'!'), Word(u' '), Word(u'~'), Word(0x4E2D)}) {
    key = typed;
    SetHotKeyKey(HotKeySlotRegion, key);
    EXPECT_EQ(key, 0) << typed;
    EXPECT_EQ(CellValue(HotKeySlotRegion, HotKeyCellKey), 81) << typed;
  }
  EXPECT_EQ(boxes.Texts().size(), 1u);
}

TEST_F(HotKeys, KeyOfASwitchedOffSlotIsOnlyStored) {
  InitDefaults();
  bool enabled = false;
  SetHotKeyEnabled(HotKeySlotFullScreen, enabled);
  Word key = u'g';
  SetHotKeyKey(HotKeySlotFullScreen, key);
  EXPECT_EQ(key, 'G');
  EXPECT_EQ(CellValue(HotKeySlotFullScreen, HotKeyCellKey), 'G');
  EXPECT_EQ(CellValue(HotKeySlotFullScreen, HotKeyCellAtom), 0);
  EXPECT_TRUE(OtherTakes('G'));
  EXPECT_TRUE(OtherTakes('F'));
}

TEST_F(HotKeys, TypedCharactersBecomeVirtualKeys) {
  struct Case {
    Char Typed;
    Word Expected;
  } cases[] = {
      {u'q', 81},  {u'Q', 81}, {u'a', 65}, {u'z', 90}, {u'0', 48}, {u'9', 57}, {u'!', 0}, {u'@', 0},
      {u'`', 0},   {u'{', 0},  {u' ', 0},  {u'/', 0},  {0, 0},     {0x4E2D, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HotKeyVirtualKey(c.Typed), c.Expected) << int(c.Typed);
  // The brackets and the backslash go through the layout (their codes are the
  // Windows keys): on the US layout VK_OEM_4, VK_OEM_5, VK_OEM_6.
  for (Char ch : {u'[', u'\\', u']'}) {
    const Word vk = HotKeyVirtualKey(ch);
    EXPECT_EQ(vk, static_cast<Word>(::VkKeyScanW(static_cast<WCHAR>(ch)) & 0xFF)) << char(ch);
    EXPECT_NE(vk, 91) << char(ch);
    EXPECT_NE(vk, 92) << char(ch);
    EXPECT_NE(vk, 93) << char(ch);
    EXPECT_EQ(HotKeyKeyChar(vk), ch) << "shown as typed";
  }
  EXPECT_EQ(HotKeyVirtualKey(u'['), VK_OEM_4);
  EXPECT_EQ(HotKeyKeyChar('Q'), u'Q');
}

TEST_F(HotKeys, BracketKeyIsRegisteredAndShownAsTyped) {
  InitDefaults();
  Word key = u'[';
  SetHotKeyKey(HotKeySlotRegion, key);
  ASSERT_EQ(key, VK_OEM_4);
  EXPECT_FALSE(OtherTakes(VK_OEM_4)) << "Ctrl+Shift+[ is ours";
  EXPECT_TRUE(OtherTakes(VK_LWIN)) << "not the Windows key";
  EXPECT_EQ(HotKeyKeyChar(static_cast<Word>(CellValue(HotKeySlotRegion, HotKeyCellKey))), u'[');
  TMenuItem item(nullptr);
  SetHotKeyMenuItem(&item, u"Region", HotKeySlotRegion);
  EXPECT_EQ(item.ShortCut(), static_cast<TShortCut>(scCtrl | scShift | VK_OEM_4));
  const String text = ShortCutToText(item.ShortCut());
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), u'[') << std::string(text.begin(), text.end());
}

TEST_F(HotKeys, SwitchedOffSurvivesARestart) {
  InitDefaults();
  bool enabled = false;
  SetHotKeyEnabled(HotKeySlotActiveWindow, enabled);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(CellText(HotKeySlotActiveWindow, HotKeyCellEnabled), u"0");
  EXPECT_EQ(CellText(HotKeySlotActiveWindow, HotKeyCellOff), u"-1");
  EXPECT_EQ(FindAtom(HotKeySlotActiveWindow), 0);
  EXPECT_TRUE(OtherTakes('A'));
  OtherReleasesAll();
  CloseHotKeys();

  InitDefaults();
  EXPECT_EQ(CellText(HotKeySlotActiveWindow, HotKeyCellEnabled), u"0");
  EXPECT_EQ(CellValue(HotKeySlotActiveWindow, HotKeyCellAtom), 0);
  EXPECT_TRUE(OtherTakes('A')) << "not registered at the restart";
  OtherReleasesAll();
  TMenuItem item(nullptr);
  SetHotKeyMenuItem(&item, u"Active window", HotKeySlotActiveWindow);
  EXPECT_EQ(item.Caption(), u"Active window    [" + Lang(0, 105) + u"]");
  EXPECT_EQ(item.ShortCut(), scNone);

  enabled = true;
  SetHotKeyEnabled(HotKeySlotActiveWindow, enabled);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(CellText(HotKeySlotActiveWindow, HotKeyCellOff), u"0");
  EXPECT_FALSE(OtherTakes('A'));
  SetHotKeyMenuItem(&item, u"Active window", HotKeySlotActiveWindow);
  EXPECT_EQ(item.Caption(), u"Active window");
  CloseHotKeys();
  InitDefaults();
  EXPECT_EQ(CellText(HotKeySlotActiveWindow, HotKeyCellEnabled), u"-1");
}

TEST_F(HotKeys, SwitchingOnATakenCombinationReportsIt) {
  InitDefaults();
  bool enabled = false;
  SetHotKeyEnabled(HotKeySlotRegion, enabled);
  ASSERT_TRUE(OtherTakes('S'));
  TInfoBoxCloser boxes;
  enabled = true;
  SetHotKeyEnabled(HotKeySlotRegion, enabled);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"0");
  EXPECT_EQ(CellValue(HotKeySlotRegion, HotKeyCellAtom), 0);
  EXPECT_EQ(FindAtom(HotKeySlotRegion), 0);
  // The user asked for it: tried again at the next start.
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellOff), u"0");
  EXPECT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts(), std::vector<String>{Lang(0, 106)});
  // Switching on a slot that is on already keeps it on.
  enabled = true;
  SetHotKeyEnabled(HotKeySlotMenu, enabled);
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(OtherTakes('M'));
}

TEST_F(HotKeys, MenuItemShortCutsFollowTheModifiers) {
  struct Case {
    Integer Mods;
    TShortCut Flags;
  } cases[] = {{6, scCtrl | scShift}, {1, scAlt}, {3, scAlt | scCtrl}, {5, scAlt | scShift}};
  for (const Case& c : cases) {
    InitHotKeys(HotKeySlotCount, ByteSet({5}), {c.Mods}, {'K'});
    ASSERT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1") << c.Mods;
    TMenuItem item(nullptr);
    SetHotKeyMenuItem(&item, u"&Region", HotKeySlotRegion);
    EXPECT_EQ(item.Caption(), u"&Region");
    EXPECT_EQ(item.ShortCut(), static_cast<TShortCut>(c.Flags | 'K')) << c.Mods;
    EXPECT_EQ(CellValue(HotKeySlotMenu, HotKeyCellEnabled), 0) << "outside the set";
    CloseHotKeys();
    DeleteFile(HotKeyFileName());
  }
}

TEST_F(HotKeys, StoredFilesArePaddedAndOldRowsAreNotSwitchedOff) {
  struct Case {
    const char* What;
    std::vector<String> Rows;
  } cases[] = {
      // 4-cell rows of an older file; slot 7 was refused then ("0").
      {"four-cell rows", std::vector<String>(10, u"0,6,0,0")},
      {"two short rows", {u"0,0", u"-1"}},
      {"rows of ten with junk in slot 9", {u"0,0,0,0", u"0,0,0,0", u"0,0,0,0", u"0,0,0,0", u"0,0,0,0",
                                           u"-1,6,76,49999", u"0,0,0,0", u"0,0,0,0", u"0,0,0,0", u"x,y,z,49153"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    StoreFile(c.Rows);
    InitDefaults();
    ASSERT_GE(HotKeyDT->ItemCount(), 10);
    for (Integer slot = 0; slot < HotKeyDT->ItemCount(); ++slot)
      EXPECT_GE(HotKeyDT->Items(slot)->ItemCount(), HotKeyCellCount) << slot;
    for (Integer slot = 5; slot <= 8; ++slot) {
      EXPECT_EQ(CellText(slot, HotKeyCellEnabled), u"-1") << slot;
      EXPECT_EQ(CellValue(slot, HotKeyCellAtom), FindAtom(slot)) << slot;
    }
    CloseHotKeys();
    DeleteFile(HotKeyFileName());
  }
  // A file with more rows than the bit set of slots has: kept, and closing is safe.
  {
    std::vector<String> rows(300, u"0,0,0,0,0");
    rows[298] = u"-1,6,74,49161,0";  // left as it is
    rows[299] = u"-1,6,75,49160,0";  // switched off below
    StoreFile(rows);
    InitDefaults();
    EXPECT_EQ(HotKeyDT->ItemCount(), 300);
    EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1");
    bool on = false;
    SetHotKeyEnabled(299, on);
    EXPECT_EQ(CellValue(299, HotKeyCellAtom), 0);
    CloseHotKeys();
    auto file = ReadFile();
    EXPECT_EQ(file->ItemCount(), 300);
    EXPECT_EQ(file->Items(298)->Items(HotKeyCellAtom)->Value(), 49161);
    DeleteFile(HotKeyFileName());
  }
  // A stored key is kept; the stale atom of a slot outside the set is left alone.
  StoreFile({u"0", u"0", u"0", u"0", u"0", u"-1,6,76,49999", u"0", u"0", u"0", u"0,0,0,49153"});
  InitDefaults();
  EXPECT_EQ(CellValue(HotKeySlotRegion, HotKeyCellKey), 76);
  EXPECT_EQ(CellValue(9, HotKeyCellAtom), 49153);
}

TEST_F(HotKeys, DamagedFileGivesDefaults) {
  {
    std::unique_ptr<TFileStream> fs(new TFileStream(HotKeyFileName(), fmCreate));
    const char junk[] = "this is not a table";
    fs->WriteBuffer(junk, sizeof junk);
  }
  InitDefaults();
  ASSERT_EQ(HotKeyDT->ItemCount(), 10);
  EXPECT_EQ(CellText(HotKeySlotRegion, HotKeyCellEnabled), u"-1");
  CloseHotKeys();
  EXPECT_EQ(ReadFile()->ItemCount(), 10);
}

// Sends keys with xdotool (the Unix program) to the X server.
bool XdoKey(const char* Keys) {
  std::string k = Keys;
  char prog[] = "xdotool", key[] = "key";
  char* argv[] = {prog, key, k.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  pid_t got;
  do got = waitpid(pid, &status, 0);
  while (got < 0 && errno == EINTR);
  if (got == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  // Wine reaped the child itself: it has ended once it is gone.
  const DWORD start = ::GetTickCount();
  while (::kill(pid, 0) == 0) {
    if (::GetTickCount() - start > 5000) return false;
    ::Sleep(2);
  }
  return true;
}

TEST_F(HotKeys, PressWithoutFocusReachesTheMainWindowAsItsSlot) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  InitDefaults();
  ASSERT_EQ(::GetFocus(), nullptr);
  struct Case {
    const char* Keys;
    Integer Slot;
    UINT Vk;
  } cases[] = {{"ctrl+shift+s", 5, 'S'}, {"ctrl+shift+a", 7, 'A'}, {"ctrl+shift+f", 8, 'F'},
               {"ctrl+shift+bracketleft", 6, VK_OEM_4}};
  Word key = u'[';
  SetHotKeyKey(HotKeySlotMenu, key);
  ASSERT_EQ(key, VK_OEM_4);
  for (const Case& c : cases) {
    ASSERT_TRUE(XdoKey(c.Keys));
    std::vector<MSG> got;
    const DWORD end = ::GetTickCount() + 1000;
    while (got.empty() && static_cast<LONG>(end - ::GetTickCount()) > 0) {
      MSG msg;
      while (::PeekMessageW(&msg, MainHandle, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) got.push_back(msg);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_EQ(got.size(), 1u) << c.Keys;
    EXPECT_EQ(HotKeySlotOfId(got[0].wParam), c.Slot) << c.Keys;
    EXPECT_EQ(got[0].lParam, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, c.Vk)) << c.Keys;
  }
}

}  // namespace
