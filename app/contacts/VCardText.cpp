#include "contacts/VCardText.h"

#include "contacts/AsciiText.h"

#include <codepage/Codepage.h>

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace contacts {

namespace {

// The property's parameters, split at ";" outside double quotes (the first
// piece is the property name itself).
std::vector<std::string_view> SplitPrefix(std::string_view prefix) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (prefix[i] == '"') quoted = !quoted;
    if (prefix[i] == ';' && !quoted) {
      parts.push_back(prefix.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(prefix.substr(start));
  return parts;
}

bool IsQuotedPrintable(std::string_view line) {
  std::size_t colon = VCardText::ValueStart(line);
  if (colon == std::string_view::npos) return false;
  auto parts = SplitPrefix(line.substr(0, colon));
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string p = LowerAscii(TrimText(parts[i]));
    if (p == "encoding=quoted-printable" || p == "quoted-printable") return true;
  }
  return false;
}

bool IsCardLine(std::string_view line, std::string_view which) {
  return LowerAscii(TrimText(line)) == which;
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (c >= 0x80) {
      if (c >= 0xC2 && c <= 0xDF)
        extra = 1;
      else if (c >= 0xE0 && c <= 0xEF)
        extra = 2;
      else if (c >= 0xF0 && c <= 0xF4)
        extra = 3;
      else
        return false;
    }
    if (text.size() - i - 1 < extra) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

bool HasHighBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::optional<std::string> ConvertToUtf8(std::string_view text, const std::string &charset) {
  iconv_t cd = iconv_open("UTF-8", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char *in = const_cast<char *>(text.data());
  std::size_t inLeft = text.size();
  char *dst = out.data();
  std::size_t outLeft = out.size();
  std::size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

} // namespace

std::size_t VCardText::ValueStart(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) return i;
  }
  return std::string_view::npos;
}

std::string VCardText::RepairLine(std::string_view line) {
  std::size_t colon = ValueStart(line);
  if (colon == std::string_view::npos) return std::string(line);
  std::string_view value = line.substr(colon + 1);
  if (!HasHighBytes(value) || IsQuotedPrintable(line)) return std::string(line);

  auto parts = SplitPrefix(line.substr(0, colon));
  std::string charset;
  std::string prefix(parts[0]);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view p = TrimText(parts[i]);
    if (StartsWithNoCase(p, "charset=")) {
      charset = std::string(TrimText(p.substr(8)));
      if (charset.size() >= 2 && charset.front() == '"' && charset.back() == '"')
        charset = charset.substr(1, charset.size() - 2);
      continue;
    }
    prefix.push_back(';');
    prefix.append(parts[i]);
  }
  std::string lowerCharset = LowerAscii(charset);
  bool utf8Named = lowerCharset == "utf-8" || lowerCharset == "utf8";
  std::optional<std::string> converted;
  if (utf8Named || charset.empty()) {
    if (IsUtf8(value)) converted = std::string(value);
  } else {
    converted = ConvertToUtf8(value, charset);
  }
  if (!converted) converted = codepage::AnsiToUtf8(value);
  return prefix + ":" + *converted;
}

std::vector<std::string> VCardText::SplitCards(std::string_view bytes) {
  // No vCard holds NUL bytes. The card texts are handed on as C strings, and
  // a NUL right after a quoted-printable "=" makes the parser read past the
  // end of its text; they are dropped.
  std::string withoutNul;
  if (bytes.find('\0') != std::string_view::npos) {
    withoutNul.reserve(bytes.size());
    for (char c : bytes)
      if (c != '\0') withoutNul.push_back(c);
    bytes = withoutNul;
  }

  // Physical lines.
  std::vector<std::string_view> physical;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      physical.push_back(bytes.substr(start, i - start));
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < bytes.size()) physical.push_back(bytes.substr(start));

  // Logical lines: folding and quoted-printable soft breaks.
  std::vector<std::string> logical;
  bool softBreak = false;
  for (std::string_view line : physical) {
    if (softBreak && !IsCardLine(line, "end:vcard")) {
      logical.back().pop_back(); // the "=" of the soft break
      logical.back().append(line);
    } else if (!logical.empty() && !softBreak && !line.empty() &&
               (line.front() == ' ' || line.front() == '\t')) {
      logical.back().append(line.substr(1));
    } else {
      logical.emplace_back(line);
    }
    softBreak = !logical.back().empty() && logical.back().back() == '=' &&
                IsQuotedPrintable(logical.back());
  }

  std::vector<std::string> cards;
  std::string card;
  int depth = 0;
  for (const std::string &line : logical) {
    if (IsCardLine(line, "begin:vcard")) {
      if (depth == 0) card.clear();
      ++depth;
    }
    if (depth == 0) continue;
    if (!TrimText(line).empty()) {
      card.append(RepairLine(line));
      card.append("\r\n");
    }
    if (IsCardLine(line, "end:vcard") && --depth == 0) cards.push_back(std::move(card));
  }
  if (depth > 0) {
    for (; depth > 0; --depth)
      card.append("END:VCARD\r\n");
    cards.push_back(std::move(card));
  }
  return cards;
}

} // namespace contacts
