#include "StoreFixture.h"

#include "contacts/ContactCsvImporter.h"

#include <testsupport/SqlExec.h>

#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

using contacts::ContactCsvImporter;
using contacts::ImportOptions;
using contacts::ImportResult;

namespace {

class ContactImport : public StoreFixture {
protected:
  ImportResult Import(const std::string &bytes, ImportOptions options) {
    std::istringstream in(bytes);
    ContactCsvImporter importer(*store_);
    return importer.Import(in, options);
  }
  ImportOptions Into(std::vector<int> groups, char separator = ',') {
    ImportOptions o;
    o.separator = separator;
    o.groupIds = std::move(groups);
    return o;
  }
};

} // namespace

TEST_F(ContactImport, SemicolonHeaderInReverseOrderFillsTheRightColumns) {
  const ImportResult r =
      Import("mobile;fname\r\n0821111111;Ann\r\n0822222222;Bob\r\n", Into({friends_}, ';'));
  EXPECT_EQ(r.inserted, 2);
  EXPECT_EQ(r.discarded, 0);
  const std::vector<store::ContactRow> contacts = store_->Contacts();
  ASSERT_EQ(contacts.size(), 2u);
  EXPECT_EQ(contacts[0].Name, "Ann");
  EXPECT_EQ(contacts[0].Mobile, "0821111111");
  EXPECT_EQ(contacts[1].Name, "Bob");
  EXPECT_EQ(store_->GroupsOfContact(contacts[0].CID), std::vector<int>{friends_});
}

TEST_F(ContactImport, UnknownHeaderFieldSuchAsPhoneGoesToName) {
  Import("Phone,Mobile,Title\nWork phone,0821,Dr\n", Into({work_}));
  const std::vector<store::ContactRow> contacts = store_->Contacts();
  ASSERT_EQ(contacts.size(), 1u);
  EXPECT_EQ(contacts[0].Name, "Work phone");
  EXPECT_EQ(contacts[0].Title, "Dr");
}

TEST_F(ContactImport, ValuesAreCutToTheirColumnsAndQuotesStay) {
  const std::string longText(50, 'x');
  Import("fname,sname,title,custom,mobile\n\"" + longText + "\"," + longText + "," + longText +
             "," + longText + ",+27 82 123 4567 8901 23\n",
         Into({friends_}));
  const std::vector<store::ContactRow> contacts = store_->Contacts();
  ASSERT_EQ(contacts.size(), 1u);
  EXPECT_EQ(contacts[0].Name, "\"" + std::string(31, 'x'));
  EXPECT_EQ(contacts[0].Surname, std::string(32, 'x'));
  EXPECT_EQ(contacts[0].Title, std::string(8, 'x'));
  EXPECT_EQ(contacts[0].Custom, std::string(32, 'x'));
  EXPECT_EQ(contacts[0].Mobile, "+27 82 123 4567 ");
}

TEST_F(ContactImport, LinesWithoutMobileAreDiscardedAndAShortLineEndsTheImport) {
  const ImportResult r = Import("fname,mobile\n"
                                "Ann,0821\n"
                                "Bob,\n"
                                "Cid,0823\n"
                                "NoComma\n" // too few fields: the end
                                "Dan,0824\n",
                                Into({friends_}));
  EXPECT_EQ(r.inserted, 2);
  EXPECT_EQ(r.discarded, 1);
  EXPECT_EQ(store_->ContactCount(), 2);
}

TEST_F(ContactImport, EmptyLineEndsTheImportUnlessMobileIsTheFirstField) {
  ImportResult r = Import("fname,mobile\nAnn,0821\n\nBob,0822\n", Into({friends_}));
  EXPECT_EQ(r.inserted, 1);
  EXPECT_EQ(r.discarded, 0);

  r = Import("mobile,fname\n0831,Cy\n\n0832,Di\n", Into({friends_}));
  EXPECT_EQ(r.inserted, 2);
  EXPECT_EQ(r.discarded, 1);
}

TEST_F(ContactImport, HeaderWithoutMobileImportsNothing) {
  const ImportResult r = Import("fname,phone\nAnn,0821\n", Into({friends_}));
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);
  EXPECT_EQ(store_->ContactCount(), 0);
}

TEST_F(ContactImport, MissingFileImportsNothing) {
  ContactCsvImporter importer(*store_);
  const ImportResult r = importer.ImportFile(File("no-such.csv"), Into({friends_}));
  EXPECT_FALSE(r.opened);
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);
}

