#pragma once
// The destination list of a message (`To`): comma-separated tokens, each a
// mobile number or "A" followed by the decimal CID of a contact; one leading
// comma is allowed and skipped.

#include <optional>
#include <string_view>
#include <vector>

namespace store {

class DestinationList {
public:
  // The tokens of a list, in order. An empty list (or a lone comma) has no
  // tokens; empty tokens between commas are kept.
  static std::vector<std::string_view> Split(std::string_view to);
  // The CID of a contact token ("A12" -> 12): the decimal digits after the
  // "A" (stopping at the first non-digit, 0 when there are none); nothing
  // when the token does not start with "A".
  static std::optional<int> ContactId(std::string_view token);
};

} // namespace store
