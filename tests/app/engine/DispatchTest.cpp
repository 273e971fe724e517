// Outbox dispatch against a scripted gateway and a real store: the three
// ways of sending, the options set before each request, the write-back, the
// batch chunks and replies, and the log lines.
#include "EngineTestSupport.h"

#include "engine/OutboxDispatcher.h"
#include "engine/StoreContactSource.h"
#include "engine/WindowMessages.h"

#include <gtest/gtest.h>

using namespace engine;
using namespace enginetest;

namespace {

class DispatchTest : public ::testing::Test {
protected:
  DispatchTest() : h(&gateway), contacts(*h.store) {
    services = h.Services();
    services.contacts = &contacts;
    h.settings.WriteLog = true;
    dispatcher = std::make_unique<OutboxDispatcher>(services, state);
  }

  std::vector<std::string> Options(const std::vector<Call> &calls) {
    std::vector<std::string> out;
    for (const Call &c : calls)
      if (c.name.rfind("put_", 0) == 0) out.push_back(c.name.substr(4) + "=" + c.args[0]);
    return out;
  }

  FakeGateway gateway;
  Harness h;
  StoreContactSource contacts;
  EngineServices services;
  WorkerState state;
  std::unique_ptr<OutboxDispatcher> dispatcher;
};

} // namespace

TEST_F(DispatchTest, TextToOneNumberGoesAsOneSendMsg) {
  int id = h.AddPending("0821234567", "Hello there");
  dispatcher->SendQueuedSMSs(-1);

  std::vector<Call> calls = gateway.Calls();
  // The client message id goes with this request only.
  EXPECT_EQ(Options(calls),
            (std::vector<std::string>{"smsREQUIRED_FEATURES=0", "smsCONCAT=0", "smsMSG_TYPE=0",
                                      "smsFROM=", "smsUNICODE=0", "smsDELIVERY_ACK=0",
                                      "smsDELIVERY_TIME=0",
                                      "smsCLI_MSG_ID=dv-" + std::to_string(id), "smsCLI_MSG_ID="}));
  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].args, (std::vector<std::string>{"1", "Hello there", "0821234567"}));

  store::MessageRow row = h.Row(id);
  EXPECT_EQ(row.Stat, 11);
  EXPECT_EQ(row.ApiMsgID, ",ID: 00000000000000000000000000000001");
  EXPECT_EQ(row.QueryTime, 60);
  EXPECT_EQ(row.StatQryTm, kStartSeconds + 60);
  EXPECT_TRUE(h.Children(id).empty());
  EXPECT_TRUE(h.log.Contains("SMS sent ok: Mobile:0821234567 Msg:Hello there API_ID:ID: "
                             "00000000000000000000000000000001"));
  EXPECT_EQ(h.posts.Count(UM_BALANCE_CHANGED), 1);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_COUNT), 1);
  EXPECT_GE(h.rebuilds.ResortOnly(), 1);
  EXPECT_EQ(h.rebuilds.Full(), 1);
}

TEST_F(DispatchTest, SettingsShapeTheOptions) {
  h.settings.SpanSMS = true;
  h.settings.DeliveryAcks = true;
  h.settings.InstallationID = "dv12ab-!x";
  int id = h.AddPending("0821234567", "Hi", 0, 1, "Shop");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(Options(gateway.Calls()),
            (std::vector<std::string>{
                "smsREQUIRED_FEATURES=16", "smsCONCAT=3", "smsMSG_TYPE=0", "smsFROM=Shop",
                "smsUNICODE=0", "smsDELIVERY_ACK=-1", "smsDELIVERY_TIME=0",
                "smsCLI_MSG_ID=dv12abx-" + std::to_string(id), "smsCLI_MSG_ID="}));
}

