// The update check from the tray command to the installer's start, against
// an HTTP server on 127.0.0.1. The check's waits go through a timer the
// test holds: they end at once, or when the test releases them.
#include "UiTestSupport.h"

#include "ControlIds.h"
#include "MainWindow.h"
#include "QtUpdateHost.h"
#include "TrayController.h"
#include "UpdateProgressDialog.h"

#include "shell/Logger.h"
#include "shell/ProcessObjects.h"
#include "shell/Settings.h"
#include "update/FileVersion.h"

#include <testsupport/RecordingServer.h>
#include <testsupport/TestEnv.h>

#include <QAction>
#include <QCryptographicHash>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using testsupport::RecordingServer;
using testsupport::ScriptedReply;

const QString kPage = "http://www.ostrand.example/download";

// The check's waits: every length asked for, ended at once or held until
// the test releases it.
struct Waits {
  std::vector<int> lengths;
  bool hold = false;
  std::function<void()> pending;

  ui::QtUpdateHost::Timer Timer(QObject *context) {
    return [this, context](int milliseconds, std::function<void()> done) {
      lengths.push_back(milliseconds);
      if (hold)
        pending = std::move(done);
      else
        QTimer::singleShot(0, context, std::move(done));
    };
  }
  void Release() {
    QTRY_VERIFY(pending != nullptr);
    std::exchange(pending, nullptr)();
  }
};

struct Fixture {
  RecordingServer server{RecordingServer::Mode::RawSocket};
  fs::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  uitest::BoxRecorder boxes;
  Waits waits;
  std::unique_ptr<ui::MainWindow> window;

  Fixture() {
    settings.UpdateVersionURL = server.BaseUrl() + "update.ver";
    settings.UpdateFileURL = server.BaseUrl() + "Update.run";
    settings.UpdateURL = kPage.toStdString();
    ui::UiContext c;
    c.settings = &settings;
    c.dataFolder = QString::fromStdString(data.string());
    window = std::make_unique<ui::MainWindow>(c);
    Updates().SetTimer(waits.Timer(&Updates()));
  }

  ui::QtUpdateHost &Updates() { return *window->Updates(); }
  void Check() { window->Tray()->Action(ui::ids::kCheckUpdates)->trigger(); }
  fs::path Installer() const { return data / "temp" / "Update.run"; }
  fs::path Marker() const { return data / "installer-ran"; }
  // An installer that leaves a marker file; padded past 3 KB.
  std::string Script() const {
    return "#!/bin/sh\necho started > '" + Marker().string() + "'\n#" + std::string(3500, '.') +
           "\n";
  }
  void Serve(const std::string &version, const std::string &installer) {
    server.SetReply("/update.ver", ScriptedReply::Text(version));
    server.SetReply("/Update.run", ScriptedReply::Text(installer));
  }
  size_t RequestsFor(const std::string &path) const {
    size_t n = 0;
    for (const auto &r : server.Requests())
      n += r.path == path;
    return n;
  }
  void WaitUntilOver() { QTRY_VERIFY(!Updates().IsRunning()); }
};

const QString kFailed = "Auto update failed ...";
const QString kInstallerFailed = "The download of the update failed, please visit the following "
                                 "web site to download the latest version.";

void ExpectBox(const ui::BoxRecord &box, const QString &caption, const QString &text,
               const QString &address) {
  QCOMPARE(box.caption, caption);
  QCOMPARE(box.text, text);
  QCOMPARE(box.address, address);
}

std::string Newer() {
  auto own = update::FileVersion::Own();
  return update::FileVersion(own.Major(), own.Minor(), own.Release(), own.Build() + 1).Text();
}

std::string Sha256(const std::string &bytes) {
  return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

} // namespace

class UpdateCheckTest : public QObject {
  Q_OBJECT

private slots:
  void newerVersionWithMatchingHashStartsTheInstallerAndExits();
  void versionNotNewerEndsWithTheLatestMessage_data();
  void versionNotNewerEndsWithTheLatestMessage();
  void failingStatusReplacesNothing();
  void cancelDuringInstallerDownloadLeavesNoInstaller();
  void cancelDuringAWaitEndsQuietly_data();
  void cancelDuringAWaitEndsQuietly();
  void secondCheckWhileOneRunsDoesNothing();
  void mismatchingHashDeletesTheInstallerAndStartsNothing();
  void installerNotStartedIsOfferedToRunByHand_data();
  void installerNotStartedIsOfferedToRunByHand();
};

