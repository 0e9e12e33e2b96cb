// Fixed-point and float arithmetic of the bitmap engine.
#include "bitmap/Bmp32_Math.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

#include "rtl/SysUtils.h"

Int64 RoundExt(Extended X) {
  if (std::isnan(X)) return 0;
  if (X >= 9.2233720368547758e18L) return INT64_MAX;
  if (X <= -9.2233720368547758e18L) return INT64_MIN;
  return Int64(std::nearbyintl(X));  // default rounding mode: halves to even
}

namespace {
inline Integer SaturateInt(Extended V) {
  if (std::isnan(V)) return 0;
  if (V >= 2147483647.0L) return INT32_MAX;
  if (V <= -2147483648.0L) return INT32_MIN;
  return Integer(V);
}
}  // namespace

Integer RoundToInt(Extended X) { return std::isnan(X) ? 0 : SaturateInt(std::nearbyintl(X)); }
Integer FloorToInt(Extended X) { return SaturateInt(std::floor(X)); }
Integer CeilToInt(Extended X) { return SaturateInt(std::ceil(X)); }
Integer TruncToInt(Extended X) { return SaturateInt(std::trunc(X)); }

TFixed FixedDivide(TFixed A, TFixed B) {
  if (B == 0) throw EDivByZero(SDivByZero);
  Int64 q = (Int64(A) * 65536) / Int64(B);  // |A*65536| < 2^47: no overflow
  return TFixed(Cardinal(UInt64(q)));
}

TFixed SingleToFixed(Single S) { return RoundToInt(Extended(S) * 65536); }

TFixedPoint FloatPointToFixed(const TFloatPoint& P) {
  return TFixedPoint{RoundToInt(Extended(P.X) * 65536), RoundToInt(Extended(P.Y) * 65536)};
}

TPoint RoundFloatPoint(const TFloatPoint& P) { return TPoint(RoundToInt(P.X), RoundToInt(P.Y)); }

void SineCosine(Single Theta, Single& Sin, Single& Cos) {
  Sin = Single(std::sin(Extended(Theta)));
  Cos = Single(std::cos(Extended(Theta)));
}

void SineCosine(Single Theta, Single Radius, Single& Sin, Single& Cos) {
  Sin = Single(Extended(Radius) * std::sin(Extended(Theta)));
  Cos = Single(Extended(Radius) * std::cos(Extended(Theta)));
}

Single Hypot(Single X, Single Y) {
  return Single(std::sqrt(Extended(X) * X + Extended(Y) * Y));
}

Integer RoundHypot(Integer Dx, Integer Dy) {
  return RoundToInt(std::sqrt(Extended(Dx) * Dx + Extended(Dy) * Dy));
}

Integer MulDivRounded(Integer A, Integer B, Integer D) {
  if (D == 0) return -1;
  bool negative = ((A ^ B ^ D) < 0);
  UInt64 a = UInt64(std::llabs(Int64(A))), b = UInt64(std::llabs(Int64(B))), d = UInt64(std::llabs(Int64(D)));
  UInt64 product = a * b;  // < 2^62
  UInt64 high = product >> 32;
  if (2 * high >= d) return -1;
  UInt64 q = product / d, r = product % d;
  if (d - r <= r) ++q;
  if (q > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  Int64 result = negative ? -Int64(q) : Int64(q);
  return Integer(result);
}
