// The small parts under the windows: window messages as events, the
// message poster and the cross-thread prompt, the balance text, the Outbox
// caption, the proxy-apply rules, the banner file and the probe.
#include "UiTestSupport.h"

#include "BackgroundCall.h"
#include "BalanceValue.h"
#include "BannerLoader.h"
#include "InstanceGuard.h"
#include "MessageBoxes.h"
#include "MessageDialog.h"
#include "OutboxCaption.h"
#include "ProbeServer.h"
#include "ProxyApply.h"
#include "ProxyConfigurator.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "WindowMessage.h"

#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"

#include <lockfile/LockFile.h>
#include <testsupport/TestEnv.h>

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

#include <future>
#include <thread>

namespace {

// Keeps the window messages it receives.
class Recorder : public QObject {
public:
  struct Seen {
    unsigned message;
    std::uintptr_t w;
    std::intptr_t l;
  };
  std::vector<Seen> seen;
  bool event(QEvent *e) override {
    if (auto *m = ui::WindowMessageEvent::From(e)) {
      seen.push_back({m->Message(), m->WParam(), m->LParam()});
      return true;
    }
    return QObject::event(e);
  }
};

} // namespace

class UiPartsTest : public QObject {
  Q_OBJECT

private slots:
  void messagesKeepTheirNumbersAsEventTypes();
  void posterDeliversFromAnotherThreadInOrder();
  void posterDropsMessagesForUnregisteredWindows();
  void promptFromWorkerThreadWaitsForTheAnswer();
  void promptClosedAnswersWaitingQuestionsNegatively();
  void balanceTextParsesToTenths();
  void balanceLabelShowsQuestionMarkOffline();
  void outboxCaptionAt999And1000();
  void proxyApplyDecidesWhatChanged();
  void proxyApplyForcedTestConfirmsSuccess();
  void proxyRoutineShowsItsThreeMessages();
  void proxyRoutineTreatsUnopenedSessionAsFailure();
  void bannerIsReadAsImageData();
  void probeIsAnsweredByTheRunningInstance();
  void secondLockHolderIsRefused();
  void messageDialogOpensItsAddress();
  void backgroundCallKeepsTheEventLoopRunning();
  void backgroundCallHoldsInputBackButNotFromItsOwnBoxes();
  void checkedBoxReportsButtonAndCheckBox();
};

void UiPartsTest::messagesKeepTheirNumbersAsEventTypes() {
  QCOMPARE(int(ui::MessageEventType(engine::UM_SELECT_TAB)), 0x8001);
  QCOMPARE(int(ui::MessageEventType(engine::UM_TRAY_NOTIFY)), 0x81A7);
  QVERIFY(ui::MessageEventType(engine::UM_SELECT_TAB) > QEvent::User);
  QVERIFY(ui::MessageEventType(engine::UM_TRAY_NOTIFY) < QEvent::MaxUser);
  QVERIFY(ui::MessageEventType(engine::WM_QUIT) >= QEvent::User);
  QVERIFY(ui::MessageEventType(engine::WM_QUIT) < ui::MessageEventType(engine::UM_SELECT_TAB));
  Recorder r;
  ui::PostWindowMessage(&r, engine::UM_PROGRESS_COUNT, 7, -3);
  QCoreApplication::processEvents();
  QCOMPARE(r.seen.size(), size_t(1));
  QCOMPARE(r.seen[0].message, engine::UM_PROGRESS_COUNT);
  QCOMPARE(r.seen[0].w, std::uintptr_t(7));
  QCOMPARE(r.seen[0].l, std::intptr_t(-3));
}

void UiPartsTest::posterDeliversFromAnotherThreadInOrder() {
  ui::QtMessagePoster poster;
  Recorder main, options;
  poster.SetTarget(engine::WindowTarget::MainWindow, &main);
  poster.SetTarget(engine::WindowTarget::OptionsPage, &options);
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i)
      poster.Post(engine::WindowTarget::MainWindow, engine::UM_PROGRESS_COUNT, i, 0);
    poster.Post(engine::WindowTarget::OptionsPage, engine::UM_ACCOUNT_CHANGED, 0, 0);
  });
  worker.join();
  QCoreApplication::processEvents();
  QCOMPARE(main.seen.size(), size_t(200));
  for (int i = 0; i < 200; ++i)
    QCOMPARE(main.seen[i].w, std::uintptr_t(i));
  QCOMPARE(options.seen.size(), size_t(1));
  QCOMPARE(options.seen[0].message, engine::UM_ACCOUNT_CHANGED);
}

