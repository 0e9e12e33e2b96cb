// TCollection and TCollectionItem.
#include <algorithm>

#include "rtl/Classes.h"

namespace {

[[noreturn]] void CollectionIndexError(Integer Index) {
  throw EListError(SListIndexError, {static_cast<Int64>(Index)});
}

}  // namespace

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& L = FCollection->FItems;
  return static_cast<Integer>(std::find(L.begin(), L.end(), this) - L.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  Integer Cur = Index();
  if (Cur < 0 || Value == Cur) return;
  auto& L = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<Integer>(L.size())) CollectionIndexError(Value);
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
  Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TItemFactory ItemFactory, TPersistent* AOwner)
    : FItemFactory(std::move(ItemFactory)), FOwner(AOwner) {}

TCollection::~TCollection() {
  // Items leave one by one; no Update reaches a collection being destroyed.
  FUpdateCount = 1;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Add() {
  // The factory's item joins through its constructor (InsertItem).
  return FItemFactory(this);
}

TCollectionItem* TCollection::Insert(Integer Index) {
  if (Index < 0 || Index > Count()) CollectionIndexError(Index);
  BeginUpdate();
  TCollectionItem* Item;
  try {
    Item = Add();
    Item->SetIndex(Index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return Item;
}

void TCollection::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) CollectionIndexError(Index);
  TCollectionItem* Item = FItems[static_cast<size_t>(Index)];
  Notify(Item, cnDeleting);
  delete Item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) Delete(Count() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCollection*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* It : Src->FItems) Add()->Assign(It);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) CollectionIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* It : FItems)
    if (It->FID == ID) return It;
  return nullptr;
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  FItems.erase(std::find(FItems.begin(), FItems.end(), Item));
  Item->FCollection = nullptr;
  Changed();
}
