#pragma once
// Asks for the user name and e-mail address of an account whose password
// the gateway should send again.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace ui {

class ForgotPasswordDialog : public QDialog {
  Q_OBJECT
public:
  ForgotPasswordDialog(const QString &user, QWidget *parent = nullptr);

  QString User() const;
  QString Email() const;

private:
  void UpdateOk();

  QLineEdit *user_;
  QLineEdit *email_;
  QPushButton *ok_;
};

} // namespace ui
