// The engine's main paths end to end: the real Parlink library talking to
// the gateway simulator, the real store, and the worker's passes.
#include "SimulatorFixture.h"

#include "engine/CommsWorker.h"
#include "engine/OutboxDispatcher.h"
#include "engine/StatusPoller.h"
#include "engine/StoreContactSource.h"
#include "engine/WindowMessages.h"

#include <gtest/gtest.h>

using namespace engine;
using namespace enginetest;

namespace {

class EndToEndTest : public SimulatorTest {
protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    ASSERT_TRUE(Login());
    services = h->Services();
    contacts = std::make_unique<StoreContactSource>(*h->store);
    services.contacts = contacts.get();
    dispatcher = std::make_unique<OutboxDispatcher>(services, state);
    poller = std::make_unique<StatusPoller>(services, state);
  }

  // Runs the status pass once a minute for `minutes` minutes; returns the
  // minutes (from now) at which it asked the gateway.
  std::vector<int> PollFor(int minutes) {
    std::vector<int> asked;
    for (int minute = 1; minute <= minutes; ++minute) {
      AdvanceBoth(60000);
      std::size_t before = Requests("http/getmsgcharge").size();
      poller->QueryMessageStatus(-1);
      if (Requests("http/getmsgcharge").size() > before) asked.push_back(minute);
    }
    return asked;
  }

  EngineServices services;
  std::unique_ptr<StoreContactSource> contacts;
  WorkerState state;
  std::unique_ptr<OutboxDispatcher> dispatcher;
  std::unique_ptr<StatusPoller> poller;
};

} // namespace

TEST_F(EndToEndTest, TextToOneNumberIsSentSingly) {
  int id = h->AddPending("0821234567", "Hello from the engine");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].params["to"], "0821234567");
  EXPECT_EQ(sends[0].params["text"], "Hello from the engine");
  EXPECT_EQ(sends[0].params["msg_type"], "SMS_TEXT");
  EXPECT_EQ(sends[0].params["req_feat"], "0");
  EXPECT_EQ(sends[0].params.count("deliv_time"), 0u);
  EXPECT_EQ(sends[0].params["cliMsgId"], "dv-" + std::to_string(id));
  store::MessageRow row = h->Row(id);
  EXPECT_EQ(row.Stat, 11);
  EXPECT_EQ(row.ApiMsgID, "," + sends[0].reply);
  EXPECT_EQ(row.ApiMsgID.size(), 37u);
  EXPECT_TRUE(h->log.Contains("SMS sent ok: Mobile:0821234567 Msg:Hello from the engine"));
}

TEST_F(EndToEndTest, ThreeNumbersGoAsOneBatch) {
  int id = h->AddPending("0821111111,0822222222,0823333333", "Batch text");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(Requests("http/sendmsg").size(), 0u);
  ASSERT_EQ(Requests("http_batch/startbatch").size(), 1u);
  EXPECT_EQ(Requests("http_batch/startbatch")[0].params["template"], "Batch text");
  std::vector<SimRequest> chunks = Requests("http_batch/quicksend");
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].params["to"], "0821111111,0822222222,0823333333");
  EXPECT_EQ(Requests("http_batch/endbatch").size(), 1u);
  EXPECT_EQ(h->Row(id).Stat, 12);
  std::vector<store::MessageRow> children = h->Children(id);
  ASSERT_EQ(children.size(), 3u);
  for (const store::MessageRow &child : children) {
    EXPECT_EQ(child.Stat, 11);
    EXPECT_EQ(child.ApiMsgID.size(), 37u);
    EXPECT_NE(chunks[0].reply.find(child.ApiMsgID.substr(5)), std::string::npos);
  }
}

TEST_F(EndToEndTest, MergedTextGoesOncePerContact) {
  int ann = h->AddContact("Ann", "Lee", "0831112222");
  int bob = h->AddContact("Bob", "Ray", "0834445555");
  int id = h->AddPending("A" + std::to_string(ann) + ",A" + std::to_string(bob),
                         "Dear <<FIRSTNAME>> <<SURNAME>>");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].params["text"], "Dear Ann Lee");
  EXPECT_EQ(sends[0].params["to"], "0831112222");
  EXPECT_EQ(sends[1].params["text"], "Dear Bob Ray");
  EXPECT_EQ(sends[1].params["to"], "0834445555");
  EXPECT_EQ(h->Children(id).size(), 2u);
}

