#include "classlib/AppHooks.h"

#include <algorithm>

// Listens for the owners' destruction.
class TMessageHooks::TWatcher : public TComponent {
 public:
  explicit TWatcher(TMessageHooks* Hooks) : TComponent(nullptr), FHooks(Hooks) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) FHooks->OwnerFreed(AComponent);
  }

 private:
  TMessageHooks* FHooks;
};

TMessageHooks::TMessageHooks() : FWatcher(new TWatcher(this)) {}

TMessageHooks::~TMessageHooks() {
  FEntries.clear();
  delete FWatcher;
}

void TMessageHooks::Install(TComponent* Owner, TMessageEvent Handler) {
  FEntries.push_back(TEntry{Owner, std::move(Handler)});
  if (Owner) Owner->FreeNotification(FWatcher);
}

void TMessageHooks::Remove(TComponent* Owner) {
  FEntries.erase(std::remove_if(FEntries.begin(), FEntries.end(), [Owner](const TEntry& E) { return E.Owner == Owner; }),
                 FEntries.end());
  if (Owner) Owner->RemoveFreeNotification(FWatcher);
}

bool TMessageHooks::Installed(TComponent* Owner) const {
  return std::any_of(FEntries.begin(), FEntries.end(), [Owner](const TEntry& E) { return E.Owner == Owner; });
}

void TMessageHooks::OwnerFreed(TComponent* Owner) {
  FEntries.erase(std::remove_if(FEntries.begin(), FEntries.end(), [Owner](const TEntry& E) { return E.Owner == Owner; }),
                 FEntries.end());
}

bool TMessageHooks::Run(MSG& Msg, bool& Handled) {
  if (FEntries.empty()) return false;
  // A copy: the hook may remove itself (or free its owner) while it runs.
  TMessageEvent H = FEntries.back().Handler;
  if (H) H(Msg, Handled);
  return true;
}
