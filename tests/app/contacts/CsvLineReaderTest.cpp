#include "contacts/CsvLineReader.h"
#include "contacts/CsvHeaderMap.h"

#include <gtest/gtest.h>

#include <sstream>

using contacts::ContactColumn;
using contacts::CsvHeaderMap;
using contacts::CsvLineReader;

namespace {

std::vector<std::string> ReadAll(const std::string &bytes) {
  std::istringstream in(bytes);
  CsvLineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) {
    lines.push_back(line);
  }
  return lines;
}

} // namespace

TEST(CsvLineReader, RemovesEveryTrailingCrAndLf) {
  EXPECT_EQ(ReadAll("a,b\r\nc\n\r\r\nd\r\r"), (std::vector<std::string>{"a,b", "c", "", "d"}));
  EXPECT_EQ(ReadAll(""), std::vector<std::string>{});
  EXPECT_EQ(ReadAll("last line without end"), std::vector<std::string>{"last line without end"});
}

TEST(CsvLineReader, TextOfALineStopsAtAZeroByte) {
  const std::string bytes = std::string("ab\0cd,ef\r\nnext\n", 15);
  EXPECT_EQ(ReadAll(bytes), (std::vector<std::string>{"ab", "next"}));
}

TEST(CsvLineReader, LongLineIsReadInPiecesOf8191Bytes) {
  const std::string longLine(8191 * 2 + 100, 'x');
  const std::vector<std::string> lines = ReadAll(longLine + "\r\nshort\r\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].size(), 8191u);
  EXPECT_EQ(lines[1].size(), 8191u);
  EXPECT_EQ(lines[2].size(), 100u);
  EXPECT_EQ(lines[3], "short");
}

TEST(CsvLineReader, EndingOfALineThatFilledTheBufferIsNoLineOfItsOwn) {
  // 8191 bytes then CR LF, and 8190 bytes then CR LF (the CR fills the buffer).
  for (std::size_t n : {8191u, 8190u}) {
    const std::vector<std::string> lines = ReadAll(std::string(n, 'y') + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u) << n;
    EXPECT_EQ(lines[0], std::string(n, 'y'));
    EXPECT_EQ(lines[1], "next");
  }
  // A real empty line after such a line is still a line.
  const std::vector<std::string> lines = ReadAll(std::string(8191, 'y') + "\r\n\r\nnext\r\n");
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(8191, 'y'), "", "next"}));
}

TEST(CsvHeaderMap, NamesAreCutToElevenAndComparedWithoutCase) {
  const CsvHeaderMap map = CsvHeaderMap::Parse("MOBILE;fName;Phone;SNAME;tItLe;custom", ';');
  ASSERT_EQ(map.FieldCount(), 6u);
  EXPECT_EQ(map.Column(0), ContactColumn::Mobile);
  EXPECT_EQ(map.Column(1), ContactColumn::Name);
  EXPECT_EQ(map.Column(2), ContactColumn::Name); // unknown: Name
  EXPECT_EQ(map.Column(3), ContactColumn::Surname);
  EXPECT_EQ(map.Column(4), ContactColumn::Title);
  EXPECT_EQ(map.Column(5), ContactColumn::Custom);
  EXPECT_EQ(map.MobilePosition(), 0);

  // "mobile" followed by more characters is another name, also after the cut.
  EXPECT_FALSE(CsvHeaderMap::Parse("mobilephone,fname", ',').HasMobile());
  EXPECT_FALSE(CsvHeaderMap::Parse("mobile ,fname", ',').HasMobile());
  EXPECT_EQ(CsvHeaderMap::Parse("Group", ',').Column(0), ContactColumn::Group);
}

TEST(CsvHeaderMap, FieldsAfterTheSixthAreIgnored) {
  const CsvHeaderMap map = CsvHeaderMap::Parse("a,b,c,d,e,f,mobile", ',');
  EXPECT_EQ(map.FieldCount(), 6u);
  EXPECT_FALSE(map.HasMobile());
}

TEST(CsvHeaderMap, SplitKeepsEmptyFields) {
  using contacts::SplitFields;
  EXPECT_EQ(SplitFields("", ',', 6).size(), 1u);
  EXPECT_EQ(SplitFields("a,,b,", ',', 6), (std::vector<std::string_view>{"a", "", "b", ""}));
  EXPECT_EQ(SplitFields("a,b,c,d", ',', 2), (std::vector<std::string_view>{"a", "b"}));
  EXPECT_EQ(SplitFields("\"x,y\"", ',', 6), (std::vector<std::string_view>{"\"x", "y\""}));
}
