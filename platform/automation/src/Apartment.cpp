#include "Apartment.h"

namespace automation {

namespace {

constexpr DWORD kModelMask = COINIT_APARTMENTTHREADED;
// COINIT_DISABLE_OLE1DDE and COINIT_SPEED_OVER_MEMORY are accepted and mean
// nothing here.
constexpr DWORD kKnownFlags = COINIT_APARTMENTTHREADED | 0x4 | 0x8;

struct State {
  unsigned count = 0;
  DWORD model = 0;
};

thread_local State t_state;

} // namespace

HRESULT Apartment::Enter(DWORD coInit) {
  if (coInit & ~kKnownFlags) return E_INVALIDARG;
  DWORD model = coInit & kModelMask;
  if (t_state.count == 0) {
    t_state.count = 1;
    t_state.model = model;
    return S_OK;
  }
  if (t_state.model != model) return RPC_E_CHANGED_MODE;
  ++t_state.count;
  return S_FALSE;
}

void Apartment::Leave() {
  if (t_state.count > 0) --t_state.count;
}

bool Apartment::IsEntered() {
  return t_state.count > 0;
}

} // namespace automation

extern "C" {

HRESULT CoInitialize(void *pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void *pvReserved, DWORD dwCoInit) {
  if (pvReserved) return E_INVALIDARG;
  return automation::Apartment::Enter(dwCoInit);
}

void CoUninitialize(void) {
  automation::Apartment::Leave();
}

} // extern "C"
