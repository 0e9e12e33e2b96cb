// Internal helpers shared by the SysUtils units.
#pragma once

#include <string>

#include "rtl/System.h"

namespace rtl::detail {

// A float as decimal digits: value = 0.Digits x 10^Exponent (no trailing
// zeros; empty Digits = zero).
struct TFloatDigits {
  enum TSpecial { Finite, Inf, NaN };
  TSpecial Special = Finite;
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

// 18 significant digits of Value, correctly rounded.
TFloatDigits ToDigits(Extended Value);
// Keeps Count digits, rounding half away from zero; strips trailing zeros.
void RoundDigits(TFloatDigits& D, int Count);

}  // namespace rtl::detail
