#include "GatewaySimProcess.h"

#include "testsupport/TestEnv.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

extern char **environ;

namespace gatewaysimtest {

GatewaySimProcess::GatewaySimProcess(std::vector<std::string> args) : args_(std::move(args)) {
  bool hasPort = false;
  for (const auto &a : args_)
    hasPort = hasPort || a == "--port" || a.rfind("--port=", 0) == 0;
  if (!hasPort) {
    args_.push_back("--port");
    args_.push_back("0");
  }
}

GatewaySimProcess::~GatewaySimProcess() {
  Stop();
}

bool GatewaySimProcess::Start(std::string *error) {
  auto fail = [&](const std::string &message) {
    if (error) *error = message;
    Stop();
    return false;
  };
  std::string program = (testsupport::BinDir() / "gateway-sim").string();
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return fail("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  std::vector<char *> argv;
  argv.push_back(program.data());
  for (auto &a : args_)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  stdoutFd_ = pipeFds[0];
  if (rc != 0) {
    pid_ = -1;
    return fail("cannot start " + program + ": " + std::strerror(rc));
  }

  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (firstLine_.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) return fail("no listening line from gateway-sim");
    pollfd pfd{stdoutFd_, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
    char buf[256];
    ssize_t n = read(stdoutFd_, buf, sizeof buf);
    if (n <= 0) return fail("gateway-sim ended before listening: " + firstLine_);
    firstLine_.append(buf, static_cast<size_t>(n));
  }
  firstLine_.erase(firstLine_.find('\n'));
  static const std::string kPrefix = "gateway-sim listening on ";
  if (firstLine_.rfind(kPrefix, 0) != 0) return fail("unexpected first line: " + firstLine_);
  baseUrl_ = firstLine_.substr(kPrefix.size());
  size_t colon = baseUrl_.rfind(':');
  port_ = colon == std::string::npos ? -1 : std::atoi(baseUrl_.c_str() + colon + 1);
  return port_ > 0 || fail("no port in " + firstLine_);
}

int GatewaySimProcess::Stop() {
  int result = -1;
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) result = WEXITSTATUS(status);
    pid_ = -1;
  }
  if (stdoutFd_ >= 0) {
    close(stdoutFd_);
    stdoutFd_ = -1;
  }
  return result;
}

} // namespace gatewaysimtest
