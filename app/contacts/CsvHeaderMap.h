#pragma once
// The header line of a contacts import file and what each of its fields
// means. At most six fields are used; each is cut to 11 characters and
// compared without regard to case with "fname", "sname", "title", "custom",
// "mobile" and "group". A field that matches none of them means Name.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace contacts {

enum class ContactColumn { Name, Surname, Title, Custom, Mobile, Group };

// Widths of the contact fields in characters: an import cuts longer
// values, the contact and group dialogs take no more.
inline constexpr std::size_t kImportNameWidth = 32;
inline constexpr std::size_t kImportSurnameWidth = 32;
inline constexpr std::size_t kImportTitleWidth = 8;
inline constexpr std::size_t kImportCustomWidth = 32;
inline constexpr std::size_t kImportMobileWidth = 16;
inline constexpr std::size_t kImportGroupWidth = 21;

std::size_t ImportWidth(ContactColumn column);

// Splits a line at every occurrence of the separator; n separators give
// n + 1 fields (an empty line is one empty field). At most maxFields are
// returned.
std::vector<std::string_view> SplitFields(std::string_view line, char separator,
                                          std::size_t maxFields);

class CsvHeaderMap {
public:
  static constexpr std::size_t kMaxFields = 6;
  static constexpr std::size_t kNameCut = 11;

  static CsvHeaderMap Parse(std::string_view header, char separator);

  std::size_t FieldCount() const { return columns_.size(); }
  ContactColumn Column(std::size_t position) const { return columns_[position]; }
  bool HasMobile() const { return mobilePosition_ >= 0; }
  // Position of the field that fills Mobile (the last one, when the header
  // names it more than once), or -1.
  int MobilePosition() const { return mobilePosition_; }

private:
  std::vector<ContactColumn> columns_;
  int mobilePosition_ = -1;
};

} // namespace contacts
