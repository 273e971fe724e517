#include "compose/CharWeights.h"
#include "compose/LengthRules.h"
#include "compose/MessageCounter.h"
#include "compose/TypeControls.h"
#include "compose/UrlEncoder.h"

#include <gtest/gtest.h>

using compose::CharWeights;
using compose::CountResult;
using compose::LengthRules;
using compose::MessageCounter;

namespace {

constexpr int kText = 0;
constexpr int kUnicode = 2;
constexpr int kRingtone = 3;

std::string Label(const CountResult &r) {
  return MessageCounter::Label(r.length, r.parts);
}

} // namespace

TEST(CharWeights, TenEscapedCharactersWeighTwo) {
  const CharWeights &w = CharWeights::Default();
  const std::string doubles = "\x0C^{}\\[~]|\x80";
  int twos = 0;
  for (int b = 0; b < 256; ++b) {
    const int weight = w.Weight(static_cast<unsigned char>(b));
    const bool escaped = doubles.find(static_cast<char>(b)) != std::string::npos;
    EXPECT_EQ(weight, escaped ? 2 : 1) << b;
    twos += weight == 2;
  }
  EXPECT_EQ(twos, 10);
  EXPECT_EQ(w.WeightedLength("a[b]\x80"), 8);
}

TEST(LengthRules, PartsOfBothModes) {
  const LengthRules plain = LengthRules::Plain();
  EXPECT_EQ(plain.Parts(0), 1);
  EXPECT_EQ(plain.Parts(160), 1);
  EXPECT_EQ(plain.Parts(161), 2);
  EXPECT_EQ(plain.Parts(306), 2);
  EXPECT_EQ(plain.Parts(307), 3);
  EXPECT_EQ(plain.Parts(459), 3);
  const LengthRules unicode = LengthRules::Unicode();
  EXPECT_EQ(unicode.Parts(70), 1);
  EXPECT_EQ(unicode.Parts(71), 2);
  EXPECT_EQ(unicode.Parts(126), 2);
  EXPECT_EQ(unicode.Parts(127), 3);
  EXPECT_EQ(unicode.Parts(189), 3);
  EXPECT_EQ(LengthRules::ForType(kUnicode).perPart, 63);
  EXPECT_EQ(LengthRules::ForType(8).perPart, 153);
}

TEST(MessageCounter, PlainTextAt160And161) {
  MessageCounter counter;
  EXPECT_EQ(Label(counter.Count(std::string(160, 'a'), kText, false)), "160 (1)");

  CountResult r = counter.Count(std::string(161, 'a'), kText, true);
  EXPECT_FALSE(r.cut);
  EXPECT_EQ(Label(r), "161 (2)");

  r = counter.Count(std::string(161, 'a'), kText, false);
  EXPECT_TRUE(r.cut);
  EXPECT_EQ(r.keep, 160u);
  EXPECT_EQ(Label(r), "160 (1)");
}

TEST(MessageCounter, EscapedCharactersCountTwice) {
  MessageCounter counter;
  EXPECT_EQ(Label(counter.Count(std::string(80, '['), kText, false)), "160 (1)");
  EXPECT_EQ(Label(counter.Count(std::string(81, '['), kText, true)), "162 (2)");

  const CountResult r = counter.Count(std::string(81, '['), kText, false);
  EXPECT_EQ(r.keep, 80u);
  EXPECT_EQ(Label(r), "160 (1)");
  // A two-unit character that would pass the limit goes as a whole.
  const CountResult odd = counter.Count(std::string(159, 'a') + "[", kText, false);
  EXPECT_EQ(odd.keep, 159u);
  EXPECT_EQ(Label(odd), "159 (1)");
}

TEST(MessageCounter, LongestTextsWithSpanSms) {
  MessageCounter counter;
  CountResult r = counter.Count(std::string(500, 'a'), kText, true);
  EXPECT_EQ(r.keep, 459u);
  EXPECT_EQ(Label(r), "459 (3)");
  EXPECT_EQ(r.editorLimit, 459);

  r = counter.Count(std::string(200, 'a'), kUnicode, true);
  EXPECT_EQ(r.keep, 189u);
  EXPECT_EQ(Label(r), "189 (3)");
  EXPECT_EQ(r.editorLimit, 189);

  r = counter.Count(std::string(80, 'a'), kUnicode, false);
  EXPECT_EQ(r.keep, 70u);
  EXPECT_EQ(Label(r), "70 (1)");
  EXPECT_EQ(r.editorLimit, 70);
  EXPECT_EQ(counter.Count("", kText, false).editorLimit, 160);
}

