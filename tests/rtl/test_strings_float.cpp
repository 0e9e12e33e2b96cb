#include "common/gtest.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "rtl/SysUtils.h"

// --- FloatToStr: shortest general form with 15 significant digits ---------------

TEST(FloatText, FloatToStrTable) {
  struct Case {
    Extended Value;
    String Expected;
  };
  const Case cases[] = {
      {0.0, u"0"},
      {-0.0, u"0"},
      {1.0, u"1"},
      {100.0, u"100"},
      {-1.5, u"-1.5"},
      {0.1, u"0.1"},
      {0.1 + 0.2, u"0.3"},
      {1.0 / 3.0, u"0.333333333333333"},
      {2.0 / 3.0, u"0.666666666666667"},
      {12345.678, u"12345.678"},
      {123456789012345.0, u"123456789012345"},  // 15 integer digits: still fixed
      {1e15, u"1E15"},                          // 16: scientific
      {1234567890123456.0, u"1.23456789012346E15"},
      {999999999999999.9, u"1E15"},  // rounding carries into a new digit
      {1e100, u"1E100"},
      {0.0001, u"0.0001"},
      {0.000123, u"0.000123"},
      {0.00001, u"1E-5"},
      {1.5e-10, u"1.5E-10"},
      {-2.5e-7, u"-2.5E-7"},
      {std::numeric_limits<double>::infinity(), u"INF"},
      {-std::numeric_limits<double>::infinity(), u"-INF"},
      {std::numeric_limits<double>::quiet_NaN(), u"NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.Value), c.Expected) << static_cast<double>(c.Value);
}

TEST(FloatText, FloatToStrFTable) {
  struct Case {
    Extended Value;
    TFloatFormat Format;
    Integer Precision, Digits;
    String Expected;
  };
  const Case cases[] = {
      {1234.5678, ffFixed, 15, 2, u"1234.57"},
      {1234.5678, ffFixed, 15, 0, u"1235"},
      {0.5, ffFixed, 15, 0, u"1"},  // halves round away from zero
      {2.5, ffFixed, 15, 0, u"3"},
      {-2.5, ffFixed, 15, 0, u"-3"},
      {0.004, ffFixed, 15, 2, u"0.00"},
      {0.005, ffFixed, 15, 2, u"0.01"},
      {9.999, ffFixed, 15, 2, u"10.00"},
      {1.0, ffFixed, 15, 3, u"1.000"},
      // The precision's digits first, then the decimals (not the binary value's
      // own digits): 2.675 and 1.005 are held just below their halves.
      {2.675, ffFixed, 15, 2, u"2.68"},
      {1.005, ffFixed, 15, 2, u"1.01"},
      {0.125, ffFixed, 15, 2, u"0.13"},
      {1.2345, ffFixed, 15, 2, u"1.23"},
      {2.675, ffFixed, 3, 2, u"2.67"},
      {2.675, ffFixed, 2, 2, u"2.70"},
      {1e20, ffFixed, 15, 2, u"1E20"},  // more integer digits than the precision
      {1234.5678, ffNumber, 15, 2, u"1,234.57"},
      {1234567.891, ffNumber, 15, 0, u"1,234,568"},
      {-999.5, ffNumber, 15, 0, u"-1,000"},
      {123.0, ffNumber, 15, 1, u"123.0"},
      {1234.5678, ffExponent, 4, 2, u"1.235E+03"},
      {0.0, ffExponent, 3, 3, u"0.00E+000"},
      {-1.5e-7, ffExponent, 3, 0, u"-1.50E-7"},
      {9.9999, ffExponent, 3, 1, u"1.00E+1"},
      {123.456, ffGeneral, 4, 0, u"123.5"},
      {123456.0, ffGeneral, 4, 0, u"1.235E5"},
      {123456.0, ffGeneral, 4, 2, u"1.235E05"},
      {0.5, ffGeneral, 1, 0, u"0.5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected)
        << static_cast<double>(c.Value) << " format " << int(c.Format) << " " << c.Precision << "," << c.Digits;
}

TEST(FloatText, FormatFloatPictures) {
  struct Case {
    const char16_t* Picture;
    Extended Value;
    String Expected;
  };
  const Case cases[] = {
      {u"0", 2.5, u"3"},
      {u"0", 1.4, u"1"},
      {u"0", -1.6, u"-2"},
      {u"0.0", 1.25, u"1.3"},
      {u"0.0", 1.0, u"1.0"},
      {u"0.00", 3.14159, u"3.14"},
      {u"0.00", 0.0, u"0.00"},
      {u"#,##0", 1234567.0, u"1,234,567"},
      {u"#,##0", 0.0, u"0"},
      {u"#,##0", 12.0, u"12"},
      {u"#,##0", -1234.0, u"-1,234"},
      {u"#,##0.00", 1234.5, u"1,234.50"},
      {u"0.###", 1.5, u"1.5"},
      {u"0.###", 2.0, u"2"},
      {u"0.###", 1.23456, u"1.235"},
      {u"#.##", 0.5, u".5"},
      {u"#", 0.0, u""},
      {u"000", 7.0, u"007"},
      {u"0.00;(0.00)", -3.5, u"(3.50)"},
      {u"0.00;(0.00)", 3.5, u"3.50"},
      {u"0.0;-0.0;\"zero\"", 0.0, u"zero"},
      {u"0.0;-0.0;\"zero\"", 0.01, u"zero"},  // rounds to zero
      {u"0.00E+00", 12345.0, u"1.23E+04"},
      {u"0.0E-0", 0.00012, u"1.2E-4"},
      {u"0.0E-0", 12000.0, u"1.2E4"},
      {u"\"$\"0.00", 2.0, u"$2.00"},
      {u"0' kg'", 5.0, u"5 kg"},
      {u"", 1.5, u"1.5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.Picture, c.Value), c.Expected) << testing::PrintToString(String(c.Picture));
}

TEST(FloatText, StrToFloatTable) {
  struct Case {
    String S;
    bool Ok;
    Extended Value;
  };
  const Case cases[] = {
      {u"1.5", true, 1.5},
      {u"-1.5", true, -1.5},
      {u"+2", true, 2},
      {u" 3.25 ", true, 3.25},
      {u".5", true, 0.5},
      {u"5.", true, 5},
      {u"1e3", true, 1000},
      {u"1E-3", true, 0.001L},
      {u"2.5e+2", true, 250},
      {u"0", true, 0},
      {u"1e-6000", true, 0},  // underflow reads as zero
      {u"1,5", false, 0},     // never the locale's comma
      {u"", false, 0},
      {u" ", false, 0},
      {u".", false, 0},
      {u"-", false, 0},
      {u"1e", false, 0},
      {u"1e+", false, 0},
      {u"e5", false, 0},
      {u"1.5x", false, 0},
      {u"1 5", false, 0},
      {u"0x10", false, 0},
      {u"1e6000", false, 0},  // overflow
      {u"inf", false, 0},
      {u"nan", false, 0},
  };
  for (const Case& c : cases) {
    Extended v = 77;
    EXPECT_EQ(TryStrToFloat(c.S, v), c.Ok) << testing::PrintToString(c.S);
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << testing::PrintToString(c.S);
    } else {
      EXPECT_EQ(StrToFloatDef(c.S, -1), -1);
      try {
        StrToFloat(c.S);
        ADD_FAILURE() << testing::PrintToString(c.S);
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'" + c.S + u"' is not a valid floating point value");
      }
    }
  }
  // Range of the narrower types.
  Double d = 0;
  EXPECT_FALSE(TryStrToFloat(u"1e400", d));
  EXPECT_TRUE(TryStrToFloat(u"0.1", d));
  EXPECT_EQ(d, 0.1);
  Single f = 0;
  EXPECT_FALSE(TryStrToFloat(u"1e39", f));
  EXPECT_TRUE(TryStrToFloat(u"0.1", f));
  EXPECT_EQ(f, 0.1f);
}

TEST(FloatText, RoundTripOfShortestForm) {
  const double values[] = {0.1, 1.0 / 3.0, 123.456, 1e-20, 6.02214076e23, -42.0};
  for (double v : values) {
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(FloatToStr(v), back));
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
  }
}

// A C locale with "," as decimal separator must not change float text.
namespace {

bool SetCommaLocale() {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR", "nl_NL.UTF-8"};
  for (const char* n : names)
    if (std::setlocale(LC_NUMERIC, n) && std::localeconv()->decimal_point[0] == ',') return true;
  // None installed: compile one into a private folder and point LOCPATH there
  // (no std::filesystem: its header does not match the library under wineg++).
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/lumigra_test_locale";
  const std::string cmd = "mkdir -p '" + dir + "' && { [ -e '" + dir + "/de_DE.UTF-8/LC_NUMERIC' ] || localedef -i de_DE -f UTF-8 '" +
                          dir + "/de_DE.UTF-8' >/dev/null 2>&1; }";
  (void)std::system(cmd.c_str());  // localedef may report warnings; the setlocale below decides
  setenv("LOCPATH", dir.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && std::localeconv()->decimal_point[0] == ',';
}

}  // namespace

TEST(FloatText, DotEvenUnderCommaLocale) {
  std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (!SetCommaLocale()) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma could be set up on this machine";
  }
  char probe[32];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  EXPECT_STREQ(probe, "1,5") << "the C library does see the comma locale";

  EXPECT_EQ(FloatToStr(1.5), u"1.5");
  EXPECT_EQ(FloatToStr(1e-7), u"1E-7");
  EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 2), u"1,234.50");
  EXPECT_EQ(FormatFloat(u"0.00", 2.5), u"2.50");
  EXPECT_EQ(Format(u"%.2f %e", {1.25, 1.0}), u"1.25 1.00000000000000E+000");
  EXPECT_EQ(StrToFloat(u"2.75"), 2.75);
  Extended v = 0;
  EXPECT_FALSE(TryStrToFloat(u"2,75", v));

  std::setlocale(LC_NUMERIC, saved.c_str());
}

// --- Format -------------------------------------------------------------------

TEST(FormatRoutine, IntegersWidthPrecision) {
  struct Case {
    const char16_t* Fmt;
    std::vector<TVarRec> Args;
    String Expected;
  };
  const Case cases[] = {
      {u"%d", {42}, u"42"},
      {u"%5d|", {42}, u"   42|"},
      {u"%-5d|", {42}, u"42   |"},
      {u"%.4d", {42}, u"0042"},
      {u"%.4d", {-42}, u"-0042"},
      {u"%6.4d", {-42}, u" -0042"},
      {u"%1d", {12345}, u"12345"},  // width never truncates
      {u"%d", {Int64(1000000000000)}, u"1000000000000"},
      {u"%d", {INT32_MIN}, u"-2147483648"},
      {u"%u", {-1}, u"4294967295"},
      {u"%u", {Int64(-1)}, u"18446744073709551615"},
      {u"%x", {255}, u"FF"},
      {u"%.4x", {255}, u"00FF"},
      {u"%X", {-1}, u"FFFFFFFF"},
      {u"%x", {Int64(-1)}, u"FFFFFFFFFFFFFFFF"},
      {u"%4x|", {10}, u"   A|"},
      {u"%p", {reinterpret_cast<void*>(0x1234)}, u"0000000000001234"},
      {u"%d%%", {50}, u"50%"},
      {u"100%%", {}, u"100%"},
      {u"no args", {}, u"no args"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.Fmt, c.Args), c.Expected) << testing::PrintToString(String(c.Fmt));
}

TEST(FormatRoutine, StringsIndexesAndStars) {
  const String abc = u"abc";
  struct Case {
    const char16_t* Fmt;
    std::vector<TVarRec> Args;
    String Expected;
  };
  const Case cases[] = {
      {u"%s", {abc}, u"abc"},
      {u"%.2s", {abc}, u"ab"},
      {u"%.5s", {abc}, u"abc"},
      {u"%5s|", {abc}, u"  abc|"},
      {u"%-5s|", {abc}, u"abc  |"},
      {u"%5.1s|", {abc}, u"    a|"},
      {u"%s", {u"lit"}, u"lit"},
      {u"%s", {u'c'}, u"c"},
      {u"%s", {"utf8 \xE4\xB8\xAD"}, u"utf8 \x4E2D"},
      {u"%s", {static_cast<const char16_t*>(nullptr)}, u""},
      {u"%1:s %0:s %s", {u"a", u"b"}, u"b a b"},  // after an index the next argument follows it
      {u"%0:s-%0:s", {u"x"}, u"x-x"},
      {u"%*d|", {5, 42}, u"   42|"},
      {u"%-*d|", {4, 7}, u"7   |"},
      {u"%.*f", {3, 3.14159}, u"3.142"},
      {u"%*.*f|", {8, 2, 3.14159}, u"    3.14|"},
      {u"%.*s", {1, abc}, u"a"},
      {u"%2:-4d|", {1, 2, 3}, u"3   |"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.Fmt, c.Args), c.Expected) << testing::PrintToString(String(c.Fmt));
}

TEST(FormatRoutine, Floats) {
  struct Case {
    const char16_t* Fmt;
    std::vector<TVarRec> Args;
    String Expected;
  };
  const Case cases[] = {
      {u"%f", {1.0}, u"1.00"},
      {u"%.0f", {2.5}, u"3"},
      {u"%.3f", {-1.0625}, u"-1.063"},  // an exact half rounds away from zero
      {u"%8.3f|", {3.14159}, u"   3.142|"},
      {u"%-8.1f|", {3.14159}, u"3.1     |"},
      {u"%f", {1.5f}, u"1.50"},
      {u"%f", {Extended(0.25)}, u"0.25"},
      {u"%e", {1234.5}, u"1.23450000000000E+003"},
      {u"%.3e", {1234.5}, u"1.23E+003"},
      {u"%e", {-0.00012}, u"-1.20000000000000E-004"},
      {u"%g", {0.1}, u"0.1"},
      {u"%g", {1234.5}, u"1234.5"},
      {u"%g", {1.0 / 3.0}, u"0.333333333333333"},
      {u"%.3g", {3.14159}, u"3.14"},
      {u"%n", {1234567.891}, u"1,234,567.89"},
      {u"%.0n", {1234567.891}, u"1,234,568"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.Fmt, c.Args), c.Expected) << testing::PrintToString(String(c.Fmt));
}

TEST(FormatRoutine, ErrorsRaiseConvertError) {
  struct Case {
    const char16_t* Fmt;
    std::vector<TVarRec> Args;
    String Message;
  };
  const Case cases[] = {
      {u"%d", {1.5}, u"Format '%d' invalid or incompatible with argument"},
      {u"%f", {1}, u"Format '%f' invalid or incompatible with argument"},
      {u"%s", {1}, u"Format '%s' invalid or incompatible with argument"},
      {u"%d", {u"12"}, u"Format '%d' invalid or incompatible with argument"},
      {u"%x", {true}, u"Format '%x' invalid or incompatible with argument"},
      {u"%p", {1}, u"Format '%p' invalid or incompatible with argument"},
      {u"%z", {1}, u"Format '%z' invalid or incompatible with argument"},
      {u"%*d", {1.0, 2}, u"Format '%*d' invalid or incompatible with argument"},
      {u"abc%", {1}, u"Format 'abc%' invalid or incompatible with argument"},
      {u"%5", {1}, u"Format '%5' invalid or incompatible with argument"},
      {u"%d %d", {1}, u"No argument for format '%d %d'"},
      {u"%s", {}, u"No argument for format '%s'"},
      {u"%3:s", {u"a"}, u"No argument for format '%3:s'"},
      // The format is quoted up to its 31st character.
      {u"0123456789012345678901234567890123456789 %d", {u"x"},
       u"Format '0123456789012345678901234567890' invalid or incompatible with argument"},
  };
  for (const Case& c : cases) {
    try {
      Format(c.Fmt, c.Args);
      ADD_FAILURE() << "no exception for " << testing::PrintToString(String(c.Fmt));
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST(FormatRoutine, ExceptionCreateFmt) {
  EConvertError e(SInvalidInteger, {u"abc"});
  EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value");
  EXPECT_EQ(Exception::CreateFmt(u"%s=%d", {u"n", 3}).Message(), u"n=3");
  // CreateFmt keeps the class it is called on.
  EXPECT_THROW(throw EListError::CreateFmt(SListIndexError, {-1}), EListError);
}
