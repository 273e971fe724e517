#pragma once
// The scrambled form of an authentication body ("string=" followed by hex):
// every byte of the body combined by exclusive or with the key "PelmaTorvi",
// used cyclically, written as two lower-case hexadecimal digits.

#include <optional>
#include <string>
#include <string_view>

namespace gatewaysim {

class AuthScrambler {
public:
  static constexpr std::string_view kKey = "PelmaTorvi";

  static std::string Scramble(std::string_view body);
  // The plain body, or nothing when `hex` is not an even run of hex digits.
  // Upper-case digits are accepted too.
  static std::optional<std::string> Unscramble(std::string_view hex);
};

} // namespace gatewaysim
