#include "CreditAmount.h"

#include <cmath>
#include <cstdlib>

namespace gatewaysim {

namespace {
constexpr double kLimit = 1e12;
}

std::optional<Millicredits> CreditAmount::FromCredits(double credits) {
  if (!std::isfinite(credits) || std::fabs(credits) > kLimit) return std::nullopt;
  return static_cast<Millicredits>(std::llround(credits * 1000.0));
}

std::optional<Millicredits> CreditAmount::Parse(std::string_view text) {
  if (text.empty() || text.size() > 32) return std::nullopt;
  std::string copy(text);
  char *end = nullptr;
  double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  for (char c : copy) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) return std::nullopt;
  }
  return FromCredits(value);
}

double CreditAmount::ToCredits(Millicredits amount) {
  return static_cast<double>(amount) / 1000.0;
}

std::string CreditAmount::Format(Millicredits amount) {
  bool negative = amount < 0;
  uint64_t magnitude =
      negative ? static_cast<uint64_t>(-(amount + 1)) + 1 : static_cast<uint64_t>(amount);
  std::string text = std::to_string(magnitude / 1000);
  unsigned fraction = static_cast<unsigned>(magnitude % 1000);
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + 1000).substr(1);
    while (!digits.empty() && digits.back() == '0')
      digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

} // namespace gatewaysim
