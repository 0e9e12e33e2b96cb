// Config.db set-up, the shared table's accessors, row comparisons and colour texts.
#include "common/gtest.h"

#include <climits>
#include <memory>
#include <vector>

#include "foundation/app/HyAppUtils.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

namespace {

#ifdef LUMIGRA_NATIVE
const String kDelim = u"/";
#else
const String kDelim = u"\\";
#endif

RawByteString ReadBytes(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyNone);
  RawByteString b(static_cast<size_t>(fs.Size()), '\0');
  if (!b.empty()) fs.ReadBuffer(b.data(), static_cast<Integer>(b.size()));
  return b;
}

void WriteBytes(const String& FileName, const RawByteString& Bytes) {
  TFileStream fs(FileName, fmCreate);
  if (!Bytes.empty()) fs.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

class AppTables : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = GetTempDirectory() + u"lumigra-app-" + IntToStr(RandomInt(1 << 30)) + kDelim;
    ASSERT_TRUE(ForceDirectories(FDir.substr(0, FDir.size() - 1)));
    FOldShare = ShareFile;
    ShareFile = FDir + u"Share6.db";
  }
  void TearDown() override {
    ShareFile = FOldShare;
    TSearchRec sr;
    if (FindFirst(FDir + u"*", faAnyFile, sr) == 0) {
      do {
        if (sr.Name != u"." && sr.Name != u"..") DeleteFile(FDir + sr.Name);
      } while (FindNext(sr) == 0);
      FindClose(sr);
    }
    RemoveDir(FDir.substr(0, FDir.size() - 1));
  }
  // A Share6.db made of the given row texts.
  void WriteShare(std::initializer_list<const char16_t*> Rows) {
    TDataTable dt;
    dt.SetIOMode(2);
    for (const char16_t* r : Rows) dt.AddItem(r);
    dt.SaveAs(ShareFile);
  }
  std::unique_ptr<TDataTable> ReadShare() {
    auto dt = std::make_unique<TDataTable>();
    dt->SetIOMode(2);
    dt->Load(ShareFile, 0, 0);
    return dt;
  }
  String FDir, FOldShare;
};

// ---- Config.db ---------------------------------------------------------------------

TEST_F(AppTables, ConfigFirstRunCreatesDefaultsAndSecondRunReadsThem) {
  const String file = FDir + u"Config.db";
  std::unique_ptr<TDataTable> dt(NewConfigTable());
  EXPECT_TRUE(LoadConfigTable(dt.get(), file, 1252, u"61760 AMD64 64"));
  ASSERT_TRUE(FileExists(file));
  EXPECT_EQ(dt->ItemCount(), 10);
  for (Integer r = 0; r < 10; ++r) EXPECT_EQ(dt->Items(r)->ItemCount(), 50);
  EXPECT_EQ(dt->PropCount(), 100);
  EXPECT_EQ(dt->Props(1)->Value(), 1252);
  EXPECT_EQ(dt->Props(46)->Text(), u"61760 AMD64 64");
  dt->Props(5)->SetText(u"kept");
  dt->Items(3)->Items(7)->SetText(u"cell");
  dt->Save(true);

  std::unique_ptr<TDataTable> again(NewConfigTable());
  EXPECT_FALSE(LoadConfigTable(again.get(), file, 936, u"other"));
  EXPECT_EQ(again->Props(1)->Value(), 1252);  // written at the first run only
  EXPECT_EQ(again->Props(5)->Text(), u"kept");
  EXPECT_EQ(again->Items(3)->Items(7)->Text(), u"cell");
  EXPECT_FALSE(FileExists(file + u".damaged"));
}

TEST_F(AppTables, DamagedConfigIsReplacedAndKeptBeside) {
  const String file = FDir + u"Config.db";
  const RawByteString junk = "\x01\x02garbage that is no settings file\xFF";
  WriteBytes(file, junk);
  std::unique_ptr<TDataTable> dt(NewConfigTable());
  EXPECT_TRUE(LoadConfigTable(dt.get(), file, 1252, u"x"));
  EXPECT_EQ(dt->ItemCount(), 10);
  EXPECT_EQ(dt->PropCount(), 100);
  ASSERT_TRUE(FileExists(file + u".damaged"));
  EXPECT_EQ(ReadBytes(file + u".damaged"), junk);
  std::unique_ptr<TDataTable> again(NewConfigTable());
  EXPECT_FALSE(LoadConfigTable(again.get(), file, 1252, u"x"));  // the new file is sound
}

