// Account operations at the gateway: voucher, password, coverage and the
// server's version.
#ifndef PARLINK_SRC_ACCOUNTOPERATIONS_H
#define PARLINK_SRC_ACCOUNTOPERATIONS_H

#include <string>

#include "src/Outcome.h"

namespace parlink {

struct SmsState;
class GatewayExchange;

class AccountOperations {
public:
  AccountOperations(SmsState &state, GatewayExchange &gateway) : state_(state), gateway_(gateway) {}

  Outcome TokenPay(const std::string &token);
  Outcome ChangePassword(std::string password);
  Outcome RecoverPassword(const std::string &username, const std::string &email);
  Outcome QueryCoverage(const std::string &to);
  Outcome ServerVersion();

private:
  SmsState &state_;
  GatewayExchange &gateway_;
};

} // namespace parlink

#endif