TEST_F(DispatchTest, SenderIdFeatures) {
  EXPECT_EQ(OutboxDispatcher::RequiredFeatures(0, "27821234567"), 0);
  EXPECT_EQ(OutboxDispatcher::RequiredFeatures(1, "27821234567"), 32);
  EXPECT_EQ(OutboxDispatcher::RequiredFeatures(1, "Shop24"), 16);
  EXPECT_EQ(OutboxDispatcher::RequiredFeatures(1, ""), 16);
  EXPECT_EQ(OutboxDispatcher::RequiredFeatures(2, "Shop"), 0);
}

TEST_F(DispatchTest, TypesMapOntoGatewayTypes) {
  const int expected[] = {0, 1, 0, 6, 5, 3, 8, 9, 0};
  for (int type = 0; type <= 8; ++type)
    EXPECT_EQ(OutboxDispatcher::GatewayType(type), expected[type]) << type;
  EXPECT_EQ(OutboxDispatcher::GatewayType(42), 0);
  EXPECT_EQ(OutboxDispatcher::GatewayType(-1), 0);
}

TEST_F(DispatchTest, ThreeNumbersGoAsOneBatchWithThreeChildren) {
  int id = h.AddPending("0821111111,0822222222,0823333333", "Sale today");
  dispatcher->SendQueuedSMSs(id);

  std::vector<Call> calls = gateway.Calls();
  EXPECT_EQ(Options(calls),
            (std::vector<std::string>{"smsCONCAT=0", "smsMSG_TYPE=0", "smsREQUIRED_FEATURES=0",
                                      "smsFROM=", "smsUNICODE=0", "smsDELIVERY_ACK=0",
                                      "smsDELIVERY_TIME=0"}));
  EXPECT_EQ(gateway.CountOf("SendMsg"), 0);
  ASSERT_EQ(gateway.CountOf("StartBatch"), 1);
  EXPECT_EQ(gateway.CallsNamed("StartBatch")[0].args[0], "Sale today");
  std::vector<Call> chunks = gateway.CallsNamed("QuickBatchSend");
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].args[0], "0821111111,0822222222,0823333333");
  EXPECT_EQ(gateway.CountOf("EndBatch"), 1);

  EXPECT_EQ(h.Row(id).Stat, 12);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 3u);
  const char *tokens[] = {"0821111111", "0822222222", "0823333333"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(children[i].Stat, 11);
    EXPECT_EQ(children[i].To, tokens[i]);
    EXPECT_EQ(children[i].ApiMsgID.substr(0, 5), ",ID: ");
    EXPECT_EQ(children[i].ApiMsgID.size(), 37u);
    EXPECT_EQ(children[i].QueryTime, 60);
    EXPECT_EQ(children[i].StatQryTm, kStartSeconds + 60);
    EXPECT_EQ(children[i].Msg, "Sale today");
  }
  EXPECT_TRUE(h.log.Contains("SMS batch started ok: Msg:Sale today API_ID:ID: batch1"));
  EXPECT_TRUE(
      h.log.Contains("QuickBatchSend SMS sent ok: Mobile:0821111111,0822222222,0823333333"));
  EXPECT_TRUE(h.log.Contains("EndBatch SMS ok"));
}

TEST_F(DispatchTest, MergeTagsSendOncePerContactWithTheirFields) {
  int ann = h.AddContact("Ann", "Lee", "0831112222");
  int bob = h.AddContact("Bob", "Ray", "0834445555");
  int id = h.AddPending("A" + std::to_string(ann) + ",A" + std::to_string(bob),
                        "Dear <<FIRSTNAME>> <<SURNAME>>");
  dispatcher->SendQueuedSMSs(-1);

  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].args[1], "Dear Ann Lee");
  EXPECT_EQ(sends[0].args[2], "0831112222");
  EXPECT_EQ(sends[1].args[1], "Dear Bob Ray");
  EXPECT_EQ(gateway.CountOf("StartBatch"), 0);
  EXPECT_TRUE(h.log.Contains("ComplexSMS sent ok: Mobile:0831112222 Msg:Dear Ann Lee API_ID:ID: "));
  EXPECT_EQ(h.Row(id).Stat, 12);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].To, "A" + std::to_string(ann));
  EXPECT_EQ(children[1].To, "A" + std::to_string(bob));
}

