#pragma once
// The schedule dialog's remembered state (the `SchedulingInfo` setting): 27
// integers joined by commas. A list control stores its selected index, a
// button its check state (0 or 1).

#include <array>
#include <string>
#include <string_view>

namespace engine {

struct SchedulingInfo {
  enum Field : int {
    MonthList = 0,
    DayList = 1,
    HourList = 2,
    MinuteList = 3,
    OnceOnly = 4,
    Daily = 5,
    Weekly = 6,
    Monthly = 7,
    DailyCountList = 8,
    DailyEvery = 9,
    EveryWeekday = 10,
    WeeklyCountList = 11,
    Monday = 12,
    Tuesday = 13,
    Wednesday = 14,
    Thursday = 15,
    Friday = 16,
    Saturday = 17,
    Sunday = 18,
    MonthlyDay = 19,
    DayOfMonthList = 20,
    MonthlyDayEveryList = 21,
    MonthlyThe = 22,
    OrdinalList = 23,
    WeekdayList = 24,
    MonthlyTheEveryList = 25,
    EndAfterList = 26,
  };
  static constexpr int kCount = 27;

  std::array<int, kCount> values{};

  int &operator[](Field f) { return values[f]; }
  int operator[](Field f) const { return values[f]; }

  // "%d,%d,...,%d" with all 27 values.
  std::string Encode() const;

  // Reads the values in order. An empty text gives false and leaves every
  // value 0 (the dialog then shows its defaults). Values beyond the 27th are
  // ignored; missing ones stay 0; a piece that is not a number reads as 0.
  bool Decode(std::string_view text);

  // The state of a dialog opened without a remembered state: "Once Only",
  // the daily "Every" radio and the monthly "Day" radio checked.
  static SchedulingInfo Defaults();
};

} // namespace engine
