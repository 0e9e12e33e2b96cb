// Exceptions, string routines, integer and boolean conversions, UTF-8.
#include "rtl/SysUtils.h"

#include <algorithm>
#include <climits>

#include "rtl/SysUtilsPlatform.h"

// ---------------------------------------------------------------------------
// Exceptions

Exception::Exception() = default;
Exception::Exception(const String& Msg) : FMessage(Msg), FWhat(UTF8Encode(Msg)) {}
Exception::Exception(const char16_t* Msg) : Exception(String(Msg ? Msg : u"")) {}
Exception::Exception(const String& Fmt, TVarRecList Args) : Exception(Format(Fmt, Args)) {}
Exception::Exception(const Exception& Other)
    : TObject(), std::exception(Other), FMessage(Other.FMessage), FWhat(Other.FWhat) {}
Exception& Exception::operator=(const Exception& Other) {
  FMessage = Other.FMessage;
  FWhat = Other.FWhat;
  return *this;
}
Exception::~Exception() = default;

void Exception::SetMessage(const String& Value) {
  FMessage = Value;
  FWhat = UTF8Encode(Value);
}

const char* Exception::what() const noexcept { return FWhat.c_str(); }

void Abort() { throw EAbort(String(SOperationAborted)); }

void RaiseLastOSError() { RaiseLastOSError(rtl::platform::LastErrorCode()); }

void RaiseLastOSError(Cardinal LastError) {
  if (LastError != 0) {
    EOSError e(SOSError, {static_cast<Integer>(LastError), SysErrorMessage(LastError)});
    e.ErrorCode = LastError;
    throw e;
  }
  throw EOSError(String(SUnkOSError));
}

String SysErrorMessage(Cardinal ErrorCode) { return rtl::platform::ErrorText(ErrorCode); }

void Assert(bool Condition, const String& Msg) {
  if (!Condition) throw EAssertionFailed(Msg.empty() ? String(SAssertionFailed) : Msg);
}

void RaiseInvalidCast() { throw EInvalidCast(String(SInvalidCast)); }

// ---------------------------------------------------------------------------
// Basic string routines

void SetLength(String& S, Integer NewLength) { S.resize(NewLength > 0 ? static_cast<size_t>(NewLength) : 0); }

Integer Pos(const String& Sub, const String& S) { return PosEx(Sub, S, 1); }
Integer Pos(Char C, const String& S) { return PosEx(C, S, 1); }

Integer PosEx(const String& Sub, const String& S, Integer Offset) {
  if (Sub.empty() || Offset < 1 || Offset > Length(S)) return 0;
  size_t p = S.find(Sub, static_cast<size_t>(Offset - 1));
  return p == String::npos ? 0 : static_cast<Integer>(p + 1);
}

Integer PosEx(Char C, const String& S, Integer Offset) {
  if (Offset < 1 || Offset > Length(S)) return 0;
  size_t p = S.find(C, static_cast<size_t>(Offset - 1));
  return p == String::npos ? 0 : static_cast<Integer>(p + 1);
}

String Copy(const String& S, Integer Index, Integer Count) {
  Int64 len = Length(S);
  Int64 start = Index < 1 ? 0 : static_cast<Int64>(Index) - 1;
  if (start >= len || Count <= 0) return String();
  Int64 n = std::min<Int64>(Count, len - start);
  return S.substr(static_cast<size_t>(start), static_cast<size_t>(n));
}

void Delete(String& S, Integer Index, Integer Count) {
  if (Index < 1 || Index > Length(S) || Count <= 0) return;
  S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));  // erase clamps the count
}

void Insert(const String& Sub, String& S, Integer Index) {
  if (Sub.empty()) return;
  Int64 at = Index < 1 ? 0 : static_cast<Int64>(Index) - 1;
  if (at > Length(S)) at = Length(S);
  S.insert(static_cast<size_t>(at), Sub);
}

