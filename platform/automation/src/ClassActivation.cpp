// Class lookup and object creation through the registry:
// HKCR\CLSID\{clsid}\InprocServer32 names the server module, whose
// DllGetClassObject hands out the class factory.
#include <automation/automation.h>

#include "Apartment.h"
#include "GuidText.h"
#include "ModuleCache.h"
#include "ProgIdResolver.h"

#include <registry/Registry.h>

using automation::Apartment;
using automation::GuidText;
using automation::ModuleCache;
using automation::ProgIdResolver;

extern "C" {

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID *lpclsid) {
  if (!lpszProgID || !lpclsid) return E_INVALIDARG;
  registry::Registry reg;
  CLSID clsid;
  HRESULT hr = ProgIdResolver(reg).Resolve(std::u16string(lpszProgID), clsid);
  *lpclsid = SUCCEEDED(hr) ? clsid : IID_NULL;
  return hr;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void *pvReserved, REFIID riid,
                         void **ppv) {
  (void)pvReserved;
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (!rclsid || !riid) return E_INVALIDARG;
  if (!Apartment::IsEntered()) return CO_E_NOTINITIALIZED;
  // Only in-process servers exist here.
  if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;

  registry::Registry reg;
  auto path = reg.GetValue(registry::Hive::ClassesRoot,
                           "CLSID\\" + GuidText::Format(*rclsid) + "\\InprocServer32", "");
  if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
  void *module = ModuleCache::Load(*path);
  if (!module) return CO_E_DLLNOTFOUND;
  auto getClassObject =
      reinterpret_cast<PFN_DllGetClassObject>(ModuleCache::Export(module, "DllGetClassObject"));
  if (!getClassObject) return CO_E_ERRORINDLL;
  HRESULT hr = getClassObject(rclsid, riid, ppv);
  if (FAILED(hr)) {
    *ppv = nullptr;
    return hr;
  }
  return *ppv ? hr : E_NOINTERFACE;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid,
                         void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!rclsid || !riid) return E_INVALIDARG;
  void *raw = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, &IID_IClassFactory, &raw);
  if (FAILED(hr)) return hr;
  auto *factory = static_cast<IClassFactory *>(raw);
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  if (FAILED(hr)) {
    *ppv = nullptr;
    return hr;
  }
  return *ppv ? hr : E_NOINTERFACE;
}

} // extern "C"
