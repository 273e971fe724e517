// Renders the main window and the dialogs to PNG files in
// <build>/screenshots, so a reviewer can look at them, and checks in the
// pictures what the layout fixes: the skin, the pressed tab, the page at its
// place, the busy and offline indicators in their corner, the shutdown steps
// and the message dialog's link line.
#include "SmsPageFixture.h"
#include "UiTestSupport.h"

#include "AnimatedIndicator.h"
#include "ControlIds.h"
#include "LoginPage.h"
#include "MainWindow.h"
#include "MessageDialog.h"
#include "OptionsPage.h"
#include "MessageEditor.h"
#include "PicturePreview.h"
#include "PageFrame.h"
#include "ProgressDisplay.h"
#include "ProxySettingsDialog.h"
#include "QtMessagePoster.h"
#include "QtUserDialogs.h"
#include "RecipientsList.h"
#include "ShutdownDialog.h"
#include "SmsPage.h"
#include "TabButton.h"
#include "UpdateProgressDialog.h"
#include "VersionDialog.h"
#include "WindowMessage.h"

#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QtTest>

namespace {

// Saves the picture of a widget and returns it as read back from the file.
QImage Shot(QWidget &w, const QString &name) {
  auto dir = testsupport::BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  QString path = QString::fromStdString((dir / (name.toStdString() + ".png")).string());
  QPixmap pixmap = w.grab();
  pixmap.save(path);
  return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Colour families, loosely: what an antialiased pixel of a drawing is.
bool Bluish(QColor c) {
  return c.blue() - c.red() > 80;
}
bool Reddish(QColor c) {
  return c.red() - c.green() > 80 && c.red() - c.blue() > 80;
}
bool Greenish(QColor c) {
  return c.green() - c.red() > 60 && c.green() - c.blue() > 20;
}

// Whether any pixel of `area` is of the family.
bool Shows(const QImage &image, QRect area, bool (*family)(QColor)) {
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (family(QColor(image.pixel(x, y)))) return true;
  return false;
}

} // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT

private slots:
  void loginPage();
  void afterLogin();
  void optionsOnlineAndOffline();
  void dialogs();
  void updateProgress();
  void smsPage();
  void scheduleDialog();
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
  QImage image = Shot(window, "main-login");
  QCOMPARE(image.size(), QSize(658, 522));
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
  QImage sms = Shot(window, "main-sms");
  // The selected tab is drawn pressed (light), the others on the header.
  const QPoint inTab(8, 12);
  QVERIFY(qGray(sms.pixel(QPoint(24, 88) + inTab)) > 220);
  QVERIFY(qGray(sms.pixel(QPoint(340, 88) + inTab)) < 160);
  // The page sits centred in the band below the header: its title bar
  // (the accent mark at the page's left margin) is where the rule puts it.
  const QPoint page = ui::MainWindow::PlacePage({656, 520}, window.Sms()->size());
  QVERIFY(Shows(sms, QRect(page + QPoint(ui::PageFrame::kMargin, 16), QSize(4, 16)), Bluish));
  QVERIFY(!Shows(sms, QRect(page - QPoint(6, 0), QSize(4, 16)), Bluish));
  // The busy indicator turns in the bottom right corner, at (W - 22, H - 22).
  const QRect corner(634, 498, 16, 16);
  QVERIFY(Shows(sms, corner, Bluish));
  QVERIFY(!Shows(sms, corner, Reddish));

  window.SelectTab(ui::ids::kTabOutbox);
  Shot(window, "main-outbox");
  ui::PostWindowMessage(&window, engine::UM_WENT_OFFLINE);
  ui::PostWindowMessage(&window, engine::UM_PROGRESS_IDLE);
  QCoreApplication::processEvents();
  window.SelectTab(ui::ids::kTabOptions);
  QImage offline = Shot(window, "main-options-offline");
  // The offline indicator in the same corner; the busy one is gone.
  QVERIFY(Shows(offline, corner, Reddish));
  QVERIFY(!Shows(offline, corner, Bluish));
  QVERIFY(qGray(offline.pixel(QPoint(540, 88) + inTab)) > 220);
  QVERIFY(qGray(offline.pixel(QPoint(24, 88) + inTab)) < 160);
}

