// Bmp32_Containers: small containers under the bitmap engine.
//  - TPointerMap (+ TPointerMapIterator): a pointer-keyed hash map of 256
//    buckets (bucket = bits 8..15 of the key), insertion order per bucket;
//  - TRectList: a growable list of TRect (invalid-area lists);
//  - TClassDesc / TClassRef / TClassList: class references searchable by
//    name; the factory in TClassDesc stands for the virtual constructor
//    (resamplers are created on a bitmap, kernels without argument);
//  - published-property tables (TPublishedProperty, IPublishedProperties) and
//    AssignPublishedProperties, which copies them by name between objects.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <functional>
#include <variant>
#include <vector>

#include "rtl/System.h"

// ---------------------------------------------------------------------------
// TPointerMap

using PPData = void**;

struct TPointerBucketItem {
  void* Item = nullptr;
  void* Data = nullptr;
};

struct TPointerBucket {
  Integer Count = 0;
  std::vector<TPointerBucketItem> Items;  // size() is the bucket's capacity
};

class TPointerMap : public TObject {
 public:
  TPointerMap() = default;
  ~TPointerMap() override;

  PPData Add(void* NewItem);
  PPData Add(void* NewItem, bool& IsNew);
  PPData Add(void* NewItem, void* NewData);
  PPData Add(void* NewItem, void* NewData, bool& IsNew);

  void Clear();
  bool Contains(void* Item) const;
  bool Find(void* Item, PPData& Data);
  bool Locate(void* Item, Integer& BucketIndex, Integer& ItemIndex) const;
  void* Remove(void* Item);
  // Raises EListError "Item not found ($0%x)" for an absent key.
  void* DataOf(void* Item);
  void SetDataOf(void* Item, void* Data);

  Integer Count() const { return FCount; }

  // Bucket of a key: bits 8..15 of its address.
  static Integer BucketOf(const void* Item) {
    return static_cast<Integer>((reinterpret_cast<std::uintptr_t>(Item) >> 8) & 0xFF);
  }

 protected:
  virtual void* RemoveAt(Integer BucketIndex, Integer ItemIndex);

 private:
  friend class TPointerMapIterator;
  TPointerBucket FBuckets[256];
  Integer FCount = 0;
};

class TPointerMapIterator : public TObject {
 public:
  explicit TPointerMapIterator(TPointerMap* SrcPointerMap) : FSrcPointerMap(SrcPointerMap) {}
  bool Next();
  void* Item() const { return FItem; }
  void* Data() const { return FData; }

 private:
  TPointerMap* FSrcPointerMap;
  void* FItem = nullptr;
  void* FData = nullptr;
  Integer FCurBucketIndex = -1;
  Integer FCurItemIndex = -1;
};

// ---------------------------------------------------------------------------
// TRectList

using PPolyRects = TRect*;

class TRectList : public TObject {
 public:
  TRectList() = default;
  ~TRectList() override;

  Integer Add(const TRect& Rect);
  virtual void Clear();
  void Delete(Integer Index);
  void Exchange(Integer Index1, Integer Index2);
  Integer IndexOf(const TRect& Rect) const;
  void Insert(Integer Index, const TRect& Rect);
  void Move(Integer CurIndex, Integer NewIndex);
  Integer Remove(const TRect& Rect);
  void Pack();

  Integer Count() const { return FCount; }
  void SetCount(Integer Value);
  Integer Capacity() const { return FCapacity; }
  void SetCapacity(Integer Value);
  TRect* ItemAt(Integer Index) const;
  const TRect& operator[](Integer Index) const { return FList[Index]; }
  PPolyRects List() const { return FList; }

 protected:
  virtual void Enlarge();

 private:
  PPolyRects FList = nullptr;
  Integer FCount = 0;
  Integer FCapacity = 0;
};

// ---------------------------------------------------------------------------
// Class references

// One class as a value: its name (ClassName() of its instances) and the
// factory that stands for its virtual constructor. Arg is the constructor's
// argument (the bitmap for resamplers; ignored by kernels).
struct TClassDesc {
  String ClassName;
  std::function<TObject*(TObject* Arg)> Factory;
  TObject* Create(TObject* Arg = nullptr) const { return Factory ? Factory(Arg) : nullptr; }
};
using TClassRef = const TClassDesc*;

class TClassList : public TObject {
 public:
  Integer Add(TClassRef AClass);
  void Insert(Integer Index, TClassRef AClass);
  Integer Remove(TClassRef AClass);
  TClassRef Extract(TClassRef AClass);
  Integer IndexOf(TClassRef AClass) const;
  TClassRef First() const;
  TClassRef Last() const;
  TClassRef Items(Integer Index) const;
  void SetItems(Integer Index, TClassRef AClass);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  void Clear() { FItems.clear(); }
  // The first class (list order) whose name equals AClassName exactly.
  TClassRef Find(const String& AClassName) const;
  // Every class name in list order.
  std::vector<String> GetClassNames() const;
  template <class TStringsLike>
  void GetClassNames(TStringsLike* Strings) const {
    for (auto* c : FItems) Strings->Add(c->ClassName);
  }

 private:
  std::vector<TClassRef> FItems;
};

// ---------------------------------------------------------------------------
// Published properties

enum TTypeKind : Byte {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray,
  tkUString,
};
using TTypeKinds = std::uint32_t;  // bit (1 << kind)
constexpr TTypeKinds TypeKindBit(TTypeKind K) { return TTypeKinds(1) << K; }
constexpr TTypeKinds tkAny = 0x7FFFF;
// Every kind but tkUnknown and tkMethod: what kernels, rasterizers and samplers copy.
constexpr TTypeKinds tkProperties = tkAny & ~TypeKindBit(tkUnknown) & ~TypeKindBit(tkMethod);

// A property value read as a variant (enumerations as their ordinals).
using TPropValue = std::variant<Int64, Extended, String>;

struct TPublishedProperty {
  String Name;
  TTypeKind Kind = tkUnknown;
  std::function<TPropValue(TObject* Obj)> Get;             // value kinds
  std::function<void(TObject* Obj, const TPropValue&)> Set;  // value kinds
  std::function<TObject*(TObject* Obj)> GetObject;         // tkClass
};
using TPublishedProperties = std::vector<TPublishedProperty>;

// Implemented by classes that publish properties.
class IPublishedProperties {
 public:
  virtual ~IPublishedProperties() = default;
  // The class's published properties in declaration order (inherited first).
  virtual const TPublishedProperties& PublishedProperties() const = 0;
};

// Copies every published property of Src whose kind is in TypeKinds to the
// property of the same name of Dst. Objects (tkClass) are copied with the
// destination object's Assign (TPersistent) when both are assigned; a
// property Dst does not publish is skipped.
void AssignPublishedProperties(TObject* Src, TObject* Dst, TTypeKinds TypeKinds = tkProperties);
