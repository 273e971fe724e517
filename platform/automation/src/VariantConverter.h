#pragma once
// The conversions behind VariantChangeType and the type checks behind
// VariantClear and VariantCopy.

#include <automation/automation.h>

namespace automation {

class VariantConverter {
public:
  // Any type a VARIANT may hold that needs no cleanup or that VariantClear
  // knows how to release (plain or VT_BYREF).
  static bool IsValidType(VARTYPE vt);

  // Converts `src` (plain or VT_BYREF) to the plain type `vt` into `out`,
  // which the caller owns afterwards. `out` is written only on success.
  static HRESULT Convert(const VARIANT &src, USHORT flags, VARTYPE vt, VARIANT &out);

private:
  static HRESULT Dereference(const VARIANT &src, VARIANT &view);
  static HRESULT ToInterface(const VARIANT &src, VARTYPE vt, VARIANT &out);
  static HRESULT ToText(const VARIANT &src, USHORT flags, VARIANT &out);
  static HRESULT ToBool(const VARIANT &src, VARIANT &out);
  static HRESULT ToInteger(const VARIANT &src, VARTYPE vt, VARIANT &out);
  static HRESULT FromDefaultValue(IDispatch *object, USHORT flags, VARTYPE vt, VARIANT &out);
};

} // namespace automation
