#pragma once
// Sessions, the account and the utilities: http/auth, http/cli_auth,
// http/ping, http/getbalance, http/token_pay, utils/change_passwd,
// utils/recover_passwd, utils/routeCoverage.php, utils/version and
// utils/nettest. The caller holds the state's mutex.

#include "FormParams.h"
#include "GatewayState.h"

#include <string>

namespace gatewaysim {

class AccountService {
public:
  static constexpr const char *kVersion = "1.0.0.0";

  explicit AccountService(GatewayState &state) : state_(state) {}

  // Plain credentials or "string=" with the scrambled body. "OK: <session>"
  std::string Auth(const FormParams &params, int64_t nowMs);
  std::string ClientAuth(const FormParams &params, int64_t nowMs);
  std::string Ping(const FormParams &params, int64_t nowMs);
  std::string Balance(const FormParams &params, int64_t nowMs);
  std::string TokenPay(const FormParams &params, int64_t nowMs);
  std::string ChangePassword(const FormParams &params, int64_t nowMs);
  std::string RecoverPassword(const FormParams &params, int64_t nowMs);
  std::string Coverage(const FormParams &params, int64_t nowMs);
  std::string Version(const FormParams &params, int64_t nowMs);
  std::string NetTest(const FormParams &params, int64_t nowMs);

private:
  std::string OpenSession(const FormParams &params, const char *idKey, int64_t nowMs);
  GatewayState &state_;
};

} // namespace gatewaysim
