#include "common/gtest.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/data/HyDataTable.h"
#include "rtl/SysUtils.h"

namespace {

std::vector<String> RowTexts(const TDataTable& dt) {
  std::vector<String> v;
  for (Integer i = 0; i < dt.ItemCount(); ++i) v.push_back(dt.Items(i)->ToString(true));
  return v;
}

String Stored(const TDataTable& dt) { return dt.ToString(true); }

struct Event {
  TDataTableChangeMode Mode;
  TRow* Row;
  TCell* Cell;
  Integer D1, D2;
};

}  // namespace

// ---------------------------------------------------------------------------
// Text form

TEST(DataTableText, ParseCases) {
  struct Case {
    String Text;
    String Props;  // property row, stored texts joined by ","
    std::vector<String> Rows;
  } cases[] = {
      {u"", u",,,,,,,,,", {u""}},
      {u"##", u"", {}},
      {u"#a#", u"a", {}},
      {u"x|", u",,,,,,,,,", {u"x", u""}},
      {u"#a", u",,,,,,,,,", {u"#a"}},
      {u"|", u",,,,,,,,,", {u"", u""}},
      {u"#a,,#1,x|2,y", u"a,,", {u"1,x", u"2,y"}},
      {u"#p#|", u"p", {u"", u""}},
      {u"a,b,,c", u",,,,,,,,,", {u"a,b,,c"}},
      {u"#a#b#c", u"a", {u"b#c"}},
      {u"#\x1a\x1b#\x1a,\x1b", u"\x1a\x1b", {u"\x1a,\x1b"}},  // stored forms stay as they are
  };
  for (const Case& c : cases) {
    TDataTable dt;
    dt.Init(c.Text);
    EXPECT_EQ(dt.PropertyRow()->ToString(true), c.Props) << "text: " << ToUtf8(c.Text);
    EXPECT_EQ(RowTexts(dt), c.Rows) << "text: " << ToUtf8(c.Text);
    for (Integer i = 0; i < dt.ItemCount(); ++i) {
      EXPECT_GE(dt.Items(i)->ItemCount(), 1);
      EXPECT_EQ(dt.Items(i)->Id(), i + 1);  // ids are numbered again on load
    }
  }
}

TEST(DataTableText, WriteCases) {
  TDataTable dt;
  dt.SetPropCount(3);
  dt.Props(0)->SetText(u"a");
  dt.AddItem(u"1,x");
  dt.AddItem(u"2,y");
  EXPECT_EQ(dt.ToString(true), u"#a,,#1,x|2,y");
  dt.SetIOMode(dt.IOMode() | 1);
  EXPECT_EQ(dt.ToString(true), u"#a,,#\r\n1,x\r\n|2,y");
  dt.Clear();
  EXPECT_EQ(dt.ToString(true), u"#a,,#\r\n");
  dt.SetIOMode(2);
  EXPECT_EQ(dt.ToString(true), u"#a,,#");
}

TEST(DataTableText, RoundTripKeepsStoredTexts) {
  const TCellIndexSet set = CellIndexSet({1, 3});
  TDataTable a(u"", set);
  a.Props(0)->SetText(u"name");
  a.Props(1)->SetText(u"p,q|r");  // escaped property cell
  TRow* r = a.AddItem(u"0,0,0,0");
  r->Items(1)->SetText(u"a,b|c");
  r->Items(3)->SetText(u"\u4e2d,\u6587");
  a.AddItem(u"x");
  const String text = a.ToString(true);
  TDataTable b(u"", set);
  b.Init(text);
  EXPECT_EQ(b.ToString(true), text);
  EXPECT_EQ(b.Props(1)->Text(), u"p,q|r");
  EXPECT_EQ(b.Items(0)->Items(1)->Text(), u"a,b|c");
  EXPECT_EQ(b.Items(0)->Items(3)->Text(), u"\u4e2d,\u6587");
  EXPECT_EQ(b.Items(0)->ItemCount(), 4);
  EXPECT_EQ(b.ToString(false), u"#name,p,q|r,,,,,,,,#0,a,b|c,0,\u4e2d,\u6587|x");
}

