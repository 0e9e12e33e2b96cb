#include "common/gtest.h"

#include <memory>
#include <random>
#include <string>

#include "rtl/IniFiles.h"
#include "rtl/test_streams_tempdir.h"

namespace {

using V = std::vector<String>;

TMemIniFile* FromText(const String& Text) {
  auto* Ini = new TMemIniFile();
  TStringList L;
  L.SetText(Text);
  Ini->SetStrings(&L);
  return Ini;
}

V Lines(const std::function<void(TStrings*)>& Fill) {
  TStringList L;
  Fill(&L);
  return L.ToStringArray();
}

class IniFileTest : public ::testing::Test {
 protected:
  std::string ReadAll() const { return T.ReadAll("t.ini"); }
  void WriteAll(const std::string& Bytes) const { T.WriteAll("t.ini", Bytes); }
  TTempFolder T{"lumigra_ini_"};
  // Always a full path: the profile functions take a bare name to mean a
  // file in the Windows folder.
  const String File = T.Path("t.ini");
};

}  // namespace

TEST(MemIniParse, ForgivingText) {
  std::unique_ptr<TMemIniFile> Ini(FromText(
      u"orphan=1\r\n"
      u"; comment\r\n"
      u"\r\n"
      u"  [ Main ]  \r\n"
      u"  Key  =  spaced value  \r\n"
      u"empty=\r\n"
      u"noequals\r\n"
      u"a=b=c\r\n"
      u"=nokey\r\n"
      u"\t;indented comment\r\n"
      u"[Other]\r\n"
      u"n=0x1F\r\n"
      u"[broken\r\n"
      u"]\r\n"
      u"[]\r\n"
      u"e=1\r\n"));
  EXPECT_EQ(Lines([&](TStrings* S) { Ini->ReadSections(S); }), (V{u"Main", u"Other", u""}));
  EXPECT_EQ(Ini->ReadString(u"main", u"KEY", u"d"), u"spaced value");
  EXPECT_EQ(Ini->ReadString(u"Main", u"empty", u"d"), u"");
  EXPECT_EQ(Ini->ReadString(u"Main", u"noequals", u"d"), u"d");
  EXPECT_EQ(Ini->ReadString(u"Main", u"a", u"d"), u"b=c");
  EXPECT_EQ(Ini->ReadString(u"Main", u"orphan", u"d"), u"d");  // before any section: ignored
  EXPECT_EQ(Ini->ReadString(u"Nope", u"a", u"d"), u"d");
  // Malformed section lines belong to the section before them.
  EXPECT_EQ(Lines([&](TStrings* S) { Ini->ReadSectionValues(u"Other", S); }), (V{u"n=0x1F", u"[broken", u"]"}));
  EXPECT_EQ(Ini->ReadInteger(u"Other", u"n", 0), 31);
  EXPECT_EQ(Ini->ReadString(u"", u"e", u"d"), u"1");
  EXPECT_EQ(Lines([&](TStrings* S) { Ini->ReadSection(u"Main", S); }),
            (V{u"Key", u"empty", u"", u"a", u""}));
}

TEST(MemIniParse, NeverCrashesOnOddInput) {
  std::mt19937 rng(12345);
  const Char alphabet[] = {u'[', u']', u'=', u';', u' ', u'\t', u'\r', u'\n', u'a', u'B', u'\0', u'"', u'\u4e2d', 0xD800};
  for (int round = 0; round < 300; ++round) {
    String text;
    size_t n = rng() % 80;
    for (size_t i = 0; i < n; ++i) text += alphabet[rng() % (sizeof alphabet / sizeof alphabet[0])];
    std::unique_ptr<TMemIniFile> Ini(FromText(text));
    TStringList Sections, Out;
    Ini->ReadSections(&Sections);
    for (Integer i = 0; i < Sections.Count(); ++i) {
      Ini->ReadSectionValues(Sections.Strings(i), &Out);
      Ini->ReadSection(Sections.Strings(i), &Out);
      Ini->ReadInteger(Sections.Strings(i), u"a", 0);
      Ini->ReadFloat(Sections.Strings(i), u"a", 0);
    }
    TStringList Text;
    Ini->GetStrings(&Text);
    // What it writes it reads back the same.
    std::unique_ptr<TMemIniFile> Again(new TMemIniFile());
    Again->SetStrings(&Text);
    TStringList Text2;
    Again->GetStrings(&Text2);
    EXPECT_EQ(Text2.ToStringArray(), Text.ToStringArray()) << testing::PrintToString(text);
  }
}

