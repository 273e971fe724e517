// The Addresses page on a busy address book: 20,000 contacts in 50 groups,
// one of them with 5,000 members. Target: opening that group and sorting it
// by a column takes less than 100 ms.
#include "AddressesPage.h"
#include "MemberListView.h"
#include "Theme.h"
#include "UiContext.h"

#include "store/SmsStore.h"

#include "BenchUiMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kContacts = 20000;
constexpr int kGroups = 50;
constexpr int kBigGroup = 5000;

class Fixture {
public:
  static Fixture &Get() {
    if (!Instance()) Instance().reset(new Fixture);
    return *Instance();
  }
  // The widgets go before the application object does.
  static void Release() { Instance().reset(); }
  ~Fixture() {
    page.reset();
    store.reset();
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  fs::path root;
  std::unique_ptr<store::SmsStore> store;
  std::unique_ptr<ui::AddressesPage> page;
  int bigGid = 0;
  int smallGid = 0;

private:
  static std::unique_ptr<Fixture> &Instance() {
    static std::unique_ptr<Fixture> instance;
    return instance;
  }

  Fixture() {
    char pattern[] = "/tmp/bench_ui.XXXXXX";
    root = ::mkdtemp(pattern);
    store = std::make_unique<store::SmsStore>(root.string());
    std::vector<int> gids;
    for (int g = 0; g < kGroups; ++g)
      gids.push_back(store->GroupAt(store->AddGroup("Group " + std::to_string(g)))->GID);
    bigGid = gids[0];
    smallGid = gids[1];
    for (int i = 0; i < kContacts; ++i) {
      // The first 5,000 go to the big group, the others round the 49 more.
      const int group[1] = {i < kBigGroup ? bigGid : gids[1 + i % (kGroups - 1)]};
      store::ContactRecord record;
      // Names in a scrambled order, so sorting has work to do.
      const unsigned scrambled = (static_cast<unsigned>(i) * 7919u) % 100000u;
      record.SetName("Name" + std::to_string(scrambled));
      record.SetSurname("Surname" + std::to_string(kContacts - i));
      record.SetMobile("2782" + std::to_string(1000000 + i));
      record.groupIds = group;
      record.groupCount = 1;
      store->AddContact(record);
    }
    store->Commit();
    ui::UiContext context;
    context.store = store.get();
    page = std::make_unique<ui::AddressesPage>(context);
    page->show();
    QApplication::processEvents();
  }
};

// Opening the 5,000-member group from a small one, sorting it by Name (the
// header click), and painting the visible rows.
void BM_OpenBigGroupAndSort(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  QHeaderView *header = f.page->MemberList()->header();
  for (auto _ : state) {
    state.PauseTiming();
    f.page->ShowGroup(f.smallGid);
    QApplication::processEvents();
    state.ResumeTiming();
    f.page->ShowGroup(f.bigGid);
    emit header->sectionClicked(0);
    f.page->MemberList()->viewport()->repaint();
    benchmark::DoNotOptimize(f.page->Members().Count());
  }
  if (f.page->Members().Count() != kBigGroup) state.SkipWithError("wrong member count");
}
BENCHMARK(BM_OpenBigGroupAndSort)->Unit(benchmark::kMillisecond);

// A click on a column header of the open 5,000-member group.
void BM_SortBigGroup(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  f.page->ShowGroup(f.bigGid);
  QHeaderView *header = f.page->MemberList()->header();
  int column = 0;
  for (auto _ : state) {
    emit header->sectionClicked(column);
    column = (column + 1) % 3;
    f.page->MemberList()->viewport()->repaint();
  }
}
BENCHMARK(BM_SortBigGroup)->Unit(benchmark::kMillisecond);

// Reading the whole address book again (after any change on the page).
void BM_RefreshWholeBook(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  f.page->ShowGroup(f.bigGid);
  for (auto _ : state)
    f.page->Refresh();
}
BENCHMARK(BM_RefreshWholeBook)->Unit(benchmark::kMillisecond);

// A quick search that matches nothing: every contact is looked at.
void BM_SearchWithoutMatch(benchmark::State &state) {
  Fixture &f = Fixture::Get();
  f.page->SearchField()->setText("no such text");
  for (auto _ : state)
    f.page->Search();
}
BENCHMARK(BM_SearchWithoutMatch)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool released = benchui::AtExit(&Fixture::Release);

} // namespace

