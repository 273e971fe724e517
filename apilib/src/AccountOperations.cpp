#include "src/AccountOperations.h"

#include "src/Credentials.h"
#include "src/GatewayExchange.h"
#include "src/SmsState.h"

namespace parlink {

Outcome AccountOperations::TokenPay(const std::string &token) {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  const std::string body = SessionCredentials(state_) + "&token=" + token;
  return gateway_.Run("http/token_pay", body, PrefixJudge("OK: 605"), "TokenPay Failed.");
}

Outcome AccountOperations::ChangePassword(std::string password) {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  std::string body = SessionCredentials(state_);
  body += "&password=" + state_.Encoded(password);
  Outcome outcome =
      gateway_.Run("utils/change_passwd", body, PrefixJudge("OK:"), "Change Password failed.");
  if (outcome.ok) state_.password = std::move(password);
  return outcome;
}

Outcome AccountOperations::RecoverPassword(const std::string &username, const std::string &email) {
  state_.error = 0;
  std::string body = "user=" + state_.Encoded(username);
  body += "&email=" + state_.Encoded(email);
  return gateway_.Run("utils/recover_passwd", body, PrefixJudge("OK:"), "Recover password failed.");
}

Outcome AccountOperations::QueryCoverage(const std::string &to) {
  state_.error = 0;
  std::string body;
  if (state_.HasValidSession())
    body = SessionCredentials(state_);
  else if (state_.isLoggedIn != VARIANT_FALSE)
    return gateway_.FailNoSession();
  else
    body = AccountCredentials(state_);
  body += "&msisdn=" + state_.Encoded(to);
  TransportResult reply = gateway_.Post("utils/routeCoverage.php", body);
  if (!reply.ok) return gateway_.FailTransport(reply.text);
  return Outcome::Success(std::move(reply.text));
}

Outcome AccountOperations::ServerVersion() {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  return gateway_.Run("utils/version", SessionCredentials(state_), PrefixJudge("OK:"),
                      "Version query failed.");
}

} // namespace parlink
