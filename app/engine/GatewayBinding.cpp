#include "GatewayBinding.h"

#include <codepage/Codepage.h>

#include <vector>

namespace engine {

namespace {

constexpr GatewayBinding::NameEntry kMethodNames[] = {
    {u"SendSimpleSMS", 0},
    {u"SendMsg", 0},
    {u"Authenticate", 0},
    {u"AuthenticateClient", 0},
    {u"Ping", 0},
    {u"QueryMsg", 0},
    {u"QueryBalance", 0},
    {u"ResetSMS", 0},
    {u"RecoverPassword", 0},
    {u"TokenPay", 0},
    {u"EncodeToUnicode", 0},
    {u"StopMsgAPIID", 0},
    {u"StartBatch", 0},
    {u"QuickBatchSend", 0},
    {u"EndBatch", 0},
    {u"SetBaseURL", 0},
    {u"ConfigureProxy", 0},
    {u"ConfigureProxyEx", 0},
    {u"Version", 0},
    {u"GetMsgCharge", 0},
    {u"QueryMsgCLIID", 0},
    {nullptr, 0},
};

constexpr GatewayBinding::NameEntry kPropertyNames[] = {
    {u"smsUSER", 0},
    {u"smsPASSWORD", 0},
    {u"smsTEXT", 0},
    {u"smsFROM", 0},
    {u"smsTO", 0},
    {u"smsIsLoggedIn", 0},
    {u"smsERROR", 0},
    {u"smsMSG_TYPE", 0},
    {u"smsCONCAT", 0},
    {u"smsSESSION_ID", 0},
    {u"smsUNICODE", 0},
    {u"smsDELIVERY_ACK", 0},
    {u"smsDELIVERY_TIME", 0},
    {u"smsREQUIRED_FEATURES", 0},
    {u"smsCLI_MSG_ID", 0},
    {nullptr, 0},
};

static_assert(sizeof(kMethodNames) / sizeof(kMethodNames[0]) == GatewayBinding::kMethodCount + 1);
static_assert(sizeof(kPropertyNames) / sizeof(kPropertyNames[0]) ==
              GatewayBinding::kPropertyCount + 1);

char16_t FoldCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
}

bool EqualsIgnoringCase(const char16_t *a, std::u16string_view b) {
  std::size_t i = 0;
  for (; a[i] != 0; ++i)
    if (i >= b.size() || FoldCase(a[i]) != FoldCase(b[i])) return false;
  return i == b.size();
}

// Arguments of one invocation; frees their strings when it goes.
class Arguments {
public:
  Arguments() = default;
  Arguments(const Arguments &) = delete;
  Arguments &operator=(const Arguments &) = delete;
  ~Arguments() {
    for (VARIANT &v : values_)
      VariantClear(&v);
  }
  Arguments &Text(const char *text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = nullptr;
    if (text != nullptr) {
      std::u16string wide = codepage::ToUtf16(text);
      v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (v.bstrVal == nullptr) complete_ = false;
    }
    values_.push_back(v);
    return *this;
  }
  Arguments &Bool(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    values_.push_back(v);
    return *this;
  }
  Arguments &Int(std::int32_t value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    values_.push_back(v);
    return *this;
  }
  VARIANT *Data() { return values_.empty() ? nullptr : values_.data(); }
  UINT Count() const { return static_cast<UINT>(values_.size()); }
  // False when a text argument could not be allocated.
  bool Complete() const { return complete_; }

private:
  std::vector<VARIANT> values_;
  bool complete_ = true;
};

void ClearExcepInfo(EXCEPINFO &info) {
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  info = EXCEPINFO{};
}

// The text of a result variant (a text, or any value automation can turn
// into one), as Windows-1252.
bool ResultText(VARIANT &result, std::string &out) {
  if (result.vt == VT_BSTR) {
    out = result.bstrVal ? codepage::FromUtf16(result.bstrVal, SysStringLen(result.bstrVal))
                         : std::string();
    return true;
  }
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, &result, 0, VT_BSTR))) return false;
  out = converted.bstrVal ? codepage::FromUtf16(converted.bstrVal, SysStringLen(converted.bstrVal))
                          : std::string();
  VariantClear(&converted);
  return true;
}

} // namespace

