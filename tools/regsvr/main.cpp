// parlink-regsvr [-u] LIBRARY
//
// Loads an in-process automation server and calls its DllRegisterServer
// (or, with -u, DllUnregisterServer), which writes (or removes) its keys in
// the registry named by DOVETEXT_REGISTRY (default
// $XDG_CONFIG_HOME/dovetext/registry).

#include "ServerModule.h"

#include <automation/automation.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void PrintHelp(FILE *out) {
  std::fputs("Usage: parlink-regsvr [-u] LIBRARY\n"
             "\n"
             "Registers the in-process automation server LIBRARY (a shared library such as\n"
             "libparlink.so) by calling its DllRegisterServer export, which writes its\n"
             "classes, programmatic identifiers and type library into the registry.\n"
             "\n"
             "Options:\n"
             "  -u, --unregister  call DllUnregisterServer instead and remove the keys\n"
             "  -h, --help        show this text\n"
             "  --version         show the version\n"
             "\n"
             "The registry is the folder named by DOVETEXT_REGISTRY, else\n"
             "$XDG_CONFIG_HOME/dovetext/registry (~/.config/dovetext/registry).\n"
             "\n"
             "Exit status: 0 on success, 1 when the library cannot be loaded, lacks the\n"
             "entry point or reports a failure (the reason is printed), 2 for a usage error.\n",
             out);
}

} // namespace

int main(int argc, char **argv) {
  bool unregister = false;
  bool optionsEnded = false;
  std::string library;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    const bool option = !optionsEnded && arg[0] == '-' && arg[1] != 0;
    if (option && (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0)) {
      PrintHelp(stdout);
      return kExitOk;
    }
    if (option && std::strcmp(arg, "--version") == 0) {
      std::printf("parlink-regsvr %s\n", DV_VERSION);
      return kExitOk;
    }
    if (option && (std::strcmp(arg, "-u") == 0 || std::strcmp(arg, "--unregister") == 0)) {
      unregister = true;
    } else if (option && std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (option) {
      std::fprintf(stderr, "parlink-regsvr: unknown option %s\n", arg);
      PrintHelp(stderr);
      return kExitUsage;
    } else if (library.empty()) {
      library = arg;
    } else {
      std::fprintf(stderr, "parlink-regsvr: only one library may be given\n");
      return kExitUsage;
    }
  }
  if (library.empty()) {
    std::fprintf(stderr, "parlink-regsvr: no library given\n");
    PrintHelp(stderr);
    return kExitUsage;
  }

  const bool initialised = SUCCEEDED(CoInitialize(nullptr));
  ServerModule module;
  std::string error;
  int status = kExitOk;
  HRESULT hr = S_OK;
  const char *entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  if (!module.Load(library, error)) {
    std::fprintf(stderr, "parlink-regsvr: cannot load %s: %s\n", library.c_str(), error.c_str());
    status = kExitFailed;
  } else if (!module.Call(unregister, hr, error)) {
    std::fprintf(stderr, "parlink-regsvr: %s: %s\n", module.Path().c_str(), error.c_str());
    status = kExitFailed;
  } else if (FAILED(hr)) {
    std::fprintf(stderr, "parlink-regsvr: %s in %s failed: 0x%08X\n", entry, module.Path().c_str(),
                 static_cast<unsigned>(hr));
    status = kExitFailed;
  } else {
    std::printf("%s in %s succeeded: %s\n", entry, module.Path().c_str(),
                unregister ? "unregistered" : "registered");
  }
  if (initialised) CoUninitialize();
  return status;
}
