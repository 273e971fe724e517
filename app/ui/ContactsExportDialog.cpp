#include "ContactsExportDialog.h"

#include "DialogParts.h"
#include "FileField.h"
#include "GroupCheckList.h"

#include "addresses/AddressesIds.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

ContactsExportDialog::ContactsExportDialog(contacts::ContactsExportDialogModel &model,
                                           bool haveSelection, QWidget *parent)
    : QDialog(parent), model_(model) {
  DialogParts::Prepare(*this, "EXPORT CONTACTS", 480);

  file_ = FileField::Over(model_, this);
  auto *form = new QFormLayout;
  form->addRow("File:", file_);

  selection_ = new QRadioButton("Export Selection", this);
  selection_->setObjectName(QString::number(ids::kCsvExportSelection));
  selection_->setAccessibleName(selection_->text());
  groupsChoice_ = new QRadioButton("Export the following groups", this);
  groupsChoice_->setObjectName(QString::number(ids::kCsvExportGroups));
  groupsChoice_->setAccessibleName(groupsChoice_->text());
  model_.SetExportGroups(!haveSelection);
  (haveSelection ? selection_ : groupsChoice_)->setChecked(true);

  groups_ = new GroupCheckList(ids::kCsvGroups, "Groups to export", this);
  groups_->Fill(
      model_.Groups(), [](const store::GroupRow &g) { return g.Name; },
      [this](std::size_t i) { return model_.GroupChecked(i); });
  groups_->setMinimumHeight(120);

  const QString withGroupText =
      "Export group association with each contact (may result in duplicate contacts)";
  withGroup_ = new QCheckBox(QString(withGroupText).replace(" (may", "\n(may"), this);
  withGroup_->setObjectName(QString::number(ids::kCsvWithGroup));
  withGroup_->setAccessibleName(withGroupText);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addWidget(selection_);
  layout->addWidget(groupsChoice_);
  auto *indented = new QVBoxLayout;
  indented->setContentsMargins(24, 0, 0, 0);
  indented->addWidget(groups_, 1);
  indented->addWidget(withGroup_);
  layout->addLayout(indented, 1);
  layout->addSpacing(8);
  ok_ = DialogParts::AddOkCancel(*this, *layout);

  connect(file_, &FileField::PathChanged, this, &ContactsExportDialog::Update);
  connect(groupsChoice_, &QRadioButton::toggled, this, [this](bool on) {
    model_.SetExportGroups(on);
    Update();
  });
  connect(groups_, &GroupCheckList::CheckChanged, this, [this](int row, bool checked) {
    model_.SetGroupChecked(static_cast<std::size_t>(row), checked);
  });
  connect(withGroup_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetWithAssociation(on); });
  Update();
}

void ContactsExportDialog::Update() {
  groups_->setEnabled(model_.ExportGroups());
  withGroup_->setEnabled(model_.ExportGroups());
  ok_->setEnabled(model_.OkEnabled());
}

void ContactsExportDialog::accept() {
  if (!model_.OkEnabled()) return;
  model_.Ok();
  QDialog::accept();
}

} // namespace ui
