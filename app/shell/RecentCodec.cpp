#include "shell/RecentCodec.h"

namespace shell {

RecentRecord EmptyRecentRecord() {
  RecentRecord record{};
  record[0] = 3; // kind: recent recipient
  record[1] = 1; // empty slot
  return record;
}

std::string EncodeRecentRecord(const RecentRecord &record) {
  std::string text;
  text.reserve(record.size() * 2);
  for (std::uint8_t byte : record) {
    text.push_back(static_cast<char>('A' + (byte >> 4)));
    text.push_back(static_cast<char>('A' + (byte & 0x0F)));
  }
  return text;
}

std::optional<RecentRecord> DecodeRecentRecord(std::string_view text) {
  if (text.size() < kRecentRecordSize * 2) return std::nullopt;
  RecentRecord record{};
  for (std::size_t i = 0; i < kRecentRecordSize; ++i) {
    const char high = text[2 * i];
    const char low = text[2 * i + 1];
    if (high < 'A' || high > 'P' || low < 'A' || low > 'P') return std::nullopt;
    record[i] = static_cast<std::uint8_t>((high - 'A') << 4 | (low - 'A'));
  }
  return record;
}

} // namespace shell
