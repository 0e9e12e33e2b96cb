#include "common/gtest.h"

#include <climits>

#include "rtl/SysUtils.h"

// --- 1-based positions and clamping -----------------------------------------

TEST(StringPositions, PosAndPosEx) {
  struct Case {
    String Sub, S;
    Integer Offset, Expected;
  };
  const Case cases[] = {
      {u"b", u"abcabc", 1, 2},   {u"b", u"abcabc", 3, 5},  {u"b", u"abcabc", 6, 0},
      {u"abc", u"abcabc", 1, 1}, {u"x", u"abc", 1, 0},     {u"", u"abc", 1, 0},
      {u"a", u"", 1, 0},         {u"b", u"abc", 0, 0},     {u"b", u"abc", 4, 0},
      {u"c", u"abc", 3, 3},      {u"abcd", u"abc", 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PosEx(c.Sub, c.S, c.Offset), c.Expected) << "PosEx in " << testing::PrintToString(c.S);
    if (c.Offset == 1) {
      EXPECT_EQ(Pos(c.Sub, c.S), c.Expected);
    }
  }
  EXPECT_EQ(Pos(u'c', u"abc"), 3);
  EXPECT_EQ(Pos(u'z', u"abc"), 0);
}

TEST(StringPositions, CopyClamps) {
  struct Case {
    Integer Index, Count;
    String Expected;
  };
  const Case cases[] = {
      {1, 3, u"abc"}, {2, 2, u"bc"},   {0, 2, u"ab"},  {-5, 2, u"ab"}, {4, 10, u"de"}, {5, 1, u"e"},
      {6, 1, u""},    {100, 1, u""},   {2, 0, u""},    {2, -1, u""},   {1, INT_MAX, u"abcde"},
      {3, INT_MAX, u"cde"},
  };
  for (const Case& c : cases) EXPECT_EQ(Copy(u"abcde", c.Index, c.Count), c.Expected) << c.Index << "," << c.Count;
  EXPECT_EQ(Copy(u"abcde", 3), u"cde");
  EXPECT_EQ(Copy(u"", 1, 1), u"");
}

TEST(StringPositions, DeleteClamps) {
  struct Case {
    Integer Index, Count;
    String Expected;
  };
  const Case cases[] = {
      {1, 1, u"bcde"}, {2, 2, u"ade"}, {4, 10, u"abc"}, {0, 2, u"abcde"}, {6, 1, u"abcde"},
      {3, 0, u"abcde"}, {3, -2, u"abcde"}, {5, INT_MAX, u"abcd"},
  };
  for (const Case& c : cases) {
    String s = u"abcde";
    Delete(s, c.Index, c.Count);
    EXPECT_EQ(s, c.Expected) << c.Index << "," << c.Count;
  }
}

TEST(StringPositions, InsertClamps) {
  struct Case {
    Integer Index;
    String Expected;
  };
  const Case cases[] = {{1, u"XYabc"}, {2, u"aXYbc"}, {4, u"abcXY"}, {0, u"XYabc"}, {-3, u"XYabc"}, {99, u"abcXY"}};
  for (const Case& c : cases) {
    String s = u"abc";
    Insert(u"XY", s, c.Index);
    EXPECT_EQ(s, c.Expected) << c.Index;
  }
}

TEST(StringPositions, DelimitersAndLength) {
  EXPECT_EQ(LastDelimiter(u"\\.", u"C:\\dir\\file.txt"), 12);
  EXPECT_EQ(LastDelimiter(u"\\", u"C:\\dir\\file.txt"), 7);
  EXPECT_EQ(LastDelimiter(u"/", u"abc"), 0);
  EXPECT_TRUE(IsDelimiter(u",;", u"a,b", 2));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 1));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 0));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 4));
  String s = u"ab";
  SetLength(s, 4);
  EXPECT_EQ(Length(s), 4);
  EXPECT_EQ(s[3], u'\0');
  SetLength(s, -1);
  EXPECT_EQ(s, u"");
}

// --- Trimming, case and comparison ---------------------------------------------

TEST(StringTrimCase, Trim) {
  const String s = u" \t\r\n a b \x01\x1F ";
  EXPECT_EQ(Trim(s), u"a b");
  EXPECT_EQ(TrimLeft(s), u"a b \x01\x1F ");
  EXPECT_EQ(TrimRight(s), u" \t\r\n a b");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(u"\x00A0x\x00A0"), u"\x00A0x\x00A0");  // no-break space is not <= ' '
}

