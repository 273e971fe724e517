// The login page against the gateway simulator, through the real Parlink
// library created by name: online success, a wrong password, an unreachable
// gateway (the error-99 box), the offline login, Enter navigation, the
// banner download, the password recovery and the version dialog.
#include "UiTestSupport.h"

#include "ControlIds.h"
#include "LoginPage.h"
#include "MainWindow.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "VersionDialog.h"

#include "engine/GatewayBinding.h"
#include "engine/UserPrompt.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>
#include <testsupport/TestEnv.h>

#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <httplib.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

// The simulator, Parlink registered and created by name and pointed at the
// simulator, and a main window around the login page.
struct Fixture {
  gatewaysim::GatewaySimServer sim;
  std::filesystem::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  shell::SettingsFile settingsFile{(data / "SMS.dat").string(), false};
  std::unique_ptr<engine::GatewayBinding> gateway;
  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt{qApp};
  std::unique_ptr<ui::MainWindow> window;
  int workerStarts = 0;

  bool Start() {
    std::string error;
    if (!sim.Start(&error)) return false;
    QString regError;
    if (!uitest::RegisterParlink(&regError)) {
      qWarning("%s", qPrintable(regError));
      return false;
    }
    gateway = engine::GatewayBinding::Create();
    return gateway && PointAt(sim.BaseUrl());
  }
  bool PointAt(const std::string &url) {
    std::string result;
    return SUCCEEDED(gateway->SetBaseURL(false, url.c_str(),
                                         parlink::BaseUrlKey(static_cast<uint32_t>(url.size())),
                                         &result)) &&
           result.rfind("OK:", 0) == 0;
  }
  ui::MainWindow &Make() {
    ui::UiContext c;
    c.settings = &settings;
    c.settingsFile = &settingsFile;
    c.gateway = gateway.get();
    c.prompt = &prompt;
    c.poster = &poster;
    c.dataFolder = QString::fromStdString(data.string());
    c.startWorker = [this] { return ++workerStarts > 0; };
    window = std::make_unique<ui::MainWindow>(c);
    return *window;
  }
  ui::LoginPage &Page() { return *window->Login(); }
  void Type(const QString &user, const QString &password) {
    Page().UserField()->setText(user);
    Page().PasswordField()->setText(password);
  }
};

} // namespace

class LoginTest : public QObject {
  Q_OBJECT

private slots:
  void onlineLoginStoresCredentialsAndCompletes();
  void wrongPasswordLeavesStatusLine();
  void unreachableGatewayShowsCommunicationBox();
  void offlineLoginChecksStoredCredentials();
  void enterMovesToPasswordThenLogsIn();
  void rememberedPasswordIsFilledIn();
  void bannerIsDownloadedAtLogin();
  void failedBannerDownloadKeepsTheOldBanner();
  void forgotPasswordReportsTheGatewaysAnswer();
  void versionDialogAsksTheLibrary();
};

void LoginTest::onlineLoginStoresCredentialsAndCompletes() {
  uitest::BoxRecorder boxes;
  Fixture f;
  QVERIFY(f.Start());
  ui::MainWindow &w = f.Make();
  QSignalSpy done(&f.Page(), &ui::LoginPage::LoggedIn);
  f.Type("demo", "demo123");
  f.Page().RememberBox()->setChecked(true);
  QVERIFY(f.Page().Submit());
  QCOMPARE(done.count(), 1);
  QCOMPARE(f.settings.Login, std::string("demo"));
  QCOMPARE(f.settings.Password, std::string("demo123"));
  QVERIFY(f.settings.RememberPassword);
  QVERIFY(f.settings.WorkingOnLine);
  QCOMPARE(f.Page().StatusLine()->text(), QString());
  QCOMPARE(boxes.Count(), 0);
  // The login settings were written to SMS.dat.
  shell::SettingsFile saved((f.data / "SMS.dat").string(), false);
  std::string login;
  QVERIFY(saved.GetString("Login", login));
  QCOMPARE(login, std::string("demo"));
  // Command 1008 completed the login.
  QCOMPARE(f.workerStarts, 1);
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Sms);
}

