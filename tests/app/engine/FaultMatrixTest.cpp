// What happens when the gateway fails: one table of the simulator's faults,
// each met by the real worker, Parlink and store sending twenty messages
// (nineteen singles and a batch of fifty numbers in two requests). Every
// row must end where the rules put it (sent, Failed with the right log line
// and, when the answer is missing, marked "outcome unknown", or left
// Pending), none may stay Processing, and the worker must go on ticking.
// The README's table "What happens when the gateway fails" lists the same
// cases.
#include "SimulatorFixture.h"

#include "engine/CommsWorker.h"
#include "engine/WindowMessages.h"

#include <gtest/gtest.h>

#include <functional>

using namespace engine;
using namespace enginetest;

namespace {

struct Expected {
  int singlesSent;
  int singlesFailed;
  bool failedMarkedUnknown; // no answer: asked about by client message id
  int batchStat;            // 12 Expanded, or 2 when the batch never opened
  int batchChildrenSent;
  int batchChildrenFailed;
  const char *logLine;
  int boxes; // "Failed to communicate with the server" boxes
  // Singles known to the gateway after the next tick, when the fault is
  // gone and the sends without an answer have been asked about.
  int singlesSentAfterTick;
  // Sends still not asked about then (the gateway does not answer yet).
  int stillUnknownAfterTick = 0;
};

struct FaultCase {
  const char *name;
  // Sets the fault up before the pass; `midPass` runs at every progress
  // report of the pass with the number of reports so far.
  std::function<void(gatewaysim::GatewaySimServer &)> inject;
  std::function<void(gatewaysim::GatewaySimServer &, int)> midPass;
  Expected expected;
};

gatewaysim::FaultSpec Fault(const char *pattern, gatewaysim::FaultKind kind) {
  gatewaysim::FaultSpec spec;
  spec.pattern = pattern;
  spec.kind = kind;
  return spec;
}

// Sets the process-wide receive time-out through a second Parlink object.
void SetReceiveTimeout(LONG ms) {
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(u"Parlink.SMS", &clsid), S_OK);
  IDispatch *object = nullptr;
  ASSERT_EQ(CoCreateInstance(&clsid, nullptr, CLSCTX_INPROC_SERVER, &IID_IDispatch,
                             reinterpret_cast<void **>(&object)),
            S_OK);
  OLECHAR name[] = u"SetReceiveTimeout";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  ASSERT_EQ(object->GetIDsOfNames(&IID_NULL, names, 1, 0, &id), S_OK);
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_I4;
  arg.lVal = ms;
  DISPPARAMS params{&arg, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(object->Invoke(id, &IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
            S_OK);
  VariantClear(&result);
  object->Release();
}

const std::vector<FaultCase> &Cases() {
  using gatewaysim::FaultKind;
  static const std::vector<FaultCase> cases = {
      {"refused",
       [](auto &sim) { sim.Stop(); },
       nullptr,
       {0, 19, true, 2, 0, 0, "SMS failed: Error:ERR: -2,Communication error: ", 1, 0, 19}},
      {"http500",
       [](auto &sim) {
         sim.AddFault(Fault("http/sendmsg", FaultKind::Http500));
         sim.AddFault(Fault("http_batch/*", FaultKind::Http500));
       },
       nullptr,
       {0, 19, true, 2, 0, 0, "SMS failed: Error:ERR: -2,Communication error: ERR: -1,500", 1, 0}},
      {"stall past the receive time-out",
       [](auto &sim) {
         gatewaysim::FaultSpec stall = Fault("http/sendmsg", FaultKind::Stall);
         stall.stallMs = 60000;
         stall.times = 1;
         sim.AddFault(stall);
       },
       nullptr,
       {18, 1, true, 12, 50, 0, "SMS failed: Error:ERR: -2,Communication error: ", 1, 18}},
      {"error page with status 200",
       [](auto &sim) {
         sim.AddFault(Fault("http/sendmsg", FaultKind::Garbage));
         sim.AddFault(Fault("http_batch/startbatch", FaultKind::Garbage));
       },
       nullptr,
       {0, 19, true, 2, 0, 0, "SMS failed: Error:<html><head><title>Service", 0, 0}},
      {"broken reply grammar",
       [](auto &sim) {
         gatewaysim::FaultSpec broken = Fault("http/sendmsg", FaultKind::Error);
         broken.reply = "Message queued";
         broken.afterProcessing = true;
         sim.AddFault(broken);
       },
       nullptr,
       {0, 19, true, 12, 50, 0, "SMS failed: Error:Message queued Mobile:", 0, 19}},
      {"dropped connection in the middle of the batch",
       [](auto &sim) {
         gatewaysim::FaultSpec drop = Fault("http_batch/quicksend", FaultKind::Drop);
         drop.skip = 1;
         drop.times = 1;
         drop.afterProcessing = true;
         sim.AddFault(drop);
       },
       nullptr,
       {19, 0, false, 12, 43, 7, "QuickBatchSend failed: Error:ERR: -2,Communication", 0, 19}},
      {"session expiry in the middle of the pass",
       nullptr,
       [](auto &sim, int reports) {
         if (reports == 11) sim.ExpireSessions();
       },
       {10, 9, false, 2, 0, 0, "SMS failed: Error:ERR: 003, Session ID expired", 0, 10}},
      {"throttle",
       nullptr,
       nullptr,
       {12, 7, false, 12, 0, 50, "SMS failed: Error:ERR: 117, Throttle limit exceeded", 0, 12}},
  };
  return cases;
}

// Forwards every post to the recorder and lets the case act in the middle
// of the pass.
class PassWatcher final : public MessagePoster {
public:
  PassWatcher(MessagePoster &next, std::function<void(int)> onReport)
      : next_(next), onReport_(std::move(onReport)) {}
  void Post(WindowTarget target, unsigned message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    if (message == UM_PROGRESS_COUNT && onReport_) onReport_(++reports_);
    next_.Post(target, message, wParam, lParam);
  }

private:
  MessagePoster &next_;
  std::function<void(int)> onReport_;
  int reports_ = 0;
};

class FaultMatrixTest : public SimulatorTest, public ::testing::WithParamInterface<std::size_t> {
protected:
  void Configure(gatewaysim::SimOptions &options) override {
    if (std::string(Cases()[GetParam()].name) == "throttle") {
      options.throttle.maxMessages = 12;
      options.throttle.windowMs = 3600000;
    }
  }
  void TearDown() override {
    if (worker) worker->StopAndWait();
    worker.reset();
    SimulatorTest::TearDown();
  }
  std::unique_ptr<CommsWorker> worker;
};

} // namespace

TEST_P(FaultMatrixTest, EveryRowEndsWhereTheRulesPutIt) {
  const FaultCase &c = Cases()[GetParam()];
  SCOPED_TRACE(c.name);
  ASSERT_TRUE(Login());
  SetReceiveTimeout(1000);
  std::string batchTo;
  for (int i = 0; i < 50; ++i)
    batchTo += (i ? "," : "") + std::to_string(27830000000LL + i);
  const int batch = h->AddPending(batchTo, "batch");
  std::vector<int> singles;
  for (int i = 0; i < 19; ++i)
    singles.push_back(h->AddPending(std::to_string(27820000000LL + i), "single"));

  if (c.inject) c.inject(*sim);
  PassWatcher watcher(h->posts, [&](int reports) {
    if (c.midPass) c.midPass(*sim, reports);
  });
  EngineServices services = h->Services();
  services.poster = &watcher;
  worker = std::make_unique<CommsWorker>(services);
  ASSERT_TRUE(worker->Start());
  ASSERT_TRUE(worker->WaitUntilIdle(std::chrono::seconds(60)));

  const Expected &e = c.expected;
  int sent = 0, failed = 0;
  for (int id : singles) {
    store::MessageRow row = h->Row(id);
    sent += row.Stat == 11;
    failed += row.Stat == 2;
    std::optional<store::SendRecord> record = h->store->FindSendRecord(id);
    ASSERT_TRUE(record.has_value()) << id;
    EXPECT_EQ(record->CliMsgID, "dv-" + std::to_string(id));
    if (row.Stat == 2) {
      EXPECT_EQ(record->OutcomeUnknown, e.failedMarkedUnknown) << id;
    }
  }
  EXPECT_EQ(sent, e.singlesSent);
  EXPECT_EQ(failed, e.singlesFailed);
  EXPECT_EQ(h->Row(batch).Stat, e.batchStat);
  int childrenSent = 0, childrenFailed = 0;
  for (const store::MessageRow &child : h->Children(batch)) {
    childrenSent += child.Stat == 11;
    childrenFailed += child.Stat == 2;
  }
  EXPECT_EQ(childrenSent, e.batchChildrenSent);
  EXPECT_EQ(childrenFailed, e.batchChildrenFailed);
  EXPECT_TRUE(h->log.Contains(e.logLine)) << e.logLine;
  EXPECT_EQ(static_cast<int>(h->prompts.All().size()), e.boxes);
  EXPECT_EQ(h->store->CountMessages({.Stat = store::IntRange{10, 10}}), 0);
  EXPECT_EQ(h->store->CountMessages({.Stat = store::IntRange{0, 0}}), 0);

  // The worker goes on ticking.
  const int busy = h->posts.Count(UM_PROGRESS_CONNECTING);
  sim->ClearFaults();
  AdvanceBoth(CommsWorker::kTickMs);
  ASSERT_TRUE(worker->WaitUntilIdle(std::chrono::seconds(60)));
  EXPECT_GT(h->posts.Count(UM_PROGRESS_CONNECTING), busy);
  EXPECT_TRUE(worker->IsRunning());
  int known = 0;
  for (int id : singles)
    known += !h->Row(id).ApiMsgID.empty();
  EXPECT_EQ(known, e.singlesSentAfterTick);
  EXPECT_EQ(static_cast<int>(h->store->UnknownOutcomes().size()), e.stillUnknownAfterTick);
  // Nothing is sent again on its own: no number is requested twice.
  std::map<std::string, int> perNumber;
  for (const SimRequest &r : Requests("http/sendmsg"))
    ++perNumber[r.params.count("to") ? r.params.at("to") : std::string()];
  for (const auto &[number, count] : perNumber)
    EXPECT_LE(count, 1) << number;
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrixTest, ::testing::Range<std::size_t>(0, 8),
                         [](const ::testing::TestParamInfo<std::size_t> &info) {
                           std::string name = Cases()[info.param].name;
                           for (char &ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });
