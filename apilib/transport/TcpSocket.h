// A blocking IPv4 TCP client socket, closed when the object goes.
#ifndef PARLINK_TRANSPORT_TCPSOCKET_H
#define PARLINK_TRANSPORT_TCPSOCKET_H

#include <netinet/in.h>

#include <string>

namespace parlink {

class TcpSocket {
public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(const TcpSocket &) = delete;
  TcpSocket &operator=(const TcpSocket &) = delete;

  bool Create();
  // First IPv4 address of `host` (a name or a dotted address).
  static bool Resolve(const std::string &host, in_addr &address);
  // Connects within `timeoutMs` milliseconds (no limit when 0 or less).
  bool Connect(const in_addr &address, int port, long timeoutMs);
  // Limits each later send and receive to `timeoutMs` (no limit when 0 or less).
  void SetIoTimeout(long timeoutMs);
  void ShutdownSending();
  void Close();
  int Descriptor() const { return fd_; }

private:
  int fd_ = -1;
};

} // namespace parlink

#endif
