// The SMS page with a large address book, on Qt's offscreen platform: a
// switch to the page (the contact tree refilled) and a check of a whole
// group (every member checked, the recipients counted).
#include "ContactTree.h"
#include "SmsPage.h"

#include "store/ContactRecord.h"
#include "store/SmsStore.h"

#include "BenchUiMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Book {
  fs::path dir;
  std::unique_ptr<store::SmsStore> store;
  std::unique_ptr<ui::SmsPage> page;

  explicit Book(int members) {
    std::string pattern = (fs::temp_directory_path() / "bench_ui.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir = pattern;
    store = std::make_unique<store::SmsStore>(dir.string());
    const int gid = store->GroupAt(store->AddGroup("Big"))->GID;
    const int groups[] = {1, gid};
    for (int i = 0; i < members; ++i) {
      store::ContactRecord record;
      record.SetName("Name" + std::to_string(i));
      record.SetSurname("Surname");
      record.SetMobile("0821" + std::to_string(100000 + i));
      record.groupIds = groups;
      record.groupCount = 2;
      store->AddContact(record);
    }
    ui::UiContext context;
    context.store = store.get();
    page = std::make_unique<ui::SmsPage>(context);
  }
  ~Book() {
    page.reset();
    store.reset();
    fs::remove_all(dir);
  }
};

void BM_SwitchToPage(benchmark::State &state) {
  Book book(static_cast<int>(state.range(0)));
  for (auto _ : state)
    book.page->Activated();
}
BENCHMARK(BM_SwitchToPage)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_CheckGroup(benchmark::State &state) {
  Book book(static_cast<int>(state.range(0)));
  QTreeWidgetItem *group = book.page->Tree()->OwnNode()->child(0);
  bool on = false;
  for (auto _ : state) {
    on = !on;
    group->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    QCoreApplication::processEvents(); // the selection settles
  }
}
BENCHMARK(BM_CheckGroup)->Arg(3000)->Unit(benchmark::kMillisecond);

} // namespace

