#include "DeleteContactDialog.h"

#include "DialogParts.h"

#include "addresses/AddressesIds.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

DeleteContactDialog::DeleteContactDialog(QWidget *parent) : QDialog(parent) {
  DialogParts::Prepare(*this, "Delete contact from ...", 300);
  all_ = new QRadioButton("All groups", this);
  all_->setObjectName(QString::number(ids::kDeleteAllGroups));
  all_->setAccessibleName("All groups");
  thisGroup_ = new QRadioButton("This group only", this);
  thisGroup_->setObjectName(QString::number(ids::kDeleteThisGroup));
  thisGroup_->setAccessibleName("This group only");
  thisGroup_->setChecked(true);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addWidget(new QLabel("Delete contact from:", this));
  layout->addWidget(all_);
  layout->addWidget(thisGroup_);
  layout->addSpacing(10);
  DialogParts::AddOkCancel(*this, *layout, "Delete");
}

bool DeleteContactDialog::FromAllGroups() const {
  return all_->isChecked();
}

} // namespace ui
