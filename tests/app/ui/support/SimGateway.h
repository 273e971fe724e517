#pragma once
// The gateway simulator with Parlink created by name (registered in the
// sandbox registry) and pointed at it. For tests that link
// gateway_sim_core.

#include "UiTestSupport.h"

#include "engine/GatewayBinding.h"

#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>

#include <httplib.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace uitest {

struct SimGateway {
  gatewaysim::GatewaySimServer sim;
  std::unique_ptr<engine::GatewayBinding> binding;

  bool Start() {
    if (!sim.Start() || !RegisterParlink()) return false;
    binding = engine::GatewayBinding::Create();
    if (!binding) return false;
    std::string url = sim.BaseUrl(), result;
    binding->SetBaseURL(false, url.c_str(), parlink::BaseUrlKey(static_cast<uint32_t>(url.size())),
                        &result);
    return result.rfind("OK:", 0) == 0;
  }
};

// Requests for a path the simulator has received (counted on arrival, so
// a request the simulator holds counts); -1 when it cannot be asked.
inline int SimRequests(const gatewaysim::GatewaySimServer &sim, const std::string &path) {
  httplib::Client admin("127.0.0.1", sim.Port());
  auto reply = admin.Get("/_admin/counters");
  if (!reply || reply->status != 200) return -1;
  const std::string key = "\"" + path + "\":";
  const std::size_t at = reply->body.find(key);
  return at == std::string::npos ? 0 : std::atoi(reply->body.c_str() + at + key.size());
}

} // namespace uitest
