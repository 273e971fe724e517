#include "StoreTestSupport.h"

#include "shell/Logger.h"
#include "shell/NameTables.h"
#include "shell/StringTable.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

using store::MessageRow;
using store::SmsStore;
using storetest::RawQuery;
using storetest::RecordingClipboard;
using storetest::RecordingLog;
namespace fs = std::filesystem;

constexpr std::int64_t kNow = 1133791389; // 05/12/2005 14:03:09 UTC

class StoreMessageOpsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    settings.WriteLog = true;
    services.log = &log;
    services.settings = &settings;
    services.now = [] { return kNow; };
    store = std::make_unique<SmsStore>(dir.string(), services);
    ASSERT_TRUE(store->IsUsable());
  }

  int Add(int status, std::string_view to = ",0821234567", std::string_view msg = "hello",
          int type = 0) {
    return store->AddSms(status, 1000, type, 0, to, msg, "Sender", 0, "?", 0);
  }

  int AddContact(std::string_view name, std::string_view surname, std::string_view mobile) {
    store::ContactRecord record;
    record.SetName(name);
    record.SetSurname(surname);
    record.SetMobile(mobile);
    return store->AddContact(record);
  }

  fs::path dir = testsupport::MakeTempDir("store");
  RecordingLog log;
  shell::Settings settings;
  store::StoreServices services;
  std::unique_ptr<SmsStore> store;
};

TEST_F(StoreMessageOpsTest, AddSmsFillsTheRow) {
  const int id =
      store->AddSms(4, 0, 2, 0, ",0821234567,0831234567", "body \xE9", nullptr, 172800, "?", 1);
  ASSERT_EQ(id, 1);
  const MessageRow row = *store->FindMessage(id);
  EXPECT_EQ(row.ID, 1);
  EXPECT_EQ(row.Time, kNow);
  EXPECT_EQ(row.Stat, 4);
  EXPECT_EQ(row.Type, 2);
  EXPECT_EQ(row.RefID, 1);
  EXPECT_EQ(row.To, ",0821234567,0831234567");
  EXPECT_EQ(row.ToInfo, "0821234567,0831234567");
  EXPECT_EQ(row.Msg, "body \xE9");
  EXPECT_EQ(row.ApiMsgID, "");
  EXPECT_EQ(row.SavedStat, 0);
  EXPECT_EQ(row.SenderID, "");
  EXPECT_EQ(row.Delay, 172800);
  EXPECT_EQ(row.QueryTime, 0);
  EXPECT_EQ(row.StatQryTm, 0);
  EXPECT_EQ(row.Charge, "?");
  EXPECT_EQ(row.Flags, 1);
  ASSERT_TRUE(store->Commit());
  // A null sender id is stored as an empty text, never as NULL.
  EXPECT_EQ(RawQuery(dir / "SMS.db", "SELECT SenderID IS NULL, typeof(SenderID) FROM SMS"),
            std::vector<std::string>{"0|text"});
}

TEST_F(StoreMessageOpsTest, ReferenceAndTimeRules) {
  const int own = store->AddSms(0, 0, 0, 0, ",1", "a", "x", 0, "?", 0);
  const int referring = store->AddSms(0, 1234, 0, 7, ",1", "a", "x", 0, "?", 0);
  EXPECT_EQ(store->FindMessage(own)->RefID, own);
  EXPECT_EQ(store->FindMessage(own)->Time, kNow);
  EXPECT_EQ(store->FindMessage(referring)->RefID, 7);
  EXPECT_EQ(store->FindMessage(referring)->Time, 1234);
  EXPECT_EQ(store->FindMessage(referring)->SenderID, "x");
}

