// The class factory of the SMS class. One instance lives as long as the
// module; its references do not count, its LockServer calls do.
#ifndef PARLINK_FRAME_SMSCLASSFACTORY_H
#define PARLINK_FRAME_SMSCLASSFACTORY_H

#include <automation/automation.h>

namespace parlink::frame {

class SmsClassFactory final : public IClassFactory {
public:
  static SmsClassFactory &Instance();

  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) override;
  HRESULT LockServer(BOOL fLock) override;

private:
  SmsClassFactory() = default;
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_SMSCLASSFACTORY_H
