// The store on the sizes of a busy installation: 100,000 messages and
// 20,000 contacts in 50 groups. Each benchmark states the figure it is
// measured against.
#include "store/SmsStore.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using store::IntRange;
using store::SmsStore;

constexpr int kMessages = 100000;
constexpr int kContacts = 20000;
constexpr int kGroups = 50;
constexpr int kNow = 1700000000;

// Status mix of a long-used outbox.
int StatusFor(int i) {
  if (i % 200 == 0) return store::StatPending;
  if (i % 200 == 1) return store::StatScheduled;
  if (i % 200 == 2) return store::StatDelayScheduled;
  if (i % 100 == 3) return store::StatUnknown;
  if (i % 100 == 4) return store::StatSent;
  if (i % 1000 == 5) return store::StatEditing;
  if (i % 1000 == 6) return store::StatProcessing;
  return store::StatDelivered;
}

class Fixture {
public:
  static Fixture &Get() {
    static Fixture fixture;
    return fixture;
  }

  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  fs::path root;
  fs::path full; // the 100,000 / 20,000 store
  double bytesPerMessage = 0;

private:
  Fixture() {
    char pattern[] = "/tmp/bench_store.XXXXXX";
    root = ::mkdtemp(pattern);
    full = root / "full";
    fs::create_directories(full);
    {
      SmsStore s(full.string());
      Fill(s, true);
    }
    // The file size of messages alone.
    const fs::path messagesOnly = root / "messages";
    fs::create_directories(messagesOnly);
    {
      SmsStore s(messagesOnly.string());
      Fill(s, false);
    }
    bytesPerMessage = static_cast<double>(fs::file_size(messagesOnly / "SMS.db")) / kMessages;
  }

  static void Fill(SmsStore &s, bool withContacts) {
    const std::string text(120, 'm');
    for (int i = 0; i < kMessages; ++i) {
      const int stat = StatusFor(i);
      const int id =
          s.AddSms(stat == store::StatEditing ? store::StatScheduled : stat, kNow - kMessages + i,
                   0, 0, ",0821234567,A17", text, "Sender",
                   stat == store::StatDelayScheduled ? 86400 * (1 + i % 7) : 0, "0.35", 0);
      if (stat == store::StatEditing) s.BeginEditSms(id);
      if (stat == store::StatUnknown || stat == store::StatSent) {
        s.UpdateFields(id, {.QueryTime = 60,
                            .StatQryTm = kNow - 3600 + i % 7200,
                            .ApiMsgID = ",ID: 1234567890abcdef"});
      }
    }
    if (!withContacts) return;
    for (int g = 0; g < kGroups - 1; ++g)
      s.AddGroup("Group " + std::to_string(g));
    for (int c = 0; c < kContacts; ++c) {
      store::ContactRecord record;
      record.SetName("Name" + std::to_string(c));
      record.SetSurname("Surname");
      record.SetMobile("08" + std::to_string(10000000 + c));
      int groups[2] = {2 + c % (kGroups - 1), 1};
      record.groupIds = groups;
      record.groupCount = c % 3 == 0 ? 2 : 1;
      s.AddContact(record);
    }
  }
};

// Opening, including the repairs of rows left in Editing and Processing.
// Target: under 300 ms.
void BM_OpenWithRepairs(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  for (auto _ : state) {
    state.PauseTiming();
    {
      // Leave rows to repair, as an interrupted run would.
      SmsStore s(f.full.string());
      for (int id = 1; id <= kMessages; id += 997)
        s.BeginEditSms(id);
      for (int id = 2; id <= kMessages; id += 991)
        s.SetSmsStatus(id, store::StatProcessing);
    }
    state.ResumeTiming();
    auto opened = std::make_unique<SmsStore>(f.full.string());
    benchmark::DoNotOptimize(opened->IsUsable());
    state.PauseTiming();
    opened.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenWithRepairs)->Unit(benchmark::kMillisecond)->Iterations(5);

class OpenStore {
public:
  static SmsStore &Get() {
    static SmsStore s(Fixture::Get().full.string());
    return s;
  }
};

// Target: under 2 ms.
void BM_CountOutbox(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  for (auto _ : state)
    benchmark::DoNotOptimize(s.CountOutbox());
}
BENCHMARK(BM_CountOutbox)->Unit(benchmark::kMicrosecond);

// The engine's selections of one tick, each under 2 ms.
void BM_SelectPending(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  for (auto _ : state) {
    std::lock_guard table(s.MessageLock());
    benchmark::DoNotOptimize(s.SelectIds({.Stat = IntRange{0, 0}}));
  }
}
BENCHMARK(BM_SelectPending)->Unit(benchmark::kMicrosecond);

void BM_SelectDueScheduled(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  for (auto _ : state) {
    std::lock_guard table(s.MessageLock());
    benchmark::DoNotOptimize(
        s.SelectIds({.Time = IntRange{0, kNow}, .Stat = IntRange{4, 4}, .Delay = IntRange{0, 0}}));
  }
}
BENCHMARK(BM_SelectDueScheduled)->Unit(benchmark::kMicrosecond);

void BM_SelectDelayScheduledOneDay(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  const int d = 86400 * static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::lock_guard table(s.MessageLock());
    benchmark::DoNotOptimize(s.SelectIds(
        {.Time = IntRange{0, kNow + d}, .Stat = IntRange{6, 6}, .Delay = IntRange{d, d}}));
  }
}
BENCHMARK(BM_SelectDelayScheduledOneDay)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

void BM_SelectPolling(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  const int stat = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::lock_guard table(s.MessageLock());
    benchmark::DoNotOptimize(s.SelectIds({.Stat = IntRange{stat, stat},
                                          .QueryTime = IntRange{1, INT_MAX},
                                          .StatQryTm = IntRange{0, kNow}}));
  }
}
BENCHMARK(BM_SelectPolling)->Arg(11)->Arg(1)->Arg(8)->Arg(7)->Arg(3)->Unit(benchmark::kMicrosecond);

// Target: under 20 ms.
void BM_MemberCounts(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  for (auto _ : state)
    benchmark::DoNotOptimize(s.MemberCounts());
}
BENCHMARK(BM_MemberCounts)->Unit(benchmark::kMillisecond);

// Target: at least 50,000 rows per second between commits.
void BM_AddSms(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  const std::string text(120, 'a');
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.AddSms(0, 0, 0, 0, ",0821234567", text, "Sender", 0, "?", 0));
  }
  state.SetItemsProcessed(state.iterations());
  s.Commit(); // after the timed loop
}
BENCHMARK(BM_AddSms)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// Target: a commit of 10,000 changes under 200 ms.
void BM_Commit10000Changes(benchmark::State &state) {
  SmsStore &s = OpenStore::Get();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 10000; ++i) {
      const int id = 1 + (round * 10000 + i * 7) % kMessages;
      s.UpdateFields(id, {.StatQryTm = kNow + round, .Charge = "0.4" + std::to_string(round)});
    }
    ++round;
    state.ResumeTiming();
    benchmark::DoNotOptimize(s.Commit());
  }
}
BENCHMARK(BM_Commit10000Changes)->Iterations(5)->Unit(benchmark::kMillisecond);

// The file size per message row (a store holding messages only).
void BM_FileSizePerMessage(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  for (auto _ : state)
    benchmark::ClobberMemory();
  state.counters["bytes_per_message"] = f.bytesPerMessage;
}
BENCHMARK(BM_FileSizePerMessage)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
