#include "VariantNumber.h"

#include <limits>

namespace automation {

namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsSpace(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back()))
    text.remove_suffix(1);
  return text;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

char16_t Lower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool EqualsNoCase(std::u16string_view text, std::u16string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (Lower(text[i]) != word[i]) return false;
  return true;
}

} // namespace

VariantNumber::Parsed VariantNumber::Parse(std::u16string_view text) {
  Parsed out;
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  // Magnitude in an unsigned 64-bit accumulator; `big` once it no longer fits.
  uint64_t magnitude = 0;
  bool big = false;
  size_t intDigits = 0;
  size_t pos = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    unsigned d = text[pos] - u'0';
    if (d) out.nonZero = true;
    if (!big) {
      if (magnitude > (std::numeric_limits<uint64_t>::max() - d) / 10)
        big = true;
      else
        magnitude = magnitude * 10 + d;
    }
    ++intDigits;
    ++pos;
  }
  // Fraction: the first digit decides the rounding, the rest break ties.
  size_t fracDigits = 0;
  int firstFrac = -1;
  bool restNonZero = false;
  if (pos < text.size() && text[pos] == u'.') {
    ++pos;
    while (pos < text.size() && IsDigit(text[pos])) {
      unsigned d = text[pos] - u'0';
      if (d) out.nonZero = true;
      if (firstFrac < 0)
        firstFrac = static_cast<int>(d);
      else if (d)
        restNonZero = true;
      ++fracDigits;
      ++pos;
    }
  }
  if (pos != text.size() || intDigits + fracDigits == 0) {
    out.status = Status::Mismatch;
    out.nonZero = false;
    return out;
  }
  if (!big && firstFrac >= 0) {
    bool up = firstFrac > 5 || (firstFrac == 5 && (restNonZero || (magnitude & 1)));
    if (up) {
      if (magnitude == std::numeric_limits<uint64_t>::max())
        big = true;
      else
        ++magnitude;
    }
  }
  constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (big || magnitude > kMaxPositive + (negative ? 1 : 0)) {
    out.status = Status::Overflow;
    return out;
  }
  if (negative)
    out.value = magnitude == kMaxPositive + 1 ? std::numeric_limits<int64_t>::min()
                                              : -static_cast<int64_t>(magnitude);
  else
    out.value = static_cast<int64_t>(magnitude);
  out.status = Status::Ok;
  return out;
}

VariantNumber::Status VariantNumber::ParseBool(std::u16string_view text, bool &value) {
  std::u16string_view word = Trim(text);
  if (EqualsNoCase(word, u"true")) {
    value = true;
    return Status::Ok;
  }
  if (EqualsNoCase(word, u"false")) {
    value = false;
    return Status::Ok;
  }
  Parsed number = Parse(text);
  if (number.status == Status::Mismatch) return Status::Mismatch;
  // A number too large for any integer is still plainly non-zero.
  value = number.nonZero;
  return Status::Ok;
}

std::u16string VariantNumber::Format(int64_t value) {
  if (value < 0) {
    uint64_t magnitude = static_cast<uint64_t>(-(value + 1)) + 1;
    return u"-" + FormatUnsigned(magnitude);
  }
  return FormatUnsigned(static_cast<uint64_t>(value));
}

std::u16string VariantNumber::FormatUnsigned(uint64_t value) {
  char16_t buf[24];
  size_t pos = sizeof buf / sizeof buf[0];
  do {
    buf[--pos] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value);
  return std::u16string(buf + pos, buf + sizeof buf / sizeof buf[0]);
}

} // namespace automation
