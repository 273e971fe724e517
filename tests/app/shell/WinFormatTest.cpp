#include "shell/WinFormat.h"
#include "shell/InsertFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

using shell::InsertFormat;
using shell::WinFormat;

TEST(ShellWinFormatTest, ConversionsUsedByTheLogWriters) {
  EXPECT_EQ(WinFormat("Added SMS: SMS_ID (%d) Mobile:%s Msg:%s\n", 12, ",0821", "hi"),
            "Added SMS: SMS_ID (12) Mobile:,0821 Msg:hi\n");
  EXPECT_EQ(WinFormat("%x|%X", 0x5f4, 0xabc), "5f4|ABC");
  EXPECT_EQ(WinFormat("%lu %u", 4000000000UL, 7u), "4000000000 7");
  EXPECT_EQ(WinFormat("%c%c", 'o', 'k'), "ok");
  EXPECT_EQ(WinFormat("100%%"), "100%");
  EXPECT_EQ(WinFormat("%i", -3), "-3");
}

TEST(ShellWinFormatTest, WidthAndFlags) {
  EXPECT_EQ(WinFormat("%02d/%02d/%02d", 5, 12, 2006), "05/12/2006");
  EXPECT_EQ(WinFormat("[%5d]", 42), "[   42]");
  EXPECT_EQ(WinFormat("[%-5d]", 42), "[42   ]");
  EXPECT_EQ(WinFormat("[%05d]", -42), "[-0042]");
  EXPECT_EQ(WinFormat("[%-05d]", 42), "[42   ]");
  EXPECT_EQ(WinFormat("[%6s][%-6s]", "ab", "cd"), "[    ab][cd    ]");
  EXPECT_EQ(WinFormat("[%.3s]", "abcdef"), "[abc]");
  EXPECT_EQ(WinFormat("[%.4d]", 7), "[0007]");
  EXPECT_EQ(WinFormat("[%#x]", 255), "[0xff]");
  EXPECT_EQ(WinFormat("[%08X]", 0xC0000005u), "[C0000005]");
}

TEST(ShellWinFormatTest, NumbersKeepTheirOwnWidth) {
  // A 32-bit value prints as 32 bits, whatever the conversion.
  EXPECT_EQ(WinFormat("%x", -1), "ffffffff");
  EXPECT_EQ(WinFormat("%u", -1), "4294967295");
  EXPECT_EQ(WinFormat("%d", 0xFFFFFFFFu), "-1");
  EXPECT_EQ(WinFormat("%d", INT_MIN), "-2147483648");
  // Wider values are printed whole.
  EXPECT_EQ(WinFormat("%lx", static_cast<long>(-1)), "ffffffffffffffff");
  EXPECT_EQ(WinFormat("%lu", 18446744073709551615UL), "18446744073709551615");
  EXPECT_EQ(WinFormat("%d", LLONG_MIN), "-9223372036854775808");
}

TEST(ShellWinFormatTest, MismatchedAndMissingArgumentsReadNothingElse) {
  EXPECT_EQ(WinFormat("%d %s %c|", 1), "1  |");
  EXPECT_EQ(WinFormat("%d", "text"), "0");
  EXPECT_EQ(WinFormat("%s", 25), "25");
  EXPECT_EQ(WinFormat("%s", static_cast<const char *>(nullptr)), "(null)");
  EXPECT_EQ(WinFormat("%q|%"), "q|");
  EXPECT_EQ(WinFormat("%s", std::string("str")), "str");
  EXPECT_EQ(WinFormat("%s", std::string_view("view")), "view");
}

TEST(ShellWinFormatTest, OutputIsCutAt1024Bytes) {
  std::string big(3000, 'x');
  EXPECT_EQ(WinFormat("%s", big).size(), 1024u);
  EXPECT_EQ(WinFormat("ab%s", big), "ab" + std::string(1022, 'x'));
  EXPECT_EQ(WinFormat("%99999d", 1).size(), 1024u);
  EXPECT_EQ(WinFormat("%.99999d", 1).size(), 1024u);
}

TEST(ShellWinFormatTest, SmallBuffersAreNeverOverrun) {
  const shell::FormatArg args[] = {shell::FormatArg(123456), shell::FormatArg("abcdef")};
  for (std::size_t size = 0; size <= 16; ++size) {
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    std::size_t n = shell::WinFormatTo(buffer, size, "%d-%s", args, 2);
    if (size == 0) {
      EXPECT_EQ(n, 0u);
    } else {
      EXPECT_EQ(n, size - 1 < 13 ? size - 1 : 13);
      EXPECT_EQ(buffer[n], '\0');
      EXPECT_EQ(std::string(buffer, n), std::string("123456-abcdef").substr(0, n));
    }
    for (std::size_t i = size; i < sizeof buffer; ++i)
      ASSERT_EQ(buffer[i], '#') << size;
  }
}

TEST(ShellInsertFormatTest, NumberedInsertsWithSpecs) {
  EXPECT_EQ(InsertFormat("%1!02d!/%2!02d!/%3!d! %4!02d!:%5!02d!", 5, 3, 2004, 14, 7),
            "05/03/2004 14:07");
  EXPECT_EQ(InsertFormat("Time:     %1!s!\r\nStatus:   %2!s!", "a", "b"),
            "Time:     a\r\nStatus:   b");
  EXPECT_EQ(InsertFormat("%2 before %1", "one", "two"), "two before one");
  EXPECT_EQ(InsertFormat("Balance: %1!d!.%2!d!%3!s!", 12, 5, "?"), "Balance: 12.5?");
}

TEST(ShellInsertFormatTest, EscapesAndMissingInserts) {
  EXPECT_EQ(InsertFormat("100%% %n%t%r%!%.|"), "100% \r\n\t\r!.|");
  EXPECT_EQ(InsertFormat("a%3b", "x"), "ab");
  EXPECT_EQ(InsertFormat("stop%0ignored"), "stop");
  EXPECT_EQ(InsertFormat("%1!d", 5), "");
  std::string big(70000, 'y');
  EXPECT_EQ(InsertFormat("%1", big).size(), shell::kInsertFormatMax);
}

} // namespace
