#pragma once
// Simulated wall-clock time: runs `speed` times as fast as the real clock
// from a chosen start, and can be advanced or set at will. Time is in
// milliseconds since 1970.

#include <cstdint>
#include <functional>
#include <mutex>

namespace gatewaysim {

class SimClock {
public:
  using RealSource = std::function<int64_t()>; // monotonic milliseconds

  // `startMs` < 0 starts at the current real wall-clock time.
  SimClock(double speed, int64_t startMs, RealSource real = {});

  int64_t NowMs() const;
  double Speed() const;
  void SetSpeed(double speed);
  void AdvanceMs(int64_t deltaMs);
  void SetNowMs(int64_t nowMs);

  static int64_t SteadyMs();
  static int64_t WallMs();

private:
  int64_t NowLocked(int64_t real) const;

  mutable std::mutex mutex_;
  RealSource real_;
  double speed_;
  int64_t baseSim_;
  int64_t baseReal_;
};

} // namespace gatewaysim
