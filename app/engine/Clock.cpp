#include "Clock.h"

#include <chrono>
#include <thread>

namespace engine {

std::int64_t SystemClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t SystemClock::MonotonicMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                            std::int64_t deadlineMs, const std::function<bool()> &ready) {
  const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMs)};
  return cv.wait_until(lock, deadline, ready);
}

void SystemClock::SleepMs(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemClock &SystemClock::Instance() {
  static SystemClock clock;
  return clock;
}

} // namespace engine