TEST_F(StoreMessageOpsTest, TextIsStoredAsTheExactBytes) {
  std::string bytes;
  for (int c = 1; c < 256; ++c)
    bytes.push_back(static_cast<char>(c));
  const int id = Add(0, ",0821234567", bytes);
  EXPECT_EQ(store->FindMessage(id)->Msg, bytes);
  ASSERT_TRUE(store->Commit());
  std::string hex;
  for (int c = 1; c < 256; ++c) {
    static const char digits[] = "0123456789ABCDEF";
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  EXPECT_EQ(RawQuery(dir / "SMS.db", "SELECT hex(Msg) FROM SMS WHERE ID = " + std::to_string(id)),
            std::vector<std::string>{hex});
  // Texts are zero-terminated: nothing after a zero byte is kept.
  const int cut = Add(0, ",1", std::string_view("ab\0cd", 5));
  EXPECT_EQ(store->FindMessage(cut)->Msg, "ab");
}

TEST_F(StoreMessageOpsTest, CreationAndUpdateAreLoggedOnlyWhenLoggingIsOn) {
  const int id = Add(0, ",0821234567", "hello");
  store->BeginEditSms(id);
  store->UpdateSms(id, 0, ",0831234567", "changed");
  EXPECT_FALSE(store->SetSmsStatus(99, 3));
  settings.WriteLog = false;
  Add(0);
  store->UpdateSms(id, 0, ",1", "x");
  store->SetSmsStatus(98, 3);
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{"Added SMS: SMS_ID (1) Mobile:,0821234567 Msg:hello\n",
                                      "Updated SMS: SMS_ID (1) Mobile:,0831234567 Msg:changed",
                                      "FAILED:Can't change SMS status SMS_ID (99) Status:3"}));
}

TEST_F(StoreMessageOpsTest, AddedEntryLeavesAnEmptyLineInTheLogFile) {
  const std::string path = (dir / "SMS.log").string();
  shell::Logger logger(path, [] { return static_cast<std::time_t>(kNow); });
  store->SetLogWriter(&logger);
  const int id = Add(0, ",1", "hi");
  store->UpdateSms(id, 0, ",2", "ho");
  const std::string prefix = shell::Logger::EntryPrefix(kNow, ::gettid());
  const std::string text = testsupport::ReadFile(path);
  EXPECT_NE(text.find(prefix + "Added SMS: SMS_ID (1) Mobile:,1 Msg:hi\n\r\n" + prefix +
                      "Updated SMS: SMS_ID (1) Mobile:,2 Msg:ho\r\n"),
            std::string::npos)
      << text;
}

TEST_F(StoreMessageOpsTest, CopySmsSharesTheReferenceAndStartsFresh) {
  const int source = store->AddSms(3, 500, 1, 42, ",0821234567", "text", "Shop", 86400, "1.5", 1);
  store->UpdateFields(source, {.QueryTime = 60, .StatQryTm = 560, .ApiMsgID = ",ID: 77"});
  const int kept = store->CopySms(source, false, 0);
  const int requeued = store->CopySms(source, true, 0);
  ASSERT_GT(kept, source);
  ASSERT_GT(requeued, kept);
  for (int id : {kept, requeued}) {
    const MessageRow copy = *store->FindMessage(id);
    EXPECT_EQ(copy.RefID, 42);
    EXPECT_EQ(copy.Time, kNow);
    EXPECT_EQ(copy.Type, 1);
    EXPECT_EQ(copy.To, ",0821234567");
    EXPECT_EQ(copy.Msg, "text");
    EXPECT_EQ(copy.SenderID, "Shop");
    EXPECT_EQ(copy.Delay, 86400);
    EXPECT_EQ(copy.Charge, "1.5");
    EXPECT_EQ(copy.Flags, 1);
    EXPECT_EQ(copy.ApiMsgID, "");
    EXPECT_EQ(copy.QueryTime, 0);
    EXPECT_EQ(copy.StatQryTm, 0);
  }
  EXPECT_EQ(store->FindMessage(kept)->Stat, 3);
  EXPECT_EQ(store->FindMessage(requeued)->Stat, 0);
  EXPECT_EQ(store->CopySms(999, true, 0), -1);
}

TEST_F(StoreMessageOpsTest, ExpandSmsMakesAPartPerDestination) {
  const int parent = store->AddSms(10, 500, 0, 0, ",0821,0822", "text", "Shop", 0, "?", 1);
  const int part = store->ExpandSms(parent, 11, "0822");
  const MessageRow row = *store->FindMessage(part);
  EXPECT_EQ(row.Stat, 11);
  EXPECT_EQ(row.To, "0822");
  EXPECT_EQ(row.ToInfo, "0822");
  EXPECT_EQ(row.RefID, parent);
  EXPECT_EQ(row.Msg, "text");
  EXPECT_EQ(row.SenderID, "Shop");
  EXPECT_EQ(row.Flags, 1);
  EXPECT_EQ(store->ExpandSms(999, 11, "1"), -1);
}

