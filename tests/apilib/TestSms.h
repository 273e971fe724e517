#pragma once
// Helpers for driving the SMS object through its vtable: a concrete object
// with trivial IUnknown/IDispatch, an owning automation string, and a
// fixture that points the process's transport at a recording server.

#include <gtest/gtest.h>

#include <automation/automation.h>
#include <codepage/Codepage.h>
#include <parlink/Parlink.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "src/SMS.h"
#include "testsupport/RecordingServer.h"
#include "testsupport/TestEnv.h"
#include "transport/TransportContext.h"

namespace parlinktest {

// The SMS object with the reference counting and dispatch a frame would add.
class TestSms final : public SMS {
public:
  static TestSms *Create() { return new TestSms(); }

  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualGUID(riid, &IID_IUnknown) || IsEqualGUID(riid, &IID_IDispatch) ||
        IsEqualGUID(riid, &parlink::IID_ISMS)) {
      *ppv = static_cast<ISMS *>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT GetTypeInfoCount(UINT *pctinfo) override {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                 UINT *) override {
    return E_NOTIMPL;
  }

private:
  TestSms() = default;
  ~TestSms() = default;
  std::atomic<ULONG> refs_{1};
};

inline testsupport::ScriptedReply Reply(std::string body, int status = 200) {
  return testsupport::ScriptedReply::Text(std::move(body), status);
}
inline testsupport::ScriptedReply RawReply(std::string bytes) {
  return testsupport::ScriptedReply::Raw(std::move(bytes));
}

// An automation string owned by the test. Built from UTF-8 text.
class Bstr {
public:
  Bstr() = default;
  explicit Bstr(const std::string &utf8) {
    const std::u16string wide = codepage::Utf8ToUtf16(utf8);
    value_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr &) = delete;
  Bstr &operator=(const Bstr &) = delete;

  BSTR get() const { return value_; }
  // For out parameters: frees the old value first.
  BSTR *out() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }
  bool isNull() const { return value_ == nullptr; }
  // The text as UTF-8 (what a caller reads back).
  std::string str() const {
    return value_ ? codepage::Utf16ToUtf8(std::u16string_view(value_, SysStringLen(value_)))
                  : std::string();
  }

private:
  BSTR value_ = nullptr;
};

// Owns one reference to an SMS object.
class SmsPtr {
public:
  SmsPtr() : sms_(TestSms::Create()) {}
  ~SmsPtr() { sms_->Release(); }
  SmsPtr(const SmsPtr &) = delete;
  SmsPtr &operator=(const SmsPtr &) = delete;
  ISMS *operator->() const { return sms_; }
  ISMS *get() const { return sms_; }

private:
  ISMS *sms_;
};

// The fields of the thread's current error object, taken from it.
struct ErrorObject {
  GUID guid{};
  std::string source, description, helpFile;
  DWORD helpContext = 99;
};
inline std::optional<ErrorObject> TakeErrorObject() {
  IErrorInfo *info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return std::nullopt;
  ErrorObject object;
  Bstr source, description, helpFile;
  info->GetGUID(&object.guid);
  info->GetSource(source.out());
  info->GetDescription(description.out());
  info->GetHelpFile(helpFile.out());
  info->GetHelpContext(&object.helpContext);
  info->Release();
  object.source = source.str();
  object.description = description.str();
  object.helpFile = helpFile.str();
  return object;
}

// Every test starts with a fresh transport context aimed at its own server,
// without proxies from the environment.
class GatewayTest : public ::testing::Test {
protected:
  explicit GatewayTest(
      testsupport::RecordingServer::Mode mode = testsupport::RecordingServer::Mode::Http)
      : server_(mode) {}

  void SetUp() override {
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
      unsetenv(name);
    unsetenv("PARLINK_SSL_LIBRARY");
    setenv("PARLINK_BASE_URL", server_.BaseUrl().c_str(), 1);
    parlink::TransportContext::ResetForTesting();
    ClearErrorObject();
  }
  void TearDown() override {
    server_.Stop();
    parlink::TransportContext::ResetForTesting();
    unsetenv("PARLINK_BASE_URL");
  }

  static void ClearErrorObject() { SetErrorInfo(0, nullptr); }

  // The object logged in with session "S1" (the reply is scripted here).
  void LogIn(ISMS *sms, const std::string &session = "S1") {
    server_.SetReply("/http/auth", Reply("OK: " + session));
    Bstr api("3010101"), user("demo"), password("pw"), result;
    ASSERT_EQ(sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_FALSE, result.out()),
              S_OK);
    ASSERT_EQ(result.str(), "OK: " + session);
    server_.ClearRequests();
  }

  static LONG Error(ISMS *sms) {
    LONG code = -12345;
    sms->get_smsERROR(&code);
    return code;
  }
  static std::string ErrorDesc(ISMS *sms) {
    Bstr text;
    sms->get_smsERROR_DESC(text.out());
    return text.str();
  }

  // The body of the last request, whichever way it was carried.
  std::string LastBody() const {
    const auto request = server_.LastRequest();
    if (!request) return "<no request>";
    return request->method == "GET" ? request->query : request->body;
  }

  testsupport::RecordingServer server_;
};

} // namespace parlinktest
