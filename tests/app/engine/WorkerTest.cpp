// The communications worker's thread: the tick rhythm on a hand-driven
// clock, jobs between ticks, the keep-alive, going offline, the exit
// hand-shake, server deletion jobs and faults inside the worker's passes.
#include "EngineTestSupport.h"

#include "engine/CommsWorker.h"
#include "engine/WindowMessages.h"

#include "shell/Logger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

using namespace engine;
using namespace enginetest;

// A fault abandons the frames of the pass it hits without running their
// destructors: what they owned on the heap is given up, by design. The leak
// checker is told so for memory taken inside the fault guard (with deep
// stacks, so the guard's frame is seen under the store's and the log's).
extern "C" const char *__asan_default_options() {
  return "malloc_context_size=64";
}
extern "C" const char *__lsan_default_suppressions() {
  return "leak:engine::FaultGuard::Run\n";
}

namespace {

volatile std::uintptr_t g_badAddress = 24;
void CrashInDispatch() {
  *reinterpret_cast<volatile int *>(g_badAddress) = 7;
}

// Raises SIGSEGV on the first call made off `mainThread` after `armed` was
// set (the worker's), and never again.
struct FaultOnWorker {
  std::thread::id mainThread = std::this_thread::get_id();
  std::atomic<bool> armed{false};
  void operator()() {
    if (std::this_thread::get_id() != mainThread && armed.exchange(false)) CrashInDispatch();
  }
};

// Runs a call the user-interface thread would make and expects it to
// return. A call blocked on a lock nobody will release cannot be cancelled:
// the test program then ends with the failure instead of hanging.
void ExpectReturns(const char *what, std::function<void()> call) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> returned = done->get_future();
  std::thread([call = std::move(call), done] {
    call();
    done->set_value();
  }).detach();
  if (returned.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return;
  std::fprintf(stderr, "FAILED: %s blocks after the worker's fault\n", what);
  std::fflush(stderr);
  std::_Exit(1);
}

const std::string kId1 = "0123456789abcdef0123456789abcdef";

class WorkerTest : public ::testing::Test {
protected:
  WorkerTest() : h(&gateway) { h.settings.WriteLog = true; }
  ~WorkerTest() override {
    if (worker) worker->StopAndWait();
  }

  void StartWorker(shell::LogWriter *log = nullptr) {
    EngineServices services = h.Services();
    if (log != nullptr) services.log = log;
    worker = std::make_unique<CommsWorker>(services);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(worker->WaitUntilIdle());
    ASSERT_TRUE(worker->IsRunning());
  }

  // Advances the clock by `ms` and lets the worker do what fell due.
  void Advance(std::int64_t ms) {
    h.clock.Advance(ms);
    ASSERT_TRUE(worker->WaitUntilIdle());
  }
  void Tick() { Advance(CommsWorker::kTickMs); }

  int SentMessage(int status = 11, const std::string &apiId = kId1) {
    int id = h.store->AddSms(status, 0, 0, 0, "0821234567", "m", "", 0, "?", 0);
    store::MessageUpdate update;
    update.ApiMsgID = ",ID: " + apiId;
    update.QueryTime = 60;
    update.StatQryTm = static_cast<int>(h.Now() + 60);
    h.store->UpdateFields(id, update);
    return id;
  }

  std::unique_ptr<IdList> List(std::vector<int> ids, bool goOffline = false) {
    auto list = std::make_unique<IdList>();
    list->ids = std::move(ids);
    list->goOfflineAfter = goOffline;
    return list;
  }

  FakeGateway gateway;
  Harness h;
  std::unique_ptr<CommsWorker> worker;
};

} // namespace

TEST_F(WorkerTest, StartSendsWhatIsPending) {
  int id = h.AddPending("0821234567", "queued before login");
  StartWorker();
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
  EXPECT_EQ(h.Row(id).Stat, 11);
  EXPECT_EQ(h.posts.Messages(),
            (std::vector<unsigned>{UM_PROGRESS_CONNECTING, UM_PROGRESS_SENDING, UM_PROGRESS_COUNT,
                                   UM_BALANCE_CHANGED, UM_PROGRESS_IDLE}));
  EXPECT_FALSE(worker->IsBusy());
}

