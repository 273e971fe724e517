#include "frame/ArgumentList.h"

namespace parlink::frame {

namespace {

// The value behind a VT_BYREF|VT_VARIANT argument; null when it points nowhere.
const VARIANT *Unwrap(const VARIANT &v) {
  if (v.vt == (VT_BYREF | VT_VARIANT)) return v.pvarVal;
  return &v;
}

bool IsMissing(const VARIANT &v) {
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

} // namespace

ArgumentList::~ArgumentList() {
  Clear();
}

void ArgumentList::Clear() {
  for (size_t i = 0; i < values_.size(); ++i) {
    if (owned_[i]) VariantClear(&values_[i]);
  }
  values_.clear();
  owned_.clear();
}

void ArgumentList::SetDefault(size_t index, const Parameter &param) {
  VARIANT &v = values_[index];
  switch (param.defaultKind) {
  case DefaultKind::Long:
    v.vt = VT_I4;
    v.lVal = param.defaultNumber;
    break;
  case DefaultKind::Bool:
    v.vt = VT_BOOL;
    v.boolVal = static_cast<VARIANT_BOOL>(param.defaultNumber);
    break;
  case DefaultKind::Text:
  case DefaultKind::None:
    v.vt = VT_BSTR;
    v.bstrVal = nullptr;
    break;
  }
}

HRESULT ArgumentList::Convert(size_t index, const Parameter &param, const VARIANT &source) {
  VARIANT &target = values_[index];
  if (param.vt == VT_BSTR) {
    // Strings are lent to the member as they are: no copy, and a null
    // string stays null.
    if (source.vt == VT_BSTR) {
      target.vt = VT_BSTR;
      target.bstrVal = source.bstrVal;
      return S_OK;
    }
    if (source.vt == (VT_BYREF | VT_BSTR)) {
      if (source.pbstrVal == nullptr) return DISP_E_TYPEMISMATCH;
      target.vt = VT_BSTR;
      target.bstrVal = *source.pbstrVal;
      return S_OK;
    }
  } else if (source.vt == param.vt) {
    target = source;
    return S_OK;
  }
  if ((source.vt & VT_BYREF) != 0 && source.byref == nullptr) return DISP_E_TYPEMISMATCH;
  HRESULT hr = VariantChangeType(&target, &source, 0, param.vt);
  if (FAILED(hr)) {
    VariantInit(&target);
    if (hr == DISP_E_OVERFLOW || hr == E_OUTOFMEMORY) return hr;
    return DISP_E_TYPEMISMATCH;
  }
  owned_[index] = target.vt == VT_BSTR;
  return S_OK;
}

HRESULT ArgumentList::Bind(const Function &function, const DISPPARAMS &params, UINT *argErr) {
  Clear();
  const size_t n = function.params.size();
  values_.resize(n);
  owned_.assign(n, false);
  for (auto &v : values_)
    VariantInit(&v);

  if (params.cArgs > 0 && params.rgvarg == nullptr) return E_INVALIDARG;
  if (params.cNamedArgs > params.cArgs) return E_INVALIDARG;
  if (params.cNamedArgs > 0 && params.rgdispidNamedArgs == nullptr) return E_INVALIDARG;

  // source[i]: position in rgvarg of the argument for parameter i, or -1.
  std::vector<long> source(n, -1);
  if (function.kind == MemberKind::PropertyPut) {
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs == 1 && params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      if (argErr != nullptr) *argErr = 0;
      return DISP_E_PARAMNOTFOUND;
    }
    source[0] = 0;
  } else {
    if (params.cArgs > n) return DISP_E_BADPARAMCOUNT;
    const UINT positional = params.cArgs - params.cNamedArgs;
    for (UINT k = 0; k < positional; ++k)
      source[k] = static_cast<long>(params.cArgs - 1 - k);
    for (UINT i = 0; i < params.cNamedArgs; ++i) {
      DISPID id = params.rgdispidNamedArgs[i];
      if (id < 0 || static_cast<size_t>(id) >= n || source[id] != -1) {
        if (argErr != nullptr) *argErr = i;
        return DISP_E_PARAMNOTFOUND;
      }
      source[id] = static_cast<long>(i);
    }
  }

  for (size_t i = 0; i < n; ++i) {
    const Parameter &param = function.params[i];
    if (source[i] < 0) {
      if (!param.Optional()) {
        return params.cNamedArgs == 0 ? DISP_E_BADPARAMCOUNT : DISP_E_PARAMNOTOPTIONAL;
      }
      SetDefault(i, param);
      continue;
    }
    const UINT position = static_cast<UINT>(source[i]);
    const VARIANT *arg = Unwrap(params.rgvarg[position]);
    HRESULT hr = S_OK;
    if (arg == nullptr) {
      hr = DISP_E_TYPEMISMATCH;
    } else if (IsMissing(*arg)) {
      if (param.Optional()) {
        SetDefault(i, param);
      } else {
        hr = DISP_E_PARAMNOTOPTIONAL;
      }
    } else {
      hr = Convert(i, param, *arg);
    }
    if (FAILED(hr)) {
      if (argErr != nullptr) *argErr = position;
      return hr;
    }
  }
  return S_OK;
}

} // namespace parlink::frame