TEST(MemIniValues, TypedReadsAndWrites) {
  TMemIniFile Ini;
  struct IntCase {
    String Text;
    Integer Expected;
  };
  const IntCase ints[] = {{u"42", 42}, {u"-7", -7}, {u"0x10", 16}, {u"0XfF", 255}, {u"$20", 32},
                          {u"", 5},    {u"4x", 5},  {u"99999999999", 5}, {u" 8", 8}};
  for (const IntCase& c : ints) {
    Ini.WriteString(u"S", u"i", c.Text);
    EXPECT_EQ(Ini.ReadInteger(u"S", u"i", 5), c.Expected) << testing::PrintToString(c.Text);
  }
  struct BoolCase {
    String Text;
    bool Default, Expected;
  };
  const BoolCase bools[] = {{u"1", false, true}, {u"0", true, false}, {u"-1", false, true},
                            {u"2", false, true}, {u"yes", true, true}, {u"yes", false, false}};
  for (const BoolCase& c : bools) {
    Ini.WriteString(u"S", u"b", c.Text);
    EXPECT_EQ(Ini.ReadBool(u"S", u"b", c.Default), c.Expected) << testing::PrintToString(c.Text);
  }
  Ini.WriteBool(u"S", u"b", true);
  EXPECT_EQ(Ini.ReadString(u"S", u"b", u""), u"1");
  Ini.WriteFloat(u"S", u"f", 0.5);
  EXPECT_EQ(Ini.ReadString(u"S", u"f", u""), u"0.5");
  EXPECT_EQ(Ini.ReadFloat(u"S", u"f", 9), 0.5);
  Ini.WriteString(u"S", u"f", u"1,5");
  EXPECT_EQ(Ini.ReadFloat(u"S", u"f", 9), 9);
  Ini.WriteInteger(u"S", u"i", -3);
  EXPECT_EQ(Ini.ReadString(u"s", u"I", u""), u"-3");
}

TEST(MemIniEdit, SectionsKeysAndText) {
  std::unique_ptr<TMemIniFile> Ini(FromText(u"[A]\r\nx=1\r\n[B]\r\n[C]\r\ny=2\r\n"));
  EXPECT_TRUE(Ini->SectionExists(u"a"));
  EXPECT_FALSE(Ini->SectionExists(u"B"));  // no keys: counts as absent
  EXPECT_TRUE(Ini->ValueExists(u"C", u"Y"));
  EXPECT_FALSE(Ini->ValueExists(u"C", u"z"));
  Ini->WriteString(u"a", u"X", u"new");  // replaces, in the written case
  Ini->WriteString(u"D", u"k", u"v");    // new section at the end
  Ini->DeleteKey(u"C", u"y");
  Ini->EraseSection(u"b");
  EXPECT_TRUE(Ini->Modified());
  EXPECT_EQ(Lines([&](TStrings* S) { Ini->GetStrings(S); }),
            (V{u"[A]", u"X=new", u"", u"[C]", u"", u"[D]", u"k=v", u""}));
}

// Names of printable ASCII (but "-" and "'") are looked up through hashes of
// their ASCII-folded form: this holds only while the locale's case-insensitive
// comparison treats such names exactly so. Pinned for every pair of characters,
// and no such character may be ignored by the comparison.
TEST(MemIniLookup, PlainNamesCompareByAsciiFolding) {
  auto Fold = [](Char C) { return C >= u'a' && C <= u'z' ? Char(C - 32) : C; };
  for (Char A = 0x20; A <= 0x7E; ++A) {
    if (A == u'-' || A == u'\'') continue;
    EXPECT_FALSE(AnsiSameText(String(u"a") + A + u"b", u"ab")) << int(A);
    for (Char B = 0x20; B <= 0x7E; ++B) {
      if (B == u'-' || B == u'\'') continue;
      if (AnsiSameText(String(1, A), String(1, B)) != (Fold(A) == Fold(B))) ADD_FAILURE() << int(A) << " " << int(B);
    }
  }
}

// Hashed and compared lookups give the same answers through edits.
TEST(MemIniLookup, IndexesFollowEdits) {
  std::unique_ptr<TMemIniFile> Ini(FromText(u"[Sec]\r\nKey=1\r\nkey=2\r\n[sec]\r\nk=3\r\n[Über]\r\nÄ=4\r\nx-y=5\r\n"));
  EXPECT_EQ(Ini->ReadString(u"SEC", u"KEY", u""), u"1");  // the first of duplicates
  EXPECT_EQ(Ini->ReadString(u"sec", u"k", u"none"), u"none");  // the first section of the name
  EXPECT_EQ(Ini->ReadString(u"Über", u"Ä", u""), u"4");
  EXPECT_EQ(Ini->ReadString(u"Über", u"X-Y", u""), u"5");
  Ini->WriteString(u"SEC", u"new", u"6");
  EXPECT_EQ(Ini->ReadString(u"Sec", u"NEW", u""), u"6");
  Ini->DeleteKey(u"Sec", u"key");
  EXPECT_EQ(Ini->ReadString(u"Sec", u"key", u""), u"2");  // the other line of the name now
  Ini->EraseSection(u"Sec");
  EXPECT_EQ(Ini->ReadString(u"Sec", u"k", u""), u"3");  // the second section is now the first
  Ini->WriteString(u"Sec", u"a-b", u"7");
  Ini->WriteString(u"Sec", u"A-B", u"8");
  EXPECT_EQ(Ini->ReadString(u"sec", u"a-b", u""), u"8");
  Ini->WriteString(u"Neu", u"k", u"9");
  EXPECT_EQ(Ini->ReadString(u"NEU", u"K", u""), u"9");
}

