#pragma once
// The calling thread's automation initialisation: a count of
// CoInitialize(Ex) calls not yet matched by CoUninitialize, and the
// threading model the first call chose.

#include <automation/automation.h>

namespace automation {

class Apartment {
public:
  // S_OK on the first call of a thread, S_FALSE on later ones with the same
  // model, RPC_E_CHANGED_MODE (count unchanged) when the model differs.
  static HRESULT Enter(DWORD coInit);
  static void Leave();
  static bool IsEntered();
};

} // namespace automation