void LoginTest::wrongPasswordLeavesStatusLine() {
  uitest::BoxRecorder boxes;
  Fixture f;
  QVERIFY(f.Start());
  ui::MainWindow &w = f.Make();
  QSignalSpy done(&f.Page(), &ui::LoginPage::LoggedIn);
  f.Type("demo", "not-the-password");
  QVERIFY(!f.Page().Submit());
  QCOMPARE(done.count(), 0);
  QCOMPARE(f.Page().StatusLine()->text(), QString("Unknown username or password!"));
  QCOMPARE(boxes.Count(), 0);
  QCOMPARE(f.settings.Login, std::string());
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Login);
  QCOMPARE(f.workerStarts, 0);
}

void LoginTest::unreachableGatewayShowsCommunicationBox() {
  uitest::BoxRecorder boxes;
  Fixture f;
  QVERIFY(f.Start());
  int closed = testsupport::FreeLoopbackPort();
  QVERIFY(f.PointAt("http://127.0.0.1:" + std::to_string(closed) + "/"));
  f.Make();
  f.Type("demo", "demo123");
  QVERIFY(!f.Page().Submit());
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Login failed ..."));
  QCOMPARE(boxes.Last().text, QString("Failed to communicate with the the server.  Please make "
                                      "sure that you are on-line!"));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconError);
  QCOMPARE(f.Page().StatusLine()->text(), QString("Unknown username or password!"));
}

void LoginTest::offlineLoginChecksStoredCredentials() {
  uitest::BoxRecorder boxes;
  Fixture f; // no simulator: offline logins never reach the gateway
  uitest::FakeGateway gateway;
  f.settings.Login = "demo";
  f.settings.Password = "demo123";
  ui::UiContext c;
  c.settings = &f.settings;
  c.settingsFile = &f.settingsFile;
  c.gateway = &gateway;
  ui::LoginPage page(c);
  QSignalSpy done(&page, &ui::LoginPage::LoggedIn);
  page.OfflineBox()->setChecked(true);
  page.UserField()->setText("demo");
  page.PasswordField()->setText("wrong");
  QVERIFY(!page.Submit());
  QCOMPARE(page.StatusLine()->text(), QString("Unknown username or password!"));
  QVERIFY(!f.settings.WorkingOnLine);
  page.PasswordField()->setText("demo123");
  QVERIFY(page.Submit());
  QCOMPARE(done.count(), 1);
  QVERIFY(gateway.calls.empty());
  QCOMPARE(boxes.Count(), 0);
  shell::SettingsFile saved((f.data / "SMS.dat").string(), false);
  int online = 1;
  QVERIFY(saved.GetInt("WorkingOnLine", online));
  QCOMPARE(online, 0);
}

void LoginTest::enterMovesToPasswordThenLogsIn() {
  Fixture f;
  uitest::FakeGateway gateway;
  ui::UiContext c;
  c.settings = &f.settings;
  c.gateway = &gateway;
  ui::LoginPage page(c);
  page.show();
  QVERIFY(QTest::qWaitForWindowExposed(&page));
  QSignalSpy done(&page, &ui::LoginPage::LoggedIn);
  page.Activated();
  QTRY_VERIFY(page.UserField()->hasFocus());
  QTest::keyClick(page.UserField(), Qt::Key_Return); // no user name yet
  QVERIFY(page.UserField()->hasFocus());
  QTest::keyClicks(page.UserField(), "demo");
  QTest::keyClick(page.UserField(), Qt::Key_Return);
  QTRY_VERIFY(page.PasswordField()->hasFocus());
  QTest::keyClick(page.PasswordField(), Qt::Key_Return); // no password yet
  QCOMPARE(done.count(), 0);
  QTest::keyClicks(page.PasswordField(), "pw");
  QTest::keyClick(page.PasswordField(), Qt::Key_Return);
  QCOMPARE(done.count(), 1);
  QCOMPARE(gateway.CallCount("AuthenticateClient"), 1);
}

