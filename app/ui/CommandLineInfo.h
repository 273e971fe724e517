#pragma once
// The two arguments dovetext answers itself, before the window toolkit
// starts (so they work without a display): --help (-h) and --version. Every
// other argument is left to Qt; the program's start-up reads none.

#include <cstdio>
#include <optional>
#include <string>

namespace ui {

class CommandLineInfo {
public:
  // Prints the help or the version to `out` when the arguments ask for it
  // and returns the exit code; nullopt when the program is to start.
  static std::optional<int> Answer(int argc, const char *const *argv, std::FILE *out);

  static std::string HelpText();
  static std::string VersionText();
};

} // namespace ui