GatewayBinding::GatewayBinding() {
  for (std::size_t i = 0; i < methods_.size(); ++i)
    methods_[i] = kMethodNames[i];
  for (std::size_t i = 0; i < properties_.size(); ++i)
    properties_[i] = kPropertyNames[i];
}

GatewayBinding::~GatewayBinding() {
  Release();
}

void GatewayBinding::Release() {
  if (dispatch_ != nullptr) {
    dispatch_->Release();
    dispatch_ = nullptr;
  }
  if (comInitialized_) {
    CoUninitialize();
    comInitialized_ = false;
  }
  ready_ = false;
}

std::unique_ptr<GatewayBinding> GatewayBinding::Create(HRESULT *status,
                                                       std::u16string_view progId) {
  auto binding = std::make_unique<GatewayBinding>();
  HRESULT hr = binding->Initialize(progId);
  if (status != nullptr) *status = hr;
  if (FAILED(hr)) return nullptr;
  return binding;
}

HRESULT GatewayBinding::Initialize(std::u16string_view progId) {
  Release();
  methodsResolved_ = 0;
  propertiesResolved_ = 0;

  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return hr;
  comInitialized_ = true;

  std::u16string name(progId);
  CLSID clsid{};
  hr = CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(hr)) {
    Release();
    return hr;
  }
  void *object = nullptr;
  hr = CoCreateInstance(&clsid, nullptr, CLSCTX_INPROC_SERVER, &IID_IDispatch, &object);
  if (FAILED(hr) || object == nullptr) {
    Release();
    return FAILED(hr) ? hr : E_FAIL;
  }
  dispatch_ = static_cast<IDispatch *>(object);
  ResolveTables();
  return S_OK;
}

std::unique_ptr<GatewayBinding> GatewayBinding::Attach(IDispatch *object) {
  if (object == nullptr) return nullptr;
  auto binding = std::make_unique<GatewayBinding>();
  object->AddRef();
  binding->dispatch_ = object;
  binding->ResolveTables();
  return binding;
}

void GatewayBinding::ResolveTables() {
  methodsResolved_ = 0;
  propertiesResolved_ = 0;
  auto resolve = [this](NameEntry &entry) {
    std::u16string member(entry.name);
    LPOLESTR names[1] = {member.data()};
    DISPID id = 0;
    HRESULT r = dispatch_->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    entry.id = (r == DISP_E_UNKNOWNNAME || r == DISP_E_MEMBERNOTFOUND) ? 0 : id;
  };
  for (NameEntry &entry : methods_) {
    if (entry.name == nullptr) break;
    resolve(entry);
    ++methodsResolved_;
  }
  for (NameEntry &entry : properties_) {
    if (entry.name == nullptr) break;
    resolve(entry);
    ++propertiesResolved_;
  }
  ready_ = true;
}

bool GatewayBinding::FindMember(std::u16string_view name, DISPID &id) const {
  auto search = [&](const NameEntry *table, std::size_t size) {
    for (std::size_t i = 0; i < size && table[i].name != nullptr; ++i) {
      if (EqualsIgnoringCase(table[i].name, name)) {
        id = table[i].id;
        return true;
      }
    }
    return false;
  };
  return search(methods_.data(), methods_.size()) || search(properties_.data(), properties_.size());
}

