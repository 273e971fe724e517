#pragma once
// Per-account limit of accepted messages in a sliding window of simulated
// time. Not thread-safe: the gateway serialises access.

#include "AccountBook.h"

#include <gatewaysim/SimOptions.h>

#include <deque>
#include <map>

namespace gatewaysim {

class ThrottleWindow {
public:
  explicit ThrottleWindow(ThrottleConfig config) : config_(config) {}

  // True when one more message may be accepted now.
  bool Allows(AccountIndex account, int64_t nowMs);
  void Record(AccountIndex account, int64_t nowMs);
  void Configure(ThrottleConfig config);
  const ThrottleConfig &Config() const { return config_; }

private:
  void Trim(std::deque<int64_t> &times, int64_t nowMs) const;

  ThrottleConfig config_;
  std::map<AccountIndex, std::deque<int64_t>> accepted_;
};

} // namespace gatewaysim
