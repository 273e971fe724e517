#pragma once
// A four-part file version, major.minor.release.build, compared the way
// version resources are: as two unsigned 32-bit words, the high one holding
// major and minor, the low one release and build, 16 bits each.

#include <cstdint>
#include <string>
#include <string_view>

namespace update {

class FileVersion {
public:
  FileVersion() = default;
  FileVersion(int major, int minor, int release, int build);

  // Reads "%d.%d.%d.%d" from the start of `text`, as sscanf does: blanks
  // before each number are skipped, a sign is allowed, and the first number
  // that cannot be read ends the reading. Numbers not read are 0.
  static FileVersion Parse(std::string_view text);

  // The program's own file version (the project's version, compiled in).
  static FileVersion Own();

  int Major() const { return parts_[0]; }
  int Minor() const { return parts_[1]; }
  int Release() const { return parts_[2]; }
  int Build() const { return parts_[3]; }

  // (major << 16) | (minor & 0xFFFF) and (release << 16) | (build & 0xFFFF).
  std::uint32_t High() const;
  std::uint32_t Low() const;

  // Newer: a greater high word, or equal high words and a greater low word.
  bool IsNewerThan(const FileVersion &other) const;

  // "major.minor.release.build".
  std::string Text() const;

private:
  int parts_[4] = {0, 0, 0, 0};
};

} // namespace update
