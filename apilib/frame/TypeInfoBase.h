// Common ground of the type information objects of Parlink's type library:
// reference counting (into the module lock), the members every kind
// answers the same way, and E_NOTIMPL for what clients do not need.
#ifndef PARLINK_FRAME_TYPEINFOBASE_H
#define PARLINK_FRAME_TYPEINFOBASE_H

#include <automation/automation.h>

#include <atomic>
#include <string>

namespace parlink::frame {

class ParlinkTypeLib;

class TypeInfoBase : public ITypeInfo {
public:
  TypeInfoBase(ParlinkTypeLib &library, UINT index, const char *name, const char *doc);
  virtual ~TypeInfoBase() = default;
  TypeInfoBase(const TypeInfoBase &) = delete;
  TypeInfoBase &operator=(const TypeInfoBase &) = delete;

  const char *Name() const { return name_; }
  const char *Doc() const { return doc_; }
  UINT Index() const { return index_; }
  virtual TYPEKIND Kind() const = 0;
  virtual GUID Guid() const { return GUID{}; }
  // The member called `name` (ignoring case): its identifier and spelling.
  virtual bool FindMember(const OLECHAR *name, MEMBERID &memid, const char *&spelling) const;

  // IUnknown
  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // ITypeInfo
  HRESULT GetTypeAttr(TYPEATTR **ppTypeAttr) override;
  HRESULT GetTypeComp(void **ppTComp) override;
  HRESULT GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) override;
  HRESULT GetVarDesc(UINT index, VARDESC **ppVarDesc) override;
  HRESULT GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) override;
  HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE *pRefType) override;
  HRESULT GetImplTypeFlags(UINT index, INT *pImplTypeFlags) override;
  HRESULT GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) override;
  HRESULT Invoke(void *pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS *pDispParams,
                 VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;
  HRESULT GetDocumentation(MEMBERID memid, BSTR *pBstrName, BSTR *pBstrDocString,
                           DWORD *pdwHelpContext, BSTR *pBstrHelpFile) override;
  HRESULT GetDllEntry(MEMBERID memid, INVOKEKIND invKind, BSTR *pBstrDllName, BSTR *pBstrName,
                      WORD *pwOrdinal) override;
  HRESULT GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo **ppTInfo) override;
  HRESULT AddressOfMember(MEMBERID memid, INVOKEKIND invKind, void **ppv) override;
  HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObj) override;
  HRESULT GetMops(MEMBERID memid, BSTR *pBstrMops) override;
  HRESULT GetContainingTypeLib(ITypeLib **ppTLib, UINT *pIndex) override;
  void ReleaseTypeAttr(TYPEATTR *pTypeAttr) override;
  void ReleaseFuncDesc(FUNCDESC *pFuncDesc) override;
  void ReleaseVarDesc(VARDESC *pVarDesc) override;

protected:
  // Kind-specific parts of the TYPEATTR (guid, typekind and names are set).
  virtual void FillTypeAttr(TYPEATTR &attr) const = 0;
  // Name and help string of a member other than MEMBERID_NIL.
  virtual bool MemberDocumentation(MEMBERID memid, std::string &name, std::string &doc) const;

  ParlinkTypeLib &library_;

private:
  UINT index_;
  const char *name_;
  const char *doc_;
  std::atomic<ULONG> refs_{1};
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_TYPEINFOBASE_H
