#include "DispatchClient.h"

#include "ValueConverter.h"

#include <codepage/Codepage.h>

PreparedStep::~PreparedStep() {
  for (auto &v : args)
    VariantClear(&v);
}

PreparedStep::PreparedStep(PreparedStep &&other) noexcept
    : step(other.step), id(other.id), args(std::move(other.args)) {
  other.args.clear();
}

DispatchClient::DispatchClient(IDispatch *object, const MemberCatalog &catalog)
    : object_(object), catalog_(catalog) {}

HRESULT DispatchClient::Resolve(const std::string &name, DISPID &id) const {
  std::u16string wide = codepage::Utf8ToUtf16(name);
  LPOLESTR names[] = {wide.data()};
  id = DISPID_UNKNOWN;
  return object_->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

bool DispatchClient::Prepare(const ScriptStep &step, PreparedStep &prepared,
                             std::string &error) const {
  prepared.step = &step;
  HRESULT hr = Resolve(step.name, prepared.id);
  if (FAILED(hr)) {
    error = hr == DISP_E_UNKNOWNNAME ? "unknown member \"" + step.name + "\""
                                     : "cannot resolve \"" + step.name + "\"";
    return false;
  }
  const MemberShape *shape = catalog_.Find(prepared.id);

  std::vector<ValueKind> kinds;
  switch (step.op) {
  case ScriptStep::Op::Set:
    if (shape != nullptr && !shape->hasPut) {
      error = "\"" + step.name + "\" cannot be set" +
              (shape->hasGet ? " (it is read-only)" : " (it is not a property)");
      return false;
    }
    kinds.push_back(shape != nullptr ? shape->putKind : ValueKind::Any);
    break;
  case ScriptStep::Op::Get:
    if (shape != nullptr && !shape->hasGet) {
      error = "\"" + step.name + "\" is not a readable property";
      return false;
    }
    break;
  case ScriptStep::Op::Call: {
    if (shape != nullptr && !shape->hasMethod) {
      error = "\"" + step.name + "\" is a property, not a method (use get or set)";
      return false;
    }
    if (shape == nullptr) {
      kinds.assign(step.args.size(), ValueKind::Any);
      break;
    }
    const auto &params = shape->methodParams;
    size_t required = 0;
    for (const auto &p : params)
      required += p.optional ? 0 : 1;
    if (step.args.size() > params.size()) {
      error = "\"" + step.name + "\" takes at most " + std::to_string(params.size()) +
              " argument(s), " + std::to_string(step.args.size()) + " given";
      return false;
    }
    if (step.args.size() < required) {
      error = "\"" + step.name + "\" needs " + std::to_string(required) + " argument(s), " +
              std::to_string(step.args.size()) + " given";
      return false;
    }
    for (size_t i = 0; i < step.args.size(); ++i)
      kinds.push_back(params[i].kind);
    break;
  }
  }

  for (size_t i = 0; i < kinds.size(); ++i) {
    VARIANT value;
    std::string why;
    if (!ValueConverter::ToVariant(step.args[i], kinds[i], value, why)) {
      error = "argument " + std::to_string(i + 1) + " of \"" + step.name + "\": " + why;
      return false;
    }
    prepared.args.push_back(value);
  }
  return true;
}

HRESULT DispatchClient::Invoke(DISPID id, WORD flags, std::vector<VARIANT> &args, bool put,
                               VARIANT &result, std::optional<std::string> &errorInfo) {
  // Automation passes the arguments last first.
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), put ? &putId : nullptr,
                    static_cast<UINT>(reversed.size()), put ? 1u : 0u};
  EXCEPINFO excep{};
  UINT argErr = 0;
  VariantInit(&result);
  HRESULT hr =
      object_->Invoke(id, &IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &excep, &argErr);
  auto text = [](BSTR b) {
    return b == nullptr ? std::string()
                        : codepage::Utf16ToUtf8(std::u16string_view(b, SysStringLen(b)));
  };
  if (hr == DISP_E_EXCEPTION) {
    if (excep.pfnDeferredFillIn != nullptr) excep.pfnDeferredFillIn(&excep);
    if (excep.scode != 0) hr = excep.scode;
    if (hr == E_FAIL) errorInfo = text(excep.bstrDescription);
  } else if (hr == E_FAIL) {
    IErrorInfo *info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
      BSTR description = nullptr;
      info->GetDescription(&description);
      errorInfo = text(description);
      SysFreeString(description);
      info->Release();
    }
  }
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  return hr;
}

std::optional<VARIANT> DispatchClient::ReadProperty(const char16_t *name) {
  std::u16string wide(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(object_->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    return std::nullopt;
  }
  std::vector<VARIANT> none;
  VARIANT value;
  std::optional<std::string> ignored;
  if (FAILED(Invoke(id, DISPATCH_PROPERTYGET, none, false, value, ignored))) {
    VariantClear(&value);
    return std::nullopt;
  }
  return value;
}

StepOutcome DispatchClient::Run(PreparedStep &prepared, bool readErrorState) {
  StepOutcome outcome;
  VARIANT result;
  const ScriptStep &step = *prepared.step;
  switch (step.op) {
  case ScriptStep::Op::Set:
    outcome.hr =
        Invoke(prepared.id, DISPATCH_PROPERTYPUT, prepared.args, true, result, outcome.errorInfo);
    break;
  case ScriptStep::Op::Get:
    outcome.hr = Invoke(prepared.id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, prepared.args, false,
                        result, outcome.errorInfo);
    outcome.value = ValueConverter::ToText(result);
    break;
  case ScriptStep::Op::Call:
    outcome.hr =
        Invoke(prepared.id, DISPATCH_METHOD, prepared.args, false, result, outcome.errorInfo);
    outcome.value = ValueConverter::ToText(result);
    break;
  }
  VariantClear(&result);

  if (step.op == ScriptStep::Op::Call && readErrorState) {
    if (auto code = ReadProperty(u"smsERROR")) {
      VARIANT number;
      VariantInit(&number);
      if (SUCCEEDED(VariantChangeType(&number, &*code, 0, VT_I4))) outcome.smsError = number.lVal;
      VariantClear(&*code);
    }
    if (auto description = ReadProperty(u"smsERROR_DESC")) {
      outcome.smsErrorDesc = ValueConverter::ToText(*description);
      VariantClear(&*description);
    }
  }
  return outcome;
}
