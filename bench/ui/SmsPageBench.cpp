// The SMS page with a large address book, on Qt's offscreen platform: a
// switch to the page (the contact tree refilled), a check of a whole group
// (every member checked, the recipients counted), and a desktop address
// book read elsewhere shown under the tree's "MAIL CLIENT" node.
#include "ContactTree.h"
#include "SmsPage.h"

#include "contacts/AddressBookTree.h"
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

// A book of N entries in one container and a list of 50 of them, as the
// loader hands it over: the UI thread's share of showing a desktop book.
void BM_ShowAddressBook(benchmark::State &state) {
  Book book(0);
  const int entries = static_cast<int>(state.range(0));
  contacts::AddressBookNode root;
  root.kind = contacts::AddressBookNode::Kind::Root;
  contacts::AddressBookNode &books = root.Add(contacts::AddressBookNode::Container("Personal"));
  for (int i = 0; i < entries; ++i)
    books.Add(contacts::AddressBookNode::Entry("Person " + std::to_string(i),
                                               "0821" + std::to_string(100000 + i)));
  contacts::AddressBookNode &list = root.Add(contacts::AddressBookNode::List("Team"));
  for (int i = 0; i < 50; ++i)
    list.Add(contacts::AddressBookNode::Entry("Person " + std::to_string(i),
                                              "0821" + std::to_string(100000 + i)));
  for (auto _ : state) {
    book.page->Tree()->ShowAddressBook(root);
    QCoreApplication::processEvents();
  }
  state.counters["entries"] = static_cast<double>(root.EntryCount());
}
BENCHMARK(BM_ShowAddressBook)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