TEST_F(IniFileTest, MemIniFileRoundTripAndEncoding) {
  WriteAll("\xEF\xBB\xBF[Skin]\r\nName=\xE4\xB8\xAD\r\n");
  {
    TMemIniFile Ini(File);
    EXPECT_EQ(Ini.Encoding(), TEncoding::UTF8);
    EXPECT_EQ(Ini.ReadString(u"skin", u"name", u""), u"\u4e2d");
    Ini.WriteInteger(u"Skin", u"Size", 3);
    Ini.UpdateFile();
  }
  EXPECT_EQ(ReadAll(), "\xEF\xBB\xBF[Skin]\r\nName=\xE4\xB8\xAD\r\nSize=3\r\n\r\n");
  TMemIniFile Other;
  Other.Rename(File, true);
  EXPECT_EQ(Other.ReadInteger(u"Skin", u"Size", 0), 3);
  // A missing file is an empty ini.
  TMemIniFile Missing(T.Path("none.ini"));
  EXPECT_EQ(Lines([&](TStrings* S) { Missing.ReadSections(S); }), V{});
}

TEST_F(IniFileTest, IniFileWritesThrough) {
  {
    TIniFile Ini(File);
    Ini.WriteString(u"Main", u"a", u"1");
    Ini.WriteInteger(u"Main", u"b", 2);
    Ini.WriteBool(u"Other", u"c", true);
  }
  // Visible to a fresh reader at once, without UpdateFile.
  TMemIniFile Check(File);
  EXPECT_EQ(Check.ReadString(u"Main", u"a", u""), u"1");
  EXPECT_EQ(Check.ReadInteger(u"Main", u"b", 0), 2);
  EXPECT_TRUE(Check.ReadBool(u"Other", u"c", false));

  TIniFile Ini(File);
  EXPECT_EQ(Ini.ReadString(u"main", u"A", u"d"), u"1");
  EXPECT_EQ(Ini.ReadString(u"main", u"zz", u"d"), u"d");
  EXPECT_EQ(Lines([&](TStrings* S) { Ini.ReadSections(S); }), (V{u"Main", u"Other"}));
  EXPECT_EQ(Lines([&](TStrings* S) { Ini.ReadSection(u"Main", S); }), (V{u"a", u"b"}));
  EXPECT_EQ(Lines([&](TStrings* S) { Ini.ReadSectionValues(u"Main", S); }), (V{u"a=1", u"b=2"}));
  Ini.DeleteKey(u"Main", u"a");
  Ini.EraseSection(u"Other");
  EXPECT_FALSE(Ini.ValueExists(u"Main", u"a"));
  EXPECT_FALSE(Ini.SectionExists(u"Other"));
  EXPECT_TRUE(Ini.SectionExists(u"Main"));
  // Surrounding quotes are dropped as the profile functions do.
  Ini.WriteString(u"Main", u"q", u"\"quoted\"");
  EXPECT_EQ(Ini.ReadString(u"Main", u"q", u""), u"quoted");
  // A long value comes back whole.
  String longValue(5000, u'x');
  Ini.WriteString(u"Main", u"long", longValue);
  EXPECT_EQ(Ini.ReadString(u"Main", u"long", u""), longValue);
}

// A file that exists but cannot be read raises EFOpenError naming it, on
// loading and on a reloading rename; reading it as empty would lose its
// contents at the next UpdateFile. Cases: a folder of that name, and a file
// another handle holds exclusively (left as it was).
TEST_F(IniFileTest, UnreadableExistingFileRaises) {
  struct Case {
    const char* What;
    bool Folder;
  } cases[] = {{"a folder", true}, {"a file held exclusively", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    THandle held = InvalidFileHandle;
    if (c.Folder) {
      ASSERT_TRUE(ForceDirectories(File));
    } else {
      WriteAll("[A]\r\nk=1\r\n");
      held = FileOpen(File, fmOpenReadWrite | fmShareExclusive);
      ASSERT_NE(held, InvalidFileHandle);
    }
    try {
      TMemIniFile Ini(File);
      ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& E) {
      EXPECT_NE(E.Message().find(File), String::npos) << ToUtf8(E.Message());
    }
    EXPECT_THROW(TMemIniFile(File, TEncoding::UTF8), EFOpenError);
    TMemIniFile Other;
    EXPECT_THROW(Other.Rename(File, true), EFOpenError);
    if (c.Folder) {
      ASSERT_TRUE(RemoveDir(File));
    } else {
      FileClose(held);
      EXPECT_EQ(ReadAll(), "[A]\r\nk=1\r\n");
      TMemIniFile Ini(File);
      EXPECT_EQ(Ini.ReadInteger(u"A", u"k", 0), 1);
      ASSERT_TRUE(DeleteFile(File));
    }
  }
}