TEST(DataTableText, ALoneEmptyRowIsNotATableWithoutRows) {
  // Both write nothing after the property row; the lone empty row adds a
  // character 0 so that each comes back as it was, in every line-break mode.
  for (Integer mode : {0, 1}) {
    struct Case {
      const char* What;
      std::function<void(TDataTable&)> Make;
      std::vector<String> Rows;
    } cases[] = {
        {"no rows", [](TDataTable& t) { t.Init(u"#p#"); }, {}},
        {"Init of an empty text", [](TDataTable& t) { t.Init(u""); }, {u""}},
        {"one row without cells", [](TDataTable& t) { t.AddEmptyItem(1); }, {u""}},
        {"two empty rows", [](TDataTable& t) { t.Init(u"|"); }, {u"", u""}},
        {"one row of two empty cells", [](TDataTable& t) { t.Init(u","); }, {u","}},
    };
    for (const Case& c : cases) {
      TDataTable a;
      a.SetIOMode(mode);
      c.Make(a);
      const String text = a.ToString(true);
      TDataTable b;
      b.SetIOMode(mode);
      b.Init(mode & 1 ? RemoveRowBreaks(text) : text);
      EXPECT_EQ(RowTexts(b), c.Rows) << c.What << ", mode " << mode;
      EXPECT_EQ(b.PropertyRow()->ToString(true), a.PropertyRow()->ToString(true)) << c.What;
      if (!c.Rows.empty()) {
        EXPECT_EQ(b.Items(0)->ItemCount(), std::max<Integer>(a.Items(0)->ItemCount(), 1));
      }
    }
  }
  // The texts of tables without rows are those written before.
  TDataTable none;
  EXPECT_EQ(none.ToString(true), u"#,,,,,,,,,#");
  none.Init(u"");
  EXPECT_EQ(none.ToString(true), String(u"#,,,,,,,,,#") + Char(0));
  EXPECT_EQ(none.ToString(false), u"#,,,,,,,,,#");  // the display form is unchanged
}

TEST(DataTableText, RowBreaksGoAndLineBreaksInCellsStay) {
  struct Case {
    String Text;
    String Want;
  } cases[] = {
      {u"#a,,#\r\n1,x\r\n|2,y", u"#a,,#1,x|2,y"},               // as written with flag 1
      {u"#a,,#1,x|2,y", u"#a,,#1,x|2,y"},                           // written without flag 1
      {u"#p#\r\nl1\r\nl2\r\n\r\n|b\r\n", u"#p#l1\r\nl2\r\n|b\r\n"},  // cells ending in CR LF
      {u"#p#\r\n\r\nx", u"#p#\r\nx"},                           // a first cell starting with one
      {u"#p\r\nq#\r\n", u"#p\r\nq#"},                            // a property cell holding one
      {u"a\r\n|b", u"a|b"},                                        // no property row
      {u"#a\r\n|b", u"#a|b"},                                      // a "#" without its pair is row text
      {u"\r\n", u"\r\n"},
      {u"x\r|\n|y", u"x\r|\n|y"},                                   // lone CR and LF
  };
  for (const Case& c : cases) EXPECT_EQ(RemoveRowBreaks(c.Text), c.Want) << ToUtf8(c.Text);
}

TEST(DataTableText, SeparatorsInPlainCellsStayInOneCell) {
  // A cell outside the escape set keeps "," and "|" as given, but the saved
  // text writes them as 26/27, so the next load sees one cell, not three.
  TDataTable a;
  TRow* r = a.AddItem(u"k,v,w");
  r->Items(1)->SetText(u"a,b|c");
  EXPECT_EQ(r->Items(1)->Text(), u"a,b|c");
  a.Props(2)->SetText(u"C:\\x,y|z");
  const String text = a.ToString(true);
  TDataTable b;
  b.Init(text);
  ASSERT_EQ(b.ItemCount(), 1);
  ASSERT_EQ(b.Items(0)->ItemCount(), 3);
  EXPECT_EQ(b.Items(0)->Items(1)->Text(), u"a\x1a" u"b\x1b" u"c");
  EXPECT_EQ(UnescapeTableText(b.Items(0)->Items(1)->Text()), u"a,b|c");
  EXPECT_EQ(b.Items(0)->Items(2)->Text(), u"w");
  EXPECT_EQ(UnescapeTableText(b.Props(2)->Text()), u"C:\\x,y|z");
  // A well-formed text is written back byte for byte.
  EXPECT_EQ(b.ToString(true), text);
}

TEST(DataTableText, InitRowsAndCols) {
  TDataTable dt;
  dt.Props(0)->SetText(u"keep");
  dt.Init(3, 4);
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u",,,", u",,,", u",,,"}));
  EXPECT_EQ(dt.Props(0)->Text(), u"keep");
  dt.Init(0, 5);
  EXPECT_EQ(dt.ItemCount(), 3);
}

// ---------------------------------------------------------------------------
// Cells

TEST(DataTableCell, EscapedWrites) {
  struct Case {
    String In;
    String Stored;
    String Read;
  } cases[] = {
      {u",", u"\x1a", u","},
      {u"|", u"\x1b", u"|"},
      {u"a,b|c", u"a\x1a" u"b\x1b" u"c", u"a,b|c"},
      {u"\x1a\x1b", u"  ", u"  "},
      {u"\x01\x08\x0b\x0c\x0e\x1f", u"      ", u"      "},
      {u"a\tb\nc\rd", u"a b c d", u"a b c d"},
      {String(u"ab\0cd", 5), u"ab", u"ab"},
      {String(u"\0x", 2), u"", u""},
      {u"\u4e2d \x7f", u"\u4e2d \x7f", u"\u4e2d \x7f"},
  };
  for (const Case& c : cases) {
    TDataTable dt(u"", CellIndexSet({1}));
    TRow* r = dt.AddItem(u"0,0");
    r->Items(1)->SetText(c.In);
    EXPECT_EQ(r->Items(1)->StoredText(), c.Stored);
    EXPECT_EQ(r->Items(1)->Text(), c.Read);
  }
  for (Char ch = 1; ch < 32; ++ch) {
    TDataTable dt(u"", CellIndexSet({0}));
    TRow* r = dt.AddItem(u"0");
    r->Items(0)->SetText(String(1, ch));
    EXPECT_EQ(r->Items(0)->StoredText(), u" ") << int(ch);
  }
}

