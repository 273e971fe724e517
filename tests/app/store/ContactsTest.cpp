#include "StoreTestSupport.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using store::ContactRecord;
using store::SmsStore;
namespace fs = std::filesystem;

class StoreContactsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(store.IsUsable());
    // Groups 2 to 6 besides "All Contacts" (1).
    for (int i = 2; i <= 6; ++i)
      store.AddGroup("Group " + std::to_string(i));
  }

  int Contact(std::string_view name, std::vector<int> groups = {}) {
    ContactRecord record;
    record.SetName(name);
    record.SetSurname("Surname");
    record.SetMobile("0821234567");
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    return store.AddContact(record);
  }

  std::vector<int> GroupsOf(int cid) { return store.GroupsOfContact(cid); }

  fs::path dir = testsupport::MakeTempDir("store");
  SmsStore store{dir.string()};
};

TEST(StoreContactRecordTest, FieldsAreCutToTheirWidths) {
  ContactRecord record;
  record.SetName(std::string(50, 'n'));
  record.SetSurname("Lee");
  record.SetTitle("Professor Doctor");
  record.SetCustom(std::string(33, 'c'));
  record.SetMobile("082123456789012345678901");
  EXPECT_EQ(record.Name(), std::string(32, 'n'));
  EXPECT_EQ(record.name[32], '\0');
  EXPECT_EQ(record.Surname(), "Lee");
  EXPECT_EQ(record.Title(), "Professo");
  EXPECT_EQ(record.Custom(), std::string(32, 'c'));
  EXPECT_EQ(record.Mobile(), "0821234567890123456");
  record.SetSurname("");
  EXPECT_EQ(record.Surname(), "");
  int groups[] = {2};
  record.groupIds = groups;
  record.groupCount = 1;
  record.Clear();
  EXPECT_EQ(record.Name(), "");
  EXPECT_EQ(record.groupIds, nullptr);
  EXPECT_EQ(record.groupCount, 0);
}

TEST_F(StoreContactsTest, GroupsByIdPositionAndName) {
  EXPECT_EQ(store.GroupCount(), 6);
  EXPECT_EQ(store.AddGroup("\xC4rzte"), 6); // position of GID 7
  EXPECT_EQ(store.FindGroupRow(7), 6);
  EXPECT_EQ(store.FindGroupRow(1), 0);
  EXPECT_EQ(store.FindGroupRow(99), -1);
  EXPECT_EQ(store.GroupName(7).value_or(""), "\xC4rzte");
  EXPECT_FALSE(store.GroupName(99).has_value());
  EXPECT_EQ(store.FindGroupByName("\xE4RZTE"), 7);
  EXPECT_EQ(store.FindGroupByName("group 3"), 3);
  EXPECT_FALSE(store.FindGroupByName("group").has_value());
  store.RenameGroup(3, "Friends");
  store.RenameGroup(99, "Nobody");
  EXPECT_EQ(store.GroupName(3).value_or(""), "Friends");
  EXPECT_EQ(store.GroupAt(2)->Name, "Friends");
  EXPECT_FALSE(store.GroupAt(7).has_value());
  store.DeleteGroup(2);
  EXPECT_EQ(store.FindGroupRow(3), 1);
  EXPECT_EQ(store.AddGroup("Next"), 6); // GID 8: identifiers are not reused
  EXPECT_EQ(store.Groups().back().GID, 8);
}

