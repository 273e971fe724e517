#pragma once
// Copies into fixed-size, zero-terminated character fields: at most
// size - 1 bytes, the rest zero-filled, never past the field.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace engine {

inline void CopyBounded(char *field, std::size_t size, std::string_view value) {
  if (size == 0) return;
  std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
  std::memcpy(field, value.data(), n);
  std::memset(field + n, 0, size - n);
}

template <std::size_t N> void CopyBounded(char (&field)[N], std::string_view value) {
  CopyBounded(field, N, value);
}

// The text of a fixed field up to its first zero (or the whole field).
template <std::size_t N> std::string_view BoundedView(const char (&field)[N]) {
  const void *zero = std::memchr(field, 0, N);
  return std::string_view(field, zero ? static_cast<const char *>(zero) - field : N);
}

} // namespace engine
