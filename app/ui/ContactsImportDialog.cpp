#include "ContactsImportDialog.h"

#include "DialogParts.h"
#include "FileField.h"
#include "GroupCheckList.h"
#include "UiText.h"

#include "addresses/AddressesIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {
const char *const kAutoGroupText = "Automatically create a Group when entries in the Group field "
                                   "do not exist. When active, any new entry will override the "
                                   "Group selected below.";
}

ContactsImportDialog::ContactsImportDialog(contacts::ContactsImportDialogModel &model,
                                           QWidget *parent)
    : QDialog(parent), model_(model) {
  DialogParts::Prepare(*this, "UPLOAD CSV FILE", 480);

  file_ = FileField::Over(model_, this);

  separators_ = new QComboBox(this);
  separators_->setObjectName(QString::number(ids::kCsvSeparator));
  separators_->setAccessibleName("Separator");
  for (std::size_t i = 0; i < contacts::ContactsImportDialogModel::SeparatorCount(); ++i)
    separators_->addItem(FromAnsi(model_.SeparatorText(i)));
  separators_->setCurrentIndex(static_cast<int>(model_.SelectedSeparator()));

  auto *form = new QFormLayout;
  form->addRow("File:", file_);
  form->addRow("Separator:", separators_);

  duplicates_ = new QCheckBox("Prevent duplicate mobile numbers.", this);
  duplicates_->setObjectName(QString::number(ids::kCsvNoDuplicates));
  duplicates_->setAccessibleName(duplicates_->text());
  // The long text runs over three lines.
  autoGroups_ = new QCheckBox(QString(kAutoGroupText)
                                  .replace(" do not exist.", "\ndo not exist.")
                                  .replace(" will override", "\nwill override"),
                              this);
  autoGroups_->setObjectName(QString::number(ids::kCsvAutoGroups));
  autoGroups_->setAccessibleName(kAutoGroupText);

  groups_ = new GroupCheckList(ids::kCsvGroups, "Group Membership", this);
  groups_->Fill(
      model_.Groups(), [](const store::GroupRow &g) { return g.Name; },
      [this](std::size_t i) { return model_.GroupChecked(i); });
  groups_->setMinimumHeight(120);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(form);
  layout->addSpacing(4);
  layout->addWidget(duplicates_);
  layout->addWidget(autoGroups_);
  layout->addSpacing(6);
  layout->addWidget(new QLabel("Group Membership:", this));
  layout->addWidget(groups_, 1);
  layout->addSpacing(8);
  ok_ = DialogParts::AddOkCancel(*this, *layout);

  connect(file_, &FileField::PathChanged, this, &ContactsImportDialog::UpdateOk);
  connect(separators_, &QComboBox::currentIndexChanged, this,
          [this](int index) { model_.SelectSeparator(static_cast<std::size_t>(index)); });
  connect(duplicates_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetPreventDuplicates(on); });
  connect(autoGroups_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetAutoCreateGroups(on); });
  connect(groups_, &GroupCheckList::CheckChanged, this, [this](int row, bool checked) {
    model_.SetGroupChecked(static_cast<std::size_t>(row), checked);
    UpdateOk();
  });
  UpdateOk();
}

void ContactsImportDialog::UpdateOk() {
  ok_->setEnabled(model_.OkEnabled());
}

void ContactsImportDialog::accept() {
  if (!model_.OkEnabled()) return;
  result_ = model_.Ok();
  QDialog::accept();
}

} // namespace ui
