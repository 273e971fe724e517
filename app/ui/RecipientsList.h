#pragma once
// The recipients list of the SMS page: numbers typed in place, one per row,
// with an always-present empty entry row at the end. The in-place editor
// accepts only the digits "1234567890", at most 32 of them. A row emptied
// by the user goes away (except the entry row).

#include <QListWidget>

#include <string>
#include <vector>

namespace ui {

class RecipientsList : public QListWidget {
  Q_OBJECT
public:
  explicit RecipientsList(QWidget *parent = nullptr);

  // The numbers of the rows, in order (the empty entry row left out).
  std::vector<std::string> Numbers() const;
  // Replaces the rows (the entry row is added).
  void SetNumbers(const std::vector<std::string> &numbers);
  // Starts editing the entry row.
  void EditEntryRow();

  // Cut, copy or paste on the text of the selected row, or of the last row
  // when none is selected (the page's accelerators while the list has the
  // focus). False for another command.
  bool EditCommand(int id);

signals:
  void NumbersChanged();

private:
  void RowEdited(QListWidgetItem *item);
  QListWidgetItem *NewRow(const QString &text);
  void Tidy();

  int updating_ = 0;
};

} // namespace ui
