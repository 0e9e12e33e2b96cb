#include "foundation/app/win/HyAppWin.h"

#include <memory>

#include "classlib/Graphics.h"
#include "foundation/app/HySkinSchemes.h"
#include "foundation/app/HyStrUtils.h"
#include "foundation/app/win/HyExeVersion.h"
#include "foundation/app/win/HySysUtils.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

HWND MainHandle = nullptr;
HWND ActiveDialogHandle = nullptr;

namespace {

String ModuleFileName() {
  WCHAR buf[32768];
  DWORD n = ::GetModuleFileNameW(nullptr, buf, 32768);
  if (n == 0 || n >= 32768) return String();
  return String(reinterpret_cast<const char16_t*>(buf), n);
}

String WithSlash(const String& S) { return S.empty() ? S : IncludeTrailingPathDelimiter(S); }
}  // namespace

String InstanceTitle(Integer ALangIndex) {
  return ALangIndex == 0 ? String(u"- 琮芃画图基本版") : String(u"- Corvane Lumigra Basic");
}

String HandleToShareText(HWND Wnd) { return IntToStr(static_cast<Int64>(HandleToLong(Wnd))); }

HWND ShareTextToHandle(const String& Text) {
  Integer v = CellTextToInt(Text);
  return v == 0 ? nullptr : static_cast<HWND>(LongToHandle(v));
}

void AppInit(const String& AAppId, const String& DataDir) {
  // 1. paths and system facts
  SharePath = WithSlash(GetEnvVar(u"APPDATA")) + u"Corvane\\";
  ShareFile = SharePath + u"Share6.db";
  AppId = AAppId;
  const String exe = ModuleFileName();
  ExePath = ExtractFilePath(exe);
  // From the program file, or from the loaded program when the file the
  // system names cannot be read (a Winelib program without its launcher).
  ExeVersion = ProgramVersionString();
  IsDevBuild = Pos(u"ImageEditor.exe", exe) > 0;
  OSVersionText = GetOSVersionText();
  SysDir = GetSystemDir();
  WinDir = WithSlash(GetEnvVar(u"WINDIR"));
  if (WinDir.empty()) WinDir = GetWindowsDir();
  SysTempPath = WithSlash(GetEnvVar(u"TEMP"));
  DataPath = DataDir.empty() ? SharePath + AAppId + u"\\" : WithSlash(DataDir);
  ConfigFile = DataPath + u"Config.db";
  // 2. the temporary folder, with its parents
  TempPath = DataPath + u"Temp\\";
  if (!DirectoryExists(TempPath)) ForceDirectories(ExcludeTrailingPathDelimiter(TempPath));
  // 3. Config.db
  FreeAndNil(ConfigDT);
  ConfigDT = NewConfigTable();
  const String systemText = OSVersionText + u" " + GetEnvVar(u"PROCESSOR_ARCHITECTURE") + u" " +
                            (IsWow64() || sizeof(void*) == 8 ? u"64" : u"32");
  LoadConfigTable(ConfigDT, ConfigFile, static_cast<Integer>(::GetACP()), systemText);
  // 4. the application's row of the shared table
  FreeAndNil(AppShareRow);
  bool busy = false;
  AppShareRow = GetShareRow(AAppId, &busy);
  if (!AppShareRow) {
    AppShareRow = NewShareRow(AAppId);
    AppShareRow->Items(ShareCellInstallId)->SetText(RandomStr(6, 0));
    if (!busy) SaveShareRow(AAppId, AppShareRow);
  } else if (AppShareRow->Items(ShareCellInstallId)->StoredText().empty()) {
    AppShareRow->Items(ShareCellInstallId)->SetText(RandomStr(6, 0));
    WriteShareCells(AAppId, ShareCellInstallId, AppShareRow->Items(ShareCellInstallId)->StoredText(), -1,
                    String());
  }
  // 5. the language column
  LangIndex = LangIndexOf(ConfigDT);
}

void InitMainWindow(HWND AMainHandle, bool AllowMessages) {
  MainHandle = AMainHandle;
  ActiveDialogHandle = nullptr;
  BuildSkinSchemeTable();
  if (AllowMessages) {
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    if (::GetVersionExW(&vi) && vi.dwMajorVersion >= 6) AllowDropMessages();
  }
}

bool ActivateRunningInstance(const String& Title, const String& FileName, Integer CallerId, UINT TimeoutMs) {
  if (!AppShareRow || AppShareRow->ItemCount() <= ShareCellHandle) return false;
  HWND wnd = ShareTextToHandle(AppShareRow->Items(ShareCellHandle)->StoredText());
  // A window that exists counts, enabled or not: a modal dialog of the running
  // instance must not let a second one start.
  if (!wnd || !::IsWindow(wnd)) return false;
  WCHAR buf[1025] = {};
  // InternalGetWindowText reads the stored caption and sends no WM_GETTEXT,
  // so a window whose thread stopped pumping cannot hold us here.
  int n = ::InternalGetWindowText(wnd, buf, 1025);
  const String caption(reinterpret_cast<const char16_t*>(buf), n > 0 ? static_cast<size_t>(n) : 0);
  if (Title.empty() || Pos(Title, caption) == 0) return false;
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(wnd, WM_ACTIVATE_INSTANCE, 1, 0, SMTO_ABORTIFHUNG, TimeoutMs, &answer);
  if (!FileName.empty() && FileExists(FileName)) {
    COPYDATASTRUCT cds{};
    cds.dwData = static_cast<ULONG_PTR>(static_cast<Cardinal>(CallerId));
    cds.cbData = static_cast<DWORD>((FileName.size() + 1) * sizeof(char16_t));
    cds.lpData = const_cast<char16_t*>(FileName.c_str());
    ::SendMessageTimeoutW(wnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, TimeoutMs,
                          &answer);
  }
  HWND popup = ::GetLastActivePopup(wnd);
  ::SetForegroundWindow(popup ? popup : wnd);
  return true;
}

void WhitenTransparentEdges(TBitmap* Bitmap, TBitmap* Mask) {
  if (!Bitmap || !Mask || Bitmap->PixelFormat() != pf32bit || Mask->PixelFormat() != pf32bit) return;
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  if (w != Mask->Width() || h != Mask->Height() || w <= 0 || h <= 0) return;
  for (Integer y = 0; y < h; ++y) {
    auto* px = static_cast<Cardinal*>(Bitmap->ScanLine(y));
    const auto* m = static_cast<const Byte*>(Mask->ScanLine(y));
    Integer x = 0;
    for (; x < w && m[x * 4] == 0; ++x) px[x] = 0x00FFFFFFu;
    if (x == w) continue;  // the whole row was transparent
    for (Integer r = w - 1; r > x && m[r * 4] == 0; --r) px[r] = 0x00FFFFFFu;
  }
}
