// The module's exported entry points. Nothing else leaves the library.

#include "frame/Guids.h"
#include "frame/ModuleLock.h"
#include "frame/ParlinkTypeLib.h"
#include "frame/ServerRegistrar.h"
#include "frame/SmsClassFactory.h"

#include <parlink/Parlink.h>

#define PARLINK_EXPORT extern "C" __attribute__((visibility("default")))

using parlink::frame::SameGuid;

PARLINK_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (rclsid == nullptr || riid == nullptr) return E_INVALIDARG;
  if (!SameGuid(rclsid, parlink::CLSID_SMS)) return CLASS_E_CLASSNOTAVAILABLE;
  try {
    return parlink::frame::SmsClassFactory::Instance().QueryInterface(riid, ppv);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

PARLINK_EXPORT HRESULT DllCanUnloadNow(void) {
  return parlink::frame::ModuleLock::Count() == 0 ? S_OK : S_FALSE;
}

PARLINK_EXPORT HRESULT DllRegisterServer(void) {
  return parlink::frame::ServerRegistrar::Register();
}

PARLINK_EXPORT HRESULT DllUnregisterServer(void) {
  return parlink::frame::ServerRegistrar::Unregister();
}

PARLINK_EXPORT HRESULT DllGetTypeLib(ITypeLib **pptlib) {
  if (pptlib == nullptr) return E_POINTER;
  try {
    auto &library = parlink::frame::ParlinkTypeLib::Instance();
    library.AddRef();
    *pptlib = &library;
    return S_OK;
  } catch (...) {
    *pptlib = nullptr;
    return E_OUTOFMEMORY;
  }
}
