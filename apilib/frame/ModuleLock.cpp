#include "frame/ModuleLock.h"

#include <atomic>

namespace parlink::frame {

namespace {
std::atomic<long> g_locks{0};
}

void ModuleLock::Lock() {
  g_locks.fetch_add(1, std::memory_order_acq_rel);
}

void ModuleLock::Unlock() {
  long current = g_locks.load(std::memory_order_acquire);
  while (current > 0 &&
         !g_locks.compare_exchange_weak(current, current - 1, std::memory_order_acq_rel)) {
  }
}

long ModuleLock::Count() {
  return g_locks.load(std::memory_order_acquire);
}

} // namespace parlink::frame
