#pragma once
// The program's own address book as the Addresses page shows it, read from
// the store in one go: the contacts (by CID), the groups in store order with
// their member counts, and the members of any group.
//
// The first group of the store ("All Contacts") stands for every contact:
// its member list holds all contacts in CID order and its count is the
// number of contacts. Every other group lists its membership rows in the
// order they were added (a contact that is a member twice is listed twice)
// and counts those rows.

#include "store/SmsStore.h"

#include <string>
#include <vector>

namespace addresses {

struct GroupEntry {
  int gid = 0;
  std::string name;
  int count = 0;
};

// One row of the member list.
struct MemberRow {
  int cid = 0;
  std::string name;
  std::string surname;
  std::string mobile;
};

class AddressBook {
public:
  // Without a store the book stays empty.
  explicit AddressBook(const store::SmsStore *store) : store_(store) {}

  // Reads contacts, groups and member counts again.
  void Reload();

  const std::vector<GroupEntry> &Groups() const { return groups_; }
  // The group list's text of a group: "%s (%d)".
  static std::string GroupText(const GroupEntry &group);
  // Position of the group in Groups(), or -1.
  int GroupRow(int gid) const;
  // GID of the first group, 0 when the store has none.
  int FirstGroupId() const { return groups_.empty() ? 0 : groups_.front().gid; }

  std::vector<MemberRow> Members(int gid) const;

  // Every contact in CID order.
  const std::vector<store::ContactRow> &Contacts() const { return contacts_; }
  // The contact with this CID, or null.
  const store::ContactRow *Contact(int cid) const;

private:
  const store::SmsStore *store_;
  std::vector<store::ContactRow> contacts_;
  std::vector<GroupEntry> groups_;
};

} // namespace addresses