TEST(DataTableCell, LineBreaksKeptByReserveSetOrFlag1) {
  const String in = u"a\tb\r\nc\x01";
  {
    TDataTable dt(u"", CellIndexSet({0, 1}));
    dt.ReserveLFSet().set(1);
    TRow* r = dt.AddItem(u"0,0");
    r->Items(0)->SetText(in);
    r->Items(1)->SetText(in);
    EXPECT_EQ(r->Items(0)->StoredText(), u"a b  c ");
    EXPECT_EQ(r->Items(1)->StoredText(), u"a\tb\r\nc ");
  }
  {
    TDataTable dt(u"", CellIndexSet({0}));
    dt.SetIOMode(3);
    TRow* r = dt.AddItem(u"0");
    r->Items(0)->SetText(in);
    EXPECT_EQ(r->Items(0)->StoredText(), u"a\tb\r\nc ");
  }
}

TEST(DataTableCell, UnescapedCellsAndFreeRowsKeepTexts) {
  const String in = String(u"a,|\x01\n\0b", 7);
  TDataTable dt(u"", CellIndexSet({1}));
  TRow* r = dt.AddItem(u"0,0");
  r->Items(0)->SetText(in);
  EXPECT_EQ(r->Items(0)->StoredText(), in);
  TRow free(nullptr);
  free.AddItem(u"a,b");
  EXPECT_EQ(free.Items(0)->StoredText(), u"a,b");
  EXPECT_EQ(free.Items(0)->GetIndex(), 0);
  // Index 104 and above are never escaped.
  TDataTable big(u"", CellIndexSet({103}));
  TRow* w = big.AddItem(String(104, u','));
  w->Items(103)->SetText(u"x,y");
  w->Items(104)->SetText(u"x,y");
  EXPECT_EQ(w->Items(103)->StoredText(), u"x\x1ay");
  EXPECT_EQ(w->Items(104)->StoredText(), u"x,y");
}

TEST(DataTableCell, IntegerAndBooleanViews) {
  struct Case {
    String Text;
    Integer Value;
    bool Bool;
  } cases[] = {
      {u"", 0, false},           {u"+5", 5, true},
      {u"-1", -1, true},         {u"0", 0, false},
      {u"-0", 0, false},         {u"007", 7, true},
      {u"TRUE", 0, true},        {u"true", 0, true},
      {u"False", 0, false},      {u"yes", 0, false},
      {u"2147483647", INT_MAX, true},
      {u"-2147483648", INT_MIN, true},
      {u"2147483648", 0, true},  // a number, but not an Int32
      {u"-2147483649", 0, true}, {u"99999999999999999999", 0, true},
      {u" 5", 0, false},         {u"5 ", 0, false},
      {u"0x10", 0, false},       {u"$10", 0, false},
      {u"-", 0, false},          {u"+", 0, false},
      {u"1.5", 0, false},        {u"\uff15", 0, false},  // full-width digit
  };
  for (const Case& c : cases) {
    TRow r(nullptr);
    TCell* cell = r.AddItem(c.Text);
    EXPECT_EQ(cell->Value(), c.Value) << ToUtf8(c.Text);
    EXPECT_EQ(cell->AsBool(), c.Bool) << ToUtf8(c.Text);
  }
  TRow r(nullptr);
  TCell* cell = r.AddItem(u"");
  cell->SetAsBool(true);
  EXPECT_EQ(cell->StoredText(), u"-1");
  cell->SetAsBool(false);
  EXPECT_EQ(cell->StoredText(), u"0");
  cell->SetValue(INT_MIN);
  EXPECT_EQ(cell->StoredText(), u"-2147483648");
}

TEST(DataTableCell, IndexErrors) {
  TDataTable dt;
  TRow* r = dt.AddItem(u"a,b");
  EXPECT_THROW(r->Items(2), EListError);
  EXPECT_THROW(r->Items(-1), EListError);
  EXPECT_THROW(dt.Items(1), EListError);
  EXPECT_THROW(dt.Props(10), EListError);
  EXPECT_THROW(r->InsertItem(3, u"x"), EListError);
  EXPECT_THROW(r->RemoveItemByIndex(2), EListError);
  EXPECT_THROW(dt.IndexOfValue(5, 0), EListError);
  dt.RemoveItemByIndex(-1);
  dt.RemoveItemByIndex(1);
  EXPECT_EQ(dt.ItemCount(), 1);
}

// ---------------------------------------------------------------------------
// Events

class DataTableEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    dt.SetOnDataChanged([this](TDataTable* s, TDataTableChangeMode m, TRow* r, TCell* c, Integer d1, Integer d2) {
      EXPECT_EQ(s, &dt);
      ev.push_back({m, r, c, d1, d2});
    });
    dt.Init(u"#p#1,a|2,b|3,c");
    ev.clear();
  }
  std::vector<TDataTableChangeMode> Modes() const {
    std::vector<TDataTableChangeMode> m;
    for (const Event& e : ev) m.push_back(e.Mode);
    return m;
  }
  TDataTable dt{u"", CellIndexSet({1})};
  std::vector<Event> ev;
};

TEST_F(DataTableEvents, TableOperations) {
  TRow* added = dt.AddItem(u"4,d");
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].Mode, cmRowAdd);
  EXPECT_EQ(ev[0].Row, added);
  EXPECT_EQ(added->Id(), 4);

  ev.clear();
  dt.MoveItem(0, 2);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].Mode, cmRowMove);
  EXPECT_EQ(ev[0].D1, 0);
  EXPECT_EQ(ev[0].D2, 2);

  ev.clear();
  std::vector<String> order;
  dt.SetOnRowDeleting([&](bool IsDelete, TDataTable*, TRow* r, Integer i) {
    EXPECT_TRUE(IsDelete);
    EXPECT_EQ(ev.size(), 0u);  // before the row goes
    order.push_back(r->ToString() + u"@" + IntToStr(i));
  });
  const Integer id = dt.Items(1)->Id();
  dt.RemoveItemByIndex(1);
  EXPECT_EQ(order, std::vector<String>{u"3,c@1"});
  dt.SetOnRowDeleting(nullptr);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].Mode, cmRowDeleted);
  EXPECT_EQ(ev[0].Row, nullptr);
  EXPECT_EQ(ev[0].D1, 1);
  EXPECT_EQ(ev[0].D2, id);

  ev.clear();
  dt.Sort(smValueInc);
  dt.AddEmptyItem(2);
  dt.AddEmptyItem(0);
  EXPECT_EQ(Modes(), (std::vector<TDataTableChangeMode>{cmSort, cmRowBatchAdd}));

  ev.clear();
  dt.Clear();
  dt.Clear();
  EXPECT_EQ(Modes(), std::vector<TDataTableChangeMode>{cmTableClear});

  ev.clear();
  dt.Init(u"1|1|2|1");
  dt.RemoveRepeated();
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"1", u"2"}));
  dt.RemoveRepeated();
  TDataTable other;
  other.Init(u"7|8");
  dt.AppendFrom(&other, 1);
  EXPECT_EQ(Modes(), (std::vector<TDataTableChangeMode>{cmTableInit, cmRowBatchDeleted, cmRowBatchAdd}));
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"1", u"2", u"7"}));
}

TEST_F(DataTableEvents, CellAndRowOperations) {
  TRow* r = dt.Items(0);
  std::vector<TDataTableChangeMode> rowModes;
  r->SetOnDataChanged([&](TRow* s, TDataTableChangeMode m, TCell*) {
    EXPECT_EQ(s, r);
    rowModes.push_back(m);
  });
  r->Items(1)->SetText(u"z");
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].Mode, cmCellEdit);
  EXPECT_EQ(ev[0].Row, r);
  EXPECT_EQ(ev[0].Cell, r->Items(1));

  // The same text, number or Boolean again reports nothing.
  dt.SetDataChanged(false);
  ev.clear();
  r->Items(1)->SetText(u"z");
  r->Items(0)->SetValue(1);
  r->Items(0)->SetText(u"-1");
  ev.clear();
  dt.SetDataChanged(false);
  r->Items(0)->SetAsBool(true);
  EXPECT_TRUE(ev.empty());
  EXPECT_FALSE(dt.DataChanged());

  TCell* c = r->AddItem(u"new");
  r->MoveItem(2, 0);
  r->RemoveItemByIndex(0);
  r->Init({u"a", u"b", u"a", u"b"});
  r->RemoveRepeated();
  r->RemoveRepeated();
  r->Sort(smText);
  r->Clear();
  r->Clear();
  const std::vector<TDataTableChangeMode> expected = {cmCellAdd,  cmCellMove, cmCellDeleted, cmRowInit,
                                                      cmCellDeleted, cmSort, cmRowClear};
  EXPECT_EQ(Modes(), expected);
  EXPECT_EQ(ev[0].Cell, c);
  EXPECT_EQ(ev[1].Cell, c);  // the moved cell
  EXPECT_EQ(ev[2].Cell, nullptr);
  EXPECT_EQ(rowModes.size(), expected.size() + 2);  // and the two edits before
}

TEST_F(DataTableEvents, PropertyChangesReportPropChange) {
  dt.SetPropCount(3);
  dt.Props(0)->SetText(u"x");
  dt.SetName(u"y");
  dt.SetValue(5);
  dt.AddPropCount(2);
  dt.PropertyRow()->MoveItem(0, 1);
  for (const Event& e : ev) EXPECT_EQ(e.Mode, cmPropChange);
  EXPECT_EQ(ev.size(), 6u);
  EXPECT_EQ(dt.PropCount(), 5);
  dt.SetPropCount(0);
  EXPECT_EQ(dt.PropCount(), 1);
}

