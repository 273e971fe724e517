#include "MessageCharger.h"

namespace gatewaysim {

namespace {
bool IsEscaped(unsigned char c) {
  switch (c) {
  case 0x0C:
  case '^':
  case '{':
  case '}':
  case '\\':
  case '[':
  case '~':
  case ']':
  case '|':
  case 0x80:
    return true;
  default:
    return false;
  }
}

int PartsFor(size_t length, size_t single, size_t perPart) {
  if (length <= single) return 1;
  return static_cast<int>((length + perPart - 1) / perPart);
}
} // namespace

bool MessageCharger::IsHex(const std::string &text) {
  for (char c : text) {
    bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

int MessageCharger::WeightedLength(const std::string &text) {
  int length = 0;
  for (char c : text)
    length += IsEscaped(static_cast<unsigned char>(c)) ? 2 : 1;
  return length;
}

size_t MessageCharger::BinaryBytes(const std::string &text) {
  if (text.size() % 2 == 0 && IsHex(text)) return text.size() / 2;
  return text.size();
}

int MessageCharger::Parts(Coding coding, const std::string &text, const std::string &udh) {
  switch (coding) {
  case Coding::Text:
    if (udh.empty()) return PartsFor(static_cast<size_t>(WeightedLength(text)), 160, 153);
    return PartsFor(BinaryBytes(udh) + text.size(), 140, 140);
  case Coding::Unicode:
    if (udh.empty()) return PartsFor(text.size() / 4, 70, 67);
    return PartsFor(BinaryBytes(udh) + text.size() / 2, 140, 140);
  case Coding::Binary:
    return PartsFor(BinaryBytes(udh) + BinaryBytes(text), 140, 140);
  }
  return 1;
}

} // namespace gatewaysim
