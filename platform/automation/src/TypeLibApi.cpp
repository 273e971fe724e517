// Type libraries: a server module exports DllGetTypeLib in place of a type
// library resource; LoadTypeLib asks it, RegisterTypeLib records it.
#include <automation/automation.h>

#include "ModuleCache.h"
#include "TypeLibRegistrar.h"

#include <registry/Registry.h>

using automation::ModuleCache;
using automation::TypeLibRegistrar;

extern "C" {

HRESULT LoadTypeLib(const char *modulePath, ITypeLib **pptlib) {
  if (!pptlib) return E_POINTER;
  *pptlib = nullptr;
  if (!modulePath || !*modulePath) return E_INVALIDARG;
  void *module = ModuleCache::Load(modulePath);
  if (!module) return TYPE_E_CANTLOADLIBRARY;
  auto getTypeLib =
      reinterpret_cast<PFN_DllGetTypeLib>(ModuleCache::Export(module, "DllGetTypeLib"));
  if (!getTypeLib) return TYPE_E_CANTLOADLIBRARY;
  HRESULT hr = getTypeLib(pptlib);
  if (FAILED(hr)) {
    *pptlib = nullptr;
    return hr;
  }
  return *pptlib ? hr : TYPE_E_CANTLOADLIBRARY;
}

HRESULT RegisterTypeLib(ITypeLib *ptlib, const char *modulePath, const char *helpDir) {
  if (!ptlib || !modulePath || !*modulePath) return E_INVALIDARG;
  registry::Registry reg;
  return TypeLibRegistrar(reg).Register(ptlib, modulePath, helpDir);
}

HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid,
                          SYSKIND syskind) {
  // One registration per version, whatever the locale and platform asked.
  (void)lcid;
  (void)syskind;
  if (!libID) return E_INVALIDARG;
  registry::Registry reg;
  return TypeLibRegistrar(reg).Unregister(*libID, wVerMajor, wVerMinor);
}

} // extern "C"
