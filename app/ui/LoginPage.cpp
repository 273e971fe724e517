#include "LoginPage.h"

#include "BannerDownload.h"
#include "BannerLoader.h"
#include "ControlIds.h"
#include "ForgotPasswordDialog.h"
#include "MessageBoxes.h"
#include "Theme.h"
#include "UiText.h"
#include "WaitCursor.h"

#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"
#include "engine/LoginOperation.h"
#include "engine/UserPrompt.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <mutex>

namespace ui {

LoginPage::LoginPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageLogin, "Log in", QSize(kWidth, kHeight), parent), context_(context) {
  SetSubtitle("to your Ostrand SMS account");

  auto named = [](QWidget *w, int id) {
    w->setObjectName(QString::number(id));
    return w;
  };
  user_ = new QLineEdit(this);
  named(user_, ids::kLoginUser);
  user_->setMaxLength(64);
  user_->setPlaceholderText("User name");
  password_ = new QLineEdit(this);
  named(password_, ids::kLoginPassword);
  password_->setMaxLength(64);
  password_->setEchoMode(QLineEdit::Password);
  password_->setPlaceholderText("Password");
  remember_ = new QCheckBox("Remember Password", this);
  named(remember_, ids::kLoginRemember);
  offline_ = new QCheckBox("Work Off-line", this);
  named(offline_, ids::kLoginOffline);
  status_ = new QLabel(this);
  named(status_, ids::kLoginStatus);
  status_->setProperty("role", "status");
  status_->setWordWrap(true);
  status_->setMinimumHeight(20);
  ok_ = new QPushButton("OK", this);
  named(ok_, ids::kOk);
  ok_->setProperty("role", "primary");
  ok_->setMinimumWidth(96);
  forgot_ = new QPushButton("Forgot Password", this);
  named(forgot_, ids::kLoginForgot);
  forgot_->setProperty("role", "link");
  forgot_->setCursor(Qt::PointingHandCursor);
  forgot_->setAutoDefault(false);
  for (QPushButton *b : {ok_, forgot_})
    b->setFocusPolicy(Qt::StrongFocus);

  auto *userLabel = new QLabel("User name", this);
  auto *passwordLabel = new QLabel("Password", this);
  for (QLabel *l : {userLabel, passwordLabel})
    l->setProperty("role", "muted");
  userLabel->setBuddy(user_);
  passwordLabel->setBuddy(password_);

  auto *grid = new QGridLayout;
  grid->setVerticalSpacing(4);
  grid->addWidget(userLabel, 0, 0);
  grid->addWidget(user_, 1, 0);
  grid->addItem(new QSpacerItem(1, 8), 2, 0);
  grid->addWidget(passwordLabel, 3, 0);
  grid->addWidget(password_, 4, 0);
  auto *boxes = new QHBoxLayout;
  boxes->addWidget(remember_);
  boxes->addStretch(1);
  boxes->addWidget(offline_);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(forgot_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);

  auto *layout = new QVBoxLayout(this);
  QRect content = ContentRect();
  layout->setContentsMargins(content.left() + 6, content.top() + 4, width() - content.right() + 5,
                             height() - content.bottom() + 2);
  layout->addLayout(grid);
  layout->addSpacing(10);
  layout->addLayout(boxes);
  layout->addSpacing(4);
  layout->addWidget(status_);
  layout->addStretch(1);
  layout->addLayout(buttons);

  connect(user_, &QLineEdit::returnPressed, this, &LoginPage::UserEntered);
  connect(password_, &QLineEdit::returnPressed, this, &LoginPage::PasswordEntered);
  connect(ok_, &QPushButton::clicked, this, [this] { Submit(); });
  connect(forgot_, &QPushButton::clicked, this, &LoginPage::AskForgotPassword);

  if (context_.settings) {
    const shell::Settings &s = *context_.settings;
    user_->setText(FromAnsi(s.Login));
    if (s.RememberPassword) password_->setText(FromAnsi(s.Password));
    remember_->setChecked(s.RememberPassword);
    offline_->setChecked(!engine::IsWorkingOnLine(s));
  }
}

void LoginPage::SetBannerDownload(BannerDownload *banner, QObject *notify) {
  banner_ = banner;
  bannerNotify_ = notify;
}

void LoginPage::Activated() {
  user_->setFocus();
}

void LoginPage::UserEntered() {
  if (!user_->text().isEmpty()) password_->setFocus();
}

void LoginPage::PasswordEntered() {
  if (!password_->text().isEmpty()) Submit();
}

void LoginPage::Fail() {
  status_->setText(Text(1058));
}

bool LoginPage::Submit() {
  if (!context_.settings) return false;
  shell::Settings &s = *context_.settings;
  s.RememberPassword = remember_->isChecked();
  engine::SetWorkingOnLine(s, !offline_->isChecked());
  const std::string user = ToAnsi(user_->text());
  const std::string password = ToAnsi(password_->text());
  status_->clear();

  if (!engine::IsWorkingOnLine(s)) {
    if (user != s.Login || password != s.Password) {
      Fail();
      return false;
    }
  } else {
    if (!context_.gateway) {
      Fail();
      return false;
    }
    bool ok;
    {
      WaitCursor wait;
      ok = engine::LoginOperation::Login(*context_.gateway, s.client_id, user, password,
                                         context_.prompt, Strings())
               .ok;
    }
    if (!ok) {
      Fail();
      return false;
    }
    if (banner_ && BannerDownload::IsWebAddress(s.bg_image_path))
      banner_->Start(s.bg_image_path, BannerLoader::PathIn(context_.dataFolder), bannerNotify_);
  }
  s.Login = user;
  s.Password = password;
  if (context_.settingsFile) shell::SaveLoginSettings(s, *context_.settingsFile);
  emit LoggedIn();
  return true;
}

void LoginPage::AskForgotPassword() {
  ForgotPasswordDialog dialog(user_->text(), window());
  if (dialog.exec() != QDialog::Accepted) return;
  RecoverPassword(dialog.User(), dialog.Email());
}

bool LoginPage::RecoverPassword(const QString &user, const QString &email) {
  if (!context_.gateway) return false;
  std::string result;
  int code = -1;
  {
    WaitCursor wait;
    std::lock_guard unit(context_.gateway->CallLock());
    HRESULT hr =
        context_.gateway->RecoverPassword(ToAnsi(user).c_str(), ToAnsi(email).c_str(), &result);
    if (SUCCEEDED(hr)) code = context_.gateway->LastError();
  }
  if (code == engine::LoginOperation::kCommunicationError) {
    MessageBoxes::Show(window(), Text(1027), Text(1028), engine::kBoxOk | engine::kBoxIconError);
    return false;
  }
  QString answer = FromAnsi(result);
  if (code == 0) {
    MessageBoxes::Show(window(),
                       answer.isEmpty() ? QString("Your password is on its way.") : answer,
                       "Forgot Password", engine::kBoxOk | engine::kBoxIconInformation);
    return true;
  }
  MessageBoxes::Show(window(),
                     answer.isEmpty() ? QString("The password could not be recovered.") : answer,
                     "Forgot Password", engine::kBoxOk | engine::kBoxIconError);
  return false;
}

} // namespace ui
