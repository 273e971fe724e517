#pragma once
// Turns HTTP requests into gateway calls: finds the path in the request
// target, applies the fault rules, hands the form parameters of query and
// body to the gateway, writes the reply and logs the exchange. Requests
// under "/_admin/" go to the admin interface and are neither faulted nor
// logged.

#include "AdminApi.h"
#include "Counters.h"
#include "FaultInjector.h"
#include "Gateway.h"
#include "RequestLog.h"
#include "SimClock.h"
#include "StallGate.h"

#include <httplib.h>

namespace gatewaysim {

class HttpFrontEnd {
public:
  HttpFrontEnd(Gateway &gateway, AdminApi &admin, FaultInjector &faults, StallGate &stalls,
               RequestLog &log, Counters &counters, SimClock &clock)
      : gateway_(gateway), admin_(admin), faults_(faults), stalls_(stalls), log_(log),
        counters_(counters), clock_(clock) {}

  // Installs the request handlers on `server`.
  void Attach(httplib::Server &server);
  void Serve(const httplib::Request &req, httplib::Response &res);

  static const char *kErrorPage;   // the body of an injected HTTP 500
  static const char *kGarbagePage; // the body of an injected broken reply

private:
  static void Respond(const httplib::Request &req, httplib::Response &res, int status,
                      const std::string &body, const char *contentType);
  static void DropConnection(const httplib::Request &req, httplib::Response &res);

  Gateway &gateway_;
  AdminApi &admin_;
  FaultInjector &faults_;
  StallGate &stalls_;
  RequestLog &log_;
  Counters &counters_;
  SimClock &clock_;
};

} // namespace gatewaysim
