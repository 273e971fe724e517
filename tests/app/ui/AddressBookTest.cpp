// The address books under the user interface: the background read that
// never blocks the window, its fill rules, its failure messages, and the
// start-up choice of the mail client.
#include "UiTestSupport.h"

#include "AddressBookLoader.h"
#include "ControlIds.h"
#include "MailRoutingDialog.h"

#include "engine/UserPrompt.h"
#include "shell/Settings.h"

#include <testsupport/TestEnv.h>

#include <QComboBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <condition_variable>
#include <mutex>

using contacts::AddressBookAccess;
using contacts::AddressBookRoute;
using contacts::AddressBookTree;
using contacts::ReadOutcome;
using contacts::ReadPlan;
using contacts::ReadResult;

namespace {

// A read that waits until the test lets it finish (or it is cancelled).
class GatedRead {
public:
  std::atomic<int> started{0};
  std::atomic<int> cancelled{0};
  ReadOutcome outcome = ReadOutcome::Read;

  ui::AddressBookLoader::ReadFunction Function() {
    return [this](const ReadPlan &plan, std::stop_token stop) {
      ++started;
      std::unique_lock lock(mutex_);
      changed_.wait(lock, stop, [&] { return open_; });
      if (stop.stop_requested()) ++cancelled;
      ReadResult result{plan.route, outcome, std::make_shared<AddressBookTree>()};
      auto &book = result.tree->Root().Add(contacts::AddressBookNode::Container(
          plan.route == AddressBookRoute::MailClient ? "Mail" : "Cards"));
      book.Add(contacts::AddressBookNode::Entry("Ann", "0821"));
      if (outcome == ReadOutcome::Read) result.tree->MarkRead();
      else result.tree = std::make_shared<AddressBookTree>();
      return result;
    };
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

private:
  std::mutex mutex_;
  std::condition_variable_any changed_;
  bool open_ = false;
};

std::unique_ptr<ui::AddressBookLoader> MakeLoader(shell::Settings &settings, GatedRead &read) {
  auto loader = std::make_unique<ui::AddressBookLoader>(
      contacts::AddressBookReader(AddressBookAccess()), &settings);
  loader->SetReadFunction(read.Function());
  return loader;
}

} // namespace

class AddressBookTest : public QObject {
  Q_OBJECT

private slots:
  void theWindowRunsWhileTheBookIsRead();
  void fillReadsOnlyWhenNeeded();
  void failedReadShowsItsMessage();
  void closingCancelsTheRead();
  void mailClientChoiceAtStartUp();
};

void AddressBookTest::theWindowRunsWhileTheBookIsRead() {
  shell::Settings settings;
  GatedRead read;
  auto loader = MakeLoader(settings, read);
  QSignalSpy ready(loader.get(), &ui::AddressBookLoader::TreeReady);
  int ticks = 0;
  QTimer timer;
  connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);

  loader->Fill(false);
  QTRY_COMPARE(read.started.load(), 1);
  QTRY_VERIFY(ticks >= 5); // the event loop keeps running during the read
  QVERIFY(loader->IsReading());
  QCOMPARE(ready.count(), 0);
  read.Open();
  QTRY_COMPARE(ready.count(), 1);
  auto tree = ready.at(0).at(0).value<std::shared_ptr<const AddressBookTree>>();
  QVERIFY(tree->IsRead());
  QCOMPARE(tree->Root().children.at(0).name, std::string("Cards"));
}

void AddressBookTest::fillReadsOnlyWhenNeeded() {
  shell::Settings settings;
  GatedRead read;
  read.Open();
  auto loader = MakeLoader(settings, read);
  QSignalSpy ready(loader.get(), &ui::AddressBookLoader::TreeReady);
  loader->Fill(false);
  QTRY_COMPARE(ready.count(), 1);

  // Read once per run; the same tree answers the next fill, later.
  loader->Fill(false);
  QCOMPARE(ready.count(), 1);
  QTRY_COMPARE(ready.count(), 2);
  QCOMPARE(read.started.load(), 1);

  // Rebuild reads again; so does a change of route.
  loader->Fill(true);
  QTRY_COMPARE(ready.count(), 3);
  QCOMPARE(read.started.load(), 2);
  settings.MAPI_AddressBook = true;
  loader->Fill(false);
  QTRY_COMPARE(ready.count(), 4);
  QCOMPARE(read.started.load(), 3);
  QCOMPARE(loader->Tree()->Root().children.at(0).name, std::string("Mail"));
}

