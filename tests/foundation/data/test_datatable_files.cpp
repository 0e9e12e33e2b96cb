#include "common/gtest.h"

#include <deque>
#include <string>
#include <vector>

#include "foundation/data/HyCrypUtils.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

namespace {

#ifdef LUMIGRA_NATIVE
constexpr Char kDelim = u'/';
#else
constexpr Char kDelim = u'\\';
#endif

std::string Unhex(const std::string& h) {
  std::string r;
  for (size_t i = 0; i + 1 < h.size(); i += 2) r += static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16));
  return r;
}

std::string ReadAll(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyNone);
  std::string b(static_cast<size_t>(fs.Size()), '\0');
  if (!b.empty()) fs.ReadBuffer(b.data(), static_cast<Integer>(b.size()));
  return b;
}

void WriteAll(const String& FileName, const std::string& Bytes) {
  TFileStream fs(FileName, fmCreate);
  if (!Bytes.empty()) fs.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

std::vector<String> RowTexts(const TDataTable& dt) {
  std::vector<String> v;
  for (Integer i = 0; i < dt.ItemCount(); ++i) v.push_back(dt.Items(i)->ToString(true));
  return v;
}

// A settings-file table: check bytes and the stream container.
void MakeSettings(TDataTable& dt) {
  dt.SetIsAddVerifyCode(true);
  dt.SetIOMode(2);
}

class DataTableFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const String base = GetTempDirectory() + u"lumigra-tables-" + IntToStr(RandomInt(1 << 30));
    ASSERT_TRUE(ForceDirectories(base));
    FDir = base + kDelim;
  }
  void TearDown() override {
    for (const String& f : FCreated) DeleteFile(f);
    RemoveDir(ExcludeTrailing(FDir));
  }
  static String ExcludeTrailing(const String& s) { return s.substr(0, s.size() - 1); }
  String File(const String& Name) {
    FCreated.push_back(FDir + Name);
    FCreated.push_back(FDir + Name + u".tmp");
    return FDir + Name;
  }
  String FDir;
  std::vector<String> FCreated;
};

class ScriptedRandom {
 public:
  explicit ScriptedRandom(std::vector<Integer> Values) : FValues(Values.begin(), Values.end()) {
    FOld = SetContainerRandomSource([this](Integer) {
      if (FValues.empty()) return 0;
      Integer v = FValues.front();
      FValues.pop_front();
      return v;
    });
  }
  ~ScriptedRandom() { SetContainerRandomSource(FOld); }

 private:
  std::deque<Integer> FValues;
  TContainerRandomSource FOld;
};

}  // namespace

