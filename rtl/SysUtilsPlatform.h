// The platform seam of SysUtils: locale-aware case mapping and collation, and
// OS error texts. Win32 under Wine (rtl/win/SysUtilsWin.cpp), a portable
// mapping in the native build (rtl/posix/SysUtilsPosix.cpp). Internal header.
#pragma once

#include "rtl/System.h"

namespace rtl::platform {

// Case mapping of every letter the platform knows; one UTF-16 unit in, one out.
String UpperCase(const String& S);
String LowerCase(const String& S);
// The user locale's collation: -1, 0 or 1.
Integer CompareStr(const String& S1, const String& S2);
Integer CompareText(const String& S1, const String& S2);
// The last OS error code (GetLastError / errno) and its text.
Cardinal LastErrorCode();
String ErrorText(Cardinal Code);

}  // namespace rtl::platform
