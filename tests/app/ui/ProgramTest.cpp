// The whole program run in the test's own process (so the test can reach
// into its window): an exception thrown by an event handler, and an exit
// while the worker is stuck inside a gateway call. Steps are read from the
// program's test trace.
#include "SimGateway.h"
#include "UiTestSupport.h"

#include "ControlIds.h"
#include "LoginPage.h"
#include "MainWindow.h"
#include "Program.h"

#include "engine/UserPrompt.h"
#include "shell/SettingsFile.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>
#include <testsupport/TestEnv.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// Points the program's test trace at a fresh file; Steps() reads it back.
class StepTrace {
public:
  StepTrace() : path_(testsupport::MakeTempDir("trace") / "trace.log") {
    qputenv("DOVETEXT_TEST_LOG", QByteArray::fromStdString(path_.string()));
  }
  ~StepTrace() { qunsetenv("DOVETEXT_TEST_LOG"); }
  QStringList Steps() const {
    QStringList steps;
    QFile file(QString::fromStdString(path_.string()));
    if (!file.open(QIODevice::ReadOnly)) return steps;
    for (const QByteArray &line : file.readAll().split('\n'))
      if (line.startsWith("step\t")) steps << QString::fromUtf8(line.mid(5));
    return steps;
  }

private:
  fs::path path_;
};

// Messages in SMS.db as a fresh store sees them: only what was committed.
int CommittedMessages(const fs::path &data) {
  store::SmsStore store(data.string());
  return store.CountMessages(store::MessageSelection{});
}

} // namespace

class ProgramTest : public QObject {
  Q_OBJECT

private slots:
  void exceptionInAHandlerEndsThroughTheUnexpectedErrorBox();
  void exitEndsWhileTheWorkerIsStuckInAGatewayCall();
};

void ProgramTest::exceptionInAHandlerEndsThroughTheUnexpectedErrorBox() {
  uitest::BoxRecorder boxes;
  StepTrace trace;
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  {
    shell::SettingsFile file((data / "SMS.dat").string(), false);
    file.SetString("help_url", "http://help.example/");
    QVERIFY(file.Save());
  }
  // The texts come from the string table, so a translation replaces them.
  testsupport::WriteFile(data / "Language.dll", "1363\tAbgebrochen ...\n1364\tEin Fehler.\n");

  ui::Program program;
  QTimer handler;
  handler.setInterval(10);
  QObject::connect(&handler, &QTimer::timeout, [&] {
    ui::MainWindow *window = program.Window();
    if (!window || !window->isVisible()) return;
    handler.stop();
    store::gStore->AddSms(0, 0, 0, 0, "27825550102", "Not committed yet", "", 0, "?", 0);
    fs::remove(data / "SMS.dat");
    throw std::runtime_error("a handler failed");
  });
  handler.start();
  QCOMPARE(program.Run(), 0);

  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Abgebrochen ..."));
  QCOMPARE(boxes.Last().text, QString("Ein Fehler."));
  QCOMPARE(boxes.Last().address, QString("http://help.example/"));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconError);
  // Then the teardown of a normal end: the store committed, SMS.dat written.
  const QStringList steps = trace.Steps();
  QVERIFY(steps.indexOf("unexpected-error") > steps.indexOf("loop-ended"));
  QVERIFY(steps.indexOf("store-deleted") > steps.indexOf("unexpected-error"));
  QCOMPARE(steps.last(), QString("exit"));
  QCOMPARE(CommittedMessages(data), 1);
  QVERIFY(fs::exists(data / "SMS.dat"));
}

void ProgramTest::exitEndsWhileTheWorkerIsStuckInAGatewayCall() {
  uitest::BoxRecorder boxes;
  StepTrace trace;
  // The gateway never answers a send. The worker stays inside that call to
  // the end of the process, and so does the simulator.
  static auto *sim = new gatewaysim::GatewaySimServer;
  QVERIFY(sim->Start());
  gatewaysim::FaultSpec stall;
  stall.pattern = "http/sendmsg";
  stall.kind = gatewaysim::FaultKind::Stall;
  QVERIFY(sim->AddFault(stall));
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  QVERIFY(uitest::SetProgramValue("GatewayURL", sim->BaseUrl()));
  // An empty personal address book: the SMS page reads it without a message.
  fs::create_directories(fs::path(qgetenv("XDG_DATA_HOME").toStdString()) / "contacts");
  {
    store::SmsStore store(data.string());
    store.AddSms(0, 0, 0, 0, "27825550103", "Hello there", "", 0, "?", 0);
    QVERIFY(store.Commit());
  }

  ui::Program program;
  enum class Stage { LogIn, Sending, Exiting } stage = Stage::LogIn;
  QElapsedTimer sinceExit;
  QTimer driver;
  driver.setInterval(20);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    ui::MainWindow *window = program.Window();
    if (!window || !window->isVisible()) return;
    if (stage == Stage::LogIn) {
      stage = Stage::Sending;
      window->Login()->UserField()->setText("demo");
      window->Login()->PasswordField()->setText("demo123");
      window->Login()->Submit(); // starts the worker, which sends the message
    } else if (stage == Stage::Sending && uitest::SimRequests(*sim, "http/sendmsg") > 0) {
      stage = Stage::Exiting;
      driver.stop();
      sinceExit.start();
      window->Command(ui::ids::kExit);
    }
  });
  driver.start();
  QCOMPARE(program.Run(), 0);
  const qint64 exitMs = sinceExit.elapsed();
  qInfo("Exit with the worker stuck inside a gateway call took %lld ms", exitMs);

  QCOMPARE(stage, Stage::Exiting);
  QVERIFY(program.WorkerLeftRunning());
  QVERIFY2(exitMs < 12000, qPrintable(QString::number(exitMs)));
  const QStringList steps = trace.Steps();
  for (const char *step :
       {"shutdown-window", "worker-wait-over", "worker-left-running", "settings-saved",
        "window-destroyed", "store-committed", "settings-file-written", "exit"})
    QVERIFY2(steps.contains(step), step);
  // Nothing the worker still uses was deleted.
  for (const char *step : {"automation-ended", "store-deleted", "logger-deleted"})
    QVERIFY2(!steps.contains(step), step);
  shell::SettingsFile saved((data / "SMS.dat").string(), false);
  std::string login;
  QVERIFY(saved.GetString("Login", login));
  QCOMPARE(login, std::string("demo"));
  QCOMPARE(boxes.Count(), 0);
}

DV_QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
