// The data table: an ordered list of rows of text cells plus one property row,
// with integer and Boolean views of cells, change events, update brackets, a
// batch journal, sorting, one text form, and its file and stream layers.
// Portable: no Windows header.
#pragma once

#include <bitset>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/System.h"

class TCell;
class TRow;
class TDataTable;

enum TDataTableChangeMode : Integer {
  cmNoTrigger,
  cmLoad,
  cmSort,
  cmDirect,
  cmPropChange,
  cmCellAdd,
  cmCellEdit,
  cmCellDeleted,
  cmCellMove,
  cmRowInit,
  cmRowClear,
  cmRowAdd,
  cmRowBatchAdd,
  cmRowDeleted,
  cmRowBatchDeleted,
  cmRowMove,
  cmTableInit,
  cmTableClear,
  cmTableAdd,
  cmTableDeleted,
  cmTableMove,
  cmTablesInit,
  cmTablesClear,
};

enum TSortMode : Integer { smText, smValueInc, smValueDec, smCustom };

// Sets of cell indexes: 0..103 for the escape and line-break sets, 0..49 for
// SameOf, 0..255 for MakeDT and the value sets.
using TCellIndexSet = std::bitset<104>;
using TColIndexSet50 = std::bitset<50>;
using TByteSet = std::bitset<256>;

TCellIndexSet CellIndexSet(std::initializer_list<Integer> Indexes);
TColIndexSet50 ColIndexSet50(std::initializer_list<Integer> Indexes);
TByteSet ByteSet(std::initializer_list<Integer> Indexes);

using TRowDataChangeEvent = std::function<void(TRow* Sender, TDataTableChangeMode ChangeMode, TCell* ACell)>;
using TDataTableDataChangeEvent = std::function<void(TDataTable* Sender, TDataTableChangeMode ChangeMode, TRow* ARow,
                                                     TCell* ACell, Integer Data1, Integer Data2)>;
using TRowDeletingEvent = std::function<void(bool IsDelete, TDataTable* Sender, TRow* ARow, Integer Index)>;
using TRowIndexChangeEvent = std::function<void(TObject* Sender, Integer NewIndex)>;
// Comparison of two rows for Sort(smCustom): negative, zero or positive.
using TRowCompareEvent = std::function<Integer(TRow* Row1, TRow* Row2)>;

// "," -> character 26 and "|" -> character 27, and back: for free text kept in
// cells outside a table's escape set.
String EscapeTableText(const String& Text);
String UnescapeTableText(const String& Text);

// The table text of a file with line breaks (IOMode flag 1) as the parser
// takes it: the CR LF written after the property row and the CR LF written
// before every "|" go; line breaks inside cells stay.
String RemoveRowBreaks(const String& Text);

// Strict readings of cell text: a decimal Int32 (optional sign, digits only,
// in range) or 0; a Boolean (a decimal number, non-zero = True, or the words
// True/False in any ASCII case) or False.
Integer CellTextToInt(const String& Text);
bool CellTextToBool(const String& Text);

// ---------------------------------------------------------------------------

class TCell : public TObject {
  friend class TRow;
  friend class TDataTable;

 public:
  explicit TCell(TRow* AParent);

  TRow* Parent() const { return FParent; }
  // Decoded text (26/27 turned back into "," and "|" in an escaped cell).
  String Text() const;
  void SetText(const String& Value);
  // The text as stored (and as written to files).
  const String& StoredText() const { return FText; }
  Integer Value() const;
  void SetValue(Integer AValue);
  bool AsBool() const;
  void SetAsBool(bool AValue);
  Integer GetIndex() const;
  // True when this cell's text is escaped (owning table, index in its escape set).
  bool IsConverted() const;

 private:
  void StoreText(const String& NewText);

  TRow* FParent;
  String FText;
};

// ---------------------------------------------------------------------------

class TRow : public TPersistent {
  friend class TCell;
  friend class TDataTable;

 public:
  explicit TRow(TDataTable* AOwner);
  ~TRow() override;

