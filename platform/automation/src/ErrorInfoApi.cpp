// Per-thread error information: CreateErrorInfo, SetErrorInfo, GetErrorInfo.
#include <automation/automation.h>

#include "ErrorInfoObject.h"
#include "ThreadErrorSlot.h"

#include <new>

using automation::ErrorInfoObject;
using automation::ThreadErrorSlot;

extern "C" {

HRESULT CreateErrorInfo(ICreateErrorInfo **pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  auto *object = new (std::nothrow) ErrorInfoObject();
  *pperrinfo = object ? static_cast<ICreateErrorInfo *>(object) : nullptr;
  return object ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo *perrinfo) {
  if (dwReserved != 0) return E_INVALIDARG;
  ThreadErrorSlot::Set(perrinfo);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo **pperrinfo) {
  if (dwReserved != 0 || !pperrinfo) return E_INVALIDARG;
  *pperrinfo = ThreadErrorSlot::Take();
  return *pperrinfo ? S_OK : S_FALSE;
}

} // extern "C"
