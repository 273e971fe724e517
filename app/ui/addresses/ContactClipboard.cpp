#include "ContactClipboard.h"

#include "store/SmsStore.h"

#include <mutex>

namespace addresses {

bool ContactClipboard::Take(const store::SmsStore &store, int cid, Mode mode) {
  store::ContactRecord record;
  if (mode == Mode::Empty || !store.ReadContact(cid, record)) return false;
  mode_ = mode;
  cid_ = cid;
  record_ = record;
  return true;
}

int ContactClipboard::Paste(store::SmsStore &store, int gid) {
  switch (mode_) {
  case Mode::Empty:
    return 0;
  case Mode::Copied:
    // A membership of a contact that is gone would count in its group
    // without ever being shown there.
    if (!store.FindContact(cid_)) {
      mode_ = Mode::Empty;
      cid_ = 0;
      return 0;
    }
    store.AddMembership(gid, cid_);
    return cid_;
  case Mode::Cut:
    break;
  }
  store::ContactRecord record = record_;
  const int groups[1] = {gid};
  record.groupIds = groups;
  record.groupCount = 1;
  int cid;
  {
    std::lock_guard counter(store.ContactCounterLock());
    cid = store.AddContact(record);
  }
  if (cid <= 0) return 0;
  mode_ = Mode::Copied;
  cid_ = cid;
  return cid;
}

} // namespace addresses
