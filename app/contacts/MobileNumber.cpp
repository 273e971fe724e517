#include "contacts/MobileNumber.h"

#include "contacts/AsciiText.h"

namespace contacts {

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '-' || c == '.' || c == '/' || c == '(' || c == ')';
}

} // namespace

std::optional<std::string> MobileNumber::Dialable(std::string_view written) {
  while (!written.empty() && (written.front() == ' ' || written.front() == '\t'))
    written.remove_prefix(1);
  if (StartsWithNoCase(written, "tel:")) written.remove_prefix(4);
  written = written.substr(0, written.find(';'));

  std::string number;
  bool digits = false;
  for (std::size_t i = 0; i < written.size(); ++i) {
    char c = written[i];
    if (c >= '0' && c <= '9') {
      number.push_back(c);
      digits = true;
    } else if (c == '+' && number.empty()) {
      number.push_back(c);
    } else if (c == '(' && number.size() > 1 && number.front() == '+' &&
               written.substr(i, 3) == "(0)") {
      i += 2;
    } else if (IsSeparator(c)) {
    } else if (static_cast<unsigned char>(c) == 0xC2 && i + 1 < written.size() &&
               static_cast<unsigned char>(written[i + 1]) == 0xA0) {
      ++i; // a no-break space in UTF-8
    } else {
      break;
    }
    if (number.size() > kMaxChars) return std::nullopt;
  }
  if (!digits) return std::nullopt;
  return number;
}

} // namespace contacts
