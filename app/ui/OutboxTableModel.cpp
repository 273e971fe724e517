#include "OutboxTableModel.h"

#include "StatusIcons.h"
#include "UiText.h"

#include "shell/NameTables.h"
#include "store/SmsStore.h"

#include <QMetaObject>

#include <ctime>
#include <mutex>

namespace ui {

namespace {

// A cell shows one line: line breaks of a message become blanks.
QString OneLine(const std::string &text) {
  QString line = FromAnsi(text);
  for (QChar &c : line)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return line;
}

} // namespace

OutboxTableModel::OutboxTableModel(store::SmsStore *store, QObject *parent)
    : QAbstractTableModel(parent), store_(store), order_(store) {}

int OutboxTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : order_.Size();
}

int OutboxTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : OutboxOrder::kColumnCount;
}

QString OutboxTableModel::StatusText(int status) {
  const char *name = Names().StatusName(status);
  return name ? FromAnsi(name) : QStringLiteral("?");
}

QString OutboxTableModel::DateText(int time) {
  std::tm local{};
  const std::time_t when = time;
  if (!::localtime_r(&when, &local)) return QStringLiteral("?");
  return FormatText(kDateFormatId, local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                    local.tm_hour, local.tm_min);
}

const std::optional<store::MessageRow> &OutboxTableModel::Read(int position) const {
  static const std::optional<store::MessageRow> kNone;
  const int id = order_.IdAt(position);
  if (id < 0 || !store_) return kNone;
  auto it = cache_.find(id);
  if (it != cache_.end()) return it->second;
  std::optional<store::MessageRow> row;
  {
    std::lock_guard table(store_->MessageLock());
    row = store_->FindMessage(id);
  }
  ++reads_;
  if (!clearQueued_) {
    clearQueued_ = true;
    QMetaObject::invokeMethod(
        const_cast<OutboxTableModel *>(this),
        [this] {
          cache_.clear();
          clearQueued_ = false;
        },
        Qt::QueuedConnection);
  }
  return cache_.emplace(id, std::move(row)).first->second;
}

std::optional<store::MessageRow> OutboxTableModel::RowAt(int position) const {
  return Read(position);
}

QVariant OutboxTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= order_.Size()) return {};
  const int column = index.column();
  switch (role) {
  case Qt::DisplayRole:
  case Qt::AccessibleTextRole: {
    const std::optional<store::MessageRow> &row = Read(index.row());
    if (!row) return QStringLiteral("?");
    switch (column) {
    case OutboxOrder::kSent:
      return DateText(row->Time);
    case OutboxOrder::kRecipient:
      return FromAnsi(row->ToInfo);
    case OutboxOrder::kStatus:
      return StatusText(row->Stat);
    case OutboxOrder::kCharge:
      return FromAnsi(row->Charge);
    case OutboxOrder::kMessage:
      return OneLine(row->Msg);
    default:
      return {};
    }
  }
  case Qt::DecorationRole: {
    if (column != OutboxOrder::kSent) return {};
    const std::optional<store::MessageRow> &row = Read(index.row());
    return StatusIcons::Icon(row ? row->Stat : store::StatProcessing);
  }
  case Qt::ToolTipRole: {
    const std::optional<store::MessageRow> &row = Read(index.row());
    if (!row) return {};
    if (column == OutboxOrder::kStatus && row->Stat >= 0 &&
        row->Stat < shell::NameTables::kStatusCount)
      return Text(shell::NameTables::kStatusDescriptionBase + row->Stat);
    if (column == OutboxOrder::kMessage) return FromAnsi(row->Msg);
    return {};
  }
  default:
    return {};
  }
}

QVariant OutboxTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= OutboxOrder::kColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return Text(kHeaderIds[section]);
  return {};
}

void OutboxTableModel::Rebuild() {
  std::vector<int> ids = order_.Read(order_.SortColumn(), order_.Descending());
  beginResetModel();
  cache_.clear();
  order_.Assign(order_.SortColumn(), order_.Descending(), std::move(ids));
  endResetModel();
}

void OutboxTableModel::Resort() {
  if (order_.SortColumn() == OutboxOrder::kStatus) {
    Apply(order_.SortColumn(), order_.Descending(),
          order_.Read(order_.SortColumn(), order_.Descending()));
  } else {
    cache_.clear();
  }
  // Statuses changed: the visible rows are read again.
  if (order_.Size() > 0)
    emit dataChanged(index(0, 0), index(order_.Size() - 1, OutboxOrder::kColumnCount - 1));
}

void OutboxTableModel::SortBy(int column) {
  if (column < 0 || column >= OutboxOrder::kColumnCount) return;
  if (column == order_.SortColumn()) {
    MoveRows([this] { order_.Reverse(); });
    return;
  }
  Apply(column, false, order_.Read(column, false));
}

void OutboxTableModel::Apply(int column, bool descending, std::vector<int> ids) {
  if (static_cast<int>(ids.size()) != order_.Size()) {
    beginResetModel();
    cache_.clear();
    order_.Assign(column, descending, std::move(ids));
    endResetModel();
    return;
  }
  MoveRows([&] { order_.Assign(column, descending, std::move(ids)); });
}

void OutboxTableModel::MoveRows(const std::function<void()> &reorder) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList from = persistentIndexList();
  std::vector<int> fromIds;
  fromIds.reserve(static_cast<std::size_t>(from.size()));
  for (const QModelIndex &i : from)
    fromIds.push_back(order_.IdAt(i.row()));
  reorder();
  cache_.clear();
  if (!from.isEmpty()) {
    std::unordered_map<int, int> positions;
    positions.reserve(order_.Ids().size());
    for (int p = 0; p < order_.Size(); ++p)
      positions.emplace(order_.IdAt(p), p);
    QModelIndexList to;
    to.reserve(from.size());
    for (qsizetype i = 0; i < from.size(); ++i) {
      auto it = positions.find(fromIds[static_cast<std::size_t>(i)]);
      to.append(it == positions.end() ? QModelIndex() : index(it->second, from[i].column()));
    }
    changePersistentIndexList(from, to);
  }
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace ui
