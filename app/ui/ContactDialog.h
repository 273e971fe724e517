#pragma once
// The contact dialog: "ADD NEW MEMBER" for a new contact, "EDIT MEMBER
// DETAILS" for a stored one. Name, Surname, Title, Custom and Mobile No
// (digits only) with their widths, the "Group Membership:" check list, and
// OK enabled as ContactForm says.

#include "addresses/ContactForm.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace ui {

class GroupCheckList;

class ContactDialog : public QDialog {
  Q_OBJECT
public:
  // The form carries the groups, the checks and, when editing, the fields.
  ContactDialog(bool edit, addresses::ContactForm &form, QWidget *parent = nullptr);

  QLineEdit *Field(addresses::ContactForm::Field field) const;
  GroupCheckList *Groups() const { return groups_; }
  QPushButton *OkButton() const { return ok_; }

private:
  void UpdateOk();

  addresses::ContactForm &form_;
  QLineEdit *fields_[5] = {};
  GroupCheckList *groups_;
  QPushButton *ok_;
};

} // namespace ui
