// The undo history's store and its backward searches.
#include "document/UndoSteps.h"

#include <cstring>

#include "document/ShapeRows.h"

namespace {

constexpr Integer SelectionType = 14;

String CellOf(TRow* Row, Integer Index) {
  return Index >= 0 && Index < Row->ItemCount() ? Row->Items(Index)->StoredText() : String();
}
void PutCell(TRow* Row, Integer Index, const String& Text) {
  while (Row->ItemCount() <= Index) Row->AddItem(String());
  Row->Items(Index)->SetText(Text);
}

TUndoPart* AsPart(void* P) { return static_cast<TUndoPart*>(P); }

// The row of object Id in a step table (nil when it has none).
TRow* RowOfId(TDataTable* Step, Integer Id) {
  const Integer i = Step->IndexOfValue(ShapeCol::Id, Id);
  return i >= 0 ? Step->Items(i) : nullptr;
}

}  // namespace

std::unique_ptr<TCustomBitmap32> CopyOfBitmap(const TCustomBitmap32* Source) {
  auto b = std::make_unique<TCustomBitmap32>();
  if (Source == nullptr || Source->Empty()) return b;
  b->SetSize(Source->Width(), Source->Height());
  std::memcpy(b->Bits(), Source->Bits(), size_t(Source->Width()) * size_t(Source->Height()) * 4);
  return b;
}

TDataTable* NewStepTable(TDataTable* Objects) {
  auto* t = new TDataTable(String(), TCellIndexSet());
  t->CopyFrom(Objects, true, -1);
  return t;
}

TDataTable* StepTable(TDataTable* UndoDT, Integer Index) {
  if (UndoDT == nullptr || Index < 0 || Index >= UndoDT->ItemCount()) return nullptr;
  return static_cast<TDataTable*>(UndoDT->Items(Index)->Data());
}

TUndoPart* PartOf(TRow* R, TUndoSlot Slot) {
  switch (Slot) {
    case TUndoSlot::Picture:
    case TUndoSlot::Lifted: return AsPart(R->Data());
    case TUndoSlot::AliasPoints: return AsPart(R->Data2());
    case TUndoSlot::NodePoints: return AsPart(R->Data3());
    case TUndoSlot::Region: return AsPart(R->Data4());
  }
  return nullptr;
}

void SetPartOf(TRow* R, TUndoSlot Slot, TUndoPart* Part) {
  switch (Slot) {
    case TUndoSlot::Picture:
    case TUndoSlot::Lifted: R->SetData(Part); break;
    case TUndoSlot::AliasPoints:
      R->SetData2(Part);
      PutCell(R, UndoCell::AliasCount,
              IntToStr(Part ? Integer(static_cast<TUndoPoints*>(Part)->Value.size()) : 0));
      break;
    case TUndoSlot::NodePoints:
      R->SetData3(Part);
      PutCell(R, UndoCell::NodeCount, IntToStr(Part ? Integer(static_cast<TUndoPoints*>(Part)->Value.size()) : 0));
      break;
    case TUndoSlot::Region:
      R->SetData4(Part);
      PutCell(R, UndoCell::Region, Part ? u"1" : u"0");
      break;
  }
}

void ClearUndo(TDataTable* Step) {
  if (Step == nullptr) return;
  for (Integer i = 0; i < Step->ItemCount(); ++i) {
    TRow* r = Step->Items(i);
    delete AsPart(r->Data());
    delete AsPart(r->Data2());
    delete AsPart(r->Data3());
    delete AsPart(r->Data4());
    r->SetData(nullptr);
    r->SetData2(nullptr);
    r->SetData3(nullptr);
    r->SetData4(nullptr);
  }
  delete AsPart(Step->Data());
  delete AsPart(Step->Data2());
  delete AsPart(Step->Data3());
  Step->SetData(nullptr);
  Step->SetData2(nullptr);
  Step->SetData3(nullptr);
}

void RemoveStep(TDataTable* UndoDT, Integer Index) {
  TDataTable* step = StepTable(UndoDT, Index);
  ClearUndo(step);
  delete step;
  UndoDT->Items(Index)->SetData(nullptr);
  UndoDT->RemoveItemByIndex(Index);
}