TEST(StringTrimCase, AsciiCaseOnlyTouchesAscii) {
  EXPECT_EQ(UpperCase(u"abc\x00E9z{"), u"ABC\x00E9Z{");
  EXPECT_EQ(LowerCase(u"ABC\x00C9Z@["), u"abc\x00C9z@[");
  EXPECT_EQ(UpCase(u'q'), u'Q');
  EXPECT_EQ(UpCase(u'\x00E9'), u'\x00E9');
}

TEST(StringTrimCase, AnsiCaseMapsLetters) {
  EXPECT_EQ(AnsiUpperCase(u"abc\x00E9\x00FF\x0101\x03B1\x0431"), u"ABC\x00C9\x0178\x0100\x0391\x0411");
  EXPECT_EQ(AnsiLowerCase(u"ABC\x00C9\x0178\x0100\x0391\x0411"), u"abc\x00E9\x00FF\x0101\x03B1\x0431");
  EXPECT_EQ(AnsiUpperCase(u"\x4E2D\x6587 1"), u"\x4E2D\x6587 1");  // no case: unchanged
  EXPECT_TRUE(AnsiSameText(u"\x00C9t\x00E9", u"\x00E9T\x00C9"));
  EXPECT_FALSE(AnsiSameStr(u"\x00C9t\x00E9", u"\x00E9T\x00C9"));
  EXPECT_TRUE(AnsiStartsText(u"ST", u"string"));
  EXPECT_FALSE(AnsiStartsStr(u"ST", u"string"));
  EXPECT_TRUE(AnsiEndsText(u"ING", u"string"));
  EXPECT_TRUE(AnsiContainsText(u"Hello World", u"o w"));
  EXPECT_FALSE(AnsiStartsText(u"longer than", u"long"));
}

TEST(StringTrimCase, CompareStrAndTextReturnDifferences) {
  struct Case {
    String A, B;
    Integer Str, Text;
  };
  const Case cases[] = {
      {u"abc", u"abc", 0, 0},
      {u"abc", u"abd", 'c' - 'd', 'C' - 'D'},
      {u"abc", u"ABC", 'a' - 'A', 0},
      {u"ab", u"abc", -1, -1},
      {u"abcd", u"ab", 2, 2},
      {u"a", u"_", 'a' - '_', 'A' - '_'},  // upper-casing decides the order against '_'
      {u"", u"", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareStr(c.A, c.B), c.Str) << testing::PrintToString(c.A) << " vs " << testing::PrintToString(c.B);
    EXPECT_EQ(CompareText(c.A, c.B), c.Text) << testing::PrintToString(c.A) << " vs " << testing::PrintToString(c.B);
    EXPECT_EQ(SameStr(c.A, c.B), c.Str == 0);
    EXPECT_EQ(SameText(c.A, c.B), c.Text == 0);
  }
  EXPECT_FALSE(SameText(u"\x00E9", u"\x00C9"));  // ASCII-only
}

TEST(StringTrimCase, AnsiCompareIsSignedAndOrdersLetters) {
  EXPECT_EQ(AnsiCompareText(u"apple", u"APPLE"), 0);
  EXPECT_EQ(AnsiCompareText(u"apple", u"Banana"), -1);
  EXPECT_EQ(AnsiCompareText(u"cherry", u"Banana"), 1);
  EXPECT_EQ(AnsiCompareStr(u"apple", u"apple"), 0);
  EXPECT_EQ(AnsiCompareStr(u"apple", u"Apple"), -1);  // equal but for case: lower case first
  EXPECT_EQ(AnsiCompareStr(u"Apple", u"apple"), 1);
  EXPECT_EQ(AnsiCompareStr(u"apple", u"Banana"), -1);  // letters before case
  EXPECT_EQ(AnsiCompareStr(u"b", u"a"), 1);
  EXPECT_EQ(AnsiCompareText(u"ab", u"abc"), -1);
}

// --- Replace, quoting, misc -----------------------------------------------------

