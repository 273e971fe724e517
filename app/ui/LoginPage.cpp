#include "LoginPage.h"

#include "BackgroundCall.h"
#include "BannerDownload.h"
#include "BannerLoader.h"
#include "ControlIds.h"
#include "ForgotPasswordDialog.h"
#include "GatewayCall.h"
#include "MessageBoxes.h"
#include "Theme.h"
#include "UiText.h"

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
  // Events keep arriving while the gateway answers: one login at a time.
  if (!context_.settings || submitting_) return false;
  submitting_ = true;
  const bool ok = LogIn();
  submitting_ = false;
  return ok;
}

bool LoginPage::LogIn() {
  shell::Settings &s = *context_.settings;
  {
    auto hold = shell::LockSettings(s);
    s.RememberPassword = remember_->isChecked();
  }
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
    engine::GatewayApi *gateway = context_.gateway;
    engine::UserPrompt *prompt = context_.prompt;
    const shell::StringTable *strings = &Strings();
    const std::string clientId = s.client_id;
    const bool ok = BackgroundCall::Result([=] {
      return engine::LoginOperation::Login(*gateway, clientId, user, password, prompt, *strings).ok;
    });
    if (!ok) {
      Fail();
      return false;
    }
    if (banner_ && BannerDownload::IsWebAddress(s.bg_image_path))
      banner_->Start(s.bg_image_path, BannerLoader::PathIn(context_.dataFolder), bannerNotify_);
  }
  {
    auto hold = shell::LockSettings(s);
    s.Login = user;
    s.Password = password;
  }
  // Saving may wait for the desktop keyring (an unlock prompt, say).
  if (shell::SettingsFile *file = context_.settingsFile)
    BackgroundCall::Run([&s, file] { shell::SaveLoginSettings(s, *file); });
  emit LoggedIn();
  return true;
}

void LoginPage::AskForgotPassword() {
  if (recovering_) return;
  recovering_ = true;
  ForgotPasswordDialog dialog(user_->text(), window());
  if (dialog.exec() == QDialog::Accepted) RecoverPassword(dialog.User(), dialog.Email());
  recovering_ = false;
}

bool LoginPage::RecoverPassword(const QString &user, const QString &email) {
  if (!context_.gateway) return false;
  const std::string userText = ToAnsi(user);
  const std::string emailText = ToAnsi(email);
  const GatewayReply reply =
      CallGateway(*context_.gateway, [userText, emailText](engine::GatewayApi &g, std::string *r) {
        return g.RecoverPassword(userText.c_str(), emailText.c_str(), r);
      });
  const int code = reply.code;
  const std::string &result = reply.text;
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
