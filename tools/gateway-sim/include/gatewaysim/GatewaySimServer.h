#pragma once
// An in-process gateway simulator: binds its listeners on Start, serves on
// its own threads, and stops (releasing stalled requests) on Stop or when
// destroyed. Tests use it directly; the gateway-sim program is a thin shell
// around it.

#include <gatewaysim/SimOptions.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace gatewaysim {

class GatewaySimServer {
public:
  explicit GatewaySimServer(SimOptions options = {});
  ~GatewaySimServer();
  GatewaySimServer(const GatewaySimServer &) = delete;
  GatewaySimServer &operator=(const GatewaySimServer &) = delete;

  // Binds the listeners and starts serving. False, with a message in
  // `error`, when a port cannot be bound or the certificate cannot be read.
  bool Start(std::string *error = nullptr);
  void Stop();
  bool Running() const;

  int Port() const;      // the HTTP port actually bound
  int HttpsPort() const; // the HTTPS port, -1 without an HTTPS listener
  // "http://HOST:PORT/" with the bound port (127.0.0.1 when bound to all).
  std::string BaseUrl() const;

  // Simulated clock, ms since 1970.
  int64_t NowMs() const;
  void AdvanceMs(int64_t ms);
  void SetSpeed(double speed);

  // Direct control for tests (the same as the admin interface).
  bool AddFault(const FaultSpec &fault, std::string *error = nullptr);
  void ClearFaults();
  void ReleaseStalls();
  // Current balance of the account with this api_id or client_id, in
  // credits; nothing when there is no such account.
  std::optional<double> Balance(const std::string &accountId) const;
  // Ends every open session (as POST /_admin/sessions/expire does).
  void ExpireSessions();
  // The request log as JSON lines (what /_admin/log serves).
  std::string LogJsonLines(uint64_t sinceSeq = 0) const;

private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace gatewaysim