// A table that loads but is shorter than the code reads is padded, never cut.
TEST_F(AppTables, ShortConfigIsPaddedNotTruncated) {
  const String file = FDir + u"Config.db";
  {
    std::unique_ptr<TDataTable> dt(NewConfigTable());
    dt->Init(2, 3);
    dt->Items(1)->Items(2)->SetText(u"b");
    while (dt->Items(0)->ItemCount() < 60) dt->Items(0)->AddItem(u"z");
    dt->SetPropCount(4);
    dt->Props(1)->SetText(u"936");
    for (Integer i = 0; i < 12; ++i) dt->AddItem(u"extra");
    dt->SaveAs(file);
  }
  std::unique_ptr<TDataTable> dt(NewConfigTable());
  EXPECT_FALSE(LoadConfigTable(dt.get(), file, 1252, u"x"));
  EXPECT_EQ(dt->ItemCount(), 14);
  EXPECT_EQ(dt->Items(0)->ItemCount(), 60);
  for (Integer r = 1; r < 10; ++r) EXPECT_GE(dt->Items(r)->ItemCount(), 50) << r;
  EXPECT_EQ(dt->Items(1)->Items(2)->Text(), u"b");
  EXPECT_EQ(dt->PropCount(), 100);
  EXPECT_EQ(dt->Props(1)->Value(), 936);
  EXPECT_EQ(LangIndexOf(dt.get()), 0);
}

TEST(AppLanguage, ColumnFollowsStoredCodePage) {
  struct Case {
    const char16_t* Prop1;
    Integer Lang;
  } cases[] = {{u"936", 0}, {u"1252", 2}, {u"", 2}, {u"9360", 2}, {u"65001", 2}};
  for (const Case& c : cases) {
    TDataTable dt;
    dt.SetPropCount(100);
    dt.Props(1)->SetText(c.Prop1);
    EXPECT_EQ(LangIndexOf(&dt), c.Lang) << static_cast<int>(c.Lang);
  }
}

// ---- Share6.db ---------------------------------------------------------------------

TEST_F(AppTables, ShareWritesKeepOtherRowsAndMatchIdsIgnoringCase) {
  WriteShare({u"Gallery,100,,,abc123,,,,,,,,,,D:\\Pics", u"Halvarn,7"});
  EXPECT_TRUE(WriteShareCells(u"LumigraBas", 1, u"-5", -1, u"ignored"));
  auto dt = ReadShare();
  ASSERT_EQ(dt->ItemCount(), 3);
  EXPECT_EQ(dt->Items(0)->Items(14)->Text(), u"D:\\Pics");
  EXPECT_EQ(dt->Items(1)->ItemCount(), 2);  // a foreign short row stays as it is
  TRow* ours = dt->Items(2);
  ASSERT_EQ(ours->ItemCount(), 15);
  EXPECT_EQ(ours->Items(0)->Text(), u"LumigraBas");
  EXPECT_EQ(ours->Items(1)->Text(), u"-5");
  for (Integer c = 2; c < 15; ++c) EXPECT_TRUE(ours->Items(c)->Text().empty()) << c;
  EXPECT_EQ(ReadShareCell(u"lumigrabas", 1), u"-5");
  EXPECT_EQ(ReadShareCell(u"GALLERY", 4), u"abc123");
  EXPECT_EQ(ReadShareCell(u"Nobody", 1), u"");
  EXPECT_EQ(ReadShareCell(u"Halvarn", 9), u"");  // missing cell of a short row reads empty
}

TEST_F(AppTables, ShareUnchangedTextLeavesFileUntouched) {
  WriteShare({u"LumigraBas,12,,,id0001,,,,,,,,,,"});
  const RawByteString before = ReadBytes(ShareFile);
  EXPECT_TRUE(WriteShareCells(u"LumigraBas", 1, u"12", 4, u"id0001"));
  EXPECT_EQ(ReadBytes(ShareFile), before);
  EXPECT_TRUE(WriteShareCells(u"LumigraBas", 1, u"13", -1, u""));
  EXPECT_NE(ReadBytes(ShareFile), before);
  EXPECT_EQ(ReadShareCell(u"LumigraBas", 1), u"13");
}

// Another program's short row is extended before a write; free text with
// commas survives both raw and escaped.
TEST_F(AppTables, ShareShortRowExtendedAndCommaTextRoundTrips) {
  WriteShare({u"Gallery,5"});
  EXPECT_TRUE(WriteShareCells(u"Gallery", 14, u"C:\\a,b|c", -1, u""));
  std::unique_ptr<TRow> r(GetShareRow(u"Gallery"));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->ItemCount(), 15);
  EXPECT_EQ(r->Items(1)->Text(), u"5");
  EXPECT_EQ(r->Items(14)->Text(), u"C:\\a,b|c");
  EXPECT_TRUE(WriteShareCells(u"Gallery", 14, EscapeTableText(u"E:\\x,y"), -1, u""));
  EXPECT_EQ(ReadShareCell(u"Gallery", 14), u"E:\\x,y");
  const RawByteString before = ReadBytes(ShareFile);
  EXPECT_TRUE(WriteShareCells(u"Gallery", 14, u"E:\\x,y", -1, u""));  // the same folder, raw
  EXPECT_EQ(ReadBytes(ShareFile), before);
  EXPECT_EQ(ReadShare()->ItemCount(), 1);
}

