#include "SendTimePlanner.h"

#include <ctime>

namespace engine {

namespace {

// Calendar arithmetic on proleptic Gregorian dates (days since 1970-01-01).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Date {
  int year;
  int month; // 1..12
  int day;   // 1..31
};

Date CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 0 = Sunday ... 6 = Saturday.
int WeekdayOf(std::int64_t days) {
  std::int64_t w = (days + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

struct TimeOfDay {
  int hour;
  int minute;
  int second;
};

// A calendar day (days since 1970) at a local time of day, as seconds.
class LocalCalendar {
public:
  explicit LocalCalendar(std::int64_t first) : first_(first) {
    std::time_t t = static_cast<std::time_t>(first);
    std::tm tm{};
    localtime_r(&t, &tm);
    firstDay_ = DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    tod_ = TimeOfDay{tm.tm_hour, tm.tm_min, tm.tm_sec};
  }

  std::int64_t FirstDay() const { return firstDay_; }

  std::int64_t ToTime(std::int64_t days) const {
    if (days == firstDay_) return first_;
    Date date = CivilFromDays(days);
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = tod_.hour;
    tm.tm_min = tod_.minute;
    tm.tm_sec = tod_.second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
  }

private:
  std::int64_t first_;
  std::int64_t firstDay_;
  TimeOfDay tod_{};
};

// The `ordinal`-th `weekday` of a month, as days since 1970.
std::int64_t NthWeekdayOfMonth(int year, int month, int ordinal, int weekday) {
  std::int64_t firstOfMonth = DaysFromCivil(year, month, 1);
  int offset = (weekday - WeekdayOf(firstOfMonth) + 7) % 7;
  return firstOfMonth + offset + 7 * (ordinal - 1);
}

void AddMonths(int &year, int &month, int count) {
  int index = year * 12 + (month - 1) + count;
  year = index / 12;
  month = index % 12 + 1;
}

} // namespace

std::int64_t SendTimePlanner::FirstSendTime(std::int64_t now, const SchedulePlan &plan) {
  std::time_t t = static_cast<std::time_t>(now);
  std::tm chosen{};
  localtime_r(&t, &chosen);
  if (plan.month >= 1) chosen.tm_mon = plan.month - 1;
  if (plan.day >= 1) chosen.tm_mday = plan.day;
  if (plan.hour >= 0) chosen.tm_hour = plan.hour;
  if (plan.minute >= 0) chosen.tm_min = plan.minute;
  chosen.tm_sec = 0;
  chosen.tm_isdst = -1;

  std::tm thisYear = chosen;
  std::int64_t result = static_cast<std::int64_t>(std::mktime(&thisYear));
  if (result < now - kGraceSeconds) {
    std::tm nextYear = chosen;
    nextYear.tm_year += 1;
    result = static_cast<std::int64_t>(std::mktime(&nextYear));
  }
  return result;
}

int SendTimePlanner::DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 31;
  int nextYear = year, nextMonth = month;
  AddMonths(nextYear, nextMonth, 1);
  return static_cast<int>(DaysFromCivil(nextYear, nextMonth, 1) - DaysFromCivil(year, month, 1));
}

int SendTimePlanner::RefilledDaySelection(int selectedDay, int days) {
  return selectedDay > days ? days : selectedDay;
}

std::vector<std::int64_t> SendTimePlanner::BuildSendTimes(const SchedulePlan &plan,
                                                          std::int64_t first) {
  std::vector<std::int64_t> times;
  const int n = plan.count < 1 ? 1 : plan.count;
  LocalCalendar calendar(first);
  std::int64_t day = calendar.FirstDay();

  switch (plan.mode) {
  case Recurrence::OnceOnly:
    times.push_back(first);
    break;

  case Recurrence::Daily:
    if (plan.everyWeekday) {
      for (int i = 0; i < n; ++i) {
        int wd = WeekdayOf(day);
        if (wd == 0)
          day += 1;
        else if (wd == 6)
          day += 2;
        times.push_back(calendar.ToTime(day));
        day += 1;
      }
    } else {
      const int every = plan.everyDays < 1 ? 1 : plan.everyDays;
      for (int i = 0; i < n; ++i)
        times.push_back(calendar.ToTime(day + static_cast<std::int64_t>(i) * every));
    }
    break;

  case Recurrence::Weekly: {
    const unsigned checked = plan.weekdays & 0x7Fu;
    if (checked == 0) break;
    const int every = plan.everyWeeks < 1 ? 1 : plan.everyWeeks;
    auto isChecked = [&](std::int64_t d) { return (checked >> WeekdayOf(d)) & 1u; };
    while (!isChecked(day))
      day += 1;
    for (int i = 0; i < n; ++i) {
      times.push_back(calendar.ToTime(day));
      // Advance day by day to the next checked day; each step from a Sunday
      // into the following Monday skips the weeks between two active weeks.
      do {
        bool fromSunday = WeekdayOf(day) == 0;
        day += 1;
        if (fromSunday) day += 7 * static_cast<std::int64_t>(every - 1);
      } while (!isChecked(day));
    }
    break;
  }

  case Recurrence::Monthly:
    if (plan.byWeekday) {
      Date start = CivilFromDays(day);
      int year = start.year, month = start.month;
      std::int64_t candidate = NthWeekdayOfMonth(year, month, plan.ordinal, plan.weekday);
      if (calendar.ToTime(candidate) < first) {
        AddMonths(year, month, 1);
        candidate = NthWeekdayOfMonth(year, month, plan.ordinal, plan.weekday);
      }
      const int every = plan.everyMonths < 1 ? 1 : plan.everyMonths;
      for (int i = 0; i < n; ++i) {
        times.push_back(calendar.ToTime(candidate));
        AddMonths(year, month, every);
        candidate = NthWeekdayOfMonth(year, month, plan.ordinal, plan.weekday);
      }
    } else {
      const int target = plan.dayOfMonth < 1 ? 1 : (plan.dayOfMonth > 31 ? 31 : plan.dayOfMonth);
      const int every = plan.everyMonths < 1 ? 1 : plan.everyMonths;
      while (CivilFromDays(day).day != target)
        day += 1;
      for (int i = 0; i < n; ++i) {
        times.push_back(calendar.ToTime(day));
        int seen = 0;
        while (seen < every) {
          day += 1;
          if (CivilFromDays(day).day == target) ++seen;
        }
      }
    }
    break;
  }
  return times;
}

} // namespace engine
