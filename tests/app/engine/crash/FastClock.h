#pragma once
// A clock that runs `speed` times faster than real time from the moment it
// is made, so the worker's one-minute ticks come every few real
// milliseconds while everything else runs for real.

#include "engine/Clock.h"

#include <chrono>
#include <thread>

namespace crashharness {

class FastClock final : public engine::Clock {
public:
  explicit FastClock(double speed)
      : speed_(speed), startMs_(engine::SystemClock::Instance().NowMs()),
        startReal_(std::chrono::steady_clock::now()) {}

  std::int64_t NowMs() const override {
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - startReal_)
            .count();
    return startMs_ + static_cast<std::int64_t>(elapsed * speed_);
  }

  // Nobody sets this clock: both sides run together.
  std::int64_t MonotonicMs() const override { return NowMs(); }

  bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                 std::int64_t deadlineMs, const std::function<bool()> &ready) override {
    while (!ready()) {
      const double left = static_cast<double>(deadlineMs - MonotonicMs()) / speed_;
      if (left <= 0) return false;
      cv.wait_for(lock, std::chrono::microseconds(static_cast<std::int64_t>(left * 1000) + 1));
    }
    return true;
  }

  void SleepMs(std::int64_t ms) override {
    if (ms > 0)
      std::this_thread::sleep_for(
          std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000 / speed_) + 1));
  }

private:
  double speed_;
  std::int64_t startMs_;
  std::chrono::steady_clock::time_point startReal_;
};

} // namespace crashharness