  TDataTable* Parent() const { return FParent; }
  TDataTable* RefParent() const { return FRefParent; }
  Integer ItemCount() const { return static_cast<Integer>(FItems.size()); }
  TCell* Items(Integer Index) const;
  TCell* operator[](Integer Index) const { return Items(Index); }
  Integer Id() const { return FId; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  void* Data2() const { return FData2; }
  void SetData2(void* Value) { FData2 = Value; }
  void* Data3() const { return FData3; }
  void SetData3(void* Value) { FData3 = Value; }
  void* Data4() const { return FData4; }
  void SetData4(void* Value) { FData4 = Value; }
  const std::shared_ptr<void>& IData() const { return FIData; }
  void SetIData(std::shared_ptr<void> Value) { FIData = std::move(Value); }
  bool DataChanged() const { return FDataChanged; }
  void SetDataChanged(bool Value) { FDataChanged = Value; }
  const TRowDataChangeEvent& OnDataChanged() const { return FOnDataChanged; }
  void SetOnDataChanged(TRowDataChangeEvent Value) { FOnDataChanged = std::move(Value); }

  void Init(const std::vector<String>& Values);
  void Init(const std::vector<Integer>& Values);
  void Init(std::initializer_list<const char16_t*> Values);
  void Init(const String& sInit, Char sSplitChar);
  void CopyFrom(TRow* ARow);
  void AppendFrom(TRow* ARow);
  TCell* AddItem(const String& Value);
  TCell* AddItem(const char16_t* Value) { return AddItem(String(Value)); }
  TCell* AddItemByText(const String& Value);
  TCell* AddItem(Integer Value);
  TCell* InsertItem(Integer Index, Integer Value);
  TCell* InsertItem(Integer Index, const String& Value);
  TCell* InsertItem(Integer Index, const char16_t* Value) { return InsertItem(Index, String(Value)); }
  void MoveItem(Integer SrcIndex, Integer DestIndex);
  void RemoveItemByIndex(Integer Index);
  Integer RemoveItemByValue(Integer Value);
  Integer RemoveItemByText(const String& Value);
  void RemoveRepeated();
  Integer IndexOf(Integer Value) const;
  Integer IndexOfText(const String& Value) const;
  void Clear();
  // Cells StartIndex .. Count-1 (Count -1: to the last cell), joined.
  String ToString(bool IsSave = false, Char sSplitChar = u',', Integer Count = -1, Integer StartIndex = 0) const;
  void Sort(TSortMode Mode);
  Integer GetIndex() const;

  void BeginUpdate();
  void EndUpdate(TDataTableChangeMode ChangeMode, TCell* ACell);

 private:
  class TUpdateGuard;
  TDataTable* ReportTable() const { return FRefParent ? FRefParent : FParent; }
  void BeforeChange();
  void DoChange(TDataTableChangeMode ChangeMode, TCell* ACell);
  void FreeCells();
  void CheckIndex(Integer Index) const;
  // Exact copy of the source's stored texts, no journal and no event.
  void AssignStored(const TRow* ARow);

  TDataTable* FParent;
  TDataTable* FRefParent = nullptr;
  std::vector<TCell*> FItems;
  Integer FId = -1;
  Integer FTag = 0;
  bool FIsProp = false;
  bool FIsIndex = false;
  void* FData = nullptr;
  void* FData2 = nullptr;
  void* FData3 = nullptr;
  void* FData4 = nullptr;
  std::shared_ptr<void> FIData;
  Integer FUpdateCount = 0;
  bool FDataChanged = false;
  TRowDataChangeEvent FOnDataChanged;
};

// ---------------------------------------------------------------------------

class TDataTable : public TPersistent {
  friend class TCell;
  friend class TRow;

 public:
  explicit TDataTable(const String& AKey = String(), const TCellIndexSet& AConvertSet = TCellIndexSet());
  ~TDataTable() override;

