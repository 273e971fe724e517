#include "SchedulePlan.h"

#include <algorithm>

namespace engine {

namespace {

// A list value is an index; the lists behind these are 1-based counts
// ("1" at index 0), so the count is index + 1, kept inside the list's range.
int CountFromIndex(int index, int maxCount) {
  return std::clamp(index, 0, maxCount - 1) + 1;
}

} // namespace

std::optional<SchedulePlan> SchedulePlan::FromInfo(const SchedulingInfo &info) {
  using F = SchedulingInfo;
  SchedulePlan plan;

  // The mode is the last checked of the four recurrence buttons.
  int mode = 0;
  if (info[F::OnceOnly]) mode = 1;
  if (info[F::Daily]) mode = 2;
  if (info[F::Weekly]) mode = 3;
  if (info[F::Monthly]) mode = 4;
  if (mode == 0) return std::nullopt;
  plan.mode = static_cast<Recurrence>(mode);

  // Month, hour and minute lists carry a label at index 0; the day list's
  // index is the day itself.
  int m = info[F::MonthList];
  plan.month = (m >= 1 && m <= 12) ? m : -1;
  int d = info[F::DayList];
  plan.day = (d >= 1 && d <= 31) ? d : -1;
  int h = info[F::HourList];
  plan.hour = (h >= 1 && h <= 24) ? h - 1 : -1;
  int mi = info[F::MinuteList];
  plan.minute = (mi >= 1 && mi <= 60) ? mi - 1 : -1;

  plan.everyWeekday = info[F::EveryWeekday] != 0;
  plan.everyDays = CountFromIndex(info[F::DailyCountList], 14);

  plan.everyWeeks = CountFromIndex(info[F::WeeklyCountList], 4);
  const F::Field days[7] = {F::Sunday,   F::Monday, F::Tuesday, F::Wednesday,
                            F::Thursday, F::Friday, F::Saturday};
  for (int wday = 0; wday < 7; ++wday)
    if (info[days[wday]]) plan.weekdays |= 1u << wday;
  if (plan.mode == Recurrence::Weekly && plan.weekdays == 0) return std::nullopt;

  plan.byWeekday = info[F::MonthlyThe] != 0;
  plan.dayOfMonth = CountFromIndex(info[F::DayOfMonthList], 30);
  plan.ordinal = CountFromIndex(info[F::OrdinalList], 4);
  // The weekday list runs Monday ... Sunday; Sunday is weekday 0.
  plan.weekday = CountFromIndex(info[F::WeekdayList], 7) % 7;
  plan.everyMonths = CountFromIndex(
      plan.byWeekday ? info[F::MonthlyTheEveryList] : info[F::MonthlyDayEveryList], 12);

  plan.count = CountFromIndex(info[F::EndAfterList], 12);
  return plan;
}

} // namespace engine
