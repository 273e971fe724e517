#include "src/ConfigurationOperations.h"

#include <parlink/Parlink.h>

#include "src/GatewayExchange.h"
#include "src/SmsState.h"
#include "transport/ProxyProbe.h"
#include "transport/TransportContext.h"

namespace parlink {

namespace {
constexpr LONG kInetDirect = 1;
constexpr LONG kInetProxy = 4;
} // namespace

std::string ConfigurationOperations::VersionText() {
  return "OK: " + std::to_string(PARLINK_VERSION_MAJOR) + "." +
         std::to_string(PARLINK_VERSION_MINOR) + "." + std::to_string(PARLINK_VERSION_RELEASE) +
         "." + std::to_string(PARLINK_VERSION_BUILD);
}

Outcome ConfigurationOperations::LocalVersion() {
  state_.error = 0;
  return Outcome::Success(VersionText());
}

Outcome ConfigurationOperations::SetBaseURL(bool resetOnly, const std::string &newUrl,
                                            LONG hashKey) {
  TransportContext &transport = gateway_.Transport();
  if (resetOnly) {
    transport.ResetBaseUrl();
    return Outcome::Success("OK: Reset");
  }
  const std::string previous = transport.BaseUrl();
  if (hashKey != BaseUrlKey(static_cast<uint32_t>(newUrl.size()))) {
    std::string description = "Base URL:Invalid Hash Key";
    std::string result = "ERR: -98," + description;
    return gateway_.Fail(98, std::move(description), std::move(result));
  }
  if (!transport.SetBaseUrl(newUrl)) {
    std::string description = "Base URL:Invalid URL";
    std::string result = "ERR: -97," + description;
    return gateway_.Fail(97, std::move(description), std::move(result));
  }
  return Outcome::Success("OK: " + previous);
}

Outcome ConfigurationOperations::ConfigureProxy(LONG inetType, const std::string &proxy,
                                                const std::string &port) {
  TransportContext &transport = gateway_.Transport();
  TransportResult opened =
      transport.OpenSession(TransportContext::AccessTypeFor(inetType), proxy, port);
  return Outcome{opened.ok, std::move(opened.text)};
}

Outcome ConfigurationOperations::ConfigureProxyEx(bool testForOnline, LONG inetType,
                                                  const std::string &proxy, const std::string &port,
                                                  const std::string &username,
                                                  const std::string &password) {
  TransportContext &transport = gateway_.Transport();
  TransportResult opened =
      transport.OpenSession(TransportContext::AccessTypeFor(inetType), proxy, port);
  transport.SetProxyCredentials(username, password);
  if (!opened.ok) return Outcome::Failure(std::move(opened.text));

  state_.error = 0;
  if (!testForOnline || inetType == kInetDirect) return Outcome::Success("OK:");
  if (inetType == kInetProxy && !ProxyReachable(proxy, port, transport.ConnectTimeout())) {
    std::string description = "Failed to communicate with the proxy server";
    std::string result = "ERR: 95," + description;
    return gateway_.Fail(95, std::move(description), std::move(result));
  }
  if (!transport.OnlineTest(state_.communicationType)) {
    std::string description = "Talk via proxy connection failed.";
    std::string result = "ERR: 96," + description;
    return gateway_.Fail(96, std::move(description), std::move(result));
  }
  state_.error = 0;
  return Outcome::Success("OK:");
}

} // namespace parlink
