#pragma once
// The text form of a recent-recipient record in the settings file: every byte
// as two letters "A".."P", the high four bits first.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

inline constexpr std::size_t kRecentRecordSize = 108;
using RecentRecord = std::array<std::uint8_t, kRecentRecordSize>;

// An empty recent slot: kind 3, the empty flag set, everything else zero.
RecentRecord EmptyRecentRecord();

// 216 letters.
std::string EncodeRecentRecord(const RecentRecord &record);
// The record, or nothing when the text is shorter than 216 letters or holds
// a letter outside "A".."P" among them (letters after the 216th are ignored).
std::optional<RecentRecord> DecodeRecentRecord(std::string_view text);

} // namespace shell
