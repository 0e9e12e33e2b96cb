// Data table model, text form, batches, and the file and stream layers.
#include "foundation/data/HyDataTable.h"

#include <algorithm>
#include <numeric>

#include "foundation/data/HyCrypUtils.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace {

constexpr Char kEsc26 = 26;
constexpr Char kEsc27 = 27;
// The rows part of the stored text of a table whose only row writes as
// nothing (one empty cell, or no cell): without it such a table writes the
// same text as a table without rows and comes back without rows. Text writes
// cut escaped cells at character 0, so before this marker only a raw write of
// that one character into a plain cell could produce this text.
const String kLoneEmptyRow(1, Char(0));

[[noreturn]] void ListIndexError(Integer Index) { throw EListError(SListIndexError, {Index}); }

}  // namespace

// ---------------------------------------------------------------------------
// Helpers

TCellIndexSet CellIndexSet(std::initializer_list<Integer> Indexes) {
  TCellIndexSet s;
  for (Integer i : Indexes)
    if (i >= 0 && i < 104) s.set(static_cast<size_t>(i));
  return s;
}

TColIndexSet50 ColIndexSet50(std::initializer_list<Integer> Indexes) {
  TColIndexSet50 s;
  for (Integer i : Indexes)
    if (i >= 0 && i < 50) s.set(static_cast<size_t>(i));
  return s;
}

TByteSet ByteSet(std::initializer_list<Integer> Indexes) {
  TByteSet s;
  for (Integer i : Indexes)
    if (i >= 0 && i < 256) s.set(static_cast<size_t>(i));
  return s;
}

String EscapeTableText(const String& Text) {
  String r = Text;
  for (Char& c : r) {
    if (c == u',') c = kEsc26;
    else if (c == u'|') c = kEsc27;
  }
  return r;
}

String RemoveRowBreaks(const String& Text) {
  String r;
  r.reserve(Text.size());
  size_t i = 0;
  if (!Text.empty() && Text[0] == u'#') {
    const size_t p = Text.find(u'#', 1);
    if (p != String::npos) {
      r.append(Text, 0, p + 1);
      i = p + 1;
      if (Text.compare(i, 2, u"\r\n") == 0) i += 2;
    }
  }
  for (; i < Text.size(); ++i) {
    if (Text[i] == u'\r' && Text.compare(i, 3, u"\r\n|") == 0) i += 2;
    r += Text[i];
  }
  return r;
}

String UnescapeTableText(const String& Text) {
  String r = Text;
  for (Char& c : r) {
    if (c == kEsc26) c = u',';
    else if (c == kEsc27) c = u'|';
  }
  return r;
}

Integer CellTextToInt(const String& Text) {
  size_t i = 0;
  bool neg = false;
  if (i < Text.size() && (Text[i] == u'+' || Text[i] == u'-')) {
    neg = Text[i] == u'-';
    ++i;
  }
  if (i == Text.size()) return 0;
  Int64 v = 0;
  for (; i < Text.size(); ++i) {
    const Char c = Text[i];
    if (c < u'0' || c > u'9') return 0;
    v = v * 10 + (c - u'0');
    if (v > 2147483648LL) return 0;
  }
  if (neg) v = -v;
  if (v > 2147483647LL) return 0;
  return static_cast<Integer>(v);
}

bool CellTextToBool(const String& Text) {
  if (Text.empty()) return false;
  if (SameText(Text, u"True")) return true;
  if (SameText(Text, u"False")) return false;
  size_t i = 0;
  if (Text[0] == u'+' || Text[0] == u'-') i = 1;
  if (i == Text.size()) return false;
  bool nonZero = false;
  for (; i < Text.size(); ++i) {
    const Char c = Text[i];
    if (c < u'0' || c > u'9') return false;
    if (c != u'0') nonZero = true;
  }
  return nonZero;
}

// ---------------------------------------------------------------------------
// Update brackets that close on every path. The normal path closes
// explicitly (and may report); when an exception passes, the destructor only
// lowers the count and marks the data as changed, so no event fires while
// unwinding.

class TRow::TUpdateGuard {
 public:
  explicit TUpdateGuard(TRow* ARow) : FRow(ARow) { FRow->BeginUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;
  ~TUpdateGuard() {
    if (FClosed) return;
    --FRow->FUpdateCount;
    FRow->FDataChanged = true;
    if (TDataTable* t = FRow->ReportTable()) t->FDataChanged = true;
  }
  void Close(TDataTableChangeMode Mode, TCell* ACell) {
    FClosed = true;
    FRow->EndUpdate(Mode, ACell);
  }
  void CloseSilently() {
    FClosed = true;
    --FRow->FUpdateCount;
  }

 private:
  TRow* FRow;
  bool FClosed = false;
};

class TDataTable::TUpdateGuard {
 public:
  explicit TUpdateGuard(TDataTable* ATable) : FTable(ATable) { FTable->BeginUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;
  ~TUpdateGuard() {
    if (FClosed) return;
    --FTable->FUpdateCount;
    FTable->FDataChanged = true;
  }
  void Close(TDataTableChangeMode Mode, TRow* ARow = nullptr, TCell* ACell = nullptr, Integer D1 = -1,
             Integer D2 = -1) {
    FClosed = true;
    FTable->EndUpdate(Mode, ARow, ACell, D1, D2);
  }
  void CloseSilently() {
    FClosed = true;
    --FTable->FUpdateCount;
  }

 private:
  TDataTable* FTable;
  bool FClosed = false;
};

// ---------------------------------------------------------------------------
// TCell

TCell::TCell(TRow* AParent) : FParent(AParent) {}

Integer TCell::GetIndex() const {
  if (FParent == nullptr) return -1;
  const auto& v = FParent->FItems;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<Integer>(it - v.begin());
}

bool TCell::IsConverted() const {
  if (FParent == nullptr || FParent->FParent == nullptr) return false;
  const Integer idx = GetIndex();
  return idx >= 0 && idx < 104 && FParent->FParent->FConvertSet.test(static_cast<size_t>(idx));
}

String TCell::Text() const { return IsConverted() ? UnescapeTableText(FText) : FText; }

void TCell::SetText(const String& Value) {
  if (Value.empty() || !IsConverted()) {
    StoreText(Value);
    return;
  }
  const TDataTable* table = FParent->FParent;
  const Integer idx = GetIndex();
  const bool keepLF = table->FReserveLFSet.test(static_cast<size_t>(idx)) || (table->FIOMode & 1) != 0;
  // One pass per character: the separators are escaped before the control
  // character rule, which would otherwise turn them into spaces.
  String s;
  s.reserve(Value.size());
  for (Char c : Value) {
    if (c == 0) break;
    if (c == u',') s += kEsc26;
    else if (c == u'|') s += kEsc27;
    else if (c == 9 || c == 10 || c == 13) s += keepLF ? c : u' ';
    else if (c < 32) s += u' ';
    else s += c;
  }
  StoreText(s);
}

void TCell::StoreText(const String& NewText) {
  if (NewText == FText) return;
  if (FParent) FParent->BeforeChange();
  FText = NewText;
  if (FParent) FParent->DoChange(cmCellEdit, this);
}

Integer TCell::Value() const { return CellTextToInt(FText); }

void TCell::SetValue(Integer AValue) { StoreText(IntToStr(AValue)); }

bool TCell::AsBool() const { return CellTextToBool(FText); }

void TCell::SetAsBool(bool AValue) { StoreText(AValue ? u"-1" : u"0"); }

// ---------------------------------------------------------------------------
// TRow

TRow::TRow(TDataTable* AOwner) : FParent(AOwner) {}

TRow::~TRow() {
  FreeCells();
  FIData.reset();
  FData = FData2 = FData3 = FData4 = nullptr;
}

void TRow::FreeCells() {
  for (TCell* c : FItems) delete c;
  FItems.clear();
}

void TRow::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= ItemCount()) ListIndexError(Index);
}

