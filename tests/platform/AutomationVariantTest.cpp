#include <automation/automation.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A VARIANT that clears itself.
struct Var : VARIANT {
  Var() { VariantInit(this); }
  ~Var() { VariantClear(this); }
  Var(const Var &) = delete;
  Var &operator=(const Var &) = delete;
};

void SetText(VARIANT &v, const char16_t *text) {
  VariantClear(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
}

void SetI4(VARIANT &v, LONG value) {
  VariantClear(&v);
  v.vt = VT_I4;
  v.lVal = value;
}

void SetBool(VARIANT &v, bool value) {
  VariantClear(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

std::u16string Text(const VARIANT &v) {
  return v.bstrVal ? std::u16string(v.bstrVal) : u"";
}

HRESULT TextToI4(const char16_t *text, LONG &out) {
  Var src, dst;
  SetText(src, text);
  HRESULT hr = VariantChangeType(&dst, &src, 0, VT_I4);
  if (SUCCEEDED(hr)) {
    EXPECT_EQ(dst.vt, VT_I4);
    out = dst.lVal;
  }
  return hr;
}

TEST(AutomationVariant, LayoutMatchesWindows) {
  EXPECT_EQ(sizeof(VARIANT), 24u);
  EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
  EXPECT_EQ(sizeof(GUID), 16u);
}

TEST(AutomationVariant, TextToI4ReadsDecimalAndReportsErrors) {
  LONG v = 0;
  EXPECT_EQ(TextToI4(u"42", v), S_OK);
  EXPECT_EQ(v, 42);
  EXPECT_EQ(TextToI4(u"  -17 ", v), S_OK);
  EXPECT_EQ(v, -17);
  EXPECT_EQ(TextToI4(u"+8", v), S_OK);
  EXPECT_EQ(v, 8);
  EXPECT_EQ(TextToI4(u"2147483647", v), S_OK);
  EXPECT_EQ(v, 2147483647);
  EXPECT_EQ(TextToI4(u"-2147483648", v), S_OK);
  EXPECT_EQ(v, INT32_MIN);
  // Fractions round half to even, as automation does.
  EXPECT_EQ(TextToI4(u"2.5", v), S_OK);
  EXPECT_EQ(v, 2);
  EXPECT_EQ(TextToI4(u"3.5", v), S_OK);
  EXPECT_EQ(v, 4);
  EXPECT_EQ(TextToI4(u"2.51", v), S_OK);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(TextToI4(u"-0.4", v), S_OK);
  EXPECT_EQ(v, 0);

  EXPECT_EQ(TextToI4(u"2147483648", v), DISP_E_OVERFLOW);
  EXPECT_EQ(TextToI4(u"-2147483649", v), DISP_E_OVERFLOW);
  EXPECT_EQ(TextToI4(u"99999999999999999999999999", v), DISP_E_OVERFLOW);
  EXPECT_EQ(TextToI4(u"", v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(TextToI4(u"   ", v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(TextToI4(u"12abc", v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(TextToI4(u"1 2", v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(TextToI4(u"-", v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(TextToI4(u"0x10", v), DISP_E_TYPEMISMATCH);

  // A null BSTR is not a number.
  Var src, dst;
  src.vt = VT_BSTR;
  src.bstrVal = nullptr;
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(AutomationVariant, FailedConversionLeavesDestinationAlone) {
  Var src, dst;
  SetText(src, u"nope");
  SetI4(dst, 77);
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(dst.vt, VT_I4);
  EXPECT_EQ(dst.lVal, 77);
}

TEST(AutomationVariant, IntegerRangesAreChecked) {
  Var src, dst;
  SetI4(src, 40000);
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_I2), DISP_E_OVERFLOW);
  SetI4(src, 255);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_UI1), S_OK);
  EXPECT_EQ(dst.vt, VT_UI1);
  EXPECT_EQ(dst.bVal, 255);
  SetI4(src, -1);
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_UI1), DISP_E_OVERFLOW);
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_UI4), DISP_E_OVERFLOW);
  src.vt = VT_UI4;
  src.ulVal = 0xFFFFFFFFu;
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), DISP_E_OVERFLOW);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"4294967295");
  src.vt = VT_I2;
  src.iVal = -300;
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_INT), S_OK);
  EXPECT_EQ(dst.vt, VT_INT);
  EXPECT_EQ(dst.intVal, -300);
}

TEST(AutomationVariant, BooleansConvertTheAutomationWay) {
  Var src, dst;
  SetI4(src, 5);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BOOL), S_OK);
  EXPECT_EQ(dst.vt, VT_BOOL);
  EXPECT_EQ(dst.boolVal, VARIANT_TRUE);
  SetI4(src, 0);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BOOL), S_OK);
  EXPECT_EQ(dst.boolVal, VARIANT_FALSE);

  SetBool(src, true);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.lVal, -1);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"-1");
  ASSERT_EQ(VariantChangeType(&dst, &src, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"True");
  SetBool(src, false);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.lVal, 0);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"0");
  ASSERT_EQ(VariantChangeType(&dst, &src, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"False");

  struct Case {
    const char16_t *text;
    HRESULT hr;
    VARIANT_BOOL value;
  } cases[] = {{u"true", S_OK, VARIANT_TRUE},    {u"TRUE", S_OK, VARIANT_TRUE},
               {u"tRuE", S_OK, VARIANT_TRUE},    {u" False ", S_OK, VARIANT_FALSE},
               {u"0", S_OK, VARIANT_FALSE},      {u"-1", S_OK, VARIANT_TRUE},
               {u"12", S_OK, VARIANT_TRUE},      {u"0.25", S_OK, VARIANT_TRUE},
               {u"yes", DISP_E_TYPEMISMATCH, 0}, {u"", DISP_E_TYPEMISMATCH, 0}};
  for (const Case &c : cases) {
    SetText(src, c.text);
    VariantClear(&dst);
    EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_BOOL), c.hr);
    if (c.hr == S_OK) {
      EXPECT_EQ(dst.vt, VT_BOOL);
      EXPECT_EQ(dst.boolVal, c.value);
    }
  }
}

