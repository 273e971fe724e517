#include "DragPayload.h"

#include <charconv>

namespace addresses {

namespace {
// Reads a decimal number at the front of `text` and drops it from there.
std::optional<int> TakeNumber(std::string_view &text) {
  int value = 0;
  const char *end = text.data() + text.size();
  auto [next, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || next == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(next - text.data()));
  return value;
}

bool TakePrefix(std::string_view &text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}
} // namespace

std::string DragPayload::Text() const {
  return "CID:" + std::to_string(row) + "|GID:" + std::to_string(gid);
}

std::optional<DragPayload> DragPayload::Parse(std::string_view text) {
  if (!TakePrefix(text, "CID:")) return std::nullopt;
  const std::optional<int> row = TakeNumber(text);
  if (!row || !TakePrefix(text, "|GID:")) return std::nullopt;
  const std::optional<int> gid = TakeNumber(text);
  if (!gid) return std::nullopt;
  // A terminating zero or line end may follow the payload.
  while (!text.empty() && (text.front() == '\0' || text.front() == '\r' || text.front() == '\n'))
    text.remove_prefix(1);
  if (!text.empty()) return std::nullopt;
  return DragPayload{*row, *gid};
}

} // namespace addresses