TEST_F(DispatchTest, MergeTagToAPlainNumberStaysLiteral) {
  h.AddPending("0821234567", "Hi <<FIRSTNAME>>");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].args[1], "Hi <<FIRSTNAME>>");
  EXPECT_TRUE(h.log.Contains("ComplexSMS sent ok"));
}

TEST_F(DispatchTest, FlashAndNokiaTypesGoPerDestinationEvenToOneNumber) {
  int id = h.AddPending("0821234567", "Now!", 1);
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
  EXPECT_TRUE(h.log.Contains("ComplexSMS sent ok"));
  EXPECT_EQ(h.Row(id).Stat, 11);

  gateway.ClearCalls();
  h.AddPending("0821111111,0822222222", "4a4b", 3);
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(gateway.CountOf("SendMsg"), 2);
  EXPECT_EQ(gateway.CountOf("StartBatch"), 0);
  std::vector<std::string> options = Options(gateway.Calls());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsMSG_TYPE=6"), options.end());
}

TEST_F(DispatchTest, UnicodeTextIsEncodedAndFlagged) {
  h.AddPending("0821234567", "A\x80", 2);
  dispatcher->SendQueuedSMSs(-1);
  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].args[1], "004120ac");
  std::vector<std::string> options = Options(gateway.Calls());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsUNICODE=-1"), options.end());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsMSG_TYPE=0"), options.end());

  gateway.ClearCalls();
  h.AddPending("0821111111,0822222222", "A", 2);
  dispatcher->SendQueuedSMSs(-1);
  ASSERT_EQ(gateway.CountOf("StartBatch"), 1);
  EXPECT_EQ(gateway.CallsNamed("StartBatch")[0].args[0], "0041");
}

TEST_F(DispatchTest, DeferredMessageBecomesScheduledOnServer) {
  int ahead = h.AddPending("0821234567", "Later", 0, 0, "", 86400,
                           static_cast<int>(kStartSeconds + 90 * 60));
  dispatcher->SendQueuedSMSs(ahead);
  std::vector<std::string> options = Options(gateway.Calls());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsDELIVERY_TIME=90"), options.end());
  EXPECT_EQ(h.Row(ahead).Stat, 7);

  gateway.ClearCalls();
  int past =
      h.AddPending("0821234567", "Late", 0, 0, "", 86400, static_cast<int>(kStartSeconds - 600));
  dispatcher->SendQueuedSMSs(past);
  options = Options(gateway.Calls());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsDELIVERY_TIME=0"), options.end());
  EXPECT_EQ(h.Row(past).Stat, 11);
}

TEST_F(DispatchTest, ChildrenOfADeferredMessageKeepItsTime) {
  const int when = static_cast<int>(kStartSeconds + 3 * 3600);
  int id = h.AddPending("0821111111,0822222222", "Later", 0, 0, "", 86400, when);
  dispatcher->SendQueuedSMSs(id);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 2u);
  for (const store::MessageRow &child : children) {
    EXPECT_EQ(child.Time, when);
    EXPECT_EQ(child.Stat, 11);
  }
  std::vector<std::string> options = Options(gateway.Calls());
  EXPECT_NE(std::find(options.begin(), options.end(), "smsDELIVERY_TIME=180"), options.end());
}

TEST_F(DispatchTest, PrefixRuleAppliesToNumbersSent) {
  h.settings.prefix = "27";
  h.AddPending("0821234567", "a");
  h.AddPending("000441234567", "b");
  h.AddPending("27831234567", "c");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 3u);
  // Newest first.
  EXPECT_EQ(sends[0].args[2], "27831234567");
  EXPECT_EQ(sends[1].args[2], "27441234567");
  EXPECT_EQ(sends[2].args[2], "27821234567");
}

