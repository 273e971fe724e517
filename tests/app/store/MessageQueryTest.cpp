#include "StoreTestSupport.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

using store::IntRange;
using store::MessageSelection;
using store::SmsStore;

class StoreMessageQueryTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(store.IsUsable()); }

  int Add(int stat, int time, int delay = 0) {
    return store.AddSms(stat, time, 0, 0, ",1", "m", nullptr, delay, "?", 0);
  }

  SmsStore store{testsupport::MakeTempDir("store").string()};
};

TEST_F(StoreMessageQueryTest, DueScheduledRowsByTimeStatusAndDelay) {
  const int now = 1000000;
  const int due = Add(4, now);
  Add(4, now + 1);        // not yet due
  Add(4, now - 5, 86400); // scheduled to the gateway
  const int earlier = Add(4, 1);
  Add(0, now); // already pending
  EXPECT_EQ(
      store.SelectIds({.Time = IntRange{0, now}, .Stat = IntRange{4, 4}, .Delay = IntRange{0, 0}}),
      (std::vector<int>{due, earlier}));
  // Two-day rows become due two days early.
  const int d = 2 * 86400;
  const int inside = Add(6, now + d - 1, d);
  Add(6, now + d + 1, d);
  Add(6, now + d - 1, 86400);
  EXPECT_EQ(store.SelectIds(
                {.Time = IntRange{0, now + d}, .Stat = IntRange{6, 6}, .Delay = IntRange{d, d}}),
            std::vector<int>{inside});
}

TEST_F(StoreMessageQueryTest, PollingSelection) {
  const int now = 5000;
  const int due = Add(11, 1);
  store.UpdateFields(due, {.QueryTime = 60, .StatQryTm = now});
  const int later = Add(11, 1);
  store.UpdateFields(later, {.QueryTime = 60, .StatQryTm = now + 1});
  const int never = Add(11, 1); // QueryTime 0: not polled
  store.UpdateFields(never, {.StatQryTm = 10});
  const int other = Add(3, 1);
  store.UpdateFields(other, {.QueryTime = 60, .StatQryTm = 10});
  const MessageSelection all{
      .Stat = IntRange{11, 11}, .QueryTime = IntRange{1, INT_MAX}, .StatQryTm = IntRange{0, now}};
  EXPECT_EQ(store.SelectIds(all), std::vector<int>{due});
  const MessageSelection one{
      .ID = later, .Stat = IntRange{11, 11}, .QueryTime = IntRange{1, INT_MAX}};
  EXPECT_EQ(store.SelectIds(one), std::vector<int>{later});
  EXPECT_TRUE(
      store.SelectIds({.ID = never, .Stat = IntRange{11, 11}, .QueryTime = IntRange{1, INT_MAX}})
          .empty());
  EXPECT_EQ(store.CountMessages(all), 1);
  const auto rows = store.SelectRows({.Stat = IntRange{3, 11}});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].ID, due);
  EXPECT_EQ(rows[3].ID, other);
}

TEST_F(StoreMessageQueryTest, PendingOfOneIdOrAll) {
  const int a = Add(0, 1);
  const int b = Add(0, 1);
  Add(2, 1);
  EXPECT_EQ(store.SelectIds({.Stat = IntRange{0, 0}}), (std::vector<int>{a, b}));
  EXPECT_EQ(store.SelectIds({.ID = b, .Stat = IntRange{0, 0}}), std::vector<int>{b});
  EXPECT_TRUE(store.SelectIds({.ID = 3, .Stat = IntRange{0, 0}}).empty());
  EXPECT_EQ(store.SelectIds({}).size(), 3u);
}

