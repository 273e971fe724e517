// Evolution Data Server's books, read through a private session bus: a book
// seeded with contacts with and without mobile numbers and a contact list.
// Skipped only where the data server's daemons are not installed.
#include "AddressBookFixtures.h"
#include "TreeText.h"

#include "contacts/EdsSource.h"

#include <testsupport/PrivateSessionBus.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace testsupport {
void InitSandbox();
void CleanupSandbox();
} // namespace testsupport

using contacts::AddressBookTree;
using contacts::EdsSource;
using contacts::ReadOutcome;

TEST(EvolutionDataServer, BooksContactsAndListsIntoTheTree) {
  if (!abtest::EdsDaemonsInstalled())
    GTEST_SKIP() << "Evolution Data Server's daemons are not installed";
  ASSERT_TRUE(testsupport::InPrivateSessionBus()) << "dbus-run-session is missing";
  ASSERT_TRUE(EdsSource::RegistryAvailable());
  ASSERT_EQ(abtest::SeedEds(
                {"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:a-ann\r\nFN:Ann Mobile\r\n"
                 "TEL;TYPE=HOME:011 111\r\nTEL;TYPE=CELL:082 111 2222\r\n"
                 "TEL;TYPE=CELL,PREF:+27 83 000 0000\r\nEND:VCARD\r\n",
                 "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:b-ben\r\nFN:Ben Landline\r\n"
                 "TEL;TYPE=HOME:011 222\r\nEND:VCARD\r\n",
                 "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:c-team\r\nFN:Team\r\nX-EVOLUTION-LIST:TRUE\r\n"
                 "EMAIL;X-EVOLUTION-DEST-CONTACT-UID=a-ann:ann@example.org\r\n"
                 "EMAIL;X-EVOLUTION-DEST-CONTACT-UID=b-ben:ben@example.org\r\nEND:VCARD\r\n"}),
            "");

  AddressBookTree tree;
  ASSERT_EQ(EdsSource("").Read(tree.Root(), {}), ReadOutcome::Read);
  EXPECT_EQ(TreeText(tree.Root()), "root\n"
                                   "  Personal\n"
                                   "    Ann Mobile = +27830000000\n"
                                   "    Ann Mobile = 0821112222\n"
                                   "    [Team]\n"
                                   "      Ann Mobile = +27830000000\n"
                                   "      Ann Mobile = 0821112222\n");

  // The local books belong to "On This Computer"; another name has none.
  AddressBookTree local;
  EXPECT_EQ(EdsSource("on this computer").Read(local.Root(), {}), ReadOutcome::Read);
  EXPECT_EQ(local.Root().EntryCount(), 4u);
  EXPECT_EQ(EdsSource("Work Account").Read(local.Root(), {}), ReadOutcome::OpenFailed);
}

// GLib and the data server's libraries are not built with the thread
// sanitizer: the hand-offs between their threads are invisible to it, and
// a lock it did not see taken looks unlocked when they release it. This
// program's own code takes no lock.
extern "C" const char *__tsan_default_suppressions() {
  return "called_from_lib:libglib-2.0.so.0\ncalled_from_lib:libgio-2.0.so.0\n"
         "called_from_lib:libgobject-2.0.so.0\ncalled_from_lib:libedataserver-1.2.so.27\n"
         "called_from_lib:libebook-1.2.so.21\ncalled_from_lib:libebook-contacts-1.2.so.4\n"
         "mutex:pthread_mutex_unlock\n"
         "race:libglib-2.0.so.0\nrace:libgio-2.0.so.0\nrace:libgobject-2.0.so.0\n";
}

int main(int argc, char **argv) {
  if (int rc = testsupport::RunInPrivateSessionBus(argc, argv); rc >= 0) return rc;
  testsupport::InitSandbox();
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  testsupport::CleanupSandbox();
  return rc;
}
