#include "shell/RecentCodec.h"

#include <gtest/gtest.h>

namespace {

using shell::DecodeRecentRecord;
using shell::EncodeRecentRecord;
using shell::RecentRecord;

RecentRecord Sample() {
  RecentRecord record{};
  for (std::size_t i = 0; i < record.size(); ++i)
    record[i] = static_cast<std::uint8_t>(i * 7 + 3);
  record[10] = 0x80;
  record[11] = 0xFF;
  record[12] = 0xE9;
  return record;
}

TEST(ShellRecentCodecTest, EveryByteBecomesTwoLettersHighFirst) {
  RecentRecord record{};
  record[0] = 0x3A;
  record[1] = 0x80;
  record[2] = 0xFF;
  const std::string text = EncodeRecentRecord(record);
  ASSERT_EQ(text.size(), 216u);
  EXPECT_EQ(text.substr(0, 6), "DKIAPP");
  EXPECT_EQ(text.substr(6), std::string(210, 'A'));
}

TEST(ShellRecentCodecTest, HighBytesUseLettersIToPAndReadBack) {
  const RecentRecord record = Sample();
  const std::string text = EncodeRecentRecord(record);
  for (std::size_t i : {10u, 11u, 12u}) {
    EXPECT_GE(text[2 * i], 'I');
    EXPECT_LE(text[2 * i], 'P');
  }
  auto decoded = DecodeRecentRecord(text);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, record);
}

TEST(ShellRecentCodecTest, ShortOrForeignTextIsNotAnEntry) {
  const std::string text = EncodeRecentRecord(Sample());
  EXPECT_FALSE(DecodeRecentRecord(text.substr(0, 215)).has_value());
  EXPECT_FALSE(DecodeRecentRecord("").has_value());
  std::string bad = text;
  bad[100] = 'Q';
  EXPECT_FALSE(DecodeRecentRecord(bad).has_value());
  bad = text;
  bad[215] = 'a';
  EXPECT_FALSE(DecodeRecentRecord(bad).has_value());
  // Letters after the 216th are not part of the record.
  EXPECT_TRUE(DecodeRecentRecord(text + "ZZZ").has_value());
}

TEST(ShellRecentCodecTest, EmptySlotLayout) {
  const RecentRecord empty = shell::EmptyRecentRecord();
  EXPECT_EQ(empty[0], 3);
  EXPECT_EQ(empty[1], 1);
  for (std::size_t i = 2; i < empty.size(); ++i)
    EXPECT_EQ(empty[i], 0) << i;
}

} // namespace
