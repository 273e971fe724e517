// Whether a proxy accepts TCP connections: the host is resolved (first
// IPv4 address), connected at the port (decimal text) and let go at once.
#ifndef PARLINK_TRANSPORT_PROXYPROBE_H
#define PARLINK_TRANSPORT_PROXYPROBE_H

#include <string>

namespace parlink {

bool ProxyReachable(const std::string &host, const std::string &port, long connectTimeoutMs);

} // namespace parlink

#endif
