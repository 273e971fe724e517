#include "AddressBook.h"

#include <algorithm>

namespace addresses {

namespace {
MemberRow RowOf(const store::ContactRow &contact) {
  return {contact.CID, contact.Name, contact.Surname, contact.Mobile};
}
} // namespace

void AddressBook::Reload() {
  contacts_.clear();
  groups_.clear();
  if (!store_) return;
  contacts_ = store_->Contacts();
  const std::vector<store::GroupMemberCount> counts = store_->MemberCounts();
  for (const store::GroupRow &row : store_->Groups()) {
    GroupEntry entry{row.GID, row.Name, 0};
    if (groups_.empty()) {
      entry.count = static_cast<int>(contacts_.size());
    } else {
      auto it = std::lower_bound(
          counts.begin(), counts.end(), row.GID,
          [](const store::GroupMemberCount &c, int gid) { return c.GID < gid; });
      if (it != counts.end() && it->GID == row.GID) entry.count = it->Cnt;
    }
    groups_.push_back(std::move(entry));
  }
}

std::string AddressBook::GroupText(const GroupEntry &group) {
  return group.name + " (" + std::to_string(group.count) + ")";
}

int AddressBook::GroupRow(int gid) const {
  for (std::size_t i = 0; i < groups_.size(); ++i)
    if (groups_[i].gid == gid) return static_cast<int>(i);
  return -1;
}

const store::ContactRow *AddressBook::Contact(int cid) const {
  auto it = std::lower_bound(contacts_.begin(), contacts_.end(), cid,
                             [](const store::ContactRow &c, int id) { return c.CID < id; });
  return it != contacts_.end() && it->CID == cid ? &*it : nullptr;
}

std::vector<MemberRow> AddressBook::Members(int gid) const {
  std::vector<MemberRow> rows;
  if (gid != 0 && gid == FirstGroupId()) {
    rows.reserve(contacts_.size());
    for (const store::ContactRow &contact : contacts_)
      rows.push_back(RowOf(contact));
    return rows;
  }
  if (!store_) return rows;
  const std::vector<int> cids = store_->GroupMembers(gid);
  rows.reserve(cids.size());
  for (int cid : cids) {
    if (const store::ContactRow *contact = Contact(cid)) rows.push_back(RowOf(*contact));
  }
  return rows;
}

} // namespace addresses