void UpdateCheckTest::newerVersionWithMatchingHashStartsTheInstallerAndExits() {
  Fixture f;
  const std::string script = f.Script();
  f.Serve(Newer() + "\r\nsha256 " + Sha256(script) + "\r\n", script);
  QSignalSpy exit(f.window.get(), &ui::MainWindow::ExitRequested);
  f.Check();
  ui::UpdateProgressDialog *dialog = f.Updates().Dialog();
  QVERIFY(dialog);
  QCOMPARE(dialog->windowTitle(), QString("Checking for updates ..."));
  QVERIFY(!dialog->isModal());
  // Every step marks itself alone as current; at the last one the size is
  // shown and "Cancel" is off.
  std::vector<int> steps;
  connect(dialog, &ui::UpdateProgressDialog::StepChanged, [&](int step) {
    steps.push_back(step);
    for (int i = 0; i < ui::UpdateProgressDialog::kSteps; ++i)
      QCOMPARE(dialog->StepIsActive(i), i == step);
    QCOMPARE(dialog->CancelButton()->isEnabled(), step < 3);
    if (step == 3) QCOMPARE(dialog->SizeText(), QString("3KB"));
  });
  steps.push_back(dialog->Step());

  QTRY_COMPARE(exit.count(), 1);
  f.WaitUntilOver();
  QVERIFY(!f.Updates().Dialog());
  QCOMPARE(steps, (std::vector<int>{0, 1, 2, 3}));
  QCOMPARE(f.waits.lengths, (std::vector<int>{1000, 1000, 1000, 800, 500}));
  QCOMPARE(f.boxes.Count(), 0);
  QTRY_VERIFY(fs::exists(f.Marker()));
  QCOMPARE(testsupport::ReadFile(f.Installer()), script);
  QCOMPARE(f.server.Requests().front().Header("User-Agent"), std::string("Dovetext.exe"));
}

void UpdateCheckTest::versionNotNewerEndsWithTheLatestMessage_data() {
  QTest::addColumn<QString>("version");
  QTest::newRow("equal") << QString::fromStdString(update::FileVersion::Own().Text());
  QTest::newRow("no version in the file") << QString();
}

void UpdateCheckTest::versionNotNewerEndsWithTheLatestMessage() {
  QFETCH(QString, version);
  Fixture f;
  f.Serve(version.toStdString(), f.Script());
  f.Check();
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 1);
  ExpectBox(f.boxes.Last(), "Auto update ok ...", "You have the latest version of the software.",
            QString());
  QCOMPARE(f.RequestsFor("/Update.run"), size_t(0));
  QVERIFY(!f.Updates().Dialog());
}

void UpdateCheckTest::failingStatusReplacesNothing() {
  Fixture f;
  testsupport::WriteFile(f.data / "update.ver", "1.0.0.0 from before");
  f.server.SetReply("/update.ver", ScriptedReply::Text("moved", 404));
  f.Check();
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 1);
  ExpectBox(f.boxes.Last(), kFailed,
            "The auto update failed, please visit the following web site to download the latest "
            "version.",
            kPage);
  QCOMPARE(testsupport::ReadFile(f.data / "update.ver"), std::string("1.0.0.0 from before"));

  fs::create_directories(f.Installer().parent_path());
  testsupport::WriteFile(f.Installer(), "installer from before");
  f.server.SetReply("/update.ver", ScriptedReply::Text(Newer()));
  f.server.SetReply("/Update.run", ScriptedReply::Text("oops", 500));
  QSignalSpy exit(f.window.get(), &ui::MainWindow::ExitRequested);
  f.Check();
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 2);
  ExpectBox(f.boxes.Last(), kFailed, kInstallerFailed, kPage);
  QCOMPARE(testsupport::ReadFile(f.Installer()), std::string("installer from before"));
  QCOMPARE(exit.count(), 0);
}

void UpdateCheckTest::cancelDuringInstallerDownloadLeavesNoInstaller() {
  Fixture f;
  f.server.SetReply("/update.ver", ScriptedReply::Text(Newer()));
  // 2.5 KB of a 100 KB installer, then nothing more.
  f.server.SetReply("/Update.run",
                    ScriptedReply::Raw("HTTP/1.0 200 OK\r\nContent-Length: 102400\r\n\r\n" +
                                       std::string(2560, 'x'))
                        .HoldingOpen(std::chrono::seconds(60)));
  QSignalSpy exit(f.window.get(), &ui::MainWindow::ExitRequested);
  f.Check();
  ui::UpdateProgressDialog *dialog = f.Updates().Dialog();
  QTRY_COMPARE(dialog->SizeText(), QString("2KB"));
  QCOMPARE(dialog->Step(), 2);
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 0);
  QVERIFY(!fs::exists(f.Installer()));
  QCOMPARE(exit.count(), 0);
}

