#pragma once
// Control and observation under "/_admin/": messages and their statuses,
// counters, faults, stalls, simulated time, balances, sessions, throttle
// and the request log. Answers JSON (the log: JSON lines).
//
//   GET  messages[?account=ID]         every message with its current status
//   GET  counters | POST counters/reset
//   GET  faults | POST faults (JSON rule or array, or ?spec=PATTERN=KIND,...)
//   POST faults/clear | DELETE faults
//   POST stalls/release
//   GET  time | POST time ?advance_ms= &advance= (s) &set_ms= &speed=
//   GET  accounts
//   GET  balance?account=ID | POST balance?account=ID&credits=N (or &add=N)
//   GET  sessions | POST sessions/expire
//   GET  throttle | POST throttle?max=N&window_ms=M
//   GET  log[?since=SEQ] | POST log/clear
//   GET  health

#include "Counters.h"
#include "FaultInjector.h"
#include "FormParams.h"
#include "GatewayState.h"
#include "RequestLog.h"
#include "StallGate.h"

#include <string>

namespace gatewaysim {

struct AdminReply {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
};

class AdminApi {
public:
  AdminApi(GatewayState &state, FaultInjector &faults, StallGate &stalls, RequestLog &log)
      : state_(state), faults_(faults), stalls_(stalls), log_(log) {}

  // `path` is what follows "_admin/".
  AdminReply Handle(const std::string &method, const std::string &path, const std::string &query,
                    const std::string &body);

private:
  AdminReply Messages(const FormParams &params);
  AdminReply Faults(const std::string &method, const FormParams &params, const std::string &body);
  AdminReply Time(const std::string &method, const FormParams &params);
  AdminReply Accounts();
  AdminReply Balance(const std::string &method, const FormParams &params);
  AdminReply Sessions(const std::string &method, const std::string &path);
  AdminReply Throttle(const std::string &method, const FormParams &params);
  AdminReply Log(const FormParams &params);

  GatewayState &state_;
  FaultInjector &faults_;
  StallGate &stalls_;
  RequestLog &log_;
};

} // namespace gatewaysim
