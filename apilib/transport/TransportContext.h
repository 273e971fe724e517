// The one transport context of the process, shared by every SMS object:
// base URL, Internet session (access type, proxy, time-outs), proxy
// credentials, the secure-transport library and the last HTTP status.
//
// Made on first need and destroyed when the module is unloaded. It takes no
// lock of its own: callers serialise their calls (one apartment), although
// calls from different threads one after the other are fine.
#ifndef PARLINK_TRANSPORT_TRANSPORTCONTEXT_H
#define PARLINK_TRANSPORT_TRANSPORTCONTEXT_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "transport/PlainRequestSettings.h"
#include "transport/TransportResult.h"

namespace parlink {

class SslLibrary;

class TransportContext {
public:
  // The time-outs a new Internet session starts with, in milliseconds.
  static constexpr long kDefaultTimeoutMs = 60000;

  static TransportContext &Instance();
  // Drops the process's context so the next use makes a fresh one (tests).
  static void ResetForTesting();

  TransportContext();
  ~TransportContext();
  TransportContext(const TransportContext &) = delete;
  TransportContext &operator=(const TransportContext &) = delete;

  // Posts `body` (already form-encoded) to the base URL followed by `path`.
  // Communication type 1 takes the secure path, any other the plain one.
  TransportResult Request(std::string_view path, std::string_view body, int32_t communicationType);

  const std::string &BaseUrl() const { return baseUrl_; }
  // The base URL rule applied to `candidate`; false (and no change) on refusal.
  bool SetBaseUrl(std::string_view candidate);
  void ResetBaseUrl();

  // Maps SMS_INET_* connection choices to access types.
  static int32_t AccessTypeFor(int32_t inetConnection);
  // Closes the session and opens a new one with the access type and proxy
  // "http=http://host:port". The text is "OK:" or "ERR: '<reason>'".
  TransportResult OpenSession(int32_t accessType, std::string_view proxyHost,
                              std::string_view proxyPort);
  // Stores the proxy credentials and rebuilds the proxy authorisation header
  // (also for empty ones: the encoding of a lone colon).
  void SetProxyCredentials(std::string_view user, std::string_view password);
  const std::string &ProxyAuthorizationHeader() const { return settings_.proxyAuthorization; }

  // Time-outs of the open session, or of the process when none is open
  // (a session opened later starts with those).
  long ConnectTimeout() const;
  long ReceiveTimeout() const;
  void SetConnectTimeout(long timeoutMs);
  void SetReceiveTimeout(long timeoutMs);

  bool SecureAvailable() const;
  // A request to "utils/nettest" with an empty body that succeeds with a
  // reply beginning "OK".
  bool OnlineTest(int32_t communicationType);
  int LastHttpStatus() const { return lastStatus_; }
  bool SessionOpen() const { return sessionOpen_; }

private:
  bool EnsureSession(std::string &reason);

  std::string baseUrl_;
  bool curlReady_ = false;
  bool sessionOpen_ = false;
  PlainRequestSettings settings_;
  long processConnectTimeoutMs_ = kDefaultTimeoutMs;
  long processReceiveTimeoutMs_ = kDefaultTimeoutMs;
  long savedConnectTimeoutMs_ = 0;
  long savedReceiveTimeoutMs_ = 0;
  std::unique_ptr<SslLibrary> ssl_;
  int lastStatus_ = 0;
};

} // namespace parlink

#endif