void UpdateCheckTest::cancelDuringAWaitEndsQuietly_data() {
  QTest::addColumn<int>("step");
  QTest::addColumn<int>("requests");
  QTest::newRow("contacting the server") << 0 << 0;
  QTest::newRow("before the installer download") << 2 << 1;
}

void UpdateCheckTest::cancelDuringAWaitEndsQuietly() {
  QFETCH(int, step);
  QFETCH(int, requests);
  Fixture f;
  f.Serve(Newer(), f.Script());
  f.waits.hold = true;
  f.Check();
  ui::UpdateProgressDialog *dialog = f.Updates().Dialog();
  while (dialog->Step() != step)
    f.waits.Release();
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  f.waits.Release();
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 0);
  QCOMPARE(f.server.RequestCount(), size_t(requests));
  QVERIFY(!fs::exists(f.Installer()));
}

void UpdateCheckTest::secondCheckWhileOneRunsDoesNothing() {
  Fixture f;
  f.Serve(update::FileVersion::Own().Text(), f.Script());
  f.waits.hold = true;
  f.Check();
  ui::UpdateProgressDialog *first = f.Updates().Dialog();
  f.Check();
  QCOMPARE(f.Updates().Dialog(), first);
  QCOMPARE(f.waits.lengths.size(), size_t(1));
  f.waits.Release();
  f.waits.Release();
  f.WaitUntilOver();
  QCOMPARE(f.RequestsFor("/update.ver"), size_t(1));
  QCOMPARE(f.boxes.Count(), 1);
}

void UpdateCheckTest::mismatchingHashDeletesTheInstallerAndStartsNothing() {
  Fixture f;
  f.Serve(Newer() + "\nsha256 " + Sha256("the published installer") + "\n", f.Script());
  QSignalSpy exit(f.window.get(), &ui::MainWindow::ExitRequested);
  f.Check();
  f.WaitUntilOver();
  QCOMPARE(f.boxes.Count(), 1);
  ExpectBox(f.boxes.Last(), kFailed, kInstallerFailed, kPage);
  QVERIFY(!fs::exists(f.Installer()));
  QVERIFY(!fs::exists(f.Marker()));
  QCOMPARE(exit.count(), 0);
}

void UpdateCheckTest::installerNotStartedIsOfferedToRunByHand_data() {
  QTest::addColumn<bool>("withHash");
  QTest::addColumn<QString>("logged");
  QTest::newRow("plain http without a hash") << false << QString("no sha256 line");
  QTest::newRow("the file cannot be started") << true << QString("Exec format error");
}

void UpdateCheckTest::installerNotStartedIsOfferedToRunByHand() {
  QFETCH(bool, withHash);
  QFETCH(QString, logged);
  Fixture f;
  shell::Logger logger((f.data / "SMS.log").string());
  shell::gLogger = &logger;
  f.settings.WriteLog = true;
  const std::string installer = withHash ? std::string("\x7f"
                                                       "ELX not a program")
                                         : f.Script();
  f.Serve(Newer() + (withHash ? "\nsha256 " + Sha256(installer) : std::string()), installer);
  QSignalSpy exit(f.window.get(), &ui::MainWindow::ExitRequested);
  f.Check();
  f.WaitUntilOver();
  shell::gLogger = nullptr;
  QCOMPARE(f.boxes.Count(), 1);
  ExpectBox(f.boxes.Last(), kFailed,
            "Failed to run the update automatically.  Please click on the link below or run the "
            "update by hand.",
            "file://" + QString::fromStdString(f.Installer().string()));
  QCOMPARE(testsupport::ReadFile(f.Installer()), installer);
  QVERIFY(!fs::exists(f.Marker()));
  // An installer that was not verified is not made executable either.
  if (!withHash)
    QCOMPARE(fs::status(f.Installer()).permissions() & fs::perms::owner_exec, fs::perms::none);
  QVERIFY(QString::fromStdString(testsupport::ReadFile(f.data / "SMS.log")).contains(logged));
  // The program still ends, so the user can run the installer.
  QCOMPARE(exit.count(), 1);
}

DV_QTEST_MAIN(UpdateCheckTest)
#include "UpdateCheckTest.moc"
