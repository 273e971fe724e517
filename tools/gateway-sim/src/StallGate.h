#pragma once
// Where stalled and delayed requests wait: until their time is up, until
// the stalls are released, or until the server stops. Thread-safe.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace gatewaysim {

class StallGate {
public:
  enum class Wake { TimeUp, Released, Stopping };

  Wake Wait(int64_t ms);
  // Wakes every waiting request (they then go on as if their time was up).
  void ReleaseAll();
  // Wakes every waiting request and lets no new one wait.
  void Stop();
  void Restart();
  int Waiting() const;

private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  uint64_t generation_ = 0;
  bool stopping_ = false;
  int waiting_ = 0;
};

} // namespace gatewaysim
