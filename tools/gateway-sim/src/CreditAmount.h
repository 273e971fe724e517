#pragma once
// Credits are kept as whole thousandths so that balances add up exactly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gatewaysim {

using Millicredits = int64_t;

class CreditAmount {
public:
  // Rounds to the nearest thousandth; nothing for NaN, infinities and
  // magnitudes beyond a trillion credits.
  static std::optional<Millicredits> FromCredits(double credits);
  // Decimal text ("12", "1.5", "-0.25"); nothing when malformed.
  static std::optional<Millicredits> Parse(std::string_view text);
  static double ToCredits(Millicredits amount);
  // Shortest decimal form: 100000 -> "100", 98500 -> "98.5", 250 -> "0.25".
  static std::string Format(Millicredits amount);
};

} // namespace gatewaysim
