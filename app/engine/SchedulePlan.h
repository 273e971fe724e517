#pragma once
// What the schedule dialog's OK turns its controls into: the recurrence and
// its parameters, the number of messages and the first send time's parts.

#include "SchedulingInfo.h"

#include <optional>

namespace engine {

enum class Recurrence { OnceOnly = 1, Daily = 2, Weekly = 3, Monthly = 4 };

struct SchedulePlan {
  Recurrence mode = Recurrence::OnceOnly;

  // First send time as chosen: month 1..12, day 1..31, hour 0..23, minute
  // 0..59; -1 keeps the current value (a list left at its label).
  int month = -1;
  int day = -1;
  int hour = -1;
  int minute = -1;

  // Daily: every `everyDays` days, or every weekday.
  bool everyWeekday = false;
  int everyDays = 1;

  // Weekly: every `everyWeeks` weeks on the days whose bit (1 << tm_wday,
  // Sunday = bit 0) is set.
  int everyWeeks = 1;
  unsigned weekdays = 0;

  // Monthly: day `dayOfMonth` of every `everyMonths` months, or (when
  // `byWeekday`) the `ordinal`-th (1..4) `weekday` (tm_wday) of every
  // `everyMonths` months.
  bool byWeekday = false;
  int dayOfMonth = 1;
  int ordinal = 1;
  int weekday = 1;
  int everyMonths = 1;

  // How many messages to create.
  int count = 1;

  // The plan of the dialog's controls; nothing when OK must do nothing (no
  // recurrence chosen, or Weekly without any day checked).
  static std::optional<SchedulePlan> FromInfo(const SchedulingInfo &info);
};

} // namespace engine
