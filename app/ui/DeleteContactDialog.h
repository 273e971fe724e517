#pragma once
// "Delete contact from ...": asked when a contact to be deleted belongs to
// more than one group. "Delete contact from:" with the choices "All groups"
// and "This group only" (the start), and the buttons "Delete" and "Cancel".

#include <QDialog>

class QRadioButton;

namespace ui {

class DeleteContactDialog : public QDialog {
  Q_OBJECT
public:
  explicit DeleteContactDialog(QWidget *parent = nullptr);

  bool FromAllGroups() const;
  QRadioButton *AllGroups() const { return all_; }
  QRadioButton *ThisGroupOnly() const { return thisGroup_; }

private:
  QRadioButton *all_;
  QRadioButton *thisGroup_;
};

} // namespace ui
