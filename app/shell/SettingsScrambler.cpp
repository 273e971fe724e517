#include "shell/SettingsScrambler.h"

namespace shell {

// Fixed for the program: files written with one key are read only with it.
const std::array<std::uint8_t, 8> SettingsScrambler::kKey = {0x5A, 0xC3, 0x17, 0x8E,
                                                             0x62, 0xF1, 0x3D, 0xA9};

void SettingsScrambler::Apply(std::uint8_t *data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = static_cast<std::uint8_t>(data[i] ^ kKey[k_] ^ r_);
    k_ = (k_ + 1) % 8;
    r_ += 5;
    if (r_ > 255) r_ -= 255;
  }
}

} // namespace shell
