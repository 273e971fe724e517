#pragma once
// "Proxy Settings" (tray menu): the connection mode with its description,
// the proxy host and port (only for "Use proxy list"), the proxy user name
// and password, "Test Settings", OK and Cancel. Changing the mode applies it
// at once; "Test Settings" applies and tests; OK applies and closes.

#include "ProxyApply.h"
#include "UiContext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class ProxySettingsDialog : public QDialog {
  Q_OBJECT
public:
  ProxySettingsDialog(const UiContext &context, QWidget *parent = nullptr);

  ProxyFields Fields() const;
  // The proxy-apply step on the entries; returns its result.
  int Apply(bool force);
  // OK: apply without force, then close.
  void AcceptSettings();

  QComboBox *TypeList() const { return type_; }
  QLabel *Description() const { return description_; }
  QLineEdit *Host() const { return host_; }
  QLineEdit *Port() const { return port_; }
  QLineEdit *User() const { return user_; }
  QLineEdit *Password() const { return password_; }

  // String ids of a mode's name and description (mode 1..4).
  static int NameId(int mode) { return 1376 + 2 * (mode - 1); }
  static int DescriptionId(int mode) { return 1377 + 2 * (mode - 1); }

private:
  void ModeChanged();
  void UpdateEnabled();

  UiContext context_;
  QComboBox *type_;
  QLabel *description_;
  QLineEdit *host_;
  QLineEdit *port_;
  QLineEdit *user_;
  QLineEdit *password_;
  bool loading_ = true;
  bool applying_ = false;
};

} // namespace ui
