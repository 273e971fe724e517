#pragma once
// The send times of a scheduled message, computed in local time (the time
// zone comes from the environment, TZ). Days are calendar days: a daily
// message keeps its time of day across a change to or from summer time.

#include "SchedulePlan.h"

#include <cstdint>
#include <vector>

namespace engine {

class SendTimePlanner {
public:
  // Seconds a chosen time may lie in the past and still be used this year.
  static constexpr std::int64_t kGraceSeconds = 3600;

  // The first send time: the current local time with month, day, hour and
  // minute replaced by the chosen ones (-1 keeps the current one) and the
  // seconds set to 0; moved one year ahead when it lies more than
  // kGraceSeconds before `now`.
  static std::int64_t FirstSendTime(std::int64_t now, const SchedulePlan &plan);

  // Number of days of `month` (1..12) of `year`; 31 for month 0 (none
  // chosen).
  static int DaysInMonth(int year, int month);

  // The day list's selection after a refill for a month with `days` days:
  // the selected day stays unless it is too large, then the last day is
  // selected. 0 (nothing selected) stays 0.
  static int RefilledDaySelection(int selectedDay, int days);

  // The send times of the plan starting at `first`: plan.count times.
  static std::vector<std::int64_t> BuildSendTimes(const SchedulePlan &plan, std::int64_t first);
};

} // namespace engine
