#pragma once
// The Outbox list's model: the order of the messages (OutboxOrder) and
// nothing else. Each cell is read from the store when the view asks for it,
// one row at a time under the message lock, so a long worker pass never
// holds the window for more than one row. A row read once is kept until
// control returns to the event loop, so a repaint reads each visible row
// once and the next repaint sees the store as it is then.
//
// Every change of the order happens here, on the user-interface thread: a
// rebuild resets the model, a header click or a re-sort by status moves the
// rows with a layout change, so the selection stays on its messages.

#include "OutboxOrder.h"

#include "store/MessageRow.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace store {
class SmsStore;
}

namespace ui {

class OutboxTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // Header texts (string ids) and widths in pixels, by column.
  static constexpr int kHeaderIds[OutboxOrder::kColumnCount] = {1408, 1409, 1410, 1423, 1411};
  static constexpr int kWidths[OutboxOrder::kColumnCount] = {110, 90, 70, 50, 350};
  // The date format (day/month/year hour:minute).
  static constexpr int kDateFormatId = 1033;

  explicit OutboxTableModel(store::SmsStore *store, QObject *parent = nullptr);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Re-reads the messages (a reset: the selection goes).
  void Rebuild();
  // Re-sorts when sorted by status (the rows keep their selection), and
  // repaints.
  void Resort();
  // A header click.
  void SortBy(int column);

  const OutboxOrder &Order() const { return order_; }
  int IdAt(int position) const { return order_.IdAt(position); }
  // The row at a list position, read from the store (or the current
  // repaint's copy); nothing when it cannot be read.
  std::optional<store::MessageRow> RowAt(int position) const;

  // The status name and date texts of a row.
  static QString StatusText(int status);
  static QString DateText(int time);

  // Rows read from the store so far (for the benchmark).
  long long StoreReads() const { return reads_; }

private:
  const std::optional<store::MessageRow> &Read(int position) const;
  // Puts a new order in place: a layout change when the number of rows is
  // unchanged (persistent indexes follow their messages), else a reset.
  void Apply(int column, bool descending, std::vector<int> ids);
  void MoveRows(const std::function<void()> &reorder);

  store::SmsStore *store_;
  OutboxOrder order_;
  mutable std::unordered_map<int, std::optional<store::MessageRow>> cache_;
  mutable bool clearQueued_ = false;
  mutable long long reads_ = 0;
};

} // namespace ui
