// The proxy settings dialog and the proxy configuration routine, with a
// scripted gateway for the dialog's rules and through the real library for
// the failures it reports (an unreachable proxy, a proxy that does not pass
// the gateway through).
#include "SimGateway.h"
#include "UiTestSupport.h"

#include "ControlIds.h"
#include "ProxyConfigurator.h"
#include "ProxySettingsDialog.h"
#include "UiText.h"

#include "engine/GatewayBinding.h"
#include "shell/Settings.h"

#include <gatewaysim/GatewaySimServer.h>
#include <testsupport/TestEnv.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <httplib.h>

#include <memory>
#include <thread>

namespace {

ui::UiContext Context(shell::Settings &settings, engine::GatewayApi &gateway) {
  ui::UiContext c;
  c.settings = &settings;
  c.gateway = &gateway;
  return c;
}

} // namespace

class ProxyTest : public QObject {
  Q_OBJECT

private slots:
  void hostAndPortOnlyForTheProxyList();
  void changingTheTypeAppliesIt();
  void testSettingsForcesAndConfirms();
  void okAppliesAndCancelLeavesSettings();
  void unreachableProxyReportsMessage1140();
  void proxyThatCannotReachGatewayReportsMessage1141();
  void directConnectionTestsSuccessfully();
};

void ProxyTest::hostAndPortOnlyForTheProxyList() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  ui::ProxySettingsDialog dialog(Context(s, gateway));
  QCOMPARE(dialog.windowTitle(), QString("Proxy Settings"));
  QComboBox *type = dialog.TypeList();
  QCOMPARE(type->count(), 4);
  QCOMPARE(type->itemText(0), QString("Directly connect to the Internet"));
  QCOMPARE(type->itemText(3), QString("Use proxy list"));
  QCOMPARE(type->currentIndex(), 0);
  for (int i = 0; i < 4; ++i) {
    type->setCurrentIndex(i);
    bool list = i == 3;
    QCOMPARE(dialog.Host()->isEnabled(), list);
    QCOMPARE(dialog.Port()->isEnabled(), list);
    QVERIFY(dialog.User()->isEnabled());
    QVERIFY(dialog.Password()->isEnabled());
    QCOMPARE(dialog.Description()->text(), ui::Text(1377 + 2 * i));
    QVERIFY(!dialog.Description()->text().isEmpty());
  }
  QCOMPARE(dialog.Password()->echoMode(), QLineEdit::Password);
  QVERIFY(dialog.findChild<QPushButton *>("1192"));
}

void ProxyTest::changingTheTypeAppliesIt() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  s.ProxyType = 1;
  ui::ProxySettingsDialog dialog(Context(s, gateway));
  QVERIFY(gateway.proxyCalls.empty()); // opening applies nothing
  dialog.TypeList()->setCurrentIndex(1);
  QCOMPARE(s.ProxyType, 2);
  QCOMPARE(gateway.proxyCalls.size(), size_t(1));
  QCOMPARE(gateway.proxyCalls[0].type, 2);
  QVERIFY(gateway.proxyCalls[0].test); // online
  QCOMPARE(boxes.Count(), 0);
}

void ProxyTest::testSettingsForcesAndConfirms() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  s.ProxyType = 3;
  ui::ProxySettingsDialog dialog(Context(s, gateway));
  dialog.User()->setText("alice");
  QTest::mouseClick(dialog.findChild<QPushButton *>("1192"), Qt::LeftButton);
  QCOMPARE(gateway.proxyCalls.size(), size_t(1));
  QCOMPARE(gateway.proxyCalls[0].user, std::string("alice"));
  QCOMPARE(s.ProxyUsername, std::string("alice"));
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Proxy configuration ..."));
}

void ProxyTest::okAppliesAndCancelLeavesSettings() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  s.ProxyType = 4;
  s.ProxyHost = "old.example";
  s.ProxyPort = "3128";
  {
    ui::ProxySettingsDialog dialog(Context(s, gateway));
    QCOMPARE(dialog.Host()->text(), QString("old.example"));
    dialog.Host()->setText("new.example");
    QTest::mouseClick(dialog.findChild<QPushButton *>("2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(s.ProxyHost, std::string("old.example"));
    QVERIFY(gateway.proxyCalls.empty());
  }
  ui::ProxySettingsDialog dialog(Context(s, gateway));
  dialog.Host()->setText("new.example");
  dialog.Port()->setText("8080");
  QTest::mouseClick(dialog.findChild<QPushButton *>("1"), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(s.ProxyHost, std::string("new.example"));
  QCOMPARE(s.ProxyPort, std::string("8080"));
  QCOMPARE(gateway.proxyCalls.size(), size_t(1));
  QCOMPARE(boxes.Count(), 0); // an unforced success is silent
}

void ProxyTest::unreachableProxyReportsMessage1140() {
  uitest::BoxRecorder boxes;
  uitest::SimGateway real;
  QVERIFY(real.Start());
  shell::Settings s;
  s.help_url = "http://help.example/";
  s.ProxyType = 4;
  s.ProxyHost = "127.0.0.1";
  s.ProxyPort = std::to_string(testsupport::FreeLoopbackPort());
  QCOMPARE(ui::ProxyConfigurator::Run(*real.binding, s, true, nullptr), 95);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Proxy setup error ..."));
  QCOMPARE(boxes.Last().text, ui::Text(1140));
  QCOMPARE(boxes.Last().address, QString("http://help.example/"));
}

void ProxyTest::proxyThatCannotReachGatewayReportsMessage1141() {
  uitest::BoxRecorder boxes;
  uitest::SimGateway real;
  QVERIFY(real.Start());
  // A "proxy" that accepts connections but passes nothing through.
  httplib::Server proxy;
  auto refuse = [](const httplib::Request &, httplib::Response &res) {
    res.status = 502;
    res.set_content("bad gateway", "text/plain");
  };
  proxy.Get(".*", refuse);
  proxy.Post(".*", refuse);
  int port = proxy.bind_to_any_port("127.0.0.1");
  std::thread serve([&] { proxy.listen_after_bind(); });
  shell::Settings s;
  s.ProxyType = 4;
  s.ProxyHost = "127.0.0.1";
  s.ProxyPort = std::to_string(port);
  int code = ui::ProxyConfigurator::Run(*real.binding, s, true, nullptr);
  proxy.stop();
  serve.join();
  QCOMPARE(code, 96);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().text, ui::Text(1141));
}

void ProxyTest::directConnectionTestsSuccessfully() {
  uitest::BoxRecorder boxes;
  uitest::SimGateway real;
  QVERIFY(real.Start());
  shell::Settings s;
  s.ProxyType = 2;
  ui::UiContext c;
  c.settings = &s;
  c.gateway = real.binding.get();
  ui::ProxySettingsDialog dialog(c);
  dialog.TypeList()->setCurrentIndex(0);
  QCOMPARE(s.ProxyType, 1);
  QCOMPARE(boxes.Count(), 0);
  QCOMPARE(dialog.Apply(true), 0);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().text, ui::Text(1385));
  QCOMPARE(boxes.Last().caption, ui::Text(1384));
}

DV_QTEST_MAIN(ProxyTest)
#include "ProxyTest.moc"