TCell* TRow::Items(Integer Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TRow::BeginUpdate() {
  if (FUpdateCount == 0) BeforeChange();
  ++FUpdateCount;
}

void TRow::EndUpdate(TDataTableChangeMode ChangeMode, TCell* ACell) {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) DoChange(ChangeMode, ACell);
}

void TRow::BeforeChange() {
  if (FUpdateCount != 0) return;
  if (TDataTable* t = ReportTable()) t->JournalRow(this);
}

void TRow::DoChange(TDataTableChangeMode ChangeMode, TCell* ACell) {
  if (FUpdateCount != 0) return;
  FDataChanged = true;
  if (FOnDataChanged) FOnDataChanged(this, ChangeMode, ACell);
  if (TDataTable* t = ReportTable()) t->DoChange(ChangeMode, this, ACell, -1, -1);
}

void TRow::AssignStored(const TRow* ARow) {
  std::vector<String> texts;
  texts.reserve(ARow->FItems.size());
  for (const TCell* c : ARow->FItems) texts.push_back(c->FText);
  FreeCells();
  for (String& t : texts) {
    TCell* c = new TCell(this);
    c->FText = std::move(t);
    FItems.push_back(c);
  }
}

void TRow::Init(const std::vector<String>& Values) {
  TUpdateGuard g(this);
  Clear();
  for (const String& v : Values) AddItem(v);
  g.Close(cmRowInit, nullptr);
}

void TRow::Init(std::initializer_list<const char16_t*> Values) {
  std::vector<String> v;
  for (const char16_t* s : Values) v.emplace_back(s ? s : u"");
  Init(v);
}

void TRow::Init(const std::vector<Integer>& Values) {
  TUpdateGuard g(this);
  Clear();
  for (Integer v : Values) AddItem(v);
  g.Close(cmRowInit, nullptr);
}

void TRow::Init(const String& sInit, Char sSplitChar) {
  TUpdateGuard g(this);
  Clear();
  size_t start = 0;
  while (true) {
    const size_t p = sInit.find(sSplitChar, start);
    TCell* c = new TCell(this);
    FItems.push_back(c);
    c->FText = sInit.substr(start, p == String::npos ? String::npos : p - start);
    if (p == String::npos) break;
    start = p + 1;
  }
  g.Close(cmRowInit, nullptr);
}

void TRow::CopyFrom(TRow* ARow) {
  TUpdateGuard g(this);
  AssignStored(ARow);
  if (FItems.empty()) FItems.push_back(new TCell(this));
  g.Close(cmRowInit, nullptr);
}

void TRow::AppendFrom(TRow* ARow) {
  std::vector<String> texts;
  for (const TCell* c : ARow->FItems) texts.push_back(c->Text());
  TUpdateGuard g(this);
  for (const String& t : texts) AddItemByText(t);
  g.Close(cmRowInit, nullptr);
}

TCell* TRow::AddItem(const String& Value) { return InsertItem(ItemCount(), Value); }

TCell* TRow::AddItemByText(const String& Value) { return InsertItem(ItemCount(), Value); }

TCell* TRow::AddItem(Integer Value) { return InsertItem(ItemCount(), IntToStr(Value)); }

TCell* TRow::InsertItem(Integer Index, Integer Value) { return InsertItem(Index, IntToStr(Value)); }

TCell* TRow::InsertItem(Integer Index, const String& Value) {
  if (Index < 0 || Index > ItemCount()) ListIndexError(Index);
  TUpdateGuard g(this);
  TCell* c = new TCell(this);
  FItems.insert(FItems.begin() + Index, c);
  c->SetText(Value);
  g.Close(cmCellAdd, c);
  return c;
}

void TRow::MoveItem(Integer SrcIndex, Integer DestIndex) {
  if (SrcIndex == DestIndex) return;
  CheckIndex(SrcIndex);
  CheckIndex(DestIndex);
  BeforeChange();
  TCell* c = FItems[static_cast<size_t>(SrcIndex)];
  FItems.erase(FItems.begin() + SrcIndex);
  FItems.insert(FItems.begin() + DestIndex, c);
  DoChange(cmCellMove, c);
}