TEST_F(StoreContactsTest, AddReadAndUpdateContacts) {
  EXPECT_EQ(store.PeekNextContactId(), 1);
  const int lonely = Contact("Nobody");
  EXPECT_EQ(lonely, 1);
  EXPECT_EQ(store.GroupCountOfContact(lonely), 0);
  EXPECT_EQ(store.FirstGroupOfContact(lonely), 0);
  const int cid = Contact("Ann", {3, 4});
  EXPECT_EQ(store.PeekNextContactId(), 3);
  EXPECT_EQ(GroupsOf(cid), (std::vector<int>{3, 4}));
  EXPECT_EQ(store.FirstGroupOfContact(cid), 3);

  ContactRecord record;
  record.SetName("junk");
  int groups[] = {5};
  record.groupIds = groups;
  record.groupCount = 1;
  ASSERT_TRUE(store.ReadContact(cid, record));
  EXPECT_EQ(record.Name(), "Ann");
  EXPECT_EQ(record.Surname(), "Surname");
  EXPECT_EQ(record.Mobile(), "0821234567");
  EXPECT_EQ(record.groupIds, nullptr);
  EXPECT_EQ(record.groupCount, 0);
  record.SetName("untouched");
  EXPECT_FALSE(store.ReadContact(99, record));
  EXPECT_EQ(record.Name(), "untouched");

  ContactRecord changed;
  changed.SetName("Anna");
  changed.SetTitle("Dr");
  changed.SetMobile("0839999999");
  int newGroups[] = {5, 2};
  changed.groupIds = newGroups;
  changed.groupCount = 2;
  store.UpdateContact(cid, changed);
  store.UpdateContact(99, changed); // absent: nothing
  EXPECT_EQ(store.ContactCount(), 2);
  EXPECT_EQ(store.FindContact(cid)->Name, "Anna");
  EXPECT_EQ(store.FindContact(cid)->Surname, "");
  EXPECT_EQ(store.FindContact(cid)->Title, "Dr");
  EXPECT_EQ(GroupsOf(cid), (std::vector<int>{5, 2}));
  EXPECT_EQ(store.FindContactByMobile("0839999999"), cid);
  EXPECT_FALSE(store.FindContactByMobile("083999999").has_value());
  EXPECT_EQ(store.FindContactByMobile("0821234567"), lonely);
}

TEST(StoreContactFieldsTest, StoredValuesLongerThanTheirFieldsAreCutOnRead) {
  const fs::path dir = testsupport::MakeTempDir("store");
  {
    SmsStore store(dir.string());
    store::ContactRecord record;
    record.SetName("Short");
    record.SetSurname("Surname");
    store.AddContact(record);
  }
  ASSERT_TRUE(storetest::RawExec(dir / "SMS.db", "UPDATE CONTACTS SET Name = '" +
                                                     std::string(80, 'n') +
                                                     "', Title = 'VeryLongTitle', Mobile = '" +
                                                     std::string(40, '9') + "' WHERE CID = 1"));
  SmsStore reopened(dir.string());
  ContactRecord record;
  ASSERT_TRUE(reopened.ReadContact(1, record));
  EXPECT_EQ(record.Name(), std::string(32, 'n'));
  EXPECT_EQ(record.Title(), "VeryLong");
  EXPECT_EQ(record.Mobile(), std::string(19, '9'));
  std::string name, surname, mobile;
  ASSERT_TRUE(reopened.ContactNameAndMobile(1, name, surname, mobile));
  EXPECT_EQ(name, std::string(32, 'n'));
  EXPECT_EQ(surname, "Surname");
  EXPECT_EQ(mobile, std::string(19, '9'));
  EXPECT_FALSE(reopened.ContactNameAndMobile(2, name, surname, mobile));
  EXPECT_EQ(reopened.ContactMobile(1, 16), std::string(16, '9'));
  EXPECT_EQ(reopened.ContactMobile(1, 100), std::string(40, '9'));
  EXPECT_FALSE(reopened.ContactMobile(2, 16).has_value());
}

TEST_F(StoreContactsTest, DeletingAGroupKeepsMembersOfOtherGroups) {
  const int a = Contact("a", {3, 2});
  const int b = Contact("b", {3, 4});
  const int c = Contact("c", {3, 5});
  const int only = Contact("only", {3});
  store.DeleteGroup(3);
  EXPECT_EQ(store.FindGroupRow(3), -1);
  EXPECT_TRUE(store.GroupMembers(3).empty());
  EXPECT_EQ(GroupsOf(a), std::vector<int>{2});
  EXPECT_EQ(GroupsOf(b), std::vector<int>{4});
  EXPECT_EQ(GroupsOf(c), std::vector<int>{5});
  EXPECT_FALSE(store.FindContact(only).has_value());
  EXPECT_EQ(store.ContactCount(), 3);
}