TEST(MessageCounter, UnicodePartsAt71And126And127) {
  MessageCounter counter;
  EXPECT_EQ(Label(counter.Count(std::string(71, 'u'), kUnicode, true)), "71 (2)");
  EXPECT_EQ(Label(counter.Count(std::string(126, 'u'), kUnicode, true)), "126 (2)");
  EXPECT_EQ(Label(counter.Count(std::string(127, 'u'), kUnicode, true)), "127 (3)");
}

TEST(MessageCounter, UnicodeCountsEveryCharacterOnce) {
  MessageCounter counter;
  const CountResult r = counter.Count(std::string(70, '['), kUnicode, false);
  EXPECT_FALSE(r.cut);
  EXPECT_EQ(Label(r), "70 (1)");
}

TEST(MessageCounter, HexContentIsNeverCutInsideAByte) {
  MessageCounter counter;
  const std::string hex(600, 'A');
  CountResult r = counter.Count(hex, kRingtone, true);
  EXPECT_EQ(r.keep, 458u);
  EXPECT_EQ(Label(r), "458 (3)");
  r = counter.Count(hex, kRingtone, false);
  EXPECT_EQ(r.keep, 160u);
  // An odd text that fits stays as it is.
  EXPECT_EQ(counter.Count("ABC", kRingtone, false).keep, 3u);
}

TEST(MessageCounter, PartsBothWaysForTheUnicodeNote) {
  MessageCounter counter;
  EXPECT_EQ(counter.PlainParts(std::string(100, 'a')), 1);
  EXPECT_EQ(counter.UnicodeParts(std::string(100, 'a')), 2);
  EXPECT_EQ(counter.PlainParts(std::string(50, 'a')), counter.UnicodeParts(std::string(50, 'a')));
}

TEST(TypeControls, ControlTablePerType) {
  using compose::TypeControls;
  for (int t : {0, 1, 2}) {
    EXPECT_EQ(TypeControls::ForType(t), (TypeControls{true, true, false, false})) << t;
  }
  for (int t : {3, 6, 7}) {
    EXPECT_EQ(TypeControls::ForType(t), (TypeControls{false, false, true, false})) << t;
  }
  for (int t : {4, 5}) {
    EXPECT_EQ(TypeControls::ForType(t), (TypeControls{false, false, true, true})) << t;
  }
  for (int t : {8, 9, -1}) {
    EXPECT_EQ(TypeControls::ForType(t), (TypeControls{false, false, false, false})) << t;
  }
  ASSERT_EQ(compose::kTypeList.size(), 5u);
  EXPECT_EQ(compose::kTypeList[3].type, 6);
  EXPECT_EQ(compose::kTypeList[3].stringId, 1318);
}

TEST(UrlEncode, EscapesReservedAndHighBytes) {
  EXPECT_EQ(compose::UrlEncode("a b&c=d"), "a+b%26c%3Dd");
  EXPECT_EQ(compose::UrlEncode("\xE9"), "%E9");
  EXPECT_EQ(compose::UrlEncode("50%+1"), "50%25%2B1");
  EXPECT_EQ(compose::UrlEncode(std::string("\x01\t\x7F", 3)), "%01%09\x7F");
  EXPECT_EQ(compose::UrlEncode("User_1-x.y!"), "User_1-x.y!");
}

TEST(UrlEncode, SizeEstimateBoundsTheOutput) {
  for (const std::string &text : {std::string(""), std::string("a b&c=d"),
                                  std::string("\xFF\xFF  ++"), std::string(300, '%')}) {
    const std::size_t size = compose::UrlEncodedSize(text);
    EXPECT_GE(size, compose::UrlEncode(text).size() + 1) << text;
    std::vector<char> buffer(size, '#');
    EXPECT_EQ(compose::UrlEncodeTo(text, buffer.data(), buffer.size()),
              compose::UrlEncode(text).size());
  }
  EXPECT_EQ(compose::UrlEncodedSize("a b&c=d"), 1u + 7u + 2u * 3u);
  // A short buffer gets whole sequences only and a terminator.
  char small[5];
  EXPECT_EQ(compose::UrlEncodeTo("a&b", small, sizeof small), 4u);
  EXPECT_STREQ(small, "a%26");
  char tiny[3];
  EXPECT_EQ(compose::UrlEncodeTo("&&", tiny, sizeof tiny), 0u);
  EXPECT_STREQ(tiny, "");
}