void AddressBookTest::failedReadShowsItsMessage() {
  uitest::BoxRecorder boxes;
  shell::Settings settings;
  settings.MAPI_AddressBook = true;
  GatedRead read;
  read.outcome = ReadOutcome::OpenFailed;
  read.Open();
  auto loader = MakeLoader(settings, read);
  QSignalSpy ready(loader.get(), &ui::AddressBookLoader::TreeReady);
  loader->Fill(false);
  QTRY_COMPARE(ready.count(), 1);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Can not access Address Book"));
  QCOMPARE(boxes.Last().text, QString("Failed to open the mail client's address book. Make sure "
                                      "that you have one defined!"));
  QVERIFY(!loader->Tree()->IsRead());
  QVERIFY(loader->Tree()->Root().children.empty());

  settings.MAPI_AddressBook = false;
  loader->Fill(false);
  QTRY_COMPARE(ready.count(), 2);
  QCOMPARE(boxes.Last().text,
           QString("Failed to open your personal vCards. Make sure that you have some!"));
}

void AddressBookTest::closingCancelsTheRead() {
  shell::Settings settings;
  GatedRead read;
  auto loader = MakeLoader(settings, read);
  loader->Fill(false);
  QTRY_COMPARE(read.started.load(), 1);
  // A forced fill replaces the running read; closing cancels the new one.
  loader->Fill(true);
  QTRY_COMPARE(read.started.load(), 2);
  QTRY_COMPARE(read.cancelled.load(), 1);
  loader.reset();
  QCOMPARE(read.cancelled.load(), 2);
}

void AddressBookTest::mailClientChoiceAtStartUp() {
  std::vector<contacts::MailClient> clients{
      {"Evolution", "org.gnome.Evolution.desktop", contacts::MailClientKind::Evolution, {}},
      {"Thunderbird", "thunderbird.desktop", contacts::MailClientKind::Thunderbird, "/h"}};

  ui::MailRoutingDialog dialog({"Evolution", "Thunderbird"}, 1);
  auto *list = dialog.findChild<QComboBox *>(QString::number(ui::ids::kMailRoutingClient));
  QVERIFY(list);
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->currentText(), QString("Thunderbird"));
  QCOMPARE(list->accessibleName(), QString("Mail client:"));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto dir = testsupport::BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  dialog.grab().save(QString::fromStdString((dir / "mail-client-choice.png").string()));

  // OK takes the preselected client, the desktop's default handler.
  uitest::BoxRecorder boxes(engine::kAnswerYes);
  contacts::MailClientRegistry registry;
  AddressBookAccess access(clients, "thunderbird.desktop");
  QCOMPARE(ui::MailRoutingDialog::CheckRegistration(access, registry, false, nullptr),
           contacts::MailRouting::Outcome::Registered);
  QCOMPARE(registry.RegisteredClient().value_or(""), std::string("Thunderbird"));
  QCOMPARE(boxes.Last().caption, QString("Set up the mail client"));

  // Cancelled with no registration: the failure message.
  registry::Registry().DeleteKeyTree(registry::Hive::LocalMachine,
                                     contacts::MailClientRegistry::kMapiAppsKey);
  boxes.SetAnswer(engine::kAnswerNo);
  QCOMPARE(ui::MailRoutingDialog::CheckRegistration(access, registry, false, nullptr),
           contacts::MailRouting::Outcome::Failed);
  QCOMPARE(boxes.Count(), 3);
  QCOMPARE(boxes.Last().caption, QString("Mail client setup failed!"));
  QCOMPARE(boxes.Last().text, QString("Unable to set up the mail client for the address book. Your "
                                      "mail client address book option might not work correctly"));
}

DV_QTEST_MAIN(AddressBookTest)
#include "AddressBookTest.moc"
