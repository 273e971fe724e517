#pragma once
// The version file "update.ver" that the update server publishes. Its first
// line begins with the version ("major.minor.release.build"); a later line
// may carry the installer's SHA-256 as "sha256 <64 hex digits>". Older files
// without that line stay valid.

#include "update/FileVersion.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace update {

struct UpdateDescriptor {
  enum class Digest {
    None,      // no sha256 line
    Given,     // a well-formed line: `sha256` holds 64 lower-case hex digits
    Malformed, // a sha256 line whose value is not 64 hex digits
  };

  // Only this much of the file is read; a version file is a few lines.
  static constexpr std::size_t kMaxBytes = 64 * 1024;

  FileVersion version;
  Digest digest = Digest::None;
  std::string sha256;

  static UpdateDescriptor Parse(std::string_view text);
  // A missing or unreadable file reads as version 0.0.0.0 without a digest.
  static UpdateDescriptor Read(const std::filesystem::path &file);
};

} // namespace update
