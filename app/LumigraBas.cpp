// The main program block of Lumigra Basic.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "classlib/Forms.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HyLangRes.h"
#include "rtl/FileIO.h"
#include "rtl/SysUtils.h"
#include "skin/data/win/SPUtils.h"

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

void ShowStartError(const String& Text) {
  ::MessageBoxW(nullptr, W(Text), L"Lumigra Basic", MB_OK | MB_ICONERROR);
}

// Argument Index of the command line (0 is the program), or empty.
String ParamStr(int Index) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  String s;
  if (argv && Index < argc) s = reinterpret_cast<const char16_t*>(argv[Index]);
  if (argv) ::LocalFree(argv);
  return s;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  try {
    AppInit(u"LumigraBas", String());
    AppEdition = 3;
    // The texts of the user interface, in the language chosen by AppInit.
    LoadLanguageTable();
    GetLangText(LangTitleGroup, LangTitleIndex, false, AppTitle);
    const String title = InstanceTitle(LangIndex);
    if (ActivateRunningInstance(title, ParamStr(1), StrToIntDef(ParamStr(2), 0))) return 0;
  } catch (const Exception& e) {
    ShowStartError(e.Message());
    return 1;
  } catch (const std::exception& e) {
    ShowStartError(String(u"Lumigra Basic could not start: ") + AnsiBytesToString(e.what(), std::strlen(e.what())));
    return 1;
  } catch (...) {
    ShowStartError(u"Lumigra Basic could not start.");
    return 1;
  }
  Application->Initialize();
  Application->SetHintHidePause(20000);
  // The skin toolkit's units: the alpha bitmaps first, then the toolkit.
  InitializeSpBitmapUnit();
  InitializeSPUtils();
  // The editor's main window does not exist yet: the program block ends here.
  std::fputs("LumigraBas: the main window is not built yet; nothing to show.\n", stderr);
  FinalizeSPUtils();
  FinalizeSpBitmapUnit();
  return 0;
}
