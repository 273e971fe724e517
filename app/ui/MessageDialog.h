#pragma once
// A message with a clickable address line: the caption, the text, and a web
// address that opens in the user's browser when clicked. Used for failures
// that send the user to a support or download page. Optionally with a
// "Don't show again" check box.

#include "engine/UserPrompt.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace ui {

class MessageDialog : public QDialog {
  Q_OBJECT
public:
  // `icon`: the icon bit of engine/UserPrompt.h (information or error).
  MessageDialog(QWidget *owner, const QString &caption, const QString &text, const QString &address,
                bool withDontShowAgain = false, unsigned icon = engine::kBoxIconInformation);

  bool DontShowAgain() const;
  QString Address() const { return address_; }

  // Shows the dialog modally. `dontShowAgain`, when given, adds the check
  // box and receives its state.
  static void Show(QWidget *owner, const QString &caption, const QString &text,
                   const QString &address, bool *dontShowAgain = nullptr,
                   unsigned icon = engine::kBoxIconInformation);

signals:
  void AddressOpened(const QString &address);

private:
  void OpenAddress();

  QString address_;
  QCheckBox *dontShow_ = nullptr;
};

} // namespace ui
