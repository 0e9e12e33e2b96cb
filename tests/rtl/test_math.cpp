#include "common/gtest.h"

#include "rtl/Math.h"
#include "rtl/SizeMath.h"
#include "rtl/SysUtils.h"

#include <climits>
#include <cmath>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct RoundCase {
  double x;
  Int64 round, trunc;
  Integer floor, ceil;
};

TEST(MathRounding, TiesGoToEvenAndNegativesRoundAsNamed) {
  const RoundCase cases[] = {
      {0.5, 0, 0, 0, 1},          {1.5, 2, 1, 1, 2},     {2.5, 2, 2, 2, 3},       {3.5, 4, 3, 3, 4},
      {-0.5, 0, 0, -1, 0},        {-1.5, -2, -1, -2, -1}, {-2.5, -2, -2, -3, -2}, {-2.51, -3, -2, -3, -2},
      {0.49999999999999994, 0, 0, 0, 1},  // floor(x + 0.5) would give 1
      {2.5000000001, 3, 2, 2, 3}, {-0.0, 0, 0, 0, 0},   {-2.0, -2, -2, -2, -2},  {7.0, 7, 7, 7, 7},
      {-1e-300, 0, 0, -1, 0},     {4503599627370497.0, 4503599627370497, 4503599627370497, INT_MAX, INT_MAX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(Round(c.x), c.round);
    EXPECT_EQ(Round(static_cast<long double>(c.x)), c.round);
    EXPECT_EQ(Trunc(c.x), c.trunc);
    EXPECT_EQ(Floor(c.x), c.floor);
    EXPECT_EQ(Ceil(c.x), c.ceil);
  }
  EXPECT_EQ(Round(2.5f), 2);
  EXPECT_EQ(Round(-3.5f), -4);
  EXPECT_EQ(RoundInt(-2.5), -2);
  EXPECT_EQ(TruncInt(-7.9), -7);
}

TEST(MathRounding, NaNAndOutOfRangeValuesHaveDefinedResults) {
  EXPECT_EQ(Round(kNaN), 0);
  EXPECT_EQ(Trunc(kNaN), 0);
  EXPECT_EQ(Floor(kNaN), 0);
  EXPECT_EQ(Ceil(kNaN), 0);
  EXPECT_EQ(Round(kInf), std::numeric_limits<Int64>::max());
  EXPECT_EQ(Round(-kInf), std::numeric_limits<Int64>::min());
  EXPECT_EQ(Round(1e300), std::numeric_limits<Int64>::max());
  EXPECT_EQ(Trunc(-1e300), std::numeric_limits<Int64>::min());
  EXPECT_EQ(Round(9223372036854775808.0), std::numeric_limits<Int64>::max());
  EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<Int64>::min());
  EXPECT_EQ(RoundInt(2147483647.5), INT_MAX);  // 2147483648 after rounding
  EXPECT_EQ(RoundInt(-2147483648.4), INT_MIN);
  EXPECT_EQ(RoundInt(-3e9), INT_MIN);
  EXPECT_EQ(Floor(1e10), INT_MAX);
  EXPECT_EQ(Ceil(-1e10), INT_MIN);
  EXPECT_EQ(Floor(-2147483648.5), INT_MIN);
  EXPECT_EQ(Round(static_cast<long double>(kNaN)), 0);
  EXPECT_EQ(Round(1e30f), std::numeric_limits<Int64>::max());
}

TEST(MathRounding, FracAndIntKeepTheSign) {
  EXPECT_DOUBLE_EQ(Frac(-1.25), -0.25);
  EXPECT_DOUBLE_EQ(Int(-1.25), -1.0);
  EXPECT_DOUBLE_EQ(Frac(3.75), 0.75);
  EXPECT_DOUBLE_EQ(Int(3.75), 3.0);
  EXPECT_TRUE(std::isnan(Frac(kInf)));
}

TEST(MathRanges, MinMaxEnsureRangeInRangeSign) {
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(Int64(1) << 40, Int64(5)), Int64(1) << 40);
  EXPECT_EQ(Min(1.5f, -2.5f), -2.5f);
  EXPECT_EQ(Max(1.5, 2.5), 2.5);
  struct { Integer v, lo, hi, want; bool in; } cases[] = {
      {5, 0, 10, 5, true}, {-1, 0, 10, 0, false}, {11, 0, 10, 10, false}, {0, 0, 10, 0, true}, {10, 0, 10, 10, true},
      // An empty range: the lower bound wins for values below it, the upper otherwise.
      {5, 10, 0, 10, false}, {20, 10, 0, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EnsureRange(c.v, c.lo, c.hi), c.want) << c.v << " in " << c.lo << ".." << c.hi;
    EXPECT_EQ(InRange(c.v, c.lo, c.hi), c.in) << c.v << " in " << c.lo << ".." << c.hi;
  }
  EXPECT_DOUBLE_EQ(EnsureRange(1.5, 0.0, 1.0), 1.0);
  EXPECT_EQ(EnsureRange(Int64(-5), Int64(0), Int64(3)), 0);
  EXPECT_EQ(Sign(-7), -1);
  EXPECT_EQ(Sign(Int64(0)), 0);
  EXPECT_EQ(Sign(0.001), 1);
  EXPECT_EQ(Sign(kNaN), 0);
}

