// Speed of the counter refresh, the contacts import and the outbox export.
#include "compose/MessageCounter.h"
#include "compose/SmsPageModel.h"
#include "contacts/ContactCsvImporter.h"
#include "contacts/OutboxCsvExporter.h"
#include "contacts/RecentList.h"
#include "shell/NameTables.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path NewTempDir() {
  std::string pattern = (fs::temp_directory_path() / "bench_compose.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::abort();
  }
  return pattern;
}

class NullUi : public compose::ComposeUi {
public:
  void ShowMessage(const std::string &, const std::string &, contacts::MessageIcon) override {}
  bool AskYesNo(const std::string &, const std::string &, contacts::MessageIcon) override {
    return true;
  }
  contacts::CheckedAnswer AskWithDontShowAgain(const std::string &, const std::string &,
                                               contacts::ButtonSet,
                                               contacts::MessageIcon) override {
    return {};
  }
  std::optional<std::string> ChooseOpenFile(const contacts::FileChoice &) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const contacts::FileChoice &) override { return {}; }
  std::optional<compose::ScheduleChoice> AskSchedule() override { return {}; }
  void ShowPicturePreview(const std::string &) override {}
  void RefreshOutboxCaption() override {}
};

class NullQueuer : public engine::MessageQueuer {
public:
  int QueueMessage(int, int, int, int, const std::string &, const std::string &, int,
                   bool) override {
    return 1;
  }
};

std::string Text459() {
  std::string text;
  for (int i = 0; text.size() < 459; ++i) {
    text += "Meet at [the] cafe {" + std::to_string(i) + "} ~ ";
  }
  text.resize(459);
  return text;
}

void BM_CounterCount459(benchmark::State &state) {
  const compose::MessageCounter counter;
  const std::string text = Text459();
  for (auto _ : state) {
    benchmark::DoNotOptimize(counter.Count(text, 0, true));
  }
}
BENCHMARK(BM_CounterCount459);

// The page's whole refresh: the editor text changes, it is counted (and cut),
// the label is made.
void BM_PageCounterRefresh459(benchmark::State &state) {
  const fs::path dir = NewTempDir();
  {
    store::SmsStore store(dir.string());
    shell::Settings settings;
    settings.SpanSMS = true;
    shell::StringTable strings;
    contacts::RecentList recent;
    NullQueuer queuer;
    NullUi ui;
    compose::SmsPageModel page({store, settings, strings, recent, queuer, ui, {}});
    const std::string text = Text459() + "overflow";
    for (auto _ : state) {
      page.SetEditorText(text, text.size());
      benchmark::DoNotOptimize(page.CounterLabel());
    }
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_PageCounterRefresh459)->Unit(benchmark::kMicrosecond);

void BM_ImportContacts100k(benchmark::State &state) {
  const fs::path dataDir = NewTempDir();
  const std::string csv = (dataDir / "contacts.csv").string();
  {
    std::ofstream out(csv, std::ios::binary);
    out << "fname,sname,title,custom,mobile\r\n";
    for (int i = 0; i < 100000; ++i) {
      out << "Name" << i << ",Surname" << i << ",Mr,Note " << i << ",08" << 20000000 + i << "\r\n";
    }
  }
  int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path storeDir = dataDir / ("store" + std::to_string(run++));
    fs::create_directory(storeDir);
    auto store = std::make_unique<store::SmsStore>(storeDir.string());
    const int first = store->GroupAt(store->AddGroup("Friends"))->GID;
    const int second = store->GroupAt(store->AddGroup("Work"))->GID;
    store->Commit();
    contacts::ImportOptions options;
    options.groupIds = {second, first};
    state.ResumeTiming();

    contacts::ContactCsvImporter importer(*store);
    const contacts::ImportResult result = importer.ImportFile(csv, options); // commits
    if (result.inserted != 100000) {
      state.SkipWithError("import incomplete");
    }

    state.PauseTiming();
    store.reset();
    fs::remove_all(storeDir);
    state.ResumeTiming();
  }
  fs::remove_all(dataDir);
}
BENCHMARK(BM_ImportContacts100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportOutbox100k(benchmark::State &state) {
  const fs::path dir = NewTempDir();
  {
    store::SmsStore store(dir.string());
    store::ContactRecord record;
    record.SetName("Ann");
    record.SetMobile("0821234567");
    const int ann = store.AddContact(record);
    const std::string to = ",0831112222,A" + std::to_string(ann) + ",0044123456";
    for (int i = 0; i < 100000; ++i) {
      store.AddSms(i % 18, 1078495629 + i * 60, i % 9, 0, to,
                   "Message number " + std::to_string(i) + " with a \"quote\" inside", nullptr, 0,
                   "0.35", 0);
    }
    store.Commit();
    const shell::NameTables names;
    const shell::StringTable strings;
    const std::string path = (dir / "outbox.csv").string();
    for (auto _ : state) {
      contacts::OutboxCsvExporter exporter(store, names, strings, "27");
      if (exporter.ExportAll(path) != contacts::ExportResult::Done) {
        state.SkipWithError("export failed");
      }
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_ExportOutbox100k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
