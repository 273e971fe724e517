// Dispatch by name over the member table: names to dispatch identifiers
// (members and their parameters, ignoring case) and Invoke, which picks the
// member by identifier and call kind, converts the arguments, makes the call
// and turns a failure into an exception for the caller.
#ifndef PARLINK_FRAME_MEMBERDISPATCHER_H
#define PARLINK_FRAME_MEMBERDISPATCHER_H

#include "frame/MemberTable.h"

#include <span>

namespace parlink::frame {

class MemberDispatcher {
public:
  explicit MemberDispatcher(std::span<const Function> functions) : functions_(functions) {}

  // rgszNames[0] is a member name, the others names of its parameters.
  // Unknown names get DISPID_UNKNOWN and the result DISP_E_UNKNOWNNAME.
  HRESULT GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, DISPID *rgDispId) const;

  HRESULT Invoke(ISMS *self, DISPID dispid, WORD flags, DISPPARAMS *params, VARIANT *result,
                 EXCEPINFO *excepInfo, UINT *argErr) const;

  // The member that a call with these flags reaches, or null.
  const Function *Select(DISPID dispid, WORD flags) const;
  // The first entry (a property's get before its put) with this identifier.
  const Function *FirstWithId(DISPID dispid) const;

private:
  std::span<const Function> functions_;
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_MEMBERDISPATCHER_H
