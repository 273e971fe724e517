// VARIANT lifetime: initialise, release, deep copy and convert.
#include <automation/automation.h>

#include "VariantConverter.h"

#include <cstring>

using automation::VariantConverter;

extern "C" {

void VariantInit(VARIANTARG *pvarg) {
  if (pvarg) std::memset(pvarg, 0, sizeof *pvarg);
}

HRESULT VariantClear(VARIANTARG *pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (!VariantConverter::IsValidType(pvarg->vt)) return DISP_E_BADVARTYPE;
  switch (pvarg->vt) {
  case VT_BSTR:
    SysFreeString(pvarg->bstrVal);
    break;
  case VT_DISPATCH:
  case VT_UNKNOWN:
    if (pvarg->punkVal) pvarg->punkVal->Release();
    break;
  default:
    break; // plain values and references own nothing
  }
  std::memset(pvarg, 0, sizeof *pvarg);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  if (!VariantConverter::IsValidType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  // Build the copy first: the destination may hold the last reference to
  // something the source points at.
  VARIANT copy = *pvargSrc;
  if (copy.vt == VT_BSTR && copy.bstrVal) {
    copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char *>(pvargSrc->bstrVal),
                                         SysStringByteLen(pvargSrc->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal) {
    copy.punkVal->AddRef();
  }
  HRESULT hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *pvargDest = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, USHORT wFlags,
                          VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  VARIANT result;
  HRESULT hr = VariantConverter::Convert(*pvarSrc, wFlags, vt, result);
  if (FAILED(hr)) return hr;
  // In place (destination == source) the source is released here, after the
  // conversion has copied what it needed.
  hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}

} // extern "C"
