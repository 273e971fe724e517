// A message written and addressed on the SMS page reaches the gateway
// simulator through the real communications worker and the real Parlink
// library, and ends Delivered.
#include "SmsPageFixture.h"

#include "ContactTree.h"
#include "MessageEditor.h"
#include "OutboxPage.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "RecipientsList.h"

#include "engine/CommsWorker.h"
#include "engine/EngineServices.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"
#include "engine/ManualClock.h"
#include "shell/LogWriter.h"
#include "shell/StringTable.h"

#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace smstest;

namespace {

class NoLog : public shell::LogWriter {
public:
  void WriteEntry(std::string_view) override {}
};

QTreeWidgetItem *Child(QTreeWidgetItem *node, const QString &textStart) {
  for (int i = 0; i < node->childCount(); ++i)
    if (node->child(i)->text(0).startsWith(textStart)) return node->child(i);
  return nullptr;
}

} // namespace

class SmsSendTest : public QObject {
  Q_OBJECT

private slots:
  void typedNumbersGroupAndRecentEndDelivered();
};

void SmsSendTest::typedNumbersGroupAndRecentEndDelivered() {
  uitest::BoxRecorder boxes;
  QString error;
  QVERIFY2(uitest::RegisterParlink(&error), qPrintable(error));
  gatewaysim::SimOptions options;
  options.speed = 0;
  options.startTimeMs = kNow * 1000;
  options.seeded = true;
  options.threads = 4;
  gatewaysim::GatewaySimServer sim(options);
  std::string simError;
  QVERIFY2(sim.Start(&simError), simError.c_str());
  std::unique_ptr<engine::GatewayBinding> gateway = engine::GatewayBinding::Create();
  QVERIFY(gateway);
  const std::string url = sim.BaseUrl();
  std::string result;
  QVERIFY(SUCCEEDED(gateway->SetBaseURL(
      false, url.c_str(), parlink::BaseUrlKey(static_cast<uint32_t>(url.size())), &result)));
  shell::StringTable strings;
  QVERIFY(engine::LoginOperation::Login(*gateway, "DVTX", "demo", "demo123", nullptr, strings).ok);

  Fixture f;
  f.settings.Login = "demo";
  f.settings.Password = "demo123";
  const int friends = f.AddGroup("Friends");
  const int work = f.AddGroup("Work");
  const int ann = f.AddContact("Ann", "Lee", "0821000001", {1, friends});
  const int bob = f.AddContact("Bob", "", "0821000002", {1, friends, work});
  f.recent.Add("", "", "0829990001");

  engine::ManualClock clock(kNow * 1000);
  NoLog log;
  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt(qApp);
  ui::QtOutboxRebuilder rebuilder;
  engine::EngineServices services;
  services.store = &f.store;
  services.gateway = gateway.get();
  services.settings = &f.settings;
  services.strings = &strings;
  services.log = &log;
  services.poster = &poster;
  services.prompt = &prompt;
  services.outbox = &rebuilder;
  services.clock = &clock;
  engine::CommsWorker worker(services);
  QVERIFY(worker.Start());
  QVERIFY(worker.WaitUntilIdle());

  ui::SmsPage &page = f.Make(&worker);
  // Two typed numbers, the group "Friends", the recent number.
  for (const char *number : {"0831110001", "0831110002"}) {
    page.RecipientList()->EditEntryRow();
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, number);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }
  Child(page.Tree()->OwnNode(), "Friends")->setCheckState(0, Qt::Checked);
  QCOMPARE(Child(page.Tree()->OwnNode(), "Work")->checkState(0), Qt::Checked);
  page.Tree()->RecentNode()->child(0)->setCheckState(0, Qt::Checked);
  Type(page.Editor(), "See you at eight");
  QCoreApplication::processEvents();
  QCOMPARE(page.RecipientCount()->text(), QString("Recipients: 5"));
  QTest::mouseClick(page.SendButton(), Qt::LeftButton);
  QCOMPARE(boxes.Count(), 0);

  // One message (the worker may already have expanded it into one child
  // per destination).
  const int id = f.store.AllMessageIds().at(0);
  for (int other : f.store.AllMessageIds())
    QCOMPARE(f.Row(other).RefID, id);
  QCOMPARE(f.Row(id).To, ",0831110001,0831110002,A" + std::to_string(ann) + ",A" +
                             std::to_string(bob) + ",0829990001");
  QCOMPARE(f.Row(id).Msg, std::string("See you at eight"));
  QCOMPARE(page.Editor()->toPlainText(), QString());
  // Every recipient is remembered, the newest first.
  QCOMPARE(f.recent.Count(), 5);
  QCOMPARE(f.recent.Number(0), std::string("0821000002"));
  QCOMPARE(page.Tree()->RecentNode()->childCount(), 5);

  // The worker sends at once; the simulator delivers 25 s later and the
  // status queries find it.
  QVERIFY(worker.WaitUntilIdle());
  auto delivered = [&] {
    int count = 0;
    for (int child : f.store.AllMessageIds()) {
      const store::MessageRow row = f.Row(child);
      if (row.RefID == id && row.ID != id && row.Stat == store::StatDelivered) ++count;
    }
    return count;
  };
  for (int minute = 0; minute < 30 && delivered() < 5; ++minute) {
    sim.AdvanceMs(60000);
    clock.Advance(60000);
    QVERIFY(worker.WaitUntilIdle());
  }
  QCOMPARE(delivered(), 5);
  worker.StopAndWait();
}

DV_QTEST_MAIN(SmsSendTest)
#include "SmsSendTest.moc"
