#pragma once
// The single-instance check: the lock "Dovetext3Mutex" (a lock file in
// $XDG_RUNTIME_DIR), held for the whole run. When another process holds it,
// that instance is sent the probe; it answers 0x6D2E41F3 and brings its
// window to the front.

#include <lockfile/LockFile.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace ui {

class InstanceGuard {
public:
  static constexpr const char *kMutexName = "Dovetext3Mutex";
  static constexpr int kProbeTimeoutMs = 3000;

  enum class Outcome {
    Acquired,      // this is the only instance; the lock is held
    OtherInstance, // another instance runs (it was probed)
    Failed,        // the lock could not be made
  };

  Outcome Acquire();
  // Whether the other instance answered the probe with 0x6D2E41F3.
  bool OtherAnswered() const { return otherAnswered_; }
  bool IsHeld() const { return lock_ && lock_->IsHeld(); }
  void Release() { lock_.reset(); }

  // Sends the probe to the running instance; its answer, or nothing when
  // nobody answered in time.
  static std::optional<std::uint32_t> Probe(int timeoutMs = kProbeTimeoutMs);

private:
  std::unique_ptr<lockfile::LockFile> lock_;
  bool otherAnswered_ = false;
};

} // namespace ui