void TRow::RemoveItemByIndex(Integer Index) {
  CheckIndex(Index);
  BeforeChange();
  TCell* c = FItems[static_cast<size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  delete c;
  DoChange(cmCellDeleted, nullptr);
}

Integer TRow::RemoveItemByValue(Integer Value) {
  const Integer i = IndexOf(Value);
  if (i >= 0) RemoveItemByIndex(i);
  return i;
}

Integer TRow::RemoveItemByText(const String& Value) {
  const Integer i = IndexOfText(Value);
  if (i >= 0) RemoveItemByIndex(i);
  return i;
}

void TRow::RemoveRepeated() {
  TUpdateGuard g(this);
  bool removed = false;
  for (Integer i = ItemCount() - 1; i >= 1; --i) {
    const String t = FItems[static_cast<size_t>(i)]->Text();
    for (Integer j = 0; j < i; ++j) {
      if (FItems[static_cast<size_t>(j)]->Text() == t) {
        TCell* c = FItems[static_cast<size_t>(i)];
        FItems.erase(FItems.begin() + i);
        delete c;
        removed = true;
        break;
      }
    }
  }
  if (removed) g.Close(cmCellDeleted, nullptr);
  else g.CloseSilently();
}

Integer TRow::IndexOf(Integer Value) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->Value() == Value) return static_cast<Integer>(i);
  return -1;
}

Integer TRow::IndexOfText(const String& Value) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameText(FItems[i]->Text(), Value)) return static_cast<Integer>(i);
  return -1;
}

void TRow::Clear() {
  if (FItems.empty()) return;
  BeforeChange();
  FreeCells();
  DoChange(cmRowClear, nullptr);
}

String TRow::ToString(bool IsSave, Char sSplitChar, Integer Count, Integer StartIndex) const {
  const Integer last = Count < 0 ? ItemCount() : Count;
  String r;
  for (Integer i = StartIndex; i < last; ++i) {
    if (i > StartIndex) r += sSplitChar;
    const TCell* c = Items(i);
    r += IsSave ? c->FText : c->Text();
  }
  return r;
}

void TRow::Sort(TSortMode Mode) {
  if (FItems.empty()) return;
  BeforeChange();
  std::vector<size_t> order(FItems.size());
  std::iota(order.begin(), order.end(), size_t{0});
  if (Mode == smText) {
    std::vector<String> keys;
    for (const TCell* c : FItems) keys.push_back(UpperCase(c->Text()));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  } else if (Mode == smValueInc || Mode == smValueDec) {
    std::vector<Integer> keys;
    for (const TCell* c : FItems) keys.push_back(c->Value());
    if (Mode == smValueInc)
      std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    else
      std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[b] < keys[a]; });
  }
  std::vector<TCell*> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) sorted.push_back(FItems[i]);
  FItems.swap(sorted);
  DoChange(cmSort, nullptr);
}

Integer TRow::GetIndex() const {
  const TDataTable* t = FRefParent ? FRefParent : FParent;
  if (t == nullptr) return -1;
  auto it = std::find(t->FItems.begin(), t->FItems.end(), this);
  return it == t->FItems.end() ? -1 : static_cast<Integer>(it - t->FItems.begin());
}

// ---------------------------------------------------------------------------
// TDataTable: construction, properties

TDataTable::TDataTable(const String& AKey, const TCellIndexSet& AConvertSet) : FKey(AKey), FConvertSet(AConvertSet) {
  FPropertyRow = new TRow(this);
  FPropertyRow->FId = 0;
  FPropertyRow->FIsProp = true;
  for (int i = 0; i < 10; ++i) FPropertyRow->FItems.push_back(new TCell(FPropertyRow));
}

TDataTable::~TDataTable() {
  delete FBatchDT;
  delete FBatchRowDT;
  ClearRows();
  delete FPropertyRow;
}

void TDataTable::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= ItemCount()) ListIndexError(Index);
}

void TDataTable::CheckNotInBatch() const {
  // Structural replacements are not journalled: a batch could not undo them.
  if (FInBatch) throw EInvalidOperation(u"Operation not allowed inside a batch");
}

TRow* TDataTable::Items(Integer Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TDataTable::SetFileName(const String& Value) {
  if (Value != FFileName) FFileName = Value;
}

String TDataTable::Name() const { return Props(0)->Text(); }
void TDataTable::SetName(const String& Value) { Props(0)->SetText(Value); }
Integer TDataTable::Value() const { return Props(1)->Value(); }
void TDataTable::SetValue(Integer AValue) { Props(1)->SetValue(AValue); }

Integer TDataTable::RowIndex() {
  if (FRowIndexChanged) {
    FRowIndex = -1;
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i]->FIsIndex) {
        FRowIndex = static_cast<Integer>(i);
        break;
      }
    FRowIndexChanged = false;
  }
  return FRowIndex;
}

void TDataTable::SetRowIndex(Integer Value) {
  const Integer cur = RowIndex();
  if (Value == cur) return;
  if (cur >= 0) FItems[static_cast<size_t>(cur)]->FIsIndex = false;
  if (Value < 0 || Value >= ItemCount()) {
    FRowIndex = -1;
  } else {
    FItems[static_cast<size_t>(Value)]->FIsIndex = true;
    FRowIndex = Value;
  }
  if (FOnRowIndexChanged) FOnRowIndexChanged(this, FRowIndex);
}

void TDataTable::SetColIndex(Integer Value) {
  FColIndex = (!FItems.empty() && Value >= 0 && Value < FItems[0]->ItemCount()) ? Value : -1;
}

void TDataTable::SetDataChanged(bool Value) {
  if (Value) {
    FDataChanged = true;
    DoChange(cmDirect, nullptr, nullptr, -1, -1);
    return;
  }
  FDataChanged = false;
  FPropertyRow->FDataChanged = false;
  for (TRow* r : FItems) r->FDataChanged = false;
}

// ---------------------------------------------------------------------------
// Reports and the batch journal

void TDataTable::BeginUpdate() { ++FUpdateCount; }

void TDataTable::EndUpdate(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, Integer Data1, Integer Data2) {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) DoChange(ChangeMode, ARow, ACell, Data1, Data2);
}

