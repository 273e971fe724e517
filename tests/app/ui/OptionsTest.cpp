// The Options page through its widgets: loading and storing the settings,
// the toggles and radios, the proxy entries, vouchers (scripted and against
// the gateway simulator), going online, buying credits, the balance menu,
// and storing the page while the worker sends.
#include "UiTestSupport.h"

#include "BalanceLabel.h"
#include "ControlIds.h"
#include "MainWindow.h"
#include "OptionsPage.h"
#include "OutboxPage.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "SmsPage.h"
#include "WindowMessage.h"

#include "engine/CommsWorker.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"
#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

// Stands for the main window: keeps the window messages posted to it.
class Recorder : public QObject {
public:
  std::vector<unsigned> seen;
  bool event(QEvent *e) override {
    if (auto *m = ui::WindowMessageEvent::From(e)) {
      seen.push_back(m->Message());
      return true;
    }
    return QObject::event(e);
  }
};

// Receives the addresses the desktop would open.
class UrlSink : public QObject {
  Q_OBJECT
public:
  QList<QUrl> opened;
  QString Last() const {
    return opened.isEmpty() ? QString() : opened.back().toString(QUrl::FullyEncoded);
  }
public slots:
  void Open(const QUrl &url) { opened << url; }
};

void Pump() {
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents();
}

// A control of a page by its id.
template <class T> T *Find(const QWidget *page, int id) {
  T *w = page->findChild<T *>(QString::number(id));
  if (!w) qWarning("no control %d", id);
  return w;
}

void TypeVoucher(const QWidget *page, const QStringList &boxes) {
  for (int i = 0; i < 4; ++i)
    Find<QLineEdit>(page, ui::ids::kOptionsVoucher1 + i)->setText(boxes.value(i));
}

QStringList Voucher(const QWidget *page) {
  QStringList boxes;
  for (int i = 0; i < 4; ++i)
    boxes << Find<QLineEdit>(page, ui::ids::kOptionsVoucher1 + i)->text();
  return boxes;
}

// The gateway simulator and Parlink created by name, pointed at it.
struct Simulator {
  gatewaysim::GatewaySimServer sim;
  std::unique_ptr<engine::GatewayBinding> gateway;
  bool Start() { return sim.Start() && (gateway = uitest::ParlinkAt(sim.BaseUrl())); }
  bool Login() {
    shell::StringTable strings;
    return engine::LoginOperation::Login(*gateway, "DVTX", "demo", "demo123", nullptr, strings).ok;
  }
};

// An Options page over its own settings, settings file and a scripted
// gateway; the main window's messages go to a recorder.
struct Fixture {
  std::filesystem::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  shell::SettingsFile settingsFile{(data / "SMS.dat").string(), false};
  ui::QtMessagePoster poster;
  Recorder window;
  uitest::FakeGateway fake;
  engine::GatewayApi *gateway = &fake;
  engine::UserPrompt *prompt = nullptr;
  std::unique_ptr<ui::QtUserPrompt> ownPrompt;
  std::unique_ptr<ui::OptionsPage> page;

  // The simulator's gateway instead of the scripted one, with the prompt
  // that shows its boxes.
  void Use(Simulator &sim) {
    gateway = sim.gateway.get();
    ownPrompt = std::make_unique<ui::QtUserPrompt>(qApp);
    prompt = ownPrompt.get();
  }
  ui::OptionsPage &Make() {
    ui::UiContext c;
    c.settings = &settings;
    c.settingsFile = &settingsFile;
    c.gateway = gateway;
    c.prompt = prompt;
    c.poster = &poster;
    poster.SetTarget(engine::WindowTarget::MainWindow, &window);
    page = std::make_unique<ui::OptionsPage>(c);
    page->LoadPage();
    return *page;
  }
  template <class T> T *Get(int id) const { return Find<T>(page.get(), id); }
  QLineEdit *Edit(int id) const { return Get<QLineEdit>(id); }
  QPushButton *Button(int id) const { return Get<QPushButton>(id); }
  QRadioButton *Radio(int id) const { return Get<QRadioButton>(id); }
  QComboBox *Combo(int id) const { return Get<QComboBox>(id); }
  void TypeVoucher(const QStringList &boxes) { ::TypeVoucher(page.get(), boxes); }
  QStringList Voucher() const { return ::Voucher(page.get()); }
};

} // namespace

