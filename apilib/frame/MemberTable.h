// The members of ISMS, declared once. Each entry carries what both the type
// information and dispatch by name need: name, dispatch identifier, kind,
// vtable slot, parameters (names, automation types, optional defaults), the
// result type and a thunk that makes the C++ call from converted arguments.
#ifndef PARLINK_FRAME_MEMBERTABLE_H
#define PARLINK_FRAME_MEMBERTABLE_H

#include <parlink/ISMS.h>

#include <span>
#include <string>
#include <vector>

namespace parlink::frame {

enum class MemberKind { Method, PropertyGet, PropertyPut };

enum class DefaultKind { None, Long, Bool, Text };

struct Parameter {
  const char *name;
  VARTYPE vt;              // VT_BSTR, VT_I4 or VT_BOOL: the type the C++ call takes
  int enumIndex;           // index in Enumerations() of the declared enumeration, or -1
  DefaultKind defaultKind; // None for a required parameter
  LONG defaultNumber;      // the default of a Long or Bool parameter (Bool: -1 or 0)

  bool Optional() const { return defaultKind != DefaultKind::None; }
};

// Makes the call on `self`: `args` holds one converted VARIANT per
// parameter, in declaration order, of the parameter's `vt`; the result, if
// any, is stored in `result` (when not null) only on success.
using MemberThunk = HRESULT (*)(ISMS *self, const VARIANT *args, VARIANT *result);

struct Function {
  const char *name;
  DISPID dispid;
  MemberKind kind;
  int slot;                      // index in the ISMS vtable (QueryInterface is 0)
  std::vector<Parameter> params; // in-parameters only
  VARTYPE resultVt;              // VT_EMPTY when the member returns nothing
  int resultEnumIndex;           // declared enumeration of the result, or -1
  const char *resultName;        // name of the out-parameter ("pResult", "pVal") or null
  MemberThunk call;

  std::string HelpString() const; // "method X" or "property X"
  int OptionalCount() const;
  int RequiredCount() const;
};

// Every ISMS member in vtable order (methods, then each property's get
// before its put).
std::span<const Function> SmsFunctions();

} // namespace parlink::frame

#endif // PARLINK_FRAME_MEMBERTABLE_H
