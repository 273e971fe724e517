#include <automation/automation.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint32_t PrefixOf(BSTR b) {
  uint32_t n;
  std::memcpy(&n, reinterpret_cast<const char *>(b) - 4, 4);
  return n;
}

TEST(AutomationBStr, AllocationKeepsLengthPrefixAndTerminator) {
  BSTR b = SysAllocString(u"héllo");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 5u);
  EXPECT_EQ(SysStringByteLen(b), 10u);
  EXPECT_EQ(PrefixOf(b), 10u);
  EXPECT_EQ(b[5], 0);
  EXPECT_EQ(std::u16string(b), u"héllo");
  SysFreeString(b);

  // Embedded zeros count towards the length.
  const char16_t withZero[] = {u'a', 0, u'b'};
  b = SysAllocStringLen(withZero, 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 3u);
  EXPECT_EQ(b[2], u'b');
  EXPECT_EQ(b[3], 0);
  SysFreeString(b);

  // Without a source the text is zero-filled.
  b = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 4u);
  for (int i = 0; i <= 4; ++i)
    EXPECT_EQ(b[i], 0);
  SysFreeString(b);
}

TEST(AutomationBStr, ByteLengthStringsOfOddSizeStayTerminated) {
  BSTR b = SysAllocStringByteLen("abc", 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringByteLen(b), 3u);
  EXPECT_EQ(SysStringLen(b), 1u);
  const char *bytes = reinterpret_cast<const char *>(b);
  EXPECT_EQ(std::string(bytes, 3), "abc");
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(bytes[4], 0);
  SysFreeString(b);
}

TEST(AutomationBStr, NullStringsAreHarmless) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  EXPECT_EQ(empty[0], 0);
  SysFreeString(empty);
}

TEST(AutomationBStr, ImpossibleLengthsFailInsteadOfOverflowing) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);
  EXPECT_EQ(SysAllocStringByteLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(AutomationBStr, ReallocationMayUseItsOwnText) {
  BSTR b = SysAllocString(u"abcdef");
  ASSERT_TRUE(SysReAllocString(&b, b + 2));
  EXPECT_EQ(std::u16string(b), u"cdef");
  EXPECT_EQ(SysStringLen(b), 4u);
  ASSERT_TRUE(SysReAllocString(&b, nullptr));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 0u);
  SysFreeString(b);
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

} // namespace
