#pragma once
// A re-entrant lock that knows how often the calling thread holds it, so
// the code that recovers from a fault in a guarded pass can release what
// the abandoned frames still held. Meets the Lockable requirements.

#include <atomic>
#include <mutex>
#include <thread>

namespace engine {

class TrackedRecursiveMutex {
public:
  void lock() {
    mutex_.lock();
    owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++depth_;
  }
  bool try_lock() {
    if (!mutex_.try_lock()) return false;
    owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++depth_;
    return true;
  }
  void unlock() {
    if (--depth_ == 0) owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
  }

  // True when the calling thread holds the lock.
  bool HeldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

  // Releases every hold of the calling thread; returns how many there were.
  int ReleaseAllHeldByThisThread() {
    if (!HeldByThisThread()) return 0;
    int count = depth_;
    depth_ = 0;
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    for (int i = 0; i < count; ++i)
      mutex_.unlock();
    return count;
  }

private:
  std::recursive_mutex mutex_;
  std::atomic<std::thread::id> owner_{};
  int depth_ = 0; // touched only by the owning thread
};

} // namespace engine
