// Type information of one enumeration: its constants as VAR_CONST VARDESCs
// with their values and help strings.
#ifndef PARLINK_FRAME_ENUMTYPEINFO_H
#define PARLINK_FRAME_ENUMTYPEINFO_H

#include "frame/EnumTables.h"
#include "frame/TypeInfoBase.h"

#include <memory>

namespace parlink::frame {

class EnumTypeInfo final : public TypeInfoBase {
public:
  // Constants are numbered from this member identifier on.
  static constexpr MEMBERID kFirstMemberId = 0x40000000;

  EnumTypeInfo(ParlinkTypeLib &library, UINT index, const EnumDefinition &definition);

  TYPEKIND Kind() const override { return TKIND_ENUM; }
  bool FindMember(const OLECHAR *name, MEMBERID &memid, const char *&spelling) const override;

  HRESULT GetVarDesc(UINT index, VARDESC **ppVarDesc) override;
  HRESULT GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) override;

protected:
  void FillTypeAttr(TYPEATTR &attr) const override;
  bool MemberDocumentation(MEMBERID memid, std::string &name, std::string &doc) const override;

private:
  const EnumConstant *ConstantOf(MEMBERID memid) const;

  const EnumDefinition &definition_;
  std::unique_ptr<VARIANT[]> values_;
  std::unique_ptr<VARDESC[]> vars_;
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_ENUMTYPEINFO_H
