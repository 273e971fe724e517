// C and C++ share one binary interface: objects cross the language border
// in both directions.
#include <automation/automation.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

extern "C" {
size_t abi_c_sizeof_variant(void);
size_t abi_c_offsetof_variant_union(void);
size_t abi_c_sizeof_guid(void);
size_t abi_c_sizeof_excepinfo(void);
uint32_t abi_c_bstr_prefix(BSTR b);
BSTR abi_c_make_bstr(void);
IDispatch *abi_c_make_doubler(void);
int abi_c_destroyed_count(void);
HRESULT abi_c_call_by_name(IDispatch *object, const OLECHAR *name, LONG arg, LONG *result);
}

namespace {

TEST(AutomationAbi, BothLanguagesSeeTheSameLayout) {
  EXPECT_EQ(abi_c_sizeof_variant(), 24u);
  EXPECT_EQ(abi_c_sizeof_variant(), sizeof(VARIANT));
  EXPECT_EQ(abi_c_offsetof_variant_union(), 8u);
  EXPECT_EQ(abi_c_offsetof_variant_union(), offsetof(VARIANT, bstrVal));
  EXPECT_EQ(abi_c_sizeof_guid(), 16u);
  EXPECT_EQ(abi_c_sizeof_excepinfo(), sizeof(EXCEPINFO));
}

TEST(AutomationAbi, StringsCrossTheBorder) {
  BSTR fromCpp = SysAllocString(u"Grüße");
  EXPECT_EQ(abi_c_bstr_prefix(fromCpp), 10u);
  SysFreeString(fromCpp);
  BSTR fromC = abi_c_make_bstr();
  ASSERT_NE(fromC, nullptr);
  EXPECT_EQ(SysStringLen(fromC), 6u);
  EXPECT_EQ(std::u16string(fromC), u"from C");
  SysFreeString(fromC);
}

TEST(AutomationAbi, CppCallsACObjectThroughItsTable) {
  int destroyedBefore = abi_c_destroyed_count();
  IDispatch *doubler = abi_c_make_doubler();
  ASSERT_NE(doubler, nullptr);

  IUnknown *unknown = nullptr;
  ASSERT_EQ(doubler->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
  EXPECT_EQ(static_cast<void *>(unknown), static_cast<void *>(doubler));
  EXPECT_EQ(unknown->Release(), 1u);

  std::u16string name = u"Twice";
  LPOLESTR names[] = {name.data()};
  DISPID id = 0;
  ASSERT_EQ(doubler->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT arg, result;
  VariantInit(&arg);
  VariantInit(&result);
  arg.vt = VT_BSTR;
  arg.bstrVal = SysAllocString(u"21");
  DISPPARAMS params{&arg, nullptr, 1, 0};
  ASSERT_EQ(doubler->Invoke(id, &IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                            nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 42);
  VariantClear(&arg);

  // And back into C: the C client drives the C object it never saw as C++.
  LONG twice = 0;
  ASSERT_EQ(abi_c_call_by_name(doubler, u"Twice", 8, &twice), S_OK);
  EXPECT_EQ(twice, 16);
  EXPECT_EQ(abi_c_call_by_name(doubler, u"Thrice", 8, &twice), DISP_E_UNKNOWNNAME);

  EXPECT_EQ(doubler->Release(), 0u);
  EXPECT_EQ(abi_c_destroyed_count(), destroyedBefore + 1);
}

// A C++ object for the C client.
struct Tripler : IDispatch {
  ULONG refs = 1;
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
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *names, UINT, LCID, DISPID *ids) override {
    if (std::u16string(names[0]) != u"Triple") return DISP_E_UNKNOWNNAME;
    ids[0] = 9;
    return S_OK;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                 UINT *) override {
    if (id != 9 || params->cArgs != 1 || params->rgvarg[0].vt != VT_I4) return DISP_E_TYPEMISMATCH;
    result->vt = VT_I4;
    result->lVal = params->rgvarg[0].lVal * 3;
    return S_OK;
  }
};

TEST(AutomationAbi, CCallsACppObjectThroughItsTable) {
  Tripler tripler;
  LONG value = 0;
  ASSERT_EQ(abi_c_call_by_name(&tripler, u"Triple", 14, &value), S_OK);
  EXPECT_EQ(value, 42);
  // Every reference the C client took, it gave back.
  EXPECT_EQ(tripler.refs, 1u);
}

} // namespace