TEST_F(DispatchTest, BatchReplyWithAcceptedRejectedAndUnmentionedNumbers) {
  gateway.onQuickBatchSend = [](const std::string &) {
    return Answer{"ID: 0123456789abcdef0123456789abcdef To: 0821111111\n"
                  "ERR: 105, Invalid Destination Address To: 0822222222\n",
                  0};
  };
  int id = h.AddPending("0821111111,0822222222,0823333333", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(h.Row(id).Stat, 12);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0].To, "0821111111");
  EXPECT_EQ(children[0].Stat, 11);
  EXPECT_EQ(children[0].ApiMsgID, ",ID: 0123456789abcdef0123456789abcdef");
  EXPECT_EQ(children[1].To, "0822222222");
  EXPECT_EQ(children[1].Stat, 2);
  EXPECT_EQ(children[2].To, "0823333333");
  EXPECT_EQ(children[2].Stat, 2);
  EXPECT_EQ(children[2].ApiMsgID, "");
}

TEST_F(DispatchTest, FailedBatchStartFailsTheMessageWithoutChildren) {
  gateway.onStartBatch = [](const std::string &) {
    return Answer{"ERR: 202, No batch template", 202};
  };
  int id = h.AddPending("0821111111,0822222222", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(gateway.CountOf("QuickBatchSend"), 0);
  EXPECT_EQ(gateway.CountOf("EndBatch"), 0);
  EXPECT_EQ(h.Row(id).Stat, 2);
  EXPECT_TRUE(h.Children(id).empty());
  EXPECT_TRUE(h.log.Contains("SMS Batch start failed: Error:ERR: 202, No batch template Msg:x"));
  EXPECT_TRUE(h.prompts.All().empty());
  EXPECT_NE(h.store->SmsDetailsText(id)->find("Note:     the batch could not be started"),
            std::string::npos);
}

TEST_F(DispatchTest, CommunicationFailureIsShownOncePerJob) {
  gateway.onSendMsg = [](const std::string &, const std::string &) {
    return Answer{"ERR: -2,Communication error: timeout", 99};
  };
  int ann = h.AddContact("Ann", "", "0831112222");
  int bob = h.AddContact("Bob", "", "0834445555");
  int first = h.AddPending("A" + std::to_string(ann) + ",A" + std::to_string(bob), "<<TITLE>>");
  int second = h.AddPending("0821234567", "plain");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(gateway.CountOf("SendMsg"), 3);
  std::vector<Prompted> asked = h.prompts.All();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text,
            "Failed to communicate with the the server.  Please make sure that you are on-line!");
  EXPECT_EQ(asked[0].caption, "Login failed ...");
  EXPECT_EQ(asked[0].style, kBoxIconError);
  EXPECT_EQ(h.Row(second).Stat, 2);
  EXPECT_EQ(h.Row(first).Stat, 12);
  for (const store::MessageRow &child : h.Children(first))
    EXPECT_EQ(child.Stat, 2);
  EXPECT_TRUE(h.log.Contains("SMS failed: Error:ERR: -2,Communication error: timeout "
                             "Mobile:0821234567 Msg:plain"));
  EXPECT_TRUE(h.log.Contains("ComplexSMS failed: Error:ERR: -2"));

  // Within one job it shows no more; the next job may show it again.
  h.AddPending("0821234567", "again");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(h.prompts.All().size(), 1u);
  dispatcher->BeginJob();
  h.AddPending("0821234567", "and again");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(h.prompts.All().size(), 2u);
}

