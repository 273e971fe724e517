#pragma once
// Starts the downloaded installer: makes it readable, writable and
// executable by its owner only, and starts the file itself (never through a
// shell) in a new session with default signal handling, an empty signal
// mask, standard input from /dev/null and no other inherited descriptors
// beyond standard output and error, so it outlives the program and holds
// none of its locks.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace update {

class InstallerLauncher {
public:
  // True when the installer runs; `pid` receives its process id. On failure
  // `error` tells why (the system's error text).
  static bool Start(const std::filesystem::path &installer, std::string *error,
                    pid_t *pid = nullptr);
};

} // namespace update
