#pragma once
// What a contact dragged out of the member list carries, as plain text:
// "CID:%d|GID:%d" with the contact's row in the member list and the GID of
// the group it was dragged from. Text from a drop is untrusted: anything
// that does not begin with "CID:" or does not hold two numbers in this form
// is not a payload.

#include <optional>
#include <string>
#include <string_view>

namespace addresses {

struct DragPayload {
  int row = 0;
  int gid = 0;

  std::string Text() const;
  static std::optional<DragPayload> Parse(std::string_view text);
};

} // namespace addresses
