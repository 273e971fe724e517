#include "OptionsPage.h"

#include "BackgroundCall.h"
#include "BalanceLabel.h"
#include "ControlIds.h"
#include "MessageBoxes.h"
#include "ProxySettingsDialog.h"
#include "PurchaseAddress.h"
#include "QtMessagePoster.h"
#include "Theme.h"
#include "UiText.h"
#include "VoucherRedeem.h"
#include "WindowMessage.h"

#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"
#include "engine/LoginOperation.h"
#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QUrl>
#include <QVBoxLayout>

#include <mutex>

namespace ui {

namespace {

// The page holds many controls: smaller paddings than the other pages.
const char *const kCompactStyle = R"(
QLineEdit, QComboBox { padding: 1px 5px; border-radius: 4px; min-height: 18px; }
QPushButton { padding: 2px 10px; border-radius: 5px; min-height: 18px; }
QGroupBox {
  margin-top: 8px; padding: 8px 4px 4px 4px; border-radius: 6px; font-size: 8.5pt;
  font-weight: 600;
}
QGroupBox::title { left: 8px; padding: 0 3px; }
QGroupBox QWidget { font-size: 8.5pt; font-weight: 400; }
QRadioButton { color: #334155; spacing: 5px; }
QPushButton[role="toggle"] {
  min-width: 18px; max-width: 18px; min-height: 18px; max-height: 18px; padding: 0;
  border-radius: 3px; background: #FFFFFF; color: #1D4ED8; font-weight: 700;
}
QPushButton[role="toggle"]:focus { border-color: #2563EB; }
)";

// Marks the page busy while one of its gateway calls waits.
class BusyScope {
public:
  explicit BusyScope(bool &flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  BusyScope(const BusyScope &) = delete;
  BusyScope &operator=(const BusyScope &) = delete;

private:
  bool &flag_;
};

QString WithoutColon(QString text) {
  text = text.trimmed();
  if (text.endsWith(':')) text.chop(1);
  return text.replace('\n', ' ');
}

QGridLayout *GroupGrid(QGroupBox *group) {
  auto *grid = new QGridLayout(group);
  grid->setContentsMargins(2, 4, 2, 2);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  return grid;
}

// Checks one radio of a pair and clears the other.
void CheckPair(QRadioButton *first, QRadioButton *second, bool firstChecked) {
  first->setChecked(firstChecked);
  second->setChecked(!firstChecked);
}

// Opens a web page in the user's browser. The addresses come from the
// settings file: only web addresses are handed to the desktop.
void OpenAddress(const std::string &address) {
  const QUrl url = QUrl::fromUserInput(FromAnsi(address));
  if (url.scheme() == "http" || url.scheme() == "https") QDesktopServices::openUrl(url);
}

} // namespace

OptionsPage::OptionsPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageOptions, "Options", QSize(kWidth, kHeight), parent), context_(context) {
  Build();
  ShowBalance();
  if (context_.poster) context_.poster->SetTarget(engine::WindowTarget::OptionsPage, this);
}

OptionsPage::~OptionsPage() {
  if (context_.poster && context_.poster->Target(engine::WindowTarget::OptionsPage) == this)
    context_.poster->SetTarget(engine::WindowTarget::OptionsPage, nullptr);
}

QPushButton *OptionsPage::MakeToggle(int id, const QString &accessibleName) {
  auto *b = new QPushButton(this);
  b->setObjectName(QString::number(id));
  b->setProperty("role", "toggle");
  b->setFlat(true);
  b->setFocusPolicy(Qt::StrongFocus);
  b->setAccessibleName(WithoutColon(accessibleName));
  b->setFixedSize(20, 20);
  return b;
}

QLineEdit *OptionsPage::MakeEdit(int id, int maxLength, const QString &accessibleName) {
  auto *e = new QLineEdit(this);
  e->setObjectName(QString::number(id));
  e->setMaxLength(maxLength);
  e->setAccessibleName(WithoutColon(accessibleName));
  return e;
}

void OptionsPage::Build() {
  setStyleSheet(theme::StyleSheet() + kCompactStyle);
  auto *digitsOnly = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
  auto label = [this](const QString &text, QWidget *buddy) {
    auto *l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
  };
  auto radio = [this](int id, const QString &text) {
    auto *r = new QRadioButton(text, this);
    r->setObjectName(QString::number(id));
    r->setAccessibleName(WithoutColon(text));
    return r;
  };
  auto button = [this](int id, const QString &text) {
    auto *b = new QPushButton(text, this);
    b->setObjectName(QString::number(id));
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    return b;
  };

  // Title strip: help, buying credits and the balance.
  balance_ = new BalanceLabel(ids::kOptionsBalance, this);
  balance_->setAccessibleName("Balance");
  balance_->setGeometry(width() - kMargin - 120, 8, 120, 26);
  auto *buy = button(ids::kOptionsBuyCredits, "Buy Credits");
  buy->setProperty("role", "primary");
  help_ = button(ids::kOptionsHelp, "Help");
  help_->setProperty("role", "link");
  help_->setCursor(Qt::PointingHandCursor);
  const QSize buySize = buy->sizeHint(), helpSize = help_->sizeHint();
  buy->setGeometry(QRect(
      QPoint(balance_->x() - 8 - buySize.width(), (kTitleHeight - buySize.height()) / 2), buySize));
  help_->setGeometry(QRect(
      QPoint(buy->x() - 4 - helpSize.width(), (kTitleHeight - helpSize.height()) / 2), helpSize));

  // Preferences.
  auto *preferences = new QGroupBox("Preferences", this);
  auto *grid = GroupGrid(preferences);
  prefix_ = MakeEdit(ids::kOptionsPrefix, kPrefixLength, "Default Country Prefix");
  prefix_->setValidator(digitsOnly);
  prefix_->setFixedWidth(44);
  signature_ = MakeEdit(ids::kOptionsSignature, kSignatureLength, "Signature");
  writeLog_ = MakeToggle(ids::kOptionsWriteLog, "Write Log File");
  spanSms_ = MakeToggle(ids::kOptionsSpanSms, "Span Multiple SMS");
  deliveryAcks_ = MakeToggle(ids::kOptionsDeliveryAcks, "Send Delivery Acks");
  forceSenderId_ = MakeToggle(ids::kOptionsForceSenderId, "Force Sender ID");
  forceSenderIdLabel_ = label("Force Sender ID", forceSenderId_);
  forceSenderIdLabel_->setObjectName(QString::number(ids::kOptionsForceSenderIdLabel));
  forceSenderIdLabel_->setAccessibleName("Force Sender ID");
  grid->addWidget(label("Default Country Prefix:", prefix_), 0, 0);
  grid->addWidget(prefix_, 0, 1, Qt::AlignLeft);
  grid->addWidget(label("Signature:", signature_), 1, 0, 1, 2);
  grid->addWidget(signature_, 2, 0, 1, 2);
  int row = 3;
  for (auto [toggle, text] : {std::pair<QPushButton *, const char *>{writeLog_, "Write Log File:"},
                              {spanSms_, "Span Multiple SMS:"},
                              {deliveryAcks_, "Send Delivery Acks"}}) {
    grid->addWidget(label(text, toggle), row, 0);
    grid->addWidget(toggle, row++, 1, Qt::AlignLeft);
  }
  grid->addWidget(forceSenderIdLabel_, row, 0);
  grid->addWidget(forceSenderId_, row, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);

  // Send Options.
  auto *send = new QGroupBox("Send Options", this);
  grid = GroupGrid(send);
  online_ = radio(ids::kOptionsOnline, "I am working online\n(send immediately)");
  offline_ = radio(ids::kOptionsOffline, "I am working offline\n(send action required)");
  grid->addWidget(online_, 0, 0);
  grid->addWidget(offline_, 1, 0);

  // Scheduled Messages Defaults.
  auto *scheduled = new QGroupBox("Scheduled Messages Defaults", this);
  grid = GroupGrid(scheduled);
  toServer_ =
      radio(ids::kOptionsScheduleToServer, "Upload messages to server\nif messages are within");
  keepLocal_ = radio(ids::kOptionsKeepLocal, "Keep messages local until\nscheduled delivery time.");
  days_ = new QComboBox(this);
  days_->setObjectName(QString::number(ids::kOptionsUploadDays));
  days_->setAccessibleName("Days before the scheduled date");
  for (int d = OptionsForm::kMinUploadDays; d <= OptionsForm::kMaxUploadDays; ++d)
    days_->addItem(QString::number(d), d);
  auto *daysLabel = label("days from scheduled date.", days_);
  daysLabel->setWordWrap(true);
  auto *daysRow = new QHBoxLayout;
  daysRow->setContentsMargins(20, 0, 0, 0);
  daysRow->addWidget(days_);
  daysRow->addWidget(daysLabel, 1);
  grid->addWidget(toServer_, 0, 0);
  grid->addLayout(daysRow, 1, 0);
  grid->addWidget(keepLocal_, 2, 0);

  // Extra Settings.
  auto *extra = new QGroupBox("Extra Settings", this);
  grid = GroupGrid(extra);
  senderId_ = MakeEdit(ids::kOptionsSenderId, kSenderIdLength, "Sender ID");
  startMinimized_ = new QCheckBox("Start minimised", this);
  startMinimized_->setObjectName(QString::number(ids::kOptionsStartMinimized));
  startMinimized_->setAccessibleName("Start minimised");
  grid->addWidget(label("Sender ID:", senderId_), 0, 0);
  grid->addWidget(senderId_, 0, 1);
  grid->addWidget(startMinimized_, 1, 0, 1, 2);

  // Redeem Voucher.
  auto *redeemGroup = new QGroupBox("Redeem Voucher", this);
  grid = GroupGrid(redeemGroup);
  auto *boxes = new QHBoxLayout;
  boxes->setSpacing(3);
  for (int i = 0; i < VoucherRedeem::kBoxes; ++i) {
    if (i > 0) boxes->addWidget(new QLabel("-", this));
    voucher_[i] = MakeEdit(ids::kOptionsVoucher1 + i, VoucherRedeem::kBoxLength,
                           QString("Voucher digits %1 to %2").arg(4 * i + 1).arg(4 * i + 4));
    voucher_[i]->setValidator(digitsOnly);
    voucher_[i]->setAlignment(Qt::AlignCenter);
    voucher_[i]->setFixedWidth(36);
    voucher_[i]->setStyleSheet("padding: 1px 1px;");
    boxes->addWidget(voucher_[i]);
  }
  auto *redeem = button(ids::kOptionsRedeem, "Redeem >>");
  auto *clear = button(ids::kOptionsClear, "Clear");
  auto *redeemButtons = new QHBoxLayout;
  redeemButtons->addWidget(redeem);
  redeemButtons->addWidget(clear);
  redeemButtons->addStretch(1);
  grid->addLayout(boxes, 0, 0);
  grid->addLayout(redeemButtons, 1, 0);

  // HTTP Proxy Settings.
  auto *proxy = new QGroupBox("HTTP Proxy Settings", this);
  grid = GroupGrid(proxy);
  proxyMode_ = new QComboBox(this);
  proxyMode_->setObjectName(QString::number(ids::kProxyType));
  proxyMode_->setAccessibleName("Connection mode");
  for (int mode = 1; mode <= ProxyApply::kUseProxyList; ++mode)
    proxyMode_->addItem(Text(ProxySettingsDialog::NameId(mode)), mode);
  proxyMode_->setMinimumContentsLength(8);
  proxyMode_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  proxyHost_ = MakeEdit(ids::kProxyHost, kTextLength, "Address");
  proxyPort_ = MakeEdit(ids::kProxyPort, kTextLength, "Port");
  proxyPort_->setFixedWidth(48);
  proxyUser_ = MakeEdit(ids::kProxyUser, kTextLength, "Username");
  proxyPassword_ = MakeEdit(ids::kProxyPassword, kTextLength, "Password");
  proxyPassword_->setEchoMode(QLineEdit::Password);
  auto *test = button(ids::kProxyTest, "Test");
  auto *modeRow = new QHBoxLayout;
  modeRow->addWidget(proxyMode_, 1);
  modeRow->addWidget(test);
  grid->addLayout(modeRow, 0, 0, 1, 2);
  grid->addWidget(label("Address:", proxyHost_), 1, 0);
  grid->addWidget(proxyHost_, 1, 1);
  grid->addWidget(label("Port: ", proxyPort_), 2, 0);
  grid->addWidget(proxyPort_, 2, 1, Qt::AlignLeft);
  grid->addWidget(label("Username:", proxyUser_), 3, 0);
  grid->addWidget(proxyUser_, 3, 1);
  grid->addWidget(label("Password:", proxyPassword_), 4, 0);
  grid->addWidget(proxyPassword_, 4, 1);
  grid->setColumnStretch(1, 1);

  // Mail Client Profile.
  auto *profile = new QGroupBox("Mail Client Profile", this);
  grid = GroupGrid(profile);
  mailClient_ = radio(ids::kOptionsMailClient, "Mail client");
  vCards_ = radio(ids::kOptionsVCards, "vCards");
  profileName_ = MakeEdit(ids::kOptionsProfileName, kTextLength, "Profile name");
  profilePassword_ = MakeEdit(ids::kOptionsProfilePassword, kTextLength, "Profile password");
  profilePassword_->setEchoMode(QLineEdit::Password);
  auto *sources = new QHBoxLayout;
  sources->addWidget(mailClient_);
  sources->addWidget(vCards_);
  sources->addStretch(1);
  grid->addWidget(new QLabel("Data Source:", this), 0, 0, 1, 2);
  grid->addLayout(sources, 1, 0, 1, 2);
  grid->addWidget(label("Profile name:", profileName_), 2, 0);
  grid->addWidget(profileName_, 2, 1);
  grid->addWidget(label("Profile password:", profilePassword_), 3, 0);
  grid->addWidget(profilePassword_, 3, 1);
  grid->setColumnStretch(1, 1);

  // Three columns of groups below the title.
  auto *columns = new QHBoxLayout(this);
  columns->setContentsMargins(kMargin - 6, kTitleHeight + 2, kMargin - 6, 10);
  columns->setSpacing(6);
  const std::initializer_list<std::initializer_list<QGroupBox *>> layout = {
      {preferences, send}, {scheduled, extra, redeemGroup}, {proxy, profile}};
  for (const auto &groups : layout) {
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    for (QGroupBox *g : groups)
      column->addWidget(g);
    column->addStretch(1);
    columns->addLayout(column, 1);
  }

  // Enter stores the page through the hidden OK button, except in the proxy
  // address, port and user name, where it moves to the next field.
  ok_ = button(ids::kOptionsOk, "OK");
  ok_->setAccessibleName("Store the options");
  ok_->hide();
  connect(ok_, &QPushButton::clicked, this, &OptionsPage::StorePage);
  for (QLineEdit *e : {prefix_, signature_, senderId_, proxyPassword_, profileName_,
                       profilePassword_, voucher_[0], voucher_[1], voucher_[2], voucher_[3]})
    connect(e, &QLineEdit::returnPressed, ok_, &QPushButton::click);
  const std::pair<QLineEdit *, QLineEdit *> next[] = {
      {proxyHost_, proxyPort_}, {proxyPort_, proxyUser_}, {proxyUser_, proxyPassword_}};
  for (const auto &step : next) {
    QLineEdit *to = step.second;
    connect(step.first, &QLineEdit::returnPressed, to, [to] { to->setFocus(Qt::TabFocusReason); });
  }

  for (QPushButton *t : {writeLog_, spanSms_, deliveryAcks_})
    connect(t, &QPushButton::clicked, this, [this, t] { Flip(t); });
  connect(forceSenderId_, &QPushButton::clicked, this, &OptionsPage::ForceSenderIdClicked);
  connect(online_, &QRadioButton::clicked, this, &OptionsPage::GoOnline);
  connect(offline_, &QRadioButton::clicked, this, &OptionsPage::GoOffline);
  connect(toServer_, &QRadioButton::clicked, this, [this] { ScheduleClicked(true); });
  connect(keepLocal_, &QRadioButton::clicked, this, [this] { ScheduleClicked(false); });
  connect(mailClient_, &QRadioButton::clicked, this, [this] { DataSourceClicked(true); });
  connect(vCards_, &QRadioButton::clicked, this, [this] { DataSourceClicked(false); });
  connect(proxyMode_, &QComboBox::currentIndexChanged, this, &OptionsPage::ModeChanged);
  connect(test, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    BusyScope busy(busy_);
    ApplyProxy(true);
  });
  connect(redeem, &QPushButton::clicked, this, &OptionsPage::Redeem);
  connect(clear, &QPushButton::clicked, this, &OptionsPage::ClearVoucher);
  connect(buy, &QPushButton::clicked, this, &OptionsPage::BuyCredits);
  connect(help_, &QPushButton::clicked, this, &OptionsPage::OpenHelp);
}

bool OptionsPage::IsOn(const QPushButton *toggle) {
  return toggle->text().startsWith('X');
}

void OptionsPage::Flip(QPushButton *toggle) {
  toggle->setText(toggle->text() == "X" ? QString() : QString("X"));
}

void OptionsPage::ShowBalance() {
  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
}

void OptionsPage::ShowOnline(bool online) {
  CheckPair(online_, offline_, online);
}

void OptionsPage::ShowSchedule(bool toServer) {
  CheckPair(toServer_, keepLocal_, toServer);
  days_->setEnabled(toServer);
}

void OptionsPage::ShowDataSource(bool mailClient) {
  CheckPair(mailClient_, vCards_, mailClient);
  profileName_->setEnabled(mailClient);
  profilePassword_->setEnabled(mailClient);
}

void OptionsPage::ShowForm(const OptionsForm &f) {
  auto setToggle = [](QPushButton *t, bool on) { t->setText(on ? "X" : ""); };
  prefix_->setText(FromAnsi(f.prefix));
  signature_->setText(FromAnsi(f.signature));
  setToggle(writeLog_, f.writeLog);
  setToggle(spanSms_, f.spanSms);
  setToggle(deliveryAcks_, f.deliveryAcks);
  setToggle(forceSenderId_, f.forceSenderId);
  ShowOnline(f.online);
  startMinimized_->setChecked(f.startMinimized);
  proxyMode_->setCurrentIndex(f.proxy.mode - 1);
  proxyHost_->setText(FromAnsi(f.proxy.host));
  proxyPort_->setText(FromAnsi(f.proxy.port));
  proxyUser_->setText(FromAnsi(f.proxy.user));
  proxyPassword_->setText(FromAnsi(f.proxy.password));
  UpdateProxyEnabled();
  profileName_->setText(FromAnsi(f.profileName));
  profilePassword_->setText(FromAnsi(f.profilePassword));
  senderId_->setText(FromAnsi(f.senderId));
  ShowSchedule(f.scheduleToServer);
  days_->setCurrentIndex(f.uploadDays - 1);
  // Long texts show their beginning.
  for (QLineEdit *e : findChildren<QLineEdit *>())
    e->setCursorPosition(0);
}

OptionsForm OptionsPage::Form() const {
  OptionsForm f;
  f.prefix = ToAnsi(prefix_->text());
  f.signature = ToAnsi(signature_->text());
  f.writeLog = IsOn(writeLog_);
  f.spanSms = IsOn(spanSms_);
  f.deliveryAcks = IsOn(deliveryAcks_);
  f.forceSenderId = IsOn(forceSenderId_);
  f.online = online_->isChecked();
  f.startMinimized = startMinimized_->isChecked();
  f.proxy.mode = proxyMode_->currentData().toInt();
  f.proxy.host = ToAnsi(proxyHost_->text());
  f.proxy.port = ToAnsi(proxyPort_->text());
  f.proxy.user = ToAnsi(proxyUser_->text());
  f.proxy.password = ToAnsi(proxyPassword_->text());
  f.profileName = ToAnsi(profileName_->text());
  f.profilePassword = ToAnsi(profilePassword_->text());
  f.senderId = ToAnsi(senderId_->text());
  f.scheduleToServer = toServer_->isChecked();
  f.uploadDays = days_->currentData().toInt();
  return f;
}

void OptionsPage::LoadPage() {
  ++loads_;
  if (context_.settings) {
    const shell::Settings &s = *context_.settings;
    loading_ = true;
    ShowForm(OptionsForm::FromSettings(s));
    forceSenderId_->setVisible(s.CanUseForceSenderIDFeature);
    forceSenderIdLabel_->setVisible(s.CanUseForceSenderIDFeature);
    ShowDataSource(s.MAPI_AddressBook);
    senderId_->setEnabled(s.set_sender);
    help_->setVisible(!s.help_url.empty());
    loading_ = false;
  }
  ShowBalance();
}

void OptionsPage::StorePage() {
  ++stores_;
  if (!context_.settings) return;
  Form().Store(
      *context_.settings,
      [this](bool online) {
        PostToWindow(online ? engine::UM_WENT_ONLINE : engine::UM_WENT_OFFLINE);
      },
      [this] { ApplyProxy(false); });
  if (context_.settingsFile) shell::SaveSettings(*context_.settings, *context_.settingsFile);
}

void OptionsPage::GoOnline() {
  if (busy_ || !context_.settings) return;
  shell::Settings &s = *context_.settings;
  StorePage();
  if (!engine::IsWorkingOnLine(s)) return;
  bool ok = false;
  if (engine::GatewayApi *gateway = context_.gateway) {
    BusyScope busy(busy_);
    const std::string clientId = s.client_id, login = s.Login, password = s.Password;
    engine::UserPrompt *prompt = context_.prompt;
    const shell::StringTable *strings = &Strings();
    ok = BackgroundCall::Result([=] {
      return engine::LoginOperation::Login(*gateway, clientId, login, password, prompt, *strings)
          .ok;
    });
  }
  engine::SetWorkingOnLine(s, ok);
  PostToWindow(ok ? engine::UM_WENT_ONLINE : engine::UM_WENT_OFFLINE);
  ShowOnline(ok);
  Refresh();
  if (!ok) Box(1397, 1028, engine::kBoxOk | engine::kBoxIconError);
}

void OptionsPage::GoOffline() {
  if (context_.settings) engine::SetWorkingOnLine(*context_.settings, false);
  PostToWindow(engine::UM_WENT_OFFLINE);
  ShowOnline(false);
  Refresh();
}

void OptionsPage::Refresh() {
  ShowBalance();
  emit RefreshRequested();
}

int OptionsPage::ApplyProxy(bool force) {
  UpdateProxyEnabled();
  if (!context_.settings || !context_.gateway) return ProxyApply::kUnchanged;
  return ProxyApply::Run(Form().proxy, force, *context_.settings, *context_.gateway, window());
}

void OptionsPage::UpdateProxyEnabled() {
  const bool list = proxyMode_->currentData().toInt() == ProxyApply::kUseProxyList;
  proxyHost_->setEnabled(list);
  proxyPort_->setEnabled(list);
}

void OptionsPage::ModeChanged() {
  UpdateProxyEnabled();
  if (loading_ || busy_) return;
  BusyScope busy(busy_);
  ApplyProxy(false);
}

void OptionsPage::ForceSenderIdClicked() {
  Flip(forceSenderId_);
  shell::Settings *s = context_.settings;
  if (!s || !IsOn(forceSenderId_) || s->DontShowForceSenderIDMsgAgain) return;
  CheckedAnswer answer = MessageBoxes::ShowChecked(window(), Text(1399), Text(1400),
                                                   engine::kBoxOk | engine::kBoxIconInformation);
  WriteSetting(&shell::Settings::DontShowForceSenderIDMsgAgain, answer.dontShowAgain);
}

void OptionsPage::WriteSetting(bool shell::Settings::*setting, bool on) {
  if (!context_.settings) return;
  auto hold = shell::LockSettings(*context_.settings);
  context_.settings->*setting = on;
}

void OptionsPage::ScheduleClicked(bool toServer) {
  WriteSetting(&shell::Settings::ScheduleToServer, toServer);
  ShowSchedule(toServer);
}

void OptionsPage::DataSourceClicked(bool mailClient) {
  WriteSetting(&shell::Settings::MAPI_AddressBook, mailClient);
  ShowDataSource(mailClient);
}

void OptionsPage::Redeem() {
  if (busy_ || !context_.settings) return;
  if (!engine::IsWorkingOnLine(*context_.settings)) {
    Box(1393, 1392, engine::kBoxOk | engine::kBoxIconInformation);
    return;
  }
  std::array<std::string, VoucherRedeem::kBoxes> boxes;
  for (int i = 0; i < VoucherRedeem::kBoxes; ++i)
    boxes[i] = ToAnsi(voucher_[i]->text());
  const std::string voucher = VoucherRedeem::Join(boxes);
  if (!VoucherRedeem::IsComplete(voucher)) {
    Box(1395, 1394, engine::kBoxOk | engine::kBoxIconInformation);
    return;
  }
  engine::GatewayApi *gateway = context_.gateway;
  if (!gateway) return;
  VoucherRedeem::Reply reply;
  {
    BusyScope busy(busy_);
    reply = BackgroundCall::Result([gateway, voucher] {
      VoucherRedeem::Reply r;
      std::lock_guard unit(gateway->CallLock());
      r.invoked = SUCCEEDED(gateway->TokenPay(voucher.c_str(), &r.text));
      r.code = r.invoked ? gateway->LastError() : -1;
      return r;
    });
  }
  const VoucherRedeem::Notice notice = VoucherRedeem::For(reply);
  if (notice.redeemed) {
    ClearVoucher();
    balance_->StopFlashing();
    Refresh();
    return;
  }
  MessageBoxes::Show(window(), notice.textId ? Text(notice.textId) : FromAnsi(notice.text),
                     Text(notice.captionId), notice.style);
}

void OptionsPage::ClearVoucher() {
  for (QLineEdit *box : voucher_)
    box->clear();
}

void OptionsPage::BuyCredits() {
  if (busy_ || !context_.settings) return;
  const shell::Settings &s = *context_.settings;
  PurchaseAddress::Inputs in;
  in.voucherUrl = s.voucher_url;
  in.online = engine::IsWorkingOnLine(s);
  in.clientId = s.client_id;
  in.appendSessionIdOnPurchase = s.AppendSessionIDOnPurchase;
  in.login = s.Login;
  in.password = s.Password;
  if (engine::GatewayApi *gateway = context_.gateway; gateway && in.online) {
    BusyScope busy(busy_);
    in.sessionId = BackgroundCall::Result([gateway] {
      std::lock_guard unit(gateway->CallLock());
      std::string id;
      if (FAILED(gateway->get_smsSESSION_ID(&id))) id.clear();
      return id;
    });
  }
  OpenAddress(PurchaseAddress::Build(in));
}

void OptionsPage::OpenHelp() {
  if (context_.settings) OpenAddress(context_.settings->help_url);
}

void OptionsPage::ShowBalanceMenu(const QPoint &pos, const QPoint &globalPos) {
  if (!context_.settings || !engine::IsWorkingOnLine(*context_.settings) ||
      !balance_->geometry().contains(pos))
    return;
  QMenu menu(this);
  menu.setObjectName(QString::number(ids::kBalanceMenu));
  QAction *update = menu.addAction("Update Balance");
  update->setObjectName(QString::number(ids::kUpdateBalance));
  connect(update, &QAction::triggered, this, [this] { PostToWindow(engine::UM_BALANCE_CHANGED); });
  menu.exec(globalPos);
}

void OptionsPage::contextMenuEvent(QContextMenuEvent *event) {
  ShowBalanceMenu(event->pos(), event->globalPos());
}

void OptionsPage::PostToWindow(unsigned message) {
  if (context_.poster) context_.poster->Post(engine::WindowTarget::MainWindow, message, 0, 0);
}

void OptionsPage::Box(int textId, int captionId, unsigned style) {
  MessageBoxes::Show(window(), Text(textId), Text(captionId), style);
}

bool OptionsPage::event(QEvent *event) {
  if (auto *m = WindowMessageEvent::From(event); m && m->Message() == engine::UM_ACCOUNT_CHANGED) {
    GoOffline();
    return true;
  }
  return PageFrame::event(event);
}

} // namespace ui
