#include "GroupCheckList.h"

#include "ListLook.h"
#include "UiText.h"

namespace ui {

GroupCheckList::GroupCheckList(int id, const QString &accessibleName, QWidget *parent)
    : QListWidget(parent) {
  setObjectName(QString::number(id));
  setAccessibleName(accessibleName);
  setStyleSheet(ListLook::StyleSheet());
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
    emit CheckChanged(row(item), item->checkState() == Qt::Checked);
  });
}

void GroupCheckList::SetGroups(const std::vector<std::string> &names) {
  QSignalBlocker quiet(this);
  clear();
  for (const std::string &name : names) {
    auto *item = new QListWidgetItem(FromAnsi(name), this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

void GroupCheckList::SetChecked(int row, bool checked) {
  if (QListWidgetItem *it = item(row)) it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool GroupCheckList::IsChecked(int row) const {
  const QListWidgetItem *it = item(row);
  return it && it->checkState() == Qt::Checked;
}

bool GroupCheckList::AnyChecked() const {
  for (int i = 0; i < count(); ++i)
    if (IsChecked(i)) return true;
  return false;
}

} // namespace ui
