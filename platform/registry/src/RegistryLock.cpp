#include "RegistryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace registry {

RegistryLock::RegistryLock(const std::filesystem::path &lockFile, Mode mode) {
  fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0 && mode == Mode::Shared) fd_ = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  int op = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
  int rc;
  do {
    rc = ::flock(fd_, op);
  } while (rc != 0 && errno == EINTR);
  held_ = rc == 0;
}

RegistryLock::~RegistryLock() {
  // Closing the descriptor releases the lock.
  if (fd_ >= 0) ::close(fd_);
}

} // namespace registry
