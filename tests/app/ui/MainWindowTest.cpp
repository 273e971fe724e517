// The main window on its own: geometry, pages and tabs, login completion,
// the Outbox caption, the balance cycle, the progress display, online
// state, failure boxes, the tray, the probe, the banner and the close
// button. Gateway calls go to a scripted fake.
#include "UiTestSupport.h"

#include "AnimatedIndicator.h"
#include "BalanceLabel.h"
#include "BalanceRefreshCycle.h"
#include "CloseButton.h"
#include "ControlIds.h"
#include "InstanceGuard.h"
#include "LoginPage.h"
#include "MainWindow.h"
#include "OptionsPage.h"
#include "OutboxPage.h"
#include "ProgressDisplay.h"
#include "QtMessagePoster.h"
#include "SmsPage.h"
#include "TabButton.h"
#include "TrayController.h"
#include "VersionDialog.h"
#include "WindowMessage.h"

#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/ProcessObjects.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <testsupport/SessionBus.h>
#include <testsupport/TestEnv.h>

#include <QAccessible>
#include <QAction>
#include <QDBusConnection>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

#include <future>
#include <memory>

namespace {

// A window with its collaborators: settings, a real store in a fresh data
// folder, the poster and a fake gateway.
struct Fixture {
  std::filesystem::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  std::unique_ptr<store::SmsStore> store = std::make_unique<store::SmsStore>(data.string());
  shell::SettingsFile settingsFile{(data / "SMS.dat").string(), false};
  ui::QtMessagePoster poster;
  uitest::FakeGateway gateway;
  int workerStarts = 0;
  int commits = 0;
  std::unique_ptr<ui::MainWindow> window;

  ui::MainWindow &Make() {
    ui::UiContext c;
    c.settings = &settings;
    c.settingsFile = &settingsFile;
    c.store = store.get();
    c.gateway = &gateway;
    c.poster = &poster;
    c.dataFolder = QString::fromStdString(data.string());
    c.startWorker = [this] {
      ++workerStarts;
      return true;
    };
    c.commitStore = [this] {
      ++commits;
      store->Commit();
    };
    window = std::make_unique<ui::MainWindow>(c);
    return *window;
  }
  void AddMessages(int count, int status) {
    for (int i = 0; i < count; ++i)
      store->AddSms(status, 0, 0, 0, "27820000000", "text", "", 0, "?", 0);
  }
};

void Pump() {
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents();
}

void Post(QObject *target, unsigned message, std::uintptr_t w = 0, std::intptr_t l = 0) {
  ui::PostWindowMessage(target, message, w, l);
  Pump();
}

} // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

private slots:
  void createdOnTheLoginPageWithEverythingInPlace();
  void pagePlacementRoundsTowardMinusInfinity();
  void loginCompletionStartsWorkerAndShowsTabs();
  void loginCompletionOfflinePostsWentOffline();
  void selectingTheSelectedTabDoesNothing();
  void leavingOptionsStoresThePage();
  void outboxCaptionAt999And1000Messages();
  void severalBalanceChangesGiveExactlyOneMoreCycle();
  void balanceRefreshQueriesTheGatewayOnlyOnline();
  void progressMessagesDriveIndicatorAndStatusLine();
  void countAfterIdleRestartsOnlyTheAnimation();
  void countAfterConnectingChangesNothingVisible();
  void onlineAndOfflineStateWithTrayIcons();
  void deleteFailedShowsCountOrGenericError();
  void accountChangedTakesTheProgramOffline();
  void trayMenuInItsOrderWithExitAsDefault();
  void trayLeftClickRestoresTheWindow();
  void trayIconReturnsWithTheNotificationArea();
  void trayIsPolledOnlyWithoutASessionBus();
  void exitStoresOptionsAndEndsTheLoop();
  void closeButtonHidesOrMinimisesAndCommits();
  void probeIsAnsweredAndWindowShown();
  void titleAndTipFollowTheClientId();
  void bannerIsDrawnAndReloaded();
  void dragOnlyByTheTopStrip();
  void updateCheckWithoutAddressesPointsToSupport();
  void versionDialogShowsBothVersions();
  void editCommandsReachOnlyTheSmsPage();
};

void MainWindowTest::createdOnTheLoginPageWithEverythingInPlace() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  QCOMPARE(w.size(), QSize(658, 522));
  QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
  QCOMPARE(w.Skin().size(), QSize(656, 520));
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Login);
  QCOMPARE(w.SelectedTab(), 0);

  auto *close = w.findChild<ui::CloseButton *>("1002");
  QVERIFY(close);
  QCOMPARE(close->geometry(), QRect(637, 4, 15, 15));
  const int xs[] = {24, 340, 440, 540};
  const int tabIds[] = {1044, 1045, 1046, 1047};
  for (int i = 0; i < 4; ++i) {
    auto *tab = w.findChild<ui::TabButton *>(QString::number(tabIds[i]));
    QVERIFY(tab);
    QCOMPARE(tab->geometry(), QRect(xs[i], 88, 98, 19));
    QVERIFY(tab->isHidden());
    QVERIFY(!tab->IsSelected());
  }
  QCOMPARE(w.Busy()->geometry(), QRect(634, 498, 16, 16));
  QCOMPARE(w.Offline()->geometry(), QRect(634, 498, 16, 16));
  QVERIFY(w.Busy()->isHidden() && !w.Busy()->IsRunning());
  QVERIFY(w.Offline()->isHidden() && !w.Offline()->IsRunning());
  QCOMPARE(w.Busy()->Frames(), 4);
  QCOMPARE(w.Busy()->IntervalMs(), 200);
  QCOMPARE(w.Offline()->Frames(), 2);
  QCOMPARE(w.Offline()->IntervalMs(), 1000);

  for (auto page :
       {ui::MainWindow::Page::Login, ui::MainWindow::Page::Sms, ui::MainWindow::Page::Addresses,
        ui::MainWindow::Page::Outbox, ui::MainWindow::Page::Options}) {
    ui::PageFrame *p = w.PageWidget(page);
    QSize s = p->size();
    QCOMPARE(p->pos(), QPoint((656 - s.width()) / 2, (520 - s.height() - 109) / 2 + 109));
    QCOMPARE(p->isHidden(), page != ui::MainWindow::Page::Login);
  }
  QVERIFY(w.findChild<QWidget *>("203"));
  QVERIFY(w.findChild<QWidget *>("208"));

  // The window's own controls carry names for assistive technology.
  auto name = [](QWidget *widget) {
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
    return a ? a->text(QAccessible::Name) : QString();
  };
  QCOMPARE(name(close), QString("Close app"));
  QCOMPARE(name(w.Tab(ui::ids::kTabSms)), QString("SMS"));
  QCOMPARE(name(w.Tab(ui::ids::kTabOptions)), QString("Options"));
  QCOMPARE(name(w.Busy()), QString("Communicating with the server"));
  QCOMPARE(name(w.Offline()), QString("Working off-line"));
}

void MainWindowTest::pagePlacementRoundsTowardMinusInfinity() {
  QCOMPARE(ui::MainWindow::PlacePage({656, 520}, {400, 296}), QPoint(128, 166));
  QCOMPARE(ui::MainWindow::PlacePage({656, 520}, {401, 297}), QPoint(127, 166));
  // A page taller than the band: -89 / 2 rounds to -45, not -44.
  QCOMPARE(ui::MainWindow::PlacePage({656, 520}, {701, 500}), QPoint(-23, 64));
}

void MainWindowTest::loginCompletionStartsWorkerAndShowsTabs() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  QCOMPARE(f.workerStarts, 1);
  for (int id : {1044, 1045, 1046, 1047})
    QVERIFY(!w.Tab(id)->isHidden());
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Sms);
  QCOMPARE(w.SelectedTab(), ui::ids::kTabSms);
  QVERIFY(w.Tab(ui::ids::kTabSms)->IsSelected());
  QVERIFY(w.Login()->isHidden());
  QVERIFY(!w.Sms()->isHidden());
  QCOMPARE(w.Options()->LoadCount(), 1);
  QCOMPARE(w.Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (0)"));
  QVERIFY(w.Offline()->isHidden()); // UM_WENT_ONLINE
  // One balance cycle brings the account's balance after the login.
  QVERIFY(w.BalanceCycle()->TimerRunning());
  w.BalanceCycle()->OnTimer();
  Pump();
  QCOMPARE(f.gateway.CallCount("QueryBalance"), 1);
}

