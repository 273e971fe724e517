// The Outbox page's list on the size of a busy installation: 100,000
// messages of every status. Each benchmark states the figure it is
// measured against. Runs on Qt's offscreen platform.
//
//   RebuildSortedBy/c   a full rebuild of the page (every ID read and sorted
//                       by column c, the list reset); target < 150 ms each
//   HeaderClick/c       a click on header c (a new sort column) while rows
//                       are selected; target < 150 ms each
//   Reverse             a second click on the sort column's header
//   ScrollOneScreen     one page down and a repaint; the counter
//                       reads_per_screen is the number of rows read from the
//                       store, which must stay near the rows on screen
#include "OutboxPage.h"
#include "OutboxTableModel.h"
#include "UiContext.h"

#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

#include "BenchUiMain.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kMessages = 100000;
constexpr int kNow = 1700000000;

const char *const kTexts[] = {
    "Meeting moved to 15:00, see you there", "Your order has shipped and arrives Monday",
    "happy birthday! have a great day",      "Reminder: the invoice is due on Friday",
    "Code expires in 10 minutes",            "\"Quoted\" text from the CSV import",
};

class Fixture {
public:
  static Fixture &Get() {
    if (!instance) instance.reset(new Fixture);
    return *instance;
  }
  // Goes before the application object does.
  static void Release() { instance.reset(); }
  ~Fixture() {
    page.reset();
    store.reset();
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  fs::path root;
  std::unique_ptr<store::SmsStore> store;
  shell::Settings settings;
  std::unique_ptr<ui::OutboxPage> page;

private:
  static std::unique_ptr<Fixture> instance;
  Fixture() {
    char pattern[] = "/tmp/bench_ui.XXXXXX";
    root = ::mkdtemp(pattern);
    store = std::make_unique<store::SmsStore>(root.string());
    for (int i = 0; i < kMessages; ++i) {
      const int status = (i * 7) % 18;
      const std::string to = "08" + std::to_string(21000000 + (i * 7919) % 9000000);
      const std::string text = std::string(kTexts[i % 6]) + " #" + std::to_string(i % 977);
      const std::string charge = status == 9 ? "0." + std::to_string(10 + i % 90) : "?";
      store->AddSms(status, kNow - (i * 37) % 5000000, 0, 0, to, text, "", 0, charge, 0);
    }
    store->Commit();
    ui::UiContext context;
    context.settings = &settings;
    context.store = store.get();
    page = std::make_unique<ui::OutboxPage>(context);
    page->show();
    page->Activated();
  }
};

std::unique_ptr<Fixture> Fixture::instance;

void BM_RebuildSortedBy(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  const int column = static_cast<int>(state.range(0));
  ui::OutboxTableModel &model = *f.page->Model();
  // Make `column` the sort column, ascending.
  if (model.Order().SortColumn() != column) model.SortBy(column);
  if (model.Order().Descending()) model.SortBy(column);
  for (auto _ : state) {
    f.page->Rebuild(false);
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_RebuildSortedBy)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_HeaderClick(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  const int column = static_cast<int>(state.range(0));
  ui::OutboxTableModel &model = *f.page->Model();
  QTableView *list = f.page->List();
  for (auto _ : state) {
    state.PauseTiming();
    model.SortBy((column + 1) % ui::OutboxOrder::kColumnCount);
    list->selectionModel()->clearSelection();
    for (int row = 0; row < 200; row += 2)
      list->selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select |
                                                              QItemSelectionModel::Rows);
    state.ResumeTiming();
    model.SortBy(column);
  }
}
BENCHMARK(BM_HeaderClick)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_Reverse(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  ui::OutboxTableModel &model = *f.page->Model();
  const int column = model.Order().SortColumn();
  for (auto _ : state)
    model.SortBy(column);
}
BENCHMARK(BM_Reverse)->Unit(benchmark::kMillisecond);

void BM_ScrollOneScreen(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  f.page->Rebuild(false);
  QTableView *list = f.page->List();
  QScrollBar *bar = list->verticalScrollBar();
  bar->setValue(0);
  QCoreApplication::processEvents();
  const long long before = f.page->Model()->StoreReads();
  long long screens = 0;
  for (auto _ : state) {
    bar->setValue(bar->value() + bar->pageStep() >= bar->maximum() ? 0
                                                                     : bar->value() + bar->pageStep());
    list->viewport()->repaint();
    QCoreApplication::processEvents();
    ++screens;
  }
  state.counters["reads_per_screen"] =
      static_cast<double>(f.page->Model()->StoreReads() - before) / static_cast<double>(screens);
  state.counters["rows_on_screen"] = list->viewport()->height() / list->rowHeight(0);
}
BENCHMARK(BM_ScrollOneScreen)->Unit(benchmark::kMicrosecond);

[[maybe_unused]] const bool released = benchui::AtExit(&Fixture::Release);

} // namespace