TEST_F(WorkerTest, TickRunsEscalationDispatchAndQueriesOncePerMinute) {
  StartWorker();
  h.posts.Clear();
  Advance(CommsWorker::kTickMs - 1);
  EXPECT_TRUE(h.posts.All().empty());
  Advance(1);
  EXPECT_EQ(h.posts.Messages(),
            (std::vector<unsigned>{UM_PROGRESS_CONNECTING, UM_PROGRESS_ESCALATION,
                                   UM_PROGRESS_SENDING, UM_PROGRESS_QUERYING, UM_PROGRESS_IDLE}));
  for (const Posted &p : h.posts.All())
    EXPECT_EQ(p.target, WindowTarget::MainWindow);
}

TEST_F(WorkerTest, AJobBetweenTicksKeepsTheRhythm) {
  StartWorker();
  Tick();
  h.posts.Clear();
  Advance(10000);
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "between ticks", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.posts.Messages(),
            (std::vector<unsigned>{UM_PROGRESS_CONNECTING, UM_PROGRESS_SENDING, UM_PROGRESS_COUNT,
                                   UM_BALANCE_CHANGED, UM_PROGRESS_IDLE}));
  h.posts.Clear();
  Advance(50000 - 1);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 0);
  Advance(1);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 1);
}

TEST_F(WorkerTest, JobsPresentAtWakeUpRunInArrivalOrderInOneBusyPeriod) {
  const std::string idA(32, 'a'), idB(32, 'b'), idC(32, 'c');
  int a = SentMessage(11, idA), b = SentMessage(11, idB), c = SentMessage(11, idC);
  StartWorker();
  gateway.HoldNextCall();
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "holds the worker", 0, false);
  gateway.WaitUntilHeld();
  EXPECT_TRUE(worker->IsBusy());
  worker->PostQueryList(List({c}));
  worker->PostQueryOne(a);
  worker->PostQueryList(List({b, a}));
  h.posts.Clear();
  gateway.Release();
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_FALSE(worker->IsBusy());

  std::vector<unsigned> messages = h.posts.Messages();
  // The rest of the first period, then exactly one more.
  EXPECT_EQ(std::count(messages.begin(), messages.end(), UM_PROGRESS_CONNECTING), 1);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), UM_PROGRESS_IDLE), 2);
  std::vector<std::string> asked;
  for (const Call &call : gateway.CallsNamed("GetMsgCharge"))
    asked.push_back(call.args[1]);
  EXPECT_EQ(asked, (std::vector<std::string>{idC, idA, idB, idA}));
}

// The rhythm is measured on the monotonic clock: setting the system time
// back an hour does not stop the ticks for an hour, and setting it forward
// does not bring the next tick early.
TEST_F(WorkerTest, AStepOfTheWallClockNeitherStallsNorHurriesTheTicks) {
  StartWorker();
  h.posts.Clear();
  h.clock.StepWallClock(h.clock.NowMs() - 3600 * 1000);
  Tick();
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 1);

  h.clock.StepWallClock(h.clock.NowMs() + 2 * 3600 * 1000);
  Advance(CommsWorker::kTickMs - 1);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 1);
  Advance(1);
  EXPECT_EQ(h.posts.Count(UM_PROGRESS_ESCALATION), 2);
}

TEST_F(WorkerTest, KeepAliveRunsOnEveryFourthTickOnly) {
  StartWorker();
  std::vector<int> pingTicks;
  for (int tick = 1; tick <= 12; ++tick) {
    int before = gateway.CountOf("Ping");
    Advance(20000);
    worker->PostQueryOne(-1); // a job wake-up between ticks
    ASSERT_TRUE(worker->WaitUntilIdle());
    Advance(40000);
    if (gateway.CountOf("Ping") > before) pingTicks.push_back(tick);
  }
  EXPECT_EQ(pingTicks, (std::vector<int>{4, 8, 12}));
  EXPECT_EQ(gateway.CountOf("Ping"), 3);
  EXPECT_EQ(gateway.CountOf("AuthenticateClient"), 0);
}

