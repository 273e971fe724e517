// SmsStore: groups, contacts and group membership.
#include "store/SmsStore.h"

#include "store/SmsStoreImpl.h"

#include <codepage/Codepage.h>

namespace store {

namespace {

using Lock = std::lock_guard<shell::TrackedRecursiveMutex>;

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (codepage::ToLowerByte(static_cast<unsigned char>(a[i])) !=
        codepage::ToLowerByte(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

GroupRow ReadGroup(SqliteStatement &s) {
  GroupRow row;
  row.GID = s.Int(0);
  row.Cnt = s.Int(1);
  row.Name = s.Text(2);
  return row;
}

ContactRow ReadContactRow(SqliteStatement &s) {
  ContactRow row;
  row.CID = s.Int(0);
  row.Name = s.Text(1);
  row.Surname = s.Text(2);
  row.Title = s.Text(3);
  row.Custom = s.Text(4);
  row.Mobile = s.Text(5);
  return row;
}

const char *const kContactColumns = "CID, Name, Surname, Title, Custom, Mobile";

} // namespace

// ---- Groups

int SmsStore::AddGroup(std::string_view name) {
  Lock guard(impl_->conn);
  const int gid = NextGroupId();
  if (gid < 0) return -1;
  StatementUse insert(impl_->db.Cached("INSERT INTO \"GROUP\"(GID, Cnt, Name) VALUES(?, 0, ?)"));
  insert->Bind(1, gid);
  insert->BindText(2, name);
  if (!insert->Run()) return -1;
  return FindGroupRow(gid);
}

void SmsStore::RenameGroup(int gid, std::string_view name) {
  Lock guard(impl_->conn);
  StatementUse update(impl_->db.Cached("UPDATE \"GROUP\" SET Name = ? WHERE GID = ?"));
  update->BindText(1, name);
  update->Bind(2, gid);
  update->Run();
}

void SmsStore::DeleteGroup(int gid) {
  Lock guard(impl_->conn);
  // Every membership row of the group, in order; each is handled once even
  // when earlier steps removed the rows around it.
  for (int cid : GroupMembers(gid)) {
    if (GroupCountOfContact(cid) < 2) {
      DeleteContact(cid, false, gid);
    } else {
      RemoveMembership(cid, gid);
    }
  }
  StatementUse remove(impl_->db.Cached("DELETE FROM \"GROUP\" WHERE GID = ?"));
  remove->Bind(1, gid);
  remove->Run();
}

std::optional<std::string> SmsStore::GroupName(int gid) const {
  Lock guard(impl_->conn);
  StatementUse find(impl_->db.Cached("SELECT Name FROM \"GROUP\" WHERE GID = ?"));
  find->Bind(1, gid);
  if (!find->Next()) return std::nullopt;
  return find->Text(0);
}

int SmsStore::FindGroupRow(int gid) const {
  Lock guard(impl_->conn);
  StatementUse find(impl_->db.Cached(
      "SELECT (SELECT COUNT(*) FROM \"GROUP\" WHERE GID < ?1) FROM \"GROUP\" WHERE GID = ?1"));
  find->Bind(1, gid);
  return find->Next() ? find->Int(0) : -1;
}

std::optional<int> SmsStore::FindGroupByName(std::string_view name) const {
  for (const GroupRow &group : Groups()) {
    if (EqualNoCase(group.Name, name)) return group.GID;
  }
  return std::nullopt;
}

int SmsStore::GroupCount() const {
  Lock guard(impl_->conn);
  StatementUse count(impl_->db.Cached("SELECT COUNT(*) FROM \"GROUP\""));
  return count->Next() ? count->Int(0) : 0;
}

std::vector<GroupRow> SmsStore::Groups() const {
  Lock guard(impl_->conn);
  StatementUse select(impl_->db.Cached("SELECT GID, Cnt, Name FROM \"GROUP\" ORDER BY GID"));
  std::vector<GroupRow> groups;
  while (select->Next())
    groups.push_back(ReadGroup(*select));
  return groups;
}

std::optional<GroupRow> SmsStore::GroupAt(int index) const {
  if (index < 0) return std::nullopt;
  Lock guard(impl_->conn);
  StatementUse select(
      impl_->db.Cached("SELECT GID, Cnt, Name FROM \"GROUP\" ORDER BY GID LIMIT 1 OFFSET ?"));
  select->Bind(1, index);
  if (!select->Next()) return std::nullopt;
  return ReadGroup(*select);
}

std::vector<GroupMemberCount> SmsStore::MemberCounts() const {
  Lock guard(impl_->conn);
  StatementUse select(
      impl_->db.Cached("SELECT GID, COUNT(*) FROM CONTACT_GROUP_MAP GROUP BY GID ORDER BY GID"));
  std::vector<GroupMemberCount> counts;
  while (select->Next())
    counts.push_back({select->Int(0), select->Int(1)});
  return counts;
}

std::vector<int> SmsStore::GroupMembers(int gid) const {
  Lock guard(impl_->conn);
  StatementUse select(
      impl_->db.Cached("SELECT CID FROM CONTACT_GROUP_MAP WHERE GID = ? ORDER BY rowid"));
  select->Bind(1, gid);
  std::vector<int> members;
  while (select->Next())
    members.push_back(select->Int(0));
  return members;
}

// ---- Contacts

int SmsStore::AddContact(const ContactRecord &record) {
  // The counter's lock comes before the connection's.
  const int cid = NextContactId();
  if (cid < 0) return -1;
  Lock guard(impl_->conn);
  StatementUse insert(impl_->db.Cached(
      "INSERT INTO CONTACTS(CID, Name, Surname, Title, Custom, Mobile) VALUES(?, ?, ?, ?, ?, ?)"));
  insert->Bind(1, cid);
  insert->BindText(2, record.Name());
  insert->BindText(3, record.Surname());
  insert->BindText(4, record.Title());
  insert->BindText(5, record.Custom());
  insert->BindText(6, record.Mobile());
  if (!insert->Run()) return -1;
  if (record.groupIds) {
    for (int i = 0; i < record.groupCount; ++i)
      AddMembership(record.groupIds[i], cid);
  }
  return cid;
}

void SmsStore::UpdateContact(int cid, const ContactRecord &record) {
  Lock guard(impl_->conn);
  StatementUse update(impl_->db.Cached("UPDATE CONTACTS SET Name = ?, Surname = ?, Title = ?, "
                                       "Custom = ?, Mobile = ? WHERE CID = ?"));
  update->BindText(1, record.Name());
  update->BindText(2, record.Surname());
  update->BindText(3, record.Title());
  update->BindText(4, record.Custom());
  update->BindText(5, record.Mobile());
  update->Bind(6, cid);
  if (!update->Run() || impl_->db.Changes() == 0) return;
  StatementUse remove(impl_->db.Cached("DELETE FROM CONTACT_GROUP_MAP WHERE CID = ?"));
  remove->Bind(1, cid);
  remove->Run();
  if (record.groupIds) {
    for (int i = 0; i < record.groupCount; ++i)
      AddMembership(record.groupIds[i], cid);
  }
}

bool SmsStore::ReadContact(int cid, ContactRecord &record) const {
  auto row = FindContact(cid);
  if (!row) return false;
  record.Clear();
  record.SetName(row->Name);
  record.SetSurname(row->Surname);
  record.SetTitle(row->Title);
  record.SetCustom(row->Custom);
  record.SetMobile(row->Mobile);
  return true;
}

bool SmsStore::ContactNameAndMobile(int cid, std::string &name, std::string &surname,
                                    std::string &mobile) const {
  auto row = FindContact(cid);
  if (!row) return false;
  name = row->Name.substr(0, ContactRecord::kNameSize - 1);
  surname = row->Surname.substr(0, ContactRecord::kSurnameSize - 1);
  mobile = row->Mobile.substr(0, ContactRecord::kMobileSize - 1);
  return true;
}

std::optional<std::string> SmsStore::ContactMobile(int cid, std::size_t length) const {
  Lock guard(impl_->conn);
  StatementUse find(impl_->db.Cached("SELECT Mobile FROM CONTACTS WHERE CID = ?"));
  find->Bind(1, cid);
  if (!find->Next()) return std::nullopt;
  std::string mobile = find->Text(0);
  if (mobile.size() > length) mobile.resize(length);
  return mobile;
}

void SmsStore::DeleteContact(int cid, bool fromAllGroups, int gid) {
  Lock guard(impl_->conn);
  if (!FindContact(cid)) return;
  if (fromAllGroups) {
    StatementUse contact(impl_->db.Cached("DELETE FROM CONTACTS WHERE CID = ?"));
    contact->Bind(1, cid);
    contact->Run();
    StatementUse members(impl_->db.Cached("DELETE FROM CONTACT_GROUP_MAP WHERE CID = ?"));
    members->Bind(1, cid);
    members->Run();
    return;
  }
  StatementUse member(
      impl_->db.Cached("DELETE FROM CONTACT_GROUP_MAP WHERE rowid = "
                       "(SELECT MIN(rowid) FROM CONTACT_GROUP_MAP WHERE CID = ? AND GID = ?)"));
  member->Bind(1, cid);
  member->Bind(2, gid);
  member->Run();
  if (GroupCountOfContact(cid) == 0) {
    StatementUse contact(impl_->db.Cached("DELETE FROM CONTACTS WHERE CID = ?"));
    contact->Bind(1, cid);
    contact->Run();
  }
}

std::optional<ContactRow> SmsStore::FindContact(int cid) const {
  Lock guard(impl_->conn);
  StatementUse find(
      impl_->db.Cached(std::string("SELECT ") + kContactColumns + " FROM CONTACTS WHERE CID = ?"));
  find->Bind(1, cid);
  if (!find->Next()) return std::nullopt;
  return ReadContactRow(*find);
}

std::optional<int> SmsStore::FindContactByMobile(std::string_view mobile) const {
  Lock guard(impl_->conn);
  StatementUse find(
      impl_->db.Cached("SELECT CID FROM CONTACTS WHERE Mobile = ? ORDER BY CID LIMIT 1"));
  find->BindText(1, mobile);
  if (!find->Next()) return std::nullopt;
  return find->Int(0);
}

int SmsStore::ContactCount() const {
  Lock guard(impl_->conn);
  StatementUse count(impl_->db.Cached("SELECT COUNT(*) FROM CONTACTS"));
  return count->Next() ? count->Int(0) : 0;
}

std::vector<ContactRow> SmsStore::Contacts() const {
  Lock guard(impl_->conn);
  StatementUse select(
      impl_->db.Cached(std::string("SELECT ") + kContactColumns + " FROM CONTACTS ORDER BY CID"));
  std::vector<ContactRow> contacts;
  while (select->Next())
    contacts.push_back(ReadContactRow(*select));
  return contacts;
}

// ---- Membership

void SmsStore::AddMembership(int gid, int cid) {
  Lock guard(impl_->conn);
  StatementUse insert(impl_->db.Cached("INSERT INTO CONTACT_GROUP_MAP(CID, GID) VALUES(?, ?)"));
  insert->Bind(1, cid);
  insert->Bind(2, gid);
  insert->Run();
}

void SmsStore::EnsureMembership(int cid, int gid) {
  Lock guard(impl_->conn);
  if (!IsMember(cid, gid)) AddMembership(gid, cid);
}

bool SmsStore::IsMember(int cid, int gid) const {
  Lock guard(impl_->conn);
  StatementUse find(
      impl_->db.Cached("SELECT 1 FROM CONTACT_GROUP_MAP WHERE CID = ? AND GID = ? LIMIT 1"));
  find->Bind(1, cid);
  find->Bind(2, gid);
  return find->Next();
}

void SmsStore::RemoveMembership(int cid, int gid) {
  Lock guard(impl_->conn);
  StatementUse remove(
      impl_->db.Cached("DELETE FROM CONTACT_GROUP_MAP WHERE rowid = "
                       "(SELECT MIN(rowid) FROM CONTACT_GROUP_MAP WHERE CID = ? AND GID = ?)"));
  remove->Bind(1, cid);
  remove->Bind(2, gid);
  remove->Run();
}

void SmsStore::MoveContact(int cid, int targetGid, int sourceGid) {
  Lock guard(impl_->conn);
  if (IsMember(cid, targetGid)) return;
  if (sourceGid == 1) {
    StatementUse remove(impl_->db.Cached("DELETE FROM CONTACT_GROUP_MAP WHERE CID = ?"));
    remove->Bind(1, cid);
    remove->Run();
  } else {
    RemoveMembership(cid, sourceGid);
  }
  AddMembership(targetGid, cid);
}

int SmsStore::GroupCountOfContact(int cid) const {
  Lock guard(impl_->conn);
  StatementUse count(impl_->db.Cached("SELECT COUNT(*) FROM CONTACT_GROUP_MAP WHERE CID = ?"));
  count->Bind(1, cid);
  return count->Next() ? count->Int(0) : 0;
}

int SmsStore::FirstGroupOfContact(int cid) const {
  Lock guard(impl_->conn);
  StatementUse find(
      impl_->db.Cached("SELECT GID FROM CONTACT_GROUP_MAP WHERE CID = ? ORDER BY rowid LIMIT 1"));
  find->Bind(1, cid);
  return find->Next() ? find->Int(0) : 0;
}

std::vector<int> SmsStore::GroupsOfContact(int cid) const {
  Lock guard(impl_->conn);
  StatementUse select(
      impl_->db.Cached("SELECT GID FROM CONTACT_GROUP_MAP WHERE CID = ? ORDER BY rowid"));
  select->Bind(1, cid);
  std::vector<int> groups;
  while (select->Next())
    groups.push_back(select->Int(0));
  return groups;
}

} // namespace store
