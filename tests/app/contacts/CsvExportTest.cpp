#include "StoreFixture.h"

#include "contacts/ContactCsvExporter.h"
#include "contacts/ContactCsvImporter.h"
#include "contacts/OutboxCsvExporter.h"
#include "shell/NameTables.h"
#include "shell/StringTable.h"

#include <cstdlib>
#include <ctime>

using contacts::ContactCsvExporter;
using contacts::ExportResult;
using contacts::OutboxCsvExporter;

namespace {

// 5 March 2004 14:07:09 UTC.
constexpr int kTime = 1078495629;

class OutboxExport : public StoreFixture {
protected:
  void SetUp() override {
    StoreFixture::SetUp();
    setenv("TZ", "UTC", 1);
    tzset();
  }
  OutboxCsvExporter Exporter(const std::string &prefix = "") {
    return OutboxCsvExporter(*store_, names_, strings_, prefix);
  }
  int Add(const std::string &to, const std::string &msg, int stat = 3, int type = 0,
          const std::string &charge = "1.5") {
    return store_->AddSms(stat, kTime, type, 0, to, msg, nullptr, 0, charge, 0);
  }

  shell::NameTables names_;
  shell::StringTable strings_;
};

} // namespace

TEST_F(OutboxExport, LineHasTheSevenFieldsInTheirFormats) {
  const int id = Add(",0821234567", "Hello there", 9, 1, "0.35");
  const std::string file = File("out.csv");
  ASSERT_EQ(Exporter().ExportAll(file), ExportResult::Done);
  EXPECT_EQ(testsupport::ReadFile(file),
            "ID,Time,Status,Type,Charge,To,Msg\r\n" + std::to_string(id) +
                ",05/03/2004 14:07,Delivered,Flash,0.35,\"0821234567\",\"Hello there\"\r\n");
}

TEST_F(OutboxExport, MessageQuoting) {
  EXPECT_EQ(OutboxCsvExporter::QuoteMessage("say \"hi\" now"), "\"say \\\"hi\\\" now\"");
  EXPECT_EQ(OutboxCsvExporter::QuoteMessage("\"quoted\" already"), "\"quoted\" already");
  EXPECT_EQ(OutboxCsvExporter::QuoteMessage(""), "\"\"");
  EXPECT_EQ(OutboxCsvExporter::QuoteMessage("two\r\nlines"), "\"two\r\nlines\"");
}

TEST_F(OutboxExport, ToColumnResolvesContactsAndAppliesThePrefix) {
  const int ann = AddContact("Ann", "0821111111", {friends_});
  const int bob = AddContact("Bob", "27822222222", {friends_});
  const std::string to = ",A" + std::to_string(ann) + ",A" + std::to_string(bob) + ",000831234567";
  const int id = Add(to, "x");
  const store::MessageRow row = *store_->FindMessage(id);

  EXPECT_EQ(Exporter().Numbers(row.To), "0821111111,27822222222,000831234567");
  EXPECT_EQ(Exporter("27").Numbers(row.To), "27821111111,27822222222,27831234567");

  const std::string line = Exporter("27").Line(row);
  EXPECT_NE(line.find(",\"27821111111,27822222222,27831234567\",\"x\"\r\n"), std::string::npos)
      << line;
}

TEST_F(OutboxExport, ToColumnCutsNumbersAndSkipsMissingContacts) {
  EXPECT_EQ(Exporter().Numbers(""), "");
  EXPECT_EQ(Exporter().Numbers(",12345678901234567890,A999"), "1234567890123456");
  EXPECT_EQ(Exporter().Numbers("123,,456"), "123,456");
  EXPECT_EQ(Exporter().Numbers(",Abc"), "Abc");
}

TEST_F(OutboxExport, EmptyMessageAndNoDestinations) {
  const int id = Add("", "");
  const std::string line = Exporter().Line(*store_->FindMessage(id));
  EXPECT_EQ(line.substr(line.size() - 8), ",\"\",\"\"\r\n");
}

TEST_F(OutboxExport, SelectedRowsInTheGivenOrderAndAllRowsInStoreOrder) {
  const int a = Add(",1", "first");
  const int b = Add(",2", "second");
  const int c = Add(",3", "third");
  const std::string file = File("sel.csv");
  ASSERT_EQ(Exporter().ExportSelected(file, {c, 12345, a}), ExportResult::Done);
  std::string text = testsupport::ReadFile(file);
  EXPECT_LT(text.find("\"third\""), text.find("\"first\""));
  EXPECT_EQ(text.find("\"second\""), std::string::npos);

  ASSERT_EQ(Exporter().ExportAll(file), ExportResult::Done);
  text = testsupport::ReadFile(file);
  EXPECT_LT(text.find("\"first\""), text.find("\"second\""));
  EXPECT_LT(text.find("\"second\""), text.find("\"third\""));
  (void)b;
}