void UiPartsTest::posterDropsMessagesForUnregisteredWindows() {
  ui::QtMessagePoster poster;
  auto *window = new Recorder;
  poster.SetTarget(engine::WindowTarget::MainWindow, window);
  poster.Post(engine::WindowTarget::MainWindow, engine::UM_WENT_ONLINE, 0, 0);
  poster.SetTarget(engine::WindowTarget::MainWindow, nullptr);
  poster.Post(engine::WindowTarget::MainWindow, engine::UM_WENT_OFFLINE, 0, 0);
  poster.Post(engine::WindowTarget::ClosingDialog, engine::WM_QUIT, 0, 0);
  QCoreApplication::processEvents();
  QCOMPARE(window->seen.size(), size_t(1));
  QCOMPARE(window->seen[0].message, engine::UM_WENT_ONLINE);
  delete window;
}

void UiPartsTest::promptFromWorkerThreadWaitsForTheAnswer() {
  uitest::BoxRecorder boxes(engine::kAnswerYes);
  ui::QtUserPrompt prompt(qApp);
  auto answer = std::async(std::launch::async, [&] {
    return prompt.Ask("Failed to communicate", "Login failed ...",
                      engine::kBoxYesNo | engine::kBoxIconQuestion);
  });
  // The box is shown only when the user-interface thread runs its events.
  QCOMPARE(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  QTRY_COMPARE(boxes.Count(), 1);
  QCOMPARE(answer.get(), engine::kAnswerYes);
  QCOMPARE(boxes.Last().caption, QString("Login failed ..."));
  QCOMPARE(boxes.Last().text, QString("Failed to communicate"));
  // Asked on the user-interface thread itself, the box comes at once.
  QCOMPARE(prompt.Ask("Here", "Now", engine::kBoxOk), engine::kAnswerYes);
  QCOMPARE(boxes.Count(), 2);
}

void UiPartsTest::promptClosedAnswersWaitingQuestionsNegatively() {
  uitest::BoxRecorder boxes(engine::kAnswerYes);
  ui::QtUserPrompt prompt(qApp);
  auto answer = std::async(std::launch::async,
                           [&] { return prompt.Ask("Question", "Caption", engine::kBoxYesNo); });
  QCOMPARE(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  prompt.Close(); // shut-down begins before the box could be shown
  QCOMPARE(answer.get(), engine::kAnswerNo);
  auto later = std::async(std::launch::async,
                          [&] { return prompt.Ask("Later", "Caption", engine::kBoxOk); });
  QCOMPARE(later.get(), engine::kAnswerOk);
  QCoreApplication::processEvents();
  QCOMPARE(boxes.Count(), 0); // nothing was shown after the close
}

void UiPartsTest::balanceTextParsesToTenths() {
  QCOMPARE(ui::BalanceValue::ParseTenths("42.5"), std::optional<int>(425));
  QCOMPARE(ui::BalanceValue::ParseTenths("100"), std::optional<int>(1000));
  QCOMPARE(ui::BalanceValue::ParseTenths("98.25"), std::optional<int>(982));
  QCOMPARE(ui::BalanceValue::ParseTenths(" 0.7 "), std::optional<int>(7));
  QCOMPARE(ui::BalanceValue::ParseTenths("-1.5"), std::optional<int>(-15));
  QCOMPARE(ui::BalanceValue::ParseTenths("ERR: 3, No session"), std::nullopt);
  QCOMPARE(ui::BalanceValue::ParseTenths(""), std::nullopt);
  QCOMPARE(ui::BalanceValue::ParseTenths("."), std::nullopt);
  QCOMPARE(ui::BalanceValue::ParseTenths("99999999999999"), std::nullopt);
}

void UiPartsTest::balanceLabelShowsQuestionMarkOffline() {
  QCOMPARE(ui::BalanceValue::Label(125, true), QString("Balance: 12.5"));
  QCOMPARE(ui::BalanceValue::Label(125, false), QString("Balance: 12.5?"));
  QCOMPARE(ui::BalanceValue::Label(7, true), QString("Balance: 0.7"));
}

void UiPartsTest::outboxCaptionAt999And1000() {
  QCOMPARE(ui::OutboxCaption::Text(0), QString("Outbox (0)"));
  QCOMPARE(ui::OutboxCaption::Text(999), QString("Outbox (999)"));
  QCOMPARE(ui::OutboxCaption::Text(1000), QString("Outbox (>999)"));
}

void UiPartsTest::proxyApplyDecidesWhatChanged() {
  shell::Settings s;
  s.ProxyType = 2;
  s.ProxyHost = "Proxy.Example";
  s.ProxyPort = "8080";
  s.ProxyUsername = "bob";
  s.ProxyPassword = "Secret";
  ui::ProxyFields same{2, "other", "1", "alice", "x"};
  // With mode 2, only a different mode counts.
  QVERIFY(!ui::ProxyApply::Differs(same, s));
  QVERIFY(ui::ProxyApply::Differs({4, "Proxy.Example", "8080", "bob", "Secret"}, s));
  s.ProxyType = 4;
  QVERIFY(!ui::ProxyApply::Differs({4, "proxy.example", "8080", "BOB", "secret"}, s));
  QVERIFY(ui::ProxyApply::Differs({4, "proxy.example", "8081", "bob", "Secret"}, s));
  QVERIFY(ui::ProxyApply::Differs({4, "proxy.example", "8080", "bob", "Secret2"}, s));

  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  s.ProxyType = 2;
  // Nothing differs and nothing forced: nothing stored, nothing run.
  QCOMPARE(ui::ProxyApply::Run(same, false, s, gateway, nullptr), ui::ProxyApply::kUnchanged);
  QCOMPARE(s.ProxyUsername, std::string("bob"));
  QVERIFY(gateway.proxyCalls.empty());
  // A new mode is stored and configured, tested while online.
  QCOMPARE(ui::ProxyApply::Run({4, "p.example", "3128", "u", "pw"}, false, s, gateway, nullptr), 0);
  QCOMPARE(s.ProxyType, 4);
  QCOMPARE(s.ProxyHost, std::string("p.example"));
  QCOMPARE(gateway.proxyCalls.size(), size_t(1));
  QVERIFY(gateway.proxyCalls[0].test);
  QCOMPARE(gateway.proxyCalls[0].type, 4);
  QCOMPARE(gateway.proxyCalls[0].port, std::string("3128"));
  QCOMPARE(boxes.Count(), 0); // an unforced success says nothing
}

void UiPartsTest::proxyApplyForcedTestConfirmsSuccess() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  s.WorkingOnLine = false;
  QCOMPARE(ui::ProxyApply::Run({1, "", "", "", ""}, true, s, gateway, nullptr), 0);
  QCOMPARE(gateway.proxyCalls.size(), size_t(1));
  QVERIFY(gateway.proxyCalls[0].test); // forced runs test even offline
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Proxy configuration ..."));
  QVERIFY(boxes.Last().text.startsWith("The proxy settings are correct."));
  // Offline and unforced: configured without the online test.
  QCOMPARE(ui::ProxyApply::Run({2, "", "", "", ""}, false, s, gateway, nullptr), 0);
  QVERIFY(!gateway.proxyCalls[1].test);
}

void UiPartsTest::proxyRoutineShowsItsThreeMessages() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  shell::Settings s;
  s.help_url = "http://help.example/";
  struct Case {
    int code;
    const char *start;
  } cases[] = {{95, "Failed to communicate with the proxy server."},
               {96, "Failed to communicate via the proxy server."},
               {12, "Unable to configure the proxy settings."}};
  for (const Case &c : cases) {
    gateway.errors["ConfigureProxyEx"] = c.code;
    QCOMPARE(ui::ProxyConfigurator::Run(gateway, s, true, nullptr), c.code);
    QCOMPARE(boxes.Last().caption, QString("Proxy setup error ..."));
    QVERIFY2(boxes.Last().text.startsWith(c.start), qPrintable(boxes.Last().text));
    QCOMPARE(boxes.Last().address, QString("http://help.example/"));
  }
  QCOMPARE(boxes.Count(), 3);
  gateway.errors["ConfigureProxyEx"] = 0;
  QCOMPARE(ui::ProxyConfigurator::Run(gateway, s, true, nullptr), 0);
  QCOMPARE(boxes.Count(), 3);
}

