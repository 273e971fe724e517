#include "codepage/Codepage.h"

namespace codepage {

namespace {
// 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one code point from UTF-8; returns false for a malformed sequence
// (and consumes one byte).
bool NextCodePoint(std::string_view s, size_t &i, char32_t &cp) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra;
  if (c < 0x80) { cp = c; i += 1; return true; }
  if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
  else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
  else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
  else { i += 1; return false; }
  if (i + extra >= s.size()) { i += 1; return false; }
  for (int k = 1; k <= extra; ++k) {
    unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) { i += 1; return false; }
    cp = (cp << 6) | (cc & 0x3F);
  }
  static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  i += extra + 1;
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  return true;
}

void AppendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}
} // namespace

char16_t ByteToUtf16(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

bool Utf16ToByte(char16_t unit, unsigned char &byte) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
    byte = static_cast<unsigned char>(unit);
    return true;
  }
  for (int k = 0; k < 32; ++k) {
    if (kHigh[k] == unit) {
      byte = static_cast<unsigned char>(0x80 + k);
      return true;
    }
  }
  return false;
}

std::u16string ToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += ByteToUtf16(static_cast<unsigned char>(c));
  return out;
}

std::string FromUtf16(const char16_t *wide, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    char16_t u = wide[i];
    // A surrogate pair is one character the code page lacks: one "?".
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < length && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      ++i;
      out += kDefaultChar;
      continue;
    }
    unsigned char b;
    out += Utf16ToByte(u, b) ? static_cast<char>(b) : kDefaultChar;
  }
  return out;
}

std::string FromUtf16(std::u16string_view wide) { return FromUtf16(wide.data(), wide.size()); }

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    if (!NextCodePoint(utf8, i, cp)) {
      out += u'?';
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t cp = wide[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = u'?';
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) { return FromUtf16(Utf8ToUtf16(utf8)); }

std::string AnsiToUtf8(std::string_view ansi) { return Utf16ToUtf8(ToUtf16(ansi)); }

unsigned char ToLowerByte(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + ('a' - 'A'));
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 0x20);
  switch (byte) {
  case 0x8A: // S caron
  case 0x8C: // OE
  case 0x8E: // Z caron
    return static_cast<unsigned char>(byte + 0x10);
  case 0x9F: // Y diaeresis
    return 0xFF;
  default:
    return byte;
  }
}

std::string ToLower(std::string_view ansi) {
  std::string out(ansi);
  for (char &c : out)
    c = static_cast<char>(ToLowerByte(static_cast<unsigned char>(c)));
  return out;
}

} // namespace codepage
