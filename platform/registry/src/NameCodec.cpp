#include "NameCodec.h"

namespace registry {

namespace {

constexpr size_t kMaxFileName = 255;

bool KeepsAsIs(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
  case ' ':
  case '-':
  case '_':
  case '.':
  case ',':
  case ';':
  case '=':
  case '+':
  case '!':
  case '#':
  case '$':
  case '&':
  case '\'':
  case '(':
  case ')':
  case '@':
  case '[':
  case ']':
  case '^':
  case '{':
  case '}':
  case '~':
    return true;
  default:
    return false;
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

} // namespace

unsigned char NameCodec::FoldByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
  case 0x9A: // š
    return 0x8A;
  case 0x9C: // œ
    return 0x8C;
  case 0x9E: // ž
    return 0x8E;
  case 0xFF: // ÿ
    return 0x9F;
  default:
    return c;
  }
}

std::string NameCodec::Fold(std::string_view name) {
  std::string out(name);
  for (char &c : out)
    c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
  return out;
}

bool NameCodec::EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldByte(static_cast<unsigned char>(a[i])) != FoldByte(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string NameCodec::FolderName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = FoldByte(static_cast<unsigned char>(name[i]));
    if (KeepsAsIs(c) && !(i == 0 && c == '.')) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
    if (out.size() > kMaxFileName) return {};
  }
  return out;
}

std::string NameCodec::FromFolderName(std::string_view folder) {
  std::string out;
  out.reserve(folder.size());
  for (size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] == '%' && i + 2 < folder.size() && HexValue(folder[i + 1]) >= 0 &&
        HexValue(folder[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(folder[i + 1]) * 16 + HexValue(folder[i + 2])));
      i += 2;
    } else {
      out.push_back(folder[i]);
    }
  }
  return out;
}

} // namespace registry
