#include "frame/MemberDispatcher.h"

#include "frame/ArgumentList.h"
#include "frame/WideText.h"

namespace parlink::frame {

namespace {

// Copies the calling thread's error object into `info` (the error object is
// consumed, as a client reading it through EXCEPINFO expects).
void FillException(EXCEPINFO &info, HRESULT hr) {
  info = EXCEPINFO{};
  info.wCode = 0;
  info.scode = hr;
  IErrorInfo *error = nullptr;
  if (GetErrorInfo(0, &error) == S_OK && error != nullptr) {
    error->GetSource(&info.bstrSource);
    error->GetDescription(&info.bstrDescription);
    error->GetHelpFile(&info.bstrHelpFile);
    error->GetHelpContext(&info.dwHelpContext);
    error->Release();
  }
}

} // namespace

const Function *MemberDispatcher::FirstWithId(DISPID dispid) const {
  for (const Function &f : functions_) {
    if (f.dispid == dispid) return &f;
  }
  return nullptr;
}

const Function *MemberDispatcher::Select(DISPID dispid, WORD flags) const {
  const Function *method = nullptr;
  const Function *get = nullptr;
  const Function *put = nullptr;
  for (const Function &f : functions_) {
    if (f.dispid != dispid) continue;
    switch (f.kind) {
    case MemberKind::Method:
      method = &f;
      break;
    case MemberKind::PropertyGet:
      get = &f;
      break;
    case MemberKind::PropertyPut:
      put = &f;
      break;
    }
  }
  if ((flags & DISPATCH_PROPERTYPUT) != 0) return put;
  if ((flags & DISPATCH_METHOD) != 0 && method != nullptr) return method;
  if ((flags & DISPATCH_PROPERTYGET) != 0) return get;
  return nullptr;
}

HRESULT MemberDispatcher::GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, DISPID *rgDispId) const {
  if (rgszNames == nullptr || rgDispId == nullptr) return E_POINTER;
  if (cNames == 0) return E_INVALIDARG;
  for (UINT i = 0; i < cNames; ++i)
    rgDispId[i] = DISPID_UNKNOWN;

  // Among the entries of the member, the one whose parameters the names
  // refer to: the method, or a property's put (its value is "newVal").
  const Function *member = nullptr;
  for (const Function &f : functions_) {
    if (!EqualsIgnoreCase(rgszNames[0], f.name)) continue;
    if (member == nullptr || (member->params.empty() && !f.params.empty())) member = &f;
  }
  if (member == nullptr) return DISP_E_UNKNOWNNAME;
  rgDispId[0] = member->dispid;

  HRESULT hr = S_OK;
  for (UINT i = 1; i < cNames; ++i) {
    for (size_t p = 0; p < member->params.size(); ++p) {
      if (EqualsIgnoreCase(rgszNames[i], member->params[p].name)) {
        rgDispId[i] = static_cast<DISPID>(p);
        break;
      }
    }
    if (rgDispId[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT MemberDispatcher::Invoke(ISMS *self, DISPID dispid, WORD flags, DISPPARAMS *params,
                                 VARIANT *result, EXCEPINFO *excepInfo, UINT *argErr) const {
  if (self == nullptr) return E_INVALIDARG;
  const Function *function = Select(dispid, flags);
  if (function == nullptr) return DISP_E_MEMBERNOTFOUND;

  DISPPARAMS none{nullptr, nullptr, 0, 0};
  const DISPPARAMS &args = params != nullptr ? *params : none;
  if (result != nullptr) VariantInit(result);

  ArgumentList bound;
  HRESULT hr = bound.Bind(*function, args, argErr);
  if (FAILED(hr)) return hr;

  // An error object left on the thread by an earlier call must not be
  // reported as the reason for this one.
  SetErrorInfo(0, nullptr);
  hr = function->call(self, bound.Values(), result);
  if (FAILED(hr)) {
    if (excepInfo == nullptr) return hr;
    FillException(*excepInfo, hr);
    return DISP_E_EXCEPTION;
  }
  return S_OK;
}

} // namespace parlink::frame