TEST_F(DataTableFiles, SaveLoadRoundTripAndCheckBytes) {
  const String name = File(u"Config.db");
  TDataTable a(u"", CellIndexSet({1}));
  MakeSettings(a);
  a.Init(u"#p,q#1,\u4e2d\u6587|2,x");
  a.Items(1)->Items(1)->SetText(u"a,b|c");
  a.SaveAs(name);
  EXPECT_FALSE(a.DataChanged());
  EXPECT_FALSE(FileExists(name + u".tmp"));
  const std::string bytes = ReadAll(name);
  ASSERT_GT(bytes.size(), 6u + 18u);
  // Check bytes: r1 r2 r3 ... (r3-12) (r2+99) (r1+31), mod 256.
  const Byte r1 = bytes[0], r2 = bytes[1], r3 = bytes[2];
  const size_t n = bytes.size();
  EXPECT_LE(r1, 254);
  EXPECT_EQ(static_cast<Byte>(bytes[n - 3]), (r3 - 12) & 0xFF);
  EXPECT_EQ(static_cast<Byte>(bytes[n - 2]), (r2 + 99) & 0xFF);
  EXPECT_EQ(static_cast<Byte>(bytes[n - 1]), (r1 + 31) & 0xFF);
  // Payload: CAST-128 (id 1) and SHA-1 (id 2) hidden in the salt.
  EXPECT_EQ((static_cast<Byte>(bytes[3 + 8]) - static_cast<Byte>(bytes[3 + 4])) & 0xFF, 1);
  EXPECT_EQ((static_cast<Byte>(bytes[3 + 9]) - static_cast<Byte>(bytes[3 + 5])) & 0xFF, 2);
  EXPECT_EQ(n, 6u + 18u + ToUtf8(a.ToString(true)).size());

  TDataTable b(u"", CellIndexSet({1}));
  MakeSettings(b);
  b.Load(name, 5, 5);
  EXPECT_EQ(b.ToString(true), a.ToString(true));
  EXPECT_EQ(b.Items(1)->Items(1)->Text(), u"a,b|c");
  EXPECT_FALSE(b.DataChanged());
  EXPECT_EQ(b.FileName(), name);

  // Any one of the six check bytes flipped: rejected, automatic rows.
  for (size_t pos : {size_t{0}, size_t{1}, size_t{2}, n - 3, n - 2, n - 1}) {
    std::string bad = bytes;
    bad[pos] = static_cast<char>(bad[pos] ^ 0x01);
    WriteAll(name, bad);
    TDataTable c;
    MakeSettings(c);
    c.Load(name, 2, 3);
    EXPECT_EQ(RowTexts(c), (std::vector<String>{u",,", u",,"})) << "byte " << pos;
    EXPECT_TRUE(c.DataChanged());
  }
  // A 6-byte file with matching check bytes is still too short.
  WriteAll(name, bytes.substr(0, 3) + bytes.substr(n - 3));
  TDataTable d;
  MakeSettings(d);
  d.Load(name, 0, 0);
  EXPECT_EQ(d.ItemCount(), 0);
}

TEST_F(DataTableFiles, WrapAroundCheckBytesAndFreshSalts) {
  const String name = File(u"wrap.db");
  TDataTable a;
  MakeSettings(a);
  a.Init(u"1,2,3");
  {
    // r1 = 230, r2 = 200, r3 = 3: every closing byte wraps past 255 or below 0.
    ScriptedRandom rnd({230, 200, 3});
    a.SaveAs(name);
  }
  const std::string bytes = ReadAll(name);
  const size_t n = bytes.size();
  EXPECT_EQ(static_cast<Byte>(bytes[n - 3]), 247);
  EXPECT_EQ(static_cast<Byte>(bytes[n - 2]), 43);
  EXPECT_EQ(static_cast<Byte>(bytes[n - 1]), 5);
  TDataTable b;
  MakeSettings(b);
  b.Load(name, 1, 1);
  EXPECT_EQ(RowTexts(b), std::vector<String>{u"1,2,3"});

  // Two saves of the same table differ (check bytes, salt, IV) and both load.
  a.Save(true);
  const std::string first = ReadAll(name);
  a.Save(true);
  const std::string second = ReadAll(name);
  EXPECT_NE(first, second);
  EXPECT_NE(first.substr(0, 21), second.substr(0, 21));
  for (const std::string& f : {first, second}) {
    WriteAll(name, f);
    TDataTable c;
    MakeSettings(c);
    c.Load(name, 1, 1);
    EXPECT_EQ(RowTexts(c), std::vector<String>{u"1,2,3"});
  }
}

