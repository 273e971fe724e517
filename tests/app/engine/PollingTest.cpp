// Status polling, charges, server deletion and escalation against a scripted
// gateway and a real store.
#include "EngineTestSupport.h"

#include "engine/Escalator.h"
#include "engine/StatusPoller.h"
#include "engine/WindowMessages.h"

#include <gtest/gtest.h>

using namespace engine;
using namespace enginetest;

namespace {

const std::string kId1 = "0123456789abcdef0123456789abcdef";
const std::string kId2 = "fedcba9876543210fedcba9876543210";

class PollingTest : public ::testing::Test {
protected:
  PollingTest() : h(&gateway) {
    services = h.Services();
    h.settings.WriteLog = true;
    poller = std::make_unique<StatusPoller>(services, state);
  }

  // A message as dispatch leaves it after the gateway accepted it now.
  int Sent(const std::string &apiMsgId, int status = 11) {
    int id = h.store->AddSms(status, 0, 0, 0, "0821234567", "m", "", 0, "?", 0);
    store::MessageUpdate update;
    update.ApiMsgID = apiMsgId;
    update.QueryTime = 60;
    update.StatQryTm = static_cast<int>(h.Now() + 60);
    h.store->UpdateFields(id, update);
    return id;
  }

  void Reply(const std::string &text, int error = 0) {
    gateway.onGetMsgCharge = [text, error](const std::string &) { return Answer{text, error}; };
  }

  FakeGateway gateway;
  Harness h;
  EngineServices services;
  WorkerState state;
  std::unique_ptr<StatusPoller> poller;
};

} // namespace

TEST_F(PollingTest, QueriesFollowTheBackOffAndStop) {
  int id = Sent(",ID: " + kId1);
  Reply("apiMsgId: " + kId1 + " charge: 1 status: 002");
  std::vector<std::int64_t> queriedAt;
  for (int minute = 0; minute <= 240; ++minute) {
    int before = gateway.CountOf("GetMsgCharge");
    poller->QueryMessageStatus(-1);
    if (gateway.CountOf("GetMsgCharge") > before)
      queriedAt.push_back((h.Now() - kStartSeconds) / 60);
    h.clock.Advance(60000);
  }
  EXPECT_EQ(queriedAt, (std::vector<std::int64_t>{1, 6, 36, 81, 141}));
  store::MessageRow row = h.Row(id);
  EXPECT_EQ(row.QueryTime, 0);
  EXPECT_EQ(row.Stat, 1);
  EXPECT_EQ(row.Charge, "1");
  for (const Call &c : gateway.CallsNamed("GetMsgCharge"))
    EXPECT_EQ(c.args, (std::vector<std::string>{"1", kId1}));
}

TEST_F(PollingTest, AFinalStatusEndsPolling) {
  int id = Sent(",ID: " + kId1);
  Reply("apiMsgId: x Status: 004 Charge: 1.5 credits");
  h.clock.Advance(60000);
  poller->QueryMessageStatus(-1);
  EXPECT_EQ(h.Row(id).Stat, 9);
  EXPECT_EQ(h.Row(id).Charge, "1.5");
  // The pass committed what it learned.
  std::vector<store::MessageRow> committed = CommittedRows(h.store->Path());
  ASSERT_EQ(committed.size(), 1u);
  EXPECT_EQ(committed[0].Stat, 9);
  EXPECT_EQ(committed[0].Charge, "1.5");
  for (int i = 0; i < 30; ++i) {
    h.clock.Advance(60000);
    poller->QueryMessageStatus(-1);
  }
  EXPECT_EQ(gateway.CountOf("GetMsgCharge"), 1);
}

TEST_F(PollingTest, EveryGatewayStatusIsMapped) {
  const std::pair<int, int> cases[] = {{1, 11}, {2, 1},  {3, 8},  {4, 9},  {5, 13},
                                       {6, 14}, {7, 15}, {8, 11}, {9, 16}, {10, 17},
                                       {11, 7}, {0, 11}, {42, 11}};
  for (const auto &[gatewayStatus, stored] : cases) {
    int id = Sent(",ID: " + kId1);
    Reply("apiMsgId: x charge: 2 status: " + std::to_string(gatewayStatus));
    poller->QueryMessageStatus(id);
    EXPECT_EQ(h.Row(id).Stat, stored) << gatewayStatus;
    EXPECT_EQ(h.Row(id).Charge, "2") << gatewayStatus;
  }
}

