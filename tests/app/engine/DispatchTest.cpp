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
  EXPECT_EQ(Options(calls), (std::vector<std::string>{"smsREQUIRED_FEATURES=0", "smsCONCAT=0",
                                                      "smsMSG_TYPE=0", "smsFROM=", "smsUNICODE=0",
                                                      "smsDELIVERY_ACK=0", "smsDELIVERY_TIME=0"}));
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
  h.AddPending("0821234567", "Hi", 0, 1, "Shop");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(Options(gateway.Calls()),
            (std::vector<std::string>{"smsREQUIRED_FEATURES=16", "smsCONCAT=3", "smsMSG_TYPE=0",
                                      "smsFROM=Shop", "smsUNICODE=0", "smsDELIVERY_ACK=-1",
                                      "smsDELIVERY_TIME=0"}));
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
    return Answer{"ERR: 301, No credit left", 301};
  };
  int id = h.AddPending("0821111111,0822222222", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(gateway.CountOf("QuickBatchSend"), 0);
  EXPECT_EQ(gateway.CountOf("EndBatch"), 0);
  EXPECT_EQ(h.Row(id).Stat, 2);
  EXPECT_TRUE(h.Children(id).empty());
  EXPECT_TRUE(h.log.Contains("SMS Batch start failed: Error:ERR: 301, No credit left Msg:x"));
  EXPECT_TRUE(h.prompts.All().empty());
}

TEST_F(DispatchTest, CommunicationFailureIsShownOncePerPass) {
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

  // The next pass may show it again.
  h.AddPending("0821234567", "again");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(h.prompts.All().size(), 2u);
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
  // No progress and no outbox rebuild after the exit request.
  EXPECT_EQ(h.posts.Count(UM_BALANCE_CHANGED), 0);
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

TEST_F(DispatchTest, GatewayIdsAreDurableAfterEveryPass) {
  int id = h.AddPending("0821234567", "durable");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<store::MessageRow> committed = CommittedRows(h.store->Path());
  auto it = std::find_if(committed.begin(), committed.end(),
                         [&](const store::MessageRow &r) { return r.ID == id; });
  ASSERT_NE(it, committed.end());
  EXPECT_EQ(it->Stat, 11);
  EXPECT_EQ(it->ApiMsgID, h.Row(id).ApiMsgID);
}

TEST_F(DispatchTest, AMessageOpenedForEditingMeanwhileIsNotSent) {
  int id = h.AddPending("0821234567", "editing");
  h.store->BeginEditSms(id);
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(gateway.Calls().size(), 0u);
  EXPECT_EQ(h.Row(id).Stat, 5);
}

TEST_F(DispatchTest, AFailedInvocationIsAFailedSendNotASuccess) {
  gateway.sendStatus = DISP_E_EXCEPTION; // the library's error code stays 0
  int id = h.AddPending("0821234567", "x");
  dispatcher->SendQueuedSMSs(id);
  EXPECT_EQ(h.Row(id).Stat, 2);
  EXPECT_EQ(h.Row(id).ApiMsgID, "");
  EXPECT_TRUE(h.log.Contains("SMS failed: Error: Mobile:0821234567 Msg:x"));
}