class OptionsTest : public QObject {
  Q_OBJECT

private slots:
  void loadShowsTheSettingsUnderTheControlsRules();
  void storeWritesWhatAFreshLoadReadsBack();
  void proxyEntriesAreAppliedOnlyWhenTheyChangeOrOnTest();
  void enterMovesThroughTheProxyFieldsAndElsewhereStores();
  void forceSenderIdNoteUntilDontShowAgain();
  void radiosWriteTheirSettingAtTheClick();
  void redeemAnswersEachOutcome();
  void redeemAgainstTheSimulator();
  void goingOnlineLogsInAndFallsBackOffline();
  void buyCreditsOpensThePurchaseAddress();
  void balanceMenuOnlyOnlineOverTheLabel();
  void storingWhileTheWorkerSendsIsSafe();
};

void OptionsTest::loadShowsTheSettingsUnderTheControlsRules() {
  Fixture f;
  shell::Settings &s = f.settings;
  s.prefix = "27";
  s.Sig = "Kind regards";
  s.WriteLog = true;
  s.DeliveryAcks = true;
  s.ForceSenderID = true;
  s.CanUseForceSenderIDFeature = false;
  s.WorkingOnLine = false;
  s.StartMinimized = true;
  s.ProxyType = 3;
  s.ProxyHost = "proxy.example";
  s.set_sender = false;
  s.sender_id = "DOVE";
  s.ScheduleToServer = true;
  s.UploadToServerXDaysBefore = 5;
  s.LastBalance = 125;
  ui::OptionsPage &page = f.Make();
  page.show();
  QVERIFY(QTest::qWaitForWindowExposed(&page));
  using namespace ui::ids;
  QCOMPARE(f.Edit(kOptionsPrefix)->text(), QString("27"));
  QCOMPARE(f.Edit(kOptionsSignature)->text(), QString("Kind regards"));
  QCOMPARE(f.Button(kOptionsWriteLog)->text(), QString("X"));
  QCOMPARE(f.Button(kOptionsSpanSms)->text(), QString());
  QCOMPARE(f.Button(kOptionsDeliveryAcks)->text(), QString("X"));
  QVERIFY(f.Button(kOptionsForceSenderId)->isHidden());
  QVERIFY(f.Get<QLabel>(kOptionsForceSenderIdLabel)->isHidden());
  QVERIFY(f.Radio(kOptionsOffline)->isChecked() && !f.Radio(kOptionsOnline)->isChecked());
  QVERIFY(f.Get<QCheckBox>(kOptionsStartMinimized)->isChecked());
  QCOMPARE(f.Combo(kProxyType)->currentIndex(), 2);
  QCOMPARE(f.Edit(kProxyHost)->text(), QString("proxy.example"));
  QVERIFY(!f.Edit(kProxyHost)->isEnabled() && !f.Edit(kProxyPort)->isEnabled());
  QVERIFY(f.Radio(kOptionsVCards)->isChecked());
  QVERIFY(!f.Edit(kOptionsProfileName)->isEnabled());
  QVERIFY(!f.Edit(kOptionsProfilePassword)->isEnabled());
  QCOMPARE(f.Edit(kOptionsSenderId)->text(), QString("DOVE"));
  QVERIFY(!f.Edit(kOptionsSenderId)->isEnabled());
  QVERIFY(f.Button(kOptionsHelp)->isHidden());
  QVERIFY(f.Radio(kOptionsScheduleToServer)->isChecked());
  QVERIFY(f.Combo(kOptionsUploadDays)->isEnabled());
  QCOMPARE(f.Combo(kOptionsUploadDays)->currentText(), QString("5"));
  QCOMPARE(f.Combo(kOptionsUploadDays)->count(), 7);
  QCOMPARE(page.Balance()->text(), QString("Balance: 12.5?"));
  // The proxy password and the profile password are hidden.
  QCOMPARE(f.Edit(kProxyPassword)->echoMode(), QLineEdit::Password);
  QCOMPARE(f.Edit(kOptionsProfilePassword)->echoMode(), QLineEdit::Password);

  // Limits, and digits only in the prefix and the voucher boxes.
  QCOMPARE(f.Edit(kOptionsPrefix)->maxLength(), 12);
  QCOMPARE(f.Edit(kOptionsSignature)->maxLength(), 160);
  QCOMPARE(f.Edit(kOptionsSenderId)->maxLength(), 20);
  f.Edit(kOptionsPrefix)->clear();
  QTest::keyClicks(f.Edit(kOptionsPrefix), "0a2-7 +");
  QCOMPARE(f.Edit(kOptionsPrefix)->text(), QString("027"));
  QTest::keyClicks(f.Edit(kOptionsVoucher1 + 2), "12x345");
  QCOMPARE(f.Edit(kOptionsVoucher1 + 2)->text(), QString("1234"));

  // Every control carries an accessible name.
  for (QWidget *w : page.findChildren<QWidget *>()) {
    bool numbered = false;
    w->objectName().toInt(&numbered);
    if (numbered) QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
  }

  // The other states of the same rules.
  s.CanUseForceSenderIDFeature = true;
  s.help_url = "http://help.example/";
  s.set_sender = true;
  s.MAPI_AddressBook = true;
  s.ProxyType = 4;
  s.ScheduleToServer = false;
  s.UploadToServerXDaysBefore = 30; // out of the list: its nearest entry
  page.LoadPage();
  QVERIFY(!f.Button(kOptionsForceSenderId)->isHidden());
  QVERIFY(!f.Button(kOptionsHelp)->isHidden());
  QVERIFY(f.Edit(kOptionsSenderId)->isEnabled());
  QVERIFY(f.Radio(kOptionsMailClient)->isChecked());
  QVERIFY(f.Edit(kOptionsProfileName)->isEnabled());
  QVERIFY(f.Edit(kProxyHost)->isEnabled() && f.Edit(kProxyPort)->isEnabled());
  QVERIFY(f.Radio(kOptionsKeepLocal)->isChecked());
  QVERIFY(!f.Combo(kOptionsUploadDays)->isEnabled());
  QCOMPARE(f.Combo(kOptionsUploadDays)->currentText(), QString("7"));
  QVERIFY(f.fake.proxyCalls.empty()); // loading configures nothing
}