TEST(StringReplaceQuote, StringReplace) {
  struct Case {
    String S, Old, New;
    TReplaceFlags Flags;
    String Expected;
  };
  const Case cases[] = {
      {u"aXbXc", u"X", u"--", 0, u"a--bXc"},
      {u"aXbXc", u"X", u"--", rfReplaceAll, u"a--b--c"},
      {u"axbXc", u"X", u"_", rfReplaceAll, u"axb_c"},
      {u"axbXc", u"X", u"_", rfReplaceAll | rfIgnoreCase, u"a_b_c"},
      {u"axbXc", u"X", u"_", rfIgnoreCase, u"a_bXc"},
      {u"aaaa", u"aa", u"a", rfReplaceAll, u"aa"},  // no rescanning of the replacement
      {u"abc", u"", u"x", rfReplaceAll, u"abc"},
      {u"abc", u"abc", u"", rfReplaceAll, u""},
      {u"\x00E9t\x00C9", u"\x00C9", u"e", rfReplaceAll | rfIgnoreCase, u"ete"},
  };
  for (const Case& c : cases) EXPECT_EQ(StringReplace(c.S, c.Old, c.New, c.Flags), c.Expected);
}

TEST(StringReplaceQuote, Quoting) {
  EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
  EXPECT_EQ(QuotedStr(u""), u"''");
  EXPECT_EQ(AnsiQuotedStr(u"say \"hi\"", u'"'), u"\"say \"\"hi\"\"\"");
  struct Case {
    String S, Expected;
  };
  const Case cases[] = {
      {u"'abc'", u"abc"}, {u"'it''s'", u"it's"}, {u"abc", u"abc"},   {u"'abc", u"'abc"},
      {u"''", u""},       {u"'ab'cd", u"ab"},    {u"", u""},         {u"'", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiDequotedStr(c.S, u'\''), c.Expected) << testing::PrintToString(c.S);
  size_t p = 2;
  EXPECT_EQ(AnsiExtractQuotedStr(u"x='a''b' rest", p, u'\''), u"a'b");
  EXPECT_EQ(p, 8u);
}

TEST(StringReplaceQuote, StartsEndsOfChar) {
  EXPECT_TRUE(StartsStr(u"ab", u"abc"));
  EXPECT_FALSE(StartsStr(u"AB", u"abc"));
  EXPECT_TRUE(StartsText(u"AB", u"abc"));
  EXPECT_TRUE(EndsStr(u"bc", u"abc"));
  EXPECT_TRUE(EndsText(u"BC", u"abc"));
  EXPECT_FALSE(EndsStr(u"abcd", u"abc"));
  EXPECT_TRUE(ContainsText(u"Hello", u"LL"));
  EXPECT_TRUE(ContainsStr(u"Hello", u""));
  EXPECT_FALSE(ContainsStr(u"Hello", u"LL"));
  EXPECT_EQ(StringOfChar(u'*', 3), u"***");
  EXPECT_EQ(StringOfChar(u'*', -1), u"");
  EXPECT_TRUE(CharInSet(u'b', u"abc"));
  EXPECT_FALSE(CharInSet(u'x', {u'a', u'b'}));
  EXPECT_EQ(AdjustLineBreaks(u"a\nb\rc\r\nd\n\re"), u"a\r\nb\r\nc\r\nd\r\ne");
  EXPECT_EQ(AdjustLineBreaks(u"a\r\nb\rc", tlbsLF), u"a\nb\nc");
}

// --- Integer conversions ---------------------------------------------------------

TEST(IntegerConversion, IntToStrAndHex) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(-42), u"-42");
  EXPECT_EQ(IntToStr(INT_MIN), u"-2147483648");
  EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(IntToStr(INT64_MAX), u"9223372036854775807");
  EXPECT_EQ(UIntToStr(UINT64_MAX), u"18446744073709551615");
  EXPECT_EQ(IntToHex(255, 4), u"00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), u"1234");  // never truncates
  EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");  // Integer: 32-bit two's complement
  EXPECT_EQ(IntToHex(Int64(-1), 4), u"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0, 0), u"0");
  EXPECT_EQ(IntToHex(Cardinal(0xABCDEF01u), 8), u"ABCDEF01");
}

TEST(IntegerConversion, StrToIntTable) {
  struct Case {
    String S;
    bool Ok;
    Integer Value;
  };
  const Case cases[] = {
      {u"0", true, 0},
      {u"123", true, 123},
      {u"-123", true, -123},
      {u"+7", true, 7},
      {u"  42", true, 42},  // leading blanks skipped
      {u"42 ", false, 0},   // trailing blanks are junk
      {u"", false, 0},
      {u" ", false, 0},
      {u"-", false, 0},
      {u"12a", false, 0},
      {u"1.0", false, 0},
      {u"\t1", false, 0},
      {u"2147483647", true, INT_MAX},
      {u"2147483648", false, 0},  // overflow
      {u"-2147483648", true, INT_MIN},
      {u"-2147483649", false, 0},
      {u"99999999999999999999", false, 0},
      {u"$1F", true, 31},
      {u"0x1f", true, 31},
      {u"0X1F", true, 31},
      {u"x10", true, 16},
      {u"-$10", true, -16},
      {u"$FFFFFFFF", true, -1},  // hexadecimal spans the unsigned range
      {u"$7FFFFFFF", true, INT_MAX},
      {u"$100000000", false, 0},
      {u"$", false, 0},
      {u"0x", false, 0},
      {u"$G", false, 0},
      {u"0012", true, 12},
  };
  for (const Case& c : cases) {
    Integer v = 12345;
    EXPECT_EQ(TryStrToInt(c.S, v), c.Ok) << testing::PrintToString(c.S);
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << testing::PrintToString(c.S);
      EXPECT_EQ(StrToInt(c.S), c.Value);
    } else {
      EXPECT_EQ(v, 12345) << "untouched on failure";
      EXPECT_EQ(StrToIntDef(c.S, -9), -9);
      try {
        StrToInt(c.S);
        ADD_FAILURE() << "no exception for " << testing::PrintToString(c.S);
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'" + c.S + u"' is not a valid integer value");
      }
    }
  }
}

