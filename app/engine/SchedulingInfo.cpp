#include "SchedulingInfo.h"

#include <climits>

namespace engine {

std::string SchedulingInfo::Encode() const {
  std::string out;
  for (int i = 0; i < kCount; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(values[i]);
  }
  return out;
}

namespace {

// atoi on a piece: leading blanks, an optional sign, digits; anything else
// ends the number. Out-of-range values saturate instead of overflowing.
int ParsePiece(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '-' || piece[i] == '+')) {
    negative = piece[i] == '-';
    ++i;
  }
  long long value = 0;
  while (i < piece.size() && piece[i] >= '0' && piece[i] <= '9') {
    value = value * 10 + (piece[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
    ++i;
  }
  return static_cast<int>(negative ? -value : value);
}

} // namespace

bool SchedulingInfo::Decode(std::string_view text) {
  values.fill(0);
  if (text.empty()) return false;
  int index = 0;
  std::size_t start = 0;
  while (index < kCount) {
    std::size_t comma = text.find(',', start);
    std::string_view piece = text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    values[index++] = ParsePiece(piece);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return true;
}

SchedulingInfo SchedulingInfo::Defaults() {
  SchedulingInfo info;
  info[OnceOnly] = 1;
  info[DailyEvery] = 1;
  info[MonthlyDay] = 1;
  return info;
}

} // namespace engine