TEST_F(StoreMessageOpsTest, ExpandSmsManyWritesEveryPartWithItsResult) {
  const int parent = store->AddSms(10, 500, 0, 7, ",0821,0822,0823", "text", "Shop", 0, "?", 1);
  std::vector<store::ExpandedChild> parts(3);
  parts[0] = {.Stat = 11, .To = "0821", .ApiMsgID = ",ID: a", .QueryTime = 60, .StatQryTm = 99};
  parts[1] = {.Stat = 2, .To = "0822", .Time = 1234, .Note = "refused"};
  parts[2] = {.Stat = 0, .To = "0823"};
  const std::vector<int> ids = store->ExpandSmsMany(parent, parts);
  ASSERT_EQ(ids, (std::vector<int>{parent + 1, parent + 2, parent + 3}));
  const MessageRow sent = *store->FindMessage(ids[0]);
  EXPECT_EQ(sent.Stat, 11);
  EXPECT_EQ(sent.To, "0821");
  EXPECT_EQ(sent.ToInfo, "0821");
  EXPECT_EQ(sent.RefID, 7);
  EXPECT_EQ(sent.Msg, "text");
  EXPECT_EQ(sent.SenderID, "Shop");
  EXPECT_EQ(sent.Flags, 1);
  EXPECT_EQ(sent.Time, kNow);
  EXPECT_EQ(sent.ApiMsgID, ",ID: a");
  EXPECT_EQ(sent.QueryTime, 60);
  EXPECT_EQ(sent.StatQryTm, 99);
  EXPECT_EQ(store->FindMessage(ids[1])->Time, 1234);
  EXPECT_EQ(store->FindSendRecord(ids[1])->Note, "refused");
  EXPECT_FALSE(store->FindSendRecord(ids[0]).has_value());
  EXPECT_EQ(log.Entries().size(), 4u); // "Added SMS" for the parent and each part
  EXPECT_EQ(store->AddSms(0, 0, 0, 0, ",1", "x", nullptr, 0, "?", 0), parent + 4);
  EXPECT_TRUE(store->ExpandSmsMany(999, parts).empty());
}

TEST_F(StoreMessageOpsTest, SendRecordsStayWithTheirMessage) {
  const int a = Add(2);
  const int b = Add(12);
  EXPECT_FALSE(store->FindSendRecord(a).has_value());
  ASSERT_TRUE(store->PutSendRecord({.ID = a, .CliMsgID = "dv-1", .OutcomeUnknown = true}));
  ASSERT_TRUE(store->PutSendRecord({.ID = b, .ExpandDone = 43, .ExpandInFlight = 7}));
  EXPECT_EQ(store->UnknownOutcomes().size(), 1u);
  EXPECT_EQ(store->UnknownOutcomes()[0].CliMsgID, "dv-1");
  ASSERT_EQ(store->OpenExpansions().size(), 1u);
  EXPECT_EQ(store->OpenExpansions()[0].ExpandInFlight, 7);
  // A new record replaces the old one; the details show its note.
  ASSERT_TRUE(store->PutSendRecord({.ID = a, .CliMsgID = "dv-1", .Note = "never reached"}));
  EXPECT_TRUE(store->UnknownOutcomes().empty());
  const std::string details = *store->SmsDetailsText(a);
  EXPECT_TRUE(details.ends_with("\r\nNote:     never reached\r\n")) << details;
  // Copies start without one; a deleted message takes its record along.
  EXPECT_FALSE(store->FindSendRecord(store->CopySms(a, false, 0)).has_value());
  store->DeleteSms(a);
  EXPECT_FALSE(store->FindSendRecord(a).has_value());
}

TEST_F(StoreMessageOpsTest, UpdateSmsReturnsAnEditToPendingOrDelayScheduled) {
  struct Case {
    int saved;
    int expected;
  };
  for (Case c : {Case{6, 6}, Case{7, 6}, Case{3, 0}, Case{0, 0}, Case{4, 0}}) {
    const int id = store->AddSms(c.saved, 500, 0, 9, ",1", "old", "S", 86400, "2", 1);
    store->UpdateFields(id, {.ApiMsgID = ",ID: 5"});
    ASSERT_TRUE(store->BeginEditSms(id).has_value());
    store->UpdateSms(id, 2, ",A1,0821", "new text");
    const MessageRow row = *store->FindMessage(id);
    EXPECT_EQ(row.Stat, c.expected) << "SavedStat " << c.saved;
    EXPECT_EQ(row.Type, 2);
    EXPECT_EQ(row.To, ",A1,0821");
    EXPECT_EQ(row.ToInfo, ",0821"); // contact 1 does not exist
    EXPECT_EQ(row.Msg, "new text");
    EXPECT_EQ(row.Time, 500);
    EXPECT_EQ(row.RefID, 9);
    EXPECT_EQ(row.SenderID, "S");
    EXPECT_EQ(row.Delay, 86400);
    EXPECT_EQ(row.Charge, "2");
    EXPECT_EQ(row.Flags, 1);
    EXPECT_EQ(row.ApiMsgID, ",ID: 5");
  }
  const std::size_t logged = log.Entries().size();
  store->UpdateSms(999, 0, ",1", "x");
  EXPECT_FALSE(store->FindMessage(999).has_value());
  EXPECT_EQ(log.Entries().size(), logged);
}