TEST(IntegerConversion, StrToInt64Table) {
  struct Case {
    String S;
    bool Ok;
    Int64 Value;
  };
  const Case cases[] = {
      {u"9223372036854775807", true, INT64_MAX},
      {u"-9223372036854775808", true, INT64_MIN},
      {u"9223372036854775808", false, 0},
      {u"2147483648", true, 2147483648LL},
      {u"$FFFFFFFFFFFFFFFF", true, -1},
      {u"$10000000000000000", false, 0},
      {u"12x", false, 0},
  };
  for (const Case& c : cases) {
    Int64 v = 0;
    EXPECT_EQ(TryStrToInt64(c.S, v), c.Ok) << testing::PrintToString(c.S);
    if (c.Ok) {
      EXPECT_EQ(v, c.Value);
    } else {
      EXPECT_THROW(StrToInt64(c.S), EConvertError);
      EXPECT_EQ(StrToInt64Def(c.S, 5), 5);
    }
  }
}

TEST(IntegerConversion, Booleans) {
  struct Case {
    String S;
    bool Ok, Value;
  };
  const Case cases[] = {
      {u"-1", true, true}, {u"0", true, false},     {u"1", true, true},       {u"2.5", true, true},
      {u"True", true, true}, {u"true", true, true}, {u"FALSE", true, false},  {u"yes", false, false},
      {u"", false, false},   {u"0.0", true, false},
  };
  for (const Case& c : cases) {
    bool b = false;
    EXPECT_EQ(TryStrToBool(c.S, b), c.Ok) << testing::PrintToString(c.S);
    if (c.Ok) {
      EXPECT_EQ(b, c.Value) << testing::PrintToString(c.S);
    }
  }
  EXPECT_EQ(BoolToStr(true), u"-1");
  EXPECT_EQ(BoolToStr(false), u"0");
  EXPECT_EQ(BoolToStr(true, true), u"True");
  EXPECT_EQ(BoolToStr(false, true), u"False");
  EXPECT_TRUE(StrToBoolDef(u"junk", true));
  try {
    StrToBool(u"junk");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'junk' is not a valid boolean value");
  }
}

// --- Exceptions --------------------------------------------------------------

struct TAnimal : TObject {};
struct TDog : TAnimal {};
struct TCat : TAnimal {};

