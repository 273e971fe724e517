// The SMS page's mail-client node over the real address-book readers: the
// node filled from personal vCards, from a Thunderbird profile and from
// Evolution Data Server (in a session bus of the test's own), "Rebuild"
// from the tree's menu, another source read when the page is shown after
// the setting changed, the failure messages, a chosen entry sent as its
// number, and a picture of the tree with its three nodes filled.
#include "SmsPageFixture.h"

#include "AddressBookFixtures.h"

#include "AddressBookLoader.h"
#include "ContactTree.h"
#include "MainWindow.h"
#include "MessageEditor.h"
#include "QtMessagePoster.h"

#include <testsupport/PrivateSessionBus.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

#include <cstdlib>

using namespace smstest;
namespace fs = std::filesystem;

namespace {

constexpr int kEdsWaitMs = 60000;

// The node's children as text: one line per item, two blanks of indent per
// level.
QString NodeText(QTreeWidgetItem *node, int depth = 0) {
  QString text;
  for (int i = 0; i < node->childCount(); ++i) {
    text += QString(depth * 2, ' ') + node->child(i)->text(0) + "\n";
    text += NodeText(node->child(i), depth + 1);
  }
  return text;
}

QTreeWidgetItem *Find(QTreeWidgetItem *node, const QString &text) {
  for (int i = 0; i < node->childCount(); ++i) {
    if (node->child(i)->text(0) == text) return node->child(i);
    if (QTreeWidgetItem *found = Find(node->child(i), text)) return found;
  }
  return nullptr;
}

const char *const kAnn = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann Mobile\r\n"
                         "TEL;TYPE=HOME:011 111\r\nTEL;TYPE=CELL:082 111 2222\r\nEND:VCARD\r\n";
const char *const kBen = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ben\r\nFN:Ben Landline\r\n"
                         "TEL;TYPE=HOME:011 222\r\nEND:VCARD\r\n";
const char *const kTeam = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:team\r\nKIND:group\r\nFN:Team\r\n"
                          "MEMBER:urn:uuid:ann\r\nMEMBER:urn:uuid:ben\r\nEND:VCARD\r\n";

// The personal vCards where the desktop keeps them: a folder named
// "Personal" by its displayname file.
fs::path WriteVCards(const std::vector<std::string> &cards) {
  fs::path folder = fs::path(std::getenv("XDG_DATA_HOME")) / "contacts";
  fs::create_directories(folder);
  testsupport::WriteFile(folder / "displayname", "Personal\n");
  for (std::size_t i = 0; i < cards.size(); ++i)
    testsupport::WriteFile(folder / ("card" + std::to_string(i) + ".vcf"), cards[i]);
  return folder;
}

contacts::AddressBookAccess MailClient(contacts::MailClientKind kind, fs::path profileRoot = {}) {
  const bool thunderbird = kind == contacts::MailClientKind::Thunderbird;
  std::string desktopId = thunderbird ? "thunderbird.desktop" : "org.gnome.Evolution.desktop";
  return contacts::AddressBookAccess(
      {{thunderbird ? "Thunderbird" : "Evolution", desktopId, kind, std::move(profileRoot)}},
      desktopId);
}

const QString kThunderbirdNode = QString::fromUtf8("Personal Address Book\n"
                                                   "  Alice Ämmälä (+358401234567)\n"
                                                   "  Carol Cell (0401112222)\n"
                                                   "  Dave Legacy (+447700900123)\n"
                                                   "  Frank Live (+1999)\n"
                                                   "  Frank Live (+1999)\n"
                                                   "  Frank Live (+1999)\n"
                                                   "  Friends\n"
                                                   "    Alice Ämmälä (+358401234567)\n"
                                                   "    Carol Cell (0401112222)\n"
                                                   "Work Contacts\n"
                                                   "  Erin Work (+49151000)\n"
                                                   "  Erin Work (+49151111)\n"
                                                   "Collected Addresses\n");

// An SMS page whose address-book node reads through a real loader.
struct Books {
  explicit Books(contacts::AddressBookAccess access = {})
      : loader(contacts::AddressBookReader(std::move(access)), &f.settings),
        ready(&loader, &ui::AddressBookLoader::TreeReady) {
    f.addressBooks = &loader;
  }
  // The page shown (its first fill asked for).
  ui::SmsPage &Show() { return f.Make(); }
  // Waits for the answer to the `n`th fill.
  bool Filled(int n, int timeoutMs = 10000) {
    return QTest::qWaitFor([&] { return ready.count() >= n; }, timeoutMs);
  }
  QTreeWidgetItem *Node() const { return f.page->Tree()->AddressBookNode(); }

  Fixture f;
  ui::AddressBookLoader loader;
  QSignalSpy ready;
};

// What the Options page's data-source radios write.
void ChooseMailClient(shell::Settings &settings, bool on) {
  auto hold = shell::LockSettings(settings);
  settings.MAPI_AddressBook = on;
}

} // namespace

