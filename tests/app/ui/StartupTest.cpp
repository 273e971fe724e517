// The real dovetext program, started as a process: the start-up order, each
// start-up failure with its message and exit code 0 and what it leaves
// behind, the session end by signal, and a second instance that brings the
// first to the front. Message boxes are answered through the test hook
// DOVETEXT_TEST_AUTOANSWER; DOVETEXT_TEST_LOG records boxes and steps.
#include "UiTestSupport.h"

#include "InstanceGuard.h"

#include "shell/SettingsFile.h"

#include <gatewaysim/GatewaySimServer.h>
#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <QFile>
#include <QProcess>
#include <QtTest>

#include <functional>

namespace {

namespace fs = std::filesystem;

struct Trace {
  QStringList steps;
  QList<QStringList> boxes; // caption, text, address
};

QString Unescape(const QString &field) {
  QString out;
  for (int i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size()) {
      QChar c = field[++i];
      out += c == 'n' ? QChar('\n') : c == 'r' ? QChar('\r') : c == 't' ? QChar('\t') : c;
    } else {
      out += field[i];
    }
  }
  return out;
}

Trace ReadTrace(const QString &path) {
  Trace t;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return t;
  for (const QByteArray &raw : file.readAll().split('\n')) {
    if (raw.isEmpty()) continue;
    QStringList fields = QString::fromUtf8(raw).split('\t');
    for (QString &f : fields)
      f = Unescape(f);
    if (fields[0] == "step" && fields.size() > 1) t.steps << fields[1];
    if (fields[0] == "box") t.boxes << fields.mid(1);
  }
  return t;
}

// One run of the program with its own trace file.
class ProgramRun {
public:
  explicit ProgramRun(const QString &name) {
    trace_ =
        QString::fromStdString((testsupport::MakeTempDir("trace") / name.toStdString()).string());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("DOVETEXT_TEST_AUTOANSWER", "1");
    env.insert("DOVETEXT_TEST_LOG", trace_);
    // The desktop's session bus would offer its address books.
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  }
  ~ProgramRun() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  void SetEnv(const QString &name, const QString &value) {
    QProcessEnvironment env = process_.processEnvironment();
    env.insert(name, value);
    process_.setProcessEnvironment(env);
  }
  void Start() {
    process_.start(QString::fromStdString((testsupport::BinDir() / "dovetext").string()), {});
  }
  bool WaitForStep(const QString &step, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
      if (ReadTrace(trace_).steps.contains(step)) return true;
      if (process_.state() == QProcess::NotRunning) return false;
      QTest::qWait(20);
    }
    return false;
  }
  bool Finish(int timeoutMs = 30000) { return process_.waitForFinished(timeoutMs); }
  int ExitCode() const { return process_.exitCode(); }
  bool ExitedNormally() const { return process_.exitStatus() == QProcess::NormalExit; }
  void Terminate() { process_.terminate(); } // SIGTERM
  Trace Read() const { return ReadTrace(trace_); }

private:
  QProcess process_;
  QString trace_;
};

// Runs the program to its end (it must end on its own).
Trace RunToEnd(int *exitCode) {
  ProgramRun run("trace.log");
  run.Start();
  bool finished = run.Finish();
  *exitCode = finished && run.ExitedNormally() ? run.ExitCode() : -1;
  return run.Read();
}

const QStringList kCreateSteps = {"start",   "instance", "data-folder", "settings",
                                  "store",   "logger",   "automation",  "resources",
                                  "toolkit", "names",    "address-books", "recent"};
const QStringList kTeardownSteps = {"automation-ended", "store-deleted", "settings-file-deleted",
                                    "logger-deleted", "exit"};

bool LockIsFree() {
  ui::InstanceGuard guard;
  return guard.Acquire() == ui::InstanceGuard::Outcome::Acquired;
}

} // namespace

class StartupTest : public QObject {
  Q_OBJECT

private slots:
  void startsInOrderAndEndsOnSessionEnd();
  void missingDataFolderIsCritical();
  void oneCharacterDataFolderIsCritical();
  void unregisteredLibraryStopsStartup();
  void unusableStoreStopsStartup();
  void signalDuringStartupEndsLikeASessionEnd();
  void secondInstanceRaisesTheFirst();
  void refusedGatewayAddressIsNotFatal();
  void mailClientIsChosenOnce();
};

