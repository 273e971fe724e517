// Runs the steps of a script on one automation object through
// GetIDsOfNames and Invoke.
#ifndef DV_TOOLS_PARLINK_DISPATCHCLIENT_H
#define DV_TOOLS_PARLINK_DISPATCHCLIENT_H

#include "MemberCatalog.h"
#include "ScriptStep.h"

#include <automation/automation.h>

#include <optional>
#include <string>
#include <vector>

// A step whose member is resolved and whose arguments are converted.
struct PreparedStep {
  PreparedStep() = default;
  ~PreparedStep();
  PreparedStep(PreparedStep &&other) noexcept;
  PreparedStep &operator=(PreparedStep &&) = delete;
  PreparedStep(const PreparedStep &) = delete;

  const ScriptStep *step = nullptr;
  DISPID id = DISPID_UNKNOWN;
  std::vector<VARIANT> args; // declaration order, owned
};

struct StepOutcome {
  HRESULT hr = S_OK;                    // the member's own code when it raised an exception
  std::optional<std::string> value;     // the value read or the result, when there is one
  std::optional<std::string> errorInfo; // description of the error object on E_FAIL
  std::optional<long long> smsError;    // read after a call when asked for
  std::optional<std::string> smsErrorDesc;
};

class DispatchClient {
public:
  DispatchClient(IDispatch *object, const MemberCatalog &catalog);

  // Resolves the member and converts the arguments; false with a reason
  // for an unknown name, a wrong kind of member, a wrong argument count or
  // a value that does not fit its parameter.
  bool Prepare(const ScriptStep &step, PreparedStep &prepared, std::string &error) const;

  // Runs a prepared step; with `readErrorState` a call is followed by reads
  // of smsERROR and smsERROR_DESC.
  StepOutcome Run(PreparedStep &prepared, bool readErrorState);

private:
  HRESULT Resolve(const std::string &name, DISPID &id) const;
  HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> &args, bool put, VARIANT &result,
                 std::optional<std::string> &errorInfo);
  std::optional<VARIANT> ReadProperty(const char16_t *name);

  IDispatch *object_;
  const MemberCatalog &catalog_;
};

#endif // DV_TOOLS_PARLINK_DISPATCHCLIENT_H
