#pragma once
// A telephone number as an address book writes it ("+44 (0)7700 900-123",
// "tel:+1-555-555-0001;ext=12") turned into the text that goes on the wire:
// an optional leading "+" and the digits. The destination list holds numbers
// of at most 16 characters and separates them by commas, so anything longer
// or without digits is not a number the program can send to.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace contacts {

class MobileNumber {
public:
  static constexpr std::size_t kMaxChars = 16;

  // The dialable form, or nothing when there is none. A "tel:" prefix and
  // everything from the first ";" (extension, phone context) are dropped;
  // blanks, "-", ".", "/" and brackets are separators; a "(0)" after a
  // country code is the trunk prefix and is dropped; the number ends at the
  // first other character (an extension "x12", a pause "p", a comma).
  static std::optional<std::string> Dialable(std::string_view written);
};

} // namespace contacts
