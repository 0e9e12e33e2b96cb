// Start-up under Wine: folders and settings files under a private APPDATA,
// the language column, a busy shared table, and the single-instance hand-over.
#include "common/gtest.h"
#include "common/RemoveTree.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/HyStrUtils.h"
#include "foundation/app/win/HySysUtils.h"
#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

// Loopback downloads must not go through a proxy of the environment.
void ClearHttpProxy() {
  ::SetEnvironmentVariableW(L"http_proxy", nullptr);
  ::SetEnvironmentVariableW(L"HTTP_PROXY", nullptr);
}

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

class AppStart : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = GetTempDirectory() + u"lumigra-start-" + IntToStr(RandomInt(1 << 30));
    ASSERT_TRUE(ForceDirectories(FRoot + u"\\appdata"));
    FOldAppData = GetEnvVar(u"APPDATA");
    ::SetEnvironmentVariableW(L"APPDATA", W(FRoot + u"\\appdata"));
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"APPDATA", FOldAppData.empty() ? nullptr : W(FOldAppData));
    FreeAndNil(ConfigDT);
    FreeAndNil(AppShareRow);
    RemoveTree(FRoot);
  }
  String AppFolder() const { return FRoot + u"\\appdata\\Corvane\\LumigraBas\\"; }
  // Writes a Config.db whose property 1 is CodePage.
  void StoreCodePage(const String& File, Integer CodePage) {
    ForceDirectories(ExtractFileDir(File));
    std::unique_ptr<TDataTable> dt(NewConfigTable());
    dt->Init(10, 50);
    dt->SetPropCount(100);
    dt->Props(1)->SetValue(CodePage);
    dt->SaveAs(File);
  }
  std::unique_ptr<TDataTable> ReadShare() {
    auto dt = std::make_unique<TDataTable>();
    dt->Load(ShareFile, 0, 0);
    return dt;
  }
  String FRoot, FOldAppData;
};

TEST_F(AppStart, FirstStartCreatesFilesAndSecondStartReadsThem) {
  AppInit(u"LumigraBas", String());
  EXPECT_EQ(SharePath, FRoot + u"\\appdata\\Corvane\\");
  EXPECT_EQ(ShareFile, SharePath + u"Share6.db");
  EXPECT_EQ(DataPath, AppFolder());
  EXPECT_EQ(ConfigFile, AppFolder() + u"Config.db");
  EXPECT_EQ(TempPath, AppFolder() + u"Temp\\");
  EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(TempPath)));
  EXPECT_TRUE(FileExists(ConfigFile));
  EXPECT_TRUE(FileExists(ShareFile));
  EXPECT_FALSE(ExePath.empty());
  EXPECT_EQ(ExePath.back(), u'\\');
  EXPECT_EQ(SysDir.back(), u'\\');
  EXPECT_EQ(WinDir.back(), u'\\');
  ASSERT_TRUE(ConfigDT);
  EXPECT_EQ(ConfigDT->ItemCount(), 10);
  EXPECT_EQ(ConfigDT->Items(9)->ItemCount(), 50);
  EXPECT_EQ(ConfigDT->PropCount(), 100);
  EXPECT_EQ(ConfigDT->Props(1)->Value(), static_cast<Integer>(::GetACP()));
  EXPECT_EQ(ConfigDT->Props(46)->Text(), OSVersionText + u" " + GetEnvVar(u"PROCESSOR_ARCHITECTURE") + u" 64");
  EXPECT_EQ(LangIndex, ::GetACP() == 936 ? 0 : 2);
  ASSERT_TRUE(AppShareRow);
  EXPECT_EQ(AppShareRow->ItemCount(), 15);
  const String installId = AppShareRow->Items(4)->Text();
  EXPECT_EQ(installId.size(), 6u);
  auto share = ReadShare();
  ASSERT_EQ(share->ItemCount(), 1);
  EXPECT_EQ(share->Items(0)->Items(0)->Text(), u"LumigraBas");
  EXPECT_EQ(share->Items(0)->Items(4)->Text(), installId);

  ConfigDT->Props(7)->SetText(u"remembered");
  ConfigDT->Save(true);
  AppInit(u"LumigraBas", String());
  EXPECT_EQ(ConfigDT->Props(7)->Text(), u"remembered");
  EXPECT_EQ(AppShareRow->Items(4)->Text(), installId);
  EXPECT_EQ(ReadShare()->ItemCount(), 1);
}

