#pragma once
// Who is calling: a session ("session_id") or, where the call allows it,
// account credentials ("api_id" or "client_id" with "user" and "password").
// The caller holds the state's mutex.

#include "FormParams.h"
#include "GatewayState.h"

#include <optional>
#include <string>

namespace gatewaysim {

class CallerResolver {
public:
  struct Result {
    std::optional<AccountIndex> account;
    std::string error; // the reply to give when there is no account
  };

  explicit CallerResolver(GatewayState &state) : state_(state) {}

  // Calls that need an open session.
  Result Session(const FormParams &params, int64_t nowMs);
  // Calls that take a session or account credentials.
  Result SessionOrAccount(const FormParams &params, int64_t nowMs);
  // Account credentials alone, the identifier under `idKey` ("api_id" or
  // "client_id").
  Result Credentials(const FormParams &params, const char *idKey);

private:
  Result Checked(AccountIndex index);
  GatewayState &state_;
};

} // namespace gatewaysim
