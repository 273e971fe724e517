#include "shell/HeldLocks.h"

#include "shell/TrackedRecursiveMutex.h"

namespace shell {

namespace {

struct Record {
  std::array<TrackedRecursiveMutex *, HeldLocks::kCapacity> held{};
  std::size_t count = 0;
};

// Plain data: no constructor runs on first use, so a lock taken on any
// thread at any time finds its record ready.
thread_local Record t_record;

} // namespace

void HeldLocks::Added(TrackedRecursiveMutex *mutex) {
  Record &r = t_record;
  if (r.count < r.held.size()) r.held[r.count++] = mutex;
}

void HeldLocks::Removed(TrackedRecursiveMutex *mutex) {
  Record &r = t_record;
  // Locks are usually released in the reverse order of taking them.
  for (std::size_t i = r.count; i-- > 0;) {
    if (r.held[i] != mutex) continue;
    for (std::size_t j = i + 1; j < r.count; ++j)
      r.held[j - 1] = r.held[j];
    r.held[--r.count] = nullptr;
    return;
  }
}

HeldLocks::Snapshot HeldLocks::Take() {
  const Record &r = t_record;
  Snapshot snapshot;
  for (std::size_t i = 0; i < r.count; ++i)
    snapshot.holds[i] = Hold{r.held[i], r.held[i]->depth_};
  snapshot.count = r.count;
  return snapshot;
}

int HeldLocks::ReleaseSince(const Snapshot &before) {
  // Releasing changes the record: walk a copy of it.
  const Record now = t_record;
  int released = 0;
  for (std::size_t i = now.count; i-- > 0;) {
    TrackedRecursiveMutex *mutex = now.held[i];
    int keep = 0;
    for (std::size_t k = 0; k < before.count; ++k)
      if (before.holds[k].mutex == mutex) keep = before.holds[k].depth;
    released += mutex->ReleaseTo(keep);
  }
  return released;
}

std::size_t HeldLocks::Count() {
  return t_record.count;
}

} // namespace shell
