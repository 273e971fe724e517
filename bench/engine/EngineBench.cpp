// Benchmarks of the messaging engine.
//
//   BatchAgainstSingleSends  one plain text to 10,000 numbers through the
//                            batch path, against the same numbers sent with
//                            one SendMsg each (the ratio is the figure);
//                            counts the HTTP requests of the batch.
//   BatchAgainstSingleSendsWithLatency
//                            the same with the simulator holding every
//                            request for 20 ms, as a WAN round trip does:
//                            requests, wall time and the ratio of both (the
//                            per-number side is timed on 250 numbers and
//                            scaled to 10,000); `batch_overhead_ms` is the
//                            batch's time beyond its requests' latency.
//   SingleSends              10,000 single messages through dispatch, each
//                            committed before its request and after its
//                            answer.
//   PerMessageCommits        the store side of those 10,000 sends alone:
//                            with a commit before and after each send, and
//                            the way it was before (one commit at the end).
//   ChildRows                the 10,000 child rows of a batch: one at a time
//                            (a copy, a find and an update each, as before)
//                            against the rows of each chunk in one go.
//   MergedPerDestination     1,000 contacts, one text with a merge tag.
//   StatusPass               one status pass over 10,000 due messages.
//   TickOverLargeStore       escalation, dispatch with nothing pending and
//                            the status selections over 100,000 messages
//                            (store time only; no gateway traffic).
//
// Everything runs in a temporary registry and data folder; the gateway is
// the in-process simulator on 127.0.0.1.
#include "engine/Escalator.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"
#include "engine/ManualClock.h"
#include "engine/OutboxDispatcher.h"
#include "engine/StatusPoller.h"
#include "engine/StoreContactSource.h"

#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

using namespace engine;
namespace fs = std::filesystem;

namespace {

fs::path MakeTemp(const char *prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  char *made = mkdtemp(pattern.data());
  return made ? fs::path(made) : fs::temp_directory_path();
}

// The process-wide setting: a private registry, the simulator, Parlink
// registered and pointed at it, one logged-in binding.
class Environment {
public:
  static Environment &Get() {
    static Environment env;
    return env;
  }

  // The environment, or nothing (and the benchmark skipped) when it could
  // not be set up.
  static Environment *ReadyFor(benchmark::State &state) {
    Environment &env = Get();
    if (env.Ready()) return &env;
    state.SkipWithError(env.Error().c_str());
    return nullptr;
  }