void MainWindowTest::loginCompletionOfflinePostsWentOffline() {
  Fixture f;
  f.settings.WorkingOnLine = false;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  QVERIFY(!w.Offline()->isHidden());
  QVERIFY(w.Offline()->IsRunning());
  QCOMPARE(w.Tray()->IconId(), 258);
  QVERIFY(!w.BalanceCycle()->TimerRunning());
}

void MainWindowTest::selectingTheSelectedTabDoesNothing() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  Post(&w, engine::UM_SELECT_TAB, 0, ui::ids::kTabOutbox);
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Outbox);
  QCOMPARE(w.Outbox()->RebuildCount(), 1);
  QVERIFY(!w.Tab(ui::ids::kTabSms)->IsSelected());
  QVERIFY(w.Tab(ui::ids::kTabOutbox)->IsSelected());
  int switches = w.PageSwitches();
  Post(&w, engine::UM_SELECT_TAB, 0, ui::ids::kTabOutbox);
  QCOMPARE(w.PageSwitches(), switches);
  QCOMPARE(w.Outbox()->RebuildCount(), 1); // not refreshed
  // A click on the tab button goes the same way.
  QTest::mouseClick(w.Tab(ui::ids::kTabAddresses), Qt::LeftButton);
  Pump();
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Addresses);
  // Unknown ids change nothing.
  Post(&w, engine::UM_SELECT_TAB, 0, 4711);
  QCOMPARE(w.CurrentPage(), ui::MainWindow::Page::Addresses);
}

void MainWindowTest::leavingOptionsStoresThePage() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  w.SelectTab(ui::ids::kTabOptions);
  QCOMPARE(w.Options()->LoadCount(), 2);
  QCOMPARE(w.Options()->StoreCount(), 0);
  w.SelectTab(ui::ids::kTabSms);
  QCOMPARE(w.Options()->StoreCount(), 1);
  // StorePage saves the settings file.
  shell::SettingsFile file((f.data / "SMS.dat").string(), false);
  QVERIFY(file.Count() > 0);
}

