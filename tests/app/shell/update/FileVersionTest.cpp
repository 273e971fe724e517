#include <update/FileVersion.h>

#include <gtest/gtest.h>

namespace {

using update::FileVersion;

void ExpectParts(const FileVersion &v, int major, int minor, int release, int build) {
  EXPECT_EQ(v.Major(), major);
  EXPECT_EQ(v.Minor(), minor);
  EXPECT_EQ(v.Release(), release);
  EXPECT_EQ(v.Build(), build);
}

TEST(FileVersionTest, ReadsTheDottedPatternLikeScanf) {
  ExpectParts(FileVersion::Parse("3.1.4.1592\r\nsha256 00"), 3, 1, 4, 1592);
  // Missing numbers are 0: only two given, or the reading stops at the
  // first number that cannot be read.
  ExpectParts(FileVersion::Parse("4.2"), 4, 2, 0, 0);
  ExpectParts(FileVersion::Parse("4.x.5.6"), 4, 0, 0, 0);
  ExpectParts(FileVersion::Parse("<html>"), 0, 0, 0, 0);
  ExpectParts(FileVersion::Parse(""), 0, 0, 0, 0);
  // Blanks before a number and a sign are part of "%d"; blanks before a dot
  // are not.
  ExpectParts(FileVersion::Parse(" 5.\n+6.-1.2"), 5, 6, -1, 2);
  ExpectParts(FileVersion::Parse("5 .6"), 5, 0, 0, 0);
}

TEST(FileVersionTest, PacksSixteenBitsPerPartIntoTwoWords) {
  FileVersion v(3, 1, 4, 1592);
  EXPECT_EQ(v.High(), 0x00030001u);
  EXPECT_EQ(v.Low(), 0x00040638u);
  // Only the low 16 bits of minor and build count; major and release are
  // shifted out of the word above them.
  EXPECT_EQ(FileVersion(0x10002, 0x10003, 0, -1).High(), 0x00020003u);
  EXPECT_EQ(FileVersion(0, 0, 0, -1).Low(), 0x0000FFFFu);
  EXPECT_EQ(FileVersion::Parse("99999999999999999999999").High(), 0xFFFF0000u);
}

TEST(FileVersionTest, NewerComparesTheHighWordThenTheLowWord) {
  FileVersion own(2, 5, 3, 7);
  EXPECT_FALSE(FileVersion(2, 5, 3, 7).IsNewerThan(own));
  EXPECT_TRUE(FileVersion(2, 5, 3, 8).IsNewerThan(own));
  EXPECT_FALSE(FileVersion(2, 5, 3, 6).IsNewerThan(own));
  // A higher second number wins over lower third and fourth numbers.
  EXPECT_TRUE(FileVersion(2, 6, 0, 0).IsNewerThan(own));
  EXPECT_FALSE(FileVersion(2, 4, 99, 99).IsNewerThan(own));
  // The words compare unsigned.
  EXPECT_TRUE(FileVersion(-1, 0, 0, 0).IsNewerThan(own));
  EXPECT_EQ(FileVersion(2, 5, 3, 7).Text(), "2.5.3.7");
}

} // namespace