TEST_F(EndToEndTest, FlashGoesPerDestinationEvenToOneNumber) {
  int id = h->AddPending("0821234567", "Flash!", 1);
  dispatcher->SendQueuedSMSs(-1);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].params["msg_type"], "SMS_FLASH");
  EXPECT_EQ(h->Row(id).Stat, 11);
  EXPECT_TRUE(h->log.Contains("ComplexSMS sent ok"));
}

TEST_F(EndToEndTest, SenderIdFeatures) {
  h->AddPending("0821111111", "a", 0, 0, "Shop");
  h->AddPending("0821111112", "b", 0, 1, "Shop");
  h->AddPending("0821111113", "c", 0, 1, "27820001111");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 3u);
  std::map<std::string, std::string> features;
  for (SimRequest &r : sends) {
    features[r.params["to"]] = r.params["req_feat"];
    EXPECT_TRUE(r.params["from"] == "Shop" || r.params["from"] == "27820001111");
  }
  EXPECT_EQ(features["0821111111"], "0");
  EXPECT_EQ(features["0821111112"], "16");
  EXPECT_EQ(features["0821111113"], "32");
}

TEST_F(EndToEndTest, DeferredMessageWaitsOnTheServer) {
  int id = h->AddPending("0821234567", "Later", 0, 0, "", 86400,
                         static_cast<int>(kStartSeconds + 90 * 60));
  dispatcher->SendQueuedSMSs(id);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 1u);
  EXPECT_EQ(sends[0].params["deliv_time"], "90");
  EXPECT_EQ(h->Row(id).Stat, 7);

  // Still held by the gateway a minute later: it stays Scheduled on Server.
  AdvanceBoth(60000);
  poller->QueryMessageStatus(-1);
  EXPECT_EQ(h->Row(id).Stat, 7);
  // After its delivery time it is delivered.
  AdvanceBoth(100 * 60000);
  poller->QueryMessageStatus(id);
  EXPECT_EQ(h->Row(id).Stat, 9);
  EXPECT_EQ(h->Row(id).Charge, "1");
}

TEST_F(EndToEndTest, PrefixRule) {
  h->settings.prefix = "27";
  h->AddPending("0821234567", "one zero");
  dispatcher->SendQueuedSMSs(-1);
  h->settings.prefix = "44";
  h->AddPending("000791234567", "three zeros");
  dispatcher->SendQueuedSMSs(-1);
  h->settings.prefix = "";
  h->AddPending("0821234567", "no prefix");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 3u);
  EXPECT_EQ(sends[0].params["to"], "27821234567");
  EXPECT_EQ(sends[1].params["to"], "44791234567");
  EXPECT_EQ(sends[2].params["to"], "0821234567");
}

namespace {

// Sets the exit request after a number of chunks have been announced.
class ExitAfterChunks : public MessagePoster {
public:
  ExitAfterChunks(WorkerState &state, int chunks) : state_(state), left_(chunks) {}
  void Post(WindowTarget, unsigned message, std::uintptr_t, std::intptr_t) override {
    if (message == UM_PROGRESS_COUNT && --left_ == 0) state_.exitRequested.store(true);
  }

private:
  WorkerState &state_;
  int left_;
};

} // namespace

