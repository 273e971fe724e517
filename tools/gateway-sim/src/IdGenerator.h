#pragma once
// 32-character lower-case hexadecimal identifiers for sessions, messages
// and batches. Reproducible when seeded. Not thread-safe.

#include <cstdint>
#include <random>
#include <string>

namespace gatewaysim {

class IdGenerator {
public:
  IdGenerator();                       // random seed
  explicit IdGenerator(uint64_t seed); // fixed sequence

  std::string Next();

private:
  std::mt19937_64 engine_;
};

} // namespace gatewaysim