TEST_F(DataTableFiles, IndependentlyBuiltSettingsFile) {
  // tests/foundation/data/fixtures/make_containers.py: check bytes 200 160 5, then
  // CAST-128/SHA-1 over "#a,,#1,x|2,y|3,\u4e2d\u6587" (21 bytes: a tail of 5).
  const String name = File(u"reference.db");
  WriteAll(name,
           Unhex("c8a0050af1004de6810340e78300ff112233445566194a0aa4293d33e7bfc81f954b8d8d8331a1964d87f903e7"));
  TDataTable t;
  MakeSettings(t);
  t.Load(name, 9, 9);
  EXPECT_EQ(t.PropertyRow()->ToString(true), u"a,,");
  EXPECT_EQ(RowTexts(t), (std::vector<String>{u"1,x", u"2,y", u"3,\u4e2d\u6587"}));

  // Flag 4 alone: the file is the string container (Rijndael/MD5) as UTF-8.
  const String name4 = File(u"flag4.db");
  WriteAll(name4, "Zz09Yy184XQRSTUVWXYZ012345/C+I4a8WwVJSrgo1rra4EQ==");
  TDataTable f;
  f.SetIOMode(4);
  f.Load(name4, 0, 0);
  EXPECT_EQ(f.PropertyRow()->ToString(true), u"p");
  EXPECT_EQ(RowTexts(f), (std::vector<String>{u"x,y", u"z"}));
}

TEST_F(DataTableFiles, LayerCombinationsRoundTrip) {
  const String name = File(u"layers.db");
  for (Integer mode : {0, 1, 2, 3, 4, 5, 6, 7})
    for (bool verify : {false, true}) {
      TDataTable a(u"", CellIndexSet({0}));
      a.SetIOMode(mode);
      a.SetIsAddVerifyCode(verify);
      a.Init(u"#x#\u00e9,1|b,2|,");
      a.Items(2)->Items(0)->SetText(u"c,d");
      a.SaveAs(name);
      TDataTable b(u"", CellIndexSet({0}));
      b.SetIOMode(mode);
      b.SetIsAddVerifyCode(verify);
      b.Load(name, 0, 0);
      EXPECT_EQ(b.ToString(true), a.ToString(true)) << mode << "/" << verify;
      if (mode == 0 && !verify) {
        EXPECT_EQ(ReadAll(name), ToUtf8(a.ToString(true)));  // no byte-order mark
      }
    }
}

TEST_F(DataTableFiles, LineBreaksWithFlag1) {
  const String name = File(u"lines.db");
  TDataTable a;
  a.SetIOMode(1);
  a.Init(u"a|b");
  a.Items(0)->Items(0)->SetText(u"x\r\ny\nz\r");
  a.SaveAs(name);
  EXPECT_EQ(ReadAll(name), "#,,,,,,,,,#\r\nx\r\ny\nz\r\r\n|b");
  TDataTable b;
  b.SetIOMode(1);
  b.Load(name, 0, 0);
  // The row breaks go; the cell keeps its CR LF, LF and CR.
  EXPECT_EQ(RowTexts(b), (std::vector<String>{u"x\r\ny\nz\r", u"b"}));
}

TEST_F(DataTableFiles, CellTextsWithLineBreaksRoundTripInEveryLayer) {
  const String name = File(u"lines-layers.db");
  const String texts[] = {u"line1\r\nline2", u"\r\nfirst", u"last\r\n", u"\r\n", u"a\r\n\r\n|\r\nb"};
  for (Integer mode : {1, 3, 5, 7})
    for (const String& text : texts) {
      TDataTable a(u"", CellIndexSet({0}));
      a.SetIOMode(mode);
      a.SetIsAddVerifyCode(true);
      a.Init(u"#p#x,y|z");
      a.Props(0)->SetText(text);
      a.Items(0)->Items(0)->SetText(text);
      a.Items(0)->Items(1)->SetText(text);  // a plain cell: its "|" is written escaped
      a.Items(1)->Items(0)->SetText(text);
      a.SaveAs(name);
      TDataTable b(u"", CellIndexSet({0}));
      b.SetIOMode(mode);
      b.SetIsAddVerifyCode(true);
      b.Load(name, 0, 0);
      EXPECT_EQ(b.ToString(true), a.ToString(true)) << mode << " " << ToUtf8(text);
      ASSERT_EQ(b.ItemCount(), 2);
      EXPECT_EQ(b.Items(0)->Items(0)->Text(), text);
      EXPECT_EQ(b.Props(0)->Text(), text);
    }
}