TEST_F(PollingTest, StatusEightChangesOnlyTheCharge) {
  int id = Sent(",ID: " + kId1, 8);
  Reply("apiMsgId: x status: 008 charge: 0.5");
  poller->QueryMessageStatus(id);
  EXPECT_EQ(h.Row(id).Stat, 8);
  EXPECT_EQ(h.Row(id).Charge, "0.5");
}

TEST_F(PollingTest, AReplyWithoutChargeEmptiesTheCharge) {
  int id = Sent(",ID: " + kId1);
  Reply("apiMsgId: x status: 003");
  poller->QueryMessageStatus(id);
  EXPECT_EQ(h.Row(id).Stat, 8);
  EXPECT_EQ(h.Row(id).Charge, "");
}

TEST_F(PollingTest, AUserQueryLeavesTheScheduleAlone) {
  int id = Sent(",ID: " + kId1);
  Reply("apiMsgId: x status: 002 charge: 1");
  poller->QueryMessageStatus(id);
  EXPECT_EQ(gateway.CountOf("GetMsgCharge"), 2); // as Unknown, then again as Queued
  store::MessageRow row = h.Row(id);
  EXPECT_EQ(row.QueryTime, 60);
  EXPECT_EQ(row.StatQryTm, kStartSeconds + 60);
}

TEST_F(PollingTest, AUserQueryOfADeliveredMessageSelectsNothing) {
  int id = Sent(",ID: " + kId1, 9);
  poller->QueryMessageStatus(id);
  EXPECT_EQ(gateway.CountOf("GetMsgCharge"), 0);
  EXPECT_EQ(h.Row(id).Stat, 9);
}

TEST_F(PollingTest, GatewayErrorsSkipTheIdButTheBackOffAdvances) {
  int id = Sent(",ID: " + kId1);
  Reply("ERR: 103, Unknown apiMsgId", 103);
  for (int minute = 0; minute < 200; ++minute) {
    h.clock.Advance(60000);
    poller->QueryMessageStatus(-1);
  }
  EXPECT_EQ(gateway.CountOf("GetMsgCharge"), 5);
  EXPECT_EQ(h.Row(id).Stat, 11);
  EXPECT_EQ(h.Row(id).Charge, "?");
  EXPECT_EQ(h.Row(id).QueryTime, 0);
}

TEST_F(PollingTest, ARowWithTwoIdsIsSplitKeepingEachId) {
  int id = Sent(",ID: " + kId1 + ",ID: " + kId2 + "|27821234567");
  gateway.onGetMsgCharge = [](const std::string &apiId) {
    if (apiId == kId1) return Answer{"apiMsgId: x status: 004 charge: 1", 0};
    return Answer{"apiMsgId: x status: 007 charge: 2", 0};
  };
  h.clock.Advance(60000);
  poller->QueryMessageStatus(-1);

  std::vector<int> ids = h.store->AllMessageIds();
  ASSERT_EQ(ids.size(), 2u);
  store::MessageRow original = h.Row(id);
  store::MessageRow copy = h.Row(ids[1]);
  EXPECT_EQ(original.ApiMsgID, ",ID: " + kId1);
  EXPECT_EQ(original.Stat, 9);
  EXPECT_EQ(original.Charge, "1");
  EXPECT_EQ(original.QueryTime, 300);
  EXPECT_EQ(copy.ApiMsgID, ",ID: " + kId2 + "|27821234567");
  EXPECT_EQ(copy.Stat, 15);
  EXPECT_EQ(copy.Charge, "2");
  EXPECT_EQ(copy.RefID, original.RefID);
  EXPECT_EQ(gateway.CountOf("GetMsgCharge"), 2);
}

TEST_F(PollingTest, OfflineQueriesNothing) {
  h.settings.WorkingOnLine = false;
  Sent(",ID: " + kId1);
  h.clock.Advance(60000);
  poller->QueryMessageStatus(-1);
  EXPECT_EQ(gateway.Calls().size(), 0u);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_QUERYING), 1);
}