void TDataTable::DoChange(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, Integer Data1, Integer Data2) {
  if (FUpdateCount != 0) return;
  FDataChanged = true;
  if (ARow != nullptr && ARow == FPropertyRow) ChangeMode = cmPropChange;
  if (!FPreventEvent && FOnDataChanged) FOnDataChanged(this, ChangeMode, ARow, ACell, Data1, Data2);
}

void TDataTable::JournalRow(TRow* ARow) {
  if (!FInBatch || FBatchRowDT == nullptr) return;
  if (FBatchRowDT->IndexOfId(ARow->FId) >= 0) return;
  auto* copy = new TRow(FBatchRowDT);
  copy->AssignStored(ARow);
  copy->FId = ARow->FId;
  FBatchRowDT->FItems.push_back(copy);
}

void TDataTable::JournalEntry(Integer Kind, Integer A, Integer B) {
  if (!FInBatch || FBatchDT == nullptr) return;
  auto* e = new TRow(FBatchDT);
  for (Integer v : {Kind, A, B}) {
    TCell* c = new TCell(e);
    c->FText = IntToStr(v);
    e->FItems.push_back(c);
  }
  e->FId = FBatchDT->FNextRowId++;
  FBatchDT->FItems.push_back(e);
}

void TDataTable::BatchStart() {
  if (FBatchDT == nullptr) {
    FBatchDT = new TDataTable();
    FBatchDT->FIOMode = 0;
  }
  if (FBatchRowDT == nullptr) {
    FBatchRowDT = new TDataTable();
    FBatchRowDT->FIOMode = 0;
  }
  FInBatch = true;
}

void TDataTable::BatchCommit() {
  FreeAndNil(FBatchDT);
  FreeAndNil(FBatchRowDT);
  FInBatch = false;
}

void TDataTable::BatchRollback() {
  FInBatch = false;
  std::unique_ptr<TDataTable> journal(FBatchDT);
  std::unique_ptr<TDataTable> saved(FBatchRowDT);
  FBatchDT = nullptr;
  FBatchRowDT = nullptr;
  if (!journal || !saved) return;
  for (Integer i = journal->ItemCount() - 1; i >= 0; --i) {
    const TRow* e = journal->FItems[static_cast<size_t>(i)];
    const Integer kind = e->FItems[0]->Value();
    const Integer a = e->FItems[1]->Value();
    const Integer b = e->FItems[2]->Value();
    if (kind == 0) {
      RemoveItemByIndex(a);
    } else if (kind == 1) {
      const Integer k = saved->IndexOfId(b);
      if (k >= 0) {
        InsertItem(std::min(a, ItemCount()), saved->FItems[static_cast<size_t>(k)], true);
        saved->RemoveItemByIndex(k);
      }
    } else if (kind == 3) {
      if (a >= 0 && a < ItemCount() && b >= 0 && b < ItemCount()) MoveItem(b, a);
    }
  }
  for (Integer i = saved->ItemCount() - 1; i >= 0; --i) {
    TRow* copy = saved->FItems[static_cast<size_t>(i)];
    if (copy->FId == 0) {
      FPropertyRow->CopyFrom(copy);
      continue;
    }
    const Integer k = IndexOfId(copy->FId);
    if (k >= 0) FItems[static_cast<size_t>(k)]->CopyFrom(copy);
  }
}

// ---------------------------------------------------------------------------
// Rows in and out

void TDataTable::TakeRow(TRow* ARow) {
  ARow->FParent = this;
  ARow->FId = FNextRowId++;
}

TRow* TDataTable::NewRowCopy(const TRow* ARow) {
  auto* r = new TRow(nullptr);
  r->AssignStored(ARow);
  return r;
}

void TDataTable::DisposeRow(TRow* ARow) {
  // A row listed here by reference belongs to another table: detach it.
  if (ARow->FParent == this || ARow->FParent == nullptr) {
    delete ARow;
  } else if (ARow->FRefParent == this) {
    ARow->FRefParent = nullptr;
  }
}

void TDataTable::ClearRows() {
  std::vector<TRow*> rows;
  rows.swap(FItems);
  for (TRow* r : rows) DisposeRow(r);
}

TRow* TDataTable::AddItem(TRow* ARow, bool IsCopy) { return InsertItem(ItemCount(), ARow, IsCopy); }

TRow* TDataTable::AddItem(const String& sRow) {
  std::unique_ptr<TRow> r(new TRow(nullptr));
  r->Init(sRow, u',');
  return InsertItem(ItemCount(), r.release(), false);
}

TRow* TDataTable::InsertItem(Integer Index, TRow* ARow, bool IsCopy) {
  if (Index < 0 || Index > ItemCount()) ListIndexError(Index);
  TRow* r = IsCopy ? NewRowCopy(ARow) : ARow;
  FItems.insert(FItems.begin() + Index, r);
  TakeRow(r);
  FRowIndexChanged = true;
  JournalEntry(0, Index, 0);
  DoChange(cmRowAdd, r, nullptr, -1, -1);
  return r;
}

void TDataTable::RefItem(TRow* ARow) {
  FItems.push_back(ARow);
  ARow->FRefParent = this;
  FRowIndexChanged = true;
}

void TDataTable::AddEmptyItem(Integer Count) {
  if (Count <= 0) return;
  for (Integer i = 0; i < Count; ++i) {
    auto* r = new TRow(nullptr);
    FItems.push_back(r);
    TakeRow(r);
    JournalEntry(0, ItemCount() - 1, 0);
  }
  FRowIndexChanged = true;
  DoChange(cmRowBatchAdd, nullptr, nullptr, -1, -1);
}

void TDataTable::AppendFrom(TDataTable* ADataTable, Integer MaxCount) {
  Integer n = ADataTable->ItemCount();
  if (MaxCount > 0) n = std::min(n, MaxCount);
  for (Integer i = 0; i < n; ++i) {
    TRow* r = NewRowCopy(ADataTable->FItems[static_cast<size_t>(i)]);
    FItems.push_back(r);
    TakeRow(r);
    JournalEntry(0, ItemCount() - 1, 0);
  }
  if (n > 0) {
    FRowIndexChanged = true;
    DoChange(cmRowBatchAdd, nullptr, nullptr, -1, -1);
  }
}

