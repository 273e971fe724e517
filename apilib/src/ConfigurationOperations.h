// The library's own configuration: version, base URL, proxy and time-outs.
// All but the version act on the process-wide transport context.
#ifndef PARLINK_SRC_CONFIGURATIONOPERATIONS_H
#define PARLINK_SRC_CONFIGURATIONOPERATIONS_H

#include <automation/automation.h>

#include <string>

#include "src/Outcome.h"

namespace parlink {

struct SmsState;
class GatewayExchange;

class ConfigurationOperations {
public:
  ConfigurationOperations(SmsState &state, GatewayExchange &gateway)
      : state_(state), gateway_(gateway) {}

  // "OK: 2.0.0.44" from the compiled file version.
  Outcome LocalVersion();
  Outcome SetBaseURL(bool resetOnly, const std::string &newUrl, LONG hashKey);
  Outcome ConfigureProxy(LONG inetType, const std::string &proxy, const std::string &port);
  Outcome ConfigureProxyEx(bool testForOnline, LONG inetType, const std::string &proxy,
                           const std::string &port, const std::string &username,
                           const std::string &password);

  static std::string VersionText();

private:
  SmsState &state_;
  GatewayExchange &gateway_;
};

} // namespace parlink

#endif