void MainWindowTest::outboxCaptionAt999And1000Messages() {
  Fixture f;
  f.AddMessages(990, 0); // Pending
  f.AddMessages(5, 4);   // Scheduled
  f.AddMessages(4, 6);   // Delay Scheduled
  f.AddMessages(7, 2);   // Failed: not waiting
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  QCOMPARE(w.Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (999)"));
  f.AddMessages(1, 0);
  w.Outbox()->Rebuild(false); // the outbox changed
  QCOMPARE(w.Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (>999)"));
}

void MainWindowTest::severalBalanceChangesGiveExactlyOneMoreCycle() {
  Fixture f;
  f.settings.WorkingOnLine = false; // no gateway traffic in this test
  ui::MainWindow &w = f.Make();
  ui::BalanceRefreshCycle *cycle = w.BalanceCycle();
  QCOMPARE(cycle->Timer().interval(), 10000);
  Post(&w, engine::UM_BALANCE_CHANGED);
  QVERIFY(cycle->TimerRunning());
  QVERIFY(cycle->Timer().isActive());
  QVERIFY(!cycle->Again());
  QVERIFY(w.Sms()->Balance()->IsFlashing());
  QVERIFY(w.Options()->Balance()->IsFlashing());
  Post(&w, engine::UM_BALANCE_CHANGED);
  Post(&w, engine::UM_BALANCE_CHANGED);
  Post(&w, engine::UM_BALANCE_CHANGED);
  QVERIFY(cycle->Again());

  cycle->OnTimer(); // the first cycle ends
  Pump();
  QCOMPARE(w.Sms()->RefreshCount(), 1);
  QVERIFY(cycle->TimerRunning()); // the one more cycle
  QVERIFY(!cycle->Again());
  QVERIFY(cycle->Timer().isActive());

  cycle->OnTimer(); // the second ends without another
  Pump();
  QCOMPARE(w.Sms()->RefreshCount(), 2);
  QVERIFY(!cycle->TimerRunning());
  QVERIFY(!cycle->Timer().isActive());
  QVERIFY(!w.Sms()->Balance()->IsFlashing());
  QVERIFY(!w.Options()->Balance()->IsFlashing());
}

void MainWindowTest::balanceRefreshQueriesTheGatewayOnlyOnline() {
  Fixture f;
  f.gateway.replies["QueryBalance"] = "42.5";
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  Post(w.Sms(), engine::UM_REFRESH_BALANCE);
  QCOMPARE(f.gateway.CallCount("QueryBalance"), 1);
  QCOMPARE(f.settings.LastBalance, 425);
  QCOMPARE(w.Sms()->Balance()->text(), QString("Balance: 42.5"));
  QCOMPARE(w.Options()->Balance()->text(), QString("Balance: 42.5"));
  // A failed query keeps the last balance.
  f.gateway.errors["QueryBalance"] = 3;
  f.gateway.replies["QueryBalance"] = "ERR: 3, Session expired";
  Post(w.Sms(), engine::UM_REFRESH_BALANCE);
  QCOMPARE(f.settings.LastBalance, 425);
  // Offline nothing is asked and the label says so.
  f.settings.WorkingOnLine = false;
  Post(w.Sms(), engine::UM_REFRESH_BALANCE);
  QCOMPARE(f.gateway.CallCount("QueryBalance"), 2);
  QCOMPARE(w.Sms()->Balance()->text(), QString("Balance: 42.5?"));
}

void MainWindowTest::progressMessagesDriveIndicatorAndStatusLine() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  Post(&w, engine::UM_PROGRESS_CONNECTING);
  QVERIFY(!w.Busy()->isHidden() && w.Busy()->IsRunning());
  QCOMPARE(w.Busy()->toolTip(), QString("Communicating to server ..."));
  QCOMPARE(w.Outbox()->StatusLine(), QString("Communicating to server ..."));

  Post(&w, engine::UM_PROGRESS_SENDING);
  QCOMPARE(w.Progress()->Title(), QString("Sending SMS"));
  QCOMPARE(w.Outbox()->StatusLine(), QString("Sending SMS"));
  Post(&w, engine::UM_PROGRESS_COUNT, 5, 2);
  QCOMPARE(w.Outbox()->StatusLine(), QString("Sending SMS:5 SMS to go. Expanding(2)"));
  QCOMPARE(w.Busy()->toolTip(), QString("Sending SMS:5 SMS to go. Expanding(2)"));

  Post(&w, engine::UM_PROGRESS_QUERYING);
  Post(&w, engine::UM_PROGRESS_COUNT, 17, 0);
  QCOMPARE(w.Outbox()->StatusLine(), QString("Querying status: 17 SMS still to check!"));
  Post(&w, engine::UM_PROGRESS_ESCALATION);
  Post(&w, engine::UM_PROGRESS_COUNT, 3, 9);
  QCOMPARE(w.Outbox()->StatusLine(), QString("Performing escalation: 3 of 9"));

  Post(&w, engine::UM_PROGRESS_IDLE);
  QVERIFY(w.Busy()->isHidden());
  QVERIFY(!w.Busy()->IsRunning());
  QCOMPARE(w.Outbox()->StatusLine(), QString());
  QCOMPARE(w.Progress()->Title(), QString());
  QCOMPARE(w.Progress()->LastProgressMessage(), engine::UM_PROGRESS_IDLE);
}

void MainWindowTest::countAfterIdleRestartsOnlyTheAnimation() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  Post(&w, engine::UM_PROGRESS_SENDING);
  Post(&w, engine::UM_PROGRESS_COUNT, 4, 0);
  Post(&w, engine::UM_PROGRESS_IDLE);
  QString tip = w.Busy()->toolTip();
  Post(&w, engine::UM_PROGRESS_COUNT, 9, 9);
  QVERIFY(w.Busy()->IsRunning());
  QVERIFY(!w.Busy()->isHidden());
  QCOMPARE(w.Busy()->toolTip(), tip);
  QCOMPARE(w.Outbox()->StatusLine(), QString());
}