void TDataTable::AppendFromFile(const String& sFileName, Integer MaxCount) {
  TDataTable tmp(FKey, FConvertSet);
  tmp.FIOMode = FIOMode;
  tmp.FKeyCustom = FKeyCustom;
  tmp.FIsAddVerifyCode = false;
  tmp.Load(sFileName, 0, 0);
  AppendFrom(&tmp, MaxCount);
}

void TDataTable::CopyFrom(TDataTable* ADataTable, bool IncludeProp, Integer MaxCount) {
  CheckNotInBatch();
  std::unique_ptr<TDataTable> self;
  if (ADataTable == this) {  // copying a table onto itself: work from a snapshot
    self.reset(new TDataTable(FKey, FConvertSet));
    self->FPropertyRow->AssignStored(FPropertyRow);
    self->AppendFrom(this, 0);
    ADataTable = self.get();
  }
  TUpdateGuard g(this);
  Clear();
  if (IncludeProp) FPropertyRow->AssignStored(ADataTable->FPropertyRow);
  Integer n = ADataTable->ItemCount();
  if (MaxCount > 0) n = std::min(n, MaxCount);
  for (Integer i = 0; i < n; ++i) {
    TRow* r = NewRowCopy(ADataTable->FItems[static_cast<size_t>(i)]);
    FItems.push_back(r);
    TakeRow(r);
  }
  FRowIndexChanged = true;
  g.Close(cmTableInit);
}

void TDataTable::MoveItem(Integer Index, Integer ToIndex) {
  if (Index == ToIndex) return;
  CheckIndex(Index);
  CheckIndex(ToIndex);
  TRow* r = FItems[static_cast<size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  FItems.insert(FItems.begin() + ToIndex, r);
  FRowIndexChanged = true;
  JournalEntry(3, Index, ToIndex);
  DoChange(cmRowMove, r, nullptr, Index, ToIndex);
}

void TDataTable::DeleteRowAt(Integer Index) {
  const Integer cur = RowIndex();
  TRow* r = FItems[static_cast<size_t>(Index)];
  if (FOnRowDeleting) FOnRowDeleting(true, this, r, Index);
  JournalRow(r);
  const Integer id = r->FId;
  FItems.erase(FItems.begin() + Index);
  DisposeRow(r);
  JournalEntry(1, Index, id);
  DoChange(cmRowDeleted, nullptr, nullptr, Index, id);
  if (Index == cur) {
    FRowIndex = -1;
    FRowIndexChanged = false;
    if (FOnRowIndexChanged) FOnRowIndexChanged(this, -1);
  } else {
    FRowIndexChanged = true;
  }
}

void TDataTable::RemoveItemByIndex(Integer Index) {
  if (Index >= 0 && Index < ItemCount()) DeleteRowAt(Index);
}

Integer TDataTable::RemoveItemByValue(Integer Value) {
  const Integer i = IndexOfValue(0, Value);
  if (i >= 0) DeleteRowAt(i);
  return i;
}

Integer TDataTable::RemoveItemByText(Integer ColIndex, const String& Text) {
  const Integer i = IndexOfText(ColIndex, Text);
  if (i >= 0) DeleteRowAt(i);
  return i;
}

void TDataTable::RemoveRepeated() {
  TUpdateGuard g(this);
  bool removed = false;
  for (Integer i = ItemCount() - 1; i >= 1; --i) {
    const Integer v = Items(i)->Items(0)->Value();
    for (Integer j = 0; j < i; ++j) {
      if (Items(j)->Items(0)->Value() == v) {
        DeleteRowAt(i);
        removed = true;
        break;
      }
    }
  }
  if (removed) g.Close(cmRowBatchDeleted);
  else g.CloseSilently();
}

void TDataTable::Clear() {
  CheckNotInBatch();
  const Integer cur = RowIndex();
  const bool had = !FItems.empty();
  ClearRows();
  FInitIndex = 0;
  FRowIndex = -1;
  FRowIndexChanged = false;
  if (had) {
    FNextRowId = 1;
    DoChange(cmTableClear, nullptr, nullptr, -1, -1);
  }
  if (cur != -1 && FOnRowIndexChanged) FOnRowIndexChanged(this, -1);
}

void TDataTable::Empty() {
  for (TRow* r : FItems)
    if (r->FRefParent == this) r->FRefParent = nullptr;
  FItems.clear();
  FNextRowId = 1;
  FRowIndex = -1;
  FRowIndexChanged = false;
  FInitIndex = 0;
}

// ---------------------------------------------------------------------------
// Queries

Integer TDataTable::IndexOfId(Integer Id) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->FId == Id) return static_cast<Integer>(i);
  return -1;
}

Integer TDataTable::IndexOfValue(Integer ColIndex, Integer Value) const {
  for (Integer i = 0; i < ItemCount(); ++i)
    if (FItems[static_cast<size_t>(i)]->Items(ColIndex)->Value() == Value) return i;
  return -1;
}

Integer TDataTable::IndexOfText(Integer ColIndex, const String& Text) const {
  for (Integer i = 0; i < ItemCount(); ++i)
    if (SameText(FItems[static_cast<size_t>(i)]->Items(ColIndex)->Text(), Text)) return i;
  return -1;
}

Integer TDataTable::IndexOfText(Integer ColIndex1, const String& Text1, Integer ColIndex2, const String& Text2) const {
  for (Integer i = 0; i < ItemCount(); ++i) {
    const TRow* r = FItems[static_cast<size_t>(i)];
    if (SameText(r->Items(ColIndex1)->Text(), Text1) && SameText(r->Items(ColIndex2)->Text(), Text2)) return i;
  }
  return -1;
}

TRow* TDataTable::GetRow(Integer ColIndex, Integer Value) const {
  const Integer i = IndexOfValue(ColIndex, Value);
  return i >= 0 ? FItems[static_cast<size_t>(i)] : nullptr;
}

TRow* TDataTable::GetRow(Integer ColIndex1, Integer Value1, Integer ColIndex2, Integer Value2) const {
  for (TRow* r : FItems)
    if (r->Items(ColIndex1)->Value() == Value1 && r->Items(ColIndex2)->Value() == Value2) return r;
  return nullptr;
}