String Trim(const String& S) {
  size_t b = 0, e = S.size();
  while (b < e && S[b] <= u' ') ++b;
  while (e > b && S[e - 1] <= u' ') --e;
  return S.substr(b, e - b);
}

String TrimLeft(const String& S) {
  size_t b = 0;
  while (b < S.size() && S[b] <= u' ') ++b;
  return S.substr(b);
}

String TrimRight(const String& S) {
  size_t e = S.size();
  while (e > 0 && S[e - 1] <= u' ') --e;
  return S.substr(0, e);
}

Char UpCase(Char C) { return (C >= u'a' && C <= u'z') ? static_cast<Char>(C - 32) : C; }
static Char LoCase(Char C) { return (C >= u'A' && C <= u'Z') ? static_cast<Char>(C + 32) : C; }

String UpperCase(const String& S) {
  String r(S);
  for (Char& c : r) c = UpCase(c);
  return r;
}

String LowerCase(const String& S) {
  String r(S);
  for (Char& c : r) c = LoCase(c);
  return r;
}

Integer CompareStr(const String& S1, const String& S2) {
  size_t n = std::min(S1.size(), S2.size());
  for (size_t i = 0; i < n; ++i)
    if (S1[i] != S2[i]) return static_cast<Integer>(S1[i]) - static_cast<Integer>(S2[i]);
  return static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size());
}

Integer CompareText(const String& S1, const String& S2) {
  size_t n = std::min(S1.size(), S2.size());
  for (size_t i = 0; i < n; ++i) {
    Char a = UpCase(S1[i]), b = UpCase(S2[i]);
    if (a != b) return static_cast<Integer>(a) - static_cast<Integer>(b);
  }
  return static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size());
}

bool SameStr(const String& S1, const String& S2) { return S1 == S2; }
bool SameText(const String& S1, const String& S2) { return S1.size() == S2.size() && CompareText(S1, S2) == 0; }

String AnsiUpperCase(const String& S) { return rtl::platform::UpperCase(S); }
String AnsiLowerCase(const String& S) { return rtl::platform::LowerCase(S); }
Integer AnsiCompareStr(const String& S1, const String& S2) { return rtl::platform::CompareStr(S1, S2); }
Integer AnsiCompareText(const String& S1, const String& S2) { return rtl::platform::CompareText(S1, S2); }
bool AnsiSameStr(const String& S1, const String& S2) { return AnsiCompareStr(S1, S2) == 0; }
bool AnsiSameText(const String& S1, const String& S2) { return AnsiCompareText(S1, S2) == 0; }
Integer AnsiPos(const String& Sub, const String& S) { return Pos(Sub, S); }

bool AnsiStartsText(const String& SubText, const String& Text) {
  if (SubText.size() > Text.size()) return false;
  return AnsiSameText(Text.substr(0, SubText.size()), SubText);
}
bool AnsiEndsText(const String& SubText, const String& Text) {
  if (SubText.size() > Text.size()) return false;
  return AnsiSameText(Text.substr(Text.size() - SubText.size()), SubText);
}
bool AnsiStartsStr(const String& SubText, const String& Text) {
  if (SubText.size() > Text.size()) return false;
  return AnsiSameStr(Text.substr(0, SubText.size()), SubText);
}
bool AnsiEndsStr(const String& SubText, const String& Text) {
  if (SubText.size() > Text.size()) return false;
  return AnsiSameStr(Text.substr(Text.size() - SubText.size()), SubText);
}
bool AnsiContainsText(const String& Text, const String& SubText) {
  return SubText.empty() || AnsiPos(AnsiUpperCase(SubText), AnsiUpperCase(Text)) > 0;
}
bool AnsiContainsStr(const String& Text, const String& SubText) {
  return SubText.empty() || AnsiPos(SubText, Text) > 0;
}

