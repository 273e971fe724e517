#pragma once
// A check list of groups ("Group Membership:", the export's group choice):
// one checkable row per group, in the order given, with the group's name.

#include <QListWidget>

#include <string>
#include <vector>

namespace ui {

class GroupCheckList : public QListWidget {
  Q_OBJECT
public:
  GroupCheckList(int id, const QString &accessibleName, QWidget *parent = nullptr);

  // Names in Windows-1252; every row starts unchecked.
  void SetGroups(const std::vector<std::string> &names);
  // One row per entry of `rows`, named by name(row) and checked by
  // checked(index).
  template <class Rows, class Name, class Checked>
  void Fill(const Rows &rows, Name name, Checked checked) {
    std::vector<std::string> names;
    for (const auto &row : rows)
      names.push_back(name(row));
    SetGroups(names);
    for (int i = 0; i < count(); ++i)
      SetChecked(i, checked(static_cast<std::size_t>(i)));
  }
  void SetChecked(int row, bool checked);
  bool IsChecked(int row) const;
  bool AnyChecked() const;

signals:
  // A row's check changed (by the user or by SetChecked).
  void CheckChanged(int row, bool checked);
};

} // namespace ui