class SmsAddressBookTest : public QObject {
  Q_OBJECT

private slots:
  void vCardsWithoutLandlinesAndWithTheirGroup();
  void thunderbirdEntryIsSentAsItsNumber();
  void evolutionDataServerBooks();
  void rebuildFromTheTreeMenuReadsAgain();
  void changedSourceIsReadWhenThePageIsShown();
  void failedReadsShowTheirMessages();
  void pictureOfTheThreeNodes();
};

void SmsAddressBookTest::vCardsWithoutLandlinesAndWithTheirGroup() {
  WriteVCards({kAnn, kBen, kTeam});
  Books books;
  ui::SmsPage &page = books.Show();
  QVERIFY(books.Filled(1));
  QCOMPARE(NodeText(books.Node()), QString("Personal\n"
                                           "  Ann Mobile (0821112222)\n"
                                           "  Team\n"
                                           "    Ann Mobile (0821112222)\n"));
  // The whole book checked: Ann, there twice, is one destination.
  books.Node()->child(0)->setCheckState(0, Qt::Checked);
  QCOMPARE(Find(books.Node(), "Team")->checkState(0), Qt::Checked);
  QCoreApplication::processEvents();
  QCOMPARE(page.Model()->ToText(), std::string(",0821112222"));
  QCOMPARE(page.RecipientCount()->text(), QString("Recipients: 1"));
}

void SmsAddressBookTest::thunderbirdEntryIsSentAsItsNumber() {
  uitest::BoxRecorder boxes;
  const fs::path root = abtest::BuildThunderbirdProfiles();
  QVERIFY(!root.empty());
  Books books(MailClient(contacts::MailClientKind::Thunderbird, root));
  books.f.settings.MAPI_AddressBook = true;
  ui::SmsPage &page = books.Show();
  QVERIFY(books.Filled(1));
  QCOMPARE(NodeText(books.Node()), kThunderbirdNode);

  Find(books.Node(), "Carol Cell (0401112222)")->setCheckState(0, Qt::Checked);
  Type(page.Editor(), "See you at six");
  QCOMPARE(page.Send(), compose::SendOutcome::Queued);
  QCOMPARE(boxes.Count(), 0);
  QCOMPARE(books.f.Row(books.f.queuer.ids.at(0)).To, std::string(",0401112222"));
}

void SmsAddressBookTest::evolutionDataServerBooks() {
  if (!abtest::EdsDaemonsInstalled()) QSKIP("Evolution Data Server's daemons are not installed");
  if (!testsupport::InPrivateSessionBus()) QSKIP("dbus-run-session is not installed");
  QCOMPARE(abtest::SeedEds({kAnn, kBen,
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:team\r\nFN:Team\r\n"
                            "X-EVOLUTION-LIST:TRUE\r\n"
                            "EMAIL;X-EVOLUTION-DEST-CONTACT-UID=ann:ann@example.org\r\n"
                            "EMAIL;X-EVOLUTION-DEST-CONTACT-UID=ben:ben@example.org\r\n"
                            "END:VCARD\r\n"}),
           std::string());
  Books books(MailClient(contacts::MailClientKind::Evolution));
  books.f.settings.MAPI_AddressBook = true;
  books.Show();
  QVERIFY(books.Filled(1, kEdsWaitMs));
  QCOMPARE(NodeText(books.Node()), QString("Personal\n"
                                           "  Ann Mobile (0821112222)\n"
                                           "  Team\n"
                                           "    Ann Mobile (0821112222)\n"));
}

void SmsAddressBookTest::rebuildFromTheTreeMenuReadsAgain() {
  const fs::path folder = WriteVCards({kAnn});
  Books books;
  ui::SmsPage &page = books.Show();
  QVERIFY(books.Filled(1));
  Find(books.Node(), "Ann Mobile (0821112222)")->setCheckState(0, Qt::Checked);
  testsupport::WriteFile(folder / "new.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cy New\r\n"
                                             "TEL;TYPE=CELL:083 333\r\nEND:VCARD\r\n");

  // A right click on the node and "Rebuild" from its menu.
  ui::ContactTree *tree = page.Tree();
  const QPoint at = tree->visualItemRect(books.Node()).center();
  QTimer::singleShot(0, [] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QString("Tree"));
    QAction *rebuild = menu->actions().at(0);
    QCOMPARE(rebuild->text(), QString("Rebuild"));
    QVERIFY(rebuild->isEnabled());
    QVERIFY(!menu->actions().at(1)->isEnabled()); // "Clear" is the recent node's
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(rebuild).center());
  });
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(tree->viewport(), &click);

  QVERIFY(books.Filled(2));
  QCOMPARE(NodeText(books.Node()), QString("Personal\n"
                                           "  Ann Mobile (0821112222)\n"
                                           "  Cy New (083333)\n"));
  QCOMPARE(page.Model()->ToText(), std::string());
}

