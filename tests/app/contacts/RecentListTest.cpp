#include "contacts/RecentList.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstring>

using contacts::RecentList;

namespace {

std::string Bytes(const RecentList::Slot &slot, std::size_t offset, std::size_t size) {
  return std::string(reinterpret_cast<const char *>(slot.data()) + offset, size);
}

} // namespace

TEST(RecentList, ResetGivesTenEmptySlotsOfKindThree) {
  RecentList list;
  list.Add("Ann", "Lee", "0821234567");
  list.Reset();
  EXPECT_EQ(list.Count(), 0);
  for (int i = 0; i < RecentList::kSlots; ++i) {
    const RecentList::Slot &slot = list.SlotAt(i);
    EXPECT_EQ(slot[0], 3);
    EXPECT_EQ(slot[1], 1);
    for (std::size_t b = 2; b < slot.size(); ++b) {
      ASSERT_EQ(slot[b], 0) << "slot " << i << " byte " << b;
    }
  }
}

TEST(RecentList, SlotLayoutOfAnEntry) {
  RecentList list;
  ASSERT_TRUE(list.Add("Ann", "Lee", "0821234567"));
  const RecentList::Slot &slot = list.SlotAt(0);
  EXPECT_EQ(slot[0], 3);
  EXPECT_EQ(slot[1], 0);
  EXPECT_EQ(slot[2], 0);
  EXPECT_EQ(slot[3], 0);
  const std::string display = "Ann Lee (0821234567)";
  EXPECT_EQ(Bytes(slot, 4, display.size() + 1), display + std::string(1, '\0'));
  EXPECT_EQ(Bytes(slot, 90, 16), std::string("0821234567") + std::string(6, '\0'));
  EXPECT_EQ(slot[106], 0);
  EXPECT_EQ(slot[107], 0);
  EXPECT_EQ(list.DisplayText(0), display);
  EXPECT_EQ(list.Number(0), "0821234567");
}

TEST(RecentList, DisplayTextLeavesOutAbsentNameParts) {
  EXPECT_EQ(RecentList::MakeDisplayText("", "", "123"), "(123)");
  EXPECT_EQ(RecentList::MakeDisplayText("Ann", "", "123"), "Ann (123)");
  EXPECT_EQ(RecentList::MakeDisplayText("", "Lee", "123"), "Lee (123)");
  const std::string longName(40, 'n');
  const std::string longSurname(40, 's');
  const std::string cut = RecentList::MakeDisplayText(longName, longSurname, "0123456789012345");
  EXPECT_EQ(cut.size(), 85u);
  EXPECT_EQ(cut, (longName + " " + longSurname + " (0123456789012345)").substr(0, 85));
}

TEST(RecentList, SixteenDigitNumberFillsItsFieldWithoutTerminator) {
  RecentList list;
  ASSERT_TRUE(list.Add(std::string(40, 'a'), std::string(40, 'b'), "1234567890123456"));
  const RecentList::Slot &slot = list.SlotAt(0);
  EXPECT_EQ(Bytes(slot, 90, 16), "1234567890123456");
  EXPECT_EQ(slot[89], 0); // the display text's own terminator
  EXPECT_EQ(slot[106], 0);
  EXPECT_EQ(list.Number(0), "1234567890123456");
  EXPECT_EQ(list.DisplayText(0).size(), 85u);
}

TEST(RecentList, NumbersThatDoNotFitOrAreEmptyAreNotRemembered) {
  RecentList list;
  EXPECT_FALSE(list.Add("A", "B", "12345678901234567"));
  EXPECT_FALSE(list.Add("A", "B", ""));
  EXPECT_EQ(list.Count(), 0);
}

TEST(RecentList, DuplicateNumberIsIgnoredAndEleventhDropsTheOldest) {
  RecentList list;
  EXPECT_TRUE(list.Add("", "", "100"));
  EXPECT_FALSE(list.Add("Ann", "Lee", "100"));
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.DisplayText(0), "(100)");

  for (int i = 1; i < 10; ++i) {
    ASSERT_TRUE(list.Add("", "", std::to_string(100 + i)));
  }
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list.Number(0), "109");
  EXPECT_EQ(list.Number(9), "100");

  EXPECT_TRUE(list.Add("", "", "110"));
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list.Number(0), "110");
  EXPECT_EQ(list.Number(9), "101");
  EXPECT_FALSE(list.Contains("100"));
  // A number that was dropped can come back.
  EXPECT_TRUE(list.Add("", "", "100"));
  EXPECT_EQ(list.Number(0), "100");
}

TEST(RecentList, RoundTripThroughTheSettingsFile) {
  RecentList list;
  list.Add("J\xE9r\xF4me", "M\xFCller", "0831112222");
  list.Add("", "", "27821234567");
  list.Add("\x80uro", "", "1234567890123456");

  shell::Settings settings;
  list.SaveTo(settings);
  EXPECT_EQ(settings.NumRecent, 3);

  const std::string path = (testsupport::MakeTempDir() / "SMS.dat").string();
  {
    shell::SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveSettings(settings, file));
  }
  shell::SettingsFile reread(path, false);
  shell::Settings loaded;
  shell::LoadSettings(reread, loaded);
  RecentList back;
  back.LoadFrom(loaded);

  ASSERT_EQ(back.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(back.SlotAt(i), list.SlotAt(i)) << i;
  }
  EXPECT_EQ(back.DisplayText(2), "J\xE9r\xF4me M\xFCller (0831112222)");
  EXPECT_EQ(back.Number(0), "1234567890123456");
}

TEST(RecentList, LoadingKeepsOnlyCountSlotsAndReadsDamagedSlotsWithinBounds) {
  shell::Settings settings;
  settings.NumRecent = 25; // more than the list holds
  for (auto &record : settings.Recent) {
    record.fill('7'); // no terminator anywhere
  }
  RecentList list;
  list.LoadFrom(settings);
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list.DisplayText(0).size(), RecentList::kDisplaySize);
  EXPECT_EQ(list.Number(0), std::string(16, '7'));

  settings.NumRecent = 2;
  list.LoadFrom(settings);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.SlotAt(2)[1], 1); // slots past the count are empty
  EXPECT_EQ(list.Number(2), "");
}