TEST_F(StoreContactsTest, DeletingAGroupHandlesConsecutiveRows) {
  // Two consecutive membership rows of contacts that stay elsewhere, then a
  // contact listed twice in the same group and nowhere else.
  const int a = Contact("a", {2});
  const int b = Contact("b", {2});
  store.AddMembership(4, a);
  store.AddMembership(4, b);
  const int twice = Contact("twice", {4, 4});
  store.DeleteGroup(4);
  EXPECT_EQ(GroupsOf(a), std::vector<int>{2});
  EXPECT_EQ(GroupsOf(b), std::vector<int>{2});
  EXPECT_FALSE(store.FindContact(twice).has_value());
  EXPECT_TRUE(store.GroupMembers(4).empty());
}

TEST_F(StoreContactsTest, DeleteContactFromOneGroupOrAll) {
  const int both = Contact("both", {2, 3});
  store.DeleteContact(both, false, 2);
  EXPECT_EQ(GroupsOf(both), std::vector<int>{3});
  store.DeleteContact(both, false, 3);
  EXPECT_FALSE(store.FindContact(both).has_value());

  const int all = Contact("all", {2, 3, 4});
  store.DeleteContact(all, true, 0);
  EXPECT_FALSE(store.FindContact(all).has_value());
  EXPECT_EQ(store.GroupCountOfContact(all), 0);

  const int lonely = Contact("lonely");
  store.DeleteContact(lonely, false, 2); // in no group: goes
  EXPECT_FALSE(store.FindContact(lonely).has_value());
  store.DeleteContact(999, true, 0);
}

TEST_F(StoreContactsTest, MoveContactBetweenGroups) {
  const int a = Contact("a", {3, 4});
  store.MoveContact(a, 5, 1);
  EXPECT_EQ(GroupsOf(a), std::vector<int>{5});

  const int b = Contact("b", {3, 4});
  store.MoveContact(b, 5, 3);
  EXPECT_EQ(GroupsOf(b), (std::vector<int>{4, 5}));

  const int c = Contact("c", {3, 4});
  store.MoveContact(c, 4, 3); // already a member of the target
  EXPECT_EQ(GroupsOf(c), (std::vector<int>{3, 4}));
}

TEST_F(StoreContactsTest, MembershipOperations) {
  const int a = Contact("a");
  store.EnsureMembership(a, 2);
  store.EnsureMembership(a, 2);
  EXPECT_EQ(GroupsOf(a), std::vector<int>{2});
  store.AddMembership(2, a);
  EXPECT_EQ(GroupsOf(a), (std::vector<int>{2, 2}));
  store.AddMembership(3, a);
  EXPECT_TRUE(store.IsMember(a, 3));
  EXPECT_FALSE(store.IsMember(a, 4));
  store.RemoveMembership(a, 2);
  EXPECT_EQ(GroupsOf(a), (std::vector<int>{2, 3}));
  store.RemoveMembership(a, 6);
  EXPECT_EQ(store.GroupCountOfContact(a), 2);
}

TEST_F(StoreContactsTest, MemberCountsByGroup) {
  Contact("a", {2, 3});
  Contact("b", {3});
  Contact("c", {3, 6});
  Contact("d");
  const auto counts = store.MemberCounts();
  ASSERT_EQ(counts.size(), 3u);
  EXPECT_EQ(counts[0].GID, 2);
  EXPECT_EQ(counts[0].Cnt, 1);
  EXPECT_EQ(counts[1].GID, 3);
  EXPECT_EQ(counts[1].Cnt, 3);
  EXPECT_EQ(counts[2].GID, 6);
  EXPECT_EQ(counts[2].Cnt, 1);
  EXPECT_EQ(store.GroupMembers(3).size(), 3u);
  // The stored Cnt is not maintained.
  EXPECT_EQ(store.Groups()[2].Cnt, 0);
}

TEST_F(StoreContactsTest, GroupArraysThatAreMissingAddNoMemberships) {
  ContactRecord record;
  record.SetName("x");
  record.groupIds = nullptr;
  record.groupCount = 3;
  const int cid = store.AddContact(record);
  EXPECT_EQ(store.GroupCountOfContact(cid), 0);
  int groups[] = {2};
  record.groupIds = groups;
  record.groupCount = -1;
  store.UpdateContact(cid, record);
  EXPECT_EQ(store.GroupCountOfContact(cid), 0);
}

} // namespace
