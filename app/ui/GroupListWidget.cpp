#include "GroupListWidget.h"

#include "ListLook.h"

#include "addresses/AddressesIds.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

namespace ui {

GroupListWidget::GroupListWidget(QWidget *parent) : QListWidget(parent) {
  setObjectName(QString::number(ids::kAddrGroupList));
  setAccessibleName("Groups");
  setStyleSheet(ListLook::StyleSheet());
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

QList<int> GroupListWidget::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex &index : selectionModel()->selectedIndexes())
    rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

void GroupListWidget::contextMenuEvent(QContextMenuEvent *event) {
  // The view's events arrive in the viewport's coordinates.
  const QModelIndex index = indexAt(event->pos());
  emit MenuRequested(index.isValid() ? index.row() : -1, event->globalPos());
}

int GroupListWidget::DropRow(const QMimeData *data, QPoint pos) const {
  if (!data || !data->hasText() || !data->text().startsWith("CID:")) return -1;
  const QModelIndex index = indexAt(pos);
  return index.isValid() ? index.row() : -1;
}

void GroupListWidget::dragEnterEvent(QDragEnterEvent *event) {
  if (event->mimeData() && event->mimeData()->hasText() &&
      event->mimeData()->text().startsWith("CID:"))
    event->acceptProposedAction();
  else
    event->ignore();
}

void GroupListWidget::dragMoveEvent(QDragMoveEvent *event) {
  if (DropRow(event->mimeData(), event->position().toPoint()) < 0) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void GroupListWidget::dropEvent(QDropEvent *event) {
  const int row = DropRow(event->mimeData(), event->position().toPoint());
  const Qt::DropAction action = event->dropAction();
  if (row < 0 || (action != Qt::CopyAction && action != Qt::MoveAction) || !drop_ ||
      !drop_(event->mimeData()->text(), row, action == Qt::CopyAction)) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

} // namespace ui
