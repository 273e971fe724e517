#include "Clock.h"

#include <chrono>
#include <thread>

namespace engine {

std::int64_t SystemClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                            std::int64_t deadlineMs, const std::function<bool()> &ready) {
  // The deadline is wall-clock time, but waiting on the monotonic clock keeps
  // a changed system time from stretching one wait; the loop re-reads the
  // wall clock after every wake-up.
  while (!ready()) {
    std::int64_t left = deadlineMs - NowMs();
    if (left <= 0) return false;
    cv.wait_for(lock, std::chrono::milliseconds(left));
  }
  return true;
}

void SystemClock::SleepMs(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemClock &SystemClock::Instance() {
  static SystemClock clock;
  return clock;
}

} // namespace engine