void MainWindowTest::countAfterConnectingChangesNothingVisible() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  Post(&w, engine::UM_PROGRESS_SENDING);
  Post(&w, engine::UM_PROGRESS_CONNECTING);
  Post(&w, engine::UM_PROGRESS_COUNT, 5, 5);
  QCOMPARE(w.Busy()->toolTip(), QString("Communicating to server ..."));
  QCOMPARE(w.Outbox()->StatusLine(), QString("Communicating to server ..."));
}

void MainWindowTest::onlineAndOfflineStateWithTrayIcons() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  QCOMPARE(w.Tray()->IconId(), 221);
  Post(&w, engine::UM_WENT_OFFLINE);
  QVERIFY(!w.Offline()->isHidden());
  QVERIFY(w.Offline()->IsRunning());
  QCOMPARE(w.Tray()->IconId(), 258);
  int frame = w.Offline()->Frame();
  w.Offline()->Advance();
  QCOMPARE(w.Offline()->Frame(), (frame + 1) % 2);
  Post(&w, engine::UM_WENT_ONLINE);
  QVERIFY(w.Offline()->isHidden());
  QVERIFY(!w.Offline()->IsRunning());
  QCOMPARE(w.Tray()->IconId(), 221);
}

void MainWindowTest::deleteFailedShowsCountOrGenericError() {
  uitest::BoxRecorder boxes;
  Fixture f;
  ui::MainWindow &w = f.Make();
  Post(&w, engine::UM_DELETE_FAILED, 1, 2);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Error ..."));
  QVERIFY(boxes.Last().text.startsWith("Could not delete 2 messages from the server.\n"));
  QCOMPARE(boxes.Last().style, engine::kBoxOk | engine::kBoxIconError);
  Post(&w, engine::UM_DELETE_FAILED, 0, 0);
  QCOMPARE(boxes.Count(), 2);
  QCOMPARE(boxes.Last().text,
           QString("An unforseen error has occured.  Please retry the operation."));
}

void MainWindowTest::accountChangedTakesTheProgramOffline() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  Pump();
  QVERIFY(w.Offline()->isHidden());
  // The worker posts to the Options page through the poster.
  f.poster.Post(engine::WindowTarget::OptionsPage, engine::UM_ACCOUNT_CHANGED, 0, 0);
  Pump();
  QVERIFY(!f.settings.WorkingOnLine);
  QVERIFY(!w.Offline()->isHidden());
  QCOMPARE(w.Options()->Balance()->text(), QString("Balance: 0.0?"));
}

void MainWindowTest::trayMenuInItsOrderWithExitAsDefault() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  QMenu *menu = w.Tray()->Menu();
  QCOMPARE(menu->title(), QString("Taskbar"));
  QList<QAction *> actions = menu->actions();
  QCOMPARE(actions.size(), 5);
  QCOMPARE(actions[0]->text(), QString("Display version information"));
  QCOMPARE(actions[0]->objectName(), QString("32809"));
  QCOMPARE(actions[1]->text(), QString("Check for latest updates"));
  QCOMPARE(actions[1]->objectName(), QString("32806"));
  QCOMPARE(actions[2]->text(), QString("Proxy Settings"));
  QCOMPARE(actions[2]->objectName(), QString("32807"));
  QVERIFY(actions[3]->isSeparator());
  QCOMPARE(actions[4]->text(), QString("Exit"));
  QCOMPARE(menu->defaultAction(), actions[4]);
  QVERIFY(actions[4]->font().bold());
  for (QAction *a : actions)
    QVERIFY(a->isEnabled());
}

