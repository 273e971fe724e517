// What the plain path takes from the transport context for one request.
#ifndef PARLINK_TRANSPORT_PLAINREQUESTSETTINGS_H
#define PARLINK_TRANSPORT_PLAINREQUESTSETTINGS_H

#include <cstdint>
#include <string>

namespace parlink {

// Access types of the Internet session.
enum AccessType : int32_t {
  kAccessPreconfig = 0,            // the desktop's proxy, from the environment
  kAccessDirect = 1,               // no proxy at all
  kAccessNamedProxy = 3,           // the proxy list's host and port
  kAccessPreconfigNoAutoproxy = 4, // as kAccessPreconfig
};

struct PlainRequestSettings {
  int32_t accessType = kAccessPreconfig;
  std::string proxyList;          // "http=http://host:port"
  std::string proxyUser;          // may be empty
  std::string proxyPassword;      // may be empty
  std::string proxyAuthorization; // "Proxy-Authorization: Basic ...\r\n", or empty
  long connectTimeoutMs = 0;      // no limit when 0 or less
  long receiveTimeoutMs = 0;      // no limit when 0 or less
};

} // namespace parlink

#endif
