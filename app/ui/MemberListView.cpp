#include "MemberListView.h"

#include "ListLook.h"

#include "addresses/AddressesIds.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QMimeData>

#include <algorithm>

namespace ui {

MemberListView::MemberListView(QWidget *parent) : QTreeView(parent) {
  setObjectName(QString::number(ids::kAddrMemberList));
  setAccessibleName("Members of Group");
  setStyleSheet(ListLook::StyleSheet());
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
  header()->setSortIndicatorShown(true);
  header()->setSortIndicator(-1, Qt::AscendingOrder);
  header()->setStretchLastSection(true);
  connect(header(), &QHeaderView::sectionClicked, this, &MemberListView::HeaderClicked);
}

QList<int> MemberListView::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex &index : selectionModel()->selectedRows())
    rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

void MemberListView::SelectOnly(int row) {
  const QModelIndex index = model()->index(row, 0);
  if (!index.isValid()) return;
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
  scrollTo(index);
}

void MemberListView::contextMenuEvent(QContextMenuEvent *event) {
  // The view's events arrive in the viewport's coordinates.
  const QModelIndex index = indexAt(event->pos());
  emit MenuRequested(index.isValid() ? index.row() : -1, event->globalPos());
}

void MemberListView::startDrag(Qt::DropActions) {
  const QModelIndex index = currentIndex();
  if (!index.isValid() || !payload_) return;
  auto *data = new QMimeData;
  data->setText(payload_(index.row()));
  auto *drag = new QDrag(this);
  drag->setMimeData(data);
  // The drop target changes the store and refreshes the lists itself, so
  // nothing is removed here whatever the effect.
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

} // namespace ui
