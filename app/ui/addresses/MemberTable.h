#pragma once
// The rows of the member list in the order shown. Clicking a column header
// sorts the rows by that column's text, byte by byte; clicking the same
// column again reverses the order. The order chosen stays when the rows are
// filled again (another group, a refresh). Rows that compare equal keep
// their order from the address book.

#include "AddressBook.h"

#include <string>
#include <vector>

namespace addresses {

enum class MemberColumn { Name = 0, Surname = 1, Mobile = 2 };
inline constexpr int kMemberColumns = 3;

class MemberTable {
public:
  void Fill(std::vector<MemberRow> rows);
  // A header click on column 0 to 2.
  void SortBy(int column);

  const std::vector<MemberRow> &Rows() const { return rows_; }
  int Count() const { return static_cast<int>(rows_.size()); }
  // CID of a row; 0 when out of range.
  int CidAt(int row) const;

  // -1 while the rows are in the address book's order.
  int SortColumn() const { return column_; }
  bool Descending() const { return descending_; }

  static const std::string &Text(const MemberRow &row, int column);

private:
  void Sort();

  std::vector<MemberRow> rows_;
  int column_ = -1;
  bool descending_ = false;
};

} // namespace addresses
