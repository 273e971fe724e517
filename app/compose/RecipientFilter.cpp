#include "compose/RecipientFilter.h"

namespace compose {

std::string FilterRecipientInput(std::string_view input) {
  std::string digits;
  for (char c : input) {
    if (digits.size() >= kMaxTypedNumber) {
      break;
    }
    if (IsRecipientDigit(c)) {
      digits.push_back(c);
    }
  }
  return digits;
}

} // namespace compose
