// Format with the class library's rules:
//   "%" [index ":"] ["-"] [width] ["." precision] type
// index, width and precision are decimal numbers or "*" (taken from the
// next argument, which must be an Integer). Types: d u x e f g n s p; "%%".
#include <cstdint>

#include "rtl/SysUtils.h"

namespace {

[[noreturn]] void FormatError(const String& Msg, const String& Fmt) {
  throw EConvertError(Msg, {Fmt.substr(0, 31)});
}

String HexDigits(UInt64 v) {
  static const char16_t hex[] = u"0123456789ABCDEF";
  String r;
  do {
    r.insert(r.begin(), hex[v & 15]);
    v >>= 4;
  } while (v != 0);
  return r;
}

// Sign, then at least Prec digits (zero-padded).
String WithMinDigits(bool Negative, String Digits, Integer Prec) {
  if (Prec > Length(Digits)) Digits.insert(0, static_cast<size_t>(Prec - Length(Digits)), u'0');
  return Negative ? u"-" + Digits : Digits;
}

}  // namespace

String Format(const String& Fmt, const TVarRec* Args, size_t Count) {
  String out;
  out.reserve(Fmt.size() + 16);
  size_t argIndex = 0;
  const size_t n = Fmt.size();
  size_t i = 0;

  auto nextArg = [&]() -> const TVarRec& {
    if (argIndex >= Count) FormatError(SArgumentMissing, Fmt);
    return Args[argIndex++];
  };
  // A decimal number or "*"; false when neither is there.
  auto readNumber = [&](Integer& v) -> bool {
    if (i < n && Fmt[i] == u'*') {
      const TVarRec& a = nextArg();
      if (a.VType != vtInteger) FormatError(SInvalidFormat, Fmt);
      v = a.u.VInteger;
      ++i;
      return true;
    }
    if (i >= n || Fmt[i] < u'0' || Fmt[i] > u'9') return false;
    Int64 acc = 0;
    while (i < n && Fmt[i] >= u'0' && Fmt[i] <= u'9') {
      if (acc < 100000000) acc = acc * 10 + (Fmt[i] - u'0');
      ++i;
    }
    v = static_cast<Integer>(acc);
    return true;
  };

  while (i < n) {
    Char c = Fmt[i];
    if (c != u'%') {
      out += c;
      ++i;
      continue;
    }
    ++i;
    if (i < n && Fmt[i] == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    Integer num = 0, width = -1, prec = -1;
    bool left = false;
    bool have = readNumber(num);
    if (have && i < n && Fmt[i] == u':') {
      if (num < 0) FormatError(SInvalidFormat, Fmt);
      argIndex = static_cast<size_t>(num);
      ++i;
      have = false;
    }
    if (!have) {
      if (i < n && Fmt[i] == u'-') {
        left = true;
        ++i;
      }
      have = readNumber(num);
    }
    if (have) width = num;
    if (i < n && Fmt[i] == u'.') {
      ++i;
      if (!readNumber(prec)) prec = 0;
    }
    if (i >= n) FormatError(SInvalidFormat, Fmt);
    Char type = Fmt[i++];
    if (type >= u'A' && type <= u'Z') type = static_cast<Char>(type + 32);

    const TVarRec& a = nextArg();
    String s;
    switch (type) {
      case u'd':
        if (a.VType == vtInteger) s = WithMinDigits(a.u.VInteger < 0, UIntToStr(a.u.VInteger < 0 ? 0 - static_cast<UInt64>(static_cast<Int64>(a.u.VInteger)) : static_cast<UInt64>(a.u.VInteger)), prec);
        else if (a.VType == vtInt64) s = WithMinDigits(a.u.VInt64 < 0, UIntToStr(a.u.VInt64 < 0 ? 0 - static_cast<UInt64>(a.u.VInt64) : static_cast<UInt64>(a.u.VInt64)), prec);
        else if (a.VType == vtUInt64) s = WithMinDigits(false, UIntToStr(a.u.VUInt64), prec);
        else FormatError(SInvalidFormat, Fmt);
        break;
      case u'u':
        if (a.VType == vtInteger) s = WithMinDigits(false, UIntToStr(static_cast<Cardinal>(a.u.VInteger)), prec);
        else if (a.VType == vtInt64) s = WithMinDigits(false, UIntToStr(static_cast<UInt64>(a.u.VInt64)), prec);
        else if (a.VType == vtUInt64) s = WithMinDigits(false, UIntToStr(a.u.VUInt64), prec);
        else FormatError(SInvalidFormat, Fmt);
        break;
      case u'x':
        if (a.VType == vtInteger) s = WithMinDigits(false, HexDigits(static_cast<Cardinal>(a.u.VInteger)), prec);
        else if (a.VType == vtInt64) s = WithMinDigits(false, HexDigits(static_cast<UInt64>(a.u.VInt64)), prec);
        else if (a.VType == vtUInt64) s = WithMinDigits(false, HexDigits(a.u.VUInt64), prec);
        else FormatError(SInvalidFormat, Fmt);
        break;
      case u'e':
      case u'f':
      case u'g':
      case u'n': {
        if (a.VType != vtExtended) FormatError(SInvalidFormat, Fmt);
        const Extended v = a.u.VExtended;
        if (type == u'e') s = FloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3);
        else if (type == u'g') s = FloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 3);
        else s = FloatToStrF(v, type == u'f' ? ffFixed : ffNumber, 18, prec < 0 ? 2 : prec);
        break;
      }
      case u's':
        switch (a.VType) {
          case vtUnicodeString: s = a.VString; break;
          case vtPWideChar: s = a.u.VPWideChar ? String(a.u.VPWideChar) : String(); break;
          case vtWideChar: s = String(1, a.u.VWideChar); break;
          case vtChar: s = String(1, static_cast<Char>(static_cast<unsigned char>(a.u.VChar))); break;
          case vtPChar: s = a.u.VPChar ? UTF8Decode(a.u.VPChar) : String(); break;
          case vtAnsiString: s = UTF8Decode(a.VAnsi); break;
          default: FormatError(SInvalidFormat, Fmt);
        }
        if (prec >= 0 && prec < Length(s)) s.resize(static_cast<size_t>(prec));
        break;
      case u'p': {
        const void* p = nullptr;
        switch (a.VType) {
          case vtPointer: p = a.u.VPointer; break;
          case vtObject: p = a.u.VObject; break;
          case vtPWideChar: p = a.u.VPWideChar; break;
          case vtPChar: p = a.u.VPChar; break;
          default: FormatError(SInvalidFormat, Fmt);
        }
        s = HexDigits(reinterpret_cast<std::uintptr_t>(p));
        s.insert(0, sizeof(void*) * 2 - s.size(), u'0');
        break;
      }
      default:
        FormatError(SInvalidFormat, Fmt);
    }
    if (width > Length(s)) {
      if (left) s.append(static_cast<size_t>(width - Length(s)), u' ');
      else s.insert(0, static_cast<size_t>(width - Length(s)), u' ');
    }
    out += s;
  }
  return out;
}

String Format(const String& Fmt, TVarRecList Args) { return Format(Fmt, Args.begin(), Args.size()); }

String Format(const String& Fmt, const std::vector<TVarRec>& Args) { return Format(Fmt, Args.data(), Args.size()); }
