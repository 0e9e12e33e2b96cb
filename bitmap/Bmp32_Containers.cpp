#include "bitmap/Bmp32_Containers.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// TPointerMap

TPointerMap::~TPointerMap() { Clear(); }

PPData TPointerMap::Add(void* NewItem) {
  bool IsNew;
  return Add(NewItem, nullptr, IsNew);
}

PPData TPointerMap::Add(void* NewItem, bool& IsNew) { return Add(NewItem, nullptr, IsNew); }

PPData TPointerMap::Add(void* NewItem, void* NewData) {
  bool IsNew;
  return Add(NewItem, NewData, IsNew);
}

PPData TPointerMap::Add(void* NewItem, void* NewData, bool& IsNew) {
  Integer B, I;
  if (Locate(NewItem, B, I)) {
    IsNew = false;
    return &FBuckets[B].Items[I].Data;
  }
  TPointerBucket& Bucket = FBuckets[BucketOf(NewItem)];
  const Integer Len = static_cast<Integer>(Bucket.Items.size());
  if (Bucket.Count == Len) {
    Integer Delta;
    if (Len > 64)
      Delta = Len / 4;
    else if (Len > 8)
      Delta = 16;
    else
      Delta = 4;
    Bucket.Items.resize(static_cast<size_t>(Len) + Delta);
  }
  I = Bucket.Count++;
  Bucket.Items[I].Item = NewItem;
  Bucket.Items[I].Data = NewData;
  ++FCount;
  IsNew = true;
  return &Bucket.Items[I].Data;
}

void TPointerMap::Clear() {
  FCount = 0;
  for (Integer B = 0; B < 256; ++B) {
    for (Integer I = FBuckets[B].Count - 1; I >= 0; --I) RemoveAt(B, I);
    FBuckets[B].Count = 0;
    std::vector<TPointerBucketItem>().swap(FBuckets[B].Items);
  }
}

bool TPointerMap::Contains(void* Item) const {
  Integer B, I;
  return Locate(Item, B, I);
}

bool TPointerMap::Find(void* Item, PPData& Data) {
  Integer B, I;
  bool Found = Locate(Item, B, I);
  if (Found) Data = &FBuckets[B].Items[I].Data;
  return Found;
}

bool TPointerMap::Locate(void* Item, Integer& BucketIndex, Integer& ItemIndex) const {
  BucketIndex = BucketOf(Item);
  const TPointerBucket& Bucket = FBuckets[BucketIndex];
  for (Integer I = 0; I < Bucket.Count; ++I)
    if (Bucket.Items[I].Item == Item) {
      ItemIndex = I;
      return true;
    }
  ItemIndex = -1;
  return false;
}

void* TPointerMap::Remove(void* Item) {
  Integer B, I;
  if (Locate(Item, B, I)) return RemoveAt(B, I);
  return nullptr;
}

void* TPointerMap::RemoveAt(Integer BucketIndex, Integer ItemIndex) {
  TPointerBucket& Bucket = FBuckets[BucketIndex];
  void* Result = Bucket.Items[ItemIndex].Data;
  if (FCount == 0) return Result;
  for (Integer I = ItemIndex; I < Bucket.Count - 1; ++I) Bucket.Items[I] = Bucket.Items[I + 1];
  --Bucket.Count;
  if (Bucket.Count == 0) std::vector<TPointerBucketItem>().swap(Bucket.Items);
  --FCount;
  return Result;
}

void* TPointerMap::DataOf(void* Item) {
  Integer B, I;
  if (!Locate(Item, B, I))
    throw EListError(u"Item not found ($0%x)", {static_cast<UInt64>(reinterpret_cast<std::uintptr_t>(Item))});
  return FBuckets[B].Items[I].Data;
}

void TPointerMap::SetDataOf(void* Item, void* Data) {
  Integer B, I;
  if (!Locate(Item, B, I))
    throw EListError(u"Item not found ($0%x)", {static_cast<UInt64>(reinterpret_cast<std::uintptr_t>(Item))});
  FBuckets[B].Items[I].Data = Data;
}

bool TPointerMapIterator::Next() {
  if (FCurItemIndex > 0) {
    --FCurItemIndex;
  } else {
    FCurItemIndex = -1;
    while (FCurBucketIndex < 255) {
      ++FCurBucketIndex;
      if (FSrcPointerMap->FBuckets[FCurBucketIndex].Count > 0) {
        FCurItemIndex = FSrcPointerMap->FBuckets[FCurBucketIndex].Count - 1;
        break;
      }
    }
    if (FCurItemIndex < 0) return false;
  }
  const TPointerBucketItem& E = FSrcPointerMap->FBuckets[FCurBucketIndex].Items[FCurItemIndex];
  FItem = E.Item;
  FData = E.Data;
  return true;
}

// ---------------------------------------------------------------------------
// TRectList

TRectList::~TRectList() {
  SetCount(0);
  SetCapacity(0);
}

Integer TRectList::Add(const TRect& Rect) {
  Integer Result = FCount;
  if (Result == FCapacity) Enlarge();
  FList[Result] = Rect;
  ++FCount;
  return Result;
}

void TRectList::Clear() {
  SetCount(0);
  SetCapacity(10);
}

void TRectList::Delete(Integer Index) {
  --FCount;
  if (Index < FCount) std::memmove(&FList[Index], &FList[Index + 1], sizeof(TRect) * static_cast<size_t>(FCount - Index));
}

void TRectList::Exchange(Integer Index1, Integer Index2) {
  TRect T = FList[Index1];
  FList[Index1] = FList[Index2];
  FList[Index2] = T;
}

