#pragma once
// The page's quick search. The typed text, lower-cased, is looked for as a
// substring of the lower-cased first 127 characters of each contact's Name,
// then Surname, then Mobile. A search starts after the contact found last,
// or at the first contact when the text differs from the last search's; at
// the end of the contacts it goes on from the first and stops when it comes
// back to where it started. When nothing matches, the next search starts at
// the first contact.

#include "store/SmsStore.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace addresses {

class ContactSearch {
public:
  static constexpr std::size_t kComparedChars = 127;

  // Position in `contacts` of the next match, or nothing. An empty text
  // finds nothing.
  std::optional<std::size_t> Find(std::string_view text,
                                  const std::vector<store::ContactRow> &contacts);

  static bool Matches(const store::ContactRow &contact, std::string_view lowerText);

private:
  std::string lastText_;
  std::size_t start_ = 0;
};

} // namespace addresses