TEST_F(DataTableFiles, FilesWithoutLineBreaksInCellsLoadAsBefore) {
  // Before, every CR LF went before parsing: for the texts the table writes
  // when no cell holds a CR LF, the result is the same, byte for byte.
  const String name = File(u"before.db");
  const String texts[] = {u"#a,,#1,x|2,y|3,\u4e2d", u"#p#", u"##", u"#p#|", u"#p#x|", u"#p#,|,", u"#p#a\rb|c\nd"};
  for (Integer mode : {1, 3})
    for (const String& text : texts) {
      TDataTable a;
      a.SetIOMode(mode);
      a.Init(text);
      a.SaveAs(name);
      TDataTable b;
      b.SetIOMode(mode);
      b.Load(name, 0, 0);
      TDataTable old;
      old.SetIOMode(mode);
      old.Init(StringReplace(a.ToString(true), u"\r\n", u"", rfReplaceAll));
      EXPECT_EQ(b.ToString(true), old.ToString(true)) << mode << " " << ToUtf8(text);
      EXPECT_EQ(b.ToString(true), a.ToString(true)) << mode << " " << ToUtf8(text);
    }
}

TEST_F(DataTableFiles, ALoneEmptyRowAndNoRowsComeBackAsSaved) {
  const String name = File(u"lone.db");
  for (Integer mode = 0; mode < 8; ++mode) {
    TDataTable a;
    a.SetIOMode(mode);
    a.SetIsAddVerifyCode(true);
    a.Init(u"");
    a.SaveAs(name);
    TDataTable b;
    b.SetIOMode(mode);
    b.SetIsAddVerifyCode(true);
    b.Load(name, 3, 3);  // automatic rows only for a table that has none
    EXPECT_EQ(RowTexts(b), std::vector<String>{u""}) << mode;
    a.Clear();
    a.SaveAs(name);
    b.Load(name, 0, 0);
    EXPECT_EQ(b.ItemCount(), 0) << mode;
  }
}

TEST_F(DataTableFiles, SaveOnlyWhenChangedOrAsked) {
  const String name = File(u"save.db");
  TDataTable a;
  a.Save(true);  // no file name: nothing
  a.Init(u"1");
  a.SaveAs(name);
  ASSERT_TRUE(FileExists(name));
  DeleteFile(name);
  a.Save(false);  // unchanged: writes nothing
  EXPECT_FALSE(FileExists(name));
  a.SaveAs(u"");  // empty name: nothing, and the name stays
  EXPECT_EQ(a.FileName(), name);
  EXPECT_FALSE(FileExists(name));
  a.Items(0)->Items(0)->SetText(u"2");
  a.Save(false);
  EXPECT_TRUE(FileExists(name));
  EXPECT_FALSE(a.DataChanged());
  DeleteFile(name);
  a.Save(true);
  EXPECT_TRUE(FileExists(name));
}

TEST_F(DataTableFiles, MissingEmptyAndUndecipherableFiles) {
  const String name = File(u"missing.db");
  TDataTable a;
  MakeSettings(a);
  a.Load(name, 10, 50);
  ASSERT_EQ(a.ItemCount(), 10);
  EXPECT_EQ(a.Items(9)->ItemCount(), 50);
  EXPECT_TRUE(a.DataChanged());
  a.Load(name, 0, 0);
  EXPECT_EQ(a.ItemCount(), 0);
  EXPECT_EQ(a.Value(), 0);

  WriteAll(name, "");
  a.Load(name, 1, 2);
  EXPECT_EQ(RowTexts(a), std::vector<String>{u","});

  // Valid check bytes around a payload that does not decipher (bad cipher id,
  // or too short): no rows, so the automatic rows are made.
  const std::string garbageCipher = std::string("\x01\x02\x03", 3) + std::string(8, '\0') + "\x50\x02" +
                                    "payload" + std::string("\xf7\x65\x20", 3);
  const std::string tooShort = std::string("\x01\x02\x03", 3) + "abc" + std::string("\xf7\x65\x20", 3);
  for (const std::string& f : {garbageCipher, tooShort}) {
    WriteAll(name, f);
    TDataTable g;
    MakeSettings(g);
    g.Load(name, 3, 4);
    EXPECT_EQ(RowTexts(g), (std::vector<String>{u",,,", u",,,", u",,,"}));
    EXPECT_TRUE(g.DataChanged());
  }
}

