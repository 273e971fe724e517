#pragma once
// Batch templates carry the placeholders #field1# to #field9# (the word
// "field" in any letter case), replaced by the fields of each batch item; a
// field that was not given leaves nothing behind.

#include <array>
#include <optional>
#include <string>

namespace gatewaysim {

class BatchTemplate {
public:
  using Fields = std::array<std::string, 9>;

  // 8-bit text template and fields.
  static std::string Fill(const std::string &text, const Fields &fields);
  // Template in Unicode hex (4 digits per UTF-16 unit); the fields are 8-bit
  // text. Nothing when the template is not valid Unicode hex.
  static std::optional<std::string> FillUnicodeHex(const std::string &hex, const Fields &fields);
};

} // namespace gatewaysim