Integer TDataTable::GetRowCount(Integer ColIndex, Integer Value) const {
  Integer n = 0;
  for (const TRow* r : FItems)
    if (r->Items(ColIndex)->Value() == Value) ++n;
  return n;
}

Integer TDataTable::GetRowCount(Integer ColIndex1, Integer Value1, Integer ColIndex2, Integer Value2) const {
  Integer n = 0;
  for (const TRow* r : FItems)
    if (r->Items(ColIndex1)->Value() == Value1 && r->Items(ColIndex2)->Value() == Value2) ++n;
  return n;
}

Integer TDataTable::SumBy(Integer ColIndex, Integer MinRowIndex, Integer MaxRowIndex) const {
  const Integer last = ItemCount() - 1;
  if (MaxRowIndex < -1 || MaxRowIndex > last) MaxRowIndex = last;
  if (MaxRowIndex < MinRowIndex) return 0;
  // Wraps like 32-bit integer arithmetic, without signed overflow.
  Cardinal sum = 0;
  for (Integer i = MinRowIndex; i <= MaxRowIndex; ++i) sum += static_cast<Cardinal>(Items(i)->Items(ColIndex)->Value());
  return static_cast<Integer>(sum);
}

bool TDataTable::RowIsExist(TRow* Row, const String& IndexStr) const {
  if (FItems.empty()) return false;
  std::vector<Integer> idx;
  if (IndexStr.empty()) {
    for (Integer i = 0; i < FItems[0]->ItemCount(); ++i) idx.push_back(i);
  } else {
    size_t start = 0;
    while (true) {
      const size_t p = IndexStr.find(u',', start);
      idx.push_back(CellTextToInt(IndexStr.substr(start, p == String::npos ? String::npos : p - start)));
      if (p == String::npos) break;
      start = p + 1;
    }
  }
  for (const TRow* r : FItems) {
    if (r->ItemCount() != Row->ItemCount()) continue;
    bool same = true;
    for (Integer i : idx)
      if (!SameText(r->Items(i)->Text(), Row->Items(i)->Text())) {
        same = false;
        break;
      }
    if (same) return true;
  }
  return false;
}

bool TDataTable::SameOf(TDataTable* DT, const TColIndexSet50& Cols, Integer Mode) const {
  if (ItemCount() != DT->ItemCount()) return false;
  if (FItems.empty()) return true;
  std::vector<Integer> cols;
  if (Cols.none()) {
    for (Integer i = 0; i < FItems[0]->ItemCount(); ++i) cols.push_back(i);
  } else {
    for (Integer i = 0; i < 50; ++i)
      if (Cols.test(static_cast<size_t>(i))) cols.push_back(i);
  }
  for (Integer i = 0; i < ItemCount(); ++i) {
    const TRow* a = FItems[static_cast<size_t>(i)];
    const TRow* b = DT->FItems[static_cast<size_t>(i)];
    if (a->ItemCount() != b->ItemCount()) return false;
    for (Integer c : cols) {
      if (Mode == 0) {
        if (a->Items(c)->Value() != b->Items(c)->Value()) return false;
      } else if (Mode == 1) {
        if (a->Items(c)->Text() != b->Items(c)->Text()) return false;
      } else {
        return false;
      }
    }
  }
  return true;
}

TRow* TDataTable::MakeRow(Integer ColIndex) const {
  std::unique_ptr<TRow> r(new TRow(nullptr));
  if (FItems.empty()) {
    r->FItems.push_back(new TCell(r.get()));
  } else {
    for (const TRow* row : FItems) {
      TCell* c = new TCell(r.get());
      r->FItems.push_back(c);
      c->FText = row->Items(ColIndex)->FText;
    }
  }
  return r.release();
}

TRow* TDataTable::MakeIndexRow(Integer ColIndex, Integer Value) const {
  std::unique_ptr<TRow> r(new TRow(nullptr));
  for (Integer i = 0; i < ItemCount(); ++i)
    if (FItems[static_cast<size_t>(i)]->Items(ColIndex)->Value() == Value) {
      TCell* c = new TCell(r.get());
      r->FItems.push_back(c);
      c->FText = IntToStr(i);
    }
  return r.release();
}

TDataTable* TDataTable::MakeDT(const TByteSet& Cols, Integer FromRow, Integer ToRow) const {
  if (ToRow == -1) ToRow = ItemCount() - 1;
  std::unique_ptr<TDataTable> dt(new TDataTable());
  for (Integer i = FromRow; i <= ToRow; ++i) {
    const TRow* src = Items(i);
    auto* r = new TRow(nullptr);
    dt->FItems.push_back(r);
    dt->TakeRow(r);
    for (Integer c = 0; c < 256; ++c)
      if (Cols.test(static_cast<size_t>(c))) {
        TCell* cell = new TCell(r);
        r->FItems.push_back(cell);
        cell->FText = src->Items(c)->FText;
      }
  }
  return dt.release();
}

TDataTable* TDataTable::MakeDT(Integer ColIndex, Integer Value, Integer& SrcIndexColIndex) const {
  std::unique_ptr<TDataTable> dt(new TDataTable(String(), FConvertSet));
  for (Integer i = 0; i < ItemCount(); ++i) {
    TRow* src = FItems[static_cast<size_t>(i)];
    if (src->Items(ColIndex)->Value() != Value) continue;
    TRow* r = NewRowCopy(src);
    dt->FItems.push_back(r);
    dt->TakeRow(r);
    TCell* c = new TCell(r);
    r->FItems.push_back(c);
    c->FText = IntToStr(i);
  }
  SrcIndexColIndex = dt->FItems.empty() ? -1 : FItems[0]->ItemCount();
  return dt.release();
}

TDataTable* TDataTable::MakeDT(Integer ColIndex, Integer Value, Integer ColIndex2, Integer Value2,
                               Integer& SrcIndexColIndex) const {
  std::unique_ptr<TDataTable> dt(new TDataTable(String(), FConvertSet));
  for (Integer i = 0; i < ItemCount(); ++i) {
    TRow* src = FItems[static_cast<size_t>(i)];
    if (src->Items(ColIndex)->Value() != Value || src->Items(ColIndex2)->Value() != Value2) continue;
    TRow* r = NewRowCopy(src);
    dt->FItems.push_back(r);
    dt->TakeRow(r);
    TCell* c = new TCell(r);
    r->FItems.push_back(c);
    c->FText = IntToStr(i);
  }
  SrcIndexColIndex = dt->FItems.empty() ? -1 : FItems[0]->ItemCount();
  return dt.release();
}