TEST(AutomationVariant, EmptyBecomesZeroEmptyTextAndFalse) {
  Var src, dst;
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.vt, VT_I4);
  EXPECT_EQ(dst.lVal, 0);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(dst.vt, VT_BSTR);
  ASSERT_NE(dst.bstrVal, nullptr);
  EXPECT_EQ(SysStringLen(dst.bstrVal), 0u);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BOOL), S_OK);
  EXPECT_EQ(dst.boolVal, VARIANT_FALSE);
  // Anything converts to VT_EMPTY by being released.
  SetText(src, u"x");
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_EMPTY), S_OK);
  EXPECT_EQ(dst.vt, VT_EMPTY);
}

TEST(AutomationVariant, NumbersFormatAsDecimalText) {
  Var src, dst;
  SetI4(src, INT32_MIN);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"-2147483648");
  src.vt = VT_UI1;
  src.bVal = 200;
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"200");
}

TEST(AutomationVariant, ErrorValuesKeepTheirCode) {
  Var src, dst;
  src.vt = VT_ERROR;
  src.scode = DISP_E_PARAMNOTFOUND;
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&dst, &src, 0, VT_BOOL), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.lVal, DISP_E_PARAMNOTFOUND);
  ASSERT_EQ(VariantChangeType(&src, &dst, 0, VT_ERROR), S_OK);
  EXPECT_EQ(src.vt, VT_ERROR);
  EXPECT_EQ(src.scode, DISP_E_PARAMNOTFOUND);
  ASSERT_EQ(VariantCopy(&dst, &src), S_OK);
  EXPECT_EQ(dst.vt, VT_ERROR);
  EXPECT_EQ(dst.scode, DISP_E_PARAMNOTFOUND);
}