TEST_F(StoreMessageQueryTest, UpdateFieldsWritesOnlyWhatIsGiven) {
  const int id = store.AddSms(10, 7, 1, 0, ",1", "m", "S", 0, "?", 1);
  EXPECT_TRUE(store.UpdateFields(id, {.Stat = 11,
                                      .QueryTime = 60,
                                      .StatQryTm = 1060,
                                      .ApiMsgID = ",ID: 99|0821",
                                      .Charge = "0.25"}));
  auto row = *store.FindMessage(id);
  EXPECT_EQ(row.Stat, 11);
  EXPECT_EQ(row.QueryTime, 60);
  EXPECT_EQ(row.StatQryTm, 1060);
  EXPECT_EQ(row.ApiMsgID, ",ID: 99|0821");
  EXPECT_EQ(row.Charge, "0.25");
  EXPECT_EQ(row.Time, 7);
  EXPECT_EQ(row.Type, 1);
  EXPECT_EQ(row.SenderID, "S");
  EXPECT_EQ(row.Flags, 1);
  EXPECT_TRUE(store.UpdateFields(id, {}));
  EXPECT_FALSE(store.UpdateFields(999, {.Stat = 2}));
  EXPECT_FALSE(store.UpdateFields(999, {}));
}

TEST_F(StoreMessageQueryTest, PositionsFollowAddsAndDeletes) {
  std::vector<int> ids;
  for (int i = 0; i < 10; ++i)
    ids.push_back(Add(0, i));
  EXPECT_EQ(store.MessageCount(), 10);
  EXPECT_EQ(store.MessageAt(0)->ID, ids[0]);
  EXPECT_EQ(store.MessageAt(9)->ID, ids[9]);
  EXPECT_FALSE(store.MessageAt(10).has_value());
  EXPECT_FALSE(store.MessageAt(-1).has_value());
  store.DeleteSms(ids[0]);
  store.DeleteSms(ids[5]);
  EXPECT_EQ(store.MessageCount(), 8);
  EXPECT_EQ(store.MessageAt(0)->ID, ids[1]);
  EXPECT_EQ(store.MessageAt(4)->ID, ids[6]);
  const int added = Add(0, 1);
  EXPECT_EQ(store.MessageAt(8)->ID, added);
  EXPECT_EQ(store.AllMessageIds().size(), 9u);
}

TEST_F(StoreMessageQueryTest, ForEachMessageWalksInOrderAcrossBatches) {
  for (int i = 0; i < 1300; ++i)
    Add(i % 3, i);
  std::vector<int> seen;
  store.ForEachMessage([&](const store::MessageRow &row) {
    seen.push_back(row.ID);
    return true;
  });
  ASSERT_EQ(seen.size(), 1300u);
  for (std::size_t i = 0; i < seen.size(); ++i)
    ASSERT_EQ(seen[i], static_cast<int>(i + 1));

  int visited = 0;
  store.ForEachMessage([&](const store::MessageRow &row) {
    ++visited;
    // The store may be used from inside the walk.
    EXPECT_TRUE(store.FindMessage(row.ID).has_value());
    return visited < 600;
  });
  EXPECT_EQ(visited, 600);
}

} // namespace

TEST(StoreMessageOrderTest, OrderedByOneColumnAndSelectedByReference) {
  SmsStore store{testsupport::MakeTempDir("store").string()};
  auto add = [&](int stat, int time, const char *to, const char *msg, const char *charge,
                 int refId = 0) {
    return store.AddSms(stat, time, 0, refId, to, msg, nullptr, 0, charge, 0);
  };
  const int a = add(9, 300, "b", "apple", "0.5");
  const int b = add(2, 100, "B", "Zebra", "0.35");
  const int c = add(9, 200, "a", "apple", "?", a);
  using store::MessageOrder;
  EXPECT_EQ(store.MessageIdsBy(MessageOrder::Time), (std::vector<int>{b, c, a}));
  // Bytes decide: capitals before small letters, "0" before "?".
  EXPECT_EQ(store.MessageIdsBy(MessageOrder::ToInfo), (std::vector<int>{b, c, a}));
  EXPECT_EQ(store.MessageIdsBy(MessageOrder::Msg), (std::vector<int>{b, a, c}));
  EXPECT_EQ(store.MessageIdsBy(MessageOrder::Charge), (std::vector<int>{b, a, c}));
  // Equal keys keep ID order.
  EXPECT_EQ(store.MessageIdsBy(MessageOrder::Stat), (std::vector<int>{b, a, c}));
  EXPECT_EQ(store.SelectIds({.RefID = IntRange{a, a}}), (std::vector<int>{a, c}));
}
