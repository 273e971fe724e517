#pragma once
// The tracked locks (TrackedRecursiveMutex) the calling thread holds, in the
// order it took them, with how often it holds each.
//
// Code that leaves frames without unwinding them (the fault guard's jump
// back over a faulting pass) uses it to release what those frames held: it
// takes a snapshot before running them and, when they are abandoned,
// releases every hold taken since, the newest first. Each released lock's
// abandon hook runs first, while the lock is still held, so the state the
// lock guards can be put right before another thread sees it.
//
// The record is per thread and fixed in size: a thread that holds more than
// kCapacity tracked locks at once still locks and unlocks them correctly,
// but the ones beyond the capacity are not released for it.

#include <array>
#include <cstddef>

namespace shell {

class TrackedRecursiveMutex;

class HeldLocks {
public:
  static constexpr std::size_t kCapacity = 16;

  struct Hold {
    TrackedRecursiveMutex *mutex = nullptr;
    int depth = 0;
  };
  // What the calling thread held at one moment.
  struct Snapshot {
    std::array<Hold, kCapacity> holds{};
    std::size_t count = 0;
  };

  static Snapshot Take();
  // Releases, newest first, every hold the calling thread took after
  // `before`: a lock it did not hold then is released completely, a lock it
  // held then goes back to the depth it had. Returns the number of holds
  // released.
  static int ReleaseSince(const Snapshot &before);
  // How many distinct tracked locks the calling thread holds.
  static std::size_t Count();

private:
  friend class TrackedRecursiveMutex;
  static void Added(TrackedRecursiveMutex *mutex);
  static void Removed(TrackedRecursiveMutex *mutex);
};

} // namespace shell