void LoginTest::rememberedPasswordIsFilledIn() {
  shell::Settings s;
  s.Login = "demo";
  s.Password = "secret";
  s.RememberPassword = false;
  ui::UiContext c;
  c.settings = &s;
  {
    ui::LoginPage page(c);
    QCOMPARE(page.UserField()->text(), QString("demo"));
    QCOMPARE(page.PasswordField()->text(), QString());
    QVERIFY(!page.RememberBox()->isChecked());
    QVERIFY(!page.OfflineBox()->isChecked());
  }
  s.RememberPassword = true;
  s.WorkingOnLine = false;
  ui::LoginPage page(c);
  QCOMPARE(page.PasswordField()->text(), QString("secret"));
  QVERIFY(page.RememberBox()->isChecked());
  QVERIFY(page.OfflineBox()->isChecked());
}

void LoginTest::bannerIsDownloadedAtLogin() {
  Fixture f;
  QVERIFY(f.Start());
  httplib::Server images;
  QImage banner(648, 81, QImage::Format_RGB32);
  banner.fill(QColor(250, 120, 0));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  banner.save(&buffer, "PNG");
  images.Get("/banner.png", [&](const httplib::Request &, httplib::Response &res) {
    res.set_content(png.toStdString(), "image/png");
  });
  int port = images.bind_to_any_port("127.0.0.1");
  std::thread serve([&] { images.listen_after_bind(); });
  f.settings.bg_image_path = "HTTP://127.0.0.1:" + std::to_string(port) + "/banner.png";
  ui::MainWindow &w = f.Make();
  QVERIFY(!w.HasBanner());
  f.Type("demo", "demo123");
  QVERIFY(f.Page().Submit());
  QTRY_VERIFY_WITH_TIMEOUT(w.HasBanner(), 10000);
  QCOMPARE(QColor(w.Skin().pixel(300, 40)), QColor(250, 120, 0));
  QVERIFY(std::filesystem::exists(f.data / "Veltrum.dll"));
  QVERIFY(!std::filesystem::exists(f.data / "Veltrum.dll.tmp"));
  images.stop();
  serve.join();
}

void LoginTest::failedBannerDownloadKeepsTheOldBanner() {
  Fixture f;
  QVERIFY(f.Start());
  QImage old(648, 81, QImage::Format_RGB32);
  old.fill(QColor(0, 0, 200));
  QVERIFY(old.save(QString::fromStdString((f.data / "Veltrum.dll").string()), "PNG"));
  // The simulator answers 404 for an unknown path.
  f.settings.bg_image_path = f.sim.BaseUrl() + "no/such/banner.png";
  ui::MainWindow &w = f.Make();
  QVERIFY(w.HasBanner());
  f.Type("demo", "demo123");
  QVERIFY(f.Page().Submit());
  f.window.reset(); // waits for the download
  ui::MainWindow &again = f.Make();
  QVERIFY(again.HasBanner());
  QCOMPARE(QColor(again.Skin().pixel(300, 40)), QColor(0, 0, 200));
}

void LoginTest::forgotPasswordReportsTheGatewaysAnswer() {
  uitest::BoxRecorder boxes;
  Fixture f;
  QVERIFY(f.Start());
  f.Make();
  QVERIFY(f.Page().RecoverPassword("demo", "demo@dovetext.example"));
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Forgot Password"));
  QVERIFY2(boxes.Last().text.startsWith("OK:"), qPrintable(boxes.Last().text));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconInformation);
  QVERIFY(!f.Page().RecoverPassword("demo", "someone@else.example"));
  QCOMPARE(boxes.Count(), 2);
  QVERIFY2(boxes.Last().text.startsWith("ERR:"), qPrintable(boxes.Last().text));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconError);
}

void LoginTest::versionDialogAsksTheLibrary() {
  Fixture f;
  QVERIFY(f.Start());
  f.Make();
  f.Type("demo", "demo123");
  QVERIFY(f.Page().Submit());
  ui::VersionDialog dialog("Dovetext", f.gateway.get());
  QCOMPARE(dialog.VersionLine(), QString("Version: 3.0.0.1"));
  QVERIFY2(dialog.CommsLine().startsWith("Comms: OK:"), qPrintable(dialog.CommsLine()));
}

DV_QTEST_MAIN(LoginTest)
#include "LoginTest.moc"
