// The SMS automation object: the operations of SMS plus identity and
// lifetime (with aggregation), IDispatch answered from the type library,
// ISupportErrorInfo and an IConnectionPointContainer without connection
// points. Every live object holds a module lock.
#ifndef PARLINK_FRAME_SMSOBJECT_H
#define PARLINK_FRAME_SMSOBJECT_H

#include "src/SMS.h"

#include <atomic>

namespace parlink::frame {

class SmsObject final : public SMS, public ISupportErrorInfo, public IConnectionPointContainer {
public:
  // Creates an object and asks it for `riid`. With an outer unknown the
  // object is aggregated and only IID_IUnknown may be asked for: the result
  // is the object's own (non-delegating) unknown.
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  // IUnknown (delegating to the controlling unknown)
  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // IDispatch
  HRESULT GetTypeInfoCount(UINT *pctinfo) override;
  HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                        DISPID *rgDispId) override;
  HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                 VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

  // IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override;

private:
  // The object's own unknown: it holds the reference count and answers
  // QueryInterface without delegating.
  class OwnUnknown final : public IUnknown {
  public:
    explicit OwnUnknown(SmsObject &owner) : owner_(owner) {}
    HRESULT QueryInterface(REFIID riid, void **ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

  private:
    SmsObject &owner_;
  };

  explicit SmsObject(IUnknown *outer);
  ~SmsObject();

  HRESULT OwnQueryInterface(REFIID riid, void **ppv);

  OwnUnknown own_;
  IUnknown *controlling_; // the outer unknown when aggregated, else &own_
  std::atomic<ULONG> refs_{1};
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_SMSOBJECT_H
