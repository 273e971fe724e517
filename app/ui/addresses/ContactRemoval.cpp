#include "ContactRemoval.h"

#include "store/SmsStore.h"

namespace addresses {

bool ContactRemoval::NeedsScopeQuestion(const std::vector<int> &cids) const {
  if (firstGroup_) return false;
  for (int cid : cids)
    if (store_.GroupCountOfContact(cid) > 1) return true;
  return false;
}

void ContactRemoval::Remove(const std::vector<int> &cids, bool fromAllGroups) {
  for (int cid : cids)
    store_.DeleteContact(cid, fromAllGroups || firstGroup_, gid_);
}

} // namespace addresses
