// The window while the gateway is slow: every gateway call of the
// user-interface thread (balance refresh, login, version, proxy test,
// password recovery) waits with the event loop running, also while the
// worker holds the gateway inside a request. Real library, real worker,
// the simulator delaying its answers.
#include "SimGateway.h"
#include "UiTestSupport.h"

#include "LoginPage.h"
#include "MainWindow.h"
#include "OutboxPage.h"
#include "ProxyConfigurator.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "SmsPage.h"
#include "VersionDialog.h"
#include "WindowMessage.h"

#include "engine/CommsWorker.h"
#include "engine/LoginOperation.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {

// A 20 ms timer on the user-interface thread: how often it fired and the
// longest time between two firings (a blocked event loop shows as one long
// gap).
class LoopWatch {
public:
  LoopWatch() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  }
  void Start() {
    ticks_ = 0;
    maxGap_ = 0;
    last_ = 0;
    clock_.start();
    timer_.start();
  }
  void Stop() {
    timer_.stop();
    Tick();
  }
  int Ticks() const { return ticks_; }
  qint64 MaxGap() const { return maxGap_; }
  qint64 Elapsed() const { return last_; }

private:
  void Tick() {
    const qint64 now = clock_.elapsed();
    maxGap_ = std::max(maxGap_, now - last_);
    last_ = now;
    ++ticks_;
  }
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 maxGap_ = 0;
  int ticks_ = 0;
};

// Makes the simulator answer every request only after `ms`.
bool Delay(gatewaysim::GatewaySimServer &sim, int ms) {
  gatewaysim::FaultSpec slow; // every path
  slow.kind = gatewaysim::FaultKind::Latency;
  slow.latencyMs = ms;
  return sim.AddFault(slow);
}

} // namespace

class ResponsivenessTest : public QObject {
  Q_OBJECT

private slots:
  void balanceRefreshWaitsWithTheWindowLiveWhileTheWorkerSends();
  void userCallsWaitWithTheWindowLive();
};

void ResponsivenessTest::balanceRefreshWaitsWithTheWindowLiveWhileTheWorkerSends() {
  constexpr int kLatencyMs = 5000;
  uitest::BoxRecorder boxes;
  uitest::SimGateway gateway;
  QVERIFY(gateway.Start());
  shell::StringTable strings;
  QVERIFY(
      engine::LoginOperation::Login(*gateway.binding, "DVTX", "demo", "demo123", nullptr, strings)
          .ok);

  auto data = uitest::MakeDataFolder();
  store::SmsStore store(data.string());
  store.AddSms(0, 0, 0, 0, "27825550101", "Hello there", "", 0, "?", 0);
  QVERIFY(store.Commit());
  shell::Settings settings;
  settings.LastBalance = 0;
  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt(qApp);
  ui::QtOutboxRebuilder rebuilder;
  ui::UiContext context;
  context.settings = &settings;
  context.store = &store;
  context.gateway = gateway.binding.get();
  context.prompt = &prompt;
  context.poster = &poster;
  ui::MainWindow window(context);
  rebuilder.SetPage(window.Outbox());

  engine::CommsWorker worker(uitest::ProgramServices(store, *gateway.binding, settings, strings,
                                                     poster, prompt, rebuilder));

  QVERIFY(Delay(gateway.sim, kLatencyMs));
  QVERIFY(worker.Start());
  // The worker is inside its request, holding the gateway.
  QTRY_VERIFY_WITH_TIMEOUT(uitest::SimRequests(gateway.sim, "http/sendmsg") == 1, 10000);

  LoopWatch watch;
  watch.Start();
  QSignalSpy refreshed(window.Sms(), &ui::SmsPage::BalanceRefreshed);
  ui::PostWindowMessage(window.Sms(), engine::UM_REFRESH_BALANCE);
  QTRY_COMPARE_WITH_TIMEOUT(refreshed.count(), 1, 4 * kLatencyMs);
  watch.Stop();
  qInfo("Balance refresh behind a %d ms request: done after %lld ms; UI timer (20 ms) fired %d "
        "times, longest gap %lld ms",
        kLatencyMs, watch.Elapsed(), watch.Ticks(), watch.MaxGap());

  // The refresh finished when the gateway answered, with its balance.
  QCOMPARE(uitest::SimRequests(gateway.sim, "http/getbalance"), 1);
  QVERIFY(settings.LastBalance > 0);
  // The event loop ran all along: a blocked loop would show one gap of the
  // whole wait.
  QVERIFY2(watch.MaxGap() < kLatencyMs / 2, qPrintable(QString::number(watch.MaxGap())));
  QCOMPARE(boxes.Count(), 0);
  gateway.sim.ClearFaults();
}

void ResponsivenessTest::userCallsWaitWithTheWindowLive() {
  constexpr int kLatencyMs = 1500;
  uitest::BoxRecorder boxes;
  uitest::SimGateway gateway;
  QVERIFY(gateway.Start());
  QVERIFY(Delay(gateway.sim, kLatencyMs));
  ::unsetenv("http_proxy");
  auto data = uitest::MakeDataFolder();
  shell::Settings settings;
  ui::QtMessagePoster poster;
  ui::QtUserPrompt prompt(qApp);
  ui::UiContext context;
  context.settings = &settings;
  context.gateway = gateway.binding.get();
  context.prompt = &prompt;
  context.poster = &poster;
  context.dataFolder = QString::fromStdString(data.string());
  ui::MainWindow window(context);

  LoopWatch watch;
  auto live = [&](const char *call) {
    watch.Stop();
    qInfo("%s behind a %d ms gateway: UI timer fired %d times, longest gap %lld ms", call,
          kLatencyMs, watch.Ticks(), watch.MaxGap());
    return watch.Ticks() >= 10 && watch.MaxGap() < kLatencyMs / 2;
  };

  window.Login()->UserField()->setText("demo");
  window.Login()->PasswordField()->setText("demo123");
  watch.Start();
  QVERIFY(window.Login()->Submit());
  QVERIFY(live("Login"));

  watch.Start();
  ui::VersionDialog version("Dovetext", gateway.binding.get());
  QVERIFY(live("Version"));
  QVERIFY(version.CommsLine().size() > QString("Comms: ").size());

  settings.ProxyType = 2; // the desktop's proxy, here none: the test goes to the gateway
  watch.Start();
  QCOMPARE(ui::ProxyConfigurator::Run(*gateway.binding, settings, true, nullptr), 0);
  QVERIFY(live("Proxy test"));

  watch.Start();
  QVERIFY(window.Login()->RecoverPassword("demo", "demo@dovetext.example"));
  QVERIFY(live("Password recovery"));
  QCOMPARE(boxes.Count(), 1); // the recovery's answer
  gateway.sim.ClearFaults();
}

DV_QTEST_MAIN(ResponsivenessTest)
#include "ResponsivenessTest.moc"
