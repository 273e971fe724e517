#include "DestinationResolver.h"

#include <climits>

namespace engine {

namespace {

// The decimal number at the start of `text` (atoi); 0 when there is none.
int LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

} // namespace

std::string DestinationResolver::ApplyPrefix(std::string_view number, std::string_view prefix) {
  if (prefix.empty() || number.empty() || number.front() != '0') return std::string(number);
  std::size_t firstNonZero = number.find_first_not_of('0');
  std::string result(prefix);
  if (firstNonZero != std::string_view::npos) result.append(number.substr(firstNonZero));
  return result;
}

int DestinationResolver::Resolve(std::string_view to, std::string_view prefix,
                                 ContactSource &contacts, DestinationList &out) {
  out.clear();
  if (!to.empty() && to.front() == ',') to.remove_prefix(1);
  int made = 0;
  while (!to.empty()) {
    std::size_t comma = to.find(',');
    std::string_view token = to.substr(0, comma);
    to = comma == std::string_view::npos ? std::string_view() : to.substr(comma + 1);
    if (token.empty()) continue;

    DestinationRecord record;
    std::string number;
    if (token.front() == 'A') {
      int cid = LeadingNumber(token.substr(1));
      std::optional<ContactFields> contact = contacts.FindContact(cid);
      if (!contact) continue;
      number = contact->mobile.substr(0, kMaxNumberChars);
      record.contactId = cid;
    } else {
      number = std::string(token.substr(0, kMaxNumberChars));
      record.contactId = DestinationRecord::kPlainNumber;
    }
    record.SetNumber(ApplyPrefix(number, prefix));
    record.SetToToken(token);
    record.errorCode = 0;
    out.push_back(record);
    ++made;
  }
  return made;
}

} // namespace engine