TEST_F(ContactImport, DuplicatePreventionGivesZeroAndZeroTheSecondTime) {
  const std::string file = File("dup.csv");
  testsupport::WriteFile(file, "fname\tmobile\r\nAnn\t0821\r\nBob\t0822\r\nBob again\t0822\r\n");
  ImportOptions options = Into({friends_}, '\t');
  options.preventDuplicates = true;
  ContactCsvImporter importer(*store_);
  ImportResult r = importer.ImportFile(file, options);
  EXPECT_EQ(r.inserted, 2); // the third line repeats the second's number
  EXPECT_EQ(r.discarded, 0);
  r = importer.ImportFile(file, options);
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);
  EXPECT_EQ(store_->ContactCount(), 2);

  options.preventDuplicates = false;
  r = importer.ImportFile(file, options);
  EXPECT_EQ(r.inserted, 3);
}

TEST_F(ContactImport, AutomaticGroupsAreFoundWithoutRegardToCase) {
  ImportOptions options = Into({work_});
  options.autoCreateGroups = true;
  const ImportResult r = Import("fname,mobile,group\n"
                                "Ann,0821,FRIENDS\n"
                                "Bob,0822,friends\n"
                                "Cid,0823,Choir\n"
                                "Dan,0824,CHOIR\n"
                                "Eve,0825,\n",
                                options);
  EXPECT_EQ(r.inserted, 5);
  const std::vector<store::GroupRow> groups = store_->Groups();
  ASSERT_EQ(groups.size(), 4u); // All Contacts, Friends, Work, Choir
  EXPECT_EQ(groups[3].Name, "Choir");
  const int choir = groups[3].GID;
  const std::vector<store::ContactRow> c = store_->Contacts();
  EXPECT_EQ(store_->GroupsOfContact(c[0].CID), std::vector<int>{friends_});
  EXPECT_EQ(store_->GroupsOfContact(c[1].CID), std::vector<int>{friends_});
  EXPECT_EQ(store_->GroupsOfContact(c[2].CID), std::vector<int>{choir});
  EXPECT_EQ(store_->GroupsOfContact(c[3].CID), std::vector<int>{choir});
  EXPECT_EQ(store_->GroupsOfContact(c[4].CID), std::vector<int>{work_}); // no group value
}

TEST_F(ContactImport, WithoutAutomaticGroupsTheGroupColumnIsIgnored) {
  Import("fname,mobile,group\nAnn,0821,Nowhere\n", Into({work_, friends_}));
  EXPECT_EQ(store_->GroupCount(), 3);
  const std::vector<store::ContactRow> c = store_->Contacts();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(store_->GroupsOfContact(c[0].CID), (std::vector<int>{work_, friends_}));
}

TEST_F(ContactImport, ImportedContactsSurviveACrashRightAfterTheImport) {
  const std::string file = File("ann.csv");
  testsupport::WriteFile(file, "fname,mobile\nAnn,0821\nBob,0822\n");
  store_.reset(); // the child below is the only user of the database
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child imports and dies without closing the store.
    auto *crashing = new store::SmsStore(dir_.string());
    ContactCsvImporter importer(*crashing);
    ImportOptions options;
    options.groupIds = {2};
    const bool ok = importer.ImportFile(file, options).inserted == 2;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  store::SmsStore reopened(dir_.string());
  ASSERT_TRUE(reopened.IsUsable());
  EXPECT_EQ(reopened.ContactCount(), 2);
  EXPECT_EQ(reopened.GroupMembers(2).size(), 2u);
}

TEST_F(ContactImport, AGroupTheStoreRefusesFailsTheLineInsteadOfLeavingItGroupless) {
  store_.reset();
  ASSERT_TRUE(testsupport::ExecSql(dir_ / "SMS.db", "CREATE TRIGGER refuse BEFORE INSERT ON "
                                                    "\"GROUP\" BEGIN SELECT RAISE(FAIL, 'no'); END;"));
  store_ = std::make_unique<store::SmsStore>(dir_.string());
  ImportOptions options = Into({work_});
  options.autoCreateGroups = true;
  const ImportResult r = Import("fname,mobile,group\nAnn,0821,Choir\nBob,0822,work\n", options);
  EXPECT_EQ(r.inserted, 1);
  EXPECT_EQ(r.failed, 1);
  EXPECT_TRUE(r.committed);
  const std::vector<store::ContactRow> contacts = store_->Contacts();
  ASSERT_EQ(contacts.size(), 1u);
  EXPECT_EQ(contacts[0].Name, "Bob");
}