void ScreenshotTest::optionsOnlineAndOffline() {
  shell::Settings settings;
  settings.prefix = "27";
  settings.Sig = "Sent with Dovetext";
  settings.WriteLog = true;
  settings.DeliveryAcks = true;
  settings.sender_id = "DOVETEXT";
  settings.ProxyType = 4;
  settings.ProxyHost = "proxy.example.net";
  settings.ProxyPort = "8080";
  settings.ProxyUsername = "alice";
  settings.ProxyPassword = "secret";
  settings.Outlook_Name = "Work";
  settings.help_url = "http://help.example/";
  settings.ScheduleToServer = true;
  settings.UploadToServerXDaysBefore = 2;
  settings.LastBalance = 985;
  ui::QtMessagePoster poster;
  ui::UiContext context;
  context.settings = &settings;
  context.poster = &poster;
  ui::MainWindow window(context);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.Command(ui::ids::kLoginDone);
  window.SelectTab(ui::ids::kTabOptions);
  QCoreApplication::processEvents();
  ui::OptionsPage *page = window.Options();
  Shot(window, "options-online");
  // Nothing is cut off: every control lies inside its group and the page, at
  // least at its minimum size.
  for (QWidget *w : page->findChildren<QWidget *>()) {
    if (!w->isVisibleTo(page) || w->objectName().startsWith("qt_")) continue;
    QWidget *parent = w->parentWidget();
    QVERIFY2(parent->rect().contains(w->geometry()), qPrintable(w->objectName()));
    QVERIFY2(page->rect().contains(QRect(w->mapTo(page, QPoint(0, 0)), w->size())),
             qPrintable(w->objectName()));
    QSize least = w->minimumSizeHint();
    QVERIFY2(w->width() >= least.width() && w->height() >= least.height(),
             qPrintable(QString("%1 %2: %3x%4, needs %5x%6")
                            .arg(w->metaObject()->className(), w->objectName())
                            .arg(w->width())
                            .arg(w->height())
                            .arg(least.width())
                            .arg(least.height())));
  }
  page->GoOffline();
  QCoreApplication::processEvents();
  Shot(window, "options-offline");
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
  QImage steps = Shot(shutdown, "dialog-shutdown");
  // Earlier steps ticked (green), the current one marked (blue), the last
  // one neither: the marks stand left of each step's text.
  for (int step = 0; step < ui::ShutdownDialog::kSteps; ++step) {
    auto *text = shutdown.findChild<QLabel *>(QString("step%1").arg(step));
    QVERIFY(text);
    const QRect marks(0, text->y(), text->x(), text->height());
    QCOMPARE(Shows(steps, marks, Greenish), step < 2);
    QCOMPARE(Shows(steps, marks, Bluish), step == 2);
  }

  ui::MessageDialog message(nullptr, "Proxy setup error ...",
                            "Failed to communicate with the proxy server.  Check the proxy name "
                            "and the port.  You might also still be offline.",
                            "http://support.ostrand.example/help");
  message.show();
  QVERIFY(QTest::qWaitForWindowExposed(&message));
  QImage dialog = Shot(message, "dialog-message");
  // The address is the link line below the text.
  auto *link = message.findChild<QLabel *>("address");
  auto *text = message.findChild<QLabel *>("text");
  QVERIFY(link && text && link->isVisible());
  QVERIFY(link->mapTo(&message, QPoint()).y() > text->mapTo(&message, QPoint()).y());
  QVERIFY(Shows(dialog, QRect(link->mapTo(&message, QPoint()), link->size()), Bluish));
  QVERIFY(!Shows(dialog, QRect(text->mapTo(&message, QPoint()), text->size()), Bluish));
}

