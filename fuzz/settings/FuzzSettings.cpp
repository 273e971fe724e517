// Feeds arbitrary bytes to the settings loader as the file SMS.dat, then
// checks that what was loaded survives a save and a reload unchanged.
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const int fd = ::memfd_create("SMS.dat", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (::ftruncate(fd, 0) != 0) return 0;
  std::size_t written = 0;
  while (written < size) {
    ssize_t n = ::pwrite(fd, data + written, size - written, static_cast<off_t>(written));
    if (n <= 0) return 0;
    written += static_cast<std::size_t>(n);
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  shell::SettingsFile file(path, false);
  shell::Settings settings;
  shell::LoadSettings(file, settings);
  if (settings.NumRecent < 0 || settings.NumRecent > shell::kMaxRecent) std::abort();
  if (settings.ProxyType < 1 || settings.ProxyType > 4) std::abort();

  const auto again = shell::SettingsFile::Parse(shell::SettingsFile::Serialize(file.Entries()));
  if (again != file.Entries()) std::abort();
  return 0;
}