// A Unicode text the library cannot encode goes nowhere, whichever way it
// would have gone, and says so in the log like any other failure.
TEST_F(DispatchTest, AnUnencodableTextFailsWithItsLogLine) {
  gateway.encodeStatus = E_FAIL;
  int ann = h.AddContact("Ann", "", "0831112222");
  int bob = h.AddContact("Bob", "", "0834445555");
  int single = h.AddPending("0821234567", "one", 2);
  int perContact =
      h.AddPending("A" + std::to_string(ann) + ",A" + std::to_string(bob), "Hi <<FIRSTNAME>>", 2);
  int batch = h.AddPending("0821111111,0822222222", "many", 2);
  dispatcher->SendQueuedSMSs(-1);

  EXPECT_EQ(gateway.CountOf("SendMsg") + gateway.CountOf("StartBatch"), 0);
  EXPECT_EQ(h.Row(single).Stat, 2);
  EXPECT_EQ(h.Row(batch).Stat, 2);
  for (const store::MessageRow &child : h.Children(perContact))
    EXPECT_EQ(child.Stat, 2);
  const std::string why = "Error:the text could not be encoded: nothing was sent";
  EXPECT_TRUE(h.log.Contains("SMS failed: " + why + " Mobile:0821234567 Msg:one"));
  EXPECT_TRUE(h.log.Contains("ComplexSMS failed: " + why + " Mobile:0831112222 Msg:Hi Ann"));
  EXPECT_TRUE(h.log.Contains("ComplexSMS failed: " + why + " Mobile:0834445555 Msg:Hi Bob"));
  EXPECT_TRUE(h.log.Contains("SMS Batch start failed: " + why + " Msg:many"));
}

TEST_F(DispatchTest, AGatewayErrorFailsOnlyThatDestination) {
  gateway.onSendMsg = [](const std::string &, const std::string &to) {
    if (to == "0834445555") return Answer{"ERR: 105, Invalid Destination Address", 105};
    return Answer{"ID: 0123456789abcdef0123456789abcdef", 0};
  };
  int ann = h.AddContact("Ann", "", "0831112222");
  int bob = h.AddContact("Bob", "", "0834445555");
  int id = h.AddPending("A" + std::to_string(ann) + ",A" + std::to_string(bob), "<<CUSTOM>>");
  dispatcher->SendQueuedSMSs(id);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].Stat, 11);
  EXPECT_EQ(children[1].Stat, 2);
  EXPECT_TRUE(h.prompts.All().empty());
  EXPECT_EQ(dispatcher->Failed().size(), 1u);
  EXPECT_EQ(dispatcher->Failed()[0].errorCode, 105);
}

TEST_F(DispatchTest, UnresolvableDestinationsFailTheMessage) {
  int id = h.AddPending("A4711", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(gateway.Calls().size(), 0u);
  EXPECT_EQ(h.Row(id).Stat, 2);
}

TEST_F(DispatchTest, OnlyPendingMessagesAreSentAndNewestFirst) {
  int a = h.AddPending("0821111111", "a");
  int b = h.AddPending("0822222222", "b");
  int scheduled = h.store->AddSms(4, 0, 0, 0, "0823333333", "c", "", 0, "?", 0);
  dispatcher->SendQueuedSMSs(-1);
  std::vector<Call> sends = gateway.CallsNamed("SendMsg");
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].args[1], "b");
  EXPECT_EQ(sends[1].args[1], "a");
  EXPECT_EQ(h.Row(a).Stat, 11);
  EXPECT_EQ(h.Row(b).Stat, 11);
  EXPECT_EQ(h.Row(scheduled).Stat, 4);

  // A second pass finds nothing Pending.
  gateway.ClearCalls();
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(gateway.Calls().size(), 0u);
  // One id that is not Pending sends nothing.
  dispatcher->SendQueuedSMSs(scheduled);
  EXPECT_EQ(gateway.Calls().size(), 0u);
}