TEST_F(DataTableEvents, PreventEventAndDataChanged) {
  dt.SetDataChanged(false);
  dt.SetPreventEvent(true);
  dt.Items(0)->Items(0)->SetText(u"9");
  EXPECT_TRUE(ev.empty());
  EXPECT_TRUE(dt.DataChanged());
  dt.SetPreventEvent(false);
  dt.SetDataChanged(false);
  EXPECT_FALSE(dt.DataChanged());
  EXPECT_FALSE(dt.Items(0)->DataChanged());
  EXPECT_TRUE(ev.empty());
  dt.SetDataChanged(true);
  EXPECT_EQ(Modes(), std::vector<TDataTableChangeMode>{cmDirect});
}

TEST_F(DataTableEvents, NestedBracketsReportOnce) {
  dt.BeginUpdate();
  dt.BeginUpdate();
  dt.Items(0)->Items(0)->SetText(u"x");
  dt.AddItem(u"5");
  dt.EndUpdate(cmDirect);
  EXPECT_TRUE(ev.empty());
  dt.EndUpdate(cmLoad, nullptr, nullptr, 7, 8);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].Mode, cmLoad);
  EXPECT_EQ(ev[0].D1, 7);
  TRow* r = dt.Items(1);
  r->BeginUpdate();
  r->AddItem(u"a");
  r->Items(0)->SetText(u"q");
  r->EndUpdate(cmRowInit, nullptr);
  EXPECT_EQ(Modes(), (std::vector<TDataTableChangeMode>{cmLoad, cmRowInit}));
}

TEST_F(DataTableEvents, ExceptionInsideABracketLeavesCountsAtZero) {
  // Row 1 has no cell 0: RemoveRepeated fails inside its bracket.
  dt.Init(u"1|2");
  dt.AddEmptyItem(1);
  ev.clear();
  dt.SetDataChanged(false);
  EXPECT_THROW(dt.RemoveRepeated(), EListError);
  EXPECT_TRUE(dt.DataChanged());
  EXPECT_TRUE(ev.empty());
  // The next change reports at once: the count is back at 0.
  dt.Items(0)->Items(0)->SetText(u"5");
  EXPECT_EQ(Modes(), std::vector<TDataTableChangeMode>{cmCellEdit});

  // A handler that throws on the closing report does not leave a bracket open.
  int calls = 0;
  dt.SetOnDataChanged([&](TDataTable*, TDataTableChangeMode, TRow*, TCell*, Integer, Integer) {
    if (++calls == 1) throw Exception(u"handler");
  });
  EXPECT_THROW(dt.Init(u"1|2"), Exception);
  dt.AddItem(u"3");
  EXPECT_EQ(calls, 2);
}

// ---------------------------------------------------------------------------
// Current row

TEST(DataTableRowIndex, FollowsItsRow) {
  TDataTable dt;
  dt.Init(u"5|4|3|2|1");
  std::vector<Integer> fired;
  dt.SetOnRowIndexChanged([&](TObject* s, Integer i) {
    EXPECT_EQ(s, &dt);
    fired.push_back(i);
  });
  dt.SetRowIndex(2);
  TRow* cur = dt.Items(2);
  dt.RemoveItemByIndex(0);  // above the current row
  EXPECT_EQ(dt.RowIndex(), 1);
  EXPECT_EQ(dt.Items(dt.RowIndex()), cur);
  dt.MoveItem(1, 3);
  EXPECT_EQ(dt.RowIndex(), 3);
  dt.Sort(smValueInc);
  EXPECT_EQ(dt.Items(dt.RowIndex()), cur);
  dt.InsertItem(0, new TRow(nullptr), false);
  EXPECT_EQ(dt.Items(dt.RowIndex()), cur);
  EXPECT_EQ(fired, std::vector<Integer>{2});
  dt.RemoveItemByIndex(dt.RowIndex());  // the current row itself
  EXPECT_EQ(dt.RowIndex(), -1);
  EXPECT_EQ(fired, (std::vector<Integer>{2, -1}));
  dt.SetRowIndex(99);
  EXPECT_EQ(dt.RowIndex(), -1);
  dt.SetRowIndex(0);
  dt.Clear();
  EXPECT_EQ(dt.RowIndex(), -1);
  EXPECT_EQ(fired.back(), -1);
}

TEST(DataTableRowIndex, ColIndex) {
  TDataTable dt;
  dt.SetColIndex(0);
  EXPECT_EQ(dt.ColIndex(), -1);
  dt.Init(u"a,b");
  dt.SetColIndex(1);
  EXPECT_EQ(dt.ColIndex(), 1);
  dt.SetColIndex(2);
  EXPECT_EQ(dt.ColIndex(), -1);
}

// ---------------------------------------------------------------------------
// Batches

