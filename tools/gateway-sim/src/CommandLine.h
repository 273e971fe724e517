#pragma once
// The gateway-sim command line: options to SimOptions, and the help text.

#include <gatewaysim/SimOptions.h>

#include <string>
#include <vector>

namespace gatewaysim {

struct CommandLine {
  SimOptions options;
  bool help = false;
  bool version = false;
  std::string error; // non-empty when the command line is unusable

  static CommandLine Parse(const std::vector<std::string> &args);
  static std::string HelpText();
};

} // namespace gatewaysim