bool StartsText(const String& SubText, const String& Text) { return AnsiStartsText(SubText, Text); }
bool EndsText(const String& SubText, const String& Text) { return AnsiEndsText(SubText, Text); }
bool StartsStr(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && Text.compare(0, SubText.size(), SubText) == 0;
}
bool EndsStr(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && Text.compare(Text.size() - SubText.size(), SubText.size(), SubText) == 0;
}
bool ContainsText(const String& Text, const String& SubText) { return AnsiContainsText(Text, SubText); }
bool ContainsStr(const String& Text, const String& SubText) { return AnsiContainsStr(Text, SubText); }

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool ignoreCase = (Flags & rfIgnoreCase) != 0;
  // The case mapping keeps one unit per unit, so positions in the mapped
  // copies are positions in S.
  const String src = ignoreCase ? AnsiUpperCase(S) : S;
  const String pat = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  String r;
  size_t from = 0;
  for (;;) {
    size_t p = src.find(pat, from);
    if (p == String::npos) break;
    r.append(S, from, p - from);
    r += NewPattern;
    from = p + pat.size();
    if (!(Flags & rfReplaceAll)) break;
  }
  r.append(S, from, String::npos);
  return r;
}

String StringOfChar(Char Ch, Integer Count) { return Count > 0 ? String(static_cast<size_t>(Count), Ch) : String(); }

String QuotedStr(const String& S) { return AnsiQuotedStr(S, u'\''); }

String AnsiQuotedStr(const String& S, Char Quote) {
  String r;
  r.reserve(S.size() + 2);
  r += Quote;
  for (Char c : S) {
    if (c == Quote) r += Quote;
    r += c;
  }
  r += Quote;
  return r;
}

String AnsiExtractQuotedStr(const String& Src, size_t& Pos, Char Quote) {
  String r;
  if (Pos >= Src.size() || Src[Pos] != Quote) return r;
  ++Pos;
  while (Pos < Src.size() && Src[Pos] != 0) {
    if (Src[Pos] == Quote) {
      ++Pos;
      if (Pos >= Src.size() || Src[Pos] != Quote) break;  // closing quote
    }
    r += Src[Pos];
    ++Pos;
  }
  return r;
}

String AnsiDequotedStr(const String& S, Char Quote) {
  size_t p = 0;
  String r = AnsiExtractQuotedStr(S, p, Quote);
  const bool atEnd = p >= S.size() || S[p] == 0;
  if ((r.empty() || atEnd) && !S.empty() && (S.front() != Quote || S.back() != Quote)) return S;
  return r;
}

Integer LastDelimiter(const String& Delimiters, const String& S) {
  for (size_t i = S.size(); i > 0; --i)
    if (Delimiters.find(S[i - 1]) != String::npos) return static_cast<Integer>(i);
  return 0;
}

bool IsDelimiter(const String& Delimiters, const String& S, Integer Index) {
  if (Index < 1 || Index > Length(S)) return false;
  return Delimiters.find(S[static_cast<size_t>(Index - 1)]) != String::npos;
}

bool CharInSet(Char C, std::u16string_view Set) { return Set.find(C) != std::u16string_view::npos; }