void StartupTest::startsInOrderAndEndsOnSessionEnd() {
  gatewaysim::GatewaySimServer sim;
  QVERIFY(sim.Start());
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  QVERIFY(uitest::SetProgramValue("GatewayURL", sim.BaseUrl()));

  ProgramRun run("trace.log");
  run.Start();
  QVERIFY(run.WaitForStep("window-shown"));
  QVERIFY(!LockIsFree()); // the lock is held (and the probe answered) while it runs
  run.Terminate();
  QVERIFY(run.Finish());
  QVERIFY(run.ExitedNormally());
  QCOMPARE(run.ExitCode(), 0);

  QStringList expected = kCreateSteps;
  expected << "gateway"
           << "gateway-url"
           << "connection"
           << "run"
           << "store-usable"
           << "window-shown"
           << "probe-answered"
           << "session-end"
           << "loop-ended"
           << "settings-saved"
           << "window-destroyed";
  expected << kTeardownSteps;
  Trace t = run.Read();
  QCOMPARE(t.steps.join(","), expected.join(","));
  QVERIFY(t.boxes.isEmpty());
  QVERIFY(fs::exists(data / "SMS.dat"));
  QVERIFY(fs::exists(data / "SMS.db"));
  QVERIFY(testsupport::ReadFile(data / "SMS.log").find("Started @") != std::string::npos);
  shell::SettingsFile saved((data / "SMS.dat").string(), false);
  int online = 0;
  QVERIFY(saved.GetInt("WorkingOnLine", online)); // written by SaveSettings
  QCOMPARE(online, 1);
  QVERIFY(LockIsFree());
}

void StartupTest::missingDataFolderIsCritical() {
  int code = -2;
  Trace t = RunToEnd(&code);
  QCOMPARE(code, 0);
  QCOMPARE(t.boxes.size(), 1);
  QCOMPARE(t.boxes[0][0], QString("Critical error..."));
  QCOMPARE(t.boxes[0][1], QString("Can't find data file.\nThe application is not installed "
                                  "correctly.  Please reinstall!"));
  QCOMPARE(t.steps, QStringList({"start", "instance", "exit"}));
  QVERIFY(LockIsFree());
  // Nothing was created anywhere in the sandbox's data or home folders.
  for (const char *var : {"XDG_DATA_HOME", "HOME"})
    for (auto &e : fs::recursive_directory_iterator(std::getenv(var)))
      QVERIFY2(e.path().filename() != "SMS.dat", e.path().c_str());
}

void StartupTest::oneCharacterDataFolderIsCritical() {
  QVERIFY(uitest::SetProgramValue("DataPath", "C"));
  int code = -2;
  Trace t = RunToEnd(&code);
  QCOMPARE(code, 0);
  QCOMPARE(t.boxes.size(), 1);
  QCOMPARE(t.boxes[0][0], QString("Critical error..."));
  QCOMPARE(t.steps, QStringList({"start", "instance", "exit"}));
}

void StartupTest::unregisteredLibraryStopsStartup() {
  fs::path data = uitest::MakeDataFolder();
  int code = -2;
  Trace t = RunToEnd(&code);
  QCOMPARE(code, 0);
  QCOMPARE(t.boxes.size(), 1);
  QCOMPARE(t.boxes[0][0], QString("SMS Client failed to start..."));
  QCOMPARE(t.boxes[0][1], QString("The SMS communication layer could not be initialized.\r\n"
                                  "Please reinstall the application.\r\nIf the problem persists "
                                  "please contact Technical Support."));
  QStringList expected = kCreateSteps;
  expected << "gateway-failed";
  expected << kTeardownSteps;
  QCOMPARE(t.steps.join(","), expected.join(",")); // no window, no SaveSettings
  // What was created was deleted in order: the store committed, SMS.dat
  // written once more, the log started.
  QVERIFY(fs::exists(data / "SMS.db"));
  QVERIFY(fs::exists(data / "SMS.dat"));
  QVERIFY(testsupport::ReadFile(data / "SMS.log").find("Started @") != std::string::npos);
  QVERIFY(LockIsFree());
}

void StartupTest::unusableStoreStopsStartup() {
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  const std::string junk = "This is not a database, and it must not be overwritten.\n";
  testsupport::WriteFile(data / "SMS.db", junk);
  int code = -2;
  Trace t = RunToEnd(&code);
  QCOMPARE(code, 0);
  QCOMPARE(t.boxes.size(), 1);
  QCOMPARE(t.boxes[0][0], QString("SMS Client failed to start..."));
  QCOMPARE(t.boxes[0][1], QString("Unable to configure internal Database.  Aborting!"));
  QStringList expected = kCreateSteps;
  expected << "gateway"
           << "connection"
           << "run"
           << "settings-saved"; // Run was reached
  expected << kTeardownSteps;
  QCOMPARE(t.steps.join(","), expected.join(","));
  QCOMPARE(testsupport::ReadFile(data / "SMS.db"), junk);
  QVERIFY(fs::exists(data / "SMS.dat"));
}

