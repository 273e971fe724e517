#pragma once
// "EXPORT OUTBOX": the file field with "Browse >>", the choice between the
// selected and all outbox items, OK (enabled only while the file field is
// not empty) and Cancel. A thin view over OutboxExportDialogModel, which
// writes the file and tells the user how it went.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace contacts {
class OutboxExportDialogModel;
}

namespace ui {

class OutboxExportDialog : public QDialog {
  Q_OBJECT
public:
  OutboxExportDialog(contacts::OutboxExportDialogModel &model, QWidget *parent = nullptr);

  QLineEdit *FileField() const { return file_; }
  QRadioButton *SelectedChoice() const { return selected_; }
  QRadioButton *AllChoice() const { return all_; }
  QPushButton *OkButton() const { return ok_; }

private:
  void Browse();
  void FileEdited();
  void Export();

  contacts::OutboxExportDialogModel &model_;
  QLineEdit *file_;
  QRadioButton *selected_;
  QRadioButton *all_;
  QPushButton *ok_;
};

} // namespace ui
