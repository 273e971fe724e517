#include "frame/EmptyConnectionPointEnum.h"

#include "frame/Guids.h"
#include "frame/ModuleLock.h"

#include <new>

namespace parlink::frame {

EmptyConnectionPointEnum *EmptyConnectionPointEnum::Create() {
  return new (std::nothrow) EmptyConnectionPointEnum();
}

EmptyConnectionPointEnum::EmptyConnectionPointEnum() {
  ModuleLock::Lock();
}
EmptyConnectionPointEnum::~EmptyConnectionPointEnum() {
  ModuleLock::Unlock();
}

HRESULT EmptyConnectionPointEnum::QueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (SameGuid(riid, IID_IUnknown) || SameGuid(riid, IID_IEnumConnectionPoints)) {
    *ppv = static_cast<IEnumConnectionPoints *>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG EmptyConnectionPointEnum::AddRef() {
  return ++refs_;
}

ULONG EmptyConnectionPointEnum::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT EmptyConnectionPointEnum::Next(ULONG cConnections, IConnectionPoint **ppCP,
                                       ULONG *pcFetched) {
  if (pcFetched != nullptr) *pcFetched = 0;
  if (cConnections == 0) return S_OK;
  if (ppCP == nullptr) return E_POINTER;
  if (cConnections > 1 && pcFetched == nullptr) return E_POINTER;
  return S_FALSE;
}

HRESULT EmptyConnectionPointEnum::Skip(ULONG cConnections) {
  return cConnections == 0 ? S_OK : S_FALSE;
}

HRESULT EmptyConnectionPointEnum::Reset() {
  return S_OK;
}

HRESULT EmptyConnectionPointEnum::Clone(IEnumConnectionPoints **ppEnum) {
  if (ppEnum == nullptr) return E_POINTER;
  *ppEnum = Create();
  return *ppEnum != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace parlink::frame