void StartupTest::signalDuringStartupEndsLikeASessionEnd() {
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  // Right after the log exists, and at the last step before the window.
  const QStringList firstSteps = {"start", "instance", "data-folder", "settings",
                                  "store", "logger",   "automation",  "resources"};
  const QList<QStringList> cases = {firstSteps,
                                    kCreateSteps + QStringList{"gateway", "connection"}};
  for (const QStringList &before : cases) {
    fs::remove(data / "SMS.dat");
    const QString at = before.size() == firstSteps.size() ? "logger" : "connection";
    ProgramRun run("trace-" + at + ".log");
    run.SetEnv("DOVETEXT_TEST_SIGNAL_AT", at);
    run.Start();
    QVERIFY(run.Finish());
    QVERIFY2(run.ExitedNormally(), qPrintable(at)); // not ended by the signal
    QCOMPARE(run.ExitCode(), 0);
    const Trace t = run.Read();
    QStringList expected = before;
    expected << "session-end"
             << "settings-saved";
    expected << kTeardownSteps;
    QCOMPARE(t.steps.join(","), expected.join(","));
    QVERIFY(t.boxes.isEmpty());
    QVERIFY(fs::exists(data / "SMS.dat"));
    QVERIFY(LockIsFree());
  }
}

void StartupTest::secondInstanceRaisesTheFirst() {
  QVERIFY(uitest::RegisterParlink());
  fs::path data = uitest::MakeDataFolder();
  {
    shell::SettingsFile settings((data / "SMS.dat").string(), false);
    settings.SetInt("StartMinimized", 1);
    QVERIFY(settings.Save());
  }
  ProgramRun first("first.log");
  first.Start();
  QVERIFY(first.WaitForStep("window-hidden"));

  ProgramRun second("second.log");
  second.Start();
  QVERIFY(second.Finish());
  QVERIFY(second.ExitedNormally());
  QCOMPARE(second.ExitCode(), 0);
  QCOMPARE(second.Read().steps, QStringList({"start", "other-instance-answered"}));

  QVERIFY(first.WaitForStep("probe-answered"));
  first.Terminate();
  QVERIFY(first.Finish());
  QCOMPARE(first.ExitCode(), 0);
  QVERIFY(first.Read().steps.contains("settings-saved"));
}

void StartupTest::refusedGatewayAddressIsNotFatal() {
  QVERIFY(uitest::RegisterParlink());
  uitest::MakeDataFolder();
  // The library takes only plain http addresses.
  QVERIFY(uitest::SetProgramValue("GatewayURL", "https://gateway.example/"));
  ProgramRun run("trace.log");
  run.Start();
  QVERIFY(run.WaitForStep("window-shown"));
  run.Terminate();
  QVERIFY(run.Finish());
  QCOMPARE(run.ExitCode(), 0);
  QVERIFY(run.Read().steps.contains("gateway-url-refused"));
}

void StartupTest::mailClientIsChosenOnce() {
  // A Thunderbird profile and no desktop entries: the mail client is asked
  // for at the first start only.
  fs::path apps = testsupport::MakeTempDir("apps");
  setenv("XDG_DATA_DIRS", apps.c_str(), 1);
  fs::path profiles = fs::path(std::getenv("HOME")) / ".thunderbird";
  fs::create_directories(profiles);
  testsupport::WriteFile(profiles / "profiles.ini", "[Profile0]\nName=default\nPath=p\n");
  uitest::MakeDataFolder();
  int code = -2;
  Trace t = RunToEnd(&code); // no Parlink: it ends after the address books
  QCOMPARE(code, 0);
  QVERIFY(t.steps.contains("mail-routing"));
  QCOMPARE(t.boxes.at(0).at(0), QString("Set up the mail client"));
  registry::Registry reg;
  QCOMPARE(reg.GetValue(registry::Hive::LocalMachine,
                        "SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps", "dovetext")
               .value_or(""),
           std::string("Thunderbird"));
  t = RunToEnd(&code);
  QCOMPARE(t.boxes.size(), 1); // only the missing library's
}

DV_QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
