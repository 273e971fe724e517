#pragma once
// The registry's advisory lock: flock on one file in the root folder,
// shared for readers and exclusive for writers. The system drops it when
// the holder dies, so a crash never leaves the registry locked.

#include <filesystem>

namespace registry {

class RegistryLock {
public:
  enum class Mode { Shared, Exclusive };

  // Blocks until the lock is held. A writer creates the lock file (and the
  // root folder); a reader that cannot open it proceeds without a lock.
  RegistryLock(const std::filesystem::path &lockFile, Mode mode);
  ~RegistryLock();
  RegistryLock(const RegistryLock &) = delete;
  RegistryLock &operator=(const RegistryLock &) = delete;

  bool Held() const { return held_; }

private:
  int fd_ = -1;
  bool held_ = false;
};

} // namespace registry