TEST_F(EndToEndTest, TwoThousandNumbersGoInChunksAndExitLeavesTheRestPending) {
  std::string to;
  std::size_t listLength = 0;
  for (int i = 0; i < 2000; ++i) {
    std::string n = std::to_string(27820000000LL + i);
    to += (i ? "," : "") + n;
    listLength += n.size() + 1;
  }
  int id = h->AddPending(to, "Big batch");
  ExitAfterChunks poster(state, 20);
  services.poster = &poster;
  OutboxDispatcher interrupted(services, state);
  interrupted.SendQueuedSMSs(id);

  // 43 numbers of 11 digits close a chunk; the exit request comes with the
  // 20th chunk's progress report, so that chunk is the last one sent.
  std::vector<SimRequest> chunks = Requests("http_batch/quicksend");
  EXPECT_EQ(chunks.size(), 20u);
  EXPECT_LE(chunks.size(), (listLength + 511) / 512 + 2);
  std::vector<store::MessageRow> children = h->Children(id);
  ASSERT_EQ(children.size(), 2000u);
  int unknown = 0, pending = 0;
  for (const store::MessageRow &child : children) {
    unknown += child.Stat == 11;
    pending += child.Stat == 0;
  }
  EXPECT_EQ(unknown, 20 * 43);
  EXPECT_EQ(pending, 2000 - 20 * 43);

  // Without the exit request the rest goes in the remaining chunks.
  state.exitRequested.store(false);
  services.poster = &h->posts;
  OutboxDispatcher resumed(services, state);
  resumed.SendQueuedSMSs(-1);
  std::size_t total = Requests("http_batch/quicksend").size();
  EXPECT_LE(total, (listLength + 511) / 512 + 2);
  int sent = 0;
  for (int child : h->store->AllMessageIds())
    sent += h->Row(child).Stat == 11;
  EXPECT_EQ(sent, 2000);
}

TEST_F(EndToEndTest, BatchWithAnAcceptedAndARejectedNumber) {
  int id = h->AddPending("0821111111,12345", "x");
  dispatcher->SendQueuedSMSs(-1);
  std::vector<store::MessageRow> children = h->Children(id);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].To, "0821111111");
  EXPECT_EQ(children[0].Stat, 11);
  EXPECT_EQ(children[1].To, "12345");
  EXPECT_EQ(children[1].Stat, 2);
}

TEST_F(EndToEndTest, PollingScheduleAndThenNever) {
  // A handset that is never reached: the message stays delivered to the
  // gateway, a polled status, for hours.
  int id = h->AddPending("0821230000", "poll me");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(PollFor(200), (std::vector<int>{1, 6, 36, 81, 141}));
  EXPECT_EQ(h->Row(id).Stat, 8);
  EXPECT_EQ(h->Row(id).QueryTime, 0);
  EXPECT_EQ(h->Row(id).Charge, "1");
}

TEST_F(EndToEndTest, GatewayStatusesReachTheOutbox) {
  int delivered = h->AddPending("0821111111", "ok");
  int failing = h->AddPending("0821111666", "fails");
  int unroutable = h->AddPending("9991111111", "no route");
  dispatcher->SendQueuedSMSs(-1);
  // Queued at first.
  AdvanceBoth(1000);
  poller->QueryMessageStatus(delivered);
  EXPECT_EQ(h->Row(delivered).Stat, 1);
  // Then delivered, failed at the handset, or not routable.
  AdvanceBoth(60000);
  poller->QueryMessageStatus(-1);
  EXPECT_EQ(h->Row(delivered).Stat, 9);
  EXPECT_EQ(h->Row(failing).Stat, 15);
  EXPECT_EQ(h->Row(unroutable).Stat, 16);
}

class ExpiryTest : public EndToEndTest {
protected:
  void Configure(gatewaysim::SimOptions &options) override {
    options.lifecycle.defaultValidityMinutes = 3;
  }
};

TEST_F(ExpiryTest, AnExpiredMessageIsReported) {
  int id = h->AddPending("0821230000", "never arrives");
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(PollFor(6), (std::vector<int>{1, 6}));
  EXPECT_EQ(h->Row(id).Stat, 17);
}

class NoCreditTest : public EndToEndTest {
protected:
  void Configure(gatewaysim::SimOptions &options) override { options.accounts[0].balance = 5; }
};

