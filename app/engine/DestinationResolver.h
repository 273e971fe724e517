#pragma once
// Turns a message's destination list ("To": comma-separated numbers and "A"
// followed by a contact's CID, a leading comma allowed) into destination
// records, applying the international prefix rule.

#include "ContactSource.h"
#include "DestinationRecord.h"

#include <string>
#include <string_view>

namespace engine {

class DestinationResolver {
public:
  static constexpr std::size_t kMaxNumberChars = 16;

  // Replaces `out` with one record per destination that could be resolved
  // and returns their number. A contact token whose contact does not exist
  // is dropped; empty tokens are skipped.
  static int Resolve(std::string_view to, std::string_view prefix, ContactSource &contacts,
                     DestinationList &out);

  // The prefix rule: with a non-empty prefix, a number beginning with "0"
  // becomes the prefix followed by the number without its leading zeros.
  static std::string ApplyPrefix(std::string_view number, std::string_view prefix);
};

} // namespace engine
