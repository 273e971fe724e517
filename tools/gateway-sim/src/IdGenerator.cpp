#include "IdGenerator.h"

namespace gatewaysim {

IdGenerator::IdGenerator() {
  std::random_device device;
  std::seed_seq seq{device(), device(), device(), device()};
  engine_.seed(seq);
}

IdGenerator::IdGenerator(uint64_t seed) : engine_(seed) {}

std::string IdGenerator::Next() {
  static const char kHex[] = "0123456789abcdef";
  std::string id;
  id.reserve(32);
  for (int half = 0; half < 2; ++half) {
    uint64_t bits = engine_();
    for (int i = 0; i < 16; ++i) {
      id.push_back(kHex[bits & 15]);
      bits >>= 4;
    }
  }
  return id;
}

} // namespace gatewaysim