void UiPartsTest::proxyRoutineTreatsUnopenedSessionAsFailure() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  gateway.replies["ConfigureProxyEx"] = "ERR: 'could not open the session'";
  shell::Settings s;
  QCOMPARE(ui::ProxyConfigurator::Run(gateway, s, false, nullptr), -1);
  QCOMPARE(boxes.Count(), 1);
  QVERIFY(boxes.Last().text.startsWith("Unable to configure the proxy settings."));
}

void UiPartsTest::bannerIsReadAsImageData() {
  auto dir = testsupport::MakeTempDir("banner");
  QString folder = QString::fromStdString(dir.string());
  QString path = ui::BannerLoader::PathIn(folder);
  QVERIFY(path.endsWith("/Veltrum.dll"));
  QVERIFY(ui::BannerLoader::Load(path).isNull()); // missing
  testsupport::WriteFile(dir / "Veltrum.dll", "MZ\x90\x00 not an image at all");
  QVERIFY(ui::BannerLoader::Load(path).isNull()); // not an image
  QImage source(200, 30, QImage::Format_RGB32);
  source.fill(QColor(200, 10, 10));
  QVERIFY(source.save(path, "PNG"));
  QImage banner = ui::BannerLoader::Load(path);
  QCOMPARE(banner.size(), QSize(648, 81));
  QCOMPARE(QColor(banner.pixel(300, 40)), QColor(200, 10, 10));
}