String AdjustLineBreaks(const String& S, TTextLineBreakStyle Style) {
  String r;
  r.reserve(S.size() + S.size() / 8);
  const String brk = Style == tlbsCRLF ? String(u"\r\n") : String(u"\n");
  for (size_t i = 0; i < S.size(); ++i) {
    Char c = S[i];
    if (c == u'\r') {
      r += brk;
      if (i + 1 < S.size() && S[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      r += brk;
      if (i + 1 < S.size() && S[i + 1] == u'\r') ++i;
    } else {
      r += c;
    }
  }
  return r;
}

// ---------------------------------------------------------------------------
// Integer conversions

String UIntToStr(UInt64 Value) {
  char16_t buf[24];
  size_t n = 0;
  do {
    buf[n++] = static_cast<char16_t>(u'0' + Value % 10);
    Value /= 10;
  } while (Value != 0);
  String r;
  r.reserve(n + 1);
  while (n > 0) r += buf[--n];
  return r;
}

String IntToStr(Int64 Value) {
  if (Value < 0) return u"-" + UIntToStr(0 - static_cast<UInt64>(Value));
  return UIntToStr(static_cast<UInt64>(Value));
}

String IntToHex(UInt64 Value, Integer Digits) {
  static const char16_t hex[] = u"0123456789ABCDEF";
  String r;
  do {
    r += hex[Value & 15];
    Value >>= 4;
  } while (Value != 0);
  while (Length(r) < Digits) r += u'0';
  std::reverse(r.begin(), r.end());
  return r;
}
String IntToHex(Int64 Value, Integer Digits) { return IntToHex(static_cast<UInt64>(Value), Digits); }
String IntToHex(Cardinal Value, Integer Digits) { return IntToHex(static_cast<UInt64>(Value), Digits); }
String IntToHex(Integer Value, Integer Digits) { return IntToHex(static_cast<UInt64>(static_cast<Cardinal>(Value)), Digits); }

namespace {

// The class library's Val for integers: leading spaces, a sign, then decimal
// digits or a hexadecimal prefix ("$", "x", "X", "0x", "0X") and hex digits;
// nothing may follow. Decimal values must fit the signed range; hexadecimal
// ones the unsigned range of the same width (reinterpreted as signed).
bool ParseInteger(const String& S, int Bits, Int64& Out) {
  size_t i = 0;
  const size_t n = S.size();
  while (i < n && S[i] == u' ') ++i;
  bool neg = false;
  if (i < n && (S[i] == u'+' || S[i] == u'-')) {
    neg = S[i] == u'-';
    ++i;
  }
  bool hex = false;
  if (i < n && (S[i] == u'$' || S[i] == u'x' || S[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && S[i] == u'0' && (S[i + 1] == u'x' || S[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  const UInt64 unsignedMax = Bits == 64 ? ~UInt64(0) : (UInt64(1) << Bits) - 1;
  UInt64 v = 0;
  if (hex) {
    for (; i < n; ++i) {
      Char c = S[i];
      unsigned d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else return false;
      if (v > (unsignedMax >> 4)) return false;
      v = (v << 4) | d;
    }
    // Reinterpret in the target width.
    Int64 sv = Bits == 64 ? static_cast<Int64>(v) : static_cast<Int64>(static_cast<Integer>(static_cast<Cardinal>(v)));
    Out = neg ? static_cast<Int64>(0 - static_cast<UInt64>(sv)) : sv;
    if (neg && Bits == 32) Out = static_cast<Integer>(static_cast<Cardinal>(Out));
    return true;
  }
  const UInt64 limit = (UInt64(1) << (Bits - 1)) - (neg ? 0 : 1);  // magnitude allowed
  for (; i < n; ++i) {
    Char c = S[i];
    if (c < u'0' || c > u'9') return false;
    unsigned d = c - u'0';
    if (v > (limit - d) / 10) return false;
    v = v * 10 + d;
  }
  Out = neg ? static_cast<Int64>(0 - v) : static_cast<Int64>(v);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const String& S) { throw EConvertError(SInvalidInteger, {S}); }

}  // namespace

bool TryStrToInt(const String& S, Integer& Value) {
  Int64 v;
  if (!ParseInteger(S, 32, v)) return false;
  Value = static_cast<Integer>(v);
  return true;
}

Integer StrToInt(const String& S) {
  Integer v;
  if (!TryStrToInt(S, v)) RaiseInvalidInteger(S);
  return v;
}

Integer StrToIntDef(const String& S, Integer Default) {
  Integer v;
  return TryStrToInt(S, v) ? v : Default;
}

bool TryStrToInt64(const String& S, Int64& Value) {
  Int64 v;
  if (!ParseInteger(S, 64, v)) return false;
  Value = v;
  return true;
}

Int64 StrToInt64(const String& S) {
  Int64 v;
  if (!TryStrToInt64(S, v)) RaiseInvalidInteger(S);
  return v;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
  Int64 v;
  return TryStrToInt64(S, v) ? v : Default;
}

// ---------------------------------------------------------------------------
// Booleans

bool TryStrToBool(const String& S, bool& Value) {
  Extended f;
  if (TryStrToFloat(S, f)) {
    Value = f != 0;
    return true;
  }
  if (AnsiSameText(S, u"True")) {
    Value = true;
    return true;
  }
  if (AnsiSameText(S, u"False")) {
    Value = false;
    return true;
  }
  return false;
}

bool StrToBool(const String& S) {
  bool b;
  if (!TryStrToBool(S, b)) throw EConvertError(SInvalidBoolean, {S});
  return b;
}

bool StrToBoolDef(const String& S, bool Default) {
  bool b;
  return TryStrToBool(S, b) ? b : Default;
}

String BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? u"True" : u"False";
  return B ? u"-1" : u"0";
}

// ---------------------------------------------------------------------------
// UTF-8 <-> UTF-16

std::string UTF8Encode(std::u16string_view S) {
  std::string r;
  r.reserve(S.size() + S.size() / 2);
  for (size_t i = 0; i < S.size(); ++i) {
    uint32_t c = S[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (S[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // lone surrogate
    }
    if (c < 0x80) {
      r += static_cast<char>(c);
    } else if (c < 0x800) {
      r += static_cast<char>(0xC0 | (c >> 6));
      r += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      r += static_cast<char>(0xE0 | (c >> 12));
      r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      r += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      r += static_cast<char>(0xF0 | (c >> 18));
      r += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      r += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      r += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return r;
}


String UTF8Decode(std::string_view S) {
  String r;
  r.reserve(S.size());
  const size_t n = S.size();
  auto byte = [&](size_t k) { return static_cast<uint8_t>(S[k]); };
  auto cont = [&](size_t k) { return k < n && (byte(k) & 0xC0) == 0x80; };
  size_t i = 0;
  while (i < n) {
    const uint8_t b = byte(i);
    if (b < 0x80) {
      r += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    // Length and the allowed range of the second byte (excludes overlongs,
    // surrogates and values past U+10FFFF).
    size_t len = 0;
    uint8_t lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) len = 2;
    else if (b == 0xE0) { len = 3; lo = 0xA0; }
    else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) len = 3;
    else if (b == 0xED) { len = 3; hi = 0x9F; }
    else if (b == 0xF0) { len = 4; lo = 0x90; }
    else if (b >= 0xF1 && b <= 0xF3) len = 4;
    else if (b == 0xF4) { len = 4; hi = 0x8F; }
    bool ok = len != 0 && i + 1 < n && byte(i + 1) >= lo && byte(i + 1) <= hi;
    for (size_t k = 2; ok && k < len; ++k) ok = cont(i + k);
    if (!ok) {
      r += u'\xFFFD';
      ++i;
      continue;
    }
    uint32_t c = b & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
    if (c >= 0x10000) {
      c -= 0x10000;
      r += static_cast<char16_t>(0xD800 + (c >> 10));
      r += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      r += static_cast<char16_t>(c);
    }
    i += len;
  }
  return r;
}

String UTF8ToString(std::string_view S) { return UTF8Decode(S); }

String AsciiToString(std::string_view S) {
  String r;
  r.reserve(S.size());
  for (char c : S) r += static_cast<char16_t>(static_cast<unsigned char>(c));
  return r;
}

std::string StringToAscii(const String& S) {
  std::string r;
  r.reserve(S.size());
  for (char16_t c : S) r += c <= 0xFF ? static_cast<char>(c) : '?';
  return r;
}
