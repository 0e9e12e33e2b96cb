#include "foundation/app/HyStrUtils.h"

#include <cmath>

#include "rtl/FileIO.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

String RandomStr(Integer N, Integer Classes) {
  if (N <= 0) return String();
  if ((Classes & (rcDigits | rcUpper | rcLower)) == 0) Classes = rcDigits | rcUpper | rcLower;
  String pool;
  for (Char c = u'0'; c <= u'z'; ++c) {
    const bool digit = c >= u'0' && c <= u'9';
    const bool upper = c >= u'A' && c <= u'Z';
    const bool lower = c >= u'a' && c <= u'z';
    if ((digit && (Classes & rcDigits)) || (upper && (Classes & rcUpper)) || (lower && (Classes & rcLower)))
      pool.push_back(c);
  }
  String result;
  result.reserve(static_cast<size_t>(N));
  for (Integer i = 0; i < N; ++i) result.push_back(pool[static_cast<size_t>(RandomInt(static_cast<Integer>(pool.size())))]);
  return result;
}

String IfThenStr(bool Cond, const String& A, const String& B) { return Cond ? A : B; }
Integer IfThenInt(bool Cond, Integer A, Integer B) { return Cond ? A : B; }

Integer LastPos(const String& Text, const String& SubText) {
  if (SubText.empty() || SubText.size() > Text.size()) return 0;
  const size_t p = Text.rfind(SubText);
  return p == String::npos ? 0 : static_cast<Integer>(p) + 1;
}

Integer CountOccurrences(const String& SubText, const String& Text) {
  if (SubText.empty()) return 0;
  Integer n = 0;
  for (size_t p = Text.find(SubText); p != String::npos; p = Text.find(SubText, p + 1)) ++n;
  return n;
}

String SetToStr(const std::bitset<256>& Set, const String& Separator, Integer Max) {
  String s;
  bool first = true;
  for (Integer i = 0; i <= Max && i < 256; ++i) {
    if (!Set[static_cast<size_t>(i)]) continue;
    if (!first) s += Separator;
    s += IntToStr(i);
    first = false;
  }
  return s;
}

String RangeToStr(Integer From, Integer To, Char SepChar) {
  String s;
  for (Int64 i = From; i <= To; ++i) {
    if (i != From) s += SepChar;
    s += IntToStr(i);
  }
  return s;
}

String NumberSeqToStr(const String& Separator, Integer Start, Integer Count, bool Ascending) {
  String s;
  Int64 v = Start;
  for (Integer i = 0; i < Count; ++i) {
    if (i > 0) s += Separator;
    s += IntToStr(v);
    v += Ascending ? 1 : -1;
  }
  return s;
}

String PadToLength(const String& Text, Integer Len, Char PadChar, bool PadLeft) {
  if (Len <= 0) return String();
  const size_t n = static_cast<size_t>(Len);
  if (Text.size() >= n) return Text.substr(0, n);
  const String pad(n - Text.size(), PadChar);
  return PadLeft ? pad + Text : Text + pad;
}

void SplitToVariant(const String& Separator, const String& Text, bool EachChar, std::vector<String>& V) {
  V.clear();
  if (Text.empty()) return;
  if (EachChar) {
    for (Char c : Text) V.emplace_back(1, c);
    return;
  }
  if (Separator.empty()) {
    V.push_back(Text);
    return;
  }
  size_t start = 0;
  for (size_t p = Text.find(Separator); p != String::npos; p = Text.find(Separator, start)) {
    V.push_back(Text.substr(start, p - start));
    start = p + Separator.size();
  }
  V.push_back(Text.substr(start));
}

namespace {
// Dotted parts as numbers; False when a part is not a decimal integer.
bool VersionParts(const String& V, std::vector<Int64>& Parts) {
  std::vector<String> pieces;
  SplitToVariant(u".", V, false, pieces);
  for (const String& p : pieces) {
    if (p.empty() || p.size() > 9) return false;
    Int64 v = 0;
    for (Char c : p) {
      if (c < u'0' || c > u'9') return false;
      v = v * 10 + (c - u'0');
    }
    Parts.push_back(v);
  }
  return true;
}
}  // namespace

String CompareVersion(const String& V1, const String& V2) {
  if (V1.empty() || V2.empty()) return String();
  std::vector<Int64> a, b;
  if (!VersionParts(V1, a) || !VersionParts(V2, b)) return String();
  for (size_t i = 0; i < a.size(); ++i) {
    if (i >= b.size()) return u">";
    if (b[i] > a[i]) return u"<";
    if (a[i] > b[i]) return u">";
  }
  return b.size() > a.size() ? u"<" : u"=";
}

String ByteSizeToStr(Int64 Size, Char DecimalSeparator) {
  auto text = [&](double V) {
    String s = FloatToStr(V);
    for (Char& c : s)
      if (c == u'.') c = DecimalSeparator;
    return s;
  };
  auto scaled = [&](double V) { return V > 100 ? std::nearbyint(V) : std::nearbyint(V * 10) / 10; };
  if (Size < 1024) return IntToStr(Size) + u" Bytes";
  if (Size < 1048576) return text(std::nearbyint(static_cast<double>(Size) / 1024)) + u" KB";
  if (Size < 1073741824) return text(scaled(static_cast<double>(Size) / 1048576)) + u" MB";
  return text(scaled(static_cast<double>(Size) / 1073741824)) + u" GB";
}

namespace {
// Valid UTF-8 up to the first zero byte, and whether a multi-byte sequence occurs.
bool LooksUtf8(const RawByteString& B, size_t From) {
  bool multi = false;
  size_t i = From;
  while (i < B.size()) {
    const unsigned char c = static_cast<unsigned char>(B[i]);
    if (c == 0) break;
    size_t n;
    unsigned min;
    unsigned cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= B.size()) return false;
      const unsigned char d = static_cast<unsigned char>(B[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    multi = true;
    i += n + 1;
  }
  return multi;
}

String Utf16Bytes(const RawByteString& B, size_t From, bool BigEndian) {
  String s;
  for (size_t i = From; i + 1 < B.size(); i += 2) {
    const unsigned lo = static_cast<unsigned char>(B[i]), hi = static_cast<unsigned char>(B[i + 1]);
    s.push_back(static_cast<Char>(BigEndian ? (lo << 8) | hi : (hi << 8) | lo));
  }
  return s;
}
}  // namespace

String DecodeTextBytes(const RawByteString& Bytes) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(Bytes[i]); };
  if (Bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
    return UTF8Decode(std::string_view(Bytes).substr(3));
  if (Bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return Utf16Bytes(Bytes, 2, false);
  if (Bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return Utf16Bytes(Bytes, 2, true);
  if (LooksUtf8(Bytes, 0)) return UTF8Decode(Bytes);
  return AnsiBytesToString(Bytes.data(), Bytes.size());
}
