#include "TlsTestServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <cstdlib>

namespace parlinktest {

namespace {
int ListenOn443() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(TlsTestServer::kPort);
  if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(fd, 8) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}
} // namespace

bool TlsTestServer::CanBindPort() {
  const int fd = ListenOn443();
  if (fd < 0) return false;
  close(fd);
  return true;
}

TlsTestServer::TlsTestServer(const std::filesystem::path &certificate,
                             const std::filesystem::path &key, std::string response)
    : response_(std::move(response)) {
  SSL_CTX *context = SSL_CTX_new(TLS_server_method());
  if (!context) return;
  context_ = context;
  if (SSL_CTX_use_certificate_chain_file(context, certificate.c_str()) != 1 ||
      SSL_CTX_use_PrivateKey_file(context, key.c_str(), SSL_FILETYPE_PEM) != 1)
    return;
  listenFd_ = ListenOn443();
  if (listenFd_ < 0 || pipe2(wakeFds_, O_CLOEXEC) != 0) return;
  thread_ = std::thread([this] { Loop(); });
}

TlsTestServer::~TlsTestServer() {
  if (wakeFds_[1] >= 0) {
    const char wake = 1;
    [[maybe_unused]] ssize_t n = write(wakeFds_[1], &wake, 1);
  }
  if (thread_.joinable()) thread_.join();
  for (int fd : wakeFds_)
    if (fd >= 0) close(fd);
  if (listenFd_ >= 0) close(listenFd_);
  SSL_CTX_free(static_cast<SSL_CTX *>(context_));
}

std::vector<std::string> TlsTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<std::string> TlsTestServer::ServerNames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return serverNames_;
}

void TlsTestServer::Loop() {
  for (;;) {
    pollfd waiting[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    const int rc = poll(waiting, 2, -1);
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0 || (waiting[1].revents & POLLIN)) return;
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    timeval limit{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    Serve(fd);
    close(fd);
  }
}

void TlsTestServer::Serve(int fd) {
  SSL *connection = SSL_new(static_cast<SSL_CTX *>(context_));
  if (!connection) return;
  SSL_set_fd(connection, fd);
  if (SSL_accept(connection) != 1) {
    ++failedHandshakes_;
    ERR_clear_error();
    SSL_free(connection);
    return;
  }
  const char *serverName = SSL_get_servername(connection, TLSEXT_NAMETYPE_host_name);
  // The request ends with its declared body; the client's half-close ends
  // it too.
  std::string request;
  char buffer[1024];
  for (;;) {
    const size_t head = request.find("\r\n\r\n");
    if (head != std::string::npos) {
      const size_t at = request.find("Content-Length: ");
      const size_t length = at != std::string::npos && at < head
                                ? std::strtoul(request.c_str() + at + 16, nullptr, 10)
                                : 0;
      if (request.size() >= head + 4 + length) break;
    }
    const int got = SSL_read(connection, buffer, sizeof buffer);
    if (got <= 0) break;
    request.append(buffer, static_cast<size_t>(got));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    serverNames_.emplace_back(serverName ? serverName : "");
  }
  size_t sent = 0;
  while (sent < response_.size()) {
    const int wrote =
        SSL_write(connection, response_.data() + sent, static_cast<int>(response_.size() - sent));
    if (wrote <= 0) break;
    sent += static_cast<size_t>(wrote);
  }
  SSL_shutdown(connection);
  ERR_clear_error();
  SSL_free(connection);
}

} // namespace parlinktest
