#pragma once
// Removing contacts shown in a group (Delete Contact(s), Cut).
//
// From an ordinary group a contact goes from that group only or from all
// its groups, as the user chose; the user is asked only when one of the
// contacts belongs to more than one group. The first group ("All
// Contacts") lists every contact without being their group, so removing
// from it always removes the contacts from all their groups, without a
// question: removing "from this group only" would leave them where they
// were.

#include <vector>

namespace store {
class SmsStore;
}

namespace addresses {

class ContactRemoval {
public:
  // gid: the group the contacts are shown in; firstGroup: it is "All
  // Contacts".
  ContactRemoval(store::SmsStore &store, int gid, bool firstGroup)
      : store_(store), gid_(gid), firstGroup_(firstGroup) {}

  // Whether the "Delete contact from ..." question is to be asked.
  bool NeedsScopeQuestion(const std::vector<int> &cids) const;
  void Remove(const std::vector<int> &cids, bool fromAllGroups);

private:
  store::SmsStore &store_;
  int gid_;
  bool firstGroup_;
};

} // namespace addresses
