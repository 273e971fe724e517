#include "SimClock.h"

#include <chrono>
#include <cmath>

namespace gatewaysim {

namespace {
double SaneSpeed(double speed) {
  return std::isfinite(speed) && speed > 0 ? speed : 0.0;
}
} // namespace

SimClock::SimClock(double speed, int64_t startMs, RealSource real)
    : real_(real ? std::move(real) : RealSource(&SimClock::SteadyMs)), speed_(SaneSpeed(speed)),
      baseSim_(startMs >= 0 ? startMs : WallMs()), baseReal_(real_()) {}

int64_t SimClock::SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t SimClock::WallMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

int64_t SimClock::NowLocked(int64_t real) const {
  double elapsed = static_cast<double>(real - baseReal_) * speed_;
  return baseSim_ + static_cast<int64_t>(elapsed);
}

int64_t SimClock::NowMs() const {
  std::lock_guard lock(mutex_);
  return NowLocked(real_());
}

double SimClock::Speed() const {
  std::lock_guard lock(mutex_);
  return speed_;
}

void SimClock::SetSpeed(double speed) {
  std::lock_guard lock(mutex_);
  int64_t real = real_();
  baseSim_ = NowLocked(real);
  baseReal_ = real;
  speed_ = SaneSpeed(speed);
}

void SimClock::AdvanceMs(int64_t deltaMs) {
  std::lock_guard lock(mutex_);
  baseSim_ += deltaMs;
}

void SimClock::SetNowMs(int64_t nowMs) {
  std::lock_guard lock(mutex_);
  baseSim_ = nowMs;
  baseReal_ = real_();
}

} // namespace gatewaysim
