#include "contacts/CsvHeaderMap.h"

namespace contacts {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

ContactColumn ColumnOf(std::string_view field) {
  std::string name(field.substr(0, CsvHeaderMap::kNameCut));
  for (char &c : name) {
    c = LowerAscii(c);
  }
  if (name == "fname") return ContactColumn::Name;
  if (name == "sname") return ContactColumn::Surname;
  if (name == "title") return ContactColumn::Title;
  if (name == "custom") return ContactColumn::Custom;
  if (name == "mobile") return ContactColumn::Mobile;
  if (name == "group") return ContactColumn::Group;
  return ContactColumn::Name;
}

} // namespace

std::size_t ImportWidth(ContactColumn column) {
  switch (column) {
  case ContactColumn::Name:
    return kImportNameWidth;
  case ContactColumn::Surname:
    return kImportSurnameWidth;
  case ContactColumn::Title:
    return kImportTitleWidth;
  case ContactColumn::Custom:
    return kImportCustomWidth;
  case ContactColumn::Mobile:
    return kImportMobileWidth;
  case ContactColumn::Group:
    return kImportGroupWidth;
  }
  return 0;
}

std::vector<std::string_view> SplitFields(std::string_view line, char separator,
                                          std::size_t maxFields) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() < maxFields) {
    const std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) {
      fields.push_back(line.substr(start));
      break;
    }
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

CsvHeaderMap CsvHeaderMap::Parse(std::string_view header, char separator) {
  CsvHeaderMap map;
  for (std::string_view field : SplitFields(header, separator, kMaxFields)) {
    const ContactColumn column = ColumnOf(field);
    if (column == ContactColumn::Mobile) {
      map.mobilePosition_ = static_cast<int>(map.columns_.size());
    }
    map.columns_.push_back(column);
  }
  return map;
}

} // namespace contacts
