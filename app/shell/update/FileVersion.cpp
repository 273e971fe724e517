#include "FileVersion.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace update {

namespace {

std::uint32_t Word(int high, int low) {
  return (static_cast<std::uint32_t>(high) << 16) | (static_cast<std::uint32_t>(low) & 0xFFFFu);
}

// One "%d" at `pos`: blanks, an optional sign, at least one digit. Large
// numbers saturate like strtol's, then wrap to int as sscanf stores them.
bool ReadNumber(std::string_view text, size_t &pos, int &value) {
  size_t i = pos;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t digits = i;
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  std::uint64_t n = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    auto digit = static_cast<std::uint64_t>(text[i] - '0');
    n = n > (limit - digit) / 10 ? limit : n * 10 + digit;
    ++i;
  }
  if (i == digits) return false;
  std::uint64_t bits = negative ? ~n + 1 : n;
  value = static_cast<int>(static_cast<std::uint32_t>(bits));
  pos = i;
  return true;
}

} // namespace

FileVersion::FileVersion(int major, int minor, int release, int build)
    : parts_{major, minor, release, build} {}

FileVersion FileVersion::Parse(std::string_view text) {
  FileVersion v;
  size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') break;
      ++pos;
    }
    if (!ReadNumber(text, pos, v.parts_[i])) break;
  }
  return v;
}

FileVersion FileVersion::Own() {
  return FileVersion(DOVETEXT_VERSION_MAJOR, DOVETEXT_VERSION_MINOR, DOVETEXT_VERSION_RELEASE,
                     DOVETEXT_VERSION_BUILD);
}

std::uint32_t FileVersion::High() const {
  return Word(parts_[0], parts_[1]);
}

std::uint32_t FileVersion::Low() const {
  return Word(parts_[2], parts_[3]);
}

bool FileVersion::IsNewerThan(const FileVersion &other) const {
  return High() > other.High() || (High() == other.High() && Low() > other.Low());
}

std::string FileVersion::Text() const {
  return std::to_string(parts_[0]) + "." + std::to_string(parts_[1]) + "." +
         std::to_string(parts_[2]) + "." + std::to_string(parts_[3]);
}

} // namespace update