TEST_F(NoCreditTest, SendingStopsWithoutCreditAndResumesWhenTheBalanceGrows) {
  std::vector<int> older, newer;
  for (int i = 0; i < 3; ++i)
    older.push_back(h->AddPending("082111110" + std::to_string(i), "older"));
  int batch = h->AddPending("0822222220,0822222221,0822222222,0822222223,0822222224", "batch");
  for (int i = 0; i < 3; ++i)
    newer.push_back(h->AddPending("082333330" + std::to_string(i), "newer"));
  h->prompts.answer = kAnswerYes;
  dispatcher->SendQueuedSMSs(-1);

  // Newest first: three singles and two numbers of the batch use the five
  // credits; the rest waits, nothing failed.
  for (int id : newer)
    EXPECT_EQ(h->Row(id).Stat, 11);
  EXPECT_EQ(h->Row(batch).Stat, 12);
  std::vector<store::MessageRow> children = h->Children(batch);
  ASSERT_EQ(children.size(), 5u);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(children[i].Stat, i < 2 ? 11 : 0) << i;
  for (int id : older)
    EXPECT_EQ(h->Row(id).Stat, 0);
  EXPECT_EQ(Requests("http/sendmsg").size(), 3u);
  std::vector<Prompted> asked = h->prompts.All();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].caption, "No credit left");
  EXPECT_NE(asked[0].text.find("6 message(s) wait"), std::string::npos) << asked[0].text;
  EXPECT_EQ(asked[0].style, kBoxYesNo | kBoxIconQuestion);
  bool optionsShown = false;
  for (const Posted &p : h->posts.All())
    optionsShown = optionsShown || (p.message == UM_SELECT_TAB && p.lParam == 1047);
  EXPECT_TRUE(optionsShown);
  EXPECT_TRUE(h->log.Contains("No credit left: sending stops, 6 message(s) wait"));

  // Still no credit: the next pass sends nothing and asks nothing.
  dispatcher->SendQueuedSMSs(-1);
  EXPECT_EQ(Requests("http/sendmsg").size(), 3u);
  EXPECT_EQ(h->prompts.All().size(), 1u);

  // A voucher brings credit: the first pass after it sends the rest.
  std::string reply;
  ASSERT_EQ(binding->TokenPay("1111222233334444", &reply), S_OK);
  ASSERT_EQ(binding->LastError(), 0) << reply;
  dispatcher->SendQueuedSMSs(-1);
  for (int id : older)
    EXPECT_EQ(h->Row(id).Stat, 11);
  for (const store::MessageRow &child : h->Children(batch))
    EXPECT_EQ(child.Stat, 11);
  EXPECT_EQ(sim->Balance("DVTX").value_or(-1), 44);
  EXPECT_TRUE(h->log.Contains("Credit available again (balance 50): sending resumes"));
}

TEST_F(EndToEndTest, ARowWithTwoGatewayIdsIsSplit) {
  int first = h->AddPending("0821111111", "one");
  int second = h->AddPending("0822222222", "two");
  dispatcher->SendQueuedSMSs(-1);
  store::MessageRow a = h->Row(first), b = h->Row(second);
  store::MessageUpdate both;
  both.ApiMsgID = a.ApiMsgID + b.ApiMsgID + "|0822222222";
  h->store->UpdateFields(first, both);
  h->store->DeleteSms(second);

  AdvanceBoth(60000);
  poller->QueryMessageStatus(-1);
  EXPECT_EQ(Requests("http/getmsgcharge").size(), 2u);
  std::vector<int> ids = h->store->AllMessageIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(h->Row(first).ApiMsgID, a.ApiMsgID);
  EXPECT_EQ(h->Row(ids[1]).ApiMsgID, b.ApiMsgID + "|0822222222");
  EXPECT_EQ(h->Row(first).Stat, 9);
  EXPECT_EQ(h->Row(ids[1]).Stat, 9);
}

namespace {

class WorkerEndToEndTest : public EndToEndTest {
protected:
  void TearDown() override {
    if (worker) worker->StopAndWait();
    worker.reset();
    EndToEndTest::TearDown();
  }
  void StartWorker() {
    worker = std::make_unique<CommsWorker>(h->Services());
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(worker->WaitUntilIdle());
  }
  void Advance(std::int64_t ms) {
    sim->AdvanceMs(ms);
    h->clock.Advance(ms);
    ASSERT_TRUE(worker->WaitUntilIdle());
  }
  std::unique_ptr<CommsWorker> worker;
};

} // namespace

