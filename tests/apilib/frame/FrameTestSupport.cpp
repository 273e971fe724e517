#include "FrameTestSupport.h"

#include "testsupport/TestEnv.h"

#include <codepage/Codepage.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <stdexcept>

namespace frametest {

const ParlinkModule &Module() {
  static ParlinkModule module = [] {
    ParlinkModule m;
    m.path = (testsupport::LibDir() / "libparlink.so").string();
    m.handle = dlopen(m.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m.handle == nullptr) throw std::runtime_error(std::string("dlopen: ") + dlerror());
    m.getClassObject =
        reinterpret_cast<PFN_DllGetClassObject>(dlsym(m.handle, "DllGetClassObject"));
    m.canUnloadNow = reinterpret_cast<PFN_DllCanUnloadNow>(dlsym(m.handle, "DllCanUnloadNow"));
    m.registerServer =
        reinterpret_cast<PFN_DllRegisterServer>(dlsym(m.handle, "DllRegisterServer"));
    m.unregisterServer =
        reinterpret_cast<PFN_DllUnregisterServer>(dlsym(m.handle, "DllUnregisterServer"));
    m.getTypeLib = reinterpret_cast<PFN_DllGetTypeLib>(dlsym(m.handle, "DllGetTypeLib"));
    return m;
  }();
  return module;
}

void RegisterAndInitialise() {
  ASSERT_EQ(S_OK, Module().registerServer());
  HRESULT hr = CoInitialize(nullptr);
  ASSERT_TRUE(SUCCEEDED(hr));
}

Bstr::Bstr(std::u16string_view text)
    : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

std::u16string Bstr::Text(BSTR b) {
  return b == nullptr ? std::u16string() : std::u16string(b, SysStringLen(b));
}

VARIANT Text(std::u16string_view text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

VARIANT NullText() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  return v;
}

VARIANT Long(LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

std::string Narrow(std::u16string_view text) {
  return codepage::Utf16ToUtf8(text);
}

DispatchCall::DispatchCall(IDispatch *target, DISPID dispid) : target_(target), dispid_(dispid) {
  VariantInit(&result);
}

DispatchCall::DispatchCall(IDispatch *target, std::u16string_view name)
    : target_(target), dispid_(DISPID_UNKNOWN) {
  VariantInit(&result);
  std::u16string copy(name);
  LPOLESTR names[] = {copy.data()};
  HRESULT hr = target->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid_);
  EXPECT_EQ(S_OK, hr) << "GetIDsOfNames " << Narrow(name);
}

DispatchCall::~DispatchCall() {
  VariantClear(&result);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  for (auto &v : positional_)
    VariantClear(&v);
  for (auto &n : named_)
    VariantClear(&n.second);
}

DispatchCall &DispatchCall::Arg(VARIANT value) {
  positional_.push_back(value);
  return *this;
}

DispatchCall &DispatchCall::Named(DISPID id, VARIANT value) {
  named_.emplace_back(id, value);
  return *this;
}

HRESULT DispatchCall::Run(WORD flags) {
  std::vector<VARIANT> args;
  std::vector<DISPID> ids;
  for (auto &n : named_) {
    args.push_back(n.second);
    ids.push_back(n.first);
  }
  for (auto it = positional_.rbegin(); it != positional_.rend(); ++it)
    args.push_back(*it);
  DISPPARAMS params{args.empty() ? nullptr : args.data(), ids.empty() ? nullptr : ids.data(),
                    static_cast<UINT>(args.size()), static_cast<UINT>(ids.size())};
  VariantClear(&result);
  return target_->Invoke(dispid_, &IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &excep,
                         &argErr);
}

HRESULT DispatchCall::Put(VARIANT value) {
  Named(DISPID_PROPERTYPUT, value);
  return Run(DISPATCH_PROPERTYPUT);
}

ComPtr<IDispatch> CreateSmsByProgId() {
  ComPtr<IDispatch> object;
  CLSID clsid{};
  EXPECT_EQ(S_OK, CLSIDFromProgID(u"Parlink.SMS", &clsid));
  EXPECT_EQ(S_OK, CoCreateInstance(&clsid, nullptr, CLSCTX_INPROC_SERVER, &IID_IDispatch,
                                   object.OutVoid()));
  return object;
}

std::string Unscramble(const std::string &body) {
  static const char kKey[] = "PelmaTorvi";
  const std::string prefix = "string=";
  if (body.compare(0, prefix.size(), prefix) != 0) return {};
  std::string hex = body.substr(prefix.size());
  std::string plain;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    unsigned value = static_cast<unsigned>(std::stoul(hex.substr(i, 2), nullptr, 16));
    plain.push_back(static_cast<char>(value ^ static_cast<unsigned char>(kKey[(i / 2) % 10])));
  }
  return plain;
}

} // namespace frametest
