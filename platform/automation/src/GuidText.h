#pragma once
// Text form of a GUID: "{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}", upper-case
// hexadecimal, 38 characters between and including the braces.

#include <automation/automation.h>

#include <string>
#include <string_view>

namespace automation {

class GuidText {
public:
  static constexpr size_t kLength = 38;

  static std::string Format(const GUID &guid);
  static std::u16string Format16(const GUID &guid);

  // Strict: braces, dashes in place, hexadecimal digits of either case,
  // nothing before or after. Leaves `guid` untouched on failure.
  static bool Parse(std::string_view text, GUID &guid);
  static bool Parse(std::u16string_view text, GUID &guid);
};

} // namespace automation
