#include "contacts/UserDialogs.h"

namespace contacts {

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string &filter) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= filter.size()) {
    const std::size_t end = filter.find('\n', start);
    if (end == std::string::npos) {
      pieces.push_back(filter.substr(start));
      break;
    }
    pieces.push_back(filter.substr(start, end - start));
    start = end + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
    if (pieces[i].empty() || pieces[i + 1].empty()) {
      break;
    }
    pairs.emplace_back(pieces[i], pieces[i + 1]);
  }
  return pairs;
}

} // namespace contacts
