#pragma once
// A TLS server on 127.0.0.1:443 for the secure path's tests: it records the
// raw request of every connection that completes a handshake and answers
// with fixed response bytes.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace parlinktest {

class TlsTestServer {
public:
  static constexpr int kPort = 443;

  // Whether this process may listen on 127.0.0.1:443 right now.
  static bool CanBindPort();

  TlsTestServer(const std::filesystem::path &certificate, const std::filesystem::path &key,
                std::string response);
  ~TlsTestServer();
  TlsTestServer(const TlsTestServer &) = delete;
  TlsTestServer &operator=(const TlsTestServer &) = delete;

  bool Listening() const { return listenFd_ >= 0; }
  std::vector<std::string> Requests() const;
  // Server names the clients sent (SNI), "" for a connection without one.
  std::vector<std::string> ServerNames() const;
  int FailedHandshakes() const { return failedHandshakes_; }

private:
  void Loop();
  void Serve(int fd);

  std::string response_;
  void *context_ = nullptr; // SSL_CTX
  int listenFd_ = -1;
  int wakeFds_[2] = {-1, -1};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::string> serverNames_;
  std::atomic<int> failedHandshakes_{0};
};

} // namespace parlinktest