TEST_F(AppTables, SaveShareRowReplacesOrAppends) {
  WriteShare({u"Gallery,1", u"LumigraBas,2,,,old"});
  std::unique_ptr<TRow> row(NewShareRow(u"LumigraBas"));
  row->Items(1)->SetText(u"77");
  EXPECT_TRUE(SaveShareRow(u"LumigraBas", row.get()));
  auto dt = ReadShare();
  ASSERT_EQ(dt->ItemCount(), 2);
  EXPECT_EQ(dt->Items(1)->Items(1)->Text(), u"77");
  EXPECT_EQ(dt->Items(1)->Items(4)->Text(), u"");
  std::unique_ptr<TRow> other(NewShareRow(u"Halvarn"));
  EXPECT_TRUE(SaveShareRow(u"Halvarn", other.get()));
  EXPECT_EQ(ReadShare()->ItemCount(), 3);
  EXPECT_EQ(GetShareRow(u"Missing"), nullptr);
}

// ---- comparisons ------------------------------------------------------------------------

std::unique_ptr<TRow> MakeRow(std::initializer_list<const char16_t*> Cells) {
  auto r = std::make_unique<TRow>(nullptr);
  r->Init(Cells);
  return r;
}

TEST(AppRowCompare, ValueComparesWithoutOverflowAndTiesAscend) {
  auto lo = MakeRow({u"-2147483648", u"1"});
  auto hi = MakeRow({u"2147483647", u"2"});
  auto hi2 = MakeRow({u"2147483647", u"1"});
  const auto asc = TSortDirection::Ascending, desc = TSortDirection::Descending;
  EXPECT_LT(CompareRowsByValue(lo.get(), hi.get(), 0, asc, 1), 0);
  EXPECT_GT(CompareRowsByValue(hi.get(), lo.get(), 0, asc, 1), 0);
  EXPECT_GT(CompareRowsByValue(lo.get(), hi.get(), 0, desc, 1), 0);
  EXPECT_LT(CompareRowsByValue(hi.get(), lo.get(), 0, desc, 1), 0);
  // equal values: the tie column, ascending in both directions
  EXPECT_GT(CompareRowsByValue(hi.get(), hi2.get(), 0, asc, 1), 0);
  EXPECT_GT(CompareRowsByValue(hi.get(), hi2.get(), 0, desc, 1), 0);
  EXPECT_EQ(CompareRowsByValue(hi.get(), hi.get(), 0, desc, 1), 0);

  TDataTable dt;
  for (const char16_t* s : {u"5,0", u"2147483647,0", u"-2147483648,0", u"0,0", u"-1,0"}) dt.AddItem(s);
  dt.Sort(smCustom, [&](TRow* a, TRow* b) { return CompareRowsByValue(a, b, 0, asc, 1); });
  std::vector<String> order;
  for (Integer i = 0; i < dt.ItemCount(); ++i) order.push_back(dt.Items(i)->Items(0)->Text());
  EXPECT_EQ(order, (std::vector<String>{u"-2147483648", u"-1", u"0", u"5", u"2147483647"}));
}

TEST(AppRowCompare, DatesReadWithPointAndJunkComparesAsZero) {
  struct Case {
    const char16_t* A;
    const char16_t* B;
    Integer Asc;  // sign with Ascending
  } cases[] = {
      {u"45000.25", u"45000.5", -1}, {u"45000.5", u"45000.25", 1}, {u"-1.5", u"0", -1},
      {u"abc", u"0", 0},             {u"1,5", u"0", 0},            {u"inf", u"0", 0},
      {u"nan", u"0", 0},             {u"1e400", u"0", 0},          {u"", u"0", 0},
  };
  for (const Case& c : cases) {
    auto a = MakeRow({c.A, u"1"});
    auto b = MakeRow({c.B, u"1"});
    auto sign = [](Integer v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
    EXPECT_EQ(sign(CompareRowsByDate(a.get(), b.get(), 0, TSortDirection::Ascending, 1)), c.Asc);
    EXPECT_EQ(sign(CompareRowsByDate(a.get(), b.get(), 0, TSortDirection::Descending, 1)), -c.Asc);
  }
  auto t1 = MakeRow({u"45000.5", u"2"});
  auto t2 = MakeRow({u"45000.5", u"9"});
  EXPECT_LT(CompareRowsByDate(t1.get(), t2.get(), 0, TSortDirection::Ascending, 1), 0);
  EXPECT_LT(CompareRowsByDate(t1.get(), t2.get(), 0, TSortDirection::Descending, 1), 0);
}

TEST(AppColorText, ChannelsInDecimal) {
  String s;
  ColorToARGBStr(0x80FF0010u, true, s);
  EXPECT_EQ(s, u"(128, 255, 0, 16)");
  ColorToARGBStr(0xFFFFFFFFu, false, s);
  EXPECT_EQ(s, u"255, 255, 255, 255");
}

}  // namespace
