// Scheduling without the dialog: the remembered dialog state, the first
// send time, the day list, every recurrence's send times and the queueing of
// the occurrences.
#include "engine/SchedulePlan.h"
#include "engine/ScheduledQueueing.h"
#include "engine/SchedulingInfo.h"
#include "engine/SendTimePlanner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace engine;

namespace {

void UseTimeZone(const char *tz) {
  setenv("TZ", tz, 1);
  tzset();
}

std::int64_t Local(int y, int mo, int d, int h = 9, int mi = 0, int s = 0) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}

std::tm Parts(std::int64_t t) {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&tt, &tm);
  return tm;
}

std::string Day(std::int64_t t) {
  std::tm tm = Parts(t);
  char buf[32];
  std::strftime(buf, sizeof(buf), "%a %Y-%m-%d %H:%M", &tm);
  return buf;
}

std::vector<std::string> Days(const std::vector<std::int64_t> &times) {
  std::vector<std::string> out;
  for (std::int64_t t : times)
    out.push_back(Day(t));
  return out;
}

class SchedulingTest : public ::testing::Test {
protected:
  void SetUp() override { UseTimeZone("UTC"); }
};

} // namespace

TEST_F(SchedulingTest, InfoEncodesAndDecodesTwentySevenValues) {
  SchedulingInfo info;
  for (int i = 0; i < SchedulingInfo::kCount; ++i)
    info.values[i] = i * 3 - 5;
  std::string text = info.Encode();
  EXPECT_EQ(text.substr(0, 10), "-5,-2,1,4,");
  EXPECT_EQ(std::count(text.begin(), text.end(), ','), 26);

  SchedulingInfo back;
  ASSERT_TRUE(back.Decode(text));
  EXPECT_EQ(back.values, info.values);
}

TEST_F(SchedulingTest, InfoDecodeToleratesShortLongAndDamagedTexts) {
  SchedulingInfo info;
  EXPECT_FALSE(info.Decode(""));
  EXPECT_EQ(info[SchedulingInfo::OnceOnly], 0);

  ASSERT_TRUE(info.Decode("3,12,x,,7"));
  EXPECT_EQ(info[SchedulingInfo::MonthList], 3);
  EXPECT_EQ(info[SchedulingInfo::DayList], 12);
  EXPECT_EQ(info[SchedulingInfo::HourList], 0);
  EXPECT_EQ(info[SchedulingInfo::MinuteList], 0);
  EXPECT_EQ(info[SchedulingInfo::OnceOnly], 7);
  EXPECT_EQ(info[SchedulingInfo::EndAfterList], 0);

  std::string longer;
  for (int i = 0; i < 40; ++i)
    longer += std::to_string(i + 1) + ",";
  ASSERT_TRUE(info.Decode(longer));
  EXPECT_EQ(info[SchedulingInfo::EndAfterList], 27);

  ASSERT_TRUE(info.Decode("99999999999999999999"));
  EXPECT_EQ(info[SchedulingInfo::MonthList], INT_MAX);
}

TEST_F(SchedulingTest, EmptyStateOpensWithOnceOnly) {
  SchedulingInfo info = SchedulingInfo::Defaults();
  EXPECT_EQ(info[SchedulingInfo::OnceOnly], 1);
  EXPECT_EQ(info[SchedulingInfo::DailyEvery], 1);
  EXPECT_EQ(info[SchedulingInfo::MonthlyDay], 1);
  std::optional<SchedulePlan> plan = SchedulePlan::FromInfo(info);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->mode, Recurrence::OnceOnly);
  EXPECT_EQ(plan->count, 1);
}

