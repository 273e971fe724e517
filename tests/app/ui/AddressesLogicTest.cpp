// The Addresses page's logic without a window: the search's matching, the
// member table's byte-wise sorting, the drag payload, the contact form's
// rules, and the removal and clipboard cases that would otherwise lose or
// corrupt address-book data.
#include "addresses/AddressBook.h"
#include "addresses/ContactClipboard.h"
#include "addresses/ContactForm.h"
#include "addresses/ContactRemoval.h"
#include "addresses/ContactSearch.h"
#include "addresses/DragPayload.h"
#include "addresses/MemberTable.h"

#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <memory>

using namespace addresses;

namespace {

store::ContactRow Contact(int cid, std::string name, std::string surname, std::string mobile) {
  store::ContactRow row;
  row.CID = cid;
  row.Name = std::move(name);
  row.Surname = std::move(surname);
  row.Mobile = std::move(mobile);
  return row;
}

class AddressStore : public ::testing::Test {
protected:
  void SetUp() override {
    store_ = std::make_unique<store::SmsStore>(testsupport::MakeTempDir("data").string());
    ASSERT_TRUE(store_->IsUsable());
    friends_ = store_->GroupAt(store_->AddGroup("Friends"))->GID;
    work_ = store_->GroupAt(store_->AddGroup("Work"))->GID;
  }
  int Add(const std::string &name, std::vector<int> groups) {
    store::ContactRecord record;
    record.SetName(name);
    record.SetMobile("0821");
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    return store_->AddContact(record);
  }
  std::unique_ptr<store::SmsStore> store_;
  int friends_ = 0;
  int work_ = 0;
};

} // namespace

TEST(ContactSearch, LowerCasesWindows1252AndLooksAtThe127FirstCharacters) {
  const std::vector<store::ContactRow> contacts = {
      Contact(1, std::string(127, 'x') + "tail", "", "0821"),
      Contact(2, "Ann", "\xC9LO\xCFSE", "0822"), // ÉLOÏSE
      Contact(3, "Bob", "", "+27 82 123"),
  };
  ContactSearch search;
  EXPECT_EQ(search.Find("tail", contacts), std::nullopt);
  EXPECT_EQ(search.Find("\xE9lo\xEF", contacts), 1u); // éloï
  EXPECT_EQ(search.Find("82 1", contacts), 2u);
  EXPECT_EQ(search.Find("", contacts), std::nullopt);
}

TEST(ContactSearch, ChangedTextOrNoMatchStartsAgainAtTheFirstContact) {
  const std::vector<store::ContactRow> contacts = {
      Contact(1, "Ann", "", "0821"), Contact(2, "Anna", "", "0822"), Contact(3, "Bo", "", "0823")};
  ContactSearch search;
  EXPECT_EQ(search.Find("an", contacts), 0u);
  EXPECT_EQ(search.Find("an", contacts), 1u);
  EXPECT_EQ(search.Find("ann", contacts), 0u); // another text
  EXPECT_EQ(search.Find("zz", contacts), std::nullopt);
  EXPECT_EQ(search.Find("08", contacts), 0u);
  EXPECT_EQ(search.Find("08", {}), std::nullopt);
}

TEST(MemberTable, SortsBytewiseReversesOnTheSameColumnAndKeepsTheOrderOnRefill) {
  MemberTable table;
  table.Fill({{1, "b", "2", "9"}, {2, "\xC9mile", "1", "8"}, {3, "Z", "1", "7"}});
  table.SortBy(0);
  auto cids = [&] {
    std::vector<int> out;
    for (const MemberRow &row : table.Rows())
      out.push_back(row.cid);
    return out;
  };
  EXPECT_EQ(cids(), (std::vector<int>{3, 1, 2})); // "Z" < "b" < "Émile"
  table.SortBy(0);
  EXPECT_EQ(cids(), (std::vector<int>{2, 1, 3}));
  table.SortBy(1); // another column starts ascending; equal texts keep their order
  EXPECT_EQ(cids(), (std::vector<int>{2, 3, 1}));
  EXPECT_FALSE(table.Descending());
  table.Fill({{4, "x", "9", ""}, {5, "y", "0", ""}});
  EXPECT_EQ(cids(), (std::vector<int>{5, 4}));
  EXPECT_EQ(table.CidAt(2), 0);
}

