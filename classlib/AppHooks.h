// The application's message hooks: a stack of (owner, handler) entries that
// see every posted and input message before the application does. Only the
// newest entry runs, so whoever hooks last has the messages to itself until
// it removes its entry; removal is by owner wherever the entry sits, and an
// owner's entries go when the owner is freed. Winelib only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "rtl/Classes.h"

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TMessageHooks {
 public:
  TMessageHooks();
  ~TMessageHooks();
  TMessageHooks(const TMessageHooks&) = delete;
  TMessageHooks& operator=(const TMessageHooks&) = delete;

  // Pushes a hook of Owner (nullptr: an owner-less hook, removed by Remove(nullptr)).
  void Install(TComponent* Owner, TMessageEvent Handler);
  // Removes every entry of Owner.
  void Remove(TComponent* Owner);
  bool Installed(TComponent* Owner) const;
  bool Empty() const { return FEntries.empty(); }

  // Runs the newest entry. False when there is none.
  bool Run(MSG& Msg, bool& Handled);

 private:
  struct TEntry {
    TComponent* Owner;
    TMessageEvent Handler;
  };
  class TWatcher;
  void OwnerFreed(TComponent* Owner);
  std::vector<TEntry> FEntries;
  TWatcher* FWatcher;
};