HRESULT GatewayBinding::InvokeByName(std::u16string_view name, WORD kind, VARIANT *args,
                                     UINT argCount, VARIANT *result) {
  if (!ready_ || dispatch_ == nullptr) return E_FAIL;
  DISPID id = 0;
  if (!FindMember(name, id)) return E_FAIL;

  // Automation takes positional arguments last first.
  std::vector<VARIANT> reversed(argCount);
  for (UINT i = 0; i < argCount; ++i)
    reversed[i] = args[argCount - 1 - i];
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = argCount;
  if (kind == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  EXCEPINFO excep{};
  UINT argErr = 0;
  std::lock_guard<TrackedRecursiveMutex> guard(CallLock());
  HRESULT hr =
      dispatch_->Invoke(id, &IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &excep, &argErr);
  ClearExcepInfo(excep);
  return hr;
}

HRESULT GatewayBinding::CallText(std::u16string_view name, VARIANT *args, UINT argCount,
                                 std::string *result) {
  VARIANT value;
  VariantInit(&value);
  HRESULT hr = InvokeByName(name, DISPATCH_METHOD, args, argCount, &value);
  if (SUCCEEDED(hr) && !ResultText(value, *result)) hr = DISP_E_TYPEMISMATCH;
  VariantClear(&value);
  return hr;
}

HRESULT GatewayBinding::PutValue(std::u16string_view name, VARIANT &value) {
  if (!ready_) return E_FAIL;
  return InvokeByName(name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

HRESULT GatewayBinding::SendMsg(bool useSessionId, const char *msg, const char *to,
                                std::string *result) {
  if (!ready_ || msg == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Bool(useSessionId).Text(msg).Text(to);
  return args.Complete() ? CallText(u"SendMsg", args.Data(), args.Count(), result) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::AuthenticateClient(const char *clientId, const char *user,
                                           const char *password, std::string *result) {
  if (!ready_ || clientId == nullptr || user == nullptr || password == nullptr || result == nullptr)
    return E_FAIL;
  Arguments args;
  args.Text(clientId).Text(user).Text(password);
  return args.Complete() ? CallText(u"AuthenticateClient", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::Ping(std::string *result) {
  if (!ready_ || result == nullptr) return E_FAIL;
  return CallText(u"Ping", nullptr, 0, result);
}

HRESULT GatewayBinding::QueryBalance(std::string *result) {
  if (!ready_ || result == nullptr) return E_FAIL;
  return CallText(u"QueryBalance", nullptr, 0, result);
}

HRESULT GatewayBinding::RecoverPassword(const char *username, const char *email,
                                        std::string *result) {
  if (!ready_ || username == nullptr || email == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(username).Text(email);
  return args.Complete() ? CallText(u"RecoverPassword", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::StopMsgAPIID(const char *apiMsgId, std::string *result) {
  if (!ready_ || apiMsgId == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(apiMsgId);
  return args.Complete() ? CallText(u"StopMsgAPIID", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::QueryMsgCLIID(const char *cliMsgId, std::string *result) {
  if (!ready_ || cliMsgId == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(cliMsgId);
  return args.Complete() ? CallText(u"QueryMsgCLIID", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::TokenPay(const char *token, std::string *result) {
  if (!ready_ || token == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(token);
  return args.Complete() ? CallText(u"TokenPay", args.Data(), args.Count(), result) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::EncodeToUnicode(const char *text, std::string *result) {
  if (!ready_ || text == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(text);
  return args.Complete() ? CallText(u"EncodeToUnicode", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::StartBatch(const char *templateText, std::string *result) {
  if (!ready_ || templateText == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(templateText);
  return args.Complete() ? CallText(u"StartBatch", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::QuickBatchSend(const char *to, std::string *result) {
  if (!ready_ || to == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Text(to);
  return args.Complete() ? CallText(u"QuickBatchSend", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::EndBatch(std::string *result) {
  if (!ready_ || result == nullptr) return E_FAIL;
  return CallText(u"EndBatch", nullptr, 0, result);
}

HRESULT GatewayBinding::ConfigureProxyEx(bool testForOnline, std::int32_t inetType,
                                         const char *proxy, const char *port, const char *username,
                                         const char *password, std::string *result) {
  if (!ready_ || proxy == nullptr || port == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Bool(testForOnline).Int(inetType).Text(proxy).Text(port).Text(username).Text(password);
  return args.Complete() ? CallText(u"ConfigureProxyEx", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::Version(std::string *result) {
  if (!ready_ || result == nullptr) return E_FAIL;
  Arguments args;
  args.Bool(true);
  return args.Complete() ? CallText(u"Version", args.Data(), args.Count(), result) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::GetMsgCharge(bool useSessionId, const char *apiMsgId, std::string *result) {
  if (!ready_ || apiMsgId == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Bool(useSessionId).Text(apiMsgId);
  return args.Complete() ? CallText(u"GetMsgCharge", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::SetBaseURL(bool resetOnly, const char *newUrl, std::int32_t hashKey,
                                   std::string *result) {
  if (!ready_ || newUrl == nullptr || result == nullptr) return E_FAIL;
  Arguments args;
  args.Bool(resetOnly).Text(newUrl).Int(hashKey);
  return args.Complete() ? CallText(u"SetBaseURL", args.Data(), args.Count(), result)
                         : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::get_smsERROR(std::int32_t *value) {
  if (!ready_ || value == nullptr) return E_FAIL;
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = InvokeByName(u"smsERROR", DISPATCH_PROPERTYGET, nullptr, 0, &result);
  if (SUCCEEDED(hr)) {
    if (result.vt == VT_I4) {
      *value = result.lVal;
    } else {
      VARIANT converted;
      VariantInit(&converted);
      hr = VariantChangeType(&converted, &result, 0, VT_I4);
      if (SUCCEEDED(hr)) *value = converted.lVal;
      VariantClear(&converted);
    }
  }
  VariantClear(&result);
  return hr;
}

HRESULT GatewayBinding::get_smsSESSION_ID(std::string *value) {
  if (!ready_ || value == nullptr) return E_FAIL;
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = InvokeByName(u"smsSESSION_ID", DISPATCH_PROPERTYGET, nullptr, 0, &result);
  if (SUCCEEDED(hr) && !ResultText(result, *value)) hr = DISP_E_TYPEMISMATCH;
  VariantClear(&result);
  return hr;
}

HRESULT GatewayBinding::put_smsUNICODE(bool value) {
  Arguments args;
  args.Bool(value);
  return args.Complete() ? PutValue(u"smsUNICODE", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsDELIVERY_ACK(bool value) {
  Arguments args;
  args.Bool(value);
  return args.Complete() ? PutValue(u"smsDELIVERY_ACK", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsMSG_TYPE(std::int32_t value) {
  Arguments args;
  args.Int(value);
  return args.Complete() ? PutValue(u"smsMSG_TYPE", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsREQUIRED_FEATURES(std::int32_t value) {
  Arguments args;
  args.Int(value);
  return args.Complete() ? PutValue(u"smsREQUIRED_FEATURES", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsCONCAT(std::int32_t value) {
  Arguments args;
  args.Int(value);
  return args.Complete() ? PutValue(u"smsCONCAT", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsDELIVERY_TIME(std::int32_t value) {
  Arguments args;
  args.Int(value);
  return args.Complete() ? PutValue(u"smsDELIVERY_TIME", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsFROM(const char *value) {
  if (!ready_ || value == nullptr) return E_FAIL;
  Arguments args;
  args.Text(value);
  return args.Complete() ? PutValue(u"smsFROM", *args.Data()) : E_OUTOFMEMORY;
}

HRESULT GatewayBinding::put_smsCLI_MSG_ID(const char *value) {
  if (!ready_ || value == nullptr) return E_FAIL;
  Arguments args;
  args.Text(value);
  return args.Complete() ? PutValue(u"smsCLI_MSG_ID", *args.Data()) : E_OUTOFMEMORY;
}

} // namespace engine
