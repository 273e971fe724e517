#pragma once
// The time source of the messaging engine. Everything that depends on the
// time of day or on the passing of time (the worker's one-minute rhythm, the
// polling schedule, escalation, the short sleeps after posting) asks a
// Clock, so tests can substitute a clock that they advance by hand.
//
// A clock has two sides. The wall clock (NowMs, Now) is the time of day:
// message times, query times and escalation compare with it, and the user
// or a time service may set it forwards or back at any moment. The
// monotonic side (MonotonicMs) only ever moves forward with the passing of
// time: waits are measured on it, so setting the wall clock neither stalls
// nor hurries the worker's rhythm.

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
  // Milliseconds on the monotonic side, from an arbitrary origin.
  virtual std::int64_t MonotonicMs() const = 0;

  // Blocks on `cv` (with `lock` held on entry and on return) until `ready()`
  // is true or the monotonic side has reached `deadlineMs`. Returns ready().
  virtual bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                         std::int64_t deadlineMs, const std::function<bool()> &ready) = 0;

  // Lets the calling thread yield for a short while (the pauses that give a
  // freshly woken worker the processor).
  virtual void SleepMs(std::int64_t ms) = 0;
};

// The system's real-time clock and its steady clock.
class SystemClock final : public Clock {
public:
  std::int64_t NowMs() const override;
  std::int64_t MonotonicMs() const override;
  bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                 std::int64_t deadlineMs, const std::function<bool()> &ready) override;
  void SleepMs(std::int64_t ms) override;

  // The process's shared instance.
  static SystemClock &Instance();
};

} // namespace engine
