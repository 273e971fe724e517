// Interface identifiers and the GUID functions of the runtime.
#include <automation/automation.h>

#include "GuidText.h"

#include <cstring>
#include <string_view>

extern "C" {

const IID IID_NULL = {0x00000000, 0x0000, 0x0000, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
const IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ITypeInfo = {
    0x00020401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ITypeLib = {
    0x00020402, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IErrorInfo = {
    0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID IID_ICreateErrorInfo = {
    0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID IID_ISupportErrorInfo = {
    0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
const IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
const IID IID_IEnumConnectionPoints = {
    0xB196B285, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
const IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

BOOL IsEqualGUID(REFGUID a, REFGUID b) {
  if (a == b) return 1;
  if (!a || !b) return 0;
  return std::memcmp(a, b, sizeof(GUID)) == 0 ? 1 : 0;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID *pclsid) {
  if (!pclsid) return E_INVALIDARG;
  if (!lpsz) {
    *pclsid = IID_NULL;
    return S_OK;
  }
  std::u16string_view text(lpsz);
  if (!text.empty() && text.front() == u'{') {
    if (automation::GuidText::Parse(text, *pclsid)) return S_OK;
    *pclsid = IID_NULL;
    return CO_E_CLASSSTRING;
  }
  // Not in braces: the text may be a programmatic identifier.
  HRESULT hr = CLSIDFromProgID(lpsz, pclsid);
  if (FAILED(hr)) {
    *pclsid = IID_NULL;
    return CO_E_CLASSSTRING;
  }
  return hr;
}

INT StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, INT cchMax) {
  if (!rguid || !lpsz) return 0;
  if (cchMax < static_cast<INT>(automation::GuidText::kLength + 1)) return 0;
  std::u16string text = automation::GuidText::Format16(*rguid);
  std::memcpy(lpsz, text.data(), text.size() * sizeof(OLECHAR));
  lpsz[text.size()] = 0;
  return static_cast<INT>(text.size() + 1);
}

} // extern "C"
