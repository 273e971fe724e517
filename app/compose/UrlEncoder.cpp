#include "compose/UrlEncoder.h"

#include <cstring>

namespace compose {
namespace {

bool NeedsEscape(unsigned char b) {
  return b < 33 || b >= 0x80 || b == '&' || b == '=' || b == '%' || b == '+';
}

// Encoded form of one byte into out (at most 3 bytes); returns its length.
std::size_t EncodeByte(unsigned char b, char *out) {
  static const char kHex[] = "0123456789ABCDEF";
  if (b == ' ') {
    out[0] = '+';
    return 1;
  }
  if (NeedsEscape(b)) {
    out[0] = '%';
    out[1] = kHex[b >> 4];
    out[2] = kHex[b & 0x0F];
    return 3;
  }
  out[0] = static_cast<char>(b);
  return 1;
}

} // namespace

std::size_t UrlEncodedSize(std::string_view text) {
  std::size_t size = 1;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    size += 1;
    if (b == ' ' || NeedsEscape(b)) {
      size += 2;
    }
  }
  return size;
}

std::string UrlEncode(std::string_view text) {
  std::string out;
  out.reserve(UrlEncodedSize(text));
  char piece[3];
  for (char c : text) {
    out.append(piece, EncodeByte(static_cast<unsigned char>(c), piece));
  }
  return out;
}

std::size_t UrlEncodeTo(std::string_view text, char *out, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  std::size_t used = 0;
  char piece[3];
  for (char c : text) {
    const std::size_t n = EncodeByte(static_cast<unsigned char>(c), piece);
    if (used + n > size - 1) {
      break;
    }
    std::memcpy(out + used, piece, n);
    used += n;
  }
  out[used] = '\0';
  return used;
}

} // namespace compose