// The calls that replace the table wholesale are not journalled: inside a
// batch they raise and change nothing, and the batch still rolls back.
TEST(DataTableBatch, WholesaleReplacementsRaiseInsideABatch) {
  TDataTable source;
  source.Init(u"x|y");
  TMemoryStream stream;
  source.SaveToStream(source.ToString(true), &stream);
  struct Case {
    const char* What;
    std::function<void(TDataTable&)> Call;
  } cases[] = {
      {"Clear", [](TDataTable& T) { T.Clear(); }},
      {"Init(text)", [](TDataTable& T) { T.Init(u"p|q"); }},
      {"Init(rows, cols)", [](TDataTable& T) { T.Init(2, 2); }},
      {"CopyFrom", [&](TDataTable& T) { T.CopyFrom(&source, true, 0); }},
      {"Sort", [](TDataTable& T) { T.Sort(smText); }},
      {"LoadFromStream",
       [&](TDataTable& T) {
         stream.SetPosition(0);
         T.LoadFromStream(&stream);
       }},
      {"Load", [](TDataTable& T) { T.Load(u"no such file.dat", 0, 0); }},
  };
  for (const Case& c : cases) {
    TDataTable dt;
    dt.Init(u"a|b|c");
    const String before = Stored(dt);
    dt.BatchStart();
    dt.AddItem(u"d");
    EXPECT_THROW(c.Call(dt), EInvalidOperation) << c.What;
    EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"a", u"b", u"c", u"d"})) << c.What;
    dt.BatchRollback();
    EXPECT_EQ(Stored(dt), before) << c.What;
  }
}

TEST(DataTableBatch, RollbackRestoresTextsAndOrder) {
  TDataTable dt(u"", CellIndexSet({1}));
  dt.Init(u"#p#1,a|2,b|3,c|4,d");
  const String before = Stored(dt);
  dt.BatchStart();
  EXPECT_TRUE(dt.InBatch());
  dt.AddItem(u"5,e");
  dt.MoveItem(0, 3);
  dt.Items(1)->Items(1)->SetText(u"x,y");
  dt.RemoveItemByIndex(2);
  dt.Items(0)->AddItem(u"more");
  dt.Props(0)->SetText(u"q");
  dt.InsertItem(1, new TRow(nullptr), false);
  dt.Items(1)->AddItem(u"inserted");
  dt.BatchRollback();
  EXPECT_FALSE(dt.InBatch());
  EXPECT_EQ(Stored(dt), before);
}

TEST(DataTableBatch, AddThenEditAndEditThenDelete) {
  TDataTable dt;
  dt.Init(u"1|2|3");
  const String before = Stored(dt);
  dt.BatchStart();
  TRow* r = dt.AddItem(u"9");
  r->Items(0)->SetText(u"10");
  dt.Items(0)->Items(0)->SetText(u"edited");
  dt.RemoveItemByIndex(0);
  dt.RemoveItemByIndex(0);
  dt.BatchRollback();
  EXPECT_EQ(Stored(dt), before);

  dt.BatchStart();
  dt.AddItem(u"4");
  dt.BatchCommit();
  EXPECT_FALSE(dt.InBatch());
  dt.BatchRollback();  // nothing to undo
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"1", u"2", u"3", u"4"}));
}

// ---------------------------------------------------------------------------
// Sorting and references (run under AddressSanitizer)

TEST(DataTableSort, ValueSortsWithExtremeKeys) {
  TDataTable dt;
  dt.Init(u"2147483647|-2147483648|0|-1|2147483646|x|-2147483647");
  dt.Sort(smValueInc);
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"-2147483648", u"-2147483647", u"-1", u"0", u"x", u"2147483646",
                                               u"2147483647"}));
  dt.Sort(smValueDec);
  EXPECT_EQ(dt.Items(0)->ToString(), u"2147483647");
  EXPECT_EQ(dt.Items(6)->ToString(), u"-2147483648");
  const String before = Stored(dt);
  dt.Sort(smText);
  EXPECT_EQ(Stored(dt), before);
}

TEST(DataTableSort, CustomComparison) {
  TDataTable dt;
  dt.Init(u"b,2|a,3|c,1");
  dt.Sort(smCustom, [](TRow* a, TRow* b) { return CompareText(a->Items(0)->Text(), b->Items(0)->Text()); });
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"a,3", u"b,2", u"c,1"}));
  // A comparison that throws leaves every row in place, each exactly once.
  const String before = Stored(dt);
  int n = 0;
  EXPECT_THROW(dt.Sort(smCustom,
                       [&](TRow*, TRow*) -> Integer {
                         if (++n == 2) throw Exception(u"compare");
                         return 1;
                       }),
               Exception);
  EXPECT_EQ(Stored(dt), before);
}

TEST(DataTableSort, RowSorts) {
  TRow r(nullptr);
  r.Init({u"b", u"C", u"a", u"10", u"-3"});
  r.Sort(smText);
  EXPECT_EQ(r.ToString(), u"-3,10,a,b,C");
  r.Sort(smValueDec);
  EXPECT_EQ(r.ToString(), u"10,a,b,C,-3");
  EXPECT_EQ(r.ToString(true, u'/', 3, 1), u"a/b");
  EXPECT_EQ(r.ToString(true, u'/', 1, 1), u"");
}