TEST_F(WorkerTest, AFailedReLoginTakesTheProgramOffline) {
  h.settings.Login = "demo";
  h.settings.Password = "demo123";
  gateway.onPing = [] { return Answer{"ERR: 003, Session ID expired", 3}; };
  gateway.onAuthenticate = [](const std::string &, const std::string &) { return Answer{"", 2}; };
  StartWorker();
  for (int i = 0; i < 3; ++i)
    Tick();
  h.posts.Clear();
  Tick();
  std::vector<Call> logins = gateway.CallsNamed("AuthenticateClient");
  ASSERT_EQ(logins.size(), 1u);
  EXPECT_EQ(logins[0].args, (std::vector<std::string>{"DVTX", "demo", "demo123"}));
  EXPECT_FALSE(IsWorkingOnLine(h.settings));
  std::vector<Posted> posted = h.posts.All();
  auto at = [&](unsigned m) {
    return std::find_if(posted.begin(), posted.end(),
                        [&](const Posted &p) { return p.message == m; });
  };
  ASSERT_NE(at(UM_ACCOUNT_CHANGED), posted.end());
  EXPECT_EQ(at(UM_ACCOUNT_CHANGED)->target, WindowTarget::OptionsPage);
  ASSERT_NE(at(UM_WENT_OFFLINE), posted.end());
  EXPECT_EQ(at(UM_WENT_OFFLINE)->target, WindowTarget::MainWindow);
  EXPECT_LT(at(UM_ACCOUNT_CHANGED), at(UM_WENT_OFFLINE));
  EXPECT_TRUE(h.prompts.All().empty());

  // Offline: jobs are not accepted and ticks send nothing.
  h.posts.Clear();
  h.AddPending("0821234567", "stays");
  worker->PostSendList(List({1}));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(h.posts.All().empty());
  for (int i = 0; i < 4; ++i)
    Tick();
  EXPECT_EQ(gateway.CountOf("SendMsg"), 0);
  EXPECT_EQ(gateway.CountOf("Ping"), 1);
}

TEST_F(WorkerTest, ACommunicationFailureAtReLoginIsShown) {
  gateway.onPing = [] { return Answer{"ERR: -2,Communication error", 99}; };
  gateway.onAuthenticate = [](const std::string &, const std::string &) { return Answer{"", 99}; };
  StartWorker();
  for (int i = 0; i < 4; ++i)
    Tick();
  std::vector<Prompted> asked = h.prompts.All();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].caption, "Login failed ...");
  EXPECT_FALSE(IsWorkingOnLine(h.settings));
}

TEST_F(WorkerTest, ASuccessfulReLoginStaysOnline) {
  gateway.onPing = [] { return Answer{"ERR: 003", 3}; };
  StartWorker();
  for (int i = 0; i < 4; ++i)
    Tick();
  EXPECT_EQ(gateway.CountOf("AuthenticateClient"), 1);
  EXPECT_TRUE(IsWorkingOnLine(h.settings));
  EXPECT_EQ(h.posts.Count(UM_WENT_OFFLINE), 0);
}

TEST_F(WorkerTest, OfflinePostsAreDroppedWithoutProgress) {
  h.settings.WorkingOnLine = false;
  StartWorker();
  EXPECT_TRUE(h.posts.All().empty()); // no start-up dispatch either
  int id = h.AddPending("0821234567", "x");
  worker->PostSendList(List({id}));
  worker->PostQueryList(List({id}));
  worker->PostDeleteList(List({id}));
  worker->PostQueryOne(id);
  EXPECT_EQ(worker->QueueMessage(0, 0, 0, 0, "0821234567", "y", 0, false), id + 1);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(h.posts.All().empty());
  EXPECT_TRUE(gateway.Calls().empty());
}

TEST_F(WorkerTest, QueueMessageTakesTheSenderSettings) {
  h.settings.sender_id = "Shop";
  StartWorker();
  int forced = worker->QueueMessage(4, 0, 1, 0, "0821234567", "a", 0, true);
  h.settings.ForceSenderID = true;
  int bySetting = worker->QueueMessage(4, 0, 1, 0, "0821234567", "b", 0, false);
  h.settings.ForceSenderID = false;
  int plain = worker->QueueMessage(4, 0, 1, 0, "0821234567", "c", 0, false);
  h.settings.sender_id.clear();
  int noSender = worker->QueueMessage(4, 0, 1, forced, "0821234567", "d", 86400, true);
  ASSERT_TRUE(worker->WaitUntilIdle());

  EXPECT_EQ(h.Row(forced).Flags, 1);
  EXPECT_EQ(h.Row(forced).SenderID, "Shop");
  EXPECT_EQ(h.Row(forced).Charge, "?");
  EXPECT_EQ(h.Row(bySetting).Flags, 1);
  EXPECT_EQ(h.Row(plain).Flags, 0);
  EXPECT_EQ(h.Row(noSender).Flags, 0);
  EXPECT_EQ(h.Row(noSender).SenderID, "");
  EXPECT_EQ(h.Row(noSender).RefID, forced);
  EXPECT_EQ(h.Row(noSender).Delay, 86400);
  // Scheduled messages are not sent.
  EXPECT_EQ(gateway.CountOf("SendMsg"), 0);
}

