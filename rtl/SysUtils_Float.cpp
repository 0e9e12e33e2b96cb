// Float text: FloatToStr, FloatToStrF, FormatFloat and StrToFloat. The
// decimal separator is always "." and the thousands separator ","; the C
// locale is never consulted (digits come from std::to_chars / from_chars).
#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <string>

#include "rtl/SysUtils.h"
#include "rtl/SysUtils_Internal.h"

namespace rtl::detail {

// The value as 18 significant decimal digits (the class library's Extended
// precision), value = 0.D1D2...D18 x 10^Exponent.
TFloatDigits ToDigits(Extended Value) {
  TFloatDigits r;
  if (std::isnan(Value)) {
    r.Special = TFloatDigits::NaN;
    return r;
  }
  r.Negative = std::signbit(Value);
  if (std::isinf(Value)) {
    r.Special = TFloatDigits::Inf;
    return r;
  }
  if (Value == 0) {
    r.Negative = false;
    return r;
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific, 17);
  std::string s(buf, res.ptr);  // "d.ddddddddddddddddde+XX"
  size_t e = s.find('e');
  for (size_t i = 0; i < e; ++i)
    if (s[i] >= '0' && s[i] <= '9') r.Digits += s[i];
  r.Exponent = std::stoi(s.substr(e + 1)) + 1;
  while (!r.Digits.empty() && r.Digits.back() == '0') r.Digits.pop_back();
  return r;
}

// Keeps Count digits, rounding half away from zero on the digit string.
void RoundDigits(TFloatDigits& D, int Count) {
  if (D.Special != TFloatDigits::Finite || D.Digits.empty()) return;
  if (Count < 0) {
    D.Digits.clear();
  } else if (static_cast<size_t>(Count) < D.Digits.size()) {
    bool up = D.Digits[static_cast<size_t>(Count)] >= '5';
    D.Digits.resize(static_cast<size_t>(Count));
    if (up) {
      int i = Count - 1;
      while (i >= 0 && D.Digits[static_cast<size_t>(i)] == '9') D.Digits[static_cast<size_t>(i--)] = '0';
      if (i >= 0) {
        ++D.Digits[static_cast<size_t>(i)];
      } else {
        D.Digits.insert(D.Digits.begin(), '1');
        D.Exponent++;
        D.Digits.pop_back();
        if (D.Digits.empty()) D.Digits = "1";
      }
    }
  }
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
  if (D.Digits.empty()) {
    D.Exponent = 0;
    D.Negative = false;
  }
}

}  // namespace rtl::detail

using rtl::detail::RoundDigits;
using rtl::detail::TFloatDigits;
using rtl::detail::ToDigits;