TEST(DataTableRef, OwnerSurvivesRefTable) {
  auto owner = std::make_unique<TDataTable>();
  owner->Init(u"1|2|3");
  {
    TDataTable ref;
    ref.RefItem(owner->Items(0));
    ref.RefItem(owner->Items(2));
    EXPECT_EQ(owner->Items(2)->GetIndex(), 1);  // index in the reference table
    EXPECT_EQ(owner->Items(2)->Id(), 3);
    ref.Clear();
    EXPECT_EQ(owner->Items(2)->RefParent(), nullptr);
    ref.RefItem(owner->Items(1));
    auto* ownerless = new TRow(nullptr);
    ref.RefItem(ownerless);  // a row of no table: the reference table frees it
  }
  EXPECT_EQ(RowTexts(*owner), (std::vector<String>{u"1", u"2", u"3"}));
  EXPECT_EQ(owner->Items(1)->RefParent(), nullptr);
  {
    TDataTable ref;
    ref.RefItem(owner->Items(1));
    ref.Empty();
    EXPECT_EQ(ref.ItemCount(), 0);
    EXPECT_EQ(owner->Items(1)->RefParent(), nullptr);
  }
  owner.reset();
}

// ---------------------------------------------------------------------------
// Queries and derived tables

TEST(DataTableQuery, Lookups) {
  TDataTable dt(u"", CellIndexSet({1}));
  dt.Init(u"1,Abc,5|2,\u00c9t\x1a" u"e,6|1,x,7|3,abc,8");
  EXPECT_EQ(dt.IndexOfText(1, u"ABC"), 0);
  EXPECT_EQ(dt.IndexOfText(1, u"\u00e9t,e"), -1);  // ASCII-only case folding
  EXPECT_EQ(dt.IndexOfText(1, u"\u00c9T,E"), 1);
  EXPECT_EQ(dt.IndexOfText(0, u"3", 1, u"ABC"), 3);
  EXPECT_EQ(dt.IndexOfValue(0, 1), 0);
  EXPECT_EQ(dt.IndexOfId(3), 2);
  EXPECT_EQ(dt.GetRowCount(0, 1), 2);
  EXPECT_EQ(dt.GetRowCount(0, 1, 2, 7), 1);
  EXPECT_EQ(dt.GetRow(0, 1, 2, 7), dt.Items(2));
  EXPECT_EQ(dt.GetRow(0, 9), nullptr);
  EXPECT_EQ(dt.SumBy(2, 1, 2), 13);
  EXPECT_EQ(dt.SumBy(2, 0, -5), 26);  // below -1: to the last row
  EXPECT_EQ(dt.SumBy(2, 0, 99), 26);
  EXPECT_EQ(dt.SumBy(2, 2, 1), 0);
  std::unique_ptr<TRow> idx(dt.MakeIndexRow(0, 1));
  EXPECT_EQ(idx->ToString(), u"0,2");
  std::unique_ptr<TRow> col(dt.MakeRow(1));
  EXPECT_EQ(col->ToString(true, u'/'), u"Abc/\u00c9t\x1a" u"e/x/abc");
  std::unique_ptr<TStrings> s(dt.MakeStrings(1, 0, 1));
  EXPECT_EQ(s->Count(), 2);
  EXPECT_EQ(s->Strings(1), u"x");
  std::unique_ptr<TStrings> all(dt.MakeStrings(1));
  EXPECT_EQ(all->Strings(1), u"\u00c9t,e");
  EXPECT_EQ(dt.GetColValueSet(2, 0, 1), ByteSet({5, 7}));
  EXPECT_EQ(dt.GetRowSet(0, ByteSet({1, 3})), ByteSet({0, 2, 3}));
  EXPECT_EQ(dt.RemoveItemByText(1, u"X"), 2);
  EXPECT_EQ(dt.RemoveItemByValue(3), 2);
  EXPECT_EQ(dt.ItemCount(), 2);
  TDataTable empty;
  std::unique_ptr<TRow> one(empty.MakeRow(0));
  EXPECT_EQ(one->ItemCount(), 1);
}

TEST(DataTableQuery, SumByWrapsWithoutOverflow) {
  TDataTable dt;
  dt.Init(u"2147483647|1|-2147483648|-1");
  EXPECT_EQ(dt.SumBy(0, 0, 1), INT_MIN);
  EXPECT_EQ(dt.SumBy(0, 2, 3), INT_MAX);
}