// With the identifiers used up AddSms fails: nothing is handed to the
// worker (a send job for -1 would send every Pending message).
TEST_F(WorkerTest, QueueMessageReturnsTheFailureOfAddSms) {
  int waiting = h.AddPending("0821234567", "waits for a send now");
  h.store.reset();
  SetMessageCounter(h.folder / "SMS.db", INT_MAX);
  h.store = std::make_unique<store::SmsStore>(h.folder.string());
  h.settings.WorkingOnLine = false;
  StartWorker();
  SetWorkingOnLine(h.settings, true);
  EXPECT_EQ(worker->QueueMessage(0, 0, 0, 0, "0821234567", "cannot be stored", 0, false), -1);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(gateway.CountOf("SendMsg"), 0);
  EXPECT_EQ(h.Row(waiting).Stat, 0);
}

// A job of several messages that all meet a communication failure asks the
// user once; the next job may ask again.
TEST_F(WorkerTest, TheCommunicationFailureBoxShowsOncePerJob) {
  gateway.onSendMsg = [](const std::string &, const std::string &) {
    return Answer{"ERR: -2,Communication error: timeout", 99};
  };
  StartWorker();
  std::vector<int> ids;
  for (int i = 0; i < 3; ++i)
    ids.push_back(h.AddPending("0821234567", "m" + std::to_string(i)));
  worker->PostSendList(List(ids));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(gateway.CountOf("SendMsg"), 3);
  EXPECT_EQ(h.prompts.All().size(), 1u);

  worker->PostSendList(List({h.AddPending("0821234567", "again")}));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.prompts.All().size(), 2u);
}

TEST_F(WorkerTest, SendListCanSwitchBackOfflineAfterwards) {
  int id = h.AddPending("0821234567", "x");
  h.settings.WorkingOnLine = false;
  StartWorker();
  SetWorkingOnLine(h.settings, true);
  h.posts.Clear();
  worker->PostSendList(List({id}, true));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.Row(id).Stat, 11);
  std::vector<Posted> posted = h.posts.All();
  ASSERT_GE(posted.size(), 2u);
  EXPECT_EQ(posted[posted.size() - 2].message, UM_ACCOUNT_CHANGED);
  EXPECT_EQ(posted[posted.size() - 2].target, WindowTarget::OptionsPage);
  EXPECT_EQ(posted.back().message, UM_PROGRESS_IDLE);
}

TEST_F(WorkerTest, DeleteListReportsFailuresOnceAndQueriesExactlyThose) {
  std::vector<int> ids;
  for (int i = 0; i < 5; ++i) {
    int id = h.store->AddSms(7, 0, 0, 0, "0821234567", "m", "", 0, "?", 0);
    store::MessageUpdate update;
    char apiId[40];
    std::snprintf(apiId, sizeof(apiId), "%032d", i);
    update.ApiMsgID = std::string(",ID: ") + apiId;
    update.QueryTime = 60;
    update.StatQryTm = static_cast<int>(h.Now() + 60);
    h.store->UpdateFields(id, update);
    ids.push_back(id);
  }
  gateway.onStopMsg = [](const std::string &apiId) {
    if (apiId.back() == '1' || apiId.back() == '3')
      return Answer{"ERR: 104, Too late to stop", 104};
    return Answer{"ID: " + apiId, 0};
  };
  StartWorker();
  h.posts.Clear();
  worker->PostDeleteList(List(ids));
  ASSERT_TRUE(worker->WaitUntilIdle());

  EXPECT_EQ(gateway.CountOf("StopMsgAPIID"), 5);
  EXPECT_FALSE(h.store->FindMessage(ids[0]));
  EXPECT_TRUE(h.store->FindMessage(ids[1]));
  EXPECT_FALSE(h.store->FindMessage(ids[2]));
  EXPECT_TRUE(h.store->FindMessage(ids[3]));
  EXPECT_FALSE(h.store->FindMessage(ids[4]));
  EXPECT_EQ(h.posts.Count(UM_DELETE_FAILED), 1);
  for (const Posted &p : h.posts.All()) {
    if (p.message == UM_DELETE_FAILED) {
      EXPECT_EQ(p.wParam, 1u);
      EXPECT_EQ(p.lParam, 2);
      EXPECT_EQ(p.target, WindowTarget::MainWindow);
    }
  }
  std::vector<Call> queries = gateway.CallsNamed("GetMsgCharge");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[0].args[1], "00000000000000000000000000000001");
  EXPECT_EQ(queries[1].args[1], "00000000000000000000000000000003");
}

