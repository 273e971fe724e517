#include "ApiMsgIdParser.h"

namespace engine {

int ApiMsgIdParser::Parse(std::string_view apiMsgId, std::vector<ApiIdEntry> &out) {
  out.clear();
  if (apiMsgId.empty()) return 0;
  // The first character is the separator in front of the first entry.
  std::size_t pos = 1;
  while (pos <= apiMsgId.size()) {
    std::size_t comma = apiMsgId.find(',', pos);
    std::size_t end = comma == std::string_view::npos ? apiMsgId.size() : comma;
    std::string_view piece = apiMsgId.substr(pos, end - pos);
    if (piece.substr(0, 4) == "ID: ") {
      std::string_view rest = piece.substr(4);
      std::size_t bar = rest.find('|');
      std::string_view id = rest.substr(0, bar);
      ApiIdEntry entry;
      CopyBounded(entry.apiMsgId, id.substr(0, ApiIdEntry::kIdChars));
      if (bar != std::string_view::npos) CopyBounded(entry.number, rest.substr(bar + 1));
      entry.text = std::string(apiMsgId.substr(pos - 1, end - (pos - 1)));
      out.push_back(std::move(entry));
    }
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  return static_cast<int>(out.size());
}

std::string ApiMsgIdParser::Remove(std::string_view apiMsgId, std::string_view entryText) {
  std::string result(apiMsgId);
  if (entryText.empty()) return result;
  // Only whole entries go: an occurrence must end where the next entry (or
  // the text) begins, so ",ID: x" never cuts into ",ID: x|27...".
  std::size_t from = 0;
  std::size_t at;
  while ((at = result.find(entryText, from)) != std::string::npos) {
    std::size_t after = at + entryText.size();
    if (after == result.size() || result[after] == ',')
      result.erase(at, entryText.size());
    else
      from = at + 1;
  }
  return result;
}

} // namespace engine
