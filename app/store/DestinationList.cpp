#include "store/DestinationList.h"

#include <climits>

namespace store {

std::vector<std::string_view> DestinationList::Split(std::string_view to) {
  std::vector<std::string_view> tokens;
  if (!to.empty() && to.front() == ',') to.remove_prefix(1);
  if (to.empty()) return tokens;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = to.find(',', start);
    if (comma == std::string_view::npos) {
      tokens.push_back(to.substr(start));
      break;
    }
    tokens.push_back(to.substr(start, comma - start));
    start = comma + 1;
    if (start >= to.size()) break; // a trailing comma ends the list
  }
  return tokens;
}

std::optional<int> DestinationList::ContactId(std::string_view token) {
  if (token.empty() || token.front() != 'A') return std::nullopt;
  long long value = 0;
  for (std::size_t i = 1; i < token.size(); ++i) {
    char c = token[i];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return INT_MAX; // no contact has such an id
  }
  return static_cast<int>(value);
}

} // namespace store
