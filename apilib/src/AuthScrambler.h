// The scrambled form of an authentication body: each byte combined by
// exclusive or with the key "PelmaTorvi" (used cyclically from its first
// character) and written as two lowercase hexadecimal digits.
#ifndef PARLINK_SRC_AUTHSCRAMBLER_H
#define PARLINK_SRC_AUTHSCRAMBLER_H

#include <string>
#include <string_view>

namespace parlink {

inline constexpr std::string_view kAuthScrambleKey = "PelmaTorvi";

std::string ScrambleAuthBody(std::string_view body);

} // namespace parlink

#endif
