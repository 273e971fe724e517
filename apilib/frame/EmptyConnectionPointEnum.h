// The enumerator EnumConnectionPoints hands out: the SMS class has no
// connection points, so it enumerates nothing.
#ifndef PARLINK_FRAME_EMPTYCONNECTIONPOINTENUM_H
#define PARLINK_FRAME_EMPTYCONNECTIONPOINTENUM_H

#include <automation/automation.h>

#include <atomic>

namespace parlink::frame {

class EmptyConnectionPointEnum final : public IEnumConnectionPoints {
public:
  // A new enumerator with one reference, or null when memory is short.
  static EmptyConnectionPointEnum *Create();

  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT Next(ULONG cConnections, IConnectionPoint **ppCP, ULONG *pcFetched) override;
  HRESULT Skip(ULONG cConnections) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumConnectionPoints **ppEnum) override;

private:
  EmptyConnectionPointEnum();
  ~EmptyConnectionPointEnum();

  std::atomic<ULONG> refs_{1};
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_EMPTYCONNECTIONPOINTENUM_H
