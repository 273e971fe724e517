// Parlink's type library ("ParlinkLib"), compiled into the module: the
// enumerations, _ISMSEvents, the SMS class and ISMS, in that order. An
// HREFTYPE is the position of the referenced type in the library. The one
// instance lives as long as the module.
#ifndef PARLINK_FRAME_PARLINKTYPELIB_H
#define PARLINK_FRAME_PARLINKTYPELIB_H

#include "frame/TypeInfoBase.h"

#include <atomic>
#include <memory>
#include <vector>

namespace parlink::frame {

class ParlinkTypeLib final : public ITypeLib {
public:
  static ParlinkTypeLib &Instance();

  // Type information of ISMS (no reference added).
  TypeInfoBase &SmsInterface() const;

  // IUnknown
  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // ITypeLib
  UINT GetTypeInfoCount() override;
  HRESULT GetTypeInfo(UINT index, ITypeInfo **ppTInfo) override;
  HRESULT GetTypeInfoType(UINT index, TYPEKIND *pTKind) override;
  HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo **ppTinfo) override;
  HRESULT GetLibAttr(TLIBATTR **ppTLibAttr) override;
  HRESULT GetTypeComp(void **ppTComp) override;
  HRESULT GetDocumentation(INT index, BSTR *pBstrName, BSTR *pBstrDocString, DWORD *pdwHelpContext,
                           BSTR *pBstrHelpFile) override;
  HRESULT IsName(LPOLESTR szNameBuf, ULONG lHashVal, BOOL *pfName) override;
  HRESULT FindName(LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo **ppTInfo, MEMBERID *rgMemId,
                   USHORT *pcFound) override;
  void ReleaseTLibAttr(TLIBATTR *pTLibAttr) override;

  static constexpr const char *kName = "ParlinkLib";
  static constexpr const char *kDoc = "Parlink 1.0 Type Library";
  static constexpr WORD kMajorVersion = 1;
  static constexpr WORD kMinorVersion = 0;
  static constexpr LCID kLcid = 0x409;

private:
  ParlinkTypeLib();
  // Finds a type or a member called `name`; `spelling` receives its own case.
  bool Lookup(const OLECHAR *name, TypeInfoBase *&info, MEMBERID &memid,
              const char *&spelling) const;

  std::vector<std::unique_ptr<TypeInfoBase>> infos_;
  UINT smsIndex_ = 0;
  std::atomic<ULONG> refs_{1};
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_PARLINKTYPELIB_H
