#pragma once
// The group dialog: "ADD NEW GROUP" for a new group, "EDIT GROUP NAME" to
// rename one. One field, "Group Name:", of at most 21 characters; OK is
// enabled only while the name holds a character other than leading blanks.

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace ui {

class GroupDialog : public QDialog {
  Q_OBJECT
public:
  // name: the current name when renaming (Windows-1252), else empty.
  GroupDialog(bool rename, const std::string &name, QWidget *parent = nullptr);

  // The typed name in Windows-1252, at most 21 bytes.
  std::string Name() const;
  QLineEdit *NameField() const { return name_; }
  QPushButton *OkButton() const { return ok_; }

private:
  void UpdateOk();

  QLineEdit *name_;
  QPushButton *ok_;
};

} // namespace ui
