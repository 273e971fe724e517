#include "testsupport/SessionBus.h"

#include "testsupport/TestEnv.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

extern char **environ;

namespace testsupport {

namespace {

pid_t Spawn(const std::vector<std::string> &argv, int in, int out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (in >= 0) posix_spawn_file_actions_adddup2(&actions, in, 0);
  if (out >= 0) posix_spawn_file_actions_adddup2(&actions, out, 1);
  std::vector<char *> args;
  for (const std::string &a : argv)
    args.push_back(const_cast<char *>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(20000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

} // namespace

bool SessionBus::Installed(const std::string &program) {
  const char *path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool SessionBus::Start() {
  if (!Installed("dbus-daemon")) {
    problem_ = "dbus-daemon is not installed";
    return false;
  }
  const auto folder = MakeTempDir("session-bus");
  const auto config = folder / "session.conf";
  // A session bus without service folders: nothing starts on demand.
  std::ofstream(config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                           "Configuration 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig>\n  <type>session</type>\n"
                           "  <listen>unix:path="
                        << (folder / "bus").string()
                        << "</listen>\n"
                           "  <policy context=\"default\">\n"
                           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                           "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n"
                           "  </policy>\n</busconfig>\n";
  int pipefd[2];
  if (pipe2(pipefd, O_CLOEXEC) != 0) {
    problem_ = "pipe failed";
    return false;
  }
  daemon_ = Spawn({"dbus-daemon", "--config-file=" + config.string(), "--nofork", "--print-address=1"},
                  -1, pipefd[1]);
  close(pipefd[1]);
  std::string line;
  pollfd p{pipefd[0], POLLIN, 0};
  while (daemon_ > 0 && line.find('\n') == std::string::npos && poll(&p, 1, 5000) > 0) {
    char buf[256];
    ssize_t n = read(pipefd[0], buf, sizeof buf);
    if (n <= 0) break;
    line.append(buf, static_cast<std::size_t>(n));
  }
  close(pipefd[0]);
  if (line.find('\n') == std::string::npos) {
    problem_ = "dbus-daemon did not start";
    Stop(daemon_);
    daemon_ = -1;
    return false;
  }
  address_ = line.substr(0, line.find('\n'));
  setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
  return true;
}

pid_t SessionBus::Run(const std::vector<std::string> &argv, const std::string &input) {
  int pipefd[2] = {-1, -1};
  if (!input.empty() && pipe2(pipefd, O_CLOEXEC) != 0) return -1;
  const int devnull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  pid_t pid = Spawn(argv, pipefd[0], devnull);
  if (devnull >= 0) close(devnull);
  if (pipefd[0] >= 0) {
    close(pipefd[0]);
    if (pid > 0) {
      signal(SIGPIPE, SIG_IGN); // a service that ends early must not end the test
      ssize_t ignored = write(pipefd[1], input.data(), input.size());
      (void)ignored;
    }
    close(pipefd[1]);
  }
  if (pid > 0) services_.push_back(pid);
  return pid;
}

SessionBus::~SessionBus() {
  for (pid_t pid : services_)
    Stop(pid);
  Stop(daemon_);
}

} // namespace testsupport
