#include "frame/TypeInfoBase.h"

#include "frame/Guids.h"
#include "frame/ModuleLock.h"
#include "frame/ParlinkTypeLib.h"
#include "frame/WideText.h"

#include <new>

namespace parlink::frame {

TypeInfoBase::TypeInfoBase(ParlinkTypeLib &library, UINT index, const char *name, const char *doc)
    : library_(library), index_(index), name_(name), doc_(doc) {}

bool TypeInfoBase::FindMember(const OLECHAR *, MEMBERID &, const char *&) const {
  return false;
}

HRESULT TypeInfoBase::QueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (riid == nullptr) return E_INVALIDARG;
  if (SameGuid(riid, IID_IUnknown) || SameGuid(riid, IID_ITypeInfo)) {
    *ppv = static_cast<ITypeInfo *>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

// The objects live as long as the module; references handed out keep the
// module loaded instead.
ULONG TypeInfoBase::AddRef() {
  ModuleLock::Lock();
  return ++refs_;
}

ULONG TypeInfoBase::Release() {
  ULONG current = refs_.load();
  while (current > 1 && !refs_.compare_exchange_weak(current, current - 1)) {
  }
  if (current <= 1) return 1; // unbalanced release: nothing was handed out
  ModuleLock::Unlock();
  return current - 1;
}

HRESULT TypeInfoBase::GetTypeAttr(TYPEATTR **ppTypeAttr) {
  if (ppTypeAttr == nullptr) return E_POINTER;
  *ppTypeAttr = nullptr;
  auto *attr = new (std::nothrow) TYPEATTR{};
  if (attr == nullptr) return E_OUTOFMEMORY;
  attr->guid = Guid();
  attr->lcid = 0;
  attr->memidConstructor = MEMBERID_NIL;
  attr->memidDestructor = MEMBERID_NIL;
  attr->lpstrSchema = nullptr;
  attr->typekind = Kind();
  FillTypeAttr(*attr);
  *ppTypeAttr = attr;
  return S_OK;
}

void TypeInfoBase::ReleaseTypeAttr(TYPEATTR *pTypeAttr) {
  delete pTypeAttr;
}

HRESULT TypeInfoBase::GetTypeComp(void **ppTComp) {
  if (ppTComp != nullptr) *ppTComp = nullptr;
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::GetFuncDesc(UINT, FUNCDESC **ppFuncDesc) {
  if (ppFuncDesc == nullptr) return E_POINTER;
  *ppFuncDesc = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoBase::GetVarDesc(UINT, VARDESC **ppVarDesc) {
  if (ppVarDesc == nullptr) return E_POINTER;
  *ppVarDesc = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoBase::GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) {
  if (rgBstrNames == nullptr || pcNames == nullptr) return E_POINTER;
  *pcNames = 0;
  if (memid != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
  if (cMaxNames == 0) return S_OK;
  rgBstrNames[0] = AllocAscii(name_);
  if (rgBstrNames[0] == nullptr) return E_OUTOFMEMORY;
  *pcNames = 1;
  return S_OK;
}

HRESULT TypeInfoBase::GetRefTypeOfImplType(UINT, HREFTYPE *pRefType) {
  if (pRefType == nullptr) return E_POINTER;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoBase::GetImplTypeFlags(UINT, INT *pImplTypeFlags) {
  if (pImplTypeFlags == nullptr) return E_POINTER;
  *pImplTypeFlags = 0;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoBase::GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) {
  if (rgszNames == nullptr || pMemId == nullptr) return E_POINTER;
  if (cNames == 0) return E_INVALIDARG;
  for (UINT i = 0; i < cNames; ++i)
    pMemId[i] = MEMBERID_NIL;
  MEMBERID memid;
  const char *spelling;
  if (!FindMember(rgszNames[0], memid, spelling)) return DISP_E_UNKNOWNNAME;
  pMemId[0] = memid;
  return cNames > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT TypeInfoBase::Invoke(void *, MEMBERID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) {
  return DISP_E_MEMBERNOTFOUND;
}

bool TypeInfoBase::MemberDocumentation(MEMBERID, std::string &, std::string &) const {
  return false;
}

HRESULT TypeInfoBase::GetDocumentation(MEMBERID memid, BSTR *pBstrName, BSTR *pBstrDocString,
                                       DWORD *pdwHelpContext, BSTR *pBstrHelpFile) {
  std::string name;
  std::string doc;
  if (memid == MEMBERID_NIL) {
    name = name_;
    doc = doc_;
  } else if (!MemberDocumentation(memid, name, doc)) {
    return TYPE_E_ELEMENTNOTFOUND;
  }
  BSTR bName = nullptr;
  BSTR bDoc = nullptr;
  if (pBstrName != nullptr && (bName = AllocAscii(name)) == nullptr) return E_OUTOFMEMORY;
  if (pBstrDocString != nullptr && (bDoc = AllocAscii(doc)) == nullptr) {
    SysFreeString(bName);
    return E_OUTOFMEMORY;
  }
  if (pBstrName != nullptr) *pBstrName = bName;
  if (pBstrDocString != nullptr) *pBstrDocString = bDoc;
  if (pdwHelpContext != nullptr) *pdwHelpContext = 0;
  if (pBstrHelpFile != nullptr) *pBstrHelpFile = nullptr;
  return S_OK;
}

HRESULT TypeInfoBase::GetDllEntry(MEMBERID, INVOKEKIND, BSTR *, BSTR *, WORD *) {
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo **ppTInfo) {
  if (ppTInfo == nullptr) return E_POINTER;
  return library_.GetTypeInfo(hRefType, ppTInfo);
}

HRESULT TypeInfoBase::AddressOfMember(MEMBERID, INVOKEKIND, void **ppv) {
  if (ppv != nullptr) *ppv = nullptr;
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::CreateInstance(IUnknown *, REFIID, void **ppvObj) {
  if (ppvObj != nullptr) *ppvObj = nullptr;
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::GetMops(MEMBERID, BSTR *pBstrMops) {
  if (pBstrMops != nullptr) *pBstrMops = nullptr;
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::GetContainingTypeLib(ITypeLib **ppTLib, UINT *pIndex) {
  if (ppTLib == nullptr) return E_POINTER;
  library_.AddRef();
  *ppTLib = &library_;
  if (pIndex != nullptr) *pIndex = index_;
  return S_OK;
}

void TypeInfoBase::ReleaseFuncDesc(FUNCDESC *) {}
void TypeInfoBase::ReleaseVarDesc(VARDESC *) {}

} // namespace parlink::frame
