#include "compose/MessageCounter.h"

namespace compose {

CountResult MessageCounter::Count(std::string_view text, int type, bool spanSms) const {
  const LengthRules rules = LengthRules::ForType(type);
  const bool unicode = type == kTypeUnicode;
  const int longest = rules.Longest(spanSms);

  CountResult result;
  result.editorLimit = longest;
  result.keep = text.size();
  int total = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int w = unicode ? 1 : weights_.Weight(text[i]);
    if (total + w > longest) {
      result.keep = i;
      result.cut = true;
      break;
    }
    total += w;
  }
  if (result.cut && IsHexContentType(type) && result.keep % 2 != 0) {
    // Keep whole bytes: drop the lone high digit of the last byte.
    --result.keep;
    total -= weights_.Weight(text[result.keep]);
  }
  result.length = total;
  result.parts = rules.Parts(total);
  return result;
}

int MessageCounter::PlainParts(std::string_view text) const {
  return LengthRules::Plain().Parts(weights_.WeightedLength(text));
}

int MessageCounter::UnicodeParts(std::string_view text) const {
  return LengthRules::Unicode().Parts(static_cast<int>(text.size()));
}

std::string MessageCounter::Label(int length, int parts) {
  return std::to_string(length) + " (" + std::to_string(parts) + ")";
}

} // namespace compose
