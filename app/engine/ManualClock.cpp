#include "ManualClock.h"

namespace engine {

ManualClock::ManualClock(std::int64_t startMs) : now_(startMs) {}

std::int64_t ManualClock::NowMs() const {
  return now_.load();
}

std::int64_t ManualClock::MonotonicMs() const {
  return monotonic_.load();
}

bool ManualClock::WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &cv,
                            std::int64_t deadlineMs, const std::function<bool()> &ready) {
  // The waiter list is never touched while the caller's mutex is held:
  // WakeAll takes the list lock first and each waiter's mutex second.
  std::list<Waiter>::iterator self;
  lock.unlock();
  {
    std::lock_guard<std::mutex> guard(waitersMutex_);
    self = waiters_.insert(waiters_.end(), Waiter{lock.mutex(), &cv});
  }
  lock.lock();
  bool result;
  for (;;) {
    if (ready()) {
      result = true;
      break;
    }
    if (MonotonicMs() >= deadlineMs) {
      result = false;
      break;
    }
    cv.wait(lock);
  }
  lock.unlock();
  {
    std::lock_guard<std::mutex> guard(waitersMutex_);
    waiters_.erase(self);
  }
  lock.lock();
  return result;
}

void ManualClock::SleepMs(std::int64_t) {}

void ManualClock::Advance(std::int64_t ms) {
  now_.fetch_add(ms);
  monotonic_.fetch_add(ms);
  WakeAll();
}

void ManualClock::StepWallClock(std::int64_t ms) {
  now_.store(ms);
}

void ManualClock::WakeAll() {
  std::lock_guard<std::mutex> guard(waitersMutex_);
  for (const Waiter &w : waiters_) {
    // Taking the waiter's own mutex orders this wake-up after its check of
    // the time: it either sees the new time or is already inside wait().
    { std::lock_guard<std::mutex> waiterLock(*w.mutex); }
    w.cv->notify_all();
  }
}

} // namespace engine
