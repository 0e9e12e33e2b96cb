// Checked size arithmetic for buffers sized from numbers that come from files
// or callers: widths, heights, counts and bytes per element multiplied before
// anything is allocated or read. An overflow or a negative factor is refused
// instead of wrapping, so a damaged header cannot turn into a small (or
// negative) size that passes a later bounds check.
#pragma once

#include <initializer_list>

#include "rtl/System.h"

// The product of Factors in Result when every factor is >= 0 and the product
// is at most Limit; false otherwise (Result is then left unchanged).
inline bool CheckedProduct(std::initializer_list<Int64> Factors, Int64 Limit, Int64& Result) noexcept {
  Int64 p = 1;
  for (Int64 f : Factors) {
    if (f < 0 || __builtin_mul_overflow(p, f, &p)) return false;
  }
  if (p > Limit) return false;
  Result = p;
  return true;
}
