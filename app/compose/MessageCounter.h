#pragma once
// The length counter of the SMS page: how much of a text the current type
// allows, its counted length, its number of parts and the counter label.
//
// Plain types count the weighted length (CharWeights); a Unicode message
// (type 2) counts characters, because every character travels as one 16-bit
// unit and none of them needs an escape. A text longer than the longest
// allowed is cut at the first character that would go beyond it. Content of
// the binary types (3 to 8, hexadecimal text) is never cut between the two
// digits of a byte.

#include "compose/CharWeights.h"
#include "compose/LengthRules.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace compose {

struct CountResult {
  std::size_t keep = 0; // bytes of the text that may stay
  int length = 0;       // counted length of those bytes
  int parts = 1;        // messages needed
  int editorLimit = 0;  // most characters the editor accepts
  bool cut = false;     // true when keep is shorter than the text
};

class MessageCounter {
public:
  explicit MessageCounter(const CharWeights &weights = CharWeights::Default())
      : weights_(weights) {}

  CountResult Count(std::string_view text, int type, bool spanSms) const;

  // The figures of a text if it were sent as a plain (160/153) message and
  // as a Unicode (70/63) message, uncut.
  int PlainParts(std::string_view text) const;
  int UnicodeParts(std::string_view text) const;

  // "%d (%d)": the counted length and the parts.
  static std::string Label(int length, int parts);

  static bool IsHexContentType(int type) { return type >= 3 && type <= 8; }

private:
  const CharWeights &weights_;
};

} // namespace compose
