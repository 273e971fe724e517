// Type information of a dispatch interface described by a member table:
// ISMS (dual, with every member) and _ISMSEvents (no members). It answers
// FUNCDESCs, names, documentation, GetIDsOfNames and Invoke.
#ifndef PARLINK_FRAME_DISPATCHTYPEINFO_H
#define PARLINK_FRAME_DISPATCHTYPEINFO_H

#include "frame/FunctionDescriptions.h"
#include "frame/MemberDispatcher.h"
#include "frame/TypeInfoBase.h"

namespace parlink::frame {

class DispatchTypeInfo final : public TypeInfoBase {
public:
  DispatchTypeInfo(ParlinkTypeLib &library, UINT index, const char *name, const char *doc,
                   const GUID &guid, WORD typeFlags, std::span<const Function> functions,
                   HREFTYPE enumHrefBase);

  TYPEKIND Kind() const override { return TKIND_DISPATCH; }
  GUID Guid() const override { return guid_; }
  bool FindMember(const OLECHAR *name, MEMBERID &memid, const char *&spelling) const override;

  HRESULT GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) override;
  HRESULT GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) override;
  HRESULT GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) override;
  HRESULT Invoke(void *pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS *pDispParams,
                 VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

protected:
  void FillTypeAttr(TYPEATTR &attr) const override;
  bool MemberDocumentation(MEMBERID memid, std::string &name, std::string &doc) const override;

private:
  GUID guid_;
  WORD typeFlags_;
  std::span<const Function> functions_;
  FunctionDescriptions descriptions_;
  MemberDispatcher dispatcher_;
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_DISPATCHTYPEINFO_H
