// HTTPS on a socket of its own: one TLS connection per request to port 443
// of the URL's host, a POST with the whole "http://" URL in its request
// line, read to the end of the data. The server certificate is verified
// against the default trust store (SSL_CERT_FILE and SSL_CERT_DIR apply)
// and must name the host; SNI carries the host name.
#ifndef PARLINK_TRANSPORT_SECURETRANSPORT_H
#define PARLINK_TRANSPORT_SECURETRANSPORT_H

#include <string>
#include <string_view>

#include "transport/TransportResult.h"

namespace parlink {

class SslLibrary;

class SecureTransport {
public:
  static constexpr int kPort = 443;

  explicit SecureTransport(const SslLibrary &ssl) : ssl_(ssl) {}

  // `connectTimeoutMs` limits the connect and `receiveTimeoutMs` every
  // later send and receive (no limit when 0 or less).
  TransportResult Send(const std::string &url, std::string_view body, long connectTimeoutMs,
                       long receiveTimeoutMs, int &lastStatus) const;

  // The request text written to the server.
  static std::string BuildRequest(const std::string &url, std::string_view body);

private:
  const SslLibrary &ssl_;
};

} // namespace parlink

#endif