TEST_F(AppStart, DataFolderReplacesAppFolderButNotShareFolder) {
  const String data = FRoot + u"\\data";
  AppInit(u"LumigraBas", data);
  EXPECT_EQ(DataPath, data + u"\\");
  EXPECT_TRUE(FileExists(data + u"\\Config.db"));
  EXPECT_TRUE(DirectoryExists(data + u"\\Temp"));
  EXPECT_TRUE(FileExists(FRoot + u"\\appdata\\Corvane\\Share6.db"));
  EXPECT_FALSE(DirectoryExists(AppFolder() + u"Temp"));
}

TEST_F(AppStart, LanguageFollowsStoredCodePage) {
  struct Case {
    Integer CodePage;
    Integer Lang;
    const char16_t* Title;
  } cases[] = {{936, 0, u"- 琮芃画图基本版"}, {1252, 2, u"- Corvane Lumigra Basic"}};
  for (const Case& c : cases) {
    StoreCodePage(AppFolder() + u"Config.db", c.CodePage);
    AppInit(u"LumigraBas", String());
    EXPECT_EQ(LangIndex, c.Lang) << c.CodePage;
    EXPECT_EQ(InstanceTitle(LangIndex), c.Title);
    EXPECT_EQ(ConfigDT->Props(1)->Value(), c.CodePage);  // never rewritten
  }
}

TEST_F(AppStart, DamagedConfigReplacedByDefaultsAndKept) {
  ForceDirectories(ExcludeTrailingPathDelimiter(AppFolder()));
  {
    TFileStream fs(AppFolder() + u"Config.db", fmCreate);
    fs.WriteBuffer("not a settings file at all", 26);
  }
  AppInit(u"LumigraBas", String());
  EXPECT_EQ(ConfigDT->ItemCount(), 10);
  EXPECT_EQ(ConfigDT->Props(1)->Value(), static_cast<Integer>(::GetACP()));
  EXPECT_TRUE(FileExists(AppFolder() + u"Config.db.damaged"));
  EXPECT_EQ(FileSize(AppFolder() + u"Config.db.damaged"), 26);
}

// A Share6.db held open for writing by another program: start-up goes on with
// a row in memory and writes nothing.
TEST_F(AppStart, BusyShareTableGetsNoWrite) {
  ShareFile = FRoot + u"\\appdata\\Corvane\\Share6.db";
  ForceDirectories(FRoot + u"\\appdata\\Corvane");
  {
    TDataTable dt;
    dt.AddItem(u"Gallery,42");
    dt.SaveAs(ShareFile);
  }
  const Int64 size = FileSize(ShareFile);
  HANDLE h = ::CreateFileW(W(ShareFile), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  AppInit(u"LumigraBas", String());
  ::CloseHandle(h);
  ASSERT_TRUE(AppShareRow);
  EXPECT_EQ(AppShareRow->Items(0)->Text(), u"LumigraBas");
  EXPECT_EQ(AppShareRow->ItemCount(), 15);
  EXPECT_EQ(FileSize(ShareFile), size);
  auto share = ReadShare();
  ASSERT_EQ(share->ItemCount(), 1);
  EXPECT_EQ(share->Items(0)->Items(1)->Text(), u"42");
  // Free again: the next start stores its row beside the other program's.
  AppInit(u"LumigraBas", String());
  EXPECT_EQ(ReadShare()->ItemCount(), 2);
}

// ---- single instance --------------------------------------------------------------------

struct InstanceLog {
  int Activations = 0;
  WPARAM LastWParam = 0;
  int Copies = 0;
  ULONG_PTR CopyData = 0;
  String CopiedPath;
};
InstanceLog gLog;

LRESULT CALLBACK InstanceProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_ACTIVATE_INSTANCE) {
    ++gLog.Activations;
    gLog.LastWParam = WParam;
    return 0;
  }
  if (Msg == WM_COPYDATA) {
    auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(LParam);
    ++gLog.Copies;
    gLog.CopyData = cds->dwData;
    const auto* p = static_cast<const char16_t*>(cds->lpData);
    size_t n = cds->cbData / 2;
    gLog.CopiedPath.assign(p, n);
    return 1;
  }
  return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND MakeInstanceWindow(const String& Caption) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = InstanceProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumigraInstanceProbe";
    ::RegisterClassW(&wc);
    registered = true;
  }
  return ::CreateWindowExW(0, L"LumigraInstanceProbe", W(Caption), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog = InstanceLog();
    FOldRow = AppShareRow;
    AppShareRow = NewShareRow(u"LumigraBas");
  }
  void TearDown() override {
    delete AppShareRow;
    AppShareRow = FOldRow;
  }
  void Point(HWND Wnd) { AppShareRow->Items(1)->SetText(HandleToShareText(Wnd)); }
  TRow* FOldRow = nullptr;
};

