// Win32 side of the SysUtils platform seam: the user locale's case mapping
// (CharUpperBuffW / CharLowerBuffW) and collation (CompareStringW), and the
// system's error texts.
#include <windows.h>

#include "rtl/SysUtils.h"
#include "rtl/SysUtilsPlatform.h"

namespace rtl::platform {

String UpperCase(const String& S) {
  String r(S);
  if (!r.empty()) CharUpperBuffW(reinterpret_cast<LPWSTR>(r.data()), static_cast<DWORD>(r.size()));
  return r;
}

String LowerCase(const String& S) {
  String r(S);
  if (!r.empty()) CharLowerBuffW(reinterpret_cast<LPWSTR>(r.data()), static_cast<DWORD>(r.size()));
  return r;
}

static Integer Compare(DWORD Flags, const String& S1, const String& S2) {
  int r = CompareStringW(LOCALE_USER_DEFAULT, Flags, reinterpret_cast<LPCWSTR>(S1.c_str()), static_cast<int>(S1.size()),
                         reinterpret_cast<LPCWSTR>(S2.c_str()), static_cast<int>(S2.size()));
  if (r == 0) {  // the call failed: fall back to ordinal order
    Integer o = ::CompareStr(S1, S2);
    return o < 0 ? -1 : (o > 0 ? 1 : 0);
  }
  return r - CSTR_EQUAL;
}

Integer CompareStr(const String& S1, const String& S2) { return Compare(0, S1, S2); }
Integer CompareText(const String& S1, const String& S2) { return Compare(NORM_IGNORECASE, S1, S2); }

Cardinal LastErrorCode() { return GetLastError(); }

String ErrorText(Cardinal Code) {
  WCHAR* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           nullptr, Code, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
  String r;
  if (n > 0 && buf) r.assign(reinterpret_cast<const char16_t*>(buf), n);
  if (buf) LocalFree(buf);
  while (!r.empty() && (r.back() == u'\r' || r.back() == u'\n' || r.back() == u' ' || r.back() == u'.')) r.pop_back();
  return r;
}

}  // namespace rtl::platform
