// TObjectList and TComponentList.
#include "rtl/Contnrs.h"

TObjectList::~TObjectList() {
  // TList's destructor would only reach TList::Notify: free the objects here.
  Clear();
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}

// Hears of the listed components' destruction and takes them out of the list.
class TComponentList::TNexus : public TComponent {
 public:
  explicit TNexus(TComponentList* List) : TComponent(nullptr), FList(List) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove && FList != nullptr) {
      // Extract: the component is already being freed.
      while (FList->TList::IndexOf(AComponent) >= 0) FList->TList::Extract(AComponent);
    }
    TComponent::Notification(AComponent, Operation);
  }

 private:
  TComponentList* FList;
};

TComponentList::TComponentList(bool AOwnsObjects) : TObjectList(AOwnsObjects), FNexus(new TNexus(this)) {}

TComponentList::~TComponentList() {
  Clear();
  delete FNexus;
}

void TComponentList::Notify(void* Ptr, TListNotification Action) {
  auto* c = static_cast<TComponent*>(Ptr);
  if (c != nullptr) {
    if (Action == lnAdded) c->FreeNotification(FNexus);
    else if (IndexOf(c) < 0) c->RemoveFreeNotification(FNexus);  // last entry of it gone
  }
  TObjectList::Notify(Ptr, Action);
}
