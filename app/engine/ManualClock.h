#pragma once
// A clock that stands still until it is told to move. Waits on it end when
// their condition holds or when Advance carries the time past their
// deadline, so a test can run a day of one-minute ticks in milliseconds.
// StepWallClock sets the time of day without time passing, as when the
// system time is set. Sleeps return at once.

#include "Clock.h"

#include <atomic>
#include <list>
#include <mutex>

namespace engine {

class ManualClock final : public Clock {
public:
  explicit ManualClock(std::int64_t startMs = 0);

  std::int64_t NowMs() const override;
  std::int64_t MonotonicMs() const override;
  bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                 std::int64_t deadlineMs, const std::function<bool()> &ready) override;
  void SleepMs(std::int64_t ms) override;

  // Lets `ms` pass: both sides move forward, and every waiter wakes to
  // compare its deadline with the new time.
  void Advance(std::int64_t ms);
  // Sets the wall clock to `ms` (forwards or back); the monotonic side
  // stays where it is.
  void StepWallClock(std::int64_t ms);

private:
  struct Waiter {
    std::mutex *mutex;
    std::condition_variable *cv;
  };
  void WakeAll();

  std::atomic<std::int64_t> now_;
  std::atomic<std::int64_t> monotonic_{0};
  std::mutex waitersMutex_;
  std::list<Waiter> waiters_;
};

} // namespace engine