void UiPartsTest::probeIsAnsweredByTheRunningInstance() {
  int handled = 0;
  ui::ProbeServer server([&] {
    ++handled;
    return ui::kProbeAnswer;
  });
  QVERIFY(server.Listen());
  auto answer = std::async(std::launch::async, [] { return ui::InstanceGuard::Probe(5000); });
  QTRY_COMPARE(handled, 1);
  auto value = answer.get();
  QVERIFY(value.has_value());
  QCOMPARE(*value, 0x6D2E41F3u);
  // Anything but the probe is not answered.
  QLocalSocket stranger;
  stranger.connectToServer(ui::ProbeServer::SocketPath());
  QVERIFY(stranger.waitForConnected(2000));
  stranger.write("hello\n");
  stranger.flush();
  QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
  QCOMPARE(handled, 1);
}

void UiPartsTest::secondLockHolderIsRefused() {
  ui::InstanceGuard first;
  QCOMPARE(first.Acquire(), ui::InstanceGuard::Outcome::Acquired);
  QVERIFY(first.IsHeld());
  ui::InstanceGuard second;
  // No probe server runs here: the other instance is found, silent.
  QCOMPARE(second.Acquire(), ui::InstanceGuard::Outcome::OtherInstance);
  QVERIFY(!second.OtherAnswered());
  first.Release();
  ui::InstanceGuard third;
  QCOMPARE(third.Acquire(), ui::InstanceGuard::Outcome::Acquired);
}

// Receives the addresses the desktop would open.
class UrlSink : public QObject {
  Q_OBJECT
public:
  QList<QUrl> opened;
public slots:
  void Open(const QUrl &url) { opened << url; }
};