void ClearHistory(TDataTable* UndoDT) {
  if (UndoDT == nullptr) return;
  for (Integer i = UndoDT->ItemCount() - 1; i >= 0; --i) RemoveStep(UndoDT, i);
}

void HandHeavyPartsOn(TDataTable* From, TDataTable* To) {
  if (From == nullptr || To == nullptr) return;
  if (From->Data() && !To->Data()) {
    To->SetData(From->Data());
    From->SetData(nullptr);
  }
  for (Integer i = 0; i < From->ItemCount(); ++i) {
    TRow* f = From->Items(i);
    TRow* t = RowOfId(To, CellTextToInt(CellOf(f, ShapeCol::Id)));
    if (t == nullptr) continue;  // no later step looks back past this one
    const bool selection = CellTextToInt(CellOf(f, ShapeCol::Type)) == SelectionType;
    auto hand = [&](TUndoSlot Slot) {
      TUndoPart* p = PartOf(f, Slot);
      if (p == nullptr || PartOf(t, Slot) != nullptr) return;
      SetPartOf(t, Slot, p);
      SetPartOf(f, Slot, nullptr);
    };
    if (!selection) {
      hand(TUndoSlot::Picture);
      continue;
    }
    hand(TUndoSlot::Region);
    hand(TUndoSlot::AliasPoints);
    if (PartOf(f, TUndoSlot::NodePoints) && !PartOf(t, TUndoSlot::NodePoints))
      PutCell(t, UndoCell::NodeAntialiasing, CellOf(f, UndoCell::NodeAntialiasing));
    hand(TUndoSlot::NodePoints);
    // The lifted picture is looked for only while the later row still has
    // one.
    if (CellTextToBool(CellOf(t, UndoCell::Lifted))) hand(TUndoSlot::Lifted);
  }
}

void AppendStep(TDataTable* UndoDT, Integer& UndoIndex, TDataTable* Step, const String& StateName,
                const std::function<Int64()>& AvailMemory) {
  for (Integer i = UndoDT->ItemCount() - 1; i > UndoIndex && i >= 0; --i) RemoveStep(UndoDT, i);
  if (UndoDT->ItemCount() >= 5 && AvailMemory && AvailMemory() < UndoLowMemory) {
    HandHeavyPartsOn(StepTable(UndoDT, 0), StepTable(UndoDT, 1));
    RemoveStep(UndoDT, 0);
    --UndoIndex;
  }
  TRow* row = UndoDT->AddItem(String(u",,,,"));
  row->Items(UndoCell::StateName)->SetText(StateName);
  row->SetData(Step);
  ++UndoIndex;
}

TCustomBitmap32* FindRaster(TDataTable* UndoDT, Integer Index) {
  for (Integer i = Index; i >= 0; --i) {
    TDataTable* step = StepTable(UndoDT, i);
    if (step && step->Data()) return static_cast<TUndoBitmap*>(AsPart(step->Data()))->Value.get();
  }
  return nullptr;
}

TRow* FindRowPart(TDataTable* UndoDT, Integer Index, Integer Id, TUndoSlot Slot) {
  for (Integer i = Index; i >= 0; --i) {
    TDataTable* step = StepTable(UndoDT, i);
    TRow* r = step ? RowOfId(step, Id) : nullptr;
    if (r == nullptr) return nullptr;
    if (Slot == TUndoSlot::Lifted && !CellTextToBool(CellOf(r, UndoCell::Lifted))) return nullptr;
    if (PartOf(r, Slot)) return r;
  }
  return nullptr;
}

void ClearUndoStateName(TDataTable* UndoDT, const String& S) {
  if (UndoDT == nullptr) return;
  for (Integer i = 0; i < UndoDT->ItemCount(); ++i) {
    TRow* r = UndoDT->Items(i);
    if (CellOf(r, UndoCell::StateName) == S) r->Items(UndoCell::StateName)->SetText(String());
  }
}
