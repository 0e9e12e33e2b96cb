// The Win32 half of the file routines: the clipboard file list, file sizes
// and times, the folder picker, starting programs and copying folders.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "gdiplus/FileContainers.h"
#include "rtl/DateUtils.h"
#include "rtl/FileUtils.h"

namespace {

const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

HANDLE OpenForReading(const String& FileName) {
  return CreateFileW(W(FileName), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void CopyFilesToClipboard(const String& List) {
  // The names in UTF-16 (fWide), so names outside the ANSI code page
  // survive; one more #0 ends the list.
  const String list = List + Char(0);
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(Char);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (block != nullptr) {
    void* p = GlobalLock(block);
    if (p != nullptr) {
      auto* header = static_cast<DROPFILES*>(p);
      header->pFiles = sizeof(DROPFILES);
      header->pt.x = 0;
      header->pt.y = 0;
      header->fNC = FALSE;
      header->fWide = TRUE;
      std::memcpy(static_cast<BYTE*>(p) + sizeof(DROPFILES), list.data(), list.size() * sizeof(Char));
      GlobalUnlock(block);
      if (SetClipboardData(CF_HDROP, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

Int64 GetFileSize64(const String& FileName) {
  HANDLE h = OpenForReading(FileName);
  if (h == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size{};
  const BOOL ok = GetFileSizeEx(h, &size);
  CloseHandle(h);
  return ok ? static_cast<Int64>(size.QuadPart) : -1;
}

bool GetFileTimeLocal(const String& FileName, Integer Kind, Int64& LocalFileTime) {
  LocalFileTime = 0;
  if (Kind < 0 || Kind > 2) return false;
  HANDLE h = OpenForReading(FileName);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME times[3]{};
  const BOOL ok = GetFileTime(h, &times[0], &times[1], &times[2]);
  CloseHandle(h);
  FILETIME local{};
  if (!ok || !FileTimeToLocalFileTime(&times[Kind], &local)) return false;
  LocalFileTime = static_cast<Int64>((static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime);
  return true;
}

TDateTime GetFileDateTime(const String& FileName, Integer Kind) {
  Int64 value = 0;
  GetFileTimeLocal(FileName, Kind, value);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(value));
  ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(value) >> 32);
  SYSTEMTIME st{};
  TDateTime result = 0;
  if (FileTimeToSystemTime(&ft, &st) &&
      TryEncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, result))
    return result;
  return EncodeDate(2001, 1, 1);
}

void BrowseForFolder(NativeUInt Owner, const String& Title, String& Path) {
  Path.clear();
  LPITEMIDLIST root = nullptr;
  SHGetSpecialFolderLocation(reinterpret_cast<HWND>(Owner), CSIDL_DRIVES, &root);
  BROWSEINFOW bi{};
  bi.hwndOwner = reinterpret_cast<HWND>(Owner);
  bi.pidlRoot = root;
  bi.lpszTitle = W(Title);
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
  if (chosen != nullptr) {
    WCHAR buffer[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(chosen, buffer)) Path = String(reinterpret_cast<const Char*>(buffer));
    CoTaskMemFree(chosen);
  }
  if (root != nullptr) CoTaskMemFree(root);
}

NativeUInt LaunchProgram(const String& Program, const String& Params) {
  SHELLEXECUTEINFOW sei{};
  sei.cbSize = sizeof(sei);
  sei.fMask = SEE_MASK_NOCLOSEPROCESS;
  sei.lpFile = W(Program);
  sei.lpParameters = W(Params);
  sei.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&sei)) return 0;
  return reinterpret_cast<NativeUInt>(sei.hProcess);
}

bool CopyDirectory(const String& Source, const String& Target, Integer AttrMask, bool FailIfExists) {
  bool complete = true;
  TSearchRec sr;
  try {
    const String source = IncludeTrailingPathDelimiter(Source);
    const String target = IncludeTrailingPathDelimiter(Target);
    if (!DirectoryExists(target) && !ForceDirectories(target)) return false;
    if (FindFirst(source + u"*.*", AttrMask, sr) == 0) {
      do {
        if ((sr.Attr & AttrMask) == 0 || sr.Name == u"." || sr.Name == u"..") continue;
        if ((sr.Attr & faDirectory) != 0) {
          if (!CopyDirectory(source + sr.Name, target + sr.Name, AttrMask, FailIfExists)) complete = false;
        } else {
          const String to = target + sr.Name;
          // A file kept because it exists (FailIfExists) is no failure.
          if (!CopyFileW(W(source + sr.Name), W(to), FailIfExists ? TRUE : FALSE) &&
              !(FailIfExists && GetLastError() == ERROR_FILE_EXISTS))
            complete = false;
        }
      } while (FindNext(sr) == 0);
    }
    FindClose(sr);
  } catch (...) {
    FindClose(sr);
    return false;
  }
  return complete;
}