TEST_F(SchedulingTest, PlanReadsTheListsBehindTheirLabels) {
  SchedulingInfo info;
  info[SchedulingInfo::MonthList] = 2;   // February
  info[SchedulingInfo::DayList] = 14;    // day 14
  info[SchedulingInfo::HourList] = 1;    // "00"
  info[SchedulingInfo::MinuteList] = 31; // "30"
  info[SchedulingInfo::OnceOnly] = 1;
  info[SchedulingInfo::Monthly] = 1; // the last checked wins
  info[SchedulingInfo::MonthlyThe] = 1;
  info[SchedulingInfo::OrdinalList] = 2;         // 3rd
  info[SchedulingInfo::WeekdayList] = 6;         // Sunday
  info[SchedulingInfo::MonthlyTheEveryList] = 1; // every 2 months
  info[SchedulingInfo::EndAfterList] = 11;       // 12 messages
  std::optional<SchedulePlan> plan = SchedulePlan::FromInfo(info);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->mode, Recurrence::Monthly);
  EXPECT_EQ(plan->month, 2);
  EXPECT_EQ(plan->day, 14);
  EXPECT_EQ(plan->hour, 0);
  EXPECT_EQ(plan->minute, 30);
  EXPECT_TRUE(plan->byWeekday);
  EXPECT_EQ(plan->ordinal, 3);
  EXPECT_EQ(plan->weekday, 0);
  EXPECT_EQ(plan->everyMonths, 2);
  EXPECT_EQ(plan->count, 12);

  // Lists left at their labels keep the current values.
  SchedulingInfo labels;
  labels[SchedulingInfo::OnceOnly] = 1;
  plan = SchedulePlan::FromInfo(labels);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->month, -1);
  EXPECT_EQ(plan->day, -1);
  EXPECT_EQ(plan->hour, -1);
  EXPECT_EQ(plan->minute, -1);
}

TEST_F(SchedulingTest, OkDoesNothingWithoutModeOrWeekday) {
  SchedulingInfo none;
  EXPECT_FALSE(SchedulePlan::FromInfo(none));
  SchedulingInfo weekly;
  weekly[SchedulingInfo::Weekly] = 1;
  EXPECT_FALSE(SchedulePlan::FromInfo(weekly));
  weekly[SchedulingInfo::Thursday] = 1;
  std::optional<SchedulePlan> plan = SchedulePlan::FromInfo(weekly);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->weekdays, 1u << 4);
}

TEST_F(SchedulingTest, OutOfRangeStoredValuesStayInsideTheLists) {
  SchedulingInfo info;
  info[SchedulingInfo::Daily] = 1;
  info[SchedulingInfo::DailyCountList] = 500;
  info[SchedulingInfo::EndAfterList] = -4;
  info[SchedulingInfo::HourList] = 99;
  std::optional<SchedulePlan> plan = SchedulePlan::FromInfo(info);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->everyDays, 14);
  EXPECT_EQ(plan->count, 1);
  EXPECT_EQ(plan->hour, -1);
}

TEST_F(SchedulingTest, FirstTimeWithinTheGraceIsTodayOtherwiseNextYear) {
  const std::int64_t now = Local(2024, 3, 1, 12, 0, 17);
  SchedulePlan plan;
  plan.month = 3;
  plan.day = 1;
  plan.hour = 11;
  plan.minute = 30;
  EXPECT_EQ(SendTimePlanner::FirstSendTime(now, plan), Local(2024, 3, 1, 11, 30));

  plan.hour = 10;
  plan.minute = 0;
  EXPECT_EQ(SendTimePlanner::FirstSendTime(now, plan), Local(2025, 3, 1, 10, 0));

  // Exactly an hour before now (to the second) still counts as this year.
  plan.hour = 11;
  plan.minute = 0;
  EXPECT_EQ(SendTimePlanner::FirstSendTime(Local(2024, 3, 1, 12, 0, 0), plan),
            Local(2024, 3, 1, 11, 0));

  // Lists at their labels keep the current value; the seconds become 0.
  SchedulePlan keep;
  EXPECT_EQ(SendTimePlanner::FirstSendTime(now, keep), Local(2024, 3, 1, 12, 0, 0));
  keep.hour = 18;
  EXPECT_EQ(SendTimePlanner::FirstSendTime(now, keep), Local(2024, 3, 1, 18, 0, 0));
}