void UiPartsTest::messageDialogOpensItsAddress() {
  UrlSink sink;
  QDesktopServices::setUrlHandler("http", &sink, "Open");
  ui::MessageDialog dialog(nullptr, "Auto update failed ...",
                           "Please visit:", "http://downloads.example/dovetext", true);
  QCOMPARE(dialog.windowTitle(), QString("Auto update failed ..."));
  auto *link = dialog.findChild<QLabel *>("address");
  QVERIFY(link);
  QVERIFY(link->text().contains("http://downloads.example/dovetext"));
  QSignalSpy opened(&dialog, &ui::MessageDialog::AddressOpened);
  emit link->linkActivated("#");
  QCOMPARE(opened.count(), 1);
  QCOMPARE(sink.opened.size(), 1);
  QCOMPARE(sink.opened[0], QUrl("http://downloads.example/dovetext"));
  QVERIFY(!dialog.DontShowAgain());
  QDesktopServices::unsetUrlHandler("http");
}

DV_QTEST_MAIN(UiPartsTest)
#include "UiPartsTest.moc"

void UiPartsTest::backgroundCallKeepsTheEventLoopRunning() {
  int ticks = 0;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  // The call ends only when a timer on this thread has fired several times.
  QTimer::singleShot(150, [&] { release.set_value(); });
  const int value = ui::BackgroundCall::Result([released] {
    released.wait();
    return 42;
  });
  QCOMPARE(value, 42);
  QVERIFY(ticks >= 5);
  QCOMPARE(ui::BackgroundCall::Depth(), 0);
  QVERIFY(QApplication::overrideCursor() == nullptr);

  bool thrown = false;
  try {
    ui::BackgroundCall::Run([] { throw std::runtime_error("gateway gone"); });
  } catch (const std::runtime_error &e) {
    thrown = std::string(e.what()) == "gateway gone";
  }
  QVERIFY(thrown);
  QCOMPARE(ui::BackgroundCall::Depth(), 0);
}

void UiPartsTest::backgroundCallHoldsInputBackButNotFromItsOwnBoxes() {
  QWidget window;
  auto *field = new QLineEdit(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  field->setFocus();
  QString typedInBox;
  QTimer::singleShot(30, [&] {
    // Typing into the window while the call waits goes nowhere.
    QTest::keyClicks(field, "abc");
    // A box that opens during the wait still takes input.
    QTimer::singleShot(30, [&] {
      auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      if (!box) return;
      auto *edit = new QLineEdit(box);
      QTest::keyClicks(edit, "ok");
      typedInBox = edit->text();
      box->accept();
    });
    QMessageBox box(QMessageBox::Information, "t", "x", QMessageBox::Ok, &window);
    box.exec();
  });
  ui::BackgroundCall::Run([] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
  QCOMPARE(field->text(), QString());
  QCOMPARE(typedInBox, QString("ok"));
  QTest::keyClicks(field, "abc");
  QCOMPARE(field->text(), QString("abc"));
}

void UiPartsTest::checkedBoxReportsButtonAndCheckBox() {
  ui::MessageBoxes::SetHook([](const ui::BoxRecord &box) {
    return box.dontShowAgain ? engine::kAnswerNo : engine::kAnswerOk;
  });
  ui::MessageBoxes::SetCheckHook([](const ui::BoxRecord &) { return true; });
  ui::CheckedAnswer a =
      ui::MessageBoxes::ShowChecked(nullptr, "text", "caption", engine::kBoxYesNo);
  QCOMPARE(a.button, engine::kAnswerNo);
  QVERIFY(a.dontShowAgain);
  ui::MessageBoxes::SetHook(nullptr);
  ui::MessageBoxes::SetCheckHook(nullptr);

  // The real box: the check box is there, and its state comes back.
  QTimer::singleShot(0, [] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box);
    QVERIFY(box->checkBox());
    QCOMPARE(box->checkBox()->objectName(), QString("dontShowAgain"));
    QCOMPARE(box->textFormat(), Qt::PlainText);
    box->checkBox()->setChecked(true);
    box->button(QMessageBox::Yes)->click();
  });
  a = ui::MessageBoxes::ShowChecked(nullptr, "<b>gateway</b>", "caption", engine::kBoxYesNo);
  QCOMPARE(a.button, engine::kAnswerYes);
  QVERIFY(a.dontShowAgain);
}