TEST_F(DataTableFiles, FailedSaveKeepsTheOldFile) {
  const String name = File(u"keep.db");
  TDataTable a;
  MakeSettings(a);
  a.Init(u"old");
  a.SaveAs(name);
  const std::string before = ReadAll(name);
  // A folder where the temporary file would go: the save cannot create it.
  ASSERT_TRUE(CreateDir(name + u".tmp"));
  a.Items(0)->Items(0)->SetText(u"new");
  EXPECT_THROW(a.Save(false), EFCreateError);
  EXPECT_TRUE(a.DataChanged());
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_TRUE(DirectoryExists(name + u".tmp"));
  RemoveDir(name + u".tmp");
  a.Save(false);
  EXPECT_FALSE(a.DataChanged());
  TDataTable b;
  MakeSettings(b);
  b.Load(name, 0, 0);
  EXPECT_EQ(RowTexts(b), std::vector<String>{u"new"});
}

TEST_F(DataTableFiles, ContainerFailureIsAWriteError) {
  TDataTable a;
  a.Init(u"x");
  TMemoryStream ms;
  EXPECT_THROW(a.SaveToStream(u"", &ms), EWriteError);  // the container refuses empty data

  class TFullStream : public TMemoryStream {
   public:
    Integer Write(const void* Buffer, Integer Count) override {
      if (Size() + Count > 16) return 0;
      return TMemoryStream::Write(Buffer, Count);
    }
  } full;
  EXPECT_THROW(a.SaveToStream(a.ToString(true), &full), EWriteError);
}

TEST_F(DataTableFiles, AppendFromFileAndLoadFromStream) {
  const String name = File(u"append.db");
  TDataTable src(u"", CellIndexSet({0}));
  src.Init(u"a|b|c");
  src.SaveAs(name);
  TDataTable dst(u"", CellIndexSet({0}));
  dst.SetIsAddVerifyCode(true);  // the file is read with check bytes off
  dst.Init(u"z");
  dst.AppendFromFile(name, 2);
  EXPECT_EQ(RowTexts(dst), (std::vector<String>{u"z", u"a", u"b"}));
  EXPECT_EQ(dst.Items(2)->Id(), 3);

  // Invalid UTF-8 in a plain payload reads as U+FFFD.
  TMemoryStream ms;
  const std::string text = "#\xff#a\xc3";
  ms.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
  ms.SetPosition(0);
  TDataTable t;
  t.SetIOMode(0);
  t.LoadFromStream(&ms);
  EXPECT_EQ(t.Props(0)->Text(), u"\ufffd");
  EXPECT_EQ(RowTexts(t), std::vector<String>{u"a\ufffd"});
}

TEST_F(DataTableFiles, UnopenableFileRaisesAndKeepsTheTable) {
  const String name = File(u"locked.db");
  TDataTable a;
  a.Init(u"on disk");
  a.SaveAs(name);
  TDataTable b;
  b.Init(u"in memory|rows");
  ASSERT_TRUE(b.DataChanged());
  {
    TFileStream lock(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(b.Load(name, 1, 1), EFOpenError);
  }
  EXPECT_EQ(RowTexts(b), (std::vector<String>{u"in memory", u"rows"}));
  EXPECT_TRUE(b.DataChanged());
  b.Load(name, 1, 1);
  EXPECT_EQ(RowTexts(b), std::vector<String>{u"on disk"});
}
