#include "MailRoutingDialog.h"

#include "ControlIds.h"
#include "MessageBoxes.h"
#include "Theme.h"
#include "UiText.h"

#include "contacts/AddressBookAccess.h"
#include "engine/UserPrompt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

MailRoutingDialog::MailRoutingDialog(const std::vector<std::string> &clients, int preselected,
                                     QWidget *parent)
    : QDialog(parent) {
  setObjectName(QString::number(ids::kDialogMailRouting));
  setWindowTitle(kTitle);
  setStyleSheet(theme::StyleSheet());

  auto *text = new QLabel(kText, this);
  text->setObjectName(QString::number(ids::kMailRoutingText));
  text->setWordWrap(true);
  auto *label = new QLabel(kListLabel, this);
  list_ = new QComboBox(this);
  list_->setObjectName(QString::number(ids::kMailRoutingClient));
  list_->setAccessibleName(kListLabel);
  label->setBuddy(list_);
  for (const std::string &client : clients)
    list_->addItem(FromAnsi(client));
  list_->setCurrentIndex(preselected);

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(ids::kOk));
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(ids::kCancel));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
  buttons->button(QDialogButtonBox::Ok)->setEnabled(!clients.empty());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addSpacing(6);
  layout->addWidget(label);
  layout->addWidget(list_);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

std::string MailRoutingDialog::Selected() const {
  return ToAnsi(list_->currentText());
}

std::optional<std::string> MailRoutingDialog::Chooser::Choose(
    const std::vector<std::string> &clients, int preselected) {
  if (auto answer = MessageBoxes::Intercept({kTitle, kText, QString(), engine::kBoxYesNo})) {
    if (*answer != engine::kAnswerYes || clients.empty()) return std::nullopt;
    return clients[static_cast<std::size_t>(preselected)];
  }
  MailRoutingDialog dialog(clients, preselected, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Selected();
}

contacts::MailRouting::Outcome
MailRoutingDialog::CheckRegistration(const contacts::AddressBookAccess &access,
                                     contacts::MailClientRegistry &registry, bool force,
                                     QWidget *owner) {
  using contacts::MailRouting;
  registry.Publish(access.Clients());
  Chooser chooser(owner);
  auto outcome = MailRouting::Check(registry, force, access.DefaultHandler(), chooser);
  if (outcome == MailRouting::Outcome::Failed)
    MessageBoxes::Show(owner, Text(MailRouting::kFailedTextId), Text(MailRouting::kFailedCaptionId),
                       engine::kBoxOk | engine::kBoxIconInformation);
  return outcome;
}

} // namespace ui
