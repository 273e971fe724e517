#pragma once
// Helpers every test may use: the per-process sandbox that the test main
// creates, fresh temporary folders, and free loopback ports.

#include <filesystem>
#include <string>

namespace testsupport {

// Root of this test process's sandbox (removed when the process ends).
// DOVETEXT_REGISTRY, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and
// HOME all point inside it, and DBUS_SESSION_BUS_ADDRESS at no bus (unless
// DV_PRIVATE_SESSION_BUS says the test already runs on a private one).
const std::filesystem::path &SandboxRoot();

// A new empty folder inside the sandbox.
std::filesystem::path MakeTempDir(const std::string &prefix = "tmp");

// A TCP port on 127.0.0.1 that was free when asked (bound, then released).
int FreeLoopbackPort();

// Folder of the build's binaries (bin/) and libraries (lib/).
std::filesystem::path BuildDir();
std::filesystem::path BinDir();
std::filesystem::path LibDir();

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path &path);
void WriteFile(const std::filesystem::path &path, const std::string &bytes);

} // namespace testsupport
