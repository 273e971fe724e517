#include "transport/ProxyProbe.h"

#include "transport/LeadingInteger.h"
#include "transport/TcpSocket.h"

namespace parlink {

bool ProxyReachable(const std::string &host, const std::string &port, long connectTimeoutMs) {
  const int portNumber = ParseLeadingInteger(port);
  if (portNumber <= 0 || portNumber > 65535) return false;
  TcpSocket socket;
  in_addr address{};
  if (!socket.Create() || !TcpSocket::Resolve(host, address)) return false;
  return socket.Connect(address, portNumber, connectTimeoutMs);
}

} // namespace parlink
