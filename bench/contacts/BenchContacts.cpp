// Reading 5,000 contacts into the address-book tree from a folder of vCards,
// from a Thunderbird book and from Evolution Data Server (target: under a
// second each). The data server runs in a private session bus with its own
// home folder, so the user's address book is never touched.
#include "contacts/EdsSource.h"
#include "contacts/ThunderbirdSource.h"
#include "contacts/VCardSource.h"

#include <testsupport/PrivateSessionBus.h>

#include <benchmark/benchmark.h>
#include <libebook/libebook.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kContacts = 5000;

fs::path TempRoot() {
  static fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "bench_contacts.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  return root;
}

std::string Card(int i, const char *version = "3.0") {
  return "BEGIN:VCARD\r\nVERSION:" + std::string(version) + "\r\nUID:card-" + std::to_string(i) +
         "\r\nFN:Contact Number " + std::to_string(i) + "\r\nN:Number " + std::to_string(i) +
         ";Contact;;;\r\nTEL;TYPE=CELL:+27 82 " + std::to_string(1000000 + i) +
         "\r\nTEL;TYPE=HOME:011 " + std::to_string(2000000 + i) +
         "\r\nEMAIL:c" + std::to_string(i) + "@example.org\r\nEND:VCARD\r\n";
}

void Check(benchmark::State &state, const contacts::AddressBookTree &tree) {
  if (tree.Root().EntryCount() != kContacts) state.SkipWithError("wrong number of entries");
}

void BM_VCardFolder(benchmark::State &state) {
  fs::path folder = TempRoot() / "vdir";
  if (!fs::exists(folder)) {
    fs::create_directories(folder);
    for (int i = 0; i < kContacts; ++i)
      std::ofstream(folder / ("card-" + std::to_string(i) + ".vcf")) << Card(i);
  }
  for (auto _ : state) {
    contacts::AddressBookTree tree;
    contacts::VCardSource({folder}).Read(tree.Root(), {});
    Check(state, tree);
  }
}
BENCHMARK(BM_VCardFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThunderbirdBook(benchmark::State &state) {
  fs::path file = TempRoot() / "abook.sqlite";
  if (!fs::exists(file)) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=WAL; PRAGMA user_version=4;"
                 "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
                 "CREATE TABLE lists (uid TEXT PRIMARY KEY, name TEXT, nickName TEXT, "
                 "description TEXT);"
                 "CREATE TABLE list_cards (list TEXT, card TEXT, PRIMARY KEY(list, card));"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO properties VALUES (?, ?, ?)", -1, &insert, nullptr);
    for (int i = 0; i < kContacts; ++i) {
      std::string uid = "card-" + std::to_string(i);
      for (auto [name, value] : {std::pair<std::string, std::string>{"_vCard", Card(i, "4.0")},
                                 {"DisplayName", "Contact Number " + std::to_string(i)},
                                 {"PopularityIndex", "0"}}) {
        sqlite3_bind_text(insert, 1, uid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, value.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
      }
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  for (auto _ : state) {
    contacts::AddressBookTree tree;
    tree.Root().Add(contacts::ThunderbirdSource::ReadBook(file, "Personal Address Book"));
    Check(state, tree);
  }
}
BENCHMARK(BM_ThunderbirdBook)->Unit(benchmark::kMillisecond)->Iterations(3);

bool SeedDataServer() {
  GError *error = nullptr;
  ESourceRegistry *registry = e_source_registry_new_sync(nullptr, &error);
  if (!registry) return false;
  ESource *source = e_source_registry_ref_builtin_address_book(registry);
  EClient *client = e_book_client_connect_sync(source, static_cast<guint32>(-1), nullptr, &error);
  bool ok = client != nullptr;
  if (ok) {
    GSList *cards = nullptr;
    for (int i = 0; i < kContacts; ++i)
      cards = g_slist_prepend(cards, e_contact_new_from_vcard(Card(i).c_str()));
    ok = e_book_client_add_contacts_sync(E_BOOK_CLIENT(client), cards, E_BOOK_OPERATION_FLAG_NONE,
                                         nullptr, nullptr, &error);
    g_slist_free_full(cards, g_object_unref);
    g_object_unref(client);
  }
  g_clear_error(&error);
  g_object_unref(source);
  g_object_unref(registry);
  return ok;
}

void BM_EvolutionDataServer(benchmark::State &state) {
  if (!testsupport::InPrivateSessionBus() || !contacts::EdsSource::RegistryAvailable()) {
    state.SkipWithError("no private session bus with Evolution Data Server");
    return;
  }
  static bool seeded = SeedDataServer();
  if (!seeded) {
    state.SkipWithError("could not add the contacts to the data server");
    return;
  }
  for (auto _ : state) {
    contacts::AddressBookTree tree;
    contacts::EdsSource("").Read(tree.Root(), {});
    Check(state, tree);
  }
}
BENCHMARK(BM_EvolutionDataServer)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
  if (int rc = testsupport::RunInPrivateSessionBus(argc, argv); rc >= 0) return rc;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(TempRoot(), ec);
  return 0;
}
