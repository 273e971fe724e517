#include "ContactDialog.h"

#include "DialogParts.h"
#include "GroupCheckList.h"
#include "UiText.h"

#include "addresses/AddressesIds.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

namespace ui {

namespace {

using Field = addresses::ContactForm::Field;

// The mobile number field takes digits only as the user types or pastes,
// while a stored number with other characters stays as it is. An edit is
// checked against the text the field held before it (the line edit has
// already applied the edit when it asks).
class MobileValidator : public QValidator {
public:
  MobileValidator(const QString &text, QObject *parent) : QValidator(parent), accepted_(text) {}
  State validate(QString &input, int &) const override {
    return addresses::MobileEditAllowed(ToAnsi(accepted_), ToAnsi(input)) ? Acceptable : Invalid;
  }
  // The field's text once an edit has been kept.
  void Accept(const QString &text) { accepted_ = text; }

private:
  QString accepted_;
};

struct FieldLayout {
  Field field;
  int id;
  const char *label;
  const char *accessibleName;
  bool required;
};

const FieldLayout kFields[] = {
    {Field::Name, ids::kContactName, "Name:", "Name (required)", true},
    {Field::Surname, ids::kContactSurname, "Surname:", "Surname", false},
    {Field::Title, ids::kContactTitle, "Title:", "Title", false},
    {Field::Custom, ids::kContactCustom, "Custom:", "Custom", false},
    {Field::Mobile, ids::kContactMobile, "Mobile No:", "Mobile No (required)", true},
};

QLabel *Label(const FieldLayout &entry, QWidget *parent) {
  QString text = entry.label;
  if (entry.required) text += " <span style=\"color:#DC2626;\">x</span>";
  auto *label = new QLabel(text, parent);
  label->setTextFormat(Qt::RichText);
  return label;
}

} // namespace

ContactDialog::ContactDialog(bool edit, addresses::ContactForm &form, QWidget *parent)
    : QDialog(parent), form_(form) {
  DialogParts::Prepare(*this, Text(edit ? 1089 : 1088), 560);

  auto *fieldsForm = new QFormLayout;
  fieldsForm->setLabelAlignment(Qt::AlignLeft);
  for (const FieldLayout &entry : kFields) {
    QLineEdit *line = DialogParts::Field(entry.id, entry.accessibleName,
                                         addresses::ContactForm::Width(entry.field), this);
    line->setText(FromAnsi(form_.Get(entry.field)));
    line->setMinimumWidth(entry.field == Field::Title ? 90 : 200);
    if (entry.field == Field::Title) line->setMaximumWidth(110);
    MobileValidator *digits = nullptr;
    if (entry.field == Field::Mobile) {
      digits = new MobileValidator(line->text(), line);
      line->setValidator(digits);
    }
    connect(line, &QLineEdit::textChanged, this, [this, entry, line, digits] {
      if (digits) digits->Accept(line->text());
      form_.Set(entry.field, DialogParts::FieldText(*line, addresses::ContactForm::Width(entry.field)));
      UpdateOk();
    });
    fields_[static_cast<int>(entry.field)] = line;
    fieldsForm->addRow(Label(entry, this), line);
  }

  groups_ = new GroupCheckList(ids::kContactGroups, "Group Membership", this);
  groups_->Fill(
      form_.Groups(), [](const addresses::GroupEntry &g) { return g.name; },
      [this](std::size_t i) { return form_.Checked(i); });
  connect(groups_, &GroupCheckList::CheckChanged, this, [this](int row, bool checked) {
    form_.SetChecked(static_cast<std::size_t>(row), checked);
    UpdateOk();
  });
  auto *groupsColumn = new QVBoxLayout;
  groupsColumn->addWidget(new QLabel("Group Membership:", this));
  groupsColumn->addWidget(groups_, 1);

  auto *columns = new QHBoxLayout;
  columns->addLayout(fieldsForm, 3);
  columns->addSpacing(14);
  columns->addLayout(groupsColumn, 2);

  auto *note = new QLabel("Fields marked with a 'x' are required.", this);
  note->setProperty("role", "muted");

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(columns);
  layout->addSpacing(6);
  layout->addWidget(note);
  layout->addSpacing(8);
  ok_ = DialogParts::AddOkCancel(*this, *layout);
  groups_->setMinimumHeight(150);
  UpdateOk();
  fields_[0]->setFocus();
}

QLineEdit *ContactDialog::Field(addresses::ContactForm::Field field) const {
  return fields_[static_cast<int>(field)];
}

void ContactDialog::UpdateOk() {
  ok_->setEnabled(form_.OkEnabled());
}

} // namespace ui