TEST_F(DispatchTest, LargeBatchGoesInChunksAndExitLeavesTheRestPending) {
  std::string to;
  for (int i = 0; i < 2000; ++i)
    to += (i ? "," : "") + std::to_string(27820000000LL + i);
  int id = h.AddPending(to, "Big");
  int chunksSent = 0;
  gateway.onQuickBatchSend = [&](const std::string &numbers) {
    EXPECT_GE(numbers.size() + 1, OutboxDispatcher::kChunkLimit);
    std::string reply;
    std::size_t start = 0;
    while (start < numbers.size()) {
      std::size_t comma = numbers.find(',', start);
      std::string n =
          numbers.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      reply += "ID: 0123456789abcdef0123456789abcdef To: " + n + "\n";
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (++chunksSent == 3) state.exitRequested.store(true);
    return Answer{reply, 0};
  };
  dispatcher->SendQueuedSMSs(id);

  // 12 characters per number: 43 numbers close a chunk at 516 characters.
  EXPECT_EQ(gateway.CountOf("QuickBatchSend"), 3);
  std::vector<store::MessageRow> children = h.Children(id);
  ASSERT_EQ(children.size(), 2000u);
  int unknown = 0, pending = 0;
  for (const store::MessageRow &child : children) {
    unknown += child.Stat == 11;
    pending += child.Stat == 0;
  }
  EXPECT_EQ(unknown, 3 * 43);
  EXPECT_EQ(pending, 2000 - 3 * 43);
  EXPECT_EQ(h.Row(id).Stat, 12);
  EXPECT_EQ(gateway.CountOf("EndBatch"), 1);
  // No progress and no outbox rebuild after the exit request (the resort
  // when the message became Processing came before it).
  EXPECT_EQ(h.posts.Count(UM_BALANCE_CHANGED), 0);
  EXPECT_EQ(h.rebuilds.Full(), 0);
  EXPECT_EQ(h.rebuilds.ResortOnly(), 1);
}

TEST_F(DispatchTest, ChunksCloseAtFiveHundredAndTwelveCharacters) {
  std::string to;
  for (int i = 0; i < 500; ++i)
    to += (i ? "," : "") + std::to_string(27820000000LL + i);
  h.AddPending(to, "Big");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<Call> chunks = gateway.CallsNamed("QuickBatchSend");
  std::size_t numbers = 0;
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    const std::string &list = chunks[i].args[0];
    numbers += std::count(list.begin(), list.end(), ',') + 1;
    if (i + 1 < chunks.size()) {
      EXPECT_GE(list.size() + 1, 512u);
      EXPECT_LT(list.size() + 1, 512u + 12u);
    }
  }
  EXPECT_EQ(numbers, 500u);
  EXPECT_EQ(chunks.size(), (500 * 12 + 511) / 516 + 0u);
  // The progress count reports the numbers not yet sent.
  std::vector<Posted> counts;
  for (const Posted &p : h.posts.All())
    if (p.message == UM_PROGRESS_COUNT) counts.push_back(p);
  ASSERT_EQ(counts.size(), chunks.size());
  EXPECT_EQ(counts[0].lParam, 500 - 42);
}

TEST_F(DispatchTest, WithoutLogSettingNothingIsLogged) {
  h.settings.WriteLog = false;
  h.AddPending("0821234567", "quiet");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
  for (const std::string &e : h.log.Entries())
    EXPECT_EQ(e.find("SMS sent ok"), std::string::npos) << e;
}

TEST_F(DispatchTest, EverySendIsDurableBeforeAndAfterItsRequest) {
  int first = h.AddPending("0821111111", "first");
  int second = h.AddPending("0822222222", "second");
  h.store->Commit();
  std::vector<store::MessageRow> rows;
  std::optional<store::SendRecord> record;
  gateway.onSendMsg = [&](const std::string &text, const std::string &) {
    // What a crash now would leave.
    if (text == "first") {
      rows = CommittedRows(h.store->Path());
      record = CommittedSendRecord(h.store->Path(), first);
    }
    return Answer{"ID: 0123456789abcdef0123456789abcdef", 0};
  };
  dispatcher->SendQueuedSMSs(-1); // newest first: second, then first
  auto row = [&](int id) {
    for (const store::MessageRow &r : rows)
      if (r.ID == id) return r;
    return store::MessageRow{};
  };
  EXPECT_EQ(row(second).Stat, 11);
  EXPECT_EQ(row(second).ApiMsgID, ",ID: 0123456789abcdef0123456789abcdef");
  EXPECT_EQ(row(first).Stat, 10);
  // The send in flight is recorded with its client message id.
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->CliMsgID, "dv-" + std::to_string(first));
  EXPECT_TRUE(record->OutcomeUnknown);
  // Its answer is durable once the request has returned.
  rows = CommittedRows(h.store->Path());
  EXPECT_EQ(row(first).Stat, 11);
  EXPECT_FALSE(CommittedSendRecord(h.store->Path(), first)->OutcomeUnknown);
}