TStrings* TDataTable::MakeStrings(Integer ColIndex) const {
  std::unique_ptr<TStringList> l(new TStringList());
  for (const TRow* r : FItems) l->Add(r->Items(ColIndex)->Text());
  return l.release();
}

TStrings* TDataTable::MakeStrings(Integer ColIndex, Integer VIndex, Integer V) const {
  std::unique_ptr<TStringList> l(new TStringList());
  for (const TRow* r : FItems)
    if (r->Items(VIndex)->Value() == V) l->Add(r->Items(ColIndex)->Text());
  return l.release();
}

void TDataTable::PickDT(TDataTable* DT, Integer ToColIndex) {
  if (ItemCount() == 0 || ItemCount() != DT->ItemCount()) return;
  if (ToColIndex < 0 || ToColIndex >= FItems[0]->ItemCount()) return;
  for (Integer i = 0; i < ItemCount(); ++i)
    FItems[static_cast<size_t>(i)]->Items(ToColIndex)->FText = DT->Items(i)->Items(0)->FText;
}

TByteSet TDataTable::GetColValueSet(Integer ColIndex, Integer WhereColIndex, Integer WhereValue) const {
  TByteSet s;
  for (const TRow* r : FItems) {
    if (r->Items(WhereColIndex)->Value() != WhereValue) continue;
    const Integer v = r->Items(ColIndex)->Value();
    if (v >= 0 && v <= 255) s.set(static_cast<size_t>(v));
  }
  return s;
}

TByteSet TDataTable::GetRowSet(Integer ColIndex, const TByteSet& Values) const {
  TByteSet s;
  for (Integer i = 0; i < ItemCount() && i <= 255; ++i) {
    const Integer v = FItems[static_cast<size_t>(i)]->Items(ColIndex)->Value();
    if (v >= 0 && v <= 255 && Values.test(static_cast<size_t>(v))) s.set(static_cast<size_t>(i));
  }
  return s;
}

void TDataTable::SetPropCount(Integer Count) {
  FPropertyRow->Init(std::vector<String>(static_cast<size_t>(std::max(Count, 1))));
}

void TDataTable::AddPropCount(Integer Count) {
  if (Count <= 0) return;
  TRow::TUpdateGuard g(FPropertyRow);
  TCell* last = nullptr;
  for (Integer i = 0; i < Count; ++i) last = FPropertyRow->AddItem(String());
  g.Close(cmCellAdd, last);
}

void TDataTable::InitData(const std::vector<String>& Values) {
  TRow* r = Items(FInitIndex);
  const size_t n = std::min(Values.size(), static_cast<size_t>(r->ItemCount()));
  for (size_t i = 0; i < n; ++i) r->FItems[i]->SetText(Values[i]);
  ++FInitIndex;
}

void TDataTable::InitData(const std::vector<String>& Values, Integer ARowIndex) {
  if (ARowIndex < 0 || ARowIndex >= ItemCount()) return;
  TRow* r = FItems[static_cast<size_t>(ARowIndex)];
  const size_t n = std::min(Values.size(), static_cast<size_t>(r->ItemCount()));
  for (size_t i = 0; i < n; ++i) r->FItems[i]->SetText(Values[i]);
}

void TDataTable::Sort(TSortMode Mode, const TRowCompareEvent& CompareByCustom) {
  CheckNotInBatch();
  if (FItems.empty()) return;
  // Sort a copy of the row list and commit it only when done: a comparison
  // that throws leaves the table as it was.
  std::vector<TRow*> rows = FItems;
  if (Mode == smValueInc || Mode == smValueDec) {
    std::vector<std::pair<Integer, TRow*>> keyed;
    keyed.reserve(rows.size());
    for (TRow* r : rows) keyed.emplace_back(r->Items(0)->Value(), r);
    if (Mode == smValueInc)
      std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    else
      std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return b.first < a.first; });
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = keyed[i].second;
  } else if (Mode == smCustom && CompareByCustom) {
    std::stable_sort(rows.begin(), rows.end(), [&](TRow* a, TRow* b) { return CompareByCustom(a, b) < 0; });
  }
  FItems.swap(rows);
  FRowIndexChanged = true;
  DoChange(cmSort, nullptr, nullptr, -1, -1);
}

// ---------------------------------------------------------------------------
// Text form

String TDataTable::ToString(bool IsSave) const {
  const String lb = (FIOMode & 1) ? String(u"\r\n") : String();
  auto rowText = [IsSave](const TRow* r) {
    String s;
    for (size_t i = 0; i < r->FItems.size(); ++i) {
      if (i > 0) s += u',';
      // Stored texts: a separator in a cell outside the escape set is written
      // escaped too, so that it cannot split the cell on the next load.
      s += IsSave ? EscapeTableText(r->FItems[i]->FText) : r->FItems[i]->Text();
    }
    return s;
  };
  String s = u"#" + rowText(FPropertyRow) + u"#" + lb;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i > 0) s += lb + u"|";
    s += rowText(FItems[i]);
  }
  if (IsSave && FItems.size() == 1 && FItems[0]->ToString(true).empty()) s += kLoneEmptyRow;
  return s;
}

void TDataTable::ParseInto(const String& sInit) {
  Clear();
  auto oneEmptyRow = [this] {
    auto* r = new TRow(nullptr);
    r->FItems.push_back(new TCell(r));
    FItems.push_back(r);
    TakeRow(r);
  };
  if (sInit.empty()) {
    oneEmptyRow();
    return;
  }
  size_t start = 0;
  if (sInit[0] == u'#') {
    const size_t p = sInit.find(u'#', 1);
    if (p != String::npos) {
      FPropertyRow->Init(sInit.substr(1, p - 1), u',');
      start = p + 1;
      if (start == sInit.size()) return;
    }
  }
  if (sInit.compare(start, String::npos, kLoneEmptyRow) == 0) {
    oneEmptyRow();
    return;
  }
  while (true) {
    const size_t p = sInit.find(u'|', start);
    std::unique_ptr<TRow> r(new TRow(nullptr));
    r->Init(sInit.substr(start, p == String::npos ? String::npos : p - start), u',');
    FItems.push_back(r.get());
    TakeRow(r.release());
    if (p == String::npos) break;
    start = p + 1;
  }
}

