// Renders the main window and the dialogs to PNG files in
// <build>/screenshots, so a reviewer can look at them, and checks that what
// was drawn is the skin, not an empty window.
#include "UiTestSupport.h"

#include "AnimatedIndicator.h"
#include "ControlIds.h"
#include "LoginPage.h"
#include "MainWindow.h"
#include "MessageDialog.h"
#include "ProgressDisplay.h"
#include "ProxySettingsDialog.h"
#include "QtMessagePoster.h"
#include "ShutdownDialog.h"
#include "TabButton.h"
#include "VersionDialog.h"
#include "WindowMessage.h"

#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QtTest>

namespace {

QString Shot(QWidget &w, const QString &name) {
  auto dir = testsupport::BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  QString path = QString::fromStdString((dir / (name.toStdString() + ".png")).string());
  QPixmap pixmap = w.grab();
  pixmap.save(path);
  return path;
}

} // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT

private slots:
  void loginPage();
  void afterLogin();
  void dialogs();
};

void ScreenshotTest::loginPage() {
  shell::Settings settings;
  settings.Login = "demo";
  ui::UiContext context;
  context.settings = &settings;
  ui::MainWindow window(context);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.Login()->StatusLine()->setText("Unknown username or password!");
  QString path = Shot(window, "main-login");
  QImage image(path);
  QCOMPARE(image.size(), window.size());
  // The header band is drawn (dark), the body light.
  QVERIFY(qGray(image.pixel(300, 40)) < 140);
  QVERIFY(qGray(image.pixel(20, 300)) > 200);
}

void ScreenshotTest::afterLogin() {
  auto data = uitest::MakeDataFolder();
  shell::Settings settings;
  settings.LastBalance = 985;
  store::SmsStore store(data.string());
  for (int i = 0; i < 12; ++i)
    store.AddSms(0, 0, 0, 0, "27821234567", "Hello", "", 0, "?", 0);
  ui::QtMessagePoster poster;
  ui::UiContext context;
  context.settings = &settings;
  context.store = &store;
  context.poster = &poster;
  context.startWorker = [] { return true; };
  ui::MainWindow window(context);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.Command(ui::ids::kLoginDone);
  QCoreApplication::processEvents();
  ui::PostWindowMessage(&window, engine::UM_PROGRESS_SENDING);
  ui::PostWindowMessage(&window, engine::UM_PROGRESS_COUNT, 12, 0);
  QCoreApplication::processEvents();
  QCOMPARE(window.Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (12)"));
  Shot(window, "main-sms");
  window.SelectTab(ui::ids::kTabOutbox);
  Shot(window, "main-outbox");
  ui::PostWindowMessage(&window, engine::UM_WENT_OFFLINE);
  ui::PostWindowMessage(&window, engine::UM_PROGRESS_IDLE);
  QCoreApplication::processEvents();
  window.SelectTab(ui::ids::kTabOptions);
  Shot(window, "main-options-offline");
}

void ScreenshotTest::dialogs() {
  shell::Settings settings;
  settings.ProxyType = 4;
  settings.ProxyHost = "proxy.example.net";
  settings.ProxyPort = "8080";
  ui::UiContext context;
  context.settings = &settings;
  ui::ProxySettingsDialog proxy(context);
  proxy.show();
  QVERIFY(QTest::qWaitForWindowExposed(&proxy));
  Shot(proxy, "dialog-proxy");

  uitest::FakeGateway gateway;
  gateway.replies["Version"] = "OK: 2.0.0.44";
  ui::VersionDialog version("Dovetext", &gateway);
  version.show();
  QVERIFY(QTest::qWaitForWindowExposed(&version));
  Shot(version, "dialog-version");

  ui::ShutdownDialog shutdown;
  shutdown.SetStep(2);
  shutdown.show();
  QVERIFY(QTest::qWaitForWindowExposed(&shutdown));
  Shot(shutdown, "dialog-shutdown");

  ui::MessageDialog message(nullptr, "Proxy setup error ...",
                            "Failed to communicate with the proxy server.  Check the proxy name "
                            "and the port.  You might also still be offline.",
                            "http://support.ostrand.example/help");
  message.show();
  QVERIFY(QTest::qWaitForWindowExposed(&message));
  Shot(message, "dialog-message");
}

DV_QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