void SmsAddressBookTest::changedSourceIsReadWhenThePageIsShown() {
  WriteVCards({kAnn});
  const fs::path root = abtest::BuildThunderbirdProfiles();
  QVERIFY(!root.empty());
  Books books(MailClient(contacts::MailClientKind::Thunderbird, root));
  ui::SmsPage &page = books.Show();
  QVERIFY(books.Filled(1));
  QCOMPARE(books.Node()->child(0)->text(0), QString("Personal"));

  // Shown again with the same source: the node and its checks stay.
  Find(books.Node(), "Ann Mobile (0821112222)")->setCheckState(0, Qt::Checked);
  page.Activated();
  QTest::qWait(50);
  QCOMPARE(books.ready.count(), 1);
  QCOMPARE(page.Model()->ToText(), std::string(",0821112222"));

  // The Options page chose the mail client: the next showing reads it.
  ChooseMailClient(books.f.settings, true);
  page.Activated();
  QVERIFY(books.Filled(2));
  QCOMPARE(NodeText(books.Node()), kThunderbirdNode);
  QCOMPARE(page.Model()->ToText(), std::string());
  ChooseMailClient(books.f.settings, false);
  page.Activated();
  QVERIFY(books.Filled(3));
  QCOMPARE(books.Node()->child(0)->text(0), QString("Personal"));
}

void SmsAddressBookTest::failedReadsShowTheirMessages() {
  uitest::BoxRecorder boxes;
  const fs::path root = abtest::BuildThunderbirdProfiles();
  QVERIFY(!root.empty());
  Books books(MailClient(contacts::MailClientKind::Thunderbird, root));
  books.f.settings.Outlook_Name = "nobody"; // no such profile
  // No personal vCards anywhere.
  ui::SmsPage &page = books.Show();
  QVERIFY(books.Filled(1));
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Can not access Address Book"));
  QCOMPARE(boxes.Last().text,
           QString("Failed to open your personal vCards. Make sure that you have some!"));
  QCOMPARE(books.Node()->childCount(), 0);

  ChooseMailClient(books.f.settings, true);
  page.Activated();
  QVERIFY(books.Filled(2));
  QCOMPARE(boxes.Count(), 2);
  QCOMPARE(boxes.Last().text, QString("Failed to open the mail client's address book. Make "
                                      "sure that you have one defined!"));
  QCOMPARE(books.Node()->childCount(), 0);
}

void SmsAddressBookTest::pictureOfTheThreeNodes() {
  WriteVCards({kAnn, kBen, kTeam,
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:cy\r\nFN:Cy Moe\r\nTEL;TYPE=CELL:083 333 "
               "4444\r\nEND:VCARD\r\n"});
  Books books;
  Fixture &f = books.f;
  const int friends = f.AddGroup("Friends");
  f.AddContact("Dee", "Lee", "0821000001", {1, friends});
  f.AddContact("Eve", "Marsh", "0821000002", {1, friends});
  f.recent.Add("Fay", "", "0829990002");
  f.recent.Add("", "", "0829990001");
  ui::QtMessagePoster poster;
  // The SMS page is shown after the login: its first fill.
  std::unique_ptr<ui::MainWindow> window = f.ShowWindow(poster);
  QVERIFY(books.Filled(1));
  ui::ContactTree *tree = window->Sms()->Tree();
  QCOMPARE(tree->AddressBookNode()->text(0), QString("MAIL CLIENT"));
  QCOMPARE(tree->RecentNode()->text(0), QString("RECENT"));
  tree->OwnNode()->child(0)->setExpanded(true);
  tree->AddressBookNode()->child(0)->setExpanded(true);
  Find(tree->AddressBookNode(), "Cy Moe (0833334444)")->setCheckState(0, Qt::Checked);
  QCoreApplication::processEvents();

  auto dir = testsupport::BuildDir() / "screenshots";
  fs::create_directories(dir);
  QVERIFY(window->grab().save(QString::fromStdString((dir / "sms-contact-tree.png").string())));
  // The tree alone, tall and wide enough for all its rows.
  tree->setFixedSize(300, tree->sizeHintForRow(0) * 18 + 8);
  QVERIFY(tree->grab().save(QString::fromStdString((dir / "sms-contact-tree-rows.png").string())));
}

int main(int argc, char **argv) {
  if (int rc = testsupport::RunInPrivateSessionBus(argc, argv); rc >= 0) return rc;
  return uitest::RunQtTest(argc, argv, [](int c, char **v) {
    SmsAddressBookTest test;
    return QTest::qExec(&test, c, v);
  });
}

#include "SmsAddressBookTest.moc"
