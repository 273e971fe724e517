#pragma once
// Case and blanks of the ASCII keywords in other programs' files (vCard
// property names, desktop entries, settings).

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace contacts {

inline std::string LowerAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return text.size() >= lowerPrefix.size() && LowerAscii(text.substr(0, lowerPrefix.size())) ==
                                                  lowerPrefix;
}

// `text` without the leading and trailing characters of `blanks`.
inline std::string_view TrimText(std::string_view text, std::string_view blanks = " \t\r") {
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace contacts
