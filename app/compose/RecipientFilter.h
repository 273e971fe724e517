#pragma once
// The input filter of numbers typed directly into the recipients list: only
// the digits "1234567890", at most 32 of them.

#include <cstddef>
#include <string>
#include <string_view>

namespace compose {

inline constexpr std::size_t kMaxTypedNumber = 32;

// The digits of the input, in order, cut to 32.
std::string FilterRecipientInput(std::string_view input);

// True when a typed character is accepted by the filter.
inline bool IsRecipientDigit(char c) {
  return c >= '0' && c <= '9';
}

} // namespace compose