TEST_F(DispatchTest, UnknownOutcomesAreAskedAboutAndNeverSentAgain) {
  auto failedWithUnknownOutcome = [&](const std::string &to) {
    int id = h.AddPending(to, "lost answer");
    h.store->SetSmsStatus(id, 2);
    store::SendRecord record;
    record.ID = id;
    record.CliMsgID = "dv-" + std::to_string(id);
    record.OutcomeUnknown = true;
    h.store->PutSendRecord(record);
    return id;
  };
  int known = failedWithUnknownOutcome("0821111111");
  int never = failedWithUnknownOutcome("0822222222");
  int silent = failedWithUnknownOutcome("0823333333");
  int later = failedWithUnknownOutcome("0824444444");
  gateway.onQueryMsgCliId = [&](const std::string &cli) {
    if (cli == "dv-" + std::to_string(known))
      return Answer{"ID: 0123456789abcdef0123456789abcdef Status: 003", 0};
    if (cli == "dv-" + std::to_string(never))
      return Answer{"ERR: 104, Unknown cliMsgId (Client Message ID)", 104};
    return Answer{"ERR: -2,Communication error: timeout", 99};
  };
  dispatcher->SendQueuedSMSs(-1);

  EXPECT_EQ(gateway.CountOf("SendMsg"), 0);
  // Asked in ID order; the first silence ends the asking for this pass.
  EXPECT_EQ(gateway.CountOf("QueryMsgCLIID"), 3);
  store::MessageRow found = h.Row(known);
  EXPECT_EQ(found.Stat, 11);
  EXPECT_EQ(found.ApiMsgID, ",ID: 0123456789abcdef0123456789abcdef");
  EXPECT_EQ(found.QueryTime, 60);
  EXPECT_EQ(found.StatQryTm, kStartSeconds); // polled at once
  EXPECT_FALSE(h.store->FindSendRecord(known)->OutcomeUnknown);
  EXPECT_EQ(h.Row(never).Stat, 2);
  EXPECT_FALSE(h.store->FindSendRecord(never)->OutcomeUnknown);
  EXPECT_NE(h.store->SmsDetailsText(never)->find("Note:     never reached the gateway"),
            std::string::npos);
  EXPECT_TRUE(h.store->FindSendRecord(silent)->OutcomeUnknown);
  EXPECT_TRUE(h.store->FindSendRecord(later)->OutcomeUnknown);
  EXPECT_TRUE(h.log.Contains("SMS outcome found: SMS_ID (" + std::to_string(known) + ")"));
  EXPECT_TRUE(h.log.Contains("SMS never reached the gateway: SMS_ID (" + std::to_string(never)));
  EXPECT_TRUE(h.log.Contains("SMS outcome still unknown: SMS_ID (" + std::to_string(silent)));

  // A pass for one message asks nothing.
  gateway.ClearCalls();
  dispatcher->SendQueuedSMSs(silent);
  EXPECT_EQ(gateway.Calls().size(), 0u);
}

