#include "ContactSearch.h"

#include <codepage/Codepage.h>

namespace addresses {

namespace {
bool Holds(std::string_view field, std::string_view lowerText) {
  const std::string lower = codepage::ToLower(field.substr(0, ContactSearch::kComparedChars));
  return lower.find(lowerText) != std::string::npos;
}
} // namespace

bool ContactSearch::Matches(const store::ContactRow &contact, std::string_view lowerText) {
  return Holds(contact.Name, lowerText) || Holds(contact.Surname, lowerText) ||
         Holds(contact.Mobile, lowerText);
}

std::optional<std::size_t> ContactSearch::Find(std::string_view text,
                                               const std::vector<store::ContactRow> &contacts) {
  if (text != lastText_) {
    lastText_ = std::string(text);
    start_ = 0;
  }
  const std::size_t count = contacts.size();
  if (text.empty() || count == 0) {
    start_ = 0;
    return std::nullopt;
  }
  const std::string lowerText = codepage::ToLower(text);
  const std::size_t first = start_ < count ? start_ : 0;
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t at = (first + step) % count;
    if (Matches(contacts[at], lowerText)) {
      start_ = at + 1;
      return at;
    }
  }
  start_ = 0;
  return std::nullopt;
}

} // namespace addresses
