#include "testsupport/PrivateSessionBus.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

constexpr const char *kMarker = "DV_PRIVATE_SESSION_BUS";

std::string FindProgram(const char *name) {
  const char *path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

} // namespace

bool InPrivateSessionBus() {
  return std::getenv(kMarker) != nullptr;
}

int RunInPrivateSessionBus(int argc, char **argv) {
  if (InPrivateSessionBus()) return -1;
  for (int i = 1; i < argc; ++i)
    if (std::strstr(argv[i], "list_tests")) return -1;
  std::string runner = FindProgram("dbus-run-session");
  if (runner.empty()) return -1;

  std::string pattern = (fs::temp_directory_path() / "dvbus-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return -1;
  fs::path root = pattern;
  auto folder = [&](const char *name) {
    fs::path p = root / name;
    fs::create_directories(p);
    chmod(p.c_str(), 0700);
    return p.string();
  };
  std::vector<std::pair<const char *, std::string>> env{
      {"HOME", folder("home")},
      {"XDG_CONFIG_HOME", folder("config")},
      {"XDG_DATA_HOME", folder("data")},
      {"XDG_CACHE_HOME", folder("cache")},
      {"XDG_RUNTIME_DIR", folder("run")},
      {"GSETTINGS_BACKEND", "memory"},
      {kMarker, "1"}};

  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    for (const auto &[name, value] : env)
      setenv(name, value.c_str(), 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    std::vector<char *> args{const_cast<char *>(runner.c_str()), const_cast<char *>("--"),
                             const_cast<char *>("/proc/self/exe")};
    std::string self = fs::read_symlink("/proc/self/exe").string();
    args[2] = self.data();
    for (int i = 1; i < argc; ++i)
      args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(runner.c_str(), args.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace testsupport
