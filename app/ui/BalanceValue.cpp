#include "BalanceValue.h"

#include "UiText.h"

#include <cctype>
#include <climits>

namespace ui {

std::optional<int> BalanceValue::ParseTenths(const std::string &text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long whole = 0;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    whole = whole * 10 + (text[i++] - '0');
    if (whole > INT_MAX / 10) return std::nullopt;
    ++digits;
  }
  int tenth = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      tenth = text[i] - '0';
      ++digits;
    }
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      ++i;
  }
  if (digits == 0) return std::nullopt;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  if (i != text.size()) return std::nullopt;
  long long tenths = whole * 10 + tenth;
  return static_cast<int>(negative ? -tenths : tenths);
}

QString BalanceValue::Label(int tenths, bool online) {
  return FormatText(1398, tenths / 10, tenths % 10 < 0 ? -(tenths % 10) : tenths % 10,
                    online ? "" : "?");
}

} // namespace ui
