#include "frame/EnumTypeInfo.h"

#include "frame/WideText.h"

namespace parlink::frame {

EnumTypeInfo::EnumTypeInfo(ParlinkTypeLib &library, UINT index, const EnumDefinition &definition)
    : TypeInfoBase(library, index, definition.name, definition.help), definition_(definition) {
  const size_t n = definition.constants.size();
  values_ = std::make_unique<VARIANT[]>(n);
  vars_ = std::make_unique<VARDESC[]>(n);
  for (size_t i = 0; i < n; ++i) {
    VARIANT &v = values_[i];
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = definition.constants[i].value;
    VARDESC &d = vars_[i];
    d = VARDESC{};
    d.memid = kFirstMemberId + static_cast<MEMBERID>(i);
    d.lpstrSchema = nullptr;
    d.lpvarValue = &v;
    d.elemdescVar.tdesc.vt = VT_I4;
    d.wVarFlags = 0;
    d.varkind = VAR_CONST;
  }
}

void EnumTypeInfo::FillTypeAttr(TYPEATTR &attr) const {
  attr.cbSizeInstance = 4;
  attr.cFuncs = 0;
  attr.cVars = static_cast<WORD>(definition_.constants.size());
  attr.cImplTypes = 0;
  attr.cbSizeVft = 0;
  attr.cbAlignment = 4;
  attr.wTypeFlags = 0;
}

const EnumConstant *EnumTypeInfo::ConstantOf(MEMBERID memid) const {
  if (memid < kFirstMemberId) return nullptr;
  size_t i = static_cast<size_t>(memid - kFirstMemberId);
  return i < definition_.constants.size() ? &definition_.constants[i] : nullptr;
}

bool EnumTypeInfo::FindMember(const OLECHAR *name, MEMBERID &memid, const char *&spelling) const {
  for (size_t i = 0; i < definition_.constants.size(); ++i) {
    if (EqualsIgnoreCase(name, definition_.constants[i].name)) {
      memid = kFirstMemberId + static_cast<MEMBERID>(i);
      spelling = definition_.constants[i].name;
      return true;
    }
  }
  return false;
}

HRESULT EnumTypeInfo::GetVarDesc(UINT index, VARDESC **ppVarDesc) {
  if (ppVarDesc == nullptr) return E_POINTER;
  *ppVarDesc = nullptr;
  if (index >= definition_.constants.size()) return TYPE_E_ELEMENTNOTFOUND;
  *ppVarDesc = &vars_[index];
  return S_OK;
}

HRESULT EnumTypeInfo::GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) {
  if (memid == MEMBERID_NIL) return TypeInfoBase::GetNames(memid, rgBstrNames, cMaxNames, pcNames);
  if (rgBstrNames == nullptr || pcNames == nullptr) return E_POINTER;
  *pcNames = 0;
  const EnumConstant *c = ConstantOf(memid);
  if (c == nullptr) return TYPE_E_ELEMENTNOTFOUND;
  if (cMaxNames == 0) return S_OK;
  rgBstrNames[0] = AllocAscii(c->name);
  if (rgBstrNames[0] == nullptr) return E_OUTOFMEMORY;
  *pcNames = 1;
  return S_OK;
}

bool EnumTypeInfo::MemberDocumentation(MEMBERID memid, std::string &name, std::string &doc) const {
  const EnumConstant *c = ConstantOf(memid);
  if (c == nullptr) return false;
  name = c->name;
  doc = c->help;
  return true;
}

} // namespace parlink::frame
