// String routines: searching, padding, number lists, versions, size texts and
// the decoding of downloaded text.
#include "common/gtest.h"

#include <vector>

#include "foundation/app/HyStrUtils.h"
#include "rtl/FileIO.h"

namespace {

TEST(StrSearch, LastPosAndCountOccurrences) {
  struct Case {
    const char16_t* Text;
    const char16_t* Sub;
    Integer Last;
    Integer Count;
  } cases[] = {
      {u"a\\b\\c", u"\\", 4, 2}, {u"aaaa", u"aa", 3, 3},  // overlapping occurrences count
      {u"abc", u"", 0, 0},       {u"abc", u"x", 0, 0},
      {u"", u"a", 0, 0},         {u"ab", u"abc", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LastPos(c.Text, c.Sub), c.Last);
    EXPECT_EQ(CountOccurrences(c.Sub, c.Text), c.Count);
  }
}

TEST(StrLists, PadRangeSequenceSet) {
  EXPECT_EQ(PadToLength(u"7", 3, u' ', true), u"  7");
  EXPECT_EQ(PadToLength(u"1234", 3, u' ', true), u"123");
  EXPECT_EQ(PadToLength(u"ab", 4, u'0', false), u"ab00");
  EXPECT_EQ(PadToLength(u"ab", 0, u'0', false), u"");
  EXPECT_EQ(RangeToStr(2, 2, u','), u"2");
  EXPECT_EQ(RangeToStr(-1, 2, u';'), u"-1;0;1;2");
  EXPECT_EQ(RangeToStr(3, 2, u','), u"");
  EXPECT_EQ(RangeToStr(2147483646, 2147483647, u','), u"2147483646,2147483647");
  EXPECT_EQ(NumberSeqToStr(u", ", 5, 3, true), u"5, 6, 7");
  EXPECT_EQ(NumberSeqToStr(u"/", 1, 3, false), u"1/0/-1");
  EXPECT_EQ(NumberSeqToStr(u"/", 1, 0, false), u"");
  std::bitset<256> set;
  set[0] = set[3] = set[200] = set[255] = true;
  EXPECT_EQ(SetToStr(set, u",", 255), u"0,3,200,255");
  EXPECT_EQ(SetToStr(set, u",", 100), u"0,3");
  EXPECT_EQ(IfThenStr(true, u"a", u"b"), u"a");
  EXPECT_EQ(IfThenInt(false, 1, 2), 2);
}

TEST(StrLists, SplitToVariant) {
  std::vector<String> v;
  SplitToVariant(u",", u"a,,b", false, v);
  EXPECT_EQ(v, (std::vector<String>{u"a", u"", u"b"}));
  SplitToVariant(u",", u"abc", false, v);
  EXPECT_EQ(v, (std::vector<String>{u"abc"}));
  SplitToVariant(u",", u"ab", true, v);
  EXPECT_EQ(v, (std::vector<String>{u"a", u"b"}));
  SplitToVariant(u",", u"", false, v);
  EXPECT_TRUE(v.empty());
  SplitToVariant(u"::", u"x::y::", false, v);
  EXPECT_EQ(v, (std::vector<String>{u"x", u"y", u""}));
}

TEST(StrRandom, ClassesAndLength) {
  struct Case {
    Integer Classes;
    const char16_t* Allowed;
  } cases[] = {
      {rcDigits, u"0123456789"},
      {rcUpper, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {rcLower | rcDigits, u"abcdefghijklmnopqrstuvwxyz0123456789"},
      {0, u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
  };
  for (const Case& c : cases) {
    const String allowed = c.Allowed;
    String seen;
    for (int round = 0; round < 40; ++round) {
      const String s = RandomStr(50, c.Classes);
      ASSERT_EQ(s.size(), 50u);
      for (Char ch : s) {
        ASSERT_NE(allowed.find(ch), String::npos) << static_cast<int>(ch);
        if (seen.find(ch) == String::npos) seen.push_back(ch);
      }
    }
    EXPECT_EQ(seen.size(), allowed.size());  // every allowed character turns up
  }
  EXPECT_EQ(RandomStr(0, 0), u"");
}

TEST(StrVersion, CompareVersion) {
  struct Case {
    const char16_t* A;
    const char16_t* B;
    const char16_t* Result;
  } cases[] = {
      {u"2.0", u"10.0", u"<"},   {u"1.0", u"", u""},       {u"", u"1.0", u""},     {u"1.2", u"1.2.0", u"<"},
      {u"1.2.0", u"1.2", u">"},  {u"1.10", u"1.9", u">"},  {u"3.1.4", u"3.1.4", u"="},
      {u"2.0b", u"2.0", u""},    {u"1..2", u"1.0.2", u""}, {u"1.2.", u"1.2", u""}, {u"-1", u"1", u""},
      {u"99999999999", u"1", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareVersion(c.A, c.B), c.Result);
}

TEST(StrByteSize, ShortestHalfEvenTexts) {
  struct Case {
    Int64 Size;
    const char16_t* Text;
  } cases[] = {
      {0, u"0 Bytes"},
      {1023, u"1023 Bytes"},
      {1024, u"1 KB"},
      {2560, u"2 KB"},  // 2.5 to the even neighbour
      {3584, u"4 KB"},  // 3.5
      {1048575, u"1024 KB"},
      {1310720, u"1.2 MB"},  // 1.25
      {1835008, u"1.8 MB"},  // 1.75
      {1048576, u"1 MB"},
      {104857600, u"100 MB"},
      {105906176, u"101 MB"},
      {157286400, u"150 MB"},
      {1610612736, u"1.5 GB"},
      {Int64(200) * 1073741824 + 536870912, u"200 GB"},  // 200.5 rounds to even
  };
  for (const Case& c : cases) EXPECT_EQ(ByteSizeToStr(c.Size), c.Text) << c.Size;
  EXPECT_EQ(ByteSizeToStr(1610612736, u','), u"1,5 GB");
}

TEST(StrDecode, ByteOrderMarksUtf8AndAnsi) {
  EXPECT_EQ(DecodeTextBytes("\xEF\xBB\xBFhi \xE4\xB8\xAD"), u"hi 中");
  EXPECT_EQ(DecodeTextBytes(RawByteString("\xFF\xFE" "A\0-N", 6)), u"A\u4E2D");
  EXPECT_EQ(DecodeTextBytes(RawByteString("\xFE\xFF\0A\x4E\x2D", 6)), u"A\u4E2D");
  EXPECT_EQ(DecodeTextBytes("plain ascii"), u"plain ascii");
  EXPECT_EQ(DecodeTextBytes("\xE7\x90\xAE\xE8\x8A\x83"), u"琮芃");
  // invalid UTF-8 goes through the ANSI code page
  const RawByteString bad = "a\xC3(b";
  EXPECT_EQ(DecodeTextBytes(bad), AnsiBytesToString(bad.data(), bad.size()));
  // validity is judged up to the first zero byte; everything is decoded
  const RawByteString nul("\xE4\xB8\xAD\0\xFF", 5);
  EXPECT_EQ(DecodeTextBytes(nul).substr(0, 2), String(u"中\0", 2));
  EXPECT_EQ(DecodeTextBytes(""), u"");
}

}  // namespace