namespace {

String Ascii(const std::string& s) { return AsciiToString(s); }

std::string SpecialText(const TFloatDigits& D) {
  if (D.Special == TFloatDigits::NaN) return "NAN";
  return D.Negative ? "-INF" : "INF";
}

std::string ExponentText(int Exp, int MinDigits, bool PlusSign) {
  std::string r;
  if (Exp < 0) r += '-';
  else if (PlusSign) r += '+';
  std::string n = std::to_string(Exp < 0 ? -Exp : Exp);
  while (static_cast<int>(n.size()) < MinDigits) n.insert(n.begin(), '0');
  return r + n;
}

// Mantissa "d.ddd" + "E" + exponent; Width digits shown (padded with zeros)
// or, with Width = 0, the digits there are.
std::string ScientificText(const TFloatDigits& D, int Width, int ExpDigits, bool PlusSign) {
  std::string digits = D.Digits.empty() ? std::string("0") : D.Digits;
  if (Width > 0) digits.resize(static_cast<size_t>(Width), '0');
  std::string r = D.Negative ? "-" : "";
  r += digits[0];
  if (digits.size() > 1) r += "." + digits.substr(1);
  int exp = D.Digits.empty() ? 0 : D.Exponent - 1;
  return r + "E" + ExponentText(exp, ExpDigits, PlusSign);
}

// Integer part and Decimals decimals of already rounded digits.
std::string FixedText(const TFloatDigits& D, int Decimals, bool Thousands) {
  std::string intPart;
  if (D.Exponent > 0) {
    for (int i = 0; i < D.Exponent; ++i)
      intPart += static_cast<size_t>(i) < D.Digits.size() ? D.Digits[static_cast<size_t>(i)] : '0';
  } else {
    intPart = "0";
  }
  if (Thousands) {
    std::string t;
    int n = static_cast<int>(intPart.size());
    for (int i = 0; i < n; ++i) {
      if (i > 0 && (n - i) % 3 == 0) t += ',';
      t += intPart[static_cast<size_t>(i)];
    }
    intPart = t;
  }
  std::string r = D.Negative ? "-" : "";
  r += intPart;
  if (Decimals > 0) {
    r += '.';
    for (int i = 0; i < Decimals; ++i) {
      int k = D.Exponent + i;  // index into Digits
      r += (k >= 0 && static_cast<size_t>(k) < D.Digits.size()) ? D.Digits[static_cast<size_t>(k)] : '0';
    }
  }
  return r;
}

std::string GeneralText(TFloatDigits D, int Precision, int ExpDigits) {
  RoundDigits(D, Precision);
  if (D.Digits.empty()) return "0";
  if (D.Exponent > Precision || D.Exponent < -3) return ScientificText(D, 0, ExpDigits, false);
  int decimals = std::max(0, static_cast<int>(D.Digits.size()) - D.Exponent);
  return FixedText(D, decimals, false);
}

}  // namespace

String FloatToStr(Extended Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
  TFloatDigits D = ToDigits(Value);
  if (D.Special != TFloatDigits::Finite) return Ascii(SpecialText(D));
  Precision = std::clamp<Integer>(Precision, 1, 18);
  switch (Format) {
    case ffGeneral:
      return Ascii(GeneralText(D, Precision, std::clamp<Integer>(Digits, 0, 4)));
    case ffExponent:
      RoundDigits(D, Precision);
      return Ascii(ScientificText(D, Precision, std::clamp<Integer>(Digits, 0, 4), true));
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (D.Exponent > Precision) return Ascii(GeneralText(D, Precision, 0));
      Digits = std::clamp<Integer>(Digits, 0, 18);
      // Precision significant digits first, then the decimals: 2.675 (held as
      // 2.67499999...) is 2.67500000000000 to 15 digits and shows as "2.68".
      RoundDigits(D, Precision);
      RoundDigits(D, std::min(D.Exponent + Digits, 18));
      return Ascii(FixedText(D, Digits, Format != ffFixed));
    }
  }
  return Ascii(GeneralText(D, Precision, 0));
}

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

// Splits at ';' outside quotes.
std::vector<String> SplitSections(const String& Fmt) {
  std::vector<String> r(1);
  Char quote = 0;
  for (Char c : Fmt) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u';') {
      r.emplace_back();
      continue;
    }
    r.back() += c;
  }
  return r;
}