void MainWindowTest::trayLeftClickRestoresTheWindow() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  QVERIFY(!w.isVisible());
  Post(&w, engine::UM_TRAY_NOTIFY, 2, ui::kTrayLeftButtonDown); // another icon id
  QVERIFY(!w.isVisible());
  Post(&w, engine::UM_TRAY_NOTIFY, 1, 0x0200); // mouse move: ignored
  QVERIFY(!w.isVisible());
  Post(&w, engine::UM_TRAY_NOTIFY, 1, ui::kTrayLeftButtonDown);
  QVERIFY(w.isVisible());
  QVERIFY(!w.isMinimized());
}

void MainWindowTest::trayIconReturnsWithTheNotificationArea() {
  testsupport::SessionBus bus;
  if (!bus.Start()) QSKIP(bus.Problem().c_str());
  Fixture f;
  ui::MainWindow &w = f.Make();
  ui::TrayController *tray = w.Tray();
  QVERIFY(tray->WatchesSessionBus());
  QVERIFY(!tray->Polls());
  int adds = tray->AddCount();
  Post(&w, engine::UM_WENT_OFFLINE);

  // The desktop shell (re)starts: its StatusNotifierWatcher takes its name.
  auto shell = QDBusConnection::connectToBus(QString::fromStdString(bus.Address()), "shell");
  QVERIFY(shell.isConnected());
  QVERIFY(shell.registerService(ui::TrayController::kWatcherService));
  QTRY_COMPARE(tray->AddCount(), adds + 1);
  QVERIFY(shell.unregisterService(ui::TrayController::kWatcherService));
  QVERIFY(shell.registerService(ui::TrayController::kWatcherService));
  QTRY_COMPARE(tray->AddCount(), adds + 2);
  // The icon comes back as it was.
  QCOMPARE(tray->Tip(), QString("Dovetext"));
  QCOMPARE(tray->IconId(), 258);
  QDBusConnection::disconnectFromBus("shell");
}

void MainWindowTest::trayIsPolledOnlyWithoutASessionBus() {
  Fixture f; // the sandbox's session bus address leads nowhere
  ui::MainWindow &w = f.Make();
  QVERIFY(!w.Tray()->WatchesSessionBus());
  QVERIFY(w.Tray()->Polls());
}

void MainWindowTest::exitStoresOptionsAndEndsTheLoop() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.Command(ui::ids::kLoginDone);
  w.SelectTab(ui::ids::kTabOptions);
  w.show();
  QSignalSpy exit(&w, &ui::MainWindow::ExitRequested);
  w.Tray()->Action(ui::ids::kExit)->trigger();
  QCOMPARE(exit.count(), 1);
  QCOMPARE(w.Options()->StoreCount(), 1);
  QVERIFY(!w.isVisible());
}

void MainWindowTest::closeButtonHidesOrMinimisesAndCommits() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(w.findChild<ui::CloseButton *>("1002"), Qt::LeftButton);
  Pump();
  QCOMPARE(f.commits, 1);
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    QVERIFY(!w.isVisible());
  } else {
    // Without a notification area the window could not come back.
    QVERIFY(w.isVisible());
    QVERIFY(w.isMinimized());
  }
}

void MainWindowTest::probeIsAnsweredAndWindowShown() {
  Fixture f;
  f.settings.StartMinimized = true;
  ui::MainWindow &w = f.Make();
  QVERIFY(w.ListenForProbe());
  QVERIFY(!w.isVisible());
  auto answer = std::async(std::launch::async, [] { return ui::InstanceGuard::Probe(5000); });
  QTRY_VERIFY(w.isVisible());
  auto value = answer.get();
  QVERIFY(value.has_value());
  QCOMPARE(*value, 0x6D2E41F3u);
}

void MainWindowTest::titleAndTipFollowTheClientId() {
  {
    Fixture f;
    ui::MainWindow &w = f.Make();
    QCOMPARE(w.windowTitle(), QString("Dovetext"));
    QCOMPARE(w.Tray()->Tip(), QString("Dovetext"));
  }
  {
    Fixture f;
    f.settings.client_id = "ACME";
    ui::MainWindow &w = f.Make();
    QCOMPARE(w.windowTitle(), QString("SMS Client"));
    QCOMPARE(w.Tray()->Tip(), QString()); // string 221 does not exist
  }
  {
    shell::StringTable strings;
    strings.Set(1024, std::string(200, 'T'));
    shell::gStrings = &strings;
    Fixture f;
    ui::MainWindow &w = f.Make();
    QCOMPARE(w.windowTitle().size(), 200);
    QCOMPARE(w.Tray()->Tip(), QString(127, 'T'));
    f.window.reset();
    shell::gStrings = nullptr;
  }
}