TEST_F(SchedulingTest, DayListHasTheDaysOfTheMonthOfThatYear) {
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 2), 29);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2023, 2), 28);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2100, 2), 28);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2000, 2), 29);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 4), 30);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 12), 31);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 0), 31);
  // A month that starts summer time is still 31 days long.
  UseTimeZone("Europe/Berlin");
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 3), 31);
  EXPECT_EQ(SendTimePlanner::DaysInMonth(2024, 10), 31);
}

TEST_F(SchedulingTest, FebruaryThirtiethFallsBackToTheLastDay) {
  // The dialog remembered day 30; choosing February refills the day list.
  int days = SendTimePlanner::DaysInMonth(2023, 2);
  EXPECT_EQ(SendTimePlanner::RefilledDaySelection(30, days), 28);
  EXPECT_EQ(SendTimePlanner::RefilledDaySelection(15, days), 15);
  EXPECT_EQ(SendTimePlanner::RefilledDaySelection(0, days), 0);

  SchedulePlan plan;
  plan.month = 2;
  plan.day = SendTimePlanner::RefilledDaySelection(30, days);
  plan.hour = 8;
  plan.minute = 0;
  EXPECT_EQ(Day(SendTimePlanner::FirstSendTime(Local(2023, 1, 10), plan)), "Tue 2023-02-28 08:00");

  // Monthly on day 30 passes over February.
  SchedulePlan monthly;
  monthly.mode = Recurrence::Monthly;
  monthly.dayOfMonth = 30;
  monthly.everyMonths = 1;
  monthly.count = 4;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(monthly, Local(2025, 1, 15))),
            (std::vector<std::string>{"Thu 2025-01-30 09:00", "Sun 2025-03-30 09:00",
                                      "Wed 2025-04-30 09:00", "Fri 2025-05-30 09:00"}));
}

TEST_F(SchedulingTest, OnceAndEveryNDays) {
  SchedulePlan once;
  once.count = 5; // ignored for once only
  std::int64_t t = Local(2024, 3, 1, 9, 15);
  EXPECT_EQ(SendTimePlanner::BuildSendTimes(once, t), std::vector<std::int64_t>{t});

  SchedulePlan daily;
  daily.mode = Recurrence::Daily;
  daily.everyDays = 3;
  daily.count = 3;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(daily, t)),
            (std::vector<std::string>{"Fri 2024-03-01 09:15", "Mon 2024-03-04 09:15",
                                      "Thu 2024-03-07 09:15"}));
}

TEST_F(SchedulingTest, EveryWeekdayFromASaturdaySkipsTheWeekend) {
  SchedulePlan plan;
  plan.mode = Recurrence::Daily;
  plan.everyWeekday = true;
  plan.count = 7;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 2, 7, 45))),
            (std::vector<std::string>{"Mon 2024-03-04 07:45", "Tue 2024-03-05 07:45",
                                      "Wed 2024-03-06 07:45", "Thu 2024-03-07 07:45",
                                      "Fri 2024-03-08 07:45", "Mon 2024-03-11 07:45",
                                      "Tue 2024-03-12 07:45"}));
  // From a Sunday the first is the Monday.
  plan.count = 1;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 3, 7, 45))),
            (std::vector<std::string>{"Mon 2024-03-04 07:45"}));
}

TEST_F(SchedulingTest, WeeklyEveryWeekOnCheckedDays) {
  SchedulePlan plan;
  plan.mode = Recurrence::Weekly;
  plan.everyWeeks = 1;
  plan.weekdays = (1u << 1) | (1u << 3); // Monday, Wednesday
  plan.count = 4;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 1))),
            (std::vector<std::string>{"Mon 2024-03-04 09:00", "Wed 2024-03-06 09:00",
                                      "Mon 2024-03-11 09:00", "Wed 2024-03-13 09:00"}));
}

