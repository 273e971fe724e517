// Thunderbird's address books: a profile built from the samples in
// address-books/thunderbird (SQLite files with user_version 4 in WAL mode),
// a book held locked by a running mail client, and the choice of profile.
#include "AddressBookFixtures.h"
#include "TreeText.h"

#include "contacts/ForeignDatabase.h"
#include "contacts/ThunderbirdPrefs.h"
#include "contacts/ThunderbirdProfiles.h"
#include "contacts/ThunderbirdSource.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

using contacts::AddressBookTree;
using contacts::ForeignDatabase;
using contacts::ReadOutcome;
using contacts::ThunderbirdPrefs;
using contacts::ThunderbirdProfiles;
using contacts::ThunderbirdSource;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FolderListing(const fs::path &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace

TEST(Thunderbird, TheDefaultProfilesBooksListsAndLegacyCards) {
  fs::path root = abtest::BuildThunderbirdProfiles();
  ASSERT_FALSE(root.empty());
  AddressBookTree tree;
  ThunderbirdSource source({root}, "");
  ASSERT_EQ(source.Read(tree.Root(), {}), ReadOutcome::Read);
  // Bob has no mobile; Dave's card was converted from one that had only a
  // mobile number, which it keeps as a TEL without a type.
  EXPECT_EQ(TreeText(tree.Root()), "root\n"
                                   "  Personal Address Book\n"
                                   "    Alice Ämmälä = +358401234567\n"
                                   "    Carol Cell = 0401112222\n"
                                   "    Dave Legacy = +447700900123\n"
                                   "    Frank Live = +1999\n"
                                   "    Frank Live = +1999\n"
                                   "    Frank Live = +1999\n"
                                   "    [Friends]\n"
                                   "      Alice Ämmälä = +358401234567\n"
                                   "      Carol Cell = 0401112222\n"
                                   "  Work Contacts\n"
                                   "    Erin Work = +49151000\n"
                                   "    Erin Work = +49151111\n"
                                   "  Collected Addresses\n");

  // Another profile by name; an unknown name opens nothing.
  AddressBookTree other;
  EXPECT_EQ(ThunderbirdSource({root}, "default").Read(other.Root(), {}), ReadOutcome::Read);
  EXPECT_EQ(TreeText(other.Root()), "root\n");
  EXPECT_EQ(ThunderbirdSource({root}, "nobody").Read(other.Root(), {}), ReadOutcome::OpenFailed);
}

TEST(Thunderbird, CardsWithoutAVCardUseTheirCellularNumber) {
  fs::path file = testsupport::MakeTempDir("old") / "abook.sqlite";
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
                         "INSERT INTO properties VALUES('1','FirstName','Old'),"
                         "('1','LastName','Card'),('1','CellularNumber','082 123'),"
                         "('2','DisplayName','Home Only'),('2','HomePhone','011');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  bool ok = false;
  auto book = ThunderbirdSource::ReadBook(file, "Old Book", &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(TreeText(book), "Old Book\n  Old Card = 082123\n");
}

TEST(Thunderbird, ALockedBookIsReadFromAPrivateCopyWithItsLog) {
  fs::path root = abtest::BuildThunderbirdProfiles();
  ASSERT_FALSE(root.empty());
  fs::path profile = root / "j5ll15jc.default-default";
  fs::path file = profile / "abook.sqlite";

  // A child holds the book the way a running mail client does: exclusively
  // locked, with a new card only in its write-ahead log.
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    close(done[1]);
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    int rc = sqlite3_exec(db,
                          "PRAGMA locking_mode=EXCLUSIVE;"
                          "INSERT INTO properties VALUES('g','DisplayName','Gina Locked'),"
                          "('g','_vCard','BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Gina Locked\r\n"
                          "TEL;TYPE=cell:+27 82 000\r\nEND:VCARD\r\n');",
                          nullptr, nullptr, nullptr);
    char c = rc == SQLITE_OK ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    (void)!read(done[0], &c, 1);
    _exit(0);
  }
  close(ready[1]);
  close(done[0]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  auto before = FolderListing(profile);

  bool copied = false;
  auto count = [](sqlite3 *db) {
    return sqlite3_exec(db, "SELECT count(*) FROM properties", nullptr, nullptr, nullptr) ==
           SQLITE_OK;
  };
  EXPECT_TRUE(ForeignDatabase::Read(file, count, &copied));
  EXPECT_TRUE(copied);
  bool ok = false;
  auto book = ThunderbirdSource::ReadBook(file, "Book", &ok);
  EXPECT_TRUE(ok);
  EXPECT_NE(TreeText(book).find("Gina Locked = +2782000"), std::string::npos);
  EXPECT_EQ(FolderListing(profile), before);

  close(done[1]);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
}

TEST(Thunderbird, ProfileChoice) {
  std::string ini = testsupport::ReadFile(AddressBookSample("thunderbird/profiles.ini"));
  fs::path root = "/home/u/.thunderbird";
  // No name: the installation's default, before the legacy Default=1.
  EXPECT_EQ(ThunderbirdProfiles::Choose(ini, root, "")->folder, root / "j5ll15jc.default-default");
  EXPECT_EQ(ThunderbirdProfiles::Choose(ini, root, "default")->folder, root / "nn067t27.default");
  EXPECT_FALSE(ThunderbirdProfiles::Choose(ini, root, "Default").has_value());
  std::string legacy = "[Profile0]\nName=a\nPath=a.a\n[Profile1]\nName=b\nIsRelative=0\n"
                       "Path=/srv/b.b\nDefault=1\n";
  EXPECT_EQ(ThunderbirdProfiles::Choose(legacy, root, "")->folder, "/srv/b.b");
  EXPECT_EQ(ThunderbirdProfiles::Choose("[Profile0]\nName=a\nPath=a.a\n", root, "")->folder,
            root / "a.a");

  // The profile folders of the native, snap and flatpak installations.
  fs::path home = testsupport::MakeTempDir("home");
  fs::create_directories(home / ".var/app/org.mozilla.Thunderbird/.thunderbird");
  testsupport::WriteFile(home / ".var/app/org.mozilla.Thunderbird/.thunderbird/profiles.ini", ini);
  EXPECT_EQ(ThunderbirdProfiles::Roots(home),
            (std::vector<fs::path>{home / ".thunderbird", home / "snap/thunderbird/common/.thunderbird",
                                   home / ".var/app/org.mozilla.Thunderbird/.thunderbird"}));
  EXPECT_EQ(ThunderbirdProfiles::ExistingRoots(home),
            (std::vector<fs::path>{home / ".var/app/org.mozilla.Thunderbird/.thunderbird"}));
}

TEST(Thunderbird, PrefsNameTheBooksInsideTheProfileOnly) {
  auto books = ThunderbirdPrefs::Books(
      "user_pref(\"ldap_2.servers.pab.description\", \"Mine \\u00e9\");\n"
      "user_pref(\"ldap_2.servers.dav.dirType\", 102);\n"
      "user_pref(\"ldap_2.servers.dav.filename\", \"abook-2.sqlite\");\n"
      "user_pref(\"ldap_2.servers.dav.description\", \"Shared\");\n"
      "user_pref(\"ldap_2.servers.evil.dirType\", 101);\n"
      "user_pref(\"ldap_2.servers.evil.filename\", \"../../.ssh/x\");\n"
      "user_pref(\"ldap_2.servers.ldap.dirType\", 0);\n"
      "user_pref(\"ldap_2.servers.ldap.filename\", \"ldap.sqlite\");\n");
  ASSERT_EQ(books.size(), 3u);
  EXPECT_EQ(books[0].name, "Mine \xC3\xA9");
  EXPECT_EQ(books[0].fileName, "abook.sqlite");
  EXPECT_EQ(books[1].name, "Shared");
  EXPECT_EQ(books[2].fileName, "history.sqlite");
}
