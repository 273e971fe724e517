#include "codepage/Codepage.h"

#include <gtest/gtest.h>

using namespace codepage;

TEST(Codepage, EveryByteRoundTripsThroughUtf16AndUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(FromUtf16(ToUtf16(all)), all);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(Codepage, HighBytesMapToTheirWindowsCharacters) {
  EXPECT_EQ(ByteToUtf16(0x80), u'\u20AC');  // euro sign
  EXPECT_EQ(ByteToUtf16(0x9F), u'\u0178');
  EXPECT_EQ(ByteToUtf16(0xE9), u'\u00E9');
  EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC"), "\x80");
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf16(u"a\u0416b"), "a?b");   // Cyrillic
  EXPECT_EQ(FromUtf16(u"x\U0001F600y"), "x?y");  // one "?" per surrogate pair
  EXPECT_EQ(Utf8ToAnsi("\xFF\xC3"), "??");     // malformed UTF-8
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");          // truncated sequence
}