TEST_F(OutboxExport, UnknownStatusOrTypeCodesGiveEmptyNames) {
  const int id = Add(",1", "x", 3, 42);
  const std::string line = Exporter().Line(*store_->FindMessage(id));
  EXPECT_NE(line.find(",Sent,,1.5,"), std::string::npos) << line;
}

TEST_F(OutboxExport, FileThatCannotBeOpenedIsReported) {
  Add(",1", "x");
  EXPECT_EQ(Exporter().ExportAll(dir_.string()), ExportResult::OpenFailed);
  EXPECT_EQ(Exporter().ExportAll((dir_ / "missing" / "x.csv").string()), ExportResult::OpenFailed);
}

TEST_F(OutboxExport, FullDiskIsAWriteFailure) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full";
  }
  for (int i = 0; i < 2000; ++i) {
    Add(",0821234567", std::string(200, 'm'));
  }
  EXPECT_EQ(Exporter().ExportAll("/dev/full"), ExportResult::WriteFailed);
}

using ContactExport = StoreFixture;

TEST_F(ContactExport, ContactInTwoGroupsIsExportedOnceWithoutAndTwiceWithAssociation) {
  const int ann = AddContact("Ann", "0821", {friends_, work_}, "Lee");
  const int bob = AddContact("Bob", "0822", {work_});
  (void)ann;
  (void)bob;
  ContactCsvExporter exporter(*store_);
  const std::string file = File("c.csv");

  ASSERT_EQ(exporter.ExportGroups(file, {work_, friends_}, false), ExportResult::Done);
  EXPECT_EQ(testsupport::ReadFile(file), "FName,SName,Title,Custom,Mobile\r\n"
                                         "Ann,Lee,,,0821\r\n"
                                         "Bob,,,,0822\r\n");

  ASSERT_EQ(exporter.ExportGroups(file, {friends_, work_}, true), ExportResult::Done);
  EXPECT_EQ(testsupport::ReadFile(file), "FName,SName,Title,Custom,Mobile,Group\r\n"
                                         "Ann,Lee,,,0821,Friends\r\n"
                                         "Ann,Lee,,,0821,Work\r\n"
                                         "Bob,,,,0822,Work\r\n");
}

TEST_F(ContactExport, GroupsWithoutMembersWriteNoFile) {
  ContactCsvExporter exporter(*store_);
  const std::string file = File("none.csv");
  EXPECT_EQ(exporter.ExportGroups(file, {friends_}, false), ExportResult::NothingToWrite);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ContactExport, SelectionInTheGivenOrderValuesAsStored) {
  const int a = AddContact("Ann, Jr", "0821", {friends_});
  const int b = AddContact("B\xE9", "0822", {friends_});
  ContactCsvExporter exporter(*store_);
  const std::string file = File("s.csv");
  ASSERT_EQ(exporter.ExportSelection(file, {b, 999, a}), ExportResult::Done);
  EXPECT_EQ(testsupport::ReadFile(file), "FName,SName,Title,Custom,Mobile\r\n"
                                         "B\xE9,,,,0822\r\n"
                                         "Ann, Jr,,,,0821\r\n");
  EXPECT_EQ(exporter.ExportSelection(dir_.string(), {a}), ExportResult::OpenFailed);
}

TEST_F(ContactExport, ExportedGroupsImportBackIntoTheSameGroups) {
  AddContact("Ann", "0821", {friends_, work_}, "Lee");
  AddContact("Bob", "0822", {work_});
  const std::string file = File("roundtrip.csv");
  ASSERT_EQ(ContactCsvExporter(*store_).ExportGroups(file, {friends_, work_}, true),
            ExportResult::Done);

  const std::filesystem::path otherDir = testsupport::MakeTempDir("other");
  store::SmsStore other(otherDir.string());
  contacts::ImportOptions options;
  options.autoCreateGroups = true;
  options.groupIds = {1};
  const contacts::ImportResult r = contacts::ContactCsvImporter(other).ImportFile(file, options);
  EXPECT_EQ(r.inserted, 3); // one line per membership
  const std::vector<store::GroupRow> groups = other.Groups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[1].Name, "Friends");
  EXPECT_EQ(groups[2].Name, "Work");
  EXPECT_EQ(other.GroupMembers(groups[2].GID).size(), 2u);
  const std::vector<store::ContactRow> c = other.Contacts();
  EXPECT_EQ(c[0].Name, "Ann");
  EXPECT_EQ(c[0].Surname, "Lee");
  EXPECT_EQ(c[0].Mobile, "0821");
}