TEST_F(DispatchTest, AnInterruptedExpansionLeavesUnknownAndPendingChildren) {
  // A batch whose second chunk was in flight, and a merged message whose
  // second destination was, when the program ended.
  std::string to;
  for (int i = 0; i < 100; ++i)
    to += (i ? "," : "") + std::to_string(27820000000LL + i);
  int batch = h.AddPending(to, "batch");
  h.store->SetSmsStatus(batch, 2); // the repair at opening
  h.store->PutSendRecord(
      {.ID = batch, .ExpandDone = 43, .ExpandInFlight = 43, .ExpandBatch = true});
  int merged = h.AddPending("0831111111,0832222222,0833333333", "Hi <<FIRSTNAME>>");
  h.store->SetSmsStatus(merged, 10);
  h.store->PutSendRecord({.ID = merged,
                          .CliMsgID = "dv-" + std::to_string(merged),
                          .ExpandDone = 1,
                          .ExpandInFlight = 1});
  dispatcher->RecoverInterrupted();

  EXPECT_EQ(gateway.Calls().size(), 0u);
  EXPECT_EQ(h.Row(batch).Stat, 12);
  std::vector<store::MessageRow> children = h.Children(batch);
  ASSERT_EQ(children.size(), 57u); // the first chunk's children exist already
  for (int i = 0; i < 57; ++i) {
    EXPECT_EQ(children[i].To, std::to_string(27820000043LL + i));
    EXPECT_EQ(children[i].Stat, i < 43 ? 2 : 0);
  }
  EXPECT_NE(
      h.store->SmsDetailsText(children[0].ID)->find("Note:     outcome unknown after interruption"),
      std::string::npos);
  EXPECT_TRUE(h.log.Contains("SMS outcome unknown after interruption: SMS_ID (" +
                             std::to_string(children[0].ID) + ") Mobile:27820000043"));

  EXPECT_EQ(h.Row(merged).Stat, 12);
  children = h.Children(merged);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].Stat, 2);
  EXPECT_EQ(children[1].Stat, 0);
  // Sent one by one: the destination in flight can still be asked about.
  std::optional<store::SendRecord> inFlight = h.store->FindSendRecord(children[0].ID);
  ASSERT_TRUE(inFlight.has_value());
  EXPECT_EQ(inFlight->CliMsgID, "dv-" + std::to_string(merged) + "-2");
  EXPECT_TRUE(inFlight->OutcomeUnknown);
  EXPECT_TRUE(h.store->OpenExpansions().empty());
}

TEST_F(DispatchTest, AMessageOpenedForEditingMeanwhileIsNotSent) {
  int id = h.AddPending("0821234567", "editing");
  h.store->BeginEditSms(id);
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(gateway.Calls().size(), 0u);
  EXPECT_EQ(h.Row(id).Stat, 5);
}

TEST_F(DispatchTest, AFailedInvocationOrAnErrorPageIsNotASentMessage) {
  gateway.sendStatus = DISP_E_EXCEPTION; // the library's error code stays 0
  int id = h.AddPending("0821234567", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(h.Row(id).Stat, 2);
  EXPECT_EQ(h.Row(id).ApiMsgID, "");
  EXPECT_TRUE(h.log.Contains("SMS failed: Error: Mobile:0821234567 Msg:x"));

  // A page answered with status 200 leaves smsERROR at 0.
  const std::string page = "<html><head><title>Service Unavailable</title></head></html>";
  gateway.sendStatus = S_OK;
  gateway.onSendMsg = [&](const std::string &, const std::string &) { return Answer{page, 0}; };
  gateway.onStartBatch = [&](const std::string &) { return Answer{page, 0}; };
  int single = h.AddPending("0821234567", "y");
  int batch = h.AddPending("0821111111,0822222222", "z");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(h.Row(single).Stat, 2);
  EXPECT_EQ(h.Row(single).ApiMsgID, "");
  EXPECT_TRUE(h.log.Contains("SMS failed: Error:" + page + " Mobile:0821234567 Msg:y"));
  EXPECT_EQ(h.Row(batch).Stat, 2);
  EXPECT_EQ(gateway.CountOf("QuickBatchSend"), 0);
  EXPECT_TRUE(h.log.Contains("SMS Batch start failed: Error:" + page + " Msg:z"));
  // Whether it reached the gateway is not known: it is asked about on the
  // next pass, as the first failure was at the start of this one.
  ASSERT_TRUE(h.store->FindSendRecord(single).has_value());
  EXPECT_TRUE(h.store->FindSendRecord(single)->OutcomeUnknown);
  EXPECT_EQ(h.store->FindSendRecord(id)->Note,
            "never reached the gateway: sending it again is safe");

  gateway.onStartBatch = nullptr;
  gateway.onEndBatch = [&] { return Answer{page, 0}; };
  h.AddPending("0821111111,0822222222", "z");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_TRUE(h.log.Contains("EndBatch failed: Error:" + page));
}
