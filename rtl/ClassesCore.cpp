// TPersistent, TList and TComponent.
#include <algorithm>

#include "rtl/Classes.h"

// ---------------------------------------------------------------------------

void SortPermutation(std::vector<Integer>& Index, const std::function<bool(Integer, Integer)>& Less) {
  const size_t n = Index.size();
  if (n < 2) return;
  std::vector<Integer> tmp(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) {
        // Take from the right only when it is strictly less: stable.
        if (Less(Index[j], Index[i])) tmp[k++] = Index[j++];
        else tmp[k++] = Index[i++];
      }
      while (i < mid) tmp[k++] = Index[i++];
      while (j < hi) tmp[k++] = Index[j++];
    }
    Index.swap(tmp);
  }
}

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* Source) {
  if (Source != nullptr) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  String SourceName = Source != nullptr ? Source->ClassName() : String(u"nil");
  throw EConvertError(u"Cannot assign a %s to a %s", {SourceName, ClassName()});
}

// ---------------------------------------------------------------------------
// TList

TList::~TList() { Clear(); }

void TList::Error(const char16_t* Msg, NativeInt Data) { throw EListError(Msg, {static_cast<Int64>(Data)}); }

void TList::Grow() {
  Integer Delta;
  if (FCapacity > 64) Delta = FCapacity / 4;
  else if (FCapacity > 8) Delta = 16;
  else Delta = 4;
  SetCapacity(FCapacity + Delta);
}

Integer TList::Add(void* Item) {
  Integer Result = Count();
  if (Result == FCapacity) Grow();
  FList.push_back(Item);
  if (Item != nullptr) Notify(Item, lnAdded);
  return Result;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  if (Count() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, Item);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  void* Temp = FList[Index];
  FList.erase(FList.begin() + Index);
  if (Temp != nullptr) Notify(Temp, lnDeleted);
}

Integer TList::Remove(void* Item) {
  Integer Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

void* TList::Extract(void* Item) {
  Integer I = IndexOf(Item);
  if (I < 0) return nullptr;
  FList.erase(FList.begin() + I);
  Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const {
  for (size_t i = 0; i < FList.size(); ++i)
    if (FList[i] == Item) return static_cast<Integer>(i);
  return -1;
}

void TList::Exchange(Integer Index1, Integer Index2) {
  if (Index1 < 0 || Index1 >= Count()) Error(SListIndexError, Index1);
  if (Index2 < 0 || Index2 >= Count()) Error(SListIndexError, Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (CurIndex < 0 || CurIndex >= Count()) Error(SListIndexError, CurIndex);
  if (NewIndex < 0 || NewIndex >= Count()) Error(SListIndexError, NewIndex);
  void* Item = FList[CurIndex];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Sort(const TListSortCompare& Compare) {
  if (Count() < 2 || !Compare) return;
  std::vector<Integer> idx(FList.size());
  for (size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<Integer>(i);
  SortPermutation(idx, [&](Integer a, Integer b) { return Compare(FList[a], FList[b]) < 0; });
  std::vector<void*> sorted(FList.size());
  for (size_t i = 0; i < idx.size(); ++i) sorted[i] = FList[idx[i]];
  FList.swap(sorted);
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Pack() {
  for (Integer i = Count() - 1; i >= 0; --i)
    if (FList[i] == nullptr) FList.erase(FList.begin() + i);
}

void* TList::First() const { return Items(0); }

void* TList::Last() const { return Items(Count() - 1); }

TList* TList::Expand() {
  if (Count() == FCapacity) Grow();
  return this;
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0) Error(SListCountError, NewCount);
  if (NewCount > FCapacity) SetCapacity(NewCount);
  if (NewCount > Count()) FList.resize(static_cast<size_t>(NewCount), nullptr);
  else
    for (Integer i = Count() - 1; i >= NewCount; --i) Delete(i);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count()) Error(SListCapacityError, NewCapacity);
  if (NewCapacity != FCapacity) {
    if (NewCapacity == 0) std::vector<void*>().swap(FList);
    else FList.reserve(static_cast<size_t>(NewCapacity));
    FCapacity = NewCapacity;
  }
}

void* TList::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  return FList[Index];
}

void TList::SetItems(Integer Index, void* Item) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  void* Temp = FList[Index];
  if (Item == Temp) return;
  FList[Index] = Item;
  if (Temp != nullptr) Notify(Temp, lnDeleted);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Notify(void*, TListNotification) {}

// ---------------------------------------------------------------------------
// TComponent

namespace {

bool IsValidIdent(const String& S) {
  if (S.empty()) return false;
  auto alpha = [](Char c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
  if (!alpha(S[0])) return false;
  for (Char c : S)
    if (!alpha(c) && !(c >= u'0' && c <= u'9')) return false;
  return true;
}

void EraseOne(std::vector<TComponent*>& v, TComponent* c) {
  auto it = std::find(v.begin(), v.end(), c);
  if (it != v.end()) v.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) TList::Error(SListIndexError, Index);
  return FComponents[Index];
}

Integer TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<Integer>(it - v.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(SInvalidName, {NewName});
  if (FOwner != nullptr) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  if (AComponent != nullptr && !SameText(CurName, NewName)) {
    TComponent* other = FindComponent(NewName);
    if (other != nullptr && other != AComponent) throw EComponentError(SDuplicateName, {NewName});
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  // A component has one owner: leave the old one first.
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  ValidateRename(AComponent, String(), AComponent->FName);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  EraseOne(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    if (Instance->FComponentState.Contains(csFreeNotification)) RemoveComponent(Instance);
    else {
      FComponents.pop_back();
      Instance->FOwner = nullptr;
    }
    delete Instance;
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Pass it on to the owned components; one may free others while it runs.
  Integer I = ComponentCount() - 1;
  while (I >= 0) {
    FComponents[I]->Notification(AComponent, Operation);
    --I;
    if (I >= ComponentCount()) I = ComponentCount() - 1;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (FOwner == nullptr || AComponent->FOwner != FOwner) {
    // Never take a reference to a component that is going away.
    if (FComponentState.Contains(csDestroying) || AComponent->FComponentState.Contains(csDestroying)) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it == FFreeNotifies.end()) return;
  FFreeNotifies.erase(it);
  AComponent->RemoveFreeNotification(this);
}

void TComponent::RemoveFreeNotifications() {
  // Each link is dropped before the other side hears of it, so an override
  // of Notification that does not call the default cannot loop here.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    EraseOne(Other->FFreeNotifies, this);
    Other->Notification(this, opRemove);
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::CollectLoading(std::vector<TComponent*>& Out) {
  if (FComponentState.Contains(csLoading)) Out.push_back(this);
  for (TComponent* c : FComponents) c->CollectLoading(Out);
}

bool TComponent::OwnsTransitively(const TComponent* C) const {
  if (C == this) return true;
  for (TComponent* c : FComponents)
    if (c->OwnsTransitively(C)) return true;
  return false;
}

void TComponent::EndLoading() {
  std::vector<TComponent*> list;
  CollectLoading(list);
  for (TComponent* c : list) {
    // A Loaded handler may have freed or released one of the later ones.
    if (!OwnsTransitively(c) || !c->FComponentState.Contains(csLoading)) continue;
    c->Loaded();
    c->FComponentState.Exclude(csLoading);
  }
}
