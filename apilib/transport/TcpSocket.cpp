#include "transport/TcpSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

namespace parlink {

TcpSocket::~TcpSocket() {
  Close();
}

bool TcpSocket::Create() {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return fd_ >= 0;
}

bool TcpSocket::Resolve(const std::string &host, in_addr &address) {
  if (host.empty()) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  bool ok = false;
  if (found->ai_addr && found->ai_addrlen >= sizeof(sockaddr_in)) {
    address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    ok = true;
  }
  freeaddrinfo(found);
  return ok;
}

bool TcpSocket::Connect(const in_addr &address, int port, long timeoutMs) {
  if (fd_ < 0 || port <= 0 || port > 65535) return false;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<uint16_t>(port));
  target.sin_addr = address;

  const int flags = fcntl(fd_, F_GETFL, 0);
  if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0) return false;
  int rc = connect(fd_, reinterpret_cast<const sockaddr *>(&target), sizeof target);
  if (rc != 0 && errno != EINPROGRESS) return false;
  if (rc != 0) {
    pollfd waiting{fd_, POLLOUT, 0};
    const int wait = timeoutMs > 0 ? static_cast<int>(timeoutMs) : -1;
    do {
      rc = poll(&waiting, 1, wait);
    } while (rc < 0 && errno == EINTR);
    if (rc <= 0) return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return false;
  }
  return fcntl(fd_, F_SETFL, flags) == 0;
}

void TcpSocket::SetIoTimeout(long timeoutMs) {
  if (fd_ < 0) return;
  timeval limit{};
  if (timeoutMs > 0) {
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
  }
  setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

void TcpSocket::ShutdownSending() {
  if (fd_ >= 0) shutdown(fd_, SHUT_WR);
}

void TcpSocket::Close() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
}

} // namespace parlink
