#include "src/AuthScrambler.h"

namespace parlink {

std::string ScrambleAuthBody(std::string_view body) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(body.size() * 2);
  for (size_t i = 0; i < body.size(); ++i) {
    const auto byte = static_cast<unsigned char>(body[i]) ^
                      static_cast<unsigned char>(kAuthScrambleKey[i % kAuthScrambleKey.size()]);
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0x0F]);
  }
  return out;
}

} // namespace parlink
