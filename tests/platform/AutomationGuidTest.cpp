#include <automation/automation.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Format(const GUID &g) {
  OLECHAR buf[CHARS_IN_GUID];
  EXPECT_EQ(StringFromGUID2(&g, buf, CHARS_IN_GUID), CHARS_IN_GUID);
  return buf;
}

TEST(AutomationGuid, StandardIdentifiersHaveTheirWindowsValues) {
  EXPECT_EQ(Format(IID_IUnknown), u"{00000000-0000-0000-C000-000000000046}");
  EXPECT_EQ(Format(IID_IClassFactory), u"{00000001-0000-0000-C000-000000000046}");
  EXPECT_EQ(Format(IID_IDispatch), u"{00020400-0000-0000-C000-000000000046}");
  EXPECT_EQ(Format(IID_ITypeInfo), u"{00020401-0000-0000-C000-000000000046}");
  EXPECT_EQ(Format(IID_ITypeLib), u"{00020402-0000-0000-C000-000000000046}");
  EXPECT_EQ(Format(IID_IErrorInfo), u"{1CF2B120-547D-101B-8E65-08002B2BD119}");
  EXPECT_EQ(Format(IID_ICreateErrorInfo), u"{22F03340-547D-101B-8E65-08002B2BD119}");
  EXPECT_EQ(Format(IID_ISupportErrorInfo), u"{DF0B3D60-548F-101B-8E65-08002B2BD119}");
  EXPECT_EQ(Format(IID_IConnectionPointContainer), u"{B196B284-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Format(IID_IEnumConnectionPoints), u"{B196B285-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Format(IID_IConnectionPoint), u"{B196B286-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Format(IID_NULL), u"{00000000-0000-0000-0000-000000000000}");
}

TEST(AutomationGuid, TextRoundTripsInEitherCase) {
  const GUID g = {0x6F1C2A90, 0x3B7E, 0x4D25, {0x9A, 0x41, 0x0E, 0x58, 0xC7, 0xD3, 0xB2, 0x16}};
  EXPECT_EQ(Format(g), u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}");
  GUID back{};
  ASSERT_EQ(CLSIDFromString(u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}", &back), S_OK);
  EXPECT_TRUE(IsEqualGUID(&back, &g));
  ASSERT_EQ(CLSIDFromString(u"{6f1c2a90-3b7e-4d25-9a41-0e58c7d3b216}", &back), S_OK);
  EXPECT_TRUE(IsEqualGUID(&back, &g));
  // Data4's byte order is kept: bytes, not a number.
  EXPECT_EQ(back.Data4[0], 0x9A);
  EXPECT_EQ(back.Data4[7], 0x16);
}

TEST(AutomationGuid, MalformedTextIsRefused) {
  const char16_t *bad[] = {
      u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B21}",   // short
      u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B2166}", // long
      u"{6F1C2A90-3B7E-4D25-9A41+0E58C7D3B216}",  // wrong separator
      u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B2G6}",  // not hex
      u"{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216",   // no closing brace
      u"{ 6F1C2A9-3B7E-4D25-9A41-0E58C7D3B216}",
  };
  for (const char16_t *text : bad) {
    GUID g = IID_IDispatch;
    EXPECT_EQ(CLSIDFromString(text, &g), CO_E_CLASSSTRING);
    EXPECT_TRUE(IsEqualGUID(&g, &IID_NULL));
  }
  EXPECT_EQ(CLSIDFromString(u"{}", nullptr), E_INVALIDARG);
}

TEST(AutomationGuid, FormattingRespectsTheBuffer) {
  OLECHAR buf[CHARS_IN_GUID];
  buf[0] = u'x';
  EXPECT_EQ(StringFromGUID2(&IID_IDispatch, buf, CHARS_IN_GUID - 1), 0);
  EXPECT_EQ(buf[0], u'x');
  EXPECT_EQ(StringFromGUID2(&IID_IDispatch, buf, CHARS_IN_GUID), CHARS_IN_GUID);
  EXPECT_EQ(buf[38], 0);
}

TEST(AutomationGuid, Equality) {
  GUID copy = IID_IDispatch;
  EXPECT_TRUE(IsEqualGUID(&copy, &IID_IDispatch));
  copy.Data4[7] ^= 1;
  EXPECT_FALSE(IsEqualGUID(&copy, &IID_IDispatch));
  EXPECT_FALSE(IsEqualGUID(&IID_IUnknown, &IID_IClassFactory));
}

} // namespace
