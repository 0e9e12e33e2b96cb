// Lists of objects: TObjectList frees what it owns; TComponentList also drops
// a component that is freed elsewhere.
// Portable: no Windows header.
#pragma once

#include "rtl/Classes.h"

class TObjectList : public TList {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  Integer Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { TList::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
  // Takes the object out without freeing it.
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  TObject* Items(Integer Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  // Replacing an owned object frees the old one.
  void SetItems(Integer Index, TObject* AObject) { TList::SetItems(Index, AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};

class TComponentList : public TObjectList {
 public:
  explicit TComponentList(bool AOwnsObjects = true);
  ~TComponentList() override;

  Integer Add(TComponent* AComponent) { return TObjectList::Add(AComponent); }
  void Insert(Integer Index, TComponent* AComponent) { TObjectList::Insert(Index, AComponent); }
  Integer Remove(TComponent* AComponent) { return TObjectList::Remove(AComponent); }
  TComponent* Extract(TComponent* Item) { return static_cast<TComponent*>(TObjectList::Extract(Item)); }
  Integer IndexOf(TComponent* AComponent) const { return TObjectList::IndexOf(AComponent); }
  TComponent* Items(Integer Index) const { return static_cast<TComponent*>(TObjectList::Items(Index)); }
  void SetItems(Integer Index, TComponent* AComponent) { TObjectList::SetItems(Index, AComponent); }
  TComponent* First() const { return static_cast<TComponent*>(TObjectList::First()); }
  TComponent* Last() const { return static_cast<TComponent*>(TObjectList::Last()); }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  class TNexus;
  TNexus* FNexus;
};
