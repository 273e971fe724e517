#pragma once
// The reversible scrambling of the settings file: one continuous stream over
// every byte after the magic. Each byte b becomes b ^ key[k] ^ r; then
// k = (k + 1) mod 8 and r += 5, wrapping to r - 255 when it exceeds 255
// (r runs 0, 5, ..., 255, 5, 10, ...). Applying it twice gives the input.

#include <array>
#include <cstddef>
#include <cstdint>

namespace shell {

class SettingsScrambler {
public:
  static const std::array<std::uint8_t, 8> kKey;

  // Starts a new stream (k = 0, r = 0).
  void Reset() {
    k_ = 0;
    r_ = 0;
  }
  void Apply(std::uint8_t *data, std::size_t size);

private:
  unsigned k_ = 0;
  unsigned r_ = 0;
};

} // namespace shell