void OptionsTest::storeWritesWhatAFreshLoadReadsBack() {
  Fixture f;
  ui::OptionsPage &page = f.Make();
  using namespace ui::ids;
  f.Edit(kOptionsPrefix)->setText("0027");
  f.Edit(kOptionsSignature)->setText("Sent with Dovetext");
  f.Button(kOptionsWriteLog)->click();
  f.Button(kOptionsSpanSms)->click();
  f.Button(kOptionsSpanSms)->click(); // back off
  f.Button(kOptionsDeliveryAcks)->click();
  f.Get<QCheckBox>(kOptionsStartMinimized)->setChecked(true);
  f.Edit(kOptionsSenderId)->setText("DOVE");
  f.Edit(kOptionsProfileName)->setText("Work");
  f.Edit(kOptionsProfilePassword)->setText("pw");
  f.Radio(kOptionsScheduleToServer)->click();
  f.Combo(kOptionsUploadDays)->setCurrentIndex(2);
  f.window.seen.clear();
  page.StorePage();
  Pump();
  const shell::Settings &s = f.settings;
  QCOMPARE(s.prefix, std::string("27"));
  QCOMPARE(s.Sig, std::string("Sent with Dovetext"));
  QVERIFY(s.WriteLog && !s.SpanSMS && s.DeliveryAcks && !s.ForceSenderID);
  QVERIFY(s.StartMinimized && s.WorkingOnLine);
  QCOMPARE(s.sender_id, std::string("DOVE"));
  QCOMPARE(s.Outlook_Name, std::string("Work"));
  QVERIFY(s.ScheduleToServer);
  QCOMPARE(s.UploadToServerXDaysBefore, 3);
  QCOMPARE(f.window.seen, std::vector<unsigned>{engine::UM_WENT_ONLINE});

  // SMS.dat holds the same values.
  shell::SettingsFile file((f.data / "SMS.dat").string(), false);
  shell::Settings again;
  shell::LoadSettings(file, again);
  QCOMPARE(again.prefix, s.prefix);
  QCOMPARE(again.Sig, s.Sig);
  QCOMPARE(again.WriteLog, s.WriteLog);
  QCOMPARE(again.SpanSMS, s.SpanSMS);
  QCOMPARE(again.DeliveryAcks, s.DeliveryAcks);
  QCOMPARE(again.ForceSenderID, s.ForceSenderID);
  QCOMPARE(again.StartMinimized, s.StartMinimized);
  QCOMPARE(again.WorkingOnLine, s.WorkingOnLine);
  QCOMPARE(again.sender_id, s.sender_id);
  QCOMPARE(again.Outlook_Name, s.Outlook_Name);
  QCOMPARE(again.Outlook_Password, s.Outlook_Password);
  QCOMPARE(again.ScheduleToServer, s.ScheduleToServer);
  QCOMPARE(again.UploadToServerXDaysBefore, s.UploadToServerXDaysBefore);
  QCOMPARE(again.ProxyType, s.ProxyType);

  // A prefix of zeros only is stored empty; the offline radio posts
  // UM_WENT_OFFLINE when the page is stored.
  f.Edit(kOptionsPrefix)->setText("000");
  page.StorePage();
  QCOMPARE(s.prefix, std::string());
}

