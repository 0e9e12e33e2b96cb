// Bitmap engine fixed-point and float arithmetic.
//
// Holds: FixedToIntFloor/Ceil/Round, FixedMul, FixedDivide, FixedLerp,
// SingleToFixed, IntToFixed, IntPointToFixed, FloatPointToFixed,
// FixedPointToFloat, MakeFloatPoint, FixedPoint, RoundFloatPoint, SineCosine,
// Hypot (Single), RoundHypot, MulDivRounded, and the engine's rounding helpers
// (RoundHalfEven on the extended value, saturating conversions).
// All shifts of signed values are done so that no signed overflow occurs.
// Portable: no Windows header.
#pragma once

#include <cmath>
#include <cstdint>

#include "bitmap/Bmp32_Types.h"

// --- rounding helpers -------------------------------------------------------

// Round half to even on the extended value, saturated to the Int64 range
// (NaN gives 0).
Int64 RoundExt(Extended X);
// The same, saturated to the Integer range.
Integer RoundToInt(Extended X);
// Floor / Ceil / Trunc saturated to the Integer range (NaN gives 0).
Integer FloorToInt(Extended X);
Integer CeilToInt(Extended X);
Integer TruncToInt(Extended X);

// Arithmetic shift right of a signed value (rounds towards minus infinity).
constexpr Integer Sar(Integer X, int N) { return X >> N; }
// Left shift without signed overflow: the low 32 bits of X * 2^N.
constexpr Integer Shl(Integer X, int N) { return Integer(Cardinal(X) << N); }

// --- fixed point -------------------------------------------------------------

constexpr Integer FixedToIntFloor(TFixed A) { return A >> 16; }
constexpr Integer FixedToIntCeil(TFixed A) { return Integer((Int64(A) + 0xFFFF) >> 16); }
// Halves round down.
constexpr Integer FixedToIntRound(TFixed A) { return Integer((Int64(A) + 0x7FFF) >> 16); }
// 64-bit product shifted right by 16, low 32 bits kept.
constexpr TFixed FixedMul(TFixed A, TFixed B) { return TFixed(Cardinal(UInt64((Int64(A) * Int64(B)) >> 16))); }
// (A shl 16) div B truncated; B = 0 raises EDivByZero; the low 32 bits are kept.
TFixed FixedDivide(TFixed A, TFixed B);
// Y + ((X - Y) * W) sar 16 with 64-bit product.
constexpr TFixed FixedLerp(TFixed W, TFixed X, TFixed Y) {
  return TFixed(Cardinal(UInt64(Int64(Y) + Int64((__int128(Int64(X) - Int64(Y)) * W) >> 16))));
}
// Round(S * 65536), saturated to the TFixed range.
TFixed SingleToFixed(Single S);
constexpr TFixed IntToFixed(Integer I) { return Shl(I, 16); }
constexpr TFixedPoint FixedPoint(TFixed X, TFixed Y) { return TFixedPoint{X, Y}; }
constexpr TFixedPoint IntPointToFixed(Integer X, Integer Y) { return TFixedPoint{Shl(X, 16), Shl(Y, 16)}; }
TFixedPoint FloatPointToFixed(const TFloatPoint& P);
constexpr TFloatPoint MakeFloatPoint(Single X, Single Y) { return TFloatPoint{X, Y}; }
constexpr TFloatPoint FixedPointToFloat(const TFixedPoint& P) {
  return TFloatPoint{Single(P.X) / 65536.0f, Single(P.Y) / 65536.0f};
}
TPoint RoundFloatPoint(const TFloatPoint& P);

// --- float ---------------------------------------------------------------

void SineCosine(Single Theta, Single& Sin, Single& Cos);
void SineCosine(Single Theta, Single Radius, Single& Sin, Single& Cos);
Single Hypot(Single X, Single Y);
Integer RoundHypot(Integer Dx, Integer Dy);
// A*B/D with a 64-bit intermediate, remainders of at least half rounded away
// from zero; -1 when the quotient does not fit, and for D = 0.
Integer MulDivRounded(Integer A, Integer B, Integer D);
