#include "AddressBookFixtures.h"

#include <testsupport/TestEnv.h>

#include <libebook/libebook.h>
#include <sqlite3.h>

namespace abtest {

namespace fs = std::filesystem;

namespace {

std::string Sample(const std::string &relative) {
  return std::string(DV_ADDRESS_BOOK_SAMPLES) + "/" + relative;
}

std::string Failure(GError *error) {
  std::string text = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return text;
}

} // namespace

std::string BuildThunderbirdBook(const std::string &sample, const fs::path &file) {
  std::string sql = testsupport::ReadFile(Sample("thunderbird/" + sample));
  if (sql.empty()) return "no sample " + sample;
  sql += "PRAGMA user_version=4; PRAGMA journal_mode=WAL;";
  sqlite3 *db = nullptr;
  std::string problem;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK ||
      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    problem = sqlite3_errmsg(db);
  sqlite3_close(db);
  return problem;
}

fs::path BuildThunderbirdProfiles() {
  fs::path root = testsupport::MakeTempDir("tb") / ".thunderbird";
  fs::path profile = root / "j5ll15jc.default-default";
  fs::create_directories(profile);
  fs::create_directories(root / "nn067t27.default");
  fs::copy_file(Sample("thunderbird/profiles.ini"), root / "profiles.ini");
  fs::copy_file(Sample("thunderbird/prefs-ldap_2.js"), profile / "prefs.js");
  for (const char *book : {"abook", "abook-1", "history"})
    if (!BuildThunderbirdBook(std::string(book) + ".sql", profile / (std::string(book) + ".sqlite"))
             .empty())
      return {};
  return root;
}

bool EdsDaemonsInstalled() {
  return fs::exists("/usr/libexec/evolution-source-registry") &&
         fs::exists("/usr/libexec/evolution-addressbook-factory");
}

std::string SeedEds(const std::vector<std::string> &cards) {
  GError *error = nullptr;
  ESourceRegistry *registry = e_source_registry_new_sync(nullptr, &error);
  if (!registry) return Failure(error);
  ESource *source = e_source_registry_ref_builtin_address_book(registry);
  EClient *client = e_book_client_connect_sync(source, static_cast<guint32>(-1), nullptr, &error);
  std::string problem;
  if (!client) {
    problem = Failure(error);
  } else {
    GSList *contacts = nullptr;
    for (const std::string &card : cards)
      contacts = g_slist_append(contacts, e_contact_new_from_vcard(card.c_str()));
    if (!e_book_client_add_contacts_sync(E_BOOK_CLIENT(client), contacts,
                                         E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr, &error))
      problem = Failure(error);
    g_slist_free_full(contacts, g_object_unref);
    g_object_unref(client);
  }
  g_object_unref(source);
  g_object_unref(registry);
  return problem;
}

} // namespace abtest

// The data server's client library keeps its bus objects to the end of the
// process; leak checkers are told so (with whole stacks: GLib has no frame
// pointers to walk).
extern "C" const char *__asan_default_options() {
  return "fast_unwind_on_malloc=0";
}
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libedataserver-1.2.so\nleak:libedata-book-1.2.so\n";
}