TEST_F(WorkerEndToEndTest, DeletionSucceedsFailsAndQueriesTheFailures) {
  const int soon = static_cast<int>(kStartSeconds + 5 * 60);    // inside the 10 minutes
  const int later = static_cast<int>(kStartSeconds + 3 * 3600); // outside
  StartWorker();
  int a = worker->QueueMessage(0, later, 0, 0, "0821111111", "a", 86400, false);
  int b = worker->QueueMessage(0, soon, 0, 0, "0822222222", "b", 86400, false);
  int c = worker->QueueMessage(0, later, 0, 0, "0823333333", "c", 86400, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  for (int id : {a, b, c})
    ASSERT_EQ(h->Row(id).Stat, 7) << id;

  h->posts.Clear();
  auto list = std::make_unique<IdList>();
  list->ids = {a, b, c};
  worker->PostDeleteList(std::move(list));
  ASSERT_TRUE(worker->WaitUntilIdle());

  EXPECT_FALSE(h->store->FindMessage(a));
  EXPECT_TRUE(h->store->FindMessage(b));
  EXPECT_FALSE(h->store->FindMessage(c));
  EXPECT_EQ(Requests("http/delmsg").size(), 3u);
  ASSERT_EQ(h->posts.Count(UM_DELETE_FAILED), 1);
  for (const Posted &p : h->posts.All())
    if (p.message == UM_DELETE_FAILED) {
      EXPECT_EQ(p.wParam, 1u);
      EXPECT_EQ(p.lParam, 1);
    }
  std::vector<SimRequest> queries = Requests("http/getmsgcharge");
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(",ID: " + queries[0].params["apimsgid"], h->Row(b).ApiMsgID);
  // The withdrawn ones are cancelled on the gateway.
  EXPECT_TRUE(h->log.Contains("SMS delete from server ok: API_ID:ID: "));
}

TEST_F(WorkerEndToEndTest, DeletionOfflineDoesNothing) {
  StartWorker();
  int id = worker->QueueMessage(0, static_cast<int>(kStartSeconds + 3600), 0, 0, "0821111111", "a",
                                86400, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  SetWorkingOnLine(h->settings, false);
  auto list = std::make_unique<IdList>();
  list->ids = {id};
  worker->PostDeleteList(std::move(list));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(h->store->FindMessage(id));
  EXPECT_EQ(Requests("http/delmsg").size(), 0u);
}

TEST_F(WorkerEndToEndTest, ScheduledMessagesEscalateAndReachTheGateway) {
  const int start = static_cast<int>(kStartSeconds);
  int local = h->store->AddSms(4, start + 30 * 60, 0, 0, "0821111111", "local", "", 0, "?", 0);
  int server =
      h->store->AddSms(6, start + 86400 + 45 * 60, 0, 0, "0822222222", "server", "", 86400, "?", 0);
  StartWorker();
  for (int minute = 1; minute <= 60; ++minute)
    Advance(60000);
  EXPECT_NE(h->Row(local).Stat, 4);
  EXPECT_EQ(h->Row(server).Stat, 7);
  std::vector<SimRequest> sends = Requests("http/sendmsg");
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].params.count("deliv_time"), 0u);
  // Escalated at minute 45, sent with the rest of the day as delay.
  EXPECT_EQ(sends[1].params["deliv_time"], "1440");
}

TEST_F(WorkerEndToEndTest, UserInterfaceCallsBetweenTheWorkersUnitsDoNotMixUpResults) {
  StartWorker();
  std::vector<int> ids;
  for (int i = 0; i < 15; ++i)
    ids.push_back(h->AddPending("08211111" + std::to_string(10 + i), "m"));
  auto list = std::make_unique<IdList>();
  list->ids = ids;
  worker->PostSendList(std::move(list));
  // Meanwhile the user-interface thread asks for the balance, as the
  // balance refresh does, each time as one unit with its error code.
  int wrong = 0;
  for (int i = 0; i < 30; ++i) {
    std::lock_guard<TrackedRecursiveMutex> unit(binding->CallLock());
    std::string balance;
    if (FAILED(binding->QueryBalance(&balance)) || binding->LastError() != 0 || balance.empty())
      ++wrong;
  }
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(wrong, 0);
  for (int id : ids) {
    EXPECT_EQ(h->Row(id).Stat, 11) << id;
    EXPECT_EQ(h->Row(id).ApiMsgID.size(), 37u) << id;
  }
}