TEST_F(PollingTest, ProgressCountsTheRowsStillToCheck) {
  Sent(",ID: " + kId1);
  Sent(",ID: " + kId2);
  h.clock.Advance(60000);
  poller->QueryMessageStatus(-1);
  std::vector<std::intptr_t> counts;
  for (const Posted &p : h.posts.All())
    if (p.message == UM_PROGRESS_COUNT) counts.push_back(static_cast<std::intptr_t>(p.wParam));
  EXPECT_EQ(counts, (std::vector<std::intptr_t>{2, 1}));
  EXPECT_EQ(h.rebuilds.Full(), 1);
}

TEST_F(PollingTest, DeletionSucceedsAndRemovesTheMessage) {
  int id = Sent(",ID: " + kId1, 7);
  EXPECT_TRUE(poller->DeleteSMSFromServer(id));
  EXPECT_FALSE(h.store->FindMessage(id));
  ASSERT_EQ(gateway.CountOf("StopMsgAPIID"), 1);
  EXPECT_EQ(gateway.CallsNamed("StopMsgAPIID")[0].args[0], kId1);
  EXPECT_TRUE(h.log.Contains("SMS delete from server ok: API_ID:ID: " + kId1));
  EXPECT_EQ(h.rebuilds.Full(), 1);
  EXPECT_TRUE(CommittedRows(h.store->Path()).empty());
}

TEST_F(PollingTest, DeletionRefusedKeepsTheMessage) {
  gateway.onStopMsg = [](const std::string &) { return Answer{"ERR: 104, too late", 104}; };
  int id = Sent(",ID: " + kId1, 7);
  EXPECT_FALSE(poller->DeleteSMSFromServer(id));
  EXPECT_TRUE(h.store->FindMessage(id));
}

TEST_F(PollingTest, DeletionOfflineReportsSuccessAndKeepsTheMessage) {
  h.settings.WorkingOnLine = false;
  int id = Sent(",ID: " + kId1, 7);
  EXPECT_TRUE(poller->DeleteSMSFromServer(id));
  EXPECT_TRUE(h.store->FindMessage(id));
  EXPECT_EQ(gateway.Calls().size(), 0u);
}

TEST_F(PollingTest, EscalationAtTheBoundaries) {
  const int now = static_cast<int>(kStartSeconds);
  int due = h.store->AddSms(4, now, 0, 0, "1", "a", "", 0, "?", 0);
  int later = h.store->AddSms(4, now + 1, 0, 0, "1", "b", "", 0, "?", 0);
  int twoDaysJustIn = h.store->AddSms(6, now + 172800 - 1, 0, 0, "1", "c", "", 172800, "?", 0);
  int twoDaysExact = h.store->AddSms(6, now + 172800, 0, 0, "1", "c", "", 172800, "?", 0);
  int twoDaysOut = h.store->AddSms(6, now + 172800 + 1, 0, 0, "1", "d", "", 172800, "?", 0);
  int sevenDays = h.store->AddSms(6, now + 7 * 86400, 0, 0, "1", "e", "", 7 * 86400, "?", 0);
  int odd = h.store->AddSms(6, now, 0, 0, "1", "f", "", 5000, "?", 0);
  int eightDays = h.store->AddSms(6, now, 0, 0, "1", "g", "", 8 * 86400, "?", 0);
  int sixWithNoDelay = h.store->AddSms(4, now, 0, 0, "1", "h", "", 86400, "?", 0);

  Escalator escalator(services, state);
  EXPECT_EQ(escalator.Run(), 4);
  EXPECT_EQ(h.Row(due).Stat, 0);
  EXPECT_EQ(h.Row(later).Stat, 4);
  EXPECT_EQ(h.Row(twoDaysJustIn).Stat, 0);
  EXPECT_EQ(h.Row(twoDaysExact).Stat, 0);
  EXPECT_EQ(h.Row(twoDaysOut).Stat, 6);
  EXPECT_EQ(h.Row(sevenDays).Stat, 0);
  EXPECT_EQ(h.Row(odd).Stat, 6);
  EXPECT_EQ(h.Row(eightDays).Stat, 6);
  EXPECT_EQ(h.Row(sixWithNoDelay).Stat, 4);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 1);

  h.clock.Advance(2000);
  EXPECT_EQ(escalator.Run(), 2);
  EXPECT_EQ(h.Row(later).Stat, 0);
  EXPECT_EQ(h.Row(twoDaysOut).Stat, 0);
}