void ScreenshotTest::updateProgress() {
  ui::UpdateProgressDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  for (int step = 0; step < ui::UpdateProgressDialog::kSteps; ++step) {
    if (step >= 2) dialog.SetSizeText(step == 2 ? "1536KB" : "4096KB");
    if (step == 3) dialog.DisableCancel();
    dialog.SetStep(step);
    QImage image(Shot(dialog, QString("dialog-update-step%1").arg(step)));
    QCOMPARE(image.size(), dialog.size());
  }
}

void ScreenshotTest::smsPage() {
  smstest::Fixture f;
  const int friends = f.AddGroup("Friends");
  const int work = f.AddGroup("Work");
  f.AddContact("Ann", "Lee", "0821000001", {1, friends});
  f.AddContact("Bob", "Marsh", "0821000002", {1, friends, work});
  f.AddContact("Cy", "Moe", "0821000003", {1, work});
  f.recent.Add("Dee", "", "0829990002");
  f.recent.Add("", "", "0829990001");
  f.settings.LastBalance = 985;
  f.settings.DontShowUnicodeWarningAgain = true;
  ui::QtMessagePoster poster;
  std::unique_ptr<ui::MainWindow> shown = f.ShowWindow(poster);
  ui::MainWindow &window = *shown;
  QCoreApplication::processEvents();
  ui::SmsPage &page = *window.Sms();
  page.Tree()->OwnNode()->child(0)->setCheckState(0, Qt::Checked);
  page.Tree()->OwnNode()->child(0)->setExpanded(true);
  page.RecipientList()->SetNumbers({"0831110001", "0831110002"});
  page.Editor()->setPlainText("Dinner on Friday at eight? Bring [the] map. <<FIRSTNAME>>");
  Shot(window, "sms-text");

  smstest::ChooseType(page, 2);
  page.Editor()->setPlainText(
      QString::fromUtf8("Gr\xC3\xBC\xC3\x9F Gott \xE2\x80\x94 see you soon"));
  Shot(window, "sms-unicode");

  const int pic = f.store.AddSms(0, 0, 4, 0, ",0821", "00", "", 0, "?", 0);
  QVERIFY(page.OpenForEditing(pic));
  const auto gif = smstest::ColourGif(f.data);
  ui::userdialogs::SetFileHook(
      [&](const contacts::FileChoice &, bool) { return std::optional<std::string>(gif.string()); });
  page.findChild<QPushButton *>("1087")->click();
  ui::userdialogs::SetFileHook(nullptr);
  QVERIFY(!page.Preview()->Image().isNull());
  Shot(window, "sms-picture");
}

void ScreenshotTest::scheduleDialog() {
  smstest::Fixture f;
  f.settings.ScheduleToServer = true;
  f.settings.UploadToServerXDaysBefore = 3;
  const struct {
    int mode;
    const char *name;
  } modes[] = {{ui::ids::kSchedOnce, "schedule-once"},
               {ui::ids::kSchedDaily, "schedule-daily"},
               {ui::ids::kSchedWeekly, "schedule-weekly"},
               {ui::ids::kSchedMonthly, "schedule-monthly"}};
  for (const auto &m : modes) {
    ui::ScheduleDialog dialog(&f.settings, &f.settingsFile, [] { return smstest::kNow; });
    smstest::Pick(&dialog, ui::ids::kSchedMonth, 3);
    smstest::Pick(&dialog, ui::ids::kSchedDay, 4);
    smstest::Check(&dialog, m.mode);
    if (m.mode == ui::ids::kSchedWeekly) {
      smstest::Check(&dialog, ui::ids::kSchedMonday);
      smstest::Check(&dialog, ui::ids::kSchedThursday);
    }
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Shot(dialog, m.name);
  }
}

DV_QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
