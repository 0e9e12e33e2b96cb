// File handles over Win32 (Winelib build).
#include <windows.h>

#include "rtl/FileIO.h"
#include "rtl/SysUtils.h"

namespace {

const WCHAR* W(const String& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

HANDLE H(THandle h) { return reinterpret_cast<HANDLE>(h); }

THandle T(HANDLE h) { return reinterpret_cast<THandle>(h); }

// The class library's share-mode table, indexed by (Mode & 0xF0) >> 4:
// compat and exclusive share nothing.
DWORD ShareMode(Cardinal Mode) {
  static const DWORD Table[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  Cardinal i = (Mode & 0xF0) >> 4;
  return i < 5 ? Table[i] : 0;
}

}  // namespace

THandle FileOpen(const String& FileName, Cardinal Mode) {
  static const DWORD Access[4] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, GENERIC_READ};
  HANDLE h = CreateFileW(W(FileName), Access[Mode & 3], ShareMode(Mode), nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? InvalidFileHandle : T(h);
}

THandle FileCreate(const String& FileName, Cardinal Mode) {
  HANDLE h = CreateFileW(W(FileName), GENERIC_READ | GENERIC_WRITE, ShareMode(Mode), nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? InvalidFileHandle : T(h);
}

Integer FileRead(THandle Handle, void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  DWORD done = 0;
  if (!ReadFile(H(Handle), Buffer, static_cast<DWORD>(Count), &done, nullptr)) return -1;
  return static_cast<Integer>(done);
}

Integer FileWrite(THandle Handle, const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  DWORD done = 0;
  if (!WriteFile(H(Handle), Buffer, static_cast<DWORD>(Count), &done, nullptr)) return -1;
  return static_cast<Integer>(done);
}

Int64 FileSeek(THandle Handle, Int64 Offset, Integer Origin) {
  LARGE_INTEGER dist, result;
  dist.QuadPart = Offset;
  DWORD method = Origin == fsFromCurrent ? FILE_CURRENT : Origin == fsFromEnd ? FILE_END : FILE_BEGIN;
  if (!SetFilePointerEx(H(Handle), dist, &result, method)) return -1;
  return result.QuadPart;
}

void FileClose(THandle Handle) {
  if (Handle != InvalidFileHandle) CloseHandle(H(Handle));
}

bool FileFlush(THandle Handle) { return FlushFileBuffers(H(Handle)) != FALSE; }

bool FileTruncate(THandle Handle) { return SetEndOfFile(H(Handle)) != FALSE; }

Cardinal FileLastError() { return GetLastError(); }

bool FileErrorIsNotFound(Cardinal Code) { return Code == ERROR_FILE_NOT_FOUND || Code == ERROR_PATH_NOT_FOUND; }

String FileErrorMessage(Cardinal Code) {
  WCHAR buf[512];
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, buf,
                           sizeof buf / sizeof buf[0], nullptr);
  String s(reinterpret_cast<const char16_t*>(buf), n);
  while (!s.empty() && (s.back() <= u' ' || s.back() == u'.')) s.pop_back();
  return s;
}

#undef ReplaceFile
bool ReplaceFile(const String& TempName, const String& TargetName) {
  return MoveFileExW(W(TempName), W(TargetName), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

String AnsiBytesToString(const char* Bytes, size_t Count) {
  if (Count == 0) return String();
  // Whole text in pieces below INT_MAX; MultiByteToWideChar never fails on bad bytes.
  int n = MultiByteToWideChar(CP_ACP, 0, Bytes, static_cast<int>(Count), nullptr, 0);
  if (n <= 0) return String();
  String s(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, Bytes, static_cast<int>(Count), reinterpret_cast<WCHAR*>(s.data()), n);
  return s;
}

std::string StringToAnsiBytes(const String& S) {
  if (S.empty()) return std::string();
  const WCHAR* w = W(S);
  int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(S.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(S.size()), s.data(), n, nullptr, nullptr);
  return s;
}