TEST_F(SingleInstance, CaptionDecidesAndDisabledWindowStillCounts) {
  const String title = InstanceTitle(2);
  struct Case {
    const char16_t* Caption;
    bool Disable;
    bool Running;
  } cases[] = {
      {u"photo.png - Corvane Lumigra Basic", false, true},
      {u"photo.png - Corvane Lumigra Basic", true, true},  // a modal dialog is open
      {u"Corvane Lumigra Basic", false, false},             // lacks "- "
      {u"Some other program", false, false},
  };
  for (const Case& c : cases) {
    gLog = InstanceLog();
    HWND wnd = MakeInstanceWindow(c.Caption);
    ASSERT_TRUE(wnd);
    if (c.Disable) ::EnableWindow(wnd, FALSE);
    Point(wnd);
    EXPECT_EQ(ActivateRunningInstance(title), c.Running);
    EXPECT_EQ(gLog.Activations, c.Running ? 1 : 0);
    if (c.Running) {
      EXPECT_EQ(gLog.LastWParam, 1u);
    }
    EXPECT_EQ(gLog.Copies, 0);
    ::DestroyWindow(wnd);
  }
  // no handle, and a stale handle of a window that is gone
  AppShareRow->Items(1)->SetText(u"");
  EXPECT_FALSE(ActivateRunningInstance(title));
  HWND gone = MakeInstanceWindow(u"x - Corvane Lumigra Basic");
  Point(gone);
  ::DestroyWindow(gone);
  EXPECT_FALSE(ActivateRunningInstance(title));
  EXPECT_EQ(gLog.Activations, 0);
}

TEST_F(SingleInstance, FileOfSecondStartIsHandedOver) {
  HWND wnd = MakeInstanceWindow(u"a.png - 琮芃画图基本版");
  Point(wnd);
  const String file = GetTempDirectory() + u"lumigra-handover-" + IntToStr(RandomInt(1 << 30)) + u".png";
  { TFileStream fs(file, fmCreate); }
  EXPECT_TRUE(ActivateRunningInstance(InstanceTitle(0), file, 12345));
  EXPECT_EQ(gLog.Activations, 1);
  ASSERT_EQ(gLog.Copies, 1);
  EXPECT_EQ(gLog.CopyData, 12345u);
  ASSERT_EQ(gLog.CopiedPath.size(), file.size() + 1);  // the terminator is counted
  EXPECT_EQ(gLog.CopiedPath.substr(0, file.size()), file);
  EXPECT_EQ(gLog.CopiedPath.back(), u'\0');
  // a file that does not exist is not passed on
  EXPECT_TRUE(ActivateRunningInstance(InstanceTitle(0), file + u".missing", 1));
  EXPECT_EQ(gLog.Copies, 1);
  DeleteFile(file);
  ::DestroyWindow(wnd);
}

// A running window whose thread stops pumping: the second start still ends
// (it is never a second instance) and does not wait for ever.
DWORD WINAPI StalledWindowThread(LPVOID Param) {
  auto* events = static_cast<HANDLE*>(Param);
  HWND wnd = MakeInstanceWindow(u"b.png - Corvane Lumigra Basic");
  AppShareRow->Items(1)->SetText(HandleToShareText(wnd));
  ::SetEvent(events[0]);
  ::WaitForSingleObject(events[1], 20000);  // no message loop meanwhile
  ::DestroyWindow(wnd);
  return 0;
}