TEST_F(StoreMessageOpsTest, StatusChangesAndDeletion) {
  const int id = Add(0);
  EXPECT_TRUE(store->SetSmsStatus(id, 11));
  EXPECT_EQ(store->FindMessage(id)->Stat, 11);
  EXPECT_TRUE(store->SetSmsStatus(id, 11)); // unchanged value, row exists
  store->DeleteSms(id);
  EXPECT_FALSE(store->FindMessage(id).has_value());
  EXPECT_FALSE(store->SetSmsStatus(id, 2));
  store->DeleteSms(id); // nothing happens
  EXPECT_EQ(store->MessageCount(), 0);
}

TEST_F(StoreMessageOpsTest, CountOutboxCountsWaitingMessages) {
  for (int s : {0, 0, 4, 6, 3, 3, 3, 3, 3, 5, 7, 10, 11})
    Add(s);
  EXPECT_EQ(store->CountOutbox(), 4);
}

TEST_F(StoreMessageOpsTest, RestoreAndBeginEdit) {
  const int a = Add(4);
  const int b = Add(6);
  EXPECT_EQ(store->BeginEditSms(a)->SavedStat, 4);
  EXPECT_EQ(store->FindMessage(a)->Stat, 5);
  store->BeginEditSms(b);
  EXPECT_FALSE(store->BeginEditSms(999).has_value());
  store->RestoreEditedSms();
  EXPECT_EQ(store->FindMessage(a)->Stat, 4);
  EXPECT_EQ(store->FindMessage(b)->Stat, 6);
}

TEST_F(StoreMessageOpsTest, RecipientSummaries) {
  const int ann = AddContact("Ann", "Lee", "0821111111");
  ASSERT_EQ(ann, 1);
  for (int i = 2; i <= 3; ++i)
    AddContact("C", "D", "1");
  EXPECT_EQ(store->RecipientSummary(""), "");
  EXPECT_EQ(store->RecipientSummary(","), "");
  EXPECT_EQ(store->RecipientSummary(",A99"), "");
  EXPECT_EQ(store->RecipientSummary("0821234567"), "0821234567");
  EXPECT_EQ(store->RecipientSummary(",A1,0831234567"), "Ann Lee,0831234567");
  EXPECT_EQ(store->RecipientSummary(",1,2,3,4,5"), "1,2,3 ...");
  EXPECT_EQ(store->RecipientSummary(",1,2,3"), "1,2,3");
  EXPECT_EQ(store->RecipientSummary("1,2,3,"), "1,2,3");
  EXPECT_EQ(store->RecipientSummary(",A1,A99,5"), "Ann Lee,,5");
  EXPECT_EQ(store->RecipientSummary(",A1x,A"), "Ann Lee,");
}

TEST_F(StoreMessageOpsTest, OverlongSummariesAreCutTo127Bytes) {
  const std::string name(32, 'N');
  const std::string surname(32, 'S');
  for (int i = 0; i < 3; ++i)
    AddContact(name, surname, "1");
  const std::string full = name + " " + surname;
  std::string expected = full + "," + full + "," + full + " ...";
  expected.resize(127);
  EXPECT_EQ(store->RecipientSummary(",A1,A2,A3,A1"), expected);
  const std::string longNumber(500, '7');
  EXPECT_EQ(store->RecipientSummary("," + longNumber), std::string(127, '7'));
  const int id = Add(0, "," + longNumber + ",A1");
  EXPECT_EQ(store->FindMessage(id)->ToInfo.size(), 127u);
  EXPECT_EQ(store->FindMessage(id)->To, "," + longNumber + ",A1");
}

class StoreDetailsTest : public StoreMessageOpsTest {};

