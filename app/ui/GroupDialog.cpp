#include "GroupDialog.h"

#include "addresses/AddressesIds.h"
#include "DialogParts.h"
#include "UiText.h"

#include "addresses/ContactForm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

GroupDialog::GroupDialog(bool rename, const std::string &name, QWidget *parent) : QDialog(parent) {
  DialogParts::Prepare(*this, Text(rename ? 1105 : 1104), 340);
  name_ = DialogParts::Field(ids::kGroupName, "Group Name", addresses::kGroupNameChars, this);
  name_->setText(FromAnsi(name));
  auto *form = new QFormLayout;
  form->addRow("Group Name:", name_);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(form);
  layout->addSpacing(10);
  ok_ = DialogParts::AddOkCancel(*this, *layout);
  connect(name_, &QLineEdit::textChanged, this, &GroupDialog::UpdateOk);
  UpdateOk();
  name_->setFocus();
  name_->selectAll();
}

std::string GroupDialog::Name() const {
  return DialogParts::FieldText(*name_, addresses::kGroupNameChars);
}

void GroupDialog::UpdateOk() {
  ok_->setEnabled(addresses::HoldsText(Name()));
}

} // namespace ui
