#include "testsupport/TestEnv.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#if defined(__SANITIZE_THREAD__)
// GLib, GIO and libsecret are not built with the thread sanitizer: the
// hand-overs between their own threads (the D-Bus worker) are invisible to
// it. Reports whose stacks run through them are not ours to mend. Weak: a
// test program may give a longer list of its own.
extern "C" __attribute__((weak)) const char *__tsan_default_suppressions() {
  return "race:libglib-2.0.so\n"
         "race:libgio-2.0.so\n"
         "race:libgobject-2.0.so\n"
         "race:libsecret-1.so\n";
}
#endif

namespace testsupport {

namespace {
std::filesystem::path g_root;
std::atomic<int> g_counter{0};
} // namespace

void InitSandbox() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "dvtest-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  g_root = tmpl;
  auto sub = [](const char *name) {
    auto p = g_root / name;
    std::filesystem::create_directories(p);
    std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    return p.string();
  };
  setenv("DOVETEXT_REGISTRY", sub("registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", sub("config").c_str(), 1);
  setenv("XDG_DATA_HOME", sub("data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", sub("run").c_str(), 1);
  setenv("HOME", sub("home").c_str(), 1);
  // No test reaches the user's session bus (keyring, address books): the
  // address names a socket that does not exist. Tests that need a bus start
  // a private one (testsupport::SessionBus), or run inside one whose
  // starter sets DV_PRIVATE_SESSION_BUS.
  if (!std::getenv("DV_PRIVATE_SESSION_BUS")) {
    const std::string none = "unix:path=" + (g_root / "run" / "no-session-bus").string();
    setenv("DBUS_SESSION_BUS_ADDRESS", none.c_str(), 1);
  }
}

void CleanupSandbox() {
  if (g_root.empty() || std::getenv("DV_KEEP_TEST_FILES")) return;
  std::error_code ec;
  std::filesystem::remove_all(g_root, ec);
}

const std::filesystem::path &SandboxRoot() { return g_root; }

std::filesystem::path MakeTempDir(const std::string &prefix) {
  auto p = g_root / (prefix + "-" + std::to_string(g_counter.fetch_add(1)));
  std::filesystem::create_directories(p);
  return p;
}

int FreeLoopbackPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  int port = -1;
  if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) {
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0) port = ntohs(addr.sin_port);
  }
  close(fd);
  return port;
}

std::filesystem::path BuildDir() {
  if (const char *d = std::getenv("DV_BUILD_DIR")) return d;
  // Tests run from bin/ when started by hand.
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) {
    buf[n] = 0;
    return std::filesystem::path(buf).parent_path().parent_path();
  }
  return std::filesystem::current_path();
}
std::filesystem::path BinDir() { return BuildDir() / "bin"; }
std::filesystem::path LibDir() { return BuildDir() / "lib"; }

std::string ReadFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::filesystem::path &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace testsupport
