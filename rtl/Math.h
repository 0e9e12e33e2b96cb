// Arithmetic routines with the class library's semantics: rounding, ranges,
// powers, angles, float comparison, MulDiv and DivMod.
//
// Float to integer conversions never have undefined behaviour: a NaN gives 0
// and a value outside the result type saturates to its lowest or highest
// value (the class library raises an invalid-operation error there instead;
// nothing in the program relies on that).
//
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

#include <cmath>
#include <numbers>

// ---- rounding ---------------------------------------------------------------

// To nearest, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2), like
// the class library's Round in the default rounding mode.
Int64 Round(double x);
Int64 Round(long double x);
Int64 Round(float x);
// The same rounding with an Integer result, for callers that store into an
// Integer (the class library truncates the Int64 there; this saturates).
Integer RoundInt(double x);

// Toward zero.
Int64 Trunc(double x);
Int64 Trunc(long double x);
Int64 Trunc(float x);
Integer TruncInt(double x);

// Largest integer <= x and smallest integer >= x, as Integer (as the class
// library's Math unit returns them).
Integer Floor(double x);
Integer Floor(long double x);
Integer Floor(float x);
Integer Ceil(double x);
Integer Ceil(long double x);
Integer Ceil(float x);

// Fractional and integral parts, both with the sign of x (Frac(-1.25) = -0.25).
double Frac(double x);
double Int(double x);

// ---- ranges -----------------------------------------------------------------

inline Integer Min(Integer a, Integer b) { return a < b ? a : b; }
inline Int64 Min(Int64 a, Int64 b) { return a < b ? a : b; }
inline Single Min(Single a, Single b) { return a < b ? a : b; }
inline Double Min(Double a, Double b) { return a < b ? a : b; }
inline Integer Max(Integer a, Integer b) { return a > b ? a : b; }
inline Int64 Max(Int64 a, Int64 b) { return a > b ? a : b; }
inline Single Max(Single a, Single b) { return a > b ? a : b; }
inline Double Max(Double a, Double b) { return a > b ? a : b; }

// Value clamped to [AMin, AMax]; like the class library, AMin wins over AMax
// when the range is empty only through the order of the tests: a value below
// AMin gives AMin, else a value above AMax gives AMax.
inline Integer EnsureRange(Integer v, Integer lo, Integer hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline Int64 EnsureRange(Int64 v, Int64 lo, Int64 hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline Double EnsureRange(Double v, Double lo, Double hi) { return v < lo ? lo : (v > hi ? hi : v); }

inline bool InRange(Integer v, Integer lo, Integer hi) { return v >= lo && v <= hi; }
inline bool InRange(Int64 v, Int64 lo, Int64 hi) { return v >= lo && v <= hi; }
inline bool InRange(Double v, Double lo, Double hi) { return v >= lo && v <= hi; }

// -1, 0 or 1 (NaN gives 0).
using TValueSign = Integer;
inline TValueSign Sign(Integer v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
inline TValueSign Sign(Int64 v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
inline TValueSign Sign(Double v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// ---- powers and angles ------------------------------------------------------

// Base ** Exponent. Exponent 0 gives 1 (also for a zero or NaN base); a
// negative base with a fractional exponent gives NaN.
double Power(double base, double exponent);
// Base ** Exponent by repeated squaring; a negative exponent gives
// 1 / Base ** -Exponent (0 ** -n is +Inf).
double IntPower(double base, Integer exponent);

inline double ArcTan2(double y, double x) { return std::atan2(y, x); }
inline double DegToRad(double degrees) { return degrees * (std::numbers::pi / 180.0); }
inline double RadToDeg(double radians) { return radians * (180.0 / std::numbers::pi); }
inline double Hypot(double x, double y) { return std::hypot(x, y); }

// ---- float comparison -------------------------------------------------------

// Equal within Epsilon; Epsilon 0 means "relative to the smaller magnitude":
// max(min(|a|, |b|) * R, R) with R = 1E-12 (Double), 1E-4 (Single),
// 1E-16 (Extended), the class library's resolutions.
bool SameValue(double a, double b, double epsilon = 0);
bool SameValue(float a, float b, float epsilon = 0);
bool SameValue(long double a, long double b, long double epsilon = 0);
// |a| <= Epsilon; Epsilon 0 means the resolution above.
bool IsZero(double a, double epsilon = 0);
bool IsZero(float a, float epsilon = 0);
bool IsZero(long double a, long double epsilon = 0);

// ---- integer helpers --------------------------------------------------------

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0
// or the result does not fit in -2^31+1 .. 2^31-1: the Windows (kernel32)
// semantics. Available in every build; MulDiv below is this routine.
Integer MulDivRound64(Integer a, Integer b, Integer c);

#if defined(_WIN32)
// In the Winelib build MulDiv is kernel32's routine (same semantics as
// MulDivRound64), declared as <winbase.h> declares it for Winelib units so
// both declarations can be seen in one unit.
extern "C" __attribute__((visibility("hidden"))) int __stdcall MulDiv(int a, int b, int c);
#else
inline Integer MulDiv(Integer a, Integer b, Integer c) { return MulDivRound64(a, b, c); }
#endif

// Quotient and remainder of an unsigned division. The quotient is kept to its
// low 16 bits when it does not fit in a Word. Divisor 0 raises EDivByZero.
void DivMod(Cardinal dividend, Word divisor, Word& result, Word& remainder);