void OptionsTest::proxyEntriesAreAppliedOnlyWhenTheyChangeOrOnTest() {
  uitest::BoxRecorder boxes;
  Fixture f;
  f.settings.ProxyType = 2;
  f.settings.ProxyUsername = "bob";
  ui::OptionsPage &page = f.Make();
  using namespace ui::ids;
  // Mode 2: a new user name alone is not a change.
  f.Edit(kProxyUser)->setText("alice");
  page.StorePage();
  QCOMPARE(f.settings.ProxyUsername, std::string("bob"));
  QVERIFY(f.fake.proxyCalls.empty());
  // "Test" stores and tests it, and confirms the success.
  f.Button(kProxyTest)->click();
  QCOMPARE(f.settings.ProxyUsername, std::string("alice"));
  QCOMPARE(f.fake.proxyCalls.size(), size_t(1));
  QVERIFY(f.fake.proxyCalls[0].test);
  QCOMPARE(f.fake.proxyCalls[0].user, std::string("alice"));
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Proxy configuration ..."));
  // Choosing "Use proxy list" enables address and port and applies at once.
  f.Edit(kProxyHost)->setText("proxy.example");
  f.Edit(kProxyPort)->setText("3128");
  f.Combo(kProxyType)->setCurrentIndex(3);
  QVERIFY(f.Edit(kProxyHost)->isEnabled());
  QCOMPARE(f.settings.ProxyType, 4);
  QCOMPARE(f.settings.ProxyHost, std::string("proxy.example"));
  QCOMPARE(f.fake.proxyCalls.size(), size_t(2));
  QCOMPARE(f.fake.proxyCalls[1].port, std::string("3128"));
  // A failure is reported by the proxy routine; the entries stay stored.
  f.fake.errors["ConfigureProxyEx"] = 95;
  f.Edit(kProxyPort)->setText("3129");
  page.StorePage();
  QCOMPARE(f.settings.ProxyPort, std::string("3129"));
  QCOMPARE(boxes.Last().caption, QString("Proxy setup error ..."));
}

