#include "compose/CharWeights.h"

namespace compose {

CharWeights::CharWeights() {
  table_.fill(1);
  for (unsigned char escaped : {0x0C, 0x5E, 0x7B, 0x7D, 0x5C, 0x5B, 0x7E, 0x5D, 0x7C, 0x80}) {
    table_[escaped] = 2;
  }
}

int CharWeights::WeightedLength(std::string_view text) const {
  int total = 0;
  for (char c : text) {
    total += Weight(c);
  }
  return total;
}

const CharWeights &CharWeights::Default() {
  static const CharWeights weights;
  return weights;
}

} // namespace compose
