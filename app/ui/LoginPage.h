#pragma once
// The login page: user name, password, "Remember Password", "Work Off-line",
// a status line, OK and "Forgot Password".
//
// OK stores the two check boxes in the settings, then logs in: offline
// against the stored Login and Password, online through the gateway
// (AuthenticateClient off the user-interface thread, with the wait cursor
// and input held back meanwhile; the banner download follows a
// successful login). A failure leaves "Unknown username or password!" in the
// status line. A success stores the user name and password, saves the login
// settings and emits LoggedIn (command 1008 to the main window).

#include "PageFrame.h"
#include "UiContext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class BannerDownload;

class LoginPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 296;

  LoginPage(const UiContext &context, QWidget *parent = nullptr);

  // The banner download and the window it notifies (both outlive the page's
  // use of them).
  void SetBannerDownload(BannerDownload *banner, QObject *notify);

  void Activated() override;

  // OK: true when the login succeeded.
  bool Submit();
  // Sends the password recovery for a user name and e-mail address and shows
  // the gateway's answer; true when the gateway accepted it.
  bool RecoverPassword(const QString &user, const QString &email);

  QLineEdit *UserField() const { return user_; }
  QLineEdit *PasswordField() const { return password_; }
  QCheckBox *RememberBox() const { return remember_; }
  QCheckBox *OfflineBox() const { return offline_; }
  QLabel *StatusLine() const { return status_; }

signals:
  void LoggedIn();

private:
  void UserEntered();
  void PasswordEntered();
  void AskForgotPassword();
  bool LogIn();
  void Fail();

  UiContext context_;
  BannerDownload *banner_ = nullptr;
  QObject *bannerNotify_ = nullptr;
  QLineEdit *user_;
  QLineEdit *password_;
  QCheckBox *remember_;
  QCheckBox *offline_;
  QLabel *status_;
  QPushButton *ok_;
  QPushButton *forgot_;
  bool submitting_ = false;
  bool recovering_ = false;
};

} // namespace ui