TEST_F(SchedulingTest, WeeklyEveryTwoWeeksWithoutSundaySkipsAWeek) {
  SchedulePlan plan;
  plan.mode = Recurrence::Weekly;
  plan.everyWeeks = 2;
  plan.weekdays = (1u << 1) | (1u << 3); // Monday, Wednesday
  plan.count = 5;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 1))),
            (std::vector<std::string>{"Mon 2024-03-04 09:00", "Wed 2024-03-06 09:00",
                                      "Mon 2024-03-18 09:00", "Wed 2024-03-20 09:00",
                                      "Mon 2024-04-01 09:00"}));
}

namespace {

// The weeks rule as it was first written: the extra weeks follow only a
// recorded Sunday.
std::vector<std::int64_t> WeeklyWithSundayRule(std::int64_t t, unsigned days, int every, int n) {
  auto wday = [](std::int64_t x) { return Parts(x).tm_wday; };
  auto checked = [&](std::int64_t x) { return (days >> wday(x)) & 1u; };
  std::vector<std::int64_t> out;
  while (!checked(t))
    t += 86400;
  for (int i = 0; i < n; ++i) {
    out.push_back(t);
    if (wday(t) == 0) t += static_cast<std::int64_t>(every - 1) * 7 * 86400;
    do
      t += 86400;
    while (!checked(t));
  }
  return out;
}

} // namespace

TEST_F(SchedulingTest, WeeklyWithSundayCheckedMatchesTheSundayRule) {
  const unsigned sets[] = {1u | (1u << 2), 1u, 1u | (1u << 6) | (1u << 3), 0x7Fu};
  for (unsigned days : sets) {
    for (int every = 1; every <= 4; ++every) {
      for (int startDay = 1; startDay <= 7; ++startDay) {
        SchedulePlan plan;
        plan.mode = Recurrence::Weekly;
        plan.everyWeeks = every;
        plan.weekdays = days;
        plan.count = 9;
        std::int64_t t = Local(2024, 3, startDay, 10, 0);
        EXPECT_EQ(SendTimePlanner::BuildSendTimes(plan, t), WeeklyWithSundayRule(t, days, every, 9))
            << "days " << days << " every " << every << " start " << startDay;
      }
    }
  }
}

TEST_F(SchedulingTest, MonthlyDayOfEveryTwoMonths) {
  SchedulePlan plan;
  plan.mode = Recurrence::Monthly;
  plan.dayOfMonth = 15;
  plan.everyMonths = 2;
  plan.count = 3;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 20, 8, 0))),
            (std::vector<std::string>{"Mon 2024-04-15 08:00", "Sat 2024-06-15 08:00",
                                      "Thu 2024-08-15 08:00"}));
}

TEST_F(SchedulingTest, MonthlyKthWeekday) {
  SchedulePlan plan;
  plan.mode = Recurrence::Monthly;
  plan.byWeekday = true;
  plan.ordinal = 2;
  plan.weekday = 2; // Tuesday
  plan.everyMonths = 1;
  plan.count = 3;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 1, 9, 0))),
            (std::vector<std::string>{"Tue 2024-03-12 09:00", "Tue 2024-04-09 09:00",
                                      "Tue 2024-05-14 09:00"}));
  // Already past this month's: the next month's.
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 20, 9, 0))).front(),
            "Tue 2024-04-09 09:00");
  // The first Sunday every three months, across a year end.
  plan.ordinal = 1;
  plan.weekday = 0;
  plan.everyMonths = 3;
  EXPECT_EQ(Days(SendTimePlanner::BuildSendTimes(plan, Local(2024, 11, 1, 9, 0))),
            (std::vector<std::string>{"Sun 2024-11-03 09:00", "Sun 2025-02-02 09:00",
                                      "Sun 2025-05-04 09:00"}));
}

