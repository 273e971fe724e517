#pragma once
// The four merge tags that insert a contact's fields into a message text
// (their texts come from the program's string table: 1029 first name, 1030
// surname, 1031 title, 1032 custom field).

#include "ContactSource.h"

#include <string>
#include <string_view>

namespace engine {

struct MergeTags {
  static constexpr int kFirstNameId = 1029;
  static constexpr int kSurnameId = 1030;
  static constexpr int kTitleId = 1031;
  static constexpr int kCustomId = 1032;

  std::string firstName = "<<FIRSTNAME>>";
  std::string surname = "<<SURNAME>>";
  std::string title = "<<TITLE>>";
  std::string custom = "<<CUSTOM>>";

  // True when the text holds any of the four tags (exact, case-sensitive).
  bool AnyIn(std::string_view text) const;

  // The text with every tag replaced by the contact's field, in one pass
  // from left to right: an inserted value is never searched again.
  std::string Merge(std::string_view text, const ContactFields &contact) const;
};

} // namespace engine
