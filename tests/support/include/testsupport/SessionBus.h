#pragma once
// A private D-Bus session bus for one test process, inside its sandbox: no
// service is activated on demand, so a test decides which services run.
// Starting it points DBUS_SESSION_BUS_ADDRESS at it; the destructor stops
// it and every service started through it.

#include <string>
#include <vector>

#include <sys/types.h>

namespace testsupport {

class SessionBus {
public:
  SessionBus() = default;
  ~SessionBus();
  SessionBus(const SessionBus &) = delete;
  SessionBus &operator=(const SessionBus &) = delete;

  // False (with the reason in Problem()) when dbus-daemon is missing or did
  // not start.
  bool Start();
  const std::string &Address() const { return address_; }
  const std::string &Problem() const { return problem_; }

  // Starts `argv` (a program found on PATH) on this bus; `input`, when not
  // empty, is written to its standard input, which is then closed. The
  // process is stopped with the bus. -1 when it could not be started.
  pid_t Run(const std::vector<std::string> &argv, const std::string &input = {});

  // True when a program of that name is on PATH.
  static bool Installed(const std::string &program);

private:
  pid_t daemon_ = -1;
  std::vector<pid_t> services_;
  std::string address_;
  std::string problem_;
};

} // namespace testsupport
