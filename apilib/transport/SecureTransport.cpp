#include "transport/SecureTransport.h"

#include <arpa/inet.h>
#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "transport/SecureResponse.h"
#include "transport/SslLibrary.h"
#include "transport/TcpSocket.h"
#include "transport/UrlParts.h"

namespace parlink {

namespace {
constexpr size_t kReadPiece = 512;

// Writing to a connection the server already closed must not end the
// process: SIGPIPE is held back on this thread for the exchange, and one
// raised meanwhile is taken off the thread again.
class SigpipeHold {
public:
  SigpipeHold() {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe, &previous_);
  }
  ~SigpipeHold() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      sigset_t pipe;
      sigemptyset(&pipe);
      sigaddset(&pipe, SIGPIPE);
      timespec none{0, 0};
      sigtimedwait(&pipe, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeHold(const SigpipeHold &) = delete;
  SigpipeHold &operator=(const SigpipeHold &) = delete;

private:
  sigset_t previous_{};
  bool wasPending_ = false;
};

bool IsAddressLiteral(const std::string &host) {
  in_addr v4{};
  in6_addr v6{};
  return inet_pton(AF_INET, host.c_str(), &v4) == 1 || inet_pton(AF_INET6, host.c_str(), &v6) == 1;
}
} // namespace

std::string SecureTransport::BuildRequest(const std::string &url, std::string_view body) {
  std::string request = "POST ";
  request += url;
  request += " HTTP/1.0\r\nAccept: */*\r\nUser-Agent: COM API\r\n"
             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: ";
  request += std::to_string(body.size());
  request += "\r\n\r\n";
  request += body;
  return request;
}

TransportResult SecureTransport::Send(const std::string &url, std::string_view body,
                                      long connectTimeoutMs, long receiveTimeoutMs,
                                      int &lastStatus) const {
  lastStatus = 0;
  if (!ssl_.Available()) return TransportResult::Failure("SSL not installed correctly!");

  UrlParts parts;
  if (!SplitUrl(url, parts)) return TransportResult::Failure("InternetCrackUrl failed!");
  const std::string host = BareHost(parts.host);

  ssl_.loadErrorStrings(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
  ssl_.libraryInit(0, nullptr);
  const auto freeContext = [this](SSL_CTX *context) { ssl_.ctxFree(context); };
  std::unique_ptr<SSL_CTX, decltype(freeContext)> context(ssl_.ctxNew(ssl_.clientMethod()),
                                                          freeContext);
  if (!context) return TransportResult::Failure("SSL_CTX_new failed!");
  ssl_.ctxSetVerify(context.get(), SSL_VERIFY_PEER, nullptr);
  ssl_.ctxSetDefaultVerifyPaths(context.get());

  TcpSocket socket;
  if (!socket.Create()) return TransportResult::Failure("Failed to create socket!");
  in_addr address{};
  if (!TcpSocket::Resolve(host, address))
    return TransportResult::Failure("Failed to gethostbyname!");
  if (!socket.Connect(address, kPort, connectTimeoutMs))
    return TransportResult::Failure("Socket connect failed!");
  socket.SetIoTimeout(receiveTimeoutMs);

  const auto freeConnection = [this](SSL *connection) { ssl_.free(connection); };
  std::unique_ptr<SSL, decltype(freeConnection)> connection(ssl_.newConnection(context.get()),
                                                            freeConnection);
  if (!connection) return TransportResult::Failure("SSL creation failed!");
  if (IsAddressLiteral(host)) {
    if (ssl_.verifyParamSetIp(ssl_.verifyParam(connection.get()), host.c_str()) != 1)
      return TransportResult::Failure("SSL creation failed!");
  } else {
    if (ssl_.setHost(connection.get(), host.c_str()) != 1 ||
        ssl_.control(connection.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                     const_cast<char *>(host.c_str())) != 1)
      return TransportResult::Failure("SSL creation failed!");
  }
  if (ssl_.setFd(connection.get(), socket.Descriptor()) != 1)
    return TransportResult::Failure("SSL creation failed!");

  SigpipeHold holdPipe;
  // A handshake that does not complete, or a server that cannot be
  // verified, ends here.
  if (ssl_.connect(connection.get()) != 1) return TransportResult::Failure("SSL connect failed!");

  const std::string request = BuildRequest(url, body);
  for (size_t sent = 0; sent < request.size();) {
    const size_t chunk = std::min(request.size() - sent, static_cast<size_t>(INT_MAX));
    const int wrote = ssl_.write(connection.get(), request.data() + sent, static_cast<int>(chunk));
    if (wrote <= 0) break;
    sent += static_cast<size_t>(wrote);
  }
  socket.ShutdownSending();

  std::string response;
  char piece[kReadPiece];
  for (;;) {
    const int got = ssl_.read(connection.get(), piece, static_cast<int>(sizeof piece));
    if (got <= 0) break;
    const size_t room = kReplyLimit - response.size();
    response.append(piece, std::min(static_cast<size_t>(got), room));
    if (response.size() >= kReplyLimit) break;
  }
  if (const size_t nul = response.find('\0'); nul != std::string::npos) response.resize(nul);

  SecureResponse parsed = ParseSecureResponse(response);
  if (parsed.hasStatus) lastStatus = parsed.status;
  return std::move(parsed.result);
}

} // namespace parlink