TEST_F(SchedulingTest, DailyKeepsTheTimeOfDayAcrossSummerTime) {
  UseTimeZone("Europe/Berlin");
  SchedulePlan plan;
  plan.mode = Recurrence::Daily;
  plan.everyDays = 1;
  plan.count = 3;
  std::vector<std::int64_t> times = SendTimePlanner::BuildSendTimes(plan, Local(2024, 3, 30, 9, 0));
  ASSERT_EQ(times.size(), 3u);
  for (std::int64_t t : times)
    EXPECT_EQ(Parts(t).tm_hour, 9) << Day(t);
  EXPECT_EQ(times[2] - times[1], 86400);
  EXPECT_EQ(times[1] - times[0], 86400 - 3600);
}

namespace {

struct QueuedCall {
  int status, time, type, refId;
  std::string to, text;
  int delay;
  bool force;
};

class QueueRecorder : public MessageQueuer {
public:
  int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                   const std::string &text, int delay, bool force) override {
    calls.push_back(QueuedCall{status, time, type, refId, to, text, delay, force});
    if (refuseNext) {
      refuseNext = false;
      return -1;
    }
    return 100 + static_cast<int>(calls.size());
  }
  std::vector<QueuedCall> calls;
  bool refuseNext = false;
};

} // namespace

TEST_F(SchedulingTest, OccurrencesShareTheFirstMessagesReference) {
  ScheduledMessage message;
  message.type = 1;
  message.to = "0821234567,A3";
  message.text = "Meeting";
  message.forceSenderId = true;
  message.uploadToServer = true;
  message.uploadDays = 2;
  QueueRecorder recorder;
  std::vector<std::int64_t> times = {Local(2024, 3, 4), Local(2024, 3, 5), Local(2024, 3, 6)};
  std::vector<int> ids = ScheduledQueueing::Queue(recorder, message, times);
  EXPECT_EQ(ids, (std::vector<int>{101, 102, 103}));
  ASSERT_EQ(recorder.calls.size(), 3u);
  EXPECT_EQ(recorder.calls[0].refId, 0);
  EXPECT_EQ(recorder.calls[1].refId, 101);
  EXPECT_EQ(recorder.calls[2].refId, 101);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(recorder.calls[i].status, 6);
    EXPECT_EQ(recorder.calls[i].delay, 172800);
    EXPECT_EQ(recorder.calls[i].time, times[i]);
    EXPECT_EQ(recorder.calls[i].type, 1);
    EXPECT_EQ(recorder.calls[i].to, "0821234567,A3");
    EXPECT_TRUE(recorder.calls[i].force);
  }
}

TEST_F(SchedulingTest, UncheckedUploadBoxHoldsTheMessageLocally) {
  ScheduledMessage message;
  message.uploadToServer = false;
  message.uploadDays = 5;
  EXPECT_EQ(ScheduledQueueing::StatusFor(message), 4);
  EXPECT_EQ(ScheduledQueueing::DelayFor(message), 0);
  message.uploadToServer = true;
  EXPECT_EQ(ScheduledQueueing::StatusFor(message), 6);
  EXPECT_EQ(ScheduledQueueing::DelayFor(message), 5 * 86400);
  message.uploadDays = 40;
  EXPECT_EQ(ScheduledQueueing::DelayFor(message), 7 * 86400);
}

TEST_F(SchedulingTest, RefusedMessagesAndUnstorableTimesAreNoOccurrences) {
  ScheduledMessage message;
  QueueRecorder recorder;
  recorder.refuseNext = true;
  // 2040 lies beyond the store's 32-bit times; 0 would mean "now".
  std::vector<std::int64_t> times = {Local(2024, 3, 4), 0, Local(2040, 1, 1), Local(2024, 3, 5),
                                     Local(2024, 3, 6)};
  std::vector<int> ids = ScheduledQueueing::Queue(recorder, message, times);
  ASSERT_EQ(recorder.calls.size(), 3u);
  EXPECT_EQ(recorder.calls[1].time, times[3]);
  // The refused first message is no reference: the next stored one is.
  EXPECT_EQ(recorder.calls[1].refId, 0);
  EXPECT_EQ(recorder.calls[2].refId, ids[0]);
  EXPECT_EQ(ids, (std::vector<int>{102, 103}));
}
