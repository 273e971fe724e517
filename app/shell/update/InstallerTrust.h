#pragma once
// Decides whether a downloaded installer may be started without asking the
// user. It may when its SHA-256 equals the one the version file declares,
// or, when the version file declares none, when both the version file and
// the installer came over https (the download checks the certificate and
// the host, and never follows a redirect from https to http).

#include "update/UpdateDescriptor.h"

#include <filesystem>
#include <optional>
#include <string>

namespace update {

class InstallerTrust {
public:
  enum class Verdict {
    DigestMatches,   // start it
    SecureTransport, // start it
    Unverified,      // do not start it; the user may run it by hand
    Mismatch,        // do not start it; the file is not the one published
  };

  struct Result {
    Verdict verdict;
    std::string reason; // for the log
  };

  static Result Judge(const UpdateDescriptor &descriptor, const std::string &versionAddress,
                      const std::string &installerAddress, const std::filesystem::path &installer);

  static bool MayStart(Verdict v) {
    return v == Verdict::DigestMatches || v == Verdict::SecureTransport;
  }

  // Lower-case hex SHA-256 of a file; nothing when it cannot be read.
  static std::optional<std::string> Sha256Hex(const std::filesystem::path &file);

  // True for an address whose scheme is "https" (any case).
  static bool IsHttps(const std::string &address);
};

} // namespace update
