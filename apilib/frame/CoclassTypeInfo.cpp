#include "frame/CoclassTypeInfo.h"

namespace parlink::frame {

CoclassTypeInfo::CoclassTypeInfo(ParlinkTypeLib &library, UINT index, const char *name,
                                 const char *doc, const GUID &clsid, HREFTYPE defaultInterface,
                                 HREFTYPE defaultSource)
    : TypeInfoBase(library, index, name, doc),
      clsid_(clsid), implemented_{defaultInterface, defaultSource} {}

void CoclassTypeInfo::FillTypeAttr(TYPEATTR &attr) const {
  attr.cbSizeInstance = sizeof(void *);
  attr.cFuncs = 0;
  attr.cVars = 0;
  attr.cImplTypes = 2;
  attr.cbSizeVft = 0;
  attr.cbAlignment = sizeof(void *);
  attr.wTypeFlags = TYPEFLAG_FCANCREATE;
}

HRESULT CoclassTypeInfo::GetRefTypeOfImplType(UINT index, HREFTYPE *pRefType) {
  if (pRefType == nullptr) return E_POINTER;
  if (index >= 2) return TYPE_E_ELEMENTNOTFOUND;
  *pRefType = implemented_[index];
  return S_OK;
}

HRESULT CoclassTypeInfo::GetImplTypeFlags(UINT index, INT *pImplTypeFlags) {
  if (pImplTypeFlags == nullptr) return E_POINTER;
  *pImplTypeFlags = 0;
  if (index >= 2) return TYPE_E_ELEMENTNOTFOUND;
  *pImplTypeFlags =
      index == 0 ? IMPLTYPEFLAG_FDEFAULT : IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
  return S_OK;
}

} // namespace parlink::frame
