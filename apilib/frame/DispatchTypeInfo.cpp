#include "frame/DispatchTypeInfo.h"

#include "frame/WideText.h"

#include <algorithm>

namespace parlink::frame {

namespace {
constexpr int kDispatchSlots = 7; // IUnknown and IDispatch
}

DispatchTypeInfo::DispatchTypeInfo(ParlinkTypeLib &library, UINT index, const char *name,
                                   const char *doc, const GUID &guid, WORD typeFlags,
                                   std::span<const Function> functions, HREFTYPE enumHrefBase)
    : TypeInfoBase(library, index, name, doc), guid_(guid), typeFlags_(typeFlags),
      functions_(functions), descriptions_(functions, enumHrefBase), dispatcher_(functions) {}

void DispatchTypeInfo::FillTypeAttr(TYPEATTR &attr) const {
  int slots = kDispatchSlots;
  for (const Function &f : functions_)
    slots = std::max(slots, f.slot + 1);
  attr.cbSizeInstance = sizeof(void *);
  attr.cFuncs = static_cast<WORD>(functions_.size());
  attr.cVars = 0;
  // The IDispatch base lives in the standard automation library, which is
  // not served here, so no implemented types are listed.
  attr.cImplTypes = 0;
  attr.cbSizeVft = static_cast<WORD>(slots * sizeof(void *));
  attr.cbAlignment = sizeof(void *);
  attr.wTypeFlags = typeFlags_;
}

bool DispatchTypeInfo::FindMember(const OLECHAR *name, MEMBERID &memid,
                                  const char *&spelling) const {
  for (const Function &f : functions_) {
    if (EqualsIgnoreCase(name, f.name)) {
      memid = f.dispid;
      spelling = f.name;
      return true;
    }
  }
  return false;
}

HRESULT DispatchTypeInfo::GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) {
  if (ppFuncDesc == nullptr) return E_POINTER;
  *ppFuncDesc = nullptr;
  const FUNCDESC *desc = descriptions_.At(index);
  if (desc == nullptr) return TYPE_E_ELEMENTNOTFOUND;
  *ppFuncDesc = const_cast<FUNCDESC *>(desc);
  return S_OK;
}

HRESULT DispatchTypeInfo::GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames,
                                   UINT *pcNames) {
  if (memid == MEMBERID_NIL) return TypeInfoBase::GetNames(memid, rgBstrNames, cMaxNames, pcNames);
  if (rgBstrNames == nullptr || pcNames == nullptr) return E_POINTER;
  *pcNames = 0;
  const Function *f = dispatcher_.FirstWithId(memid);
  if (f == nullptr) return TYPE_E_ELEMENTNOTFOUND;

  std::vector<const char *> names;
  names.push_back(f->name);
  for (const Parameter &p : f->params)
    names.push_back(p.name);
  if (f->resultName != nullptr) names.push_back(f->resultName);

  UINT count = 0;
  for (const char *n : names) {
    if (count >= cMaxNames) break;
    rgBstrNames[count] = AllocAscii(n);
    if (rgBstrNames[count] == nullptr) {
      for (UINT i = 0; i < count; ++i) {
        SysFreeString(rgBstrNames[i]);
        rgBstrNames[i] = nullptr;
      }
      return E_OUTOFMEMORY;
    }
    ++count;
  }
  *pcNames = count;
  return S_OK;
}

HRESULT DispatchTypeInfo::GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) {
  return dispatcher_.GetIDsOfNames(rgszNames, cNames, pMemId);
}

HRESULT DispatchTypeInfo::Invoke(void *pvInstance, MEMBERID memid, WORD wFlags,
                                 DISPPARAMS *pDispParams, VARIANT *pVarResult,
                                 EXCEPINFO *pExcepInfo, UINT *puArgErr) {
  if (functions_.empty()) return DISP_E_MEMBERNOTFOUND;
  if (pvInstance == nullptr) return E_INVALIDARG;
  return dispatcher_.Invoke(static_cast<ISMS *>(pvInstance), memid, wFlags, pDispParams, pVarResult,
                            pExcepInfo, puArgErr);
}

bool DispatchTypeInfo::MemberDocumentation(MEMBERID memid, std::string &name,
                                           std::string &doc) const {
  const Function *f = dispatcher_.FirstWithId(memid);
  if (f == nullptr) return false;
  name = f->name;
  doc = f->HelpString();
  return true;
}

} // namespace parlink::frame
