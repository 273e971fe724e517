#include "MemberTable.h"

#include <algorithm>

namespace addresses {

void MemberTable::Fill(std::vector<MemberRow> rows) {
  rows_ = std::move(rows);
  Sort();
}

void MemberTable::SortBy(int column) {
  if (column < 0 || column >= kMemberColumns) return;
  descending_ = column == column_ ? !descending_ : false;
  column_ = column;
  Sort();
}

int MemberTable::CidAt(int row) const {
  return row >= 0 && row < Count() ? rows_[static_cast<std::size_t>(row)].cid : 0;
}

const std::string &MemberTable::Text(const MemberRow &row, int column) {
  switch (static_cast<MemberColumn>(column)) {
  case MemberColumn::Surname:
    return row.surname;
  case MemberColumn::Mobile:
    return row.mobile;
  case MemberColumn::Name:
    break;
  }
  return row.name;
}

void MemberTable::Sort() {
  if (column_ < 0) return;
  // std::string compares its bytes as unsigned char.
  const int column = column_;
  if (descending_) {
    std::stable_sort(rows_.begin(), rows_.end(), [column](const MemberRow &a, const MemberRow &b) {
      return Text(b, column) < Text(a, column);
    });
  } else {
    std::stable_sort(rows_.begin(), rows_.end(), [column](const MemberRow &a, const MemberRow &b) {
      return Text(a, column) < Text(b, column);
    });
  }
}

} // namespace addresses
