// The number fields' arithmetic as tables: which texts are numbers, the two
// clamp rules, the rewrite of typed numbers, the shown text of a value, wide
// parsing that never raises, and the typed-character filter.
#include "common/gtest.h"

#include <limits>

#include "skin/boxes/NumText.h"

namespace {

// A trace name for a text (the tables hold ASCII only).
std::string Name(const char16_t* S) {
  std::string R;
  for (; *S; ++S) R += char(*S);
  return R;
}

TEST(NumText, WhichTextsAreNumbers) {
  struct Row {
    const char16_t* Text;
    bool Integer, Float;
  };
  const Row Rows[] = {
      {u"", false, false},
      {u"-", false, false},
      // No digit at all: never a number (parsing it would fail).
      {u"-.", false, false},
      {u".", false, false},
      {u".5", false, false},  // the separator may not come first
      {u"-.5", false, true},
      {u"1.2.3", false, false},
      {u"1.", false, true},
      {u"1-", false, false},
      {u"--1", false, false},
      {u"12", true, true},
      {u"-0", true, true},
      {u"12345678901", true, true},
      {u"1a", false, false},
      {u"+1", false, false},
      {u" 1", false, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(Name(R.Text));
    EXPECT_EQ(IsNumText(R.Text, R.Text, false), R.Integer);
    EXPECT_EQ(IsNumText(R.Text, R.Text, true), R.Float);
  }
}

TEST(NumText, ClampRules) {
  struct Row {
    const char* Name;
    double V, Min, Max, Spin, Range;
  };
  const Row Rows[] = {
      {"both bounds 0: no clamp either way", 500, 0, 0, 500, 500},
      {"5 and 5: the spin clamps to 5, the edits do not", 7, 5, 5, 5, 7},
      {"below min", -3, 1, 30000, 1, 1},
      {"above max", 300000, 1, 30000, 30000, 30000},
      {"inside", 12, 1, 30000, 12, 12},
      {"max 0 with a negative min", 4, -10, 0, 0, 0},
      {"min 0 with a positive max", -4, 0, 10, 0, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(ClampSpinValue(R.V, R.Min, R.Max), R.Spin);
    EXPECT_EQ(ClampRangeValue(R.V, R.Min, R.Max), R.Range);
  }
}

TEST(NumText, RewriteOfTypedNumbers) {
  struct Row {
    const char* Name;
    double P, Min, Max;
    bool Rewrite;
  };
  const Row Rows[] = {
      {"1..30000: 0 stays while Value is 1", 0, 1, 30000, false},
      {"1..30000: 300000 rewritten", 300000, 1, 30000, true},
      {"1..30000: -5 rewritten (negative below a positive min)", -5, 1, 30000, true},
      {"-100..100: -500 rewritten", -500, -100, 100, true},
      {"-100..100: -50 kept", -50, -100, 100, false},
      {"-100..100: 500 rewritten", 500, -100, 100, true},
      {"-100..-10: 5 rewritten (positive above a negative max)", 5, -100, -10, true},
      {"-100..-10: -5 stays while Value is -10 (more digits may follow)", -5, -100, -10, false},
      {"no range", 123456, 0, 0, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const double V = ClampRangeValue(R.P, R.Min, R.Max);
    EXPECT_EQ(NumTextNeedsRewrite(V, R.P, R.Min, R.Max), R.Rewrite);
  }
}

TEST(NumText, ShownTextOfValues) {
  struct Row {
    double V;
    TspValueType Kind;
    Integer Decimal;
    const char16_t* Text;
  };
  const Row Rows[] = {
      {2.5, TspValueType::vtInteger, 2, u"2"},  // halves to even
      {3.5, TspValueType::vtInteger, 2, u"4"},
      {-2.5, TspValueType::vtInteger, 2, u"-2"},
      {1.2345, TspValueType::vtFloat, 2, u"1.23"},
      {0.125, TspValueType::vtFloat, 2, u"0.13"},  // decimal digits round half away from zero
      {2.675, TspValueType::vtFloat, 2, u"2.68"},
      {1.5, TspValueType::vtFloat, 2, u"1.50"},
      {-0.5, TspValueType::vtFloat, 0, u"-1"},
      {999, TspValueType::vtFloat, 2, u"999.00"},
      {12345678901.0, TspValueType::vtInteger, 0, u"12345678901"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.V);
    EXPECT_EQ(FormatNumValue(R.V, R.Kind, R.Decimal), R.Text);
  }
}

TEST(NumText, WideParsingNeverRaises) {
  struct Row {
    const char16_t* Text;
    bool Float, Ranged, Ok;
    double Value;
  };
  const Row Rows[] = {
      {u"12", false, false, true, 12},
      {u"-0", false, false, true, 0},
      {u"2147483647", false, false, true, 2147483647.0},
      {u"2147483648", false, false, false, 0},   // beyond 32 bits without a range: not a number
      {u"-2147483649", false, false, false, 0},
      {u"12345678901", false, true, true, 12345678901.0},  // with a range it clamps like any number
      {u"99999999999999999999999", false, true, true, 1e23},
      {u"99999999999999999999999", false, false, false, 0},
      {u"-.5", true, false, true, -0.5},
      {u"1.", true, false, true, 1},
      {u"-.", true, false, false, 0},
      {u"-", false, false, false, 0},
      {u"", true, true, false, 0},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(Name(R.Text));
    double V = -7;
    EXPECT_EQ(ParseNumText(R.Text, R.Float, R.Ranged, V), R.Ok);
    EXPECT_DOUBLE_EQ(V, R.Ok ? R.Value : -7);
  }
}

TEST(NumText, TypedCharacterFilter) {
  struct Row {
    const char* Name;
    Char Key;
    const char16_t* Text;
    bool Float, Editor, Accepted;
  };
  const Row Rows[] = {
      {"digit", u'5', u"12", false, true, true},
      {"minus in an empty text", u'-', u"", false, true, true},
      {"second minus, the first not at the start", u'-', u"1-", false, true, false},
      {"separator without Float", u'.', u"1", false, true, false},
      {"separator with Float", u'.', u"1", true, true, true},
      {"second separator", u'.', u"1.5", true, true, false},
      {"plus never", u'+', u"", true, true, false},
      {"letter", u'a', u"", true, true, false},
      {"Enter is refused", 13, u"", false, true, false},
      {"Ctrl+C passes", 3, u"", false, true, true},
      {"backspace passes", 8, u"1", false, true, true},
      {"editor off: digit refused", u'5', u"", false, false, false},
      {"editor off: backspace refused", 8, u"1", false, false, false},
      {"editor off: Ctrl+C passes", 3, u"1", false, false, true},
      {"code above 255", 0x2024, u"", true, true, false},
      {"full-width digit", 0xFF11, u"", false, true, false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(NumKeyAccepted(R.Key, R.Text, TspNumKeyRules{R.Float, R.Editor}), R.Accepted);
  }
}

}  // namespace

#include "skin/boxes/PopupPlace.h"

namespace {

TEST(PopupPlace, BelowAboveAndClampedAcross) {
  const TRect Work(0, 0, 800, 600);
  struct Row {
    const char* Name;
    TPoint Anchor;
    Integer ControlHeight, W, H;
    TPoint Expected;
  };
  const Row Rows[] = {
      {"room below", {100, 100}, 20, 120, 30, {100, 120}},
      {"passes the bottom: above", {100, 560}, 20, 120, 30, {100, 530}},
      {"just fits the bottom", {100, 550}, 20, 120, 30, {100, 570}},
      {"passes the right edge", {750, 100}, 20, 120, 30, {680, 120}},
      {"left of the work area", {-40, 100}, 20, 120, 30, {0, 120}},
      {"wider than the work area: the right edge wins", {10, 100}, 20, 900, 30, {-100, 120}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    const TPoint P = PlacePopupBelow(R.Anchor, R.ControlHeight, R.W, R.H, Work);
    EXPECT_EQ(P.X, R.Expected.X);
    EXPECT_EQ(P.Y, R.Expected.Y);
  }
}

}  // namespace