  gatewaysim::GatewaySimServer &Sim() { return *sim_; }
  GatewayBinding &Binding() { return *binding_; }
  bool Ready() const { return ready_; }
  const std::string &Error() const { return error_; }

private:
  Environment() {
    root_ = MakeTemp("dv-bench-engine-");
    setenv("DOVETEXT_REGISTRY", (root_ / "registry").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);

    void *module = dlopen((fs::path(DV_BENCH_LIB_DIR) / "libparlink.so").c_str(), RTLD_NOW);
    auto reg = module ? reinterpret_cast<PFN_DllRegisterServer>(dlsym(module, "DllRegisterServer"))
                      : nullptr;
    if (reg == nullptr || FAILED(reg())) {
      error_ = "libparlink.so could not be registered";
      return;
    }
    gatewaysim::SimOptions options;
    gatewaysim::AccountSpec demo = gatewaysim::SimOptions::DemoAccount();
    demo.balance = 1e9;
    options.accounts = {demo};
    options.sessionIdleMs = 24LL * 3600 * 1000;
    options.threads = 8;
    options.logLimit = 1000000;
    sim_ = std::make_unique<gatewaysim::GatewaySimServer>(options);
    if (!sim_->Start(&error_)) return;
    setenv("PARLINK_BASE_URL", sim_->BaseUrl().c_str(), 1);
    HRESULT hr = S_OK;
    binding_ = GatewayBinding::Create(&hr);
    if (!binding_) {
      error_ = "the Parlink object could not be created";
      return;
    }
    if (!LoginOperation::Login(*binding_, "DVTX", "demo", "demo123", nullptr,
                               shell::StringTable::BuiltIn())
             .ok) {
      error_ = "login failed";
      return;
    }
    ready_ = true;
  }
  ~Environment() {
    binding_.reset();
    if (sim_) sim_->Stop();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  fs::path root_;
  std::unique_ptr<gatewaysim::GatewaySimServer> sim_;
  std::unique_ptr<GatewayBinding> binding_;
  bool ready_ = false;
  std::string error_;
};

// A fresh store and the engine's collaborators around it.
struct EngineSetup {
  explicit EngineSetup(GatewayApi *gateway) : clock(SystemClock::Instance().NowMs()) {
    folder = MakeTemp("dv-bench-store-");
    store::StoreServices ss;
    ss.settings = &settings;
    ss.strings = &strings;
    ss.now = [this] { return clock.Now(); };
    store = std::make_unique<store::SmsStore>(folder.string(), ss);
    contacts = std::make_unique<StoreContactSource>(*store);
    services.store = store.get();
    services.gateway = gateway;
    services.settings = &settings;
    services.strings = &strings;
    services.contacts = contacts.get();
    services.clock = &clock;
  }
  ~EngineSetup() {
    contacts.reset();
    store.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  fs::path folder;
  ManualClock clock;
  shell::Settings settings;
  shell::StringTable strings;
  std::unique_ptr<store::SmsStore> store;
  std::unique_ptr<StoreContactSource> contacts;
  EngineServices services;
  WorkerState state;
};

std::size_t CountRequests(gatewaysim::GatewaySimServer &sim, std::uint64_t since,
                          const std::string &path) {
  std::istringstream lines(sim.LogJsonLines(since));
  std::string line;
  std::size_t count = 0;
  while (std::getline(lines, line)) {
    nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded()) continue;
    std::string p = entry.value("path", "");
    if (p.size() >= path.size() && p.compare(p.size() - path.size(), path.size(), path) == 0)
      ++count;
  }
  return count;
}

// The sequence number of the newest request in the simulator's log.
std::uint64_t LastSeq(gatewaysim::GatewaySimServer &sim) {
  std::string log = sim.LogJsonLines();
  std::size_t end = log.find_last_not_of('\n');
  if (end == std::string::npos) return 0;
  std::size_t start = log.rfind('\n', end);
  nlohmann::json last = nlohmann::json::parse(
      log.substr(start == std::string::npos ? 0 : start + 1, end + 1), nullptr, false);
  return last.is_discarded() ? 0 : last.value("seq", std::uint64_t{0});
}

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void BatchAgainstSingleSends(benchmark::State &state) {
  Environment *ready = Environment::ReadyFor(state);
  if (ready == nullptr) return;
  Environment &env = *ready;
  const int n = 10000;
  std::string to;
  std::vector<std::string> numbers;
  for (int i = 0; i < n; ++i) {
    numbers.push_back(std::to_string(27830000000LL + i));
    to += (i ? "," : "") + numbers.back();
  }
  for (auto _ : state) {
    EngineSetup setup(&env.Binding());
    int id = setup.store->AddSms(0, 0, 0, 0, to, "One text for everybody", "", 0, "?", 0);
    OutboxDispatcher dispatcher(setup.services, setup.state);
    std::uint64_t before = LastSeq(env.Sim());
    auto t0 = std::chrono::steady_clock::now();
    dispatcher.SendQueuedSMSs(id);
    auto t1 = std::chrono::steady_clock::now();
    std::size_t requests = CountRequests(env.Sim(), before, "http_batch/startbatch") +
                           CountRequests(env.Sim(), before, "http_batch/quicksend") +
                           CountRequests(env.Sim(), before, "http_batch/endbatch");

    auto t2 = std::chrono::steady_clock::now();
    std::string reply;
    for (const std::string &number : numbers)
      env.Binding().SendMsg(true, "One text for everybody", number.c_str(), &reply);
    auto t3 = std::chrono::steady_clock::now();

    const double batchMs = Ms(t1 - t0), singleMs = Ms(t3 - t2);
    state.counters["batch_ms"] = batchMs;
    state.counters["single_ms"] = singleMs;
    state.counters["single_per_batch"] = singleMs / batchMs;
    state.counters["batch_requests"] = static_cast<double>(requests);
    state.counters["request_limit"] = static_cast<double>((to.size() + 511) / 512 + 2);
    if (requests > (to.size() + 511) / 512 + 2)
      state.SkipWithError("the batch took more requests than its chunks allow");
  }
}
BENCHMARK(BatchAgainstSingleSends)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BatchAgainstSingleSendsWithLatency(benchmark::State &state) {
  Environment *ready = Environment::ReadyFor(state);
  if (ready == nullptr) return;
  Environment &env = *ready;
  constexpr int kLatencyMs = 20;
  constexpr int n = 10000;
  constexpr int kSample = 250;
  std::string to;
  std::vector<std::string> numbers;
  for (int i = 0; i < n; ++i) {
    numbers.push_back(std::to_string(27860000000LL + i));
    to += (i ? "," : "") + numbers.back();
  }
  gatewaysim::FaultSpec latency;
  latency.pattern = "*";
  latency.kind = gatewaysim::FaultKind::Latency;
  latency.latencyMs = kLatencyMs;
  env.Sim().AddFault(latency);
  for (auto _ : state) {
    EngineSetup setup(&env.Binding());
    int id = setup.store->AddSms(0, 0, 0, 0, to, "One text for everybody", "", 0, "?", 0);
    OutboxDispatcher dispatcher(setup.services, setup.state);
    std::uint64_t before = LastSeq(env.Sim());
    auto t0 = std::chrono::steady_clock::now();
    dispatcher.SendQueuedSMSs(id);
    auto t1 = std::chrono::steady_clock::now();
    const std::size_t requests = CountRequests(env.Sim(), before, "");

    std::string reply;
    auto t2 = std::chrono::steady_clock::now();
    for (int i = 0; i < kSample; ++i)
      env.Binding().SendMsg(true, "One text for everybody", numbers[i].c_str(), &reply);
    auto t3 = std::chrono::steady_clock::now();

    const double batchMs = Ms(t1 - t0);
    const double singleMs = Ms(t3 - t2) * n / kSample;
    state.counters["batch_requests"] = static_cast<double>(requests);
    state.counters["batch_ms"] = batchMs;
    state.counters["batch_overhead_ms"] = batchMs - static_cast<double>(requests) * kLatencyMs;
    state.counters["single_requests"] = n;
    state.counters["single_ms"] = singleMs;
    state.counters["request_ratio"] = n / static_cast<double>(requests);
    state.counters["single_per_batch"] = singleMs / batchMs;
    if (dispatcher.Accepted().size() != static_cast<std::size_t>(n))
      state.SkipWithError("the batch did not send every number");
  }
  env.Sim().ClearFaults();
}
BENCHMARK(BatchAgainstSingleSendsWithLatency)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void SingleSends(benchmark::State &state) {
  Environment *ready = Environment::ReadyFor(state);
  if (ready == nullptr) return;
  Environment &env = *ready;
  constexpr int n = 10000;
  for (auto _ : state) {
    state.PauseTiming();
    EngineSetup setup(&env.Binding());
    for (int i = 0; i < n; ++i)
      setup.store->AddSms(0, 0, 0, 0, std::to_string(27870000000LL + i), "One each", "", 0, "?", 0);
    setup.store->Commit();
    OutboxDispatcher dispatcher(setup.services, setup.state);
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    dispatcher.SendQueuedSMSs(-1);
    const double ms = Ms(std::chrono::steady_clock::now() - t0);
    state.counters["per_message_ms"] = ms / n;
    state.counters["sent"] =
        static_cast<double>(setup.store->CountMessages({.Stat = store::IntRange{11, 11}}));
  }
}
BENCHMARK(SingleSends)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The store's writes for 10,000 single sends. Arg 1, as now: Processing and
// the send record committed before each request, the result and the record
// committed after it. Arg 0, as before: Processing and the result, one
// commit at the end.
void PerMessageCommits(benchmark::State &state) {
  const bool perMessage = state.range(0) != 0;
  constexpr int n = 10000;
  for (auto _ : state) {
    state.PauseTiming();
    EngineSetup setup(nullptr);
    std::vector<int> ids;
    for (int i = 0; i < n; ++i)
      ids.push_back(
          setup.store->AddSms(0, 0, 0, 0, std::to_string(27880000000LL + i), "m", "", 0, "?", 0));
    setup.store->Commit();
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    for (int id : ids) {
      {
        std::lock_guard table(setup.store->MessageLock());
        setup.store->SetSmsStatus(id, 10);
      }
      if (perMessage) {
        setup.store->PutSendRecord(
            {.ID = id, .CliMsgID = "dv-" + std::to_string(id), .OutcomeUnknown = true});
        setup.store->Commit();
      }
      {
        std::lock_guard table(setup.store->MessageLock());
        setup.store->UpdateFields(id, {.Stat = 11,
                                       .QueryTime = 60,
                                       .StatQryTm = 1,
                                       .ApiMsgID = ",ID: 0123456789abcdef0123456789abcdef"});
      }
      if (perMessage) {
        setup.store->PutSendRecord({.ID = id, .CliMsgID = "dv-" + std::to_string(id)});
        setup.store->Commit();
      }
    }
    setup.store->Commit();
    const double ms = Ms(std::chrono::steady_clock::now() - t0);
    state.counters["per_message_us"] = ms * 1000 / n;
  }
}
void ChildRows(benchmark::State &state) {
  const bool perChunk = state.range(0) != 0;
  constexpr int n = 10000;
  constexpr int kChunk = 43;
  for (auto _ : state) {
    state.PauseTiming();
    EngineSetup setup(nullptr);
    std::string to;
    for (int i = 0; i < n; ++i)
      to += (i ? "," : "") + std::to_string(27890000000LL + i);
    const int parent = setup.store->AddSms(10, 0, 0, 0, to, "Batch", "", 0, "?", 0);
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    for (int first = 0; first < n; first += kChunk) {
      std::vector<store::ExpandedChild> children;
      for (int i = first; i < std::min(n, first + kChunk); ++i) {
        store::ExpandedChild child;
        child.Stat = 11;
        child.To = std::to_string(27890000000LL + i);
        child.ApiMsgID = ",ID: 0123456789abcdef0123456789abcdef";
        child.QueryTime = 60;
        child.StatQryTm = 1;
        children.push_back(std::move(child));
      }
      if (perChunk) {
        setup.store->ExpandSmsMany(parent, children);
      } else {
        for (const store::ExpandedChild &child : children) {
          const int id = setup.store->ExpandSms(parent, child.Stat, child.To);
          std::lock_guard table(setup.store->MessageLock());
          if (setup.store->FindMessage(id))
            setup.store->UpdateFields(id, {.QueryTime = child.QueryTime,
                                           .StatQryTm = child.StatQryTm,
                                           .ApiMsgID = child.ApiMsgID});
        }
      }
    }
    setup.store->Commit();
    state.counters["rows_ms"] = Ms(std::chrono::steady_clock::now() - t0);
  }
}
BENCHMARK(ChildRows)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(PerMessageCommits)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void MergedPerDestination(benchmark::State &state) {
  Environment *ready = Environment::ReadyFor(state);
  if (ready == nullptr) return;
  Environment &env = *ready;
  for (auto _ : state) {
    state.PauseTiming();
    EngineSetup setup(&env.Binding());
    std::string to;
    for (int i = 0; i < 1000; ++i) {
      store::ContactRecord record;
      record.SetName("Name" + std::to_string(i));
      record.SetMobile(std::to_string(27840000000LL + i));
      int cid = setup.store->AddContact(record);
      to += (i ? ",A" : "A") + std::to_string(cid);
    }
    int id = setup.store->AddSms(0, 0, 0, 0, to, "Hello <<FIRSTNAME>>", "", 0, "?", 0);
    OutboxDispatcher dispatcher(setup.services, setup.state);
    state.ResumeTiming();
    dispatcher.SendQueuedSMSs(id);
    state.counters["sent"] = static_cast<double>(dispatcher.Accepted().size());
  }
}
BENCHMARK(MergedPerDestination)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void StatusPass(benchmark::State &state) {
  Environment *ready = Environment::ReadyFor(state);
  if (ready == nullptr) return;
  Environment &env = *ready;
  for (auto _ : state) {
    state.PauseTiming();
    EngineSetup setup(&env.Binding());
    std::string to;
    for (int i = 0; i < 10000; ++i)
      to += (i ? "," : "") + std::to_string(27850000000LL + i);
    int id = setup.store->AddSms(0, 0, 0, 0, to, "Poll me", "", 0, "?", 0);
    OutboxDispatcher dispatcher(setup.services, setup.state);
    dispatcher.SendQueuedSMSs(id);
    setup.clock.Advance(61000);
    StatusPoller poller(setup.services, setup.state);
    std::uint64_t before = LastSeq(env.Sim());
    state.ResumeTiming();
    poller.QueryMessageStatus(-1);
    state.PauseTiming();
    state.counters["queries"] =
        static_cast<double>(CountRequests(env.Sim(), before, "http/getmsgcharge"));
    state.ResumeTiming();
  }
}
BENCHMARK(StatusPass)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A gateway that must not be reached: a tick with nothing due makes no call.
class NoGateway final : public GatewayApi {
public:
  int calls = 0;
  HRESULT Count() {
    ++calls;
    return E_FAIL;
  }
  HRESULT SendMsg(bool, const char *, const char *, std::string *) override { return Count(); }
  HRESULT AuthenticateClient(const char *, const char *, const char *, std::string *) override {
    return Count();
  }
  HRESULT Ping(std::string *) override { return Count(); }
  HRESULT QueryBalance(std::string *) override { return Count(); }
  HRESULT RecoverPassword(const char *, const char *, std::string *) override { return Count(); }
  HRESULT StopMsgAPIID(const char *, std::string *) override { return Count(); }
  HRESULT QueryMsgCLIID(const char *, std::string *) override { return Count(); }
  HRESULT TokenPay(const char *, std::string *) override { return Count(); }
  HRESULT EncodeToUnicode(const char *, std::string *) override { return Count(); }
  HRESULT StartBatch(const char *, std::string *) override { return Count(); }
  HRESULT QuickBatchSend(const char *, std::string *) override { return Count(); }
  HRESULT EndBatch(std::string *) override { return Count(); }
  HRESULT ConfigureProxyEx(bool, std::int32_t, const char *, const char *, const char *,
                           const char *, std::string *) override {
    return Count();
  }
  HRESULT Version(std::string *) override { return Count(); }
  HRESULT GetMsgCharge(bool, const char *, std::string *) override { return Count(); }
  HRESULT SetBaseURL(bool, const char *, std::int32_t, std::string *) override { return Count(); }
  HRESULT get_smsERROR(std::int32_t *) override { return Count(); }
  HRESULT get_smsSESSION_ID(std::string *) override { return Count(); }
  HRESULT put_smsUNICODE(bool) override { return Count(); }
  HRESULT put_smsDELIVERY_ACK(bool) override { return Count(); }
  HRESULT put_smsMSG_TYPE(std::int32_t) override { return Count(); }
  HRESULT put_smsREQUIRED_FEATURES(std::int32_t) override { return Count(); }
  HRESULT put_smsCONCAT(std::int32_t) override { return Count(); }
  HRESULT put_smsDELIVERY_TIME(std::int32_t) override { return Count(); }
  HRESULT put_smsFROM(const char *) override { return Count(); }
  HRESULT put_smsCLI_MSG_ID(const char *) override { return Count(); }
};

void TickOverLargeStore(benchmark::State &state) {
  NoGateway gateway;
  EngineSetup setup(&gateway);
  const int now = static_cast<int>(setup.clock.Now());
  const int statuses[] = {9, 9, 9, 2, 12, 15, 11, 3, 4, 6};
  for (int i = 0; i < 100000; ++i) {
    int status = statuses[i % 10];
    int time = (status == 4 || status == 6) ? now + 30 * 86400 : now - 86400;
    int delay = status == 6 ? 2 * 86400 : 0;
    int id =
        setup.store->AddSms(status, time, 0, 0, "27821234567", "stored message", "", delay, "1", 0);
    if (status == 11 && i % 20 == 6) {
      store::MessageUpdate polling;
      polling.QueryTime = 1800;
      polling.StatQryTm = now + 1200;
      setup.store->UpdateFields(id, polling);
    }
  }
  setup.store->Commit();

  Escalator escalator(setup.services, setup.state);
  OutboxDispatcher dispatcher(setup.services, setup.state);
  StatusPoller poller(setup.services, setup.state);
  std::vector<double> ticks;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    escalator.Run();
    auto t1 = std::chrono::steady_clock::now();
    dispatcher.SendQueuedSMSs(-1);
    auto t2 = std::chrono::steady_clock::now();
    poller.QueryMessageStatus(-1);
    auto t3 = std::chrono::steady_clock::now();
    ticks.push_back(Ms(t3 - t0));
    state.counters["escalation_ms"] = Ms(t1 - t0);
    state.counters["dispatch_ms"] = Ms(t2 - t1);
    state.counters["status_ms"] = Ms(t3 - t2);
  }
  std::sort(ticks.begin(), ticks.end());
  const double median = ticks.empty() ? 0 : ticks[ticks.size() / 2];
  state.counters["median_ms"] = median;
  state.counters["worst_ms"] = ticks.empty() ? 0 : ticks.back();
  state.counters["gateway_calls"] = gateway.calls;
  if (gateway.calls != 0)
    state.SkipWithError("a tick with nothing due reached the gateway");
  else if (median >= 20.0)
    state.SkipWithError("a tick took 20 ms or more of store time");
}
BENCHMARK(TickOverLargeStore)->Iterations(50)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
