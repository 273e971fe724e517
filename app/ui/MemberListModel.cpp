#include "MemberListModel.h"

#include "UiText.h"

namespace ui {

MemberListModel::MemberListModel(const addresses::MemberTable &table, QObject *parent)
    : QAbstractTableModel(parent), table_(table) {}

void MemberListModel::Reset(const std::function<void()> &change) {
  beginResetModel();
  change();
  endResetModel();
}

int MemberListModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : table_.Count();
}

int MemberListModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : addresses::kMemberColumns;
}

QVariant MemberListModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= table_.Count()) return {};
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  const addresses::MemberRow &row = table_.Rows()[static_cast<std::size_t>(index.row())];
  return FromAnsi(addresses::MemberTable::Text(row, index.column()));
}

QVariant MemberListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= addresses::kMemberColumns) return {};
  return Text(1168 + section);
}

Qt::ItemFlags MemberListModel::flags(const QModelIndex &index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

} // namespace ui
