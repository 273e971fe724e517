#pragma once
// "UPLOAD CSV FILE": the file field with "Browse >>", the separator list,
// "Prevent duplicate mobile numbers.", the automatic group check box and
// the "Group Membership:" check list, over ContactsImportDialogModel. OK is
// enabled while a file is named and a group is checked; it imports and
// shows the counts, then the dialog closes.

#include "contacts/ContactsImportDialogModel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace ui {

class FileField;
class GroupCheckList;

class ContactsImportDialog : public QDialog {
  Q_OBJECT
public:
  ContactsImportDialog(contacts::ContactsImportDialogModel &model, QWidget *parent = nullptr);

  FileField *File() const { return file_; }
  QComboBox *Separators() const { return separators_; }
  QCheckBox *PreventDuplicates() const { return duplicates_; }
  QCheckBox *AutoCreateGroups() const { return autoGroups_; }
  GroupCheckList *Groups() const { return groups_; }
  QPushButton *OkButton() const { return ok_; }
  // The last import's counts (after OK).
  const contacts::ImportResult &Result() const { return result_; }

  void accept() override;

private:
  void UpdateOk();

  contacts::ContactsImportDialogModel &model_;
  contacts::ImportResult result_;
  FileField *file_;
  QComboBox *separators_;
  QCheckBox *duplicates_;
  QCheckBox *autoGroups_;
  GroupCheckList *groups_;
  QPushButton *ok_;
};

} // namespace ui
