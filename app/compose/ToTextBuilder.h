#pragma once
// Builds the To text of a message (the destination list of the store) from
// the page's four kinds of selection, in this order: numbers typed into the
// recipients list (empty rows skipped), "A<cid>" for every selected contact,
// the selected recent numbers, the selected Outlook numbers. Every token is
// preceded by a comma, so a non-empty list always begins with ",". Empty
// numbers are skipped and commas inside a number are dropped, so every token
// is one destination.

#include <string>
#include <string_view>
#include <vector>

namespace compose {

class ToTextBuilder {
public:
  void AddTypedNumber(std::string_view number);
  void AddContact(int cid);
  void AddRecentNumber(std::string_view number);
  void AddOutlookNumber(std::string_view number);

  // Number of tokens added (the recipient count).
  int Count() const { return count_; }
  const std::string &Text() const { return text_; }

private:
  void AddToken(std::string_view token);

  std::string text_;
  int count_ = 0;
};

} // namespace compose
