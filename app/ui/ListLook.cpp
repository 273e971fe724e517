#include "ListLook.h"

namespace ui::ListLook {

QString StyleSheet() {
  return QStringLiteral(R"(
QListView, QTreeView {
  border: 1px solid #CBD5E1; border-radius: 6px; background: #FFFFFF; color: #1E293B;
  selection-background-color: #2563EB; selection-color: #FFFFFF; outline: 0;
}
QListView:focus, QTreeView:focus { border: 1px solid #2563EB; }
QListView:disabled, QTreeView:disabled { color: #94A3B8; background: #F8FAFC; }
QListView::item, QListView::item:selected, QListView::item:selected:!active {
  padding: 3px 4px; border: none;
}
QTreeView::item, QTreeView::item:selected, QTreeView::item:selected:!active {
  padding: 2px 2px; border: none;
}
QListView::item:selected, QTreeView::item:selected { background: #2563EB; color: #FFFFFF; }
QListView::item:selected:!active, QTreeView::item:selected:!active {
  background: #DBEAFE; color: #1E293B;
}
QHeaderView::section {
  background: #F1F5F9; color: #334155; border: none; border-right: 1px solid #E2E8F0;
  border-bottom: 1px solid #CBD5E1; padding: 3px 6px; font-weight: 600;
}
QHeaderView { border-top-left-radius: 6px; border-top-right-radius: 6px; }
)");
}

} // namespace ui::ListLook
