// gateway-sim: the simulator of the operator's SMS gateway as a program.

#include "AccountService.h"
#include "CommandLine.h"

#include <gatewaysim/GatewaySimServer.h>

#include <csignal>
#include <cstdio>
#include <pthread.h>

#if defined(__SANITIZE_THREAD__)
// The system's HTTP library is not built for the thread sanitizer: its
// lazily initialised statics and inline atomics look like races to it.
// Reports from inside that library are therefore not ours to act on.
extern "C" const char *__tsan_default_suppressions() {
  return "called_from_lib:libcpp-httplib.so\n";
}
#endif

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  gatewaysim::CommandLine cl = gatewaysim::CommandLine::Parse(args);
  if (cl.help) {
    std::fputs(gatewaysim::CommandLine::HelpText().c_str(), stdout);
    return 0;
  }
  if (cl.version) {
    std::printf("gateway-sim %s\n", gatewaysim::AccountService::kVersion);
    return 0;
  }
  if (!cl.error.empty()) {
    std::fprintf(stderr, "gateway-sim: %s\n", cl.error.c_str());
    return 2;
  }

  // SIGINT and SIGTERM are taken by sigwait below, in this thread only.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  gatewaysim::GatewaySimServer server(cl.options);
  std::string error;
  if (!server.Start(&error)) {
    std::fprintf(stderr, "gateway-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("gateway-sim listening on %s\n", server.BaseUrl().c_str());
  if (server.HttpsPort() > 0) {
    std::string secure = server.BaseUrl();
    secure.replace(0, 4, "https");
    secure.replace(secure.rfind(':'), std::string::npos,
                   ":" + std::to_string(server.HttpsPort()) + "/");
    std::printf("gateway-sim listening on %s\n", secure.c_str());
  }
  std::fflush(stdout);

  int signal = 0;
  sigwait(&stopSignals, &signal);
  std::fprintf(stderr, "gateway-sim: stopping (signal %d)\n", signal);
  server.Stop();
  return 0;
}
