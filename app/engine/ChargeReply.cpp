#include "ChargeReply.h"

#include <cctype>
#include <climits>

namespace engine {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

} // namespace

ChargeReply ChargeReply::Parse(std::string_view reply) {
  ChargeReply result;
  std::string lower(Trim(reply));
  for (char &c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view text(lower);

  std::size_t at = text.find("status:");
  if (at != std::string_view::npos) {
    result.hasStatus = true;
    std::string_view rest = text.substr(at + 7);
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i]))
      ++i;
    bool negative = false;
    if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) negative = rest[i++] == '-';
    long long value = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
      value = value * 10 + (rest[i] - '0');
      if (value > INT_MAX) {
        value = INT_MAX;
        break;
      }
    }
    result.status = static_cast<int>(negative ? -value : value);
  }

  at = text.find("charge:");
  if (at != std::string_view::npos) {
    std::string_view rest = Trim(text.substr(at + 7));
    std::size_t space = rest.find(' ');
    result.charge = std::string(rest.substr(0, space));
  }
  return result;
}

} // namespace engine
