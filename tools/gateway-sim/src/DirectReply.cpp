#include "DirectReply.h"

#include "ServerSockets.h"

#include <openssl/ssl.h>
#include <sys/socket.h>

#include <cctype>
#include <cerrno>

namespace gatewaysim {

namespace {
const char *Reason(int status) {
  switch (status) {
  case 200:
    return "OK";
  case 400:
    return "Bad Request";
  case 404:
    return "Not Found";
  case 405:
    return "Method Not Allowed";
  case 500:
    return "Internal Server Error";
  default:
    return "Unknown";
  }
}

bool StartsWithNoCase(const std::string &text, const char *prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
      return false;
    }
  }
  return true;
}

bool WritePlain(int fd, const std::string &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool WriteSecure(SSL *ssl, const std::string &bytes) {
  size_t done = 0;
  int stalls = 0;
  while (done < bytes.size()) {
    int n = SSL_write(ssl, bytes.data() + done, static_cast<int>(bytes.size() - done));
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    int error = SSL_get_error(ssl, n);
    if ((error != SSL_ERROR_WANT_WRITE && error != SSL_ERROR_WANT_READ) || ++stalls > 1000) {
      return false;
    }
  }
  return true;
}
} // namespace

bool DirectReply::Needed(const httplib::Request &req) {
  if (req.version != "HTTP/1.0") return false;
  std::string connection = req.get_header_value("Connection");
  if (StartsWithNoCase(connection, "keep-alive")) return false;
  return req.ssl != nullptr || StartsWithNoCase(req.target, "http://") ||
         StartsWithNoCase(req.target, "https://");
}

std::string DirectReply::Format(int status, const std::string &contentType,
                                const std::string &body) {
  return "HTTP/1.0 " + std::to_string(status) + " " + Reason(status) +
         "\r\nContent-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

bool DirectReply::Send(const httplib::Request &req, int status, const std::string &contentType,
                       const std::string &body) {
  std::string bytes = Format(status, contentType, body);
  if (req.ssl) {
    // The handler runs on the connection's own thread, which is not using
    // the TLS object while it waits for us.
    SSL *ssl = const_cast<SSL *>(req.ssl);
    int fd = SSL_get_fd(ssl);
    if (fd < 0 || !WriteSecure(ssl, bytes)) return false;
    SSL_shutdown(ssl);
    shutdown(fd, SHUT_WR);
    return true;
  }
  int fd = ServerSockets::Find(req.local_port, req.remote_addr, req.remote_port);
  if (fd < 0 || !WritePlain(fd, bytes)) return false;
  shutdown(fd, SHUT_WR);
  return true;
}

} // namespace gatewaysim
