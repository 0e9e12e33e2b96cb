// The file-system routines of rtl/FileUtils.h over Win32 (Winelib build).
#include <windows.h>

#include "rtl/FileUtils.h"

#include "rtl/DateUtils.h"
#include "rtl/SysUtils.h"

namespace {

const WCHAR* W(const String& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

DWORD AttributesOf(const String& Name) {
  if (Name.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(W(Name));
}

Int64 FileTimeValue(const FILETIME& ft) {
  return static_cast<Int64>((static_cast<UInt64>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

// A UTC file time as a local date-time.
bool LocalDateTime(const FILETIME& utc, TDateTime& value) {
  FILETIME local;
  if (!FileTimeToLocalFileTime(&utc, &local)) return false;
  value = FileTimeToDateTime(FileTimeValue(local));
  return true;
}

// Hidden, system and folder entries only when asked for.
Integer ExcludeFor(Integer Attr) { return ~Attr & (faHidden | faSysFile | faDirectory); }

void Fill(TSearchRec& F, const WIN32_FIND_DATAW& d) {
  F.Name = String(reinterpret_cast<const char16_t*>(d.cFileName));
  F.Attr = static_cast<Integer>(d.dwFileAttributes);
  F.Size = static_cast<Int64>((static_cast<UInt64>(d.nFileSizeHigh) << 32) | d.nFileSizeLow);
  F.Time = 0;
  LocalDateTime(d.ftLastWriteTime, F.Time);
}

// Skips entries excluded by the search's attributes; 0 or an error code.
Integer FindMatching(TSearchRec& F, WIN32_FIND_DATAW& d) {
  HANDLE h = static_cast<HANDLE>(F.FindHandle);
  while (static_cast<Integer>(d.dwFileAttributes) & F.ExcludeAttr) {
    if (!FindNextFileW(h, &d)) return static_cast<Integer>(GetLastError());
  }
  Fill(F, d);
  return 0;
}

}  // namespace

bool FileExists(const String& FileName) {
  DWORD a = AttributesOf(FileName);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& Directory) {
  DWORD a = AttributesOf(Directory);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const String& Dir) { return !Dir.empty() && CreateDirectoryW(W(Dir), nullptr); }

bool RemoveDir(const String& Dir) { return !Dir.empty() && RemoveDirectoryW(W(Dir)); }

bool DeleteFile(const String& FileName) { return !FileName.empty() && DeleteFileW(W(FileName)); }

bool RenameFile(const String& OldName, const String& NewName) {
  return !OldName.empty() && !NewName.empty() && MoveFileW(W(OldName), W(NewName));
}

bool FileAge(const String& FileName, TDateTime& FileDateTime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (FileName.empty() || !GetFileAttributesExW(W(FileName), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return LocalDateTime(data.ftLastWriteTime, FileDateTime);
}

Int64 FileSize(const String& FileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (FileName.empty() || !GetFileAttributesExW(W(FileName), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<Int64>((static_cast<UInt64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

String GetCurrentDir() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return String();
  String buf(n, u'\0');
  DWORD got = GetCurrentDirectoryW(n, reinterpret_cast<WCHAR*>(buf.data()));
  buf.resize(got < n ? got : 0);
  return buf;
}

bool SetCurrentDir(const String& Dir) { return !Dir.empty() && SetCurrentDirectoryW(W(Dir)); }

String GetTempDirectory() {
  WCHAR buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  if (n == 0 || n > MAX_PATH) return String();
  return IncludeTrailingPathDelimiter(String(reinterpret_cast<const char16_t*>(buf), n));
}

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
  F.Time = 0;
  F.Size = 0;
  F.Attr = 0;
  F.Name.clear();
  F.FindHandle = nullptr;
  F.ExcludeAttr = ExcludeFor(Attr);
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW(W(Path), &d);
  if (h == INVALID_HANDLE_VALUE) return static_cast<Integer>(GetLastError());
  F.FindHandle = h;
  Integer r = FindMatching(F, d);
  if (r != 0) FindClose(F);
  return r;
}

Integer FindNext(TSearchRec& F) {
  if (!F.FindHandle) return ERROR_NO_MORE_FILES;
  WIN32_FIND_DATAW d;
  if (!FindNextFileW(static_cast<HANDLE>(F.FindHandle), &d)) return static_cast<Integer>(GetLastError());
  return FindMatching(F, d);
}

void FindClose(TSearchRec& F) {
  if (!F.FindHandle) return;
  ::FindClose(static_cast<HANDLE>(F.FindHandle));
  F.FindHandle = nullptr;
}
