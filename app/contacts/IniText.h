#pragma once
// The "[section]" and "key=value" text of profiles.ini, desktop entries,
// mimeapps.list and khard.conf. A header of n brackets ("[[book]]") is a
// section at depth n. Lines starting with "#" or ";" are comments; keys and
// values are trimmed; order is kept.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace contacts {

struct IniSection {
  std::string name;
  int depth = 1;
  std::vector<std::pair<std::string, std::string>> entries;

  // The value of the first entry named `key` (exact case); empty when none.
  std::string Value(std::string_view key) const;
  bool Has(std::string_view key) const;
};

class IniText {
public:
  static std::vector<IniSection> Parse(std::string_view text);
};

} // namespace contacts
