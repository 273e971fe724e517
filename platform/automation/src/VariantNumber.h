#pragma once
// Numbers and booleans as automation text: what VariantChangeType reads
// from a BSTR and writes into one.

#include <cstdint>
#include <string>
#include <string_view>

namespace automation {

class VariantNumber {
public:
  enum class Status { Ok, Mismatch, Overflow };

  struct Parsed {
    Status status = Status::Mismatch;
    int64_t value = 0;    // rounded half to even; valid when status is Ok
    bool nonZero = false; // any non-zero digit, fraction included
  };

  // Decimal text: optional white space, an optional sign, digits with an
  // optional fraction (rounded half to even), optional white space.
  // Overflow when the rounded value does not fit in 64 bits.
  static Parsed Parse(std::u16string_view text);

  // "true" / "false" in any case, else a number (non-zero is true).
  static Status ParseBool(std::u16string_view text, bool &value);

  static std::u16string Format(int64_t value);
  static std::u16string FormatUnsigned(uint64_t value);
};

} // namespace automation