TEST_F(SingleInstance, StalledInstanceDoesNotHangTheSecondStart) {
  HANDLE events[2] = {::CreateEventW(nullptr, TRUE, FALSE, nullptr), ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = ::CreateThread(nullptr, 0, StalledWindowThread, events, 0, nullptr);
  ASSERT_TRUE(thread);
  ASSERT_EQ(::WaitForSingleObject(events[0], 10000), WAIT_OBJECT_0);
  const DWORD start = ::GetTickCount();
  EXPECT_TRUE(ActivateRunningInstance(InstanceTitle(2), String(), 0, 400));
  EXPECT_LT(::GetTickCount() - start, 3000u);
  ::SetEvent(events[1]);
  ::WaitForSingleObject(thread, 20000);
  ::CloseHandle(thread);
  ::CloseHandle(events[0]);
  ::CloseHandle(events[1]);
}

TEST(AppShareHandle, NegativeHandlesRoundTripThroughTheCell) {
  for (LONG v : {1L, 0x10074L, -5L, -2147483647L - 1, 2147483647L}) {
    HWND h = static_cast<HWND>(LongToHandle(v));
    const String text = HandleToShareText(h);
    EXPECT_EQ(text, IntToStr(static_cast<Int64>(v)));
    EXPECT_EQ(ShareTextToHandle(text), h);
  }
  EXPECT_EQ(ShareTextToHandle(u""), nullptr);
  EXPECT_EQ(ShareTextToHandle(u"junk"), nullptr);
}

TEST(AppSystemText, OSVersionDigitsWithoutSeparators) {
  EXPECT_EQ(FormatOSVersionText(6, 1, 7601, u"Service Pack 1"), u"617601 Service Pack 1");
  EXPECT_EQ(FormatOSVersionText(10, 0, 0x12345678, u""), u"100" + IntToStr(0x5678));
}

}  // namespace

namespace {

TEST(AppFileVersion, MissingFileAndSystemLibrary) {
  TXRTLFileVersion missing(u"C:\\no\\such\\file.dll", 0, 1252);
  EXPECT_EQ(missing.FileVersionString(), u"0.0.0.0");
  EXPECT_EQ(missing.ProductVersionString(), u"0.0.0.0");
  EXPECT_EQ(missing.FileType(), ftUnknown);
  String text = u"x";
  GetFileVersionString(u"C:\\no\\such\\file.dll", text);
  EXPECT_EQ(text, u"");

  const String lib = GetSystemDir() + u"kernel32.dll";
  TXRTLFileVersion v(lib, 0, 1252);
  EXPECT_EQ(v.FileType(), ftDLL);
  EXPECT_GT(v.FileVersion().Major, 0);
  EXPECT_GT(v.DateTime(), 0);
  GetFileVersionString(lib, text);
  EXPECT_EQ(text, v.FileVersionString());
  EXPECT_EQ(CountOccurrences(u".", text), 3);
}

}  // namespace

namespace {

TEST(AppKeys, StatesFollowTheKeyboardStateTable) {
  BYTE saved[256];
  ASSERT_TRUE(::GetKeyboardState(saved));
  struct Case {
    int Vk;
    bool Ctrl, LeftCtrl, RightCtrl, Shift, Alt, F10;
  } cases[] = {
      {0, false, false, false, false, false, false},
      {VK_LCONTROL, true, true, false, false, false, false},
      {VK_RCONTROL, true, false, true, false, false, false},
      {VK_RSHIFT, false, false, false, true, false, false},
      {VK_LMENU, false, false, false, false, true, false},
      {VK_F10, false, false, false, false, false, true},
  };
  for (const Case& c : cases) {
    BYTE keys[256] = {};
    if (c.Vk) keys[c.Vk] = 0x80;
    ASSERT_TRUE(::SetKeyboardState(keys));
    EXPECT_EQ(IsCtrlDown(), c.Ctrl) << c.Vk;
    EXPECT_EQ(IsLeftCtrlDown(), c.LeftCtrl) << c.Vk;
    EXPECT_EQ(IsRightCtrlDown(), c.RightCtrl) << c.Vk;
    EXPECT_EQ(IsShiftDown(), c.Shift) << c.Vk;
    EXPECT_EQ(IsAltDown(), c.Alt) << c.Vk;
    EXPECT_EQ(IsF10Down(), c.F10) << c.Vk;
  }
  BYTE toggled[256] = {};
  toggled[VK_LCONTROL] = 0x01;  // toggle bit only: not down
  ::SetKeyboardState(toggled);
  EXPECT_FALSE(IsCtrlDown());
  ::SetKeyboardState(saved);
}

TEST(AppClipboard, BitmapSizeOrMinusOne) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  ::CloseClipboard();
  Integer w = 0, h = 0;
  EXPECT_FALSE(GetClipboardBitmapSize(w, h));
  EXPECT_EQ(w, -1);
  EXPECT_EQ(h, -1);
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 37, 21);
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, bmp);
  ::CloseClipboard();
  EXPECT_TRUE(GetClipboardBitmapSize(w, h));
  EXPECT_EQ(w, 37);
  EXPECT_EQ(h, 21);
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  ::CloseClipboard();
  ::DestroyWindow(owner);
}

}  // namespace

