#include "frame/SmsObject.h"

#include "frame/EmptyConnectionPointEnum.h"
#include "frame/Guids.h"
#include "frame/ModuleLock.h"
#include "frame/ParlinkTypeLib.h"

#include <new>

namespace parlink::frame {

HRESULT SmsObject::Create(IUnknown *outer, REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (riid == nullptr) return E_INVALIDARG;
  if (outer != nullptr && !SameGuid(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  SmsObject *object = nullptr;
  try {
    ParlinkTypeLib::Instance(); // built here, so later dispatch never has to
    object = new SmsObject(outer);
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  HRESULT hr = object->OwnQueryInterface(riid, ppv);
  object->own_.Release(); // the creation reference; gone with the object on failure
  return hr;
}

SmsObject::SmsObject(IUnknown *outer) : own_(*this), controlling_(outer ? outer : &own_) {
  ModuleLock::Lock();
}

SmsObject::~SmsObject() {
  ModuleLock::Unlock();
}

HRESULT SmsObject::OwnQueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (riid == nullptr) return E_INVALIDARG;
  IUnknown *answer = nullptr;
  if (SameGuid(riid, IID_IUnknown)) {
    // Identity: the own unknown when aggregated, else the primary interface.
    answer = controlling_ == &own_ ? static_cast<IUnknown *>(static_cast<ISMS *>(this))
                                   : static_cast<IUnknown *>(&own_);
  } else if (SameGuid(riid, IID_IDispatch) || SameGuid(riid, parlink::IID_ISMS)) {
    answer = static_cast<ISMS *>(this);
  } else if (SameGuid(riid, IID_ISupportErrorInfo)) {
    answer = static_cast<ISupportErrorInfo *>(this);
  } else if (SameGuid(riid, IID_IConnectionPointContainer)) {
    answer = static_cast<IConnectionPointContainer *>(this);
  } else {
    return E_NOINTERFACE;
  }
  answer->AddRef();
  *ppv = answer;
  return S_OK;
}

HRESULT SmsObject::OwnUnknown::QueryInterface(REFIID riid, void **ppv) {
  return owner_.OwnQueryInterface(riid, ppv);
}

ULONG SmsObject::OwnUnknown::AddRef() {
  return ++owner_.refs_;
}

ULONG SmsObject::OwnUnknown::Release() {
  ULONG left = --owner_.refs_;
  if (left == 0) delete &owner_;
  return left;
}

HRESULT SmsObject::QueryInterface(REFIID riid, void **ppv) {
  return controlling_->QueryInterface(riid, ppv);
}

ULONG SmsObject::AddRef() {
  return controlling_->AddRef();
}

ULONG SmsObject::Release() {
  return controlling_->Release();
}

HRESULT SmsObject::GetTypeInfoCount(UINT *pctinfo) {
  if (pctinfo == nullptr) return E_POINTER;
  *pctinfo = 1;
  return S_OK;
}

HRESULT SmsObject::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo **ppTInfo) {
  if (ppTInfo == nullptr) return E_POINTER;
  *ppTInfo = nullptr;
  if (iTInfo != 0) return DISP_E_BADINDEX;
  TypeInfoBase &info = ParlinkTypeLib::Instance().SmsInterface();
  info.AddRef();
  *ppTInfo = &info;
  return S_OK;
}

HRESULT SmsObject::GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID,
                                 DISPID *rgDispId) {
  if (!SameGuid(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return ParlinkTypeLib::Instance().SmsInterface().GetIDsOfNames(rgszNames, cNames, rgDispId);
}

HRESULT SmsObject::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                          DISPPARAMS *pDispParams, VARIANT *pVarResult, EXCEPINFO *pExcepInfo,
                          UINT *puArgErr) {
  if (!SameGuid(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return ParlinkTypeLib::Instance().SmsInterface().Invoke(static_cast<ISMS *>(this), dispIdMember,
                                                          wFlags, pDispParams, pVarResult,
                                                          pExcepInfo, puArgErr);
}

HRESULT SmsObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return SameGuid(riid, parlink::IID_ISMS) ? S_OK : S_FALSE;
}

HRESULT SmsObject::EnumConnectionPoints(IEnumConnectionPoints **ppEnum) {
  if (ppEnum == nullptr) return E_POINTER;
  *ppEnum = EmptyConnectionPointEnum::Create();
  return *ppEnum != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT SmsObject::FindConnectionPoint(REFIID, IConnectionPoint **ppCP) {
  if (ppCP == nullptr) return E_POINTER;
  *ppCP = nullptr;
  return CONNECT_E_NOCONNECTION;
}

} // namespace parlink::frame