void TDataTable::Init(const String& sInit) {
  CheckNotInBatch();
  TUpdateGuard g(this);
  ParseInto(sInit);
  g.Close(cmTableInit);
}

void TDataTable::Init(Integer RowCount, Integer ColCount) {
  if (RowCount <= 0 || ColCount <= 0) return;
  CheckNotInBatch();
  TUpdateGuard g(this);
  Clear();
  for (Integer i = 0; i < RowCount; ++i) {
    auto* r = new TRow(nullptr);
    FItems.push_back(r);
    TakeRow(r);
    for (Integer k = 0; k < ColCount; ++k) r->FItems.push_back(new TCell(r));
  }
  g.Close(cmTableInit);
}

// ---------------------------------------------------------------------------
// Files and streams

String TDataTable::ContainerPassword() const { return DecryptStr(FKeyCustom, String()) + TransformKey(FKey); }

void TDataTable::SaveToStream(const String& S, TStream* Stream) {
  Byte r[3] = {0, 0, 0};
  if (FIsAddVerifyCode) {
    for (Byte& b : r) b = static_cast<Byte>(ContainerRandom(255));
    Stream->WriteBuffer(r, 3);
  }
  String text = S;
  if (FIOMode & 4) {
    text = EncryptStr(S, ContainerPassword(), 5, 1);
    if (text.empty() && !S.empty()) throw EWriteError(SWriteError);
  }
  const std::string bytes = UTF8Encode(text);
  if (FIOMode & 2) {
    // The container's False is a write failure (its own write errors included).
    if (!EncryptToStream(bytes, TransformKey(FKey), 1, Stream, 2)) throw EWriteError(SWriteError);
  } else if (!bytes.empty()) {
    Stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  }
  if (FIsAddVerifyCode) {
    const Byte e[3] = {static_cast<Byte>((r[2] - 12) & 0xFF), static_cast<Byte>((r[1] + 99) & 0xFF),
                       static_cast<Byte>((r[0] + 31) & 0xFF)};
    Stream->WriteBuffer(e, 3);
  }
}

void TDataTable::LoadFromStream(TStream* Stream) {
  CheckNotInBatch();
  TUpdateGuard g(this);
  const Int64 size = Stream->Size();
  Int64 pos = Stream->Position();
  Int64 end = size;
  if (FIsAddVerifyCode) {
    if (size - pos < 7) {
      g.CloseSilently();
      return;
    }
    Byte b[3], e[3];
    Stream->ReadBuffer(b, 3);
    Stream->SetPosition(size - 3);
    Stream->ReadBuffer(e, 3);
    if (((e[2] - b[0]) & 0xFF) != 31 || ((e[1] - b[1]) & 0xFF) != 99 || ((b[2] - e[0]) & 0xFF) != 12) {
      g.CloseSilently();
      return;
    }
    pos += 3;
    end = size - 3;
  }
  RawByteString payload(static_cast<size_t>(end - pos), '\0');
  Stream->SetPosition(pos);
  if (!payload.empty()) Stream->ReadBuffer(payload.data(), static_cast<Integer>(payload.size()));

  RawByteString bytes;
  if (FIOMode & 2) {
    TMemoryStream ms;
    if (!payload.empty()) ms.WriteBuffer(payload.data(), static_cast<Integer>(payload.size()));
    DecryptFromStream(TransformKey(FKey), &ms, bytes);
    // Deciphered data are never empty (nothing empty is enciphered), so an
    // empty result is a payload that could not be deciphered.
    if (bytes.empty()) {
      g.CloseSilently();
      return;
    }
  } else {
    bytes = std::move(payload);
  }
  String text = UTF8Decode(bytes);
  if (FIOMode & 4) {
    text = DecryptStr(text, ContainerPassword());
    if (text.empty()) {
      g.CloseSilently();
      return;
    }
  }
  if (FIOMode & 1) text = RemoveRowBreaks(text);
  ParseInto(text);
  g.Close(cmTableInit);
}

void TDataTable::WriteFileAtomically(const String& S) {
  const String tmp = FFileName + u".tmp";
  bool created = false;
  try {
    {
      TFileStream fs(tmp, fmCreate);
      created = true;
      SaveToStream(S, &fs);
      fs.Flush();
    }
    if (!ReplaceFile(tmp, FFileName))
      throw EFCreateError(SFCreateErrorEx, {FFileName, FileErrorMessage(FileLastError())});
  } catch (...) {
    if (created) DeleteFile(tmp);
    throw;
  }
}

void TDataTable::Save(bool IsAs) {
  if (FFileName.empty() || !(IsAs || FDataChanged)) return;
  const String s = ToString(true);
  if (s.empty()) return;
  WriteFileAtomically(s);
  SetDataChanged(false);
}

void TDataTable::SaveAs(const String& sFileName) {
  if (sFileName.empty()) return;
  FFileName = sFileName;
  Save(true);
}

void TDataTable::Load(const String& sFileName, Integer AutoCreateRowCount, Integer AutoCreateCellCount) {
  CheckNotInBatch();
  SetFileName(sFileName);
  // Open before clearing: a file that exists but cannot be opened raises and
  // leaves the table as it was.
  std::unique_ptr<TFileStream> fs;
  if (FileExists(sFileName)) fs.reset(new TFileStream(sFileName, fmOpenRead | fmShareDenyWrite));
  {
    TUpdateGuard g(this);
    Clear();
    if (fs && fs->Size() > 0) LoadFromStream(fs.get());
    g.Close(cmLoad);
  }
  fs.reset();
  SetDataChanged(false);
  if (FItems.empty()) Init(AutoCreateRowCount, AutoCreateCellCount);
}