void OptionsTest::enterMovesThroughTheProxyFieldsAndElsewhereStores() {
  Fixture f;
  f.settings.ProxyType = 4;
  ui::OptionsPage &page = f.Make();
  page.show();
  QVERIFY(QTest::qWaitForWindowExposed(&page));
  using namespace ui::ids;
  const int chain[] = {kProxyHost, kProxyPort, kProxyUser, kProxyPassword};
  f.Edit(chain[0])->setFocus();
  for (int i = 0; i + 1 < 4; ++i) {
    QTRY_VERIFY(f.Edit(chain[i])->hasFocus());
    QTest::keyClick(f.Edit(chain[i]), Qt::Key_Return);
    QTRY_VERIFY(f.Edit(chain[i + 1])->hasFocus());
  }
  QCOMPARE(page.StoreCount(), 0);
  // Enter elsewhere is the hidden OK: the page is stored.
  f.Edit(kOptionsPrefix)->setText("044");
  QTest::keyClick(f.Edit(kOptionsPrefix), Qt::Key_Return);
  QCOMPARE(page.StoreCount(), 1);
  QCOMPARE(f.settings.prefix, std::string("44"));
  QVERIFY(f.Button(kOptionsOk)->isHidden());
}

void OptionsTest::forceSenderIdNoteUntilDontShowAgain() {
  uitest::BoxRecorder boxes;
  Fixture f;
  f.Make();
  QPushButton *toggle = f.Button(ui::ids::kOptionsForceSenderId);
  toggle->click(); // on: the note
  QCOMPARE(toggle->text(), QString("X"));
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Forcing Sender ID information ..."));
  QVERIFY(boxes.Last().dontShowAgain);
  QVERIFY(!f.settings.DontShowForceSenderIDMsgAgain);
  toggle->click(); // off: no note
  QCOMPARE(toggle->text(), QString());
  QCOMPARE(boxes.Count(), 1);
  ui::MessageBoxes::SetCheckHook([](const ui::BoxRecord &) { return true; });
  toggle->click();
  ui::MessageBoxes::SetCheckHook(nullptr);
  QCOMPARE(boxes.Count(), 2);
  QVERIFY(f.settings.DontShowForceSenderIDMsgAgain);
  toggle->click();
  toggle->click();
  QCOMPARE(boxes.Count(), 2);
  QVERIFY(!f.settings.ForceSenderID); // the toggle itself is stored with the page
}

void OptionsTest::radiosWriteTheirSettingAtTheClick() {
  Fixture f;
  f.Make();
  using namespace ui::ids;
  f.Radio(kOptionsScheduleToServer)->click();
  QVERIFY(f.settings.ScheduleToServer);
  QVERIFY(f.Combo(kOptionsUploadDays)->isEnabled());
  f.Radio(kOptionsKeepLocal)->click();
  QVERIFY(!f.settings.ScheduleToServer);
  QVERIFY(!f.Combo(kOptionsUploadDays)->isEnabled());
  QVERIFY(!f.Radio(kOptionsScheduleToServer)->isChecked());

  QCOMPARE(f.Radio(kOptionsMailClient)->text(), QString("Mail client"));
  QCOMPARE(f.Radio(kOptionsVCards)->text(), QString("vCards"));
  f.Radio(kOptionsMailClient)->click();
  QVERIFY(f.settings.MAPI_AddressBook);
  QVERIFY(f.Edit(kOptionsProfileName)->isEnabled());
  QVERIFY(f.Edit(kOptionsProfilePassword)->isEnabled());
  f.Radio(kOptionsVCards)->click();
  QVERIFY(!f.settings.MAPI_AddressBook);
  QVERIFY(!f.Edit(kOptionsProfileName)->isEnabled());

  // The offline radio: offline at once, and the main window told.
  f.window.seen.clear();
  f.Radio(kOptionsOffline)->click();
  Pump();
  QVERIFY(!f.settings.WorkingOnLine);
  QCOMPARE(f.window.seen, std::vector<unsigned>{engine::UM_WENT_OFFLINE});
  QVERIFY(f.fake.calls.empty());
}