TEST(AutomationVariant, ReferencesAreReadThrough) {
  Var dst;
  LONG number = 123;
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BYREF | VT_I4;
  ref.plVal = &number;
  ASSERT_EQ(VariantChangeType(&dst, &ref, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(dst), u"123");

  BSTR text = SysAllocString(u"77");
  ref.vt = VT_BYREF | VT_BSTR;
  ref.pbstrVal = &text;
  ASSERT_EQ(VariantChangeType(&dst, &ref, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.lVal, 77);
  // Converting a reference never takes the referenced string.
  EXPECT_EQ(std::u16string(text), u"77");
  SysFreeString(text);

  VARIANT_BOOL flag = VARIANT_TRUE;
  ref.vt = VT_BYREF | VT_BOOL;
  ref.pboolVal = &flag;
  ASSERT_EQ(VariantChangeType(&dst, &ref, 0, VT_I4), S_OK);
  EXPECT_EQ(dst.lVal, -1);

  Var inner;
  SetText(inner, u"false");
  ref.vt = VT_BYREF | VT_VARIANT;
  ref.pvarVal = &inner;
  ASSERT_EQ(VariantChangeType(&dst, &ref, 0, VT_BOOL), S_OK);
  EXPECT_EQ(dst.boolVal, VARIANT_FALSE);

  // A reference with no target is refused rather than followed.
  ref.vt = VT_BYREF | VT_I4;
  ref.plVal = nullptr;
  EXPECT_EQ(VariantChangeType(&dst, &ref, 0, VT_BSTR), E_POINTER);
  // Clearing a reference leaves what it points at alone.
  ref.vt = VT_BYREF | VT_BSTR;
  BSTR kept = SysAllocString(u"kept");
  ref.pbstrVal = &kept;
  EXPECT_EQ(VariantClear(&ref), S_OK);
  EXPECT_EQ(ref.vt, VT_EMPTY);
  EXPECT_EQ(std::u16string(kept), u"kept");
  SysFreeString(kept);
}

TEST(AutomationVariant, InPlaceConversionReplacesTheSource) {
  Var v;
  SetText(v, u"15");
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 15);
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(v), u"15");
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Text(v), u"15");
}

TEST(AutomationVariant, CopyDuplicatesStringsAndRejectsBadTypes) {
  Var a, b;
  const char16_t raw[] = {u'x', 0, u'y'};
  a.vt = VT_BSTR;
  a.bstrVal = SysAllocStringLen(raw, 3);
  ASSERT_EQ(VariantCopy(&b, &a), S_OK);
  ASSERT_EQ(b.vt, VT_BSTR);
  EXPECT_NE(b.bstrVal, a.bstrVal);
  EXPECT_EQ(SysStringLen(b.bstrVal), 3u);
  EXPECT_EQ(b.bstrVal[2], u'y');
  // Copy onto a variant holding a string frees the old one (no leak under
  // the address sanitizer).
  ASSERT_EQ(VariantCopy(&b, &a), S_OK);
  EXPECT_EQ(VariantCopy(&a, &a), S_OK);

  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x0FFF;
  EXPECT_EQ(VariantCopy(&b, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&b, &a, 0, VT_VARIANT), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&b, &a, 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

// An object whose default member is the number 31; counts its references.
struct NumberObject : IDispatch {
  ULONG refs = 1;
  int invokes = 0;
  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (IsEqualGUID(riid, &IID_IUnknown) || IsEqualGUID(riid, &IID_IDispatch)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT GetTypeInfoCount(UINT *n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                 EXCEPINFO *, UINT *) override {
    ++invokes;
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET) || params->cArgs != 0)
      return DISP_E_MEMBERNOTFOUND;
    result->vt = VT_I4;
    result->lVal = 31;
    return S_OK;
  }
};

TEST(AutomationVariant, ObjectsConvertThroughTheirDefaultMember) {
  NumberObject object;
  {
    Var src, dst;
    src.vt = VT_DISPATCH;
    src.pdispVal = &object;
    object.AddRef();
    ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_BSTR), S_OK);
    EXPECT_EQ(Text(dst), u"31");
    EXPECT_EQ(object.invokes, 1);
    EXPECT_EQ(VariantChangeType(&dst, &src, VARIANT_NOVALUEPROP, VT_I4), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(VariantChangeType(&dst, &src, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(dst.vt, VT_UNKNOWN);
    EXPECT_EQ(object.refs, 3u);
    Var copy;
    ASSERT_EQ(VariantCopy(&copy, &src), S_OK);
    EXPECT_EQ(object.refs, 4u);
  }
  // Every reference the variants took was given back.
  EXPECT_EQ(object.refs, 1u);
}

} // namespace
