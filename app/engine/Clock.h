#pragma once
// The time source of the messaging engine. Everything that depends on the
// time of day or on the passing of time (the worker's one-minute rhythm, the
// polling schedule, escalation, the short sleeps after posting) asks a
// Clock, so tests can substitute a clock that they advance by hand.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace engine {

class Clock {
public:
  virtual ~Clock() = default;

  // Wall-clock time in milliseconds since 1970-01-01 UTC.
  virtual std::int64_t NowMs() const = 0;
  // Wall-clock time in whole seconds since 1970-01-01 UTC.
  std::int64_t Now() const { return NowMs() / 1000; }

  // Blocks on `cv` (with `lock` held on entry and on return) until `ready()`
  // is true or the clock has reached `deadlineMs`. Returns ready().
  virtual bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                         std::int64_t deadlineMs, const std::function<bool()> &ready) = 0;

  // Lets the calling thread yield for a short while (the pauses that give a
  // freshly woken worker the processor).
  virtual void SleepMs(std::int64_t ms) = 0;
};

// The system's real-time clock.
class SystemClock final : public Clock {
public:
  std::int64_t NowMs() const override;
  bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                 std::int64_t deadlineMs, const std::function<bool()> &ready) override;
  void SleepMs(std::int64_t ms) override;

  // The process's shared instance.
  static SystemClock &Instance();
};

} // namespace engine
