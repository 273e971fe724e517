#pragma once
// A re-entrant lock that knows which thread holds it and how often, and
// appears in that thread's HeldLocks record while it is held. The code that
// recovers from a fault in a guarded pass releases through that record what
// the abandoned frames still held. Meets the Lockable requirements.
//
// An optional abandon hook runs when the lock is released on behalf of
// abandoned frames, before it is released, on the thread that held it: the
// owner of the lock puts right what those frames left half done.

#include "shell/HeldLocks.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace shell {

class TrackedRecursiveMutex {
public:
  using AbandonHook = void (*)(void *context);

  TrackedRecursiveMutex() = default;
  TrackedRecursiveMutex(AbandonHook hook, void *context) : hook_(hook), context_(context) {}
  TrackedRecursiveMutex(const TrackedRecursiveMutex &) = delete;
  TrackedRecursiveMutex &operator=(const TrackedRecursiveMutex &) = delete;

  void lock() {
    mutex_.lock();
    Acquired();
  }
  bool try_lock() {
    if (!mutex_.try_lock()) return false;
    Acquired();
    return true;
  }
  void unlock() {
    if (--depth_ == 0) {
      owner_.store(std::thread::id(), std::memory_order_relaxed);
      HeldLocks::Removed(this);
    }
    mutex_.unlock();
  }

  // True when the calling thread holds the lock.
  bool HeldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }
  // How often the calling thread holds the lock (0 when it does not).
  int Depth() const { return HeldByThisThread() ? depth_ : 0; }

private:
  friend class HeldLocks;

  void Acquired() {
    if (depth_++ == 0) {
      owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
      HeldLocks::Added(this);
    }
  }
  // Runs the abandon hook, then releases the calling thread's holds down to
  // `keep`; returns how many were released.
  int ReleaseTo(int keep) {
    if (!HeldByThisThread() || depth_ <= keep) return 0;
    if (hook_ != nullptr) hook_(context_);
    int released = 0;
    while (depth_ > keep) {
      unlock();
      ++released;
    }
    return released;
  }

  std::recursive_mutex mutex_;
  std::atomic<std::thread::id> owner_{};
  int depth_ = 0; // touched only by the owning thread
  AbandonHook hook_ = nullptr;
  void *context_ = nullptr;
};

} // namespace shell