namespace {

// The real program started as a second process in the same prefix.
class SecondProcess : public AppStart {
 protected:
  String ProgramFile() {
    WCHAR buf[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    const String self(reinterpret_cast<const char16_t*>(buf), n);
    return ExtractFilePath(self) + u"..\\app\\LumigraBas.exe.so";
  }
  // Runs the program with Args and pumps this thread's messages meanwhile.
  DWORD Run(const String& Args) {
    String cmd = u"\"" + ProgramFile() + u"\" " + Args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, const_cast<WCHAR*>(W(cmd)), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
      return 0xFFFFFFFF;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 60000) {
      DWORD r = ::MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 200, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) break;
      MSG m;
      while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
    }
    DWORD code = 0xFFFFFFFE;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
  }
};

TEST_F(SecondProcess, HandsOverToTheRunningWindowWithItsFile) {
  if (!FileExists(ProgramFile())) GTEST_SKIP() << "the program is not built beside the tests";
  // a first start of the program in the empty profile
  EXPECT_EQ(Run(String()), 0u);
  EXPECT_TRUE(FileExists(AppFolder() + u"Config.db"));
  AppInit(u"LumigraBas", String());
  // this process now stands in for the running instance
  gLog = InstanceLog();
  HWND wnd = MakeInstanceWindow(u"a.png " + InstanceTitle(LangIndex));
  ASSERT_TRUE(WriteShareCells(u"LumigraBas", 1, HandleToShareText(wnd), -1, String()));
  const String file = FRoot + u"\\dropped photo.png";
  { TFileStream fs(file, fmCreate); }
  EXPECT_EQ(Run(u"\"" + file + u"\" 77"), 0u);
  EXPECT_EQ(gLog.Activations, 1);
  EXPECT_EQ(gLog.LastWParam, 1u);
  ASSERT_EQ(gLog.Copies, 1);
  EXPECT_EQ(gLog.CopyData, 77u);
  EXPECT_EQ(gLog.CopiedPath, file + String(1, u'\0'));
  ::DestroyWindow(wnd);
}

}  // namespace

namespace {

TEST(AppSystemFacts, FoldersMemoryAndProcess) {
  EXPECT_FALSE(IsWow64());  // a 64-bit process
  const String win = GetWindowsDir();
  ASSERT_FALSE(win.empty());
  EXPECT_EQ(win.back(), u'\\');
  EXPECT_EQ(GetSystemDrive(), win[0]);
  EXPECT_EQ(GetSystemDir().substr(0, win.size()), win);
  EXPECT_GT(GetAvailPhysMemory(), Int64(1) << 20);
  // Wine's figure is the kernel's MemAvailable (the undo history's memory
  // rule relies on it), give or take what changed between the two reads.
  std::string info;
  THandle h = FileOpen(u"Z:\\proc\\meminfo", fmOpenRead | fmShareDenyNone);
  if (h != InvalidFileHandle) {
    char buf[4096];
    for (Integer n; (n = FileRead(h, buf, sizeof buf)) > 0;) info.append(buf, size_t(n));
    FileClose(h);
  }
  const size_t at = info.find("MemAvailable:");
  if (at != std::string::npos) {
    const Int64 kernel = Int64(std::strtoll(info.c_str() + at + 13, nullptr, 10)) * 1024;
    const Int64 wine = GetAvailPhysMemory();
    EXPECT_LT(std::llabs(wine - kernel), std::max<Int64>(kernel / 10, Int64(256) << 20)) << wine << " " << kernel;
  }
  const Char sep = LocaleDecimalSeparator();
  EXPECT_EQ(ByteSizeToStr(1610612736, sep), u"1" + String(1, sep) + u"5 GB");
}

}  // namespace
