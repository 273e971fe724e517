#include "StallGate.h"

#include <chrono>

namespace gatewaysim {

StallGate::Wake StallGate::Wait(int64_t ms) {
  std::unique_lock lock(mutex_);
  if (stopping_) return Wake::Stopping;
  uint64_t generation = generation_;
  ++waiting_;
  bool woken = wake_.wait_for(lock, std::chrono::milliseconds(ms > 0 ? ms : 0),
                              [&] { return stopping_ || generation_ != generation; });
  --waiting_;
  if (!woken) return Wake::TimeUp;
  return stopping_ ? Wake::Stopping : Wake::Released;
}

void StallGate::ReleaseAll() {
  std::lock_guard lock(mutex_);
  ++generation_;
  wake_.notify_all();
}

void StallGate::Stop() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
}

void StallGate::Restart() {
  std::lock_guard lock(mutex_);
  stopping_ = false;
}

int StallGate::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

} // namespace gatewaysim
