// Common dialogs.
#include "classlib/Dialogs.h"

#include <cstring>

#include "classlib/Printers.h"
#include "rtl/ScopeGuard.h"

HWND TCommonDialog::OwnerWindow(HWND Owner) { return Owner ? Owner : GetActiveWindow(); }

// ---------------------------------------------------------------------------
// File dialogs

std::vector<WCHAR> MakeDialogFilter(const String& Filter) {
  std::vector<WCHAR> R;
  if (Filter.empty()) return R;
  R.reserve(Filter.size() + 2);
  for (Char C : Filter) R.push_back(C == u'|' ? WCHAR(0) : WCHAR(C));
  R.push_back(0);
  R.push_back(0);
  return R;
}

std::vector<String> ParseDialogFileNames(const WCHAR* Buffer, size_t Size, bool MultiSelect) {
  std::vector<String> Names;
  size_t I = 0;
  auto Next = [&](String& Out) {
    size_t N = 0;
    while (I + N < Size && Buffer[I + N] != 0) ++N;
    Out.assign(reinterpret_cast<const Char*>(Buffer + I), N);
    I += N + 1;
    return N > 0;
  };
  String First;
  if (!Buffer || !Next(First)) return Names;
  String Name;
  if (!MultiSelect || I >= Size || !Next(Name)) {
    Names.push_back(First);
    return Names;
  }
  // A folder followed by the names in it.
  String Dir = First;
  if (Dir.back() != u'\\' && Dir.back() != u'/') Dir += u'\\';
  do {
    Names.push_back(Dir + Name);
  } while (I < Size && Next(Name));
  return Names;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(new TStringList()) {}

TOpenDialog::~TOpenDialog() { delete FFiles; }

void TOpenDialog::SetDefaultExt(const String& Value) {
  FDefaultExt = Value;
  if (!FDefaultExt.empty() && FDefaultExt[0] == u'.') FDefaultExt.erase(0, 1);
}

bool TOpenDialog::RunDialog(OPENFILENAMEW& Ofn) { return GetOpenFileNameW(&Ofn) != FALSE; }

bool TSaveDialog::RunDialog(OPENFILENAMEW& Ofn) { return GetSaveFileNameW(&Ofn) != FALSE; }

bool TOpenDialog::Execute(HWND Owner) {
  const bool Multi = (FOptions & ofAllowMultiSelect) != 0;
  std::vector<WCHAR> Filter = MakeDialogFilter(FFilter);
  std::vector<WCHAR> Buffer(Multi ? 0x10000 : 0x1000, 0);
  const size_t Copy = std::min(FFileName.size(), Buffer.size() - 1);
  std::memcpy(Buffer.data(), FFileName.data(), Copy * sizeof(WCHAR));

  OPENFILENAMEW O = {};
  O.lStructSize = sizeof(O);
  O.hwndOwner = OwnerWindow(Owner);
  O.lpstrFilter = Filter.empty() ? nullptr : Filter.data();
  O.nFilterIndex = DWORD(FFilterIndex < 0 ? 0 : FFilterIndex);
  O.lpstrFile = Buffer.data();
  O.nMaxFile = DWORD(Buffer.size());
  O.lpstrInitialDir = FInitialDir.empty() ? nullptr : reinterpret_cast<const WCHAR*>(FInitialDir.c_str());
  O.lpstrTitle = FTitle.empty() ? nullptr : reinterpret_cast<const WCHAR*>(FTitle.c_str());
  O.lpstrDefExt = FDefaultExt.empty() ? nullptr : reinterpret_cast<const WCHAR*>(FDefaultExt.c_str());
  O.Flags = (FOptions & ~DWORD(ofExtensionDifferent)) | OFN_EXPLORER;

  WCHAR Saved[MAX_PATH * 4] = {};
  GetCurrentDirectoryW(MAX_PATH * 4, Saved);
  const bool OK = RunDialog(O);
  if (OK) {
    std::vector<String> Names = ParseDialogFileNames(Buffer.data(), Buffer.size(), Multi);
    FFiles->Clear();
    for (const String& N : Names) FFiles->Add(N);
    FFileName = Names.empty() ? String() : Names[0];
    FFilterIndex = Integer(O.nFilterIndex);
    FOptions = (FOptions & ~DWORD(ofReadOnly | ofExtensionDifferent)) |
               (O.Flags & DWORD(OFN_READONLY | OFN_EXTENSIONDIFFERENT));
  }
  // The current directory follows the choice unless asked not to; the rule
  // is kept here whatever the dialog itself did while browsing. A cancelled
  // dialog leaves it where it was.
  if (!OK || (FOptions & ofNoChangeDir)) {
    SetCurrentDirectoryW(Saved);
  } else if (OK && !FFileName.empty()) {
    String Dir = FFileName;
    size_t Slash = Dir.find_last_of(u"\\/");
    if (Slash != String::npos) {
      Dir.resize(Slash == 2 && Dir.size() > 1 && Dir[1] == u':' ? 3 : Slash);  // "C:\" keeps its slash
      SetCurrentDirectoryW(reinterpret_cast<const WCHAR*>(Dir.c_str()));
    }
  }
  return OK;
}

// ---------------------------------------------------------------------------
// Folder picker

bool BrowseForFolderDialog(HWND Owner, const String& Title, String& Path, Integer Root, UINT Flags) {
  Path.clear();
  // The new dialog style needs COM on this thread.
  const HRESULT Co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LPITEMIDLIST RootPidl = nullptr;
  SHGetSpecialFolderLocation(Owner, Root, &RootPidl);
  WCHAR Display[MAX_PATH] = {};
  BROWSEINFOW BI = {};
  BI.hwndOwner = Owner ? Owner : GetActiveWindow();
  BI.pidlRoot = RootPidl;
  BI.pszDisplayName = Display;
  BI.lpszTitle = reinterpret_cast<const WCHAR*>(Title.c_str());
  BI.ulFlags = Flags;
  LPITEMIDLIST Chosen = SHBrowseForFolderW(&BI);
  bool OK = false;
  if (Chosen) {
    WCHAR Buf[MAX_PATH * 4] = {};
    if (SHGetPathFromIDListW(Chosen, Buf)) {
      Path = String(reinterpret_cast<const Char*>(Buf));
      // No trailing separator except on a drive's root ("C:\\").
      while (Path.size() > 3 && (Path.back() == u'\\' || Path.back() == u'/')) Path.pop_back();
      OK = !Path.empty();
    }
    CoTaskMemFree(Chosen);
  }
  if (RootPidl) CoTaskMemFree(RootPidl);
  if (SUCCEEDED(Co)) CoUninitialize();
  return OK;
}

// ---------------------------------------------------------------------------
// Printer set-up

bool TPrinterSetupDialog::Execute(HWND Owner) {
  TPrinter* P = Printer();
  const std::vector<Byte>& Mode = P->DevMode();  // raises EPrinter without printers
  const String Name = P->PrinterName();

  HGLOBAL DevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, Mode.size());
  if (!DevMode) throw EOutOfMemory(u"Out of memory");
  std::memcpy(GlobalLock(DevMode), Mode.data(), Mode.size());
  GlobalUnlock(DevMode);
  // DEVNAMES: offsets (in characters) of driver, device and port names.
  const size_t NamesChars = 1 + Name.size() + 1 + 1;
  HGLOBAL DevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + NamesChars * sizeof(WCHAR));
  if (!DevNames) {
    GlobalFree(DevMode);
    throw EOutOfMemory(u"Out of memory");
  }
  {
    auto* DN = static_cast<DEVNAMES*>(GlobalLock(DevNames));
    const WORD Base = WORD(sizeof(DEVNAMES) / sizeof(WCHAR));
    DN->wDriverOffset = Base;  // empty driver name
    DN->wDeviceOffset = WORD(Base + 1);
    DN->wOutputOffset = WORD(Base + 1 + Name.size() + 1);  // empty port
    std::memcpy(reinterpret_cast<WCHAR*>(DN) + DN->wDeviceOffset, Name.data(), Name.size() * sizeof(WCHAR));
    GlobalUnlock(DevNames);
  }
  PRINTDLGW PD = {};
  PD.lStructSize = sizeof(PD);
  PD.hwndOwner = OwnerWindow(Owner);
  PD.hDevMode = DevMode;
  PD.hDevNames = DevNames;
  PD.Flags = PD_PRINTSETUP;
  const bool OK = PrintDlgW(&PD) != FALSE;
  TFinally FreeBlocks([&] {
    if (PD.hDevMode) GlobalFree(PD.hDevMode);
    if (PD.hDevNames) GlobalFree(PD.hDevNames);
  });
  if (OK) {
    String NewName = Name;
    if (PD.hDevNames) {
      auto* DN = static_cast<DEVNAMES*>(GlobalLock(PD.hDevNames));
      if (DN) {
        NewName = String(reinterpret_cast<const Char*>(reinterpret_cast<WCHAR*>(DN) + DN->wDeviceOffset));
        GlobalUnlock(PD.hDevNames);
      }
    }
    const DEVMODEW* DM = PD.hDevMode ? static_cast<const DEVMODEW*>(GlobalLock(PD.hDevMode)) : nullptr;
    TFinally Unlock([&] {
      if (DM) GlobalUnlock(PD.hDevMode);
    });
    P->SetDevice(NewName, DM);
  }
  return OK;
}
