#include "rtl/Math.h"

#include "rtl/SysUtils.h"

#include <cstdint>
#include <limits>

namespace {

// An integral-valued float to an integer type: NaN -> 0, saturating outside.
template <class I, class F>
I ToIntSaturated(F v) {
  if (std::isnan(v)) return 0;
  // -2^(bits-1) and 2^(bits-1) are exact in every float type used here.
  const F lo = static_cast<F>(std::numeric_limits<I>::min());
  const F hiExclusive = -lo;
  if (v < lo) return std::numeric_limits<I>::min();
  if (v >= hiExclusive) return std::numeric_limits<I>::max();
  return static_cast<I>(v);
}

// Nearest integral value, halves to even, whatever the current rounding mode.
template <class F>
F RoundHalfEven(F x) {
  if (!std::isfinite(x)) return x;
  F f = std::floor(x);
  F d = x - f;  // exact: both are close floats of the same sign region
  if (d > F(0.5) || (d == F(0.5) && std::fmod(f, F(2)) != 0)) f += 1;
  return f;
}

}  // namespace

Int64 Round(double x) { return ToIntSaturated<Int64>(RoundHalfEven(x)); }
Int64 Round(long double x) { return ToIntSaturated<Int64>(RoundHalfEven(x)); }
Int64 Round(float x) { return ToIntSaturated<Int64>(RoundHalfEven(static_cast<double>(x))); }
Integer RoundInt(double x) { return ToIntSaturated<Integer>(RoundHalfEven(x)); }

Int64 Trunc(double x) { return ToIntSaturated<Int64>(std::trunc(x)); }
Int64 Trunc(long double x) { return ToIntSaturated<Int64>(std::trunc(x)); }
Int64 Trunc(float x) { return ToIntSaturated<Int64>(std::trunc(static_cast<double>(x))); }
Integer TruncInt(double x) { return ToIntSaturated<Integer>(std::trunc(x)); }

Integer Floor(double x) { return ToIntSaturated<Integer>(std::floor(x)); }
Integer Floor(long double x) { return ToIntSaturated<Integer>(std::floor(x)); }
Integer Floor(float x) { return ToIntSaturated<Integer>(std::floor(static_cast<double>(x))); }
Integer Ceil(double x) { return ToIntSaturated<Integer>(std::ceil(x)); }
Integer Ceil(long double x) { return ToIntSaturated<Integer>(std::ceil(x)); }
Integer Ceil(float x) { return ToIntSaturated<Integer>(std::ceil(static_cast<double>(x))); }

double Frac(double x) {
  if (std::isinf(x)) return 0.0 * x;  // NaN, as x - Int(x) would give
  return x - std::trunc(x);
}
double Int(double x) { return std::trunc(x); }

double Power(double base, double exponent) {
  if (exponent == 0.0) return 1.0;
  if (base == 0.0 && exponent > 0.0) return 0.0;
  if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0)
    return IntPower(base, static_cast<Integer>(exponent));
  if (base < 0.0) return std::numeric_limits<double>::quiet_NaN();
  return std::pow(base, exponent);
}

double IntPower(double base, Integer exponent) {
  // Widen before negating: -INT32_MIN does not fit in an Integer.
  Int64 n = exponent;
  bool invert = n < 0;
  UInt64 e = static_cast<UInt64>(invert ? -n : n);
  double result = 1.0;
  double b = base;
  while (e != 0) {
    if (e & 1) result *= b;
    e >>= 1;
    if (e != 0) b *= b;
  }
  return invert ? 1.0 / result : result;
}

namespace {

template <class F>
bool SameValueT(F a, F b, F epsilon, F resolution) {
  if (epsilon == 0) {
    F m = std::fabs(a) < std::fabs(b) ? std::fabs(a) : std::fabs(b);
    epsilon = m * resolution > resolution ? m * resolution : resolution;
  }
  return a > b ? (a - b) <= epsilon : (b - a) <= epsilon;
}

constexpr double kDoubleResolution = 1e-15 * 1000;
constexpr float kSingleResolution = 1e-7f * 1000;
constexpr long double kExtendedResolution = 1e-19L * 1000;

}  // namespace

bool SameValue(double a, double b, double epsilon) { return SameValueT(a, b, epsilon, kDoubleResolution); }
bool SameValue(float a, float b, float epsilon) { return SameValueT(a, b, epsilon, kSingleResolution); }
bool SameValue(long double a, long double b, long double epsilon) {
  return SameValueT(a, b, epsilon, kExtendedResolution);
}

bool IsZero(double a, double epsilon) { return std::fabs(a) <= (epsilon == 0 ? kDoubleResolution : epsilon); }
bool IsZero(float a, float epsilon) { return std::fabs(a) <= (epsilon == 0 ? kSingleResolution : epsilon); }
bool IsZero(long double a, long double epsilon) {
  return std::fabs(a) <= (epsilon == 0 ? kExtendedResolution : epsilon);
}

Integer MulDivRound64(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  // |a*b| <= 2^62 and |c| <= 2^31: every step below fits in Int64.
  Int64 product = static_cast<Int64>(a) * b;
  Int64 divisor = c;
  if (divisor < 0) {
    divisor = -divisor;
    product = -product;
  }
  Int64 half = divisor / 2;
  Int64 q = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (q > 2147483647 || q < -2147483647) return -1;
  return static_cast<Integer>(q);
}

void DivMod(Cardinal dividend, Word divisor, Word& result, Word& remainder) {
  if (divisor == 0) throw EDivByZero(u"Division by zero");
  result = static_cast<Word>(dividend / divisor);
  remainder = static_cast<Word>(dividend % divisor);
}
