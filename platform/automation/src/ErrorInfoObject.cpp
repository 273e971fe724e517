#include "ErrorInfoObject.h"

namespace automation {

HRESULT ErrorInfoObject::QueryInterface(REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!riid) return E_INVALIDARG;
  if (IsEqualGUID(riid, &IID_IUnknown) || IsEqualGUID(riid, &IID_IErrorInfo))
    *ppv = static_cast<IErrorInfo *>(this);
  else if (IsEqualGUID(riid, &IID_ICreateErrorInfo))
    *ppv = static_cast<ICreateErrorInfo *>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG ErrorInfoObject::AddRef() {
  return refs_.fetch_add(1, std::memory_order_relaxed) + 1;
}

ULONG ErrorInfoObject::Release() {
  ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

HRESULT ErrorInfoObject::Read(const Text &text, BSTR *out) {
  if (!out) return E_INVALIDARG;
  std::lock_guard lock(mutex_);
  *out = nullptr;
  if (!text) return S_OK;
  *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ErrorInfoObject::Write(Text &text, LPOLESTR value) {
  std::lock_guard lock(mutex_);
  if (value)
    text = std::u16string(value);
  else
    text.reset();
  return S_OK;
}

HRESULT ErrorInfoObject::GetGUID(GUID *pGUID) {
  if (!pGUID) return E_INVALIDARG;
  std::lock_guard lock(mutex_);
  *pGUID = guid_;
  return S_OK;
}

HRESULT ErrorInfoObject::GetSource(BSTR *pBstrSource) {
  return Read(source_, pBstrSource);
}

HRESULT ErrorInfoObject::GetDescription(BSTR *pBstrDescription) {
  return Read(description_, pBstrDescription);
}

HRESULT ErrorInfoObject::GetHelpFile(BSTR *pBstrHelpFile) {
  return Read(helpFile_, pBstrHelpFile);
}

HRESULT ErrorInfoObject::GetHelpContext(DWORD *pdwHelpContext) {
  if (!pdwHelpContext) return E_INVALIDARG;
  std::lock_guard lock(mutex_);
  *pdwHelpContext = helpContext_;
  return S_OK;
}

HRESULT ErrorInfoObject::SetGUID(REFGUID rguid) {
  std::lock_guard lock(mutex_);
  guid_ = rguid ? *rguid : IID_NULL;
  return S_OK;
}

HRESULT ErrorInfoObject::SetSource(LPOLESTR szSource) {
  return Write(source_, szSource);
}

HRESULT ErrorInfoObject::SetDescription(LPOLESTR szDescription) {
  return Write(description_, szDescription);
}

HRESULT ErrorInfoObject::SetHelpFile(LPOLESTR szHelpFile) {
  return Write(helpFile_, szHelpFile);
}

HRESULT ErrorInfoObject::SetHelpContext(DWORD dwHelpContext) {
  std::lock_guard lock(mutex_);
  helpContext_ = dwHelpContext;
  return S_OK;
}

} // namespace automation
