#include "GatewayState.h"

namespace gatewaysim {

GatewayState::GatewayState(const SimOptions &options, SimClock &clock_, Counters &counters_)
    : clock(clock_), counters(counters_), lifecycle(options.lifecycle),
      creditsPerPart(CreditAmount::FromCredits(options.creditsPerPart).value_or(1000)),
      sessions(options.sessionIdleMs), throttle(options.throttle),
      ids(options.seeded ? IdGenerator(options.seed) : IdGenerator()) {}

bool GatewayState::LoadAccounts(const SimOptions &options, std::string &error) {
  if (options.accounts.empty()) return accounts.Load({SimOptions::DemoAccount()}, error);
  return accounts.Load(options.accounts, error);
}

} // namespace gatewaysim