Integer TRectList::IndexOf(const TRect& Rect) const {
  for (Integer I = 0; I < FCount; ++I)
    if (FList[I] == Rect) return I;
  return -1;
}

void TRectList::Insert(Integer Index, const TRect& Rect) {
  if (FCount == FCapacity) Enlarge();
  if (Index < FCount) std::memmove(&FList[Index + 1], &FList[Index], sizeof(TRect) * static_cast<size_t>(FCount - Index));
  FList[Index] = Rect;
  ++FCount;
}

void TRectList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  TRect Item = FList[CurIndex];
  Delete(CurIndex);
  Insert(NewIndex, Item);
}

Integer TRectList::Remove(const TRect& Rect) {
  Integer Result = IndexOf(Rect);
  if (Result >= 0) Delete(Result);
  return Result;
}

void TRectList::Pack() {
  for (Integer I = FCount - 1; I >= 0; --I)
    if (ItemAt(I) == nullptr) Delete(I);
}

TRect* TRectList::ItemAt(Integer Index) const {
  if (Index < 0 || Index >= FCount) return nullptr;
  return &FList[Index];
}

void TRectList::SetCount(Integer Value) {
  if (Value < 0) Value = 0;
  if (Value > FCapacity) SetCapacity(Value);
  if (Value > FCount)
    std::memset(static_cast<void*>(&FList[FCount]), 0, sizeof(TRect) * static_cast<size_t>(Value - FCount));
  else
    for (Integer I = FCount - 1; I >= Value; --I) Delete(I);
  FCount = Value;
}

void TRectList::SetCapacity(Integer Value) {
  if (Value == FCapacity) return;
  if (Value <= 0) {
    std::free(FList);
    FList = nullptr;
    FCapacity = 0;
    return;
  }
  void* P = std::realloc(FList, sizeof(TRect) * static_cast<size_t>(Value));
  if (P == nullptr) throw EOutOfMemory(SOutOfMemory);
  FList = static_cast<PPolyRects>(P);
  FCapacity = Value;
  if (FCount > FCapacity) FCount = FCapacity;
}

void TRectList::Enlarge() {
  Integer Delta;
  if (FCapacity > 128)
    Delta = FCapacity / 4;
  else if (FCapacity > 8)
    Delta = 32;
  else
    Delta = 8;
  SetCapacity(FCapacity + Delta);
}

// ---------------------------------------------------------------------------
// TClassList

Integer TClassList::Add(TClassRef AClass) {
  FItems.push_back(AClass);
  return Count() - 1;
}

void TClassList::Insert(Integer Index, TClassRef AClass) {
  if (Index < 0 || Index > Count()) throw EListError(SListIndexError, {Index});
  FItems.insert(FItems.begin() + Index, AClass);
}

Integer TClassList::Remove(TClassRef AClass) {
  Integer I = IndexOf(AClass);
  if (I >= 0) FItems.erase(FItems.begin() + I);
  return I;
}

TClassRef TClassList::Extract(TClassRef AClass) {
  Integer I = IndexOf(AClass);
  if (I < 0) return nullptr;
  FItems.erase(FItems.begin() + I);
  return AClass;
}

Integer TClassList::IndexOf(TClassRef AClass) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I] == AClass) return static_cast<Integer>(I);
  return -1;
}

TClassRef TClassList::First() const {
  if (FItems.empty()) throw EListError(SListIndexError, {0});
  return FItems.front();
}

TClassRef TClassList::Last() const {
  if (FItems.empty()) throw EListError(SListIndexError, {-1});
  return FItems.back();
}

TClassRef TClassList::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return FItems[Index];
}

void TClassList::SetItems(Integer Index, TClassRef AClass) {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  FItems[Index] = AClass;
}

TClassRef TClassList::Find(const String& AClassName) const {
  for (auto* C : FItems)
    if (C != nullptr && C->ClassName == AClassName) return C;
  return nullptr;
}

std::vector<String> TClassList::GetClassNames() const {
  std::vector<String> R;
  for (auto* C : FItems) R.push_back(C->ClassName);
  return R;
}

// ---------------------------------------------------------------------------
// Published properties

void AssignPublishedProperties(TObject* Src, TObject* Dst, TTypeKinds TypeKinds) {
  auto* SrcProps = dynamic_cast<IPublishedProperties*>(Src);
  auto* DstProps = dynamic_cast<IPublishedProperties*>(Dst);
  if (SrcProps == nullptr || DstProps == nullptr) return;
  const TPublishedProperties& SP = SrcProps->PublishedProperties();
  const TPublishedProperties& DP = DstProps->PublishedProperties();
  for (const TPublishedProperty& P : SP) {
    if ((TypeKinds & TypeKindBit(P.Kind)) == 0) continue;
    const TPublishedProperty* Q = nullptr;
    for (const TPublishedProperty& D : DP)
      if (D.Name == P.Name) {
        Q = &D;
        break;
      }
    if (Q == nullptr) continue;
    if (P.Kind == tkClass) {
      if (!P.GetObject || !Q->GetObject) continue;
      TObject* SO = P.GetObject(Src);
      TObject* DO = Q->GetObject(Dst);
      if (SO != nullptr && DO != nullptr) {
        auto* DPers = dynamic_cast<TPersistent*>(DO);
        auto* SPers = dynamic_cast<TPersistent*>(SO);
        if (DPers != nullptr && SPers != nullptr) DPers->Assign(SPers);
      }
    } else if (P.Get && Q->Set) {
      Q->Set(Dst, P.Get(Src));
    }
  }
}