TEST_F(WorkerTest, DeleteListWithoutFailuresReportsNothing) {
  int id = SentMessage(7);
  StartWorker();
  worker->PostDeleteList(List({id}));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.posts.Count(UM_DELETE_FAILED), 0);
  EXPECT_FALSE(h.store->FindMessage(id));
}

TEST_F(WorkerTest, RequestExitWhileWaitingPostsQuitToTheGivenWindow) {
  StartWorker();
  h.posts.Clear();
  worker->RequestExit(WindowTarget::ClosingDialog);
  ASSERT_TRUE(worker->WaitUntilIdle());
  std::vector<Posted> posted = h.posts.All();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, WM_QUIT);
  EXPECT_EQ(posted[0].target, WindowTarget::ClosingDialog);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[0].lParam, 0);
  EXPECT_FALSE(worker->IsRunning());
  worker->StopAndWait();
}

TEST_F(WorkerTest, StopAndWaitAlonePostsNothing) {
  StartWorker();
  h.posts.Clear();
  worker->StopAndWait();
  EXPECT_FALSE(worker->IsRunning());
  EXPECT_TRUE(h.posts.All().empty());
}

TEST_F(WorkerTest, ExitDuringAJobFinishesItSilently) {
  StartWorker();
  h.posts.Clear();
  gateway.HoldNextCall();
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "last one", 0, false);
  gateway.WaitUntilHeld();
  worker->RequestExit(WindowTarget::ClosingDialog);
  gateway.Release();
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
  std::vector<unsigned> messages = h.posts.Messages();
  EXPECT_EQ(messages.back(), WM_QUIT);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), UM_PROGRESS_IDLE), 0);
}

TEST_F(WorkerTest, ADayOfTicksEscalatesAtTheRightMinutes) {
  const int start = static_cast<int>(kStartSeconds);
  int local = h.store->AddSms(4, start + 12 * 3600, 0, 0, "0821111111", "noon", "", 0, "?", 0);
  int server =
      h.store->AddSms(6, start + 3 * 86400, 0, 0, "0822222222", "in 3 days", "", 2 * 86400, "?", 0);
  StartWorker();
  int localSentAt = -1, serverSentAt = -1;
  for (int minute = 1; minute <= 1440; ++minute) {
    Tick();
    if (localSentAt < 0 && h.Row(local).Stat != 4) localSentAt = minute;
    if (serverSentAt < 0 && h.Row(server).Stat != 6) serverSentAt = minute;
  }
  EXPECT_EQ(localSentAt, 720);
  EXPECT_EQ(serverSentAt, 1440);
  EXPECT_EQ(h.Row(local).Stat, 11);
  EXPECT_EQ(h.Row(server).Stat, 7);
  EXPECT_EQ(gateway.CountOf("Ping"), 360);
  std::vector<Call> deliveries = gateway.CallsNamed("put_smsDELIVERY_TIME");
  ASSERT_EQ(deliveries.size(), 2u);
  EXPECT_EQ(deliveries[0].args[0], "0");
  EXPECT_EQ(deliveries[1].args[0], std::to_string(2 * 86400 / 60));
}

TEST_F(WorkerTest, PollingFollowsItsScheduleOnTheWorker) {
  StartWorker();
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "follow me", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  std::vector<int> minutes;
  for (int minute = 1; minute <= 200; ++minute) {
    int before = gateway.CountOf("GetMsgCharge");
    Tick();
    if (gateway.CountOf("GetMsgCharge") > before) minutes.push_back(minute);
  }
  EXPECT_EQ(minutes, (std::vector<int>{1, 6, 36, 81, 141}));
}