TEST(MathPowers, PowerAndIntPower) {
  EXPECT_DOUBLE_EQ(IntPower(2, 10), 1024);
  EXPECT_DOUBLE_EQ(IntPower(2, -2), 0.25);
  EXPECT_DOUBLE_EQ(IntPower(-2, 3), -8);
  EXPECT_DOUBLE_EQ(IntPower(5, 0), 1);
  EXPECT_EQ(IntPower(2, INT_MIN), 0.0);  // no overflow negating the exponent
  EXPECT_EQ(IntPower(0, -1), kInf);
  EXPECT_DOUBLE_EQ(Power(0, 0), 1);
  EXPECT_DOUBLE_EQ(Power(kNaN, 0), 1);
  EXPECT_DOUBLE_EQ(Power(0, 3.5), 0);
  EXPECT_DOUBLE_EQ(Power(-2, 3), -8);
  EXPECT_DOUBLE_EQ(Power(2, 0.5), std::sqrt(2.0));
  EXPECT_TRUE(std::isnan(Power(-8, 1.0 / 3)));
  EXPECT_DOUBLE_EQ(Hypot(3, 4), 5);
  EXPECT_DOUBLE_EQ(DegToRad(180), M_PI);
  EXPECT_DOUBLE_EQ(RadToDeg(M_PI / 2), 90);
  EXPECT_DOUBLE_EQ(ArcTan2(1, -1), 3 * M_PI / 4);
}

TEST(MathCompare, SameValueAndIsZeroUseTheResolutions) {
  EXPECT_TRUE(SameValue(1.0, 1.0 + 1e-13));
  EXPECT_FALSE(SameValue(1.0, 1.0 + 1e-11));
  EXPECT_TRUE(SameValue(1e6, 1e6 + 1e-7));  // relative to the smaller magnitude
  EXPECT_FALSE(SameValue(1e6, 1e6 + 1e-5));
  EXPECT_TRUE(SameValue(1.0, 1.05, 0.1));
  EXPECT_FALSE(SameValue(1.0, 1.2, 0.1));
  EXPECT_TRUE(SameValue(1.0f, 1.00005f));
  EXPECT_FALSE(SameValue(1.0f, 1.001f));
  EXPECT_TRUE(IsZero(1e-13));
  EXPECT_FALSE(IsZero(1e-11));
  EXPECT_TRUE(IsZero(-5e-5f));
  EXPECT_TRUE(IsZero(0.05, 0.1));
  EXPECT_FALSE(IsZero(kNaN));
}

struct MulDivCase {
  Integer a, b, c, want;
};

TEST(MathMulDiv, RoundsHalfAwayFromZeroAndReportsOverflowAsMinusOne) {
  const MulDivCase cases[] = {
      {7, 1, 2, 4},         {-7, 1, 2, -4},        {5, 3, 2, 8},         {-5, 3, 2, -8},
      {1, 5, -2, -3},       {10, 10, -3, -33},     {-10, -10, -3, -33},  {10, 10, 3, 33},
      {2, 1, 3, 1},         {1, 1, 3, 0},          {1, 1, 0, -1},        {0, 0, 0, -1},
      {INT_MAX, 2, 1, -1},  {INT_MAX, INT_MAX, INT_MAX, INT_MAX},      {INT_MIN, 1, 1, -1},
      {INT_MIN, -1, 1, -1}, {INT_MIN, INT_MIN, INT_MIN, -1},           {INT_MIN, 1, -1, -1},
      {INT_MIN, 1, 2, -1073741824}, {100000, 100000, 100000, 100000}, {-2147483647, 1, 1, -2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDivRound64(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
    // In the Winelib build MulDiv is kernel32's: both must agree, except that
    // Wine's negates a divisor of -2^31 with overflow and answers differently.
#if defined(_WIN32)
    if (c.c == INT_MIN) continue;
#endif
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(MathDivMod, QuotientAndRemainder) {
  Word q = 0, r = 0;
  DivMod(100, 7, q, r);
  EXPECT_EQ(q, 14);
  EXPECT_EQ(r, 2);
  DivMod(1000000, 2, q, r);  // quotient 500000 kept to 16 bits
  EXPECT_EQ(q, 500000 & 0xFFFF);
  EXPECT_EQ(r, 0);
  EXPECT_THROW(DivMod(1, 0, q, r), EDivByZero);
}

TEST(SizeMath, CheckedProductRefusesOverflowNegativesAndLimit) {
  const Int64 kMax = std::numeric_limits<Int64>::max();
  struct Case {
    std::initializer_list<Int64> f;
    Int64 limit;
    bool ok;
    Int64 want;
  } cases[] = {
      {{0x40000000, 0x7FFFFFFF, 8}, kMax, false, 0},  // wraps negative in 64 bits
      {{0x7FFFFFFF, 0x7FFFFFFF, 2}, kMax, true, Int64(0x7FFFFFFF) * 0x7FFFFFFF * 2},
      {{0x7FFFFFFF, 0x7FFFFFFF, 4}, kMax, false, 0},
      {{-1, 4}, kMax, false, 0},
      {{4, -1}, kMax, false, 0},
      {{0, 0x7FFFFFFF, 8}, kMax, true, 0},
      {{6000, 4000, 4}, 96000000, true, 96000000},
      {{6000, 4000, 4}, 95999999, false, 0},
      {{}, kMax, true, 1},
  };
  for (const Case& c : cases) {
    Int64 r = -7;
    EXPECT_EQ(CheckedProduct(c.f, c.limit, r), c.ok) << c.want;
    EXPECT_EQ(r, c.ok ? c.want : -7) << "a refused product leaves the result alone";
  }
}

}  // namespace
