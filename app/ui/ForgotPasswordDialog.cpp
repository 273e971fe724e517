#include "ForgotPasswordDialog.h"

#include "Theme.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

ForgotPasswordDialog::ForgotPasswordDialog(const QString &user, QWidget *parent) : QDialog(parent) {
  setWindowTitle("Forgot Password");
  setStyleSheet(theme::StyleSheet());
  setMinimumWidth(380);

  auto *intro = new QLabel("Enter your user name and the e-mail address of your account. "
                           "The gateway will send your password to that address.",
                           this);
  intro->setWordWrap(true);
  intro->setProperty("role", "muted");

  user_ = new QLineEdit(user, this);
  user_->setObjectName("user");
  user_->setMaxLength(64);
  email_ = new QLineEdit(this);
  email_->setObjectName("email");
  email_->setMaxLength(128);
  auto *form = new QFormLayout;
  form->addRow("User name:", user_);
  form->addRow("E-mail address:", email_);

  ok_ = new QPushButton("Send", this);
  ok_->setObjectName("1");
  ok_->setProperty("role", "primary");
  ok_->setDefault(true);
  auto *cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("2");
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(user_, &QLineEdit::textChanged, this, &ForgotPasswordDialog::UpdateOk);
  connect(email_, &QLineEdit::textChanged, this, &ForgotPasswordDialog::UpdateOk);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok_);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addWidget(intro);
  layout->addSpacing(8);
  layout->addLayout(form);
  layout->addSpacing(10);
  layout->addLayout(buttons);
  UpdateOk();
  (user.isEmpty() ? user_ : email_)->setFocus();
}

QString ForgotPasswordDialog::User() const {
  return user_->text().trimmed();
}
QString ForgotPasswordDialog::Email() const {
  return email_->text().trimmed();
}

void ForgotPasswordDialog::UpdateOk() {
  ok_->setEnabled(!User().isEmpty() && !Email().isEmpty());
}

} // namespace ui