void MainWindowTest::bannerIsDrawnAndReloaded() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  QVERIFY(!w.HasBanner());
  QRgb plain = w.Skin().pixel(300, 40);
  QImage banner(648, 81, QImage::Format_RGB32);
  banner.fill(QColor(10, 200, 30));
  QVERIFY(banner.save(QString::fromStdString((f.data / "Veltrum.dll").string()), "PNG"));
  Post(&w, engine::UM_RELOAD_BANNER);
  QVERIFY(w.HasBanner());
  QCOMPARE(QColor(w.Skin().pixel(300, 40)), QColor(10, 200, 30));
  QCOMPARE(QColor(w.Skin().pixel(4, 4)), QColor(10, 200, 30));
  QVERIFY(QColor(w.Skin().pixel(2, 2)) != QColor(10, 200, 30)); // only at (4, 4)
  // A damaged file leaves the plain skin.
  testsupport::WriteFile(f.data / "Veltrum.dll", "garbage");
  Post(&w, engine::UM_RELOAD_BANNER);
  QVERIFY(!w.HasBanner());
  QCOMPARE(w.Skin().pixel(300, 40), plain);
}

void MainWindowTest::dragOnlyByTheTopStrip() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.move(100, 100);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QPoint start = w.pos();
  QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseMove(&w, QPoint(340, 230));
  QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(340, 230));
  QCOMPARE(w.pos(), start);
  QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(300, 60));
  QMouseEvent move(QEvent::MouseMove, QPointF(340, 90), w.mapToGlobal(QPointF(340, 90)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &move);
  QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(340, 90));
  QCOMPARE(w.pos(), start + QPoint(40, 30));
}

void MainWindowTest::updateCheckWithoutAddressesPointsToSupport() {
  uitest::BoxRecorder boxes;
  Fixture f;
  f.settings.help_url = "http://support.example/";
  ui::MainWindow &w = f.Make();
  w.Tray()->Action(ui::ids::kCheckUpdates)->trigger();
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Update ..."));
  QCOMPARE(boxes.Last().text,
           QString("For the latest version of the software please visit our support site."));
  QCOMPARE(boxes.Last().address, QString("http://support.example/"));
}

void MainWindowTest::versionDialogShowsBothVersions() {
  uitest::FakeGateway gateway;
  gateway.replies["Version"] = "OK: 2.0.0.44";
  ui::VersionDialog dialog("Dovetext", &gateway);
  QCOMPARE(dialog.VersionLine(), QString("Version: 3.0.0.1"));
  QCOMPARE(dialog.CommsLine(), QString("Comms: OK: 2.0.0.44"));
  QCOMPARE(gateway.CallCount("Version"), 1);
}

void MainWindowTest::editCommandsReachOnlyTheSmsPage() {
  Fixture f;
  ui::MainWindow &w = f.Make();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  w.Command(ui::ids::kLoginDone);
  Pump();
  auto *field = new QLineEdit("hello world", w.Sms());
  field->show();
  field->setFocus();
  field->selectAll();
  QTRY_VERIFY(field->hasFocus());
  // While another page is current the commands are not handled.
  w.SelectTab(ui::ids::kTabOutbox);
  w.Command(ui::ids::kEditCut);
  QCOMPARE(field->text(), QString("hello world"));
  w.SelectTab(ui::ids::kTabSms);
  field->setFocus();
  field->selectAll();
  QTRY_VERIFY(field->hasFocus());
  w.Command(ui::ids::kEditCut);
  QCOMPARE(field->text(), QString());
  w.Command(ui::ids::kEditPaste);
  QCOMPARE(field->text(), QString("hello world"));
}

DV_QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
