#pragma once
// The start-up choice of the mail client whose address book the program
// reads: a drop-down list of the mail clients in the registry, OK and
// Cancel. In tests the box hooks of MessageBoxes answer it (Yes = OK with
// the preselected client, anything else = Cancel).

#include "contacts/MailRouting.h"

#include <QDialog>

class QComboBox;

namespace contacts {
class AddressBookAccess;
}

namespace ui {

class MailRoutingDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr const char *kTitle = "Set up the mail client";
  static constexpr const char *kText =
      "Select the mail client whose address book you would like to use.";
  static constexpr const char *kListLabel = "Mail client:";

  MailRoutingDialog(const std::vector<std::string> &clients, int preselected,
                    QWidget *parent = nullptr);

  // The client selected in the list (Windows-1252).
  std::string Selected() const;

  // Asks through this dialog.
  class Chooser : public contacts::MailClientChooser {
  public:
    explicit Chooser(QWidget *owner) : owner_(owner) {}
    std::optional<std::string> Choose(const std::vector<std::string> &clients,
                                      int preselected) override;

  private:
    QWidget *owner_;
  };

  // The start-up step: writes the readable clients into the registry, checks
  // the registration (asking when needed) and shows strings 1120/1121 when
  // it failed. Only for when mail access is available.
  static contacts::MailRouting::Outcome CheckRegistration(const contacts::AddressBookAccess &access,
                                                          contacts::MailClientRegistry &registry,
                                                          bool force, QWidget *owner);

private:
  QComboBox *list_;
};

} // namespace ui
