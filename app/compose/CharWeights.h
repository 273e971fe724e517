#pragma once
// Weights of the characters of a message: how many units of the 7-bit SMS
// alphabet each Windows-1252 byte costs. Every byte costs 1 except the ten
// that the alphabet sends as escape sequences (form feed, ^ { } \ [ ~ ] |
// and the euro sign 0x80), which cost 2.

#include <array>
#include <string_view>

namespace compose {

class CharWeights {
public:
  CharWeights();

  int Weight(unsigned char byte) const { return table_[byte]; }
  int Weight(char c) const { return table_[static_cast<unsigned char>(c)]; }
  // Sum of the weights of every byte of the text.
  int WeightedLength(std::string_view text) const;

  // The table filled once for the whole program.
  static const CharWeights &Default();

private:
  std::array<signed char, 256> table_{};
};

} // namespace compose