TEST(Exceptions, MessagesHierarchyAndCasts) {
  try {
    throw EListError(SListIndexError, {5});
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    EXPECT_EQ(e.ClassName(), u"EListError");
  }
  try {
    throw EFOpenError(u"\x6587\x4EF6");
  } catch (const EStreamError& e) {  // file errors are stream errors
    EXPECT_STREQ(e.what(), "\xE6\x96\x87\xE4\xBB\xB6");
  }
  Exception e(u"a");
  e.SetMessage(u"b");
  Exception copy(e);
  EXPECT_EQ(copy.Message(), u"b");
  EXPECT_STREQ(copy.what(), "b");

  TDog dog;
  TObject* obj = &dog;
  EXPECT_EQ(As<TAnimal>(obj), &dog);
  EXPECT_EQ(As<TCat>(static_cast<TObject*>(nullptr)), nullptr);
  try {
    As<TCat>(obj);
    ADD_FAILURE();
  } catch (const EInvalidCast& ex) {
    EXPECT_EQ(ex.Message(), u"Invalid class typecast");
  }
  EXPECT_TRUE(Is<TAnimal>(obj));
  EXPECT_FALSE(Is<TCat>(obj));

  try {
    Assert(false);
    ADD_FAILURE();
  } catch (const EAssertionFailed& ex) {
    EXPECT_EQ(ex.Message(), u"Assertion failure");
  }
  EXPECT_NO_THROW(Assert(true));
  EXPECT_THROW(Abort(), EAbort);
  try {
    RaiseLastOSError(2);
    ADD_FAILURE();
  } catch (const EOSError& ex) {
    EXPECT_EQ(ex.ErrorCode, 2u);
    EXPECT_EQ(Pos(u"System Error.  Code: 2.", ex.Message()), 1);
  }
}

// --- UTF-8 -------------------------------------------------------------------

TEST(Utf8, RoundTrip) {
  const String texts[] = {
      u"",
      u"plain ASCII",
      u"\x4E2D\x6587\x6587\x672C\xFF0C\x6D4B\x8BD5",  // Chinese text
      u"\x00E9\x00DF\x20AC",                          // 2- and 3-byte forms
      u"\xD83D\xDE00 emoji",                          // surrogate pair -> 4 bytes
      String(u"nul\0inside", 10),
  };
  for (const String& s : texts) EXPECT_EQ(UTF8Decode(UTF8Encode(s)), s);
  EXPECT_EQ(UTF8Encode(u"\x4E2D\x6587"), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(UTF8Encode(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(UTF8Encode(u"\x00E9"), "\xC3\xA9");
  EXPECT_EQ(UTF8ToString("\xE4\xB8\xAD"), u"\x4E2D");
}

TEST(Utf8, InvalidBytesBecomeReplacementCharacters) {
  const String R = u"\xFFFD";
  struct Case {
    const char* Name;
    std::string Bytes;
    String Expected;
  };
  const Case cases[] = {
      {"lone continuation", "a\x80z", u"a" + R + u"z"},
      {"two continuations", "\xBF\xBF", R + R},
      {"overlong 2-byte", "\xC0\xAF", R + R},
      {"overlong C1", "\xC1\xBF", R + R},
      {"overlong 3-byte", "\xE0\x80\xAF", R + R + R},
      {"overlong 4-byte", "\xF0\x80\x80\xAF", R + R + R + R},
      {"truncated 2-byte at end", "a\xC3", u"a" + R},
      {"truncated 3-byte at end", "\xE4\xB8", R + R},
      {"truncated 3-byte before ASCII", "\xE4\xB8x", R + R + u"x"},
      {"truncated 4-byte", "\xF0\x9F\x98", R + R + R},
      {"encoded high surrogate", "\xED\xA0\x80", R + R + R},
      {"encoded low surrogate", "\xED\xBF\xBF", R + R + R},
      {"past U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R},
      {"F5 lead", "\xF5\x80\x80\x80", R + R + R + R},
      {"FE and FF", "\xFE\xFF", R + R},
      {"lead then lead", "\xC3\xC3\xA9", R + u"\x00E9"},
      {"largest valid", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"last before surrogates", "\xED\x9F\xBF", u"\xD7FF"},
  };
  for (const Case& c : cases) EXPECT_EQ(UTF8Decode(c.Bytes), c.Expected) << c.Name;
}

TEST(Utf8, LoneSurrogatesEncodeAsReplacement) {
  EXPECT_EQ(UTF8Encode(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(UTF8Encode(u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(UTF8Encode(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // reversed pair
  EXPECT_EQ(UTF8Encode(u"x\xD83D"), "x\xEF\xBF\xBD");                  // high at the end
}

TEST(Utf8, AsciiHelpers) {
  EXPECT_EQ(AsciiToString("abc"), u"abc");
  EXPECT_EQ(StringToAscii(u"ab\x4E2D"), "ab?");
}
