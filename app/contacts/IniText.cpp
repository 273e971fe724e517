#include "contacts/IniText.h"

#include "contacts/AsciiText.h"

namespace contacts {

std::string IniSection::Value(std::string_view key) const {
  for (const auto &[k, v] : entries)
    if (k == key) return v;
  return {};
}

bool IniSection::Has(std::string_view key) const {
  for (const auto &entry : entries)
    if (entry.first == key) return true;
  return false;
}

std::vector<IniSection> IniText::Parse(std::string_view text) {
  std::vector<IniSection> sections;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = TrimText(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      int depth = 0;
      while (!line.empty() && line.front() == '[') {
        ++depth;
        line.remove_prefix(1);
      }
      while (!line.empty() && line.back() == ']')
        line.remove_suffix(1);
      sections.push_back({std::string(TrimText(line)), depth, {}});
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || sections.empty()) continue;
    sections.back().entries.emplace_back(std::string(TrimText(line.substr(0, eq))),
                                         std::string(TrimText(line.substr(eq + 1))));
  }
  return sections;
}

} // namespace contacts
