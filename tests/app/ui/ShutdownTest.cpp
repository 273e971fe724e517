// Shut-down while the communications worker sends: the four-step window,
// the worker's quit message, and the store committed at the end, through
// the real worker, library and simulator.
#include "UiTestSupport.h"

#include "OutboxPage.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "ShutdownDialog.h"
#include "ShutdownSequence.h"

#include "engine/CommsWorker.h"
#include "engine/EngineServices.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>

#include <QtTest>

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace {

// Counts the rows of SMS.db that match `where`, through a connection of
// its own: it sees only what was committed.
int CommittedRows(const std::filesystem::path &db, const char *where) {
  sqlite3 *conn = nullptr;
  if (sqlite3_open_v2(db.c_str(), &conn, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(conn);
    return -1;
  }
  std::string sql = std::string("SELECT count(*) FROM SMS WHERE ") + where;
  sqlite3_stmt *st = nullptr;
  int n = -1;
  if (sqlite3_prepare_v2(conn, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    n = sqlite3_column_int(st, 0);
  sqlite3_finalize(st);
  sqlite3_close(conn);
  return n;
}

} // namespace

class ShutdownTest : public QObject {
  Q_OBJECT

private slots:
  void shutdownWhileSendingStillCommits();
  void shutdownOfAnIdleWorker();
};

void ShutdownTest::shutdownWhileSendingStillCommits() {
  uitest::BoxRecorder boxes;
  gatewaysim::GatewaySimServer sim;
  QVERIFY(sim.Start());
  gatewaysim::FaultSpec slow;
  slow.pattern = "http/sendmsg";
  slow.kind = gatewaysim::FaultKind::Latency;
  slow.latencyMs = 150;
  QVERIFY(sim.AddFault(slow));
  QVERIFY(uitest::RegisterParlink());
  auto gateway = engine::GatewayBinding::Create();
  QVERIFY(gateway);
  std::string url = sim.BaseUrl(), result;
  gateway->SetBaseURL(false, url.c_str(), parlink::BaseUrlKey(static_cast<uint32_t>(url.size())),
                      &result);
  shell::StringTable strings;
  QVERIFY(engine::LoginOperation::Login(*gateway, "DVTX", "demo", "demo123", nullptr, strings).ok);

  auto data = uitest::MakeDataFolder();
  shell::Settings settings;
  settings.Login = "demo";
  settings.Password = "demo123";
  auto store = std::make_unique<store::SmsStore>(data.string());
  QVERIFY(store->IsUsable());
  for (int i = 0; i < 20; ++i)
    store->AddSms(0, 0, 0, 0, "2782555" + std::to_string(1000 + i), "Hello there", "", 0, "?", 0);
  QVERIFY(store->Commit());
  QCOMPARE(CommittedRows(data / "SMS.db", "ApiMsgID <> ''"), 0);

  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt(qApp);
  ui::QtOutboxRebuilder rebuilder;
  engine::CommsWorker worker(
      uitest::ProgramServices(*store, *gateway, settings, strings, poster, prompt, rebuilder));
  QVERIFY(worker.Start());
  // Wait until the gateway has accepted a few messages: the worker is in
  // the middle of its dispatch pass.
  QTRY_VERIFY_WITH_TIMEOUT(sim.LogJsonLines().find("sendmsg") != std::string::npos, 10000);
  QTRY_VERIFY_WITH_TIMEOUT(worker.IsBusy(), 10000);
  QVERIFY(worker.IsRunning());

  ui::ShutdownSequence sequence(
      worker, poster, [&] { store->Commit(); }, ui::ShutdownSequence::NoPauses());
  sequence.Run();
  QVERIFY(sequence.QuitReceived());
  QCOMPARE(sequence.StepsShown(), 4);
  QVERIFY(!worker.IsRunning());
  QCOMPARE(poster.Target(engine::WindowTarget::ClosingDialog), static_cast<QObject *>(nullptr));

  // What the gateway accepted is durable, and nothing is left Processing.
  int sent = CommittedRows(data / "SMS.db", "ApiMsgID <> ''");
  QVERIFY2(sent >= 1, qPrintable(QString::number(sent)));
  QCOMPARE(CommittedRows(data / "SMS.db", "Stat = 1"), 0);
  QCOMPARE(store->CountMessages(store::MessageSelection{}), 20);
  QCOMPARE(boxes.Count(), 0);
}

void ShutdownTest::shutdownOfAnIdleWorker() {
  gatewaysim::GatewaySimServer sim;
  QVERIFY(sim.Start());
  QVERIFY(uitest::RegisterParlink());
  auto gateway = engine::GatewayBinding::Create();
  QVERIFY(gateway);
  auto data = uitest::MakeDataFolder();
  shell::Settings settings;
  settings.WorkingOnLine = false; // nothing to send: the worker only waits
  shell::StringTable strings;
  auto store = std::make_unique<store::SmsStore>(data.string());
  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt(qApp);
  ui::QtOutboxRebuilder rebuilder;
  engine::CommsWorker worker(
      uitest::ProgramServices(*store, *gateway, settings, strings, poster, prompt, rebuilder));
  QVERIFY(worker.Start());
  QVERIFY(worker.WaitUntilIdle(std::chrono::seconds(10)));
  int commits = 0;
  ui::ShutdownSequence sequence(
      worker, poster, [&] { ++commits; }, ui::ShutdownSequence::NoPauses());
  sequence.Run();
  QVERIFY(sequence.QuitReceived());
  QCOMPARE(commits, 1);
  QVERIFY(!worker.IsRunning());
}

DV_QTEST_MAIN(ShutdownTest)
#include "ShutdownTest.moc"
