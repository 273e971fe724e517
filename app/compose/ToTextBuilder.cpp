#include "compose/ToTextBuilder.h"

namespace compose {

void ToTextBuilder::AddToken(std::string_view token) {
  // A comma inside a number would split it into two destinations.
  std::string clean;
  clean.reserve(token.size());
  for (char c : token) {
    if (c != ',') {
      clean.push_back(c);
    }
  }
  if (clean.empty()) {
    return;
  }
  text_.push_back(',');
  text_.append(clean);
  ++count_;
}

void ToTextBuilder::AddTypedNumber(std::string_view number) {
  AddToken(number);
}

void ToTextBuilder::AddContact(int cid) {
  AddToken("A" + std::to_string(cid));
}

void ToTextBuilder::AddRecentNumber(std::string_view number) {
  AddToken(number);
}

void ToTextBuilder::AddOutlookNumber(std::string_view number) {
  AddToken(number);
}

} // namespace compose
