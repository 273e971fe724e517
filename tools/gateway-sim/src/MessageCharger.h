#pragma once
// How many parts a message takes, which sets its charge.
//   text:    160 characters in one part, 153 per part beyond that; the
//            characters the GSM alphabet sends as escapes (form feed, ^ { }
//            backslash [ ~ ] | and the euro sign 0x80) count twice;
//   Unicode: the text is hex of UTF-16 (4 digits per character): 70 in one
//            part, 67 per part beyond;
//   binary:  140 bytes per part (hex text counts one byte per two digits,
//            the user data header included).

#include <string>

namespace gatewaysim {

class MessageCharger {
public:
  enum class Coding { Text, Unicode, Binary };

  static int WeightedLength(const std::string &text);
  static int Parts(Coding coding, const std::string &text, const std::string &udh);
  // Bytes of a binary payload: half the digits of a hex text, else its length.
  static size_t BinaryBytes(const std::string &text);
  static bool IsHex(const std::string &text);
};

} // namespace gatewaysim
