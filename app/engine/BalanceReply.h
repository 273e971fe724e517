#pragma once
// Reads the balance that QueryBalance returns (the gateway's reply after
// "Credit: ", such as "42.5").

#include <optional>
#include <string_view>

namespace engine {

class BalanceReply {
public:
  // The balance in credits; nothing when the text does not begin with a
  // number (leading blanks aside).
  static std::optional<double> Parse(std::string_view text);
};

} // namespace engine
