#pragma once
// The Outbox list's order: list position -> message ID, one entry per
// message, and the column and direction it is sorted in. It holds no
// message data; the list reads each row from the store when it shows it.
//
// Sorting is ascending (numbers by value, texts by their bytes, case
// matters); choosing the sort column again turns the list around.

#include "store/MessageRow.h"

#include <vector>

namespace store {
class SmsStore;
}

namespace ui {

class OutboxOrder {
public:
  enum Column { kSent = 0, kRecipient = 1, kStatus = 2, kCharge = 3, kMessage = 4 };
  static constexpr int kColumnCount = 5;

  explicit OutboxOrder(store::SmsStore *store) : store_(store) {}

  // Every message ID sorted by a column, read under the message lock.
  std::vector<int> Read(int column, bool descending) const;
  void Assign(int column, bool descending, std::vector<int> ids);
  // Turns the list around (a second click on the sort column's header).
  void Reverse();

  int SortColumn() const { return column_; }
  bool Descending() const { return descending_; }
  int Size() const { return static_cast<int>(ids_.size()); }
  // The message ID at a list position, or -1 outside the list.
  int IdAt(int position) const;
  const std::vector<int> &Ids() const { return ids_; }

  static store::MessageOrder KeyOf(int column);

private:
  store::SmsStore *store_;
  std::vector<int> ids_;
  int column_ = kSent;
  bool descending_ = false;
};

} // namespace ui