String FormatSection(const String& F, Extended Value, bool WithSign) {
  // Analyse the picture.
  int intPlaces = 0, intZeros = -1, decZeros = 0, decPlaces = 0, expZeros = 0;
  bool seenPoint = false, thousands = false, scientific = false, expPlus = false;
  {
    Char quote = 0;
    for (size_t i = 0; i < F.size(); ++i) {
      Char c = F[i];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (scientific) {
        continue;
      } else if (c == u'0' || c == u'#') {
        if (seenPoint) {
          ++decPlaces;
          if (c == u'0') decZeros = decPlaces;
        } else {
          if (c == u'0' && intZeros < 0) intZeros = intPlaces;
          ++intPlaces;
        }
      } else if (c == u'.') {
        seenPoint = true;
      } else if (c == u',') {
        if (!seenPoint) thousands = true;
      } else if ((c == u'E' || c == u'e') && i + 1 < F.size() && (F[i + 1] == u'+' || F[i + 1] == u'-')) {
        scientific = true;
        expPlus = F[i + 1] == u'+';
        for (size_t k = i + 2; k < F.size() && F[k] == u'0'; ++k) ++expZeros;
      }
    }
  }
  const int minInt = intZeros < 0 ? 0 : intPlaces - intZeros;

  TFloatDigits D = ToDigits(Value);
  D.Negative = false;
  std::string intDigits, decDigits, expText;
  if (scientific) {
    int lead = std::max(1, intPlaces);
    RoundDigits(D, lead + decPlaces);
    int exp = D.Digits.empty() ? 0 : D.Exponent - lead;
    std::string digits = D.Digits;
    digits.resize(static_cast<size_t>(lead + decPlaces), '0');
    intDigits = digits.substr(0, static_cast<size_t>(lead));
    decDigits = digits.substr(static_cast<size_t>(lead));
    expText = ExponentText(exp, expZeros, expPlus);
  } else {
    RoundDigits(D, std::min(D.Exponent + decPlaces, 18));
    for (int i = 0; i < D.Exponent; ++i)
      intDigits += static_cast<size_t>(i) < D.Digits.size() ? D.Digits[static_cast<size_t>(i)] : '0';
    for (int i = 0; i < decPlaces; ++i) {
      int k = D.Exponent + i;
      decDigits += (k >= 0 && static_cast<size_t>(k) < D.Digits.size()) ? D.Digits[static_cast<size_t>(k)] : '0';
    }
    while (static_cast<int>(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');
    if (thousands) {
      std::string t;
      int n = static_cast<int>(intDigits.size());
      for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) t += ',';
        t += intDigits[static_cast<size_t>(i)];
      }
      intDigits = t;
    }
  }
  // Optional decimals ('#') drop their trailing zeros.
  while (static_cast<int>(decDigits.size()) > decZeros && !decDigits.empty() && decDigits.back() == '0')
    decDigits.pop_back();

  // Fill the picture.
  String out;
  if (WithSign && !D.Digits.empty()) out += u'-';
  bool intDone = false, pointSeen = false;
  size_t decIndex = 0;
  Char quote = 0;
  for (size_t i = 0; i < F.size(); ++i) {
    Char c = F[i];
    if (quote) {
      if (c == quote) quote = 0;
      else out += c;
      continue;
    }
    if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'0' || c == u'#') {
      if (!pointSeen) {
        if (!intDone) {
          out += Ascii(intDigits);
          intDone = true;
        }
      } else if (decIndex < decDigits.size()) {
        out += static_cast<Char>(decDigits[decIndex++]);
      }
    } else if (c == u'.') {
      if (!pointSeen) {
        if (!intDone) {
          out += Ascii(intDigits);
          intDone = true;
        }
        pointSeen = true;
        if (!decDigits.empty()) out += u'.';
      }
    } else if (c == u',') {
      // thousands separators are placed with the integer digits
    } else if ((c == u'E' || c == u'e') && scientific && i + 1 < F.size() && (F[i + 1] == u'+' || F[i + 1] == u'-')) {
      if (!intDone) {
        out += Ascii(intDigits);
        intDone = true;
      }
      out += c;
      out += Ascii(expText);
      i += 1;
      while (i + 1 < F.size() && F[i + 1] == u'0') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

String FormatFloat(const String& Format, Extended Value) {
  if (Format.empty()) return FloatToStr(Value);
  TFloatDigits D = ToDigits(Value);
  if (D.Special != TFloatDigits::Finite) return Ascii(SpecialText(D));
  std::vector<String> sections = SplitSections(Format);
  if (sections.size() > 3) sections.resize(3);
  // Zero after rounding to the positive section's picture picks the zero section.
  const bool negative = Value < 0;
  String firstPass = FormatSection(sections[0], std::fabs(Value), false);
  bool roundsToZero = true;
  for (Char c : firstPass)
    if (c >= u'1' && c <= u'9') roundsToZero = false;
  if (Value == 0 || (roundsToZero && sections.size() >= 3)) {
    if (sections.size() >= 3 && !sections[2].empty()) return FormatSection(sections[2], 0, false);
    return FormatSection(sections[0], 0, false);
  }
  if (negative) {
    if (sections.size() >= 2 && !sections[1].empty()) return FormatSection(sections[1], std::fabs(Value), false);
    return FormatSection(sections[0], std::fabs(Value), !roundsToZero);
  }
  return firstPass;
}

// ---------------------------------------------------------------------------
// StrToFloat

bool TryStrToFloat(const String& S, Extended& Value) {
  size_t i = 0;
  const size_t n = S.size();
  while (i < n && S[i] == u' ') ++i;
  bool neg = false;
  if (i < n && (S[i] == u'+' || S[i] == u'-')) {
    neg = S[i] == u'-';
    ++i;
  }
  std::string text;  // normalised "ddd.ddde-dd"
  int mantDigits = 0;
  long firstDigitPos = 0;  // decimal exponent estimate for out-of-range decisions
  bool seenNonZero = false;
  int intCount = 0;
  while (i < n && S[i] >= u'0' && S[i] <= u'9') {
    text += static_cast<char>(S[i]);
    if (S[i] != u'0') seenNonZero = true;
    if (seenNonZero) ++intCount;
    ++mantDigits;
    ++i;
  }
  int leadingFracZeros = 0;
  if (i < n && S[i] == u'.') {
    text += '.';
    ++i;
    while (i < n && S[i] >= u'0' && S[i] <= u'9') {
      text += static_cast<char>(S[i]);
      if (S[i] != u'0') seenNonZero = true;
      else if (!seenNonZero) ++leadingFracZeros;
      ++mantDigits;
      ++i;
    }
  }
  if (mantDigits == 0) return false;
  long exp = 0;
  if (i < n && (S[i] == u'e' || S[i] == u'E')) {
    text += 'e';
    ++i;
    bool eneg = false;
    if (i < n && (S[i] == u'+' || S[i] == u'-')) {
      eneg = S[i] == u'-';
      if (eneg) text += '-';
      ++i;
    }
    int expDigits = 0;
    while (i < n && S[i] >= u'0' && S[i] <= u'9') {
      if (exp < 100000) exp = exp * 10 + (S[i] - u'0');
      text += static_cast<char>(S[i]);
      ++expDigits;
      ++i;
    }
    if (expDigits == 0) return false;
    if (eneg) exp = -exp;
  }
  while (i < n && S[i] == u' ') ++i;
  if (i != n) return false;

  long double v = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is not a valid value.
    firstDigitPos = (intCount > 0 ? intCount : -leadingFracZeros) + exp;
    if (!seenNonZero || firstDigitPos < 0) v = 0;
    else return false;
  } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return false;
  }
  Value = neg ? -v : v;
  return true;
}

bool TryStrToFloat(const String& S, Double& Value) {
  Extended v;
  if (!TryStrToFloat(S, v) || std::fabs(v) > DBL_MAX) return false;
  Value = static_cast<Double>(v);
  return true;
}

bool TryStrToFloat(const String& S, Single& Value) {
  Extended v;
  if (!TryStrToFloat(S, v) || std::fabs(v) > FLT_MAX) return false;
  Value = static_cast<Single>(v);
  return true;
}

Extended StrToFloat(const String& S) {
  Extended v;
  if (!TryStrToFloat(S, v)) throw EConvertError(SInvalidFloat, {S});
  return v;
}

Extended StrToFloatDef(const String& S, Extended Default) {
  Extended v;
  return TryStrToFloat(S, v) ? v : Default;
}
