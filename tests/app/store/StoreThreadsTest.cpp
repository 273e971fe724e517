// The worker's kind of calls and the user interface's kind at once. Built
// for the thread sanitizer as well.
#include "StoreTestSupport.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

using store::IntRange;
using store::SmsStore;

TEST(StoreThreadsTest, WorkerAndUserInterfaceAtOnce) {
  storetest::RecordingLog log;
  shell::Settings settings;
  settings.WriteLog = true;
  store::StoreServices services;
  services.log = &log;
  services.settings = &settings;
  SmsStore store(testsupport::MakeTempDir("store").string(), services);
  ASSERT_TRUE(store.IsUsable());

  constexpr int kRounds = 300;
  std::atomic<int> workerAdds{0};
  std::atomic<int> uiAdds{0};

  std::thread worker([&] {
    for (int i = 0; i < kRounds; ++i) {
      // A dispatch pass: select pending rows, mark them, expand them.
      std::vector<int> pending;
      {
        std::lock_guard table(store.MessageLock());
        pending = store.SelectIds({.Stat = IntRange{0, 0}});
      }
      for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
        {
          std::lock_guard table(store.MessageLock());
          store.SetSmsStatus(*it, store::StatProcessing);
        }
        if (store.ExpandSms(*it, store::StatUnknown, "0821234567") > 0) ++workerAdds;
        std::lock_guard table(store.MessageLock());
        store.UpdateFields(*it, {.Stat = store::StatExpanded, .QueryTime = 60, .StatQryTm = i});
      }
      std::lock_guard table(store.MessageLock());
      store.SelectIds({.Stat = IntRange{11, 11},
                       .QueryTime = IntRange{1, 1 << 30},
                       .StatQryTm = IntRange{0, i}});
      store.SelectIds({.Time = IntRange{0, i}, .Stat = IntRange{4, 4}, .Delay = IntRange{0, 0}});
      store.ContactMobile(1, 16);
    }
  });

  std::thread ui([&] {
    for (int i = 0; i < kRounds; ++i) {
      const int id =
          store.AddSms(i % 5 == 0 ? 4 : 0, i, 0, 0, ",A1,0821", "text", nullptr, 0, "?", 0);
      if (id > 0) ++uiAdds;
      if (i % 7 == 0 && store.BeginEditSms(id)) store.UpdateSms(id, 0, ",0831", "edited");
      store.CountOutbox();
      store.MessageAt(i / 2);
      store::ContactRecord record;
      record.SetName("Name" + std::to_string(i));
      record.SetMobile("082" + std::to_string(i));
      int groups[] = {1};
      record.groupIds = groups;
      record.groupCount = 1;
      const int cid = store.AddContact(record);
      if (i % 3 == 0) store.UpdateContact(cid, record);
      if (i % 4 == 0) store.DeleteContact(cid, true, 0);
      if (i % 50 == 0) store.Commit();
    }
  });
  worker.join();
  ui.join();

  const auto ids = store.AllMessageIds();
  EXPECT_EQ(static_cast<int>(ids.size()), workerAdds + uiAdds);
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_EQ(uiAdds.load(), kRounds);
  EXPECT_TRUE(store.Commit());
}

TEST(StoreThreadsTest, ConcurrentAddsGetDistinctIdentifiers) {
  SmsStore store(testsupport::MakeTempDir("store").string());
  constexpr int kEach = 400;
  std::vector<int> first;
  std::vector<int> second;
  std::thread a([&] {
    for (int i = 0; i < kEach; ++i)
      first.push_back(store.AddSms(0, 1, 0, 0, ",1", "a", nullptr, 0, "?", 0));
  });
  std::thread b([&] {
    for (int i = 0; i < kEach; ++i)
      second.push_back(store.AddSms(0, 1, 0, 0, ",2", "b", nullptr, 0, "?", 0));
  });
  a.join();
  b.join();
  std::set<int> all(first.begin(), first.end());
  all.insert(second.begin(), second.end());
  EXPECT_EQ(all.size(), 2u * kEach);
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(store.MessageCount(), 2 * kEach);
}

} // namespace