void OptionsTest::redeemAnswersEachOutcome() {
  uitest::BoxRecorder boxes;
  Fixture f;
  f.settings.WorkingOnLine = false;
  f.Make();
  QPushButton *redeem = f.Button(ui::ids::kOptionsRedeem);
  f.TypeVoucher({"1111", "2222", "3333", "4444"});
  redeem->click();
  QCOMPARE(boxes.Last().caption, QString("Not online"));
  QCOMPARE(boxes.Last().text, QString("You need to be online to redeem a voucher!"));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconInformation);
  QCOMPARE(f.fake.CallCount("TokenPay"), 0);

  f.settings.WorkingOnLine = true;
  f.fake.errors["TokenPay"] = 99;
  redeem->click();
  QCOMPARE(boxes.Last().caption, QString("Login failed ..."));
  QVERIFY(boxes.Last().text.startsWith("Failed to communicate with the the server."));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconError);
  // A reply the library does not recognise is not a redeemed voucher.
  f.fake.errors["TokenPay"] = 0;
  f.fake.replies["TokenPay"] = "<b>Service unavailable</b>";
  redeem->click();
  QCOMPARE(boxes.Last().caption, QString("Invalid voucher!"));
  QCOMPARE(boxes.Last().text, QString("<b>Service unavailable</b>"));
  QCOMPARE(boxes.Last().style, engine::kBoxOk);
  QCOMPARE(f.Voucher(), (QStringList{"1111", "2222", "3333", "4444"}));
  QCOMPARE(boxes.Count(), 3);
  f.Button(ui::ids::kOptionsClear)->click();
  QCOMPARE(f.Voucher(), (QStringList{"", "", "", ""}));
}

void OptionsTest::redeemAgainstTheSimulator() {
  uitest::BoxRecorder boxes;
  Simulator sim;
  QVERIFY(sim.Start());
  QVERIFY(sim.Login());
  shell::Settings settings;
  ui::QtMessagePoster poster;
  ui::UiContext c;
  c.settings = &settings;
  c.gateway = sim.gateway.get();
  c.poster = &poster;
  ui::MainWindow window(c);
  window.Command(ui::ids::kLoginDone);
  window.SelectTab(ui::ids::kTabOptions);
  Pump();
  window.Sms()->RefreshBalance();
  const int before = settings.LastBalance;
  QVERIFY(before > 0);
  ui::OptionsPage *page = window.Options();
  QPushButton *redeem = Find<QPushButton>(page, ui::ids::kOptionsRedeem);

  // A good voucher: the boxes are emptied and the balance grows by 50.
  TypeVoucher(page, {"1111", "2222", "3333", "4444"});
  redeem->click();
  Pump();
  QCOMPARE(boxes.Count(), 0);
  QCOMPARE(Voucher(page), (QStringList{"", "", "", ""}));
  QCOMPARE(settings.LastBalance, before + 500);
  QCOMPARE(page->Balance()->text(),
           QString("Balance: %1.%2").arg((before + 500) / 10).arg((before + 500) % 10));
  // The same voucher again.
  TypeVoucher(page, {"1111", "2222", "3333", "4444"});
  redeem->click();
  QCOMPARE(boxes.Last().caption, QString("Invalid voucher!"));
  QCOMPARE(boxes.Last().text,
           QString("The voucher with the entered number has already been redeemed."));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconInformation);
  QCOMPARE(Voucher(page), (QStringList{"1111", "2222", "3333", "4444"}));
  // Fifteen digits: refused before anything is sent.
  const std::string log = sim.sim.LogJsonLines();
  TypeVoucher(page, {"5555", "6666", "7777", "888"});
  redeem->click();
  QCOMPARE(boxes.Last().text,
           QString("Your voucher number is not long enough.  Please re-enter the number"));
  QCOMPARE(boxes.Last().caption, QString("Invalid voucher!"));
  QCOMPARE(sim.sim.LogJsonLines(), log);
  // An unknown voucher: the gateway's own text, no icon.
  TypeVoucher(page, {"0000", "0000", "0000", "0000"});
  redeem->click();
  QVERIFY2(boxes.Last().text.startsWith("ERR: 606"), qPrintable(boxes.Last().text));
  QCOMPARE(boxes.Last().style, engine::kBoxOk);
  QCOMPARE(settings.LastBalance, before + 500);
}

