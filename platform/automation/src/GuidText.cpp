#include "GuidText.h"

#include <cstdio>

namespace automation {

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits at `pos`.
template <typename Char>
bool ReadHex(std::basic_string_view<Char> text, size_t pos, size_t digits, uint32_t &out) {
  uint32_t value = 0;
  for (size_t i = 0; i < digits; ++i) {
    int v = HexValue(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(text[pos + i])));
    if (v < 0) return false;
    value = (value << 4) | static_cast<uint32_t>(v);
  }
  out = value;
  return true;
}

template <typename Char> bool ParseGeneric(std::basic_string_view<Char> text, GUID &guid) {
  if (text.size() != GuidText::kLength) return false;
  if (text[0] != Char('{') || text[37] != Char('}')) return false;
  if (text[9] != Char('-') || text[14] != Char('-') || text[19] != Char('-') ||
      text[24] != Char('-'))
    return false;
  GUID g{};
  uint32_t v = 0;
  if (!ReadHex(text, 1, 8, v)) return false;
  g.Data1 = v;
  if (!ReadHex(text, 10, 4, v)) return false;
  g.Data2 = static_cast<uint16_t>(v);
  if (!ReadHex(text, 15, 4, v)) return false;
  g.Data3 = static_cast<uint16_t>(v);
  static constexpr size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < 8; ++i) {
    if (!ReadHex(text, kBytePos[i], 2, v)) return false;
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  guid = g;
  return true;
}

} // namespace

std::string GuidText::Format(const GUID &g) {
  char buf[kLength + 1];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), static_cast<unsigned>(g.Data2),
                static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return std::string(buf, kLength);
}

std::u16string GuidText::Format16(const GUID &guid) {
  std::string ascii = Format(guid);
  return std::u16string(ascii.begin(), ascii.end());
}

bool GuidText::Parse(std::string_view text, GUID &guid) {
  return ParseGeneric(text, guid);
}

bool GuidText::Parse(std::u16string_view text, GUID &guid) {
  return ParseGeneric(text, guid);
}

} // namespace automation
