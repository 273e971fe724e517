#pragma once
// "EXPORT CONTACTS": the file field with "Browse >>", "Export Selection" or
// "Export the following groups" with the check list of the groups, and
// "Export group association with each contact (may result in duplicate
// contacts)", over ContactsExportDialogModel. The group list and the
// association check box are enabled only while groups are exported; OK
// while a file is named. OK exports and closes the dialog.

#include "contacts/ContactsExportDialogModel.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace ui {

class FileField;
class GroupCheckList;

class ContactsExportDialog : public QDialog {
  Q_OBJECT
public:
  // The dialog starts on "Export Selection" when contacts are selected,
  // else on "Export the following groups".
  ContactsExportDialog(contacts::ContactsExportDialogModel &model, bool haveSelection,
                       QWidget *parent = nullptr);

  FileField *File() const { return file_; }
  QRadioButton *SelectionChoice() const { return selection_; }
  QRadioButton *GroupsChoice() const { return groupsChoice_; }
  GroupCheckList *Groups() const { return groups_; }
  QCheckBox *WithGroup() const { return withGroup_; }
  QPushButton *OkButton() const { return ok_; }

  void accept() override;

private:
  void Update();

  contacts::ContactsExportDialogModel &model_;
  FileField *file_;
  QRadioButton *selection_;
  QRadioButton *groupsChoice_;
  GroupCheckList *groups_;
  QCheckBox *withGroup_;
  QPushButton *ok_;
};

} // namespace ui
