#include "CommandLineInfo.h"

#include "update/FileVersion.h"

#include <cstring>

namespace ui {

std::optional<int> CommandLineInfo::Answer(int argc, const char *const *argv, std::FILE *out) {
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (std::strcmp(arg, "--") == 0) break;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(HelpText().c_str(), out);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::fputs(VersionText().c_str(), out);
      return 0;
    }
  }
  return std::nullopt;
}

std::string CommandLineInfo::VersionText() {
  return "dovetext " + update::FileVersion::Own().Text() + "\n";
}

std::string CommandLineInfo::HelpText() {
  return "Usage: dovetext [--help] [--version] [QT-OPTION ...]\n"
         "\n"
         "Dovetext sends SMS messages through the Ostrand gateway and follows each one in\n"
         "its outbox to its final status and charge.\n"
         "\n"
         "It needs its data folder, named by the registry value \"DataPath\" of\n"
         "HKLM\\SOFTWARE\\Quorvane\\Dvtx3, and the Parlink library registered for the\n"
         "user. Start it with dovetext-launch, which prepares both on the first start.\n"
         "Only one instance runs at a time: starting a second one brings the first to\n"
         "the front.\n"
         "\n"
         "Options:\n"
         "  -h, --help   show this text and exit\n"
         "  --version    show the version and exit\n"
         "Other arguments are Qt's own (for example -platform offscreen).\n"
         "\n"
         "Environment:\n"
         "  DOVETEXT_REGISTRY  the registry folder (default\n"
         "                     $XDG_CONFIG_HOME/dovetext/registry)\n"
         "  DOVETEXT_DEBUG     when set, log entries are copied to standard error\n"
         "  PARLINK_BASE_URL   the gateway address, unless the registry value\n"
         "                     \"GatewayURL\" beside \"DataPath\" names one\n"
         "\n"
         "SIGTERM, SIGINT and SIGHUP end the session as closing the program does.\n"
         "Exit status: 0, also when the program cannot start (a message says why).\n";
}

} // namespace ui