  Integer ItemCount() const { return static_cast<Integer>(FItems.size()); }
  Integer PropCount() const { return FPropertyRow->ItemCount(); }
  TRow* Items(Integer Index) const;
  TRow* operator[](Integer Index) const { return Items(Index); }
  TCell* Props(Integer Index) const { return FPropertyRow->Items(Index); }
  TRow* PropertyRow() const { return FPropertyRow; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value);
  String Name() const;
  void SetName(const String& Value);
  Integer Value() const;
  void SetValue(Integer AValue);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  void* Data2() const { return FData2; }
  void SetData2(void* Value) { FData2 = Value; }
  void* Data3() const { return FData3; }
  void SetData3(void* Value) { FData3 = Value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  Integer RowIndex();
  void SetRowIndex(Integer Value);
  Integer ColIndex() const { return FColIndex; }
  void SetColIndex(Integer Value);
  Integer IOMode() const { return FIOMode; }
  void SetIOMode(Integer Value) { FIOMode = Value; }
  const String& Key() const { return FKey; }
  void SetKey(const String& Value) { FKey = Value; }
  const String& KeyCustom() const { return FKeyCustom; }
  void SetKeyCustom(const String& Value) { FKeyCustom = Value; }
  bool IsAddVerifyCode() const { return FIsAddVerifyCode; }
  void SetIsAddVerifyCode(bool Value) { FIsAddVerifyCode = Value; }
  const TCellIndexSet& ConvertSet() const { return FConvertSet; }
  TCellIndexSet& ReserveLFSet() { return FReserveLFSet; }
  bool DataChanged() const { return FDataChanged; }
  void SetDataChanged(bool Value);
  bool InBatch() const { return FInBatch; }
  bool PreventEvent() const { return FPreventEvent; }
  void SetPreventEvent(bool Value) { FPreventEvent = Value; }
  const TDataTableDataChangeEvent& OnDataChanged() const { return FOnDataChanged; }
  void SetOnDataChanged(TDataTableDataChangeEvent Value) { FOnDataChanged = std::move(Value); }
  const TRowDeletingEvent& OnRowDeleting() const { return FOnRowDeleting; }
  void SetOnRowDeleting(TRowDeletingEvent Value) { FOnRowDeleting = std::move(Value); }
  const TRowIndexChangeEvent& OnRowIndexChanged() const { return FOnRowIndexChanged; }
  void SetOnRowIndexChanged(TRowIndexChangeEvent Value) { FOnRowIndexChanged = std::move(Value); }

  TRow* AddItem(TRow* ARow, bool IsCopy);
  TRow* AddItem(const String& sRow);
  TRow* AddItem(const char16_t* sRow) { return AddItem(String(sRow)); }
  TRow* InsertItem(Integer Index, TRow* ARow, bool IsCopy);
  void RefItem(TRow* ARow);
  void AddEmptyItem(Integer Count);
  void AppendFrom(TDataTable* ADataTable, Integer MaxCount);
  void AppendFromFile(const String& sFileName, Integer MaxCount);
  void CopyFrom(TDataTable* ADataTable, bool IncludeProp, Integer MaxCount);
  void MoveItem(Integer Index, Integer ToIndex);
  void RemoveItemByIndex(Integer Index);
  Integer RemoveItemByValue(Integer Value);
  Integer RemoveItemByText(Integer ColIndex, const String& Text);
  void RemoveRepeated();
  void Clear();
  void Empty();
  Integer IndexOfId(Integer Id) const;
  Integer IndexOfValue(Integer ColIndex, Integer Value) const;
  Integer IndexOfText(Integer ColIndex, const String& Text) const;
  Integer IndexOfText(Integer ColIndex1, const String& Text1, Integer ColIndex2, const String& Text2) const;
  TRow* GetRow(Integer ColIndex, Integer Value) const;
  TRow* GetRow(Integer ColIndex1, Integer Value1, Integer ColIndex2, Integer Value2) const;
  Integer GetRowCount(Integer ColIndex, Integer Value) const;
  Integer GetRowCount(Integer ColIndex1, Integer Value1, Integer ColIndex2, Integer Value2) const;
  Integer SumBy(Integer ColIndex, Integer MinRowIndex, Integer MaxRowIndex) const;
  bool RowIsExist(TRow* Row, const String& IndexStr) const;
  bool SameOf(TDataTable* DT, const TColIndexSet50& Cols, Integer Mode) const;
  TRow* MakeRow(Integer ColIndex) const;
  TRow* MakeIndexRow(Integer ColIndex, Integer Value) const;
  TDataTable* MakeDT(const TByteSet& Cols, Integer FromRow, Integer ToRow) const;
  TDataTable* MakeDT(Integer ColIndex, Integer Value, Integer& SrcIndexColIndex) const;
  TDataTable* MakeDT(Integer ColIndex, Integer Value, Integer ColIndex2, Integer Value2,
                     Integer& SrcIndexColIndex) const;
  TStrings* MakeStrings(Integer ColIndex) const;
  TStrings* MakeStrings(Integer ColIndex, Integer VIndex, Integer V) const;
  void PickDT(TDataTable* DT, Integer ToColIndex);
  // Values (0..255) of column ColIndex over the rows whose cell WhereColIndex has WhereValue.
  TByteSet GetColValueSet(Integer ColIndex, Integer WhereColIndex, Integer WhereValue) const;
  // Indexes (0..255) of the rows whose cell ColIndex has a value in Values.
  TByteSet GetRowSet(Integer ColIndex, const TByteSet& Values) const;
  void SetPropCount(Integer Count);
  void AddPropCount(Integer Count);
  void InitData(const std::vector<String>& Values);
  void InitData(const std::vector<String>& Values, Integer ARowIndex);
  void Sort(TSortMode Mode, const TRowCompareEvent& CompareByCustom = TRowCompareEvent());
  // Text form; IsSave writes stored texts (and any "," or "|" of a plain cell
  // as 26/27, so the text always parses back to the same cells), and a table
  // whose only row writes as nothing with a character 0 in place of the rows,
  // so that it does not read back as a table without rows.
  String ToString(bool IsSave) const;
  void Init(const String& sInit);
  void Init(Integer RowCount, Integer ColCount);

  void BatchStart();
  void BatchCommit();
  void BatchRollback();

  void BeginUpdate();
  void EndUpdate(TDataTableChangeMode ChangeMode, TRow* ARow = nullptr, TCell* ACell = nullptr, Integer Data1 = -1,
                 Integer Data2 = -1);

  // Files and streams.
  void SaveToStream(const String& S, TStream* Stream);
  void LoadFromStream(TStream* Stream);
  void Save(bool IsAs);
  void SaveAs(const String& sFileName);
  void Load(const String& sFileName, Integer AutoCreateRowCount, Integer AutoCreateCellCount);

 private:
  class TUpdateGuard;
  void DoChange(TDataTableChangeMode ChangeMode, TRow* ARow, TCell* ACell, Integer Data1, Integer Data2);
  void JournalRow(TRow* ARow);
  void JournalEntry(Integer Kind, Integer A, Integer B);
  void DeleteRowAt(Integer Index);
  void DisposeRow(TRow* ARow);
  static TRow* NewRowCopy(const TRow* ARow);
  void TakeRow(TRow* ARow);
  void ClearRows();
  void ParseInto(const String& sInit);
  void CheckIndex(Integer Index) const;
  void CheckNotInBatch() const;
  String ContainerPassword() const;
  void WriteFileAtomically(const String& S);

  void* FData = nullptr;
  void* FData2 = nullptr;
  void* FData3 = nullptr;
  std::vector<TRow*> FItems;
  String FFileName;
  Integer FNextRowId = 1;
  Integer FTag = 0;
  TRow* FPropertyRow = nullptr;
  Integer FUpdateCount = 0;
  bool FDataChanged = false;
  bool FRowIndexChanged = false;
  Integer FRowIndex = -1;
  Integer FColIndex = -1;
  Integer FIOMode = 2;
  String FKey;
  String FKeyCustom;
  bool FIsAddVerifyCode = false;
  TCellIndexSet FConvertSet;
  TCellIndexSet FReserveLFSet;
  Integer FInitIndex = 0;
  TDataTable* FBatchDT = nullptr;
  TDataTable* FBatchRowDT = nullptr;
  bool FInBatch = false;
  bool FPreventEvent = false;
  TRowIndexChangeEvent FOnRowIndexChanged;
  TDataTableDataChangeEvent FOnDataChanged;
  TRowDeletingEvent FOnRowDeleting;
};
