#pragma once
// Runs the gateway-sim program from the build's bin folder on a free port
// for a test and stops it again. Tests that can live with an in-process
// simulator use gatewaysim::GatewaySimServer instead.

#include <sys/types.h>

#include <string>
#include <vector>

namespace gatewaysimtest {

class GatewaySimProcess {
public:
  // Extra command-line options; "--port 0" is added unless "--port" is given.
  explicit GatewaySimProcess(std::vector<std::string> args = {});
  ~GatewaySimProcess();
  GatewaySimProcess(const GatewaySimProcess &) = delete;
  GatewaySimProcess &operator=(const GatewaySimProcess &) = delete;

  // Starts the program and waits (up to 10 s) for its "listening on" line.
  bool Start(std::string *error = nullptr);
  // SIGTERM, then waits for the exit; returns the exit status (-1 when it
  // did not exit normally or was not running).
  int Stop();

  const std::string &BaseUrl() const { return baseUrl_; } // "http://127.0.0.1:PORT/"
  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  // Everything the program wrote to stdout up to the first line break.
  const std::string &FirstLine() const { return firstLine_; }

private:
  std::vector<std::string> args_;
  pid_t pid_ = -1;
  int stdoutFd_ = -1;
  int port_ = -1;
  std::string baseUrl_;
  std::string firstLine_;
};

} // namespace gatewaysimtest