TEST_F(StoreDetailsTest, TextOfAPlainMessage) {
  settings.prefix = "27";
  const int ann = AddContact("Ann", "Lee", "0831112222");
  const int id =
      store->AddSms(11, 1133791389, 0, 0,
                    ",A" + std::to_string(ann) + ",0821234567,000123,821,12345678901234567890",
                    "Hello there", nullptr, 0, "0.35", 0);
  store->UpdateFields(id, {.ApiMsgID = ",ID: 4711|0821234567,id: 4712,plain"});
  RecordingClipboard clipboard;
  ASSERT_TRUE(store->CopySmsDetails(id, clipboard));
  EXPECT_EQ(clipboard.text, "Time:     05/12/2005 14:03\r\n"
                            "Status:   Unknown\r\n"
                            "Charge:   0.35\r\n"
                            "To:       27831112222,27821234567,27123,821,1234567890123456\r\n"
                            "Message:  Hello there\r\n"
                            "ApiMsgID: 4711|0821234567,4712,plain\r\n");
}

TEST_F(StoreDetailsTest, BinaryTypesShowAPlaceholderButBinaryShowsItsHex) {
  auto bodyOf = [&](int type) {
    const int id = store->AddSms(3, 1, type, 0, ",1", "0A0B0C", nullptr, 0, "?", 0);
    const std::string text = *store->SmsDetailsText(id);
    const auto start = text.find("Message:  ") + 10;
    return text.substr(start, text.find("\r\n", start) - start);
  };
  EXPECT_EQ(bodyOf(store::TypeFlash), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeNokiaRingtone), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeNokiaPicture), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeNokiaOperatorLogo), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeNokiaVCard), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeNokiaVCal), "Binary message");
  EXPECT_EQ(bodyOf(store::TypeBinary), "0A0B0C");
  EXPECT_EQ(bodyOf(store::TypeText), "0A0B0C");
  EXPECT_EQ(bodyOf(store::TypeUnicode), "0A0B0C");
}

TEST_F(StoreDetailsTest, TranslatedTextsAndNames) {
  shell::StringTable strings;
  strings.Set(1251, "Bin\xE4rnachricht");
  strings.Set(1250, "\r\nText: ");
  shell::NameTables names;
  strings.Set(1227, "Unbekannt");
  names.Load(strings);
  store->SetStringTable(&strings);
  store->SetNameTables(&names);
  const int id = store->AddSms(11, 1, 1, 0, "", "x", nullptr, 0, "", 0);
  const std::string text = *store->SmsDetailsText(id);
  EXPECT_NE(text.find("Status:   Unbekannt\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("To:       \r\nText: Bin\xE4rnachricht\r\nApiMsgID: \r\n"), std::string::npos)
      << text;
}

TEST_F(StoreDetailsTest, OverlongDetailsAreComplete) {
  std::string apiIds;
  for (int i = 0; i < 200; ++i)
    apiIds += ",ID: " + std::string(60, static_cast<char>('a' + i % 26));
  const std::string charge(3000, '9');
  std::string to;
  for (int i = 0; i < 300; ++i)
    to += ",0821234567";
  const int id = store->AddSms(99, 1, 0, 0, to, std::string(2000, 'm'), nullptr, 0, charge, 0);
  store->UpdateFields(id, {.ApiMsgID = apiIds});
  const std::string text = *store->SmsDetailsText(id);
  EXPECT_NE(text.find("Status:   \r\nCharge:   " + charge + "\r\n"), std::string::npos);
  EXPECT_NE(text.find(std::string(2000, 'm') + "\r\nApiMsgID: "), std::string::npos);
  const std::string ids = text.substr(text.find("ApiMsgID: ") + 10);
  EXPECT_EQ(ids.size(), 200 * 32 + 199 + 2);
  EXPECT_EQ(ids.substr(0, 33), std::string(32, 'a') + ",");
  RecordingClipboard clipboard;
  EXPECT_TRUE(store->CopySmsDetails(id, clipboard));
  EXPECT_EQ(clipboard.text, text);
}

TEST_F(StoreDetailsTest, FailuresLeaveTheClipboardAlone) {
  RecordingClipboard clipboard;
  EXPECT_FALSE(store->CopySmsDetails(123, clipboard));
  EXPECT_EQ(clipboard.calls, 0);
  const int id = Add(0);
  clipboard.refuse = true;
  EXPECT_FALSE(store->CopySmsDetails(id, clipboard));
  EXPECT_EQ(clipboard.calls, 1);
}

} // namespace
