#include "frame/SmsClassFactory.h"

#include "frame/Guids.h"
#include "frame/ModuleLock.h"
#include "frame/SmsObject.h"

namespace parlink::frame {

SmsClassFactory &SmsClassFactory::Instance() {
  static SmsClassFactory *factory = new SmsClassFactory();
  return *factory;
}

HRESULT SmsClassFactory::QueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (SameGuid(riid, IID_IUnknown) || SameGuid(riid, IID_IClassFactory)) {
    *ppv = static_cast<IClassFactory *>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG SmsClassFactory::AddRef() {
  return 2;
}
ULONG SmsClassFactory::Release() {
  return 1;
}

HRESULT SmsClassFactory::CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) {
  return SmsObject::Create(pUnkOuter, riid, ppvObject);
}

HRESULT SmsClassFactory::LockServer(BOOL fLock) {
  if (fLock) {
    ModuleLock::Lock();
  } else {
    ModuleLock::Unlock();
  }
  return S_OK;
}

} // namespace parlink::frame
