// Type information of the SMS class: ISMS as its default interface and
// _ISMSEvents as its default source.
#ifndef PARLINK_FRAME_COCLASSTYPEINFO_H
#define PARLINK_FRAME_COCLASSTYPEINFO_H

#include "frame/TypeInfoBase.h"

namespace parlink::frame {

class CoclassTypeInfo final : public TypeInfoBase {
public:
  CoclassTypeInfo(ParlinkTypeLib &library, UINT index, const char *name, const char *doc,
                  const GUID &clsid, HREFTYPE defaultInterface, HREFTYPE defaultSource);

  TYPEKIND Kind() const override { return TKIND_COCLASS; }
  GUID Guid() const override { return clsid_; }

  HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE *pRefType) override;
  HRESULT GetImplTypeFlags(UINT index, INT *pImplTypeFlags) override;

protected:
  void FillTypeAttr(TYPEATTR &attr) const override;

private:
  GUID clsid_;
  HREFTYPE implemented_[2];
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_COCLASSTYPEINFO_H
