#include "skin/boxes/NumText.h"

#include <cmath>
#include <limits>

#include "rtl/Math.h"
#include "rtl/SysUtils.h"

namespace {

bool IsDigit(Char C) { return C >= u'0' && C <= u'9'; }

size_t CountOf(const String& S, Char C) {
  size_t N = 0;
  for (Char X : S)
    if (X == C) ++N;
  return N;
}

}  // namespace

bool IsNumText(const String& Current, const String& AText, bool Float) {
  if (Current.empty() || Current == u"-") return false;
  bool Digit = false;
  for (Char C : Current) {
    if (IsDigit(C)) {
      Digit = true;
      continue;
    }
    if (C == u'-' || (Float && C == NumDecimalSeparator)) continue;
    return false;
  }
  if (!Digit) return false;
  const size_t Minus = CountOf(AText, u'-');
  if (Minus > 1 || (Minus == 1 && AText[0] != u'-')) return false;
  if (Float) {
    const size_t Sep = CountOf(AText, NumDecimalSeparator);
    if (Sep > 1 || (Sep == 1 && AText[0] == NumDecimalSeparator)) return false;
  }
  for (Char C : AText)
    if (IsDigit(C)) return true;
  return false;
}

double ClampSpinValue(double V, double Min, double Max) {
  if (Min == 0 && Max == 0) return V;
  if (V < Min) return Min;
  if (V > Max) return Max;
  return V;
}

double ClampRangeValue(double V, double Min, double Max) {
  if (Min == Max) return V;
  if (V < Min) return Min;
  if (V > Max) return Max;
  return V;
}

bool NumTextNeedsRewrite(double V, double P, double Min, double Max) {
  if (V < P && (V >= 0 || P >= 0)) return true;
  if (V > P && V < 0 && P < 0) return true;
  if (Min > 0 && P < 0) return true;
  if (Max < 0 && P > 0) return true;
  return false;
}

String FormatNumValue(double V, TspValueType Kind, Integer Decimal) {
  if (Kind == TspValueType::vtFloat) return FloatToStrF(static_cast<Extended>(V), ffFixed, 15, Decimal);
  // Values beyond 64 bits cannot come from a field; keep the conversion defined.
  constexpr double Limit = 9.2e18;
  if (!std::isfinite(V) || V > Limit || V < -Limit) return FloatToStrF(static_cast<Extended>(V), ffFixed, 15, 0);
  return IntToStr(Round(V));
}

bool ParseNumText(const String& S, bool Float, bool Ranged, double& Value) {
  if (Float) {
    double D = 0;
    if (!TryStrToFloat(S, D) || !std::isfinite(D)) return false;
    Value = D;
    return true;
  }
  Int64 I = 0;
  if (TryStrToInt64(S, I)) {
    if (!Ranged && (I < std::numeric_limits<Integer>::min() || I > std::numeric_limits<Integer>::max()))
      return false;
    Value = static_cast<double>(I);
    return true;
  }
  // Beyond 64 bits: only a ranged field takes it (it clamps to a bound).
  if (!Ranged) return false;
  double D = 0;
  if (!TryStrToFloat(S, D) || !std::isfinite(D)) return false;
  Value = D;
  return true;
}

bool NumKeyAccepted(Char Key, const String& Text, const TspNumKeyRules& Rules) {
  const bool Control = Key < 32 && Key != 13;
  bool Accepted = Key == u'-' || IsDigit(Key) || Control;
  if (Rules.Float && Key <= 255 && Key == NumDecimalSeparator) Accepted = true;
  if (!Accepted) return false;
  if (!Rules.EditorEnabled && (Key >= 32 || Key == 8)) return false;
  if (Key == NumDecimalSeparator && Text.find(NumDecimalSeparator) != String::npos) return false;
  if (Key == u'-' && Text.find(u'-') != String::npos) return false;
  return true;
}