TEST(DragPayload, ReadsOnlyItsOwnForm) {
  const DragPayload payload{12, 5};
  EXPECT_EQ(payload.Text(), "CID:12|GID:5");
  const auto back = DragPayload::Parse(std::string("CID:12|GID:5\0", 13));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->row, 12);
  EXPECT_EQ(back->gid, 5);
  for (const char *bad : {"cid:12|GID:5", "CID:|GID:5", "CID:12|GID:", "CID:12,GID:5",
                          "CID:12|GID:5x", "CID:99999999999|GID:5", " CID:1|GID:2", ""})
    EXPECT_FALSE(DragPayload::Parse(bad)) << bad;
}

TEST(ContactForm, OkRulesWidthsAndMobileTyping) {
  ContactForm form({{1, "All Contacts", 0}, {2, "Friends", 0}, {3, "Work", 0}});
  ASSERT_EQ(form.Groups().size(), 2u);
  EXPECT_EQ(form.Groups()[0].gid, 2);
  form.Set(ContactForm::Field::Name, "  ");
  form.Set(ContactForm::Field::Mobile, "0821");
  form.CheckGroup(3);
  EXPECT_FALSE(form.OkEnabled()); // blanks only
  form.Set(ContactForm::Field::Name, "  Ann");
  EXPECT_TRUE(form.OkEnabled());
  form.SetChecked(1, false);
  EXPECT_FALSE(form.OkEnabled());
  form.Set(ContactForm::Field::Title, "Professor");
  EXPECT_EQ(form.Get(ContactForm::Field::Title), "Professo");

  EXPECT_TRUE(MobileEditAllowed("082", "0821"));
  EXPECT_FALSE(MobileEditAllowed("082", "082a"));
  EXPECT_TRUE(MobileEditAllowed("+27 82", "+27 821")); // a stored number keeps its signs
  EXPECT_FALSE(MobileEditAllowed("+27 82", "+27 82+"));
}

TEST_F(AddressStore, FirstGroupListsEveryContactAndOthersTheirMembershipRows) {
  const int ann = Add("Ann", {friends_});
  const int bob = Add("Bob", {});
  store_->AddMembership(friends_, ann);
  AddressBook book(store_.get());
  book.Reload();
  ASSERT_EQ(book.Groups().size(), 3u);
  EXPECT_EQ(AddressBook::GroupText(book.Groups()[0]), "All Contacts (2)");
  EXPECT_EQ(AddressBook::GroupText(book.Groups()[1]), "Friends (2)");
  EXPECT_EQ(AddressBook::GroupText(book.Groups()[2]), "Work (0)");
  EXPECT_EQ(book.Members(book.FirstGroupId()).size(), 2u);
  EXPECT_EQ(book.Members(book.FirstGroupId())[1].cid, bob);
  EXPECT_EQ(book.Members(friends_).size(), 2u);
}

TEST_F(AddressStore, RemovingFromAllContactsRemovesTheContactWithoutAQuestion) {
  const int ann = Add("Ann", {friends_});
  const int bob = Add("Bob", {friends_, work_});
  ContactRemoval removal(*store_, 1, true);
  EXPECT_FALSE(removal.NeedsScopeQuestion({ann, bob}));
  removal.Remove({ann, bob}, false);
  EXPECT_EQ(store_->ContactCount(), 0);
  EXPECT_TRUE(store_->GroupMembers(work_).empty());
}

TEST_F(AddressStore, PastingACopiedContactThatWasDeletedAddsNothing) {
  const int ann = Add("Ann", {friends_});
  ContactClipboard clipboard;
  ASSERT_TRUE(clipboard.Take(*store_, ann, ContactClipboard::Mode::Copied));
  store_->DeleteContact(ann, true, friends_);
  EXPECT_EQ(clipboard.Paste(*store_, work_), 0);
  EXPECT_TRUE(clipboard.Empty());
  EXPECT_TRUE(store_->GroupMembers(work_).empty());
}
