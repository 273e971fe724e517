#include "OutboxOrder.h"

#include "store/SmsStore.h"

#include <algorithm>
#include <mutex>

namespace ui {

store::MessageOrder OutboxOrder::KeyOf(int column) {
  switch (column) {
  case kRecipient:
    return store::MessageOrder::ToInfo;
  case kStatus:
    return store::MessageOrder::Stat;
  case kCharge:
    return store::MessageOrder::Charge;
  case kMessage:
    return store::MessageOrder::Msg;
  default:
    return store::MessageOrder::Time;
  }
}

std::vector<int> OutboxOrder::Read(int column, bool descending) const {
  if (!store_) return {};
  std::vector<int> ids;
  {
    std::lock_guard table(store_->MessageLock());
    ids = store_->MessageIdsBy(KeyOf(column));
  }
  if (descending) std::reverse(ids.begin(), ids.end());
  return ids;
}

void OutboxOrder::Assign(int column, bool descending, std::vector<int> ids) {
  column_ = column;
  descending_ = descending;
  ids_ = std::move(ids);
}

void OutboxOrder::Reverse() {
  descending_ = !descending_;
  std::reverse(ids_.begin(), ids_.end());
}

int OutboxOrder::IdAt(int position) const {
  if (position < 0 || position >= Size()) return -1;
  return ids_[static_cast<std::size_t>(position)];
}

} // namespace ui
