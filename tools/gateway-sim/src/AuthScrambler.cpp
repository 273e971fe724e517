#include "AuthScrambler.h"

namespace gatewaysim {

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
} // namespace

std::string AuthScrambler::Scramble(std::string_view body) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(body.size() * 2);
  for (size_t i = 0; i < body.size(); ++i) {
    auto b = static_cast<unsigned char>(body[i] ^ kKey[i % kKey.size()]);
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
  }
  return out;
}

std::optional<std::string> AuthScrambler::Unscramble(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexValue(hex[i]);
    int lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    size_t n = i / 2;
    out.push_back(
        static_cast<char>((hi * 16 + lo) ^ static_cast<unsigned char>(kKey[n % kKey.size()])));
  }
  return out;
}

} // namespace gatewaysim