TEST(DataTableQuery, RowIsExistAndSameOf) {
  TDataTable dt;
  dt.Init(u"a,b|c,D,e,f");
  TRow probe(nullptr);
  probe.Init(u"C,d,x,y", u',');
  EXPECT_TRUE(dt.RowIsExist(&probe, u""));  // compares cells 0..1: row 0 has two cells
  EXPECT_TRUE(dt.RowIsExist(&probe, u"0,1"));
  EXPECT_FALSE(dt.RowIsExist(&probe, u"2"));
  TRow shorter(nullptr);
  shorter.Init(u"c,d", u',');
  EXPECT_FALSE(dt.RowIsExist(&shorter, u"0"));  // cell counts differ from row 1; row 0 has other texts
  TDataTable none;
  EXPECT_FALSE(none.RowIsExist(&probe, u""));

  TDataTable a, b;
  a.Init(u"1,x|2,y");
  b.Init(u"01,X|2,y");
  EXPECT_TRUE(a.SameOf(&b, ColIndexSet50({0}), 0));
  EXPECT_FALSE(a.SameOf(&b, ColIndexSet50({0}), 1));
  EXPECT_FALSE(a.SameOf(&b, ColIndexSet50({}), 1));
  EXPECT_FALSE(a.SameOf(&b, ColIndexSet50({0}), 2));
  TDataTable e1, e2;
  EXPECT_TRUE(e1.SameOf(&e2, ColIndexSet50({}), 7));
  EXPECT_FALSE(a.SameOf(&e1, ColIndexSet50({}), 0));
}

TEST(DataTableQuery, DerivedTables) {
  TDataTable dt(u"", CellIndexSet({1}));
  dt.Init(u"1,a\x1a" u"b,x|2,c,y|1,d,z");
  std::unique_ptr<TDataTable> cols(dt.MakeDT(ByteSet({2, 0}), 1, -1));
  EXPECT_EQ(RowTexts(*cols), (std::vector<String>{u"2,y", u"1,z"}));
  Integer src = 0;
  std::unique_ptr<TDataTable> sel(dt.MakeDT(0, 1, src));
  EXPECT_EQ(src, 3);
  EXPECT_EQ(RowTexts(*sel), (std::vector<String>{u"1,a\x1a" u"b,x,0", u"1,d,z,2"}));
  EXPECT_EQ(sel->Items(0)->Items(1)->Text(), u"a,b");  // same escape set
  std::unique_ptr<TDataTable> none(dt.MakeDT(0, 1, 2, 5, src));
  EXPECT_EQ(src, -1);
  EXPECT_EQ(none->ItemCount(), 0);

  TDataTable pick;
  pick.Init(u"p|q|r");
  dt.PickDT(&pick, 2);
  EXPECT_EQ(RowTexts(dt), (std::vector<String>{u"1,a\x1a" u"b,p", u"2,c,q", u"1,d,r"}));
  pick.AddItem(u"s");
  dt.PickDT(&pick, 0);  // row counts differ: nothing
  EXPECT_EQ(dt.Items(0)->Items(0)->Text(), u"1");

  TDataTable copy;
  copy.Props(0)->SetText(u"old");
  int data = 0;
  dt.Items(0)->SetData(&data);
  copy.CopyFrom(&dt, true, 2);
  EXPECT_EQ(RowTexts(copy), (std::vector<String>{u"1,a\x1a" u"b,p", u"2,c,q"}));
  EXPECT_EQ(copy.Items(0)->Data(), nullptr);
  EXPECT_EQ(copy.Items(1)->Id(), 2);
  copy.CopyFrom(&copy, false, 0);
  EXPECT_EQ(copy.ItemCount(), 2);

  TDataTable init;
  init.Init(2, 3);
  init.InitData({u"a", u"b", u"c", u"d"});
  init.InitData({u"e"});
  init.InitData({u"z"}, 0);
  init.InitData({u"z"}, 5);
  EXPECT_EQ(RowTexts(init), (std::vector<String>{u"z,b,c", u"e,,"}));
  EXPECT_THROW(init.InitData({u"x"}), EListError);  // no third row
}

TEST(DataTableRow, CopyAppendAndInit) {
  TDataTable dt(u"", CellIndexSet({0}));
  TRow* a = dt.AddItem(u"x");
  a->Items(0)->SetText(u"a,b");
  TDataTable plain;
  TRow* b = plain.AddItem(u"y");
  b->AppendFrom(a);  // decoded text, stored as given in a plain cell
  EXPECT_EQ(b->ToString(true, u'/'), u"y/a,b");
  b->CopyFrom(a);  // stored texts
  EXPECT_EQ(b->ToString(true, u'/'), u"a\x1a" u"b");
  TRow empty(nullptr);
  b->CopyFrom(&empty);
  EXPECT_EQ(b->ItemCount(), 1);
  b->Init(std::vector<Integer>{3, -4});
  EXPECT_EQ(b->ToString(), u"3,-4");
  EXPECT_EQ(b->IndexOf(-4), 1);
  EXPECT_EQ(b->RemoveItemByValue(3), 0);
  b->Init(u"", u';');
  EXPECT_EQ(b->ItemCount(), 1);
  b->Init(u"a;B;", u';');
  EXPECT_EQ(b->ItemCount(), 3);
  EXPECT_EQ(b->IndexOfText(u"b"), 1);
  EXPECT_EQ(b->RemoveItemByText(u"A"), 0);
  EXPECT_EQ(b->GetIndex(), 0);
  EXPECT_EQ(empty.GetIndex(), -1);
}
