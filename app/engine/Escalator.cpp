#include "Escalator.h"

#include "WindowMessages.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace engine {

namespace {
constexpr int kStatPending = 0;
constexpr int kStatScheduled = 4;
constexpr int kStatDelayScheduled = 6;
constexpr int kSecondsPerDay = 86400;

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}
} // namespace

int Escalator::Run() {
  out_.PostProgress(UM_PROGRESS_ESCALATION);
  store::SmsStore &store = *services_.store;
  const std::int64_t now = services_.clock->Now();
  int made = 0;

  std::lock_guard table(store.MessageLock());
  auto escalate = [&](std::int64_t until, int status, int delay) {
    store::MessageSelection due;
    due.Time = store::IntRange{0, ClampToInt(until)};
    due.Stat = store::IntRange{status, status};
    due.Delay = store::IntRange{delay, delay};
    std::vector<int> ids = store.SelectIds(due);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
      if (store.SetSmsStatus(*it, kStatPending)) ++made;
  };
  escalate(now, kStatScheduled, 0);
  for (int k = 1; k <= 7; ++k)
    escalate(now + static_cast<std::int64_t>(k) * kSecondsPerDay, kStatDelayScheduled,
             k * kSecondsPerDay);
  return made;
}

} // namespace engine