TEST_F(WorkerTest, AFaultInADispatchPassIsReportedAndTheWorkerGoesOn) {
  std::filesystem::path logPath = h.folder / "SMS.log";
  shell::Logger logger(logPath.string());
  StartWorker(&logger);
  worker->SetDispatchFaultHook(&CrashInDispatch);
  int first = worker->QueueMessage(0, 0, 0, 0, "0821234567", "crashes", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(worker->IsRunning());
  EXPECT_EQ(h.rebuilds.Full(), 1);

  std::string text = testsupport::ReadFile(logPath);
  EXPECT_NE(text.find("ExceptionRecord: ExCode=c0000005 ExFlags=0 ExRecord=0 ExAddr="),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("ExParams=1  ExParam(0)=18"), std::string::npos);
  EXPECT_NE(text.find("Stacktrace, caller : 0x"), std::string::npos);
  EXPECT_NE(text.find("Stacktrace, hInstance : 0x"), std::string::npos);
  EXPECT_NE(text.find("             Rdi = "), std::string::npos);
  EXPECT_NE(text.find("             Rbp = "), std::string::npos);
  EXPECT_NE(text.find("CRITICAL ERROR: Catch in SendQueuedSMSs. Exception c0000005 occurred\n"),
            std::string::npos);
  EXPECT_LT(text.find("ExceptionRecord"), text.find("CRITICAL ERROR"));

  // The dispatch lock was released: the next pass sends.
  worker->SetDispatchFaultHook(nullptr);
  Tick();
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
  EXPECT_EQ(h.Row(first).Stat, 11);
}

// A fault while the worker writes to the store (inside a write of several
// rows, holding the message lock and a statement it has not reset): the
// window's next store calls return, the half-done write is undone, and the
// next pass sends.
TEST_F(WorkerTest, AFaultInsideAStoreWriteLeavesTheStoreUsable) {
  FaultOnWorker fault;
  h.store->SetRowWrittenHook([&](int) { fault(); });
  StartWorker();
  fault.armed = true;
  int batch =
      worker->QueueMessage(0, 0, 0, 0, "0821111111,0822222222,0823333333", "three", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_FALSE(fault.armed);
  EXPECT_TRUE(h.log.Contains("CRITICAL ERROR: Catch in SendQueuedSMSs. Exception c0000005"));

  ExpectReturns("AddSms", [&] { h.store->AddSms(4, 0, 0, 0, "0824444444", "x", "", 0, "?", 0); });
  ExpectReturns("CountOutbox", [&] { EXPECT_EQ(h.store->CountOutbox(), 1); });
  // The children the fault cut off were not kept: the batch's three numbers
  // come back once each, as sends whose outcome is unknown.
  std::vector<store::MessageRow> children = h.Children(batch);
  ASSERT_EQ(children.size(), 3u);
  for (const store::MessageRow &child : children)
    EXPECT_EQ(child.Stat, 2);
  EXPECT_EQ(children[0].To, "0821111111");
  EXPECT_EQ(h.Row(batch).Stat, 12);

  int next = worker->QueueMessage(0, 0, 0, 0, "0825555555", "next", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.Row(next).Stat, 11);
}

// A fault while the worker writes a log entry (holding the log's lock): the
// window's next entry is written, and the next pass sends.
TEST_F(WorkerTest, AFaultInsideALogWriteLeavesTheLogUsable) {
  FaultOnWorker fault;
  std::filesystem::path logPath = h.folder / "SMS.log";
  shell::Logger logger(logPath.string(), [&] {
    fault();
    return static_cast<std::time_t>(h.Now());
  });
  StartWorker(&logger);
  fault.armed = true;
  int first = worker->QueueMessage(0, 0, 0, 0, "0821234567", "logged", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_FALSE(fault.armed);

  ExpectReturns("a log entry", [&] { logger.WriteEntry("from the window"); });
  std::string text = testsupport::ReadFile(logPath);
  EXPECT_NE(text.find("CRITICAL ERROR: Catch in SendQueuedSMSs. Exception c0000005"),
            std::string::npos);
  EXPECT_NE(text.find("from the window"), std::string::npos);
  EXPECT_EQ(h.Row(first).Stat, 2); // its outcome is asked about later

  int next = worker->QueueMessage(0, 0, 0, 0, "0821234567", "next", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(h.Row(next).Stat, 11);
}

// Status passes and server deletions are guarded like dispatch passes.
TEST_F(WorkerTest, AFaultInAStatusOrDeletionPassIsReportedAndTheWorkerGoesOn) {
  int sent = SentMessage(11);
  int scheduled = SentMessage(7, std::string(32, 'b'));
  gateway.onGetMsgCharge = [](const std::string &) -> Answer {
    CrashInDispatch();
    return {};
  };
  gateway.onStopMsg = gateway.onGetMsgCharge;
  StartWorker();
  worker->PostQueryList(List({sent}));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(h.log.Contains("ExceptionRecord: ExCode=c0000005"));
  EXPECT_TRUE(h.log.Contains("CRITICAL ERROR: Catch in QueryMessageStatus."));
  EXPECT_EQ(h.rebuilds.Full(), 1);

  gateway.onGetMsgCharge = nullptr;
  worker->PostDeleteList(List({scheduled}));
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(h.log.Contains("CRITICAL ERROR: Catch in DeleteSMSFromServer."));
  EXPECT_EQ(h.posts.Count(UM_DELETE_FAILED), 1);
  EXPECT_TRUE(h.store->FindMessage(scheduled));

  // The dispatch and call locks were released: the next tick sends.
  int pending = h.AddPending("0821234567", "after the faults");
  Tick();
  EXPECT_TRUE(worker->IsRunning());
  EXPECT_EQ(h.Row(pending).Stat, 11);
}

TEST_F(WorkerTest, TheCrashReportIsWrittenEvenWithoutTheLogSetting) {
  h.settings.WriteLog = false;
  std::filesystem::path logPath = h.folder / "SMS.log";
  shell::Logger logger(logPath.string());
  StartWorker(&logger);
  worker->SetDispatchFaultHook(&CrashInDispatch);
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "crashes", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  std::string text = testsupport::ReadFile(logPath);
  EXPECT_NE(text.find("ExceptionRecord: ExCode=c0000005"), std::string::npos);
  EXPECT_EQ(text.find("CRITICAL ERROR"), std::string::npos);
}

TEST_F(WorkerTest, AnExceptionThrownInADispatchPassIsCaught) {
  gateway.onSendMsg = [](const std::string &, const std::string &) -> Answer {
    throw std::runtime_error("boom");
  };
  StartWorker();
  int thrown = worker->QueueMessage(0, 0, 0, 0, "0821234567", "throws", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_TRUE(worker->IsRunning());
  EXPECT_TRUE(h.log.Contains("CRITICAL ERROR: Catch in SendQueuedSMSs. Exception e06d7363"));
  // The abandoned send is not left Processing: it keeps its client message
  // id and waits to be asked about.
  EXPECT_EQ(h.Row(thrown).Stat, 2);
  std::optional<store::SendRecord> record = h.store->FindSendRecord(thrown);
  ASSERT_TRUE(record.has_value());
  EXPECT_TRUE(record->OutcomeUnknown);
  EXPECT_EQ(record->CliMsgID, "dv-" + std::to_string(thrown));
  gateway.onSendMsg = nullptr;
  worker->QueueMessage(0, 0, 0, 0, "0821234567", "fine", 0, false);
  ASSERT_TRUE(worker->WaitUntilIdle());
  EXPECT_EQ(gateway.CountOf("SendMsg"), 1);
}

// The user edits the settings (under their lock) while the worker sends and
// logs in again with them; the thread sanitizer build watches the reads.
TEST_F(WorkerTest, SettingsEditedWhileTheWorkerSends) {
  h.settings.Login = "demo";
  h.settings.Password = "demo123";
  gateway.onPing = [] { return Answer{"ERR: 003, Session ID expired", 3}; };
  StartWorker();
  std::atomic<bool> stop{false};
  std::thread user([&] {
    for (int i = 0; !stop.load(); ++i) {
      const std::string text(40 + i % 7, static_cast<char>('a' + i % 26));
      auto hold = shell::LockSettings(h.settings);
      h.settings.prefix = i % 2 ? "27" : text;
      h.settings.sender_id = text;
      h.settings.client_id = i % 2 ? "DVTX" : text;
      h.settings.Login = text;
      h.settings.Password = text;
      h.settings.SpanSMS = i % 2 != 0;
    }
  });
  constexpr int kMessages = 40;
  for (int i = 0; i < kMessages; ++i)
    worker->QueueMessage(0, 0, 0, 0, "0821234567", "m" + std::to_string(i), 0, false);
  for (int i = 0; i < 4; ++i)
    Tick(); // the fourth keeps the session alive: a re-login
  stop = true;
  user.join();
  EXPECT_EQ(gateway.CountOf("SendMsg"), kMessages);
  EXPECT_EQ(gateway.CountOf("AuthenticateClient"), 1);
}
