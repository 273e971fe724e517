#include "ThrottleWindow.h"

namespace gatewaysim {

void ThrottleWindow::Trim(std::deque<int64_t> &times, int64_t nowMs) const {
  while (!times.empty() && times.front() <= nowMs - config_.windowMs)
    times.pop_front();
}

bool ThrottleWindow::Allows(AccountIndex account, int64_t nowMs) {
  if (config_.maxMessages <= 0) return true;
  auto &times = accepted_[account];
  Trim(times, nowMs);
  return times.size() < static_cast<size_t>(config_.maxMessages);
}

void ThrottleWindow::Record(AccountIndex account, int64_t nowMs) {
  if (config_.maxMessages <= 0) return;
  auto &times = accepted_[account];
  times.push_back(nowMs);
  Trim(times, nowMs);
}

void ThrottleWindow::Configure(ThrottleConfig config) {
  config_ = config;
  accepted_.clear();
}

} // namespace gatewaysim
