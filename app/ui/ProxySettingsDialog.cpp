#include "ProxySettingsDialog.h"

#include "ControlIds.h"
#include "Theme.h"
#include "UiText.h"

#include "shell/Settings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

ProxySettingsDialog::ProxySettingsDialog(const UiContext &context, QWidget *parent)
    : QDialog(parent), context_(context) {
  setWindowTitle("Proxy Settings");
  setStyleSheet(theme::StyleSheet());
  setMinimumWidth(460);

  auto *intro = new QLabel("The application communicates via HTTP with a SMS gateway over the "
                           "internet.  For this to work perfectly you will have to select one of "
                           "the four (4) available proxy settings.",
                           this);
  intro->setWordWrap(true);

  type_ = new QComboBox(this);
  type_->setObjectName(QString::number(ids::kProxyType));
  for (int mode = 1; mode <= 4; ++mode)
    type_->addItem(Text(NameId(mode)), mode);
  description_ = new QLabel(this);
  description_->setObjectName(QString::number(ids::kProxyDescription));
  description_->setWordWrap(true);
  description_->setProperty("role", "muted");
  description_->setMinimumHeight(30);
  description_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto edit = [this](int id, int maxLength) {
    auto *e = new QLineEdit(this);
    e->setObjectName(QString::number(id));
    e->setMaxLength(maxLength);
    return e;
  };
  host_ = edit(ids::kProxyHost, 255);
  port_ = edit(ids::kProxyPort, 5);
  port_->setValidator(new QIntValidator(0, 65535, port_));
  port_->setMaximumWidth(90);
  user_ = edit(ids::kProxyUser, 255);
  password_ = edit(ids::kProxyPassword, 255);
  password_->setEchoMode(QLineEdit::Password);

  auto *hostRow = new QHBoxLayout;
  hostRow->addWidget(host_, 1);
  hostRow->addWidget(new QLabel("Port:", this));
  hostRow->addWidget(port_);
  auto *form = new QFormLayout;
  form->addRow("Address:", hostRow);
  form->addRow("Username:", user_);
  form->addRow("Password:", password_);

  auto *test = new QPushButton("Test Settings", this);
  test->setObjectName(QString::number(ids::kProxyTest));
  auto *ok = new QPushButton("OK", this);
  ok->setObjectName(QString::number(ids::kOk));
  ok->setProperty("role", "primary");
  ok->setDefault(true);
  auto *cancel = new QPushButton("Cancel", this);
  cancel->setObjectName(QString::number(ids::kCancel));
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(test);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addWidget(intro);
  layout->addSpacing(10);
  layout->addWidget(type_);
  layout->addWidget(description_);
  layout->addLayout(form);
  layout->addSpacing(12);
  layout->addLayout(buttons);

  if (context_.settings) {
    const shell::Settings &s = *context_.settings;
    type_->setCurrentIndex(qBound(1, s.ProxyType, 4) - 1);
    host_->setText(FromAnsi(s.ProxyHost));
    port_->setText(FromAnsi(s.ProxyPort));
    user_->setText(FromAnsi(s.ProxyUsername));
    password_->setText(FromAnsi(s.ProxyPassword));
  }
  UpdateEnabled();
  loading_ = false;

  connect(type_, &QComboBox::currentIndexChanged, this, &ProxySettingsDialog::ModeChanged);
  connect(test, &QPushButton::clicked, this, [this] { Apply(true); });
  connect(ok, &QPushButton::clicked, this, &ProxySettingsDialog::AcceptSettings);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ProxyFields ProxySettingsDialog::Fields() const {
  ProxyFields f;
  f.mode = type_->currentData().toInt();
  f.host = ToAnsi(host_->text());
  f.port = ToAnsi(port_->text());
  f.user = ToAnsi(user_->text());
  f.password = ToAnsi(password_->text());
  return f;
}

void ProxySettingsDialog::UpdateEnabled() {
  int mode = type_->currentData().toInt();
  description_->setText(Text(DescriptionId(mode)));
  bool list = mode == ProxyApply::kUseProxyList;
  host_->setEnabled(list);
  port_->setEnabled(list);
}

void ProxySettingsDialog::ModeChanged() {
  UpdateEnabled();
  if (!loading_) Apply(false);
}

int ProxySettingsDialog::Apply(bool force) {
  UpdateEnabled();
  // One apply at a time: events keep arriving while the library tests the
  // connection.
  if (!context_.settings || !context_.gateway || applying_) return ProxyApply::kUnchanged;
  applying_ = true;
  int code = ProxyApply::Run(Fields(), force, *context_.settings, *context_.gateway, this);
  applying_ = false;
  return code;
}

void ProxySettingsDialog::AcceptSettings() {
  if (applying_) return;
  Apply(false);
  accept();
}

} // namespace ui