void OptionsTest::goingOnlineLogsInAndFallsBackOffline() {
  uitest::BoxRecorder boxes;
  Simulator sim;
  QVERIFY(sim.Start());
  Fixture f;
  f.Use(sim);
  f.settings.Login = "demo";
  f.settings.Password = "wrong";
  f.settings.WorkingOnLine = false;
  ui::OptionsPage &page = f.Make();
  QSignalSpy refreshes(&page, &ui::OptionsPage::RefreshRequested);
  QRadioButton *online = f.Radio(ui::ids::kOptionsOnline);
  online->click();
  Pump();
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Login failed ..."));
  QCOMPARE(boxes.Last().text, QString("Unable to go online!"));
  QCOMPARE(boxes.Last().style & 0xF0u, engine::kBoxIconError);
  QVERIFY(!f.settings.WorkingOnLine);
  QVERIFY(!online->isChecked() && f.Radio(ui::ids::kOptionsOffline)->isChecked());
  QCOMPARE(f.window.seen.back(), engine::UM_WENT_OFFLINE);
  QCOMPARE(refreshes.count(), 1);

  f.settings.Password = "demo123";
  online->click();
  Pump();
  QCOMPARE(boxes.Count(), 1);
  QVERIFY(f.settings.WorkingOnLine);
  QVERIFY(online->isChecked());
  QCOMPARE(f.window.seen.back(), engine::UM_WENT_ONLINE);
  QCOMPARE(refreshes.count(), 2);
  QVERIFY(!page.Balance()->text().endsWith('?'));

  // The worker's UM_ACCOUNT_CHANGED takes the page offline.
  f.poster.Post(engine::WindowTarget::OptionsPage, engine::UM_ACCOUNT_CHANGED, 0, 0);
  Pump();
  QVERIFY(!f.settings.WorkingOnLine);
  QVERIFY(f.Radio(ui::ids::kOptionsOffline)->isChecked());
}

void OptionsTest::buyCreditsOpensThePurchaseAddress() {
  UrlSink sink;
  for (const char *scheme : {"http", "file"})
    QDesktopServices::setUrlHandler(scheme, &sink, "Open");
  auto unset = qScopeGuard([] {
    for (const char *scheme : {"http", "file"})
      QDesktopServices::unsetUrlHandler(scheme);
  });
  Fixture f;
  f.settings.voucher_url = "http://shop.example/buy";
  f.settings.Login = "demo user";
  f.settings.Password = "p&ss+w=rd";
  f.settings.help_url = "http://help.example/support";
  f.Make();
  QPushButton *buy = f.Button(ui::ids::kOptionsBuyCredits);
  buy->click();
  QCOMPARE(sink.Last(),
           QString("http://shop.example/buy?username=demo+user&password=p%26ss%2Bw%3Drd"
                   "&client_id=DVTX"));
  f.settings.client_id = "ACME";
  f.settings.AppendSessionIDOnPurchase = false;
  buy->click();
  QCOMPARE(sink.Last(), QString("http://shop.example/buy"));
  f.settings.AppendSessionIDOnPurchase = true;
  buy->click();
  QCOMPARE(sink.Last(),
           QString("http://shop.example/buy?username=demo+user&password=p%26ss%2Bw%3Drd"
                   "&client_id=ACME"));
  f.settings.client_id = "DVTX";
  f.settings.WorkingOnLine = false;
  buy->click();
  QCOMPARE(sink.Last(), QString("http://shop.example/buy"));
  f.Button(ui::ids::kOptionsHelp)->click();
  QCOMPARE(sink.Last(), QString("http://help.example/support"));
  // Only web addresses are opened.
  f.settings.voucher_url = "file:///etc/passwd";
  buy->click();
  QCOMPARE(sink.opened.size(), 5);
}

