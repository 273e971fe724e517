#include "BatchTemplate.h"

#include <codepage/Codepage.h>

namespace gatewaysim {

namespace {
template <typename Str> Str FillText(const Str &text, const std::array<Str, 9> &fields) {
  Str out;
  out.reserve(text.size());
  static const char kWord[] = "field";
  for (size_t i = 0; i < text.size(); ++i) {
    // "#fieldN#" is 8 units long.
    if (text[i] == '#' && i + 7 < text.size() && text[i + 7] == '#' && text[i + 6] >= '1' &&
        text[i + 6] <= '9') {
      bool word = true;
      for (size_t k = 0; k < 5; ++k) {
        auto c = text[i + 1 + k];
        if (c != kWord[k] && c != kWord[k] - ('a' - 'A')) word = false;
      }
      if (word) {
        out += fields[static_cast<size_t>(text[i + 6] - '1')];
        i += 7;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
} // namespace

std::string BatchTemplate::Fill(const std::string &text, const Fields &fields) {
  return FillText<std::string>(text, fields);
}

std::optional<std::string> BatchTemplate::FillUnicodeHex(const std::string &hex,
                                                         const Fields &fields) {
  if (hex.size() % 4 != 0) return std::nullopt;
  std::u16string wide;
  wide.reserve(hex.size() / 4);
  for (size_t i = 0; i < hex.size(); i += 4) {
    unsigned unit = 0;
    for (size_t k = 0; k < 4; ++k) {
      int v = HexValue(hex[i + k]);
      if (v < 0) return std::nullopt;
      unit = unit * 16 + static_cast<unsigned>(v);
    }
    wide.push_back(static_cast<char16_t>(unit));
  }
  std::array<std::u16string, 9> wideFields;
  for (size_t k = 0; k < fields.size(); ++k)
    wideFields[k] = codepage::ToUtf16(fields[k]);
  std::u16string filled = FillText<std::u16string>(wide, wideFields);
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(filled.size() * 4);
  for (char16_t unit : filled) {
    for (int shift = 12; shift >= 0; shift -= 4)
      out.push_back(kHex[(unit >> shift) & 15]);
  }
  return out;
}

} // namespace gatewaysim
