// Native twin of the SysUtils platform seam: a fixed case mapping of the
// Latin, Greek, Cyrillic and full-width letters (independent of the process
// locale, so results are the same on every machine) and a collation that
// orders by the lower-cased text, lower case before upper case on a tie.
#include <cerrno>
#include <cstring>

#include "rtl/SysUtils.h"
#include "rtl/SysUtilsPlatform.h"

namespace {

char16_t ToUpper(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
      return (c & 1) ? static_cast<char16_t>(c - 1) : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c & 1) ? c : static_cast<char16_t>(c - 1);
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? char16_t(0x3A3) : static_cast<char16_t>(c - 0x20);
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 0x25);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 0x3F);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

char16_t ToLower(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 0x20);
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
      return (c & 1) ? c : static_cast<char16_t>(c + 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    return c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return static_cast<char16_t>(c + 0x25);
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return static_cast<char16_t>(c + 0x3F);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
}

Integer Sign(Integer v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

Integer CompareFolded(const String& S1, const String& S2) {
  const size_t n = S1.size() < S2.size() ? S1.size() : S2.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t a = ToLower(S1[i]), b = ToLower(S2[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return Sign(static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size()));
}

}  // namespace

namespace rtl::platform {

String UpperCase(const String& S) {
  String r(S);
  for (char16_t& c : r) c = ToUpper(c);
  return r;
}

String LowerCase(const String& S) {
  String r(S);
  for (char16_t& c : r) c = ToLower(c);
  return r;
}

Integer CompareText(const String& S1, const String& S2) { return CompareFolded(S1, S2); }

Integer CompareStr(const String& S1, const String& S2) {
  Integer r = CompareFolded(S1, S2);
  if (r != 0) return r;
  for (size_t i = 0; i < S1.size(); ++i)
    if (S1[i] != S2[i]) return S1[i] == ToLower(S1[i]) ? -1 : 1;  // lower case first
  return 0;
}

Cardinal LastErrorCode() { return static_cast<Cardinal>(errno); }

String ErrorText(Cardinal Code) {
  char buf[256];
  buf[0] = 0;
  const char* p = strerror_r(static_cast<int>(Code), buf, sizeof buf);
  return UTF8Decode(p ? p : buf);
}

}  // namespace rtl::platform