void OptionsTest::balanceMenuOnlyOnlineOverTheLabel() {
  Fixture f;
  ui::OptionsPage &page = f.Make();
  page.show();
  QVERIFY(QTest::qWaitForWindowExposed(&page));
  QStringList seenMenus;
  auto answerMenu = [&] {
    QTimer::singleShot(50, [&] {
      if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        seenMenus << menu->objectName();
        QAction *update = menu->actions().value(0);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(update->text(), QString("Update Balance"));
        QCOMPARE(update->objectName(), QString("32808"));
        update->trigger();
        menu->close();
      }
    });
  };
  auto request = [&](QWidget *target, QPoint at) {
    answerMenu();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    Pump();
  };
  request(page.Balance(), QPoint(10, 10));
  QCOMPARE(seenMenus, QStringList{"251"});
  QCOMPARE(f.window.seen, std::vector<unsigned>{engine::UM_BALANCE_CHANGED});
  request(&page, QPoint(30, 200)); // not over the label
  f.settings.WorkingOnLine = false;
  request(page.Balance(), QPoint(10, 10));
  QTest::qWait(100);
  QCOMPARE(seenMenus.size(), 1);
  QCOMPARE(f.window.seen.size(), size_t(1));
}

void OptionsTest::storingWhileTheWorkerSendsIsSafe() {
  uitest::BoxRecorder boxes;
  Simulator sim;
  QVERIFY(sim.Start());
  gatewaysim::FaultSpec slow;
  slow.pattern = "http/sendmsg";
  slow.kind = gatewaysim::FaultKind::Latency;
  slow.latencyMs = 20;
  QVERIFY(sim.sim.AddFault(slow));
  QVERIFY(sim.Login());
  Fixture f;
  f.Use(sim);
  f.settings.Login = "demo";
  f.settings.Password = "demo123";
  auto store = std::make_unique<store::SmsStore>(f.data.string());
  for (int i = 0; i < 20; ++i)
    store->AddSms(0, 0, 0, 0, "082555" + std::to_string(1000 + i), "Hello", "", 0, "?", 0);
  ui::OptionsPage &page = f.Make();
  shell::StringTable strings;
  ui::QtOutboxRebuilder rebuilder;
  engine::EngineServices services;
  services.store = store.get();
  services.gateway = sim.gateway.get();
  services.settings = &f.settings;
  services.strings = &strings;
  services.poster = &f.poster;
  services.prompt = f.prompt;
  services.outbox = &rebuilder;
  engine::CommsWorker worker(services);
  QVERIFY(worker.Start());
  QTRY_VERIFY_WITH_TIMEOUT(worker.IsBusy(), 10000);
  // The user changes and stores the page over and over while messages go.
  int stores = 0;
  while (worker.IsBusy() && stores < 200) {
    f.Edit(ui::ids::kOptionsPrefix)->setText(stores % 2 ? "027" : "044");
    f.Edit(ui::ids::kOptionsSenderId)->setText(QString("DOVE%1").arg(stores));
    f.Button(ui::ids::kOptionsDeliveryAcks)->click();
    page.StorePage();
    ++stores;
    QCoreApplication::processEvents();
  }
  QVERIFY(worker.WaitUntilIdle());
  worker.StopAndWait();
  QVERIFY(stores > 1);
  QVERIFY(sim.sim.LogJsonLines().find("sendmsg") != std::string::npos);
  QCOMPARE(boxes.Count(), 0);
}

DV_QTEST_MAIN(OptionsTest)
#include "OptionsTest.moc"
